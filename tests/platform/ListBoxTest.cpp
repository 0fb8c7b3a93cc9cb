// List boxes: rows and positions, selection by mouse and keys, owner drawing, scrolling.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/FlatScrollBar.h"
#include "platform/controls/ListBox.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/TabbedText.h"
#include "platform/TestRig.h"
#include "LookAt.h"

using namespace platform;

namespace {

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box = new TListBox(owner.get());
        box->SetBorderStyle(lbsNone);
        box->SetBounds(0, 0, 120, 64);  // four rows of 16
        for (const char* s : {"a", "b", "c", "d", "e", "f"}) box->Items().Add(s);
        box->OnClick = [this](TObject*) { ++clicks; };
    }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int i = 0; i < box->Count(); ++i)
            if (box->Selected(i)) rows.push_back(i);
        return rows;
    }
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>();
    TListBox* box = nullptr;
    int clicks = 0;
};

TEST_F(ListBoxTest, RowsLieAtTheirPositions)
{
    const struct {
        int y;
        bool existing;
        int row;
    } cases[] = {{0, true, 0}, {15, true, 0}, {16, true, 1}, {63, true, 3}, {64, true, -1}, {64, false, 6}, {-1, true, -1}};
    for (const auto& c : cases) EXPECT_EQ(box->ItemAtPos(Point(10, c.y), c.existing), c.row) << c.y;
    box->SetTopIndex(2);
    EXPECT_EQ(box->ItemAtPos(Point(10, 0), true), 2);
    EXPECT_EQ(box->ItemRect(3), Rect(0, 16, 120, 32));
    box->SetTopIndex(5);  // no further than the last row at the bottom
    EXPECT_EQ(box->TopIndex(), 2);
    EXPECT_EQ(box->Perform(LB_GETTOPINDEX), 2);
}

TEST_F(ListBoxTest, APressSelectsTheRowAndClicks)
{
    ClickAt(box, 10, 20);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    box->Items().Add("g");
    ClickAt(box, 10, 60);
    EXPECT_EQ(box->ItemIndex(), 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
}

TEST_F(ListBoxTest, ADoubleClickSelectsOnceAndRaisesOnDblClick)
{
    int doubles = 0;
    box->OnDblClick = [&](TObject*) { ++doubles; };
    SendMouse(box, WM_LBUTTONDOWN, 10, 20);
    SendMouse(box, WM_LBUTTONUP, 10, 20);
    SendMouse(box, WM_LBUTTONDBLCLK, 10, 20);
    SendMouse(box, WM_LBUTTONUP, 10, 20);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
}

TEST_F(ListBoxTest, TheSelectionFollowsItsRowAsRowsComeAndGo)
{
    box->SetItemIndex(2);
    box->Items().Insert(0, "z");
    EXPECT_EQ(box->ItemIndex(), 3);
    box->Items().Delete(1);
    EXPECT_EQ(box->ItemIndex(), 2);
    box->Items().Delete(2);
    EXPECT_EQ(box->ItemIndex(), -1);
    box->SetItemIndex(1);
    box->Items().Clear();
    EXPECT_EQ(box->ItemIndex(), -1);
    box->SetItemIndex(0);  // no rows: nothing to select
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(clicks, 0);  // none of these is the user's
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndScrollIt)
{
    box->SetItemIndex(3);
    SendKey(box, VK_DOWN);
    EXPECT_EQ(box->ItemIndex(), 4);
    EXPECT_EQ(box->TopIndex(), 1);
    SendKey(box, VK_HOME);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->TopIndex(), 0);
    SendKey(box, VK_END);
    EXPECT_EQ(box->ItemIndex(), 5);
    EXPECT_EQ(clicks, 3);
    SendKey(box, VK_END);  // no change, no click
    EXPECT_EQ(clicks, 3);
}

