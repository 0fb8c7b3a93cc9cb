#include "platform/controls/StdCtrls.h"

#include <algorithm>
#include <cctype>

#include "platform/controls/FrameControl.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"

namespace platform {

namespace {

// The character after the first single '&', or 0.
char Hotkey(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') return caption[i + 1];
            ++i;
        }
    return 0;
}

constexpr int kBoxSize = 13;  // check and radio box

}  // namespace

bool IsAccel(Word key, const std::string& caption)
{
    const char h = Hotkey(caption);
    return h && key < 256 && std::toupper((unsigned char)h) == std::toupper(int(key));
}

std::string StripHotkey(const std::string& caption)
{
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == '&') continue;
        out += caption[i];
    }
    return out;
}

// ---------------------------------------------------------------- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle |= csOpaque | csReplicatable;
    SetBounds(Left(), Top(), 65, 17);
    SetParentColor(true);
}

void TCustomLabel::SetFocusControl(TWinControl* c)
{
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = c;
    if (c) c->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::SetShowAccelChar(bool v)
{
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v)
{
    if (v == Transparent()) return;
    if (v) ControlStyle &= ~csOpaque;
    else ControlStyle |= csOpaque;
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment a)
{
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout l)
{
    if (l == layout_) return;
    layout_ = l;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool v)
{
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool v)
{
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags)
{
    std::string text = GetLabelText();
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    c->Brush().SetStyle(bsClear);
    if (!Enabled() && !(flags & DT_CALCRECT)) {
        // Embossed: a light copy one pixel down-right, the shadow colour on top.
        TRect r = rect;
        OffsetRect(r, 1, 1);
        c->Font().SetColor(clBtnHighlight);
        DrawText(c->Handle(), text, -1, &r, flags);
        c->Font().SetColor(clBtnShadow);
    }
    DrawText(c->Handle(), text, -1, &rect, flags);
}

void TCustomLabel::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(Color());
        c->FillRect(client);
    }
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT flags = DT_EXPANDTABS | kAlign[alignment_] | (wordWrap_ ? UINT(DT_WORDBREAK) : 0u);
    TRect r = client;
    if (layout_ != tlTop) {
        TRect calc = client;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int dy = client.Height() - calc.Height();
        OffsetRect(r, 0, layout_ == tlBottom ? dy : dy / 2);
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (!autoSize_) return;
    TBitmap measure(1, 1);
    TRect r = Rect(0, 0, wordWrap_ ? Width() : 0, 0);
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? UINT(DT_WORDBREAK) : 0u);
    std::string text = GetLabelText();
    if (text.empty() || (showAccelChar_ && text == "&")) text += ' ';
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    measure.Canvas()->Font().Assign(*Font());
    DrawText(measure.Canvas()->Handle(), text, -1, &r, flags);
    int x = Left();
    if (alignment_ == taRightJustify) x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) CMDialogChar(m);
    else TGraphicControl::Dispatch(m);
}

void TCustomLabel::CMDialogChar(TMessage& m)
{
    if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(Word(m.WParam), GetLabelText()) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}

void TCustomLabel::CMTextChanged(TMessage& m)
{
    AdjustBounds();
    TGraphicControl::CMTextChanged(m);
}

void TCustomLabel::CMFontChanged(TMessage& m)
{
    AdjustBounds();
    TGraphicControl::CMFontChanged(m);
}

// ---------------------------------------------------------------- TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetParentColor(true);
}

void TButtonControl::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) CMDialogChar(m);
    else TCustomControl::Dispatch(m);
}

void TButtonControl::CMDialogChar(TMessage& m)
{
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Click();
        m.Result = 1;
    }
}

void TButtonControl::SetPressed(bool v)
{
    if (v == pressed_) return;
    pressed_ = v;
    Invalidate();
}

void TButtonControl::WMGetDlgCode(TWMGetDlgCode& m) { m.Result = 0; }

void TButtonControl::WMKeyDown(TWMKeyDown& m)
{
    TCustomControl::WMKeyDown(m);
    if (m.CharCode() == VK_SPACE && !spaceDown_) {
        spaceDown_ = true;
        SetPressed(true);
    }
}

