// Setting out a calculated curve along the line. A site crew pegs out the
// heights at chainages that are whole multiples of an interval (every 10 or
// 20 m, say), and at the start and the end of the stretch and the high or low
// point between them, whichever chainage the stretch starts at.
//
// A stretch 100 km long pegged every metre has 100,001 stations, so they are
// never stored: PlanStations counts them and notes the few that do not follow
// the interval (start, end, high or low point, and the multiples that fall on
// them), and StationAt works out any one row from that plan alone.
//
// Chainages are in metres, as the line is marked out; heights and the
// profile's distances stay in track units. Rows are told apart to the
// millimetre, the precision a chainage is written to.
#pragma once

#include "ProfileState.h"

#include <optional>

namespace pendrio {

enum class StationPoint { None, Start, End, HighPoint, LowPoint };

struct Station {
    double Chainage = 0; // metres along the line
    double Distance = 0; // metres from the start of the stretch
    double Height = 0;   // track units, on the curve as the plot draws it
    double Slope = 0;    // rise per run, as the section's parabola gives it
    StationPoint Point = StationPoint::None;
};

enum class StationsProblem { None, IntervalNotUsable, TooManyStations, ChainageNotUsable };

// Stretch length / interval may not exceed this, nor may the rows, start and
// end included, number more than one over it: the most is a 100 km stretch
// pegged every metre.
inline constexpr double MaxStationsPerStretch = 100000;
// Metres; beyond it a chainage cannot be written to the millimetre.
inline constexpr double MaxChainage = 1e12;
// Metres. Pegs closer than this are not set out, and it keeps every multiple
// of the interval on a millimetre of its own, however the products round.
inline constexpr double MinStationInterval = 0.01;

// The chainage in whole millimetres, ties to even: what tells two rows apart,
// and what a chainage is written as.
double ChainageMillimetres(double metres);

// Everything StationAt needs to work out a row; plain values only, so that a
// view keeps it as it keeps the profile. The regular rows are the multiples
// FirstMultiple, FirstMultiple + 1, ... of the interval, RegularCount of them,
// less the one at MergedRegular (if any) that falls on the high or low point.
struct StationPlan {
    StationsProblem Problem = StationsProblem::None;
    int Count = 0; // rows; 0 when refused
    double StartChainage = 0;
    double EndChainage = 0;
    double Length = 0;   // metres
    double Interval = 0; // metres
    double FirstMultiple = 0;
    int RegularCount = 0;
    int MergedRegular = -1;                    // index among the regular rows, or -1
    bool HasEnd = false;                       // false when the end lies on the start's millimetre
    StationPoint Extreme = StationPoint::None; // HighPoint or LowPoint when it is a row
    int ExtremeRow = -1;
    double ExtremeChainage = 0;
    double ExtremeDistance = 0; // track units
};

// Plans the stations of a calculated profile (TrackLength finite and not
// negative) for the chainage at its start and an interval, both in metres.
// Refused, with Count 0: an interval that is not a positive finite number or
// is below MinStationInterval (IntervalNotUsable); too many stations
// (TooManyStations); a start or end chainage that is not finite or beyond
// MaxChainage, or a length that is not (ChainageNotUsable). Pure; never throws.
StationPlan PlanStations(const ProfileState& profile, double startChainage, double interval);

// Row 0..Count - 1 of the plan, in rising chainage; a row outside is taken at
// the nearest end, and a refused plan gives a Station of zeros. Constant time,
// no allocation.
Station StationAt(const ProfileState& profile, const StationPlan& plan, int row);

// The station at any chainage on the stretch (start to end inclusive, to the
// millimetre): the start, end, high or low point itself when the chainage is
// on its millimetre, else a plain station there. None off the stretch, for
// input that is not finite, or where PlanStations would refuse the chainages.
std::optional<Station> StationAtChainage(const ProfileState& profile, double startChainage,
                                         double chainage);

} // namespace pendrio
