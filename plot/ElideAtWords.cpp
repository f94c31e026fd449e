#include "plot/ElideAtWords.h"

#include <QFontMetricsF>
#include <QStringList>

namespace pendrio {

QString ElideAtWords(const QString& line, const QFontMetricsF& metrics, double width) {
    const QString ellipsis = QStringLiteral("…");
    if (metrics.horizontalAdvance(line) <= width) {
        return line;
    }
    // The longest run of whole words that leaves room for the ellipsis; the
    // words are counted, so this ends after at most one step per space.
    const QStringList words = line.split(u' ');
    QString fitting;
    for (qsizetype count = 1; count < words.size(); ++count) {
        const QString candidate = words.mid(0, count).join(u' ');
        if (metrics.horizontalAdvance(candidate + u' ' + ellipsis) > width) {
            break;
        }
        fitting = candidate;
    }
    return fitting.isEmpty() ? ellipsis : fitting + u' ' + ellipsis;
}

} // namespace pendrio
