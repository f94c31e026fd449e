// A table of a calculation described once for every way it leaves the
// program: each column's header, what a row holds in it, where it appears
// (the window's table, the copied text, the CSV file), how the table rounds
// it, its alignment and usual width. The table model, the column widths, the
// clipboard, the CSV and the report all read this: a new column is one entry.
// The table rounds for reading; the copied text has 15 significant digits in
// the locale's form; the CSV, for programs, is ASCII with every number the
// shortest text that reads back to the identical double.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace pendrio {

enum class CellKind {
    Number,   // a measurement
    Count,    // a whole number, as the section's
    Chainage, // metres along the line, in kilometre form: "1+020.000"
    Name,     // a word, translated for people
};

// Where a column appears: a combination of these.
enum Shown : unsigned { InTable = 1, InCopy = 2, InCsv = 4, Everywhere = 7 };

// How a column looks, whatever its rows.
struct ColumnFormat {
    const char* header; // with its unit; marked with QT_TRANSLATE_NOOP in the table's context
    CellKind kind;
    unsigned shown;
    int places;         // decimals in the table; -1 for 15 significant digits
    const char* sample; // as wide as the table's column usually needs; null: the header
};

// One value of a row: a number, or for a Name column an untranslated word.
struct Cell {
    double value = 0;
    const char* name = "";
};

template <typename Row> struct TableColumn {
    ColumnFormat format;
    Cell (*cell)(const Row& row);
};

template <typename Row> struct TableDescription {
    const char* context; // the translation context of the headers and names
    std::vector<TableColumn<Row>> columns;
};

// A header, and a cell, as the output `where` (one of InTable, InCopy, InCsv)
// writes it; the CSV's in ASCII, ° and ‰ spelt out, untranslated.
QString HeaderText(const char* context, const ColumnFormat& format, Shown where);
QString CellText(const char* context, const ColumnFormat& format, const Cell& cell, Shown where,
                 const QLocale& locale);
// Numbers to the right, so that their digits line up; words to the left.
Qt::Alignment CellAlignment(const ColumnFormat& format);
// A text as wide as the column usually needs: its sample, translated where
// it is a name, or its header.
QString ColumnSample(const char* context, const ColumnFormat& format);

// The columns of one output, left to right.
template <typename Row>
std::vector<TableColumn<Row>> ColumnsShown(const TableDescription<Row>& table, Shown where) {
    std::vector<TableColumn<Row>> shown;
    std::copy_if(table.columns.begin(), table.columns.end(), std::back_inserter(shown),
                 [where](const TableColumn<Row>& c) { return c.format.shown & where; });
    return shown;
}

template <typename Row> QStringList Headers(const TableDescription<Row>& table, Shown where) {
    QStringList headers;
    for (const TableColumn<Row>& column : ColumnsShown(table, where)) {
        headers << HeaderText(table.context, column.format, where);
    }
    return headers;
}

// One row's cells as the output `where` shows them.
template <typename Row>
QStringList RowTexts(const TableDescription<Row>& table, const Row& row, Shown where,
                     const QLocale& locale) {
    QStringList cells;
    for (const TableColumn<Row>& column : table.columns) {
        if (column.format.shown & where) {
            cells << CellText(table.context, column.format, column.cell(row), where, locale);
        }
    }
    return cells;
}

// `count` row numbers from `first` on.
std::vector<int> RowNumbers(int first, int count);

// A header row and a line for the row `rowAt(i)` of each i of `rows`: for
// the clipboard (InCopy) cells separated by tabs, lines by '\n'; for a CSV
// file (InCsv, RFC 4180) by commas and CRLF. No header, name or number holds
// a comma, quote or line end, so no field needs quoting.
template <typename Row, typename RowAt>
QString TableLines(const TableDescription<Row>& table, Shown where, const std::vector<int>& rows,
                   RowAt rowAt, const QLocale& locale) {
    const QChar separator = where == InCsv ? u',' : u'\t';
    const QString end = where == InCsv ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text = Headers(table, where).join(separator) + end;
    // About 90 characters a row, so that 100,001 rows are one allocation;
    // each cell goes straight into it, with no list of a row's cells between.
    text.reserve(text.size() + 90 * qsizetype(rows.size()));
    for (const int index : rows) {
        const auto row = rowAt(index);
        bool first = true;
        for (const TableColumn<Row>& column : table.columns) {
            if (column.format.shown & where) {
                if (!std::exchange(first, false)) {
                    text += separator;
                }
                text += CellText(table.context, column.format, column.cell(row), where, locale);
            }
        }
        text += end;
    }
    return text;
}

} // namespace pendrio
