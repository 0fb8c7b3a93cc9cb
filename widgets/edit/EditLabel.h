#pragma once
// The caption label that an edit or a combo box carries beside itself.
#include <memory>
#include <string>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace platform {
class TControl;
class TFont;
class TLabel;
class TWinControl;
}  // namespace platform

namespace edit {

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter
};

// Top-left of a label of size w x h (caption tw wide) placed at pos beside a control.
platform::TPoint LabelOrigin(TLabelPosition pos, const platform::TRect& control, int w, int h, int tw, int margin);

// The label of one control: created on the first caption, owned by the control, on the
// control's parent, focusing the control.
class TAttachedLabel {
public:
    explicit TAttachedLabel(platform::TWinControl* control);
    ~TAttachedLabel();

    platform::TLabel* Label() const { return label_; }
    std::string Caption() const;
    void SetCaption(const std::string& s);
    platform::TFont* Font() { return font_.get(); }

    TLabelPosition Position = lpLeftTop;
    int Margin = 4;
    bool Transparent = false;
    bool AlwaysEnabled = false;
    // Asked for the label's font: false keeps the control's font (ParentFont).
    bool UseLabelFont = true;

    // Moves the label beside the control and gives it the font and the visibility.
    void Place();
    void SetParent(platform::TWinControl* parent);
    void SetEnabled(bool e);
    void SetVisible(bool v);
    platform::TNotifyEvent OnClick, OnDblClick;

private:
    platform::TWinControl* control_;
    platform::TLabel* label_ = nullptr;
    std::unique_ptr<platform::TFont> font_;
};

}  // namespace edit
