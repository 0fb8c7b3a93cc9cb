#include "widgets/html/TextSizeCache.h"

#include <cstring>
#include <unordered_map>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"

namespace html {
namespace {

using namespace platform;

// Enough for every cell of a few screens of tables; beyond it the cache starts afresh.
constexpr std::size_t kMaxEntries = 8192;

struct Sizes {
    std::unordered_map<std::string, TSize> map;
    std::string key;  // reused, so that a lookup allocates nothing
};

Sizes& Cache()
{
    static thread_local Sizes s;
    return s;
}

template <class T>
void Append(std::string& k, T v)
{
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    k.append(b, sizeof v);
}

// Everything the host's measurement depends on: the font but its colour and
// escapement, the DC's character spacing, the kind of call and its flags.
std::string& MakeKey(TCanvas& c, char kind, UINT flags, const std::string& text)
{
    // The DC's own state is enough: selecting the font into it would cost what is saved.
    HDC dc = c.DC() ? c.DC() : c.Handle();
    const int extra = SetTextCharacterExtra(dc, 0);
    SetTextCharacterExtra(dc, extra);
    const TFont& f = c.Font();
    std::string& k = Cache().key;
    k.clear();
    k.push_back(kind);
    Append(k, flags);
    Append(k, f.Height());
    Append(k, int(f.Style()));
    Append(k, int(f.Pitch()));
    Append(k, extra);
    Append(k, std::uint32_t(f.Name().size()));
    k += f.Name();
    k += text;
    return k;
}

template <class Measure>
TSize Lookup(const std::string& key, Measure measure)
{
    Sizes& s = Cache();
    if (auto it = s.map.find(key); it != s.map.end()) return it->second;
    const TSize size = measure();
    if (s.map.size() >= kMaxEntries) s.map.clear();
    s.map.emplace(key, size);
    return size;
}

}  // namespace

TSize DrawnTextSize(TCanvas& canvas, const std::string& text, UINT flags)
{
    flags = (flags | DT_CALCRECT) & ~UINT(DT_END_ELLIPSIS);
    return Lookup(MakeKey(canvas, 'D', flags, text), [&] {
        TRect r{0, 0, 0, 0};
        DrawTextEx(canvas.Handle(), text, -1, &r, flags);
        return TSize{r.Right - r.Left, r.Bottom - r.Top};
    });
}

TSize TextExtentOf(TCanvas& canvas, const std::string& text)
{
    return Lookup(MakeKey(canvas, 'E', 0, text), [&] { return canvas.TextExtent(text); });
}

void ClearTextSizes() { Cache().map.clear(); }

}  // namespace html
