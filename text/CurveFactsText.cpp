#include "text/CurveFactsText.h"

#include "text/NumberText.h"

#include <QCoreApplication>

#include <cmath>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::CurveFactsText)
};

} // namespace

// Whole track units, as the inputs are typed, and metres to the millimetre,
// as a planner reads them; a length too small for either is written with
// three significant digits, never as 0.
QString LengthText(double units, const QLocale& locale, LengthUnit lead) {
    const auto shown = [&](double value, int places) {
        const double rounded = RoundHalfEven(value, places);
        return NumberToText(rounded == 0 && value != 0 ? RoundToSignificant(value, 3) : rounded,
                            locale);
    };
    const QString trackUnits = shown(units, 0);
    const QString metres = shown(units / UnitsPerMetre, 3);
    return lead == LengthUnit::Metres ? Text::tr("%1 m (%2 track units)").arg(metres, trackUnits)
                                      : Text::tr("%1 track units (%2 m)").arg(trackUnits, metres);
}

namespace {

QString beyondRange() {
    return Text::tr("beyond range");
}

QString optionalLengthText(const std::optional<double>& units, const QLocale& locale,
                           LengthUnit lead) {
    return units ? LengthText(*units, locale, lead) : beyondRange();
}

QString kindLine(const CurveFacts& facts, const QLocale& locale, LengthUnit lead) {
    if (!facts.Kind) {
        return Text::tr("Kind of curve beyond range");
    }
    switch (*facts.Kind) {
    case CurveKind::StraightIncline:
        return Text::tr("Straight incline, vertical radius ∞");
    case CurveKind::Crest:
        return Text::tr("Crest, vertical radius %1")
            .arg(optionalLengthText(facts.VerticalRadius, locale, lead));
    case CurveKind::Sag:
        return Text::tr("Sag, vertical radius %1")
            .arg(optionalLengthText(facts.VerticalRadius, locale, lead));
    }
    return {};
}

// Where the high or low point lies: "at the start", "5905512 track units
// (300 m) from the start", ...
QString extremePlace(const CurveExtreme& extreme, const QLocale& locale, LengthUnit lead) {
    switch (extreme.Place) {
    case ExtremePlace::AtStart:
        return Text::tr("at the start");
    case ExtremePlace::AtEnd:
        return Text::tr("at the end");
    case ExtremePlace::Inside:
        break;
    }
    return extreme.Distance
               ? Text::tr("%1 from the start").arg(LengthText(*extreme.Distance, locale, lead))
               : Text::tr("inside the stretch, distance beyond range");
}

// "High point 5905512 track units (300 m) from the start, 44291 track units
// (2.25 m) above it". A crest's high point is never below the start and a
// sag's low point never above it, so the word carries the sign.
QString extremeLine(CurveKind kind, const std::optional<CurveExtreme>& extreme,
                    const QLocale& locale, LengthUnit lead) {
    const bool crest = kind == CurveKind::Crest;
    if (!extreme) {
        return crest ? Text::tr("High point %1").arg(beyondRange())
                     : Text::tr("Low point %1").arg(beyondRange());
    }
    const QString place = extremePlace(*extreme, locale, lead);
    if (extreme->Place == ExtremePlace::AtStart) {
        return crest ? Text::tr("High point %1").arg(place) : Text::tr("Low point %1").arg(place);
    }
    if (!extreme->AboveStart) {
        return crest ? Text::tr("High point %1, height beyond range").arg(place)
                     : Text::tr("Low point %1, height beyond range").arg(place);
    }
    const QString height = LengthText(std::abs(*extreme->AboveStart), locale, lead);
    return crest ? Text::tr("High point %1, %2 above the start").arg(place, height)
                 : Text::tr("Low point %1, %2 below the start").arg(place, height);
}

} // namespace

QStringList CurveFactsLines(const CurveFacts& facts, const QLocale& locale, LengthUnit lead) {
    QStringList lines{kindLine(facts, locale, lead)};
    if (facts.Kind && *facts.Kind != CurveKind::StraightIncline) {
        lines << extremeLine(*facts.Kind, facts.Extreme, locale, lead);
    }
    lines << Text::tr("Total rise %1").arg(optionalLengthText(facts.TotalRise, locale, lead));
    return lines;
}

} // namespace pendrio
