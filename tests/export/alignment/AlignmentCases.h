// The calculations the alignment files are read back for, by the LandXML
// test and by the web-ifc check: the README's crest (800 m, +1.5 % to
// -2.5 %), a sag, equal gradients and 256 sections.
#pragma once

#include "profile/CalculateProfile.h"

#include <array>
#include <cstdint>
#include <ostream>

namespace pendrio::testing {

struct AlignmentCase {
    const char* name;
    double trackLength; // track units, as typed in the main window
    double startHeight; // track units
    double startDegrees;
    double endDegrees;
    std::int16_t sections;
    double startChainage; // metres
};

inline void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << c.name;
}

inline constexpr std::array<AlignmentCase, 4> AlignmentCases{{
    {"crest", 15748031.496, 0, 0.859372, -1.432096, 16, 0},
    {"sag", 6151574.8, 2430226, -1.2, 0.5, 7, 1020.5},
    {"equal_gradients", 4921259.8425, -68897.6, 0.3, 0.3, 5, 12345.678},
    {"full_table", 19685039.37, 1737204.72, 1.145763, -0.572939, 256, -50},
}};

// As the main window holds it after "Calculate"; no sections if it fails.
inline ProfileState Calculated(const AlignmentCase& c) {
    ProfileState state;
    state.TrackLength = c.trackLength;
    state.SectionHeight.at(1) = c.startHeight;
    state.StartGradient = DegreesToRadians(c.startDegrees);
    state.EndGradient = DegreesToRadians(c.endDegrees);
    state.SectionCount = c.sections;
    if (!CalculateProfile(state)) {
        state.SectionCount = 0;
    }
    return state;
}

// The engine's height in metres at the start of section i (1..sections + 1);
// the end of 256 sections lies beyond the table, at the engine's total rise.
inline double EngineMetres(const ProfileState& state, int i) {
    const double units = i <= MaxSections
                             ? state.SectionHeight.at(i)
                             : state.SectionHeight.at(1) + (state.StartRise + state.CurveRise);
    return units / UnitsPerMetre;
}

} // namespace pendrio::testing
