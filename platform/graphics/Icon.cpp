// Icons: our own .ico reader and writer, icon handles, drawing through the masks.
#include "platform/graphics/Icon.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/Private.h"
#include "platform/graphics/IconImage.h"

namespace platform {

namespace {

constexpr int kMaxSide = 1024;

unsigned U8(const std::string& d, std::size_t at) { return (unsigned char)d[at]; }
unsigned U16(const std::string& d, std::size_t at) { return U8(d, at) | U8(d, at + 1) << 8; }
std::uint32_t U32(const std::string& d, std::size_t at) { return U16(d, at) | std::uint32_t(U16(d, at + 2)) << 16; }
void Put16(std::string& s, unsigned v) { s.push_back(char(v & 255)); s.push_back(char((v >> 8) & 255)); }
void Put32(std::string& s, std::uint32_t v) { Put16(s, v & 0xFFFF); Put16(s, v >> 16); }

struct IconData {
    std::vector<IconImage> images;
};

std::map<HICON, std::shared_ptr<IconData>>& Icons()
{
    static std::map<HICON, std::shared_ptr<IconData>> icons;
    return icons;
}
HICON gNextIcon = 0x20000;

HICON NewHandle(std::shared_ptr<IconData> data)
{
    const HICON h = gNextIcon++;
    Icons()[h] = std::move(data);
    return h;
}

IconData* Find(HICON h)
{
    auto it = Icons().find(h);
    return it == Icons().end() ? nullptr : it->second.get();
}

// A DIB as icons keep it: the header gives twice the height, the colour rows come first,
// the AND mask (1 bit, rows padded to 32 bits) after them.
bool DecodeDib(const std::string& d, IconImage& out)
{
    if (d.size() < 40) return false;
    const std::uint32_t headerSize = U32(d, 0);
    const int w = int(std::int32_t(U32(d, 4)));
    const int h2 = int(std::int32_t(U32(d, 8)));
    const unsigned bits = U16(d, 14);
    const std::uint32_t compression = U32(d, 16);
    std::uint32_t colorsUsed = U32(d, 32);
    if (headerSize < 40 || headerSize > d.size() || w <= 0 || w > kMaxSide || h2 <= 0 || h2 > 2 * kMaxSide) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (!(compression == 0 || (compression == 3 && (bits == 16 || bits == 32)))) return false;
    const int h = h2 / 2 > 0 ? h2 / 2 : h2;
    std::size_t at = headerSize;
    std::uint32_t masks[3] = {0, 0, 0};
    if (compression == 3) {
        if (headerSize == 40) {
            if (d.size() < at + 12) return false;
            for (int i = 0; i < 3; ++i) masks[i] = U32(d, at + 4 * i);
            at += 12;
        } else if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = U32(d, 40 + 4 * i);
        }
    }
    std::vector<QRgb> palette;
    if (bits <= 8) {
        if (colorsUsed == 0 || colorsUsed > (1u << bits)) colorsUsed = 1u << bits;
        if (d.size() < at + 4 * std::size_t(colorsUsed)) return false;
        for (std::uint32_t i = 0; i < colorsUsed; ++i)
            palette.push_back(qRgb(int(U8(d, at + 4 * i + 2)), int(U8(d, at + 4 * i + 1)), int(U8(d, at + 4 * i))));
        at += 4 * std::size_t(colorsUsed);
    }
    const std::size_t stride = ((std::size_t(w) * bits + 31) / 32) * 4;
    const std::size_t maskStride = ((std::size_t(w) + 31) / 32) * 4;
    if (d.size() < at + stride * std::size_t(h)) return false;
    const std::size_t maskAt = at + stride * std::size_t(h);
    // Some 32-bit images leave the mask out; their alpha carries it.
    const bool hasMask = d.size() >= maskAt + maskStride * std::size_t(h);

