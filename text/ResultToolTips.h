// Tooltips for the result boxes: the value before display rounding, so that a
// user who needs more than the box's whole units or three decimal places can
// read it, with the forms track planners also think in.
#pragma once

#include <QLocale>
#include <QString>

namespace pendrio {

// "1968503.937 track units = 100 m", 15 significant digits each.
QString LengthToolTip(double units, const QLocale& locale);

// "2.86240522611175° = slope 5 % = 50 ‰": the angle and its tangent as a
// slope in per cent and per mille, 15 significant digits each.
QString GradientToolTip(double radians, const QLocale& locale);

} // namespace pendrio
