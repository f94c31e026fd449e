#include "profile/CurveFacts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace pendrio;

namespace {

using Limits = std::numeric_limits<double>;

// A stretch given as a planner states it: length and start height in metres,
// gradients as slopes (rise over run).
ProfileState stretch(double metres, double startSlope, double endSlope, double startMetres = 0) {
    ProfileState state;
    state.TrackLength = metres * UnitsPerMetre;
    state.StartGradient = std::atan(startSlope);
    state.EndGradient = std::atan(endSlope);
    state.SectionHeight.at(1) = startMetres * UnitsPerMetre;
    return state;
}

// Derived values, so relative to the value, and to a metre for values near zero.
void expectMetres(const std::optional<double>& units, double metres, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(units.has_value());
    EXPECT_NEAR(*units / UnitsPerMetre, metres, 1e-12 * std::max(std::abs(metres), 1.0));
}

void expectAllFinite(const CurveFacts& facts) {
    for (const auto& value : {facts.VerticalRadius, facts.TotalRise}) {
        EXPECT_TRUE(!value || std::isfinite(*value));
    }
    if (facts.Extreme) {
        for (const auto& value :
             {facts.Extreme->Distance, facts.Extreme->AboveStart, facts.Extreme->Height}) {
            EXPECT_TRUE(!value || std::isfinite(*value));
        }
    }
}

// Worked by hand from h'' = (t1 - t0) / L, zero slope at s = L t0 / (t0 - t1),
// h(s) - H0 = t0 s / 2 there, and rise = (t0 + t1) / 2 L. Over a slope g the radius
// grows by (1 + g^2)^(3/2): 1.0001500037499375 for g = 0.01.
struct WorkedRow {
    std::string name;
    ProfileState state;
    CurveKind kind;
    std::optional<double> radius; // metres
    std::optional<ExtremePlace> place;
    double distance;   // metres
    double aboveStart; // metres
    double rise;       // metres
    double startHeight = 0;
};

const std::vector<WorkedRow>& workedRows() {
    static const double pi = std::acos(-1.0);
    static const std::vector<WorkedRow> rows = {
        {"CrestThroughLevel", stretch(800, 0.015, -0.025, 10), CurveKind::Crest, 20000,
         ExtremePlace::Inside, 300, 2.25, -4, 10},
        {"CrestGradientsBeyondNinetyDegrees",
         [] {
             ProfileState state = stretch(800, 0.015, -0.025, 10);
             state.StartGradient += pi;   // same tangent, pointing back
             state.EndGradient -= 2 * pi; // a whole turn
             return state;
         }(),
         CurveKind::Crest, 20000, ExtremePlace::Inside, 300, 2.25, -4, 10},
        {"SymmetricSag", stretch(400, -0.02, 0.02), CurveKind::Sag, 10000, ExtremePlace::Inside,
         200, -2, 0},
        {"CrestStillRising", stretch(1000, 0.03, 0.01), CurveKind::Crest, 50007.500187496875,
         ExtremePlace::AtEnd, 1000, 20, 20},
        {"SagStillFalling", stretch(600, -0.04, -0.01, -3), CurveKind::Sag, 20003.00007499875,
         ExtremePlace::AtEnd, 600, -15, -15, -3},
        {"SagFromLevel", stretch(500, 0, 0.02, 7), CurveKind::Sag, 25000, ExtremePlace::AtStart, 0,
         0, 5, 7},
        {"StraightIncline", stretch(100, 0.01, 0.01), CurveKind::StraightIncline, std::nullopt,
         std::nullopt, 0, 0, 1},
    };
    return rows;
}

} // namespace

