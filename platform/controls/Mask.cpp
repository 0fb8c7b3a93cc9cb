#include "platform/controls/Mask.h"

#include <QString>

#include <algorithm>

#include "base/DateTime.h"
#include "base/ScopeGuard.h"
#include "platform/Private.h"
#include "platform/system/Beep.h"
#include "platform/system/Clipboard.h"
#include "platform/system/KeyState.h"

namespace platform {

namespace {

QChar QCharOf(char c)
{
    const QString q = AnsiToQString(std::string(1, c));
    return q.isEmpty() ? QChar() : q.at(0);
}

char CaseOf(char c, int mode)
{
    if (mode == 0) return c;
    const QString q = AnsiToQString(std::string(1, c));
    const std::string s = QStringToAnsi(mode == 1 ? q.toUpper() : q.toLower());
    return s.size() == 1 ? s[0] : c;
}

// The mask's fields, split at the separators that no '\' escapes.
std::vector<std::string> Fields(const std::string& m)
{
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (m[i] == '\\' && i + 1 < m.size()) {
            out.back() += m[i];
            out.back() += m[++i];
        } else if (m[i] == ';') {
            out.emplace_back();
        } else {
            out.back() += m[i];
        }
    }
    return out;
}

constexpr const char* kInvalidInput = "Invalid input value.  Use escape key to abandon changes";

}  // namespace

// ---------------------------------------------------------------- the mask

TEditMask::TEditMask(const std::string& editMask)
{
    // A window text ends at NUL, and so does a mask.
    const std::vector<std::string> f = Fields(editMask.substr(0, editMask.find('\0')));
    if (f.size() > 1 && !f[1].empty()) saveLiterals_ = f[1][0] != '0';
    if (f.size() > 2 && !f[2].empty()) blank_ = f[2][0];
    const std::string& m = f[0];
    int caseMode = 0;
    auto literal = [&](char c) { cells_.push_back({0, c, 0}); };
    for (std::size_t i = 0; i < m.size(); ++i) {
        const char c = m[i];
        switch (c) {
        case '\\':
            if (i + 1 < m.size()) literal(m[++i]);
            break;
        case '>': caseMode = 1; break;
        case '<':
            if (i + 1 < m.size() && m[i + 1] == '>') {
                caseMode = 0;
                ++i;
            } else {
                caseMode = 2;
            }
            break;
        case '!': leadingBlanks_ = true; break;
        case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
            cells_.push_back({c, 0, caseMode});
            break;
        case ':': literal(base::TimeSeparator()); break;
        case '/': literal(base::DateSeparator()); break;
        case '_': literal(' '); break;
        default: literal(c); break;
        }
    }
}

bool TEditMask::IsRequired(int i) const
{
    const int k = cells_[std::size_t(i)].kind;
    return k == 'L' || k == 'A' || k == 'C' || k == '0';
}

char TEditMask::Accept(int i, char c) const
{
    const Cell& cell = cells_[std::size_t(i)];
    if (cell.kind == 0 || (unsigned char)c < 32) return 0;
    c = CaseOf(c, cell.caseMode);
    const QChar q = QCharOf(c);
    const bool digit = c >= '0' && c <= '9';
    bool ok = false;
    switch (cell.kind) {
    case 'L': case 'l': ok = q.isLetter(); break;
    case 'A': case 'a': ok = q.isLetter() || digit; break;
    case 'C': case 'c': ok = true; break;
    case '0': case '9': ok = digit; break;
    case '#': ok = digit || c == '+' || c == '-'; break;
    default: break;
    }
    return ok ? c : 0;
}

std::string TEditMask::EmptyText() const
{
    std::string s;
    for (const Cell& c : cells_) s += c.kind == 0 ? c.literal : blank_;
    return s;
}

