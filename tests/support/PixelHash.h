#pragma once
// Checksums of drawings that must stay the same pixel for pixel: each case's pixels (and
// whatever state the drawing leaves) reduce to one number kept in the test beside the case.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
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

// KORVELO_PIXEL_RENEW=1: a changed checksum is written over the old one in the test's
// source (found by its file name under tests/) instead of failing. Meant for a font or
// toolkit upgrade, together with KORVELO_PIXEL_OUT to look at every renewed picture.
inline bool RenewMode()
{
    const char* v = std::getenv("KORVELO_PIXEL_RENEW");
    return v && *v && std::string(v) != "0";
}

// Replaces the literal of `expected` by that of `actual` in the file named like `file`
// below `root`; returns what went wrong, or "" when done.
inline std::string RenewChecksum(const std::filesystem::path& root, const char* file, std::uint64_t expected,
                                 std::uint64_t actual)
{
    namespace fs = std::filesystem;
    const std::string name = fs::path(file).filename().string();
    fs::path source;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().filename() == name) source = e.path();
    if (source.empty()) return "no file " + name + " under " + root.string();
    std::ifstream in(source, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    const std::string from = HexOf(expected), to = HexOf(actual);
    const auto at = s.find(from);
    if (at == std::string::npos) return "the checksum " + from + " is not written in " + source.string();
    if (s.find(from, at + 1) != std::string::npos) return "the checksum " + from + " stands twice in " + source.string();
    s.replace(at, from.size(), to);
    const fs::path temp = source.string() + ".renew";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << s;
        if (!out.flush()) return "cannot write " + temp.string();
    }
    fs::rename(temp, source);
    return "";
}

inline ::testing::AssertionResult PixelsMatch(const char* file, std::uint64_t actual, std::uint64_t expected,
                                               const std::string& name)
{
    if (actual == expected) return ::testing::AssertionSuccess();
    if (RenewMode()) {
        const std::string why =
            RenewChecksum(std::filesystem::path(KORVELO_SOURCE_DIR) / "tests", file, expected, actual);
        if (why.empty()) {
            std::printf("renewed '%s': %s -> %s\n", name.c_str(), HexOf(expected).c_str(), HexOf(actual).c_str());
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "cannot renew '" << name << "': " << why;
    }
    return ::testing::AssertionFailure()
           << "the drawing of '" << name << "' changed: " << HexOf(actual) << " where " << HexOf(expected)
           << " is kept (pictures: set KORVELO_PIXEL_OUT to a folder; KORVELO_PIXEL_RENEW=1 takes the new numbers)";
}

// A drawing whose checksum differs from the one kept: intended changes take the new
// number after a look at the pictures (KORVELO_PIXEL_OUT), by hand or with KORVELO_PIXEL_RENEW.
#define EXPECT_PIXELS(hash, expected, name) \
    EXPECT_TRUE(::testsupport::PixelsMatch(__FILE__, (hash).Value(), (expected), (name)))

}  // namespace testsupport
