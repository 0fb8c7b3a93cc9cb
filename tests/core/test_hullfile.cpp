#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../base/FileSizeLimit.h"
#include "FileFixtures.h"
#include "ForeignFixtures.h"
#include "HullFixtures.h"
#include "core/Hullform.h"
#include "core/ModelText.h"

using core::Appendage;
using core::Hullform;
using core::ModelTextReader;
using core::Section;
using fixtures::Joined;
using fixtures::LinesSince;
using fixtures::MakeFrame;
using fixtures::ReadBytes;
using fixtures::ScopedTempDir;
using fixtures::WriteBytes;

namespace {

const std::vector<std::string> kExampleLines = {
    " <?xml version=\"1.0\" encoding=\"UTF-8\" ?> ",
    "<HULL>",
    "<HULL_NAME>",
    "Test",
    "</HULL_NAME>",
    "<DENSITY> 1.025 </DENSITY>",
    "<AP> 0 </AP>",
    "<FP> 10 </FP>",
    "<FWD_DRAUGHT_MARK> 10 </FWD_DRAUGHT_MARK>",
    "<MID_DRAUGHT_MARK> 5 </MID_DRAUGHT_MARK>",
    "<AFT_DRAUGHT_MARK> 0 </AFT_DRAUGHT_MARK>",
    "<APPENDAGE_COUNT> 1 </APPENDAGE_COUNT>",
    "<APPENDAGE>",
    "<APPENDAGE_NAME>",
    "Keel",
    "</APPENDAGE_NAME>",
    "<ACTIVE> 1 </ACTIVE>",
    "<FREE_FLOODING> 0 </FREE_FLOODING>",
    "<APPENDAGE_COLOUR> 255 </APPENDAGE_COLOUR>",
    "<SECTION_COUNT> 1 </SECTION_COUNT>",
    "<SECTION>",
    "<SECTION_NAME>",
    "F1",
    "</SECTION_NAME>",
    "<YCOORD> 2.5 </YCOORD>",
    "<OFFSET_COUNT> 2 </OFFSET_COUNT>",
    "<OFFSETS>",
    "0 0",
    "0.5 -0.25",
    "</OFFSETS>",
    "</SECTION>",
    "</APPENDAGE>",
    "</HULL>",
};

void MakeExampleHull(Hullform& h) {
    h.name = "Test";
    h.waterDensity = 1.025;
    h.ap = 0;
    h.fp = 10;
    h.fwdMarkY = 10;
    h.midMarkY = 5;
    h.aftMarkY = 0;
    h.appendages.clear();
    Appendage a;
    a.name = "Keel";
    a.colour = 255;
    a.InsertSection(MakeFrame(2.5, {{0, 0}, {0.5, -0.25}}, "F1"));
    h.appendages.push_back(a);
}

void ExpectSameFrame(const Section& a, const Section& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.checked, b.checked);
    EXPECT_SAME_DOUBLE(a.Y, b.Y);
    ASSERT_EQ(a.X.size(), b.X.size());
    ASSERT_EQ(a.Z.size(), b.Z.size());
    for (std::size_t k = 0; k < a.X.size(); ++k) {
        EXPECT_SAME_DOUBLE(a.X[k], b.X[k]) << "offset " << k;
        EXPECT_SAME_DOUBLE(a.Z[k], b.Z[k]) << "offset " << k;
    }
    EXPECT_SAME_DOUBLE(a.maxX, b.maxX);
    EXPECT_SAME_DOUBLE(a.minX, b.minX);
    EXPECT_SAME_DOUBLE(a.maxZ, b.maxZ);
    EXPECT_SAME_DOUBLE(a.minZ, b.minZ);
}

void ExpectSameAppendage(const Appendage& a, const Appendage& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.active, b.active);
    EXPECT_EQ(a.freeFlooding, b.freeFlooding);
    EXPECT_EQ(a.colour, b.colour);
    EXPECT_SAME_DOUBLE(a.density, b.density);
    EXPECT_SAME_DOUBLE(a.ap, b.ap);
    EXPECT_SAME_DOUBLE(a.fp, b.fp);
    ASSERT_EQ(a.frames.size(), b.frames.size());
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        ExpectSameFrame(a.frames[i], b.frames[i]);
    }
}

// The hull's stored values, copied.
struct HullState {
    std::string name;
    std::vector<Appendage> appendages;
    double density, ap, fp, fwd, mid, aft;
    explicit HullState(const Hullform& h)
        : name(h.name), appendages(h.appendages), density(h.waterDensity), ap(h.ap), fp(h.fp),
          fwd(h.fwdMarkY), mid(h.midMarkY), aft(h.aftMarkY) {}
};

void ExpectHullIs(const Hullform& h, const HullState& s) {
    EXPECT_EQ(h.name, s.name);
    EXPECT_SAME_DOUBLE(h.waterDensity, s.density);
    EXPECT_SAME_DOUBLE(h.ap, s.ap);
    EXPECT_SAME_DOUBLE(h.fp, s.fp);
    EXPECT_SAME_DOUBLE(h.fwdMarkY, s.fwd);
    EXPECT_SAME_DOUBLE(h.midMarkY, s.mid);
    EXPECT_SAME_DOUBLE(h.aftMarkY, s.aft);
    ASSERT_EQ(h.appendages.size(), s.appendages.size());
    for (std::size_t i = 0; i < s.appendages.size(); ++i) {
        SCOPED_TRACE("appendage " + std::to_string(i));
        ExpectSameAppendage(h.appendages[i], s.appendages[i]);
    }
}

// A hull unlike anything the bad files hold, to see that a failed open keeps it.
void MakeOriginalHull(Hullform& h) {
    h.name = "Original hull";
    h.waterDensity = 1.1;
    h.ap = -1;
    h.fp = 21;
    h.fwdMarkY = 20;
    h.midMarkY = 10;
    h.aftMarkY = 1;
    h.appendages.clear();
    Appendage a;
    a.name = "Main";
    a.colour = 0x00FF00;
    a.density = 2.5;  // not kept in the file, but kept by a failed open
    a.InsertSection(MakeFrame(0, {{0, 0}, {1, 1}}, "Aft"));
    a.InsertSection(MakeFrame(20, {{0, 0}, {2, 2}}, "Fwd"));
    h.appendages.push_back(a);
}

class HullFileTest : public ::testing::Test {
protected:
    ScopedTempDir dir_;
};

}  // namespace

// --- number text and word reading -------------------------------------------------

