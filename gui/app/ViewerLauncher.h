#pragma once
// Opens a file in the desktop's default program for its kind, without waiting for it.
// Injectable, so that tests never start a real viewer.
#include <string>

namespace frusta::gui {

enum class ViewerKind { Pdf, Spreadsheet };

struct LaunchResult {
    enum Status { Started, NoViewer, Failed };
    Status status = Started;
    std::string error; // the system's text when the start failed
};

class ViewerLauncher {
public:
    virtual ~ViewerLauncher() = default;
    virtual LaunchResult open(ViewerKind kind, const std::string& path) = 0;
};

// The desktop's own choice of program (xdg-mime, then xdg-open); spreadsheets that are
// opened by LibreOffice are opened read-only.
class DesktopViewerLauncher : public ViewerLauncher {
public:
    LaunchResult open(ViewerKind kind, const std::string& path) override;
};

} // namespace frusta::gui
