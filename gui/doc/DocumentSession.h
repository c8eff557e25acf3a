#pragma once
// One open analysis in the desktop program: the document and its windows (the command
// panel, at most one data window and one results window).
#include "doc/CPbtDoc.h"
#include "gui/doc/CChildFrame.h"
#include "gui/doc/CChildFrame2.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QMdiArea;
class QMdiSubWindow;

namespace frusta::gui {

class DocumentSession : public QObject {
    Q_OBJECT
public:
    DocumentSession(std::unique_ptr<CPbtDoc> doc, QMdiArea& area);
    ~DocumentSession() override;

    CPbtDoc& doc() { return *doc_; }
    const CPbtDoc& doc() const { return *doc_; }
    QMdiArea& area() { return area_; }

    // What the captions of the document's windows call it: the workbook's file name, then
    // the worksheet and the metric, so that two analyses of one workbook are told apart.
    QString caption() const;

    // Opens the command panel in its child window (after the workbook was read).
    void openPanel();
    CChildFrame2* panelFrame() const { return panel_; }
    QMdiSubWindow* dataFrame() const;
    QMdiSubWindow* resultsFrame() const;
    QMdiSubWindow* matchingFrame() const;

    // Brings the document's data or results window to the front, made when there is none.
    void ShowDataView();
    void ShowResultsView();
    // The same for the taxon matching window (after an analysis).
    void ShowMatchingView();

    // What the desktop program does when the user takes a suggested list entry for a taxon
    // (taxon, suggestion) and when the smallest scored share is changed.
    std::function<void(int, int)> useSuggestion;
    std::function<void(double)> scoredShareChanged;

    // The close rule of a frame of this document: the command panel's frame asks the
    // save-modified question and closes the whole document; any other frame closes alone.
    void CanCloseFrame(QMdiSubWindow* frame);
    // The save-modified question, then every window closes; false when the user cancelled.
    bool closeDocument();
    // Closes every window without a question (after the question was asked elsewhere).
    void closeWindows();

    // The document's results changed (analysis, save): windows refresh, menus re-enable.
    void notifyChanged();

signals:
    void changed();
    void closed(DocumentSession* session);

private:
    QMdiSubWindow* addFrame(QMdiSubWindow* frame);
    // Brings `frame` to the front, or makes it around a new view when there is none.
    void showView(QPointer<CChildFrame>& frame, const QString& title,
                  const std::function<QWidget*()>& createView);

    std::unique_ptr<CPbtDoc> doc_;
    QMdiArea& area_;
    QPointer<CChildFrame2> panel_;
    QPointer<CChildFrame> data_;
    QPointer<CChildFrame> results_;
    QPointer<CChildFrame> matching_;
    bool closing_ = false;
};

// The session that a child window belongs to; null for windows of no analysis.
DocumentSession* sessionOf(QMdiSubWindow* frame);

} // namespace frusta::gui
