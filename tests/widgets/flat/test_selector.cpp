// Selector items, the drop-down panel's layout and mouse, the selector button's faces and its drop-down.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "platform/system/VisualStyles.h"
#include "widgets/flat/Selector.h"

using namespace flat;
using namespace flattest;

namespace {

class SelectorTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        sel = Make<TExToolSelector>();
        sel->SetBounds(20, 20, 40, 23);
        sel->OnSelect = [this](TObject*, int i, TExSelectorItem* item) {
            selects.push_back(i);
            lastItem = item;
        };
    }
    TExSelectorItem* AddTool(const std::string& caption, TSelectorItemType type = itAutoSizeButton)
    {
        TExSelectorItem* t = sel->Tools().Add();
        t->Caption = caption;
        t->ItemType = type;
        return t;
    }
    TExSelectorPanel* OpenPanel()
    {
        sel->DoDropDown();
        return dynamic_cast<TExSelectorPanel*>(sel->Panel());
    }
    TExToolSelector* sel = nullptr;
    std::vector<int> selects;
    TExSelectorItem* lastItem = nullptr;
};

}  // namespace

TEST(SelectorItems, AssignLeavesEnableAlone)
{
    TExSelectorItem a, b;
    a.Caption = "A";
    a.Enable = false;
    a.Tag = 7;
    a.BackGroundColor = clRed;
    b.Assign(a);
    EXPECT_EQ(b.Caption, "A");
    EXPECT_EQ(b.Tag, 7);
    EXPECT_EQ(b.BackGroundColor, clRed);
    EXPECT_TRUE(b.Enable);
    TExSelectorItems items;
    items.Add()->Caption = "1";
    items.Insert(0)->Caption = "0";
    EXPECT_EQ(items.Items(0)->Caption, "0");
    EXPECT_EQ(items.Count(), 2);
}

TEST(SelectorGradient, StripesRunFromOneColourToTheOther)
{
    EnsurePlatform();
    TBitmap b(40, 10);
    DrawGradient(b.Canvas(), clBlack, clWhite, true, Rect(0, 0, 40, 10), 4);
    EXPECT_EQ(At(b, 2, 5), COLORREF(clBlack));
    EXPECT_EQ(At(b, 38, 5), COLORREF(RGB(191, 191, 191)));
    DrawGradient(b.Canvas(), clRed, clBlue, false, Rect(0, 0, 40, 10), 0);  // 0 steps: one stripe
    EXPECT_EQ(At(b, 20, 9), COLORREF(clRed));
}

TEST_F(SelectorTest, AfterConstruction)
{
    EXPECT_EQ(sel->BorderHotColor, 0x000000);
    EXPECT_EQ(sel->AppearanceStyle(), esOffice2003Classic);
    EXPECT_EQ(sel->Version(), "1.2.0.0");
    EXPECT_EQ(sel->ButtonState(), absUp);
    ASSERT_NE(sel->DropDownWindow(), nullptr);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
}

TEST_F(SelectorTest, PanelLayout)
{
    AddTool("Wide full-width caption", itFullWidthButton);
    for (int i = 0; i < 5; ++i) AddTool("");
    AddTool("After", itFullWidthButton);
    AddTool("Next", itFullWidthButton);
    AddTool("");
    sel->SetButtonsPerRow(3);
    TExSelectorPanel* p = OpenPanel();
    ASSERT_NE(p, nullptr);
    auto rect = [&](int i) { return p->Items().Items(i)->ItemRect; };
    EXPECT_EQ(rect(0), Rect(4, 4, p->Width() - 4, 24));
    EXPECT_EQ(rect(1), Rect(4, 24, 20, 40));  // a row button right below a full-width one
    EXPECT_EQ(rect(3), Rect(36, 24, 52, 40));
    EXPECT_EQ(rect(4), Rect(4, 40, 20, 56));
    EXPECT_EQ(rect(6).Top, 40 + 16 + 2);  // 2 pixels below the row
    EXPECT_EQ(rect(7).Top, rect(6).Bottom);
    EXPECT_EQ(rect(8).Top, rect(7).Bottom);
    EXPECT_EQ(p->Height(), rect(8).Bottom + 4);
    EXPECT_GT(p->Width(), 2 * 4 + 16);
    EXPECT_EQ(sel->DropDownWindow()->Width(), p->Width());
    EXPECT_EQ(sel->DropDownWindow()->Height(), p->Height());
}

TEST_F(SelectorTest, PickClosesTheDropDown)
{
    AddTool("One");
    AddTool("Two");
    TExSelectorPanel* p = OpenPanel();
    EXPECT_TRUE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(sel->ButtonState(), absDropDown);
    PickItem(p, 1);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(sel->ButtonState(), absUp);
    EXPECT_EQ(sel->SelectedIndex(), 1);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0], 1);
    EXPECT_EQ(lastItem, sel->Tools().Items(1));
}

TEST_F(SelectorTest, DisabledItemIsReportedButNotChosen)
{
    AddTool("One");
    AddTool("Off")->Enable = false;
    TExSelectorPanel* p = OpenPanel();
    PickItem(p, 1);
    EXPECT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0], -1);
    EXPECT_EQ(sel->SelectedIndex(), -1);
    // A release off the items closes it as well.
    p = OpenPanel();
    ClickAt(p, p->Width() - 2, p->Height() - 2);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(selects.size(), 1u);
}

