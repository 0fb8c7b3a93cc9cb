#pragma once
// Geometry, colours and handle types shared by the whole GUI layer.
#include <cstdint>
#include <string>

namespace platform {

using String = std::string;  // 8-bit text, Windows-1252 at the drawing boundary
using Byte = std::uint8_t;
using Word = std::uint16_t;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Opaque handles. A device context belongs to one canvas or to the screen.
struct DeviceContext;
using HDC = DeviceContext*;
struct RegionObject;
using HRGN = RegionObject*;
struct PenObject;
using HPEN = PenObject*;
class TWinControl;
struct WindowHandle;
using HWND = WindowHandle*;

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom are exclusive, as the platform's rectangles are.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
inline bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
inline bool PtInRect(const TRect& r, TPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
inline void OffsetRect(TRect& r, int dx, int dy) { r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy; }
inline void InflateRect(TRect& r, int dx, int dy) { r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy; }
// False (and an empty result) when the two do not overlap.
bool IntersectRect(TRect& out, const TRect& a, const TRect& b);
bool UnionRect(TRect& out, const TRect& a, const TRect& b);

// Colours: 0x00BBGGRR; the top bit names a system colour by its index.
using TColor = std::int32_t;
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) { return COLORREF(r & 255) | (COLORREF(g & 255) << 8) | (COLORREF(b & 255) << 16); }
constexpr int GetRValue(COLORREF c) { return int(c & 255); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 255); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 255); }

enum SysColorIndex {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND, COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION, COLOR_MENU, COLOR_WINDOW,
    COLOR_WINDOWFRAME, COLOR_MENUTEXT, COLOR_WINDOWTEXT, COLOR_CAPTIONTEXT, COLOR_ACTIVEBORDER, COLOR_INACTIVEBORDER,
    COLOR_APPWORKSPACE, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
    COLOR_BTNTEXT, COLOR_INACTIVECAPTIONTEXT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_INFOTEXT,
    COLOR_INFOBK, COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION, COLOR_MENUHILIGHT,
    COLOR_MENUBAR, COLOR_ENDCOLORS = 31
};

constexpr TColor SysColor(int index) { return TColor(0x80000000u | unsigned(index)); }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0,
                 clLtGray = 0xC0C0C0, clDkGray = 0x808080;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR), clBackground = SysColor(COLOR_BACKGROUND),
                 clActiveCaption = SysColor(COLOR_ACTIVECAPTION), clInactiveCaption = SysColor(COLOR_INACTIVECAPTION),
                 clMenu = SysColor(COLOR_MENU), clWindow = SysColor(COLOR_WINDOW),
                 clWindowFrame = SysColor(COLOR_WINDOWFRAME), clMenuText = SysColor(COLOR_MENUTEXT),
                 clWindowText = SysColor(COLOR_WINDOWTEXT), clCaptionText = SysColor(COLOR_CAPTIONTEXT),
                 clActiveBorder = SysColor(COLOR_ACTIVEBORDER), clInactiveBorder = SysColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SysColor(COLOR_APPWORKSPACE), clHighlight = SysColor(COLOR_HIGHLIGHT),
                 clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SysColor(COLOR_BTNFACE),
                 clBtnShadow = SysColor(COLOR_BTNSHADOW), clGrayText = SysColor(COLOR_GRAYTEXT),
                 clBtnText = SysColor(COLOR_BTNTEXT), clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SysColor(COLOR_3DDKSHADOW),
                 cl3DLight = SysColor(COLOR_3DLIGHT), clInfoText = SysColor(COLOR_INFOTEXT),
                 clInfoBk = SysColor(COLOR_INFOBK), clHotLight = SysColor(COLOR_HOTLIGHT),
                 clGradientActiveCaption = SysColor(COLOR_GRADIENTACTIVECAPTION),
                 clGradientInactiveCaption = SysColor(COLOR_GRADIENTINACTIVECAPTION),
                 clMenuHighlight = SysColor(COLOR_MENUHILIGHT), clMenuBar = SysColor(COLOR_MENUBAR);

// The desktop's colour for a system colour index (the classic palette before the
// application exists). SetSysColorOverride pins one index, for tests.
COLORREF GetSysColor(int index);
void SetSysColorOverride(int index, COLORREF rgb);
void ClearSysColorOverrides();
// RGB of any colour: system colours resolved, clNone and clDefault give black.
COLORREF ColorToRGB(TColor color);

// Result codes of the platform's component interfaces (themes, drag and drop).
using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT E_INSUFFICIENT_BUFFER = HRESULT(0x8007007Au);
inline bool FAILED(HRESULT hr) { return hr < 0; }
inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

// Milliseconds since an arbitrary start, as the system's tick count.
DWORD GetTickCount();

// Windows-1252 <-> UTF-8, for code that talks to the host outside platform/.
std::string AnsiToUtf8(const std::string& s);
std::string Utf8ToAnsi(const std::string& s);
// Windows-1252 <-> UTF-16, character for character ('?' for what 1252 lacks).
std::u16string AnsiToWide(const std::string& s);
std::string WideToAnsi(const std::u16string& s);
// Compares two wide texts ignoring case (Unicode case folding): <0, 0 or >0.
int CompareTextWide(const std::u16string& a, const std::u16string& b);
// Compares two wide texts in the collation order of the user's default locale (the root
// order when the locale is C or POSIX), with or without case: <0, 0 or >0.
int CompareStringLocale(const std::u16string& a, const std::u16string& b, bool IgnoreCase);
// The locale identifier that stands for the user's own settings.
constexpr unsigned LOCALE_USER_DEFAULT = 0x0400;
// Windows-1252 <-> the OEM code page (437), character for character; a character the
// other page lacks becomes '?'.
std::string CharToOem(const std::string& s);
std::string OemToChar(const std::string& s);

}  // namespace platform
