#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "FileFixtures.h"
#include "HullFixtures.h"
#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/Hullform.h"
#include "core/ModelText.h"
#include "core/ProductInfo.h"

using core::Appendage;
using core::Hullform;
using core::Section;
using fixtures::Joined;
using fixtures::LinesSince;
using fixtures::MakeFrame;
using fixtures::Offsets;
using fixtures::OffsetsOf;
using fixtures::ReadBytes;
using fixtures::ScopedTempDir;
using fixtures::WriteBytes;

namespace {

const std::string kStars(63, '*');
const std::string kEmptyBanner = "**" + std::string(59, ' ') + "**";

std::string Padded(const std::string& content) {
    return "**" + content + std::string(59 - content.size(), ' ') + "**";
}

std::vector<std::string> Banner() {
    return {kStars,
            kEmptyBanner,
            Padded("     Spindrel"),
            Padded("     Version 1.0.1"),
            Padded(std::string("     ") + core::kProductAuthor),
            "**     Please visit the website for updates and new versions **",
            kEmptyBanner,
            Padded(std::string(17, ' ') + core::kProductWebAddress),
            kEmptyBanner,
            kStars};
}

// The body of the Keel example, after the banner.
const std::vector<std::string> kKeelBody = {
    "APPENDAGE_NAME", "Keel", "AP", "0", "FP", "10", "DENSITY", "1.025", "NUMBER_OF_FRAMES", "1",
    "***START_OF_FRAME_INFORMATION***", "FRAME_INDEX: 0", "FRAME_NAME", "F1", "FRAME_Y", "2.5",
    "NUMBER_OF_COORDINATES", "2", "***START_OF_ORDINATES***", "0", "0", "0.5", "-0.25",
    "***END_OF_ORDINATES***", "***END_OF_FILE***",
};

std::vector<std::string> KeelLines() {
    std::vector<std::string> lines = Banner();
    lines.insert(lines.end(), kKeelBody.begin(), kKeelBody.end());
    return lines;
}

Appendage Keel() {
    Appendage a;
    a.name = "Keel";
    a.ap = 0;
    a.fp = 10;
    a.density = 1.025;
    a.InsertSection(MakeFrame(2.5, {{0, 0}, {0.5, -0.25}}, "F1"));
    return a;
}

// Every value the file holds, plus the frames' extents rebuilt from the offsets.
void ExpectSameContents(const Appendage& a, const Appendage& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_SAME_DOUBLE(a.ap, b.ap);
    EXPECT_SAME_DOUBLE(a.fp, b.fp);
    EXPECT_SAME_DOUBLE(a.density, b.density);
    ASSERT_EQ(a.frames.size(), b.frames.size());
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const Section& s = a.frames[i];
        const Section& t = b.frames[i];
        EXPECT_EQ(s.name, t.name);
        EXPECT_SAME_DOUBLE(s.Y, t.Y);
        ASSERT_EQ(s.X.size(), t.X.size());
        ASSERT_EQ(s.Z.size(), t.Z.size());
        for (std::size_t k = 0; k < s.X.size(); ++k) {
            EXPECT_SAME_DOUBLE(s.X[k], t.X[k]);
            EXPECT_SAME_DOUBLE(s.Z[k], t.Z[k]);
        }
        EXPECT_SAME_DOUBLE(s.maxX, t.maxX);
        EXPECT_SAME_DOUBLE(s.minX, t.minX);
        EXPECT_SAME_DOUBLE(s.maxZ, t.maxZ);
        EXPECT_SAME_DOUBLE(s.minZ, t.minZ);
    }
}

class AppFileTest : public ::testing::Test {
protected:
    ScopedTempDir dir_;
};

}  // namespace

TEST_F(AppFileTest, KeelIsWrittenAsTheBannerAndIts25Lines) {
    const std::string path = dir_.File("keel.app");
    ASSERT_TRUE(Keel().SaveAppFile(path));
    EXPECT_EQ(ReadBytes(path), Joined(KeelLines()));
}

