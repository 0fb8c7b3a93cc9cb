// TBitmap with its own BMP reader and writer, TGraphic files, TPicture.
#include <QBuffer>
#include <QImageReader>

#include <cstring>
#include <sstream>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "platform/Private.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/PictureFile.h"

namespace platform {

QImage& BitmapImage(TBitmap& b) { return b.impl()->image; }

// ---------------------------------------------------------------- TGraphic

void TGraphic::LoadFromFile(const std::string& fileName)
{
    std::istringstream in(ReadPictureFile(fileName));
    LoadFromStream(in);
}

void TGraphic::SaveToFile(const std::string& fileName) const
{
    std::ostringstream out;
    SaveToStream(out);
    std::string why;
    bool created = false;
    if (!base::WriteFileAtomic(fileName, out.str(), &why, &created))
        throw base::EInOutError(std::string(created ? "Cannot write file \"" : "Cannot create file \"") + fileName +
                                "\". " + why);
}

void TGraphic::SetTransparent(bool t)
{
    if (t != transparent_) {
        transparent_ = t;
        Changed();
    }
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : impl_(std::make_unique<Impl>())
{
    impl_->dc.image = &impl_->image;
}

TBitmap::TBitmap(int w, int h) : TBitmap() { SetSize(w, h); }

TBitmap::~TBitmap() = default;

int TBitmap::GetWidth() const { return impl_->image.isNull() ? impl_->emptyWidth : impl_->image.width(); }
int TBitmap::GetHeight() const { return impl_->image.isNull() ? impl_->emptyHeight : impl_->image.height(); }
bool TBitmap::GetEmpty() const { return impl_->image.isNull(); }
void TBitmap::SetWidth(int w) { SetSize(w, GetHeight()); }
void TBitmap::SetHeight(int h) { SetSize(GetWidth(), h); }

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == GetWidth() && h == GetHeight()) return;
    impl_->emptyWidth = w;
    impl_->emptyHeight = h;
    if (w == 0 || h == 0) {
        impl_->image = QImage();
    } else {
        // New area is white; what fits of the old picture stays.
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        if (!impl_->image.isNull()) {
            QPainter p(&img);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, impl_->image);
        }
        impl_->image = img;
    }
    if (canvas_) canvas_->Refresh();
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>();
        canvas_->AttachDC(&impl_->dc);
    }
    return canvas_.get();
}

std::uint32_t* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= GetHeight()) throw base::ERangeError("Scan line index out of range");
    return reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(row));
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (GetEmpty()) return clDefault;
    return TColor(FromQRgb(impl_->image.pixel(0, GetHeight() - 1)));
}

