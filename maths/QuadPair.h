// Arithmetic on unevaluated sums of two binary128 numbers (hi + lo, with |lo|
// at most half an ulp of hi): about 226 bits, for the rare arguments whose
// tangent or arc tangent lies so close to the middle between two doubles that
// one binary128 result cannot tell which way to round. Only the engine's own
// sources include this; it needs GCC's or clang's __float128 and GCC's
// libquadmath, on Linux and MinGW-w64 alike.
#pragma once

#include <cmath>
#include <limits>

namespace pendrio::detail {

__extension__ typedef __float128 Quad;

// From libquadmath, declared here rather than through <quadmath.h>, which
// lives among GCC's private headers where clang does not look.
extern "C" {
Quad tanq(Quad) noexcept;
Quad atanq(Quad) noexcept;
Quad sqrtq(Quad) noexcept;
}

inline Quad Magnitude(Quad x) {
    return x < 0 ? -x : x;
}

struct QuadPair {
    Quad hi = 0;
    Quad lo = 0;
};

// a + b = s + e exactly (Knuth), whatever their sizes.
inline QuadPair TwoSum(Quad a, Quad b) {
    const Quad s = a + b;
    const Quad bVirtual = s - a;
    return {s, (a - (s - bVirtual)) + (b - bVirtual)};
}

// a + b = s + e exactly, when |a| >= |b| (Dekker).
inline QuadPair FastTwoSum(Quad a, Quad b) {
    const Quad s = a + b;
    return {s, b - (s - a)};
}

// a = high + low with at most 56 significant bits in each (Veltkamp), so that
// the product of two halves is exact in 113 bits.
inline QuadPair Split(Quad a) {
    const Quad splitter = static_cast<Quad>(0x1p57) + 1;
    const Quad c = a * splitter;
    const Quad high = c - (c - a);
    return {high, a - high};
}

// a * b = p + e exactly (Dekker), barring underflow far below the doubles.
inline QuadPair TwoProduct(Quad a, Quad b) {
    const Quad p = a * b;
    const QuadPair x = Split(a);
    const QuadPair y = Split(b);
    const Quad e = (((x.hi * y.hi - p) + x.hi * y.lo) + x.lo * y.hi) + x.lo * y.lo;
    return {p, e};
}

inline QuadPair operator-(QuadPair a) {
    return {-a.hi, -a.lo};
}

inline QuadPair operator+(QuadPair a, QuadPair b) {
    QuadPair sum = TwoSum(a.hi, b.hi);
    const QuadPair lows = TwoSum(a.lo, b.lo);
    sum = FastTwoSum(sum.hi, sum.lo + lows.hi);
    return FastTwoSum(sum.hi, sum.lo + lows.lo);
}

inline QuadPair operator-(QuadPair a, QuadPair b) {
    return a + -b;
}

inline QuadPair operator*(QuadPair a, QuadPair b) {
    const QuadPair p = TwoProduct(a.hi, b.hi);
    return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Long division, three quotient digits of 113 bits each.
inline QuadPair operator/(QuadPair a, QuadPair b) {
    const Quad q1 = a.hi / b.hi;
    QuadPair rest = a - b * QuadPair{q1, 0};
    const Quad q2 = rest.hi / b.hi;
    rest = rest - b * QuadPair{q2, 0};
    const Quad q3 = rest.hi / b.hi;
    return FastTwoSum(q1, q2) + QuadPair{q3, 0};
}

// The point halfway between `nearest` (a double nearest to v) and the double
// beyond it on v's side: where rounding to double changes its mind. Exact,
// since two neighbouring doubles and their mean fit in 113 bits.
inline Quad HalfwayToward(double nearest, Quad v) {
    const double infinity = std::numeric_limits<double>::infinity();
    const double beyond = std::nextafter(nearest, v > nearest ? infinity : -infinity);
    return (static_cast<Quad>(nearest) + beyond) / 2;
}

} // namespace pendrio::detail
