#include "widgets/edit/ExEdDD.h"

namespace edit {

namespace {

bool gRTFAware = false;

}  // namespace

void SetRTFAware(bool on) { gRTFAware = on; }
bool RTFAware() { return gRTFAware; }

int StandardEffect(unsigned keys) { return platform::StandardEffect(keys, DROPEFFECT_COPY | DROPEFFECT_MOVE); }

HRESULT StartTextDoDragDrop(platform::TWinControl* source, const std::string& text, const std::string& rtf,
                            int allowed, int& effect)
{
    TSourceDataObject data(text, rtf);
    TAEDropSource dropSource;
    return platform::StartDoDragDrop(source, data, dropSource, allowed, effect);
}

}  // namespace edit