TEST(CurveFacts, MatchTheHandWorkedStretches) {
    for (const WorkedRow& row : workedRows()) {
        SCOPED_TRACE(row.name);
        const CurveFacts facts = ComputeCurveFacts(row.state);
        EXPECT_EQ(facts.Kind, row.kind);
        if (row.radius) {
            expectMetres(facts.VerticalRadius, *row.radius, "radius");
        } else {
            EXPECT_FALSE(facts.VerticalRadius.has_value());
        }
        expectMetres(facts.TotalRise, row.rise, "rise");
        ASSERT_EQ(facts.Extreme.has_value(), row.place.has_value());
        if (row.place) {
            EXPECT_EQ(facts.Extreme->Place, *row.place);
            expectMetres(facts.Extreme->Distance, row.distance, "distance");
            expectMetres(facts.Extreme->AboveStart, row.aboveStart, "above start");
            expectMetres(facts.Extreme->Height, row.startHeight + row.aboveStart, "height");
        }
    }
}

TEST(CurveFacts, ZeroLengthIsAKinkWithItsExtremeAtTheStart) {
    for (const double length : {0.0, -0.0}) {
        SCOPED_TRACE(length);
        ProfileState state = stretch(800, 0.015, -0.025, 10);
        state.TrackLength = length;
        const CurveFacts facts = ComputeCurveFacts(state);
        EXPECT_EQ(facts.Kind, CurveKind::Crest);
        EXPECT_FALSE(facts.VerticalRadius.has_value());
        ASSERT_TRUE(facts.TotalRise.has_value());
        EXPECT_EQ(*facts.TotalRise, 0.0);
        EXPECT_FALSE(std::signbit(*facts.TotalRise));
        ASSERT_TRUE(facts.Extreme.has_value());
        EXPECT_EQ(facts.Extreme->Place, ExtremePlace::AtStart);
        expectMetres(facts.Extreme->Distance, 0, "distance");
        expectMetres(facts.Extreme->Height, 10, "height");
    }
}

// Each row names which facts survive; the others must be beyond range.
TEST(CurveFacts, ReportOnlyTheFactsThatAreFinite) {
    struct Row {
        std::string name;
        double length, startGradient, endGradient, startHeight;
        bool kind, radius, extreme, distance, aboveStart, height, rise;
    };
    const double steep = DegreesToRadians(90); // tangent about 6E+14
    const double up = std::atan(0.015), down = std::atan(-0.025);
    const double nan = Limits::quiet_NaN(), inf = Limits::infinity(), max = Limits::max();
    const std::vector<Row> rows = {
        {"NanStartGradient", 1000, nan, down, 0, false, false, false, false, false, false, false},
        {"InfiniteEndGradient", 1000, up, -inf, 0, false, false, false, false, false, false, false},
        {"NanLength", nan, up, down, 0, true, false, false, false, false, false, false},
        {"NegativeLength", -1000, up, down, 0, true, false, false, false, false, false, false},
        {"InfiniteLength", inf, up, down, 0, true, false, true, false, false, false, false},
        {"TooLongForAFiniteRadius", 1e308, up, down, 0, true, false, true, true, true, true, true},
        {"TooSteepForAFiniteHeight", 1e300, steep, down, 0, true, true, true, true, false, false,
         false},
        {"InfiniteStartHeight", 1000, up, down, inf, true, true, true, true, true, false, true},
        {"LongestStraightIncline", max, up, up, 0, true, false, false, false, false, false, true},
        {"SmallestLength", Limits::denorm_min(), up, down, 0, true, true, true, true, true, true,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProfileState state;
        state.TrackLength = row.length;
        state.StartGradient = row.startGradient;
        state.EndGradient = row.endGradient;
        state.SectionHeight.at(1) = row.startHeight;
        const CurveFacts facts = ComputeCurveFacts(state);
        expectAllFinite(facts);
        EXPECT_EQ(facts.Kind.has_value(), row.kind);
        EXPECT_EQ(facts.VerticalRadius.has_value(), row.radius);
        EXPECT_EQ(facts.TotalRise.has_value(), row.rise);
        ASSERT_EQ(facts.Extreme.has_value(), row.extreme);
        if (facts.Extreme) {
            EXPECT_EQ(facts.Extreme->Distance.has_value(), row.distance);
            EXPECT_EQ(facts.Extreme->AboveStart.has_value(), row.aboveStart);
            EXPECT_EQ(facts.Extreme->Height.has_value(), row.height);
        }
    }
}
