// The grid's padded and fixed-width text over a cell store (see GridPlainText.h).
#include "widgets/grid/GridPlainText.h"

#include <algorithm>
#include <vector>

#include "widgets/grid/ExObj.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridFiles.h"

using namespace platform;

namespace grid {

namespace {

const char* const kCRLF = "\r\n";

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

}  // namespace

std::string WriteGridPlainText(TGridCellStore& cells)
{
    const int cols = cells.ColCount(), rows = cells.RowCount();
    std::vector<int> width(cols, 0);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            for (const std::string& l : TextLines(cells.CellText(cells.RealCol(c), r), true))
                width[c] = std::max(width[c], int(l.size()));
    std::vector<int> offset(cols, 0);
    for (int c = 1; c < cols; ++c) offset[c] = offset[c - 1] + width[c - 1] + 1;

    auto align = [&](std::string t, int c, int r) {
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        cells.Alignment(cells.RealCol(c), r, ha, va);
        if (ha == taRightJustify) {
            if (int(t.size()) < width[c]) t.insert(0, size_t(width[c] - int(t.size())), ' ');
        } else if (ha == taCenter) {
            while (int(t.size()) < width[c]) t = ' ' + t + ' ';
        }
        if (int(t.size()) <= width[c]) t.append(size_t(width[c] - int(t.size()) + 1), ' ');
        return t;
    };

    std::string out;
    cells.ExportNotification(esExportStart, -1);
    for (int r = 0; r < rows; ++r) {
        cells.ExportNotification(esExportNewRow, r);
        std::string main;
        std::vector<std::string> more;
        for (int c = 0; c < cols; ++c) {
            // every line break starts a continuation line under its own column
            const std::vector<std::string> lines = TextLines(cells.CellText(cells.RealCol(c), r), true);
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
    cells.ExportNotification(esExportDone, -1);
    return out;
}

std::string WriteGridFixedWidth(TGridCellStore& cells, TIntList& widths)
{
    const TGridBlock block = cells.SaveBlock();
    const int c0 = block.col0, c1 = block.col1;
    const int r0 = block.row0, r1 = block.row1;
    for (int c = c0; c <= c1; ++c) {
        if (c - c0 < widths.Count()) continue;
        int w = 0;
        for (int r = r0; r <= r1; ++r)
            for (const std::string& l : TextLines(cells.CellText(c, r), true)) w = std::max(w, int(l.size()));
        widths.Add(w + 1);
    }
    std::string out;
    cells.ExportNotification(esExportStart, -1);
    for (int r = r0; r <= r1; ++r) {
        cells.ExportNotification(esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            const int w = std::max(0, widths.Items(c - c0));
            std::string t = cells.CellText(c, r);
            std::replace(t.begin(), t.end(), '\r', ' ');
            std::replace(t.begin(), t.end(), '\n', ' ');
            t.resize(size_t(w), ' ');
            out += t;
        }
        out += kCRLF;
    }
    cells.ExportNotification(esExportDone, -1);
    return out;
}

std::string ReadGridFixedWidth(TGridCellStore& cells, const std::string& data, const TIntList& positions)
{
    const int n = positions.Count();
    for (int k = 1; k < n; ++k)
        if (positions.Items(k - 1) < 1 || positions.Items(k) < positions.Items(k - 1))
            throw EExGridError("Column positions must start at 1 and ascend");
    const std::vector<std::string> lines = SplitLines(data);
    const TGridBlock block = cells.SaveBlock();
    const int c0 = block.col0;
    int r = block.row0;
    size_t longest = 0;
    for (int k = 1; k < n; ++k) longest = std::max(longest, size_t(positions.Items(k) - positions.Items(k - 1)));
    const std::string problem = LoadLimitProblem(size_t(cells.FixedCols() + std::max(0, n - 1)),
                                                 size_t(std::max(0, r)) + lines.size(), longest);
    if (!problem.empty()) return problem;
    if (n > 1) cells.SetColCount(cells.FixedCols() + n - 1);
    if (r + int(lines.size()) > cells.RowCount()) cells.SetRowCount(r + int(lines.size()));
    for (const std::string& line : lines) {
        for (int k = 1; k < n; ++k) {
            const size_t from = size_t(positions.Items(k - 1) - 1);
            std::string f = from < line.size() ? line.substr(from, size_t(positions.Items(k) - positions.Items(k - 1))) : "";
            const size_t b = f.find_first_not_of(' '), e = f.find_last_not_of(' ');
            f = b == std::string::npos ? std::string() : f.substr(b, e - b + 1);
            cells.LoadCell(c0 + k - 1, r, f);
        }
        ++r;
    }
    cells.Loaded();
    return {};
}

}  // namespace grid
