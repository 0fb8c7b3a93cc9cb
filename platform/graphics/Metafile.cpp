// Recorded metafiles. The writers follow the published EMF and WMF record layouts:
// little-endian records, EMF sizes in bytes padded to 4, WMF sizes in 16-bit words.
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>
#include <type_traits>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Metafile.h"
#include "platform/Private.h"

namespace platform {

const char* const kEnhMetafileMime = "image/x-emf";

struct TMetafile::Record {
    enum Kind : std::uint8_t {
        Pen, Brush, Font, TextColor, BkMode, BkColor, MoveTo, LineTo, Rectangle, Ellipse, Polyline, Polygon,
        Pixel, Text, SaveDC, RestoreDC, ClipRect, RoundRect, ArcShape, Bitmap, ClipRegion, PolyPolygon
    };
    Kind kind = Pen;
    int a = 0, b = 0, c = 0;  // position, or style, width/height, escapement
    COLORREF color = 0;
    TRect rect;
    unsigned options = 0;
    std::string text;  // text, or a font's face name
    std::vector<TPoint> pts;
    std::vector<int> dx;  // character advances, or a poly-polygon's point counts
    std::vector<TRect> rects;          // a clip region's rectangles (device coordinates)
    std::vector<std::uint32_t> bits;  // a bitmap's pixels, 0xAARRGGBB, top row first
    friend bool operator==(const Record&, const Record&) = default;
};

struct TMetafile::Data {
    std::vector<Record> records;
};

using Record = TMetafile::Record;

// ---------------------------------------------------------------- TMetafile

TMetafile::TMetafile() : data_(std::make_unique<Data>()) {}
TMetafile::TMetafile(int width, int height) : TMetafile()
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}
TMetafile::~TMetafile() = default;