TEST(ModelNumberTest, WritesShortestTextThatReadsBack) {
    struct Case {
        double value;
        const char* text;
    };
    // Up to 6 significant digits the text is printf's %.6g.
    const Case cases[] = {
        {1.025, "1.025"}, {0, "0"}, {-0.0, "-0"}, {10, "10"}, {-0.25, "-0.25"},
        {0.00001, "1e-05"}, {1e-7, "1e-07"}, {123456, "123456"}, {1234560, "1.23456e+06"},
        {0.0001, "0.0001"}, {1e20, "1e+20"}, {-2.5e-300, "-2.5e-300"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::ModelNumber(c.value), c.text) << c.value;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.6g", c.value);
        EXPECT_EQ(core::ModelNumber(c.value), buf);
    }
    const double awkward[] = {1234567,
                              12.3456789,
                              0.1 + 0.2,
                              1.0 / 3,
                              M_PI,
                              -1e-7 / 3,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::lowest(),
                              std::numeric_limits<double>::min(),
                              std::numeric_limits<double>::denorm_min(),
                              9007199254740993.0};
    for (double v : awkward) {
        const std::string text = core::ModelNumber(v);
        ModelTextReader in(text);
        double back = 0;
        ASSERT_TRUE(in.ReadNumber(back)) << text;
        EXPECT_SAME_DOUBLE(back, v) << text;
        EXPECT_TRUE(in.AtEnd()) << text;
    }
}

TEST(ModelTextReaderTest, NumberIsAWholeWordOrStandsBeforeATag) {
    ModelTextReader in(" \t1.025</DENSITY>\r\n-0 7e-3\tx");
    double v = 0;
    std::string_view w;
    ASSERT_TRUE(in.ReadNumber(v));
    EXPECT_EQ(v, 1.025);
    ASSERT_TRUE(in.ReadWord(w));
    EXPECT_EQ(w, "</DENSITY>");
    ASSERT_TRUE(in.ReadNumber(v));
    EXPECT_TRUE(std::signbit(v));
    ASSERT_TRUE(in.ReadNumber(v));
    EXPECT_EQ(v, 7e-3);
    EXPECT_FALSE(in.ReadNumber(v));  // "x" is left, unread
    ASSERT_TRUE(in.ReadWord(w));
    EXPECT_EQ(w, "x");
    EXPECT_FALSE(in.ReadWord(w));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(in.DescribeNext(), "the end of the file");

    // A word that only starts with a number is none, and is left unread.
    for (const char* text : {"1,025", "1.025abc", "7e-3x", "2;", "1..5", "0x10"}) {
        ModelTextReader bad(text);
        EXPECT_FALSE(bad.ReadNumber(v)) << text;
        ASSERT_TRUE(bad.ReadWord(w)) << text;
        EXPECT_EQ(w, text);
    }
}

TEST(ModelTextReaderTest, CountsAndIntegersRefuseWhatTheyCannotHold) {
    struct Case {
        const char* text;
        bool ok;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},          {"17", true, 17},     {"4294967295", true, 4294967295u},
        {"4294967296", false, 0}, {"-1", false, 0},    {"1.5", false, 0},
        {"abc", false, 0},        {"", false, 0},      {"1e400", false, 0},
        {"nan", false, 0},        {"inf", false, 0},   {"-0", true, 0},
    };
    for (const Case& c : cases) {
        ModelTextReader in(c.text);
        std::uint32_t v = 99;
        EXPECT_EQ(in.ReadCount(v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        } else if (*c.text) {
            EXPECT_FALSE(in.AtEnd()) << c.text;  // a refused value is not consumed
        }
    }
}

TEST(ModelTextReaderTest, LinesEndAtLineFeedWithOrWithoutCarriageReturn) {
    ModelTextReader in("a b\r\n\r\nlast\rline\nno end");
    std::string_view line;
    ASSERT_TRUE(in.ReadLine(line));
    EXPECT_EQ(line, "a b");
    ASSERT_TRUE(in.ReadLine(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(in.ReadLine(line));
    EXPECT_EQ(line, "last\rline");
    ASSERT_TRUE(in.ReadLine(line));
    EXPECT_EQ(line, "no end");
    EXPECT_FALSE(in.ReadLine(line));
}

TEST(ModelTextReaderTest, QuoteForLogShortensAndHidesControlBytes) {
    EXPECT_EQ(core::QuoteForLog("Keel"), "\"Keel\"");
    EXPECT_EQ(core::QuoteForLog(std::string("a\0b\x1b", 4)), "\"a?b?\"");
    EXPECT_EQ(core::QuoteForLog(std::string(50, 'x')), "\"" + std::string(40, 'x') + "...\"");
}

// --- writing ------------------------------------------------------------------

TEST_F(HullFileTest, ExampleHullGivesThe33LinesByteForByte) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    const std::string path = dir_.File("example.hll");
    ASSERT_TRUE(h.SaveHullFile(path));
    ASSERT_EQ(kExampleLines.size(), 33u);
    EXPECT_EQ(kExampleLines[0].size(), 41u);
    EXPECT_EQ(ReadBytes(path), Joined(kExampleLines));
}

TEST_F(HullFileTest, EmptyNamesAndEmptyListsAreWrittenAsEmptyLinesAndZeroCounts) {
    Hullform h(dir_.File("Korvelo.log"));
    h.name = "";
    Appendage empty;
    empty.name = "";
    empty.active = false;
    empty.freeFlooding = true;
    empty.colour = 0x80000005;  // a system colour
    h.appendages.push_back(empty);
    Appendage one;
    Section bare;
    bare.name = "";
    one.InsertSection(bare);
    h.appendages.push_back(one);
    const std::string path = dir_.File("empty.hll");
    ASSERT_TRUE(h.SaveHullFile(path));
    const std::vector<std::string> lines = fixtures::ReadLines(path);
    const std::vector<std::string> expected = {
        " <?xml version=\"1.0\" encoding=\"UTF-8\" ?> ",
        "<HULL>", "<HULL_NAME>", "", "</HULL_NAME>",
        "<DENSITY> 1.025 </DENSITY>", "<AP> 0 </AP>", "<FP> 0 </FP>",
        "<FWD_DRAUGHT_MARK> 0 </FWD_DRAUGHT_MARK>", "<MID_DRAUGHT_MARK> 0 </MID_DRAUGHT_MARK>",
        "<AFT_DRAUGHT_MARK> 0 </AFT_DRAUGHT_MARK>", "<APPENDAGE_COUNT> 2 </APPENDAGE_COUNT>",
        "<APPENDAGE>", "<APPENDAGE_NAME>", "", "</APPENDAGE_NAME>",
        "<ACTIVE> 0 </ACTIVE>", "<FREE_FLOODING> 1 </FREE_FLOODING>",
        "<APPENDAGE_COLOUR> -2147483643 </APPENDAGE_COLOUR>", "<SECTION_COUNT> 0 </SECTION_COUNT>",
        "</APPENDAGE>",
        "<APPENDAGE>", "<APPENDAGE_NAME>", "Blank Name", "</APPENDAGE_NAME>",
        "<ACTIVE> 1 </ACTIVE>", "<FREE_FLOODING> 0 </FREE_FLOODING>",
        "<APPENDAGE_COLOUR> 0 </APPENDAGE_COLOUR>", "<SECTION_COUNT> 1 </SECTION_COUNT>",
        "<SECTION>", "<SECTION_NAME>", "", "</SECTION_NAME>", "<YCOORD> 0 </YCOORD>",
        "<OFFSET_COUNT> 0 </OFFSET_COUNT>", "<OFFSETS>", "</OFFSETS>", "</SECTION>",
        "</APPENDAGE>", "</HULL>",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(HullFileTest, SaveReplacesAnOldFileWhole) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    const std::string path = dir_.File("hull.hll");
    WriteBytes(path, std::string(100000, 'x'));
    ASSERT_TRUE(h.SaveHullFile(path));
    EXPECT_EQ(ReadBytes(path), Joined(kExampleLines));
    // No temporary file is left beside it.
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir_.path()))
        if (e.path().filename() != "Korvelo.log") ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(HullFileTest, FailedSaveLogsOneLineAndLeavesTheOldFile) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    const std::string folder = dir_.File("a folder");
    const std::string missing = dir_.File("no such folder/hull.hll");
    for (const std::string& path : {folder, missing}) {
        std::filesystem::create_directory(folder);
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.SaveHullFile(path)) << path;
        const auto lines = LinesSince(h, before);
        EXPECT_EQ(lines, std::vector<std::string>{"ERROR: Failure saving Hullform to " + path +
                                                  ". Unable to obtain file handle"});
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(HullFileTest, SaveFailingPartWayGivesItsReasonAndLeavesTheOldFile) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    for (int k = 0; k < 5000; ++k) h.appendages[0].frames[0].AddOffset(k, -k);
    const std::string path = dir_.File("hull.hll");
    WriteBytes(path, "old contents");
    const std::size_t before = h.log.Lines().size();
    bool ok = true;
    {
        FileSizeLimit limit(32768);
        ASSERT_TRUE(limit.Active());
        ok = h.SaveHullFile(path);
    }
    EXPECT_FALSE(ok);
    const auto lines = LinesSince(h, before);
    ASSERT_EQ(lines.size(), 1u);
    const std::string prefix = "ERROR: Failure saving Hullform to " + path + ". ";
    EXPECT_EQ(lines[0].rfind(prefix, 0), 0u) << lines[0];
    EXPECT_NE(lines[0], prefix + "Unable to obtain file handle");
    EXPECT_EQ(ReadBytes(path), "old contents");
}

