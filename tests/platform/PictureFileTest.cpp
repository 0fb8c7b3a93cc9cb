// Picture files: saves that are whole or leave the old file, readers that take only regular
// files of a sane size, and pictures read again only when their file changes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "../base/FileSizeLimit.h"
#include "base/Exception.h"
#include "base/FileUtils.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/PictureFile.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/Metafile.h"
#include "platform/TestRig.h"
#include "support/FilledBitmap.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {

std::string Contents(const std::string& path)
{
    std::string data;
    EXPECT_TRUE(base::ReadFile(path, data)) << path;
    return data;
}

int FilesIn(const testsupport::TempDir& d)
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(d.path())) ++n;
    return n;
}

// Each kind of picture save, with a picture large enough to pass a small file size limit.
struct Saver {
    const char* name;
    std::function<void(const std::string&)> save;
};

std::vector<Saver> Savers()
{
    return {
        {"bitmap", [](const std::string& f) { testsupport::FilledBitmap(200, 100)->SaveToFile(f); }},
        {"picture",
         [](const std::string& f) {
             TPicture p;
             p.Bitmap()->SetSize(200, 100);
             p.SaveToFile(f);
         }},
        {"metafile",
         [](const std::string& f) {
             TMetafile mf(400, 300);
             {
                 TMetafileCanvas c(mf);
                 for (int i = 0; i < 400; ++i) c.TextOut(i, i % 300, "a line of text that takes room");
             }
             mf.SaveToFile(f);
         }},
    };
}

std::string Message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const base::EInOutError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(PictureSave, WriteFailureKeepsTheOldFileAndSaysWhy)
{
    for (const Saver& s : Savers()) {
        testsupport::TempDir d("picsave");
        const std::string f = d.file("old.bmp");
        ASSERT_TRUE(base::WriteFileAtomic(f, "old picture"));
        std::string msg;
        {
            FileSizeLimit limit(1024);
            ASSERT_TRUE(limit.Active());
            msg = Message([&] { s.save(f); });
        }
        EXPECT_EQ(Contents(f), "old picture") << s.name;
        EXPECT_EQ(FilesIn(d), 1) << s.name << ": the temporary file is left behind";
        EXPECT_NE(msg.find("Cannot write file \"" + f + "\"."), std::string::npos) << s.name << ": " << msg;
        EXPECT_NE(msg.find("File too large"), std::string::npos) << s.name << ": " << msg;
    }
}

TEST(PictureSave, ReadOnlyTargetOrMissingFolderIsRefusedWithItsReason)
{
    for (const Saver& s : Savers()) {
        testsupport::TempDir d("picsave");
        const std::string f = d.file("locked.bmp");
        ASSERT_TRUE(base::WriteFileAtomic(f, "old picture"));
        ASSERT_EQ(::chmod(f.c_str(), 0444), 0);
        std::string msg = Message([&] { s.save(f); });
        EXPECT_EQ(Contents(f), "old picture") << s.name;
        EXPECT_NE(msg.find("Cannot create file \"" + f + "\"."), std::string::npos) << s.name << ": " << msg;
        EXPECT_NE(msg.find("read-only"), std::string::npos) << s.name << ": " << msg;

        const std::string lost = d.file("no-folder/x.bmp");
        msg = Message([&] { s.save(lost); });
        EXPECT_NE(msg.find("No such file or directory"), std::string::npos) << s.name << ": " << msg;
    }
}

TEST(PictureSave, SuccessReplacesTheFileWhole)
{
    testsupport::TempDir d("picsave");
    const std::string f = d.file("p.bmp");
    ASSERT_TRUE(base::WriteFileAtomic(f, std::string(100000, 'x')));
    auto b = testsupport::FilledBitmap(3, 2);
    b->SaveToFile(f);
    std::ostringstream want;
    b->SaveToStream(want);
    EXPECT_EQ(Contents(f), want.str());
    EXPECT_EQ(FilesIn(d), 1);
}

// ---------------------------------------------------------------- reading

