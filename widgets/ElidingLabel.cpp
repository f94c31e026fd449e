#include "widgets/ElidingLabel.h"

#include "plot/ElideAtWords.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace pendrio {

namespace {

// Wide enough for a word and the ellipsis, so that a cut line still says something.
constexpr int MinimumCharacters = 8;

} // namespace

ElidingLabel::ElidingLabel(int lines, QWidget* parent, int fewestLines)
    : QLabel(parent), lines_(lines), fewestLines_(fewestLines > 0 ? fewestLines : lines) {
    // One line sits level with the boxes beside it; more start at the top.
    setAlignment(Qt::AlignLeft | (lines == 1 ? Qt::AlignVCenter : Qt::AlignTop));
    setWordWrap(false);
    setFocusPolicy(Qt::NoFocus); // until it has text
}

void ElidingLabel::setFullText(const QString& text) {
    if (text == fullText_) {
        return;
    }
    fullText_ = text;
    setAccessibleDescription(text);
    setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    updateGeometry();
    showWhatFits();
}

QSize ElidingLabel::sizeHint() const {
    const QFontMetricsF metrics(font());
    double widest = 0;
    for (const QString& line : fullText_.split(u'\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const QMargins margins = contentsMargins();
    return {int(std::ceil(widest)) + margins.left() + margins.right(),
            QFontMetrics(font()).lineSpacing() * lines_ + margins.top() + margins.bottom()};
}

// Its height holds all its lines, or the fewest it makes do with, whatever
// they say, so that the window's minimum does not change with the text.
QSize ElidingLabel::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    const QMargins margins = contentsMargins();
    return {metrics.averageCharWidth() * MinimumCharacters + margins.left() + margins.right(),
            metrics.lineSpacing() * fewestLines_ + margins.top() + margins.bottom()};
}

void ElidingLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    showWhatFits();
}

void ElidingLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        showWhatFits();
    }
}

void ElidingLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    if (!toolTip().isEmpty()) {
        QToolTip::showText(mapToGlobal(contentsRect().bottomLeft()), toolTip(), this);
    }
}

// Where the keyboard is, as a button or a box shows it.
void ElidingLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ElidingLabel::showWhatFits() {
    const QFontMetricsF metrics(font());
    const double width = contentsRect().width();
    QStringList lines = fullText_.split(u'\n');
    // The lines there is room for; the last of them says that more follow.
    const qsizetype room =
        std::max(1, contentsRect().height() / QFontMetrics(font()).lineSpacing());
    if (lines.size() > room) {
        lines.resize(room);
        lines.back() += QStringLiteral(" …");
    }
    QStringList shown;
    for (const QString& line : lines) {
        shown << ElideAtWords(line, metrics, width);
    }
    const QString text = shown.join(u'\n');
    QLabel::setText(text);
    setToolTip(text == fullText_ ? QString() : fullText_);
}

} // namespace pendrio