TEST_F(AppFileTest, BannerLinesAreExactly63Characters) {
    const std::string path = dir_.File("keel.app");
    ASSERT_TRUE(Keel().SaveAppFile(path));
    const std::vector<std::string> lines = fixtures::ReadLines(path);
    ASSERT_GE(lines.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(lines[i].size(), 63u) << "line " << i + 1;
        EXPECT_EQ(lines[i].substr(0, 2), "**");
        EXPECT_EQ(lines[i].substr(61), "**");
    }
    EXPECT_NE(lines[4].find(core::kProductAuthor), std::string::npos);
    EXPECT_NE(lines[7].find(core::kProductWebAddress), std::string::npos);
    EXPECT_EQ(lines[7].find(core::kProductWebAddress), 19u);
}

TEST_F(AppFileTest, LineCountIs22Plus9PerFramePlus2PerOffset) {
    struct Case {
        unsigned frames;
        unsigned offsetsPerFrame;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{3, 2}, Case{7, 11}}) {
        Appendage a;
        for (unsigned f = 0; f < c.frames; ++f) {
            Section s = MakeFrame(f, {});
            for (unsigned k = 0; k < c.offsetsPerFrame; ++k) s.AddOffset(k, -1.0 * k);
            a.InsertSection(s);
        }
        const std::string path = dir_.File("count.app");
        ASSERT_TRUE(a.SaveAppFile(path));
        EXPECT_EQ(fixtures::ReadLines(path).size(), 22 + 9 * c.frames + 2 * c.frames * c.offsetsPerFrame);
    }
}

