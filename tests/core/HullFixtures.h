#pragma once
// Builders for test hulls, and a scratch directory to run in.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/Appendage.h"
#include "core/Hullform.h"
#include "core/Section.h"

namespace fixtures {

// Creates a fresh directory and removes it on destruction. Hulls made in a test take a
// log file in it (File("Korvelo.log"), say), so no test writes its log elsewhere.
class ScopedTempDir {
public:
    ScopedTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvelo-test-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data())) path_ = made;
    }
    ~ScopedTempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Makes dir the current folder, and goes back on destruction: only for the tests of the
// program's own log, which goes to the current folder.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ScopedCurrentDir() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
    }
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::filesystem::path old_;
};

// A hull whose log is "Korvelo.log" in its own scratch directory.
struct TempHull {
    ScopedTempDir dir;
    core::Hullform hull{dir.File("Korvelo.log")};
};

// The log lines written after the first `count` lines.
inline std::vector<std::string> LinesSince(const core::ErrorLog& log, std::size_t count) {
    const auto& l = log.Lines();
    if (count >= l.size()) return {};
    return {l.begin() + static_cast<std::ptrdiff_t>(count), l.end()};
}

inline std::vector<std::string> LinesSince(const core::Hullform& hull, std::size_t count) {
    return LinesSince(hull.log, count);
}

// The lines of a text file, without line ends.
inline std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

using Offsets = std::vector<std::pair<double, double>>;  // (X, Z) pairs

// A frame at y with these offsets, added in order (extents kept by the frame).
inline core::Section MakeFrame(double y, const Offsets& offsets, const std::string& name = "Frame") {
    core::Section s;
    s.name = name;
    s.SetY(y);
    for (const auto& [x, z] : offsets) s.AddOffset(x, z);
    return s;
}

inline Offsets OffsetsOf(const core::Section& s) {
    Offsets out;
    for (std::size_t k = 0; k < s.X.size(); ++k) out.emplace_back(s.X[k], s.Z[k]);
    return out;
}

// The offsets of a closed rectangle from X x0 to x1 and Z z0 to z1, counter-clockwise
// from (x0, z0).
inline Offsets BoxOffsets(double x0, double x1, double z0, double z1) {
    return {{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}};
}

// A closed rectangle from X -halfBeam to +halfBeam and Z bottom to bottom + depth, running
// counter-clockwise (X right, Z up) from the bottom-left corner.
inline core::Section MakeBoxFrame(double y, double halfBeam, double depth, double bottom = 0,
                                  const std::string& name = "Box") {
    return MakeFrame(y,
                     {{-halfBeam, bottom}, {halfBeam, bottom}, {halfBeam, bottom + depth},
                      {-halfBeam, bottom + depth}},
                     name);
}

// The starboard half of that rectangle, from the keel on the centreline round to the deck
// on the centreline, as MirrorHalf expects it.
inline core::Section MakeHalfBoxFrame(double y, double halfBeam, double depth, double bottom = 0,
                                      const std::string& name = "Half box") {
    return MakeFrame(y, {{0, bottom}, {halfBeam, bottom}, {halfBeam, bottom + depth}, {0, bottom + depth}},
                     name);
}

// A closed triangle with its apex at (0, bottom) and its top edge at bottom + depth.
inline core::Section MakeVeeFrame(double y, double halfBeam, double depth, double bottom = 0,
                                  const std::string& name = "Vee") {
    return MakeFrame(y, {{0, bottom}, {halfBeam, bottom + depth}, {-halfBeam, bottom + depth}}, name);
}

// An appendage holding these frames, placed by their Y.
inline core::Appendage MakeAppendage(const std::vector<core::Section>& frames,
                                     const std::string& name = "Body") {
    core::Appendage a;
    a.name = name;
    for (const core::Section& s : frames) a.InsertSection(s);
    return a;
}

// `frameCount` (at least 2) frames made by makeFrame, named "Frame 0" on, spread evenly
// from y0 to y0 + length.
template <class MakeFrameAt>
core::Appendage MakePrism(MakeFrameAt makeFrame, double length, double halfBeam, double depth,
                          unsigned frameCount, double y0, double bottom, const std::string& name) {
    if (frameCount < 2) frameCount = 2;
    std::vector<core::Section> frames;
    for (unsigned k = 0; k < frameCount; ++k)
        frames.push_back(makeFrame(y0 + length * k / (frameCount - 1), halfBeam, depth, bottom,
                                   "Frame " + std::to_string(k)));
    return MakeAppendage(frames, name);
}

// A rectangular box: `frameCount` (at least 2) equal box frames spread evenly from y0 to
// y0 + length. Its volume is length * 2 * halfBeam * depth.
inline core::Appendage MakeBoxAppendage(double length, double halfBeam, double depth,
                                        unsigned frameCount = 2, double y0 = 0, double bottom = 0,
                                        const std::string& name = "Box") {
    return MakePrism(MakeBoxFrame, length, halfBeam, depth, frameCount, y0, bottom, name);
}

// A prism of vee frames (apex down), frames spread as for MakeBoxAppendage.
inline core::Appendage MakeVeeAppendage(double length, double halfBeam, double depth,
                                        unsigned frameCount = 2, double y0 = 0, double bottom = 0,
                                        const std::string& name = "Vee") {
    return MakePrism(MakeVeeFrame, length, halfBeam, depth, frameCount, y0, bottom, name);
}

}  // namespace fixtures
