#pragma once
// A splitter that hands its mouse messages to a partner, so both move together.
#include "platform/controls/Splitter.h"

namespace plot {

class TSyncSplitter : public platform::TSplitter {
public:
    explicit TSyncSplitter(platform::TComponent* AOwner) : platform::TSplitter(AOwner) {}

    TSyncSplitter* Partner() const { return partner_; }
    // One-way: the partner is not told. Raises base::Exception for the splitter itself.
    void SetPartner(TSyncSplitter* Value);

    void Notification(platform::TComponent* AComponent, TOperation Operation) override;
    void WndProc(platform::TMessage& Message) override;

private:
    TSyncSplitter* partner_ = nullptr;
    bool busy_ = false;  // set while the partner makes this splitter handle its message
};

}  // namespace plot
