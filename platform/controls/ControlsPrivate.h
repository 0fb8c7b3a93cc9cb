#pragma once
// State shared by the controls' .cpp files: the live windows, capture, focus, the drag
// under way, the caret, and each window's host data. Only platform/controls/*.cpp and
// platform/forms/*.cpp include it.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/controls/Controls.h"
#include "platform/Private.h"
#include "platform/system/Clock.h"

class QTimer;
class QScrollBar;

namespace platform {

extern std::set<const TWinControl*> gLive;
extern std::mutex gLiveMutex;  // gLive changes on the GUI thread only; PostMessage may read it from others
// Every window gets its own number, so that a message posted to a window that is gone
// does not reach a later one made at the same address.
extern std::uint64_t gLastSerial;
extern TControl* gCapture;

// The drag under way, if any.
struct DragRun {
    TControl* source = nullptr;
    TDragObject* object = nullptr;
    bool ownObject = false;
    bool started = false;
    int threshold = 5;
    TPoint start;  // screen
    TControl* target = nullptr;
    bool accepted = false;
    TCursor savedCursor = crDefault;
    TDragImageList* images = nullptr;  // the source's, while it has one
    bool dock = false;                 // a dock drag: object is a TDragDockObject
};
// The floating site a control gets when its FloatingDockSiteClass is empty (the forms set it).
extern TFloatingDockSiteClass gDefaultFloatingSite;
// Dock drags (Dock.cpp): the site under the mouse, a move, the end.
void DockDragMove(TDragDockObject* obj, TPoint screen);
void DockDragFinish(TControl* source, TDragDockObject* obj, bool drop, TPoint screen);
extern DragRun gDrag;
// Where the last mouse message pointed, for a drag that begins in its handler.
extern TControl* gLastMouseControl;
extern TPoint gLastMouseScreen;
extern TControl* gMouseControl;
extern TWinControl* gFocused;
extern bool gGrabbed;

// Watches a control while its handlers run: a handler may free the control, after which
// the message code must not touch it. Watches nest on the GUI thread's stack.
struct AliveWatch {
    explicit AliveWatch(const TControl* c);
    ~AliveWatch();
    AliveWatch(const AliveWatch&) = delete;
    AliveWatch& operator=(const AliveWatch&) = delete;
    const TControl* control;
    bool alive = true;
    AliveWatch* next;
};
extern AliveWatch* gWatches;

inline bool IsMouseMsg(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }


// The application's text caret.
struct Caret {
    TWinControl* owner = nullptr;
    QRect rect;
    int hideCount = 1;
    bool drawn = false;
    UINT blinkTime = 530;
    TClockTimer* timer = nullptr;
};
extern Caret gCaret;
void InvertCaret();

// The host window of a windowed control, and the control a host window belongs to.
QWidget* NewHostWidget(TWinControl* owner, QWidget* parent, Qt::WindowFlags flags);
// The MK_ flags of the host's mouse buttons and modifier keys.
UINT MouseKeys(Qt::MouseButtons b, Qt::KeyboardModifiers m);
TWinControl* HostWidgetOwner(QWidget* w);  // nullptr for other widgets
// Made by the first windowed control, on the GUI thread, before any worker posts.
void EnsureMessagePump();
// Shows a pop-up window (a drop-down list, a calendar) without activating it.
void ShowWithoutActivating(TWinControl* c);

// The menus' hooks (set by the menus' code). Keys reach gMenuKeyHook before the control
// handles them (WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_SYSKEYUP, WM_CHAR, WM_SYSCHAR);
// true when a menu took the key. A right button released on a control asks
// gContextMenuHook (screen point); true when a pop-up menu showed.
extern bool (*gMenuKeyHook)(TWinControl* target, UINT msg, Word key, LPARAM data);
extern bool (*gContextMenuHook)(TControl* control, TPoint screen);
// A mouse button pressed on a window (before the window handles it): the forms activate
// the multiple-document child it sits in.
extern void (*gMouseActivateHook)(TWinControl* target);

// Mouse messages of the control being dragged; true when the drag took the message.
bool DragMouse(TControl* c, TMessage& m);

inline TWinControl* TopOf(TWinControl* c)
{
    while (c->Parent()) c = c->Parent();
    return c;
}

struct TWinControl::Impl {
    Impl();
    ~Impl();
    std::uint64_t serial = 0;
    QWidget* widget = nullptr;
    QImage backing;
    QRegion invalid, screenOnly;
    DeviceContext* paintDC = nullptr;
    std::map<UINT, std::unique_ptr<TClockTimer>> timers;
    bool applyingGeometry = false;
    bool redrawOff = false;  // WM_SETREDRAW
    LPARAM userData = 0;
    std::optional<QRegion> shape;
    // OpenGL: the pixel format set on the window (0: none) and its depth bits.
    int pixelFormat = 0, depthBits = 0;
    // The last frame an OpenGL swap showed; it stays over what the window paints.
    QImage glFrame;
    // Scroll bars: horizontal [0], vertical [1].
    SCROLLINFO scroll[2];
    bool scrollForced[2] = {false, false};  // shown by ShowScrollBar
    bool scrollDisableNoScroll[2] = {false, false};
    bool scrollHidden[2] = {false, false};  // hidden by ShowScrollBar until the next SetScrollInfo
    QScrollBar* bars[2] = {nullptr, nullptr};
    // Flat scroll bars: on after InitializeFlatSB; per bar the FSB_ mode, the background
    // (0x1FFFFFFF: the system's) and the thickness (0: the system's).
    bool flatSB = false;
    int flatStyle[2] = {0, 0};
    std::uint32_t flatColor[2] = {0x1FFFFFFF, 0x1FFFFFFF};
    int flatWidth[2] = {0, 0};
    int BarThickness(int b) const
    {
        if (flatSB && flatWidth[b] > 0) return flatWidth[b];
        return GetSystemMetrics(b == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
    }
    bool ScrollShown(int b) const
    {
        const SCROLLINFO& i = scroll[b];
        const int maxPos = std::max(i.nMin, i.nMax - std::max(int(i.nPage) - 1, 0));
        return !scrollHidden[b] && (scrollForced[b] || scrollDisableNoScroll[b] || maxPos > i.nMin);
    }

    // The backing image at the window's size with pixels in the part needed (all of it when
    // none is named): a part first needed is filled with the window's colour. Painting needs
    // only what it shows, so what the window's children cover is never touched.
    void EnsureBacking(TWinControl* c, const QRegion* needed = nullptr);
    QRegion unfilled;  // of the backing image: no pixels given yet
    // Drawing outside a paint message shows at once and is not repainted over.
    void ScreenDrawn(const QRect& r);
};

// The window's creation parameters ask for WS_EX_TRANSPARENT.
bool TransparentStyle(TWinControl* c);
// Gives a window's scroll bar b the look its flat-scroll-bar settings ask for.
void ApplyFlatLook(TWinControl* c, int b);

}  // namespace platform
