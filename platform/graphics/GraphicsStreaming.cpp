// Graphics in component streams: a graphic's "Data", a bitmap's transparency settings and
// a picture's "Data" naming the class of its graphic.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "platform/Streaming.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/Metafile.h"

namespace platform {

namespace {

std::string Rest(TStream& s)
{
    const std::int64_t n = std::max<std::int64_t>(0, s.Size() - s.Position());
    std::string d(std::size_t(n), '\0');
    s.ReadBuffer(d.data(), n);
    return d;
}

void Put(TStream& s, const std::ostringstream& os)
{
    const std::string d = os.str();
    s.WriteBuffer(d.data(), std::int64_t(d.size()));
}

// A graphic's data (ReadData) from a stream that may hold more after it: read as a whole.
template <class G>
void ReadGraphicData(G& g, TStream& s)
{
    std::istringstream is(Rest(s));
    try {
        g.ReadData(is);
    } catch (const EInvalidGraphic& e) {
        throw EReadError(e.Message());
    }
}

}  // namespace

void TGraphic::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadGraphicData(*this, s); },
        [this](TStream& s) {
            std::ostringstream os;
            WriteData(os);
            Put(s, os);
        },
        !Empty());
}

void TBitmap::GetPublished(TPropertyList& List)
{
    TGraphic::GetPublished(List);
    List.Color(
            "TransparentColor", [this] { return std::int64_t(transparentMode_ == tmFixed ? transparentColor_ : clDefault); },
            [this](std::int64_t v) {
                if (TColor(v) != clDefault) SetTransparentColor(TColor(v));
            })
        .SetDefault(std::int64_t(clDefault));
    List.Enumeration("TransparentMode", {"tmAuto", "tmFixed"}, [this] { return int(transparentMode_); },
                     [this](int v) { SetTransparentMode(TTransparentMode(v)); })
        .SetDefault(tmAuto);
}

// The size of the BMP bytes, then the bytes; 32-bit bitmaps keep their alpha channel.
void TBitmap::WriteData(std::ostream& s) const
{
    std::ostringstream bmp;
    if (pixelFormat_ == pf32bit)
        SaveToStreamWithAlpha(bmp);
    else
        SaveToStream(bmp);
    const std::string d = bmp.str();
    const auto n = std::uint32_t(d.size());
    const char size[4] = {char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF), char(n >> 24)};
    s.write(size, 4);
    s.write(d.data(), std::streamsize(d.size()));
}

void TBitmap::ReadData(std::istream& s)
{
    unsigned char size[4];
    if (!s.read(reinterpret_cast<char*>(size), 4)) throw EInvalidGraphic("Bitmap image is not valid");
    const std::uint32_t n = size[0] | (size[1] << 8) | (size[2] << 16) | (std::uint32_t(size[3]) << 24);
    std::ostringstream rest;
    rest << s.rdbuf();
    std::string d = rest.str();
    if (n > d.size()) throw EInvalidGraphic("Bitmap image is not valid");
    d.resize(n);
    std::istringstream bmp(d);
    LoadFromStream(bmp);
}

void TPicture::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
            std::uint8_t n = 0;
            s.ReadBuffer(&n, 1);
            std::string cls(n, '\0');
            s.ReadBuffer(cls.data(), n);
            std::unique_ptr<TGraphic> g;
            if (cls == "TBitmap")
                g = std::make_unique<TBitmap>();
            else if (cls == "TIcon")
                g = std::make_unique<TIcon>();
            else if (cls == "TMetafile")
                g = std::make_unique<TMetafile>();
            else
                throw EReadError("Unknown picture class " + cls);
            ReadGraphicData(*g, s);
            if (dynamic_cast<TBitmap*>(g.get()))
                SetGraphic(g.get());  // the picture takes a copy of a bitmap
            else
                SetGraphic(g.release());
        },
        [this](TStream& s) {
            const std::string cls = graphic_->ClassName();
            const auto n = std::uint8_t(cls.size());
            s.WriteBuffer(&n, 1);
            s.WriteBuffer(cls.data(), n);
            std::ostringstream os;
            graphic_->WriteData(os);
            Put(s, os);
        },
        graphic_ != nullptr && !graphic_->Empty());
}

}  // namespace platform
