#pragma once
// A self-drawn list of text items, each with a flat check box, in a flat frame.
#include "widgets/flat/FlatRows.h"

namespace flat {

class TFlatCheckListBox : public TFlatRowList {
public:
    explicit TFlatCheckListBox(platform::TComponent* AOwner);
    ~TFlatCheckListBox() override;

    // Every item can carry a check mark; indexes outside the items read false.
    bool GetChecked(int i) const { return checks_.Get(i); }
    void SetChecked(int i, bool value);
    int GetSelCount() const { return checks_.Count(); }
    void Clear();
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    // 0 ColorArrow, 1 ColorBorder, 2 ColorItemsRect, 3 ColorItemsSelect, 4 ColorCheck.
    void SetColors(int index, TColor value) override;
    TColor ColorCheck() const { return colorCheck_; }

    platform::TNotifyEvent OnClickCheck;

    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    // The check-box square of row r.
    platform::TRect CheckRect(int r) const;

protected:
    void PaintRows(platform::TCanvas* c) override;
    void ItemsChanged() override;

private:
    TItemMarks checks_;
    int itemIndex_ = -1;
    TColor colorCheck_ = platform::clBlack;
};

}  // namespace flat
