#include "widgets/edit/ExEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/IniFile.h"
#include "base/ScopeGuard.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Shell.h"
#include "widgets/edit/ExEdDD.h"
#include "widgets/edit/ExEditText.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool Has(const std::string& s, char c) { return s.find(c) != std::string::npos; }
bool Ctrl() { return GetKeyState(VK_CONTROL) < 0; }
bool Shift() { return GetKeyState(VK_SHIFT) < 0; }
bool NumberType(TExEditType t) { return t == etNumeric || t == etFloat || t == etMoney; }

}  // namespace

TExEdit::TExEdit(TComponent* AOwner) : TCustomEdit(AOwner), label_(this)
{
    SetColor(clWindow);
    normalFontColor_ = Font()->Color();
    label_.OnClick = [this](TObject*) {
        if (OnLabelClick) OnLabelClick(this);
    };
    label_.OnDblClick = [this](TObject*) {
        if (OnLabelDblClick) OnLabelDblClick(this);
    };
}

TExEdit::~TExEdit()
{
    SavePersist();
    if (dropRegistered_) RevokeDragDrop(this);
}

std::string TExEdit::GetVersion() const { return html::VersionText(GetVersionNr()); }

// ---------------------------------------------------------------- value and text

std::string TExEdit::GetText() const
{
    std::string s = Text();
    if (!prefix_.empty() && s.compare(0, prefix_.size(), prefix_) == 0) s.erase(0, prefix_.size());
    // Only a suffix that is there comes off.
    if (!suffix_.empty() && s.size() >= suffix_.size() &&
        s.compare(s.size() - suffix_.size(), suffix_.size(), suffix_) == 0)
        s.erase(s.size() - suffix_.size());
    return s;
}

void TExEdit::SetRawText(const std::string& raw) { TCustomEdit::SetText(raw); }

void TExEdit::SetText(const std::string& value)
{
    std::string s = value;
    if (!s.empty()) {
        const int k = ClassifyNumberText(s);
        if ((editType_ == etNumeric && k != ntInteger) ||
            ((editType_ == etFloat || editType_ == etMoney) && k > ntDecimal) ||
            (editType_ == etHex && k != ntInteger && k != ntHex))
            s = "0";
    }
    if (precision_ > 0 && !s.empty()) {
        if (editType_ == etMoney) s = FormatNumber(EStrToFloat(s), precision_);
        else if (editType_ == etFloat) s = FormatFixed(EStrToFloat(s), precision_);
    }
    if (editType_ == etHex) s = base::UpperCase(s);
    SetRawText(prefix_ + s + suffix_);
    SetModified(false);
    if (showURL_ && TestURL() != urlShown_) ApplyURL(!urlShown_);
}

double TExEdit::GetFloat() const
{
    const std::string v = GetText();
    switch (editType_) {
    case etNumeric:
    case etFloat: return v.empty() ? 0.0 : EStrToFloat(v);
    case etMoney: {
        std::string s = StripThousandSeparators(v);
        if (!s.empty() && s.back() == base::DecimalSeparator()) s.pop_back();
        return s.empty() || s == "-" ? 0.0 : EStrToFloat(s);
    }
    case etHex: return v.empty() ? 0.0 : double(HexTextValue(v));
    default: return 0.0;
    }
}

void TExEdit::SetFloat(double x)
{
    switch (editType_) {
    case etNumeric:
        // Plain digits: a whole number never gets separators that the type refuses.
        SetText(std::fabs(x) < 9e15 ? std::to_string(std::llround(x)) : FormatGeneral(x));
        break;
    case etFloat:
    case etMoney:
        SetText(precision_ < 0 ? FormatGeneral(x) : FormatFixed(x, precision_));
        if (editType_ == etMoney) AutoSeparators();
        break;
    case etHex:
        SetText(base::IntToHex(std::uint32_t(std::int32_t(std::trunc(std::clamp(x, -2147483648.0, 2147483647.0)))), 0));
        break;
    default: break;
    }
    SetModified(true);
}

