// The base string grid at the size of a long result table: filling 1,000 x 15 cells
// with texts, and repainting the part in view.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "GuiBenchMain.h"
#include "RecordingReporter.h"
#include "platform/controls/Grids.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "widgets/grid/ExGrid.h"

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

// The program's report on the component grid: 1,000 rows of 15 numbers under two header
// rows of bold mini-HTML titles (the first merged over the columns), soft fixed cells
// and bands.
struct ReportGrid {
    TForm* form;
    grid::TExStringGrid* grid;
    // rows data rows; filled with the report's texts and numbers when fill is set.
    explicit ReportGrid(int rows = 1000, bool fill = true)
    {
        EnsurePlatform();
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 1000, 700);
        grid = new grid::TExStringGrid(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 980, 680);
        grid->SetColCount(15);
        grid->SetRowCount(rows + 2);
        grid->SetFixedRows(2);
        grid->SetFixedCols(0);
        grid->Look = grid::glSoft;
        grid->Bands().SetActive(true);
        grid->FloatFormat = "%.3f";
        grid->SetOptions(grid->Options() | goFixedHorzLine | goFixedVertLine | goHorzLine | goVertLine);
        grid->HandleNeeded();
        if (!fill) return;
        grid->SetCells(0, 0, "<B>Hydrostatics of the hull at the draughts of the run</B>");
        grid->MergeCells(0, 0, 15, 1);
        for (int c = 0; c < 15; ++c) grid->SetCells(c, 1, "<B>Column " + std::to_string(c + 1) + "</B>");
        for (int r = 2; r < rows + 2; ++r)
            for (int c = 0; c < 15; ++c) grid->SetFloats(c, r, r * 0.125 + c * 1000.5);
    }
    ~ReportGrid() { form->Free(); }
};

// One repaint of what is in view of the report, scrolled half way: one frame is 16 ms.
void BM_ReportRepaintVisible(benchmark::State& state)
{
    ReportGrid t;
    t.grid->SetTopRow(500);
    TBitmap target(t.grid->Width(), t.grid->Height());
    for (auto _ : state) t.grid->PaintTo(target.Canvas(), 0, 0);
}
BENCHMARK(BM_ReportRepaintVisible)->Unit(benchmark::kMillisecond);

// Scrolling from the top to the end and painting there: no more than a repaint.
void BM_ReportScrollToEnd(benchmark::State& state)
{
    ReportGrid t;
    TBitmap target(t.grid->Width(), t.grid->Height());
    for (auto _ : state) {
        t.grid->SetTopRow(2);
        t.grid->SetTopRow(t.grid->RowCount() - t.grid->VisibleRowCount());
        t.grid->PaintTo(target.Canvas(), 0, 0);
    }
}
BENCHMARK(BM_ReportScrollToEnd)->Unit(benchmark::kMillisecond);

// Writing 15 columns through Cells by real index and reading them back; the argument
// is the row count, so the growth shows.
void BM_ExGridCellsByRealIndex(benchmark::State& state)
{
    const int rows = int(state.range(0));
    ReportGrid t(rows, false);
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

// The report laid out for printing: counting its pages and drawing the middle one into
// an A4 bitmap at 96 pixels per inch; the argument is the row count.
void BM_ReportPrintPreviewPage(benchmark::State& state)
{
    const int rows = int(state.range(0));
    ReportGrid t(rows);
    TBitmap page(794, 1123);
    t.grid->PrintSettings().RepeatFixedRows = true;
    t.grid->SetPreviewPage(1);
    t.grid->PrintPreview(page.Canvas(), {0, 0, 794, 1123});
    t.grid->SetPreviewPage(std::max(1, t.grid->PrintPageCount() / 2));
    for (auto _ : state) t.grid->PrintPreview(page.Canvas(), {0, 0, 794, 1123});
    state.SetComplexityN(rows);
}
BENCHMARK(BM_ReportPrintPreviewPage)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// A grid of 16,000 columns holding 100 cells with properties: shrinking it to two rows
// and freeing it, at 1,024 rows (the floor) and at 131,072 rows of bounds.
void BM_ExGridShrinkAndFreeSparse(benchmark::State& state)
{
    const int rows = int(state.range(0));
    EnsurePlatform();
    for (auto _ : state) {
        auto* g = new grid::TExStringGrid(nullptr);
        g->SetColCount(16000);
        g->SetRowCount(rows);
        for (int k = 0; k < 100; ++k) g->SetColors(k * 150, k * 10, clRed);
        g->SetRowCount(2);
        g->SetRowCount(rows);
        delete g;
    }
    state.SetComplexityN(rows);
}
BENCHMARK(BM_ExGridShrinkAndFreeSparse)->Arg(1024)->Arg(131072)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [](const RecordingReporter& reporter) {
        const double small = reporter.Time("BM_ExGridShrinkAndFreeSparse/1024");
        const double large = reporter.Time("BM_ExGridShrinkAndFreeSparse/131072");
        if (small > 0 && large > 0)
            std::printf("shrinking and freeing a sparse 16,000-column grid: %.2f ms at 131,072 rows, %.2f x the "
                        "1,024-row grid (goal: the cost of the cells held, not of the bounds)\n",
                        large, large / small);
        const double floor = reporter.Time("BM_ReportPrintPreviewPage/250");
        if (floor > 0) {
            for (const char* rows : {"250", "1000", "4000"}) {
                const double t = reporter.Time(std::string("BM_ReportPrintPreviewPage/") + rows);
                if (t > 0)
                    std::printf("print preview page of the report, %s rows: %.2f ms, %.2f x the 250-row page "
                                "(goal: no growth with the length)\n",
                                rows, t, t / floor);
            }
        }
    });
}
