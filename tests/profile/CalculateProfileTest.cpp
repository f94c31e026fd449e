#include "profile/CalculateProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using namespace pendrio;

namespace {

std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

// Every stored number compared by its bit pattern, so that a failed calculation
// that "only" changed a sign of zero or a NaN payload is still caught.
void expectBitIdentical(const ProfileState& a, const ProfileState& b) {
    EXPECT_EQ(bits(a.TrackLength), bits(b.TrackLength));
    EXPECT_EQ(a.SectionCount, b.SectionCount);
    EXPECT_EQ(bits(a.StartGradient), bits(b.StartGradient));
    EXPECT_EQ(bits(a.EndGradient), bits(b.EndGradient));
    EXPECT_EQ(a.CurrentSection, b.CurrentSection);
    EXPECT_EQ(bits(a.SectionLength), bits(b.SectionLength));
    EXPECT_EQ(bits(a.StartRise), bits(b.StartRise));
    EXPECT_EQ(bits(a.CurveRise), bits(b.CurveRise));
    for (int i = 0; i <= MaxSections; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bits(a.SectionHeight.at(i)), bits(b.SectionHeight.at(i)));
        EXPECT_EQ(bits(a.SectionCoeff1.at(i)), bits(b.SectionCoeff1.at(i)));
        EXPECT_EQ(bits(a.SectionCoeff2.at(i)), bits(b.SectionCoeff2.at(i)));
        EXPECT_EQ(bits(a.SectionStartAngle.at(i)), bits(b.SectionStartAngle.at(i)));
        EXPECT_EQ(bits(a.SectionEndAngle.at(i)), bits(b.SectionEndAngle.at(i)));
    }
    EXPECT_EQ(a.SavedText, b.SavedText);
}

ProfileState profile(double length, int sections, double startDegrees, double endDegrees,
                     double startHeight = 0) {
    ProfileState state;
    state.TrackLength = length;
    state.SectionCount = static_cast<std::int16_t>(sections);
    state.StartGradient = DegreesToRadians(startDegrees);
    state.EndGradient = DegreesToRadians(endDegrees);
    state.SectionHeight.at(1) = startHeight;
    return state;
}

} // namespace

TEST(ProfileState, StartsWithTheDefaultProfileAndConvertsUnits) {
    const ProfileState state;
    EXPECT_EQ(state.TrackLength, 1968503.937);
    EXPECT_EQ(state.SectionCount, 1);
    EXPECT_EQ(state.CurrentSection, 1);
    EXPECT_EQ(state.StartGradient, 0.0);
    EXPECT_EQ(state.EndGradient, 0.0);
    EXPECT_EQ(state.SectionHeight.at(1), 0.0);
    EXPECT_TRUE(state.SavedText.empty());

    EXPECT_NEAR(state.TrackLength / UnitsPerMetre, 100.0, 1e-12);
    // The 15-digit pi, not M_PI: 1 degree and 90 degrees to the bit.
    EXPECT_EQ(DegreesToRadians(1), 3.14159265358979 / 180);
    EXPECT_NE(DegreesToRadians(90), std::acos(-1.0) / 2);
    EXPECT_EQ(DegreesToRadians(90), 1.570796326794895);
    EXPECT_NEAR(RadiansToDegrees(DegreesToRadians(1)), 1.0, 1e-15);
}

TEST(CalculateProfile, ReproducesTheWorkedExampleToTheLastBit) {
    // Given 1000 units in 2 sections, level at the start and rising 1 in 10 at the end.
    ProfileState state;
    state.TrackLength = 1000;
    state.SectionCount = 2;
    state.EndGradient = std::atan(0.1);
    ASSERT_TRUE(CalculateProfile(state));

    EXPECT_EQ(state.SectionLength, 500.0);
    EXPECT_EQ(state.CurveRise, 50.0);
    EXPECT_EQ(state.StartRise, 0.0);
    EXPECT_EQ(state.SectionStartAngle.at(1), 0.0);
    EXPECT_EQ(state.SectionEndAngle.at(1), std::atan(0.05));
    EXPECT_EQ(state.SectionStartAngle.at(2), std::atan(0.05));
    EXPECT_EQ(state.SectionEndAngle.at(2), std::atan(0.1));
    EXPECT_EQ(state.SectionHeight.at(2), 12.5);
    EXPECT_EQ(state.SectionHeight.at(3), 50.0);
    EXPECT_EQ(state.SectionCoeff1.at(1), 0.0);
    EXPECT_EQ(state.SectionCoeff2.at(1), 12.5);
    EXPECT_EQ(state.SectionCoeff1.at(2), 25.0);
    EXPECT_EQ(state.SectionCoeff2.at(2), 12.5);
}