namespace {

// The ways a picture is read from a file.
struct Reader {
    const char* name;
    const char* ext;
    std::function<void(const std::string&)> load;
};

std::vector<Reader> Readers()
{
    return {
        {"bitmap", ".bmp", [](const std::string& f) { TBitmap().LoadFromFile(f); }},
        {"icon", ".ico", [](const std::string& f) { TIcon().LoadFromFile(f); }},
        {"picture bmp", ".bmp", [](const std::string& f) { TPicture().LoadFromFile(f); }},
        {"picture png", ".png", [](const std::string& f) { TPicture().LoadFromFile(f); }},
        {"picture gif", ".gif", [](const std::string& f) { TPicture().LoadFromFile(f); }},
    };
}

}  // namespace

// A FIFO would wait for a writer for good, /dev/zero never ends and a huge file would
// be read whole: each is refused at once with a clear reason.
TEST(PictureRead, OnlyRegularFilesUnderTheCapAreRead)
{
    for (const Reader& r : Readers()) {
        testsupport::TempDir d("picread");
        const std::string fifo = d.file(std::string("pipe") + r.ext);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::string msg = Message([&] { r.load(fifo); });
        EXPECT_NE(msg.find("not a regular file"), std::string::npos) << r.name << ": " << msg;

        const std::string zero = d.file(std::string("zero") + r.ext);
        ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
        msg = Message([&] { r.load(zero); });
        EXPECT_NE(msg.find("not a regular file"), std::string::npos) << r.name << ": " << msg;

        const std::string big = d.file(std::string("big") + r.ext);
        {
            const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0600);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::ftruncate(fd, off_t(kMaxPictureFileSize) + 1), 0);  // sparse: no disk used
            ::close(fd);
        }
        msg = Message([&] { r.load(big); });
        EXPECT_NE(msg.find("too large"), std::string::npos) << r.name << ": " << msg;
        EXPECT_NE(msg.find(big), std::string::npos) << r.name << ": " << msg;
    }
}

TEST(PictureRead, ReadPictureFileTakesAFileAtTheCap)
{
    testsupport::TempDir d("picread");
    const std::string f = d.file("ok.bmp");
    ASSERT_TRUE(base::WriteFileAtomic(f, "bytes"));
    EXPECT_EQ(ReadPictureFile(f), "bytes");
    EXPECT_THROW(ReadPictureFile(d.file("missing.bmp")), base::EInOutError);
}

// A picture is read once and again only when its file changes.
TEST(PictureRead, CacheReadsAgainOnlyWhenTheFileChanges)
{
    testsupport::TempDir d("picread");
    const std::string f = d.file("p.bmp");
    testsupport::FilledBitmap(4, 3)->SaveToFile(f);
    TPictureFileCache cache;
    for (int i = 0; i < 5; ++i) ASSERT_NE(cache.Get(f), nullptr);
    EXPECT_EQ(cache.Loads(), 1);
    EXPECT_EQ(cache.Get(f)->Width(), 4);

    testsupport::FilledBitmap(6, 3)->SaveToFile(f);  // replaced: another file
    EXPECT_EQ(cache.Get(f)->Width(), 6);
    EXPECT_EQ(cache.Loads(), 2);
    cache.Get(f);
    EXPECT_EQ(cache.Loads(), 2);

    // A file that does not read is not tried again until it changes.
    const std::string bad = d.file("bad.bmp");
    ASSERT_TRUE(base::WriteFileAtomic(bad, "no picture"));
    EXPECT_EQ(cache.Get(bad), nullptr);
    EXPECT_NE(cache.Error().find("Bitmap image is not valid"), std::string::npos) << cache.Error();
    EXPECT_EQ(cache.Get(bad), nullptr);
    EXPECT_EQ(cache.Loads(), 3);

    ASSERT_TRUE(base::DeleteFile(f));
    EXPECT_EQ(cache.Get(f), nullptr);
    EXPECT_NE(cache.Error().find("No such file"), std::string::npos) << cache.Error();
}
