#include "text/NumberText.h"

#include "maths/PowersOfTen.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

namespace pendrio {

namespace {

// Only spaces and tabs count as blanks; any other white space is a stray character.
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// ASCII digits only: QChar::isDigit() would also take Arabic-Indic or full-width digits.
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The text without the blanks around it.
QStringView withoutBlanks(QStringView text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && isBlank(text[first])) {
        ++first;
    }
    while (end > first && isBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(first, end - first);
}

// Checks that the text is a plain number and copies it into the ASCII form the
// C++ library reads: an optional '-', digits with '.' as the separator, and an
// optional exponent. Leading '+' signs are left out since std::from_chars
// does not take them. No value when the text is anything else.
std::optional<std::string> plainNumber(QStringView typed, QStringView separator) {
    const QStringView text = withoutBlanks(typed);
    qsizetype i = 0;
    const qsizetype end = text.size();
    std::string plain;
    plain.reserve(static_cast<std::size_t>(end - i));
    const auto copySign = [&] {
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            if (text[i] == u'-') {
                plain += '-';
            }
            ++i;
        }
    };
    const auto copyDigits = [&] {
        const qsizetype first = i;
        for (; i < end && isDigit(text[i]); ++i) {
            plain += static_cast<char>(text[i].unicode());
        }
        return i - first;
    };

    copySign();
    qsizetype mantissaDigits = copyDigits();
    if (!separator.isEmpty() && text.sliced(i, end - i).startsWith(separator)) {
        plain += '.';
        i += separator.size();
        mantissaDigits += copyDigits();
    }
    if (mantissaDigits == 0) {
        return std::nullopt; // a sign or separator alone is not a number
    }
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        plain += 'e';
        ++i;
        copySign();
        if (copyDigits() == 0) {
            return std::nullopt;
        }
    }
    if (i != end) {
        return std::nullopt;
    }
    return plain;
}

// std::from_chars reports result_out_of_range both for overflow and for some
// underflows (where the correctly rounded result is zero), and then leaves the
// value unset. std::strtod returns the correctly rounded value in both cases:
// infinity for overflow, the subnormal or zero for underflow. strtod reads with
// the C library's current decimal separator, which a Qt program on Unix takes
// from the user's environment, so the '.' is swapped for that separator first.
double readOutOfRange(std::string plain) {
    const std::string cSeparator = std::localeconv()->decimal_point;
    if (const auto point = plain.find('.'); point != std::string::npos && cSeparator != ".") {
        plain.replace(point, 1, cSeparator);
    }
    return std::strtod(plain.c_str(), nullptr);
}

} // namespace

std::optional<double> TextToNumber(const QString& text, const QLocale& locale) {
    const QString separator = locale.decimalPoint();
    const std::optional<std::string> plain = plainNumber(text, separator);
    if (!plain) {
        return std::nullopt;
    }
    const char* const first = plain->data();
    const char* const last = first + plain->size();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        value = readOutOfRange(*plain);
    } else if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    if (std::isinf(value)) {
        return std::nullopt; // beyond the largest double
    }
    return value;
}

std::optional<std::int16_t> TextToInteger16(const QString& text, const QLocale& locale) {
    const std::optional<double> number = TextToNumber(text, locale);
    if (!number) {
        return std::nullopt;
    }
    // Under the default rounding mode nearbyint rounds halves to even.
    const double whole = std::nearbyint(*number);
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(whole);
}

// std::to_chars with the general format and precision 15 writes what printf's
// "%.15g" writes in the C locale, whatever the C library's locale: exponent
// form when the decimal exponent after rounding is below -4 or at least 15,
// trailing zeros removed, at least two exponent digits. Only the separator and
// the exponent letter are changed here.
//
// Values above 1.79769313486231E308 round at 15 digits to
// 1.79769313486232E+308, more than the largest double; TextToNumber refuses
// that text as out of range. They are written faithfully rather than clamped;
// the window refuses an input whose text would not read back.
//
// Infinity and NaN come out as "inf", "-inf", "nan" or "-nan".
QString NumberToText(double value, const QLocale& locale, int significant) {
    if (value == 0) {
        return QStringLiteral("0"); // also for negative zero: never "-0"
    }
    // Longest text: "-1.2345678901234567e-308", 24 characters.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, std::clamp(significant, 1, 17));
    const QString separator = locale.decimalPoint();
    QString text;
    for (const char* p = buffer.data(); p != result.ptr; ++p) {
        if (*p == '.') {
            text += separator;
        } else {
            text += QLatin1Char(*p == 'e' ? 'E' : *p);
        }
    }
    return text;
}

// Whole numbers are written the same in every locale the window uses;
// QString::number never groups digits.
QString NumberToText(std::int16_t value, const QLocale& /*locale*/) {
    return QString::number(value);
}

std::optional<TypedNumber> ReadTypedNumber(const QString& text, const QLocale& locale,
                                           double (*toKept)(double), double (*toShown)(double)) {
    const std::optional<double> number = TextToNumber(text, locale);
    if (!number) {
        return std::nullopt;
    }
    const double kept = toKept ? toKept(*number) : *number;
    QString shown = NumberToText(toShown ? toShown(kept) : kept, locale);
    if (!std::isfinite(kept) || !TextToNumber(shown, locale)) {
        return std::nullopt;
    }
    return TypedNumber{kept, std::move(shown)};
}

QByteArray ShortestText(double value) {
    // Longest: "-2.2250738585072014e-308", 24 characters.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QByteArray(buffer.data(), result.ptr - buffer.data());
}

// places is expected to be 0 or more; 10^places is exact up to 22 places.
double RoundHalfEven(double value, int places) {
    double scale = 1;
    for (int i = 0; i < places; ++i) {
        scale *= 10;
    }
    const double scaled = value * scale;
    if (!std::isfinite(scaled)) {
        // Only beyond about 1.8E305 (or for infinity and NaN): such a double is
        // a whole number already, with no digits after the point to round.
        return value;
    }
    // Under the default rounding mode nearbyint rounds halves to even.
    const double rounded = std::nearbyint(scaled) / scale;
    return rounded == 0 ? 0.0 : rounded;
}

double RoundToSignificant(double value, int digits) {
    if (!std::isfinite(value) || value == 0) {
        return value == 0 ? 0.0 : value;
    }
    // to_chars rounds the exact binary value correctly, subnormals included.
    std::array<char, 48> buffer{};
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                      std::chars_format::scientific, std::clamp(digits, 1, 17) - 1);
    double rounded = 0;
    const auto [end, error] = std::from_chars(buffer.data(), written.ptr, rounded);
    return error == std::errc() && end == written.ptr ? rounded : value;
}

QString FixedText(double value, int places, const QLocale& locale) {
    const double rounded = RoundHalfEven(value, places);
    if (!(std::fabs(rounded) < 1e15) || places < 0 || places > 15) {
        return NumberToText(value, locale);
    }
    std::array<char, 48> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded,
                                       std::chars_format::fixed, places);
    QString text = QString::fromLatin1(buffer.data(), written.ptr - buffer.data());
    return text.replace(u'.', locale.decimalPoint());
}

QString ShortNumberText(double value, int significant, const QLocale& locale) {
    if (!std::isfinite(value) || value == 0) {
        return NumberToText(value, locale);
    }
    if (std::fabs(value) >= PowerOfTen(significant - 1)) {
        return NumberToText(RoundHalfEven(value, 0), locale);
    }
    return NumberToText(RoundToSignificant(value, significant), locale);
}

} // namespace pendrio
