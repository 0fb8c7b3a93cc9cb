#include "widgets/edit/EditList.h"

#include <algorithm>
#include <cstdlib>

#include "base/IniFile.h"
#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
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

TEditListBox::TEditListBox(TComponent* AOwner) : TListBox(AOwner) { edit_ = new TSizeEdit(this); }

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
}

void TEditListBox::CommitEdit()
{
    const int i = edit_->index_;
    if (i < 0 || i >= Items().Count()) return;
    std::string s = edit_->Text();
    bool allow = true;
    if (OnEditDone) OnEditDone(this, s, allow);
    Items().Put(i, allow ? s : edit_->saved_);
    if (MultiSelect()) SetSelected(i, true);
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
    if (updateCount_ > 0) --updateCount_;
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
    for (int i = 0; i < Items().Count(); ++i) widest = std::max(widest, GetStringExtent(Items().Get(i)));
    return widest;
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
    inNotify_ = false;
}

void TEditListBox::CMHintShow(TCMHintShow& m)
{
    THintInfo* info = HintInfoOf(m);
    if (info) {
        info->HintColor = HintColor;
        const int i = ItemAtPos(info->CursorPos, true);
        if (i >= 0 && GetStringExtent(Items().Get(i)) > Width() - GetSystemMetrics(SM_CXVSCROLL)) {
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
