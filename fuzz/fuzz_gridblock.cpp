// A block of cells on the clipboard in the grid's own format, pasted at (1,1): a refused
// block leaves the grid as it was; an accepted one copies and pastes again to the same cells.
// A copy leaves empty cells out, so it is pasted where the block's cells were cleared: a
// record of an empty cell clears its target too.
#include <algorithm>
#include <cstdlib>

#include "FuzzDriver.h"
#include "GridDump.h"
#include "platform/Streaming.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "Offscreen.h"

namespace {

void Prepare(grid::TExStringGrid& g)
{
    g.Navigation.AllowFmtClipboard = true;
    g.Navigation.AllowClipboardAlways = true;
    g.Navigation.AllowClipboardColGrow = true;
    g.Navigation.AllowClipboardRowGrow = true;
}

void Fill(grid::TExStringGrid& g)
{
    for (int c = 0; c < g.ColCount(); ++c)
        for (int k = 0; k < g.RowCount(); ++k) g.SetCells(c, k, std::to_string(c * 10 + k));
}

}  // namespace

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    std::vector<std::string> seeds;
    {
        fuzz::GridOnForm s(4, 4);
        s.g->SetCells(0, 0, "a");
        s.g->SetCells(1, 1, "b\r\nc");
        s.g->SetCells(2, 0, std::string(200, 'q'));
        seeds.push_back(s.g->SaveRectToBinStream(platform::TRect{0, 0, 1, 1}));
        seeds.push_back(s.g->SaveRectToBinStream(platform::TRect{0, 0, 3, 3}));
        seeds.push_back(s.g->SaveRectToBinStream(platform::TRect{2, 0, 2, 0}));
    }
    const unsigned format = grid::TExStringGrid::CellsClipboardFormat();
    return fuzz::Run("gridblock", opts, seeds, {}, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::GridOnForm w(4, 4);
        Prepare(*w.g);
        Fill(*w.g);
        const std::string before = fuzz::Dump(*w.g);
        platform::Clipboard()->SetFormatData(format, input);
        const int n = w.g->PasteFunc(1, 1);
        if (n == 0) {
            if (fuzz::Dump(*w.g) != before) r.fault = "refused but changed";
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        int cols = 0, rows = 0;
        if (!grid::TExStringGrid::BinStreamSize(input, cols, rows)) {
            r.fault = "pasted a block of no size";
            return r;
        }
        const std::string copy = w.g->SaveRectToBinStream(platform::TRect{1, 1, 1 + cols - 1, 1 + rows - 1});
        fuzz::GridOnForm back(4, 4);
        Prepare(*back.g);
        Fill(*back.g);
        back.g->ClearRect(1, 1, std::min(cols, back.g->ColCount() - 1), std::min(rows, back.g->RowCount() - 1));
        platform::Clipboard()->SetFormatData(format, copy);
        if (back.g->PasteFunc(1, 1) != n) {
            r.fault = "its own copy pasted differently";
            return r;
        }
        const std::string x = fuzz::Dump(*w.g), y = fuzz::Dump(*back.g);
        if (x != y) r.fault = "pasted back different: " + x.substr(0, 200) + " | " + y.substr(0, 200);
        return r;
    });
}
