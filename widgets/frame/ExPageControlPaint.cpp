// The page control's painting over the platform's tab drawing: the tab row, the page's
// frame and colour ring, every tab in the classic or the flat look on any side, the
// close buttons, and the gradient the tabs and sheets share.
#include <algorithm>
#include <cmath>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "widgets/frame/ExPageControl.h"

namespace frame {

using namespace platform;

namespace {

int Rnd(double v) { return int(std::nearbyint(v)); }

void Line(TCanvas* c, int x1, int y1, int x2, int y2)
{
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

void Lines(TCanvas* c, std::initializer_list<TPoint> pts)
{
    auto it = pts.begin();
    c->MoveTo(it->X, it->Y);
    for (++it; it != pts.end(); ++it) c->LineTo(it->X, it->Y);
}

void Fill(TCanvas* c, const TRect& r, TColor color)
{
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(color);
    c->FillRect(r);
}

// A picture drawn in three pieces along its length, its middle columns (or rows) stretched,
// with the bottom-left pixel's colour left out.
void DrawTabPicture(TCanvas* c, TBitmap* b, int x, int y, int length, bool vertical)
{
    if (!b || b->Empty()) return;
    TBitmap piece;
    piece.SetTransparent(true);
    piece.SetTransparentMode(tmFixed);
    piece.SetTransparentColor(b->Canvas()->Pixel(0, b->Height() - 1));
    auto part = [&](int sx, int sy, int sw, int sh, const TRect& dest) {
        if (sw <= 0 || sh <= 0 || dest.Width() <= 0 || dest.Height() <= 0) return;
        piece.SetSize(sw, sh);
        piece.Canvas()->CopyRect(Rect(0, 0, sw, sh), b->Canvas(), Rect(sx, sy, sx + sw, sy + sh));
        c->StretchDraw(dest, &piece);
    };
    const int w = b->Width(), h = b->Height();
    if (!vertical) {
        const int half = w / 2;
        part(0, 0, half, h, Rect(x, y, x + half, y + h));
        part(half - 1, 0, 2, h, Rect(x + half, y, x + half + std::max(0, length - w), y + h));
        part(half, 0, w - half, h, Rect(x + half + std::max(0, length - w), y, x + length, y + h));
    } else {
        const int half = h / 2;
        part(0, 0, w, half, Rect(x, y, x + w, y + half));
        part(0, half - 1, w, 2, Rect(x, y + half, x + w, y + half + std::max(0, length - h)));
        part(0, half, w, h - half, Rect(x, y + half + std::max(0, length - h), x + w, y + length));
    }
}

}  // namespace

void TExPageControl::DrawGradient(TCanvas* canvas, TColor from, TColor to, bool horizontal, TRect r, int steps)
{
    if (steps == 0) steps = 1;
    const COLORREF f = ColorToRGB(from), t = ColorToRGB(to);
    const int fr = int(f & 255), fg = int((f >> 8) & 255), fb = int((f >> 16) & 255);
    const double dr = (int(t & 255) - fr) / double(steps), dg = (int((t >> 8) & 255) - fg) / double(steps),
                 db = (int((t >> 16) & 255) - fb) / double(steps);
    const double band = (horizontal ? r.Width() : r.Height()) / double(steps);
    for (int i = 0; i < steps; ++i) {
        const int color = int(f) + Rnd(i * dr) + 256 * Rnd(i * dg) + 65536 * Rnd(i * db);
        canvas->Pen().SetColor(TColor(color));
        canvas->Pen().SetStyle(psSolid);
        canvas->Pen().SetWidth(1);
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(TColor(color));
        const int offset = std::int16_t(Rnd(i * band));
        const int size = Rnd(band) + 1;
        if (horizontal) canvas->Rectangle(r.Left + offset, r.Top, r.Left + offset + size, r.Bottom);
        else canvas->Rectangle(r.Left, r.Top + offset, r.Right, r.Top + offset + size);
    }
}

void TExPageControl::Paint()
{
    TCustomTabControl::Paint();
    if (!tabBorder3D_) DrawAllTabs(Canvas());
}

// What the steps of the tab drawing share: the canvas, the size, the side, the extents of
// the tab row (bottom, top, right and left of the visible tabs), whether the page has a
// colour ring, and the join width J that the classic outline adds under inactive tabs.
struct TExPageControl::TabPaint {
    TCanvas* c;
    int W, H;
    TTabPosition pos;
    bool vertical;
    int activeIndex;
    int SB = 0, ST = 0, SR = 0, SL = 0;
    bool coloured = false;
    bool joinable = false;
    int J = 0;
};

// One tab as the steps pass it on: its rectangle, the rectangle as the fill leaves it
// (L, T, R, B) and the text origin.
struct TExPageControl::TabFace {
    TExTabSheet* page = nullptr;
    bool active = false;
    TRect tr;
    int L = 0, T = 0, R = 0, B = 0;
    int x = 0, y = 0;
};

void TExPageControl::DrawAllTabs(TCanvas* c)
{
    DoubleBuffered = true;
    const TTabPosition pos = TabPosition();
    TabPaint p{c, Width(), Height(), pos, pos == tpLeft || pos == tpRight, GetActivePageIndex()};
    const TColor parentBrush = Parent() ? Parent()->Brush()->Color() : clBtnFace;
    c->Brush().SetColor(parentBrush);
    c->Brush().SetStyle(bsSolid);
    c->Font().Assign(*Font());

    EraseTabs(p, parentBrush);
    DrawTabRow(p);
    p.coloured = activePage_ && (activePage_->colorTo_ != clNone || activePage_->Color() != Color());
    if (p.coloured) DrawColourRing(p);
    if (!tabSheet3D_) {
        DrawPageFrame(p);
        if (roundEdges_) DrawRoundEdges(p);
    }
    DrawJoinLine(p);
    p.joinable = !tabSheet3D_ && !tabSplitLine_;
    DrawTabs(p);
    if (hoverTab_ >= 0 && hoverTab_ != p.activeIndex && TabHoverBorder != clNone && hoverTab_ < int(pages_.size()))
        DrawHoverOutline(p);
}

// Strip extents, and the platform's tabs erased.
void TExPageControl::EraseTabs(TabPaint& p, TColor parentBrush)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H;
    const TTabPosition pos = p.pos;
    int SB = 0, ST = TabRectEx(0).Top, SR = 0, SL = W;
    if (pages_.empty() || TabRectEx(0).Width() == 0) ST = H;
    bool anyTab = false;
    for (int i = int(pages_.size()) - 1; i >= 0; --i) {
        if (!pages_[std::size_t(i)]->tabVisible_) continue;
        anyTab = true;
        TRect r = TabRectEx(i);
        SB = std::max(SB, r.Bottom);
        ST = std::min(ST, r.Top);
        SR = std::max(SR, r.Right);
        SL = std::min(SL, r.Left);
        r.Right += 2;
        switch (pos) {
        case tpTop: r.Left -= 2, r.Top -= 2; break;
        case tpBottom: r.Left -= 2, r.Bottom += 2; break;
        case tpLeft: r.Left -= 2, r.Top -= 2, r.Bottom += 2, r.Right -= 2; break;
        case tpRight: r.Top -= 2, r.Bottom += 2; break;
        }
        Fill(c, r, parentBrush);
    }
    if (!anyTab) SB = 2, ST = H - 2, SR = 2, SL = W - 2;
    p.SB = SB, p.ST = ST, p.SR = SR, p.SL = SL;
}

// The end of a single row, and the row's background.
void TExPageControl::DrawTabRow(const TabPaint& p)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H, SB = p.SB, ST = p.ST, SR = p.SR, SL = p.SL;
    const TTabPosition pos = p.pos;
    if (!MultiLine()) {
        if (pos == tpTop) {
            Fill(c, Rect(W - 35, 0, W, SB), Color());
            c->Pen().SetColor(TColor(0xFFFFFF));
            Line(c, std::max(W - 35, SR), SB, W, SB);
        } else if (pos == tpBottom) {
            Fill(c, Rect(W - 35, ST, W, H), Color());
            c->Pen().SetColor(cl3DDkShadow);
            Line(c, std::max(W - 35, SR), ST - 1, W, ST - 1);
        }
    }
    switch (pos) {
    case tpTop: Fill(c, Rect(0, 0, W, SB), tabBackGroundColor_); break;
    case tpBottom: Fill(c, Rect(0, ST, W, H), tabBackGroundColor_); break;
    case tpLeft: Fill(c, Rect(0, 0, SR, H - 1), tabBackGroundColor_); break;
    case tpRight: Fill(c, Rect(SL, 0, W, H - 1), tabBackGroundColor_); break;
    }
}

