// Canvas costs that the plot and the grids pay per frame: thin lines, text, fills, blits.
#include <benchmark/benchmark.h>

#include "GuiBenchMain.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

TBitmap& Surface()
{
    EnsurePlatform();
    static TBitmap b(800, 600);
    return b;
}

void BM_ThinLines(benchmark::State& state)
{
    TCanvas* c = Surface().Canvas();
    int i = 0;
    for (auto _ : state) {
        c->MoveTo(i % 800, 0);
        c->LineTo((i * 7) % 800, 599);
        ++i;
    }
}
BENCHMARK(BM_ThinLines);

void BM_DottedRubberBand(benchmark::State& state)
{
    TCanvas* c = Surface().Canvas();
    c->Pen().SetMode(pmXor);
    c->Pen().SetStyle(psDot);
    c->Brush().SetStyle(bsClear);
    for (auto _ : state) c->Rectangle(10, 10, 700, 500);
    c->Pen().SetMode(pmCopy);
    c->Pen().SetStyle(psSolid);
}
BENCHMARK(BM_DottedRubberBand);

void BM_TextOut(benchmark::State& state)
{
    TCanvas* c = Surface().Canvas();
    c->Font().SetName("Arial");
    c->Font().SetSize(8);
    int i = 0;
    for (auto _ : state) {
        c->TextOut(i % 700, i % 580, "12.345 m");
        ++i;
    }
}
BENCHMARK(BM_TextOut);

void BM_DrawTextWordBreak(benchmark::State& state)
{
    TCanvas* c = Surface().Canvas();
    HDC dc = c->Handle();
    for (auto _ : state) {
        TRect r = Rect(0, 0, 120, 200);
        DrawText(dc, "Table of Hydrostatic Properties for Korvelo Hullform", -1, &r, DT_WORDBREAK | DT_CALCRECT);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DrawTextWordBreak);

void BM_FillRect(benchmark::State& state)
{
    TCanvas* c = Surface().Canvas();
    c->Brush().SetColor(clYellow);
    int i = 0;
    for (auto _ : state) {
        c->FillRect(Rect(i % 700, i % 500, i % 700 + 20, i % 500 + 12));
        ++i;
    }
}
BENCHMARK(BM_FillRect);

void BM_BlitWholeSurface(benchmark::State& state)
{
    static TBitmap target(800, 600);
    for (auto _ : state)
        BitBlt(target.Canvas()->Handle(), 0, 0, 800, 600, Surface().Canvas()->Handle(), 0, 0, SRCCOPY);
}
BENCHMARK(BM_BlitWholeSurface);

}  // namespace

int main(int argc, char** argv) { return RunGuiBenchmarks(argc, argv); }
