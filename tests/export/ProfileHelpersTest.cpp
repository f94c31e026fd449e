// The profile window's pure helpers: tick steps, the vertical exaggeration,
// and why a file was not written.
#include "export/AtomicFile.h"
#include "plot/PlotGeometry.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

using namespace pendrio;

QT_BEGIN_NAMESPACE
// Readable failures: the text itself, not its UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(PlotGeometry, TickStepsAreOneTwoFiveAndCoverTheSpan) {
    struct Row {
        const char* name;
        double span;
        int maxSteps;
        double step;
    } rows[] = {{"exact tenth", 0.3, 3, 0.1},
                {"rounds up to 2", 11, 10, 2},
                {"rounds up to 5", 1968503.937, 6, 5e5},
                {"rounds up to 10", 0.9, 1, 1},
                {"tiny", 3e-300, 3, 1e-300},
                {"zero span", 0, 5, 0},
                {"infinite span", inf, 5, 0},
                {"notANumber span", notANumber, 5, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(TickStep(row.span, row.maxSteps), row.step);
    }
    EXPECT_EQ(TickValues(-0.25, 0.35, 0.1).size(), 6u); // -0.2 .. 0.3
    EXPECT_TRUE(TickValues(0, 1, 0).empty());
    EXPECT_TRUE(TickValues(0, 1e300, 1).empty()); // never millions of ticks
    // Labels carry the step's decimals and no more; a lone middle tick is its value.
    EXPECT_EQ(AxisDecimals(0, 0.0508, 5), 2);
    EXPECT_EQ(AxisDecimals(0, 800, 8), 0);
    EXPECT_EQ(AxisDecimals(7.5, 7.5, 5), -1);
    EXPECT_EQ(TickLabelValue(0.1 + 0.2, 1), 0.3);
    EXPECT_EQ(TickLabelValue(1e300, 15), 1e300);
    EXPECT_EQ(TickLabelValue(0.1 + 0.2, -1), 0.1 + 0.2);
    // Steps below the resolution at 1.2E8: multiples beyond 2^53 that the
    // loop once stepped through forever. A few distinct ticks, and done.
    const std::vector<double> high = TickValues(123456789.123, 123456789.123 + 3e-8, 1e-9);
    EXPECT_TRUE(!high.empty() && high.size() <= 4u && std::is_sorted(high.begin(), high.end()));
}

// An 800 m curve rising 4 m, drawn four times as wide as high, would fill
// two thirds of the height at 33.3: it is drawn at 20 in a box of any size.
// A 600 x 300 box is taller than that drawing and shows more heights around
// the curve, a 1200 x 150 box fewer; a 1200 x 100 box would leave it less
// than a tenth of its height for a margin, and holds a narrower drawing.
TEST(PlotGeometry, HeightAxisHoldsTheCurveAtOneExaggerationAndTellsItsHeightsApart) {
    constexpr double largest = std::numeric_limits<double>::max();
    const double flatTop = 123456789.123;
    struct Row {
        const char* name;
        double lowest, highest, length, boxWidth, boxHeight;
        double low, high, exaggeration, width;
    } rows[] = {
        {"a box taller than the drawing", 0, 4, 800, 600, 300, -8, 12, 20, 600},
        {"a box flatter than the drawing", 0, 4, 800, 1200, 150, -0.5, 4.5, 20, 1200},
        {"a box too flat for the curve: a narrower drawing", 0, 4, 800, 1200, 100, 2 - 2 / 0.9,
         2 + 2 / 0.9, 20, 900},
        {"level at true scale", 0, 0, 1200, 600, 300, -300, 300, 1, 600},
        {"nearly level high up: less exaggeration", flatTop - 1.5e-8, flatTop, 1968503.937, 600,
         300, flatTop - 4.92125984250e-4, flatTop + 4.92125984250e-4, 1e9, 600},
        {"level at the top of the range: slid down", largest, largest, 1968503.937, 600, 300,
         largest - 9.84251968500e296, largest, 1e-291, 600},
        {"beyond the double range: cut to it", -largest, largest, 1, 600, 300, -largest, largest,
         0.25 / largest, 600},
        {"a stretch of 5E-324", 0, 0, 5e-324, 600, 300, -2.4703282292062327e-304,
         2.4703282292062327e-304, 5e-21, 600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HeightAxis axis =
            HeightAxisFor(row.lowest, row.highest, row.length, row.boxWidth, row.boxHeight);
        EXPECT_NEAR(axis.low, row.low, std::fabs(row.low) * 1e-11);
        EXPECT_NEAR(axis.high, row.high, std::fabs(row.high) * 1e-11);
        EXPECT_NEAR(axis.exaggeration, row.exaggeration, row.exaggeration * 1e-12 + 1e-322);
        EXPECT_NEAR(axis.width, row.width, row.width * 1e-12);
        EXPECT_TRUE(axis.low <= row.lowest && row.highest <= axis.high);
        const std::vector<double> ticks = AxisTicks(axis.low, axis.high, 7);
        EXPECT_TRUE(ticks.size() >= 3u && ticks.size() <= 8u) << ticks.size();
    }
    // The height itself among the labels.
    const HeightAxis flat = HeightAxisFor(flatTop - 1.5e-8, flatTop, 1968503.937, 600, 300);
    QStringList labels;
    for (double tick : AxisTicks(flat.low, flat.high, 7)) {
        labels << NumberToText(tick, QLocale::c());
    }
    EXPECT_TRUE(labels.contains(QStringLiteral("123456789.123")))
        << labels.join(u' ').toStdString();
    EXPECT_EQ(HeightAxisFor(0, notANumber, 1, 600, 300).high, 1); // nothing to show: -1 to 1
}

TEST(PlotGeometry, ExaggerationIsOneTwoFiveAndOneWhenNothingToExaggerate) {
    EXPECT_EQ(VerticalExaggeration(800, 4), 20);
    EXPECT_EQ(VerticalExaggeration(100, 1000), 0.01); // steeper than the drawing: 1/60
    EXPECT_EQ(VerticalExaggeration(100, 0), 1);       // level
    EXPECT_EQ(VerticalExaggeration(inf, 1), 1);
    EXPECT_EQ(VerticalExaggeration(100, notANumber), 1);
    EXPECT_EQ(NiceAtMost(7), 5);
    EXPECT_EQ(NiceAtMost(0.2), 0.2);
    EXPECT_EQ(NiceAtMost(-1), 1);
}

TEST(AtomicFile, WhyAFileWasNotWrittenInTheUsersWords) {
    const QString full = QStringLiteral("The disk is full.");
    const QString noPermission = QStringLiteral("You have no permission to write there.");
    const QString noFolder = QStringLiteral("The folder does not exist.");
    const std::pair<int, QString> rows[] = {
        {ENOSPC, full},
        {EDQUOT, full},
        {EACCES, noPermission},
        {EPERM, noPermission},
        {ENOENT, noFolder},
        {ENOTDIR, noFolder},
        {EISDIR, QStringLiteral("The name is that of a folder.")},
        {EROFS, QStringLiteral("The file system is read-only.")},
        {EIO, QStringLiteral("Input/output error.")}, // any other: the system's own text
    };
    for (const auto& [error, text] : rows) {
        EXPECT_EQ(WriteFailureText(error), text) << error;
    }
}
