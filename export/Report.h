// A printed or PDF report of one calculation, for a site crew to take along:
// the title, the inputs, the curve's facts, the plot, then each table, with
// "Page n of m" at the foot of every page. Tables that run over a page repeat
// their heading and header row at the top of the next.
//
// Everything is painted with QPainter on a QPagedPaintDevice, so the same code
// makes a PDF (QPdfWriter) and a print job (QPrinter). Text is real text, one
// drawText per cell, so that a PDF reader finds and copies every cell. Fonts
// and lengths are given in points and converted with the device's own
// resolution, so a report looks the same from a 1200 dpi PDF and a 600 dpi
// printer. Nothing here shows a dialog: the caller owns any progress and
// print dialog.
#pragma once

#include "text/Outcome.h"

#include <QLocale>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace pendrio {

// One table of the report: a heading, column headers, and rows read on demand
// (the station table may have 100,001 rows).
struct ReportTable {
    QString heading;
    QStringList headers;
    QList<Qt::Alignment> alignments; // a column each, as the window's table aligns it
    int rowCount = 0;
    // Cells of row 0..rowCount-1, as the window's table shows them, one for
    // each header.
    std::function<QStringList(int row)> row;
    // Why a table has no rows, said under its heading in place of the table.
    QString whyEmpty;
    // A cell each column must have room for, beyond the rows the widths are
    // measured on (the one "high point" among 100,001 stations), or empty.
    QStringList widest;
};

struct ReportContent {
    QString title;          // e.g. "Vertical transition curve"
    QStringList inputLines; // the five inputs, one line each, already as text
    QStringList facts;      // the curve facts, one line each
    // Draws the plot into the rectangle, when the plot's page is painted. It
    // draws on a device of the screen's resolution, and what it draws is
    // scaled into the plot's box as vector graphics and real text: a plot
    // drawn for the screen, its pens in pixels and its text measured with the
    // screen's fonts, looks the same on paper.
    std::function<void(QPainter&, const QRectF&)> paintPlot;
    std::vector<ReportTable> tables;
};

// Cancellation and progress: called after every page with (pages done, pages
// in all); return false to cancel. For a QPrinter, call its abort() in here
// before returning false, while the print run is still open: a run that is
// ended goes to the printer. Qt's PDF and CUPS printers cannot abort, though
// (abort() returns false): there a cancelled run prints the pages done.
using ReportProgress = std::function<bool(int done, int total)>;

// Paints the report onto `device` (a QPdfWriter or a QPrinter, its page layout
// set), page after page: the whole of it, or the device's page ranges as a
// print dialog sets them, each page numbered as in the whole. Returns false if
// `progress` cancelled it, or if the device could not be painted on at all or
// refused a new page.
bool PaintReport(QPagedPaintDevice& device, const ReportContent& content,
                 const ReportProgress& progress = {});

// The paper a PDF report is made on: Letter where the locale measures in US
// units, A4 elsewhere.
QPageSize ReportPaperFor(const QLocale& locale);

// Writes the report as a PDF on ReportPaperFor(locale) paper, portrait, with
// 15 mm margins, whole or not at all: it is made in memory and then written
// with WriteFileAtomically, so neither a failure nor a cancel leaves a file,
// and the old file of that name stays as it was. A cancel is no failure: it
// is done, with nothing written.
Done WriteReportPdf(const QString& path, const ReportContent& content, const QLocale& locale,
                    const ReportProgress& progress = {});

} // namespace pendrio
