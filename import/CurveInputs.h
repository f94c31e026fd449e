// A curve read from a file as the main window takes it: the texts a user
// would type into its boxes, so that the window reads them exactly as it
// reads what is typed (ReadTypedNumber), and nothing in the window changes.
#pragma once

#include "import/AlignmentImport.h"

#include <QLocale>
#include <QString>

namespace pendrio {

// Length and height at start in track units, both gradients in degrees (the
// angle whose Atan the slope is), the Stations tab's chainage at start in
// metres; each in the locale's decimal form.
struct CurveAsTyped {
    QString length;
    QString startHeight;
    QString startGradient;
    QString endGradient;
    QString startChainage;
};

// Each text reads back (TextToNumber) to the number the box keeps, and that
// number gives the file's own back where a double can: the length and height
// divided by UnitsPerMetre are the file's metres, Tan of the gradient's
// radians is the file's slope, to the last bit. Among the numbers that do, the
// one with 15 significant digits is taken where there is one, as a user
// typed it; where none does, the first guess: the metres times UnitsPerMetre,
// or RadiansToDegrees(Atan(slope)).
CurveAsTyped TypedInputsFor(const CurveInFile& curve, const QLocale& locale = QLocale());

} // namespace pendrio
