// Any bit pattern as a double into NumberToText, under a point and a comma
// locale: there is always some text, and a finite number read back is the
// double nearest to its 15-digit rounding, or to its rounding to fewer digits. Every 16-bit whole
// number written out reads back as itself.
#include "NumberTextChecks.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

using namespace pendrio;
using namespace pendrio::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    // Every 8 bytes are one double; a short tail is padded with zeros.
    for (std::size_t offset = 0; offset < size; offset += 8) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, bytes + offset, std::min<std::size_t>(8, size - offset));
        const double value = std::bit_cast<double>(bits);
        const auto whole = static_cast<std::int16_t>(bits & 0xFFFF);
        for (const QLocale* locale : {&pointLocale(), &commaLocale()}) {
            checkRoundTrip(value, *locale);
            checkRoundTrip(value, *locale, 1 + int(bits >> 60) % 15); // a narrow box's text
            const QString text = NumberToText(whole, *locale);
            check(TextToInteger16(text, *locale) == whole, "a 16-bit number did not read back",
                  text, whole);
        }
    }
    return 0;
}
