#include "plot/ScaledCanvas.h"

#include <QFont>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>

#include <limits>

namespace pendrio {

namespace {

// Plots are drawn for the screen: pens in pixels, text placed with the
// screen's font metrics. A plot drawn on this device, which has the screen's
// resolution, goes on to the report's painter scaled into its box as a whole,
// so that it looks on paper as it does on the screen, in vectors and real
// text. Only fonts need care: a painter sizes a font in points for its own
// device before it scales, so each is set smaller by the scale. (A QPicture
// played back scaled would size its fonts for the page and then scale them.)
class ScaledEngine final : public QPaintEngine {
public:
    ScaledEngine(QPainter& target, double scale)
        : QPaintEngine(AllFeatures), target_(target), base_(target.transform()), scale_(scale) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    // The transform comes first: a clip is given in the coordinates of the
    // transform that comes with it.
    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyTransform) {
            target_.setTransform(state.transform() * base_);
        }
        if (dirty & DirtyPen) {
            target_.setPen(state.pen());
        }
        if (dirty & DirtyBrush) {
            target_.setBrush(state.brush());
        }
        if (dirty & DirtyBrushOrigin) {
            target_.setBrushOrigin(state.brushOrigin());
        }
        if (dirty & DirtyBackground) {
            target_.setBackground(state.backgroundBrush());
        }
        if (dirty & DirtyBackgroundMode) {
            target_.setBackgroundMode(state.backgroundMode());
        }
        if (dirty & DirtyFont) {
            target_.setFont(scaledFont(state.font()));
        }
        if (dirty & DirtyHints) {
            target_.setRenderHints(state.renderHints());
        }
        if (dirty & DirtyOpacity) {
            target_.setOpacity(state.opacity());
        }
        if (dirty & DirtyClipPath) {
            target_.setClipPath(state.clipPath(), state.clipOperation());
        }
        if (dirty & DirtyClipRegion) {
            target_.setClipRegion(state.clipRegion(), state.clipOperation());
        }
        if (dirty & DirtyClipEnabled) {
            target_.setClipping(state.isClipEnabled());
        }
    }

    void drawPath(const QPainterPath& path) override { target_.drawPath(path); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        switch (mode) {
        case PolylineMode:
            target_.drawPolyline(points, count);
            break;
        case ConvexMode:
            target_.drawConvexPolygon(points, count);
            break;
        case OddEvenMode:
        case WindingMode:
            target_.drawPolygon(points, count,
                                mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
            break;
        }
    }
    void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override {
        target_.drawPixmap(rect, pixmap, source);
    }
    void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override {
        target_.drawImage(rect, image, source, flags);
    }
    void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
        target_.setFont(scaledFont(item.font()));
        target_.drawText(baseline, item.text());
    }

private:
    QFont scaledFont(QFont font) const {
        if (font.pointSizeF() > 0) {
            font.setPointSizeF(font.pointSizeF() / scale_);
        }
        return font; // a size in pixels is scaled with everything else
    }

    QPainter& target_;
    QTransform base_;
    double scale_;
};

class ScaledCanvas final : public QPaintDevice {
public:
    // The canvas covers `box` of the painter's device, at `dpi`.
    ScaledCanvas(QPainter& target, const QRectF& box, int dpi)
        : dpi_(dpi), scale_(double(target.device()->logicalDpiY()) / dpi),
          size_(box.size() / scale_), engine_(target, scale_) {}

    QSizeF size() const { return size_; }
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return qRound(size_.width());
        case PdmHeight:
            return qRound(size_.height());
        case PdmWidthMM:
            return qRound(size_.width() * 25.4 / dpi_);
        case PdmHeightMM:
            return qRound(size_.height() * 25.4 / dpi_);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmNumColors:
            return std::numeric_limits<int>::max();
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return qRound(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    int dpi_;
    double scale_;
    QSizeF size_;
    mutable ScaledEngine engine_;
};

} // namespace

void PaintAsOnScreen(QPainter& painter, const QRectF& box,
                     const std::function<void(QPainter&, const QRectF&)>& paint) {
    // Fonts measured without a device, as a plot measures its text, have the
    // resolution of a QPicture: the screen's.
    const int screenDpi = QPicture().logicalDpiY();
    painter.save();
    painter.setClipRect(box);
    painter.translate(box.topLeft());
    painter.scale(double(painter.device()->logicalDpiX()) / screenDpi,
                  double(painter.device()->logicalDpiY()) / screenDpi);
    {
        ScaledCanvas canvas(painter, box, screenDpi);
        QPainter onScreen(&canvas);
        paint(onScreen, QRectF(QPointF(0, 0), canvas.size()));
    }
    painter.restore();
}

} // namespace pendrio
