#include "plot/ProfilePainter.h"

#include "plot/ElideAtWords.h"
#include "plot/PlotGeometry.h"
#include "profile/ProfileCurve.h"
#include "text/NumberText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pendrio {

namespace {

constexpr int SamplesPerPlot = 1024;    // enough for a smooth curve at any width
constexpr int MinSamplesPerSection = 4; // a section's bend shows even at 256 sections

// The look of the plot, in pixels at the device's scale.
constexpr double Gap = 4; // between the box, its labels and titles
constexpr double PixelsPerDistanceTick = 90;
constexpr double PixelsPerHeightTick = 40;
constexpr double DistanceLabelWidth = 120;  // centred on its tick
constexpr double PixelsPerBoundaryLine = 6; // narrower sections get marks only
constexpr double BoundaryMarkHalf = 5;      // the mark across the curve
constexpr double CurveWidth = 1.5;
constexpr double MinBoxSide = 20;

// Every sample of the curve, however many sections: at most SamplesPerPlot
// for the sections plus each one's closing sample.
static_assert(MinSamplesPerSection * MaxSections <= SamplesPerPlot &&
              ProfilePainter::MaxSamples == SamplesPerPlot + MaxSections);

// A fraction of the box that the painter can take: a point a thousand boxes
// away is as invisible as one at infinity (or NaN), and stays finite.
double onPaper(double fraction) {
    return std::fmin(std::fmax(fraction, -1000.0), 1000.0);
}

} // namespace

double DrawnHeight(double height) {
    const double largest = std::numeric_limits<double>::max();
    return std::isnan(height) ? 0.0 : std::clamp(height, -largest, largest);
}

PlotColours PlotColours::of(const QPalette& palette) {
    return {palette.color(QPalette::Base),         palette.color(QPalette::Text),
            palette.color(QPalette::Mid).lighter(130), palette.color(QPalette::Mid),
            palette.color(QPalette::Text),         palette.color(QPalette::Highlight)};
}

PlotColours PlotColours::forFiles() {
    return {Qt::white, Qt::black, QColor(220, 220, 220), QColor(150, 150, 150),
            Qt::black, QColor(48, 140, 198)};
}

QPointF PlotMapping::toPixels(double distance, double height) const {
    // In halves, so that a box from -1.7E308 to 1.7E308 has a finite height.
    const double up = (height / 2 - low / 2) / (high / 2 - low / 2);
    const double across = distance / length;
    return {box.left() + onPaper(across) * box.width(), box.bottom() - onPaper(up) * box.height()};
}

double PlotMapping::distanceAt(double x) const {
    return (x - box.left()) / box.width() * length;
}

