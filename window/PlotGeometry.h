// The arithmetic behind the profile plot, free of any widget: readable tick
// steps, the vertical exaggeration that makes a gentle curve visible, and the
// height and gradient at any distance along a calculated profile.
#pragma once

#include "profile/ProfileState.h"

#include <vector>

namespace pendrio {

// The smallest step of the form 1, 2 or 5 times a power of ten that cuts
// `span` into at most `maxSteps` steps; 0 when span is not positive and finite.
double TickStep(double span, int maxSteps);

// The multiples of `step` within [low, high], at most 200 of them.
std::vector<double> TickValues(double low, double high, double step);

// The largest number of the form 1, 2 or 5 times a power of ten that is not
// above `value`; 1 for a value that is not positive and finite.
double NiceAtMost(double value);

// How many times the heights are drawn larger than the distances so that a
// curve rising by `heightSpan` over `length` fills about two thirds of a plot
// area of `width` x `height` pixels. A 1-2-5 number; 1 for a level profile or
// anything not finite.
double VerticalExaggeration(double length, double heightSpan, double width, double height);

// What the profile is at one distance from the start of the stretch: the
// section it lies in, the height and the gradient (radians), each from that
// section's own parabola. Distances outside the stretch are taken at its ends.
struct ProfilePoint {
    int section = 1;
    double distance = 0;
    double height = 0;
    double gradient = 0;
};
ProfilePoint ProfilePointAt(const ProfileState& profile, double distance);

// The height at t (0 at the section's start, 1 at its end) on section i's own
// parabola: height at start + 1st order coefficient t + 2nd order coefficient t².
double SectionHeightAt(const ProfileState& profile, int section, double t);

// Distance from the start of the stretch to the start of `section` (1..N+1).
double SectionStart(const ProfileState& profile, int section);

} // namespace pendrio
