#include "platform/Errors.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/QSpin.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{

void SendMouseMove(QWidget *widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), widget->mapToGlobal(QPointF(pos)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

class SpinRepeat : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(200, 100);
        edit = new TQSpinEdit(window.get());
        ASSERT_TRUE(ShowActive(window.get()));
        up = edit->Button()->UpButton();
    }

    TFakeClock clock; // before the widgets, so their timers run on it
    std::unique_ptr<QWidget> window;
    TQSpinEdit *edit = nullptr;
    TQTimerSpeedButton *up = nullptr;
};

TEST_F(SpinRepeat, OneSecondHoldStepsAt400ThenEvery100AndOnRelease)
{
    QSignalSpy clicks(edit->Button(), &TQSpinButton::OnUpClick);
    QTest::mousePress(up, Qt::LeftButton);
    clock.Advance(399);
    EXPECT_EQ(clicks.count(), 0);
    clock.Advance(1);
    EXPECT_EQ(clicks.count(), 1) << "first repeat at 400 ms";
    clock.Advance(600);
    EXPECT_EQ(clicks.count(), 7) << "six more by one second";
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 8) << "one more on release";
    EXPECT_EQ(edit->Value(), 8);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_FALSE(up->RepeatTimer()->IsActive());
    clock.Advance(1000);
    EXPECT_EQ(clicks.count(), 8) << "idle between presses";
}

TEST_F(SpinRepeat, ShortClickStepsOnceOnRelease)
{
    EXPECT_EQ(up->RepeatTimer(), nullptr) << "no timer before the first press";
    QTest::mousePress(edit->Button()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(edit->Value(), 0);
    clock.Advance(100);
    QTest::mouseRelease(edit->Button()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(edit->Value(), -1);
}

TEST_F(SpinRepeat, LeavingTheButtonStopsTheClicks)
{
    QSignalSpy clicks(edit->Button(), &TQSpinButton::OnUpClick);
    QTest::mousePress(up, Qt::LeftButton);
    clock.Advance(500);
    EXPECT_EQ(clicks.count(), 2);
    SendMouseMove(up, QPoint(-20, -20));
    clock.Advance(500);
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(clicks.count(), 2) << "no repeat and no release click away from the button";
}

TEST_F(SpinRepeat, ArrowPressFocusesTheEditWithoutSelecting)
{
    auto *other = new TQSpinEdit(window.get());
    other->move(0, 50);
    other->show();
    other->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, 10000));
    edit->setText("55");
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->hasSelectedText());
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(edit->text(), "56");
}

// An edit whose first step fails, as a derived editor's may.
class TFailingEdit : public TQSpinEdit
{
public:
    using TQSpinEdit::TQSpinEdit;
    int steps = 0;
    void StepUp(QObject *sender) override
    {
        if (++steps == 1)
            throw EQuentaError("step refused");
        TQSpinEdit::StepUp(sender);
    }
};

TEST(SpinRepeatError, FailedRepeatStopsTheTimerAndIsReported)
{
    TFakeClock clock;
    TErrorRecorder errors;
    QWidget window;
    auto *edit = new TFailingEdit(&window);
    ASSERT_TRUE(ShowActive(&window));
    TQTimerSpeedButton *up = edit->Button()->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    clock.Advance(400);
    EXPECT_EQ(errors.Messages(), QStringList{"step refused"});
    EXPECT_FALSE(up->RepeatTimer()->IsActive());
    clock.Advance(1000);
    EXPECT_EQ(edit->steps, 1) << "no repeat after the failure";
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(edit->steps, 2) << "the release still clicks";
    EXPECT_EQ(edit->Value(), 1);
}