    auto field = [](std::uint32_t v, std::uint32_t mask) -> int {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        const std::uint32_t max = mask >> shift;
        return int(((v & mask) >> shift) * 255 / max);
    };
    if (compression == 3 && bits == 16 && !masks[0]) masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
    out.color = QImage(w, h, QImage::Format_ARGB32);
    out.mask.assign(std::size_t(w) * std::size_t(h), 0);
    bool anyAlpha = false;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = at + stride * std::size_t(h - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(out.color.scanLine(y));
        for (int x = 0; x < w; ++x) {
            QRgb c = 0;
            switch (bits) {
            case 1: case 4: case 8: {
                const std::size_t bit = std::size_t(x) * bits;
                const unsigned byte = U8(d, row + bit / 8);
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                c = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
                break;
            }
            case 16: {
                const unsigned v = U16(d, row + 2 * std::size_t(x));
                if (compression == 3)
                    c = qRgb(field(v, masks[0]), field(v, masks[1]), field(v, masks[2]));
                else
                    c = qRgb(int((v >> 10) & 31) * 255 / 31, int((v >> 5) & 31) * 255 / 31, int(v & 31) * 255 / 31);
                break;
            }
            case 24:
                c = qRgb(int(U8(d, row + 3 * std::size_t(x) + 2)), int(U8(d, row + 3 * std::size_t(x) + 1)),
                         int(U8(d, row + 3 * std::size_t(x))));
                break;
            case 32: {
                const std::uint32_t v = U32(d, row + 4 * std::size_t(x));
                if (compression == 3 && masks[0])
                    c = qRgba(field(v, masks[0]), field(v, masks[1]), field(v, masks[2]), int(v >> 24));
                else
                    c = qRgba(int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255), int(v >> 24));
                if (qAlpha(c)) anyAlpha = true;
                break;
            }
            }
            line[x] = c;
            if (hasMask) {
                const unsigned byte = U8(d, maskAt + maskStride * std::size_t(h - 1 - y) + std::size_t(x) / 8);
                out.mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] = std::uint8_t((byte >> (7 - x % 8)) & 1);
            }
        }
    }
    out.alpha = bits == 32 && anyAlpha;
    out.bits = int(bits);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.color.scanLine(y));
        for (int x = 0; x < w; ++x) {
            std::uint8_t& m = out.mask[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            if (out.alpha) {
                m = qAlpha(line[x]) == 0;
            } else {
                line[x] |= 0xFF000000u;
            }
        }
    }
    return true;
}

bool DecodeImage(const std::string& raw, IconImage& out)
{
    out.raw = raw;
    if (raw.size() >= 8 && raw.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        QImage img = QImage::fromData(QByteArray(raw.data(), qsizetype(raw.size())), "PNG");
        if (img.isNull() || img.width() > kMaxSide || img.height() > kMaxSide) return false;
        out.color = img.convertToFormat(QImage::Format_ARGB32);
        out.alpha = true;
        out.bits = 32;
        out.mask.assign(std::size_t(img.width()) * std::size_t(img.height()), 0);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<const QRgb*>(out.color.constScanLine(y));
            for (int x = 0; x < img.width(); ++x)
                out.mask[std::size_t(y) * std::size_t(img.width()) + std::size_t(x)] = qAlpha(line[x]) == 0;
        }
        return true;
    }
    return DecodeDib(raw, out);
}

// ICONDIR and its 16-byte entries: the images that follow, in file order.
bool ParseIco(const std::string& d, std::vector<IconImage>& images)
{
    if (d.size() < 6 || U16(d, 0) != 0 || U16(d, 2) != 1) return false;
    const unsigned count = U16(d, 4);
    if (count == 0 || d.size() < 6 + 16 * std::size_t(count)) return false;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16 * std::size_t(i);
        const std::uint32_t size = U32(d, e + 8), offset = U32(d, e + 12);
        if (offset > d.size() || size > d.size() - offset) return false;
        IconImage img;
        if (!DecodeImage(d.substr(offset, size), img)) return false;
        img.entry = d.substr(e, 8);
        images.push_back(std::move(img));
    }
    return true;
}

// The directory fields of an image: width, height (0 for 256), colours, planes, bits.
void PutEntryHead(std::string& s, const IconImage& img)
{
    if (img.entry.size() == 8) {
        s += img.entry;
        return;
    }
    s.push_back(char(img.Width() >= 256 ? 0 : img.Width()));
    s.push_back(char(img.Height() >= 256 ? 0 : img.Height()));
    s.push_back(char(img.bits < 8 ? 1 << img.bits : 0));
    s.push_back(0);
    Put16(s, 1);
    Put16(s, unsigned(img.bits));
}

