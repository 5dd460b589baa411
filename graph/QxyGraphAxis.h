#pragma once

#include "graph/QxyGraphTypes.h"

#include <QString>

#include <cstdint>

class QPainter;
class TQxyGraph;

// One axis of the graph: value range, divisions, gridlines and caption.
class TAxis
{
public:
    explicit TAxis(TQxyGraph *aGraph) : FGraph(aGraph) {}
    virtual ~TAxis() = default;
    TAxis(const TAxis &) = delete;
    TAxis &operator=(const TAxis &) = delete;

    // The plot rectangle, written by the graph's layout before each drawing.
    void SetPosition(int32_t aX0, int32_t aY0, int32_t aX1, int32_t aY1);
    int32_t xk0() const { return Fxk0; }
    int32_t yk0() const { return Fyk0; }
    int32_t xk1() const { return Fxk1; }
    int32_t yk1() const { return Fyk1; }

    int32_t Min() const { return FMin; }
    int32_t Max() const { return FMax; }
    uint16_t Step() const { return FStep; }
    bool Gridlines() const { return FGridLines; }
    bool Reversed() const { return FReversed; }
    QString UnitStr() const { return FUnitStr; }

    void SetMin(int32_t value);
    void SetMax(int32_t value);
    void SetReversed(bool value);
    // These repaint even when the value is unchanged. A Step of 0 is refused.
    void SetStep(uint16_t value);
    void SetGridlines(bool value);
    void SetUnitStr(const QString &value);

    virtual void Draw(QPainter &ACanvas, bool Colored) = 0;

    TQxyGraph *graph() const { return FGraph; }

protected:
    void RepaintIfPlotting();

    TQxyGraph *FGraph;
    int32_t Fxk0 = 0;
    int32_t Fyk0 = 0;
    int32_t Fxk1 = 0;
    int32_t Fyk1 = 0;
    int32_t FMin = 0;
    int32_t FMax = 0;
    uint16_t FStep = 5;
    bool FGridLines = true;
    bool FReversed = false;
    QString FUnitStr;

private:
    friend class TQxyGraph;
};

class TXAxis : public TAxis
{
public:
    using TAxis::TAxis;

    TXAxisPos AxisPos() const { return FAxisPos; }
    // Moves the axis and rewrites the vertical margins, without a repaint.
    void SetAxisPos(TXAxisPos value);

    // Also paints the plot background, so it is drawn before the other axis.
    void Draw(QPainter &ACanvas, bool Colored) override;

private:
    friend class TQxyGraph;
    TXAxisPos FAxisPos = TopPos;
};

class TYAxis : public TAxis
{
public:
    using TAxis::TAxis;

    TYAxisPos AxisPos() const { return FAxisPos; }
    // Moves the axis and rewrites the horizontal margins, without a repaint.
    void SetAxisPos(TYAxisPos value);

    void Draw(QPainter &ACanvas, bool Colored) override;

private:
    friend class TQxyGraph;
    TYAxisPos FAxisPos = LeftPos;
};
