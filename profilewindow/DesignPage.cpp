#include "profilewindow/DesignPage.h"

#include "profile/DesignRadius.h"
#include "profile/DesignWays.h"
#include "text/ChainageText.h"
#include "text/DesignLengthText.h"
#include "widgets/CommitOnLeave.h"
#include "widgets/ElidingLabel.h"
#include "widgets/NumberBox.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>
#include <iterator>
#include <utility>

namespace pendrio {

namespace {

// As the Stations tab's, tight, so that the window's minimum stays small.
constexpr int PageMargin = 6;

// The ways, in the order of the option buttons and of DesignWays.
enum WayIndex { RadiusWay, KWay, SpeedWay, PointWay };

QString translated(const char* text) {
    return text ? DesignPage::tr(text) : QString();
}

} // namespace

DesignPage::DesignPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(PageMargin, PageMargin, PageMargin, PageMargin);
    layout->addLayout(createWays());
    layout->addWidget(createBoxes());
    layout->addLayout(createResult());
    layout->addStretch(1);
    ways_->button(RadiusWay)->setChecked(true);
    setUnit(unit_);
}

QHBoxLayout* DesignPage::createWays() {
    ways_ = new QButtonGroup(this);
    auto* row = new QHBoxLayout;
    for (int way = 0; way < int(std::size(DesignWays)); ++way) {
        auto* option = new QRadioButton(translated(DesignWays[way].caption), this);
        option->setObjectName(QString::fromUtf8(DesignWays[way].name));
        option->setToolTip(translated(DesignWays[way].toolTip));
        ways_->addButton(option, way);
        row->addWidget(option);
    }
    row->addStretch(1);
    connect(ways_, &QButtonGroup::idToggled, this, [this](int way, bool checked) {
        if (checked) {
            showWay(way);
        }
    });
    return row;
}

// One line of boxes per way, of which only the chosen way's shows.
QWidget* DesignPage::createBoxes() {
    wayBoxes_ = new QStackedWidget(this);
    for (const DesignWay& way : DesignWays) {
        auto* boxes = new QWidget(wayBoxes_);
        auto* row = new QHBoxLayout(boxes);
        row->setContentsMargins(0, 0, 0, 0);
        for (int box = way.firstBox; box < way.firstBox + way.boxCount; ++box) {
            addBox(Box(box), row);
        }
        row->addStretch(1);
        wayBoxes_->addWidget(boxes);
    }
    return wayBoxes_;
}

// "Caption [box] unit", the box taken on leaving it; an empty box asks for
// nothing and is not refused.
void DesignPage::addBox(Box box, QHBoxLayout* row) {
    const DesignBox& about = DesignBoxes[box];
    auto* edit = NewNumberBox(about.name, translated(about.accessibleName), about.digits, this);
    // The box's own tooltip is the whole of a value shown shortened
    // (CommitOnLeave): the explanation is its caption's, and read out with it.
    edit->setAccessibleDescription(translated(about.toolTip));
    boxes_[box] = edit;
    QLabel* caption = NewBuddyLabel(edit, translated(about.caption), this);
    caption->setToolTip(translated(about.toolTip));
    row->addWidget(caption);
    row->addWidget(edit);
    if (about.reading == DesignReading::Height) {
        heightUnit_ = new QLabel(this);
        row->addWidget(heightUnit_);
    } else if (about.unit) {
        row->addWidget(new QLabel(translated(about.unit), this));
    }
    const bool chainage = about.reading == DesignReading::Chainage;
    taking_[box] = new CommitOnLeave(
        edit,
        [this, box](const QString& text) {
            const std::optional<TypedNumber> number = typed(box, text);
            return text.trimmed().isEmpty() ? std::optional<QString>(QString())
                   : number                 ? std::optional<QString>(number->shown)
                                            : std::nullopt;
        },
        [this, chainage](const QString& taken, int digits) {
            const std::optional<double> number =
                chainage ? TextToChainage(taken, locale()) : TextToNumber(taken, locale());
            return NumberToText(number.value_or(0), locale(), digits);
        });
    connect(taking_[box], &CommitOnLeave::refused, this, &DesignPage::entryRefused);
    connect(edit, &QLineEdit::textChanged, this, &DesignPage::showLength);
    if (box == Speed) {
        connect(edit, &QLineEdit::textChanged, this, &DesignPage::followSpeed);
    }
}

// The length, or why there is none, on a line of its own across the page: it
// may be long, and a narrow window cuts it after a whole word.
QVBoxLayout* DesignPage::createResult() {
    lengthLabel_ = new ElidingLabel(1, this);
    lengthLabel_->setObjectName(QStringLiteral("lblDesignLength"));
    lengthLabel_->setAccessibleName(tr("Designed length"));
    // Reached by Tab while it has text, so that the length can be heard,
    // selected and copied.
    lengthLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    useButton_ = new QPushButton(tr("&Use this length"), this);
    useButton_->setObjectName(QStringLiteral("cmdUseDesignLength"));
    useButton_->setAccessibleName(tr("Use this length"));
    useButton_->setToolTip(tr("Puts this length into the main window's Length box"));
    useButton_->setAutoDefault(true); // Enter clicks it, as in the main window
    connect(useButton_, &QPushButton::clicked, this, [this] {
        if (length_) {
            emit lengthChosen(*length_);
        }
    });
    auto* rows = new QVBoxLayout;
    rows->addWidget(lengthLabel_);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(useButton_);
    rows->addLayout(buttonRow);
    return rows;
}

