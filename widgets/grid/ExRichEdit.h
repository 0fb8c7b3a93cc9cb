#pragma once
// The grid's rich-text control: the hidden one that loads a cell's RTF to measure, paint
// or copy it, and the in-place editor of rich-text cells.
#include "platform/controls/RichEdit.h"

namespace grid {

class TExStringGrid;

class TExRichEdit : public platform::TRichEdit {
public:
    explicit TExRichEdit(TExStringGrid* AOwner);

    // The size the control last asked for its content.
    int ReqWidth() const { return reqWidth_; }
    int ReqHeight() const { return reqHeight_; }

    // Raises (positive, twips) or lowers the selection; 0 puts it back on the base line.
    void SelFormat(int Offset);
    void SelNormal() { SelFormat(0); }
    void SelSubscript() { SelFormat(-40); }
    void SelSuperscript() { SelFormat(40); }
    bool IsSelNormal() { return SelOffset() == 0; }
    bool IsSelSubscript() { return SelOffset() == -40; }
    bool IsSelSuperscript() { return SelOffset() == 40; }

    // While locked the editor does not grow its row.
    void Lock() { locked_ = true; }
    void Unlock() { locked_ = false; }
    bool Locked() const { return locked_; }

    TExStringGrid* Grid() const { return grid_; }

    void CNNotify(platform::TMessage& m) override;
    void KeyDown(platform::Word& Key, platform::TShiftState Shift) override;
    void WMKillFocus(platform::TWMKillFocus& m) override;

private:
    int SelOffset();
    TExStringGrid* grid_;
    int reqWidth_ = 0, reqHeight_ = 0;
    bool locked_ = false;
};

}  // namespace grid
