#pragma once
// Window messages: identifiers, the message record and its decoders, key codes.
#include <cstdint>

#include "platform/Types.h"

namespace platform {

enum : UINT {
    WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A, WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D, WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018, WM_NOTIFY = 0x004E, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_GETMINMAXINFO = 0x0024,
    WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106, WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115,
    WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_CAPTURECHANGED = 0x0215, WM_DROPFILES = 0x0233,
    WM_MOUSELEAVE = 0x02A3, WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303,
    WM_UNDO = 0x0304, WM_USER = 0x0400, WM_APP = 0x8000,
    WM_MDIDESTROY = 0x0221, WM_MDIACTIVATE = 0x0222, WM_MDINEXT = 0x0224, WM_MDIGETACTIVE = 0x0229,
    WM_MDIREFRESHMENU = 0x0234,
    WM_MOUSEFIRST = WM_MOUSEMOVE, WM_MOUSELAST = WM_MOUSEWHEEL, WM_KEYFIRST = WM_KEYDOWN, WM_KEYLAST = 0x0108
};

// The class library's own notifications.
enum : UINT {
    CM_BASE = 0xB000, CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE, CM_GOTFOCUS, CM_LOSTFOCUS, CM_CANCELMODE,
    CM_DIALOGKEY, CM_DIALOGCHAR, CM_FOCUSCHANGED, CM_PARENTFONTCHANGED, CM_PARENTCOLORCHANGED, CM_HITTEST,
    CM_VISIBLECHANGED, CM_ENABLEDCHANGED, CM_COLORCHANGED, CM_FONTCHANGED, CM_CURSORCHANGED, CM_CTL3DCHANGED,
    CM_PARENTCTL3DCHANGED, CM_TEXTCHANGED, CM_MOUSEENTER, CM_MOUSELEAVE, CM_MENUCHANGED, CM_APPKEYDOWN,
    CM_APPSYSCOMMAND, CM_BUTTONPRESSED, CM_SHOWINGCHANGED, CM_ENTER, CM_EXIT, CM_DESIGNHITTEST, CM_ICONCHANGED,
    CM_WANTSPECIALKEY, CM_INVOKEHELP, CM_WINDOWHOOK, CM_RELEASE, CM_SHOWHINTCHANGED, CM_PARENTSHOWHINTCHANGED,
    CM_SYSCOLORCHANGE, CM_WININICHANGE, CM_FONTCHANGE, CM_TIMECHANGE, CM_TABSTOPCHANGED, CM_UIACTIVATE,
    CM_UIDEACTIVATE, CM_DOCWINDOWACTIVATE, CM_CONTROLLISTCHANGE, CM_GETDATALINK, CM_CHILDKEY, CM_DRAG,
    CM_HINTSHOW, CM_DIALOGHANDLE, CM_ISTOOLCONTROL, CM_RECREATEWND, CM_INVALIDATE, CM_SYSFONTCHANGED,
    CM_CONTROLCHANGE, CM_CHANGED, CM_DOCKCLIENT, CM_UNDOCKCLIENT, CM_FLOAT, CM_BORDERCHANGED,
    CM_BIDIMODECHANGED, CM_PARENTBIDIMODECHANGED, CM_ALLCHILDRENFLIPPED, CM_ACTIONUPDATE, CM_ACTIONEXECUTE,
    CM_HINTSHOWPAUSE, CM_DOCKNOTIFICATION, CM_MOUSEWHEEL
};

// Notifications of standard controls reflected back to the control that sent them.
enum : UINT { CN_BASE = 0xBC00, CN_COMMAND = CN_BASE + WM_COMMAND, CN_NOTIFY = CN_BASE + WM_NOTIFY };

// Mouse message key flags.
// Hit-test codes (WM_SETCURSOR: the low word of LParam; the high word is the mouse message).
enum : int {
    HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13,
    HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17
};
enum : UINT { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };
// Answers to WM_GETDLGCODE.
enum : UINT { DLGC_WANTARROWS = 0x01, DLGC_WANTTAB = 0x02, DLGC_WANTALLKEYS = 0x04, DLGC_WANTCHARS = 0x80 };
// Key data of WM_KEYDOWN/WM_CHAR: repeat count in bits 0-15, the scan code in bits 16-23
// (the keypad's keys have 0x40 set there, bit 22), the extended-key bit, the Alt bit, and
// for a release the previous-state and transition bits.
constexpr LPARAM KF_EXTENDED_BIT = LPARAM(1) << 24;
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;
constexpr LPARAM KF_UP_BITS = (LPARAM(1) << 30) | (LPARAM(1) << 31);

enum : Word {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08, VK_TAB = 0x09,
    VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29,
    VK_PRINT = 0x2A, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B,
    VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD9 = 0x69, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2, VK_F3,
    VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91
};

// The key data the keyboard sends with a virtual key: repeat count 1 and the key's scan
// code (and extended bit); VK_NUMPAD0..9 and VK_DECIMAL are the keypad's keys.
LPARAM KeyDataOf(Word vk, bool alt = false, bool release = false);

// One message: identifier, two parameters and the handler's result. The decoders
// read the parameters the way each message packs them.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    Word WParamLo() const { return Word(WParam & 0xFFFF); }
    Word WParamHi() const { return Word((WParam >> 16) & 0xFFFF); }
    Word LParamLo() const { return Word(LParam & 0xFFFF); }
    Word LParamHi() const { return Word((LParam >> 16) & 0xFFFF); }
    // Mouse messages: client position (screen position for the wheel) and MK_ flags.
    int XPos() const { return std::int16_t(LParam & 0xFFFF); }
    int YPos() const { return std::int16_t((LParam >> 16) & 0xFFFF); }
    TPoint Pos() const { return {XPos(), YPos()}; }
    UINT Keys() const { return WParamLo(); }
    // WM_MOUSEWHEEL: multiples of 120 per notch, positive away from the user.
    int WheelDelta() const { return std::int16_t(WParamHi()); }
    // Key messages: the virtual key or the character (Windows-1252).
    Word CharCode() const { return WParamLo(); }
    void SetCharCode(Word c) { WParam = c; }
    LPARAM KeyData() const { return LParam; }
    // WM_SIZE: new client size. WM_TIMER: the identifier.
    int Width() const { return LParamLo(); }
    int Height() const { return LParamHi(); }
    UINT TimerID() const { return UINT(WParam); }
    // WM_HSCROLL / WM_VSCROLL: the SB_ code and the thumb position of SB_THUMBTRACK / SB_THUMBPOSITION.
    int ScrollCode() const { return WParamLo(); }
    int ScrollPos() const { return WParamHi(); }
    // WM_PAINT / WM_ERASEBKGND: the device context when given.
    HDC DC() const { return reinterpret_cast<HDC>(WParam); }
};

