// Blending and bitmap effects on raw pixels.
#include "widgets/chart/ChartBlend.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartCanvas.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartFont.h"

namespace chart {

using namespace platform;

bool AlphaBlendAvailable = false;

TChartBlend::TChartBlend(TChartCanvas& canvas, const TRect& r) : canvas_(canvas) { SetRectangle(r); }
TChartBlend::~TChartBlend() = default;

namespace {
TBitmap* BufferOf(TChartCanvas& c)
{
    auto* g = dynamic_cast<TChartCanvas3D*>(&c);
    return g ? g->Bitmap() : nullptr;
}
}  // namespace

void TChartBlend::SetRectangle(const TRect& r)
{
    rect_ = OrientRectangle(r);
    rect_.Left = std::max(0, rect_.Left);
    rect_.Top = std::max(0, rect_.Top);
    rect_.Right = std::max(0, rect_.Right);
    rect_.Bottom = std::max(0, rect_.Bottom);
    if (rect_.Right - rect_.Left < 1) rect_.Right = rect_.Left + 1;
    if (rect_.Bottom - rect_.Top < 1) rect_.Bottom = rect_.Top + 1;
    rect_.Right = std::min(rect_.Right, canvas_.Bounds().Right);
    rect_.Bottom = std::min(rect_.Bottom, canvas_.Bounds().Bottom);
    valid_ = rect_.Width() > 0 && rect_.Height() > 0;
    snapshot_.reset();
    if (!valid_ || canvas_.Metafiling) return;
    snapshot_ = std::make_unique<TBitmap>(rect_.Width(), rect_.Height());
    snapshot_->SetPixelFormat(pf24bit);
    TBitmap* buffer = BufferOf(canvas_);
    HDC src = buffer ? buffer->Canvas()->Handle() : canvas_.GetHandle();
    BitBlt(snapshot_->Canvas()->Handle(), 0, 0, rect_.Width(), rect_.Height(), src, rect_.Left, rect_.Top, SRCCOPY);
}

void TChartBlend::DoBlend(int transparency)
{
    if (canvas_.Metafiling || !valid_ || !snapshot_) return;
    TBitmap* buffer = BufferOf(canvas_);
    std::unique_ptr<TBitmap> copy;
    TBitmap* b = buffer;
    TPoint origin = rect_.TopLeft();
    if (!b) {
        copy = std::make_unique<TBitmap>(rect_.Width(), rect_.Height());
        BitBlt(copy->Canvas()->Handle(), 0, 0, rect_.Width(), rect_.Height(), canvas_.GetHandle(), rect_.Left,
               rect_.Top, SRCCOPY);
        b = copy.get();
        origin = {0, 0};
    }
    const unsigned align = canvas_.GetTextAlign();
    ChartBlendBitmaps(100 - transparency, *snapshot_, *b, origin);
    if (canvas_.GetTextAlign() != align) {
        if (canvas_.AssignedFont()) canvas_.AssignFont(*canvas_.AssignedFont());
        canvas_.SetTextAlign(align);
    }
    if (copy) BitBlt(canvas_.GetHandle(), rect_.Left, rect_.Top, rect_.Width(), rect_.Height(), copy->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void ChartBlendBitmaps(double percent, TBitmap& a, TBitmap& b, TPoint origin)
{
    a.SetPixelFormat(pf24bit);
    b.SetPixelFormat(pf24bit);
    origin.X = std::max(0, origin.X);
    origin.Y = std::max(0, origin.Y);
    const int w = std::min(a.Width(), b.Width() - origin.X), h = std::min(a.Height(), b.Height() - origin.Y);
    if (w <= 0 || h <= 0) return;
    const int f = 100 - int(std::nearbyint(percent));
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* ra = a.ScanLine(y);
        std::uint32_t* rb = b.ScanLine(origin.Y + y) + origin.X;
        for (int x = 0; x < w; ++x) {
            std::uint32_t pb = rb[x];
            if ((pb & 0xFFFFFF) == 0xFFFFFF) pb = (pb & 0xFF00FFFF) | 0x00FE0000;  // red 254
            std::uint32_t out = pb & 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8) {
                const int va = int((ra[x] >> shift) & 255), vb = int((pb >> shift) & 255);
                out |= std::uint32_t(vb + (va - vb) * f / 100) << shift;
            }
            rb[x] = out;
        }
    }
}

void ChartGrayScale(TBitmap* bitmap, bool inverted, int mode)
{
    if (!bitmap) return;
    bitmap->SetPixelFormat(pf24bit);
    for (int y = bitmap->Height() - 1; y >= 0; --y) {
        std::uint32_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < bitmap->Width(); ++x) {
            const int r = int((row[x] >> 16) & 255), g = int((row[x] >> 8) & 255), b = int(row[x] & 255);
            int v = mode == 0 ? (b + g + r) / 3
                              : int(std::nearbyint(0.30L * r + 0.59L * g + 0.11L * b));
            if (inverted) v = 255 - v;
            row[x] = (row[x] & 0xFF000000) | (std::uint32_t(v) << 16) | (std::uint32_t(v) << 8) | std::uint32_t(v);
        }
    }
    bitmap->SetPixelFormat(pfDevice);
}

