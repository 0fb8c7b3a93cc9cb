#pragma once
// Golden files, raw file access and mutated copies for the foreign-format tests.
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "FileFixtures.h"
#include "HullFixtures.h"

namespace foreign {

// A file under tests/core/data, found beside this header.
inline std::string DataPath(const std::string& name) {
    return (std::filesystem::path(KORVELO_SOURCE_DIR) / "tests" / "core" / "data" / name).string();
}

using fixtures::ReadBytes;
using fixtures::WriteBytes;

// A hull in its own scratch directory, the log lines written since SetUp (or since mark
// was moved) and files written beside it.
class ForeignFileTest : public ::testing::Test {
protected:
    fixtures::TempHull t;
    core::Hullform& hull = t.hull;
    std::size_t mark = 0;

    void SetUp() override { mark = hull.log.Lines().size(); }
    std::vector<std::string> NewLog() const { return fixtures::LinesSince(hull.log, mark); }
    std::string File(const std::string& name) const { return t.dir.File(name); }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = File(name);
        WriteBytes(path, text);
        return path;
    }
};

// Frames as a reader may leave them: as many X as Z, Y ascending, every offset finite.
inline ::testing::AssertionResult SaneFrames(const core::Appendage& a) {
    for (std::size_t f = 0; f < a.frames.size(); ++f) {
        const core::Section& s = a.frames[f];
        if (s.X.size() != s.Z.size())
            return ::testing::AssertionFailure() << "frame " << f << " has " << s.X.size() << " X and "
                                                 << s.Z.size() << " Z";
        if (f > 0 && !(a.frames[f - 1].Y <= s.Y))
            return ::testing::AssertionFailure() << "frame " << f << " at Y " << s.Y << " follows Y "
                                                 << a.frames[f - 1].Y;
        for (std::size_t k = 0; k < s.X.size(); ++k)
            if (!(std::isfinite(s.X[k]) && std::isfinite(s.Z[k])))
                return ::testing::AssertionFailure() << "frame " << f << " offset " << k << " is ("
                                                     << s.X[k] << ", " << s.Z[k] << ")";
    }
    return ::testing::AssertionSuccess();
}

// A copy of valid with one to four random edits: bytes changed, removed, inserted or
// repeated, the file cut short, or a number swapped for one of a list of awkward texts.
inline std::string Mutate(const std::string& valid, std::mt19937& rng) {
    static const char* const kTokens[] = {"*",  "-1", "0",    "4294967296", "2147483648", "-2147483649",
                                          "1e308", "nan", "inf", "x",      ",",          "\n",
                                          "1.5", "-0", "99999", "\r\n*\r\nAPP0\r\n", "+", "1,2,3,4,w"};
    std::string s = valid;
    std::uniform_int_distribution<int> edits(1, 4);
    const int count = edits(rng);
    for (int e = 0; e < count; ++e) {
        if (s.empty()) s = "x";
        std::uniform_int_distribution<std::size_t> at(0, s.size() - 1);
        std::uniform_int_distribution<int> kind(0, 5);
        const std::size_t p = at(rng);
        switch (kind(rng)) {
            case 0: s[p] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng)); break;
            case 1: s.erase(p, std::uniform_int_distribution<std::size_t>(1, 12)(rng)); break;
            case 2: s.insert(p, kTokens[std::uniform_int_distribution<std::size_t>(0, std::size(kTokens) - 1)(rng)]); break;
            case 3: s.insert(p, s.substr(p, std::uniform_int_distribution<std::size_t>(1, 40)(rng))); break;
            case 4: s.resize(p); break;
            default: {
                // Replace the number starting at or after p.
                std::size_t b = s.find_first_of("0123456789", p);
                if (b == std::string::npos) break;
                std::size_t end = s.find_first_not_of("0123456789.-", b);
                s.replace(b, (end == std::string::npos ? s.size() : end) - b,
                          kTokens[std::uniform_int_distribution<std::size_t>(0, std::size(kTokens) - 1)(rng)]);
            }
        }
    }
    return s;
}

}  // namespace foreign
