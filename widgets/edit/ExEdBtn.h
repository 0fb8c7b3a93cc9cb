#pragma once
// A typed edit with a small push button inside its right end (a click or F4 raises
// OnClickBtn), and one whose button opens a menu of units shown beside the text.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/StringList.h"
#include "platform/controls/Buttons.h"
#include "widgets/edit/ExEdit.h"

namespace platform {
class TPopupMenu;
}

namespace edit {

// A speed button that paints flat, etched or in the active visual style.
class TExSpeedButton : public platform::TSpeedButton {
public:
    explicit TExSpeedButton(platform::TComponent* AOwner) : TSpeedButton(AOwner) {}
    bool Etched() const { return etched_; }
    void SetEtched(bool v);
    bool Focused() const { return focused_; }
    void SetFocused(bool v);
    bool MouseInside() const { return mouseInside_; }
    void Paint() override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;
    // The edit whose font the caption takes.
    platform::TWinControl* FontControl = nullptr;

private:
    bool etched_ = false, focused_ = false, mouseInside_ = false;
};

// The windowed holder of the button, sized to the button's width.
class TEditButton : public platform::TWinControl {
public:
    explicit TEditButton(platform::TComponent* AOwner);
    TExSpeedButton* Button() const { return button_; }
    int ButtonWidth = 16;
    platform::TWinControl* FocusControl = nullptr;
    platform::TNotifyEvent ClickHandler;
    void SetBounds(int l, int t, int w, int h) override;
    void WMSize(platform::TWMSize& m) override;

private:
    TExSpeedButton* button_;
};

class TExEditBtn : public TExEdit {
public:
    explicit TExEditBtn(platform::TComponent* AOwner);
    ~TExEditBtn() override;

    std::string GetCaption() const;
    void SetCaption(const std::string& s);  // the button's caption; the value stays
    platform::TBitmap* GetGlyph() const;
    void SetGlyph(const platform::TBitmap* b);
    int ButtonWidth() const;
    void SetButtonWidth(int w);
    const std::string& ButtonHint() const { return buttonHint_; }
    void SetButtonHint(const std::string& s);
    void SetFlat(bool v) override;
    bool Etched() const { return etched_; }
    void SetEtched(bool v);
    bool EditorEnabled = true;  // off: cut and paste are refused
    TEditButton* ButtonHolder() const { return holder_; }

    platform::TNotifyEvent OnClickBtn;
    virtual void BtnClick(platform::TObject* Sender);
    std::uint32_t GetVersionNr() const override { return 0x01030000; }

    int GetMinHeight();
    void ResizeControl();
    void SetEditRect();

    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void WMCut(platform::TMessage& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    void DoEnter() override;
    void DoExit() override;
    void CMMouseEnter(platform::TMessage& m) override;
    void CMMouseLeave(platform::TMessage& m) override;

protected:
    void CreateWnd() override;
    void SetFlatRect(bool flat) override;
    void UpdateButtonBorder();
    int unitSpace_ = 0;

private:
    TEditButton* holder_;
    std::string buttonHint_;
    bool etched_ = false, laying_ = false;
};

// The unit selector: the button offers Units in a menu; the chosen one is UnitID.
class TUnitExEditBtn : public TExEditBtn {
public:
    explicit TUnitExEditBtn(platform::TComponent* AOwner);
    ~TUnitExEditBtn() override;

    base::TStringList& Units() { return units_; }
    void SetUnits(const base::TStrings* list);  // copies; nothing for an absent list
    const std::string& UnitID() const { return unitID_; }
    void SetUnitID(const std::string& s);
    int UnitSpace() const { return unitSpace_; }
    void SetUnitSize(int n);
    std::function<void(platform::TObject* Sender, const std::string& NewUnit)> OnUnitChanged;

    // The menu of units, while it is or was last shown.
    platform::TPopupMenu* UnitMenu() const { return menu_; }
    void BtnClick(platform::TObject* Sender) override;
    // The menu's choice k (from 1) arrives as a command.
    void Dispatch(platform::TMessage& m) override;

protected:
    void PaintWindow(platform::HDC dc) override;

private:
    base::TStringList units_;
    std::string unitID_;
    platform::TPopupMenu* menu_ = nullptr;
};

}  // namespace edit
