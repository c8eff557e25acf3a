#pragma once
// The splash window: the project's picture with the title and version, shown over the main
// frame at start-up until its time runs out or the user presses a key or a mouse button.
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QSvgRenderer;

namespace frusta::gui {

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    CSplashWnd(QWidget* owner, int displayMs);
    ~CSplashWnd() override;

    // Shows the window centred over its owner and disables the owner until it closes.
    void showOver();
    bool isTiming() const { return timer_.isActive(); }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void closeEvent(QCloseEvent*) override;

private:
    void drawTexts(QPainter& painter);

    QPointer<QWidget> owner_;
    QTimer timer_;
    QSvgRenderer* picture_;
    bool done_ = false;
};

} // namespace frusta::gui
