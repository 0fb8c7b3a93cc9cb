#include "widgets/edit/EditList.h"

#include <algorithm>
#include <cstdlib>

#include "base/IniFile.h"
#include "base/StrUtils.h"
#include "platform/controls/FlatScrollBar.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/TabbedText.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

namespace {

constexpr UINT kHoverTimer = 111;

}  // namespace

// ---------------------------------------------------------------- the in-place edit

TSizeEdit::TSizeEdit(TEditListBox* list) : TEdit(list), list_(list)
{
    SetVisible(false);
    SetCtl3D(false);
    SetParent(list);
    SetBounds(0, 0, Width(), Height());
}

void TSizeEdit::Change()
{
    TEdit::Change();
    Canvas()->Font().Assign(*Font());
    SetWidth(std::min(Canvas()->TextWidth(Text()) + 15, list_->ClientWidth() + 1));
}

void TSizeEdit::Finish(int select)
{
    if (index_ < 0) return;
    list_->CommitEdit();
    const int count = list_->Items().Count();
    index_ = -1;
    saved_.clear();
    Hide();
    if (list_->CanFocus()) list_->SetFocus();
    if (count > 0) list_->SetItemIndex(std::clamp(select, 0, count - 1));
}

void TSizeEdit::WMKillFocus(TWMKillFocus& m)
{
    TEdit::WMKillFocus(m);
    if (index_ >= 0) Finish(index_);
}

void TSizeEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TEdit::KeyDown(Key, Shift);
    const int i = index_;
    switch (Key) {
    case VK_RETURN: Finish(i); Key = 0; break;
    case VK_UP: Finish(i - 1); Key = 0; break;
    case VK_DOWN: Finish(i + 1); Key = 0; break;
    case VK_ESCAPE:
        SetText(saved_);  // the item keeps its text; OnEditDone still hears of it
        Finish(i);
        Key = 0;
        break;
    default: break;
    }
}

void TSizeEdit::KeyPress(char& Key)
{
    if (Key == 13 || Key == 27) Key = 0;
    TEdit::KeyPress(Key);
}

void TSizeEdit::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE || m.WParam == VK_UP || m.WParam == VK_DOWN) m.Result = 1;
    else TEdit::CMWantSpecialKey(m);
}

// ---------------------------------------------------------------- the list

// ---------------------------------------------------------------- tab positions

void TTabPositionItem::SetTabPosition(int v)
{
    position_ = v;
    owner_->Changed();
}

void TTabPositionItem::SetTabType(TTabType v)
{
    type_ = v;
    owner_->Changed();
}

TTabPositionItem* TTabPositionCollection::Add()
{
    items_.push_back(std::make_unique<TTabPositionItem>(this));
    return items_.back().get();
}

void TTabPositionCollection::Delete(int i)
{
    if (i < 0 || i >= Count()) return;
    items_.erase(items_.begin() + i);
    Changed();
}

void TTabPositionCollection::Clear()
{
    items_.clear();
    Changed();
}

void TTabPositionCollection::Changed()
{
    list_->SetTabStops();
    list_->UpdateHScrollBar();
    list_->Invalidate();
}

// ---------------------------------------------------------------- the list

TEditListBox::TEditListBox(TComponent* AOwner)
    : TListBox(AOwner), scrollWidth_(GetSystemMetrics(SM_CXVSCROLL))
{
    edit_ = new TSizeEdit(this);
}

void TEditListBox::CreateParams(TCreateParams& params)
{
    TListBox::CreateParams(params);
    params.Style |= LBS_USETABSTOPS;
}

void TEditListBox::CreateWnd()
{
    TListBox::CreateWnd();
    if (scrollStyle_ != ssNormal) InitializeFlatSB(Handle());
    SetTabStops();
}

void TEditListBox::Loaded()
{
    UpdateWidth();
    UpdateStyle();
    UpdateColor();
    UpdateVScrollBar();
    UpdateHScrollBar();
    SetHeight(Height() + 1);
    SetHeight(Height() - 1);
}

// ---------------------------------------------------------------- tab stops

void TEditListBox::SetTabStops()
{
    const int n = tabs_.Count();
    if (n < 1 || n > 19 || !HandleAllocated()) return;
    Canvas()->Font().Assign(*Font());
    const int unit = std::max(1, Canvas()->TextWidth("x"));
    std::vector<int> du;
    for (int i = 0; i < n; ++i) {
        const TTabPositionItem* t = tabs_.Items(i);
        const int v = t->TabPosition() * 4 / unit;
        du.push_back(t->TabType() == tabright ? -v : v);
    }
    SendMessage(Handle(), LB_SETTABSTOPS, WPARAM(du.size()), LPARAM(du.data()));
}

