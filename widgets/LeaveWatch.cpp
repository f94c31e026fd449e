#include "widgets/LeaveWatch.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace pendrio {

// Sees the focus arrive anywhere in the program, before the control that
// gets it: an application-wide filter runs before the control's own.
class LeaveWatch::Elsewhere : public QObject {
public:
    explicit Elsewhere(LeaveWatch* watch) : QObject(watch), watch_(watch) {
        qApp->installEventFilter(this);
    }
    ~Elsewhere() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType() &&
            watched != watch_->box_ &&
            static_cast<QWidget*>(watched)->window() == watch_->box_->window()) {
            watch_->leaveNow();
        }
        return false;
    }

private:
    LeaveWatch* watch_;
};

LeaveWatch::LeaveWatch(QWidget* box) : QObject(box), box_(box) {
    box->installEventFilter(this);
}

bool LeaveWatch::userIsIn() const {
    return elsewhere_ || box_->hasFocus();
}

// Called from the filter itself, too: it stops filtering at once and goes
// once the event is done with.
void LeaveWatch::forgetMoment() {
    if (elsewhere_) {
        qApp->removeEventFilter(elsewhere_);
        elsewhere_->deleteLater();
        elsewhere_ = nullptr;
    }
}

void LeaveWatch::awayForAMoment() {
    if (!elsewhere_) {
        elsewhere_ = new Elsewhere(this);
    }
}

void LeaveWatch::leaveNow() {
    forgetMoment();
    emit left();
}

bool LeaveWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) {
            awayForAMoment();
        } else {
            leaveNow();
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (elsewhere_) {
            forgetMoment(); // back in the box: as if it had never left
        } else {
            emit entered();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pendrio
