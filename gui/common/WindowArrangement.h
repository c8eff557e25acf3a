#pragma once
// Where the child windows of the workspace go: a new window opens wholly inside the visible
// workspace at the next cascade position, as large as its content asks but no larger than
// the room there, and never over the title bar of a command panel; Cascade and Tile give
// every window a size at which it can be read, the fixed-size command panels keep theirs.
#include <QRect>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

namespace frusta::gui {

// The smallest size at which a grid or chart window can be read.
inline constexpr QSize kReadableSize(360, 220);

// Places `frame`, just added to `area` and shown, for a view whose useful size is `wanted`
// (the view's own size hint when empty); returns its geometry.
QRect placeNewWindow(QMdiArea& area, QMdiSubWindow& frame, QSize wanted = QSize());

// Window > Cascade: the windows one title bar apart from the top left, the last one reaching
// the bottom right of the workspace.
void cascadeWindows(QMdiArea& area);

// Window > Tile: the command panels stacked in a corner, the other windows side by side in
// the rest of the workspace, beside or below the panels, wherever they get more room; as
// Cascade where they could not be read side by side.
void tileWindows(QMdiArea& area);

} // namespace frusta::gui
