#include "window/text/CurveFactsText.h"

#include "window/text/NumberText.h"

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
QString LengthText(double units, const QLocale& locale) {
    const auto shown = [&](double value, int places) {
        const double rounded = RoundHalfEven(value, places);
        return NumberToText(rounded == 0 && value != 0 ? RoundToSignificant(value, 3) : rounded,
                            locale);
    };
    return Text::tr("%1 track units (%2 m)").arg(shown(units, 0), shown(units / UnitsPerMetre, 3));
}

namespace {

QString beyondRange() {
    return Text::tr("beyond range");
}

QString optionalLengthText(const std::optional<double>& units, const QLocale& locale) {
    return units ? LengthText(*units, locale) : beyondRange();
}

QString kindLine(const CurveFacts& facts, const QLocale& locale) {
    if (!facts.Kind) {
        return Text::tr("Kind of curve beyond range");
    }
    switch (*facts.Kind) {
    case CurveKind::StraightIncline:
        return Text::tr("Straight incline, vertical radius ∞");
    case CurveKind::Crest:
        return Text::tr("Crest, vertical radius %1")
            .arg(optionalLengthText(facts.VerticalRadius, locale));
    case CurveKind::Sag:
        return Text::tr("Sag, vertical radius %1")
            .arg(optionalLengthText(facts.VerticalRadius, locale));
    }
    return {};
}

// Where the high or low point lies: "at the start", "5905512 track units
// (300 m) from the start", ...
QString extremePlace(const CurveExtreme& extreme, const QLocale& locale) {
    switch (extreme.Place) {
    case ExtremePlace::AtStart:
        return Text::tr("at the start");
    case ExtremePlace::AtEnd:
        return Text::tr("at the end");
    case ExtremePlace::Inside:
        break;
    }
    return extreme.Distance
               ? Text::tr("%1 from the start").arg(LengthText(*extreme.Distance, locale))
               : Text::tr("inside the stretch, distance beyond range");
}

// "High point 5905512 track units (300 m) from the start, 44291 track units
// (2.25 m) above it". A crest's high point is never below the start and a
// sag's low point never above it, so the word carries the sign.
QString extremeLine(CurveKind kind, const std::optional<CurveExtreme>& extreme,
                    const QLocale& locale) {
    const bool crest = kind == CurveKind::Crest;
    if (!extreme) {
        return crest ? Text::tr("High point %1").arg(beyondRange())
                     : Text::tr("Low point %1").arg(beyondRange());
    }
    const QString place = extremePlace(*extreme, locale);
    if (extreme->Place == ExtremePlace::AtStart) {
        return crest ? Text::tr("High point %1").arg(place) : Text::tr("Low point %1").arg(place);
    }
    if (!extreme->AboveStart) {
        return crest ? Text::tr("High point %1, height beyond range").arg(place)
                     : Text::tr("Low point %1, height beyond range").arg(place);
    }
    const QString height = LengthText(std::abs(*extreme->AboveStart), locale);
    return crest ? Text::tr("High point %1, %2 above the start").arg(place, height)
                 : Text::tr("Low point %1, %2 below the start").arg(place, height);
}

} // namespace

QStringList CurveFactsLines(const CurveFacts& facts, const QLocale& locale) {
    QStringList lines{kindLine(facts, locale)};
    if (facts.Kind && *facts.Kind != CurveKind::StraightIncline) {
        lines << extremeLine(*facts.Kind, facts.Extreme, locale);
    }
    lines << Text::tr("Total rise %1").arg(optionalLengthText(facts.TotalRise, locale));
    return lines;
}

} // namespace pendrio
