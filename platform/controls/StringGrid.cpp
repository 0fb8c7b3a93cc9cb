// The draw grid's events and the string grid's cell store.
#include <algorithm>

#include "base/StringList.h"
#include "platform/controls/Grids.h"
#include "platform/graphics/GDI.h"

namespace platform {

// ---------------------------------------------------------------- TDrawGrid

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

std::string TDrawGrid::GetEditText(int ACol, int ARow)
{
    std::string s;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, s);
    return s;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

std::string TDrawGrid::GetEditMask(int ACol, int ARow)
{
    std::string s;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, s);
    return s;
}

void TDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

// ---------------------------------------------------------------- the cell store

namespace {
struct Cell {
    std::string text;
    TObject* object = nullptr;
};
const std::string kEmpty;
}  // namespace

// Rows of cells, each row only as long as its last written cell.
struct TStringGrid::Store {
    std::vector<std::vector<Cell>> rows;
    unsigned long long version = 0;  // counts the writes

    const Cell* Find(int c, int r) const
    {
        if (r < 0 || r >= int(rows.size())) return nullptr;
        const auto& row = rows[std::size_t(r)];
        return c >= 0 && c < int(row.size()) ? &row[std::size_t(c)] : nullptr;
    }
    Cell& Need(int c, int r)
    {
        ++version;
        if (r >= int(rows.size())) rows.resize(std::size_t(r) + 1);
        auto& row = rows[std::size_t(r)];
        if (c >= int(row.size())) row.resize(std::size_t(c) + 1);
        return row[std::size_t(c)];
    }
};

// A row or column of the grid seen as a string list.
class TStringGrid::Lines : public base::TStrings {
public:
    Lines(TStringGrid* g, bool isRow, int index) : grid_(g), isRow_(isRow), index_(index) {}
    int Count() const override { return isRow_ ? grid_->ColCount() : grid_->RowCount(); }
    const std::string& Get(int i) const override
    {
        Check(i);
        return isRow_ ? grid_->Cells(i, index_) : grid_->Cells(index_, i);
    }
    void Put(int i, const std::string& s) override
    {
        Check(i);
        if (isRow_) grid_->SetCells(i, index_, s);
        else grid_->SetCells(index_, i, s);
    }
    void* GetObject(int i) const override
    {
        Check(i);
        return isRow_ ? grid_->Objects(i, index_) : grid_->Objects(index_, i);
    }
    void PutObject(int i, void* obj) override
    {
        Check(i);
        auto* o = static_cast<TObject*>(obj);
        if (isRow_) grid_->SetObjects(i, index_, o);
        else grid_->SetObjects(index_, i, o);
    }
    void Insert(int, const std::string&) override
    {
        throw base::EStringListError("A grid row or column cannot have items inserted");
    }
    void Delete(int) override { throw base::EStringListError("A grid row or column cannot have items deleted"); }
    // Empties every cell; the following Adds fill the cells from the first on.
    void Clear() override
    {
        for (int i = 0; i < Count(); ++i) {
            Put(i, std::string());
            PutObject(i, nullptr);
        }
        filled_ = 0;
    }
    int Add(const std::string& s) override
    {
        if (filled_ >= Count()) throw base::EStringListError("A grid row or column is full");
        Put(filled_, s);
        return filled_++;
    }

private:
    void Check(int i) const
    {
        if (i < 0 || i >= Count()) throw base::EStringListError("List index out of bounds (" + std::to_string(i) + ")");
    }
    TStringGrid* grid_;
    bool isRow_;
    int index_;
    int filled_ = 0;
};

// ---------------------------------------------------------------- TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner), store_(std::make_unique<Store>()) {}

TStringGrid::~TStringGrid() = default;

