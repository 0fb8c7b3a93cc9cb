#include "widgets/html/HTMLImage.h"

#include <algorithm>

#include "platform/graphics/GDI.h"

namespace html {

THTMLImage::THTMLImage(platform::TComponent* AOwner)
    : platform::TGraphicControl(AOwner), htmlPicture_(std::make_unique<THTMLPicture>())
{
    SetBounds(Left(), Top(), 100, 100);
    htmlPicture_->OnChange = [this](platform::TObject*) { Repaint(); };
    htmlPicture_->OnDownLoadCancel = [this](platform::TObject*, bool& Cancel) {
        if (OnDownLoadCancel)
            OnDownLoadCancel(this, Cancel);
    };
    htmlPicture_->OnDownLoadComplete = [this](platform::TObject*) {
        if (OnDownLoadComplete)
            OnDownLoadComplete(this);
    };
    htmlPicture_->OnDownLoadError = [this](platform::TObject*, const std::string& err) {
        if (OnDownLoadError)
            OnDownLoadError(this, err);
    };
    htmlPicture_->OnDownLoadProgress = [this](platform::TObject*, std::uint32_t size, std::uint32_t total) {
        if (OnDownLoadProgress)
            OnDownLoadProgress(this, size, total);
    };
}

THTMLImage::~THTMLImage()
{
    htmlPicture_->OnChange = nullptr;
}

void THTMLImage::Loaded()
{
    platform::TGraphicControl::Loaded();
    platform::HDC dc = Canvas()->Handle();
    if (!dc)
        return;
    htmlPicture_->PixelsPerInchX = platform::GetDeviceCaps(dc, platform::LOGPIXELSX);
    htmlPicture_->PixelsPerInchY = platform::GetDeviceCaps(dc, platform::LOGPIXELSY);
}

void THTMLImage::SetHTMLPicture(const THTMLPicture& Value)
{
    htmlPicture_->Assign(Value);
    Repaint();
}

void THTMLImage::SetPicturePosition(TPicturePosition Value)
{
    if (Value == picturePosition_)
        return;
    picturePosition_ = Value;
    Repaint();
}

void THTMLImage::Paint()
{
    PaintTo(*Canvas());
}

void THTMLImage::PaintTo(platform::TCanvas& canvas)
{
    THTMLPicture& pic = *htmlPicture_;
    if (pic.Empty())
        return;
    const int W = Width(), H = Height();
    const int w = pic.GetWidth(), h = pic.GetHeight();
    auto drawAt = [&](int x, int y) { pic.Draw(canvas, platform::Rect(x, y, x + w, y + h)); };
    switch (picturePosition_) {
    case bpTopLeft: drawAt(0, 0); break;
    case bpTopRight: drawAt(std::max(0, W - w), 0); break;
    case bpBottomLeft: drawAt(0, std::max(0, H - h)); break;
    case bpBottomRight: drawAt(std::max(0, W - w), std::max(0, H - h)); break;
    case bpCenter: drawAt(std::max(0, W - w) / 2, std::max(0, H - h) / 2); break;
    case bpTiled:
        if (w > 0 && h > 0)
            for (int y = 0; y < H; y += h)
                for (int x = 0; x < W; x += w)
                    drawAt(x, y);
        break;
    case bpStretched: pic.Draw(canvas, platform::Rect(0, 0, W, H)); break;
    }
}

}  // namespace html
