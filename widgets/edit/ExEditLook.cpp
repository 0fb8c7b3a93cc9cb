// The typed edit's label, colours of its states, borders, prompt, error marks, link
// look, mouse and dragging of text.
#include <algorithm>

#include "base/StrUtils.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Shell.h"
#include "widgets/edit/ExEdDD.h"
#include "widgets/edit/ExEdit.h"

namespace edit {

using namespace platform;

// The edit's drop target: a caret that follows the mouse, the first line of dropped text.
class TEditDropTarget : public TAEDropTarget {
public:
    explicit TEditDropTarget(TExEdit* e) : edit_(e) {}
    void DropText(TPoint screen, const std::string& text) override;
    void DragMouseMove(TPoint screen, bool& allow, TDropFormats formats) override;
    HRESULT DragLeave() override;

private:
    TExEdit* edit_;
};


// ---------------------------------------------------------------- label

void TExEdit::SetLabelCaption(const std::string& s)
{
    label_.UseLabelFont = !ParentFont();
    label_.SetCaption(s);
}

void TExEdit::SetLabelPosition(TLabelPosition p)
{
    label_.Position = p;
    label_.Place();
}

void TExEdit::SetLabelMargin(int m)
{
    label_.Margin = m;
    label_.Place();
}

void TExEdit::SetLabelTransparent(bool v)
{
    label_.Transparent = v;
    label_.Place();
}

void TExEdit::SetLabelAlwaysEnabled(bool v)
{
    label_.AlwaysEnabled = v;
    if (v && Label()) Label()->SetEnabled(true);
    Invalidate();
}

void TExEdit::SetBounds(int l, int t, int w, int h)
{
    TCustomEdit::SetBounds(l, t, w, h);
    label_.Place();
    if (HandleAllocated()) SetFlatRect(flat_);
}

void TExEdit::SetParent(TWinControl* p)
{
    TCustomEdit::SetParent(p);
    label_.SetParent(p);
}

void TExEdit::SetVisible(bool v)
{
    TCustomEdit::SetVisible(v);
    label_.SetVisible(v);
}

// ---------------------------------------------------------------- colours and states

void TExEdit::SetColor(TColor c)
{
    TControl::SetColor(c);
    normalColor_ = c;
}

void TExEdit::SetEnabled(bool e)
{
    const bool was = Enabled();
    TCustomEdit::SetEnabled(e);
    if (was == e) return;
    if (e) {
        TControl::SetColor(normalColor_);
    } else {
        normalColor_ = Color();
        TControl::SetColor(disabledColor_);
    }
    label_.SetEnabled(e);
}

void TExEdit::SetDisabledColor(TColor c)
{
    disabledColor_ = c;
    if (!Enabled()) TControl::SetColor(c);
    Invalidate();
}

void TExEdit::SetFlatLineColor(TColor c)
{
    flatLineColor_ = c;
    Invalidate();
}

void TExEdit::SetSoftBorder(bool v)
{
    if (v == softBorder_) return;
    softBorder_ = v;
    Invalidate();
}

void TExEdit::SetFocusBorder(bool v)
{
    focusBorder_ = v;
    Invalidate();
}

void TExEdit::SetBorder3D(bool v)
{
    border3D_ = v;
    Invalidate();
}

void TExEdit::SetEmptyText(const std::string& s)
{
    emptyText_ = s;
    Invalidate();
}

void TExEdit::SetErrorMarker(int pos, int len)
{
    errorMarkerPos_ = pos;
    errorMarkerLen_ = len;
    Invalidate();
}

void TExEdit::Init()
{
    normalColor_ = Color();
    normalFontColor_ = Font()->Color();
    savedBorder_ = BorderStyle();
    const bool f = flat_;
    flat_ = !f;
    SetFlat(f);
    label_.Place();
    if (!Enabled()) {
        normalColor_ = Color();
        TControl::SetColor(disabledColor_);
    }
}

void TExEdit::SetFlat(bool v)
{
    if (v == flat_) return;
    flat_ = v;
    if (v) {
        const TColor remembered = Color();
        if (FlatParentColor && Parent()) {
            TControl::SetColor(Parent()->Color());
            FocusColor = Parent()->Color();
        }
        normalColor_ = remembered;
        savedBorder_ = BorderStyle();
        SetBorderStyle(bsNone);
    } else {
        TControl::SetColor(normalColor_);
        SetBorderStyle(savedBorder_);
    }
    SetFlatRect(v);
    Invalidate();
}

void TExEdit::SetFlatRect(bool flat)
{
    if (!HandleAllocated()) return;
    const TRect c = ClientRect();
    const TRect r = flat ? Rect(LeftReserve + 2, 4, c.Right - RightReserve - 2, c.Bottom - 4)
                         : Rect(LeftReserve, 0, c.Right - RightReserve, c.Bottom);
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TExEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetFlatRect(flat_);
    if (dropTargetOn_ && !dropRegistered_) SetOleDropTarget(true);
}

void TExEdit::DestroyWnd()
{
    SavePersist();
    if (dropRegistered_) {
        RevokeDragDrop(this);
        dropRegistered_ = false;
    }
    TCustomEdit::DestroyWnd();
}

void TExEdit::WMSize(TWMSize& m)
{
    TCustomEdit::WMSize(m);
    SetFlatRect(flat_);
}

void TExEdit::CMFontChanged(TMessage& m)
{
    TCustomEdit::CMFontChanged(m);
    SetFlatRect(flat_);
}

// ---------------------------------------------------------------- link look

void TExEdit::SetShowURL(bool v)
{
    showURL_ = v;
    ApplyURL(v && TestURL());
}

bool TExEdit::TestURL() const
{
    const std::string v = GetText();
    const std::size_t at = v.find('@');
    return v.find("://") != std::string::npos || (at != std::string::npos && at > 0) ||
           base::LowerCase(v).rfind("www.", 0) == 0;
}

void TExEdit::ApplyURL(bool on)
{
    if (on) {
        Font()->SetStyle(Font()->Style() | fsUnderline);
        Font()->SetColor(URLColor);
        urlShown_ = true;
        SetCursor(crHandPoint);
    } else {
        Font()->SetStyle(Font()->Style() & ~TFontStyles(fsUnderline));
        if (urlShown_) Font()->SetColor(normalFontColor_);
        urlShown_ = false;
        SetCursor(crDefault);
    }
    Invalidate();
}

// ---------------------------------------------------------------- painting

TFlatLook TExEdit::Look() const
{
    TFlatLook l;
    l.flat = flat_;
    l.focusBorder = focusBorder_;
    l.softBorder = softBorder_;
    l.border3D = border3D_;
    l.mouseInside = mouseInside_;
    l.focused = Focused();
    l.lineColor = flatLineColor_;
    return l;
}

void TExEdit::DrawBorder(TCanvas* c) { DrawEditBorder(c, this, Look()); }

void TExEdit::DrawErrorMarkers(TCanvas* c)
{
    const std::string v = GetText();
    const int p = errorMarkerPos_, n = errorMarkerLen_, len = int(v.size());
    const TRect r = ClientRect();
    TPoint start = PosFromChar(ValueStart() + std::min(p, len));
    if (p >= len) start.X += 4;
    TPoint end = PosFromChar(ValueStart() + std::max(0, std::min(p + n, len) - (p + n < len ? 1 : 0)));
    if (p + n >= len) {
        end = PosFromChar(ValueStart() + std::max(0, len - 1));
        end.X += 4;
    }
    c->Font().Assign(*Font());
    const int t = c->TextHeight("gh");
    c->Pen().SetColor(clRed);
    c->Pen().SetWidth(2);
    c->MoveTo(r.Left + start.X, r.Top + start.Y + t + 2);
    int d = 0, x = start.X;
    for (; x <= end.X; x += 3) {
        c->LineTo(r.Left + x + 3, r.Top + end.Y + t - 1 + d);
        d = d ? 0 : 3;
    }
    c->LineTo(r.Left + x + 3, r.Top + end.Y + t - 1 + d);
    c->Pen().SetWidth(1);
}

void TExEdit::PaintWindow(HDC dc)
{
    TCustomEdit::PaintWindow(dc);
    auto* canvas = static_cast<TControlCanvas*>(Canvas());
    canvas->PaintOn(dc, [&] {
        TCanvas* c = canvas;
        if (flat_) {
            const TRect r = FormatRect();
            DrawFlatLook(c, this, Look(), r.Left + LeftReserve - 2, Width() - RightReserve, r.Top - 4);
        }
        if (insertCaret_.X != -1 || insertCaret_.Y != -1) {
            c->Brush().SetColor(Font()->Color());
            c->FillRect(Rect(insertCaret_.X, insertCaret_.Y, insertCaret_.X + 1, insertCaret_.Y - Font()->Height()));
        }
        if (GetText().empty() && !Focused() && !emptyText_.empty()) {
            c->Font().Assign(*Font());
            c->Font().SetColor(0x808080);
            c->Brush().SetStyle(bsClear);
            c->TextOut(2, 2, emptyText_);
            c->Brush().SetStyle(bsSolid);
        }
        if (!Focused() && errorMarkerLen_ > 0) DrawErrorMarkers(c);
        if (border3D_) DrawBorder(c);
    });
}

// ---------------------------------------------------------------- mouse

void TExEdit::CMMouseEnter(TMessage& m)
{
    TCustomEdit::CMMouseEnter(m);
    if (AutoFocus && CanFocus()) SetFocus();
    if (!mouseInside_ && Enabled()) {
        mouseInside_ = true;
        if (focusBorder_) Invalidate();
    }
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExEdit::CMMouseLeave(TMessage& m)
{
    TCustomEdit::CMMouseLeave(m);
    if (mouseInside_ && Enabled()) {
        mouseInside_ = false;
        if (focusBorder_) Invalidate();
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExEdit::CMHintShow(TCMHintShow& m)
{
    if (HintShowLargeText && GetTextSize() > Width()) {
        THintInfo* info = HintInfoOf(m);
        info->HintStr = GetText();
        info->HintPos = ClientToScreen(Point(0, 0));
    }
    TCustomEdit::CMHintShow(m);
}

void TExEdit::WMLButtonDown(TWMMouse& m)
{
    if (urlShown_ && Focused()) {
        bool show = true;
        if (OnURLClick) OnURLClick(this, GetText(), show);
        if (show) ShellExecute(Handle(), "open", GetText(), "", "", SW_SHOWNORMAL);
    }
    if (OleDropSource && Focused() && SelLength() > 0) {
        const int ch = CharFromPos(m.Pos());
        if (ch >= SelStart() && ch <= SelStart() + SelLength()) {
            dragArmed_ = true;  // the selection stays for the drag
            return;
        }
    }
    TCustomEdit::WMLButtonDown(m);
}

void TExEdit::WMMouseMove(TWMMouseMove& m)
{
    if (dragArmed_ && SelLength() > 0 && (m.Keys() & MK_LBUTTON)) {
        dragArmed_ = false;
        const std::string text = SelText();
        int effect = DROPEFFECT_NONE;
        ownDrag_ = true;
        const HRESULT r = StartTextDoDragDrop(this, text, "", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        ownDrag_ = false;
        if (r == DRAGDROP_S_DROP && effect == DROPEFFECT_MOVE) {
            ClearSelection();
            SetModified(true);
        }
        EraseCaret();
        Invalidate();
        return;
    }
    TCustomEdit::WMMouseMove(m);
}

void TExEdit::WMLButtonUp(TWMMouse& m)
{
    if (dragArmed_) {
        dragArmed_ = false;
        SetSelStart(CharFromPos(m.Pos()));
    }
    TCustomEdit::WMLButtonUp(m);
    if (!prefix_.empty() && CaretIndex() < ValueStart()) SelectAll();
    if (!suffix_.empty()) {
        const int end = ValueEnd();
        if (SelLength() == 0 && CaretIndex() > end) SetSelStart(end);
        else if (SelStart() + SelLength() > end) Perform(EM_SETSEL, WPARAM(SelStart()), LPARAM(end));
    }
}

// ---------------------------------------------------------------- dropping

void TExEdit::SetOleDropTarget(bool on)
{
    dropTargetOn_ = on;
    if (on && !dropRegistered_ && HandleAllocated()) {
        if (!dropTarget_) dropTarget_ = std::make_shared<TEditDropTarget>(this);
        dropRegistered_ = RegisterDragDrop(this, dropTarget_);
    } else if (!on && dropRegistered_) {
        RevokeDragDrop(this);
        dropRegistered_ = false;
    }
}

void TExEdit::EraseCaret()
{
    if (insertCaret_.X == -1 && insertCaret_.Y == -1) return;
    InvalidateRect(Rect(insertCaret_.X, insertCaret_.Y, insertCaret_.X + 1, insertCaret_.Y - Font()->Height()));
    insertCaret_ = Point(-1, -1);
}

void TExEdit::SetCaretByCursor()
{
    TPoint p;
    GetCursorPos(p);
    SetSelStart(CharFromPos(ScreenToClient(p)));
}

void TExEdit::SetTransparent(bool v)
{
    if (v == transparent_) return;
    transparent_ = v;
    if (HandleAllocated()) RecreateWnd();
    Invalidate();
}

void TExEdit::WMEraseBkgnd(TWMEraseBkgnd& m)
{
    if (!transparent_) {
        TCustomEdit::WMEraseBkgnd(m);
        return;
    }
    // The parent erases the area under the edit and paints its graphic controls there, in
    // its own coordinates.
    HDC dc = m.DC();
    if (dc && Parent()) {
        const int saved = SaveDC(dc);
        TPoint org;
        GetWindowOrgEx(dc, &org);
        SetWindowOrgEx(dc, org.X + Left() + FrameWidth(), org.Y + Top() + FrameWidth(), nullptr);
        Parent()->Perform(WM_ERASEBKGND, WPARAM(dc));
        Parent()->PaintControls(dc, nullptr);
        RestoreDC(dc, saved);
    }
    m.Result = 1;
}

void TExEdit::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    if (transparent_) params.ExStyle |= WS_EX_TRANSPARENT;
}

void TExEdit::DrawCaretByCursor(TPoint client)
{
    const TPoint p = PosFromChar(CharFromPos(client));
    if (p.X == insertCaret_.X && p.Y == insertCaret_.Y) return;
    EraseCaret();
    insertCaret_ = p;
    InvalidateRect(Rect(p.X, p.Y, p.X + 1, p.Y - Font()->Height()));
}

void TEditDropTarget::DragMouseMove(TPoint screen, bool& allow, TDropFormats formats)
{
    TAEDropTarget::DragMouseMove(screen, allow, formats);
    edit_->DrawCaretByCursor(edit_->ScreenToClient(screen));
}

HRESULT TEditDropTarget::DragLeave()
{
    edit_->EraseCaret();
    return S_OK;
}

void TEditDropTarget::DropText(TPoint screen, const std::string& dropped)
{
    TAEDropTarget::DropText(screen, dropped);
    std::string text = dropped.substr(0, dropped.find('\r'));
    text = text.substr(0, text.find('\n'));
    TExEdit* e = edit_;
    int ch = e->CharFromPos(e->ScreenToClient(screen));
    const int s = e->SelStart(), n = e->SelLength();
    e->EraseCaret();
    if (e->ownDrag_ && ch >= s && ch <= s + n) {  // onto its own selection
        Refuse();
        return;
    }
    // The new text in the value, checked by the edit's type as pasted text is.
    std::string raw = e->Text();
    const bool move = e->ownDrag_ && !(Keys() & MK_CONTROL);
    if (move) {
        raw.erase(std::size_t(s), std::size_t(n));
        if (ch > s) ch -= n;
    }
    ch = std::clamp(ch, e->ValueStart(), int(raw.size()) - int(e->suffix_.size()));
    raw.insert(std::size_t(ch), text);
    std::string value = raw.substr(e->prefix_.size(), raw.size() - e->prefix_.size() - e->suffix_.size());
    if (e->editType_ == etString || e->editType_ == etPassword) {
        e->SetRawText(raw);
    } else if (!e->TakeValue(value, text)) {
        Refuse();
        return;
    }
    e->SetSelStart(std::min(ch + int(text.size()), e->ValueEnd()));
    e->SetModified(true);
    e->Invalidate();
}

// ---------------------------------------------------------------- the shared flat look

void DrawEditBorder(TCanvas* c, TWinControl* w, const TFlatLook& look)
{
    if (!(look.flat || (look.focusBorder && look.mouseInside) || look.border3D)) return;
    const bool threeD = (look.focusBorder && (look.mouseInside || look.focused)) || look.border3D;
    const int fw = w->FrameWidth();
    TRect r = Rect(-fw, -fw, w->Width() - fw, w->Height() - fw);
    if (threeD) {
        DrawEdge(c->Handle(), r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        c->Brush().SetColor(clBtnFace);
        c->FrameRect(r);
    } else {
        const TColor pc = w->Parent() ? w->Parent()->Color() : clBtnFace;
        c->Brush().SetColor(pc);
        c->FrameRect(r);
        InflateRect(r, -1, -1);
        c->FrameRect(r);
    }
}

void DrawFlatLook(TCanvas* c, TWinControl* w, const TFlatLook& look, int x0, int right, int top)
{
    if (look.focusBorder) {
        DrawEditBorder(c, w, look);
        return;
    }
    const int y1 = w->Height() - 1;
    c->Pen().SetColor(look.lineColor);
    c->Pen().SetWidth(1);
    if (look.softBorder) {
        const TPoint pts[] = {{x0, y1}, {w->Width() - 1, y1}, {w->Width() - 1, top}, {x0, top}, {x0, y1}};
        c->Polyline(pts, 5);
    } else {
        c->MoveTo(x0, y1);
        c->LineTo(right, y1);
    }
}

}  // namespace edit
