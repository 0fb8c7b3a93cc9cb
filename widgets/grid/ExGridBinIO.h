#pragma once
// Little-endian words and counted strings of the binary grid stream; the reader refuses
// anything that runs past the data or out of range with EExGridError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "widgets/grid/ExGrid.h"

namespace grid::binio {

constexpr int kMaxCols = 512;
constexpr int kMaxRows = 1 << 20;
constexpr int kMaxSize = 1 << 16;  // widths and heights in pixels

struct Writer {
    std::string& out;
    void I(int32_t v)
    {
        for (int k = 0; k < 4; ++k) out += char((uint32_t(v) >> (8 * k)) & 0xFF);
    }
    void S(const std::string& s)
    {
        I(int32_t(s.size()));
        out += s;
    }
};

struct Reader {
    const std::string& d;
    size_t p = 0;
    int32_t I()
    {
        if (p > d.size() || d.size() - p < 4) throw EExGridError("Grid stream is truncated");
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= uint32_t(uint8_t(d[p + size_t(k)])) << (8 * k);
        p += 4;
        return int32_t(v);
    }
    int Range(int lo, int hi, const char* what)
    {
        const int v = I();
        if (v < lo || v > hi) throw EExGridError(std::string("Grid stream holds a bad ") + what);
        return v;
    }
    std::string S()
    {
        const int32_t n = I();
        if (n < 0 || size_t(n) > d.size() - p) throw EExGridError("Grid stream is truncated");
        std::string s = d.substr(p, size_t(n));
        p += size_t(n);
        return s;
    }
};

}  // namespace grid::binio
