#include "DesignRadius.h"

#include "RadiusStretch.h"
#include "maths/Transcendental.h"

#include <cmath>

namespace pendrio {

DesignLength DesignLengthForRadius(double startGradient, double endGradient, double radius) {
    if (!(radius > 0) || !std::isfinite(radius)) {
        return {std::nullopt, DesignLengthProblem::RadiusNotUsable};
    }
    // The tangents as the facts take them, so that both see the same slopes.
    const double t0 = Tan(startGradient);
    const double t1 = Tan(endGradient);
    if (!std::isfinite(t0) || !std::isfinite(t1) || t0 == t1) {
        return {std::nullopt, DesignLengthProblem::NoVerticalCurve};
    }
    // The facts compute stretch * (L / change); undo it step by step in reverse.
    // A subnormal quotient would have lost the radius's digits on the way, and
    // at the top of the range the rounding of L could tip the facts' radius
    // over, so both count as beyond range, as does a length that is.
    const double stretch = RadiusStretch(t0, t1);
    const double change = std::abs(t1 - t0);
    const double perChange = radius / stretch;
    const double length = perChange * change;
    if (!std::isnormal(perChange) || !std::isnormal(length) ||
        !std::isfinite(stretch * (length / change))) {
        return {std::nullopt, DesignLengthProblem::BeyondRange};
    }
    return {length, DesignLengthProblem::None};
}

} // namespace pendrio
