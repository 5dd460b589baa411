#include "GraphTestUtil.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace GraphTest;

TEST(Graph, CreationDefaults)
{
    TQxyGraph g;
    EXPECT_EQ(g.size(), QSize(200, 200));
    EXPECT_TRUE(g.Plotting());
    EXPECT_FALSE(g.Painting());
    EXPECT_EQ(g.SeriesHandle(), nullptr);
    EXPECT_EQ(g.LastSeriesIndex(), 0);
    EXPECT_EQ(g.frameWidth(), 1);

    const TAppearance &a = *g.Appearance();
    EXPECT_EQ(a.AxesColor(), QColor(0, 0, 0));
    EXPECT_EQ(a.GridColor(), QColor(192, 192, 192));
    EXPECT_EQ(a.GridStyle(), TPenStyle::psDot);
    EXPECT_EQ(a.BackgroundColor(), QColor(255, 255, 255));
    EXPECT_EQ(a.MarginColor(), QColor(255, 255, 255));
    EXPECT_FALSE(a.PrintBkgndColor());
    EXPECT_TRUE(a.PrintLineStyle());
    EXPECT_EQ(a.LabelFont().Name(), QStringLiteral("Arial"));
    EXPECT_EQ(a.LabelFont().Height(), 9);
    EXPECT_FALSE(a.LabelFont().Bold());
    EXPECT_EQ(a.LabelFont().Color(), QColor(0, 0, 0));

    const TDimensions &d = *g.Dimensions();
    const int dims[] = {d.TickLength(),  d.BottomMargin(),  d.LeftMargin(),      d.RightMargin(),    d.TopMargin(),
                        d.InterMargin(), d.PrintScalePct(), d.PrintXOffsetPct(), d.PrintYOffsetPct()};
    EXPECT_EQ(std::vector<int>(std::begin(dims), std::end(dims)), (std::vector<int>{4, 20, 50, 18, 10, 15, 90, 5, 20}));

    EXPECT_EQ(g.XAxis()->Min(), 0);
    EXPECT_EQ(g.XAxis()->Max(), 100);
    EXPECT_EQ(g.XAxis()->Step(), 5);
    EXPECT_TRUE(g.XAxis()->Gridlines());
    EXPECT_EQ(g.XAxis()->AxisPos(), BottomPos);
    EXPECT_EQ(g.YAxis()->Min(), -50);
    EXPECT_EQ(g.YAxis()->Max(), 50);
    EXPECT_EQ(g.YAxis()->AxisPos(), LeftPos);
    EXPECT_FALSE(g.YAxis()->Reversed());
}

TEST(Graph, SeriesChainStaysOrdered)
{
    TQxyGraph g;
    TSeries *two = g.GetSeriesInt(2);
    TSeries *one = g.GetSeriesInt(1);
    TSeries *five = g.Series(5);
    TSeries *three = g.GetSeriesInt(3);
    EXPECT_EQ(g.GetSeriesInt(2), two);
    std::vector<int> order;
    for (TSeries *s = g.SeriesHandle(); s; s = s->NextSerie())
        order.push_back(s->SeriesIndex());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(g.SeriesHandle(), one);
    EXPECT_EQ(three->NextSerie(), five);
    EXPECT_EQ(one->graph(), &g);
    EXPECT_TRUE(one->Active());
    EXPECT_EQ(one->LineColor(), QColor(255, 0, 0));
    EXPECT_EQ(one->LineStyle(), TPenStyle::psSolid);
}

TEST(Graph, FindSeriesAndClearAll)
{
    TQxyGraph g;
    EXPECT_FALSE(g.FindSeries(1));
    g.GetSeriesInt(1)->Add(1, 1);
    g.GetSeriesInt(7);
    EXPECT_TRUE(g.FindSeries(1));
    EXPECT_TRUE(g.FindSeries(7));
    EXPECT_FALSE(g.FindSeries(2));
    g.ClearAll();
    EXPECT_EQ(g.SeriesHandle(), nullptr);
    for (int i : {1, 2, 7})
        EXPECT_FALSE(g.FindSeries(i)) << i;
    EXPECT_TRUE(g.Plotting());
    EXPECT_EQ(g.GetSeriesInt(1)->PointCount(), 0);
}

TEST(Graph, ShiftSeriesMovesEveryPointAndKeepsPlotting)
{
    TQxyGraph g;
    g.GetSeriesInt(1)->Add(0, 5);
    g.GetSeriesInt(2)->Add(10, 5);
    g.ShiftSeries(-3);
    EXPECT_EQ(g.GetSeriesInt(1)->GetXYPoint(0)->x, -3);
    EXPECT_EQ(g.GetSeriesInt(2)->GetXYPoint(0)->x, 7);
    EXPECT_TRUE(g.Plotting());
}