TEST_F(AppFileTest, ImportReadsBackWhatWasSaved) {
    const double awkward[] = {1234567, 1e-7, -0.0, 0.1 + 0.2, 1.0 / 3, -M_PI, 12.3456789, 1e300,
                              std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()};
    struct Case {
        const char* what;
        std::function<Appendage()> build;
    };
    const std::vector<Case> cases = {
        {"keel", [] { return Keel(); }},
        {"no frames",
         [] {
             Appendage a;
             a.name = "Empty";
             a.density = 7.85;
             return a;
         }},
        {"awkward numbers",
         [&] {
             Appendage a;
             a.name = "Awkward";
             a.ap = 1234567;
             a.fp = 0.1 + 0.2;
             a.density = -0.0;
             double y = -1;
             for (double v : awkward) {
                 Section s = MakeFrame(y, {}, "F");
                 for (double w : awkward) s.AddOffset(w, v);
                 a.InsertSection(s);
                 y = std::nextafter(y, 2.0);
             }
             return a;
         }},
        {"names with blanks, < and &",
         [] {
             Appendage a;
             a.name = "  My <APPENDAGE> & fin  ";
             a.InsertSection(MakeFrame(0, {{1, 1}}, "FRAME_NAME"));
             a.InsertSection(MakeFrame(1, {{1, 1}}, ""));
             a.InsertSection(MakeFrame(2, {{1, 1}}, "***END_OF_FILE***"));
             a.InsertSection(MakeFrame(3, {{1, 1}}, " a\tb < & > \xe9"));
             return a;
         }},
        {"frame without offsets in the middle",
         [] {
             Appendage a;
             a.InsertSection(MakeFrame(0, {{0, 0}, {1, 1}}, "A"));
             a.InsertSection(MakeFrame(1, {}, "B"));
             a.InsertSection(MakeFrame(2, {{2, 2}}, "C"));
             return a;
         }},
        {"many frames, neighbours at the same Y",
         [] {
             Appendage a;
             std::mt19937 rng(3);
             std::uniform_real_distribution<double> d(-20, 20);
             for (int f = 0; f < 300; ++f) {
                 Section s = MakeFrame(f / 3, {}, "Frame " + std::to_string(f));
                 for (int k = 0; k < f % 17; ++k) s.AddOffset(d(rng), d(rng));
                 a.InsertSection(s);
             }
             return a;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Appendage saved = c.build();
        const std::string path = dir_.File("round.app");
        ASSERT_TRUE(saved.SaveAppFile(path));
        Hullform h(dir_.File("Korvelo.log"));
        h.AddAppendage("First");
        const std::size_t before = h.log.Lines().size();
        ASSERT_TRUE(h.ImportAppFile(path));
        EXPECT_TRUE(LinesSince(h, before).empty());  // no NOTE, no summary
        ASSERT_EQ(h.appendages.size(), 2u);
        const Appendage& back = h.appendages[1];
        ExpectSameContents(back, saved);
        EXPECT_EQ(back.colour, 0u);
        EXPECT_TRUE(back.active);
        EXPECT_FALSE(back.freeFlooding);
        // And its own file again, byte for byte.
        const std::string again = dir_.File("again.app");
        ASSERT_TRUE(back.SaveAppFile(again));
        EXPECT_EQ(ReadBytes(again), ReadBytes(path));
    }
}

// A value that is not finite, set straight into the model, is never written: the file
// could not be read back.
TEST_F(AppFileTest, NonFiniteNumbersAreNotSaved) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::function<void(Appendage&)> spoil;
        std::string reason;
    };
    const Case cases[] = {
        {"AP", [&](Appendage& a) { a.ap = inf; }, "The value of AP is not a finite number of appendage \"Keel\""},
        {"FP", [&](Appendage& a) { a.fp = -inf; }, "The value of FP is not a finite number of appendage \"Keel\""},
        {"density", [&](Appendage& a) { a.density = std::nan(""); },
         "The value of DENSITY is not a finite number of appendage \"Keel\""},
        {"Y", [&](Appendage& a) { a.frames[0].Y = std::nan(""); },
         "The Y of section \"F1\" of appendage \"Keel\" is not a finite number"},
        {"X", [&](Appendage& a) { a.frames[0].X[1] = inf; },
         "Offset 2 of section \"F1\" of appendage \"Keel\" is not a finite number"},
        {"Z", [&](Appendage& a) { a.frames[0].Z[0] = std::nan(""); },
         "Offset 1 of section \"F1\" of appendage \"Keel\" is not a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Appendage a = Keel();
        c.spoil(a);
        Hullform h(dir_.File("Korvelo.log"));
        const std::string path = dir_.File("inf.app");
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(a.SaveAppFile(path, &h.log));
        EXPECT_EQ(LinesSince(h, before),
                  std::vector<std::string>{"ERROR: Failure saving Appendage file " + path + ". " + c.reason});
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST_F(AppFileTest, LineBreaksInNamesBecomeBlanks) {
    Appendage a;
    a.name = "two\r\nlines";
    a.InsertSection(MakeFrame(0, {{1, 2}}, "a\nb"));
    a.InsertSection(MakeFrame(1, {{3, 4}}, "next"));
    const std::string path = dir_.File("breaks.app");
    ASSERT_TRUE(a.SaveAppFile(path));
    Appendage back;
    ASSERT_TRUE(back.LoadAppFile(path));
    EXPECT_EQ(back.name, "two  lines");
    ASSERT_EQ(back.frames.size(), 2u);
    EXPECT_EQ(back.frames[0].name, "a b");
    EXPECT_EQ(OffsetsOf(back.frames[1]), (Offsets{{3, 4}}));
}

// A carriage return alone inside a name's line reads as the blank the save would write,
// so the name saves and loads again the same.
TEST_F(AppFileTest, CarriageReturnInsideANameLineIsABlank) {
    const std::string path = dir_.File("cr.app");
    ASSERT_TRUE(Keel().SaveAppFile(path));
    std::string text = ReadBytes(path);
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"\r\nKeel\r\n", "\r\nKe\rel\r\n"},
                                   {"\r\nF1\r\n", "\r\nF\r1\r\n"}}) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }
    WriteBytes(path, text);
    Appendage a;
    ASSERT_TRUE(a.LoadAppFile(path));
    EXPECT_EQ(a.name, "Ke el");
    EXPECT_EQ(a.frames.at(0).name, "F 1");
    const std::string again = dir_.File("again.app");
    ASSERT_TRUE(a.SaveAppFile(again));
    Appendage back;
    ASSERT_TRUE(back.LoadAppFile(again));
    ExpectSameContents(back, a);
}