int TExEdit::GetInt() const
{
    const std::string v = GetText();
    switch (editType_) {
    case etNumeric:
    case etFloat: return LeadingInteger(v);
    case etMoney: return LeadingInteger(StripThousandSeparators(v));
    case etHex: return v.empty() ? 0 : HexTextValue(v);
    default: return 0;
    }
}

void TExEdit::SetInt(int n)
{
    switch (editType_) {
    case etNumeric:
    case etFloat:
    case etMoney:
        SetText(std::to_string(n));
        if (editType_ == etMoney) AutoSeparators();
        break;
    case etHex: SetText(base::IntToHex(std::uint32_t(n), 0)); break;
    default: break;
    }
    SetModified(true);
}

void TExEdit::AutoSeparators()
{
    std::string v = GetText();
    if (v.empty()) return;
    const int oldLength = int(v.size()), caret = CaretPos();
    std::string sign;
    if (v[0] == '-') {
        sign = "-";
        v.erase(0, 1);
    }
    const std::size_t d = v.find(base::DecimalSeparator());
    const std::string fraction = d == std::string::npos ? std::string() : v.substr(d);
    const double whole = std::trunc(std::fabs(GetFloat()));
    const std::string integer = autoThousandSeparator_ ? FormatNumber(whole, 0) : FormatFixed(whole, 0);
    const std::string value = sign + integer + fraction;
    SetRawText(prefix_ + value + suffix_);
    SetSelStart(std::clamp(caret + int(value.size()) - oldLength, 0, int(Text().size())));
}

void TExEdit::SetModified(bool v)
{
    if (ReadOnly()) return;
    if (ShowModified) Font()->SetColor(v ? ModifiedColor : normalFontColor_);
    TCustomEdit::SetModified(v);
    modifiedFlag_ = v;
}

void TExEdit::SetError(bool v)
{
    if (v == error_) return;
    error_ = v;
    if (!ShowError) return;
    if (v) {
        TControl::SetColor(ErrorColor);
        Font()->SetColor(ErrorFontColor);
    } else if (Focused()) {
        if (FocusColor != clNone) TControl::SetColor(FocusColor);
        if (FocusFontColor != clNone) Font()->SetColor(FocusFontColor);
    } else {
        TControl::SetColor(normalColor_);
        Font()->SetColor(normalFontColor_);
    }
}

bool TExEdit::DoValidate(const std::string& value)
{
    bool valid = true;
    if (validating_) return true;
    validating_ = true;
    base::ScopeExit done([this] { validating_ = false; });
    ValidateEvent(value, valid);
    return valid;
}

void TExEdit::ValidateEvent(const std::string& value, bool& IsValid)
{
    if (OnValueValidate) OnValueValidate(this, value, IsValid);
}

void TExEdit::Change()
{
    TCustomEdit::Change();
    if (transparent_) Invalidate();  // the old text's pixels are not painted over
    if (showURL_ && TestURL() != urlShown_) ApplyURL(!urlShown_);
    const bool valid = DoValidate(GetText());
    if (ShowError) SetError(!valid);
}

void TExEdit::SelectAll()
{
    const std::string v = GetText();
    int from = 0;
    if (showURL_) {
        if (std::size_t p = v.find("://"); p != std::string::npos) from = int(p) + 3;
        else if (std::size_t q = v.find("mailto:"); q != std::string::npos) from = int(q) + 7;
    }
    Perform(EM_SETSEL, WPARAM(ValueStart() + from), LPARAM(ValueStart() + int(v.size())));
}

void TExEdit::SelectBeforeDecimal()
{
    const std::size_t d = GetText().find(base::DecimalSeparator());
    SetSelStart(ValueStart() + (d == std::string::npos ? 0 : int(d)));
}

void TExEdit::SelectAfterDecimal()
{
    const std::size_t d = GetText().find(base::DecimalSeparator());
    SetSelStart(ValueStart() + (d == std::string::npos ? 0 : int(d) + 1));
}

