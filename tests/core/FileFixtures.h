#pragma once
// Raw file access, joined lines and bit-for-bit comparison of doubles for the file tests.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fixtures {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

// Each line followed by end.
inline std::string Joined(const std::vector<std::string>& lines, const char* end = "\r\n") {
    std::string out;
    for (const std::string& l : lines) out += l + end;
    return out;
}

// Equal bit for bit, or both NaN.
inline bool SameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace fixtures

#define EXPECT_SAME_DOUBLE(a, b) EXPECT_PRED2(::fixtures::SameDouble, a, b)
