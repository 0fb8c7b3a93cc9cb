#pragma once
// Tool buttons: windowless push or check buttons, grouped or alone, with a glyph and a
// caption; flat ones paint coloured (optionally gradient) faces that change when hot,
// pressed and checked. The repeat button clicks again and again while held.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls/Buttons.h"

namespace platform {
class TPopupMenu;
class TTimer;
}

namespace edit {

enum TExToolButtonStyle { tasButton, tasCheck };

// Vertical (or horizontal) bands from one colour to another, then an outline in border
// (none: clNone).
void DrawButtonGradient(platform::TCanvas* c, platform::TColor from, platform::TColor to, int steps,
                        const platform::TRect& r, bool horizontal, platform::TColor border);

class TExToolButton : public platform::TGraphicControl {
public:
    explicit TExToolButton(platform::TComponent* AOwner);
    ~TExToolButton() override;

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    platform::TButtonLayout Layout() const { return layout_; }
    void SetLayout(platform::TButtonLayout v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    int Margin() const { return margin_; }
    void SetMargin(int v);  // below -1 is ignored
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TExToolButtonStyle Style() const { return style_; }
    void SetStyle(TExToolButtonStyle v);
    bool Rounded() const { return rounded_; }
    void SetRounded(bool v);
    bool DropDownButton() const { return dropDownButton_; }
    void SetDropDownButton(bool v);
    platform::TButtonState State() const { return state_; }
    bool MouseInside() const { return mouseInside_; }

    platform::TBitmap* Glyph();
    void SetGlyph(const platform::TBitmap* b);  // also makes the grey disabled glyph when there is none
    platform::TBitmap* GlyphDisabled();
    void SetGlyphDisabled(const platform::TBitmap* b);
    void SetGlyphHot(const platform::TBitmap* b);
    void SetGlyphDown(const platform::TBitmap* b);
    bool Shaded() const { return shaded_; }
    void SetShaded(bool v);
    bool AutoThemeAdapt() const { return autoThemeAdapt_; }
    void SetAutoThemeAdapt(bool v);
    // One of the colour sets 0..6; other values do nothing.
    void SetLook(int n);
    void ThemeAdapt();

    void SetColorTo(platform::TColor c);
    void SetColorChecked(platform::TColor c);
    void SetColorCheckedTo(platform::TColor c);
    void SetBorderColor(platform::TColor c);
    platform::TColor ColorTo() const { return colorTo_; }
    platform::TColor ColorChecked() const { return colorChecked_; }
    platform::TColor ColorCheckedTo() const { return colorCheckedTo_; }
    platform::TColor BorderColor() const { return borderColor_; }
    platform::TColor ColorHot = 0x00CAC7C7, ColorHotTo = platform::clNone;
    platform::TColor ColorDown = 0x00D8D3D2, ColorDownTo = platform::clNone;
    platform::TColor BorderDownColor = platform::clNone, BorderHotColor = platform::clNone;

    platform::TNotifyEvent OnMouseEnter, OnMouseLeave, OnDropDown;
    // Shown under the button when its drop-down part is pressed; forgotten when freed.
    platform::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(platform::TPopupMenu* menu);
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    virtual std::uint32_t GetVersionNr() const { return 0x01020001; }
    std::string GetVersion() const;

    void Paint() override;
    void Click() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void Dispatch(platform::TMessage& m) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMEnabledChanged(platform::TMessage& m) override;
    void WMLButtonDblClk(platform::TWMMouse& m) override;

protected:
    platform::TButtonState state_ = platform::bsUp;
    bool dragging_ = false;

private:
    void UpdateExclusive();
    void UpdateTracking();
    void MakeShade();
    bool Inside(int x, int y) const { return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight(); }

    platform::TPopupMenu* dropDownMenu_ = nullptr;
    platform::TButtonGlyph glyph_, glyphHot_, glyphDown_, glyphDisabled_, shade_;
    int groupIndex_ = 0, spacing_ = 4, margin_ = -1;
    bool down_ = false, allowAllUp_ = false, flat_ = true, mouseInside_ = false, shaded_ = true;
    bool rounded_ = false, dropDownButton_ = false, autoThemeAdapt_ = false;
    platform::TButtonLayout layout_ = platform::blGlyphLeft;
    TExToolButtonStyle style_ = tasButton;
    platform::TColor colorTo_ = platform::clNone, colorChecked_ = platform::clGray,
                     colorCheckedTo_ = platform::clNone, borderColor_ = platform::clNone;
};

class TExRepeatButton : public TExToolButton {
public:
    explicit TExRepeatButton(platform::TComponent* AOwner);
    ~TExRepeatButton() override;
    int InitRepeatPause = 400;
    int RepeatPause = 100;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;

private:
    void Tick();
    platform::TTimer* timer_ = nullptr;
};

}  // namespace edit
