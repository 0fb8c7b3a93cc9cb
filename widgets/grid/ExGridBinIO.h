#pragma once
// The bounds the binary grid stream's reader holds every record to.

namespace grid::binio {

constexpr int kMaxCols = 512;
constexpr int kMaxRows = 1 << 20;
constexpr int kMaxSize = 1 << 16;  // widths and heights in pixels

}  // namespace grid::binio
