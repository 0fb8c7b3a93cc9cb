#include "platform/controls/ComboBox.h"

#include <QWidget>

#include "base/StrUtils.h"
#include "platform/Private.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/controls/Edit.h"
#include "platform/graphics/GDI.h"

namespace platform {

// ---------------------------------------------------------------- the parts

// The edit part: its messages go through the combo box's ComboWndProc first.
class TCustomComboBox::TComboEdit : public TCustomEdit {
public:
    explicit TComboEdit(TCustomComboBox* combo) : TCustomEdit(combo), combo_(combo)
    {
        SetBorderStyle(bsNone);
        SetAutoSize(false);
        SetTabStop(false);
        SetParentColor(true);
        SetParent(combo);
    }
    void WndProc(TMessage& m) override { combo_->ComboWndProc(m, this); }
    bool WantsWideChars() const override { return combo_->WantsWideChars(); }
    std::u16string ShownText() const override { return combo_->ShownEditText(Text()); }
    using TCustomEdit::ShownTextChanged;
    void Inherited(TMessage& m) { TCustomEdit::WndProc(m); }
    void Change() override
    {
        TCustomEdit::Change();
        if (combo_->settingText_) return;
        combo_->settingText_ = true;
        combo_->TCustomControl::SetText(Text());
        combo_->settingText_ = false;
        combo_->Notify(CBN_EDITCHANGE);
    }

private:
    TCustomComboBox* combo_;
};

// The list: in a window of its own that takes no focus and, while shown, the mouse;
// for csSimple a child below the edit.
class TCustomComboBox::TComboList : public TCustomListBox {
public:
    TComboList(TCustomComboBox* combo, bool popup) : TCustomListBox(combo), combo_(combo), popup_(popup)
    {
        ControlStyle &= ~csCaptureMouse;  // the drop-down holds the capture itself
        SetTabStop(false);
        if (popup) {
            SetBorderStyle(lbsNone);
            TControl::SetVisible(false);
        } else {
            SetParent(combo);
        }
    }
    void CreateParams(TCreateParams& params) override
    {
        TCustomListBox::CreateParams(params);
        if (!popup_) return;
        params.Style = (params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_BORDER;
        params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    }
    bool CanFocus() const override { return false; }  // the combo box keeps the focus
    std::u16string ShownItemText(int Index) const override { return combo_->ShownItemText(Index); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        if (!popup_) {
            if (combo_->CanFocus() && !combo_->ComboFocused()) combo_->SetFocus();
            TCustomListBox::MouseDown(Button, Shift, X, Y);
            return;
        }
        // A press outside closes the list without a choice.
        if (!PtInRect(ClientRect(), Point(X, Y))) {
            combo_->SetDroppedDown(false);
            return;
        }
        const int i = ItemAtPos(Point(X, Y), true);
        if (i >= 0) SetItemIndex(i);
        TControl::MouseDown(Button, Shift, X, Y);
    }
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        if (popup_) {
            const int i = ItemAtPos(Point(X, Y), true);
            if (i >= 0) SetItemIndex(i);  // the row under the mouse lights up
        }
        TCustomListBox::MouseMove(Shift, X, Y);
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomListBox::MouseUp(Button, Shift, X, Y);
        if (!popup_ || Button != mbLeft) return;
        const int i = ItemAtPos(Point(X, Y), true);
        if (i >= 0) combo_->ChooseFromList(i);
    }
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override
    {
        if (combo_->OwnerDrawn()) combo_->DrawListItem(Canvas(), Index, Rect, State);
        else TCustomListBox::DrawItem(Index, Rect, State);
    }
    void MeasureItem(int Index, int& Height) override { combo_->MeasureItem(Index, Height); }
    void DblClick() override
    {
        TCustomListBox::DblClick();
        if (!popup_) combo_->Notify(CBN_DBLCLK);
    }

protected:
    void SelectionChanged() override
    {
        if (!popup_) combo_->MoveSelection(ItemIndex());
    }
    unsigned TopLevelFlags() const override { return popup_ ? unsigned(Qt::ToolTip | Qt::FramelessWindowHint) : 0u; }
    bool IsTopLevel() const override { return popup_ && !Parent(); }

private:
    TCustomComboBox* combo_;
    bool popup_;
};

// ---------------------------------------------------------------- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomControl(AOwner), items_(std::make_unique<TListItems>())
{
    ControlStyle &= ~(csCaptureMouse | csClickEvents);  // a click is a change of selection
    SetColor(clWindow);
    SetTabStop(true);
    items_->OnInserted = [this](int index) {
        if (itemIndex_ >= index) ++itemIndex_;
    };
    items_->OnDeleted = [this](int index) {
        if (itemIndex_ == index) itemIndex_ = -1;
        else if (itemIndex_ > index) --itemIndex_;
    };
    items_->OnCleared = [this] {
        itemIndex_ = -1;
        if (!EditStyle()) ShowItemText();
    };
    items_->OnChanged = [this] {
        if (list_ && (style_ == csSimple || dropped_)) {
            TListItems& l = list_->Items();
            l.BeginUpdate();
            l.Clear();
            for (int i = 0; i < items_->Count(); ++i) l.AddObject(items_->Get(i), items_->GetObject(i));
            l.EndUpdate();
            list_->SetItemIndex(itemIndex_);
        }
        Invalidate();
    };
    RecreateParts();
    SetBounds(0, 0, 145, 0);
}

TCustomComboBox::~TCustomComboBox()
{
    // The parts go first: their messages pass through this control.
    if (list_ && GetCaptureControl() == list_) SetCaptureControl(nullptr);
    delete edit_;
    edit_ = nullptr;
    delete list_;
    list_ = nullptr;
}

TListItems& TCustomComboBox::Items() { return *items_; }
void TCustomComboBox::Clear()
{
    items_->Clear();
    SetText("");
}
bool TCustomComboBox::Sorted() const { return items_->Sorted(); }
void TCustomComboBox::SetSorted(bool Value) { items_->SetSorted(Value); }
TWinControl* TCustomComboBox::EditControl() const { return edit_; }
TCustomListBox* TCustomComboBox::ListControl() const { return list_; }
bool TCustomComboBox::ComboFocused() const { return Focused() || (edit_ && edit_->Focused()); }
bool TCustomComboBox::DroppedDown() const { return dropped_; }

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    if (style_ == csSimple) return;
    if (ctl3D_) params.ExStyle |= WS_EX_CLIENTEDGE;
    else params.Style |= WS_BORDER;
}

