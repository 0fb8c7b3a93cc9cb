#pragma once
// A list box of text rows, drawn by the control or by its owner, one row selected.
#include <functional>
#include <memory>

#include "platform/controls/Controls.h"

namespace base {
class TStrings;
}

namespace plot {

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent = std::function<void(platform::TWinControl* Control, int Index, platform::TRect Rect,
                                          TOwnerDrawState State)>;

class TCustomListBox : public platform::TCustomControl {
public:
    explicit TCustomListBox(platform::TComponent* AOwner);
    ~TCustomListBox() override;

    // The rows; each object slot can carry a value for the owner's drawing.
    base::TStrings& Items();
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int Value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int Value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle Value);
    void Clear();

    // The row under a client position: with Existing, -1 past the last row, else Count.
    int ItemAtPos(platform::TPoint Pos, bool Existing) const;
    platform::TRect ItemRect(int Index) const;

    TDrawItemEvent OnDrawItem;

    void Paint() override;
    // Draws one row with the canvas brush and font already set for its state.
    virtual void DrawItem(int Index, const platform::TRect& Rect, TOwnerDrawState State);
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    bool DoMouseWheel(platform::TShiftState Shift, int WheelDelta, platform::TPoint MousePos) override;

private:
    class Strings;
    friend class Strings;
    void SelectByUser(int Index);
    int VisibleRows() const;

    std::unique_ptr<Strings> items_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    int topIndex_ = 0;
    TListBoxStyle style_ = lbStandard;
};

}  // namespace plot
