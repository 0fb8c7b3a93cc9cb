// The grid's cell store: properties, merged blocks, display texts and the cell frame.
#include "widgets/grid/BaseGrid.h"

#include <algorithm>
#include <cstdint>

#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridDraw.h"

namespace grid {

using namespace platform;

namespace {
bool Empty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
}  // namespace

// ---------------------------------------------------------------- TCellGraphic

TCellGraphic::~TCellGraphic()
{
    if (CellCreated) {
        switch (CellType) {
        case ctBitmap: case ctRadio: case ctPicture: case ctFilePicture: case ctBitButton:
            delete CellGraphicRef;
            break;
        case ctIcon: delete CellIconRef; break;
        default: break;
        }
    }
    if (CellType == ctImages) delete CellGraphicRef;
    if (CellType == ctRadio && CellCreated) delete RadioItems;
}

void TCellGraphic::Assign(const TPersistent& Source)
{
    auto* g = dynamic_cast<const TCellGraphic*>(&Source);
    if (!g) {
        TPersistent::Assign(Source);
        return;
    }
    CellType = g->CellType;
    CellColor = g->CellColor;
    CellColor2 = g->CellColor2;
    CellVAlign = g->CellVAlign;
    CellHAlign = g->CellHAlign;
    CellIndex = g->CellIndex;
    CellTransparent = g->CellTransparent;
    CellBoolean = g->CellBoolean;
    CellAngle = g->CellAngle;
    CellValue = g->CellValue;
    CellErrFrom = g->CellErrFrom;
    CellErrLen = g->CellErrLen;
    CellText = g->CellText;
}

TCellGraphic* TCellGraphic::Clone() const
{
    auto* g = new TCellGraphic;
    g->Assign(*this);
    // Objects the source owns stay with it; the copy shows the kind without them.
    if (!CellCreated && CellType != ctImages) {
        g->CellGraphicRef = CellGraphicRef;
        g->CellIconRef = CellIconRef;
        g->RadioItems = RadioItems;
    }
    return g;
}

// ---------------------------------------------------------------- TCellProperties

TCellProperties::TCellProperties(TBaseGrid* AOwner, int ACol, int ARow) : OwnerCol(ACol), OwnerRow(ARow), grid_(AOwner)
{
}

TCellProperties::~TCellProperties() { SetGraphic(nullptr); }

void TCellProperties::Repaint() const
{
    if (grid_) grid_->RepaintCell(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(TColor v)
{
    brushColor_ = v;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    brushColorTo_ = v;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    vAlignment_ = v;
    Repaint();
}

void TCellProperties::SetWordWrap(bool v)
{
    wordWrap_ = v;
    Repaint();
}

void TCellProperties::SetGraphic(TCellGraphic* g)
{
    if (graphic_ == g) return;
    if (graphic_ && graphic_->CellType != ctVirtCheckBox) delete graphic_;
    graphic_ = g;
}

TCellGraphic* TCellProperties::ReleaseGraphic()
{
    TCellGraphic* g = graphic_;
    graphic_ = nullptr;
    return g;
}

void TCellProperties::Assign(const TPersistent& Source)
{
    auto* p = dynamic_cast<const TCellProperties*>(&Source);
    if (!p) {
        TPersistent::Assign(Source);
        return;
    }
    IsBaseCell = p->IsBaseCell;
    CellSpanX = p->CellSpanX;
    CellSpanY = p->CellSpanY;
    OwnerRow = p->OwnerRow;
    OwnerCol = p->OwnerCol;
    Alignment = p->Alignment;
    BorderColor = p->BorderColor;
    BorderWidth = p->BorderWidth;
    brushColor_ = p->brushColor_;
    BrushStyle = p->BrushStyle;
    FontColor = p->FontColor;
    FontStyle = p->FontStyle;
    FontName = p->FontName;
    FontSize = p->FontSize;
    ReadOnly = p->ReadOnly;
    Editor = p->Editor;
    vAlignment_ = p->vAlignment_;
    SetWordWrap(p->wordWrap_);
    NodeLevel = p->NodeLevel;
    Control = p->Control;
}

TCellProperties* TCellProperties::Clone() const
{
    auto* p = new TCellProperties(grid_, OwnerCol, OwnerRow);
    p->Assign(*this);
    p->CellObject = CellObject;
    p->brushColorTo_ = brushColorTo_;
    p->CalcType = CalcType;
    if (graphic_) p->graphic_ = graphic_->CellType == ctVirtCheckBox ? graphic_ : graphic_->Clone();
    return p;
}

TPoint TCellProperties::GetBaseCell(int c, int r) const
{
    if (!IsBaseCell && CellSpanX != -1 && CellSpanY != -1) return {c - CellSpanX, r - CellSpanY};
    return {c, r};
}

// ---------------------------------------------------------------- TBaseGrid

TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner)
{
    TCustomGrid::SetGridLineWidth(0);
    TCustomGrid::SetDefaultDrawing(false);
    SetOptions(Options() | goDrawFocusSelected);
}

TBaseGrid::~TBaseGrid()
{
    destroying_ = true;
    ClearPropRect(0, 0, StoreColCount() - 1, RowCount() - 1);
}

void TBaseGrid::SetDefaultDrawing(bool v)
{
    defaultDrawing_ = v;
    TCustomGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int v)
{
    gridLineWidth_ = v;
    TCustomGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor v)
{
    gridLineColor_ = v;
    Invalidate();
}

bool TBaseGrid::InStore(int ACol, int ARow) const
{
    return ACol >= 0 && ARow >= 0 && ACol < std::max(StoreColCount(), ColCount()) && ARow < RowCount();
}

TCellProperties* TBaseGrid::CellProps(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0) return nullptr;
    return static_cast<TCellProperties*>(Objects(ACol, ARow));
}

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const { return CellProps(ACol, ARow) != nullptr; }

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow)
{
    if (TCellProperties* p = CellProps(ACol, ARow)) return p;
    if (!InStore(ACol, ARow)) return nullptr;
    auto* p = new TCellProperties(this, ACol, ARow);
    SetObjects(ACol, ARow, p);
    return p;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Props)
{
    if (!InStore(ACol, ARow)) {
        delete Props;
        throw EExGridError("Cell index out of range");
    }
    TCellProperties* old = CellProps(ACol, ARow);
    if (old == Props) return;
    SetObjects(ACol, ARow, Props);
    delete old;
}

