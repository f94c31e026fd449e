// Text that never sets its window's size. Each line shows whole where it fits,
// else cut after its last whole word that fits, followed by "…": a number is
// never cut in the middle, and a line never wraps onto the next widget. The
// whole text is in the tooltip while any of it is cut, and always in the
// accessible description, so that nothing is lost to a narrow window. It
// takes the Tab focus while it has text, and then shows the whole of a cut
// text as its tooltip, so that a keyboard user can read it too.
#pragma once

#include <QLabel>

namespace pendrio {

class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    // `lines`: the most lines it ever shows, which is the height it asks for.
    // Given `fewestLines`, it makes do with that many at the least: where it
    // has room for fewer lines than its text, the last line it shows ends
    // with "…".
    explicit ElidingLabel(int lines, QWidget* parent = nullptr, int fewestLines = 0);

    void setFullText(const QString& text);
    const QString& fullText() const { return fullText_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showWhatFits();

    QString fullText_;
    int lines_;
    int fewestLines_;
};

} // namespace pendrio