void TMetafile::Assign(const TPersistent& source)
{
    if (auto* m = dynamic_cast<const TMetafile*>(&source)) {
        *data_ = *m->data_;
        width_ = m->width_;
        height_ = m->height_;
        enhanced_ = m->enhanced_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TMetafile::SetWidth(int w)
{
    width_ = std::max(0, w);
    Changed();
}
void TMetafile::SetHeight(int h)
{
    height_ = std::max(0, h);
    Changed();
}
bool TMetafile::GetEmpty() const { return data_->records.empty() && width_ == 0 && height_ == 0; }
void TMetafile::Clear() { data_->records.clear(); }
int TMetafile::RecordCount() const { return int(data_->records.size()); }

void TMetafile::LoadFromStream(std::istream&) { throw EInvalidGraphic("Metafiles cannot be read"); }

void TMetafile::SaveToStream(std::ostream& s) const
{
    const std::string bytes = enhanced_ ? EmfData() : WmfData();
    s.write(bytes.data(), std::streamsize(bytes.size()));
}

// ---------------------------------------------------------------- object bookkeeping

namespace {

// Receives the records with pens, brushes and fonts turned into object-table calls.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void Create(int slot, const Record& obj) = 0;
    virtual void Select(int slot) = 0;
    virtual void Delete(int slot) = 0;
    virtual void Emit(const Record& r) = 0;
};

// Each new object takes the lowest free slot (as a WMF reader assigns them). An object
// that a saved state still refers to is deleted only once that state is gone, since a
// RestoreDC selects it again. Returns the largest number of objectCount used at once.
int Walk(const std::vector<Record>& records, Sink& sink)
{
    struct Sel {
        int slot[3] = {-1, -1, -1};
    };
    Sel cur;
    std::vector<Sel> stack;
    std::vector<bool> used;
    std::vector<int> pending;
    int most = 0;
    auto referenced = [&](int s) {
        auto in = [s](const Sel& x) { return x.slot[0] == s || x.slot[1] == s || x.slot[2] == s; };
        return in(cur) || std::any_of(stack.begin(), stack.end(), in);
    };
    auto release = [&](int s) {
        if (s < 0) return;
        if (referenced(s)) {
            pending.push_back(s);
        } else {
            sink.Delete(s);
            used[std::size_t(s)] = false;
        }
    };
    for (const Record& r : records) {
        switch (r.kind) {
        case Record::Pen:
        case Record::Brush:
        case Record::Font: {
            auto it = std::find(used.begin(), used.end(), false);
            int s = int(it - used.begin());
            if (it == used.end()) used.push_back(true); else *it = true;
            most = std::max(most, int(std::count(used.begin(), used.end(), true)));
            sink.Create(s, r);
            sink.Select(s);
            int& slot = cur.slot[r.kind - Record::Pen];
            int old = slot;
            slot = s;
            release(old);
            break;
        }
        case Record::SaveDC:
            stack.push_back(cur);
            sink.Emit(r);
            break;
        case Record::RestoreDC: {
            if (stack.empty()) break;
            cur = stack.back();
            stack.pop_back();
            sink.Emit(r);
            std::vector<int> still;
            for (int s : pending) {
                if (referenced(s)) {
                    still.push_back(s);
                } else {
                    sink.Delete(s);
                    used[std::size_t(s)] = false;
                }
            }
            pending.swap(still);
            break;
        }
        default:
            sink.Emit(r);
        }
    }
    return most;
}

class Bytes {
public:
    std::string s;
    void u8(unsigned v) { s.push_back(char(v & 0xFF)); }
    void u16(unsigned v) { u8(v); u8(v >> 8); }
    void i16(int v) { u16(unsigned(std::clamp(v, -32768, 32767)) & 0xFFFF); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void i32(int v) { u32(std::uint32_t(v)); }
    void f32(float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void put32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) s[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    }
    void put16(std::size_t at, unsigned v)
    {
        s[at] = char(v & 0xFF);
        s[at + 1] = char((v >> 8) & 0xFF);
    }
    std::size_t size() const { return s.size(); }
};

int FontWeight(const Record& f) { return (f.b & fsBold) ? 700 : 400; }

TRect PointBounds(const std::vector<TPoint>& pts)
{
    TRect b{pts[0].X, pts[0].Y, pts[0].X, pts[0].Y};
    for (const TPoint& p : pts) {
        b.Left = std::min(b.Left, p.X);
        b.Top = std::min(b.Top, p.Y);
        b.Right = std::max(b.Right, p.X);
        b.Bottom = std::max(b.Bottom, p.Y);
    }
    return b;
}

// ---------------------------------------------------------------- EMF

enum : std::uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27,
    EMR_INTERSECTCLIPRECT = 30, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_LINETO = 54,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTW = 84, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46,
    EMR_PIE = 47, EMR_EXTSELECTCLIPRGN = 75, EMR_STRETCHDIBITS = 81, EMR_POLYPOLYGON = 8, EMR_SETPOLYFILLMODE = 19
};

// A 24-bit bottom-up DIB: the info header and the rows, each padded to 4 bytes.
void WriteDib(Bytes& out, const Record& r)
{
    const int w = r.a, h = r.b;
    const std::uint32_t stride = std::uint32_t((w * 3 + 3) / 4 * 4);
    out.u32(40);
    out.i32(w);
    out.i32(h);
    out.u16(1);
    out.u16(24);
    out.u32(0);  // BI_RGB
    out.u32(stride * std::uint32_t(h));
    out.i32(3780);  // 96 dpi in pixels per metre
    out.i32(3780);
    out.u32(0);
    out.u32(0);
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t row = out.size();
        for (int x = 0; x < w; ++x) {
            const std::uint32_t px = r.bits[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            out.u8(px & 0xFF);
            out.u8((px >> 8) & 0xFF);
            out.u8((px >> 16) & 0xFF);
        }
        while (out.size() - row < stride) out.u8(0);
    }
}

std::uint32_t DibSize(const Record& r) { return 40 + std::uint32_t((r.a * 3 + 3) / 4 * 4) * std::uint32_t(r.b); }

TRect RectsBounds(const std::vector<TRect>& rects)
{
    TRect b = rects.front();
    for (const TRect& q : rects) UnionRect(b, b, q);
    return b;
}

class EmfSink : public Sink {
public:
    Bytes out;
    std::uint32_t count = 0;

    std::size_t Begin(std::uint32_t type)
    {
        std::size_t at = out.size();
        out.u32(type);
        out.u32(0);
        return at;
    }
    void End(std::size_t at)
    {
        while (out.size() % 4) out.u8(0);
        out.put32(at + 4, std::uint32_t(out.size() - at));
        ++count;
    }
    void Rect(const TRect& r)
    {
        out.i32(r.Left);
        out.i32(r.Top);
        out.i32(r.Right);
        out.i32(r.Bottom);
    }
    void One(std::uint32_t type, std::uint32_t v)
    {
        auto at = Begin(type);
        out.u32(v);
        End(at);
    }
    void Point(std::uint32_t type, int x, int y)
    {
        auto at = Begin(type);
        out.i32(x);
        out.i32(y);
        End(at);
    }

    void Create(int slot, const Record& o) override
    {
        const std::uint32_t ih = std::uint32_t(slot + 1);  // index 0 is the metafile itself
        if (o.kind == Record::Pen) {
            auto at = Begin(EMR_CREATEPEN);
            out.u32(ih);
            out.u32(std::uint32_t(o.a));  // the pen styles match PS_* in order
            out.i32(o.b);
            out.i32(0);
            out.u32(o.color);
            End(at);
        } else if (o.kind == Record::Brush) {
            auto at = Begin(EMR_CREATEBRUSHINDIRECT);
            out.u32(ih);
            unsigned style = o.a == bsSolid ? 0 : o.a == bsClear ? 1 : 2;  // BS_SOLID, BS_NULL, BS_HATCHED
            out.u32(style);
            out.u32(o.color);
            out.u32(style == 2 ? unsigned(o.a - bsHorizontal) : 0);  // HS_HORIZONTAL...
            End(at);
        } else {
            auto at = Begin(EMR_EXTCREATEFONTINDIRECTW);
            out.u32(ih);
            out.i32(o.a);      // height
            out.i32(0);        // width
            out.i32(o.c);      // escapement
            out.i32(o.c);      // orientation
            out.i32(FontWeight(o));
            out.u8((o.b & fsItalic) ? 1 : 0);
            out.u8((o.b & fsUnderline) ? 1 : 0);
            out.u8((o.b & fsStrikeOut) ? 1 : 0);
            out.u8(0);  // ANSI_CHARSET
            out.u8(0);
            out.u8(0);
            out.u8(0);
            out.u8(0);
            QString face = AnsiToQString(o.text).left(31);
            for (int i = 0; i < 32; ++i) out.u16(i < face.size() ? face.at(i).unicode() : 0);
            End(at);
        }
    }
    void Select(int slot) override { One(EMR_SELECTOBJECT, std::uint32_t(slot + 1)); }
    void Delete(int slot) override { One(EMR_DELETEOBJECT, std::uint32_t(slot + 1)); }

    void Emit(const Record& r) override
    {
        switch (r.kind) {
        case Record::TextColor: One(EMR_SETTEXTCOLOR, r.color); break;
        case Record::BkColor: One(EMR_SETBKCOLOR, r.color); break;
        case Record::BkMode: One(EMR_SETBKMODE, std::uint32_t(r.a)); break;
        case Record::MoveTo: Point(EMR_MOVETOEX, r.a, r.b); break;
        case Record::LineTo: Point(EMR_LINETO, r.a, r.b); break;
        case Record::Rectangle:
        case Record::Ellipse: {
            // The box is inclusive-inclusive.
            auto at = Begin(r.kind == Record::Rectangle ? EMR_RECTANGLE : EMR_ELLIPSE);
            Rect({r.rect.Left, r.rect.Top, r.rect.Right - 1, r.rect.Bottom - 1});
            End(at);
            break;
        }
        case Record::Polyline:
        case Record::Polygon: {
            auto at = Begin(r.kind == Record::Polyline ? EMR_POLYLINE : EMR_POLYGON);
            Rect(PointBounds(r.pts));
            out.u32(std::uint32_t(r.pts.size()));
            for (const TPoint& p : r.pts) {
                out.i32(p.X);
                out.i32(p.Y);
            }
            End(at);
            break;
        }
        case Record::PolyPolygon: {
            One(EMR_SETPOLYFILLMODE, std::uint32_t(r.a));
            auto at = Begin(EMR_POLYPOLYGON);
            Rect(PointBounds(r.pts));
            out.u32(std::uint32_t(r.dx.size()));
            out.u32(std::uint32_t(r.pts.size()));
            for (int n : r.dx) out.u32(std::uint32_t(n));
            for (const TPoint& p : r.pts) {
                out.i32(p.X);
                out.i32(p.Y);
            }
            End(at);
            break;
        }
        case Record::Pixel: {
            auto at = Begin(EMR_SETPIXELV);
            out.i32(r.a);
            out.i32(r.b);
            out.u32(r.color);
            End(at);
            break;
        }
        case Record::Text: {
            QString q = AnsiToQString(r.text);
            const std::uint32_t n = std::uint32_t(q.size());
            auto at = Begin(EMR_EXTTEXTOUTW);
            int w = 0;
            for (int d : r.dx) w += d;
            Rect({r.a, r.b, r.a + w, r.b + r.c});
            out.u32(1);  // GM_COMPATIBLE
            out.f32(0);
            out.f32(0);
            out.i32(r.a);
            out.i32(r.b);
            out.u32(n);
            const std::uint32_t offString = 76;
            const std::uint32_t offDx = offString + ((n * 2 + 3) / 4) * 4;
            out.u32(offString);
            out.u32(r.options);
            Rect(r.rect);
            out.u32(offDx);
            for (QChar ch : q) out.u16(ch.unicode());
            while ((out.size() - at) % 4) out.u8(0);
            for (std::uint32_t i = 0; i < n; ++i) out.i32(i < r.dx.size() ? r.dx[i] : 0);
            End(at);
            break;
        }
        case Record::SaveDC: {
            auto at = Begin(EMR_SAVEDC);
            End(at);
            break;
        }
        case Record::RestoreDC: One(EMR_RESTOREDC, std::uint32_t(-1)); break;
        case Record::ClipRect: {
            auto at = Begin(EMR_INTERSECTCLIPRECT);
            Rect(r.rect);
            End(at);
            break;
        }
        case Record::RoundRect: {
            auto at = Begin(EMR_ROUNDRECT);
            Rect({r.rect.Left, r.rect.Top, r.rect.Right - 1, r.rect.Bottom - 1});
            out.i32(r.a);
            out.i32(r.b);
            End(at);
            break;
        }
        case Record::ArcShape: {
            auto at = Begin(r.a == 0 ? EMR_ARC : r.a == 1 ? EMR_PIE : EMR_CHORD);
            Rect({r.rect.Left, r.rect.Top, r.rect.Right - 1, r.rect.Bottom - 1});
            out.i32(r.pts[0].X);
            out.i32(r.pts[0].Y);
            out.i32(r.pts[1].X);
            out.i32(r.pts[1].Y);
            End(at);
            break;
        }
        case Record::Bitmap: {
            auto at = Begin(EMR_STRETCHDIBITS);
            Rect({r.rect.Left, r.rect.Top, r.rect.Right - 1, r.rect.Bottom - 1});
            out.i32(r.rect.Left);
            out.i32(r.rect.Top);
            out.i32(0);
            out.i32(0);
            out.i32(r.a);
            out.i32(r.b);
            out.u32(80);  // the info header follows the record's fixed part
            out.u32(40);
            out.u32(120);
            out.u32(DibSize(r) - 40);
            out.u32(0);  // DIB_RGB_COLORS
            out.u32(r.options);
            out.i32(r.rect.Width());
            out.i32(r.rect.Height());
            WriteDib(out, r);
            End(at);
            break;
        }
        case Record::ClipRegion: {
            auto at = Begin(EMR_EXTSELECTCLIPRGN);
            if (r.rects.empty()) {
                out.u32(0);
                out.u32(RGN_COPY);  // no region: back to the default clip
            } else {
                const std::uint32_t n = std::uint32_t(r.rects.size());
                out.u32(32 + 16 * n);
                out.u32(RGN_COPY);
                out.u32(32);
                out.u32(1);  // RDH_RECTANGLES
                out.u32(n);
                out.u32(16 * n);
                Rect(RectsBounds(r.rects));
                for (const TRect& q : r.rects) Rect(q);
            }
            End(at);
            break;
        }
        default: break;
        }
    }
};

// ---------------------------------------------------------------- WMF

class WmfSink : public Sink {
public:
    Bytes out;
    std::uint32_t maxRecord = 0;

    std::size_t Begin(unsigned function)
    {
        std::size_t at = out.size();
        out.u32(0);
        out.u16(function);
        return at;
    }
    void End(std::size_t at)
    {
        if (out.size() % 2) out.u8(0);
        std::uint32_t words = std::uint32_t((out.size() - at) / 2);
        out.put32(at, words);
        maxRecord = std::max(maxRecord, words);
    }
    void Color(COLORREF c) { out.u32(c); }
    void YX(unsigned function, int x, int y)
    {
        auto at = Begin(function);
        out.i16(y);
        out.i16(x);
        End(at);
    }
    // A box as WMF records end: bottom, right, top, left.
    void Box(const TRect& r)
    {
        out.i16(r.Bottom);
        out.i16(r.Right);
        out.i16(r.Top);
        out.i16(r.Left);
    }
    void BoxRecord(unsigned function, const TRect& r)
    {
        auto at = Begin(function);
        Box(r);
        End(at);
    }

    void Create(int, const Record& o) override
    {
        if (o.kind == Record::Pen) {
            auto at = Begin(0x02FA);  // META_CREATEPENINDIRECT
            out.u16(unsigned(o.a) & 0xFFFF);
            out.i16(o.b);
            out.i16(0);
            Color(o.color);
            End(at);
        } else if (o.kind == Record::Brush) {
            auto at = Begin(0x02FC);  // META_CREATEBRUSHINDIRECT
            unsigned style = o.a == bsSolid ? 0 : o.a == bsClear ? 1 : 2;
            out.u16(style);
            Color(o.color);
            out.u16(style == 2 ? unsigned(o.a - bsHorizontal) : 0);
            End(at);
        } else {
            auto at = Begin(0x02FB);  // META_CREATEFONTINDIRECT
            out.i16(o.a);
            out.i16(0);
            out.i16(o.c);
            out.i16(o.c);
            out.i16(FontWeight(o));
            out.u8((o.b & fsItalic) ? 1 : 0);
            out.u8((o.b & fsUnderline) ? 1 : 0);
            out.u8((o.b & fsStrikeOut) ? 1 : 0);
            out.u8(0);
            out.u8(0);
            out.u8(0);
            out.u8(0);
            out.u8(0);
            std::string face = o.text.substr(0, 31);
            for (int i = 0; i < 32; ++i) out.u8(i < int(face.size()) ? unsigned(Byte(face[std::size_t(i)])) : 0);
            End(at);
        }
    }
    void Select(int slot) override
    {
        auto at = Begin(0x012D);
        out.u16(unsigned(slot));
        End(at);
    }
    void Delete(int slot) override
    {
        auto at = Begin(0x01F0);
        out.u16(unsigned(slot));
        End(at);
    }

    void Emit(const Record& r) override
    {
        switch (r.kind) {
        case Record::TextColor: {
            auto at = Begin(0x0209);
            Color(r.color);
            End(at);
            break;
        }
        case Record::BkColor: {
            auto at = Begin(0x0201);
            Color(r.color);
            End(at);
            break;
        }
        case Record::BkMode: {
            auto at = Begin(0x0102);
            out.u16(unsigned(r.a));
            out.u16(0);
            End(at);
            break;
        }
        case Record::MoveTo: YX(0x0214, r.a, r.b); break;
        case Record::LineTo: YX(0x0213, r.a, r.b); break;
        case Record::Rectangle: BoxRecord(0x041B, r.rect); break;
        case Record::Ellipse: BoxRecord(0x0418, r.rect); break;
        case Record::ClipRect: BoxRecord(0x0416, r.rect); break;
        case Record::ClipRegion: {
            // A WMF can only narrow its clip (the recording brackets each region in a
            // saved state): the region's box, less every part of the box outside it.
            if (r.rects.empty()) break;
            const TRect box = RectsBounds(r.rects);
            BoxRecord(0x0416, box);  // META_INTERSECTCLIPRECT
            QRegion inside;
            for (const TRect& q : r.rects)
                if (q.Right > q.Left && q.Bottom > q.Top) inside += QRect(q.Left, q.Top, q.Right - q.Left, q.Bottom - q.Top);
            const QRegion outside = QRegion(QRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top)) - inside;
            for (const QRect& q : outside)
                BoxRecord(0x0415, {q.left(), q.top(), q.left() + q.width(), q.top() + q.height()});  // META_EXCLUDECLIPRECT
            break;
        }
        case Record::RoundRect: {
            auto at = Begin(0x061C);
            out.i16(r.b);
            out.i16(r.a);
            Box(r.rect);
            End(at);
            break;
        }
        case Record::ArcShape: {
            auto at = Begin(r.a == 0 ? 0x0817 : r.a == 1 ? 0x081A : 0x0830);
            out.i16(r.pts[1].Y);
            out.i16(r.pts[1].X);
            out.i16(r.pts[0].Y);
            out.i16(r.pts[0].X);
            Box(r.rect);
            End(at);
            break;
        }
        case Record::Bitmap: {
            auto at = Begin(0x0F43);  // META_STRETCHDIB
            out.u32(r.options);
            out.u16(0);  // DIB_RGB_COLORS
            out.i16(r.b);
            out.i16(r.a);
            out.i16(0);
            out.i16(0);
            out.i16(r.rect.Height());
            out.i16(r.rect.Width());
            out.i16(r.rect.Top);
            out.i16(r.rect.Left);
            WriteDib(out, r);
            End(at);
            break;
        }
        case Record::Polyline:
        case Record::Polygon: {
            // A record counts its points in 16 bits: long lines go out in pieces.
            const std::size_t n = r.pts.size();
            std::size_t from = 0;
            do {
                std::size_t to = std::min(n, from + 8000);
                auto at = Begin(r.kind == Record::Polyline ? 0x0325 : 0x0324);
                out.u16(unsigned(to - from));
                for (std::size_t i = from; i < to; ++i) {
                    out.i16(r.pts[i].X);
                    out.i16(r.pts[i].Y);
                }
                End(at);
                from = to - 1;
            } while (r.kind == Record::Polyline && from + 1 < n);
            break;
        }
        case Record::PolyPolygon: {
            auto mode = Begin(0x0106);  // META_SETPOLYFILLMODE
            out.u16(unsigned(r.a));
            End(mode);
            auto at = Begin(0x0538);  // META_POLYPOLYGON
            out.u16(unsigned(r.dx.size()));
            for (int n : r.dx) out.u16(unsigned(n));
            for (const TPoint& p : r.pts) {
                out.i16(p.X);
                out.i16(p.Y);
            }
            End(at);
            break;
        }
        case Record::Pixel: {
            auto at = Begin(0x041F);
            Color(r.color);
            out.i16(r.b);
            out.i16(r.a);
            End(at);
            break;
        }
        case Record::Text: {
            auto at = Begin(0x0A32);  // META_EXTTEXTOUT
            out.i16(r.b);
            out.i16(r.a);
            out.u16(unsigned(r.text.size()));
            out.u16(r.options);
            if (r.options & (ETO_OPAQUE | ETO_CLIPPED)) {
                out.i16(r.rect.Left);
                out.i16(r.rect.Top);
                out.i16(r.rect.Right);
                out.i16(r.rect.Bottom);
            }
            out.s += r.text;
            if (out.size() % 2) out.u8(0);
            for (std::size_t i = 0; i < r.text.size(); ++i) out.i16(i < r.dx.size() ? r.dx[i] : 0);
            End(at);
            break;
        }
        case Record::SaveDC: {
            auto at = Begin(0x001E);
            End(at);
            break;
        }
        case Record::RestoreDC: {
            auto at = Begin(0x0127);
            out.i16(-1);
            End(at);
            break;
        }
        default: break;
        }
    }
};

}  // namespace

