#pragma once
// Text with tab characters laid out on tab stops.
#include <string>

#include "platform/Types.h"

namespace platform {

// Tab stops are in device pixels from origin, ascending. No stops: one every eight average
// character widths; one stop: that distance apart. A negative stop right-aligns the segment
// after its tab to the stop's absolute value. Both return MAKELONG(width, height) of the
// laid-out line (TabbedTextOut draws it at (x, y) as TextOut would).
DWORD TabbedTextOut(HDC dc, int x, int y, const std::string& text, int count, int nTabs, const int* tabs,
                    int origin);
DWORD GetTabbedTextExtent(HDC dc, const std::string& text, int count, int nTabs, const int* tabs);

}  // namespace platform
