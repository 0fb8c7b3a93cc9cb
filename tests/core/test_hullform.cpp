#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "HullFixtures.h"
#include "core/Hullform.h"

using core::Appendage;
using core::Hullform;
using fixtures::LinesSince;
using fixtures::MakeAppendage;
using fixtures::MakeFrame;
using fixtures::ScopedTempDir;

namespace {

const std::string kSep(66, '-');

class HullformTest : public ::testing::Test {
protected:
    ScopedTempDir dir_;
};

}  // namespace

TEST_F(HullformTest, NewHull) {
    Hullform h(dir_.File("Korvelo.log"));
    EXPECT_EQ(h.name, "Blank Hullform");
    EXPECT_EQ(h.waterDensity, 1.025);
    EXPECT_EQ(h.GetAppendageCount(), 0u);
    EXPECT_EQ(h.ap, 0);
    EXPECT_EQ(h.fp, 0);
    EXPECT_EQ(h.fwdMarkY, 0);
    EXPECT_EQ(h.aftMarkY, 0);
    EXPECT_EQ(h.midMarkY, 0);
    EXPECT_EQ(h.coreVersion, "Core Version: 2.1");
    EXPECT_EQ(h.issueDate, "Issue Date: 13/05/06");
    EXPECT_EQ(h.issueNotes, "Issue Notes: Core update doubling solver speed");

    const auto& l = h.log.Lines();
    ASSERT_GE(l.size(), 11u);
    EXPECT_EQ(l[0], kSep);
    EXPECT_EQ(l[1], "Korvelo");
    const std::size_t n = l.size();
    EXPECT_EQ(l[n - 5], kSep);  // the header ends with a separator
    EXPECT_EQ(std::vector<std::string>(l.end() - 4, l.end()),
              (std::vector<std::string>{"Hullform class initialised.", "Core Version: 2.1",
                                        "Issue Date: 13/05/06",
                                        "Issue Notes: Core update doubling solver speed"}));
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Korvelo.log")));
}

TEST_F(HullformTest, ClearResetsModelButKeepsLogMarksAndVersions) {
    Hullform h(dir_.File("Korvelo.log"));
    h.name = "Mine";
    h.waterDensity = 1.1;
    h.ap = -2;
    h.fp = 30;
    h.fwdMarkY = 10;
    h.aftMarkY = -1;
    h.midMarkY = 4;
    h.AddAppendage("A");
    h.AddAppendage("B");
    const std::size_t lines = h.log.Lines().size();
    h.Clear();
    EXPECT_EQ(h.name, "Korvelo Hullform");
    EXPECT_EQ(h.waterDensity, 1.0);
    EXPECT_EQ(h.ap, 0);
    EXPECT_EQ(h.fp, 0);
    EXPECT_EQ(h.fwdMarkY, 10);
    EXPECT_EQ(h.aftMarkY, -1);
    EXPECT_EQ(h.midMarkY, 4);
    EXPECT_EQ(h.GetAppendageCount(), 0u);
    EXPECT_EQ(h.coreVersion, "Core Version: 2.1");
    EXPECT_EQ(h.log.Lines().size(), lines);
    EXPECT_TRUE(h.log.IsUsable());
    EXPECT_EQ(h.GetMaxY(), 0);
}

TEST_F(HullformTest, AddAppendageGivesOneBlankFrame) {
    Hullform h(dir_.File("Korvelo.log"));
    EXPECT_TRUE(h.AddAppendage("Keel"));
    ASSERT_EQ(h.GetAppendageCount(), 1u);
    const Appendage& a = h.appendages[0];
    EXPECT_EQ(a.name, "Keel");
    ASSERT_EQ(a.GetFrameCount(), 1u);
    EXPECT_EQ(a.frames[0].name, "Blank Frame");
    EXPECT_EQ(a.frames[0].Y, 0);
    EXPECT_EQ(fixtures::OffsetsOf(a.frames[0]), (fixtures::Offsets{{0, 0}}));
    EXPECT_TRUE(a.active);
    EXPECT_FALSE(a.freeFlooding);
    EXPECT_EQ(a.colour, 0u);
    EXPECT_EQ(h.GetTotalOffsetCount(), 1u);
    EXPECT_TRUE(h.AddAppendage("Rudder"));
    EXPECT_EQ(h.appendages[1].name, "Rudder");
    EXPECT_EQ(h.GetTotalOffsetCount(), 2u);
}

