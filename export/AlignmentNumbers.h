// What both alignment files hold, worked out once from a calculation, so that
// the IFC and the LandXML file cannot disagree about a number or refuse
// different calculations. Not for the windows: AlignmentFiles.h is.
#pragma once

#include "profile/ProfileState.h"

#include <QByteArray>
#include <QString>

#include "text/Outcome.h"

#include <optional>

namespace pendrio {

// Metres and slopes.
struct AlignmentNumbers {
    double Length = 0;
    double StartChainage = 0;
    double EndChainage = 0;
    double StartHeight = 0;
    double EndHeight = 0; // from the engine's total rise: the height at the end of the last section
    double StartSlope = 0;
    double EndSlope = 0;
    // Where the tangents meet, half way along: what LandXML calls the PVI of the curve.
    double IntersectionHeight = 0;
    // IFC's parabola constant, the radius at the parabola's vertex, signed as
    // IFC turns: positive in a sag (counter-clockwise), negative on a crest.
    // None where the gradients are equal: a constant gradient has no radius.
    std::optional<double> Radius;
};

// The numbers, or the reason (translated) why no file can hold them.
Outcome<AlignmentNumbers> NumbersForAlignment(const ProfileState& profile, double startChainage);

} // namespace pendrio
