#include "platform/controls/Buttons.h"

#include <algorithm>

#include "platform/controls/FrameControl.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"

namespace platform {

// ---------------------------------------------------------------- TButtonGlyph

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {}
TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(const TBitmap* b)
{
    if (b) glyph_->Assign(*b);
    else glyph_ = std::make_unique<TBitmap>();
    // A strip of square images tells how many it holds.
    if (b && !b->Empty() && b->Height() > 0 && b->Width() % b->Height() == 0) {
        const int n = b->Width() / b->Height();
        numGlyphs_ = n >= 1 && n <= 4 ? n : 1;
    }
}

void TButtonGlyph::SetNumGlyphs(TNumGlyphs n) { numGlyphs_ = std::clamp(n, 1, 4); }

TSize TButtonGlyph::ImageSize() const
{
    if (glyph_->Empty()) return {0, 0};
    return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

void TButtonGlyph::CalcLayout(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption,
                              TButtonLayout layout, int margin, int spacing, TPoint& glyphPos,
                              TRect& textBounds) const
{
    const TSize clientSize{client.Width(), client.Height()};
    const TSize glyph = ImageSize();
    TSize text{0, 0};
    textBounds = Rect(0, 0, clientSize.cx, 0);
    if (!caption.empty()) {
        DrawText(canvas->Handle(), caption, -1, &textBounds, DT_CALCRECT | DT_SINGLELINE);
        text = {textBounds.Width(), textBounds.Height()};
    } else {
        textBounds = {};
    }
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint textPos;
    if (horizontal) {
        glyphPos.Y = (clientSize.cy - glyph.cy + 1) / 2;
        textPos.Y = (clientSize.cy - text.cy + 1) / 2;
    } else {
        glyphPos.X = (clientSize.cx - glyph.cx + 1) / 2;
        textPos.X = (clientSize.cx - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    const int free = horizontal ? clientSize.cx : clientSize.cy;
    const int g = horizontal ? glyph.cx : glyph.cy, t = horizontal ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (free - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = (free - (g + spacing + t) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (free - (margin + g) - t) / 2;
    }
    switch (layout) {
    case blGlyphLeft: glyphPos.X = margin; textPos.X = glyphPos.X + glyph.cx + spacing; break;
    case blGlyphRight: glyphPos.X = clientSize.cx - margin - glyph.cx; textPos.X = glyphPos.X - spacing - text.cx; break;
    case blGlyphTop: glyphPos.Y = margin; textPos.Y = glyphPos.Y + glyph.cy + spacing; break;
    case blGlyphBottom: glyphPos.Y = clientSize.cy - margin - glyph.cy; textPos.Y = glyphPos.Y - spacing - text.cy; break;
    }
    glyphPos.X += client.Left + offset.X;
    glyphPos.Y += client.Top + offset.Y;
    OffsetRect(textBounds, textPos.X + client.Left + offset.X, textPos.Y + client.Top + offset.Y);
}

void TButtonGlyph::DrawGlyph(TCanvas* canvas, int x, int y, TButtonState state) const
{
    const TSize size = ImageSize();
    if (size.cx == 0) return;
    int index = 0;
    switch (state) {
    case bsDisabled: index = numGlyphs_ > 1 ? 1 : -1; break;
    case bsDown: index = numGlyphs_ > 2 ? 2 : 0; break;
    case bsExclusive: index = numGlyphs_ > 3 ? 3 : 0; break;
    default: break;
    }
    // The strip's bottom-left pixel is the colour left out.
    const TColor clear = glyph_->Canvas()->Pixel(0, glyph_->Height() - 1);
    TBitmap image(size.cx, size.cy);
    image.Canvas()->CopyRect(Rect(0, 0, size.cx, size.cy), glyph_->Canvas(),
                             Bounds(std::max(index, 0) * size.cx, 0, size.cx, size.cy));
    if (index >= 0) {
        image.SetTransparentMode(tmFixed);
        image.SetTransparentColor(clear);
        image.SetTransparent(true);
        canvas->Draw(x, y, &image);
        return;
    }
    // No disabled image: the glyph's shape embossed in highlight and shadow.
    for (int pass = 0; pass < 2; ++pass) {
        const TColor c = pass == 0 ? clBtnHighlight : clBtnShadow;
        for (int py = 0; py < size.cy; ++py)
            for (int px = 0; px < size.cx; ++px) {
                const TColor p = image.Canvas()->Pixel(px, py);
                // Light pixels stay out, as the monochrome copy of the platform leaves them.
                const int lum = (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
                if (p != clear && lum < 3 * 0xC0) canvas->SetPixel(x + px + (pass == 0), y + py + (pass == 0), c);
            }
    }
}

TRect TButtonGlyph::Draw(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption,
                         TButtonLayout layout, int margin, int spacing, TButtonState state, bool transparent)
{
    (void)transparent;  // the glyph's left-out colour always shows what is under it
    TPoint glyphPos;
    TRect text;
    CalcLayout(canvas, client, offset, caption, layout, margin, spacing, glyphPos, text);
    DrawGlyph(canvas, glyphPos.X, glyphPos.Y, state);
    if (!caption.empty()) {
        canvas->Brush().SetStyle(bsClear);
        const TColor color = canvas->Font().Color();
        if (state == bsDisabled) {
            TRect light = text;
            OffsetRect(light, 1, 1);
            canvas->Font().SetColor(clBtnHighlight);
            DrawText(canvas->Handle(), caption, -1, &light, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            canvas->Font().SetColor(clBtnShadow);
        }
        DrawText(canvas->Handle(), caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas->Font().SetColor(color);
    }
    return text;
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(Left(), Top(), 23, 22);
    ControlStyle = csCaptureMouse | csDoubleClicks;
    SetParentColor(true);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap* b)
{
    glyph_.SetGlyph(b);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs n)
{
    glyph_.SetNumGlyphs(n);
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int v)
{
    if (v == groupIndex_) return;
    groupIndex_ = v;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v)
{
    if (v == allowAllUp_) return;
    allowAllUp_ = v;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool v)
{
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = v;
    if (v) {
        state_ = bsExclusive;
        UpdateExclusive();
    } else {
        state_ = bsUp;
    }
    Invalidate();
}

void TSpeedButton::SetFlat(bool v)
{
    if (v == flat_) return;
    flat_ = v;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v)
{
    if (v == layout_) return;
    layout_ = v;
    Invalidate();
}

void TSpeedButton::SetMargin(int v)
{
    if (v == margin_ || v < -1) return;
    margin_ = v;
    Invalidate();
}

void TSpeedButton::SetSpacing(int v)
{
    if (v == spacing_) return;
    spacing_ = v;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool v)
{
    if (v == transparent_) return;
    transparent_ = v;
    if (v) ControlStyle &= ~csOpaque;
    else ControlStyle |= csOpaque;
    Invalidate();
}

// Tells the other buttons of the group (on the same parent) that this one is down.
void TSpeedButton::UpdateExclusive()
{
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    default: TGraphicControl::Dispatch(m); break;
    }
}

void TSpeedButton::CMButtonPressed(TMessage& m)
{
    if (int(m.WParam) != groupIndex_) return;
    // Other kinds of button share the notice; only speed buttons are read.
    auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TControl*>(m.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
    }
    allowAllUp_ = sender->AllowAllUp();
}

void TSpeedButton::CMDialogChar(TMessage& m)
{
    if (IsAccel(Word(m.WParam), Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
        Click();
        m.Result = 1;
    }
}

void TSpeedButton::CMMouseEnter(TMessage& m)
{
    TGraphicControl::CMMouseEnter(m);
    if (flat_ && !mouseInControl_ && Enabled() && DragMode != dmAutomatic && !GetCaptureControl()) {
        mouseInControl_ = true;
        Invalidate();
    }
}

void TSpeedButton::CMMouseLeave(TMessage& m)
{
    TGraphicControl::CMMouseLeave(m);
    if (flat_ && mouseInControl_ && Enabled() && !dragging_) {
        mouseInControl_ = false;
        Invalidate();
    }
}

void TSpeedButton::CMEnabledChanged(TMessage& m)
{
    if (!Enabled()) mouseInControl_ = false;
    TGraphicControl::CMEnabledChanged(m);
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TGraphicControl::MouseDown(b, s, x, y);
    if (b != mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = bsDown;
        Invalidate();
    }
    dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState s, int x, int y)
{
    TGraphicControl::MouseMove(s, x, y);
    if (!dragging_) return;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
    TButtonState n = down_ ? bsExclusive : bsUp;
    if (inside) n = down_ ? bsExclusive : bsDown;
    if (n != state_) {
        state_ = n;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    TGraphicControl::MouseUp(b, s, x, y);
    if (!dragging_ || b != mbLeft) return;
    dragging_ = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInControl_ = mouseInControl_ && inside;
        Invalidate();
    } else if (inside) {
        SetDown(!down_);
        Invalidate();
    } else {
        if (down_) state_ = bsExclusive;
        Invalidate();
    }
    if (inside) Click();
}

void TSpeedButton::Paint()
{
    if (!Enabled()) {
        state_ = bsDisabled;
        dragging_ = false;
    } else if (state_ == bsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
    }
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    TRect r = ClientRect();
    const bool pushed = state_ == bsDown || state_ == bsExclusive;
    if (!flat_) {
        DrawFrameControl(c->Handle(), &r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? UINT(DFCS_PUSHED) : 0u));
    } else {
        if (!transparent_) {
            c->Brush().SetStyle(bsSolid);
            c->Brush().SetColor(Color());
            c->FillRect(r);
        }
        if (pushed || (mouseInControl_ && state_ != bsDisabled)) {
            TRect e = r;
            DrawEdge(c->Handle(), e, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        InflateRect(r, -1, -1);
    }
    TPoint offset{0, 0};
    if (pushed) {
        if (state_ == bsExclusive && (!flat_ || !mouseInControl_)) {
            c->Brush().SetBitmap(LatchPattern());
            c->FillRect(r);
            c->Brush().SetBitmap(nullptr);
        }
        offset = {1, 1};
    }
    glyph_.Draw(c, r, offset, Caption(), layout_, margin_, spacing_, state_, transparent_);
}

// ---------------------------------------------------------------- TBitBtn

namespace {
struct KindInfo {
    const char* caption;
    TModalResult result;
    bool isDefault, isCancel;
};
const KindInfo kKinds[] = {
    {"", mrNone, false, false},         {"OK", mrOk, true, false},        {"Cancel", mrCancel, false, true},
    {"&Help", mrNone, false, false},    {"&Yes", mrYes, true, false},     {"&No", mrNo, false, true},
    {"&Close", mrNone, false, false},   {"Abort", mrAbort, false, true},  {"&Retry", mrRetry, false, false},
    {"&Ignore", mrIgnore, false, false}, {"&All", mrAll, true, false}};
}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}
TBitBtn::~TBitBtn() = default;

void TBitBtn::SetKind(TBitBtnKind k)
{
    if (k == kind_) return;
    kind_ = k;
    if (k == bkCustom) return;
    const KindInfo& info = kKinds[k];
    SetCaption(info.caption);
    ModalResult = info.result;
    SetDefault(info.isDefault);
    Cancel = info.isCancel;
}

void TBitBtn::SetGlyph(const TBitmap* b)
{
    glyph_.SetGlyph(b);
    Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs n)
{
    glyph_.SetNumGlyphs(n);
    Invalidate();
}

void TBitBtn::Click()
{
    if (kind_ == bkClose)
        if (TCustomForm* f = GetParentForm(this)) {
            f->Close();
            return;
        }
    TButton::Click();
}

void TBitBtn::Paint()
{
    const TRect r = PaintFace();
    const TButtonState bs = !Enabled() ? bsDisabled : Pressed() ? bsDown : bsUp;
    const TPoint offset = Pressed() ? TPoint{1, 1} : TPoint{0, 0};
    glyph_.Draw(Canvas(), r, offset, Caption(), Layout, Margin, Spacing, bs, true);
    PaintFocus(r);
}

}  // namespace platform
