#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../base/FileSizeLimit.h"
#include "HullFixtures.h"
#include "base/SystemInfo.h"
#include "core/ErrorLog.h"

using core::ErrorLog;
using fixtures::ReadLines;
using fixtures::ScopedTempDir;

namespace {

const std::string kSep(66, '-');

// Installs fixed screen and OpenGL answers for one test and removes them after.
class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        base::SetScreenSizeHook([](int& w, int& h) {
            w = 1280;
            h = 1024;
        });
        base::SetOpenGLInfoHook([] {
            return base::OpenGLStrings{"Vendor Co", "Soft Renderer", "1.1 Mesa", "GL_ARB_a GL_ARB_b", "1.3"};
        });
    }
    void TearDown() override {
        base::SetScreenSizeHook(nullptr);
        base::SetOpenGLInfoHook(nullptr);
    }
    ScopedTempDir dir_;
};

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& prefix) {
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (lines[k].rfind(prefix, 0) == 0) return k;
    return lines.size();
}

}  // namespace

TEST_F(ErrorLogTest, HeaderLinesInOrder) {
    base::SystemInfo info;
    ASSERT_TRUE(base::QuerySystemInfo(info));
    ErrorLog log(dir_.File("Korvelo.log"));
    ASSERT_TRUE(log.IsUsable());
    const auto& l = log.Lines();
    ASSERT_EQ(l.size(), 14u);
    EXPECT_EQ(l[0], kSep);
    EXPECT_EQ(l[1], "Korvelo");
    EXPECT_EQ(l[2], "Logfile initialised.");
    EXPECT_EQ(l[3].rfind("Date and Time: ", 0), 0u);
    EXPECT_GT(l[3].size(), std::string("Date and Time: ").size());
    EXPECT_EQ(l[4], kSep);
    EXPECT_EQ(l[5], "Windows System Information.");
    // An empty name would be found in any line.
    ASSERT_FALSE(info.osName.empty());
    ASSERT_FALSE(info.osRelease.empty());
    EXPECT_NE(l[6].find(info.osName), std::string::npos);
    EXPECT_NE(l[6].find(info.osRelease), std::string::npos);
    EXPECT_EQ(l[7], "Build Number: " + std::to_string(info.buildNumber & 0xFFFFu));
    EXPECT_EQ(l[8], "UserName: " + info.userName);
    EXPECT_EQ(l[9], "ComputerName: " + info.computerName);
    EXPECT_EQ(l[10].rfind("Free Memory: ", 0), 0u);
    EXPECT_EQ(l[11].rfind("Memory Usage: ", 0), 0u);
    EXPECT_EQ(l[11].find('%'), std::string::npos);
    EXPECT_EQ(l[12], "Screen Resolution = 1280 by 1024");
    EXPECT_EQ(l[13], kSep);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("Korvelo.log")));
}

TEST_F(ErrorLogTest, TheProgramsLogIsKorveloLogInTheCurrentFolder) {
    const fixtures::ScopedCurrentDir here(dir_.path());
    {
        ErrorLog log;
        EXPECT_EQ(log.FilePath(), "Korvelo.log");
        EXPECT_EQ(log.Log("NOTE: here"), 1);
    }
    const auto file = ReadLines(dir_.File("Korvelo.log"));
    EXPECT_NE(IndexOf(file, "NOTE: here"), file.size());
}

TEST_F(ErrorLogTest, FileMatchesListLineByLineWhileOpen) {
    ErrorLog log(dir_.File("run.log"));
    EXPECT_EQ(log.Log("ERROR: something"), 1);
    EXPECT_EQ(log.Log(""), 1);
    EXPECT_EQ(log.Log(std::string("NOTE: done")), 1);
    // Read back before the log is closed: every line is already in the file.
    const auto file = ReadLines(dir_.File("run.log"));
    const auto& list = log.Lines();
    ASSERT_EQ(file.size(), list.size());
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (list[k].rfind("Memory Usage: ", 0) == 0)
            EXPECT_EQ(file[k], list[k] + " %");
        else
            EXPECT_EQ(file[k], list[k]) << k;
    }
    EXPECT_EQ(list[list.size() - 2], "");
    EXPECT_EQ(list.back(), "NOTE: done");
}

