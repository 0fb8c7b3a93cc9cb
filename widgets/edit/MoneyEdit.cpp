#include "widgets/edit/MoneyEdit.h"

#include <algorithm>
#include <cmath>

#include "base/StrUtils.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "widgets/edit/EditLayout.h"
#include "widgets/edit/ExEditText.h"
#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

namespace {

constexpr int kAdd = 0, kMultiply = 1, kSubtract = 2, kDivide = 3;
const char* const kErrorText = "Error";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

class TTabForm : public TForm {
public:
    using TForm::TForm;
    int ButtonWidth = 24, ButtonHeight = 24;
    TColor ButtonColor = clSilver;
    std::array<bool, 4> Ex{};
    void Paint() override
    {
        TForm::Paint();
        TCanvas* c = Canvas();
        c->Pen().SetColor(clBlack);
        c->Brush().SetColor(Color());
        c->Rectangle(ClientRect());
        c->Brush().SetColor(ButtonColor);
        c->Pen().SetColor(ButtonColor);
        for (int k = 1; k <= 6; ++k)
            for (int r = 1; r <= 4; ++r) {
                if ((k == 5 && r == 1) || (k == 6 && !Ex[std::size_t(r - 1)])) continue;
                c->Rectangle((ButtonWidth + 2) * (k - 1) + 2, (ButtonHeight + 2) * (r - 1) + 2, (ButtonWidth + 2) * k,
                             (ButtonHeight + 2) * r);
            }
        c->Brush().SetColor(Color());
    }
};

// ---------------------------------------------------------------- the calculator

TCalculator::TCalculator(Host host) : host_(std::move(host)) {}

TCalculator::~TCalculator() { Hide(); }

TForm* TCalculator::Form() const { return form_; }

TSpeedButton* TCalculator::Button(int tag) const
{
    return form_ && tag >= 0 && tag < int(buttons_.size()) ? buttons_[std::size_t(tag)] : nullptr;
}

double TCalculator::Number()
{
    double v = 0;
    if (!base::TryStrToFloat(StripThousandSeparators(host_.Text()), v)) return 0;  // "-", "Error", a word
    return v;
}

void TCalculator::EmptyToZero()
{
    if (host_.Text().empty()) host_.SetText("0");
}

void TCalculator::Calc()
{
    EmptyToZero();
    const double a = Number();
    Error = false;
    switch (Pending) {
    case kAdd: Accumulator += a; break;
    case kMultiply: Accumulator *= a; break;
    case kSubtract: Accumulator -= a; break;
    case kDivide:
        if (a == 0) Error = true;
        else Accumulator /= a;
        break;
    default: Accumulator = a; break;
    }
    if (!std::isfinite(Accumulator)) Accumulator = 0;
    if (Error) {
        Accumulator = 0;
        host_.SetText(kErrorText);  // shown until the next entry
    } else {
        host_.ShowValue(Accumulator);
    }
    NewEntry = true;
}

void TCalculator::Operator(int op)
{
    Calc();
    Pending = op;
    Chained = true;
}

void TCalculator::Equals()
{
    Chained = false;
    Calc();
    EmptyToZero();
    if (!Error) Accumulator = Number();
    Pending = -1;
}

void TCalculator::Percent()
{
    EmptyToZero();
    const double x = Number();
    host_.SetText(FormatGeneral(Accumulator * x / 100));
}

void TCalculator::Clear()
{
    host_.SetText("0");
    Accumulator = 0;
    Pending = -1;
    Chained = false;
    Error = false;
}

void TCalculator::Finish()
{
    if (!Chained) return;
    if (!NewEntry) {
        Equals();
        return;
    }
    Chained = false;
    Pending = -1;
    Accumulator = Number();
}

void TCalculator::TypeDigit(char d)
{
    const std::string t = host_.Text();
    if (t == "0" || NewEntry || Error) {
        host_.SetText(std::string(1, d));
        NewEntry = false;
        Error = false;
    } else {
        host_.SetText(t + d);
    }
}

void TCalculator::Digit(int d)
{
    if (!host_.Typed) {
        TypeDigit(char('0' + d));
        return;
    }
    double v = host_.Value();
    if ((v == 0 && DecimalDivisor == 0) || NewEntry || Error) {
        host_.SetText(std::to_string(d));
        NewEntry = false;
        Error = false;
        return;
    }
    if (DecimalDivisor > 0) {
        v += double(d) / DecimalDivisor;
        DecimalDivisor *= 10;
    } else {
        v = v * 10 + d;
    }
    host_.ShowValue(v);
}

void TCalculator::Sign()
{
    const std::string t = host_.Text();
    if (t.find('-') != std::string::npos) host_.SetText(t.substr(1));
    else host_.SetText("-" + t);
}

void TCalculator::Decimal()
{
    const char sep = base::DecimalSeparator();
    const std::string t = host_.Text();
    if (host_.Typed) {
        if (t.find(sep) == std::string::npos) host_.SetText(t + sep);
        DecimalDivisor = 10;
        NewEntry = false;
        return;
    }
    if (t == "0" || NewEntry || Error) {
        host_.SetText(std::string("0") + sep);
        NewEntry = false;
        Error = false;
    } else if (t.find(sep) == std::string::npos) {
        host_.SetText(t + sep);
    }
}

void TCalculator::ButtonClick(int tag, TObject* sender)
{
    if (host_.Typed && ((tag >= 10 && tag <= 14) || tag >= 16)) DecimalDivisor = 0;
    if (tag >= 0 && tag <= 9) Digit(tag);
    else if (tag == 10) Operator(kAdd);
    else if (tag == 11) Operator(kSubtract);
    else if (tag == 12) Operator(kMultiply);
    else if (tag == 13) Operator(kDivide);
    else if (tag == 14) Sign();
    else if (tag == 15) Decimal();
    else if (tag == 16) Clear();
    else if (tag == 17) Equals();
    else if (tag == 18) Percent();
    else if (tag >= 19 && tag <= 22) {
        EmptyToZero();
        double value = Number();
        const double copy = value;
        if (OnExtraButtonClick) OnExtraButtonClick(sender, tag - 18, value);
        if (value != copy) host_.SetText(FormatGeneral(value));
    }
    if (host_.AfterButton) host_.AfterButton();
}

void TCalculator::KeyPress(char key)
{
    const char sep = base::DecimalSeparator();
    if (key == sep || key == '.' || key == ',') {  // the separator's own key only
        if (host_.Text().find(sep) == std::string::npos) host_.SetText(host_.Text() + sep);
        return;
    }
    switch (key) {
    case 13:
        Equals();
        if (form_) form_->Release();
        break;
    case 27:
        if (form_) form_->Release();
        break;
    case '%': Percent(); break;
    case '*': Operator(kMultiply); break;
    case '+': Operator(kAdd); break;
    case '-': Operator(kSubtract); break;
    case '/': Operator(kDivide); break;
    case '=': Equals(); break;
    case 'C':
    case 'c':
        host_.SetText("0");
        Accumulator = 0;
        NewEntry = true;
        Pending = -1;
        Chained = false;
        Error = false;
        break;
    default:
        if (IsDigit(key)) TypeDigit(key);
        break;
    }
}

void TCalculator::KeyDown(Word key)
{
    if ((key == VK_TAB || key == VK_F4) && form_) {
        form_->Release();
    } else if (key == VK_BACK) {
        std::string t = host_.Text();
        if (!t.empty()) t.pop_back();
        host_.SetText(t.empty() ? "0" : t);
    }
}

bool TCalculator::ShouldOpen()
{
    const bool open = !reopenGuard_;
    reopenGuard_ = false;
    return open;
}

void TCalculator::Deactivated()
{
    TPoint p;
    GetCursorPos(p);
    TWinControl* e = host_.Edit;
    const TPoint c = e->ScreenToClient(p);
    reopenGuard_ = c.X >= e->ClientWidth() - 16 && c.X < e->ClientWidth() && c.Y >= 0 && c.Y < e->ClientHeight();
    if (form_) form_->Release();
}

void TCalculator::Build()
{
    const int w = form_->ButtonWidth, h = form_->ButtonHeight;
    const bool extra = std::any_of(Extra.begin(), Extra.end(), [](const std::string& s) { return !s.empty(); });
    const int columns = extra ? 6 : 5;
    form_->SetClientWidth((w + 2) * columns + 4);
    form_->SetClientHeight((h + 2) * 4 + 4);
    auto add = [&](int tag, const std::string& caption, int column, int row) {
        auto* b = new TSpeedButton(form_);
        b->SetParent(form_);
        b->SetBounds((w + 2) * (column - 1) + 2, (h + 2) * (row - 1) + 2, w, h);
        b->Font()->Assign(Look.Font);
        b->SetFlat(Look.Flat);
        b->SetCaption(caption);
        if (Look.ButtonBkg && !Look.ButtonBkg->Empty()) {
            b->SetGlyph(Look.ButtonBkg.get());
            b->SetMargin(0);
            b->SetSpacing(-(Look.ButtonBkg->Width() / 2) - Look.Font.Size() / 2);
        }
        b->OnClick = [this, tag](TObject* s) { ButtonClick(tag, s); };
        buttons_[std::size_t(tag)] = b;
    };
    static const struct {
        int tag;
        const char* caption;
        int column, row;
    } fixed[] = {{7, "7 ", 1, 1},   {8, "8 ", 2, 1},  {9, "9 ", 3, 1},    {10, "+ ", 4, 1},  {4, "4 ", 1, 2},
                 {5, "5 ", 2, 2},   {6, "6 ", 3, 2},  {11, "- ", 4, 2},   {18, "% ", 5, 2},  {1, "1 ", 1, 3},
                 {2, "2 ", 2, 3},   {3, "3 ", 3, 3},  {12, "* ", 4, 3},   {16, "C ", 5, 3},  {0, "0 ", 1, 4},
                 {14, "+/- ", 2, 4}, {15, ". ", 3, 4}, {13, "/ ", 4, 4},  {17, "= ", 5, 4}};
    for (const auto& f : fixed) add(f.tag, f.caption, f.column, f.row);
    for (int n = 1; n <= 4; ++n)
        if (!Extra[std::size_t(n - 1)].empty()) add(18 + n, Extra[std::size_t(n - 1)] + " ", 6, n);
}

void TCalculator::Show()
{
    if (form_) return;
    TWinControl* e = host_.Edit;
    const TPoint origin = e->ClientToScreen(Point(0, 0));
    form_ = Construct<TTabForm>(e);
    form_->SetBorderStyle(bsNone);
    form_->ButtonWidth = Look.ButtonWidth;
    form_->ButtonHeight = Look.ButtonHeight;
    form_->ButtonColor = Look.ButtonBkg && !Look.ButtonBkg->Empty() ? Look.Color : Look.ButtonColor;
    form_->SetFormStyle(fsStayOnTop);
    for (int n = 0; n < 4; ++n) form_->Ex[std::size_t(n)] = !Extra[std::size_t(n)].empty();
    form_->SetColor(Look.Color);
    form_->KeyPreview = true;
    form_->OnDeactivate = [this](TObject*) { Deactivated(); };
    form_->OnKeyPress = [this](TObject*, char& k) {
        KeyPress(k);
        k = 0;
    };
    form_->OnKeyDown = [this](TObject*, Word& k, TShiftState) {
        KeyDown(k);
        if (k == VK_TAB || k == VK_LEFT || k == VK_RIGHT || k == VK_UP || k == VK_DOWN) k = 0;
    };
    form_->OnDestroy = [this](TObject*) {
        form_ = nullptr;
        buttons_.fill(nullptr);
    };
    DecimalDivisor = 0;
    Build();
    const int fh = form_->Height();
    int top = origin.Y + e->Height();
    if (origin.Y + fh >= Screen->Height() && origin.Y - fh > 0) top = origin.Y - fh;
    form_->SetBounds(origin.X, top, form_->Width(), fh);
    form_->Show();
}

void TCalculator::Hide()
{
    if (form_) form_->Free();
    form_ = nullptr;
}

void TDropCalculatorButton::Click()
{
    if (FocusControl && FocusControl->CanFocus() && !FocusControl->Focused()) FocusControl->SetFocus();
    TSpeedButton::Click();
}

// ---------------------------------------------------------------- the edits

namespace {

// The drop button inside the right end of an edit of width w and height h.
void PlaceDropButton(TSpeedButton* b, int w, int h, bool border)
{
    const int d = border ? 5 : 2;
    b->SetBounds(w - b->Width() - d, 0, b->Width(), h - d);
}

// Keys typed into the edit itself: digits, backspace, the separator, the clipboard keys.
bool FilterEditKey(TCustomEdit* e, char& key, bool keepMinus, bool newEntry, int valueStart, const std::string& text,
                   const std::function<void(const std::string&)>& setText, bool& clearNewEntry)
{
    const char dec = base::DecimalSeparator();
    clearNewEntry = false;
    if (key == 1 || key == 3 || key == 22 || key == 24 || key == 26) return true;  // select all, copy, paste, cut, undo
    if (!(key == 8 || IsDigit(key) || key == dec || (keepMinus && key == '-'))) {
        key = 0;
        return false;
    }
    if ((text == "0" || newEntry) && IsDigit(key)) {
        setText(std::string(1, key));
        e->SetSelStart(valueStart + 1);
        clearNewEntry = true;
        key = 0;
        return false;
    }
    if (text.size() == 1 && key == 8) {
        setText("0");
        e->SetSelStart(valueStart + 1);
        key = 0;
        return false;
    }
    if (key == base::ThousandSeparator() || (key == dec && text.find(dec) != std::string::npos)) {
        key = 0;
        return false;
    }
    return true;
}

// The drop button opens the calculator, or closes the open one.
void DropClick(TCalculator& calc, const TNotifyEvent& onClick, TObject* sender)
{
    if (calc.ShouldOpen() && !calc.Showing()) calc.Show();
    else calc.Hide();
    if (onClick) onClick(sender);
}

// A drop button for an edit, clicking into click.
TDropCalculatorButton* MakeDropButton(TWinControl* e, const std::function<void(TObject*)>& click)
{
    auto* b = new TDropCalculatorButton(e);
    b->SetBounds(0, 0, 15, 17);
    b->SetMargin(0);
    b->SetSpacing(0);
    b->SetParent(e);
    b->FocusControl = e;
    b->SetCursor(crArrow);
    b->OnClick = click;
    return b;
}

}  // namespace

TMoneyEdit::TMoneyEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    TCalculator::Host host;
    host.Edit = this;
    host.Text = [this] { return Text(); };
    host.SetText = [this](const std::string& s) { TCustomEdit::SetText(s); };
    host.ShowValue = [this](double v) { TCustomEdit::SetText(FormatGeneral(v)); };
    calc_ = std::make_unique<TCalculator>(host);
    button_ = MakeDropButton(this, [this](TObject* s) { BtnClick(s); });
    TCustomEdit::SetText("0");
    ControlStyle &= ~csSetCaption;
    SetAlignment(taRightJustify);
}

