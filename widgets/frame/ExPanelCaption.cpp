// The panel's caption bar: its settings, its drawing (plain, gradient, picture or one of
// the computed shades in a rectangular or rounded shape), its buttons and clicks.
#include <chrono>
#include <cmath>
#include <random>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/frame/ExPanel.h"

namespace frame {

using namespace platform;

// ---------------------------------------------------------------- settings

TPanelCaption::TPanelCaption()
    : font_(std::make_unique<TFont>()), closeMin_(std::make_unique<TBitmap>()), closeMax_(std::make_unique<TBitmap>()),
      min_(std::make_unique<TBitmap>()), max_(std::make_unique<TBitmap>()), background_(std::make_unique<TBitmap>())
{
    font_->SetColor(clHighlightText);
    font_->OnChange = [this](TObject*) { Changed(); };
}

TPanelCaption::~TPanelCaption() = default;

void TPanelCaption::Changed()
{
    if (OnChange) OnChange(this);
}

void TPanelCaption::ShadeChanged()
{
    if (OnShadeChange) OnShadeChange(this);
    Changed();
}

void TPanelCaption::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TPanelCaption*>(&source);
    if (!s) return TPersistent::Assign(source);
    SetVisible(s->visible_);
    SetHeight(s->height_);
    font_->Assign(*s->font_);
    SetColor(s->color_);
    SetColorTo(s->colorTo_);
    SetCloseColor(s->closeColor_);
    SetCloseButton(s->closeButton_);
    SetCloseButtonColor(s->closeButtonColor_);
    SetMinMaxButton(s->minMaxButton_);
    SetMinMaxButtonColor(s->minMaxButtonColor_);
    closeMin_->Assign(*s->closeMin_);
    closeMax_->Assign(*s->closeMax_);
    min_->Assign(*s->min_);
    max_->Assign(*s->max_);
    ButtonPosition = s->ButtonPosition;
    SetFlat(s->flat_);
    SetShape(s->shape_);
    SetShadeType(s->shadeType_);
    SetShadeLight(s->shadeLight_);
    SetShadeGrain(s->shadeGrain_);
    background_->Assign(*s->background_);
    SetIndent(s->indent_);
    SetTopIndent(s->topIndent_);
}

void TPanelCaption::SetVisible(bool v)
{
    visible_ = v;
    Changed();
    if (OnStateChange) OnStateChange(this);
}

#define KORVELO_CHANGED_SETTER(Name, field, Type) \
    void TPanelCaption::Name(Type v)              \
    {                                             \
        if (field == v) return;                   \
        field = v;                                \
        Changed();                                \
    }
KORVELO_CHANGED_SETTER(SetHeight, height_, int)
KORVELO_CHANGED_SETTER(SetIndent, indent_, int)
KORVELO_CHANGED_SETTER(SetTopIndent, topIndent_, int)
KORVELO_CHANGED_SETTER(SetCloseButton, closeButton_, bool)
KORVELO_CHANGED_SETTER(SetMinMaxButton, minMaxButton_, bool)
KORVELO_CHANGED_SETTER(SetCloseButtonColor, closeButtonColor_, TColor)
KORVELO_CHANGED_SETTER(SetMinMaxButtonColor, minMaxButtonColor_, TColor)
KORVELO_CHANGED_SETTER(SetCloseColor, closeColor_, TColor)
#undef KORVELO_CHANGED_SETTER

void TPanelCaption::SetText(const std::string& v)
{
    text_ = v;
    Changed();
}
void TPanelCaption::SetFont(const TFont& f) { font_->Assign(f), Changed(); }
void TPanelCaption::SetColorTo(TColor c) { colorTo_ = c, Changed(); }
namespace {
void CopyGlyph(std::unique_ptr<TBitmap>& to, TBitmap* from)
{
    if (from) to->Assign(*from);
    else to = std::make_unique<TBitmap>();
}
}  // namespace

void TPanelCaption::SetCloseMinGlyph(TBitmap* b) { CopyGlyph(closeMin_, b), Changed(); }
void TPanelCaption::SetCloseMaxGlyph(TBitmap* b) { CopyGlyph(closeMax_, b), Changed(); }
void TPanelCaption::SetMinGlyph(TBitmap* b) { CopyGlyph(min_, b); }
void TPanelCaption::SetMaxGlyph(TBitmap* b) { CopyGlyph(max_, b); }

