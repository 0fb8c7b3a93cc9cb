#include "platform/graphics/ImageList.h"

#include <algorithm>

#include "platform/graphics/Graphics.h"

namespace platform {

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}
TImageList::TImageList(int width, int height) : TComponent(nullptr), width_(width), height_(height) {}
TImageList::~TImageList() = default;

void TImageList::SetSize(int width, int height)
{
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    images_.clear();
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
        images_.push_back(std::move(b));
    }
    return first;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    const int first = Add(image);
    if (first < 0) return first;
    for (int i = first; i < Count(); ++i) {
        images_[std::size_t(i)]->SetTransparentMode(tmFixed);
        images_[std::size_t(i)]->SetTransparentColor(maskColor);
        images_[std::size_t(i)]->SetTransparent(true);
    }
    return first;
}

void TImageList::Delete(int index)
{
    if (index >= 0 && index < Count()) images_.erase(images_.begin() + index);
}

void TImageList::Clear() { images_.clear(); }

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const
{
    if (!canvas || index < 0 || index >= Count()) return;
    TBitmap* img = images_[std::size_t(index)].get();
    if (enabled) {
        canvas->Draw(x, y, img);
        return;
    }
    // Greyed: every drawn pixel becomes its grey value, lightened.
    TBitmap grey;
    grey.Assign(*img);
    for (int row = 0; row < grey.Height(); ++row) {
        std::uint32_t* line = grey.ScanLine(row);
        for (int col = 0; col < grey.Width(); ++col) {
            std::uint32_t p = line[col];
            unsigned v = (((p >> 16) & 255) * 30 + ((p >> 8) & 255) * 59 + (p & 255) * 11) / 100;
            v = 128 + v / 2;
            line[col] = (p & 0xFF000000u) | (v << 16) | (v << 8) | v;
        }
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
    bitmap->Canvas()->CopyRect(Rect(0, 0, width_, height_), images_[std::size_t(index)]->Canvas(),
                               Rect(0, 0, width_, height_));
}

}  // namespace platform
