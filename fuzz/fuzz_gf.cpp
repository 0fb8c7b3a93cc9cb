// The GF import: an accepted file gives a hull that saves and opens again to the same
// model; a refused one leaves the hull as it was and says why.
#include "FuzzDriver.h"
#include "ModelDump.h"
#include "core/Hullform.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::ParseOptions(argc, argv);
    fuzz::Scratch dir;
    std::vector<std::string> seeds;
    {
        core::Hullform h(dir.File("seed.log"));
        for (const char* example : {"/examples/box-barge.hll", "/examples/wigley.hll"}) {
            h.OpenHullFile(std::string(KORVELO_SOURCE_DIR) + example);
            h.ExportGfFile(dir.File("seed.gf"));
            seeds.push_back(fuzz::ReadBytes(dir.File("seed.gf")));
        }
    }
    const std::vector<std::string> tokens = {"*", "* APP0", "* APP1", "-1", "255"};
    core::Hullform h(dir.File("hull.log"));
    const std::string in = dir.File("in.gf"), out = dir.File("out.hll");
    bool mirror = false;
    return fuzz::Run("gf", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::WriteBytes(in, input);
        h.Clear();
        h.name = "Before";
        const std::string before = fuzz::Dump(h);
        const std::size_t lines = h.log.Lines().size();
        mirror = !mirror;
        if (!h.ImportGfFile(in, mirror)) {
            if (fuzz::Dump(h) != before)
                r.fault = "refused but changed: " + fuzz::FirstDifference(before, fuzz::Dump(h));
            else if (h.log.Lines().size() == lines || h.log.Lines().back().rfind("ERROR: ", 0) != 0)
                r.fault = "refused without a reason";
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        if (!h.SaveHullFile(out)) {
            r.fault = "accepted but not saved: " + h.log.Lines().back();
            return r;
        }
        core::Hullform back(dir.File("back.log"));
        if (!back.OpenHullFile(out)) {
            r.fault = "saved but not opened again: " + back.log.Lines().back();
            return r;
        }
        const std::string x = fuzz::Dump(h), y = fuzz::Dump(back);
        if (x != y) r.fault = "read back different: " + fuzz::FirstDifference(x, y);
        return r;
    });
}
