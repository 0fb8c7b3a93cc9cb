#pragma once
// Standard editing commands for action lists, acting on the focused editor.
#include "platform/controls/ActnList.h"

namespace memo {

class TExCustomMemo;

class TExMemoAction : public platform::TAction {
public:
    using platform::TAction::TAction;
    ~TExMemoAction() override;
    // The editor the action is bound to; none serves any focused editor.
    TExCustomMemo* Control() const { return control_; }
    void SetControl(TExCustomMemo* editor);
    // The target as an editor; EInvalidCast for anything else.
    virtual TExCustomMemo* GetControl(platform::TObject* Target);
    bool HandlesTarget(platform::TObject* Target) override;
    void UpdateTarget(platform::TObject* Target) override;  // enabled with a selection
    void Notification(platform::TComponent* c, TOperation op) override;

private:
    TExCustomMemo* control_ = nullptr;
};

#define KORVELO_MEMO_ACTION(Name)                                                \
    class Name : public TExMemoAction {                                          \
    public:                                                                      \
        using TExMemoAction::TExMemoAction;                                      \
        void ExecuteTarget(platform::TObject* Target) override;                  \
        void UpdateTarget(platform::TObject* Target) override;                   \
    };

KORVELO_MEMO_ACTION(TExMemoCut)
KORVELO_MEMO_ACTION(TExMemoCopy)
KORVELO_MEMO_ACTION(TExMemoPaste)
KORVELO_MEMO_ACTION(TExMemoSelectAll)
KORVELO_MEMO_ACTION(TExMemoUndo)
KORVELO_MEMO_ACTION(TExMemoRedo)
// Collapses the selection at the caret; the text stays.
KORVELO_MEMO_ACTION(TExMemoDelete)

#undef KORVELO_MEMO_ACTION

}  // namespace memo
