// The profile engine: everything behind Pendrio's window, with no user interface.
//
// A vertical transition curve is one parabola over the whole stretch whose slope
// changes linearly from the start gradient to the end gradient. ProfileState holds
// the five inputs (length, height at start, both gradients, number of sections),
// the values that CalculateProfile derives from them, and one table per result
// that the window reads section by section. Lengths and heights are in track
// units, angles in radians; the window converts to metres and degrees for display.
//
// A gradient is the angle of the line against the level, in radians here and
// degrees on screen; its tangent, the rise per unit run, is its slope (0.015
// for +1.5 %). The engine's own names keep to these two words; only the
// per-section tables call the gradients at a section's ends its angles.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pendrio {

// Track units per metre, the decimal value as the trade uses it (not derived
// from inches), so conversions to metres divide by exactly this double.
inline constexpr double UnitsPerMetre = 19685.03937;

// The 15-digit decimal pi used for every degree/radian conversion. It is
// deliberately not the full double-precision pi: 90 degrees must become the
// same radians, and the same tangent, that users of the tool are used to.
inline constexpr double Pi = 3.14159265358979;

inline constexpr int MaxSections = 256;

// Entry i belongs to section i (1..MaxSections); entry 0 is never used.
using SectionTable = std::array<double, MaxSections + 1>;

struct ProfileState {
    // Inputs.
    double TrackLength = 1968503.937; // 100 m
    std::int16_t SectionCount = 1;
    double StartGradient = 0; // radians
    double EndGradient = 0;   // radians

    std::int16_t CurrentSection = 1; // section on display

    // Derived by CalculateProfile.
    double SectionLength = 0; // TrackLength / SectionCount
    double StartRise = 0;     // tan(StartGradient) * TrackLength
    double CurveRise = 0;     // (tan(EndGradient) - tan(StartGradient)) / 2 * TrackLength

    // Per-section results. SectionHeight.at(1) is also the input "height at start".
    SectionTable SectionHeight{};
    SectionTable SectionCoeff1{};
    SectionTable SectionCoeff2{};
    SectionTable SectionStartAngle{};
    SectionTable SectionEndAngle{};

    // Text of the input box that last received the focus, for restoring a refused entry.
    std::string SavedText;
};

// The five inputs a calculation is made from, as a value: what a view of one
// calculation compares with the inputs committed since.
struct ProfileInputs {
    double TrackLength = 0;
    double StartHeight = 0; // SectionHeight.at(1)
    double StartGradient = 0;
    double EndGradient = 0;
    std::int16_t SectionCount = 1;
    bool operator==(const ProfileInputs&) const = default;
};

inline ProfileInputs InputsOf(const ProfileState& state) {
    return {state.TrackLength, state.SectionHeight.at(1), state.StartGradient, state.EndGradient,
            state.SectionCount};
}

// Multiply first, divide second: the order fixes the last bit of the result.
constexpr double DegreesToRadians(double degrees) {
    return degrees * Pi / 180.0;
}
constexpr double RadiansToDegrees(double radians) {
    return radians * 180.0 / Pi;
}

} // namespace pendrio