void TCustomComboBox::SetCtl3D(bool Value)
{
    if (Value == ctl3D_) return;
    ctl3D_ = Value;
    RecreateWnd();
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    LayoutParts();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (Value == style_) return;
    SetDroppedDown(false);
    style_ = Value;
    RecreateParts();
    RecreateWnd();
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::RecreateParts()
{
    if (edit_ && !EditStyle()) {
        delete edit_;
        edit_ = nullptr;
    }
    if (!edit_ && EditStyle()) {
        edit_ = new TComboEdit(this);
        if (style_ == csSimple) edit_->SetBorderStyle(bsSingle);
        edit_->SetMaxLength(maxLength_);
        edit_->SetText(Text());
    }
    const bool wantPopup = style_ != csSimple;
    if (list_ && (list_->Parent() != nullptr) == wantPopup) {
        if (GetCaptureControl() == list_) SetCaptureControl(nullptr);
        delete list_;
        list_ = nullptr;
    }
    if (!list_) list_ = new TComboList(this, wantPopup);
    list_->SetStyle(style_ == csOwnerDrawVariable ? lbOwnerDrawVariable
                    : OwnerDrawn()                ? lbOwnerDrawFixed
                                                  : lbStandard);
    if (items_->OnChanged) items_->OnChanged();
    LayoutParts();
}

int TCustomComboBox::MeasureHeight() const
{
    TBitmap measure(1, 1);
    measure.Canvas()->Font().Assign(*const_cast<TCustomComboBox*>(this)->Font());
    return measure.Canvas()->TextHeight("Wg");
}

int TCustomComboBox::ItemHeight() const { return itemHeight_ > 0 ? itemHeight_ : MeasureHeight() + 2; }

void TCustomComboBox::SetItemHeight(int Value)
{
    itemHeight_ = std::max(0, Value);
    if (list_) list_->SetItemHeight(ItemHeight());
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TCustomComboBox::SetBounds(int l, int t, int w, int h)
{
    // Every style but the simple one is as high as one row.
    if (style_ != csSimple) h = ItemHeight() + 2 + 2 * FrameWidth();
    TCustomControl::SetBounds(l, t, w, h);
    LayoutParts();
}

void TCustomComboBox::WMSize(TWMSize& m)
{
    TCustomControl::WMSize(m);
    LayoutParts();
}

TRect TCustomComboBox::ButtonRect() const
{
    if (style_ == csSimple) return TRect{};
    const TRect c = ClientRect();
    return Rect(std::max(0, c.Right - GetSystemMetrics(SM_CXVSCROLL)), 0, c.Right, c.Bottom);
}

void TCustomComboBox::LayoutParts()
{
    const TRect c = ClientRect();
    const int eh = MeasureHeight() + 2;
    if (list_) list_->SetItemHeight(ItemHeight());
    if (style_ == csSimple) {
        if (edit_) edit_->SetBounds(0, 0, c.Width(), eh + 4);
        if (list_) list_->SetBounds(0, eh + 6, c.Width(), std::max(0, c.Height() - eh - 6));
        return;
    }
    if (edit_) edit_->SetBounds(2, std::max(0, (c.Height() - eh) / 2), std::max(0, ButtonRect().Left - 3), eh);
}

// ---------------------------------------------------------------- text and selection

void TCustomComboBox::ShowItemText()
{
    const std::string s = itemIndex_ >= 0 && itemIndex_ < items_->Count() ? items_->Get(itemIndex_) : std::string();
    settingText_ = true;
    if (edit_) {
        edit_->SetText(s);
        if (edit_->Focused()) edit_->SelectAll();
    }
    TCustomControl::SetText(s);
    settingText_ = false;
    Invalidate();
}

void TCustomComboBox::SetText(const std::string& s)
{
    if (settingText_) {
        TCustomControl::SetText(s);
        return;
    }
    if (!EditStyle()) {
        SetItemIndex(items_->IndexOf(s));
        return;
    }
    settingText_ = true;
    if (edit_) edit_->SetText(s);
    TCustomControl::SetText(s);
    settingText_ = false;
}

void TCustomComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= items_->Count()) Value = -1;
    if (Value == itemIndex_ && (Value < 0 || Text() == items_->Get(Value))) return;
    itemIndex_ = Value;
    ShowItemText();  // -1 empties the edit as well
    if (list_) list_->SetItemIndex(Value);
}

