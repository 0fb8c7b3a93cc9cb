// DFH file import: the half frames in millimetres, bad and mutated files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "ForeignFixtures.h"
#include "HullFixtures.h"
#include "core/Appendage.h"
#include "core/Hullform.h"
#include "core/ModelText.h"
#include "core/Section.h"

namespace {

using fixtures::Offsets;
using fixtures::OffsetsOf;
using foreign::DataPath;
using foreign::ReadBytes;
using foreign::WriteBytes;

class DfhTest : public foreign::ForeignFileTest {};

void ExpectOffsets(const core::Section& s, const Offsets& expected) {
    const Offsets got = OffsetsOf(s);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_NEAR(got[k].first, expected[k].first, 1e-12) << k;
        EXPECT_NEAR(got[k].second, expected[k].second, 1e-12) << k;
        EXPECT_EQ(std::signbit(got[k].first), std::signbit(expected[k].first)) << k;
    }
}

TEST_F(DfhTest, SmallFileReadsBackAsTheBodyItDescribes) {
    hull.name = "Kept";
    ASSERT_TRUE(hull.ImportDfhFile(DataPath("small.dfh")));
    EXPECT_TRUE(NewLog().empty());
    EXPECT_EQ(hull.name, "Kept");
    ASSERT_EQ(hull.appendages.size(), 1u);
    const core::Appendage& a = hull.appendages[0];
    EXPECT_EQ(a.name, "Blank Name");
    ASSERT_EQ(a.frames.size(), 3u);

    // Each half frame, then the image of its last point, then the images of the rest.
    EXPECT_EQ(a.frames[0].name, "1.2");
    EXPECT_DOUBLE_EQ(a.frames[0].Y, 1.2);
    ExpectOffsets(a.frames[0], {{0, 0}, {0.5, 0.2}, {0.4, 0.8}, {-0.4, 0.8}, {-0.5, 0.2}, {-0.0, 0}});

    EXPECT_EQ(a.frames[1].name, "2.5005");
    EXPECT_DOUBLE_EQ(a.frames[1].Y, 2.5005);
    ExpectOffsets(a.frames[1], {{0, -0.125},
                                {0.81225, 0},
                                {0.9, 0.650125},
                                {0, 0.7},
                                {-0.0, 0.7},
                                {-0.9, 0.650125},
                                {-0.81225, 0},
                                {-0.0, -0.125}});
    EXPECT_DOUBLE_EQ(a.frames[1].maxX, 0.9);
    EXPECT_DOUBLE_EQ(a.frames[1].minX, -0.9);
    EXPECT_DOUBLE_EQ(a.frames[1].minZ, -0.125);

    // A negative x is read as 0.
    EXPECT_EQ(a.frames[2].name, "4");
    ExpectOffsets(a.frames[2], {{0, 0}, {0, 0.3}, {-0.0, 0.3}, {-0.0, 0}});
}

TEST_F(DfhTest, ReaderResetsTheBodyButKeepsFlagsAndColour) {
    core::Appendage a;
    a.name = "Old";
    a.density = 1.5;
    a.ap = 2;
    a.fp = 3;
    a.colour = 0xABCDEF;
    a.active = false;
    a.freeFlooding = true;
    a.AddSection("Old frame", 9);
    ASSERT_TRUE(a.ReadDfhData(DataPath("small.dfh")));
    EXPECT_EQ(a.name, "Blank Name");
    EXPECT_EQ(a.density, 0);
    EXPECT_EQ(a.ap, 0);
    EXPECT_EQ(a.fp, 0);
    EXPECT_EQ(a.colour, 0xABCDEFu);
    EXPECT_FALSE(a.active);
    EXPECT_TRUE(a.freeFlooding);
    EXPECT_EQ(a.frames.size(), 3u);
}

