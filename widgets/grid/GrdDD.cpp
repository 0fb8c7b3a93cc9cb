#include "widgets/grid/GrdDD.h"

#include "platform/system/Clipboard.h"

namespace grid {

namespace {

bool gRTFAware = false;

}  // namespace

void SetRTFAware(bool Value) { gRTFAware = Value; }
bool RTFAware() { return gRTFAware; }

unsigned ColumnFormat()
{
    static const unsigned format = platform::RegisterClipboardFormat("Grid Column");
    return format;
}

platform::HRESULT StartTextDoDragDrop(platform::TWinControl* Window, TGRDDropSource& Source, const std::string& Text,
                                      const std::string& RTF, int OkEffects, int& Effect)
{
    const TSourceDataObject data(Text, -1, RTF);
    return platform::StartDoDragDrop(Window, data, Source, OkEffects, Effect);
}

platform::HRESULT StartColDoDragDrop(platform::TWinControl* Window, TGRDDropSource& Source, int ColIndex,
                                     int OkEffects, int& Effect)
{
    const TSourceDataObject data("", ColIndex, "");
    return platform::StartDoDragDrop(Window, data, Source, OkEffects, Effect);
}

}  // namespace grid
