// Painting on pixels: the report look (soft fixed cells, bands, bold mini-HTML headers),
// selection and focus colours, merged cells, grid lines, gradients, graphics in cells,
// wrapped and clipped text, the footer; automatic sizing and stretching.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>
#include <memory>

#include "base/StringList.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/VisualStyles.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "GridWindow.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/grid/GridDraw.h"

using namespace platform;
using namespace grid;

namespace {

struct PaintTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(520, 320, 4, 8);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetFixedCols(0);
        g->SetFixedRows(1);
        g->SetDefaultColWidth(100);
        g->SetOptions(g->Options() | goFixedHorzLine | goFixedVertLine | goHorzLine | goVertLine);
        g->HandleNeeded();
        g->SetCol(3);
        g->SetRow(7);
    }
    void TearDown() override { Close(); }
    // The program's report look.
    void ReportLook()
    {
        g->Look = glSoft;
        g->Bands().SetActive(true);
        g->SetCells(0, 0, "<B>Draft</B>");
        g->SetCells(1, 0, "<B>Displacement</B>");
        for (int r = 1; r < 8; ++r)
            for (int c = 0; c < 4; ++c) g->SetFloats(c, r, r * 0.5 + c);
    }
    std::unique_ptr<TBitmap> Shot(const char* name)
    {
        auto b = PaintToBitmap(g);
        if (const char* dir = std::getenv("KORVELO_GRID_PNG")) b->SaveToFile(std::string(dir) + "/" + name + ".png");
        return b;
    }
    static TColor At(TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }
    // Pixels darker than mid-grey.
    static int Dark(TBitmap& b, const TRect& r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const COLORREF c = ColorToRGB(At(b, x, y));
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0x70) ++n;
            }
        return n;
    }
    // Columns whose pixels in the rectangle differ from the background: ink of text.
    static int Ink(TBitmap& b, const TRect& r, TColor back)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (At(b, x, y) != back) ++n;
        return n;
    }
};

TColor RGBOf(TColor c) { return TColor(ColorToRGB(c)); }

}  // namespace

TEST_F(PaintTest, ReportLookSoftHeadersBandsAndBoldHtml)
{
    ReportLook();
    auto b = Shot("report");
    const TRect h = g->CellRect(1, 0);
    // Fixed cells: the face, a white line along the top and left, a darkened line along the bottom.
    EXPECT_EQ(At(*b, h.Left + 50, h.Top), RGBOf(clWhite));
    EXPECT_EQ(At(*b, h.Left, h.Top + 10), RGBOf(clWhite));
    EXPECT_EQ(At(*b, h.Left + 50, h.Bottom - 1), RGBOf(DarkenColor(clBtnFace)));
    EXPECT_EQ(At(*b, h.Right - 2, h.Top + 10), RGBOf(DarkenColor(clBtnFace)));
    EXPECT_EQ(At(*b, h.Left + 95, h.Top + 15), RGBOf(clBtnFace));
    // Bands: the first normal row primary, the second secondary.
    const TRect r1 = g->CellRect(2, 1), r2 = g->CellRect(2, 2);
    EXPECT_EQ(At(*b, r1.Right - 5, r1.Bottom - 4), RGBOf(clInfoBk));
    EXPECT_EQ(At(*b, r2.Right - 5, r2.Bottom - 4), RGBOf(clWindow));
    // Grid lines of width 1 in silver at the right and bottom of a normal cell.
    EXPECT_EQ(At(*b, r1.Right - 1, r1.Top + 5), RGBOf(clSilver));
    EXPECT_EQ(At(*b, r1.Left + 5, r1.Bottom - 1), RGBOf(clSilver));
    // The mini-HTML header is bold: more ink than the same word in the plain font.
    g->FixedFont().SetStyle(0);
    b = Shot("report-html-header");
    const int boldInk = Ink(*b, {h.Left + 2, h.Top + 2, h.Right - 4, h.Bottom - 2}, RGBOf(clBtnFace));
    g->SetCells(1, 0, "Displacement");
    auto plain = Shot("report-plain-header");
    const int plainInk = Ink(*plain, {h.Left + 2, h.Top + 2, h.Right - 4, h.Bottom - 2}, RGBOf(clBtnFace));
    EXPECT_GT(plainInk, 20);
    EXPECT_GT(boldInk, plainInk * 11 / 10);
}

