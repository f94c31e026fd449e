#include "export/Report.h"

#include "export/AtomicFile.h"
#include "export/ReportTableLayout.h"
#include "plot/ScaledCanvas.h"
#include "programinfo/ProgramInfo.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace pendrio {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::Report)
};

// Sizes and lengths in points (1/72 inch), converted with each device's
// resolution. The table's padding grows and shrinks with its font.
constexpr double TitlePoints = 16;
constexpr double HeadingPoints = 11;
constexpr double BodyPoints = 10;
constexpr double FooterPoints = 8;
constexpr double BlockGap = 12;
constexpr double HeadingGap = 3;
constexpr double FooterGap = 8;
constexpr double RuleWidth = 0.4;
constexpr double MarginMillimetres = 15;
// Every other row is shaded, light enough for any printer.
constexpr QColor Shading(235, 235, 235);

// One thing on a page, its rectangle in device units from the top left of
// the printable area.
struct Placed {
    enum class Kind { Text, Plot, TableHeader, TableRows };
    Kind kind = Kind::Text;
    QRectF rect{};
    QString text{};   // Text
    QFont font{};     // Text
    int table = -1;   // TableHeader, TableRows
    int firstRow = 0; // TableRows: firstRow up to endRow, endRow not included
    int endRow = 0;
};
using Page = std::vector<Placed>;

// The first pass: what goes on which page, measured with the device's fonts,
// so that the second pass knows the number of pages before it paints one.
class Planner {
public:
    Planner(const QPaintDevice& device, double width, double height)
        : device_(device), width_(width), height_(height) {}

    std::vector<Page> takePages() { return std::move(pages_); }
    double room() const { return height_ - y_; }
    bool pageIsEmpty() const { return pages_.back().empty(); }

    // Starts a new page unless `height` fits on this one; an empty page takes
    // anything, so that nothing is pushed from page to page for ever.
    void keep(double height) {
        if (!pageIsEmpty() && y_ + height > height_) {
            newPage();
        }
    }
    void newPage() {
        pages_.emplace_back();
        y_ = 0;
    }
    void gap(double height) {
        if (!pageIsEmpty()) {
            y_ += height;
        }
    }
    void place(Placed item, double height) {
        item.rect = QRectF(0, y_, width_, height);
        pages_.back().push_back(std::move(item));
        y_ += height;
    }

    double textHeight(const QFont& font, const QString& text) const {
        const QFontMetricsF metrics(font, &device_);
        return std::max(
            metrics.height(),
            metrics.boundingRect(QRectF(0, 0, width_, 1e9), Qt::TextWordWrap, text).height());
    }
    void placeText(const QFont& font, const QString& text) {
        const double height = textHeight(font, text);
        keep(height);
        place({.kind = Placed::Kind::Text, .text = text, .font = font}, height);
    }
    // A heading goes to the next page unless its first line fits below it.
    void placeHeading(const QFont& font, const QString& text, double next) {
        keep(textHeight(font, text) + HeadingGap + next);
        placeText(font, text);
        y_ += HeadingGap;
    }

private:
    const QPaintDevice& device_;
    double width_;
    double height_;
    double y_ = 0;
    std::vector<Page> pages_{1};
};

void planLines(Planner& planner, double perPoint, const QString& heading,
               const QStringList& lines) {
    if (lines.isEmpty()) {
        return;
    }
    const QFont body = ReportFont(BodyPoints, false);
    planner.gap(BlockGap * perPoint);
    planner.placeHeading(ReportFont(HeadingPoints, true), heading,
                         planner.textHeight(body, lines.constFirst()));
    for (const QString& line : lines) {
        planner.placeText(body, line);
    }
}

// The table in pieces of as many rows as fit, each under its heading and
// header row. Each piece takes at least one row, so there are at most
// rows + 1 of them: a table without rows has its heading and header alone.
void planTable(Planner& planner, double perPoint, int index, const ReportTable& table,
               const TableLayout& layout) {
    const int rows = RowsOf(table);
    if (rows == 0 && !table.whyEmpty.isEmpty()) {
        planLines(planner, perPoint, table.heading, {table.whyEmpty});
        return;
    }
    const QFont headingFont = ReportFont(HeadingPoints, true);
    planner.gap(BlockGap * perPoint);
    int first = 0;
    for (int piece = 0; piece <= rows; ++piece) {
        if (piece > 0) {
            planner.newPage();
        }
        const double firstRows = layout.headerHeight + (first < rows ? layout.rowHeight : 0);
        if (!table.heading.isEmpty()) {
            planner.placeHeading(headingFont,
                                 piece == 0 ? table.heading
                                            : Text::tr("%1 (continued)").arg(table.heading),
                                 firstRows);
        } else {
            planner.keep(firstRows);
        }
        planner.place({.kind = Placed::Kind::TableHeader, .table = index}, layout.headerHeight);
        const int fit = std::max(1, int(std::floor(planner.room() / layout.rowHeight + 1e-9)));
        const int count = std::min(fit, rows - first);
        if (count > 0) {
            planner.place({.kind = Placed::Kind::TableRows,
                           .table = index,
                           .firstRow = first,
                           .endRow = first + count},
                          count * layout.rowHeight);
        }
        first += count;
        if (first >= rows) {
            return;
        }
    }
}

