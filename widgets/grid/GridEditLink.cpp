// Custom cell editors through a link object.
#include "widgets/grid/GridEditLink.h"

#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    if (grid_ && grid_->EditLink == this) grid_->EditLink = nullptr;
    // The pop-up form belongs to the application but serves this link only: it goes too.
    if (popupForm_) {
        popupForm_->OnDeactivate = nullptr;
        popupForm_->Free();
    }
}

void TEditLink::EditKeyDown(TObject*, Word& Key, TShiftState Shift)
{
    bool leaves = false;
    switch (Key) {
    case VK_TAB: leaves = true; break;
    case VK_RETURN: leaves = !WantKeyReturn; break;
    case VK_ESCAPE: leaves = !WantKeyEscape; break;
    case VK_PRIOR: case VK_NEXT: leaves = !WantKeyPriorNext; break;
    case VK_END: leaves = !WantKeyHomeEnd; break;
    case VK_UP: case VK_DOWN: leaves = !WantKeyUpDown; break;
    case VK_LEFT: case VK_RIGHT: leaves = !WantKeyLeftRight; break;
    default: break;
    }
    TExStringGrid* g = grid_;
    if (!leaves || !g || !g->EditActive || g->ActiveEditorType != edCustom) return;
    // A value the grid refuses keeps the editor open.
    if (Key != VK_ESCAPE && !g->CommitEditControl()) {
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) SetEditorValue(g->EditStartText);
    TWinControl* ctl = GetEditControl();
    focusReturn_ = true;
    if (g->CanFocus()) g->SetFocus();
    focusReturn_ = false;
    g->HideInplaceEdit();
    if (Key == VK_RETURN) {
        g->AdvanceEdit(g->Col(), g->Row(), false, true, !(Shift & ssShift), false);
        Key = 0;
    } else if (Key == VK_ESCAPE) Key = 0;
    else {
        if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
            Word k = Key;
            g->KeyDown(k, Shift);
        }
        if (ctl) ctl->SetEnabled(false);
        focusReturn_ = true;
        if (g->CanFocus()) g->SetFocus();
        focusReturn_ = false;
    }
}

void TEditLink::SetFocus(bool Value)
{
    TWinControl* ctl = GetEditControl();
    if (Value && ctl) {
        if (!ctl->Visible()) ctl->Show();
        if (!ctl->Enabled()) ctl->SetEnabled(true);
        if (grid_) {
            grid_->savedLinkProc_ = ctl->WindowProc;
            TExStringGrid* g = grid_;
            ctl->WindowProc = [g](TMessage& m) { g->SubclassProc(m); };
        }
    }
    if (Value && ctl) {
        if (ctl->CanFocus()) ctl->SetFocus();
    } else if (grid_ && grid_->CanFocus()) grid_->SetFocus();
}

void TEditLink::SetRect(TRect ARect)
{
    TWinControl* ctl = GetEditControl();
    if (!ctl) return;
    const int lw = grid_ ? grid_->GridLineWidth() : 0;
    ctl->SetBounds(ARect.Left, ARect.Top, ARect.Width() - lw, ARect.Height() - lw);
}

void TEditLink::SetVisible(bool Value)
{
    if (TWinControl* ctl = GetEditControl()) ctl->SetVisible(Value);
}

void TEditLink::EditExit(TObject*)
{
    if (focusReturn_) return;  // the grid takes the value itself
    HideEditor();
    if (EditStyle == esPopup && popupForm_) {
        DestroyEditor();
        popupForm_->Hide();
    }
}

void TEditLink::FormExit(TObject* Sender)
{
    if (!grid_ || !grid_->EditActive || grid_->ActiveEditorType != edCustom) return;  // the edit already ended
    if (focusReturn_) SetCellValue(GetEditorValue());
    else {
        EditExit(Sender);
        if (grid_) grid_->LinkFormClosed = true;
    }
}

std::string TEditLink::GetCellValue() { return grid_ ? grid_->GetCellEx(grid_->GetRealCol(), grid_->Row()) : std::string(); }

void TEditLink::SetCellValue(const std::string& Value)
{
    if (grid_) grid_->UpdateEditingCell(grid_->GetRealCol(), grid_->Row(), Value);
}

void TEditLink::HideEditor()
{
    // The grid takes the value through its validation as it closes the editor.
    if (grid_) grid_->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::RestoreWinProc()
{
    TWinControl* ctl = GetEditControl();
    if (!ctl || !grid_) return;
    if (grid_->savedLinkProc_) {
        ctl->WindowProc = grid_->savedLinkProc_;
        grid_->savedLinkProc_ = nullptr;
    }
    if (ctl->HandleAllocated()) ctl->Hide();
}

TWinControl* TEditLink::GetParent()
{
    if (EditStyle == esPopup && popupForm_) return popupForm_;
    return grid_;
}

}  // namespace grid