const std::string& TStringGrid::Cells(int ACol, int ARow) const
{
    const Cell* c = store_->Find(ACol, ARow);
    return c ? c->text : kEmpty;
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value)
{
    if (ACol < 0 || ARow < 0) throw EInvalidGridOperation("Grid index out of range");
    const Cell* old = store_->Find(ACol, ARow);
    if (!old && Value.empty()) return;
    if (old && old->text == Value) return;
    // Value may be another cell's text (Cells returns a reference into the store), which
    // growing the store would move: take it before the store grows.
    std::string text = Value;
    store_->Need(ACol, ARow).text = std::move(text);
    InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const
{
    const Cell* c = store_->Find(ACol, ARow);
    return c ? c->object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value)
{
    if (ACol < 0 || ARow < 0) throw EInvalidGridOperation("Grid index out of range");
    if (!Value && !store_->Find(ACol, ARow)) return;
    store_->Need(ACol, ARow).object = Value;
}

base::TStrings* TStringGrid::Cols(int Index)
{
    if (Index < 0) throw EInvalidGridOperation("Grid index out of range");
    if (Index >= int(colLists_.size())) colLists_.resize(std::size_t(Index) + 1);
    auto& l = colLists_[std::size_t(Index)];
    if (!l) l = std::make_unique<Lines>(this, false, Index);
    return l.get();
}

base::TStrings* TStringGrid::Rows(int Index)
{
    if (Index < 0) throw EInvalidGridOperation("Grid index out of range");
    if (Index >= int(rowLists_.size())) rowLists_.resize(std::size_t(Index) + 1);
    auto& l = rowLists_[std::size_t(Index)];
    if (!l) l = std::make_unique<Lines>(this, true, Index);
    return l.get();
}

std::string TStringGrid::GetEditText(int ACol, int ARow)
{
    if (OnGetEditText) return TDrawGrid::GetEditText(ACol, ARow);
    return Cells(ACol, ARow);
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (DefaultDrawing()) {
        const std::string& s = Cells(ACol, ARow);
        if (!s.empty()) {
            TCanvas* c = Canvas();
            TRect r = ARect;
            r.Left += 2;
            c->Brush().SetStyle(bsClear);
            DrawText(c->Handle(), s, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            c->Brush().SetStyle(bsSolid);
        }
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

unsigned long long TStringGrid::ContentVersion() const { return store_->version; }

int TStringGrid::StoredRowCount() const { return int(store_->rows.size()); }

int TStringGrid::StoredColCount(int ARow) const
{
    if (ARow < 0 || ARow >= int(store_->rows.size())) return 0;
    return int(store_->rows[std::size_t(ARow)].size());
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    ++store_->version;
    for (auto& row : store_->rows) {
        const int need = std::max(FromIndex, ToIndex) + 1;
        if (int(row.size()) < need) {
            if (int(row.size()) <= std::min(FromIndex, ToIndex)) continue;  // nothing stored in the span
            row.resize(std::size_t(need));
        }
        Cell moved = std::move(row[std::size_t(FromIndex)]);
        row.erase(row.begin() + FromIndex);
        row.insert(row.begin() + ToIndex, std::move(moved));
    }
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    ++store_->version;
    auto& rows = store_->rows;
    const int need = std::max(FromIndex, ToIndex) + 1;
    if (int(rows.size()) < need && int(rows.size()) > std::min(FromIndex, ToIndex)) rows.resize(std::size_t(need));
    if (int(rows.size()) >= need) {
        auto moved = std::move(rows[std::size_t(FromIndex)]);
        rows.erase(rows.begin() + FromIndex);
        rows.insert(rows.begin() + ToIndex, std::move(moved));
    }
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    // Rows beyond the new count go. Columns beyond it keep their cells: a derived grid
    // keeps the cells of columns it hides there.
    auto& rows = store_->rows;
    ++store_->version;
    if (int(rows.size()) > RowCount()) rows.resize(std::size_t(RowCount()));
    TDrawGrid::SizeChanged(OldColCount, OldRowCount);
}

}  // namespace platform
