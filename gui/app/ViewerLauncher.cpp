#include "gui/app/ViewerLauncher.h"

#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace frusta::gui {

namespace {

const char* mimeType(ViewerKind kind) {
    return kind == ViewerKind::Pdf ? "application/pdf" : "application/vnd.ms-excel";
}

// The desktop entry registered for a MIME type, e.g. "org.gnome.Evince.desktop"; empty
// when none is registered or the desktop offers no way to ask.
QString defaultHandler(ViewerKind kind) {
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        return {};
    QProcess query;
    query.start("xdg-mime", {"query", "default", mimeType(kind)});
    if (!query.waitForFinished(5000) || query.exitCode() != 0)
        return {};
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

LaunchResult startDetached(const QString& program, const QStringList& args) {
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {LaunchResult::Failed, std::strerror(ENOENT)};
    errno = 0;
    if (!QProcess::startDetached(program, args)) {
        const int err = errno ? errno : ENOEXEC;
        return {LaunchResult::Failed, std::strerror(err)};
    }
    return {};
}

} // namespace

LaunchResult DesktopViewerLauncher::open(ViewerKind kind, const std::string& path) {
    const QString handler = defaultHandler(kind);
    if (handler.isEmpty())
        return {LaunchResult::NoViewer, {}};
    const QString file = QString::fromStdString(path);
    if (kind == ViewerKind::Spreadsheet && handler.contains("libreoffice", Qt::CaseInsensitive))
        return startDetached("libreoffice", {"--view", file}); // read-only, as the example is
    return startDetached("xdg-open", {file});
}

} // namespace frusta::gui
