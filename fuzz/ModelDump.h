#pragma once
// The hull model as text, every number exact, for comparing what was read with what a
// save gave back.
#include <cstdio>
#include <string>

#include "core/Hullform.h"

namespace fuzz {

inline std::string Exact(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", v);
    return buf;
}

// A name as the hull file gives it back: runs of blanks as one blank, none at the ends.
inline std::string Tidy(const std::string& name)
{
    std::string out;
    bool blank = false;
    for (char c : name) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// A frame: name, Y and offsets.
inline std::string Dump(const core::Section& s)
{
    std::string out = "  frame [" + Tidy(s.name) + "] Y=" + Exact(s.Y) + "\n   ";
    for (std::size_t k = 0; k < s.X.size() && k < s.Z.size(); ++k) out += " " + Exact(s.X[k]) + "," + Exact(s.Z[k]);
    return out + " (" + std::to_string(s.X.size()) + "," + std::to_string(s.Z.size()) + ")\n";
}

// An appendage; withFlags adds what only the hull file holds.
inline std::string Dump(const core::Appendage& a, bool withFlags)
{
    std::string out = " appendage [" + a.name + "] ap=" + Exact(a.ap) + " fp=" + Exact(a.fp) +
                      " density=" + Exact(a.density) + "\n";
    if (withFlags)
        out += " active=" + std::to_string(a.active) + " flooding=" + std::to_string(a.freeFlooding) +
               " colour=" + std::to_string(a.colour) + "\n";
    for (const core::Section& s : a.frames) out += Dump(s);
    return out;
}

// What the hull file holds: the appendages' own ap, fp and density are not in it.
inline std::string Dump(const core::Hullform& h)
{
    std::string out = "hull [" + Tidy(h.name) + "] density=" + Exact(h.waterDensity) + " ap=" + Exact(h.ap) +
                      " fp=" + Exact(h.fp) + " marks=" + Exact(h.fwdMarkY) + "," + Exact(h.midMarkY) + "," +
                      Exact(h.aftMarkY) + "\n";
    for (const core::Appendage& a : h.appendages) {
        out += " appendage [" + Tidy(a.name) + "] active=" + std::to_string(a.active) +
               " flooding=" + std::to_string(a.freeFlooding) + " colour=" + std::to_string(a.colour) + "\n";
        for (const core::Section& s : a.frames) out += Dump(s);
    }
    return out;
}

// The first line where two dumps differ, for the report.
inline std::string FirstDifference(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const std::size_t from = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i) + 1;
    return "[" + a.substr(from, std::min<std::size_t>(120, a.find('\n', i) - from)) + "] vs [" +
           b.substr(from, std::min<std::size_t>(120, b.find('\n', i) - from)) + "]";
}

}  // namespace fuzz
