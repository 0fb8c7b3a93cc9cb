#pragma once
// The grid's text editor: the characters a cell's editor type allows, the length limit,
// and validation when the focus leaves for another window.
#include "platform/controls/Grids.h"

namespace grid {

class TExStringGrid;

class TExInplaceEdit : public platform::TInplaceEdit {
public:
    explicit TExInplaceEdit(platform::TComponent* AOwner);
    int LengthLimit = 0;  // 0 or less: no limit
    void UpdateContents() override;
    void KeyPress(char& Key) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;
    // The character as the editor type lets it in (0: refused); Text and SelStart are the
    // editor's text and caret before it.
    static char FilterKey(int EditorType, char Key, const std::string& Text, int SelStart, char DecimalSep);

private:
    TExStringGrid* exGrid_ = nullptr;
};

}  // namespace grid
