#pragma once
// A bar between aligned controls: dragging it resizes the control it follows.
#include "platform/controls/Controls.h"

namespace plot {

class TSplitter : public platform::TGraphicControl {
public:
    explicit TSplitter(platform::TComponent* AOwner);

    int MinSize() const { return minSize_; }
    void SetMinSize(int Value) { minSize_ = Value < 1 ? 1 : Value; }
    // The control being resized while a drag runs, else null.
    platform::TControl* ResizeControl() const { return control_; }

    platform::TNotifyEvent OnMoved;

    void Paint() override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

private:
    platform::TControl* FindControl() const;
    int NewSizeAt(int X, int Y) const;
    void ApplySize(int size);

    int minSize_ = 30;
    int maxSize_ = 0;
    platform::TControl* control_ = nullptr;
    platform::TPoint downPos_;
};

}  // namespace plot