TEST_F(AppFileTest, LoadKeepsColourAndFlagsAndReplacesTheRest) {
    const std::string path = dir_.File("keel.app");
    ASSERT_TRUE(Keel().SaveAppFile(path));
    Appendage a;
    a.name = "Old";
    a.colour = 0x123456;
    a.active = false;
    a.freeFlooding = true;
    a.InsertSection(MakeFrame(-5, {{9, 9}}, "old frame"));
    ASSERT_TRUE(a.LoadAppFile(path));
    ExpectSameContents(a, Keel());
    EXPECT_EQ(a.colour, 0x123456u);
    EXPECT_FALSE(a.active);
    EXPECT_TRUE(a.freeFlooding);
}

TEST_F(AppFileTest, LineFeedsAloneReadTheSame) {
    const std::string path = dir_.File("lf.app");
    WriteBytes(path, Joined(KeelLines(), "\n"));
    Hullform h(dir_.File("Korvelo.log"));
    ASSERT_TRUE(h.ImportAppFile(path));
    ASSERT_EQ(h.appendages.size(), 1u);
    ExpectSameContents(h.appendages[0], Keel());
}

namespace {

// A file of frames written by hand: (name, Y, offsets) in file order.
struct HandFrame {
    std::string name;
    std::string y;
    Offsets offsets;
};

std::string HandFile(const std::vector<HandFrame>& frames, unsigned announced, const char* name = "Hand") {
    std::vector<std::string> lines = Banner();
    for (const char* l : {"APPENDAGE_NAME", name, "AP", "1", "FP", "2", "DENSITY", "3", "NUMBER_OF_FRAMES"})
        lines.push_back(l);
    lines.push_back(std::to_string(announced));
    lines.push_back("***START_OF_FRAME_INFORMATION***");
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const HandFrame& f = frames[i];
        lines.push_back("FRAME_INDEX: " + std::to_string(i));
        lines.push_back("FRAME_NAME");
        lines.push_back(f.name);
        lines.push_back("FRAME_Y");
        lines.push_back(f.y);
        lines.push_back("NUMBER_OF_COORDINATES");
        lines.push_back(std::to_string(f.offsets.size()));
        lines.push_back("***START_OF_ORDINATES***");
        for (const auto& [x, z] : f.offsets) {
            lines.push_back(core::ModelNumber(x));
            lines.push_back(core::ModelNumber(z));
        }
        lines.push_back("***END_OF_ORDINATES***");
    }
    lines.push_back("***END_OF_FILE***");
    return Joined(lines);
}

}  // namespace

TEST_F(AppFileTest, FramesComeOutInAscendingY) {
    const std::string path = dir_.File("desc.app");
    WriteBytes(path, HandFile({{"C", "3", {{3, 3}}}, {"B", "2", {{2, 2}, {2, 3}}}, {"A", "1", {}}}, 3));
    Hullform h(dir_.File("Korvelo.log"));
    ASSERT_TRUE(h.ImportAppFile(path));
    const auto& frames = h.appendages.at(0).frames;
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].name, "A");
    EXPECT_EQ(OffsetsOf(frames[0]), Offsets{});
    EXPECT_EQ(frames[1].name, "B");
    EXPECT_EQ(OffsetsOf(frames[1]), (Offsets{{2, 2}, {2, 3}}));
    EXPECT_EQ(frames[2].name, "C");
    EXPECT_EQ(OffsetsOf(frames[2]), (Offsets{{3, 3}}));
    EXPECT_EQ(h.appendages[0].ap, 1);
    EXPECT_EQ(h.appendages[0].fp, 2);
    EXPECT_EQ(h.appendages[0].density, 3);
}

