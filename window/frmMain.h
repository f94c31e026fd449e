// Pendrio's main window: five input boxes, the options, "Calculate", and the
// frame that shows one section of the last calculation at a time.
//
// The window owns the ProfileState and is a thin layer over the engine. Every
// change happens in one of the handlers below, named after the control and
// the event. An input is committed only when its box loses the keyboard focus
// (txtInput_LostFocus): the text is parsed, stored in the state and written
// back in normal form, or refused with a beep and the text the box had when it
// got the focus. "Calculate" runs CalculateProfile on the stored inputs and
// shows section 1; "Next" and "Previous" step through the sections.
//
// It knows nothing of what is built around it. Its signals carry out what
// changed (a calculation or its failure, the section on display, the
// committed inputs, "Always on top"), and
// two slots take a section to show and a text to enter; AppShell joins them
// to the profile window and adds the shortcuts, menus and tooltips.
#pragma once

#include "profile/ProfileState.h"
#include "window/WindowLayout.h"

#include <QList>
#include <QWidget>

#include <array>
#include <cstdint>

class QAction;

namespace pendrio {
class LeaveWatch;
}

namespace pendrio {

// The five input boxes, txtInput(0) to txtInput(4), by what each holds.
enum class InputBox : std::int16_t {
    Length = 0,
    StartHeight = 1,
    StartGradient = 2,
    EndGradient = 3,
    SectionCount = 4,
};
inline constexpr int InputBoxCount = 5;

// What the result frame shows for one section, before the display rounds it:
// the six boxes top to bottom, lengths in track units, gradients in radians.
struct ShownSection {
    int number = 1;
    std::array<double, 6> values{};
};

// The controls are its own, as building them returned them (MainControls):
// txtInput, cmdCalculate, chkOnTop, frmCalc, ...
class frmMain : public QWidget, private MainControls {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);

    const ProfileState& state() const { return state_; }

    // Commands from around the window ("Copy all sections", "Show profile"),
    // offered without changing any control: their shortcuts work anywhere in
    // the window, the result frame's menu holds them, each result box's
    // editing menu has them below it, and the tooltips of the input boxes,
    // "Calculate" and the result boxes name them with their shortcuts, so
    // that a new user finds them.
    void addCommands(const QList<QAction*>& commands);

    // What the frame shows now.
    ShownSection shownSection() const;

    // The common factor by which the twip layout was scaled so that every
    // caption fits the default font.
    double layoutScale() const { return layoutScale_; }

public slots:
    // Shows `section` in the frame, as stepping to it with "Next" and
    // "Previous" would; ignored outside 1..MaxSections.
    void goToSection(int section);

    // Enters `text` into `box` as if the user had typed it there and left the
    // box: committed, or refused with a beep and the text the box had before
    // (on getting the focus, if the user is in it). True if committed.
    bool enterInput(pendrio::InputBox box, const QString& text);

    // "Calculate", as a click on it runs it.
    void calculate() { cmdCalculate_Click(); }

signals:
    // The answer to a refused entry or a step beyond the sections: whoever
    // builds the window sounds the system beep.
    void beepRequested();
    // A calculation succeeded: `profile` is the state it left, its
    // CurrentSection already 1. Sent once, before the frame shows section 1.
    void profileCalculated(const pendrio::ProfileState& profile);
    // The frame has been written for this section.
    void sectionShown(const pendrio::ShownSection& section);
    // An input box has been committed; `inputs` are all five as now stored.
    void inputsCommitted(const pendrio::ProfileInputs& inputs);
    // "Calculate" could not calculate these inputs: it beeped, and the last
    // results stay on display.
    void calculationFailed(const pendrio::ProfileInputs& inputs);
    // "Always on top" was ticked or cleared.
    void alwaysOnTopChanged(bool onTop);

private:
    void createControls();
    void wireEvents();

    void beep();
    void Form_Load();
    void cmdCalculate_Click();
    void cmdNext_Click();
    void cmdBack_Click();
    void chkOnTop_Click();
    void chkAutomatic_Click();
    void chkOutputFormat_Click();
    void txtInput_GotFocus(std::int16_t index);
    bool txtInput_LostFocus(std::int16_t index);

    bool commitInput(std::int16_t index);
    QString commandHints() const;
    void showResultToolTips(const ShownSection& shown);
    QLineEdit* input(InputBox box) const { return txtInput.at(std::size_t(box)); }
    void ShowSection();

    ProfileState state_;
    // A box of the result frame and the value it shows, unrounded, for a
    // section: an angle in radians, shown in degrees, or a length.
    struct ResultBox {
        QLineEdit* box;
        bool isGradient;
        double (*value)(const ProfileState& state, int section);
    };
    std::array<ResultBox, 6> resultBoxes_{};
    QList<QAction*> commands_;
    // When the user enters and leaves each input box.
    std::array<LeaveWatch*, InputBoxCount> leaving_{};
};

} // namespace pendrio
