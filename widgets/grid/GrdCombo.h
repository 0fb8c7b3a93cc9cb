#pragma once
// Flat combo boxes: a thin border in the parent's colour while idle, a sunken border
// while hovered or focused (with FocusBorder), and their own drop-down button. One
// behaviour on two bases: the platform's 8-bit combo box and the wide one.
#include <string>
#include <type_traits>

#include "platform/controls/ComboBox.h"
#include "widgets/grid/GrdUni.h"

namespace grid {

template <class Base>
class TFlatCombo : public Base {
public:
    explicit TFlatCombo(platform::TComponent* AOwner);

    bool AutoFocus = false;  // take the focus when the mouse enters
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool Etched() const { return etched_; }
    void SetEtched(bool Value);
    bool IsWinXP = false;  // the button drawn in the visual style
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int Value);  // 14 to 32; other values are ignored
    bool FocusBorder = false;        // the sunken border while hovered or focused
    int DropWidth() const { return dropWidth_; }
    void SetDropWidth(int Value);
    bool MouseInControl() const { return mouseIn_; }

    void CMEnter(platform::TMessage& m) override;
    void CMExit(platform::TMessage& m) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMEnabledChanged(platform::TMessage& m) override;
    void WMNCPaint(platform::TMessage& m) override;
    void CNCommand(platform::TMessage& m) override;
    void Paint() override;
    void SetBounds(int l, int t, int w, int h) override;
    void WMSize(platform::TWMSize& m) override;

protected:
    // The differences between the two classes' drawing.
    static constexpr bool kWide = std::is_base_of_v<TCustomUNIComboBox, Base>;
    bool Is3DBorderControl() const;
    bool Is3DBorderButton() const;
    // The borders, in window coordinates on dc (the whole window, frame included).
    void DrawBorders(platform::HDC dc);
    void DrawControlBorder(platform::HDC dc);
    void DrawButtonBorder(platform::HDC dc);
    void DrawButton(platform::HDC dc);
    // Repaints frame and client, which redraws the borders.
    void RedrawBorders();

private:
    void PlaceEdit();
    bool flat_ = true, etched_ = false, mouseIn_ = false;
    int buttonWidth_;
    int dropWidth_ = 0;
    platform::TColor savedColor_;
    bool savedParentColor_;
};

class TGRDCustomCombo : public TFlatCombo<platform::TCustomComboBox> {
public:
    using TFlatCombo::TFlatCombo;
    // 1.2.0.0: major, minor, release and build from the top byte down.
    virtual unsigned GetVersionNr() const;
};

class TGRDComboBox : public TGRDCustomCombo {
public:
    using TGRDCustomCombo::TGRDCustomCombo;
    std::string Version() const;  // "1.2.0.0"
};

class TGRDUniCustomCombo : public TFlatCombo<TCustomUNIComboBox> {
public:
    using TFlatCombo::TFlatCombo;
};

class TGRDUniComboBox : public TGRDUniCustomCombo {
public:
    using TGRDUniCustomCombo::TGRDUniCustomCombo;
};

extern template class TFlatCombo<platform::TCustomComboBox>;
extern template class TFlatCombo<TCustomUNIComboBox>;

}  // namespace grid