TEST_F(HullFileTest, SaveIntoAFolderWeMayNotWriteLeavesTheOldFile) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    const std::string locked = dir_.File("locked");
    std::filesystem::create_directory(locked);
    const std::string old = locked + "/hull.hll";
    WriteBytes(old, "old contents");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::size_t before = h.log.Lines().size();
    EXPECT_FALSE(h.SaveHullFile(old));
    EXPECT_EQ(LinesSince(h, before).size(), 1u);
    EXPECT_EQ(ReadBytes(old), "old contents");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

// --- round trips ----------------------------------------------------------------

TEST_F(HullFileTest, SavedHullReopensIdenticalInEveryStoredValue) {
    struct Case {
        const char* what;
        std::function<void(Hullform&)> build;
    };
    const double awkward[] = {1234567,
                              1e-7,
                              -0.0,
                              0.1 + 0.2,
                              1.0 / 3,
                              -M_PI,
                              12.3456789,
                              123456.7,
                              1e300,
                              -1e-300,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::denorm_min(),
                              9007199254740993.0};
    const std::vector<Case> cases = {
        {"example", [](Hullform& h) { MakeExampleHull(h); }},
        {"no appendages",
         [](Hullform& h) {
             h.name = "Empty";
             h.appendages.clear();
         }},
        {"awkward numbers",
         [&](Hullform& h) {
             h.name = "Awkward";
             h.waterDensity = 0.1 + 0.2;
             h.ap = 1234567;
             h.fp = 1e-7;
             h.fwdMarkY = -0.0;
             h.midMarkY = 1.0 / 3;
             h.aftMarkY = -1e-300;
             Appendage a;
             a.name = "Numbers";
             double y = -1e9;
             for (double v : awkward) {
                 Section s = MakeFrame(y, {}, "F");
                 for (double w : awkward) s.AddOffset(v, w);
                 a.InsertSection(s);
                 y = std::nextafter(y, 1e300);  // neighbours one ulp apart
             }
             h.appendages.push_back(a);
         }},
        {"names with blanks, < and &",
         [](Hullform& h) {
             h.name = "My <HULL> & Co's \"best\" boat";
             Appendage a;
             a.name = "Keel <APPENDAGE> & fin";
             a.InsertSection(MakeFrame(0, {{0, 0}}, "</SECTION> < & >"));
             a.InsertSection(MakeFrame(1, {{0, 0}}, "\xe9t\xe9 8-bit"));
             a.InsertSection(MakeFrame(2, {{0, 0}}, ""));
             h.appendages.push_back(a);
             Appendage b;
             b.name = "";
             h.appendages.push_back(b);
         }},
        {"flags and colours",
         [](Hullform& h) {
             const std::uint32_t colours[] = {0, 255, 16711680, 16777215, 0x80000005u, 0xFFFFFFFFu};
             int k = 0;
             for (std::uint32_t c : colours) {
                 Appendage a;
                 a.name = "A" + std::to_string(k);
                 a.colour = c;
                 a.active = k % 2 == 0;
                 a.freeFlooding = k % 3 == 0;
                 h.appendages.push_back(a);
                 ++k;
             }
         }},
        {"many appendages and frames",
         [](Hullform& h) {
             std::mt19937 rng(7);
             std::uniform_real_distribution<double> d(-50, 50);
             for (int i = 0; i < 40; ++i) {
                 Appendage a;
                 a.name = "Body " + std::to_string(i);
                 for (int f = 0; f < 60; ++f) {
                     Section s = MakeFrame(f * 0.37 + i, {}, "Frame " + std::to_string(f));
                     for (int k = 0; k < (f * 7) % 23; ++k) s.AddOffset(d(rng), d(rng));
                     a.InsertSection(s);
                 }
                 h.appendages.push_back(a);
             }
         }},
        {"neighbouring frames at the same Y, and frames without offsets",
         [](Hullform& h) {
             Appendage a;
             a.InsertSection(MakeFrame(1, {{1, 1}}, "first"));
             a.InsertSection(MakeFrame(1, {}, "second"));
             a.InsertSection(MakeFrame(1, {{2, 2}}, "third"));
             a.InsertSection(MakeFrame(5, {}, "last"));
             h.appendages.push_back(a);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hullform h(dir_.File("Korvelo.log"));
        c.build(h);
        const HullState saved(h);
        const std::string path = dir_.File("round.hll");
        ASSERT_TRUE(h.SaveHullFile(path));

        Hullform back(dir_.File("back.log"));
        back.name = "Something else";
        back.AddAppendage("Other");
        ASSERT_TRUE(back.OpenHullFile(path));
        ExpectHullIs(back, saved);
        // Saving what was read gives the same file again.
        const std::string again = dir_.File("again.hll");
        ASSERT_TRUE(back.SaveHullFile(again));
        EXPECT_EQ(ReadBytes(again), ReadBytes(path));
    }
}

// A value that is not finite, set straight into the model, is never written: the file
// could not be opened again.
TEST_F(HullFileTest, NonFiniteNumbersAreNotSaved) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::function<void(Hullform&)> spoil;
        std::string reason;
    };
    const Case cases[] = {
        {"density", [&](Hullform& h) { h.waterDensity = inf; }, "The value of <DENSITY> is not a finite number"},
        {"AP", [&](Hullform& h) { h.ap = -inf; }, "The value of <AP> is not a finite number"},
        {"FP", [&](Hullform& h) { h.fp = std::nan(""); }, "The value of <FP> is not a finite number"},
        {"forward mark", [&](Hullform& h) { h.fwdMarkY = inf; },
         "The value of <FWD_DRAUGHT_MARK> is not a finite number"},
        {"mid mark", [&](Hullform& h) { h.midMarkY = std::nan(""); },
         "The value of <MID_DRAUGHT_MARK> is not a finite number"},
        {"aft mark", [&](Hullform& h) { h.aftMarkY = -inf; },
         "The value of <AFT_DRAUGHT_MARK> is not a finite number"},
        {"Y", [&](Hullform& h) { h.appendages[0].frames[1].Y = inf; },
         "The Y of section \"Fwd\" of appendage \"Main\" is not a finite number"},
        {"offset", [&](Hullform& h) { h.appendages[0].frames[0].Z[1] = std::nan(""); },
         "Offset 2 of section \"Aft\" of appendage \"Main\" is not a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hullform h(dir_.File("Korvelo.log"));
        MakeOriginalHull(h);
        c.spoil(h);
        const std::string path = dir_.File("inf.hll");
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.SaveHullFile(path));
        EXPECT_EQ(LinesSince(h, before),
                  std::vector<std::string>{"ERROR: Failure saving Hullform to " + path + ". " + c.reason});
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST_F(HullFileTest, NamesThatWouldEndTheirBlockAndBadDensitiesAreNotSaved) {
    struct Case {
        const char* what;
        std::function<void(Hullform&)> spoil;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"frame name", [](Hullform& h) { h.appendages[0].frames[0].name = "Stn 1 </SECTION_NAME> </SECTION>"; },
         "The name \"Stn 1 </SECTION_NAME> </SECTION>\" holds the word </SECTION_NAME>, which ends a name in the hull "
         "file"},
        {"appendage name", [](Hullform& h) { h.appendages[0].name = "B </APPENDAGE_NAME> </APPENDAGE>"; },
         "The name \"B </APPENDAGE_NAME> </APPENDAGE>\" holds the word </APPENDAGE_NAME>, which ends a name in the "
         "hull file"},
        {"hull name", [](Hullform& h) { h.name = "H\t</HULL_NAME>"; },
         "The name \"H?</HULL_NAME>\" holds the word </HULL_NAME>, which ends a name in the hull file"},
        {"another level's end tag", [](Hullform& h) { h.appendages[0].frames[0].name = "x </HULL_NAME>"; },
         "The name \"x </HULL_NAME>\" holds the word </HULL_NAME>, which ends a name in the hull file"},
        {"zero density", [](Hullform& h) { h.waterDensity = 0; }, "The density 0 is not above 0"},
        {"negative density", [](Hullform& h) { h.waterDensity = -1.025; }, "The density -1.025 is not above 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hullform h(dir_.File("Korvelo.log"));
        MakeOriginalHull(h);
        const std::string path = dir_.File("names.hll");
        ASSERT_TRUE(h.SaveHullFile(path));
        const std::string old = ReadBytes(path);
        c.spoil(h);
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.SaveHullFile(path));
        EXPECT_EQ(LinesSince(h, before),
                  std::vector<std::string>{"ERROR: Failure saving Hullform to " + path + ". " + c.reason});
        EXPECT_EQ(ReadBytes(path), old);
    }
    // Tags inside a name that end nothing there save and read back equal.
    Hullform h(dir_.File("Korvelo.log"));
    MakeOriginalHull(h);
    h.appendages[0].frames[0].name = "Stn 1 </SECTION> <SECTION> </OFFSETS> 5";
    h.appendages[0].name = "B </APPENDAGE> </SECTION_NAMES> <APPENDAGE_NAME>";
    h.name = "<HULL> </HULL> & <";
    const std::string path = dir_.File("tags.hll");
    ASSERT_TRUE(h.SaveHullFile(path));
    Hullform back(dir_.File("back.log"));
    ASSERT_TRUE(back.OpenHullFile(path));
    EXPECT_EQ(back.name, h.name);
    ASSERT_EQ(back.appendages.size(), h.appendages.size());
    EXPECT_EQ(back.appendages[0].name, h.appendages[0].name);
    EXPECT_EQ(back.appendages[0].frames.size(), h.appendages[0].frames.size());
    EXPECT_EQ(back.appendages[0].frames[0].name, h.appendages[0].frames[0].name);
    EXPECT_EQ(back.appendages[0].frames[0].Y, h.appendages[0].frames[0].Y);
    EXPECT_EQ(back.appendages[0].frames[0].X, h.appendages[0].frames[0].X);
}

TEST_F(HullFileTest, NamesComeBackAsWordsJoinedBySingleBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"Blank Hullform", "Blank Hullform"},
        {"  two  blanks\tand a tab  ", "two blanks and a tab"},
        {"line\r\nbreak", "line break"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [written, read] : cases) {
        Hullform h(dir_.File("Korvelo.log"));
        h.name = written;
        Appendage a;
        a.name = written;
        a.InsertSection(MakeFrame(0, {}, written));
        h.appendages.push_back(a);
        const std::string path = dir_.File("names.hll");
        ASSERT_TRUE(h.SaveHullFile(path));
        Hullform back(dir_.File("back.log"));
        ASSERT_TRUE(back.OpenHullFile(path));
        EXPECT_EQ(back.name, read);
        ASSERT_EQ(back.appendages.size(), 1u);
        EXPECT_EQ(back.appendages[0].name, read);
        ASSERT_EQ(back.appendages[0].frames.size(), 1u);
        EXPECT_EQ(back.appendages[0].frames[0].name, read);
    }
}

