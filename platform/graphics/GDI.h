#pragma once
// Device-context calls: text, regions, clipping, block transfers, metrics.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

// DrawText flags.
enum : UINT {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80, DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000, DT_HIDEPREFIX = 0x100000
};

// Draws or (DT_CALCRECT) measures text in the DC's font and text colour. count -1 means
// the whole text. Returns the height of the text; with DT_VCENTER or DT_BOTTOM the offset
// from rect's top to the bottom of the drawn text. DT_CALCRECT sets rect's right and bottom.
int DrawText(HDC dc, const std::string& text, int count, TRect* rect, UINT format);
int DrawTextEx(HDC dc, const std::string& text, int count, TRect* rect, UINT format, void* params = nullptr);
// The wide (UTF-16) form: every character drawn as it is; count in code units.
int DrawTextW(HDC dc, const std::u16string& text, int count, TRect* rect, UINT format);

enum { TRANSPARENT = 1, OPAQUE = 2 };
int SetBkMode(HDC dc, int mode);  // returns the previous mode
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF c);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF c);
COLORREF GetTextColor(HDC dc);
enum : UINT { TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24, TA_UPDATECP = 1 };
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
enum { R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT, R2_XORPEN, R2_NOTMASKPEN,
       R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN, R2_COPYPEN, R2_MERGEPENNOT, R2_MERGEPEN, R2_WHITE };
int SetROP2(HDC dc, int rop);
int GetROP2(HDC dc);

struct TEXTMETRIC {
    int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
    int tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 400;
    Byte tmItalic = 0, tmUnderlined = 0, tmStruckOut = 0, tmPitchAndFamily = 0;
};
bool GetTextMetrics(HDC dc, TEXTMETRIC& tm);
bool GetTextExtentPoint32(HDC dc, const std::string& text, int count, TSize& size);
bool GetTextExtentPoint32W(HDC dc, const std::u16string& text, int count, TSize& size);
enum : UINT { ETO_OPAQUE = 2, ETO_CLIPPED = 4 };
bool ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const std::string& text, int count,
                const int* dx = nullptr);
bool TextOut(HDC dc, int x, int y, const std::string& text, int count);
// Wide forms (UTF-16, count in code units). A recording DC sees the text in 8 bits.
bool ExtTextOutW(HDC dc, int x, int y, UINT options, const TRect* rect, const std::u16string& text, int count,
                 const int* dx = nullptr);
bool TextOutW(HDC dc, int x, int y, const std::u16string& text, int count);

// Drawing with the DC's selected pen and brush.
bool MoveToEx(HDC dc, int x, int y, TPoint* old);
bool LineTo(HDC dc, int x, int y);
bool Rectangle(HDC dc, int l, int t, int r, int b);
bool Ellipse(HDC dc, int l, int t, int r, int b);
bool Polygon(HDC dc, const TPoint* pts, int count);
bool Polyline(HDC dc, const TPoint* pts, int count);
// Counter-clockwise from the ray towards (x3, y3) to the ray towards (x4, y4) on the
// ellipse in the box; the same two points make a whole ellipse. Pie and Chord fill.
bool Arc(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
bool Pie(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
bool Chord(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
// Fills with a solid colour (the brush handle of the original call is a colour here).
int FillRect(HDC dc, const TRect& r, COLORREF color);
bool DrawFocusRect(HDC dc, const TRect& r);
COLORREF GetPixel(HDC dc, int x, int y);  // CLR_INVALID outside the surface
COLORREF SetPixel(HDC dc, int x, int y, COLORREF c);
// Fills with the DC's brush colour from (x, y): FLOODFILLBORDER up to pixels of `color`,
// FLOODFILLSURFACE over the pixels of `color`. Within the clip only.
constexpr UINT FLOODFILLBORDER = 0, FLOODFILLSURFACE = 1;
bool ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type);
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Block transfers; the raster operations of the canvas copy modes.
bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
bool StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
bool PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);  // with the DC's brush colour

// Coordinates: device = (logical - window origin) * viewport extent / window extent
// + viewport origin; in MM_TEXT the extents are 1, so logical = device + window origin -
// viewport origin. The metric modes take the device's pixels per inch with y growing
// upwards; MM_ISOTROPIC keeps both axes at the same scale (the viewport extent gives way),
// MM_ANISOTROPIC takes the extents as set. Under a scaling or mirroring mapping shapes,
// clip rectangles and block transfers are mapped to device pixels, pens wider than one
// pixel and font heights are scaled, and text and pictures are drawn upright at their
// mapped place (never mirrored). Text hangs from its point down the device as without a
// mapping; on a mirrored x axis it runs the logical way (TA_LEFT text ends at its point,
// DT_LEFT keeps to the rectangle's logical left, which is the device's right).
enum { MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
       MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };
int SetMapMode(HDC dc, int mode);  // the previous mode; 0 for an unknown mode
int GetMapMode(HDC dc);
// Taken only in MM_ISOTROPIC and MM_ANISOTROPIC (true and no change otherwise); 0 is refused.
bool SetWindowExtEx(HDC dc, int x, int y, TSize* old);
bool SetViewportExtEx(HDC dc, int x, int y, TSize* old);
bool GetWindowExtEx(HDC dc, TSize* s);
bool GetViewportExtEx(HDC dc, TSize* s);
bool LPtoDP(HDC dc, TPoint* pts, int count);
bool DPtoLP(HDC dc, TPoint* pts, int count);
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetViewportOrgEx(HDC dc, TPoint* p);
bool GetWindowOrgEx(HDC dc, TPoint* p);

// Regions, in device coordinates. A region is freed with DeleteObject.
HRGN CreateRectRgn(int l, int t, int r, int b);
HRGN CreateRectRgnIndirect(const TRect& r);
HRGN CreateEllipticRgn(int l, int t, int r, int b);
HRGN CreatePolygonRgn(const TPoint* pts, int count, int fillMode);
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h);
bool DeleteObject(HRGN rgn);
enum { RGN_AND = 1, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY };
enum { ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum { ALTERNATE = 1, WINDING = 2 };
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
bool PtInRegion(HRGN rgn, int x, int y);
bool RectInRegion(HRGN rgn, const TRect& r);
int GetRgnBox(HRGN rgn, TRect* r);
bool EqualRgn(HRGN a, HRGN b);

// Clipping: the DC's own clip region on top of its device bounds, saved and restored
// with SaveDC/RestoreDC, which nest. SelectClipRgn(dc, nullptr) removes the clip.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int IntersectClipRect(HDC dc, int l, int t, int r, int b);
int ExcludeClipRect(HDC dc, int l, int t, int r, int b);
// 1 and a copy in rgn when a clip region is set, 0 when there is none.
int GetClipRgn(HDC dc, HRGN rgn);
int GetClipBox(HDC dc, TRect* r);
int SaveDC(HDC dc);                // the new depth
bool RestoreDC(HDC dc, int saved);  // saved < 0: relative to the top

// Pens. A cosmetic pen is one pixel wide whatever the mapping; a geometric pen has a
// width, end caps and joins. A pen object is freed with DeleteObject, or by the TPen
// whose handle it becomes (TPen::SetHandle).
enum : DWORD {
    PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5, PS_INSIDEFRAME = 6,
    PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF,
    PS_ENDCAP_ROUND = 0x000, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_ENDCAP_MASK = 0xF00,
    PS_JOIN_ROUND = 0x0000, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000,
    PS_COSMETIC = 0x00000, PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000
};
enum : UINT { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1 };
struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    std::uintptr_t lbHatch = 0;
};
struct PenObject {
    DWORD style = PS_SOLID;  // PS_ style, end cap, join and type bits
    int width = 1;
    COLORREF color = 0;
    std::vector<DWORD> dashes;  // PS_USERSTYLE: dash and gap lengths in turn
};
// Cosmetic pens take width 1 and a solid brush; a user style needs 1 to 16 lengths.
// nullptr for what the platform refuses.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH& brush, DWORD styleCount, const DWORD* styles);
HPEN CreatePen(int style, int width, COLORREF color);
bool DeleteObject(HPEN pen);

