// The profile window's files: the section and station tables as CSV, the plot
// as SVG or PNG, and the report as PDF or on paper. Every file is written
// whole or not at all (WriteFileAtomically); a failure is told once, naming
// the file and why.
#include "profilewindow/AtomicFile.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/ProfileWindow.h"
#include "profilewindow/Report.h"
#include "profilewindow/StationsPage.h"
#include "window/text/ChainageText.h"
#include "window/text/NumberText.h"
#include "window/text/ResultToolTips.h"
#include "window/text/SectionTableText.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QSvgGenerator>

#include <memory>

namespace pendrio {

namespace {

// Exported plots are drawn at this size (SVG user units and PNG pixels).
constexpr QSize ImageSize(1200, 600);
// A report that takes longer than this shows its progress, and can be cancelled.
constexpr int ProgressAfterMilliseconds = 500;

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

// Translated where they are used, in the window's context.
#define N(text) QT_TRANSLATE_NOOP("pendrio::ProfileWindow", text)
const ProfileWindow::FileType& ProfileWindow::fileType(FileKind kind) {
    static const FileType types[] = {
        {"actSaveCsv", N("Save as &CSV…"), QKeySequence::Save, N("Save sections as CSV"),
         N("CSV files (*.csv)"), N("profile"), "csv"},
        {"actSaveStationsCsv", N("Save s&tations as CSV…"), {}, N("Save stations as CSV"),
         N("CSV files (*.csv)"), N("stations"), "csv"},
        {"actSaveSvg", N("Save plot as &SVG…"), {}, N("Save plot as SVG"), N("SVG images (*.svg)"),
         N("profile"), "svg"},
        {"actSavePng", N("Save plot as &PNG…"), {}, N("Save plot as PNG"), N("PNG images (*.png)"),
         N("profile"), "png"},
        {"actSaveReport", N("Save report as P&DF…"), {}, N("Save report as PDF"),
         N("PDF documents (*.pdf)"), N("report"), "pdf"},
    };
    return types[static_cast<int>(kind)];
}
#undef N

void ProfileWindow::createFileMenu(QMenuBar* bar) {
    QMenu* file = bar->addMenu(tr("&File"));
    const auto add = [this, file](const char* name, const QString& text, const QKeySequence& keys,
                                  auto slot) {
        QAction* action = file->addAction(text, this, slot);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
    };
    for (const FileKind kind : {FileKind::Csv, FileKind::StationsCsv, FileKind::Svg,
                                FileKind::Png, FileKind::Report}) {
        const FileType& type = fileType(kind);
        add(type.actionName, tr(type.command), type.keys,
            [this, kind] { chooseFileAndSave(kind); });
    }
    add("actPrint", tr("Pr&int…"), QKeySequence::Print, [this] { print(); });
    file->addSeparator();
    add("actClose", tr("&Close"), QKeySequence::Close, [this] { close(); });
}

QString ProfileWindow::saveCsv(const QString& path) const {
    return WriteFileAtomically(path, SectionsAsCsv(profile_));
}

QString ProfileWindow::saveStationsCsv(const QString& path) const {
    return WriteFileAtomically(path, stations_->csv());
}

QString ProfileWindow::saveSvg(const QString& path) const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(ImageSize);
    svg.setViewBox(QRect(QPoint(0, 0), ImageSize));
    svg.setResolution(96); // so that viewers show it at ImageSize pixels
    svg.setTitle(tr("Height profile"));
    svg.setDescription(plotCaption().join(u'\n'));
    {
        QPainter painter(&svg);
        plot_->paintPlot(painter, QRectF(QPointF(0, 0), ImageSize), plotCaption());
    }
    return WriteFileAtomically(path, buffer.data());
}

QString ProfileWindow::savePng(const QString& path) const {
    QImage image(ImageSize, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        plot_->paintPlot(painter, QRectF(image.rect()), plotCaption());
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return tr("The image could not be encoded as PNG.");
    }
    return WriteFileAtomically(path, buffer.data());
}

namespace {

// A progress dialog that shows itself once a report has taken half a second,
// and the progress callback that drives it; a cancel ends the report.
struct ReportProgressDialog {
    explicit ReportProgressDialog(QWidget* window)
        : dialog(ProfileWindow::tr("Making the report…"), ProfileWindow::tr("Cancel"), 0, 1,
                 window) {
        dialog.setWindowTitle(ProfileWindow::tr("Report"));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setMinimumDuration(ProgressAfterMilliseconds);
        dialog.setValue(0);
    }
    ReportProgress callback() {
        return [this](int done, int total) {
            dialog.setMaximum(total);
            dialog.setValue(done); // shows the dialog when due, and lets a Cancel through
            return !dialog.wasCanceled();
        };
    }
    QProgressDialog dialog;
};

} // namespace

QString ProfileWindow::saveReport(const QString& path) {
    ReportProgressDialog progress(this);
    const ReportFileResult result =
        WriteReportPdf(path, reportContent(), locale(), progress.callback());
    return result.outcome == ReportFileResult::Outcome::Failed ? result.reason : QString();
}

// The paper is the printer's, as the print dialog leaves it.
void ProfileWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print report"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    ReportProgressDialog progress(this);
    const ReportProgress keepGoing = progress.callback();
    PaintReport(printer, reportContent(), [&](int done, int total) {
        return keepGoing(done, total) || (printer.abort(), false);
    });
}

