#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

struct ExtFixture : ControlFixture {
    void SetUp() override
    {
        ControlFixture::SetUp();
        form->SetColor(clWhite);
    }
};

}  // namespace

TEST_F(ExtFixture, PanelDrawsItsBevelsAndKeepsAlignedChildrenInside)
{
    auto* panel = Add<TPanel>(10, 10, 100, 40);
    panel->SetCaption("Panel");
    auto b = PaintToBitmap(form);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixel(10, 10), Sys(clBtnHighlight));  // raised outer bevel
    EXPECT_EQ(c->Pixel(109, 49), Sys(clBtnShadow));
    EXPECT_EQ(c->Pixel(12, 12), Sys(clBtnFace));
    panel->SetBevelOuter(bvLowered);
    panel->SetBevelInner(bvRaised);
    panel->SetBevelWidth(2);
    b = PaintToBitmap(form);
    c = b->Canvas();
    EXPECT_EQ(c->Pixel(11, 11), Sys(clBtnShadow));
    EXPECT_EQ(c->Pixel(13, 13), Sys(clBtnHighlight));
    auto* child = Add<TPanel>(0, 0, 10, 10, panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(4, 4, 96, 36));
    panel->SetBevelInner(bvNone);
    EXPECT_EQ(child->BoundsRect(), Rect(2, 2, 98, 38));
}

TEST_F(ExtFixture, BevelShapesUseTheLoweredOrRaisedColours)
{
    auto* bevel = Add<TBevel>(10, 10, 50, 30);
    const struct {
        TBevelShape shape;
        TBevelStyle style;
        TPoint at;
        TColor color;
    } cases[] = {{bsBox, bsLowered, {10, 10}, clBtnShadow},      {bsBox, bsLowered, {59, 39}, clBtnHighlight},
                 {bsBox, bsRaised, {10, 10}, clBtnHighlight},    {bsTopLine, bsLowered, {30, 11}, clBtnHighlight},
                 {bsTopLine, bsLowered, {30, 12}, clWhite},      {bsBottomLine, bsLowered, {30, 38}, clBtnShadow},
                 {bsLeftLine, bsRaised, {10, 20}, clBtnHighlight}, {bsRightLine, bsLowered, {59, 20}, clBtnHighlight},
                 {bsFrame, bsLowered, {11, 11}, clBtnHighlight}, {bsSpacer, bsLowered, {10, 10}, clWhite}};
    for (const auto& k : cases) {
        bevel->SetShape(k.shape);
        bevel->SetStyle(k.style);
        auto b = PaintToBitmap(form);
        EXPECT_EQ(b->Canvas()->Pixel(k.at.X, k.at.Y), Sys(k.color)) << k.shape << " " << k.style;
    }
}

TEST_F(ExtFixture, RadioGroupMakesAButtonPerItemAndTellsTheChoice)
{
    auto* group = Add<TRadioGroup>(10, 10, 200, 100);
    group->SetCaption("Graph Clipboard");
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    group->Items().Add("Use bitmap clipboard format");
    group->Items().Add("Use metafile clipboard format");
    group->Items().Add("Use enhanced metafile clipboard format");
    ASSERT_EQ(group->ButtonCount(), 3);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(clicks, 0);
    group->SetItemIndex(2);
    EXPECT_TRUE(group->Buttons(2)->Checked());
    EXPECT_EQ(clicks, 1);
    ClickAt(group->Buttons(0), 5, 5);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_FALSE(group->Buttons(2)->Checked());
    EXPECT_EQ(clicks, 2);
    // Rows below the caption, one above the other; two columns side by side.
    EXPECT_GT(group->Buttons(0)->Top(), 8);
    EXPECT_GT(group->Buttons(1)->Top(), group->Buttons(0)->Top());
    group->SetColumns(2);
    EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left());
    group->Items().Delete(2);
    EXPECT_EQ(group->ButtonCount(), 2);
    group->SetItemIndex(5);
    EXPECT_EQ(group->ItemIndex(), 1);
}

TEST_F(ExtFixture, ImagePlacesItsPicture)
{
    auto* image = Add<TImage>(10, 10, 60, 40);
    TBitmap pic(10, 10);
    pic.Canvas()->Brush().SetColor(clRed);
    pic.Canvas()->FillRect(Rect(0, 0, 10, 10));
    image->Picture()->SetGraphic(&pic);
    auto b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(10, 10), clRed);
    EXPECT_EQ(b->Canvas()->Pixel(25, 25), clWhite);
    image->SetCenter(true);
    b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(10, 10), clWhite);
    EXPECT_EQ(b->Canvas()->Pixel(40, 30), clRed);
    image->SetStretch(true);
    b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(68, 48), clRed);
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
}

TEST_F(ExtFixture, PictureOfPanelsBevelsAndARadioGroup)
{
    form->SetColor(clBtnFace);
    auto* p1 = Add<TPanel>(10, 10, 120, 40);
    p1->SetCaption("Raised");
    auto* p2 = Add<TPanel>(140, 10, 120, 40);
    p2->SetCaption("Lowered, single");
    p2->SetBevelOuter(bvLowered);
    p2->SetBorderStyle(bsSingle);
    auto* bevel = Add<TBevel>(10, 60, 120, 30);
    bevel->SetShape(bsFrame);
    auto* line = Add<TBevel>(140, 70, 120, 4);
    line->SetShape(bsTopLine);
    auto* group = Add<TRadioGroup>(10, 100, 250, 90);
    group->SetCaption("Graph Clipboard");
    group->Items().Add("Bitmap");
    group->Items().Add("Metafile");
    group->Items().Add("Enhanced metafile");
    group->SetItemIndex(2);
    auto b = PaintToBitmap(form);
    SaveSnapshot(*b, "extctrls");
    EXPECT_EQ(b->Canvas()->Pixel(140, 70), Sys(clBtnShadow));
}
