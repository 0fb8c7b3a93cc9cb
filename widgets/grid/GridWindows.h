#pragma once
// The grid's small pop-up windows: the arrows that mark where a moved column or row will
// land, and the button-like window that serves as the drag image.
#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"

namespace platform {
class TImageList;
}

namespace grid {

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A borderless arrow in its Color (lime), shaped by a window region.
class TArrowWindow : public platform::TPanel {
public:
    TArrowWindow(platform::TWinControl* AOwner, TArrowDirection ADirection);
    TArrowDirection Direction() const { return direction_; }
    // The arrow's outline in window pixels.
    static std::vector<platform::TPoint> Outline(TArrowDirection d);
    void CreateParams(platform::TCreateParams& params) override;

protected:
    void CreateWnd() override;

private:
    TArrowDirection direction_;
};

class TPopupButton : public platform::TCustomControl {
public:
    explicit TPopupButton(platform::TComponent* AOwner);
    std::string Caption;
    bool Flat = false;
    platform::TColor GradFrom = platform::clNone, GradTo = platform::clNone;
    platform::TImageList* Images = nullptr;  // pictures of an HTML caption
    void CreateParams(platform::TCreateParams& params) override;
    void Paint() override;
};

}  // namespace grid
