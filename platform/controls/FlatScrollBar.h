#pragma once
// Flat scroll bars: a window's own scroll bars in a flat or hot-tracked look, with their
// own width and background colour. Until InitializeFlatSB the calls act on the bars as the
// plain scroll-bar calls do, and the properties are refused.
#include "platform/Types.h"
#include "platform/controls/Controls.h"

namespace platform {

enum : UINT {
    WSB_PROP_CYVSCROLL = 0x1, WSB_PROP_CXHSCROLL = 0x2, WSB_PROP_CYHSCROLL = 0x4, WSB_PROP_CXVSCROLL = 0x8,
    WSB_PROP_CXHTHUMB = 0x10, WSB_PROP_CYVTHUMB = 0x20, WSB_PROP_VBKGCOLOR = 0x40, WSB_PROP_HBKGCOLOR = 0x80,
    WSB_PROP_VSTYLE = 0x100, WSB_PROP_HSTYLE = 0x200, WSB_PROP_WINSTYLE = 0x400, WSB_PROP_PALETTE = 0x800
};
enum { FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2 };

bool InitializeFlatSB(HWND h);
bool UninitializeFlatSB(HWND h);
bool FlatSB_Initialized(HWND h);
int FlatSB_SetScrollPos(HWND h, int bar, int pos, bool redraw);
int FlatSB_SetScrollInfo(HWND h, int bar, const SCROLLINFO& info, bool redraw);
bool FlatSB_GetScrollInfo(HWND h, int bar, SCROLLINFO& info);
bool FlatSB_ShowScrollBar(HWND h, int bar, bool show);
// Sets one WSB_PROP_ property: widths in pixels, colours as COLORREF (clNone for the
// system colour), styles as FSB_ modes.
bool FlatSB_SetScrollProp(HWND h, UINT index, LPARAM value, bool redraw);
bool FlatSB_GetScrollProp(HWND h, UINT index, LPARAM* value);

}  // namespace platform
