// The grid's text editor.
#include "widgets/grid/ExInplaceEdit.h"

#include <cctype>

#include "base/Locale.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

TExInplaceEdit::TExInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner)
{
    exGrid_ = dynamic_cast<TExStringGrid*>(AOwner);
}

void TExInplaceEdit::UpdateContents()
{
    if (exGrid_) LengthLimit = exGrid_->MaxEditLength;
    TInplaceEdit::UpdateContents();
    SetMaxLength(LengthLimit > 0 ? LengthLimit : 0);
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

void TExInplaceEdit::KeyPress(char& Key)
{
    if (exGrid_ && Key != '\r' && Key != 27 && Key != '\t') {
        const int start = std::min(SelStart(), int(Text().size()));
        // A selection is replaced by the key: judge the text without it.
        std::string rest = Text();
        rest.erase(std::size_t(start), std::size_t(std::max(0, SelLength())));
        Key = FilterKey(exGrid_->ActiveEditorType, Key, rest, start, base::FormatSettings().DecimalSeparator);
        if (!Key) return;
    }
    TInplaceEdit::KeyPress(Key);
}

void TExInplaceEdit::WMKillFocus(TWMKillFocus& m)
{
    TInplaceEdit::WMKillFocus(m);
    // Left for another window: the value is validated now.
    if (exGrid_ && Visible() && m.WParam && exGrid_->HandleAllocated() && HWND(m.WParam) != exGrid_->Handle())
        exGrid_->CommitEdit();
}

}  // namespace grid
