// Tangent and arc tangent to about 2^-210, for the arguments where binary128
// cannot decide the rounding: the second step of Ziv's strategy behind
// Transcendental.h. Hundreds of times slower than the first step, and needed
// for about one argument in 2^50.
#pragma once

#include <array>
#include <cstdint>

namespace pendrio::detail {

// Both rounded correctly to the nearest double, for every finite nonzero argument.
double SlowTan(double radians);
double SlowAtan(double slope);

// The first 1536 bits of 2/pi, most significant first. Reducing the largest
// double (just below 2^1024) modulo pi/2 reads words 14 to 21, the first
// 1408 bits; the last two words, 128 bits, are to spare.
extern const std::array<std::uint64_t, 24> TwoOverPiBits;

// pi/2 as an unevaluated sum of five doubles, about 270 bits.
extern const std::array<double, 5> HalfPiParts;

} // namespace pendrio::detail
