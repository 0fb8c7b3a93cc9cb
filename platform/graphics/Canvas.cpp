// TCanvas over a device context, with its pen, brush and font.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "platform/graphics/Drawing.h"
#include "platform/Private.h"

namespace platform {

using namespace draw;

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas()
{
    pen_.OnChange = [this](TObject*) { penValid_ = false; };
    brush_.OnChange = [this](TObject*) { brushValid_ = false; };
    font_.OnChange = [this](TObject*) { fontValid_ = false; };
}

TCanvas::~TCanvas() = default;

void TCanvas::AttachDC(DeviceContext* dc)
{
    dc_ = dc;
    penValid_ = brushValid_ = fontValid_ = false;
}

bool TCanvas::HandleAllocated() const { return dc_ != nullptr; }

void TCanvas::Refresh() { penValid_ = brushValid_ = fontValid_ = false; }

HDC TCanvas::Handle()
{
    if (!dc_) CreateHandle();
    if (!dc_) throw base::EInvalidOperation("Canvas does not allow drawing");
    RequiredState();
    return dc_;
}

void TCanvas::RequiredState()
{
    static const int kRop[] = {R2_BLACK,       R2_WHITE,       R2_NOP,       R2_NOT,         R2_COPYPEN,    R2_NOTCOPYPEN,
                               R2_MERGEPENNOT, R2_MASKPENNOT,  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,   R2_NOTMERGEPEN,
                               R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,    R2_NOTXORPEN};
    DeviceContext& dc = *dc_;
    if (!penValid_) {
        dc.penColor = ColorToRGB(pen_.Color());
        dc.penWidth = std::max(1, pen_.Width());
        dc.penStyle = pen_.Style();
        dc.rop2 = kRop[pen_.Mode()];
        const PenObject* h = pen_.Handle();
        dc.penGeometric = h && (h->style & PS_TYPE_MASK) == PS_GEOMETRIC;
        dc.penCap = dc.penGeometric ? int(h->style & PS_ENDCAP_MASK) : int(PS_ENDCAP_ROUND);
        dc.penJoin = dc.penGeometric ? int(h->style & PS_JOIN_MASK) : int(PS_JOIN_ROUND);
        dc.penDashes.clear();
        dc.penAlternate = h && (h->style & PS_STYLE_MASK) == PS_ALTERNATE;
        if (h && (h->style & PS_STYLE_MASK) == PS_USERSTYLE) dc.penDashes = h->dashes;
        penValid_ = true;
    }
    if (!brushValid_) {
        dc.brushColor = ColorToRGB(brush_.Color());
        dc.brushStyle = brush_.Style();
        dc.brushPattern = brush_.Bitmap() && !brush_.Bitmap()->Empty() ? BitmapImage(*brush_.Bitmap()) : QImage();
        if (brush_.Style() == bsSolid) {
            dc.bkColor = dc.brushColor;
            dc.bkMode = OPAQUE;
        } else {
            dc.bkColor = ~dc.brushColor & 0xFFFFFF;
            dc.bkMode = TRANSPARENT;
        }
        brushValid_ = true;
    }
    if (!fontValid_) {
        dc.font = MakeQFont(font_.Name(), font_.Height(), font_.Style(), font_.Pitch());
        dc.escapement = font_.Escapement();
        dc.textColor = ColorToRGB(font_.Color());
        fontValid_ = true;
    }
}

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

// A drawing call: the DC with the canvas's state, OnChanging, the call, OnChange.
template <class Fn>
void TCanvas::Drawing(Fn&& draw)
{
    HDC dc = Handle();
    Changing();
    draw(dc);
    Changed();
}

TPoint TCanvas::PenPos() const { return dc_ ? TPoint{dc_->penPos.x(), dc_->penPos.y()} : TPoint{}; }
void TCanvas::SetPenPos(TPoint p) { MoveToEx(Handle(), p.X, p.Y, nullptr); }
void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }
void TCanvas::LineTo(int x, int y)
{
    Drawing([&](HDC dc) { platform::LineTo(dc, x, y); });
}
void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Drawing([&](HDC dc) { platform::Rectangle(dc, x1, y1, x2, y2); });
}
void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    Drawing([&](HDC dc) { platform::RoundRect(dc, x1, y1, x2, y2, x3, y3); });
}
void TCanvas::FillRect(const TRect& r)
{
    Drawing([&](HDC dc) {
        TRect n = r;
        Normalize(n.Left, n.Right);
        Normalize(n.Top, n.Bottom);
        if (dc->Scaled()) n = DeviceBox(*dc, n.Left, n.Top, n.Right, n.Bottom);
        DeviceSpace ds(*dc);
        if (IsRectEmpty(n) || dc->brushStyle == bsClear) return;
        if (dc->recorder) dc->recorder->FillRect(*dc, n, dc->brushColor, true);
        const QRect q = ToQRect(n);
        // A solid brush fills the rectangle's pixels as they are.
        if (dc->brushStyle == bsSolid && dc->brushPattern.isNull()) {
            if (const int filled = FillSolid(*dc, q, dc->brushColor); filled >= 0) {
                if (filled) dc->Drawn(q.translated(dc->Offset()).adjusted(-1, -1, 1, 1));
                return;
            }
        }
        FillShape(*dc, q, [&](QPainter& p) { p.drawRect(q); }, false);
    });
}
void TCanvas::FrameRect(const TRect& r)
{
    Drawing([&](HDC dc) {
        if (!IsRectEmpty(r)) {
            COLORREF c = dc->brushColor;
            platform::FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, c);
            platform::FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
            platform::FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, c);
            platform::FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, c);
        }
    });
}
void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Drawing([&](HDC dc) { platform::Ellipse(dc, x1, y1, x2, y2); });
}
void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Drawing([&](HDC dc) { platform::Arc(dc, x1, y1, x2, y2, x3, y3, x4, y4); });
}
void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Drawing([&](HDC dc) { platform::Pie(dc, x1, y1, x2, y2, x3, y3, x4, y4); });
}
void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Drawing([&](HDC dc) { platform::Chord(dc, x1, y1, x2, y2, x3, y3, x4, y4); });
}

