// The coloured progress bar, the tool button and the labelled combo box.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "platform/graphics/Graphics.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/system/VisualStyles.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/edit/ExProgr.h"
#include "widgets/edit/ExToolBtn.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;
using edittest::LookAt;

namespace {

TEST_F(EditTest, ProgressBarShowsItsColours)
{
    auto* bar = new TExProgress(form);
    bar->SetParent(form);
    bar->SetBounds(10, 250, 200, 16);
    EXPECT_EQ(bar->BarColor(), clHighlight);
    EXPECT_EQ(bar->BkColor(), clWindow);
    EXPECT_EQ(bar->TProgressBar::BarColor(), CLR_DEFAULT);  // nothing sent yet
    EXPECT_EQ(bar->GetVersion(), "1.2.0.0");
    bar->SetProBarColor(clRed);
    bar->SetProBkColor(clYellow);
    EXPECT_EQ(bar->TProgressBar::BarColor(), COLORREF(ColorToRGB(clRed)));
    EXPECT_EQ(bar->BackColor(), COLORREF(ColorToRGB(clYellow)));
    bar->SetSmooth(true);
    bar->SetPosition(50);
    auto bmp = PaintToBitmap(bar);
    LookAt(*bmp, "progress");
    EXPECT_EQ(bmp->Canvas()->Pixel(40, 8), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixel(160, 8), clYellow);
    // A system colour goes over as its RGB value of the moment.
    bar->SetProBarColor(clHighlight);
    EXPECT_EQ(bar->TProgressBar::BarColor(), COLORREF(ColorToRGB(clHighlight)));
    EXPECT_EQ(bar->BarColor(), clHighlight);
}

class ToolButtonTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        form->SetColor(clWhite);
        b = Button(200, 10);
        b->SetCaption("Run");
        b->OnClick = [this](TObject*) { ++clicks; };
    }
    TExToolButton* Button(int x, int y)
    {
        auto* t = new TExToolButton(form);
        t->SetParent(form);
        t->SetBounds(x, y, 60, 22);
        return t;
    }
    // The colour of the button's face near its top-left corner.
    TColor Face(TExToolButton* t)
    {
        auto bmp = PaintToBitmap(form);
        return bmp->Canvas()->Pixel(t->Left() + 4, t->Top() + 3);
    }
    void Press(TExToolButton* t) { SendMouse(form, WM_LBUTTONDOWN, t->Left() + 5, t->Top() + 5); }
    void Release(TExToolButton* t, int dx = 5) { SendMouse(form, WM_LBUTTONUP, t->Left() + dx, t->Top() + 5); }
    TExToolButton* b = nullptr;
    int clicks = 0;
};

TEST_F(ToolButtonTest, HotPressedAndCheckedLooks)
{
    EXPECT_EQ(b->GetVersion(), "1.2.0.1");
    EXPECT_EQ(Face(b), ColorToRGB(clBtnFace));
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->MouseInside());
    EXPECT_EQ(Face(b), 0x00CAC7C7);
    Press(b);
    EXPECT_EQ(b->State(), bsDown);
    auto pressed = PaintToBitmap(form);
    LookAt(*pressed, "toolbutton-pressed");
    EXPECT_EQ(pressed->Canvas()->Pixel(b->Left() + 4, b->Top() + 3), 0x00D8D3D2);
    Release(b);
    EXPECT_EQ(clicks, 1);
    b->Perform(CM_MOUSELEAVE);
    b->SetStyle(tasCheck);
    Press(b);
    Release(b);
    EXPECT_TRUE(b->Down());
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Face(b), clGray);  // checked
    Press(b);
    Release(b);
    EXPECT_FALSE(b->Down());
    // A gradient face runs from Color at the top to ColorTo at the bottom.
    b->SetColorTo(clBlue);
    b->SetColor(clWhite);
    b->Perform(CM_MOUSELEAVE);
    auto grad = PaintToBitmap(form);
    LookAt(*grad, "toolbutton-gradient");
    const TColor top = grad->Canvas()->Pixel(b->Left() + 3, b->Top() + 1);
    const TColor bottom = grad->Canvas()->Pixel(b->Left() + 3, b->Top() + 20);
    EXPECT_GT(top & 0xFF, bottom & 0xFF);
    // Not flat: the platform's push-button frame.
    b->SetFlat(false);
    auto frame = PaintToBitmap(form);
    LookAt(*frame, "toolbutton-3d");
    EXPECT_EQ(frame->Canvas()->Pixel(b->Left(), b->Top() + 10), ColorToRGB(cl3DLight));
    EXPECT_EQ(frame->Canvas()->Pixel(b->Left() + b->Width() - 1, b->Top() + 10), ColorToRGB(cl3DDkShadow));
}

