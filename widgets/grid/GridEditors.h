#pragma once
// The grid's in-cell editor controls. Each lives in one TExStringGrid (its owner): the
// grid lays it over the current cell, and the control hands the keys that end editing
// back to the grid, after having the grid validate its value where it commits.
#include <cctype>
#include <string>
#include <vector>

#include "platform/controls/ComboBox.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Mask.h"
#include "platform/controls/StdCtrls.h"
#include "widgets/grid/GrdCombo.h"
#include "widgets/grid/GrdEdit.h"
#include "widgets/grid/GrdSpin.h"
#include "widgets/grid/GrdUni.h"
#include "widgets/grid/GridEditorsFwd.h"

namespace grid {

class TExStringGrid;

// Auto-completion: the first of items that begins with typed (upper-cased unless
// caseSensitive), -1 when none or typed is empty; completed gets typed followed by the
// rest of that item (at most 255 characters of it).
template <class Str>
int LookupMatch(const std::vector<Str>& items, const Str& typed, bool caseSensitive, Str& completed)
{
    if (typed.empty()) return -1;
    auto fold = [&](Str s) {
        if (!caseSensitive)
            for (auto& ch : s)
                if ((unsigned)ch < 128) ch = typename Str::value_type(std::toupper(int(ch)));
        return s;
    };
    const Str key = fold(typed);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].size() < key.size() || fold(items[i].substr(0, key.size())) != key) continue;
        Str rest = items[i].substr(typed.size());
        if (rest.size() > 255) rest.resize(255);
        completed = typed + rest;
        return int(i);
    }
    return -1;
}

// The owner as the grid; "Invalid class typecast" for any other owner.
TExStringGrid* OwnerGrid(platform::TComponent* AOwner);

// What every editor control shares: its grid, the keys it wants from the form (Enter, and
// Tab with goTabs), and the grid closing it when the focus leaves for another window.
template <class Base>
class TGridEditorOf : public Base {
public:
    explicit TGridEditorOf(platform::TComponent* AOwner) : Base(AOwner), grid_(OwnerGrid(AOwner)) {}
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

protected:
    TExStringGrid* grid_;
};

extern template class TGridEditorOf<TGrdSpinEdit>;
extern template class TGridEditorOf<TGrdUniEdit>;
extern template class TGridEditorOf<TGrdEditBtn>;
extern template class TGridEditorOf<TGrdUnitEditBtn>;
extern template class TGridEditorOf<platform::TCheckBox>;
extern template class TGridEditorOf<platform::TButton>;
extern template class TGridEditorOf<platform::TDateTimePicker>;
extern template class TGridEditorOf<TGRDComboBox>;
extern template class TGridEditorOf<TGRDUniComboBox>;

class TGridSpin : public TGridEditorOf<TGrdSpinEdit> {
public:
    explicit TGridSpin(platform::TComponent* AOwner);
    void UpClick() override;
    void DownClick() override;
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void KeyPress(char& Key) override;

private:
    void SpinEvent(bool up, bool integerOnly);
};

// The combo editors, on the 8-bit and the wide flat combo box.
template <class Base>
class TGridComboOf : public TGridEditorOf<Base> {
public:
    explicit TGridComboOf(platform::TComponent* AOwner);
    bool LookupOn = true;  // cleared by Backspace and Delete
    platform::TNotifyEvent OnReturnKey;
    // Widens the drop-down list to the widest item (measured with the grid's font).
    void SizeDropDownWidth();
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WndProc(platform::TMessage& m) override;
    void ComboWndProc(platform::TMessage& m, platform::TWinControl* Child) override;
    void CNCommand(platform::TMessage& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

private:
    // Auto-completion of the typed text from the items (and the grid's lookup list).
    void DoChange();
    void Left(platform::TWinControl* focus);
    bool Wheel(platform::TMessage& m);
};

class TGridCombo : public TGridComboOf<TGRDComboBox> {
public:
    using TGridComboOf::TGridComboOf;
};

class TGridUniCombo : public TGridComboOf<TGRDUniComboBox> {
public:
    using TGridComboOf::TGridComboOf;
};

extern template class TGridComboOf<TGRDComboBox>;
extern template class TGridComboOf<TGRDUniComboBox>;

class TGridUniEdit : public TGridEditorOf<TGrdUniEdit> {
public:
    explicit TGridUniEdit(platform::TComponent* AOwner);
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;

private:
};

class TGridEditBtn : public TGridEditorOf<TGrdEditBtn> {
public:
    explicit TGridEditBtn(platform::TComponent* AOwner);
    // The button: the text through the grid's EllipsClick, all of it selected.
    void ExtClick(platform::TObject* Sender);
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
};

class TGridUnitEditBtn : public TGridEditorOf<TGrdUnitEditBtn> {
public:
    explicit TGridUnitEditBtn(platform::TComponent* AOwner);
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
};

class TGridCheckBox : public TGridEditorOf<platform::TCheckBox> {
public:
    explicit TGridCheckBox(platform::TComponent* AOwner);
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    // The press toggles the box at once; the click that completes it toggles nothing more.
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void Click() override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

private:
    bool pressToggled_ = false;
};

class TGridButton : public TGridEditorOf<platform::TButton> {
public:
    explicit TGridButton(platform::TComponent* AOwner);
    // A release of the left button or of Space: the caption through the grid's EllipsClick.
    void Click() override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;

private:
};

class TGridDatePicker : public TGridEditorOf<platform::TDateTimePicker> {
public:
    explicit TGridDatePicker(platform::TComponent* AOwner);
    // The calendar is down (follows the drop-down and close-up notices).
    bool Dropped() const { return dropped_; }
    void DropDown() override;
    void CloseUp() override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    // No 3D border inside the cell: the frame's two rings in the window colour.
    void WMNCPaint(platform::TMessage& m) override;
    // The cell's text as a date (or a time with the time kind); the present moment when it is none.
    void LoadFromCell(const std::string& Text);

private:
    bool dropped_ = false;
};

// The editor of fixed cells: validated through the grid's OnCellValidate when it stops.
class TGridTransEdit : public platform::TCustomEdit {
public:
    explicit TGridTransEdit(platform::TComponent* AOwner);
    int Col = -1, Row = -1;  // the fixed cell (display column, row)
    // Ends the edit: true when the value was kept (or there is no grid) and the editor hid.
    bool StopEdit();
    void DoExit() override;
    void KeyPress(char& Key) override;

private:
    TExStringGrid* grid_;
};

// The editors laid over the form controls of HTML cells: Enter keeps the value and gives
// the grid the focus; Tab keeps it and moves on to the next control of the cell (or, with
// Navigation.AdvanceAuto, to the next cell).
// The edit over an HTML form control of a cell; a "MASK" control's PROP is its edit mask.
class TControlEdit : public platform::TMaskEdit {
public:
    explicit TControlEdit(platform::TComponent* AOwner);
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;
    void KeyPress(char& Key) override;

private:
    TExStringGrid* grid_;
};

class TControlCombo : public platform::TComboBox {
public:
    explicit TControlCombo(platform::TComponent* AOwner);
    void CMWantSpecialKey(platform::TCMWantSpecialKey& m) override;
    void KeyPress(char& Key) override;

private:
    TExStringGrid* grid_;
};

}  // namespace grid
