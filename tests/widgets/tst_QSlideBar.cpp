#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/QSlideBar.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace
{

const QRgb Grey = qRgb(128, 128, 128);
const QRgb White = qRgb(255, 255, 255);
const QRgb Silver = qRgb(192, 192, 192);

TEST(SlideBar, NewBarDefaults)
{
    TQSlideBar bar;
    EXPECT_EQ(bar.Min(), 1);
    EXPECT_EQ(bar.Max(), 10);
    EXPECT_EQ(bar.Position(), 1);
    EXPECT_EQ(bar.ThumbStyle(), tsCircle1);
    EXPECT_FALSE(bar.Ticks());
    EXPECT_EQ(bar.Style(), bsLowered);
    EXPECT_EQ(bar.Thickness(), 1);
    EXPECT_EQ(bar.FocusColor(), QColor(Qt::black));
    EXPECT_TRUE(bar.HandCursor());
    EXPECT_EQ(bar.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(bar.size(), QSize(100, 15));
    EXPECT_TRUE(bar.focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(bar.HalfTW(), 4);
    EXPECT_EQ(bar.HalfTH(), 4);
}

TEST(SlideBar, EveryPositionWriteRaisesOnChange)
{
    TQSlideBar bar;
    QSignalSpy spy(&bar, &TQSlideBar::OnChange);
    const struct {
        int written, position;
    } writes[] = {{5, 5}, {5, 5}, {12, 5}, {0, 5}, {10, 10}, {1, 1}};
    int expected = 0;
    for (const auto &w : writes) {
        SCOPED_TRACE(w.written);
        bar.SetPosition(w.written);
        EXPECT_EQ(bar.Position(), w.position);
        EXPECT_EQ(spy.count(), ++expected);
    }
    EXPECT_EQ(spy.at(0).at(0).value<QObject *>(), &bar);
}

TEST(SlideBar, LimitsDoNotMoveThePosition)
{
    TQSlideBar bar;
    QSignalSpy spy(&bar, &TQSlideBar::OnChange);
    bar.SetPosition(8);
    bar.SetMax(5);
    EXPECT_EQ(bar.Position(), 8);
    bar.SetMin(9);
    EXPECT_EQ(bar.Position(), 8);
    EXPECT_EQ(spy.count(), 1);
}

TEST(SlideBar, ThicknessOutsideOneToFiveIsIgnored)
{
    TQSlideBar bar;
    for (int t : {3, 0, 6, -1, 5}) {
        bar.SetThickness(t);
    }
    EXPECT_EQ(bar.Thickness(), 5);
}

TEST(SlideBar, ThumbStylesLoadTheirPictures)
{
    const struct {
        TThumbStyle style;
        QSize size;
    } cases[] = {{tsBar1, {5, 10}}, {tsCircle1, {8, 8}}, {tsSquare1, {8, 8}}, {tsDiamond1, {8, 8}}};
    TQSlideBar bar;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.style);
        bar.SetThumbStyle(c.style);
        EXPECT_EQ(bar.ThumbBmp().size(), c.size);
        EXPECT_EQ(bar.MaskBmp().size(), c.size);
        EXPECT_EQ(bar.HalfTW(), c.size.width() / 2);
        EXPECT_EQ(bar.HalfTH(), c.size.height() / 2);
        EXPECT_EQ(bar.ThumbBmp(), LoadWidgetBitmap(TQSlideBar::ThumbName(c.style)));
    }
}

TEST(SlideBar, PixelToValueRoundsAndClamps)
{
    TQSlideBar bar;
    bar.SetMin(0);
    bar.SetMax(935);
    bar.SetThumbStyle(tsBar1);
    bar.resize(73, 15); // span = 73 - 2 = 71
    const struct {
        int x, value;
    } cases[] = {{0, 0}, {71, 935}, {200, 935}, {-5, 0}, {1, 13}, {35, 461}, {36, 474}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(bar.PixelToValue(c.x), c.value);
    }
}

TEST(SlideBar, KeyboardTable)
{
    const struct {
        int min, max, start, key, position, events;
    } cases[] = {
        {0, 935, 0, Qt::Key_PageDown, 93, 1}, {0, 935, 900, Qt::Key_PageDown, 935, 1},
        {0, 935, 100, Qt::Key_PageUp, 7, 1},  {0, 935, 50, Qt::Key_PageUp, 0, 1},
        {1, 10, 5, Qt::Key_PageDown, 6, 1},   {1, 10, 5, Qt::Key_Right, 6, 1},
        {1, 10, 5, Qt::Key_Up, 6, 1},         {1, 10, 5, Qt::Key_Left, 4, 1},
        {1, 10, 5, Qt::Key_Down, 4, 1},       {1, 10, 10, Qt::Key_Right, 10, 0},
        {1, 10, 1, Qt::Key_Left, 1, 0},       {1, 10, 5, Qt::Key_Home, 1, 1},
        {1, 10, 5, Qt::Key_End, 10, 1},       {1, 10, 10, Qt::Key_End, 10, 1},
        {1, 10, 5, Qt::Key_A, 5, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.start << " key " << c.key);
        TQSlideBar bar;
        bar.SetMin(c.min);
        bar.SetMax(c.max);
        bar.SetPosition(c.start);
        QSignalSpy spy(&bar, &TQSlideBar::OnChange);
        QTest::keyClick(&bar, Qt::Key(c.key));
        EXPECT_EQ(bar.Position(), c.position);
        EXPECT_EQ(spy.count(), c.events);
    }
}

class SlideBarMouse : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        bar = new TQSlideBar(window.get());
        bar->resize(100, 15);
        bar->SetPosition(5);
        ASSERT_TRUE(ShowActive(window.get()));
    }
    int ThumbCentre() const { return bar->ThumbRect().left() + bar->HalfTW(); }

    std::unique_ptr<QWidget> window;
    TQSlideBar *bar = nullptr;
};

