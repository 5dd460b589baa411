#include "graph/QxyGraphMath.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>

using namespace QxyMath;

TEST(GraphMath, MapsRangeEndsOntoPlotEdges)
{
    // Horizontal: Min on the left edge, Max on the right edge.
    EXPECT_EQ(MapX(-1000, -1000, 0, 50, 465), 50);
    EXPECT_EQ(MapX(0, -1000, 0, 50, 465), 465);
    // Vertical: Max on the top edge, Min on the bottom edge.
    EXPECT_EQ(MapY(0, -935, 0, 10, 240), 10);
    EXPECT_EQ(MapY(-935, -935, 0, 10, 240), 240);
}

TEST(GraphMath, MappingTruncatesTowardZero)
{
    // 1 * 415 / 1000 = 0.415 -> 0; -1 * 415 / 1000 = -0.415 -> 0 (not -1).
    EXPECT_EQ(MapX(-999, -1000, 0, 50, 465), 50);
    EXPECT_EQ(MapX(-1001, -1000, 0, 50, 465), 50);
    EXPECT_EQ(MapX(-3, -1000, 0, 50, 465), 50 + 997 * 415 / 1000);
    // (y - Max)(y1 - y0)/(Min - Max): (-123)(230)/(-935) = 30.25 -> 30.
    EXPECT_EQ(MapY(-123, -935, 0, 10, 240), 40);
}

TEST(GraphMath, FarOffPointsMapWithoutOverflow)
{
    const auto px = MapX(INT32_MAX, INT32_MIN, INT32_MIN + 1, 0, 1000);
    ASSERT_TRUE(px.has_value());
    EXPECT_EQ(*px, (int64_t(INT32_MAX) - INT32_MIN) * 1000);
    const auto py = MapY(INT32_MIN, 0, 10, 0, 100);
    ASSERT_TRUE(py.has_value());
    EXPECT_EQ(*py, (int64_t(INT32_MIN) - 10) * 100 / -10);
}

TEST(GraphMath, EqualMinAndMaxCannotBeMapped)
{
    EXPECT_FALSE(MapX(5, 7, 7, 0, 100).has_value());
    EXPECT_FALSE(MapY(5, 7, 7, 0, 100).has_value());
}

TEST(GraphMath, DivisionsStepByTruncatedWidth)
{
    // 413 pixels over 5 steps: divisions at 0, 82, ..., 410, axis ends at 413.
    const int expected[] = {0, 82, 164, 246, 328, 410};
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(DivisionOffset(413, 5, i), expected[i]) << i;
    EXPECT_EQ(DivisionOffset(413, 1, 1), 413);
}

TEST(GraphMath, FirstDrawnPointKeepsTheLast3000)
{
    EXPECT_EQ(FirstDrawnPoint(0), 0);
    EXPECT_EQ(FirstDrawnPoint(3000), 0);
    EXPECT_EQ(FirstDrawnPoint(3001), 1);
    EXPECT_EQ(FirstDrawnPoint(10000), 7000);
}

namespace
{
QStringList Labels(bool horizontal, int min, int max, uint16_t step)
{
    QStringList out;
    const QLocale c(QLocale::C);
    for (int i = 0; i <= step; ++i)
        out << FormatLabel(horizontal ? HorizontalLabelValue(min, max, step, i) : VerticalLabelValue(min, max, step, i),
                           c);
    return out;
}
} // namespace

TEST(GraphMath, LabelRows)
{
    struct Case {
        bool horizontal;
        int min, max;
        uint16_t step;
        QStringList expected;
    };
    const Case cases[] = {
        {true, 0, 100, 5, {"0.0", "2.0", "4.0", "6.0", "8.0", "10.0"}},
        {false, -50, 50, 5, {"5.0", "3.0", "1.0", "-1.0", "-3.0", "-5.0"}},
        {true, -1000, 0, 5, {"-100.0", "-80.0", "-60.0", "-40.0", "-20.0", "0.0"}},
        {false, -935, 0, 5, {"0.0", "-18.7", "-37.4", "-56.1", "-74.8", "-93.5"}},
        {true, 3, 9, 1, {"0.3", "0.9"}},
        {false, 7, 7, 2, {"0.7", "0.7", "0.7"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Labels(c.horizontal, c.min, c.max, c.step), c.expected) << c.min << ".." << c.max;
}

TEST(GraphMath, LabelRoundingAndSigns)
{
    const QLocale c(QLocale::C);
    struct Case {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {0.0, "0.0"}, {-0.4, "0.0"},         {0.5, "0.1"},           {-0.5, "-0.1"},
        {5.0, "0.5"}, {-12345.0, "-1234.5"}, {2.5e9, "250000000.0"}, {99.5, "10.0"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(FormatLabel(k.value, c), QString::fromLatin1(k.text)) << k.value;
}

TEST(GraphMath, LabelUsesLocaleDecimalSeparatorWithoutGrouping)
{
    EXPECT_EQ(FormatLabel(-12345.0, QLocale(QLocale::German)), QStringLiteral("-1234,5"));
    EXPECT_EQ(FormatLabel(10000.0, QLocale(QLocale::French)), QStringLiteral("1000,0"));
}

TEST(GraphMath, RoundedQuotientHalvesAwayFromZero)
{
    EXPECT_EQ(RoundedQuotient(5, 2), 3);
    EXPECT_EQ(RoundedQuotient(-5, 2), -3);
    EXPECT_EQ(RoundedQuotient(7, 3), 2);
    EXPECT_EQ(RoundedQuotient(8, 3), 3);
    EXPECT_EQ(RoundedQuotient(-8, 3), -3);
    EXPECT_EQ(RoundedQuotient(5, -2), -3);
}

TEST(GraphMath, PrintFit)
{
    struct Case {
        int64_t bw, bh, pw, ph, w, h;
    };
    const Case cases[] = {
        {485, 243, 4960, 7016, 4960, 2485},                         // wider than the page: full width
        {243, 485, 4960, 7016, 3515, 7016},                         // 243 * 7016 / 485 = 3515.3
        {100, 100, 300, 300, 300, 300},         {3, 2, 5, 3, 5, 3}, // 3 * 3 / 2 = 4.5 -> 5
        {200000, 1, 100000, 100000, 100000, 1},                     // 1 * 100000 / 200000 = 0.5 -> 1
    };
    for (const Case &c : cases) {
        const auto fit = FitToPage(c.bw, c.bh, c.pw, c.ph);
        ASSERT_TRUE(fit.has_value());
        EXPECT_EQ(fit->Width, c.w) << c.bw << "x" << c.bh;
        EXPECT_EQ(fit->Height, c.h) << c.bw << "x" << c.bh;
    }
    // Products beyond 32 bits.
    const auto big = FitToPage(3000000, 70000, 4000000, 8000000);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->Height, 93333);
    EXPECT_FALSE(FitToPage(0, 10, 100, 100).has_value());
    EXPECT_FALSE(FitToPage(10, 10, 100, 0).has_value());
}
