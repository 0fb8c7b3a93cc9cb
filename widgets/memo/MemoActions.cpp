#include "widgets/memo/MemoActions.h"

#include "base/Exception.h"
#include "platform/system/Clipboard.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"

namespace memo {

using namespace platform;

TExMemoAction::~TExMemoAction()
{
    if (control_) control_->RemoveFreeNotification(this);
}

void TExMemoAction::SetControl(TExCustomMemo* editor)
{
    if (editor == control_) return;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = editor;
    if (editor) editor->FreeNotification(this);
}

TExCustomMemo* TExMemoAction::GetControl(TObject* Target)
{
    auto* m = dynamic_cast<TExCustomMemo*>(Target);
    if (!m) throw base::Exception("Invalid class typecast");
    return m;
}

bool TExMemoAction::HandlesTarget(TObject* Target)
{
    auto* m = dynamic_cast<TExCustomMemo*>(Target);
    if (!m || !m->Focused()) return false;
    return control_ ? m == control_ : true;
}

void TExMemoAction::UpdateTarget(TObject* Target) { SetEnabled(GetControl(Target)->SelLength() > 0); }

void TExMemoAction::Notification(TComponent* c, TOperation op)
{
    TAction::Notification(c, op);
    if (op == opRemove && c && c == static_cast<TComponent*>(control_)) control_ = nullptr;
}

void TExMemoCut::ExecuteTarget(TObject* t) { GetControl(t)->CutToClipBoard(); }
void TExMemoCut::UpdateTarget(TObject* t) { TExMemoAction::UpdateTarget(t); }
void TExMemoCopy::ExecuteTarget(TObject* t) { GetControl(t)->CopyToClipBoard(); }
void TExMemoCopy::UpdateTarget(TObject* t) { TExMemoAction::UpdateTarget(t); }
void TExMemoPaste::ExecuteTarget(TObject* t) { GetControl(t)->PasteFromClipBoard(); }
void TExMemoPaste::UpdateTarget(TObject*) { SetEnabled(Clipboard()->HasFormat(CF_TEXT)); }
void TExMemoSelectAll::ExecuteTarget(TObject* t) { GetControl(t)->SelectAll(); }
void TExMemoSelectAll::UpdateTarget(TObject* t) { SetEnabled(GetControl(t)->Lines()->GetRealCount() > 0); }
void TExMemoUndo::ExecuteTarget(TObject* t) { GetControl(t)->Undo(); }
void TExMemoUndo::UpdateTarget(TObject* t) { SetEnabled(GetControl(t)->CanUndo()); }
void TExMemoRedo::ExecuteTarget(TObject* t) { GetControl(t)->Redo(); }
void TExMemoRedo::UpdateTarget(TObject* t) { SetEnabled(GetControl(t)->CanRedo()); }
void TExMemoDelete::ExecuteTarget(TObject* t) { GetControl(t)->ClearSelection(); }
void TExMemoDelete::UpdateTarget(TObject* t) { TExMemoAction::UpdateTarget(t); }

}  // namespace memo