// Paths: between BeginPath and EndPath the drawing calls (lines, polylines, polygons,
// rectangles, ellipses, arcs, pies, chords, rounded rectangles and text, turned or not)
// add their outlines to the DC's path instead of drawing. The closed path is then
// stroked with the pen, filled with the brush in the polygon fill mode, widened to the
// pen's outline, made the clip region or turned into a region; each of these except
// WidenPath uses the path up. On a recording DC the path is written as polygons.
bool BeginPath(HDC dc);
bool EndPath(HDC dc);
bool AbortPath(HDC dc);
bool CloseFigure(HDC dc);
bool StrokePath(HDC dc);
bool FillPath(HDC dc);
bool StrokeAndFillPath(HDC dc);
bool WidenPath(HDC dc);
bool FlattenPath(HDC dc);
bool SelectClipPath(HDC dc, int mode);  // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY
HRGN PathToRegion(HDC dc);              // device coordinates; nullptr without a closed path
// The path's points (logical, curves flattened) and PT_ types; with count 0 the number of points.
enum : Byte { PT_CLOSEFIGURE = 1, PT_LINETO = 2, PT_BEZIERTO = 4, PT_MOVETO = 6 };
int GetPath(HDC dc, TPoint* pts, Byte* types, int count);
int SetPolyFillMode(HDC dc, int mode);  // ALTERNATE or WINDING; the previous mode
int GetPolyFillMode(HDC dc);
// Polygons filled together, so that inner outlines make holes (in the fill mode).
bool PolyPolygon(HDC dc, const TPoint* pts, const int* counts, int polygons);
bool RoundRect(HDC dc, int l, int t, int r, int b, int w, int h);

enum { HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14, LOGPIXELSX = 88, LOGPIXELSY = 90 };
int GetDeviceCaps(HDC dc, int index);

enum {
    SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4, SM_CXBORDER = 5,
    SM_CYBORDER = 6, SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CXEDGE = 45, SM_CYEDGE = 46,
    SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXDRAG = 68, SM_CYDRAG = 69, SM_CXSMICON = 49, SM_CYSMICON = 50,
    SM_CXICON = 11, SM_CYICON = 12
};
int GetSystemMetrics(int index);

// A device context on a window (drawing shows at once), or with nullptr one for measuring
// text and reading the screen's capabilities. Each is given back with ReleaseDC.
HDC GetDC(HWND h);
int ReleaseDC(HWND h, HDC dc);

// Edges and frames of the classic look.
enum : UINT { BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8,
              EDGE_RAISED = 5, EDGE_SUNKEN = 10, EDGE_ETCHED = 6, EDGE_BUMP = 9 };
enum : UINT { BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_RECT = 15, BF_MIDDLE = 0x800,
              BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000 };
bool DrawEdge(HDC dc, TRect& r, UINT edge, UINT flags);

}  // namespace platform
