// Holds Tan, Atan and PowerOfTen to MPFR, bit for bit, on any argument: raw
// bits (subnormals, huge values, infinities, NaN), a gradient in degrees as the
// window converts it, or a double a few ulps from the engine's 90°. The
// double-double first step is held to its error bound (against MPFR at 200
// bits) wherever it takes the argument, and the double its rounding test
// picks to MPFR's; the slow last step is compared on its own too, since the
// steps before it hand it only the rare arguments whose result lies nearly
// halfway between two doubles.
#include "maths/FastTrig.h"
#include "maths/PowersOfTen.h"
#include "profile/ProfileState.h"
#include "maths/SlowTrig.h"
#include "maths/Transcendental.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace pendrio;

namespace {

using MpfrFunction = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// MPFR's result rounded once to double, subnormals included.
double reference(MpfrFunction function, double x) {
    mpfr_t value;
    mpfr_init2(value, 53);
    mpfr_set_d(value, x, MPFR_RNDN);
    mpfr_subnormalize(value, function(value, value, MPFR_RNDN), MPFR_RNDN);
    const double result = mpfr_get_d(value, MPFR_RNDN);
    mpfr_clear(value);
    return result;
}

double referencePowerOfTen(int exponent) {
    mpfr_t value;
    mpfr_init2(value, 53);
    mpfr_set_ui(value, 10, MPFR_RNDN);
    mpfr_subnormalize(value, mpfr_pow_si(value, value, exponent, MPFR_RNDN), MPFR_RNDN);
    const double result = mpfr_get_d(value, MPFR_RNDN);
    mpfr_clear(value);
    return result;
}

void expectSame(const char* what, double x, double got, double expected) {
    const bool same = std::bit_cast<std::uint64_t>(got) == std::bit_cast<std::uint64_t>(expected) ||
                      (std::isnan(got) && std::isnan(expected));
    if (!same) {
        std::fprintf(stderr, "%s(%a) = %a, MPFR says %a\n", what, x, got, expected);
        std::abort();
    }
}

// The first step's approximation of f(x), where it takes x, within its
// bound; and the double its rounding test decides on, if any, MPFR's.
void expectFirstStepWithinBound(const char* what, double x,
                                std::optional<detail::DoubleDouble> (*approximation)(double),
                                MpfrFunction function) {
    const std::optional<detail::DoubleDouble> fast = approximation(x);
    if (!fast) {
        return;
    }
    mpfr_t exact, error;
    mpfr_inits2(200, exact, error, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(exact, x, MPFR_RNDN);
    function(exact, exact, MPFR_RNDN);
    mpfr_set_d(error, fast->hi, MPFR_RNDN);
    mpfr_add_d(error, error, fast->lo, MPFR_RNDN);
    mpfr_sub(error, error, exact, MPFR_RNDN);
    mpfr_div_d(error, error, fast->hi, MPFR_RNDN);
    const double relative = std::fabs(mpfr_get_d(error, MPFR_RNDN));
    mpfr_clears(exact, error, static_cast<mpfr_ptr>(nullptr));
    if (!(relative <= detail::FastStepError)) {
        std::fprintf(stderr, "first step of %s(%a) off by %a of it\n", what, x, relative);
        std::abort();
    }
    if (const std::optional<double> decided = detail::NearestIfDecided(*fast)) {
        expectSame(what, x, *decided, reference(function, x));
    }
}

double consumeArgument(FuzzedDataProvider& data) {
    const auto bits = data.ConsumeIntegral<std::uint64_t>();
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return std::bit_cast<double>(bits);
    case 1:
        return DegreesToRadians(data.ConsumeFloatingPointInRange(-90.0, 90.0));
    default: // within 2^15 ulps of the engine's 90°, either sign
        return std::bit_cast<double>(std::bit_cast<std::uint64_t>(DegreesToRadians(90)) +
                                     (bits % 65536) - 32768) *
               (bits >> 63 ? -1 : 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const bool doubleRange = [] {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        return true;
    }();
    (void)doubleRange;
    FuzzedDataProvider data(bytes, size);
    const double x = consumeArgument(data);
    expectSame("tan", x, Tan(x), reference(mpfr_tan, x));
    expectSame("atan", x, Atan(x), reference(mpfr_atan, x));
    expectFirstStepWithinBound("tan", x, detail::FastTanApproximation, mpfr_tan);
    expectFirstStepWithinBound("atan", x, detail::FastAtanApproximation, mpfr_atan);
    if (std::isfinite(x) && x != 0) {
        expectSame("slow tan", x, detail::SlowTan(x), reference(mpfr_tan, x));
        expectSame("slow atan", x, detail::SlowAtan(x), reference(mpfr_atan, x));
    }
    const int exponent = data.ConsumeIntegralInRange(-400, 400);
    expectSame("10^", exponent, PowerOfTen(exponent), referencePowerOfTen(exponent));
    return 0;
}
