#include "profile/DesignRadius.h"
#include "profile/CalculateProfile.h"
#include "profile/CurveFacts.h"
#include "profile/DesignWays.h"
#include "profile/ProfileCurve.h"
#include "profile/Transcendental.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace pendrio;
using Limits = std::numeric_limits<double>;

// The worked stretches of the curve facts read backwards, then the requests
// that give no length, in each way. Gradients as slopes, lengths in track units.
TEST(DesignLengthForRadius, GivesTheLengthOrSaysWhyNot) {
    using Way = std::function<DesignLength(double start, double end)>;
    const auto radius = [](double r) -> Way {
        return [=](double a0, double a1) { return DesignLengthForRadius(a0, a1, r); };
    };
    const auto k = [](double value) -> Way {
        return [=](double a0, double a1) { return DesignLengthForK(a0, a1, value); };
    };
    const auto speed = [](double v, double a) -> Way {
        return [=](double a0, double a1) { return DesignLengthForSpeed(a0, a1, v, a); };
    };
    const auto point = [](double startHeight, double distance, double height) -> Way {
        return [=](double a0, double a1) {
            return DesignLengthThroughPoint(a0, a1, startHeight, distance, height);
        };
    };
    struct Row {
        std::string name;
        double startSlope, endSlope;
        Way way;
        DesignLengthProblem problem;
        double metres = 0;
    };
    using enum DesignLengthProblem;
    const double m = UnitsPerMetre, nan = Limits::quiet_NaN();
    const std::vector<Row> rows = {
        {"CrestThroughLevel", 0.015, -0.025, radius(20000 * m), None, 800},
        {"SymmetricSag", -0.02, 0.02, radius(10000 * m), None, 400},
        {"CrestStillRising", 0.03, 0.01, radius(50007.500187496875 * m), None, 1000},
        {"EqualGradients", 0.01, 0.01, radius(20000 * m), NoVerticalCurve},
        {"NanGradient", nan, 0.01, radius(20000 * m), NoVerticalCurve},
        {"ZeroRadius", 0.015, -0.025, radius(0.0), RadiusNotUsable},
        {"NegativeRadius", 0.015, -0.025, radius(-20000 * m), RadiusNotUsable},
        {"NanRadius", 0.015, -0.025, radius(nan), RadiusNotUsable},
        {"InfiniteRadius", 0.015, -0.025, radius(Limits::infinity()), RadiusNotUsable},
        {"SubnormalRadius", 0.015, -0.025, radius(Limits::denorm_min()), BeyondRange},
        {"DigitsLostOverSteepSlopes", 1e15, 1.2e16, radius(1e-276), BeyondRange},
        {"HugeRadiusOverSteepChange", 1.0, -1.0, radius(Limits::max()), BeyondRange},
        {"LengthWhoseRadiusOverflows", 0.01, 0.52, radius(Limits::max()), BeyondRange},
        // 100 m per % over a change of 4 %.
        {"KOfTheCrest", 0.015, -0.025, k(100 * m), None, 400},
        {"KOverEqualGradients", 0.01, 0.01, k(100 * m), NoVerticalCurve},
        {"ZeroK", 0.015, -0.025, k(0.0), ValueNotUsable},
        // (160 / 3.6)^2 / 0.22 = 8978.67564534231 m, over a change of 0.04.
        {"SpeedOnTheCrest", 0.015, -0.025, speed(160, 0.22), None, 359.147025813692},
        {"NanSpeed", 0.015, -0.025, speed(nan, 0.22), ValueNotUsable},
        {"NegativeAcceleration", 0.015, -0.025, speed(160, -0.22), ValueNotUsable},
        {"SpeedWhoseRadiusOverflows", 0.015, -0.025, speed(1e300, 1e-300), BeyondRange},
        // 200 m along, 3 m up the start tangent at 5 m, the curve 1 m below it:
        // L = 0.04 * 200^2 / (2 * 1).
        {"PointUnderTheCrest", 0.015, -0.025, point(5 * m, 200 * m, 7 * m), None, 800},
        {"PointAboveTheCrestTangent", 0.015, -0.025, point(5 * m, 200 * m, 9 * m),
         PointAboveCrestTangent},
        {"PointBelowTheSagTangent", -0.02, 0.02, point(0, 100 * m, -3 * m), PointBelowSagTangent},
        {"PointAtTheCrestEnd", 0.015, -0.025, point(0, 800 * m, -4 * m), None, 800},
        // 13 m below the tangent 200 m along; the end tangent of L = 200 m is 4 m below.
        {"PointBeyondEveryEnd", 0.015, -0.025, point(0, 200 * m, -10 * m), PointBeyondEnd},
        {"PointAtTheStart", 0.015, -0.025, point(0, 0, 0), PointNotAfterStart},
        {"PointOverEqualGradients", 0.01, 0.01, point(0, 200 * m, 1 * m), NoVerticalCurve},
        {"NanPoint", 0.015, -0.025, point(0, nan, 1 * m), ValueNotUsable},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DesignLength design = row.way(std::atan(row.startSlope), std::atan(row.endSlope));
        EXPECT_EQ(design.Problem, row.problem);
        ASSERT_EQ(design.Length.has_value(), row.problem == None);
        if (design.Length) {
            EXPECT_NEAR(*design.Length / m, row.metres, 1e-12 * row.metres);
        }
    }
}

