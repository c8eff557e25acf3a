#pragma once
// Helpers for driving the desktop program's windows in tests, as a user does: answer the
// next modal dialog or message box, find widgets by type and text.
#include "gui/app/ViewerLauncher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace frusta::guitest {

// The program folder the build made: the reference database, the guide, the example.
inline const std::filesystem::path kProgramDir = FRUSTA_PROGRAM_DIR;
inline const std::string kExample = (kProgramDir / "TestData/FRUSTA2TestData.xls").string();

// Opens nothing: help and the example stay closed in tests. Counts what it was asked.
struct NoLauncher : gui::ViewerLauncher {
    int calls = 0;
    gui::LaunchResult open(gui::ViewerKind, const std::string&) override {
        ++calls;
        return {};
    }
};

// Calls `act` with the next modal widget (dialog or message box) once it is shown. Queue
// several to answer a sequence; each waits for a modal widget other than the previous one.
inline void whenModal(std::function<void(QWidget*)> act, int timeoutMs = 10000) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act, elapsed, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        *elapsed += 20;
        if (modal && modal->isVisible() && !modal->property("frustaAnswered").toBool()) {
            modal->setProperty("frustaAnswered", true);
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Presses the button with `text` ("&" ignored) in `w`.
inline bool pressButton(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        QString t = b->text();
        t.remove('&');
        if (t == text) {
            QTest::mouseClick(b, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

// Types `text` into the name box of a file dialog and presses its accept button ("Open" or
// "Save"), as a user does.
inline void typeNameAndAccept(QFileDialog* d, const QString& text) {
    auto* box = d->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(box);
    // The box must have the focus, as after a click into it: without it the dialog writes
    // the name of the file it highlights while typing into the box.
    d->activateWindow();
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());
    box->selectAll();
    QTest::keyClicks(box, text);
    // The name completer's list may have opened; a click elsewhere would only close it.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    auto* buttons = d->findChild<QDialogButtonBox*>("buttonBox");
    QVERIFY(buttons);
    QPushButton* accept =
        buttons->button(d->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                   : QDialogButtonBox::Save);
    QVERIFY(accept && accept->isEnabled());
    QTest::mouseClick(accept, Qt::LeftButton);
}

// Records the text of the next message box and answers it with the button `answer`.
inline void answerMessage(std::vector<std::string>& log, const QString& answer = "OK",
                          int timeoutMs = 10000) {
    whenModal(
        [&log, answer](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                log.push_back(box->text().toStdString());
                if (!pressButton(box, answer))
                    box->done(QMessageBox::Cancel);
            } else if (auto* d = qobject_cast<QDialog*>(w)) {
                log.push_back("<dialog " + d->windowTitle().toStdString() + ">");
                d->reject();
            }
        },
        timeoutMs);
}

// While it lives, answers every modal widget as it shows with the first of `buttons` it has,
// and records the message boxes: their text and informative text. A dialog without any of
// the buttons (a file dialog) is left to whoever answers it.
class ModalAnswers {
public:
    struct Shown {
        std::string text;
        std::string detail;
        bool operator==(const Shown&) const = default;
    };

    explicit ModalAnswers(QStringList buttons = {"OK"}) {
        QObject::connect(&timer_, &QTimer::timeout, [this, buttons] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || modal->property("frustaAnswered").toBool())
                return;
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box)
                shown.push_back({box->text().toStdString(), box->informativeText().toStdString()});
            for (const QString& button : buttons)
                if (pressButton(modal, button)) {
                    modal->setProperty("frustaAnswered", true);
                    return;
                }
            if (box)
                modal->setProperty("frustaAnswered", true);
        });
        timer_.start(20);
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Shown& s : shown)
            out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;

private:
    QTimer timer_;
};

} // namespace frusta::guitest
