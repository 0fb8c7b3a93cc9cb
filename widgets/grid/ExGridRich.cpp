// Rich-text cells: RTF moves between a cell and the grid's rich edits, which paint and
// measure it.
#include <algorithm>

#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExRichEdit.h"

namespace grid {

using namespace platform;

namespace {
// A hidden, borderless rich edit of the grid that reports the size its text asks for.
TExRichEdit* NewRichEdit(TExStringGrid* grid)
{
    auto* e = new TExRichEdit(grid);
    e->SetVisible(false);
    e->SetBorderStyle(bsNone);
    e->Perform(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    return e;
}
}  // namespace

// Made on first use: most grids never hold a rich-text cell, and a rich edit with its
// document is the larger part of a new grid.
TExRichEdit* TExStringGrid::RichEdit()
{
    if (!richEdit_ && !destroying_) richEdit_ = NewRichEdit(this);
    return richEdit_;
}

TExRichEdit* TExStringGrid::RichEditor()
{
    if (!richEditor_ && !destroying_) {
        richEditor_ = NewRichEdit(this);
        richEditor_->SetHideSelection(false);
        richEditor_->OnSelectionChange = [this](TObject* Sender) { RichSelChange(Sender); };
    }
    return richEditor_;
}

void TExStringGrid::FreeRichEdits()
{
    // Before the grid goes: losing the focus calls into it.
    delete richEditor_;
    delete richEdit_;
    richEditor_ = richEdit_ = nullptr;
}

void TExStringGrid::RichSelChange(TObject*)
{
    if (OnRichEditSelectionChange) OnRichEditSelectionChange(this);
}

void TExStringGrid::CellToRich(int ACol, int ARow, TCustomRichEdit* ARichEdit)
{
    if (!ARichEdit) return;
    const std::string s = TBaseGrid::GetCellEx(ACol, ARow);
    if (s.empty()) ARichEdit->Clear();
    else if (!ARichEdit->LoadRTF(s)) ARichEdit->SetText(s);  // not RTF: shown as it is
}

std::string TExStringGrid::RichToString(TCustomRichEdit* ARichEdit)
{
    return ARichEdit ? ARichEdit->SaveRTF() : std::string();
}

void TExStringGrid::RichToCell(int ACol, int ARow, TCustomRichEdit* ARichEdit)
{
    TBaseGrid::SetCellEx(ACol, ARow, RichToString(ARichEdit));
}

std::string TExStringGrid::RichCellText(int ACol, int ARow)
{
    TExRichEdit* e = RichEdit();
    CellToRich(ACol, ARow, e);
    return e ? e->PlainText() : std::string();
}

void TExStringGrid::RTFPaint(int ACol, int ARow, TCanvas* Canvas, const TRect& ARect, bool Selected)
{
    TExRichEdit* e = RichEdit();
    if (!e) return;
    CellToRich(ACol, ARow, e);
    const TColor force = Selected && !SelectionRTFKeep ? SelectionTextColor : clNone;
    const TRect r{ARect.Left + XYOffset.X, ARect.Top + XYOffset.Y, ARect.Right - XYOffset.X, ARect.Bottom};
    e->DrawTo(Canvas->Handle(), r, Canvas->Font().Color(), force);
}

TSize TExStringGrid::RichTextSize(int ACol, int ARow, bool WordWrapWidth, int Width)
{
    TExRichEdit* e = RichEdit();
    if (!e) return {0, 0};
    CellToRich(ACol, ARow, e);
    e->SetWordWrap(WordWrapWidth);
    e->SetBounds(0, 0, std::max(1, Width), e->Height());
    e->Perform(EM_REQUESTRESIZE);
    return {e->ReqWidth(), e->ReqHeight()};
}

void TExStringGrid::ShowRichEditor(int ACol, int ARow, const TRect& Box)
{
    TExRichEdit* e = RichEditor();
    if (!e) return;
    e->SetParent(this);
    e->SetBounds(Box.Left, Box.Top, Box.Width(), Box.Height());
    e->Lock();
    CellToRich(ACol, ARow, e);
    e->SelectAll();
    e->SetVisible(true);
    e->SetEnabled(true);
    TRect format{2, 2, std::max(2, Box.Width() - 2), std::max(2, Box.Height() - 2)};
    e->Perform(EM_SETRECT, 0, LPARAM(&format));
    e->SetColor(Color());
    if (e->CanFocus()) e->SetFocus();
    e->Unlock();
}

void TExStringGrid::HideRichEditor(int ACol, int ARow)
{
    TExRichEdit* e = RichEditor();
    if (!e) return;
    RichToCell(ACol, ARow, e);
    e->SetEnabled(false);
    e->SetVisible(false);
}

}  // namespace grid
