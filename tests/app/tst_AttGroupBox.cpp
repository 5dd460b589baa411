#include "app/AttGroupBox.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/QSlideBar.h"
#include "widgets/QSpin.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{

void SendMouseMove(QWidget *widget, int x)
{
    const QPointF at(x, widget->height() / 2);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Presses the bar's thumb, drags it through xs and lets go at the last one.
void DragThumb(TQSlideBar *bar, std::initializer_list<int> xs)
{
    const int y = bar->height() / 2;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->ThumbRect().left() + bar->HalfTW(), y));
    ASSERT_TRUE(bar->Dragging());
    int last = 0;
    for (int x : xs) {
        SendMouseMove(bar, x);
        last = x;
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(last, y));
}

TEST(AttGroupBox, StartsWithTheEditOverTheBar)
{
    TAttGroupBox box;
    TQSpinEdit *edit = box.SpinEdit();
    TQSlideBar *bar = box.SlideBar();
    EXPECT_EQ(edit->parentWidget(), &box);
    EXPECT_EQ(bar->parentWidget(), &box);
    EXPECT_EQ(box.Timer()->parent(), &box);
    EXPECT_EQ(edit->geometry(), QRect(8, 20, 89, edit->height()));
    EXPECT_EQ(bar->geometry(), QRect(8, edit->height() + 20, 89, bar->height()));
    EXPECT_EQ(bar->ThumbStyle(), tsBar1);
    EXPECT_FALSE(bar->Ticks());
    EXPECT_FALSE(box.ModeDecimal());
    EXPECT_EQ(box.MinAttVal(), 0);
    EXPECT_EQ(box.MaxAttVal(), 1100);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 1100);
    EXPECT_FALSE(box.Timer()->IsActive());
    EXPECT_EQ(box.Timer()->Interval(), 300);
    EXPECT_GE(box.height(), bar->geometry().bottom());
}

TEST(AttGroupBox, PropertiesLiveInTheInnerControls)
{
    TAttGroupBox box;
    box.SetMinAttVal(5);
    box.SetMaxAttVal(935);
    EXPECT_EQ(box.SpinEdit()->MinValue(), 5);
    EXPECT_EQ(box.SlideBar()->Min(), 5);
    EXPECT_EQ(box.SpinEdit()->MaxValue(), 935);
    EXPECT_EQ(box.SlideBar()->Max(), 935);

    box.SpinEdit()->SetMinValue(7);
    box.SpinEdit()->SetMaxValue(900);
    EXPECT_EQ(box.MinAttVal(), 7) << "read back from the edit, not a copy";
    EXPECT_EQ(box.MaxAttVal(), 900);

    box.SetAttValue(125);
    EXPECT_EQ(box.SpinEdit()->text(), "125");
    box.SetModeDecimal(true);
    EXPECT_TRUE(box.SpinEdit()->ModeDecimal());
    EXPECT_EQ(box.SpinEdit()->text(), "125") << "the mode alone does not reformat";
    EXPECT_EQ(box.AttValue(), 1250) << "the text read in tenths; reading does not clamp";
    box.SetAttValue(125);
    EXPECT_EQ(box.SpinEdit()->text(), "12.5");
    box.SetAttValue(5000);
    EXPECT_EQ(box.SpinEdit()->text(), "90.0") << "clamped by the edit";
    EXPECT_EQ(box.AttValue(), 900);

    box.SetCaption("Attenuator 2");
    EXPECT_EQ(box.title(), "Attenuator 2");
    EXPECT_EQ(box.Caption(), "Attenuator 2");
}

TEST(AttGroupBox, InnerControlsAreAtMost73PixelsWide)
{
    QWidget window;
    auto *box = new TAttGroupBox(&window);
    ASSERT_TRUE(ShowActive(&window));
    const QRect editBefore = box->SpinEdit()->geometry();
    const QRect barBefore = box->SlideBar()->geometry();
    const struct {
        int boxWidth, innerWidth;
    } cases[] = {{113, 73}, {89, 73}, {300, 73}, {60, 44}, {50, 34}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.boxWidth);
        box->setGeometry(10, 10, c.boxWidth, 90);
        EXPECT_EQ(box->geometry(), QRect(10, 10, c.boxWidth, 90)) << "the box takes its bounds unchanged";
        EXPECT_EQ(box->SpinEdit()->geometry(), QRect(8, 20, c.innerWidth, editBefore.height()));
        EXPECT_EQ(box->SlideBar()->geometry(), QRect(8, barBefore.y(), c.innerWidth, barBefore.height()));
    }
}

