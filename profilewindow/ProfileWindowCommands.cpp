// The profile window's commands, listed once in a table that its menus are
// built from: the files it saves (made by export/ from a snapshot), print,
// the copies, the unit of View and the way back to the main window. A file
// command whose file cannot be made from what is on show is greyed out,
// with the reason as its tooltip; a file that fails is told once, naming it
// and why.
#include "profilewindow/CurveChoiceDialog.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/ProfileWindow.h"
#include "profilewindow/StationsPage.h"
#include "programinfo/ProgramInfo.h"
#include "widgets/Commands.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>

#include <functional>
#include <optional>

namespace pendrio {

namespace {

constexpr char Context[] = "pendrio::ProfileWindow";

enum class Menu { File, Edit, View, Window };

// The menus in the order of the menu bar.
const char* const MenuTitles[] = {
    QT_TRANSLATE_NOOP("pendrio::ProfileWindow", "&File"),
    QT_TRANSLATE_NOOP("pendrio::ProfileWindow", "&Edit"),
    QT_TRANSLATE_NOOP("pendrio::ProfileWindow", "&View"),
    QT_TRANSLATE_NOOP("pendrio::ProfileWindow", "&Window"),
};

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
    Q_DISABLE_COPY_MOVE(ReportProgressDialog)

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

} // namespace

// One command of the window: where it is, its action, and what it does. A
// command with a file kind saves such a file, or, where it runs something
// else, needs what that file is made of (the stations, for a copy of them).
struct ProfileWindow::Command {
    Menu menu;
    CommandRow row;
    std::optional<FileKind> file;
    std::function<void(ProfileWindow&)> run; // none: saves the file
    std::optional<LengthUnit> unit;          // one of View's units, checked while shown
    bool separated = false;                  // a separator above it
};

const std::vector<ProfileWindow::Command>& ProfileWindow::commands() {
    using W = ProfileWindow;
    const auto save = [](const char* name, const char* text, FileKind kind,
                         QKeySequence keys = {}) {
        return Command{Menu::File, {name, text, keys}, kind, {}, {}, false};
    };
    // clang-format off
    static const std::vector<Command> table{
        {Menu::File, {"actOpenAlignment", QT_TR_NOOP("&Open alignment…"), QKeySequence::Open},
         {}, [](W& w) { w.openAlignment(); }, {}, false},
        save("actSaveCsv", QT_TR_NOOP("Save sections as CS&V…"), FileKind::Csv, QKeySequence::Save),
        save("actSaveStationsCsv", QT_TR_NOOP("Save s&tations as CSV…"), FileKind::StationsCsv),
        save("actSaveSvg", QT_TR_NOOP("Save plot as &SVG…"), FileKind::Svg),
        save("actSavePng", QT_TR_NOOP("Save plot as &PNG…"), FileKind::Png),
        save("actSaveReport", QT_TR_NOOP("Save report as P&DF…"), FileKind::Report),
        save("actSaveIfc", QT_TR_NOOP("Save alignment as &IFC…"), FileKind::Ifc),
        save("actSaveLandXml", QT_TR_NOOP("Save alignment as &LandXML…"), FileKind::LandXml),
        {Menu::File, {"actPrint", QT_TR_NOOP("P&rint…"), QKeySequence::Print}, {},
         [](W& w) { w.print(); }, {}, false},
        {Menu::File, {"actClose", QT_TR_NOOP("&Close"), QKeySequence::Close}, {},
         [](W& w) { w.close(); }, {}, true},
        {Menu::Edit, {"actCopyStations", QT_TR_NOOP("Copy all s&tations"), {}},
         FileKind::StationsCsv, [](W& w) { w.copyAllStations(); }, {}, false},
        {Menu::View, {"actMetres", QT_TR_NOOP("&Metres"), {}}, {},
         [](W& w) { w.setUnit(LengthUnit::Metres); }, LengthUnit::Metres, false},
        {Menu::View, {"actTrackUnits", QT_TR_NOOP("&Track units"), {}}, {},
         [](W& w) { w.setUnit(LengthUnit::TrackUnits); }, LengthUnit::TrackUnits, false},
        // The way back for the keyboard, as Ctrl+Shift+P leads here.
        {Menu::Window, {"actShowMainWindow", QT_TR_NOOP("&Main window"),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)}, {},
         [](W& w) { emit w.mainWindowWanted(); }, {}, false},
    };
    // clang-format on
    return table;
}

// The menus from the table. Ctrl+C copies the selected rows while the table
// has the focus; the main window's "Copy all sections" works everywhere in
// this window. The unit chosen in View holds for as long as the program
// runs: the window is created once and only hidden when closed.
void ProfileWindow::createMenus(QAction* copyAllSections) {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    std::vector<QMenu*> menus;
    for (const char* title : MenuTitles) {
        menus.push_back(bar->addMenu(tr(title)));
        menus.back()->setToolTipsVisible(true); // why a command is greyed out
    }
    QMenu* edit = menus[std::size_t(Menu::Edit)];
    edit->addAction(copyRows_);
    addAction(copyAllSections);
    table_->addAction(copyAllSections);
    edit->addAction(copyAllSections);
    auto* units = new QActionGroup(this);
    for (const Command& command : commands()) {
        QMenu* menu = menus[std::size_t(command.menu)];
        if (command.separated) {
            menu->addSeparator();
        }
        QAction* action = NewAction(Context, command.row, this);
        menu->addAction(action);
        connect(action, &QAction::triggered, this, [this, &command] {
            command.run ? command.run(*this) : chooseFileAndSave(*command.file);
        });
        if (command.unit) {
            action->setCheckable(true);
            action->setChecked(*command.unit == unit_);
            units->addAction(action);
        }
        if (command.file) {
            fileCommands_.append({action, *command.file});
        }
    }
    updateFileCommands();
}

