#include "profilewindow/StationsPage.h"

#include "text/ChainageText.h"
#include "text/NumberText.h"
#include "text/StationTableText.h"
#include "widgets/CommitOnLeave.h"
#include "widgets/ElidingLabel.h"
#include "widgets/NumberBox.h"
#include "widgets/TextTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace pendrio {

namespace {

constexpr int PageMargin = 6; // as the window's, tight, so that its minimum stays small

} // namespace

StationsPage::StationsPage(const ProfileState& profile, QWidget* parent)
    : QWidget(parent), profile_(profile) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(PageMargin, PageMargin, PageMargin, PageMargin);
    layout->addLayout(createInputs());
    createTable();
    layout->addWidget(table_, 1);
    layout->addLayout(createQuery());
    setTabOrder(startBox_, intervalBox_);
    setTabOrder(intervalBox_, table_);
    setTabOrder(table_, queryBox_);
    setTabOrder(queryBox_, queryResult_);
    refresh();
}

QHBoxLayout* StationsPage::createInputs() {
    startBox_ = NewNumberBox("txtStartChainage", tr("Chainage at start"), 11, this);
    startBox_->setText(ChainageText(startChainage_, locale()));
    intervalBox_ = NewNumberBox("txtStationInterval", tr("Station interval in metres"), 5, this);
    intervalBox_->setText(NumberToText(interval_, locale()));
    planLabel_ = new ElidingLabel(1, this);
    planLabel_->setObjectName(QStringLiteral("lblStationCount"));
    planLabel_->setAccessibleName(tr("Stations"));

    takeInputsOnLeave();
    auto* row = new QHBoxLayout;
    row->addWidget(NewBuddyLabel(startBox_, tr("&Chainage at start"), this));
    row->addWidget(startBox_);
    row->addWidget(NewBuddyLabel(intervalBox_, tr("Ever&y"), this));
    row->addWidget(intervalBox_);
    row->addWidget(new QLabel(tr("m"), this));
    row->addWidget(planLabel_, 1);
    return row;
}

// Each box is refused where it would give no stations for this profile. Too
// narrow for a long value, a box shows it in fewer digits.
void StationsPage::takeInputsOnLeave() {
    takeStart_ = new CommitOnLeave(
        startBox_,
        [this](const QString& text) {
            const std::optional<double> chainage = TextToChainage(text, locale());
            return chainage && PlanStations(profile_, *chainage, interval_).Problem ==
                                   StationsProblem::None
                       ? std::optional<QString>(ChainageText(*chainage, locale()))
                       : std::nullopt;
        },
        [this](const QString& taken, int digits) {
            return NumberToText(TextToChainage(taken, locale()).value_or(0), locale(), digits);
        });
    auto* takeInterval = new CommitOnLeave(
        intervalBox_,
        [this](const QString& text) {
            // Refused too where its text would not read back (beyond 1.79769313486231E308).
            const std::optional<TypedNumber> interval = ReadTypedNumber(text, locale());
            return interval && PlanStations(profile_, startChainage_, interval->kept).Problem ==
                                   StationsProblem::None
                       ? std::optional<QString>(interval->shown)
                       : std::nullopt;
        },
        [this](const QString& taken, int digits) {
            return NumberToText(TextToNumber(taken, locale()).value_or(0), locale(), digits);
        });
    CommitOnLeave* takeStart = takeStart_;
    for (CommitOnLeave* taking : {takeStart, takeInterval}) {
        connect(taking, &CommitOnLeave::refused, this, &StationsPage::entryRefused);
        connect(taking, &CommitOnLeave::committed, this, [this, takeStart, takeInterval] {
            startChainage_ = TextToChainage(takeStart->text(), locale()).value_or(startChainage_);
            interval_ = TextToNumber(takeInterval->text(), locale()).value_or(interval_);
            refresh();
        });
    }
}

