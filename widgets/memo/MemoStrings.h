#pragma once
// The editor's line store: one entry per line, with the line's caller object, an
// optional property object, and the longest line kept up to date as lines change.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "widgets/memo/MemoTypes.h"

namespace memo {

class TExCustomMemo;

class TExMemoStrings : public base::TStrings {
public:
    explicit TExMemoStrings(TExCustomMemo* memo = nullptr);
    ~TExMemoStrings() override;
    TExMemoStrings(const TExMemoStrings&) = delete;
    TExMemoStrings& operator=(const TExMemoStrings&) = delete;

    TExCustomMemo* Memo() const { return memo_; }
    void SetMemo(TExCustomMemo* memo) { memo_ = memo; }

    int Count() const override { return int(lines_.size()); }
    const std::string& Get(int index) const override;  // EStringListError outside the range
    void Put(int index, const std::string& s) override;
    void* GetObject(int index) const override;          // nullptr outside the range
    void PutObject(int index, void* obj) override;      // ignored outside the range
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;                    // ignored outside the range
    void Clear() override;
    int Add(const std::string& s) override;

    // Plain list operations, without the editor's side effects (tabs are still expanded
    // by DoInsert when there is an editor).
    int DoAdd(const std::string& s);
    void DoInsert(int index, const std::string& s);
    void DoDelete(int index);
    void DoPut(int index, const std::string& s);
    // Empties the lines but keeps the property objects alive.
    void ClearStrings();

    void Assign(const base::TStrings& source);

    // A line with everything it carries, as word wrap moves lines about.
    struct TWorkLine {
        std::string text;
        void* object = nullptr;
        TLineProp* prop = nullptr;
        bool wrapped = false;  // a word-wrap continuation of the line before
    };
    std::vector<TWorkLine> WorkLines() const;
    bool IsWrapped(int index) const
    {
        return index >= 0 && index < Count() && lines_[std::size_t(index)].wrapped;
    }
    void SetWrapped(int index, bool v);
    // The number of lines above index that are not continuations: the logical number
    // of the line at index. Counted from the nearer of the ends or of the last line asked.
    int UnwrappedBefore(int index) const;
    // Replaces the lines by work lines, inside an update; the property objects stay owned here.
    void AssignEx(std::vector<TWorkLine> lines);
    bool LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);

    // Property objects.
    TLineProp* CreateProp(int index);
    TLineProp* GetLineProp(int index) const;
    void SetLineProp(int index, TLineProp* prop);
    // Stores prop as the line's property object directly (word wrap reattaches them).
    void RestoreObject(int index, TLineProp* prop);
    void ClearLinesProp();
    // Forgets the painter's cached start states of the lines from index on.
    void DropStylesFrom(int index);
    int PropCount() const { return int(linesProp_.size()); }

    // 0 for an empty text or a text of one line break, else Count.
    int GetRealCount() const;
    int LineLength(int index) const { return int(lines_[std::size_t(index)].text.size()); }
    // Length of the longest line, kept as lines change (a count of lines per length).
    int MaxLength() const { return maxLen_; }
    int LockCount() const { return UpdateCount(); }
    bool Deleting() const { return deleting_; }

    // Fired after every change while no update is under way.
    std::function<void()> OnChange;

    // Replaces tabs by the editor's tab size in blanks.
    std::string ExpandTabs(const std::string& s) const;

protected:
    void SetUpdateState(bool updating) override;

private:
    // object is the caller's object when the line has no property object.
    using Line = TWorkLine;
    void Changed();
    void Grew(int length);
    void Shrank(int length);
    void ResetMax();
    void Touched(int index);  // tells the editor that cached styles from index on are stale
    void InsertLine(int index, std::string text);

    TExCustomMemo* memo_;
    std::vector<Line> lines_;
    std::vector<std::unique_ptr<TLineProp>> linesProp_;
    bool deleting_ = false;
    int maxLen_ = 0;
    std::vector<int> lengthCount_ = std::vector<int>(1, 0);  // lines of each length
    int wrappedCount_ = 0;  // continuation lines
    // The last answer of UnwrappedBefore, valid while the lines' order and flags stay.
    mutable int askedIndex_ = -1, askedUnwrapped_ = 0;
};

}  // namespace memo