// Gradients short of vertical, radii over most of the double range: the facts
// of every length given have the radius asked for.
TEST(DesignLengthForRadius, IsTheInverseOfTheFactsRadius) {
    std::mt19937_64 random(18);
    std::uniform_real_distribution<double> gradient(-1.57, 1.57), exponent(-300, 300);
    int lengths = 0;
    for (int i = 0; i < 2000; ++i) {
        ProfileState state;
        state.StartGradient = gradient(random);
        state.EndGradient = gradient(random);
        const double radius = std::pow(10.0, exponent(random));
        const DesignLength design =
            DesignLengthForRadius(state.StartGradient, state.EndGradient, radius);
        if (design.Length) {
            ++lengths;
            state.TrackLength = *design.Length;
            const auto back = ComputeCurveFacts(state).VerticalRadius;
            ASSERT_TRUE(back.has_value()) << state.StartGradient << ' ' << state.EndGradient;
            EXPECT_NEAR(*back, radius, 1e-12 * radius) << state.StartGradient << ' ' << radius;
        }
    }
    EXPECT_GT(lengths, 1900); // only the far ends of the range may miss
}

// The other ways read back: the facts of each length give the K and the
// acceleration asked for, and the calculated curve passes through the point,
// each to the last bits (counted in units in the last place of the value, or
// of the largest term of the height).
TEST(DesignWays, AreGivenBackByTheFactsAndTheCurve) {
    std::mt19937_64 random(37);
    std::uniform_real_distribution<double> gradient(-1.5, 1.5), exponent(-3, 6), unit(0, 1);
    const auto ulps = [](double back, double wanted, double scale) {
        return std::abs(back - wanted) / (std::nextafter(scale, Limits::max()) - scale);
    };
    double kMost = 0, speedMost = 0, pointMost = 0;
    for (int i = 0; i < 2000; ++i) {
        ProfileState state;
        state.StartGradient = gradient(random);
        state.EndGradient = gradient(random);
        const double t0 = Tan(state.StartGradient), t1 = Tan(state.EndGradient);
        const double k = std::pow(10.0, exponent(random)) * UnitsPerMetre;
        state.TrackLength =
            DesignLengthForK(state.StartGradient, state.EndGradient, k).Length.value();
        kMost = std::max(kMost, ulps(ComputeCurveFacts(state).KValue.value(), k, k));

        const double speed = 10 + 390 * unit(random), acceleration = 0.05 + 2 * unit(random);
        state.TrackLength =
            DesignLengthForSpeed(state.StartGradient, state.EndGradient, speed, acceleration)
                .Length.value();
        const auto facts = ComputeCurveFacts(state, speed);
        speedMost = std::max(
            speedMost, ulps(facts.AtDesignSpeed->Acceleration.value(), acceleration, acceleration));

        // A point on a curve of a length between 1 and 4 times its distance.
        const double distance = std::pow(10.0, exponent(random)) * UnitsPerMetre;
        const double startHeight = (unit(random) - 0.5) * 1e4 * UnitsPerMetre;
        const double curve =
            (t1 - t0) / 2 * distance * (distance / (distance * (1 + 3 * unit(random))));
        const double height = startHeight + (t0 * distance + curve);
        state.SectionHeight.at(1) = startHeight;
        state.SectionCount = 1;
        state.TrackLength = DesignLengthThroughPoint(state.StartGradient, state.EndGradient,
                                                     startHeight, distance, height)
                                .Length.value();
        ASSERT_TRUE(CalculateProfile(state));
        const double scale =
            std::max({std::abs(startHeight), std::abs(t0 * distance), std::abs(curve)});
        pointMost =
            std::max(pointMost, ulps(ProfilePointAt(state, distance).height, height, scale));
    }
    EXPECT_LE(kMost, 1);
    EXPECT_LE(speedMost, 4);
    EXPECT_LE(pointMost, 4);
}
