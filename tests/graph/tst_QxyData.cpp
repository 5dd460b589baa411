#include "graph/QxyData.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

class TRecordingSeries : public TDataSeries
{
public:
    std::vector<int> Reasons;

protected:
    void NotifyChange(uint8_t reason) override { Reasons.push_back(reason); }
};

std::vector<int> StoredY(const TDataSeries &s)
{
    std::vector<int> ys;
    for (int i = 0; i < s.PointCount(); ++i)
        ys.push_back(s.GetXYPoint(i)->y);
    return ys;
}

} // namespace

TEST(DataSeries, FirstAddSetsExtentsFromThePoint)
{
    TRecordingSeries s;
    EXPECT_FALSE(s.Changed());
    EXPECT_EQ(s.Add(7, -3), 1);
    EXPECT_EQ(s.XMinVal(), 7);
    EXPECT_EQ(s.XMaxVal(), 7);
    EXPECT_EQ(s.YMinVal(), -3);
    EXPECT_EQ(s.YMaxVal(), -3);
    EXPECT_TRUE(s.Changed());
    EXPECT_EQ(s.Reasons, std::vector<int>{1});
}

TEST(DataSeries, LaterAddsWidenExtentsAndKeepOrder)
{
    TDataSeries s;
    s.Add(5, 10);
    s.Add(-2, 30);
    EXPECT_EQ(s.Add(9, -4), 3);
    EXPECT_EQ(s.XMinVal(), -2);
    EXPECT_EQ(s.XMaxVal(), 9);
    EXPECT_EQ(s.YMinVal(), -4);
    EXPECT_EQ(s.YMaxVal(), 30);
    EXPECT_EQ(s.GetXYPoint(1)->x, -2);
    EXPECT_EQ(s.XYPoint(2)->y, -4);
}

TEST(DataSeries, IndexOutsideThePointsRaisesListError)
{
    TDataSeries s;
    EXPECT_THROW(s.GetXYPoint(0), EListError);
    s.Add(1, 1);
    EXPECT_THROW(s.GetXYPoint(1), EListError);
    EXPECT_THROW(s.GetXYPoint(-1), EListError);
    EXPECT_NO_THROW(s.GetXYPoint(0));
}

TEST(DataSeries, AutoZeroFixesOffsetFromFirstPoint)
{
    TRecordingSeries s;
    s.SetAutoZero(true);
    EXPECT_EQ(s.Reasons, std::vector<int>{2});
    s.Add(0, 100);
    s.Add(1, 130);
    s.Add(2, 90);
    EXPECT_EQ(s.ZeroOffset(), 100);
    EXPECT_EQ(StoredY(s), (std::vector<int>{0, 30, -10}));
    EXPECT_EQ(s.YMinVal(), -10);
    EXPECT_EQ(s.YMaxVal(), 30);
    // Only an empty series takes a new offset from its next point.
    EXPECT_TRUE(s.AutoZero());
}

TEST(DataSeries, SettingAutoZeroToItsValueDoesNothing)
{
    TRecordingSeries s;
    s.SetAutoZero(false);
    EXPECT_TRUE(s.Reasons.empty());
    EXPECT_FALSE(s.Changed());
}

TEST(DataSeries, ZeroOffsetRebasesStoredPointsButNotExtents)
{
    TRecordingSeries s;
    s.Add(0, 10);
    s.Add(1, 20);
    s.Reasons.clear();
    s.SetZeroOffset(5);
    EXPECT_EQ(StoredY(s), (std::vector<int>{5, 15}));
    EXPECT_EQ(s.YMinVal(), 10);
    EXPECT_EQ(s.YMaxVal(), 20);
    EXPECT_EQ(s.Reasons, std::vector<int>{2});
    s.SetZeroOffset(-5);
    EXPECT_EQ(StoredY(s), (std::vector<int>{15, 25}));
    // The same offset again: nothing happens.
    s.Reasons.clear();
    s.SetZeroOffset(-5);
    EXPECT_TRUE(s.Reasons.empty());
}

TEST(DataSeries, ZeroOffsetWithAutoZeroOnWorksEvenWhenUnchanged)
{
    TRecordingSeries s;
    s.SetAutoZero(true);
    s.Add(0, 40);
    s.Reasons.clear();
    s.SetChanged(false);
    s.SetZeroOffset(40);
    EXPECT_FALSE(s.AutoZero());
    EXPECT_TRUE(s.Changed());
    EXPECT_EQ(s.Reasons, std::vector<int>{2});
    EXPECT_EQ(StoredY(s), std::vector<int>{0});
}

TEST(DataSeries, ClearResetsOffsetKeepsAutoZeroAndOldExtents)
{
    TRecordingSeries s;
    s.SetAutoZero(true);
    s.Add(3, 50);
    s.Add(8, 70);
    s.SetChanged(false);
    s.Reasons.clear();
    s.Clear();
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.ZeroOffset(), 0);
    EXPECT_TRUE(s.AutoZero());
    EXPECT_TRUE(s.Changed());
    EXPECT_EQ(s.Reasons, std::vector<int>{1});
    EXPECT_EQ(s.XMinVal(), 3);
    EXPECT_EQ(s.XMaxVal(), 8);
    // The next point resets the extents and, with AutoZero, the offset.
    s.Add(-1, 9);
    EXPECT_EQ(s.XMinVal(), -1);
    EXPECT_EQ(s.XMaxVal(), -1);
    EXPECT_EQ(s.ZeroOffset(), 9);
    EXPECT_EQ(s.GetXYPoint(0)->y, 0);
}

TEST(DataSeries, XoffsetMovesPointsSilentlyAndLeavesExtents)
{
    TRecordingSeries s;
    s.Add(0, 1);
    s.Add(10, 2);
    s.SetChanged(false);
    s.Reasons.clear();
    s.SetXoffset(-1);
    EXPECT_EQ(s.GetXYPoint(0)->x, -1);
    EXPECT_EQ(s.GetXYPoint(1)->x, 9);
    EXPECT_EQ(s.XMinVal(), 0);
    EXPECT_EQ(s.XMaxVal(), 10);
    EXPECT_FALSE(s.Changed());
    EXPECT_TRUE(s.Reasons.empty());
}

TEST(DataSeries, ExtremeValuesDoNotOverflow)
{
    TDataSeries s;
    s.Add(INT32_MAX, INT32_MIN);
    s.SetZeroOffset(INT32_MAX);
    s.SetXoffset(INT32_MAX);
    EXPECT_EQ(s.PointCount(), 1);
}
