#include "gui/app/BackgroundWork.h"

#include "app/ShellTexts.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

namespace frusta::gui {

namespace {

constexpr int kSteps = 1000;
constexpr int kTickMs = 50;

// Keeps the user's input from every window but the progress window while the work runs,
// and the program's windows from being closed under it; once the progress window shows,
// the pointer says that the program still answers.
class InputGate : public QObject {
public:
    explicit InputGate(QProgressDialog& dialog) : dialog_(dialog) {
        qApp->installEventFilter(this);
    }
    ~InputGate() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            if (target == &dialog_ && !busy_) {
                QApplication::changeOverrideCursor(Qt::BusyCursor);
                busy_ = true;
            }
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
            return !withinDialog(target);
        case QEvent::Close: // from the window manager, not from the program
            return event->spontaneous() && !withinDialog(target);
        default:
            return false;
        }
    }

private:
    bool withinDialog(QObject* target) const {
        for (QObject* o = target; o; o = o->parent())
            if (o == &dialog_)
                return true;
        return false;
    }
    QProgressDialog& dialog_;
    bool busy_ = false;
};

} // namespace

BackgroundWork::BackgroundWork(QString what, QWidget* owner, QStatusBar* status)
    : what_(std::move(what)), owner_(owner), status_(status) {}

bool BackgroundWork::run(const std::function<void(LoadProgress&)>& work) {
    LoadProgress progress;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;

    QProgressDialog dialog(what_ + "...", "Cancel", 0, kSteps, owner_);
    dialog.setObjectName("progressWindow");
    dialog.setWindowTitle(QString::fromUtf8(kAppTitle));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumWidth(360);
    // Shown by the dialog itself once the delay has passed (its value is set only from then
    // on, so that it does not show earlier on its own estimate).
    dialog.setMinimumDuration(delayMs_);
    dialog.setValue(0);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&progress] { progress.cancel(); });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const InputGate gate(dialog);
    QPointer<QStatusBar> status = status_;

    // Wakes the loop below to show the progress while no other event comes.
    QTimer tick;
    tick.start(kTickMs);
    auto body = [&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        // The loop need not wait for the next tick to notice.
        QMetaObject::invokeMethod(
            &tick, [] {}, Qt::QueuedConnection);
    };
    std::thread worker;
    try {
        worker = std::thread(body);
    } catch (const std::system_error&) {
        body(); // no thread to be had: the work runs here
    }
    while (!finished.load()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const int step = static_cast<int>(progress.fraction() * kSteps);
        if (dialog.isVisible() && step != dialog.value() && !progress.cancelled())
            dialog.setValue(step);
        if (status)
            status->showMessage(QString("%1... %2%").arg(what_).arg(step / 10));
    }
    if (worker.joinable())
        worker.join();
    QApplication::restoreOverrideCursor();
    if (status)
        status->clearMessage();
    if (failure)
        std::rethrow_exception(failure);
    return !progress.cancelled();
}

} // namespace frusta::gui