TEST_F(AppFileTest, FrameThatCannotBePlacedIsDroppedWithAWarning) {
    const std::string path = dir_.File("repeat.app");
    WriteBytes(path, HandFile({{"A", "1", {{1, 0}}}, {"B", "3", {{3, 0}}}, {"C", "1", {{9, 9}, {8, 8}}}}, 3));
    Hullform h(dir_.File("Korvelo.log"));
    const std::size_t before = h.log.Lines().size();
    ASSERT_TRUE(h.ImportAppFile(path));
    const auto& frames = h.appendages.at(0).frames;
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(OffsetsOf(frames[0]), (Offsets{{1, 0}}));
    EXPECT_EQ(OffsetsOf(frames[1]), (Offsets{{3, 0}}));
    EXPECT_EQ(LinesSince(h, before),
              std::vector<std::string>{
                  "WARNING: Dropped frame \"C\" of appendage \"Hand\": Y=1 repeats the Y of an earlier frame"});
}

TEST_F(AppFileTest, BadFilesAreRefusedWithOneLineAndAddNothing) {
    struct Case {
        const char* what;
        std::string text;
        std::string reason;  // after "ERROR: Failed importing Appendage file <path>. "
    };
    const std::string keel = Joined(KeelLines());
    auto cutAfter = [&](const std::string& marker) {
        const std::size_t at = keel.find(marker);
        EXPECT_NE(at, std::string::npos) << marker;
        return keel.substr(0, at + marker.size());
    };
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = keel;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131 + 7) % 256));
    std::string moved = edited(core::kProductWebAddress, "example.invalid");
    moved.replace(moved.find("Spindrel"), 8, core::kProductWebAddress);
    const std::string notOurs = "Not a version-1 appendage file: line 8 does not hold korvelo.org";
    const std::vector<Case> cases = {
        {"empty", "", "Not a version-1 appendage file: it ends within the banner"},
        {"binary", binary, notOurs},
        {"a hull file", " <?xml version=\"1.0\" ?> \r\n<HULL>\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", notOurs},
        {"eighth line without the address", edited(core::kProductWebAddress, "example.invalid"), notOurs},
        {"address on another line", moved, notOurs},
        {"cut in the banner", cutAfter("Version"), "Not a version-1 appendage file: it ends within the banner"},
        {"cut after the banner", Joined(Banner()), "Expected APPENDAGE_NAME but found the end of the file"},
        {"cut before the name", cutAfter("APPENDAGE_NAME\r\n"),
         "File ends where the name after APPENDAGE_NAME should be"},
        {"cut after the name", cutAfter("Keel\r\n"), "Expected AP but found the end of the file"},
        {"keyword missing", edited("FP\r\n", ""), "Expected FP but found \"10\""},
        {"keyword misspelt", edited("DENSITY", "Density"), "Expected DENSITY but found \"Density\""},
        {"number missing", edited("1.025", "heavy"), "Expected a number after DENSITY but found \"heavy\""},
        {"number overflows", edited("1.025", "1e999"), "Expected a number after DENSITY but found \"1e999\""},
        {"negative frame count", edited("NUMBER_OF_FRAMES\r\n1", "NUMBER_OF_FRAMES\r\n-1"),
         "Expected a count after NUMBER_OF_FRAMES but found \"-1\""},
        {"more frames announced than held", edited("NUMBER_OF_FRAMES\r\n1", "NUMBER_OF_FRAMES\r\n3"),
         "Expected FRAME_NAME but found the end of the file in frame 1"},
        {"huge frame count", edited("NUMBER_OF_FRAMES\r\n1", "NUMBER_OF_FRAMES\r\n4294967295"),
         "Expected FRAME_NAME but found the end of the file in frame 1"},
        {"frame count beyond 32 bits", edited("NUMBER_OF_FRAMES\r\n1", "NUMBER_OF_FRAMES\r\n4294967296"),
         "Expected a count after NUMBER_OF_FRAMES but found \"4294967296\""},
        {"Y not a number", edited("2.5", "aft"), "Expected a number after FRAME_Y but found \"aft\" in frame 0"},
        {"more offsets announced than held", edited("COORDINATES\r\n2", "COORDINATES\r\n3"),
         "Expected offset 3 of 3 but found \"***END_OF_ORDINATES***\" in frame 0"},
        {"huge offset count", edited("COORDINATES\r\n2", "COORDINATES\r\n4294967295"),
         "Expected offset 3 of 4294967295 but found \"***END_OF_ORDINATES***\" in frame 0"},
        {"fewer offsets announced than held", edited("COORDINATES\r\n2", "COORDINATES\r\n1"),
         "Expected ***END_OF_ORDINATES*** after 1 offsets, as NUMBER_OF_COORDINATES says, but found \"0.5\" in "
         "frame 0"},
        {"name that ends a name in the hull file", edited("F1", "F1 </SECTION_NAME> </SECTION>"),
         "The name \"F1 </SECTION_NAME> </SECTION>\" holds the word </SECTION_NAME>, which ends a name in the hull "
         "file in frame 0"},
        {"appendage name that ends a name", edited("Keel", "B </APPENDAGE_NAME>"),
         "The name \"B </APPENDAGE_NAME>\" holds the word </APPENDAGE_NAME>, which ends a name in the hull file"},
        {"offset not a number", edited("-0.25", "deep"), "Expected offset 2 of 2 but found \"deep\" in frame 0"},
        {"cut inside the offsets", cutAfter("0.5\r\n-0.2"), "Expected ***END_OF_FILE*** but found the end of the file"},
        {"cut before the end marker", cutAfter("***END_OF_ORDINATES***\r\n"),
         "Expected ***END_OF_FILE*** but found the end of the file"},
        {"binary after the banner", Joined(Banner()) + binary, "Expected APPENDAGE_NAME but found \"?\x8a\""},
        // Numbers that are not finite are no values of the model.
        {"AP nan", edited("AP\r\n0", "AP\r\nnan"), "Expected a number after AP but found \"nan\""},
        {"FP inf", edited("FP\r\n10", "FP\r\ninf"), "Expected a number after FP but found \"inf\""},
        {"density -inf", edited("1.025", "-inf"), "Expected a number after DENSITY but found \"-inf\""},
        {"Y NaN", edited("2.5", "NaN"), "Expected a number after FRAME_Y but found \"NaN\" in frame 0"},
        {"offset X infinity", edited("0.5\r\n", "infinity\r\n"),
         "Expected offset 2 of 2 but found \"infinity\" in frame 0"},
        {"offset Z nan", edited("-0.25", "nan"), "Expected offset 2 of 2 but found \"nan\" in frame 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Hullform h(dir_.File("Korvelo.log"));
        h.AddAppendage("Only");
        const std::string path = dir_.File("bad.app");
        WriteBytes(path, c.text);
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.ImportAppFile(path));
        EXPECT_EQ(h.appendages.size(), 1u);
        EXPECT_EQ(LinesSince(h, before),
                  std::vector<std::string>{"ERROR: Failed importing Appendage file " + path + ". " + c.reason});

        // LoadAppFile alone leaves the appendage as it was.
        Appendage a = Keel();
        a.colour = 77;
        core::ReadReport report;
        EXPECT_FALSE(a.LoadAppFile(path, &report));
        EXPECT_EQ(report.error, c.reason);
        ExpectSameContents(a, Keel());
        EXPECT_EQ(a.colour, 77u);
    }
}

