// Tan, Atan and PowerOfTen against MPFR, which rounds correctly by
// construction: zero misrounded results over more than a million arguments
// across the ranges the program meets, the whole double range and the known
// hardest cases. The slow second step is also held to MPFR on its own, since
// the first step hands it only the rare hard arguments.
#include "profile/Transcendental.h"
#include "profile/PowersOfTen.h"
#include "profile/ProfileState.h"
#include "profile/SlowTrig.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace pendrio;

namespace {

using MpfrFunction = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// MPFR's result rounded to double once, subnormals included: the exponent
// range of doubles, then mpfr_subnormalize.
class Mpfr {
public:
    Mpfr() {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        mpfr_init2(value_, 53);
    }
    ~Mpfr() { mpfr_clear(value_); }
    Mpfr(const Mpfr&) = delete;
    Mpfr& operator=(const Mpfr&) = delete;

    double operator()(MpfrFunction function, double x) {
        mpfr_set_d(value_, x, MPFR_RNDN);
        const int inexact = function(value_, value_, MPFR_RNDN);
        mpfr_subnormalize(value_, inexact, MPFR_RNDN);
        return mpfr_get_d(value_, MPFR_RNDN);
    }
    double powerOfTen(int exponent) {
        mpfr_set_ui(value_, 10, MPFR_RNDN);
        const int inexact = mpfr_pow_si(value_, value_, exponent, MPFR_RNDN);
        mpfr_subnormalize(value_, inexact, MPFR_RNDN);
        return mpfr_get_d(value_, MPFR_RNDN);
    }

private:
    mpfr_t value_;
};

struct Function {
    const char* name;
    double (*ours)(double);
    MpfrFunction mpfr;
};
const Function TanFunction{"tan", Tan, mpfr_tan};
const Function AtanFunction{"atan", Atan, mpfr_atan};

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Counts the misrounded results and names the first few.
int misrounded(const Function& f, double (*ours)(double), const std::vector<double>& arguments) {
    Mpfr mpfr;
    int count = 0;
    for (double x : arguments) {
        const double expected = mpfr(f.mpfr, x);
        const double got = ours(x);
        if (!sameBits(got, expected) && ++count <= 5) {
            ADD_FAILURE() << f.name << "(" << std::hexfloat << x << ") = " << got << ", not "
                          << expected;
        }
    }
    return count;
}

using Generator = std::function<double(std::mt19937_64&)>;

double uniform(std::mt19937_64& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}
double anySign(std::mt19937_64& random, double magnitude) {
    return random() & 1 ? -magnitude : magnitude;
}

// Gradients of ±90° and their neighbours in ulps, as the window converts them.
double gradient(std::mt19937_64& random) {
    return DegreesToRadians(uniform(random, -90, 90));
}
double slope(std::mt19937_64& random) {
    return anySign(random, std::pow(10.0, uniform(random, -300, 300)));
}
double subnormal(std::mt19937_64& random) {
    return std::bit_cast<double>(random() & 0x800fffffffffffffu);
}
double nearHalfPi(std::mt19937_64& random) {
    const double centre = random() & 1 ? DegreesToRadians(90) : detail::HalfPiParts[0];
    const auto offset = static_cast<std::int64_t>(random() % 20001) - 10000;
    return anySign(random, std::bit_cast<double>(std::bit_cast<std::int64_t>(centre) + offset));
}
double anyFinite(std::mt19937_64& random) {
    const double x = std::bit_cast<double>(random());
    return std::isfinite(x) ? x : 1.0;
}

struct Range {
    const char* name;
    const Function& function;
    Generator generate;
    int count;
};

const Range Ranges[] = {
    {"tan_gradients", TanFunction, gradient, 200000},
    {"atan_of_tangents_of_gradients", AtanFunction,
     [](std::mt19937_64& r) { return Tan(gradient(r)); }, 150000},
    {"atan_slopes", AtanFunction, slope, 150000},
    {"tan_slopes_as_angles", TanFunction, slope, 100000},
    {"tan_subnormals", TanFunction, subnormal, 20000},
    {"atan_subnormals", AtanFunction, subnormal, 20000},
    {"tan_near_half_pi", TanFunction, nearHalfPi, 100000},
    {"tan_any_double", TanFunction, anyFinite, 150000},
    {"atan_any_double", AtanFunction, anyFinite, 150000},
};

void PrintTo(const Range& range, std::ostream* out) {
    *out << range.count << " arguments";
}

class RoundsCorrectly : public testing::TestWithParam<Range> {};

TEST_P(RoundsCorrectly, AgreesWithMpfrOnEveryArgument) {
    const Range& range = GetParam();
    std::mt19937_64 random(std::hash<std::string>{}(range.name));
    std::vector<double> arguments(range.count);
    for (double& x : arguments) {
        x = range.generate(random);
    }
    EXPECT_EQ(misrounded(range.function, range.function.ours, arguments), 0);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RoundsCorrectly, testing::ValuesIn(Ranges),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<double> hardCases(const std::string& function) {
    std::ifstream file(PENDRIO_TRIG_HARD_CASES);
    std::vector<double> arguments;
    std::string line, name, hex;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        if (fields >> name >> hex && name == function) {
            const double x = std::strtod(hex.c_str(), nullptr);
            arguments.insert(arguments.end(), {x, -x});
        }
    }
    return arguments;
}

// Both steps: the hard cases are exactly those that the first one hands on.
TEST(RoundsCorrectly, OnTheKnownHardestCases) {
    for (const Function* f : {&TanFunction, &AtanFunction}) {
        SCOPED_TRACE(f->name);
        const std::vector<double> arguments = hardCases(f->name);
        ASSERT_GT(arguments.size(), 100u);
        EXPECT_EQ(misrounded(*f, f->ours, arguments), 0);
        EXPECT_EQ(misrounded(*f, f == &TanFunction ? detail::SlowTan : detail::SlowAtan, arguments),
                  0);
    }
}

// The slow step alone, over the same ranges as above but fewer arguments.
TEST(RoundsCorrectly, SlowStepOnItsOwn) {
    for (const Range& range : Ranges) {
        SCOPED_TRACE(range.name);
        std::mt19937_64 random(7);
        std::vector<double> arguments(1500);
        for (double& x : arguments) {
            x = range.generate(random);
        }
        const Function& f = range.function;
        EXPECT_EQ(misrounded(f, &f == &TanFunction ? detail::SlowTan : detail::SlowAtan, arguments),
                  0);
    }
}

TEST(RoundsCorrectly, SpecialValues) {
    const double inf = INFINITY;
    EXPECT_TRUE(sameBits(Tan(-0.0), -0.0));
    EXPECT_TRUE(sameBits(Atan(-0.0), -0.0));
    EXPECT_TRUE(std::isnan(Tan(inf)) && std::isnan(Tan(-inf)) && std::isnan(Tan(NAN)));
    EXPECT_TRUE(std::isnan(Atan(NAN)));
    EXPECT_EQ(Atan(inf), 0x1.921fb54442d18p+0);
    EXPECT_EQ(Atan(-inf), -0x1.921fb54442d18p+0);
}

TEST(PowerOfTen, IsTheNearestDoubleForEveryExponent) {
    Mpfr mpfr;
    for (int exponent = -400; exponent <= 400; ++exponent) {
        SCOPED_TRACE(exponent);
        EXPECT_TRUE(sameBits(PowerOfTen(exponent), mpfr.powerOfTen(exponent)));
    }
}

} // namespace
