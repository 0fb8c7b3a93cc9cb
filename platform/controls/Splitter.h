#pragma once
// A bar between aligned controls: dragging it resizes the control it follows.
#include "platform/controls/Controls.h"

namespace platform {

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);

    int MinSize() const { return minSize_; }
    void SetMinSize(int Value) { minSize_ = Value < 1 ? 1 : Value; }
    // The control being resized while a drag runs, else null.
    TControl* ResizeControl() const { return control_; }

    TNotifyEvent OnMoved;

    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TControl* FindControl() const;
    void UpdateCursor();
    int NewSizeAt(int X, int Y) const;
    void ApplySize(int size);

    int minSize_ = 30;
    int maxSize_ = 0;
    TControl* control_ = nullptr;
    TPoint downPos_;
};

}  // namespace platform
