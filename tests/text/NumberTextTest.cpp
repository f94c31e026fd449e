#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace pendrio;

namespace {

using Limits = std::numeric_limits<double>;

std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

// Built explicitly, never the machine's locale: one with a decimal point, one with a comma.
const std::vector<QLocale>& bothLocales() {
    static const std::vector<QLocale> locales = {QLocale::c(),
                                                 QLocale(QLocale::German, QLocale::Germany)};
    return locales;
}

// Rows are written for the point locale. For a comma locale '.' and ',' swap
// roles, so "the separator" and "the other separator" keep their meaning.
QString inLocale(const std::string& text, const QLocale& locale) {
    QString result = QString::fromStdString(text);
    if (locale.decimalPoint() == u',') {
        for (QChar& c : result) {
            c = c == u'.' ? QChar(u',') : c == u',' ? QChar(u'.') : c;
        }
    }
    return result;
}

// "%.15G" from the C library (this test never changes the C locale), the
// independent reference for how a number is written and what it reads back as.
std::string cFifteenDigits(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

} // namespace

// Rows with no expected value are refused.
TEST(TextToNumber, TakesPlainNumbersAndRefusesEverythingElseInBothLocales) {
    ASSERT_EQ(bothLocales().at(1).decimalPoint(), QStringLiteral(","));
    const std::string zeros(5000, '0');
    const struct {
        std::string name, text;
        std::optional<double> expected;
    } rows[] = {
        {"separator", "2.862", 2.862},
        {"blanks around", " \t 1.5\t ", 1.5},
        {"plus", "+3.25", 3.25},
        {"minus", "-250.5", -250.5},
        {"leading separator", ".5", 0.5},
        {"trailing separator", "5.", 5.0},
        {"minus leading separator", "-.5", -0.5},
        {"leading zeros", "007", 7.0},
        {"exponent", "1e3", 1000.0},
        {"signed upper-case exponent", "2.5E-3", 0.0025},
        {"trailing separator and exponent", "1.E+2", 100.0},
        {"nearest to a tenth", "0.1", 0.1},
        {"minus zero", "-0", -0.0},
        {"tie to even", "9007199254740993", 9007199254740992.0},
        {"tie broken by a far digit", "9007199254740993." + zeros + "1", 9007199254740994.0},
        {"long fraction", "0." + zeros + "1e5001", 1.0},
        {"long whole number", "1" + zeros + "e-5000", 1.0},
        {"largest double", "1.7976931348623158e308", Limits::max()},
        {"smallest subnormal", "4.9406564584124654e-324", Limits::denorm_min()},
        {"just above half the smallest", "2.4703282292062328e-324", Limits::denorm_min()},
        {"underflow to zero", "1e-400", 0.0},
        {"underflow to minus zero", "-2e-324", -0.0},
        {"huge negative exponent", "1e-99999999999999999", 0.0},
        {"zero with huge exponent", "0e99999999999999999999", 0.0},
        {"empty", "", std::nullopt},
        {"blanks", " \t ", std::nullopt},
        {"separator alone", ".", std::nullopt},
        {"sign and separator", "-.", std::nullopt},
        {"sign alone", "+", std::nullopt},
        {"exponent alone", "e5", std::nullopt},
        {"separator and exponent", ".e5", std::nullopt},
        {"exponent without digits", "1e", std::nullopt},
        {"exponent sign without digits", "1e+", std::nullopt},
        {"two separators", "1.5.2", std::nullopt},
        {"double separator", "1..5", std::nullopt},
        {"other separator", "1,5", std::nullopt},
        {"grouping", "1,000.5", std::nullopt},
        {"grouping without separator", "1,000", std::nullopt},
        {"two signs", "+-1", std::nullopt},
        {"blank inside", "1 2", std::nullopt},
        {"blank after sign", "- 1", std::nullopt},
        {"blank before exponent", "1 e5", std::nullopt},
        {"trailing letter", "1.5x", std::nullopt},
        {"fractional exponent", "1e5.5", std::nullopt},
        {"underscore", "1_000", std::nullopt},
        {"newline", "1\n", std::nullopt},
        {"no-break space", "\u00A01", std::nullopt},
        {"hexadecimal", "0x10", std::nullopt},
        {"hexadecimal float", "0x1p3", std::nullopt},
        {"inf", "inf", std::nullopt},
        {"minus inf", "-inf", std::nullopt},
        {"infinity", "Infinity", std::nullopt},
        {"nan", "nan", std::nullopt},
        {"nan with payload", "nan(1)", std::nullopt},
        {"Arabic-Indic digits", "\u0661\u0662", std::nullopt},
        {"full-width digit", "\uFF11", std::nullopt},
        {"superscript exponent", "1e\u00B2", std::nullopt},
        {"overflow", "1E400", std::nullopt},
        {"just above the largest double", "1.7976931348623159e308", std::nullopt},
        {"largest double at 15 digits", "1.79769313486232E+308", std::nullopt},
        {"huge exponent", "1e99999999999999999999", std::nullopt},
        {"huge negative overflow", "-1e99999999999999999999", std::nullopt},
    };
    for (const QLocale& locale : bothLocales()) {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name + " in " + locale.name().toStdString());
            const std::optional<double> value = TextToNumber(inLocale(row.text, locale), locale);
            EXPECT_EQ(value.has_value(), row.expected.has_value()) << value.value_or(0);
            if (value && row.expected) {
                EXPECT_EQ(bits(*value), bits(*row.expected)) << *value;
            }
        }
    }
}

