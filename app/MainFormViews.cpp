// The main window's 2D views: filling them from the hull, the zoom commands, the cursor
// position, point editing with the mouse in the body plan, saving a view and the
// reference image under the body plan.
#include <exception>

#include "app/AppForms.h"
#include "app/MainForm.h"
#include "app/PrefForm.h"
#include "app/RefImageForm.h"
#include "app/ViewGeometry.h"
#include "base/StrUtils.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/forms/Dialogs.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/frame/ExPageControl.h"
#include "widgets/plot/PlotGraph.h"

using namespace platform;

namespace app {

namespace {

constexpr TColor kRed = 0x0000FF;   // RGB(255, 0, 0)
constexpr TColor kGrey = 0x808080;  // RGB(128, 128, 128)
constexpr int kOffsetsPage = 2;
constexpr int kLastCheckableFrame = 255;  // the frames list keeps no mark beyond it

plot::TPoints& NewSeries(plot::TPlotGraph* view, TColor colour)
{
    view->Series().Add();
    plot::TPoints& s = view->Series().GetSeries(view->Series().Count() - 1);
    s.SetColor(colour);
    return s;
}

void SetUpView(plot::TPlotGraph* v, const char* xLabel, const char* yLabel, TColor xColour, TColor yColour)
{
    v->SetAxisXLabel(xLabel);
    v->SetAxisYLabel(yLabel);
    v->SetColorXAxis(xColour);
    v->SetColorYAxis(yColour);
    v->SetAspectRatio(1);
    v->SetMaintainRatio(true);
    v->SetColorBg(clWhite);
    v->SetColorGrid(clSilver);
    v->SetMousePan(plot::maRight);
    v->SetMouseZoom(plot::maRight);
    v->SetMouseFuncHint(plot::maShift);
    v->SetQuadrant(plot::egqAll);
    v->SetZoomTime(200);
}

}  // namespace

void TMainForm::SetupViews()
{
    SetUpView(SectionView, "X", "Z", clRed, clBlue);
    SetUpView(SideView, "Y", "Z", clGreen, clBlue);
    SetUpView(PlanView, "Y", "X", clGreen, clRed);
    SectionView->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        SectionViewMouseDown(s, b, sh, x, y);
    };
    SectionView->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { SectionViewMouseMove(s, sh, x, y); };
    SideView->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { SideViewMouseMove(s, sh, x, y); };
    PlanView->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { PlanViewMouseMove(s, sh, x, y); };
    for (plot::TPlotGraph* v : {SectionView, SideView, PlanView}) {
        auto label = [this](TObject* s, plot::Extended val, std::string& lbl) { SectionViewXLabeling(s, val, lbl); };
        v->SetOnXLabeling(label);
        v->SetOnYLabeling(label);
    }

    auto click = [this](void (TMainForm::*handler)(TObject*)) {
        return TNotifyEvent([this, handler](TObject* s) { (this->*handler)(s); });
    };
    SaveBodyPlan1->OnClick = click(&TMainForm::BodyPlan1Click);
    SavePlan1->OnClick = click(&TMainForm::Plan1Click);
    SaveSide1->OnClick = click(&TMainForm::SideElevation1Click);
    ImportRefImage1->OnClick = click(&TMainForm::ImportLines1Click);
    ClearRefImage1->OnClick = click(&TMainForm::ClearRefImage1Click);
    ZoomAll1->OnClick = click(&TMainForm::ZoomAll1Click);
    ZoomActiveAppendage1->OnClick = click(&TMainForm::ZoomActiveAppendage1Click);
    ZoomActiveFrame1->OnClick = click(&TMainForm::ZoomActiveFrame1Click);
    FitViewsBtn->OnClick = click(&TMainForm::FitViewsBtnClick);
    SnapOffset1->AutoCheck = true;
    // The menu's own handler keeps the preferences in step; the body plan follows.
    TNotifyEvent toPrefs = ShowIndex1->OnClick;
    ShowIndex1->OnClick = [this, toPrefs](TObject* s) {
        if (toPrefs) toPrefs(s);
        ShowIndex1Click(s);
    };

