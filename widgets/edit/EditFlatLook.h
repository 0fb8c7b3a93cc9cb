#pragma once
// The flat look the typed edits share: an underline (a frame when soft) in place of the
// border, or a border that shows while the mouse is inside.
#include "platform/Types.h"

namespace platform {
class TCanvas;
class TWinControl;
}  // namespace platform

namespace edit {

struct TFlatLook {
    bool flat = false, focusBorder = false, softBorder = false, border3D = false;
    bool mouseInside = false, focused = false;
    platform::TColor lineColor = platform::clBlack;
};

// The border on the whole window: sunken while the mouse is inside (FocusBorder) or with
// the 3D border, else two frames in the parent's colour. Nothing for a plain edit.
void DrawEditBorder(platform::TCanvas* c, platform::TWinControl* w, const TFlatLook& look);
// A flat edit's look: the border with FocusBorder, else the line under the text from x0 to
// right (with SoftBorder a frame up to top).
void DrawFlatLook(platform::TCanvas* c, platform::TWinControl* w, const TFlatLook& look, int x0, int right, int top);

}  // namespace edit