void TBaseGrid::ClearPropCell(int ACol, int ARow)
{
    TCellProperties* p = CellProps(ACol, ARow);
    if (!p) return;
    SetObjects(ACol, ARow, nullptr);
    delete p;
}

void TBaseGrid::ClearPropRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol2 < ACol1 || ARow2 < ARow1) return;
    // only what the store holds: the cost is the cells written, not the grid's bounds
    const int lastRow = std::min(ARow2, StoredRowCount() - 1);
    for (int r = std::max(ARow1, 0); r <= lastRow; ++r) {
        const int lastCol = std::min(ACol2, StoredColCount(r) - 1);
        for (int c = std::max(ACol1, 0); c <= lastCol; ++c) ClearPropCell(c, r);
    }
}

void TBaseGrid::ClearPropRow(int ARow) { ClearPropRect(0, ARow, StoreColCount() - 1, ARow); }

void TBaseGrid::ClearProps() { ClearPropRect(0, 0, StoreColCount() - 1, RowCount() - 1); }

void TBaseGrid::FreeRowsFrom(int FromRow, int ToRow) { ClearPropRect(0, FromRow, std::max(StoreColCount(), ColCount()) - 1, ToRow); }

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    // The platform drops the rows beyond the new count: their properties go with them.
    if (RowCount() < OldRowCount) FreeRowsFrom(RowCount(), OldRowCount - 1);
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
}

// ---------------------------------------------------------------- texts and objects

std::string TBaseGrid::GetCellEx(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0) return {};
    const TPoint b = BaseCell(ACol, ARow);
    std::string s = Cells(b.X, b.Y);
    if (b.Y < DisplTextRowLimit) {
        GetDisplText(b.X, b.Y, s);
        if (OnGetDisplWideText) {
            std::u16string w = DecodeWideStr(s);
            GetDisplWideText(b.X, b.Y, w);
            s = EncodeWideStr(w);
        }
    }
    return s;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const std::string& Value)
{
    if (!InStore(ACol, ARow)) throw EExGridError("Cell index out of range");
    if (HasCellProperties(ACol, ARow)) {
        const TPoint b = BaseCell(ACol, ARow);
        SetCells(b.X, b.Y, Value);
        if (Parent()) RepaintCell(b.X, b.Y);
    } else {
        SetCells(ACol, ARow, Value);
    }
    if (FooterRowCovered && ARow == RowCount() - 1) FloatFooterUpdate();
}