std::string TMetafile::EmfData() const
{
    EmfSink sink;
    Bytes& o = sink.out;
    const int w = std::max(1, width_), h = std::max(1, height_);
    // Reference device: 96 pixels per inch.
    const int devW = 1920, devH = 1080;
    const int mmW = 508, mmH = 286;
    o.u32(EMR_HEADER);
    o.u32(108);
    sink.Rect({0, 0, w - 1, h - 1});
    sink.Rect({0, 0, int(std::lround(w * 2540.0 / 96)) - 1, int(std::lround(h * 2540.0 / 96)) - 1});
    o.u32(0x464D4520);  // " EMF"
    o.u32(0x00010000);
    o.u32(0);  // bytes, patched below
    o.u32(0);  // records
    o.u16(0);  // handles
    o.u16(0);
    o.u32(0);  // no description
    o.u32(0);
    o.u32(0);  // no palette
    o.i32(devW);
    o.i32(devH);
    o.i32(mmW);
    o.i32(mmH);
    o.u32(0);  // no pixel format
    o.u32(0);
    o.u32(0);  // not OpenGL
    o.u32(std::uint32_t(mmW * 1000));
    o.u32(std::uint32_t(mmH * 1000));
    sink.count = 1;
    sink.One(EMR_SETMAPMODE, 1);  // MM_TEXT
    sink.One(EMR_SETTEXTALIGN, 0);
    sink.One(EMR_SETBKMODE, OPAQUE);
    int objectCount = Walk(data_->records, sink);
    auto at = sink.Begin(EMR_EOF);
    o.u32(0);
    o.u32(16);
    o.u32(20);
    sink.End(at);
    o.put32(48, std::uint32_t(o.size()));
    o.put32(52, sink.count);
    o.put16(56, unsigned(objectCount + 1));
    return o.s;
}

