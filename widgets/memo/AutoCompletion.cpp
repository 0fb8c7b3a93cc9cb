// The completion list and the parameter hint.
#include "widgets/memo/AutoCompletion.h"

#include "widgets/memo/ExMemo.h"

namespace memo {

using namespace platform;

TAutoCompletion::TAutoCompletion(TExCustomMemo* memo) : memo_(memo) {}

TAutoCompletion::~TAutoCompletion() = default;

void TAutoCompletion::SetDelay(int ms) { delay_ = ms; }

void TAutoCompletion::SetShowImages(bool v) { showImages_ = v; }

TColor TAutoCompletion::KindColor(int kind) const
{
    switch (kind) {
    case 1: return ColorVar;
    case 2: return ColorProp;
    case 3: return ColorEvent;
    case 4: return ColorMethod;
    case 5: return ColorFunc;
    case 6: return ColorProc;
    default: return ColorIdentifier;
    }
}

std::string CompletionNamePart(const std::string& entry)
{
    const std::size_t blank = entry.find(' ');
    return blank == std::string::npos ? entry : entry.substr(blank + 1);
}

std::string CompletionKey(const std::string& entry)
{
    const std::string name = CompletionNamePart(entry);
    return name.substr(0, name.find_first_of(" (;"));
}

void TExCustomMemo::SetAutoHintParameters(TAutoHintParameters v)
{
    autoHintParameters_ = v;
    HideHint();
}

void TExCustomMemo::SetAutoHintParameterDelay(int ms)
{
    if (ms > 0) autoHintParameterDelay_ = ms;
}

void TExCustomMemo::ShowForm(bool) {}
void TExCustomMemo::HideForm() {}
void TExCustomMemo::Hideauto() {}
bool TExCustomMemo::PrepareShowHint() { return false; }
void TExCustomMemo::HideHint() {}

}  // namespace memo
