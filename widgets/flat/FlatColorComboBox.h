#pragma once
// A flat drop-down list of named colours with a "Custom" entry that opens the colour dialog.
#include <memory>
#include <string>

#include "platform/controls/ComboBox.h"
#include "widgets/flat/FlatUtils.h"

namespace platform {
class TColorDialog;
}

namespace flat {

class TFlatColorComboBox : public platform::TCustomComboBox {
public:
    explicit TFlatColorComboBox(platform::TComponent* AOwner);
    ~TFlatColorComboBox() override;

    TColor Value() const { return value_; }
    // Selects the first item of that colour; a colour no item has changes nothing.
    void SetValue(TColor value);
    // Inserts before "Custom"; false when the name (any letter case) is there already.
    bool AddColor(const std::string& name, TColor colour);
    bool DeleteColorByName(const std::string& name);
    bool DeleteColorByColor(TColor colour);
    TColor ItemColor(int index) const;

    // 0 ColorArrow, 1 ColorArrowBackground, 2 ColorBorder, 3 ColorHighlight.
    void SetColors(int index, TColor value);
    TColor ColorArrow() const { return colorArrow_; }
    TColor ColorArrowBackground() const { return colorArrowBackground_; }
    TColor ColorBorder() const { return colorBorder_; }
    TColor ColorHighlight() const { return colorHighlight_; }
    // 0 ExColorBorder, 1 ExColorArrowBackground, 2 ExColorHighlight.
    void SetExColors(int index, TExColors amount);
    bool UseExColors() const { return useExColors_; }
    void SetUseExColors(bool value);
    void CalcExColors();
    bool ShowNames() const { return showNames_; }
    void SetShowNames(bool value);
    int BoxWidth() const { return boxWidth_; }
    void SetBoxWidth(int value);
    platform::TColorDialog* ColorDialog() const { return dialog_; }

    platform::TRect GetButtonRect() const;
    void PaintButton(platform::TCanvas* c);
    void PaintBorder(platform::TCanvas* c);
    void RedrawBorders(platform::TCanvas* c);

    void CreateWnd() override;
    void CreateParams(platform::TCreateParams& params) override;  // the control draws its own frame
    void DrawItem(int Index, const platform::TRect& Rect, platform::TOwnerDrawState State) override;
    void Click() override;
    void Paint() override;
    void Dispatch(platform::TMessage& m) override;
    void CMFontChanged(platform::TMessage& m) override;
    void CMParentColorChanged(platform::TMessage& m) override;

private:
    void FillColors();
    int buttonWidth_ = 11;
    TColor value_ = 0;
    TColor colorArrow_ = platform::clBlack, colorArrowBackground_ = 0xC5D6D9, colorBorder_ = 0x8396A0,
           colorHighlight_ = platform::clHighlight;
    TExColors exColorBorder_ = 50, exColorArrowBackground_ = 10, exColorHighlight_ = 30;
    bool useExColors_ = false, showNames_ = true;
    int boxWidth_ = 12;
    platform::TColorDialog* dialog_;
    bool filling_ = false;
};

}  // namespace flat
