// The flat check list: layout, check marks for every item, keys, wheel, arrow strips and pixels.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "platform/system/Thread.h"
#include "widgets/flat/FlatCheckListBox.h"

using namespace flat;
using namespace flattest;

namespace {

class CheckListTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        list = Make<TFlatCheckListBox>();
        list->SetBounds(10, 10, 120, 137);
    }
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i) list->Items().Add("Frame " + std::to_string(i));
    }
    TFlatCheckListBox* list = nullptr;
};

}  // namespace

TEST_F(CheckListTest, RowsAndHeightSnapping)
{
    EXPECT_EQ(list->RowCount(), 7);
    EXPECT_EQ(list->Height(), 137);
    EXPECT_EQ(list->RowRect(0), Rect(3, 3, 117, 20));
    EXPECT_EQ(list->RowRect(1).Top, 22);
    list->SetScrollBars(true);
    EXPECT_EQ(list->Height(), 157);
    EXPECT_EQ(list->RowRect(0).Top, 13);
    // 137 high with strips: 5 rows, snapped to 119.
    list->SetBounds(10, 10, 120, 137);
    EXPECT_EQ(list->RowCount(), 5);
    EXPECT_EQ(list->Height(), 119);
    list->SetItemHeight(0);
    EXPECT_EQ(list->ItemHeight(), 1);
    EXPECT_EQ(list->Height(), 3 * 5 + 24);
}

TEST_F(CheckListTest, EveryItemCanBeChecked)
{
    Fill(300);
    for (int i : {0, 255, 256, 299}) list->SetChecked(i, true);
    for (int i : {0, 255, 256, 299}) EXPECT_TRUE(list->GetChecked(i)) << i;
    EXPECT_FALSE(list->GetChecked(1));
    EXPECT_FALSE(list->GetChecked(-1));
    EXPECT_FALSE(list->GetChecked(300));
    list->SetChecked(300, true);  // no such item
    EXPECT_FALSE(list->GetChecked(300));
    EXPECT_EQ(list->GetSelCount(), 4);
    list->SetChecked(256, false);
    EXPECT_EQ(list->GetSelCount(), 3);
    // Space on item 299 toggles it.
    list->SetItemIndex(299);
    SendKey(list, VK_SPACE);
    EXPECT_FALSE(list->GetChecked(299));
}

TEST_F(CheckListTest, ChangingTheLinesWipesTheMarks)
{
    Fill(3);
    list->SetChecked(1, true);
    list->Items().Add("more");
    EXPECT_FALSE(list->GetChecked(1));
    list->SetChecked(2, true);
    list->SetEnabled(false);
    list->Items().Add("while disabled");
    EXPECT_TRUE(list->GetChecked(2));
    list->Clear();
    EXPECT_FALSE(list->GetChecked(2));
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Items().Count(), 0);
}

TEST_F(CheckListTest, SetItemsTrimsTheGivenLines)
{
    base::TStringList lines;
    for (int i = 0; i < 300; ++i) lines.Add("  line\t");
    list->SetItems(lines);
    EXPECT_EQ(list->Items().Count(), 300);
    EXPECT_EQ(list->Items().Get(299), "line");
    EXPECT_EQ(lines.Get(0), "line");
}