// A coloured page: a ring of four strips in the page's colours.
void TExPageControl::DrawColourRing(const TabPaint& p)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H, SB = p.SB, ST = p.ST, SR = p.SR, SL = p.SL;
    const TTabPosition pos = p.pos;
    const int I = tabSheet3D_ ? 1 : 0;
    TRect ring[4];
    switch (pos) {
    case tpTop:
        ring[0] = Rect(1, SB + I, W - 1, SB + 4), ring[1] = Rect(1, H - 4, W - 1, H - 1);
        ring[2] = Rect(1, SB + I, 4, H - 1), ring[3] = Rect(W - 4, SB + I, W - 1, H - 1);
        break;
    case tpBottom:
        ring[0] = Rect(1, ST - 4, W - 1, ST - I), ring[1] = Rect(1, 1, W - 1, 4);
        ring[2] = Rect(1, 1, 4, ST - I), ring[3] = Rect(W - 4, 1, W - 1, ST - I);
        break;
    case tpLeft:
        ring[0] = Rect(SR + I, 1, SR + 4, H - 1), ring[1] = Rect(W - 4, 1, W - 1, H - 1);
        ring[2] = Rect(SR + I, 1, W - 1, 4), ring[3] = Rect(SR + I, H - 4, W - 1, H - 1);
        break;
    case tpRight:
        ring[0] = Rect(SL - 4, 1, SL - I, H - 2), ring[1] = Rect(1, 1, 4, H - 2);
        ring[2] = Rect(1, 1, SL - I, 4), ring[3] = Rect(1, H - 4, SL - I, H - 2);
        break;
    }
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    HRGN rgn = CreateRectRgnIndirect(ring[0]);
    for (int k = 1; k < 4; ++k) {
        HRGN part = CreateRectRgnIndirect(ring[k]);
        CombineRgn(rgn, rgn, part, RGN_OR);
        DeleteObject(part);
    }
    ExtSelectClipRgn(dc, rgn, RGN_AND);
    DeleteObject(rgn);
    if (activePage_->colorTo_ == clNone) {
        c->Pen().SetColor(activePage_->Color());
        Fill(c, Rect(0, 0, W, H), activePage_->Color());
        c->Brush().SetColor(activePage_->Color());
        c->Rectangle(0, 0, W, H);
    } else {
        DrawGradient(c, activePage_->Color(), activePage_->colorTo_, false, Rect(0, 0, W, H), 16);
        const TRect topStrip = pos == tpTop ? Rect(1, SB + 1, W - 1, SB + 4) : Rect(1, 1, W - 1, 4);
        Fill(c, topStrip, activePage_->Color());
    }
    RestoreDC(c->Handle(), saved);
}