    SaveImageDialog = new TSavePictureDialog(this);
    SaveImageDialog->SetName("SaveImageDialog");
    SaveImageDialog->Title = "Save View";
}

// --- Filling the views ---

void TMainForm::ShowAppendageInViews(int i, int hi)
{
    SetViewMode3D(true);
    for (plot::TPlotGraph* v : {SectionView, SideView, PlanView}) v->Series().Clear();
    DrawAppendageInViews(i, hi);
}

void TMainForm::DrawAppendageInViews(int i, int hi)
{
    if (!Hull.IsAppendageIndexValid(i)) return;
    const core::Appendage& a = Hull.appendages[i];
    const int n = int(a.frames.size());
    if (n == 0) return;
    const TColor colour = TColor(a.colour);
    for (int f = 0; f < n; ++f) AddFrameOutline(NewSeries(SectionView, f == hi ? kRed : colour), a.frames[f]);
    AddExtentOutline(NewSeries(SideView, colour), a, false);
    AddExtentOutline(NewSeries(PlanView, colour), a, true);
    if (hi >= 0 && hi < n) {
        const core::Section& f = a.frames[hi];
        plot::TPoints& side = NewSeries(SideView, kRed);
        side.AddSimple(f.Y, f.GetMinZ());
        side.AddSimple(f.Y, f.GetMaxZ());
        plot::TPoints& plan = NewSeries(PlanView, kRed);
        plan.AddSimple(f.Y, f.GetMinX());
        plan.AddSimple(f.Y, f.GetMaxX());
    }
    if (AlwaysZoomAll1->Checked()) SectionView->SetVisRect(ZoomBox(a.GetMinX(), a.GetMaxX(), a.GetMinZ(), a.GetMaxZ()));
}

void TMainForm::DrawAllViews()
{
    SetViewMode3D(false);
    for (plot::TPlotGraph* v : {SectionView, SideView, PlanView}) v->Series().Clear();
    const bool always = AlwaysZoomAll1->Checked();
    AlwaysZoomAll1->SetChecked(false);
    for (int i = 0; i < int(Hull.appendages.size()); ++i)
        if (Hull.appendages[i].active) DrawAppendageInViews(i, int(Hull.appendages[i].frames.size()) + 1);
    AlwaysZoomAll1->SetChecked(always);
    if (always) SectionView->SetVisRect(ZoomBox(Hull.GetMinX(), Hull.GetMaxX(), Hull.GetMinZ(), Hull.GetMaxZ()));
}

void TMainForm::DrawBodyPlan()
{
    SectionView->Series().Clear();
    if (!Hull.IsFrameIndexValid(CurrentAppendage, CurrentFrame)) return;
    const core::Appendage& a = Hull.appendages[CurrentAppendage];
    for (int f = 0; f < int(a.frames.size()); ++f)
        if (f != CurrentFrame && f <= kLastCheckableFrame && a.frames[f].checked)
            AddFrameOutline(NewSeries(SectionView, kGrey), a.frames[f]);
    plot::TPoints& current = NewSeries(SectionView, kRed);
    current.SetPointSymbol(char(67));
    current.SetDrawStyle(ShowIndex1->Checked() ? plot::dsNumber : plot::dsLines);
    AddFrameOutline(current, a.frames[CurrentFrame]);
    if (AlwaysZoomAll1->Checked()) SectionView->SetVisRect(ZoomBox(a.GetMinX(), a.GetMaxX(), a.GetMinZ(), a.GetMaxZ()));
}

// --- Zoom ---

void TMainForm::ZoomAll1Click(TObject*)
{
    SectionView->SetVisRect(ZoomAllBox(Hull.GetMinX(), Hull.GetMaxX(), Hull.GetMinZ(), Hull.GetMaxZ()));
    SideView->SetVisRect(ZoomAllBox(Hull.GetMinY(), Hull.GetMaxY(), Hull.GetMinZ(), Hull.GetMaxZ()));
    PlanView->SetVisRect(ZoomAllBox(Hull.GetMinY(), Hull.GetMaxY(), Hull.GetMinX(), Hull.GetMaxX()));
    SetProjection3D();
}

