// Where a second window goes so that it does not cover the first.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pendrio {

// The top-left corner for a window of frame size `size` beside `beside`:
// to its right where the screen's available area has room, else to its left,
// else as far right as fits; top edges level, kept on the screen. An empty
// `available` area places it to the right.
QPoint PlaceBeside(const QRect& beside, const QSize& size, const QRect& available);

} // namespace pendrio
