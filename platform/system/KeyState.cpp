#include "platform/system/KeyState.h"

#include <QGuiApplication>

#include <array>

#include "platform/controls/Controls.h"
#include "platform/Private.h"
#include "platform/TestRig.h"

namespace platform {

namespace {

// Per VK_ code: 0x80 while down, 0x01 flipped by each press.
std::array<unsigned char, 256> gKeys{};
// ss flags of the input event being handled (-1: none), and those the test rig pins (-1: none).
int gScoped = -1;
int gPinned = -1;

// The ss flag that stands for vk, or 0.
unsigned FlagOf(int vk)
{
    switch (vk) {
    case VK_SHIFT: return ssShift;
    case VK_CONTROL: return ssCtrl;
    case VK_MENU: return ssAlt;
    case VK_LBUTTON: return ssLeft;
    case VK_RBUTTON: return ssRight;
    case VK_MBUTTON: return ssMiddle;
    default: return 0;
    }
}

// The modifier keys and buttons the windowing system reports held now.
unsigned LiveHeld()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    return HeldFlags(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

}  // namespace

unsigned HeldFlags(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    return ((m & Qt::ShiftModifier) ? ssShift : 0u) | ((m & Qt::ControlModifier) ? ssCtrl : 0u) |
           ((m & Qt::AltModifier) ? ssAlt : 0u) | ((b & Qt::LeftButton) ? ssLeft : 0u) |
           ((b & Qt::RightButton) ? ssRight : 0u) | ((b & Qt::MiddleButton) ? ssMiddle : 0u);
}

void NoteKeyEvent(int vk, bool down)
{
    if (vk <= 0 || vk > 255) return;
    unsigned char& k = gKeys[std::size_t(vk)];
    if (down && !(k & 0x80)) k ^= 0x01;
    k = down ? (k | 0x80) : (k & 0x01);
}

TInputScope::TInputScope(unsigned held) : saved_(gScoped) { gScoped = int(held); }
TInputScope::~TInputScope() { gScoped = saved_; }

void SetSimulatedShiftState(int shift) { gPinned = shift; }

short GetKeyState(int vk)
{
    if (vk <= 0 || vk > 255) return 0;
    const unsigned char k = gKeys[std::size_t(vk)];
    short state = short(k & 0x01);
    const unsigned flag = FlagOf(vk);
    const int held = gPinned >= 0 ? gPinned : gScoped;
    bool down = k & 0x80;
    if (flag && held >= 0) down = unsigned(held) & flag;
    if (down) state = short(state | short(0xFF80));
    return state;
}

short GetAsyncKeyState(int vk)
{
    const short state = GetKeyState(vk);
    // Modifiers and buttons also as the windowing system has them now, outside our windows too.
    if (state >= 0 && (LiveHeld() & FlagOf(vk))) return short(state | short(0xFF80));
    return state;
}

}  // namespace platform
