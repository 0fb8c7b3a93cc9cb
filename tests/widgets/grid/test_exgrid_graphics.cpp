// Cell graphics: kinds, check boxes, buttons, markers, angles and node rows.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"
#include "GridWindow.h"

using namespace platform;
using namespace grid;

namespace {

struct GraphicsTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(500, 300, 4, 6);
        g->SetFixedRows(1);
        g->SetFixedCols(0);
        for (int r = 0; r < 6; ++r) g->SetCells(1, r, "r" + std::to_string(r));
    }
    void TearDown() override { Close(); }
};

}  // namespace

TEST_F(GraphicsTest, KindsAttachAndReplace)
{
    EXPECT_EQ(g->GetCellType(2, 2), ctEmpty);
    EXPECT_EQ(g->GetCellType(-1, 2), ctEmpty);
    g->AddProgress(2, 2, clRed, clWhite);
    EXPECT_EQ(g->GetCellType(2, 2), ctProgress);
    g->AddCheckBox(2, 2, false, false);  // replaces the bar
    EXPECT_EQ(g->GetCellType(2, 2), ctCheckBox);
    EXPECT_EQ(g->GetCellEx(2, 2), "");
    EXPECT_FALSE(g->RemoveProgress(2, 2));
    EXPECT_TRUE(g->RemoveCheckBox(2, 2));
    EXPECT_EQ(g->GetCellType(2, 2), ctEmpty);
    g->AddMarker(3, 3, 2, 4);
    EXPECT_EQ(g->GetCellType(3, 3), ctEmpty);
    int pos = 0, len = 0;
    g->GetMarker(3, 3, pos, len);
    EXPECT_EQ(len, 4);
    g->AddComment(3, 4, "note");
    g->AddMarker(3, 4, 1, 1);
    g->RemoveMarker(3, 4);
    std::string text;
    EXPECT_TRUE(g->IsComment(3, 4, text));
    EXPECT_EQ(text, "note");
}

TEST_F(GraphicsTest, AnglesAndButtonSizes)
{
    TCellGraphic a;
    struct Case {
        int in, out;
    };
    for (const Case& k : {Case{-90, 270}, Case{720, 360}, Case{360, 360}, Case{45, 45}}) {
        a.SetAngle(k.in);
        EXPECT_EQ(a.CellAngle, k.out) << k.in;
    }
    g->AddButton(2, 3, 60, 20, "Go", haLeft, vaTop);
    EXPECT_EQ(g->GetCellGraphic(2, 3)->CellIndex, 60 + 20 * 65536);
    EXPECT_EQ(g->GetCellGraphicSize(2, 3).cx, 60);
    g->SetCellEx(2, 3, "text");
    EXPECT_EQ(g->GetCellGraphicSize(2, 3).cx, 0);
    EXPECT_TRUE(g->HasButton(2, 3));
    EXPECT_TRUE(g->HasStaticEdit(2, 3));
}

