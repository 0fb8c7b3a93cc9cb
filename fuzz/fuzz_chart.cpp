// The chart's component stream: an accepted stream writes and reads again to the same
// stream; a refused one raises a stream or chart error.
#include <cstdlib>

#include "FuzzDriver.h"
#include "platform/Streaming.h"
#include "platform/TestRig.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartPalettes.h"
#include "Offscreen.h"

namespace {

std::string Write(chart::TChart& c)
{
    platform::TMemoryStream m;
    m.WriteComponent(&c);
    return m.DataString();
}

}  // namespace

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    std::vector<std::string> seeds;
    {
        chart::TChart c;
        c.SetName("Chart1");
        seeds.push_back(Write(c));
        c.PrintMargins[2] = 200;
        c.Zoom.Allow = false;
        c.Zoom.AnimatedSteps = 12;
        chart::TColorPalettes::ApplyPalette(c, 3);
        seeds.push_back(Write(c));
    }
    const std::vector<std::string> tokens = {"TPF0", "\x06TChart", "\x0b" "BorderStyle", "\x09" "AllowZoom",
                                             "\x0c" "AnimatedZoom", "\x11" "AnimatedZoomSteps",
                                             "\x0c" "PrintMargins", "\x09" "BackColor", "\x11" "ColorPaletteIndex",
                                             "\x05" "clRed", "\x08" "bsSingle"};
    return fuzz::Run("chart", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        chart::TChart c;
        try {
            platform::TMemoryStream m(input);
            m.ReadComponent(&c);
        } catch (const platform::EStreamError&) {
            return r;
        } catch (const chart::ChartException&) {
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        const std::string once = Write(c);
        chart::TChart back;
        platform::TMemoryStream m(once);
        m.ReadComponent(&back);
        const std::string twice = Write(back);
        if (once != twice) r.fault = "read back different";
        return r;
    });
}
