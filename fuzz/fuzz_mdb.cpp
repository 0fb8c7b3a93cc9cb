// The grid's database reader on damaged copies of tests/widgets/grid/data/hulls.mdb: a
// refused file (EExGridError) leaves the grid as it was and says why. The driver runs in
// its helper process, so a crash there is a refusal; the tally counts them apart.
#include <cstdlib>
#include <cstdio>

#include "FuzzDriver.h"
#include "GridDump.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "Offscreen.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    fuzz::Scratch dir;
    const std::vector<std::string> seeds = {
        fuzz::ReadBytes(std::string(KORVELO_SOURCE_DIR) + "/tests/widgets/grid/data/hulls.mdb")};
    const std::string file = dir.File("in.mdb");
    long crashes = 0;
    const int faults = fuzz::Run("mdb", opts, seeds, {}, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::WriteBytes(file, input);
        fuzz::GridOnForm w(3, 3);
        w.g->SetCells(1, 1, "mine");
        const std::string before = fuzz::Dump(*w.g);
        try {
            w.g->LoadFromMDBTable(file, "Hulls");
        } catch (const grid::EExGridError& e) {
            const std::string why = e.what();
            if (why.find("The database driver crashed") != std::string::npos) ++crashes;
            if (fuzz::Dump(*w.g) != before) r.fault = "refused but changed: " + why;
            else if (why.find(file) == std::string::npos) r.fault = "refused without naming the file: " + why;
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        return r;
    });
    std::printf("mdb:   %ld refused because the driver crashed\n", crashes);
    return faults;
}