// A command whose file or copy cannot be made from what is on show is greyed
// out before any dialog opens, and its tooltip says why: with no stations,
// those that copy or write them; with a calculation or chainage that no
// alignment file holds, the alignment files.
void ProfileWindow::updateFileCommands() {
    const SharedSnapshot shown = snapshot();
    for (const auto& [action, kind] : fileCommands_) {
        const Done possible = CanWrite(kind, *shown);
        action->setEnabled(possible.ok());
        action->setToolTip(possible.reason());
    }
}

void ProfileWindow::copyAllStations() {
    QGuiApplication::clipboard()->setText(stations_->allRowsText());
}

SharedSnapshot ProfileWindow::snapshot() const {
    auto shown = std::make_shared<ExportSnapshot>();
    shown->profile = profile_;
    shown->stations = stations_->plan();
    shown->startChainage = stations_->startChainage();
    shown->whyNoStations = stations_->whyNoStations();
    shown->locale = locale();
    shown->facts = facts_;
    shown->plot = plot_->painter();
    return shown;
}

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
    PaintReport(printer, ReportContentOf(shown), [&](int done, int total) {
        return keepGoing(done, total) || (printer.abort(), false);
    });
}

// The snapshot is taken before the dialog opens: the file holds what was on
// show when the user chose the command.
void ProfileWindow::chooseFileAndSave(FileKind kind) {
    const SharedSnapshot shown = snapshot();
    const FileFormat& format = FormatOf(kind);
    QFileDialog dialog(this, FormatText(format.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(FormatText(format.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(format.suffix));
    dialog.setDirectory(saveFolder());
    dialog.selectFile(FormatText(format.name) + u'.' + QString::fromUtf8(format.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return; // cancelled: nothing written, nothing to say
    }
    saveTo(kind, dialog.selectedFiles().constFirst(), shown);
}

// A vertical curve from a design suite's file, read into the main window's
// inputs as if typed, and its chainage at start into the Stations tab. A file
// that yields no curve, or a choice not made, changes nothing.
void ProfileWindow::openAlignment() {
    QFileDialog dialog(this, tr("Open alignment"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("Alignment files (*.ifc *.xml)"),
                           FormatText(FormatOf(FileKind::Ifc).filter),
                           FormatText(FormatOf(FileKind::LandXml).filter)});
    dialog.setDirectory(saveFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    if (const std::optional<CurveInFile> curve = chooseCurve(dialog.selectedFiles().constFirst())) {
        const CurveAsTyped typed = TypedInputsFor(*curve, locale());
        stations_->enterStartChainage(typed.startChainage);
        emit curveOpened(typed);
    }
}

// The file's one curve, or the one the user chooses among several; none if
// the file gives none (saying why) or the user chooses none.
std::optional<CurveInFile> ProfileWindow::chooseCurve(const QString& path) {
    const Outcome<QList<CurveInFile>> curves = ReadAlignmentFile(path);
    if (!curves) {
        emit openFailed(tr("“%1” was not opened. %2").arg(path, curves.reason()));
        return std::nullopt;
    }
    if (curves->size() == 1) {
        return curves->constFirst();
    }
    CurveChoiceDialog choice(*curves, this);
    if (choice.exec() != QDialog::Accepted || choice.chosenIndex() < 0) {
        return std::nullopt;
    }
    return curves->at(choice.chosenIndex());
}

Done ProfileWindow::writeFile(FileKind kind, const QString& path, SharedSnapshot shown) {
    if (!shown) {
        shown = snapshot();
    }
    if (kind != FileKind::Report) {
        return WriteFile(kind, path, shown);
    }
    ReportProgressDialog progress(this, progressDelay_, reportProgress_);
    return WriteFile(kind, path, shown, progress.callback());
}

Done ProfileWindow::saveTo(FileKind kind, const QString& path, SharedSnapshot shown) {
    const Done written = writeFile(kind, path, std::move(shown));
    if (written) {
        saveFolder_.remember(path);
    } else {
        emit saveFailed(tr("“%1” was not saved. %2").arg(path, written.reason()));
    }
    return written;
}

// A report being made keeps its window, and with it its progress, unless the
// user chooses to stop it: a hidden progress would leave the file to appear,
// or not, unannounced. Stopped, it writes nothing (a print run prints the
// pages done, as a cancel does).
void ProfileWindow::closeEvent(QCloseEvent* event) {
    if (reportProgress_ && !reportProgress_->wasCanceled() && !askToStopReport()) {
        event->ignore();
        return;
    }
    stopReport();
    QWidget::closeEvent(event);
}

bool ProfileWindow::askToStopReport() {
    QMessageBox ask(QMessageBox::Question, tr("Report"),
                    tr("A report is being made. Stop it and close the window?"),
                    QMessageBox::NoButton, this);
    QPushButton* stop = ask.addButton(tr("&Stop and close"), QMessageBox::DestructiveRole);
    ask.addButton(tr("&Go on"), QMessageBox::RejectRole);
    ask.exec();
    return ask.clickedButton() == stop;
}

void ProfileWindow::stopReport() {
    if (reportProgress_) {
        reportProgress_->cancel();
    }
}

} // namespace pendrio
