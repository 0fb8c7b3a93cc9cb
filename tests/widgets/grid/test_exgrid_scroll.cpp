// The thumb hints, the screen-point cell query, the combo editor's events and the
// per-side cell borders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "GridWindow.h"
#include "platform/TestRig.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/FlatScrollBar.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/html/PictureContainer.h"

using namespace platform;
using namespace grid;

namespace {

struct ScrollTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override
    {
        Open(400, 300, 30, 200);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        form->Show();
    }
    void TearDown() override { Close(); }
    void Scroll(bool vertical, int code, int pos)
    {
        TMessage m{};
        m.Msg = vertical ? WM_VSCROLL : WM_HSCROLL;
        m.WParam = MakeWParam(code, pos);
        if (vertical) g->WMVScroll(m);
        else g->WMHScroll(m);
    }
};

}  // namespace

TEST_F(ScrollTest, ThumbHintsNameTheRowOrColumnUnderTheThumb)
{
    EXPECT_EQ(g->ScrollWidth(), GetSystemMetrics(SM_CXVSCROLL));
    Scroll(true, SB_THUMBTRACK, 64);
    EXPECT_EQ(g->ScrollHintWindow(), nullptr);  // shNone: no hint
    g->ScrollHints = TExStringGrid::shVertical;
    Scroll(false, SB_THUMBTRACK, 64);
    EXPECT_EQ(g->ScrollHintWindow(), nullptr);  // only the vertical bar hints
    std::vector<int> asked;
    g->OnScrollHint = [&](TObject*, int ARow, std::string& s) {
        asked.push_back(ARow);
        if (ARow == 1) s = "first";
    };
    Scroll(true, SB_THUMBTRACK, 127);
    ASSERT_NE(g->ScrollHintWindow(), nullptr);
    EXPECT_TRUE(g->ScrollHintWindow()->Shown());
    const int last = 200 - g->VisibleRowCount();
    EXPECT_EQ(g->ScrollHintWindow()->Caption(), "Row : " + std::to_string(last));
    EXPECT_EQ(g->ScrollHintWindow()->Color(), g->HintColor);
    Scroll(true, SB_THUMBTRACK, 0);
    EXPECT_EQ(g->ScrollHintWindow()->Caption(), "first");  // the event's text
    EXPECT_EQ(asked, (std::vector<int>{last, 1}));
    Scroll(true, SB_ENDSCROLL, 0);
    EXPECT_FALSE(g->ScrollHintWindow()->Shown());
    g->ScrollHints = TExStringGrid::shBoth;
    g->OnScrollHint = nullptr;
    Scroll(false, SB_THUMBTRACK, 0);
    EXPECT_EQ(g->ScrollHintWindow()->Caption(), "Col : 1");
}

TEST_F(ScrollTest, ScreenToCellGivesTheDisplayCellOrMinusOne)
{
    const TRect r = g->CellRect(2, 3);
    const TPoint screen = g->ClientToScreen(TPoint{r.Left + 3, r.Top + 3});
    int c = 0, row = 0;
    g->ScreenToCell(screen, c, row);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(row, 3);
    g->ScreenToCell(g->ClientToScreen(TPoint{-50, -50}), c, row);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(row, -1);
}

TEST_F(ScrollTest, CellBorderSidesTakeTheirOwnPens)
{
    g->SetColWidths(2, 60);
    g->SetRowHeights(2, 30);
    g->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen& pen, TCellBorders& b) {
        if (ARow == 2 && ACol == 2) {
            b = cbLeft | cbTop;
            pen.SetColor(clRed);
        }
    };
    g->OnGetCellBorderProp = [](TObject*, int, int, TPen& left, TPen& top, TPen&, TPen&) {
        left.SetColor(clBlue);
        left.SetWidth(3);
        (void)top;  // keeps the red pen of OnGetCellBorder
    };
    auto shot = PaintToBitmap(g);
    const TRect r = g->CellRect(2, 2);
    // the shot holds the window's frame
    const int frame = g->ClientToScreen(TPoint{0, 0}).X - form->ClientToScreen(TPoint{g->Left(), 0}).X;
    auto px = [&](int x, int y) { return ColorToRGB(shot->Canvas()->Pixel(x + frame, y + frame)); };
    const int midY = (r.Top + r.Bottom) / 2, midX = (r.Left + r.Right) / 2;
    for (int x : {r.Left, r.Left + 1, r.Left + 2}) EXPECT_EQ(px(x, midY), 0xFF0000u) << x - r.Left;  // blue, 3 wide
    EXPECT_NE(px(r.Left + 3, midY), 0xFF0000u);
    EXPECT_EQ(px(midX, r.Top), 0x0000FFu);  // red, one pixel
    EXPECT_NE(px(midX, r.Top + 1), 0x0000FFu);
}

