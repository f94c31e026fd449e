#include "window/PlotGeometry.h"

#include <array>
#include <cmath>

namespace pendrio {

namespace {

bool positive(double value) {
    return std::isfinite(value) && value > 0;
}

// 1, 2 and 5 times the power of ten at or below `value`, and the next power.
std::array<double, 4> decade(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    return {power, 2 * power, 5 * power, 10 * power};
}

} // namespace

double TickStep(double span, int maxSteps) {
    if (!positive(span) || maxSteps < 1) {
        return 0;
    }
    const double rough = span / maxSteps;
    for (double step : decade(rough)) {
        // A little slack: log10 rounds, and 0.3 / 3 must still give 0.1.
        if (step >= rough * (1 - 1e-12)) {
            return step;
        }
    }
    return decade(rough)[3];
}

std::vector<double> TickValues(double low, double high, double step) {
    std::vector<double> ticks;
    if (!positive(step) || !std::isfinite(low) || !std::isfinite(high) || high < low) {
        return ticks;
    }
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || !(last - first < MaxTicks)) {
        return ticks;
    }
    // Counted, not stepped with a double: beyond 2^53, first + 1 == first.
    const int count = last < first ? 0 : static_cast<int>(last - first) + 1;
    for (int j = 0; j < count; ++j) {
        const double tick = (first + j) * step;
        if (ticks.empty() || tick > ticks.back()) {
            ticks.push_back(tick);
        }
    }
    return ticks;
}

std::vector<double> AxisTicks(double low, double high, int maxSteps) {
    std::vector<double> ticks = TickValues(low, high, TickStep(high - low, maxSteps));
    const double middle = low / 2 + high / 2;
    if (ticks.empty() && std::isfinite(middle)) {
        ticks.push_back(middle);
    }
    return ticks;
}

double NiceAtMost(double value) {
    if (!positive(value)) {
        return 1;
    }
    const std::array<double, 4> candidates = decade(value);
    double nice = candidates[0];
    for (double candidate : candidates) {
        if (candidate <= value * (1 + 1e-12)) {
            nice = candidate;
        }
    }
    return positive(nice) ? nice : 1;
}

double VerticalExaggeration(double length, double heightSpan, double width, double height) {
    if (!positive(length) || !positive(heightSpan) || !positive(width) || !positive(height)) {
        return 1;
    }
    // At true scale the heights would take heightSpan / length of the width.
    const double wanted = (2.0 / 3.0 * height / width) * (length / heightSpan);
    return NiceAtMost(wanted);
}

} // namespace pendrio
