#pragma once
// Reading picture files safely, and pictures kept until their file changes.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class TPicture;

// Picture files larger than this are refused unread.
constexpr std::uintmax_t kMaxPictureFileSize = std::uintmax_t(256) << 20;

// The bytes of a picture file: EInOutError, with the reason, for what is no regular file
// (a FIFO, a device), a file over kMaxPictureFileSize or one that cannot be read.
std::string ReadPictureFile(const std::string& fileName);

// A picture loaded with TPicture::LoadFromFile once, and again only when its file changes
// (another file, size or time of change).
class TPictureFileCache {
public:
    TPictureFileCache();
    ~TPictureFileCache();
    // The picture of fileName; nullptr when it cannot be read, Error() then says why.
    TPicture* Get(const std::string& fileName);
    const std::string& Error() const { return error_; }
    // How many times a file was read; for tests.
    int Loads() const { return loads_; }
    void Clear();

private:
    struct Stamp {
        std::uint64_t dev = 0, ino = 0, size = 0;
        std::int64_t mtimeNs = 0, ctimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    std::string fileName_;
    Stamp stamp_;
    bool known_ = false;
    std::unique_ptr<TPicture> picture_;
    std::string error_;
    int loads_ = 0;
};

}  // namespace platform
