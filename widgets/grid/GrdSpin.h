#pragma once
// Spin controls: a button that repeats its click while held, a pair of them (up and
// down), and a masked edit with such a pair that holds an integer, a float, a date or a
// time and steps it with the buttons, the arrow keys and the page keys.
#include <functional>
#include <string>

#include "base/DateTime.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Mask.h"
#include "widgets/grid/GrdEdit.h"

namespace platform {
class TTimer;
}

namespace grid {

enum TTimeBtnStateFlag : unsigned { tbFocusRect = 1, tbAllowTimer = 2 };
using TTimeBtnState = unsigned;
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TSpinDirection { spVertical, spHorizontal };

// With tbAllowTimer a press clicks at once, again 400 ms later and then every 100 ms
// until the release; the release itself does not click.
class TExTimerSpeedButton : public platform::TSpeedButton {
public:
    explicit TExTimerSpeedButton(platform::TComponent* AOwner);
    ~TExTimerSpeedButton() override;

    TTimeBtnState TimeBtnState = 0;
    TButtonDirection Direction = bdUp;
    bool IsWinXP = false;
    // The repeat timer, made on the first press.
    platform::TTimer* RepeatTimer() const { return timer_; }

    void Click() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void Paint() override;

private:
    void TimerExpired();
    platform::TTimer* timer_ = nullptr;
    bool releasing_ = false;
};

class TGrdSpinButton : public TButtonWindow {
public:
    explicit TGrdSpinButton(platform::TComponent* AOwner);

    TExTimerSpeedButton* UpButton() const { return up_; }
    TExTimerSpeedButton* DownButton() const { return down_; }
    TExTimerSpeedButton* FocusedButton() const { return focused_; }
    TSpinDirection Direction() const { return direction_; }
    void SetDirection(TSpinDirection Value);
    platform::TBitmap* UpGlyph() { return up_->Glyph(); }
    void SetUpGlyph(const platform::TBitmap* Value);  // nullptr: the default arrow
    platform::TBitmap* DownGlyph() { return down_->Glyph(); }
    void SetDownGlyph(const platform::TBitmap* Value);
    int UpNumGlyphs() const { return up_->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { up_->SetNumGlyphs(Value); }
    int DownNumGlyphs() const { return down_->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { down_->SetNumGlyphs(Value); }
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value);
    platform::TNotifyEvent OnUpClick, OnDownClick;

    void SetBounds(int l, int t, int w, int h) override;
    void WMSize(platform::TWMSize& m) override;
    void Loaded() override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

private:
    TExTimerSpeedButton* CreateButton();
    void ButtonClick(platform::TObject* Sender);
    void ButtonMouseDown(platform::TObject* Sender, platform::TMouseButton Button);
    void SetFocusBtn(TExTimerSpeedButton* Button);
    void AdjustSize(int& w, int h);
    TExTimerSpeedButton* up_ = nullptr;
    TExTimerSpeedButton* down_ = nullptr;
    TExTimerSpeedButton* focused_ = nullptr;
    TSpinDirection direction_ = spVertical;
    bool isWinXP_ = false;
};

enum TGrdSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TEditAlign { eaLeft, eaRight, eaCenter };

class TGrdSpinEdit : public platform::TCustomMaskEdit {
public:
    explicit TGrdSpinEdit(platform::TComponent* AOwner);
    ~TGrdSpinEdit() override;

    int MinValue = 0, MaxValue = 100;
    double MinFloatValue = 0.0, MaxFloatValue = 100.0;
    base::TDateTime MinDateValue = 0, MaxDateValue = 0;
    int Increment = 1;
    double IncrementFloat = 0.0;  // 0: float steps change nothing
    bool EditorEnabled = true;
    bool ReturnIsTab = false;
    bool ExcelStyleDecimalSeparator = false;  // the keypad's '.' types the locale's separator

    int Value() const;
    void SetValue(int v);
    double FloatValue() const;
    void SetFloatValue(double v);
    base::TDateTime DateValue() const;
    void SetDateValue(base::TDateTime v);
    base::TDateTime TimeValue() const;
    void SetTimeValue(base::TDateTime v);
    TGrdSpinType SpinType() const { return spinType_; }
    void SetSpinType(TGrdSpinType Value);
    int Precision() const { return precision_; }
    void SetPrecision(int Value);
    TSpinDirection Direction() const { return direction_; }
    void SetDirection(TSpinDirection Value);
    bool SpinFlat() const { return spinFlat_; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return spinTransparent_; }
    void SetSpinTransparent(bool Value);
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value);
    TEditAlign EditAlign() const { return editAlign_; }
    void SetEditAlign(TEditAlign Value);
    TGrdSpinButton* Button() const { return button_; }

    int CheckValue(int v) const;
    double CheckFloatValue(double x) const;
    base::TDateTime CheckDateValue(base::TDateTime x) const;

    virtual bool IsValidChar(char Key) const;
    virtual void UpClick();
    virtual void DownClick();

    void Loaded() override;
    // The streamed properties; the value of the spin type's kind only.
    void GetPublished(platform::TPropertyList& L) override;
    // The button pair is not streamed with the edit.
    void GetChildren(const std::function<void(platform::TComponent*)>& Proc, platform::TComponent* Root) override;
    void CreateParams(platform::TCreateParams& params) override;
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMChar(platform::TWMChar& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMCut(platform::TMessage& m) override;
    void WMSize(platform::TWMSize& m) override;
    void CMEnter(platform::TMessage& m) override;
    void CMExit(platform::TMessage& m) override;
    int MinHeight();

protected:
    void CreateWnd() override;
    void SetEditRect();

private:
    void Step(int sign);
    // The date or time field the caret stands in: 0, 1 or 2.
    int FieldAtCaret(char separator) const;
    void Relayout();
    void SetTextKeepCaret(const std::string& s);
    TGrdSpinButton* button_ = nullptr;
    base::TDateTime date_ = 0, time_ = 0;
    TGrdSpinType spinType_ = sptNormal;
    int precision_ = 0;
    TSpinDirection direction_ = spVertical;
    bool isWinXP_ = false, spinFlat_ = false, spinTransparent_ = false;
    bool monthFirst_ = false;
    TEditAlign editAlign_ = eaLeft;
};

// The spin edit with its edit mask streamed: the value is typed into the mask's places,
// and the steps work on the field under the caret as the mask lays it out.
class TExMaskSpinEdit : public TGrdSpinEdit {
public:
    using TGrdSpinEdit::TGrdSpinEdit;
    void GetPublished(platform::TPropertyList& L) override;
};

// The locale's short date and long time texts read back; false for a text that is none.
bool TryStrToDateLocale(const std::string& s, base::TDateTime& out);
bool TryStrToTimeLocale(const std::string& s, base::TDateTime& out);
// The date months later (earlier when negative), the day kept within the target month.
base::TDateTime IncMonth(base::TDateTime d, int months);

}  // namespace grid
