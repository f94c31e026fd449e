#include "Transcendental.h"

#include "FastTrig.h"
#include "QuadPair.h"
#include "SlowTrig.h"

#include <cmath>
#include <limits>
#include <optional>

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

// Ziv's strategy, after the first step (FastTrig.h) could not decide: round
// the binary128 result when that is safe, otherwise work the argument out
// again to about 2^-210 (SlowTrig.h).
//
// Why 2^-210 is enough: a result y can come out misrounded only where the
// error of its approximation reaches past the point halfway between two
// doubles, so what matters is how close the exact tan or atan of a double
// can come to such a point. The searches for the hardest cases (Lefevre and
// Muller; the worst of them are in tests/data/trig/hard-cases.txt) found at
// most 78 identical bits after the round bit, that is, no result nearer than
// about 2^-(53 + 1 + 78) |y| = 2^-132 |y| to one. Counting chances, each
// double comes within 2^-(54 + m) |y| of one with a probability of about
// 2^-m, so none of the 2^64 doubles is expected much beyond m = 64 either.
// An error of 2^-210 |y| leaves a factor of 2^78 on the worst case known.
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
    if (const std::optional<double> fast = detail::FastTan(radians)) {
        return *fast;
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
    if (const std::optional<double> fast = detail::FastAtan(slope)) {
        return *fast;
    }
    return RoundedOrSlow(detail::atanq(slope), slope, detail::SlowAtan);
}

} // namespace pendrio
