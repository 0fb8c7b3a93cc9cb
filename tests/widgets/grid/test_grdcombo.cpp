// Flat combo boxes: their settings, the colours they take when disabled, the drop-down,
// and their borders and button on pixels.
#include <gtest/gtest.h>

#include <memory>

#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"
#include "widgets/grid/GrdCombo.h"

using namespace platform;
using namespace grid;

namespace {

struct FlatComboTest : ControlFixture {
    void SetUp() override
    {
        EnsurePlatform();
        ControlFixture::SetUp();
        form->SetColor(clSilver);
    }
    template <class T>
    T* Combo(TComboBoxStyle style = csDropDown)
    {
        auto* c = Add<T>(10, 10, 150, 0);
        c->SetStyle(style);
        c->SetColor(clWhite);
        c->TCustomComboBox::Items().Add("Draught");
        c->TCustomComboBox::Items().Add("Heel");
        return c;
    }
    static COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
};

}  // namespace

TEST_F(FlatComboTest, ButtonWidthFlatAndVersion)
{
    auto* c = Combo<TGRDComboBox>();
    EXPECT_TRUE(c->Flat());
    EXPECT_FALSE(c->Ctl3D());
    EXPECT_EQ(c->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 4);
    const struct {
        int set, expect;
    } widths[] = {{13, c->ButtonWidth()}, {14, 14}, {33, 14}, {32, 32}};
    for (const auto& w : widths) {
        c->SetButtonWidth(w.set);
        EXPECT_EQ(c->ButtonWidth(), w.expect) << w.set;
    }
    c->SetFlat(false);
    EXPECT_TRUE(c->Ctl3D());
    EXPECT_EQ(c->Version(), "1.2.0.0");
    c->SetDropWidth(240);
    EXPECT_EQ(c->DroppedWidth(), 240);
}

TEST_F(FlatComboTest, DisabledItTakesTheParentsColourAndGetsItsOwnBack)
{
    auto* c = Combo<TGRDUniComboBox>();
    c->SetEnabled(false);
    EXPECT_TRUE(c->ParentColor());
    EXPECT_EQ(c->Color(), clSilver);
    auto off = PaintToBitmap(c);
    EXPECT_EQ(off->Canvas()->Pixel(20, c->Height() / 2), clSilver);
    c->SetEnabled(true);
    EXPECT_FALSE(c->ParentColor());
    EXPECT_EQ(c->Color(), clWhite);
}

TEST_F(FlatComboTest, IdleBorderIsTheParentsColourAndHoverWithFocusBorderSinksIt)
{
    auto* c = Combo<TGRDComboBox>();
    c->SetText("Draught");
    auto idle = PaintToBitmap(c);
    SaveSnapshot(*idle, "flatcombo-idle");
    EXPECT_GT(Dark(*idle, Rect(3, 3, 60, c->Height() - 3)), 20);  // the text inside the borders
    TCanvas* p = idle->Canvas();
    EXPECT_EQ(p->Pixel(30, 0), clSilver);  // outer ring: the parent's colour
    EXPECT_EQ(p->Pixel(30, 1), clSilver);
    EXPECT_EQ(p->Pixel(30, 2), clWhite);   // inner ring: the control's colour
    EXPECT_EQ(p->Pixel(0, 8), clSilver);

    // Without FocusBorder hovering leaves the control border alone.
    c->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(c->MouseInControl());
    EXPECT_EQ(PaintToBitmap(c)->Canvas()->Pixel(30, 0), clSilver);
    c->Perform(CM_MOUSELEAVE);
    c->FocusBorder = true;
    c->Perform(CM_MOUSEENTER);
    auto hot = PaintToBitmap(c);
    SaveSnapshot(*hot, "flatcombo-hot");
    EXPECT_EQ(COLORREF(hot->Canvas()->Pixel(30, 0)), GetSysColor(COLOR_BTNSHADOW));  // sunken edge
    EXPECT_EQ(COLORREF(hot->Canvas()->Pixel(30, 2)), Face());                      // then the face ring
    c->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(c->MouseInControl());
    EXPECT_EQ(PaintToBitmap(c)->Canvas()->Pixel(30, 0), clSilver);
}