TEST_F(ErrorLogTest, FileIsTruncatedAndClosedWithClosingBlock) {
    const std::string path = dir_.File("Korvelo.log");
    {
        std::ofstream old(path);
        old << "line from an earlier run\n";
    }
    std::size_t listSize = 0;
    {
        ErrorLog log(path);
        log.Log("last words");
        listSize = log.Lines().size();
    }
    const auto file = ReadLines(path);
    ASSERT_EQ(file.size(), listSize + 4);
    EXPECT_EQ(file[0], kSep);
    EXPECT_EQ(IndexOf(file, "line from an earlier run"), file.size());
    EXPECT_EQ(file[listSize - 1], "last words");
    EXPECT_EQ(file[listSize], kSep);
    EXPECT_EQ(file[listSize + 1], "Destructor called, Application shutting down.");
    EXPECT_EQ(file[listSize + 2].rfind("Date and Time: ", 0), 0u);
    EXPECT_EQ(file[listSize + 3], kSep);
}

// A full disk (here a file size limit) ends the file's lines: that is said once, in the
// lines and to the program, and every line is still kept in memory.
TEST_F(ErrorLogTest, FileThatStopsTakingLinesIsReportedOnceAndLinesKept) {
    ErrorLog log(dir_.File("small.log"));
    ASSERT_TRUE(log.IsUsable());
    std::vector<std::string> notices;
    log.OnWriteFailed = [&](const std::string& n) { notices.push_back(n); };
    const std::size_t before = log.Lines().size();
    {
        FileSizeLimit limit(std::filesystem::file_size(dir_.File("small.log")) + 100);
        ASSERT_TRUE(limit.Active());
        for (int i = 0; i < 20; ++i) log.Log("line " + std::to_string(i) + std::string(40, '.'));
    }
    EXPECT_FALSE(log.IsUsable());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("File too large"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find(dir_.File("small.log")), std::string::npos) << notices[0];
    EXPECT_EQ(log.WriteError(), "File too large");
    int said = 0, kept = 0;
    for (std::size_t k = before; k < log.Lines().size(); ++k) {
        said += log.Lines()[k] == notices[0];
        kept += log.Lines()[k].rfind("line ", 0) == 0;
    }
    EXPECT_EQ(said, 1);
    EXPECT_EQ(kept, 20);
    log.Log("later");
    EXPECT_EQ(log.Lines().back(), "later");
    EXPECT_EQ(notices.size(), 1u);
}

// A log that passes its lines on writes them into the other log's file and list, in turn
// with that log's own, adds no header or closing block, and reports through that log.
TEST_F(ErrorLogTest, ALogIntoAnotherWritesThroughIt) {
    const std::string path = dir_.File("run.log");
    std::vector<std::string> notices;
    std::vector<std::string> own;
    std::size_t before = 0;
    {
        ErrorLog log(path);
        log.OnWriteFailed = [&](const std::string& n) { notices.push_back(n); };
        before = log.Lines().size();
        {
            ErrorLog into(ErrorLog::Into{log});
            EXPECT_EQ(into.FilePath(), path);
            EXPECT_TRUE(into.IsUsable());
            log.Log("NOTE: one");
            EXPECT_EQ(into.Log("ERROR: two"), 1);
            log.Log("NOTE: three");
            EXPECT_TRUE(into.WriteSeparator());
            own = into.Lines();
        }
        EXPECT_EQ(std::vector<std::string>(log.Lines().begin() + std::ptrdiff_t(before), log.Lines().end()),
                  (std::vector<std::string>{"NOTE: one", "ERROR: two", "NOTE: three", kSep}));
        log.Log("NOTE: after");
        const auto file = ReadLines(path);
        ASSERT_EQ(file.size(), before + 5);
        EXPECT_EQ(file[before + 1], "ERROR: two");
        EXPECT_EQ(file[before + 3], kSep);
        EXPECT_EQ(file.back(), "NOTE: after");
    }
    EXPECT_EQ(own, (std::vector<std::string>{"ERROR: two", kSep}));
    // Closed once, by the log that owns the file.
    const auto file = ReadLines(path);
    ASSERT_EQ(file.size(), before + 9);
    EXPECT_EQ(file[before + 6], "Destructor called, Application shutting down.");
    EXPECT_TRUE(notices.empty());

    // Without a file the lines still reach the other log's list.
    ErrorLog none(dir_.File("no/such/dir/x.log"));
    ErrorLog into(ErrorLog::Into{none});
    EXPECT_FALSE(into.IsUsable());
    EXPECT_EQ(into.FilePath(), "");
    EXPECT_EQ(into.Log("ERROR: kept"), 0);
    EXPECT_EQ(none.Lines().back(), "ERROR: kept");
}

