// The hull file reader: an accepted file saves and opens again to the same model; a
// refused one leaves the hull as it was.
#include "FuzzDriver.h"
#include "ModelDump.h"
#include "core/Hullform.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::ParseOptions(argc, argv);
    fuzz::Scratch dir;
    const std::vector<std::string> seeds = {fuzz::ReadBytes(KORVELO_SOURCE_DIR "/examples/box-barge.hll"),
                                            fuzz::ReadBytes(KORVELO_SOURCE_DIR "/examples/wigley.hll")};
    const std::vector<std::string> tokens = {
        "<HULL>", "</HULL>", "<HULL_NAME>", "</HULL_NAME>", "<DENSITY>", "</DENSITY>", "<AP>", "<FP>",
        "<FWD_DRAUGHT_MARK>", "<MID_DRAUGHT_MARK>", "<AFT_DRAUGHT_MARK>", "<APPENDAGE_COUNT>", "<APPENDAGE>",
        "</APPENDAGE>", "<APPENDAGE_NAME>", "</APPENDAGE_NAME>", "<ACTIVE>", "<FREE_FLOODING>", "<APPENDAGE_COLOUR>",
        "<SECTION_COUNT>", "<SECTION>", "</SECTION>", "<SECTION_NAME>", "</SECTION_NAME>", "<YCOORD>", "</YCOORD>",
        "<OFFSET_COUNT>", "</OFFSET_COUNT>", "<OFFSETS>", "</OFFSETS>"};
    core::Hullform h(dir.File("hull.log"));
    h.OpenHullFile(KORVELO_SOURCE_DIR "/examples/wigley.hll");
    const std::string in = dir.File("in.hll"), out = dir.File("out.hll");
    return fuzz::Run("hullfile", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::WriteBytes(in, input);
        const std::string before = fuzz::Dump(h);
        if (!h.OpenHullFile(in)) {
            if (fuzz::Dump(h) != before) r.fault = "refused but changed: " + fuzz::FirstDifference(before, fuzz::Dump(h));
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
        const std::string a = fuzz::Dump(h), b = fuzz::Dump(back);
        if (a != b) r.fault = "read back different: " + fuzz::FirstDifference(a, b);
        return r;
    });
}
