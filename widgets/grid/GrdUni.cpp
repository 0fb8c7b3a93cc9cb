#include "widgets/grid/GrdUni.h"

#include <algorithm>

#include "platform/Messages.h"

namespace grid {

using namespace platform;

namespace {

constexpr Word kNarrowChar = 255;  // what 8-bit handlers see of a wider character

WideString Replaced(const WideString& s, int start, int length, const WideString& text)
{
    const std::size_t a = std::min(s.size(), std::size_t(std::max(0, start)));
    const std::size_t n = std::min(s.size() - a, std::size_t(std::max(0, length)));
    return s.substr(0, a) + text + s.substr(a + n);
}

}  // namespace

// ---------------------------------------------------------------- the wide text beside the 8-bit one

void TWideTextShadow::Sync(const std::string& ansi) const
{
    if (expecting_) {
        expecting_ = false;
        if (WideToAnsi(expected_) == ansi) {
            wide_ = expected_;
            return;
        }
    }
    const std::string old = WideToAnsi(wide_);
    if (old == ansi) return;
    // Keep what the change left alone: the common start and end.
    std::size_t p = 0;
    while (p < old.size() && p < ansi.size() && old[p] == ansi[p]) ++p;
    std::size_t q = 0;
    while (q < old.size() - p && q < ansi.size() - p && old[old.size() - 1 - q] == ansi[ansi.size() - 1 - q]) ++q;
    wide_ = wide_.substr(0, p) + AnsiToWide(ansi.substr(p, ansi.size() - p - q)) + wide_.substr(wide_.size() - q);
}

WideString TWideTextShadow::Get(const std::string& ansi) const
{
    Sync(ansi);
    return wide_;
}

void TWideTextShadow::Expect(const std::string& ansi, int start, int length, const WideString& text)
{
    Sync(ansi);
    expected_ = Replaced(wide_, start, length, text);
    expecting_ = true;
}

// ---------------------------------------------------------------- edit

TCustomUNIEdit::TCustomUNIEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

WideString TCustomUNIEdit::Text() const { return shadow_.Get(TCustomEdit::Text()); }

void TCustomUNIEdit::SetText(const WideString& Value)
{
    if (Value == Text()) return;
    shadow_.Set(Value);
    const std::string ansi = WideToAnsi(Value);
    if (ansi == TCustomEdit::Text()) {  // only characters the 8-bit page lacks changed
        ShownTextChanged();
        Change();
    } else {
        TCustomEdit::SetText(ansi);
    }
}

std::u16string TCustomUNIEdit::ShownText() const { return shadow_.Get(TCustomEdit::Text()); }

WideString TCustomUNIEdit::SelText() const
{
    return Text().substr(std::size_t(SelStart()), std::size_t(SelLength()));
}

void TCustomUNIEdit::SetSelText(const WideString& Value)
{
    shadow_.Expect(TCustomEdit::Text(), SelStart(), SelLength(), Value);
    TCustomEdit::SetSelText(WideToAnsi(Value));
    shadow_.Sync(TCustomEdit::Text());
}

void TCustomUNIEdit::Change()
{
    shadow_.Sync(TCustomEdit::Text());
    TCustomEdit::Change();
}

void TCustomUNIEdit::WMChar(TWMChar& m)
{
    const Word code = m.CharCode();
    if (code < 256) {
        if (code >= 32) shadow_.Expect(TCustomEdit::Text(), SelStart(), SelLength(), WideString(1, char16_t(code)));
        TCustomEdit::WMChar(m);
        return;
    }
    // The key-press handlers see a placeholder; left alone, the character goes in whole.
    m.SetCharCode(kNarrowChar);
    TWinControl::WMChar(m);
    if (m.CharCode() == kNarrowChar) {
        if (!ReadOnly()) SetSelText(WideString(1, char16_t(code)));
    } else if (m.CharCode()) {
        DefaultHandler(m);
    }
}

// ---------------------------------------------------------------- combo box items

TListItems& TComboBoxStrings::Platform() const { return combo_.TCustomComboBox::Items(); }

void TComboBoxStrings::Align() const
{
    const TListItems& items = Platform();
    const std::size_t n = std::size_t(items.Count());
    std::vector<WideString> fresh(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& s = items.Get(int(i));
        fresh[i] = i < wide_.size() && WideToAnsi(wide_[i]) == s ? wide_[i] : AnsiToWide(s);
    }
    wide_.swap(fresh);
}

WideString TComboBoxStrings::Get(int index) const
{
    const std::string& s = Platform().Get(index);  // raises for a bad index
    const std::size_t i = std::size_t(index);
    if (i < wide_.size() && WideToAnsi(wide_[i]) == s) return wide_[i];
    return AnsiToWide(s);
}

int TComboBoxStrings::GetCount() const { return Platform().Count(); }
void* TComboBoxStrings::GetObject(int index) const { return Platform().GetObject(index); }
void TComboBoxStrings::PutObject(int index, void* obj) { Platform().PutObject(index, obj); }

int TComboBoxStrings::Add(const WideString& s)
{
    Align();
    const int index = Platform().Add(WideToAnsi(s));  // a sorted list chooses the place
    wide_.insert(wide_.begin() + index, s);
    return index;
}

void TComboBoxStrings::Insert(int index, const WideString& s)
{
    Align();
    Platform().Insert(index, WideToAnsi(s));
    wide_.insert(wide_.begin() + index, s);
}

void TComboBoxStrings::Delete(int index)
{
    Align();
    Platform().Delete(index);
    wide_.erase(wide_.begin() + index);
}

void TComboBoxStrings::Clear()
{
    const WideString text = combo_.Text();
    Platform().Clear();
    wide_.clear();
    combo_.SetText(text);
    combo_.Update();
}

void TComboBoxStrings::SetUpdateState(bool updating)
{
    if (updating) Platform().BeginUpdate();
    else Platform().EndUpdate();
}

// ---------------------------------------------------------------- combo box

TCustomUNIComboBox::TCustomUNIComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), items_(std::make_unique<TComboBoxStrings>(*this))
{
}

