#include "gui/tour/Tour.h"

#include "gui/app/CMainFrame.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

namespace frusta::gui::tour {

ScriptedPort& tourPort() {
    static ScriptedPort port = [] {
        ScriptedPort p;
        p.worksheet = WorksheetChoice{0, 0, true, 7, 3};
        p.echo = "";
        return p;
    }();
    return port;
}

void TourContext::settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void TourContext::shot(QWidget* widget, const QString& name) {
    settle();
    widget->grab().save(folder_ + "/" + name + ".png");
    ++count_;
}

void TourContext::shotPart(QWidget* widget, const QRect& area, const QString& name) {
    settle();
    widget->grab(area).save(folder_ + "/" + name + ".png");
    ++count_;
}

void TourContext::shotMain(const QString& name) {
    shot(&app.mainFrame(), name);
}

void TourContext::shotModal(const QString& name, const std::function<void()>& trigger,
                            const std::function<void(QWidget*)>& prepare,
                            const std::function<void(QWidget*)>& finish) {
    auto* timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [=, this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->property("tourDone").toBool())
            return;
        modal->setProperty("tourDone", true);
        timer->stop();
        timer->deleteLater();
        if (prepare)
            prepare(modal);
        shot(modal, name);
        if (finish)
            finish(modal);
        else if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    });
    timer->start();
    trigger();
}

} // namespace frusta::gui::tour