void TButtonControl::WMKeyUp(TWMKeyUp& m)
{
    TCustomControl::WMKeyUp(m);
    if (m.CharCode() == VK_SPACE && spaceDown_) {
        spaceDown_ = false;
        SetPressed(false);
        Click();
    }
}

void TButtonControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) {
        if (!Focused() && CanFocus()) SetFocus();
        mouseDown_ = true;
        SetPressed(true);
    }
    TCustomControl::MouseDown(b, s, x, y);
}

void TButtonControl::MouseMove(TShiftState s, int x, int y)
{
    if (mouseDown_) SetPressed(PtInRect(ClientRect(), {x, y}));
    TCustomControl::MouseMove(s, x, y);
}

void TButtonControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) {
        mouseDown_ = false;
        SetPressed(false);
    }
    TCustomControl::MouseUp(b, s, x, y);
}

void TButtonControl::CMEnter(TMessage& m)
{
    Invalidate();
    TCustomControl::CMEnter(m);
}

void TButtonControl::CMExit(TMessage& m)
{
    spaceDown_ = false;
    SetPressed(false);
    Invalidate();
    TCustomControl::CMExit(m);
}

void TButtonControl::DrawCaption(TRect r, UINT flags, bool enabled)
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    c->Brush().SetStyle(bsClear);
    const std::string text = Caption();
    if (!enabled) {
        TRect light = r;
        OffsetRect(light, 1, 1);
        c->Font().SetColor(clBtnHighlight);
        DrawText(c->Handle(), text, -1, &light, flags);
        c->Font().SetColor(clBtnShadow);
    }
    DrawText(c->Handle(), text, -1, &r, flags);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(Left(), Top(), 75, 25);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TButton::SetDefault(bool v)
{
    if (v == default_) return;
    default_ = v;
    Invalidate();
}

void TButton::Click()
{
    if (ModalResult != 0)
        if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(ModalResult);
    TButtonControl::Click();
}

void TButton::CMDialogKey(TCMDialogKey& m)
{
    // Enter clicks the focused button, or the default one when no button has the focus.
    const Word key = m.CharCode();
    const bool active = Focused() || (default_ && !dynamic_cast<TButton*>(FindFocusedControl()));
    if (((key == VK_RETURN && active) || (key == VK_ESCAPE && Cancel)) && Enabled() && Showing() &&
        KeyDataToShiftState(m.KeyData()) == 0) {
        Click();
        m.Result = 1;
        return;
    }
    TButtonControl::CMDialogKey(m);
}

