#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "FileSizeLimit.h"
#include "support/TestSupport.h"
#include "base/FileUtils.h"

using namespace base;

namespace {

// The test's own scratch folder, removed with its files afterwards.
class TempDir {
public:
    std::string operator/(const std::string& name) const { return dir_.file(name); }
    std::string path() const { return dir_.str(); }
    int FileCount() const {
        int n = 0;
        DIR* d = opendir(dir_.str().c_str());
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") ++n;
        closedir(d);
        return n;
    }

private:
    testsupport::TempDir dir_{"korvelo-base"};
};

}  // namespace

TEST(FileNames, Table) {
    struct Case {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    } cases[] = {
        {"/home/u/boat.hul", "/home/u/", "/home/u", "boat.hul", ".hul"},
        {"boat.hul", "", "", "boat.hul", ".hul"},
        {"C:\\Models\\boat.v1.app", "C:\\Models\\", "C:\\Models", "boat.v1.app", ".app"},
        {"/home/u.d/boat", "/home/u.d/", "/home/u.d", "boat", ""},
        {"/boat.hul", "/", "/", "boat.hul", ".hul"},
        {"/home/u/", "/home/u/", "/home/u", "", ""},
        {"dir//file.txt", "dir//", "dir//", "file.txt", ".txt"},
        {".bashrc", "", "", ".bashrc", ".bashrc"},
        {"file.", "", "", "file.", "."},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    }
}

TEST(FileNames, ChangeFileExt) {
    EXPECT_EQ(ChangeFileExt("/a/boat.hul", ".gf"), "/a/boat.gf");
    EXPECT_EQ(ChangeFileExt("/a.b/boat", ".INI"), "/a.b/boat.INI");
    EXPECT_EQ(ChangeFileExt("boat.tar.gz", ""), "boat.tar");
    EXPECT_EQ(ChangeFileExt("C:\\x.y\\Korvelo.exe", ".INI"), "C:\\x.y\\Korvelo.INI");
}

TEST(Files, ExistsAndDelete) {
    TempDir d;
    const std::string f = d / "a.txt";
    EXPECT_FALSE(FileExists(f));
    ASSERT_TRUE(WriteFileAtomic(f, "x"));
    EXPECT_TRUE(FileExists(f));
    EXPECT_FALSE(DirectoryExists(f));
    EXPECT_TRUE(DirectoryExists(d.path()));
    EXPECT_FALSE(FileExists(d.path()));
    EXPECT_TRUE(DeleteFile(f));
    EXPECT_FALSE(DeleteFile(f));
    EXPECT_FALSE(FileExists(""));
}

TEST(Files, WriteAndReadBack) {
    TempDir d;
    const std::string f = d / "data.bin";
    std::string data("line 1\r\nline 2\0with nul\r\n", 25);
    data += std::string(200000, 'z');
    ASSERT_TRUE(WriteFileAtomic(f, data));
    std::string back;
    ASSERT_TRUE(ReadFile(f, back));
    EXPECT_EQ(back, data);
    // Replacing keeps no temporary behind and the content is the new one.
    ASSERT_TRUE(WriteFileAtomic(f, "short"));
    ASSERT_TRUE(ReadFile(f, back));
    EXPECT_EQ(back, "short");
    EXPECT_EQ(d.FileCount(), 1);
    ASSERT_TRUE(WriteFileAtomic(f, ""));
    ASSERT_TRUE(ReadFile(f, back));
    EXPECT_EQ(back, "");
}