std::string TMetafile::WmfData() const
{
    WmfSink sink;
    Bytes& o = sink.out;
    const int w = std::clamp(width_, 1, 32767), h = std::clamp(height_, 1, 32767);
    // Placeable header; the checksum covers its first ten words.
    o.u32(0x9AC6CDD7);
    o.u16(0);
    o.i16(0);
    o.i16(0);
    o.i16(w);
    o.i16(h);
    o.u16(96);  // logical units per inch: pixels
    o.u32(0);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) sum ^= unsigned(Byte(o.s[i])) | (unsigned(Byte(o.s[i + 1])) << 8);
    o.u16(sum);
    const std::size_t head = o.size();
    o.u16(1);  // memory metafile
    o.u16(9);
    o.u16(0x0300);
    o.u32(0);  // size in words, patched below
    o.u16(0);  // objects
    o.u32(0);  // largest record
    o.u16(0);
    sink.YX(0x020B, 0, 0);  // META_SETWINDOWORG
    sink.YX(0x020C, w, h);  // META_SETWINDOWEXT
    {
        auto at = sink.Begin(0x0102);
        o.u16(OPAQUE);
        o.u16(0);
        sink.End(at);
    }
    int objectCount = Walk(data_->records, sink);
    auto at = sink.Begin(0x0000);
    sink.End(at);
    o.put32(head + 6, std::uint32_t((o.size() - head) / 2));
    o.put16(head + 10, unsigned(objectCount));
    o.put32(head + 12, sink.maxRecord);
    return o.s;
}

