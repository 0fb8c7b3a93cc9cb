// The hull file reader: an accepted file saves and opens again to the same model; a
// refused one leaves the hull as it was.
#include "RoundTrip.h"

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
        fuzz::WriteBytes(in, input);
        return fuzz::CheckHullRead(h, [&] { return h.OpenHullFile(in); }, false, dir, out);
    });
}
