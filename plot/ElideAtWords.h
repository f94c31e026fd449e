// Cutting a line of text to a width after a whole word, so that a number is
// never cut in its middle: for the plot's titles and for labels.
#pragma once

#include <QString>

class QFontMetricsF;

namespace pendrio {

// `line` as it fits into `width` pixels: whole, or the words that fit followed
// by "…", or "…" alone when not even the first word fits. Words are what
// spaces separate.
QString ElideAtWords(const QString& line, const QFontMetricsF& metrics, double width);

} // namespace pendrio