TEST(CalculateProfile, OneSectionIsTheWholeParabola) {
    ProfileState state = profile(1234.5, 1, -3, 7, 10);
    ASSERT_TRUE(CalculateProfile(state));
    EXPECT_EQ(state.SectionLength, 1234.5);
    EXPECT_NEAR(state.SectionEndAngle.at(1), state.EndGradient, 1e-15);
    EXPECT_EQ(state.SectionHeight.at(2), 10 + (state.StartRise + state.CurveRise));
    EXPECT_EQ(state.SectionCoeff1.at(1), state.StartRise);
    EXPECT_NEAR(state.SectionCoeff2.at(1), state.CurveRise, 1e-9);
}

TEST(CalculateProfile, EqualGradientsGiveAStraightIncline) {
    ProfileState state = profile(5000, 7, 2.5, 2.5, -4);
    ASSERT_TRUE(CalculateProfile(state));
    EXPECT_EQ(state.CurveRise, 0.0);
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(state.SectionStartAngle.at(i), state.StartGradient, 1e-15);
        EXPECT_NEAR(state.SectionEndAngle.at(i), state.StartGradient, 1e-15);
        EXPECT_NEAR(state.SectionCoeff2.at(i), 0.0, 1e-9);
        EXPECT_NEAR(state.SectionHeight.at(i + 1) - state.SectionHeight.at(i),
                    state.SectionCoeff1.at(i), 1e-9);
    }
}

TEST(CalculateProfile, FillsAllSectionsAndLeavesHigherEntriesAlone) {
    // Given a full calculation of 256 sections ...
    ProfileState state = profile(256000, MaxSections, -1, 2, 3);
    ASSERT_TRUE(CalculateProfile(state));
    for (int i = 1; i <= MaxSections; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(state.SectionCoeff1.at(i), 0.0);
        EXPECT_NE(state.SectionEndAngle.at(i), 0.0);
    }
    EXPECT_EQ(state.SectionEndAngle.at(MaxSections), state.EndGradient);
    EXPECT_EQ(state.SectionHeight.at(0), 0.0); // entry 0 is never written

    // ... when it is recalculated with 3 sections and other gradients,
    const ProfileState before = state;
    state.SectionCount = 3;
    state.EndGradient = DegreesToRadians(5);
    ASSERT_TRUE(CalculateProfile(state));

    // then sections 1..3 (and the start of section 4) change and the rest stay.
    EXPECT_NE(state.SectionCoeff2.at(3), before.SectionCoeff2.at(3));
    EXPECT_NE(state.SectionHeight.at(4), before.SectionHeight.at(4));
    EXPECT_NE(state.SectionStartAngle.at(4), before.SectionStartAngle.at(4));
    EXPECT_EQ(state.SectionEndAngle.at(4), before.SectionEndAngle.at(4));
    for (int i = 5; i <= MaxSections; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(state.SectionHeight.at(i), before.SectionHeight.at(i));
        EXPECT_EQ(state.SectionStartAngle.at(i), before.SectionStartAngle.at(i));
    }
    for (int i = 4; i <= MaxSections; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(state.SectionEndAngle.at(i), before.SectionEndAngle.at(i));
        EXPECT_EQ(state.SectionCoeff1.at(i), before.SectionCoeff1.at(i));
        EXPECT_EQ(state.SectionCoeff2.at(i), before.SectionCoeff2.at(i));
    }
}

