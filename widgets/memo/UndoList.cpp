#include "widgets/memo/UndoList.h"

#include <iterator>

#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "base/ScopeGuard.h"

namespace memo {

TUndo::TUndo(int beforeX, int beforeY, int afterX, int afterY, std::string text)
    : FBeforeX(beforeX), FBeforeY(beforeY), FAfterX(afterX), FAfterY(afterY), FText(std::move(text))
{
}

bool TUndo::Append(TUndo*) { return false; }

namespace {

// To another line through column 0, so the old column pads no shorter line with blanks.
void MoveCaret(TExCustomMemo* m, int x, int y)
{
    if (y != m->CurY()) m->SetCurX(0);
    m->SetCurY(y);
    m->SetCurX(x);
}

}  // namespace

void TUndo::Undo()
{
    if (!FMemo) return;
    MoveCaret(FMemo, FAfterX, FAfterY);
    PerformUndo();
    MoveCaret(FMemo, FBeforeX, FBeforeY);
}

void TUndo::Redo()
{
    if (!FMemo) return;
    MoveCaret(FMemo, FBeforeX, FBeforeY);
    PerformRedo();
    MoveCaret(FMemo, FAfterX, FAfterY);
}

bool TInsertCharUndo::Append(TUndo* e)
{
    auto* i = dynamic_cast<TInsertCharUndo*>(e);
    if (!i || i->FBeforeX != FAfterX || i->FBeforeY != FAfterY || i->FTrimmed > 0) return false;
    FText += i->FText;
    FAfterX = i->FAfterX;
    FAfterY = i->FAfterY;
    return true;
}

void TInsertCharUndo::PerformUndo()
{
    for (auto it = FText.rbegin(); it != FText.rend(); ++it) {
        const std::string line = FMemo->Lines()->Count() > FMemo->CurY() ? FMemo->Lines()->Get(FMemo->CurY()) : "";
        const int x = FMemo->CurX();
        if (*it == '\r' && x == 0) {
            FMemo->BackSpace();
            if (FTrimmed > 0 && std::next(it) == FText.rend())
                FMemo->InsertTextAtXY(std::string(std::size_t(FTrimmed), ' '), FMemo->CurX(), FMemo->CurY());
        }
        else if (x > 0 && x <= int(line.size()) && line[std::size_t(x - 1)] == *it)
            FMemo->BackSpace();
    }
}

void TInsertCharUndo::PerformRedo()
{
    for (char c : FText) {
        if (c == '\r')
            FMemo->NewLine();
        else
            FMemo->InsertChar(c);
    }
}

TDeleteCharUndo::TDeleteCharUndo(int beforeX, int beforeY, int afterX, int afterY, std::string text, bool isBackspace)
    : TUndo(beforeX, beforeY, afterX, afterY, std::move(text)), FIsBackspace(isBackspace)
{
}

bool TDeleteCharUndo::Append(TUndo* e)
{
    auto* d = dynamic_cast<TDeleteCharUndo*>(e);
    if (!d || d->FBeforeX != FAfterX || d->FBeforeY != FAfterY || d->FIsBackspace != FIsBackspace) return false;
    FText = d->FText + FText;
    FAfterX = d->FAfterX;
    FAfterY = d->FAfterY;
    return true;
}

void TDeleteCharUndo::PerformUndo()
{
    for (char c : FText) {
        if (!FIsBackspace) {
            FMemo->SetCurY(FBeforeY);
            FMemo->SetCurX(FBeforeX);
        }
        if (c == '\r')
            FMemo->NewLine();
        else
            FMemo->InsertChar(c);
    }
}

void TDeleteCharUndo::PerformRedo()
{
    for (std::size_t i = 0; i < FText.size(); ++i) {
        if (FIsBackspace)
            FMemo->BackSpace();
        else
            FMemo->DeleteChar(-1, 0);
    }
}

void TDeleteLineUndo::PerformUndo()
{
    FMemo->ClearSelection();
    TExMemoStrings* lines = FMemo->Lines();
    if (FBeforeY < lines->Count()) {
        // A store left as one empty line takes the text back in that line.
        if (lines->Count() == 1 && lines->Get(0).empty())
            lines->DoPut(0, FText);
        else
            lines->DoInsert(FBeforeY, FText);
    } else {
        lines->DoAdd(FText);
    }
    FMemo->LinesChanged();
}

void TDeleteLineUndo::PerformRedo() { FMemo->DeleteLine(); }

TSelUndo::TSelUndo(int beforeX, int beforeY, int afterX, int afterY, std::string text, int selStartX, int selStartY,
                   int selEndX, int selEndY)
    : TUndo(beforeX, beforeY, afterX, afterY, std::move(text)),
      FSelStartX(selStartX), FSelStartY(selStartY), FSelEndX(selEndX), FSelEndY(selEndY)
{
}

void TDeleteBufUndo::PerformUndo()
{
    FMemo->ClearSelection();
    FMemo->InsertText(FText);
    if (FMemo->CanFocus()) FMemo->SetFocus();
    FMemo->SetSelection(FSelStartX, FSelStartY, FSelEndX, FSelEndY);
}

void TDeleteBufUndo::PerformRedo()
{
    FMemo->SetSelection(FSelStartX, FSelStartY, FSelEndX, FSelEndY);
    FMemo->DeleteSelection();
}

void TPasteUndo::PerformUndo()
{
    FMemo->SetSelection(FBeforeX, FBeforeY, FAfterX, FAfterY);
    FMemo->DeleteSelection();
}

void TPasteUndo::PerformRedo()
{
    FMemo->ClearSelection();
    FMemo->InsertText(FText);
}

TGroupUndo::TGroupUndo() : TUndo(0, 0, 0, 0, {}) {}

TGroupUndo::TGroupUndo(const TGroupUndo& o) : TUndo(o)
{
    for (const auto& e : o.FItems) FItems.push_back(e->Clone());
}

void TGroupUndo::SetMemo(TExCustomMemo* memo)
{
    FMemo = memo;
    for (auto& e : FItems) e->SetMemo(memo);
}

void TGroupUndo::Add(std::unique_ptr<TUndo> e)
{
    if (FItems.empty()) {
        FBeforeX = e->FBeforeX;
        FBeforeY = e->FBeforeY;
    }
    FAfterX = e->FAfterX;
    FAfterY = e->FAfterY;
    e->SetMemo(FMemo);
    FItems.push_back(std::move(e));
}

void TGroupUndo::PerformUndo()
{
    for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) (*it)->Undo();
}

