// When the user enters a box and when the user leaves it: the one way both
// windows tell, so that a box commits its text on leaving alike everywhere.
//
// Leaving is the focus going elsewhere (Tab, Shift+Tab, a click). A context
// menu opening over the box, or another window becoming active, is not
// leaving it: half a pasted value must not be committed. The box is then left
// only once the focus arrives at another control of its window, before that
// control takes it, so that the box commits before that control acts; and it
// is not left at all when the focus comes back to it.
#pragma once

#include <QObject>

class QWidget;

namespace pendrio {

class LeaveWatch : public QObject {
    Q_OBJECT

public:
    // Watches `box`, which it belongs to.
    explicit LeaveWatch(QWidget* box);

    // The user is in the box, or left it only for a moment.
    bool userIsIn() const;
    // The box counts as left now, without left(): a moment away ends here.
    void forgetMoment();

signals:
    // The user has come into the box, and not back from a moment away.
    void entered();
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Elsewhere;
    void awayForAMoment();
    void leaveNow();

    QWidget* box_;
    Elsewhere* elsewhere_ = nullptr; // watches the program while away for a moment
};

} // namespace pendrio