void StationsPage::createTable() {
    model_ = NewTableModel(
        StationsTable(), [this](int row) { return StationAt(profile_, plan_, row); }, this, this);
    const RowTable rowTable = NewRowTable(
        model_, QStringLiteral("tblStations"), tr("Stations"),
        [this] { return selectedRowsText(); }, this);
    table_ = rowTable.view;
    copyRows_ = rowTable.copyRows;
    // Rows of one height: the view places 100,001 of them without asking each.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

QHBoxLayout* StationsPage::createQuery() {
    queryBox_ = NewNumberBox("txtChainageQuery", tr("Height at chainage"), 11, this);
    queryResult_ = new ElidingLabel(1, this);
    queryResult_->setObjectName(QStringLiteral("lblChainageHeight"));
    queryResult_->setAccessibleName(tr("Height at this chainage"));
    // Reached by Tab while it has text, so that the height can be heard, selected and copied.
    queryResult_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    connect(queryBox_, &QLineEdit::textChanged, this, &StationsPage::showQuery);
    auto* row = new QHBoxLayout;
    row->addWidget(NewBuddyLabel(queryBox_, tr("&Height at chainage"), this));
    row->addWidget(queryBox_);
    row->addWidget(queryResult_, 1);
    return row;
}

void StationsPage::refresh() {
    plan_ = PlanStations(profile_, startChainage_, interval_);
    model_->reset(plan_.Count);
    planLabel_->setFullText(planText());
    showQuery();
    const QString whyNone = whyNoStations();
    copyRows_->setEnabled(whyNone.isEmpty());
    emit stationsPlanned(whyNone);
}

void StationsPage::setUnit(LengthUnit unit) {
    unit_ = unit;
    showQuery();
}

void StationsPage::enterStartChainage(const QString& text) {
    startBox_->setText(text);
    takeStart_->take();
}

QString StationsPage::whyNoStations() const {
    const QString interval = NumberToText(interval_, locale());
    const QString start = ChainageText(startChainage_, locale());
    switch (plan_.Problem) {
    case StationsProblem::None:
        return {};
    case StationsProblem::TooManyStations:
        return tr("No stations: every %1 m from %2 gives too many for this stretch. Choose a "
                  "longer interval.")
            .arg(interval, start);
    case StationsProblem::IntervalNotUsable:
    case StationsProblem::ChainageNotUsable:
        break;
    }
    return tr("No stations: every %1 m from %2 gives chainages beyond range.").arg(interval, start);
}

QString StationsPage::planText() const {
    switch (plan_.Problem) {
    case StationsProblem::None:
        return tr("Stations: %n", nullptr, plan_.Count);
    case StationsProblem::TooManyStations:
        return tr("Too many stations for this stretch: choose a longer interval");
    case StationsProblem::IntervalNotUsable:
    case StationsProblem::ChainageNotUsable:
        break;
    }
    return tr("No stations: the chainages are beyond range");
}

// What the curve is at the chainage typed, while it is typed; a text that is
// no chainage at all says what one looks like.
void StationsPage::showQuery() {
    const QLocale locale = this->locale();
    const QString typed = queryBox_->text();
    const std::optional<double> chainage = TextToChainage(typed, locale);
    const std::optional<Station> at =
        chainage ? StationAtChainage(profile_, startChainage_, *chainage) : std::nullopt;
    QString text;
    if (at) {
        const QString metres = FixedText(at->Height / UnitsPerMetre, 3, locale);
        const QString trackUnits = FixedText(at->Height, 0, locale);
        const QString gradient = FixedText(at->Slope * 1000.0, 2, locale);
        text = unit_ == LengthUnit::Metres
                   ? tr("%1 m (%2 track units), gradient %3 ‰").arg(metres, trackUnits, gradient)
                   : tr("%1 track units (%2 m), gradient %3 ‰").arg(trackUnits, metres, gradient);
    } else if (chainage || TextToNumber(typed, locale)) { // a number beyond range is off it too
        text =
            tr("off the stretch, which runs from %1 to %2")
                .arg(ChainageText(startChainage_, locale),
                     ChainageText(startChainage_ + profile_.TrackLength / UnitsPerMetre, locale));
    } else if (!typed.trimmed().isEmpty()) {
        text = tr("not a chainage: type it as %1 or %2")
                   .arg(ChainageText(1020, locale), NumberToText(1020.0, locale));
    }
    queryResult_->setFullText(text);
}

QString StationsPage::selectedRowsText() const {
    return StationsAsTabText(profile_, plan_, locale(), SelectedRows(*table_));
}

QString StationsPage::allRowsText() const {
    return StationsAsTabText(profile_, plan_, locale());
}

} // namespace pendrio
