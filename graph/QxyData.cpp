#include "graph/QxyData.h"

#include <QString>

namespace
{
// Wrapping add: shifting far-off points must not be undefined behaviour.
int32_t WrapAdd(int32_t a, int64_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(a) + b));
}
} // namespace

void TDataSeries::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FZeroOffset = 0;
    FChanged = true;
    NotifyChange(ncPoints);
}

int32_t TDataSeries::Add(int32_t x, int32_t y)
{
    if (FData.empty()) {
        xMin = x;
        xMax = x;
        if (FAutoZero)
            FZeroOffset = y;
    }
    const int32_t stored = WrapAdd(y, -static_cast<int64_t>(FZeroOffset));
    if (FData.empty()) {
        yMin = stored;
        yMax = stored;
    } else {
        if (stored < yMin)
            yMin = stored;
        if (stored > yMax)
            yMax = stored;
        if (x < xMin)
            xMin = x;
        if (x > xMax)
            xMax = x;
    }
    FData.push_back({x, stored});
    FChanged = true;
    NotifyChange(ncPoints);
    return PointCount();
}

pXYPoint TDataSeries::GetXYPoint(int32_t Idx) const
{
    if (Idx < 0 || Idx >= PointCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Idx));
    return &FData[static_cast<size_t>(Idx)];
}

void TDataSeries::SetAutoZero(bool value)
{
    if (value == FAutoZero)
        return;
    FAutoZero = value;
    FChanged = true;
    NotifyChange(ncZero);
}

void TDataSeries::SetZeroOffset(int32_t value)
{
    if (!FAutoZero && value == FZeroOffset)
        return;
    FAutoZero = false;
    const int64_t delta = static_cast<int64_t>(FZeroOffset) - value;
    for (tXYPoint &p : FData)
        p.y = WrapAdd(p.y, delta);
    FZeroOffset = value;
    FChanged = true;
    NotifyChange(ncZero);
}

void TDataSeries::SetXoffset(int32_t d)
{
    for (tXYPoint &p : FData)
        p.x = WrapAdd(p.x, d);
}