TEST(CalculateProfile, SteepAndOverturnedGradientsActThroughTheirTangent) {
    // 90 degrees with the 15-digit pi is just short of the pole: huge but finite.
    ProfileState vertical = profile(100, 4, 0, 90);
    ASSERT_TRUE(CalculateProfile(vertical));
    EXPECT_GT(std::tan(vertical.EndGradient), 6.1e14);
    EXPECT_LT(std::tan(vertical.EndGradient), 6.3e14);
    EXPECT_TRUE(std::isfinite(vertical.SectionCoeff2.at(4)));
    EXPECT_GT(vertical.SectionCoeff2.at(4), 1e15);

    // 135 degrees has the slope of -45 degrees, but is kept as entered.
    ProfileState overturned = profile(100, 3, 135, 10);
    ProfileState downhill = profile(100, 3, -45, 10);
    ASSERT_TRUE(CalculateProfile(overturned));
    ASSERT_TRUE(CalculateProfile(downhill));
    EXPECT_EQ(overturned.SectionStartAngle.at(1), DegreesToRadians(135));
    EXPECT_NEAR(overturned.StartRise, downhill.StartRise, 1e-12);
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(overturned.SectionEndAngle.at(i), downhill.SectionEndAngle.at(i), 1e-14);
        EXPECT_NEAR(overturned.SectionHeight.at(i + 1), downhill.SectionHeight.at(i + 1), 1e-12);
        EXPECT_NEAR(overturned.SectionCoeff1.at(i), downhill.SectionCoeff1.at(i), 1e-12);
    }
}

TEST(CalculateProfile, SectionsJoinUpIntoTheWholeParabola) {
    // Each section's own parabola, evaluated at its end, meets the next section's start.
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> length(1, 1e7), height(-1e6, 1e6), degrees(-60, 60);
    std::uniform_int_distribution<int> sections(1, MaxSections);
    for (int run = 0; run < 3000; ++run) {
        ProfileState state = profile(length(random), sections(random), degrees(random),
                                     degrees(random), height(random));
        SCOPED_TRACE(::testing::Message()
                     << "run " << run << " L=" << state.TrackLength << " N=" << state.SectionCount);
        ASSERT_TRUE(CalculateProfile(state));
        const double scale = state.TrackLength * 4 + std::abs(state.SectionHeight.at(1));
        // Section 256 has no entry after it to compare with.
        for (int i = 1; i <= std::min<int>(state.SectionCount, MaxSections - 1); ++i) {
            const double joined =
                state.SectionHeight.at(i) + state.SectionCoeff1.at(i) + state.SectionCoeff2.at(i);
            ASSERT_NEAR(joined, state.SectionHeight.at(i + 1), scale * 1e-12) << "section " << i;
        }
    }
}

TEST(CalculateProfile, FailureLeavesTheStateExactlyAsItWas) {
    const double huge = std::numeric_limits<double>::max();
    struct Row {
        const char* name;
        ProfileState state;
    };
    const Row rows[] = {
        {"zero length", profile(0, 3, 1, 2)},
        {"rise overflows", profile(1e308, 2, 0, 80)},
        {"doubled curve rise overflows", profile(1.5e308, 2, 0, RadiansToDegrees(std::atan(1.9)))},
        {"height overflows", profile(1e300, 4, 10, 20, huge)},
        {"infinite length", profile(std::numeric_limits<double>::infinity(), 1, 0, 0)},
        {"NaN gradient", profile(10, 1, std::nan(""), 0)},
        {"no sections", profile(10, 0, 0, 1)},
        {"too many sections", profile(10, MaxSections + 1, 0, 1)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Given the results of an earlier good calculation and some text ...
        ProfileState state = profile(777, 5, 1, -2, 3);
        ASSERT_TRUE(CalculateProfile(state));
        state.SavedText = "12.5";
        state.CurrentSection = 4;
        // ... and then the failing inputs,
        state.TrackLength = row.state.TrackLength;
        state.SectionCount = row.state.SectionCount;
        state.StartGradient = row.state.StartGradient;
        state.EndGradient = row.state.EndGradient;
        state.SectionHeight.at(1) = row.state.SectionHeight.at(1);
        const ProfileState before = state;

        EXPECT_FALSE(CalculateProfile(state));
        expectBitIdentical(state, before);
    }
}
