// The component grid at the size of a long report: writing 15 columns through Cells by
// real index and reading them back; the row count is the argument, so growth shows.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace {

struct Report {
    TForm* form;
    grid::TExStringGrid* grid;
    explicit Report(int rows)
    {
        EnsurePlatform();
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 1000, 700);
        grid = new grid::TExStringGrid(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 980, 680);
        grid->SetColCount(15);
        grid->SetRowCount(rows);
        grid->HandleNeeded();
    }
    ~Report() { form->Free(); }
};

void BM_ExGridCellsByRealIndex(benchmark::State& state)
{
    const int rows = int(state.range(0));
    Report t(rows);
    std::size_t total = 0;
    for (auto _ : state) {
        for (int r = 1; r < rows; ++r)
            for (int c = 0; c < 15; ++c) t.grid->SetCells(c, r, std::to_string(r * 0.125 + c * 1000.5));
        for (int r = 1; r < rows; ++r)
            for (int c = 0; c < 15; ++c) total += t.grid->Cells(c, r).size();
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations() * (rows - 1) * 15);
    state.SetComplexityN(rows);
}
BENCHMARK(BM_ExGridCellsByRealIndex)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
