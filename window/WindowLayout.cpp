#include "window/WindowLayout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace pendrio {

namespace {

using K = ControlKind;
using A = TextAlign;
// Captions and box names are marked for translation in the main window's
// context (TranslationContext); CaptionOf translates them.

// clang-format off
constexpr ControlSpec kControls[] = {
//   name                  kind         caption                                left  top   width height tab frame align     visible ticked enabled box name
    {"txtInput(0)",        K::TextBox,  "1968504",                             240,  120,  1575, 285,  1,  false, A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Length")},
    {"txtInput(1)",        K::TextBox,  "0",                                   240,  480,  1575, 285,  2,  false, A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Height at start")},
    {"txtInput(2)",        K::TextBox,  "0",                                   240,  840,  1575, 285,  3,  false, A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Start gradient")},
    {"txtInput(3)",        K::TextBox,  "0",                                   240,  1200, 1575, 285,  4,  false, A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "End gradient")},
    {"txtInput(4)",        K::TextBox,  "1",                                   240,  1560, 1575, 285,  5,  false, A::Right,  true,  false, false, QT_TRANSLATE_NOOP("pendrio::frmMain", "No. of sections")},
    {"lblLength",          K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Length"),                           1920, 160,  1095, 255,  19, false, A::Left,   true,  false, true,  nullptr},
    {"lblStartH",          K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Height at start"),                  1920, 520,  1095, 255,  18, false, A::Left,   true,  false, true,  nullptr},
    {"lblGradStart",       K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Start gradient"),                   1920, 880,  1095, 255,  17, false, A::Left,   true,  false, true,  nullptr},
    {"lblEndGrad",         K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "End gradient"),                     1920, 1240, 1095, 255,  16, false, A::Left,   true,  false, true,  nullptr},
    {"lblSections",        K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "No. of sections"),                  1920, 1600, 1215, 255,  15, false, A::Left,   true,  false, true,  nullptr},
    {"chkOnTop",           K::CheckBox, QT_TRANSLATE_NOOP("pendrio::frmMain", "Always on top"),                    3240, 160,  1335, 195,  6,  false, A::Left,   true,  false, true,  nullptr},
    {"chkOutputFormat",    K::CheckBox, QT_TRANSLATE_NOOP("pendrio::frmMain", "Output in [m]"),                    3240, 520,  1335, 195,  7,  false, A::Left,   false, false, true,  nullptr},
    {"chkAutomatic",       K::CheckBox, QT_TRANSLATE_NOOP("pendrio::frmMain", "Auto-tile"),                        3240, 880,  975,  195,  28, false, A::Left,   false, true,  true,  nullptr},
    {"cmdCalculate",       K::Button,   QT_TRANSLATE_NOOP("pendrio::frmMain", "Calculate"),                        3240, 1200, 1335, 615,  29, false, A::Left,   true,  false, true,  nullptr},
    {"frmCalc",            K::Frame,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Calculated stuff - Don't edit!"),   120,  1920, 4455, 2895, 0,  false, A::Left,   true,  false, true,  nullptr},
    {"txtSectionLength",   K::TextBox,  "0",                                   120,  240,  1575, 285,  10, true,  A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Section length")},
    {"txtCoeff2",          K::TextBox,  "0",                                   120,  600,  1575, 285,  11, true,  A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "2nd order coefficient")},
    {"txtCoeff1",          K::TextBox,  "0",                                   120,  960,  1575, 285,  12, true,  A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "1st order coefficient")},
    {"txtCoeff0",          K::TextBox,  "0",                                   120,  1320, 1575, 285,  13, true,  A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Height at start of section")},
    {"txtSStartGradient",  K::TextBox,  "0",                                   120,  1680, 1575, 285,  24, true,  A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Gradient at start of section")},
    {"txtSEndGradient",    K::TextBox,  "0",                                   120,  2040, 1575, 285,  25, true,  A::Right,  true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Gradient at end of section")},
    {"cmdBack",            K::Button,   QT_TRANSLATE_NOOP("pendrio::frmMain", "Previous"),                         120,  2400, 1575, 375,  8,  true,  A::Left,   true,  false, true,  nullptr},
    {"txtActualSection",   K::TextBox,  "1",                                   2040, 2440, 375,  285,  14, true,  A::Centre, true,  false, true,  QT_TRANSLATE_NOOP("pendrio::frmMain", "Section number")},
    {"cmdNext",            K::Button,   QT_TRANSLATE_NOOP("pendrio::frmMain", "Next"),                             2760, 2400, 1575, 375,  9,  true,  A::Left,   true,  false, true,  nullptr},
    {"lblSectionLength",   K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Section length"),                   1800, 280,  2535, 255,  20, true,  A::Left,   true,  false, true,  nullptr},
    {"lbl2ndCoeff",        K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "2nd order coefficient"),            1800, 640,  2535, 255,  21, true,  A::Left,   true,  false, true,  nullptr},
    {"lbl1stCoeff",        K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "1st order coefficient"),            1800, 1000, 2535, 255,  22, true,  A::Left,   true,  false, true,  nullptr},
    {"lblHeight",          K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Height at start of section"),       1800, 1360, 2535, 255,  23, true,  A::Left,   true,  false, true,  nullptr},
    {"lblSStartGradient",  K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Gradient at start of section"),     1800, 1720, 2535, 255,  26, true,  A::Left,   true,  false, true,  nullptr},
    {"lblSEndGradient",    K::Label,    QT_TRANSLATE_NOOP("pendrio::frmMain", "Gradient at end of section"),       1800, 2080, 2535, 255,  27, true,  A::Left,   true,  false, true,  nullptr},
};
// clang-format on

} // namespace

std::span<const ControlSpec> Controls() {
    return kControls;
}

QString CaptionOf(const ControlSpec& control) {
    // A text box's initial text is a number, the same in every language.
    return control.kind == ControlKind::TextBox
               ? QString::fromUtf8(control.caption)
               : QCoreApplication::translate(TranslationContext, control.caption);
}

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

namespace {

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
    const QString caption = CaptionOf(entry);
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
        box->setAccessibleName(QCoreApplication::translate(TranslationContext, entry.boxName));
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
        const int text = metrics.horizontalAdvance(CaptionOf(entry));
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

namespace {

// Every control of the table made on `window`, each where its row puts it,
// and the Tab cycle in the table's order.
std::vector<QWidget*> createControls(QWidget& window, double scale) {
    // The frame first, so that the controls inside it have their container.
    QWidget* frame = createControl(Control(QLatin1String(FrameName)), &window);
    frame->setGeometry(ControlRect(Control(QLatin1String(FrameName)), scale));
    std::vector<QWidget*> made;
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec& entry : Controls()) {
        QWidget* widget = frame;
        if (entry.kind != ControlKind::Frame) {
            widget = createControl(entry, entry.inFrame ? frame : &window);
            widget->setGeometry(ControlRect(entry, scale));
        }
        made.push_back(widget);
        if (widget->focusPolicy() != Qt::NoFocus) {
            tabOrder.emplace_back(entry.tabIndex, widget);
        }
    }
    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
    return made;
}

} // namespace

MainControls BuildControls(QWidget& window) {
    MainControls built;
    built.layoutScale_ = fittingScale(window);
    window.setFixedSize(TwipsToPixels(ClientWidthTwips, built.layoutScale_),
                        TwipsToPixels(ClientHeightTwips, built.layoutScale_));
    const std::vector<QWidget*> made = createControls(window, built.layoutScale_);
    // Each made control into its field, by its row's name and its type.
    const auto rows = Controls();
    const auto put = [&](const char* name, auto*& field) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (qstrcmp(rows[i].name, name) == 0) {
                field = qobject_cast<std::remove_reference_t<decltype(*field)>*>(made[i]);
            }
        }
    };
    const char* const inputs[] = {"txtInput(0)", "txtInput(1)", "txtInput(2)", "txtInput(3)",
                                  "txtInput(4)"};
    for (std::size_t i = 0; i < built.txtInput.size(); ++i) {
        put(inputs[i], built.txtInput[i]);
    }
    put("frmCalc", built.frmCalc);
    put("txtSectionLength", built.txtSectionLength);
    put("txtCoeff2", built.txtCoeff2);
    put("txtCoeff1", built.txtCoeff1);
    put("txtCoeff0", built.txtCoeff0);
    put("txtSStartGradient", built.txtSStartGradient);
    put("txtSEndGradient", built.txtSEndGradient);
    put("txtActualSection", built.txtActualSection);
    put("cmdCalculate", built.cmdCalculate);
    put("cmdNext", built.cmdNext);
    put("cmdBack", built.cmdBack);
    put("chkOnTop", built.chkOnTop);
    put("chkOutputFormat", built.chkOutputFormat);
    put("chkAutomatic", built.chkAutomatic);
    return built;
}

} // namespace pendrio
