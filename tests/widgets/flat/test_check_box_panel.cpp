// The flat check box and the flat panel: mouse, keys, hot state and pixels.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "widgets/flat/FlatCheckBox.h"

using namespace flat;
using namespace flattest;

namespace {

class CheckBoxTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        box = Make<TFlatCheckBox>();
        box->SetBounds(10, 10, 121, 17);
        box->SetCaption("&Show frames");
        box->OnClick = [this](TObject*) { ++clicks; };
    }
    TFlatCheckBox* box = nullptr;
    int clicks = 0;
};

}  // namespace

TEST_F(CheckBoxTest, ClickToggles)
{
    ClickAt(box, 5, 8);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box->Focused());
    ClickAt(box, 60, 8);  // the caption counts too
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    box->SetChecked(false);  // no change, no click
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckBoxTest, PressMoveOutAndReleaseStillToggles)
{
    SendMouse(box, WM_MOUSEMOVE, 5, 8);
    EXPECT_TRUE(box->Hot());
    SendMouse(box, WM_LBUTTONDOWN, 5, 8);
    EXPECT_TRUE(box->Down());
    SendMouse(box, WM_MOUSEMOVE, 300, 300, ssLeft);
    SendMouse(box, WM_LBUTTONUP, 300, 300);
    EXPECT_TRUE(box->Checked());
    EXPECT_FALSE(box->Hot());
}

TEST_F(CheckBoxTest, RightButtonDoesNothing)
{
    int downs = 0;
    box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    SendMouse(box, WM_RBUTTONDOWN, 5, 8);
    SendMouse(box, WM_RBUTTONUP, 5, 8);
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(box->Focused());
    EXPECT_EQ(downs, 0);
}

TEST_F(CheckBoxTest, SpaceAndAccelerator)
{
    box->SetFocus();
    SendKey(box, VK_SPACE);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'S'), 1);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'x'), 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckBoxTest, Pixels)
{
    box->SetChecked(true);
    auto b = PaintToBitmap(box);
    Snapshot(*b, "checkbox");
    const TRect sq = box->CheckRect();
    EXPECT_EQ(sq, Rect(1, 3, 12, 14));
    EXPECT_EQ(At(*b, sq.Left, sq.Top + 5), COLORREF(0x8396A0));
    EXPECT_EQ(At(*b, sq.Left + 1, sq.Top + 1), COLORREF(0xE1EAEB));  // the parent's colour
    EXPECT_GT(Count(*b, sq, clBlack), 10);
    EXPECT_GT(CountOther(*b, Rect(16, 0, 121, 17), 0xE1EAEB), 10);
    // Disabled: the mark in the shadow colour, the caption embossed.
    box->SetEnabled(false);
    b = PaintToBitmap(box);
    Snapshot(*b, "checkbox_disabled");
    EXPECT_EQ(Count(*b, sq, clBlack), 0);
    EXPECT_GT(Count(*b, sq, ColorToRGB(clBtnShadow)), 10);
    EXPECT_GT(Count(*b, Rect(16, 0, 121, 17), ColorToRGB(clBtnHighlight)), 5);
    // Right layout and a hot fill.
    box->SetEnabled(true);
    box->SetLayout(checkboxRight);
    SendMouse(box, WM_MOUSEMOVE, 50, 8);
    b = PaintToBitmap(box);
    EXPECT_EQ(box->CheckRect(), Rect(109, 3, 120, 14));
    EXPECT_EQ(At(*b, 110, 4), COLORREF(clWhite));
}

TEST_F(CheckBoxTest, DerivedColours)
{
    box->SetUseExColors(true);
    EXPECT_EQ(box->ColorBorder(), CalcAdvancedColor(0xE1EAEB, 0x8396A0, 50, darken));
    EXPECT_EQ(box->ColorDown(), CalcAdvancedColor(0xE1EAEB, 0, 10, darken));
    form->SetColor(0x808080);
    EXPECT_EQ(box->ColorBorder(), CalcAdvancedColor(0x808080, 0, 50, darken));
}

TEST_F(FlatTest, PanelFrameAndCaption)
{
    auto* panel = Make<TFlatPanel>();
    panel->SetBounds(5, 5, 185, 41);
    panel->SetCaption("Panel");
    auto b = PaintToBitmap(panel);
    Snapshot(*b, "panel");
    for (const TPoint p : {Point(0, 20), Point(184, 20), Point(90, 0), Point(90, 40)})
        EXPECT_EQ(At(*b, p.X, p.Y), COLORREF(0x8396A0)) << p.X << "," << p.Y;
    EXPECT_EQ(At(*b, 3, 3), COLORREF(0xE1EAEB));
    EXPECT_GT(CountOther(*b, Rect(70, 10, 115, 30), 0xE1EAEB), 10);
    EXPECT_EQ(CountOther(*b, Rect(2, 2, 60, 39), 0xE1EAEB), 0);
    // Transparent: what the form paints behind it shows through.
    form->OnPaint = [this](TObject*) {
        form->Canvas()->Brush().SetColor(clRed);
        form->Canvas()->FillRect(Rect(0, 0, 15, 15));
    };
    panel->SetColor(clWhite);
    panel->SetTransparent(true);
    b = PaintToBitmap(panel);
    EXPECT_EQ(At(*b, 3, 3), COLORREF(clRed));
    EXPECT_EQ(At(*b, 20, 20), COLORREF(0xE1EAEB));
    panel->SetTransparent(false);
    panel->SetColors(0, clWhite);
    b = PaintToBitmap(panel);
    EXPECT_EQ(At(*b, 0, 20), COLORREF(clWhite));
    EXPECT_EQ(At(*b, 184, 20), COLORREF(0x8396A0));
}
