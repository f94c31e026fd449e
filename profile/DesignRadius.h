// Design from a vertical radius: planners choose the smallest radius their line
// allows (set by design speed and comfort) and derive the curve's length from
// it, rather than choosing the length first.
#pragma once

#include <optional>

namespace pendrio {

// Why a radius, or another way of fixing the curve (DesignWays.h), gives no length.
enum class DesignLengthProblem {
    None,
    NoVerticalCurve,    // equal tangents (or a gradient with no slope): no length bends the line
    RadiusNotUsable,    // zero, negative, infinite or NaN
    BeyondRange,        // the length, or the radius it would give back, is beyond the double range
    ValueNotUsable,     // a K, speed or acceleration that is not positive and finite, or a point
                        // that is not finite
    PointNotAfterStart, // the point lies at or before the start of the stretch
    PointAboveCrestTangent, // on or above a crest's start tangent, which the curve bends away from
    PointBelowSagTangent,   // on or below a sag's start tangent
    PointBeyondEnd,         // every curve through the point ends before it
};

// Length in track units, present exactly when Problem is None; never infinite,
// NaN, zero or subnormal.
struct DesignLength {
    std::optional<double> Length;
    DesignLengthProblem Problem = DesignLengthProblem::None;
};

// The length of stretch whose smallest radius of curvature is `radius` (track
// units, as CurveFacts::VerticalRadius), for the gradients in radians as
// ProfileState holds them. It is the inverse of ComputeCurveFacts's radius, with
// the same formula and the same flattest slope g: R = (1 + g^2)^(3/2) L / |t1 - t0|,
// so the facts of the length give back the radius to a few units in the last
// place. The radius is judged before the gradients: a negative radius is wrong
// whatever the line. Pure; never throws.
DesignLength DesignLengthForRadius(double startGradient, double endGradient, double radius);

} // namespace pendrio
