// The layout of the report's tables, apart from its pages: for Report.cpp.
#pragma once

#include "export/Report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>

#include <vector>

namespace pendrio {

// Points (1/72 inch) of the rule under a table's header row.
inline constexpr double HeaderRuleWidth = 0.8;

// The application's font at `points`, so that the report reads like the window.
QFont ReportFont(double points, bool bold);

// The rows a table has to show: none without a way to write them.
int RowsOf(const ReportTable& table);

// How one table is drawn on one device, in its units.
struct TableLayout {
    QFont font;
    QFont headerFont;
    QFontMetricsF metrics{QFont()};
    std::vector<double> widths; // padding included
    std::vector<bool> rightAligned;
    double padding = 0;
    double rowPadding = 0;
    double headerHeight = 0;
    double rowHeight = 0;
};

// The table's layout on `device` (`perPoint` device units a point) within
// `available` units of width.
TableLayout LayoutTable(const ReportTable& table, const QPaintDevice& device, double perPoint,
                        double available);

} // namespace pendrio