TEST_F(FlatComboTest, TheButtonDropsTheListDownAndItsLookFollowsTheMouse)
{
    auto* c = Combo<TGRDUniComboBox>(csDropDownList);
    const int bx = c->ClientWidth() - c->ButtonWidth() / 2;
    // The wide class fills its button border with the face colour while idle...
    auto idle = PaintToBitmap(c);
    SaveSnapshot(*idle, "flatcombo-uni-idle");
    const int f = c->FrameWidth();
    const int edgeX = c->ClientWidth() - c->ButtonWidth() - 2 + 2 + f;  // the button border's left side
    EXPECT_EQ(COLORREF(idle->Canvas()->Pixel(edgeX + 1, 4)), Face());
    // ...and draws a raised edge while hovered.
    c->Perform(CM_MOUSEENTER);
    auto hot = PaintToBitmap(c);
    SaveSnapshot(*hot, "flatcombo-uni-hot");
    EXPECT_EQ(COLORREF(hot->Canvas()->Pixel(edgeX, 4)), GetSysColor(COLOR_BTNHIGHLIGHT));
    // A dark arrow in the button.
    EXPECT_GT(Dark(*hot, Rect(c->Width() - c->ButtonWidth(), 0, c->Width(), c->Height())), 3);

    ClickAt(c, bx, c->ClientHeight() / 2);
    ASSERT_TRUE(c->DroppedDown());
    auto list = PaintToBitmap(c->ListControl());
    SaveSnapshot(*list, "flatcombo-list");
    EXPECT_GT(Dark(*list, Rect(0, 0, list->Width(), list->Height())), 10);  // the items' text
    const TRect row = c->ListControl()->ItemRect(1);
    ClickAt(c->ListControl(), 10, (row.Top + row.Bottom) / 2);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->Text(), u"Heel");
}

TEST_F(FlatComboTest, ASimpleComboDrawsItsControlBorderButNoButtonBorder)
{
    auto* c = Combo<TGRDUniComboBox>(csSimple);
    c->SetBounds(10, 10, 150, 80);
    c->Perform(CM_MOUSEENTER);
    auto b = PaintToBitmap(c);
    SaveSnapshot(*b, "flatcombo-simple");
    // The combo box shows between its edit and its list.
    TWinControl* edit = c->EditControl();
    const int gap = edit->Top() + edit->Height();
    EXPECT_EQ(b->Canvas()->Pixel(0, gap), clSilver);           // the control border
    EXPECT_EQ(b->Canvas()->Pixel(c->Width() / 2, gap), clWhite);
    for (int x = c->Width() - c->ButtonWidth(); x < c->Width() - 3; ++x)
        EXPECT_EQ(b->Canvas()->Pixel(x, gap), clWhite) << x;    // no button border
}

TEST_F(FlatComboTest, WithIsWinXPTheButtonIsDrawnInTheVisualStyle)
{
    auto* c = Combo<TGRDComboBox>();
    c->AutoFocus = true;
    c->Perform(CM_MOUSEENTER);  // AutoFocus takes the focus with the mouse
    EXPECT_TRUE(c->ComboFocused());
    auto classic = PaintToBitmap(c);
    c->IsWinXP = true;
    auto themed = PaintToBitmap(c);
    SaveSnapshot(*themed, "flatcombo-themed");
    int differ = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = c->Width() - c->ButtonWidth(); x < c->Width(); ++x)
            differ += classic->Canvas()->Pixel(x, y) != themed->Canvas()->Pixel(x, y);
    EXPECT_GT(differ, 10);
    EXPECT_GT(Dark(*themed, Rect(c->Width() - c->ButtonWidth(), 0, c->Width(), c->Height())), 3);  // its arrow
}
