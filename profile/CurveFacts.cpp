#include "CurveFacts.h"

#include "DesignWays.h"
#include "RadiusStretch.h"
#include "maths/Transcendental.h"

#include <cmath>

namespace pendrio {

namespace {

std::optional<double> finiteOrNone(double value) {
    if (std::isfinite(value)) {
        return value;
    }
    return std::nullopt;
}

// The vertical radius bounds the vertical acceleration v^2/R that a passenger
// feels over the curve (and, on a crest, how far the wheels are unloaded), so it
// is the figure that rules put a minimum on. DesignLengthForRadius inverts these
// steps; keep the two in step.
std::optional<double> verticalRadius(double t0, double t1, double length) {
    if (!(length > 0)) {
        return std::nullopt; // a kink: infinite curvature
    }
    // Radius = stretch / |h''|, with L divided by the tangent change first so
    // that a long, gentle curve does not lose h'' to underflow.
    return finiteOrNone(RadiusStretch(t0, t1) * (length / std::abs(t1 - t0)));
}

// The high point of a crest or the low point of a sag: where the slope passes
// through zero, or the end the slope points up to (crest) or down to (sag) if it
// keeps one sign over the whole stretch. A sag is a crest upside down, so the
// tests are made on the tangents with the sag's signs flipped.
CurveExtreme extremeOf(CurveKind kind, double t0, double t1, double length, double startHeight,
                       std::optional<double> totalRise) {
    const double up0 = kind == CurveKind::Crest ? t0 : -t0;
    const double up1 = kind == CurveKind::Crest ? t1 : -t1;
    CurveExtreme extreme;
    if (up0 <= 0 || length == 0) {
        extreme.Place = ExtremePlace::AtStart;
        extreme.Distance = 0.0;
        extreme.AboveStart = 0.0;
    } else if (up1 >= 0) {
        extreme.Place = ExtremePlace::AtEnd;
        extreme.Distance = finiteOrNone(length);
        extreme.AboveStart = totalRise;
    } else {
        // h'(s) = t0 + (t1 - t0) s / L is zero at s = L t0 / (t0 - t1), and there
        // h(s) - H0 = t0 s / 2. The ratio lies in (0, 1), so it cannot overflow.
        extreme.Place = ExtremePlace::Inside;
        const double distance = length * (t0 / (t0 - t1));
        extreme.Distance = finiteOrNone(distance);
        extreme.AboveStart = finiteOrNone((t0 / 2) * distance);
    }
    if (extreme.AboveStart) {
        extreme.Height = finiteOrNone(startHeight + *extreme.AboveStart);
    }
    return extreme;
}

// The main window takes any gradient and the calculation its tangent, so a
// gradient typed as 135 for 1.35 is a 45 degree fall; said here, since
// nothing else shows it.
std::optional<SteepGradient> steepGradient(double gradient, double tangent) {
    if (!(std::abs(gradient) >= DegreesToRadians(90.0))) {
        return std::nullopt;
    }
    return SteepGradient{gradient, Atan(tangent)};
}

// On the smallest radius, where the acceleration is greatest; a straight
// incline bends nowhere.
std::optional<SpeedFact> speedFact(const CurveFacts& facts, std::optional<double> speed) {
    if (!speed || !(*speed > 0) || !std::isfinite(*speed)) {
        return std::nullopt;
    }
    SpeedFact fact{*speed, std::nullopt};
    if (facts.Kind == CurveKind::StraightIncline) {
        fact.Acceleration = 0.0;
    } else if (facts.VerticalRadius) {
        fact.Acceleration = AccelerationOnRadius(*speed, *facts.VerticalRadius);
    }
    return fact;
}

} // namespace

CurveFacts ComputeCurveFacts(const ProfileState& state, std::optional<double> designSpeed) {
    const double length = state.TrackLength;
    const double t0 = Tan(state.StartGradient);
    const double t1 = Tan(state.EndGradient);
    CurveFacts facts;
    if (!std::isfinite(t0) || !std::isfinite(t1)) {
        return facts; // a gradient of infinity or NaN has no slope
    }
    facts.SteepStart = steepGradient(state.StartGradient, t0);
    facts.SteepEnd = steepGradient(state.EndGradient, t1);
    facts.Kind = t1 < t0 ? CurveKind::Crest : t1 > t0 ? CurveKind::Sag : CurveKind::StraightIncline;
    if (!(length >= 0)) {
        return facts;
    }
    // The same steps as StartRise + CurveRise, so that the rise agrees with the
    // heights in the section table.
    facts.TotalRise = length == 0 ? 0.0 : finiteOrNone(t0 * length + ((t1 - t0) / 2.0) * length);
    if (*facts.Kind != CurveKind::StraightIncline) {
        facts.VerticalRadius = verticalRadius(t0, t1, length);
        facts.Extreme =
            extremeOf(*facts.Kind, t0, t1, length, state.SectionHeight.at(1), facts.TotalRise);
        // DesignLengthForK multiplies back by the same percent.
        facts.KValue = finiteOrNone(length / (std::abs(t1 - t0) * PercentPerSlope));
    }
    facts.AtDesignSpeed = speedFact(facts, designSpeed);
    return facts;
}

} // namespace pendrio
