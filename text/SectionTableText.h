// The section table as text: one row per section of a calculated profile,
// the columns a track editor needs. The profile window's table, the clipboard
// text and the CSV file all come from the one column list here, so that they
// can never disagree about what a column holds.
//
// The clipboard text is for people and spreadsheets: 15 significant digits in
// the locale's number form, exactly as the window writes numbers. The CSV file
// is for programs: every number is the shortest text that reads back to the
// identical double, with a point as the separator whatever the locale.
#pragma once

#include "profile/ProfileState.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace pendrio {

// One value of a section row, in the unit the column names.
struct SectionColumn {
    const char* header; // with its unit, e.g. "Section length [track units]"
    double (*value)(const ProfileState& profile, int section);
    bool wholeNumber; // the section number: written without a decimal part
};

// The columns of the table, left to right: section number, distance from the
// start of the stretch to the section's start, section length, 2nd and 1st
// order coefficient, height at the section's start, gradient at its start
// and at its end (degrees).
const std::vector<SectionColumn>& SectionColumns();

// The header of a column as people read it (translated; the CSV keeps the
// header as written).
QString SectionHeaderText(int column);

// One cell as the window shows it: NumberToText of the column's value.
QString SectionCellText(const ProfileState& profile, int section, int column,
                        const QLocale& locale);

// A header row and one row per given section (all when `sections` is empty),
// cells separated by tabs, lines ended by '\n', numbers in the locale's form.
QString SectionsAsTabText(const ProfileState& profile, const QLocale& locale,
                          const std::vector<int>& sections = {});

// RFC 4180: plain ASCII (degrees as "deg"), CRLF line ends, a header row,
// and every number as the shortest text that reads back to the same double.
// The gradients are given in degrees and, so that the stored values
// themselves are kept, in radians.
QByteArray SectionsAsCsv(const ProfileState& profile);

} // namespace pendrio
