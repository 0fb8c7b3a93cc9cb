// The grid's own formats: the grid text file (and its stream form) and the binary grid
// stream of a block of cells. Readers check the whole input before the grid changes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <vector>

#include "base/FileUtils.h"
#include "widgets/grid/ExGrid.h"
#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "platform/Streaming.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/Metafile.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/ExGridBinIO.h"
#include "widgets/grid/ExGridStreamRecords.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridFiles.h"

using namespace platform;

namespace grid {

using namespace binio;

namespace {


// A whole decimal number of at most nine digits, nothing else.
bool StrictInt(const std::string& s, int& v)
{
    if (s.empty() || s.size() > 9) return false;
    v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    return true;
}

struct TextLine {
    enum Kind { Width, Cell } kind;
    int a, b;
    std::string text;
};

struct TextPlan {
    bool hasCounts = false;
    int cols = 0, rows = 0;
    std::vector<TextLine> lines;
};

// One "cw c,w" or "c,r,text" line; false for a line that is neither.
bool ParseLine(const std::string& l, TextLine& out, bool& bad)
{
    bad = false;
    if (l.rfind("cw", 0) == 0) {
        const size_t comma = l.find(',');
        int c = 0, w = 0;
        if (l.size() < 4 || comma == std::string::npos || !StrictInt(l.substr(3, comma - 3), c) ||
            !StrictInt(l.substr(comma + 1), w) || w > kMaxSize) {
            bad = true;
            return false;
        }
        out = TextLine{TextLine::Width, c, w, {}};
        return true;
    }
    const size_t c1 = l.find(',');
    const size_t c2 = c1 == std::string::npos ? std::string::npos : l.find(',', c1 + 1);
    if (c2 == std::string::npos || c1 == 0 || c2 == c1 + 1) return false;
    int c = 0, r = 0;
    if (!StrictInt(l.substr(0, c1), c) || !StrictInt(l.substr(c1 + 1, c2 - c1 - 1), r)) {
        bad = true;
        return false;
    }
    out = TextLine{TextLine::Cell, c, r, l.substr(c2 + 1)};
    return true;
}

bool ParseCounts(const std::string& l, int& n, int& m)
{
    const size_t comma = l.find(',');
    return comma != std::string::npos && StrictInt(l.substr(0, comma), n) && StrictInt(l.substr(comma + 1), m);
}

// ---- binary stream

// The kinds whose objects travel with the graphic; only objects the grid owns do.
bool CarriesObject(TCellType t)
{
    switch (t) {
    case ctBitmap: case ctBitButton: case ctIcon: case ctRadio: case ctImages: case ctPicture: case ctFilePicture:
        return true;
    default: return false;
    }
}

bool Owned(const TCellGraphic& g) { return g.CellCreated || g.CellType == ctImages; }

// Objects the caller handed in stay the caller's: such a graphic is not written.
bool Streamable(const TCellGraphic* g) { return g && g->CellType != ctEmpty && (!CarriesObject(g->CellType) || Owned(*g)); }

std::string JoinInts(const std::vector<int>& v)
{
    std::string s;
    for (size_t k = 0; k < v.size(); ++k) s += (k ? "," : "") + std::to_string(v[k]);
    return s;
}

// "64,20,..." with every entry from 0 to kMaxSize, at most Count of them.
std::vector<int> SplitInts(const std::string& s, int Count)
{
    std::vector<int> out;
    if (s.empty()) return out;
    size_t at = 0;
    for (;;) {
        const size_t comma = s.find(',', at);
        int v = 0;
        if (!StrictInt(s.substr(at, comma == std::string::npos ? std::string::npos : comma - at), v) || v > kMaxSize ||
            int(out.size()) >= Count)
            throw EExGridError("Grid stream holds bad sizes");
        out.push_back(v);
        if (comma == std::string::npos) return out;
        at = comma + 1;
    }
}

void WriteGraphic(TExStringGrid* grid, const TCellGraphic& g, TStream& out)
{
    TGridGraphicIO io(grid);
    io.CellGraphic().Assign(g);
    io.CellGraphic().CellCreated = g.CellCreated;
    out.WriteComponent(&io);
    switch (g.CellType) {
    case ctBitmap: case ctBitButton: {
        TGridBMPIO b(grid);
        if (auto* src = dynamic_cast<const TBitmap*>(g.CellGraphicRef)) b.Bitmap().Assign(*src);
        out.WriteComponent(&b);
        break;
    }
    case ctIcon: {
        TGridIconIO i(grid);
        if (auto* src = dynamic_cast<const TIcon*>(g.CellIconRef)) i.Icon().Assign(*src);
        out.WriteComponent(&i);
        break;
    }
    case ctPicture: {
        TGridPicIO p(grid);
        if (auto* src = dynamic_cast<const TPicture*>(g.CellGraphicRef)) {
            if (TGraphic* m = src->Graphic(); m && !dynamic_cast<TBitmap*>(m)) {
                // other graphics (recorded metafiles) go as their drawing at their own size
                TBitmap drawn(m->Width(), m->Height());
                if (!drawn.Empty()) m->Draw(*drawn.Canvas(), TRect{0, 0, m->Width(), m->Height()});
                drawn.SetTransparent(m->Transparent());
                p.Picture().SetGraphic(&drawn);
            } else {
                p.Picture().Assign(*src);
            }
        }
        out.WriteComponent(&p);
        break;
    }
    case ctFilePicture: {
        TGridFilePicIO f(grid);
        if (auto* src = dynamic_cast<const TFilePicture*>(g.CellGraphicRef)) f.Picture().Assign(*src);
        out.WriteComponent(&f);
        break;
    }
    case ctRadio: {
        TGridSLIO l(grid);
        if (g.RadioItems) l.Strings().Assign(*g.RadioItems);
        out.WriteComponent(&l);
        break;
    }
    case ctImages: {
        TGridSLIO l(grid);
        if (auto* list = dynamic_cast<const TIntList*>(g.CellGraphicRef)) l.Strings().SetCommaText(list->StrValue());
        out.WriteComponent(&l);
        break;
    }
    default: break;
    }
}

// A cell as read, before anything reaches the grid.
struct CellPlan {
    int col = 0, row = 0;
    std::string text;
    std::unique_ptr<TCellProperties> props;
    std::unique_ptr<TCellGraphic> graphic;  // without objects
    std::unique_ptr<TBitmap> bitmap;
    std::unique_ptr<TIcon> icon;
    std::unique_ptr<TPicture> picture;
    std::unique_ptr<TFilePicture> filePicture;
    std::unique_ptr<base::TStringList> strings;
    std::unique_ptr<TIntList> images;
};

// Each record is read into a record of its own, fresh for each read: values at their
// defaults are not in the stream.
template <class R>
std::unique_ptr<R> ReadRecord(TExStringGrid* grid, TStream& in)
{
    auto r = std::make_unique<R>(grid);
    in.ReadComponent(r.get());
    return r;
}

void ReadGraphic(TExStringGrid* grid, CellPlan& plan, TStream& in)
{
    auto io = ReadRecord<TGridGraphicIO>(grid, in);
    const TCellGraphic& g = io->CellGraphic();
    if (g.CellType == ctEmpty) throw EExGridError("Grid stream holds an empty graphic");
    plan.graphic = std::make_unique<TCellGraphic>();
    plan.graphic->Assign(g);
    plan.graphic->CellCreated = g.CellCreated;
    switch (g.CellType) {
    case ctBitmap: case ctBitButton:
        plan.bitmap = std::make_unique<TBitmap>();
        plan.bitmap->Assign(ReadRecord<TGridBMPIO>(grid, in)->Bitmap());
        break;
    case ctIcon:
        plan.icon = std::make_unique<TIcon>();
        plan.icon->Assign(ReadRecord<TGridIconIO>(grid, in)->Icon());
        break;
    case ctPicture:
        plan.picture = std::make_unique<TPicture>();
        plan.picture->Assign(ReadRecord<TGridPicIO>(grid, in)->Picture());
        break;
    case ctFilePicture:
        plan.filePicture = std::make_unique<TFilePicture>();
        plan.filePicture->Assign(ReadRecord<TGridFilePicIO>(grid, in)->Picture());
        break;
    case ctRadio:
        plan.strings = std::make_unique<base::TStringList>();
        plan.strings->Assign(ReadRecord<TGridSLIO>(grid, in)->Strings());
        break;
    case ctImages: {
        plan.images = std::make_unique<TIntList>();
        const std::string text = ReadRecord<TGridSLIO>(grid, in)->Strings().CommaText();
        try {
            plan.images->SetStrValue(text);
        } catch (const base::EConvertError&) {
            throw EExGridError("Grid stream holds a bad image index list");
        }
        break;
    }
    default: break;
    }
}

// Puts a read graphic on a cell, with new objects of the grid's own.
void ApplyGraphic(TExStringGrid* grid, CellPlan& plan, int ACol, int ARow)
{
    TCellGraphic* g = grid->CreateCellGraphic(ACol, ARow);
    g->Assign(*plan.graphic);
    g->CellCreated = plan.graphic->CellCreated;
    if (plan.bitmap) {
        g->CellGraphicRef = plan.bitmap.release();
        g->CellCreated = true;
    } else if (plan.icon) {
        g->CellIconRef = plan.icon.release();
        g->CellCreated = true;
    } else if (plan.picture) {
        g->CellGraphicRef = plan.picture.release();
        g->CellCreated = true;
    } else if (plan.filePicture) {
        g->CellGraphicRef = plan.filePicture.release();
        g->CellCreated = true;
    } else if (plan.strings) {
        g->RadioItems = plan.strings.release();
        g->CellCreated = true;
    } else if (plan.images) {
        g->CellGraphicRef = plan.images.release();
    } else if (CarriesObject(g->CellType)) {
        g->CellCreated = false;  // nothing of its own came with it
    }
}

// Only zero bytes from the reading position on: the padding of a clipboard block.
bool OnlyPadding(TMemoryStream& in)
{
    const std::string& d = in.DataString();
    return d.find_first_not_of('\0', size_t(in.Position())) == std::string::npos;
}

}  // namespace

// ---------------------------------------------------------------- grid text file

void TExStringGrid::SaveToFile(const std::string& FileName)
{
    const int extra = SaveHiddenCells ? NumHiddenColumns() : 0;
    const int c0 = GetSaveStartCol(), c1 = GetSaveEndCol() + extra;
    const int r0 = GetSaveStartRow(), r1 = GetSaveEndRow();
    const int m = GetSaveRowCount();
    std::string out = std::to_string(GetSaveColCount() + extra) + "," + std::to_string(m) + "\r\n";
    for (int c = c0; c <= c1; ++c) out += "cw " + std::to_string(c) + "," + std::to_string(GetAllColWidths(c)) + "\r\n";
    ExportNotification(esExportStart, -1);
    short last = -1;
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            const std::string s = ExportCell(c, r);
            if (!s.empty()) out += std::to_string(c) + "," + std::to_string(r) + "," + LfToFile(s) + "\r\n";
        }
        if (OnFileProgress) {
            const short p = ProgressPercent(r, m - 1);
            if (p != last) OnFileProgress(this, p);
            last = p;
        }
    }
    ExportNotification(esExportDone, -1);
    std::string why;
    if (!base::WriteFileAtomic(FileName, out, &why)) throw EExGridError("Cannot Create " + FileName + ". " + why);
}

