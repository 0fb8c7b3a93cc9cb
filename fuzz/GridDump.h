#pragma once
// A grid's size and cells as text, for comparing loads.
#include <cstdio>
#include <string>

#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"

namespace fuzz {

inline std::string Dump(grid::TExStringGrid& g)
{
    std::string out = std::to_string(g.ColCount()) + "x" + std::to_string(g.RowCount()) + "\n";
    for (int r = 0; r < g.RowCount(); ++r) {
        for (int c = 0; c < g.ColCount(); ++c) {
            out += "[";
            for (char ch : g.Cells(c, r)) {
                if ((unsigned char)ch < 32 || ch == '\\') {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\%02x", (unsigned char)ch);
                    out += buf;
                } else {
                    out += ch;
                }
            }
            out += "]";
        }
        out += "\n";
    }
    return out;
}

// A fresh grid on a form of its own, without fixed cells.
struct GridOnForm {
    platform::TForm* form;
    grid::TExStringGrid* g;
    GridOnForm(int cols, int rows)
    {
        form = platform::Construct<platform::TForm>(platform::Application);
        form->SetBounds(0, 0, 400, 300);
        g = new grid::TExStringGrid(form);
        g->SetParent(form);
        g->SetBounds(0, 0, 380, 280);
        g->SetFixedRows(0);
        g->SetFixedCols(0);
        g->SetColCount(cols);
        g->SetRowCount(rows);
    }
    ~GridOnForm() { form->Free(); }
    GridOnForm(const GridOnForm&) = delete;
    GridOnForm& operator=(const GridOnForm&) = delete;
};

}  // namespace fuzz