TEST_F(HullformTest, IndexChecksNeverLog) {
    Hullform h(dir_.File("Korvelo.log"));
    h.AddAppendage("A");
    h.appendages.push_back(Appendage());  // no frames
    const std::size_t lines = h.log.Lines().size();
    struct Case {
        unsigned i, j;
        bool appendage, frame;
    };
    for (Case c : {Case{0, 0, true, true}, Case{0, 1, true, false}, Case{1, 0, true, false},
                   Case{2, 0, false, false}, Case{0xFFFFFFFFu, 0, false, false}}) {
        EXPECT_EQ(h.IsAppendageIndexValid(c.i), c.appendage) << c.i;
        EXPECT_EQ(h.IsFrameIndexValid(c.i, c.j), c.frame) << c.i << "," << c.j;
    }
    EXPECT_EQ(h.log.Lines().size(), lines);
}

TEST_F(HullformTest, DeleteAppendage) {
    Hullform h(dir_.File("Korvelo.log"));
    h.AddAppendage("A");
    h.AddAppendage("B");
    std::size_t lines = h.log.Lines().size();
    EXPECT_FALSE(h.DeleteAppendage(2));
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{"ERROR: Tried deleting appendage[2] but found out of bounds"}));
    EXPECT_EQ(h.GetAppendageCount(), 2u);
    lines = h.log.Lines().size();
    EXPECT_FALSE(h.DeleteAppendage(static_cast<unsigned>(-1)));
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{"ERROR: Tried deleting appendage[4294967295] but found out of bounds"}));

    lines = h.log.Lines().size();
    EXPECT_TRUE(h.DeleteAppendage(0));
    EXPECT_EQ(h.log.Lines().size(), lines);
    ASSERT_EQ(h.GetAppendageCount(), 1u);
    EXPECT_EQ(h.appendages[0].name, "B");
}

TEST_F(HullformTest, DeleteFrame) {
    Hullform h(dir_.File("Korvelo.log"));
    h.appendages.push_back(fixtures::MakeBoxAppendage(4, 1, 1, 5));
    std::size_t lines = h.log.Lines().size();
    EXPECT_FALSE(h.DeleteFrame(0, 5));
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{"ERROR: Tried deleting frame [5] of appendage[0] but found out of bounds"}));
    lines = h.log.Lines().size();
    EXPECT_FALSE(h.DeleteFrame(1, 0));
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{"ERROR: Tried deleting frame [0] of appendage[1] but found out of bounds"}));
    EXPECT_EQ(h.appendages[0].GetFrameCount(), 5u);

    lines = h.log.Lines().size();
    EXPECT_TRUE(h.DeleteFrame(0, 1));
    EXPECT_EQ(h.log.Lines().size(), lines);
    ASSERT_EQ(h.appendages[0].GetFrameCount(), 4u);
    EXPECT_EQ(h.appendages[0].frames[1].Y, 2);
}

TEST_F(HullformTest, FindNearestOffset) {
    Hullform h(dir_.File("Korvelo.log"));
    h.AddAppendage("A");
    h.AddAppendage("B");
    h.AddAppendage("C");
    h.appendages[1].AddOffset(0, 2, 2);
    h.appendages[1].AddOffset(0, 1, 1);
    h.appendages[2].frames[0].ClearOffsets();
    std::size_t lines = h.log.Lines().size();

    EXPECT_EQ(h.FindNearestOffset(1, 0, 1.1, 0.9), 2u);
    EXPECT_EQ(h.FindNearestOffset(1, 0, 5, 5), 1u);
    EXPECT_EQ(h.FindNearestOffset(2, 0, 5, 5), 0u);  // no offsets: 0, not logged
    EXPECT_EQ(h.log.Lines().size(), lines);

    EXPECT_EQ(h.FindNearestOffset(3, 0, 1.5, -2), 0u);
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{"ERROR: Nearest offset to X=1.5, Z=-2 on frame [0] of appendage[3] not "
                                        "found as frame or appendage does not exist"}));
    lines = h.log.Lines().size();
    EXPECT_EQ(h.FindNearestOffset(0, 1, 0.1, 1e-20), 0u);
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{"ERROR: Nearest offset to X=0.1, Z=1E-20 on frame [1] of appendage[0] not "
                                        "found as frame or appendage does not exist"}));
}

