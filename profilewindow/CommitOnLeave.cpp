#include "profilewindow/CommitOnLeave.h"

#include <QFocusEvent>
#include <QLineEdit>

#include <utility>

namespace pendrio {

CommitOnLeave::CommitOnLeave(QLineEdit* box, Reader read)
    : QObject(box), box_(box), read_(std::move(read)), taken_(box->text()) {
    box->installEventFilter(this);
    connect(box, &QLineEdit::returnPressed, this, &CommitOnLeave::take);
}

void CommitOnLeave::take() {
    if (const std::optional<QString> normal = read_(box_->text())) {
        taken_ = *normal;
        box_->setText(taken_);
        emit committed();
    } else {
        box_->setText(taken_);
        emit refused();
    }
    if (!box_->hasFocus()) {
        box_->setCursorPosition(0);
    }
}

bool CommitOnLeave::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            take();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pendrio
