// The calculated curve between the section boundaries.
#include "profile/ProfileCurve.h"

#include "profile/CalculateProfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pendrio;

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(ProfileCurve, PointAtADistanceFollowsTheSectionsOwnParabolas) {
    ProfileState profile; // the worked example: 1000 long, 2 sections, 0 to atan(0.1)
    profile.TrackLength = 1000;
    profile.SectionCount = 2;
    profile.EndGradient = std::atan(0.1);
    ASSERT_TRUE(CalculateProfile(profile));
    const ProfilePoint start = ProfilePointAt(profile, 0);
    const ProfilePoint middle = ProfilePointAt(profile, 500);
    const ProfilePoint end = ProfilePointAt(profile, 2000); // beyond: taken at the end
    EXPECT_EQ(start.section, 1);
    EXPECT_EQ(start.height, 0);
    EXPECT_EQ(middle.section, 2);
    EXPECT_EQ(middle.height, 12.5);
    EXPECT_NEAR(std::tan(middle.gradient), 0.05, 1e-15);
    EXPECT_EQ(end.section, 2);
    EXPECT_EQ(end.height, 50);
    EXPECT_NEAR(std::tan(end.gradient), 0.1, 1e-15);
    EXPECT_EQ(ProfilePointAt(profile, notANumber).distance, 0);
    EXPECT_EQ(SectionStart(profile, 2), 500);
    EXPECT_EQ(SectionStart(profile, 3), 1000);
    EXPECT_EQ(CalculatedSectionCount(profile), 2);
    profile.SectionCount = -7; // a table of results never has fewer than no rows
    EXPECT_EQ(CalculatedSectionCount(profile), 0);
    profile.TrackLength = -1; // no stretch: every distance is the start
    EXPECT_EQ(ProfilePointAt(profile, 300).distance, 0);
}