TEST_F(HullFileTest, SuccessfulOpenLogsTheNoteAndTheSummary) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    const std::string path = dir_.File("example.hll");
    ASSERT_TRUE(h.SaveHullFile(path));
    Hullform back(dir_.File("back.log"));
    back.fwdMarkY = 99;
    const std::size_t before = back.log.Lines().size();
    ASSERT_TRUE(back.OpenHullFile(path));
    const auto lines = LinesSince(back, before);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "NOTE: Hullform opened at " + path);
    EXPECT_EQ(lines[1], std::string(66, '-'));
    EXPECT_EQ(lines[2], "NOTE: Hull name - Test");
    EXPECT_EQ(lines[3], "NOTE: Appendage Count: 1");
    EXPECT_EQ(lines[4], "NOTE: Total Number of Offset pairs - 2");
    EXPECT_EQ(back.fwdMarkY, 10);
}

// --- files written by hand ------------------------------------------------------

namespace {

// The example file with its first `from` replaced by `to`.
std::string Edited(const std::string& from, const std::string& to) {
    std::string text = Joined(kExampleLines);
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The example file cut just after the first `marker`.
std::string CutAfter(const std::string& marker) {
    const std::string text = Joined(kExampleLines);
    const std::size_t at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    return text.substr(0, at + marker.size());
}

}  // namespace

TEST_F(HullFileTest, BadFilesFailWithOneLineAndLeaveTheHull) {
    struct Case {
        const char* what;
        std::string text;
        std::string reason;  // after "ERROR: Failure opening Hullform at <path>. "
    };
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131 + 7) % 256));
    const std::vector<Case> cases = {
        {"empty", "", "Not a hull file: no <HULL> tag"},
        {"blanks only", " \r\n\t\r\n", "Not a hull file: no <HULL> tag"},
        {"binary", binary, "Not a hull file: no <HULL> tag"},
        {"tags without <HULL>", Edited("<HULL>\r\n", ""), "Not a hull file: no <HULL> tag"},
        {"cut inside the hull name", CutAfter("Test"), "File ends inside <HULL_NAME>"},
        {"cut after a hull value", CutAfter("<DENSITY> 1.025"), "File ends before </HULL>"},
        {"cut after a value tag", CutAfter("<DENSITY>"),
         "Expected a number after <DENSITY> but found the end of the file"},
        {"cut inside the appendage name", CutAfter("Keel"), "File ends inside <APPENDAGE_NAME> in appendage \"Blank Name\""},
        {"cut inside the appendage block", CutAfter("<ACTIVE> 1 </ACTIVE>\r\n"),
         "File ends inside appendage \"Keel\""},
        {"cut inside the section name", CutAfter("F1"),
         "File ends inside <SECTION_NAME> in section \"Blank\" of appendage \"Keel\""},
        {"cut inside the section block", CutAfter("</YCOORD>"),
         "File ends inside section \"F1\" of appendage \"Keel\""},
        {"cut inside the offsets", CutAfter("0.5 -0."),
         "File ends inside section \"F1\" of appendage \"Keel\""},
        {"cut after </OFFSETS>", CutAfter("</OFFSETS>"), "File ends inside section \"F1\" of appendage \"Keel\""},
        {"cut after </SECTION>", CutAfter("</SECTION>\r\n"), "File ends inside appendage \"Keel\""},
        {"cut between the appendage and </HULL>", CutAfter("</APPENDAGE>\r\n"), "File ends before </HULL>"},
        {"density not a number", Edited("1.025", "heavy"),
         "Expected a number after <DENSITY> but found \"heavy\""},
        {"draught mark not a number", Edited("<MID_DRAUGHT_MARK> 5", "<MID_DRAUGHT_MARK> ,5"),
         "Expected a number after <MID_DRAUGHT_MARK> but found \",5\""},
        {"overflowing number", Edited("<FP> 10", "<FP> 1e999"),
         "Expected a number after <FP> but found \"1e999\""},
        {"Y not a number", Edited("2.5", "abc"),
         "Expected a number after <YCOORD> but found \"abc\" in section \"F1\" of appendage \"Keel\""},
        {"offset not a number", Edited("0.5 -0.25", "0.5 x"),
         "Expected offset 2 of 2 after <OFFSETS> but found \"x\" in section \"F1\" of appendage \"Keel\""},
        {"fewer pairs than the count", Edited("<OFFSET_COUNT> 2", "<OFFSET_COUNT> 3"),
         "Expected offset 3 of 3 after <OFFSETS> but found \"</OFFSETS>\" in section \"F1\" of appendage \"Keel\""},
        {"offset count smaller than the pairs", Edited("<OFFSET_COUNT> 2", "<OFFSET_COUNT> 1"),
         "Expected </OFFSETS> after 1 offsets, as <OFFSET_COUNT> says, but found \"0.5\" in section \"F1\" of "
         "appendage \"Keel\""},
        {"offsets without a count", Edited("<OFFSET_COUNT> 2 </OFFSET_COUNT>\r\n", ""),
         "Expected <OFFSET_COUNT> before the offsets, but <OFFSETS> is followed by \"0\" in section \"F1\" of "
         "appendage \"Keel\""},
        {"frame name holding another block's name end", Edited("F1", "F1 </HULL_NAME>"),
         "The name \"F1 </HULL_NAME>\" holds the word </HULL_NAME>, which ends a name in the hull file in section "
         "\"Blank\" of appendage \"Keel\""},
        {"appendage name holding a frame's name end", Edited("Keel", "Keel </SECTION_NAME>"),
         "The name \"Keel </SECTION_NAME>\" holds the word </SECTION_NAME>, which ends a name in the hull file in "
         "appendage \"Blank Name\""},
        {"hull name holding an appendage's name end", Edited("Test\r\n", "Test </APPENDAGE_NAME>\r\n"),
         "The name \"Test </APPENDAGE_NAME>\" holds the word </APPENDAGE_NAME>, which ends a name in the hull file"},
        {"density with a decimal comma", Edited("1.025", "1,025"),
         "Expected a number after <DENSITY> but found \"1,025\""},
        {"density with letters after it", Edited("1.025", "1.025abc"),
         "Expected a number after <DENSITY> but found \"1.025abc\""},
        {"offset glued to a word", Edited("0.5 -0.25", "0.5 -0.25cm"),
         "Expected offset 2 of 2 after <OFFSETS> but found \"-0.25cm\" in section \"F1\" of appendage \"Keel\""},
        {"zero density", Edited("1.025", "0"), "The density after <DENSITY> must be above 0 but is 0"},
        {"negative density", Edited("1.025", "-1.5"), "The density after <DENSITY> must be above 0 but is -1.5"},
        {"huge offset count", Edited("<OFFSET_COUNT> 2", "<OFFSET_COUNT> 4294967295"),
         "Expected offset 3 of 4294967295 after <OFFSETS> but found \"</OFFSETS>\" in section \"F1\" of "
         "appendage \"Keel\""},
        {"count beyond 32 bits", Edited("<OFFSET_COUNT> 2", "<OFFSET_COUNT> 99999999999"),
         "Expected a count after <OFFSET_COUNT> but found \"99999999999\" in section \"F1\" of appendage \"Keel\""},
        {"negative count", Edited("<OFFSET_COUNT> 2", "<OFFSET_COUNT> -2"),
         "Expected a count after <OFFSET_COUNT> but found \"-2\" in section \"F1\" of appendage \"Keel\""},
        {"fractional count", Edited("<SECTION_COUNT> 1", "<SECTION_COUNT> 1.5"),
         "Expected a count after <SECTION_COUNT> but found \"1.5\" in appendage \"Keel\""},
        {"flag other than 0 or 1", Edited("<ACTIVE> 1", "<ACTIVE> 2"),
         "Expected 0 or 1 after <ACTIVE> but found \"2\" in appendage \"Keel\""},
        {"colour not a number", Edited("<APPENDAGE_COLOUR> 255", "<APPENDAGE_COLOUR> red"),
         "Expected a colour after <APPENDAGE_COLOUR> but found \"red\" in appendage \"Keel\""},
        {"colour beyond 32 bits", Edited("<APPENDAGE_COLOUR> 255", "<APPENDAGE_COLOUR> 4294967296"),
         "Expected a colour after <APPENDAGE_COLOUR> but found \"4294967296\" in appendage \"Keel\""},
        {"binary inside a block", CutAfter("<SECTION_NAME>") + "\r\n" + binary,
         "File ends inside <SECTION_NAME> in section \"Blank\" of appendage \"Keel\""},
        // Numbers that are not finite are no values of the model.
        {"density nan", Edited("1.025", "nan"), "Expected a number after <DENSITY> but found \"nan\""},
        {"AP inf", Edited("<AP> 0", "<AP> inf"), "Expected a number after <AP> but found \"inf\""},
        {"FP -inf", Edited("<FP> 10", "<FP> -inf"), "Expected a number after <FP> but found \"-inf\""},
        {"forward mark NaN", Edited("<FWD_DRAUGHT_MARK> 10", "<FWD_DRAUGHT_MARK> NaN"),
         "Expected a number after <FWD_DRAUGHT_MARK> but found \"NaN\""},
        {"mid mark infinity", Edited("<MID_DRAUGHT_MARK> 5", "<MID_DRAUGHT_MARK> infinity"),
         "Expected a number after <MID_DRAUGHT_MARK> but found \"infinity\""},
        {"aft mark nan", Edited("<AFT_DRAUGHT_MARK> 0", "<AFT_DRAUGHT_MARK> nan"),
         "Expected a number after <AFT_DRAUGHT_MARK> but found \"nan\""},
        {"Y nan", Edited("2.5", "nan"),
         "Expected a number after <YCOORD> but found \"nan\" in section \"F1\" of appendage \"Keel\""},
        {"offset X inf", Edited("<OFFSETS>\r\n0 0", "<OFFSETS>\r\ninf 0"),
         "Expected offset 1 of 2 after <OFFSETS> but found \"inf\" in section \"F1\" of appendage \"Keel\""},
        {"offset Z nan", Edited("0.5 -0.25", "0.5 nan"),
         "Expected offset 2 of 2 after <OFFSETS> but found \"nan\" in section \"F1\" of appendage \"Keel\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hullform h(dir_.File("Korvelo.log"));
        MakeOriginalHull(h);
        const HullState original(h);
        const std::string path = dir_.File("bad.hll");
        WriteBytes(path, c.text);
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.OpenHullFile(path));
        ExpectHullIs(h, original);
        const auto lines = LinesSince(h, before);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], "ERROR: Failure opening Hullform at " + path + ". " + c.reason);
    }
}

