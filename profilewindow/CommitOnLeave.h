// A box whose text is taken when the user leaves it (Tab, a click elsewhere)
// or presses Enter, as the main window's boxes take theirs: read, written
// back in its normal form and committed(); or refused(), answered with the
// beep, and the box gets back the text it last took. A context menu or
// another window taking the focus for a moment is not leaving the box. A box
// it leaves shows the start of its text.
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

    // Watches `box` (which it belongs to); its text now counts as taken.
    CommitOnLeave(QLineEdit* box, Reader read);

    // Takes the box's text now, as leaving it would.
    void take();

signals:
    void committed();
    void refused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    Reader read_;
    QString taken_;
};

} // namespace pendrio