TEST_F(SelectorTest, EscapeAndSecondPressClose)
{
    AddTool("One");
    TExSelectorPanel* p = OpenPanel();
    SendKey(p, VK_ESCAPE);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(sel->ButtonState(), absUp);
    ClickAt(sel, 5, 5);
    EXPECT_TRUE(sel->DropDownWindow()->Visible());
    ClickAt(sel, 5, 5);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    sel->SetFocus();
    SendKey(sel, VK_F2);
    EXPECT_TRUE(sel->DropDownWindow()->Visible());
    SendKey(sel, VK_ESCAPE);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
}

TEST_F(SelectorTest, LosingActivationHidesOneTickLater)
{
    AddTool("One");
    OpenPanel();
    sel->DropDownWindow()->Perform(CM_DEACTIVATE);
    EXPECT_TRUE(sel->DropDownWindow()->Visible());
    EXPECT_TRUE(ProcessUntil([&] { return !sel->DropDownWindow()->Visible(); }));
    EXPECT_EQ(sel->ButtonState(), absUp);
}

TEST_F(SelectorTest, SplitButton)
{
    AddTool("One");
    sel->SetDropDownButton(true);
    int clicks = 0;
    sel->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(sel, 5, 5);  // the main part: the last choice, none yet
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0], -1);
    EXPECT_EQ(lastItem, nullptr);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(sel->DropDownWindow()->Visible());
    ClickAt(sel, sel->Width() - 3, 5);  // the arrow part opens the list
    EXPECT_TRUE(sel->DropDownWindow()->Visible());
    EXPECT_EQ(clicks, 1);
}

TEST_F(SelectorTest, SelectedIndexWaitsForItsTools)
{
    sel->SetSelectedIndex(2);
    EXPECT_EQ(sel->SelectedIndex(), -1);
    AddTool("a");
    AddTool("b");
    AddTool("c");
    sel->Loaded();
    EXPECT_EQ(sel->SelectedIndex(), 2);
}

TEST_F(SelectorTest, OpensAboveNearTheBottomOfTheWorkArea)
{
    AddTool("One");
    const TRect work = Screen->WorkAreaRect();
    form->SetBounds(0, work.Bottom - 40, 200, 40);
    sel->SetBounds(0, 10, 22, 23);
    AddTool("A longer caption", itFullWidthButton);
    TExSelectorPanel* p = OpenPanel();
    ASSERT_GT(p->Width(), 30);
    EXPECT_TRUE(sel->DropDownWindow()->ShownAbove);
    EXPECT_LT(sel->DropDownWindow()->Top(), sel->ClientToScreen(Point(0, 0)).Y);
    auto b = PaintToBitmap(p);
    Snapshot(*b, "selector_above");
    // The bottom edge stays open over the selector's width.
    EXPECT_EQ(At(*b, 5, p->Height() - 1), COLORREF(0xF7F8F9));
    EXPECT_EQ(At(*b, p->Width() - 3, p->Height() - 1), COLORREF(0x808080));
}

TEST_F(SelectorTest, Faces)
{
    sel->SetCaption("Tools");
    auto b = PaintToBitmap(sel);
    Snapshot(*b, "selector_face");
    EXPECT_EQ(At(*b, 1, 1), ColorToRGB(clBtnFace));
    SendMouse(sel, WM_MOUSEMOVE, 5, 5);
    b = PaintToBitmap(sel);
    Snapshot(*b, "selector_hot");
    EXPECT_EQ(At(*b, 0, 5), COLORREF(clBlack));
    EXPECT_EQ(At(*b, 2, 2), COLORREF(0xD6BEB5));
    sel->SetFlat(false);
    b = PaintToBitmap(sel);
    EXPECT_NE(At(*b, 2, 2), COLORREF(0xD6BEB5));
    sel->SetFlat(true);
    sel->SetStyle(ssCombo);
    sel->SetCaption("");
    b = PaintToBitmap(sel);
    Snapshot(*b, "selector_combo");
    EXPECT_EQ(At(*b, 3, 3), COLORREF(clWhite));
    // The arrow in the 12-pixel button: 5, 3 and 1 pixels.
    const int x = sel->Width() - 13 + 4, y = 11;
    EXPECT_EQ(Count(*b, Rect(x, y, x + 5, y + 3), clBlack), 9);
    EXPECT_EQ(At(*b, x + 2, y + 2), COLORREF(clBlack));
}

TEST_F(SelectorTest, FollowsTheColourScheme)
{
    SetVisualStylesColorScheme(L"NormalColor");
    sel->SetAutoThemeAdapt(true);
    const TExAppearanceStyle got = sel->AppearanceStyle();
    SetVisualStylesColorScheme(L"");
    if (got != esOffice2003Blue) GTEST_SKIP() << "visual styles report no scheme here";
    EXPECT_EQ(sel->Color(), 0xFDEADA);
    EXPECT_EQ(sel->ColorHotTo, 0x5BC0F7);
}