TEST_F(SlideBarMouse, ClickBesideTheThumbStepsByOneOnRelease)
{
    const struct {
        int offset, position;
    } cases[] = {{30, 6}, {-30, 5}, {-30, 4}, {30, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.offset);
        QSignalSpy spy(bar, &TQSlideBar::OnChange);
        const QPoint at(ThumbCentre() + c.offset, 7);
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        EXPECT_FALSE(bar->Dragging());
        EXPECT_EQ(spy.count(), 0);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        EXPECT_EQ(bar->Position(), c.position);
        EXPECT_EQ(spy.count(), 1);
    }
    EXPECT_TRUE(bar->hasFocus());
}

TEST_F(SlideBarMouse, ClickOnTheThumbCentreRaisesOnChangeWithoutMoving)
{
    QSignalSpy spy(bar, &TQSlideBar::OnChange);
    const QPoint centre(ThumbCentre(), 7);
    QTest::mousePress(bar, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(bar->Dragging());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, centre);
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(bar->Position(), bar->PixelToValue(centre.x()));
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(SlideBarMouse, DraggingFollowsTheMouse)
{
    QSignalSpy spy(bar, &TQSlideBar::OnChange);
    const int start = ThumbCentre();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(start, 7));
    ASSERT_TRUE(bar->Dragging());
    for (int x : {start + 10, start + 20, start + 20, 90}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 7), bar->mapToGlobal(QPointF(x, 7)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        EXPECT_EQ(bar->Position(), bar->PixelToValue(x));
        EXPECT_EQ(bar->ThumbRect().left(), qBound(0, x - bar->HalfTW(), 100 - 8));
    }
    EXPECT_EQ(spy.count(), 3) << "a move to the same x is not a move";
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(95, 7));
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(spy.count(), 4);
}

// Columns of row y that show colour, outside the thumb.
std::set<int> ColumnsWith(const QImage &image, int y, QRgb colour, QRect thumb)
{
    std::set<int> xs;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == colour && !thumb.contains(x, y))
            xs.insert(x);
    return xs;
}

TEST(SlideBarPaint, TicksStandOnePerValueWithTheLastAtTheChannelEnd)
{
    TQSlideBar bar;
    bar.SetTicks(true);
    const int t = bar.TrackTop();
    const int r = bar.TrackRight();
    ASSERT_EQ(r, 96);
    std::set<int> ticks;
    for (int position : {1, 10}) {
        bar.SetPosition(position);
        const QImage image = bar.grab().toImage();
        const std::set<int> xs = ColumnsWith(image, t - 1, Grey, bar.ThumbRect());
        ticks.insert(xs.begin(), xs.end());
        for (int x : xs)
            EXPECT_EQ(image.pixel(x + 1, t - 1), White) << x;
    }
    const double d = 92.0 / 9.0;
    std::set<int> expected;
    for (int i = 0; i < 9; ++i)
        expected.insert(4 + int(d * i));
    expected.insert(r - 1);
    EXPECT_EQ(ticks, expected);
    EXPECT_EQ(ticks.size(), 10u);
}

TEST(SlideBarPaint, ChannelEdgesAndFill)
{
    const struct {
        TBarStyle style;
        int thickness;
        QRgb first, second;
    } cases[] = {{bsLowered, 1, Grey, White}, {bsRaised, 3, White, Grey}, {bsLowered, 5, Grey, White}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.thickness);
        TQSlideBar bar;
        bar.SetStyle(c.style);
        bar.SetThickness(c.thickness);
        bar.SetPosition(10); // thumb at the right end, away from x = 30
        const QImage image = bar.grab().toImage();
        const int t = bar.TrackTop();
        const int b = t + c.thickness + 1;
        const int r = bar.TrackRight();
        EXPECT_EQ(t, 15 / 2 - c.thickness / 2 - 1);
        EXPECT_EQ(image.pixel(30, t), c.first);
        EXPECT_EQ(image.pixel(30, b), c.second);
        for (int y = t + 1; y < b; ++y)
            EXPECT_EQ(image.pixel(30, y), Silver) << y;
        EXPECT_EQ(image.pixel(bar.HalfTW(), t + 1), c.first) << "left edge";
        bar.SetPosition(1);
        const QImage left = bar.grab().toImage();
        EXPECT_EQ(left.pixel(r, t + 1), c.second) << "right edge";
        EXPECT_NE(left.pixel(r + 1, t + 1), c.second);
    }
}

