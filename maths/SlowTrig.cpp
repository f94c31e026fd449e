#include "SlowTrig.h"

#include "QuadPair.h"

#include <cmath>

namespace pendrio::detail {

const std::array<std::uint64_t, 24> TwoOverPiBits = {
    0xa2f9836e4e441529, 0xfc2757d1f534ddc0, 0xdb6295993c439041, 0xfe5163abdebbc561,
    0xb7246e3a424dd2e0, 0x06492eea09d1921c, 0xfe1deb1cb129a73e, 0xe88235f52ebb4484,
    0xe99c7026b45f7e41, 0x3991d639835339f4, 0x9c845f8bbdf9283b, 0x1ff897ffde05980f,
    0xef2f118b5a0a6d1f, 0x6d367ecf27cb09b7, 0x4f463f669e5fea2d, 0x7527bac7ebe5f17b,
    0x3d0739f78a5292ea, 0x6bfb5fb11f8d5d08, 0x56033046fc7b6bab, 0xf0cfbc209af4361d,
    0xa9e391615ee61b08, 0x6599855f14a06840, 0x8dffd8804d732731, 0x06061556ca73a8c9,
};

const std::array<double, 5> HalfPiParts = {
    0x1.921fb54442d18p+0,   0x1.1a62633145c07p-54,  -0x1.f1976b7ed8fbcp-110,
    0x1.4cf98e804177dp-164, 0x1.31d89cd9128a5p-218,
};

namespace {

__extension__ typedef unsigned __int128 Wide;

// Words after the binary point kept when reducing by pi/2: the bits of 2/pi
// beyond them change the reduced angle by less than 2^-330 of a quadrant,
// against the 2^-62 that no double comes closer to a multiple of pi/2.
constexpr int FractionWords = 7;
using Words = std::array<std::uint64_t, FractionWords + 3>; // least significant first

// The largest double is m 2^971; ReduceByHalfPi reads the words of 2/pi up to
// 971 / 64 - 1 + FractionWords (21), which the table must hold.
static_assert(971 / 64 - 1 + FractionWords < std::tuple_size_v<decltype(TwoOverPiBits)>);

// Enough terms for the series below to stop changing the sum at 2^-230.
constexpr int TrigTerms = 26;   // |r| <= pi/4: r^52/52! < 2^-230
constexpr int AtanHalvings = 4; // leaves |z| <= tan(pi/64) < 0.05
constexpr int AtanTerms = 28;   // z^56/57 < 2^-240

QuadPair Pair(Quad value) {
    return {value, 0};
}

QuadPair HalfPi() {
    QuadPair sum;
    for (int i = static_cast<int>(HalfPiParts.size()) - 1; i >= 0; --i) {
        sum = sum + Pair(HalfPiParts[i]);
    }
    return sum;
}

// The double nearest to hi + lo. Only when hi lies exactly halfway between two
// doubles can lo change the rounding of hi alone: |lo| is far below the gap
// between hi and any other halfway point.
double NearestDouble(QuadPair v) {
    const double nearest = static_cast<double>(v.hi);
    const Quad halfway = HalfwayToward(nearest, v.hi);
    if (v.hi != halfway || v.lo == 0) {
        return nearest;
    }
    const bool pastHalfway = (v.lo > 0) == (halfway > nearest);
    return pastHalfway ? static_cast<double>(2 * halfway - nearest) : nearest;
}

// 1 - s/((2n-1+k)(2n+k)) (1 - s/(...) (...)) with s = r^2: the sine's series
// divided by r for k = 1, the cosine's for k = 0, summed from the smallest term.
QuadPair SineCosineSeries(QuadPair square, int k) {
    QuadPair sum = Pair(1);
    for (int n = TrigTerms; n >= 1; --n) {
        const Quad denominator = static_cast<Quad>(2 * n - 1 + k) * (2 * n + k);
        sum = Pair(1) - square * sum / Pair(denominator);
    }
    return sum;
}

// words += a * b * 2^(64 at), dropping what carries beyond the top word.
void AddProductAt(Words& words, int at, std::uint64_t a, std::uint64_t b) {
    Wide carry = static_cast<Wide>(a) * b;
    for (int i = at; carry != 0 && i < static_cast<int>(words.size()); ++i) {
        carry += words[i];
        words[i] = static_cast<std::uint64_t>(carry);
        carry >>= 64;
    }
}

// The value of the words below the binary point, 0.w[6] w[5] ... w[0].
QuadPair FractionValue(const Words& words) {
    Quad scale = 1;
    for (int i = 0; i < FractionWords; ++i) {
        scale *= static_cast<Quad>(0x1p-64);
    }
    QuadPair sum;
    for (int i = 0; i < FractionWords; ++i) {
        sum = sum + Pair(static_cast<Quad>(words[i]) * scale);
        scale *= static_cast<Quad>(0x1p64);
    }
    return sum;
}

// 1 - f for a fraction f >= 1/2 held in the words below the binary point.
void ComplementFraction(Words& words) {
    bool carry = true;
    for (int i = 0; i < FractionWords; ++i) {
        words[i] = ~words[i] + (carry ? 1 : 0);
        carry = carry && words[i] == 0;
    }
}

struct Reduced {
    QuadPair angle;   // |angle| <= pi/4
    bool oddQuadrant; // whether an odd multiple of pi/2 was taken away
};

// a = angle + q pi/2 (Payne and Hanek). With a = m 2^e, a (2/pi) is m times
// the bits of 2/pi shifted by e; the bits that land two places or more above
// the binary point only add multiples of 2, which change neither tan nor the
// parity of q, so 8 words of 2/pi from the right place are all that matter.
Reduced ReduceByHalfPi(double a) {
    int exponent = 0;
    const double mantissa = std::frexp(a, &exponent);
    const auto m = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const int e = exponent - 53; // a = m 2^e; e >= -53 for a >= 1/2
    const int word = e >= 0 ? e / 64 : -1;
    const Wide scaled = static_cast<Wide>(m) << (e - 64 * word);
    Words product{};
    for (int j = 0; j <= FractionWords; ++j) {
        const int k = word - 1 + FractionWords - j; // word k of 2/pi meets 2^(64 j)
        const std::uint64_t bits = k >= 0 ? TwoOverPiBits[k] : 0;
        AddProductAt(product, j, static_cast<std::uint64_t>(scaled), bits);
        AddProductAt(product, j + 1, static_cast<std::uint64_t>(scaled >> 64), bits);
    }
    bool odd = (product[FractionWords] & 1) != 0;
    const bool pastHalf = (product[FractionWords - 1] >> 63) != 0; // round q up
    if (pastHalf) {
        odd = !odd;
        ComplementFraction(product);
    }
    const QuadPair angle = FractionValue(product) * HalfPi();
    return {pastHalf ? -angle : angle, odd};
}

QuadPair SquareRoot(QuadPair v) {
    const Quad root = sqrtq(v.hi);
    const Quad correction = (v - TwoProduct(root, root)).hi / (2 * root);
    return FastTwoSum(root, correction);
}

// atan(z) = 2 atan(z / (1 + sqrt(1 + z^2)))
QuadPair HalveAtanArgument(QuadPair z) {
    return z / (Pair(1) + SquareRoot(Pair(1) + z * z));
}

// atan(z) = z (1 - z^2/3 + z^4/5 - ...), summed from the smallest term.
QuadPair AtanSeries(QuadPair z) {
    const QuadPair square = z * z;
    QuadPair sum = Pair(1) / Pair(2 * AtanTerms + 1);
    for (int n = AtanTerms - 1; n >= 0; --n) {
        sum = Pair(1) / Pair(2 * n + 1) - square * sum;
    }
    return z * sum;
}

} // namespace

double SlowTan(double radians) {
    const double a = std::fabs(radians);
    const Reduced reduced = a < 0.78 ? Reduced{Pair(a), false} : ReduceByHalfPi(a);
    const QuadPair square = reduced.angle * reduced.angle;
    const QuadPair sine = reduced.angle * SineCosineSeries(square, 1);
    const QuadPair cosine = SineCosineSeries(square, 0);
    // tan(r + pi/2) = -cos(r)/sin(r)
    const QuadPair tangent = reduced.oddQuadrant ? -(cosine / sine) : sine / cosine;
    const double rounded = NearestDouble(tangent);
    return radians < 0 ? -rounded : rounded;
}

double SlowAtan(double slope) {
    const double a = std::fabs(slope);
    const bool inverted = a > 1; // atan(a) = pi/2 - atan(1/a)
    QuadPair z = inverted ? Pair(1) / Pair(a) : Pair(a);
    for (int i = 0; i < AtanHalvings; ++i) {
        z = HalveAtanArgument(z);
    }
    QuadPair angle = AtanSeries(z) * Pair(1 << AtanHalvings);
    if (inverted) {
        angle = HalfPi() - angle;
    }
    const double rounded = NearestDouble(angle);
    return slope < 0 ? -rounded : rounded;
}

} // namespace pendrio::detail
