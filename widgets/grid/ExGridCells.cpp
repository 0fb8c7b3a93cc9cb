// Cell access: texts by real index, typed cells, per-cell attributes, widths of real
// columns, sorted rows, column order and controls placed on cells.
#include <algorithm>
#include <cstdio>

#include "base/DateTime.h"
#include "base/Locale.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/controls/Controls.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlText.h"

namespace grid {

using namespace platform;

// ---------------------------------------------------------------- texts by real index

base::TStringList* TExStringGrid::HiddenRow(int ARow) const
{
    TGridItem* h = indexMap_.FindHiddenRow(ARow);
    return h ? &h->Items() : nullptr;
}

std::string TExStringGrid::GetCellsEx(int ACol, int ARow)
{
    if (base::TStringList* h = HiddenRow(ARow)) return ACol >= 0 && ACol < h->Count() ? (*h)[ACol] : std::string();
    return GetCellEx(ACol, RemapRow(ARow));
}

void TExStringGrid::SetCellsEx(int ACol, int ARow, const std::string& Value)
{
    if (base::TStringList* h = HiddenRow(ARow)) {
        if (ACol < 0 || ACol >= GetAllColCount()) throw EExGridError("Cell index out of range");
        while (h->Count() <= ACol) h->Add(std::string());
        h->Put(ACol, Value);
        return;
    }
    const int r = RemapRow(ARow);
    SetCellEx(ACol, r, Value);
    const int d = RemapColInv(ACol);
    if (d != ACol) RepaintCell(d, r);
}

TObject* TExStringGrid::GetObjectsEx(int ACol, int ARow) const
{
    if (base::TStringList* h = HiddenRow(ARow)) {
        if (ACol < 0 || ACol >= h->Count()) return nullptr;
        auto* o = static_cast<TObject*>(h->GetObject(ACol));
        if (auto* p = dynamic_cast<TCellProperties*>(o)) return p->CellObject;
        return o;
    }
    return GetObjectEx(ACol, RemapRow(ARow));
}

void TExStringGrid::SetObjectsEx(int ACol, int ARow, TObject* AObject)
{
    if (base::TStringList* h = HiddenRow(ARow)) {
        if (ACol < 0 || ACol >= GetAllColCount()) throw EExGridError("Cell index out of range");
        while (h->Count() <= ACol) h->Add(std::string());
        // The slot of a hidden cell keeps its properties; the user object goes inside them.
        auto* p = static_cast<TCellProperties*>(h->GetObject(ACol));
        if (!p) {
            p = new TCellProperties(this, ACol, RemapRow(ARow));
            h->PutObject(ACol, p);
        }
        p->CellObject = AObject;
        return;
    }
    SetObjectEx(ACol, RemapRow(ARow), AObject);
}

std::u16string TExStringGrid::GetWideCells(int ACol, int ARow) { return DecodeWideStr(GetCellEx(ACol, ARow)); }

void TExStringGrid::SetWideCells(int ACol, int ARow, const std::u16string& Value)
{
    SetGridCell(ACol, ARow, EncodeWideStr(Value));
}

std::string TExStringGrid::GetCurrentCell() { return GetGridCell(GetRealCol(), GetRowEx()); }

void TExStringGrid::SetCurrentCell(const std::string& Value) { SetCellEx(GetRealCol(), GetRowEx(), Value); }

std::string TExStringGrid::GetStrippedCell(int ACol, int ARow) { return html::HTMLStrip(GetCellEx(ACol, ARow)); }

std::string TExStringGrid::GetEditText(int ACol, int ARow)
{
    const int c = RemapCol(ACol);
    std::string s = TBaseGrid::GetEditText(c, ARow);
    return EditWithTags ? s : html::HTMLStrip(s);
}

void TExStringGrid::SetEditText(int ACol, int ARow, const std::string& Value)
{
    TBaseGrid::SetEditText(RemapCol(ACol), ARow, Value);
}

// ---------------------------------------------------------------- per-cell attributes

namespace {
TCellProperties& Need(TBaseGrid& g, int c, int r)
{
    TCellProperties* p = g.GetCellProperties(c, r);
    if (!p) throw EExGridError("Cell index out of range");
    return *p;
}
// An attribute of the cell's properties, or the default when it has none (none are made).
template <class T, class Get>
T PropOr(const TBaseGrid& g, int c, int r, T def, Get get)
{
    const TCellProperties* p = g.CellProps(c, r);
    return p ? get(*p) : def;
}
}  // namespace

template <class Set>
void TExStringGrid::SetProp(int ACol, int ARow, Set set)
{
    set(Need(*this, ACol, ARow));
    RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TExStringGrid::GetColors(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, TColor(clNone), [](const TCellProperties& p) { return p.BrushColor(); });
}
void TExStringGrid::SetColors(int ACol, int ARow, TColor v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.SetBrushColor(v); });
}
TColor TExStringGrid::GetColorsTo(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, TColor(clNone), [](const TCellProperties& p) { return p.BrushColorTo(); });
}
void TExStringGrid::SetColorsTo(int ACol, int ARow, TColor v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.SetBrushColorTo(v); });
}
TColor TExStringGrid::GetFontColors(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, TColor(clNone), [](const TCellProperties& p) { return p.FontColor; });
}
void TExStringGrid::SetFontColors(int ACol, int ARow, TColor v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.FontColor = v; });
}
TFontStyles TExStringGrid::GetFontStyles(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, TFontStyles(0), [](const TCellProperties& p) { return p.FontStyle; });
}
void TExStringGrid::SetFontStyles(int ACol, int ARow, TFontStyles v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.FontStyle = v; });
}
std::string TExStringGrid::GetFontNames(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, std::string(), [](const TCellProperties& p) { return p.FontName; });
}
void TExStringGrid::SetFontNames(int ACol, int ARow, const std::string& v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.FontName = v; });
}
int TExStringGrid::GetFontSizes(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, 0, [](const TCellProperties& p) { return p.FontSize; });
}
void TExStringGrid::SetFontSizes(int ACol, int ARow, int v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.FontSize = v; });
}
TAlignment TExStringGrid::GetAlignments(int ACol, int ARow) const
{
    return PropOr(*this, ACol, ARow, taLeftJustify, [](const TCellProperties& p) { return p.Alignment; });
}
void TExStringGrid::SetAlignments(int ACol, int ARow, TAlignment v)
{
    SetProp(ACol, ARow, [&](TCellProperties& p) { p.Alignment = v; });
}

