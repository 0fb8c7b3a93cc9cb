#pragma once
// Helpers shared by every test binary: a scratch folder of the test's own, and outside
// tools that the project installs (a missing one fails the test and names its package).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include <unistd.h>

#include "base/Locale.h"

namespace testsupport {

// A fresh folder under the system's temporary folder, unique to this process and test,
// removed with everything in it when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& tag = "korvelo")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (tag + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder: " + pattern);
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // The path of a file named `name` inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline bool HaveTool(const std::string& tool)
{
    return std::system(("command -v '" + tool + "' >/dev/null 2>&1").c_str()) == 0;
}

// For use at the top of a test: fails it when `tool` is not on the PATH, naming the Debian
// package that scripts/install-deps.sh installs for it.
#define REQUIRE_TOOL(tool, package)                                                                  \
    do {                                                                                             \
        if (!::testsupport::HaveTool(tool))                                                          \
            FAIL() << "outside tool '" << (tool) << "' is missing: install the Debian package '"     \
                   << (package) << "' (scripts/install-deps.sh does)";                               \
    } while (0)

// Runs a shell command and returns what it printed on standard output; rc gets its exit code.
inline std::string RunCapture(const std::string& cmd, int* rc = nullptr)
{
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) {
        if (rc) *rc = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = ::pclose(p);
    if (rc) *rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// The user's number, date and time settings with dates day/month/year and times
// hour:minute:second, put back as they were when the object goes.
class DayMonthYearSettings {
public:
    DayMonthYearSettings() : old_(base::FormatSettings())
    {
        base::TFormatSettings f = old_;
        f.ShortDateFormat = "dd/mm/yyyy";
        f.DateSeparator = '/';
        f.LongTimeFormat = "hh:nn:ss";
        f.TimeSeparator = ':';
        base::SetFormatSettings(f);
    }
    ~DayMonthYearSettings() { base::SetFormatSettings(old_); }
    DayMonthYearSettings(const DayMonthYearSettings&) = delete;
    DayMonthYearSettings& operator=(const DayMonthYearSettings&) = delete;

private:
    base::TFormatSettings old_;
};

}  // namespace testsupport