TEST(Graph, StepZeroIsRefused)
{
    TQxyGraph g;
    g.XAxis()->SetStep(4);
    g.XAxis()->SetStep(0);
    EXPECT_EQ(g.XAxis()->Step(), 4);
    EXPECT_NO_THROW(Render(g));
}

TEST(Graph, PrintPercentagesAreClamped)
{
    TQxyGraph g;
    TDimensions &d = *g.Dimensions();
    struct Case {
        void (TDimensions::*set)(uint16_t);
        uint16_t (TDimensions::*get)() const;
        uint16_t in, out;
    };
    const Case cases[] = {
        {&TDimensions::SetPrintScalePct, &TDimensions::PrintScalePct, 5, 20},
        {&TDimensions::SetPrintScalePct, &TDimensions::PrintScalePct, 300, 100},
        {&TDimensions::SetPrintScalePct, &TDimensions::PrintScalePct, 55, 55},
        {&TDimensions::SetPrintXOffsetPct, &TDimensions::PrintXOffsetPct, 150, 100},
        {&TDimensions::SetPrintXOffsetPct, &TDimensions::PrintXOffsetPct, 0, 0},
        {&TDimensions::SetPrintYOffsetPct, &TDimensions::PrintYOffsetPct, 101, 100},
        {&TDimensions::SetPrintYOffsetPct, &TDimensions::PrintYOffsetPct, 7, 7},
    };
    for (const Case &c : cases) {
        (d.*c.set)(c.in);
        EXPECT_EQ((d.*c.get)(), c.out) << c.in;
    }
}

// A shown graph; every immediate repaint emits Painted synchronously.
class GraphRepaint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        graph.resize(300, 200);
        graph.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&graph));
        QCoreApplication::processEvents();
        spy = std::make_unique<QSignalSpy>(&graph, &TQxyGraph::Painted);
    }
    int Repaints()
    {
        const int n = spy->count();
        spy->clear();
        return n;
    }

    TQxyGraph graph;
    std::unique_ptr<QSignalSpy> spy;
};

TEST_F(GraphRepaint, AxisSettersFollowTheirRules)
{
    TXAxis &x = *graph.XAxis();
    TYAxis &y = *graph.YAxis();
    struct Case {
        const char *what;
        std::function<void()> change;
        int repaints;
    };
    const std::vector<Case> cases = {
        {"Min unchanged", [&] { x.SetMin(x.Min()); }, 0},
        {"Min changed", [&] { x.SetMin(-10); }, 1},
        {"Max unchanged", [&] { y.SetMax(y.Max()); }, 0},
        {"Max changed", [&] { y.SetMax(70); }, 1},
        {"Reversed unchanged", [&] { x.SetReversed(false); }, 0},
        {"Reversed changed", [&] { x.SetReversed(true); }, 1},
        {"Step unchanged", [&] { x.SetStep(x.Step()); }, 1},
        {"Step zero", [&] { x.SetStep(0); }, 0},
        {"Gridlines unchanged", [&] { y.SetGridlines(true); }, 1},
        {"UnitStr unchanged", [&] { y.SetUnitStr(y.UnitStr()); }, 1},
        {"AxisPos unchanged", [&] { y.SetAxisPos(LeftPos); }, 0},
        {"AxisPos changed", [&] { y.SetAxisPos(RightPos); }, 0},
        {"AxisPos top", [&] { x.SetAxisPos(TopPos); }, 0},
    };
    for (const Case &c : cases) {
        c.change();
        EXPECT_EQ(Repaints(), c.repaints) << c.what;
    }
    EXPECT_EQ(graph.Dimensions()->LeftMargin(), 18);
    EXPECT_EQ(graph.Dimensions()->TopMargin(), 20);
}

TEST_F(GraphRepaint, SettingsRepaintEvenWhenUnchanged)
{
    TDimensions &d = *graph.Dimensions();
    TAppearance &a = *graph.Appearance();
    d.SetLeftMargin(d.LeftMargin());
    EXPECT_EQ(Repaints(), 1);
    d.SetTickLength(d.TickLength());
    EXPECT_EQ(Repaints(), 1);
    a.SetGridColor(a.GridColor());
    EXPECT_EQ(Repaints(), 1);
    d.SetPrintScalePct(50);
    a.SetPrintBkgndColor(true);
    EXPECT_EQ(Repaints(), 0);

    graph.SetPlotting(false);
    EXPECT_EQ(Repaints(), 1); // turning it off draws once more
    d.SetLeftMargin(d.LeftMargin());
    a.SetAxesColor(Qt::red);
    graph.XAxis()->SetMin(-99);
    EXPECT_EQ(Repaints(), 0);
    graph.SetPlotting(true);
    EXPECT_EQ(Repaints(), 1);
}

