#include "gui/common/WindowArrangement.h"

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>
#include <cmath>
#include <optional>

namespace frusta::gui {

namespace {

using Frames = QList<QMdiSubWindow*>;

bool isFixedSize(const QMdiSubWindow& frame) {
    return frame.minimumSize() == frame.maximumSize();
}

// The offset between two cascaded windows: the height of a title bar and its frame.
int titleBarHeight(const QMdiSubWindow& frame) {
    if (frame.widget() && frame.widget()->y() > 0)
        return frame.widget()->y();
    QStyleOptionTitleBar option;
    option.initFrom(&frame);
    return frame.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &frame) +
           frame.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &frame);
}

// The windows shown in the workspace, bottom of the stack first.
Frames shownWindows(const QMdiArea& area, const QMdiSubWindow* except = nullptr) {
    Frames frames;
    for (QMdiSubWindow* f : area.subWindowList(QMdiArea::StackingOrder))
        if (f != except && f->isVisible() && !f->isMinimized())
            frames << f;
    return frames;
}

// The windows that an arrangement moves, each back to its normal size.
Frames windowsToArrange(const QMdiArea& area) {
    const Frames frames = shownWindows(area);
    for (QMdiSubWindow* f : frames)
        if (f->isMaximized())
            f->showNormal();
    return frames;
}

QRect workspace(const QMdiArea& area) {
    return QRect(QPoint(0, 0), area.viewport()->size());
}

// The size a frame needs to show its view at `viewSize`.
QSize frameSizeFor(const QMdiSubWindow& frame, QSize viewSize) {
    const QSize chrome = frame.widget() ? frame.size() - frame.widget()->size() : QSize();
    return viewSize + chrome;
}

// Whether `rect` leaves the title bars of the command panels among `others` in view.
bool clearsPanelTitleBars(const QRect& rect, const Frames& others, int titleBar) {
    for (const QMdiSubWindow* o : others)
        if (isFixedSize(*o) && rect.intersects(QRect(o->pos(), QSize(o->width(), titleBar))))
            return false;
    return true;
}

bool positionTaken(QPoint p, const Frames& others, int titleBar) {
    for (const QMdiSubWindow* o : others)
        if (std::abs(o->x() - p.x()) < titleBar / 2 && std::abs(o->y() - p.y()) < titleBar / 2)
            return true;
    return false;
}

// The size of a window at `pos`: a panel keeps its own, any other window what it wants,
// within the room left to the bottom right of the workspace.
QSize sizeAt(const QMdiSubWindow& frame, QSize wanted, QPoint pos, const QRect& space) {
    if (isFixedSize(frame))
        return frame.size();
    return wanted.boundedTo(QSize(space.width() - pos.x(), space.height() - pos.y()));
}

// The cascade position for a new window: the first one free, with room enough to read the
// window and clear of the panels' title bars; nothing when there is none.
std::optional<QRect> freeCascadePlace(const QMdiSubWindow& frame, QSize wanted, const QRect& space,
                                      const Frames& others, bool anyTaken) {
    const int step = titleBarHeight(frame);
    const QSize least = isFixedSize(frame) ? frame.size() : wanted.boundedTo(kReadableSize);
    for (QPoint p(0, 0);
         p.x() + least.width() <= space.width() && p.y() + least.height() <= space.height();
         p += QPoint(step, step)) {
        const QRect place(p, sizeAt(frame, wanted, p, space));
        if ((anyTaken || !positionTaken(p, others, step)) &&
            clearsPanelTitleBars(place, others, step))
            return place;
    }
    return std::nullopt;
}

// The number of columns of the grid of `count` cells in `region` whose cells are most
// readable, and how readable: 1 or more when every cell is at least kReadableSize.
double gridReadability(const QRect& region, int count, int& columns) {
    double best = 0.0;
    columns = 1;
    for (int c = 1; c <= count; ++c) {
        const int rows = (count + c - 1) / c;
        const double across = region.width() / double(c) / kReadableSize.width();
        const double down = region.height() / double(rows) / kReadableSize.height();
        if (std::min(across, down) > best) {
            best = std::min(across, down);
            columns = c;
        }
    }
    return best;
}

