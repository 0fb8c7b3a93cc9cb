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
std::string AppendagePropertiesText();
// The eight children of an appendage's properties node, in order: max X, min X, max Z,
// min Z, max Y, min Y, active, colour.
std::string AppendagePropertyText(const core::Appendage& a, unsigned i, int child);
inline constexpr int kAppendagePropertyCount = 8;
std::string ActiveNodeText(bool active, unsigned i);
std::string ColourNodeText(std::uint32_t colour, unsigned i);
// What a hull value's node shows again after a value that was no number; child as for
// HullInfoText (0 to 5).
std::string HullValueRestoreText(const core::Hullform& hull, int child);
// The same for a frame's Y: the frame's text without its picture.
std::string FrameRestoreText(const core::Section& s, unsigned j, unsigned i);
// Why a frame cannot take the Y y: another frame of its appendage lies there.
std::string FrameTakenText(double y);
// An appendage colour (0x00BBGGRR) as the tree writes it: "RRGGBB", upper case.
std::string HtmlColour(std::uint32_t colour);

}  // namespace app
