#include "frmMain.h"

#include "NumberText.h"
#include "ProfileActions.h"
#include "SessionPlatform.h"
#include "WindowAccessibility.h"
#include "WindowLayout.h"
#include "profile/CalculateProfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pendrio {

namespace {

bool isTicked(const QCheckBox* box) {
    return box->checkState() != Qt::Unchecked;
}

Qt::Alignment alignmentOf(TextAlign align) {
    switch (align) {
    case TextAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::Centre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlign::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QWidget* createControl(const ControlSpec& entry, QWidget* container) {
    const QString caption = QString::fromUtf8(entry.caption);
    QWidget* widget = nullptr;
    switch (entry.kind) {
    case ControlKind::Frame:
        widget = new QGroupBox(caption, container);
        break;
    case ControlKind::Label: {
        auto* label = new QLabel(caption, container);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(caption, container);
        box->setAlignment(alignmentOf(entry.align));
        box->setAccessibleName(QString::fromUtf8(entry.boxName));
        widget = box;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, container);
        // Enter on a focused button clicks it, as Space does. No button is
        // the window's default: outside a dialog there is none.
        button->setAutoDefault(true);
        widget = button;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(caption, container);
        box->setChecked(entry.ticked);
        widget = box;
        break;
    }
    }
    widget->setObjectName(QString::fromUtf8(entry.name));
    widget->setEnabled(entry.enabled);
    widget->setHidden(!entry.visible);
    return widget;
}

// The smallest common factor (in steps of 0.05, at least 1) by which the twip
// layout must grow so that every caption and every line of text fits the
// default font: the layout was drawn for a smaller font than desktops use now.
double fittingScale(const QWidget& window) {
    const QFontMetrics metrics(window.font());
    const QStyle* style = window.style();
    const int frameWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                          style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    const int buttonMargin = style->pixelMetric(QStyle::PM_ButtonMargin);
    double scale = 1.0;
    for (const ControlSpec& entry : Controls()) {
        const int text = metrics.horizontalAdvance(QString::fromUtf8(entry.caption));
        int width = 0;
        int height = metrics.height();
        switch (entry.kind) {
        case ControlKind::Frame:
            width = text + 4 * frameWidth + metrics.averageCharWidth() * 2;
            height = 0;
            break;
        case ControlKind::Label:
            width = text + 1;
            break;
        case ControlKind::TextBox: // the width of a box's text is the user's
            height += 2 * frameWidth + 2;
            break;
        case ControlKind::Button:
            width = text + 2 * buttonMargin;
            height += 2 * frameWidth;
            break;
        case ControlKind::CheckBox:
            width = indicator + text + 1;
            break;
        }
        const QRect atOne = ControlRect(entry, 1.0);
        scale = std::max({scale, double(width) / atOne.width(), double(height) / atOne.height()});
    }
    return std::ceil(scale * 20.0) / 20.0;
}

} // namespace

frmMain::frmMain(std::function<void()> beep, QWidget* parent)
    : QWidget(parent), beep_(std::move(beep)) {
    if (!beep_) {
        beep_ = [] { QApplication::beep(); };
    }
    setWindowTitle(QStringLiteral("Pendrio V0.0"));
    createControls();
    AdaptOnTopToPlatform(*chkOnTop, QGuiApplication::platformName().toStdString());
    ExposeToAccessibility(*this);
    wireEvents();
    Form_Load();
    txtInput[0]->setFocus(Qt::OtherFocusReason);
    profileActions_ = new ProfileActions(*this);
}

// The profile window refers to calculated_: it goes first.
frmMain::~frmMain() {
    delete profileActions_;
}

void frmMain::createControls() {
    layoutScale_ = fittingScale(*this);
    setFixedSize(TwipsToPixels(ClientWidthTwips, layoutScale_),
                 TwipsToPixels(ClientHeightTwips, layoutScale_));

    // The frame first, so that the controls inside it have their container.
    frmCalc = static_cast<QGroupBox*>(createControl(Control(FrameName), this));
    frmCalc->setGeometry(ControlRect(Control(FrameName), layoutScale_));
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec& entry : Controls()) {
        if (entry.kind == ControlKind::Frame) {
            continue;
        }
        QWidget* widget =
            createControl(entry, entry.inFrame ? static_cast<QWidget*>(frmCalc) : this);
        widget->setGeometry(ControlRect(entry, layoutScale_));
        if (widget->focusPolicy() != Qt::NoFocus) {
            tabOrder.emplace_back(entry.tabIndex, widget);
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }

    const auto box = [this](const char* name) { return findChild<QLineEdit*>(name); };
    for (std::size_t i = 0; i < txtInput.size(); ++i) {
        txtInput[i] = box(qPrintable(QStringLiteral("txtInput(%1)").arg(i)));
    }
    txtSectionLength = box("txtSectionLength");
    txtCoeff2 = box("txtCoeff2");
    txtCoeff1 = box("txtCoeff1");
    txtCoeff0 = box("txtCoeff0");
    txtSStartGradient = box("txtSStartGradient");
    txtSEndGradient = box("txtSEndGradient");
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
    txtActualSection = box("txtActualSection");
    cmdCalculate = findChild<QPushButton*>("cmdCalculate");
    cmdNext = findChild<QPushButton*>("cmdNext");
    cmdBack = findChild<QPushButton*>("cmdBack");
    chkOnTop = findChild<QCheckBox*>("chkOnTop");
    chkOutputFormat = findChild<QCheckBox*>("chkOutputFormat");
    chkAutomatic = findChild<QCheckBox*>("chkAutomatic");
}

void frmMain::wireEvents() {
    connect(cmdCalculate, &QPushButton::clicked, this, &frmMain::cmdCalculate_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
    // toggled, not clicked: a change made by code must run the handler too.
    connect(chkOnTop, &QCheckBox::toggled, this, &frmMain::chkOnTop_Click);
    connect(chkAutomatic, &QCheckBox::toggled, this, &frmMain::chkAutomatic_Click);
    connect(chkOutputFormat, &QCheckBox::toggled, this, &frmMain::chkOutputFormat_Click);
    // Every control that can take the focus is watched: the input boxes for
    // their own handlers, the others so that a postponed commit runs before
    // they act.
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (widget->focusPolicy() != Qt::NoFocus) {
            widget->installEventFilter(this);
        }
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) {
        return QWidget::eventFilter(watched, event);
    }
    const auto found = std::find(txtInput.begin(), txtInput.end(), watched);
    const int index = found == txtInput.end() ? -1 : int(found - txtInput.begin());
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // A context menu opening or the window being deactivated is not the user
    // leaving the box: half a pasted value must not be committed.
    const bool onlyForAMoment =
        reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;

    if (event->type() == QEvent::FocusOut) {
        if (index >= 0) {
            if (onlyForAMoment) {
                suspendedBox_ = index;
            } else {
                txtInput_LostFocus(static_cast<std::int16_t>(index));
            }
        }
    } else if (index >= 0 && index == suspendedBox_) {
        suspendedBox_ = -1; // back in the same box: as if it had never left
    } else {
        finishSuspendedFocus(watched);
        if (index >= 0) {
            txtInput_GotFocus(static_cast<std::int16_t>(index));
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The focus went from a box to a popup or another window and now arrives
// somewhere else: the box has been left after all, so commit it first.
void frmMain::finishSuspendedFocus(QObject* gainingFocus) {
    if (suspendedBox_ < 0 || gainingFocus == txtInput[suspendedBox_]) {
        return;
    }
    const auto index = static_cast<std::int16_t>(suspendedBox_);
    suspendedBox_ = -1;
    txtInput_LostFocus(index);
}

void frmMain::beep() const {
    beep_();
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
    }
    state_.CurrentSection = 1;
    if (calculated) {
        calculated_ = state_;
        emit profileChanged(calculated_);
    }
    ShowSection();
    for (std::size_t i = 0; i < 4; ++i) {
        txtInput[i]->setEnabled(true);
    }
    if (!isTicked(chkAutomatic)) {
        txtInput[4]->setEnabled(true);
    }
}

void frmMain::chkAutomatic_Click() {
    txtInput[4]->setEnabled(!isTicked(chkAutomatic));
    cmdCalculate_Click();
}

void frmMain::chkOnTop_Click() {
    const bool ticked = isTicked(chkOnTop);
    // On the native window: QWidget::setWindowFlags would hide and re-create
    // it, and the window manager would place it anew.
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowStaysOnTopHint, ticked);
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, ticked);
    }
}