// ---------------------------------------------------------------- playback

void TMetafile::Draw(TCanvas& canvas, const TRect& r)
{
    if (width_ <= 0 || height_ <= 0 || r.Width() <= 0 || r.Height() <= 0) return;
    const double sx = double(r.Width()) / width_, sy = double(r.Height()) / height_;
    auto X = [&](int x) { return r.Left + int(std::lround(x * sx)); };
    auto Y = [&](int y) { return r.Top + int(std::lround(y * sy)); };
    auto Box = [&](const TRect& b) { return Rect(X(b.Left), Y(b.Top), X(b.Right), Y(b.Bottom)); };
    struct State {
        TPen pen;
        TBrush brush;
        TFont font;
        int bkMode = OPAQUE;
        COLORREF bkColor = 0xFFFFFF;
    };
    auto take = [&](State& s) {
        s.pen.Assign(canvas.Pen());
        s.brush.Assign(canvas.Brush());
        s.font.Assign(canvas.Font());
    };
    auto give = [&](const State& s) {
        canvas.Refresh();
        canvas.Pen().Assign(s.pen);
        canvas.Brush().Assign(s.brush);
        canvas.Font().Assign(s.font);
    };
    State outer;
    take(outer);
    std::vector<State> stack;
    int bkMode = OPAQUE;
    COLORREF bkColor = 0xFFFFFF;
    const int base = SaveDC(canvas.Handle());
    IntersectClipRect(canvas.Handle(), r.Left, r.Top, r.Right, r.Bottom);
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetColor(clWhite);
    canvas.Brush().SetStyle(bsSolid);
    for (const Record& rec : data_->records) {
        switch (rec.kind) {
        case Record::Pen:
            canvas.Pen().SetColor(TColor(rec.color));
            canvas.Pen().SetStyle(TPenStyle(rec.a & PS_STYLE_MASK));
            canvas.Pen().SetWidth(std::max(1, int(std::lround(rec.b * sx))));
            if (DWORD(rec.a) & PS_GEOMETRIC) {
                LOGBRUSH lb;
                lb.lbColor = rec.color;
                canvas.Pen().SetHandle(ExtCreatePen(DWORD(rec.a), DWORD(canvas.Pen().Width()), lb, 0, nullptr));
            }
            break;
        case Record::Brush:
            canvas.Brush().SetColor(TColor(rec.color));
            canvas.Brush().SetStyle(TBrushStyle(rec.a));
            break;
        case Record::Font:
            canvas.Font().SetName(rec.text);
            canvas.Font().SetHeight(int(std::lround(rec.a * sy)));
            canvas.Font().SetStyle(TFontStyles(rec.b));
            canvas.Font().SetEscapement(rec.c);
            break;
        case Record::TextColor: canvas.Font().SetColor(TColor(rec.color)); break;
        case Record::BkMode: bkMode = rec.a; break;
        case Record::BkColor: bkColor = rec.color; break;
        case Record::MoveTo: canvas.MoveTo(X(rec.a), Y(rec.b)); break;
        case Record::LineTo: canvas.LineTo(X(rec.a), Y(rec.b)); break;
        case Record::Rectangle: canvas.Rectangle(Box(rec.rect)); break;
        case Record::Ellipse: canvas.Ellipse(Box(rec.rect)); break;
        case Record::Polyline:
        case Record::Polygon: {
            std::vector<TPoint> pts(rec.pts.size());
            for (std::size_t i = 0; i < pts.size(); ++i) pts[i] = {X(rec.pts[i].X), Y(rec.pts[i].Y)};
            if (rec.kind == Record::Polyline) canvas.Polyline(pts); else canvas.Polygon(pts);
            break;
        }
        case Record::PolyPolygon: {
            std::vector<TPoint> pts(rec.pts.size());
            for (std::size_t i = 0; i < pts.size(); ++i) pts[i] = {X(rec.pts[i].X), Y(rec.pts[i].Y)};
            HDC dc = canvas.Handle();
            const int keep = SetPolyFillMode(dc, rec.a);
            PolyPolygon(dc, pts.data(), rec.dx.data(), int(rec.dx.size()));
            SetPolyFillMode(dc, keep);
            break;
        }
        case Record::Pixel: canvas.SetPixel(X(rec.a), Y(rec.b), TColor(rec.color)); break;
        case Record::Text: {
            HDC dc = canvas.Handle();
            SetBkMode(dc, bkMode);
            SetBkColor(dc, bkColor);
            TRect box = Box(rec.rect);
            ExtTextOut(dc, X(rec.a), Y(rec.b), rec.options, &box, rec.text, -1);
            canvas.Refresh();
            break;
        }
        case Record::SaveDC: {
            State s;
            take(s);
            s.bkMode = bkMode;
            s.bkColor = bkColor;
            stack.push_back(s);
            SaveDC(canvas.Handle());
            break;
        }
        case Record::RestoreDC:
            if (stack.empty()) break;
            RestoreDC(canvas.Handle(), -1);
            give(stack.back());
            bkMode = stack.back().bkMode;
            bkColor = stack.back().bkColor;
            stack.pop_back();
            break;
        case Record::ClipRect: {
            TRect b = Box(rec.rect);
            IntersectClipRect(canvas.Handle(), b.Left, b.Top, b.Right, b.Bottom);
            break;
        }
        case Record::ClipRegion: {
            HDC dc = canvas.Handle();
            if (rec.rects.empty()) {
                SelectClipRgn(dc, nullptr);
            } else {
                TPoint vo, wo;
                GetViewportOrgEx(dc, &vo);
                GetWindowOrgEx(dc, &wo);
                HRGN all = CreateRectRgn(0, 0, 0, 0);
                for (const TRect& q : rec.rects) {
                    TRect b = Box(q);
                    OffsetRect(b, vo.X - wo.X, vo.Y - wo.Y);
                    HRGN one = CreateRectRgnIndirect(b);
                    CombineRgn(all, all, one, RGN_OR);
                    DeleteObject(one);
                }
                SelectClipRgn(dc, all);
                DeleteObject(all);
            }
            IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
            break;
        }
        case Record::RoundRect: {
            TRect b = Box(rec.rect);
            canvas.RoundRect(b.Left, b.Top, b.Right, b.Bottom, int(std::lround(rec.a * sx)), int(std::lround(rec.b * sy)));
            break;
        }
        case Record::ArcShape: {
            TRect b = Box(rec.rect);
            const int x3 = X(rec.pts[0].X), y3 = Y(rec.pts[0].Y), x4 = X(rec.pts[1].X), y4 = Y(rec.pts[1].Y);
            if (rec.a == 0) canvas.Arc(b.Left, b.Top, b.Right, b.Bottom, x3, y3, x4, y4);
            else if (rec.a == 1) canvas.Pie(b.Left, b.Top, b.Right, b.Bottom, x3, y3, x4, y4);
            else canvas.Chord(b.Left, b.Top, b.Right, b.Bottom, x3, y3, x4, y4);
            break;
        }
        case Record::Bitmap: {
            TBitmap bmp(rec.a, rec.b);
            for (int y = 0; y < rec.b; ++y)
                std::copy_n(rec.bits.begin() + std::ptrdiff_t(y) * rec.a, rec.a, bmp.ScanLine(y));
            const TRect b = Box(rec.rect);
            StretchBlt(canvas.Handle(), b.Left, b.Top, b.Width(), b.Height(), bmp.Canvas()->Handle(), 0, 0, rec.a,
                       rec.b, rec.options);
            break;
        }
        }
    }
    RestoreDC(canvas.Handle(), base);
    give(outer);
}

