// Column widths and column order kept in an INI file or in the registry's stand-in.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"

namespace grid {

namespace {

// The INI file and section of the column settings; false when none is named.
bool Place(const TColumnSize& cs, std::string& file, std::string& section)
{
    if (cs.Key.empty() || cs.Section.empty()) return false;
    if (cs.Location == clIniFile) {
        file = cs.Key;
        section = cs.Section;
    } else {
        file = base::RegistryIniPath();
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
        section = cs.Key + "\\" + cs.Section;
    }
    return true;
}

}  // namespace

void TExStringGrid::SaveColSizes()
{
    std::string file, section;
    if (!Place(ColumnSize(), file, section)) return;
    base::TIniFile ini(file);
    ini.BeginUpdate();
    for (int i = 0; i < ColCount(); ++i) ini.WriteInteger(section, "Col" + std::to_string(i), ColWidths(i));
    if (!ini.EndUpdate()) throw EExGridError("Cannot write the column settings to " + file);
}

void TExStringGrid::LoadColSizes()
{
    std::string file, section;
    if (!Place(ColumnSize(), file, section)) return;
    const base::TIniFile ini(file);
    for (int i = 0; i < ColCount(); ++i) {
        const long long w = ini.ReadInteger(section, "Col" + std::to_string(i), ColWidths(i));
        if (w >= 0 && w <= 65535 && w != ColWidths(i)) SetColWidths(i, int(w));
    }
}

void TExStringGrid::SaveColPositions()
{
    std::string file, section;
    if (!Place(ColumnSize(), file, section)) return;
    base::TIniFile ini(file);
    ini.BeginUpdate();
    for (int k = 0; k < ColumnOrder().Count(); ++k)
        ini.WriteInteger(section, "Pos" + std::to_string(k), ColumnOrder().Items(k));
    if (!ini.EndUpdate()) throw EExGridError("Cannot write the column settings to " + file);
}

void TExStringGrid::LoadColPositions()
{
    std::string file, section;
    if (!Place(ColumnSize(), file, section)) return;
    const base::TIniFile ini(file);
    if (ini.ReadInteger(section, "Pos0", -1) == -1) return;
    const int n = ColCount();
    // what fits: columns of this grid, each once, in the stored order; the rest after them
    std::vector<int> target;
    std::vector<bool> seen(size_t(n), false);
    for (int k = 0; k < n; ++k) {
        const long long v = ini.ReadInteger(section, "Pos" + std::to_string(k), -1);
        if (v < 0 || v >= n || seen[size_t(v)]) continue;
        seen[size_t(v)] = true;
        target.push_back(int(v));
    }
    for (int c = 0; c < n; ++c)
        if (!seen[size_t(c)]) target.push_back(c);
    // the current order (original column at each position), then columns moved into place
    std::vector<int> now(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) now[size_t(k)] = k < ColumnOrder().Count() ? ColumnOrder().Items(k) : k;
    for (int k = 0; k < n; ++k) {
        const auto it = std::find(now.begin() + k, now.end(), target[size_t(k)]);
        const int j = int(it - now.begin());
        if (it == now.end() || j == k) continue;
        MoveColumn(j, k);
        const int v = now[size_t(j)];
        now.erase(now.begin() + j);
        now.insert(now.begin() + k, v);
    }
    ColumnOrder().Clear();
    for (int v : target) ColumnOrder().Add(v);
}

}  // namespace grid
