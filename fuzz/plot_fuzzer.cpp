// Any calculable profile into the profile plot, the way the window gets it:
// typed inputs through CalculateProfile, now and then a height at start typed
// afterwards without a new calculation. Then everything the plot does with
// it: sampling, the height axis and its exaggeration, the ticks on both axes
// in both units, the pointer's readout at a fuzzed point, the arrow keys, Home
// and End from any highlight, and painting into a small image offscreen.
//
// Each run is bounded: samples and ticks are counted and checked against
// their limits, so a loop that runs away shows as a finding, not a hang.
//
// The input is read front to back in a fixed layout, little-endian, so that
// a seed can be written by hand; bytes past the end read as zero:
//   double length, height at start, start and end gradient in degrees;
//   int16 sections; uint8 flags (bit 0: retype the height at start) and
//   double that height; int32 highlight; uint16 box width, height and uint8
//   steps for the axes; double a distance for ProfilePointAt; uint8 extra
//   widget height, uint16 pointer x, y; uint8 key count and one uint8 per key;
//   uint8 paint (bit 0: the widget, else the file drawing with paint / 2 % 4
//   caption lines and uint16 image width, height).
#include "FuzzBytes.h"
#include "profile/CalculateProfile.h"
#include "profile/ProfileCurve.h"
#include "plot/PlotGeometry.h"
#include "profilewindow/ProfilePlot.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace pendrio;

namespace {

using fuzzing::Bytes;

void check(bool condition, const char* what, double value = 0) {
    if (!condition) {
        std::fprintf(stderr, "The plot broke its promise: %s (%.17G)\n", what, value);
        std::abort();
    }
}

// An axis the plot draws: never without a tick, never more than MaxTicks,
// distinct and rising, all finite.
void checkTicks(double low, double high, int maxSteps) {
    const std::vector<double> ticks = AxisTicks(low, high, maxSteps);
    check(!ticks.empty(), "an axis without a tick", high - low);
    check(ticks.size() <= std::size_t(MaxTicks), "more ticks than MaxTicks", double(ticks.size()));
    const QStringList labels = AxisLabels(ticks, AxisDecimals(low, high, maxSteps), QLocale::c());
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        check(std::isfinite(ticks[k]), "a tick not finite", ticks[k]);
        check(k == 0 || ticks[k] > ticks[k - 1], "ticks not rising", ticks[k]);
        check(k == 0 || labels[qsizetype(k)] != labels[qsizetype(k) - 1], "two labels alike",
              ticks[k]);
    }
}

// The window's 16-bit section count, taken into 1..MaxSections.
std::int16_t sectionCount(std::int16_t typed) {
    return std::clamp<std::int16_t>(typed, 1, MaxSections);
}

