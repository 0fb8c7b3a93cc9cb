// The grid's sort, filter and find state on its own: matching cells against a search,
// the sort index both ways, the column order and the sort keys after a move, and the
// filter switch.
#include <gtest/gtest.h>

#include <string>

#include "widgets/grid/GridSortState.h"

using namespace grid;

TEST(GridFindState, CellsMatchTheSearchAsAsked)
{
    const unsigned Case = TFindState::kMatchCase, Full = TFindState::kMatchFull, Start = TFindState::kMatchStart,
                   Regular = TFindState::kMatchRegular, Tags = TFindState::kIgnoreTags;
    struct Row {
        std::string text;
        unsigned params;
        std::string cell;
        bool match;
    };
    const Row rows[] = {
        {"ell", 0, "Hello", true},        {"ELL", 0, "hello", true},      {"ELL", Case, "hello", false},
        {"ell", Case, "hello", true},     {"ell", Start, "hello", false}, {"hel", Start, "Hello", true},
        {"hello", Full, "Hello", true},   {"hell", Full, "Hello", false}, {"b", Tags, "<b>x</b>", false},
        {"b", 0, "<b>x</b>", true},       {"x", Tags | Full, "<b>x</b>", true},
        {"\"\"", 0, "", true},            {"\"\"", 0, "a", false},
        {"h*o", Regular, "Hello", true},  {"h*x", Regular, "Hello", false},
    };
    for (const Row& r : rows) {
        TFindState f;
        f.findParams = r.params;
        f.SetText(r.text, r.params);
        EXPECT_EQ(f.Matches(r.cell), r.match) << r.text << " in " << r.cell << " params " << r.params;
    }
    // wide texts keep their case: there is no case folding of them
    struct WideRow {
        std::u16string text;
        unsigned params;
        std::u16string cell;
        bool match;
    };
    const WideRow wide[] = {
        {u"\u00e9t\u00e9", 0, u"l'\u00e9t\u00e9", true}, {u"\u00e9t\u00e9", Start, u"l'\u00e9t\u00e9", false},
        {u"ab", Full, u"ab", true},                       {u"ab", Full, u"abc", false},
        {u"\"\"", 0, u"", true},
    };
    for (const WideRow& r : wide) {
        TFindState f;
        f.findParams = r.params;
        f.findWideText = r.text;
        EXPECT_EQ(f.Matches(r.cell), r.match) << r.params;
    }
}

TEST(GridSortState, TheSortIndexBothWays)
{
    TSortState s;
    for (int v : {2, 0, 1}) s.sortIndex.Add(v);  // sorted row i came from row sortIndex[i]
    const int sorted[][2] = {{0, 2}, {1, 0}, {2, 1}, {3, 3}, {-1, -1}};
    for (const auto& c : sorted) EXPECT_EQ(s.SortedRow(c[0]), c[1]) << c[0];
    const int unsorted[][2] = {{2, 0}, {0, 1}, {1, 2}, {7, 3}};  // not in the index: past the end
    for (const auto& c : unsorted) EXPECT_EQ(s.UnsortedRow(c[0]), c[1]) << c[0];
}

TEST(GridSortState, ColumnOrderAndSortKeysFollowAMove)
{
    TSortState s;
    s.ResetColumnOrder(5);
    s.ColumnMoved(1, 3);
    s.ColumnMoved(4, 4);   // nowhere: nothing
    s.ColumnMoved(0, 9);   // outside: nothing
    std::string order;
    for (int i = 0; i < s.columnOrder.Count(); ++i) order += std::to_string(s.columnOrder.Items(i));
    EXPECT_EQ(order, "02314");
    s.ResetColumnOrder(3);
    EXPECT_EQ(s.columnOrder.Count(), 3);
    EXPECT_EQ(s.columnOrder.Items(2), 2);

    struct Case { int c, from, to, after; };
    const Case cases[] = {
        {1, 1, 3, 3}, {2, 1, 3, 1}, {3, 1, 3, 2}, {4, 1, 3, 4}, {0, 1, 3, 0},
        {3, 3, 1, 1}, {1, 3, 1, 2}, {2, 3, 1, 3}, {4, 3, 1, 4},
    };
    for (const Case& c : cases) EXPECT_EQ(TSortState::FollowColumn(c.c, c.from, c.to), c.after) << c.c << " " << c.from << "->" << c.to;

    s.sortKeys.AddIndex(1, true);
    s.sortKeys.AddIndex(2, false);
    s.KeysFollow(1, 3);
    EXPECT_EQ(s.sortKeys.SortColumns(0), 3);
    EXPECT_EQ(s.sortKeys.SortColumns(1), 1);
    EXPECT_FALSE(s.sortKeys.SortDirections(0));  // the directions stay
    EXPECT_TRUE(s.sortKeys.SortDirections(1));
}

TEST(GridSortState, SwapsAreCountedAndFollowedInThePreSortOrder)
{
    TSortState s;
    for (int v : {10, 11, 12}) s.preSortOrder.Add(v);
    s.Swapped(0, 2);
    s.Swapped(1, 5);  // outside the order: counted only
    s.Swapped(-1, 0);
    EXPECT_EQ(s.swapCount, 3);
    EXPECT_EQ(s.preSortOrder.Items(0), 12);
    EXPECT_EQ(s.preSortOrder.Items(1), 11);
    EXPECT_EQ(s.preSortOrder.Items(2), 10);
}

TEST(GridFilterState, SwitchingKeepsTheFixedRowsOfTheStart)
{
    TFilterState f;
    EXPECT_FALSE(f.Switch(false, 3));  // off already
    EXPECT_TRUE(f.Switch(true, 2));
    EXPECT_FALSE(f.Switch(true, 5));   // on already: the first count stays
    EXPECT_EQ(f.filterFixedRows, 2);
    EXPECT_TRUE(f.Switch(false, 7));
    EXPECT_FALSE(f.filterActive);
    EXPECT_EQ(f.filterFixedRows, 2);   // given back by the grid
}
