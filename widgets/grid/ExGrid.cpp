// The grid component: construction, counts, per-cell queries, headers, marks, fills,
// repainting, selections and change notices.
#include "widgets/grid/ExGrid.h"

#include <algorithm>
#include <random>

#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/PictureContainer.h"
#include "widgets/grid/FloatingFooter.h"
#include "widgets/html/HtmlText.h"

namespace grid {

using namespace platform;

namespace {
bool Empty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
}  // namespace

TExStringGrid::TExStringGrid(TComponent* AOwner) : TBaseGrid(AOwner)
{
    floatingFooter_ = std::make_unique<TFloatingFooter>(this);
    sortSettings_ = std::make_unique<TSortSettings>(this, [this] { return GetFixedRowsEx(); });
    controlLook_ = std::make_unique<TControlLook>(this);
    columnSize_ = std::make_unique<TColumnSize>([this] {
        if (Parent() && columnSize_->Stretch()) StretchColumn(columnSize_->StretchColumn);
    });
    cellNode_ = std::make_unique<TCellNode>(this);
    bands_ = std::make_unique<TBands>(this);
    columnHeaders_ = std::make_unique<base::TStringList>();
    columnHeaders_->OnChange = [this](base::TStringList&) {
        UpdateColHeaders();
        ShowColumnHeaders();
    };
    fixedFont_ = std::make_unique<TFont>();
    fixedFont_->SetName("Tahoma");
    fixedFont_->SetStyle(fsBold);
    fixedFont_->OnChange = [this](TObject*) { Invalidate(); };
    activeCellFont_ = std::make_unique<TFont>();
    activeCellFont_->SetStyle(fsBold);
    activeCellFont_->OnChange = [this](TObject*) { Invalidate(); };
    rowHeaders_ = std::make_unique<base::TStringList>();
    rowHeaders_->OnChange = [this](base::TStringList&) { ShowRowHeaders(); };
    lookupItems_ = std::make_unique<base::TStringList>();
    mergedColumns_.OnChange = [this](TIntList*, int, int) {
        UndoColumnMerge();
        ApplyColumnMerge();
    };
    background_ = std::make_unique<TBackGround>(this);
    rowIndicator_ = std::make_unique<TBitmap>();
    filter_ = std::make_unique<TFilter>(this);
    pictureCache_ = std::make_unique<html::THTMLPictureCache>();
    gradTo_ = TColor(ColorToRGB(clBtnFace));
    TBaseGrid::SetDefaultRowHeight(21);
    flatScroll_.scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    fixed_.fixedRowHeight = 21;
    fixed_.rememberedFixedRows = TBaseGrid::FixedRows();
    DisplTextRowLimit = RowCount();
    CellsClipboardFormat();
    // The owning form's resize runs through the grid first (SizeWithForm).
    if (auto* form = dynamic_cast<TForm*>(AOwner)) {
        formFollow_.ownerForm = form;
        formFollow_.formResize = form->OnResize;
        formFollow_.Seen(form->Width(), form->Height());
        form->OnResize = TFormResizeHook{this};
    }
}

void TExStringGrid::UnhookFormResize()
{
    if (!formFollow_.ownerForm || formFollow_.ownerForm->Destroying()) return;
    // The hooks form a chain: the form's handler, then the handler each grid saved.
    // Take this grid out wherever it stands, so no other grid is left calling into it.
    platform::TNotifyEvent* link = &formFollow_.ownerForm->OnResize;
    while (const auto* hook = link->target<TFormResizeHook>()) {
        if (hook->grid == this) {
            *link = formFollow_.formResize;
            return;
        }
        link = &hook->grid->formFollow_.formResize;
    }
}

TExStringGrid::~TExStringGrid()
{
    destroying_ = true;
    FreeEditControls();
    FreeRichEdits();
    UnhookFormResize();
    // Hidden rows hold properties of their own; the records free them.
    indexMap_.ClearHiddenRows();
}

std::string TExStringGrid::GetVersionString() const
{
    return GetVersion() + " Jan, 2005";
}

std::string TExStringGrid::GetVersion() const
{
    const unsigned v = unsigned(GetVersionNr());
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
           "." + std::to_string(v & 0xFF);
}

void TExStringGrid::SetFixedFont(const TFont& f)
{
    fixedFont_->Assign(f);
    Invalidate();
}

void TExStringGrid::SetWordWrap(bool v)
{
    wordWrap_ = v;
    if (updateCount_ == 0) Invalidate();
}

void TExStringGrid::SetFixedFooters(int v)
{
    fixed_.fixedFooters = v;
    Invalidate();
}

void TExStringGrid::SetFixedRightCols(int v)
{
    fixed_.fixedRightCols = v;
    Invalidate();
}

void TExStringGrid::SetStudioGradFrom(TColor c)
{
    gradFrom_ = TColor(ColorToRGB(c));
    Invalidate();
}

void TExStringGrid::SetStudioGradTo(TColor c)
{
    gradTo_ = TColor(ColorToRGB(c));
    Invalidate();
}

void TExStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    select_.normalCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (Look == glStudio) {
        gradFrom_ = 0x00C0C0C0;
        gradTo_ = clWhite;
    }
    fixed_.rememberedFixedRows = TBaseGrid::FixedRows();
    MinRowHeight = DefaultRowHeight();
    MinColWidth = 10;
    if (Options() & goAlwaysShowEditor) {
        Navigation.AlwaysEdit = true;
        SetOptions(Options() & ~goAlwaysShowEditor);
    }
    if (AutoThemeAdapt) ThemeAdapt();
}

