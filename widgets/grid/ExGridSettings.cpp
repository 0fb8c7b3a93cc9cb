// Column widths and column order kept in an INI file or in the registry's stand-in.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExInplaceEdit.h"
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

// ---------------------------------------------------------------- print settings

namespace grid {

namespace {

const char* Flag(bool v) { return v ? "Y" : "N"; }

void WriteFont(base::TIniFile& ini, const std::string& section, const std::string& prefix, const platform::TFont& f)
{
    ini.WriteString(section, prefix + "Name", f.Name());
    ini.WriteInteger(section, prefix + "Size", f.Size());
    ini.WriteInteger(section, prefix + "Style", f.Style());
    ini.WriteInteger(section, prefix + "Color", static_cast<long long>(f.Color()));
}

void ReadFont(const base::TIniFile& ini, const std::string& section, const std::string& prefix, platform::TFont& f)
{
    f.SetName(ini.ReadString(section, prefix + "Name", "Arial"));
    const long long size = ini.ReadInteger(section, prefix + "Size", 10);
    if (size > 0 && size <= 1638) f.SetSize(int(size));
    // The stored style replaces the present one, so the settings read back as written.
    f.SetStyle(platform::TFontStyles(ini.ReadInteger(section, prefix + "Style", 0) & 15));
    const long long color = ini.ReadInteger(section, prefix + "Color", 0);
    if (color >= -0x80000000LL && color <= 0xFFFFFFFFLL)
        f.SetColor(platform::TColor(static_cast<std::uint32_t>(color)));
}

// "TitleLines" keeps each line end as a backslash and 'n'.
std::string EncodeTitleLines(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        if (ch == '\r') out += "\\n";
        else if (ch != '\n') out += ch;
    }
    return out;
}

std::string DecodeTitleLines(const std::string& stored)
{
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\\' && i + 1 < stored.size() && stored[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += stored[i];
        }
    }
    return out;
}

template <class E>
void ReadRange(const base::TIniFile& ini, const std::string& section, const char* key, int last, E& field)
{
    const long long v = ini.ReadInteger(section, key, 0);
    if (v >= 0 && v <= last) field = E(v);
}

TPrintPosition ReadPosition(const base::TIniFile& ini, const std::string& section, const char* key)
{
    const long long v = ini.ReadInteger(section, key, 0);
    return v >= 1 && v <= 6 ? TPrintPosition(v) : ppNone;
}

}  // namespace

void TExStringGrid::SavePrintSettings(const std::string& FileName, const std::string& Section)
{
    const TPrintSettings& p = PrintSettings();
    base::TIniFile ini(FileName);
    ini.BeginUpdate();
    ini.WriteInteger(Section, "ColumnSpacing", p.ColumnSpacing);
    ini.WriteInteger(Section, "RowSpacing", p.RowSpacing);
    ini.WriteInteger(Section, "TitleSpacing", p.TitleSpacing);
    ini.WriteInteger(Section, "FixedHeight", p.FixedHeight);
    ini.WriteInteger(Section, "FixedWidth", p.FixedWidth);
    ini.WriteString(Section, "Centered", Flag(p.Centered));
    ini.WriteString(Section, "NoAutoSize", Flag(p.NoAutoSize));
    ini.WriteString(Section, "UseFixedHeight", Flag(p.UseFixedHeight));
    ini.WriteString(Section, "UseFixedWidth", Flag(p.UseFixedWidth));
    ini.WriteString(Section, "RepeatFixedRows", Flag(p.RepeatFixedRows));
    ini.WriteString(Section, "RepeatFixedCols", Flag(p.RepeatFixedCols));
    ini.WriteInteger(Section, "Borders", p.Borders);
    ini.WriteInteger(Section, "BorderStyle", p.BorderStyle);
    ini.WriteInteger(Section, "Date", p.Date);
    ini.WriteInteger(Section, "PageNr", p.PageNr);
    ini.WriteInteger(Section, "Title", p.Title);
    ini.WriteInteger(Section, "Time", p.Time);
    ini.WriteString(Section, "DateFormat", p.DateFormat);
    ini.WriteString(Section, "TitleText", p.TitleText);
    ini.WriteInteger(Section, "FooterSize", p.FooterSize);
    ini.WriteInteger(Section, "HeaderSize", p.HeaderSize);
    ini.WriteInteger(Section, "LeftSize", p.LeftSize);
    ini.WriteInteger(Section, "RightSize", p.RightSize);
    ini.WriteInteger(Section, "FitToPage", p.FitToPage);
    WriteFont(ini, Section, "Font", p.Font());
    WriteFont(ini, Section, "HeaderFont", p.HeaderFont());
    WriteFont(ini, Section, "FooterFont", p.FooterFont());
    ini.WriteString(Section, "PageNumSep", p.PageNumSep);
    ini.WriteString(Section, "PageSuffix", p.PageSuffix);
    ini.WriteString(Section, "PagePrefix", p.PagePrefix);
    ini.WriteInteger(Section, "Orientation", p.Orientation == platform::poLandscape ? 1 : 0);
    ini.WriteString(Section, "TitleLines", EncodeTitleLines(p.TitleLines().Text()));
    if (!ini.EndUpdate()) throw EExGridError("Cannot write the print settings to " + FileName + ". " + ini.LastError());
}

