// What every number the window reads or writes must satisfy, shared by the
// two number-text fuzz targets. Each check aborts with a message, which
// libFuzzer reports as a crash together with the input that caused it.
#pragma once

#include "text/NumberText.h"

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

// The double nearest to `value` rounded to `digits` significant digits,
// worked out independently of Qt by the C library in the C locale.
inline double roundToDigits(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*E", digits - 1, value);
    return std::strtod(buffer, nullptr);
}

// Written out with `digits` significant digits (15, as the window writes
// numbers, or fewer, for a narrow box) and read back, a finite number comes
// back as itself rounded to them.
inline void checkRoundTrip(double value, const QLocale& locale, int digits = 15) {
    const QString text = NumberToText(value, locale, digits);
    check(!text.isEmpty(), "NumberToText gave no text", text, value);
    const QChar otherSeparator = locale.decimalPoint() == QStringLiteral(",") ? u'.' : u',';
    check(!text.contains(otherSeparator), "NumberToText used the other separator or grouping", text,
          value);
    const double rounded = roundToDigits(value, digits);
    if (!std::isfinite(value) || !std::isfinite(rounded)) {
        return;
    }
    const std::optional<double> back = TextToNumber(text, locale);
    check(back.has_value(), "NumberToText wrote what TextToNumber refuses", text, value);
    check(*back == rounded, "the round trip is not the rounded value", text, value);
}

} // namespace pendrio::fuzz
