// Tan, Atan and PowerOfTen against MPFR, which rounds correctly by
// construction: zero misrounded results over more than a million arguments
// across the ranges the program meets, the whole double range and the known
// hardest cases. The double-double first step is held to its error bound on
// every one of those arguments, and its constants to MPFR's; the slow last
// step is also held to MPFR on its own, since the steps before it hand it
// only the rare hard arguments.
#include "maths/Transcendental.h"
#include "maths/FastTrig.h"
#include "maths/PowersOfTen.h"
#include "profile/ProfileState.h"
#include "maths/SlowTrig.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
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
    std::optional<detail::DoubleDouble> (*fastStep)(double);
};
const Function TanFunction{"tan", Tan, mpfr_tan, detail::FastTanApproximation};
const Function AtanFunction{"atan", Atan, mpfr_atan, detail::FastAtanApproximation};

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

// Counts the arguments on which the first step strays beyond FastStepError
// (against MPFR at 200 bits) or its rounding test takes a wrong double.
int fastStepFaults(const Function& f, const std::vector<double>& arguments) {
    Mpfr mpfr;
    mpfr_t exact, error;
    mpfr_inits2(200, exact, error, static_cast<mpfr_ptr>(nullptr));
    int count = 0;
    for (double x : arguments) {
        const std::optional<detail::DoubleDouble> fast = f.fastStep(x);
        if (!fast) {
            continue;
        }
        mpfr_set_d(exact, x, MPFR_RNDN);
        f.mpfr(exact, exact, MPFR_RNDN);
        mpfr_set_d(error, fast->hi, MPFR_RNDN);
        mpfr_add_d(error, error, fast->lo, MPFR_RNDN);
        mpfr_sub(error, error, exact, MPFR_RNDN);
        mpfr_div_d(error, error, fast->hi, MPFR_RNDN);
        const double relative = std::fabs(mpfr_get_d(error, MPFR_RNDN));
        const std::optional<double> decided = detail::NearestIfDecided(*fast);
        if ((relative > detail::FastStepError || (decided && *decided != mpfr(f.mpfr, x))) &&
            ++count <= 5) {
            ADD_FAILURE() << f.name << "(" << std::hexfloat << x << "): first step off by 2^"
                          << std::defaultfloat << std::log2(relative);
        }
    }
    mpfr_clears(exact, error, static_cast<mpfr_ptr>(nullptr));
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
    EXPECT_EQ(fastStepFaults(range.function, arguments), 0);
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

// Each entry of the first step's tables: the double nearest to the value,
// and the double nearest to what that leaves.
TEST(RoundsCorrectly, FirstStepConstantsAreMpfrs) {
    mpfr_t step, value, rest;
    mpfr_inits2(400, step, value, rest, static_cast<mpfr_ptr>(nullptr));
    const auto expectNearestPair = [&](const detail::DoubleDouble& entry) {
        EXPECT_EQ(entry.hi, mpfr_get_d(value, MPFR_RNDN));
        mpfr_sub_d(rest, value, entry.hi, MPFR_RNDN);
        EXPECT_EQ(entry.lo, mpfr_get_d(rest, MPFR_RNDN));
    };
    for (std::size_t j = 0; j < detail::TanOfSteps.size(); ++j) {
        SCOPED_TRACE(j);
        mpfr_set_ui(step, static_cast<unsigned long>(j), MPFR_RNDN);
        mpfr_div_ui(step, step, 128, MPFR_RNDN);
        mpfr_tan(value, step, MPFR_RNDN);
        expectNearestPair(detail::TanOfSteps[j]);
    }
    for (std::size_t i = 0; i < detail::AtanOfSteps.size(); ++i) {
        SCOPED_TRACE(i);
        mpfr_set_ui(step, static_cast<unsigned long>(i), MPFR_RNDN);
        mpfr_div_ui(step, step, 128, MPFR_RNDN);
        mpfr_atan(value, step, MPFR_RNDN);
        expectNearestPair(detail::AtanOfSteps[i]);
    }
    // pi/2 in chunks: the first three of at most 36 significant bits, the
    // four together within 2^-168.
    mpfr_const_pi(value, MPFR_RNDN);
    mpfr_div_ui(value, value, 2, MPFR_RNDN);
    for (std::size_t k = 0; k < detail::HalfPiChunks.size(); ++k) {
        const double chunk = detail::HalfPiChunks[k];
        if (k < 3) {
            int exponent = 0;
            const double fraction = std::frexp(chunk, &exponent);
            EXPECT_EQ(std::ldexp(fraction, 36), std::trunc(std::ldexp(fraction, 36))) << k;
        }
        mpfr_sub_d(value, value, chunk, MPFR_RNDN);
    }
    EXPECT_LT(std::fabs(mpfr_get_d(value, MPFR_RNDN)), 0x1p-168);
    mpfr_clears(step, value, rest, static_cast<mpfr_ptr>(nullptr));
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
