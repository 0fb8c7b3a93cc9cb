// The flat list box: geometry, single and multiple selection, keys, strips and pixels.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "widgets/flat/FlatListBox.h"

using namespace flat;
using namespace flattest;

namespace {

class ListBoxTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        list = Make<TFlatListBox>();
        list->OnChangeIndex = [this](TObject*) { ++changes; };
    }
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i) list->Items().Add("Item " + std::to_string(i));
    }
    TFlatListBox* list = nullptr;
    int changes = 0;
};

}  // namespace

TEST_F(ListBoxTest, Geometry)
{
    EXPECT_EQ(list->Width(), 137);
    EXPECT_EQ(list->Height(), 99);
    EXPECT_EQ(list->RowCount(), 5);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(list->RowRect(r), Rect(3, 3 + 19 * r, 134, 20 + 19 * r));
    list->SetScrollBars(true);
    EXPECT_EQ(list->Height(), 119);
    EXPECT_EQ(list->RowRect(0).Top, 13);
    Fill(3);
    SendKey(list, VK_NEXT);
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST_F(ListBoxTest, SingleSelectionByMouse)
{
    Fill(3);
    ClickAt(list, 50, list->RowRect(1).Top + 4);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(list->Selected(1));
    EXPECT_EQ(list->SelCount(), 1);
    ClickAt(list, 50, list->RowRect(2).Top + 4);
    EXPECT_FALSE(list->Selected(1));
    EXPECT_TRUE(list->Selected(2));
    // An empty row below the last item.
    ClickAt(list, 50, list->RowRect(4).Top + 4);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->SelCount(), 0);
    EXPECT_EQ(changes, 3);
}

TEST_F(ListBoxTest, MultipleSelection)
{
    Fill(4);
    list->SetMultiSelect(true);
    EXPECT_EQ(list->ItemIndex(), 0);
    ClickAt(list, 50, list->RowRect(1).Top + 4);
    ClickAt(list, 50, list->RowRect(3).Top + 4);
    EXPECT_EQ(list->SelCount(), 2);
    ClickAt(list, 50, list->RowRect(1).Top + 4);
    EXPECT_FALSE(list->Selected(1));
    EXPECT_EQ(list->SelCount(), 1);
    list->SetSelected(2, true);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->SelCount(), 2);
    list->Items().Add("more");  // a change of the lines clears the selection
    EXPECT_EQ(list->SelCount(), 0);
}

TEST_F(ListBoxTest, EveryItemCanBeSelected)
{
    Fill(301);
    list->SetItemIndex(300);
    EXPECT_EQ(list->ItemIndex(), 300);
    EXPECT_TRUE(list->Selected(300));
    list->SetMultiSelect(true);
    list->SetSelected(255, true);
    list->SetSelected(299, true);
    EXPECT_TRUE(list->Selected(255));
    EXPECT_TRUE(list->Selected(299));
    EXPECT_FALSE(list->Selected(301));  // past the items
    base::TStringList lines;
    for (int i = 0; i < 1000; ++i) lines.Add(" x ");
    list->SetItems(lines);  // any length is taken
    EXPECT_EQ(list->Items().Count(), 1000);
    EXPECT_EQ(list->Items().Get(0), "x");
}

TEST_F(ListBoxTest, StripsRepeatAndTwoListsScrollApart)
{
    list->SetScrollBars(true);
    Fill(9);  // 5 rows: the top item runs 0..4
    auto* other = Make<TFlatListBox>();
    other->SetLeft(200);
    other->SetScrollBars(true);
    for (int i = 0; i < 9; ++i) other->Items().Add("x");
    const int bottom = list->ClientHeight() - 4;
    SendMouse(list, WM_LBUTTONDOWN, 60, bottom);
    EXPECT_EQ(list->TopIndex(), 1);
    EXPECT_TRUE(ProcessUntil([&] { return list->TopIndex() == 4; }, 20000));
    SendMouse(list, WM_LBUTTONUP, 60, bottom);
    EXPECT_EQ(other->TopIndex(), 0);
    delete list;
    list = nullptr;
    SendMouse(other, WM_LBUTTONDOWN, 60, bottom);
    EXPECT_TRUE(ProcessUntil([&] { return other->TopIndex() == 4; }, 20000));
    SendMouse(other, WM_LBUTTONUP, 60, bottom);
}

TEST_F(ListBoxTest, Pixels)
{
    list->SetScrollBars(true);
    Fill(8);
    list->SetItemIndex(1);
    auto b = PaintToBitmap(list);
    Snapshot(*b, "listbox");
    const TRect row = list->RowRect(1);
    EXPECT_EQ(At(*b, row.Right - 3, row.Top + 2), COLORREF(0x9CDEF7));
    EXPECT_EQ(At(*b, row.Left, row.Top + 2), COLORREF(0x8396A0));
    EXPECT_EQ(At(*b, row.Right - 3, list->RowRect(2).Top + 2), COLORREF(clWhite));
    EXPECT_GT(CountOther(*b, Rect(6, row.Top + 1, 60, row.Bottom - 1), 0x9CDEF7), 5);
    EXPECT_GT(Count(*b, Rect(0, list->Height() - 11, list->Width(), list->Height()), clBlack), 0);
}