void TBitmap::SetTransparentColor(TColor c)
{
    transparentColor_ = c;
    transparentMode_ = c == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::Assign(const TPersistent& source)
{
    if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
        if (b == this) return;
        impl_->image = b->impl_->image.copy();
        impl_->emptyWidth = b->impl_->emptyWidth;
        impl_->emptyHeight = b->impl_->emptyHeight;
        pixelFormat_ = b->pixelFormat_;
        transparentMode_ = b->transparentMode_;
        transparentColor_ = b->transparentColor_;
        transparent_ = b->transparent_;
        if (canvas_) canvas_->Refresh();
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r)
{
    if (GetEmpty()) return;
    HDC dst = canvas.Handle();
    if (!transparent_) {
        StretchBlt(dst, r.Left, r.Top, r.Width(), r.Height(), &impl_->dc, 0, 0, GetWidth(), GetHeight(),
                   canvas.CopyMode);
        return;
    }
    // Pixels of the transparent colour leave the target as it was.
    QImage masked = impl_->image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(ColorToRGB(TransparentColor())).rgb() & 0xFFFFFF;
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    if (dst->recorder) dst->recorder->Blt(*dst, r, masked, SRCCOPY);
    QPainter p;
    if (!dst->BeginDevice(p)) return;
    const QRect target = dst->ToDeviceRect(ToQRect(r));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(target, masked);
    p.end();
    dst->Drawn(target);
}

namespace {

std::uint32_t U32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t U16(const unsigned char* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
void Put32(std::string& s, std::uint32_t v) { for (int i = 0; i < 4; ++i) s.push_back(char((v >> (8 * i)) & 255)); }
void Put16(std::string& s, std::uint16_t v) { s.push_back(char(v & 255)); s.push_back(char(v >> 8)); }

// 256 MB of 32-bit pixels.
constexpr std::size_t kMaxRlePixels = std::size_t(1) << 26;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

// Value of a masked field scaled to 0..255.
int MaskedValue(std::uint32_t v, std::uint32_t mask)
{
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    std::uint32_t max = mask >> shift;
    return int(((v & mask) >> shift) * 255 / max);
}

QImage DecodeBmp(const std::string& data)
{
    const auto* d = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t n = data.size();
    if (n < 26 || d[0] != 'B' || d[1] != 'M') Invalid();
    const std::uint32_t offBits = U32(d + 10);
    const std::uint32_t hdrSize = U32(d + 14);
    if (14 + std::size_t(hdrSize) > n || hdrSize < 12) Invalid();
    long width, height;
    int bits, planes;
    std::uint32_t compression = 0, clrUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    std::uint32_t alphaMask = 0;  // headers from the fourth version on may name one
    const bool core = hdrSize == 12;
    if (core) {
        width = U16(d + 18);
        height = std::int16_t(U16(d + 20));
        planes = U16(d + 22);
        bits = U16(d + 24);
    } else {
        if (hdrSize < 40) Invalid();
        width = std::int32_t(U32(d + 18));
        height = std::int32_t(U32(d + 22));
        planes = U16(d + 26);
        bits = U16(d + 28);
        compression = U32(d + 30);
        clrUsed = U32(d + 46);
        if (compression == 3 || compression == 6) {
            if (hdrSize >= 52) {
                masks[0] = U32(d + 54); masks[1] = U32(d + 58); masks[2] = U32(d + 62);
                if (hdrSize >= 56 && bits == 32) alphaMask = U32(d + 66);
            } else if (14 + 40 + 12 <= n) {
                masks[0] = U32(d + 54); masks[1] = U32(d + 58); masks[2] = U32(d + 62);
            } else {
                Invalid();
            }
        }
    }
    (void)planes;
    const bool topDown = height < 0;
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) Invalid();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid();
    if (!(compression == 0 || compression == 1 || compression == 2 || compression == 3 || compression == 6)) Invalid();
    if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4)) Invalid();
    if (compression == 3 && bits != 16 && bits != 32) Invalid();
    if ((bits == 16 || bits == 32) && compression == 0) {
        if (bits == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; }
        else { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
    }

    std::vector<QRgb> palette;
    if (bits <= 8) {
        std::size_t count = clrUsed ? clrUsed : (1u << bits);
        if (count > 256) Invalid();
        const std::size_t entry = core ? 3 : 4;
        std::size_t at = 14 + hdrSize + ((compression == 3) && hdrSize == 40 ? 12 : 0);
        if (at + count * entry > n) Invalid();
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char* e = d + at + i * entry;
            palette.push_back(qRgb(e[2], e[1], e[0]));
        }
        palette.resize(256, qRgb(0, 0, 0));
    }

    if (offBits >= n) Invalid();
    const bool rle = compression == 1 || compression == 2;
    const std::size_t stride = ((std::size_t(width) * std::size_t(bits) + 31) / 32) * 4;
    // A few header bytes must not make a picture of gigabytes: plain pixels must all be
    // there, and run-length pictures are held to what an image reader accepts.
    if (!rle && offBits + stride * std::size_t(height) > n) Invalid();
    if (rle && std::size_t(width) * std::size_t(height) > kMaxRlePixels) Invalid();
    QImage img(int(width), int(height), QImage::Format_RGB32);
    if (img.isNull()) Invalid();
    img.fill(Qt::black);
    auto rowOf = [&](long y) { return int(topDown ? y : height - 1 - y); };

    if (rle) {
        // Run-length encoded 8 or 4 bits, bottom-up.
        std::size_t p = offBits;
        long x = 0, y = 0;
        auto put = [&](int index) {
            if (x < width && y < height) img.setPixel(int(x), rowOf(y), palette[std::size_t(index)]);
            ++x;
        };
        while (p + 1 < n && y < height) {
            int count = d[p], value = d[p + 1];
            p += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i)
                    put(compression == 1 ? value : (i % 2 == 0 ? value >> 4 : value & 15));
            } else if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                if (p + 1 >= n) break;
                x += d[p];
                y += d[p + 1];
                p += 2;
            } else {
                std::size_t bytes = compression == 1 ? std::size_t(value) : std::size_t((value + 1) / 2);
                if (p + bytes > n) Invalid();
                for (int i = 0; i < value; ++i)
                    put(compression == 1 ? d[p + std::size_t(i)]
                                         : (i % 2 == 0 ? d[p + std::size_t(i / 2)] >> 4 : d[p + std::size_t(i / 2)] & 15));
                p += (bytes + 1) & ~std::size_t(1);
            }
        }
        return img;
    }

    for (long y = 0; y < height; ++y) {
        const unsigned char* row = d + offBits + std::size_t(y) * stride;
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(rowOf(y)));
        for (long x = 0; x < width; ++x) {
            QRgb c;
            switch (bits) {
            case 1: c = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: c = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
            case 8: c = palette[row[x]]; break;
            case 16: {
                std::uint32_t v = U16(row + 2 * x);
                c = qRgb(MaskedValue(v, masks[0]), MaskedValue(v, masks[1]), MaskedValue(v, masks[2]));
                break;
            }
            case 24: c = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            default: {
                std::uint32_t v = U32(row + 4 * x);
                c = qRgba(MaskedValue(v, masks[0]), MaskedValue(v, masks[1]), MaskedValue(v, masks[2]),
                          alphaMask ? MaskedValue(v, alphaMask) : 255);
                break;
            }
            }
            out[x] = c;
        }
    }
    return img;
}

