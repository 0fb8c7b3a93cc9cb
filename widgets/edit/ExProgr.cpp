#include "widgets/edit/ExProgr.h"

#include "widgets/html/VersionText.h"

namespace edit {

using namespace platform;

void TExProgress::SetProBarColor(TColor c)
{
    barColor_ = c;
    SendMessage(Handle(), PBM_SETBARCOLOR, 0, LPARAM(ColorToRGB(c)));
}

void TExProgress::SetProBkColor(TColor c)
{
    bkColor_ = c;
    SendMessage(Handle(), PBM_SETBKCOLOR, 0, LPARAM(ColorToRGB(c)));
}

std::string TExProgress::GetVersion() const { return html::VersionText(GetVersionNr()); }

}  // namespace edit
