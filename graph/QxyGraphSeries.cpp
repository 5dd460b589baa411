#include "graph/QxyGraphSeries.h"

#include "graph/QxyGraph.h"
#include "graph/QxyGraphCanvas.h"
#include "graph/QxyGraphMath.h"

#include <QPainter>
#include <QPointF>

#include <vector>

TSeries::TSeries(TQxyGraph *aGraph, int32_t i) : FGraph(aGraph), FSeriesIndex(i) {}

TSeries::~TSeries()
{
    // Break the chain iteratively: a long tail must not recurse.
    std::unique_ptr<TSeries> next = std::move(FNextSerie);
    while (next)
        next = std::move(next->FNextSerie);
}

void TSeries::NotifyChange(uint8_t reason)
{
    if (FHoldUpdates) {
        FUpdatesWaiting = true;
        return;
    }
    if (reason != 0 && FGraph->Plotting())
        FGraph->RepaintNow();
}

void TSeries::SetHoldUpdates(bool value)
{
    if (value == FHoldUpdates)
        return;
    FHoldUpdates = value;
    if (value) {
        FUpdatesWaiting = false;
    } else if (FUpdatesWaiting) {
        NotifyChange(ncReleased);
    }
}

void TSeries::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    NotifyChange(ncAttributes);
}

void TSeries::SetLineColor(const QColor &value)
{
    if (value == FLineColor)
        return;
    FLineColor = value;
    NotifyChange(ncAttributes);
}

void TSeries::SetLineStyle(TPenStyle value)
{
    if (value == FLineStyle)
        return;
    FLineStyle = value;
    NotifyChange(ncAttributes);
}

void TSeries::Draw(QPainter &ACanvas, bool /*Colored*/)
{
    if (!FActive || PointCount() == 0)
        return;
    FGraph->ClipToPlotArea(ACanvas);
    QxyCanvas::SetPenColor(ACanvas, FLineColor);
    QxyCanvas::SetPenStyle(ACanvas, FLineStyle);

    const TXAxis &X = *FGraph->XAxis();
    const TYAxis &Y = *FGraph->YAxis();
    const int32_t first = QxyMath::FirstDrawnPoint(PointCount());
    const tXYPoint *points = Data();
    std::vector<QPointF> pixels;
    pixels.reserve(QxyMath::MaxDrawnPoints + 1);
    bool ok = true;
    for (int32_t k = first; k < PointCount() && ok; ++k) {
        const auto px = QxyMath::MapX(points[k].x, X.Min(), X.Max(), X.xk0(), X.xk1());
        const auto py = QxyMath::MapY(points[k].y, Y.Min(), Y.Max(), Y.yk0(), Y.yk1());
        ok = px && py;
        if (ok)
            pixels.emplace_back(static_cast<qreal>(*px), static_cast<qreal>(*py));
    }
    // A single point makes no line; a failed mapping drops this series only.
    if (ok && pixels.size() >= 2)
        ACanvas.drawPolyline(pixels.data(), static_cast<int>(pixels.size()));
    FGraph->ClipToClient(ACanvas);
}
