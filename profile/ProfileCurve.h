// The calculated curve between the section boundaries: where a section
// starts along the stretch, and the height and gradient at any distance, each
// from the section's own parabola exactly as the result tables give it. Pure
// and total: any ProfileState and any section number are accepted, and
// nothing here throws.
#pragma once

#include "ProfileState.h"

namespace pendrio {

// How many sections a calculation of this profile filled: SectionCount
// within 0..MaxSections, the rows a table of its results has.
int CalculatedSectionCount(const ProfileState& profile);

// Distance from the start of the stretch to the start of `section`
// (1..SectionCount + 1): the same fraction (section - 1) / N of the length
// that the calculation uses for its heights.
double SectionStart(const ProfileState& profile, int section);

// The height at t (0 at the section's start, 1 at its end) on section i's own
// parabola: height at start + 1st order coefficient t + 2nd order coefficient t².
// NaN for a section outside 1..MaxSections, which has no parabola.
double SectionHeightAt(const ProfileState& profile, int section, double t);

// Where one distance from the start of the stretch lies on the curve: the
// section it lies in, and the height and the slope (rise per run) there, each
// from that section's own parabola. Distances outside the stretch are taken
// at its ends.
struct CurvePoint {
    int section = 1;
    double distance = 0;
    double height = 0;
    double slope = 0;
};
CurvePoint CurvePointAt(const ProfileState& profile, double distance);

// The same with the gradient as an angle (radians), the arc tangent of the
// slope, for what shows the gradient in degrees.
struct ProfilePoint : CurvePoint {
    double gradient = 0;
};
ProfilePoint ProfilePointAt(const ProfileState& profile, double distance);

} // namespace pendrio
