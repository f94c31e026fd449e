// A box whose text is taken when the user leaves it (as LeaveWatch tells) or
// presses Enter, as the main window's boxes take theirs: read, written back
// in its normal form and committed(); or refused(), answered with the beep,
// and the box gets back the text it last took. A box it leaves shows the
// start of its text.
//
// A box never shows a number that reads as another: where the text taken is
// too wide for the box, the box shows the same value in fewer digits (an
// exponent where that is shorter) while the user is elsewhere, with the whole
// text in its tooltip, and the whole text again once the user is back in it.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLineEdit;

namespace pendrio {

class CommitOnLeave : public QObject {
    Q_OBJECT

public:
    // The text in normal form, or none to refuse it.
    using Reader = std::function<std::optional<QString>(const QString& text)>;
    // The value of a taken text written with `significant` digits (15 down to
    // 1), for a box too narrow for the text.
    using Shortener = std::function<QString(const QString& taken, int significant)>;

    // Watches `box` (which it belongs to); its text now counts as taken.
    CommitOnLeave(QLineEdit* box, Reader read, Shortener shorten = {});

    // Takes the box's text now, as leaving it would.
    void take();

    // What the box stands for: the text being typed, or the whole text taken
    // where the box shows it shortened.
    QString text() const;

signals:
    void committed();
    void refused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTaken();
    QString fitting(const QString& text) const;

    void showWhole();

    QLineEdit* box_;
    Reader read_;
    Shortener shorten_;
    QString taken_;
    QString shown_; // what the box shows of taken_
};

} // namespace pendrio
