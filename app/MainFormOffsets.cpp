// The offsets table of the current frame and its point commands.
#include <cmath>

#include "app/MainForm.h"
#include "app/OffsetsTable.h"
#include "base/StrUtils.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "widgets/frame/ExMenus.h"
#include "widgets/frame/ExPageControl.h"

using namespace platform;

namespace app {

void TMainForm::SetupOffsetGrid()
{
    auto click = [this](void (TMainForm::*handler)(TObject*)) {
        return TNotifyEvent([this, handler](TObject* s) { (this->*handler)(s); });
    };
    OffsetGrid = MakeControl<TOffsetGrid>(this, OffsetsSheet, "OffsetGrid");
    TOffsetGrid* g = OffsetGrid;
    g->SetAlign(alClient);
    g->SetColCount(3);
    g->SetRowCount(2);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(20);
    const int widths[3] = {76, 69, 69};
    const char* headers[3] = {"Index", "X (m)", "Z (m)"};
    for (int c = 0; c < 3; ++c) {
        g->SetColWidths(c, widths[c]);
        g->SetCellsEx(c, 0, headers[c]);
    }
    g->FloatFormat = "%.3f";
    g->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect | goDrawFocusSelected |
                  goColSizing | goEditing | goThumbTracking);
    g->SetScrollBars(ssBoth);
    g->EnableHTML = true;
    g->ActiveCellShow = true;
    g->ActiveCellFont().SetStyle(g->ActiveCellFont().Style() | fsBold);
    g->Bands().SetPrimaryColor(clInfoBk);
    g->Bands().SetSecondaryColor(clWindow);
    g->Bands().SetPrimaryLength(1);
    g->Bands().SetSecondaryLength(1);
    g->Bands().SetActive(true);
    g->SelectionColor = RGB(182, 203, 234);
    g->SelectionTextColor = clBlack;
    g->Font()->SetName("Tahoma");
    g->Font()->SetSize(8);
    g->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { OffsetGridSelectCell(s, c, r, can); };
    g->OnCellValidate = [this](TObject* s, int c, int r, std::string& v, bool& ok) {
        OffsetGridCellValidate(s, c, r, v, ok);
    };

    OffsetGridPopupMenu = MakePopup("OffsetGridPopupMenu");
    TMenuItem* items = OffsetGridPopupMenu->Items();
    auto item = [this, items](const std::string& caption, TNotifyEvent c, TShortCut key) {
        return AddMenuItem(this, items, caption, std::move(c), key);
    };
    InsertPoint1 = item("Insert Point", click(&TMainForm::InsertPoint1Click), ShortCut('I', ssCtrl | ssAlt));
    DeletePoint1 = item("Delete Point", click(&TMainForm::DeletePoint1Click), ShortCut('D', ssCtrl | ssAlt));
    AddPoint1 = item("Add Point", {}, ShortCut('A', ssCtrl | ssAlt));
    CompleteFrame2 = item("Complete Frame", {}, 0);
    item("-", {}, 0);
    InsertAtMidpoint1 = item("Insert At Midpoint", {}, 0);
    InsertAtMidpoint1->AutoCheck = true;
    InsertAtMidpoint1->SetChecked(true);
    SetPopupMenu(g, OffsetGridPopupMenu);
}

core::Section* TMainForm::CurrentSection()
{
    if (!Hull.IsFrameIndexValid(unsigned(CurrentAppendage), unsigned(CurrentFrame))) return nullptr;
    return &Hull.appendages[unsigned(CurrentAppendage)].frames[unsigned(CurrentFrame)];
}