void TPanelCaption::SetColor(TColor c)
{
    if (c == color_) return;
    color_ = c;
    ShadeChanged();
}
void TPanelCaption::SetFlat(bool v) { flat_ = v, ShadeChanged(); }
void TPanelCaption::SetShape(TCaptionShape v) { shape_ = v, ShadeChanged(); }
void TPanelCaption::SetShadeType(TShadeType v) { shadeType_ = v, ShadeChanged(); }
void TPanelCaption::SetShadeGrain(int v) { shadeGrain_ = v, ShadeChanged(); }
void TPanelCaption::SetShadeLight(int v) { shadeLight_ = std::max(v, 200), ShadeChanged(); }
void TPanelCaption::SetBackground(TBitmap* b) { CopyGlyph(background_, b), ShadeChanged(); }

// ---------------------------------------------------------------- the bar

namespace {

void DrawTransparent(TCanvas* c, TBitmap* b, int x, int y)
{
    TBitmap copy;
    copy.Assign(*b);
    copy.SetTransparent(true);
    copy.SetTransparentMode(tmAuto);
    c->Draw(x, y, &copy);
}

bool HasBevel(TCustomPanel* p) { return p->BevelOuter() != bvNone || p->BevelInner() != bvNone; }

}  // namespace

int TCustomExPanel::ButtonSize() const
{
    int size = 12;
    if (!caption_->CloseMinGlyph()->Empty() && !caption_->CloseMaxGlyph()->Empty()) size = caption_->CloseMinGlyph()->Width();
    if (!caption_->MinGlyph()->Empty() && !caption_->MaxGlyph()->Empty()) size = caption_->MinGlyph()->Width();
    return size;
}

void TCustomExPanel::CaptionBar(TCanvas* c)
{
    TPanelCaption& cap = *caption_;
    TRect r = ClientRect();
    const int bw = BorderWidth();
    if (borderShadow_) r.Left = bw, r.Top = bw, r.Right -= bw + 2;
    if (HasBevel(this)) InflateRect(r, -BevelWidth(), -BevelWidth());
    const TColor barColor = collaps_ ? cap.CloseColor() : cap.Color();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(barColor);
    c->Pen().SetColor(barColor);
    const TRect bar = Rect(r.Left, r.Top, r.Right, r.Top + cap.Height() - 2 * BevelWidth());
    const TShadeType st = cap.ShadeType();
    if (st == stNormal || (st == stXPCaption && !DoVisualStyles())) {
        if (cap.ColorTo() == clNone) c->Rectangle(bar);
        else expanel::DrawGradient(c, cap.Color(), cap.ColorTo(), true, bar, 64);
    } else {
        DrawCaptionBkg(c, bar);
    }
    const bool left = cap.ButtonPosition == cbpLeft;
    if (cap.CloseButton()) {
        TBitmap* glyph = collaps_ ? cap.CloseMinGlyph() : cap.CloseMaxGlyph();
        if (!cap.CloseMinGlyph()->Empty() && !cap.CloseMaxGlyph()->Empty()) {
            DrawTransparent(c, glyph, left ? r.Left : r.Right - glyph->Width(), r.Top + 2);
            if (left) r.Left += glyph->Width();
            else r.Right -= glyph->Width();
        } else {
            c->Pen().SetColor(cap.CloseButtonColor());
            c->Pen().SetWidth(2);
            if (left) {
                c->MoveTo(r.Left + 4, r.Top + 4), c->LineTo(r.Left + 10, r.Top + 10);
                c->MoveTo(r.Left + 10, r.Top + 4), c->LineTo(r.Left + 4, r.Top + 10);
                r.Left += 12;
            } else {
                c->MoveTo(r.Right - 10, r.Top + 4), c->LineTo(r.Right - 4, r.Top + 10);
                c->MoveTo(r.Right - 4, r.Top + 4), c->LineTo(r.Right - 10, r.Top + 10);
                r.Right -= 12;
            }
            c->Pen().SetWidth(1);
        }
    }
    if (cap.MinMaxButton()) {
        TBitmap* glyph = collaps_ ? cap.MaxGlyph() : cap.MinGlyph();
        if (!glyph->Empty()) {
            DrawTransparent(c, glyph, left ? r.Left : r.Right - glyph->Width(), r.Top + 2);
        } else {
            c->Pen().SetColor(cap.MinMaxButtonColor());
            c->Brush().SetColor(cap.MinMaxButtonColor());
            const int L = r.Left, Rt = r.Right, T = r.Top;
            TPoint pts[3];
            if (collaps_) {  // pointing down: the button expands
                if (left) pts[0] = Point(L + 4, T + 5), pts[1] = Point(L + 10, T + 5), pts[2] = Point(L + 7, T + 8);
                else pts[0] = Point(Rt - 10, T + 5), pts[1] = Point(Rt - 4, T + 5), pts[2] = Point(Rt - 7, T + 8);
            } else {
                if (left) pts[0] = Point(L + 4, T + 8), pts[1] = Point(L + 10, T + 8), pts[2] = Point(L + 7, T + 5);
                else pts[0] = Point(Rt - 10, T + 8), pts[1] = Point(Rt - 4, T + 8), pts[2] = Point(Rt - 7, T + 5);
            }
            c->Polygon(pts, 3);
        }
    }
    TRect text = Rect(r.Left, r.Top, r.Right, r.Top + cap.Height());
    const int extra = 20 * ((cap.CloseButton() ? 1 : 0) + (cap.MinMaxButton() ? 1 : 0));
    if (left) text.Left += extra;
    else text.Right -= extra;
    text.Left += cap.Indent();
    text.Top += cap.TopIndent();
    c->Font().Assign(cap.Font());
    DrawHTML(c, cap.Text(), text, 0, 0, captionHoverLink_, false, false, true, false, nullptr, nullptr, nullptr, nullptr,
             nullptr);
}

