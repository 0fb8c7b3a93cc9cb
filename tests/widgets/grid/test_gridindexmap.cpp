// The index map on its own: hidden rows kept ascending and mapped both ways, hidden
// columns counted with their widths, and the column flags following inserts, removals
// and moves, up to the end of the map.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "widgets/grid/ExObj.h"
#include "widgets/grid/GridIndexMap.h"

using namespace grid;

namespace {

std::unique_ptr<TGridItem> Record(int real)
{
    auto item = std::make_unique<TGridItem>();
    item->Idx = real;
    return item;
}

std::vector<int> HiddenIdx(const TGridIndexMap& m)
{
    std::vector<int> v;
    for (const auto& h : m.HiddenRows()) v.push_back(h->Idx);
    return v;
}

}  // namespace

TEST(GridIndexMap, HiddenRowsMapBothWays)
{
    TGridIndexMap m;
    for (int r : {5, 2, 3}) m.InsertHidden(Record(r));
    EXPECT_EQ(HiddenIdx(m), (std::vector<int>{2, 3, 5}));
    // Real rows 0..7 with 2, 3 and 5 hidden show as 0 1 _ _ 2 _ 3 4.
    struct Case { int real, display; };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{4, 2}, Case{6, 3}, Case{7, 4}})
        EXPECT_EQ(m.RemapRow(c.real), c.display) << c.real;
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{4, 2}, Case{6, 3}, Case{7, 4}})
        EXPECT_EQ(m.RemapRowInv(c.display), c.real) << c.display;
    EXPECT_EQ(m.RemapRowInv(-1), -1);
    EXPECT_NE(m.FindHiddenRow(3), nullptr);
    EXPECT_EQ(m.FindHiddenRow(4), nullptr);

    auto taken = m.TakeHidden(1);
    EXPECT_EQ(taken->Idx, 3);
    EXPECT_EQ(HiddenIdx(m), (std::vector<int>{2, 5}));
    m.InsertedRows(4, 2);   // two real rows before 5
    EXPECT_EQ(HiddenIdx(m), (std::vector<int>{2, 7}));
    m.RemovedRows({0, 1});  // both below 2 and 7
    EXPECT_EQ(HiddenIdx(m), (std::vector<int>{0, 5}));
    m.ClearHiddenRows();
    EXPECT_EQ(m.HiddenRowCount(), 0);
}

TEST(GridIndexMap, HiddenColumnsKeepTheirWidths)
{
    TGridIndexMap m;
    EXPECT_EQ(m.RemapCol(3), 3);
    EXPECT_TRUE(m.HideColumn(1, 40));
    EXPECT_FALSE(m.HideColumn(1, 50));  // already hidden
    EXPECT_TRUE(m.HideColumn(3, 60));
    EXPECT_EQ(m.HiddenColCount(), 2);
    EXPECT_EQ(m.SavedWidth(1), 40);
    // Real 0 1 2 3 4 with 1 and 3 hidden show as 0 _ 1 _ 2.
    EXPECT_EQ(m.RemapCol(1), 2);
    EXPECT_EQ(m.RemapCol(2), 4);
    EXPECT_EQ(m.RemapColInv(4), 2);
    EXPECT_TRUE(m.IsHiddenColumn(3));
    EXPECT_TRUE(m.ShowColumn(3));
    EXPECT_FALSE(m.ShowColumn(3));
    EXPECT_EQ(m.HiddenColCount(), 1);
    EXPECT_FALSE(m.IsHiddenColumn(3));
}

TEST(GridIndexMap, TheMapEndsAtItsLimits)
{
    TGridIndexMap m;
    // The last mapped column can be hidden; the ones past the map cannot.
    EXPECT_TRUE(m.HideColumn(kMappedColumns - 1, 10));
    EXPECT_FALSE(m.HideColumn(kMappedColumns, 10));
    EXPECT_FALSE(m.HideColumn(-1, 10));
    EXPECT_FALSE(m.IsHiddenColumn(kMappedColumns));
    // Beyond the map the real columns follow on after the hidden ones.
    EXPECT_EQ(m.RemapCol(kMappedColumns - 1), kMappedColumns);
    EXPECT_EQ(m.RemapCol(kMappedColumns), kMappedColumns);
    // Flags and widths outside the tables read as shown and 0, and are not written.
    m.SetVisible(kColumnSlots, false);
    m.SetSavedWidth(kColumnSlots, 99);
    m.SetSavedWidth(-1, 99);
    EXPECT_TRUE(m.Visible(kColumnSlots));
    EXPECT_TRUE(m.Visible(-1));
    EXPECT_EQ(m.SavedWidth(kColumnSlots), 0);
    m.SetVisible(kColumnSlots - 1, false);
    EXPECT_FALSE(m.Visible(kColumnSlots - 1));
    // Inserting at the end of the map pushes nothing past it.
    m.InsertedColumns(kColumnSlots - 1, 3, kColumnSlots + 2);
    EXPECT_TRUE(m.Visible(kColumnSlots - 1));
}

TEST(GridIndexMap, FlagsFollowInsertsRemovalsAndMoves)
{
    TGridIndexMap m;
    m.HideColumn(2, 25);
    m.InsertedColumns(1, 2, 8);  // two new columns before real 2
    EXPECT_TRUE(m.Visible(1));
    EXPECT_TRUE(m.Visible(2));
    EXPECT_FALSE(m.Visible(4));
    m.RemovedColumns(0, 2, 6);
    EXPECT_FALSE(m.Visible(2));
    EXPECT_TRUE(m.Visible(4));
    // A move carries the flag and the width along; out-of-map moves change nothing.
    m.SetSavedWidth(2, 25);
    m.MovedColumn(2, 5);
    EXPECT_TRUE(m.Visible(2));
    EXPECT_FALSE(m.Visible(5));
    EXPECT_EQ(m.SavedWidth(5), 25);
    m.MovedColumn(5, 0);
    EXPECT_FALSE(m.Visible(0));
    EXPECT_EQ(m.SavedWidth(0), 25);
    m.MovedColumn(0, kMappedColumns);
    EXPECT_FALSE(m.Visible(0));
}
