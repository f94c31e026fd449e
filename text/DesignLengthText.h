// The answer to a way of designing the curve, for the line under its boxes:
// the length, or why no curve meets the request, in words for the user.
#pragma once

#include "profile/DesignRadius.h"
#include "text/Outcome.h"

namespace pendrio {

// The length in track units, or the translated reason there is none
// ("no length: the point is on or above the crest's start tangent").
Outcome<double> DesignLengthOutcome(const DesignLength& design);

} // namespace pendrio
