#include "profilewindow/ProfilePlot.h"

#include "maths/Transcendental.h"
#include "plot/ElideAtWords.h"
#include "text/NumberText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace pendrio {

namespace {

// The look of what only the screen shows, in pixels at the widget's scale.
constexpr double Gap = 4; // as the painter's, between the box and the text above it
constexpr double HighlightWidth = 3.5;
constexpr double HoverDotRadius = 4;
constexpr int BandAlpha = 60; // the highlighted section's band behind the curve
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

} // namespace

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
    const LengthUnit unit = painter_.unit();
    painter_ = ProfilePainter(profile_);
    painter_.setUnit(unit);
    painter_.setLocale(locale());
    painter_.setFont(font());
    hover_.reset();
    highlight(section);
}

// The drawing writes in the widget's locale and font, whatever sets them.
void ProfilePlot::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LocaleChange) {
        painter_.setLocale(locale());
        painter_.setFont(font());
        update();
    }
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
    const LengthUnit unit = painter_.unit();
    return tr("Section %1 of %2 highlighted: from %3 to %4, height at start %5, gradient %6° to "
              "%7°")
        .arg(i)
        .arg(n)
        .arg(LengthText(SectionStart(profile_, i), locale(), unit),
             LengthText(SectionStart(profile_, i + 1), locale(), unit),
             LengthText(profile_.SectionHeight.at(i), locale(), unit),
             numberText(RadiansToDegrees(profile_.SectionStartAngle.at(i)), 4),
             numberText(RadiansToDegrees(profile_.SectionEndAngle.at(i)), 4));
}

void ProfilePlot::setUnit(LengthUnit unit) {
    painter_.setUnit(unit);
    setAccessibleDescription(highlightedSectionText());
    update();
}

QString ProfilePlot::hoverText() const {
    if (!hover_) {
        return {};
    }
    const LengthUnit unit = painter_.unit();
    return tr("Section %1 · distance %2 · height %3 · gradient %4° (%5 %)")
        .arg(hover_->section)
        .arg(LengthText(hover_->distance, locale(), unit),
             LengthText(hover_->height, locale(), unit),
             numberText(RadiansToDegrees(hover_->gradient), 4),
             numberText(hover_->slope * 100.0, 4));
}

std::optional<AxesText> ProfilePlot::axesText() const {
    return painter_.axesText(rect());
}

void ProfilePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const PlotColours colours = PlotColours::of(palette());
    painter_.paint(painter, rect(), colours, {}, screenLayers(colours));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// The highlighted section behind the grid and over the curve, the pointer's
// mark over the curve and its readout above everything.
ProfilePainter::Layers ProfilePlot::screenLayers(const PlotColours& colours) const {
    ProfilePainter::Layers layers;
    layers.behind = [this, colours](QPainter& painter, const PlotMapping& m) {
        paintBand(painter, m, colours);
    };
    layers.overCurve = [this, colours](QPainter& painter, const PlotMapping& m) {
        paintHighlight(painter, m, colours);
        paintHover(painter, m, colours);
    };
    layers.above = [this, colours](QPainter& painter, const QRectF& area) {
        paintHoverText(painter, area, colours);
    };
    return layers;
}

bool ProfilePlot::hasHighlight() const {
    return highlighted_ >= 1 && highlighted_ <= CalculatedSectionCount(profile_);
}

// The section on display in the main window, as a band behind everything.
void ProfilePlot::paintBand(QPainter& painter, const PlotMapping& m,
                            const PlotColours& colours) const {
    if (!hasHighlight()) {
        return;
    }
    QColor band = colours.highlight;
    band.setAlpha(BandAlpha);
    const double left = m.toPixels(SectionStart(profile_, highlighted_), 0).x();
    const double right = m.toPixels(SectionStart(profile_, highlighted_ + 1), 0).x();
    painter.fillRect(QRectF(left, m.box.top(), std::max(right - left, 1.0), m.box.height()), band);
}

void ProfilePlot::paintHighlight(QPainter& painter, const PlotMapping& m,
                                 const PlotColours& colours) const {
    if (!hasHighlight()) {
        return;
    }
    painter.setPen(QPen(colours.highlight, HighlightWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(painter_.sectionPath(m, highlighted_));
}

void ProfilePlot::paintHover(QPainter& painter, const PlotMapping& m,
                             const PlotColours& colours) const {
    if (!hover_) {
        return;
    }
    const QPointF at = m.toPixels(hover_->distance, hover_->height);
    painter.setPen(QPen(colours.boundary, 1, Qt::DashLine));
    painter.drawLine(QPointF(at.x(), m.box.top()), QPointF(at.x(), m.box.bottom()));
    painter.setPen(colours.text);
    painter.setBrush(colours.highlight);
    painter.drawEllipse(at, HoverDotRadius, HoverDotRadius);
}

void ProfilePlot::paintHoverText(QPainter& painter, const QRectF& area,
                                 const PlotColours& colours) const {
    if (!hover_) {
        return;
    }
    const QFontMetricsF metrics(font());
    const QRectF row(area.left() + 2 * Gap, area.top() + 2, area.width() - 4 * Gap,
                     metrics.height());
    painter.setPen(colours.text);
    painter.drawText(row, Qt::AlignLeft, ElideAtWords(hoverText(), metrics, row.width()));
}

std::optional<ProfilePoint> ProfilePlot::pointUnder(const QPointF& position) const {
    const std::optional<PlotMapping> m = painter_.mappingFor(rect());
    if (!m || !(position.x() >= m->box.left() && position.x() <= m->box.right() &&
                position.y() >= m->box.top() && position.y() <= m->box.bottom())) {
        return std::nullopt;
    }
    ProfilePoint point = ProfilePointAt(profile_, m->distanceAt(position.x()));
    point.height = DrawnHeight(point.height); // as the curve is drawn
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