void TBaseGrid::SetGridCell(int ACol, int ARow, const std::string& Value)
{
    if (!InStore(ACol, ARow)) throw EExGridError("Cell index out of range");
    SetCells(ACol, ARow, Value);
}

void TBaseGrid::SetGridObject(int ACol, int ARow, TObject* Obj)
{
    if (!InStore(ACol, ARow)) throw EExGridError("Cell index out of range");
    SetObjects(ACol, ARow, Obj);
}

TObject* TBaseGrid::GetObjectEx(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    return p ? p->CellObject : nullptr;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, TObject* Obj)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (!p) throw EExGridError("Cell index out of range");
    p->CellObject = Obj;
}

TCellGraphic* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    return p ? p->Graphic() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TCellGraphic* Obj)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (!p) {
        delete Obj;
        throw EExGridError("Cell index out of range");
    }
    p->SetGraphic(Obj);
}

void TBaseGrid::NilCell(int ACol, int ARow)
{
    if (!InStore(ACol, ARow)) return;
    SetObjects(ACol, ARow, nullptr);
    SetCells(ACol, ARow, std::string());
}

void TBaseGrid::NilRow(int ARow)
{
    for (int c = 0; c < StoreColCount(); ++c) NilCell(c, ARow);
}

void TBaseGrid::NilCol(int ACol)
{
    for (int r = 0; r < RowCount(); ++r) NilCell(ACol, r);
}

void TBaseGrid::CopyRows(int ToRow, int FromRow)
{
    if (ToRow == FromRow || !InStore(0, ToRow) || !InStore(0, FromRow)) return;
    for (int c = 0; c < StoreColCount(); ++c) {
        const std::string s = GetCellEx(c, FromRow);
        ClearPropCell(c, ToRow);
        const TCellProperties* p = CellProps(c, FromRow);
        if (p) SetObjects(c, ToRow, p->Clone());
        SetCells(c, ToRow, s);
    }
}

void TBaseGrid::CopyCols(int ToCol, int FromCol)
{
    if (ToCol == FromCol || !InStore(ToCol, 0) || !InStore(FromCol, 0)) return;
    for (int r = 0; r < RowCount(); ++r) {
        ClearPropCell(ToCol, r);
        const TCellProperties* p = CellProps(FromCol, r);
        if (p) SetObjects(ToCol, r, p->Clone());
        SetCells(ToCol, r, Cells(FromCol, r));
    }
}

// ---------------------------------------------------------------- merged cells

void TBaseGrid::MergeCells(int ACol, int ARow, int NCols, int NRows)
{
    if (NCols < 1 || NRows < 1) return;
    if (!InStore(ACol, ARow) || !InStore(ACol + NCols - 1, ARow + NRows - 1))
        throw EExGridError("Cell index out of range");
    for (int r = ARow; r < ARow + NRows; ++r)
        for (int c = ACol; c < ACol + NCols; ++c) {
            TCellProperties* p = GetCellProperties(c, r);
            const bool base = c == ACol && r == ARow;
            p->IsBaseCell = base;
            p->CellSpanX = base ? NCols - 1 : c - ACol;
            p->CellSpanY = base ? NRows - 1 : r - ARow;
        }
    for (int r = ARow; r < ARow + NRows; ++r)
        for (int c = ACol; c < ACol + NCols; ++c) RepaintCell(c, r);
}

void TBaseGrid::SplitCells(int ACol, int ARow)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (!p) return;
    const TPoint b = p->GetBaseCell(ACol, ARow);
    TCellProperties* bp = CellProps(b.X, b.Y);
    if (!bp) return;
    const int sx = std::max(bp->CellSpanX, 0), sy = std::max(bp->CellSpanY, 0);
    for (int r = b.Y; r <= b.Y + sy; ++r)
        for (int c = b.X; c <= b.X + sx; ++c)
            if (TCellProperties* q = CellProps(c, r)) {
                q->IsBaseCell = true;
                q->CellSpanX = q->CellSpanY = -1;
            }
    for (int r = b.Y; r <= b.Y + sy; ++r)
        for (int c = b.X; c <= b.X + sx; ++c) RepaintCell(c, r);
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    return p ? p->GetBaseCell(ACol, ARow) : TPoint{ACol, ARow};
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    return !p || p->IsBaseCell;
}