TPixelFormat FormatOfBits(int bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

}  // namespace

void TBitmap::LoadFromStream(std::istream& s)
{
    std::ostringstream buf;
    buf << s.rdbuf();
    std::string data = buf.str();
    impl_->image = DecodeBmp(data);
    pixelFormat_ = FormatOfBits(data.size() >= 30 ? (U32(reinterpret_cast<const unsigned char*>(data.data()) + 14) == 12
                                                          ? U16(reinterpret_cast<const unsigned char*>(data.data()) + 24)
                                                          : U16(reinterpret_cast<const unsigned char*>(data.data()) + 28))
                                                   : 24);
    if (canvas_) canvas_->Refresh();
    Changed();
}

void TBitmap::SaveToStream(std::ostream& s) const
{
    const int w = GetWidth(), h = GetHeight();
    const std::uint32_t stride = ((std::uint32_t(w) * 24 + 31) / 32) * 4;
    const std::uint32_t imageSize = stride * std::uint32_t(h);
    std::string out;
    out.reserve(54 + imageSize);
    out += "BM";
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, std::uint32_t(w));
    Put32(out, std::uint32_t(h));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 3780);  // 96 dots per inch
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(impl_->image.constScanLine(y));
        std::size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            out.push_back(char(qBlue(line[x])));
            out.push_back(char(qGreen(line[x])));
            out.push_back(char(qRed(line[x])));
        }
        out.append(stride - (out.size() - start), '\0');
    }
    s.write(out.data(), std::streamsize(out.size()));
}

