// The height profile of one calculation, drawn with QPainter on any device at
// any size: the curve from each section's own parabola, the section
// boundaries, readable 1-2-5 ticks on both axes, the heights exaggerated by
// the rule of PlotGeometry.h so that a gentle curve shows, and a caption of
// the curve's facts below it. A value: the window's plot widget draws through
// one and adds the highlight and the pointer's readout as layers of its own;
// the SVG, the PNG, the report and print each draw through a copy.
#pragma once

#include "profile/ProfileState.h"
#include "text/CurveFactsText.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QLocale>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPalette;

namespace pendrio {

// A height a painter can take: the parabola between two finite section
// heights may still pass beyond the double range, and is drawn at its edge.
double DrawnHeight(double height);

struct PlotColours {
    QColor background, text, grid, boundary, curve, highlight;
    // The screen's, from a widget's palette.
    static PlotColours of(const QPalette& palette);
    // Dark on light, the same in every file whatever the desktop's colours.
    static PlotColours forFiles();
};

// From data (distance, height in track units) to pixels inside the axes' box
// and back. Both go through the fraction of each axis, never through a scale
// in pixels per track unit, which overflows for a length of 5E-324.
struct PlotMapping {
    QRectF box;
    double length = 1; // the distance at the box's right edge: the whole stretch
    double low = -1;   // the heights at its bottom and top edge (HeightAxisFor)
    double high = 1;
    double exaggeration = 1;

    QPointF toPixels(double distance, double height) const;
    double distanceAt(double x) const;
};

// What the axes say as drawn: the tick labels of each, left to right and
// bottom to top, and the vertical scale.
struct AxesText {
    QStringList distances;
    QStringList heights;
    QString scale;
};

class ProfilePainter {
    Q_DECLARE_TR_FUNCTIONS(pendrio::ProfilePainter)

public:
    // The most points the curve is drawn through, for any profile.
    static constexpr int MaxSamples = 1024 + MaxSections;

    // Nothing calculated to draw.
    ProfilePainter() = default;
    // Samples the calculated curve of `profile`, which it keeps a copy of.
    explicit ProfilePainter(const ProfileState& profile);

    const ProfileState& profile() const { return profile_; }
    // The curve as drawn: (distance, height) in track units, finite, within
    // the stretch, never more than MaxSamples points.
    const std::vector<QPointF>& samples() const { return samples_; }
    bool drawable() const { return drawable_; }

    // How it writes: the axes' unit, the numbers' locale, the font it
    // measures and draws text with.
    void setUnit(LengthUnit unit) { unit_ = unit; }
    LengthUnit unit() const { return unit_; }
    void setLocale(const QLocale& locale) { locale_ = locale; }
    void setFont(const QFont& font) { font_ = font; }
    const QFont& font() const { return font_; }

    // Where the curve lies in `area`, leaving room for `captionLines` below;
    // none when there is no curve or too little room.
    std::optional<PlotMapping> mappingFor(const QRectF& area, int captionLines = 0) const;
    std::optional<AxesText> axesText(const QRectF& area) const;

    // What a plot widget draws of its own, between the layers: behind the
    // grid, over the curve, and over everything within `area`.
    struct Layers {
        std::function<void(QPainter&, const PlotMapping&)> behind;
        std::function<void(QPainter&, const PlotMapping&)> overCurve;
        std::function<void(QPainter&, const QRectF& area)> above;
    };
    // Draws into `area`, the `caption` lines below the plot.
    void paint(QPainter& painter, const QRectF& area, const PlotColours& colours,
               const QStringList& caption = {}, const Layers& layers = {}) const;

    // The curve of `section` (1..SectionCount) in pixels.
    QPainterPath sectionPath(const PlotMapping& m, int section) const;
    // Track units per unit shown on the axes, and that unit's name.
    double unitLength() const;
    QString unitName() const;

private:
    struct Axes {
        std::vector<double> distances; // ticks in the unit shown
        std::vector<double> heights;
        AxesText text;
    };
    Axes axesFor(const PlotMapping& m) const;
    QString scaleText(double exaggeration) const;
    void paintGridAndTicks(QPainter& painter, const QRectF& area, const PlotMapping& m,
                           const Axes& axes, const PlotColours& colours) const;
    void paintBoundaries(QPainter& painter, const PlotMapping& m,
                         const PlotColours& colours) const;
    void paintFrameAndTitles(QPainter& painter, const QRectF& area, const PlotMapping& m,
                             const Axes& axes, const PlotColours& colours) const;
    void paintCaption(QPainter& painter, const QRectF& area, const QStringList& caption,
                      const PlotColours& colours) const;
    QPainterPath curvePath(const PlotMapping& m, std::size_t first, std::size_t last) const;

    ProfileState profile_;
    std::vector<QPointF> samples_;            // (distance, height) along the curve
    std::vector<std::size_t> sectionSamples_; // first sample of section i at i - 1
    double lowest_ = 0;
    double highest_ = 0;
    bool drawable_ = false;
    LengthUnit unit_ = LengthUnit::Metres;
    QLocale locale_;
    QFont font_;
};

} // namespace pendrio