TEST_F(HullFileTest, FailedOpenKeepsTheWayBackFromAHeel) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeOriginalHull(h);
    const HullState upright(h);
    ASSERT_TRUE(h.Rotate(17));
    const HullState heeled(h);
    const std::string path = dir_.File("bad.hll");
    WriteBytes(path, "<HULL> <DENSITY> heavy </HULL>");
    EXPECT_FALSE(h.OpenHullFile(path));
    ExpectHullIs(h, heeled);
    // Heeling back by the same angle still restores the upright offsets exactly.
    ASSERT_TRUE(h.Rotate(-17));
    ExpectHullIs(h, upright);
}

TEST_F(HullFileTest, FileThatCannotBeOpenedLeavesTheHull) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeOriginalHull(h);
    const HullState original(h);
    // A folder, and a device that would never end.
    for (const std::string& path : {dir_.File("missing.hll"), dir_.path().string(), std::string("/dev/zero")}) {
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.OpenHullFile(path));
        ExpectHullIs(h, original);
        EXPECT_EQ(LinesSince(h, before),
                  std::vector<std::string>{"ERROR: Failure opening Hullform at " + path + ". Unable to obtain file handle"});
    }
}

TEST_F(HullFileTest, FileTooLargeToBeAHullIsRefusedUnread) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeOriginalHull(h);
    const HullState original(h);
    const std::string path = dir_.File("huge.hll");
    WriteBytes(path, "<HULL>");
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 30) + 1);  // sparse
    const std::size_t before = h.log.Lines().size();
    EXPECT_FALSE(h.OpenHullFile(path));
    ExpectHullIs(h, original);
    EXPECT_EQ(LinesSince(h, before),
              std::vector<std::string>{"ERROR: Failure opening Hullform at " + path +
                                       ". File is too large: 1073741825 bytes"});
}

