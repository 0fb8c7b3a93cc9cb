#pragma once
// The fixed sizes of the grid's per-column tables.

namespace grid {

// Real columns the hidden-column map and the print column tables cover (0 .. 511).
constexpr int kMappedColumns = 512;
// Entries of the per-column tables: the mapped columns and one past them.
constexpr int kColumnSlots = kMappedColumns + 1;

}  // namespace grid
