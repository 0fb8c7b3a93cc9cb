#pragma once
// Undo and redo of validated cell edits. Changes are kept on real column and row indices,
// so hiding rows or columns does not send them to other cells; a new change drops the
// changes that were undone.
#include <string>
#include <vector>

#include "platform/Classes.h"

namespace grid {

class TExStringGrid;

struct TUndoRedoItem {
    int Row = 0, Col = 0;  // real indices
    std::string Value, OrigValue;
};

class TExGridUndoRedo : public platform::TComponent {
public:
    explicit TExGridUndoRedo(platform::TComponent* AOwner);
    ~TExGridUndoRedo() override;
    int MaxLevel = 0;  // most items kept; 0: no limit
    TExStringGrid* Grid() const { return grid_; }
    // Attaches to g (nullptr detaches); the grid then registers every validated edit.
    void SetGrid(TExStringGrid* g);
    virtual void RegisterChange(int ACol, int ARow, const std::string& OrigValue, const std::string& Value);
    void Undo();
    void Redo();
    bool CanUndo() const { return position_ > 0 && position_ <= int(items_.size()); }
    bool CanRedo() const { return position_ < int(items_.size()); }
    void Reset();
    int Count() const { return int(items_.size()); }
    int Position() const { return position_; }
    const TUndoRedoItem& Items(int i) const { return items_[std::size_t(i)]; }
    void Notification(platform::TComponent* AComponent, TOperation Operation) override;

private:
    void Apply(const TUndoRedoItem& item, const std::string& text);
    std::vector<TUndoRedoItem> items_;
    int position_ = 0;
    TExStringGrid* grid_ = nullptr;
};

}  // namespace grid
