// The few numbers a planner checks on a vertical transition curve before
// accepting it, derived from the same inputs as CalculateProfile.
#pragma once

#include "ProfileState.h"

#include <optional>

namespace pendrio {

// Whether the stretch bends over a hill or through a hollow. The slope changes
// linearly along the stretch, so its direction of change is that of the tangents.
enum class CurveKind {
    StraightIncline, // both tangents equal: no vertical curve at all
    Crest,           // slope falling, tan(end) < tan(start)
    Sag,             // slope rising, tan(end) > tan(start)
};

// Where the high point of a crest, or the low point of a sag, lies.
enum class ExtremePlace {
    AtStart,
    Inside, // where the slope passes through zero
    AtEnd,
};

// Lengths and heights in track units. A missing value is beyond the double range.
struct CurveExtreme {
    ExtremePlace Place = ExtremePlace::AtStart;
    std::optional<double> Distance;   // from the start along the stretch
    std::optional<double> AboveStart; // height over the start: >= 0 on a crest, <= 0 in a sag
    std::optional<double> Height;     // absolute height, as in SectionHeight
};

// A gradient of 90 degrees or more either way, which the calculation took, as
// every gradient, through its tangent: it acted as the gradient within
// (-90, 90) degrees of the same tangent (135 as -45). Radians.
struct SteepGradient {
    double Given = 0;
    double ActsAs = 0;
};

// The vertical acceleration a train at the design speed feels on the smallest
// radius, the figure a comfort rule bounds: 0 on a straight incline.
struct SpeedFact {
    double Speed = 0;                   // km/h
    std::optional<double> Acceleration; // m/s^2
};

// Every fact is on its own: no value means beyond range, and no value is ever
// infinite or NaN.
struct CurveFacts {
    std::optional<CurveKind> Kind;
    // The smallest radius of curvature on the stretch, in track units. None on
    // a straight incline, whose radius is infinite.
    std::optional<double> VerticalRadius;
    // Only on a crest (high point) or a sag (low point).
    std::optional<CurveExtreme> Extreme;
    // Height at the end minus height at the start, in track units.
    std::optional<double> TotalRise;
    // K: the length per 1 % change of gradient, in track units, as
    // DesignLengthForK takes it. None on a straight incline.
    std::optional<double> KValue;
    // Only when ComputeCurveFacts is given a design speed.
    std::optional<SpeedFact> AtDesignSpeed;
    // Only for a gradient of 90 degrees or more in magnitude.
    std::optional<SteepGradient> SteepStart;
    std::optional<SteepGradient> SteepEnd;
};

// Reads TrackLength, StartGradient, EndGradient and SectionHeight.at(1); the
// gradients enter only through their tangents, so any double is accepted.
//
// A zero length is a kink, not a curve: the kind still follows the tangents, the
// radius is beyond range (the curvature is infinite), the total rise is 0 and the
// extreme of a crest or sag lies at the start. A negative or NaN length describes
// no stretch: the kind alone is given, and the steep gradients. `designSpeed`
// (km/h, positive and finite) adds the vertical acceleration at that speed.
// Pure; never throws.
CurveFacts ComputeCurveFacts(const ProfileState& state,
                             std::optional<double> designSpeed = std::nullopt);

} // namespace pendrio
