#include "app/HullTreeText.h"

#include <cstdio>

#include "base/StrUtils.h"
#include "core/Hullform.h"
#include "widgets/edit/ParamMarkup.h"

namespace app {

namespace {

std::string Anchor(const std::string& href, const std::string& text, bool editing)
{
    return "<A href=\"" + href + "\"" + (editing ? " class=\"EDIT\">" : ">") + text + "</A>";
}

std::string Length(double v) { return base::FormatFloat("0.000", v); }

// Names are kept as typed; in the markup their special characters are entities.
std::string Markup(const std::string& name) { return edit::HTMLPrep(name); }

std::string Extent(int picture, const char* label, double v)
{
    return "<IMG src=\"idx:" + std::to_string(picture) + "\"> " + label + " = " + Length(v) + " m";
}

}  // namespace

std::string HullNodeText(const core::Hullform& hull, bool editing)
{
    return std::string("<B>") + (editing ? "<IMG src=\"idx:0\">" : "") + Anchor("hull name", Markup(hull.name), editing) +
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
    if (!v.href) return Extent(v.picture, v.label, v.value);
    const std::string head = "<IMG src=\"idx:" + std::to_string(v.picture) + "\"> " + v.label + " = ";
    if (child == 0) return head + Anchor(v.href, base::FormatFloat("0.0000", v.value), editing) + " Te/m<SUP>3";
    return head + Anchor(v.href, Length(v.value), editing) + " m";
}

std::string AppendagesNodeText(unsigned count) { return "<IMG src=\"idx:2\"> Appendages [" + std::to_string(count) + "]"; }

std::string AppendageNodeText(const core::Appendage& a, unsigned i, bool editing)
{
    const std::string href = "appendage " + std::to_string(i) + " name";
    return std::string("<B>") + (editing ? "<IMG src=\"idx:21\"> " : "") + Anchor(href, Markup(a.name), editing) + "</B>";
}

std::string FramesNodeText(unsigned count) { return "Frames [" + std::to_string(count) + "]"; }

std::string FrameNodeText(const core::Section& s, unsigned j, unsigned i, bool editing)
{
    const std::string name = Anchor("appendage " + std::to_string(i) + " frame " + std::to_string(j), Markup(s.name), editing);
    const std::string y = Length(s.GetY());
    return "<IMG src=\"idx:20\"> " + name + " @ " +
           (editing ? Anchor("frame " + std::to_string(j) + " ycoord", y, true) : y) + " m";
}

std::string AppendagePropertiesText() { return "<IMG src=\"idx:1\"> Appendage Properties"; }

std::string AppendagePropertyText(const core::Appendage& a, unsigned i, int child)
{
    const bool any = !a.frames.empty();
    switch (child) {
    case 0: return Extent(11, "Max X", any ? a.GetMaxX() : 0);
    case 1: return Extent(8, "Min X", any ? a.GetMinX() : 0);
    case 2: return Extent(13, "Max Z", any ? a.GetMaxZ() : 0);
    case 3: return Extent(10, "Min Z", any ? a.GetMinZ() : 0);
    case 4: return Extent(12, "Max Y", any ? a.GetMaxY() : 0);
    case 5: return Extent(9, "Min Y", any ? a.GetMinY() : 0);
    case 6: return ActiveNodeText(a.active, i);
    default: return ColourNodeText(a.colour, i);
    }
}

std::string ActiveNodeText(bool active, unsigned i)
{
    return "<IMG src=\"idx:7\"> Active: <B><A href=\"appendage " + std::to_string(i) + " active\">" +
           (active ? "True" : "False") + "</A></B>";
}

std::string ColourNodeText(std::uint32_t colour, unsigned i)
{
    return "<IMG src=\"idx:5\"><A href=\"appendage " + std::to_string(i) + " colour\"><FONT color=\"#" +
           HtmlColour(colour) + "\"> Change Colour</FONT></A>";
}

std::string HullValueRestoreText(const core::Hullform& hull, int child)
{
    std::string s = HullInfoText(hull, child, true);
    // The density's unit is written out plainly here.
    if (child == 0) s.replace(s.rfind("<SUP>3"), 6, "^3");
    return s;
}

std::string FrameRestoreText(const core::Section& s, unsigned j, unsigned i)
{
    const std::string full = FrameNodeText(s, j, i, true);
    return full.substr(full.find("<A "));
}

std::string FrameTakenText(double y)
{
    return "A frame of this appendage already lies at Y = " + Length(y) + " m.";
}

std::string HtmlColour(std::uint32_t colour)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return buf;
}

}  // namespace app