void TMainForm::FillOffsetGrid()
{
    // What the table showed belongs to the frame it was filled from.
    OffsetGrid->CancelEdit();
    OffsetGrid->SetRowCountEx(2);
    OffsetGrid->ClearRect(0, 1, 2, 1);
    const core::Section* f = CurrentSection();
    if (!f) return;
    const int n = int(f->GetOffsetCount());
    if (n == 0 || CurrentPoint > n - 1) return;
    OffsetGrid->SetRowCountEx(n + 1);
    for (int i = 0; i < n; ++i) {
        OffsetGrid->SetInts(0, i + 1, i);
        OffsetGrid->SetFloats(1, i + 1, f->GetX(unsigned(i)));
        OffsetGrid->SetFloats(2, i + 1, f->GetZ(unsigned(i)));
    }
}

void TMainForm::OffsetGridSelectCell(TObject*, int, int ARow, bool&)
{
    const core::Section* f = CurrentSection();
    if (f && ARow > 0 && ARow <= int(f->GetOffsetCount())) CurrentPoint = ARow - 1;
}

void TMainForm::OffsetGridCellValidate(TObject*, int ACol, int ARow, std::string& Value, bool& Valid)
{
    core::Section* f = CurrentSection();
    // The edited row names the point: the current point may have moved on already.
    const int point = ARow - 1;
    if (!f || point < 0 || point >= int(f->GetOffsetCount()) || (ACol != 1 && ACol != 2)) {
        Valid = false;
        return;
    }
    double v = 0;
    if (!base::TryStrToFloat(Value, v) || !std::isfinite(v)) {
        ShowMessage("You must enter valid decimal numbers.");
        Valid = false;
        return;
    }
    const bool done = ACol == 1 ? f->SetX(unsigned(point), v) : f->SetZ(unsigned(point), v);
    if (!done) {
        Valid = false;
        return;
    }
    SetModified();
    OffsetGrid->SetFloats(ACol, ARow, v);
    Value = OffsetGrid->Cells(ACol, ARow);
    DrawBodyPlan();
}

int TMainForm::OffsetGridTopRow() const { return OffsetGrid->TopRow(); }

void TMainForm::SetOffsetGridRows(int topRow, int row)
{
    // The row is shown; the current point is the caller's to set.
    const int point = CurrentPoint;
    if (topRow >= OffsetGrid->FixedRows() && topRow < OffsetGrid->RowCount()) OffsetGrid->SetTopRow(topRow);
    if (row > 0 && row < OffsetGrid->RowCount()) {
        OffsetGrid->SetRowEx(row);
        OffsetGrid->SelectRows(row, 1);
    }
    CurrentPoint = point;
}

void TMainForm::ShowPoint(int row)
{
    const int top = OffsetGridTopRow();
    DrawBodyPlan();
    FillOffsetGrid();
    SetOffsetGridRows(top, row);
}

void TMainForm::InsertPoint1Click(TObject*)
{
    OffsetGrid->EndEdit();
    core::Section* f = CurrentSection();
    if (!f || OffsetGrid->GetRowEx() < 1) return;
    TNewPoint at;
    bool done;
    if (!PlaceNewPoint(f->X, f->Z, CurrentPoint, InsertAtMidpoint1->Checked(), at)) {
        at = {};  // an empty frame takes its first point
        done = f->AddOffset(0, 0);
    } else if (at.index >= f->GetOffsetCount()) {
        done = f->AddOffset(at.x, at.z);
    } else {
        done = f->InsertOffset(at.index, at.x, at.z);
    }
    if (!done) return;
    SetModified();
    CurrentPoint = int(at.index);
    ShowPoint(CurrentPoint + 1);
}

void TMainForm::DeletePoint1Click(TObject*)
{
    OffsetGrid->EndEdit();
    core::Section* f = CurrentSection();
    if (!f) return;
    if (f->DeleteOffset(unsigned(CurrentPoint))) SetModified();
    // After the last point the one before it becomes current.
    const int n = int(f->GetOffsetCount());
    if (CurrentPoint >= n) CurrentPoint = n > 0 ? n - 1 : 0;
    ShowPoint(CurrentPoint + 1);
}

}  // namespace app
