#pragma once
// What the machine reports about itself, for the log header.
#include <cstdint>
#include <functional>
#include <string>

namespace base {

struct SystemInfo {
    std::string osName;     // e.g. "Linux"
    std::string osRelease;  // kernel release, e.g. "6.1.0-18-amd64"
    std::string osPrettyName;  // distribution, e.g. "Debian GNU/Linux 12 (bookworm)"
    unsigned buildNumber = 0;  // low 16 bits are shown as the build
    std::string userName;
    std::string computerName;
    std::uint64_t availPhysBytes = 0;
    std::uint64_t totalPhysBytes = 0;
    unsigned memoryLoad = 0;  // percent of physical memory in use
};

// False when the system gives no version record.
bool QuerySystemInfo(SystemInfo& info);
bool QueryMemoryStatus(std::uint64_t& availPhysBytes, std::uint64_t& totalPhysBytes, unsigned& memoryLoad);

// The screen is known only to the GUI layer, which installs this hook once it knows
// the primary screen. Unset, the size reads 0 by 0.
using ScreenSizeHook = std::function<void(int& width, int& height)>;
void SetScreenSizeHook(ScreenSizeHook hook);
void GetScreenSize(int& width, int& height);

// The GUI layer installs a hook that reads the current OpenGL context's strings.
struct OpenGLStrings {
    std::string vendor, renderer, version, extensions, gluVersion;
};
using OpenGLInfoHook = std::function<OpenGLStrings()>;
void SetOpenGLInfoHook(OpenGLInfoHook hook);
OpenGLStrings GetOpenGLStrings();

}  // namespace base
