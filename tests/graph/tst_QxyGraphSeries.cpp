#include "GraphTestUtil.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QPicture>

using namespace GraphTest;

namespace
{

// Plot 50..450 x 10..210, axes 0..400 and 0..200: one unit per pixel.
std::unique_ptr<TQxyGraph> UnitGraph()
{
    auto g = MakeGraph(468, 230);
    g->XAxis()->SetMin(0);
    g->XAxis()->SetMax(400);
    g->YAxis()->SetMin(0);
    g->YAxis()->SetMax(200);
    g->XAxis()->SetGridlines(false);
    g->YAxis()->SetGridlines(false);
    return g;
}

const QRect Plot(50, 10, 400, 200); // right and bottom edges excluded

} // namespace

TEST(SeriesDraw, PointsMapToPixels)
{
    auto g = UnitGraph();
    TSeries *s = g->GetSeriesInt(1);
    s->Add(100, 50);  // -> (150, 160)
    s->Add(300, 50);  // -> (350, 160)
    s->Add(300, 150); // -> (350, 60)
    const QImage img = Render(*g);
    for (int x = 150; x < 350; ++x)
        ASSERT_EQ(At(img, x, 160), Red) << x;
    for (int y = 61; y < 160; ++y)
        ASSERT_EQ(At(img, 350, y), Red) << y;
    // One pixel wide, nothing else: the corner pixels are the rasteriser's.
    const int red = CountColor(img, Red);
    EXPECT_GE(red, 299);
    EXPECT_LE(red, 301);
    EXPECT_EQ(CountColor(img, Red, QRect(150, 60, 201, 101)), red);
}

TEST(SeriesDraw, OnePointDrawsNothing)
{
    auto g = UnitGraph();
    g->GetSeriesInt(1)->Add(200, 100);
    EXPECT_EQ(CountColor(Render(*g), Red), 0);
}

TEST(SeriesDraw, InactiveSeriesIsNotDrawnButKeepsItsPoints)
{
    auto g = UnitGraph();
    TSeries *s = g->GetSeriesInt(1);
    s->Add(0, 100);
    s->Add(400, 100);
    s->SetActive(false);
    EXPECT_EQ(CountColor(Render(*g), Red), 0);
    EXPECT_EQ(s->PointCount(), 2);
    s->SetActive(true);
    EXPECT_GT(CountColor(Render(*g), Red), 0);
}

TEST(SeriesDraw, OnlyTheLast3000PointsAreDrawn)
{
    for (int count : {3000, 3001}) {
        auto g = UnitGraph();
        g->XAxis()->SetMax(4000);
        TSeries *s = g->GetSeriesInt(1);
        // Point 0 is high on the left; the rest run along a low row.
        s->Add(0, 190);
        for (int i = 1; i < count; ++i)
            s->Add(i, 20);
        const QImage img = Render(*g);
        const int upper = CountColor(img, Red, QRect(50, 10, 400, 150));
        if (count == 3000)
            EXPECT_GT(upper, 100) << "point 0 drawn";
        else
            EXPECT_EQ(upper, 0) << "point 0 left out";
        EXPECT_GT(CountColor(img, Red, QRect(50, 190, 400, 1)), 250) << count;
    }
}

TEST(SeriesDraw, FarOffPointsAreClippedAtThePlotEdge)
{
    // A narrow range multiplies the distance of far-off points.
    struct Case {
        int xMax;
        TPenStyle style;
    };
    const Case cases[] = {{400, TPenStyle::psSolid}, {1, TPenStyle::psSolid}, {1, TPenStyle::psDash}};
    for (const Case &c : cases) {
        auto g = UnitGraph();
        g->XAxis()->SetMax(c.xMax);
        TSeries *s = g->GetSeriesInt(1);
        s->SetLineStyle(c.style);
        s->Add(-5000000, 100);
        s->Add(0, 100);
        s->Add(INT32_MAX, 100);
        s->Add(INT32_MAX, INT32_MIN);
        s->Add(INT32_MIN, INT32_MAX);
        const QImage img = Render(*g);
        // The row through the middle is drawn up to the edges.
        if (c.style == TPenStyle::psSolid) {
            EXPECT_EQ(At(img, 50, 110), Red) << c.xMax;
            EXPECT_EQ(At(img, 449, 110), Red) << c.xMax;
        }
        EXPECT_GT(CountColor(img, Red, QRect(50, 110, 400, 1)), 200) << c.xMax;
        EXPECT_EQ(CountColor(img, Red), CountColor(img, Red, Plot)) << c.xMax;
    }
}

