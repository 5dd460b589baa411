#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/IntFloatEdit.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{

const QString LimitsMessage = "DefaultValue must be between MinValue and MaxValue";

TEST(IntEdit, NewEditShowsZeroAndArrowsDoNothing)
{
    TIntEdit edit;
    EXPECT_EQ(edit.text(), "0");
    EXPECT_EQ(edit.MinValue(), 0);
    EXPECT_EQ(edit.MaxValue(), 0);
    EXPECT_EQ(edit.DefaultValue(), 0);
    EXPECT_EQ(edit.Increment(), 0);
    edit.SetValue(-123456);
    EXPECT_EQ(edit.Value(), -123456) << "equal limits allow every value";
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "-123456");
}

TEST(IntEdit, ClampsOnlyWhenMaxAboveMin)
{
    const struct {
        int min, max, written, shown;
    } cases[] = {{1, 8, 12, 8}, {1, 8, -3, 1}, {1, 8, 5, 5}, {8, 1, 12, 12}, {0, 0, 99, 99}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " <- " << c.written);
        TIntEdit edit;
        edit.SetMaxValue(c.max);
        edit.SetMinValue(c.min);
        edit.SetValue(c.written);
        EXPECT_EQ(edit.text(), QString::number(c.shown));
    }
}

TEST(IntEdit, EmptyBoxReadsAsDefault)
{
    TIntEdit edit;
    edit.SetMinValue(1);
    edit.SetMaxValue(8);
    EXPECT_EQ(edit.text(), "1") << "a limit write rewrites the text clamped";
    edit.SetDefaultValue(4);
    edit.clear();
    EXPECT_EQ(edit.Value(), 4);
    edit.SetMinValue(6);
    EXPECT_EQ(edit.DefaultValue(), 6);
    EXPECT_EQ(edit.text(), "6") << "an empty box receives the clamped default";
}

TEST(IntEdit, DefaultValueOutsideLimitsIsRefused)
{
    TIntEdit edit;
    edit.SetMinValue(1);
    edit.SetMaxValue(8);
    try {
        edit.SetDefaultValue(20);
        FAIL() << "no error";
    } catch (const EPropertyError &e) {
        EXPECT_EQ(e.Message(), LimitsMessage);
    }
    EXPECT_EQ(edit.DefaultValue(), 1);

    TIntEdit open;
    EXPECT_NO_THROW(open.SetDefaultValue(20));
    EXPECT_EQ(open.DefaultValue(), 20);
}

TEST(IntEdit, ArrowKeysStepByIncrementAndClamp)
{
    TIntEdit edit;
    edit.SetMaxValue(12);
    edit.SetIncrement(5);
    edit.SetValue(10);
    QSignalSpy spy(&edit, &TIntEdit::OnChange);
    const struct {
        Qt::Key key;
        const char *text;
    } steps[] = {{Qt::Key_Up, "12"}, {Qt::Key_Down, "7"}, {Qt::Key_Down, "2"}, {Qt::Key_Down, "0"}};
    for (const auto &s : steps) {
        QTest::keyClick(&edit, s.key);
        EXPECT_EQ(edit.text(), QString::fromLatin1(s.text));
    }
    EXPECT_EQ(spy.count(), 4);
}

class IntEditFocus : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        edit = new TIntEdit(window.get());
        other = new QPushButton("other", window.get());
        other->move(0, 40);
        ASSERT_TRUE(ShowActive(window.get()));
        edit->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return edit->hasFocus(); }, 10000));
    }

    std::unique_ptr<QWidget> window;
    TIntEdit *edit = nullptr;
    QPushButton *other = nullptr;
};

TEST_F(IntEditFocus, TypingFiltersCharacters)
{
    edit->clear();
    TBeepCounter beeps;
    QTest::keyClicks(edit, "-4a2.");
    EXPECT_EQ(edit->text(), "-42");
    EXPECT_EQ(beeps.Count(), 2);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "-4");
    EXPECT_EQ(beeps.Count(), 2);
}

TEST_F(IntEditFocus, BadTextRaisesTheConversionMessageAndTakesTheFocus)
{
    TErrorRecorder errors; // leaving with the bad text reports it too
    edit->setText("12x");
    other->setFocus();
    try {
        (void)edit->Value();
        FAIL() << "no error";
    } catch (const EPropertyError &e) {
        EXPECT_EQ(e.Message(), "'12x' is not a valid integer value");
    }
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(IntEditFocus, LeavingWithBadTextReportsAndReturnsTheFocus)
{
    TErrorRecorder errors;
    edit->setText("abc");
    other->setFocus();
    ASSERT_EQ(errors.Messages(), QStringList{"'abc' is not a valid integer value"});
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), "abc");
}

TEST_F(IntEditFocus, LeavingClampsTheValue)
{
    edit->SetMinValue(1);
    edit->SetMaxValue(8);
    edit->setText("30");
    other->setFocus();
    EXPECT_EQ(edit->text(), "8");
    edit->setFocus();
    edit->clear();
    other->setFocus();
    EXPECT_EQ(edit->text(), "") << "an empty box stays empty";
}

} // namespace
