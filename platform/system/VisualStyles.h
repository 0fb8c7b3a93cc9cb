#pragma once
// The visual-styles library: theme handles and themed part backgrounds, drawn with the
// desktop's style. Components reach it at run time by entry-point name, as a library
// that may be missing; it reports themes inactive when no desktop style is available.
#include <cstdint>
#include <string>

#include "platform/graphics/GDI.h"
#include "platform/system/Resources.h"
#include "platform/Types.h"

namespace platform {

using HTHEME = std::uintptr_t;
using BOOL = int;
using HBRUSH = std::uintptr_t;
using HIMAGELIST = std::uintptr_t;
using FARPROC = void (*)();

// Record and enumeration types of the library's interface.
enum THEMESIZE { TS_MIN, TS_TRUE, TS_DRAW };
enum PROPERTYORIGIN { PO_STATE, PO_PART, PO_CLASS, PO_GLOBAL, PO_NOTFOUND };
struct _INTLIST {
    int iValueCount = 0;
    int iValues[402] = {};
};
using INTLIST = _INTLIST;
using PINTLIST = _INTLIST*;
struct _MARGINS {
    int cxLeftWidth = 0, cxRightWidth = 0, cyTopHeight = 0, cyBottomHeight = 0;
};
using MARGINS = _MARGINS;
using PMARGINS = _MARGINS*;
struct LOGFONTW {
    int lfHeight = 0, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = 0;
    Byte lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0, lfOutPrecision = 0, lfClipPrecision = 0,
         lfQuality = 0, lfPitchAndFamily = 0;
    wchar_t lfFaceName[32] = {};
};
struct TEXTMETRICW_ {
    int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
    int tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 0;
};
struct DTBGOPTS {
    DWORD dwSize = sizeof(DTBGOPTS);
    DWORD dwFlags = 0;
    TRect rcClip;
};
using PDTBGOPTS = DTBGOPTS*;

// Part numbers of the classes the components draw.
enum { BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4 };
enum { PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5 };
enum { CP_DROPDOWNBUTTON = 1 };
enum { HP_HEADERITEM = 1 };
enum { PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4 };
enum { SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4 };

// Library management, in place of loading a module and fetching its entry points.
// The name compares without regard to case; 0 when the library is not present.
HMODULE LoadVisualStylesLibrary(const std::string& name);
void FreeVisualStylesLibrary(HMODULE module);
// Null for an unknown entry point.
FARPROC GetVisualStylesProc(HMODULE module, const std::string& name);
// Libraries loaded and not yet freed.
int VisualStylesLibraryLoadCount();

// Switches for tests: whether the library exists, whether a style counts as active
// (by default: when the application has a desktop style), the colour-scheme name
// reported for the current theme, an entry point to hide, and a failing name query.
void SetVisualStylesPresent(bool present);
void SetVisualStylesActiveOverride(int active);  // -1: follow the desktop; 0 or 1: forced
void SetVisualStylesColorScheme(const std::wstring& name);  // empty: the desktop style's name
void SetVisualStylesHiddenProc(const std::string& name);    // empty: none hidden
void SetVisualStylesNameQueryResult(HRESULT hr);            // S_OK: answer normally
void ResetVisualStyles();

// The entry points, as the library publishes them.
namespace uxtheme {
HTHEME OpenThemeData(HWND hwnd, const wchar_t* classList);
HRESULT CloseThemeData(HTHEME theme);
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect* rect, const TRect* clip);
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, const wchar_t* text, int count, DWORD flags,
                      DWORD flags2, const TRect* rect);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const TRect* bounds,
                                      TRect* content);
HRESULT GetThemeBackgroundExtent(HTHEME theme, HDC dc, int part, int state, const TRect* content, TRect* extent);
HRESULT GetThemeTextExtent(HTHEME theme, HDC dc, int part, int state, const wchar_t* text, int count, DWORD flags,
                           const TRect* bounds, TRect* extent);
HRESULT GetThemeTextMetrics(HTHEME theme, HDC dc, int part, int state, TEXTMETRICW_* tm);
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const TRect* rect, HRGN* region);
HRESULT HitTestThemeBackground(HTHEME theme, HDC dc, int part, int state, DWORD options, const TRect* rect,
                               HRGN region, TPoint test, Word* code);
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const TRect* dest, UINT edge, UINT flags,
                      TRect* content);
HRESULT DrawThemeIcon(HTHEME theme, HDC dc, int part, int state, const TRect* rect, HIMAGELIST images, int index);
BOOL IsThemePartDefined(HTHEME theme, int part, int state);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
HRESULT GetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color);
HRESULT GetThemeMetric(HTHEME theme, HDC dc, int part, int state, int prop, int* value);
HRESULT GetThemeString(HTHEME theme, int part, int state, int prop, wchar_t* buf, int size);
HRESULT GetThemeBool(HTHEME theme, int part, int state, int prop, BOOL* value);
HRESULT GetThemeInt(HTHEME theme, int part, int state, int prop, int* value);
HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int prop, int* value);
HRESULT GetThemePosition(HTHEME theme, int part, int state, int prop, TPoint* point);
HRESULT GetThemeFont(HTHEME theme, HDC dc, int part, int state, int prop, LOGFONTW* font);
HRESULT GetThemeRect(HTHEME theme, int part, int state, int prop, TRect* rect);
HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int prop, TRect* rect, MARGINS* margins);
HRESULT GetThemeIntList(HTHEME theme, int part, int state, int prop, INTLIST* list);
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, TRect* rect, THEMESIZE size, TSize* result);
HRESULT SetWindowTheme(HWND hwnd, const wchar_t* subAppName, const wchar_t* subIdList);
HRESULT GetThemeFilename(HTHEME theme, int part, int state, int prop, wchar_t* buf, int size);
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
HBRUSH GetThemeSysColorBrush(HTHEME theme, int colorId);
BOOL GetThemeSysBool(HTHEME theme, int boolId);
int GetThemeSysSize(HTHEME theme, int sizeId);
HRESULT GetThemeSysFont(HTHEME theme, int fontId, LOGFONTW* font);
HRESULT GetThemeSysString(HTHEME theme, int stringId, wchar_t* buf, int size);
HRESULT GetThemeSysInt(HTHEME theme, int intId, int* value);
BOOL IsThemeActive();
BOOL IsAppThemed();
HTHEME GetWindowTheme(HWND hwnd);
HRESULT EnableThemeDialogTexture(HWND hwnd, DWORD flags);
BOOL IsThemeDialogTextureEnabled(HWND hwnd);
DWORD GetThemeAppProperties();
void SetThemeAppProperties(DWORD flags);
HRESULT GetCurrentThemeName(wchar_t* fileName, int fileSize, wchar_t* colorName, int colorSize, wchar_t* sizeName,
                            int sizeSize);
HRESULT GetThemeDocumentationProperty(const wchar_t* themeName, const wchar_t* propertyName, wchar_t* value,
                                      int size);
HRESULT DrawThemeParentBackground(HWND hwnd, HDC dc, TRect* rect);
HRESULT EnableTheming(BOOL enable);
}  // namespace uxtheme

}  // namespace platform
