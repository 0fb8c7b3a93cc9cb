// Copying cells to the clipboard as TAB-separated text (plus the rich text of the first
// cell), cutting, and pasting text back over the cells.
#include <algorithm>

#include "platform/Streaming.h"
#include "platform/controls/Grids.h"
#include "platform/system/Clipboard.h"
#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/grid/GridFiles.h"

using namespace platform;

namespace grid {

bool TExStringGrid::ClipEditable(int ACol, int ARow)
{
    if (Navigation.AllowClipboardAlways) return true;
    bool can = (Options() & goEditing) || MouseActions.RangeSelectAndEdit || oleDrag_.oleDropping;
    GetCellReadOnly(ACol, ARow, can);
    return can;
}

void TExStringGrid::PasteInCell(int ACol, int ARow, const std::string& Value)
{
    const int c = RemapCol(ACol);
    SetCellEx(c, ARow, Value);
    if (c != ACol) RepaintCell(ACol, ARow);
}

void TExStringGrid::CorrectSelection()
{
    TGridRect s = Selection();
    bool changed = false;
    if (IsMergedCell(RemapCol(s.Left), s.Top)) {
        const TPoint b = BaseCell(RemapCol(s.Left), s.Top);
        if (RemapColInv(b.X) != s.Left || b.Y != s.Top) {
            s.Left = RemapColInv(b.X);
            s.Top = b.Y;
            changed = true;
        }
    }
    if (IsMergedCell(RemapCol(s.Right), s.Bottom)) {
        const TPoint b = BaseCell(RemapCol(s.Right), s.Bottom);
        const TPoint span = CellSpan(b.X, b.Y);
        const int right = RemapColInv(b.X) + std::max(0, span.X), bottom = b.Y + std::max(0, span.Y);
        if (right != s.Right || bottom != s.Bottom) {
            s.Right = std::max(s.Right, right);
            s.Bottom = std::max(s.Bottom, bottom);
            changed = true;
        }
    }
    if (changed) SetSelection(s);
}

std::string TExStringGrid::CopyText(const TGridRect& R, bool Disjunct)
{
    const bool manyRows = R.Bottom > R.Top;
    std::string out;
    for (int r = R.Top; r <= R.Bottom; ++r) {
        const int rs = MouseActions.RowSelectPersistent ? RemapRowInv(r) : r;
        if (MouseActions.DisjunctRowSelect && !GetRowSelect(rs) && Disjunct && !MouseActions.DisjunctColSelect)
            continue;
        ExportNotification(esExportNewRow, r);
        std::string line;
        bool wrote = false;
        for (int c = R.Left; c <= R.Right; ++c) {
            if (MouseActions.DisjunctColSelect && !GetColSelect(c) && Disjunct) continue;
            const int rc = RemapCol(c);
            std::string s = ExportCell(rc, r);
            if (s.find('\r') != std::string::npos || s.find('\n') != std::string::npos) {
                // one quoted field with LF between the lines; inner quote marks doubled so a paste gives it back
                s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
                s = '"' + CSVQuotes(s) + '"';
            }
            if (!Navigation.CopyHTMLTagsToClipboard && s.find("</") != std::string::npos) s = GetStrippedCell(rc, r);
            line += s;
            line += '\t';
            wrote = true;
        }
        if (wrote) line.pop_back();
        out += line;
        if (manyRows) out += "\r\n";
    }
    return out;
}

void TExStringGrid::CopyFunc(const TGridRect& R, bool Disjunct)
{
    ClipboardOrigin = TPoint{R.Left, R.Top};
    ExportNotification(esExportStart, -1);
    const std::string text = CopyText(R, Disjunct);
    TClipboard* cb = Clipboard();
    cb->Open();
    cb->SetAsText(text);
    if (Navigation.AllowRTFClipboard) {
        const std::string rtf = TBaseGrid::Cells(RemapCol(R.Left), R.Top);
        if (rtf.find("{\\") != std::string::npos)
            cb->SetFormatData(RegisterClipboardFormat("Rich Text Format"), rtf + std::string(1, '\0'));
    }
    if (Navigation.AllowFmtClipboard)
        cb->SetFormatData(CellsClipboardFormat(),
                          SaveRectToBinStream(TRect{RemapCol(R.Left), R.Top, RemapCol(R.Right), R.Bottom}));
    cb->Close();
    ExportNotification(esExportDone, -1);
}

void TExStringGrid::CopySelectionToClipboard()
{
    CorrectSelection();
    if (MouseActions.DisjunctRowSelect || MouseActions.DisjunctColSelect)
        CopyFunc(TGridRect{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()}, true);
    else
        CopyFunc(Selection(), false);
    LastClipOperation = coCopy;
}

void TExStringGrid::CopyToClipBoard()
{
    CopyFunc(TGridRect{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()}, false);
    LastClipOperation = coCopy;
}

void TExStringGrid::CutToClipboard()
{
    const TGridRect R{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()};
    CopyFunc(R, false);
    for (int r = R.Top; r <= R.Bottom; ++r)
        for (int c = R.Left; c <= R.Right; ++c)
            if (ClipEditable(RemapCol(c), r)) SetCellEx(RemapCol(c), r, "");
    LastClipOperation = coCut;
}

void TExStringGrid::CutSelectionToClipboard()
{
    CopySelectionToClipboard();
    const TGridRect s = Selection();
    if (MouseActions.DisjunctRowSelect) {
        for (int r = RowCount() - 1; r >= FixedRows(); --r)
            if (GetRowSelect(MouseActions.RowSelectPersistent ? RemapRowInv(r) : r)) ClearRows(r, 1);
    } else if (MouseActions.DisjunctColSelect) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (GetColSelect(c)) ClearCols(c, 1);
    } else {
        for (int r = s.Top; r <= s.Bottom; ++r)
            for (int c = s.Left; c <= s.Right; ++c)
                if (ClipEditable(RemapCol(c), r)) SetCellEx(RemapCol(c), r, "");
    }
    LastClipOperation = coCut;
}

