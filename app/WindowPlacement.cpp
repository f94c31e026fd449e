#include "app/WindowPlacement.h"

#include <algorithm>
#include <array>

namespace pendrio {

namespace {

constexpr int Gap = 8; // between the two frames, so that both edges show

// A left or top edge moved so that a window of `extent` from it stays within
// [low, high] where it fits.
int clampedEdge(int edge, int extent, int low, int high) {
    return std::clamp(edge, low, std::max(low, high + 1 - extent));
}

long long overlapArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

// The window at its minimum size where it covers the least of `main`: flush
// against each side of it or against each edge of the screen.
QRect leastCovering(const QRect& main, const QSize& size, const QRect& available) {
    const int w = size.width();
    const int h = size.height();
    const auto x = [&](int edge) {
        return clampedEdge(edge, w, available.left(), available.right());
    };
    const auto y = [&](int edge) {
        return clampedEdge(edge, h, available.top(), available.bottom());
    };
    const std::array<int, 4> xs{x(main.right() + 1 + Gap), x(main.left() - Gap - w),
                                x(available.left()), x(available.right() + 1 - w)};
    const std::array<int, 5> ys{y(main.top()), y(main.bottom() + 1 + Gap), y(main.top() - Gap - h),
                                y(available.top()), y(available.bottom() + 1 - h)};
    QRect best(xs[0], ys[0], w, h);
    for (int left : xs) {
        for (int top : ys) {
            const QRect candidate(left, top, w, h);
            if (overlapArea(candidate, main) < overlapArea(best, main)) {
                best = candidate;
            }
        }
    }
    return best;
}

} // namespace

QRect PlaceNear(const QRect& main, const QSize& wanted, const QSize& minimum,
                const QRect& available) {
    if (available.isEmpty()) {
        return {QPoint(main.right() + 1 + Gap, main.top()), wanted};
    }
    const int width = std::min(wanted.width(), available.width());
    const int height = std::min(wanted.height(), available.height());
    const int minWidth = std::min(minimum.width(), width);
    const int minHeight = std::min(minimum.height(), height);

    const int roomRight = available.right() - main.right() - Gap;
    const int roomLeft = main.left() - Gap - available.left();
    if (std::max(roomRight, roomLeft) >= minWidth) {
        const bool right = roomRight >= width || roomRight >= roomLeft;
        const int w = std::min(width, right ? roomRight : roomLeft);
        const int x = right ? main.right() + 1 + Gap : main.left() - Gap - w;
        if (w < width) { // narrowed: the side's whole height makes up for it
            return {x, available.top(), w, available.height()};
        }
        return {x, clampedEdge(main.top(), height, available.top(), available.bottom()), w, height};
    }
    const int roomBelow = available.bottom() - main.bottom() - Gap;
    const int roomAbove = main.top() - Gap - available.top();
    if (std::max(roomBelow, roomAbove) >= minHeight) {
        const bool below = roomBelow >= height || roomBelow >= roomAbove;
        const int h = std::min(height, below ? roomBelow : roomAbove);
        const int y = below ? main.bottom() + 1 + Gap : main.top() - Gap - h;
        if (h < height) { // shortened: the whole width makes up for it
            return {available.left(), y, available.width(), h};
        }
        return {clampedEdge(main.left(), width, available.left(), available.right()), y, width, h};
    }
    return leastCovering(main, QSize(minWidth, minHeight), available);
}

} // namespace pendrio
