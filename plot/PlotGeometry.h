// The axis arithmetic behind the profile plot, free of any widget: readable
// tick steps and the vertical exaggeration that makes a gentle curve visible.
// Total on any doubles: every loop counts with an integer bounded in advance.
#pragma once

#include <QLocale>
#include <QStringList>

#include <vector>

namespace pendrio {

// The smallest step of the form 1, 2 or 5 times a power of ten that cuts
// `span` into at most `maxSteps` steps; 0 when span is not positive and finite.
double TickStep(double span, int maxSteps);

// The most ticks an axis ever gets.
inline constexpr int MaxTicks = 200;

// The distinct multiples of `step` within [low, high], in rising order; none
// when there would be more than MaxTicks of them.
std::vector<double> TickValues(double low, double high, double step);

// The ticks of an axis from `low` to `high` with at most `maxSteps` 1-2-5
// steps. Never empty for finite ends: where the span is zero, or too small
// for its multiples to be told apart, the middle of the axis is its one tick.
std::vector<double> AxisTicks(double low, double high, int maxSteps);

// How many decimals the labels of AxisTicks(low, high, maxSteps) need: as
// many as its step has, or -1 where the axis has its one middle tick, whose
// label is the value as it is.
int AxisDecimals(double low, double high, int maxSteps);

// What a tick label shows: `value` rounded to `decimals` places, so that a
// tick at 0.3 does not read 0.30000000000000004; the value as it is where
// decimals is negative or the rounding could not change it.
double TickLabelValue(double value, int decimals);

// The labels of `ticks` (rising, as AxisTicks gives them), all different:
// each rounded to `decimals` (AxisDecimals) and written as the window writes
// numbers. Where that writes two alike, as for a step finer than 15 decimals,
// each tick as it is, with an exponent where it needs one; where even that
// does not tell them apart, the first tick whole and the others as their
// distance from it ("+2E-13").
QStringList AxisLabels(const std::vector<double>& ticks, int decimals, const QLocale& locale);

// The largest number of the form 1, 2 or 5 times a power of ten that is not
// above `value`; 1 for a value that is not positive and finite.
double NiceAtMost(double value);

// A curve's drawing keeps one exaggeration at any size, as a civil profile
// drawing does: chosen for a drawing this many times as wide as it is high,
// and kept in any box; only a box so flat that the curve would not fit its
// height draws it narrower than the box.
inline constexpr double DrawingProportion = 4;

// How many times the heights are drawn larger than the distances so that a
// curve rising by `heightSpan` over `length` fills about two thirds of the
// height of a drawing DrawingProportion times as wide as high. A 1-2-5
// number, from the curve's shape alone; 1 for a level profile or anything
// not finite.
double VerticalExaggeration(double length, double heightSpan);

// The heights a plot box shows, `low` at its bottom and `high` at its top,
// how many times larger than the distances they are drawn there, and how
// wide the drawing is: the box's width, or less where the curve would not
// fit the box's height.
struct HeightAxis {
    double low = -1;
    double high = 1;
    double exaggeration = 1;
    double width = 0;
};

// The height axis for a curve from `lowest` to `highest` over `length` in a
// box of `width` x `height` pixels: centred on the curve, at the
// VerticalExaggeration of its shape, a level curve at true scale. Total on
// any doubles, always finite with low < high: where the heights are too close
// to tell apart, the axis widens to a few ticks around them, at a smaller
// 1-2-5 exaggeration; near the ends of the double range it stops there.
HeightAxis HeightAxisFor(double lowest, double highest, double length, double width, double height);

} // namespace pendrio
