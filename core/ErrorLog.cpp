#include "core/ErrorLog.h"

#include <string_view>

#include "base/DateTime.h"
#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "base/SystemInfo.h"
#include "core/ProductInfo.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace core {

const std::string& ErrorLog::Separator() {
    static const std::string separator(66, '-');
    return separator;
}

ErrorLog::ErrorLog() : ErrorLog(kDefaultPath, base::UserConfigDir() + kDefaultPath) {}

ErrorLog::ErrorLog(const std::string& path, const std::string& fallbackPath) {
    if (!Open(path) && !fallbackPath.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(fallbackPath).parent_path(), ec);
        Open(fallbackPath);
    }
    WriteHeader();
}

bool ErrorLog::Open(const std::string& path) {
    // Read-only by its mode bits means read-only for root too.
    if (path.empty() || !base::MayWrite(path)) return false;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) return false;
    filePath_ = path;
    return true;
}

void ErrorLog::WriteHeader() {
    WriteSeparator();
    Log(kProductName);
    Log("Logfile initialised.");
    WriteDateTime();
    WriteSeparator();
    Log("Windows System Information.");
    WriteSystemInfo();
    WriteSeparator();
}

ErrorLog::~ErrorLog() {
    if (!file_) return;
    WriteSeparator();
    Log("Destructor called, Application shutting down.");
    WriteDateTime();
    WriteSeparator();
    std::fclose(file_);
    file_ = nullptr;
}

bool ErrorLog::IsUsable() const { return into_ ? into_->IsUsable() : file_ && !std::ferror(file_); }

int ErrorLog::WriteLine(const std::string& fileText, const std::string& listText) {
    // The list keeps every line, whether the file takes it or not.
    lines_.push_back(listText);
    if (into_) return into_->WriteLine(fileText, listText);
    if (!IsUsable()) return 0;
    errno = 0;
    std::fwrite(fileText.data(), 1, fileText.size(), file_);
    std::fputc('\n', file_);
    // Through to the file at once, so a crash keeps the lines that explain it.
    std::fflush(file_);
    if (IsUsable()) return 1;
    // Said once: later writes see an unusable file and only keep their lines.
    writeError_ = errno ? std::strerror(errno) : "write error";
    const std::string notice = "ERROR: The log file " + filePath_ + " can no longer be written: " + writeError_ +
                               ". Its lines are kept in memory only.";
    lines_.push_back(notice);
    if (OnWriteFailed) OnWriteFailed(notice);
    return 0;
}

int ErrorLog::Log(const std::string& text) { return WriteLine(text, text); }

bool ErrorLog::WriteSeparator() { return Log(Separator()) != 0; }

bool ErrorLog::WriteDateTime() {
    return Log("Date and Time: " + base::DateTimeToStr(base::Now())) != 0;
}

std::string ErrorLog::WindowsVersionName(unsigned platformId, unsigned major, unsigned minor,
                                         unsigned build) {
    build &= 0xFFFFu;
    if (platformId == 1 && major == 4) {
        if (minor < 10) {
            if (build == 950) return "Windows 95";
            if (build >= 951 && build <= 1080) return "Windows 95 SP1";
            if (build > 1080) return "Windows 95 OSR2";
        } else if (minor == 10) {
            if (build == 1998) return "Windows 98";
            if (build >= 1999 && build <= 2182) return "Windows 98 SP1";
            if (build >= 2183) return "Windows 98 SE";
        } else if (minor == 90) {
            return "Windows ME";
        }
    } else if (platformId == 2) {
        if (major == 3 && minor == 51) return "Windows NT 3.51";
        if (major == 4 && minor == 0) return "Windows NT 4";
        if (major == 5 && minor == 0) return "Windows 2000";
        if (major == 5 && minor == 1) return "Windows XP";
    } else if (platformId == 3) {
        return "Windows CE";
    }
    return "unknown Windows version";
}

std::string ErrorLog::FreeMemoryText(std::uint64_t availPhysBytes) {
    const std::uint64_t k = availPhysBytes / 1024;
    if (k < 1000) return "< 1000 KB";
    return base::Format("%llu,%03llu KB", static_cast<unsigned long long>(k / 1000),
                        static_cast<unsigned long long>(k % 1000));
}

void ErrorLog::WriteSystemInfo() {
    base::SystemInfo info;
    if (!base::QuerySystemInfo(info)) return;
    // The name line carries what this system reports about itself.
    std::string osName = info.osName;
    if (!info.osRelease.empty()) osName += (osName.empty() ? "" : " ") + info.osRelease;
    if (!info.osPrettyName.empty()) osName += " (" + info.osPrettyName + ")";
    Log(osName);
    Log("Build Number: " + base::UIntToStr(info.buildNumber & 0xFFFFu));
    Log("UserName: " + info.userName);
    Log("ComputerName: " + info.computerName);
    WriteMemoryInfo();
    int width = 0, height = 0;
    base::GetScreenSize(width, height);
    Log("Screen Resolution = " + base::IntToStr(width) + " by " + base::IntToStr(height));
}

bool ErrorLog::WriteMemoryInfo() {
    std::uint64_t avail = 0, total = 0;
    unsigned load = 0;
    if (!base::QueryMemoryStatus(avail, total, load)) return false;
    Log("Free Memory: " + FreeMemoryText(avail));
    const std::string usage = "Memory Usage: " + base::UIntToStr(load);
    return WriteLine(usage + " %", usage) != 0;
}

bool ErrorLog::WriteOpenGLInfo() {
    const bool usable = IsUsable();
    const base::OpenGLStrings gl = base::GetOpenGLStrings();
    WriteSeparator();
    Log("OpenGL & Display Driver Properties");
    Log("OpenGL vendor: " + gl.vendor);
    Log("OpenGL renderer: " + gl.renderer);
    Log("OpenGL version: " + gl.version);
    Log("OpenGL extensions: " + gl.extensions);
    Log("GLU version: " + gl.gluVersion);
    WriteSeparator();
    return usable;
}

Result LoggedFailure(ErrorLog* log, const std::string& line) {
    if (log) log->Log(line);
    constexpr std::string_view kError = "ERROR: ";
    return Result::Failure(line.rfind(kError, 0) == 0 ? line.substr(kError.size()) : line);
}

}  // namespace core
