// Undo and redo of validated cell edits.
#include "widgets/grid/ExGridUndo.h"

#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace grid {

TExGridUndoRedo::TExGridUndoRedo(TComponent* AOwner) : TComponent(AOwner) {}

TExGridUndoRedo::~TExGridUndoRedo() { SetGrid(nullptr); }

void TExGridUndoRedo::SetGrid(TExStringGrid* g)
{
    if (grid_ == g) return;
    if (grid_) {
        if (grid_->UndoRedo == this) grid_->UndoRedo = nullptr;
        if (!grid_->Destroying()) RemoveFreeNotification(grid_);
    }
    grid_ = g;
    if (grid_) {
        grid_->UndoRedo = this;
        FreeNotification(grid_);
    }
}

void TExGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == grid_) grid_ = nullptr;
}

void TExGridUndoRedo::RegisterChange(int ACol, int ARow, const std::string& OrigValue, const std::string& Value)
{
    // A new change goes behind every item, the undone ones too: they stay in the list, and
    // undoing past the new change passes over them (writing the texts their cells hold).
    if (MaxLevel > 0)
        while (int(items_.size()) >= MaxLevel) items_.erase(items_.begin());
    items_.push_back({ARow, ACol, Value, OrigValue});
    position_ = int(items_.size());
}

void TExGridUndoRedo::Apply(const TUndoRedoItem& item, const std::string& text)
{
    grid_->SetCellsEx(item.Col, item.Row, text);
    const int c = grid_->RemapColInv(item.Col), r = grid_->RemapRow(item.Row);
    if (c >= 0 && c < grid_->ColCount() && r >= 0 && r < grid_->RowCount() && !grid_->IsHiddenRow(item.Row)) {
        grid_->SetCol(c);
        grid_->SetRow(r);
    }
}

void TExGridUndoRedo::Undo()
{
    if (!grid_ || !CanUndo()) return;
    --position_;
    Apply(items_[std::size_t(position_)], items_[std::size_t(position_)].OrigValue);
}

void TExGridUndoRedo::Redo()
{
    if (!grid_ || !CanRedo()) return;
    Apply(items_[std::size_t(position_)], items_[std::size_t(position_)].Value);
    ++position_;
}

void TExGridUndoRedo::Reset()
{
    items_.clear();
    position_ = 0;
}

}  // namespace grid