// The flat page frame.
void TExPageControl::DrawPageFrame(const TabPaint& p)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H, SB = p.SB, ST = p.ST, SR = p.SR, SL = p.SL;
    const TTabPosition pos = p.pos;
    const bool coloured = p.coloured;
    c->Pen().SetStyle(psSolid);
    c->Pen().SetWidth(1);
    c->Pen().SetColor(tabSheetBorderColor_);
    auto inner = [&](bool always) { c->Pen().SetColor(Color()); return always || !coloured; };
    switch (pos) {
    case tpTop:
        Line(c, 0, SB, 0, H), Line(c, 0, H - 1, W, H - 1), Line(c, W - 1, H - 2, W - 1, SB), Line(c, 0, SB, W, SB);
        if (inner(false)) Line(c, 1, H - 2, W - 1, H - 2), Line(c, W - 2, H - 2, W - 2, SB);
        break;
    case tpBottom:
        Line(c, 0, 0, 0, ST), Line(c, 0, ST - 1, W, ST - 1), Line(c, W - 1, ST - 1, W - 1, 0), Line(c, 0, 0, W, 0);
        if (inner(false)) Line(c, 1, ST - 2, W - 1, ST - 2), Line(c, W - 2, ST - 2, W - 2, 0);
        break;
    case tpLeft:
        Line(c, SR, 0, SR, H), Line(c, SR, H - 2, W - 2, H - 2), Line(c, W - 2, H, W - 2, 0), Line(c, W - 2, 0, SR, 0);
        inner(true);
        Line(c, SR, H - 1, W - 1, H - 1), Line(c, W - 1, H - 1, W - 1, -1);
        break;
    case tpRight:
        Line(c, 0, 0, 0, H), Line(c, SL - 1, H, SL - 1, 0), Line(c, SL - 1, 0, 0, 0);
        inner(true);
        Line(c, 0, H - 1, SL, H - 1);
        if (!coloured) Line(c, SL - 2, H - 3, SL - 2, 0);
        break;
    }
}