TEST_F(PaintTest, OwnColoursWinOverBandsAndFixedColour)
{
    ReportLook();
    g->SetColors(2, 1, clLime);
    g->SetColors(2, 0, clAqua);
    auto b = Shot("own-colours");
    const TRect r = g->CellRect(2, 1), h = g->CellRect(2, 0);
    EXPECT_EQ(At(*b, r.Right - 5, r.Bottom - 4), RGBOf(clLime));
    EXPECT_EQ(At(*b, h.Right - 8, h.Bottom - 5), RGBOf(clAqua));
}

TEST_F(PaintTest, SelectionFocusAndMergedBlocks)
{
    ReportLook();
    g->SetSelection({1, 2, 2, 3});
    g->MergeCells(0, 5, 3, 1);
    g->SetCells(0, 5, "merged text");
    auto b = Shot("selection");
    const TRect s = g->CellRect(2, 3);
    EXPECT_EQ(At(*b, s.Right - 5, s.Bottom - 4), RGBOf(g->SelectionColor));
    const TRect n = g->CellRect(3, 3);
    EXPECT_NE(At(*b, n.Right - 5, n.Bottom - 4), RGBOf(g->SelectionColor));
    // The block is one cell: no grid line between its columns.
    const TRect m = g->CellRect(0, 5);
    EXPECT_EQ(m.Right, g->CellRect(2, 5).Right);
    EXPECT_EQ(At(*b, g->CellRect(0, 5).Left + 99, m.Bottom - 4), At(*b, m.Left + 250, m.Bottom - 4));
    // With no selection colour a selected unfocused cell shows the highlight.
    g->SelectionColor = clNone;
    auto h = Shot("selection-highlight");
    EXPECT_EQ(At(*h, s.Right - 5, s.Bottom - 4), RGBOf(clHighlight));
}

TEST_F(PaintTest, GridLinesOfWidthZeroAndGradients)
{
    g->SetGridLineWidth(0);
    g->SetColorsTo(1, 2, clBlue);
    g->SetColors(1, 2, clWhite);
    auto b = Shot("no-lines-gradient");
    const TRect r = g->CellRect(1, 2);
    const TRect plain = g->CellRect(2, 2);
    EXPECT_EQ(At(*b, plain.Right - 1, plain.Top + 5), RGBOf(g->Color()));
    EXPECT_EQ(At(*b, plain.Left + 5, plain.Bottom - 1), RGBOf(g->Color()));
    // A horizontal gradient from white on the left to blue on the right.
    const TColor left = At(*b, r.Left + 1, r.Top + 5), right = At(*b, r.Right - 2, r.Top + 5);
    EXPECT_GT(GetRValue(ColorToRGB(left)), 200);
    EXPECT_LT(GetRValue(ColorToRGB(right)), 20);
    EXPECT_GT(GetBValue(ColorToRGB(right)), 200);
}

TEST_F(PaintTest, CheckBoxesAndProgressBars)
{
    g->SetCells(1, 1, "");
    g->AddCheckBox(1, 1, true, false);
    g->AddCheckBox(1, 2, false, false);
    g->SetCells(2, 1, "50");
    g->AddProgress(2, 1, clRed, clWhite);
    g->SetOptions(g->Options() | goEditing);  // editable cells: boxes in their enabled look
    auto b = Shot("graphics");
    const TRect on = g->CellRect(1, 1), off = g->CellRect(1, 2);
    const int onInk = Dark(*b, {on.Left + 5, on.Top + 6, on.Left + 15, on.Bottom - 5});
    const int offInk = Dark(*b, {off.Left + 5, off.Top + 6, off.Left + 15, off.Bottom - 5});
    EXPECT_EQ(offInk, 0);
    EXPECT_GT(onInk, 8);  // the tick
    bool state = false;
    EXPECT_TRUE(g->GetCheckBoxState(1, 1, state));
    EXPECT_TRUE(state);
    const TRect p = g->CellRect(2, 1);
    EXPECT_EQ(At(*b, p.Left + 10, p.Bottom - 5), RGBOf(clRed));
    EXPECT_EQ(At(*b, p.Right - 10, p.Bottom - 5), RGBOf(clWhite));
}