TEST_F(CheckListTest, MouseChecksAndSelects)
{
    Fill(3);
    int checks = 0, clicks = 0;
    list->OnClickCheck = [&](TObject*) { ++checks; };
    list->OnClick = [&](TObject*) { ++clicks; };
    const TRect box = list->CheckRect(1);
    ClickAt(list, box.Left + 5, box.Top + 5);
    EXPECT_TRUE(list->GetChecked(1));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(list->ItemIndex(), -1);
    ClickAt(list, 60, list->RowRect(2).Top + 5);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(clicks, 2);
    // An empty row reacts to nothing.
    ClickAt(list, 60, list->RowRect(5).Top + 5);
    ClickAt(list, list->CheckRect(5).Left + 5, list->RowRect(5).Top + 5);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->GetSelCount(), 1);
    EXPECT_TRUE(list->Focused());
    // Losing the focus drops the selection.
    auto* other = Make<TFlatCheckListBox>();
    other->SetFocus();
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(CheckListTest, KeysAndWheelMoveTheView)
{
    Fill(3);
    SendKey(list, VK_NEXT);
    EXPECT_EQ(list->TopIndex(), 0);
    Fill(17);  // 20 items, 7 rows
    struct Step {
        Word key;
        int top;
    } steps[] = {{VK_DOWN, 1}, {VK_NEXT, 8}, {VK_NEXT, 13}, {VK_DOWN, 13}, {VK_UP, 12}, {VK_PRIOR, 5},
                 {VK_PRIOR, 0}, {VK_UP, 0}};
    for (const Step& s : steps) {
        SendKey(list, s.key);
        EXPECT_EQ(list->TopIndex(), s.top) << s.key;
    }
    const int lines = WheelScrollLines();
    list->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), 0);
    EXPECT_EQ(list->TopIndex(), std::min(lines > 0 ? lines : 7, 13));
    list->Perform(WM_MOUSEWHEEL, MakeWParam(0, -60), 0);  // not a whole notch
    EXPECT_EQ(list->TopIndex(), std::min(lines > 0 ? lines : 7, 13));
    for (int i = 0; i < 10; ++i) list->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), 0);
    EXPECT_EQ(list->TopIndex(), 13);
    list->Perform(RegisterWindowMessage("MSWHEEL_ROLLMSG"), MakeWParam(0, 120), 0);
    EXPECT_EQ(list->TopIndex(), std::max(0, 13 - (lines > 0 ? lines : 7)));
}

TEST_F(CheckListTest, ArrowStripsScrollAndRepeat)
{
    TestClock clock;
    list->SetScrollBars(true);
    Fill(12);  // 7 rows: the top item runs 0..5
    const int bottom = list->ClientHeight() - 5;
    SendMouse(list, WM_LBUTTONDOWN, 50, bottom);
    EXPECT_EQ(list->TopIndex(), 1);
    // Held down, the strip repeats until the end and then stops.
    EXPECT_TRUE(ProcessUntil([&] { return list->TopIndex() == 5; }, 20000));
    SendMouse(list, WM_LBUTTONUP, 50, bottom);
    SendMouse(list, WM_LBUTTONDOWN, 50, 5);
    SendMouse(list, WM_LBUTTONUP, 50, 5);
    EXPECT_EQ(list->TopIndex(), 4);
    // Released, nothing moves any more: by the time a timer longer than the strip's first
    // repeat delay has fired, a repeat still running would have moved the list.
    ASSERT_TRUE(AfterTimerOf(700));
    EXPECT_EQ(list->TopIndex(), 4);
}

TEST_F(CheckListTest, PaintsRowsMarksAndStrips)
{
    list->SetScrollBars(true);
    Fill(10);
    list->SetChecked(0, true);
    list->SetChecked(1, true);
    list->SetItemIndex(1);
    auto b = PaintToBitmap(list);
    Snapshot(*b, "checklist");
    const TRect box0 = list->CheckRect(0), box2 = list->CheckRect(2);
    // The frame, the strips and the rows.
    EXPECT_EQ(At(*b, 0, 60), COLORREF(0x8396A0));
    EXPECT_EQ(At(*b, 40, 5), COLORREF(0xE1EAEB));
    // Nothing above the first row: the up arrow is grey; the down arrow is black.
    EXPECT_GT(Count(*b, Rect(list->Width() / 2 - 2, 4, list->Width() / 2 + 3, 7), clGray), 0);
    EXPECT_EQ(Count(*b, Rect(0, 0, list->Width(), 11), clBlack), 0);
    EXPECT_GT(Count(*b, Rect(0, list->Height() - 11, list->Width(), list->Height()), clBlack), 0);
    EXPECT_EQ(At(*b, 100, list->RowRect(1).Top + 2), COLORREF(0x9CDEF7));
    EXPECT_EQ(At(*b, 100, list->RowRect(2).Top + 2), COLORREF(clWhite));
    // Marks: black in the checked squares, none in the others.
    EXPECT_GT(Count(*b, box0, clBlack), 10);
    EXPECT_EQ(Count(*b, box2, clBlack), 0);
    EXPECT_EQ(At(*b, box2.Left, box2.Top + 5), COLORREF(0x8396A0));
    // Text: dark pixels right of the square.
    EXPECT_GT(CountOther(*b, Rect(box2.Right + 8, list->RowRect(2).Top, 100, list->RowRect(2).Bottom), clWhite), 5);
}