TEST(TextToInteger16, RoundsHalvesToEvenWithinRange) {
    const struct {
        std::string name, text;
        std::optional<int> expected;
    } rows[] = {
        {"two and a half", "2.5", 2},
        {"three and a half", "3.5", 4},
        {"one half", "0.5", 0},
        {"minus two and a half", "-2.5", -2},
        {"minus one half", "-.5", 0},
        {"largest", "32767.4", 32767},
        {"smallest by tie", "-32768.5", -32768},
        {"rounds past largest", "32767.5", std::nullopt},
        {"below smallest", "-32769", std::nullopt},
        {"huge", "1e300", std::nullopt},
        {"overflow", "1e400", std::nullopt},
        {"underflow", "-1e-400", 0},
        {"exponent", "1.5e2", 150},
        {"not a number", "abc", std::nullopt},
    };
    for (const QLocale& locale : bothLocales()) {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name + " in " + locale.name().toStdString());
            const auto value = TextToInteger16(inLocale(row.text, locale), locale);
            EXPECT_EQ(value ? std::optional<int>(*value) : std::nullopt, row.expected);
        }
    }
}

// Every line of the shared corpus: "HHHH HHHHHHHH HHHHHHHHHHHHHHHH text", the
// float16, float32 and float64 bits of the correctly rounded value, then the
// text. Float64 bits 7FF0000000000000 (infinity) mean the text overflows.
TEST(TextToNumber, ReadsEveryCorpusLineToTheBit) {
    std::ifstream corpus(PENDRIO_NUMBER_CORPUS);
    ASSERT_TRUE(corpus.is_open()) << "cannot open " << PENDRIO_NUMBER_CORPUS;
    const QLocale point = bothLocales().at(0);
    const QLocale comma = bothLocales().at(1);
    const auto readsAs = [](const QString& text, const QLocale& locale,
                            std::uint64_t expected) -> testing::AssertionResult {
        const std::optional<double> value = TextToNumber(text, locale);
        if ((expected & ~(1ull << 63)) == 0x7FF0000000000000) {
            return value ? testing::AssertionFailure() << "took overflow as " << *value
                         : testing::AssertionSuccess();
        }
        if (!value || bits(*value) != expected) {
            return testing::AssertionFailure() << "expected bits " << std::hex << expected;
        }
        return testing::AssertionSuccess();
    };
    std::string line;
    int number = 0;
    while (std::getline(corpus, line)) {
        ++number;
        std::uint64_t expected = 0;
        ASSERT_TRUE(line.size() > 31 &&
                    std::from_chars(&line[14], &line[30], expected, 16).ptr == &line[30])
            << "line " << number << " is malformed: " << line;
        const QString text = QString::fromLatin1(line.substr(31));
        ASSERT_TRUE(readsAs(text, point, expected)) << "line " << number << ": " << line;
        ASSERT_TRUE(readsAs(u'-' + text, point, expected ^ (1ull << 63)))
            << "line " << number << " negated: " << line;
        ASSERT_TRUE(readsAs(QString(text).replace(u'.', u','), comma, expected))
            << "line " << number << " with a comma: " << line;
    }
    EXPECT_EQ(number, 40154);
}

TEST(NumberToText, WritesGeneralFormWithTheLocaleSeparator) {
    const struct {
        std::string name;
        double value;
        std::string expected;
    } rows[] = {
        {"whole", 1968504, "1968504"},
        {"fraction", 250.5, "250.5"},
        {"negative", -250.5, "-250.5"},
        {"a third", 1.0 / 3, "0.333333333333333"},
        {"rounded sum", 0.1 + 0.2, "0.3"},
        {"separator", 2.862, "2.862"},
        {"no grouping", 1234567.5, "1234567.5"},
        {"zero", 0.0, "0"},
        {"negative zero", -0.0, "0"},
        {"largest general", 999999999999999, "999999999999999"},
        {"rounds to largest general", 999999999999999.4, "999999999999999"},
        {"rounds up to exponent form", 999999999999999.5, "1E+15"},
        {"exponent form", 1e15, "1E+15"},
        {"large", 123456789012345678.0, "1.23456789012346E+17"},
        {"smallest general", 0.0001, "0.0001"},
        {"small exponent form", 0.000015, "1.5E-05"},
        {"negative small", -1e-300, "-1E-300"},
        {"three-digit exponent", 1e100, "1E+100"},
        {"smallest subnormal", Limits::denorm_min(), "4.94065645841247E-324"},
        // Above the largest double once rounded; TextToNumber refuses this text.
        {"largest double", Limits::max(), "1.79769313486232E+308"},
    };
    for (const QLocale& locale : bothLocales()) {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name + " in " + locale.name().toStdString());
            EXPECT_EQ(NumberToText(row.value, locale), inLocale(row.expected, locale));
        }
        // Fewer digits, for a box too narrow: 1E+09 never reads as 100000000.
        EXPECT_EQ(NumberToText(1e9, locale, 9), inLocale("1E+09", locale));
        EXPECT_EQ(NumberToText(1e9, locale, 10), inLocale("1000000000", locale));
        EXPECT_EQ(NumberToText(20000.5, locale, 3), inLocale("2E+04", locale));
        EXPECT_EQ(NumberToText(0.125, locale, 2), inLocale("0.12", locale));
        for (const int value : {0, 7, -32768, 32767, 1234}) {
            EXPECT_EQ(NumberToText(static_cast<std::int16_t>(value), locale),
                      QString::fromStdString(std::to_string(value)));
        }
        for (const double value : {Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN()}) {
            EXPECT_FALSE(NumberToText(value, locale).isEmpty());
        }
    }
}

