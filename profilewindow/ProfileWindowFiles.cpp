// The profile window's files: the section and station tables as CSV, the plot
// as SVG or PNG, and the report as PDF or on paper. Every file is written
// whole or not at all (WriteFileAtomically); a failure is told once, naming
// the file and why.
#include "profilewindow/AtomicFile.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/ProfileWindow.h"
#include "profilewindow/Report.h"
#include "profilewindow/StationsPage.h"
#include "text/AlignmentFiles.h"
#include "text/ChainageText.h"
#include "text/NumberText.h"
#include "text/ResultToolTips.h"
#include "text/SectionTableText.h"
#include "text/StationTableText.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgGenerator>

#include <memory>
#include <optional>

namespace pendrio {

namespace {

// Exported plots are drawn at this size (SVG user units and PNG pixels).
constexpr QSize ImageSize(1200, 600);

} // namespace

struct ProfileWindow::FileType {
    const char* actionName;
    const char* command; // in the File menu
    QKeySequence keys;
    const char* title; // of the file dialog
    const char* filter;
    const char* name; // the file's name as first offered
    const char* suffix;
};

// Marked in the window's context, and translated where they are used.
const ProfileWindow::FileType& ProfileWindow::fileType(FileKind kind) {
    // clang-format off
    static const FileType types[] = {
        {"actSaveCsv", QT_TR_NOOP("Save sections as CS&V…"), QKeySequence::Save,
         QT_TR_NOOP("Save sections as CSV"), QT_TR_NOOP("CSV files (*.csv)"), QT_TR_NOOP("profile"), "csv"},
        {"actSaveStationsCsv", QT_TR_NOOP("Save s&tations as CSV…"), {},
         QT_TR_NOOP("Save stations as CSV"), QT_TR_NOOP("CSV files (*.csv)"), QT_TR_NOOP("stations"), "csv"},
        {"actSaveSvg", QT_TR_NOOP("Save plot as &SVG…"), {},
         QT_TR_NOOP("Save plot as SVG"), QT_TR_NOOP("SVG images (*.svg)"), QT_TR_NOOP("profile"), "svg"},
        {"actSavePng", QT_TR_NOOP("Save plot as &PNG…"), {},
         QT_TR_NOOP("Save plot as PNG"), QT_TR_NOOP("PNG images (*.png)"), QT_TR_NOOP("profile"), "png"},
        {"actSaveReport", QT_TR_NOOP("Save report as P&DF…"), {},
         QT_TR_NOOP("Save report as PDF"), QT_TR_NOOP("PDF documents (*.pdf)"), QT_TR_NOOP("report"), "pdf"},
        {"actSaveIfc", QT_TR_NOOP("Save alignment as &IFC…"), {},
         QT_TR_NOOP("Save alignment as IFC"), QT_TR_NOOP("IFC files (*.ifc)"), QT_TR_NOOP("alignment"), "ifc"},
        {"actSaveLandXml", QT_TR_NOOP("Save alignment as &LandXML…"), {},
         QT_TR_NOOP("Save alignment as LandXML"), QT_TR_NOOP("LandXML files (*.xml)"), QT_TR_NOOP("alignment"), "xml"},
    };
    // clang-format on
    return types[static_cast<int>(kind)];
}

void ProfileWindow::createFileMenu(QMenuBar* bar) {
    QMenu* file = bar->addMenu(tr("&File"));
    file->setToolTipsVisible(true); // why a command is greyed out
    const auto add = [this, file](const char* name, const QString& text, const QKeySequence& keys,
                                  auto slot) {
        QAction* action = file->addAction(text, this, slot);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        return action;
    };
    for (const FileKind kind : {FileKind::Csv, FileKind::StationsCsv, FileKind::Svg, FileKind::Png,
                                FileKind::Report, FileKind::Ifc, FileKind::LandXml}) {
        const FileType& type = fileType(kind);
        QAction* action = add(type.actionName, tr(type.command), type.keys,
                              [this, kind] { chooseFileAndSave(kind); });
        if (kind == FileKind::StationsCsv) {
            saveStations_ = action;
        } else if (kind == FileKind::Ifc || kind == FileKind::LandXml) {
            saveAlignment_ << action;
        }
    }
    add("actPrint", tr("P&rint…"), QKeySequence::Print, [this] { print(); });
    file->addSeparator();
    add("actClose", tr("&Close"), QKeySequence::Close, [this] { close(); });
}

SharedSnapshot ProfileWindow::snapshot() const {
    auto shown = std::make_shared<ExportSnapshot>();
    shown->profile = profile_;
    shown->stations = stations_->plan();
    shown->startChainage = stations_->startChainage();
    shown->whyNoStations = stations_->whyNoStations();
    shown->locale = locale();
    shown->facts = facts_;
    shown->plot = std::make_unique<ProfilePlot>(shown->profile);
    shown->plot->setLocale(shown->locale);
    shown->plot->setFont(plot_->font());
    shown->plot->setUnit(unit_);
    return shown;
}

namespace {

QByteArray plotAsSvg(const ExportSnapshot& shown) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(ImageSize);
    svg.setViewBox(QRect(QPoint(0, 0), ImageSize));
    svg.setResolution(96); // so that viewers show it at ImageSize pixels
    svg.setTitle(ProfileWindow::tr("Height profile"));
    svg.setDescription(shown.facts.join(u'\n'));
    {
        QPainter painter(&svg);
        shown.plot->paintPlot(painter, QRectF(QPointF(0, 0), ImageSize), shown.facts);
    }
    return buffer.data();
}

std::optional<QByteArray> plotAsPng(const ExportSnapshot& shown) {
    QImage image(ImageSize, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        shown.plot->paintPlot(painter, QRectF(image.rect()), shown.facts);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return buffer.data();
}

} // namespace

namespace {

// A progress dialog that shows itself once a report has taken `delay`
// milliseconds, and the progress callback that drives it; a cancel ends the
// report. While it lives, the window knows of it: closing the window asks
// whether to stop the report rather than hiding its progress.
struct ReportProgressDialog {
    ReportProgressDialog(QWidget* window, int delay, QProgressDialog*& running)
        : dialog(ProfileWindow::tr("Making the report…"), ProfileWindow::tr("Cancel"), 0, 1,
                 window),
          running(running) {
        dialog.setWindowTitle(ProfileWindow::tr("Report"));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setMinimumDuration(delay);
        dialog.setValue(0);
        running = &dialog;
    }
    ~ReportProgressDialog() { running = nullptr; }
    ReportProgressDialog(const ReportProgressDialog&) = delete;
    ReportProgressDialog& operator=(const ReportProgressDialog&) = delete;