bool noNumberMissing(const QString& text) {
    return !text.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
           !text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

constexpr int MaxImageWidth = 320;
constexpr int MaxImageHeight = 240;

struct Plot {
    ProfileState profile;
    ProfilePlot widget{profile};
    std::vector<int> chosen;
    Plot() {
        QObject::connect(&widget, &ProfilePlot::sectionChosen,
                         [this](int section) { chosen.push_back(section); });
    }
};

Plot& plot() {
    static Plot* shared = new Plot;
    return *shared;
}

void press(QWidget& widget, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void pointAt(QWidget& widget, QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

// Fontconfig loads its configuration once, on the first text painted, and
// keeps part of it where LeakSanitizer cannot see it: a system library's
// doing, not the plot's (as tools/lsan.supp says of libdbus).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Painting needs a QApplication, and no display: the offscreen platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "plot_fuzzer";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    // What the main window would hold after typing the five inputs; it refuses
    // a negative length and anything whose conversion is not finite.
    ProfileState typed;
    typed.TrackLength = bytes.take<double>();
    typed.SectionHeight.at(1) = bytes.take<double>();
    const double startDegrees = bytes.take<double>();
    const double endDegrees = bytes.take<double>();
    typed.StartGradient = DegreesToRadians(startDegrees);
    typed.EndGradient = DegreesToRadians(endDegrees);
    typed.SectionCount = sectionCount(bytes.take<std::int16_t>());
    if (!(typed.TrackLength >= 0) || !std::isfinite(typed.TrackLength) ||
        !std::isfinite(typed.SectionHeight.at(1)) || !std::isfinite(typed.StartGradient) ||
        !std::isfinite(typed.EndGradient) || !CalculateProfile(typed)) {
        return 0;
    }
    const std::uint8_t flags = bytes.take<std::uint8_t>();
    const double retypedHeight = bytes.take<double>();
    if ((flags & 1) && std::isfinite(retypedHeight)) {
        // A new height at start shows for section 1 at once, before any calculation.
        typed.SectionHeight.at(1) = retypedHeight;
    }

    Plot& shared = plot();
    shared.profile = typed;
    shared.chosen.clear();
    ProfilePlot& widget = shared.widget;
    widget.refresh(bytes.take<std::int32_t>()); // any highlight at all, in range or not
    const int n = CalculatedSectionCount(shared.profile);
    const double length = shared.profile.TrackLength;

    // Sampling: bounded, finite, along the stretch.
    const std::vector<QPointF>& samples = widget.painter().samples();
    check(!samples.empty() && samples.size() <= std::size_t(ProfilePainter::MaxSamples),
          "sample count", double(samples.size()));
    double lowest = samples.front().y();
    double highest = lowest;
    for (const QPointF& sample : samples) {
        check(std::isfinite(sample.x()) && sample.x() >= 0 && sample.x() <= length,
              "a sample off the stretch", sample.x());
        check(std::isfinite(sample.y()), "a sample height not finite", sample.y());
        lowest = std::min(lowest, sample.y());
        highest = std::max(highest, sample.y());
    }

    // The height axis in a box of any size up to a large export, and the
    // ticks of both axes in track units and in metres.
    const double boxWidth = 1 + bytes.take<std::uint16_t>() % 4000;
    const double boxHeight = 1 + bytes.take<std::uint16_t>() % 4000;
    const HeightAxis axis = HeightAxisFor(lowest, highest, length, boxWidth, boxHeight);
    check(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.low < axis.high,
          "a height axis not finite and rising", axis.high - axis.low);
    check(axis.low <= lowest && highest <= axis.high, "the curve beyond its axis", lowest);
    check(axis.high / 2 - axis.low / 2 >= std::fabs(axis.low / 2 + axis.high / 2) * 0.999e-12,
          "heights across the axis too close to tell apart", axis.low);
    check(std::isfinite(axis.exaggeration) && axis.exaggeration >= 0, "exaggeration",
          axis.exaggeration);
    check(axis.width > 0 && axis.width <= boxWidth, "a drawing wider than its box", axis.width);
    const double exaggeration = VerticalExaggeration(length, highest - lowest);
    check(std::isfinite(exaggeration) && exaggeration > 0, "VerticalExaggeration", exaggeration);
    const int steps = 2 + bytes.take<std::uint8_t>() % 40;
    for (const double unit : {1.0, UnitsPerMetre}) {
        checkTicks(0, length / unit, steps);
        checkTicks(axis.low / unit, axis.high / unit, steps);
    }

    // The engine's point at any distance, as the readout gets it.
    const ProfilePoint point = ProfilePointAt(shared.profile, bytes.take<double>());
    check(point.section >= 1 && point.section <= n, "a point outside the sections", point.section);

    // The pointer anywhere over the widget at a size it may have, or a little
    // beside it; in the middle it is always over the curve.
    const QSize smallest = widget.minimumSizeHint();
    widget.resize(smallest.width(), smallest.height() + bytes.take<std::uint8_t>() % 41);
    const QPointF pointer((bytes.take<std::uint16_t>() % (widget.width() + 20)) - 10.0,
                          (bytes.take<std::uint16_t>() % (widget.height() + 20)) - 10.0);
    pointAt(widget, QRectF(widget.rect()).center());
    check(!widget.hoverText().isEmpty(), "no readout over the middle of the plot");
    pointAt(widget, pointer);
    check(noNumberMissing(widget.hoverText()), "a readout with a number missing");
    check(noNumberMissing(widget.highlightedSectionText()), "a description with a number missing");

    // Up to eight keys; a section asked for is always one there is.
    const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,   Qt::Key_Down,
                        Qt::Key_Home, Qt::Key_End,   Qt::Key_Space};
    const int keyCount = bytes.take<std::uint8_t>() % 9;
    for (int k = 0; k < keyCount; ++k) {
        press(widget, keys[bytes.take<std::uint8_t>() % std::size(keys)]);
    }
    for (const int section : shared.chosen) {
        check(section >= 1 && section <= n, "asked for a section that is not there", section);
    }

    // Painting, offscreen: the file drawing at any size from 1 x 1 to
    // 320 x 240 with up to three caption lines, or the widget as on screen,
    // pointer mark and all.
    const std::uint8_t paint = bytes.take<std::uint8_t>();
    const QSize imageSize = paint & 1
                                ? widget.size().boundedTo(QSize(MaxImageWidth, MaxImageHeight))
                                : QSize(1 + bytes.take<std::uint16_t>() % MaxImageWidth,
                                        1 + bytes.take<std::uint16_t>() % MaxImageHeight);
    // One buffer for every image: a fresh 300 KB image each run costs more
    // than the painting.
    static std::vector<uchar> pixels(std::size_t(MaxImageWidth) * MaxImageHeight * 4);
    QImage image(pixels.data(), imageSize.width(), imageSize.height(), imageSize.width() * 4,
                 QImage::Format_RGB32);
    QPainter painter(&image);
    if (paint & 1) {
        widget.render(&painter);
    } else {
        const QStringList caption(paint / 2 % 4, QStringLiteral("Crest"));
        widget.painter().paint(painter, QRectF(image.rect()), PlotColours::forFiles(), caption);
    }
    return 0;
}
