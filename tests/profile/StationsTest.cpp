// Stations for setting out a calculated curve: the multiples of the interval
// along the line, the start, the end and the high or low point, told apart to
// the millimetre.
#include "profile/Stations.h"

#include "profile/CalculateProfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace pendrio;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

ProfileState curve(double metres, double startSlope, double endSlope, int sections,
                   double startHeightMetres = 0) {
    ProfileState profile;
    profile.TrackLength = metres * UnitsPerMetre;
    profile.StartGradient = std::atan(startSlope);
    profile.EndGradient = std::atan(endSlope);
    profile.SectionCount = static_cast<std::int16_t>(sections);
    profile.SectionHeight.at(1) = startHeightMetres * UnitsPerMetre;
    EXPECT_TRUE(CalculateProfile(profile)) << metres << " m";
    return profile;
}

// The one parabola over the whole stretch, in track units, that the sections
// cut up: h(x) = h0 + t0 x + (t1 - t0) x² / 2L.
double parabolaAt(const ProfileState& profile, double units) {
    const double t0 = std::tan(profile.StartGradient);
    const double t1 = std::tan(profile.EndGradient);
    return profile.SectionHeight.at(1) + t0 * units +
           (t1 - t0) / (2 * profile.TrackLength) * units * units;
}

bool isExtreme(StationPoint point) {
    return point == StationPoint::HighPoint || point == StationPoint::LowPoint;
}

// A row checked by value: its chainage in millimetres, its kind, and where
// given its height above the start in millimetres.
struct Pinned {
    int row;
    double millimetres;
    StationPoint point;
    std::optional<double> riseMillimetres = std::nullopt;
};

const ProfileState crest = curve(800, 0.015, -0.025, 16, 50);
const ProfileState level100 = curve(100, 0, 0, 1);

} // namespace

