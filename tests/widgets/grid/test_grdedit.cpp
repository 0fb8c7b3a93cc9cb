// The edit with a button and the value-with-unit edit: the button's press, F4, typing
// switched off, the minimum height, the unit menu's command and the value/unit split.
#include <gtest/gtest.h>

#include <string>

#include "base/StringList.h"
#include "platform/controls/Menus.h"
#include "platform/system/Clipboard.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"
#include "widgets/grid/GrdEdit.h"

using namespace platform;
using namespace grid;

namespace {

struct EditBtnTest : ControlFixture {
    void SetUp() override
    {
        EnsurePlatform();
        ControlFixture::SetUp();
    }
    int clicks = 0;
    template <class T>
    T* Edit()
    {
        auto* e = Add<T>(10, 10, 120, 24);
        e->OnClickBtn = [this](TObject*) { ++clicks; };
        return e;
    }
};

}  // namespace

TEST_F(EditBtnTest, TheButtonReactsOnThePressAndGivesTheEditTheFocus)
{
    auto* other = Add<TEdit>(10, 60, 80, 22);
    auto* e = Edit<TGrdEditBtn>();
    EXPECT_EQ(e->Text(), "0");
    other->SetFocus();
    TGrdEditButton* b = e->ButtonContainer();
    // Inside the right edge, as high as the client area less one pixel.
    EXPECT_EQ(b->Left(), e->Width() - e->ButtonWidth() - 5);
    EXPECT_EQ(b->Height(), e->Height() - 5);
    SendMouse(b, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(clicks, 1);  // before the release
    EXPECT_TRUE(e->Focused());
    SendMouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 1);
    SendKey(e, VK_F4);
    EXPECT_EQ(clicks, 2);
    auto bmp = PaintToBitmap(e);
    SaveSnapshot(*bmp, "editbtn");
    EXPECT_GT(Dark(*bmp, Rect(2, 2, 20, e->Height() - 2)), 5);  // the "0"
}

TEST_F(EditBtnTest, WithTheEditorDisabledTypingPasteAndCutDoNothingButTheButtonWorks)
{
    auto* e = Edit<TGrdEditBtn>();
    e->EditorEnabled = false;
    e->SetFocus();
    e->SelectAll();
    SendChar(e, '7');
    Clipboard()->SetAsText("42");
    e->PasteFromClipboard();
    e->CutToClipboard();
    EXPECT_EQ(e->Text(), "0");
    SendMouse(e->ButtonContainer(), WM_LBUTTONDOWN, 5, 5);
    SendMouse(e->ButtonContainer(), WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 1);
    e->EditorEnabled = true;
    e->SelectAll();
    SendChar(e, '7');
    EXPECT_EQ(e->Text(), "7");
}

TEST_F(EditBtnTest, AnEditSetLowerThanItsMinimumGrowsToIt)
{
    auto* e = Edit<TGrdEditBtn>();
    e->SetAutoSize(false);
    e->SetHeight(5);
    EXPECT_EQ(e->Height(), e->MinHeight());
    EXPECT_GT(e->MinHeight(), 10);
}

TEST_F(EditBtnTest, TheUnitMenusCommandSetsTheUnitAndTheValueStaysLeftOfIt)
{
    auto* e = Edit<TGrdUnitEditBtn>();
    e->SetText("12.5");
    base::TStringList units;
    for (const char* u : {"mm", "cm", "m"}) units.Add(u);
    e->SetUnits(&units);
    EXPECT_TRUE(e->RightAlign());
    // The button shows the units as a menu under it; choosing the second sets "cm".
    SendMouse(e->ButtonContainer(), WM_LBUTTONDOWN, 5, 5);
    SendMouse(e->ButtonContainer(), WM_LBUTTONUP, 5, 5);
    ASSERT_NE(e->UnitMenu(), nullptr);
    TCustomControl* w = MenuWindowOf(e->UnitMenu()->Items());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ClientOrigin().Y, e->ClientToScreen(Point(0, e->ClientHeight())).Y);
    ASSERT_EQ(e->UnitMenu()->Items()->Count(), 3);
    const TRect item = GetMenuItemRect(e->UnitMenu()->Items()->Items(1));
    const TPoint p = w->ScreenToClient(Point(item.Left + 5, item.Top + 3));
    SaveSnapshot(*PaintToBitmap(w), "unitmenu");
    ClickAt(w, p.X, p.Y);
    EXPECT_EQ(e->UnitID(), "cm");
    EXPECT_FALSE(MenuActive());
    e->SetUnitID("");
    e->Perform(WM_COMMAND, 2);  // the second item's command
    EXPECT_EQ(e->UnitID(), "cm");
    e->Perform(WM_COMMAND, MakeWParam(1, 0x300));  // the edit's change notice: no menu item
    e->Perform(WM_COMMAND, 7);                      // no such item
    EXPECT_EQ(e->UnitID(), "cm");
    EXPECT_EQ(clicks, 0);

    const int unitLeft = e->ClientWidth() - (e->ButtonWidth() + e->UnitSpace() + 3);
    EXPECT_EQ(e->FormatRect().Right, unitLeft);
    auto bmp = PaintToBitmap(e);
    SaveSnapshot(*bmp, "uniteditbtn");
    const int f = e->FrameWidth();
    EXPECT_GT(Dark(*bmp, Rect(unitLeft + f, f, unitLeft + f + e->UnitSpace(), e->Height() - f)), 5);  // "cm"
    EXPECT_GT(Dark(*bmp, Rect(unitLeft + f - 30, f, unitLeft + f, e->Height() - f)), 5);              // "12.5"
    EXPECT_EQ(Dark(*bmp, Rect(f, f, unitLeft + f - 40, e->Height() - f)), 0);

    e->SetUnitSpace(0);  // the value may reach the button
    EXPECT_EQ(e->FormatRect().Right, e->ClientWidth() - e->ButtonWidth() - 3);
}

TEST(UnitEditSplit, TheValueTakesTheNumberWithItsExponentAndTheUnitTheRest)
{
    const struct {
        const char* cell;
        const char* value;
        const char* unit;
    } cases[] = {
        {"12mm", "12", "mm"},      {"-3,5 cm", "-3,5", " cm"}, {"1e3", "1e3", ""},       {"2.5E-4 m", "2.5E-4", " m"},
        {"1e+3kg", "1e+3", "kg"},  {"5e", "5", "e"},           {"7 em", "7", " em"},      {"em", "", "em"},
        {"1.e2", "1.e2", ""},      {"3ex", "3", "ex"},         {"", "", ""},             {"4 m2", "4", " m2"}, {"$ 12", "12", "$ "},
    };
    for (const auto& c : cases) {
        std::string value, unit;
        TGrdUnitEditBtn::SplitValueUnit(c.cell, value, unit);
        EXPECT_EQ(value, c.value) << c.cell;
        EXPECT_EQ(unit, c.unit) << c.cell;
    }
}

TEST_F(EditBtnTest, ACellTextGoesInSplitAndComesBackWhole)
{
    auto* e = Edit<TGrdUnitEditBtn>();
    e->SetCellText("1e3 N");
    EXPECT_EQ(e->Text(), "1e3");
    EXPECT_EQ(e->UnitID(), " N");
    EXPECT_EQ(e->CellText(), "1e3 N");
}
