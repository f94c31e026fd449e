#include "text/ChainageText.h"

#include "profile/Stations.h"
#include "text/NumberText.h"

#include <QRegularExpression>

#include <array>
#include <charconv>
#include <cmath>

namespace pendrio {

namespace {

// The kilometre form as the plain metres it stands for: the '+' only splits
// the kilometres from the three digits of metres, so leaving it out gives the
// same decimal number, which TextToNumber then rounds correctly. No value
// when the text is not in the kilometre form. Blanks are spaces and tabs,
// digits ASCII, as TextToNumber takes them.
std::optional<QString> kilometreFormAsMetres(const QString& text, const QString& separator) {
    const QRegularExpression form(
        QStringLiteral("^[ \\t]*([+-]?[0-9]+)\\+([0-9]{3}(%1[0-9]+)?)[ \\t]*\\z")
            .arg(QRegularExpression::escape(separator)));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match.captured(1) + match.captured(2);
}

} // namespace

QString ChainageText(double metres, const QLocale& locale) {
    if (!(std::abs(metres) <= MaxChainage)) {
        return NumberToText(metres, locale);
    }
    // Within MaxChainage the millimetres are a whole number far below 2^53.
    const double key = ChainageMillimetres(metres);
    const auto millimetres = static_cast<long long>(std::abs(key));
    // Longest: "-1000000+000" before the separator.
    std::array<char, 32> head{};
    char* p = head.data();
    if (key < 0) {
        *p++ = '-';
    }
    p = std::to_chars(p, head.data() + head.size(), millimetres / 1000000).ptr;
    const long long metresInKilometre = millimetres / 1000 % 1000;
    const long long fraction = millimetres % 1000;
    const auto digit = [](long long value) { return static_cast<char>('0' + value); };
    *p++ = '+';
    *p++ = digit(metresInKilometre / 100);
    *p++ = digit(metresInKilometre / 10 % 10);
    *p++ = digit(metresInKilometre % 10);
    const std::array<char, 3> tail{digit(fraction / 100), digit(fraction / 10 % 10),
                                   digit(fraction % 10)};
    QString text = QLatin1StringView(head.data(), p - head.data());
    text += locale.decimalPoint();
    text += QLatin1StringView(tail.data(), tail.size());
    return text;
}

std::optional<double> TextToChainage(const QString& text, const QLocale& locale) {
    const QString separator = locale.decimalPoint();
    const std::optional<QString> metres = kilometreFormAsMetres(text, separator);
    const std::optional<double> value = TextToNumber(metres ? *metres : text, locale);
    if (!value || !(std::abs(*value) <= MaxChainage)) {
        return std::nullopt;
    }
    return value;
}

} // namespace pendrio