void TCustomExPanel::DrawCaptionBkg(TCanvas* c, TRect r)
{
    TPanelCaption& cap = *caption_;
    const TShadeType st = cap.ShadeType();
    if (st == stXPCaption) return;  // no visual styles: nothing more
    if (st == stBitmap || st == stBitmapRStretch || st == stBitmapLStretch) {
        TBitmap* b = cap.Background();
        if (b->Empty()) return;
        const int bw = b->Width(), bh = b->Height();
        if (st == stBitmap) {
            c->StretchDraw(r, b);
        } else if (st == stBitmapRStretch) {
            c->Draw(r.Left, r.Top, b);
            c->CopyRect(Rect(bw, r.Top, r.Right, r.Bottom), b->Canvas(), Rect(bw - 3, 0, bw, bh));
        } else {
            const int x0 = std::max(0, Width() - bw);
            c->Draw(r.Left + x0, r.Top, b);
            c->CopyRect(Rect(0, r.Top, x0, r.Bottom), b->Canvas(), Rect(0, 0, 2, bh));
        }
        return;
    }
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    HRGN clip = nullptr;
    c->Brush().SetStyle(bsClear);
    auto outlines = [&] {
        const int midTop = r.Top + (r.Bottom - r.Top) / 2, midBottom = r.Bottom - (r.Bottom - r.Top) / 2;
        for (int k = 0; k < 2; ++k) {
            const int s2 = SaveDC(dc);
            HRGN rr = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
            HRGN half = k == 0 ? CreateRectRgn(r.Left, midTop, r.Right, r.Bottom) : CreateRectRgn(r.Left, r.Top, r.Right, midBottom);
            CombineRgn(rr, rr, half, RGN_AND);
            ExtSelectClipRgn(dc, rr, RGN_AND);
            c->Pen().SetColor(k == 0 ? TColor(0x808080) : clWhite);
            c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
            RestoreDC(c->Handle(), s2);
            DeleteObject(rr);
            DeleteObject(half);
        }
    };
    switch (cap.Shape()) {
    case csRectangle:
        if (!cap.Flat()) {
            c->Pen().SetColor(TColor(0x808080));
            c->MoveTo(r.Left, r.Bottom - 1), c->LineTo(r.Right - 1, r.Bottom - 1), c->LineTo(r.Right - 1, r.Top);
            c->Pen().SetColor(clWhite);
            c->LineTo(r.Left, r.Top), c->LineTo(r.Left, r.Bottom - 1);
            InflateRect(r, -1, -1);
        }
        clip = CreateRectRgnIndirect(r);
        break;
    case csRounded:
        outlines();
        c->Pen().SetColor(TColor(0x808080));
        c->MoveTo(r.Left + 16, r.Bottom - 1), c->LineTo(r.Right - 16, r.Bottom - 1);
        r.Top += 1;
        clip = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
        break;
    case csSemiRounded: {
        outlines();
        c->Pen().SetColor(clWhite);
        c->MoveTo(r.Left + (r.Right - r.Left) / 2, r.Top), c->LineTo(r.Left, r.Top), c->LineTo(r.Left, r.Bottom - 1);
        c->Pen().SetColor(TColor(0x808080));
        c->LineTo(r.Right - 16, r.Bottom - 1);
        r.Left += 1, r.Top += 1;
        clip = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
        HRGN square = CreateRectRgn(r.Left, r.Top, r.Right - (r.Right - r.Left) / 2, r.Bottom - 1);
        CombineRgn(clip, clip, square, RGN_OR);
        DeleteObject(square);
        break;
    }
    }
    ExtSelectClipRgn(dc, clip, RGN_AND);
    DeleteObject(clip);
    c->Draw(r.Left, r.Top, shade_.get());
    RestoreDC(c->Handle(), saved);
    c->Brush().SetStyle(bsSolid);
}

