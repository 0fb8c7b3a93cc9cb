// Pasting text into the grid: pasted cells copy and paste again to the same cells; a
// refused paste (EExGridError) leaves the grid as it was.
#include <cstdlib>

#include "FuzzDriver.h"
#include "GridDump.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "Offscreen.h"

namespace {

void Prepare(grid::TExStringGrid& g)
{
    g.Navigation.AllowClipboardAlways = true;
    g.Navigation.AllowClipboardColGrow = true;
    g.Navigation.AllowClipboardRowGrow = true;
    g.Navigation.CopyHTMLTagsToClipboard = true;
}

}  // namespace

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    const std::vector<std::string> seeds = {
        "a\tb\tc\r\n1\t2\t3\r\n",
        "a\t\"two\nlines\"\tq\"x\r\nb\t\t\r\n",
        "one cell",
        "x\r\n\r\ny\tz\r\n",
        "\"a\"\"b\nc\"\t\x0b\r\n",
    };
    return fuzz::Run("paste", opts, seeds, {}, [&](const std::string& input) {
        fuzz::Result r;
        fuzz::GridOnForm w(3, 3);
        Prepare(*w.g);
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) w.g->SetCells(c, k, std::to_string(c * 10 + k));
        const std::string before = fuzz::Dump(*w.g);
        try {
            w.g->PasteText(0, 0, input);
        } catch (const grid::EExGridError& e) {
            if (fuzz::Dump(*w.g) != before) r.fault = std::string("refused but changed: ") + e.what();
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        const std::string text =
            w.g->CopyText(platform::TGridRect{0, 0, w.g->ColCount() - 1, w.g->RowCount() - 1}, false);
        fuzz::GridOnForm back(1, 1);
        Prepare(*back.g);
        back.g->PasteText(0, 0, text);
        // The copy's last cell, when empty, grows nothing: compare over the first grid's size.
        back.g->SetColCount(std::max(back.g->ColCount(), w.g->ColCount()));
        back.g->SetRowCount(std::max(back.g->RowCount(), w.g->RowCount()));
        const std::string x = fuzz::Dump(*w.g), y = fuzz::Dump(*back.g);
        if (x != y) r.fault = "pasted back different: " + x.substr(0, 200) + " | " + y.substr(0, 200);
        return r;
    });
}