void TExStringGrid::LoadPrintSettings(const std::string& FileName, const std::string& Section)
{
    TPrintSettings& p = PrintSettings();
    const base::TIniFile ini(FileName);
    auto num = [&](const char* key, long long def) {
        const long long v = ini.ReadInteger(Section, key, def);
        return int(std::clamp(v, -1000000LL, 1000000LL));
    };
    auto flag = [&](const char* key, const char* def) { return ini.ReadString(Section, key, def) == "Y"; };
    p.ColumnSpacing = num("ColumnSpacing", 20);
    p.RowSpacing = num("RowSpacing", 20);
    p.TitleSpacing = num("TitleSpacing", 20);
    p.FixedHeight = num("FixedHeight", 0);
    p.FixedWidth = num("FixedWidth", 0);
    p.Centered = flag("Centered", "Y");
    p.NoAutoSize = flag("NoAutoSize", "N");
    p.UseFixedHeight = flag("UseFixedHeight", "N");
    p.UseFixedWidth = flag("UseFixedWidth", "N");
    p.RepeatFixedRows = flag("RepeatFixedRows", "N");
    p.RepeatFixedCols = flag("RepeatFixedCols", "N");
    ReadRange(ini, Section, "Borders", pbCustom, p.Borders);
    ReadRange(ini, Section, "BorderStyle", platform::psInsideFrame, p.BorderStyle);
    p.Date = ReadPosition(ini, Section, "Date");
    p.PageNr = ReadPosition(ini, Section, "PageNr");
    p.Title = ReadPosition(ini, Section, "Title");
    p.Time = ReadPosition(ini, Section, "Time");
    p.DateFormat = ini.ReadString(Section, "DateFormat", "");
    p.TitleText = ini.ReadString(Section, "TitleText", "");
    p.FooterSize = num("FooterSize", 100);
    p.HeaderSize = num("HeaderSize", 100);
    p.LeftSize = num("LeftSize", 100);
    p.RightSize = num("RightSize", 100);
    ReadRange(ini, Section, "FitToPage", fpCustom, p.FitToPage);
    ReadFont(ini, Section, "Font", p.Font());
    ReadFont(ini, Section, "HeaderFont", p.HeaderFont());
    ReadFont(ini, Section, "FooterFont", p.FooterFont());
    p.PageNumSep = ini.ReadString(Section, "PageNumSep", "");
    p.PageSuffix = ini.ReadString(Section, "PageSuffix", "");
    p.PagePrefix = ini.ReadString(Section, "PagePrefix", "");
    const long long o = ini.ReadInteger(Section, "Orientation", 0);
    if (o == 0 || o == 1) p.Orientation = o ? platform::poLandscape : platform::poPortrait;
    p.TitleLines().SetText(DecodeTitleLines(ini.ReadString(Section, "TitleLines", "")));
}

// ---------------------------------------------------------------- published settings

void TExStringGrid::SetAutoThemeAdapt(bool v)
{
    if (v) ThemeAdapt();
    AutoThemeAdapt = v;
    Invalidate();
}

void TExStringGrid::SetAutoSizeP(bool v)
{
    AutoSize = v;
    if (v) AutoSizeColumns(false, 10);
    Invalidate();
}

void TExStringGrid::SetMaxEditLength(int v)
{
    MaxEditLength = v;
    if (auto* ed = dynamic_cast<TExInplaceEdit*>(InplaceEditor())) ed->LengthLimit = v;
}

namespace {
template <class T>
void ChangeAndRepaint(TExStringGrid& g, T& field, T v)
{
    if (field == v) return;
    field = v;
    g.Invalidate();
}
}  // namespace

void TExStringGrid::SetSelectionColor(platform::TColor v) { ChangeAndRepaint(*this, SelectionColor, v); }
void TExStringGrid::SetSelectionTextColor(platform::TColor v) { ChangeAndRepaint(*this, SelectionTextColor, v); }
void TExStringGrid::SetSelectionRectangle(bool v) { ChangeAndRepaint(*this, SelectionRectangle, v); }
void TExStringGrid::SetSelectionResizer(bool v) { ChangeAndRepaint(*this, SelectionResizer, v); }
void TExStringGrid::SetShowSelection(bool v) { ChangeAndRepaint(*this, ShowSelection, v); }

void TExStringGrid::SetActiveCellShow(bool v)
{
    ActiveCellShow = v;
    Invalidate();
}

void TExStringGrid::SetActiveCellColor(platform::TColor v)
{
    ActiveCellColor = v;
    Invalidate();
}

void TExStringGrid::SetActiveCellColorTo(platform::TColor v)
{
    ActiveCellColorTo = v;
    Invalidate();
}

void TExStringGrid::SetFlat(bool v)
{
    Flat = v;
    Invalidate();
}

void TExStringGrid::SetActiveCellFont(const platform::TFont& f)
{
    ActiveCellFont().Assign(f);
    Invalidate();
}

void TExStringGrid::SetXYOffset(platform::TPoint APoint)
{
    XYOffset = APoint;
    Invalidate();
}

void TExStringGrid::SetIntegralHeight(bool v)
{
    IntegralHeight = v;
    SetBounds(Left(), Top(), Width(), Height());
}

void TExStringGrid::SetVAlignment(TVAlignment v)
{
    VAlignment = v;
    if (updateCount_ == 0) Invalidate();
}

void TExStringGrid::SetLook(TGridLook v)
{
    if (Look == v) return;
    Look = v;
    Invalidate();
    if (!(ComponentState() & csLoading)) UpdateFooter();
}

void TExStringGrid::SetURLShow(bool v)
{
    URLShow = v;
    Invalidate();
}

void TExStringGrid::SetURLFull(bool v)
{
    URLFull = v;
    if (URLShow) Invalidate();
}

void TExStringGrid::SetURLColor(platform::TColor v)
{
    URLColor = v;
    if (URLShow) Invalidate();
}

}  // namespace grid
