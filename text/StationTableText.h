// The station table: one row per peg a site crew sets out, described once
// (TableText.h). The window's table is for reading on site: lengths and
// heights in metres to the millimetre, the gradient in per mille to two
// decimals; the copied text and the CSV add the chainage in plain metres.
#pragma once

#include "profile/Stations.h"
#include "text/TableText.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <vector>

namespace pendrio {

// Chainage (and in the copy and the CSV, Chainage [m]), Point, Distance [m],
// Height [m], Gradient [‰].
const TableDescription<Station>& StationsTable();

// A header row and one row per given row of the plan (all when `rows` is
// empty; rows outside the plan are left out).
QString StationsAsTabText(const ProfileState& profile, const StationPlan& plan,
                          const QLocale& locale, const std::vector<int>& rows = {});

// Every row of the plan.
QByteArray StationsAsCsv(const ProfileState& profile, const StationPlan& plan);

} // namespace pendrio
