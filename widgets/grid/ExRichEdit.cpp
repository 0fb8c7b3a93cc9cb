#include "widgets/grid/ExRichEdit.h"

#include "platform/Messages.h"
#include "widgets/grid/ExGrid.h"

namespace grid {

using namespace platform;

TExRichEdit::TExRichEdit(TExStringGrid* AOwner) : TRichEdit(AOwner), grid_(AOwner) {}

void TExRichEdit::SelFormat(int Offset)
{
    CHARFORMATA cf;
    cf.dwMask = CFM_OFFSET;
    cf.yOffset = Offset;
    Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
}

int TExRichEdit::SelOffset()
{
    CHARFORMATA cf;
    cf.dwMask = CFM_OFFSET;
    Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    return cf.yOffset;
}

void TExRichEdit::CNNotify(TMessage& m)
{
    const NMHDR* h = NMHdrOf(m);
    if (!grid_ || !h || h->code != EN_REQUESTRESIZE) {
        TRichEdit::CNNotify(m);
        return;
    }
    const TRect rc = reinterpret_cast<const REQRESIZE*>(m.LParam)->rc;
    if (this == grid_->richEdit_) {
        reqWidth_ = rc.Right - rc.Left;
        reqHeight_ = rc.Bottom - rc.Top;
    }
    TExRichEdit* editor = grid_->richEditor_;
    if (!editor || !editor->HandleAllocated()) return;
    if (grid_->SizeWhileTyping.Height && this == editor && !locked_) {
        const int H = rc.Bottom - rc.Top, r = grid_->Row();
        const TRect cell = grid_->CellRect(grid_->Col(), r);
        if (grid_->RowHeights(r) < H && cell.Top + H < grid_->Height()) {
            SetHeight(H + 4);
            grid_->SetRowHeights(r, H + 5);
            if (grid_->OnEndRowSize) grid_->OnEndRowSize(grid_, r);
        }
    }
    TRichEdit::CNNotify(m);
}

void TExRichEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TRichEdit::KeyDown(Key, Shift);
    if ((Key == VK_UP || Key == VK_DOWN) && grid_ && !grid_->WordWrap() && !grid_->Multilinecells) {
        const Word key = Key;
        Key = 0;  // the grid moves, not the caret
        grid_->SetFocus();
        grid_->Perform(WM_KEYDOWN, key, 0);
    }
}

void TExRichEdit::WMKillFocus(TWMKillFocus& m)
{
    auto* to = reinterpret_cast<TWinControl*>(m.WParam);
    if (grid_ && grid_->LinkFormClosed) {
        // The focus loss that closing a link's pop-up form brings: the editor stays.
        grid_->LinkFormClosed = false;
    } else if (grid_ && to == grid_) grid_->HideInplaceEdit();
    else if (grid_ && this == grid_->richEditor_) grid_->EditControlExit(this, to);  // elsewhere: as any editor
    TRichEdit::WMKillFocus(m);
}

}  // namespace grid