bool TBaseGrid::IsBaseCellEx(int ACol, int ARow, int& BCol, int& BRow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    BCol = b.X;
    BRow = b.Y;
    return IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    return p && (p->CellSpanX > 0 || p->CellSpanY > 0);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* p = CellProps(b.X, b.Y);
    return p && p->CellSpanX > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* p = CellProps(b.X, b.Y);
    return p && p->CellSpanY > 0;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TCellProperties* bp = CellProps(b.X, b.Y);
    if (!bp) return {0, 0};
    return {std::max(bp->CellSpanX, 0), std::max(bp->CellSpanY, 0)};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const
{
    const TCellProperties* p = CellProps(ACol, ARow);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return {b.X + s.X - ACol, b.Y + s.Y - ARow};
}

TRect TBaseGrid::FullCell(int ACol, int ARow) const
{
    const TPoint b = BaseCell(ACol, ARow), s = CellSpan(ACol, ARow);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int m = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        const int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < m) m = s;
    }
    return m;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int m = 0;
    for (int c = 0; c < ColCount(); ++c) m = std::max(m, CellSpan(c, ARow).Y);
    return m;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool any = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            any = true;
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
        }
    }
    return any;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const
{
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(ACol1, r).X, s2 = CellSpan(ACol2, r).X;
        if (s1 > 0 && s2 > 0) {
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
        } else if (s1 != s2) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- geometry

TRect TBaseGrid::GetCellRect(int ACol, int ARow) const
{
    int x = 0, y = 0;
    for (int c = 0; c < ACol && c < ColCount(); ++c) x += ColWidths(c);
    for (int r = 0; r < ARow && r < RowCount(); ++r) y += RowHeights(r);
    const int w = ACol < ColCount() ? ColWidths(ACol) : 0, h = ARow < RowCount() ? RowHeights(ARow) : 0;
    if (ACol >= FixedCols())
        for (int c = FixedCols(); c < LeftCol(); ++c) x -= ColWidths(c);
    if (ARow >= FixedRows())
        for (int r = FixedRows(); r < TopRow(); ++r) y -= RowHeights(r);
    return {x, y, x + w, y + h};
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const
{
    if (IsMergedCell(ACol, ARow)) {
        const TRect f = FullCell(ACol, ARow);
        const TRect a = GetCellRect(f.Left, f.Top), b = GetCellRect(f.Right, f.Bottom);
        return {a.Left, a.Top, b.Right, b.Bottom};
    }
    const TCellProperties* p = CellProps(ACol, ARow);
    if (p && p->Control) return GetCellRect(ACol, ARow);
    TRect r = TStringGrid::CellRect(ACol, ARow);
    if (Empty(r)) return {};
    r.Right = r.Left + (ACol < ColCount() ? ColWidths(ACol) : 0);
    r.Bottom = r.Top + (ARow < RowCount() ? RowHeights(ARow) : 0);
    return r;
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) const
{
    const TRect r = IsMergedCell(ACol, ARow) ? CellRect(ACol, ARow) : GetCellRect(ACol, ARow);
    return {r.Width(), r.Height()};
}

int TBaseGrid::FixedColsWidth() const
{
    int w = 0;
    for (int c = 0; c < FixedCols(); ++c) w += ColWidths(c);
    return w;
}

int TBaseGrid::FixedRowsHeight() const
{
    int h = 0;
    for (int r = 0; r < FixedRows(); ++r) h += RowHeights(r);
    return h;
}

void TBaseGrid::RepaintCell(int ACol, int ARow)
{
    if (!HandleAllocated()) return;
    const TRect r = CellRect(ACol, ARow);
    if (!Empty(r)) InvalidateRect(r);
}

void TBaseGrid::RepaintFixedMergedCols()
{
    if (FixedRows() <= 0) return;
    for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < ColCount(); ++c)
        for (int r = 0; r < FixedRows(); ++r)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::RepaintFixedMergedRows()
{
    if (FixedCols() <= 0) return;
    for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
        for (int c = 0; c < FixedCols(); ++c)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

bool TBaseGrid::IsSelected(int ACol, int ARow) const
{
    const TGridRect s = Selection();
    if (ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom) return true;
    const TCellProperties* p = CellProps(ACol, ARow);
    if (!p || (p->CellSpanX == 0 && p->CellSpanY == 0) || p->CellSpanX < 0) return false;
    const TPoint b = p->GetBaseCell(ACol, ARow), sp = CellSpan(ACol, ARow);
    return Col() >= b.X && Col() <= b.X + sp.X && Row() >= b.Y && Row() <= b.Y + sp.Y;
}

void TBaseGrid::SelectBaseCell()
{
    if (!HasCellProperties(Col(), Row())) return;
    const TPoint b = BaseCell(Col(), Row());
    if (b.X != Col()) SetCol(b.X);
    if (b.Y != Row()) SetRow(b.Y);
}

// ---------------------------------------------------------------- hooks

bool TBaseGrid::IsFixed(int, int) { return false; }
int TBaseGrid::NodeIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }

void TBaseGrid::DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState)
{
    Canvas->Brush().SetStyle(bsClear);
    DrawText(Canvas->Handle(), GetCellEx(ACol, ARow), -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    Canvas->Brush().SetStyle(bsSolid);
}

void TBaseGrid::GetDisplText(int ACol, int ARow, std::string& Value)
{
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, std::u16string& Value)
{
    if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush&, TColor&, TFont&,
                                    TAlignment&, TVAlignment&, bool&)
{
}

// ---------------------------------------------------------------- painting

void TBaseGrid::Paint()
{
    if (rightToLeft_) ApplyOrientation();
    TStringGrid::Paint();
    ++paintCount_;
}

void TBaseGrid::SetGridOrientation(bool RightToLeft)
{
    const bool changed = rightToLeft_ != RightToLeft;
    rightToLeft_ = RightToLeft;
    if (Canvas()->HandleAllocated()) ApplyOrientation();
    if (changed && HandleAllocated()) Invalidate();
}

void TBaseGrid::ApplyOrientation()
{
    HDC dc = Canvas()->Handle();
    const int w = std::max(1, ClientWidth()), h = std::max(1, ClientHeight());
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, w, h, nullptr);
    SetWindowOrgEx(dc, rightToLeft_ ? w : 0, 0, nullptr);
    SetWindowExtEx(dc, rightToLeft_ ? -w : w, h, nullptr);
}

TPoint TBaseGrid::ShownPoint(const TPoint& p) const
{
    return rightToLeft_ ? TPoint{ClientWidth() - 1 - p.X, p.Y} : p;
}

TRect TBaseGrid::ShownRect(const TRect& r) const
{
    if (!rightToLeft_) return r;
    const int w = ClientWidth();
    return {w - r.Right, r.Top, w - r.Left, r.Bottom};
}

void TBaseGrid::InvalidateRect(const TRect& r) { TStringGrid::InvalidateRect(ShownRect(r)); }

TRect TBaseGrid::EditorRect(int ACol, int ARow) const { return ShownRect(TStringGrid::EditorRect(ACol, ARow)); }

void TBaseGrid::WndProc(TMessage& m)
{
    // The grid lays its columns out from the left; a right-to-left grid shows them from the
    // right, so the mouse's x is mirrored before any handler sees it.
    if (rightToLeft_ && m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) {
        const int x = ShownPoint(m.Pos()).X;
        m.LParam = (m.LParam & ~LPARAM(0xFFFF)) | LPARAM(Word(std::int16_t(x)));
        // What the mouse draws at once (the sizing line) is drawn mirrored too.
        if (HandleAllocated()) ApplyOrientation();
    }
    TStringGrid::WndProc(m);
}

void TBaseGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas* canvas = Canvas();
    if (FooterRowCovered && ARow == RowCount() - 1) {
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(Color());
        canvas->Pen().SetColor(Color());
        canvas->FillRect(ARect);
        return;
    }
    int bc = ACol, br = ARow;
    if (!IsBaseCellEx(ACol, ARow, bc, br)) {
        // A covered cell draws its whole block, once per paint.
        TCellProperties* bp = CellProps(bc, br);
        if (!bp || bp->PaintStamp == paintCount_) return;
        bp->PaintStamp = paintCount_;
        DrawCell(bc, br, ARect, AState);
        return;
    }
    if (IsFixed(ACol, ARow)) AState = (AState & ~gdSelected) | gdFixed;
    TRect R = CellRect(ACol, ARow);
    if (Empty(R)) R = ARect;
    const int W = ACol >= FixedCols() ? FixedColsWidth() : 0;
    const int H = ARow >= FixedRows() ? FixedRowsHeight() : 0;
    HDC dc = canvas->Handle();
    bool clipped = false;
    if ((ACol >= FixedCols() && FixedCols() > 0 && R.Left < W) || (ARow >= FixedRows() && FixedRows() > 0 && R.Top < H)) {
        SaveDC(dc);
        IntersectClipRect(dc, W, H, Width(), Height());
        clipped = true;
    }
    canvas->Pen().SetWidth(1);
    canvas->Font().Assign(*Font());
    TColor colorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wrap = false;
    GetVisualProperties(ACol, ARow, AState, false, true, true, canvas->Brush(), colorTo, canvas->Font(), ha, va, wrap);
    canvas->Pen().SetColor(canvas->Brush().Color());
    if (colorTo == clNone) {
        canvas->Brush().SetStyle(bsSolid);
        canvas->Rectangle(R);
    } else {
        DrawGradient(*canvas, canvas->Brush().Color(), colorTo, 64, R, true);
    }
    const bool fixed = AState & gdFixed;
    int L = 0;
    bool lines = true;
    if (fixed) {
        canvas->Pen().SetColor(clGray);
        canvas->Pen().SetWidth(1);
        L = 1;
    } else if (gridLineWidth_ > 0) {
        canvas->Pen().SetColor(gridLineColor_);
        canvas->Pen().SetWidth(gridLineWidth_);
        L = (gridLineWidth_ + 1) / 2;
    } else {
        lines = false;
    }
    if (ACol == 0 && ARow >= FixedRows()) R.Left += NodeIndent(ARow);
    const TGridOptions o = Options();
    if (lines) {
        if (!(ACol == 0 && HasNodes()) && ((o & goHorzLine && !fixed) || (o & goFixedHorzLine && fixed))) {
            canvas->MoveTo(R.Left - L + 1, R.Bottom - L);
            canvas->LineTo(R.Right - L + 1, R.Bottom - L);
        }
        if ((o & goVertLine && !fixed) || (o & goFixedVertLine && fixed)) {
            canvas->MoveTo(R.Right - L, R.Bottom - L);
            canvas->LineTo(R.Right - L, R.Top - L);
        }
    }
    const int shrink = fixed ? 1 : gridLineWidth_;
    R = {R.Left + shrink, R.Top + shrink, R.Right - shrink, R.Bottom - shrink};
    DrawGridCell(canvas, ACol, ARow, R, AState);
    if (clipped) RestoreDC(dc, -1);
}

