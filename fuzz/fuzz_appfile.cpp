// The appendage file reader: an accepted file saves and loads again to the same
// appendage; a refused one leaves the appendage as it was.
#include "FuzzDriver.h"
#include "ModelDump.h"
#include "core/Hullform.h"
#include "core/ModelText.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::ParseOptions(argc, argv);
    fuzz::Scratch dir;
    std::vector<std::string> seeds;
    {
        core::Hullform h(dir.File("seed.log"));
        for (const char* example : {"/examples/box-barge.hll", "/examples/wigley.hll"}) {
            h.OpenHullFile(std::string(KORVELO_SOURCE_DIR) + example);
            h.appendages[0].SaveAppFile(dir.File("seed.app"));
            seeds.push_back(fuzz::ReadBytes(dir.File("seed.app")));
        }
    }
    const std::vector<std::string> tokens = {"APPENDAGE_NAME", "AP", "FP", "DENSITY", "NUMBER_OF_FRAMES",
                                             "***START_OF_FRAME_INFORMATION***", "FRAME_INDEX: ", "FRAME_NAME",
                                             "FRAME_Y", "NUMBER_OF_COORDINATES", "***START_OF_ORDINATES***",
                                             "***END_OF_ORDINATES***", "***END_OF_FILE***"};
    core::Appendage a;
    a.LoadAppFile(dir.File("seed.app"));
    const std::string in = dir.File("in.app"), out = dir.File("out.app");
    return fuzz::Run("appfile", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::WriteBytes(in, input);
        const std::string before = fuzz::Dump(a, true);
        core::ReadReport report;
        if (!a.LoadAppFile(in, &report)) {
            if (fuzz::Dump(a, true) != before)
                r.fault = "refused but changed: " + fuzz::FirstDifference(before, fuzz::Dump(a, true));
            else if (report.error.empty())
                r.fault = "refused without a reason";
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        if (!a.SaveAppFile(out)) {
            r.fault = "accepted but not saved";
            return r;
        }
        core::Appendage back;
        core::ReadReport again;
        if (!back.LoadAppFile(out, &again)) {
            r.fault = "saved but not loaded again: " + again.error;
            return r;
        }
        const std::string x = fuzz::Dump(a, false), y = fuzz::Dump(back, false);
        if (x != y) r.fault = "read back different: " + fuzz::FirstDifference(x, y);
        return r;
    });
}
