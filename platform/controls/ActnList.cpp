#include "platform/controls/ActnList.h"

#include <algorithm>

#include "platform/forms/Forms.h"

namespace platform {

namespace {

TObject* FocusedTarget() { return Screen ? static_cast<TObject*>(Screen->ActiveControl()) : nullptr; }

}  // namespace

bool TBasicAction::Execute()
{
    if (OnExecute) {
        OnExecute(this);
        return true;
    }
    TObject* target = FocusedTarget();
    if (!target || !HandlesTarget(target)) return false;
    ExecuteTarget(target);
    return true;
}

bool TBasicAction::Update()
{
    if (OnUpdate) {
        OnUpdate(this);
        return true;
    }
    TObject* target = FocusedTarget();
    if (!target || !HandlesTarget(target)) return false;
    UpdateTarget(target);
    return true;
}

bool TAction::Execute()
{
    Update();
    return enabled_ && TBasicAction::Execute();
}

void TActionList::UpdateActions()
{
    for (TBasicAction* a : actions_) a->Update();
}

void TActionList::Notification(TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (op == opRemove) actions_.erase(std::remove(actions_.begin(), actions_.end(), c), actions_.end());
}

}  // namespace platform