int TExEdit::DecimalPos() const
{
    const std::string v = GetText();
    const std::size_t d = v.find(base::DecimalSeparator());
    if (d != std::string::npos) return ValueStart() + int(d) + 1;
    return int(v.size() + prefix_.size() + suffix_.size()) + 1;
}

int TExEdit::FixedLength(const std::string& s) const
{
    const std::string t = StripThousandSeparators(s);
    const std::size_t d = t.find(base::DecimalSeparator());
    return d == std::string::npos ? int(t.size()) + 1 : int(d) + 1;
}

int TExEdit::GetTextSize()
{
    Canvas()->Font().Assign(*Font());
    return Canvas()->TextWidth(GetText());
}

void TExEdit::SetEditType(TExEditType t)
{
    if (t == editType_) return;
    editType_ = t;
    if (t == etPassword) {
        SetPasswordChar('*');
        canUndo_ = false;
    } else if (PasswordChar()) {
        SetPasswordChar(0);
    }
    const int k = ClassifyNumberText(GetText());
    if (t == etNumeric && k != ntInteger) SetInt(0);
    else if ((t == etFloat || t == etMoney) && k > ntDecimal) SetFloat(0);
    else if (t == etHex && k != ntInteger && k != ntHex) SetInt(0);
}

void TExEdit::SetPrecision(int p)
{
    if (p == precision_ || (editType_ != etFloat && editType_ != etMoney)) return;
    precision_ = p;
    if (ClassifyNumberText(GetText()) > ntDecimal) SetFloat(0);
    else SetFloat(GetFloat());
}

void TExEdit::SetPrefix(const std::string& s)
{
    const std::string v = GetText();
    prefix_ = s;
    SetText(v);
}

void TExEdit::SetSuffix(const std::string& s)
{
    const std::string v = GetText();
    suffix_ = s;
    SetText(v);
}

void TExEdit::SetAutoThousandSeparator(bool v)
{
    autoThousandSeparator_ = v;
    if (editType_ == etFloat || editType_ == etMoney) AutoSeparators();
}

void TExEdit::SetCanUndo(bool v) { canUndo_ = v && editType_ != etPassword; }

void TExEdit::ApplyAlignment(TEditAlign a)
{
    SetAlignment(a == eaRight ? taRightJustify : a == eaCenter ? taCenter : taLeftJustify);
}

void TExEdit::SetEditAlign(TEditAlign a)
{
    editAlign_ = a;
    ApplyAlignment(a);
}

// ---------------------------------------------------------------- focus

void TExEdit::WMSetFocus(TWMSetFocus& m)
{
    TCustomEdit::WMSetFocus(m);
    focusInText_ = GetText();
    if (FocusColor != clNone) TControl::SetColor(FocusColor);
    if (!((error_ && ShowError) || ShowModified)) {
        normalFontColor_ = Font()->Color();
        if (!urlShown_ && FocusFontColor != clNone) Font()->SetColor(FocusFontColor);
    }
    if (AutoSelect) SelectAll();
    else if (editType_ == etFloat || editType_ == etMoney) SelectBeforeDecimal();
    if (FocusLabel && Label()) Label()->Font()->SetStyle(Label()->Font()->Style() | fsBold);
    if (FocusWidthInc > 0 && !alignSwitch_) SetWidth(Width() + FocusWidthInc);
    if (FocusAlign != editAlign_ && FocusAlign != eaDefault) {
        savedAlign_ = editAlign_;
        alignSwitch_ = true;
        ApplyAlignment(FocusAlign);
        alignSwitch_ = false;
    }
    if ((!emptyText_.empty() && GetText().empty()) || focusBorder_) Invalidate();
}

