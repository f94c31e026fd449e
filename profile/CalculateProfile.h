#pragma once

#include "ProfileState.h"

namespace pendrio {

// Fits the parabola to the inputs in `state` and cuts it into SectionCount equal
// sections, filling SectionLength, StartRise, CurveRise and, for sections
// 1..SectionCount, the five per-section tables (SectionStartAngle and
// SectionHeight also get entry SectionCount + 1 where it exists). Entries above
// that keep what they held.
//
// All or nothing: the results are computed aside and stored only when every one
// of them is finite. If any step overflows, divides by zero or is invalid (a
// zero length, gradients too steep for the length, a height beyond the double
// range, a SectionCount outside 1..MaxSections), it returns false and `state`
// is left exactly as it was. Never throws.
[[nodiscard]] bool CalculateProfile(ProfileState& state);

} // namespace pendrio