void TExStringGrid::LoadFromFile(const std::string& FileName)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("Cannot open file " + FileName);
    const std::string corrupt = "File contains no data or corrupt file " + FileName;
    const int co = SaveFixedCells ? 0 : FixedCols(), ro = SaveFixedCells ? 0 : FixedRows();
    TextPlan plan;
    size_t pos = 0;
    bool first = true;
    while (pos < data.size()) {
        size_t e = data.find('\n', pos);
        if (e == std::string::npos) e = data.size();
        std::string l = data.substr(pos, e - pos);
        pos = e + 1;
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (first) {
            first = false;
            if (l.empty()) continue;
            if (!ParseCounts(l, plan.cols, plan.rows) || plan.cols + co > kMaxCols || plan.rows + ro > kMaxRows)
                throw EExGridError(corrupt);
            if (const std::string problem = LoadLimitProblem(size_t(plan.cols + co), size_t(plan.rows + ro), 0);
                !problem.empty())
                throw EExGridError("Cannot load file " + FileName + ": it has " + problem);
            plan.hasCounts = true;
            continue;
        }
        if (l.empty()) continue;
        TextLine tl;
        bool bad = false;
        if (!ParseLine(l, tl, bad)) throw EExGridError(corrupt);
        plan.lines.push_back(std::move(tl));
    }
    const int cols = plan.hasCounts ? plan.cols + co : ColCount();
    const int rows = plan.hasCounts ? plan.rows + ro : RowCount();
    if (cols == 0 || rows == 0 || first) throw EExGridError(corrupt);
    for (const TextLine& l : plan.lines)
        if ((l.kind == TextLine::Width && l.a >= cols) || (l.kind == TextLine::Cell && (l.a >= cols || l.b >= rows)))
            throw EExGridError(corrupt);

    SetColCount(cols);
    SetRowCount(rows);
    short last = -1;
    for (const TextLine& l : plan.lines) {
        if (l.kind == TextLine::Width) {
            if (l.a < ColCount()) SetColWidths(l.a, l.b);
            continue;
        }
        LoadCell(l.a, l.b, FileToLf(l.text, Multilinecells));
        if (OnFileProgress) {
            const short p = ProgressPercent(l.b, RowCount() - 1);
            if (p != last) OnFileProgress(this, p);
            last = p;
        }
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

void TExStringGrid::SaveToStream(std::ostream& Stream)
{
    const int c0 = GetSaveStartCol(), c1 = GetSaveEndCol();
    const int r0 = GetSaveStartRow(), r1 = GetSaveEndRow();
    std::string out = std::to_string(GetSaveColCount()) + "," + std::to_string(GetSaveRowCount()) + "\r\n";
    for (int c = 0; c < ColCount(); ++c) out += "cw " + std::to_string(c) + "," + std::to_string(ColWidths(c)) + "\r\n";
    ExportNotification(esExportStart, -1);
    for (int r = r0; r <= r1; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = c0; c <= c1; ++c) {
            const std::string s = ExportCell(c, r);
            if (!s.empty()) out += std::to_string(c - c0) + "," + std::to_string(r - r0) + "," + LfToFile(s) + "\r\n";
        }
    }
    ExportNotification(esExportDone, -1);
    Stream.write(out.data(), std::streamsize(out.size()));
}

