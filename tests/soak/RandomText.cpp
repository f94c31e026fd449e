#include "RandomText.h"

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

namespace pendrio::soak {

namespace {

QString digits(Rng& rng, int count) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text += QChar(u'0' + roll(rng, 0, 9));
    }
    return text;
}

} // namespace

std::uint64_t chosenSeed(std::uint64_t fallback) {
    const QByteArray text = qgetenv("PENDRIO_SOAK_SEED");
    if (text.isEmpty()) {
        return fallback;
    }
    if (text == "random") {
        return std::random_device{}();
    }
    bool ok = false;
    const std::uint64_t seed = text.toULongLong(&ok);
    if (!ok) {
        qFatal("PENDRIO_SOAK_SEED must be a number or \"random\", not %s", text.constData());
    }
    return seed;
}

int chosenActionCount(int fallback) {
    const QByteArray text = qgetenv("PENDRIO_SOAK_ACTIONS");
    if (text.isEmpty()) {
        return fallback;
    }
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1) {
        qFatal("PENDRIO_SOAK_ACTIONS must be a positive number, not %s", text.constData());
    }
    return count;
}

QString randomText(Rng& rng, const QString& point, const QString& other) {
    const auto number = [&] {
        QString text = chance(rng, 30) ? "-" : "";
        text += digits(rng, roll(rng, 1, 6));
        return chance(rng, 50) ? text + point + digits(rng, roll(rng, 1, 8)) : text;
    };
    // Edges of the double and int16 ranges, of the steepest gradient the window
    // takes, and texts that almost look like numbers.
    static const QStringList edges =
        QStringLiteral("1E308|1E400|-1E400|1E-400|1.7976931348623157E308|1.79769313486232E308|"
                       "1.8E308|4.9E-324|2.2250738585072014E-308|5.7E307|6E307|-1E307|1E15|"
                       "123456789012345678|32767|32768|-32768|-32769|32767.5|256.5|255.5|2.5|"
                       "0.5|-0.5|0|-0|000|inf|-inf|nan|Infinity|0x10|1e|e5|+|-|.|1e+-5|--2|"
                       "+-2|1 000|12abc|1.|.5|-.5|+.5|1E+05|1E-05|90|-90|89.9999|180|270|"
                       "1968503.937")
            .split(u'|');
    static const char* const exponents[] = {"0",   "5",    "15",   "-5",   "+300", "307",  "308",
                                            "309", "-308", "-324", "-325", "400",  "-400", "99999"};
    static const char* const blanks[] = {" ", "  ", "\t", " \t "};
    static const char16_t* const unicode[] = {u"\u0661\u0662", u"\uff11\uff12", u"\u22125",
                                              u"5\u00a0",      u"\u00bd",       u"1\u20082"};
    switch (roll(rng, 0, 16)) {
    case 0:
    case 10:
        return number();
    case 1:
    case 11:
    case 12:
        return QString::number(roll(rng, -20, 400)) + (chance(rng, 20) ? point + "5" : "");
    case 2:
        return number() + pickOf(rng, {"e", "E"}) + pickOf(rng, exponents);
    case 3:
    case 13:
    case 14:
        return QString(edges[roll(rng, 0, int(edges.size()) - 1)]).replace(u'.', point);
    case 4: // the other locale's separator, as a decimal point or digit grouping
        return digits(rng, roll(rng, 1, 4)) + other + digits(rng, roll(rng, 1, 3));
    case 5:
        return {};
    case 6:
        return pickOf(rng, blanks) + number() + pickOf(rng, blanks);
    case 7: {
        QString text;
        for (int n = roll(rng, 1, 12); n > 0; --n) {
            text += QString("0123456789+-eE.,  x#%/")[roll(rng, 0, 21)];
        }
        return text;
    }
    case 15:
    case 16: // near the top of the double range, where sums and products overflow
        return (chance(rng, 30) ? "-1" : "1") + point + digits(rng, 2) +
               pickOf(rng, {"E307", "E308"});
    case 8:
        break;
    default:
        return QString::fromUtf16(pickOf(rng, unicode));
    }
    const int n = roll(rng, 1000, 6000); // thousands of characters
    switch (roll(rng, 0, 5)) {
    case 0:
        return digits(rng, n); // far beyond the double range
    case 1:
        return "0" + point + QString(n, u'0') + "1"; // below the smallest double
    case 2:
        return QString(n, u'0') + digits(rng, 3);
    case 3:
        return QString(n, u' ') + number() + QString(n / 2, u' ');
    case 4:
        return "1" + point + digits(rng, n) + "E-" + QString::number(n - 10);
    default:
        return QString(n, u'7') + "x";
    }
}

} // namespace pendrio::soak