TMoneyEdit::~TMoneyEdit() { calc_->Hide(); }

std::string TMoneyEdit::GetVersion() const { return html::VersionText(GetVersionNr()); }

double TMoneyEdit::GetValue() const
{
    calc_->Finish();
    double v = 0;
    return base::TryStrToFloat(Text().empty() ? "0" : Text(), v) ? v : 0.0;
}

void TMoneyEdit::SetValue(double v)
{
    calc_->Chained = false;
    calc_->Pending = -1;
    TCustomEdit::SetText(FormatGeneral(v));
}

void TMoneyEdit::WMKillFocus(TWMKillFocus& m)
{
    // Focus that moves to the edit's own calculator does not leave it.
    if (!calc_->Showing()) calc_->Finish();
    TCustomEdit::WMKillFocus(m);
}

void TMoneyEdit::SetEditorEnabled(bool v)
{
    editorEnabled_ = v;
    SetReadOnly(!v);
}

void TMoneyEdit::BtnClick(TObject* Sender) { DropClick(*calc_, OnClickBtn, Sender); }

int TMoneyEdit::GetMinHeight() { return EditMinHeight(this); }

void TMoneyEdit::SetEditRect()
{
    const int m = BorderStyle() == bsNone ? 2 : 1;
    SetTextArea(this, m, m, button_->Width() + 3);
}

void TMoneyEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TMoneyEdit::WMSize(TWMSize& m)
{
    TCustomEdit::WMSize(m);
    if (Height() < GetMinHeight()) {
        SetHeight(GetMinHeight());
        return;
    }
    PlaceDropButton(button_, ClientWidth(), ClientHeight(), false);
    SetEditRect();
}

void TMoneyEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_F4) BtnClick(button_);
    if (Key == VK_DELETE && Text().empty()) SetValue(0);
}

void TMoneyEdit::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    TCalculator& c = *calc_;
    switch (Key) {
    case 13:
    case '=': c.Equals(); break;
    case '%': c.Percent(); break;
    case '*': c.Operator(kMultiply); break;
    case '+': c.Operator(kAdd); break;
    case '-': {
        // Typed where the number starts, a minus is its sign.
        const std::string t = Text();
        if (t.empty() || t == "0" || SelLength() >= int(t.size())) {
            TCustomEdit::SetText("-");
            SetSelStart(1);
            c.NewEntry = false;
            Key = 0;
            return;
        }
        c.Operator(kSubtract);
        break;
    }
    case '/': c.Operator(kDivide); break;
    case 'C':
    case 'c':
        TCustomEdit::SetText("0");
        c.NewEntry = true;
        c.Pending = -1;
        c.Chained = false;
        break;
    default: break;
    }
    bool clear = false;
    FilterEditKey(this, Key, false, c.NewEntry, 0, Text(), [this](const std::string& s) { TCustomEdit::SetText(s); },
                  clear);
    if (clear) c.NewEntry = false;
}