TEST(Stations, RowsRiseAlongTheStretchOneMillimetreApartAtLeast) {
    struct Row {
        std::string name;
        ProfileState profile;
        double start;
        double interval;
        StationsProblem problem;
        int count;
        int extremes;
        std::vector<Pinned> pinned;
    };
    const auto acceptedRow = [](std::string name, const ProfileState& profile, double start,
                                double interval, int count, int extremes,
                                std::vector<Pinned> pinned) {
        return Row{std::move(name),       profile, start,    interval,
                   StationsProblem::None, count,   extremes, std::move(pinned)};
    };
    const auto refusedRow = [](std::string name, const ProfileState& profile, double start,
                               double interval, StationsProblem problem) {
        return Row{std::move(name), profile, start, interval, problem, 0, 0, {}};
    };
    const std::vector<Row> rows = {
        // High point 300 m in, 0.015 * 300 / 2 = 2.25 m up: on the 65th multiple of 20.
        acceptedRow("CrestEveryTwentyMetres", crest, 1000, 20, 41, 1,
                    {{0, 1000000, StationPoint::Start, 0},
                     {1, 1020000, StationPoint::None},
                     {15, 1300000, StationPoint::HighPoint, 2250},
                     {40, 1800000, StationPoint::End, -4000}}),
        acceptedRow("NegativeStart", level100, -50, 20, 7, 0,
                    {{1, -40000, StationPoint::None},
                     {3, 0, StationPoint::None},
                     {6, 50000, StationPoint::End}}),
        acceptedRow("IntervalLongerThanTheStretch", level100, 1000, 5000, 2, 0, {}),
        acceptedRow("HugeIntervalStillHasZero", level100, -50, 1e300, 3, 0,
                    {{1, 0, StationPoint::None}}),
        acceptedRow(
            "HundredKilometresEveryMetre", curve(100000, 0, 0, 1), 0, 1, 100001, 0,
            {{50000, 50000000, StationPoint::None}, {100000, 100000000, StationPoint::End}}),
        // 3 * 0.1 is 0.30000000000000004: past the start, yet on its millimetre.
        acceptedRow("TenthsNextToTheStart", curve(1, 0, 0, 1), 0.3, 0.1, 11, 0,
                    {{1, 400, StationPoint::None},
                     {9, 1200, StationPoint::None},
                     {10, 1300, StationPoint::End}}),
        // Lowest 500 * 0.01 / 0.03 = 166.667 m in, 0.01 * 166.667 / 2 = 0.833 m down.
        acceptedRow("SagWithLowPointBetweenPegs", curve(500, -0.01, 0.02, 8), 0, 20, 27, 1,
                    {{8, 160000, StationPoint::None},
                     {9, 166667, StationPoint::LowPoint, -833},
                     {10, 180000, StationPoint::None}}),
        acceptedRow("CrestHighestAtTheStart", curve(300, -0.005, -0.02, 4), 0, 50, 7, 0, {}),
        acceptedRow("TinyStretchIsOneRow", curve(0.0003, 0, 0, 1), 0.0001, 1, 1, 0,
                    {{0, 0, StationPoint::Start}}),
        acceptedRow("AtTheLowestChainage", level100, -MaxChainage, 20, 6, 0, {}),
        refusedRow("TenthsOverAThousandKilometres", curve(1e6, 0, 0, 1), 0, 0.1,
                   StationsProblem::TooManyStations),
        // 100,000 multiples of a metre when the stretch starts between two.
        refusedRow("HundredKilometresOffTheMetre", curve(99999.9, 0, 0, 1), -0.5, 1,
                   StationsProblem::TooManyStations),
        refusedRow("SmallestDoubleInterval", crest, 0, 5e-324, StationsProblem::TooManyStations),
        refusedRow("BelowACentimetre", curve(1, 0, 0, 1), 0, 0.005,
                   StationsProblem::IntervalNotUsable),
        refusedRow("ZeroInterval", crest, 0, 0, StationsProblem::IntervalNotUsable),
        refusedRow("NegativeInterval", crest, 0, -1, StationsProblem::IntervalNotUsable),
        refusedRow("NaNInterval", crest, 0, notANumber, StationsProblem::IntervalNotUsable),
        refusedRow("InfiniteInterval", crest, 0, infinity, StationsProblem::IntervalNotUsable),
        refusedRow("NaNStart", crest, notANumber, 20, StationsProblem::ChainageNotUsable),
        refusedRow("InfiniteStart", crest, -infinity, 20, StationsProblem::ChainageNotUsable),
        refusedRow("HugeStart", crest, 1e300, 20, StationsProblem::ChainageNotUsable),
        refusedRow("EndBeyondTheLargestChainage", level100, MaxChainage - 50, 20,
                   StationsProblem::ChainageNotUsable),
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const StationPlan plan = PlanStations(row.profile, row.start, row.interval);
        EXPECT_EQ(plan.Problem, row.problem);
        ASSERT_EQ(plan.Count, row.count);
        if (row.count == 0) {
            continue;
        }
        EXPECT_EQ(StationAt(row.profile, plan, 0).Point, StationPoint::Start);
        EXPECT_EQ(StationAt(row.profile, plan, row.count - 1).Point,
                  row.count > 1 ? StationPoint::End : StationPoint::Start);
        int extremes = 0;
        for (int i = 0; i < plan.Count; ++i) {
            const Station station = StationAt(row.profile, plan, i);
            extremes += isExtreme(station.Point) ? 1 : 0;
            EXPECT_NEAR(station.Distance, station.Chainage - row.start, 1e-6) << i;
            EXPECT_NEAR(station.Height, parabolaAt(row.profile, station.Distance * UnitsPerMetre),
                        1e-3)
                << i;
            if (i > 0) {
                const Station before = StationAt(row.profile, plan, i - 1);
                ASSERT_LT(ChainageMillimetres(before.Chainage),
                          ChainageMillimetres(station.Chainage))
                    << i;
                ASSERT_LT(before.Chainage, station.Chainage) << i;
            }
        }
        EXPECT_EQ(extremes, row.extremes);
        const double startHeight = row.profile.SectionHeight.at(1);
        for (const Pinned& pinned : row.pinned) {
            const Station station = StationAt(row.profile, plan, pinned.row);
            EXPECT_EQ(ChainageMillimetres(station.Chainage), pinned.millimetres) << pinned.row;
            EXPECT_EQ(station.Point, pinned.point) << pinned.row;
            if (pinned.riseMillimetres) {
                EXPECT_EQ(std::nearbyint((station.Height - startHeight) / UnitsPerMetre * 1000),
                          *pinned.riseMillimetres)
                    << pinned.row;
            }
        }
    }
}

TEST(Stations, AnyChainageOnTheStretchReadsOffItsPoint) {
    struct Row {
        std::string name;
        double chainage;
        std::optional<StationPoint> point; // none: off the stretch
        double millimetres;
    };
    const std::vector<Row> rows = {
        {"Inside", 1150.5, StationPoint::None, 1150500},
        {"StartsMillimetre", 999.9996, StationPoint::Start, 1000000},
        {"End", 1800, StationPoint::End, 1800000},
        {"HighPointsMillimetre", 1300.0004, StationPoint::HighPoint, 1300000},
        {"JustBeforeTheStart", 999.9994, std::nullopt, 0},
        {"JustAfterTheEnd", 1800.001, std::nullopt, 0},
        {"NaN", notANumber, std::nullopt, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<Station> station = StationAtChainage(crest, 1000, row.chainage);
        ASSERT_EQ(station.has_value(), row.point.has_value());
        if (station) {
            EXPECT_EQ(station->Point, *row.point);
            EXPECT_EQ(ChainageMillimetres(station->Chainage), row.millimetres);
            EXPECT_NEAR(station->Height, parabolaAt(crest, station->Distance * UnitsPerMetre),
                        1e-3);
        }
    }
}
