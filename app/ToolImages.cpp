#include "app/ToolImages.h"

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"

using namespace platform;

namespace app {

namespace {

constexpr TColor kMask = 0xFF00FF;

void Page(TCanvas& c)
{
    c.Pen().SetColor(clGray);
    c.Brush().SetColor(clWhite);
    const TPoint pts[] = {{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
    c.Polygon(pts, 5);
}

void Folder(TCanvas& c)
{
    c.Pen().SetColor(0x00608080);
    c.Brush().SetColor(0x0040C0F0);
    c.Rectangle(1, 4, 15, 14);
    c.Rectangle(1, 2, 7, 5);
}

void Disk(TCanvas& c)
{
    c.Pen().SetColor(clNavy);
    c.Brush().SetColor(0x00C06030);
    c.Rectangle(1, 1, 15, 15);
    c.Brush().SetColor(clWhite);
    c.Rectangle(4, 2, 12, 7);
    c.Brush().SetColor(clSilver);
    c.Rectangle(5, 10, 11, 15);
}

void Arrows(TCanvas& c)
{
    c.Pen().SetColor(clNavy);
    c.MoveTo(2, 8), c.LineTo(14, 8);
    c.MoveTo(8, 2), c.LineTo(8, 14);
    for (int d = 1; d <= 2; ++d) {
        c.MoveTo(2 + d, 8 - d), c.LineTo(2 + d, 9 + d);
        c.MoveTo(13 - d, 8 - d), c.LineTo(13 - d, 9 + d);
        c.MoveTo(8 - d, 2 + d), c.LineTo(9 + d, 2 + d);
        c.MoveTo(8 - d, 13 - d), c.LineTo(9 + d, 13 - d);
    }
}

void Copies(TCanvas& c)
{
    c.Pen().SetColor(clNavy);
    c.Brush().SetColor(0x00F0D0A0);
    for (int k = 0; k < 3; ++k) c.Rectangle(1 + 4 * k, 1 + 4 * k, 8 + 4 * k, 8 + 4 * k);
}

void Split(TCanvas& c)
{
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(0x00A0E0A0);
    c.Ellipse(1, 4, 15, 12);
    c.Pen().SetColor(clRed);
    c.MoveTo(8, 1), c.LineTo(8, 15);
}

void Hull(TCanvas& c, TColor fill)
{
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(fill);
    const TPoint pts[] = {{1, 3}, {10, 3}, {9, 9}, {5, 11}, {2, 9}};
    c.Polygon(pts, 5);
}

void Frame(TCanvas& c)
{
    c.Pen().SetColor(clBlack);
    c.MoveTo(2, 2), c.LineTo(3, 8), c.LineTo(6, 11), c.LineTo(10, 11);
}

void Plus(TCanvas& c)
{
    c.Pen().SetColor(0x00008000);
    c.Brush().SetColor(0x00008000);
    c.FillRect(TRect{11, 9, 13, 16});
    c.FillRect(TRect{8, 11, 16, 13});
}

void Cross(TCanvas& c)
{
    c.Pen().SetColor(clRed);
    c.Pen().SetWidth(2);
    c.MoveTo(9, 9), c.LineTo(15, 15);
    c.MoveTo(15, 9), c.LineTo(9, 15);
    c.Pen().SetWidth(1);
}

void Magnifier(TCanvas& c)
{
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(0x00FFF0E0);
    c.Ellipse(1, 1, 11, 11);
    c.Pen().SetWidth(2);
    c.MoveTo(10, 10), c.LineTo(15, 15);
    c.Pen().SetWidth(1);
}

// Draws count 16 x 16 pictures side by side, picture i by draw(canvas, i), into list.
template <class Draw>
void FillList(TImageList& list, int count, Draw draw)
{
    list.SetSize(16, 16);
    TBitmap strip(16 * count, 16);
    TCanvas& c = *strip.Canvas();
    c.Brush().SetColor(kMask);
    c.FillRect(TRect{0, 0, 16 * count, 16});
    for (int i = 0; i < count; ++i) {
        SetViewportOrgEx(c.Handle(), 16 * i, 0, nullptr);
        draw(c, i);
    }
    SetViewportOrgEx(c.Handle(), 0, 0, nullptr);
    list.AddMasked(&strip, kMask);
}

void Tick(TCanvas& c)
{
    c.Pen().SetColor(0x00008000);
    c.Pen().SetWidth(2);
    c.MoveTo(3, 8), c.LineTo(6, 12), c.LineTo(13, 3);
    c.Pen().SetWidth(1);
}

void Swatches(TCanvas& c)
{
    const TColor colours[] = {clRed, 0x00008000, clBlue, 0x0000C0F0};
    for (int k = 0; k < 4; ++k) {
        c.Brush().SetColor(colours[k]);
        c.FillRect(TRect{1 + 7 * (k % 2), 1 + 7 * (k / 2), 8 + 7 * (k % 2), 8 + 7 * (k / 2)});
    }
}

void Drop(TCanvas& c)
{
    c.Pen().SetColor(clNavy);
    c.Brush().SetColor(0x00F0B060);
    const TPoint pts[] = {{8, 1}, {13, 9}, {11, 14}, {5, 14}, {3, 9}};
    c.Polygon(pts, 5);
}

// A mark on a vertical line: perpendiculars and draught marks.
void Mark(TCanvas& c, TColor colour)
{
    c.Pen().SetColor(colour);
    c.Pen().SetWidth(2);
    c.MoveTo(8, 1), c.LineTo(8, 15);
    c.MoveTo(4, 8), c.LineTo(13, 8);
    c.Pen().SetWidth(1);
}

}  // namespace

void MakeToolImages(TImageList& list)
{
    FillList(list, tiCount, [](TCanvas& c, int i) {
        switch (TToolImage(i)) {
        case tiNew: Page(c); break;
        case tiOpen: Folder(c); break;
        case tiSave: Disk(c); break;
        case tiTransform: Arrows(c); break;
        case tiArray: Copies(c); break;
        case tiSplit: Split(c); break;
        case tiAddAppendage: Hull(c, 0x00E0C080), Plus(c); break;
        case tiDeleteAppendage: Hull(c, 0x00E0C080), Cross(c); break;
        case tiAddFrame: Frame(c), Plus(c); break;
        case tiDeleteFrame: Frame(c), Cross(c); break;
        case tiZoomAll: Magnifier(c); break;
        case tiCount: break;
        }
    });
}

void MakeTreeImages(TImageList& list)
{
    FillList(list, kTreeImageCount, [](TCanvas& c, int i) {
        switch (i) {
        case 0: Hull(c, 0x00E0C080); break;
        case 1: Page(c); break;
        case 2: Copies(c); break;
        case 5: Swatches(c); break;
        case 7: Tick(c); break;
        case 14: Drop(c); break;
        case 15: case 16: Mark(c, clNavy); break;
        case 17: case 18: case 19: Mark(c, clRed); break;
        case 20: Frame(c); break;
        case 21: Hull(c, 0x0080C0E0); break;
        default:
            if (i >= 8 && i <= 13) Arrows(c);
            break;
        }
    });
}

}  // namespace app