void TMoneyEdit::WMCut(TMessage& m)
{
    if (editorEnabled_) TCustomEdit::WMCut(m);
}

void TMoneyEdit::WMPaste(TMessage& m)
{
    if (editorEnabled_) TCustomEdit::WMPaste(m);
}

// ---------------------------------------------------------------- on the typed edit

TExMoneyEdit::TExMoneyEdit(TComponent* AOwner) : TExEdit(AOwner)
{
    TCalculator::Host host;
    host.Edit = this;
    host.Typed = true;
    host.Text = [this] { return GetText(); };
    host.SetText = [this](const std::string& s) {
        if (s == "Error") SetRawText(Prefix() + s + Suffix());  // the error state, shown as text
        else TExEdit::SetText(s);
    };
    host.ShowValue = [this](double v) { SetFloat(v); };
    host.Value = [this] { return GetFloat(); };
    host.AfterButton = [this] { SetModified(true); };
    calc_ = std::make_unique<TCalculator>(host);
    button_ = MakeDropButton(this, [this](TObject* s) { BtnClick(s); });
    TExEdit::SetText("0");
    ControlStyle &= ~csSetCaption;
    RightReserve = 19;
    LeftReserve = 0;
}

TExMoneyEdit::~TExMoneyEdit() { calc_->Hide(); }

