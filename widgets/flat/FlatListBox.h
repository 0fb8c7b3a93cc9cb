#pragma once
// A flat, self-drawn list of strings with single or multiple selection.
#include "widgets/flat/FlatRows.h"

namespace flat {

class TFlatListBox : public TFlatRowList {
public:
    explicit TFlatListBox(platform::TComponent* AOwner);
    ~TFlatListBox() override;

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    bool Selected(int index) const { return selection_.Get(index); }
    void SetSelected(int index, bool value);
    int SelCount() const;
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);

    platform::TNotifyEvent OnChangeIndex;

    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

protected:
    void PaintRows(platform::TCanvas* c) override;
    void ItemsChanged() override;

private:
    void ChangeIndex(int value);
    TRepeatTimer timer_;
    TItemMarks selection_;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
};

}  // namespace flat