void TExStringGrid::PasteSize(const std::string& Text, TPoint& Size)
{
    Size = TPoint{0, 0};
    int fields = 1;
    for (size_t i = 0; i < Text.size() && Text[i] != '\0'; ++i) {
        if (Text[i] == '\t') {
            ++fields;
        } else if (Text[i] == '\r') {
            ++Size.Y;
            Size.X = std::max(Size.X, fields);
            fields = 1;
        }
    }
    Size.X = std::max(Size.X, fields);
}

int TExStringGrid::PasteText(int ACol, int ARow, const std::string& Text)
{
    if (ACol < 0 || ARow < 0) return 0;
    if (!(Options() & goEditing) && !Navigation.AllowClipboardAlways && !MouseActions.RangeSelectAndEdit &&
        !oleDrag_.oleDropping)
        return 0;
    std::string text = Text.substr(0, Text.find('\0'));
    // lines end at CR (an LF after it skipped); the text's last line may end without one
    std::vector<std::string> lines;
    {
        std::string cur;
        for (size_t k = 0; k < text.size(); ++k) {
            if (text[k] == '\r') {
                lines.push_back(cur);
                cur.clear();
                if (k + 1 < text.size() && text[k + 1] == '\n') ++k;
            } else {
                cur += text[k];
            }
        }
        if (!cur.empty() || lines.empty()) lines.push_back(cur);
    }
    // Each line's fields as the cells will hold them (a quoted multi-line field unfolded).
    std::vector<std::vector<std::string>> table;
    table.reserve(lines.size());
    size_t fields = 0, longest = 0;
    for (const std::string& l : lines) {
        std::vector<std::string> row;
        size_t from = 0;
        for (;;) {
            const size_t tab = l.find('\t', from);
            std::string f = l.substr(from, tab == std::string::npos ? std::string::npos : tab - from);
            if (f.find('\n') != std::string::npos || f.find('\x0b') != std::string::npos) {
                if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = DoubleToSingleChar('"', f.substr(1, f.size() - 2));
                f = base::StringReplaceAll(f, "\n", "\r\n");
                CSVToLineFeeds(f);
            }
            longest = std::max(longest, f.size());
            row.push_back(std::move(f));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        fields = std::max(fields, row.size());
        table.push_back(std::move(row));
    }
    // Too much for a grid is refused before any cell changes; a cell is measured as read.
    const std::string problem = LoadLimitProblem(size_t(ACol) + fields, size_t(ARow) + lines.size(), longest);
    if (!problem.empty()) throw EExGridError("Cannot paste: the text has " + problem);
    const bool footerRow = FloatingFooter().Visible() && FloatingFooter().FooterStyle() == fsFixedLastRow;
    int count = 0, maxCol = ACol, maxRow = ARow;
    int i = ARow;
    for (size_t ln = 0; ln < table.size(); ++ln, ++i) {
        const int lastRow = RowCount() - (footerRow ? 1 : 0);
        if (i >= lastRow && Navigation.AllowClipboardRowGrow) SetRowCount(RowCount() + (i - lastRow + 1));
        ImportNotification(PasteWholeGrid ? isImportNewRow : isImportSelRow, i);
        const bool lastLine = ln + 1 == table.size();
        int j = ACol;
        for (size_t fi = 0; fi < table[ln].size(); ++fi) {
            std::string& f = table[ln][fi];
            const bool more = fi + 1 < table[ln].size();
            if (j >= ColCount() && Navigation.AllowClipboardColGrow) SetColCount(j + 1);
            const int rows = RowCount() - (footerRow ? 1 : 0);
            const bool store = j < ColCount() && i < rows && ClipEditable(RemapCol(j), i) &&
                               !(lastLine && !more && f.empty());
            if (store) {
                bool allow = true;
                if (f.rfind(std::string(kWidePrefix), 0) == 0) {
                    std::u16string w = DecodeWideStr(f);
                    if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, j, i, w, allow);
                    f = EncodeWideStr(w);
                } else if (OnClipboardBeforePasteCell) {
                    OnClipboardBeforePasteCell(this, j, i, f, allow);
                }
                if (allow) PasteInCell(j, i, f);
                maxCol = std::max(maxCol, j + 1);
                maxRow = std::max(maxRow, i + 1);
            }
            ++count;
            ++j;
        }
    }
    const TGridRect area{ACol, ARow, std::max(ACol, maxCol - 1), std::max(ARow, maxRow - 1)};
    PasteNotify(ClipboardOrigin, area, LastClipOperation);
    CellsChanged(TRect{RemapCol(area.Left), area.Top, RemapCol(area.Right), area.Bottom});
    return count;
}

