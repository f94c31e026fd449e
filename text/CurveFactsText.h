// The curve facts as a few plain lines, for the label under the plot and the
// caption of an exported plot image.
#pragma once

#include "profile/CurveFacts.h"

#include <QLocale>
#include <QStringList>

namespace pendrio {

// Which unit a sentence gives a length in first; the other follows in brackets.
enum class LengthUnit { Metres, TrackUnits };

// One line for the kind and vertical radius, one for K and one for the high or
// low point on a crest or sag, one for the total rise; then, where the facts
// hold them, one for the vertical acceleration at the design speed and one
// for the gradients of 90° or more and what they acted as. Lengths as LengthText writes them;
// heights of the high or low point and the rise are measured from the height at the start. Missing
// facts read "beyond range", the radius of a straight incline "∞"; numbers use the locale's decimal
// separator and never read inf or nan.
QStringList CurveFactsLines(const CurveFacts& facts, const QLocale& locale = QLocale(),
                            LengthUnit lead = LengthUnit::TrackUnits);

// A length (given in track units) as a sentence writes it, whole track units
// and metres to the millimetre, the lead unit first: "393700787 track units
// (20000 m)" or "20000 m (393700787 track units)".
QString LengthText(double units, const QLocale& locale = QLocale(),
                   LengthUnit lead = LengthUnit::TrackUnits);

} // namespace pendrio
