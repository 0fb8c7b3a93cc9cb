// Plot control repaint cost: a body-plan-like view of 100 frames with 200 points each.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "GuiBenchMain.h"
#include "platform/graphics/Metafile.h"
#include "platform/TestRig.h"
#include "widgets/plot/PlotGraph.h"

namespace {

constexpr int kFrames = 100, kPoints = 200;

std::unique_ptr<plot::TPlotGraph> View(int width, int height)
{
    auto g = std::make_unique<plot::TPlotGraph>(nullptr);
    g->SetBounds(0, 0, width, height);
    g->SetColorBg(platform::clWhite);
    g->SetColorGrid(platform::clSilver);
    g->SetAxisXLabel("X");
    g->SetAxisYLabel("Z");
    g->SetAspectRatio(1);
    g->SetMaintainRatio(true);
    g->Series().BeginUpdate();
    for (int f = 0; f < kFrames; ++f) {
        g->Series().Add();
        plot::TPoints& s = g->Series().GetSeries(f);
        s.SetColor(f == kFrames / 2 ? 0x0000FF : 0);
        if (f == kFrames / 2) {
            s.SetPointSymbol('C');
            s.SetDrawStyle(plot::dsNumber);
        }
        // A section outline: beam and draught shrink towards the ends.
        const double k = std::sin(M_PI * (f + 0.5) / kFrames);
        for (int i = 0; i < kPoints; ++i) {
            const double a = M_PI * i / (kPoints - 1);
            s.AddSimple(6 * k * std::sin(a), 4 - 4 * k * std::cos(a) * std::cos(a) - 2 * k);
        }
    }
    g->Series().EndUpdate();
    g->SetVisRect(plot::Rect2D(-8, -3, 8, 6));
    return g;
}

// Full render into the off-screen bitmap, as after every zoom or edit.
void BM_Repaint(benchmark::State& state)
{
    auto g = View(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        g->Render(static_cast<platform::TCanvas*>(nullptr));
        benchmark::DoNotOptimize(g->Bitmap());
    }
    state.counters["points"] = kFrames * kPoints;
}
BENCHMARK(BM_Repaint)->Args({600, 400})->Args({1200, 900})->Unit(benchmark::kMillisecond);

// The same view recorded as a metafile and written as EMF, as the clipboard copy does.
void BM_RecordEmf(benchmark::State& state)
{
    auto g = View(600, 400);
    for (auto _ : state) {
        platform::TMetafile mf(g->Width(), g->Height());
        {
            platform::TMetafileCanvas canvas(mf);
            g->Render(&canvas);
        }
        benchmark::DoNotOptimize(mf.EmfData());
    }
}
BENCHMARK(BM_RecordEmf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunGuiBenchmarks(argc, argv); }
