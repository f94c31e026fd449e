// Shift+F10, the desktop's other key for a context menu: on X11 Qt turns only
// the Menu key into a context menu event. Both windows get it from here.
#pragma once

class QEvent;
class QObject;

namespace pendrio {

// For an application-wide event filter: on Shift+F10 pressed in a widget,
// sends that widget the context menu event the Menu key would, at its text
// cursor or current item, and returns true (the key is used up).
bool OpenContextMenuOnShiftF10(QObject* watched, QEvent* event);

} // namespace pendrio
