// Design from a vertical radius, one line under the curve facts: planners pick
// the smallest vertical radius their line allows and need the length that
// gives it. "Length for a vertical radius of [ ] m", the length for the
// gradients it is given (the main window's, as committed there), and "Use
// this length", which hands the length on through lengthChosen(); the main
// window takes it as if typed, and "Calculate" stays the user's to press.
//
// The radius box reads numbers as the main window's boxes do. The length
// follows its text while it is typed; the text is taken when the box loses the
// focus or on Enter: written back in normal form, or refused (entryRefused(),
// answered with the beep) and the text it had before. An empty box asks for
// nothing and is not refused.
#pragma once

#include "text/CurveFactsText.h"

#include <QString>
#include <QWidget>

#include <optional>

class QLineEdit;
class QPushButton;

namespace pendrio {

class CommitOnLeave;
class ElidingLabel;

class DesignRadiusRow : public QWidget {
    Q_OBJECT

public:
    explicit DesignRadiusRow(QWidget* parent = nullptr);

    // Puts the row's controls after `previous` in the window's tab order and
    // returns the last of them.
    QWidget* setTabOrderAfter(QWidget* previous);

public slots:
    // The gradients (radians) the length is designed for; it follows at once.
    void setGradients(double start, double end);
    // The unit the length is given in first.
    void setUnit(pendrio::LengthUnit unit);

signals:
    // "Use this length": the length in track units.
    void lengthChosen(double length);
    // A radius was refused.
    void entryRefused();

private:
    void layOut();
    void takeRadiusOnLeave();
    void showLength();

    double startGradient_ = 0;
    double endGradient_ = 0;
    LengthUnit unit_ = LengthUnit::Metres;
    QLineEdit* radiusBox_ = nullptr;
    CommitOnLeave* taking_ = nullptr;
    ElidingLabel* lengthLabel_ = nullptr;
    QPushButton* useButton_ = nullptr;
    std::optional<double> length_; // track units, for the text on show
};

} // namespace pendrio