TEST_F(AppFileTest, FileThatCannotBeOpenedIsRefused) {
    Hullform h(dir_.File("Korvelo.log"));
    for (const std::string& path : {dir_.File("missing.app"), dir_.path().string(), std::string("/dev/zero")}) {
        const std::size_t before = h.log.Lines().size();
        EXPECT_FALSE(h.ImportAppFile(path));
        EXPECT_TRUE(h.appendages.empty());
        EXPECT_EQ(LinesSince(h, before), std::vector<std::string>{"ERROR: Failed importing Appendage file " + path +
                                                                  ". Unable to obtain file handle"});
    }
}

TEST_F(AppFileTest, FailedSaveLeavesTheOldFileAndLogsWhenGivenALog) {
    Hullform h(dir_.File("Korvelo.log"));
    const Appendage a = Keel();
    const std::string folder = dir_.File("folder.app");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(a.SaveAppFile(folder));  // no log given: nothing to write to
    std::size_t before = h.log.Lines().size();
    EXPECT_FALSE(a.SaveAppFile(folder, &h.log));
    auto lines = LinesSince(h, before);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("ERROR: Failure saving Appendage file " + folder + ". ", 0), 0u) << lines[0];
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    const std::string missing = dir_.File("nowhere/keel.app");
    before = h.log.Lines().size();
    EXPECT_FALSE(a.SaveAppFile(missing, &h.log));
    EXPECT_EQ(LinesSince(h, before).size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A successful save logs nothing.
    before = h.log.Lines().size();
    EXPECT_TRUE(a.SaveAppFile(dir_.File("fine.app"), &h.log));
    EXPECT_EQ(h.log.Lines().size(), before);
}

