#include "graph/QxyGraphAxis.h"

#include "graph/QxyGraph.h"
#include "graph/QxyGraphCanvas.h"
#include "graph/QxyGraphMath.h"

#include <QPainter>
#include <QPoint>

using namespace QxyCanvas;

void TAxis::SetPosition(int32_t aX0, int32_t aY0, int32_t aX1, int32_t aY1)
{
    Fxk0 = aX0;
    Fyk0 = aY0;
    Fxk1 = aX1;
    Fyk1 = aY1;
}

void TAxis::RepaintIfPlotting()
{
    if (FGraph->Plotting())
        FGraph->RepaintNow();
}

void TAxis::SetMin(int32_t value)
{
    if (value == FMin)
        return;
    FMin = value;
    RepaintIfPlotting();
}

void TAxis::SetMax(int32_t value)
{
    if (value == FMax)
        return;
    FMax = value;
    RepaintIfPlotting();
}

void TAxis::SetReversed(bool value)
{
    if (value == FReversed)
        return;
    FReversed = value;
    RepaintIfPlotting();
}

void TAxis::SetStep(uint16_t value)
{
    if (value == 0)
        return; // every division position divides by it
    FStep = value;
    RepaintIfPlotting();
}

void TAxis::SetGridlines(bool value)
{
    FGridLines = value;
    RepaintIfPlotting();
}

void TAxis::SetUnitStr(const QString &value)
{
    FUnitStr = value;
    RepaintIfPlotting();
}

void TXAxis::SetAxisPos(TXAxisPos value)
{
    if (value == FAxisPos)
        return;
    FAxisPos = value;
    TDimensions *dims = FGraph->Dimensions();
    dims->FBottomMargin = value == BottomPos ? 20 : 10;
    dims->FTopMargin = value == BottomPos ? 10 : 20;
}

void TYAxis::SetAxisPos(TYAxisPos value)
{
    if (value == FAxisPos)
        return;
    FAxisPos = value;
    TDimensions *dims = FGraph->Dimensions();
    dims->FLeftMargin = value == LeftPos ? 40 : 18;
    dims->FRightMargin = value == LeftPos ? 18 : 40;
}

namespace
{

// Pen for gridlines and frame lines.
void UseGridPen(QPainter &canvas, const TAppearance &look, bool colored)
{
    if (colored)
        SetPenColor(canvas, look.GridColor());
    SetPenStyle(canvas, look.GridStyle());
}

// Pen for axis lines and ticks.
void UseAxisPen(QPainter &canvas, const TAppearance &look, bool colored)
{
    SetPenStyle(canvas, TPenStyle::psSolid);
    if (colored)
        SetPenColor(canvas, look.AxesColor());
}

} // namespace

void TXAxis::Draw(QPainter &ACanvas, bool Colored)
{
    const TAppearance &look = *FGraph->Appearance();
    const int32_t x0 = Fxk0, y0 = Fyk0, x1 = Fxk1, y1 = Fyk1;
    const int32_t TL = FGraph->Dimensions()->TickLength();
    const int32_t h = look.LabelFont().Height();

    const QColor white(255, 255, 255);
    if (x1 > x0 && y1 > y0 + 1)
        ACanvas.fillRect(QRect(x0, y0 + 1, x1 - x0, y1 - y0 - 1), Colored ? look.BackgroundColor() : white);
    SetFillColor(ACanvas, Colored ? look.MarginColor() : white);
    ACanvas.setFont(look.LabelFont().Font());
    QColor fontColor = look.LabelFont().Color();
    if (!Colored) {
        SetPenColor(ACanvas, Qt::black);
        fontColor = Qt::black;
    }
    UseAxisPen(ACanvas, look, Colored);

    const bool bottom = FAxisPos == BottomPos;
    const int32_t tickEnd = bottom ? y1 + TL : y0 - TL;
    const int32_t edge = bottom ? y1 : y0;
    const QPoint axisLine[4] = {{x0, tickEnd}, {x0, edge}, {x1, edge}, {x1, tickEnd}};
    ACanvas.drawPolyline(axisLine, 4);
    const int32_t ly = bottom ? y1 + TL : (y0 - h) / 2;

    if (FGridLines) {
        UseGridPen(ACanvas, look, Colored);
        if (FGraph->YAxis()->AxisPos() == LeftPos)
            ACanvas.drawLine(x1, y0, x1, y1);
        else
            ACanvas.drawLine(x0, y0, x0, y1);
    }

    const int32_t S = FStep;
    for (int32_t i = 0; i <= S; ++i) {
        const int32_t xi = x0 + QxyMath::DivisionOffset(x1 - x0, FStep, i);
        if (i > 0 && i < S) {
            if (FGridLines)
                UseAxisPen(ACanvas, look, Colored);
            ACanvas.drawLine(xi, tickEnd, xi, edge);
            if (FGridLines) {
                UseGridPen(ACanvas, look, Colored);
                ACanvas.drawLine(xi, y0, xi, y1);
            }
        }
        const double v = QxyMath::HorizontalLabelValue(FMin, FMax, FStep, i);
        DrawText(ACanvas, xi, ly, QxyMath::FormatLabel(v), fontColor);
    }
    if (S > 0)
        DrawText(ACanvas, x0 + (x1 - x0) / (2 * S), ly, FUnitStr, fontColor);
}

void TYAxis::Draw(QPainter &ACanvas, bool Colored)
{
    const TAppearance &look = *FGraph->Appearance();
    const int32_t x0 = Fxk0, y0 = Fyk0, x1 = Fxk1, y1 = Fyk1;
    const int32_t TL = FGraph->Dimensions()->TickLength();
    const int32_t h = look.LabelFont().Height();

    ACanvas.setFont(look.LabelFont().Font());
    QColor fontColor = look.LabelFont().Color();
    if (!Colored) {
        SetPenColor(ACanvas, Qt::black);
        fontColor = Qt::black;
    }
    UseAxisPen(ACanvas, look, Colored);

    const bool left = FAxisPos == LeftPos;
    const int32_t tickEnd = left ? x0 - TL : x1 + TL;
    const int32_t edge = left ? x0 : x1;
    const QPoint axisLine[4] = {{tickEnd, y0}, {edge, y0}, {edge, y1}, {tickEnd, y1}};
    ACanvas.drawPolyline(axisLine, 4);
    const int32_t lx = left ? x0 / 2 : x1 + FGraph->Dimensions()->RightMargin() / 2;

    if (FGridLines) {
        UseGridPen(ACanvas, look, Colored);
        if (FGraph->XAxis()->AxisPos() == TopPos)
            ACanvas.drawLine(x0, y1, x1, y1);
        else
            ACanvas.drawLine(x0, y0, x1, y0);
    }

    const int32_t S = FStep;
    for (int32_t i = 0; i <= S; ++i) {
        const int32_t yi = y0 + QxyMath::DivisionOffset(y1 - y0, FStep, i);
        if (i > 0 && i < S) {
            if (FGridLines)
                UseAxisPen(ACanvas, look, Colored);
            ACanvas.drawLine(tickEnd, yi, edge, yi);
            if (FGridLines) {
                UseGridPen(ACanvas, look, Colored);
                ACanvas.drawLine(x0, yi, x1, yi);
            }
        }
        const double v = QxyMath::VerticalLabelValue(FMin, FMax, FStep, i);
        DrawText(ACanvas, lx, yi - h / 2, QxyMath::FormatLabel(v), fontColor);
    }
    if (S > 0)
        DrawText(ACanvas, lx, y0 + (y1 - y0) / (2 * S) - h / 2, FUnitStr, fontColor);
}
