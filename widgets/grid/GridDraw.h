#pragma once
// Drawing helpers of the grid's cell painter: one-pixel lines, gradients, progress bars
// and pies, error underlines, the combo button, and bitmaps with a transparent colour.
#include <string>

#include "platform/Types.h"

namespace platform {
class TCanvas;
class TBitmap;
class TControl;
}

namespace grid {

// A one-pixel line from (x1, y1) up to, not including, (x2, y2).
void DrawLine(platform::TCanvas& canvas, platform::TColor color, int x1, int y1, int x2, int y2);
void DrawGradient(platform::TCanvas& canvas, platform::TColor from, platform::TColor to, int steps,
                  const platform::TRect& r, bool horizontal);
void DrawProgressLin(platform::TCanvas& canvas, platform::TRect r, platform::TColor doneColor,
                     platform::TColor doneTextColor, platform::TColor restColor, platform::TColor restTextColor,
                     int percentage, int marginX, int marginY);
void DrawProgressPie(platform::TCanvas& canvas, const platform::TRect& r, platform::TColor fillColor, int percentage);
// A red zigzag under characters start .. start + length - 1 of a one-line text laid out
// from the rectangle's top-left corner in the canvas's font.
void DrawErrorLines(platform::TControl* control, platform::TCanvas& canvas, const std::string& text,
                    const platform::TRect& r, int offsetY, int start, int length);
void DrawComboButton(platform::TCanvas& canvas, platform::HWND window, const platform::TRect& r, bool themed);
// A part of the visual style (theme class cls, e.g. L"spin") in r; false when the style
// library is missing, and nothing is drawn.
bool DrawThemedPart(platform::HDC dc, platform::HWND window, const wchar_t* cls, int part, int state,
                    const platform::TRect& r);
// A one-pixel frame just inside r.
void FrameRectDC(platform::HDC dc, const platform::TRect& r, platform::COLORREF color);
platform::TColor DarkenColor(platform::TColor color);
// The bitmap at the rectangle's top-left corner, its top-left pixel's colour shown as `background`.
void DrawBitmapTransp(platform::TCanvas& canvas, platform::TBitmap& bitmap, platform::TColor background,
                      const platform::TRect& r);
// As DrawBitmapTransp with a bitmap of the program's resources; nothing when it is missing.
void DrawBitmapResourceTransp(platform::TCanvas& canvas, platform::TColor background, const platform::TRect& r,
                              const std::string& name);

}  // namespace grid