// A full disk met through a log that passes its lines on is said once, by the log that
// owns the file.
TEST_F(ErrorLogTest, ALogIntoAnotherReportsItsFailingFileThroughIt) {
    ErrorLog log(dir_.File("small.log"));
    std::vector<std::string> notices;
    log.OnWriteFailed = [&](const std::string& n) { notices.push_back(n); };
    ErrorLog into(ErrorLog::Into{log});
    {
        FileSizeLimit limit(std::filesystem::file_size(dir_.File("small.log")) + 100);
        ASSERT_TRUE(limit.Active());
        for (int i = 0; i < 20; ++i) into.Log("line " + std::to_string(i) + std::string(40, '.'));
    }
    EXPECT_FALSE(into.IsUsable());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(into.WriteError(), "File too large");
    EXPECT_EQ(log.Lines().back(), "line 19" + std::string(40, '.'));
}

TEST_F(ErrorLogTest, LinesEndWithLineFeed) {
    const std::string path = dir_.File("x.log");
    { ErrorLog log(path); }
    std::ifstream in(path, std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), '\n');
    EXPECT_EQ(all.rfind(kSep + "\n"), all.size() - kSep.size() - 1);
}

TEST_F(ErrorLogTest, FixedBlocks) {
    ErrorLog log(dir_.File("blocks.log"));
    const std::size_t start = log.Lines().size();
    EXPECT_TRUE(log.WriteSeparator());
    EXPECT_EQ(log.Lines().back(), kSep);
    EXPECT_EQ(log.Lines().back().size(), 66u);
    EXPECT_EQ(ErrorLog::Separator(), kSep);
    EXPECT_TRUE(log.WriteDateTime());
    EXPECT_EQ(log.Lines().back().rfind("Date and Time: ", 0), 0u);
    EXPECT_TRUE(log.WriteMemoryInfo());
    const auto& l = log.Lines();
    ASSERT_EQ(l.size(), start + 4);
    EXPECT_EQ(l[start + 2].rfind("Free Memory: ", 0), 0u);
    EXPECT_EQ(l[start + 2].substr(l[start + 2].size() - 3), " KB");
    EXPECT_EQ(l[start + 3].rfind("Memory Usage: ", 0), 0u);
}

TEST_F(ErrorLogTest, OpenGLBlockHasEightLines) {
    ErrorLog log(dir_.File("gl.log"));
    const std::size_t start = log.Lines().size();
    EXPECT_TRUE(log.WriteOpenGLInfo());
    const std::vector<std::string> block(log.Lines().begin() + static_cast<std::ptrdiff_t>(start),
                                         log.Lines().end());
    EXPECT_EQ(block, (std::vector<std::string>{kSep, "OpenGL & Display Driver Properties",
                                               "OpenGL vendor: Vendor Co", "OpenGL renderer: Soft Renderer",
                                               "OpenGL version: 1.1 Mesa",
                                               "OpenGL extensions: GL_ARB_a GL_ARB_b", "GLU version: 1.3", kSep}));
}

TEST_F(ErrorLogTest, OpenGLBlockWithoutContextLeavesTextsEmpty) {
    base::SetOpenGLInfoHook(nullptr);
    base::SetScreenSizeHook(nullptr);
    ErrorLog log(dir_.File("nogl.log"));
    EXPECT_NE(IndexOf(log.Lines(), "Screen Resolution = 0 by 0"), log.Lines().size());
    EXPECT_TRUE(log.WriteOpenGLInfo());
    const auto& l = log.Lines();
    ASSERT_GE(l.size(), 8u);
    EXPECT_EQ(l[l.size() - 6], "OpenGL vendor: ");
    EXPECT_EQ(l[l.size() - 2], "GLU version: ");
}

// A scratch value for an environment variable, put back when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_) ::setenv(name_, old_.c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// Without a file the lines still reach the list.
TEST_F(ErrorLogTest, UnopenableFileKeepsItsLinesInTheList) {
    ErrorLog log(dir_.File("no/such/dir/Korvelo.log"));
    EXPECT_FALSE(log.IsUsable());
    EXPECT_EQ(log.FilePath(), "");
    ASSERT_GE(log.Lines().size(), 3u);
    EXPECT_EQ(log.Lines()[1], "Korvelo");
    EXPECT_EQ(log.Log("ERROR: kept"), 0);
    EXPECT_EQ(log.Lines().back(), "ERROR: kept");
    EXPECT_EQ(log.Log(""), 0);
    EXPECT_EQ(log.Lines().back(), "");
    EXPECT_FALSE(log.WriteSeparator());
    EXPECT_FALSE(log.WriteDateTime());
    EXPECT_FALSE(log.WriteOpenGLInfo());
    EXPECT_EQ(log.Lines().back(), kSep);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("no")));
}