    ReportProgress callback() {
        return [this](int done, int total) {
            dialog.setMaximum(total);
            dialog.setValue(done); // shows the dialog when due, and lets a Cancel through
            return !dialog.wasCanceled();
        };
    }
    QProgressDialog dialog;
    QProgressDialog*& running;
};

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
        SectionsTable(), ProfileWindow::tr("Sections"), CalculatedSectionCount(shown->profile),
        [shown](int row) {
            return SectionRow{&shown->profile, row + 1};
        },
        shown->locale);
}

// The stations as planned; with none, the table says why in their place.
ReportTable stationTable(const SharedSnapshot& shown) {
    const StationPlan& plan = shown->stations;
    const QString heading = shown->whyNoStations.isEmpty()
                                ? ProfileWindow::tr("Stations every %1 m from %2")
                                      .arg(NumberToText(plan.Interval, shown->locale),
                                           ChainageText(plan.StartChainage, shown->locale))
                                : ProfileWindow::tr("Stations");
    ReportTable stations = reportTable(
        StationsTable(), heading, plan.Count,
        [shown](int row) { return StationAt(shown->profile, shown->stations, row); },
        shown->locale);
    stations.whyEmpty = shown->whyNoStations;
    return stations;
}

// Everything the report says, read from the snapshot alone.
ReportContent reportContentOf(const SharedSnapshot& shown) {
    const ProfileState& profile = shown->profile;
    const QLocale& locale = shown->locale;
    ReportContent content;
    content.title = ProfileWindow::tr("Vertical transition curve");
    content.inputLines = {
        ProfileWindow::tr("Length: %1").arg(LengthToolTip(profile.TrackLength, locale)),
        ProfileWindow::tr("Height at start: %1")
            .arg(LengthToolTip(profile.SectionHeight.at(1), locale)),
        ProfileWindow::tr("Start gradient: %1").arg(GradientToolTip(profile.StartGradient, locale)),
        ProfileWindow::tr("End gradient: %1").arg(GradientToolTip(profile.EndGradient, locale)),
        ProfileWindow::tr("No. of sections: %1").arg(NumberToText(profile.SectionCount, locale)),
    };
    content.facts = shown->facts;
    content.paintPlot = [shown](QPainter& painter, const QRectF& area) {
        shown->plot->paintPlot(painter, area);
    };
    content.tables = {sectionTable(shown), stationTable(shown)};
    return content;
}

} // namespace

