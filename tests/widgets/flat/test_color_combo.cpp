// The flat colour combo box: its list of colours, picking by mouse, the custom colour and pixels.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "platform/forms/Dialogs.h"
#include "widgets/flat/FlatColorComboBox.h"

using namespace flat;
using namespace flattest;

namespace {

class ColorComboTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        combo = new TFlatColorComboBox(form);
        combo->OnChange = [this](TObject*) { ++changes; };
        combo->OnClick = [this](TObject*) { ++clicks; };
        combo->SetParent(form);
        combo->SetBounds(10, 10, 120, 20);
        combo->SetDropDownCount(20);
        combo->HandleNeeded();
    }
    void TearDown() override
    {
        SetDialogHook(nullptr);
        FlatTest::TearDown();
    }
    // Drops the list down and clicks row i in it.
    void Pick(int i)
    {
        combo->SetDroppedDown(true);
        TCustomListBox* list = combo->ListControl();
        const TRect r = list->ItemRect(i);
        ClickAt(list, r.Left + 20, r.Top + r.Height() / 2);
    }
    TFlatColorComboBox* combo = nullptr;
    int changes = 0, clicks = 0;
};

}  // namespace

TEST_F(ColorComboTest, ListsSixteenColoursAndCustom)
{
    ASSERT_EQ(combo->Items().Count(), 17);
    EXPECT_EQ(combo->Items().Get(0), "Black");
    EXPECT_EQ(combo->Items().Get(9), "Red");
    EXPECT_EQ(combo->ItemColor(9), clRed);
    EXPECT_EQ(combo->Items().Get(16), "Custom");
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(ColorComboTest, PickingARowSetsTheValueAndClosesTheList)
{
    Pick(12);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 12);
    EXPECT_EQ(combo->Value(), clBlue);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ColorComboTest, CustomColourFromTheDialog)
{
    SetDialogHook([](TCommonDialog&) { return false; });
    Pick(16);
    EXPECT_EQ(clicks, 0);
    SetDialogHook([](TCommonDialog& d) {
        static_cast<TColorDialog&>(d).Color = 0x123456;
        return true;
    });
    combo->SetDroppedDown(true);
    const TRect r = combo->ListControl()->ItemRect(16);
    ClickAt(combo->ListControl(), r.Left + 20, r.Top + 3);  // the same row again: picked once more
    combo->SetItemIndex(0);
    Pick(16);
    EXPECT_EQ(combo->ItemColor(16), 0x123456);
    EXPECT_EQ(combo->Value(), 0x123456);
    EXPECT_GE(clicks, 1);
}

TEST_F(ColorComboTest, EditingTheList)
{
    EXPECT_FALSE(combo->AddColor("black", 0x010101));
    EXPECT_TRUE(combo->AddColor("Sea", 0x808020));
    EXPECT_EQ(combo->Items().Get(16), "Sea");
    EXPECT_EQ(combo->Items().Get(17), "Custom");
    EXPECT_TRUE(combo->DeleteColorByColor(clRed));
    EXPECT_FALSE(combo->DeleteColorByColor(clRed));
    EXPECT_TRUE(combo->DeleteColorByName("NAVY"));
    EXPECT_EQ(combo->Items().Count(), 16);
    // Values: one no item has changes nothing.
    combo->SetValue(0x808020);
    EXPECT_EQ(combo->Items().Get(combo->ItemIndex()), "Sea");
    combo->SetValue(0x424242);
    EXPECT_EQ(combo->Value(), 0x808020);
    // A font change refills the list.
    combo->Font()->SetHeight(-14);
    EXPECT_EQ(combo->Items().Count(), 17);
    EXPECT_EQ(combo->Items().IndexOf("Sea"), -1);
}

TEST_F(ColorComboTest, Pixels)
{
    combo->SetValue(clRed);
    auto b = PaintToBitmap(combo);
    Snapshot(*b, "colorcombo");
    EXPECT_EQ(At(*b, 0, 10), COLORREF(0x8396A0));
    EXPECT_GT(Count(*b, Rect(3, 3, 20, 17), clRed), 20);
    const TRect button = combo->GetButtonRect();
    EXPECT_EQ(At(*b, button.Left + 2, 3), COLORREF(0xC5D6D9));
    EXPECT_GT(Count(*b, button, clBlack), 2);
    combo->SetDroppedDown(true);
    auto l = PaintToBitmap(combo->ListControl());
    Snapshot(*l, "colorcombo_list");
    const TRect row = combo->ListControl()->ItemRect(12);
    EXPECT_GT(Count(*l, Rect(row.Left + 3, row.Top + 3, row.Left + 13, row.Bottom - 3), clBlue), 10);
    combo->SetDroppedDown(false);
}