void TCanvas::Polygon(const TPoint* pts, int count)
{
    Drawing([&](HDC dc) { platform::Polygon(dc, pts, count); });
}
void TCanvas::Polyline(const TPoint* pts, int count)
{
    Drawing([&](HDC dc) { platform::Polyline(dc, pts, count); });
}
void TCanvas::DrawFocusRect(const TRect& r)
{
    Drawing([&](HDC dc) { platform::DrawFocusRect(dc, r); });
}
TColor TCanvas::Pixel(int x, int y)
{
    COLORREF c = GetPixel(Handle(), x, y);
    return c == CLR_INVALID ? TColor(-1) : TColor(c);
}
void TCanvas::SetPixel(int x, int y, TColor c)
{
    Drawing([&](HDC dc) { platform::SetPixel(dc, x, y, ColorToRGB(c)); });
}
void TCanvas::TextOut(int x, int y, const std::string& text)
{
    Drawing([&](HDC dc) { ExtTextOut(dc, x, y, 0, nullptr, text, -1); });
}
void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    Drawing([&](HDC dc) {
        UINT opts = UINT(ETO_CLIPPED) | (brush_.Style() != bsClear ? UINT(ETO_OPAQUE) : 0u);
        ExtTextOut(dc, x, y, opts, &r, text, -1);
    });
}
HDC TCanvas::MeasuringHandle()
{
    if (dc_) return Handle();
    // Measuring takes the font only: a canvas without a surface gets none for it (a
    // control's canvas would make the control's window and its image).
    thread_local DeviceContext measure;
    measure.ResetState();
    measure.font = MakeQFont(font_.Name(), font_.Height(), font_.Style(), font_.Pitch());
    return &measure;
}

