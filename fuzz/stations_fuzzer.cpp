// Any calculable profile, any start chainage and interval into the stations
// for setting it out, the chainage text both ways, and the curve's facts.
//
// Each run is bounded: a plan may have 100,001 rows, so at most 1000 of them
// (the first, the last and a spread between) are looked at, each with the
// row after it.
//
// The input is read front to back in a fixed layout, little-endian, so that
// a seed can be written by hand; bytes past the end read as zero:
//   double length, height at start, start and end gradient in degrees;
//   int16 sections; double start chainage; double interval; and the rest of
//   the bytes as UTF-8 text for TextToChainage.
#include "FuzzBytes.h"
#include "profile/CalculateProfile.h"
#include "profile/Stations.h"
#include "text/ChainageText.h"
#include "text/CurveFactsText.h"
#include "text/StationTableText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace pendrio;

namespace {

using fuzzing::Bytes;

void check(bool condition, const char* what, double value = 0) {
    if (!condition) {
        std::fprintf(stderr, "The stations broke their promise: %s (%.17G)\n", what, value);
        std::abort();
    }
}

const QLocale German(QLocale::German, QLocale::Germany);
constexpr int MaxLookedAt = 1000;

// Written and read back, a chainage is off by at most half a millimetre,
// plus the rounding of the scaled value and of the text read (an ulp each).
void checkChainageText(double metres) {
    if (!(std::abs(metres) <= MaxChainage)) {
        return;
    }
    const double ulp = std::nextafter(std::abs(metres), HUGE_VAL) - std::abs(metres);
    for (const QLocale& locale : {QLocale::c(), German}) {
        const std::optional<double> back = TextToChainage(ChainageText(metres, locale), locale);
        check(back.has_value(), "a chainage text not read back", metres);
        check(std::abs(*back - metres) <= 0.0005 + 2 * ulp, "a chainage read back elsewhere",
              metres);
    }
}

bool isExtreme(StationPoint point) {
    return point == StationPoint::HighPoint || point == StationPoint::LowPoint;
}

void checkStation(const Station& station) {
    check(std::isfinite(station.Chainage) && std::isfinite(station.Distance) &&
              std::isfinite(station.Height) && std::isfinite(station.Slope),
          "a field not finite", station.Chainage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    // What the main window would hold after typing the five inputs.
    ProfileState profile;
    profile.TrackLength = bytes.take<double>();
    profile.SectionHeight.at(1) = bytes.take<double>();
    profile.StartGradient = DegreesToRadians(bytes.take<double>());
    profile.EndGradient = DegreesToRadians(bytes.take<double>());
    profile.SectionCount = std::clamp<std::int16_t>(bytes.take<std::int16_t>(), 1, MaxSections);
    const double start = bytes.take<double>();
    const double interval = bytes.take<double>();
    const QString text = bytes.rest();
    for (const QLocale& locale : {QLocale::c(), German}) {
        const std::optional<double> read = TextToChainage(text, locale);
        check(!read || std::abs(*read) <= MaxChainage, "a chainage read beyond the largest",
              read.value_or(0));
    }
    checkChainageText(start);
    checkChainageText(interval);
    if (!(profile.TrackLength >= 0) || !std::isfinite(profile.TrackLength) ||
        !std::isfinite(profile.SectionHeight.at(1)) || !std::isfinite(profile.StartGradient) ||
        !std::isfinite(profile.EndGradient) || !CalculateProfile(profile)) {
        return 0;
    }

    // The curve's facts, with the interval as a design speed: never inf or nan.
    const QString facts = CurveFactsLines(ComputeCurveFacts(profile, interval), German).join('\n');
    check(!facts.contains(QLatin1String("nan"), Qt::CaseInsensitive) &&
              !facts.contains(QLatin1String("inf"), Qt::CaseInsensitive),
          "a fact missing", interval);

    const StationPlan plan = PlanStations(profile, start, interval);
    const int count = plan.Count;
    const double length = profile.TrackLength / UnitsPerMetre;
    if (plan.Problem != StationsProblem::None) {
        check(count == 0, "a refused plan with rows", count);
        check(StationAt(profile, plan, 0).Chainage == 0, "a row of a refused plan");
        // An ordinary setting-out is never refused.
        check(!(std::abs(start) <= 1e9 && std::abs(start + length) <= 1e9 &&
                interval >= MinStationInterval && interval <= 1e9 &&
                length / interval <= MaxStationsPerStretch * 0.9),
              "an ordinary plan refused", interval);
        return 0;
    }
    check(count >= 1 && count <= MaxStationsPerStretch + 1, "row count", count);
    check(StationAt(profile, plan, 0).Point == StationPoint::Start, "the first row not the start");
    check(StationAt(profile, plan, 0).Chainage == start, "the start moved");
    const Station last = StationAt(profile, plan, count - 1);
    check(count == 1 || last.Point == StationPoint::End, "the last row not the end", count);
    check(count == 1 || last.Chainage == start + length, "the end moved", last.Chainage);
    for (const int outside : {-1, INT_MIN, count, INT_MAX}) {
        const Station nearest = StationAt(profile, plan, outside < 0 ? 0 : count - 1);
        check(StationAt(profile, plan, outside).Chainage == nearest.Chainage,
              "a row outside not taken at the nearest end", outside);
    }

    // The first, the last and a spread between, each with the row after it.
    const int lookedAt = std::min(count, MaxLookedAt);
    for (int i = 0; i < lookedAt; ++i) {
        const int row = lookedAt > 1 ? int(std::int64_t(i) * (count - 1) / (lookedAt - 1)) : 0;
        const Station station = StationAt(profile, plan, row);
        checkStation(station);
        checkChainageText(station.Chainage);
        check(station.Distance >= 0 && station.Distance <= length, "a distance off the stretch",
              station.Distance);
        // The plan has room for one high or low point, so there is at most one.
        check(isExtreme(station.Point) == (row == plan.ExtremeRow), "an extreme out of place", row);
        const std::optional<Station> direct = StationAtChainage(profile, start, station.Chainage);
        check(direct && direct->Point == station.Point &&
                  ChainageText(direct->Chainage, QLocale::c()) ==
                      ChainageText(station.Chainage, QLocale::c()),
              "the station at its own chainage differs", station.Chainage);
        if (row + 1 < count) {
            const Station next = StationAt(profile, plan, row + 1);
            checkStation(next);
            check(next.Chainage > station.Chainage, "chainages not rising", next.Chainage);
            check(ChainageText(next.Chainage, QLocale::c()) !=
                      ChainageText(station.Chainage, QLocale::c()),
                  "two rows on one millimetre", next.Chainage);
            check(row + 1 == count - 1 || next.Point == StationPoint::None || isExtreme(next.Point),
                  "a start or end inside", row + 1);
        }
    }

    // The texts: only the rows asked for, and every row in a short CSV.
    const QString copied = StationsAsTabText(profile, plan, QLocale::c(), {0, count - 1, count});
    check(copied.count(u'\n') == 3, "copied rows", copied.count(u'\n'));
    check(!copied.contains(QLatin1String("nan"), Qt::CaseInsensitive) &&
              !copied.contains(QLatin1String("inf"), Qt::CaseInsensitive),
          "a copied number missing");
    if (count <= 64) {
        const QByteArray csv = StationsAsCsv(profile, plan);
        check(csv.count("\r\n") == count + 1, "CSV lines", count);
        check(std::all_of(csv.begin(), csv.end(), [](char c) { return c > 0; }),
              "CSV not plain ASCII");
    }
    return 0;
}