// Seeded random bit patterns of finite doubles, half of them with magnitudes
// where the general form has digits on both sides of the separator.
TEST(NumberToText, ReadsBackAsTheFifteenDigitValueInBothLocales) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  Limits::denorm_min(),
                                  -Limits::denorm_min(),
                                  1.7976931348623E308,
                                  -1.7976931348623E308,
                                  999999999999999.5,
                                  99999999999999.95,
                                  0.0001,
                                  0.00001};
    for (const double edge : {1e15, 1e-5, 1e-4, 999999999999999.0}) {
        values.push_back(std::nextafter(edge, 0.0));
        values.push_back(std::nextafter(edge, 1e300));
    }
    std::mt19937_64 random(20240607);
    while (values.size() < 1'000'000) {
        std::uint64_t pattern = random();
        if (values.size() % 2 == 1) {
            const std::uint64_t exponent = 1023 - 20 + random() % 74; // 2^-20 .. 2^53
            pattern = (pattern & ~(0x7FFull << 52)) | exponent << 52;
        }
        if (const double value = std::bit_cast<double>(pattern); std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (const double value : values) {
        const std::string reference = cFifteenDigits(value);
        const double expected = std::strtod(reference.c_str(), nullptr) + 0.0; // -0 is "0"
        for (const QLocale& locale : bothLocales()) {
            const QString text = NumberToText(value, locale);
            ASSERT_EQ(text, value == 0 ? QStringLiteral("0") : inLocale(reference, locale))
                << locale.name().toStdString();
            const std::optional<double> back = TextToNumber(text, locale);
            if (std::isinf(expected)) {
                // Above 1.79769313486231E308 the 15-digit text is beyond the
                // largest double, and reading it back is refused as overflow.
                ASSERT_FALSE(back.has_value()) << reference;
            } else {
                ASSERT_TRUE(back.has_value()) << reference << " " << locale.name().toStdString();
                ASSERT_EQ(bits(*back), bits(expected))
                    << reference << " " << locale.name().toStdString();
            }
        }
    }
}

TEST(RoundHalfEven, RoundsToThePlacesWithTiesToEven) {
    const struct {
        std::string name;
        double value;
        int places;
        double expected;
    } rows[] = {
        {"two and a half", 2.5, 0, 2.0},
        {"three and a half", 3.5, 0, 4.0},
        {"minus two and a half", -2.5, 0, -2.0},
        {"minus three and a half", -3.5, 0, -4.0},
        {"tie down at three places", 1.0625, 3, 1.062},
        {"tie up at three places", 1.1875, 3, 1.188},
        {"not a tie", 1.0626, 3, 1.063},
        {"negative to positive zero", -0.3, 0, 0.0},
        {"small negative to positive zero", -0.0004, 3, 0.0},
        {"near the largest double", 1e306, 3, 1e306},
        {"largest double", Limits::max(), 3, Limits::max()},
        {"most negative double", -Limits::max(), 2, -Limits::max()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(bits(RoundHalfEven(row.value, row.places)), bits(row.expected));
    }
}

TEST(RoundHalfEven, StaysWithinHalfAUnitAndFiniteForEveryFiniteValue) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200'000; ++i) {
        const double value = std::bit_cast<double>(random());
        const int places = i % 7;
        if (!std::isfinite(value)) {
            continue;
        }
        const double rounded = RoundHalfEven(value, places);
        ASSERT_TRUE(std::isfinite(rounded)) << value;
        ASSERT_FALSE(rounded == 0 && std::signbit(rounded)) << value;
        const double unit = std::pow(10.0, -places);
        ASSERT_LE(std::fabs(rounded - value), unit / 2 * (1 + 1e-12) + 1e-15 * std::fabs(value))
            << value << " at " << places << " places";
    }
}