void TEditListBox::OptimizeTabs(int spacing)
{
    Canvas()->Font().Assign(*Font());
    std::vector<int> widths;  // widest text of each column
    int columns = 0;
    for (int i = 0; i < Items().Count(); ++i) {
        const std::string& item = Items().Get(i);
        std::size_t start = 0;
        int col = 0;
        for (;;) {
            const std::size_t tab = col < 20 ? item.find('\t', start) : std::string::npos;
            const std::string part = item.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            if (int(widths.size()) <= col) widths.push_back(0);
            widths[std::size_t(col)] = std::max(widths[std::size_t(col)], Canvas()->TextWidth(part));
            ++col;
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        columns = std::max(columns, col);
    }
    int x = spacing;
    for (int i = 1; i <= columns; ++i) {
        if (tabs_.Count() < i) tabs_.Add();
        TTabPositionItem* t = tabs_.Items(i - 1);
        const int prev = widths[std::size_t(i - 1)];
        const int own = i < int(widths.size()) ? widths[std::size_t(i)] : 0;
        int pos = x + prev;
        if (t->TabType() == tabright) pos += own;
        t->SetTabPosition(pos);
        x += prev + spacing;
    }
    Invalidate();
}

TEditListBox::~TEditListBox() = default;

std::string TEditListBox::GetVersion() const { return html::VersionText(GetVersionNr()); }

bool TEditListBox::Editing() const { return edit_->index_ >= 0; }

void TEditListBox::ShowEdit()
{
    const int i = ItemIndex();
    if (i < 0 || Items().Count() == 0 || Editing()) return;
    bool allow = true;
    if (OnEditStart) OnEditStart(this, i, allow);
    if (!allow) return;
    Perform(WM_HSCROLL, MakeWParam(SB_LEFT, 0), 0);
    editingFlag_ = true;
    edit_->SetBounds(0, (i - TopIndex()) * ItemHeight(), edit_->Width(), ItemHeight());
    edit_->SetText(Items().Get(i));
    edit_->Show();
    edit_->SetFocus();
    edit_->index_ = i;
    edit_->count_ = Items().Count();
    edit_->saved_ = Items().Get(i);
    Items().Put(i, "");
    SetItemIndex(-1);
    edit_->SelectAll();
    editingFlag_ = false;
}

void TEditListBox::CommitEdit()
{
    const int i = edit_->index_;
    if (i < 0 || i >= Items().Count()) return;
    editingFlag_ = true;
    std::string s = edit_->Text();
    Items().Put(i, s);
    bool allow = true;
    if (OnEditDone) OnEditDone(this, s, allow);
    Items().Put(i, allow ? s : edit_->saved_);
    if (MultiSelect()) SetSelected(i, true);
    editingFlag_ = false;
}

void TEditListBox::SetEditMode(bool on)
{
    editMode_ = on;
    if (on) ShowEdit();
    else if (Editing()) edit_->Finish(edit_->index_);
}

void TEditListBox::SetAllowEdit(bool v)
{
    allowEdit_ = v;
    if (!v && Editing()) edit_->Finish(edit_->index_);
}

void TEditListBox::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) UpdateHScrollBar();
}

int TEditListBox::VisibleItems() const { return ItemHeight() > 0 ? Height() / ItemHeight() : 0; }

int TEditListBox::GetStringExtent(const std::string& s)
{
    Canvas()->Font().Assign(*Font());
    return std::int16_t(Canvas()->TextWidth(s) + Canvas()->TextWidth("x"));
}

int TEditListBox::GetMaxStringExtent()
{
    int widest = 0;
    const int n = tabs_.Count();
    if (n >= 1 && n <= 19) {
        Canvas()->Font().Assign(*Font());
        std::vector<int> stops = TabStopPixels();
        for (int i = 0; i < Items().Count(); ++i) {
            const DWORD e = GetTabbedTextExtent(Canvas()->Handle(), Items().Get(i), -1, int(stops.size()), stops.data());
            widest = std::max(widest, int(std::int16_t(e & 0xFFFF)));
        }
    } else {
        for (int i = 0; i < Items().Count(); ++i) widest = std::max(widest, GetStringExtent(Items().Get(i)));
    }
    widest_ = widest;
    return widest;
}

