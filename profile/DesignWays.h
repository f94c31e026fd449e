// The other ways a planner fixes a vertical curve's length, besides its
// smallest radius (DesignRadius.h): a K value, a design speed with the vertical
// acceleration a passenger may feel, or a point the curve must pass through (a
// clearance under a bridge, the height of a level crossing). Each gives a
// DesignLength in track units, or the reason none exists, for the gradients in
// radians as ProfileState holds them; each enters them only through Tan, as the
// calculation does. Pure; never throws.
#pragma once

#include "DesignRadius.h"

#include <optional>

namespace pendrio {

// The slope change a K value is counted in: K is the length per 1 % of it.
inline constexpr double PercentPerSlope = 100.0;

// Kilometres per hour in metres per second: divide by this.
inline constexpr double KilometresPerHourPerMetrePerSecond = 3.6;

// The length whose K (track units per 1 % change of gradient, as
// CurveFacts::KValue) is `k`: L = K * |t1 - t0| * 100, the inverse of the
// facts' K step by step, so that the facts of the length give K back to the
// last bit or two.
DesignLength DesignLengthForK(double startGradient, double endGradient, double k);

// The smallest vertical radius, in track units, on which a train at `speed`
// (km/h) feels `acceleration` (m/s^2): R = v^2 / a with v in m/s. None for a
// speed or acceleration that is not positive and finite, or a radius beyond
// the double range.
std::optional<double> RadiusForSpeed(double speed, double acceleration);

// The vertical acceleration (m/s^2) at `speed` (km/h) on a radius of `radius`
// track units: v^2 / R, the inverse of RadiusForSpeed. None where it is not a
// finite number (a radius of 0, say).
std::optional<double> AccelerationOnRadius(double speed, double radius);

// The length whose smallest radius is RadiusForSpeed(speed, acceleration), by
// DesignLengthForRadius: the radius the rule bounds is the smallest along the
// curve, not only at its middle.
DesignLength DesignLengthForSpeed(double startGradient, double endGradient, double speed,
                                  double acceleration);

// The length whose parabola passes through the point `distance` along the
// stretch from its start at `height`, the stretch starting at `startHeight`
// (all in track units). With t0, t1 the tangents, the curve's height is
// H0 + t0 s + (t1 - t0) s^2 / (2 L), so L = (t1 - t0) s^2 / (2 (h - H0 - t0 s)).
// None where no length reaches the point: at or before the start, on or beyond
// the start tangent away from the bend (above it on a crest, below it in a
// sag), or past the end of every curve through it (L < s).
DesignLength DesignLengthThroughPoint(double startGradient, double endGradient, double startHeight,
                                      double distance, double height);

} // namespace pendrio