TEST_F(ErrorLogTest, UnopenableFileFallsBackToTheGivenPlace) {
    const std::string fallback = dir_.File("config/Korvelo/Korvelo.log");
    {
        ErrorLog log(dir_.File("no/such/dir/Korvelo.log"), fallback);
        EXPECT_TRUE(log.IsUsable());
        EXPECT_EQ(log.FilePath(), fallback);
        EXPECT_EQ(log.Log("NOTE: here"), 1);
    }
    const auto file = ReadLines(fallback);
    EXPECT_NE(IndexOf(file, "NOTE: here"), file.size());
}

// The program's log goes where the settings file goes when the current folder is
// read-only (refused by the mode bits, for root too); with neither place writable it has
// no file but keeps its lines.
TEST_F(ErrorLogTest, ReadOnlyCurrentDirectoryUsesTheUserConfigFolder) {
    fixtures::ScopedTempDir config;
    const fixtures::ScopedCurrentDir here(dir_.path());
    const ScopedEnv env("XDG_CONFIG_HOME", config.path().string());
    std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::string fallback = config.File("Korvelo/Korvelo.log");
    {
        ErrorLog log;
        EXPECT_EQ(log.FilePath(), fallback);
        EXPECT_EQ(log.Log("x"), 1);
    }
    EXPECT_EQ(ReadLines(fallback).at(1), "Korvelo");

    std::filesystem::remove(fallback);
    std::filesystem::permissions(config.File("Korvelo"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    {
        ErrorLog log;
        EXPECT_EQ(log.FilePath(), "");
        EXPECT_EQ(log.Log("ERROR: why"), 0);
        EXPECT_EQ(log.Lines().back(), "ERROR: why");
    }
    std::filesystem::permissions(config.File("Korvelo"), std::filesystem::perms::owner_all);
    std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("Korvelo.log")));
    EXPECT_FALSE(std::filesystem::exists(fallback));
}

struct VersionCase {
    unsigned platform, major, minor, build;
    const char* name;
};

class WindowsVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersion, NameFromTable) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(ErrorLog::WindowsVersionName(c.platform, c.major, c.minor, c.build), c.name)
        << c.platform << " " << c.major << "." << c.minor << " build " << c.build;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsVersion,
    ::testing::Values(VersionCase{1, 4, 0, 950, "Windows 95"}, VersionCase{1, 4, 0, 951, "Windows 95 SP1"},
                      VersionCase{1, 4, 3, 1080, "Windows 95 SP1"}, VersionCase{1, 4, 0, 1081, "Windows 95 OSR2"},
                      VersionCase{1, 4, 0, 949, "unknown Windows version"},
                      VersionCase{1, 4, 10, 1998, "Windows 98"}, VersionCase{1, 4, 10, 1999, "Windows 98 SP1"},
                      VersionCase{1, 4, 10, 2182, "Windows 98 SP1"}, VersionCase{1, 4, 10, 2183, "Windows 98 SE"},
                      VersionCase{1, 4, 10, 1997, "unknown Windows version"},
                      VersionCase{1, 4, 90, 3000, "Windows ME"}, VersionCase{1, 4, 50, 3000, "unknown Windows version"},
                      VersionCase{1, 5, 0, 950, "unknown Windows version"},
                      // Only the low 16 bits of the build count.
                      VersionCase{1, 4, 0, 0x04000000u + 950, "Windows 95"},
                      VersionCase{1, 4, 10, 0x0A0A0000u + 1998, "Windows 98"},
                      VersionCase{2, 3, 51, 1057, "Windows NT 3.51"}, VersionCase{2, 4, 0, 1381, "Windows NT 4"},
                      VersionCase{2, 5, 0, 2195, "Windows 2000"}, VersionCase{2, 5, 1, 2600, "Windows XP"},
                      VersionCase{2, 5, 2, 3790, "unknown Windows version"},
                      VersionCase{2, 6, 0, 6000, "unknown Windows version"},
                      VersionCase{3, 7, 99, 1, "Windows CE"}, VersionCase{0, 4, 0, 950, "unknown Windows version"}));

struct MemoryCase {
    std::uint64_t bytes;
    const char* text;
};

class FreeMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(FreeMemory, Text) { EXPECT_EQ(ErrorLog::FreeMemoryText(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Table, FreeMemory,
                         ::testing::Values(MemoryCase{0, "< 1000 KB"}, MemoryCase{999 * 1024, "< 1000 KB"},
                                           MemoryCase{1000 * 1024 - 1, "< 1000 KB"},
                                           MemoryCase{1000 * 1024, "1,000 KB"}, MemoryCase{1005 * 1024, "1,005 KB"},
                                           MemoryCase{524288ull * 1024, "524,288 KB"},
                                           MemoryCase{1048050ull * 1024 + 1023, "1048,050 KB"},
                                           MemoryCase{64ull << 30, "67108,864 KB"}));