// The two corners of the flat frame away from the tabs.
void TExPageControl::DrawRoundEdges(const TabPaint& p)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H;
    const TColor border = tabSheetBorderColor_;
    auto bevel = [&](TPoint a, TPoint b, TPoint cpt, TColor col) {
        c->Pen().SetColor(col);
        Lines(c, {a, b, cpt});
    };
    auto seg = [&](int x1, int y1, int x2, int y2, TColor col) {
        c->Pen().SetColor(col);
        Line(c, x1, y1, x2, y2);
    };
    switch (p.pos) {
    case tpTop:
        bevel(Point(0, H - 4), Point(0, H - 1), Point(4, H - 1), Color());
        bevel(Point(W - 4, H - 1), Point(W - 1, H - 1), Point(W - 1, H - 5), Color());
        seg(1, H - 4, 1, H - 2, border), seg(2, H - 2, 4, H - 2, border);
        seg(W - 4, H - 2, W - 2, H - 2, border), seg(W - 2, H - 3, W - 2, H - 5, border);
        break;
    case tpBottom:
        bevel(Point(0, 3), Point(0, 0), Point(4, 0), Color());
        bevel(Point(W - 4, 0), Point(W - 1, 0), Point(W - 1, 4), Color());
        seg(1, 3, 1, 1, border), seg(2, 1, 4, 1, border);
        seg(W - 4, 1, W - 2, 1, border), seg(W - 2, 2, W - 2, 4, border);
        break;
    case tpLeft:
        bevel(Point(W - 5, 0), Point(W - 2, 0), Point(W - 2, 4), Color());
        bevel(Point(W - 2, H - 5), Point(W - 2, H - 2), Point(W - 6, H - 2), Color());
        seg(W - 3, 1, W - 3, 4, border), seg(W - 5, 1, W - 3, 1, border);
        seg(W - 3, H - 5, W - 3, H - 3, border), seg(W - 5, H - 3, W - 3, H - 3, border);
        break;
    case tpRight:
        bevel(Point(4, 0), Point(0, 0), Point(0, 4), Color());
        bevel(Point(0, H - 5), Point(0, H - 1), Point(4, H - 1), Color());
        seg(1, 1, 1, 4, border), seg(1, 1, 4, 1, border);
        seg(1, H - 5, 1, H - 2, border), seg(1, H - 2, 4, H - 2, border);
        break;
    }
}

// The join line under the tabs; sets J.
void TExPageControl::DrawJoinLine(TabPaint& p)
{
    TCanvas* c = p.c;
    const int SB = p.SB, ST = p.ST, SR = p.SR, SL = p.SL;
    const TTabPosition pos = p.pos;
    p.J = 0;
    if (tabSheet3D_ || tabSplitLine_ || pages_.empty()) return;
    p.J = 1;
    TColor join = Color();
    if (p.coloured)
        join = (pos == tpBottom && activePage_->colorTo_ != clNone) ? activePage_->colorTo_ : activePage_->Color();
    c->Pen().SetColor(join);
    switch (pos) {
    case tpTop: Line(c, 2, SB, SR + tabOverlap_, SB); break;
    case tpBottom: Line(c, 2, ST - 1, SR + tabOverlap_, ST - 1); break;
    case tpLeft:
        Line(c, SR, 2, SR, SB + tabOverlap_ + ((tabStyle_ == tsClassic && !tabBackGround_->Empty()) ? 2 : 0));
        break;
    case tpRight: Line(c, SL - 1, SB + tabOverlap_ - 1, SL - 1, 2); break;
    }
}

// The tabs from the last to the first; the active tab with its own picture last of all.
void TExPageControl::DrawTabs(TabPaint& p)
{
    TBitmap scratch;
    TabFace last;
    bool lastPending = false;
    for (int i = int(pages_.size()) - 1; i >= 0; --i) {
        if (!pages_[std::size_t(i)]->tabVisible_) continue;
        if (DrawOneTab(p, i, scratch, last)) lastPending = true;
    }
    if (lastPending && activePage_) DrawActivePictureTab(p, last, scratch);
}

