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
#include "platform/graphics/Metafile.h"
#include "widgets/grid/ExGridBinIO.h"
#include "widgets/grid/ExGridStreamRecords.h"
#include "widgets/grid/ExUtil.h"

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

// The first version carried no cell graphics; it is still read.
constexpr char kMagic[] = "KGRID2";
constexpr char kMagicV1[] = "KGRID1";
constexpr size_t kMagicLen = sizeof kMagic - 1;
static_assert(sizeof kMagicV1 == sizeof kMagic);

// 2 for this version, 1 for the first, 0 for no grid stream.
int StreamVersion(const std::string& Data)
{
    if (Data.compare(0, kMagicLen, kMagic) == 0) return 2;
    if (Data.compare(0, kMagicLen, kMagicV1) == 0) return 1;
    return 0;
}

struct CellRecord {
    explicit CellRecord(TExStringGrid* g) : cell(g) {}
    TGridCellIO cell;
    std::unique_ptr<TGridCellPropIO> prop;
    std::unique_ptr<TGridGraphicIO> graphic;
    // what the graphic owns, by its kind
    std::unique_ptr<TGridBMPIO> bitmap;
    std::unique_ptr<TGridPicIO> picture;
    std::unique_ptr<TGridFilePicIO> filePicture;
    std::unique_ptr<TGridSLIO> strings;
};

// The kinds whose objects travel with the graphic; only objects the grid owns do.
bool CarriesObject(TCellType t) { return t == ctBitmap || t == ctPicture || t == ctFilePicture || t == ctRadio; }

// Graphics the stream cannot carry: icons and image index lists have no objects here,
// and objects the caller handed in stay the caller's.
bool Streamable(const TCellGraphic* g)
{
    if (!g || g->CellType == ctEmpty || g->CellType == ctIcon || g->CellType == ctImages ||
        g->CellType == ctBitButton)
        return false;
    return !CarriesObject(g->CellType) || g->CellCreated;
}

void WriteGraphic(TExStringGrid* grid, const TCellGraphic& g, std::string& out)
{
    TGridGraphicIO io(grid);
    io.CellGraphic().Assign(g);
    io.CellGraphic().CellCreated = g.CellCreated;
    io.Write(out);
    switch (g.CellType) {
    case ctBitmap: {
        TGridBMPIO b(grid);
        if (auto* src = dynamic_cast<const TBitmap*>(g.CellGraphicRef)) b.Bitmap().Assign(*src);
        b.Write(out);
        break;
    }
    case ctPicture: {
        TGridPicIO p(grid);
        if (auto* src = dynamic_cast<const TPicture*>(g.CellGraphicRef)) {
            if (auto* m = dynamic_cast<const TMetafile*>(src->Graphic())) {
                auto* copy = new TMetafile;  // a picture's Assign copies bitmaps only
                copy->Assign(*m);
                p.Picture().SetGraphic(copy);
            } else {
                p.Picture().Assign(*src);
            }
        }
        p.Write(out);
        break;
    }
    case ctFilePicture: {
        TGridFilePicIO f(grid);
        if (auto* src = dynamic_cast<const TFilePicture*>(g.CellGraphicRef)) f.Picture().Assign(*src);
        f.Write(out);
        break;
    }
    case ctRadio: {
        TGridSLIO l(grid);
        if (g.RadioItems) l.Strings().Assign(*g.RadioItems);
        l.Write(out);
        break;
    }
    default: break;
    }
}

// Reads the graphic of a cell and the record of what it owns.
void ReadGraphic(TExStringGrid* grid, CellRecord& rec, const std::string& Data, size_t& Pos)
{
    rec.graphic = std::make_unique<TGridGraphicIO>(grid);
    rec.graphic->Read(Data, Pos);
    TCellGraphic& g = rec.graphic->CellGraphic();
    switch (g.CellType) {
    case ctBitmap:
        rec.bitmap = std::make_unique<TGridBMPIO>(grid);
        rec.bitmap->Read(Data, Pos);
        break;
    case ctPicture:
        rec.picture = std::make_unique<TGridPicIO>(grid);
        rec.picture->Read(Data, Pos);
        break;
    case ctFilePicture:
        rec.filePicture = std::make_unique<TGridFilePicIO>(grid);
        rec.filePicture->Read(Data, Pos);
        break;
    case ctRadio:
        rec.strings = std::make_unique<TGridSLIO>(grid);
        rec.strings->Read(Data, Pos);
        break;
    case ctIcon: case ctImages: case ctBitButton: case ctEmpty:
        throw EExGridError("Grid stream holds a graphic it cannot carry");
    default: break;
    }
}