std::string WriteIco(const std::vector<IconImage>& images)
{
    std::string s;
    Put16(s, 0);
    Put16(s, 1);
    Put16(s, unsigned(images.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (const IconImage& img : images) {
        PutEntryHead(s, img);
        Put32(s, std::uint32_t(img.raw.size()));
        Put32(s, offset);
        offset += std::uint32_t(img.raw.size());
    }
    for (const IconImage& img : images) s += img.raw;
    return s;
}

// The image whose size is nearest to w by h; of equal ones the deepest.
const IconImage* Nearest(const IconData& data, int w, int h)
{
    const IconImage* best = nullptr;
    int bestDistance = 0;
    for (const IconImage& img : data.images) {
        const int distance = std::abs(img.Width() - w) + std::abs(img.Height() - h);
        if (!best || distance < bestDistance || (distance == bestDistance && img.bits > best->bits)) {
            best = &img;
            bestDistance = distance;
        }
    }
    return best;
}

void DrawImage(HDC dc, const QRect& target, const QImage& img, QPainter::CompositionMode mode, DWORD rop)
{
    if (dc->recorder) dc->recorder->Blt(*dc, FromQRect(target), img, rop);
    QPainter p;
    if (!dc->BeginDevice(p)) return;
    const QRect device = dc->ToDeviceRect(target);
    p.setCompositionMode(mode);
    p.drawImage(device, img);
    p.end();
    dc->Drawn(device);
}

}  // namespace

// ---------------------------------------------------------------- IconImage

std::string IconImage::EncodeDib(const QImage& color, const std::vector<std::uint8_t>& mask, bool alpha)
{
    const int w = color.width(), h = color.height();
    const std::size_t maskStride = ((std::size_t(w) + 31) / 32) * 4;
    std::string s;
    Put32(s, 40);
    Put32(s, std::uint32_t(w));
    Put32(s, std::uint32_t(2 * h));
    Put16(s, 1);
    Put16(s, 32);
    Put32(s, 0);
    Put32(s, std::uint32_t(4 * w * h + int(maskStride) * h));
    Put32(s, 0);
    Put32(s, 0);
    Put32(s, 0);
    Put32(s, 0);
    // Without an alpha channel every alpha byte is 0, so readers go by the mask.
    for (int y = h - 1; y >= 0; --y) {
        auto* line = reinterpret_cast<const QRgb*>(color.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            s.push_back(char(qBlue(c)));
            s.push_back(char(qGreen(c)));
            s.push_back(char(qRed(c)));
            s.push_back(char(alpha ? qAlpha(c) : 0));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        std::string row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (mask[std::size_t(y) * std::size_t(w) + std::size_t(x)]) row[std::size_t(x) / 8] |= char(0x80 >> (x % 8));
        s += row;
    }
    return s;
}

IconImage IconImage::FromArgb(const QImage& argb, const std::vector<std::uint8_t>* mask)
{
    IconImage img;
    img.color = argb.convertToFormat(QImage::Format_ARGB32);
    const int w = img.color.width(), h = img.color.height();
    img.mask.assign(std::size_t(w) * std::size_t(h), 0);
    img.alpha = !mask;
    img.bits = 32;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.color.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
            if (mask) {
                img.mask[i] = (*mask)[i] ? 1 : 0;
                line[x] |= 0xFF000000u;
                if (img.mask[i]) line[x] = 0xFF000000u;  // transparent: black in the image
            } else {
                img.mask[i] = qAlpha(line[x]) == 0;
            }
        }
    }
    img.raw = EncodeDib(img.color, img.mask, img.alpha);
    return img;
}

bool IconImage::Inverts() const
{
    if (alpha) return false;
    const int w = Width();
    for (int y = 0; y < Height(); ++y) {
        auto* line = reinterpret_cast<const QRgb*>(color.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] && (line[x] & 0xFFFFFF)) return true;
    }
    return false;
}

QImage IconImage::Composed() const
{
    QImage out = color.copy();
    if (alpha) return out;
    const int w = Width();
    for (int y = 0; y < Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            if (mask[std::size_t(y) * std::size_t(w) + std::size_t(x)]) line[x] = 0;
    }
    return out;
}