void TExStringGrid::Resize()
{
    TBaseGrid::Resize();
    SynchColumns();
    UpdateHScroller();
    UpdateVScroller();
    if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------- counts

void TExStringGrid::SetRowCountEx(int v)
{
    if (RowCount() == TBaseGrid::FixedRows() && fixed_.fixedRowAlways) UnHideSelection();
    TBaseGrid::SetRowCount(std::max(v, 1));
    if (fixed_.rememberedFixedRows < RowCount() && fixed_.fixedRowAlways && TBaseGrid::FixedRows() != fixed_.rememberedFixedRows)
        TBaseGrid::SetFixedRows(fixed_.rememberedFixedRows);
    DisplTextRowLimit = RowCount();
    UpdateFooter();
    UpdateHScroller();
    UpdateVScroller();
}

void TExStringGrid::SetColCountEx(int v)
{
    TBaseGrid::SetColCount(std::max(v, 1));
    if (ColCount() > 1 && fixed_.fixedColAlways) TBaseGrid::SetFixedCols(1);
    UpdateFooter();
    UpdateHScroller();
    UpdateVScroller();
}

int TExStringGrid::GetFixedRowsEx() const
{
    return fixed_.RowsShown(TBaseGrid::FixedRows());
}

void TExStringGrid::SetFixedRowsEx(int v)
{
    TBaseGrid::SetFixedRows(v);
    fixed_.rememberedFixedRows = v;
}

int TExStringGrid::GetFixedColsEx() const
{
    return fixed_.ColsShown(TBaseGrid::FixedCols());
}

void TExStringGrid::SetDefaultRowHeight(int v)
{
    TBaseGrid::SetDefaultRowHeight(v);
    floatingFooter_->SetHeight(v);
}

// ---------------------------------------------------------------- per-cell queries

void TExStringGrid::GetCellHint(int ACol, int ARow, std::string& Hint)
{
    if (OnGridHint) OnGridHint(this, ARow, ACol, Hint);
}

void TExStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState State, TBrush& ABrush, TFont& AFont)
{
    if (ActiveCellShow) {
        const int d = RemapColInv(ACol);
        if ((ARow == Row() && d == 0 && FixedCols() > 0) || (d == Col() && ARow == 0 && FixedRows() > 0)) {
            AFont.Assign(*activeCellFont_);
            ABrush.SetColor(ActiveCellColor);
        }
    }
    if (const TCellProperties* p = CellProps(ACol, ARow)) {
        if (p->BrushColor() != clNone) ABrush.SetColor(p->BrushColor());
        if (p->FontColor != clNone) AFont.SetColor(p->FontColor);
        if (p->FontStyle) AFont.SetStyle(p->FontStyle);
        if (p->FontSize) AFont.SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont.SetName(p->FontName);
    }
    if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, State, ABrush, AFont);
}

void TExStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState State, TBrush& ABrush, TFont& AFont)
{
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, State, ABrush, AFont);
}

void TExStringGrid::GetCellBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders)
{
    if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TExStringGrid::GetCellPrintBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExStringGrid::GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TExStringGrid::GetColFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix)
{
    if (OnGetFormat) OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

void TExStringGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExStringGrid::GetCellFixed(int ACol, int ARow, bool& IsFixed)
{
    IsFixed = IsFixed || fixed_.AlwaysFixed(ACol, ARow, ColCount(), RowCount()) || ACol < FixedCols() || ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TExStringGrid::GetCellReadOnly(int ACol, int ARow, bool& CanEdit)
{
    const TPoint b = BaseCell(ACol, ARow);
    if (HasCellProperties(b.X, b.Y) && CanEdit) {
        CanEdit = !GetReadOnly(b.X, b.Y);
        if (!(Options() & goEditing) && !MouseActions.RangeSelectAndEdit) CanEdit = false;
    }
    if (OnCanEditCell) OnCanEditCell(this, b.Y, b.X, CanEdit);
}

void TExStringGrid::GetCellPassword(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

bool TExStringGrid::HasCombo(int ACol, int ARow)
{
    bool has = false;
    if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, has);
    return has;
}

std::string TExStringGrid::GetCheckTrue(int ACol, int ARow)
{
    std::string v = CheckTrueText;
    if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, v);
    return v;
}

std::string TExStringGrid::GetCheckFalse(int ACol, int ARow)
{
    std::string v = CheckFalseText;
    if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, v);
    return v;
}

bool TExStringGrid::IsFixed(int ACol, int ARow)
{
    const TPoint b = BaseCell(RemapCol(ACol), ARow);
    if (b.Y >= fixed_.NormalRowEnd(RowCount()) || ACol >= fixed_.NormalColEnd(ColCount())) return true;
    bool fixed = false;
    GetCellFixed(b.X, b.Y, fixed);  // the query takes the real column, as every cell query
    return fixed;
}

// ---------------------------------------------------------------- headers and lookup

void TExStringGrid::SetColumnHeaders(const base::TStrings& v)
{
    columnHeaders_->BeginUpdate();
    columnHeaders_->Assign(v);
    ClearColumnHeaders();
    columnHeaders_->EndUpdate();
}

void TExStringGrid::ClearColumnHeaders()
{
    if (FixedRows() > 0)
        for (int c = 0; c < ColCount(); ++c) SetCellEx(c, 0, std::string());
}

void TExStringGrid::ShowColumnHeaders()
{
    if (FixedRows() <= 0) return;
    for (int i = 0; i < columnHeaders_->Count() && i < ColCount(); ++i) SetCellEx(i, 0, CLFToLF((*columnHeaders_)[i]));
}

void TExStringGrid::SetRowHeaders(const base::TStrings& v) { rowHeaders_->Assign(v); }

void TExStringGrid::ShowRowHeaders()
{
    if (FixedCols() <= 0) return;
    for (int i = 0; i < rowHeaders_->Count() && i < RowCount(); ++i) SetCellEx(0, i, CLFToLF((*rowHeaders_)[i]));
}

void TExStringGrid::SetLookupItems(const base::TStrings* v)
{
    if (v) lookupItems_->Assign(*v);
}

void TExStringGrid::ApplyColumnMerge()
{
    for (int i = 0; i < mergedColumns_.Count(); ++i) MergeColumnCells(mergedColumns_.Items(i), i == 0);
}

