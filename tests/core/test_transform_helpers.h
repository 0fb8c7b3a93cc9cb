#pragma once
// Builders and exact comparisons for the transformation tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/Appendage.h"
#include "core/Hullform.h"
#include "core/Section.h"
#include "support/TestSupport.h"

namespace transform_test {

using Offsets = std::vector<std::pair<double, double>>;  // (X, Z)

inline core::Section Frame(const std::string& name, double y, const Offsets& offsets) {
    core::Section s;
    s.name = name;
    s.SetY(y);
    for (const auto& [x, z] : offsets) s.AddOffset(x, z);
    return s;
}

// An appendage whose frames are pushed in the order given (named F<index>, one offset (1, 1)
// unless other offsets are given).
inline core::Appendage Body(const std::string& name, const std::vector<double>& ys,
                            const Offsets& offsets = {{1, 1}}) {
    core::Appendage a;
    a.name = name;
    for (std::size_t k = 0; k < ys.size(); ++k)
        a.frames.push_back(Frame("F" + std::to_string(k), ys[k], offsets));
    return a;
}

inline std::vector<double> Ys(const core::Appendage& a) {
    std::vector<double> ys;
    for (const auto& s : a.frames) ys.push_back(s.Y);
    return ys;
}

inline std::vector<std::string> Names(const core::Appendage& a) {
    std::vector<std::string> names;
    for (const auto& s : a.frames) names.push_back(s.name);
    return names;
}

inline bool Bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline bool Bits(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!Bits(a[k], b[k])) return false;
    return true;
}

// Every field of two frames, doubles compared bit for bit.
inline ::testing::AssertionResult SameFrame(const core::Section& a, const core::Section& b) {
    if (a.name != b.name) return ::testing::AssertionFailure() << "name " << a.name << " vs " << b.name;
    if (a.checked != b.checked) return ::testing::AssertionFailure() << "check mark of " << a.name;
    if (!Bits(a.X, b.X)) return ::testing::AssertionFailure() << "X of " << a.name;
    if (!Bits(a.Z, b.Z)) return ::testing::AssertionFailure() << "Z of " << a.name;
    if (!Bits(a.maxX, b.maxX) || !Bits(a.minX, b.minX) || !Bits(a.maxZ, b.maxZ) ||
        !Bits(a.minZ, b.minZ))
        return ::testing::AssertionFailure() << "extents of " << a.name;
    if (!Bits(a.Y, b.Y)) return ::testing::AssertionFailure() << "Y of " << a.name;
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SameAppendage(const core::Appendage& a, const core::Appendage& b) {
    if (a.name != b.name || a.active != b.active || a.freeFlooding != b.freeFlooding ||
        a.colour != b.colour || !Bits(a.density, b.density) || !Bits(a.ap, b.ap) || !Bits(a.fp, b.fp))
        return ::testing::AssertionFailure() << "appendage fields of " << a.name;
    if (a.frames.size() != b.frames.size())
        return ::testing::AssertionFailure() << "frame count of " << a.name;
    for (std::size_t k = 0; k < a.frames.size(); ++k) {
        auto r = SameFrame(a.frames[k], b.frames[k]);
        if (!r) return r << " (frame " << k << " of " << a.name << ")";
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SameAppendages(const std::vector<core::Appendage>& a,
                                                 const std::vector<core::Appendage>& b) {
    if (a.size() != b.size()) return ::testing::AssertionFailure() << "appendage count";
    for (std::size_t k = 0; k < a.size(); ++k) {
        auto r = SameAppendage(a[k], b[k]);
        if (!r) return r;
    }
    return ::testing::AssertionSuccess();
}

// A hull whose log goes to a file of its own in the temporary directory.
class HullTest : public ::testing::Test {
protected:
    HullTest() : logPath_(dir_.file("transform.log")), hull_(logPath_) {}

    // The log lines written since Mark().
    void Mark() { mark_ = hull_.log.Lines().size(); }
    std::vector<std::string> NewLines() const {
        const auto& l = hull_.log.Lines();
        return {l.begin() + static_cast<std::ptrdiff_t>(mark_), l.end()};
    }

    testsupport::TempDir dir_{"korvelo-transform"};
    std::string logPath_;
    core::Hullform hull_;
    std::size_t mark_ = 0;
};

}  // namespace transform_test