bool TExStringGrid::GetReadOnly(int ACol, int ARow)
{
    const TCellProperties* p = GetCellProperties(ACol, ARow);
    return p && p->ReadOnly;
}

void TExStringGrid::SetReadOnly(int ACol, int ARow, bool v) { Need(*this, ACol, ARow).ReadOnly = v; }

void TExStringGrid::SetRowColor(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < GetAllColCount(); ++c) {
        if (AColor == clNone) ClearPropCell(c, ARow);
        else Need(*this, c, ARow).SetBrushColor(AColor);
    }
    RepaintRow(ARow);
}

void TExStringGrid::SetRowFontColor(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < GetAllColCount(); ++c) {
        if (AColor == clNone) ClearPropCell(c, ARow);
        else Need(*this, c, ARow).FontColor = AColor;
    }
    RepaintRow(ARow);
}

// ---------------------------------------------------------------- typed cells

namespace {
bool ReadFloat(const std::string& s, double& v) { return base::TryParseDouble(s, v); }

// Only digits, separators, signs, exponent letters, blanks and parentheses: a text with
// words in it ("abc12", "12abc") is no number.
bool IsCleanNumber(const std::string& t)
{
    const char ts = base::ThousandSeparator(), ds = base::DecimalSeparator();
    for (char ch : t)
        if (!((ch >= '0' && ch <= '9') || ch == ts || ch == ds || ch == '+' || ch == '-' || ch == 'e' ||
              ch == 'E' || ch == '(' || ch == ')' || ch == ' '))
            return false;
    return true;
}

}  // namespace

