#include "window/PlotGeometry.h"

#include <algorithm>
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
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > 200) {
        return ticks;
    }
    for (double k = first; k <= last; ++k) {
        ticks.push_back(k * step);
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

double SectionStart(const ProfileState& profile, int section) {
    return static_cast<double>(section - 1) / profile.SectionCount * profile.TrackLength;
}

double SectionHeightAt(const ProfileState& profile, int section, double t) {
    return profile.SectionHeight.at(section) +
           (profile.SectionCoeff1.at(section) * t + profile.SectionCoeff2.at(section) * (t * t));
}

ProfilePoint ProfilePointAt(const ProfileState& profile, double distance) {
    const int n = std::clamp<int>(profile.SectionCount, 1, MaxSections);
    const double length = profile.TrackLength;
    ProfilePoint point;
    point.distance = std::isfinite(distance) ? std::clamp(distance, 0.0, length) : 0.0;
    const double fraction = length > 0 ? point.distance / length : 0.0;
    point.section = std::clamp(static_cast<int>(std::floor(fraction * n)) + 1, 1, n);
    const int i = point.section;
    const double sectionLength = profile.SectionLength;
    const double t =
        sectionLength > 0
            ? std::clamp((point.distance - SectionStart(profile, i)) / sectionLength, 0.0, 1.0)
            : 0.0;
    const double c1 = profile.SectionCoeff1.at(i);
    const double c2 = profile.SectionCoeff2.at(i);
    point.height = SectionHeightAt(profile, i, t);
    point.gradient = sectionLength > 0 ? std::atan((c1 + 2.0 * c2 * t) / sectionLength)
                                       : profile.SectionStartAngle.at(i);
    return point;
}

} // namespace pendrio
