#include "profile/DesignRadius.h"
#include "profile/CalculateProfile.h"
#include "profile/CurveFacts.h"
#include "profile/DesignWays.h"
#include "profile/ProfileCurve.h"
#include "maths/Transcendental.h"

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

// The worked stretches of the curve facts read backwards, then the radii that
// give no length; then the other ways (a K, a design speed, a point), each
// given as `way`. Gradients as slopes, lengths in track units.
TEST(DesignLengthForRadius, GivesTheLengthOrSaysWhyNot) {
    using Way = std::function<DesignLength(double start, double end)>;
    struct Row {
        std::string name;
        double startSlope, endSlope, radius;
        DesignLengthProblem problem;
        double metres = 0;
        Way way = {};
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
    using enum DesignLengthProblem;
    const double m = UnitsPerMetre, nan = Limits::quiet_NaN();
    const std::vector<Row> rows = {
        {"CrestThroughLevel", 0.015, -0.025, 20000 * m, None, 800},
        {"SymmetricSag", -0.02, 0.02, 10000 * m, None, 400},
        {"CrestStillRising", 0.03, 0.01, 50007.500187496875 * m, None, 1000},
        {"EqualGradients", 0.01, 0.01, 20000 * m, NoVerticalCurve},
        {"NanGradient", nan, 0.01, 20000 * m, NoVerticalCurve},
        {"ZeroRadius", 0.015, -0.025, 0.0, RadiusNotUsable},
        {"NegativeRadius", 0.015, -0.025, -20000 * m, RadiusNotUsable},
        {"NanRadius", 0.015, -0.025, nan, RadiusNotUsable},
        {"InfiniteRadius", 0.015, -0.025, Limits::infinity(), RadiusNotUsable},
        {"SubnormalRadius", 0.015, -0.025, Limits::denorm_min(), BeyondRange},
        {"DigitsLostOverSteepSlopes", 1e15, 1.2e16, 1e-276, BeyondRange},
        {"HugeRadiusOverSteepChange", 1.0, -1.0, Limits::max(), BeyondRange},
        {"LengthWhoseRadiusOverflows", 0.01, 0.52, Limits::max(), BeyondRange},
        // 100 m per % over a change of 4 %.
        {"KOfTheCrest", 0.015, -0.025, 0, None, 400, k(100 * m)},
        {"KOverEqualGradients", 0.01, 0.01, 0, NoVerticalCurve, 0, k(100 * m)},
        {"ZeroK", 0.015, -0.025, 0, ValueNotUsable, 0, k(0.0)},
        // (160 / 3.6)^2 / 0.22 = 8978.67564534231 m, over a change of 0.04.
        {"SpeedOnTheCrest", 0.015, -0.025, 0, None, 359.147025813692, speed(160, 0.22)},
        {"NanSpeed", 0.015, -0.025, 0, ValueNotUsable, 0, speed(nan, 0.22)},
        {"NegativeAcceleration", 0.015, -0.025, 0, ValueNotUsable, 0, speed(160, -0.22)},
        {"SpeedWhoseRadiusOverflows", 0.015, -0.025, 0, BeyondRange, 0, speed(1e300, 1e-300)},
        // 200 m along, 3 m up the start tangent at 5 m, the curve 1 m below it:
        // L = 0.04 * 200^2 / (2 * 1).
        {"PointUnderTheCrest", 0.015, -0.025, 0, None, 800, point(5 * m, 200 * m, 7 * m)},
        {"PointAboveTheCrestTangent", 0.015, -0.025, 0, PointAboveCrestTangent, 0,
         point(5 * m, 200 * m, 9 * m)},
        {"PointBelowTheSagTangent", -0.02, 0.02, 0, PointBelowSagTangent, 0,
         point(0, 100 * m, -3 * m)},
        {"PointAtTheCrestEnd", 0.015, -0.025, 0, None, 800, point(0, 800 * m, -4 * m)},
        // 13 m below the tangent 200 m along; the end tangent of L = 200 m is 4 m below.
        {"PointBeyondEveryEnd", 0.015, -0.025, 0, PointBeyondEnd, 0, point(0, 200 * m, -10 * m)},
        {"PointAtTheStart", 0.015, -0.025, 0, PointNotAfterStart, 0, point(0, 0, 0)},
        {"PointOverEqualGradients", 0.01, 0.01, 0, NoVerticalCurve, 0, point(0, 200 * m, m)},
        {"NanPoint", 0.015, -0.025, 0, ValueNotUsable, 0, point(0, nan, 1 * m)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double a0 = std::atan(row.startSlope), a1 = std::atan(row.endSlope);
        const DesignLength design =
            row.way ? row.way(a0, a1) : DesignLengthForRadius(a0, a1, row.radius);
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
// acceleration asked for, and its curve passes through the point, each to a
// few units in the last place (of the largest term of the height).
TEST(DesignWays, AreGivenBackByTheFactsAndTheCurve) {
    std::mt19937_64 random(37);
    std::uniform_real_distribution<double> gradient(-1.5, 1.5), exponent(-3, 6), unit(0, 1);
    const double ulp = Limits::epsilon();
    for (int i = 0; i < 2000; ++i) {
        const double a0 = gradient(random), a1 = gradient(random);
        ProfileState state;
        state.StartGradient = a0;
        state.EndGradient = a1;
        const double k = std::pow(10.0, exponent(random)) * UnitsPerMetre;
        state.TrackLength = DesignLengthForK(a0, a1, k).Length.value();
        EXPECT_NEAR(ComputeCurveFacts(state).KValue.value(), k, ulp * k);
        const double speed = 10 + 390 * unit(random), acceleration = 0.05 + 2 * unit(random);
        state.TrackLength = DesignLengthForSpeed(a0, a1, speed, acceleration).Length.value();
        EXPECT_NEAR(ComputeCurveFacts(state, speed).AtDesignSpeed->Acceleration.value(),
                    acceleration, 4 * ulp * acceleration);
        // A point on a curve between 1 and 4 times as long as its distance s.
        const double t0 = Tan(a0), s = std::pow(10.0, exponent(random)) * UnitsPerMetre;
        const double start = (unit(random) - 0.5) * 1e4 * UnitsPerMetre;
        const double curve = (Tan(a1) - t0) / 2 * s * (1 / (1 + 3 * unit(random)));
        const double height = start + (t0 * s + curve);
        state.SectionHeight.at(1) = start;
        state.TrackLength = DesignLengthThroughPoint(a0, a1, start, s, height).Length.value();
        ASSERT_TRUE(CalculateProfile(state));
        const double scale = std::max({std::abs(start), std::abs(t0 * s), std::abs(curve)});
        EXPECT_NEAR(ProfilePointAt(state, s).height, height, 4 * ulp * scale);
    }
}
