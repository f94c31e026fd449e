#include "text/AlignmentNumbers.h"

#include "profile/CurveFacts.h"
#include "profile/Transcendental.h"
#include "text/AlignmentFiles.h"
#include "text/NumberText.h"

#include <QCoreApplication>

#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>

namespace pendrio {

namespace {

constexpr char TranslationContext[] = "pendrio::AlignmentFiles";
#define N(text) QT_TRANSLATE_NOOP("pendrio::AlignmentFiles", text)

QString translated(const char* text) {
    return QCoreApplication::translate(TranslationContext, text);
}

bool allFinite(std::initializer_list<double> values) {
    for (double value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// Every length, height and chainage a file holds, named as the refusal names it.
std::optional<QString> beyondBound(const AlignmentNumbers& numbers) {
    struct Held {
        double metres;
        const char* name;
    };
    const std::array<Held, 6> held{{
        {numbers.Length, N("The length of the stretch")},
        {numbers.StartChainage, N("The chainage at the start")},
        {numbers.EndChainage, N("The chainage at the end")},
        {numbers.StartHeight, N("The height at the start")},
        {numbers.EndHeight, N("The height at the end")},
        {numbers.IntersectionHeight, N("The height where the tangents meet")},
    }};
    for (const Held& value : held) {
        if (!(std::abs(value.metres) <= MaxAlignmentMetres)) {
            return translated(N("%1 lies beyond ±%2 m, more than an alignment file holds "
                                "to the millimetre."))
                .arg(translated(value.name), NumberToText(MaxAlignmentMetres));
        }
    }
    return std::nullopt;
}

} // namespace

std::variant<AlignmentNumbers, QString> NumbersForAlignment(const ProfileState& profile,
                                                            double startChainage) {
    const double units = profile.TrackLength;
    const double startUnits = profile.SectionHeight.at(1);
    const double startSlope = Tan(profile.StartGradient);
    const double endSlope = Tan(profile.EndGradient);
    if (!allFinite({units, startUnits, startSlope, endSlope})) {
        return translated(N("The calculation holds a value that is not a finite number."));
    }
    if (!std::isfinite(startChainage)) {
        return translated(N("The chainage at the start is not a finite number."));
    }
    AlignmentNumbers numbers;
    numbers.Length = units / UnitsPerMetre;
    if (!(numbers.Length >= MinAlignmentLength)) {
        return translated(N("The stretch is %1 m long; an alignment file needs at least %2 m."))
            .arg(ShortNumberText(numbers.Length, 3), NumberToText(MinAlignmentLength));
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
    if (std::optional<QString> refusal = beyondBound(numbers)) {
        return *refusal;
    }
    if (facts.Kind != CurveKind::StraightIncline) {
        // Height = start + g1 d + (g2 - g1) / (2 L) d^2, whose curvature at the
        // vertex is (g2 - g1) / L.
        numbers.Radius = numbers.Length / (endSlope - startSlope);
        if (!std::isfinite(*numbers.Radius)) {
            return translated(N("The gradients differ so little that the curve's radius is "
                                "beyond the largest number a file holds."));
        }
    }
    return numbers;
}

QString WhyNoAlignmentFile(const ProfileState& profile, double startChainage) {
    const auto numbers = NumbersForAlignment(profile, startChainage);
    const QString* refusal = std::get_if<QString>(&numbers);
    return refusal ? *refusal : QString();
}

QByteArray ShortestNumberText(double value) {
    // Longest: "-2.2250738585072014e-308", 24 characters.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QByteArray(buffer.data(), result.ptr - buffer.data());
}

} // namespace pendrio
