#include "profile/DesignRadius.h"
#include "profile/CurveFacts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace pendrio;
using Limits = std::numeric_limits<double>;

// The worked stretches of the curve facts read backwards, then the radii that
// give no length. Gradients as slopes, radius in track units.
TEST(DesignLengthForRadius, GivesTheLengthOrSaysWhyNot) {
    struct Row {
        std::string name;
        double startSlope, endSlope, radius;
        DesignLengthProblem problem;
        double metres = 0;
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
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DesignLength design =
            DesignLengthForRadius(std::atan(row.startSlope), std::atan(row.endSlope), row.radius);
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