TEST_F(ScrollTest, ComboEditorRaisesCloseUpAndEditChanges)
{
    g->SetOptions(g->Options() | goEditing);
    g->ClearComboString();
    g->AddComboString("alpha");
    g->AddComboString("beta");
    g->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = edComboEdit; };
    std::vector<std::string> seen;
    g->OnComboChange = [&](TObject*, int c, int r, int i, const std::string& s) {
        seen.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + std::to_string(i) + ":" + s);
    };
    int closed = 0;
    g->OnComboCloseUp = [&](TObject*, int r, int c) {
        ++closed;
        EXPECT_EQ(r, 2);
        EXPECT_EQ(c, 3);
    };
    g->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
    g->SetCol(3);
    g->SetRow(2);
    SendKey(g, VK_F2);
    TWinControl* editor = g->ActiveEditControl;
    ASSERT_NE(editor, nullptr);
    auto* combo = dynamic_cast<TCustomComboBox*>(editor);
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(combo->EditControl(), nullptr);
    for (char ch : std::string("gam")) SendChar(combo->EditControl(), ch);
    combo->Perform(CN_COMMAND, MakeWParam(0, CBN_EDITCHANGE), 0);
    combo->Perform(CN_COMMAND, MakeWParam(0, CBN_CLOSEUP), 0);
    EXPECT_EQ(closed, 1);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "3,2:-1:gam");  // typing selects no item and passes the typed text
}

TEST_F(ScrollTest, SettersWithSideEffects)
{
    g->SetColWidths(2, 20);
    g->SetCells(2, 3, "a rather long text in one cell");
    g->SetAutoSizeP(true);
    EXPECT_TRUE(g->AutoSize);
    EXPECT_GT(g->ColWidths(2), 100);  // sized to its contents
    g->SetOptions(g->Options() | goEditing);
    g->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return g->Focused(); }));
    g->SetCol(1);
    g->SetRow(1);
    SendKey(g, VK_F2);
    ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
    g->SetMaxEditLength(3);
    g->InplaceEditor()->SetText("");
    for (char ch : std::string("abcdef")) SendChar(g->InplaceEditor(), ch);
    EXPECT_EQ(g->InplaceEditor()->Text(), "abc");  // the open editor takes the new limit
    // adapting takes the colour scheme's active-cell colours at once
    g->ActiveCellColor = clRed;
    g->ActiveCellColorTo = clRed;
    g->SetAutoThemeAdapt(true);
    EXPECT_NE(g->ActiveCellColor, clRed);
    EXPECT_NE(g->ActiveCellColorTo, clRed);
}

