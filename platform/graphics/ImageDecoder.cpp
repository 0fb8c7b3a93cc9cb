#include "platform/graphics/ImageDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "platform/Private.h"

namespace platform {

namespace {

int ToHimetric(int pixels)
{
    // MulDiv(pixels, 2540, 96), rounded half away from zero
    long long n = static_cast<long long>(pixels) * 2540;
    return static_cast<int>((n + (n >= 0 ? 48 : -48)) / 96);
}

}  // namespace

struct DecodedImage::Impl {
    QImage image;
};

DecodedImage::DecodedImage(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DecodedImage::~DecodedImage() = default;

int DecodedImage::Width() const { return impl_->image.width(); }
int DecodedImage::Height() const { return impl_->image.height(); }
int DecodedImage::HimetricWidth() const { return ToHimetric(Width()); }
int DecodedImage::HimetricHeight() const { return ToHimetric(Height()); }

void DecodedImage::Draw(HDC dc, const TRect& dest) const
{
    if (!dc || IsRectEmpty(dest) || impl_->image.isNull())
        return;
    QPainter p;
    if (!dc->BeginDevice(p))
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect device = dc->ToDeviceRect(ToQRect(dest));
    p.drawImage(device, impl_->image);
    p.end();
    dc->Drawn(device);
}

COLORREF DecodedImage::PixelAt(int x, int y) const
{
    if (!impl_->image.valid(x, y))
        return 0xFFFFFFFF;
    return FromQRgb(impl_->image.pixel(x, y));
}

struct ImageDecoder::Impl {
    QByteArray data;
    QString format;
    std::vector<QImage> frames;
    std::vector<int> delays;
    int current = 0;
};

ImageDecoder::ImageDecoder(std::string bytes) : impl_(std::make_unique<Impl>())
{
    impl_->data = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&impl_->data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    impl_->format = QString::fromLatin1(reader.format()).toLower();
    if (!reader.canRead())
        return;
    // Animations are read whole up front; the frames are few and small.
    while (true) {
        QImage img = reader.read();
        if (img.isNull())
            break;
        impl_->frames.push_back(std::move(img));
        impl_->delays.push_back(std::max(0, reader.nextImageDelay()));
        if (!reader.supportsAnimation() || impl_->frames.size() >= 10000)
            break;
    }
}

ImageDecoder::~ImageDecoder() = default;

std::unique_ptr<DecodedImage> ImageDecoder::Decode(const std::string& bytes)
{
    ImageDecoder d(bytes);
    return d.ReadFrame();
}

bool ImageDecoder::CanRead() const { return !impl_->frames.empty(); }
std::string ImageDecoder::Format() const { return impl_->format.toStdString(); }
int ImageDecoder::FrameCount() const { return static_cast<int>(impl_->frames.size()); }
int ImageDecoder::CurrentFrame() const { return impl_->current; }

std::unique_ptr<DecodedImage> ImageDecoder::ReadFrame()
{
    if (impl_->current < 0 || impl_->current >= FrameCount())
        return nullptr;
    auto img = std::make_unique<DecodedImage::Impl>();
    img->image = impl_->frames[static_cast<std::size_t>(impl_->current)];
    return std::unique_ptr<DecodedImage>(new DecodedImage(std::move(img)));
}

bool ImageDecoder::NextFrame()
{
    return JumpToFrame(impl_->current + 1);
}

bool ImageDecoder::JumpToFrame(int index)
{
    if (index < 0 || index >= FrameCount())
        return false;
    impl_->current = index;
    return true;
}

int ImageDecoder::FrameDelay() const
{
    if (impl_->current < 0 || impl_->current >= FrameCount() || FrameCount() < 2)
        return 0;
    return impl_->delays[static_cast<std::size_t>(impl_->current)];
}

}  // namespace platform
