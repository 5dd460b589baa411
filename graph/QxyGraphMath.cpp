#include "graph/QxyGraphMath.h"

#include <cmath>

namespace QxyMath
{

int32_t FirstDrawnPoint(int32_t count)
{
    return count > MaxDrawnPoints ? count - MaxDrawnPoints : 0;
}

std::optional<int64_t> MapX(int32_t x, int32_t min, int32_t max, int32_t x0, int32_t x1)
{
    const int64_t range = static_cast<int64_t>(max) - min;
    if (range == 0)
        return std::nullopt;
    return (static_cast<int64_t>(x) - min) * (static_cast<int64_t>(x1) - x0) / range + x0;
}

std::optional<int64_t> MapY(int32_t y, int32_t min, int32_t max, int32_t y0, int32_t y1)
{
    const int64_t range = static_cast<int64_t>(min) - max;
    if (range == 0)
        return std::nullopt;
    return (static_cast<int64_t>(y) - max) * (static_cast<int64_t>(y1) - y0) / range + y0;
}

int32_t DivisionOffset(int32_t span, uint16_t step, int32_t i)
{
    if (step == 0)
        return 0;
    return i * (span / static_cast<int32_t>(step));
}

double HorizontalLabelValue(int32_t min, int32_t max, uint16_t step, int32_t i)
{
    if (step == 0)
        return min;
    return min + ((static_cast<double>(max) - min) / step) * i;
}

double VerticalLabelValue(int32_t min, int32_t max, uint16_t step, int32_t i)
{
    if (step == 0)
        return max;
    return max - ((static_cast<double>(max) - min) / step) * i;
}

QString FormatLabel(double value, const QLocale &locale)
{
    double tenths = std::round(value); // value is in tenths: round to one decimal
    if (!std::isfinite(tenths))
        return QStringLiteral("0") + locale.decimalPoint() + QStringLiteral("0");
    if (tenths == 0.0)
        tenths = 0.0; // no "-0.0"
    const bool negative = tenths < 0;
    const double magnitude = std::fabs(tenths);
    const double whole = std::floor(magnitude / 10.0);
    const int digit = static_cast<int>(magnitude - whole * 10.0);
    QString text = QString::number(whole, 'f', 0) + locale.decimalPoint() + QString::number(digit);
    if (negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

int64_t RoundedQuotient(int64_t num, int64_t den)
{
    int64_t q = num / den;
    const int64_t r = num % den;
    const uint64_t twiceR = 2 * static_cast<uint64_t>(r < 0 ? -r : r);
    const uint64_t absDen = static_cast<uint64_t>(den < 0 ? -den : den);
    if (twiceR >= absDen)
        q += ((num < 0) != (den < 0)) ? -1 : 1;
    return q;
}

std::optional<TPageFit> FitToPage(int64_t bw, int64_t bh, int64_t pw, int64_t ph)
{
    if (bw <= 0 || bh <= 0 || pw <= 0 || ph <= 0)
        return std::nullopt;
    TPageFit fit;
    if (static_cast<double>(bw) / bh > static_cast<double>(pw) / ph) {
        fit.Width = pw;
        fit.Height = RoundedQuotient(bh * pw, bw);
    } else {
        fit.Width = RoundedQuotient(bw * ph, bh);
        fit.Height = ph;
    }
    return fit;
}

} // namespace QxyMath
