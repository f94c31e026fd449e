#include "ProfileCurve.h"

#include "maths/Transcendental.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pendrio {

int CalculatedSectionCount(const ProfileState& profile) {
    return std::clamp<int>(profile.SectionCount, 0, MaxSections);
}

double SectionStart(const ProfileState& profile, int section) {
    return static_cast<double>(section - 1) / profile.SectionCount * profile.TrackLength;
}

double SectionHeightAt(const ProfileState& profile, int section, double t) {
    if (section < 1 || section > MaxSections) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return profile.SectionHeight[section] +
           (profile.SectionCoeff1[section] * t + profile.SectionCoeff2[section] * (t * t));
}

CurvePoint CurvePointAt(const ProfileState& profile, double distance) {
    const int n = std::max(CalculatedSectionCount(profile), 1);
    // A length that is not positive (or NaN) leaves one point: the start.
    const double length = profile.TrackLength > 0 ? profile.TrackLength : 0.0;
    CurvePoint point;
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
    // A section without length has no parabola to take a slope from, only its start angle.
    point.slope = sectionLength > 0 ? (c1 + 2.0 * c2 * t) / sectionLength
                                    : Tan(profile.SectionStartAngle.at(i));
    return point;
}

ProfilePoint ProfilePointAt(const ProfileState& profile, double distance) {
    const CurvePoint point = CurvePointAt(profile, distance);
    const double gradient =
        profile.SectionLength > 0 ? Atan(point.slope) : profile.SectionStartAngle.at(point.section);
    return {point, gradient};
}

} // namespace pendrio
