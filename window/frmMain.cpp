#include "window/frmMain.h"

#include "profile/CalculateProfile.h"
#include "programinfo/ProgramInfo.h"
#include "text/NumberText.h"
#include "text/ResultToolTips.h"
#include "window/SessionPlatform.h"
#include "window/WindowAccessibility.h"
#include "widgets/LeaveWatch.h"
#include "window/WindowLayout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pendrio {

namespace {

bool isTicked(const QCheckBox* box) {
    return box->checkState() != Qt::Unchecked;
}

} // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QString::fromUtf8(WindowTitle));
    createControls();
    AdaptOnTopToPlatform(*chkOnTop, QGuiApplication::platformName().toStdString());
    ExposeToAccessibility(*this);
    wireEvents();
    Form_Load();
    input(InputBox::Length)->setFocus(Qt::OtherFocusReason);
}

void frmMain::createControls() {
    static_cast<MainControls&>(*this) = BuildControls(*this);
    resultBoxes_ = {{
        {txtSectionLength, false, [](const ProfileState& s, int) { return s.SectionLength; }},
        {txtCoeff2, false, [](const ProfileState& s, int i) { return s.SectionCoeff2.at(i); }},
        {txtCoeff1, false, [](const ProfileState& s, int i) { return s.SectionCoeff1.at(i); }},
        {txtCoeff0, false, [](const ProfileState& s, int i) { return s.SectionHeight.at(i); }},
        {txtSStartGradient, true,
         [](const ProfileState& s, int i) { return s.SectionStartAngle.at(i); }},
        {txtSEndGradient, true,
         [](const ProfileState& s, int i) { return s.SectionEndAngle.at(i); }},
    }};
}

