#pragma once
// Combo boxes: an edit (or the selected item) with a button that drops down a list in a
// window of its own. Styles: simple (the list always shown below the edit), drop-down
// (edit and list), drop-down list (no edit) and the two owner-drawn ones. What happens
// reaches the control as CN_COMMAND notifications (CBN_ codes) that a derived class can
// take over; the default answers raise the events.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/ListBox.h"

namespace platform {

class TCustomComboBox;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Notification codes (the high word of CN_COMMAND's WParam).
enum : Word {
    CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6,
    CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9, CBN_SELENDCANCEL = 10
};
// Messages answered by the combo box.
enum : UINT {
    CB_ADDSTRING = 0x0143, CB_DELETESTRING = 0x0144, CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147,
    CB_RESETCONTENT = 0x014B, CB_SETCURSEL = 0x014E, CB_SHOWDROPDOWN = 0x014F, CB_GETDROPPEDCONTROLRECT = 0x0152,
    CB_SETITEMHEIGHT = 0x0153, CB_GETITEMHEIGHT = 0x0154, CB_GETDROPPEDSTATE = 0x0157, CB_FINDSTRINGEXACT = 0x0158,
    CB_GETDROPPEDWIDTH = 0x015F, CB_SETDROPPEDWIDTH = 0x0160
};

class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TListItems& Items();
    void Clear();
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    // From code: no events. The edit styles show the item's text.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int Value);
    // The edit's text, or the selected item's; setting it in a list style selects the
    // item with that text.
    void SetText(const std::string& s) override;
    int ItemHeight() const;
    void SetItemHeight(int Value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value) { dropDownCount_ = std::max(1, Value); }
    // The list's width; it is never narrower than the control.
    int DroppedWidth() const { return droppedWidth_; }
    void SetDroppedWidth(int Value) { droppedWidth_ = std::max(0, Value); }
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    bool Sorted() const;
    void SetSorted(bool Value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    void SelectAll();
    // The edit part of the edit styles (nullptr for the list styles).
    TWinControl* EditControl() const;
    // The list in its drop-down window (the list below the edit for csSimple).
    TCustomListBox* ListControl() const;
    // The sunken frame; without it a flat one-pixel line.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);
    // The control or its edit has the focus.
    bool ComboFocused() const;

    TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    // The class library's steps, each raising its event.
    virtual void Change();
    virtual void Select();  // OnSelect, or OnChange when there is none
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    // Messages of the edit part pass here first; the default gives keys and characters
    // to the combo box's handlers and the rest to the edit.
    virtual void ComboWndProc(TMessage& Message, TWinControl* Child);
    virtual void CNCommand(TMessage& m);

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void SetBounds(int l, int t, int w, int h) override;
    void Dispatch(TMessage& m) override;
    void DefaultHandler(TMessage& m) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void SetFocus() override;  // the edit part takes it in the edit styles
    void WMSetFocus(TWMSetFocus& m) override;
    void WMKillFocus(TWMKillFocus& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override { m.Result = DLGC_WANTARROWS; }
    void WMSize(TWMSize& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMEnabledChanged(TMessage& m) override;
    void CMWantSpecialKey(TCMWantSpecialKey& m) override;

    // The drop button's rectangle in client coordinates (empty for csSimple).
    TRect ButtonRect() const;

protected:
    bool EditStyle() const { return style_ == csDropDown || style_ == csSimple; }
    bool OwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    void Notify(Word code);
    // Takes row index from the list as the user's choice.
    void ChooseFromList(int index);
    // Focus went from the combo box and its edit to focus (nullptr: unknown).
    void FocusLeft(TWinControl* focus);
    // Texts as drawn: the 8-bit ones widened; a combo box holding wide text gives that
    // (one wide character per 8-bit one) and calls ShownTextChanged when only it changed.
    virtual std::u16string ShownItemText(int Index) const;
    virtual std::u16string ShownEditText(const std::string& text) const;
    void ShownTextChanged();

private:
    class TComboEdit;
    class TComboList;
    friend class TComboEdit;
    friend class TComboList;
    void RecreateParts();
    void LayoutParts();
    void ShowItemText();
    void MoveSelection(int index);  // as the keys do: selects and notifies
    void DrawListItem(TCanvas* target, int Index, const TRect& Rect, TOwnerDrawState State);
    int MeasureHeight() const;

    std::unique_ptr<TListItems> items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
    int itemHeight_ = 0;  // 0: from the font
    int dropDownCount_ = 8;
    int droppedWidth_ = 0;
    int maxLength_ = 0;
    TComboEdit* edit_ = nullptr;
    TComboList* list_ = nullptr;
    bool dropped_ = false;
    bool settingText_ = false;
    bool inCloseUp_ = false;
    bool ctl3D_ = true;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

}  // namespace platform