// ---------------------------------------------------------------- TMetafileCanvas

namespace {
struct Selected {
    std::optional<Record> pen, brush, font;
    std::optional<COLORREF> textColor, bkColor;
    std::optional<int> bkMode;
};
}  // namespace

// Turns the calls on the canvas's DC into records; pens, brushes, fonts and text
// colours are recorded when a drawing call needs them and they differ from what the
// recording has selected.
struct TMetafileCanvas::Recorder : DCRecorder {
    TMetafile::Data& data;
    const TFont& font;  // the canvas's font, for the face name as given
    DeviceContext dc;
    Selected sel;
    std::vector<Selected> saved;

    Recorder(TMetafile& mf, const TFont& f) : data(*mf.data_), font(f) {}

    void Push(Record r) { data.records.push_back(std::move(r)); }
    void Push(Record::Kind kind)
    {
        Record r;
        r.kind = kind;
        Push(std::move(r));
    }
    void Select(std::optional<Record>& have, const Record& want)
    {
        if (have && *have == want) return;
        have = want;
        Push(want);
    }
    template <class T>
    void Value(Record::Kind k, std::optional<T>& have, T want)
    {
        if (have && *have == want) return;
        have = want;
        Record r;
        r.kind = k;
        if constexpr (std::is_same_v<T, COLORREF>) r.color = want; else r.a = want;
        Push(std::move(r));
    }

