#include "gui/common/DialogUnits.h"

#include <QFontMetrics>

namespace frusta::gui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics m(font);
    // Windows' average width: the width of the 52 letters, halved and rounded, over 26.
    const int letters =
        m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = m.height();
}

int DialogUnits::x(int units) const {
    return (units * baseX_ + 2) / 4;
}
int DialogUnits::y(int units) const {
    return (units * baseY_ + 4) / 8;
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return QRect(x(left), y(top), x(width), y(height));
}

QFont dialogFont() {
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace frusta::gui