void TGroupUndo::PerformRedo()
{
    for (auto& e : FItems) e->Redo();
}

// ---------------------------------------------------------------- the list

TExUndoList::TExUndoList(TExCustomMemo* owner) : owner_(owner) {}

TExUndoList::~TExUndoList() = default;

void TExUndoList::Changed()
{
    if (owner_ && !owner_->Destroying()) owner_->UndoChange();
}

int TExUndoList::Add(std::unique_ptr<TUndo> entry)
{
    if (!entry || performing_) return -1;
    if (group_) {
        group_->Add(std::move(entry));
        return 0;
    }
    if (undone_ == 0 && !entries_.empty() && entries_[0]->Append(entry.get())) return -1;
    entry->SetMemo(owner_);
    entries_.erase(entries_.begin(), entries_.begin() + undone_);
    undone_ = 0;
    entries_.insert(entries_.begin(), std::move(entry));
    if (Count() > limit_) entries_.pop_back();
    Changed();
    return 0;
}

namespace {

// Undo and redo run without auto-indent and in insert mode, and record nothing.
template <class Fn>
void RunPerforming(TExCustomMemo* memo, bool& flag, Fn&& fn)
{
    const bool indent = memo ? memo->AutoIndent : false;
    if (memo) memo->AutoIndent = false;
    flag = true;
    base::ScopeExit restore([&] {
        flag = false;
        if (memo) memo->AutoIndent = indent;
    });
    fn();
}

}  // namespace

void TExUndoList::Undo()
{
    if (undone_ >= Count()) return;
    RunPerforming(owner_, performing_, [&] { entries_[std::size_t(undone_)]->Undo(); });
    ++undone_;
    Changed();
}

void TExUndoList::Redo()
{
    if (undone_ <= 0) return;
    --undone_;
    RunPerforming(owner_, performing_, [&] { entries_[std::size_t(undone_)]->Redo(); });
    Changed();
}

void TExUndoList::Clear()
{
    entries_.clear();
    undone_ = 0;
    Changed();
}

void TExUndoList::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    entries_.erase(entries_.begin() + index);
    if (undone_ > Count()) undone_ = Count();
}

void TExUndoList::SetOwner(TExCustomMemo* memo)
{
    owner_ = memo;
    for (auto& e : entries_) e->SetMemo(memo);
}

void TExUndoList::BeginGroup()
{
    if (groupDepth_++ == 0) {
        group_ = std::make_unique<TGroupUndo>();
        group_->SetMemo(owner_);
    }
}

void TExUndoList::EndGroup()
{
    if (groupDepth_ == 0 || --groupDepth_ > 0) return;
    std::unique_ptr<TGroupUndo> g = std::move(group_);
    if (g->Count() == 1)
        Add(std::move(g->FItems.front()));
    else if (g->Count() > 1)
        Add(std::move(g));
}

void TExUndoList::SetLimit(int n)
{
    if (n == limit_) return;
    if (n <= 0) n = 10;
    if (n > 100) n = 100;
    limit_ = n;
    Clear();
}

}  // namespace memo