// One tab; true, with the tab kept in last, when it is the active tab whose picture comes last.
bool TExPageControl::DrawOneTab(TabPaint& p, int i, TBitmap& scratch, TabFace& last)
{
    TCanvas* c = p.c;
    const TTabPosition pos = p.pos;
    TabFace f;
    TExTabSheet* page = f.page = pages_[std::size_t(i)];
    const bool active = f.active = i == p.activeIndex;
    f.tr = TabRectEx(i);
    f.L = f.tr.Left, f.T = f.tr.Top, f.R = f.tr.Right, f.B = f.tr.Bottom;
    const int L = f.L, T = f.T, R = f.R, B = f.B;
    if (!tabBackGround_->Empty()) scratch.Assign(*tabBackGround_);
    TColor c1, c2;
    TGradientDirection dir;
    if (active && activeColor_ != clNone) c1 = activeColor_, c2 = activeColorTo_, dir = page->tabGradient_;
    else if (i == hoverTab_ && TabHoverColor != clNone) c1 = TabHoverColor, c2 = TabHoverColorTo, dir = page->HoverGradientDirection;
    else c1 = page->tabColor_, c2 = page->tabColorTo_, dir = page->tabGradient_;
    c->Brush().SetColor(c1);
    // Text origin.
    int& x = f.x;
    int& y = f.y;
    switch (pos) {
    case tpTop:
        x = L + 4 + (page->showClose_ ? 14 : 0), y = T + 1 + (active ? lowerActive_ : 0);
        break;
    case tpBottom:
        x = L + 4 + (page->showClose_ ? 14 : 0);
        y = active ? T + lowerActive_ + 1 : T + (tabStyle_ == tsClassic ? 2 : 0);
        break;
    case tpLeft:
        x = L + 1 + (active ? lowerActive_ : 0), y = page->showClose_ ? B - 17 : B - 4;
        break;
    case tpRight:
        x = R - 1 - (active ? lowerActive_ : 0), y = page->showClose_ ? T + 17 : T + 4;
        break;
    }
    if (tabBackGround_->Empty()) DrawTabFace(p, f, c1, c2, dir == gdHorizontal);
    else DrawTabBackPicture(p, f, scratch);
    // Margins.
    const TTabMargin& m = *tabMargin_;
    if (pos == tpLeft) {
        x += m.LeftMargin(), y -= m.TopMargin();
        if (!tabBackGroundActive_->Empty()) y += tabOverlap_ + 3;
    } else {
        x += m.LeftMargin(), y += m.TopMargin();
    }
    if (active && !tabBackGroundActive_->Empty() && !tabBackGround_->Empty()) {
        last = f;
        return true;
    }
    DrawTabCaption(p, f);
    return false;
}

