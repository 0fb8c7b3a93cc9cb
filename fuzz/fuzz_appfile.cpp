// The appendage file reader: an accepted file saves and loads again to the same
// appendage; a refused one leaves the appendage as it was.
#include "RoundTrip.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::ParseOptions(argc, argv);
    fuzz::Scratch dir;
    const std::vector<std::string> seeds = fuzz::ExampleSeeds(
        dir, "seed.app", [](core::Hullform& h, const std::string& file) { h.appendages[0].SaveAppFile(file); });
    const std::vector<std::string> tokens = {"APPENDAGE_NAME", "AP", "FP", "DENSITY", "NUMBER_OF_FRAMES",
                                             "***START_OF_FRAME_INFORMATION***", "FRAME_INDEX: ", "FRAME_NAME",
                                             "FRAME_Y", "NUMBER_OF_COORDINATES", "***START_OF_ORDINATES***",
                                             "***END_OF_ORDINATES***", "***END_OF_FILE***"};
    core::Appendage a;
    a.LoadAppFile(dir.File("seed.app"));
    const std::string in = dir.File("in.app"), out = dir.File("out.app");
    return fuzz::Run("appfile", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::WriteBytes(in, input);
        return fuzz::CheckAppendageRead(a, [&](core::ReadReport* report) { return a.LoadAppFile(in, report); }, out);
    });
}