// ---- Section display and navigation ---------------------------------------

void frmMain::ShowSection() {
    const QLocale locale = this->locale();
    const bool metres = isTicked(chkOutputFormat);
    const int i = state_.CurrentSection;
    const auto length = [&](double units) {
        return NumberToText(RoundHalfEven(metres ? units / UnitsPerMetre : units, 0), locale);
    };
    const auto degrees = [&](double radians) {
        return NumberToText(RoundHalfEven(RadiansToDegrees(radians), 3), locale);
    };
    for (const ResultBox& entry : resultBoxes_) {
        const double value = entry.value(state_, i);
        entry.box->setText(entry.isGradient ? degrees(value) : length(value));
    }
    txtActualSection->setText(NumberToText(state_.CurrentSection, locale));
    calculated_.CurrentSection = state_.CurrentSection;
    emit sectionShown(i);
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

bool frmMain::txtInput_LostFocus(std::int16_t index) {
    if (!commitInput(index)) {
        beep();
        txtInput.at(index)->setText(QString::fromStdString(state_.SavedText));
        return false;
    }
    emit inputCommitted(index);
    return true;
}

bool frmMain::enterInput(int index, const QString& text) {
    if (index < 0 || index >= int(txtInput.size())) {
        return false;
    }
    const auto box = static_cast<std::int16_t>(index);
    // Left for a moment, this box has been left now; another box stays so.
    const bool userInBox = suspendedBox_ == index || txtInput[box]->hasFocus();
    if (suspendedBox_ == index) {
        suspendedBox_ = -1;
    }
    // SavedText belongs to the box the user is in: a refusal here gives back
    // this box's text, and that box keeps its own for when it is left.
    const std::string focusText = state_.SavedText;
    if (!userInBox) {
        state_.SavedText = txtInput[box]->text().toStdString();
    }
    txtInput[box]->setText(text);
    const bool committed = txtInput_LostFocus(box);
    state_.SavedText = focusText;
    return committed;
}

// Parses, checks and stores the box's text and writes the stored value back
// in normal form; false, with nothing stored, if the text cannot be taken.
bool frmMain::commitInput(std::int16_t index) {
    QLineEdit* box = txtInput.at(index);
    const QLocale locale = this->locale();
    if (index == 4) {
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
    const bool isGradient = index >= 2;
    const std::optional<TypedNumber> number =
        isGradient ? ReadTypedNumber(box->text(), locale, DegreesToRadians, RadiansToDegrees)
                   : ReadTypedNumber(box->text(), locale);
    if (!number || (index == 0 && number->kept < 0)) {
        return false;
    }
    const double stored = number->kept;
    double& field = index == 0   ? state_.TrackLength
                    : index == 1 ? state_.SectionHeight.at(1)
                    : index == 2 ? state_.StartGradient
                                 : state_.EndGradient;
    field = stored;
    box->setText(number->shown);
    if (index == 1) { // the height at start is section 1's, shown at once
        calculated_.SectionHeight.at(1) = stored;
        emit profileChanged(calculated_);
    }
    return true;
}

} // namespace pendrio
