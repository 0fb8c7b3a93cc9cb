#include "base/SystemInfo.h"

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "base/FileUtils.h"
#include "base/StrUtils.h"

namespace base {

namespace {

std::mutex gHookMutex;
ScreenSizeHook gScreenHook;
OpenGLInfoHook gOpenGLHook;

// Value of KEY= in os-release text, unquoted.
std::string OsReleaseField(const std::string& text, std::string_view key) {
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find('\n', i);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + i, end - i);
        i = end + 1;
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=') {
            std::string v = Trim(line.substr(key.size() + 1));
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
                std::string out;
                for (size_t k = 1; k + 1 < v.size(); ++k) {
                    if (v[k] == '\\' && k + 2 < v.size()) ++k;
                    out.push_back(v[k]);
                }
                return out;
            }
            return v;
        }
    }
    return {};
}

// Reads "Name:   12345 kB" from /proc/meminfo text, in bytes.
bool MeminfoField(const std::string& text, std::string_view name, std::uint64_t& bytes) {
    size_t p = 0;
    while ((p = text.find(name, p)) != std::string::npos) {
        if ((p == 0 || text[p - 1] == '\n') && p + name.size() < text.size() && text[p + name.size()] == ':') {
            size_t q = p + name.size() + 1;
            while (q < text.size() && text[q] == ' ') ++q;
            std::uint64_t v = 0;
            bool any = false;
            while (q < text.size() && text[q] >= '0' && text[q] <= '9') {
                v = v * 10 + static_cast<std::uint64_t>(text[q] - '0');
                ++q;
                any = true;
            }
            if (!any) return false;
            bytes = v * 1024;
            return true;
        }
        p += name.size();
    }
    return false;
}

}  // namespace

bool QuerySystemInfo(SystemInfo& info) {
    struct utsname u {};
    if (::uname(&u) != 0) return false;
    info.osName = u.sysname;
    info.osRelease = u.release;

    std::string text;
    if (ReadFile("/etc/os-release", text) || ReadFile("/usr/lib/os-release", text))
        info.osPrettyName = OsReleaseField(text, "PRETTY_NAME");
    else
        info.osPrettyName.clear();

    // The build number is the kernel's patch level, the third number of the release
    // ("6.1.0-18-amd64" gives 0, "5.15.153.1-microsoft" gives 153); the first two are
    // the version a Linux user names the kernel by, so the build is what follows.
    info.buildNumber = 0;
    {
        const std::string& r = info.osRelease;
        size_t i = 0;
        int field = 0;
        while (i < r.size() && field < 2) {
            while (i < r.size() && r[i] >= '0' && r[i] <= '9') ++i;
            if (i < r.size() && r[i] == '.') {
                ++i;
                ++field;
            } else {
                break;
            }
        }
        if (field == 2) {
            unsigned v = 0;
            while (i < r.size() && r[i] >= '0' && r[i] <= '9' && v < 100000000u) v = v * 10 + static_cast<unsigned>(r[i++] - '0');
            info.buildNumber = v;
        }
    }

    info.userName.clear();
    {
        struct passwd pw {};
        struct passwd* result = nullptr;
        char buf[4096];
        if (::getpwuid_r(::geteuid(), &pw, buf, sizeof buf, &result) == 0 && result && result->pw_name)
            info.userName = result->pw_name;
        if (info.userName.empty())
            if (const char* env = std::getenv("USER")) info.userName = env;
    }

    info.computerName.clear();
    {
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) == 0) info.computerName = host;
    }

    QueryMemoryStatus(info.availPhysBytes, info.totalPhysBytes, info.memoryLoad);
    return true;
}

bool QueryMemoryStatus(std::uint64_t& availPhysBytes, std::uint64_t& totalPhysBytes, unsigned& memoryLoad) {
    availPhysBytes = 0;
    totalPhysBytes = 0;
    memoryLoad = 0;
    std::string text;
    if (!ReadFile("/proc/meminfo", text)) return false;
    std::uint64_t total = 0, avail = 0;
    if (!MeminfoField(text, "MemTotal", total) || total == 0) return false;
    // Older kernels have no MemAvailable; free memory is the nearest figure.
    if (!MeminfoField(text, "MemAvailable", avail) && !MeminfoField(text, "MemFree", avail)) return false;
    if (avail > total) avail = total;
    totalPhysBytes = total;
    availPhysBytes = avail;
    memoryLoad = static_cast<unsigned>(std::llround(100.0 * static_cast<double>(total - avail) / static_cast<double>(total)));
    return true;
}

void SetScreenSizeHook(ScreenSizeHook hook) {
    std::lock_guard<std::mutex> lock(gHookMutex);
    gScreenHook = std::move(hook);
}

void GetScreenSize(int& width, int& height) {
    width = 0;
    height = 0;
    ScreenSizeHook hook;
    {
        std::lock_guard<std::mutex> lock(gHookMutex);
        hook = gScreenHook;
    }
    if (hook) hook(width, height);
}

void SetOpenGLInfoHook(OpenGLInfoHook hook) {
    std::lock_guard<std::mutex> lock(gHookMutex);
    gOpenGLHook = std::move(hook);
}

OpenGLStrings GetOpenGLStrings() {
    OpenGLInfoHook hook;
    {
        std::lock_guard<std::mutex> lock(gHookMutex);
        hook = gOpenGLHook;
    }
    return hook ? hook() : OpenGLStrings{};
}

}  // namespace base
