// The window's controls as one table: kind, name, caption, place and tab index.
//
// Places are in twips (1/1440 inch), the unit the layout was drawn in; 15 twips
// make one pixel at 96 dots per inch. BuildControls makes every control from
// this table in one loop, for the window and for the start-up yardstick in
// bench/, so the layout can be read, checked and changed here alone.
#pragma once

#include <QRect>
#include <QString>

#include <array>
#include <span>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pendrio {

enum class ControlKind { Frame, Label, TextBox, Button, CheckBox };

enum class TextAlign { Left, Right, Centre };

struct ControlSpec {
    const char* name; // objectName, e.g. "txtInput(0)"
    ControlKind kind;
    const char* caption; // caption, or a text box's initial text
    int left, top;       // twips from the container's top-left corner
    int width, height;   // twips, outer size
    int tabIndex;        // lower comes first in the Tab cycle
    bool inFrame;        // placed inside frmCalc rather than on the window
    TextAlign align;     // text boxes only
    bool visible;        // hidden controls exist but are never shown
    bool ticked;         // check boxes only
    bool enabled;        // only the section count starts disabled
    const char* boxName; // text boxes: what a screen reader calls the box
};

inline constexpr int ClientWidthTwips = 4695;
inline constexpr int ClientHeightTwips = 4935;
inline constexpr const char* FrameName = "frmCalc";
// The captions and box names are translated in the main window's context.
inline constexpr const char* TranslationContext = "pendrio::frmMain";

std::span<const ControlSpec> Controls();
const ControlSpec& Control(const QString& name);

// The caption as shown: translated, except a text box's initial number.
QString CaptionOf(const ControlSpec& control);

// The controls BuildControls made, typed, under their names in the table.
struct MainControls {
    double layoutScale_ = 1; // the factor the layout was scaled by
    QGroupBox* frmCalc = nullptr;
    std::array<QLineEdit*, 5> txtInput{};
    QLineEdit *txtSectionLength = nullptr, *txtCoeff2 = nullptr, *txtCoeff1 = nullptr,
              *txtCoeff0 = nullptr, *txtSStartGradient = nullptr, *txtSEndGradient = nullptr,
              *txtActualSection = nullptr;
    QPushButton *cmdCalculate = nullptr, *cmdNext = nullptr, *cmdBack = nullptr;
    QCheckBox *chkOnTop = nullptr, *chkOutputFormat = nullptr, *chkAutomatic = nullptr;
};

// Creates every control of the table on `window` (the frame's inside the
// frame), with the table's names, texts, states and tab order, all scaled by
// the smallest common factor at which every caption fits the window's font,
// and fixes the window's size to the scaled client area.
MainControls BuildControls(QWidget& window);

// Twips to device-independent pixels: 15 twips a pixel, times `scale`.
// Edges are converted, not sizes, so that controls whose edges line up in
// twips still line up in pixels.
int TwipsToPixels(int twips, double scale);
QRect TwipsToPixels(int left, int top, int width, int height, double scale);

// The control's rectangle in its container, in pixels at the given scale.
QRect ControlRect(const ControlSpec& control, double scale);

} // namespace pendrio
