#pragma once
// Small image files built in memory for the picture tests.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace testimages {

struct GifFrame {
    std::uint16_t left = 0, top = 0, width = 1, height = 1;
    std::uint16_t delay = 0;   // hundredths of a second
    std::uint8_t colour = 0;   // palette index filling the frame
    bool control = true;       // preceded by a Graphic Control Extension
};

inline void Put16(std::string& s, unsigned v)
{
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

// Palette: 0 black, 1 red, 2 green, 3 blue. Image data is LZW with a clear code after
// every two pixels, so the code size stays at three bits.
inline std::string MakeGif(std::uint16_t width, std::uint16_t height, const std::vector<GifFrame>& frames,
                           const char* version = "GIF89a")
{
    std::string s(version);
    Put16(s, width);
    Put16(s, height);
    s.push_back(static_cast<char>(0x91));  // global table of 4 colours
    s.push_back(0);
    s.push_back(0);
    const unsigned char palette[12] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    s.append(reinterpret_cast<const char*>(palette), 12);
    for (const GifFrame& f : frames) {
        if (f.control) {
            s += "\x21\xF9\x04";
            s.push_back(0x04);  // leave the frame in place
            Put16(s, f.delay);
            s.push_back(0);
            s.push_back(0);
        }
        s.push_back(0x2C);
        Put16(s, f.left);
        Put16(s, f.top);
        Put16(s, f.width);
        Put16(s, f.height);
        s.push_back(0);
        s.push_back(2);  // minimum code size
        std::vector<unsigned> codes;
        const unsigned clear = 4, end = 5;
        const unsigned pixels = unsigned(f.width) * f.height;
        for (unsigned i = 0; i < pixels; ++i) {
            if (i % 2 == 0)
                codes.push_back(clear);
            codes.push_back(f.colour);
        }
        codes.push_back(end);
        std::string data;
        unsigned acc = 0, bits = 0;
        for (unsigned c : codes) {
            acc |= c << bits;
            bits += 3;
            while (bits >= 8) {
                data.push_back(static_cast<char>(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        }
        if (bits > 0)
            data.push_back(static_cast<char>(acc & 0xFF));
        for (std::size_t at = 0; at < data.size(); at += 255) {
            std::size_t n = std::min<std::size_t>(255, data.size() - at);
            s.push_back(static_cast<char>(n));
            s.append(data, at, n);
        }
        s.push_back(0);
    }
    s.push_back(0x3B);
    return s;
}

// A 24-bit BMP of one colour (0x00BBGGRR).
inline std::string MakeBmp(int width, int height, std::uint32_t colour)
{
    const int row = (width * 3 + 3) & ~3;
    const unsigned size = 54u + unsigned(row * height);
    std::string s = "BM";
    auto put32 = [&](unsigned v) {
        Put16(s, v & 0xFFFF);
        Put16(s, v >> 16);
    };
    put32(size);
    put32(0);
    put32(54);
    put32(40);
    put32(unsigned(width));
    put32(unsigned(height));
    Put16(s, 1);
    Put16(s, 24);
    put32(0);
    put32(unsigned(row * height));
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = 0; y < height; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            line.push_back(static_cast<char>((colour >> 16) & 0xFF));
            line.push_back(static_cast<char>((colour >> 8) & 0xFF));
            line.push_back(static_cast<char>(colour & 0xFF));
        }
        line.resize(std::size_t(row), '\0');
        s += line;
    }
    return s;
}

}  // namespace testimages
