#include "Stations.h"

#include "CurveFacts.h"
#include "ProfileCurve.h"

#include <algorithm>
#include <cmath>

namespace pendrio {

namespace {

// Beyond 2^53 a double no longer holds every whole number, so the multiples
// of the interval could not be counted one by one. Chainages within
// MaxChainage and intervals of MinStationInterval or more keep the multiples
// far below it.
constexpr double LargestExactWhole = 9007199254740992.0;
static_assert(MaxChainage / MinStationInterval < LargestExactWhole / 2);

// Where the stretch lies along the line, and the millimetres that its ends
// take, so that nothing else may show them.
struct Stretch {
    double start = 0;
    double end = 0;
    double length = 0; // metres
    double startKey = 0;
    double endKey = 0;
};

// None where the chainages cannot be written to the millimetre, or the
// profile describes no stretch.
std::optional<Stretch> stretchOf(const ProfileState& profile, double startChainage) {
    if (!std::isfinite(startChainage) || !(profile.TrackLength >= 0) ||
        !std::isfinite(profile.TrackLength)) {
        return std::nullopt;
    }
    Stretch stretch;
    stretch.start = startChainage;
    stretch.length = profile.TrackLength / UnitsPerMetre;
    stretch.end = startChainage + stretch.length;
    if (!(std::abs(stretch.start) <= MaxChainage && std::abs(stretch.end) <= MaxChainage)) {
        return std::nullopt;
    }
    stretch.startKey = ChainageMillimetres(stretch.start);
    stretch.endKey = ChainageMillimetres(stretch.end);
    return stretch;
}

struct Extreme {
    StationPoint point = StationPoint::None;
    double chainage = 0;
    double distance = 0; // track units
    double key = 0;
};

// The high point of a crest or the low point of a sag, where it is a row of
// its own: strictly inside, and on neither end's millimetre.
std::optional<Extreme> extremeOf(const ProfileState& profile, const Stretch& stretch) {
    const CurveFacts facts = ComputeCurveFacts(profile);
    if (!facts.Kind || !facts.Extreme || facts.Extreme->Place != ExtremePlace::Inside ||
        !facts.Extreme->Distance) {
        return std::nullopt;
    }
    Extreme extreme;
    extreme.point =
        *facts.Kind == CurveKind::Crest ? StationPoint::HighPoint : StationPoint::LowPoint;
    extreme.distance = *facts.Extreme->Distance;
    extreme.chainage = stretch.start + extreme.distance / UnitsPerMetre;
    extreme.key = ChainageMillimetres(extreme.chainage);
    if (extreme.key == stretch.startKey || extreme.key == stretch.endKey) {
        return std::nullopt;
    }
    return extreme;
}

Station stationOnCurve(const ProfileState& profile, double chainage, double metres, double units,
                       StationPoint point) {
    // A row shows the gradient as a slope, so it takes the slope itself and
    // no angle to turn back into one.
    const CurvePoint on = CurvePointAt(profile, units);
    return {chainage, metres, on.height, on.slope, point};
}

Station startStation(const ProfileState& profile, const Stretch& stretch) {
    return stationOnCurve(profile, stretch.start, 0, 0, StationPoint::Start);
}

Station endStation(const ProfileState& profile, const Stretch& stretch) {
    return stationOnCurve(profile, stretch.end, stretch.length, profile.TrackLength,
                          StationPoint::End);
}

Station extremeStation(const ProfileState& profile, double chainage, double distance,
                       StationPoint point) {
    return stationOnCurve(profile, chainage, distance / UnitsPerMetre, distance, point);
}

// A chainage that is none of the stretch's points; the difference from the
// start may round a hair beyond the stretch, where the profile ends anyway.
Station plainStation(const ProfileState& profile, const Stretch& stretch, double chainage) {
    const double metres = std::clamp(chainage - stretch.start, 0.0, stretch.length);
    return stationOnCurve(profile, chainage, metres, metres * UnitsPerMetre, StationPoint::None);
}

// The smallest whole k whose multiple k * interval, as the double product,
// lies above x (or at x too, when `orAt`). The quotient x / interval is off
// the true one by an ulp or so, and each product by half an ulp, so floor()
// lands a step or two from the answer; the steps are counted, not searched.
double firstMultiple(double x, double interval, bool orAt) {
    const auto past = [&](double k) { return orAt ? k * interval >= x : k * interval > x; };
    double k = std::floor(x / interval);
    for (int step = 0; step < 4 && past(k); ++step) {
        k -= 1;
    }
    for (int step = 0; step < 8 && !past(k); ++step) {
        k += 1;
    }
    return k;
}

StationPlan refused(StationsProblem problem) {
    StationPlan plan;
    plan.Problem = problem;
    return plan;
}

} // namespace

double ChainageMillimetres(double metres) {
    // Under the default rounding mode nearbyint rounds halves to even.
    return std::nearbyint(metres * 1000) + 0.0; // no negative zero
}

StationPlan PlanStations(const ProfileState& profile, double startChainage, double interval) {
    if (!(interval > 0) || !std::isfinite(interval)) {
        return refused(StationsProblem::IntervalNotUsable);
    }
    const std::optional<Stretch> stretch = stretchOf(profile, startChainage);
    if (!stretch) {
        return refused(StationsProblem::ChainageNotUsable);
    }
    if (!(stretch->length / interval <= MaxStationsPerStretch)) {
        return refused(StationsProblem::TooManyStations);
    }
    // A tiny interval is too many stations on all but the shortest stretch;
    // there it is refused for being below what is pegged out.
    if (interval < MinStationInterval) {
        return refused(StationsProblem::IntervalNotUsable);
    }

    // The multiples strictly inside the stretch. At least a centimetre apart,
    // no two share a millimetre, and only the first can fall on the start's
    // and only the last on the end's: those merge into the start and the end.
    StationPlan plan;
    plan.StartChainage = stretch->start;
    plan.EndChainage = stretch->end;
    plan.Length = stretch->length;
    plan.Interval = interval;
    double first = firstMultiple(stretch->start, interval, false);
    double last = firstMultiple(stretch->end, interval, true) - 1;
    if (first <= last && ChainageMillimetres(first * interval) == stretch->startKey) {
        first += 1;
    }
    if (first <= last && ChainageMillimetres(last * interval) == stretch->endKey) {
        last -= 1;
    }
    // The start alone makes one row more than the multiples; refused here,
    // the counts below stay well within an int.
    const double regulars = std::max(last - first + 1, 0.0);
    if (regulars > MaxStationsPerStretch) {
        return refused(StationsProblem::TooManyStations);
    }
    plan.FirstMultiple = first;
    plan.RegularCount = static_cast<int>(regulars);
    plan.HasEnd = stretch->endKey != stretch->startKey;

    // The high or low point goes between the multiples below and above it, or
    // takes the place of the one on its millimetre.
    if (const std::optional<Extreme> extreme = extremeOf(profile, *stretch)) {
        const double above = firstMultiple(extreme->chainage, interval, true);
        for (const double k : {above - 1, above}) {
            if (k >= first && k <= last && ChainageMillimetres(k * interval) == extreme->key) {
                plan.MergedRegular = static_cast<int>(k - first);
            }
        }
        const int below = static_cast<int>(std::clamp(above - first, 0.0, regulars));
        plan.Extreme = extreme->point;
        plan.ExtremeRow = 1 + (plan.MergedRegular >= 0 ? plan.MergedRegular : below);
        plan.ExtremeChainage = extreme->chainage;
        plan.ExtremeDistance = extreme->distance;
    }

    const int count = 1 + plan.RegularCount - (plan.MergedRegular >= 0 ? 1 : 0) +
                      (plan.Extreme != StationPoint::None ? 1 : 0) + (plan.HasEnd ? 1 : 0);
    if (count > MaxStationsPerStretch + 1) {
        return refused(StationsProblem::TooManyStations);
    }
    plan.Count = count;
    return plan;
}

Station StationAt(const ProfileState& profile, const StationPlan& plan, int row) {
    if (plan.Problem != StationsProblem::None || plan.Count <= 0) {
        return {};
    }
    const Stretch stretch{plan.StartChainage, plan.EndChainage, plan.Length, 0, 0};
    row = std::clamp(row, 0, plan.Count - 1);
    if (row == 0) {
        return startStation(profile, stretch);
    }
    if (plan.HasEnd && row == plan.Count - 1) {
        return endStation(profile, stretch);
    }
    if (row == plan.ExtremeRow) {
        return extremeStation(profile, plan.ExtremeChainage, plan.ExtremeDistance, plan.Extreme);
    }
    // Rows past the high or low point are one further down the list of
    // multiples, and the multiple it took the place of is skipped.
    int regular = row - 1;
    if (plan.ExtremeRow >= 0 && row > plan.ExtremeRow) {
        regular -= 1;
    }
    if (plan.MergedRegular >= 0 && regular >= plan.MergedRegular) {
        regular += 1;
    }
    return plainStation(profile, stretch, (plan.FirstMultiple + regular) * plan.Interval);
}

std::optional<Station> StationAtChainage(const ProfileState& profile, double startChainage,
                                         double chainage) {
    const std::optional<Stretch> stretch = stretchOf(profile, startChainage);
    if (!stretch || !std::isfinite(chainage)) {
        return std::nullopt;
    }
    const double key = ChainageMillimetres(chainage);
    if (key < stretch->startKey || key > stretch->endKey) {
        return std::nullopt;
    }
    if (key == stretch->startKey) {
        return startStation(profile, *stretch);
    }
    if (key == stretch->endKey) {
        return endStation(profile, *stretch);
    }
    if (const std::optional<Extreme> extreme = extremeOf(profile, *stretch);
        extreme && key == extreme->key) {
        return extremeStation(profile, extreme->chainage, extreme->distance, extreme->point);
    }
    return plainStation(profile, *stretch, chainage);
}

} // namespace pendrio
