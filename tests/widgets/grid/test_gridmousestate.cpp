// The grid's mouse state on its own: a held button and what the release takes of the
// press, intelli-pan's way, step and cursor, the disjunct cell list, and when a press
// becomes a drag.
#include <gtest/gtest.h>

#include "widgets/grid/GridMouseState.h"

using namespace grid;
using namespace platform;

TEST(GridClickState, HeldButtonAndWhatTheReleaseTakesOnce)
{
    TClickState c;
    EXPECT_FALSE(c.ButtonHeld());
    c.HoldButton({2, 3}, true);
    EXPECT_TRUE(c.ButtonHeld());
    EXPECT_TRUE(c.ReleaseButton());   // it was a fixed cell
    EXPECT_FALSE(c.ButtonHeld());
    EXPECT_FALSE(c.ReleaseButton());  // nothing held any more
    c.HoldButton({1, 1}, false);
    EXPECT_FALSE(c.ReleaseButton());

    c.skipNextUp = true;
    EXPECT_TRUE(c.TakeSkipUp());
    EXPECT_FALSE(c.TakeSkipUp());
    c.pressCell = {4, 5};
    EXPECT_EQ(c.TakePressCell(), (TPoint{4, 5}));
    EXPECT_EQ(c.TakePressCell(), (TPoint{-1, -1}));

    c.BeginFill({1, 2, 3, 4});
    EXPECT_TRUE(c.fillDrag);
    EXPECT_EQ(c.fillOrigin, (TGridRect{1, 2, 3, 4}));
}

TEST(GridPanState, WayStepAndCursor)
{
    TPanState p;
    p.Start({100, 100}, crHandPoint, true);
    EXPECT_TRUE(p.panning);
    EXPECT_EQ(p.panOldCursor, crHandPoint);
    EXPECT_TRUE(p.panOldShowHint);
    EXPECT_EQ(p.MarkRect(), (TRect{100, 100, 100 + TPanState::kMarkSize, 100 + TPanState::kMarkSize}));

    struct Way { TPoint mouse; bool h, v; TPoint d; };
    const Way ways[] = {
        {{100, 100}, true, true, {0, 0}},  {{105, 95}, true, true, {0, 0}},   // inside the dead zone
        {{106, 100}, true, true, {1, 0}},  {{94, 80}, true, true, {-1, -1}},
        {{94, 80}, false, true, {0, -1}},  {{94, 80}, true, false, {-1, 0}},
        {{150, 150}, true, true, {1, 1}},
    };
    for (const Way& w : ways) {
        p.panMouse = w.mouse;
        EXPECT_EQ(p.Direction(w.h, w.v), w.d) << w.mouse.X << "," << w.mouse.Y;
    }

    const TRect reach{1, 1, 5, 9};  // columns 1..5, rows 1..9
    struct Step { TPoint cell, d, next; };
    const Step steps[] = {
        {{3, 3}, {1, -1}, {4, 2}}, {{5, 9}, {1, 1}, {5, 9}},   // at the far corner: stays
        {{1, 1}, {-1, -1}, {1, 1}}, {{0, 0}, {0, 0}, {1, 1}},  // outside: brought in
        {{8, 4}, {-1, 0}, {4, 4}},  {{3, 3}, {0, 0}, {3, 3}},
    };
    for (const Step& s : steps) EXPECT_EQ(TPanState::Step(s.cell, s.d, reach), s.next) << s.cell.X << "," << s.cell.Y;

    EXPECT_EQ(TPanState::CursorFor({0, 0}), crSizeAll);
    EXPECT_EQ(TPanState::CursorFor({1, 0}), crSizeWE);
    EXPECT_EQ(TPanState::CursorFor({0, -1}), crSizeNS);
    EXPECT_EQ(TPanState::CursorFor({1, 1}), crSizeNWSE);
    EXPECT_EQ(TPanState::CursorFor({-1, 1}), crSizeNESW);
}

TEST(GridSelectState, DisjunctCellsKeepTheirOrderAndReadBackUnsigned)
{
    TSelectState s;
    EXPECT_TRUE(s.MarkCell(65535, 40000, true));  // both halves of the packed entry in full
    EXPECT_TRUE(s.MarkCell(1, 2, true));
    EXPECT_FALSE(s.MarkCell(1, 2, true));     // marked already
    EXPECT_EQ(s.CellCount(), 2);
    EXPECT_EQ(s.CellAt(0), (TPoint{65535, 40000}));
    EXPECT_EQ(s.CellAt(1), (TPoint{1, 2}));
    EXPECT_TRUE(s.HasCell(65535, 40000));
    EXPECT_FALSE(s.HasCell(2, 1));
    EXPECT_TRUE(s.MarkCell(65535, 40000, false));
    EXPECT_FALSE(s.MarkCell(65535, 40000, false));
    EXPECT_EQ(s.CellCount(), 1);
    EXPECT_EQ(s.CellAt(0), (TPoint{1, 2}));
}

// Rows past 65535 are cells of their own, not the rows 65536 below them.
TEST(GridSelectState, FarRowsStayTheirOwnCells)
{
    TSelectState s;
    EXPECT_TRUE(s.MarkCell(1, 0, true));
    EXPECT_TRUE(s.MarkCell(1, 65536, true));
    EXPECT_TRUE(s.MarkCell(1, 1 << 20, true));
    EXPECT_EQ(s.CellCount(), 3);
    EXPECT_EQ(s.CellAt(1), (TPoint{1, 65536}));
    EXPECT_EQ(s.CellAt(2), (TPoint{1, 1 << 20}));
    EXPECT_FALSE(s.HasCell(1, 131072));
    EXPECT_TRUE(s.MarkCell(1, 0, false));
    EXPECT_TRUE(s.HasCell(1, 65536));
    EXPECT_THROW(s.CellAt(2), base::EListError);
}

TEST(GridOleDragState, APressBecomesADragOnlyPastThreePixels)
{
    TOleDragState d;
    d.Arm({50, 50}, ssShift);
    EXPECT_TRUE(d.oleArmed);
    EXPECT_EQ(d.olePressShift, ssShift);
    struct Case { int x, y; bool left; };
    const Case cases[] = {{50, 50, false}, {53, 47, false}, {54, 50, true}, {50, 46, true}, {46, 54, true}};
    for (const Case& c : cases) EXPECT_EQ(d.LeftPress(c.x, c.y), c.left) << c.x << "," << c.y;

    // rows inserted at or above the dragged cells move them down, only while dragging
    d.oleDragSel = {1, 5, 2, 6};
    d.RowsInserted(3, 2);
    EXPECT_EQ(d.oleDragSel, (TRect{1, 5, 2, 6}));
    d.oleDragging = true;
    d.RowsInserted(7, 2);  // below: stays
    EXPECT_EQ(d.oleDragSel, (TRect{1, 5, 2, 6}));
    d.RowsInserted(5, 2);
    EXPECT_EQ(d.oleDragSel, (TRect{1, 7, 2, 8}));
}
