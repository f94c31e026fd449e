// The section table: one row per section, the columns a track editor needs,
// described once (TableText.h) for the window's table, the clipboard text and
// the CSV file, which adds the gradients in radians, the values as stored.
#pragma once

#include "profile/ProfileState.h"
#include "text/TableText.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <vector>

namespace pendrio {

struct SectionRow {
    const ProfileState* profile;
    int section; // 1..SectionCount
};

// Section number, distance from the start of the stretch to the section's
// start, section length, 2nd and 1st order coefficient, height at the
// section's start, gradient at its start and at its end (degrees; in the CSV
// also radians).
const TableDescription<SectionRow>& SectionsTable();

// A header row and one row per given section (all when `sections` is empty).
QString SectionsAsTabText(const ProfileState& profile, const QLocale& locale,
                          const std::vector<int>& sections = {});

// Every section of the calculation.
QByteArray SectionsAsCsv(const ProfileState& profile);

} // namespace pendrio