void TCustomComboBox::SetMaxLength(int Value)
{
    maxLength_ = std::max(0, Value);
    if (edit_) edit_->SetMaxLength(maxLength_);
}

int TCustomComboBox::SelStart() const { return edit_ ? edit_->SelStart() : 0; }
void TCustomComboBox::SetSelStart(int Value)
{
    if (edit_) edit_->SetSelStart(Value);
}
int TCustomComboBox::SelLength() const { return edit_ ? edit_->SelLength() : 0; }
void TCustomComboBox::SetSelLength(int Value)
{
    if (edit_) edit_->SetSelLength(Value);
}
void TCustomComboBox::SelectAll()
{
    if (edit_) edit_->SelectAll();
}

void TCustomComboBox::MoveSelection(int index)
{
    if (index < 0 || index >= items_->Count() || index == itemIndex_) return;
    itemIndex_ = index;
    if (list_) list_->SetItemIndex(index);
    Invalidate();
    Notify(CBN_SELCHANGE);
}

void TCustomComboBox::ChooseFromList(int index)
{
    const bool changed = index >= 0 && index != itemIndex_;
    if (changed) itemIndex_ = index;
    Notify(CBN_SELENDOK);
    SetDroppedDown(false);
    if (changed) Notify(CBN_SELCHANGE);
}