TEST_F(ToolButtonTest, GroupsAreExclusive)
{
    TExToolButton* second = Button(200, 40);
    TExToolButton* third = Button(200, 70);
    for (TExToolButton* t : {b, second, third}) t->SetGroupIndex(1);
    Press(b);
    Release(b);
    EXPECT_TRUE(b->Down());
    Press(second);
    Release(second);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(b->Down());
    Press(second);
    Release(second);
    EXPECT_TRUE(second->Down());  // AllowAllUp off
    third->SetAllowAllUp(true);
    Press(second);
    Release(second);
    EXPECT_FALSE(second->Down());
    TExToolButton* alone = Button(200, 100);
    alone->SetDown(true);
    EXPECT_FALSE(alone->Down());
    // A release outside does not click.
    Press(alone);
    Release(alone, 90);
    EXPECT_EQ(alone->State(), bsUp);
}

TEST_F(ToolButtonTest, MarginsGlyphsAndDropDown)
{
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush().SetColor(clWhite);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixel(1, 1, clBlack);
    b->SetGlyph(&glyph);
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixel(0, 0), 0x00DFDFDF);  // white to grey 223
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixel(1, 1), 0x00606060);  // black to grey 96
    int drops = 0;
    b->OnDropDown = [&](TObject*) { ++drops; };
    b->SetDropDownButton(true);
    SendMouse(form, WM_LBUTTONDOWN, b->Left() + 55, b->Top() + 5);
    SendMouse(form, WM_LBUTTONUP, b->Left() + 55, b->Top() + 5);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 0);
    Press(b);
    Release(b);
    EXPECT_EQ(clicks, 1);
    // The drop-down part shows its menu under the button; a freed menu is forgotten.
    auto* menu = new TPopupMenu(nullptr);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Stop after this run");
    menu->Items()->Add(item);
    b->SetDropDownMenu(menu);
    SendMouse(form, WM_LBUTTONDOWN, b->Left() + 55, b->Top() + 5);
    SendMouse(form, WM_LBUTTONUP, b->Left() + 55, b->Top() + 5);
    EXPECT_TRUE(MenuActive());
    EXPECT_EQ(GetMenuItemRect(item).Top, b->ClientToScreen(Point(0, b->Height())).Y + MenuWindowFrame);
    CloseMenus();
    menu->Free();
    EXPECT_EQ(b->DropDownMenu(), nullptr);
    b->SetLook(6);
    EXPECT_EQ(b->Color(), TColor(0x00CAFFFF));
    b->SetLook(7);
    EXPECT_EQ(b->Color(), TColor(0x00CAFFFF));
}

TEST_F(ToolButtonTest, RepeatButtonClicksWhileHeld)
{
    TestClock clock;
    auto* r = new TExRepeatButton(form);
    r->SetParent(form);
    r->SetBounds(300, 10, 40, 22);
    r->InitRepeatPause = 40;
    r->RepeatPause = 10;
    int n = 0;
    r->OnClick = [&](TObject*) { ++n; };
    SendMouse(form, WM_LBUTTONDOWN, 305, 15);
    EXPECT_TRUE(ProcessUntil([&] { return n >= 3; }));
    SendMouse(r->Parent(), WM_LBUTTONUP, 305, 15);
    const int after = n;
    AdvanceClock(200);
    EXPECT_EQ(n, after);
}

class ComboTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        form->SetColor(clBtnFace);
        combo = new TExComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(200, 60, 150, 0);
        for (const char* s : {"Y Origin", "Aft Draught Mark", "Mid Draught Mark", "Fwd Draught Mark"})
            combo->Items().Add(s);
        combo->SetStyle(csDropDownList);
    }
    TExComboBox* combo = nullptr;
};

TEST_F(ComboTest, LabelFollowsAndPropertiesKeepTheirLimits)
{
    EXPECT_EQ(combo->GetVersion(), "1.1.0.0");
    combo->SetLabelCaption("Take Draughts From");
    combo->SetLabelPosition(lpTopLeft);
    combo->SetLabelMargin(2);
    TLabel* l = combo->Label();
    EXPECT_EQ(l->Left(), 200);
    EXPECT_EQ(l->Top() + l->Height() + 2, 60);
    combo->SetBounds(220, 90, 150, combo->Height());
    EXPECT_EQ(l->Left(), 220);
    EXPECT_EQ(l->Top() + l->Height() + 2, 90);
    combo->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    l->SetEnabled(true);
    combo->SetEnabled(false);  // unchanged: the label is left alone
    EXPECT_TRUE(l->Enabled());
    combo->SetEnabled(true);
    combo->SetLabelAlwaysEnabled(true);
    combo->SetEnabled(false);
    EXPECT_TRUE(l->Enabled());
    const struct {
        int asked, kept;
    } widths[] = {{13, 19}, {14, 14}, {32, 32}, {33, 32}};
    combo->SetButtonWidth(19);
    for (const auto& w : widths) {
        combo->SetButtonWidth(w.asked);
        EXPECT_EQ(combo->ButtonWidth(), w.kept) << w.asked;
    }
    combo->SetDropWidth(-5);
    EXPECT_EQ(combo->DropWidth(), -5);
    EXPECT_EQ(combo->DroppedWidth(), 0);
    combo->SetDropWidth(240);
    EXPECT_EQ(combo->DroppedWidth(), 240);
}

TEST_F(ComboTest, FlatLookOnPixels)
{
    combo->SetFlatLineColor(clRed);
    auto flat = PaintToBitmap(combo);
    LookAt(*flat, "combo-flat");
    const int bottom = combo->Height() - 1;
    EXPECT_EQ(flat->Canvas()->Pixel(40, bottom), clRed);
    // The button stays flat until the mouse comes in; then it is raised.
    SetVisualStylesActiveOverride(0);  // the classic button
    auto classic = PaintToBitmap(combo);
    combo->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(combo->MouseInside());
    auto raised = PaintToBitmap(combo);
    LookAt(*raised, "combo-flat-hot");
    int changed = 0;
    for (int y = 0; y < combo->Height(); ++y)
        for (int x = combo->Width() - combo->ButtonWidth() - 4; x < combo->Width(); ++x)
            changed += classic->Canvas()->Pixel(x, y) != raised->Canvas()->Pixel(x, y);
    EXPECT_GT(changed, 10);
    SetVisualStylesActiveOverride(-1);
    combo->Perform(CM_MOUSELEAVE);
    combo->SetFlatLineColor(clNone);
    auto noLine = PaintToBitmap(combo);
    EXPECT_NE(noLine->Canvas()->Pixel(40, bottom), clRed);
    // Not flat: the platform's own look.
    combo->SetFlat(false);
    EXPECT_TRUE(combo->Ctl3D());
    EXPECT_EQ(combo->Color(), clWindow);
}

}  // namespace