TEST(SpinButton, LayoutStacksTheArrowsWithOnePixelOverlap)
{
    const struct {
        int w, h;
        QRect up, down;
        QSize size;
    } cases[] = {
        {20, 25, QRect(0, 0, 20, 12), QRect(0, 11, 20, 14), QSize(20, 25)},
        {15, 17, QRect(0, 0, 15, 8), QRect(0, 7, 15, 10), QSize(15, 17)},
        {10, 30, QRect(0, 0, 15, 15), QRect(0, 14, 15, 16), QSize(15, 30)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        TQSpinButton spin;
        // A hidden widget hears of its resizes only when it is shown.
        spin.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&spin, 10000));
        spin.resize(c.w, c.h);
        EXPECT_EQ(spin.UpButton()->geometry(), c.up);
        EXPECT_EQ(spin.DownButton()->geometry(), c.down);
        EXPECT_EQ(spin.size(), c.size);
    }
}

TEST(SpinButton, StartsAsSpecifiedWithDefaultGlyphs)
{
    TQSpinButton spin;
    EXPECT_EQ(spin.size(), QSize(20, 25));
    EXPECT_FALSE(spin.TabStop());
    EXPECT_EQ(spin.FocusedButton(), spin.UpButton());
    EXPECT_EQ(spin.UpButton()->TimeBtnState(), TTimeBtnState(tbAllowTimer));
    EXPECT_EQ(spin.UpGlyph(), LoadWidgetBitmap("SpinUp"));
    EXPECT_EQ(spin.DownGlyph(), LoadWidgetBitmap("SpinDown"));

    QImage custom(4, 4, QImage::Format_RGB32);
    custom.fill(Qt::red);
    spin.SetUpGlyph(custom);
    spin.SetUpNumGlyphs(2);
    EXPECT_EQ(spin.UpGlyph(), custom);
    spin.SetUpGlyph(QImage());
    EXPECT_EQ(spin.UpGlyph(), LoadWidgetBitmap("SpinUp"));
    EXPECT_EQ(spin.UpNumGlyphs(), 1);
}

TEST(SpinButton, KeysClickAndMoveTheFocusedArrow)
{
    QWidget window;
    auto *spin = new TQSpinButton(&window);
    spin->SetTabStop(true);
    ASSERT_TRUE(ShowActive(&window));
    spin->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return spin->hasFocus(); }, 10000));
    EXPECT_TRUE(spin->UpButton()->TimeBtnState() & tbFocusRect);

    QSignalSpy ups(spin, &TQSpinButton::OnUpClick);
    QSignalSpy downs(spin, &TQSpinButton::OnDownClick);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
    EXPECT_TRUE(spin->DownButton()->TimeBtnState() & tbFocusRect);
    EXPECT_FALSE(spin->UpButton()->TimeBtnState() & tbFocusRect);
    QTest::keyClick(spin, Qt::Key_Space);
    EXPECT_EQ(downs.count(), 2);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Space);
    EXPECT_EQ(ups.count(), 2);
    EXPECT_EQ(downs.count(), 2);

    spin->clearFocus();
    EXPECT_FALSE(spin->UpButton()->TimeBtnState() & tbFocusRect);
}

TEST(SpinButton, FocusControlIsClearedWhenItIsDestroyed)
{
    TQSpinButton spin;
    auto target = std::make_unique<QWidget>();
    spin.SetFocusControl(target.get());
    EXPECT_EQ(spin.FocusControl(), target.get());
    target.reset();
    EXPECT_EQ(spin.FocusControl(), nullptr);
}

TEST(SpinButton, FocusRectangleIsDrawnInsetByThree)
{
    TQTimerSpeedButton button;
    button.resize(15, 12);
    button.SetTimeBtnState(tbFocusRect);
    const QImage withRect = button.grab().toImage();
    button.SetTimeBtnState({});
    const QImage without = button.grab().toImage();
    int changed = 0;
    for (int y = 0; y < withRect.height(); ++y)
        for (int x = 0; x < withRect.width(); ++x)
            if (withRect.pixel(x, y) != without.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(x >= 3 && y >= 3 && x < 12 && y < 9) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
}

} // namespace
