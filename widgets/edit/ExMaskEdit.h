#pragma once
// A masked edit with the typed edit's label, focus colours and flat look.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls/Mask.h"
#include "widgets/edit/EditFlatLook.h"
#include "widgets/edit/EditLabel.h"

namespace edit {

using TMaskCompleteEvent = std::function<void(platform::TObject* Sender, const std::string& value, bool& accept)>;

class TExMaskEdit : public platform::TMaskEdit {
public:
    explicit TExMaskEdit(platform::TComponent* AOwner);
    ~TExMaskEdit() override;

    bool AutoFocus = false;
    bool AutoTab = true;
    bool ReturnIsTab = true;
    platform::TColor FocusColor = platform::clWindow;
    platform::TColor FocusFontColor = platform::clBlack;
    platform::TColor ModifiedColor = platform::clRed;
    bool ShowModified = false;
    bool SelectFirstChar = false;
    bool CanUndo = false;
    bool FlatParentColor = true;
    TMaskCompleteEvent OnMaskComplete;

    platform::TAlignment Alignement() const { return alignement_; }
    void SetAlignement(platform::TAlignment a);  // re-creates the window
    std::string LabelCaption() const { return label_.Caption(); }
    void SetLabelCaption(const std::string& s);
    TLabelPosition LabelPosition() const { return label_.Position; }
    void SetLabelPosition(TLabelPosition p);
    int LabelMargin() const { return label_.Margin; }
    void SetLabelMargin(int m);
    bool LabelTransparent() const { return label_.Transparent; }
    void SetLabelTransparent(bool v);
    bool LabelAlwaysEnabled() const { return label_.AlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool v);
    platform::TFont* LabelFont() { return label_.Font(); }
    // After a change of LabelFont.
    void LabelFontChanged() { label_.Place(); }
    platform::TLabel* Label() const { return label_.Label(); }

    bool Flat() const { return look_.flat; }
    void SetFlat(bool v);
    void SetFlatLineColor(platform::TColor c);
    void SetSoftBorder(bool v);
    void SetFocusBorder(bool v);
    // Drawn from the next paint on.
    void SetBorder3D(bool v) { look_.border3D = v; }
    platform::TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(platform::TColor c);
    bool MouseInside() const { return look_.mouseInside; }

    // Also the normal colour (while loading, the load-time colour).
    void SetColor(platform::TColor c);
    void SetEnabled(bool e) override;
    void SetVisible(bool v) override;
    void SetBounds(int l, int t, int w, int h) override;
    void SetParent(platform::TWinControl* p) override;
    bool GetModified() const { return Modified(); }
    void SetModifiedFlag(bool v);
    // The end of loading: colours, border and flat look taken, the label placed.
    void Loaded() override;

    virtual std::uint32_t GetVersionNr() const { return 0x02060201; }
    std::string GetVersion() const;

    void CreateParams(platform::TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void CMEnter(platform::TMessage& m) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;

protected:
    void PaintWindow(platform::HDC dc) override;

private:
    void SetTextArea();

    TAttachedLabel label_;
    platform::TAlignment alignement_ = platform::taLeftJustify;
    TFlatLook look_;
    platform::TColor normalColor_ = platform::clWindow, loadColor_ = platform::clWindow;
    platform::TColor normalFontColor_ = platform::clWindowText, disabledColor_ = platform::clSilver;
    platform::TBorderStyle savedBorder_ = platform::bsSingle;
    std::string focusInText_;
    bool loading_ = false;
};

}  // namespace edit
