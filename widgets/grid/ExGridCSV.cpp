// The grid's line-oriented text files: CSV (written and read), plain text in padded
// columns and fixed-width columns. Every file is written whole or not at all.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/grid/GridFiles.h"

using namespace platform;

namespace grid {

namespace {

const char* const kCRLF = "\r\n";

// Half-to-even rounding of a percentage.

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) { s = base::StringReplaceAll(s, from, to); }

// Physical lines of a text: ended by CR LF, LF or a lone CR.
std::vector<std::string> SplitLines(const std::string& data)
{
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < data.size(); ++i) {
        const char ch = data[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (ch == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            cur += ch;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

// The separators the reader may guess. "-" and "+" are none: a column of signed numbers
// would be split at them.
constexpr char kCandidates[] = {',', ';', '#', '\t', '|', '@', '*', '&'};

bool IsCandidate(char c) { return std::find(std::begin(kCandidates), std::end(kCandidates), c) != std::end(kCandidates); }

bool HoldsCandidate(const std::string& s) { return std::any_of(s.begin(), s.end(), IsCandidate); }

// The text outside quoted fields of the first `count` records. A quote mark opens a quoted
// field at a line's start or after a candidate separator; inside, a doubled mark is one mark
// and a single one closes it, and line breaks belong to the field.
std::vector<std::string> UnquotedRecords(const std::string& data, size_t count)
{
    std::vector<std::string> recs;
    std::string cur;
    bool inQuotes = false, fieldStart = true;
    for (size_t i = 0; i < data.size() && recs.size() < count; ++i) {
        const char ch = data[i];
        if (inQuotes) {
            if (ch != '"') continue;
            if (i + 1 < data.size() && data[i + 1] == '"') ++i;
            else inQuotes = false;
            continue;
        }
        if (ch == '\r' || ch == '\n') {
            recs.push_back(cur);
            cur.clear();
            if (ch == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
            fieldStart = true;
            continue;
        }
        if (ch == '"' && fieldStart) {
            inQuotes = true;
            fieldStart = false;
            continue;
        }
        cur += ch;
        fieldStart = IsCandidate(ch);
    }
    if (recs.size() < count && (!cur.empty() || inQuotes)) recs.push_back(cur);
    return recs;
}

// The separator of a CSV text from its first two records, counting only outside quoted
// fields; 0 when none is found.
char FindDelimiter(const std::string& l1, const std::string& l2)
{
    char sep = 0;
    int best = 0;
    // pass 1 counts unpaired runs, pass 2 plain occurrences, pass 3 takes either line's count
    for (int pass = 1; pass <= 3 && best == 0; ++pass)
        for (char c : kCandidates) {
            const int a = pass == 1 ? NumSingleChar(c, l1) : NumChar(c, l1);
            const int b = pass == 1 ? NumSingleChar(c, l2) : NumChar(c, l2);
            if (pass < 3 ? (a == b && a > best) : (a > best || b > best)) {
                sep = c;
                best = std::max(a, b);
            }
        }
    return sep;
}

// Splits CSV text into records of fields. A quoted field may run over line ends (its
// line break becomes CR LF); text after a closing quote up to the separator is kept.
// Stops with `problem` set when the fields, records or a field's length pass the limits.
std::vector<std::vector<std::string>> ParseCSV(const std::string& data, char sep, size_t maxFields, size_t maxRecords,
                                               std::string& problem)
{
    std::vector<std::vector<std::string>> records;
    const size_t n = data.size();
    size_t i = 0;
    while (i < n) {
        if (records.size() == maxRecords) {
            problem = LoadLimitProblem(0, kMaxLoadRows + 1, 0);
            return {};
        }
        std::vector<std::string> rec;
        bool endOfLine = false;
        while (!endOfLine) {
            std::string field;
            if (i < n && data[i] == '"') {
                ++i;
                while (i < n) {
                    const char ch = data[i];
                    if (ch == '"') {
                        if (i + 1 < n && data[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (ch == '\r' || ch == '\n') {
                        field += kCRLF;
                        i += (ch == '\r' && i + 1 < n && data[i + 1] == '\n') ? 2 : 1;
                        continue;
                    }
                    field += ch;
                    ++i;
                }
                std::string rest;
                while (i < n && data[i] != sep && data[i] != '\r' && data[i] != '\n') rest += data[i++];
                field += DoubleToSingleChar('"', rest);
            } else {
                std::string raw;
                while (i < n && (sep == 0 || data[i] != sep) && data[i] != '\r' && data[i] != '\n') raw += data[i++];
                field = DoubleToSingleChar('"', raw);
            }
            if (field.size() > kMaxCellLength || rec.size() == maxFields) {
                problem = field.size() > kMaxCellLength ? LoadLimitProblem(0, 0, field.size())
                                                        : LoadLimitProblem(kMaxLoadCols + 1, 0, 0);
                return {};
            }
            rec.push_back(std::move(field));
            if (i < n && sep != 0 && data[i] == sep) {
                ++i;
                if (i >= n || data[i] == '\r' || data[i] == '\n') endOfLine = true;  // "a,b," has no third field
            } else {
                endOfLine = true;
            }
        }
        if (i < n && data[i] == '\r') ++i;
        if (i < n && data[i] == '\n') ++i;
        records.push_back(std::move(rec));
    }
    return records;
}

}  // namespace

std::string TExStringGrid::ExportCell(int ACol, int ARow)
{
    if (!IsBaseCell(ACol, ARow)) return {};
    return SaveCell(ACol, ARow);
}

std::string TExStringGrid::CSVText()
{
    const char sep = Delimiter ? Delimiter : ',';
    const int extra = SaveHiddenCells ? NumHiddenColumns() : 0;
    const int c0 = GetSaveStartCol(), c1 = GetSaveEndCol() + extra;
    const int r0 = GetSaveStartRow(), r1 = GetSaveEndRow();
    std::string out;
    ExportNotification(esExportStart, -1);
    short last = -1;
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            if (c > c0) out += sep;
            std::string s = ExportCell(SaveHiddenCells ? c : RemapCol(c), r);
            s = CSVQuotes(s);
            if (OemConvert) StringToOem(s);
            bool quoted = false;
            if (AlwaysQuote || (s.find(sep) == std::string::npos && s.find('"') != std::string::npos)) {
                s = '"' + s + '"';
                quoted = true;
            }
            if (s.empty()) {
                if (TildeCSV) s = "^";
                else if (QuoteEmptyCells) s = "\"\"";
            }
            // Line breaks are always folded, so that a record stays on one line.
            const bool hasBreak = s.find('\r') != std::string::npos || s.find('\n') != std::string::npos;
            // With the default separator the reader guesses it: a cell holding any character it
            // might take is quoted, so that the guess sees only the real separators.
            const bool guessed = Delimiter == 0 && !quoted && !TildeCSV && HoldsCandidate(s);
            if (s.find(sep) != std::string::npos || hasBreak || guessed) {
                if (TildeCSV) {
                    LineFeedsToJava(s);
                    s.erase(std::remove(s.begin(), s.end(), '\n'), s.end());
                } else if (quoted) {
                    // inside quotes: CR LF and lone breaks become character 11 as well
                    ReplaceAll(s, "\r\n", "\x0b");
                    std::replace(s.begin(), s.end(), '\r', '\x0b');
                    std::replace(s.begin(), s.end(), '\n', '\x0b');
                } else {
                    ReplaceAll(s, "\r\n", "\x0b");
                    std::replace(s.begin(), s.end(), '\r', '\x0b');
                    std::replace(s.begin(), s.end(), '\n', '\x0b');
                    s = '"' + s + '"';
                }
            }
            out += s;
        }
        out += kCRLF;
        if (OnFileProgress) {
            const short p = ProgressPercent(r, RowCount() - 1);
            if (p != last) OnFileProgress(this, p);
            last = p;
        }
    }
    ExportNotification(esExportDone, -1);
    return out;
}

void TExStringGrid::OutputToCSV(const std::string& FileName, bool Append)
{
    WriteExportFile(FileName, CSVText(), Append, "Cannot Create file ");
}

void TExStringGrid::InputFromCSV(const std::string& FileName, bool Insert)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("Cannot open file " + FileName);
    const int c0 = GetSaveStartCol();
    int r0 = Insert ? RowCount() : GetSaveStartRow();

    char sep = Delimiter;
    if (sep == 0) {
        const std::vector<std::string> lines = UnquotedRecords(data, 2);
        sep = FindDelimiter(lines.empty() ? std::string() : lines[0], lines.size() > 1 ? lines[1] : std::string());
    }
    // Too much for a grid is refused before any cell changes.
    std::string problem;
    const size_t maxFields = kMaxLoadCols - std::min<size_t>(kMaxLoadCols, size_t(std::max(0, c0)));
    const size_t maxRecords = kMaxLoadRows - std::min<size_t>(kMaxLoadRows, size_t(std::max(0, r0 + FixedFooters())));
    std::vector<std::vector<std::string>> recs = ParseCSV(data, sep, maxFields, maxRecords, problem);
    if (!problem.empty()) throw EExGridError("Cannot load file " + FileName + ": it has " + problem);
    size_t widest = 0;
    for (const auto& rec : recs) widest = std::max(widest, rec.size());
    const int footers = FixedFooters();
    const bool footerMoves = footers > 0 && FloatingFooter().Visible() && RowCount() > 0;
    {
        const int top = footerMoves && Insert ? RowCount() - 1 : r0;
        problem = LoadLimitProblem(std::max(size_t(ColCount()), widest + size_t(std::max(0, c0))),
                                   size_t(std::max(1, top + int(recs.size()) + footers)), 0);
        if (!problem.empty()) throw EExGridError("Cannot load file " + FileName + ": it has " + problem);
    }

    // a fixed footer row moves below what is loaded
    std::vector<std::string> footerTexts;
    if (footerMoves) {
        const int fr = RowCount() - 1;
        for (int c = 0; c < GetAllColCount(); ++c) {
            footerTexts.push_back(TBaseGrid::Cells(c, fr));
            SetCellEx(c, fr, "");
        }
        if (Insert) r0 = RowCount() - 1;
    }

    if (int(widest) + c0 > ColCount()) SetColCount(int(widest) + c0);
    SetRowCount(std::max(1, r0 + int(recs.size()) + footers));
    short last = -1;
    int r = r0;
    for (size_t k = 0; k < recs.size(); ++k, ++r) {
        int c = c0;
        for (std::string f : recs[k]) {
            if (OemConvert) OemToString(f);
            if (TildeCSV) JavaToLineFeeds(f);
            else CSVToLineFeeds(f);
            LoadCell(c, r, f);
            ++c;
        }
        if (OnFileProgress) {
            const short p = ProgressPercent(static_cast<long long>(k + 1), static_cast<long long>(recs.size()));
            if (p != last) OnFileProgress(this, p);
            last = p;
        }
    }
    if (!footerTexts.empty()) {
        const int fr = RowCount() - 1;
        for (int c = 0; c < int(footerTexts.size()); ++c) SetCellEx(c, fr, footerTexts[c]);
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

void TExStringGrid::SaveToASCII(const std::string& FileName)
{
    const int cols = ColCount(), rows = RowCount();
    std::vector<int> width(cols, 0);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            for (const std::string& l : TextLines(ExportCell(RemapCol(c), r), true))
                width[c] = std::max(width[c], int(l.size()));
    std::vector<int> offset(cols, 0);
    for (int c = 1; c < cols; ++c) offset[c] = offset[c - 1] + width[c - 1] + 1;

    auto align = [&](std::string t, int c, int r) {
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        GetCellAlignment(RemapCol(c), r, ha, va);
        if (ha == taRightJustify) {
            if (int(t.size()) < width[c]) t.insert(0, size_t(width[c] - int(t.size())), ' ');
        } else if (ha == taCenter) {
            while (int(t.size()) < width[c]) t = ' ' + t + ' ';
        }
        if (int(t.size()) <= width[c]) t.append(size_t(width[c] - int(t.size()) + 1), ' ');
        return t;
    };

    std::string out;
    ExportNotification(esExportStart, -1);
    for (int r = 0; r < rows; ++r) {
        ExportNotification(esExportNewRow, r);
        std::string main;
        std::vector<std::string> more;
        for (int c = 0; c < cols; ++c) {
            // every line break starts a continuation line under its own column
            const std::vector<std::string> lines = TextLines(ExportCell(RemapCol(c), r), true);
            for (size_t k = 1; k < lines.size(); ++k) {
                if (more.size() < k) more.resize(k);
                std::string& line = more[k - 1];
                if (int(line.size()) < offset[c]) line.append(size_t(offset[c] - int(line.size())), ' ');
                line += align(lines[k], c, r);
            }
            main += align(lines[0], c, r);
        }
        out += main + kCRLF;
        for (const std::string& l : more) out += l + kCRLF;
    }
    ExportNotification(esExportDone, -1);
    WriteExportFile(FileName, out, false, "Cannot create file ");
}

void TExStringGrid::SaveToFixed(const std::string& FileName, TIntList& Widths)
{
    const int c0 = GetSaveStartCol(), c1 = GetSaveEndCol();
    const int r0 = GetSaveStartRow(), r1 = GetSaveEndRow();
    for (int c = c0; c <= c1; ++c) {
        if (c - c0 < Widths.Count()) continue;
        int w = 0;
        for (int r = r0; r <= r1; ++r)
            for (const std::string& l : TextLines(ExportCell(c, r), true)) w = std::max(w, int(l.size()));
        Widths.Add(w + 1);
    }
    std::string out;
    ExportNotification(esExportStart, -1);
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            const int w = std::max(0, Widths.Items(c - c0));
            std::string t = ExportCell(c, r);
            std::replace(t.begin(), t.end(), '\r', ' ');
            std::replace(t.begin(), t.end(), '\n', ' ');
            t.resize(size_t(w), ' ');
            out += t;
        }
        out += kCRLF;
    }
    ExportNotification(esExportDone, -1);
    WriteExportFile(FileName, out, false, "Cannot Create file ");
}

void TExStringGrid::LoadFromFixed(const std::string& FileName, TIntList& Positions)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("File " + FileName + " not found");
    const int n = Positions.Count();
    for (int k = 1; k < n; ++k)
        if (Positions.Items(k - 1) < 1 || Positions.Items(k) < Positions.Items(k - 1))
            throw EExGridError("Column positions must start at 1 and ascend");
    const std::vector<std::string> lines = SplitLines(data);
    const int c0 = GetSaveStartCol();
    int r = GetSaveStartRow();
    size_t longest = 0;
    for (int k = 1; k < n; ++k) longest = std::max(longest, size_t(Positions.Items(k) - Positions.Items(k - 1)));
    const std::string problem = LoadLimitProblem(size_t(FixedCols() + std::max(0, n - 1)),
                                                 size_t(std::max(0, r)) + lines.size(), longest);
    if (!problem.empty()) throw EExGridError("Cannot load file " + FileName + ": it has " + problem);
    if (n > 1) SetColCount(FixedCols() + n - 1);
    if (r + int(lines.size()) > RowCount()) SetRowCount(r + int(lines.size()));
    for (const std::string& line : lines) {
        for (int k = 1; k < n; ++k) {
            const size_t from = size_t(Positions.Items(k - 1) - 1);
            std::string f = from < line.size() ? line.substr(from, size_t(Positions.Items(k) - Positions.Items(k - 1))) : "";
            const size_t b = f.find_first_not_of(' '), e = f.find_last_not_of(' ');
            f = b == std::string::npos ? std::string() : f.substr(b, e - b + 1);
            LoadCell(c0 + k - 1, r, f);
        }
        ++r;
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

}  // namespace grid
