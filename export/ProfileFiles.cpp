#include "export/ProfileFiles.h"

#include "export/AlignmentFiles.h"
#include "export/AtomicFile.h"
#include "profile/ProfileCurve.h"
#include "text/ChainageText.h"
#include "text/NumberText.h"
#include "text/ResultToolTips.h"
#include "text/SectionTableText.h"
#include "text/StationTableText.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace pendrio {

namespace {

constexpr char Context[] = "pendrio::ProfileFiles";

struct Text {
    Q_DECLARE_TR_FUNCTIONS(pendrio::ProfileFiles)
};

// Exported plots are drawn at this size (SVG user units and PNG pixels).
constexpr QSize ImageSize(1200, 600);

QByteArray plotAsSvg(const ExportSnapshot& shown) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(ImageSize);
    svg.setViewBox(QRect(QPoint(0, 0), ImageSize));
    svg.setResolution(96); // so that viewers show it at ImageSize pixels
    svg.setTitle(Text::tr("Height profile"));
    svg.setDescription(shown.facts.join(u'\n'));
    {
        QPainter painter(&svg);
        shown.plot.paint(painter, QRectF(QPointF(0, 0), ImageSize), PlotColours::forFiles(),
                         shown.facts);
    }
    return buffer.data();
}

Outcome<QByteArray> plotAsPng(const ExportSnapshot& shown) {
    QImage image(ImageSize, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        shown.plot.paint(painter, QRectF(image.rect()), PlotColours::forFiles(), shown.facts);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return Outcome<QByteArray>::Refused(Text::tr("The image could not be encoded as PNG."));
    }
    return buffer.data();
}

Done writeBytes(const QString& path, const Outcome<QByteArray>& bytes) {
    return bytes ? WriteFileAtomically(path, *bytes) : Done::Refused(bytes.reason());
}

// A described table's rows as the window's table shows them.
template <typename Row, typename RowAt>
ReportTable reportTable(const TableDescription<Row>& table, QString heading, int count, RowAt rowAt,
                        const QLocale& locale) {
    ReportTable result{std::move(heading), Headers(table, InTable), {}, count, {}, {}, {}};
    // Words are rare among the rows, numbers alike from row to row: only a
    // word column needs room for its longest word.
    for (const TableColumn<Row>& column : ColumnsShown(table, InTable)) {
        result.alignments << CellAlignment(column.format);
        result.widest << (column.format.kind == CellKind::Name
                              ? ColumnSample(table.context, column.format)
                              : QString());
    }
    result.row = [&table, rowAt, locale](int row) {
        return RowTexts(table, rowAt(row), InTable, locale);
    };
    return result;
}

ReportTable sectionTable(const SharedSnapshot& shown) {
    return reportTable(
        SectionsTable(), Text::tr("Sections"), CalculatedSectionCount(shown->profile),
        [shown](int row) {
            return SectionRow{&shown->profile, row + 1};
        },
        shown->locale);
}

// The stations as planned; with none, the table says why in their place.
ReportTable stationTable(const SharedSnapshot& shown) {
    const StationPlan& plan = shown->stations;
    const QString heading = shown->whyNoStations.isEmpty()
                                ? Text::tr("Stations every %1 m from %2")
                                      .arg(NumberToText(plan.Interval, shown->locale),
                                           ChainageText(plan.StartChainage, shown->locale))
                                : Text::tr("Stations");
    ReportTable stations = reportTable(
        StationsTable(), heading, plan.Count,
        [shown](int row) { return StationAt(shown->profile, shown->stations, row); },
        shown->locale);
    stations.whyEmpty = shown->whyNoStations;
    return stations;
}

} // namespace

const FileFormat& FormatOf(FileKind kind) {
    // clang-format off
    static const FileFormat formats[] = {
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save sections as CSV"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "CSV files (*.csv)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "profile"), "csv"},
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save stations as CSV"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "CSV files (*.csv)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "stations"), "csv"},
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save plot as SVG"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "SVG images (*.svg)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "profile"), "svg"},
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save plot as PNG"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "PNG images (*.png)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "profile"), "png"},
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save report as PDF"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "PDF documents (*.pdf)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "report"), "pdf"},
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save alignment as IFC"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "IFC files (*.ifc)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "alignment"), "ifc"},
        {QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "Save alignment as LandXML"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "LandXML files (*.xml)"),
         QT_TRANSLATE_NOOP("pendrio::ProfileFiles", "alignment"), "xml"},
    };
    // clang-format on
    return formats[static_cast<int>(kind)];
}

QString FormatText(const char* text) {
    return QCoreApplication::translate(Context, text);
}

Done CanWrite(FileKind kind, const ExportSnapshot& shown) {
    switch (kind) {
    case FileKind::StationsCsv:
        return shown.whyNoStations.isEmpty() ? Done() : Done::Refused(shown.whyNoStations);
    case FileKind::Ifc:
    case FileKind::LandXml:
        return CanWriteAlignment(shown.profile, shown.startChainage);
    case FileKind::Csv:
    case FileKind::Svg:
    case FileKind::Png:
    case FileKind::Report:
        break;
    }
    return {};
}

Done WriteFile(FileKind kind, const QString& path, const SharedSnapshot& shown,
               const ReportProgress& progress) {
    if (const Done possible = CanWrite(kind, *shown); !possible) {
        return possible;
    }
    switch (kind) {
    case FileKind::Csv:
        return WriteFileAtomically(path, SectionsAsCsv(shown->profile));
    case FileKind::StationsCsv:
        return WriteFileAtomically(path, StationsAsCsv(shown->profile, shown->stations));
    case FileKind::Svg:
        return WriteFileAtomically(path, plotAsSvg(*shown));
    case FileKind::Png:
        return writeBytes(path, plotAsPng(*shown));
    case FileKind::Report:
        return WriteReportPdf(path, ReportContentOf(shown), shown->locale, progress);
    case FileKind::Ifc:
        return writeBytes(path, AlignmentAsIfc(shown->profile, shown->startChainage));
    case FileKind::LandXml:
        return writeBytes(path, AlignmentAsLandXml(shown->profile, shown->startChainage));
    }
    return {};
}

ReportContent ReportContentOf(const SharedSnapshot& shown) {
    const ProfileState& profile = shown->profile;
    const QLocale& locale = shown->locale;
    ReportContent content;
    content.title = Text::tr("Vertical transition curve");
    content.inputLines = {
        Text::tr("Length: %1").arg(LengthToolTip(profile.TrackLength, locale)),
        Text::tr("Height at start: %1").arg(LengthToolTip(profile.SectionHeight.at(1), locale)),
        Text::tr("Start gradient: %1").arg(GradientToolTip(profile.StartGradient, locale)),
        Text::tr("End gradient: %1").arg(GradientToolTip(profile.EndGradient, locale)),
        Text::tr("No. of sections: %1").arg(NumberToText(profile.SectionCount, locale)),
    };
    content.facts = shown->facts;
    content.paintPlot = [shown](QPainter& painter, const QRectF& area) {
        shown->plot.paint(painter, area, PlotColours::forFiles());
    };
    content.tables = {sectionTable(shown), stationTable(shown)};
    return content;
}

} // namespace pendrio
