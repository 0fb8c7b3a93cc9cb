#pragma once
// Classic-look frame controls: check boxes, radio buttons, push buttons and scroll
// arrows drawn into a rectangle of a device context.
#include "platform/Types.h"

namespace platform {

enum : UINT { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum : UINT {
    DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIOIMAGE = 0x1, DFCS_BUTTONRADIOMASK = 0x2, DFCS_BUTTONRADIO = 0x4,
    DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
    DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5,
    DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000,
    DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// False for a kind this implementation does not draw (captions and menus).
// DFCS_ADJUSTRECT shrinks a push button's rect to the area inside its edges.
bool DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state);

class TBitmap;
// The 8 x 8 checker of face and highlight that fills a latched (checked) button; a brush pattern.
TBitmap* LatchPattern();

}  // namespace platform
