#include "widgets/plot/SyncSplitter.h"

#include "base/Exception.h"
#include "base/ScopeGuard.h"

namespace plot {

using namespace platform;

void TSyncSplitter::SetPartner(TSyncSplitter* Value)
{
    if (Value == this) throw base::Exception("TSyncSplitter.SetPartner: cannot set Partner to Self!");
    if (partner_ == Value) return;
    // Free notification keeps the reference from outliving the partner, whoever owns it.
    if (partner_ && partner_->partner_ != this) RemoveFreeNotification(partner_);
    partner_ = Value;
    if (partner_) FreeNotification(partner_);
}

void TSyncSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == partner_) partner_ = nullptr;
    TSplitter::Notification(AComponent, Operation);
}

void TSyncSplitter::WndProc(TMessage& Message)
{
    if (partner_ && !busy_ && Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MOUSEWHEEL) {
        TSyncSplitter* p = partner_;
        p->busy_ = true;
        base::ScopeExit restore([&] { p->busy_ = false; });
        TMessage copy{Message.Msg, Message.WParam, Message.LParam, 0};
        p->WndProc(copy);
    }
    TSplitter::WndProc(Message);
}

}  // namespace plot
