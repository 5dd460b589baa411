#include "GraphTestUtil.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QPainter>

using namespace GraphTest;

namespace
{

QString L(const char *text)
{
    // Labels follow the user's decimal separator.
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

void ExpectLabel(const QImage &img, const TQxyGraph &g, const QString &text, int x, int y)
{
    QString why;
    EXPECT_TRUE(LabelAt(img, g, text, x, y, Margin, &why)) << why.toStdString();
}

} // namespace

TEST(GraphDraw, NewGraphLayoutAndLabels)
{
    TQxyGraph g; // 200 x 200 outer, creation colours
    ASSERT_EQ(g.ClientWidth(), 198);
    ASSERT_EQ(g.ClientHeight(), 198);
    QImage img = Render(g);
    EXPECT_EQ(img.size(), QSize(200, 200));
    const TXAxis &X = *g.XAxis();
    EXPECT_EQ(X.xk0(), 50);
    EXPECT_EQ(X.yk0(), 10);
    EXPECT_EQ(X.xk1(), 180);
    EXPECT_EQ(X.yk1(), 178);
    EXPECT_EQ(g.YAxis()->xk1(), 180);

    const QColor black(0, 0, 0), white(255, 255, 255), silver(192, 192, 192);
    // Axis lines: bottom row and left column, black; the top frame line,
    // drawn after the vertical axis, starts on its corner pixel.
    for (int x = 50; x < 180; ++x)
        ASSERT_EQ(At(img, x, 178), black) << x;
    // Each gridline, drawn after the axis, starts on the axis pixel too.
    for (int y = 11; y < 178; ++y)
        ASSERT_EQ(At(img, 50, y), (y - 10) % 33 == 0 && y < 175 ? silver : black) << y;
    EXPECT_EQ(At(img, 50, 10), silver);
    // Frame lines on the top and right, silver dots.
    EXPECT_GT(CountColor(img, silver, QRect(51, 10, 129, 1)), 20);
    EXPECT_GT(CountColor(img, silver, QRect(180, 11, 1, 167)), 20);
    EXPECT_EQ(At(img, 100, 100), white);

    // Labels 0.0 .. 10.0 every 26 pixels, 5.0 .. -5.0 every 33 pixels.
    const char *xLabels[] = {"0.0", "2.0", "4.0", "6.0", "8.0", "10.0"};
    const char *yLabels[] = {"5.0", "3.0", "1.0", "-1.0", "-3.0", "-5.0"};
    for (int i = 0; i <= 5; ++i) {
        QString why;
        EXPECT_TRUE(LabelAt(img, g, L(xLabels[i]), 50 + 26 * i, 182, white, &why)) << why.toStdString();
        EXPECT_TRUE(LabelAt(img, g, L(yLabels[i]), 25, 10 + 33 * i - 4, white, &why)) << why.toStdString();
    }
}

TEST(GraphDraw, SequencerRangesLabelsAndCaptions)
{
    auto g = MakeGraph(485, 243);
    g->XAxis()->SetMin(-1000);
    g->XAxis()->SetMax(0);
    g->XAxis()->SetUnitStr(QStringLiteral("Time (S)"));
    g->YAxis()->SetMin(-935);
    g->YAxis()->SetMax(0);
    g->YAxis()->SetUnitStr(QStringLiteral("Gain (dB)"));
    const QImage img = Render(*g);
    // Plot 50..467 x 10..223: dx = 417 / 5 = 83, dy = 213 / 5 = 42.
    const char *xLabels[] = {"-100.0", "-80.0", "-60.0", "-40.0", "-20.0", "0.0"};
    const char *yLabels[] = {"0.0", "-18.7", "-37.4", "-56.1", "-74.8", "-93.5"};
    for (int i = 0; i <= 5; ++i) {
        ExpectLabel(img, *g, L(xLabels[i]), 50 + 83 * i, 227);
        ExpectLabel(img, *g, L(yLabels[i]), 25, 10 + 42 * i - 4);
    }
    ExpectLabel(img, *g, QStringLiteral("Time (S)"), 50 + 417 / 10, 227);
    ExpectLabel(img, *g, QStringLiteral("Gain (dB)"), 25, 10 + 213 / 10 - 4);
}

TEST(GraphDraw, InnerDivisionsTicksAndGridlines)
{
    auto g = MakeGraph(481, 200); // plot 413 wide, 170 high
    const QImage img = Render(*g);
    const int x0 = 50, x1 = 463, y0 = 10, y1 = 180;
    for (int i = 1; i < 5; ++i) {
        const int xi = x0 + 82 * i;
        // Tick below the axis in the axes colour, gridline across the plot.
        for (int y = y1 + 1; y < y1 + 4; ++y)
            EXPECT_EQ(At(img, xi, y), Axes) << i;
        EXPECT_EQ(CountColor(img, Grid, QRect(xi, y0 + 1, 1, y1 - y0 - 1)), y1 - y0 - 1) << i;
        const int yi = y0 + 34 * i;
        for (int x = x0 - 3; x < x0; ++x)
            EXPECT_EQ(At(img, x, yi), Axes) << i;
        EXPECT_EQ(CountColor(img, Grid, QRect(x0 + 1, yi, x1 - x0 - 1, 1)), x1 - x0 - 1) << i;
    }
    // The last division (x0 + 410) has its label but no gridline; the axis
    // runs on to x0 + 413, where the frame line and end tick stand.
    EXPECT_EQ(At(img, x0 + 410, 100), Backgr);
    EXPECT_EQ(At(img, x1, 100), Grid);
    EXPECT_EQ(At(img, x1, y1 + 2), Axes);
    ExpectLabel(img, *g, L("10.0"), x0 + 410, y1 + 4);
    // Plot background from the row under the top edge, right column excluded.
    EXPECT_EQ(At(img, x0 + 1, y0 + 1), Backgr);
    EXPECT_EQ(At(img, x0 + 1, y1 - 1), Backgr);
    EXPECT_EQ(At(img, x1 + 1, 100), Margin);
}

TEST(GraphDraw, StepOneHasNoInnerDivisions)
{
    auto g = MakeGraph(300, 200);
    g->XAxis()->SetStep(1);
    g->YAxis()->SetStep(1);
    const QImage img = Render(*g);
    const QRect inside(51, 11, 300 - 18 - 51, 200 - 20 - 11);
    EXPECT_EQ(CountColor(img, Backgr, inside), inside.width() * inside.height());
    // Axis and both frame lines.
    EXPECT_EQ(At(img, 50, 100), Axes);
    EXPECT_EQ(At(img, 100, 180), Axes);
    EXPECT_EQ(At(img, 282, 100), Grid);
    EXPECT_EQ(At(img, 100, 10), Grid);
    ExpectLabel(img, *g, L("0.0"), 50, 184);
    ExpectLabel(img, *g, L("10.0"), 282, 184);
    ExpectLabel(img, *g, L("5.0"), 25, 10 - 4);
    ExpectLabel(img, *g, L("-5.0"), 25, 180 - 4);
}

TEST(GraphDraw, GridlinesOffLeavesOnlyTheAxisLines)
{
    auto g = MakeGraph(300, 200);
    g->XAxis()->SetGridlines(false);
    g->YAxis()->SetGridlines(false);
    const QImage img = Render(*g);
    EXPECT_EQ(CountColor(img, Grid), 0);
    EXPECT_EQ(At(img, 282, 100), Margin); // no frame line on the right
    EXPECT_EQ(At(img, 100, 10), Margin);  // nor on the top
    EXPECT_EQ(At(img, 50, 100), Axes);
    EXPECT_EQ(At(img, 100, 180), Axes);
    // Inner ticks stay.
    EXPECT_EQ(At(img, 50 + 46, 182), Axes);
}

TEST(GraphDraw, EachAxisGovernsItsOwnGridAndOppositeFrame)
{
    auto g = MakeGraph(300, 200);
    g->YAxis()->SetGridlines(false);
    const QImage img = Render(*g);
    EXPECT_EQ(At(img, 282, 100), Grid); // horizontal axis: frame on the right
    EXPECT_EQ(At(img, 50 + 46, 100), Grid);
    EXPECT_EQ(At(img, 100, 10), Margin); // vertical axis: no top frame
    EXPECT_EQ(At(img, 100, 10 + 34), Backgr);
}

TEST(GraphDraw, VerticalAxisOnTheRight)
{
    auto g = MakeGraph(300, 200);
    g->YAxis()->SetAxisPos(RightPos);
    EXPECT_EQ(g->Dimensions()->LeftMargin(), 18);
    EXPECT_EQ(g->Dimensions()->RightMargin(), 40);
    const QImage img = Render(*g);
    const int x0 = 18, x1 = 260;
    for (int y = 10; y < 180; ++y)
        ASSERT_EQ(At(img, x1, y), Axes) << y;
    EXPECT_EQ(At(img, x0, 100), Grid);         // frame now on the left
    EXPECT_EQ(At(img, x1 + 2, 10 + 34), Axes); // ticks point right
    EXPECT_EQ(At(img, x1 - 2, 10 + 34), Grid);
    ExpectLabel(img, *g, L("5.0"), x1 + 20, 10 - 4);
    ExpectLabel(img, *g, L("-5.0"), x1 + 20, 180 - 4);
    EXPECT_EQ(CountColor(img, QColor(0, 0, 0), QRect(0, 0, x0, 200)), 0); // no labels left
}

TEST(GraphDraw, HorizontalAxisOnTheTop)
{
    auto g = MakeGraph(300, 200);
    g->XAxis()->SetAxisPos(TopPos);
    EXPECT_EQ(g->Dimensions()->TopMargin(), 20);
    EXPECT_EQ(g->Dimensions()->BottomMargin(), 10);
    const QImage img = Render(*g);
    const int y0 = 20, y1 = 190;
    EXPECT_EQ(At(img, 100, y0), Axes);
    EXPECT_EQ(At(img, 100, y1), Grid); // frame at the bottom
    EXPECT_EQ(At(img, 50 + 46, y0 - 2), Axes);
    ExpectLabel(img, *g, L("0.0"), 50, (y0 - 9) / 2);
}

TEST(GraphDraw, BlackOnWhite)
{
    auto g = MakeGraph(300, 200);
    QImage img(g->size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    {
        QPainter p(&img);
        g->DrawGraph(p, false);
    }
    const QColor black(0, 0, 0), white(255, 255, 255);
    EXPECT_EQ(CountColor(img, Margin) + CountColor(img, Backgr) + CountColor(img, Axes) + CountColor(img, Grid), 0);
    EXPECT_EQ(At(img, 5, 5), white);
    EXPECT_EQ(At(img, 100, 100), white);
    EXPECT_EQ(At(img, 50, 100), black);
    EXPECT_EQ(At(img, 50 + 46, 100), black); // gridline, black in grid style
    EXPECT_TRUE(LabelAt(img, *g, L("0.0"), 50, 184, white));
}

TEST(GraphDraw, LabelBoxesAreOpaqueInTheMarginColour)
{
    auto g = MakeGraph(300, 200);
    g->Appearance()->LabelFont().SetColor(QColor(128, 0, 128));
    g->Dimensions()->SetTickLength(0); // the label row starts on the axis line
    const QImage img = Render(*g);
    EXPECT_TRUE(LabelAt(img, *g, L("2.0"), 50 + 46, 180, Margin));
    EXPECT_EQ(At(img, 50 + 46, 180), Margin); // axis line hidden under the box
    EXPECT_EQ(At(img, 50 + 23, 180), Axes);   // and visible between labels
    int purple = 0;                           // text pixels, blended with the box by antialiasing
    for (int y = 180; y < 192; ++y)
        for (int x = 86; x < 106; ++x)
            purple += At(img, x, y).red() > At(img, x, y).green() + 60;
    EXPECT_GT(purple, 5);
}
