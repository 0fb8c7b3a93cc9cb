#pragma once
// Checksums of drawings that must stay the same pixel for pixel: each case's pixels (and
// whatever state the drawing leaves) reduce to one number kept in the test beside the case.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/graphics/Graphics.h"

namespace testsupport {

// FNV-1a over bytes, numbers, texts and bitmaps.
class PixelHash {
public:
    void Byte(unsigned char b)
    {
        h_ ^= b;
        h_ *= 1099511628211ull;
    }
    void Number(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i) Byte((unsigned char)(v >> (8 * i)));
    }
    void Text(const std::string& s)
    {
        Number(s.size());
        for (char c : s) Byte((unsigned char)c);
    }
    // The size and every pixel's colour (the alpha byte left out).
    void Bitmap(platform::TBitmap& b)
    {
        Number(std::uint64_t(b.Width()));
        Number(std::uint64_t(b.Height()));
        for (int y = 0; y < b.Height(); ++y) {
            const std::uint32_t* row = b.ScanLine(y);
            for (int x = 0; x < b.Width(); ++x) {
                const std::uint32_t p = row[x] & 0xFFFFFFu;
                Byte((unsigned char)p);
                Byte((unsigned char)(p >> 8));
                Byte((unsigned char)(p >> 16));
            }
        }
    }
    std::uint64_t Value() const { return h_; }

private:
    std::uint64_t h_ = 1469598103934665603ull;
};

inline std::string HexOf(std::uint64_t v)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%016llx", (unsigned long long)v);
    return buf;
}

// With KORVELO_PIXEL_OUT set, keeps the picture there as name.png for a look.
inline void KeepPicture(platform::TBitmap& b, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_PIXEL_OUT")) b.SaveToFile(std::string(dir) + "/" + name + ".png");
}

// A drawing whose checksum differs from the one kept: intended changes take the new
// number after a look at the pictures (KORVELO_PIXEL_OUT).
#define EXPECT_PIXELS(hash, expected, name)                                                                \
    EXPECT_EQ(::testsupport::HexOf((hash).Value()), ::testsupport::HexOf(expected))                      \
        << "the drawing of '" << (name) << "' changed (pictures: set KORVELO_PIXEL_OUT to a folder)"

}  // namespace testsupport