void TExEdit::WMKillFocus(TWMKillFocus& m)
{
    HideLookup();
    if (!error_) TControl::SetColor(normalColor_);
    if (!((error_ && ShowError) || ShowModified || urlShown_)) Font()->SetColor(normalFontColor_);
    if (FocusLabel && Label()) Label()->Font()->SetStyle(Label()->Font()->Style() & ~TFontStyles(fsBold));
    if ((editType_ == etFloat || editType_ == etMoney) && GetText().empty()) SetFloat(0);
    if (precision_ > 0 && (editType_ == etFloat || editType_ == etMoney)) {
        const bool modified = modifiedFlag_;
        SetFloat(GetFloat());
        SetModified(modified);
    }
    if (editType_ == etNumeric && GetText().empty()) SetText("0");
    DoValidate(GetText());
    TCustomEdit::WMKillFocus(m);
    if (focusBorder_) Invalidate();
    if (!alignSwitch_) {
        if (FocusWidthInc > 0) SetWidth(Width() - FocusWidthInc);
        if (FocusAlign != eaDefault && FocusAlign != editAlign_) ApplyAlignment(editAlign_);
        if ((!emptyText_.empty() && GetText().empty()) || errorMarkerLen_ > 0) Invalidate();
        AddHistory();
    }
}

// ---------------------------------------------------------------- keys

std::string TExEdit::ValueAfterDelete(bool backspace) const
{
    std::string raw = Text();
    int s = SelStart(), n = SelLength();
    if (n == 0) {
        if (backspace) {
            if (s == 0) return GetText();
            --s;
        }
        n = 1;
    }
    raw.erase(std::size_t(std::clamp(s, 0, int(raw.size()))), std::size_t(n));
    std::string v = raw;
    if (!prefix_.empty() && v.compare(0, prefix_.size(), prefix_) == 0) v.erase(0, prefix_.size());
    if (!suffix_.empty() && v.size() >= suffix_.size() && v.compare(v.size() - suffix_.size(), suffix_.size(), suffix_) == 0)
        v.erase(v.size() - suffix_.size());
    return v;
}

std::string TExEdit::SelectedValuePart() const
{
    const std::string v = GetText();
    const int from = std::clamp(SelStart() - ValueStart(), 0, int(v.size()));
    return v.substr(std::size_t(from), std::size_t(SelLength()));
}

void TExEdit::PostKeyTo(TWinControl* w, Word vk)
{
    if (!w) return;
    PostMessage(w->Handle(), WM_KEYDOWN, vk, KeyDataOf(vk));
    PostMessage(w->Handle(), WM_KEYUP, vk, KeyDataOf(vk, false, true));
}

void TExEdit::ToggleSign(bool numeric)
{
    const std::string v = GetText();
    const int caret = CaretPos();
    const bool adding = !Has(v, '-');
    if (adding) {
        SetRawText(prefix_ + "-" + v + suffix_);
        SetSelStart(caret + 1);
    } else {
        SetRawText(prefix_ + v.substr(1) + suffix_);
        SetSelStart(std::max(ValueStart(), caret - 1));
    }
    if (!numeric || adding) SetModified(true);
}

namespace {

// With c the caret in the value (0 = its start): the caret stands in a fraction that
// already has all its decimals.
bool FractionComplete(const std::string& v, int c, int precision)
{
    const std::size_t d = v.find(base::DecimalSeparator());
    if (precision <= 0 || d == std::string::npos) return false;
    const int dp = int(d) + 1;
    return c >= dp && int(v.size()) - dp >= precision && int(v.size()) - c <= precision;
}

// A separator typed where the thousand groups around the caret would not be three digits.
bool SeparatorSpacingRefused(std::string v, int c)
{
    const char t = base::ThousandSeparator();
    if (!Has(v, t)) return false;
    int smallest = int(v.size());
    for (;;) {
        const std::size_t q = v.find(t);
        if (q == std::string::npos) return smallest > 3;
        const int p = int(q) + 1;
        const int distance = std::abs(p - c);
        smallest = std::min(smallest, distance);
        if (distance < 3) return true;
        v.erase(0, q + 1);
        if (p < c) c -= p;
    }
}

}  // namespace

