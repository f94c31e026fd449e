// The program's tangent and arc tangent, each rounded correctly to the
// nearest double, so that the same inputs give the same bits on every
// platform and with every C library. The C library's tan and atan promise no
// such thing: glibc rounds a few in a thousand the wrong way, MinGW-w64's
// runtime a few in a hundred, and the heights and tables would differ in the
// last digit between a Linux and a Windows build.
//
// Three steps (Ziv's strategy), each taken only when the one before cannot
// decide the rounding: double-double arithmetic with a proven error bound
// (FastTrig.h), which settles all but about one argument in 5,000 at about
// the cost of the C library's functions; libquadmath's binary128 tanq and
// atanq; and 226-bit arithmetic (SlowTrig.h) for about one argument in 2^50.
//
// Product code calls these (and PowerOfTen, PowersOfTen.h) and never the C
// library's tan, atan, atan2 or pow (tests/maths/CMakeLists.txt holds the
// sources to that).
#pragma once

namespace pendrio {

// tan(radians) rounded to the nearest double (ties cannot occur: the tangent of
// a nonzero double is transcendental). NaN for infinities and NaN; tan(-0) = -0.
double Tan(double radians);

// atan(slope) in radians, rounded to the nearest double; atan(±inf) is the
// double nearest to ±pi/2, atan(-0) = -0.
double Atan(double slope);

} // namespace pendrio
