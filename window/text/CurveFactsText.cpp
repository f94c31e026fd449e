#include "window/text/CurveFactsText.h"

#include "window/text/NumberText.h"

#include <cmath>

namespace pendrio {

// Whole track units, as the inputs are typed, and metres to the millimetre,
// as a planner reads them.
QString LengthText(double units, const QLocale& locale) {
    return QStringLiteral("%1 track units (%2 m)")
        .arg(NumberToText(RoundHalfEven(units, 0), locale),
             NumberToText(RoundHalfEven(units / UnitsPerMetre, 3), locale));
}

namespace {

const QString BeyondRange = QStringLiteral("beyond range");

QString optionalLengthText(const std::optional<double>& units, const QLocale& locale) {
    return units ? LengthText(*units, locale) : BeyondRange;
}

QString kindLine(const CurveFacts& facts, const QLocale& locale) {
    if (!facts.Kind) {
        return QStringLiteral("Kind of curve beyond range");
    }
    switch (*facts.Kind) {
    case CurveKind::StraightIncline:
        return QStringLiteral("Straight incline, vertical radius ∞");
    case CurveKind::Crest:
        return QStringLiteral("Crest, vertical radius ") +
               optionalLengthText(facts.VerticalRadius, locale);
    case CurveKind::Sag:
        return QStringLiteral("Sag, vertical radius ") +
               optionalLengthText(facts.VerticalRadius, locale);
    }
    return {};
}

// "High point 5905512 track units (300 m) from the start, 44291 track units
// (2.25 m) above it". A crest's high point is never below the start and a
// sag's low point never above it, so the word carries the sign.
QString extremeLine(CurveKind kind, const std::optional<CurveExtreme>& extreme,
                    const QLocale& locale) {
    const bool crest = kind == CurveKind::Crest;
    QString line = crest ? QStringLiteral("High point ") : QStringLiteral("Low point ");
    if (!extreme) {
        return line + BeyondRange;
    }
    switch (extreme->Place) {
    case ExtremePlace::AtStart:
        return line + QStringLiteral("at the start");
    case ExtremePlace::AtEnd:
        line += QStringLiteral("at the end");
        break;
    case ExtremePlace::Inside:
        line += extreme->Distance
                    ? LengthText(*extreme->Distance, locale) + QStringLiteral(" from the start")
                    : QStringLiteral("inside the stretch, distance beyond range");
        break;
    }
    if (!extreme->AboveStart) {
        return line + QStringLiteral(", height beyond range");
    }
    return line + QStringLiteral(", ") + LengthText(std::abs(*extreme->AboveStart), locale) +
           (crest ? QStringLiteral(" above the start") : QStringLiteral(" below the start"));
}

} // namespace

QStringList CurveFactsLines(const CurveFacts& facts, const QLocale& locale) {
    QStringList lines{kindLine(facts, locale)};
    if (facts.Kind && *facts.Kind != CurveKind::StraightIncline) {
        lines << extremeLine(*facts.Kind, facts.Extreme, locale);
    }
    lines << QStringLiteral("Total rise ") + optionalLengthText(facts.TotalRise, locale);
    return lines;
}

} // namespace pendrio
