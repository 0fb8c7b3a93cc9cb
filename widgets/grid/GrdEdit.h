#pragma once
// Edits with a small button inside their right edge: the button edit raises an event
// when the button is pressed (or F4 typed); the unit edit shows a unit between value and
// button and lets the button pick it from a menu.
#include <memory>
#include <string>

#include "platform/controls/Buttons.h"
#include "platform/controls/Edit.h"

namespace base {
class TStringList;
class TStrings;
}
namespace platform {
class TPopupMenu;
}

namespace grid {

// After an edit's size message: an edit lower than minHeight grows to it (which sends a
// new size message); otherwise its button window goes inside its right edge, as high as
// the text area, and the answer is true.
bool SizeEdgeButton(platform::TCustomEdit& edit, platform::TWinControl* button, int buttonWidth, int minHeight);
// The smaller of the text heights of the system font and of font; fontHeight receives font's.
int SmallerTextHeight(platform::TFont* font, int& fontHeight);

// A speed button drawn flat, classic or in the visual style.
class TExSpeedButton : public platform::TSpeedButton {
public:
    using TSpeedButton::TSpeedButton;
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value);
    void Paint() override;

private:
    bool isWinXP_ = false;
};

// A window of buttons that hands the focus on when one of them is pressed: to
// FocusControl when that has a tab stop, else to itself when it has one.
class TButtonWindow : public platform::TWinControl {
public:
    explicit TButtonWindow(platform::TComponent* AOwner);
    platform::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(platform::TWinControl* Value);
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;

protected:
    void TakeFocusAfterPress();

private:
    platform::TWinControl* focusControl_ = nullptr;
};

// The window that holds an edit's button. A press calls OnClick on the mouse-down and
// moves the focus to FocusControl.
class TGrdEditButton : public TButtonWindow {
public:
    explicit TGrdEditButton(platform::TComponent* AOwner);

    TExSpeedButton* Button() const { return button_; }
    platform::TBitmap* Glyph() { return button_->Glyph(); }
    void SetGlyph(const platform::TBitmap* Value) { button_->SetGlyph(Value); }
    const std::string& ButtonCaption() const { return button_->Caption(); }
    void SetButtonCaption(const std::string& Value) { button_->SetCaption(Value); }
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int Value) { button_->SetNumGlyphs(Value); }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    platform::TNotifyEvent OnClick;

    void SetBounds(int l, int t, int w, int h) override;
    void WMSize(platform::TWMSize& m) override;
    void Loaded() override;

private:
    void ButtonMouseDown(platform::TMouseButton Button);
    TExSpeedButton* button_;
    bool flat_ = false;
};

class TGrdEditBtn : public platform::TCustomEdit {
public:
    explicit TGrdEditBtn(platform::TComponent* AOwner);
    ~TGrdEditBtn() override;

    TGrdEditButton* ButtonContainer() const { return button_; }
    bool RightAlign() const { return rightAlign_; }
    void SetRightAlign(bool Value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int Value);
    bool EditorEnabled = true;  // typing, paste and cut allowed
    platform::TBitmap* Glyph() { return button_->Glyph(); }
    void SetGlyph(const platform::TBitmap* Value) { button_->SetGlyph(Value); }
    const std::string& ButtonCaption() const { return button_->ButtonCaption(); }
    void SetButtonCaption(const std::string& Value) { button_->SetButtonCaption(Value); }
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value);
    platform::TNotifyEvent OnClickBtn;

    // The button's press (also F4).
    virtual void BtnClick();

    void CreateParams(platform::TCreateParams& params) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMChar(platform::TWMChar& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMCut(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    // The lowest height that shows the font whole.
    int MinHeight();

protected:
    void CreateWnd() override;
    // Keeps the text clear of the unit and the button.
    void SetEditRect();
    int unitWidth_ = 0;

private:
    TGrdEditButton* button_;
    bool rightAlign_ = false;
    int buttonWidth_ = 18;
    bool isWinXP_ = false;
};

class TGrdUnitEditBtn : public TGrdEditBtn {
public:
    explicit TGrdUnitEditBtn(platform::TComponent* AOwner);
    ~TGrdUnitEditBtn() override;

    const std::string& UnitID() const { return unitID_; }
    void SetUnitID(const std::string& Value);
    base::TStringList& Units() { return *units_; }
    void SetUnits(const base::TStrings* Value);  // copied; nullptr is ignored
    int UnitSpace() const { return unitWidth_; }
    void SetUnitSpace(int Value);

    // A cell text split into the value and its unit: the number (digits, ',', '-', '.',
    // and an exponent such as "e-3" that follows a digit) goes to the value, every
    // other character to the unit; once the unit has begun after the number, the rest
    // is unit ("4 m2" is 4 with the unit " m2").
    static void SplitValueUnit(const std::string& cell, std::string& value, std::string& unit);
    // Text and UnitID from a cell text, and back.
    void SetCellText(const std::string& cell);
    std::string CellText() const { return Text() + unitID_; }

    // Shows the units as a menu under the button; the chosen one becomes UnitID.
    void BtnClick() override;
    void Dispatch(platform::TMessage& m) override;
    // The menu BtnClick showed last (nullptr before the first).
    platform::TPopupMenu* UnitMenu() const { return menu_; }

protected:
    void PaintWindow(platform::HDC dc) override;

private:
    std::string unitID_;
    std::unique_ptr<base::TStringList> units_;
    platform::TPopupMenu* menu_ = nullptr;  // owned by the edit
};

}  // namespace grid
