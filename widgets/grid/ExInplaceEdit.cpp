// The grid's text editor.
#include "widgets/grid/ExInplaceEdit.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/Locale.h"
#include "base/ScopeGuard.h"
#include "base/StringList.h"
#include "platform/system/Beep.h"
#include "platform/system/Clipboard.h"
#include "platform/system/KeyState.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridEditors.h"

using namespace platform;

namespace grid {

namespace {
constexpr LPARAM kKeypad = LPARAM(1) << 22;  // the numeric keypad's key
}

TExInplaceEdit::TExInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner)
{
    exGrid_ = dynamic_cast<TExStringGrid*>(AOwner);
}

void TExInplaceEdit::SetVAlign(bool v)
{
    vAlign_ = v;
    SetAlignment(v ? taRightJustify : taLeftJustify);
}

void TExInplaceEdit::UpdateContents()
{
    if (exGrid_) {
        LengthLimit = exGrid_->MaxEditLength;
        WordWrap = exGrid_->WordWrap();
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        exGrid_->GetCellAlignment(exGrid_->GetRealCol(), exGrid_->Row(), ha, va);
        SetVAlign(ha == taRightJustify);
        SetPasswordChar(exGrid_->ActiveEditorType == edPassword ? exGrid_->PasswordChar : char(0));
        LookupArmed = true;
        // The editor looks like its cell: the cell's brush colour and font.
        TBrush brush;
        brush.SetColor(exGrid_->Color());
        TFont font;
        font.Assign(*exGrid_->Font());
        TColor colorTo = clNone;
        TVAlignment cellVa = vtaTop;
        bool wrap = false;
        TGridDrawState state = 0;
        exGrid_->GetVisualProperties(exGrid_->Col(), exGrid_->Row(), state, false, false, true, brush, colorTo, font, ha,
                                     cellVa, wrap);
        SetColor(brush.Color());
        Font()->Assign(font);
    }
    TInplaceEdit::UpdateContents();
    SetMaxLength(LengthLimit > 0 ? LengthLimit : 0);
}

std::string TExInplaceEdit::Capitalize(const std::string& s)
{
    std::string out = s;
    bool start = true;
    for (char& ch : out) {
        const unsigned char u = (unsigned char)ch;
        if (std::isalpha(u)) {
            ch = char(start ? std::toupper(u) : std::tolower(u));
            start = false;
        } else start = ch == ' ' || ch == '\t' || ch == '\n' || ch == '-';
    }
    return out;
}

char TExInplaceEdit::FilterKey(int EditorType, char Key, const std::string& Text, int SelStart, char DecimalSep)
{
    const unsigned char k = (unsigned char)Key;
    if (k < 32) return Key;  // Backspace and control keys pass
    const bool digit = std::isdigit(k) != 0;
    const bool atStart = SelStart == 0;
    switch (TEditorType(EditorType)) {
    case edNumeric:
        return digit || (Key == '-' && atStart && Text.find('-') == std::string::npos) ? Key : char(0);
    case edPositiveNumeric: return digit ? Key : char(0);
    case edFloat: {
        if (digit) return Key;
        if ((Key == '-' || Key == '+') && (atStart || (SelStart > 0 && (Text[std::size_t(SelStart - 1)] | 0x20) == 'e')))
            return Key;
        if (Key == DecimalSep && Text.find(DecimalSep) == std::string::npos) return Key;
        if ((Key | 0x20) == 'e' && !atStart && Text.find_first_of("eE") == std::string::npos) return Key;
        return 0;
    }
    case edCapital:
    case edUpperCase: return char(std::toupper(k));
    case edLowerCase: return char(std::tolower(k));
    case edMixedCase: {
        const bool wordStart = atStart || Text[std::size_t(SelStart - 1)] == ' ';
        return wordStart ? char(std::toupper(k)) : Key;
    }
    default: return Key;
    }
}

