#pragma once
// Dialog units of a layout converted to pixels by the dialog's font, as Windows does: a
// horizontal unit is a quarter of the font's average character width, a vertical unit an
// eighth of its height.
#include <QFont>
#include <QRect>

namespace frusta::gui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

// The dialogs' font: "MS Sans Serif" 8 points, resolved by fontconfig to a
// metric-compatible face where that font is not installed.
QFont dialogFont();

} // namespace frusta::gui
