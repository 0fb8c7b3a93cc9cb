// Chart repaint cost: a result graph of 9 line series × 1,000 points with four axes
// (two of them custom) and a legend with check boxes, drawn into its off-screen buffer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "GuiBenchMain.h"
#include "platform/TestRig.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"

namespace {

std::unique_ptr<chart::TChart> Graph()
{
    using namespace chart;
    auto c = std::make_unique<TChart>(nullptr);
    c->SetBounds(0, 0, 664, 420);
    c->SetView3D(false);
    c->SetColor(platform::clWhite);
    c->Title().SetCaption("Hydrostatics");
    c->Legend().SetCheckBoxes(true);
    c->SetMarginUnits(muPixels);
    c->SetMarginBottom(100);
    TChartAxis* extra[2];
    for (int k = 0; k < 2; ++k) {
        extra[k] = c->CustomAxes().Add();
        extra[k]->SetHorizontal(true);
        extra[k]->SetPosUnits(muPixels);
        extra[k]->SetPositionPercent(k == 0 ? -34 : -70);
    }
    for (int s = 0; s < 9; ++s) {
        auto* series = new THorizLineSeries(c.get());
        series->SetTitle("Curve " + std::to_string(s + 1));
        series->Pointer().SetVisible(std::getenv("NOPTR") == nullptr);
        series->Pointer().SetSize(2);
        c->AddSeries(series);
        if (s < 2) series->SetCustomHorizAxis(extra[s]);
        series->BeginUpdate();
        for (int i = 0; i < 1000; ++i) series->AddXY((s + 1) * 10 * std::sin(i * 0.003) + s, i * 0.01);
        series->EndUpdate();
    }
    return c;
}

void BM_ChartRepaint(benchmark::State& state)
{
    platform::EnsurePlatform();
    auto c = Graph();
    platform::TBitmap target(664, 420);
    for (auto _ : state) {
        c->ChartCanvas()->Invalidate();
        c->Draw(target.Canvas(), {0, 0, 664, 420});
    }
}
BENCHMARK(BM_ChartRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunGuiBenchmarks(argc, argv); }