void frmMain::wireEvents() {
    connect(cmdCalculate, &QPushButton::clicked, this, &frmMain::cmdCalculate_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
    // toggled, not clicked: a change made by code must run the handler too.
    connect(chkOnTop, &QCheckBox::toggled, this, &frmMain::chkOnTop_Click);
    connect(chkAutomatic, &QCheckBox::toggled, this, &frmMain::chkAutomatic_Click);
    connect(chkOutputFormat, &QCheckBox::toggled, this, &frmMain::chkOutputFormat_Click);
    // A box left only for a moment (its context menu, another window) is
    // left once the focus arrives at another control, before that control acts.
    for (std::size_t i = 0; i < txtInput.size(); ++i) {
        const auto index = static_cast<std::int16_t>(i);
        leaving_[i] = new LeaveWatch(txtInput[i]);
        connect(leaving_[i], &LeaveWatch::entered, this, [this, index] { txtInput_GotFocus(index); });
        connect(leaving_[i], &LeaveWatch::left, this, [this, index] { txtInput_LostFocus(index); });
    }
}

void frmMain::beep() {
    emit beepRequested();
}

// ---- Start-up and commands ------------------------------------------------

void frmMain::Form_Load() {
    state_.TrackLength = 1968503.937;
    state_.SectionCount = 1;
    state_.CurrentSection = 1;
    state_.SectionHeight.at(1) = 0;
    state_.SectionStartAngle.at(1) = 0;
    state_.SectionEndAngle.at(1) = 0;
    // "Auto-tile" starts ticked; clearing it enables the section count and
    // runs the first calculation, so the window opens with results on show.
    chkAutomatic->setChecked(false);
}

void frmMain::cmdCalculate_Click() {
    for (QLineEdit* box : txtInput) {
        box->setEnabled(false);
    }
    const bool calculating = !isTicked(chkAutomatic);
    const bool calculated = calculating && CalculateProfile(state_);
    if (calculating && !calculated) {
        beep(); // nothing stored: the last results stay on display
        emit calculationFailed(InputsOf(state_));
    }
    state_.CurrentSection = 1;
    if (calculated) {
        emit profileCalculated(state_);
    }
    ShowSection();
    for (InputBox box : {InputBox::Length, InputBox::StartHeight, InputBox::StartGradient,
                         InputBox::EndGradient}) {
        input(box)->setEnabled(true);
    }
    if (!isTicked(chkAutomatic)) {
        input(InputBox::SectionCount)->setEnabled(true);
    }
}

void frmMain::chkAutomatic_Click() {
    input(InputBox::SectionCount)->setEnabled(!isTicked(chkAutomatic));
    cmdCalculate_Click();
}

void frmMain::chkOnTop_Click() {
    const bool ticked = isTicked(chkOnTop);
    KeepWindowOnTop(*this, ticked);
    emit alwaysOnTopChanged(ticked);
}

// ---- Section display and navigation ---------------------------------------

void frmMain::ShowSection() {
    const QLocale locale = this->locale();
    const bool metres = isTicked(chkOutputFormat);
    const auto length = [&](double units) {
        return NumberToText(RoundHalfEven(metres ? units / UnitsPerMetre : units, 0), locale);
    };
    const auto degrees = [&](double radians) {
        return NumberToText(RoundHalfEven(RadiansToDegrees(radians), 3), locale);
    };
    const ShownSection shown = shownSection();
    for (std::size_t row = 0; row < resultBoxes_.size(); ++row) {
        const double value = shown.values[row];
        QLineEdit* box = resultBoxes_[row].box;
        box->setText(resultBoxes_[row].isGradient ? degrees(value) : length(value));
        // A number longer than its box shows its sign and leading digits, not
        // its end; the tooltip has it whole.
        box->setCursorPosition(0);
    }
    txtActualSection->setText(NumberToText(state_.CurrentSection, locale));
    showResultToolTips(shown);
    emit sectionShown(shown);
}

// The value before display rounding, in the forms planners also think in.
void frmMain::showResultToolTips(const ShownSection& shown) {
    const QLocale locale = this->locale();
    const QString hints = commandHints();
    for (std::size_t row = 0; row < resultBoxes_.size(); ++row) {
        const double value = shown.values[row];
        const QString tip = resultBoxes_[row].isGradient ? GradientToolTip(value, locale)
                                                         : LengthToolTip(value, locale);
        resultBoxes_[row].box->setToolTip(hints.isEmpty() ? tip : tip + u'\n' + hints);
    }
}

// A line a command, its status tip saying what it is for: "Ctrl+Shift+P:
// Show profile (the whole curve in a window of its own)".
QString frmMain::commandHints() const {
    QStringList lines;
    for (const QAction* command : commands_) {
        const QString keys = command->shortcut().toString(QKeySequence::NativeText);
        lines << (command->statusTip().isEmpty()
                      ? tr("%1: %2").arg(keys, command->iconText())
                      : tr("%1: %2 (%3)").arg(keys, command->iconText(), command->statusTip()));
    }
    return lines.join(u'\n');
}

void frmMain::addCommands(const QList<QAction*>& commands) {
    commands_ += commands;
    addActions(commands); // shortcuts anywhere in the window
    frmCalc->setContextMenuPolicy(Qt::ActionsContextMenu);
    frmCalc->addActions(commands);
    for (const ResultBox& entry : resultBoxes_) {
        QLineEdit* box = entry.box;
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](const QPoint& at) {
            QMenu* menu = box->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addSeparator();
            menu->addActions(commands_);
            menu->popup(box->mapToGlobal(at));
        });
    }
    const QString hints = commandHints();
    cmdCalculate->setToolTip(tr("Calculates the curve from the values entered.\n%1").arg(hints));
    for (QLineEdit* box : txtInput) {
        box->setToolTip(hints);
    }
    showResultToolTips(shownSection());
}

ShownSection frmMain::shownSection() const {
    ShownSection shown;
    shown.number = state_.CurrentSection;
    for (std::size_t row = 0; row < resultBoxes_.size(); ++row) {
        shown.values[row] = resultBoxes_[row].value(state_, shown.number);
    }
    return shown;
}

