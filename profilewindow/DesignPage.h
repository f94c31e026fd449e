// The "Design" tab of the profile window: the length of stretch that meets a
// planner's request, in one of four ways chosen with option buttons, each
// showing only its own boxes: the smallest vertical radius; a K value; a
// design speed with the vertical acceleration allowed; a point the curve must
// pass through, by its chainage (counted from the Stations tab's "Chainage at
// start") and its height. The radius, K and speed design for the gradients of
// the calculation on show, as the rest of the window shows them; the point,
// which needs the height at start too, for the inputs as committed in the
// main window. The length, or why no curve meets the request, stands in
// lblDesignLength; "Use this length" hands the length on through
// lengthChosen(), and the main window takes it as if typed.
//
// The boxes read numbers as the main window's boxes do. The length follows
// their text while it is typed; a text is taken when its box loses the focus
// or on Enter: written back in normal form, or refused (entryRefused(),
// answered with the beep) and the text it had before. An empty box asks for
// nothing and is not refused.
#pragma once

#include "profile/ProfileState.h"
#include "text/CurveFactsText.h"
#include "text/NumberText.h"

#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace pendrio {

class CommitOnLeave;
class ElidingLabel;
struct DesignLength;

class DesignPage : public QWidget {
    Q_OBJECT

public:
    explicit DesignPage(QWidget* parent = nullptr);

    // Puts the page's controls after `previous` in the window's tab order and
    // returns the last of them.
    QWidget* setTabOrderAfter(QWidget* previous);

public slots:
    // The gradients (radians) of the calculation on show, which the radius,
    // K and speed design for.
    void setGradients(double start, double end);
    // The inputs committed in the main window, which the point designs for.
    void setInputs(const pendrio::ProfileInputs& inputs);
    // The Stations tab's "Chainage at start", in metres.
    void setStartChainage(double metres);
    // The unit the length is given in first, and the point's height is typed in.
    void setUnit(pendrio::LengthUnit unit);

signals:
    // "Use this length": the length in track units.
    void lengthChosen(double length);
    // A box refused its text.
    void entryRefused();
    // The design speed in the speed box, km/h, while it holds one; the facts
    // give the vertical acceleration at it.
    void designSpeedChanged(std::optional<double> speed);

private:
    // The boxes, in the order of the table that describes them.
    enum Box { Radius, K, Speed, Acceleration, PointChainage, PointHeight, BoxCount };

    QHBoxLayout* createWays();
    QWidget* createBoxes();
    void addBox(Box box, QHBoxLayout* row);
    QVBoxLayout* createResult();
    void showWay(int way);
    std::optional<TypedNumber> typed(Box box, const QString& text) const;
    std::optional<double> value(Box box) const;
    std::optional<DesignLength> requested() const;
    void showLength();
    void followSpeed();

    double startGradient_ = 0; // of the calculation on show
    double endGradient_ = 0;
    ProfileInputs inputs_;
    double startChainage_ = 0; // metres
    LengthUnit unit_ = LengthUnit::Metres;
    QButtonGroup* ways_ = nullptr;
    QStackedWidget* wayBoxes_ = nullptr;
    std::array<QLineEdit*, BoxCount> boxes_{};
    std::array<CommitOnLeave*, BoxCount> taking_{};
    QLabel* heightUnit_ = nullptr;
    ElidingLabel* lengthLabel_ = nullptr;
    QPushButton* useButton_ = nullptr;
    std::optional<double> length_; // track units, for the text on show
    std::optional<double> speed_;  // km/h, as last told to the facts
};

} // namespace pendrio