// ---------------------------------------------------------------- dropping down

void TCustomComboBox::SetDroppedDown(bool Value)
{
    if (Value == dropped_ || style_ == csSimple || !list_) return;
    if (!Value) {
        if (inCloseUp_) return;
        inCloseUp_ = true;
        dropped_ = false;
        if (GetCaptureControl() == list_) SetCaptureControl(nullptr);
        list_->Hide();
        Invalidate();
        Notify(CBN_CLOSEUP);
        inCloseUp_ = false;
        return;
    }
    if (!Enabled()) return;
    Notify(CBN_DROPDOWN);  // the handler may still fill the list
    dropped_ = true;
    if (items_->OnChanged) items_->OnChanged();
    int rows = 0;
    for (int i = 0; i < std::min(items_->Count(), dropDownCount_); ++i) rows += list_->ItemRect(i).Height();
    if (rows == 0) rows = ItemHeight();
    const int f = FrameWidth();
    const TPoint below = ClientToScreen(Point(-f, Height() - f));
    const int w = std::max(Width(), droppedWidth_), h = rows + 2;
    int y = below.Y;
    // Above the control when the screen ends below it.
    if (y + h > GetSystemMetrics(SM_CYSCREEN) && below.Y - Height() - h >= 0) y = below.Y - Height() - h;
    list_->SetBounds(below.X, y, w, h);
    list_->SetTopIndex(std::max(0, itemIndex_));
    list_->SetItemIndex(itemIndex_);
    ShowWithoutActivating(list_);
    SetCaptureControl(list_);
    Invalidate();
}

void TCustomComboBox::FocusLeft(TWinControl* focus)
{
    if (focus == this || (edit_ && focus == edit_)) return;
    SetDroppedDown(false);
    Invalidate();
}

// ---------------------------------------------------------------- notifications and events

void TCustomComboBox::Notify(Word code)
{
    Perform(CN_COMMAND, MakeWParam(0, code), LPARAM(HandleAllocated() ? Handle() : nullptr));
}

void TCustomComboBox::CNCommand(TMessage& m)
{
    switch (m.WParamHi()) {
    case CBN_SELCHANGE:
        ShowItemText();
        Click();
        Select();
        break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    case CBN_DBLCLK: DblClick(); break;
    default: break;
    }
}

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect) OnSelect(this);
    else Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index >= 0 && Index < items_->Count()) Canvas()->TextOutW(Rect.Left + 2, Rect.Top, ShownItemText(Index));
}

std::u16string TCustomComboBox::ShownItemText(int Index) const { return AnsiToWide(items_->Get(Index)); }
std::u16string TCustomComboBox::ShownEditText(const std::string& text) const { return AnsiToWide(text); }

void TCustomComboBox::ShownTextChanged()
{
    if (edit_) edit_->ShownTextChanged();
    Invalidate();
    if (list_) list_->Invalidate();
}

// Owner-drawn rows of the list draw through the combo box's canvas, put on the list's DC.
void TCustomComboBox::DrawListItem(TCanvas* target, int Index, const TRect& Rect, TOwnerDrawState State)
{
    static_cast<TControlCanvas*>(Canvas())->PaintOn(target->Handle(), [&] {
        TCanvas* c = Canvas();
        c->Font().Assign(*Font());
        c->Brush().SetStyle(bsSolid);
        c->Brush().SetColor((State & odSelected) ? clHighlight : Color());
        if (State & odSelected) c->Font().SetColor(clHighlightText);
        DrawItem(Index, Rect, State);
    });
}

// ---------------------------------------------------------------- messages

void TCustomComboBox::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND) CNCommand(m);
    else TCustomControl::Dispatch(m);
}