void frmMain::goToSection(int section) {
    if (section < 1 || section > MaxSections) {
        return;
    }
    state_.CurrentSection = static_cast<std::int16_t>(section);
    ShowSection();
}

void frmMain::cmdNext_Click() {
    // Equality, not "at or above": after the count was lowered without a new
    // calculation, Next steps on through what the tables still hold, up to
    // their last entry.
    if (state_.CurrentSection == state_.SectionCount || state_.CurrentSection >= MaxSections) {
        beep();
        return;
    }
    ++state_.CurrentSection;
    ShowSection();
}

void frmMain::cmdBack_Click() {
    if (state_.CurrentSection <= 1) {
        beep();
        return;
    }
    --state_.CurrentSection;
    ShowSection();
}

void frmMain::chkOutputFormat_Click() {
    ShowSection();
}

// ---- Input boxes ------------------------------------------------------------

void frmMain::txtInput_GotFocus(std::int16_t index) {
    QLineEdit* box = txtInput.at(index);
    box->setSelection(0, int(box->text().size()));
    state_.SavedText = box->text().toStdString();
}

// A box left shows the start of its text, the sign and leading digits, as
// the result boxes do.
bool frmMain::txtInput_LostFocus(std::int16_t index) {
    const bool committed = commitInput(index);
    if (!committed) {
        beep();
        txtInput.at(index)->setText(QString::fromStdString(state_.SavedText));
    }
    txtInput.at(index)->setCursorPosition(0);
    if (committed) {
        emit inputsCommitted(InputsOf(state_));
    }
    return committed;
}

bool frmMain::enterInput(InputBox box, const QString& text) {
    const auto index = static_cast<std::int16_t>(box);
    if (index < 0 || index >= InputBoxCount) {
        return false;
    }
    // Left for a moment, this box has been left now; another box stays so.
    const bool userInBox = leaving_.at(std::size_t(index))->userIsIn();
    leaving_.at(std::size_t(index))->forgetMoment();
    // SavedText belongs to the box the user is in: a refusal here gives back
    // this box's text, and that box keeps its own for when it is left.
    const std::string focusText = state_.SavedText;
    if (!userInBox) {
        state_.SavedText = input(box)->text().toStdString();
    }
    input(box)->setText(text);
    const bool committed = txtInput_LostFocus(index);
    state_.SavedText = focusText;
    return committed;
}

// Parses, checks and stores the box's text and writes the stored value back
// in normal form; false, with nothing stored, if the text cannot be taken.
bool frmMain::commitInput(std::int16_t index) {
    const auto which = static_cast<InputBox>(index);
    QLineEdit* box = txtInput.at(index);
    const QLocale locale = this->locale();
    if (which == InputBox::SectionCount) {
        const std::optional<std::int16_t> count = TextToInteger16(box->text(), locale);
        if (!count) {
            return false;
        }
        state_.SectionCount = std::clamp<std::int16_t>(*count, 1, MaxSections);
        box->setText(NumberToText(state_.SectionCount, locale));
        return true;
    }
    // Gradients are typed in degrees and kept in radians. Refused as out of
    // range: a conversion that overflows (beyond about 5.7E307 degrees), and a
    // value so near the largest double that its 15-digit text rounds beyond it.
    const bool isGradient = which == InputBox::StartGradient || which == InputBox::EndGradient;
    const std::optional<TypedNumber> number =
        isGradient ? ReadTypedNumber(box->text(), locale, DegreesToRadians, RadiansToDegrees)
                   : ReadTypedNumber(box->text(), locale);
    if (!number || (which == InputBox::Length && number->kept < 0)) {
        return false;
    }
    double& field = which == InputBox::Length          ? state_.TrackLength
                    : which == InputBox::StartHeight   ? state_.SectionHeight.at(1)
                    : which == InputBox::StartGradient ? state_.StartGradient
                                                       : state_.EndGradient;
    field = number->kept;
    box->setText(number->shown);
    return true;
}

} // namespace pendrio
