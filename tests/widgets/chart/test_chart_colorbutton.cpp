// The colour button, the flat combo box and the remembered custom colours.
#include <gtest/gtest.h>

#include "tests/platform/ControlFixture.h"
#include "platform/TestRig.h"
#include "platform/forms/Dialogs.h"
#include "widgets/chart/ChartColorButton.h"

using namespace platform;
using namespace chart;

namespace {
struct ColorButtonTest : ControlFixture {
    void SetUp() override
    {
        EnsurePlatform();
        ControlFixture::SetUp();
    }
    void TearDown() override
    {
        SetDialogHook({});
        ControlFixture::TearDown();
    }
};
}  // namespace

TEST_F(ColorButtonTest, SwatchRectangleColourAndPixels)
{
    auto* b = Add<TButtonColor>(10, 10, 75, 25);
    EXPECT_EQ(b->SymbolRectangle(), (TRect{56, 7, 69, 19}));
    b->SetSymbolColor(clRed);
    auto bmp = PaintToBitmap(b);
    EXPECT_EQ(bmp->Canvas()->Pixel(62, 13), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixel(56, 13), clBlack);  // the frame
    // Linked to a property holding a system colour: the resolved RGB colour.
    TColor held = clBtnFace;
    b->LinkProperty(b, {[&] { return held; }, [&](TColor c) { held = c; }});
    EXPECT_EQ(b->SymbolColor(), TColor(ColorToRGB(clBtnFace)));
    b->SetSymbolColor(clBlue);
    EXPECT_EQ(held, clBlue);
    b->GetColorProc = [] { return clLime; };
    EXPECT_EQ(b->SymbolColor(), clLime);
}

TEST_F(ColorButtonTest, DialogRemembersCustomColoursAndClicksOnlyOnChange)
{
    auto* b = Add<TButtonColor>(10, 10, 75, 25);
    b->SetSymbolColor(clRed);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    std::vector<std::string> offered;
    SetDialogHook([&](TCommonDialog& d) {
        auto& c = static_cast<TColorDialog&>(d);
        offered = c.CustomColors;
        c.CustomColors = {"ColorA=123456"};
        c.Color = clGreen;
        return true;
    });
    b->Click();
    EXPECT_EQ(b->SymbolColor(), clGreen);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(offered.empty() || offered != ChartCustomEditColors());
    b->Click();  // the same colour again: no click
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(offered, (std::vector<std::string>{"ColorA=123456"}));
    SetDialogHook([](TCommonDialog&) { return false; });
    TColor c = clYellow;
    EXPECT_FALSE(EditColorDialog(nullptr, c));
    EXPECT_EQ(c, clYellow);
}

TEST_F(ColorButtonTest, FlatComboDrawsFlatWhileTheMouseIsAway)
{
    auto* c = Add<TComboFlat>(10, 10, 120, 21);
    EXPECT_EQ(c->Style(), csDropDownList);
    c->AddItem("Draught", nullptr);
    c->SetItemIndex(0);
    EXPECT_FALSE(c->IsDropDownWidthStored());
    c->SetDropDownWidth(200);
    EXPECT_EQ(c->DropDownWidth(), 200);
    EXPECT_TRUE(c->IsDropDownWidthStored());
    // The flat frame lies on the two outer rings of the client area.
    const int fw = (c->Width() - c->ClientWidth()) / 2, y = c->Height() / 2;
    auto flat = PaintToBitmap(c);
    EXPECT_EQ(flat->Canvas()->Pixel(fw, y), TColor(ColorToRGB(clBtnFace)));
    EXPECT_EQ(flat->Canvas()->Pixel(fw + 1, y), TColor(ColorToRGB(clBtnFace)));
    TMessage m{};
    c->CMMouseEnter(m);
    EXPECT_TRUE(c->MouseOver());
    auto hot = PaintToBitmap(c);
    EXPECT_NE(hot->Canvas()->Pixel(fw + 1, y), TColor(ColorToRGB(clBtnFace)));
    c->CMMouseLeave(m);
    EXPECT_FALSE(c->MouseOver());
}
