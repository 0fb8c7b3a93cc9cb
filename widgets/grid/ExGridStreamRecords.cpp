// The records of the binary cell stream: a cell's place, text and property flag, and the
// cell's properties. Reading checks every field before anything is kept.
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
}

void TGridCellPropIO::Read(const std::string& Data, size_t& Pos)
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

}  // namespace grid
