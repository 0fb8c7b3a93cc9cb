// Windows shaped by regions, hit where they show, and transparent windows over their
// parent's drawing: painted into bitmaps and grabbed from the screen, pixels read back.
#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "LookAt.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

// A window that fills itself with one colour; the parent draws stripes.
class Solid : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    using TWinControl::DestroyHandle;
    TColor fill = clLime;
    bool transparent = false;
    void CreateParams(TCreateParams& p) override
    {
        TCustomControl::CreateParams(p);
        if (transparent) p.ExStyle |= WS_EX_TRANSPARENT;
    }
    void Paint() override
    {
        if (transparent) {
            // Only a dot of its own in the middle; the rest is what lies under it.
            Canvas()->Brush().SetColor(fill);
            Canvas()->FillRect(Rect(Width() / 2 - 3, Height() / 2 - 3, Width() / 2 + 3, Height() / 2 + 3));
            return;
        }
        Canvas()->Brush().SetColor(fill);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

class Striped : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Paint() override
    {
        for (int y = 0; y < Height(); y += 10) {
            Canvas()->Brush().SetColor((y / 10) % 2 ? clBlue : clYellow);
            Canvas()->FillRect(Rect(0, y, Width(), y + 10));
        }
    }
};

struct RegionFixture : ControlFixture {
    Striped* parent = nullptr;
    Solid* child = nullptr;
    void SetUp() override
    {
        ControlFixture::SetUp();
        parent = Add<Striped>(10, 10, 200, 160);
        child = Add<Solid>(40, 30, 100, 80, parent);
        parent->HandleNeeded();
    }
    TColor Under(int x, int y) { return ((y / 10) % 2) ? clBlue : clYellow; }
};

}  // namespace

TEST_F(RegionFixture, ARoundedRegionShapesTheWindowInPaintingAndOnTheScreen)
{
    SetWindowRgn(child->Handle(), CreateRoundRectRgn(0, 0, 100, 80, 40, 40), true);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(child->Handle(), copy), ERROR);
    EXPECT_TRUE(PtInRegion(copy, 50, 40));
    EXPECT_FALSE(PtInRegion(copy, 1, 1));
    DeleteObject(copy);
    for (auto& b : {PaintToBitmap(parent), GrabWindow(parent)}) {
        TCanvas* c = b->Canvas();
        // Child at (40, 30): its middle is its own, its corners show the stripes.
        EXPECT_EQ(c->Pixel(90, 70), clLime);
        EXPECT_EQ(c->Pixel(41, 31), Under(41, 31)) << "top-left corner cut off";
        EXPECT_EQ(c->Pixel(138, 108), Under(138, 108)) << "bottom-right corner cut off";
        EXPECT_EQ(c->Pixel(41, 70), clLime) << "the straight left side";
        LookAt(*b, "window-region-round");
    }
    SetWindowRgn(child->Handle(), nullptr, true);
    EXPECT_EQ(PaintToBitmap(parent)->Canvas()->Pixel(41, 31), clLime) << "rectangular again";
}

TEST_F(RegionFixture, APolygonRegionIsHitOnlyInsideIt)
{
    // A triangle: the top edge and the point at the bottom middle.
    const TPoint tri[] = {{0, 0}, {100, 0}, {50, 80}};
    SetWindowRgn(child->Handle(), CreatePolygonRgn(tri, 3, WINDING), true);
    auto b = PaintToBitmap(parent);
    EXPECT_EQ(b->Canvas()->Pixel(90, 35), clLime);
    EXPECT_EQ(b->Canvas()->Pixel(45, 100), Under(45, 100)) << "beside the point";
    LookAt(*b, "window-region-polygon");
    struct Case {
        TPoint at;  // in the parent's client area
        bool hitsChild;
    } cases[] = {{{90, 35}, true}, {{88, 100}, true}, {{45, 100}, false}, {{135, 100}, false}, {{5, 5}, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(parent->ControlAtPos(c.at, false, true) == child, c.hitsChild) << c.at.X << "," << c.at.Y;
        const HWND h = ChildWindowFromPoint(parent->Handle(), c.at);
        EXPECT_EQ(h, c.hitsChild ? child->Handle() : parent->Handle()) << c.at.X << "," << c.at.Y;
        const TPoint screen = parent->ClientToScreen(c.at);
        EXPECT_EQ(WindowFromPoint(screen), c.hitsChild ? child->Handle() : parent->Handle()) << c.at.X << "," << c.at.Y;
    }
    // A parent shaped to a circle is not hit outside it, and neither are its children there.
    SetWindowRgn(parent->Handle(), CreateEllipticRgn(0, 0, 200, 160), true);
    EXPECT_EQ(ChildWindowFromPoint(parent->Handle(), {2, 2}), nullptr);
    EXPECT_EQ(WindowFromPoint(parent->ClientToScreen({2, 2})), form->Handle());
}

TEST_F(RegionFixture, ATransparentWindowShowsItsParentsDrawingAsItsBackground)
{
    child->transparent = true;
    child->fill = clRed;
    child->SetColor(clFuchsia);  // never painted: the background is the parent's
    child->DestroyHandle();
    child->HandleNeeded();
    for (auto& b : {PaintToBitmap(parent), GrabWindow(parent)}) {
        TCanvas* c = b->Canvas();
        EXPECT_EQ(c->Pixel(90, 70), clRed) << "its own drawing";
        for (TPoint p : {TPoint{45, 35}, TPoint{45, 45}, TPoint{130, 100}})
            EXPECT_EQ(c->Pixel(p.X, p.Y), Under(p.X, p.Y)) << p.X << "," << p.Y;
        EXPECT_EQ(ControlFixture::Count(*b, Rect(0, 0, 200, 160), clFuchsia), 0);
        LookAt(*b, "window-transparent");
    }
    // Shaped and transparent together.
    SetWindowRgn(child->Handle(), CreateEllipticRgn(0, 0, 100, 80), true);
    auto b = GrabWindow(parent);
    EXPECT_EQ(b->Canvas()->Pixel(90, 70), clRed);
    EXPECT_EQ(b->Canvas()->Pixel(41, 31), Under(41, 31));
}
