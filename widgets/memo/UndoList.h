#pragma once
// The editor's undo list: one entry per edit, the newest first; typing, backspaces and
// forward deletes merge into the entry before them.
#include <memory>
#include <string>
#include <vector>

namespace memo {

class TExCustomMemo;

class TUndo {
public:
    TUndo(int beforeX, int beforeY, int afterX, int afterY, std::string text);
    virtual ~TUndo() = default;
    // True when this entry absorbed e (e is then dropped by the list).
    virtual bool Append(TUndo* e);
    virtual void PerformUndo() = 0;
    virtual void PerformRedo() = 0;
    // A copy with the same editor; each list owns its own entries.
    virtual std::unique_ptr<TUndo> Clone() const = 0;
    virtual void SetMemo(TExCustomMemo* memo) { FMemo = memo; }
    void Undo();
    void Redo();

    TExCustomMemo* FMemo = nullptr;
    int FBeforeX, FBeforeY, FAfterX, FAfterY;
    std::string FText;
};

// Typed characters; a carriage return stands for a line break.
class TInsertCharUndo : public TUndo {
public:
    using TUndo::TUndo;
    bool Append(TUndo* e) override;
    void PerformUndo() override;
    void PerformRedo() override;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<TInsertCharUndo>(*this); }
    // Blanks that a new line trimmed from the end of the line it split; undo puts them back.
    int FTrimmed = 0;
};

// Deleted characters; a carriage return stands for a joined line break.
class TDeleteCharUndo : public TUndo {
public:
    TDeleteCharUndo(int beforeX, int beforeY, int afterX, int afterY, std::string text, bool isBackspace);
    bool Append(TUndo* e) override;
    void PerformUndo() override;
    void PerformRedo() override;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<TDeleteCharUndo>(*this); }
    bool FIsBackspace;
};

class TDeleteLineUndo : public TUndo {
public:
    using TUndo::TUndo;
    void PerformUndo() override;
    void PerformRedo() override;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<TDeleteLineUndo>(*this); }
};

// An entry that remembers a selection range, start not after end.
class TSelUndo : public TUndo {
public:
    TSelUndo(int beforeX, int beforeY, int afterX, int afterY, std::string text, int selStartX, int selStartY,
             int selEndX, int selEndY);
    int FSelStartX, FSelStartY, FSelEndX, FSelEndY;
};

// A deleted selection, its lines joined by carriage return and line feed.
class TDeleteBufUndo : public TSelUndo {
public:
    using TSelUndo::TSelUndo;
    void PerformUndo() override;
    void PerformRedo() override;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<TDeleteBufUndo>(*this); }
};

// Inserted text (paste, drop, SelText).
class TPasteUndo : public TUndo {
public:
    using TUndo::TUndo;
    void PerformUndo() override;
    void PerformRedo() override;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<TPasteUndo>(*this); }
};

// Edits made as one command (replace all): undone and redone together.
class TGroupUndo : public TUndo {
public:
    TGroupUndo();
    TGroupUndo(const TGroupUndo& o);
    void PerformUndo() override;
    void PerformRedo() override;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<TGroupUndo>(*this); }
    void SetMemo(TExCustomMemo* memo) override;
    void Add(std::unique_ptr<TUndo> e);
    int Count() const { return int(FItems.size()); }

    std::vector<std::unique_ptr<TUndo>> FItems;  // oldest first
};

class TExUndoList {
public:
    explicit TExUndoList(TExCustomMemo* owner = nullptr);
    ~TExUndoList();
    TExUndoList(const TExUndoList&) = delete;
    TExUndoList& operator=(const TExUndoList&) = delete;

    // 0 when stored; -1 when absorbed by the newest entry or refused while undoing.
    int Add(std::unique_ptr<TUndo> entry);
    void Undo();
    void Redo();
    void Clear();
    void Delete(int index);
    TUndo* Get(int index) const { return entries_[std::size_t(index)].get(); }
    int Count() const { return int(entries_.size()); }
    int Undone() const { return undone_; }
    bool Performing() const { return performing_; }
    bool CanUndo() const { return undone_ < Count(); }
    bool CanRedo() const { return undone_ > 0; }
    int Limit() const { return limit_; }
    // n <= 0 becomes 10, above 100 becomes 100; a new limit clears the list.
    void SetLimit(int n);
    // The editor the entries act on (none while a detached source holds the list).
    TExCustomMemo* Owner() const { return owner_; }
    void SetOwner(TExCustomMemo* memo);
    // Entries added between BeginGroup and the outermost EndGroup become one entry.
    void BeginGroup();
    void EndGroup();

private:
    void Changed();
    std::vector<std::unique_ptr<TUndo>> entries_;  // newest at 0
    TExCustomMemo* owner_;
    int undone_ = 0;
    bool performing_ = false;
    int limit_ = 100;
    int groupDepth_ = 0;
    std::unique_ptr<TGroupUndo> group_;
};

}  // namespace memo