TSize TCanvas::TextExtent(const std::string& text)
{
    TSize s;
    GetTextExtentPoint32(MeasuringHandle(), text, -1, s);
    return s;
}
void TCanvas::TextOutW(int x, int y, const std::u16string& text)
{
    Drawing([&](HDC dc) { ExtTextOutW(dc, x, y, 0, nullptr, text, -1); });
}
void TCanvas::TextRectW(const TRect& r, int x, int y, const std::u16string& text)
{
    Drawing([&](HDC dc) {
        UINT opts = UINT(ETO_CLIPPED) | (brush_.Style() != bsClear ? UINT(ETO_OPAQUE) : 0u);
        ExtTextOutW(dc, x, y, opts, &r, text, -1);
    });
}
TSize TCanvas::TextExtentW(const std::u16string& text)
{
    TSize s;
    GetTextExtentPoint32W(MeasuringHandle(), text, -1, s);
    return s;
}
void TCanvas::Draw(int x, int y, TGraphic* g)
{
    if (!g || g->Empty()) return;
    g->Draw(*this, Rect(x, y, x + g->Width(), y + g->Height()));
}
void TCanvas::StretchDraw(const TRect& r, TGraphic* g)
{
    if (!g || g->Empty()) return;
    g->Draw(*this, r);
}
void TCanvas::CopyRect(const TRect& dest, TCanvas* src, const TRect& source)
{
    if (!src) return;
    HDC d = Handle();
    HDC s = src->Handle();
    Changing();
    StretchBlt(d, dest.Left, dest.Top, dest.Width(), dest.Height(), s, source.Left, source.Top, source.Width(),
               source.Height(), CopyMode);
    Changed();
}
void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style)
{
    Drawing([&](HDC dc) {
        ExtFloodFill(dc, x, y, ColorToRGB(color), style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    });
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color)
{
    if (!bitmap || source.Width() <= 0 || source.Height() <= 0) return;
    // ScanLine words are 0xAARRGGBB; colours are 0x00BBGGRR.
    auto word = [](COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    const std::uint32_t key = word(ColorToRGB(color)), fill = word(ColorToRGB(Brush().Color())) | 0xFF000000u;
    TBitmap copy(source.Width(), source.Height());
    copy.Canvas()->CopyRect(TRect{0, 0, source.Width(), source.Height()}, bitmap->Canvas(), source);
    for (int y = 0; y < copy.GetHeight(); ++y) {
        std::uint32_t* row = copy.ScanLine(y);
        for (int x = 0; x < copy.GetWidth(); ++x)
            if ((row[x] & 0xFFFFFF) == key) row[x] = fill;
    }
    CopyRect(dest, copy.Canvas(), TRect{0, 0, source.Width(), source.Height()});
}

TRect TCanvas::ClipRect()
{
    TRect r;
    GetClipBox(Handle(), &r);
    return r;
}

// ---------------------------------------------------------------- pens, brushes, fonts

void TFont::Assign(const TPersistent& source)
{
    if (auto* f = dynamic_cast<const TFont*>(&source)) {
        name_ = f->name_;
        height_ = f->height_;
        style_ = f->style_;
        color_ = f->color_;
        escapement_ = f->escapement_;
        pitch_ = f->pitch_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}
TFont::TFont() = default;
void TFont::SetName(const std::string& v)
{
    if (!v.empty()) Change(name_, v);
}
int TFont::Size() const { return -int(std::lround(height_ * 72.0 / 96.0)); }
void TFont::SetSize(int points) { SetHeight(-int(std::lround(points * 96.0 / 72.0))); }
void TFont::SetHeight(int pixels) { Change(height_, pixels); }
void TFont::SetStyle(TFontStyles s) { Change(style_, s); }
void TFont::SetColor(TColor c) { Change(color_, c); }
void TFont::SetEscapement(int t) { Change(escapement_, t); }
void TFont::SetPitch(TFontPitch p) { Change(pitch_, p); }
bool TFont::SameAs(const TFont& o) const
{
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
           escapement_ == o.escapement_ && pitch_ == o.pitch_;
}

void TPen::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TPen*>(&source)) {
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        mode_ = p->mode_;
        handle_ = p->handle_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}
void TPen::SetColor(TColor c)
{
    if (c != color_) DropHandle();
    Change(color_, c);
}
void TPen::SetWidth(int w)
{
    if (w != width_) DropHandle();
    Change(width_, w);
}
void TPen::SetStyle(TPenStyle s)
{
    if (s != style_) DropHandle();
    Change(style_, s);
}
void TPen::SetHandle(HPEN h)
{
    handle_.reset(h);
    if (h) {
        const DWORD st = h->style & PS_STYLE_MASK;
        color_ = TColor(h->color);
        width_ = h->width;
        style_ = st == PS_USERSTYLE || st == PS_ALTERNATE ? psDot : st <= PS_INSIDEFRAME ? TPenStyle(st) : psSolid;
    }
    Changed();
}
void TPen::SetMode(TPenMode m) { Change(mode_, m); }

void TBrush::Assign(const TPersistent& source)
{
    if (auto* b = dynamic_cast<const TBrush*>(&source)) {
        color_ = b->color_;
        style_ = b->style_;
        bitmap_ = b->bitmap_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}
void TBrush::SetColor(TColor c)
{
    if (c == color_ && style_ != bsClear) return;
    color_ = c;
    if (style_ == bsClear) style_ = bsSolid;  // a colour makes a clear brush solid again
    Changed();
}
void TBrush::SetStyle(TBrushStyle s) { Change(style_, s); }
void TBrush::SetBitmap(TBitmap* b) { bitmap_ = b; Changed(); }

}  // namespace platform
