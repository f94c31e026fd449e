#include "CalculateProfile.h"

#include "maths/Transcendental.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pendrio {

namespace {

// Everything CalculateProfile writes, so that it can work on a copy and store
// the lot only when it has succeeded.
struct Results {
    double SectionLength;
    double CurveRise;
    double StartRise;
    SectionTable SectionHeight;
    SectionTable SectionCoeff1;
    SectionTable SectionCoeff2;
    SectionTable SectionStartAngle;
    SectionTable SectionEndAngle;
};

bool finite(double value) {
    return std::isfinite(value);
}

// The steps below run in a fixed order, each operation one rounding, so that
// the numbers agree to the last bit with the hand calculation; do not
// "simplify" them algebraically.
bool calculateInto(const ProfileState& in, Results& out) {
    const double L = in.TrackLength;
    const int N = in.SectionCount;
    const double a0 = in.StartGradient;
    const double a1 = in.EndGradient;
    const double H0 = in.SectionHeight.at(1);
    if (N < 1 || N > MaxSections) {
        return false;
    }

    // The tangent of every section boundary, each worked out once: entry 0 at
    // the start of section 1, entry i at the end of section i (and the start
    // of section i + 1, whose start angle is the same double).
    std::array<double, MaxSections + 1> boundaryTan;
    boundaryTan[0] = Tan(a0);

    out.SectionLength = L / N;
    out.CurveRise = ((Tan(a1) - boundaryTan[0]) / 2.0) * L;
    out.StartRise = boundaryTan[0] * L;
    out.SectionStartAngle.at(1) = a0;
    const double doubledCurveRise = out.CurveRise + out.CurveRise;
    if (!finite(out.SectionLength) || !finite(out.CurveRise) || !finite(out.StartRise) ||
        !finite(a0) || !finite(doubledCurveRise)) {
        return false;
    }

    // First pass: the gradient at the end of each section and the height of
    // the parabola there, both straight from the whole-stretch parabola.
    for (int i = 1; i <= N; ++i) {
        const double x = static_cast<double>(i) / N;
        const double endSlope = (out.StartRise + x * doubledCurveRise) / L;
        if (!finite(endSlope)) {
            return false;
        }
        out.SectionEndAngle.at(i) = Atan(endSlope);
        boundaryTan.at(i) = Tan(out.SectionEndAngle.at(i));
        if (i + 1 <= MaxSections) {
            out.SectionStartAngle.at(i + 1) = out.SectionEndAngle.at(i);
            const double height = H0 + ((x * out.StartRise) + (x * x * out.CurveRise));
            if (!finite(height)) {
                return false;
            }
            out.SectionHeight.at(i + 1) = height;
        }
    }

    // Second pass: each section's own parabola over t in [0, 1].
    for (int i = 1; i <= N; ++i) {
        const double startTan = boundaryTan.at(i - 1);
        const double halfTanChange = (boundaryTan.at(i) - startTan) / 2.0;
        const double coeff2 = out.SectionLength * halfTanChange;
        const double coeff1 = out.SectionLength * startTan;
        if (!finite(halfTanChange) || !finite(coeff2) || !finite(coeff1)) {
            return false;
        }
        out.SectionCoeff2.at(i) = coeff2;
        out.SectionCoeff1.at(i) = coeff1;
    }
    return true;
}

void copyEntries(const SectionTable& from, SectionTable& to, int first, int last) {
    for (int i = first; i <= last; ++i) {
        to.at(i) = from.at(i);
    }
}

} // namespace

bool CalculateProfile(ProfileState& state) {
    // Only the entries that the calculation writes are ever read back, so the
    // scratch tables need no initial values.
    Results results;
    if (!calculateInto(state, results)) {
        return false;
    }
    const int N = state.SectionCount;
    const int lastStart = std::min(N + 1, MaxSections); // section N + 1 starts where N ends
    state.SectionLength = results.SectionLength;
    state.CurveRise = results.CurveRise;
    state.StartRise = results.StartRise;
    copyEntries(results.SectionHeight, state.SectionHeight, 2, lastStart);
    copyEntries(results.SectionStartAngle, state.SectionStartAngle, 1, lastStart);
    copyEntries(results.SectionEndAngle, state.SectionEndAngle, 1, N);
    copyEntries(results.SectionCoeff1, state.SectionCoeff1, 1, N);
    copyEntries(results.SectionCoeff2, state.SectionCoeff2, 1, N);
    return true;
}

} // namespace pendrio