TEST_F(ListBoxTest, ALetterSelectsTheNextRowStartingWithIt)
{
    box->Items().Clear();
    for (const char* s : {"pear", "Apple", "plum", "fig"}) box->Items().Add(s);
    const struct {
        char key;
        int index;
    } steps[] = {{'p', 0}, {'P', 2}, {'p', 0}, {'a', 1}, {'z', 1}};
    for (const auto& s : steps) {
        SendChar(box, s.key);
        EXPECT_EQ(box->ItemIndex(), s.index) << s.key;
    }
    EXPECT_EQ(clicks, 4);
}

TEST_F(ListBoxTest, SortedRowsGoInOrder)
{
    box->Items().Clear();
    box->SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig"}) box->Items().Add(s);
    EXPECT_EQ(box->Items().Text(), "Apple\r\nfig\r\npear\r\n");
    EXPECT_EQ(box->Items().IndexOf("FIG"), 1);
}

TEST_F(ListBoxTest, MultiSelectTogglesRowsOneByOne)
{
    box->SetMultiSelect(true);
    box->SetExtendedSelect(false);
    ClickAt(box, 10, 4);
    ClickAt(box, 10, 36);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2}));
    ClickAt(box, 10, 4);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(box->SelCount(), 1);
    SendKey(box, VK_DOWN);  // moves the focus only
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    SendKey(box, VK_SPACE);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(clicks, 4);
}

TEST_F(ListBoxTest, ExtendedSelectTakesCtrlAndShift)
{
    box->SetMultiSelect(true);
    const struct {
        int y;
        TShiftState shift;
        std::vector<int> selected;
    } steps[] = {{20, 0, {1}},          {52, ssShift, {1, 2, 3}}, {4, ssCtrl, {0, 1, 2, 3}},
                 {36, ssCtrl, {0, 1, 3}}, {52, 0, {3}},            {20, ssShift, {1, 2, 3}}};
    for (const auto& s : steps) {
        ClickAt(box, 10, s.y, s.shift);
        EXPECT_EQ(SelectedRows(), s.selected) << s.y << " " << s.shift;
    }
    SetSimulatedShiftState(ssShift);
    SendKey(box, VK_DOWN, ssShift);  // the range from the anchor (row 3) grows
    SetSimulatedShiftState(-1);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{2, 3}));
    box->SetSelected(5, true);
    EXPECT_EQ(box->SelCount(), 3);
    box->ClearSelection();
    EXPECT_EQ(box->SelCount(), 0);
}

TEST_F(ListBoxTest, OwnerDrawnRowsAreDrawnByTheOwnerInTheirState)
{
    box->SetStyle(lbOwnerDrawFixed);
    std::vector<std::string> drawn;
    box->OnDrawItem = [&](TWinControl* c, int index, TRect r, TOwnerDrawState state) {
        auto* lb = static_cast<TListBox*>(c);
        drawn.push_back(std::to_string(index) + "@" + std::to_string(r.Top) + ((state & odSelected) ? "s" : ""));
        lb->Canvas()->FillRect(r);  // the brush is set for the state
        lb->Canvas()->Brush().SetColor(index % 2 ? clRed : clBlue);
        lb->Canvas()->FillRect(Rect(r.Left + 2, r.Top + 2, r.Left + 12, r.Bottom - 2));
    };
    box->SetItemIndex(1);
    auto bmp = PaintToBitmap(box);
    EXPECT_EQ(drawn, (std::vector<std::string>{"0@0", "1@16s", "2@32", "3@48"}));
    EXPECT_EQ(bmp->Canvas()->Pixel(5, 8), clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixel(5, 24), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixel(50, 24), ColorToRGB(clHighlight));
    EXPECT_EQ(bmp->Canvas()->Pixel(50, 8), ColorToRGB(clWindow));
    LookAt(*bmp, "listbox-ownerdraw");
}