void TExEdit::WMChar(TWMChar& m)
{
    char c = char(m.CharCode());
    const bool ctrl = Ctrl();
    const char dec = base::DecimalSeparator(), th = base::ThousandSeparator();
    const std::string before = Text();
    enum { Refuse, Pass, Handled, Quiet } outcome = Pass;  // Quiet: handled, without the after-step
    auto pass = [&] {
        m.SetCharCode(Word((unsigned char)c));
        TCustomEdit::WMChar(m);
    };

    if (c == 13 && ctrl) { m.Result = 1; return; }
    if (c == 13) {
        char k = c;
        if (OnKeyPress) OnKeyPress(this, k);
        if (!SpecialKeyForwarding && Parent()) PostKeyTo(Parent(), VK_RETURN);
        return;
    }
    if (c == 27) {
        if (!SpecialKeyForwarding && Parent()) PostKeyTo(Parent(), VK_ESCAPE);
        if (!canUndo_) { pass(); return; }
    }
    // Select all, copy, paste, cut and undo.
    if (ctrl && (c == 1 || c == 3 || c == 22 || c == 24 || c == 26)) { pass(); return; }
    if (c == '.' && ExcelStyleDecimalSeparator && ((m.KeyData() >> 22) & 1)) c = dec;
    const int caret = CaretPos(), valueStart = ValueStart();
    const std::string v = GetText();
    if (c == 8 && !prefix_.empty() && caret <= valueStart && SelLength() == 0) return;
    if (LengthLimit > 0 && FixedLength(v) > LengthLimit && SelLength() == 0 && caret < DecimalPos() && c != 8 &&
        c != dec)
        return;
    if (c == 8 && LengthLimit > 0 && FixedLength(ValueAfterDelete(true)) - 1 > LengthLimit) return;
    if (c == 10 && ctrl) return;
    if (c == '-' && NumberType(editType_) && !Signed) return;

    const bool digit = IsDigit(c);
    const bool control = c == 8 || c == 9 || c == 13;
    const int cv = caret - valueStart;  // caret within the value
    // A sign typed over a selection only where the selection starts the value.
    const bool signPlace = SelStart() <= valueStart;
    switch (editType_) {
    case etString:
    case etPassword: outcome = Pass; break;
    case etNumeric:
        if (c == '-') {
            ToggleSign(true);
            outcome = Handled;
        } else {
            outcome = control || digit || ctrl ? Pass : Refuse;
        }
        break;
    case etFloat:
    case etMoney: {
        const bool money = editType_ == etMoney;
        const std::string sel = SelText();
        if (money) {
            if (c == dec) {
                if (precision_ == 0) { outcome = Refuse; break; }
                if (Has(v, dec)) {
                    if (SelLength() >= int(v.size()) && !v.empty()) {
                        SetText(std::string("0") + dec + "0");
                        SelectAfterDecimal();
                    }
                    outcome = Refuse;
                    break;
                }
            }
            if (!(control || c == '-' || digit || c == dec)) { outcome = Refuse; break; }
        } else {
            if ((c == ',' && dec != ',' && th != ',') || (c == '.' && dec != '.' && th != '.')) { outcome = Refuse; break; }
            if (!(control || c == ',' || c == '-' || c == '.' || digit)) { outcome = Refuse; break; }
            if (c == dec && !Has(sel, dec) && (Has(v, dec) || precision_ == 0)) {
                if (precision_ > 0 && Has(v, dec)) SelectAfterDecimal();
                outcome = Refuse;
                break;
            }
            if (c == ',' && th != ',' && Has(v, ',') && !Has(sel, ',')) { outcome = Refuse; break; }
        }
        if ((c == th || c == dec) && SeparatorSpacingRefused(v, cv)) { outcome = Refuse; break; }
        if ((digit || c == dec) && SelLength() == 0 && FractionComplete(v, cv, precision_)) {
            if (precision_ < 1 || c == dec || caret >= ValueEnd()) { outcome = Refuse; break; }
            SetSelLength(1);  // the typed digit replaces the next one
        }
        if (v.empty() && c == dec) {
            SetRawText(prefix_ + "0" + dec + suffix_);
            SetSelStart(valueStart + 2);
            SetModified(true);
            outcome = Quiet;
            break;
        }
        if (c == '-') {
            if (SelLength() == 0) {
                ToggleSign(false);
                outcome = Quiet;
            } else {
                outcome = signPlace ? Pass : Refuse;
            }
            break;
        }
        outcome = Pass;
        if (money) {
            pass();
            const std::string now = GetText();
            if (!now.empty() && now != "-" && c != dec) {
                if (Text() != before) SetModified(true);
                AutoSeparators();
            }
            outcome = Handled;
        }
        break;
    }
    case etUppercase:
        c = base::AnsiUpperCase(std::string(1, c))[0];
        break;
    case etLowerCase:
        if ((c >= 'A' && c <= 'Z') || (unsigned char)c >= 0xC0) c = base::LowerCase(std::string(1, c))[0];
        break;
    case etMixedCase: {
        pass();
        const int at = CaretPos();
        SetRawText(prefix_ + MixedCaseText(GetText()) + suffix_);
        SetSelStart(at);
        outcome = Handled;
        break;
    }
    case etRange:
        if (control || digit) outcome = Pass;
        else if (c == ',' || c == '-' || c == ';') {
            const std::string raw = Text();
            auto sep = [&](int i) { return i >= 0 && i < int(raw.size()) && Has(",-;", raw[std::size_t(i)]); };
            outcome = caret <= valueStart || sep(caret - 1) || sep(caret) ? Refuse : Pass;
        } else {
            outcome = Refuse;
        }
        break;
    case etHex:
        if (c == '-') outcome = signPlace && !Has(v, '-') ? Pass : Refuse;
        else outcome = control || digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') ? Pass : Refuse;
        break;
    case etAlphaNumeric:
        outcome = control || digit || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? Pass : Refuse;
        break;
    case etValidChars: outcome = c == 8 || (c && Has(ValidChars, c)) ? Pass : Refuse; break;
    }
    if (outcome == Refuse || outcome == Quiet) return;
    if (outcome == Pass) pass();
    AfterChar();
    if (Text() != before) SetModified(true);
}

