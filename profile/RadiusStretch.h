// The one place where the engine decides how much a parabola's smallest radius
// of curvature exceeds 1/|h''|. The curve facts and the design from a radius both
// read it, so that a length designed for a radius gives back that radius to the
// last bits. Not installed: an implementation detail of the engine.
#pragma once

#include <algorithm>
#include <cmath>

namespace pendrio {

// The curvature of h is |h''| / (1 + h'^2)^(3/2); h'' = (t1 - t0) / L is the same
// all along the parabola, so the curve is sharpest where the slope is flattest:
// level, if the slope changes sign on the stretch, else at the flatter end. Gives
// (1 + g^2)^(3/2) for that flattest slope g, from the tangents t0 and t1 of the
// end gradients; infinite if g^2 is beyond the double range.
inline double RadiusStretch(double t0, double t1) {
    const double flattest = (t0 < 0) != (t1 < 0) ? 0.0 : std::min(std::abs(t0), std::abs(t1));
    const double stretch = 1 + flattest * flattest;
    return stretch * std::sqrt(stretch);
}

} // namespace pendrio
