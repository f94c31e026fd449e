// A table of a calculation described once, for every way it leaves the
// program: each column says its header, what a row holds in it, where it
// appears (the window's table, the copied text, the CSV file), how the table
// rounds it, how it is aligned and how wide it usually is. The table model,
// the column widths, the clipboard, the CSV and the report all read this, so
// that a new column is one line in one list.
//
// The table is for reading: numbers rounded to the column's places, or with
// 15 significant digits. The copied text is for people and spreadsheets: 15
// significant digits in the locale's number form. The CSV file is for
// programs: plain ASCII, every number the shortest text that reads back to
// the identical double, a point as the separator whatever the locale, headers
// and names as written here, untranslated.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <ranges>
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

// A cell as the output `where` (one of InTable, InCopy, InCsv) writes it.
QString CellText(const char* context, const ColumnFormat& format, const Cell& cell, Shown where,
                 const QLocale& locale);
QByteArray CsvField(const ColumnFormat& format, const Cell& cell);
// A header as the CSV writes it: as written, with ° and ‰ spelt out.
QByteArray CsvHeader(const ColumnFormat& format);
// The shortest text that reads back to the identical double.
QByteArray ShortestText(double value);
// Numbers to the right, so that their digits line up; words to the left.
Qt::Alignment CellAlignment(const ColumnFormat& format);
// A text as wide as the column usually needs: its sample, translated where
// it is a name, or its header.
QString ColumnSample(const char* context, const ColumnFormat& format);

// The columns of one output, left to right.
template <typename Row>
std::vector<ColumnFormat> ColumnsShown(const TableDescription<Row>& table, Shown where) {
    std::vector<ColumnFormat> formats;
    for (const TableColumn<Row>& column : table.columns) {
        if (column.format.shown & where) {
            formats.push_back(column.format);
        }
    }
    return formats;
}

// The headers of one output, translated.
template <typename Row> QStringList Headers(const TableDescription<Row>& table, Shown where) {
    QStringList headers;
    for (const ColumnFormat& format : ColumnsShown(table, where)) {
        headers << QCoreApplication::translate(table.context, format.header);
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

// A header row and the rows `rowAt(i)` for each i of `rows`, cells separated
// by tabs, lines ended by '\n', as the clipboard takes them.
template <typename Row, typename Indices, typename RowAt>
QString TabText(const TableDescription<Row>& table, const Indices& rows, RowAt rowAt,
                const QLocale& locale) {
    QString text = Headers(table, InCopy).join(u'\t') + u'\n';
    // About 90 characters a row, so that 100,001 rows are one allocation.
    text.reserve(text.size() + 90 * qsizetype(std::ranges::size(rows)));
    for (const int index : rows) {
        text += RowTexts(table, rowAt(index), InCopy, locale).join(u'\t');
        text += u'\n';
    }
    return text;
}

// RFC 4180, plain ASCII, CRLF line ends: a header row and rows 0..count-1.
// No header, name or number holds a comma, quote or line end, so no field
// needs quoting.
template <typename Row, typename RowAt>
QByteArray Csv(const TableDescription<Row>& table, int count, RowAt rowAt) {
    QByteArray csv;
    csv.reserve(100 + 100 * qsizetype(std::max(count, 0)));
    const auto addLine = [&](auto field) {
        bool first = true;
        for (const TableColumn<Row>& column : table.columns) {
            if (column.format.shown & InCsv) {
                csv += (first ? "" : ",") + field(column);
                first = false;
            }
        }
        csv += "\r\n";
    };
    addLine([](const TableColumn<Row>& column) { return CsvHeader(column.format); });
    for (int index = 0; index < count; ++index) {
        const Row row = rowAt(index);
        addLine([&](const TableColumn<Row>& column) {
            return CsvField(column.format, column.cell(row));
        });
    }
    return csv;
}

} // namespace pendrio
