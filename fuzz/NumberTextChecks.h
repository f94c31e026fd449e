// What every number the window reads or writes must satisfy, shared by the
// two number-text fuzz targets. Each check aborts with a message, which
// libFuzzer reports as a crash together with the input that caused it.
#pragma once

#include "window/text/NumberText.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace pendrio::fuzz {

// A point locale and a comma locale (whose group separator is the point).
inline const QLocale& pointLocale() {
    static const QLocale locale = QLocale::c();
    return locale;
}
inline const QLocale& commaLocale() {
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

[[noreturn]] inline void fail(const char* what, const QString& text, double value) {
    std::fprintf(stderr, "Number text broke its promise: %s\n  text: \"%s\"\n  value: %.17G\n",
                 what, text.toUtf8().constData(), value);
    std::abort();
}

inline void check(bool condition, const char* what, const QString& text, double value) {
    if (!condition) {
        fail(what, text, value);
    }
}

// The largest magnitude whose 15-digit form is still a double; the next 15-digit
// value up, 1.79769313486232E308, lies beyond the double range.
inline constexpr double Largest15Digit = 1.79769313486231E308;

// The double nearest to `value` rounded to 15 significant digits, worked out
// independently of Qt by the C library in the C locale.
inline double roundTo15Digits(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return std::strtod(buffer, nullptr);
}

// Written out and read back, a finite number comes back as its 15-digit self.
inline void checkRoundTrip(double value, const QLocale& locale) {
    const QString text = NumberToText(value, locale);
    check(!text.isEmpty(), "NumberToText gave no text", text, value);
    const QChar otherSeparator = locale.decimalPoint() == QStringLiteral(",") ? u'.' : u',';
    check(!text.contains(otherSeparator), "NumberToText used the other separator or grouping", text,
          value);
    if (!std::isfinite(value) || std::abs(value) > Largest15Digit) {
        return;
    }
    const std::optional<double> back = TextToNumber(text, locale);
    check(back.has_value(), "NumberToText wrote what TextToNumber refuses", text, value);
    check(*back == roundTo15Digits(value), "the round trip is not the 15-digit value", text, value);
}

} // namespace pendrio::fuzz
