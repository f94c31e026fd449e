#include "text/CurveFactsText.h"

#include "text/NumberText.h"

#include <QCoreApplication>

#include <cmath>
#include <utility>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::CurveFactsText)
};

// Comfort rules give the vertical acceleration in tenths of m/s²: three
// digits show how near a curve comes to one.
constexpr int AccelerationDigits = 3;
// A gradient in degrees as the main window shows it, less the last digits
// that the conversion through radians leaves uncertain (135 reads back as
// 135.00000000000003).
constexpr int DegreeDigits = 12;

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

// "K 200 m (3937008 track units) per 1 % change of gradient".
QString kLine(const CurveFacts& facts, const QLocale& locale, LengthUnit lead) {
    return Text::tr("K %1 per 1 % change of gradient")
        .arg(optionalLengthText(facts.KValue, locale, lead));
}

// "At 160 km/h, vertical acceleration 0.0988 m/s² on the smallest radius".
QString speedLine(const SpeedFact& fact, const QLocale& locale) {
    const QString speed = NumberToText(fact.Speed, locale);
    return fact.Acceleration
               ? Text::tr("At %1 km/h, vertical acceleration %2 m/s² on the smallest radius")
                     .arg(speed, ShortNumberText(*fact.Acceleration, AccelerationDigits, locale))
               : Text::tr("At %1 km/h, vertical acceleration beyond range").arg(speed);
}

QString degreesText(double radians, const QLocale& locale) {
    return NumberToText(RadiansToDegrees(radians), locale, DegreeDigits);
}

// "Start gradient 135° acts as -45° (its tangent)", one line for both ends.
QString steepLine(const CurveFacts& facts, const QLocale& locale) {
    const auto actsAs = [&](const SteepGradient& steep) {
        return std::pair{degreesText(steep.Given, locale), degreesText(steep.ActsAs, locale)};
    };
    if (facts.SteepStart && facts.SteepEnd) {
        const auto [start, startActs] = actsAs(*facts.SteepStart);
        const auto [end, endActs] = actsAs(*facts.SteepEnd);
        return Text::tr("Start gradient %1° acts as %2°, end gradient %3° as %4° (their tangents)")
            .arg(start, startActs, end, endActs);
    }
    if (facts.SteepStart) {
        const auto [given, acts] = actsAs(*facts.SteepStart);
        return Text::tr("Start gradient %1° acts as %2° (its tangent)").arg(given, acts);
    }
    const auto [given, acts] = actsAs(*facts.SteepEnd);
    return Text::tr("End gradient %1° acts as %2° (its tangent)").arg(given, acts);
}

} // namespace

QStringList CurveFactsLines(const CurveFacts& facts, const QLocale& locale, LengthUnit lead) {
    QStringList lines{kindLine(facts, locale, lead)};
    const bool bends = facts.Kind && *facts.Kind != CurveKind::StraightIncline;
    if (bends) {
        lines << kLine(facts, locale, lead)
              << extremeLine(*facts.Kind, facts.Extreme, locale, lead);
    }
    lines << Text::tr("Total rise %1").arg(optionalLengthText(facts.TotalRise, locale, lead));
    if (facts.AtDesignSpeed) {
        lines << speedLine(*facts.AtDesignSpeed, locale);
    }
    if (facts.SteepStart || facts.SteepEnd) {
        lines << steepLine(facts, locale);
    }
    return lines;
}

} // namespace pendrio
