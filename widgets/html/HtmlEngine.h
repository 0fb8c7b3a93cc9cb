#pragma once
// The mini-HTML renderer: lays out, draws, measures and hit-tests a short marked-up
// text in a rectangle of a canvas. One engine serves the grid, the parameter tree and
// the panels and label; each calls it with its own variant.
#include <string>
#include <string_view>

#include "platform/Types.h"
#include "widgets/html/HtmlVariant.h"

namespace platform {
class TCanvas;
class TBitmap;
class TImageList;
}  // namespace platform

namespace html {

class THTMLPictureCache;
class TPictureContainer;

// Inputs of one call; the defaults are those of a plain paint.
struct HTMLDrawParams {
    HTMLVariant Variant = HTMLVariant::Grid;
    platform::TCanvas* Canvas = nullptr;
    std::string_view Text;  // must outlive the call
    platform::TRect TextRect;
    platform::TImageList* Images = nullptr;
    int HitX = 0;
    int HitY = 0;
    int FocusLink = -1;  // counted from 0
    int HoverLink = -1;  // counted from 1
    int ShadowOffset = 0;
    bool HitTestOnly = false;
    bool MeasureOnly = false;
    bool Printing = false;
    bool Selected = false;
    bool BlinkVisible = true;
    bool HoverStyle = false;
    bool WordWrap = false;
    bool MouseDown = false;
    bool ReportFocusLinkRect = false;  // tree only
    double PrintScale = 1.0;
    platform::TColor LinkColor = platform::clBlue;
    platform::TColor HoverBackColor = platform::clNone;
    platform::TColor HoverFontColor = platform::clNone;
    platform::TColor ShadowColor = platform::clGray;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    platform::HWND ThemeWindow = nullptr;
    int LineSpacing = 0;  // tree and panel
};

// Outputs of one call. AnchorValue is left as it was unless a link or control is hit;
// ControlID is also an input of a grid hit test.
struct HTMLDrawResult {
    std::string AnchorValue;
    std::string StrippedText;
    std::string FocusAnchor;
    int MeasuredWidth = 0;
    int MeasuredHeight = 0;
    int LinkCount = 0;
    int LinkUnderPoint = -1;
    platform::TRect HoverRect;
    platform::TRect ControlRect;
    std::string ControlID;
    std::string ControlValue;
    std::string ControlType;
};

// True when a control, an image inside a link, or (hit test only) link text lies under
// the point. Nothing in the markup raises; canvas errors propagate.
bool HTMLDrawEx(const HTMLDrawParams& p, HTMLDrawResult& r);

// Draws a bitmap stretched into a rectangle, as for a printer.
void PrintBitmap(platform::TCanvas* Canvas, const platform::TRect& Rect, platform::TBitmap* Bitmap);

// The grid's engine, with its parameters in its order.
namespace grdhtmle {
bool HTMLDrawEx(platform::TCanvas* Canvas, std::string_view Text, const platform::TRect& TextRect,
                platform::TImageList* Images, int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected, bool BlinkVisible,
                bool HoverStyle, bool WordWrap, bool MouseDown, double PrintScale, platform::TColor LinkColor,
                platform::TColor HoverBackColor, platform::TColor HoverFontColor, platform::TColor ShadowColor,
                std::string& AnchorValue, std::string& StrippedText, std::string& FocusAnchor, int& MeasuredWidth,
                int& MeasuredHeight, int& LinkCount, int& LinkUnderPoint, platform::TRect& HoverRect,
                platform::TRect& ControlRect, std::string& ControlID, std::string& ControlValue,
                std::string& ControlType, THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer,
                platform::HWND ThemeWindow);
using html::PrintBitmap;
}  // namespace grdhtmle

// The parameter tree's engine.
namespace parhtml {
bool HTMLDrawEx(platform::TCanvas* Canvas, std::string_view Text, const platform::TRect& TextRect,
                platform::TImageList* Images, int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected, bool BlinkVisible,
                bool HoverStyle, bool WordWrap, bool MouseDown, bool ReportFocusLinkRect, double PrintScale,
                platform::TColor LinkColor, platform::TColor HoverBackColor, platform::TColor HoverFontColor,
                platform::TColor ShadowColor, std::string& AnchorValue, std::string& StrippedText,
                std::string& FocusAnchor, int& MeasuredWidth, int& MeasuredHeight, int& LinkCount,
                int& LinkUnderPoint, platform::TRect& HoverRect, platform::TRect& ControlRect,
                std::string& ControlID, std::string& ControlValue, std::string& ControlType,
                THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, platform::HWND ThemeWindow,
                int LineSpacing);
using html::PrintBitmap;
}  // namespace parhtml

// The panels' and the label's engine: no embedded controls.
namespace panelhtml {
bool HTMLDrawEx(platform::TCanvas* Canvas, std::string_view Text, const platform::TRect& TextRect,
                platform::TImageList* Images, int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected, bool BlinkVisible,
                bool HoverStyle, bool WordWrap, bool MouseDown, double PrintScale, platform::TColor LinkColor,
                platform::TColor HoverBackColor, platform::TColor HoverFontColor, platform::TColor ShadowColor,
                std::string& AnchorValue, std::string& StrippedText, std::string& FocusAnchor, int& MeasuredWidth,
                int& MeasuredHeight, int& LinkCount, int& LinkUnderPoint, platform::TRect& HoverRect,
                THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, int LineSpacing);
}  // namespace panelhtml

}  // namespace html
