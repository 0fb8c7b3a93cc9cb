// Drawing a cell's graphic on the screen or on a printed page, through what the grid
// gives the painter.
#include "widgets/grid/GridCellPainter.h"

#include <algorithm>
#include <cmath>

#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/GridDraw.h"
#include "widgets/grid/GridOptions.h"

using namespace platform;

namespace grid {

TCellGraphicPainter::TCellGraphicPainter(TCellPaintHost& grid, TCanvas* canvas, TCellGraphic& g, int c, int row,
                                         const TRect& R, TAlignment ha, bool selected, double scale)
    : grid_(grid), cv_(canvas), g_(g), c_(c), row_(row), R_(R), ha_(ha), selected_(selected), printing_(scale > 0),
      sc_(scale > 0 ? scale : 1.0)
{
}

void TCellGraphicPainter::Draw()
{
    // A graphic before or after the text sits next to the text's measured width.
    if (!printing_ && (g_.CellHAlign == haBeforeText || g_.CellHAlign == haAfterText) && !Text().empty())
        beside_ = std::max(0, grid_.TextWidth(c_, row_)) + 2;
    switch (g_.CellType) {
    case ctCheckBox: case ctDataCheckBox: case ctVirtCheckBox: CheckBox(); break;
    case ctBitmap: Bitmap(); break;
    case ctIcon: Icon(); break;
    case ctImageList: case ctDataImage: case ctImages: Images(); break;
    case ctPicture: case ctFilePicture: Picture(); break;
    case ctRadio: Radio(); break;
    case ctProgress: Progress(); break;
    case ctProgressPie: ProgressPie(); break;
    case ctNode: Node(); break;
    case ctButton: case ctBitButton: Button(); break;
    case ctComment: Comment(); break;
    default: break;
    }
}

bool TCellGraphicPainter::CanEdit() const { return grid_.CanEdit(c_, row_); }

void TCellGraphicPainter::CheckBox()
{
    const TControlLook& look = grid_.Look();
    const int n = look.CheckSize();
    bool checked = g_.CellBoolean;
    if (g_.CellType != ctCheckBox) checked = Text() == grid_.CheckTrue(c_, row_);
    const bool enabled = CanEdit() || look.NoDisabledCheckRadioLook();
    const bool hasText = g_.CellType == ctCheckBox && !Text().empty();
    int x = R_.Left + 1;
    if (ha_ == taRightJustify) x = R_.Right - n - 1 - (hasText ? cv_->TextWidth(Text()) + 2 : 0);
    else if (ha_ == taCenter && !hasText) x = R_.Left + (R_.Width() - n) / 2;
    const int y = R_.Top + (R_.Bottom - R_.Top - n) / 2;
    const TRect box{x, y, x + n, y + n};
    if (look.ControlStyle() == csGlyph) {
        TBitmap& b = checked ? look.CheckedGlyph() : look.UnCheckedGlyph();
        if (!b.Empty()) {
            DrawBitmapTransp(*cv_, b, cv_->Brush().Color(), box);
            return;
        }
    }
    CheckFace(box, n, checked, enabled);
}

// A drawn box: face, sunken frame and a two-pixel tick.
void TCellGraphicPainter::CheckFace(const TRect& box, int n, bool checked, bool enabled)
{
    cv_->Brush().SetStyle(bsSolid);
    cv_->Brush().SetColor(enabled ? clWindow : clBtnFace);
    cv_->FillRect(box);
    DrawLine(*cv_, clGray, box.Left, box.Bottom - 1, box.Left, box.Top);
    DrawLine(*cv_, clGray, box.Left, box.Top, box.Right - 1, box.Top);
    DrawLine(*cv_, clWhite, box.Right - 1, box.Top, box.Right - 1, box.Bottom - 1);
    DrawLine(*cv_, clWhite, box.Right - 1, box.Bottom - 1, box.Left, box.Bottom - 1);
    if (!checked) return;
    const TColor tick = enabled ? grid_.Look().Color() : TColor(clGray);
    const int l = box.Left + 3, b = box.Bottom - 4, m = box.Left + n / 2 - 1;
    for (int d = 0; d < 2; ++d) {
        DrawLine(*cv_, tick, l, b - (m - l) + d, m, b + d);
        DrawLine(*cv_, tick, m, b + d, box.Right - 3, box.Top + 3 + d);
    }
}

void TCellGraphicPainter::Bitmap()
{
    auto* bmp = dynamic_cast<TBitmap*>(g_.CellGraphicRef);
    if (!bmp || bmp->Empty()) return;
    const TSize s = grid_.GraphicSize(c_, row_);
    const TRect at = PlaceOf(std::max<int>(s.cx, bmp->Width()), std::max<int>(s.cy, bmp->Height()));
    if (g_.CellTransparent)
        DrawBitmapTransp(*cv_, *bmp,
                         selected_ && grid_.SelectionColors().first != clNone ? grid_.SelectionColors().first : cv_->Brush().Color(), at);
    else if (printing_) cv_->StretchDraw(R_, bmp);  // the page's rectangle for it
    else cv_->Draw(at.Left, at.Top, bmp);
}

void TCellGraphicPainter::Icon()
{
    auto* icon = dynamic_cast<TIcon*>(g_.CellIconRef);
    if (!icon || icon->GetEmpty()) return;
    if (printing_) icon->Draw(*cv_, R_);
    else icon->Draw(*cv_, PlaceOf(icon->GetWidth(), icon->GetHeight()));
}

// The indexes in the image list that the cell shows, in order.
std::vector<int> TCellGraphicPainter::ImageIndexes()
{
    std::vector<int> images;
    if (g_.CellType == ctImageList) {
        images.push_back(g_.CellIndex);
    } else if (g_.CellType == ctDataImage) {
        if (const std::optional<int> v = grid_.CellInt(c_, row_)) images.push_back(*v + g_.CellIndex);
    } else if (auto* list = dynamic_cast<TIntList*>(g_.CellGraphicRef)) {
        for (int i = 0; i < list->Count(); ++i) images.push_back(list->Items(i));
    }
    return images;
}

void TCellGraphicPainter::Images()
{
    TImageList* list = grid_.ImageList();
    if (!list) return;
    const std::vector<int> images = ImageIndexes();
    const int iw = list->Width(), ih = list->Height();
    const bool across = g_.CellType != ctImages || g_.CellBoolean;
    const int n = int(images.size());
    const int W = across ? n * iw : iw, H = across ? ih : n * ih;
    const TRect at = printing_ ? R_ : PlaceOf(W, H);
    // on the page the rectangle holds all images at the page's scale
    const int sw = printing_ && W > 0 ? at.Width() * iw / W : iw, sh = printing_ && H > 0 ? at.Height() * ih / H : ih;
    int x = at.Left, y = at.Top;
    for (int i : images) {
        if (i >= 0 && i < list->Count()) {
            if (printing_) {
                TIcon icon;
                if (list->GetIcon(i, &icon)) icon.Draw(*cv_, TRect{x, y, x + sw, y + sh});
            } else {
                list->Draw(cv_, x, y, i);
            }
        }
        if (across) x += sw;
        else y += sh;
    }
}

void TCellGraphicPainter::Picture()
{
    const TRect cell = grid_.CellBox(c_, row_);
    const TSize s = g_.GetPictureSize(cell.Width(), cell.Height(), !Text().empty());
    const TRect at = PlaceOf(s.cx, s.cy);
    if (auto* fp = dynamic_cast<TFilePicture*>(g_.CellGraphicRef)) fp->DrawPicture(*cv_, at);
    else if (auto* pic = dynamic_cast<TPicture*>(g_.CellGraphicRef); pic && pic->Graphic()) {
        if (TStretchMode(g_.CellAngle) == noStretch) cv_->Draw(at.Left, at.Top, pic->Graphic());
        else cv_->StretchDraw(at, pic->Graphic());
    }
}

void TCellGraphicPainter::Radio()
{
    if (!g_.RadioItems) return;
    const base::TStrings& items = *g_.RadioItems;
    int on = g_.CellIndex;
    if (on < 0) {
        const std::string text = Text();
        for (int i = 0; i < items.Count(); ++i)
            if (items[i] == text) on = i;
    }
    const TControlLook& look = grid_.Look();
    const int n = look.RadioSize(), line = std::max(cv_->TextHeight("gh"), 16);
    int x = R_.Left + 1, y = R_.Top + 1;
    if (selected_ && grid_.SelectionColors().second != clNone) cv_->Font().SetColor(grid_.SelectionColors().second);
    for (int i = 0; i < items.Count(); ++i) {
        const int cy = y + (line - n) / 2;
        cv_->Brush().SetColor(clWindow);
        cv_->Pen().SetColor(clGray);
        cv_->Ellipse(x, cy, x + n, cy + n);
        if (i == on) {
            cv_->Brush().SetColor(look.Color());
            cv_->Pen().SetColor(look.Color());
            cv_->Ellipse(x + 3, cy + 3, x + n - 3, cy + n - 3);
        }
        cv_->Brush().SetStyle(bsClear);
        cv_->TextOut(x + n + 2, y + (line - cv_->TextHeight(items[i])) / 2, items[i]);
        cv_->Brush().SetStyle(bsSolid);
        if (g_.CellBoolean) x += cv_->TextWidth(items[i]) + 12 + n;
        else y += line;
    }
}

void TCellGraphicPainter::Progress()
{
    const int v = std::clamp(grid_.CellInt(c_, row_).value_or(0), 0, 100);
    const TColor bar = TColor(g_.CellColor), back = TColor(g_.CellColor2);
    const TColor tBar = g_.CellBoolean ? TColor(g_.CellIndex) : TColor(ColorToRGB(bar) ^ 0xFFFFFF);
    const TColor tBack = g_.CellBoolean ? TColor(g_.CellAngle) : TColor(ColorToRGB(back) ^ 0xFFFFFF);
    const TControlLook& look = grid_.Look();
    DrawProgressLin(*cv_, R_, bar, tBar, back, tBack, v, look.ProgressMarginX(), look.ProgressMarginY());
}

void TCellGraphicPainter::ProgressPie()
{
    // the printed page gives the pie its own square
    const int side = std::min(R_.Width(), R_.Height());
    const TRect pie = printing_ ? TRect{R_.Left, R_.Top, R_.Left + side, R_.Top + side}
                                : TRect{R_.Left + 1, R_.Top + 1, R_.Left + 21, R_.Top + 21};
    DrawProgressPie(*cv_, pie, TColor(g_.CellColor), std::clamp(g_.CellAngle, 0, 100));
}

// The node's box with its minus, and the plus's upright while contracted.
void TCellGraphicPainter::Node()
{
    const TCellNode& node = grid_.Node();
    const int I = node.NodeIndent();
    const int L = std::max(grid_.NodeLevel(c_, row_), 1);
    // on the page R starts where the row's indentation starts
    const int cellLeft = printing_ ? R_.Left : R_.Left - grid_.NodeOffset(row_);
    const int n = std::max(Px(9), 5);
    const int x = cellLeft + Px((L - 1) * I + (I - 9) / 2), y = R_.Top + (R_.Height() - n) / 2;
    const TRect box{x, y, x + n, y + n};
    cv_->Brush().SetColor(node.Color);
    cv_->FillRect(box);
    cv_->Brush().SetColor(node.NodeColor);
    cv_->FrameRect(box);
    const TColor sign = node.NodeColor;
    const int mid = box.Top + n / 2, two = std::max(Px(2), 1);
    DrawLine(*cv_, sign, box.Left + two, mid, box.Right - two, mid);
    if (g_.CellBoolean) DrawLine(*cv_, sign, box.Left + n / 2, box.Top + two, box.Left + n / 2, box.Bottom - two);
}

void TCellGraphicPainter::Button()
{
    const int w = g_.CellIndex & 0xFFFF, h = (g_.CellIndex >> 16) & 0xFFFF;
    const TRect b = printing_ ? R_ : PlaceOf(w, h);
    if (!printing_) {
        // where the button lies in its cell, for the hit tests
        const TRect cell = grid_.CellBox(c_, row_);
        g_.CellValue = double((b.Left - cell.Left) | ((b.Top - cell.Top) << 16));
    }
    const TControlLook& look = grid_.Look();
    cv_->Brush().SetColor(clBtnFace);
    cv_->FillRect(b);
    TRect e = b;
    if (!look.FlatButton()) DrawEdge(cv_->Handle(), e, g_.CellBoolean ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    cv_->Font().SetColor(CanEdit() || look.NoDisabledButtonLook() ? TColor(clBtnText) : TColor(clGrayText));
    cv_->Brush().SetStyle(bsClear);
    TRect caption = b;
    // a bit button's glyph goes at the left, transparent, and pushes the caption right
    if (auto* glyph = g_.CellType == ctBitButton ? dynamic_cast<TBitmap*>(g_.CellGraphicRef) : nullptr;
        glyph && !glyph->Empty()) {
        const int gy = b.Top + (b.Height() - glyph->Height()) / 2;
        const TRect at{b.Left + 2, gy, b.Left + 2 + glyph->Width(), gy + glyph->Height()};
        DrawBitmapTransp(*cv_, *glyph, clBtnFace, at);
        cv_->Brush().SetStyle(bsClear);
        caption.Left += glyph->Width() + 2;
    }
    DrawText(cv_->Handle(), g_.CellText, -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    cv_->Brush().SetStyle(bsSolid);
}

// The corner triangle, in the comment's own colour or the look's.
void TCellGraphicPainter::Comment()
{
    const TControlLook& look = grid_.Look();
    const TColor cc = g_.CellAngle != int(clNone) && g_.CellAngle != 0 ? TColor(g_.CellAngle) : look.CommentColor();
    if (look.CommentColor() == clNone) return;
    const TPoint pts[3] = {{R_.Right - Px(7), R_.Top + Px(1)}, {R_.Right - Px(2), R_.Top + Px(1)},
                           {R_.Right - Px(2), R_.Top + Px(6)}};
    cv_->Brush().SetColor(cc);
    cv_->Pen().SetColor(cc);
    cv_->Polygon(pts, 3);
}

}  // namespace grid
