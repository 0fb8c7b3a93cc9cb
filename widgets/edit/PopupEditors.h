#pragma once
// The small editors the parameter tree shows over a parameter: an edit and a list. Each
// is a window of its own (a tool window over the tree, not cut by its edges), commits its
// value through a handler, then gives the focus back to the tree.
#include <functional>
#include <string>

#include "platform/controls/DateTimePicker.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Mask.h"
#include "widgets/grid/GrdSpin.h"

namespace edit {

using TParamCommitEvent = std::function<void(platform::TObject* Sender, const std::string& href, const std::string& value)>;

// What every pop-up editor carries.
struct TPopupEditorLink {
    platform::TWinControl* Tree = nullptr;  // gets the focus back
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
    void CreateParams(platform::TCreateParams& params) override;
};

// A whole number that the spin buttons and Up and Down step by one; commits as the edit does.
class TPopupSpinEdit : public TPopupEdit {
public:
    explicit TPopupSpinEdit(platform::TComponent* AOwner);
    int Value() const;  // 0 for a text that is no whole number
    void SetValue(int v);
    // The up and down buttons at the right end.
    grid::TGrdSpinButton* SpinButton() const { return button_; }
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void KeyPress(char& Key) override;
    void WMSize(platform::TWMSize& m) override;

protected:
    void CreateWnd() override;

private:
    void Step(int delta);
    void SetEditRect();
    grid::TGrdSpinButton* button_ = nullptr;
};

// A masked text: Enter and the loss of focus commit only a text that fills the mask.
class TPopupMaskEdit : public platform::TMaskEdit {
public:
    explicit TPopupMaskEdit(platform::TComponent* AOwner) : TMaskEdit(AOwner) {}
    TPopupEditorLink Link;

    void WMKillFocus(platform::TWMKillFocus& m) override;
    void CMExit(platform::TMessage& m) override;
    void CreateParams(platform::TCreateParams& params) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMChar(platform::TWMChar& m) override;
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;

private:
    // Validates and commits; false (nothing committed) when the text does not fill the mask.
    bool Commit();
    void Close();
};

// A date or a time; commits it as text in the user's regional format.
class TPopupDatePicker : public platform::TDateTimePicker {
public:
    explicit TPopupDatePicker(platform::TComponent* AOwner) : TDateTimePicker(AOwner) {}
    TPopupEditorLink Link;
    // The value as it commits: the short date, or the long time for a time picker.
    std::string ValueText() const;
    // Makes the window anew (before it turns into a time picker).
    void ReInit();
    // The width that shows its whole text (any date or time of the format) and its button.
    int FittingWidth();

    void WMKillFocus(platform::TWMKillFocus& m) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void CreateParams(platform::TCreateParams& params) override;
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
    void CreateParams(platform::TCreateParams& params) override;

private:
    void Close();
};

// Places a pop-up editor at (left, top) on the screen, kept within the work area: one that
// would pass the bottom goes above anchorTop instead (the top of what it edits).
void PlacePopup(platform::TWinControl* editor, int left, int top, int width, int anchorTop);

}  // namespace edit