TEST(SeriesDraw, PointsBeyondTheRangeStillDrawTowardsIt)
{
    auto g = UnitGraph();
    TSeries *s = g->GetSeriesInt(1);
    s->Add(200, 100); // (250, 110)
    s->Add(600, 100); // (650, 110): outside, line runs to the edge
    const QImage img = Render(*g);
    EXPECT_EQ(CountColor(img, Red, QRect(250, 110, 200, 1)), 200);
    EXPECT_EQ(CountColor(img, Red, QRect(450, 0, 18, 232)), 0);
}

TEST(SeriesDraw, TinyAndEmptyControlsDrawWithoutFailing)
{
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(30, 12), QSize(68, 30)}) {
        auto g = MakeGraph(size.width(), size.height());
        TSeries *s = g->GetSeriesInt(1);
        s->Add(0, 0);
        s->Add(400, 200);
        const QImage img = Render(*g);
        EXPECT_EQ(img.size(), g->size());
        QPicture wmf;
        g->FillMetafile(wmf);
    }
}

TEST(SeriesDraw, FailedScalingLeavesTheRestDrawn)
{
    auto g = UnitGraph();
    g->XAxis()->SetMin(400); // Min equal to Max
    TSeries *s = g->GetSeriesInt(1);
    s->Add(0, 100);
    s->Add(10, 20);
    QImage img;
    ASSERT_NO_THROW(img = Render(*g));
    EXPECT_EQ(CountColor(img, Red), 0);
    EXPECT_EQ(At(img, 50, 100), Axes);
    EXPECT_EQ(At(img, 100, 210), Axes);
    // All labels equal, still drawn.
    EXPECT_TRUE(LabelAt(img, *g, QStringLiteral("40") + QLocale().decimalPoint() + "0", 50, 214, Margin));
}

TEST(SeriesDraw, HigherIndexIsDrawnOverLowerAndStylesApply)
{
    auto g = UnitGraph();
    TSeries *blue = g->GetSeriesInt(2);
    TSeries *red = g->GetSeriesInt(1);
    blue->SetLineColor(Blue);
    for (TSeries *s : {red, blue}) {
        s->Add(0, 100);
        s->Add(400, 100);
    }
    QImage img = Render(*g);
    EXPECT_EQ(CountColor(img, Blue, QRect(50, 110, 400, 1)), 400);
    EXPECT_EQ(CountColor(img, Red), 0);

    blue->SetLineStyle(TPenStyle::psClear);
    img = Render(*g);
    EXPECT_EQ(CountColor(img, Red, QRect(50, 110, 400, 1)), 400);
    red->SetLineStyle(TPenStyle::psDash);
    img = Render(*g);
    const int dashed = CountColor(img, Red, QRect(50, 110, 400, 1));
    EXPECT_GT(dashed, 100);
    EXPECT_LT(dashed, 400);
}

TEST(SeriesDraw, ZeroOffsetShiftsTheLine)
{
    auto g = UnitGraph();
    TSeries *s = g->GetSeriesInt(1);
    s->SetAutoZero(true);
    s->Add(0, 150); // stored as 0: the bottom edge
    s->Add(400, 150);
    const QImage img = Render(*g);
    EXPECT_EQ(CountColor(img, Red, QRect(50, 210, 400, 1)), 0); // bottom edge is clipped
    s->SetZeroOffset(50);
    const QImage img2 = Render(*g);
    EXPECT_EQ(CountColor(img2, Red, QRect(50, 110, 400, 1)), 400);
}