ReportContent ProfileWindow::reportContent() const {
    const QLocale locale = this->locale();
    ReportContent content;
    content.title = tr("Vertical transition curve");
    content.inputLines = {
        tr("Length: %1").arg(LengthToolTip(profile_.TrackLength, locale)),
        tr("Height at start: %1").arg(LengthToolTip(profile_.SectionHeight.at(1), locale)),
        tr("Start gradient: %1").arg(GradientToolTip(profile_.StartGradient, locale)),
        tr("End gradient: %1").arg(GradientToolTip(profile_.EndGradient, locale)),
        tr("No. of sections: %1").arg(NumberToText(profile_.SectionCount, locale)),
    };
    content.facts = facts_;
    content.paintPlot = [this](QPainter& painter, const QRectF& area) {
        plot_->paintPlot(painter, area);
    };
    ReportTable sections{tr("Sections"), {}, CalculatedSectionCount(profile_), {}};
    for (int c = 0; c < int(SectionColumns().size()); ++c) {
        sections.headers << SectionHeaderText(c);
    }
    sections.row = [this, locale, columns = sections.headers.size()](int row) {
        QStringList cells;
        for (qsizetype c = 0; c < columns; ++c) {
            cells << SectionCellText(profile_, row + 1, int(c), locale);
        }
        return cells;
    };
    const StationPlan& plan = stations_->plan();
    ReportTable stations{
        tr("Stations every %1 m from %2")
            .arg(NumberToText(plan.Interval, locale), ChainageText(plan.StartChainage, locale)),
        stations_->headers(), plan.Count,
        [this](int row) { return stations_->rowTexts(row); }};
    content.tables = {sections, stations};
    return content;
}

void ProfileWindow::chooseFileAndSave(FileKind kind) {
    const FileType& type = fileType(kind);
    QFileDialog dialog(this, tr(type.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr(type.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(type.suffix));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(tr(type.name) + u'.' + QString::fromUtf8(type.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return; // cancelled: nothing written, nothing to say
    }
    saveTo(kind, dialog.selectedFiles().constFirst());
}

void ProfileWindow::saveTo(FileKind kind, const QString& path) {
    QString error;
    switch (kind) {
    case FileKind::Csv:
        error = saveCsv(path);
        break;
    case FileKind::StationsCsv:
        error = saveStationsCsv(path);
        break;
    case FileKind::Svg:
        error = saveSvg(path);
        break;
    case FileKind::Png:
        error = savePng(path);
        break;
    case FileKind::Report:
        error = saveReport(path);
        break;
    }
    if (error.isEmpty()) {
        return;
    }
    const QString message = tr("“%1” was not saved. %2").arg(path, error);
    if (saveFailureSink_) {
        saveFailureSink_(message);
    } else {
        QMessageBox::warning(this, tr("Could not save"), message);
    }
}

} // namespace pendrio
