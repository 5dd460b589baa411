#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/GroupCheckBox.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

QStringList Names(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QStringLiteral("Att %1").arg(i + 1);
    return items;
}

TEST(CheckGroup, StartsEmpty)
{
    TCheckGroup group;
    EXPECT_EQ(group.ButtonCount(), 0);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(group.Columns(), 1);
    EXPECT_EQ(group.SelCount(), 0);
}

TEST(CheckGroup, ColumnsAreClampedToOneToSixteen)
{
    const struct {
        int written, stored;
    } cases[] = {{0, 1}, {20, 16}, {5, 5}, {-3, 1}, {16, 16}};
    for (const auto &c : cases) {
        TCheckGroup group;
        group.SetColumns(c.written);
        EXPECT_EQ(group.Columns(), c.stored) << c.written;
    }
}

TEST(CheckGroup, ItemIndexIsClampedAndChecksOnlyItsBox)
{
    TCheckGroup group;
    group.SetItems(Names(2));
    group.SetItemIndex(3);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_TRUE(group.GetCheckedStatus(1));
    EXPECT_FALSE(group.GetCheckedStatus(0));
    group.SetCheckedStatus(0, true);
    group.SetItemIndex(1);
    EXPECT_TRUE(group.GetCheckedStatus(0)) << "other boxes keep their state";
    group.SetItemIndex(-5);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(group.SelCount(), 2);
}

TEST(CheckGroup, ShrinkingTheItemsKeepsStatesAndLimitsItemIndex)
{
    TCheckGroup group;
    group.SetItems(Names(6));
    group.SetCheckedStatus(1, true);
    group.SetCheckedStatus(5, true);
    group.SetItemIndex(4);
    EXPECT_EQ(group.SelCount(), 3) << "every checked box counts";
    group.SetItems({"A", "B"});
    EXPECT_EQ(group.ButtonCount(), 2);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_FALSE(group.GetCheckedStatus(0));
    EXPECT_TRUE(group.GetCheckedStatus(1));
    EXPECT_EQ(group.Button(0)->text(), "A");
    EXPECT_EQ(group.Button(1)->text(), "B");
    group.SetItems({});
    EXPECT_EQ(group.ButtonCount(), 0);
    EXPECT_EQ(group.ItemIndex(), -1);
}

TEST(CheckGroup, CheckingAnUncheckedBoxSelectsItAndRaisesOnClick)
{
    TCheckGroup group;
    group.SetItems(Names(3));
    QSignalSpy clicks(&group, &TCheckGroup::OnClick);
    group.SetCheckedStatus(0, true);
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(clicks.count(), 1);
    group.SetCheckedStatus(0, true);
    EXPECT_EQ(clicks.count(), 1);
    group.SetItemIndex(2);
    EXPECT_EQ(clicks.count(), 2);
    group.SetCheckedStatus(2, false);
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_EQ(clicks.count(), 3);
}

TEST(CheckGroup, LoadingRebuildsOnceWithTheStoredIndex)
{
    TCheckGroup group;
    QSignalSpy clicks(&group, &TCheckGroup::OnClick);
    group.LoadProperties(Names(4), 2, 3);
    EXPECT_EQ(group.ButtonCount(), 4);
    EXPECT_EQ(group.Columns(), 2);
    EXPECT_EQ(group.ItemIndex(), 3);
    EXPECT_TRUE(group.GetCheckedStatus(3));
    EXPECT_EQ(clicks.count(), 0) << "the box is checked while updating";
}

TEST(CheckGroup, ArrangesItemsInColumnsTopToBottom)
{
    const struct {
        int n, cols, w, h;
    } cases[] = {{6, 3, 250, 90}, {2, 3, 250, 60}, {5, 2, 200, 100}, {1, 1, 120, 40}, {8, 16, 400, 50}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << " items in " << c.cols);
        TCheckGroup group;
        group.resize(c.w, c.h);
        group.SetColumns(c.cols);
        group.SetItems(Names(c.n));
        const int fontHeight = QFontMetrics(group.font()).height();
        const int rows = (c.n + c.cols - 1) / c.cols;
        const int width = (c.w - 10) / c.cols;
        const int space = c.h - fontHeight - 5;
        const int height = space / rows;
        const int top = fontHeight + 1 + (space % rows) / 2;
        for (int i = 0; i < c.n; ++i) {
            EXPECT_EQ(group.Button(i)->geometry(),
                      QRect((i / rows) * width + 8, (i % rows) * height + top, width, height))
                << i;
            EXPECT_FALSE(group.Button(i)->isHidden());
        }
    }
    TCheckGroup six;
    six.resize(250, 90);
    six.SetColumns(3);
    six.SetItems(Names(6));
    EXPECT_EQ(six.Button(1)->x(), six.Button(0)->x()) << "two rows: box 1 under box 0";
    EXPECT_GT(six.Button(2)->x(), six.Button(1)->x());
}

TEST(CheckGroup, FollowsResizeAndEnabledState)
{
    TCheckGroup group;
    group.resize(200, 80);
    group.SetItems(Names(2));
    // A hidden widget hears of its resizes only when it is shown.
    group.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&group, 10000));
    group.resize(300, 80);
    EXPECT_EQ(group.Button(0)->width(), 290);
    group.setEnabled(false);
    group.AddItem("late");
    for (int i = 0; i < group.ButtonCount(); ++i)
        EXPECT_FALSE(group.Button(i)->isEnabled()) << i;
    group.setEnabled(true);
    for (int i = 0; i < group.ButtonCount(); ++i)
        EXPECT_TRUE(group.Button(i)->isEnabled()) << i;
}

class LockedGroup : public TCheckGroup
{
public:
    bool locked = true;
    bool CanChangeItem() override { return !locked; }
};

TEST(CheckGroup, UserClicksToggleOnlyWhenItemsMayChange)
{
    QWidget window;
    auto *group = new LockedGroup;
    group->setParent(&window);
    group->resize(200, 100);
    group->SetItems(Names(2));
    ASSERT_TRUE(ShowActive(&window));
    QSignalSpy clicks(group, &TCheckGroup::OnClick);
    TGroupButton *box = group->Button(1);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks.count(), 0);

    group->locked = false;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks.count(), 2);
}

} // namespace
