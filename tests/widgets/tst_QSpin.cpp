#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/QSpin.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace
{

struct ReadCase {
    const char *text;
    bool decimal;
    std::optional<int> value;
};

TEST(QSpinEditText, ReadsTextInBothModes)
{
    const ReadCase cases[] = {
        {"12.34", true, 123},
        {"5.", true, 50},
        {".5", true, 5},
        {"-1.5", true, -15},
        {"7", true, 70},
        {"93.5", true, 935},
        {"93.6", true, 936},
        {"12", true, 120},
        {"1.2.3", true, 12},
        {".", true, 0},
        {"1.x", true, std::nullopt},
        {"", true, std::nullopt},
        {"-", true, std::nullopt},
        {"999999999", true, std::nullopt},
        {"3000000000", false, std::nullopt},
        {"12", false, 12},
        {"+7", false, 7},
        {"-3", false, -3},
        {"1.5", false, std::nullopt},
        {"abc", false, std::nullopt},
        {"", false, std::nullopt},
        {"2147483647", false, 2147483647},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.decimal ? " decimal" : " integer"));
        EXPECT_EQ(TQSpinEdit::ReadText(QString::fromLatin1(c.text), c.decimal), c.value);
    }
}

TEST(QSpinEditText, WritesValuesInBothModes)
{
    const struct {
        int value;
        bool decimal;
        const char *text;
    } cases[] = {
        {125, true, "12.5"}, {0, true, "0.0"},   {935, true, "93.5"}, {123, true, "12.3"},
        {-15, true, "-1.5"}, {-5, true, "-0.5"}, {42, false, "42"},   {-42, false, "-42"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(TQSpinEdit::FormatValue(c.value, c.decimal), QString::fromLatin1(c.text));
        // What is written reads back as the same value.
        EXPECT_EQ(TQSpinEdit::ReadText(TQSpinEdit::FormatValue(c.value, c.decimal), c.decimal), c.value);
    }
}

TEST(QSpinEdit, StartsWithZeroAndDefaults)
{
    TQSpinEdit edit;
    EXPECT_EQ(edit.text(), "0");
    EXPECT_EQ(edit.Value(), 0);
    EXPECT_EQ(edit.MinValue(), 0);
    EXPECT_EQ(edit.MaxValue(), 0);
    EXPECT_EQ(edit.Increment(), 1);
    EXPECT_TRUE(edit.EditorEnabled());
    EXPECT_FALSE(edit.ModeDecimal());
    EXPECT_FALSE(edit.InKeyMode);
    EXPECT_EQ(edit.Button()->width(), 15);
    EXPECT_EQ(edit.Button()->parentWidget(), &edit);
    EXPECT_EQ(edit.Button()->FocusControl(), &edit);
    EXPECT_TRUE(edit.focusPolicy() & Qt::TabFocus);
}

TEST(QSpinEdit, UnreadableTextGivesMinValueAndStays)
{
    TQSpinEdit edit;
    edit.SetMinValue(3);
    edit.SetMaxValue(9);
    EXPECT_EQ(edit.text(), "0") << "setting the limits leaves the text alone";
    for (const char *text : {"abc", "", "-", "+"}) {
        edit.setText(QString::fromLatin1(text));
        EXPECT_EQ(edit.Value(), 3) << text;
        EXPECT_EQ(edit.text(), QString::fromLatin1(text));
    }
}

TEST(QSpinEdit, ClampsOnlyWhenLimitsDiffer)
{
    const struct {
        int min, max, written, shown;
    } cases[] = {
        {0, 0, 5000, 5000}, {0, 0, -7, -7},     {5, 5, 1, 1},        {0, 935, 1000, 935},
        {0, 935, -1, 0},    {0, 935, 400, 400}, {-10, 10, -11, -10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " <- " << c.written);
        TQSpinEdit edit;
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        edit.SetValue(c.written);
        EXPECT_EQ(edit.Value(), c.shown);
    }
}

TEST(QSpinEdit, ValueWriteRaisesOnChangeOnlyWhenTextChanges)
{
    TQSpinEdit edit;
    QSignalSpy spy(&edit, &TQSpinEdit::OnChange);
    edit.SetValue(5);
    EXPECT_EQ(spy.count(), 1);
    edit.SetValue(5);
    EXPECT_EQ(spy.count(), 1);
    edit.setText("abc");
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<QObject *>(), &edit);
}

