#pragma once

#include "graph/QxyGraphAxis.h"
#include "graph/QxyGraphSeries.h"
#include "graph/QxyGraphSettings.h"

#include <QFrame>
#include <QImage>
#include <QString>

#include <memory>

class QPainter;
class QPicture;
class QPrinter;

// An XY line graph control: two axes, integer series, export and printing.
// While Plotting is on, every change redraws the control at once.
class TQxyGraph : public QFrame
{
    Q_OBJECT

public:
    explicit TQxyGraph(QWidget *AOwner = nullptr);
    ~TQxyGraph() override;

    TXAxis *XAxis() const { return FXAxis.get(); }
    TYAxis *YAxis() const { return FYAxis.get(); }
    TDimensions *Dimensions() const { return FDimensions.get(); }
    TAppearance *Appearance() const { return FAppearance.get(); }

    bool Plotting() const { return FPlotting; }
    // Repaints with either value, so turning it off draws once more.
    void SetPlotting(bool value);
    // A drawing of this graph is under way.
    bool Painting() const { return FPainting; }

    TSeries *Series(int32_t i) { return GetSeriesInt(i); }
    TSeries *SeriesHandle() const { return FSeries.get(); }
    int32_t LastSeriesIndex() const { return FLastSeries; }

    // The series with index i, created (without a repaint) when missing.
    TSeries *GetSeriesInt(int32_t i);
    bool FindSeries(int32_t i) const;
    // Moves every point of every series by X; the caller repaints.
    void ShiftSeries(int32_t X);
    void ClearAll();

    // Exports draw into an image of the control's outer size.
    void CopyToClipboard();
    void SaveToBitmap(const QString &fname);
    void SaveToJPeg(const QString &fname);
    void Print(QPrinter &printer);
    void PrintOnPage(QPainter &page);
    void FillBitmap(QImage &bmp);
    void FillMetafile(QPicture &wmf);

    void ClipToPlotArea(QPainter &canvas) const;
    void ClipToClient(QPainter &canvas) const;

    int ClientWidth() const;
    int ClientHeight() const;
    void PlaceAxes();
    void DrawGraph(QPainter &canvas, bool Colored);
    // Draws the control on its window now, not at the next event loop turn.
    void RepaintNow();

signals:
    // The control has just drawn itself on its window.
    void Painted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void Paint(QPainter &canvas);

private:
    QImage MakeBitmap();

    std::unique_ptr<TSeries> FSeries;
    std::unique_ptr<TDimensions> FDimensions;
    std::unique_ptr<TAppearance> FAppearance;
    std::unique_ptr<TXAxis> FXAxis;
    std::unique_ptr<TYAxis> FYAxis;
    bool FPlotting = false;
    bool FPainting = false;
    int32_t FLastSeries = 0;
};