// A tab without a picture: fill and outline.
void TExPageControl::DrawTabFace(TabPaint& p, TabFace& f, TColor c1, TColor c2, bool horizontal)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H, SB = p.SB, ST = p.ST, SR = p.SR, SL = p.SL;
    const TTabPosition pos = p.pos;
    const bool vertical = p.vertical, joinable = p.joinable, active = f.active;
    int& J = p.J;
    int &L = f.L, &T = f.T, &R = f.R, &B = f.B;
    const bool gradient = c2 != clNone;
    // Fill.
    c->Brush().SetStyle(bsSolid);
    switch (pos) {
    case tpTop:
        T -= 1;
        if (gradient) DrawGradient(c, c1, c2, horizontal, Rect(L, T, horizontal ? R - 1 : R, B - 1), 16);
        else c->FillRect(Rect(L, T, R, B));
        break;
    case tpBottom:
        B += 1;
        if (gradient) DrawGradient(c, c1, c2, horizontal, Rect(L, T, horizontal ? R - 1 : R, horizontal ? B : B - 1), 16);
        else c->FillRect(Rect(L, T, R, B));
        break;
    case tpLeft:
        L -= 1;
        if (gradient) DrawGradient(c, c1, c2, horizontal, Rect(L, T, R - 1, horizontal ? B : B - 1), 16);
        else c->FillRect(Rect(L, T, R, B));
        break;
    case tpRight:
        if (gradient) DrawGradient(c, c1, c2, horizontal, active ? Rect(L, T, R, B) : Rect(L, T, R, horizontal ? B : B - 1), 16);
        else c->FillRect(Rect(L, T, R, B));
        R += 1;
        break;
    }
    // Outline.
    c->Pen().SetColor(tabBorderColor_);
    c->Brush().SetStyle(bsClear);
    TExTabSheet* next = FindNextPage(f.page, true, true);
    const bool nextActive = next && next == activePage_;
    const bool atEnd = vertical ? B > SB - 3 : R > SR - 3;
    const bool separator = !(nextActive && !atEnd);
    if (!active && joinable) {
        const bool touches = pos == tpTop ? B >= SB : pos == tpBottom ? T <= ST : pos == tpLeft ? R >= SR : L <= SL;
        J = touches ? 1 : 0;
    }
    if (tabStyle_ == tsDotNet) {
        if (active) {
            switch (pos) {
            case tpTop: Lines(c, {Point(L, B), Point(L, T), Point(R, T), Point(R, B)}); break;
            case tpBottom: Lines(c, {Point(L, T - 1), Point(L, B), Point(R, B), Point(R, T - 1)}); break;
            case tpLeft: Lines(c, {Point(R, T), Point(L, T), Point(L, B), Point(R, B)}); break;
            case tpRight: Lines(c, {Point(L - 1, T), Point(R - 1, T), Point(R - 1, B), Point(L - 1, B)}); break;
            }
        } else {
            switch (pos) {
            case tpTop: Line(c, L, B, R, B); break;
            case tpBottom: Line(c, L, T - 1, R, T - 1); break;
            case tpLeft: Line(c, R, T, R, B); break;
            case tpRight: Line(c, L - 1, T, L - 1, B); break;
            }
            if (separator) {
                c->Pen().SetColor(activeColor_);
                if (vertical) Line(c, L + 2, B - 2, R - 2, B - 2), Line(c, L + 2, B - 3, R - 2, B - 3);
                else Line(c, R - 2, B - 3, R - 2, T + 2), Line(c, R - 3, B - 3, R - 3, T + 2);
            }
        }
    } else if (active) {
        switch (pos) {
        case tpTop: Lines(c, {Point(L, B - 1), Point(L, T), Point(R, T), Point(R, B)}); break;
        case tpBottom: Lines(c, {Point(L, T), Point(L, B), Point(R, B), Point(R, T - 1)}); break;
        case tpLeft: Lines(c, {Point(R - 1, T), Point(L, T), Point(L, B), Point(R, B)}); break;
        case tpRight: Lines(c, {Point(L, T), Point(R - 1, T), Point(R - 1, B), Point(L - 1, B)}); break;
        }
    } else {
        switch (pos) {
        case tpTop: c->Rectangle(L, T, R > W - 5 ? R : R + 1, B + J); break;
        case tpBottom: c->Rectangle(L, T - J, R > W - 5 ? R : R + 1, B); break;
        case tpLeft: c->Rectangle(L, T, R + J, B > H - 5 ? B : B + 1); break;
        case tpRight: c->Rectangle(L - J, T, R, B > H - 5 ? B : B + 1); break;
        }
    }
    if (!active && joinable) J = 1;
}

// A tab drawn with the tabs' picture; the text origin moves to suit it.
void TExPageControl::DrawTabBackPicture(const TabPaint& p, TabFace& f, TBitmap& scratch)
{
    TCanvas* c = p.c;
    const bool vertical = p.vertical;
    const int L = f.L, T = f.T, R = f.R, B = f.B;
    int &x = f.x, &y = f.y;
    const int len = (vertical ? B - T : R - L) + tabOverlap_ + (vertical ? 3 : 2);
    switch (p.pos) {
    case tpTop: DrawTabPicture(c, &scratch, L - 1, T - 2, len, false); break;
    case tpBottom: DrawTabPicture(c, &scratch, L - 2, T - 1, len, false), y += 3; break;
    case tpLeft: DrawTabPicture(c, &scratch, L, T, len, true), x -= 2, y -= 3; break;
    case tpRight: DrawTabPicture(c, &scratch, L - 1, T - 2, len, true), x -= TabHeight() / 3, y -= 3; break;
    }
}

