// The profile window: the whole of one calculation at a glance, beside the
// main window. The plot of the heights along the stretch, the curve's facts,
// and three tabs: the sections, the stations set out from a chainage, and
// the length designed from a radius. The plot and the section table follow
// the section on display in the main window, and choosing a section in
// either shows it there. Its commands (ProfileWindowCommands.cpp) save the
// tables, the plot, a report and the alignment as files, print, and copy.
//
// It shows one calculation, whole, from a copy of its own: showProfile() after
// every calculation, setCurrentSection() after every step in the main window.
// Inputs committed there since (setCommittedInputs()) change nothing here but
// a note that says so, until the next calculation. What the user chooses
// here goes out as signals: a section, a length, a refused entry.
#pragma once

#include "export/ExportSnapshot.h"
#include "export/ProfileFiles.h"
#include "export/SaveFolder.h"
#include "import/CurveInputs.h"
#include "profile/ProfileState.h"
#include "text/CurveFactsText.h"
#include "text/Outcome.h"

#include <QList>
#include <QWidget>

#include <optional>

class QAction;
class QMenu;
class QProgressDialog;
class QTabWidget;
class QTableView;

namespace pendrio {

class DesignPage;
class ElidingLabel;
class ProfilePlot;
class StationsPage;
class TextTableModel;

class ProfileWindow : public QWidget {
    Q_OBJECT

public:
    using FileKind = pendrio::FileKind;

    // The most its minimum size may be, whatever it shows, so that it has room
    // beside, above or below the main window on most screens. The minimum
    // itself is what the layout needs, and no text changes it.
    static constexpr QSize MinimumSize{480, 360};

    // `copyAllSections` is the main window's, whose shortcut works here too
    // and which the Edit menu offers.
    explicit ProfileWindow(QAction* copyAllSections, QWidget* parent = nullptr);

    ProfilePlot* plot() const { return plot_; }
    QTableView* table() const { return table_; }
    StationsPage* stations() const { return stations_; }

    // The selected rows (all when none is selected) as tab-separated text.
    QString selectedRowsText() const;

    // The calculation on show and the window's choices about it, by value:
    // what a file asked for now is made from, whatever happens meanwhile.
    SharedSnapshot snapshot() const;

    // A file of this kind of `shown` (by default what is on show now), written
    // whole or not at all: saveTo() as the File menu does once a name is
    // chosen, saying so (saveFailed) if it fails; writeFile() quietly. A long
    // report the user cancels is done, with nothing written.
    Done saveTo(FileKind kind, const QString& path, SharedSnapshot shown = {});
    Done writeFile(FileKind kind, const QString& path, SharedSnapshot shown = {});

    // How long a report runs before its progress dialog shows and lets
    // events through: half a second, or less for a test.
    void setReportProgressDelay(int milliseconds) { progressDelay_ = milliseconds; }

    // Where the next save dialog opens.
    QString saveFolder() const { return saveFolder_.folder(); }

    // The curve's facts, a line each: under the plot, for screen readers,
    // and under an exported image.
    const QStringList& plotCaption() const { return facts_; }

    // Why the last Calculate failed, until a calculation succeeds; else "The
    // inputs have changed ..." while the main window's committed inputs
    // differ from those of the calculation shown; empty otherwise.
    QString staleNote() const;

public slots:
    // Shows this calculation, its CurrentSection highlighted.
    void showProfile(const pendrio::ProfileState& profile);
    // The section on display in the main window; nothing happens when it is
    // the one highlighted already.
    void setCurrentSection(int section);
    // The inputs as committed in the main window now.
    void setCommittedInputs(const pendrio::ProfileInputs& inputs);
    // "Calculate" could not calculate these inputs: the note says why until
    // the next calculation is shown.
    void showCalculationFailed(const pendrio::ProfileInputs& inputs);
    // Cancels the report being made, if any, without asking: no file is written.
    void stopReport();

signals:
    // The user chose this section in the plot or the table.
    void sectionChosen(int section);
    // "Use this length" of the Design tab: a length in track units.
    void lengthChosen(double length);
    // A typed entry was refused: the beep answers it.
    void entryRefused();
    // Window ▸ Main window: the user wants the main window in front.
    void mainWindowWanted();
    // A file was not saved: the message names it and says why, for the user.
    void saveFailed(const QString& message);
    // File ▸ Open alignment… read a curve: the main window's inputs as the
    // user would type them (its chainage at start is taken here already).
    void curveOpened(const pendrio::CurveAsTyped& curve);
    // A file gave no curve: the message names it and says why.
    void openFailed(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Command;
    static const std::vector<Command>& commands();
    void createLabels();
    void createTable();
    void layOut();
    void createMenus(QAction* copyAllSections);
    void addCommand(const Command& command, QMenu* menu);
    void chooseFileAndSave(FileKind kind);
    void openAlignment();
    std::optional<CurveInFile> chooseCurve(const QString& path);
    void print();
    void copyAllStations();
    bool askToStopReport();
    void setUnit(LengthUnit unit);
    void showFacts();
    void updateFileCommands();
    void selectTableRow(int section);
    void tableRowChanged(int row);
    void refresh(int section);
    void showStaleNote();

    ProfileState profile_; // the plot and the table model read this copy
    ProfileInputs committed_;
    QString failure_; // why the last Calculate failed, until one succeeds
    ProfilePlot* plot_ = nullptr;
    ElidingLabel* staleLabel_ = nullptr;
    ElidingLabel* factsLabel_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    DesignPage* design_ = nullptr;
    std::optional<double> designSpeed_; // km/h, for the facts
    QStringList facts_;
    QTableView* table_ = nullptr;
    QAction* copyRows_ = nullptr;
    TextTableModel* model_ = nullptr;
    StationsPage* stations_ = nullptr;
    LengthUnit unit_ = LengthUnit::Metres;
    // The commands greyed out where what is on show gives them nothing to
    // write or copy, each with the kind of file whose making it needs.
    QList<QPair<QAction*, FileKind>> fileCommands_;
    SaveFolder saveFolder_;
    int progressDelay_ = 500;                   // milliseconds
    QProgressDialog* reportProgress_ = nullptr; // while a report is being made
    bool following_ = false; // moving the table's row to the main window's section
};

} // namespace pendrio