void placeInGrid(const QRect& region, const Frames& frames, int columns) {
    const int count = static_cast<int>(frames.size());
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        const int c = i % columns, r = i / columns;
        const int left = region.left() + region.width() * c / columns;
        const int right = region.left() + region.width() * (c + 1) / columns;
        const int top = region.top() + region.height() * r / rows;
        const int bottom = region.top() + region.height() * (r + 1) / rows;
        frames[i]->setGeometry(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    }
}

} // namespace

QRect placeNewWindow(QMdiArea& area, QMdiSubWindow& frame, QSize wanted) {
    const QRect space = workspace(area);
    if (!wanted.isValid() && frame.widget())
        wanted = frame.widget()->sizeHint();
    wanted = frameSizeFor(frame, wanted.expandedTo(QSize(1, 1)));
    const Frames others = shownWindows(area, &frame);
    std::optional<QRect> place = freeCascadePlace(frame, wanted, space, others, false);
    // Every cascade position is taken: the first one that leaves the panels' title bars in
    // view, else the top left.
    if (!place)
        place = freeCascadePlace(frame, wanted, space, others, true);
    if (!place)
        place = QRect(QPoint(0, 0), sizeAt(frame, wanted, QPoint(0, 0), space));
    // Beside a maximised window the workspace shows a new one maximised too; its place is
    // then where it goes back to.
    const bool maximised = frame.isMaximized();
    if (maximised)
        frame.showNormal();
    frame.setGeometry(*place);
    if (maximised)
        frame.showMaximized();
    return *place;
}

void cascadeWindows(QMdiArea& area) {
    const Frames frames = windowsToArrange(area);
    if (frames.isEmpty())
        return;
    const QRect space = workspace(area);
    const int count = static_cast<int>(frames.size());
    // One title bar apart; closer when the windows would not be readable so.
    int step = titleBarHeight(*frames.front());
    if (count > 1) {
        const int room = std::min(space.width() - kReadableSize.width(),
                                  space.height() - kReadableSize.height());
        step = std::clamp(room / (count - 1), 4, step);
    }
    const QSize common(std::max(space.width() - step * (count - 1), kReadableSize.width()),
                       std::max(space.height() - step * (count - 1), kReadableSize.height()));
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* f = frames[i];
        const QPoint p(i * step, i * step);
        f->setGeometry(QRect(p, isFixedSize(*f) ? f->size() : common));
        f->raise();
    }
}

void tileWindows(QMdiArea& area) {
    const Frames frames = windowsToArrange(area);
    Frames panels, others;
    for (QMdiSubWindow* f : frames)
        (isFixedSize(*f) ? panels : others) << f;
    if (others.isEmpty()) {
        cascadeWindows(area);
        return;
    }
    const QRect space = workspace(area);
    // The panels cascade in the top left corner.
    QRect corner;
    for (int i = 0; i < panels.size(); ++i) {
        const int step = titleBarHeight(*panels[i]);
        const QRect place(QPoint(i * step, i * step), panels[i]->size());
        panels[i]->setGeometry(place);
        corner = corner.united(place);
    }
    const QRect beside(QPoint(corner.isNull() ? 0 : corner.right() + 1, 0), space.bottomRight());
    const QRect below(QPoint(0, corner.isNull() ? 0 : corner.bottom() + 1), space.bottomRight());
    int besideColumns = 1, belowColumns = 1;
    const int count = static_cast<int>(others.size());
    const double besideScore = gridReadability(beside, count, besideColumns);
    const double belowScore = gridReadability(below, count, belowColumns);
    if (std::max(besideScore, belowScore) < 1.0) {
        cascadeWindows(area);
        return;
    }
    if (besideScore >= belowScore)
        placeInGrid(beside, others, besideColumns);
    else
        placeInGrid(below, others, belowColumns);
}

} // namespace frusta::gui