TEST_F(ListBoxTest, VariableRowsAreMeasuredOnceAndHitAtTheirHeight)
{
    box->SetStyle(lbOwnerDrawVariable);
    int measured = 0;
    box->OnMeasureItem = [&](TWinControl*, int index, int& h) {
        ++measured;
        h = 10 + 10 * (index % 2);  // 10, 20, 10, 20...
    };
    EXPECT_EQ(box->ItemRect(2), Rect(0, 30, 120, 40));
    const struct {
        int y, row;
    } cases[] = {{0, 0}, {9, 0}, {10, 1}, {29, 1}, {30, 2}, {40, 3}, {60, 4}};
    for (const auto& c : cases) EXPECT_EQ(box->ItemAtPos(Point(5, c.y), true), c.row) << c.y;
    const int once = measured;
    box->ItemRect(3);
    EXPECT_EQ(measured, once);
    box->SetItemIndex(5);  // scrolled until the row shows whole
    EXPECT_EQ(box->TopIndex(), 2);
    EXPECT_LE(box->ItemRect(5).Bottom, 64);
}

TEST_F(ListBoxTest, TheScrollBarMovesTheTopRow)
{
    box->SetBorderStyle(lbsSingle);
    box->SetBounds(0, 0, 120, 68);  // four rows inside the frame
    box->HandleNeeded();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, si));
    EXPECT_EQ(si.nMax, 5);
    EXPECT_EQ(si.nPage, 4u);
    HostScroll(box, SB_VERT, SB_LINEDOWN);
    EXPECT_EQ(box->TopIndex(), 1);
    HostScroll(box, SB_VERT, SB_BOTTOM);
    EXPECT_EQ(box->TopIndex(), 2);
    HostScroll(box, SB_VERT, SB_THUMBTRACK, 1);
    EXPECT_EQ(box->TopIndex(), 1);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 1);
}

// The columns of a tabbed row: the x of each drawn piece, found from the text calls.
class TabbedList : public TListBox {
public:
    using TListBox::TListBox;
    void CreateParams(TCreateParams& p) override
    {
        TListBox::CreateParams(p);
        p.Style |= LBS_USETABSTOPS;
    }
};

TEST(TabbedText, PiecesLandOnTheirStops)
{
    TRecordingCanvas c(200, 40);
    const int stops[] = {40, -120};
    const int width = int(TabbedTextOut(c.Handle(), 10, 5, "ab\tcd\tef", -1, 2, stops, 10) & 0xFFFF);
    TSize ef;
    GetTextExtentPoint32(c.Handle(), "ef", 2, ef);
    std::vector<std::string> texts;
    for (const std::string& call : c.Calls())
        if (call.rfind("Text ", 0) == 0) texts.push_back(call.substr(0, call.find(" color")));
    // "cd" at the origin plus 40; "ef" right-aligned to the origin plus 120.
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Text 10,5 'ab'");
    EXPECT_EQ(texts[1], "Text 50,5 'cd'");
    EXPECT_EQ(texts[2], "Text " + std::to_string(130 - ef.cx) + ",5 'ef'");
    EXPECT_EQ(width, 120);
    // No stops: every eight average characters; one stop: that far apart.
    TEXTMETRIC tm;
    GetTextMetrics(c.Handle(), tm);
    EXPECT_EQ(int(GetTabbedTextExtent(c.Handle(), "\t", -1, 0, nullptr) & 0xFFFF), 8 * tm.tmAveCharWidth);
    const int every = 30;
    EXPECT_EQ(int(GetTabbedTextExtent(c.Handle(), "\t\t", -1, 1, &every) & 0xFFFF), 60);
    EXPECT_EQ(int(GetTabbedTextExtent(c.Handle(), "abc", -1, 0, nullptr) >> 16), tm.tmHeight);
}

TEST(ListBoxTabs, RowsAreLaidOutOnTheTabStopsInDialogUnits)
{
    auto owner = std::make_unique<TComponent>();
    auto* list = new TabbedList(owner.get());
    list->SetBorderStyle(lbsNone);
    list->SetBounds(0, 0, 200, 40);
    list->Items().Add("A\tB");
    list->HandleNeeded();
    ASSERT_TRUE(list->UsesTabStops());
    list->Canvas()->Font().Assign(*list->Font());
    const int unit = list->Canvas()->TextWidth("x");
    const int du[] = {4 * 100 / unit};  // about 100 pixels
    EXPECT_EQ(list->Perform(LB_SETTABSTOPS, 1, LPARAM(du)), 1);
    const int expected = 2 + du[0] * unit / 4;
    EXPECT_EQ(list->TabStopPixels(), std::vector<int>{du[0] * unit / 4});
    auto bmp = PaintToBitmap(list);
    // The "B" starts at its stop: ink there, none in the gap before it.
    auto inkIn = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < 16; ++y)
                if (bmp->Canvas()->Pixel(x, y) != ColorToRGB(clWindow)) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(2, 12));
    EXPECT_FALSE(inkIn(20, expected - 1));
    EXPECT_TRUE(inkIn(expected, expected + 12));
    LookAt(*bmp, "listbox-tabs");
}