void TExStringGrid::UndoColumnMerge()
{
    for (int c = 0; c < ColCount(); ++c) SplitColumnCells(c);
}

// ---------------------------------------------------------------- highlighting and marks

std::string TExStringGrid::HilightText(bool DoCase, const std::string& Text, const std::string& HiText) const
{
    return html::HiLight(Text, HiText, "hi", DoCase);
}

std::string TExStringGrid::UnHilightText(const std::string& Text) const { return html::UnHiLight(Text, "hi"); }

std::string TExStringGrid::MarkText(bool DoCase, const std::string& Text, const std::string& HiText) const
{
    return html::HiLight(Text, HiText, "e", DoCase);
}

std::string TExStringGrid::UnMarkText(const std::string& Text) const { return html::UnHiLight(Text, "e"); }

void TExStringGrid::MarkCells(const std::string& Text, const std::string& Tag, bool DoCase, int FromCol, int FromRow,
                              int ToCol, int ToRow)
{
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) SetCellEx(c, r, html::HiLight(GetCellEx(c, r), Text, Tag, DoCase));
}

void TExStringGrid::UnMarkCells(const std::string& Tag, int FromCol, int FromRow, int ToCol, int ToRow)
{
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) SetCellEx(c, r, html::UnHiLight(GetCellEx(c, r), Tag));
}

platform::TPoint TExStringGrid::ColSpan(bool DoFixed) const
{
    return DoFixed ? platform::TPoint{0, ColCount() - 1} : platform::TPoint{FixedCols(), fixed_.NormalColEnd(ColCount()) - 1};
}

platform::TPoint TExStringGrid::RowSpan(bool DoFixed) const
{
    return DoFixed ? platform::TPoint{0, RowCount() - 1} : platform::TPoint{FixedRows(), fixed_.NormalRowEnd(RowCount()) - 1};
}

void TExStringGrid::TagCells(const std::string& Tag, const std::string* Text, bool DoCase, const TRect& R)
{
    if (Text) MarkCells(*Text, Tag, DoCase, R.Left, R.Top, R.Right, R.Bottom);
    else UnMarkCells(Tag, R.Left, R.Top, R.Right, R.Bottom);
}

TRect TExStringGrid::ColRect(bool DoFixed, int ACol) const
{
    const TPoint r = RowSpan(DoFixed);
    return {ACol, r.X, ACol, r.Y};
}

TRect TExStringGrid::RowRect(bool DoFixed, int ARow) const
{
    const TPoint c = ColSpan(DoFixed);
    return {c.X, ARow, c.Y, ARow};
}

TRect TExStringGrid::GridRect(bool DoFixed) const
{
    const TPoint c = ColSpan(DoFixed), r = RowSpan(DoFixed);
    return {c.X, r.X, c.Y, r.Y};
}

void TExStringGrid::HilightInCell(bool DoCase, int ACol, int ARow, const std::string& Text)
{
    TagCells("hi", &Text, DoCase, {ACol, ARow, ACol, ARow});
}
void TExStringGrid::HilightInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text)
{
    TagCells("hi", &Text, DoCase, ColRect(DoFixed, ACol));
}
void TExStringGrid::HilightInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text)
{
    TagCells("hi", &Text, DoCase, RowRect(DoFixed, ARow));
}
void TExStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const std::string& Text)
{
    TagCells("hi", &Text, DoCase, GridRect(DoFixed));
}
void TExStringGrid::UnHilightInCell(int ACol, int ARow) { TagCells("hi", nullptr, false, {ACol, ARow, ACol, ARow}); }
void TExStringGrid::UnHilightInCol(bool DoFixed, int ACol) { TagCells("hi", nullptr, false, ColRect(DoFixed, ACol)); }
void TExStringGrid::UnHilightInRow(bool DoFixed, int ARow) { TagCells("hi", nullptr, false, RowRect(DoFixed, ARow)); }
void TExStringGrid::UnHilightInGrid(bool DoFixed) { TagCells("hi", nullptr, false, GridRect(DoFixed)); }
void TExStringGrid::MarkInCell(bool DoCase, int ACol, int ARow, const std::string& Text)
{
    TagCells("e", &Text, DoCase, {ACol, ARow, ACol, ARow});
}
void TExStringGrid::MarkInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text)
{
    TagCells("e", &Text, DoCase, ColRect(DoFixed, ACol));
}
void TExStringGrid::MarkInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text)
{
    TagCells("e", &Text, DoCase, RowRect(DoFixed, ARow));
}
void TExStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const std::string& Text)
{
    TagCells("e", &Text, DoCase, GridRect(DoFixed));
}
void TExStringGrid::UnMarkInCell(int ACol, int ARow) { TagCells("e", nullptr, false, {ACol, ARow, ACol, ARow}); }
void TExStringGrid::UnMarkInCol(bool DoFixed, int ACol) { TagCells("e", nullptr, false, ColRect(DoFixed, ACol)); }
void TExStringGrid::UnMarkInRow(bool DoFixed, int ARow) { TagCells("e", nullptr, false, RowRect(DoFixed, ARow)); }
void TExStringGrid::UnMarkInGrid(bool DoFixed) { TagCells("e", nullptr, false, GridRect(DoFixed)); }

