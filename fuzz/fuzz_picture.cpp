// The picture readers: whatever a file holds, under any of the picture extensions, is
// either refused with the library's exception or gives a picture that draws, and a
// bitmap read that way saves and reads back to the same pixels.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "FuzzDriver.h"
#include "base/Exception.h"
#include "platform/TestRig.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/PictureFile.h"
#include "Offscreen.h"

using namespace platform;

namespace {

// Small pictures written by an outside tool: 3 x 2 PNG and GIF, 4 x 4 JPEG.
const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x03\x00\x00\x00\x02\x01\x03\x00"
    "\x00\x00\xa7\xba\xf4\x59\x00\x00\x00\x06\x50\x4c\x54\x45\x20\x40\xc0\xff\x00\x00\x32\xed\x3e\x5b\x00\x00\x00"
    "\x0c\x49\x44\x41\x54\x08\xd7\x63\x60\x60\x70\x00\x00\x00\x44\x00\x41\x46\xac\x77\x94\x00\x00\x00\x00\x49\x45"
    "\x4e\x44\xae\x42\x60\x82",
    87);
const std::string kGif(
    "\x47\x49\x46\x38\x39\x61\x03\x00\x02\x00\xf0\x00\x00\xff\x00\x00\x20\x40\xc0\x21\xf9\x04\x00\x00\x00\x00\x00"
    "\x2c\x00\x00\x00\x00\x03\x00\x02\x00\x00\x02\x03\x8c\x03\x51\x00\x3b",
    44);
const std::string kJpeg(
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43\x00\x10\x0b"
    "\x0c\x0e\x0c\x0a\x10\x0e\x0d\x0e\x12\x11\x10\x13\x18\x28\x1a\x18\x16\x16\x18\x31\x23\x25\x1d\x28\x3a\x33\x3d"
    "\x3c\x39\x33\x38\x37\x40\x48\x5c\x4e\x40\x44\x57\x45\x37\x38\x50\x6d\x51\x57\x5f\x62\x67\x68\x67\x3e\x4d\x71"
    "\x79\x70\x64\x78\x5c\x65\x67\x63\xff\xdb\x00\x43\x01\x11\x12\x12\x18\x15\x18\x2f\x1a\x1a\x2f\x63\x42\x38\x42"
    "\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63"
    "\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63"
    "\x63\x63\x63\x63\x63\xff\xc0\x00\x11\x08\x00\x04\x00\x04\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00"
    "\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x05\xff\xc4\x00\x14\x10\x01\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xc4\x00\x15\x01\x01\x01\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04\x06\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\x82\x02\x80\x37\xff\xd9",
    287);

std::string Bytes(const TGraphic& g)
{
    std::ostringstream out;
    g.SaveToStream(out);
    return out.str();
}

// A bitmap of a few colours, as the program writes it.
std::string BitmapSeed(int w, int h)
{
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.Canvas()->SetPixel(x, y, RGB(x * 40 % 256, y * 70 % 256, (x + y) * 30 % 256));
    return Bytes(b);
}

void Le(std::string& s, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s.push_back(char((v >> (8 * i)) & 255));
}

// An icon file of one 2 x 2 image of 32 bits with its mask.
std::string IconSeed()
{
    std::string s;
    Le(s, 0, 2);
    Le(s, 1, 2);  // an icon
    Le(s, 1, 2);  // one image
    const std::uint32_t size = 40 + 2 * 2 * 4 + 2 * 4;
    s += std::string("\x02\x02\x00\x00", 4);  // 2 x 2, no palette
    Le(s, 1, 2);
    Le(s, 32, 2);
    Le(s, size, 4);
    Le(s, 22, 4);
    Le(s, 40, 4);
    Le(s, 2, 4);
    Le(s, 4, 4);  // the image and its mask
    Le(s, 1, 2);
    Le(s, 32, 2);
    for (int i = 0; i < 6; ++i) Le(s, 0, 4);
    for (std::uint32_t px : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x80FFFFFFu}) Le(s, px, 4);
    Le(s, 0, 4);
    Le(s, 0, 4);
    return s;
}

// What a picture read from the file must do: have a sane size, draw, and (a bitmap) save
// and read back unchanged.
std::string CheckPicture(TGraphic* g)
{
    if (!g) return "accepted without a graphic";
    if (g->Width() < 0 || g->Height() < 0 || g->Width() > 65535 || g->Height() > 65535)
        return "accepted with a size of " + std::to_string(g->Width()) + " x " + std::to_string(g->Height());
    TBitmap target(16, 16);
    target.Canvas()->StretchDraw(Rect(0, 0, 16, 16), g);
    if (auto* b = dynamic_cast<TBitmap*>(g)) {
        std::istringstream in(Bytes(*b));
        TBitmap back;
        back.LoadFromStream(in);
        if (back.Width() != b->Width() || back.Height() != b->Height()) return "bitmap read back with another size";
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                if ((back.ScanLine(y)[x] & 0xFFFFFF) != (b->ScanLine(y)[x] & 0xFFFFFF))
                    return "bitmap read back with other pixels";
    }
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    fuzz::Scratch dir;
    const std::vector<std::string> seeds = {BitmapSeed(7, 5), BitmapSeed(1, 1), IconSeed(), kPng, kGif, kJpeg};
    const std::vector<std::string> tokens = {"BM", "\x89PNG\r\n\x1a\n", "GIF89a", "GIF87a", "\xff\xd8\xff", "IHDR",
                                             "IDAT", "IEND", "\x28\0\0\0", std::string("\0\0\1\0", 4),
                                             "\xff\xff\xff\x7f", "\x01\x00\x08\x00", "\x00\x01"};
    const char* exts[] = {".bmp", ".png", ".gif", ".jpg", ".ico"};
    return fuzz::Run("picture", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        // One of its own per input: a file rewritten within the clock's step looks unchanged.
        TPictureFileCache cache;
        for (const char* ext : exts) {
            const std::string file = dir.File(std::string("in") + ext);
            fuzz::WriteBytes(file, input);
            TPicture pic;
            bool accepted = true;
            try {
                pic.LoadFromFile(file);
            } catch (const base::Exception& e) {
                accepted = false;
                if (std::string(e.what()).empty()) r.fault = std::string("refused without a reason (") + ext + ")";
            }
            if (accepted) {
                r.outcome = fuzz::Outcome::Accepted;
                if (std::string f = CheckPicture(pic.Graphic()); !f.empty()) r.fault = f + " (" + ext + ")";
            }
            // The cache reads the file as a picture does.
            TPicture* cached = cache.Get(file);
            if ((cached != nullptr) != accepted) r.fault = std::string("the cache and the reader disagree (") + ext + ")";
            if (!cached && cache.Error().empty()) r.fault = std::string("the cache refused without a reason (") + ext + ")";
            if (!r.fault.empty()) return r;
        }
        // The decoder that takes any format by its content.
        TBitmap any;
        if (any.LoadFromImageData(input)) {
            r.outcome = fuzz::Outcome::Accepted;
            r.fault = CheckPicture(&any);
        }
        return r;
    });
}