QImage IconImage::MaskImage() const
{
    QImage out(Width(), Height(), QImage::Format_RGB32);
    const int w = Width();
    for (int y = 0; y < Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return out;
}

const IconImage* IconImageFor(HICON icon, int w, int h)
{
    const IconData* data = Find(icon);
    return data ? Nearest(*data, w, h) : nullptr;
}

HICON CreateIconFromImages(std::vector<IconImage> images)
{
    if (images.empty()) return 0;
    auto data = std::make_shared<IconData>();
    data->images = std::move(images);
    return NewHandle(std::move(data));
}

void DrawIconImage(HDC dc, const QRect& target, const IconImage& img, UINT flags)
{
    if (!dc || target.isEmpty()) return;
    const bool scaled = target.size() != img.color.size();
    auto sized = [&](const QImage& i, bool smooth) {
        return scaled ? i.scaled(target.size(), Qt::IgnoreAspectRatio, smooth ? Qt::SmoothTransformation : Qt::FastTransformation)
                      : i;
    };
    if ((flags & DI_NORMAL) == DI_NORMAL) {
        if (!img.Inverts()) {
            DrawImage(dc, target, sized(img.Composed(), img.alpha), QPainter::CompositionMode_SourceOver, SRCCOPY);
            return;
        }
        DrawImage(dc, target, sized(img.MaskImage(), false), QPainter::RasterOp_SourceAndDestination, SRCAND);
        DrawImage(dc, target, sized(img.color.convertToFormat(QImage::Format_RGB32), false),
                  QPainter::RasterOp_SourceXorDestination, SRCINVERT);
    } else if (flags & DI_MASK) {
        DrawImage(dc, target, sized(img.MaskImage(), false), QPainter::CompositionMode_Source, SRCCOPY);
    } else if (flags & DI_IMAGE) {
        if (img.alpha)
            DrawImage(dc, target, sized(img.color, true), QPainter::CompositionMode_SourceOver, SRCCOPY);
        else
            DrawImage(dc, target, sized(img.color.convertToFormat(QImage::Format_RGB32), false),
                      QPainter::CompositionMode_Source, SRCCOPY);
    }
}

// ---------------------------------------------------------------- handles

HICON CreateIconFromData(const std::string& icoBytes)
{
    std::vector<IconImage> images;
    if (!ParseIco(icoBytes, images)) return 0;
    return CreateIconFromImages(std::move(images));
}

HICON CreateIconFromBitmaps(TBitmap* color, TBitmap* mask)
{
    if (!color || color->Empty()) return 0;
    const QImage& c = BitmapImage(*color);
    std::vector<std::uint8_t> bits(std::size_t(c.width()) * std::size_t(c.height()), 0);
    if (mask && !mask->Empty()) {
        const QImage m = BitmapImage(*mask).scaled(c.size());
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x)
                bits[std::size_t(y) * std::size_t(c.width()) + std::size_t(x)] = qGray(m.pixel(x, y)) >= 128;
    }
    std::vector<IconImage> images;
    images.push_back(IconImage::FromArgb(c, &bits));
    return CreateIconFromImages(std::move(images));
}

namespace {

// RT_GROUP_ICON: the ICONDIR head, then 14-byte entries ending in the RT_ICON number.
HICON LoadGroup(HINSTANCE instance, const std::string& group)
{
    if (group.size() < 6 || U16(group, 0) != 0 || U16(group, 2) != 1) return 0;
    const unsigned count = U16(group, 4);
    if (count == 0 || group.size() < 6 + 14 * std::size_t(count)) return 0;
    std::vector<IconImage> images;
    for (unsigned i = 0; i < count; ++i) {
        std::string raw;
        if (!FindResourceData(instance, RT_ICON, int(U16(group, 6 + 14 * std::size_t(i) + 12)), raw)) return 0;
        IconImage img;
        if (!DecodeImage(raw, img)) return 0;
        img.entry = group.substr(6 + 14 * std::size_t(i), 8);
        images.push_back(std::move(img));
    }
    return CreateIconFromImages(std::move(images));
}

}  // namespace

HICON LoadIcon(HINSTANCE instance, const std::string& name)
{
    std::string group;
    return FindResourceData(instance, RT_GROUP_ICON, name, group) ? LoadGroup(instance, group) : 0;
}

HICON LoadIcon(HINSTANCE instance, int id)
{
    std::string group;
    return FindResourceData(instance, RT_GROUP_ICON, id, group) ? LoadGroup(instance, group) : 0;
}

