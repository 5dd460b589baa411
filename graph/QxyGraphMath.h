#pragma once

// The graph's arithmetic, kept apart from drawing so it can be checked alone.

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

namespace QxyMath
{

// Most points a series draws; older points are left out.
constexpr int32_t MaxDrawnPoints = 3000;

// Index of the first point a series of count points draws.
int32_t FirstDrawnPoint(int32_t count);

// Pixel column of x: Min on x0, Max on x1. Empty when Min equals Max.
// 64-bit throughout, so points far outside the range cannot overflow.
std::optional<int64_t> MapX(int32_t x, int32_t min, int32_t max, int32_t x0, int32_t x1);
// Pixel row of y: Max on y0, Min on y1. Empty when Min equals Max.
std::optional<int64_t> MapY(int32_t y, int32_t min, int32_t max, int32_t y0, int32_t y1);

// Offset of division i from the start of an axis span pixels long,
// stepping by the truncated division width.
int32_t DivisionOffset(int32_t span, uint16_t step, int32_t i);

// Value shown at division i: from Min rightwards, from Max downwards.
double HorizontalLabelValue(int32_t min, int32_t max, uint16_t step, int32_t i);
double VerticalLabelValue(int32_t min, int32_t max, uint16_t step, int32_t i);

// value / 10 with exactly one decimal, halves away from zero, the locale's
// decimal separator and no grouping.
QString FormatLabel(double value, const QLocale &locale = QLocale());

// num / den rounded to nearest, halves away from zero. den must not be 0.
int64_t RoundedQuotient(int64_t num, int64_t den);

struct TPageFit {
    int64_t Width = 0;
    int64_t Height = 0;
};

// Size of a bw x bh image stretched onto a pw x ph page, proportions kept.
// Empty when a size is not positive.
std::optional<TPageFit> FitToPage(int64_t bw, int64_t bh, int64_t pw, int64_t ph);

} // namespace QxyMath