TEST_F(HullformTest, ExtentsOverAllAppendages) {
    Hullform h(dir_.File("Korvelo.log"));
    EXPECT_EQ(h.GetMaxX(), 0);
    EXPECT_EQ(h.GetMinX(), 0);
    EXPECT_EQ(h.GetMaxZ(), 0);
    EXPECT_EQ(h.GetMinZ(), 0);
    EXPECT_EQ(h.GetMaxY(), 0);
    EXPECT_EQ(h.GetMinY(), 0);

    h.appendages.push_back(MakeAppendage({MakeFrame(2, {{1, 3}, {2, 4}}), MakeFrame(6, {{0.5, 5}})}));
    h.appendages.push_back(MakeAppendage({MakeFrame(-3, {{-4, 8}}), MakeFrame(1, {{3, 6}})}));
    h.appendages[1].active = false;  // inactive bodies count too
    EXPECT_EQ(h.GetMaxX(), 3);
    EXPECT_EQ(h.GetMinX(), -4);
    EXPECT_EQ(h.GetMaxZ(), 8);
    EXPECT_EQ(h.GetMinZ(), 3);
    EXPECT_EQ(h.GetMaxY(), 6);
    EXPECT_EQ(h.GetMinY(), -3);

    // A body without frames contributes 0 to every extent.
    h.appendages.push_back(Appendage());
    EXPECT_EQ(h.GetMinZ(), 0);
    EXPECT_EQ(h.GetMaxY(), 6);
    EXPECT_EQ(h.GetTotalOffsetCount(), 5u);
}

TEST_F(HullformTest, LogSummaryOfEmptyHull) {
    Hullform h(dir_.File("Korvelo.log"));
    const std::size_t lines = h.log.Lines().size();
    EXPECT_TRUE(h.LogSummary());
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{kSep, "NOTE: Hull name - Blank Hullform", "NOTE: Appendage Count: 0",
                                        "NOTE: Total Number of Offset pairs - 0", "NOTE: X max and min = 0, 0",
                                        "NOTE: Y max and min = 0, 0", "NOTE: Z max and min = 0, 0", kSep}));
}

TEST_F(HullformTest, LogSummaryOfBoxHull) {
    Hullform h(dir_.File("Korvelo.log"));
    h.name = "Barge";
    h.appendages.push_back(fixtures::MakeBoxAppendage(12.5, 2.25, 1.5, 3, -0.5, -0.1));
    h.AddAppendage("Skeg");
    const std::size_t lines = h.log.Lines().size();
    EXPECT_TRUE(h.LogSummary());
    EXPECT_EQ(LinesSince(h, lines),
              (std::vector<std::string>{kSep, "NOTE: Hull name - Barge", "NOTE: Appendage Count: 2",
                                        "NOTE: Total Number of Offset pairs - 13",
                                        "NOTE: X max and min = 2.25, -2.25", "NOTE: Y max and min = 12, -0.5",
                                        "NOTE: Z max and min = 1.4, -0.1", kSep}));
}

TEST_F(HullformTest, TheProgramsHullLogsToKorveloLogInTheCurrentFolder) {
    const fixtures::ScopedCurrentDir here(dir_.path());
    {
        Hullform h;
        EXPECT_EQ(h.log.FilePath(), "Korvelo.log");
    }
    const auto file = fixtures::ReadLines(dir_.File("Korvelo.log"));
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file[1], "Korvelo");
}

