#include "profilewindow/ProfileWindow.h"

#include "profile/CurveFacts.h"
#include "profilewindow/DesignPage.h"
#include "profilewindow/ProfilePlot.h"
#include "profilewindow/StationsPage.h"
#include "programinfo/ProgramInfo.h"
#include "text/CurveFactsText.h"
#include "text/SectionTableText.h"
#include "widgets/ElidingLabel.h"
#include "widgets/TextTableModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace pendrio {

namespace {

constexpr QSize DefaultSize(780, 640);
constexpr int WindowMargin = 6; // tight, so that the minimum stays within MinimumSize
// Kind and radius, K, the high or low point, the total rise, the acceleration
// at the design speed, the gradients of 90° or more; in a window at its
// smallest, three of them and "…", so that the smallest stays within MinimumSize.
constexpr int MaxFactLines = 6;
constexpr int FewestFactLines = 3;

} // namespace

ProfileWindow::ProfileWindow(QAction* copyAllSections, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmProfile"));
    setWindowTitle(tr("Profile – %1").arg(QString::fromUtf8(WindowTitle)));
    // Closing it only hides it; the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    plot_ = new ProfilePlot(profile_, this);
    createLabels();
    createTable();
    stations_ = new StationsPage(profile_, this);
    design_ = new DesignPage(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabTables"));
    tabs_->addTab(table_, tr("&Sections"));
    tabs_->addTab(stations_, tr("St&ations"));
    tabs_->addTab(design_, tr("&Design"));
    layOut();
    createMenus(copyAllSections);

    connect(plot_, &ProfilePlot::sectionChosen, this, &ProfileWindow::sectionChosen);
    connect(design_, &DesignPage::lengthChosen, this, &ProfileWindow::lengthChosen);
    connect(design_, &DesignPage::entryRefused, this, &ProfileWindow::entryRefused);
    connect(design_, &DesignPage::designSpeedChanged, this, [this](std::optional<double> speed) {
        designSpeed_ = speed;
        showFacts();
    });
    connect(stations_, &StationsPage::stationsPlanned, design_,
            [this] { design_->setStartChainage(stations_->startChainage()); });
    connect(stations_, &StationsPage::entryRefused, this, &ProfileWindow::entryRefused);
    connect(stations_, &StationsPage::stationsPlanned, this, &ProfileWindow::updateFileCommands);
    // Its minimum is what its layout needs, which no text it shows changes;
    // AppShell places it.
    resize(DefaultSize);
    refresh(0);
}

// The note above the facts, and the facts.
void ProfileWindow::createLabels() {
    staleLabel_ = new ElidingLabel(1, this);
    staleLabel_->setObjectName(QStringLiteral("lblStaleNote"));
    staleLabel_->setAccessibleName(tr("Note"));
    // Its line stays reserved while hidden: the window's minimum never changes.
    QSizePolicy reserved = staleLabel_->sizePolicy();
    reserved.setRetainSizeWhenHidden(true);
    staleLabel_->setSizePolicy(reserved);
    factsLabel_ = new ElidingLabel(MaxFactLines, this, FewestFactLines);
    factsLabel_->setObjectName(QStringLiteral("lblCurveFacts"));
    factsLabel_->setAccessibleName(tr("Curve facts"));
    factsLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// The plot, the note and the facts above the tabs, the two parts split so
// that the user can give either more room; Tab goes from top to bottom.
void ProfileWindow::layOut() {
    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(plot_, 1);
    topLayout->addWidget(staleLabel_);
    topLayout->addWidget(factsLabel_);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(WindowMargin, WindowMargin, WindowMargin, WindowMargin);
    layout->addWidget(splitter);
    setTabOrder(plot_, staleLabel_);
    setTabOrder(staleLabel_, factsLabel_);
    setTabOrder(factsLabel_, tabs_);
    setTabOrder(tabs_, table_);
    design_->setTabOrderAfter(table_);
}

void ProfileWindow::createTable() {
    model_ = NewTableModel(
        SectionsTable(),
        [this](int row) {
            return SectionRow{&profile_, row + 1};
        },
        this, this);
    const RowTable rowTable = NewRowTable(
        model_, QStringLiteral("tblSections"), tr("Sections"),
        [this] { return selectedRowsText(); }, this);
    table_ = rowTable.view;
    copyRows_ = rowTable.copyRows;
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { tableRowChanged(current.row()); });
}

void ProfileWindow::showProfile(const ProfileState& profile) {
    profile_ = profile;
    committed_ = InputsOf(profile_);
    failure_.clear();
    design_->setGradients(profile_.StartGradient, profile_.EndGradient);
    design_->setInputs(committed_);
    refresh(profile_.CurrentSection);
    showStaleNote();
}

void ProfileWindow::setCommittedInputs(const ProfileInputs& inputs) {
    committed_ = inputs;
    design_->setInputs(inputs);
    showStaleNote();
}

void ProfileWindow::showCalculationFailed(const ProfileInputs& inputs) {
    committed_ = inputs;
    design_->setInputs(inputs);
    // A zero length is the one failure that is no overflow: every other
    // input that cannot be calculated makes some number too large.
    failure_ = inputs.TrackLength == 0
                   ? tr("Calculate failed: a length of 0 gives no curve. This is the last curve "
                        "calculated.")
                   : tr("Calculate failed: the numbers are too large to calculate. This is the "
                        "last curve calculated.");
    showStaleNote();
}

QString ProfileWindow::staleNote() const {
    if (!failure_.isEmpty()) {
        return failure_;
    }
    return committed_ == InputsOf(profile_)
               ? QString()
               : tr("The inputs have changed since this calculation. Press Calculate to update.");
}

void ProfileWindow::showStaleNote() {
    const QString note = staleNote();
    staleLabel_->setFullText(note);
    staleLabel_->setVisible(!note.isEmpty());
}

// Every length the window writes in a sentence leads with this unit; the
// tables, the copied text and the files keep their columns.
void ProfileWindow::setUnit(LengthUnit unit) {
    unit_ = unit;
    plot_->setUnit(unit);
    stations_->setUnit(unit);
    design_->setUnit(unit);
    showFacts();
}

void ProfileWindow::showFacts() {
    facts_ = CurveFactsLines(ComputeCurveFacts(profile_, designSpeed_), locale(), unit_);
    // The label's name is "Curve facts"; a screen reader reads the facts
    // themselves as its description.
    factsLabel_->setFullText(facts_.join(u'\n'));
}

void ProfileWindow::refresh(int section) {
    showFacts();
    model_->reset(CalculatedSectionCount(profile_));
    stations_->refresh();
    plot_->refresh(section);
    selectTableRow(section);
}

void ProfileWindow::setCurrentSection(int section) {
    if (section == plot_->highlightedSection()) {
        return; // also where a section chosen here comes back from the main window
    }
    plot_->setHighlightedSection(section);
    selectTableRow(section);
}

void ProfileWindow::selectTableRow(int section) {
    following_ = true;
    if (section >= 1 && section <= model_->rowCount()) {
        const QModelIndex index = model_->index(section - 1, 0);
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        table_->scrollTo(index);
    } else {
        // No row for it: no current row either, so that a click on any row
        // is a change the main window follows.
        table_->selectionModel()->clear();
    }
    following_ = false;
}

void ProfileWindow::tableRowChanged(int row) {
    if (!following_ && row >= 0) {
        emit sectionChosen(row + 1);
    }
}

QString ProfileWindow::selectedRowsText() const {
    std::vector<int> sections = SelectedRows(*table_);
    for (int& row : sections) {
        ++row; // sections are counted from 1
    }
    return SectionsAsTabText(profile_, locale(), sections);
}

} // namespace pendrio