// The plot gets the page's width and a third of its height.
std::vector<Page> planReport(const QPaintDevice& device, const ReportContent& content,
                             const std::vector<TableLayout>& layouts, double perPoint,
                             double bodyHeight) {
    Planner planner(device, device.width(), bodyHeight);
    if (!content.title.isEmpty()) {
        planner.placeText(ReportFont(TitlePoints, true), content.title);
    }
    planLines(planner, perPoint, Text::tr("Inputs"), content.inputLines);
    planLines(planner, perPoint, Text::tr("Curve facts"), content.facts);
    if (content.paintPlot) {
        const double height = std::floor(device.height() / 3.0);
        planner.gap(BlockGap * perPoint);
        planner.keep(height);
        planner.place({.kind = Placed::Kind::Plot}, height);
    }
    const int tables = int(content.tables.size());
    for (int t = 0; t < tables; ++t) {
        planTable(planner, perPoint, t, content.tables[std::size_t(t)], layouts[std::size_t(t)]);
    }
    return planner.takePages();
}

void paintPlot(QPainter& painter, const ReportContent& content, const QRectF& box) {
    if (content.paintPlot) {
        PaintAsOnScreen(painter, box, content.paintPlot);
    }
}

void paintRule(QPainter& painter, double y, double width, double thickness) {
    painter.fillRect(QRectF(0, y - thickness / 2, width, thickness), Qt::black);
}

void paintTableHeader(QPainter& painter, const ReportTable& table, const TableLayout& layout,
                      const QRectF& rect, double perPoint) {
    painter.setFont(layout.headerFont);
    const int columns = int(table.headers.size());
    double x = 0;
    for (int c = 0; c < columns; ++c) {
        const double width = layout.widths[std::size_t(c)];
        const Qt::Alignment align =
            layout.rightAligned[std::size_t(c)] ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(QRectF(x + layout.padding, rect.top() + layout.rowPadding,
                                width - 2 * layout.padding,
                                rect.height() - 2 * layout.rowPadding - HeaderRuleWidth * perPoint),
                         int(align | Qt::AlignBottom | Qt::TextWordWrap), table.headers.at(c));
        x += width;
    }
    paintRule(painter, rect.bottom() - HeaderRuleWidth * perPoint / 2, x,
              HeaderRuleWidth * perPoint);
}

// Each cell with a drawText of its own, so that a PDF reader finds every one
// whole and never joins two.
void paintTableRows(QPainter& painter, const ReportTable& table, const TableLayout& layout,
                    const Placed& rows, double perPoint) {
    painter.setFont(layout.font);
    const int columns = int(table.headers.size());
    const double tableWidth = std::accumulate(layout.widths.begin(), layout.widths.end(), 0.0);
    const double baseline = layout.rowPadding + layout.metrics.ascent();
    for (int r = rows.firstRow; r < rows.endRow; ++r) {
        const double top = rows.rect.top() + (r - rows.firstRow) * layout.rowHeight;
        if (r % 2 == 1) {
            painter.fillRect(QRectF(0, top, tableWidth, layout.rowHeight), Shading);
        }
        const QStringList cells = table.row(r);
        const int shown = std::min(columns, int(cells.size()));
        double x = 0;
        for (int c = 0; c < shown; ++c) {
            const QString& cell = cells.at(c);
            const double width = layout.widths[std::size_t(c)];
            const double left =
                layout.rightAligned[std::size_t(c)]
                    ? x + width - layout.padding - layout.metrics.horizontalAdvance(cell)
                    : x + layout.padding;
            if (!cell.isEmpty()) {
                painter.drawText(QPointF(left, top + baseline), cell);
            }
            x += width;
        }
    }
    if (rows.endRow == RowsOf(table)) {
        paintRule(painter, rows.rect.bottom(), tableWidth, RuleWidth * perPoint);
    }
}

