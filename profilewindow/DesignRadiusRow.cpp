#include "profilewindow/DesignRadiusRow.h"

#include "profile/DesignRadius.h"
#include "widgets/CommitOnLeave.h"
#include "widgets/ElidingLabel.h"
#include "text/CurveFactsText.h"
#include "text/NumberText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <initializer_list>

namespace pendrio {

namespace {

// The radius in metres as the box takes it: a positive number whose length in
// track units is still a double. None for anything else.
std::optional<TypedNumber> readRadius(const QString& text, const QLocale& locale) {
    std::optional<TypedNumber> metres = ReadTypedNumber(text, locale);
    if (!metres || !(metres->kept > 0) || !std::isfinite(metres->kept * UnitsPerMetre)) {
        return std::nullopt;
    }
    return metres;
}

} // namespace

DesignRadiusRow::DesignRadiusRow(QWidget* parent) : QWidget(parent) {
    radiusBox_ = new QLineEdit(this);
    radiusBox_->setObjectName(QStringLiteral("txtDesignRadius"));
    radiusBox_->setAccessibleName(tr("Vertical radius in metres"));
    radiusBox_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for a radius such as 20000.5 or 1.5E+300; a longer one shows shortened.
    const int digit = radiusBox_->fontMetrics().horizontalAdvance(u'0');
    radiusBox_->setMinimumWidth(digit * 10);
    radiusBox_->setMaximumWidth(digit * 14);
    // A line of its own under the box: the length may be long, and a narrow
    // window cuts it after a whole word, never into a column beside the box.
    lengthLabel_ = new ElidingLabel(1, this);
    lengthLabel_->setObjectName(QStringLiteral("lblDesignLength"));
    lengthLabel_->setAccessibleName(tr("Length for this radius"));
    // Reached by Tab while it has text, so that the length can be heard,
    // selected and copied.
    lengthLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    useButton_ = new QPushButton(tr("Use this length"), this);
    useButton_->setObjectName(QStringLiteral("cmdUseDesignLength"));
    useButton_->setAccessibleName(useButton_->text());
    useButton_->setToolTip(tr("Puts this length into the main window's Length box"));
    useButton_->setAutoDefault(true); // Enter clicks it, as in the main window
    layOut();
    takeRadiusOnLeave();
    connect(radiusBox_, &QLineEdit::textChanged, this, &DesignRadiusRow::showLength);
    connect(useButton_, &QPushButton::clicked, this, [this] {
        if (length_) {
            emit lengthChosen(*length_);
        }
    });
    showLength();
}

// "Length for a vertical radius of [ ] m  [Use this length]", the length below.
void DesignRadiusRow::layOut() {
    auto* caption = new QLabel(tr("Length for a vertical radius of"), this);
    caption->setBuddy(radiusBox_);
    auto* boxRow = new QHBoxLayout;
    boxRow->addWidget(caption);
    boxRow->addWidget(radiusBox_);
    boxRow->addWidget(new QLabel(tr("m"), this));
    boxRow->addStretch(1);
    boxRow->addWidget(useButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(boxRow);
    layout->addWidget(lengthLabel_);
    layout->addStretch(1);
}

// An empty box asks for nothing and is not refused.
void DesignRadiusRow::takeRadiusOnLeave() {
    taking_ = new CommitOnLeave(
        radiusBox_,
        [this](const QString& text) {
            const std::optional<TypedNumber> radius = readRadius(text, locale());
            return text.trimmed().isEmpty() ? std::optional<QString>(QString())
                   : radius                 ? std::optional<QString>(radius->shown)
                                            : std::nullopt;
        },
        [this](const QString& taken, int digits) {
            return NumberToText(TextToNumber(taken, locale()).value_or(0), locale(), digits);
        });
    connect(taking_, &CommitOnLeave::refused, this, &DesignRadiusRow::entryRefused);
}

void DesignRadiusRow::setUnit(LengthUnit unit) {
    unit_ = unit;
    showLength();
}

void DesignRadiusRow::setGradients(double start, double end) {
    startGradient_ = start;
    endGradient_ = end;
    showLength();
}

QWidget* DesignRadiusRow::setTabOrderAfter(QWidget* previous) {
    for (QWidget* next : std::initializer_list<QWidget*>{radiusBox_, lengthLabel_, useButton_}) {
        setTabOrder(previous, next);
        previous = next;
    }
    return previous;
}

// What the text in the box gives now, taken or not: a text that would be
// refused shows no length.
void DesignRadiusRow::showLength() {
    QString text;
    length_.reset();
    if (const std::optional<TypedNumber> radius = readRadius(taking_->text(), locale())) {
        const DesignLength design =
            DesignLengthForRadius(startGradient_, endGradient_, radius->kept * UnitsPerMetre);
        length_ = design.Length;
        switch (design.Problem) {
        case DesignLengthProblem::None:
            text = LengthText(*design.Length, locale(), unit_);
            break;
        case DesignLengthProblem::NoVerticalCurve:
            text = tr("no length gives a curve: the gradients are equal");
            break;
        case DesignLengthProblem::BeyondRange:
            text = tr("beyond range");
            break;
        case DesignLengthProblem::RadiusNotUsable: // refused by readRadius already
            break;
        }
    }
    lengthLabel_->setFullText(text);
    useButton_->setEnabled(length_.has_value());
}

} // namespace pendrio
