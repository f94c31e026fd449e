#include "profilewindow/ProfilePlot.h"

#include "profile/Transcendental.h"
#include "profilewindow/ElidingLabel.h"
#include "profilewindow/PlotGeometry.h"
#include "text/NumberText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pendrio {

namespace {

constexpr int SamplesPerPlot = 1024;    // enough for a smooth curve at any width
constexpr int MinSamplesPerSection = 4; // a section's bend shows even at 256 sections

// The look of the plot, in pixels at the widget's scale.
constexpr double Gap = 4; // between the box, its labels and titles
constexpr double PixelsPerDistanceTick = 90;
constexpr double PixelsPerHeightTick = 40;
constexpr double DistanceLabelWidth = 120;  // centred on its tick
constexpr double PixelsPerBoundaryLine = 6; // narrower sections get marks only
constexpr double BoundaryMarkHalf = 5;      // the mark across the curve
constexpr double CurveWidth = 1.5;
constexpr double HighlightWidth = 3.5;
constexpr double HoverDotRadius = 4;
constexpr int BandAlpha = 60; // the highlighted section's band behind the curve
constexpr double MinBoxSide = 20;
constexpr int MinimumWidth = 240;
constexpr double MinimumBoxHeight = 32; // two height labels beside it

// A screen reader meets the plot as a chart (not as an unnamed client area),
// named "Height profile", its description saying which section is highlighted.
QAccessibleInterface* plotAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("pendrio::ProfilePlot") || !object->isWidgetType()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
}

// Every sample of the curve, however many sections: at most SamplesPerPlot
// for the sections plus each one's closing sample.
static_assert(MinSamplesPerSection * MaxSections <= SamplesPerPlot &&
              ProfilePlot::MaxSamples == SamplesPerPlot + MaxSections);

// A height the painter can take: the parabola between two finite section
// heights may still pass beyond the double range, and is drawn at its edge.
double drawnHeight(double height) {
    const double largest = std::numeric_limits<double>::max();
    return std::isnan(height) ? 0.0 : std::clamp(height, -largest, largest);
}

} // namespace

// From data (distance, height) to pixels inside the axes' box and back. Both
// go through the fraction of each axis, never through a scale in pixels per
// track unit, which overflows for a length of 5E-324.
struct ProfilePlot::Mapping {
    QRectF box;
    double length = 1; // the distance at the box's right edge: the whole stretch
    double low = -1;   // the heights at its bottom and top edge (HeightAxisFor)
    double high = 1;
    double exaggeration = 1;

    QPointF toPixels(double distance, double height) const {
        // In halves, so that a box from -1.7E308 to 1.7E308 has a finite height.
        const double up = (height / 2 - low / 2) / (high / 2 - low / 2);
        const double across = distance / length;
        return {box.left() + onPaper(across) * box.width(),
                box.bottom() - onPaper(up) * box.height()};
    }
    // A fraction of the box that the painter can take: a point a thousand
    // boxes away is as invisible as one at infinity (or NaN), and stays finite.
    static double onPaper(double fraction) {
        return std::fmin(std::fmax(fraction, -1000.0), 1000.0);
    }
    double distanceAt(double x) const { return (x - box.left()) / box.width() * length; }
};

struct ProfilePlot::Colours {
    QColor background, text, grid, boundary, curve, highlight;
    static Colours of(const QPalette& palette) {
        QColor band = palette.color(QPalette::Highlight);
        return {palette.color(QPalette::Base),
                palette.color(QPalette::Text),
                palette.color(QPalette::Mid).lighter(130),
                palette.color(QPalette::Mid),
                palette.color(QPalette::Text),
                band};
    }
    static Colours forFiles() {
        return {Qt::white, Qt::black,           QColor(220, 220, 220), QColor(150, 150, 150),
                Qt::black, QColor(48, 140, 198)};
    }
};