TEST_F(HullFileTest, OddButReadableFilesOpenAsTheFormatSays) {
    struct Case {
        const char* what;
        std::string text;
        std::function<void(const Hullform&)> check;
    };
    auto frameOf = [](const Hullform& h) -> const Section& { return h.appendages.at(0).frames.at(0); };
    const std::vector<Case> cases = {
        {"line feeds alone and tabs", Joined(kExampleLines, "\n\t"),
         [&](const Hullform& h) {
             EXPECT_EQ(h.name, "Test");
             EXPECT_EQ(fixtures::OffsetsOf(frameOf(h)), (fixtures::Offsets{{0, 0}, {0.5, -0.25}}));
         }},
        {"value glued to its tag", Edited("<DENSITY> 1.025 </DENSITY>", "<DENSITY>1.025</DENSITY>"),
         [](const Hullform& h) { EXPECT_EQ(h.waterDensity, 1.0); }},
        {"value glued to its end tag", Edited("<DENSITY> 1.025 </DENSITY>", "<DENSITY> 1.5</DENSITY>"),
         [](const Hullform& h) { EXPECT_EQ(h.waterDensity, 1.5); }},
        {"appendage count that disagrees", Edited("<APPENDAGE_COUNT> 1", "<APPENDAGE_COUNT> 5"),
         [](const Hullform& h) { EXPECT_EQ(h.appendages.size(), 1u); }},
        {"no offset count and no offsets", Edited("<OFFSET_COUNT> 2 </OFFSET_COUNT>\r\n<OFFSETS>\r\n0 0\r\n0.5 -0.25", "<OFFSETS>"),
         [&](const Hullform& h) { EXPECT_EQ(frameOf(h).GetOffsetCount(), 0u); }},
        {"empty hull name", Edited("Test\r\n", ""), [](const Hullform& h) { EXPECT_EQ(h.name, ""); }},
        {"negative colour", Edited("<APPENDAGE_COLOUR> 255", "<APPENDAGE_COLOUR> -1"),
         [](const Hullform& h) { EXPECT_EQ(h.appendages.at(0).colour, 0xFFFFFFFFu); }},
        {"unsigned system colour", Edited("<APPENDAGE_COLOUR> 255", "<APPENDAGE_COLOUR> 2147483653"),
         [](const Hullform& h) { EXPECT_EQ(h.appendages.at(0).colour, 0x80000005u); }},
        {"no draught marks", Edited("<FWD_DRAUGHT_MARK> 10 </FWD_DRAUGHT_MARK>", ""),
         [](const Hullform& h) {
             EXPECT_EQ(h.fwdMarkY, 20);  // kept from the hull before
             EXPECT_EQ(h.midMarkY, 5);
         }},
        {"missing values take Clear's", Edited("<DENSITY> 1.025 </DENSITY>\r\n<AP> 0 </AP>\r\n<FP> 10 </FP>", ""),
         [](const Hullform& h) {
             EXPECT_EQ(h.waterDensity, 1.0);
             EXPECT_EQ(h.ap, 0);
             EXPECT_EQ(h.fp, 0);
         }},
        {"second density overrides", Edited("<AP>", "<DENSITY> 2 </DENSITY> <AP>"),
         [](const Hullform& h) { EXPECT_EQ(h.waterDensity, 2); }},
        {"tags of another level are skipped", Edited("<AP>", "<ACTIVE> 0 <YCOORD> 7 <SECTION> <AP>"),
         [](const Hullform& h) {
             EXPECT_EQ(h.ap, 0);
             EXPECT_EQ(h.appendages.size(), 1u);
         }},
        {"second <OFFSETS> appends", Edited("</OFFSETS>", "</OFFSETS> <OFFSETS> 7 8 9 10"),
         [&](const Hullform& h) {
             EXPECT_EQ(fixtures::OffsetsOf(frameOf(h)), (fixtures::Offsets{{0, 0}, {0.5, -0.25}, {7, 8}, {9, 10}}));
         }},
        {"extents rebuilt from the offsets", Edited("0 0\r\n0.5 -0.25", "0.5 -0.25\r\n-1 3"),
         [&](const Hullform& h) {
             const Section& s = frameOf(h);
             EXPECT_EQ(s.maxX, 0.5);
             EXPECT_EQ(s.minX, -1);
             EXPECT_EQ(s.maxZ, 3);
             EXPECT_EQ(s.minZ, -0.25);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hullform h(dir_.File("Korvelo.log"));
        MakeOriginalHull(h);
        const std::string path = dir_.File("odd.hll");
        WriteBytes(path, c.text);
        const std::size_t before = h.log.Lines().size();
        ASSERT_TRUE(h.OpenHullFile(path));
        EXPECT_EQ(LinesSince(h, before).at(0), "NOTE: Hullform opened at " + path);
        c.check(h);
    }
}

TEST_F(HullFileTest, FrameThatCannotBePlacedIsDroppedWithAWarning) {
    auto section = [](const std::string& name, const std::string& y, const std::string& x) {
        return "<SECTION> <SECTION_NAME> " + name + " </SECTION_NAME> <YCOORD> " + y +
               " </YCOORD> <OFFSET_COUNT> 1 </OFFSET_COUNT> <OFFSETS> " + x + " 0 </OFFSETS> </SECTION>\n";
    };
    const std::string text = "<HULL> <APPENDAGE> <APPENDAGE_NAME> Skeg </APPENDAGE_NAME>\n" + section("A", "1", "10") +
                             section("B", "3", "30") + section("C", "1", "11") + section("D", "3", "31") +
                             "</APPENDAGE> </HULL>\n";
    const std::string path = dir_.File("repeat.hll");
    WriteBytes(path, text);
    Hullform h(dir_.File("Korvelo.log"));
    const std::size_t before = h.log.Lines().size();
    ASSERT_TRUE(h.OpenHullFile(path));
    ASSERT_EQ(h.appendages.size(), 1u);
    const auto& frames = h.appendages[0].frames;
    ASSERT_EQ(frames.size(), 3u);  // D follows B, the last frame, at the same Y
    EXPECT_EQ(frames[0].name, "A");
    EXPECT_EQ(frames[1].name, "B");
    EXPECT_EQ(frames[2].name, "D");
    EXPECT_EQ(frames[2].X.at(0), 31);
    const auto lines = LinesSince(h, before);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "WARNING: Dropped frame \"C\" of appendage \"Skeg\": Y=1 repeats the Y of an earlier frame");
    EXPECT_EQ(lines[1], "NOTE: Hullform opened at " + path);
}

// --- fuzzing ----------------------------------------------------------------------

namespace {

std::string Mutate(const std::string& valid, std::mt19937& rng) {
    static const char* const words[] = {"<HULL>", "</HULL>", "<APPENDAGE>", "</APPENDAGE>", "<SECTION>",
                                        "</SECTION>", "<OFFSETS>", "</OFFSETS>", "<OFFSET_COUNT>",
                                        "<HULL_NAME>", "</HULL_NAME>", "<SECTION_NAME>", "<YCOORD>",
                                        "<APPENDAGE_COLOUR>", "-1", "4294967295", "1e999", "nan", "-0",
                                        "x", "\n", " ", "\r"};
    std::string text = valid;
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = pick(text.size());
        switch (pick(5)) {
            case 0:  // flip a byte
                if (at < text.size()) text[at] = static_cast<char>(pick(255));
                break;
            case 1:  // delete a run
                text.erase(at, pick(40));
                break;
            case 2:  // duplicate a run
                text.insert(at, text.substr(pick(text.size()), pick(200)));
                break;
            case 3:  // insert a word of the format
                text.insert(at, std::string(" ") + words[pick(std::size(words) - 1)] + " ");
                break;
            case 4:  // cut short
                text.resize(at);
                break;
            default:  // a digit for a digit
                if (at < text.size()) text[at] = static_cast<char>('0' + pick(9));
        }
    }
    return text;
}

}  // namespace

