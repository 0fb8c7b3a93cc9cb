// The grid's CSV writer and reader over a cell store (see GridCSV.h).
#include "widgets/grid/GridCSV.h"

#include <algorithm>
#include <vector>

#include "base/StrUtils.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridFiles.h"

namespace grid {

namespace {

const char* const kCRLF = "\r\n";

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

// The separator of two records: unpaired runs first, then plain counts, then either line.
char DelimiterOfLines(const std::string& l1, const std::string& l2)
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

std::string WriteGridCSV(TGridCellStore& cells, const TGridFileOptions& o)
{
    const char sep = o.Delimiter ? o.Delimiter : ',';
    const int extra = o.SaveHiddenCells ? cells.HiddenCols() : 0;
    const TGridBlock block = cells.SaveBlock();
    const int c0 = block.col0, c1 = block.col1 + extra;
    std::string out;
    cells.ExportNotification(esExportStart, -1);
    short last = -1;
    for (int r = block.row0; r <= block.row1; ++r) {
        cells.ExportNotification(esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            if (c > c0) out += sep;
            std::string s = cells.CellText(o.SaveHiddenCells ? c : cells.RealCol(c), r);
            s = CSVQuotes(s);
            if (o.OemConvert) StringToOem(s);
            bool quoted = false;
            if (o.AlwaysQuote || (s.find(sep) == std::string::npos && s.find('"') != std::string::npos)) {
                s = '"' + s + '"';
                quoted = true;
            }
            if (s.empty()) {
                if (o.TildeCSV) s = "^";
                else if (o.QuoteEmptyCells) s = "\"\"";
            }
            // Line breaks are always folded, so that a record stays on one line.
            const bool hasBreak = s.find('\r') != std::string::npos || s.find('\n') != std::string::npos;
            // With the default separator the reader guesses it: a cell holding any character it
            // might take is quoted, so that the guess sees only the real separators.
            const bool guessed = o.Delimiter == 0 && !quoted && !o.TildeCSV && HoldsCandidate(s);
            if (s.find(sep) != std::string::npos || hasBreak || guessed) {
                if (o.TildeCSV) {
                    LineFeedsToJava(s);
                    s.erase(std::remove(s.begin(), s.end(), '\n'), s.end());
                } else {
                    // CR LF and lone breaks become character 11; quoted here unless quoted already
                    s = base::StringReplaceAll(s, "\r\n", "\x0b");
                    std::replace(s.begin(), s.end(), '\r', '\x0b');
                    std::replace(s.begin(), s.end(), '\n', '\x0b');
                    if (!quoted) s = '"' + s + '"';
                }
            }
            out += s;
        }
        out += kCRLF;
        const short p = ProgressPercent(r, cells.RowCount() - 1);
        if (p != last) cells.Progress(p);
        last = p;
    }
    cells.ExportNotification(esExportDone, -1);
    return out;
}

char FindCSVDelimiter(const std::string& data)
{
    const std::vector<std::string> lines = UnquotedRecords(data, 2);
    return DelimiterOfLines(lines.empty() ? std::string() : lines[0], lines.size() > 1 ? lines[1] : std::string());
}

std::string ReadGridCSV(TGridCellStore& cells, const std::string& data, const TGridFileOptions& o, bool insert)
{
    const int c0 = cells.SaveBlock().col0;
    int r0 = insert ? cells.RowCount() : cells.SaveBlock().row0;
    const char sep = o.Delimiter ? o.Delimiter : FindCSVDelimiter(data);
    const int footers = cells.FooterRows();

    // Too much for a grid is refused before any cell changes.
    std::string problem;
    const size_t maxFields = kMaxLoadCols - std::min<size_t>(kMaxLoadCols, size_t(std::max(0, c0)));
    const size_t maxRecords = kMaxLoadRows - std::min<size_t>(kMaxLoadRows, size_t(std::max(0, r0 + footers)));
    std::vector<std::vector<std::string>> recs = ParseCSV(data, sep, maxFields, maxRecords, problem);
    if (!problem.empty()) return problem;
    size_t widest = 0;
    for (const auto& rec : recs) widest = std::max(widest, rec.size());
    const bool footerMoves = footers > 0 && cells.FloatingFooterRow() && cells.RowCount() > 0;
    {
        const int top = footerMoves && insert ? cells.RowCount() - 1 : r0;
        problem = LoadLimitProblem(std::max(size_t(cells.ColCount()), widest + size_t(std::max(0, c0))),
                                   size_t(std::max(1, top + int(recs.size()) + footers)), 0);
        if (!problem.empty()) return problem;
    }

    // a floating footer's row moves below what is loaded
    std::vector<std::string> footerTexts;
    if (footerMoves) {
        footerTexts = cells.TakeLastRow();
        if (insert) r0 = cells.RowCount() - 1;
    }

    if (int(widest) + c0 > cells.ColCount()) cells.SetColCount(int(widest) + c0);
    cells.SetRowCount(std::max(1, r0 + int(recs.size()) + footers));
    short last = -1;
    int r = r0;
    for (size_t k = 0; k < recs.size(); ++k, ++r) {
        int c = c0;
        for (std::string f : recs[k]) {
            if (o.OemConvert) OemToString(f);
            if (o.TildeCSV) JavaToLineFeeds(f);
            else CSVToLineFeeds(f);
            cells.LoadCell(c, r, f);
            ++c;
        }
        const short p = ProgressPercent(static_cast<long long>(k + 1), static_cast<long long>(recs.size()));
        if (p != last) cells.Progress(p);
        last = p;
    }
    if (!footerTexts.empty()) cells.PutLastRow(footerTexts);
    cells.Loaded();
    return {};
}

}  // namespace grid