// A 113-pixel box in a shown window, its reports counted.
class AttGroupBoxShown : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(200, 120);
        box = new TAttGroupBox(window.get());
        box->setGeometry(0, 0, 113, 90);
        edit = box->SpinEdit();
        bar = box->SlideBar();
        ASSERT_TRUE(ShowActive(window.get()));
        changes = std::make_unique<QSignalSpy>(box, &TAttGroupBox::OnChange);
    }

    int Changes() const { return static_cast<int>(changes->count()); }

    std::unique_ptr<QWidget> window;
    TAttGroupBox *box = nullptr;
    TQSpinEdit *edit = nullptr;
    TQSlideBar *bar = nullptr;
    std::unique_ptr<QSignalSpy> changes;
};

// On a virtual clock, so that the 300 ms settle delay and the arrows' repeat
// can be counted exactly.
class AttGroupBoxClocked : public AttGroupBoxShown
{
protected:
    void SetUp() override
    {
        AttGroupBoxShown::SetUp();
        ASSERT_EQ(bar->width(), 73);
    }
    // The box's timers run on the clock: they go first.
    void TearDown() override
    {
        changes.reset();
        window.reset();
    }

    TFakeClock clock; // built before SetUp makes the box, so its timers run on it
};

TEST_F(AttGroupBoxClocked, ArrowClickReportsOnce300MsAfterRelease)
{
    QTest::mouseClick(edit->Button()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(box->AttValue(), 1);
    EXPECT_EQ(bar->Position(), 1);
    clock.Advance(299);
    EXPECT_EQ(Changes(), 0);
    clock.Advance(1);
    ASSERT_EQ(Changes(), 1);
    EXPECT_EQ(changes->at(0).at(0).value<QObject *>(), box);
    clock.Advance(5000);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(AttGroupBoxClocked, HeldArrowReportsOnceAfterRelease)
{
    TQTimerSpeedButton *up = edit->Button()->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    for (int elapsed = 0; elapsed < 2000; elapsed += 50) {
        clock.Advance(50);
        ASSERT_EQ(Changes(), 0) << "held for " << elapsed + 50 << " ms";
    }
    QTest::mouseRelease(up, Qt::LeftButton);
    const int value = box->AttValue();
    EXPECT_EQ(value, 1 + (2000 - 400) / 100 + 1);
    EXPECT_EQ(bar->Position(), value);
    clock.Advance(299);
    EXPECT_EQ(Changes(), 0);
    clock.Advance(1);
    EXPECT_EQ(Changes(), 1);
    clock.Advance(5000);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(AttGroupBoxClocked, DraggedBarMovesTheEditAndReportsOnce)
{
    box->SetModeDecimal(true);
    box->SetMaxAttVal(935);
    DragThumb(bar, {10, 20, 30, 40});
    EXPECT_EQ(bar->Position(), bar->PixelToValue(40));
    EXPECT_EQ(box->AttValue(), bar->Position());
    EXPECT_EQ(edit->text(), TQSpinEdit::FormatValue(bar->Position(), true));
    clock.Advance(299);
    EXPECT_EQ(Changes(), 0);
    clock.Advance(1);
    EXPECT_EQ(Changes(), 1);
    clock.Advance(5000);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(AttGroupBoxClocked, BarKeysAreReportedLikeAnyOtherChange)
{
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_End);
    EXPECT_EQ(edit->text(), "1100");
    clock.Advance(200);
    QTest::keyClick(bar, Qt::Key_PageUp);
    EXPECT_EQ(edit->text(), "990");
    clock.Advance(299);
    EXPECT_EQ(Changes(), 0) << "the second key restarted the delay";
    clock.Advance(1);
    EXPECT_EQ(Changes(), 1);
}

TEST_F(AttGroupBoxClocked, WrittenValueIsReportedOnlyWhenTheTextChanges)
{
    box->SetAttValue(50);
    EXPECT_EQ(bar->Position(), 50);
    clock.Advance(300);
    EXPECT_EQ(Changes(), 1);
    box->SetAttValue(50);
    EXPECT_FALSE(box->Timer()->IsActive());
    clock.Advance(1000);
    EXPECT_EQ(Changes(), 1);
    box->SetAttValue(5000);
    EXPECT_EQ(box->AttValue(), 1100);
    EXPECT_EQ(bar->Position(), 1100);
    clock.Advance(300);
    EXPECT_EQ(Changes(), 2);
}

TEST_F(AttGroupBoxClocked, EnterReportsAtOnceAndAgainWhenItReformats)
{
    const struct {
        bool decimal;
        const char *typed;
        const char *shown;
        int value;
        int reports; // at Enter and over the next second
    } cases[] = {
        {true, "12", "12.0", 120, 2}, {true, "12.5", "12.5", 125, 1}, {true, "99", "93.5", 935, 2},
        {true, "5.", "5.0", 50, 2},   {false, "7", "7", 7, 1},        {false, "5000", "1100", 1100, 2},
        {false, "-3", "0", 0, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        box->SetModeDecimal(c.decimal);
        box->SetMaxAttVal(c.decimal ? 935 : 1100);
        box->SetAttValue(c.decimal ? 333 : 33);
        clock.Advance(1000);
        changes->clear();

        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(bar->Position(), c.decimal ? 333 : 33) << "typing leaves the bar alone";
        EXPECT_FALSE(box->Timer()->IsActive());
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(Changes(), 1) << "reported at Enter";
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(box->AttValue(), c.value);
        EXPECT_EQ(bar->Position(), c.value);
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_FALSE(edit->InKeyMode);
        clock.Advance(299);
        EXPECT_EQ(Changes(), 1);
        clock.Advance(701);
        EXPECT_EQ(Changes(), c.reports);
    }
}

TEST_F(AttGroupBoxClocked, TypingModeHoldsBackEveryOtherChange)
{
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_4);
    ASSERT_TRUE(edit->InKeyMode);
    const int barBefore = bar->Position();

    QTest::mouseClick(edit->Button()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(edit->text(), "5");
    box->SetAttValue(20);
    EXPECT_EQ(edit->text(), "20");
    EXPECT_EQ(bar->Position(), barBefore) << "the bar does not follow the edit while typing";

    DragThumb(bar, {30, 40});
    EXPECT_EQ(bar->Position(), bar->PixelToValue(40));
    EXPECT_EQ(edit->text(), QString::number(bar->Position())) << "the edit follows the bar";
    clock.Advance(2000);
    EXPECT_EQ(Changes(), 0) << "nothing is reported until Enter";
    EXPECT_FALSE(box->Timer()->IsActive());

    const int dragged = bar->Position();
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Changes(), 1);
    EXPECT_EQ(box->AttValue(), dragged);
}

// The real settle timer: one report, never before 300 ms. The repeat and the
// settle delay run on the wall clock here, so a loaded machine may stall a
// held arrow long enough for an early report; only the report after the
// release is counted.
class AttGroupBoxRealTime : public AttGroupBoxShown
{
protected:
    // Waits for the single report that follows a movement ending at mark.
    void ExpectOneReportAfter(const QElapsedTimer &mark, qsizetype before)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes->count() > before; }, 10000));
        EXPECT_GE(mark.elapsed(), 300);
        EXPECT_FALSE(box->Timer()->IsActive()) << "no further report is on its way";
        EXPECT_EQ(changes->count(), before + 1);
    }
};

TEST_F(AttGroupBoxRealTime, DragIsReportedOnceAfterTheSettleDelay)
{
    QElapsedTimer mark;
    mark.start();
    DragThumb(box->SlideBar(), {10, 25, 40});
    EXPECT_EQ(box->AttValue(), box->SlideBar()->PixelToValue(40));
    ExpectOneReportAfter(mark, 0);
}

TEST_F(AttGroupBoxRealTime, HeldArrowIsReportedOnceAfterTheSettleDelay)
{
    TQTimerSpeedButton *up = box->SpinEdit()->Button()->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->AttValue() >= 4; }, 10000)) << "the arrow repeats";
    const qsizetype before = changes->count();
    QElapsedTimer mark;
    mark.start();
    QTest::mouseRelease(up, Qt::LeftButton);
    ExpectOneReportAfter(mark, before);
    EXPECT_EQ(box->SlideBar()->Position(), box->AttValue());
}

} // namespace