TEST(Hullform, TempHullFixtureKeepsLogInItsDirectory) {
    fixtures::TempHull t;
    t.hull.log.Log("NOTE: here");
    const auto file = fixtures::ReadLines(t.dir.File("Korvelo.log"));
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.back(), "NOTE: here");
}

TEST(Hullform, UnusableLogLeavesOperationsWorking) {
    ScopedTempDir dir;
    Hullform h(dir.File("missing/Korvelo.log"));
    EXPECT_FALSE(h.log.IsUsable());
    EXPECT_EQ(h.log.Lines().back(), "Issue Notes: Core update doubling solver speed");
    EXPECT_EQ(h.name, "Blank Hullform");
    EXPECT_EQ(h.coreVersion, "Core Version: 2.1");
    h.AddAppendage("A");
    EXPECT_FALSE(h.DeleteAppendage(3));
    EXPECT_FALSE(h.DeleteFrame(0, 3));
    EXPECT_EQ(h.FindNearestOffset(4, 4, 0, 0), 0u);
    EXPECT_TRUE(h.LogSummary());
    EXPECT_TRUE(h.DeleteFrame(0, 0));
    // The reasons are kept for the program to show, file or no file.
    std::size_t errors = 0;
    for (const std::string& line : h.log.Lines()) errors += line.rfind("ERROR: ", 0) == 0;
    EXPECT_EQ(errors, 3u);  // the appendage, the frame and the nearest offset
}