void TEditListBox::SetIndexAndScroll(int index)
{
    Perform(LB_SETCURSEL, WPARAM(index), 0);
    UpdateVScrollBar();
}

void TEditListBox::WndProc(TMessage& m)
{
    TListBox::WndProc(m);
    // An index set through the message is a selection change too.
    if (m.Msg == LB_SETCURSEL && !inNotify_) {
        inNotify_ = true;
        if (OnSelChange) OnSelChange(this, ItemIndex());
        inNotify_ = false;
    }
}

// ---------------------------------------------------------------- scroll bars

void TEditListBox::SetScrollStyle(TScrollStyle v)
{
    if (v == scrollStyle_) return;
    scrollStyle_ = v;
    if (HandleAllocated()) {
        if (v != ssNormal) InitializeFlatSB(Handle());
        else UninitializeFlatSB(Handle());
    }
    UpdateStyle();
}

void TEditListBox::SetScrollColor(TColor v)
{
    scrollColor_ = v;
    UpdateColor();
}

void TEditListBox::SetScrollWidth(int v)
{
    scrollWidth_ = v;
    UpdateWidth();
}

void TEditListBox::SetScrollHorizontal(bool v)
{
    scrollHorizontal_ = v;
    UpdateHScrollBar();
}

int TEditListBox::FlatSetScrollPos(int code, int pos, bool redraw)
{
    return HandleAllocated() ? FlatSB_SetScrollPos(Handle(), code, pos, redraw) : 0;
}

int TEditListBox::FlatSetScrollInfo(int code, const SCROLLINFO& info, bool redraw)
{
    return HandleAllocated() ? FlatSB_SetScrollInfo(Handle(), code, info, redraw) : 0;
}

bool TEditListBox::FlatSetScrollProp(unsigned index, LPARAM value, bool redraw)
{
    return HandleAllocated() && FlatSB_SetScrollProp(Handle(), index, value, redraw);
}

bool TEditListBox::FlatShowScrollBar(int code, bool show)
{
    return HandleAllocated() && FlatSB_ShowScrollBar(Handle(), code, show);
}

void TEditListBox::UpdateStyle()
{
    static const int modes[] = {FSB_REGULAR_MODE, FSB_FLAT_MODE, FSB_ENCARTA_MODE};
    FlatSetScrollProp(WSB_PROP_VSTYLE, modes[scrollStyle_], false);
    FlatSetScrollProp(WSB_PROP_HSTYLE, modes[scrollStyle_], false);
}

void TEditListBox::UpdateColor()
{
    const LPARAM c = scrollColor_ == 0x1FFFFFFF ? LPARAM(0x1FFFFFFF) : LPARAM(ColorToRGB(scrollColor_));
    FlatSetScrollProp(WSB_PROP_VBKGCOLOR, c, true);
    FlatSetScrollProp(WSB_PROP_HBKGCOLOR, c, true);
}

void TEditListBox::UpdateWidth()
{
    FlatSetScrollProp(WSB_PROP_CXVSCROLL, scrollWidth_, false);
    FlatSetScrollProp(WSB_PROP_CYHSCROLL, scrollWidth_, false);
}

void TEditListBox::UpdateHScrollExtent()
{
    if (updateCount_ > 0) return;
    const int widest = Items().Count() > 0 && scrollHorizontal_ ? GetMaxStringExtent() : 0;
    if (Items().Count() == 0 || !scrollHorizontal_ || ClientWidth() >= widest) {
        SetHorizontalExtent(0);
        Perform(WM_HSCROLL, MakeWParam(SB_LEFT, 0), 0);
        if (HandleAllocated()) ShowScrollBar(Handle(), SB_HORZ, false);
        FlatShowScrollBar(SB_HORZ, false);
        return;
    }
    FlatShowScrollBar(SB_HORZ, true);
    SetHorizontalExtent(widest);
}

void TEditListBox::UpdateHScrollBar()
{
    UpdateHScrollExtent();
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (GetScrollInfo(Handle(), SB_HORZ, si)) FlatSetScrollInfo(SB_HORZ, si, true);
}

void TEditListBox::UpdateVScrollBar()
{
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (GetScrollInfo(Handle(), SB_VERT, si)) FlatSetScrollInfo(SB_VERT, si, true);
}

void TEditListBox::UpdateBars()
{
    if (editingFlag_ || updateCount_ > 0) return;
    if (Items().Count() > VisibleItems()) FlatShowScrollBar(SB_VERT, true);
    UpdateVScrollBar();
    UpdateHScrollBar();
    UpdateWidth();
    UpdateStyle();
    UpdateColor();
}