// ---------------------------------------------------------------- fills

void TExStringGrid::FillCells(bool DoFixed, const std::function<void(int, int)>& fill)
{
    const TRect g = GridRect(DoFixed);
    for (int y = g.Top; y <= g.Bottom; ++y)
        for (int x = g.Left; x <= g.Right; ++x) fill(x, y);
    CellsLoaded();
}

void TExStringGrid::TextFill(bool DoFixed, const std::string& Text)
{
    FillCells(DoFixed, [&](int x, int y) { SetCellEx(x, y, Text); });
}

void TExStringGrid::RandomFill(bool DoFixed, int Max)
{
    static std::mt19937 gen(12345);
    FillCells(DoFixed, [&](int x, int y) { SetInts(x, y, Max > 0 ? int(gen() % unsigned(Max)) : 0); });
}

void TExStringGrid::LinearFill(bool DoFixed)
{
    FillCells(DoFixed, [&](int x, int y) { SetCellEx(x, y, std::to_string(x) + ":" + std::to_string(y)); });
}

int TExStringGrid::GetPrintColWidth(int ACol) const { return printJob_.ColWidth(ACol); }

int TExStringGrid::GetPrintColOffset(int ACol) const { return printJob_.ColOffset(ACol); }

// ---------------------------------------------------------------- repainting

void TExStringGrid::RepaintCell(int ACol, int ARow)
{
    if (!HandleAllocated() || updateCount_ > 0) return;
    if (ARow >= FixedRows() && (ARow < TopRow() || ARow > TopRow() + VisibleRowCount())) return;
    if (ACol >= FixedCols() && (ACol < LeftCol() || ACol > LeftCol() + VisibleColCount())) return;
    TBaseGrid::RepaintCell(ACol, ARow);
}

void TExStringGrid::RepaintRect(const TRect& R)
{
    if (!HandleAllocated() || R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0) return;
    const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    if (Empty(a) || Empty(b)) {
        Invalidate();
        return;
    }
    InvalidateRect({std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)});
}

void TExStringGrid::RepaintRow(int ARow)
{
    if (!HandleAllocated()) return;
    const TRect a = CellRect(LeftCol(), ARow), b = CellRect(std::min(LeftCol() + VisibleColCount(), ColCount() - 1), ARow);
    if (!Empty(a) || !Empty(b)) InvalidateRect({a.Left, std::min(a.Top, b.Top), b.Right, std::max(a.Bottom, b.Bottom)});
}

void TExStringGrid::RepaintCol(int ACol)
{
    if (!HandleAllocated()) return;
    const TRect a = CellRect(ACol, TopRow()), b = CellRect(ACol, std::min(TopRow() + VisibleRowCount(), RowCount() - 1));
    if (!Empty(a) || !Empty(b)) InvalidateRect({std::min(a.Left, b.Left), a.Top, std::max(a.Right, b.Right), b.Bottom});
}