TCustomUNIComboBox::~TCustomUNIComboBox() = default;

TCustomEdit* TCustomUNIComboBox::Edit() const { return dynamic_cast<TCustomEdit*>(EditControl()); }

WideString TCustomUNIComboBox::Text() const { return shadow_.Get(TCustomComboBox::Text()); }

void TCustomUNIComboBox::SetText(const WideString& Value)
{
    if (Value == Text()) return;
    if (!EditStyle()) {  // the item with that text
        const int index = items_->IndexOf(Value);
        SetItemIndex(index);
        shadow_.Set(index >= 0 ? items_->Get(index) : WideString());
        ShownTextChanged();
        return;
    }
    shadow_.Set(Value);
    TCustomComboBox::SetText(WideToAnsi(Value));
    shadow_.Sync(TCustomComboBox::Text());
    ShownTextChanged();
}

std::u16string TCustomUNIComboBox::ShownItemText(int Index) const { return items_->Get(Index); }

std::u16string TCustomUNIComboBox::ShownEditText(const std::string& text) const { return shadow_.Get(text); }

void TCustomUNIComboBox::SetText(const std::string& s) { SetText(AnsiToWide(s)); }

WideString TCustomUNIComboBox::SelText() const
{
    if (!EditStyle()) return WideString();
    return Text().substr(std::size_t(SelStart()), std::size_t(SelLength()));
}

void TCustomUNIComboBox::SetSelText(const WideString& Value)
{
    TCustomEdit* edit = Edit();
    if (!edit) return;
    shadow_.Expect(TCustomComboBox::Text(), SelStart(), SelLength(), Value);
    edit->SetSelText(WideToAnsi(Value));
    shadow_.Sync(TCustomComboBox::Text());
}

void TCustomUNIComboBox::ComboWndProc(TMessage& Message, TWinControl* Child)
{
    if (Message.Msg != WM_CHAR) {
        TCustomComboBox::ComboWndProc(Message, Child);
        return;
    }
    const Word code = Message.CharCode();
    if (code < 256) {
        DoEditCharMsg(Message);
        if (!Message.CharCode()) return;
        if ((Message.CharCode() == 13 || Message.CharCode() == 27) && DroppedDown()) {
            char ch = char(Message.CharCode());
            KeyPress(ch);
            if (ch) SetDroppedDown(false);  // only closes the list
            return;
        }
        if (Message.CharCode() >= 32 && Edit())
            shadow_.Expect(TCustomComboBox::Text(), SelStart(), SelLength(), WideString(1, char16_t(Message.CharCode())));
        TCustomComboBox::ComboWndProc(Message, Child);
        return;
    }
    Message.SetCharCode(kNarrowChar);
    DoEditCharMsg(Message);
    char ch = char(Message.CharCode());
    if (ch) KeyPress(ch);
    if (!ch) return;
    // Left alone, the placeholder stands for the whole character; a handler may type another.
    const WideString typed = Word((unsigned char)ch) == kNarrowChar ? WideString(1, char16_t(code))
                                                                    : AnsiToWide(std::string(1, ch));
    if (TCustomEdit* edit = Edit(); edit && !edit->ReadOnly()) SetSelText(typed);
}

void TCustomUNIComboBox::CNCommand(TMessage& m)
{
    if (m.WParamHi() != CBN_SELCHANGE) {
        TCustomComboBox::CNCommand(m);
        return;
    }
    const int index = ItemIndex();
    const WideString item = index >= 0 && index < items_->Count() ? items_->Get(index) : WideString();
    SetItemIndex(index);  // shows the item's 8-bit text without events
    shadow_.Set(item);
    ShownTextChanged();
    Click();
    Change();
}

void TCustomUNIComboBox::KeyPress(char& Key)
{
    // Backspace reaches the event only, not the platform's own key handling.
    if (Key == 8) {
        if (OnKeyPress) OnKeyPress(this, Key);
        return;
    }
    TCustomComboBox::KeyPress(Key);
}

void TCustomUNIComboBox::Change()
{
    shadow_.Sync(TCustomComboBox::Text());
    TCustomComboBox::Change();
}

}  // namespace grid