void TCustomComboBox::DefaultHandler(TMessage& m)
{
    switch (m.Msg) {
    case CB_ADDSTRING: m.Result = items_->Add(reinterpret_cast<const char*>(m.LParam)); return;
    case CB_DELETESTRING:
        if (int(m.WParam) >= 0 && int(m.WParam) < items_->Count()) items_->Delete(int(m.WParam));
        m.Result = items_->Count();
        return;
    case CB_GETCOUNT: m.Result = items_->Count(); return;
    case CB_GETCURSEL: m.Result = itemIndex_; return;
    case CB_SETCURSEL: SetItemIndex(int(m.WParam)); m.Result = itemIndex_; return;
    case CB_RESETCONTENT: items_->Clear(); return;
    case CB_SHOWDROPDOWN: SetDroppedDown(m.WParam != 0); m.Result = 1; return;
    case CB_GETDROPPEDSTATE: m.Result = dropped_; return;
    case CB_GETDROPPEDWIDTH: m.Result = std::max(Width(), droppedWidth_); return;
    case CB_SETDROPPEDWIDTH:
        SetDroppedWidth(int(m.WParam));
        m.Result = std::max(Width(), droppedWidth_);
        return;
    case CB_GETITEMHEIGHT: m.Result = ItemHeight(); return;
    case CB_SETITEMHEIGHT: SetItemHeight(int(m.LParam)); return;
    case CB_FINDSTRINGEXACT: {
        const std::string s = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        m.Result = -1;
        for (int i = std::max(0, int(m.WParam) + 1); i < items_->Count(); ++i)
            if (base::CompareText(items_->Get(i), s) == 0) {
                m.Result = i;
                break;
            }
        if (m.Result < 0) m.Result = items_->IndexOf(s);
        return;
    }
    case CB_GETDROPPEDCONTROLRECT:
        if (auto* r = reinterpret_cast<TRect*>(m.LParam)) *r = list_ && dropped_ ? list_->BoundsRect() : TRect{};
        return;
    default: break;
    }
    TCustomControl::DefaultHandler(m);
}

void TCustomComboBox::ComboWndProc(TMessage& Message, TWinControl* Child)
{
    auto* edit = dynamic_cast<TComboEdit*>(Child);
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        Word key = Message.CharCode();
        KeyDown(key, KeyDataToShiftState(Message.KeyData()));
        if (!key) return;
        Message.SetCharCode(key);
        break;
    }
    case WM_CHAR: {
        char ch = char(Message.CharCode());
        KeyPress(ch);
        if (!ch) return;
        Message.SetCharCode(Word((unsigned char)ch));
        break;
    }
    case CM_WANTSPECIALKEY:
        // The combo box speaks for its edit: what it wants, the edit keeps.
        Message.Result = Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam);
        if (Message.Result) return;
        break;
    case WM_GETDLGCODE:
        if (edit) edit->Inherited(Message);
        Message.Result |= Perform(WM_GETDLGCODE);
        return;
    case WM_KILLFOCUS:
        if (edit) edit->Inherited(Message);
        FocusLeft(reinterpret_cast<TWinControl*>(Message.WParam));
        return;
    case CM_ENTER:
    case CM_EXIT:
        if (edit) edit->Inherited(Message);
        Perform(Message.Msg);  // the combo box's OnEnter and OnExit
        Invalidate();
        return;
    default: break;
    }
    if (edit) edit->Inherited(Message);
}

void TCustomComboBox::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (dropped_ && (m.CharCode() == VK_RETURN || m.CharCode() == VK_ESCAPE)) m.Result = 1;
    else TCustomControl::CMWantSpecialKey(m);
}

void TCustomComboBox::SetFocus()
{
    if (edit_) edit_->SetFocus();
    else TCustomControl::SetFocus();
}

void TCustomComboBox::WMSetFocus(TWMSetFocus& m)
{
    TCustomControl::WMSetFocus(m);
    if (edit_ && edit_->CanFocus()) edit_->SetFocus();
    Invalidate();
}

void TCustomComboBox::WMKillFocus(TWMKillFocus& m)
{
    TCustomControl::WMKillFocus(m);
    FocusLeft(reinterpret_cast<TWinControl*>(m.WParam));
}