TEST_F(AppFileTest, MutatedFilesNeverBreakTheReader) {
    Appendage source = Keel();
    for (int f = 0; f < 6; ++f)
        source.InsertSection(MakeFrame(3 + f, {{0, -1}, {f + 0.5, 0.1 * f}, {1e-7, 1234567}}, "Frame " + std::to_string(f)));
    const std::string validPath = dir_.File("valid.app");
    ASSERT_TRUE(source.SaveAppFile(validPath));
    const std::string valid = ReadBytes(validPath);

    static const char* const words[] = {"FRAME_NAME", "FRAME_Y", "NUMBER_OF_COORDINATES", "***END_OF_FILE***",
                                        "4294967295", "-1", "1e999", "nan", "\n", "\r\n", " "};
    std::mt19937 rng(1210);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
    Hullform h(dir_.File("Korvelo.log"));
    const std::string path = dir_.File("fuzz.app");
    int imported = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(pick(3));
        for (int e = 0; e < edits; ++e) {
            // Edits after the banner, which most mutations would only make unrecognised.
            const std::size_t at = 650 + pick(text.size() - 650);
            switch (pick(4)) {
                case 0:
                    if (at < text.size()) text[at] = static_cast<char>(pick(255));
                    break;
                case 1:
                    text.erase(at, pick(30));
                    break;
                case 2:
                    text.insert(at, text.substr(650 + pick(text.size() - 650), pick(120)));
                    break;
                case 3:
                    text.insert(at, words[pick(std::size(words) - 1)]);
                    break;
                default:
                    text.resize(at);
            }
        }
        WriteBytes(path, text);
        const std::size_t appendages = h.appendages.size();
        const std::size_t lines = h.log.Lines().size();
        if (h.ImportAppFile(path)) {
            ++imported;
            ASSERT_EQ(h.appendages.size(), appendages + 1);
            const Appendage& a = h.appendages.back();
            for (std::size_t k = 0; k < a.frames.size(); ++k) {
                ASSERT_EQ(a.frames[k].X.size(), a.frames[k].Z.size());
                if (k > 0) {
                    ASSERT_FALSE(a.frames[k].Y < a.frames[k - 1].Y) << "case " << i;
                }
            }
            h.appendages.clear();
        } else {
            ASSERT_EQ(h.appendages.size(), appendages) << "case " << i;
            ASSERT_EQ(h.log.Lines().size(), lines + 1) << "case " << i;
            ASSERT_EQ(h.log.Lines().back().rfind("ERROR: Failed importing Appendage file ", 0), 0u);
        }
    }
    EXPECT_GT(imported, 100);
    EXPECT_LT(imported, 2900);
}
