#include "WindowLayout.h"

#include <cmath>
#include <stdexcept>

namespace pendrio {

namespace {

using K = ControlKind;
using A = TextAlign;

// clang-format off
constexpr ControlSpec kControls[] = {
//   name                  kind         caption                            left  top   width height tab frame align     visible ticked enabled box name
    {"txtInput(0)",        K::TextBox,  "1968504",                         240,  120,  1575, 285,  1,  false, A::Right,  true,  false, true,  "Length"},
    {"txtInput(1)",        K::TextBox,  "0",                               240,  480,  1575, 285,  2,  false, A::Right,  true,  false, true,  "Height at start"},
    {"txtInput(2)",        K::TextBox,  "0",                               240,  840,  1575, 285,  3,  false, A::Right,  true,  false, true,  "Start gradient"},
    {"txtInput(3)",        K::TextBox,  "0",                               240,  1200, 1575, 285,  4,  false, A::Right,  true,  false, true,  "End gradient"},
    {"txtInput(4)",        K::TextBox,  "1",                               240,  1560, 1575, 285,  5,  false, A::Right,  true,  false, false, "No. of sections"},
    {"lblLength",          K::Label,    "Length",                          1920, 160,  1095, 255,  19, false, A::Left,   true,  false, true,  nullptr},
    {"lblStartH",          K::Label,    "Height at start",                 1920, 520,  1095, 255,  18, false, A::Left,   true,  false, true,  nullptr},
    {"lblGradStart",       K::Label,    "Start gradient",                  1920, 880,  1095, 255,  17, false, A::Left,   true,  false, true,  nullptr},
    {"lblEndGrad",         K::Label,    "End gradient",                    1920, 1240, 1095, 255,  16, false, A::Left,   true,  false, true,  nullptr},
    {"lblSections",        K::Label,    "No. of sections",                 1920, 1600, 1215, 255,  15, false, A::Left,   true,  false, true,  nullptr},
    {"chkOnTop",           K::CheckBox, "Always on top",                   3240, 160,  1335, 195,  6,  false, A::Left,   true,  false, true,  nullptr},
    {"chkOutputFormat",    K::CheckBox, "Output in [m]",                   3240, 520,  1335, 195,  7,  false, A::Left,   false, false, true,  nullptr},
    {"chkAutomatic",       K::CheckBox, "Auto-tile",                       3240, 880,  975,  195,  28, false, A::Left,   false, true,  true,  nullptr},
    {"cmdCalculate",       K::Button,   "Calculate",                       3240, 1200, 1335, 615,  29, false, A::Left,   true,  false, true,  nullptr},
    {"frmCalc",            K::Frame,    "Calculated stuff - Don't edit!",  120,  1920, 4455, 2895, 0,  false, A::Left,   true,  false, true,  nullptr},
    {"txtSectionLength",   K::TextBox,  "0",                               120,  240,  1575, 285,  10, true,  A::Right,  true,  false, true,  "Section length"},
    {"txtCoeff2",          K::TextBox,  "0",                               120,  600,  1575, 285,  11, true,  A::Right,  true,  false, true,  "2nd order coefficient"},
    {"txtCoeff1",          K::TextBox,  "0",                               120,  960,  1575, 285,  12, true,  A::Right,  true,  false, true,  "1st order coefficient"},
    {"txtCoeff0",          K::TextBox,  "0",                               120,  1320, 1575, 285,  13, true,  A::Right,  true,  false, true,  "Height at start of section"},
    {"txtSStartGradient",  K::TextBox,  "0",                               120,  1680, 1575, 285,  24, true,  A::Right,  true,  false, true,  "Gradient at start of section"},
    {"txtSEndGradient",    K::TextBox,  "0",                               120,  2040, 1575, 285,  25, true,  A::Right,  true,  false, true,  "Gradient at end of section"},
    {"cmdBack",            K::Button,   "Previous",                        120,  2400, 1575, 375,  8,  true,  A::Left,   true,  false, true,  nullptr},
    {"txtActualSection",   K::TextBox,  "1",                               2040, 2440, 375,  285,  14, true,  A::Centre, true,  false, true,  "Section number"},
    {"cmdNext",            K::Button,   "Next",                            2760, 2400, 1575, 375,  9,  true,  A::Left,   true,  false, true,  nullptr},
    {"lblSectionLength",   K::Label,    "Section length",                  1800, 280,  2535, 255,  20, true,  A::Left,   true,  false, true,  nullptr},
    {"lbl2ndCoeff",        K::Label,    "2nd order coefficient",           1800, 640,  2535, 255,  21, true,  A::Left,   true,  false, true,  nullptr},
    {"lbl1stCoeff",        K::Label,    "1st order coefficient",           1800, 1000, 2535, 255,  22, true,  A::Left,   true,  false, true,  nullptr},
    {"lblHeight",          K::Label,    "Height at start of section",      1800, 1360, 2535, 255,  23, true,  A::Left,   true,  false, true,  nullptr},
    {"lblSStartGradient",  K::Label,    "Gradient at start of section",    1800, 1720, 2535, 255,  26, true,  A::Left,   true,  false, true,  nullptr},
    {"lblSEndGradient",    K::Label,    "Gradient at end of section",      1800, 2080, 2535, 255,  27, true,  A::Left,   true,  false, true,  nullptr},
};
// clang-format on

} // namespace

std::span<const ControlSpec> Controls() { return kControls; }

const ControlSpec& Control(const QString& name) {
    for (const ControlSpec& control : kControls) {
        if (name == QLatin1String(control.name)) {
            return control;
        }
    }
    throw std::out_of_range("no control named " + name.toStdString());
}

int TwipsToPixels(int twips, double scale) {
    return static_cast<int>(std::lround(twips / 15.0 * scale));
}

QRect TwipsToPixels(int left, int top, int width, int height, double scale) {
    const int x = TwipsToPixels(left, scale);
    const int y = TwipsToPixels(top, scale);
    return QRect(x, y, TwipsToPixels(left + width, scale) - x,
                 TwipsToPixels(top + height, scale) - y);
}

QRect ControlRect(const ControlSpec& control, double scale) {
    if (!control.inFrame) {
        return TwipsToPixels(control.left, control.top, control.width, control.height, scale);
    }
    // Convert in window coordinates and then make the result relative to the
    // frame, so that the frame's boxes line up with the input boxes above.
    const ControlSpec& frame = Control(QLatin1String(FrameName));
    const QRect inWindow = TwipsToPixels(frame.left + control.left, frame.top + control.top,
                                         control.width, control.height, scale);
    return inWindow.translated(-TwipsToPixels(frame.left, scale), -TwipsToPixels(frame.top, scale));
}

} // namespace pendrio
