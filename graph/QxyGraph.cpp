#include "graph/QxyGraph.h"

#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QPen>

TQxyGraph::TQxyGraph(QWidget *AOwner) : QFrame(AOwner)
{
    resize(200, 200);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    QFont controlFont(QStringLiteral("Arial"));
    controlFont.setPixelSize(9);
    controlFont.setBold(false);
    controlFont.setItalic(false);
    setFont(controlFont);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    FAppearance = std::make_unique<TAppearance>(this);
    FAppearance->FLabelFont.Assign(controlFont, Qt::black);
    FDimensions = std::make_unique<TDimensions>(this);
    FXAxis = std::make_unique<TXAxis>(this);
    FYAxis = std::make_unique<TYAxis>(this);
    FPlotting = true;

    TAppearance &look = *FAppearance;
    look.FAxesColor = Qt::black;
    look.FGridColor = QColor(192, 192, 192);
    look.FGridStyle = TPenStyle::psDot;
    look.FBkgdColor = Qt::white;
    look.FMarginColor = Qt::white;
    look.FPrintLineStyle = true;

    TDimensions &dims = *FDimensions;
    dims.FTMLength = 4;
    dims.FBottomMargin = 20;
    dims.FLeftMargin = 50;
    dims.FRightMargin = 18;
    dims.FTopMargin = 10;
    dims.FInterMargin = 15;
    dims.FScalePct = 90;
    dims.FXOffsetPct = 5;
    dims.FYOffsetPct = 20;

    FXAxis->FMin = 0;
    FXAxis->FMax = 100;
    FXAxis->FStep = 5;
    FXAxis->FGridLines = true;
    FXAxis->FAxisPos = BottomPos;
    FYAxis->FMin = -50;
    FYAxis->FMax = 50;
    FYAxis->FStep = 5;
    FYAxis->FGridLines = true;
    FYAxis->FAxisPos = LeftPos;
}

TQxyGraph::~TQxyGraph()
{
    FPlotting = false;
    while (FSeries)
        FSeries = std::move(FSeries->FNextSerie);
    FYAxis.reset();
    FXAxis.reset();
    FDimensions.reset();
    FAppearance.reset();
}

void TQxyGraph::SetPlotting(bool value)
{
    FPlotting = value;
    RepaintNow();
}

TSeries *TQxyGraph::GetSeriesInt(int32_t i)
{
    std::unique_ptr<TSeries> *slot = &FSeries;
    while (*slot && (*slot)->SeriesIndex() < i)
        slot = &(*slot)->FNextSerie;
    if (*slot && (*slot)->SeriesIndex() == i)
        return slot->get();
    auto created = std::make_unique<TSeries>(this, i);
    created->FNextSerie = std::move(*slot);
    *slot = std::move(created);
    return slot->get();
}

bool TQxyGraph::FindSeries(int32_t i) const
{
    for (TSeries *s = FSeries.get(); s; s = s->NextSerie())
        if (s->SeriesIndex() == i)
            return true;
    return false;
}

void TQxyGraph::ShiftSeries(int32_t X)
{
    const bool plotting = FPlotting;
    FPlotting = false;
    for (TSeries *s = FSeries.get(); s; s = s->NextSerie())
        s->SetXoffset(X);
    FPlotting = plotting;
}

void TQxyGraph::ClearAll()
{
    const bool plotting = FPlotting;
    FPlotting = false;
    while (FSeries)
        FSeries = std::move(FSeries->FNextSerie);
    FPlotting = plotting;
    if (FPlotting)
        RepaintNow();
}

int TQxyGraph::ClientWidth() const
{
    return contentsRect().width();
}

int TQxyGraph::ClientHeight() const
{
    return contentsRect().height();
}

void TQxyGraph::ClipToPlotArea(QPainter &canvas) const
{
    const int left = FDimensions->LeftMargin();
    const int top = FDimensions->TopMargin();
    const int right = ClientWidth() - FDimensions->RightMargin();
    const int bottom = ClientHeight() - FDimensions->BottomMargin();
    canvas.setClipRect(QRect(left, top, std::max(0, right - left), std::max(0, bottom - top)));
}

void TQxyGraph::ClipToClient(QPainter &canvas) const
{
    canvas.setClipRect(QRect(0, 0, ClientWidth(), ClientHeight()));
}

void TQxyGraph::PlaceAxes()
{
    const int x0 = FDimensions->LeftMargin();
    const int y0 = FDimensions->TopMargin();
    const int x1 = ClientWidth() - FDimensions->RightMargin();
    const int y1 = ClientHeight() - FDimensions->BottomMargin();
    FXAxis->SetPosition(x0, y0, x1, y1);
    FYAxis->SetPosition(x0, y0, x1, y1);
}

void TQxyGraph::DrawGraph(QPainter &canvas, bool Colored)
{
    struct PaintingFlag {
        bool &flag;
        explicit PaintingFlag(bool &f) : flag(f) { flag = true; }
        ~PaintingFlag() { flag = false; }
    } painting(FPainting);

    PlaceAxes();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::black);
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    canvas.setPen(pen);
    ClipToClient(canvas);
    canvas.fillRect(QRect(0, 0, ClientWidth(), ClientHeight()),
                    Colored ? FAppearance->MarginColor() : QColor(Qt::white));
    FXAxis->Draw(canvas, Colored);
    FYAxis->Draw(canvas, Colored);
    for (TSeries *s = FSeries.get(); s; s = s->NextSerie())
        s->Draw(canvas, Colored);
}

void TQxyGraph::RepaintNow()
{
    repaint();
}

void TQxyGraph::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter canvas(this);
    canvas.translate(contentsRect().topLeft());
    Paint(canvas);
}

void TQxyGraph::Paint(QPainter &canvas)
{
    if (FPainting)
        return;
    DrawGraph(canvas, true);
    emit Painted();
}
