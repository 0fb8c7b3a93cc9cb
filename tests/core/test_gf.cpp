// GF geometry file: export, import, refusals, bad and mutated files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ForeignFixtures.h"
#include "HullFixtures.h"
#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/Hullform.h"
#include "core/ModelText.h"
#include "core/Section.h"

namespace {

using fixtures::MakeFrame;
using fixtures::Offsets;
using fixtures::OffsetsOf;
using fixtures::ReadLines;
using foreign::DataPath;
using foreign::ReadBytes;
using foreign::WriteBytes;

constexpr double kFeet = 3.280839895013123;

// Two bodies: a hull with a whole mirrored frame, a clockwise half frame and a frame whose
// deck crosses the centreline; a keel of one half frame.
void BuildSmallHull(core::Hullform& hull) {
    hull.name = "Demo";
    core::Appendage body;
    body.name = "Hull";
    body.frames.push_back(MakeFrame(10, {{0, 0}, {2, 0}, {2, 1}, {0, 1}, {-0.0, 1}, {-2, 1}, {-2, 0}, {-0.0, 0}}, "Mid"));
    body.frames.push_back(MakeFrame(12.5, {{0, 1}, {1, 1}, {1, 0}, {0, 0}}, "Clockwise"));
    body.frames.push_back(MakeFrame(15, {{0, 0}, {1, 0}, {1, 1}, {-1, 1}, {-1, 0}}, "Crossing"));
    core::Appendage keel;
    keel.name = "Keel";
    keel.frames.push_back(MakeFrame(11, {{0, -0.5}, {0.1, -0.5}, {0.1, 0}, {0, 0}}, "Fin"));
    hull.appendages = {body, keel};
}

class GfTest : public foreign::ForeignFileTest {};

TEST_F(GfTest, SmallHullMatchesTheGoldenFileByteForByte) {
    BuildSmallHull(hull);
    const std::string path = File("small.gf");
    ASSERT_TRUE(hull.ExportGfFile(path));
    const std::string golden = ReadBytes(DataPath("small.gf"));
    ASSERT_FALSE(golden.empty()) << "golden file missing";
    EXPECT_EQ(ReadBytes(path), golden);
    EXPECT_TRUE(NewLog().empty());
    // The specific gravity of sea water, as GF files hold it, not the density times 1000.
    const std::vector<std::string> lines = ReadLines(path);
    const auto sea = std::find(lines.begin(), lines.end(), "SEA WATER");
    ASSERT_GE(lines.end() - sea, 3);
    EXPECT_EQ(sea[2], "1.025");
}

// Half frames as the part writes them: header line and point lines of one frame.
struct HalfFrameCase {
    const char* what;
    Offsets offsets;
    std::vector<std::string> lines;
};

TEST_F(GfTest, HalfFramesAreTakenAndTurnedAnticlockwise) {
    const HalfFrameCase cases[] = {
        {"whole mirrored outline: starboard half, the closing -0 offset left out",
         {{0, 0}, {2, 0}, {2, 1}, {0, 1}, {-0.0, 1}, {-2, 1}, {-2, 0}, {-0.0, 0}},
         {"32.8084,5", "0,0", "6.56168,0", "6.56168,3.28084", "0,3.28084", "-0,3.28084"}},
        {"closing offset reached along the starboard side is kept",
         {{0, 0}, {2, 0}, {2, 1}, {-0.0, 1}, {-0.0, 0}},
         {"32.8084,5", "0,0", "6.56168,0", "6.56168,3.28084", "-0,3.28084", "-0,0"}},
        {"half frame keeps its last offset on the centreline",
         {{0, 0}, {2, 0}, {2, 1}, {0, 1}},
         {"32.8084,4", "0,0", "6.56168,0", "6.56168,3.28084", "0,3.28084"}},
        {"deck crossing the centreline gives the centreline point",
         {{0, 0}, {1, 0}, {1, 1}, {-1, 1}},
         {"32.8084,4", "0,0", "3.28084,0", "3.28084,3.28084", "0,3.28084"}},
        {"crossing upwards from port to starboard",
         {{-1, 0}, {1, 2}, {0, 2}},
         {"32.8084,3", "0,3.28084", "3.28084,6.56168", "0,6.56168"}},
        {"clockwise half frame is written from the last taken point",
         {{0, 1}, {1, 1}, {1, 0}, {0, 0}},
         {"32.8084,4", "0,0", "3.28084,0", "3.28084,3.28084", "0,3.28084"}},
        {"one offset on the starboard side", {{0.5, 0.5}}, {"32.8084,1", "1.64042,1.64042"}},
        {"port side only", {{-1, 0}, {-1, 1}}, {"32.8084,0"}},
        {"no offsets", {}, {"32.8084,0"}},
    };
    for (const HalfFrameCase& c : cases) {
        SCOPED_TRACE(c.what);
        core::Appendage a;
        a.frames.push_back(MakeFrame(10, c.offsets));
        std::string out;
        EXPECT_TRUE(a.WriteGfPart(out, "APP0"));
        std::vector<std::string> expected = {"*", "APP0", "1"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        for (const char* tail : {"**", "APP0", "0", "1.00", "0.00, 0.00, 0.00", "APP0"}) expected.push_back(tail);
        std::string joined;
        for (const std::string& line : expected) joined += line + "\r\n";
        EXPECT_EQ(out, joined);
    }
}

TEST_F(GfTest, RefusedExportsLogOneLineAndWriteNoFile) {
    const std::string path = File("refused.gf");
    struct Case {
        const char* what;
        std::size_t appendages;
        std::size_t bigFrames;  // frames of appendage 1
        std::string line;
    };
    const Case cases[] = {
        {"no appendages", 0, 0,
         "ERROR: Exporting Hull Demo, too few appendages for GF file format (1<Num Appendages<256)"},
        {"256 appendages", 256, 1,
         "ERROR: Exporting Hull Demo, too many frames for GF file format (1<Num Appendages<256)"},
        {"second appendage with 300 frames", 2, 300,
         "ERROR: Exporting Appendage: Second, frame count (300) not compatible with GF file (must be between 1 and 256)"},
        {"second appendage without frames", 3, 0,
         "ERROR: Exporting Appendage: Second, frame count (0) not compatible with GF file (must be between 1 and 256)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hull.Clear();
        hull.name = "Demo";
        for (std::size_t k = 0; k < c.appendages; ++k) {
            core::Appendage a;
            a.name = k == 1 ? "Second" : "Other";
            const std::size_t frames = k == 1 ? c.bigFrames : 1;
            for (std::size_t f = 0; f < frames; ++f) a.frames.push_back(MakeFrame(double(f), {{0, 0}, {1, 1}}));
            hull.appendages.push_back(a);
        }
        mark = hull.log.Lines().size();
        EXPECT_FALSE(hull.ExportGfFile(path));
        EXPECT_EQ(NewLog(), std::vector<std::string>{c.line});
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST_F(GfTest, ExportThatCannotWriteLogsOneLineAndKeepsTheOldFile) {
    BuildSmallHull(hull);
    const std::string folder = File("folder.gf");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(hull.ExportGfFile(folder));
    EXPECT_EQ(NewLog(), std::vector<std::string>{"ERROR: Failure exporting GF file to " + folder +
                                                 ". Unable to obtain file handle"});
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    const std::string missing = File("no/such/folder/hull.gf");
    mark = hull.log.Lines().size();
    EXPECT_FALSE(hull.ExportGfFile(missing));
    EXPECT_EQ(NewLog().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(GfTest, WrittenHullReadsBackToSixDigits) {
    BuildSmallHull(hull);
    // Awkward values: many digits, tiny and large magnitudes.
    hull.appendages[1].frames.push_back(
        MakeFrame(13.123456789, {{0, -1.23456789}, {0.000123456, -2}, {1234.5678, 0.5}, {0, 0.5}}, "Odd"));
    const std::vector<core::Appendage> written = hull.appendages;
    const std::string path = File("round.gf");
    ASSERT_TRUE(hull.ExportGfFile(path));

    hull.Clear();
    mark = hull.log.Lines().size();
    ASSERT_TRUE(hull.ImportGfFile(path, true));
    EXPECT_TRUE(NewLog().empty());
    EXPECT_EQ(hull.name, "Demo exported from Korvelo");
    ASSERT_EQ(hull.appendages.size(), written.size());
    for (std::size_t k = 0; k < written.size(); ++k) {
        SCOPED_TRACE(k);
        const core::Appendage& a = hull.appendages[k];
        EXPECT_EQ(a.name, "APP" + std::to_string(k));
        ASSERT_EQ(a.frames.size(), written[k].frames.size());
        for (std::size_t f = 0; f < a.frames.size(); ++f) {
            SCOPED_TRACE(f);
            // What the writer wrote for this frame, in feet, read through the same text.
            core::Appendage one;
            one.frames.push_back(written[k].frames[f]);
            std::string part;
            one.WriteGfPart(part, "P");
            std::vector<std::string> lines;
            for (std::size_t p = 0, e; (e = part.find("\r\n", p)) != std::string::npos; p = e + 2)
                lines.push_back(part.substr(p, e - p));
            const std::size_t m = std::stoul(lines[3].substr(lines[3].find(',') + 1));
            const core::Section& s = a.frames[f];
            EXPECT_NEAR(s.Y, written[k].frames[f].Y, std::fabs(written[k].frames[f].Y) * 1e-5);
            ASSERT_GE(s.X.size(), m);
            for (std::size_t p = 0; p < m; ++p) {
                const std::string& line = lines[4 + p];
                const double x = std::stod(line.substr(0, line.find(','))) * 0.3048;
                const double z = std::stod(line.substr(line.find(',') + 1)) * 0.3048;
                EXPECT_EQ(s.X[p], x < 0 ? 0 : x);
                EXPECT_EQ(s.Z[p], z);
            }
        }
    }
    // The taken half frame of the mirrored outline, back in metres to six digits.
    const core::Section& mid = hull.appendages[0].frames[0];
    const Offsets half = {{0, 0}, {2, 0}, {2, 1}, {0, 1}, {-0.0, 1}};
    for (std::size_t p = 0; p < half.size(); ++p) {
        EXPECT_NEAR(mid.X[p], half[p].first, 1e-5);
        EXPECT_NEAR(mid.Z[p], half[p].second, 1e-5);
    }
    EXPECT_NEAR(hull.appendages[1].frames[1].X[2], 1234.5678, 1234.5678 * 1e-5);
    EXPECT_EQ(hull.appendages[0].frames[0].name, "10.000");
}

TEST_F(GfTest, ReaderFollowsTheFileAsWritten) {
    struct Case {
        const char* what;
        std::string body;  // after the first line
        bool mirror;
        double y;
        std::string name;
        Offsets offsets;
    };
    const Case cases[] = {
        {"one point made up to three", "* S 1 10,1 1.5,-2", false, 3.048, "3.048",
         {{0.4572, -0.6096}, {0.4572, -0.6096}, {0.4572, -0.6096}}},
        {"made up to three, then mirrored", "* S 1 10,1 1.5,-2", true, 3.048, "3.048",
         {{0.4572, -0.6096}, {0.4572, -0.6096}, {0.4572, -0.6096}, {-0.4572, -0.6096}, {-0.4572, -0.6096}}},
        {"negative X is read as 0", "* S 1 0,3 -1.0,2.0 1,2 0,3", false, 0, "0.000",
         {{0, 0.6096}, {0.3048, 0.6096}, {0, 0.9144}}},
        {"extra fields are skipped", "* S 1 0,3 1.0,2.0,5,6,label\n2,2,7\r\n0,3", false, 0, "0.000",
         {{0.3048, 0.6096}, {0.6096, 0.6096}, {0, 0.9144}}},
        {"no points gives three at the origin", "* S 1 0,0", false, 0, "0.000", {{0, 0}, {0, 0}, {0, 0}}},
        {"negative point count gives no points", "* S 1 0,-2", true, 0, "0.000", {}},
        {"line feeds alone and blanks around", "* S\n1\n10 , 1\n1.5 , -2\n", false, 3.048, "3.048",
         {{0.4572, -0.6096}, {0.4572, -0.6096}, {0.4572, -0.6096}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hull.Clear();
        const std::string path = Write("case.gf", "Title line\r\n" + c.body);
        mark = hull.log.Lines().size();
        ASSERT_TRUE(hull.ImportGfFile(path, c.mirror));
        EXPECT_TRUE(NewLog().empty());
        ASSERT_EQ(hull.appendages.size(), 1u);
        ASSERT_EQ(hull.appendages[0].frames.size(), 1u);
        const core::Section& s = hull.appendages[0].frames[0];
        EXPECT_DOUBLE_EQ(s.Y, c.y);
        EXPECT_EQ(s.name, c.name);
        const Offsets got = OffsetsOf(s);
        ASSERT_EQ(got.size(), c.offsets.size());
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_NEAR(got[k].first, c.offsets[k].first, 1e-12) << k;
            EXPECT_NEAR(got[k].second, c.offsets[k].second, 1e-12) << k;
        }
    }
}

// Files as other programs write them: each shape's frames followed by its shell-thickness
// line and other records up to "**", blanks around the commas.
TEST_F(GfTest, ShellLinesOtherRecordsAndBlanksAroundCommasAreRead) {
    struct Frame {
        double yFeet;
        Offsets feet;
    };
    struct Case {
        const char* what;
        std::string body;  // after the first line
        std::vector<Frame> frames;
    };
    const Case cases[] = {
        {"shell line after the last frame", "*\r\nS\r\n1\r\n10.,2\r\n1.,2.\r\n3.,4.\r\n0.,0.,0.\r\n**\r\nS\r\n0\r\n",
         {{10, {{1, 2}, {3, 4}, {3, 4}}}}},
        {"shell line with blanks", "* S 1 10,2 1,2 3,4\n0. , 0.5 , 0.25\n**\n", {{10, {{1, 2}, {3, 4}, {3, 4}}}}},
        {"shell line at the end of the file", "* S 1 10,2 1,2 3,4\n0,0,0\n", {{10, {{1, 2}, {3, 4}, {3, 4}}}}},
        {"other records before **", "* S 1 10,2 1,2 3,4\n0.,0.,0.\nSHELL 7\n1.5 , 2.5\n***\n", {{10, {{1, 2}, {3, 4}, {3, 4}}}}},
        {"blanks around every comma", "* S 2\n10.0 , 3\n10.0 , 5.0 , 0 , 0 , DK\n2 , 1\n0 , 0\n20 , 1\n4 ,6\n**",
         {{10, {{10, 5}, {2, 1}, {0, 0}}}, {20, {{4, 6}, {4, 6}, {4, 6}}}}},
        {"extra fields with blanks, tabs and none", "* S 1 0,3\n1,2 ,5\n2,2\t,\t5 , 6\n3,3,5,6,w\n0.,0.,0.\n**",
         {{0, {{1, 2}, {2, 2}, {3, 3}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hull.Clear();
        mark = hull.log.Lines().size();
        ASSERT_TRUE(hull.ImportGfFile(Write("real.gf", "Title\r\n" + c.body), false)) << NewLog().at(0);
        EXPECT_TRUE(NewLog().empty());
        ASSERT_EQ(hull.appendages.size(), 1u);
        const core::Appendage& a = hull.appendages[0];
        ASSERT_EQ(a.frames.size(), c.frames.size());
        for (std::size_t f = 0; f < c.frames.size(); ++f) {
            SCOPED_TRACE(f);
            EXPECT_DOUBLE_EQ(a.frames[f].Y, c.frames[f].yFeet * 0.3048);
            const Offsets got = OffsetsOf(a.frames[f]);
            ASSERT_EQ(got.size(), c.frames[f].feet.size());
            for (std::size_t k = 0; k < got.size(); ++k) {
                EXPECT_DOUBLE_EQ(got[k].first, c.frames[f].feet[k].first * 0.3048) << k;
                EXPECT_DOUBLE_EQ(got[k].second, c.frames[f].feet[k].second * 0.3048) << k;
            }
        }
    }
}

TEST_F(GfTest, FileOfTwoShapesFromAnotherProgramIsRead) {
    ASSERT_TRUE(hull.ImportGfFile(DataPath("two-shapes.gf"), false));
    EXPECT_TRUE(NewLog().empty());
    EXPECT_EQ(hull.name, "Trawler lines");
    ASSERT_EQ(hull.appendages.size(), 2u);
    struct Frame {
        double yFeet;
        Offsets feet;
    };
    const std::vector<Frame> hullFrames = {
        {0, {{0, 0}, {8, 0}, {10, 6}}},
        {15, {{0, -1}, {10, 0}, {12, 6}, {0, 6}}},
        {30, {{0, 0}, {6, 1.5}, {8, 6}}},
    };
    const std::vector<Frame> skegFrames = {
        {20, {{0, -3}, {0.5, -3}, {0.5, -3}}},
        {25, {{0, -2}, {0.5, -2}, {0.5, -2}}},
    };
    const std::pair<const char*, const std::vector<Frame>*> shapes[] = {{"HULL", &hullFrames}, {"SKEG", &skegFrames}};
    for (std::size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const core::Appendage& a = hull.appendages[k];
        EXPECT_EQ(a.name, shapes[k].first);
        const std::vector<Frame>& frames = *shapes[k].second;
        ASSERT_EQ(a.frames.size(), frames.size());
        for (std::size_t f = 0; f < frames.size(); ++f) {
            SCOPED_TRACE(f);
            EXPECT_DOUBLE_EQ(a.frames[f].Y, frames[f].yFeet * 0.3048);
            const Offsets got = OffsetsOf(a.frames[f]);
            ASSERT_EQ(got.size(), frames[f].feet.size());
            for (std::size_t p = 0; p < got.size(); ++p) {
                EXPECT_DOUBLE_EQ(got[p].first, frames[f].feet[p].first * 0.3048) << p;
                EXPECT_DOUBLE_EQ(got[p].second, frames[f].feet[p].second * 0.3048) << p;
            }
        }
    }
}

TEST_F(GfTest, ShapesBecomeAppendagesInFileOrder) {
    const std::string path = Write("two.gf", "My hull exported from X\r\n* APP0 1 0,2 0,0 1,1\r\n** APP0 0 1.00\r\n"
                                             "* APP1 2 0,2 0,0 1,0 3,2 0,0 1,0\r\n****\r\n");
    ASSERT_TRUE(hull.ImportGfFile(path, true));
    EXPECT_EQ(hull.name, "My hull exported from X");
    ASSERT_EQ(hull.appendages.size(), 2u);
    EXPECT_EQ(hull.appendages[0].name, "APP0");
    EXPECT_EQ(hull.appendages[1].name, "APP1");
    EXPECT_EQ(hull.appendages[0].frames.size(), 1u);
    EXPECT_EQ(hull.appendages[1].frames.size(), 2u);
    EXPECT_TRUE(NewLog().empty());

    // The same shape read on its own, into an appendage that keeps its other fields.
    core::Appendage a;
    a.colour = 0x123456;
    ASSERT_TRUE(a.ReadGfShape(path, "APP1", false));
    EXPECT_EQ(a.name, "APP1");
    EXPECT_EQ(a.colour, 0x123456u);
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_DOUBLE_EQ(a.frames[1].Y, 3 * 0.3048);
    // Not found, wrong case, or no name: false and unchanged.
    for (const char* missing : {"APP2", "app1", ""}) {
        SCOPED_TRACE(missing);
        core::Appendage b = a;
        EXPECT_FALSE(b.ReadGfShape(path, missing, false));
        EXPECT_EQ(b.name, "APP1");
        EXPECT_EQ(b.frames.size(), 2u);
    }
    EXPECT_FALSE(a.ReadGfShape(File("absent.gf"), "APP1", false));
}

TEST_F(GfTest, RepeatedShapeNameReadsItsFirstShapeEachTime) {
    const std::string path = Write("twice.gf", "T\n* A 1 1,1 1,1\n* B 1 2,1 2,2\n* A 1 3,1 3,3\n");
    ASSERT_TRUE(hull.ImportGfFile(path, false));
    ASSERT_EQ(hull.appendages.size(), 3u);
    const double ys[] = {1, 2, 1};
    for (std::size_t k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(hull.appendages[k].frames.at(0).Y, ys[k] * 0.3048) << k;
    EXPECT_EQ(hull.appendages[2].name, "A");
}

TEST_F(GfTest, ShapeWithBadDataLeavesTheAppendageAndSaysWhy) {
    const std::string path = Write("bad-shape.gf", "T\n* A 2 1,1 1,1 2,1 x,1\n");
    core::Appendage a;
    a.name = "Before";
    a.AddSection("Kept", 4);
    core::ReadReport report;
    EXPECT_FALSE(a.ReadGfShape(path, "A", true, &report));
    EXPECT_EQ(a.name, "Before");
    ASSERT_EQ(a.frames.size(), 1u);
    EXPECT_EQ(a.frames[0].name, "Kept");
    EXPECT_EQ(report.error, "Expected the X of point 1 in frame 1 of shape \"A\" but found \"x,1\"");
}

TEST_F(GfTest, FramesGoWhereTheirYPlacesThem) {
    // Frames out of order: points follow their own frame, never frame i by position.
    const std::string path = Write("order.gf", "T\n* S 3 10,2 1,1 0,2 5,2 2,1 0,2 20,2 3,1 0,2\n");
    ASSERT_TRUE(hull.ImportGfFile(path, false));
    EXPECT_TRUE(NewLog().empty());
    const core::Appendage& a = hull.appendages.at(0);
    ASSERT_EQ(a.frames.size(), 3u);
    const double xs[] = {2, 1, 3};
    const double ys[] = {5, 10, 20};
    for (std::size_t f = 0; f < 3; ++f) {
        EXPECT_DOUBLE_EQ(a.frames[f].Y, ys[f] * 0.3048);
        EXPECT_DOUBLE_EQ(a.frames[f].X[0], xs[f] * 0.3048) << f;
        EXPECT_EQ(a.frames[f].X.size(), 3u);
    }
}

TEST_F(GfTest, FrameThatCannotBePlacedIsSkippedWithAWarning) {
    // The third frame repeats the Y of the first, which is not the last: it is refused.
    const std::string path = Write("refused.gf", "T\n* S 4 10,2 1,1 0,2 20,2 2,1 0,2 10,2 9,9 9,9 30,2 3,1 0,2\n");
    ASSERT_TRUE(hull.ImportGfFile(path, false));
    const std::vector<std::string> log = NewLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("WARNING: ", 0), 0u) << log[0];
    EXPECT_NE(log[0].find("\"3.048\""), std::string::npos) << log[0];
    const core::Appendage& a = hull.appendages.at(0);
    ASSERT_EQ(a.frames.size(), 3u);
    EXPECT_DOUBLE_EQ(a.frames[0].X[0], 1 * 0.3048);
    EXPECT_DOUBLE_EQ(a.frames[1].X[0], 2 * 0.3048);
    EXPECT_DOUBLE_EQ(a.frames[2].X[0], 3 * 0.3048);
    for (const core::Section& s : a.frames) EXPECT_EQ(s.X.size(), 3u);
}

TEST_F(GfTest, FilesWithoutShapesOrThatCannotBeOpened) {
    const std::string none = Write("none.gf", "Just a title\n** APP0 1 2 3\n");
    hull.name = "Old";
    EXPECT_FALSE(hull.ImportGfFile(none, true));
    EXPECT_EQ(NewLog(), std::vector<std::string>{"ERROR: No shapes found in GF file " + none});
    EXPECT_EQ(hull.name, "Old");  // a refused file changes nothing
    EXPECT_TRUE(hull.appendages.empty());

    for (const std::string& path : {File("absent.gf"), t.dir.path().string()}) {
        SCOPED_TRACE(path);
        hull.name = "Old";
        mark = hull.log.Lines().size();
        EXPECT_FALSE(hull.ImportGfFile(path, true));
        EXPECT_EQ(NewLog(), std::vector<std::string>{"ERROR: Failed opening GF file at " + path +
                                                     " - file handle not returned."});
        EXPECT_EQ(hull.name, "Old");
        EXPECT_TRUE(hull.appendages.empty());
    }
}

// Bad files: the import is refused with its reason and changes nothing, neither the
// hull's name nor its appendages, whatever was read before the fault.
TEST_F(GfTest, BadFilesAreRefusedWithTheirReasonAndChangeNothing) {
    struct Case {
        const char* what;
        std::string text;
        const char* reason;  // after "ERROR: Failed reading GF file <path>. "; empty: any
    };
    const Case cases[] = {
        {"negative frame count", "T\n* A 1 0,0\n* B -1\n* C 1 0,0\n", "The frame count of shape \"B\" is negative: -1"},
        {"frame count is text", "T\n* A 1 0,0\n* B x\n", ""},
        {"frame count is not whole", "T\n* A 2.5 0,0 1,0\n", ""},
        {"frame count too large for its type", "T\n* A 4294967296 0,0\n", ""},
        {"file ends within a frame", "T\n* A 2 0,1 1,1 3,2 1,1", ""},
        {"file ends after a separator", "T\n* A 1 0,", ""},
        {"point is text", "T\n* A 1 0,2 1,1 x,1\n", ""},
        {"Z missing at the end", "T\n* A 1 0,1 1,", ""},
        {"extra field is text", "T\n* A 1 0,1 1,1,x\n", ""},
        {"extra word missing", "T\n* A 1 0,1 1,1,2,3,", ""},
        {"huge point count, little data", "T\n* A 1 0,2000000000 1,1\n", ""},
        {"huge frame count, little data", "T\n* A 2000000000 0,0\n", ""},
        {"not a finite number", "T\n* A 1 inf,1 1,1\n", ""},
        {"nan point", "T\n* A 1 0,1 nan,1\n", ""},
        {"more frames than the count", "T\n* A 1 0,1 1,1\n2,1 1,1\n**\n",
         "Expected the end of shape \"A\" after 1 frames, as its count says, but found \"2,1\""},
        {"a frame after the shell line", "T\n* A 1 0,1 1,1\n0.,0.,0.\n2 , 1\n1,1\n**\n",
         "Expected the end of shape \"A\" after 1 frames, as its count says, but found \"2\""},
        {"a frame after other records", "T\n* A 1 0,1 1,1\nSHELL 1.5\n2,0\n**\n",
         "Expected the end of shape \"A\" after 1 frames, as its count says, but found \"2,0\""},
        {"bad second shape", "T\n* A 1 0,0\n* B 1 0,x\n", ""},
        {"hull name that ends a name", "T </HULL_NAME> x\n* A 1 0,0\n",
         "The name \"T </HULL_NAME> x\" holds the word </HULL_NAME>, which ends a name in the hull file"},
        {"shape name that ends a name", "T\n* A 1 0,0\n* </APPENDAGE_NAME> 1 0,0\n",
         "The name \"</APPENDAGE_NAME>\" holds the word </APPENDAGE_NAME>, which ends a name in the hull file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hull.Clear();
        hull.name = "Old";
        hull.AddAppendage("Kept");
        mark = hull.log.Lines().size();
        const std::string path = Write("bad.gf", c.text);
        EXPECT_FALSE(hull.ImportGfFile(path, true));
        EXPECT_EQ(hull.name, "Old");
        ASSERT_EQ(hull.appendages.size(), 1u);
        EXPECT_EQ(hull.appendages[0].name, "Kept");
        const std::vector<std::string> log = NewLog();
        ASSERT_EQ(log.size(), 1u);
        const std::string prefix = "ERROR: Failed reading GF file " + path + ". ";
        EXPECT_EQ(log[0].rfind(prefix, 0), 0u) << log[0];
        if (*c.reason) EXPECT_EQ(log[0], prefix + c.reason);
    }
    // A star with no name after it ends the shapes; what came before is read.
    hull.Clear();
    EXPECT_TRUE(hull.ImportGfFile(Write("star.gf", "T\n* A 1 0,0\n*"), true));
    EXPECT_EQ(hull.appendages.size(), 1u);
}

TEST_F(GfTest, MutatedFilesNeverBreakTheReader) {
    BuildSmallHull(hull);
    const std::string path = File("valid.gf");
    ASSERT_TRUE(hull.ExportGfFile(path));
    const std::string valid = ReadBytes(path);
    std::mt19937 rng(20261210);
    const std::string mutated = File("mutated.gf");
    int read = 0, refused = 0;
    for (int run = 0; run < 3000; ++run) {
        WriteBytes(mutated, foreign::Mutate(valid, rng));
        hull.Clear();
        mark = hull.log.Lines().size();
        ++(hull.ImportGfFile(mutated, run % 2 == 0) ? read : refused);
        for (const std::string& line : NewLog())
            ASSERT_TRUE(line.rfind("ERROR: ", 0) == 0 || line.rfind("WARNING: ", 0) == 0) << run << ": " << line;
        for (const core::Appendage& a : hull.appendages) ASSERT_TRUE(foreign::SaneFrames(a)) << run;
    }
    // Both outcomes are exercised.
    EXPECT_GT(read, 300);
    EXPECT_GT(refused, 300);
}

}  // namespace