bool TExInplaceEdit::PasteAccepts(int EditorType, const std::string& NewText)
{
    switch (TEditorType(EditorType)) {
    case edNumeric: return IsType(NewText) == TAutoType::atNumeric;
    // No sign in a positive number, pasted or typed.
    case edPositiveNumeric:
        return IsType(NewText) == TAutoType::atNumeric && NewText.find_first_of("-+") == std::string::npos;
    case edFloat: return IsType(NewText) == TAutoType::atNumeric || IsType(NewText) == TAutoType::atFloat;
    default: return true;
    }
}

int TExInplaceEdit::LineStart(int pos) const
{
    if (pos <= 0) return 0;
    const std::size_t p = Text().rfind('\n', std::size_t(pos - 1));
    return p == std::string::npos ? 0 : int(p) + 1;
}

int TExInplaceEdit::LineEnd(int pos) const
{
    const std::string t = Text();
    const std::size_t p = t.find('\n', std::size_t(std::max(0, pos)));
    return p == std::string::npos ? int(t.size()) : int(p);
}

bool TExInplaceEdit::OnFirstLine() const { return LineStart(SelStart()) == 0; }
bool TExInplaceEdit::OnLastLine() const { return LineEnd(SelStart()) == int(Text().size()); }

bool TExInplaceEdit::Commit()
{
    if (!exGrid_) return true;
    if (exGrid_->CommitEdit()) return true;
    if (exGrid_->Navigation.EditSelectAll) SelectAll();
    else SetSelStart(int(Text().size()));
    return false;
}

void TExInplaceEdit::WMKeyDown(TWMKeyDown& m)
{
    if (!exGrid_) {
        TInplaceEdit::WMKeyDown(m);
        return;
    }
    const Word key = m.CharCode();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // Ctrl+Enter ends a multi-line edit as Enter ends a single line.
    if (key == VK_RETURN && ctrl && exGrid_->Navigation.LineFeedOnEnter) {
        skipChar_ = true;
        char k = '\r';
        TInplaceEdit::KeyPress(k);
        m.SetCharCode(0);
        return;
    }
    // Up and Down stay in a multi-line text until its first or last line.
    if ((key == VK_UP && !OnFirstLine()) || (key == VK_DOWN && !OnLastLine())) {
        const int caret = SelStart(), ls = LineStart(caret), column = caret - ls;
        int target;
        if (key == VK_UP) target = std::min(LineStart(ls - 1) + column, ls - 1);
        else {
            const int next = LineEnd(caret) + 1;
            target = std::min(next + column, LineEnd(next));
        }
        SetSelStart(target);
        m.SetCharCode(0);
        return;
    }
    TInplaceEdit::WMKeyDown(m);
}

void TExInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (!exGrid_) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    TExStringGrid* g = exGrid_;
    LookupArmed = !(Key == VK_BACK || Key == VK_DELETE || Key == VK_RETURN || (Key >= VK_LEFT && Key <= VK_DOWN));
    const bool plain = !(Shift & (ssShift | ssCtrl | ssAlt));
    if (Key == VK_RETURN && (Shift & (ssShift | ssCtrl)) && g->SizeWhileTyping.Height && g->Multilinecells) {
        // The row grows to the lines the text will have.
        const std::string t = Text() + "\n ";
        const int lines = int(std::count(t.begin(), t.end(), '\n')) + 1;
        g->SizeToLines(g->Row(), lines, 2 * g->XYOffset.Y);
        if (g->OnEndRowSize) g->OnEndRowSize(g, g->Row());
    }
    // Walking out of the text at its ends moves the edit to the next cell.
    const bool left = Key == VK_LEFT && SelLength() == 0 && SelStart() == 0;
    const bool right = Key == VK_RIGHT && SelLength() == 0 && SelStart() == int(Text().size());
    if (g->Navigation.CursorWalkEditor && plain && (left || right)) {
        const int c = g->Col() + (left ? -1 : 1), r = g->Row();
        const bool inside = left ? c >= g->FixedCols() : c < g->ColCount() - g->FixedRightCols();
        if (inside) {
            if (!Commit()) {
                Key = 0;
                return;
            }
            const TAdvanceDirection keep = g->Navigation.AdvanceDirection;
            g->Navigation.AdvanceDirection = adLeftRight;
            base::ScopeExit back([g, keep] { g->Navigation.AdvanceDirection = keep; });
            g->HideInplaceEdit();
            g->AdvanceEdit(g->Col(), r, true, true, right, false);
        }
        Key = 0;
        return;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

void TExInplaceEdit::Complete()
{
    TExStringGrid* g = exGrid_;
    if (!LookupArmed || SelLength() > 0 || !g->Lookup || g->LookupItems().Count() == 0) return;
    std::vector<std::string> items;
    for (int i = 0; i < g->LookupItems().Count(); ++i) items.push_back(g->LookupItems().Get(i));
    const int caret = SelStart();
    std::string out;
    if (LookupMatch(items, Text().substr(0, std::size_t(caret)), g->LookupCaseSensitive, out) < 0) return;
    if (out == Text()) return;
    SetText(out);
    SetSelStart(caret);
    SetSelLength(int(out.size()) - caret);
}

void TExInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
    if (!exGrid_ || Key == VK_LEFT || Key == VK_RIGHT) return;
    TInplaceEdit::KeyUp(Key, Shift);
    if (!Visible()) return;
    Complete();
    TExStringGrid* g = exGrid_;
    if (g->SizeWhileTyping.Width) {
        // The column widens to the text being typed.
        g->Canvas()->Font().Assign(*Font());
        const int w = g->Canvas()->TextWidth(Text()) + 2 * g->XYOffset.X + 6;
        if (w > g->ColWidths(g->Col())) g->SetColWidths(g->Col(), w);
    }
    if (g->SizeWhileTyping.Height && g->WordWrap()) {
        g->AutoSizeRow(g->Row());
        if (g->OnEndRowSize) g->OnEndRowSize(g, g->Row());
    }
    const int caret = SelStart();
    g->EditProgress(Text(), caret > 0 ? PosFromChar(caret - 1) : TPoint{-1, -1}, caret > 0 ? caret : -1);
    g->SetCellSelectMode(!Text().empty() && Text()[0] == '=');
}

void TExInplaceEdit::WMChar(TWMChar& m)
{
    if (!exGrid_) {
        TInplaceEdit::WMChar(m);
        return;
    }
    if (skipChar_ && (m.CharCode() == '\r' || m.CharCode() == '\n')) {
        skipChar_ = false;
        return;
    }
    skipChar_ = false;
    TExStringGrid* g = exGrid_;
    if (g->ExcelStyleDecimalSeparator && m.CharCode() == '.' && (m.LParam & kKeypad))
        m.SetCharCode(Word((unsigned char)base::FormatSettings().DecimalSeparator));
    const Word ch = m.CharCode();
    if (LengthLimit > 0 && int(Text().size()) >= LengthLimit && SelLength() == 0 && ch != 8 && ch != 27 && ch != 13)
        return;
    const TEditorType t = g->ActiveEditorType;
    const bool plainText = t == edNormal || t == edCapital || t == edMixedCase || t == edLowerCase || t == edUpperCase;
    if (ch == 13 && g->Navigation.LineFeedOnEnter && plainText) {
        SetSelText("\n");  // a line break
        return;
    }
    TInplaceEdit::WMChar(m);
}

void TExInplaceEdit::KeyPress(char& Key)
{
    if (exGrid_ && Key != '\r' && Key != 27 && Key != '\t') {
        const int start = std::min(SelStart(), int(Text().size()));
        // A selection is replaced by the key: judge the text without it.
        std::string rest = Text();
        rest.erase(std::size_t(start), std::size_t(std::max(0, SelLength())));
        const TEditorType t = exGrid_->ActiveEditorType;
        const char in = FilterKey(t, Key, rest, start, base::FormatSettings().DecimalSeparator);
        if (!in) {
            // The whole-number types beep at every refusal, the float type only at a misplaced sign.
            if (t == edNumeric || t == edPositiveNumeric || (t == edFloat && Key == '-')) MessageBeep(0);
            Key = 0;
            return;
        }
        Key = in;
        if (t == edMixedCase && (unsigned char)Key >= 32) {
            char k = Key;
            TInplaceEdit::KeyPress(k);
            if (!k) return;
            SetSelText(std::string(1, k));
            const int caret = SelStart();
            SetText(Capitalize(Text()));
            SetSelStart(caret);
            Key = 0;
            return;
        }
    }
    TInplaceEdit::KeyPress(Key);
}