ProfilePlot::ProfilePlot(const ProfileState& profile, QWidget* parent)
    : QWidget(parent), profile_(profile) {
    static const bool chartRole = (QAccessible::installFactory(plotAccessible), true);
    (void)chartRole;
    setObjectName(QStringLiteral("plotProfile"));
    setAccessibleName(tr("Height profile"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    refresh(0);
}

// Room for the box and everything around it: the title row and the readout
// above, the distance labels and title below.
QSize ProfilePlot::minimumSizeHint() const {
    const double line = QFontMetricsF(font()).height();
    return {MinimumWidth, int(std::ceil(4 * line + 4 * Gap + 2 + MinimumBoxHeight))};
}

QSize ProfilePlot::sizeHint() const {
    return {720, 340};
}

void ProfilePlot::refresh(int section) {
    const int n = CalculatedSectionCount(profile_);
    samples_.clear();
    sectionSamples_.clear();
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
                drawnHeight(SectionHeightAt(profile_, i, t)));
        }
    }
    sectionSamples_.push_back(samples_.size());
    // Any calculated curve can be drawn: HeightAxisFor takes any finite heights.
    drawable_ =
        !samples_.empty() && std::isfinite(profile_.TrackLength) && profile_.TrackLength > 0;
    lowest_ = highest_ = 0;
    if (drawable_) {
        const auto [low, high] =
            std::minmax_element(samples_.begin(), samples_.end(),
                                [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        lowest_ = low->y();
        highest_ = high->y();
    }
    hover_.reset();
    highlight(section);
}

void ProfilePlot::setHighlightedSection(int section) {
    if (section != highlighted_) {
        if (!underMouse()) {
            hover_.reset(); // the pointer went elsewhere to choose it
        }
        highlight(section);
    }
}

void ProfilePlot::highlight(int section) {
    highlighted_ = section;
    setAccessibleDescription(highlightedSectionText());
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    update();
    emit highlightChanged(section);
}

QString ProfilePlot::numberText(double value, int significant) const {
    return ShortNumberText(value, significant, locale());
}

QString ProfilePlot::highlightedSectionText() const {
    const int n = CalculatedSectionCount(profile_);
    if (highlighted_ < 1 || highlighted_ > n) {
        return tr("No section highlighted");
    }
    const int i = highlighted_;
    return tr("Section %1 of %2 highlighted: from %3 to %4, height at start %5, gradient %6° to "
              "%7°")
        .arg(i)
        .arg(n)
        .arg(LengthText(SectionStart(profile_, i), locale(), unit_),
             LengthText(SectionStart(profile_, i + 1), locale(), unit_),
             LengthText(profile_.SectionHeight.at(i), locale(), unit_),
             numberText(RadiansToDegrees(profile_.SectionStartAngle.at(i)), 4),
             numberText(RadiansToDegrees(profile_.SectionEndAngle.at(i)), 4));
}

void ProfilePlot::setUnit(LengthUnit unit) {
    unit_ = unit;
    setAccessibleDescription(highlightedSectionText());
    update();
}

double ProfilePlot::unitLength() const {
    return unit_ == LengthUnit::Metres ? UnitsPerMetre : 1.0;
}

QString ProfilePlot::unitName() const {
    return unit_ == LengthUnit::Metres ? tr("m") : tr("track units");
}

QString ProfilePlot::hoverText() const {
    if (!hover_) {
        return {};
    }
    return tr("Section %1 · distance %2 · height %3 · gradient %4° (%5 %)")
        .arg(hover_->section)
        .arg(LengthText(hover_->distance, locale(), unit_),
             LengthText(hover_->height, locale(), unit_),
             numberText(RadiansToDegrees(hover_->gradient), 4),
             numberText(Tan(hover_->gradient) * 100.0, 4));
}

std::optional<ProfilePlot::Mapping> ProfilePlot::mappingFor(const QRectF& area,
                                                            int captionLines) const {
    if (!drawable_) {
        return std::nullopt;
    }
    const QFontMetricsF metrics(font());
    const double line = metrics.height();
    Mapping m;
    // Room for the height labels at the left, the hover readout and the titles
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

void ProfilePlot::paintPlot(QPainter& painter, const QRectF& area,
                            const QStringList& caption) const {
    paintInto(painter, area, caption, Colours::forFiles(), false);
}

void ProfilePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintInto(painter, rect(), {}, Colours::of(palette()), true);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ProfilePlot::paintInto(QPainter& painter, const QRectF& area, const QStringList& caption,
                            const Colours& colours, bool interactive) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    painter.fillRect(area, colours.background);
    if (const std::optional<Mapping> mapping = mappingFor(area, int(caption.size()))) {
        const Mapping& m = *mapping;
        const bool hovering = interactive && hover_.has_value();
        if (interactive) {
            paintBand(painter, m, colours);
        }
        const Axes axes = axesFor(m);
        paintGridAndTicks(painter, area, m, axes, colours);
        paintBoundaries(painter, m, colours);
        paintCurve(painter, m, colours);
        if (interactive) {
            paintHighlight(painter, m, colours);
        }
        if (hovering) {
            paintHoverMark(painter, m, colours);
        }
        paintFrameAndTitles(painter, area, m, axes, colours);
        if (hovering) {
            paintHoverText(painter, area, colours);
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

bool ProfilePlot::hasHighlight() const {
    return highlighted_ >= 1 && highlighted_ <= CalculatedSectionCount(profile_);
}

// The section on display in the main window, as a band behind everything.
void ProfilePlot::paintBand(QPainter& painter, const Mapping& m, const Colours& colours) const {
    if (!hasHighlight()) {
        return;
    }
    QColor band = colours.highlight;
    band.setAlpha(BandAlpha);
    const double left = m.toPixels(SectionStart(profile_, highlighted_), 0).x();
    const double right = m.toPixels(SectionStart(profile_, highlighted_ + 1), 0).x();
    painter.fillRect(QRectF(left, m.box.top(), std::max(right - left, 1.0), m.box.height()), band);
}

ProfilePlot::Axes ProfilePlot::axesFor(const Mapping& m) const {
    // Ticks fall on round numbers of the unit shown; positions stay in track units.
    const double unit = unitLength();
    const double length = profile_.TrackLength / unit;
    const int distanceSteps = std::max(2, int(m.box.width() / PixelsPerDistanceTick));
    Axes axes;
    axes.distances = AxisTicks(0, length, distanceSteps);
    axes.text.distances =
        AxisLabels(axes.distances, AxisDecimals(0, length, distanceSteps), locale());
    const double low = m.low / unit;
    const double high = m.high / unit;
    const int heightSteps = std::max(2, int(m.box.height() / PixelsPerHeightTick));
    axes.heights = AxisTicks(low, high, heightSteps);
    axes.text.heights = AxisLabels(axes.heights, AxisDecimals(low, high, heightSteps), locale());
    // Only beyond the double range is the factor no 1-2-5 number; one too
    // small to write is left unsaid rather than shown as ×0.
    const QString factor = NumberToText(m.exaggeration, locale());
    axes.text.scale = m.exaggeration == 1  ? tr("True scale: heights as distances")
                      : m.exaggeration > 1 ? tr("Heights exaggerated ×%1").arg(factor)
                      : factor != u'0'     ? tr("Heights drawn ×%1").arg(factor)
                                           : QString();
    return axes;
}

std::optional<ProfilePlot::AxesText> ProfilePlot::axesText() const {
    const std::optional<Mapping> m = mappingFor(rect(), 0);
    if (!m) {
        return std::nullopt;
    }
    return axesFor(*m).text;
}

void ProfilePlot::paintGridAndTicks(QPainter& painter, const QRectF& area, const Mapping& m,
                                    const Axes& axes, const Colours& colours) const {
    const double line = QFontMetricsF(font()).height();
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
void ProfilePlot::paintBoundaries(QPainter& painter, const Mapping& m,
                                  const Colours& colours) const {
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

QPainterPath ProfilePlot::curvePath(const Mapping& m, std::size_t first, std::size_t last) const {
    QPainterPath path(m.toPixels(samples_[first].x(), samples_[first].y()));
    for (std::size_t k = first + 1; k < last; ++k) {
        path.lineTo(m.toPixels(samples_[k].x(), samples_[k].y()));
    }
    return path;
}

void ProfilePlot::paintCurve(QPainter& painter, const Mapping& m, const Colours& colours) const {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colours.curve, CurveWidth));
    painter.drawPath(curvePath(m, 0, samples_.size()));
}

void ProfilePlot::paintHighlight(QPainter& painter, const Mapping& m,
                                 const Colours& colours) const {
    if (!hasHighlight()) {
        return;
    }
    painter.setPen(QPen(colours.highlight, HighlightWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(curvePath(m, sectionSamples_[std::size_t(highlighted_ - 1)],
                               sectionSamples_[std::size_t(highlighted_)]));
}

void ProfilePlot::paintHoverMark(QPainter& painter, const Mapping& m,
                                 const Colours& colours) const {
    const QPointF at = m.toPixels(hover_->distance, hover_->height);
    painter.setPen(QPen(colours.boundary, 1, Qt::DashLine));
    painter.drawLine(QPointF(at.x(), m.box.top()), QPointF(at.x(), m.box.bottom()));
    painter.setPen(colours.text);
    painter.setBrush(colours.highlight);
    painter.drawEllipse(at, HoverDotRadius, HoverDotRadius);
}

// The frame, the axis titles and the exaggeration above the box's right end.
void ProfilePlot::paintFrameAndTitles(QPainter& painter, const QRectF& area, const Mapping& m,
                                      const Axes& axes, const Colours& colours) const {
    const QFontMetricsF metrics(font());
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
    const QString& scale = axes.text.scale;
    // In the room the height title leaves; cut after a whole word, never over it.
    const double scaleLeft = titleRow.left() + metrics.horizontalAdvance(heightTitle) + 2 * Gap;
    const double scaleWidth = m.box.right() - scaleLeft;
    if (scaleWidth > 0) {
        painter.drawText(QRectF(scaleLeft, titleRow.top(), scaleWidth, line), Qt::AlignRight,
                         ElideAtWords(scale, metrics, scaleWidth));
    }
}

void ProfilePlot::paintHoverText(QPainter& painter, const QRectF& area,
                                 const Colours& colours) const {
    const QFontMetricsF metrics(font());
    const QRectF row(area.left() + 2 * Gap, area.top() + 2, area.width() - 4 * Gap,
                     metrics.height());
    painter.setPen(colours.text);
    painter.drawText(row, Qt::AlignLeft, ElideAtWords(hoverText(), metrics, row.width()));
}

void ProfilePlot::paintCaption(QPainter& painter, const QRectF& area, const QStringList& caption,
                               const Colours& colours) const {
    if (caption.isEmpty()) {
        return;
    }
    const double line = QFontMetricsF(font()).height();
    painter.setPen(colours.text);
    const QRectF captionArea(area.left() + 2 * Gap, area.bottom() - caption.size() * line - Gap,
                             area.width() - 4 * Gap, caption.size() * line);
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignTop, caption.join(u'\n'));
}

std::optional<ProfilePoint> ProfilePlot::pointUnder(const QPointF& position) const {
    const std::optional<Mapping> m = mappingFor(rect(), 0);
    if (!m || !(position.x() >= m->box.left() && position.x() <= m->box.right() &&
                position.y() >= m->box.top() && position.y() <= m->box.bottom())) {
        return std::nullopt;
    }
    ProfilePoint point = ProfilePointAt(profile_, m->distanceAt(position.x()));
    point.height = drawnHeight(point.height);
    return point;
}

void ProfilePlot::mouseMoveEvent(QMouseEvent* event) {
    hover_ = pointUnder(event->position());
    update();
}

void ProfilePlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (const std::optional<ProfilePoint> point = pointUnder(event->position())) {
        emit sectionChosen(point->section);
    }
}

void ProfilePlot::leaveEvent(QEvent*) {
    hover_.reset();
    update();
}

// Hidden, the plot sees no pointer leave: the readout goes now.
void ProfilePlot::hideEvent(QHideEvent*) {
    hover_.reset();
}

void ProfilePlot::keyPressEvent(QKeyEvent* event) {
    const int n = CalculatedSectionCount(profile_);
    // Any int may be highlighted; one step beyond either end is as far out of
    // reach, and the step from it cannot overflow.
    const int current = std::clamp(highlighted_, -1, n + 2);
    int wanted = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        wanted = current - 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        wanted = current + 1;
        break;
    case Qt::Key_Home:
        wanted = 1;
        break;
    case Qt::Key_End:
        wanted = n;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (wanted >= 1 && wanted <= n && wanted != highlighted_) {
        emit sectionChosen(wanted);
    }
}

} // namespace pendrio
