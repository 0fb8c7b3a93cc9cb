// The grid's binary stream: an accepted stream saves and loads again to the same cells; a
// refused one (EExGridError, EReadError) leaves the grid as it was.
#include <cstdlib>

#include "FuzzDriver.h"
#include "GridDump.h"
#include "platform/Streaming.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "Offscreen.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    std::vector<std::string> seeds;
    {
        fuzz::GridOnForm s(4, 3);
        s.g->SetCells(0, 0, "name");
        s.g->SetCells(1, 0, "value");
        s.g->SetCells(3, 2, "a\r\nlong line\twith a tab and \"quotes\"");
        s.g->SetCells(2, 1, std::string(300, 'x'));
        seeds.push_back(s.g->SaveToBinStream());
        seeds.push_back(s.g->SaveRectToBinStream(platform::TRect{1, 0, 3, 2}));
        fuzz::GridOnForm e(1, 1);
        seeds.push_back(e.g->SaveToBinStream());
    }
    return fuzz::Run("gridstream", opts, seeds, {}, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::GridOnForm w(3, 3);
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) w.g->SetCells(c, k, std::to_string(c * 10 + k));
        const std::string before = fuzz::Dump(*w.g);
        try {
            w.g->LoadFromBinStream(input);
        } catch (const grid::EExGridError& e) {
            if (fuzz::Dump(*w.g) != before) r.fault = std::string("refused but changed: ") + e.what();
            return r;
        } catch (const platform::EReadError& e) {
            if (fuzz::Dump(*w.g) != before) r.fault = std::string("refused but changed: ") + e.what();
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        const std::string saved = w.g->SaveToBinStream();
        fuzz::GridOnForm back(1, 1);
        back.g->LoadFromBinStream(saved);
        const std::string x = fuzz::Dump(*w.g), y = fuzz::Dump(*back.g);
        if (x != y) r.fault = "read back different: " + x.substr(0, 200) + " | " + y.substr(0, 200);
        return r;
    });
}
