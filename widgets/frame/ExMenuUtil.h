#pragma once
// Drawing and geometry helpers of the menus and their stylers: gradients in rectangles
// (also a clipped piece of a larger one), framed gradients, bands with gradient ends,
// fading lines, rectangle and colour arithmetic, a turned font, and the layered-window
// binding (layered windows do not exist here: opacity requests are ignored).
#include <cstdint>
#include <memory>

#include "base/Exception.h"
#include "platform/Types.h"

namespace platform {
class TCanvas;
class TFont;
class TBitmap;
}  // namespace platform

namespace frame {

using platform::TCanvas;
using platform::TColor;
using platform::TPoint;
using platform::TRect;

enum TGradientDirection { gdVertical, gdHorizontal };
enum TGradientType { gtLeft, gtRight, gtBoth };
enum TBackgroundPosition {
    bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTopCenter, bpBottomCenter, bpTiled, bpStretched, bpCenter, bpXY
};
using TOpacity = std::uint8_t;
constexpr TRect NilRect{0, 0, 0, 0};

// Raised by the indexed colour properties for an index other than 0 and 1.
class EInvalidPropertyIndex : public base::Exception {
public:
    explicit EInvalidPropertyIndex(int index);
};

inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
bool RectInRect(const TRect& r1, const TRect& r2);
TPoint CenterPoint(const TRect& r);
void CenterRect(TRect& r, int w, int h);
TRect BitmapRect(platform::TBitmap* bitmap);
void ColorToRGBVal(TColor color, int& r, int& g, int& b);
std::uint32_t ColorTo24bitScanLineElement(TColor color);  // bytes blue, green, red
std::uint32_t ColorTo32bitScanLineElement(TColor color);  // red and blue swapped
constexpr std::uint32_t RGB(int r, int g, int b, int a)
{
    return (std::uint32_t(a & 255) << 24) | (std::uint32_t(b & 255) << 16) | (std::uint32_t(g & 255) << 8) | std::uint32_t(r & 255);
}
// A copy of font turned by angle degrees (counter-clockwise).
std::unique_ptr<platform::TFont> CreateRotatedFont(const platform::TFont& font, int angle);

bool SupportsLayeredWindows();
bool SetWindowLayered(platform::HWND wnd, bool on);

// Gradients of the menus: one line per row (vertical) or column (horizontal).
void DrawGradient(TCanvas* canvas, TRect r, TColor from, TColor to, TGradientDirection direction);
void DrawGradientClipped(TCanvas* canvas, TRect r, TRect clip, TColor from, TColor to, TGradientDirection direction);
void DrawFramedGradient(TCanvas* canvas, TRect r, TColor from, TColor to, TGradientDirection direction, TColor border,
                        bool fill);
void DrawGradientEx(TCanvas* canvas, TRect r, TColor from, TColor to, TGradientDirection direction,
                    TGradientType type, int gradientWidth, int margin);
void DrawFadeLine(TCanvas* canvas, TRect r1, TRect r2, TColor color, int fadeWidth, bool gap);

}  // namespace frame
