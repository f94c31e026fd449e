// Where a second window goes so that it does not cover the first.
#pragma once

#include <QRect>
#include <QSize>

namespace pendrio {

// The frame rectangle for a window that would like to be `wanted` large,
// beside the window `beside`, within the screen's `available` area: to its
// right where there is room, else to its left, top edges level. Where
// neither side has room for the wanted width, the window is narrowed to the
// wider side's room, down to `minimum`; only below that does it overlap,
// kept on the screen. An empty `available` area places it to the right.
QRect PlaceBeside(const QRect& beside, const QSize& wanted, const QSize& minimum,
                  const QRect& available);

} // namespace pendrio