TEST_F(GraphRepaint, LabelFontChangesRepaint)
{
    TAppearance &a = *graph.Appearance();
    a.LabelFont().SetHeight(12);
    EXPECT_EQ(Repaints(), 1);
    a.LabelFont().SetHeight(12);
    EXPECT_EQ(Repaints(), 0);
    a.LabelFont().SetBold(true);
    EXPECT_EQ(Repaints(), 1);
    TQxyFont other;
    other.SetHeight(20);
    a.SetLabelFont(other);
    EXPECT_EQ(Repaints(), 1);
    EXPECT_EQ(a.LabelFont().Height(), 20);
    EXPECT_FALSE(a.LabelFont().Bold());
}

TEST_F(GraphRepaint, SeriesChangesAndHeldUpdates)
{
    TSeries *s = graph.GetSeriesInt(1);
    EXPECT_EQ(Repaints(), 0); // creating a series does not repaint
    s->Add(0, 0);
    EXPECT_EQ(Repaints(), 1);
    s->SetLineColor(s->LineColor());
    s->SetActive(true);
    EXPECT_EQ(Repaints(), 0);
    s->SetLineStyle(TPenStyle::psDash);
    EXPECT_EQ(Repaints(), 1);

    s->SetHoldUpdates(true);
    for (int i = 0; i < 50; ++i)
        s->Add(i, i);
    s->SetZeroOffset(3);
    EXPECT_TRUE(s->UpdatesWaiting());
    EXPECT_EQ(Repaints(), 0);
    s->SetHoldUpdates(false);
    EXPECT_EQ(Repaints(), 1);

    s->SetHoldUpdates(true);
    s->SetHoldUpdates(false);
    EXPECT_EQ(Repaints(), 0);
}

TEST_F(GraphRepaint, ClearAllRepaintsOnceAndShiftNever)
{
    graph.GetSeriesInt(1)->Add(0, 0);
    graph.GetSeriesInt(2)->Add(0, 0);
    graph.GetSeriesInt(3)->Add(0, 0);
    Repaints();
    graph.ShiftSeries(-1);
    EXPECT_EQ(Repaints(), 0);
    graph.ClearAll();
    EXPECT_EQ(Repaints(), 1);
    graph.SetPlotting(false);
    Repaints();
    graph.GetSeriesInt(1)->Add(0, 0);
    graph.ClearAll();
    EXPECT_EQ(Repaints(), 0);
}

namespace
{

// A surface that runs a callback at its first line, in the middle of a drawing.
class TReentrantEngine : public QPaintEngine
{
public:
    TReentrantEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::function<void()> During;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override
    {
        if (During)
            std::exchange(During, nullptr)();
    }
    Type type() const override { return QPaintEngine::User; }
};

class TReentrantDevice : public QPaintDevice
{
public:
    mutable TReentrantEngine engine;
    QPaintEngine *paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 300;
        case PdmHeight:
            return 200;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return 1;
        }
    }
};

} // namespace

TEST_F(GraphRepaint, NoScreenPaintNorClipboardCopyWhileADrawingIsUnderWay)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    TReentrantDevice device;
    bool called = false, painting = false;
    int paintsDuring = -1;
    QString textDuring;
    device.engine.During = [&] {
        called = true;
        painting = graph.Painting();
        graph.repaint();
        paintsDuring = Repaints();
        graph.CopyToClipboard();
        textDuring = clipboard->text();
    };
    {
        QPainter canvas(&device);
        graph.DrawGraph(canvas, true);
    }
    ASSERT_TRUE(called);
    EXPECT_TRUE(painting);
    EXPECT_EQ(paintsDuring, 0);
    EXPECT_EQ(textDuring, QStringLiteral("before"));
    EXPECT_FALSE(graph.Painting());
    // Once the drawing is over, both work again.
    graph.repaint();
    EXPECT_EQ(Repaints(), 1);
    graph.CopyToClipboard();
    EXPECT_FALSE(clipboard->image().isNull());
}

TEST(Graph, ScreenShowsTheExportDrawingInsideTheBorder)
{
    auto g = MakeGraph(300, 200);
    TSeries *s = g->GetSeriesInt(1);
    s->Add(0, -50);
    s->Add(100, 50);
    const QImage screen = g->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage image = Render(*g);
    ASSERT_EQ(screen.size(), QSize(302, 202));
    EXPECT_EQ(screen.copy(1, 1, 300, 200), image.copy(0, 0, 300, 200));
}
