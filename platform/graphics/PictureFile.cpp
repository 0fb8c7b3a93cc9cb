#include "platform/graphics/PictureFile.h"

#include <sys/stat.h>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "platform/graphics/Graphics.h"

namespace platform {

std::string ReadPictureFile(const std::string& fileName)
{
    std::string data, why;
    if (!base::ReadFileLimited(fileName, data, kMaxPictureFileSize, &why))
        throw base::EInOutError("Cannot open file \"" + fileName + "\". " + why);
    return data;
}

// ---------------------------------------------------------------- TPictureFileCache

TPictureFileCache::TPictureFileCache() = default;
TPictureFileCache::~TPictureFileCache() = default;

void TPictureFileCache::Clear()
{
    fileName_.clear();
    known_ = false;
    picture_.reset();
    error_.clear();
}

TPicture* TPictureFileCache::Get(const std::string& fileName)
{
    Stamp now;
    struct stat st {};
    const bool exists = ::stat(fileName.c_str(), &st) == 0;
    if (exists) {
        now.dev = std::uint64_t(st.st_dev);
        now.ino = std::uint64_t(st.st_ino);
        now.size = std::uint64_t(st.st_size);
        now.mtimeNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        now.ctimeNs = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    }
    if (known_ && exists && fileName == fileName_ && now == stamp_) return picture_.get();
    fileName_ = fileName;
    stamp_ = now;
    known_ = exists;
    picture_.reset();
    error_.clear();
    ++loads_;
    auto pic = std::make_unique<TPicture>();
    try {
        pic->LoadFromFile(fileName);
        picture_ = std::move(pic);
    } catch (const std::exception& e) {
        error_ = e.what();
    }
    return picture_.get();
}

}  // namespace platform