TEST_F(PaintTest, WrappedAndClippedText)
{
    g->SetCells(1, 1, "a long text that wraps onto more lines than fit");
    g->SetWordWrap(true);
    g->SetRowHeights(1, 60);
    auto wrapped = Shot("wrapped");
    const TRect r = g->CellRect(1, 1);
    EXPECT_GT(Ink(*wrapped, {r.Left + 2, r.Top + 22, r.Right - 2, r.Top + 40}, RGBOf(clWindow)), 10);
    g->SetWordWrap(false);
    auto one = Shot("one-line");
    EXPECT_EQ(Ink(*one, {r.Left + 2, r.Top + 22, r.Right - 2, r.Top + 40}, RGBOf(clWindow)), 0);
    // Nothing spills into the next cell.
    const TRect n = g->CellRect(2, 1);
    EXPECT_EQ(Ink(*one, {n.Left + 1, n.Top + 1, n.Left + 30, n.Bottom - 2}, RGBOf(clWindow)), 0);
}

TEST_F(PaintTest, FooterTotalsAndTheFooterStrip)
{
    g->SetRowCount(10);
    for (int r = 1; r < 9; ++r) g->SetInts(1, r, r);
    g->FloatingFooter().SetVisible(true);
    EXPECT_EQ(g->FixedFooters(), 1);
    g->FloatingFooter().SetColumnCalc(1, acSUM);
    g->FloatingFooter().SetColumnCalc(2, acCOUNT);
    g->FloatingFooter().SetColumnCalc(3, acAVG);
    g->CalcFooter(-1);
    EXPECT_DOUBLE_EQ(g->GetFloats(1, 9), 36);
    EXPECT_EQ(g->GetCellEx(2, 9), "8.00");
    g->SetCells(3, 1, "1");
    g->SetCells(3, 2, "x");
    g->SetCells(3, 3, "3");
    g->CalcFooter(3);
    // The average divides by every row of the range, also those that held no number.
    EXPECT_NEAR(g->GetFloats(3, 9), 0.5, 0.01);
    g->FloatingFooter().SetFooterStyle(fsColumnPreview);
    EXPECT_FALSE(g->FooterRowCovered);
    g->FloatingFooter().SetFooterStyle(fsFixedLastRow);
    auto b = Shot("footer");
    EXPECT_TRUE(g->FloatingFooter().PanelShown());
    // The strip at the bottom shows the totals under their columns.
    const int bottom = g->ClientHeight();
    const TRect c1 = g->GetCellRect(1, 0), c2 = g->GetCellRect(2, 0);
    EXPECT_GT(Dark(*b, {c1.Left, bottom - 19, c1.Right, bottom}), 10);
    EXPECT_GT(Dark(*b, {c2.Left, bottom - 19, c2.Right, bottom}), 5);
}

TEST_F(PaintTest, FooterTemplateEndsAtAnUnclosedTag)
{
    g->SetCells(1, g->Row(), "14.5");
    EXPECT_EQ(g->FloatingFooter().HTMLColReplace("Total: <#1> t"), "Total: 14.5 t");
    EXPECT_EQ(g->FloatingFooter().HTMLColReplace("<#x> and <#1>"), " and 14.5");
    EXPECT_EQ(g->FloatingFooter().HTMLColReplace("open <#1"), "open <#1");
}

TEST_F(PaintTest, MarkupFromUserDataIsEscaped)
{
    EXPECT_EQ(TExStringGrid::FixMarkup("<a href=\"x\">hull</a>"), "&lt;a href=&quot;x&quot;&gt;hull&lt;/a&gt;");
}

TEST_F(PaintTest, DoubleClickOnAHeaderEdgeSizesToTheLongestText)
{
    g->SetOptions(g->Options() | goColSizing);
    g->SetCells(1, 0, "Hd");
    g->SetCells(1, 3, "a considerably longer cell text");
    g->SetCells(1, 4, "short");
    const TRect h = g->CellRect(1, 0);
    SendMouse(g, WM_LBUTTONDOWN, h.Right - 1, h.Top + 5);
    SendMouse(g, WM_LBUTTONUP, h.Right - 1, h.Top + 5);
    SendMouse(g, WM_LBUTTONDBLCLK, h.Right - 1, h.Top + 5);
    SendMouse(g, WM_LBUTTONUP, h.Right - 1, h.Top + 5);
    g->Canvas()->Font().Assign(*g->Font());
    const int text = g->Canvas()->TextWidth("a considerably longer cell text");
    EXPECT_EQ(g->ColWidths(1), 2 * g->GridLineWidth() + text + 2 * g->XYOffset.X + g->XYOffset.X + 2);
}

