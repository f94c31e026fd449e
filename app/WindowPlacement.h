// Where a second window goes so that it does not cover the first.
#pragma once

#include <QRect>
#include <QSize>

namespace pendrio {

// The frame rectangle for a window that would like to be `wanted` large and
// can be as small as `minimum`, near the window `main`, within the screen's
// `available` area; all three in frame (outer) sizes. Beside `main` where one
// side has room for the minimum width, top edges level, else below or above
// it, left edges level: there at the wanted size where it fits. Where it
// does not, it takes the side's whole room: up to the wanted width beside and
// the screen's whole height, or up to the wanted height below or above and
// the screen's whole width. Where no side has room, the window takes its
// minimum size at the place on the screen that covers the least of `main`.
// It always lies wholly within `available`; an empty `available` area places
// it to the right at the wanted size.
QRect PlaceNear(const QRect& main, const QSize& wanted, const QSize& minimum,
                const QRect& available);

} // namespace pendrio
