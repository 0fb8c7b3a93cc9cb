// Rich-text cells: RTF moves between a cell and the grid's rich edits, which paint and
// measure it.
#include <algorithm>

#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExRichEdit.h"

namespace grid {

using namespace platform;

void TExStringGrid::CreateRichEdits()
{
    richEdit_ = new TExRichEdit(this);
    richEdit_->SetVisible(false);
    richEdit_->SetBorderStyle(bsNone);
    richEdit_->Perform(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    richEditor_ = new TExRichEdit(this);
    richEditor_->SetVisible(false);
    richEditor_->SetBorderStyle(bsNone);
    richEditor_->SetHideSelection(false);
    richEditor_->Perform(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    richEditor_->OnSelectionChange = [this](TObject* Sender) { RichSelChange(Sender); };
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
    CellToRich(ACol, ARow, richEdit_);
    return richEdit_->PlainText();
}

void TExStringGrid::RTFPaint(int ACol, int ARow, TCanvas* Canvas, const TRect& ARect, bool Selected)
{
    CellToRich(ACol, ARow, richEdit_);
    const TColor force = Selected && !SelectionRTFKeep ? SelectionTextColor : clNone;
    const TRect r{ARect.Left + XYOffset.X, ARect.Top + XYOffset.Y, ARect.Right - XYOffset.X, ARect.Bottom};
    richEdit_->DrawTo(Canvas->Handle(), r, Canvas->Font().Color(), force);
}

TSize TExStringGrid::RichTextSize(int ACol, int ARow, bool WordWrapWidth, int Width)
{
    CellToRich(ACol, ARow, richEdit_);
    richEdit_->SetWordWrap(WordWrapWidth);
    richEdit_->SetBounds(0, 0, std::max(1, Width), richEdit_->Height());
    richEdit_->Perform(EM_REQUESTRESIZE);
    return {richEdit_->ReqWidth(), richEdit_->ReqHeight()};
}

void TExStringGrid::ShowRichEditor(int ACol, int ARow, const TRect& Box)
{
    richEditor_->SetParent(this);
    richEditor_->SetBounds(Box.Left, Box.Top, Box.Width(), Box.Height());
    richEditor_->Lock();
    CellToRich(ACol, ARow, richEditor_);
    richEditor_->SelectAll();
    richEditor_->SetVisible(true);
    richEditor_->SetEnabled(true);
    TRect format{2, 2, std::max(2, Box.Width() - 2), std::max(2, Box.Height() - 2)};
    richEditor_->Perform(EM_SETRECT, 0, LPARAM(&format));
    richEditor_->SetColor(Color());
    if (richEditor_->CanFocus()) richEditor_->SetFocus();
    richEditor_->Unlock();
}

void TExStringGrid::HideRichEditor(int ACol, int ARow)
{
    RichToCell(ACol, ARow, richEditor_);
    richEditor_->SetEnabled(false);
    richEditor_->SetVisible(false);
}

}  // namespace grid
