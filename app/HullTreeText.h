#pragma once
// The mini-HTML texts of the hull tree's nodes.
#include <cstdint>
#include <string>

namespace core {
class Hullform;
class Appendage;
class Section;
}  // namespace core

namespace app {

// editing: the values are in-place editors (class "EDIT").
std::string HullNodeText(const core::Hullform& hull, bool editing);
// The information node's children, in order: density, AP, FP, the three draught marks,
// then max X, min X, max Z, min Z, max Y, min Y.
std::string HullInfoText(const core::Hullform& hull, int child, bool editing);
inline constexpr int kHullInfoCount = 12;
std::string AppendagesNodeText(unsigned count);
std::string AppendageNodeText(const core::Appendage& a, unsigned i, bool editing);
std::string FramesNodeText(unsigned count);
std::string FrameNodeText(const core::Section& s, unsigned j, unsigned i, bool editing);
// An appendage colour (0x00BBGGRR) as the tree writes it: "RRGGBB", upper case.
std::string HtmlColour(std::uint32_t colour);

}  // namespace app