// A failed operation gives its caller the reason its log line states; a success gives none.
TEST_F(HullformTest, FailuresGiveTheReasonTheyLog) {
    Hullform h(dir_.File("own.log"));
    h.appendages.push_back(MakeAppendage({MakeFrame(0, {{0, 0}, {1, 0}, {1, 1}}), MakeFrame(5, {{0, 0}, {1, 0}, {1, 1}})}));
    const std::string missing = dir_.File("none/x");
    struct Case {
        const char* what;
        std::function<core::Result()> run;
    };
    const Case cases[] = {
        {"delete appendage", [&] { return h.DeleteAppendage(7); }},
        {"delete frame", [&] { return h.DeleteFrame(0, 9); }},
        {"scale appendage", [&] { return h.ScaleAppendage(0, 0, 1, 1, false); }},
        {"scale hull", [&] { return h.Scale(1, 1e-9, 1); }},
        {"move frame", [&] { return h.MoveFrame(0, 0, std::nan(""), 0, 0, false); }},
        {"move hull", [&] { return h.Move(0, std::nan(""), 0); }},
        {"rotate hull", [&] { return h.Rotate(std::nan("")); }},
        {"frame array", [&] { return h.CreateFrameArray(0, 0, 2, 0, std::nan(""), 0, false); }},
        {"split", [&] { return h.SplitAppendage(0, 9, false); }},
        {"save", [&] { return h.SaveHullFile(missing); }},
        {"open", [&] { return h.OpenHullFile(missing); }},
        {"import app", [&] { return h.ImportAppFile(missing); }},
        {"import GF", [&] { return h.ImportGfFile(missing, true); }},
        {"import DFH", [&] { return h.ImportDfhFile(missing); }},
        {"export OBJ", [&] { return h.appendages[0].ExportObj(missing, &h.log); }},
        {"export CRD", [&] { return h.appendages[0].ExportFrameToCrd(missing, 9, &h.log); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = h.log.Lines().size();
        const core::Result r = c.run();
        EXPECT_FALSE(r);
        const std::vector<std::string> lines = LinesSince(h, before);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ("ERROR: " + r.Reason(), lines.back());
    }
    ASSERT_EQ(h.appendages.size(), 1u);
    const core::Result ok = h.MoveFrame(0, 0, 0, 1, 0, false);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(ok.Reason().empty());
    // Without a log the reason is given all the same.
    const core::Result unlogged = h.appendages[0].ExportObj(missing);
    EXPECT_FALSE(unlogged);
    EXPECT_EQ(unlogged.Reason().rfind("Failure exporting OBJ file to " + missing + ". ", 0), 0u) << unlogged.Reason();
}

// A file that fails part way leaves the hull as it was, heel and all.
TEST_F(HullformTest, AFailedOpenLeavesTheHullAsItWas) {
    Hullform h(dir_.File("own.log"));
    h.name = "Kept";
    h.waterDensity = 1.1;
    h.ap = 2;
    h.appendages.push_back(MakeAppendage({MakeFrame(0, {{0, 0}, {1, 0}, {1, 1}})}));
    ASSERT_TRUE(h.Rotate(10));
    const std::string path = dir_.File("cut.hll");
    std::ofstream(path) << "<HULL>\n<HULL_NAME> Other </HULL_NAME>\n<DENSITY> 1.3\n<AP> 7\n";
    const core::Result r = h.OpenHullFile(path);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Reason(), "Failure opening Hullform at " + path + ". File ends before </HULL>");
    EXPECT_EQ(h.name, "Kept");
    EXPECT_EQ(h.waterDensity, 1.1);
    EXPECT_EQ(h.ap, 2);
    ASSERT_EQ(h.appendages.size(), 1u);
    // The way back from the heel is kept: turning back restores the upright offsets.
    ASSERT_TRUE(h.Rotate(-10));
    EXPECT_EQ(h.appendages[0].frames[0].X, (std::vector<double>{0, 1, 1}));
}

// A model read aside logs into the hull's log, adding none of its own header or version
// lines; taking it replaces the hull's model and keeps the rest.
TEST_F(HullformTest, AModelReadAsideLogsIntoTheHullAndReplacesItsModel) {
    Hullform h(dir_.File("Korvelo.log"));
    h.name = "Kept";
    h.fwdMarkY = 10;
    h.midMarkY = 4;
    h.aftMarkY = -1;
    h.appendages.push_back(MakeAppendage({MakeFrame(0, {{0, 0}, {1, 0}, {1, 1}})}));
    const std::size_t before = h.log.Lines().size();
    const std::size_t fileBefore = fixtures::ReadLines(dir_.File("Korvelo.log")).size();
    {
        Hullform read(core::ErrorLog::Into{h.log});
        EXPECT_EQ(read.name, "Blank Hullform");
        EXPECT_EQ(read.coreVersion, "Core Version: 2.1");
        EXPECT_EQ(read.issueNotes, "Issue Notes: Core update doubling solver speed");
        EXPECT_EQ(h.log.Lines().size(), before);
        read.Clear();
        read.name = "Read";
        read.waterDensity = 1.2;
        read.ap = 1;
        read.fp = 9;
        read.fwdMarkY = 99;
        read.appendages.push_back(MakeAppendage({MakeFrame(0, {{0, 0}, {2, 0}}), MakeFrame(3, {{0, 0}, {2, 0}})}));
        EXPECT_FALSE(read.DeleteAppendage(5));
        h.TakeModel(std::move(read));
        Hullform& same = h;
        h.TakeModel(std::move(same));  // itself: nothing changes
    }
    EXPECT_EQ(LinesSince(h, before),
              std::vector<std::string>{"ERROR: Tried deleting appendage[5] but found out of bounds"});
    const auto file = fixtures::ReadLines(dir_.File("Korvelo.log"));
    ASSERT_EQ(file.size(), fileBefore + 1);
    EXPECT_EQ(file.back(), "ERROR: Tried deleting appendage[5] but found out of bounds");
    EXPECT_EQ(h.name, "Read");
    EXPECT_EQ(h.waterDensity, 1.2);
    EXPECT_EQ(h.ap, 1);
    EXPECT_EQ(h.fp, 9);
    ASSERT_EQ(h.appendages.size(), 1u);
    EXPECT_EQ(h.appendages[0].frames.size(), 2u);
    EXPECT_EQ(h.fwdMarkY, 10);
    EXPECT_EQ(h.midMarkY, 4);
    EXPECT_EQ(h.aftMarkY, -1);
    EXPECT_EQ(h.coreVersion, "Core Version: 2.1");
    EXPECT_TRUE(h.log.IsUsable());
}
