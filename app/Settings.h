#pragma once
// Where the settings file lives, and the recent-file and recent-folder lists.
#include <string>
#include <vector>

#include "base/FileUtils.h"

namespace app {

inline constexpr const char* kEmptyRecent = "- empty -";
inline constexpr int kRecentCount = 5;

// The executable's path with ".INI"; when that file may not be written there (an
// installed program), the same name in the user's configuration folder.
std::string SettingsFileName(const std::string& exeName);
// The user's configuration folder for the program (base::UserConfigDir).
using base::UserConfigDir;
// Tests point the program at a settings file of their own; empty restores the rule above.
void SetSettingsFileOverride(const std::string& path);
std::string SettingsFileOverride();
// The folder the help file is looked for in: the executable's, with its trailing separator,
// unless a test has put a folder of its own in its place (empty restores it).
std::string HelpFolder(const std::string& exeName);
void SetHelpFolderOverride(const std::string& folder);

// Five places, newest first; a place without a path holds "- empty -".
class TRecentList {
public:
    TRecentList() : items_(kRecentCount, kEmptyRecent) {}
    const std::vector<std::string>& Items() const { return items_; }
    const std::string& Item(int k) const { return items_[std::size_t(k)]; }
    void Set(int k, const std::string& s) { items_[std::size_t(k)] = s; }
    // Moves an entry equal to path (case-sensitive) to the front, or puts path in front
    // and drops the oldest.
    void Add(const std::string& path);
    static bool IsEmpty(const std::string& entry) { return entry == kEmptyRecent; }

private:
    std::vector<std::string> items_;
};

}  // namespace app
