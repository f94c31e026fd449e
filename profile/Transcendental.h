// The program's tangent, arc tangent and powers of ten, each rounded correctly
// to the nearest double, so that the same inputs give the same bits on every
// platform and with every C library. The C library's tan and atan promise no
// such thing: glibc rounds a few in a thousand the wrong way, MinGW-w64's
// runtime a few in a hundred, and the heights and tables would differ in the
// last digit between a Linux and a Windows build.
//
// Product code calls these and never the C library's tan, atan, atan2 or pow
// (tests/profile/CMakeLists.txt holds the sources to that).
#pragma once

namespace pendrio {

// tan(radians) rounded to the nearest double (ties cannot occur: the tangent of
// a nonzero double is transcendental). NaN for infinities and NaN; tan(-0) = -0.
double Tan(double radians);

// atan(slope) in radians, rounded to the nearest double; atan(±inf) is the
// double nearest to ±pi/2, atan(-0) = -0.
double Atan(double slope);

// 10^exponent rounded to the nearest double: exact for 0..22, 0 below 1E-323
// and infinity above 1E308, as the decimal literal 1E<exponent> would give.
double PowerOfTen(int exponent);

} // namespace pendrio