void TCustomComboBox::CMFontChanged(TMessage& m)
{
    TCustomControl::CMFontChanged(m);
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::CMEnabledChanged(TMessage& m)
{
    if (!Enabled()) SetDroppedDown(false);
    if (edit_) edit_->SetEnabled(Enabled());
    TCustomControl::CMEnabledChanged(m);
}

// ---------------------------------------------------------------- mouse and keys

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus() && !ComboFocused()) SetFocus();
        if (style_ != csSimple && (!EditStyle() || PtInRect(ButtonRect(), Point(X, Y)))) SetDroppedDown(!dropped_);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (!Key) return;
    if (style_ != csSimple &&
        (Key == VK_F4 || ((Shift & ssAlt) && (Key == VK_DOWN || Key == VK_UP)))) {
        SetDroppedDown(!dropped_);
        Key = 0;
        return;
    }
    if (dropped_ && (Key == VK_RETURN || Key == VK_ESCAPE)) {
        if (Key == VK_RETURN) Notify(CBN_SELENDOK);
        SetDroppedDown(false);
        Key = 0;
        return;
    }
    const int n = items_->Count();
    if (n == 0) return;
    const bool listKeys = !EditStyle() || dropped_;
    const int page = std::max(1, dropDownCount_ - 1);
    int to = -1;
    switch (Key) {
    case VK_UP: to = std::max(0, itemIndex_ - 1); break;
    case VK_DOWN: to = std::min(n - 1, itemIndex_ + 1); break;
    case VK_PRIOR: if (listKeys) to = std::max(0, itemIndex_ - page); break;
    case VK_NEXT: if (listKeys) to = std::min(n - 1, std::max(0, itemIndex_) + page); break;
    case VK_HOME: if (listKeys) to = 0; break;
    case VK_END: if (listKeys) to = n - 1; break;
    default: return;
    }
    if (to < 0) return;
    MoveSelection(to);
    Key = 0;
}

void TCustomComboBox::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    if (!Key || EditStyle() || static_cast<unsigned char>(Key) <= ' ') return;
    // A letter selects the next item that starts with it.
    const int i = NextItemStartingWith(Key, itemIndex_, items_->Count(), [this](int k) { return items_->Get(k); });
    if (i >= 0) MoveSelection(i);
    Key = 0;
}

// ---------------------------------------------------------------- painting

void TCustomComboBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush().SetColor(Color());
    c->Brush().SetStyle(bsSolid);
    c->FillRect(ClientRect());
    if (style_ == csSimple) return;
    // The drop button.
    TRect b = ButtonRect();
    HDC dc = c->Handle();
    FillRect(dc, b, ColorToRGB(clBtnFace));
    TRect edge = b;
    DrawEdge(dc, edge, dropped_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (dropped_ ? UINT(BF_FLAT) : 0u));
    const int cx = (b.Left + b.Right) / 2 + (dropped_ ? 1 : 0), cy = (b.Top + b.Bottom) / 2 + (dropped_ ? 1 : 0);
    const TColor arrow = Enabled() ? clBtnText : clGrayText;
    c->Pen().SetColor(arrow);
    c->Brush().SetColor(arrow);
    const TPoint tri[] = {{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}};
    c->Polygon(tri, 3);
    if (EditStyle()) return;
    // The selected item in place of an edit.
    const TRect r = Rect(2, 2, b.Left - 1, ClientHeight() - 2);
    const bool lit = ComboFocused() && !dropped_;
    c->Font().Assign(*Font());
    c->Brush().SetColor(lit ? clHighlight : Color());
    if (lit) c->Font().SetColor(clHighlightText);
    if (OwnerDrawn()) {
        if (itemIndex_ >= 0) DrawItem(itemIndex_, r, odComboBoxEdit | (lit ? odSelected | odFocused : 0u));
        else c->FillRect(r);
    } else {
        c->FillRect(r);
        if (itemIndex_ >= 0) {
            TRect t = Rect(r.Left + 2, r.Top, r.Right, r.Bottom);
            c->Brush().SetStyle(bsClear);
            DrawTextW(c->Handle(), ShownItemText(itemIndex_), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            c->Brush().SetStyle(bsSolid);
        }
    }
    if (lit) c->DrawFocusRect(r);
}

}  // namespace platform
