#include "gui/common/RememberedFolder.h"

#include "app/ShellTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace frusta::gui {

namespace {

QString key(FileKind kind) {
    return kind == FileKind::Workbook ? "Folders/Workbooks" : "Folders/Results";
}

QSettings settings() {
    return QSettings(QString::fromUtf8(kSettingsOrganisation),
                     QString::fromUtf8(kSettingsApplication));
}

} // namespace

QString rememberedFolder(FileKind kind) {
    const QString folder = settings().value(key(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void rememberFolder(FileKind kind, const QString& file) {
    const QFileInfo chosen(file);
    settings().setValue(key(kind),
                        chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath());
}

} // namespace frusta::gui