void TEditListBox::ItemsChanged(bool Reset)
{
    UpdateBars();
    if (Reset && !editingFlag_ && updateCount_ == 0) FlatShowScrollBar(SB_VERT, false);
}

void TEditListBox::WMSize(TWMSize& m)
{
    TListBox::WMSize(m);
    UpdateBars();
}

void TEditListBox::WMHScroll(TWMHScroll& m)
{
    TListBox::WMHScroll(m);
    if (HandleAllocated()) FlatSetScrollPos(SB_HORZ, GetScrollPos(Handle(), SB_HORZ), true);
}

void TEditListBox::WMVScroll(TWMVScroll& m)
{
    TListBox::WMVScroll(m);
    if (HandleAllocated()) FlatSetScrollPos(SB_VERT, GetScrollPos(Handle(), SB_VERT), true);
}

// ---------------------------------------------------------------- keys and mouse

void TEditListBox::WMGetDlgCode(TWMGetDlgCode& m)
{
    TListBox::WMGetDlgCode(m);
    if (ReturnIsClick || ReturnIsDblClick) m.Result |= DLGC_WANTALLKEYS;
}

void TEditListBox::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN: lookup_.clear(); break;
    case VK_INSERT:
        if (AutoInsert) {
            std::string value;
            if (OnAutoInsert) OnAutoInsert(this, value);
            const int i = Items().Add(value);
            if (MultiSelect()) SetSelected(i, true);
            SetItemIndex(i);
            ShowEdit();
            Key = 0;
            return;
        }
        break;
    case VK_DELETE:
        if (AutoDelete && ItemIndex() >= 0) {
            const int i = ItemIndex();
            std::string value = Items().Get(i);
            bool allow = true;
            if (OnAutoDelete) OnAutoDelete(this, value, allow);
            if (allow) {
                Items().Delete(i);
                SetItemIndex(Items().Count() == 0 ? -1 : std::min(i, Items().Count() - 1));
            }
            Key = 0;
            return;
        }
        break;
    case VK_RETURN:
        if (ReturnIsTab) {
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, KeyDataOf(VK_TAB));
            Key = 0;
            return;
        }
        if (ReturnIsClick && OnClick) OnClick(this);
        if (ReturnIsDblClick && OnDblClick) OnDblClick(this);
        break;
    default: break;
    }
    TListBox::KeyDown(Key, Shift);
}

void TEditListBox::KeyUp(Word& Key, TShiftState Shift)
{
    TListBox::KeyUp(Key, Shift);
    if (!lookup_.empty()) Lookup();
}

void TEditListBox::KeyPress(char& Key)
{
    if (Key == ' ' && allowEdit_) {
        ShowEdit();
        Key = 0;
        return;
    }
    if ((Key >= '0' && Key <= ':') || (Key >= 'A' && Key <= 'z')) {
        lookup_ += base::UpperCase(std::string(1, Key));
        Key = 0;
        return;
    }
    TListBox::KeyPress(Key);
}

void TEditListBox::Lookup()
{
    if (lookup_.empty()) return;
    int found = -1;
    for (int i = 0; i < Items().Count() && LookupIncr && found < 0; ++i)
        if (base::UpperCase(Items().Get(i)).rfind(lookup_, 0) == 0) found = i;
    for (int i = 0; i < Items().Count() && LookupFull && found < 0; ++i)
        if (base::UpperCase(Items().Get(i)).find(lookup_) != std::string::npos) found = i;
    if (found >= 0) SetItemIndex(found);
    else lookup_.clear();
}

void TEditListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    lookup_.clear();
    if (!allowEdit_ || Button != mbLeft) {
        TListBox::MouseDown(Button, Shift, X, Y);
        return;
    }
    const int row = ItemHeight() > 0 ? Y / ItemHeight() + TopIndex() : -1;
    if (Editing() && row == edit_->index_) return;
    const int before = ItemIndex();
    TListBox::MouseDown(Button, Shift, X, Y);
    if (before >= 0 && before == row && row == ItemIndex()) {
        ShowEdit();
    } else if (Editing()) {
        // Another row: the edit's text, or its saved text when empty, stays in its item.
        if (edit_->Text().empty()) edit_->SetText(edit_->saved_);
        edit_->Finish(ItemIndex());
    }
}

