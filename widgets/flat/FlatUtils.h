#pragma once
// Drawing helpers shared by the flat controls: 3D frames, transparent and disabled
// bitmaps, the parent's image behind a control, derived shades, glyph layout and fonts.
#include <string>

#include "platform/Types.h"
#include "platform/controls/Buttons.h"

namespace platform {
class TBitmap;
class TCanvas;
class TControl;
class TFont;
struct TEXTMETRIC;
}  // namespace platform

namespace flat {

using platform::TColor;
using platform::TPoint;
using platform::TRect;

enum TColorCalcType { lighten, darken };
enum TCheckBoxLayout { checkboxLeft, checkboxRight };
// How a flat control shows what lies behind it.
enum TTransparentMode { tmAlways, tmNotFocused, tmNone };
using TExColors = int;  // 0..100
enum TFlatBiDiMode { bdLeftToRight, bdRightToLeft };

// `width` nested frames inside rect: top and left in topColor, bottom and right in bottomColor.
void Frame3DBorder(platform::TCanvas* canvas, const TRect& rect, TColor topColor, TColor bottomColor, int width);
// Draws bitmap at (x, y), leaving out its pixels of `transparent`.
void DrawTransparentBmp(platform::TCanvas* canvas, int x, int y, platform::TBitmap* bitmap, TColor transparent);
// Draws the part of the control's parent that lies behind the control; nothing without a parent.
void DrawParentImage(platform::TControl* control, platform::TCanvas* canvas);
// An embossed picture of source, its pixels of maskColor left as background; owned by the caller.
platform::TBitmap* CreateDisabledBitmap(platform::TBitmap* source, TColor maskColor, TColor backColor,
                                        TColor highlightColor, TColor shadowColor, bool drawHighlight);
// A lighter or darker shade of base by amount on the lightness scale; old when amount is 0.
TColor CalcAdvancedColor(TColor base, TColor old, int amount, TColorCalcType type);
// Where a glyph strip of glyphCount images and the caption go on a button.
void CalcButtonLayout(platform::TCanvas* canvas, const TRect& client, TPoint offset, platform::TButtonLayout layout,
                      int spacing, int margin, platform::TBitmap* glyph, int glyphCount, const std::string& caption,
                      TRect& textBounds, TPoint& glyphPos);
// Text with a clear brush in the canvas font; disabled: embossed, one pixel down and right in
// the button highlight colour, then in place in the button shadow colour.
void DrawFlatText(platform::TCanvas* canvas, TRect r, const std::string& text, platform::UINT flags, bool enabled);
// The small triangle of the flat arrow buttons with its left corner near (x, y): pointing up
// or down, in color when usable, else grey over a white shadow.
void DrawFlatArrow(platform::TCanvas* c, int x, int y, bool up, bool usable, TColor color);
// The check mark of the flat controls in an 11 x 11 square whose top-left is (x, y).
void DrawCheckMark(platform::TCanvas* c, int x, int y, TColor color);
platform::Word Min(platform::Word a, platform::Word b);
void GetFontMetrics(platform::TFont* font, platform::TEXTMETRIC& tm);
// The font's height plus an eighth.
int GetFontHeight(platform::TFont* font);
bool RectInRect(const TRect& r1, const TRect& r2);

}  // namespace flat
