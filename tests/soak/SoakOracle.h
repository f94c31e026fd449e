// The program soak's oracle: what every copy, file and report must hold, worked
// out from the engine alone (CalculateProfile's results, PlanStations and
// StationAt) for the calculation and the station plan that were on show when
// the command was given. Cells are read back and compared with the engine's
// values to the last digit shown; nothing expected is written with the text
// functions the windows write with (only what the user typed is read as the
// boxes read it), so a window that writes the wrong calculation cannot agree
// with itself here.
//
// Each check returns an empty string when the text is right, else what is
// wrong, naming the row and the cell.
#pragma once

#include "profile/ProfileState.h"
#include "profile/Stations.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <vector>

namespace pendrio::soak {

// What the profile window has on show, as the soak recorded it: the last
// calculation the main window announced, and the chainage at start and the
// interval the soak last saw taken.
struct ShownCurve {
    ProfileState profile;
    double startChainage = 0; // metres
    double interval = 10;     // metres
    StationPlan plan() const { return PlanStations(profile, startChainage, interval); }
};

// The section table as CSV: every value the shortest text that reads back to
// the engine's double.
QString CheckSectionsCsv(const QByteArray& csv, const ProfileState& profile);
// The station table as CSV, with the chainage also in kilometre form.
QString CheckStationsCsv(const QByteArray& csv, const ShownCurve& shown);

// Copied sections (numbered from 1) or stations (rows from 0), all of them
// when the list is empty: 15 significant digits in the locale's form.
QString CheckSectionsCopy(const QString& text, const ProfileState& profile, const QLocale& locale,
                          std::vector<int> sections);
QString CheckStationsCopy(const QString& text, const ShownCurve& shown, const QLocale& locale,
                          std::vector<int> rows);

// The report as `pdftotext -layout` reads it: every section and station row
// as the tables show them, in order and no other, and the station table's
// heading, or why it has no rows.
QString CheckReportText(const QString& text, const ShownCurve& shown, const QLocale& locale);

// A sentence saying why there are no stations ("No stations: every 5 m from
// 1+000.000 gives ..."): the reason the plan has, the interval and chainage typed.
QString CheckWhyNoStations(const QString& sentence, const ShownCurve& shown, const QLocale& locale);

// "Height at chainage" for `typed`: no text, an answer from the engine's
// station there (leading with the unit of View), off the stretch, or how to
// type a chainage.
QString CheckChainageAnswer(const QString& answer, const QString& typed, const ShownCurve& shown,
                            const QLocale& locale, bool metresFirst);

// A box too narrow for its value shows it in fewer digits, the whole text in
// its tooltip: never as another number, but within half a unit of its last
// digit of the whole (a reader's "1.8E+308" is 1.79E+308 in two digits).
QString CheckShortenedValue(const QString& shown, const QString& toolTip, const QLocale& locale);

// `value` rounded to 15 significant digits, as the windows write numbers.
double RoundedTo15Digits(double value);

} // namespace pendrio::soak
