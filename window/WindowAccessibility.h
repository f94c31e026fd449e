// The window as assistive technology sees it: a screen reader on Linux (Orca)
// reads programs through AT-SPI, which Qt fills from QAccessible.
//
// Left to Qt, a top-level QWidget is reported as a plain client area (AT-SPI
// "filler"), so a screen reader has no window to announce when the program
// gets the focus; and every child widget is in the tree, the ones the window
// keeps hidden too, each with its working actions. Here the window reports
// the role Window (AT-SPI "frame") with its title as its name, and a control
// that the window keeps hidden is neither in the tree nor offers any action:
// no client can tick an option the user never sees. The window's own code
// reads and sets those controls as before.
#pragma once

class QWidget;

namespace pendrio {

// Call once the window's controls exist and the hidden ones are hidden, and
// before anything else happens in it: interfaces made earlier are replaced.
void ExposeToAccessibility(QWidget& window);

} // namespace pendrio
