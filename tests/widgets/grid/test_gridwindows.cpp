// The grid's arrow windows and the pop-up button used as the drag image.
#include <gtest/gtest.h>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridWindows.h"

using namespace platform;
using namespace grid;

TEST(GridWindows, ArrowsHaveTheirOutlinesAndColour)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* up = new TArrowWindow(form, arrUp);
    EXPECT_EQ(up->Color(), clLime);
    EXPECT_FALSE(up->Visible());
    const auto pts = TArrowWindow::Outline(arrUp);
    ASSERT_EQ(pts.size(), 7u);
    EXPECT_EQ(pts[0], (TPoint{5, 0}));
    EXPECT_EQ(TArrowWindow::Outline(arrRight)[1], (TPoint{4, 10}));
    up->SetBounds(0, 0, 11, 10);
    up->HandleNeeded();
    form->Free();
}

TEST(GridWindows, PopupButtonPaintsItsGradientAndCaption)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* b = new TPopupButton(form);
    b->SetBounds(0, 0, 80, 24);
    b->GradFrom = clWhite;
    b->GradTo = clBlue;
    b->Caption = "Draft";
    b->Flat = true;
    auto bmp = PaintToBitmap(b);
    const COLORREF top = ColorToRGB(bmp->Canvas()->Pixel(70, 1)), low = ColorToRGB(bmp->Canvas()->Pixel(70, 20));
    EXPECT_GT(GetRValue(top), 200);
    EXPECT_LT(GetRValue(low), 60);
    int ink = 0;
    for (int x = 20; x < 60; ++x)
        for (int y = 1; y < 14; ++y)
            if (GetRValue(ColorToRGB(bmp->Canvas()->Pixel(x, y))) < 100 && GetBValue(ColorToRGB(bmp->Canvas()->Pixel(x, y))) < 100)
                ++ink;
    EXPECT_GT(ink, 10);
    form->Free();
}

TEST(GridWindows, TheGridMakesItsArrowsOnFirstUse)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* g = new TExStringGrid(form);
    g->SetParent(form);
    g->SetArrowColor(clRed);
    EXPECT_EQ(g->GetArrowColor(), clRed);
    EXPECT_EQ(g->ArrowWindow(arrLeft)->Direction(), arrLeft);
    EXPECT_EQ(g->PopupButton(), g->PopupButton());
    form->Free();
}
