#pragma once
// List boxes: rows of text drawn by the control or by its owner, with one or many
// rows selected, and the item list that list boxes and combo boxes share.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/controls/Controls.h"

namespace platform {

enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16, odDefault = 32, odHotLight = 64,
    odInactive = 128, odNoAccel = 256, odNoFocusRect = 512, odComboBoxEdit = 4096
};
using TOwnerDrawState = unsigned;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The items of a list control: texts with objects, kept in order when sorted. The
// control hears every change through the hooks; each item also carries its selected
// flag and its measured height (-1 until measured).
class TListItems : public base::TStrings {
public:
    int Count() const override { return int(items_.size()); }
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;  // in order when sorted
    int IndexOf(const std::string& s) const override;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    bool Selected(int index) const;
    void SetSelected(int index, bool v);
    int ItemHeight(int index) const { return items_[Check(index)].height; }
    void SetItemHeight(int index, int h) { items_[Check(index)].height = h; }
    void ForgetHeights();

    std::function<void(int index)> OnInserted, OnDeleted;
    std::function<void()> OnCleared, OnChanged;

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        std::string text;
        void* object = nullptr;
        bool selected = false;
        int height = -1;
    };
    std::size_t Check(int index) const;
    void Changed();
    std::vector<Item> items_;
    bool sorted_ = false;
};

// The first item after From (wrapping round) whose text starts with the letter Key, in
// either case; -1 when none does. List controls select it when the letter is typed.
int NextItemStartingWith(char Key, int From, int Count, const std::function<std::string(int)>& TextOf);

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TListBorderStyle { lbsNone, lbsSingle };

// List box messages answered by the control.
enum : UINT {
    LB_ADDSTRING = 0x0180, LB_DELETESTRING = 0x0182, LB_RESETCONTENT = 0x0184, LB_SETSEL = 0x0185,
    LB_SETCURSEL = 0x0186, LB_GETSEL = 0x0187, LB_GETCURSEL = 0x0188, LB_GETCOUNT = 0x018B,
    LB_GETTOPINDEX = 0x018E, LB_GETSELCOUNT = 0x0190, LB_SETTOPINDEX = 0x0197, LB_GETITEMRECT = 0x0198,
    LB_SETTABSTOPS = 0x0192, LB_GETHORIZONTALEXTENT = 0x0193, LB_SETHORIZONTALEXTENT = 0x0194,
    LB_SETITEMHEIGHT = 0x01A0, LB_GETITEMHEIGHT = 0x01A1, LB_ITEMFROMPOINT = 0x01A9
};
// The style that lays item texts out on the tab stops of LB_SETTABSTOPS.
enum : DWORD { LBS_USETABSTOPS = 0x0080 };

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TListItems& Items();
    void Clear();
    int Count() const;
    // The current row: the selected one, or with MultiSelect the one with the focus.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int Value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int Value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle Value);
    bool Sorted() const;
    void SetSorted(bool Value);
    TListBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TListBorderStyle Value);

    // MultiSelect lets many rows be selected: a click toggles a row; with ExtendedSelect
    // a click selects one row, Ctrl adds or removes one and Shift a range.
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool Value) { extendedSelect_ = Value; }
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();

    // The row under a client position: with Existing, -1 past the last row, else Count.
    int ItemAtPos(TPoint Pos, bool Existing) const;
    // Tab stops in dialog units (a quarter of the width of "x" in the list's font); a
    // negative stop right-aligns. Used with LBS_USETABSTOPS; none means every 32 units.
    void SetTabStops(const std::vector<int>& DialogUnits);
    const std::vector<int>& TabStops() const { return tabStops_; }
    // The stops in pixels of the list's font.
    std::vector<int> TabStopPixels();
    bool UsesTabStops() const { return useTabStops_; }
    // The width the rows can be scrolled across; wider than the client area, it brings
    // the horizontal scroll bar.
    int HorizontalExtent() const { return hExtent_; }
    void SetHorizontalExtent(int Value);
    // How far the rows are scrolled to the left.
    int ScrollLeft() const { return hPos_; }
    TRect ItemRect(int Index) const;
    // Rows that fit wholly from the top row down (at least one).
    int VisibleRows() const;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    // Draws one row with the canvas brush and font already set for its state; owner-drawn
    // styles raise OnDrawItem when assigned.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    // The height of a row of lbOwnerDrawVariable; OnMeasureItem may change it.
    virtual void MeasureItem(int Index, int& Height);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void DefaultHandler(TMessage& m) override;
    void WMVScroll(TWMVScroll& m) override;
    void WMHScroll(TWMHScroll& m) override;
    void WMSize(TWMSize& m) override;
    void WMGetDlgCode(TWMGetDlgCode& m) override { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

protected:
    // A change of selection by the user: raises OnClick.
    virtual void SelectionChanged();
    // An item's text as drawn: the 8-bit item widened; a list holding wide items gives those.
    virtual std::u16string ShownItemText(int Index) const;
    // Rows were added or deleted, or (Reset) all of them cleared.
    virtual void ItemsChanged(bool /*Reset*/) {}
    int RowHeight(int Index) const;
    void UpdateScrollBar();
    void UpdateHorzScrollBar();
    void SetScrollLeft(int Value);

private:
    void MoveTo(int Index, TShiftState Shift, bool byMouse);
    void SelectRange(int from, int to);
    void ScrollIntoView(int Index);
    int LastTopIndex() const;

    std::unique_ptr<TListItems> items_;
    int itemIndex_ = -1;
    int anchor_ = -1;  // where a Shift range starts
    int itemHeight_ = 16;
    int topIndex_ = 0;
    TListBoxStyle style_ = lbStandard;
    TListBorderStyle borderStyle_ = lbsSingle;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool tracking_ = false;  // the left button is down in a single-selection list
    bool useTabStops_ = false;
    std::vector<int> tabStops_;
    int hExtent_ = 0, hPos_ = 0;
    int pendingChange_ = 0;  // 1 rows added or deleted, 2 cleared, until OnChanged
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

}  // namespace platform