void TMainForm::ZoomActiveAppendage1Click(TObject*)
{
    if (!Hull.IsAppendageIndexValid(CurrentAppendage)) return;
    const core::Appendage& a = Hull.appendages[CurrentAppendage];
    if (a.frames.empty()) return;
    SectionView->SetVisRect(ZoomBox(a.GetMinX(), a.GetMaxX(), a.GetMinZ(), a.GetMaxZ()));
}

void TMainForm::ZoomActiveFrame1Click(TObject*)
{
    if (!Hull.IsFrameIndexValid(CurrentAppendage, CurrentFrame)) return;
    const core::Section& f = Hull.appendages[CurrentAppendage].frames[CurrentFrame];
    SectionView->SetVisRect(ZoomBox(f.GetMinX(), f.GetMaxX(), f.GetMinZ(), f.GetMaxZ()));
}

void TMainForm::FitViewsBtnClick(TObject* Sender)
{
    if (ViewControl->GetActivePageIndex() == 0) {
        switch (ModelInspector->GetActivePageIndex()) {
        case 0: ZoomAll1Click(Sender); break;
        case 1: ZoomActiveAppendage1Click(Sender); break;
        case kOffsetsPage: ZoomActiveFrame1Click(Sender); break;
        default: break;
        }
    }
    ResetCamera3D();
}

void TMainForm::ShowIndex1Click(TObject*)
{
    const int page = ModelInspector->GetActivePageIndex();
    if (page == 1 || page == kOffsetsPage) DrawBodyPlan();
}

// --- Mouse ---

double TMainForm::TakePositive(edit::TExEdit* e, double& kept, const std::string& what, const char* format)
{
    // A step or factor that is no number above 0 would give NaN offsets or divide
    // the zoom by zero: the last accepted one stays.
    if (!ReadPositive(e->GetText(), kept)) {
        ShowMessage(what + " must be a number above 0; " + base::FormatFloat(format, kept) + " is kept.");
        e->SetFloat(kept);
    }
    return kept;
}

void TMainForm::SnapSteps(double& xStep, double& zStep)
{
    if (PrefForm) {
        TakePositive(PrefForm->XSnapEdit, xSnap_, "X Snap", "0.000");
        TakePositive(PrefForm->ZSnapEdit, zSnap_, "Z Snap", "0.000");
    }
    xStep = xSnap_;
    zStep = zSnap_;
}

