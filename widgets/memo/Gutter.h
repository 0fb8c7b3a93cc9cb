#pragma once
// The strip left of the editor's text with line numbers and marks, and the settings of
// the highlighted active line.
#include <string>

#include "platform/Classes.h"
#include "platform/graphics/Graphics.h"

namespace memo {

class TExCustomMemo;

class TExGutter : public platform::TPersistent {
public:
    explicit TExGutter(TExCustomMemo* memo);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int GutterWidth() const { return width_; }
    void SetGutterWidth(int w);
    int GutterMargin() const { return margin_; }
    void SetGutterMargin(int m);  // below 45 becomes 45
    platform::TColor GutterColor() const { return color_; }
    void SetGutterColor(platform::TColor c);
    platform::TColor GutterColorTo() const { return colorTo_; }
    void SetGutterColorTo(platform::TColor c);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool v);
    int LineNumberStart() const { return lineNumberStart_; }
    void SetLineNumberStart(int v);  // negative values are refused
    platform::TColor LineNumberTextColor() const { return lineNumberTextColor_; }
    void SetLineNumberTextColor(platform::TColor c);
    int DigitCount() const { return digitCount_; }
    void SetDigitCount(int v);
    bool ShowLeadingZeros() const { return showLeadingZeros_; }
    void SetShowLeadingZeros(bool v);
    const std::string& NumberSuffix() const { return numberSuffix_; }
    void SetNumberSuffix(const std::string& s);
    platform::TFont& Font() { return font_; }

    // 0 left, 1 top, 2 width, 3 height.
    void SetParams(int index, int value);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return gw_; }
    int Height() const { return gh_; }
    platform::TRect GetRect() const { return platform::Rect(left_, top_, left_ + gw_, top_ + gh_); }
    void Invalidate();
    void PaintTo(platform::TCanvas* canvas);

private:
    TExCustomMemo* memo_;
    bool visible_ = true;
    int width_ = 45, margin_ = 45;
    platform::TColor color_ = platform::clBtnFace, colorTo_ = platform::clWhite;
    bool showLineNumbers_ = true;
    int lineNumberStart_ = 1;
    platform::TColor lineNumberTextColor_ = platform::clBlack;
    int digitCount_ = 4;
    bool showLeadingZeros_ = false;
    std::string numberSuffix_;
    platform::TFont font_;
    int left_ = 1, top_ = 1, gw_ = 45, gh_ = 0;
};

class TExActiveLineSettings : public platform::TPersistent {
public:
    explicit TExActiveLineSettings(TExCustomMemo* memo) : memo_(memo) {}
    bool ShowActiveLine() const { return showActiveLine_; }
    void SetShowActiveLine(bool v);
    bool ShowActiveLineIndicator() const { return showIndicator_; }
    void SetShowActiveLineIndicator(bool v);
    platform::TColor ActiveLineColor() const { return color_; }
    void SetActiveLineColor(platform::TColor c);
    platform::TColor ActiveLineTextColor() const { return textColor_; }
    void SetActiveLineTextColor(platform::TColor c);
    bool ActiveLineAtCursor() const { return atCursor_; }
    void SetActiveLineAtCursor(bool v);

private:
    TExCustomMemo* memo_;
    bool showActiveLine_ = false, showIndicator_ = false, atCursor_ = false;
    platform::TColor color_ = platform::clNavy, textColor_ = platform::clYellow;
};

}  // namespace memo
