#include "gui/app/CSplashWnd.h"

#include "app/ShellTexts.h"

#include <QCloseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace frusta::gui {

namespace {
constexpr int kInset = 8;
constexpr QColor kTextColour{0, 0, 125};

QFont splashFont(int pixelHeight) {
    QFont font("Arial");
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    font.setItalic(false);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
} // namespace

CSplashWnd::CSplashWnd(QWidget* owner, int displayMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      owner_(owner), picture_(new QSvgRenderer(QStringLiteral(":/frusta/splash.svg"), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("splash");
    setFixedSize(picture_->defaultSize());
    timer_.setSingleShot(true);
    timer_.setInterval(displayMs);
    connect(&timer_, &QTimer::timeout, this, &QWidget::close);
}

CSplashWnd::~CSplashWnd() = default;

void CSplashWnd::showOver() {
    if (owner_) {
        const QRect frame = owner_->frameGeometry();
        move(frame.center() - rect().center());
        owner_->setEnabled(false);
    }
    show();
    raise();
    timer_.start();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    picture_->render(&painter, rect());
    drawTexts(painter);
}

void CSplashWnd::drawTexts(QPainter& painter) {
    QRect r = rect().adjusted(kInset, kInset, -kInset, -kInset);
    painter.setPen(kTextColour);
    painter.setFont(splashFont(20));
    painter.drawText(r, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                     QString::fromStdString(splashVersionLine(productVersion())));
    painter.setFont(splashFont(28));
    painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, kSplashTitle1);
    // The second title line starts one line height below the first.
    r.setTop(r.top() + painter.fontMetrics().height());
    painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, kSplashTitle2);
}

void CSplashWnd::keyPressEvent(QKeyEvent*) {
    close();
}
void CSplashWnd::mousePressEvent(QMouseEvent*) {
    close();
}

void CSplashWnd::closeEvent(QCloseEvent* event) {
    timer_.stop();
    if (!done_) {
        done_ = true;
        if (owner_)
            owner_->setEnabled(true);
        emit closed();
    }
    event->accept();
}

} // namespace frusta::gui
