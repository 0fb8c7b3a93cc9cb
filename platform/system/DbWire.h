#pragma once
// The frames the database reader and its helper process exchange over a socket pair:
// a tag byte, a 32-bit length and the payload. Standard library and POSIX only, since the
// helper links nothing else of ours.
#include <sys/socket.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace platform::dbwire {

// Requests
constexpr char kConnect = 'C';  // connection string
constexpr char kQuery = 'Q';    // SQL text
// Replies
constexpr char kConnected = 'K';
constexpr char kFailed = 'F';   // the driver's diagnostics
constexpr char kHeader = 'H';   // record count, field names
constexpr char kRow = 'R';      // one record's values
constexpr char kEnd = 'E';      // no more records

// The helper's end of the socket pair.
constexpr int kHelperFd = 3;

// Frames larger than this are taken for a broken stream.
constexpr std::uint32_t kMaxFrame = 1u << 30;

class Writer {
public:
    void U8(std::uint8_t v) { s_.push_back(char(v)); }
    void U32(std::uint32_t v) { s_.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void I64(std::int64_t v) { s_.append(reinterpret_cast<const char*>(&v), sizeof v); }
    void Str(const std::string& v)
    {
        U32(std::uint32_t(v.size()));
        s_ += v;
    }
    const std::string& Data() const { return s_; }

private:
    std::string s_;
};

// Reads a payload; every read fails once the payload is short.
class Reader {
public:
    explicit Reader(const std::string& s) : s_(s) {}
    bool U8(std::uint8_t& v) { return Raw(&v, sizeof v); }
    bool U32(std::uint32_t& v) { return Raw(&v, sizeof v); }
    bool I64(std::int64_t& v) { return Raw(&v, sizeof v); }
    bool Str(std::string& v)
    {
        std::uint32_t n = 0;
        if (!U32(n) || n > s_.size() - at_) return false;
        v.assign(s_, at_, n);
        at_ += n;
        return true;
    }
    bool AtEnd() const { return at_ == s_.size(); }

private:
    bool Raw(void* p, std::size_t n)
    {
        if (n > s_.size() - at_) return false;
        std::memcpy(p, s_.data() + at_, n);
        at_ += n;
        return true;
    }
    const std::string& s_;
    std::size_t at_ = 0;
};

inline bool SendAll(int fd, const char* p, std::size_t n)
{
    while (n > 0) {
        const ssize_t k = ::send(fd, p, n, MSG_NOSIGNAL);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return false;
        p += k;
        n -= std::size_t(k);
    }
    return true;
}

inline bool RecvAll(int fd, char* p, std::size_t n)
{
    while (n > 0) {
        const ssize_t k = ::recv(fd, p, n, 0);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) return false;
        p += k;
        n -= std::size_t(k);
    }
    return true;
}

inline bool SendFrame(int fd, char tag, const std::string& payload)
{
    std::string head(1, tag);
    const std::uint32_t n = std::uint32_t(payload.size());
    head.append(reinterpret_cast<const char*>(&n), sizeof n);
    return SendAll(fd, head.data(), head.size()) && SendAll(fd, payload.data(), payload.size());
}

// False at the end of the stream, on an error or on a frame over kMaxFrame.
inline bool RecvFrame(int fd, char& tag, std::string& payload)
{
    char head[5];
    if (!RecvAll(fd, head, sizeof head)) return false;
    std::uint32_t n = 0;
    std::memcpy(&n, head + 1, sizeof n);
    if (n > kMaxFrame) return false;
    tag = head[0];
    payload.resize(n);
    return RecvAll(fd, payload.data(), n);
}

}  // namespace platform::dbwire
