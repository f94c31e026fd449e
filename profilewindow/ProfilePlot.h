// The plot of the profile window: the profile drawn by its ProfilePainter,
// with what only a screen shows added on top: the section on display in the
// main window highlighted, the distance, height and gradient under the
// pointer, and the focus. A click, or the arrow keys, Home and End, ask for a
// section through sectionChosen().
#pragma once

#include "plot/ProfilePainter.h"
#include "profile/ProfileCurve.h"
#include "profile/ProfileState.h"
#include "text/CurveFactsText.h"

#include <QWidget>

#include <optional>

namespace pendrio {

class ProfilePlot : public QWidget {
    Q_OBJECT

public:
    // `profile` is the window's copy of the calculation, which refresh() reads.
    explicit ProfilePlot(const ProfileState& profile, QWidget* parent = nullptr);

    // The profile has changed: draw it anew and highlight `section`.
    void refresh(int section);
    // The section to highlight; none outside 1..SectionCount.
    void setHighlightedSection(int section);
    int highlightedSection() const { return highlighted_; }

    // The unit of the axes, and the one the readout leads with. Metres read
    // at a glance; track units are what the table and the track editor use.
    void setUnit(LengthUnit unit);
    LengthUnit unit() const { return painter_.unit(); }

    // What the highlight shows, in words, for screen readers and tests.
    QString highlightedSectionText() const;
    // What pointing at the curve shows; empty when the pointer is elsewhere.
    QString hoverText() const;
    // What the axes say as drawn now; none when nothing is drawn.
    std::optional<AxesText> axesText() const;

    // The drawing as it stands, in the widget's locale and font: what a file
    // of the plot draws through, as a copy.
    const ProfilePainter& painter() const { return painter_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void sectionChosen(int section);
    // The highlight, and with it the description screen readers read, changed.
    void highlightChanged(int section);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void highlight(int section);
    bool hasHighlight() const;
    ProfilePainter::Layers screenLayers(const PlotColours& colours) const;
    void paintBand(QPainter& painter, const PlotMapping& m, const PlotColours& colours) const;
    void paintHighlight(QPainter& painter, const PlotMapping& m, const PlotColours& colours) const;
    void paintHover(QPainter& painter, const PlotMapping& m, const PlotColours& colours) const;
    void paintHoverText(QPainter& painter, const QRectF& area, const PlotColours& colours) const;
    std::optional<ProfilePoint> pointUnder(const QPointF& position) const;
    QString numberText(double value, int significant = 6) const;

    const ProfileState& profile_;
    ProfilePainter painter_;
    int highlighted_ = 0;
    std::optional<ProfilePoint> hover_;
};

} // namespace pendrio
