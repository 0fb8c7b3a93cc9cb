#pragma once
// The run's log: a text file written through line by line, and the list of its lines.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/Result.h"

namespace core {

class ErrorLog {
public:
    static constexpr const char* kDefaultPath = "Korvelo.log";

    // The program's log: kDefaultPath in the current folder; when that may not be
    // written, the same name in the user's configuration folder (as the settings file).
    ErrorLog();
    // Opens (truncating) path, else fallbackPath when one is given, and writes the header.
    // The lines are kept in the list whatever happens to the file; without a file the
    // writes return 0/false.
    explicit ErrorLog(const std::string& path, const std::string& fallbackPath = "");
    // A log of a working copy: its lines go to the list only, with no file and no header.
    struct ListOnly {};
    explicit ErrorLog(ListOnly) {}
    // A log whose lines go on to another one, to its file and its list in order with that
    // log's own lines, and are kept in this list too; it writes no header or closing
    // block of its own; a failing file calls the other log's OnWriteFailed. The other log
    // must outlive it.
    struct Into {
        ErrorLog& log;
    };
    explicit ErrorLog(Into into) : into_(&into.log) {}
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

    // Whether the file is open and writing to it has not failed.
    bool IsUsable() const;
    // The file the lines go to; empty when none could be opened.
    const std::string& FilePath() const { return into_ ? into_->FilePath() : filePath_; }
    // Every line written since construction, without line ends.
    const std::vector<std::string>& Lines() const { return lines_; }
    // Why the file stopped taking lines (the disk is full, say); empty while it takes them.
    const std::string& WriteError() const { return into_ ? into_->WriteError() : writeError_; }
    // Called once, with the notice that is also added to the lines, when the file stops
    // taking lines; the lines go on being kept in the list.
    std::function<void(const std::string& notice)> OnWriteFailed;

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
    bool Open(const std::string& path);
    void WriteHeader();

    std::FILE* file_ = nullptr;
    ErrorLog* into_ = nullptr;
    std::string filePath_;
    std::vector<std::string> lines_;
    std::string writeError_;
};

// Logs line (when there is a log) and gives it, without its "ERROR: ", as the reason
// of a failure.
Result LoggedFailure(ErrorLog* log, const std::string& line);

}  // namespace core