std::string TEditMask::EditTextOf(const std::string& value) const
{
    std::string text = EmptyText();
    const int n = Length();
    int count = 0;  // the places, or with saved literals every position
    for (int i = 0; i < n; ++i) count += saveLiterals_ || !IsLiteral(i);
    // With '!' a short value fills the last places.
    const std::string v = leadingBlanks_ && int(value.size()) < count ? std::string(std::size_t(count) - value.size(), ' ') + value : value;
    if (!saveLiterals_ && int(v.size()) <= count) {
        // A text as Text gives it without literals (each character fits its place, a space
        // is a blank place): the characters are the places in order, so a space is never
        // taken for a literal blank.
        bool places = true;
        for (int i = 0, slot = NextSlot(0); i < int(v.size()) && places; ++i, slot = NextSlot(slot + 1)) {
            const char c = v[std::size_t(i)];
            places = c == ' ' || c == blank_ || Accept(slot, c);
        }
        if (places) {
            int slot = NextSlot(0);
            for (char c : v) {
                if (c != ' ' && c != blank_) text[std::size_t(slot)] = Accept(slot, c);
                slot = NextSlot(slot + 1);
            }
            return text;
        }
    }
    // As if typed: a literal where it stands is stepped over, every other character takes
    // the next place; a space or one that does not fit leaves it blank.
    int pos = 0;
    for (char c : v) {
        if (pos < n && IsLiteral(pos) && (c == Literal(pos) || (saveLiterals_ && c == ' '))) {
            ++pos;
            continue;
        }
        const int slot = NextSlot(pos);
        if (slot >= n) break;
        if (c != ' ' && c != blank_)
            if (const char a = Accept(slot, c)) text[std::size_t(slot)] = a;
        pos = slot + 1;
    }
    return text;
}

std::string TEditMask::TextOf(const std::string& editText) const
{
    std::string out;
    for (int i = 0; i < Length(); ++i) {
        if (IsLiteral(i)) {
            if (saveLiterals_) out += Literal(i);
            continue;
        }
        const char c = i < int(editText.size()) ? editText[std::size_t(i)] : blank_;
        out += c == blank_ ? ' ' : c;
    }
    if (!saveLiterals_) {
        // Only entered characters: the blanks at the end (at the start with '!') mean nothing.
        if (leadingBlanks_) out.erase(0, std::min(out.size(), out.find_first_not_of(' ')));
        else out.erase(out.find_last_not_of(' ') + 1);
    }
    return out;
}

int TEditMask::FirstMissing(const std::string& editText) const
{
    for (int i = 0; i < Length(); ++i)
        if (IsRequired(i) && (i >= int(editText.size()) || editText[std::size_t(i)] == blank_)) return i;
    return -1;
}

int TEditMask::NextSlot(int i) const
{
    i = std::max(0, i);
    while (i < Length() && IsLiteral(i)) ++i;
    return i;
}

int TEditMask::PrevSlot(int i) const
{
    i = std::min(i, Length()) - 1;
    while (i >= 0 && IsLiteral(i)) --i;
    return i;
}

std::string FormatMaskText(const std::string& editMask, const std::string& value)
{
    const TEditMask m(editMask);
    return m.Empty() ? value : m.TextOf(m.EditTextOf(value));
}

// ---------------------------------------------------------------- the edit

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const std::string& mask)
{
    const std::string m = mask.substr(0, mask.find('\0'));
    if (m == editMask_) return;
    const std::string value = Text();
    editMask_ = m;
    mask_ = TEditMask(m);
    SetMaxLength(IsMasked() ? mask_.Length() : 0);
    TCustomEdit::SetText(IsMasked() ? mask_.EditTextOf(value) : value);
}

std::string TCustomMaskEdit::Text() const
{
    return IsMasked() ? mask_.TextOf(EditText()) : EditText();
}

void TCustomMaskEdit::SetText(const std::string& s)
{
    TCustomEdit::SetText(IsMasked() ? mask_.EditTextOf(s) : s);
}

void TCustomMaskEdit::SetEditText(const std::string& s)
{
    TCustomEdit::SetText(s);  // WM_SETTEXT fits it to the mask
}

bool TCustomMaskEdit::EditComplete() const
{
    if (!IsMasked()) return false;
    const std::string& t = EditText();
    for (int i = 0; i < mask_.Length(); ++i)
        if (!mask_.IsLiteral(i) && (i >= int(t.size()) || t[std::size_t(i)] == mask_.Blank())) return false;
    return true;
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked()) return;
    const int i = mask_.FirstMissing(EditText());
    if (i < 0) return;
    Perform(EM_SETSEL, WPARAM(i), LPARAM(i));
    throw EDBEditError(kInvalidInput);
}

