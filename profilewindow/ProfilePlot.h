// The height profile of the last calculation, drawn by hand with QPainter:
// the curve from each section's own parabola, the section boundaries, the
// section on display in the main window highlighted, readable 1-2-5 ticks on
// both axes, and the heights exaggerated so that a gentle curve shows. The
// same drawing goes to the screen and, through paintPlot(), to SVG and PNG.
//
// Pointing shows the distance, height and gradient there; a click, or the
// arrow keys, Home and End, ask for a section through sectionChosen().
#pragma once

#include "profile/ProfileCurve.h"
#include "profile/ProfileState.h"
#include "text/CurveFactsText.h"

#include <QPainterPath>
#include <QPointF>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

namespace pendrio {

class ProfilePlot : public QWidget {
    Q_OBJECT

public:
    explicit ProfilePlot(const ProfileState& profile, QWidget* parent = nullptr);

    // The profile has changed: sample the curve anew and highlight `section`.
    void refresh(int section);
    // The section to highlight; none outside 1..SectionCount.
    void setHighlightedSection(int section);
    int highlightedSection() const { return highlighted_; }

    // The unit of the axes, and the one the readout leads with. Metres read
    // at a glance; track units are what the table and the track editor use.
    void setUnit(LengthUnit unit);
    LengthUnit unit() const { return unit_; }

    // What the highlight shows, in words, for screen readers and tests.
    QString highlightedSectionText() const;
    // What pointing at the curve shows; empty when the pointer is elsewhere.
    QString hoverText() const;

    // What the axes say as drawn now: the tick labels of each, left to right
    // and bottom to top, and the vertical scale. None when nothing is drawn.
    struct AxesText {
        QStringList distances;
        QStringList heights;
        QString scale;
    };
    std::optional<AxesText> axesText() const;

    // The curve as drawn: (distance, height) in track units, finite, within
    // the stretch, never more than MaxSamples points for any profile.
    static constexpr int MaxSamples = 1024 + MaxSections;
    const std::vector<QPointF>& samples() const { return samples_; }

    // Draws the curve into `area` of any paint device, dark on light, with
    // the `caption` lines below it: what a file shows, so none of the
    // window's state (the highlighted section, the pointer, the focus).
    void paintPlot(QPainter& painter, const QRectF& area, const QStringList& caption = {}) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void sectionChosen(int section);
    // The highlight, and with it the description screen readers read, changed.
    void highlightChanged(int section);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Mapping;
    struct Colours;
    // The ticks (in the unit shown) and what the axes say.
    struct Axes {
        std::vector<double> distances;
        std::vector<double> heights;
        AxesText text;
    };
    Axes axesFor(const Mapping& m) const;
    std::optional<Mapping> mappingFor(const QRectF& area, int captionLines) const;
    void highlight(int section);
    bool hasHighlight() const;

    // paintInto draws the layers below in this order, each clipped to its place.
    void paintInto(QPainter& painter, const QRectF& area, const QStringList& caption,
                   const Colours& colours, bool interactive) const;
    void paintBand(QPainter& painter, const Mapping& m, const Colours& colours) const;
    void paintGridAndTicks(QPainter& painter, const QRectF& area, const Mapping& m,
                           const Axes& axes, const Colours& colours) const;
    void paintBoundaries(QPainter& painter, const Mapping& m, const Colours& colours) const;
    void paintCurve(QPainter& painter, const Mapping& m, const Colours& colours) const;
    void paintHighlight(QPainter& painter, const Mapping& m, const Colours& colours) const;
    void paintHoverMark(QPainter& painter, const Mapping& m, const Colours& colours) const;
    void paintFrameAndTitles(QPainter& painter, const QRectF& area, const Mapping& m,
                             const Axes& axes, const Colours& colours) const;
    void paintHoverText(QPainter& painter, const QRectF& area, const Colours& colours) const;
    void paintCaption(QPainter& painter, const QRectF& area, const QStringList& caption,
                      const Colours& colours) const;
    QPainterPath curvePath(const Mapping& m, std::size_t first, std::size_t last) const;
    std::optional<ProfilePoint> pointUnder(const QPointF& position) const;
    QString numberText(double value, int significant = 6) const;
    // Track units per unit shown on the axes.
    double unitLength() const;
    QString unitName() const;

    const ProfileState& profile_;
    std::vector<QPointF> samples_;            // (distance, height) along the curve
    std::vector<std::size_t> sectionSamples_; // first sample of section i at i - 1
    double lowest_ = 0;
    double highest_ = 0;
    bool drawable_ = false;
    int highlighted_ = 0;
    LengthUnit unit_ = LengthUnit::Metres;
    std::optional<ProfilePoint> hover_;
};

} // namespace pendrio