// ---------------------------------------------------------------- selections

void TExStringGrid::SelectRows(int ARow, int Count)
{
    if (!MouseActions.DisjunctRowSelect) {
        SetSelection({FixedCols(), ARow, ColCount() - 1, ARow + Count - 1});
        return;
    }
    for (int r = ARow; r < ARow + Count; ++r) {
        const int i = MouseActions.RowSelectPersistent ? RemapRowInv(r) : r;
        if (i < RowCount()) SetRowSelect(i, true);
    }
}

void TExStringGrid::SelectCols(int ACol, int Count)
{
    if (!MouseActions.DisjunctColSelect) {
        SetSelection({ACol, FixedRows(), ACol + Count - 1, RowCount() - 1});
        return;
    }
    for (int c = ACol; c < ACol + Count; ++c)
        if (c < ColCount()) SetColSelect(c, true);
}

void TExStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRowEx(ToRow);
    SetCol(ToCol);
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

bool TExStringGrid::GetRowSelect(int ARow)
{
    if (ARow < 0 || ARow >= RowCount() + NumHiddenRows()) throw EExGridError("Invalid row accessed");
    if (int(rowSelect_.size()) <= ARow) rowSelect_.resize(std::size_t(ARow) + 1);
    return rowSelect_[std::size_t(ARow)];
}

void TExStringGrid::SetRowSelect(int ARow, bool Selected)
{
    if (GetRowSelect(ARow) == Selected) return;
    rowSelect_[std::size_t(ARow)] = Selected;
    RepaintRow(ARow);
}

bool TExStringGrid::GetColSelect(int ACol)
{
    if (ACol < 0 || ACol >= ColCount()) throw EExGridError("Invalid column accessed");
    if (int(colSelect_.size()) <= ACol) colSelect_.resize(std::size_t(ACol) + 1);
    return colSelect_[std::size_t(ACol)];
}

void TExStringGrid::SetColSelect(int ACol, bool Selected)
{
    if (GetColSelect(ACol) == Selected) return;
    colSelect_[std::size_t(ACol)] = Selected;
    RepaintCol(ACol);
}

void TExStringGrid::ClearRowSelect()
{
    for (std::size_t i = 0; i < rowSelect_.size(); ++i)
        if (rowSelect_[i]) {
            rowSelect_[i] = false;
            RepaintRow(RemapRow(int(i)));
        }
}

void TExStringGrid::ClearColSelect()
{
    for (std::size_t i = 0; i < colSelect_.size(); ++i)
        if (colSelect_[i]) {
            colSelect_[i] = false;
            RepaintCol(int(i));
        }
}

int TExStringGrid::GetRowSelectCount() const { return int(std::count(rowSelect_.begin(), rowSelect_.end(), true)); }
int TExStringGrid::GetColSelectCount() const { return int(std::count(colSelect_.begin(), colSelect_.end(), true)); }

void TExStringGrid::SelectToRowSelect(bool Replace)
{
    const TGridRect s = Selection();
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool in = r >= s.Top && r <= s.Bottom;
        if (Replace || in) SetRowSelect(MouseActions.RowSelectPersistent ? RemapRowInv(r) : r, in);
    }
}

void TExStringGrid::SelectToColSelect(bool Replace)
{
    const TGridRect s = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool in = c >= s.Left && c <= s.Right;
        if (Replace || in) SetColSelect(c, in);
    }
}

// ---------------------------------------------------------------- updates and notices

void TExStringGrid::BeginUpdate()
{
    // Redrawing stops for the window: many changes cost one repaint at the end.
    if (++updateCount_ == 1 && HandleAllocated()) Perform(WM_SETREDRAW, 0, 0);
}

void TExStringGrid::EndUpdate()
{
    if (updateCount_ > 0) --updateCount_;
    if (updateCount_ > 0) return;
    if (HandleAllocated()) {
        Perform(WM_SETREDRAW, 1, 0);
        Perform(WM_NCPAINT, 0, 0);
    }
    Invalidate();
}