void TEditListBox::WMSetFocus(TWMSetFocus& m)
{
    TListBox::WMSetFocus(m);
    lookup_.clear();
    savedColor_ = Color();
    SetColor(FocusColor);
}

void TEditListBox::WMKillFocus(TWMKillFocus& m)
{
    TListBox::WMKillFocus(m);
    SetColor(savedColor_);
}

void TEditListBox::SetHovering(bool v)
{
    hovering_ = v;
    if (v) SetTimer(kHoverTimer, 1000);
    else if (HandleAllocated()) KillTimer(kHoverTimer);
}

void TEditListBox::WMTimer(TWMTimer& m)
{
    if (m.TimerID() != kHoverTimer) {
        TListBox::WMTimer(m);
        return;
    }
    TPoint p;
    GetCursorPos(p);
    p = ScreenToClient(p);
    if (Focused() && !inNotify_ && PtInRect(ClientRect(), p)) {
        const int i = ItemAtPos(p, true);
        if (i >= 0 && i != ItemIndex()) {
            SetItemIndex(i);
            SelectionChanged();
        }
    }
}

void TEditListBox::SelectionChanged()
{
    inNotify_ = true;
    TListBox::SelectionChanged();
    if (OnSelChange) OnSelChange(this, ItemIndex());
    if (hovering_ && ItemIndex() >= 0) {
        // The pointer follows the selection to the middle of its row.
        TPoint p;
        GetCursorPos(p);
        const TPoint c = ScreenToClient(p);
        if (PtInRect(ClientRect(), c)) {
            const TRect r = ItemRect(ItemIndex());
            const TPoint to = ClientToScreen(Point(c.X, (r.Top + r.Bottom) / 2));
            SetCursorPos(to.X, to.Y);
        }
    }
    inNotify_ = false;
}

void TEditListBox::CMHintShow(TCMHintShow& m)
{
    THintInfo* info = HintInfoOf(m);
    if (info) {
        info->HintColor = HintColor;
        const int i = ItemAtPos(info->CursorPos, true);
        if (i >= 0 && GetStringExtent(Items().Get(i)) > Width() - scrollWidth_) {
            info->HintStr = Items().Get(i);
            info->HintPos = ClientToScreen(Point(0, (i - TopIndex()) * ItemHeight() - 2));
            return;
        }
    }
    TListBox::CMHintShow(m);
}

void TEditListBox::DestroyWnd()
{
    if (hovering_) KillTimer(kHoverTimer);
    TListBox::DestroyWnd();
}

// ---------------------------------------------------------------- stored items

std::string TEditListBox::IniFileName() const
{
    if (Persist.Storage == stInifile) return Persist.Key;
    std::string dir;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) dir = x;
    else if (const char* h = std::getenv("HOME")) dir = std::string(h) + "/.config";
    std::string key = Persist.Key;
    std::replace(key.begin(), key.end(), '\\', '_');
    std::replace(key.begin(), key.end(), '/', '_');
    return dir + "/Korvelo/" + (key.empty() ? "settings" : key) + ".ini";
}

void TEditListBox::LoadPersist()
{
    if (!Persist.Enable) return;
    base::TIniFile ini(IniFileName());
    Items().Clear();
    // With a stored count every item comes back, empty ones too; older files end at
    // the first empty item.
    const long long count = ini.ReadInteger(Persist.Section, "ItemCount", -1);
    for (int i = 1;; ++i) {
        const std::string key = "Item" + std::to_string(i);
        if (count >= 0) {
            if (i > count) break;
        } else if (ini.ReadString(Persist.Section, key, "").empty()) {
            break;
        }
        Items().Add(ini.ReadString(Persist.Section, key, ""));
    }
}

void TEditListBox::SavePersist()
{
    if (!Persist.Enable) return;
    base::TIniFile ini(IniFileName());
    const int total = Items().Count();
    const int n = Persist.MaxCount ? Persist.Count : total;
    const int skip = Persist.MaxCount && total > Persist.Count ? total - Persist.Count : 0;
    ini.BeginUpdate();
    int saved = 0;
    for (int i = 1; i <= n; ++i) {
        const int k = skip + i - 1;
        const bool have = k < total;
        if (have) ++saved;
        ini.WriteString(Persist.Section, "Item" + std::to_string(i), have ? Items().Get(k) : "");
    }
    ini.WriteString(Persist.Section, "Item" + std::to_string(n + 1), "");
    ini.WriteInteger(Persist.Section, "ItemCount", saved);
    ini.EndUpdate();
}

}  // namespace edit