void TExInplaceEdit::WMPaste(TMessage& m)
{
    TExStringGrid* g = exGrid_;
    if (!g) {
        TInplaceEdit::WMPaste(m);
        return;
    }
    std::string value = Clipboard()->AsText();
    if (value.empty()) return;
    bool allow = true;
    if (g->OnClipboardBeforePasteCell) g->OnClipboardBeforePasteCell(this, g->GetRealCol(), g->Row(), value, allow);
    if (!allow) return;
    const std::string t = Text();
    const int start = std::min(SelStart(), int(t.size())), len = SelLength();
    const std::string now = t.substr(0, std::size_t(start)) + value + t.substr(std::size_t(start + len));
    if (LengthLimit > 0 && int(now.size()) > LengthLimit) return;
    if (g->OnClipboardPaste) g->OnClipboardPaste(this, allow);
    if (!allow) return;
    const TEditorType type = g->ActiveEditorType;
    if (!PasteAccepts(type, now)) return;
    std::string text = now;
    if (type == edMixedCase) text = Capitalize(text);
    else if (type == edLowerCase) std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(std::tolower((unsigned char)c)); });
    else if (type == edUpperCase || type == edCapital)
        std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(std::toupper((unsigned char)c)); });
    SetText(text);
    if (len > 0) {
        SetSelStart(start);
        SetSelLength(int(value.size()));
    } else SetSelStart(start + int(value.size()));
    Change();
}

void TExInplaceEdit::WMCopy(TMessage& m)
{
    bool allow = true;
    if (exGrid_ && exGrid_->OnClipboardCopy) exGrid_->OnClipboardCopy(this, allow);
    if (allow) TInplaceEdit::WMCopy(m);
}

void TExInplaceEdit::WMCut(TMessage& m)
{
    bool allow = true;
    if (exGrid_ && exGrid_->OnClipboardCut) exGrid_->OnClipboardCut(this, allow);
    if (allow) TInplaceEdit::WMCut(m);
}

void TExInplaceEdit::WMSetFocus(TWMSetFocus& m)
{
    TInplaceEdit::WMSetFocus(m);
    if (!exGrid_) return;
    if (!exGrid_->Navigation.EditSelectAll) SetSelStart(int(Text().size()));
    exGrid_->PlaceCaretFromMouse(this);
}

void TExInplaceEdit::WMKillFocus(TWMKillFocus& m)
{
    TExStringGrid* g = exGrid_;
    if (g) {
        g->PendingEditChar = 0;
        const std::string t = Text();
        if (g->LookupHistory && !t.empty() && g->LookupItems().IndexOf(t) < 0) g->LookupItems().Add(t);
        g->SetCellSelectMode(false);
    }
    TInplaceEdit::WMKillFocus(m);
    // Left for another window: the value is judged now, and the editor closes with the
    // cell's text (kept or old) whatever the judgement, also when it raises.
    if (!g || !Visible() || !m.WParam || !g->HandleAllocated() || HWND(m.WParam) == g->Handle()) return;
    auto close = [&] {
        SetText(g->GetEditText(g->Col(), g->Row()));
        g->HideInplaceEdit();
        g->ValidatePending = false;
        g->EditActive = false;
    };
    base::ScopeExit closeAnyway(close);
    g->CommitEdit();
}

void TExInplaceEdit::DblClick()
{
    TInplaceEdit::DblClick();
    if (exGrid_ && exGrid_->OnDblClickCell) exGrid_->OnDblClickCell(exGrid_, exGrid_->Row(), exGrid_->Col());
}

}  // namespace grid
