#pragma once
#include <string>

// A component grid on a form of its own, for the grid's tests.
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"

namespace gridtest {

struct GridWindow {
    platform::TForm* form = nullptr;
    grid::TExStringGrid* g = nullptr;
    // The grid fills a form of width x height less 20 pixels, with cols x rows cells.
    void Open(int width, int height, int cols, int rows)
    {
        platform::EnsurePlatform();
        form = platform::Construct<platform::TForm>(platform::Application);
        form->SetBounds(0, 0, width, height);
        g = new grid::TExStringGrid(form);
        g->SetParent(form);
        g->SetBounds(0, 0, width - 20, height - 20);
        g->SetColCount(cols);
        g->SetRowCount(rows);
    }
    // An editing grid with one fixed column and row, shown and focused, on cell (1, 1);
    // with numbered, every normal cell (c, r) holds c * 10 + r. False when it got no focus.
    bool OpenEditing(int width, int height, int cols, int rows, bool numbered)
    {
        Open(width, height, cols, rows);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->SetOptions(g->Options() | platform::goEditing);
        for (int c = 1; numbered && c < cols; ++c)
            for (int r = 1; r < rows; ++r) g->SetCells(c, r, std::to_string(c * 10 + r));
        form->Show();
        g->SetFocus();
        if (!platform::ProcessUntil([&] { return g->Focused(); })) return false;
        g->SetCol(1);
        g->SetRow(1);
        return true;
    }
    void Close() { form->Free(); }
};

}  // namespace gridtest
