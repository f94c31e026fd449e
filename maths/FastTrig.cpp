#include "FastTrig.h"

#include <cmath>
#include <limits>

// Error bounds are relative unless they say otherwise, and u = 2^-53 is what
// one rounding to nearest may cost a double. The arguments are at least
// 2^-300, so their cubes and every value whose precision counts stay normal;
// only the difference of a reduced angle from a step of the table can be
// smaller still, and then the result is at least tan(1/128) and losing that
// difference's odd terms entirely would cost less than 2^-900 of it.

namespace pendrio::detail {

namespace {

// The steps below are small and run on every call, so they are inlined:
// calls would cost the step a good part of its time, passing double-doubles
// through memory. Inlining changes no bits, since nothing is contracted or
// reordered.

// a + b = hi + lo exactly (Knuth), whatever their sizes.
[[gnu::always_inline]] inline DoubleDouble TwoSum(double a, double b) {
    const double s = a + b;
    const double bVirtual = s - a;
    return {s, (a - (s - bVirtual)) + (b - bVirtual)};
}

// a + b = hi + lo exactly (Dekker), when a is 0 or its exponent is at least b's.
[[gnu::always_inline]] inline DoubleDouble FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a = hi + lo with at most 26 significant bits in each (Veltkamp), so that
// the product of two halves is exact; |a| < 2^995 keeps a * 2^27 finite.
[[gnu::always_inline]] inline DoubleDouble Split(double a) {
    const double c = a * (0x1p27 + 1);
    const double high = c - (c - a);
    return {high, a - high};
}

// a * b = hi + lo exactly (Dekker), while |a * b| stays above 2^-969.
[[gnu::always_inline]] inline DoubleDouble TwoProduct(double a, double b) {
    const double p = a * b;
    const DoubleDouble x = Split(a);
    const DoubleDouble y = Split(b);
    return {p, (((x.hi * y.hi - p) + x.hi * y.lo) + x.lo * y.hi) + x.lo * y.lo};
}

// n / d to within 2^-100 as q + c, |c| <= 2^-51 |q| (not normalized: the
// callers either round q + c at once or normalize it), for |n.lo| <= 2^-52
// |n.hi| and |d.lo| <= 2^-52 |d.hi|, or n.lo = 0. One division: the
// reciprocal of d.hi, within u, then multiplied; it can start as soon as d is
// known. The quotient q of the highs is within 2u of n.hi / d.hi, so
// q * d.hi (exactly p + e) lies within 2^-51.9 of n.hi and n.hi - p is exact
// (Sterbenz). The remainder n - q d = ((n.hi - p) - e) + n.lo - q d.lo has
// terms of at most 2^-50.2 |n|, and its three roundings cost 2^-101.6 |n|.
// Taking it times the reciprocal of d.hi instead of over d costs 2^-51 of it:
// 2^-101.2 |n| more. Together under 2^-100 |n / d|.
[[gnu::always_inline]] inline DoubleDouble Divide(DoubleDouble n, DoubleDouble d) {
    const double reciprocal = 1 / d.hi;
    const double q = n.hi * reciprocal;
    const DoubleDouble qd = TwoProduct(q, d.hi);
    const double rest = (((n.hi - qd.hi) - qd.lo) + n.lo) - q * d.lo;
    return {q, rest * reciprocal};
}

// Adding 1.5 * 2^52 leaves only whole numbers, rounded to nearest; taking it
// away again gives the nearest whole number to anything below 2^51 in size.
constexpr double WholeShift = 0x1.8p52;
constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;

// r = a - k pi/2 (Cody and Waite) for 1/2 <= a <= 2^16 and k the whole
// number nearest to a * 2/pi as a * TwoOverPi rounds it (within 2^-36),
// 1 <= k < 2^16, so |r| <= pi/4 + 2^-35.
// - k * HalfPiChunks[0..2] is exact (k < 2^17).
// - a - k * chunk 0 is exact: both are multiples of ulp(a) (k * chunk 0 lies
//   within a factor 2 of a and has at most 52 significant bits), and the
//   difference is below 1 <= 2^53 ulp(a).
// - The two TwoSums are exact. What is left: the rounding of u.lo + s.lo,
//   at most 2^-106 (|u.hi| + |s.hi|) <= 2^-103 |r| (|s.hi| <= |r| + 2^-59),
//   k * chunk 3 and the last subtraction, under 2^-151, and pi/2 - the chunks
//   times k, under 2^-152. No double within 2^16 (nor anywhere, Muller,
//   "Elementary Functions", ch. 11) lies closer than 2^-61 to a multiple of
//   pi/2, so |r| >= 2^-61 and the whole error stays under 2^-88 |r|.
[[gnu::always_inline]] inline DoubleDouble ReduceByHalfPi(double a, double k) {
    const double r1 = a - k * HalfPiChunks[0];
    const DoubleDouble s = TwoSum(r1, -(k * HalfPiChunks[1]));
    const DoubleDouble u = TwoSum(s.hi, -(k * HalfPiChunks[2]));
    const double lo = (u.lo + s.lo) - k * HalfPiChunks[3];
    return FastTwoSum(u.hi, lo);
}

// The index of the step i/128 nearest to x, 0 <= x <= 1 + 2^-7.
[[gnu::always_inline]] inline int NearestStep(double x) {
    return static_cast<int>(x * 128 + 0.5);
}

// 1 + xc, where xc <= 1, as a normalized double-double, to within 2^-105.
[[gnu::always_inline]] inline DoubleDouble OnePlus(DoubleDouble xc) {
    const DoubleDouble sum = FastTwoSum(1, xc.hi);
    return {sum.hi, sum.lo + xc.lo};
}

// t^3 (C3 + C5 t^2 + C7 t^4 + C9 t^6) for |t| <= 2^-8 (1 + 2^-40), in doubles:
// u = t^2, the Horner steps, and the two products make seven roundings. The
// sum is within (1 + 2^-14) of C3, so the steps after the first cost it no
// more than 2^-14 u each: the result is within 4.01u = 2^-51 of
// t^3 P(t^2), which itself is at most 2^-16 |t| / 3 (1 + 2^-14). Absolute
// error: 2^-68.5 |t|. The coefficients, each rounded once (1/3 by 2^-54 of
// itself), add 2^-71.6 |t|.
[[gnu::always_inline]] inline double OddTerms(double t, double c3, double c5, double c7,
                                              double c9) {
    const double square = t * t;
    return t * square * (((c9 * square + c7) * square + c5) * square + c3);
}

// atan(x) for x in [0, 1] (inverted: atan(1/x) for x > 1): the table's
// atan(c), c = i/128, plus atan(t), t = tan(atan(x) - atan(c)), with |t| <=
// |x - c| <= 2^-8 (1 + 2^-40) (x * 128 or 128 / x is rounded to the nearest
// whole number, i, to within 1/2 + 2^-45).
//   t = (x - c) / (1 + x c): x - c is exact (i = 0, or x within [c/2, 2c],
//     Sterbenz), 1 + x c is exact to 2^-105, the division good to 2^-100.
//   t = (1 - x c) / (x + c) for atan(1/x) - atan(c): x c lies in [1/2, 2]
//     for i >= 1, so 1 - x c is exact and, with the low part of x c, a
//     normalized double-double; x + c is exact.
// atan(t) = t - t^3/3 + t^5/5 - t^7/7 + t^9/9, leaving out at most
// |t|^11 / 11 <= 2^-91 |t|. Errors against |t|: OddTerms 2^-68.5 + 2^-71.6;
// t.lo left out of the odd terms, |t.lo| t^2 <= 2^-69; t itself 2^-100.
[[gnu::always_inline]] inline DoubleDouble AtanOfReduced(double x, bool inverted,
                                                         DoubleDouble& table) {
    const int i = inverted ? NearestStep(1 / x) : NearestStep(x);
    const double c = i / 128.0;
    const DoubleDouble xc = TwoProduct(x, c);
    const DoubleDouble quotient = inverted ? Divide(FastTwoSum(1 - xc.hi, -xc.lo), FastTwoSum(x, c))
                                           : Divide({x - c, 0}, OnePlus(xc));
    const DoubleDouble t = FastTwoSum(quotient.hi, quotient.lo);
    table = AtanOfSteps[static_cast<std::size_t>(i)];
    return {t.hi, t.lo + OddTerms(t.hi, -1.0 / 3, 1.0 / 5, -1.0 / 7, 1.0 / 9)};
}

// tan(d) = d + d^3/3 + 2 d^5/15 + 17 d^7/315 + 62 d^9/2835 for |d| <=
// 2^-8 (1 + 2^-30), leaving out less than 0.009 |d|^11 <= 2^-86 |d|. Errors
// against |d|: OddTerms 2^-68.5 + 2^-71.6; d.lo left out of the odd terms,
// |d.lo| d^2 <= 2^-69; the sum d.lo + odd terms, u 2^-17.4 = 2^-70.4. In
// all, 2^-67.42 |d|.
[[gnu::always_inline]] inline DoubleDouble TanOfSmall(DoubleDouble d) {
    return FastTwoSum(d.hi, d.lo + OddTerms(d.hi, 1.0 / 3, 2.0 / 15, 17.0 / 315, 62.0 / 2835));
}

// Where the first step does not take an argument: a NaN, which no rounding
// test decides.
constexpr DoubleDouble NotTaken = {std::numeric_limits<double>::quiet_NaN(), 0};

// The arc tangent's error against its result R = atan(|slope|):
// - |slope| <= 1, R = T + atan(t) with T = atan(c) from the table. The errors
//   of atan(t) above come to 2^-67.6 |t|; the sums below add u (|t.lo| +
//   odd terms) <= 2^-70.4 |t| three times, and 2^-104 max(T, R) for the
//   table (within 2^-106 each) and the roundings of its low parts. Since |t|
//   <= (1 + 2^-12) R and T <= 2R (the worst is i = 1 near 1/256), the total
//   is under 2^-67 R.
// - |slope| > 1, R = pi/2 - T - atan(t) >= pi/4: the same errors, now at most
//   2^-67.6 2^-8 in size, come to under 2^-75 R.
[[gnu::always_inline]] inline DoubleDouble ApproximateAtan(double slope) {
    const double x = std::fabs(slope);
    if (!(x >= FastStepSmallest && x <= FastAtanLargest)) {
        return NotTaken;
    }
    const bool inverted = x > 1; // atan(x) = pi/2 - atan(1/x)
    DoubleDouble table;
    const DoubleDouble t = AtanOfReduced(x, inverted, table);
    DoubleDouble sum;
    if (!inverted) {
        // The table's atan(c) is 0 or at least atan(1/128) > 2^-8 >= |t|.
        const DoubleDouble high = FastTwoSum(table.hi, t.hi);
        sum = FastTwoSum(high.hi, high.lo + (table.lo + t.lo));
    } else {
        // pi/2 to 2^-107: the first two of the parts in SlowTrig.
        const DoubleDouble fromHalfPi = FastTwoSum(0x1.921fb54442d18p+0, -table.hi);
        const DoubleDouble high = FastTwoSum(fromHalfPi.hi, -t.hi);
        const double low = ((0x1.1a62633145c07p-54 - table.lo) - t.lo) + fromHalfPi.lo;
        sum = FastTwoSum(high.hi, high.lo + low);
    }
    return slope < 0 ? DoubleDouble{-sum.hi, -sum.lo} : sum;
}

// The tangent's error against its result y = tan(rho), or cot(rho) in an odd
// quadrant, with rho = |a - k pi/2| = c + d, c = j/128 from the table, |d| <=
// 2^-8 (1 + 2^-30):
// - rho: within 2^-88 (ReduceByHalfPi; exact for k = 0). An error e rho in
//   rho moves tan(rho) and cot(rho) by e 2 rho / sin(2 rho) <= e pi/2 of
//   themselves: 2^-87.
// - tan(d) from TanOfSmall: within 2^-67.42 |d|. It moves y by that times
//   (1 + y^2) / y, and |d| (1 + y^2) / y <= 1 + 2^-13 (the worst is j <= 1,
//   where y is about rho >= |d|): 2^-67.41.
// - T + tan(d), the numerator (the denominator for cot): exact for j = 0,
//   else within u 2^-17.4 |d| + 2^-105 (T + |sum|) of it, and the sum is at
//   least |d|: 2^-70.3.
// - 1 - T tan(d), at least 1 - 2^-7.9: within 2^-100. The table's T: 2^-104.
// - The division: 2^-100.
// In all, under 2^-67.2 y.
[[gnu::always_inline]] inline DoubleDouble ApproximateTan(double radians) {
    const double a = std::fabs(radians);
    if (!(a >= FastStepSmallest && a <= FastTanLargest)) {
        return NotTaken;
    }
    const double k = (a * TwoOverPi + WholeShift) - WholeShift;
    const DoubleDouble r = k == 0 ? DoubleDouble{a, 0} : ReduceByHalfPi(a, k);
    // tan(-r) = -tan(r), and tan(r + pi/2) = -cot(r) = cot(-r).
    const bool odd = static_cast<int>(k) % 2 != 0;
    const bool negative = ((radians < 0) != (r.hi < 0)) != odd;
    const DoubleDouble rho = r.hi < 0 ? DoubleDouble{-r.hi, -r.lo} : r;
    const int j = NearestStep(rho.hi);
    const DoubleDouble table = TanOfSteps[static_cast<std::size_t>(j)];
    // rho.hi - c is exact: j = 0, or rho.hi within [c/2, 2c] (Sterbenz). Both
    // are whole multiples of ulp(rho.hi), so the difference is 0 or at least
    // twice |rho.lo|, as FastTwoSum needs.
    const DoubleDouble tanD = TanOfSmall(FastTwoSum(rho.hi - j / 128.0, rho.lo));
    // tan(c + d) = (T + tan d) / (1 - T tan d)
    // The table's T is 0 or at least tan(1/128) > 2^-8 (1 + 2^-29) >= |tan d|.
    const DoubleDouble high = FastTwoSum(table.hi, tanD.hi);
    const DoubleDouble sum = FastTwoSum(high.hi, high.lo + (table.lo + tanD.lo));
    const DoubleDouble product = TwoProduct(table.hi, tanD.hi);
    const DoubleDouble one = FastTwoSum(1, -product.hi);
    // With tan(d) normalized, the low part stays under 2^-53.9 <= 2^-52 one.hi.
    const DoubleDouble difference = {
        one.hi, one.lo - (product.lo + (table.hi * tanD.lo + table.lo * tanD.hi))};
    const DoubleDouble y = odd ? Divide(difference, sum) : Divide(sum, difference);
    return negative ? DoubleDouble{-y.hi, -y.lo} : y;
}

// The interval hi + lo +- err holds the exact result. Rounding lo -+ err may
// move its ends inwards by half an ulp of lo +- err, at most 2^-103 |hi| for
// |lo| <= 2^-50 |hi|, so err is taken 2^-90 |hi| wider than the bound. When
// both ends round to the same double, so does everything between them
// (rounding to nearest is monotonic), the exact result included.
[[gnu::always_inline]] inline std::optional<double> Decide(DoubleDouble approximation) {
    constexpr double WidenedError = FastStepError + 0x1p-90;
    const double err = std::fabs(approximation.hi) * WidenedError;
    const double below = approximation.hi + (approximation.lo - err);
    const double above = approximation.hi + (approximation.lo + err);
    if (below != above) {
        return std::nullopt;
    }
    return below;
}

std::optional<DoubleDouble> Taken(DoubleDouble approximation) {
    if (std::isnan(approximation.hi)) {
        return std::nullopt;
    }
    return approximation;
}

} // namespace

std::optional<DoubleDouble> FastTanApproximation(double radians) {
    return Taken(ApproximateTan(radians));
}

std::optional<DoubleDouble> FastAtanApproximation(double slope) {
    return Taken(ApproximateAtan(slope));
}

std::optional<double> NearestIfDecided(DoubleDouble approximation) {
    return Decide(approximation);
}

// The hot path, with nothing returned through memory on the way.
std::optional<double> FastTan(double radians) {
    return Decide(ApproximateTan(radians));
}

std::optional<double> FastAtan(double slope) {
    return Decide(ApproximateAtan(slope));
}

} // namespace pendrio::detail