TEST(QSpinEdit, ArrowsStepPastZeroWithoutLimits)
{
    TQSpinEdit edit;
    edit.StepDown(nullptr);
    edit.StepDown(nullptr);
    EXPECT_EQ(edit.Value(), -2);
    edit.SetValue(0);
    edit.SetIncrement(5);
    edit.StepUp(nullptr);
    EXPECT_EQ(edit.Value(), 5);
}

TEST(QSpinEdit, StepsClampAndSaturate)
{
    TQSpinEdit edit;
    edit.SetModeDecimal(true);
    edit.SetMinValue(0);
    edit.SetMaxValue(935);
    edit.SetIncrement(5);
    edit.SetValue(933);
    edit.StepUp(nullptr);
    EXPECT_EQ(edit.text(), "93.5");
    edit.SetValue(3);
    edit.StepDown(nullptr);
    EXPECT_EQ(edit.text(), "0.0");

    TQSpinEdit wide;
    wide.SetValue(2147483647);
    wide.StepUp(nullptr);
    EXPECT_EQ(wide.Value(), 2147483647);
}

TEST(QSpinEdit, ReadOnlyStepBeepsAndKeepsValue)
{
    TBeepCounter beeps;
    TQSpinEdit edit;
    edit.SetReadOnly(true);
    edit.StepUp(nullptr);
    edit.StepDown(nullptr);
    EXPECT_EQ(edit.text(), "0");
    EXPECT_EQ(beeps.Count(), 2);
}

TEST(QSpinEdit, ModeChangeKeepsTextUntilNextWrite)
{
    TQSpinEdit edit;
    edit.SetValue(125);
    edit.SetModeDecimal(true);
    EXPECT_EQ(edit.text(), "125");
    EXPECT_EQ(edit.Value(), 1250);
    edit.SetValue(125);
    EXPECT_EQ(edit.text(), "12.5");
}

class QSpinEditKeys : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        edit = new TQSpinEdit(window.get());
        other = new QPushButton("other", window.get());
        other->move(0, 60);
        ASSERT_TRUE(ShowActive(window.get()));
        edit->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return edit->hasFocus(); }, 10000));
        edit->clear();
    }

    std::unique_ptr<QWidget> window;
    TQSpinEdit *edit = nullptr;
    QPushButton *other = nullptr;
};

TEST_F(QSpinEditKeys, TypedCharactersAreFiltered)
{
    const struct {
        bool decimal;
        bool editorEnabled;
        const char *typed;
        const char *text;
        int beeps;
    } cases[] = {
        {false, true, "-12+", "-12+", 0}, {false, true, ".", "", 1}, {true, true, "1.5", "1.5", 0},
        {false, true, "a1", "1", 1},      {true, true, "x ", "", 2}, {false, false, "12", "", 2},
        {true, false, ".", "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        edit->SetEditorEnabled(true);
        edit->clear();
        edit->SetModeDecimal(c.decimal);
        edit->SetEditorEnabled(c.editorEnabled);
        TBeepCounter beeps;
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(beeps.Count(), c.beeps);
    }
}

TEST_F(QSpinEditKeys, DisabledEditorRefusesBackspaceDeleteAndPasteButArrowsStep)
{
    edit->setText("42");
    edit->SetEditorEnabled(false);
    TBeepCounter beeps;
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(beeps.Count(), 1);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QApplication::clipboard()->setText("77");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "42");

    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "43");
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "41");
}

TEST(QSpinEdit, MenuOffersNoPasteOrCutWhileTheTextIsLocked)
{
    TQSpinEdit edit;
    edit.setText("42");
    edit.selectAll();
    QApplication::clipboard()->setText("77");
    // The entries carry no object names; their untranslated texts find them.
    const auto offered = [&edit](const char *name) {
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        for (const QAction *action : menu->actions())
            if (action->text().section(QLatin1Char('\t'), 0, 0) == QLatin1String(name))
                return action->isEnabled();
        return false;
    };
    EXPECT_TRUE(offered("&Paste"));
    EXPECT_TRUE(offered("Cu&t"));
    edit.SetEditorEnabled(false);
    EXPECT_FALSE(offered("&Paste"));
    EXPECT_FALSE(offered("Cu&t"));
    edit.SetEditorEnabled(true);
    edit.SetReadOnly(true);
    EXPECT_FALSE(offered("&Paste"));
    EXPECT_FALSE(offered("Cu&t"));
}

