// The style pickers: their items, pictures, panel layouts and the gradient directions drawn live.
#include <gtest/gtest.h>

#include "FlatTestUtil.h"
#include "platform/graphics/ImageList.h"
#include "widgets/flat/StyleSelectors.h"

using namespace flat;
using namespace flattest;

namespace {

TExSelectorPanel* Open(TExCustomSelector* s)
{
    s->DoDropDown();
    return dynamic_cast<TExSelectorPanel*>(s->Panel());
}

}  // namespace

TEST_F(FlatTest, StylePickerItems)
{
    TExPenStyleSelector pen(form);
    ASSERT_EQ(pen.Tools().Count(), 9);
    EXPECT_EQ(pen.Tools().Items(7)->Hint, "Long Dash Dot Dot");
    EXPECT_EQ(pen.Tools().Items(8)->Caption, "More Styles");
    EXPECT_EQ(pen.ImageList()->Count(), 8);
    EXPECT_EQ(pen.ImageList()->Width(), 99);
    TExPenWidthSelector width(form);
    ASSERT_EQ(width.Tools().Count(), 14);
    EXPECT_EQ(width.Tools().Items(9)->Caption, "3 pt");
    EXPECT_EQ(width.Tools().Items(11)->Caption, "4 1/2 pt");
    EXPECT_EQ(width.Tools().Items(12)->Caption, "6 pt");
    EXPECT_EQ(width.Tools().Items(0)->CaptionAlignment, taLeftJustify);
    TExBrushStyleSelector brush(form);
    EXPECT_EQ(brush.Tools().Items(8)->Caption, " More Styles");
    EXPECT_EQ(brush.Tools().Items(8)->Hint, "More Styles");
    TExShadowSelector shadow(form);
    ASSERT_EQ(shadow.Tools().Count(), 22);
    EXPECT_EQ(shadow.Tools().Items(20)->Hint, "Shadow Style 20");
    TExTableBorderSelector table(form);
    ASSERT_EQ(table.Tools().Count(), 13);
    EXPECT_EQ(table.Tools().Items(5)->Hint, "Decending Diagonal");
    TExGradientDirectionSelector gradient(form);
    ASSERT_EQ(gradient.Tools().Count(), 6);
    EXPECT_EQ(gradient.Tools().Items(4)->Value, "VerticalInOut");
    EXPECT_EQ(gradient.Tools().Items(4)->Hint, "VerticalInOut");
}

TEST_F(FlatTest, ShadowPanelLayout)
{
    auto* s = Make<TExShadowSelector>();
    TExSelectorPanel* p = Open(s);
    ASSERT_NE(p, nullptr);
    auto rect = [&](int i) { return p->Items().Items(i)->ItemRect; };
    EXPECT_EQ(rect(0).Top, 4);
    EXPECT_EQ(rect(1).Top, rect(0).Bottom);
    EXPECT_EQ(rect(4).Top, rect(1).Top);   // four in a row
    EXPECT_EQ(rect(5).Left, rect(1).Left);  // then the next row
    EXPECT_EQ(rect(20).Top, rect(1).Top + 4 * rect(1).Height());
    EXPECT_EQ(rect(21).Top, rect(20).Bottom + 2);
    auto b = PaintToBitmap(p);
    Snapshot(*b, "shadow_panel");
    EXPECT_GT(Count(*b, rect(1), clTeal), 30);
    s->DropDownWindow()->Hide();
}

TEST_F(FlatTest, PenWidthImagesLineUpRightOfTheWidestCaption)
{
    auto* s = Make<TExPenWidthSelector>();
    TExSelectorPanel* p = Open(s);
    auto b = PaintToBitmap(p);
    Snapshot(*b, "penwidth_panel");
    // Row 8 (6 pt) has a thick black line starting right of the captions.
    const TRect r = p->Items().Items(8)->ItemRect;
    const int captionWidth = p->Canvas()->TextWidth("1 1/2 pt");
    EXPECT_GT(Count(*b, Rect(r.Left + 3 + captionWidth + 6, r.Top, r.Right, r.Bottom), clBlack), 200);
    EXPECT_GT(CountOther(*b, Rect(r.Left + 3, r.Top + 2, r.Left + 3 + captionWidth / 2, r.Bottom - 2), 0xF7F8F9), 3);
    s->DropDownWindow()->Hide();
}

TEST_F(FlatTest, PickedPenStyleShowsOnTheFace)
{
    auto* s = Make<TExPenStyleSelector>();
    s->SetBounds(10, 10, 110, 22);
    int picked = -2;
    s->OnSelect = [&](TObject*, int i, TExSelectorItem*) { picked = i; };
    TExSelectorPanel* p = Open(s);
    PickItem(p, 3);
    EXPECT_EQ(picked, 3);
    EXPECT_EQ(s->SelectedIndex(), 3);
    EXPECT_FALSE(s->DropDownWindow()->Visible());
    auto b = PaintToBitmap(s);
    Snapshot(*b, "penstyle_face");
    EXPECT_GT(Count(*b, Rect(0, 0, s->Width(), s->Height()), clBlack), 40);
    EXPECT_EQ(Count(*b, Rect(0, 0, s->Width(), s->Height()), clFuchsia), 0);
}

TEST_F(FlatTest, GradientDirectionsAreDrawnLive)
{
    auto* s = Make<TExGradientDirectionSelector>();
    s->StartColor = clBlack;
    s->EndColor = clWhite;
    TExSelectorPanel* p = Open(s);
    EXPECT_EQ(p->Items().Items(0)->ItemRect.Width(), 100);
    EXPECT_EQ(p->Items().Items(0)->ItemRect.Height(), 20);
    auto b = PaintToBitmap(p);
    Snapshot(*b, "gradient_panel");
    auto lum = [&](int x, int y) { return GetRValue(At(*b, x, y)); };
    TRect r = p->Items().Items(0)->ItemRect;  // VerticalIn: dark at the top
    EXPECT_LT(lum(r.Left + 50, r.Top + 4), lum(r.Left + 50, r.Bottom - 5));
    r = p->Items().Items(3)->ItemRect;  // HorizontalOut: light on the left
    EXPECT_GT(lum(r.Left + 4, r.Top + 10), lum(r.Right - 5, r.Top + 10));
    r = p->Items().Items(5)->ItemRect;  // HorizontalInOut: dark at both ends, light in the middle
    EXPECT_LT(lum(r.Left + 4, r.Top + 10), lum(r.Left + 50, r.Top + 10));
    EXPECT_LT(lum(r.Right - 5, r.Top + 10), lum(r.Left + 50, r.Top + 10));
    s->DropDownWindow()->Hide();
}
