// Arbitrary text into TextToNumber and TextToInteger16, under a point and a
// comma locale. Nothing may crash; whatever is accepted must be a plain decimal
// that the C library reads as the same double, must survive being written out
// and read back, and the 16-bit reading must be the ties-to-even rounding of it.
#include "NumberTextChecks.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace pendrio;
using namespace pendrio::fuzz;

namespace {

// The first byte picks how the rest is read: as UTF-8 (mostly valid text) or
// as UTF-16 (any code unit, lone surrogates included).
QString textFrom(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) {
        return {};
    }
    const bool utf16 = bytes[0] & 1;
    ++bytes;
    --size;
    if (!utf16) {
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes),
                                 static_cast<qsizetype>(size));
    }
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), bytes, units.size() * 2);
    return QString::fromStdU16String(units);
}

// An accepted text holds only a signed decimal with an optional exponent in
// the locale's own separator, and the C library reads it as the same double.
void checkPlainDecimal(const QString& text, double value, const QLocale& locale) {
    const QString separator = locale.decimalPoint();
    std::string plain;
    for (const QChar c : text.trimmed()) {
        const char16_t u = c.unicode();
        if (QString(c) == separator) {
            plain += '.';
        } else if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'e' || u == u'E') {
            plain += static_cast<char>(u);
        } else {
            fail("accepted a character that is no part of a plain decimal", text, value);
        }
    }
    char* end = nullptr;
    const double reference = std::strtod(plain.c_str(), &end);
    check(end == plain.c_str() + plain.size(), "accepted text the C library cannot read", text,
          value);
    check(reference == value, "not the double nearest to the text", text, value);
}

void checkText(const QString& text, const QLocale& locale) {
    const std::optional<double> number = TextToNumber(text, locale);
    const std::optional<std::int16_t> whole = TextToInteger16(text, locale);
    if (!number) {
        check(!whole, "TextToInteger16 accepted what TextToNumber refuses", text, 0);
        return;
    }
    const double x = *number;
    check(std::isfinite(x), "TextToNumber gave a number that is not finite", text, x);
    checkPlainDecimal(text, x, locale);
    checkRoundTrip(x, locale);

    // The default rounding mode rounds ties to even.
    const double rounded = std::nearbyint(x);
    if (rounded < -32768 || rounded > 32767) {
        check(!whole, "TextToInteger16 accepted a value outside -32768..32767", text, x);
        return;
    }
    check(whole.has_value(), "TextToInteger16 refused a value inside -32768..32767", text, x);
    check(*whole == static_cast<std::int16_t>(rounded), "not the ties-to-even whole number", text,
          x);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const QString text = textFrom(bytes, size);
    checkText(text, pointLocale());
    checkText(text, commaLocale());
    return 0;
}