void TCustomMaskEdit::DoEditComplete()
{
    if (OnEditComplete) OnEditComplete(this);
}

void TCustomMaskEdit::CMEnter(TMessage& m)
{
    if (reEnter_) {
        // Back after a refused exit: the caret stays on the place to fill.
        reEnter_ = false;
        TWinControl::CMEnter(m);
        return;
    }
    enterText_ = EditText();
    TCustomEdit::CMEnter(m);
}

void TCustomMaskEdit::Reset()
{
    if (!IsMasked() || !Modified()) return;
    TCustomEdit::SetText(enterText_);
    SetModified(false);  // abandoned: leaving now checks nothing
    Perform(EM_SETSEL, 0, -1);
}

void TCustomMaskEdit::CMExit(TMessage& m)
{
    if (IsMasked() && Modified()) {
        // The edit keeps the focus until its text is complete.
        base::ScopeFail keepFocus([this] {
            if (CanFocus()) {
                reEnter_ = true;
                SetFocus();
                reEnter_ = false;
            }
        });
        ValidateEdit();
    }
    TCustomEdit::CMExit(m);
}

int TCustomMaskEdit::Anchor() const
{
    return CaretIndex() == SelStart() ? SelStart() + SelLength() : SelStart();
}

// One edit of the window text: start..end becomes with, the caret goes to caret.
void TCustomMaskEdit::Replace(int start, int end, const std::string& with, int caret)
{
    if (EditText().compare(std::size_t(start), std::size_t(end - start), with) != 0) {
        Perform(EM_SETSEL, WPARAM(start), LPARAM(end));
        Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(with.c_str()));
        Perform(EM_SETMODIFY, 1);
    }
    Perform(EM_SETSEL, WPARAM(caret), LPARAM(caret));
}

void TCustomMaskEdit::AfterEdit(bool wasComplete)
{
    (void)wasComplete;
    if (EditComplete()) DoEditComplete();
}

// Blanks of the selected positions; literals stay.
void TCustomMaskEdit::ClearSel()
{
    if (ReadOnly() || SelLength() == 0) return;
    const int s = SelStart(), e = s + SelLength();
    std::string sub = EditText().substr(std::size_t(s), std::size_t(e - s));
    for (int i = s; i < e; ++i)
        if (!mask_.IsLiteral(i)) sub[std::size_t(i - s)] = mask_.Blank();
    Replace(s, e, sub, s);
}

void TCustomMaskEdit::TypeChar(char c)
{
    if (ReadOnly()) return;
    const bool was = EditComplete();
    const int n = mask_.Length();
    const int s = SelStart(), e = s + SelLength();
    std::string work = EditText();
    for (int i = s; i < e; ++i)
        if (!mask_.IsLiteral(i)) work[std::size_t(i)] = mask_.Blank();
    // The typed character goes to the first position at or after the selection that takes
    // characters; typing a literal where it stands steps over it.
    int caret = 0;
    if (s < n && mask_.IsLiteral(s) && c == mask_.Literal(s)) {
        caret = s + 1;
    } else {
        const int slot = mask_.NextSlot(s);
        const char a = slot < n ? mask_.Accept(slot, c) : 0;
        if (!a) {
            MessageBeep();
            return;
        }
        work[std::size_t(slot)] = a;
        caret = mask_.NextSlot(slot + 1);
    }
    const int hi = std::max(e, caret);
    Replace(s, hi, work.substr(std::size_t(s), std::size_t(hi - s)), caret);
    AfterEdit(was);
}

void TCustomMaskEdit::Paste(const std::string& text)
{
    if (ReadOnly()) return;
    const bool was = EditComplete();
    const int n = mask_.Length();
    const int s = SelStart(), e = s + SelLength();
    std::string work = EditText();
    for (int i = s; i < e; ++i)
        if (!mask_.IsLiteral(i)) work[std::size_t(i)] = mask_.Blank();
    int pos = s, hi = e;
    bool refused = false;
    for (char c : text) {
        if (pos < n && mask_.IsLiteral(pos) && c == mask_.Literal(pos)) {
            ++pos;
            continue;
        }
        const int slot = mask_.NextSlot(pos);
        if (slot >= n) break;
        const char a = mask_.Accept(slot, c);
        if (!a) {
            refused = true;
            continue;
        }
        work[std::size_t(slot)] = a;
        pos = slot + 1;
        hi = std::max(hi, pos);
    }
    if (refused) MessageBeep();
    const int caret = std::min(mask_.NextSlot(pos), n);
    Replace(s, hi, work.substr(std::size_t(s), std::size_t(hi - s)), caret);
    AfterEdit(was);
}