TEST_F(DfhTest, FramesOfOneOrNoPoints) {
    struct Case {
        const char* what;
        std::string text;
        Offsets offsets;
    };
    const Case cases[] = {
        {"one point is kept alone", "T\n1,0\n100,1\n20,30\n", {{0.02, 0.03}}},
        {"no points", "T\n1,0\n100,0\n", {}},
        {"two points", "T\n1 , 7\n100 ; 2 0 / 0 10 | 20", {{0, 0}, {0.01, 0.02}, {-0.01, 0.02}, {-0.0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hull.Clear();
        ASSERT_TRUE(hull.ImportDfhFile(Write("case.dfh", c.text)));
        ASSERT_EQ(hull.appendages.size(), 1u);
        ASSERT_EQ(hull.appendages[0].frames.size(), 1u);
        EXPECT_DOUBLE_EQ(hull.appendages[0].frames[0].Y, 0.1);
        ExpectOffsets(hull.appendages[0].frames[0], c.offsets);
    }
}

TEST_F(DfhTest, FramesGoWhereTheirYPlacesThemAndRefusedOnesAreSkipped) {
    // Out of order: 2000, 1000, 3000; then 1000 again, which is not the last: refused.
    const std::string path = Write("order.dfh", "T\n4,0\n2000,2 0,0 200,0\n1000,2 0,0 100,0\n3000,2 0,0 300,0\n"
                                                "1000,2 0,0 999,999\n");
    ASSERT_TRUE(hull.ImportDfhFile(path));
    const std::vector<std::string> log = NewLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("WARNING: ", 0), 0u) << log[0];
    EXPECT_NE(log[0].find("\"1\""), std::string::npos) << log[0];
    const core::Appendage& a = hull.appendages.at(0);
    ASSERT_EQ(a.frames.size(), 3u);
    for (std::size_t f = 0; f < 3; ++f) {
        EXPECT_DOUBLE_EQ(a.frames[f].Y, double(f + 1));
        ExpectOffsets(a.frames[f], {{0, 0}, {0.1 * double(f + 1), 0}, {-0.1 * double(f + 1), 0}, {-0.0, 0}});
    }
}

TEST_F(DfhTest, FileThatCannotBeOpenedAddsNothing) {
    for (const std::string& path : {t.dir.File("absent.dfh"), t.dir.path().string()}) {
        SCOPED_TRACE(path);
        mark = hull.log.Lines().size();
        EXPECT_FALSE(hull.ImportDfhFile(path));
        EXPECT_EQ(NewLog(), std::vector<std::string>{"ERROR: Failed importing DFH file " + path});
        EXPECT_TRUE(hull.appendages.empty());
    }
    core::Appendage a;
    a.name = "Old";
    EXPECT_FALSE(a.ReadDfhData(t.dir.File("absent.dfh")));
    EXPECT_EQ(a.name, "Old");
}

TEST_F(DfhTest, BadFilesAddNothingAndSayWhy) {
    const char* const cases[] = {
        "",
        "Only a title",
        "T\n-1,0\n",
        "T\nx,0\n",
        "T\n1\n",
        "T\n1,-3\n",
        "T\n1,0\n",
        "T\n1,0\n100\n",
        "T\n1,0\n100,\n",
        "T\n1,0\n100,-1\n",
        "T\n1,0\n100,1.5 1,1\n",
        "T\n1,0\n100,2 1,1\n",
        "T\n1,0\n100,2 1,1 x,1\n",
        "T\n1,0\n100,1 1,\n",
        "T\n1,0\n100,1 1,inf\n",
        "T\n1,0\nnan,1 1,1\n",
        "T\n4294967295,0\n100,0\n",
        "T\n1,0\n100,4294967295 1,1\n",
        "T\n4294967296,0\n",
        // Frames beyond the count would be lost.
        "T\n1,0\n100,1 1,1\n200,1 2,2\n300,1 3,3\n",
        "T\n0,0\n100,1 1,1\n",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        mark = hull.log.Lines().size();
        const std::string path = Write("bad.dfh", text);
        EXPECT_FALSE(hull.ImportDfhFile(path));
        const std::vector<std::string> log = NewLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("ERROR: Failed importing DFH file " + path + ". Expected ", 0), 0u) << log[0];
        EXPECT_TRUE(hull.appendages.empty());
    }
}

// A number is read only when its whole field is one: a field that merely starts with a
// number refuses the file, naming its line, and the hull keeps what it had.
TEST_F(DfhTest, FieldsThatAreNotWhollyNumbersAreRefusedNamingTheirLine) {
    struct Case {
        const char* text;
        unsigned line;
        const char* found;
    };
    const Case cases[] = {
        {"T\n1,0\n1200,1\n0,2.5x\n", 4, "2.5x"},
        {"T\n1,0\n1200,1\n0,1e\n", 4, "1e"},
        {"T\n1,0\n1200,1\n0,7-\n", 4, "7-"},
        {"T\n1,0\n1200,1\n0,0x10\n", 4, "0x10"},
        {"T\n1,0\n1200,2\n0,0\n0,1.5.5\n", 5, "1.5.5"},
        {"T\n1,0\n1200,1\n2.5x,1\n", 4, "2.5x,1"},
        {"T\n1,0\n1200,1\n1.5.5,2\n", 4, "1.5.5,2"},
        {"T\n1,0\n1200,1\n1e,2\n", 4, "1e,2"},
        {"T\n1,0\n1200x,1\n0,0\n", 3, "1200x,1"},
        {"T\n1,0\n12e3.5,1\n0,0\n", 3, "12e3.5,1"},
        {"T\n1,0\n1200,1x\n0,0\n", 3, "1x"},
        {"T\n1,0\n1200,1.0.0\n0,0\n", 3, "1.0.0"},
        {"T\n1x,0\n1200,1\n0,0\n", 2, "1x,0"},
        {"T\n0x1,0\n1200,1\n0,0\n", 2, "0x1,0"},
        {"T\n1,0abc\n1200,1\n0,0\n", 2, "0abc"},
        {"T\n1 , 0\n\n\n1200 ; 1\n0 / 2mm\n", 6, "2mm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        hull.Clear();
        hull.AddAppendage("Kept");
        mark = hull.log.Lines().size();
        const std::string path = Write("bad-number.dfh", c.text);
        EXPECT_FALSE(hull.ImportDfhFile(path));
        const std::vector<std::string> log = NewLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].rfind("ERROR: Failed importing DFH file " + path + ". Expected ", 0), 0u) << log[0];
        const std::string tail = " on line " + std::to_string(c.line) + " but found \"" + c.found + "\"";
        EXPECT_EQ(log[0].substr(log[0].size() - std::min(log[0].size(), tail.size())), tail) << log[0];
        ASSERT_EQ(hull.appendages.size(), 1u);
        EXPECT_EQ(hull.appendages[0].name, "Kept");
        EXPECT_EQ(hull.appendages[0].frames.size(), 1u);
    }
}

TEST_F(DfhTest, MutatedFilesNeverBreakTheReader) {
    const std::string valid = ReadBytes(DataPath("small.dfh"));
    ASSERT_FALSE(valid.empty());
    std::mt19937 rng(8675309);
    const std::string path = t.dir.File("mutated.dfh");
    int read = 0, refused = 0;
    for (int run = 0; run < 3000; ++run) {
        WriteBytes(path, foreign::Mutate(valid, rng));
        hull.Clear();
        mark = hull.log.Lines().size();
        const bool ok = hull.ImportDfhFile(path);
        ++(ok ? read : refused);
        ASSERT_EQ(hull.appendages.size(), ok ? 1u : 0u) << run;
        for (const std::string& line : NewLog())
            ASSERT_TRUE(line.rfind(ok ? "WARNING: " : "ERROR: ", 0) == 0) << run << ": " << line;
        if (!ok) continue;
        ASSERT_TRUE(foreign::SaneFrames(hull.appendages[0])) << run;
    }
    // Numbers glued to other text are refused, so fewer mutated files read whole.
    EXPECT_GT(read, 200);
    EXPECT_GT(refused, 300);
}

}  // namespace
