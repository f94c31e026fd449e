#include "plot/PlotGeometry.h"

#include "maths/PowersOfTen.h"
#include "text/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace pendrio {

namespace {

// Labels never need more decimals than the 15 digits a number is shown with.
constexpr int MaxLabelDecimals = 15;

bool positive(double value) {
    return std::isfinite(value) && value > 0;
}

// 1, 2 and 5 times the power of ten at or below `value`, and the next power.
// A value of 0 (a span that underflowed) has no decade: all four are 0.
std::array<double, 4> decade(double value) {
    // Within ±400 the exponent is an int, and PowerOfTen gives 0 and infinity
    // beyond the double range already.
    const double raw = std::floor(std::log10(value));
    const double exponent = raw >= -400 ? std::min(raw, 400.0) : -400.0;
    const double power = PowerOfTen(static_cast<int>(exponent));
    return {power, 2 * power, 5 * power, 10 * power};
}

constexpr double Largest = std::numeric_limits<double>::max();

// The least a height axis reaches above and below its middle: a millionth of a
// millionth of the height there, so that 1-2-5 ticks across it have labels of
// at most 13 significant digits that tell them apart; near height zero, where
// that is no help, a fixed amount well clear of the subnormals.
constexpr double FinestRelativeHalfRange = 1e-12;
// 2^-1010: ticks across it are still normal doubles, and a curve as short as
// 1E-300 track units is drawn as a longer one of the same shape is.
constexpr double FinestHalfRange = 0x1p-1010;

// a * b / (c * d) for positive finite operands, with only the result rounded
// into the double range: no product or quotient on the way can overflow or
// underflow, however far apart the lengths and heights are.
double scaled(double a, double b, double c, double d) {
    int ea = 0, eb = 0, ec = 0, ed = 0;
    const double fraction =
        std::frexp(a, &ea) * std::frexp(b, &eb) / (std::frexp(c, &ec) * std::frexp(d, &ed));
    return std::ldexp(fraction, ea + eb - ec - ed);
}

// How far a box of width x height pixels over `length` reaches above and
// below its middle at true scale, divided by `divisor`. The half range and the
// exaggeration are reciprocal: divided by an exaggeration this is the half
// range the box shows, divided by a half range the exaggeration it needs.
double trueHalfRangeOver(double divisor, double length, double width, double height) {
    return scaled(height / 2, length, width, divisor);
}

// The largest 1-2-5 exaggeration at which the box still reaches `halfRange`
// above and below its middle; within the normal doubles, however extreme.
double exaggerationFor(double halfRange, double length, double width, double height) {
    const double wanted = trueHalfRangeOver(halfRange, length, width, height);
    return NiceAtMost(std::clamp(wanted, std::numeric_limits<double>::min(), Largest));
}

} // namespace

double TickStep(double span, int maxSteps) {
    if (!positive(span) || maxSteps < 1) {
        return 0;
    }
    const double rough = span / maxSteps;
    for (double step : decade(rough)) {
        // A little slack: log10 rounds, and 0.3 / 3 must still give 0.1.
        if (step >= rough * (1 - 1e-12)) {
            return step;
        }
    }
    return decade(rough)[3];
}

std::vector<double> TickValues(double low, double high, double step) {
    std::vector<double> ticks;
    if (!positive(step) || !std::isfinite(low) || !std::isfinite(high) || high < low) {
        return ticks;
    }
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || !(last - first < MaxTicks)) {
        return ticks;
    }
    // Counted, not stepped with a double: beyond 2^53, first + 1 == first.
    const int count = last < first ? 0 : static_cast<int>(last - first) + 1;
    for (int j = 0; j < count; ++j) {
        const double tick = (first + j) * step;
        if (std::isfinite(tick) && (ticks.empty() || tick > ticks.back())) {
            ticks.push_back(tick);
        }
    }
    return ticks;
}

namespace {

// An axis from near the lowest double to near the largest has a span beyond
// the double range: its step then comes from half of it.
double axisStep(double low, double high, int maxSteps) {
    return std::isfinite(high - low) ? TickStep(high - low, maxSteps)
                                     : 2 * TickStep(high / 2 - low / 2, std::max(maxSteps, 1));
}

} // namespace

std::vector<double> AxisTicks(double low, double high, int maxSteps) {
    std::vector<double> ticks = TickValues(low, high, axisStep(low, high, maxSteps));
    const double middle = low / 2 + high / 2;
    if (ticks.empty() && std::isfinite(middle)) {
        ticks.push_back(middle);
    }
    return ticks;
}

int AxisDecimals(double low, double high, int maxSteps) {
    const double step = axisStep(low, high, maxSteps);
    if (TickValues(low, high, step).empty()) {
        return -1;
    }
    // A 1-2-5 step of 10^e needs -e decimals; the slack absorbs log10's rounding.
    const double exponent = std::floor(std::log10(step) + 1e-9);
    return static_cast<int>(std::clamp(-exponent, 0.0, double(MaxLabelDecimals)));
}

double TickLabelValue(double value, int decimals) {
    if (decimals < 0 || !std::isfinite(value)) {
        return value;
    }
    // Beyond 2^53 at that scale the value has no digits left to round away.
    const double scaled = value * PowerOfTen(decimals);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 0x1p53) {
        return value;
    }
    return RoundHalfEven(value, decimals);
}

namespace {

bool allDifferent(const QStringList& labels) {
    for (qsizetype i = 1; i < labels.size(); ++i) {
        if (labels[i] == labels[i - 1]) {
            return false; // rising ticks give labels in order: a repeat is a neighbour
        }
    }
    return true;
}

} // namespace

