// Reproduces the worked example with the installed engine: 1000 units of
// track in 2 sections, from level to a gradient of 1 in 10. Exits non-zero
// unless every result is exactly the hand-calculated value.
#include <profile/CalculateProfile.h>

#include <cmath>
#include <cstdio>

namespace {

int failures = 0;

void expectExactly(const char* name, double actual, double expected) {
    if (actual == expected) {
        std::printf("ok    %-22s = %.17g\n", name, actual);
    } else {
        std::printf("FAIL  %-22s = %.17g, expected %.17g\n", name, actual, expected);
        ++failures;
    }
}

} // namespace

int main() {
    pendrio::ProfileState state;
    state.TrackLength = 1000;
    state.SectionCount = 2;
    state.StartGradient = 0;
    state.EndGradient = std::atan(0.1);
    state.SectionHeight.at(1) = 0;

    if (!pendrio::CalculateProfile(state)) {
        std::printf("FAIL  CalculateProfile refused the worked example\n");
        return 1;
    }

    expectExactly("SectionLength", state.SectionLength, 500);
    expectExactly("CurveRise", state.CurveRise, 50);
    expectExactly("SectionHeight.at(2)", state.SectionHeight.at(2), 12.5);
    expectExactly("SectionHeight.at(3)", state.SectionHeight.at(3), 50);
    expectExactly("SectionCoeff1.at(2)", state.SectionCoeff1.at(2), 25);
    expectExactly("SectionCoeff2.at(1)", state.SectionCoeff2.at(1), 12.5);

    if (failures != 0) {
        std::printf("%d of 6 results differ from the worked example\n", failures);
        return 1;
    }
    std::printf("the installed engine reproduces the worked example\n");
    return 0;
}
