// The stations of a calculated curve as text: one row per peg a site crew
// sets out. As with the section table, the window's table, the clipboard text
// and the CSV file all come from the one column list here.
//
// The table is for reading on site: the chainage in kilometre form, lengths
// and heights in metres to the millimetre, the gradient in per mille to two
// decimals. The clipboard text carries every value with 15 significant digits
// in the locale's number form, and the CSV file every value as the shortest
// text that reads back to the identical double; both add the chainage in
// plain metres beside its kilometre form.
#pragma once

#include "profile/Stations.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace pendrio {

// The table's column headers, left to right: "Chainage", "Point",
// "Distance [m]", "Height [m]", "Gradient [‰]", translated.
QStringList StationColumns();

// "start", "end", "high point", "low point", or empty, translated.
QString StationPointText(StationPoint point);

// One cell as the table shows it, rounded for reading on site.
QString StationCellText(const Station& station, int column, const QLocale& locale);

// A header row and one row per given row of the plan (all when `rows` is
// empty; rows outside the plan are left out), cells separated by tabs, lines
// ended by '\n'. The table's columns with full values in the locale's number
// form, and "Chainage [m]" after "Chainage".
QString StationsAsTabText(const ProfileState& profile, const StationPlan& plan,
                          const QLocale& locale, const std::vector<int>& rows = {});

// RFC 4180: plain ASCII (per mille spelt out), CRLF line ends, a header row,
// every row of the plan; the chainage in kilometre form with a point and
// exactly in metres, every number as the shortest text that reads back to
// the same double. Headers and point names are not translated: the file is
// for programs.
QByteArray StationsAsCsv(const ProfileState& profile, const StationPlan& plan);

} // namespace pendrio