void TCustomMaskEdit::Backspace()
{
    if (ReadOnly()) return;
    if (SelLength() > 0) {
        ClearSel();
        return;
    }
    const int p = mask_.PrevSlot(CaretIndex());
    if (p < 0) return;
    Replace(p, p + 1, std::string(1, mask_.Blank()), p);
}

void TCustomMaskEdit::DeleteKey()
{
    if (ReadOnly()) return;
    if (SelLength() > 0) {
        ClearSel();
        return;
    }
    const int caret = CaretIndex();
    const int p = mask_.NextSlot(caret);
    if (p >= mask_.Length()) return;
    Replace(p, p + 1, std::string(1, mask_.Blank()), caret);
}

// Caret moves that skip the literals; false for other keys.
bool TCustomMaskEdit::MoveKey(Word key)
{
    const bool extend = GetKeyState(VK_SHIFT) < 0;
    const int n = mask_.Length(), caret = CaretIndex();
    int target = caret;
    switch (key) {
    case VK_LEFT:
        if (!extend && SelLength() > 0) target = SelStart();
        else if (const int p = mask_.PrevSlot(caret); p >= 0) target = p;
        break;
    case VK_RIGHT:
        if (!extend && SelLength() > 0) target = SelStart() + SelLength();
        else if (caret < n) target = mask_.NextSlot(caret + 1);
        break;
    case VK_HOME: target = std::min(mask_.NextSlot(0), n); break;
    case VK_END: target = n; break;
    default: return false;
    }
    const int anchor = extend ? Anchor() : target;
    Perform(EM_SETSEL, WPARAM(anchor), LPARAM(target));
    return true;
}

void TCustomMaskEdit::DefaultHandler(TMessage& m)
{
    if (!IsMasked()) {
        TCustomEdit::DefaultHandler(m);
        return;
    }
    switch (m.Msg) {
    case WM_CHAR: {
        const char c = char(m.CharCode());
        if ((unsigned char)c < 32) {
            if (c == 8) Backspace();
            else TCustomEdit::DefaultHandler(m);  // clipboard keys, undo
            return;
        }
        TypeChar(c);
        break;
    }
    case WM_KEYDOWN: {
        const Word key = m.CharCode();
        if (key == VK_DELETE && GetKeyState(VK_SHIFT) >= 0) DeleteKey();
        else if (key == VK_ESCAPE && Modified() && !ReadOnly()) Reset();
        else if (!MoveKey(key)) TCustomEdit::DefaultHandler(m);
        return;
    }
    case WM_PASTE:
        if (!ReadOnly() && Clipboard()->HasFormat(CF_TEXT)) {
            const std::string s = Clipboard()->AsText();
            Paste(s.substr(0, s.find_first_of("\r\n")));
        }
        break;
    case WM_CUT:
        if (SelLength() > 0 && !ReadOnly()) {
            Clipboard()->SetAsText(SelText());
            ClearSel();
        }
        break;
    case WM_CLEAR: ClearSel(); break;
    case WM_SETTEXT: {
        // Whatever the window text is set to is fitted to the mask, position for position.
        const char* p = reinterpret_cast<const char*>(m.LParam);
        std::string s = mask_.EmptyText();
        const std::string given = p ? p : "";
        for (int i = 0; i < mask_.Length() && i < int(given.size()); ++i)
            if (!mask_.IsLiteral(i) && given[std::size_t(i)] != mask_.Blank())
                if (const char a = mask_.Accept(i, given[std::size_t(i)])) s[std::size_t(i)] = a;
        TMessage fitted = m;
        fitted.LParam = reinterpret_cast<LPARAM>(s.c_str());
        TCustomEdit::DefaultHandler(fitted);
        m.Result = fitted.Result;
        return;
    }
    default: TCustomEdit::DefaultHandler(m); return;
    }
    TWinControl::DefaultHandler(m);
}

}  // namespace platform