void TCustomExPanel::ShadeHeader()
{
    TPanelCaption& cap = *caption_;
    const COLORREF base = ColorToRGB(cap.Color());
    const int cr = int(base & 255), cg = int((base >> 8) & 255), cb = int((base >> 16) & 255);
    const int L = cap.ShadeLight() & 255;
    shade_->SetSize(std::max(1, Width()), std::max(1, cap.Height()));
    std::mt19937 rng(unsigned(std::chrono::steady_clock::now().time_since_epoch().count()));
    auto random = [&](int n) { return n > 0 ? int(rng() % unsigned(n)) : 0; };
    const int W = Width() == 0 ? 100 : Width(), H = cap.Height() == 0 ? 20 : cap.Height();
    TCanvas* c = shade_->Canvas();
    c->Brush().SetColor(clWhite);
    c->FillRect(Rect(0, 0, shade_->Width(), shade_->Height()));
    auto colorOf = [&](int i) { return TColor(platform::RGB((cr * i / 255) & 255, (cg * i / 255) & 255, (cb * i / 255) & 255)); };
    auto put = [&](int x, int y, int i) { c->SetPixel(x, y, colorOf(i)); };
    auto blue = [&](int x, int y) { return int((c->Pixel(x, y) >> 16) & 255); };
    auto cube = [](int a) { return a * a * a / 16384; };
    switch (cap.ShadeType()) {
    case stNoise:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) put(x, y, L - (random(cap.ShadeGrain()) + 128) / 2);
        break;
    case stDiagShade:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                const int t = L - blue(x, y) + 129 * x / W + 129 * y / H;
                put(x, y, L - t / 2);
            }
        break;
    case stHShade:
    case stHShadeInv:
        for (int x = 0; x <= W; ++x) {
            const int v = (W - x) * 239 / W + 8;
            const int xx = cap.ShadeType() == stHShadeInv ? W - x : x;
            for (int y = 0; y <= H; ++y) put(xx, y, L - v / 2);
        }
        break;
    case stVShade:
    case stVShadeInv:
        for (int y = 0; y <= H; ++y) {
            const int v = 239 * y / H + 8;
            const int yy = cap.ShadeType() == stVShadeInv ? H - y : y;
            for (int x = 0; x <= W; ++x) put(x, yy, L - v / 4);
        }
        break;
    case stHBump:
    case stVBump:
    case stHardBump:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                const int a = cap.ShadeType() == stHBump ? (W - x) * 255 / W - 127 : y * 255 / H - 127;
                const int v = cube(a) * (cap.ShadeType() == stHardBump ? 112 : 120) / 128 + 128;
                put(x, y, L - v / 2);
            }
        if (cap.ShadeType() == stHardBump) {
            const int s = std::min(16, W / 6), q = H * H / 4;
            if (s > 0 && q > 0)
                for (int x = 0; x <= W; ++x)
                    for (int y = 0; y <= H; ++y) {
                        const int dy = y - H / 2, dx = x - W / 2;
                        const int e = dy * dy * s / q + W / 2 - s;
                        if (dx > e) put(x, y, L - ((W - x) * 128 / s + 8) / 2);
                        else if (dx + e < 0) put(x, y, L - (247 - x * 128 / s) / 2);
                    }
        }
        break;
    case stSoftBump:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                const int a = y * 255 / H - 127, cc = (W - x) * 255 / W - 127;
                const int v = std::clamp((cube(a) + cube(cc)) * 120 / 128 + 128, 8, 247);
                put(x, y, L - v / 2);
            }
        break;
    case stLMetal:
    case stRMetal: {
        const bool lm = cap.ShadeType() == stLMetal;
        for (int k = 0; k < 251; ++k) {
            const int sx = random(W), sy = random(H), n = random(std::min(W, H) / 2), I = L - random(40);
            for (int i = 0; i < n; ++i) {
                if (sx - i > 0 && sy + i < H) put(lm ? sx + i : sx - i, sy + i, I);
                if (sx + i < W && sy - i > 0) put(lm ? sx - i : sx + i, sy - i, I);
            }
        }
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                const int t = L - blue(x, y) + 120 * x / W + 120 * y / H;
                put(x, y, L - t / 2);
            }
        break;
    }
    case stIRadial:
    case stORadial: {
        const int D = std::abs(W - H);
        if (D == 0) break;  // no radius to shade over: the plain colour stays
        const int cx = W / 2, cy = H / 2;
        for (int x = 0; x <= cx; ++x)
            for (int y = 0; y <= cy; ++y) {
                const int d = int(std::nearbyint(std::hypot(x - cx, y - cy)));
                const double f = cap.ShadeType() == stIRadial ? (D - d) / double(D) : d / double(D);
                const int I = int(std::nearbyint(f * L));
                put(x, y, I), put(W - x, H - y, I), put(W - x, y, I), put(x, H - y, I);
            }
        break;
    }
    default:
        c->Brush().SetColor(cap.Color());
        c->FillRect(Rect(0, 0, shade_->Width(), shade_->Height()));
        break;
    }
}

