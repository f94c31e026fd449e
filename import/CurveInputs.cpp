#include "import/CurveInputs.h"

#include "profile/ProfileState.h"
#include "maths/Transcendental.h"
#include "text/NumberText.h"
#include "text/NumberText.h"

#include <cmath>

namespace pendrio {

namespace {

// How far from the first guess a typed number is sought, in doubles either
// way: the conversions to and from the file round a few times each.
constexpr int MaxNudge = 4;

double metresOfUnits(double units) {
    return units / UnitsPerMetre;
}

double slopeOfDegrees(double degrees) {
    return Tan(DegreesToRadians(degrees));
}

// The number to type: the first guess at 15 significant digits, the guess,
// or a neighbour of it, whichever `toFile` takes to the file's number first.
double typedNumber(double guess, double inFile, double (*toFile)(double)) {
    const double rounded = RoundToSignificant(guess, 15);
    if (toFile(rounded) == inFile) {
        return rounded;
    }
    double below = guess;
    double above = guess;
    for (int step = 0; step <= MaxNudge; ++step) {
        if (toFile(below) == inFile) {
            return below;
        }
        if (toFile(above) == inFile) {
            return above;
        }
        below = std::nextafter(below, -HUGE_VAL);
        above = std::nextafter(above, HUGE_VAL);
    }
    return guess;
}

// The shortest text that reads back to `value`, with the locale's separator.
QString typed(double value, const QLocale& locale) {
    return QString::fromLatin1(ShortestText(value).toUpper())
        .replace(u'.', locale.decimalPoint());
}

QString typedUnits(double metres, const QLocale& locale) {
    return typed(typedNumber(metres * UnitsPerMetre, metres, metresOfUnits), locale);
}

QString typedDegrees(double slope, const QLocale& locale) {
    return typed(typedNumber(RadiansToDegrees(Atan(slope)), slope, slopeOfDegrees), locale);
}

} // namespace

CurveAsTyped TypedInputsFor(const CurveInFile& curve, const QLocale& locale) {
    return {typedUnits(curve.length, locale), typedUnits(curve.startHeight, locale),
            typedDegrees(curve.startSlope, locale), typedDegrees(curve.endSlope, locale),
            typed(curve.startChainage, locale)};
}

} // namespace pendrio