int TExStringGrid::PasteFunc(int ACol, int ARow)
{
    TClipboard* cb = Clipboard();
    if (Navigation.AllowFmtClipboard && cb->HasFormat(CellsClipboardFormat())) {
        // data of another program is read and checked whole before a cell changes
        const std::string data = cb->GetFormatData(CellsClipboardFormat());
        TPoint size{0, 0};
        try {
            LoadBinStreamAt(TPoint{RemapCol(ACol), ARow}, data, Navigation.AllowClipboardColGrow,
                            Navigation.AllowClipboardRowGrow, &size);
        } catch (const EExGridError&) {
            return 0;
        } catch (const EReadError&) {
            return 0;
        }
        PasteNotify(ClipboardOrigin, TGridRect{ACol, ARow, ACol + size.X - 1, ARow + size.Y - 1}, LastClipOperation);
        return size.X * size.Y;
    }
    const unsigned rtfFormat = RegisterClipboardFormat("Rich Text Format");
    if (Navigation.AllowRTFClipboard && cb->HasFormat(rtfFormat)) {
        std::string rtf = cb->GetFormatData(rtfFormat);
        rtf = rtf.substr(0, rtf.find('\0'));
        if (ClipEditable(RemapCol(ACol), ARow)) PasteInCell(ACol, ARow, rtf);
        return 0;
    }
    if (cb->HasFormat(CF_TEXT)) return PasteText(ACol, ARow, cb->AsText());
    return 0;
}

void TExStringGrid::PasteFromClipboard()
{
    ImportNotification(isImportStart, -1);
    PasteWholeGrid = true;
    PasteFunc(GetSaveStartCol(), GetSaveStartRow());
    PasteWholeGrid = false;
    ImportNotification(isImportDone, -1);
}

void TExStringGrid::PasteSelectionFromClipboard()
{
    ImportNotification(isImportStart, -1);
    PasteWholeGrid = false;
    CorrectSelection();
    const TGridRect s = Selection();
    const int n = PasteFunc(MouseActions.RowSelect ? FixedCols() : s.Left, s.Top);
    const int cells = (s.Right - s.Left + 1) * (s.Bottom - s.Top + 1);
    if (Navigation.AllowSmartClipboard && n == 1 && cells > 1) {
        // one value fills the selection
        const std::string t = GetCellEx(RemapCol(s.Left), s.Top);
        for (int r = s.Top; r <= s.Bottom; ++r)
            for (int c = s.Left; c <= s.Right; ++c) {
                if (c == s.Left && r == s.Top) continue;
                if (!ClipEditable(RemapCol(c), r)) continue;
                std::string v = t;
                bool allow = true;
                if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
                if (allow) PasteInCell(c, r, v);
                PasteNotify(ClipboardOrigin, TGridRect{c, r, c, r}, coCopy);
            }
    }
    ImportNotification(isImportDone, -1);
}

}  // namespace grid
