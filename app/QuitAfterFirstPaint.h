// For start-up measurements: an event filter that quits the application as
// soon as the widget it watches has painted once. Header-only, so that the
// bare comparison window in bench/ uses the very same trigger without linking
// anything of Pendrio's.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace pendrio {

class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

    // Watches `widget` when PENDRIO_QUIT_AFTER_FIRST_FRAME=1 is set.
    void watchIfAsked(QObject* widget) {
        if (qEnvironmentVariableIntValue("PENDRIO_QUIT_AFTER_FIRST_FRAME") == 1) {
            widget->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool quitting_ = false;
};

} // namespace pendrio