void TExEdit::AfterChar()
{
    if (TabOnFullLength && LengthLimit > 0 && FixedLength(GetText()) > LengthLimit && SelLength() == 0 &&
        CaretPos() == LengthLimit)
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, KeyDataOf(VK_TAB));
    UpdateLookup();
}

void TExEdit::WMKeyDown(TWMKeyDown& m)
{
    const Word key = m.CharCode();
    const bool shift = Shift(), ctrl = Ctrl();
    const int caret = CaretIndex();
    if (LookupKey(key)) return;
    if ((key == VK_TAB || key == VK_RETURN) && ctrl) {
        TCustomEdit::WMKeyDown(m);
        return;
    }
    if (key == VK_RETURN && ReturnIsTab) {
        if (Visible()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, KeyDataOf(VK_TAB));
        return;
    }
    if (!suffix_.empty()) {
        const int end = ValueEnd();
        if (key == VK_RIGHT && caret >= end) return;
        if (key == VK_DELETE && caret >= end) {
            if (SelLength() == 0) return;
            SetModified(true);
        }
        if (key == VK_END) {
            if (shift) Perform(EM_SETSEL, WPARAM(SelStart()), LPARAM(end));
            else SetSelStart(end);
            return;
        }
    }
    if (!prefix_.empty()) {
        const int start = ValueStart();
        if (key == VK_LEFT && caret <= start) return;
        if (key == VK_HOME) {
            if (shift) Perform(EM_SETSEL, WPARAM(ValueEnd()), LPARAM(start));
            else SetSelStart(start);
            return;
        }
        if (key == VK_BACK) {
            if (caret <= start + 1) return;
            SetModified(true);
        }
    }
    if (key == VK_DELETE && caret >= ValueStart()) {
        if (LengthLimit > 0 && FixedLength(ValueAfterDelete(false)) - 1 > LengthLimit) return;
        SetModified(true);
    }
    TCustomEdit::WMKeyDown(m);
    if (key == VK_DELETE && editType_ == etMoney) AutoSeparators();
    if (!prefix_.empty() && CaretIndex() < ValueStart()) SetSelStart(ValueStart());
}