// The paper is the printer's, as the print dialog leaves it.
void ProfileWindow::print() {
    const SharedSnapshot shown = snapshot();
    QPrinter printer(QPrinter::HighResolution);
    // The name of the print job, and of the file the dialog offers to print
    // to: the dialog cuts the name at its last point that a character
    // follows, as if an extension followed, and would take the version's
    // ".0" for one ("Profile – Pendrio V0.pdf").
    printer.setDocName(windowTitle() + QStringLiteral(".pdf"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print report"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    ReportProgressDialog progress(this, progressDelay_, reportProgress_);
    const ReportProgress keepGoing = progress.callback();
    PaintReport(printer, reportContentOf(shown), [&](int done, int total) {
        return keepGoing(done, total) || (printer.abort(), false);
    });
}

QString ProfileWindow::saveFolder() const {
    if (!saveFolder_.isEmpty()) {
        return saveFolder_;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// The snapshot is taken before the dialog opens: the file holds what was on
// show when the user chose the command.
void ProfileWindow::chooseFileAndSave(FileKind kind) {
    const SharedSnapshot shown = snapshot();
    const FileType& type = fileType(kind);
    QFileDialog dialog(this, tr(type.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr(type.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(type.suffix));
    dialog.setDirectory(saveFolder());
    dialog.selectFile(tr(type.name) + u'.' + QString::fromUtf8(type.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return; // cancelled: nothing written, nothing to say
    }
    saveTo(kind, dialog.selectedFiles().constFirst(), shown);
}

QString ProfileWindow::writeFile(FileKind kind, const QString& path, SharedSnapshot shown) {
    if (!shown) {
        shown = snapshot();
    }
    switch (kind) {
    case FileKind::Csv:
        return WriteFileAtomically(path, SectionsAsCsv(shown->profile));
    case FileKind::StationsCsv:
        return shown->whyNoStations.isEmpty()
                   ? WriteFileAtomically(path, StationsAsCsv(shown->profile, shown->stations))
                   : shown->whyNoStations;
    case FileKind::Svg:
        return WriteFileAtomically(path, plotAsSvg(*shown));
    case FileKind::Png: {
        const std::optional<QByteArray> png = plotAsPng(*shown);
        return png ? WriteFileAtomically(path, *png) : tr("The image could not be encoded as PNG.");
    }
    case FileKind::Ifc:
    case FileKind::LandXml: {
        const AlignmentFile file = kind == FileKind::Ifc
                                       ? AlignmentAsIfc(shown->profile, shown->startChainage)
                                       : AlignmentAsLandXml(shown->profile, shown->startChainage);
        return file.Bytes ? WriteFileAtomically(path, *file.Bytes) : file.Refusal;
    }
    case FileKind::Report: {
        ReportProgressDialog progress(this, progressDelay_, reportProgress_);
        const ReportFileResult result =
            WriteReportPdf(path, reportContentOf(shown), shown->locale, progress.callback());
        return result.outcome == ReportFileResult::Outcome::Failed ? result.reason : QString();
    }
    }
    return {};
}

// A report being made keeps its window, and with it its progress, unless the
// user chooses to stop it: a hidden progress would leave the file to appear,
// or not, unannounced. Stopped, it writes nothing (a print run prints the
// pages done, as a cancel does).
void ProfileWindow::closeEvent(QCloseEvent* event) {
    if (reportProgress_ && !reportProgress_->wasCanceled()) {
        QMessageBox ask(QMessageBox::Question, tr("Report"),
                        tr("A report is being made. Stop it and close the window?"),
                        QMessageBox::NoButton, this);
        QPushButton* stop = ask.addButton(tr("&Stop and close"), QMessageBox::DestructiveRole);
        ask.addButton(tr("&Go on"), QMessageBox::RejectRole);
        ask.exec();
        if (ask.clickedButton() != stop) {
            event->ignore();
            return;
        }
    }
    stopReport();
    QWidget::closeEvent(event);
}

void ProfileWindow::stopReport() {
    if (reportProgress_) {
        reportProgress_->cancel();
    }
}

bool ProfileWindow::saveTo(FileKind kind, const QString& path, SharedSnapshot shown) {
    const QString error = writeFile(kind, path, std::move(shown));
    if (error.isEmpty()) {
        saveFolder_ = QFileInfo(path).absolutePath();
        return true;
    }
    emit saveFailed(tr("“%1” was not saved. %2").arg(path, error));
    return false;
}

} // namespace pendrio