TEST_F(GraphicsTest, DataCheckBoxesToggleThroughTheirText)
{
    g->AddCheckBox(2, 2, false, true);
    g->SetCellEx(2, 2, "y");
    bool state = true;
    EXPECT_TRUE(g->GetCheckBoxState(2, 2, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(g->ToggleCheckBox(2, 2));
    EXPECT_EQ(g->GetCellEx(2, 2), "Y");
    EXPECT_FALSE(g->ToggleCheck(2, 2, true));  // the grid is not editable
    g->AddCheckBox(3, 1, false, false);
    g->AddCheckBox(3, 2, false, false);
    g->CheckAll(3);
    EXPECT_TRUE(g->GetCheckBoxState(3, 2, state) && state);
    EXPECT_TRUE(g->IsInCheckBox(3, 2, 0, 0));
}

TEST_F(GraphicsTest, NodesFoldAndUnfoldTheirRows)
{
    g->AddNode(1, 3);
    struct Level {
        int row, level;
    };
    for (const Level& k : {Level{1, 1}, Level{2, 1}, Level{3, 1}, Level{4, 0}})
        EXPECT_EQ(g->CellProps(0, k.row) ? g->CellProps(0, k.row)->NodeLevel : 0, k.level) << k.row;
    EXPECT_EQ(g->GetNodeSpanType(1), 0);
    EXPECT_EQ(g->GetNodeSpanType(2), 2);
    EXPECT_EQ(g->GetNodeSpanType(3), 1);
    EXPECT_EQ(g->NodeIndent(2), g->CellNode().NodeIndent());
    g->ContractNode(1);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_TRUE(g->GetNodeState(1));
    EXPECT_EQ(g->GetCellEx(1, 2), "r4");
    EXPECT_EQ(g->Cells(1, 3), "r3");
    g->ExpandNode(1);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(g->GetCellEx(1, 3), "r3");
    // A span of 0 reaches to the next node row.
    g->AddNode(4, 0);
    g->ContractAll();
    EXPECT_EQ(g->RowCount(), 3);
    g->ExpandAll();
    EXPECT_EQ(g->RowCount(), 6);
    g->Clear();
    EXPECT_FALSE(g->HasNodes());
}

TEST_F(GraphicsTest, GroupingHeadsEachRunAndUndoes)
{
    g->SetColCount(3);
    g->SetRowCount(4);
    const char* key[] = {"Key", "A", "A", "B"};
    for (int r = 0; r < 4; ++r) {
        g->SetCells(2, r, key[r]);
        g->SetCells(1, r, "v" + std::to_string(r));
    }
    g->SetColWidths(2, 77);
    g->Group(2);
    EXPECT_EQ(g->ColCount(), 2);
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_TRUE(g->IsNode(1));
    EXPECT_EQ(g->GetCellEx(1, 1), "A");
    EXPECT_EQ(g->GetCellEx(1, 2), "v1");
    EXPECT_TRUE(g->IsNode(4));
    EXPECT_EQ(g->GetCellEx(1, 4), "B");
    g->GroupCount(0);
    EXPECT_EQ(g->GetCellEx(0, 1), "2.00");
    EXPECT_EQ(g->GetCellEx(0, 4), "1.00");
    g->UnGroup();
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->ColWidths(2), 77);
    EXPECT_EQ(g->GetCellEx(2, 0), "Key");
    EXPECT_EQ(g->GetCellEx(2, 3), "B");
    EXPECT_EQ(g->GetCellEx(1, 2), "v2");
    EXPECT_FALSE(g->HasNodes());
}

TEST_F(GraphicsTest, IntegralHeightTrimsToWholeRows)
{
    g->SetBorderStyle(bsSingle);
    g->SetColCount(1);
    g->SetBounds(0, 0, 200, 100);
    ASSERT_EQ(g->Height(), 100);
    g->SetIntegralHeight(true);  // at once, not at the next change of bounds
    EXPECT_EQ(g->Height(), 88);
    g->SetIntegralHeight(false);
    g->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(g->Height(), 100);
    g->SetIntegralHeight(true);
    for (int h : {100, 87}) {
        g->SetBounds(0, 0, 200, h);
        EXPECT_EQ(g->Height(), 88) << h;
    }
}

TEST_F(GraphicsTest, ThemeAdaptWithoutVisualStyles)
{
    g->ThemeAdapt();
    EXPECT_EQ(g->ActiveCellColor, clWhite);
    EXPECT_EQ(g->ActiveCellColorTo, TColor(0xFFD9B3));
}

TEST_F(GraphicsTest, PictureSizesByStretchMode)
{
    TPicture* pic = g->CreatePicture(2, 2, false, noStretch, 0, haLeft, vaTop);
    pic->Bitmap()->SetSize(100, 50);
    TCellGraphic* gr = g->GetCellGraphic(2, 2);
    struct Case {
        TStretchMode mode;
        int w, h;
    };
    for (const Case& k : {Case{Stretch, 40, 40}, Case{StretchWithAspectRatio, 40, 20}, Case{Shrink, 40, 40},
                          Case{ShrinkWithAspectRatio, 40, 20}, Case{noStretch, 100, 50}}) {
        gr->CellAngle = k.mode;
        const TSize s = gr->GetPictureSize(40, 40, false);
        EXPECT_EQ(s.cx, k.w) << k.mode;
        EXPECT_EQ(s.cy, k.h) << k.mode;
    }
    TBitmap* b = g->CreateBitmap(3, 2, false, haLeft, vaTop);
    b->SetSize(10, 8);
    EXPECT_EQ(g->GetBitmap(3, 2), b);
    EXPECT_EQ(g->GetCellGraphicSize(3, 2).cx, 10);
    g->SetCellEx(3, 2, "text");  // a bitmap not beside the text takes no room of its own
    EXPECT_EQ(g->GetCellGraphicSize(3, 2).cx, 0);
    EXPECT_EQ(g->GetCellEx(3, 2), "text");
    EXPECT_TRUE(g->RemoveBitmap(3, 2));
}

TEST_F(GraphicsTest, RadioGroupsStepThroughTheirItems)
{
    base::TStrings* items = g->CreateRadio(2, 2, 1, -1);
    items->Add("fore");
    items->Add("aft");
    g->SetCellEx(2, 2, "aft");
    EXPECT_TRUE(g->IsRadio(2, 2));
    EXPECT_TRUE(g->ToggleRadio(2, 2, false));
    EXPECT_EQ(g->GetCellEx(2, 2), "fore");  // past the end it wraps
    int idx = 5;
    EXPECT_TRUE(g->GetRadioIdx(2, 2, idx));
    EXPECT_EQ(idx, -1);
    g->SetRadioIdx(2, 2, 0);
    EXPECT_TRUE(g->ToggleRadio(2, 2, false));
    EXPECT_TRUE(g->GetRadioIdx(2, 2, idx));
    EXPECT_EQ(idx, 1);
    EXPECT_EQ(g->GetCellEx(2, 2), "aft");
    EXPECT_FALSE(g->ToggleRadio(3, 3, false));
}

TEST_F(GraphicsTest, BitButtonsDrawTheirGlyphLeftOfTheCaption)
{
    TBitmap glyph(10, 10);
    glyph.Canvas()->Brush().SetColor(clWhite);  // the corner colour is the transparent one
    glyph.Canvas()->FillRect({0, 0, 10, 10});
    glyph.Canvas()->Brush().SetColor(clRed);
    glyph.Canvas()->FillRect({2, 2, 8, 8});
    g->SetColWidths(2, 90);
    g->SetRowHeights(2, 30);
    g->AddBitButton(2, 2, 80, 24, "Go", &glyph, haLeft, vaTop);
    EXPECT_EQ(g->GetCellType(2, 2), ctBitButton);
    EXPECT_TRUE(g->HasButton(2, 2));
    TBitmap* own = g->CreateBitButton(3, 2, 40, 20, "Own", haLeft, vaTop);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(g->GetCellType(3, 2), ctBitButton);
    auto shot = PaintToBitmap(g);
    const TRect cell = g->CellRect(2, 2);
    int red = 0;
    TRect box{10000, 10000, -1, -1};
    for (int y = cell.Top; y < cell.Bottom; ++y)
        for (int x = cell.Left; x < cell.Left + 16; ++x)
            if (ColorToRGB(shot->Canvas()->Pixel(x, y)) == 0x0000FF) {
                ++red;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x), std::max(box.Bottom, y)};
            }
    EXPECT_EQ(red, 36);  // the glyph's square, at the button's left
    // the glyph's white corners let the button face show round the square
    const COLORREF face = ColorToRGB(clBtnFace);
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixel(box.Left - 2, box.Top - 2)), face);
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixel(box.Right + 2, box.Bottom + 2)), face);
    EXPECT_TRUE(g->RemoveButton(2, 2));
    EXPECT_EQ(g->GetCellType(2, 2), ctEmpty);
}

