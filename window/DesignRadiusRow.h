// Design from a vertical radius, one line under the curve facts: planners pick
// the smallest vertical radius their line allows and need the length that
// gives it. "Length for a vertical radius of [ ] m", the length for the main
// window's gradients as committed there, and "Use this length", which enters
// it into the main window's Length box as if typed there; "Calculate" stays
// the user's to press.
//
// The radius box reads numbers as the main window's boxes do. The length
// follows its text while it is typed; the text is taken when the box loses the
// focus or on Enter: written back in normal form, or refused with a beep and
// the text it had before. An empty box asks for nothing and is not refused.
#pragma once

#include "profile/ProfileState.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pendrio {

class DesignRadiusRow : public QWidget {
    Q_OBJECT

public:
    // What the row needs of the main window.
    struct MainWindow {
        const ProfileState& inputs; // the gradients as committed in their boxes
        std::function<void()> beep;
        // Enters the text into the Length box as if the user had typed it
        // there and left the box.
        std::function<void(const QString&)> enterLength;
    };

    explicit DesignRadiusRow(MainWindow main, QWidget* parent = nullptr);

    // The main window's gradients may have changed: the length follows.
    void refresh();

    // Puts the row's controls after `previous` in the window's tab order and
    // returns the last of them.
    QWidget* setTabOrderAfter(QWidget* previous);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeRadius();
    void showLength();

    MainWindow main_;
    QLineEdit* radiusBox_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    QPushButton* useButton_ = nullptr;
    QString takenText_;            // the box's text when last taken
    std::optional<double> length_; // track units, for the text on show
};

} // namespace pendrio
