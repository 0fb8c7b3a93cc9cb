// Rich text: reading and writing RTF of growing size, and a grid column of rich-text
// cells painted off screen.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/GuiBenchMain.h"
#include "bench/RecordingReporter.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/RichText.h"
#include "platform/graphics/Rtf.h"
#include "platform/TestRig.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace {

// A document of n paragraphs with a font and colour table, bold and coloured runs, 8-bit
// and wide characters.
std::string Document(int n)
{
    std::string s = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                    "{\\colortbl ;\\red255\\green0\\blue0;}\\fs20 ";
    for (int i = 0; i < n; ++i)
        s += "Row " + std::to_string(i) + " \\b bold\\b0  {\\cf1 red} caf\\'e9 \\u937?mega \\f1 mono\\f0\\par ";
    return s + "}";
}

void BM_ReadRTF(benchmark::State& state)
{
    const std::string rtf = Document(int(state.range(0)));
    for (auto _ : state) {
        TRichContent c;
        benchmark::DoNotOptimize(ReadRTF(rtf, c));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(rtf.size()));
}
BENCHMARK(BM_ReadRTF)->Arg(10)->Arg(100)->Arg(1000);

void BM_StoreRoundTrip(benchmark::State& state)
{
    const std::string rtf = Document(int(state.range(0)));
    TRichDocument d;
    for (auto _ : state) {
        d.LoadRTF(rtf);
        benchmark::DoNotOptimize(d.SaveRTF());
    }
}
BENCHMARK(BM_StoreRoundTrip)->Arg(10)->Arg(100)->Arg(1000);

// Painting a grid whose visible column holds rich-text cells.
void BM_PaintRichCells(benchmark::State& state)
{
    TForm* form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 600, 700);
    auto* g = new grid::TExStringGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 580, 680);
    g->SetColCount(3);
    g->SetRowCount(40);
    for (int r = 1; r < 40; ++r) g->SetCells(1, r, Document(1));
    g->HandleNeeded();
    for (auto _ : state) benchmark::DoNotOptimize(PaintToBitmap(g));
    form->Free();
}
BENCHMARK(BM_PaintRichCells);

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [](const RecordingReporter& reporter) {
        // Linear: the cost per paragraph stays as the document grows.
        const double base = reporter.Time("BM_StoreRoundTrip/10");
        for (const char* n : {"10", "100", "1000"}) {
            const double t = reporter.Time(std::string("BM_StoreRoundTrip/") + n);
            if (t > 0 && base > 0)
                std::printf("rich-text round trip, %s paragraphs: %.3f ms, %.1f us a paragraph, %.2f x the 10-paragraph "
                            "rate (goal: linear)\n",
                            n, t / 1e6, t / 1e3 / std::stod(n), (t / std::stod(n)) / (base / 10));
        }
    });
}