QStringList AxisLabels(const std::vector<double>& ticks, int decimals, const QLocale& locale) {
    QStringList rounded, asTheyAre, fromFirst;
    for (double tick : ticks) {
        rounded << NumberToText(TickLabelValue(tick, decimals), locale);
        asTheyAre << NumberToText(tick, locale);
        fromFirst << (fromFirst.isEmpty() ? NumberToText(tick, locale)
                                          : u'+' + NumberToText(tick - ticks.front(), locale));
    }
    if (allDifferent(rounded)) {
        return rounded;
    }
    return allDifferent(asTheyAre) ? asTheyAre : fromFirst;
}

double NiceAtMost(double value) {
    if (!positive(value)) {
        return 1;
    }
    const std::array<double, 4> candidates = decade(value);
    double nice = candidates[0];
    for (double candidate : candidates) {
        // As a ratio: near the largest double, value * (1 + 1e-12) is infinite.
        if (candidate / value <= 1 + 1e-12) {
            nice = candidate;
        }
    }
    return positive(nice) ? nice : 1;
}

double VerticalExaggeration(double length, double heightSpan) {
    if (!positive(length) || !positive(heightSpan)) {
        return 1;
    }
    // Two thirds of the drawing's height for the heights: it reaches 3/4 of
    // the span above and below their middle.
    return exaggerationFor(0.75 * heightSpan, length, DrawingProportion, 1);
}

namespace {

// The most of a box's height the curve may take before the drawing is
// narrowed: a margin above and below it.
constexpr double MostHeightFilled = 0.9;

// How a curve with this middle and half span is drawn: its exaggeration, the
// half range a drawing DrawingProportion times as wide as high shows at it,
// and the least half range in which its heights can be told apart.
struct DrawingScale {
    double exaggeration;
    double half;
    double needed;
};

DrawingScale drawingScale(double middle, double halfSpan, double length) {
    const auto halfRange = [&](double exaggeration) {
        return trueHalfRangeOver(exaggeration, length, DrawingProportion, 1);
    };
    double exaggeration = halfSpan > 0 ? exaggerationFor(std::min(1.5 * halfSpan, Largest), length,
                                                         DrawingProportion, 1)
                                       : 1; // a level curve at true scale
    double half = halfRange(exaggeration);
    // The curve must fit, and the heights across the box be told apart: a
    // nearly level curve high up gets a few ticks around its height, with
    // less exaggeration, a 1-2-5 number still where one will do.
    const double needed =
        std::max({halfSpan, std::fabs(middle) * FinestRelativeHalfRange, FinestHalfRange});
    const double slack = 1 - 1e-9; // NiceAtMost's own slack, and rounding
    if (!(half >= needed * slack)) {
        exaggeration = exaggerationFor(needed, length, DrawingProportion, 1);
        half = halfRange(exaggeration);
        if (!(half >= needed * slack)) {
            half = needed;
            exaggeration = trueHalfRangeOver(half, length, DrawingProportion, 1);
        }
    }
    return {exaggeration, half, needed};
}

} // namespace

namespace {

// Near either end of the double range the axis slides inward, keeping its
// size; only one wider than the whole range is cut to it, the exaggeration
// then being what the box really shows. The curve stays inside, whatever the
// rounding of the halves and the slack.
void placeInRange(HeightAxis& axis, double middle, double half, double lowest, double highest,
                  double length, double height) {
    const bool belowRange = !std::isfinite(middle - half);
    const bool aboveRange = !std::isfinite(middle + half);
    double low = middle - half;
    double high = middle + half;
    if (belowRange && aboveRange) {
        low = -Largest;
        high = Largest;
        axis.exaggeration = trueHalfRangeOver(Largest, length, axis.width, height);
    } else if (belowRange) {
        low = -Largest;
        high = (low + half) + half;
    } else if (aboveRange) {
        high = Largest;
        low = (high - half) - half;
    }
    axis.low = std::min(low, lowest);
    axis.high = std::max(high, highest);
    axis.exaggeration = std::min(axis.exaggeration, Largest);
}

} // namespace

HeightAxis HeightAxisFor(double lowest, double highest, double length, double width,
                         double height) {
    HeightAxis axis;
    axis.width = positive(width) ? width : 0;
    if (!std::isfinite(lowest) || !std::isfinite(highest) || lowest > highest ||
        !positive(length) || !positive(width) || !positive(height)) {
        return axis;
    }
    // In halves, which stay finite for any two doubles.
    const double middle = lowest / 2 + highest / 2;
    const double halfSpan = highest / 2 - lowest / 2;
    const DrawingScale scale = drawingScale(middle, halfSpan, length);
    axis.exaggeration = scale.exaggeration;
    // The box's whole width, showing more heights around the curve where the
    // box is taller than the drawing; where it is so flat that the curve
    // would then fill more than MostHeightFilled of it, a narrower drawing,
    // at the same scale, in its middle.
    const double fullHalf = trueHalfRangeOver(axis.exaggeration, length, width, height);
    const double fitHalf = std::max(halfSpan / MostHeightFilled, scale.needed);
    const bool fits = !(fullHalf < fitHalf);
    const double half = fits ? fullHalf : fitHalf;
    axis.width = fits ? width : width * (fullHalf / fitHalf);
    if (!(axis.width >= std::min(width, 1.0))) {
        // Narrower than a pixel only near the ends of the double range: a
        // pixel wide, and the exaggeration what that pixel really shows.
        axis.width = std::min(width, 1.0);
        axis.exaggeration = trueHalfRangeOver(half, length, axis.width, height);
    }
    placeInRange(axis, middle, half, lowest, highest, length, height);
    return axis;
}

} // namespace pendrio