TEST_F(PaintTest, StretchingFillsTheClientWidth)
{
    g->ColumnSize().SetStretch(true);
    g->StretchColumn(-1);
    int total = 0;
    for (int c = 0; c < g->ColCount(); ++c) total += g->ColWidths(c);
    EXPECT_EQ(total, g->ClientWidth() - 1);
    EXPECT_THROW(g->StretchColumn(g->ColCount()), base::Exception);
}

TEST_F(PaintTest, LookSettingsRepaintTheShownGridWhenSet)
{
    g->SetRowHeights(1, 60);  // room to move the text down
    g->SetCells(0, 1, "Keel");
    g->SetCells(1, 1, "http://example.com/hull");
    g->SetCells(1, 2, "mailto:yard@example.com");
    g->SetCells(3, 0, "Beam");
    TFont big;
    big.SetSize(16);
    big.SetStyle(fsBold);
    // What the screen shows of the grid.
    auto screen = [&] {
        const auto shot = GrabScreen();
        const TPoint o = g->ClientToScreen(TPoint{0, 0});
        std::vector<TColor> v;
        for (int y = 0; y < g->ClientHeight(); ++y)
            for (int x = 0; x < g->ClientWidth(); ++x) v.push_back(shot->Canvas()->Pixel(o.X + x, o.Y + y));
        return v;
    };
    struct Case {
        const char* name;
        std::function<void()> before, set;
    } cases[] = {
        {"VAlignment", [] {}, [&] { g->SetVAlignment(vtaBottom); }},
        {"Look", [] {}, [&] { g->SetLook(glSoft); }},
        {"URLShow", [] {}, [&] { g->SetURLShow(true); }},
        {"URLFull", [&] { g->SetURLShow(true); }, [&] { g->SetURLFull(true); }},
        {"URLColor", [&] { g->SetURLShow(true); }, [&] { g->SetURLColor(clRed); }},
        {"ActiveCellFont", [&] { g->SetActiveCellShow(true); }, [&] { g->SetActiveCellFont(big); }},
        {"XYOffset", [] {}, [&] { g->SetXYOffset({20, 12}); }},
    };
    form->Show();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        g->SetVAlignment(vtaTop);
        g->SetLook(glStandard);
        g->SetURLShow(false);
        g->SetURLFull(false);
        g->SetURLColor(clBlue);
        g->SetActiveCellShow(false);
        g->SetActiveCellFont(TFont());
        g->SetXYOffset({2, 2});
        k.before();
        g->Repaint();
        Application->ProcessMessages();
        const std::vector<TColor> was = screen();
        ASSERT_FALSE(was.empty());
        k.set();
        EXPECT_TRUE(ProcessUntil([&] { return screen() != was; }, 100));
    }
}

TEST_F(PaintTest, ProportionalThumbsWithoutNormalColumnsDoNotDivideByZero)
{
    g->SetScrollBars(ssBoth);
    g->ScrollProportional = true;
    g->SetFixedRows(0);
    g->SetRowCount(1);
    g->SetColCount(1);
    g->SetFixedCols(0);
    g->UpdateHScroller();
    g->UpdateVScroller();
    g->SetColCount(40);
    g->UpdateHScroller();
    SCROLLINFO si{};
    si.fMask = SIF_ALL;
    GetScrollInfo(g->Handle(), SB_HORZ, si);
    EXPECT_GT(si.nPage, 0u);
}

TEST_F(PaintTest, AggregatesAndSelectionText)
{
    const char* col[] = {"1", "", "x", "3"};
    for (int r = 0; r < 4; ++r) g->SetCells(1, r + 1, col[r]);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 4), 4);
    EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 1, 4), 1);  // every row of the range divides
    EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 4, 1), 0);
    EXPECT_THROW(g->ColumnMin(1, 3, 4), EExGridError);
    EXPECT_DOUBLE_EQ(g->ColumnMax(1, 1, 4), 3);
    g->SetCells(2, 1, "5");
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 2, 2), 5);
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 1, 3), 2);  // 1 and 5 over three cells, the empty one too
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 3, 2), 0);
    g->SetCells(0, 6, "a");
    g->SetCells(1, 6, "b");
    g->SetCells(0, 7, "c");
    g->SetCells(1, 7, "d");
    g->SetSelection({0, 6, 1, 7});
    EXPECT_EQ(g->SelectedText(), "a\tb\r\nc\td");
    g->AutoNumberCol(3);
    EXPECT_EQ(g->GetCellEx(3, 1), "1");
    EXPECT_EQ(g->GetCellEx(3, 7), "7");
}