TEST_F(ScrollTest, FlatScrollBarsTakeTheTypeColourAndWidth)
{
    const HWND h = g->Handle();
    const int plainW = g->ClientWidth(), plainH = g->ClientHeight();
    LPARAM v = 0;
    EXPECT_FALSE(FlatSB_Initialized(h));
    struct Case {
        TExStringGrid::TScrollType type;
        LPARAM mode;
    } cases[] = {{TExStringGrid::ssFlat, FSB_FLAT_MODE}, {TExStringGrid::ssEncarta, FSB_ENCARTA_MODE}};
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.type));
        g->SetScrollType(k.type);
        EXPECT_TRUE(g->FlatActive());
        ASSERT_TRUE(FlatSB_Initialized(h));
        ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_VSTYLE, &v));
        EXPECT_EQ(v, k.mode);
        ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_HSTYLE, &v));
        EXPECT_EQ(v, k.mode);
    }
    // the width sizes both bars, so the client grows by what they give up
    const int sys = GetSystemMetrics(SM_CXVSCROLL);
    g->SetScrollWidth(8);
    EXPECT_EQ(g->ClientWidth(), plainW + sys - 8);
    EXPECT_EQ(g->ClientHeight(), plainH + GetSystemMetrics(SM_CYHSCROLL) - 8);
    g->SetScrollColor(clRed);
    ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_VBKGCOLOR, &v));
    EXPECT_EQ(v, LPARAM(clRed));
    ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_HBKGCOLOR, &v));
    EXPECT_EQ(v, LPARAM(clRed));

    // the flat thumb runs on the proportional scale: a thumb position is converted
    const int p = int(std::lround(g->VisibleColCount() * 128.0 / g->ColCount()));
    Scroll(false, SB_THUMBPOSITION, 60);
    const int flatLeft = g->LeftCol();
    g->SetScrollType(TExStringGrid::ssNormal);
    EXPECT_FALSE(FlatSB_Initialized(h));
    EXPECT_EQ(g->ClientWidth(), plainW);
    g->SetLeftCol(1);
    Scroll(false, SB_THUMBPOSITION, int(std::lround(60 * 127.0 / (128 - p))));
    EXPECT_EQ(flatLeft, g->LeftCol());
    g->SetLeftCol(1);
    Scroll(false, SB_THUMBPOSITION, 60);
    EXPECT_LT(g->LeftCol(), flatLeft);

    // chosen before the window exists, the bars turn flat when it is made
    gridtest::GridWindow w;
    w.Open(300, 200, 20, 50);
    w.g->SetScrollType(TExStringGrid::ssFlat);
    w.g->SetScrollWidth(9);
    w.form->Show();
    ASSERT_TRUE(FlatSB_Initialized(w.g->Handle()));
    ASSERT_TRUE(FlatSB_GetScrollProp(w.g->Handle(), WSB_PROP_CXVSCROLL, &v));
    EXPECT_EQ(v, 9);
    w.Close();
}

TEST_F(ScrollTest, ProportionalThumbsComeAndGoWithTheSetting)
{
    const HWND h = g->Handle();
    auto bar = [&](int which) {
        SCROLLINFO si{};
        si.fMask = SIF_ALL;
        GetScrollInfo(h, which, si);
        return si;
    };
    g->SetScrollProportional(true);  // at once
    for (int which : {SB_HORZ, SB_VERT}) {
        SCOPED_TRACE(which);
        const SCROLLINFO on = bar(which);
        EXPECT_GT(on.nPage, 0u);
        EXPECT_GT(on.nMax, 127);
    }
    g->SetScrollProportional(false);
    for (int which : {SB_HORZ, SB_VERT}) {
        SCOPED_TRACE(which);
        const SCROLLINFO off = bar(which);
        EXPECT_EQ(off.nPage, 0u);
        EXPECT_EQ(off.nMax, 127);
    }
    // the thumb at the end of the bar shows the last columns again
    Scroll(false, SB_THUMBPOSITION, 127);
    EXPECT_EQ(g->LeftCol() + g->VisibleColCount(), g->ColCount());

    // flat bars under the normal type end with the proportional thumbs; a flat type keeps them
    g->FlatInit();
    ASSERT_TRUE(FlatSB_Initialized(h));
    g->SetScrollProportional(true);
    g->SetScrollProportional(false);
    EXPECT_FALSE(g->FlatActive());
    EXPECT_FALSE(FlatSB_Initialized(h));
    g->SetScrollType(TExStringGrid::ssFlat);
    g->SetScrollProportional(true);
    g->SetScrollProportional(false);
    EXPECT_TRUE(g->FlatActive());
    EXPECT_TRUE(FlatSB_Initialized(h));
}

