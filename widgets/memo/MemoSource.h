#pragma once
// Documents that live apart from an editor, the editor's styler list, and line checkers.
#include "widgets/memo/ExMemo.h"

namespace memo {

// Lines, styler, undo list, read-only flag, view state and bookmarks of one document,
// shown by at most one editor at a time.
class TExMemoSource : public platform::TComponent {
public:
    explicit TExMemoSource(platform::TComponent* owner = nullptr);
    ~TExMemoSource() override;

    TExCustomMemo* Memo() const { return memo_; }
    void SetMemo(TExCustomMemo* editor);
    TExMemoStrings* Lines() const { return lines_.get(); }
    void SetLines(const base::TStrings& strings);
    TExCustomMemoStyler* SyntaxStyler() const { return styler_; }
    void SetSyntaxStyler(TExCustomMemoStyler* s);
    TExUndoList* UndoList() const { return undo_.get(); }
    // Takes copies of the list's entries, oldest first, through the undo list's Add.
    void SetUndoList(const TExUndoList& list);
    bool Modified() const;
    void SetModified(bool v);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    const TExMemoSavePos& SavedState() const { return state_; }
    const std::vector<int>& SavedBookmarks() const { return bookmarks_; }

    void Notification(platform::TComponent* c, TOperation op) override;

private:
    void Unlink();
    std::unique_ptr<TExMemoStrings> lines_;
    std::unique_ptr<TExUndoList> undo_;
    TExCustomMemoStyler* styler_ = nullptr;
    TExCustomMemo* memo_ = nullptr;
    bool readOnly_ = false;
    bool modified_ = false;
    TExMemoSavePos state_;
    std::vector<int> bookmarks_;
};

// The styler components beside the editor, not owned.
class TExStylerList : public platform::TComponent {
public:
    using platform::TComponent::TComponent;
    std::vector<TExCustomMemoStyler*>& Stylers() { return stylers_; }
    void Notification(platform::TComponent* c, TOperation op) override;

private:
    std::vector<TExCustomMemoStyler*> stylers_;
};

enum TAutoCorrectType { acNone, acLineCorrect, acLineCheck, acWordCorrect, acWordCheck };

// Hooks the editor calls when Enter, Tab or Space is typed.
class TExMemoChecker : public platform::TComponent {
public:
    using platform::TComponent::TComponent;
    ~TExMemoChecker() override;
    TExCustomMemo* Memo() const { return memo_; }
    void SetMemo(TExCustomMemo* m) { memo_ = m; }
    TAutoCorrectType AutoCorrectType = acNone;

    virtual void CheckLine(int lineNumber);  // clears the line's error marks
    virtual void CheckWord(int lineNumber, int column, const std::string& word);
    virtual void CorrectLine(int lineNumber);
    virtual void CorrectWord(int lineNumber, int column, std::string& word);
    // Every line from 0 up; EInvalidOperation without an editor.
    void CheckAllLines();
    void CorrectAllLines();
    // s with the first exact occurrence of oldPattern replaced by newPattern.
    static std::string ReplaceOnce(const std::string& s, const std::string& oldPattern,
                                   const std::string& newPattern);

private:
    TExCustomMemo* memo_ = nullptr;
};

// Capitalises the start of every sentence.
class TExMemoCapitalChecker : public TExMemoChecker {
public:
    explicit TExMemoCapitalChecker(platform::TComponent* owner = nullptr);
    void CorrectLine(int lineNumber) override;
};

}  // namespace memo
