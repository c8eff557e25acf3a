#include "gui/doc/DocumentSession.h"

#include "gui/common/WindowArrangement.h"
#include "gui/doc/CChildFrame.h"
#include "gui/doc/CChildFrame2.h"
#include "gui/doc/CPbtView.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridView.h"
#include "gui/output/GridWindows.h"
#include "gui/output/MatchingView.h"
#include "output/ResultsWriter.h"

#include <QIcon>
#include <QMdiArea>

namespace frusta::gui {

DocumentSession::DocumentSession(std::unique_ptr<CPbtDoc> doc, QMdiArea& area)
    : doc_(std::move(doc)), area_(area) {}

DocumentSession::~DocumentSession() {
    closing_ = true;
    closeWindows();
}

QMdiSubWindow* DocumentSession::dataFrame() const {
    return data_.data();
}
QMdiSubWindow* DocumentSession::resultsFrame() const {
    return results_.data();
}

QMdiSubWindow* DocumentSession::matchingFrame() const {
    return matching_.data();
}

QMdiSubWindow* DocumentSession::addFrame(QMdiSubWindow* frame) {
    frame->setProperty("frustaSession", QVariant::fromValue(static_cast<QObject*>(this)));
    frame->setWindowIcon(QIcon(":/frusta/icons/frusta2.svg"));
    area_.addSubWindow(frame);
    frame->show();
    placeNewWindow(area_, *frame);
    area_.setActiveSubWindow(frame);
    return frame;
}

QString DocumentSession::caption() const {
    const QString title = QString::fromStdString(doc_->GetTitle());
    if (doc_->m_strSheetName.empty())
        return title;
    return QString("%1 (%2, %3)")
        .arg(title, QString::fromStdString(doc_->m_strSheetName),
             QString::fromStdString(doc_->m_strMetric));
}

void DocumentSession::openPanel() {
    panel_ = new CChildFrame2(*this, createCommandPanel(*this));
    panel_->setWindowTitle(caption());
    addFrame(panel_);
}

void DocumentSession::ShowDataView() {
    showView(data_, "Data view: ", [this] {
        DataListView* view = createDataView(*doc_);
        connect(this, &DocumentSession::changed, view, &GridView::refresh);
        connect(view, &DataListView::useSuggestion, this, [this](int taxon, int i) {
            if (useSuggestion)
                useSuggestion(taxon, i);
        });
        return view;
    });
}

void DocumentSession::ShowResultsView() {
    showView(results_, "Results view: ", [this] {
        CChildResFrame* view = createResultsView(*doc_);
        connect(this, &DocumentSession::changed, view, &CChildResFrame::refresh);
        return view;
    });
}

void DocumentSession::ShowMatchingView() {
    showView(matching_, "Taxon matching: ", [this] {
        MatchingView* view = createMatchingView(*doc_, [this](double share) {
            if (scoredShareChanged)
                scoredShareChanged(share);
            notifyChanged();
        });
        connect(this, &DocumentSession::changed, view, &MatchingView::refresh);
        return view;
    });
}

void DocumentSession::showView(QPointer<CChildFrame>& frame, const QString& title,
                               const std::function<QWidget*()>& createView) {
    if (frame) {
        area_.setActiveSubWindow(frame);
        return;
    }
    frame = new CChildFrame(this, createView(), title + caption());
    addFrame(frame);
}

void DocumentSession::CanCloseFrame(QMdiSubWindow* frame) {
    if (frame == panel_.data()) {
        closeDocument();
        return;
    }
    frame->close();
}

bool DocumentSession::closeDocument() {
    if (closing_)
        return true;
    if (!saveModified(*doc_))
        return false;
    closing_ = true;
    closeWindows();
    emit closed(this);
    return true;
}

void DocumentSession::closeWindows() {
    for (QMdiSubWindow* frame :
         {static_cast<QMdiSubWindow*>(data_.data()), static_cast<QMdiSubWindow*>(results_.data()),
          static_cast<QMdiSubWindow*>(matching_.data())})
        if (frame)
            frame->close();
    if (panel_) {
        // The panel's frame refuses a close: it is taken down directly.
        area_.removeSubWindow(panel_);
        panel_->deleteLater();
        panel_ = nullptr;
    }
}

void DocumentSession::notifyChanged() {
    for (QMdiSubWindow* frame :
         {static_cast<QMdiSubWindow*>(data_.data()), static_cast<QMdiSubWindow*>(results_.data()),
          static_cast<QMdiSubWindow*>(matching_.data())})
        if (frame && frame->widget())
            frame->widget()->update();
    emit changed();
}

DocumentSession* sessionOf(QMdiSubWindow* frame) {
    if (!frame)
        return nullptr;
    return qobject_cast<DocumentSession*>(frame->property("frustaSession").value<QObject*>());
}

} // namespace frusta::gui
