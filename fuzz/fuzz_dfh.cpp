// The DFH reader: accepted data saves as an appendage file and loads again to the same
// frames; a refused file leaves the appendage as it was.
#include "FuzzDriver.h"
#include "ModelDump.h"
#include "core/Hullform.h"
#include "core/ModelText.h"

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
        fuzz::Result r;
        fuzz::WriteBytes(in, input);
        const std::string before = fuzz::Dump(a, true);
        core::ReadReport report;
        if (!a.ReadDfhData(in, &report)) {
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
