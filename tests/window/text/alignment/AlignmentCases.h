// The calculations the alignment files are read back for, by the LandXML
// test and by the web-ifc check: a crest, a sag, equal gradients, 256
// sections, and the crest again under the German locale.
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
    bool german;          // written with German as the default QLocale and the C locale
};

inline void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << c.name;
}

// The crest is the one the README shows: 800 m from +1.5 % to -2.5 %; the
// others about 312.5 m, 250 m and 1000 m.
inline constexpr std::array<AlignmentCase, 5> AlignmentCases{{
    {"crest", 15748031.496, 0, 0.859372, -1.432096, 16, 0, false},
    {"sag", 6151574.8, 2430226, -1.2, 0.5, 7, 1020.5, false},
    {"equal-gradients", 4921259.8425, -68897.6, 0.3, 0.3, 5, 12345.678, false},
    {"full-table", 19685039.37, 1737204.72, 1.145763, -0.572939, 256, -50, false},
    {"crest-german", 15748031.496, 0, 0.859372, -1.432096, 16, 1020, true},
}};

// The calculation as the main window would hold it after "Calculate".
inline ProfileState Calculated(const AlignmentCase& c) {
    ProfileState state;
    state.TrackLength = c.trackLength;
    state.SectionHeight.at(1) = c.startHeight;
    state.StartGradient = DegreesToRadians(c.startDegrees);
    state.EndGradient = DegreesToRadians(c.endDegrees);
    state.SectionCount = c.sections;
    if (!CalculateProfile(state)) {
        state.SectionCount = 0; // never for these cases; a test then fails on it
    }
    return state;
}

// The engine's height at the start of section i (1..sections + 1), in track
// units; the end of 256 sections lies beyond the table, where the engine's
// own total rise gives it.
inline double EngineHeight(const ProfileState& state, int i) {
    if (i <= MaxSections) {
        return state.SectionHeight.at(i);
    }
    return state.SectionHeight.at(1) + (state.StartRise + state.CurveRise);
}

} // namespace pendrio::testing