void TExStringGrid::LoadFromStream(std::istream& Stream)
{
    const std::streampos start = Stream.tellg();
    auto readLine = [&](std::string& l) {
        l.clear();
        int ch;
        while ((ch = Stream.get()) != std::char_traits<char>::eof()) {
            if (ch == '\r') {
                if (Stream.peek() == '\n') Stream.get();
                return true;
            }
            if (ch == '\n') return true;
            l += char(ch);
        }
        return !l.empty();
    };
    auto fail = [&](const char* why) {
        Stream.clear();
        Stream.seekg(start);
        throw EExGridError(std::string("Grid stream ") + why);
    };
    const int c0 = GetSaveStartCol(), r0 = GetSaveStartRow();
    TextPlan plan;
    std::string l;
    if (readLine(l) && !l.empty()) {
        if (!ParseCounts(l, plan.cols, plan.rows) || plan.cols + c0 > kMaxCols || plan.rows + r0 > kMaxRows)
            fail("holds bad counts");
        if (!LoadLimitProblem(size_t(plan.cols + c0), size_t(plan.rows + r0), 0).empty())
            fail("holds more cells than a grid takes");
        plan.hasCounts = true;
    }
    for (;;) {
        const std::streampos at = Stream.tellg();
        if (!readLine(l)) break;
        TextLine tl;
        bool bad = false;
        if (!ParseLine(l, tl, bad)) {
            if (bad) fail("holds a bad number");
            Stream.clear();
            Stream.seekg(at);  // what follows the grid is left for the caller
            break;
        }
        plan.lines.push_back(std::move(tl));
    }
    const int cols = plan.hasCounts ? plan.cols + c0 : ColCount();
    const int rows = plan.hasCounts ? plan.rows + r0 : RowCount();
    for (const TextLine& t : plan.lines)
        if ((t.kind == TextLine::Width && t.a >= std::max(cols, 1)) ||
            (t.kind == TextLine::Cell && (c0 + t.a >= cols || r0 + t.b >= rows)))
            fail("names a cell outside its counts");
    if (plan.hasCounts) {
        SetColCount(cols);
        SetRowCount(rows);
    }
    for (const TextLine& t : plan.lines) {
        if (t.kind == TextLine::Width) SetColWidths(t.a, t.b);
        else LoadCell(c0 + t.a, r0 + t.b, FileToLf(t.text, Multilinecells));
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

// ---------------------------------------------------------------- binary grid stream

std::string TExStringGrid::SaveRectToBinStream(const TRect& R)
{
    const int left = std::max(0, R.Left), top = std::max(0, R.Top);
    const int right = std::min(R.Right, GetAllColCount() - 1), bottom = std::min(R.Bottom, RowCount() - 1);
    const int cols = std::max(0, right - left + 1), rows = std::max(0, bottom - top + 1);
    const int sc = SaveFixedCells ? 0 : FixedCols(), sr = SaveFixedCells ? 0 : FixedRows();
    TMemoryStream out;
    const bool full = left <= sc && top <= sr && right >= ColCount() - 1 && bottom >= RowCount() - 1;
    {
        TGridPropIO head(this);
        head.ColCount = cols;
        head.RowCount = rows;
        std::vector<int> widths, heights;
        for (int c = left; c <= right; ++c) widths.push_back(GetAllColWidths(c));
        for (int r = top; r <= bottom; ++r) heights.push_back(RowHeights(r));
        head.ColWidths = JoinInts(widths);
        head.RowHeights = JoinInts(heights);
        head.FullGrid = full;
        head.ID = int(reinterpret_cast<intptr_t>(Handle()) & 0x7FFFFFFF);
        out.WriteComponent(&head);
    }
    TGridCellIO cellIO(this);
    TGridCellPropIO propIO(this);
    ExportNotification(esExportStart, -1);
    short last = -1;
    for (int r = top; r <= bottom; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = left; c <= right; ++c) {
            const std::string text = TBaseGrid::Cells(c, r);
            const TCellProperties* p = CellProps(c, r);
            // a block's top-left cell is always written: it tells a reader where the block starts
            if (text.empty() && !p && (full || c != left || r != top)) continue;
            cellIO.Col = c;
            cellIO.Row = r;
            cellIO.Cell = text;
            cellIO.HasProp = p != nullptr;
            out.WriteComponent(&cellIO);
            if (!p) continue;
            const TCellGraphic* g = p->Graphic();
            propIO.TakeFrom(*p);
            propIO.HasGraphic = Streamable(g);
            out.WriteComponent(&propIO);
            if (propIO.HasGraphic) WriteGraphic(this, *g, out);
        }
        if (OnFileProgress) {
            const short pc = ProgressPercent(r - top, bottom - top);
            if (pc != last) OnFileProgress(this, pc);
            last = pc;
        }
    }
    ExportNotification(esExportDone, -1);
    return out.DataString();
}

void TExStringGrid::LoadAtPointFromBinStream(TPoint P, const std::string& Data)
{
    LoadBinStreamAt(P, Data, false, false, nullptr);
}

void TExStringGrid::LoadBinStreamAt(TPoint P, const std::string& Data, bool GrowCols, bool GrowRows, TPoint* Size)
{
    // read and check everything first
    TMemoryStream in(Data);
    const auto head = ReadRecord<TGridPropIO>(this, in);
    if (head->ColCount < 0 || head->ColCount > kMaxCols || head->RowCount < 0 || head->RowCount > kMaxRows)
        throw EExGridError("Grid stream holds bad counts");
    const int cols = head->ColCount, rows = head->RowCount;
    const std::vector<int> widths = SplitInts(head->ColWidths, cols), heights = SplitInts(head->RowHeights, rows);
    std::vector<CellPlan> cells;
    while (in.Size() - in.Position() >= 2 && !OnlyPadding(in)) {
        CellPlan plan;
        const auto cell = ReadRecord<TGridCellIO>(this, in);
        if (cell->Col < 0 || cell->Col > kMaxCols || cell->Row < 0 || cell->Row > kMaxRows)
            throw EExGridError("Grid stream holds a cell outside the grid");
        plan.col = cell->Col;
        plan.row = cell->Row;
        plan.text = cell->Cell;
        if (cell->HasProp) {
            const auto prop = ReadRecord<TGridCellPropIO>(this, in);
            prop->Check();
            plan.props = std::make_unique<TCellProperties>(this, 0, 0);
            prop->ApplyTo(*plan.props);
            if (prop->HasGraphic) ReadGraphic(this, plan, in);
        }
        cells.push_back(std::move(plan));
    }
    // A whole grid was written from the first cell of its save range, its records at their
    // grid positions; a block's first record is its top-left cell.
    const TPoint start{GetSaveStartCol(), GetSaveStartRow()};
    const bool replace = head->FullGrid && P.X == start.X && P.Y == start.Y;
    const TPoint origin = head->FullGrid ? start : cells.empty() ? P : TPoint{cells[0].col, cells[0].row};
    long long needCols = replace ? start.X + cols : GetAllColCount(), needRows = replace ? start.Y + rows : RowCount();
    if (!replace) {
        // a block may widen the grid where growing is allowed, never shrink it
        if (GrowCols) needCols = std::max<long long>(needCols, (long long)P.X + cols);
        if (GrowRows) needRows = std::max<long long>(needRows, (long long)P.Y + rows);
        for (const CellPlan& c : cells) {
            const long long tc = (long long)P.X + c.col - origin.X, tr = (long long)P.Y + c.row - origin.Y;
            const long long sx = c.props && c.props->IsBaseCell ? std::max(0, c.props->CellSpanX) : 0;
            const long long sy = c.props && c.props->IsBaseCell ? std::max(0, c.props->CellSpanY) : 0;
            if (GrowCols) needCols = std::max(needCols, tc + sx + 1);
            if (GrowRows) needRows = std::max(needRows, tr + sy + 1);
        }
    }
    if (const std::string problem = LoadLimitProblem(size_t(std::max(0LL, needCols)), size_t(std::max(0LL, needRows)), 0);
        !problem.empty())
        throw EExGridError("Grid stream holds " + problem);
    for (const CellPlan& c : cells) {
        // every record lies inside the block its header gives, so a block covers its own cells only
        if (c.col < origin.X || c.row < origin.Y || c.col - origin.X >= cols || c.row - origin.Y >= rows)
            throw EExGridError("Grid stream holds a cell outside its block");
        const long long tc = (long long)P.X + c.col - origin.X, tr = (long long)P.Y + c.row - origin.Y;
        if (tc < 0 || tr < 0 || tc >= needCols || tr >= needRows)
            throw EExGridError("Grid stream holds a cell outside the grid");
        if (c.props) {
            // a block reaches only cells of the grid, a covered cell only a base inside it
            const TCellProperties& p = *c.props;
            const int sx = std::max(0, p.CellSpanX), sy = std::max(0, p.CellSpanY);
            const bool ok = p.IsBaseCell ? tc + sx < needCols && tr + sy < needRows : tc - sx >= 0 && tr - sy >= 0;
            if (!ok) throw EExGridError("Grid stream holds a merged block outside the grid");
        }
    }

    if (replace) {
        // cells before the save range are not in the stream and keep their text
        if (start.X == 0 && start.Y == 0) Clear();
        else ClearRect(start.X, start.Y, StoreColCount() - 1, RowCount() - 1);
        SetRowCount(std::max(1, int(needRows)));
        SetColCount(std::max(1, int(needCols)));
        for (int k = 0; k < int(widths.size()) && start.X + k < ColCount(); ++k)
            SetColWidths(start.X + k, widths[size_t(k)]);
        for (int k = 0; k < int(heights.size()) && start.Y + k < RowCount(); ++k)
            SetRowHeights(start.Y + k, heights[size_t(k)]);
    } else {
        if (needCols > GetAllColCount()) SetColCount(int(needCols) - NumHiddenColumns());
        if (needRows > RowCount()) SetRowCount(int(needRows));
    }
    for (CellPlan& c : cells) {
        const int tc = P.X + c.col - origin.X, tr = P.Y + c.row - origin.Y;
        if (c.props) {
            if (TCellProperties* p = GetCellProperties(tc, tr)) {
                TGridCellPropIO io(this);
                io.TakeFrom(*c.props);
                io.ApplyTo(*p);
            }
        }
        if (c.graphic) ApplyGraphic(this, c, tc, tr);
        platform::TStringGrid::SetCells(tc, tr, c.text);  // the store itself: covered cells keep their own text
    }
    if (Size) *Size = TPoint{cols, rows};
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

bool TExStringGrid::BinStreamSize(const std::string& Data, int& Cols, int& Rows)
{
    try {
        TMemoryStream in(Data);
        TGridPropIO head(nullptr);
        in.ReadComponent(&head);
        if (head.ColCount < 0 || head.ColCount > kMaxCols || head.RowCount < 0 || head.RowCount > kMaxRows)
            return false;
        Cols = head.ColCount;
        Rows = head.RowCount;
    } catch (const EReadError&) {
        return false;
    }
    return true;
}

std::string TExStringGrid::SaveToBinStream()
{
    const int sc = SaveFixedCells ? 0 : FixedCols(), sr = SaveFixedCells ? 0 : FixedRows();
    return SaveRectToBinStream(TRect{sc, sr, ColCount() - 1, RowCount() - 1});
}

void TExStringGrid::LoadFromBinStream(const std::string& Data)
{
    // where SaveToBinStream started
    LoadAtPointFromBinStream(TPoint{GetSaveStartCol(), GetSaveStartRow()}, Data);
    int nodes = 0;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (const TCellGraphic* g = GetCellGraphic(0, r); g && g->CellType == ctNode) ++nodes;
    nodeCount_ = nodes;
    if (nodes > 0) RepaintCol(0);
}

void TExStringGrid::SaveToBinFile(const std::string& FileName)
{
    std::string why;
    if (!base::WriteFileAtomic(FileName, SaveToBinStream(), &why))
        throw EExGridError("Cannot Create " + FileName + ". " + why);
}

void TExStringGrid::LoadFromBinFile(const std::string& FileName)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("Cannot open file " + FileName);
    LoadFromBinStream(data);
}

}  // namespace grid