    void SyncPen(const DeviceContext& d)
    {
        Record r;
        r.kind = Record::Pen;
        r.a = int(d.penStyle) | (d.penGeometric ? int(PS_GEOMETRIC) | d.penCap | d.penJoin : 0);
        r.b = d.penWidth;
        r.color = d.penColor;
        Select(sel.pen, r);
    }
    void SyncBrush(const DeviceContext& d)
    {
        Record r;
        r.kind = Record::Brush;
        r.a = d.brushStyle;
        r.color = d.brushColor;
        Select(sel.brush, r);
    }
    void SyncText(const DeviceContext& d)
    {
        Record f;
        f.kind = Record::Font;
        f.text = font.Name();
        f.a = font.Height();
        f.b = int(font.Style());
        f.c = font.Escapement();
        Select(sel.font, f);
        Value(Record::TextColor, sel.textColor, d.textColor);
        Value(Record::BkMode, sel.bkMode, d.bkMode);
        if (d.bkMode == OPAQUE) Value(Record::BkColor, sel.bkColor, d.bkColor);
    }
    void Point(Record::Kind kind, TPoint p, COLORREF color = 0)
    {
        Record r;
        r.kind = kind;
        r.a = p.X;
        r.b = p.Y;
        r.color = color;
        Push(std::move(r));
    }
    void Box(Record::Kind kind, const TRect& b)
    {
        Record r;
        r.kind = kind;
        r.rect = {std::min(b.Left, b.Right), std::min(b.Top, b.Bottom), std::max(b.Left, b.Right),
                  std::max(b.Top, b.Bottom)};
        Push(std::move(r));
    }
    void Points(Record::Kind kind, const TPoint* pts, int count)
    {
        Record r;
        r.kind = kind;
        r.pts.assign(pts, pts + count);
        Push(std::move(r));
    }

