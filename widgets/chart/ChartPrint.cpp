// Chart printing: the chart drawn again, scaled, onto the printer's pages.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/ScopeGuard.h"
#include "platform/graphics/Metafile.h"
#include "platform/system/Printer.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartPanel.h"

namespace chart {

using namespace platform;

namespace {
// a * b / c with a 64-bit product, rounded half away from zero.
int MulDiv(int a, int b, int c)
{
    if (c == 0) return 0;
    const std::int64_t p = std::int64_t(a) * b;
    const std::int64_t q = (std::llabs(p) + std::llabs(std::int64_t(c)) / 2) / std::llabs(std::int64_t(c));
    return int((p < 0) != (c < 0) ? -q : q);
}
}  // namespace

TRect TCustomChartPanel::ChartPrintRect()
{
    TPrinter* p = Printer();
    return ChartPrintRect(p->PageWidth(), p->PageHeight());
}

void TCustomChartPanel::Print() { PrintRect(ChartPrintRect()); }
void TCustomChartPanel::PrintPortrait() { PrintOrientation(poPortrait); }
void TCustomChartPanel::PrintLandscape() { PrintOrientation(poLandscape); }

void TCustomChartPanel::PrintOrientation(int orientation)
{
    TPrinter* p = Printer();
    const TPrinterOrientation old = p->Orientation();
    p->SetOrientation(TPrinterOrientation(orientation));
    base::ScopeExit restore([p, old] {
        if (!p->Printing()) p->SetOrientation(old);
    });
    Print();
}

void TCustomChartPanel::PrintRect(const TRect& r)
{
    TPrinter* p = Printer();
    if (!Name().empty()) p->Title = Name();
    p->BeginDoc();
    // Any failure ends the job: the half-written page is not kept.
    base::ScopeFail abort([p] {
        p->Abort();
        if (p->Printing()) p->EndDoc();
    });
    PrintPartial(r);
    p->EndDoc();
}

void TCustomChartPanel::PrintPartial(const TRect& r) { PrintPartialCanvas(Printer()->Canvas(), r); }

void TCustomChartPanel::CalcMetaBounds(TRect& r, const TRect& chartRect, int& winWidth, int& winHeight,
                                       int& viewWidth, int& viewHeight)
{
    viewWidth = r.Width();
    viewHeight = r.Height();
    const int w = chartRect.Width(), h = chartRect.Height();
    winWidth = w - MulDiv(w, PrintDetail, 100);
    winHeight = h - MulDiv(h, PrintDetail, 100);
    r.Left = MulDiv(r.Left, winWidth, viewWidth);
    r.Right = MulDiv(r.Right, winWidth, viewWidth);
    r.Top = MulDiv(r.Top, winHeight, viewHeight);
    r.Bottom = MulDiv(r.Bottom, winHeight, viewHeight);
}

void TCustomChartPanel::PrintPartialCanvas(TCanvas* canvas, const TRect& pr)
{
    TRect r = OrientRectangle(pr);
    int winW = 0, winH = 0, viewW = 0, viewH = 0;
    CalcMetaBounds(r, GetRectangle(), winW, winH, viewW, viewH);
    IsPrinting = true;
    struct Restore {
        TCustomChartPanel& p;
        ~Restore() { p.IsPrinting = false; }
    } restore{*this};
    if (OnBeforePrint) OnBeforePrint(this, canvas, r);
    // The chart is drawn in its own units into a recording, which is played back
    // stretched onto the device rectangle; the recording's bounds clip it.
    const int w = std::max(1, r.Width()), h = std::max(1, r.Height());
    TMetafile mf(w, h);
    {
        TMetafileCanvas mc(mf);
        DrawToMetaCanvas(&mc, {0, 0, w, h});
    }
    const TRect device{MulDiv(r.Left, viewW, winW), MulDiv(r.Top, viewH, winH), MulDiv(r.Right, viewW, winW),
                       MulDiv(r.Bottom, viewH, winH)};
    canvas->StretchDraw(device, &mf);
}

}  // namespace chart
