#include "app/Settings.h"

#include <cstdlib>
#include <filesystem>

#include "base/FileUtils.h"

namespace app {

namespace {
std::string gOverride;
std::string gHelpFolder;
}

void SetSettingsFileOverride(const std::string& path) { gOverride = path; }
std::string SettingsFileOverride() { return gOverride; }

std::string HelpFolder(const std::string& exeName)
{
    return gHelpFolder.empty() ? base::ExtractFilePath(exeName) : gHelpFolder;
}

void SetHelpFolderOverride(const std::string& folder) { gHelpFolder = folder; }

std::string SettingsFileName(const std::string& exeName)
{
    if (!gOverride.empty()) return gOverride;
    const std::string beside = base::ChangeFileExt(exeName, ".INI");
    if (base::MayWrite(beside)) return beside;
    const std::string dir = UserConfigDir();
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir + base::ExtractFileName(beside);
}

void TRecentList::Add(const std::string& path)
{
    int found = -1;
    for (int k = 0; k < kRecentCount; ++k)
        if (items_[std::size_t(k)] == path) found = k;
    if (found >= 0)
        items_.erase(items_.begin() + found);
    else
        items_.pop_back();
    items_.insert(items_.begin(), path);
}

}  // namespace app
