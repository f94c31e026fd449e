#include "window/text/StationTableText.h"

#include "profile/Transcendental.h"

#include "window/text/ChainageText.h"
#include "window/text/NumberText.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace pendrio {

namespace {

constexpr const char* Context = "pendrio::StationTableText";

QString translated(const char* text) {
    return QCoreApplication::translate(Context, text);
}

enum class ColumnKind {
    Chainage, // kilometre form; the copy and the CSV add the plain metres
    Point,
    Number,
};

struct StationColumn {
    const char* header; // with its unit
    ColumnKind kind;
    double (*value)(const Station& station); // in the unit the header names
    int places;                              // decimals the table shows
};

const std::array<StationColumn, 5> columns{{
    {QT_TRANSLATE_NOOP("pendrio::StationTableText", "Chainage"), ColumnKind::Chainage,
     [](const Station& s) { return s.Chainage; }, 3},
    {QT_TRANSLATE_NOOP("pendrio::StationTableText", "Point"), ColumnKind::Point, nullptr, 0},
    {QT_TRANSLATE_NOOP("pendrio::StationTableText", "Distance [m]"), ColumnKind::Number,
     [](const Station& s) { return s.Distance; }, 3},
    {QT_TRANSLATE_NOOP("pendrio::StationTableText", "Height [m]"), ColumnKind::Number,
     [](const Station& s) { return s.Height / UnitsPerMetre; }, 3},
    // A slope as the trade gives it on a gradient post: rise per thousand.
    {QT_TRANSLATE_NOOP("pendrio::StationTableText", "Gradient [‰]"), ColumnKind::Number,
     [](const Station& s) { return Tan(s.Gradient) * 1000; }, 2},
}};

const char* const ChainageMetresHeader =
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "Chainage [m]");

// Indexed by StationPoint.
const std::array<const char*, 5> pointNames{
    "",
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "start"),
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "end"),
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "high point"),
    QT_TRANSLATE_NOOP("pendrio::StationTableText", "low point"),
};

const char* pointName(StationPoint point) {
    const auto index = static_cast<std::size_t>(point);
    return index < pointNames.size() ? pointNames[index] : "";
}

QByteArray shortestText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QByteArray(buffer.data(), result.ptr - buffer.data());
}

bool isRowOf(const StationPlan& plan, int row) {
    return row >= 0 && row < plan.Count;
}

} // namespace

QStringList StationColumns() {
    QStringList headers;
    for (const StationColumn& column : columns) {
        headers << translated(column.header);
    }
    return headers;
}

QString StationPointText(StationPoint point) {
    const char* name = pointName(point);
    return *name ? translated(name) : QString();
}

QString StationCellText(const Station& station, int column, const QLocale& locale) {
    if (column < 0 || std::size_t(column) >= columns.size()) {
        return {};
    }
    const StationColumn& c = columns[std::size_t(column)];
    switch (c.kind) {
    case ColumnKind::Chainage:
        return ChainageText(c.value(station), locale);
    case ColumnKind::Point:
        return StationPointText(station.Point);
    case ColumnKind::Number:
        return FixedText(c.value(station), c.places, locale);
    }
    return {};
}

QString StationsAsTabText(const ProfileState& profile, const StationPlan& plan,
                          const QLocale& locale, const std::vector<int>& rows) {
    const std::size_t rowCount = rows.empty() ? std::size_t(plan.Count) : rows.size();
    QString text;
    // About 90 characters a row, so that 100,001 rows are one allocation.
    text.reserve(qsizetype(100 + 90 * rowCount));
    const QString tab = QStringLiteral("\t");
    for (std::size_t c = 0; c < columns.size(); ++c) {
        text += (c ? tab : QString()) + translated(columns[c].header);
        if (columns[c].kind == ColumnKind::Chainage) {
            text += tab + translated(ChainageMetresHeader);
        }
    }
    text += u'\n';
    // The point names once, not once a row.
    std::array<QString, pointNames.size()> points;
    for (std::size_t p = 0; p < points.size(); ++p) {
        points[p] = StationPointText(static_cast<StationPoint>(p));
    }
    const auto addRow = [&](int row) {
        const Station station = StationAt(profile, plan, row);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) {
                text += u'\t';
            }
            const StationColumn& column = columns[c];
            switch (column.kind) {
            case ColumnKind::Chainage:
                text += ChainageText(station.Chainage, locale);
                text += u'\t';
                text += NumberToText(station.Chainage, locale);
                break;
            case ColumnKind::Point:
                text += points[std::size_t(station.Point)];
                break;
            case ColumnKind::Number:
                text += NumberToText(column.value(station), locale);
                break;
            }
        }
        text += u'\n';
    };
    if (rows.empty()) {
        for (int row = 0; row < plan.Count; ++row) {
            addRow(row);
        }
    }
    for (const int row : rows) {
        if (isRowOf(plan, row)) {
            addRow(row);
        }
    }
    return text;
}

QByteArray StationsAsCsv(const ProfileState& profile, const StationPlan& plan) {
    // The headers and point names hold no comma, quote or line end, so no
    // field needs quoting. The per mille sign is spelt out, so that the file
    // is plain ASCII whatever code page a spreadsheet reads it in.
    QByteArray csv;
    csv.reserve(qsizetype(100 + 100 * std::size_t(std::max(plan.Count, 0))));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        csv += (c ? "," : "") + QByteArray(columns[c].header).replace("‰", "per mille");
        if (columns[c].kind == ColumnKind::Chainage) {
            csv += QByteArray(",") + ChainageMetresHeader;
        }
    }
    csv += "\r\n";
    const QLocale point = QLocale::c();
    for (int row = 0; row < plan.Count; ++row) {
        const Station station = StationAt(profile, plan, row);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) {
                csv += ',';
            }
            const StationColumn& column = columns[c];
            switch (column.kind) {
            case ColumnKind::Chainage:
                csv += ChainageText(station.Chainage, point).toLatin1() + ',' +
                       shortestText(station.Chainage);
                break;
            case ColumnKind::Point:
                csv += pointName(station.Point);
                break;
            case ColumnKind::Number:
                csv += shortestText(column.value(station));
                break;
            }
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace pendrio
