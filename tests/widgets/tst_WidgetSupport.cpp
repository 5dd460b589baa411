#include "tests/widgets/WidgetTestSupport.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QTimer>

#include <memory>

#include <gtest/gtest.h>

namespace
{

const QRgb Olive = qRgb(128, 128, 0);
const QRgb Black = qRgb(0, 0, 0);
const QRgb White = qRgb(255, 255, 255);

TEST(WidgetBitmaps, EveryNamedBitmapLoadsWithItsSize)
{
    const struct {
        const char *name;
        int w, h;
    } cases[] = {
        {"SpinUp", 9, 6},      {"SpinDown", 9, 6}, {"Bar1", 5, 10},       {"Bar1Mask", 5, 10}, {"Circle1", 8, 8},
        {"Circle1Mask", 8, 8}, {"Square1", 8, 8},  {"Square1Mask", 8, 8}, {"Diamond1", 8, 8},  {"Diamond1Mask", 8, 8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = LoadWidgetBitmap(QString::fromLatin1(c.name));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(c.w, c.h));
    }
    EXPECT_TRUE(LoadWidgetBitmap("NoSuchBitmap").isNull());
}

// Width of the black run in each row of an arrow picture.
std::vector<int> BlackRuns(const QImage &image)
{
    std::vector<int> runs;
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            EXPECT_TRUE(pixel == Black || pixel == Olive);
            count += pixel == Black;
        }
        if (count)
            runs.push_back(count);
    }
    return runs;
}

TEST(WidgetBitmaps, ArrowsAreBlackTrianglesOnOlive)
{
    EXPECT_EQ(BlackRuns(LoadWidgetBitmap("SpinUp")), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(BlackRuns(LoadWidgetBitmap("SpinDown")), (std::vector<int>{7, 5, 3, 1}));
    const QImage up = LoadWidgetBitmap("SpinUp");
    EXPECT_EQ(up.pixel(0, up.height() - 1), Olive) << "the corner colour is the transparent one";
}

TEST(WidgetBitmaps, MasksAreWhiteExactlyWhereThumbsAreTransparent)
{
    for (const char *name : {"Bar1", "Circle1", "Square1", "Diamond1"}) {
        SCOPED_TRACE(name);
        const QImage picture = LoadWidgetBitmap(QString::fromLatin1(name));
        const QImage mask = LoadWidgetBitmap(QString::fromLatin1(name) + "Mask");
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb m = mask.pixel(x, y);
                ASSERT_TRUE(m == White || m == Black);
                if (m == White)
                    EXPECT_EQ(picture.pixel(x, y), Black) << x << "," << y;
                else
                    EXPECT_NE(picture.pixel(x, y), Black) << x << "," << y;
            }
    }
    const QImage barMask = LoadWidgetBitmap("Bar1Mask");
    EXPECT_EQ(barMask.pixel(0, 0), White);
    EXPECT_EQ(barMask.pixel(4, 9), White);
    EXPECT_EQ(LoadWidgetBitmap("Circle1Mask").pixel(0, 0), White);
    const QImage circle = LoadWidgetBitmap("Circle1");
    EXPECT_EQ(circle.pixel(0, 3), White) << "lit from the upper left";
    EXPECT_EQ(circle.pixel(7, 4), qRgb(128, 128, 128));
    EXPECT_EQ(circle.pixel(4, 4), qRgb(192, 192, 192));
}

TEST(WidgetBitmaps, HandCursorLoads)
{
    const QCursor cursor = LoadHandPointerCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 0));
}

TEST(WidgetKeys, TypedCharacterOfKeyPresses)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char *text;
        int typed; // -1: none
    } cases[] = {
        {Qt::Key_5, Qt::NoModifier, "5", '5'},         {Qt::Key_Return, Qt::NoModifier, "\r", 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13}, {Qt::Key_Backspace, Qt::NoModifier, "\b", 8},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", -1},  {Qt::Key_Left, Qt::NoModifier, "", -1},
        {Qt::Key_V, Qt::ControlModifier, "\x16", 22},  {Qt::Key_Period, Qt::NoModifier, ".", '.'},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 27},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
        const auto typed = TypedChar(&event);
        if (c.typed < 0)
            EXPECT_FALSE(typed.has_value());
        else
            EXPECT_EQ(typed, QChar(c.typed));
    }
}

TEST(WidgetTimers, RealTimersArePrecise)
{
    std::unique_ptr<TWidgetTimer> timer(CreateWidgetTimer(nullptr));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(dynamic_cast<TFakeTimer *>(timer.get()), nullptr);
    auto *qtimer = timer->findChild<QTimer *>();
    ASSERT_NE(qtimer, nullptr);
    EXPECT_EQ(qtimer->timerType(), Qt::PreciseTimer);
}

} // namespace
