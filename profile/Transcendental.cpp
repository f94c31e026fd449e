#include "Transcendental.h"

#include "QuadPair.h"
#include "SlowTrig.h"

#include <cmath>
#include <limits>

namespace pendrio {

namespace {

using detail::Magnitude;
using detail::Quad;

// libquadmath's tanq and atanq (from glibc's binary128 code) stay within
// about one ulp of 113 bits, 2^-112, over the whole range; 2^-104 leaves a
// factor of 256 to spare. A result farther than that from the point halfway
// between two doubles rounds the same way as the exact value would.
const Quad QuadResultError = static_cast<Quad>(0x1p-104);

// The double nearest to pi/2, which atan approaches but never reaches.
constexpr double RoundedHalfPi = 0x1.921fb54442d18p+0;

// Ziv's strategy: round the binary128 result when that is safe, otherwise
// work the argument out again to about 2^-210.
double RoundedOrSlow(Quad approximation, double argument, double (*slow)(double)) {
    const double nearest = static_cast<double>(approximation);
    const Quad halfway = detail::HalfwayToward(nearest, approximation);
    if (Magnitude(approximation - halfway) > Magnitude(approximation) * QuadResultError) {
        return nearest;
    }
    return slow(argument);
}

} // namespace

double Tan(double radians) {
    if (radians == 0 || std::isnan(radians)) {
        return radians; // keeps the sign of zero
    }
    if (std::isinf(radians)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return RoundedOrSlow(detail::tanq(radians), radians, detail::SlowTan);
}

double Atan(double slope) {
    if (slope == 0 || std::isnan(slope)) {
        return slope;
    }
    if (std::isinf(slope)) {
        return std::copysign(RoundedHalfPi, slope);
    }
    return RoundedOrSlow(detail::atanq(slope), slope, detail::SlowAtan);
}

} // namespace pendrio