void TMainForm::SectionViewMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (ModelInspector->GetActivePageIndex() != kOffsetsPage) return;
    // An editing press is not also a zoom, pan or hint; other presses keep them.
    if ((Button == mbLeft || Button == mbRight) && (Shift & (ssCtrl | ssShift))) SectionView->SetDontZoom(true);
    else return;
    try {
        plot::Extended gx = 0, gz = 0;
        // A press beside the plot (on its scales) has no point of the frame's plane.
        if (!SectionView->GetGraphCoords(X, Y, gx, gz)) return;
        const double x = double(gx), z = double(gz);
        const bool snap = SnapOffset1->Checked();
        auto frame = [this]() -> core::Section* {
            if (!Hull.IsFrameIndexValid(CurrentAppendage, CurrentFrame)) return nullptr;
            core::Section& f = Hull.appendages[CurrentAppendage].frames[CurrentFrame];
            const unsigned p = unsigned(CurrentPoint);
            return CurrentPoint >= 0 && p + 1 <= f.GetOffsetCount() ? &f : nullptr;
        };
        auto edit = [&](PointEdit::Kind kind) {
            PointEdit e;
            e.kind = kind;
            e.point = unsigned(CurrentPoint);
            e.x = x;
            e.z = z;
            e.snap = snap;
            if (snap) SnapSteps(e.xStep, e.zStep);
            return e;
        };
        if (Button == mbLeft && (Shift & ssCtrl)) {
            if (core::Section* f = frame()) {
                const core::Result done = EditPoint(*f, edit(PointEdit::kInsertAfter));
                if (done) SetModified();
                else ShowFailure("Could not add a point at X=" + base::FloatToStr(x) + ", Z=" + base::FloatToStr(z), done.Reason());
                // The new point is highlighted, so it is the current one; with Shift too, the
                // point current at the press is the one moved below.
                if (done && !(Shift & ssShift)) ++CurrentPoint;
                ShowPoint(Shift & ssShift ? CurrentPoint + 2 : CurrentPoint + 1);
            }
        }
        if (Button == mbLeft && (Shift & ssShift)) {
            if (core::Section* f = frame()) {
                const core::Result done = EditPoint(*f, edit(PointEdit::kMove));
                if (done) SetModified();
                else ShowFailure("Could not move the point to X=" + base::FloatToStr(x) + ", Z=" + base::FloatToStr(z), done.Reason());
                ShowPoint(CurrentPoint + 1);
            }
        }
        if (Button == mbRight && (Shift & (ssCtrl | ssShift))) {
            CurrentPoint = int(Hull.FindNearestOffset(unsigned(CurrentAppendage), unsigned(CurrentFrame), x, z));
            SetOffsetGridRows(OffsetGridTopRow(), CurrentPoint + 1);
        }
    } catch (const std::exception& e) {
        // A failed edit leaves the model as the steps before it left it.
        ShowFailure("Could not edit the offsets", e.what());
    }
}

void TMainForm::ShowCursor(plot::TPlotGraph* view, int kind, int X, int Y)
{
    std::string text = "X: 0.000m, Y: 0.000m, Z: 0.000m";
    try {
        plot::Extended h = 0, v = 0;
        const bool ok = view->GetGraphCoords(X, Y, h, v);
        text = CursorText(TViewKind(kind), ok, double(h), double(v));
    } catch (const std::exception&) {
    }
    StatusBar->Panels().Items(4)->SetText(text);
}

void TMainForm::SectionViewMouseMove(TObject*, TShiftState, int X, int Y) { ShowCursor(SectionView, vkBodyPlan, X, Y); }
void TMainForm::SideViewMouseMove(TObject*, TShiftState, int X, int Y) { ShowCursor(SideView, vkSide, X, Y); }
void TMainForm::PlanViewMouseMove(TObject*, TShiftState, int X, int Y) { ShowCursor(PlanView, vkPlan, X, Y); }

void TMainForm::SectionViewXLabeling(TObject*, long double Val, std::string& Lbl)
{
    Lbl = base::FormatFloat("0.000", double(Val)) + " m";
}

// --- Save View ---

void TMainForm::SaveViewAs(plot::TPlotGraph* view, const std::string& title)
{
    SaveImageDialog->Title = title;
    if (!SaveImageDialog->Execute() || SaveImageDialog->FilterIndex != 1) return;
    const std::string file = ViewFileName(SaveImageDialog->FileName);
    try {
        view->SaveAsBmp(file);
    } catch (const std::exception& e) {
        ShowMessage("Unable to save the view to " + file + ": " + e.what());
    }
}

void TMainForm::BodyPlan1Click(TObject*) { SaveViewAs(SectionView, "Save Section View"); }
void TMainForm::Plan1Click(TObject*) { SaveViewAs(PlanView, "Save Plan View"); }
void TMainForm::SideElevation1Click(TObject*) { SaveViewAs(SideView, "Save Side View"); }

// --- Reference image ---

void TMainForm::ImportLines1Click(TObject*)
{
    // One window for the program's run: it keeps its picture and corners between showings.
    if (!ImportRefForm) ImportRefForm = new TImportRefForm(this, SectionView);
    ImportRefForm->ShowModal();
}

void TMainForm::ClearRefImage1Click(TObject*) { SectionView->SetBgStyle(plot::bgsSolid); }

}  // namespace app