// ---------------------------------------------------------------- input

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    RepaintCell(Col(), Row());
    const bool ok = TStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return ok;
}

void TBaseGrid::KeyDown(Word& Key, TShiftState Shift)
{
    if (HasCellProperties(Col(), Row())) {
        const TPoint b = BaseCell(Col(), Row()), s = CellSpan(Col(), Row());
        switch (Key) {
        case VK_RIGHT:
            if (b.X + s.X >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && b.X + s.X != Col())
                SetCol(std::min(b.X + s.X, ColCount() - 1));
            break;
        case VK_DOWN:
            if (b.Y + s.Y >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1 && b.Y + s.Y != Row())
                SetRow(std::min(b.Y + s.Y, RowCount() - 1));
            break;
        case VK_LEFT:
            if (Col() > b.X && Col() > FixedCols() && b.X > 0) SetCol(b.X);
            break;
        case VK_UP:
            if (Row() > b.Y && Row() > FixedRows() && b.Y > 0) SetRow(b.Y);
            break;
        default: break;
        }
    }
    if (Key == VK_NEXT && VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && FooterRowCovered &&
        RowCount() > 1)
        SetRow(RowCount() - 2);
    TStringGrid::KeyDown(Key, Shift);
    SelectBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool r = TStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FooterRowCovered) SetTopRow(TopRow() + 1);
    SelectBaseCell();
    return r;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool r = TStringGrid::DoMouseWheelUp(Shift, MousePos);
    SelectBaseCell();
    return r;
}

void TBaseGrid::TopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    RepaintFixedMergedRows();
    RepaintFixedMergedCols();
}

}  // namespace grid
