#include "export/AlignmentNumbers.h"

#include "export/AlignmentFiles.h"
#include "profile/CurveFacts.h"
#include "maths/Transcendental.h"
#include "text/NumberText.h"

#include <QCoreApplication>

#include <array>
#include <cmath>
#include <initializer_list>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::AlignmentFiles)
};

bool allFinite(std::initializer_list<double> values) {
    for (double value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// Every length, height and chainage a file holds, named as the refusal names
// it; the names are marked here and translated in the sentence.
Done withinBound(const AlignmentNumbers& numbers) {
    struct Held {
        double metres;
        const char* name;
    };
    const std::array<Held, 6> held{{
        {numbers.Length, QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", "The length of the stretch")},
        {numbers.StartChainage,
         QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", "The chainage at the start")},
        {numbers.EndChainage,
         QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", "The chainage at the end")},
        {numbers.StartHeight,
         QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", "The height at the start")},
        {numbers.EndHeight, QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", "The height at the end")},
        {numbers.IntersectionHeight,
         QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", "The height where the tangents meet")},
    }};
    for (const Held& value : held) {
        if (!(std::abs(value.metres) <= MaxAlignmentMetres)) {
            return Done::Refused(Text::tr("%1 lies beyond ±%2 m, more than an alignment file "
                                          "holds to the millimetre.")
                                     .arg(Text::tr(value.name), NumberToText(MaxAlignmentMetres)));
        }
    }
    return {};
}

} // namespace

Outcome<AlignmentNumbers> NumbersForAlignment(const ProfileState& profile, double startChainage) {
    using Refusal = Outcome<AlignmentNumbers>;
    const double units = profile.TrackLength;
    const double startUnits = profile.SectionHeight.at(1);
    const double startSlope = Tan(profile.StartGradient);
    const double endSlope = Tan(profile.EndGradient);
    if (!allFinite({units, startUnits, startSlope, endSlope})) {
        return Refusal::Refused(
            Text::tr("The calculation holds a value that is not a finite number."));
    }
    if (!std::isfinite(startChainage)) {
        return Refusal::Refused(Text::tr("The chainage at the start is not a finite number."));
    }
    AlignmentNumbers numbers;
    numbers.Length = units / UnitsPerMetre;
    if (!(numbers.Length >= MinAlignmentLength)) {
        return Refusal::Refused(
            Text::tr("The stretch is %1 m long; an alignment file needs at least %2 m.")
                .arg(ShortNumberText(numbers.Length, 3), NumberToText(MinAlignmentLength)));
    }
    // The engine's own total rise, so that the height at the end is the one
    // the section table ends on, to the last bit.
    const CurveFacts facts = ComputeCurveFacts(profile);
    numbers.StartChainage = startChainage;
    numbers.EndChainage = startChainage + numbers.Length;
    numbers.StartHeight = startUnits / UnitsPerMetre;
    numbers.EndHeight =
        facts.TotalRise ? (startUnits + *facts.TotalRise) / UnitsPerMetre : HUGE_VAL;
    numbers.StartSlope = startSlope;
    numbers.EndSlope = endSlope;
    numbers.IntersectionHeight = numbers.StartHeight + startSlope * (numbers.Length / 2);
    if (const Done held = withinBound(numbers); !held) {
        return Refusal::Refused(held.reason());
    }
    if (facts.Kind != CurveKind::StraightIncline) {
        // Height = start + g1 d + (g2 - g1) / (2 L) d^2, whose curvature at the
        // vertex is (g2 - g1) / L.
        numbers.Radius = numbers.Length / (endSlope - startSlope);
        if (!std::isfinite(*numbers.Radius)) {
            return Refusal::Refused(Text::tr("The gradients differ so little that the curve's "
                                             "radius is beyond the largest number a file holds."));
        }
    }
    return numbers;
}

Done CanWriteAlignment(const ProfileState& profile, double startChainage) {
    const Outcome<AlignmentNumbers> numbers = NumbersForAlignment(profile, startChainage);
    return numbers ? Done() : Done::Refused(numbers.reason());
}

} // namespace pendrio
