#include "platform/graphics/ImageList.h"

#include <algorithm>

#include "platform/Private.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/IconImage.h"

namespace platform {

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}
TImageList::TImageList(int width, int height) : TComponent(nullptr), width_(width), height_(height) {}
TImageList::~TImageList() = default;

void TImageList::Changed()
{
    if (OnChange) OnChange(this);
}

void TImageList::SetSize(int width, int height)
{
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    images_.clear();
    Changed();
}

int TImageList::Add(TBitmap* image)
{
    if (!image || image->Empty()) return -1;
    const int first = Count();
    const int n = std::max(1, image->Width() / width_);
    for (int i = 0; i < n; ++i) {
        auto b = std::make_unique<TBitmap>(width_, height_);
        b->Canvas()->CopyRect(Rect(0, 0, width_, height_), image->Canvas(),
                              Rect(i * width_, 0, (i + 1) * width_, height_));
        images_.push_back({std::move(b), {}});
    }
    Changed();
    return first;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    const int first = Add(image);
    if (first < 0) return first;
    for (int i = first; i < Count(); ++i) {
        TBitmap* b = images_[std::size_t(i)].image.get();
        b->SetTransparentMode(tmFixed);
        b->SetTransparentColor(maskColor);
        b->SetTransparent(true);
    }
    return first;
}

TImageList::Entry TImageList::IconEntry(TIcon* icon) const
{
    Entry e;
    const IconImage* img = icon ? IconImageFor(icon->Handle(), width_, height_) : nullptr;
    if (!img) return e;
    QImage composed = img->Composed();
    if (composed.size() != QSize(width_, height_))
        composed = composed.scaled(width_, height_, Qt::IgnoreAspectRatio,
                                   img->alpha ? Qt::SmoothTransformation : Qt::FastTransformation);
    e.image = std::make_unique<TBitmap>(width_, height_);
    QImage& target = BitmapImage(*e.image);
    e.alpha.resize(std::size_t(width_) * std::size_t(height_));
    for (int y = 0; y < height_; ++y) {
        auto* from = reinterpret_cast<const QRgb*>(composed.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < width_; ++x) {
            to[x] = from[x] | 0xFF000000u;
            e.alpha[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = std::uint8_t(qAlpha(from[x]));
        }
    }
    e.image->SetPixelFormat(pf32bit);
    return e;
}

int TImageList::AddIcon(TIcon* icon) { return ReplaceIcon(-1, icon); }

int TImageList::ReplaceIcon(int index, TIcon* icon)
{
    if (index < -1 || index >= Count()) return -1;
    Entry e = IconEntry(icon);
    if (!e.image) return -1;
    if (index < 0) {
        images_.push_back(std::move(e));
        index = Count() - 1;
    } else {
        images_[std::size_t(index)] = std::move(e);
    }
    Changed();
    return index;
}

bool TImageList::GetIcon(int index, TIcon* icon) const
{
    if (!icon || index < 0 || index >= Count()) return false;
    const Entry& e = images_[std::size_t(index)];
    QImage argb = BitmapImage(*e.image).convertToFormat(QImage::Format_ARGB32);
    const bool keyed = e.alpha.empty() && e.image->Transparent();
    const QRgb key = keyed ? ToQColor(ColorToRGB(e.image->TransparentColor())).rgb() & 0xFFFFFF : 0;
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            int a = 255;
            if (!e.alpha.empty()) a = e.alpha[std::size_t(y) * std::size_t(argb.width()) + std::size_t(x)];
            else if (keyed && (line[x] & 0xFFFFFF) == key) a = 0;
            line[x] = (line[x] & 0xFFFFFF) | (std::uint32_t(a) << 24);
        }
    }
    std::vector<IconImage> images;
    images.push_back(IconImage::FromArgb(argb, nullptr));
    icon->SetHandle(CreateIconFromImages(std::move(images)));
    return true;
}

void TImageList::Delete(int index)
{
    if (index >= 0 && index < Count()) {
        images_.erase(images_.begin() + index);
        Changed();
    }
}

void TImageList::Clear()
{
    images_.clear();
    Changed();
}

namespace {

// Every pixel becomes its grey value, lightened.
void Grey(TBitmap& b)
{
    for (int row = 0; row < b.Height(); ++row) {
        std::uint32_t* line = b.ScanLine(row);
        for (int col = 0; col < b.Width(); ++col) {
            std::uint32_t p = line[col];
            unsigned v = (((p >> 16) & 255) * 30 + ((p >> 8) & 255) * 59 + (p & 255) * 11) / 100;
            v = 128 + v / 2;
            line[col] = (p & 0xFF000000u) | (v << 16) | (v << 8) | v;
        }
    }
}

void DrawWithAlpha(TCanvas* canvas, int x, int y, TBitmap& image, const std::vector<std::uint8_t>& alpha)
{
    QImage argb = BitmapImage(image).convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < argb.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(row));
        for (int col = 0; col < argb.width(); ++col)
            line[col] = (line[col] & 0xFFFFFF) |
                        (std::uint32_t(alpha[std::size_t(row) * std::size_t(argb.width()) + std::size_t(col)]) << 24);
    }
    HDC dc = canvas->Handle();
    const QRect target(x, y, argb.width(), argb.height());
    if (dc->recorder) dc->recorder->Blt(*dc, FromQRect(target), argb, SRCCOPY);
    QPainter p;
    if (!dc->BeginDevice(p)) return;
    const QRect device = dc->ToDeviceRect(target);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(device, argb);
    p.end();
    dc->Drawn(device);
}

}  // namespace

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const
{
    if (!canvas || index < 0 || index >= Count()) return;
    const Entry& e = images_[std::size_t(index)];
    TBitmap* img = e.image.get();
    if (enabled) {
        if (e.alpha.empty())
            canvas->Draw(x, y, img);
        else
            DrawWithAlpha(canvas, x, y, *img, e.alpha);
        return;
    }
    TBitmap grey;
    grey.Assign(*img);
    Grey(grey);
    if (!e.alpha.empty()) {
        DrawWithAlpha(canvas, x, y, grey, e.alpha);
        return;
    }
    if (img->Transparent()) {
        TColor key = img->TransparentColor();
        COLORREF rgb = ColorToRGB(key);
        unsigned v = (GetRValue(rgb) * 30 + GetGValue(rgb) * 59 + GetBValue(rgb) * 11) / 100;
        v = 128 + v / 2;
        grey.SetTransparentMode(tmFixed);
        grey.SetTransparentColor(TColor(RGB(int(v), int(v), int(v))));
        grey.SetTransparent(true);
    }
    canvas->Draw(x, y, &grey);
}

void TImageList::GetBitmap(int index, TBitmap* bitmap) const
{
    if (!bitmap || index < 0 || index >= Count()) return;
    bitmap->SetSize(width_, height_);
    bitmap->Canvas()->CopyRect(Rect(0, 0, width_, height_), images_[std::size_t(index)].image->Canvas(),
                               Rect(0, 0, width_, height_));
}

}  // namespace platform
