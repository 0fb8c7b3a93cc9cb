// The edit with a button inside and the unit selector.
#include "EditFixture.h"

#include "platform/controls/Menus.h"
#include "platform/system/Clipboard.h"
#include "widgets/edit/ExEdBtn.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;
using edittest::LookAt;

namespace {

class EditButtonTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        trim = new TExEditBtn(form);
        trim->SetParent(form);
        trim->SetButtonWidth(30);  // before the window: only stored
        trim->SetBounds(150, 40, 129, 21);
        trim->SetCaption("m");
        trim->SetEditType(etFloat);
        trim->SetPrecision(5);
        trim->OnClickBtn = [this](TObject* s) {
            ++clicks;
            sender = s;
        };
    }
    TExEditBtn* trim = nullptr;
    int clicks = 0;
    TObject* sender = nullptr;
};

TEST_F(EditButtonTest, TheButtonSitsInsideTheRightEnd)
{
    trim->HandleNeeded();
    TEditButton* h = trim->ButtonHolder();
    EXPECT_EQ(trim->ButtonWidth(), 30);
    EXPECT_EQ(h->Left(), 95);  // 129 - 30 - 4
    EXPECT_EQ(h->Top(), 0);
    EXPECT_EQ(h->Width(), 30);
    EXPECT_EQ(h->Height(), 16);
    EXPECT_EQ(trim->FormatRect().Right, trim->ClientWidth() - 30 - 4);
    EXPECT_EQ(trim->GetVersion(), "1.3.0.0");
    auto bmp = PaintToBitmap(trim);
    LookAt(*bmp, "edit-button");
    // A low edit grows to its minimum height.
    trim->SetHeight(8);
    EXPECT_EQ(trim->Height(), trim->GetMinHeight());
}

TEST_F(EditButtonTest, PressAndF4RaiseTheClick)
{
    trim->SetFloat(1.25);
    SendMouse(trim->ButtonHolder(), WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(clicks, 1);  // on the press, before any release
    EXPECT_EQ(sender, trim);
    EXPECT_TRUE(trim->Focused());
    SendMouse(trim->ButtonHolder(), WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 1);
    SendKey(trim, VK_F4);
    EXPECT_EQ(clicks, 2);
    SendKey(trim, VK_F4, ssCtrl);
    SendKey(trim, VK_F4, ssAlt);
    EXPECT_EQ(clicks, 2);
    trim->SetCaption("deg");
    EXPECT_EQ(trim->GetCaption(), "deg");
    EXPECT_EQ(trim->Text(), "1.25000");
}

TEST_F(EditButtonTest, EditorDisabledRefusesPasteButNotTyping)
{
    trim->SetEditType(etString);
    trim->SetText("ab");
    trim->SetFocus();
    trim->SetSelStart(2);
    trim->EditorEnabled = false;
    Clipboard()->SetAsText("zz");
    trim->PasteFromClipboard();
    EXPECT_EQ(trim->Text(), "ab");
    Type("c", trim);
    EXPECT_EQ(trim->Text(), "abc");
}

TEST_F(EditButtonTest, UnitSelectorChoosesAndShowsTheUnit)
{
    auto* u = new TUnitExEditBtn(form);
    u->SetParent(form);
    u->SetBounds(150, 100, 150, 21);
    base::TStringList units;
    units.Add("m");
    units.Add("ft");
    u->SetUnits(&units);
    u->SetUnits(nullptr);  // nothing happens
    EXPECT_EQ(u->Units().Count(), 2);
    std::vector<std::string> log;
    u->OnClickBtn = [&](TObject*) { log.push_back("click"); };
    u->OnUnitChanged = [&](TObject*, const std::string& unit) { log.push_back("unit " + unit); };
    SendMouse(u->ButtonHolder(), WM_LBUTTONDOWN, 3, 3);
    SendMouse(u->ButtonHolder(), WM_LBUTTONUP, 3, 3);
    ASSERT_NE(u->UnitMenu(), nullptr);
    EXPECT_TRUE(MenuActive());
    TMenuItem* ft = u->UnitMenu()->Items()->Items(1);
    const TRect r = GetMenuItemRect(ft);
    EXPECT_EQ(ft->Caption(), "ft");
    // Below the edit's right end.
    EXPECT_GE(r.Top, u->ClientToScreen(Point(0, u->ClientHeight())).Y);
    ft->Click();
    CloseMenus();
    ProcessUntil([&] { return log.size() >= 2; });
    EXPECT_EQ(log, (std::vector<std::string>{"click", "unit ft"}));
    EXPECT_EQ(u->UnitID(), "ft");
    u->SetColor(clWhite);
    auto bmp = PaintToBitmap(u);
    LookAt(*bmp, "unit-edit");
    // The unit is written in the strip left of the button.
    const int x0 = u->ClientWidth() - u->ButtonHolder()->Width() - 20 - 3 + 2;
    int inked = 0;
    for (int y = 2; y < u->ClientHeight(); ++y)
        for (int x = x0; x < x0 + 18; ++x) inked += bmp->Canvas()->Pixel(x + u->FrameWidth(), y + u->FrameWidth()) != clWhite;
    EXPECT_GT(inked, 5);
}

}  // namespace