TEST_F(HullFileTest, MutatedFilesNeverBreakTheReader) {
    Hullform source(dir_.File("source.log"));
    MakeExampleHull(source);
    for (int i = 0; i < 3; ++i) {
        Appendage a;
        a.name = "Body " + std::to_string(i);
        for (int f = 0; f < 4; ++f) a.InsertSection(MakeFrame(f, {{0, -1}, {f + 0.5, 0.1 * i}, {1e-7, 1234567}}));
        source.appendages.push_back(a);
    }
    const std::string validPath = dir_.File("valid.hll");
    ASSERT_TRUE(source.SaveHullFile(validPath));
    const std::string valid = ReadBytes(validPath);

    std::mt19937 rng(20261210);
    Hullform h(dir_.File("Korvelo.log"));
    MakeOriginalHull(h);
    const std::string path = dir_.File("fuzz.hll");
    int opened = 0;
    for (int i = 0; i < 3000; ++i) {
        WriteBytes(path, Mutate(valid, rng));
        const HullState before(h);
        const std::size_t lines = h.log.Lines().size();
        if (h.OpenHullFile(path)) {
            ++opened;
            for (double v : {h.waterDensity, h.ap, h.fp, h.fwdMarkY, h.midMarkY, h.aftMarkY})
                ASSERT_TRUE(std::isfinite(v)) << "case " << i;
            for (const Appendage& a : h.appendages) {
                // As many X as Z, Y ascending, every value finite.
                ASSERT_TRUE(foreign::SaneFrames(a)) << "case " << i;
            }
        } else {
            ASSERT_EQ(h.log.Lines().size(), lines + 1) << "case " << i;
            ASSERT_EQ(h.log.Lines().back().rfind("ERROR: Failure opening Hullform at ", 0), 0u);
            ExpectHullIs(h, before);
            if (::testing::Test::HasFailure()) FAIL() << "case " << i;
        }
        if (i % 200 == 0) MakeOriginalHull(h);
    }
    // The mutations must leave some files readable, or the test proves little.
    EXPECT_GT(opened, 100);
    EXPECT_LT(opened, 2900);
}

