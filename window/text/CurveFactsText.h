// The curve facts as a few plain lines, for the label under the plot and the
// caption of an exported plot image.
#pragma once

#include "profile/CurveFacts.h"

#include <QLocale>
#include <QStringList>

namespace pendrio {

// One line for the kind and vertical radius, one for the high or low point on a
// crest or sag, one for the total rise. Lengths in whole track units followed by
// metres to three places, in brackets; heights of the high or low point and the
// rise are measured from the height at the start. Missing facts read "beyond
// range", the radius of a straight incline "∞"; numbers use the locale's
// decimal separator and never read inf or nan.
QStringList CurveFactsLines(const CurveFacts& facts, const QLocale& locale = QLocale());

// A length as the facts write it: "393700787 track units (20000 m)".
QString LengthText(double units, const QLocale& locale = QLocale());

} // namespace pendrio
