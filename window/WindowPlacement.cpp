#include "window/WindowPlacement.h"

#include <algorithm>

namespace pendrio {

QRect PlaceBeside(const QRect& beside, const QSize& wanted, const QSize& minimum,
                  const QRect& available) {
    constexpr int gap = 8;
    const int rightStart = beside.right() + 1 + gap;
    if (available.isEmpty()) {
        return {QPoint(rightStart, beside.top()), wanted};
    }
    const int roomRight = available.right() + 1 - rightStart;
    const int roomLeft = beside.left() - gap - available.left();
    const int width = std::max(std::min(wanted.width(), std::max(roomRight, roomLeft)),
                               std::min(minimum.width(), available.width()));
    const int height = std::min(wanted.height(), available.height());
    int x = roomRight >= width || roomRight >= roomLeft ? rightStart : beside.left() - gap - width;
    x = std::clamp(x, available.left(), available.right() + 1 - width);
    const int y = std::clamp(beside.top(), available.top(), available.bottom() + 1 - height);
    return {x, y, width, height};
}

} // namespace pendrio