TRect TButton::PaintFace()
{
    TCanvas* c = Canvas();
    c->Font().Assign(*Font());
    TRect r = ClientRect();
    // The default (or focused) button has a dark frame round its face.
    if (Focused() || (default_ && Enabled())) {
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor(clWindowFrame);
        c->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (Pressed()) state |= DFCS_PUSHED;
    if (!Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(c->Handle(), &r, DFC_BUTTON, state);
    return r;
}

void TButton::PaintFocus(TRect face)
{
    if (!Focused()) return;
    InflateRect(face, -2, -2);
    Canvas()->DrawFocusRect(face);
}

void TButton::Paint()
{
    const TRect r = PaintFace();
    TRect text = r;
    if (Pressed()) OffsetRect(text, 1, 1);
    DrawCaption(text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled());
    PaintFocus(r);
}

// ---------------------------------------------------------------- check box and radio button

namespace {

// The box at the side that alignment leaves it, the caption rectangle beside it.
void BoxLayout(const TRect& client, TAlignment alignment, TRect& box, TRect& caption)
{
    const int top = client.Top + (client.Height() - kBoxSize) / 2;
    if (alignment == taLeftJustify) {
        box = Bounds(client.Right - kBoxSize, top, kBoxSize, kBoxSize);
        caption = Rect(client.Left, client.Top, box.Left - 4, client.Bottom);
    } else {
        box = Bounds(client.Left, top, kBoxSize, kBoxSize);
        caption = Rect(box.Right + 4, client.Top, client.Right, client.Bottom);
    }
}

void PaintBoxAndCaption(TButtonControl* b, TCanvas* c, TAlignment alignment, UINT boxState,
                        const std::function<void(TRect, UINT)>& caption)
{
    const TRect client = b->ClientRect();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(b->Color());
    c->FillRect(client);
    TRect box, text;
    BoxLayout(client, alignment, box, text);
    if (b->Pressed()) boxState |= DFCS_PUSHED;
    if (!b->Enabled()) boxState |= DFCS_INACTIVE;
    DrawFrameControl(c->Handle(), &box, DFC_BUTTON, boxState);
    const UINT flags = DT_VCENTER | DT_SINGLELINE | (alignment == taLeftJustify ? UINT(DT_RIGHT) : UINT(DT_LEFT));
    caption(text, flags);
    if (b->Focused() && !b->Caption().empty()) {
        TRect calc = text;
        c->Font().Assign(*b->Font());
        DrawText(c->Handle(), b->Caption(), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
        const int w = calc.Width(), h = calc.Height();
        TRect focus = Bounds(alignment == taLeftJustify ? text.Right - w : text.Left,
                             text.Top + (text.Height() - h) / 2, w, h);
        InflateRect(focus, 1, 1);
        c->DrawFocusRect(focus);
    }
}

}  // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(Left(), Top(), 97, 17);
}

void TCustomCheckBox::SetAlignment(TAlignment a)
{
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TCustomCheckBox::SetState(TCheckBoxState s)
{
    if (s == state_) return;
    state_ = s;
    Invalidate();
    TButtonControl::Click();  // OnClick, as for the user's click
}

void TCustomCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(AllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::Click() { Toggle(); }

void TCustomCheckBox::Paint()
{
    UINT state = DFCS_BUTTONCHECK;
    if (state_ == cbChecked) state |= DFCS_CHECKED;
    if (state_ == cbGrayed) state |= DFCS_CHECKED | DFCS_BUTTON3STATE | DFCS_INACTIVE;
    PaintBoxAndCaption(this, Canvas(), alignment_, state,
                       [this](TRect r, UINT flags) { DrawCaption(r, flags, Enabled()); });
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(Left(), Top(), 113, 17);
}

void TRadioButton::SetAlignment(TAlignment a)
{
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TRadioButton::SetChecked(bool v)
{
    if (v == checked_) return;
    checked_ = v;
    SetTabStop(v);
    Invalidate();
    if (!v) return;
    if (TWinControl* p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(p->Controls(i)); other && other != this)
                other->SetChecked(false);
    TButtonControl::Click();
}

void TRadioButton::Click() { SetChecked(true); }

void TRadioButton::Paint()
{
    PaintBoxAndCaption(this, Canvas(), alignment_, DFCS_BUTTONRADIO | (checked_ ? UINT(DFCS_CHECKED) : 0u),
                       [this](TRect r, UINT flags) { DrawCaption(r, flags, Enabled()); });
}

// ---------------------------------------------------------------- TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle |= csAcceptsControls;
    SetBounds(Left(), Top(), 185, 105);
    SetParentColor(true);
}

int TCustomGroupBox::CaptionHeight()
{
    Canvas()->Font().Assign(*Font());
    return Canvas()->TextHeight("0");
}

void TCustomGroupBox::AdjustClientRect(TRect& rect)
{
    rect.Top += CaptionHeight();
    InflateRect(rect, -2, -2);
}

void TCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Color());
    c->FillRect(client);
    const int h = CaptionHeight();
    TRect frame = Rect(client.Left, client.Top + h / 2, client.Right, client.Bottom);
    DrawEdge(c->Handle(), frame, EDGE_ETCHED, BF_RECT);
    if (Caption().empty()) return;
    TRect text = Rect(0, 0, 0, 0);
    DrawText(c->Handle(), Caption(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    text = Bounds(8, client.Top, text.Width() + 2, h);
    c->FillRect(text);  // the caption interrupts the frame
    c->Brush().SetStyle(bsClear);
    if (!Enabled()) c->Font().SetColor(clGrayText);
    OffsetRect(text, 1, 0);
    DrawText(c->Handle(), Caption(), -1, &text, DT_LEFT | DT_SINGLELINE);
}

void TCustomGroupBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR && IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        // The first control inside that takes the focus.
        std::vector<TWinControl*> list;
        GetTabOrderList(list);
        for (TWinControl* w : list)
            if (w->TabStop() && w->CanFocus()) {
                w->SetFocus();
                m.Result = 1;
                return;
            }
    }
    TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------- TScrollBar

namespace {
constexpr UINT kRepeatTimer = 1;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
    SetColor(clScrollBar);
}

void TScrollBar::SetKind(TScrollBarKind k)
{
    if (k == kind_) return;
    kind_ = k;
    SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TScrollBar::SetPageSize(int v)
{
    pageSize_ = std::clamp(v, 0, std::max(0, max_ - min_ + 1));
    SetParams(position_, min_, max_);
    Invalidate();
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min) throw base::EInvalidOperation("Scroll bar property out of range");
    const int top = std::max(min, max - std::max(pageSize_ - 1, 0));
    position = std::clamp(position, min, top);
    const bool changed = position != position_;
    if (min != min_ || max != max_ || changed) Invalidate();
    min_ = min;
    max_ = max;
    position_ = position;
    if (changed) Change();
}

void TScrollBar::Change()
{
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int& pos)
{
    if (OnScroll) OnScroll(this, code, pos);
}

void TScrollBar::DoScroll(TScrollCode code, int pos)
{
    int p = position_;
    switch (code) {
    case scLineUp: p -= SmallChange; break;
    case scLineDown: p += SmallChange; break;
    case scPageUp: p -= LargeChange; break;
    case scPageDown: p += LargeChange; break;
    case scPosition: case scTrack: p = pos; break;
    case scTop: p = min_; break;
    case scBottom: p = max_; break;
    case scEndScroll: break;
    }
    p = std::clamp(p, min_, std::max(min_, max_ - std::max(pageSize_ - 1, 0)));
    Scroll(code, p);
    SetPosition(p);
}

int TScrollBar::ArrowLength() const
{
    const int along = kind_ == sbHorizontal ? Width() : Height();
    const int across = kind_ == sbHorizontal ? Height() : Width();
    return std::min(across, along / 2);
}

TRect TScrollBar::ArrowRect(bool up)
{
    const int a = ArrowLength();
    if (kind_ == sbHorizontal) return up ? Rect(0, 0, a, Height()) : Rect(Width() - a, 0, Width(), Height());
    return up ? Rect(0, 0, Width(), a) : Rect(0, Height() - a, Width(), Height());
}

TRect TScrollBar::ThumbRect()
{
    const int a = ArrowLength();
    const int along = kind_ == sbHorizontal ? Width() : Height();
    const int track = along - 2 * a;
    const int range = max_ - min_ + 1;
    int thumb = pageSize_ > 0 ? track * pageSize_ / std::max(1, range) : (kind_ == sbHorizontal ? Height() : Width());
    thumb = std::clamp(thumb, std::min(8, track), std::max(0, track));
    const int span = std::max(1, max_ - std::max(pageSize_ - 1, 0) - min_);
    const int start = a + (track - thumb) * (position_ - min_) / span;
    if (track <= 0 || max_ == min_) return {};
    return kind_ == sbHorizontal ? Rect(start, 0, start + thumb, Height()) : Rect(0, start, Width(), start + thumb);
}

void TScrollBar::Paint()
{
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    const TRect client = ClientRect();
    // The track in the checker of face and highlight, unless given a colour of its own.
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(Color());
    if (Color() == clScrollBar) c->Brush().SetBitmap(LatchPattern());
    c->FillRect(client);
    c->Brush().SetBitmap(nullptr);
    const UINT inactive = Enabled() && max_ > min_ ? 0u : UINT(DFCS_INACTIVE);
    TRect up = ArrowRect(true), down = ArrowRect(false);
    const bool pushedUp = repeating_ && repeat_ == scLineUp, pushedDown = repeating_ && repeat_ == scLineDown;
    DrawFrameControl(dc, &up, DFC_SCROLL,
                     (kind_ == sbHorizontal ? DFCS_SCROLLLEFT : DFCS_SCROLLUP) | inactive | (pushedUp ? DFCS_PUSHED : 0u));
    DrawFrameControl(dc, &down, DFC_SCROLL,
                     (kind_ == sbHorizontal ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN) | inactive |
                         (pushedDown ? DFCS_PUSHED : 0u));
    TRect thumb = ThumbRect();
    if (!inactive && !IsRectEmpty(thumb)) DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
    if (Focused() && !IsRectEmpty(thumb)) {
        InflateRect(thumb, -3, -3);
        c->DrawFocusRect(thumb);
    }
}

void TScrollBar::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TCustomControl::MouseDown(b, s, x, y);
    if (b != mbLeft || !Enabled()) return;
    if (TabStop() && CanFocus() && !Focused()) SetFocus();
    const TPoint p{x, y};
    const TRect thumb = ThumbRect();
    if (PtInRect(thumb, p)) {
        dragOffset_ = kind_ == sbHorizontal ? x - thumb.Left : y - thumb.Top;
        return;
    }
    if (PtInRect(ArrowRect(true), p)) repeat_ = scLineUp;
    else if (PtInRect(ArrowRect(false), p)) repeat_ = scLineDown;
    else if (kind_ == sbHorizontal ? x < thumb.Left : y < thumb.Top) repeat_ = scPageUp;
    else repeat_ = scPageDown;
    repeating_ = true;
    DoScroll(repeat_, 0);
    SetTimer(kRepeatTimer, 400);
    Invalidate();
}

void TScrollBar::MouseMove(TShiftState s, int x, int y)
{
    TCustomControl::MouseMove(s, x, y);
    if (dragOffset_ < 0) return;
    const TRect thumb = ThumbRect();
    const int a = ArrowLength();
    const int along = kind_ == sbHorizontal ? Width() : Height();
    const int thumbLen = kind_ == sbHorizontal ? thumb.Width() : thumb.Height();
    const int free = std::max(1, along - 2 * a - thumbLen);
    const int at = (kind_ == sbHorizontal ? x : y) - dragOffset_ - a;
    const int span = max_ - std::max(pageSize_ - 1, 0) - min_;
    const int pos = min_ + (std::clamp(at, 0, free) * span + free / 2) / free;
    if (pos != position_) DoScroll(scTrack, pos);
}

void TScrollBar::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) {
        if (dragOffset_ >= 0) {
            dragOffset_ = -1;
            DoScroll(scPosition, position_);
        }
        if (repeating_) {
            repeating_ = false;
            KillTimer(kRepeatTimer);
            Invalidate();
        }
        DoScroll(scEndScroll, position_);
    }
    TCustomControl::MouseUp(b, s, x, y);
}

void TScrollBar::WMTimer(TWMTimer& m)
{
    if (m.TimerID() != kRepeatTimer) {
        TCustomControl::WMTimer(m);
        return;
    }
    SetTimer(kRepeatTimer, 100);
    if (repeating_) DoScroll(repeat_, 0);
}

void TScrollBar::KeyDown(Word& key, TShiftState s)
{
    TCustomControl::KeyDown(key, s);
    const bool h = kind_ == sbHorizontal;
    switch (key) {
    case VK_LEFT: case VK_UP: if ((key == VK_LEFT) == h) DoScroll(scLineUp, 0); break;
    case VK_RIGHT: case VK_DOWN: if ((key == VK_RIGHT) == h) DoScroll(scLineDown, 0); break;
    case VK_PRIOR: DoScroll(scPageUp, 0); break;
    case VK_NEXT: DoScroll(scPageDown, 0); break;
    case VK_HOME: DoScroll(scTop, 0); break;
    case VK_END: DoScroll(scBottom, 0); break;
    default: return;
    }
    DoScroll(scEndScroll, position_);
}

}  // namespace platform
