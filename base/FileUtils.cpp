#include "base/FileUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {

bool IsSep(char c) { return c == '/' || c == '\\'; }

// Index of the last separator, or npos.
size_t LastSep(std::string_view name) {
    for (size_t i = name.size(); i > 0; --i)
        if (IsSep(name[i - 1])) return i - 1;
    return std::string_view::npos;
}

// Index of the extension's '.', or npos.
size_t ExtDot(std::string_view name) {
    for (size_t i = name.size(); i > 0; --i) {
        char c = name[i - 1];
        if (IsSep(c)) return std::string_view::npos;
        if (c == '.') return i - 1;
    }
    return std::string_view::npos;
}

std::string ErrnoText(const char* what, const std::string& path, int err) {
    return std::string(what) + " \"" + path + "\": " + std::strerror(err);
}

// The process umask without changing it (umask() itself would race other threads).
mode_t CurrentUmask() {
    std::string status;
    if (ReadFile("/proc/self/status", status)) {
        size_t p = status.find("\nUmask:");
        if (p != std::string::npos) {
            mode_t m = 0;
            for (p += 8; p < status.size() && (status[p] == ' ' || status[p] == '\t'); ++p) {}
            for (; p < status.size() && status[p] >= '0' && status[p] <= '7'; ++p) m = static_cast<mode_t>(m * 8 + (status[p] - '0'));
            return m;
        }
    }
    return 022;
}

// Whether the mode bits let this process write `path`: the owner's bit for its owner,
// any write bit for root (as for its exec rule), otherwise what the system says.
bool ModeLetsWrite(const std::string& path, const struct stat& st) {
    const uid_t me = ::geteuid();
    if (st.st_uid == me) return (st.st_mode & S_IWUSR) != 0;
    if (me == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Whether the folder of `path` lets a file be made in it; true when it cannot be looked at
// (the write itself then fails with the system's reason).
bool FolderLetsWrite(const std::string& path) {
    const std::string folder = ExtractFilePath(path).empty() ? "." : ExtractFilePath(path);
    struct stat st {};
    return ::stat(folder.c_str(), &st) != 0 || ModeLetsWrite(folder, st);
}

// path with every symbolic link along its last component followed, whether or not the
// file it finally names exists; false for a loop of links.
bool ResolveLinks(const std::string& path, std::string& out) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            out = p;
            return true;
        }
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0) {
            out = p;
            return true;
        }
        link.resize(static_cast<size_t>(n));
        p = !link.empty() && link[0] == '/' ? link : ExtractFilePath(p) + link;
    }
    return false;
}

}  // namespace

std::string ExtractFilePath(std::string_view name) {
    size_t p = LastSep(name);
    return p == std::string_view::npos ? std::string() : std::string(name.substr(0, p + 1));
}

