#pragma once
// A packed version number (one byte each for major, minor, release, build) as "1.7.0.0".
#include <cstdint>
#include <string>

namespace html {

inline std::string VersionText(std::uint32_t v)
{
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." +
           std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

}  // namespace html
