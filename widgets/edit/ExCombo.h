#pragma once
// A combo box with an attached caption label, an optional flat look that shows a raised
// border only while the mouse is over it or it has the focus, and a list width of its own.
#include <cstdint>
#include <string>

#include "platform/controls/ComboBox.h"
#include "widgets/edit/EditLabel.h"

namespace edit {

class TExCustomCombo : public platform::TCustomComboBox {
public:
    explicit TExCustomCombo(platform::TComponent* AOwner);
    ~TExCustomCombo() override;

    bool AutoFocus = false;
    bool Flat() const { return flat_; }
    void SetFlat(bool f);
    bool Etched() const { return etched_; }
    void SetEtched(bool v);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int w);  // 14 to 32; others are ignored
    bool FocusBorder = false;
    int DropWidth() const { return dropWidth_; }
    void SetDropWidth(int w);
    platform::TColor FlatLineColor() const { return flatLineColor_; }
    void SetFlatLineColor(platform::TColor c);
    bool FlatParentColor() const { return flatParentColor_; }
    void SetFlatParentColor(bool v);
    bool MouseInside() const { return mouseInside_; }
    bool ButtonHot() const { return buttonHot_; }

    std::string LabelCaption() const { return label_.Caption(); }
    void SetLabelCaption(const std::string& s);
    void SetLabelPosition(TLabelPosition p);
    void SetLabelMargin(int m);
    void SetLabelTransparent(bool v);
    void SetLabelAlwaysEnabled(bool v);
    platform::TFont* LabelFont() { return label_.Font(); }
    platform::TLabel* Label() const { return label_.Label(); }

    void SetColor(platform::TColor c);  // also the colour the flat look returns to
    void SetEnabled(bool e) override;
    void SetBounds(int l, int t, int w, int h) override;
    void SetParent(platform::TWinControl* p) override;
    void SetVisible(bool v) override;

    platform::TNotifyEvent OnDropUp;
    virtual std::uint32_t GetVersionNr() const { return 0x01010000; }
    std::string GetVersion() const;

    void Paint() override;
    void WMNCPaint(platform::TMessage& m) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void CMEnter(platform::TMessage& m) override;
    void CMExit(platform::TMessage& m) override;
    void CMEnabledChanged(platform::TMessage& m) override;
    void CNCommand(platform::TMessage& m) override;

private:
    bool Raised() const;  // the mouse is inside or the control has the focus
    // The flat borders on a DC whose origin is the window's top-left.
    void DrawBorders(platform::HDC dc, platform::TPoint origin);

    TAttachedLabel label_;
    bool flat_ = true, etched_ = false, mouseInside_ = false, buttonHot_ = false, flatParentColor_ = true;
    int buttonWidth_, dropWidth_ = 0;
    platform::TColor designColor_ = platform::clWindow, savedColor_ = 0, flatLineColor_ = platform::clBlack;
    bool savedParentColor_ = false;
};

class TExComboBox : public TExCustomCombo {
public:
    using TExCustomCombo::TExCustomCombo;
};

}  // namespace edit
