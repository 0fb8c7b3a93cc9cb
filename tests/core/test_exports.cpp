// CRD, OBJ and FreeShip exports of one appendage.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ForeignFixtures.h"
#include "HullFixtures.h"
#include "support/TestSupport.h"
#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/Hullform.h"
#include "core/Section.h"

namespace {

using fixtures::MakeFrame;
using fixtures::ReadLines;
using foreign::DataPath;
using foreign::ReadBytes;

// F1 and F2 as three-offset frames, an empty frame between them, a two-offset frame
// after them, and offsets on both sides of the centreline, -0 included.
core::Appendage SmallKeel() {
    core::Appendage a;
    a.name = "Keel";
    a.frames.push_back(MakeFrame(0, {{0, 0}, {0.5, -0.25}, {-0.5, -0.25}}, "F1"));
    a.frames.push_back(MakeFrame(0.5, {}, "Empty"));
    a.frames.push_back(MakeFrame(1, {{-0.0, 0}, {1.23456789, -1}, {-0.001, -1.5}}, "F2"));
    a.frames.push_back(MakeFrame(2, {{0, 0}, {0.125, 1000000}}, "Two points"));
    return a;
}

class ExportTest : public foreign::ForeignFileTest {
protected:
    core::ErrorLog& log = hull.log;
};

TEST_F(ExportTest, EachWriterMatchesItsGoldenFileByteForByte) {
    const core::Appendage keel = SmallKeel();
    core::Appendage crdBody;
    crdBody.frames.push_back(MakeFrame(7, {{0, 0}, {1.5, 0.25}, {2, 1}}));
    struct Case {
        const char* golden;
        bool written;
    };
    const Case cases[] = {
        {"frame.crd", crdBody.ExportFrameToCrd(File("frame.crd"), 0, &log)},
        {"keel.obj", keel.ExportObj(File("keel.obj"), &log)},
        {"keel-freeship.txt", keel.ExportFreeShipText(File("keel-freeship.txt"), &log)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        EXPECT_TRUE(c.written);
        const std::string golden = ReadBytes(DataPath(c.golden));
        ASSERT_FALSE(golden.empty()) << "golden file missing";
        EXPECT_EQ(ReadBytes(File(c.golden)), golden);
    }
    EXPECT_TRUE(NewLog().empty());
}

TEST_F(ExportTest, CrdFileOfTheExampleFrame) {
    core::Appendage a;
    a.frames.push_back(MakeFrame(3, {{0, 0}, {1.5, 0.25}, {2, 1}}));
    ASSERT_TRUE(a.ExportFrameToCrd(File("f.crd"), 0));
    EXPECT_EQ(ReadLines(File("f.crd")), (std::vector<std::string>{"3", "0 0", "1.5 0.25", "2 1"}));
}

TEST_F(ExportTest, CrdOfAFrameThatDoesNotExistWritesNothing) {
    core::Appendage a = SmallKeel();
    const std::string path = File("none.crd");
    EXPECT_FALSE(a.ExportFrameToCrd(path, 4));
    EXPECT_TRUE(NewLog().empty());
    EXPECT_FALSE(a.ExportFrameToCrd(path, 4, &log));
    const std::vector<std::string> lines = NewLog();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "ERROR: Failure exporting CRD file to " + path + ". Frame [4] of appendage Keel does not exist");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ExportTest, ObjOfTheExampleKeel) {
    core::Appendage a;
    a.name = "Keel";
    a.frames.push_back(MakeFrame(0, {{0, 0}, {1, 0}, {1, 1}}, "F1"));
    a.frames.push_back(MakeFrame(1, {{0, 0}, {1, 0}, {1, 1}}, "F2"));
    ASSERT_TRUE(a.ExportObj(File("k.obj")));
    const std::vector<std::string> expected = {
        "#Keel - generated in Korvelo", "#korvelo.org", "g Keel", "v 0 0  0", "v 1 0  0", "v 1 0  1", "", "",
        "v 0 1  0", "v 1 1  0", "v 1 1  1", "", "", "g Keel F1", "f 1 2 3 ", "g Keel F2", "f 4 5 6 "};
    EXPECT_EQ(ReadLines(File("k.obj")), expected);
}

TEST_F(ExportTest, EmptyAppendageGivesHeadersOnly) {
    core::Appendage a;
    a.name = "Nothing";
    ASSERT_TRUE(a.ExportObj(File("e.obj")));
    EXPECT_EQ(ReadLines(File("e.obj")),
              (std::vector<std::string>{"#Nothing - generated in Korvelo", "#korvelo.org", "g Nothing"}));
    ASSERT_TRUE(a.ExportFreeShipText(File("e.txt")));
    EXPECT_EQ(ReadBytes(File("e.txt")), "0\r\nEOF\r\n");
}

TEST_F(ExportTest, FreeShipKeepsNegativeZeroAndDropsPortOffsets) {
    core::Appendage a;
    a.frames.push_back(MakeFrame(4, {{-0.0, 1}, {-0.001, 2}, {0.5, 3}}));
    ASSERT_TRUE(a.ExportFreeShipText(File("f.txt")));
    EXPECT_EQ(ReadLines(File("f.txt")), (std::vector<std::string>{"0", "4   -0   1", "4   0.5   3", "", "EOF"}));
}

TEST_F(ExportTest, WritersThatCannotWriteLogOneLineAndLeaveNoFile) {
    const core::Appendage keel = SmallKeel();
    const std::string folder = File("folder");
    std::filesystem::create_directory(folder);
    const std::string missing = File("no/such/folder/out");
    struct Case {
        const char* kind;
        core::Result (*write)(const core::Appendage&, const std::string&, core::ErrorLog*);
    };
    const Case cases[] = {
        {"CRD", [](const core::Appendage& a, const std::string& p, core::ErrorLog* l) { return a.ExportFrameToCrd(p, 0, l); }},
        {"OBJ", [](const core::Appendage& a, const std::string& p, core::ErrorLog* l) { return a.ExportObj(p, l); }},
        {"FreeShip",
         [](const core::Appendage& a, const std::string& p, core::ErrorLog* l) { return a.ExportFreeShipText(p, l); }},
    };
    for (const Case& c : cases) {
        for (const std::string& path : {folder, missing}) {
            SCOPED_TRACE(std::string(c.kind) + " " + path);
            mark = log.Lines().size();
            EXPECT_FALSE(c.write(keel, path, &log));
            const std::vector<std::string> lines = NewLog();
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].rfind("ERROR: Failure exporting " + std::string(c.kind) + " file to " + path + ". ", 0), 0u)
                << lines[0];
            EXPECT_FALSE(c.write(keel, path, nullptr));
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_FALSE(std::filesystem::exists(File("no")));
    // Nothing but the folder is left behind: no temporary files.
    std::size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(t.dir.path()))
        if (e.path().filename() != "Korvelo.log") ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(ExportTest, ExportReplacesAnOldFileWhole) {
    const std::string path = File("old.obj");
    foreign::WriteBytes(path, std::string(10000, 'x'));
    ASSERT_TRUE(SmallKeel().ExportObj(path));
    EXPECT_EQ(ReadBytes(path), ReadBytes(DataPath("keel.obj")));
}

// The OBJ file read by the assimp command-line tool, without post-processing: one
// polygon per frame of three or more offsets, with that frame's vertices.
TEST_F(ExportTest, ObjIsAcceptedByARealReader) {
    REQUIRE_TOOL("assimp", "assimp-utils");
    struct Case {
        const char* what;
        core::Appendage body;
    };
    core::Appendage box = fixtures::MakeBoxAppendage(10, 2, 1.5, 6, 0, 0, "Box body");
    core::Appendage keel = SmallKeel();
    for (const Case& c : {Case{"keel with an empty and a two-point frame", keel}, Case{"box", box}}) {
        SCOPED_TRACE(c.what);
        unsigned faces = 0, vertices = 0;
        for (const core::Section& s : c.body.frames) {
            if (s.X.size() < 3) continue;
            ++faces;
            vertices += static_cast<unsigned>(s.X.size());
        }
        const std::string obj = File("check.obj");
        ASSERT_TRUE(c.body.ExportObj(obj));
        const std::string report = File("assimp.txt");
        const int rc = std::system(("assimp info '" + obj + "' -r > '" + report + "' 2>&1").c_str());
        const std::string text = ReadBytes(report);
        ASSERT_EQ(rc, 0) << text;
        EXPECT_NE(text.find("Faces:              " + std::to_string(faces) + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Vertices:           " + std::to_string(vertices) + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Meshes:             " + std::to_string(faces) + "\n"), std::string::npos) << text;
    }
}

}  // namespace