std::string TExStringGrid::FormatFloatCell(const std::string& fmt, double v)
{
    int conversions = 0;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < fmt.size() && std::string_view("-+ #0").find(fmt[j]) != std::string_view::npos) ++j;
        while (j < fmt.size() && fmt[j] >= '0' && fmt[j] <= '9') ++j;
        if (j < fmt.size() && fmt[j] == '.') {
            ++j;
            while (j < fmt.size() && fmt[j] >= '0' && fmt[j] <= '9') ++j;
        }
        if (j >= fmt.size() || std::string_view("eEfgG").find(fmt[j]) == std::string_view::npos || j - i > 8)
            throw EExGridError("Invalid float format \"" + fmt + "\"");
        ++conversions;
        i = j;
    }
    if (conversions != 1) throw EExGridError("Invalid float format \"" + fmt + "\"");
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt.c_str(), v);
    std::string s = buf;
    const char ds = base::DecimalSeparator();
    if (ds != '.')
        for (char& ch : s)
            if (ch == '.') ch = ds;
    return s;
}

namespace {
// Up to three whole numbers, each followed by one separator; a number stops growing at
// `cap`. False for anything else: a fourth number, a leading or doubled separator, or
// another character.
template <class IsSeparator>
bool NumberFields(const std::string& text, int cap, int (&parts)[3], int& n, IsSeparator isSeparator)
{
    bool inNumber = false, good = true;
    for (char ch : base::Trim(text)) {
        if (ch >= '0' && ch <= '9') {
            if (!inNumber) {
                if (n == 3) good = false;
                else ++n;
            }
            inNumber = true;
            if (parts[n - 1] < cap) parts[n - 1] = parts[n - 1] * 10 + (ch - '0');
        } else {
            if (!inNumber || !isSeparator(ch)) good = false;
            inNumber = false;
        }
    }
    return good;
}

// The user's short date: day, month and year in the pattern's order.
base::TDateTime TextToDate(const std::string& text)
{
    const std::string f = base::LowerCase(base::ShortDateFormat());
    const std::size_t pd = f.find('d'), pm = f.find('m'), py = f.find('y');
    int parts[3] = {0, 0, 0}, n = 0;
    const bool bad = !NumberFields(text, 100000, parts, n, [](char ch) {
        return ch == '/' || ch == '.' || ch == '-' || ch == ' ' || ch == base::DateSeparator();
    });
    base::TDateTime d = 0;
    if (!bad && n == 3 && pd != std::string::npos && pm != std::string::npos && py != std::string::npos) {
        auto rank = [&](std::size_t p) { return int(p > pd) + int(p > pm) + int(p > py); };
        int y = parts[rank(py)];
        if (y < 100) y += y <= 25 ? 2000 : 1900;
        if (base::TryEncodeDate(y, parts[rank(pm)], parts[rank(pd)], d)) return d;
    }
    throw base::EConvertError("'" + text + "' is not a valid date");
}

base::TDateTime TextToTime(const std::string& text)
{
    int parts[3] = {0, 0, 0}, n = 0;
    const bool bad =
        !NumberFields(text, 1000, parts, n, [](char ch) { return ch == ':' || ch == base::TimeSeparator(); });
    if (bad || n < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        throw base::EConvertError("'" + text + "' is not a valid time");
    return base::EncodeTime(parts[0], parts[1], parts[2], 0);
}
}  // namespace

void TExStringGrid::SetInts(int ACol, int ARow, int Value) { SetCellEx(ACol, ARow, base::IntToStr(Value)); }

int TExStringGrid::GetInts(int ACol, int ARow)
{
    const std::string s = GetCellEx(ACol, ARow);
    if (s.empty() || s == "-") return 0;
    long long v = 0;
    if (!base::TryStrToInt(s, v) || v < INT32_MIN || v > INT32_MAX)
        throw EExGridError("Cell does not contain integer value");
    return int(v);
}

void TExStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    SetCellEx(ACol, ARow, FloatCellText(Value));
}