TEST_F(CheckListTest, DisabledTextIsEmbossedAndArrowsGrey)
{
    list->SetScrollBars(true);
    Fill(10);
    list->SetEnabled(false);
    auto b = PaintToBitmap(list);
    Snapshot(*b, "checklist_disabled");
    const TRect row = list->RowRect(0);
    const TRect text = Rect(row.Left + 19, row.Top, row.Right, row.Bottom);
    EXPECT_GT(CountOther(*b, text, clWhite), 5);
    EXPECT_EQ(Count(*b, text, clBlack), 0);
    EXPECT_GT(Count(*b, Rect(0, list->Height() - 11, list->Width(), list->Height()), clGray), 0);
    EXPECT_EQ(Count(*b, Rect(0, list->Height() - 11, list->Width(), list->Height()), clBlack), 0);
}

TEST_F(CheckListTest, HostInputReachesTheList)
{
    Fill(20);
    list->HandleNeeded();
    const TRect box = list->CheckRect(2);
    HostMouse(list, hmPress, mbLeft, box.Left + 4, box.Top + 4);
    HostMouse(list, hmRelease, mbLeft, box.Left + 4, box.Top + 4);
    EXPECT_TRUE(list->GetChecked(2));
    HostWheel(list, 30, 30, -120);
    EXPECT_GT(list->TopIndex(), 0);
    HostKey(list, VK_PRIOR);
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST_F(CheckListTest, TransparentModesShowTheParent)
{
    form->OnPaint = [this](TObject*) {
        form->Canvas()->Brush().SetColor(clRed);
        form->Canvas()->FillRect(Rect(40, 60, 60, 80));
    };
    list->SetTransparent(tmAlways);
    auto b = PaintToBitmap(list);
    Snapshot(*b, "checklist_transparent");
    EXPECT_EQ(At(*b, 40, 60), COLORREF(clRed));  // the form's (50, 70)
    EXPECT_EQ(At(*b, 20, 40), COLORREF(0xE1EAEB));
    list->SetTransparent(tmNotFocused);
    list->SetFocus();
    b = PaintToBitmap(list);
    EXPECT_EQ(At(*b, 40, 60), COLORREF(clWhite));
    list->SetTransparent(tmNone);
    b = PaintToBitmap(list);
    EXPECT_EQ(At(*b, 40, 60), COLORREF(clWhite));
}

TEST_F(CheckListTest, RightToLeftPutsTheSquaresOnTheRight)
{
    Fill(3);
    list->SetBiDiMode(bdRightToLeft);
    const TRect row = list->RowRect(0);
    EXPECT_EQ(list->CheckRect(0), Rect(row.Right - 14, row.Top + 3, row.Right - 3, row.Top + 14));
    ClickAt(list, row.Right - 8, row.Top + 8);
    EXPECT_TRUE(list->GetChecked(0));
    list->SetChecked(1, true);
    auto b = PaintToBitmap(list);
    Snapshot(*b, "checklist_rtl");
    EXPECT_GT(Count(*b, list->CheckRect(1), clBlack), 10);
    EXPECT_EQ(Count(*b, Rect(row.Left, list->RowRect(1).Top, row.Left + 14, list->RowRect(1).Bottom), clBlack), 0);
}