std::string ExtractFileDir(std::string_view name) {
    size_t p = LastSep(name);
    if (p == std::string_view::npos) return {};
    // Keep a root separator and doubled separators as they are.
    if (p > 0 && !IsSep(name[p - 1])) return std::string(name.substr(0, p));
    return std::string(name.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view name) {
    size_t p = LastSep(name);
    return p == std::string_view::npos ? std::string(name) : std::string(name.substr(p + 1));
}

std::string ExtractFileExt(std::string_view name) {
    size_t p = ExtDot(name);
    return p == std::string_view::npos ? std::string() : std::string(name.substr(p));
}

std::string ChangeFileExt(std::string_view name, std::string_view ext) {
    size_t p = ExtDot(name);
    std::string out(p == std::string_view::npos ? name : name.substr(0, p));
    out.append(ext);
    return out;
}

bool FileExists(const std::string& name) {
    struct stat st {};
    return !name.empty() && ::stat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& name) {
    struct stat st {};
    return !name.empty() && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& name) { return !name.empty() && ::unlink(name.c_str()) == 0; }

bool MayWrite(const std::string& path) {
    std::string target;
    if (!ResolveLinks(path, target)) return false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return !S_ISDIR(st.st_mode) && ModeLetsWrite(target, st);
    return FolderLetsWrite(target);
}

bool WriteFileAtomic(const std::string& path, std::string_view data, std::string* error, bool* created) {
    if (created) *created = false;
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (path.empty()) return fail("Cannot write a file without a name");

    // Write through a symbolic link to the file it names, also when that file is yet to be made.
    std::string target;
    if (!ResolveLinks(path, target)) return fail(ErrnoText("Cannot follow the link", path, ELOOP));
    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode)) return fail("Cannot write \"" + path + "\": it is a folder");
    // Checked by mode bits, which do not bind root, so that every user is refused alike.
    if (hadOld && !ModeLetsWrite(target, old)) return fail("Cannot write \"" + path + "\": the file is read-only");
    if (!FolderLetsWrite(target)) return fail("Cannot write \"" + path + "\": its folder is read-only");

    std::string dir = ExtractFilePath(target);
    std::string tmpl = dir + "." + ExtractFileName(target) + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return fail(ErrnoText("Cannot create a temporary file for", path, errno));
    if (created) *created = true;

    auto abandon = [&](const std::string& why) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return fail(why);
    };

    // The new file gets the old one's permissions, or the usual ones for a new file.
    mode_t mode;
    if (hadOld) {
        mode = old.st_mode & 07777;
    } else {
        mode = 0666 & ~CurrentUmask();
    }
    if (::fchmod(fd, mode) != 0) return abandon(ErrnoText("Cannot set the permissions of", tmpl, errno));

    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return abandon(ErrnoText("Cannot write", path, errno));
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) return abandon(ErrnoText("Cannot flush", path, errno));
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        return fail(ErrnoText("Cannot close", path, err));
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        return fail(ErrnoText("Cannot replace", path, err));
    }
    // Make the rename itself durable; a failure here does not undo the write.
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    if (error) error->clear();
    return true;
}

bool ReadFile(const std::string& path, std::string& data) {
    return ReadFileLimited(path, data, UINTMAX_MAX);
}

bool ReadFileLimited(const std::string& path, std::string& data, std::uintmax_t limit, std::string* error) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    // Opened without waiting (a FIFO would wait for a writer), then taken only when it is
    // a regular file: a FIFO, a device such as /dev/zero or a folder is refused.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(ErrnoText("Cannot open", path, errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(ErrnoText("Cannot open", path, err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail("Cannot read \"" + path + "\": " +
                    (S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file"));
    }
    auto tooLarge = [&](std::uintmax_t size) {
        ::close(fd);
        return fail("Cannot read \"" + path + "\": the file is too large (" + std::to_string(size) +
                    " bytes, at most " + std::to_string(limit) + ")");
    };
    if (static_cast<std::uintmax_t>(st.st_size) > limit) return tooLarge(static_cast<std::uintmax_t>(st.st_size));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::string out;
    if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return fail(ErrnoText("Cannot read", path, err));
        }
        if (n == 0) break;
        // A file that grows while it is read is held to the same limit.
        if (static_cast<std::uintmax_t>(n) > limit - out.size()) return tooLarge(out.size() + static_cast<size_t>(n));
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    data = std::move(out);
    if (error) error->clear();
    return true;
}

std::string UserConfigDir()
{
    std::filesystem::path dir;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        dir = x;
    } else {
        const char* home = std::getenv("HOME");
        dir = std::filesystem::path(home && *home ? home : ".") / ".config";
    }
    return (dir / "Korvelo").string() + "/";
}

std::string RegistryIniPath()
{
    std::string dir;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) dir = x;
    else if (const char* h = std::getenv("HOME"); h && *h) dir = std::string(h) + "/.config";
    else dir = ".";
    return dir + "/Korvelo/registry.ini";
}

}  // namespace base
