#pragma once
// A progress bar in chosen bar and background colours.
#include <cstdint>
#include <string>

#include "platform/controls/ComCtrls.h"

namespace edit {

class TExProgress : public platform::TProgressBar {
public:
    explicit TExProgress(platform::TComponent* AOwner) : TProgressBar(AOwner) {}

    platform::TColor BarColor() const { return barColor_; }
    // Stores the colour and hands its RGB value, as it is now, to the bar.
    void SetProBarColor(platform::TColor c);
    platform::TColor BkColor() const { return bkColor_; }
    void SetProBkColor(platform::TColor c);
    virtual std::uint32_t GetVersionNr() const { return 0x01020000; }
    std::string GetVersion() const;

private:
    platform::TColor barColor_ = platform::clHighlight, bkColor_ = platform::clWindow;
};

}  // namespace edit