TEST_F(GraphicsTest, FilePicturesTheCellOwns)
{
    TFilePicture* p = g->CreateFilePicture(2, 2, false, noStretch, 0, haLeft, vaTop);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(g->GetCellType(2, 2), ctFilePicture);
    EXPECT_EQ(g->GetFilePicture(2, 2), p);
    EXPECT_EQ(g->GetFilePicture(2, 3), nullptr);
    EXPECT_EQ(g->GetPicture(2, 2), nullptr);  // not a plain picture
    EXPECT_TRUE(g->RemoveFilePicture(2, 2));  // frees the owned picture (checked under ASan)
    EXPECT_EQ(g->GetFilePicture(2, 2), nullptr);
}

TEST_F(GraphicsTest, ChildRowsGrowAndShrinkTheirNodes)
{
    g->SetRowCount(9);
    for (int r = 1; r < 9; ++r) g->SetCells(1, r, "r" + std::to_string(r));
    g->AddNode(1, 5);  // A: rows 1..5
    g->AddNode(2, 2);  // B inside A: rows 2..3
    g->AddNode(6, 2);  // C: rows 6..7
    g->InsertChildRow(3);  // under row 3, a child of B
    EXPECT_EQ(g->GetNodeSpan(2), 3);
    EXPECT_EQ(g->GetNodeSpan(1), 6);
    EXPECT_EQ(g->GetNodeSpan(7), 2);  // C moved down one row
    EXPECT_TRUE(g->IsNode(7));
    EXPECT_EQ(g->Cells(1, 4), "");
    EXPECT_EQ(g->Cells(1, 5), "r4");
    ASSERT_NE(g->CellProps(0, 4), nullptr);
    EXPECT_EQ(g->CellProps(0, 4)->NodeLevel, 2);
    g->RemoveChildRow(4);
    EXPECT_EQ(g->GetNodeSpan(2), 2);
    EXPECT_EQ(g->GetNodeSpan(1), 5);
    EXPECT_TRUE(g->IsNode(6));
    EXPECT_EQ(g->Cells(1, 4), "r4");
    // hidden rows of a contracted node below keep their place
    g->ContractNode(6);
    g->InsertChildRow(4);
    g->ExpandNode(7);
    EXPECT_EQ(g->Cells(1, 8), "r7");
    EXPECT_EQ(g->GetNodeSpan(1), 6);
    g->RemoveChildRow(2);  // a node row is no child row
    EXPECT_TRUE(g->IsNode(2));
}