QWidget* DesignPage::setTabOrderAfter(QWidget* previous) {
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (QAbstractButton* option : ways_->buttons()) {
        chain(option);
    }
    for (QLineEdit* box : boxes_) {
        chain(box);
    }
    chain(lengthLabel_);
    chain(useButton_);
    return previous;
}

void DesignPage::showWay(int way) {
    wayBoxes_->setCurrentIndex(way);
    showLength();
}

void DesignPage::setGradients(double start, double end) {
    startGradient_ = start;
    endGradient_ = end;
    showLength();
}

void DesignPage::setInputs(const ProfileInputs& inputs) {
    inputs_ = inputs;
    showLength();
}

void DesignPage::setStartChainage(double metres) {
    startChainage_ = metres;
    showLength();
}

// The point stays where it is when View changes: its height is written anew
// in the other unit, and taken as if typed.
void DesignPage::setUnit(LengthUnit unit) {
    const std::optional<double> height = value(PointHeight); // in the unit until now
    const LengthUnit before = unit_;
    unit_ = unit;
    heightUnit_->setText(unit == LengthUnit::Metres ? tr("m") : tr("track units"));
    if (height && unit != before) {
        const double converted =
            unit == LengthUnit::Metres ? *height / UnitsPerMetre : *height * UnitsPerMetre;
        boxes_[PointHeight]->setText(NumberToText(converted, locale()));
        taking_[PointHeight]->take();
    }
    showLength();
}

// The text of `box` as it would take it: the value it stands for (a length
// or a speed as typed, a chainage in metres, a height in View's unit) and its
// text in normal form. None for a text the box refuses.
std::optional<TypedNumber> DesignPage::typed(Box box, const QString& text) const {
    const QLocale locale = this->locale();
    switch (DesignBoxes[box].reading) {
    case DesignReading::Chainage:
        if (const std::optional<double> metres = TextToChainage(text, locale)) {
            return TypedNumber{*metres, ChainageText(*metres, locale)};
        }
        return std::nullopt;
    case DesignReading::PositiveNumber:
    case DesignReading::PositiveLength:
    case DesignReading::Height:
        break;
    }
    const std::optional<TypedNumber> number = ReadTypedNumber(text, locale);
    const DesignReading reading = DesignBoxes[box].reading;
    const bool positive = reading != DesignReading::Height;
    const bool inMetres = reading == DesignReading::PositiveLength || unit_ == LengthUnit::Metres;
    if (!number || (positive && !(number->kept > 0)) ||
        (inMetres && !std::isfinite(number->kept * UnitsPerMetre))) {
        return std::nullopt;
    }
    return number;
}

// What the text in the box gives now, taken or not.
std::optional<double> DesignPage::value(Box box) const {
    const std::optional<TypedNumber> number = typed(box, taking_[box]->text());
    return number ? std::optional<double>(number->kept) : std::nullopt;
}

// The request of the way chosen, in the engine's units; none while one of
// its boxes holds nothing it would take.
std::optional<DesignLength> DesignPage::requested() const {
    const double start = startGradient_;
    const double end = endGradient_;
    const auto both = [this](Box first, Box second) {
        const std::optional<double> a = value(first);
        const std::optional<double> b = value(second);
        return a && b ? std::optional<std::pair<double, double>>({*a, *b}) : std::nullopt;
    };
    switch (ways_->checkedId()) {
    case RadiusWay:
        if (const std::optional<double> radius = value(Radius)) {
            return DesignLengthForRadius(start, end, *radius * UnitsPerMetre);
        }
        break;
    case KWay:
        if (const std::optional<double> k = value(K)) {
            return DesignLengthForK(start, end, *k * UnitsPerMetre);
        }
        break;
    case SpeedWay:
        if (const auto speed = both(Speed, Acceleration)) {
            return DesignLengthForSpeed(start, end, speed->first, speed->second);
        }
        break;
    case PointWay:
        if (const auto point = both(PointChainage, PointHeight)) {
            const double distance = (point->first - startChainage_) * UnitsPerMetre;
            const double height =
                unit_ == LengthUnit::Metres ? point->second * UnitsPerMetre : point->second;
            return DesignLengthThroughPoint(inputs_.StartGradient, inputs_.EndGradient,
                                            inputs_.StartHeight, distance, height);
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

void DesignPage::showLength() {
    QString text;
    length_.reset();
    if (const std::optional<DesignLength> design = requested()) {
        const Outcome<double> length = DesignLengthOutcome(*design);
        if (length) {
            length_ = *length;
            text = LengthText(*length, locale(), unit_);
        } else {
            text = length.reason();
        }
    }
    lengthLabel_->setFullText(text);
    useButton_->setEnabled(length_.has_value());
}

void DesignPage::followSpeed() {
    const std::optional<double> speed = value(Speed);
    if (speed != speed_) {
        speed_ = speed;
        emit designSpeedChanged(speed);
    }
}

} // namespace pendrio