inline LPARAM MakeLParam(int lo, int hi) { return LPARAM(std::uint32_t(Word(lo)) | (std::uint32_t(Word(hi)) << 16)); }
inline WPARAM MakeWParam(int lo, int hi) { return WPARAM(std::uint32_t(Word(lo)) | (std::uint32_t(Word(hi)) << 16)); }
inline LPARAM PointToLParam(TPoint p) { return MakeLParam(p.X, p.Y); }

// Names for the message record as the handlers take it.
using TWMMouse = TMessage;
using TWMMouseMove = TMessage;
using TWMMouseWheel = TMessage;
using TWMKey = TMessage;
using TWMChar = TMessage;
using TWMKeyDown = TMessage;
using TWMKeyUp = TMessage;
using TWMPaint = TMessage;
using TWMEraseBkgnd = TMessage;
using TWMSize = TMessage;
using TWMMove = TMessage;
using TWMSetFocus = TMessage;
using TWMKillFocus = TMessage;
using TWMTimer = TMessage;
using TWMGetDlgCode = TMessage;
using TWMSetCursor = TMessage;
using TWMCancelMode = TMessage;
using TWMScroll = TMessage;
using TWMHScroll = TMessage;
using TWMVScroll = TMessage;
using TCMHintShow = TMessage;
using TCMDialogKey = TMessage;
using TCMWantSpecialKey = TMessage;
// Docking: CM_DOCKCLIENT (WParam the TDragDockObject, LParam the drop point in client
// coordinates), CM_UNDOCKCLIENT (WParam the new site or 0, LParam the client),
// CM_DOCKNOTIFICATION (WParam the client, LParam a TDockNotifyRec).
using TCMDockClient = TMessage;
using TCMUnDockClient = TMessage;
using TCMDockNotification = TMessage;
struct TDockNotifyRec {
    UINT ClientMsg;
    WPARAM MsgWParam;
    LPARAM MsgLParam;
};

}  // namespace platform
