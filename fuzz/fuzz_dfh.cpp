// The DFH reader: accepted data saves as an appendage file and loads again to the same
// frames; a refused file leaves the appendage as it was.
#include "RoundTrip.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::ParseOptions(argc, argv);
    fuzz::Scratch dir;
    const std::vector<std::string> seeds = {
        "Barge 30 m\r\n3, 0\r\n0, 3\r\n0, 0\r\n5000, 0\r\n5000, 4000\r\n15000, 3\r\n0, 0\r\n5000, 0\r\n5000, "
        "4000\r\n30000, 3\r\n0, 0\r\n5000, 0\r\n5000, 4000\r\n",
        "Keel\n2 1\n-1000 2\n0 -500\n200 0\n1000 1\n0 -600\n",
    };
    core::Appendage a;
    const std::string in = dir.File("in.dfh"), out = dir.File("out.app");
    return fuzz::Run("dfh", opts, seeds, {","}, [&](const std::string& input) {
        fuzz::WriteBytes(in, input);
        return fuzz::CheckAppendageRead(a, [&](core::ReadReport* report) { return a.ReadDfhData(in, report); }, out);
    });
}
