// List boxes: rows and positions, selection by mouse and keys, owner drawing, scrolling.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ListBox.h"
#include "platform/graphics/GDI.h"
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

}  // namespace
