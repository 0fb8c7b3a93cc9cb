#pragma once
// Sizes of short texts as the host measures them, kept between calls: the grid and the
// tree repaint the same cells over and over, and the host shapes a text anew for every
// measurement. GUI thread only.
#include <string>

#include "platform/Types.h"

namespace platform {
class TCanvas;
}

namespace html {

// What DrawTextEx with DT_CALCRECT gives for text on one line, in the canvas's font
// and with flags (DT_CALCRECT is added, DT_END_ELLIPSIS taken out: the size is the
// uncut text's). Width and height of the rectangle.
platform::TSize DrawnTextSize(platform::TCanvas& canvas, const std::string& text, platform::UINT flags);
// What GetTextExtentPoint32 gives for text in the canvas's font.
platform::TSize TextExtentOf(platform::TCanvas& canvas, const std::string& text);
// Forgets every size (fonts installed or removed while running).
void ClearTextSizes();

}  // namespace html
