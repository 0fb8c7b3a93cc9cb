#pragma once
// What the flat check list and the flat list box share: rows of a fixed height in a flat
// frame, optional arrow strips at the top and bottom instead of a scroll bar, the keys and
// the wheel that move the view, and the marks kept per item.
#include <memory>
#include <vector>

#include "base/StringList.h"
#include "platform/controls/Controls.h"
#include "widgets/flat/FlatUtils.h"

namespace platform {
class TTimer;
}

namespace flat {

// One flag per item (checked, selected). A limit above 0 keeps flags for items below it only.
class TItemMarks {
public:
    explicit TItemMarks(int limit = 0) : limit_(limit) {}
    bool Get(int i) const { return i >= 0 && i < int(bits_.size()) && bits_[std::size_t(i)]; }
    // False when the index cannot hold a mark.
    bool Set(int i, bool v);
    bool CanHold(int i) const { return i >= 0 && (limit_ <= 0 || i < limit_); }
    void Clear() { bits_.clear(); }
    int Count() const;

private:
    int limit_;
    std::vector<bool> bits_;
};

class TFlatRowList;

// The timer that repeats a press on an arrow strip, and the list it scrolls.
struct TRepeatTimer {
    TRepeatTimer();  // disabled, 600 ms
    ~TRepeatTimer();
    std::unique_ptr<platform::TTimer> timer;
    TFlatRowList* target = nullptr;
};

class TFlatRowList : public platform::TCustomControl {
public:
    ~TFlatRowList() override;

    base::TStringList& Items() { return items_; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    bool ScrollBars() const { return scrollBars_; }
    void SetScrollBars(bool v);
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool v);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparent(TTransparentMode m);
    TFlatBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TFlatBiDiMode m);

    // Takes a copy of list, each line trimmed of blanks and control characters (in list
    // too); a list longer than ItemLimit is refused.
    void SetItems(base::TStrings& list);
    // Most items the list takes through SetItems and can mark; 0 for no limit.
    virtual int ItemLimit() const { return 0; }
    // 0 ColorArrow, 1 ColorBorder, 2 ColorItemsRect, 3 ColorItemsSelect.
    virtual void SetColors(int index, TColor value);
    TColor ColorArrow() const { return colorArrow_; }
    TColor ColorBorder() const { return colorBorder_; }
    TColor ColorItemsRect() const { return colorItemsRect_; }
    TColor ColorItemsSelect() const { return colorItemsSelect_; }
    bool UseExColors() const { return useExColors_; }
    void SetUseExColors(bool v);
    TExColors ExColorBorder() const { return exColorBorder_; }
    void SetExColors(int index, TExColors amount);
    void CalcExColors();

    // The item shown in the first row, and how many rows fit.
    int TopIndex() const { return topIndex_; }
    int RowCount() const { return int(rows_.size()); }
    // Row r's rectangle, whether or not an item fills it.
    platform::TRect RowRect(int r) const { return rows_[std::size_t(r)]; }
    // The rows that take the pointer's presses; rows without an item do not react.
    int RowAt(int x, int y) const;

    void Loaded() override;
    void Paint() override;
    void WndProc(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    void WMMove(platform::TWMMove& m) override;
    void WMMouseWheel(platform::TWMMouseWheel& m) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override { m.Result = platform::DLGC_WANTARROWS; }
    void CMParentColorChanged(platform::TMessage& m) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

    // The layout: the row rectangles from the height, the item height and the strips.
    void SetItemsRect();

protected:
    // repeat: the scroll-repeat timer this list uses (shared or its own; not owned here).
    TFlatRowList(platform::TComponent* AOwner, TRepeatTimer* repeat);
    void SetColorAt(TColor& field, TColor value);
    void SetTopIndex(int v);
    // The background by TransparentMode, the frame and the strips.
    void PaintFrame(platform::TCanvas* c);
    void DrawScrollBar(platform::TCanvas* c);
    // A row's text on one line, vertically centred, embossed while disabled.
    void DrawRowText(platform::TCanvas* c, platform::TRect r, const std::string& text);
    virtual void PaintRows(platform::TCanvas* c) = 0;
    virtual void ItemsChanged() = 0;
    // A press on a strip: one step now, then the repeat while the button is held. False
    // when the point is on neither strip.
    bool StripPress(int x, int y);
    bool CanScrollDown() const { return items_.Count() >= topIndex_ + RowCount() + 1; }
    void StopRepeat();
    // Lets go of the repeat timer before a derived list frees it; the list scrolls no more.
    void ReleaseRepeat();

    TColor colorArrow_ = platform::clBlack, colorBorder_ = 0x8396A0, colorItemsRect_ = platform::clWhite,
           colorItemsSelect_ = 0x9CDEF7;

private:
    friend struct TRepeatTimer;
    void RepeatTick();
    void SnapHeight();
    TRepeatTimer* repeat_;
    bool scrollingDown_ = false;
    base::TStringList items_;
    std::vector<platform::TRect> rows_;
    int itemHeight_ = 17;
    bool scrollBars_ = false;
    int topIndex_ = 0;
    TTransparentMode transparentMode_ = tmNone;
    TFlatBiDiMode biDiMode_ = bdLeftToRight;
    bool useExColors_ = false;
    TExColors exColorBorder_ = 40;
    platform::UINT wheelMessage_ = 0;
    bool snapping_ = false;
};

}  // namespace flat
