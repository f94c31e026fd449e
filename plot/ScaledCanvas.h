// Drawing made for the screen, on paper. The plot is drawn with pens in
// pixels and text placed with the screen's font metrics; PaintAsOnScreen
// lets it draw on a device of the screen's resolution that hands everything
// on to the printer's or PDF's painter, scaled into a box as a whole: on
// paper it looks as it does on the screen, in vectors and real text.
#pragma once

#include <QRectF>

#include <functional>

class QPainter;

namespace pendrio {

// Calls `paint` with a painter on such a device and the whole of it as its
// area, which ends up as `box` of `painter`'s device.
void PaintAsOnScreen(QPainter& painter, const QRectF& box,
                     const std::function<void(QPainter&, const QRectF&)>& paint);

} // namespace pendrio
