#pragma once
// Actions: commands that find their target (the focused control) and keep their enabled
// state current, gathered in action lists.
#include <string>
#include <vector>

#include "platform/Classes.h"

namespace platform {

class TBasicAction : public TComponent {
public:
    using TComponent::TComponent;
    TNotifyEvent OnExecute, OnUpdate;
    virtual bool HandlesTarget(TObject* Target) { (void)Target; return false; }
    virtual void UpdateTarget(TObject* Target) { (void)Target; }
    virtual void ExecuteTarget(TObject* Target) { (void)Target; }
    // OnExecute when assigned, else ExecuteTarget on the focused control when this action
    // handles it; true when something ran.
    virtual bool Execute();
    // The same with OnUpdate and UpdateTarget.
    virtual bool Update();
};

class TAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    std::string Caption, Hint;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool Checked = false;
    bool Execute() override;  // nothing while disabled

private:
    bool enabled_ = true;
};

// Actions, not owned; UpdateActions runs Update on each.
class TActionList : public TComponent {
public:
    using TComponent::TComponent;
    void Add(TBasicAction* a)
    {
        actions_.push_back(a);
        a->FreeNotification(this);
    }
    int ActionCount() const { return int(actions_.size()); }
    TBasicAction* Actions(int i) const { return actions_[std::size_t(i)]; }
    void UpdateActions();
    void Notification(TComponent* c, TOperation op) override;

private:
    std::vector<TBasicAction*> actions_;
};

}  // namespace platform
