#pragma once
// The core's class colours as Qt colours.
#include "output/ChartSeries.h"

#include <QColor>

#include <functional>
#include <optional>

namespace frusta::gui {

inline QColor toQColor(charts::Rgb c) {
    return QColor(c.r, c.g, c.b);
}
inline QColor classQColor(int classCode) {
    return toQColor(charts::classColour(classCode));
}
inline QColor classQTint(int classCode) {
    return toQColor(charts::classTint(classCode));
}

// A grid's cell backgrounds with the cells of grid column `classColumn` in a light tint of
// the class of their row (`classOf` takes the row counted from 0; 0 is no class).
inline std::function<std::optional<QColor>(int r, int c)>
classTintedColumn(int classColumn, std::function<int(int row)> classOf) {
    return [classColumn, classOf = std::move(classOf)](int r, int c) -> std::optional<QColor> {
        const int code = r > 0 && c == classColumn ? classOf(r - 1) : 0;
        return code > 0 ? std::optional<QColor>(classQTint(code)) : std::nullopt;
    };
}

} // namespace frusta::gui