    void MoveTo(DeviceContext&, TPoint p) override { Point(Record::MoveTo, p); }
    void LineTo(DeviceContext& d, TPoint, TPoint to) override
    {
        SyncPen(d);
        Point(Record::LineTo, to);
    }
    void Rectangle(DeviceContext& d, const TRect& r) override
    {
        SyncPen(d);
        SyncBrush(d);
        Box(Record::Rectangle, r);
    }
    void Ellipse(DeviceContext& d, const TRect& r) override
    {
        SyncPen(d);
        SyncBrush(d);
        Box(Record::Ellipse, r);
    }
    void Polyline(DeviceContext& d, const TPoint* pts, int count) override
    {
        SyncPen(d);
        Points(Record::Polyline, pts, count);
    }
    void Polygon(DeviceContext& d, const TPoint* pts, int count) override
    {
        SyncPen(d);
        SyncBrush(d);
        Points(Record::Polygon, pts, count);
    }
    void PolyPolygon(DeviceContext& d, const TPoint* pts, const int* counts, int polygons) override
    {
        SyncPen(d);
        SyncBrush(d);
        Record r;
        r.kind = Record::PolyPolygon;
        r.a = d.polyFillMode;
        int total = 0;
        for (int i = 0; i < polygons; ++i) total += counts[i];
        r.pts.assign(pts, pts + total);
        r.dx.assign(counts, counts + polygons);
        Push(std::move(r));
    }
    void Pixel(DeviceContext&, TPoint p, COLORREF c) override { Point(Record::Pixel, p, c); }
    void Text(DeviceContext& d, TPoint p, UINT options, const TRect* clip, const std::string& text,
              const int* dx) override
    {
        SyncText(d);
        Record r;
        r.kind = Record::Text;
        r.a = p.X;
        r.b = p.Y;
        r.options = options;
        if (clip) r.rect = *clip;
        r.text = text;
        const QFontMetrics fm(d.font);
        int prev = 0;
        for (std::size_t i = 1; i <= text.size(); ++i) {
            if (dx) {
                r.dx.push_back(dx[i - 1]);
                continue;
            }
            const int w = fm.horizontalAdvance(AnsiToQString(text.substr(0, i)));
            r.dx.push_back(w - prev);
            prev = w;
        }
        r.c = fm.height();
        Push(std::move(r));
    }
    void SaveDC(DeviceContext&) override
    {
        saved.push_back(sel);
        Push(Record::SaveDC);
    }
    void RestoreDC(DeviceContext& d, int) override
    {
        while (saved.size() > d.saved.size()) {
            sel = saved.back();
            saved.pop_back();
            Push(Record::RestoreDC);
        }
    }
    void ClipIntersected(DeviceContext&, const TRect& r) override
    {
        Record rec;
        rec.kind = Record::ClipRect;
        rec.rect = r;
        Push(std::move(rec));
    }
    void ClipChanged(DeviceContext& d) override
    {
        Record rec;
        rec.kind = Record::ClipRegion;
        if (d.clip)
            for (const QRect& q : *d.clip) rec.rects.push_back(FromQRect(q));
        if (d.clip && rec.rects.empty()) rec.rects.push_back({0, 0, 0, 0});  // clipped to nothing
        Push(std::move(rec));
    }
    void RoundRect(DeviceContext& d, const TRect& r, int w, int h) override
    {
        SyncPen(d);
        SyncBrush(d);
        Box(Record::RoundRect, r);
        data.records.back().a = w;
        data.records.back().b = h;
    }
    void ArcShape(DeviceContext& d, int kind, const TRect& box, TPoint start, TPoint end) override
    {
        SyncPen(d);
        if (kind != 0) SyncBrush(d);
        Box(Record::ArcShape, box);
        data.records.back().a = kind;
        data.records.back().pts = {start, end};
    }
    // A filled rectangle without an outline: no pen, and the box one pixel larger,
    // since a shape without a pen fills one pixel less each way.
    void Fill(const TRect& r, TBrushStyle style, COLORREF color)
    {
        Record pen;
        pen.kind = Record::Pen;
        pen.a = psClear;
        pen.b = 1;
        Select(sel.pen, pen);
        Record brush;
        brush.kind = Record::Brush;
        brush.a = style;
        brush.color = color;
        Select(sel.brush, brush);
        Box(Record::Rectangle, {r.Left, r.Top, r.Right + 1, r.Bottom + 1});
    }
    void FillRect(DeviceContext& d, const TRect& r, COLORREF color, bool withBrush) override
    {
        if (withBrush) Fill(r, d.brushStyle, d.brushColor);
        else Fill(r, bsSolid, color);
    }
    void Blt(DeviceContext& d, const TRect& target, const QImage& source, DWORD rop) override
    {
        if (source.isNull()) {
            if (rop == PATCOPY) Fill(target, bsSolid, d.brushColor);
            else if (rop == BLACKNESS) Fill(target, bsSolid, 0);
            else if (rop == WHITENESS) Fill(target, bsSolid, 0xFFFFFF);
            return;
        }
        Record rec;
        rec.kind = Record::Bitmap;
        rec.rect = target;
        rec.a = source.width();
        rec.b = source.height();
        rec.options = rop;
        const QImage img = source.convertToFormat(QImage::Format_RGB32);
        rec.bits.resize(std::size_t(rec.a) * std::size_t(rec.b));
        for (int y = 0; y < rec.b; ++y)
            std::memcpy(rec.bits.data() + std::size_t(y) * std::size_t(rec.a), img.constScanLine(y),
                        std::size_t(rec.a) * 4);
        Push(std::move(rec));
    }
};

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile) : rec_(std::make_unique<Recorder>(metafile, Font()))
{
    metafile.Clear();
    Font().SetColor(clBlack);
    rec_->dc.recorder = rec_.get();
    rec_->dc.recordBounds = QRect(0, 0, metafile.Width(), metafile.Height());
    AttachDC(&rec_->dc);
}

TMetafileCanvas::~TMetafileCanvas() = default;

int TMetafileCanvas::SaveDC() { return platform::SaveDC(Handle()); }

void TMetafileCanvas::RestoreDC()
{
    platform::RestoreDC(Handle(), -1);
    Refresh();
}

void TMetafileCanvas::IntersectClipRect(int l, int t, int r, int b)
{
    platform::IntersectClipRect(Handle(), l, t, r, b);
}

// ---------------------------------------------------------------- clipboard

void CopyMetafileToClipboard(const TMetafile& metafile)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) throw base::EInvalidOperation("Cannot open clipboard");
    const std::string emf = metafile.EmfData();
    TBitmap picture(std::max(1, metafile.Width()), std::max(1, metafile.Height()));
    TCanvas& c = *picture.Canvas();
    c.Brush().SetColor(clWhite);
    c.Brush().SetStyle(bsSolid);
    c.FillRect(Rect(0, 0, picture.Width(), picture.Height()));
    const_cast<TMetafile&>(metafile).Draw(c, Rect(0, 0, metafile.Width(), metafile.Height()));
    auto* md = new QMimeData;
    md->setData(QString::fromLatin1(kEnhMetafileMime), QByteArray(emf.data(), qsizetype(emf.size())));
    md->setImageData(BitmapImage(picture).copy());
    QGuiApplication::clipboard()->setMimeData(md);
}

std::string ClipboardData(const std::string& mimeType)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
    const QMimeData* md = QGuiApplication::clipboard()->mimeData();
    if (!md) return {};
    QByteArray b = md->data(QString::fromStdString(mimeType));
    return std::string(b.constData(), std::size_t(b.size()));
}

bool ClipboardBitmap(TBitmap& out)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    QImage img = QGuiApplication::clipboard()->image();
    if (img.isNull()) return false;
    out.SetSize(img.width(), img.height());
    BitmapImage(out) = img.convertToFormat(BitmapImage(out).format());
    return true;
}

}  // namespace platform