TEST_F(QSpinEditKeys, PasteWorksWhileEditorEnabled)
{
    QApplication::clipboard()->setText("7x");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "7x") << "pasted text is not filtered";
    EXPECT_EQ(edit->Value(), 0);
}

TEST_F(QSpinEditKeys, InKeyModeFollowsTypingUntilEnter)
{
    TBeepCounter beeps;
    EXPECT_FALSE(edit->InKeyMode);
    QTest::keyClick(edit, Qt::Key_1);
    EXPECT_TRUE(edit->InKeyMode);
    QTest::keyClick(edit, Qt::Key_Up);
    edit->SetValue(30);
    edit->StepDown(nullptr);
    other->setFocus();
    EXPECT_TRUE(edit->InKeyMode) << "arrows, writes and focus changes keep typing mode";
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->InKeyMode);
    EXPECT_EQ(beeps.Count(), 0) << "Enter is swallowed silently";
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_FALSE(edit->InKeyMode) << "a refused character does not start typing mode";
}

TEST_F(QSpinEditKeys, FocusExitRewritesOnlyValuesOutsideLimits)
{
    edit->SetModeDecimal(true);
    edit->SetMinValue(0);
    edit->SetMaxValue(935);
    edit->setText("93.6");
    EXPECT_EQ(edit->Value(), 936);
    other->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return other->hasFocus(); }, 10000));
    EXPECT_EQ(edit->text(), "93.5");

    edit->setFocus();
    edit->setText("12");
    other->setFocus();
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(edit->Value(), 120);

    edit->setFocus();
    edit->setText("junk");
    other->setFocus();
    EXPECT_EQ(edit->text(), "junk") << "unreadable text reads as MinValue, which needs no rewrite";
}

TEST_F(QSpinEditKeys, EnterDoesNotReachTheDefaultButton)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *dialogEdit = new TQSpinEdit(&dialog);
    auto *button = new QPushButton("OK", &dialog);
    button->setDefault(true);
    layout->addWidget(dialogEdit);
    layout->addWidget(button);
    QSignalSpy clicked(button, &QPushButton::clicked);
    ASSERT_TRUE(ShowActive(&dialog));
    dialogEdit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogEdit->hasFocus(); }, 10000));
    QTest::keyClick(dialogEdit, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(QSpinEditKeys, KeyUpIsReportedForEnter)
{
    QSignalSpy keyUp(edit, &TQSpinEdit::OnKeyUp);
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(keyUp.count(), 1);
    EXPECT_EQ(keyUp.at(0).at(1).toInt(), int(Qt::Key_Return));
}

TEST_F(QSpinEditKeys, AutoSelectOnKeyboardEntryOnly)
{
    edit->setText("123");
    other->setFocus();
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->selectedText(), "123");

    other->setFocus();
    edit->deselect();
    edit->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(edit->hasSelectedText());

    other->setFocus();
    edit->SetAutoSelect(false);
    edit->deselect();
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(edit->hasSelectedText());
}

TEST(QSpinEditLayout, HeightIsRaisedToTheMinimumAndArrowsPlaced)
{
    TQSpinEdit edit;
    // A hidden widget hears of its resizes only when it is shown.
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit, 10000));
    const int minHeight = edit.MinHeight();
    edit.resize(80, 5);
    EXPECT_EQ(edit.height(), minHeight);

    edit.resize(80, 30);
    EXPECT_EQ(edit.Button()->geometry(), QRect(2 + 80 - 15 - 5, 2, 15, 25));
    EXPECT_EQ(edit.Button()->UpButton()->geometry(), QRect(0, 0, 15, 12));
    EXPECT_EQ(edit.Button()->DownButton()->geometry(), QRect(0, 11, 15, 14));

    edit.SetCtl3D(false);
    EXPECT_EQ(edit.Button()->geometry(), QRect(80 - 15, 1, 15, 27));
    EXPECT_EQ(edit.textMargins().right(), 17);
}

} // namespace
