// Text to number and back, the way the window reads and writes every value.
//
// Only the locale's decimal separator is taken from the locale: no digit
// grouping, no currency signs, no localised digits, so that what a user reads
// in one box can be typed into another and means the same number.
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

namespace pendrio {

// A plain signed decimal number with an optional exponent, blanks around it
// allowed, correctly rounded to the nearest double. No value for anything
// else: empty text, stray characters, the other decimal separator, grouping,
// hexadecimal, inf or nan, or a magnitude beyond the double range.
std::optional<double> TextToNumber(const QString& text, const QLocale& locale = QLocale());

// As TextToNumber, then rounded to a whole number with ties to even; no value
// outside -32768..32767.
std::optional<std::int16_t> TextToInteger16(const QString& text, const QLocale& locale = QLocale());

// General form with at most 15 significant digits, no trailing zeros, no
// grouping, the locale's decimal separator, exponent form (1E+15, 1.5E-05)
// where the general form needs it; zero and negative zero are "0". With fewer
// `significant` digits (1..17) the value is rounded to them, and a whole
// number with more digits than that takes the exponent form (1E+09).
QString NumberToText(double value, const QLocale& locale = QLocale(), int significant = 15);
QString NumberToText(std::int16_t value, const QLocale& locale = QLocale());

// A number as an input box takes it when the user leaves the box: the value
// kept, in the unit it is kept in, and the box's text written back from it.
struct TypedNumber {
    double kept;
    QString shown;
};

// Reads `text` as TextToNumber does, converts the number with `toKept` (none:
// kept as typed) and writes the kept value back with `toShown` as NumberToText
// does. No value if the text is refused, if the conversion leaves the double
// range, or if the kept value is so near the largest double that its 15-digit
// text rounds beyond it and could not be read back.
std::optional<TypedNumber> ReadTypedNumber(const QString& text, const QLocale& locale,
                                           double (*toKept)(double) = nullptr,
                                           double (*toShown)(double) = nullptr);

// The shortest text that reads back to the identical double, in the C
// locale's form with a lower-case exponent ("1e+300"), as std::to_chars
// writes it: for files that other programs read.
QByteArray ShortestText(double value);

// Scales by 10^places, rounds to the nearest whole number with ties to even,
// scales back. A result of negative zero is returned as zero.
double RoundHalfEven(double value, int places);

// `value` rounded to `digits` (1..17) significant decimal digits; infinity,
// NaN and zero as they are, and `value` itself where the rounding would
// leave the double range.
double RoundToSignificant(double value, int digits);

// `value` rounded half to even at `places` (0..15) decimals and written with
// exactly that many, as a table of measurements shows them ("2.250"), with
// the locale's separator and no grouping; as NumberToText writes it where
// that is not a number below 1E15 in magnitude.
QString FixedText(double value, int places, const QLocale& locale = QLocale());

// A short reading of a value: `significant` digits, the whole part always
// whole (1234567.8 is 1234568), and never 0 for a value that is not zero
// (5.08E-293). As NumberToText writes it.
QString ShortNumberText(double value, int significant, const QLocale& locale = QLocale());

} // namespace pendrio