bool RegisterIconResource(HINSTANCE instance, const std::string& name, const std::string& icoBytes, int firstImageId)
{
    std::vector<IconImage> images;
    if (!ParseIco(icoBytes, images) || firstImageId < 1 || firstImageId + int(images.size()) > 0x10000) return false;
    std::string group;
    Put16(group, 0);
    Put16(group, 1);
    Put16(group, unsigned(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        PutEntryHead(group, images[i]);
        Put32(group, std::uint32_t(images[i].raw.size()));
        Put16(group, unsigned(firstImageId + int(i)));
        RegisterResource(instance, RT_ICON, firstImageId + int(i), images[i].raw);
    }
    RegisterResource(instance, RT_GROUP_ICON, name, std::move(group));
    return true;
}

bool DestroyIcon(HICON icon) { return Icons().erase(icon) > 0; }

HICON CopyIcon(HICON icon)
{
    auto it = Icons().find(icon);
    if (it == Icons().end()) return 0;
    return NewHandle(std::make_shared<IconData>(*it->second));
}

bool GetIconSize(HICON icon, int* cx, int* cy)
{
    const IconData* data = Find(icon);
    if (!data || data->images.empty()) return false;
    if (cx) *cx = data->images.front().Width();
    if (cy) *cy = data->images.front().Height();
    return true;
}

int GetIconImageCount(HICON icon)
{
    const IconData* data = Find(icon);
    return data ? int(data->images.size()) : 0;
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, void* flickerFreeBrush, UINT flags)
{
    (void)step;
    (void)flickerFreeBrush;
    const IconData* data = Find(icon);
    if (!dc || !data || data->images.empty()) return false;
    if (cx <= 0 || cy <= 0) {
        const IconImage& first = data->images.front();
        if (cx <= 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : first.Width();
        if (cy <= 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : first.Height();
    }
    if (!(flags & DI_NORMAL)) flags |= DI_NORMAL;
    DrawIconImage(dc, QRect(x, y, cx, cy), *Nearest(*data, cx, cy), flags);
    return true;
}

bool DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

// ---------------------------------------------------------------- TIcon

TIcon::TIcon() = default;

TIcon::~TIcon()
{
    if (handle_) DestroyIcon(handle_);
}

void TIcon::Assign(const TPersistent& source)
{
    if (auto* icon = dynamic_cast<const TIcon*>(&source)) {
        if (icon == this) return;
        SetHandle(icon->handle_ ? CopyIcon(icon->handle_) : 0);
        width_ = icon->width_;
        height_ = icon->height_;
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::SetHandle(HICON icon)
{
    if (icon == handle_) return;
    if (handle_) DestroyIcon(handle_);
    handle_ = icon;
    Changed();
}

HICON TIcon::ReleaseHandle()
{
    const HICON h = handle_;
    handle_ = 0;
    return h;
}

int TIcon::GetWidth() const
{
    if (width_ > 0) return width_;
    int cx = 0;
    GetIconSize(handle_, &cx, nullptr);
    return cx;
}

int TIcon::GetHeight() const
{
    if (height_ > 0) return height_;
    int cy = 0;
    GetIconSize(handle_, nullptr, &cy);
    return cy;
}

void TIcon::SetSize(int w, int h)
{
    width_ = std::max(0, w);
    height_ = std::max(0, h);
    Changed();
}

int TIcon::ImageCount() const { return GetIconImageCount(handle_); }

void TIcon::Draw(TCanvas& canvas, const TRect& r)
{
    if (!handle_) return;
    DrawIconEx(canvas.Handle(), r.Left, r.Top, handle_, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(std::istream& s)
{
    std::ostringstream buf;
    buf << s.rdbuf();
    const HICON icon = CreateIconFromData(buf.str());
    if (!icon) throw EInvalidGraphic("Invalid icon");
    width_ = height_ = 0;
    SetHandle(icon);
}

void TIcon::SaveToStream(std::ostream& s) const
{
    const IconData* data = Find(handle_);
    if (!data) return;
    const std::string bytes = WriteIco(data->images);
    s.write(bytes.data(), std::streamsize(bytes.size()));
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name)
{
    const HICON icon = LoadIcon(instance, name);
    if (!icon) throw EResNotFound("Resource " + name + " not found");
    width_ = height_ = 0;
    SetHandle(icon);
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id)
{
    const HICON icon = LoadIcon(instance, id);
    if (!icon) throw EResNotFound("Resource " + std::to_string(id) + " not found");
    width_ = height_ = 0;
    SetHandle(icon);
}

}  // namespace platform
