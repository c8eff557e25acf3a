#include "gui/app/QtUserPort.h"

#include "app/ShellTexts.h"
#include "gui/app/BackgroundWork.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "gui/engine/CDefaultDialog.h"
#include "gui/output/ResultsFileDialog.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace frusta::gui {

namespace {

// Qt lays a message box out for its main text: a short one ("Error reading file") would
// wrap a longer informative line word by word. The texts get the width of their longest
// line, within reason.
void fitMessageWidth(QMessageBox& box) {
    constexpr int kMaxWidth = 640;
    for (const char* name : {"qt_msgbox_label", "qt_msgbox_informativelabel"}) {
        auto* label = box.findChild<QLabel*>(name);
        if (!label)
            continue;
        int widest = 0;
        for (const QString& line : label->text().split('\n'))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
        label->setMinimumWidth(std::min(widest + 4, kMaxWidth));
    }
}

} // namespace

QWidget* QtUserPort::dialogParent() const {
    // A disabled owner (the main frame under the splash window) would disable its boxes.
    return parent_ && parent_->isEnabled() ? parent_.data() : nullptr;
}

Answer QtUserPort::notify(const Notice& notice) {
    const Buttons buttons = notice.buttons;
    // The wait cursor must not hide the box's buttons: the box shows the normal cursor.
    const bool waiting = waitDepth_ > 0;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(dialogParent());
    box.setWindowTitle(QString::fromStdString(notice.title));
    box.setText(QString::fromStdString(notice.text));
    box.setTextFormat(Qt::PlainText);
    if (!notice.advice.empty()) {
        // What to do first, the reason under the details.
        box.setInformativeText(QString::fromStdString(notice.advice));
        box.setDetailedText(QString::fromStdString(notice.detail));
    } else if (!notice.detail.empty()) {
        box.setInformativeText(QString::fromStdString(notice.detail));
    }
    fitMessageWidth(box);
    switch (buttons) {
    case Buttons::Ok:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNoCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    const int result = box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<WorksheetChoice> QtUserPort::chooseWorksheet(const WorksheetRequest& request) {
    return runWorksheetDialog(request, *this, dialogParent());
}

std::optional<ResultsFileChoice> QtUserPort::chooseResultsFile(const ResultsFileRequest& request) {
    return runResultsFileDialog(request, dialogParent());
}

std::optional<DefaultValues> QtUserPort::chooseDefaults(const DefaultValues& current) {
    return runDefaultDialog(current, dialogParent());
}

bool QtUserPort::runCancellable(const std::string& what,
                                const std::function<void(LoadProgress&)>& work) {
    auto* frame = qobject_cast<QMainWindow*>(parent_.data());
    BackgroundWork background(QString::fromStdString(what), dialogParent(),
                              frame ? frame->statusBar() : nullptr);
    background.setWindowDelay(progressDelayMs_);
    lastWorkCancelled_ = false;
    lastWorkCancelled_ = !background.run(work);
    return !lastWorkCancelled_;
}

void QtUserPort::beginWait() {
    ++waitDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserPort::endWait() {
    if (waitDepth_ == 0)
        return;
    --waitDepth_;
    QApplication::restoreOverrideCursor();
}

} // namespace frusta::gui
