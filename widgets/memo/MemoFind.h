#pragma once
// Find and replace dialogs bound to an editor.
#include <memory>
#include <string>

#include "platform/Classes.h"
#include "platform/forms/FindDialog.h"

namespace memo {

class TExCustomMemo;

class TExMemoFindDialog : public platform::TComponent {
public:
    explicit TExMemoFindDialog(platform::TComponent* owner = nullptr);
    ~TExMemoFindDialog() override;

    // A format text that receives the search text.
    std::string NotFoundMessage = "Finished searching the document. The search item was not found.";
    bool DisplayMessage = true;
    // Reading gives the dialog's current search text; writing stores the text Execute puts in.
    std::string FindText() const;
    void SetFindText(const std::string& s) { findText_ = s; }
    TExCustomMemo* ExMemo() const { return memo_; }
    void SetExMemo(TExCustomMemo* m);
    platform::TFindOptions GetFindOptions() const;
    platform::TNotifyEvent OnFindDone;

    bool Execute();  // "No memo assigned." without an editor
    platform::TFindDialog* Dialog() const { return dialog_; }
    void Notification(platform::TComponent* c, TOperation op) override;

protected:
    TExMemoFindDialog(platform::TComponent* owner, platform::TFindDialog* dialog);
    void Find();
    void Close();
    void NotFound();  // the message, when it is to be shown
    virtual void Done();

    platform::TFindDialog* dialog_;
    TExCustomMemo* memo_ = nullptr;
    std::string findText_;
};

class TExMemoFindReplaceDialog : public TExMemoFindDialog {
public:
    explicit TExMemoFindReplaceDialog(platform::TComponent* owner = nullptr);

    std::string ReplaceText() const;
    void SetReplaceText(const std::string& s) { replaceText_ = s; }
    platform::TNotifyEvent OnReplaceDone;
    bool Execute();

protected:
    void Replace();
    void Done() override;
    std::string replaceText_;
};

// 1-based position of the last occurrence of pattern in s, overlapping ones included;
// 0 when there is none.
int LastOccurrence(const std::string& pattern, const std::string& s);

}  // namespace memo
