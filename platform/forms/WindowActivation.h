#pragma once
// Activation of top-level windows.
namespace platform {

class TWinControl;

// Makes the top-level window that holds c the active one, as a click on it would (after a
// window of its own, such as a pop-up editor, had the keyboard).
void ActivateWindowOf(TWinControl* c);

}  // namespace platform