namespace {

struct Contribution {
    int pixel;
    int weight;
};

float Lanczos3(float x)
{
    x = std::fabs(x);
    if (x == 0) return 1;
    if (x >= 3) return 0;
    const float a = float(M_PI) * x, b = a / 3;
    return (std::sin(a) / a) * (std::sin(b) / b);
}

float Triangle(float x)
{
    x = std::fabs(x);
    return x < 1 ? 1 - x : 0;
}

std::vector<std::vector<Contribution>> Contributions(int count, float scale, float support, int n,
                                                     float (*filter)(float))
{
    std::vector<std::vector<Contribution>> all(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float c = float(i) / scale;
        const float w = scale >= 1 ? support : support / scale;
        const float k = scale >= 1 ? 1024.0f : 1024.0f * scale;
        auto& list = all[std::size_t(i)];
        const std::size_t most = std::size_t(2 * w + 1);
        for (int j = int(std::floor(c - w)); j <= int(std::ceil(c + w)); ++j) {
            const float v = scale >= 1 ? filter(c - float(j)) : filter((c - float(j)) * scale);
            if (v == 0) continue;
            if (list.size() >= most) break;
            const int src = j < 0 ? -j : j >= n ? 2 * n - 1 - j : j;
            list.push_back({std::clamp(src, 0, n - 1), int(std::nearbyint(k * v))});
        }
    }
    return all;
}

std::uint32_t Weighted(const std::vector<Contribution>& list, auto&& pixel)
{
    std::uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        long sum = 0;
        for (const Contribution& c : list) sum += long((pixel(c.pixel) >> shift) & 255) * c.weight;
        const long v = sum < 0 ? 0 : std::min(255L, sum / 1024);
        out |= std::uint32_t(v) << shift;
    }
    return out;
}

}  // namespace

void SmoothStretch(TBitmap* src, TBitmap* dst, TSmoothStretchOption option)
{
    if (!src || !dst) return;
    const int sW = src->Width(), sH = src->Height(), dW = dst->Width(), dH = dst->Height();
    if (sW < 2 || sH < 2) throw base::Exception("SmoothStretch: Source bitmap too small");
    if (dW < 2 || dH < 2) throw base::Exception("SmoothStretch: Destination bitmap too small");
    src->SetPixelFormat(pf24bit);
    dst->SetPixelFormat(pf24bit);
    auto filter = option == ssBestQuality ? &Lanczos3 : &Triangle;
    const float support = option == ssBestQuality ? 3.0f : 1.0f;
    const float sx = float(dW - 1) / float(sW - 1), sy = float(dH - 1) / float(sH - 1);
    TBitmap work(dW, sH);
    const auto cols = Contributions(dW, sx, support, sW, filter);
    for (int y = 0; y < sH; ++y) {
        const std::uint32_t* in = src->ScanLine(y);
        std::uint32_t* out = work.ScanLine(y);
        for (int i = 0; i < dW; ++i) out[i] = Weighted(cols[std::size_t(i)], [&](int p) { return in[p]; });
    }
    const auto rows = Contributions(dH, sy, support, sH, filter);
    for (int i = 0; i < dH; ++i) {
        std::uint32_t* out = dst->ScanLine(i);
        for (int x = 0; x < dW; ++x)
            out[x] = Weighted(rows[std::size_t(i)], [&](int p) { return work.ScanLine(p)[x]; });
    }
}

}  // namespace chart
