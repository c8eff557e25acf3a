#include "gui/output/CChildResFrame.h"

#include "doc/CPbtDoc.h"
#include "gui/output/ResListView.h"
#include "gui/output/ResListView2.h"

#include <QMdiSubWindow>

namespace frusta::gui {

CChildResFrame::CChildResFrame(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                               QWidget* parent)
    : QTabWidget(parent) {
    setObjectName("CChildResFrame");
    setTabPosition(QTabWidget::South);
    setDocumentMode(true);
    addTab(new ResListView(doc, classNames), "Sample Summary");
    if (doc.m_bUncertaintyDone)
        addTab(new ResListView2(doc, classNames), uncertaintyTabName(doc.m_nMetric));
}

GridView* CChildResFrame::grid(int tab) const {
    return qobject_cast<GridView*>(widget(tab));
}

GridView* CChildResFrame::currentGrid() const {
    return grid(currentIndex());
}

void CChildResFrame::refresh() {
    for (int i = 0; i < count(); ++i)
        if (GridView* g = grid(i))
            g->refresh();
}

bool CChildResFrame::canCopy() const {
    return currentGrid() != nullptr;
}
void CChildResFrame::copy() {
    if (GridView* g = currentGrid())
        g->copy();
}
void CChildResFrame::selectAll() {
    if (GridView* g = currentGrid())
        g->selectAll();
}
bool CChildResFrame::canPrint() const {
    return currentGrid() != nullptr;
}
void CChildResFrame::print(QPrinter& printer) {
    GridView* g = currentGrid();
    if (!g)
        return;
    QString title;
    for (QWidget* w = parentWidget(); w && title.isEmpty(); w = w->parentWidget())
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w))
            title = frame->windowTitle();
    g->setPrintTitle(title.isEmpty() ? tabText(currentIndex())
                                     : title + " - " + tabText(currentIndex()));
    g->print(printer);
}

} // namespace frusta::gui
