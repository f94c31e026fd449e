// Pendrio's one window: five input boxes, the options, "Calculate", and the
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
// Everything beyond these controls (the profile window, copying the sections,
// the result boxes' tooltips) lives in ProfileActions, which follows the
// window through two signals that carry what changed, and steps it through
// goToSection.
#pragma once

#include "profile/ProfileState.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace pendrio {

class ProfileActions;

class frmMain : public QWidget {
    Q_OBJECT

public:
    // `beep` sounds the system beep; by default QApplication::beep().
    explicit frmMain(std::function<void()> beep = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    const ProfileState& state() const { return state_; }

    // The profile of the last calculation that succeeded, as the frame shows
    // it section by section: its SectionCount is the number of sections then
    // calculated, a height at start committed since then is already in, and
    // its CurrentSection is the section on display.
    const ProfileState& calculatedProfile() const { return calculated_; }

    ProfileActions* profileActions() const { return profileActions_; }

    // A box of the result frame and the value it shows, unrounded, for a
    // section: an angle in radians, shown in degrees, or a length.
    struct ResultBox {
        QLineEdit* box;
        bool isGradient;
        double (*value)(const ProfileState& state, int section);
    };
    // The six boxes ShowSection writes, top to bottom.
    const std::array<ResultBox, 6>& resultBoxes() const { return resultBoxes_; }
    QGroupBox* resultFrame() const { return frmCalc; }

    // Shows `section` in the frame, as stepping to it with "Next" and
    // "Previous" would; ignored outside 1..MaxSections.
    void goToSection(int section);

    // The common factor by which the twip layout was scaled so that every
    // caption fits the default font.
    double layoutScale() const { return layoutScale_; }

    // Enters `text` into input box `index` (0..4) as if the user had typed it
    // there and left the box: committed, or refused with a beep and the text
    // the box had before (on getting the focus, if the user is in it). True if
    // committed.
    bool enterInput(int index, const QString& text);

    // Sounds the beep the window was given.
    void beep() const;

signals:
    // calculatedProfile() has changed: a calculation succeeded (sent once,
    // after its CurrentSection has been set), or a new height at start was
    // committed. `profile` is calculatedProfile().
    void profileChanged(const pendrio::ProfileState& profile);
    // The frame has been written for `section`.
    void sectionShown(int section);
    // Input box `index` (0..4) has been committed: its value is in state().
    void inputCommitted(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void wireEvents();

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
    void ShowSection();
    void finishSuspendedFocus(QObject* gainingFocus);

    ProfileState state_;
    ProfileState calculated_;
    ProfileActions* profileActions_ = nullptr;
    std::function<void()> beep_;
    double layoutScale_ = 1.0;

    std::array<QLineEdit*, 5> txtInput{};
    QLineEdit* txtSectionLength = nullptr;
    QLineEdit* txtCoeff2 = nullptr;
    QLineEdit* txtCoeff1 = nullptr;
    QLineEdit* txtCoeff0 = nullptr;
    QLineEdit* txtSStartGradient = nullptr;
    QLineEdit* txtSEndGradient = nullptr;
    QLineEdit* txtActualSection = nullptr;
    QPushButton* cmdCalculate = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdBack = nullptr;
    QCheckBox* chkOnTop = nullptr;
    QCheckBox* chkOutputFormat = nullptr;
    QCheckBox* chkAutomatic = nullptr;
    QGroupBox* frmCalc = nullptr;
    std::array<ResultBox, 6> resultBoxes_{};

    // An input box that lost the focus only for a moment (its context menu
    // opened, or the window was deactivated): its commit waits until the
    // focus really moves on, and is dropped if the focus comes back to it.
    int suspendedBox_ = -1;
};

} // namespace pendrio