namespace {
// The number a cell text holds: separators removed as RemoveSeps does; the text must be
// a number throughout (trailing words are no number).
double CellFloat(const std::string& text)
{
    std::string t = base::Trim(text);
    std::string s = RemoveSeps(t);
    if (s.empty() || s == "-") {
        if (t.empty() || t == "-") return 0;
        throw EExGridError("Cell does not contain a float value");
    }
    double v = 0;
    if (!ReadFloat(s, v) || !IsCleanNumber(t)) throw EExGridError("Cell does not contain a float value");
    return v;
}
}  // namespace

double TExStringGrid::GetFloats(int ACol, int ARow) { return CellFloat(GetCellEx(ACol, ARow)); }

void TExStringGrid::SetAllFloats(int ACol, int ARow, double Value)
{
    SetCellsEx(ACol, ARow, FloatCellText(Value));
}

double TExStringGrid::GetAllFloats(int ACol, int ARow) { return CellFloat(GetCellsEx(ACol, ARow)); }

std::string TExStringGrid::DateCellText(base::TDateTime Value) const
{
    return Value <= 0 && !AllowNegativeDates ? std::string() : base::DateToStr(Value);
}

void TExStringGrid::SetDates(int ACol, int ARow, base::TDateTime Value) { SetCellEx(ACol, ARow, DateCellText(Value)); }

base::TDateTime TExStringGrid::GetDates(int ACol, int ARow) { return TextToDate(GetCellEx(ACol, ARow)); }

void TExStringGrid::SetTimes(int ACol, int ARow, base::TDateTime Value)
{
    SetCellEx(ACol, ARow, base::TimeToStr(Value));
}

base::TDateTime TExStringGrid::GetTimes(int ACol, int ARow) { return TextToTime(GetCellEx(ACol, ARow)); }

std::string TExStringGrid::GetCtrlVal(int ACol, int ARow, const std::string& ControlID)
{
    std::string v;
    html::GetControlValue(GetCellEx(ACol, ARow), ControlID, v);
    return v;
}

void TExStringGrid::SetCtrlVal(int ACol, int ARow, const std::string& ControlID, const std::string& Value)
{
    std::string s = GetCellEx(ACol, ARow);
    if (html::SetControlValue(s, ControlID, Value)) SetCellEx(ACol, ARow, s);
}

// ---------------------------------------------------------------- widths of real columns

int TExStringGrid::GetAllColWidths(int ACol) const
{
    if (ACol < 0 || ACol >= kColumnSlots) return 0;
    if (IsHiddenColumn(ACol)) return indexMap_.SavedWidth(ACol);
    const int d = RemapColInv(ACol);
    return d < ColCount() ? ColWidths(d) : 0;
}

void TExStringGrid::SetAllColWidths(int ACol, int AWidth)
{
    if (ACol < 0 || ACol >= kColumnSlots) return;
    indexMap_.SetSavedWidth(ACol, AWidth);
    if (!IsHiddenColumn(ACol)) {
        const int d = RemapColInv(ACol);
        if (d < ColCount()) SetColWidths(d, AWidth);
    }
}

// ---------------------------------------------------------------- sorted rows

int TExStringGrid::SortedRowIndex(int ARow) const
{
    return RemapRowInv(sort_.SortedRow(ARow));
}

int TExStringGrid::UnSortedRowIndex(int ARow) const
{
    return sort_.sortIndex.Count() == 0 ? ARow : sort_.UnsortedRow(ARow);
}

std::string TExStringGrid::GetUnSortedCell(int ACol, int ARow)
{
    return GetCellEx(ACol, sort_.sortIndex.Count() >= ARow ? sort_.UnsortedRow(ARow) : ARow);
}

void TExStringGrid::SetUnSortedCell(int ACol, int ARow, const std::string& Value)
{
    SetCellEx(ACol, sort_.sortIndex.Count() >= ARow ? sort_.UnsortedRow(ARow) : ARow, Value);
}

