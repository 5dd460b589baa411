#pragma once

#include "platform/Errors.h"

#include <cstdint>
#include <vector>

// One point of a series, in the caller's units.
struct tXYPoint {
    int32_t x = 0;
    int32_t y = 0;
};
using pXYPoint = const tXYPoint *;

// Raised for an index outside the stored points.
class EListError : public EQuentaError
{
public:
    using EQuentaError::EQuentaError;
};

// Reasons handed to NotifyChange.
enum : uint8_t {
    ncPoints = 1,     // Add, Clear
    ncZero = 2,       // AutoZero, ZeroOffset
    ncReleased = 3,   // held updates let go while a change waited
    ncAttributes = 4, // Active, LineColor, LineStyle
};

// Stores integer points and their extents; knows nothing about drawing.
class TDataSeries
{
public:
    TDataSeries() = default;
    virtual ~TDataSeries() = default;
    TDataSeries(const TDataSeries &) = delete;
    TDataSeries &operator=(const TDataSeries &) = delete;

    void Clear();
    int32_t Add(int32_t x, int32_t y);
    pXYPoint GetXYPoint(int32_t Idx) const;
    pXYPoint XYPoint(int32_t Idx) const { return GetXYPoint(Idx); }

    int32_t PointCount() const { return static_cast<int32_t>(FData.size()); }
    int32_t XMinVal() const { return xMin; }
    int32_t XMaxVal() const { return xMax; }
    int32_t YMinVal() const { return yMin; }
    int32_t YMaxVal() const { return yMax; }

    bool Changed() const { return FChanged; }
    void SetChanged(bool value) { FChanged = value; }
    bool AutoZero() const { return FAutoZero; }
    void SetAutoZero(bool value);
    int32_t ZeroOffset() const { return FZeroOffset; }
    void SetZeroOffset(int32_t value);
    // Moves every stored point; deliberately silent, see ShiftSeries.
    void SetXoffset(int32_t d);

    // Contiguous storage for drawing; do not keep across changes.
    const tXYPoint *Data() const { return FData.data(); }

protected:
    virtual void NotifyChange(uint8_t /*reason*/) {}

private:
    std::vector<tXYPoint> FData;
    int32_t xMin = 0;
    int32_t xMax = 0;
    int32_t yMin = 0;
    int32_t yMax = 0;
    int32_t FZeroOffset = 0;
    bool FChanged = false;
    bool FAutoZero = false;
};
