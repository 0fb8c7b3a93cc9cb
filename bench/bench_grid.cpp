// The base string grid at the size of a long result table: filling 1,000 x 15 cells
// with texts, and repainting the part in view.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/controls/Grids.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

struct Table {
    TForm* form;
    TStringGrid* grid;
    explicit Table(int rows)
    {
        EnsurePlatform();
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 1000, 700);
        grid = new TStringGrid(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 980, 680);
        grid->SetColCount(15);
        grid->SetRowCount(rows);
        grid->HandleNeeded();
    }
    ~Table() { form->Free(); }
    void Fill(int rows)
    {
        for (int r = 1; r < rows; ++r)
            for (int c = 0; c < 15; ++c) grid->SetCells(c, r, std::to_string(r * 0.125 + c * 1000.5));
    }
};

// Setting every cell; the argument is the row count, so the cost per cell shows growth.
void BM_GridFill(benchmark::State& state)
{
    const int rows = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<Table>(rows);
        state.ResumeTiming();
        t->Fill(rows);
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (rows - 1) * 15);
}
BENCHMARK(BM_GridFill)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

// One repaint of the visible part of a filled 1,000 x 15 grid, scrolled half way.
void BM_GridRepaintVisible(benchmark::State& state)
{
    Table t(1000);
    t.Fill(1000);
    t.grid->SetTopRow(500);
    TBitmap target(t.grid->Width(), t.grid->Height());
    for (auto _ : state) t.grid->PaintTo(target.Canvas(), 0, 0);
}
BENCHMARK(BM_GridRepaintVisible)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