TEST_F(PaintTest, MergedTitleRowOverTheColumnHeaders)
{
    g->Look = glSoft;
    g->Bands().SetActive(true);
    g->SetFixedRows(2);
    g->SetCells(0, 0, "<B>Hydrostatics of the hull at the draughts of the run</B>");
    g->MergeCells(0, 0, 4, 1);
    for (int c = 0; c < 4; ++c) g->SetCells(c, 1, "<B>Col " + std::to_string(c) + "</B>");
    for (int r = 2; r < 8; ++r) g->SetFloats(1, r, r * 1.25);
    auto b = Shot("merged-title");
    const TRect t = g->CellRect(0, 0);
    EXPECT_EQ(t.Right, g->CellRect(3, 0).Right);
    // The title runs on past the first column, and no column line cuts the block.
    const TRect second = g->GetCellRect(1, 0);
    EXPECT_GT(Dark(*b, {second.Left + 2, t.Top + 2, second.Right, t.Bottom - 2}), 10);
    const int y = t.Top + 3;
    EXPECT_EQ(At(*b, second.Left - 1, y), At(*b, g->GetCellRect(3, 0).Right - 10, y));
}

TEST_F(PaintTest, XPHeadersAreGradientsAndTheFocusedCellHasItsFrame)
{
    g->Look = glXP;
    g->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
    g->SetCol(2);
    g->SetRow(3);
    auto b = Shot("xp-focus");
    const TRect h = g->CellRect(1, 0);
    const COLORREF top = ColorToRGB(At(*b, h.Left + 50, h.Top + 2)), low = ColorToRGB(At(*b, h.Left + 50, h.Bottom - 3));
    EXPECT_GT(GetRValue(top), GetRValue(low));  // white at the top to the face colour below
    // The focus frame: dotted pixels along the current cell's inner edge.
    const TRect f = g->CellRect(2, 3);
    int dots = 0;
    for (int x = f.Left + 2; x < f.Right - 2; ++x)
        if (At(*b, x, f.Top + 1) != At(*b, f.Left + 50, f.Top + 10)) ++dots;
    EXPECT_GT(dots, 20);
}

TEST_F(PaintTest, ProportionalThumbOfColumnsWithoutWidth)
{
    g->SetScrollBars(ssBoth);
    g->ScrollProportional = true;
    g->SetGridLineWidth(0);
    for (int c = 0; c < g->ColCount(); ++c) g->SetColWidths(c, 0);
    g->UpdateHScroller();  // nothing to scroll over: a full thumb
    SCROLLINFO si{};
    si.fMask = SIF_ALL;
    GetScrollInfo(g->Handle(), SB_HORZ, si);
    EXPECT_EQ(si.nPage, 128u);
}

TEST_F(PaintTest, NodeButtonsAndPushButtons)
{
    g->SetCells(1, 1, "parent");
    g->AddNode(1, 3);
    g->ContractNode(1);
    g->AddButton(2, 2, 60, 16, "Go", haLeft, vaTop);
    g->SetOptions(g->Options() | goEditing);  // an enabled button
    auto b = Shot("nodes-buttons");
    const TRect n = g->CellRect(0, 1);
    const int I = g->CellNode().NodeIndent();
    // The folded node's box: framed in the node colour, with a plus.
    EXPECT_GT(Dark(*b, {n.Left, n.Top + 2, n.Left + I, n.Bottom - 2}), 12);
    const TRect p = g->CellRect(2, 2);
    EXPECT_EQ(At(*b, p.Left + 30, p.Top + 4), RGBOf(clBtnFace));
    EXPECT_GT(Dark(*b, {p.Left + 2, p.Top + 2, p.Left + 62, p.Top + 18}), 10);  // caption and edge
}

