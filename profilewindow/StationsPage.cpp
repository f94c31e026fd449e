#include "profilewindow/StationsPage.h"

#include "profilewindow/CommitOnLeave.h"
#include "profilewindow/ElidingLabel.h"
#include "profilewindow/TextTableModel.h"
#include "window/text/ChainageText.h"
#include "profile/Transcendental.h"
#include "window/text/NumberText.h"
#include "window/text/StationTableText.h"

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

// A label with its box: the label names the box for screen readers and Alt+key.
QLabel* labelFor(QLineEdit* box, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(box);
    return label;
}

QLineEdit* numberBox(const char* name, const QString& accessibleName, int digits,
                     QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setAccessibleName(accessibleName);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(u'0') * digits);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(u'0') * (digits + 4));
    return box;
}

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
    startBox_ = numberBox("txtStartChainage", tr("Chainage at start"), 11, this);
    startBox_->setText(ChainageText(startChainage_, locale()));
    intervalBox_ = numberBox("txtStationInterval", tr("Station interval in metres"), 5, this);
    intervalBox_->setText(NumberToText(interval_, locale()));
    planLabel_ = new ElidingLabel(1, this);
    planLabel_->setObjectName(QStringLiteral("lblStationCount"));
    planLabel_->setAccessibleName(tr("Stations"));

    // Each box is refused where it would give no stations for this profile.
    auto* takeStart = new CommitOnLeave(startBox_, [this](const QString& text) {
        const std::optional<double> chainage = TextToChainage(text, locale());
        return chainage && PlanStations(profile_, *chainage, interval_).Problem ==
                               StationsProblem::None
                   ? std::optional<QString>(ChainageText(*chainage, locale()))
                   : std::nullopt;
    });
    auto* takeInterval = new CommitOnLeave(intervalBox_, [this](const QString& text) {
        const std::optional<double> interval = TextToNumber(text, locale());
        return interval && PlanStations(profile_, startChainage_, *interval).Problem ==
                               StationsProblem::None
                   ? std::optional<QString>(NumberToText(*interval, locale()))
                   : std::nullopt;
    });
    for (CommitOnLeave* taking : {takeStart, takeInterval}) {
        connect(taking, &CommitOnLeave::refused, this, &StationsPage::entryRefused);
        connect(taking, &CommitOnLeave::committed, this, [this] {
            startChainage_ = TextToChainage(startBox_->text(), locale()).value_or(startChainage_);
            interval_ = TextToNumber(intervalBox_->text(), locale()).value_or(interval_);
            refresh();
        });
    }

    auto* row = new QHBoxLayout;
    row->addWidget(labelFor(startBox_, tr("&Chainage at start"), this));
    row->addWidget(startBox_);
    row->addWidget(labelFor(intervalBox_, tr("E&very"), this));
    row->addWidget(intervalBox_);
    row->addWidget(new QLabel(tr("m"), this));
    row->addWidget(planLabel_, 1);
    return row;
}

// Widths from the font once: room for a header, or for a chainage or number.
void StationsPage::createTable() {
    model_ = new TextTableModel(
        StationColumns(),
        [this](int row, int column) {
            return StationCellText(StationAt(profile_, plan_, row), column, locale());
        },
        {1}, this); // the point's name is text
    table_ = NewRowTable(model_, QStringLiteral("tblStations"), tr("Stations"),
                         [this] { return selectedRowsText(); }, this)
                 .view;
    // Rows of one height: the view places 100,001 of them without asking each.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Room for what a column usually holds; longer values scroll or can be widened.
    const QFontMetrics metrics(table_->font());
    const QString usual[] = {QStringLiteral("-88+888.888"), StationPointText(StationPoint::HighPoint),
                             QStringLiteral("88888.888"), QStringLiteral("-8888.888"),
                             QStringLiteral("-888.88")};
    for (int c = 0; c < model_->columnCount(); ++c) {
        const QString header = model_->headerData(c, Qt::Horizontal).toString();
        table_->setColumnWidth(c, std::max(metrics.horizontalAdvance(usual[c]),
                                           metrics.horizontalAdvance(header)) +
                                      24);
    }
}

QHBoxLayout* StationsPage::createQuery() {
    queryBox_ = numberBox("txtChainageQuery", tr("Height at chainage"), 11, this);
    queryResult_ = new ElidingLabel(1, this);
    queryResult_->setObjectName(QStringLiteral("lblChainageHeight"));
    queryResult_->setAccessibleName(tr("Height at this chainage"));
    // Reached by Tab, so that the height can be heard, selected and copied.
    queryResult_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    queryResult_->setFocusPolicy(Qt::StrongFocus);
    connect(queryBox_, &QLineEdit::textChanged, this, &StationsPage::showQuery);
    auto* row = new QHBoxLayout;
    row->addWidget(labelFor(queryBox_, tr("&Height at chainage"), this));
    row->addWidget(queryBox_);
    row->addWidget(queryResult_, 1);
    return row;
}

void StationsPage::refresh() {
    plan_ = PlanStations(profile_, startChainage_, interval_);
    model_->reset(plan_.Count);
    planLabel_->setFullText(planText());
    showQuery();
}

QString StationsPage::planText() const {
    switch (plan_.Problem) {
    case StationsProblem::None:
        return plan_.Count == 1 ? tr("1 station") : tr("%1 stations").arg(plan_.Count);
    case StationsProblem::TooManyStations:
        return tr("Too many stations for this stretch: choose a longer interval");
    case StationsProblem::IntervalNotUsable:
    case StationsProblem::ChainageNotUsable:
        break;
    }
    return tr("No stations: the chainages are beyond range");
}

// What the curve is at the chainage typed, while it is typed.
void StationsPage::showQuery() {
    const QLocale locale = this->locale();
    const std::optional<double> chainage = TextToChainage(queryBox_->text(), locale);
    QString text;
    if (chainage) {
        if (const std::optional<Station> at =
                StationAtChainage(profile_, startChainage_, *chainage)) {
            text = tr("%1 m (%2 track units), gradient %3 ‰")
                       .arg(FixedText(at->Height / UnitsPerMetre, 3, locale),
                            FixedText(at->Height, 0, locale),
                            FixedText(Tan(at->Gradient) * 1000.0, 2, locale));
        } else {
            text = tr("off the stretch, which runs from %1 to %2")
                       .arg(ChainageText(startChainage_, locale),
                            ChainageText(startChainage_ + profile_.TrackLength / UnitsPerMetre,
                                         locale));
        }
    }
    queryResult_->setFullText(text);
}

QString StationsPage::selectedRowsText() const {
    return StationsAsTabText(profile_, plan_, locale(), SelectedRows(*table_));
}

QString StationsPage::allRowsText() const {
    return StationsAsTabText(profile_, plan_, locale());
}

QByteArray StationsPage::csv() const {
    return StationsAsCsv(profile_, plan_);
}

QStringList StationsPage::headers() const {
    return StationColumns();
}

QStringList StationsPage::rowTexts(int row) const {
    const Station station = StationAt(profile_, plan_, row);
    QStringList cells;
    for (int c = 0; c < model_->columnCount(); ++c) {
        cells << StationCellText(station, c, locale());
    }
    return cells;
}

} // namespace pendrio
