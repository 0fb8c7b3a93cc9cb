// The grid calls the mini-HTML engine for every visible cell on every paint: cost of
// measuring, drawing and hit-testing one typical cell, against drawing its plain text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "GuiBenchMain.h"
#include "RecordingReporter.h"

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/TestRig.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/TextSizeCache.h"

namespace {

using namespace platform;

// A result-table header cell and a data cell as the program writes them.
const char* const kHeaderCell = "<B>Table of Hydrostatic Properties for </B><FONT color=\"#008000\">Hull 1</FONT>";
const char* const kDataCell = "<B>KM<SUB>T</SUB></B> <FONT color=\"#FF0000\">12.345</FONT> m<SUP>2</SUP>";
const char* const kTreeCell = "<IMG src=\"idx:0\"> Density <A href=\"dens\" class=\"EDIT\">1.025</A> t/m<SUP>3";

struct Cell {
    TBitmap bmp{220, 24};
    TImageList images{16, 16};
    Cell()
    {
        EnsurePlatform();
        bmp.Canvas()->Font().SetName("Arial");
        bmp.Canvas()->Font().SetSize(8);
        TBitmap icon(16, 16);
        images.Add(&icon);
    }
    html::HTMLDrawParams Params(const char* text)
    {
        html::HTMLDrawParams p;
        p.Canvas = bmp.Canvas();
        p.Text = text;
        p.TextRect = Rect(2, 2, 218, 22);
        p.Images = &images;
        p.ShadowOffset = 1;
        return p;
    }
};

void Run(benchmark::State& state, const char* text, bool measure, bool hitTest, bool fresh = false)
{
    Cell cell;
    html::HTMLDrawParams p = cell.Params(text);
    p.MeasureOnly = measure;
    p.HitTestOnly = hitTest;
    p.HitX = 60;
    p.HitY = 10;
    html::HTMLDrawResult r;
    for (auto _ : state) {
        if (fresh) html::ClearTextSizes();
        bool hit = html::HTMLDrawEx(p, r);
        benchmark::DoNotOptimize(hit);
        benchmark::DoNotOptimize(r.MeasuredWidth);
    }
}

void BM_MeasureDataCell(benchmark::State& s) { Run(s, kDataCell, true, false); }
void BM_DrawDataCell(benchmark::State& s) { Run(s, kDataCell, false, false); }
// A cell the engine has not measured before: nothing kept from earlier calls.
void BM_DrawNewDataCell(benchmark::State& s) { Run(s, kDataCell, false, false, true); }
void BM_HitTestDataCell(benchmark::State& s) { Run(s, kDataCell, false, true); }
void BM_DrawHeaderCell(benchmark::State& s) { Run(s, kHeaderCell, false, false); }
void BM_DrawTreeNode(benchmark::State& s) { Run(s, kTreeCell, false, false); }

// The floor: the same visible text drawn by one plain DrawText call.
void BM_PlainDrawText(benchmark::State& state)
{
    Cell cell;
    TCanvas* c = cell.bmp.Canvas();
    const std::string text = "KMT 12.345 m2";
    for (auto _ : state) {
        TRect r = Rect(2, 2, 218, 22);
        DrawText(c->Handle(), text, -1, &r, DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS);
        benchmark::DoNotOptimize(r);
    }
}

// The runs of the ratio are repeated, so that a busy machine moves it less.
BENCHMARK(BM_MeasureDataCell)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawDataCell)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawNewDataCell);
BENCHMARK(BM_HitTestDataCell);
BENCHMARK(BM_DrawHeaderCell);
BENCHMARK(BM_DrawTreeNode);
BENCHMARK(BM_PlainDrawText)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [](const RecordingReporter& reporter) {
        const double plain = reporter.Time("BM_PlainDrawText");
        const double measure = reporter.Time("BM_MeasureDataCell"), draw = reporter.Time("BM_DrawDataCell");
        if (plain > 0 && measure > 0 && draw > 0)
            std::printf("data cell measure + draw / plain DrawText (medians): %.2f (goal: at most 3)\n", (measure + draw) / plain);
    });
}