// ---------------------------------------------------------------- clicks

bool TCustomExPanel::CaptionButtonsClick(int x, int y)
{
    if (!caption_->Visible()) return false;
    TPanelCaption& cap = *caption_;
    TRect cr = ClientRect();
    int L = cr.Left, T = cr.Top, Rt = cr.Right;
    const int size = ButtonSize();
    const bool left = cap.ButtonPosition == cbpLeft;
    auto buttonRect = [&] {
        return left ? Rect(L + 2, T + 2, L + size + 2, T + size + 2) : Rect(Rt - size - 2, T + 2, Rt - 2, T + size + 2);
    };
    const TPoint p = Point(x, y);
    if (cap.CloseButton() && PtInRect(buttonRect(), p)) {
        SetVisible(false);
        if (OnClose) OnClose(this);
        Synchronize();
        if (FreeOnClose) {
            delete this;
            return true;
        }
        return false;
    }
    if (cap.CloseButton()) {
        if (left) L += size;
        else Rt -= size;
    }
    const bool onMinMax = cap.MinMaxButton() && PtInRect(buttonRect(), p);
    if (onMinMax) SetCollaps(!collaps_);
    if (PtInRect(Rect(L, T, Rt - 2, T + cap.Height()), p) && OnCaptionClick) {
        // With CanMove a press away from the buttons and anchors drags the panel instead.
        TRect ar{};
        if (!CanMove || onMinMax || !IsAnchor(x, y, ar).empty()) OnCaptionClick(this);
    }
    return false;
}

void TCustomExPanel::DblClick()
{
    TCustomPanel::DblClick();
    const TRect cr = ClientRect();
    const TPoint p = lastDown_;
    if (caption_->Visible() && PtInRect(Rect(cr.Left, cr.Top, cr.Right - 2, cr.Top + caption_->Height()), p) &&
        OnCaptionDBlClick)
        OnCaptionDBlClick(this);
}

}  // namespace frame