TEST_F(PaintTest, SoftLookFramesTheGrid)
{
    g->Look = glSoft;
    g->SetBorderStyle(bsSingle);
    auto b = Shot("frame");
    const TColor inner = uxtheme::IsThemeActive() ? TColor(0xB99D7F) : TColor(0x808080);
    EXPECT_EQ(At(*b, 1, 40), inner);
    EXPECT_EQ(At(*b, g->Width() - 2, 40), inner);
    EXPECT_EQ(At(*b, 40, g->Height() - 2), inner);
}

TEST_F(PaintTest, SelectionRectangleWithItsResizer)
{
    g->SelectionRectangle = true;
    g->SelectionResizer = true;
    g->SetSelection({1, 2, 2, 3});
    auto b = Shot("selection-rectangle");
    const TRect tl = g->CellRect(1, 2), br = g->CellRect(2, 3);
    EXPECT_EQ(At(*b, tl.Left + 1, tl.Top + 10), RGBOf(clBlack));
    EXPECT_EQ(At(*b, tl.Left + 10, tl.Top + 1), RGBOf(clBlack));
    EXPECT_EQ(At(*b, br.Right - 3, br.Bottom - 3), RGBOf(clBlack));  // the resizer
    EXPECT_NE(At(*b, tl.Right - 5, tl.Bottom - 5), RGBOf(clBlack));
}

TEST_F(PaintTest, AutoSizeCellsAndTheGridFollowingItsForm)
{
    g->SetCells(1, 3, "a considerably longer cell text");
    g->AutoSizeCells(false, 4, 0);
    g->Canvas()->Font().Assign(*g->Font());
    EXPECT_GE(g->ColWidths(1), g->Canvas()->TextWidth("a considerably longer cell text"));
    g->SizeWithForm = true;
    form->OnResize = nullptr;
    g->GridResize(form);  // remembers the form's size
    const int w = g->Width();
    form->SetBounds(0, 0, form->Width() + 30, form->Height());
    g->GridResize(form);
    EXPECT_EQ(g->Width(), w + 30);
    EXPECT_NE(TExStringGrid::CellsClipboardFormat(), 0u);
}

TEST_F(PaintTest, BitmapsInCells)
{
    TBitmap* bmp = g->CreateBitmap(1, 2, false, haRight, vaTop);
    bmp->SetSize(10, 8);
    bmp->Canvas()->Brush().SetColor(clRed);
    bmp->Canvas()->FillRect({0, 0, 10, 8});
    auto b = Shot("bitmap");
    const TRect r = g->CellRect(1, 2);
    EXPECT_EQ(At(*b, r.Right - 6, r.Top + 5), RGBOf(clRed));
    EXPECT_NE(At(*b, r.Left + 6, r.Top + 5), RGBOf(clRed));
}

TEST_F(PaintTest, GraphicsBesideTheTextLeaveTheTextUncovered)
{
    // a button after left-aligned text, a bitmap before right-aligned text
    g->SetCells(1, 2, "Lines");
    g->AddButton(1, 2, 30, 14, "", haAfterText, vaTop);
    g->SetCells(2, 2, "12.5");
    g->SetAlignments(2, 2, taRightJustify);
    TBitmap* bmp = g->CreateBitmap(2, 2, false, haBeforeText, vaTop);
    bmp->SetSize(10, 8);
    bmp->Canvas()->Brush().SetColor(clRed);
    bmp->Canvas()->FillRect({0, 0, 10, 8});
    auto b = Shot("beside");

    const TRect r1 = g->CellRect(1, 2);
    const int textRight = r1.Left + g->XYOffset.X + g->Canvas()->TextWidth("Lines");
    const int buttonLeft = r1.Left + (int(g->GetCellGraphic(1, 2)->CellValue) & 0xFFFF);
    EXPECT_GE(buttonLeft, textRight);
    EXPECT_LE(buttonLeft, textRight + 4);
    EXPECT_GT(Dark(*b, {r1.Left + 2, r1.Top + 2, textRight, r1.Bottom - 2}), 10);  // the text shows

    const TRect r2 = g->CellRect(2, 2);
    const int textLeft = r2.Right - g->XYOffset.X - g->Canvas()->TextWidth("12.5");
    int redRight = -1;
    for (int x = r2.Left; x < r2.Right; ++x)
        if (At(*b, x, r2.Top + 4) == RGBOf(clRed)) redRight = x;
    ASSERT_GE(redRight, 0);
    EXPECT_LT(redRight, textLeft);
    EXPECT_GE(redRight, textLeft - 6);
    EXPECT_GT(Dark(*b, {textLeft, r2.Top + 2, r2.Right - 1, r2.Bottom - 2}), 10);
}