double TExMoneyEdit::GetValue()
{
    calc_->Finish();
    if (GetText().empty()) TExEdit::SetText("0");
    double v = 0;
    return base::TryStrToFloat(StripThousandSeparators(GetText()), v) ? v : 0.0;
}

void TExMoneyEdit::SetValue(double v)
{
    calc_->Chained = false;
    calc_->Pending = -1;
    TExEdit::SetText(FormatGeneral(v));
}

void TExMoneyEdit::WMKillFocus(TWMKillFocus& m)
{
    if (!calc_->Showing()) calc_->Finish();
    TExEdit::WMKillFocus(m);
}

void TExMoneyEdit::SetEditorEnabled(bool v)
{
    editorEnabled_ = v;
    SetReadOnly(!v);
}

void TExMoneyEdit::SetButtonCaption(const std::string& s) { button_->SetCaption(s); }

void TExMoneyEdit::SetButtonHint(const std::string& s)
{
    button_->SetHint(s);
    button_->SetShowHint(!s.empty());
}

void TExMoneyEdit::BtnClick(TObject* Sender) { DropClick(*calc_, OnClickBtn, Sender); }

void TExMoneyEdit::SetEditRect()
{
    const int m = BorderStyle() == bsNone ? 2 : 1;
    SetTextArea(this, m, m, button_->Width() + 3);
}

void TExMoneyEdit::SetFlatRect(bool flat)
{
    if (flat) TExEdit::SetFlatRect(true);
    else SetEditRect();
}

void TExMoneyEdit::CreateWnd()
{
    TExEdit::CreateWnd();
    SetEditRect();
}

void TExMoneyEdit::WMSize(TWMSize& m)
{
    TExEdit::WMSize(m);
    PlaceDropButton(button_, ClientWidth(), ClientHeight(), false);
    SetEditRect();
}

void TExMoneyEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TExEdit::KeyDown(Key, Shift);
    if (Key == VK_F4) BtnClick(button_);
    if (Key == VK_DELETE && GetText().empty()) SetValue(0);
}

void TExMoneyEdit::KeyPress(char& Key)
{
    TExEdit::KeyPress(Key);
    bool clear = false;
    FilterEditKey(this, Key, true, calc_->NewEntry, int(Prefix().size()), GetText(),
                  [this](const std::string& s) { TExEdit::SetText(s); }, clear);
    if (clear) calc_->NewEntry = false;
}

void TExMoneyEdit::WMCut(TMessage& m)
{
    if (editorEnabled_) TExEdit::WMCut(m);
}

void TExMoneyEdit::WMPaste(TMessage& m)
{
    if (editorEnabled_) TExEdit::WMPaste(m);
}

}  // namespace edit
