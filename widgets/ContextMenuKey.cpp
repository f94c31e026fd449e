#include "widgets/ContextMenuKey.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

namespace pendrio {

bool OpenContextMenuOnShiftF10(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier) {
        return false;
    }
    // Where the Menu key opens it: the middle of the text cursor, or of the
    // current item of a view.
    auto* widget = static_cast<QWidget*>(watched);
    const QPoint at = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at),
                           key->modifiers());
    QApplication::sendEvent(widget, &menu);
    return true;
}

} // namespace pendrio
