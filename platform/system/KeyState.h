#pragma once
// The state of the keys and mouse buttons as the input being handled sees it. The input
// layer (the host windows and the test rig) reports presses and releases, and the modifier
// keys and buttons that each input event carries.

namespace platform {

// Negative while the key or button vk (VK_ code) is down as far as the input handled so
// far tells; bit 0 flips with each press, so for Caps Lock, Num Lock and Scroll Lock it is
// set while the lock is on.
short GetKeyState(int vk);
// The same, and Shift, Ctrl, Alt and the mouse buttons also when the windowing system
// reports them held now (pressed outside our windows).
short GetAsyncKeyState(int vk);

// A key or button vk pressed or released.
void NoteKeyEvent(int vk, bool down);

// While it lives, Shift, Ctrl, Alt and the mouse buttons read as the ss flags in held say
// (ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle), whatever was recorded.
class TInputScope {
public:
    explicit TInputScope(unsigned held);
    ~TInputScope();
    TInputScope(const TInputScope&) = delete;
    TInputScope& operator=(const TInputScope&) = delete;

private:
    int saved_;
};

}  // namespace platform