TEST_F(ScrollTest, ScrollBarsExSetsTheBarsPlainAndFlat)
{
    for (auto type : {TExStringGrid::ssNormal, TExStringGrid::ssFlat}) {
        SCOPED_TRACE(int(type));
        g->SetScrollType(type);
        g->SetScrollBarsEx(ssBoth);
        const int w = g->ClientWidth(), h = g->ClientHeight();
        g->SetScrollBarsEx(ssVertical);
        EXPECT_EQ(g->GetScrollBarsEx(), ssVertical);
        EXPECT_EQ(g->ClientWidth(), w);
        EXPECT_GT(g->ClientHeight(), h);  // the horizontal bar is gone
        g->SetScrollBarsEx(ssNone);
        EXPECT_GT(g->ClientWidth(), w);
        g->SetScrollBarsEx(ssBoth);
        EXPECT_EQ(g->ClientWidth(), w);
        EXPECT_EQ(g->ClientHeight(), h);
    }
}

TEST_F(ScrollTest, ImgTagsDrawPicturesOfThePictureContainer)
{
    auto* container = new html::TPictureContainer(form);
    html::TPictureItem* item = container->Items()->Add();
    item->Name = "dot";
    TBitmap bmp(12, 8);
    bmp.Canvas()->Brush().SetColor(clRed);
    bmp.Canvas()->FillRect({0, 0, 12, 8});
    std::stringstream bytes;
    bmp.SaveToStream(bytes);
    item->Picture()->LoadFromStream(bytes);
    g->SetColWidths(2, 60);
    g->SetRowHeights(2, 30);
    g->SetCells(2, 2, "<IMG src=\"dot\">");
    auto red = [&] {
        auto shot = PaintToBitmap(g);
        const TRect r = g->CellRect(2, 2);
        const int frame = g->ClientToScreen(TPoint{0, 0}).X - form->ClientToScreen(TPoint{g->Left(), 0}).X;
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (ColorToRGB(shot->Canvas()->Pixel(x + frame, y + frame)) == 0x0000FF) ++n;
        return n;
    };
    EXPECT_EQ(red(), 0);  // no container: nothing to draw
    g->SetPictureContainer(container);
    EXPECT_EQ(red(), 12 * 8);
    EXPECT_GE(g->GetCellTextSize(2, 2, false).cx, 12);  // measured too
    delete container;
    EXPECT_EQ(g->PictureContainer(), nullptr);
    EXPECT_EQ(red(), 0);
    EXPECT_NE(g->PictureCache(), nullptr);
}

namespace {
// A grid whose column 2 has a filter set.
struct FilteredGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    bool GetFilter(int ACol) override { return ACol == 2; }
};
}  // namespace

TEST(FilterMark, TheHeaderOfAFilteredColumnShowsTheMarkAndItsTextGivesWay)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 400, 200);
    auto* g = new FilteredGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 380, 180);
    g->SetColCount(4);
    g->SetRowCount(3);
    g->SetColWidths(1, 70);
    g->SetColWidths(2, 70);
    g->SetCells(1, 0, "WWWWWWWWWWWW");
    g->SetCells(2, 0, "WWWWWWWWWWWW");
    form->Show();
    auto shot = PaintToBitmap(g);
    if (const char* dir = std::getenv("KORVELO_GRID_PNG")) shot->SaveToFile(std::string(dir) + "/filter-mark.png");
    const int frame = g->ClientToScreen(TPoint{0, 0}).X - form->ClientToScreen(TPoint{g->Left(), 0}).X;
    auto dark = [&](int col, int fromRight, int toRight) {
        const TRect r = g->CellRect(col, 0);
        int n = 0;
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Right - fromRight; x < r.Right - toRight; ++x) {
                const COLORREF c = ColorToRGB(shot->Canvas()->Pixel(x + frame, y + frame));
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0x50) ++n;
            }
        return n;
    };
    // the funnel's black pixels in the right 16 pixels of the filtered header only
    const int plain = dark(1, 16, 2), marked = dark(2, 16, 2);
    EXPECT_GT(marked, 20);
    EXPECT_NE(marked, plain);
    // the text stops before the mark: the strip just left of the funnel holds no letters
    EXPECT_EQ(dark(2, 15, 14), 0);
    form->Free();
}
