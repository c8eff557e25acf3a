#include "gui/app/DesktopSettings.h"

#include "app/RecentFileList.h"
#include "app/RememberedPaths.h"
#include "app/ShellTexts.h"
#include "engine/ScoredShare.h"
#include "workbook/AtomicFile.h"

#include <QSettings>

#include <cerrno>
#include <unistd.h>

namespace frusta::gui {

namespace {

const char kDatabaseKey[] = "Settings/ReferenceDatabase";
const char kTranslationsKey[] = "Settings/TaxonTranslations";
const char kMinScoredShareKey[] = "Settings/MinScoredShare";

QSettings settings() {
    return QSettings(QString::fromUtf8(kSettingsOrganisation),
                     QString::fromUtf8(kSettingsApplication));
}

QString recentKey(std::size_t i) {
    return QString::fromUtf8(kRecentFileSection) + QString("/File%1").arg(i + 1);
}

// The file kept under `key` while `stillGood` holds for it; one that no longer does is
// forgotten.
std::optional<std::filesystem::path> keptPath(const char* key,
                                              bool (*stillGood)(const std::filesystem::path&)) {
    QSettings s = settings();
    const QVariant value = s.value(key);
    if (!value.isValid())
        return std::nullopt;
    const std::filesystem::path file =
        value.userType() == QMetaType::QString ? value.toString().toStdString() : "";
    if (!file.empty() && stillGood(file))
        return file;
    s.remove(key);
    return std::nullopt;
}

} // namespace

std::vector<std::string> DesktopSettings::recentFiles() {
    const QSettings s = settings();
    std::vector<std::string> stored, kept;
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        const QVariant value = s.value(recentKey(i));
        if (value.userType() != QMetaType::QString || value.toString().isEmpty())
            continue;
        stored.push_back(value.toString().toStdString());
        if (stillAWorkbook(stored.back()))
            kept.push_back(stored.back());
    }
    if (kept != stored)
        storeRecentFiles(kept);
    return kept;
}

void DesktopSettings::storeRecentFiles(const std::vector<std::string>& entries) {
    QSettings s = settings();
    s.remove(QString::fromUtf8(kRecentFileSection));
    for (std::size_t i = 0; i < entries.size() && i < kRecentFileCount; ++i)
        s.setValue(recentKey(i), QString::fromStdString(entries[i]));
}

std::optional<std::filesystem::path> DesktopSettings::referenceDatabase() {
    return keptPath(kDatabaseKey, stillADatabase);
}

void DesktopSettings::storeReferenceDatabase(const std::filesystem::path& file) {
    settings().setValue(kDatabaseKey, QString::fromStdString(file.string()));
}

std::optional<std::filesystem::path> DesktopSettings::translationTable() {
    return keptPath(kTranslationsKey, [](const std::filesystem::path& file) {
        std::error_code ec;
        return std::filesystem::is_regular_file(file, ec);
    });
}

void DesktopSettings::storeTranslationTable(const std::filesystem::path& file) {
    settings().setValue(kTranslationsKey, QString::fromStdString(file.string()));
}

double DesktopSettings::minScoredShare() {
    bool ok = false;
    const double v = settings().value(kMinScoredShareKey).toDouble(&ok);
    return ok && v >= 0.0 && v <= 100.0 ? v : engine::kDefaultMinScoredShare;
}

void DesktopSettings::storeMinScoredShare(double percent) {
    settings().setValue(kMinScoredShareKey, percent);
}

std::string DesktopSettings::fileName() {
    return settings().fileName().toStdString();
}

std::string DesktopSettings::unwritableReason() {
    if (settings().isWritable())
        return {};
    // The file, or else the nearest folder above it that exists, refuses writing.
    std::filesystem::path p = fileName();
    std::error_code ec;
    while (!p.empty() && !std::filesystem::exists(p, ec) && p != p.parent_path())
        p = p.parent_path();
    const bool folder = std::filesystem::is_directory(p, ec);
    if (::access(p.c_str(), folder ? W_OK | X_OK : W_OK) != 0)
        return describeErrno(errno);
    return describeErrno(EACCES);
}

} // namespace frusta::gui