// Puts a read graphic on a cell, with new objects of the grid's own.
void ApplyGraphic(TExStringGrid* grid, CellRecord& rec, int ACol, int ARow)
{
    TCellGraphic* g = grid->CreateCellGraphic(ACol, ARow);
    g->Assign(rec.graphic->CellGraphic());
    g->CellCreated = rec.graphic->CellGraphic().CellCreated;
    if (rec.bitmap) {
        auto* b = new TBitmap;
        b->Assign(rec.bitmap->Bitmap());
        g->CellGraphicRef = b;
        g->CellCreated = true;
    } else if (rec.picture) {
        auto* p = new TPicture;
        p->Assign(rec.picture->Picture());
        g->CellGraphicRef = p;
        g->CellCreated = true;
    } else if (rec.filePicture) {
        auto* f = new TFilePicture;
        f->Assign(rec.filePicture->Picture());
        g->CellGraphicRef = f;
        g->CellCreated = true;
    } else if (rec.strings) {
        auto* l = new base::TStringList;
        l->Assign(rec.strings->Strings());
        g->RadioItems = l;
        g->CellCreated = true;
    }
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
    if (!base::WriteFileAtomic(FileName, out)) throw EExGridError("Cannot Create " + FileName);
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
    std::string out = kMagic;
    Writer w{out};
    const int cols = std::max(0, right - left + 1), rows = std::max(0, bottom - top + 1);
    const int sc = SaveFixedCells ? 0 : FixedCols(), sr = SaveFixedCells ? 0 : FixedRows();
    const bool full = left <= sc && top <= sr && right >= ColCount() - 1 && bottom >= RowCount() - 1;
    w.I(cols);
    w.I(rows);
    for (int c = left; c <= right; ++c) w.I(GetAllColWidths(c));
    for (int r = top; r <= bottom; ++r) w.I(RowHeights(r));
    w.I(full ? 1 : 0);
    w.I(int32_t(reinterpret_cast<intptr_t>(Handle()) & 0x7FFFFFFF));
    TGridCellIO cellIO(this);
    TGridCellPropIO propIO(this);
    ExportNotification(esExportStart, -1);
    short last = -1;
    for (int r = top; r <= bottom; ++r) {
        ExportNotification(esExportNewRow, r);
        for (int c = left; c <= right; ++c) {
            const std::string text = TBaseGrid::Cells(c, r);
            const TCellProperties* p = CellProps(c, r);
            if (text.empty() && !p) continue;
            cellIO.Col = c;
            cellIO.Row = r;
            cellIO.Cell = text;
            cellIO.HasProp = p != nullptr;
            cellIO.Write(out);
            if (!p) continue;
            const TCellGraphic* g = p->Graphic();
            propIO.TakeFrom(*p);
            propIO.HasGraphic = Streamable(g);
            propIO.Write(out);
            if (propIO.HasGraphic) WriteGraphic(this, *g, out);
        }
        if (OnFileProgress) {
            const short pc = ProgressPercent(r - top, bottom - top);
            if (pc != last) OnFileProgress(this, pc);
            last = pc;
        }
    }
    ExportNotification(esExportDone, -1);
    return out;
}

