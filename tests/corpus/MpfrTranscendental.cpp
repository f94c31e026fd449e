// The reference engine's tan and atan: MPFR's, correctly rounded by
// construction, in place of maths/Transcendental.cpp. The calculation corpus
// made with the real engine must agree with this one bit for bit.
#include "maths/Transcendental.h"

#include <mpfr.h>

namespace pendrio {

namespace {

double correctlyRounded(int (*function)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double x) {
    mpfr_set_emin(-1073); // the doubles' exponents, subnormals included
    mpfr_set_emax(1024);
    mpfr_t value;
    mpfr_init2(value, 53);
    mpfr_set_d(value, x, MPFR_RNDN);
    const int inexact = function(value, value, MPFR_RNDN);
    mpfr_subnormalize(value, inexact, MPFR_RNDN);
    const double result = mpfr_get_d(value, MPFR_RNDN);
    mpfr_clear(value);
    return result;
}

} // namespace

double Tan(double radians) {
    return correctlyRounded(mpfr_tan, radians);
}

double Atan(double slope) {
    return correctlyRounded(mpfr_atan, slope);
}

} // namespace pendrio