void TExEdit::CMWantSpecialKey(TCMWantSpecialKey& m)
{
    // Escape undoes to the text of focus-in; the form then sees it as its dialog key.
    if (m.WParam == VK_ESCAPE && canUndo_ && Focused()) {
        SetText(focusInText_);
        if (FocusFontColor != clNone) Font()->SetColor(FocusFontColor);
        SelectAll();
        SetModified(false);
        m.Result = 0;
        if (Parent() && SpecialKeyForwarding) PostKeyTo(Parent(), VK_ESCAPE);
    } else if (m.WParam == VK_RETURN && SpecialKeyForwarding && Parent() && Parent()->Focused()) {
        const TCustomForm* form = GetParentForm(this);
        if (!form || !form->KeyPreview) PostKeyTo(Parent(), VK_RETURN);
    }
    TCustomEdit::CMWantSpecialKey(m);
}

// ---------------------------------------------------------------- clipboard

void TExEdit::WMCopy(TMessage& m)
{
    bool allow = true;
    if (OnClipboardCopy) OnClipboardCopy(this, SelectedValuePart(), allow);
    if (allow) TCustomEdit::WMCopy(m);
}

void TExEdit::WMCut(TMessage& m)
{
    bool allow = true;
    if (OnClipboardCut) OnClipboardCut(this, SelectedValuePart(), allow);
    if (allow) TCustomEdit::WMCut(m);
}

// Shows value when the type takes it; inserted is the part that came from outside.
bool TExEdit::TakeValue(const std::string& value, const std::string& inserted)
{
    auto allOf = [&](auto pred) { return std::all_of(value.begin(), value.end(), pred); };
    bool taken = false;
    const std::string& clip = inserted;
    switch (editType_) {
    case etString:
    case etPassword: SetText(value); taken = true; break;
    case etNumeric:
        if (ClassifyNumberText(value) == ntInteger && (Signed || !Has(value, '-'))) {
            SetText(value);
            SetModified(true);
            taken = true;
        }
        break;
    case etFloat:
    case etMoney:
        if (ClassifyNumberText(value) <= ntDecimal && !(precision_ == 0 && Has(clip, base::DecimalSeparator())) &&
            (Signed || !Has(value, '-'))) {
            SetText(value);
            SetFloat(GetFloat());
            SetModified(true);
            taken = true;
        }
        break;
    case etUppercase: SetText(base::AnsiUpperCase(value)); taken = true; break;
    case etLowerCase: SetText(base::LowerCase(value)); taken = true; break;
    case etMixedCase: SetText(MixedCaseText(value)); taken = true; break;
    case etAlphaNumeric:
        if (allOf([](char ch) { return IsDigit(ch) || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); })) {
            SetText(value);
            SetModified(true);
            taken = true;
        }
        break;
    case etValidChars:
        if (allOf([this](char ch) { return Has(ValidChars, ch); })) {
            SetText(value);
            SetModified(true);
            taken = true;
        }
        break;
    case etRange:
    case etHex: break;
    }
    return taken;
}

