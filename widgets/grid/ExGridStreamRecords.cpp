// The records of the binary cell stream: a cell's place, text and property flag, the
// cell's properties, its graphic and the objects the graphic owns. Reading checks every
// field before anything is kept.
#include "widgets/grid/ExGridStreamRecords.h"

#include <cstring>

#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridBinIO.h"

using namespace platform;

namespace grid {

using namespace binio;

void TGridCellIO::Write(std::string& Out) const
{
    Writer w{Out};
    Out += 'C';
    w.I(Col);
    w.I(Row);
    w.S(Cell);
    w.I(HasProp ? 1 : 0);
}

bool TGridCellIO::Read(const std::string& Data, size_t& Pos)
{
    if (Pos >= Data.size() || Data.size() - Pos < 2 || Data[Pos] != 'C') return false;
    Reader rd{Data, Pos + 1};
    const int col = rd.Range(0, kMaxCols, "column");
    const int row = rd.Range(0, kMaxRows, "row");
    std::string text = rd.S();
    const bool has = rd.Range(0, 1, "flag") == 1;
    Col = col;
    Row = row;
    Cell = std::move(text);
    HasProp = has;
    Pos = rd.p;
    return true;
}

TGridCellPropIO::TGridCellPropIO(TExStringGrid* AOwner) : props_(std::make_unique<TCellProperties>(AOwner, 0, 0)) {}

TGridCellPropIO::~TGridCellPropIO() = default;

void TGridCellPropIO::Write(std::string& Out) const
{
    Writer w{Out};
    const TCellProperties& p = *props_;
    for (int v : {int(p.BrushStyle), int(p.BrushColor()), int(p.BrushColorTo()), p.FontSize, int(p.FontColor),
                  int(p.FontStyle), p.CellSpanX, p.CellSpanY, p.BorderWidth, int(p.BorderColor), int(p.Alignment),
                  int(p.VAlignment()), int(p.WordWrap()), int(p.IsBaseCell), p.NodeLevel, int(p.Editor),
                  int(p.ReadOnly), p.CalcType})
        w.I(v);
    w.S(p.FontName);
    w.I(HasGraphic ? 1 : 0);
}

void TGridCellPropIO::Read(const std::string& Data, size_t& Pos, bool WithGraphicFlag)
{
    Reader rd{Data, Pos};
    int f[18];
    for (int& v : f) v = rd.I();
    const int brushStyle = f[0], fontSize = f[3], spanX = f[6], spanY = f[7], alignment = f[10], vAlignment = f[11],
              editor = f[15];
    if (spanX < -1 || spanX > kMaxCols || spanY < -1 || spanY > kMaxRows || alignment < 0 || alignment > 2 ||
        vAlignment < 0 || vAlignment > 2 || fontSize < 0 || fontSize > 1000 || editor < 0 || editor > 64 ||
        brushStyle < 0 || brushStyle > 7 || f[8] < 0 || f[8] > 1000)
        throw EExGridError("Grid stream holds bad cell properties");
    std::string fontName = rd.S();
    const bool hasGraphic = WithGraphicFlag && rd.Range(0, 1, "flag") == 1;
    TCellProperties& p = *props_;
    p.BrushStyle = TBrushStyle(brushStyle);
    p.SetBrushColor(TColor(f[1]));
    p.SetBrushColorTo(TColor(f[2]));
    p.FontSize = fontSize;
    p.FontColor = TColor(f[4]);
    p.FontStyle = TFontStyles(f[5]);
    p.CellSpanX = spanX;
    p.CellSpanY = spanY;
    p.BorderWidth = f[8];
    p.BorderColor = TColor(f[9]);
    p.Alignment = TAlignment(alignment);
    p.SetVAlignment(TVAlignment(vAlignment));
    p.SetWordWrap(f[12] != 0);
    p.IsBaseCell = f[13] != 0;
    p.NodeLevel = f[14];
    p.Editor = TEditorType(editor);
    p.ReadOnly = f[16] != 0;
    p.CalcType = f[17];
    p.FontName = std::move(fontName);
    HasGraphic = hasGraphic;
    Pos = rd.p;
}

namespace {

// What the stream carries of a cell's properties; the owner cell, user object, control
// and graphic stay.
void CopyStreamed(const TCellProperties& s, TCellProperties& P)
{
    P.BrushStyle = s.BrushStyle;
    P.SetBrushColor(s.BrushColor());
    P.SetBrushColorTo(s.BrushColorTo());
    P.FontSize = s.FontSize;
    P.FontColor = s.FontColor;
    P.FontStyle = s.FontStyle;
    P.CellSpanX = s.CellSpanX;
    P.CellSpanY = s.CellSpanY;
    P.BorderWidth = s.BorderWidth;
    P.BorderColor = s.BorderColor;
    P.Alignment = s.Alignment;
    P.SetVAlignment(s.VAlignment());
    P.SetWordWrap(s.WordWrap());
    P.IsBaseCell = s.IsBaseCell;
    P.NodeLevel = s.NodeLevel;
    P.Editor = s.Editor;
    P.ReadOnly = s.ReadOnly;
    P.CalcType = s.CalcType;
    P.FontName = s.FontName;
}

}  // namespace

void TGridCellPropIO::TakeFrom(const TCellProperties& P) { CopyStreamed(P, *props_); }

void TGridCellPropIO::ApplyTo(TCellProperties& P) const { CopyStreamed(*props_, P); }

// ---- graphics

namespace {

// Each record after the cell's properties starts with its own tag.
void Tag(const std::string& Data, size_t Pos, char T, const char* what)
{
    if (Pos >= Data.size() || Data[Pos] != T) throw EExGridError(std::string("Grid stream lacks the ") + what);
}

void WriteBitmap(Writer& w, const TBitmap& B)
{
    auto& b = const_cast<TBitmap&>(B);  // ScanLine only reads here
    const int wd = b.Width(), ht = b.Height();
    w.I(wd);
    w.I(ht);
    w.I(int(b.PixelFormat()));
    w.I(b.Transparent() ? 1 : 0);
    w.I(int(b.TransparentMode()));
    w.I(b.TransparentMode() == tmFixed ? int(b.TransparentColor()) : int(clDefault));
    std::string pixels;
    pixels.reserve(size_t(wd) * size_t(ht) * 4);
    for (int y = 0; y < ht; ++y) pixels.append(reinterpret_cast<const char*>(b.ScanLine(y)), size_t(wd) * 4);
    w.S(pixels);
}

std::unique_ptr<TBitmap> ReadBitmap(Reader& rd)
{
    const int wd = rd.Range(0, kMaxSize, "bitmap width"), ht = rd.Range(0, kMaxSize, "bitmap height");
    const int format = rd.Range(int(pfDevice), int(pfCustom), "pixel format");
    const bool transparent = rd.Range(0, 1, "flag") == 1;
    const int mode = rd.Range(int(tmAuto), int(tmFixed), "transparent mode");
    const TColor key = TColor(rd.I());
    const std::string pixels = rd.S();
    if (pixels.size() != size_t(wd) * size_t(ht) * 4) throw EExGridError("Grid stream holds a bad bitmap");
    auto b = std::make_unique<TBitmap>(wd, ht);
    for (int y = 0; y < ht; ++y) std::memcpy(b->ScanLine(y), pixels.data() + size_t(y) * size_t(wd) * 4, size_t(wd) * 4);
    b->SetPixelFormat(TPixelFormat(format));
    if (mode == tmFixed) b->SetTransparentColor(key);
    b->SetTransparentMode(TTransparentMode(mode));
    b->SetTransparent(transparent);
    return b;
}

}  // namespace

TGridGraphicIO::TGridGraphicIO(TExStringGrid*) : graphic_(std::make_unique<TCellGraphic>()) {}

TGridGraphicIO::~TGridGraphicIO() = default;

void TGridGraphicIO::Write(std::string& Out) const
{
    Writer w{Out};
    const TCellGraphic& g = *graphic_;
    Out += 'G';
    std::uint64_t value = 0;
    std::memcpy(&value, &g.CellValue, sizeof value);
    for (int v : {int(g.CellType), int(g.CellVAlign), int(g.CellHAlign), g.CellIndex, int(g.CellTransparent),
                  int(g.CellCreated), int(g.CellBoolean), g.CellAngle, int(std::uint32_t(value)),
                  int(std::uint32_t(value >> 32)), int(g.CellErrFrom), int(g.CellErrLen), int(g.CellColor),
                  int(g.CellColor2)})
        w.I(v);
    w.S(g.CellText);
}

void TGridGraphicIO::Read(const std::string& Data, size_t& Pos)
{
    Tag(Data, Pos, 'G', "cell graphic");
    Reader rd{Data, Pos + 1};
    const int type = rd.Range(0, int(ctSummary), "cell type");
    const int vAlign = rd.Range(0, int(vaFull), "graphic alignment");
    const int hAlign = rd.Range(0, int(haFull), "graphic alignment");
    const int index = rd.I();
    const bool transparent = rd.Range(0, 1, "flag") == 1;
    const bool created = rd.Range(0, 1, "flag") == 1;
    const bool boolean = rd.Range(0, 1, "flag") == 1;
    const int angle = rd.I();
    const std::uint64_t lo = std::uint32_t(rd.I()), hi = std::uint32_t(rd.I());
    const int errFrom = rd.Range(INT16_MIN, INT16_MAX, "error mark");
    const int errLen = rd.Range(INT16_MIN, INT16_MAX, "error mark");
    const unsigned color = unsigned(rd.I()), color2 = unsigned(rd.I());
    std::string text = rd.S();
    TCellGraphic& g = *graphic_;
    g.CellType = TCellType(type);
    g.CellVAlign = TCellVAlign(vAlign);
    g.CellHAlign = TCellHAlign(hAlign);
    g.CellIndex = index;
    g.CellTransparent = transparent;
    g.CellCreated = created;
    g.CellBoolean = boolean;
    g.CellAngle = angle;
    const std::uint64_t value = lo | (hi << 32);
    std::memcpy(&g.CellValue, &value, sizeof value);
    g.CellErrFrom = short(errFrom);
    g.CellErrLen = short(errLen);
    g.CellColor = color;
    g.CellColor2 = color2;
    g.CellText = std::move(text);
    Pos = rd.p;
}

TGridBMPIO::TGridBMPIO(TExStringGrid*) : bitmap_(std::make_unique<TBitmap>()) {}

TGridBMPIO::~TGridBMPIO() = default;

void TGridBMPIO::Write(std::string& Out) const
{
    Writer w{Out};
    Out += 'B';
    WriteBitmap(w, *bitmap_);
}

void TGridBMPIO::Read(const std::string& Data, size_t& Pos)
{
    Tag(Data, Pos, 'B', "bitmap");
    Reader rd{Data, Pos + 1};
    bitmap_ = ReadBitmap(rd);
    Pos = rd.p;
}

TGridPicIO::TGridPicIO(TExStringGrid*) : picture_(std::make_unique<TPicture>()) {}

TGridPicIO::~TGridPicIO() = default;

void TGridPicIO::Write(std::string& Out) const
{
    Writer w{Out};
    Out += 'P';
    TGraphic* g = picture_->Graphic();
    if (!g) {
        w.I(0);
        return;
    }
    w.I(1);
    if (auto* b = dynamic_cast<TBitmap*>(g)) {
        WriteBitmap(w, *b);
        return;
    }
    // Other graphics (recorded metafiles) go as their drawing at their own size.
    TBitmap drawn(g->Width(), g->Height());
    if (!drawn.Empty()) g->Draw(*drawn.Canvas(), TRect{0, 0, g->Width(), g->Height()});
    drawn.SetTransparent(g->Transparent());
    WriteBitmap(w, drawn);
}

void TGridPicIO::Read(const std::string& Data, size_t& Pos)
{
    Tag(Data, Pos, 'P', "picture");
    Reader rd{Data, Pos + 1};
    auto p = std::make_unique<TPicture>();
    if (rd.Range(0, 1, "picture kind") == 1) p->SetGraphic(ReadBitmap(rd).get());  // the picture takes a copy
    picture_ = std::move(p);
    Pos = rd.p;
}

TGridFilePicIO::TGridFilePicIO(TExStringGrid*) : picture_(std::make_unique<TFilePicture>()) {}

TGridFilePicIO::~TGridFilePicIO() = default;

void TGridFilePicIO::Write(std::string& Out) const
{
    Writer w{Out};
    Out += 'F';
    w.S(picture_->Filename());
    w.I(picture_->Width());
    w.I(picture_->Height());
}

void TGridFilePicIO::Read(const std::string& Data, size_t& Pos)
{
    Tag(Data, Pos, 'F', "file picture");
    Reader rd{Data, Pos + 1};
    std::string name = rd.S();
    const int wd = rd.Range(0, kMaxSize, "picture width"), ht = rd.Range(0, kMaxSize, "picture height");
    picture_->filename_ = std::move(name);
    picture_->width_ = wd;
    picture_->height_ = ht;
    Pos = rd.p;
}

TGridSLIO::TGridSLIO(TExStringGrid*) : strings_(std::make_unique<base::TStringList>()) {}

TGridSLIO::~TGridSLIO() = default;

void TGridSLIO::Write(std::string& Out) const
{
    Writer w{Out};
    Out += 'S';
    w.I(strings_->Count());
    for (int k = 0; k < strings_->Count(); ++k) w.S((*strings_)[k]);
}

void TGridSLIO::Read(const std::string& Data, size_t& Pos)
{
    Tag(Data, Pos, 'S', "string list");
    Reader rd{Data, Pos + 1};
    // every entry takes at least its four-byte length
    const int n = rd.Range(0, int(std::min<size_t>((Data.size() - rd.p) / 4, INT32_MAX)), "string count");
    auto list = std::make_unique<base::TStringList>();
    for (int k = 0; k < n; ++k) list->Add(rd.S());
    strings_ = std::move(list);
    Pos = rd.p;
}

}  // namespace grid