// Close button, picture, caption and focus mark of one tab.
void TExPageControl::DrawTabCaption(const TabPaint& p, TabFace& f)
{
    TCanvas* c = p.c;
    const TTabPosition pos = p.pos;
    const bool vertical = p.vertical, active = f.active;
    TExTabSheet* page = f.page;
    const TRect& tr = f.tr;
    const int R = f.R, B = f.B;
    int &x = f.x, &y = f.y;
    std::unique_ptr<TFont> turned;
    if (vertical) {
        turned = std::make_unique<TFont>();
        turned->Assign(active ? *activeFont_ : c->Font());
        turned->SetEscapement(pos == tpLeft ? -2700 : -900);
    }
    if (page->showClose_) DrawCloseButton(tr, active);
    if (exImages_ && page->imageIndex_ >= 0) {
        switch (pos) {
        case tpLeft: exImages_->Draw(c, x, y - 14, page->imageIndex_, true), y -= exImages_->Height(); break;
        case tpRight: exImages_->Draw(c, x - 14, y, page->imageIndex_, true), y += exImages_->Height(); break;
        default: exImages_->Draw(c, x - 2, y, page->imageIndex_, true), x += exImages_->Width(); break;
        }
    }
    if ((active && pos == tpTop) || pos == tpBottom) c->Font().Assign(*activeFont_);
    else if (turned) c->Font().Assign(*turned);
    if (!((active && pos == tpTop) || pos == tpBottom)) c->Font().SetColor(page->textColor_);
    if (!page->tabEnable_) c->Font().SetColor(TColor(0x808080));
    c->Brush().SetStyle(bsClear);
    if (vertical) {
        c->TextOut(x, y, page->Caption());
    } else {
        TRect text = Rect(x, y, std::max(x, R), std::max(y, B));
        DrawText(c->Handle(), page->Caption(), -1, &text, DT_SINGLELINE | DT_NOCLIP);
    }
    c->Brush().SetStyle(bsSolid);
    if (active || turned) c->Font().Assign(*Font());
    if (ShowFocus && active && Focused()) {
        c->Pen().SetColor(clBlack);
        c->Pen().SetStyle(psDot);
        c->Brush().SetStyle(bsClear);
        c->Rectangle(tr.Left + 5, tr.Top + 3, tr.Right - 5, tr.Bottom - 3);
        c->Pen().SetStyle(psSolid);
        c->Brush().SetStyle(bsSolid);
    }
}

// The active tab with its own picture, drawn over its neighbours.
void TExPageControl::DrawActivePictureTab(const TabPaint& p, const TabFace& last, TBitmap& scratch)
{
    TCanvas* c = p.c;
    const TTabPosition pos = p.pos;
    const bool vertical = p.vertical;
    const TRect& lastRect = last.tr;
    TExTabSheet* page = activePage_;
    const int L = lastRect.Left, T = lastRect.Top;
    const int len = (vertical ? lastRect.Height() : lastRect.Width()) + tabOverlap_ + (vertical ? 3 : 2);
    scratch.Assign(*tabBackGroundActive_);
    const bool low = lowerActive_ >= 1;
    switch (pos) {
    case tpTop: DrawTabPicture(c, &scratch, L - 2, low ? T - 1 : T - 2, len, false); break;
    case tpBottom: DrawTabPicture(c, &scratch, L - 2, low ? T - 3 : T - 1, len, false); break;
    case tpLeft: DrawTabPicture(c, &scratch, low ? L + 1 : L, T, len, true); break;
    case tpRight: DrawTabPicture(c, &scratch, low ? L - 3 : L - 1, T - 2, len, true); break;
    }
    int x = last.x, y = last.y;
    if (page->showClose_) DrawCloseButton(lastRect, true);
    if (exImages_ && page->imageIndex_ >= 0) {
        exImages_->Draw(c, x - 2, y, page->imageIndex_, true);
        if (!vertical) x += exImages_->Width();
    }
    c->Brush().SetStyle(bsClear);
    if (!vertical) {
        c->Font().Assign(*activeFont_);
        if (pos == tpBottom) y -= 2;
        TRect text = Rect(x, y, std::max(x, lastRect.Right), std::max(y, lastRect.Bottom));
        DrawText(c->Handle(), page->Caption(), -1, &text, DT_SINGLELINE | DT_NOCLIP);
    } else {
        c->Font().SetEscapement(pos == tpLeft ? -2700 : -900);
        c->Font().SetColor(page->textColor_);
        c->TextOut(x, y, page->Caption());
    }
    c->Font().Assign(*Font());
    c->Brush().SetStyle(bsSolid);
}