void TExEdit::WMPaste(TMessage& m)
{
    (void)m;
    if (ReadOnly()) return;
    if (!Clipboard()->HasFormat(CF_TEXT)) {
        UpdateLookup();
        return;
    }
    const std::string clip = Clipboard()->AsText();
    if (OnClipboardPaste) {
        bool allow = true;
        OnClipboardPaste(this, SelectedValuePart(), allow);
        if (!allow) return;
    }
    const std::string v = GetText();
    if (MaxLength() > 0 && int(clip.size() + v.size()) - SelLength() > MaxLength()) return;
    const int from = std::clamp(SelStart() - ValueStart(), 0, int(v.size()));
    const int n = std::min(SelLength(), int(v.size()) - from);
    const std::string value = v.substr(0, std::size_t(from)) + clip + v.substr(std::size_t(from + n));
    const bool hadSelection = SelLength() > 0;
    if (!TakeValue(value, clip)) return;
    if (editType_ == etMoney && GetText().size() > 3) SelectAll();
    else if (hadSelection) Perform(EM_SETSEL, WPARAM(ValueStart() + from), LPARAM(ValueStart() + from + int(clip.size())));
    else SetSelStart(std::min(ValueStart() + from + int(clip.size()), ValueEnd()));
    if (editType_ == etString || editType_ == etUppercase || editType_ == etMixedCase || editType_ == etLowerCase ||
        editType_ == etPassword)
        SetModified(true);
    UpdateLookup();
}

// ---------------------------------------------------------------- stored text and ranges

std::string TExEdit::IniFileName() const
{
    if (Persistence.Location == plRegistry) {
        std::string dir;
        if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) dir = x;
        else if (const char* h = std::getenv("HOME")) dir = std::string(h) + "/.config";
        std::string key = Persistence.Key;
        std::replace(key.begin(), key.end(), '\\', '_');
        std::replace(key.begin(), key.end(), '/', '_');
        return dir + "/Korvelo/" + (key.empty() ? "settings" : key) + ".ini";
    }
    if (!Persistence.Key.empty()) return Persistence.Key;
    std::string exe = Application ? Application->ExeName() : std::string("korvelo");
    const std::size_t dot = exe.rfind('.'), slash = exe.rfind('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) exe.erase(dot);
    return exe + ".INI";
}

void TExEdit::SavePersist()
{
    if (!Persistence.Enable) return;
    base::TIniFile ini(IniFileName());
    ini.BeginUpdate();
    ini.WriteString(Persistence.Section, Name(), Text());
    if (Lookup.Enabled && Lookup.History) {
        const base::TStringList& d = *Lookup.DisplayList;
        ini.WriteInteger(Persistence.Section, "LOOKUPCOUNT", d.Count());
        for (int i = 1; i <= d.Count(); ++i) {
            ini.WriteString(Persistence.Section, "LOOKUPDISPL" + std::to_string(i), d.Get(i - 1));
            if (i <= Lookup.ValueList->Count())
                ini.WriteString(Persistence.Section, "LOOKUPVAL" + std::to_string(i), Lookup.ValueList->Get(i - 1));
        }
    }
    ini.EndUpdate();
}

void TExEdit::LoadPersist()
{
    if (!Persistence.Enable) return;
    base::TIniFile ini(IniFileName());
    if (Lookup.Enabled && Lookup.History) {
        const long long n = ini.ReadInteger(Persistence.Section, "LOOKUPCOUNT", 0);
        for (long long i = 1; i <= n; ++i) {
            const std::string v = ini.ReadString(Persistence.Section, "LOOKUPVAL" + std::to_string(i), "");
            if (!v.empty()) Lookup.ValueList->Add(v);
            const std::string d = ini.ReadString(Persistence.Section, "LOOKUPDISPL" + std::to_string(i), "");
            if (!d.empty()) Lookup.DisplayList->Add(d);
        }
    }
    const std::string s = ini.ReadString(Persistence.Section, Name(), "@");
    if (s != "@") SetRawText(s);
}

bool TExEdit::RangeStrToList(TRangeList& list) const { return list.StrToList(GetText()); }

void TExEdit::ListToRangeStr(const TRangeList& list) { SetRawText(list.ToRangeStr()); }

}  // namespace edit