void TBitmap::SaveToStreamWithAlpha(std::ostream& s) const
{
    const int w = GetWidth(), h = GetHeight();
    const std::uint32_t imageSize = std::uint32_t(w) * std::uint32_t(h) * 4;
    std::string out;
    out.reserve(122 + imageSize);
    out += "BM";
    Put32(out, 122 + imageSize);
    Put32(out, 0);
    Put32(out, 122);
    Put32(out, 108);  // the fourth version's header, which has an alpha mask
    Put32(out, std::uint32_t(w));
    Put32(out, std::uint32_t(h));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 3);  // bit fields
    Put32(out, imageSize);
    Put32(out, 3780);
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0x00FF0000);
    Put32(out, 0x0000FF00);
    Put32(out, 0x000000FF);
    Put32(out, 0xFF000000);
    Put32(out, 0x73524742);  // sRGB
    out.append(48, '\0');  // end points and gamma
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(impl_->image.constScanLine(y));
        for (int x = 0; x < w; ++x) Put32(out, line[x]);
    }
    s.write(out.data(), std::streamsize(out.size()));
}

bool TBitmap::LoadFromImageData(const std::string& bytes)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        try {
            impl_->image = DecodeBmp(bytes);
        } catch (const EInvalidGraphic&) {
            return false;
        }
    } else {
        QByteArray ba(bytes.data(), qsizetype(bytes.size()));
        QBuffer buffer(&ba);
        QImageReader reader(&buffer);
        QImage img = reader.read();
        if (img.isNull()) return false;
        if (img.hasAlphaChannel()) {
            // Transparent parts over white, as the desktop shows them.
            QImage flat(img.size(), QImage::Format_RGB32);
            flat.fill(Qt::white);
            QPainter p(&flat);
            p.drawImage(0, 0, img);
            p.end();
            impl_->image = flat;
        } else {
            impl_->image = img.convertToFormat(QImage::Format_RGB32);
        }
    }
    pixelFormat_ = pf24bit;
    if (canvas_) canvas_->Refresh();
    Changed();
    return true;
}

bool TBitmap::LoadFromImageFile(const std::string& fileName)
{
    std::string data;
    if (!base::ReadFileLimited(fileName, data, kMaxPictureFileSize)) return false;
    return LoadFromImageData(data);
}

// ---------------------------------------------------------------- TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange) OnChange(this);
}

void TPicture::Assign(const TPersistent& source)
{
    if (auto* p = dynamic_cast<const TPicture*>(&source)) {
        if (p == this) return;
        if (auto* b = dynamic_cast<TBitmap*>(p->graphic_.get())) {
            auto copy = std::make_unique<TBitmap>();
            copy->Assign(*b);
            graphic_ = std::move(copy);
        } else if (auto* icon = dynamic_cast<TIcon*>(p->graphic_.get())) {
            auto copy = std::make_unique<TIcon>();
            copy->Assign(*icon);
            graphic_ = std::move(copy);
        } else {
            graphic_.reset();
        }
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*b);
        graphic_ = std::move(copy);
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::SetGraphic(TGraphic* g)
{
    if (auto* b = dynamic_cast<TBitmap*>(g)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*b);
        graphic_ = std::move(copy);
    } else {
        graphic_.reset(g);
    }
    Changed();
}

TBitmap* TPicture::Bitmap()
{
    auto* b = dynamic_cast<TBitmap*>(graphic_.get());
    if (!b) {
        graphic_ = std::make_unique<TBitmap>();
        b = static_cast<TBitmap*>(graphic_.get());
        Changed();
    }
    return b;
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    std::string ext;
    auto dot = fileName.rfind('.');
    if (dot != std::string::npos) ext = fileName.substr(dot + 1);
    for (char& c : ext) c = char(std::tolower((unsigned char)c));
    if (ext == "ico") {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromFile(fileName);
        graphic_ = std::move(icon);
        Changed();
        return;
    }
    auto b = std::make_unique<TBitmap>();
    if (ext == "bmp") {
        b->LoadFromFile(fileName);
    } else if (ext == "png" || ext == "jpg" || ext == "jpeg" || ext == "gif") {
        if (!b->LoadFromImageData(ReadPictureFile(fileName)))
            throw EInvalidGraphic("Invalid graphic format: \"" + fileName + "\" cannot be decoded as ." + ext);
    } else {
        throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    }
    graphic_ = std::move(b);
    Changed();
}

void TPicture::SaveToFile(const std::string& fileName) const
{
    if (graphic_) graphic_->SaveToFile(fileName);
}

}  // namespace platform
