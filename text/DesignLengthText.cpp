#include "text/DesignLengthText.h"

#include <QCoreApplication>

#include <array>
#include <cstddef>

namespace pendrio {

namespace {

// One reason for each DesignLengthProblem after None, in its order.
constexpr std::array<const char*, 8> Reasons = {
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length gives a curve: the gradients are equal"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length: the radius must be a positive number"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText", "beyond range"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length: the values must be positive numbers"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length: the point lies at or before the start of the stretch"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length: the point is on or above the crest's start tangent"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length: the point is on or below the sag's start tangent"),
    QT_TRANSLATE_NOOP("pendrio::DesignLengthText",
                      "no length: the point lies beyond the curve's end for every length"),
};
static_assert(static_cast<std::size_t>(DesignLengthProblem::PointBeyondEnd) == Reasons.size());

} // namespace

Outcome<double> DesignLengthOutcome(const DesignLength& design) {
    if (design.Length && design.Problem == DesignLengthProblem::None) {
        return *design.Length;
    }
    // A length missing without a problem cannot be: beyond range, to be safe.
    const DesignLengthProblem problem = design.Problem == DesignLengthProblem::None
                                            ? DesignLengthProblem::BeyondRange
                                            : design.Problem;
    const auto index = static_cast<std::size_t>(problem) - 1;
    return Outcome<double>::Refused(
        QCoreApplication::translate("pendrio::DesignLengthText", Reasons.at(index)));
}

} // namespace pendrio
