#include "window/text/ChainageText.h"

#include "profile/Stations.h"
#include "window/text/NumberText.h"

#include <QStringView>

#include <array>
#include <charconv>
#include <cmath>

namespace pendrio {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// ASCII digits only, as TextToNumber reads them.
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text) {
    for (const QChar c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return !text.isEmpty();
}

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

// The kilometre form as the plain metres it stands for: the '+' only splits
// the kilometres from the three digits of metres, so leaving it out gives the
// same decimal number, which TextToNumber then rounds correctly. No value
// when the text is not in the kilometre form.
std::optional<QString> kilometreFormAsMetres(QStringView text, QStringView separator) {
    qsizetype plus = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
    const qsizetype kilometres = plus;
    while (plus < text.size() && isDigit(text[plus])) {
        ++plus;
    }
    if (plus == kilometres || plus == text.size() || text[plus] != u'+') {
        return std::nullopt;
    }
    const QStringView afterPlus = text.sliced(plus + 1);
    if (afterPlus.size() < 3 || !allDigits(afterPlus.first(3))) {
        return std::nullopt;
    }
    const QStringView decimals = afterPlus.sliced(3);
    if (!decimals.isEmpty() && (separator.isEmpty() || !decimals.startsWith(separator) ||
                                !allDigits(decimals.sliced(separator.size())))) {
        return std::nullopt;
    }
    QString metres = text.first(plus).toString();
    metres += afterPlus;
    return metres;
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
    const std::optional<QString> metres = kilometreFormAsMetres(withoutBlanks(text), separator);
    const std::optional<double> value = TextToNumber(metres ? *metres : text, locale);
    if (!value || !(std::abs(*value) <= MaxChainage)) {
        return std::nullopt;
    }
    return value;
}

} // namespace pendrio
