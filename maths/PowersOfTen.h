// Powers of ten for the number text and the plot's ticks, the same double on
// every platform: the C library's pow promises no correct rounding, and the
// digits of a table or an axis would differ between a Linux and a Windows
// build. Product code calls this and never pow (tests/maths/CMakeLists.txt
// holds the sources to that).
#pragma once

namespace pendrio {

// 10^exponent rounded to the nearest double: exact for 0..22, 0 below 1E-323
// and infinity above 1E308, as the decimal literal 1E<exponent> would give.
double PowerOfTen(int exponent);

} // namespace pendrio
