#pragma once
// The small editors the parameter tree shows over a parameter: an edit and a list. Each
// commits its value through a handler, then gives the focus back to the tree.
#include <functional>
#include <string>

#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"

namespace edit {

using TParamCommitEvent = std::function<void(platform::TObject* Sender, const std::string& href, const std::string& value)>;

// What every pop-up editor carries.
struct TPopupEditorLink {
    bool Cancelled = false;  // closed by Enter or Esc: the focus loss that follows commits nothing
    std::string Href;
    TParamCommitEvent OnCommit;
    platform::TNotifyEvent OnReturn;  // after a commit by Enter
    platform::TNotifyEvent OnCancel;  // closed by Esc, nothing committed
};

class TPopupEdit : public platform::TEdit {
public:
    explicit TPopupEdit(platform::TComponent* AOwner) : TEdit(AOwner) {}
    TPopupEditorLink Link;
    bool GrowWithText = false;

    void Change() override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void WMChar(platform::TWMChar& m) override;
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;

private:
    void Close();
};

// A whole number that Up and Down step by one; commits as the edit does.
class TPopupSpinEdit : public TPopupEdit {
public:
    using TPopupEdit::TPopupEdit;
    int Value() const;  // 0 for a text that is no whole number
    void SetValue(int v);
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void KeyPress(char& Key) override;
};

class TPopupListBox : public platform::TListBox {
public:
    explicit TPopupListBox(platform::TComponent* AOwner) : TListBox(AOwner) {}
    TPopupEditorLink Link;
    // The widest item plus 10, plus a scroll bar's width when the list scrolls.
    void SizeDropDownWidth();

    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;

private:
    void Close();
};

}  // namespace edit