// ---------------------------------------------------------------- column order

void TExStringGrid::SetColumnOrder()
{
    sort_.ResetColumnOrder(ColCount());
}

void TExStringGrid::ResetColumnOrder()
{
    for (bool moved = true; moved;) {
        moved = false;
        for (int i = 0; i < ColCount() && i < sort_.columnOrder.Count(); ++i) {
            // Column i holds the column that stood at entry i; bring the one that belongs here back.
            const int from = sort_.columnOrder.IndexOf(i);
            if (from > i) {
                MoveColumn(from, i);
                moved = true;
            }
        }
    }
}

void TExStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const int realFrom = RemapCol(FromIndex), realTo = RemapCol(ToIndex);
    if (NumHiddenColumns() > 0) {
        // The store keeps real columns: move the real ones, hidden neighbours included.
        const int rf = RemapCol(FromIndex), rt = RemapCol(ToIndex);
        indexMap_.MovedColumn(rf, rt);
        TBaseGrid::ColumnMoved(rf, rt);
    } else {
        TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    }
    sort_.ColumnMoved(FromIndex, ToIndex);
    // Hidden rows keep a text per real column: theirs move as the store's did.
    for (auto& h : indexMap_.HiddenRows())
        if (realFrom < h->Items().Count() && realTo < h->Items().Count()) h->Items().Move(realFrom, realTo);
    // The sort column and the sort keys stay on the column they named.
    SortSettings().Column = TSortState::FollowColumn(SortSettings().Column, realFrom, realTo);
    if (SortSettings().IndexShow) sort_.KeysFollow(realFrom, realTo);
    if (EnhRowColMove) MovedSinceDown = true;
}

// ---------------------------------------------------------------- controls on cells

TControl* TExStringGrid::GetCellControls(int ACol, int ARow) const
{
    const int r = RemapRow(ARow);
    const TCellProperties* p = CellProps(ACol, r);
    return p ? p->Control : nullptr;
}

void TExStringGrid::SetCellControls(int ACol, int ARow, TControl* AControl)
{
    // One index space: the list keeps real indices; the store takes the display row.
    const int r = RemapRow(ARow);
    const int i = controls_.ControlIndex(ACol, ARow);
    if (!AControl) {
        if (i >= 0) {
            controls_.RemoveControl(i);
            cellControlCount_ = std::max(cellControlCount_ - 1, 0);
        }
        if (TCellProperties* p = CellProps(ACol, r)) p->Control = nullptr;
        return;
    }
    TCellProperties& p = Need(*this, ACol, r);
    if (i >= 0) controls_.RemoveControl(i);
    else ++cellControlCount_;
    controls_.AddControl(ACol, ARow, AControl);
    p.Control = AControl;
    AControl->SetParent(this);
    const TRect rc = CellRect(RemapColInv(ACol), r);
    AControl->SetBounds(rc.Left, rc.Top, rc.Width() - 1, rc.Height() - 1);
}

void TExStringGrid::CellControlsUpdate()
{
    if (cellControlCount_ == 0) return;
    for (int i = 0; i < controls_.Count(); ++i) {
        TControlItem& it = controls_.GetControl(i);
        if (!it.Control) continue;
        const bool hidden = IsHiddenRow(it.Row) || IsHiddenColumn(it.Col);
        const int c = RemapColInv(it.Col), r = RemapRow(it.Row);
        const bool out = c >= FixedCols() && (c < LeftCol() || c > LeftCol() + VisibleColCount());
        const bool outRow = r >= FixedRows() && (r < TopRow() || r > TopRow() + VisibleRowCount());
        if (hidden || out || outRow) {
            it.Control->SetVisible(false);
            continue;
        }
        const TRect rc = GetCellRect(c, r);
        it.Control->SetBounds(rc.Left, rc.Top, rc.Width(), rc.Height());
        it.Control->SetVisible(true);
        it.Control->Invalidate();
    }
}

}  // namespace grid
