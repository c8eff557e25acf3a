#pragma once
// The core's class colours as Qt colours.
#include "output/ChartSeries.h"

#include <QColor>

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

} // namespace frusta::gui
