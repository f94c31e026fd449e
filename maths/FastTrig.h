// Tangent and arc tangent in double-double arithmetic (a value held as the
// unevaluated sum hi + lo of two doubles, about 106 bits), to within 2^-66 of
// the result: the first step of Ziv's strategy behind Transcendental.h, at
// about the cost of the C library's tan and atan. When every value within that
// error of the approximation rounds to one double, that double is the
// correctly rounded result. Fewer than one argument in 5,000 lies too close
// to the point halfway between two doubles to say; it, and any argument
// outside the ranges below, goes on to the binary128 step and, rarer still,
// to SlowTrig.h.
//
// Only IEEE-754 double additions, subtractions, multiplications and
// divisions, in the order written (no fused multiply-add: the engine is built
// with -ffp-contract=off), so the same bits come out wherever doubles are
// SSE2's, on Linux and under MinGW-w64 alike.
#pragma once

#include <array>
#include <optional>

namespace pendrio::detail {

struct DoubleDouble {
    double hi = 0;
    double lo = 0;
};

// |hi + lo - f(x)| <= FastStepError |hi| for every argument the first step
// takes; the bounds worked out beside the code in FastTrig.cpp come to at most
// 2^-67 for atan and 2^-67.2 for tan.
inline constexpr double FastStepError = 0x1p-66;

// The arguments the first step takes, by magnitude. Below 2^-300 the cube of
// the argument, which the polynomials need, would leave the range of normal
// doubles; beyond 2^16 radians the reduction by pi/2 below would need more
// than 36-bit parts of pi/2; beyond 2^300 the same holds for 1/slope. Neither
// comes up in a calculation: they go straight to the binary128 step.
inline constexpr double FastStepSmallest = 0x1p-300;
inline constexpr double FastTanLargest = 0x1p16;
inline constexpr double FastAtanLargest = 0x1p300;

// tan(radians) and atan(slope) as hi + lo, with |lo| <= 2^-50 |hi|; none
// outside the ranges above (NaN and the infinities included).
std::optional<DoubleDouble> FastTanApproximation(double radians);
std::optional<DoubleDouble> FastAtanApproximation(double slope);

// The rounding test: the double nearest to every value within FastStepError
// of the approximation, when that is one double; none otherwise.
std::optional<double> NearestIfDecided(DoubleDouble approximation);

// Tan and Atan correctly rounded, or none where the first step cannot decide.
std::optional<double> FastTan(double radians);
std::optional<double> FastAtan(double slope);

// The constants, held to MPFR by tests/maths/TranscendentalTest.cpp.
// tan(j/128) for j = 0..101 and atan(i/128) for i = 0..128, each as the
// double nearest to it and the double nearest to what that leaves.
extern const std::array<DoubleDouble, 102> TanOfSteps;
extern const std::array<DoubleDouble, 129> AtanOfSteps;
// pi/2 in four parts: the first three of at most 36 significant bits each,
// so that k times each is exact for any whole k below 2^17, the last the
// double nearest to what they leave; together within 2^-168 of pi/2.
extern const std::array<double, 4> HalfPiChunks;

} // namespace pendrio::detail
