#pragma once
// Drives the desktop as a user does, through the X server: xdotool moves the pointer,
// clicks, turns the wheel and presses keys, and the program receives real X events.
#include <QApplication>
#include <QElapsedTimer>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace frusta::guitest {

class XDriver {
public:
    // Runs xdotool with `args`; false when it failed.
    static bool run(const QStringList& args) {
        QProcess p;
        p.start("xdotool", args);
        if (!p.waitForFinished(10000) || p.exitCode() != 0)
            return false;
        settle();
        return true;
    }
    // Lets the X events arrive and be handled.
    static void settle(int ms = 120) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    static bool moveTo(const QWidget* w, QPoint local) {
        const QPoint p = w->mapToGlobal(local);
        return run({"mousemove", QString::number(p.x()), QString::number(p.y())});
    }
    static bool click(const QWidget* w, QPoint local) {
        return moveTo(w, local) && run({"click", "1"});
    }
    // Keys as xdotool names them: "End", "ctrl+End", "Page_Down", "Tab".
    static bool key(const QString& keys) { return run({"key", keys}); }
    // Wheel steps: up 4, down 5, left 6, right 7.
    static bool wheel(const QWidget* w, QPoint local, int button, int steps) {
        return moveTo(w, local) && run({"click", "--repeat", QString::number(steps), "--delay",
                                        "30", QString::number(button)});
    }
    static bool drag(const QWidget* w, QPoint from, QPoint via, QPoint to) {
        if (!moveTo(w, from) || !run({"mousedown", "1"}))
            return false;
        const bool moved = moveTo(w, via) && moveTo(w, to);
        return run({"mouseup", "1"}) && moved;
    }
};

} // namespace frusta::guitest