namespace {

// Every writer refuses a file its owner may not write (mode 0444), also when run as
// root: false, one ERROR line, the old file and its mode untouched.
TEST_F(ExportTest, EveryWriterRefusesAReadOnlyFileAndKeepsIt) {
    hull.appendages.push_back(SmallKeel());
    struct Case {
        const char* name;
        const char* prefix;  // the ERROR line begins so, followed by the path
        std::function<bool(core::Hullform&, const std::string&)> write;
    };
    const Case cases[] = {
        {"hull.hll", "ERROR: Failure saving Hullform to ",
         [](core::Hullform& h, const std::string& p) { return h.SaveHullFile(p); }},
        {"keel.app", "ERROR: Failure saving Appendage file ",
         [](core::Hullform& h, const std::string& p) { return h.appendages[0].SaveAppFile(p, &h.log); }},
        {"hull.gf", "ERROR: Failure exporting GF file to ",
         [](core::Hullform& h, const std::string& p) { return h.ExportGfFile(p); }},
        {"keel.obj", "ERROR: Failure exporting OBJ file to ",
         [](core::Hullform& h, const std::string& p) { return h.appendages[0].ExportObj(p, &h.log); }},
        {"keel.crd", "ERROR: Failure exporting CRD file to ",
         [](core::Hullform& h, const std::string& p) { return h.appendages[0].ExportFrameToCrd(p, 0, &h.log); }},
        {"keel.txt", "ERROR: Failure exporting FreeShip file to ",
         [](core::Hullform& h, const std::string& p) { return h.appendages[0].ExportFreeShipText(p, &h.log); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, "old contents");
        std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
        mark = log.Lines().size();
        EXPECT_FALSE(c.write(hull, path));
        const std::vector<std::string> lines = NewLog();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind(c.prefix + path + ". ", 0), 0u) << lines[0];
        EXPECT_EQ(ReadBytes(path), "old contents");
        EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                      std::filesystem::perms::others_read);
    }
}

}  // namespace