void TExStringGrid::CellsChanged(const TRect& R)
{
    if (OnCellsChanged) OnCellsChanged(this, R);
    for (TGridChangeNotifier* n : std::vector<TGridChangeNotifier*>(notifiers_)) n->CellsChanged(R);
    CalcFooter(-1);
}

void TExStringGrid::RegisterNotifier(TGridChangeNotifier* ANotifier)
{
    if (std::find(notifiers_.begin(), notifiers_.end(), ANotifier) == notifiers_.end()) notifiers_.push_back(ANotifier);
}

void TExStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier)
{
    notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), ANotifier), notifiers_.end());
}

void TExStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

}  // namespace grid

namespace grid {

void TExStringGrid::StretchColumn(int ACol)
{
    if (destroying_) return;
    if (ACol >= ColCount()) throw base::Exception("Stretch column index out of range");
    if (ACol < 0) ACol = ColCount() - 1;
    if (ColCount() == 0 || !columnSize_->Stretch() || stretching_) return;
    stretching_ = true;
    const int client = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(0, client);
    } else {
        int s = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != ACol) s += ColWidths(c);
        if (s < client) SetColWidths(ACol, client - s - 1);
        else if (LeftCol() == FixedCols()) SetColWidths(ACol, DefaultColWidth());
    }
    stretching_ = false;
}

void TExStringGrid::Invalidate()
{
    ++lookVersion_;
    TBaseGrid::Invalidate();
}

void TExStringGrid::ColWidthsChanged()
{
    ++lookVersion_;
    TBaseGrid::ColWidthsChanged();
    if (columnSize_ && columnSize_->Stretch() && !stretching_) StretchColumn(columnSize_->StretchColumn);
}

}  // namespace grid

namespace grid {

unsigned TExStringGrid::CellsClipboardFormat()
{
    static const unsigned format = platform::RegisterClipboardFormat("TExStringGrid Cells");
    return format;
}

void TExStringGrid::GridResize(TObject* Sender)
{
    if (formFollow_.ownerForm && Sender == formFollow_.ownerForm && SizeWithForm) {
        const TPoint s = formFollow_.Follow(Width(), Height(), formFollow_.ownerForm->Width(), formFollow_.ownerForm->Height());
        if (s.X > 0 && s.Y > 0) SetBounds(Left(), Top(), s.X, s.Y);
    }
    if (formFollow_.ownerForm) formFollow_.Seen(formFollow_.ownerForm->Width(), formFollow_.ownerForm->Height());
    if (formFollow_.formResize) {
        // The form's own handler does not stop the grid's: its failure goes to the application.
        try {
            formFollow_.formResize(Sender);
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(this, &e);
        } catch (...) {
            if (Application) Application->HandleException(this, nullptr);
        }
    }
    if (columnSize_->Stretch() && ColCount() > 0) StretchColumn(columnSize_->StretchColumn);
}

}  // namespace grid

namespace grid {

TArrowWindow* TExStringGrid::ArrowWindow(TArrowDirection ADirection)
{
    TArrowWindow*& a = arrows_[ADirection];
    if (!a) a = new TArrowWindow(this, ADirection);
    return a;
}

void TExStringGrid::SetArrowColor(TColor c)
{
    for (TArrowDirection d : {arrUp, arrDown, arrLeft, arrRight}) ArrowWindow(d)->SetColor(c);
}

TPopupButton* TExStringGrid::PopupButton()
{
    if (!popupButton_) {
        popupButton_ = new TPopupButton(this);
        popupButton_->SetVisible(false);
        if (Look == glStudio) {
            popupButton_->GradFrom = gradFrom_;
            popupButton_->GradTo = gradTo_;
        }
    }
    return popupButton_;
}

}  // namespace grid

namespace grid {

void TExStringGrid::SetRowIndicator(const TBitmap& b)
{
    rowIndicator_->Assign(b);
    RepaintCell(0, Row());
}

}  // namespace grid
