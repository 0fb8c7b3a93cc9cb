#pragma once
// The grid's text editor: the characters and pastes a cell's editor type allows, the
// length limit, auto-completion from the grid's lookup list, the keys that commit or
// move, and validation when the focus leaves for another window.
#include <string>

#include "platform/controls/Grids.h"

namespace grid {

class TExStringGrid;

class TExInplaceEdit : public platform::TInplaceEdit {
public:
    explicit TExInplaceEdit(platform::TComponent* AOwner);
    int LengthLimit = 0;  // 0 or less: no limit
    // Right-aligned text (set when the cell is right-justified).
    bool VAlign() const { return vAlign_; }
    void SetVAlign(bool v);
    bool WordWrap = false;
    // Auto-completion may complete the text (off after Backspace and Delete).
    bool LookupArmed = true;

    void UpdateContents() override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyUp(platform::Word& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMKeyDown(platform::TWMKeyDown& m) override;
    void WMChar(platform::TWMChar& m) override;
    void WMPaste(platform::TMessage& m) override;
    void WMCopy(platform::TMessage& m) override;
    void WMCut(platform::TMessage& m) override;
    void WMSetFocus(platform::TWMSetFocus& m) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    void DblClick() override;
    // The character as the editor type lets it in (0: refused); Text and SelStart are the
    // editor's text and caret before it.
    static char FilterKey(int EditorType, char Key, const std::string& Text, int SelStart, char DecimalSep);
    // Whether a pasted result may stand in an editor of that type.
    static bool PasteAccepts(int EditorType, const std::string& NewText);
    // Each word's first letter upper-cased, its others lower-cased.
    static std::string Capitalize(const std::string& s);

private:
    // Validates the text; a refused one gives way to the cell's text (selected or with the
    // caret at its end). True when it was kept.
    bool Commit();
    void Complete();
    // The caret's line is the first (last) of a multi-line text.
    bool OnFirstLine() const;
    bool OnLastLine() const;
    // The start of the line holding pos, and the end (its line break or the text's end).
    int LineStart(int pos) const;
    int LineEnd(int pos) const;
    TExStringGrid* exGrid_ = nullptr;
    bool vAlign_ = false;
    bool skipChar_ = false;  // the character of a Ctrl+Enter that ended the edit
};

}  // namespace grid
