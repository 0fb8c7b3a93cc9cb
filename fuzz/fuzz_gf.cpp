// The GF import: an accepted file gives a hull that saves and opens again to the same
// model; a refused one leaves the hull as it was and says why.
#include "RoundTrip.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::ParseOptions(argc, argv);
    fuzz::Scratch dir;
    const std::vector<std::string> seeds = fuzz::ExampleSeeds(
        dir, "seed.gf", [](core::Hullform& h, const std::string& file) { h.ExportGfFile(file); });
    const std::vector<std::string> tokens = {"*", "* APP0", "* APP1", "-1", "255"};
    core::Hullform h(dir.File("hull.log"));
    const std::string in = dir.File("in.gf"), out = dir.File("out.hll");
    bool mirror = false;
    return fuzz::Run("gf", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::WriteBytes(in, input);
        h.Clear();
        h.name = "Before";
        mirror = !mirror;
        return fuzz::CheckHullRead(h, [&] { return h.ImportGfFile(in, mirror); }, true, dir, out);
    });
}
