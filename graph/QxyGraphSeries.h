#pragma once

#include "graph/QxyData.h"
#include "graph/QxyGraphTypes.h"

#include <QColor>

#include <memory>

class QPainter;
class TQxyGraph;

// A drawable series of its graph, one link of the graph's chain.
class TSeries : public TDataSeries
{
public:
    TSeries(TQxyGraph *aGraph, int32_t i);
    ~TSeries() override;

    int32_t SeriesIndex() const { return FSeriesIndex; }
    TSeries *NextSerie() const { return FNextSerie.get(); }
    TQxyGraph *graph() const { return FGraph; }

    bool HoldUpdates() const { return FHoldUpdates; }
    void SetHoldUpdates(bool value);
    bool UpdatesWaiting() const { return FUpdatesWaiting; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    QColor LineColor() const { return FLineColor; }
    void SetLineColor(const QColor &value);
    TPenStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TPenStyle value);

    // Colored is ignored: a line always takes LineColor.
    void Draw(QPainter &ACanvas, bool Colored);

protected:
    void NotifyChange(uint8_t reason) override;

private:
    friend class TQxyGraph;

    TQxyGraph *FGraph;
    std::unique_ptr<TSeries> FNextSerie;
    bool FActive = true;
    bool FHoldUpdates = false;
    bool FUpdatesWaiting = false;
    QColor FLineColor = QColor(255, 0, 0);
    TPenStyle FLineStyle = TPenStyle::psSolid;
    int32_t FSeriesIndex;
};