ProfilePainter::ProfilePainter(const ProfileState& profile) : profile_(profile) {
    const int n = CalculatedSectionCount(profile_);
    const int perSection = n > 0 ? std::max(MinSamplesPerSection, SamplesPerPlot / n) : 0;
    samples_.reserve(std::size_t(n) * std::size_t(perSection + 1));
    for (int i = 1; i <= n; ++i) {
        sectionSamples_.push_back(samples_.size());
        const double start = SectionStart(profile_, i);
        for (int j = 0; j <= perSection; ++j) {
            const double t = double(j) / perSection;
            // Never past the end: near the largest double the sum may round up to infinity.
            samples_.emplace_back(
                std::min(start + t * profile_.SectionLength, profile_.TrackLength),
                DrawnHeight(SectionHeightAt(profile_, i, t)));
        }
    }
    sectionSamples_.push_back(samples_.size());
    // Any calculated curve can be drawn: HeightAxisFor takes any finite heights.
    drawable_ =
        !samples_.empty() && std::isfinite(profile_.TrackLength) && profile_.TrackLength > 0;
    if (drawable_) {
        const auto [low, high] =
            std::minmax_element(samples_.begin(), samples_.end(),
                                [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        lowest_ = low->y();
        highest_ = high->y();
    }
}

double ProfilePainter::unitLength() const {
    return unit_ == LengthUnit::Metres ? UnitsPerMetre : 1.0;
}

QString ProfilePainter::unitName() const {
    return unit_ == LengthUnit::Metres ? tr("m") : tr("track units");
}

std::optional<PlotMapping> ProfilePainter::mappingFor(const QRectF& area, int captionLines) const {
    if (!drawable_) {
        return std::nullopt;
    }
    const QFontMetricsF metrics(font_);
    const double line = metrics.height();
    PlotMapping m;
    // Room for the height labels at the left, the readout and the titles
    // above, half a distance label at the right, and below the distance labels,
    // their title and the caption.
    m.box = area.adjusted(metrics.horizontalAdvance(QStringLiteral("-8888888888")) + 2 * Gap,
                          2 * line + 2 * Gap, -metrics.horizontalAdvance(QStringLiteral("8888")),
                          -(2 * line + 2 * Gap + 2 + captionLines * line));
    if (m.box.width() < MinBoxSide || m.box.height() < MinBoxSide) {
        return std::nullopt;
    }
    m.length = profile_.TrackLength;
    const HeightAxis heights =
        HeightAxisFor(lowest_, highest_, m.length, m.box.width(), m.box.height());
    // A box flatter than the drawing holds it in its middle, at the same scale.
    const double spare = m.box.width() - heights.width;
    m.box.adjust(spare / 2, 0, -spare / 2, 0);
    m.low = heights.low;
    m.high = heights.high;
    m.exaggeration = heights.exaggeration;
    return m;
}

// Draws the layers in this order, each clipped to its place.
void ProfilePainter::paint(QPainter& painter, const QRectF& area, const PlotColours& colours,
                           const QStringList& caption, const Layers& layers) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font_);
    painter.fillRect(area, colours.background);
    if (const std::optional<PlotMapping> mapping = mappingFor(area, int(caption.size()))) {
        const PlotMapping& m = *mapping;
        if (layers.behind) {
            layers.behind(painter, m);
        }
        const Axes axes = axesFor(m);
        paintGridAndTicks(painter, area, m, axes, colours);
        paintBoundaries(painter, m, colours);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colours.curve, CurveWidth));
        painter.drawPath(curvePath(m, 0, samples_.size()));
        if (layers.overCurve) {
            layers.overCurve(painter, m);
        }
        paintFrameAndTitles(painter, area, m, axes, colours);
        if (layers.above) {
            layers.above(painter, area);
        }
    } else {
        painter.setPen(colours.text);
        painter.drawText(area, Qt::AlignCenter,
                         drawable_ ? tr("Too little room to draw the profile")
                                   : tr("No calculated profile to draw"));
    }
    paintCaption(painter, area, caption, colours);
    painter.restore();
}

ProfilePainter::Axes ProfilePainter::axesFor(const PlotMapping& m) const {
    // Ticks fall on round numbers of the unit shown; positions stay in track units.
    const double unit = unitLength();
    const double length = profile_.TrackLength / unit;
    const int distanceSteps = std::max(2, int(m.box.width() / PixelsPerDistanceTick));
    Axes axes;
    axes.distances = AxisTicks(0, length, distanceSteps);
    axes.text.distances =
        AxisLabels(axes.distances, AxisDecimals(0, length, distanceSteps), locale_);
    const double low = m.low / unit;
    const double high = m.high / unit;
    const int heightSteps = std::max(2, int(m.box.height() / PixelsPerHeightTick));
    axes.heights = AxisTicks(low, high, heightSteps);
    axes.text.heights = AxisLabels(axes.heights, AxisDecimals(low, high, heightSteps), locale_);
    axes.text.scale = scaleText(m.exaggeration);
    return axes;
}

// Only beyond the double range is the factor no 1-2-5 number; one too small
// to write is left unsaid rather than shown as ×0.
QString ProfilePainter::scaleText(double exaggeration) const {
    const QString factor = NumberToText(exaggeration, locale_);
    return exaggeration == 1  ? tr("True scale: heights as distances")
           : exaggeration > 1 ? tr("Heights exaggerated ×%1").arg(factor)
           : factor != u'0'   ? tr("Heights drawn ×%1").arg(factor)
                              : QString();
}

std::optional<AxesText> ProfilePainter::axesText(const QRectF& area) const {
    const std::optional<PlotMapping> m = mappingFor(area);
    if (!m) {
        return std::nullopt;
    }
    return axesFor(*m).text;
}

void ProfilePainter::paintGridAndTicks(QPainter& painter, const QRectF& area,
                                       const PlotMapping& m, const Axes& axes,
                                       const PlotColours& colours) const {
    const double line = QFontMetricsF(font_).height();
    const double unit = unitLength();
    painter.setClipRect(area);
    for (std::size_t k = 0; k < axes.distances.size(); ++k) {
        const double px = m.toPixels(axes.distances[k] * unit, 0).x();
        painter.setPen(colours.grid);
        painter.drawLine(QPointF(px, m.box.top()), QPointF(px, m.box.bottom()));
        painter.setPen(colours.text);
        painter.drawText(
            QRectF(px - DistanceLabelWidth / 2, m.box.bottom() + 2, DistanceLabelWidth, line),
            Qt::AlignHCenter, axes.text.distances[qsizetype(k)]);
    }
    for (std::size_t k = 0; k < axes.heights.size(); ++k) {
        const double py = m.toPixels(0, axes.heights[k] * unit).y();
        painter.setPen(colours.grid);
        painter.drawLine(QPointF(m.box.left(), py), QPointF(m.box.right(), py));
        painter.setPen(colours.text);
        painter.drawText(QRectF(area.left(), py - line / 2, m.box.left() - area.left() - Gap, line),
                         Qt::AlignRight | Qt::AlignVCenter, axes.text.heights[qsizetype(k)]);
    }
}

