#include "window/WindowPlacement.h"

#include <algorithm>

namespace pendrio {

QPoint PlaceBeside(const QRect& beside, const QSize& size, const QRect& available) {
    constexpr int gap = 8;
    const int right = beside.right() + 1 + gap;
    const int left = beside.left() - gap - size.width();
    if (available.isEmpty()) {
        return {right, beside.top()};
    }
    int x = right;
    if (right + size.width() > available.right() + 1) {
        x = left >= available.left() ? left : available.right() + 1 - size.width();
    }
    x = std::max(x, available.left());
    const int y = std::clamp(beside.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace pendrio
