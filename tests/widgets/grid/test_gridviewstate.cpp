// The grid's view state on its own: the size that follows the owning form, and the
// fixed rows and columns with their footers, right columns and always-fixed rules.
#include <gtest/gtest.h>

#include "widgets/grid/GridViewState.h"

using namespace grid;
using namespace platform;

TEST(GridFormFollowState, TheGridGrowsAndShrinksWithTheForm)
{
    TFormFollowState f;
    f.Seen(400, 300);
    EXPECT_EQ(f.Follow(380, 280, 500, 250), (TPoint{480, 230}));
    f.Seen(500, 250);
    EXPECT_EQ(f.Follow(480, 230, 500, 250), (TPoint{480, 230}));  // unchanged form
}

TEST(GridFixedLayout, NormalCellsAndTheAlwaysFixedRules)
{
    TFixedLayout f;
    f.fixedFooters = 2;
    f.fixedRightCols = 1;
    EXPECT_EQ(f.NormalRowEnd(10), 8);
    EXPECT_EQ(f.NormalColEnd(5), 4);

    struct Shown { bool always; int set, shown; };
    const Shown shown[] = {{false, 0, 0}, {true, 0, 1}, {true, 2, 2}, {false, 3, 3}};
    for (const Shown& s : shown) {
        f.fixedRowAlways = f.fixedColAlways = s.always;
        EXPECT_EQ(f.RowsShown(s.set), s.shown) << s.always << " " << s.set;
        EXPECT_EQ(f.ColsShown(s.set), s.shown) << s.always << " " << s.set;
    }

    struct Fixed { bool rowAlways, colAlways; int remembered, col, row, cols, rows; bool fixed; };
    const Fixed cases[] = {
        {true, false, 1, 3, 1, 4, 1, true},    // nothing but the fixed row left
        {true, false, 1, 3, 1, 4, 2, false},   // a normal row besides it
        {true, false, 1, 3, 2, 4, 1, false},   // below the remembered rows
        {false, false, 1, 3, 1, 4, 1, false},
        {false, true, 0, 0, 5, 1, 9, true},    // the only column
        {false, true, 0, 0, 5, 2, 9, false},
        {false, true, 0, 1, 5, 1, 9, false},
    };
    for (const Fixed& c : cases) {
        TFixedLayout l;
        l.fixedRowAlways = c.rowAlways;
        l.fixedColAlways = c.colAlways;
        l.rememberedFixedRows = c.remembered;
        EXPECT_EQ(l.AlwaysFixed(c.col, c.row, c.cols, c.rows), c.fixed)
            << c.col << "," << c.row << " of " << c.cols << "x" << c.rows;
    }
}