// Frames in any order, with repeated positions, are placed as one-by-one placing would
// place them (a repeat of an earlier frame's Y is dropped, one of the last frame's Y is
// kept after it), whatever the order and however many there are.
TEST_F(HullFileTest, FramesInAnyOrderArePlacedAsOneByOne) {
    std::mt19937 rng(17);
    struct Case {
        const char* what;
        std::vector<double> ys;
    };
    std::vector<double> descending, shuffled;
    for (int k = 2000; k > 0; --k) descending.push_back(k * 0.5);
    for (int k = 0; k < 600; ++k) shuffled.push_back(static_cast<double>(rng() % 200) * 0.25);
    const std::vector<Case> cases = {
        {"descending", descending},
        {"shuffled with repeats", shuffled},
        {"repeats of the last", {1, 3, 3, 2, 3, 1, 5, 3, 5, 5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = "<HULL> <APPENDAGE> <APPENDAGE_NAME> Body </APPENDAGE_NAME>\n";
        Appendage expected;
        expected.name = "Body";
        std::size_t dropped = 0;
        for (std::size_t k = 0; k < c.ys.size(); ++k) {
            const std::string name = "F" + std::to_string(k);
            text += "<SECTION> <SECTION_NAME> " + name + " </SECTION_NAME> <YCOORD> " + core::ModelNumber(c.ys[k]) +
                    " </YCOORD> <OFFSET_COUNT> 1 </OFFSET_COUNT> <OFFSETS> " + std::to_string(k) +
                    " 0 </OFFSETS> </SECTION>\n";
            if (expected.InsertSection(MakeFrame(c.ys[k], {{double(k), 0}}, name)) < 0) ++dropped;
        }
        text += "</APPENDAGE> </HULL>\n";
        const std::string path = dir_.File("order.hll");
        WriteBytes(path, text);
        Hullform h(dir_.File("Korvelo.log"));
        const std::size_t before = h.log.Lines().size();
        ASSERT_TRUE(h.OpenHullFile(path));
        const auto& frames = h.appendages.at(0).frames;
        ASSERT_EQ(frames.size(), expected.frames.size());
        for (std::size_t k = 0; k < frames.size(); ++k) {
            EXPECT_EQ(frames[k].name, expected.frames[k].name) << k;
            EXPECT_EQ(frames[k].Y, expected.frames[k].Y) << k;
            EXPECT_EQ(frames[k].X, expected.frames[k].X) << k;
        }
        std::size_t warnings = 0;
        for (const std::string& line : LinesSince(h, before)) warnings += line.rfind("WARNING: Dropped frame", 0) == 0;
        EXPECT_EQ(warnings, dropped);
    }
}

// A save through a link whose target is yet to be made writes the target and keeps the link.
TEST_F(HullFileTest, SaveThroughALinkToAFileYetToBeMadeWritesTheTarget) {
    Hullform h(dir_.File("Korvelo.log"));
    MakeExampleHull(h);
    const std::string target = dir_.File("target.hll"), link = dir_.File("link.hll");
    std::filesystem::create_symlink("target.hll", link);
    ASSERT_TRUE(h.SaveHullFile(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), Joined(kExampleLines));
}
