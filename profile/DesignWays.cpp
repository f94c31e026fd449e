#include "DesignWays.h"

#include "ProfileState.h"
#include "maths/Transcendental.h"

#include <cmath>

namespace pendrio {

namespace {

bool positiveNumber(double value) {
    return value > 0 && std::isfinite(value);
}

DesignLength refused(DesignLengthProblem problem) {
    return {std::nullopt, problem};
}

// A point at the very end of the curve gives L = s in exact arithmetic; the
// roundings on the way may leave L a few units in the last place short of s,
// and such a point is taken at the end rather than refused as beyond it.
constexpr double EndPointSlack = 1 - 0x1p-50;

// How far below a designed radius the facts' radius may lie (a few units in
// the last place, DesignRadius.h), with room to spare.
constexpr double FactsRadiusSlack = 1 - 0x1p-46;

} // namespace

DesignLength DesignLengthForK(double startGradient, double endGradient, double k) {
    if (!positiveNumber(k)) {
        return refused(DesignLengthProblem::ValueNotUsable);
    }
    const double t0 = Tan(startGradient);
    const double t1 = Tan(endGradient);
    if (!std::isfinite(t0) || !std::isfinite(t1) || t0 == t1) {
        return refused(DesignLengthProblem::NoVerticalCurve);
    }
    // The facts compute L / (|t1 - t0| * 100); undo the last step. A
    // subnormal change would have lost digits already.
    const double percent = std::abs(t1 - t0) * PercentPerSlope;
    const double length = k * percent;
    if (!std::isnormal(percent) || !std::isnormal(length) || !std::isfinite(length / percent)) {
        return refused(DesignLengthProblem::BeyondRange);
    }
    return {length, DesignLengthProblem::None};
}

std::optional<double> RadiusForSpeed(double speed, double acceleration) {
    if (!positiveNumber(speed) || !positiveNumber(acceleration)) {
        return std::nullopt;
    }
    const double metresPerSecond = speed / KilometresPerHourPerMetrePerSecond;
    const double metres = (metresPerSecond * metresPerSecond) / acceleration;
    const double radius = metres * UnitsPerMetre;
    // The facts give the acceleration back from their radius, a few units in
    // the last place from this one: where that could overflow, or where the
    // radius in metres has already lost digits as a subnormal, the radius is
    // as good as beyond range.
    if (!std::isnormal(metres) || !std::isnormal(radius) ||
        !AccelerationOnRadius(speed, radius * FactsRadiusSlack)) {
        return std::nullopt;
    }
    return radius;
}

// The steps of RadiusForSpeed read backwards: R back to metres, then v^2 / R.
std::optional<double> AccelerationOnRadius(double speed, double radius) {
    const double metresPerSecond = speed / KilometresPerHourPerMetrePerSecond;
    const double acceleration = (metresPerSecond * metresPerSecond) / (radius / UnitsPerMetre);
    if (!std::isfinite(acceleration)) {
        return std::nullopt;
    }
    return acceleration;
}

DesignLength DesignLengthForSpeed(double startGradient, double endGradient, double speed,
                                  double acceleration) {
    if (!positiveNumber(speed) || !positiveNumber(acceleration)) {
        return refused(DesignLengthProblem::ValueNotUsable);
    }
    const std::optional<double> radius = RadiusForSpeed(speed, acceleration);
    if (!radius) {
        return refused(DesignLengthProblem::BeyondRange);
    }
    return DesignLengthForRadius(startGradient, endGradient, *radius);
}

DesignLength DesignLengthThroughPoint(double startGradient, double endGradient, double startHeight,
                                      double distance, double height) {
    if (!std::isfinite(startHeight) || !std::isfinite(distance) || !std::isfinite(height)) {
        return refused(DesignLengthProblem::ValueNotUsable);
    }
    const double t0 = Tan(startGradient);
    const double t1 = Tan(endGradient);
    if (!std::isfinite(t0) || !std::isfinite(t1) || t0 == t1) {
        return refused(DesignLengthProblem::NoVerticalCurve);
    }
    if (!(distance > 0)) {
        return refused(DesignLengthProblem::PointNotAfterStart);
    }
    // How far the point lies off the start tangent; the curve leaves the
    // tangent towards the bend, down on a crest and up in a sag, and the
    // longer it is the closer it keeps to the tangent, so only a point on the
    // bend's side has a length, and one on the tangent would need an endless one.
    const double change = t1 - t0;
    const double offset = (height - startHeight) - t0 * distance;
    if (!std::isfinite(offset) || !std::isfinite(change)) {
        return refused(DesignLengthProblem::BeyondRange);
    }
    if (change < 0 && !(offset < 0)) {
        return refused(DesignLengthProblem::PointAboveCrestTangent);
    }
    if (change > 0 && !(offset > 0)) {
        return refused(DesignLengthProblem::PointBelowSagTangent);
    }
    // L = (t1 - t0) s^2 / (2 offset), as (t1 - t0) / 2 * s * (s / offset): s
    // over the offset first keeps a long, gentle curve from overflowing in s^2.
    double length = ((change / 2.0) * distance) * (distance / offset);
    if (length < distance && length >= distance * EndPointSlack) {
        length = distance;
    }
    if (length < distance) {
        return refused(DesignLengthProblem::PointBeyondEnd);
    }
    if (!std::isnormal(length)) { // overflowed, or as tiny as a subnormal distance
        return refused(DesignLengthProblem::BeyondRange);
    }
    return {length, DesignLengthProblem::None};
}

} // namespace pendrio
