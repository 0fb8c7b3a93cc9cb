#pragma once
// The run's log: a text file written through line by line, and the list of its lines.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace core {

class ErrorLog {
public:
    static constexpr const char* kDefaultPath = "Korvelo.log";

    // Opens (truncating) the file and writes the header. A file that cannot be
    // opened leaves the log unusable for good: no lines, every write returns 0/false.
    explicit ErrorLog(const std::string& path = kDefaultPath);
    ~ErrorLog();  // writes the closing block and closes the file
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    // 1 written, 0 log unusable.
    int Log(const std::string& text);
    int Log(const char* text) { return Log(std::string(text ? text : "")); }

    bool WriteSeparator();
    bool WriteDateTime();
    void WriteSystemInfo();
    bool WriteMemoryInfo();
    bool WriteOpenGLInfo();

    bool IsUsable() const;
    // Every line written since construction, without line ends.
    const std::vector<std::string>& Lines() const { return lines_; }

    // The name the version table gives for a Windows version record, or
    // "unknown Windows version".
    static std::string WindowsVersionName(unsigned platformId, unsigned major, unsigned minor,
                                          unsigned build);
    // "< 1000 KB" or "<k / 1000>,<k % 1000 in three digits> KB", k = bytes / 1024.
    static std::string FreeMemoryText(std::uint64_t availPhysBytes);

    static const std::string& Separator();

private:
    // Writes fileText to the file and listText to the list.
    int WriteLine(const std::string& fileText, const std::string& listText);

    std::FILE* file_ = nullptr;
    std::vector<std::string> lines_;
};

}  // namespace core
