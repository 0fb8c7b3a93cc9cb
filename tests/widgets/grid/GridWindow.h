#pragma once
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
    void Close() { form->Free(); }
};

}  // namespace gridtest
