// The grid's CSV reader: an accepted file saves with the default separator and loads
// again to the same cells; a refused one (EExGridError) leaves the grid as it was.
#include <cstdlib>

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
        "name,value,note\r\n\"a,b\",\"he said \"\"x\"\"\",\"line1\x0bline2\"\r\n,-3,end\r\n",
        "x,\"a,b;c\"\r\ny,d;e\r\n",
        "1;2;3\n4;5;6\n",
        "a\tb\tc\r\n\"q\"\"\"\t\t\r\n",
        "\"multi\r\nline\",2\r\n3,4",
    };
    const std::string in = dir.File("in.csv"), out = dir.File("out.csv");
    return fuzz::Run("csv", opts, seeds, {}, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::WriteBytes(in, input);
        fuzz::GridOnForm w(2, 2);
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < 2; ++k) w.g->SetCells(c, k, std::string(1, char('a' + c + 2 * k)));
        const std::string before = fuzz::Dump(*w.g);
        try {
            w.g->LoadFromCSV(in);
        } catch (const grid::EExGridError& e) {
            if (fuzz::Dump(*w.g) != before) r.fault = std::string("refused but changed: ") + e.what();
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        if (w.g->Delimiter != 0) r.fault = "the guessed separator was kept";
        w.g->SaveToCSV(out);
        fuzz::GridOnForm back(1, 1);
        back.g->LoadFromCSV(out);
        const std::string x = fuzz::Dump(*w.g), y = fuzz::Dump(*back.g);
        if (x != y) r.fault = "read back different: " + x.substr(0, 200) + " | " + y.substr(0, 200);
        return r;
    });
}
