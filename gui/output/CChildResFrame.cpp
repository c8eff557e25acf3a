#include "gui/output/CChildResFrame.h"

#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "gui/output/ChartExport.h"
#include "gui/output/ConfidenceChartView.h"
#include "gui/output/EqrChartView.h"
#include "gui/output/ResListView.h"
#include "gui/output/ResListView2.h"

#include <QMdiSubWindow>
#include <QMenu>
#include <QTabBar>

namespace frusta::gui {

CChildResFrame::CChildResFrame(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                               QWidget* parent)
    : QTabWidget(parent) {
    setObjectName("CChildResFrame");
    setTabPosition(QTabWidget::South);
    setDocumentMode(true);
    addTab(new ResListView(doc, classNames), "Sample Summary");
    if (doc.m_bUncertaintyDone)
        addTab(new ResListView2(doc, classNames),
               QString::fromStdString(uncertaintyTitle(doc.m_nMetric)));
    addChart(new EqrChartView(doc, classNames), "EQR chart");
    if (doc.m_bUncertaintyDone)
        addChart(new ConfidenceChartView(doc, classNames), "Confidence chart");
    tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabBar(), &QWidget::customContextMenuRequested, this, &CChildResFrame::tabMenu);
}

void CChildResFrame::addChart(ChartTab* chart, const QString& name) {
    addTab(chart, name);
    connect(chart, &ChartTab::saveRequested, this, [this, chart] { saveChart(indexOf(chart)); });
}

GridView* CChildResFrame::grid(int tab) const {
    return qobject_cast<GridView*>(widget(tab));
}

GridView* CChildResFrame::currentGrid() const {
    return grid(currentIndex());
}

ChartTab* CChildResFrame::chart(int tab) const {
    return qobject_cast<ChartTab*>(widget(tab));
}

ChartTab* CChildResFrame::currentChart() const {
    return chart(currentIndex());
}

void CChildResFrame::refresh() {
    for (int i = 0; i < count(); ++i) {
        if (GridView* g = grid(i))
            g->refresh();
        if (ChartTab* c = chart(i))
            c->refresh();
    }
}

bool CChildResFrame::canCopy() const {
    return currentGrid() != nullptr || currentChart() != nullptr;
}
void CChildResFrame::copy() {
    if (GridView* g = currentGrid())
        g->copy();
    else if (ChartTab* c = currentChart())
        copyChart(*c);
}
void CChildResFrame::selectAll() {
    if (GridView* g = currentGrid())
        g->selectAll();
}
bool CChildResFrame::canPrint() const {
    return canCopy();
}

QString CChildResFrame::printTitle(int tab) const {
    QString title;
    for (QWidget* w = parentWidget(); w && title.isEmpty(); w = w->parentWidget())
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w))
            title = frame->windowTitle();
    return title.isEmpty() ? tabText(tab) : title + " - " + tabText(tab);
}

void CChildResFrame::print(QPrinter& printer) {
    if (ChartTab* c = currentChart()) {
        printChart(*c, printer, printTitle(currentIndex()));
        return;
    }
    GridView* g = currentGrid();
    if (!g)
        return;
    g->setPrintTitle(printTitle(currentIndex()));
    g->print(printer);
}

bool CChildResFrame::canSaveChart() const {
    return currentChart() != nullptr;
}

void CChildResFrame::saveChartAs() {
    saveChart(currentIndex());
}

void CChildResFrame::saveChart(int tab) {
    if (ChartTab* c = chart(tab)) {
        QString name = tabText(tab);
        name.replace(' ', '-');
        saveChartWithDialog(*c, this, printTitle(tab), name);
    }
}

void CChildResFrame::tabMenu(const QPoint& pos) {
    const int tab = tabBar()->tabAt(pos);
    if (!chart(tab))
        return;
    QMenu menu(this);
    menu.addAction("Save c&hart as...", this, [this, tab] { saveChart(tab); });
    menu.exec(tabBar()->mapToGlobal(pos));
}

} // namespace frusta::gui