void TExStringGrid::LoadAtPointFromBinStream(TPoint P, const std::string& Data)
{
    // read and check everything first
    const int version = StreamVersion(Data);
    if (version == 0) throw EExGridError("Data is no grid stream");
    Reader rd{Data, kMagicLen};
    const int cols = rd.Range(0, kMaxCols, "column count"), rows = rd.Range(0, kMaxRows, "row count");
    if (size_t(cols + rows) * 4 > Data.size() - rd.p) throw EExGridError("Grid stream is truncated");
    std::vector<int> widths(static_cast<size_t>(cols)), heights(static_cast<size_t>(rows));
    for (int& v : widths) v = rd.Range(0, kMaxSize, "width");
    for (int& v : heights) v = rd.Range(0, kMaxSize, "height");
    const bool full = rd.Range(0, 1, "flag") == 1;
    rd.I();  // the writing grid's handle
    std::vector<CellRecord> cells;
    for (;;) {
        CellRecord rec(this);
        if (!rec.cell.Read(Data, rd.p)) break;
        if (rec.cell.HasProp) {
            rec.prop = std::make_unique<TGridCellPropIO>(this);
            rec.prop->Read(Data, rd.p, version >= 2);
            if (rec.prop->HasGraphic) ReadGraphic(this, rec, Data, rd.p);
        }
        cells.push_back(std::move(rec));
    }
    if (Data.size() - rd.p >= 2 && Data.find_first_not_of('\0', rd.p) != std::string::npos)
        throw EExGridError("Grid stream holds an unknown record");
    const TPoint origin = full || cells.empty() ? TPoint{0, 0} : TPoint{cells[0].cell.Col, cells[0].cell.Row};
    const int needCols = full ? cols : ColCount(), needRows = full ? rows : RowCount();
    for (const CellRecord& rec : cells) {
        const TGridCellIO& c = rec.cell;
        const int tc = P.X + c.Col - origin.X, tr = P.Y + c.Row - origin.Y;
        const int maxCols = std::max(needCols, GetAllColCount());
        if (tc < 0 || tr < 0 || tc >= maxCols || tr >= needRows)
            throw EExGridError("Grid stream holds a cell outside the grid");
        if (rec.prop) {
            // a block reaches only cells of the grid, a covered cell only a base inside it
            const TCellProperties& p = rec.prop->CellProperties();
            const int sx = std::max(0, p.CellSpanX), sy = std::max(0, p.CellSpanY);
            const bool ok = p.IsBaseCell ? tc + sx < maxCols && tr + sy < needRows : tc - sx >= 0 && tr - sy >= 0;
            if (!ok) throw EExGridError("Grid stream holds a merged block outside the grid");
        }
    }

    if (full) {
        Clear();
        SetRowCount(std::max(1, rows));
        SetColCount(std::max(1, cols));
        for (int k = 0; k < cols && k < ColCount(); ++k) SetColWidths(k, widths[size_t(k)]);
        for (int k = 0; k < rows && k < RowCount(); ++k) SetRowHeights(k, heights[size_t(k)]);
    }
    for (CellRecord& rec : cells) {
        const TGridCellIO& c = rec.cell;
        const int tc = P.X + c.Col - origin.X, tr = P.Y + c.Row - origin.Y;
        if (rec.prop)
            if (TCellProperties* p = GetCellProperties(tc, tr)) rec.prop->ApplyTo(*p);
        if (rec.graphic) ApplyGraphic(this, rec, tc, tr);
        platform::TStringGrid::SetCells(tc, tr, c.Cell);  // the store itself: covered cells keep their own text
    }
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
}

bool TExStringGrid::BinStreamSize(const std::string& Data, int& Cols, int& Rows)
{
    if (StreamVersion(Data) == 0) return false;
    try {
        Reader rd{Data, kMagicLen};
        Cols = rd.Range(0, kMaxCols, "column count");
        Rows = rd.Range(0, kMaxRows, "row count");
    } catch (const EExGridError&) {
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
    LoadAtPointFromBinStream(TPoint{0, 0}, Data);
    int nodes = 0;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (const TCellGraphic* g = GetCellGraphic(0, r); g && g->CellType == ctNode) ++nodes;
    nodeCount_ = nodes;
    if (nodes > 0) RepaintCol(0);
}

void TExStringGrid::SaveToBinFile(const std::string& FileName)
{
    if (!base::WriteFileAtomic(FileName, SaveToBinStream())) throw EExGridError("Cannot Create " + FileName);
}

void TExStringGrid::LoadFromBinFile(const std::string& FileName)
{
    std::string data;
    if (!base::ReadFile(FileName, data)) throw EExGridError("Cannot open file " + FileName);
    LoadFromBinStream(data);
}

}  // namespace grid
