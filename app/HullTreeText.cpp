#include "app/HullTreeText.h"

#include <cstdio>

#include "base/StrUtils.h"
#include "core/Hullform.h"

namespace app {

namespace {

std::string Anchor(const std::string& href, const std::string& text, bool editing)
{
    return "<A href=\"" + href + "\"" + (editing ? " class=\"EDIT\">" : ">") + text + "</A>";
}

std::string Length(double v) { return base::FormatFloat("0.000", v); }

}  // namespace

std::string HullNodeText(const core::Hullform& hull, bool editing)
{
    return std::string("<B>") + (editing ? "<IMG src=\"idx:0\">" : "") + Anchor("hull name", hull.name, editing) +
           "</B>";
}

std::string HullInfoText(const core::Hullform& h, int child, bool editing)
{
    struct Value {
        int picture;
        const char* label;
        const char* href;  // null: plain text
        double value;
    };
    const Value values[kHullInfoCount] = {
        {14, "Density", "density", h.waterDensity},
        {15, "AP", "ap", h.ap},
        {16, "FP", "fp", h.fp},
        {17, "Aft Draught Mark Y", "aftdraught", h.aftMarkY},
        {18, "Mid Draught Mark Y", "middraught", h.midMarkY},
        {19, "Fwd Draught Mark Y", "fwddraught", h.fwdMarkY},
        {11, "Max X", nullptr, h.GetMaxX()},
        {8, "Min X", nullptr, h.GetMinX()},
        {13, "Max Z", nullptr, h.GetMaxZ()},
        {10, "Min Z", nullptr, h.GetMinZ()},
        {12, "Max Y", nullptr, h.GetMaxY()},
        {9, "Min Y", nullptr, h.GetMinY()},
    };
    const Value& v = values[child];
    const std::string head = "<IMG src=\"idx:" + std::to_string(v.picture) + "\"> " + v.label + " = ";
    if (!v.href) return head + Length(v.value) + " m";
    if (child == 0) return head + Anchor(v.href, base::FormatFloat("0.0000", v.value), editing) + " Te/m<SUP>3";
    return head + Anchor(v.href, Length(v.value), editing) + " m";
}

std::string AppendagesNodeText(unsigned count) { return "<IMG src=\"idx:2\"> Appendages [" + std::to_string(count) + "]"; }

std::string AppendageNodeText(const core::Appendage& a, unsigned i, bool editing)
{
    const std::string href = "appendage " + std::to_string(i) + " name";
    return std::string("<B>") + (editing ? "<IMG src=\"idx:21\"> " : "") + Anchor(href, a.name, editing) + "</B>";
}

std::string FramesNodeText(unsigned count) { return "Frames [" + std::to_string(count) + "]"; }

std::string FrameNodeText(const core::Section& s, unsigned j, unsigned i, bool editing)
{
    const std::string name = Anchor("appendage " + std::to_string(i) + " frame " + std::to_string(j), s.name, editing);
    const std::string y = Length(s.GetY());
    return "<IMG src=\"idx:20\"> " + name + " @ " +
           (editing ? Anchor("frame " + std::to_string(j) + " ycoord", y, true) : y) + " m";
}

std::string HtmlColour(std::uint32_t colour)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return buf;
}

}  // namespace app