// The title on the left, so that a loose page still says what it belongs to,
// and "Page n of m" on the right.
void paintFooter(QPainter& painter, const QString& title, int page, int pages, const QRectF& footer,
                 double perPoint) {
    painter.setFont(ReportFont(FooterPoints, false));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QString pageText = Text::tr("Page %1 of %2").arg(page).arg(pages);
    const double pageWidth = metrics.horizontalAdvance(pageText);
    paintRule(painter, footer.top(), footer.width(), RuleWidth * perPoint);
    const QRectF text = footer.adjusted(0, RuleWidth * perPoint, 0, 0);
    painter.drawText(text, int(Qt::AlignRight | Qt::AlignBottom), pageText);
    const double titleRoom = footer.width() - pageWidth - 2 * BlockGap * perPoint;
    if (!title.isEmpty() && titleRoom > 0) {
        painter.drawText(text, int(Qt::AlignLeft | Qt::AlignBottom),
                         metrics.elidedText(title, Qt::ElideRight, titleRoom));
    }
}

enum class Painted { Whole, Cancelled, Failed };

// One planned page's things, each in its place.
void paintPage(QPainter& painter, const ReportContent& content,
               const std::vector<TableLayout>& layouts, const Page& page, double perPoint) {
    for (const Placed& item : page) {
        switch (item.kind) {
        case Placed::Kind::Text:
            painter.setFont(item.font);
            painter.drawText(item.rect, int(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap),
                             item.text);
            break;
        case Placed::Kind::Plot:
            paintPlot(painter, content, item.rect);
            break;
        case Placed::Kind::TableHeader:
            paintTableHeader(painter, content.tables[std::size_t(item.table)],
                             layouts[std::size_t(item.table)], item.rect, perPoint);
            break;
        case Placed::Kind::TableRows:
            paintTableRows(painter, content.tables[std::size_t(item.table)],
                           layouts[std::size_t(item.table)], item, perPoint);
            break;
        }
    }
}

// The pages chosen in a print dialog, counted from 0; all when none are.
std::vector<int> chosenPages(const QPagedPaintDevice& device, int pageCount) {
    const QPageRanges ranges = device.pageRanges();
    std::vector<int> chosen;
    for (int p = 0; p < pageCount; ++p) {
        if (ranges.isEmpty() || ranges.contains(p + 1)) {
            chosen.push_back(p);
        }
    }
    return chosen;
}

Painted paintReport(QPagedPaintDevice& device, const ReportContent& content,
                    const ReportProgress& progress) {
    const double perPoint = device.logicalDpiY() / 72.0;
    const double width = device.width();
    const double footerHeight =
        FooterGap * perPoint + QFontMetricsF(ReportFont(FooterPoints, false), &device).height();
    const double bodyHeight = device.height() - footerHeight;
    if (width <= 0 || bodyHeight <= 0) {
        return Painted::Failed;
    }
    std::vector<TableLayout> layouts;
    for (const ReportTable& table : content.tables) {
        layouts.push_back(LayoutTable(table, device, perPoint, width));
    }
    const std::vector<Page> pages = planReport(device, content, layouts, perPoint, bodyHeight);
    const std::vector<int> chosen = chosenPages(device, int(pages.size()));
    QPainter painter;
    if (chosen.empty() || !painter.begin(&device)) {
        return chosen.empty() ? Painted::Whole : Painted::Failed;
    }
    painter.setPen(Qt::black);
    const QRectF footer(0, bodyHeight + FooterGap * perPoint / 2, width,
                        footerHeight - FooterGap * perPoint / 2);
    const int total = int(chosen.size());
    for (int done = 0; done < total; ++done) {
        const int p = chosen[std::size_t(done)];
        if (done > 0 && !device.newPage()) {
            return Painted::Failed;
        }
        paintPage(painter, content, layouts, pages[std::size_t(p)], perPoint);
        paintFooter(painter, content.title, p + 1, int(pages.size()), footer, perPoint);
        if (progress && !progress(done + 1, total)) {
            return Painted::Cancelled;
        }
    }
    return Painted::Whole;
}

} // namespace

bool PaintReport(QPagedPaintDevice& device, const ReportContent& content,
                 const ReportProgress& progress) {
    return paintReport(device, content, progress) == Painted::Whole;
}

QPageSize ReportPaperFor(const QLocale& locale) {
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

Done WriteReportPdf(const QString& path, const ReportContent& content, const QLocale& locale,
                    const ReportProgress& progress) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Painted painted = Painted::Failed;
    {
        QPdfWriter writer(&buffer);
        const QMarginsF margins(MarginMillimetres, MarginMillimetres, MarginMillimetres,
                                MarginMillimetres);
        writer.setPageLayout(QPageLayout(ReportPaperFor(locale), QPageLayout::Portrait, margins,
                                         QPageLayout::Millimeter));
        writer.setTitle(content.title);
        writer.setCreator(QString::fromUtf8(ProgramName));
        painted = paintReport(writer, content, progress);
    }
    switch (painted) {
    case Painted::Whole:
        break;
    case Painted::Cancelled:
        return {};
    case Painted::Failed:
        return Done::Refused(Text::tr("The report could not be made."));
    }
    return WriteFileAtomically(path, buffer.data());
}

} // namespace pendrio