TEST(SlideBarPaint, FocusedChannelTakesTheFocusColour)
{
    QWidget window;
    auto *bar = new TQSlideBar(&window);
    bar->SetFocusColor(QColor(0, 0, 200));
    bar->SetPosition(10);
    ASSERT_TRUE(ShowActive(&window));
    bar->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->hasFocus(); }, 10000));
    EXPECT_EQ(bar->grab().toImage().pixel(30, bar->TrackTop() + 1), qRgb(0, 0, 200));
    bar->clearFocus();
    EXPECT_EQ(bar->grab().toImage().pixel(30, bar->TrackTop() + 1), Silver);
}

TEST(SlideBarPaint, ThumbIsPlacedAndDrawnThroughItsMask)
{
    const struct {
        TThumbStyle style;
        int width, min, max, position;
    } cases[] = {
        {tsBar1, 73, 0, 935, 0},    {tsBar1, 73, 0, 935, 935}, {tsBar1, 73, 0, 935, 467},
        {tsCircle1, 100, 1, 10, 4}, {tsDiamond1, 60, 0, 7, 3}, {tsSquare1, 100, 1, 10, 10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.style << " at " << c.position);
        TQSlideBar bar;
        bar.SetThumbStyle(c.style);
        bar.SetMin(c.min);
        bar.SetMax(c.max);
        bar.resize(c.width, 15);
        bar.SetPosition(c.position);
        const QImage before = bar.grab().toImage();
        const QImage picture = bar.ThumbBmp();
        const QImage mask = bar.MaskBmp();
        const int tw = picture.width();
        const int left = int(std::nearbyint(double(c.width - tw) / (c.max - c.min) * (c.position - c.min)));
        const QRect expected(left, (15 - picture.height()) / 2, tw, picture.height());
        EXPECT_EQ(bar.ThumbRect(), expected);

        // The same bar with its thumb at the far end shows what lies under it.
        TQSlideBar away;
        away.SetThumbStyle(c.style);
        away.SetMin(c.min);
        away.SetMax(c.max);
        away.resize(c.width, 15);
        away.SetPosition(c.position - c.min < c.max - c.position ? c.max : c.min);
        const QImage under = away.grab().toImage();
        ASSERT_FALSE(away.ThumbRect().intersects(expected));
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < tw; ++x) {
                const QPoint at = expected.topLeft() + QPoint(x, y);
                if (mask.pixel(x, y) == qRgb(0, 0, 0))
                    EXPECT_EQ(before.pixel(at), picture.pixel(x, y)) << x << "," << y;
                else
                    EXPECT_EQ(before.pixel(at), under.pixel(at)) << "transparent " << x << "," << y;
            }
    }
}

const QRgb ParentColour = qRgb(10, 120, 30);

// Paints a colour of its own, not its palette's, as a styled group box does.
class TPaintedParent : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(ParentColour)); }
};

TEST(SlideBarPaint, ParentShowsAroundTheTrackAndThroughTheThumb)
{
    TPaintedParent parent;
    parent.resize(120, 30);
    auto *bar = new TQSlideBar(&parent);
    bar->move(10, 5);
    bar->SetPosition(5);
    (void)parent.grab(); // the thumb then moves on a drawn canvas
    bar->SetPosition(4);
    const QImage image = parent.grab().toImage();
    const QRect thumb = bar->ThumbRect().translated(bar->pos());
    EXPECT_EQ(image.pixel(bar->x() + 1, bar->y() + 1), ParentColour);
    EXPECT_EQ(image.pixel(bar->x() + 50, bar->y() + 13), ParentColour);
    EXPECT_EQ(image.pixel(thumb.topLeft()), ParentColour) << "the circle's corner is see-through";
    EXPECT_EQ(image.pixel(thumb.center()), Silver);
    const QRect oldThumb = QRect(bar->ThumbRect()).translated(bar->pos() + QPoint(10, 0));
    EXPECT_EQ(image.pixel(oldThumb.left() + 4, oldThumb.top()), ParentColour) << "the old thumb is erased";
}

TEST(SlideBarPaint, MovingTheThumbRestoresWhatWasUnderIt)
{
    TQSlideBar reference;
    reference.SetPosition(10);
    const QImage clean = reference.grab().toImage();

    TQSlideBar bar;
    (void)bar.grab(); // draw once with the thumb at 1
    const QRect old = bar.ThumbRect();
    bar.SetPosition(10);
    const QImage moved = bar.grab().toImage();
    EXPECT_EQ(moved.copy(old), clean.copy(old));
    EXPECT_EQ(moved, clean);
}

} // namespace
