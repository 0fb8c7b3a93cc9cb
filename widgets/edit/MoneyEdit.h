#pragma once
// Number edits with a drop-down calculator: a stay-on-top window of buttons that works
// on the edit's text, chaining operators strictly left to right. TMoneyEdit sits on the
// plain edit, TExMoneyEdit on the typed edit.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/Buttons.h"
#include "platform/controls/Edit.h"
#include "widgets/edit/ExEdit.h"

namespace platform {
class TForm;
}

namespace edit {

struct TCalculatorLook {
    std::shared_ptr<platform::TBitmap> ButtonBkg;  // empty: none
    int ButtonWidth = 24, ButtonHeight = 24;
    platform::TColor ButtonColor = platform::clSilver, Color = platform::clWhite;
    platform::TFont Font;
    bool Flat = false;
};

using TExtraButtonClickEvent = std::function<void(platform::TObject* Sender, int idx, double& value)>;

// The calculator window: buttons in a grid, their cells painted in ButtonColor.
class TTabForm;

// The calculator of one edit: its window, its running value and its keys.
class TCalculator {
public:
    // The edit's text as the calculator reads and writes it, and how a result is shown.
    struct Host {
        platform::TWinControl* Edit = nullptr;
        std::function<std::string()> Text;
        std::function<void(const std::string&)> SetText;
        std::function<void(double)> ShowValue;
        std::function<void()> AfterButton;  // the typed edit marks itself modified
        bool Typed = false;                 // digits work on the value (with a decimal divisor)
        std::function<double()> Value;
    };
    explicit TCalculator(Host host);
    ~TCalculator();

    TCalculatorLook Look;
    std::array<std::string, 4> Extra;
    TExtraButtonClickEvent OnExtraButtonClick;

    void Show();
    void Hide();
    bool Showing() const { return form_ != nullptr; }
    platform::TForm* Form() const;
    // The button with this tag (0..18, extra 19..22) while the calculator is open.
    platform::TSpeedButton* Button(int tag) const;
    void ButtonClick(int tag, platform::TObject* sender = nullptr);
    void KeyPress(char key);
    void KeyDown(platform::Word key);
    // The drop button was clicked: opens unless the click just closed it.
    bool ShouldOpen();

    // The running value: accumulator, pending operator (-1 none, 0 add, 1 multiply,
    // 2 subtract, 3 divide), new-entry flag, and the error of a division by zero.
    double Accumulator = 0;
    int Pending = 0;
    bool NewEntry = false;
    bool Error = false;
    int DecimalDivisor = 0;
    // An operator waits for its second number.
    bool Chained = false;

    void Calc();
    void Equals();
    void Percent();
    void Operator(int op);
    void Clear();
    void Digit(int d);     // the calculator's digit button
    void TypeDigit(char d);  // a digit typed: works on the text
    void Sign();
    void Decimal();
    // Applies a waiting operator to the number shown (one without a second number is
    // dropped), so that the text is the value: leaving the edit and reading it call this.
    void Finish();

private:
    double Number();  // the text as a number; 0 when it does not convert
    void EmptyToZero();
    void Build();
    void Deactivated();

    Host host_;
    TTabForm* form_ = nullptr;
    std::array<platform::TSpeedButton*, 23> buttons_{};
    bool reopenGuard_ = false;
};

// The drop button: gives the focus to its edit, then clicks.
class TDropCalculatorButton : public platform::TSpeedButton {
public:
    using TSpeedButton::TSpeedButton;
    platform::TWinControl* FocusControl = nullptr;
    void Click() override;
};

class TMoneyEdit : public platform::TCustomEdit {
public:
    explicit TMoneyEdit(platform::TComponent* AOwner);
    ~TMoneyEdit() override;

    // The value shown, after a waiting operator is applied.
    double GetValue() const;
    void SetValue(double v);
    TCalculator& Calculator() { return *calc_; }
    TDropCalculatorButton* DropButton() const { return button_; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool v);
    platform::TNotifyEvent OnClickBtn;
    virtual void BtnClick(platform::TObject* Sender);
    virtual std::uint32_t GetVersionNr() const { return 0x01010000; }
    std::string GetVersion() const;
    void SetEditRect();
    int GetMinHeight();

    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMCut(platform::TMessage& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

protected:
    void CreateWnd() override;

private:
    std::unique_ptr<TCalculator> calc_;
    TDropCalculatorButton* button_;
    bool editorEnabled_ = true;
};

class TExMoneyEdit : public TExEdit {
public:
    explicit TExMoneyEdit(platform::TComponent* AOwner);
    ~TExMoneyEdit() override;

    // The value shown, after a waiting operator is applied.
    double GetValue();
    void SetValue(double v);
    TCalculator& Calculator() { return *calc_; }
    TDropCalculatorButton* DropButton() const { return button_; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool v);
    void SetButtonCaption(const std::string& s);
    void SetButtonHint(const std::string& s);
    platform::TNotifyEvent OnClickBtn;
    virtual void BtnClick(platform::TObject* Sender);
    std::uint32_t GetVersionNr() const override { return 0x01010001; }
    void SetEditRect();

    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMCut(platform::TMessage& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

protected:
    void CreateWnd() override;
    void SetFlatRect(bool flat) override;

private:
    std::unique_ptr<TCalculator> calc_;
    TDropCalculatorButton* button_;
    bool editorEnabled_ = true;
};

}  // namespace edit
