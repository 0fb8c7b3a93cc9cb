// Custom cell editors through a link object.
#include "widgets/grid/GridEditLink.h"

#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    if (grid_) grid_->LinkGone(this);
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
    TEditLinkHost* g = grid_;
    if (!leaves || !g || !g->LinkEditing()) return;
    // A value the grid refuses keeps the editor open.
    if (Key != VK_ESCAPE && !g->CommitLinkValue()) {
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) SetEditorValue(g->EditStartText());
    TWinControl* ctl = GetEditControl();
    // The grid takes the focus knowing that it takes the value itself.
    auto focusGrid = [&] {
        focusReturn_ = true;
        g->FocusGrid();
        focusReturn_ = false;
    };
    focusGrid();
    g->CloseEditor();
    if (Key == VK_RETURN) {
        g->AdvanceAfterEdit(!(Shift & ssShift));
        Key = 0;
    } else if (Key == VK_ESCAPE) Key = 0;
    else {
        if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) g->MoveAfterEdit(Key, Shift);
        if (ctl) ctl->SetEnabled(false);
        focusGrid();
    }
}

void TEditLink::SetFocus(bool Value)
{
    TWinControl* ctl = GetEditControl();
    if (Value && ctl) {
        if (!ctl->Visible()) ctl->Show();
        if (!ctl->Enabled()) ctl->SetEnabled(true);
        if (grid_) grid_->HookControl(ctl);
        if (ctl->CanFocus()) ctl->SetFocus();
    } else if (grid_) {
        grid_->FocusGrid();
    }
}

void TEditLink::SetRect(TRect ARect)
{
    TWinControl* ctl = GetEditControl();
    if (!ctl) return;
    const int lw = grid_ ? grid_->LineWidth() : 0;
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
    if (!grid_ || !grid_->LinkEditing()) return;  // the edit already ended
    if (focusReturn_) SetCellValue(GetEditorValue());
    else {
        EditExit(Sender);
        if (grid_) grid_->PopupLeft();
    }
}

std::string TEditLink::GetCellValue() { return grid_ ? grid_->CellValue() : std::string(); }

void TEditLink::SetCellValue(const std::string& Value)
{
    if (grid_) grid_->SetCellValue(Value);
}

void TEditLink::HideEditor()
{
    // The grid takes the value through its validation as it closes the editor.
    if (grid_) grid_->CloseEditor();
    RestoreWinProc();
}

void TEditLink::RestoreWinProc()
{
    TWinControl* ctl = GetEditControl();
    if (!ctl || !grid_) return;
    grid_->UnhookControl(ctl);
    if (ctl->HandleAllocated()) ctl->Hide();
}

TWinControl* TEditLink::GetParent()
{
    if (EditStyle == esPopup && popupForm_) return popupForm_;
    return grid_ ? grid_->Window() : nullptr;
}

// ---------------------------------------------------------------- the grid as host

bool TGridLinkHost::LinkEditing() const { return g_.EditActive && g_.ActiveEditorType == edCustom; }
bool TGridLinkHost::CommitLinkValue() { return g_.CommitEditControl(); }
std::string TGridLinkHost::EditStartText() const { return g_.EditStartText; }

void TGridLinkHost::FocusGrid()
{
    if (g_.CanFocus()) g_.SetFocus();
}

void TGridLinkHost::CloseEditor() { g_.HideInplaceEdit(); }

void TGridLinkHost::AdvanceAfterEdit(bool Forward) { g_.AdvanceEdit(g_.Col(), g_.Row(), false, true, Forward, false); }

void TGridLinkHost::MoveAfterEdit(Word Key, TShiftState Shift) { g_.KeyDown(Key, Shift); }

std::string TGridLinkHost::CellValue() { return g_.GetCellEx(g_.GetRealCol(), g_.Row()); }

void TGridLinkHost::SetCellValue(const std::string& Value) { g_.UpdateEditingCell(g_.GetRealCol(), g_.Row(), Value); }

int TGridLinkHost::LineWidth() const { return g_.GridLineWidth(); }
void TGridLinkHost::PopupLeft() { g_.LinkFormClosed = true; }

void TGridLinkHost::HookControl(TWinControl* Control)
{
    savedProc_ = Control->WindowProc;
    TExStringGrid* g = &g_;
    Control->WindowProc = [g](TMessage& m) { g->SubclassProc(m); };
}

void TGridLinkHost::UnhookControl(TWinControl* Control)
{
    if (!savedProc_) return;
    Control->WindowProc = savedProc_;
    savedProc_ = nullptr;
}

TWinControl* TGridLinkHost::Window() { return &g_; }

void TGridLinkHost::LinkGone(TEditLink* Link)
{
    if (g_.EditLink == Link) g_.EditLink = nullptr;
}

}  // namespace grid