TEST(ListBoxTabs, AWideExtentBringsAHorizontalBarThatScrollsTheRows)
{
    auto owner = std::make_unique<TComponent>();
    auto* list = new TListBox(owner.get());
    list->SetBorderStyle(lbsNone);
    list->SetBounds(0, 0, 100, 80);
    list->Items().Add("Wide");
    list->HandleNeeded();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    EXPECT_EQ(list->ClientHeight(), 80);
    list->Perform(LB_SETHORIZONTALEXTENT, 300, 0);
    EXPECT_EQ(list->Perform(LB_GETHORIZONTALEXTENT), 300);
    EXPECT_LT(list->ClientHeight(), 80);  // the bar took its strip
    ASSERT_TRUE(GetScrollInfo(list->Handle(), SB_HORZ, si));
    EXPECT_EQ(si.nMax, 299);
    EXPECT_EQ(int(si.nPage), 100);
    HostScroll(list, SB_HORZ, SB_PAGERIGHT);
    EXPECT_EQ(list->ScrollLeft(), 100);
    HostScroll(list, SB_HORZ, SB_RIGHT);
    EXPECT_EQ(list->ScrollLeft(), 200);  // no further than the extent's end
    list->Perform(WM_HSCROLL, MakeWParam(SB_LEFT, 0), 0);
    EXPECT_EQ(list->ScrollLeft(), 0);
    list->Perform(LB_SETHORIZONTALEXTENT, 50, 0);  // narrower than the list: no bar
    EXPECT_EQ(list->ClientHeight(), 80);
}

TEST(FlatScrollBars, PropertiesNeedInitialisingAndSizeTheBars)
{
    auto owner = std::make_unique<TComponent>();
    auto* list = new TListBox(owner.get());
    list->SetBorderStyle(lbsNone);
    list->SetBounds(0, 0, 100, 40);
    for (int i = 0; i < 20; ++i) list->Items().Add("row");
    list->HandleNeeded();
    const int plain = list->ClientWidth();
    EXPECT_EQ(plain, 100 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_FALSE(FlatSB_SetScrollProp(list->Handle(), WSB_PROP_CXVSCROLL, 8, true));  // not flat yet
    ASSERT_TRUE(InitializeFlatSB(list->Handle()));
    EXPECT_TRUE(FlatSB_SetScrollProp(list->Handle(), WSB_PROP_CXVSCROLL, 8, true));
    EXPECT_EQ(list->ClientWidth(), 92);
    EXPECT_TRUE(FlatSB_SetScrollProp(list->Handle(), WSB_PROP_VSTYLE, FSB_FLAT_MODE, true));
    EXPECT_TRUE(FlatSB_SetScrollProp(list->Handle(), WSB_PROP_VBKGCOLOR, 0x0000FF, true));
    LPARAM v = 0;
    EXPECT_TRUE(FlatSB_GetScrollProp(list->Handle(), WSB_PROP_VSTYLE, &v));
    EXPECT_EQ(v, FSB_FLAT_MODE);
    EXPECT_FALSE(FlatSB_SetScrollProp(list->Handle(), 0x12345, 1, true));  // no such property
    // The flat bar is the window's bar: its position is the window's.
    FlatSB_SetScrollPos(list->Handle(), SB_VERT, 3, true);
    EXPECT_EQ(GetScrollPos(list->Handle(), SB_VERT), 3);
    ASSERT_TRUE(UninitializeFlatSB(list->Handle()));
    EXPECT_EQ(list->ClientWidth(), plain);
}

}  // namespace