// Lines where there is room for them, marks on the curve always.
void ProfilePainter::paintBoundaries(QPainter& painter, const PlotMapping& m,
                                     const PlotColours& colours) const {
    const int n = CalculatedSectionCount(profile_);
    painter.setClipRect(m.box.adjusted(-1, -1, 1, 1));
    const bool roomForLines = m.box.width() / std::max(n, 1) >= PixelsPerBoundaryLine;
    for (int i = 2; i <= n; ++i) {
        const QPointF& sample = samples_[sectionSamples_[std::size_t(i - 1)]];
        const QPointF at = m.toPixels(sample.x(), sample.y());
        if (roomForLines) {
            painter.setPen(QPen(colours.boundary, 1, Qt::DotLine));
            painter.drawLine(QPointF(at.x(), m.box.top()), QPointF(at.x(), m.box.bottom()));
        }
        painter.setPen(QPen(colours.text, 1));
        painter.drawLine(at - QPointF(0, BoundaryMarkHalf), at + QPointF(0, BoundaryMarkHalf));
    }
}

QPainterPath ProfilePainter::curvePath(const PlotMapping& m, std::size_t first,
                                       std::size_t last) const {
    QPainterPath path(m.toPixels(samples_[first].x(), samples_[first].y()));
    for (std::size_t k = first + 1; k < last; ++k) {
        path.lineTo(m.toPixels(samples_[k].x(), samples_[k].y()));
    }
    return path;
}

QPainterPath ProfilePainter::sectionPath(const PlotMapping& m, int section) const {
    if (section < 1 || std::size_t(section) >= sectionSamples_.size()) {
        return {};
    }
    return curvePath(m, sectionSamples_[std::size_t(section - 1)],
                     sectionSamples_[std::size_t(section)]);
}

// The frame, the axis titles and the exaggeration above the box's right end.
void ProfilePainter::paintFrameAndTitles(QPainter& painter, const QRectF& area,
                                         const PlotMapping& m, const Axes& axes,
                                         const PlotColours& colours) const {
    const QFontMetricsF metrics(font_);
    const double line = metrics.height();
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(colours.text);
    painter.drawRect(m.box);
    // Centred under the box where it fits, else from the plot's left edge.
    const QString distanceTitle = ElideAtWords(tr("Distance from the start [%1]").arg(unitName()),
                                               metrics, area.width() - 4 * Gap);
    const double titleWidth = metrics.horizontalAdvance(distanceTitle);
    const double titleLeft = std::max(area.left() + 2 * Gap, m.box.center().x() - titleWidth / 2);
    painter.drawText(QRectF(titleLeft, m.box.bottom() + line + Gap, titleWidth + 1, line),
                     Qt::AlignLeft, distanceTitle);
    const QRectF titleRow(area.left() + 2 * Gap, m.box.top() - line - Gap, m.box.width(), line);
    const QString heightTitle = tr("Height [%1]").arg(unitName());
    painter.drawText(titleRow, Qt::AlignLeft, heightTitle);
    // In the room the height title leaves; cut after a whole word, never over it.
    const double scaleLeft = titleRow.left() + metrics.horizontalAdvance(heightTitle) + 2 * Gap;
    const double scaleWidth = m.box.right() - scaleLeft;
    if (scaleWidth > 0) {
        painter.drawText(QRectF(scaleLeft, titleRow.top(), scaleWidth, line), Qt::AlignRight,
                         ElideAtWords(axes.text.scale, metrics, scaleWidth));
    }
}

void ProfilePainter::paintCaption(QPainter& painter, const QRectF& area,
                                  const QStringList& caption, const PlotColours& colours) const {
    if (caption.isEmpty()) {
        return;
    }
    const double line = QFontMetricsF(font_).height();
    painter.setPen(colours.text);
    const QRectF captionArea(area.left() + 2 * Gap, area.bottom() - caption.size() * line - Gap,
                             area.width() - 4 * Gap, caption.size() * line);
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignTop, caption.join(u'\n'));
}

} // namespace pendrio
