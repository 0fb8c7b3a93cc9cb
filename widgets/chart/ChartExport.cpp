// Chart export: bitmaps, metafiles, the clipboard and the print rectangle.
#include <cmath>
#include <fstream>
#include <sstream>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "platform/graphics/Metafile.h"
#include "platform/system/Clipboard.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPanel.h"

namespace chart {

using namespace platform;

void TCustomChartPanel::NonBufferDraw(TCanvas* canvas, const TRect& r)
{
    const bool buffered = BufferedDisplay();
    SetBufferedDisplay(false);
    struct Restore {
        TCustomChartPanel& p;
        bool b;
        ~Restore() { p.SetBufferedDisplay(b); }
    } restore{*this, buffered};
    Draw(canvas, r);
}

void TCustomChartPanel::DrawToMetaCanvas(TCanvas* canvas, const TRect& r)
{
    ChartCanvas()->Metafiling = true;
    struct Restore {
        TCustomChartPanel& p;
        ~Restore() { p.ChartCanvas()->Metafiling = false; }
    } restore{*this};
    NonBufferDraw(canvas, r);
}

std::unique_ptr<TBitmap> TCustomChartPanel::ChartCreateBitmap() { return ChartCreateBitmap(Color(), GetRectangle()); }

std::unique_ptr<TBitmap> TCustomChartPanel::ChartCreateBitmap(TColor backColor, const TRect& r)
{
    auto bmp = std::make_unique<TBitmap>(std::max(1, r.Width()), std::max(1, r.Height()));
    TCanvas& c = *bmp->Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(backColor == clWhite ? clWhite : backColor);
    c.FillRect({0, 0, bmp->Width(), bmp->Height()});
    NonBufferDraw(&c, r);
    return bmp;
}

void TCustomChartPanel::SaveToBitmapFile(const std::string& fileName) { SaveToBitmapFile(fileName, GetRectangle()); }

namespace {
// Writes the bytes whole or not at all; a failure is an EInOutError with the file's name.
void WriteWhole(const std::string& fileName, const std::string& bytes)
{
    std::string error;
    if (!base::WriteFileAtomic(fileName, bytes, &error)) throw base::EInOutError("Cannot create file \"" + fileName + "\". " + error);
}
}  // namespace

void TCustomChartPanel::SaveToBitmapFile(const std::string& fileName, const TRect& r)
{
    auto bmp = ChartCreateBitmap(clWhite, r);
    std::ostringstream s;
    bmp->SaveToStream(s);
    WriteWhole(fileName, s.str());
}

void TCustomChartPanel::CopyToClipboardBitmap() { CopyToClipboardBitmap(GetRectangle()); }

void TCustomChartPanel::CopyToClipboardBitmap(const TRect& r)
{
    auto bmp = ChartCreateBitmap(clWhite, r);
    Clipboard()->Assign(*bmp);
}

void TCustomChartPanel::AssignTo(TPicture& dest)
{
    auto bmp = ChartCreateBitmap();
    dest.SetGraphic(bmp.get());  // a bitmap is copied
}

std::unique_ptr<TMetafile> TCustomChartPanel::ChartCreateMetafile(bool enhanced, const TRect& r)
{
    auto mf = std::make_unique<TMetafile>(std::max(1, r.Width()), std::max(1, r.Height()));
    mf->SetEnhanced(enhanced);
    {
        TMetafileCanvas canvas(*mf);
        DrawToMetaCanvas(&canvas, r);
    }
    return mf;
}

void TCustomChartPanel::SaveToMetafile(const std::string& fileName) { SaveToMetafileRect(false, fileName, GetRectangle()); }
void TCustomChartPanel::SaveToMetafileEnh(const std::string& fileName) { SaveToMetafileRect(true, fileName, GetRectangle()); }

void TCustomChartPanel::SaveToMetafileRect(bool enhanced, const std::string& fileName, const TRect& r)
{
    auto mf = ChartCreateMetafile(enhanced, r);
    WriteWhole(fileName, enhanced ? mf->EmfData() : mf->WmfData());
}

void TCustomChartPanel::CopyToClipboardMetafile(bool enhanced) { CopyToClipboardMetafile(enhanced, GetRectangle()); }

void TCustomChartPanel::CopyToClipboardMetafile(bool enhanced, const TRect& r)
{
    auto mf = ChartCreateMetafile(enhanced, r);
    CopyMetafileToClipboard(*mf);
}

void TCustomChartPanel::CalcProportionalMargins(int pw, int ph, double c)
{
    const TRect r = GetRectangle();
    const int w = r.Width(), h = r.Height();
    auto m = [c](double a, double b, double x) {
        return int(std::nearbyint((b - (a - a * 30 * 0.01) * x * c) * 100 / b)) / 2;
    };
    if (w > h) {
        const int v = m(pw, ph, double(h) / w);
        PrintMargins[0] = 15;
        PrintMargins[1] = v;
        PrintMargins[2] = 15;
        PrintMargins[3] = v;
    } else {
        const int v = m(ph, pw, double(w) / std::max(1, h));
        PrintMargins[0] = v;
        PrintMargins[1] = 15;
        PrintMargins[2] = v;
        PrintMargins[3] = 15;
    }
}

TRect TCustomChartPanel::ChartPrintRect(int pw, int ph)
{
    if (PrintProportional) CalcProportionalMargins(pw, ph);
    auto part = [](int margin, int size) { return int(std::nearbyint(double(margin) * size / 100)); };
    return {part(PrintMargins[0], pw), part(PrintMargins[1], ph), pw - part(PrintMargins[2], pw),
            ph - part(PrintMargins[3], ph)};
}

std::unique_ptr<TBitmap> ChartAntiAlias(TCustomChartPanel& panel)
{
    const bool repaint = panel.RepaintEnabled();
    panel.SetRepaintEnabled(false);
    const int w = panel.Width(), h = panel.Height();
    const int zoom = panel.View3DOptions().FontZoom();
    panel.View3DOptions().SetFontZoom(zoom * 2);
    std::unique_ptr<TBitmap> big;
    {
        struct Restore {
            TCustomChartPanel& p;
            int zoom;
            bool repaint;
            ~Restore()
            {
                p.View3DOptions().SetFontZoom(zoom);
                p.SetRepaintEnabled(repaint);
            }
        } restore{panel, zoom, repaint};
        big = panel.ChartCreateBitmap(panel.Color(), {0, 0, 2 * w, 2 * h});
    }
    auto out = std::make_unique<TBitmap>(std::max(1, w), std::max(1, h));
    out->SetPixelFormat(pf24bit);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* r0 = big->ScanLine(2 * y);
        const std::uint32_t* r1 = big->ScanLine(2 * y + 1);
        std::uint32_t* o = out->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            std::uint32_t px = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8) {
                const unsigned sum = ((r0[2 * x] >> shift) & 255) + ((r0[2 * x + 1] >> shift) & 255) +
                                     ((r1[2 * x] >> shift) & 255) + ((r1[2 * x + 1] >> shift) & 255);
                px |= (sum / 4) << shift;
            }
            o[x] = px;
        }
    }
    return out;
}

}  // namespace chart
