#include "widgets/CommitOnLeave.h"

#include "widgets/LeaveWatch.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>

#include <utility>

namespace pendrio {

namespace {

// The most digits a shortened text keeps, and the fewest.
constexpr int MostDigits = 15;
constexpr int FewestDigits = 1;
// QLineEdit keeps this much room beside its text, within its frame.
constexpr int TextMargin = 2;

} // namespace

CommitOnLeave::CommitOnLeave(QLineEdit* box, Reader read, Shortener shorten)
    : QObject(box), box_(box), read_(std::move(read)), shorten_(std::move(shorten)),
      taken_(box->text()), shown_(taken_) {
    box->installEventFilter(this); // for its size
    auto* leaving = new LeaveWatch(box);
    connect(leaving, &LeaveWatch::left, this, &CommitOnLeave::take);
    connect(leaving, &LeaveWatch::entered, this, &CommitOnLeave::showWhole);
    connect(box, &QLineEdit::returnPressed, this, &CommitOnLeave::take);
}

void CommitOnLeave::take() {
    // What the box stands for: a text shortened to fit is taken whole.
    const std::optional<QString> normal = read_(text());
    if (normal) {
        taken_ = *normal;
    }
    showTaken();
    if (normal) {
        emit committed();
    } else {
        emit refused();
    }
}

QString CommitOnLeave::text() const {
    return box_->text() == shown_ ? taken_ : box_->text();
}

void CommitOnLeave::showTaken() {
    const bool away = !box_->hasFocus();
    shown_ = away ? fitting(taken_) : taken_;
    box_->setText(shown_);
    box_->setToolTip(shown_ == taken_ ? QString() : taken_);
    if (away) {
        box_->setCursorPosition(0);
    }
}

// The text if it fits the box, else the most digits of its value that do.
QString CommitOnLeave::fitting(const QString& text) const {
    const QMargins margins = box_->textMargins();
    const int frame = box_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box_);
    const int room =
        box_->width() - 2 * (frame + TextMargin) - margins.left() - margins.right() - 1;
    const auto fits = [&](const QString& candidate) {
        return box_->fontMetrics().horizontalAdvance(candidate) <= room;
    };
    if (!shorten_ || text.isEmpty() || fits(text)) {
        return text;
    }
    QString shorter = text;
    for (int digits = MostDigits; digits >= FewestDigits; --digits) {
        shorter = shorten_(text, digits);
        if (fits(shorter)) {
            break;
        }
    }
    return shorter;
}

// The whole text to edit; the box's own focus handling selects it after.
void CommitOnLeave::showWhole() {
    if (box_->text() == shown_ && shown_ != taken_) {
        shown_ = taken_;
        box_->setText(taken_);
        box_->setToolTip(QString());
    }
}

bool CommitOnLeave::eventFilter(QObject* watched, QEvent* event) {
    const bool resized = event->type() == QEvent::Resize || event->type() == QEvent::Show;
    if (watched == box_ && resized && !box_->hasFocus() && box_->text() == shown_) {
        showTaken();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pendrio
