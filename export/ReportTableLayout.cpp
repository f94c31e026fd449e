// How a table of the report is laid out on one device: the font it can take,
// each column's width, the height of its header and of its rows.
#include "export/ReportTableLayout.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace pendrio {

namespace {

// Sizes and lengths in points (1/72 inch), converted with each device's
// resolution. The padding grows and shrinks with the table's font.
constexpr double TablePoints = 9;
// A table too wide for the page gets a smaller font, down to this; if it is
// wider still, its widest columns are cut and their longest cells run over.
constexpr double SmallestTablePoints = 5;
constexpr double CellPadding = 4; // each side, so that a PDF reader sees a gap between cells
constexpr double RowPadding = 1.5;
// Column widths are measured on at most this many rows, spread evenly from
// the first to the last, so that 100,001 rows take no longer to plan than 256.
constexpr int SampledRows = 256;

std::vector<QStringList> sampleRows(const ReportTable& table) {
    const int rows = RowsOf(table);
    const int count = std::min(rows, SampledRows);
    std::vector<QStringList> sample;
    sample.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::int64_t spread = count == 1 ? 0 : std::int64_t(i) * (rows - 1) / (count - 1);
        sample.push_back(table.row(int(spread)));
    }
    return sample;
}

// Each column's width, padding included: with its header on one line, and
// with the header wrapped at its words.
struct ColumnWidths {
    std::vector<double> natural;
    std::vector<double> wrapped;
};

ColumnWidths measureColumns(const ReportTable& table, const std::vector<QStringList>& sample,
                            const QFontMetricsF& cells, const QFontMetricsF& headers,
                            double padding) {
    const int columns = int(table.headers.size());
    // A little more than measured, so that rounding in the layout of the
    // text never wraps a header that was measured to fit.
    const double room = 2 * padding + padding / 8;
    ColumnWidths widths;
    for (int c = 0; c < columns; ++c) {
        const QString& header = table.headers.at(c);
        double widestWord = 0;
        for (const QString& word : header.split(u' ', Qt::SkipEmptyParts)) {
            widestWord = std::max(widestWord, headers.horizontalAdvance(word));
        }
        double widestCell = 0;
        for (const QStringList& row : sample) {
            if (c < row.size()) {
                widestCell = std::max(widestCell, cells.horizontalAdvance(row.at(c)));
            }
        }
        widths.natural.push_back(std::max(widestCell, headers.horizontalAdvance(header)) + room);
        widths.wrapped.push_back(std::max(widestCell, widestWord) + room);
    }
    return widths;
}

double sum(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0);
}

// Too wide even with wrapped headers: the widest columns are cut to one
// width, so that the narrow ones stay readable and only the widest cells run
// over.
std::vector<double> capWidths(std::vector<double> widths, double available) {
    std::vector<double> ascending = widths;
    std::sort(ascending.begin(), ascending.end());
    const std::size_t columns = ascending.size();
    double cap = available;
    double narrower = 0; // the columns below the cap, whole
    for (std::size_t c = 0; c < columns; ++c) {
        cap = (available - narrower) / double(columns - c);
        if (cap <= ascending[c]) {
            break;
        }
        narrower += ascending[c];
    }
    for (double& width : widths) {
        width = std::min(width, cap);
    }
    return widths;
}

// Headers on one line if the page is wide enough. Else they wrap, and what
// width is left goes to the wrapped columns in proportion to what they lack.
std::vector<double> fitWidths(const ColumnWidths& widths, double available) {
    const double natural = sum(widths.natural);
    const double wrapped = sum(widths.wrapped);
    if (natural <= available) {
        return widths.natural;
    }
    if (wrapped > available) {
        return capWidths(widths.wrapped, available);
    }
    std::vector<double> fitted = widths.wrapped;
    const double share = (available - wrapped) / (natural - wrapped);
    for (std::size_t c = 0; c < fitted.size(); ++c) {
        fitted[c] += (widths.natural[c] - widths.wrapped[c]) * share;
    }
    return fitted;
}

} // namespace

QFont ReportFont(double points, bool bold) {
    QFont font; // the application's, so that the report reads like the window
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

int RowsOf(const ReportTable& table) {
    return table.row ? std::max(0, table.rowCount) : 0;
}

TableLayout LayoutTable(const ReportTable& table, const QPaintDevice& device, double perPoint,
                        double available) {
    std::vector<QStringList> sample = sampleRows(table);
    sample.push_back(table.widest);
    const auto paddingAt = [&](double points) {
        return CellPadding * perPoint * points / TablePoints;
    };
    const auto measureAt = [&](double points) {
        return measureColumns(table, sample, QFontMetricsF(ReportFont(points, false), &device),
                              QFontMetricsF(ReportFont(points, true), &device), paddingAt(points));
    };
    double points = TablePoints;
    ColumnWidths widths = measureAt(points);
    if (const double wrapped = sum(widths.wrapped); wrapped > available) {
        points = std::max(SmallestTablePoints, points * available / wrapped);
        widths = measureAt(points);
    }
    TableLayout layout;
    layout.font = ReportFont(points, false);
    layout.headerFont = ReportFont(points, true);
    layout.metrics = QFontMetricsF(layout.font, &device);
    layout.widths = fitWidths(widths, available);
    layout.padding = paddingAt(points);
    layout.rowPadding = layout.padding * RowPadding / CellPadding;
    layout.rowHeight = layout.metrics.height() + 2 * layout.rowPadding;

    const QFontMetricsF headerMetrics(layout.headerFont, &device);
    const int columns = int(table.headers.size());
    for (int c = 0; c < columns; ++c) {
        layout.rightAligned.push_back(table.alignments.value(c) & Qt::AlignRight);
        const QRectF room(0, 0, std::max(1.0, layout.widths[std::size_t(c)] - 2 * layout.padding),
                          1e9);
        layout.headerHeight = std::max(
            layout.headerHeight,
            headerMetrics.boundingRect(room, Qt::TextWordWrap, table.headers.at(c)).height());
    }
    layout.headerHeight = std::max(layout.headerHeight, headerMetrics.height()) +
                          2 * layout.rowPadding + HeaderRuleWidth * perPoint;
    return layout;
}

} // namespace pendrio