// The outline of the tab under the mouse.
void TExPageControl::DrawHoverOutline(const TabPaint& p)
{
    TCanvas* c = p.c;
    const int W = p.W, H = p.H;
    TRect r = TabRectEx(hoverTab_);
    int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    c->Pen().SetColor(TabHoverBorder);
    switch (p.pos) {
    case tpTop:
        T -= 1;
        if (R > W - 5) R -= 1;
        Lines(c, {Point(L, B - 2), Point(L, T), Point(R, T), Point(R, B - 1)});
        break;
    case tpBottom:
        if (R > W - 5) R -= 1;
        Lines(c, {Point(L, T + 1), Point(L, B), Point(R, B), Point(R, T)});
        break;
    case tpLeft:
        L -= 1, T -= 2;
        if (B > H - 5) B -= 1;
        Lines(c, {Point(R - 1, T + 2), Point(L, T + 2), Point(L, B), Point(R, B)});
        break;
    case tpRight:
        L += 1;
        if (B > H - 5) B -= 1;
        Lines(c, {Point(L, T), Point(R, T), Point(R, B), Point(L - 1, B)});
        break;
    }
}

// ---------------------------------------------------------------- close buttons

namespace {

TPoint CloseOrigin(TTabPosition pos, const TTabMargin& m, const TRect& r, int lower, int overlap, bool activePicture)
{
    switch (pos) {
    case tpLeft: {
        const int left = r.Left + m.LeftMargin() + lower;
        const int bottom = r.Bottom - m.TopMargin() + (activePicture ? overlap : 0);
        return Point(left + 2, bottom - 13);
    }
    case tpRight: return Point(r.Left + m.LeftMargin() - lower + 2 + 2, r.Top + m.TopMargin() + 2);
    default: return Point(r.Left + m.LeftMargin() + 2, r.Top + m.TopMargin() + lower + 2);
    }
}

void PaintBox(TCanvas* c, TPoint o, TColor fill, TColor outline, TColor cross)
{
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(fill);
    c->Pen().SetColor(outline);
    c->Pen().SetStyle(psSolid);
    c->Rectangle(o.X, o.Y, o.X + 12, o.Y + 11);
    c->Pen().SetColor(cross);
    Line(c, o.X + 3, o.Y + 7, o.X + 9, o.Y + 2);
    Line(c, o.X + 4, o.Y + 7, o.X + 8, o.Y + 2);
    Line(c, o.X + 3, o.Y + 3, o.X + 9, o.Y + 8);
    Line(c, o.X + 4, o.Y + 3, o.X + 8, o.Y + 8);
}

}  // namespace

void TExPageControl::DrawCloseGlyph(TPoint p)
{
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, p.X, p.Y, p.X + 12, p.Y + 11);
    TBitmap glyph;
    glyph.Assign(*closeGlyph_);
    glyph.SetTransparent(true);
    glyph.SetTransparentMode(tmAuto);
    c->Draw(p.X, p.Y, &glyph);
    RestoreDC(c->Handle(), saved);
}

void TExPageControl::DrawCloseButton(TRect tabRect, bool active)
{
    const TPoint o = CloseOrigin(TabPosition(), *tabMargin_, tabRect, active ? lowerActive_ : 0, tabOverlap_,
                                 !tabBackGroundActive_->Empty());
    if (!closeGlyph_->Empty()) DrawCloseGlyph(o);
    else PaintBox(Canvas(), o, clWhite, TColor(0x808080), clBlack);
}

void TExPageControl::DrawHoverCloseButton(TRect tabRect)
{
    const TPoint o = CloseOrigin(TabPosition(), *tabMargin_, tabRect, lowerActive_, tabOverlap_, !tabBackGroundActive_->Empty());
    if (!closeGlyph_->Empty()) DrawCloseGlyph(o);
    else PaintBox(Canvas(), o, clWhite, clBlack, TColor(0x808080));
}

void TExPageControl::DrawDownCloseButton(TRect tabRect)
{
    const TPoint o = CloseOrigin(TabPosition(), *tabMargin_, tabRect, lowerActive_, tabOverlap_, !tabBackGroundActive_->Empty());
    if (!closeGlyph_->Empty()) DrawCloseGlyph(o);
    else PaintBox(Canvas(), o, TColor(0xC0C0C0), clBlack, clBlack);
}

}  // namespace frame
