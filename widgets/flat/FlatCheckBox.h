#pragma once
// A self-drawn check box with a caption, hot and pressed colours and an optional
// transparent background.
#include "platform/controls/ExtCtrls.h"
#include "widgets/flat/FlatUtils.h"

namespace flat {

class TFlatCheckBox : public platform::TCustomControl {
public:
    explicit TFlatCheckBox(platform::TComponent* AOwner);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);  // a change raises OnClick
    TCheckBoxLayout Layout() const { return layout_; }
    void SetLayout(TCheckBoxLayout value);
    void SetBiDiMode(TFlatBiDiMode mode);  // right-to-left puts the square on the right
    // 0 ColorFocused, 1 ColorDown, 2 ColorCheck, 3 ColorBorder.
    void SetColors(int index, TColor value);
    TColor ColorFocused() const { return colorFocused_; }
    TColor ColorDown() const { return colorDown_; }
    TColor ColorCheck() const { return colorCheck_; }
    TColor ColorBorder() const { return colorBorder_; }
    // 0 ExColorFocused, 1 ExColorDown, 2 ExColorBorder.
    void SetExColors(int index, TExColors amount);
    bool UseExColors() const { return useExColors_; }
    void SetUseExColors(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    void CalcExColors();

    bool Hot() const { return hot_; }
    bool Down() const { return down_; }
    // The square in client coordinates.
    platform::TRect CheckRect() const;

    void Paint() override;
    void DrawCheckRect(platform::TCanvas* c);
    void DrawCheckText(platform::TCanvas* c);
    void MouseEnter();
    void MouseLeave();

    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void Dispatch(platform::TMessage& m) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void WMSize(platform::TWMSize& m) override;
    void WMMove(platform::TWMMove& m) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMEnabledChanged(platform::TMessage& m) override;
    void CMParentColorChanged(platform::TMessage& m) override;
    void DoEnter() override;
    void DoExit() override;

private:
    void ColorsChanged();
    bool checked_ = false;
    TCheckBoxLayout layout_ = checkboxLeft;
    TColor colorFocused_ = platform::clWhite, colorDown_ = 0xC5D6D9, colorCheck_ = platform::clBlack,
           colorBorder_ = 0x8396A0;
    TExColors exColorFocused_ = 10, exColorDown_ = 10, exColorBorder_ = 50;
    bool useExColors_ = false, transparent_ = false;
    bool hot_ = false, down_ = false, focused_ = false;
};

// A container panel with a one-pixel two-colour frame and a caption.
class TFlatPanel : public platform::TCustomPanel {
public:
    explicit TFlatPanel(platform::TComponent* AOwner);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // 0 ColorHighLight, 1 ColorShadow.
    void SetColors(int index, TColor value);
    TColor ColorHighLight() const { return colorHighLight_; }
    TColor ColorShadow() const { return colorShadow_; }
    void Paint() override;

private:
    bool transparent_ = false;
    TColor colorHighLight_ = 0x8396A0, colorShadow_ = 0x8396A0;
};

}  // namespace flat