TEST(Files, ReplaceKeepsPermissions) {
    TempDir d;
    const std::string f = d / "p.txt";
    ASSERT_TRUE(WriteFileAtomic(f, "1"));
    ASSERT_EQ(chmod(f.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomic(f, "2"));
    struct stat st {};
    ASSERT_EQ(stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Files, WriteThroughSymlinkReplacesTarget) {
    TempDir d;
    const std::string target = d / "real.txt", link = d / "link.txt";
    ASSERT_TRUE(WriteFileAtomic(target, "old"));
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteFileAtomic(link, "new"));
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    std::string back;
    ASSERT_TRUE(ReadFile(target, back));
    EXPECT_EQ(back, "new");
}

TEST(Files, FailedWritesLeaveNothingBehind) {
    TempDir d;
    std::string error;
    // Folder does not exist.
    EXPECT_FALSE(WriteFileAtomic(d / "missing/x.txt", "data", &error));
    EXPECT_FALSE(error.empty());
    // Target is a folder.
    ASSERT_EQ(mkdir((d / "sub").c_str(), 0755), 0);
    error.clear();
    EXPECT_FALSE(WriteFileAtomic(d / "sub", "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(DirectoryExists(d / "sub"));
    EXPECT_EQ(d.FileCount(), 1);
    EXPECT_FALSE(WriteFileAtomic("", "data", &error));
}

TEST(Files, CreatedTellsAFileNeverMadeFromOneThatFailedLater) {
    TempDir d;
    bool created = true;
    EXPECT_FALSE(WriteFileAtomic(d / "missing/x.txt", "data", nullptr, &created));
    EXPECT_FALSE(created);
    ASSERT_EQ(mkdir((d / "sub").c_str(), 0755), 0);
    created = true;
    EXPECT_FALSE(WriteFileAtomic(d / "sub", "data", nullptr, &created));
    EXPECT_FALSE(created);
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(WriteFileAtomic(d / "big.txt", std::string(100000, 'n'), nullptr, &created));
    }
    EXPECT_TRUE(created);
    created = false;
    EXPECT_TRUE(WriteFileAtomic(d / "fine.txt", "data", nullptr, &created));
    EXPECT_TRUE(created);
}

TEST(Files, WriteFailingHalfWayKeepsOldFile) {
    TempDir d;
    const std::string f = d / "keep.txt";
    ASSERT_TRUE(WriteFileAtomic(f, "old content"));
    // A file size limit makes the write itself fail part-way.
    std::string error;
    bool ok = false;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        ok = WriteFileAtomic(f, std::string(100000, 'n'), &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    std::string back;
    ASSERT_TRUE(ReadFile(f, back));
    EXPECT_EQ(back, "old content");
    EXPECT_EQ(d.FileCount(), 1);
}

TEST(Files, ReadMissingOrFolderFails) {
    TempDir d;
    std::string data = "keep";
    EXPECT_FALSE(ReadFile(d / "none", data));
    EXPECT_FALSE(ReadFile(d.path(), data));
    EXPECT_EQ(data, "keep");
}

// Only regular files are read: a FIFO would wait for a writer forever and /dev/zero never
// ends. Both come back at once, refused, with the data kept.
TEST(Files, ReadRefusesFifoAndDevice) {
    TempDir d;
    const std::string fifo = d / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string data = "keep";
    EXPECT_FALSE(ReadFile(fifo, data));
    EXPECT_FALSE(ReadFile("/dev/zero", data));
    EXPECT_FALSE(ReadFile("/dev/null", data));
    EXPECT_EQ(data, "keep");
}

// The limited reader says why it refuses, and takes a file of exactly the limit.
TEST(Files, ReadFileLimitedRefusesWithAReason) {
    TempDir d;
    const std::string f = d / "ten.txt";
    ASSERT_TRUE(WriteFileAtomic(f, "0123456789"));
    const std::string fifo = d / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::uintmax_t limit;
        const char* reason;  // nullptr: read
    } cases[] = {
        {f, 10, nullptr},
        {f, 9, "too large (10 bytes, at most 9)"},
        {fifo, 100, "not a regular file"},
        {"/dev/zero", 100, "not a regular file"},
        {d.path(), 100, "it is a folder"},
        {d / "none", 100, "No such file or directory"},
    };
    for (const Case& c : cases) {
        std::string data = "keep", error;
        const bool ok = ReadFileLimited(c.path, data, c.limit, &error);
        EXPECT_EQ(ok, c.reason == nullptr) << c.path << " " << error;
        if (c.reason) {
            EXPECT_EQ(data, "keep");
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
            EXPECT_NE(error.find(c.path), std::string::npos) << error;
        } else {
            EXPECT_EQ(data, "0123456789");
        }
    }
}

// A file the owner may not write (0444) is refused for everyone, root included, and a
// folder likewise; nothing is replaced and nothing is left behind.
TEST(Files, ReadOnlyFileOrFolderIsRefusedAndKept) {
    TempDir d;
    const std::string f = d / "locked.txt";
    ASSERT_TRUE(WriteFileAtomic(f, "old"));
    ASSERT_EQ(chmod(f.c_str(), 0444), 0);
    std::string error;
    bool created = true;
    EXPECT_FALSE(WriteFileAtomic(f, "new", &error, &created));
    EXPECT_FALSE(created);
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    std::string back;
    ASSERT_TRUE(ReadFile(f, back));
    EXPECT_EQ(back, "old");
    struct stat st {};
    ASSERT_EQ(stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(d.FileCount(), 1);

    const std::string sub = d / "sub";
    ASSERT_EQ(mkdir(sub.c_str(), 0555), 0);
    EXPECT_FALSE(WriteFileAtomic(sub + "/new.txt", "data", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_FALSE(FileExists(sub + "/new.txt"));
    ASSERT_EQ(chmod(sub.c_str(), 0755), 0);
}

// A link whose target is yet to be made: the target is written and the link stays a
// link, for absolute and relative links and a chain of two.
TEST(Files, WriteThroughDanglingSymlinkCreatesTarget) {
    TempDir d;
    struct Case {
        const char* what;
        std::string linkText;  // what the link holds
        std::string target;    // the file that must be written
        const char* hop;       // a second link in between, or null
    };
    const Case cases[] = {
        {"absolute", d / "abs-target.txt", d / "abs-target.txt", nullptr},
        {"relative", "rel-target.txt", d / "rel-target.txt", nullptr},
        {"chain", "hop.txt", d / "chain-target.txt", "chain-target.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string link = d / (std::string(c.what) + "-link.txt");
        ASSERT_EQ(symlink(c.linkText.c_str(), link.c_str()), 0);
        if (c.hop) {
            ASSERT_EQ(symlink(c.hop, (d / "hop.txt").c_str()), 0);
        }
        ASSERT_FALSE(FileExists(c.target));
        ASSERT_TRUE(WriteFileAtomic(link, "made"));
        struct stat st {};
        ASSERT_EQ(lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        std::string back;
        ASSERT_TRUE(ReadFile(c.target, back));
        EXPECT_EQ(back, "made");
    }
    // A loop of links is refused.
    ASSERT_EQ(symlink("loop-b", (d / "loop-a").c_str()), 0);
    ASSERT_EQ(symlink("loop-a", (d / "loop-b").c_str()), 0);
    EXPECT_FALSE(WriteFileAtomic(d / "loop-a", "x"));
}

TEST(Files, MayWriteGoesByTheModeBits) {
    TempDir d;
    ASSERT_TRUE(WriteFileAtomic(d / "rw.txt", "x"));
    ASSERT_TRUE(WriteFileAtomic(d / "ro.txt", "x"));
    ASSERT_EQ(chmod((d / "ro.txt").c_str(), 0444), 0);
    ASSERT_EQ(mkdir((d / "locked").c_str(), 0555), 0);
    struct Case {
        std::string path;
        bool may;
    } const cases[] = {
        {d / "rw.txt", true},      {d / "ro.txt", false},        {d / "new.txt", true},
        {d / "locked/new.txt", false}, {d / "locked", false},
    };
    for (const Case& c : cases) EXPECT_EQ(MayWrite(c.path), c.may) << c.path;
    ASSERT_EQ(chmod((d / "locked").c_str(), 0755), 0);
}