TEST_F(PaintTest, RadioGroupsAndTreeLines)
{
    base::TStrings* items = g->CreateRadio(2, 2, 1, 0);
    items->Add("fore");
    items->Add("aft");
    g->SetCells(1, 3, "child");
    g->AddNode(3, 3);
    auto b = Shot("radio-tree");
    const TRect r = g->CellRect(2, 2);
    EXPECT_GT(Dark(*b, {r.Left + 1, r.Top + 1, r.Left + 14, r.Bottom - 1}), 4);  // the chosen button's dot
    EXPECT_GT(Dark(*b, {r.Left + 14, r.Top + 1, r.Left + 40, r.Bottom - 1}), 5);  // its caption
    const TRect child = g->CellRect(0, 4);
    const int I = g->CellNode().NodeIndent();
    EXPECT_EQ(At(*b, child.Left + I / 2, child.Top + 2), RGBOf(g->CellNode().TreeColor()));
}

TEST_F(PaintTest, BackgroundPictureAndRowIndicator)
{
    TBitmap tile;
    tile.SetSize(8, 8);
    tile.Canvas()->Brush().SetColor(clYellow);
    tile.Canvas()->FillRect({0, 0, 8, 8});
    g->BackGround().SetBitmap(tile);
    g->SetColors(2, 3, clLime);  // a cell with its own colour shows no picture
    auto b = Shot("background");
    const TRect r = g->CellRect(1, 2), own = g->CellRect(2, 3);
    EXPECT_EQ(At(*b, r.Left + 30, r.Top + 10), RGBOf(clYellow));
    EXPECT_EQ(At(*b, r.Right - 1, r.Top + 10), RGBOf(clSilver));  // the grid line stays
    EXPECT_EQ(At(*b, own.Left + 30, own.Top + 10), RGBOf(clLime));
    const TRect h = g->CellRect(1, 0);
    EXPECT_NE(At(*b, h.Left + 30, h.Top + 10), RGBOf(clYellow));  // fixed cells keep their look
}

TEST_F(PaintTest, SortMarkInTheSortColumnsHeader)
{
    g->SetCells(1, 0, "Draft");
    g->SortSettings().Column = 1;
    g->SortSettings().SetShow(true);
    auto b = Shot("sort-mark");
    const TRect h = g->CellRect(1, 0);
    g->Canvas()->Font().Assign(g->FixedFont());
    const int x = h.Left + 1 + g->XYOffset.X + g->Canvas()->TextWidth("Draft") + 10;
    EXPECT_EQ(At(*b, x, h.Top + 1 + g->XYOffset.Y + 8), RGBOf(clGray));
    EXPECT_NE(At(*b, g->CellRect(2, 0).Left + 30, h.Top + 11), RGBOf(clGray));
}

namespace {

std::vector<TColor> Block(TBitmap& b, const TRect& r)
{
    std::vector<TColor> v;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) v.push_back(b.Canvas()->Pixel(x, y));
    return v;
}

}  // namespace

TEST_F(PaintTest, WideCellsDrawTheirOwnCharacters)
{
    const struct {
        std::u16string wide;
        std::string plain;
        bool same;
    } cases[] = {
        {u"\u03A9\u0416 x", "?? x", false},        // characters the 8-bit page lacks
        {u"Caf\u00E9 12", "Caf\xE9 12", true},     // 8-bit text looks as a plain cell's
    };
    for (const auto& k : cases) {
        g->SetWideCells(0, 2, k.wide);
        g->SetCells(1, 2, k.plain);
        EXPECT_EQ(g->GetWideCells(0, 2), k.wide);
        auto shot = Shot("widecells");
        const TRect a = g->CellRect(0, 2), b = g->CellRect(1, 2);
        ASSERT_EQ(a.Width(), b.Width());
        EXPECT_EQ(Block(*shot, a) == Block(*shot, b), k.same) << k.plain;
    }
}
