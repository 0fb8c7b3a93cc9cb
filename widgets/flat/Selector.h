#pragma once
// The selector button: a glyph and caption, or the chosen item's image, on a button or a
// combo face, that opens a drop-down panel of its items and reports the choice.
#include <cstdint>
#include <memory>
#include <string>

#include "widgets/flat/SelectorPanel.h"

namespace flat {

class TExCustomSelector : public platform::TCustomControl {
public:
    explicit TExCustomSelector(platform::TComponent* AOwner);
    ~TExCustomSelector() override;

    TExSelectorStyle Style() const { return style_; }
    void SetStyle(TExSelectorStyle v);
    bool DropDownButton() const { return dropDownButton_; }
    void SetDropDownButton(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    platform::TBitmap* Glyph() { return glyph_.get(); }
    platform::TBitmap* GlyphHot() { return glyphHot_.get(); }
    platform::TBitmap* GlyphDown() { return glyphDown_.get(); }
    platform::TImageList* Images() const { return images_; }
    void SetImages(platform::TImageList* v);
    TExSelectorItems& Tools() { return tools_; }
    int SelectedIndex() const { return selectedIndex_; }
    // Any value below the number of tools; kept to be applied again once tools are loaded.
    void SetSelectedIndex(int v);
    int ButtonsPerRow() const { return buttonsPerRow_; }
    void SetButtonsPerRow(int v);  // 1 to 16
    bool AutoThemeAdapt() const { return autoThemeAdapt_; }
    void SetAutoThemeAdapt(bool v);
    TExAppearanceStyle AppearanceStyle() const { return appearanceStyle_; }
    void SetAppearanceStyle(TExAppearanceStyle s);
    void ThemeAdapt();
    std::string Version() const;
    virtual std::uint32_t GetVersionNr() const { return 0x01020000; }

    TColor ColorTo = platform::clNone;
    TColor ColorHot = 0xD6BEB5, ColorHotTo = platform::clNone;
    TColor ColorDown = 0xB59584, ColorDownTo = platform::clNone;
    TColor ColorSelected = 0xDED7D6, ColorSelectedTo = platform::clNone;
    TColor ColorDropDown = 0xF7F8F9, ColorDropDownTo = platform::clNone;
    TColor BorderColor = platform::clNone;
    TColor BorderHotColor = 0x000000;
    TColor BorderDownColor = 0x6B2408;
    TColor BorderDropDownColor = 0x808080;
    TColor PanelColorHot = 0xD6BEB5, PanelColorHotTo = platform::clNone;
    TColor PanelColorDown = 0xDED7D6, PanelColorDownTo = platform::clNone;
    TColor PanelBorderSelectedColor = 0x000000;

    TSelectEvent OnSelect;
    THotToolEvent OnHotTool;
    TDrawToolEvent OnDrawTool;
    platform::TNotifyEvent OnMouseEnter, OnMouseLeave, OnDropDown;

    TSelectorDropDownWindow* DropDownWindow() const { return window_; }
    TExCustomSelectorPanel* Panel() const { return panel_; }
    TExButtonState ButtonState() const { return state_; }
    bool MouseInControl() const { return mouseIn_; }

    void DoDropDown();
    void HideDropDown();
    void Loaded() override;
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void WndProc(platform::TMessage& m) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMFontChanged(platform::TMessage& m) override;
    void CMTextChanged(platform::TMessage& m) override;

protected:
    virtual void OnToolSelect();
    virtual void DrawGlyphAndCaption(platform::TBitmap* Bitmap, TRect R);
    // Makes the panel on first use and prepares it before each opening.
    virtual void SetSelectorPanel();
    // Places a glyph in R; the left edge for the caption, or 0 when it did not fit.
    int DrawGlyph(platform::TBitmap* Bitmap, TRect R);
    // The chosen item's image stretched into R inset by 2.
    void DrawSelectedImage(TRect R, bool magentaBack);
    void DrawArrow(const TRect& A);
    void PopupBtnDown();
    void ButtonDown();
    // The panel's choice reached the selector.
    void PanelSelect();
    TExSelectorPanel* GeneralPanel() const { return generalPanel_; }
    // Makes p the window's panel at (0, 0) and hides the others.
    void SetPanel(TExCustomSelectorPanel* p);

private:
    void PaintButtonFace();
    void PaintComboFace();
    TExSelectorStyle style_ = ssButton;
    bool dropDownButton_ = false, flat_ = true;
    std::unique_ptr<platform::TBitmap> glyph_, glyphHot_, glyphDown_;
    platform::TImageList* images_ = nullptr;
    TExSelectorItems tools_;
    int selectedIndex_ = -1, recordedIndex_ = -1;
    int buttonsPerRow_ = 1;
    bool autoThemeAdapt_ = false;
    TExAppearanceStyle appearanceStyle_ = esOffice2003Classic;
    TSelectorDropDownWindow* window_ = nullptr;
    TExCustomSelectorPanel* panel_ = nullptr;
    TExSelectorPanel* generalPanel_ = nullptr;
    bool mouseIn_ = false, mouseDown_ = false;
    TExButtonState state_ = absUp;
};

// The general selector with a freely defined list of items.
class TExToolSelector : public TExCustomSelector {
public:
    using TExCustomSelector::TExCustomSelector;
};

}  // namespace flat
