#include "app/RunPages.h"

#include <algorithm>
#include <cmath>

#include "app/AppForms.h"
#include "app/MainForm.h"
#include "app/PrefForm.h"
#include "app/RunLogic.h"
#include "base/ScopeGuard.h"
#include "base/StrUtils.h"
#include "core/DraughtSearch.h"
#include "core/HydroData.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/system/Thread.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartTitles.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/edit/ParamMarkup.h"
#include "widgets/edit/ExEdBtn.h"
#include "widgets/edit/ExProgr.h"
#include "widgets/edit/ExToolBtn.h"
#include "widgets/frame/ExPageControl.h"
#include "widgets/frame/ExPanel.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GridOptions.h"

using namespace platform;

namespace app {

namespace {

// A run's worker: its body only orders the steps, which run on the GUI thread.
class TRunWorker : public TThread {
public:
    TRunWorker(TRunPages& pages, TRunKind kind) : TThread(true), pages_(pages), kind_(kind) {}
    TRunControl Control;

protected:
    void Execute() override
    {
        try {
            Synchronize([this] {
                switch (kind_) {
                case rkHydros: pages_.HydroRun(Control); break;
                case rkCrossCurves: pages_.CrossCurveRun(Control); break;
                case rkLongCurves: pages_.LongCurveRun(Control); break;
                }
            });
        } catch (...) {
            FatalException = std::current_exception();
        }
        Synchronize([this] { pages_.FinishRun(kind_); });
    }

private:
    TRunPages& pages_;
    TRunKind kind_;
};

// Each run has a worker class of its own, named after the run; they differ only in the
// kind they pass on.
class RunHydros : public TRunWorker {
public:
    explicit RunHydros(TRunPages& p) : TRunWorker(p, rkHydros) {}
};
class RunCrossCurves : public TRunWorker {
public:
    explicit RunCrossCurves(TRunPages& p) : TRunWorker(p, rkCrossCurves) {}
};
class RunLongCurves : public TRunWorker {
public:
    explicit RunLongCurves(TRunPages& p) : TRunWorker(p, rkLongCurves) {}
};

// A step field: it knows when a step typed or pasted into it was too small for its
// decimals, so that it reads zero.
class TStepEdit : public edit::TExEdit {
public:
    using TExEdit::TExEdit;
    bool BelowPrecision() const { return below_ && GetFloat() == 0; }
    void WMChar(TWMChar& m) override
    {
        const char c = char(m.CharCode());
        const std::string before = Text();
        TExEdit::WMChar(m);
        // A digit the full decimals refused, or any change that took.
        if (c >= '1' && c <= '9' && Text() == before) below_ = true;
        else if (Text() != before) below_ = false;
    }
    void WMKillFocus(TWMKillFocus& m) override
    {
        const double typed = GetFloat();
        TExEdit::WMKillFocus(m);
        if (typed != 0 && GetFloat() == 0) below_ = true;
    }

private:
    bool below_ = false;
};

bool StepBelowField(edit::TExEdit* e)
{
    auto* step = dynamic_cast<TStepEdit*>(e);
    return step && step->BelowPrecision();
}

template <class Edit = edit::TExEdit>
edit::TExEdit* NumberField(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& label,
                           const std::string& suffix, int left, int top, const std::string& text = "0.000")
{
    auto* e = MakeControl<Edit>(owner, parent, name);
    e->SetEditType(edit::etFloat);
    e->SetPrecision(3);
    e->Signed = true;
    e->SetSuffix(suffix);
    e->SetText(text);
    e->SetLabelCaption(label);
    e->SetLabelPosition(edit::lpTopLeft);
    e->SetBounds(left, top, 110, 21);
    e->SetHint("Enter Start Draught Here");
    e->SetShowHint(true);
    return e;
}

edit::TExToolButton* RunButton(TComponent* owner, TWinControl* parent, const std::string& name)
{
    auto* b = MakeControl<edit::TExToolButton>(owner, parent, name);
    b->SetCaption("Run");
    b->SetBounds(8, 18, 60, 24);
    return b;
}

TCaptionPanel* InputPanel(TComponent* owner, TWinControl* parent, const std::string& name, int height)
{
    auto* p = MakeControl<TCaptionPanel>(owner, parent, name);
    p->Caption().SetVisible(false);
    p->SetAlign(alBottom);
    p->SetHeight(height);
    return p;
}

grid::TExStringGrid* ResultGrid(TComponent* owner, TWinControl* parent, const std::string& name, int cols,
                                int colWidth)
{
    auto* g = MakeControl<grid::TExStringGrid>(owner, parent, name);
    g->SetAlign(alClient);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetColCountEx(cols);
    g->SetRowCountEx(5);
    g->SetDefaultColWidth(colWidth);
    g->SetDefaultRowHeight(21);
    g->EnableHTML = true;
    g->FloatFormat = "%.3f";
    g->Bands().SetActive(true);
    g->Bands().SetPrimaryColor(clInfoBk);
    g->Bands().SetSecondaryColor(clWindow);
    g->Font()->SetName("Tahoma");
    g->Font()->SetSize(8);
    g->SetOptions(g->Options() | goRangeSelect);
    return g;
}

chart::TChart* ResultChart(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& title)
{
    auto* c = MakeControl<chart::TChart>(owner, parent, name);
    c->SetAlign(alClient);
    c->SetView3D(false);
    c->Legend().SetCheckBoxes(true);
    c->Title().SetText({title});
    return c;
}

// Table and graph pages of a calculation page.
void ResultPages(TComponent* owner, TWinControl* parent, const std::string& name, grid::TExStringGrid*& g,
                 const std::string& gridName, int cols, int colWidth, chart::TChart*& c, const std::string& chartName,
                 const std::string& title)
{
    auto* pages = MakeControl<TAppPageControl>(owner, parent, name);
    pages->SetAlign(alClient);
    pages->SetExTabPosition(tpBottom);
    TAppTabSheet* table = AddSheet(owner, pages, name + "Table", "Table");
    TAppTabSheet* graph = AddSheet(owner, pages, name + "Graph", "Graph");
    g = ResultGrid(owner, table, gridName, cols, colWidth);
    c = ResultChart(owner, graph, chartName, title);
    pages->SetActivePage(table);
}

chart::THorizLineSeries* HorizSeries(chart::TChart* c, const std::string& title, TColor color)
{
    auto* s = new chart::THorizLineSeries(c);
    c->AddSeries(s);
    if (!title.empty()) s->SetTitle(title);
    if (color != clNone) s->SetSeriesColor(color);
    return s;
}

// The value axis of a graph: a tenth of the values' span above the highest point, so that
// a flat top (a parallel-sided body) shows inside the frame, and a range around values
// that are one number throughout.
void FitValueAxis(chart::TChart* c)
{
    double lo = 0, hi = 0;
    bool any = false;
    for (int k = 0; k < c->SeriesCount(); ++k) {
        chart::TChartSeries* s = c->GetSeries(k);
        if (s->Count() == 0) continue;
        lo = any ? std::min(lo, s->MinYValue()) : s->MinYValue();
        hi = any ? std::max(hi, s->MaxYValue()) : s->MaxYValue();
        any = true;
    }
    chart::TChartAxis& a = c->LeftAxis();
    if (!any || !std::isfinite(lo) || !std::isfinite(hi)) {
        a.SetAutomatic(true);
        return;
    }
    const double span = hi > lo ? hi - lo : std::max(std::fabs(hi), 1.0);
    const double min = hi > lo ? lo : lo - span / 10, max = hi + span / 10;
    a.SetMinMax(min, max);
}

void SetNumber(grid::TExStringGrid* g, int col, int row, double v) { g->SetFloats(col, row, runs::CellValue(v)); }

void SetHeaderRow(grid::TExStringGrid* g, int row, const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i)
        g->SetCellsEx(int(i), row, cells[i]);
}

}  // namespace

std::string GraphFileExtension(int filterIndex)
{
    switch (filterIndex) {
    case 2: return "wmf";
    case 3: return "emf";
    default: return "bmp";
    }
}

TRunPages::TRunPages(TMainForm& form) : form_(form)
{
    BuildHydroPage();
    BuildCrossCurvesPage();
    BuildLongCurvesPage();
    BuildCommands();
}

TRunPages::~TRunPages()
{
    StopRun();
    WaitForWorker();
}

void TRunPages::BuildHydroPage()
{
    auto* panel = InputPanel(&form_, form_.HydroSheet, "ExPanel1", 48);
    RunHydrosButton = RunButton(&form_, panel, "RunHydrosButton");
    StartDraftEdit = NumberField(&form_, panel, "StartDraftEdit", "Start Draught", " m", 80, 20);
    EndDraftEdit = NumberField(&form_, panel, "EndDraftEdit", "End Draught", " m", 200, 20);
    DraftStepEdit = NumberField<TStepEdit>(&form_, panel, "DraftStepEdit", "Draught Step", " m", 320, 20);
    ResultPages(&form_, form_.HydroSheet, "ExPageControl1", HydroGrid, "HydroGrid", 18, 90, HydroChart, "HydroChart",
                "Hydrostatics");
    HydroGrid->SetRowCountEx(5);
    chart::TChart* c = HydroChart;
    c->SetMarginUnits(chart::muPixels);
    c->SetMarginBottom(100);
    c->BottomAxis().Title().SetCaption("Displacement (Te)");
    c->LeftAxis().Title().SetCaption("Draft/Waterline above Z=0.00 (m)");
    c->TopAxis().Title().SetCaption("Longitudinal Position from y=0.00 (m) - LCB & LCF");
    struct Extra {
        const char* title;
        TColor color;
        double start, end;
        int below;
    };
    const Extra extras[] = {{"Volume (m^3)", clRed, 0, 100, 34},
                            {"VCB (m)", clBlack, 0, 27, 70},
                            {"TPI (Te/cm) & MCT (Te.m)", clBlack, 73, 100, 70},
                            {"KMT & KML/10 (m)", clBlack, 32, 68, 70}};
    chart::TChartAxis* axes[4];
    for (int i = 0; i < 4; ++i) {
        chart::TChartAxis* a = c->CustomAxes().Add();
        a->SetHorizontal(true);
        a->SetOtherSide(false);
        a->SetStartPosition(extras[i].start);
        a->SetEndPosition(extras[i].end);
        a->SetPosUnits(chart::muPixels);
        a->SetPositionPercent(-extras[i].below);
        a->Title().SetCaption(extras[i].title);
        axes[i] = a;
    }
    const TColor green = RGB(0, 128, 64);
    struct Line {
        const char* title;
        TColor color;
        int axis;  // -1 bottom, -2 top, else an extra axis
    };
    const Line lines[9] = {{"", clNone, -1},      {"", clRed, 0},     {"LCB", green, -2},
                           {"LCF", clRed, -2},     {"VCB", green, 1},  {"TPI", green, 2},
                           {"MCT 1cm", clRed, 2},  {"KML", clBlack, 3}, {"KMT", clBlue, 3}};
    for (int i = 0; i < 9; ++i) {
        auto* s = HorizSeries(c, lines[i].title, lines[i].color);
        s->SetName(i == 0 ? "Displacement" : i == 1 ? "Volume" : "HydroSeries" + std::to_string(i));
        if (lines[i].axis == -2) {
            s->SetHorizAxis(chart::aTopAxis);
        } else if (lines[i].axis >= 0) {
            s->SetHorizAxis(chart::aCustomHorizAxis);
            s->SetCustomHorizAxis(axes[lines[i].axis]);
        }
    }
}

void TRunPages::BuildCrossCurvesPage()
{
    auto* panel = InputPanel(&form_, form_.CrossCurvesSheet, "ExPanel2", 96);
    RunCrossCurvesButton = RunButton(&form_, panel, "RunCrossCurvesButton");
    StartAngleEdit = NumberField(&form_, panel, "StartAngleEdit", "Start Angle", " deg", 80, 20);
    EndAngleEdit = NumberField(&form_, panel, "EndAngleEdit", "End Angle", " deg", 200, 20);
    AngleStepEdit = NumberField<TStepEdit>(&form_, panel, "AngleStepEdit", "Angle Step", " deg", 320, 20);
    StartDisp = NumberField(&form_, panel, "StartDisp", "Start Displacement", " Te", 80, 66);
    EndDisp = NumberField(&form_, panel, "EndDisp", "End Displacement", " Te", 200, 66);
    DispStep = NumberField<TStepEdit>(&form_, panel, "DispStep", "Displacement Step", " Te", 320, 66);
    DispTolerance = NumberField(&form_, panel, "DispTolerance", "Tolerance", " %", 440, 66, "0.100");
    OtherAngleEdit = MakeControl<edit::TExEditBtn>(&form_, panel, "OtherAngleEdit");
    OtherAngleEdit->SetEditType(edit::etFloat);
    OtherAngleEdit->SetPrecision(3);
    OtherAngleEdit->Signed = true;
    OtherAngleEdit->SetSuffix(" deg");
    OtherAngleEdit->SetText("0.000");
    OtherAngleEdit->SetLabelCaption("Other Angles");
    OtherAngleEdit->SetLabelPosition(edit::lpTopLeft);
    OtherAngleEdit->SetCaption("Add");
    OtherAngleEdit->SetBounds(440, 20, 130, 21);
    OtherAngleEdit->SetButtonWidth(34);
    OtherAngleEdit->SetHint("Add other angle to calculate cross curves for...");
    OtherAngleEdit->OnClickBtn = [this](TObject* s) { OtherAngleEditClickBtn(s); };
    ResultPages(&form_, form_.CrossCurvesSheet, "ExPageControl3", CrossCurvesGrid, "CrossCurvesGrid", 5, 100, CCChart,
                "CCChart", "Cross Curves of Stability");
    CCChart->BottomAxis().Title().SetCaption("Displacement (Te)");
    CCChart->LeftAxis().Title().SetCaption("Righting Lever - KN (m)");
    CCChart->RightAxis().SetVisible(false);
    CCChart->TopAxis().SetVisible(false);
}

void TRunPages::BuildLongCurvesPage()
{
    auto* panel = InputPanel(&form_, form_.LongCurvesSheet, "ExPanel3", 48);
    RunLongBuoyancyBtn = RunButton(&form_, panel, "RunLongBuoyancyBtn");
    CurveDraughtEdit = NumberField(&form_, panel, "CurveDraughtEdit", "Draught", " m", 80, 20);
    ResultPages(&form_, form_.LongCurvesSheet, "ExPageControl4", LongBendingGrid, "LongBendingGrid", 5, 100,
                LongBendingChart, "LongBendingChart", "Longitudinal Curves of Buoyancy");
    chart::TChart* c = LongBendingChart;
    c->BottomAxis().Title().SetCaption("Longitudinal Position (m)");
    c->LeftAxis().Title().SetCaption("Area (m^2) & Buoyancy (Te/m)");
    c->RightAxis().SetVisible(false);
    c->TopAxis().SetVisible(false);
    auto* buoyancy = new chart::TLineSeries(c);
    buoyancy->SetName("Series8");
    c->AddSeries(buoyancy);
    buoyancy->SetTitle("Buoyancy");
    auto* area = new chart::TLineSeries(c);
    area->SetName("Series9");
    c->AddSeries(area);
    area->SetTitle("Area");
    area->SetSeriesColor(clRed);
    // The two curves in two colours of the palette.
    buoyancy->SetSeriesColor(c->GetFreeSeriesColor(true, buoyancy));
}

void TRunPages::BuildCommands()
{
    RunHydrosButton->OnClick = [this](TObject*) { RunClick(rkHydros); };
    RunCrossCurvesButton->OnClick = [this](TObject*) { RunClick(rkCrossCurves); };
    RunLongBuoyancyBtn->OnClick = [this](TObject*) { RunClick(rkLongCurves); };
    form_.StopButton->OnClick = [this](TObject* s) { StopButtonClick(s); };
    form_.TrimEdit->OnClickBtn = [this](TObject* s) { TrimEditClickBtn(s); };
    for (int i = 0; i < 3; ++i) {
        const auto k = TRunKind(i);
        form_.ReportSave[i]->OnClick = [this, k](TObject*) { ReportSaveClick(k); };
        form_.ReportCopy[i]->OnClick = [this, k](TObject*) { ReportCopyClick(k); };
        form_.GraphSave[i]->OnClick = [this, k](TObject*) { GraphSaveClick(k); };
        form_.GraphCopy[i]->OnClick = [this, k](TObject*) { GraphCopyClick(k); };
        form_.LegendVisible[i]->OnClick = [this, k](TObject*) { LegendVisibleClick(k); };
    }
    TMenuItem* clear = new TMenuItem(&form_);
    clear->SetName("Clear1");
    clear->SetCaption("Clear Angle List");
    clear->OnClick = [this](TObject* s) { ClearAngleListClick(s); };
    form_.CalcMenu[1]->Add(clear);
    SaveReportDialog = new TSaveDialog(&form_);
    SaveReportDialog->SetName("SaveReportDialog");
    SaveReportDialog->Title = "Save Report";
    SaveReportDialog->Filter = "Comma Seperated Files|*.csv|ASCII Plain Text|*.txt|HTML File|*.html";
    SaveReportDialog->DefaultExt = "csv";
    SaveGraphDialog = new TSaveDialog(&form_);
    SaveGraphDialog->SetName("SaveGraphDialog");
    SaveGraphDialog->Title = "Export/Save Graph";
    SaveGraphDialog->Filter = "BMP File|*.bmp|Std Metafile|*.wmf|Enhanced Metafile|*.emf";
    SaveGraphDialog->DefaultExt = "bmp";
}

void TRunPages::ClearResults()
{
    struct Page {
        grid::TExStringGrid* grid;
        int cols;
        chart::TChart* chart;
        const char* title;
    };
    const Page pages[] = {{HydroGrid, 18, HydroChart, "Hydrostatics"},
                          {CrossCurvesGrid, 5, CCChart, "Cross Curves of Stability"},
                          {LongBendingGrid, 5, LongBendingChart, "Longitudinal Curves of Buoyancy"}};
    for (const Page& p : pages) {
        p.grid->SplitAllCells();
        p.grid->Clear();
        p.grid->SetColCountEx(p.cols);
        p.grid->SetRowCountEx(5);
        p.chart->Title().SetText({p.title});
    }
    LongBendingChart->LeftAxis().SetAutomatic(true);
    // The cross-curve series are made per run; the others are the page's own.
    CCChart->FreeAllSeries();
    for (chart::TChart* c : {HydroChart, LongBendingChart})
        for (int k = 0; k < c->SeriesCount(); ++k) c->GetSeries(k)->Clear();
}

grid::TExStringGrid* TRunPages::Grid(TRunKind k) const
{
    return k == rkHydros ? HydroGrid : k == rkCrossCurves ? CrossCurvesGrid : LongBendingGrid;
}

chart::TChart* TRunPages::Chart(TRunKind k) const
{
    return k == rkHydros ? HydroChart : k == rkCrossCurves ? CCChart : LongBendingChart;
}

// --- Runs ---

void TRunPages::SetCommandsEnabled(bool enabled)
{
    for (edit::TExToolButton* b : {RunHydrosButton, RunCrossCurvesButton, RunLongBuoyancyBtn})
        b->SetEnabled(enabled);
    for (TMenuItem* m : {form_.File1, form_.Model1, form_.View1, form_.Calculations1})
        m->SetEnabled(enabled);
    form_.ToolBar->SetEnabled(enabled);
    form_.ModelInspector->SetEnabled(enabled);
    form_.TrimEdit->SetEnabled(enabled);
    form_.DraughtMarkComboBox->SetEnabled(enabled);
    OtherAngleEdit->SetEnabled(enabled);
    form_.StopButton->SetEnabled(!enabled);
}

void TRunPages::RunClick(TRunKind kind)
{
    if (Running()) return;
    WaitForWorker();
    ShowProgress(0, "Progress: Initialising calculation thread....");
    std::unique_ptr<TRunWorker> w;
    switch (kind) {
    case rkHydros: w = std::make_unique<RunHydros>(*this); break;
    case rkCrossCurves: w = std::make_unique<RunCrossCurves>(*this); break;
    case rkLongCurves: w = std::make_unique<RunLongCurves>(*this); break;
    }
    live_ = &w->Control;
    liveKind_ = kind;
    TRunWorker* started = w.get();
    worker_ = std::move(w);
    form_.BeginRun();
    SetCommandsEnabled(false);
    try {
        started->Start();
    } catch (const EThread&) {
        // Nothing runs: the window is given back as it was, before the worker (which
        // holds the run's control) is freed.
        FinishRun(kind);
        worker_.reset();
        ShowMessage("Error! Cannot create thread.");
    }
}

void TRunPages::StopRun()
{
    if (live_) live_->stop = true;
}

void TRunPages::StopButtonClick(TObject*) { StopRun(); }

void TRunPages::WaitForWorker()
{
    if (worker_) {
        worker_->WaitFor();
        worker_.reset();
    }
}

void TRunPages::ShowProgress(int position, const std::string& text)
{
    shownPosition_ = position;
    shownText_ = text;
    if (!pacing_) {
        form_.ProgressBar->SetPosition(position);
        form_.ProgressLabel->SetCaption(text);
    }
    if (OnProgress) OnProgress(position, text);
}

namespace {

// About one frame of a 60 Hz screen.
constexpr std::chrono::microseconds kFrame(16667);

}  // namespace

// Paces the loop that lives as long as it does.
struct TPacedLoop {
    TPacedLoop(TRunPages& pages, std::vector<TWinControl*> views) : pages_(pages)
    {
        pages_.BeginPacing(std::move(views));
    }
    ~TPacedLoop() { pages_.EndPacing(); }
    TPacedLoop(const TPacedLoop&) = delete;
    TPacedLoop& operator=(const TPacedLoop&) = delete;

private:
    TRunPages& pages_;
};

void TRunPages::BeginPacing(std::vector<TWinControl*> views)
{
    pacedViews_ = std::move(views);
    pacing_ = true;
    lastFrame_ = std::chrono::steady_clock::now();
    SetRedraw(false);
}

void TRunPages::EndPacing()
{
    if (!pacing_) return;
    pacing_ = false;
    form_.ProgressBar->SetPosition(shownPosition_);
    form_.ProgressLabel->SetCaption(shownText_);
    SetRedraw(true);
    pacedViews_.clear();
}

void TRunPages::SetRedraw(bool on)
{
    // Changes made while redrawing is off wait as invalid parts, painted once it is on.
    for (TWinControl* v : pacedViews_) v->Perform(WM_SETREDRAW, on ? 1 : 0, 0);
}

void TRunPages::RowDone()
{
    const auto now = std::chrono::steady_clock::now();
    const bool frame = pacing_ && now - lastFrame_ >= kFrame;
    if (frame) {
        lastFrame_ = now;
        form_.ProgressBar->SetPosition(shownPosition_);
        form_.ProgressLabel->SetCaption(shownText_);
        SetRedraw(true);
    }
    Application->ProcessMessages();
    if (frame && pacing_) SetRedraw(false);
}

void TRunPages::FinishRun(TRunKind)
{
    const bool marked = live_ && live_->stopped;
    live_ = nullptr;
    SetCommandsEnabled(true);
    form_.EndRun();
    // A run that threw goes to the application's exception handling, its table marked
    // incomplete as after a stop.
    std::exception_ptr failure;
    if (worker_) std::swap(failure, worker_->FatalException);
    if (!failure) return;
    if (!marked) ShowProgress(0, "Progress: Terminated.");
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        Application->HandleException(&form_, &e);
    } catch (...) {
        Application->HandleException(&form_, nullptr);
    }
}

void TRunPages::StepFailed(TRunControl& c, std::exception_ptr& failure, const std::string& terminated)
{
    failure = std::current_exception();
    c.stopped = true;
    ShowProgress(0, terminated);
}

void TRunPages::Refuse(TRunControl& c, const std::string& message)
{
    ShowMessage(message);
    c.refused = true;
    ShowProgress(0, "Progress: Error getting user data.");
}

void TRunPages::PrepareTable(grid::TExStringGrid* g, int rows, int cols, bool append)
{
    if (append) {
        g->InsertRows(0, rows);
        if (g->GetColCountEx() < cols) g->SetColCountEx(cols);
        return;
    }
    g->SplitAllCells();
    g->Clear();
    g->SetColCountEx(cols);
    g->SetRowCountEx(rows);
}

void TRunPages::InsertHeaderRows(grid::TExStringGrid* g, const std::vector<runs::ReportRow>& rows)
{
    for (const runs::ReportRow& row : rows) {
        g->InsertRows(0, 1);
        for (const runs::ReportCell& cell : row) {
            if (cell.col + cell.span > g->GetColCountEx()) g->SetColCountEx(cell.col + cell.span);
            if (cell.span > 1) g->MergeCells(cell.col, 0, cell.span, 1);
            g->SetCellsEx(cell.col, 0, cell.text);
        }
    }
}

namespace {

runs::TrimInput ReadTrim(TMainForm& f)
{
    return {f.TrimEdit->GetText(), f.TrimEdit->GetFloat(), f.TrimEdit->GetCaption()};
}

}  // namespace

void TRunPages::HydroRun(TRunControl& c)
{
    const runs::TrimInput trim = ReadTrim(form_);
    runs::HydroSettings s;
    const std::string refusal = runs::ReadHydroInputs(
        form_.Hull, {StartDraftEdit->GetText(), EndDraftEdit->GetText(), DraftStepEdit->GetFloat(), trim,
                     form_.DraughtMarkComboBox->ItemIndex()},
        s);
    if (refusal == runs::kBadStep && StepBelowField(DraftStepEdit)) return Refuse(c, runs::kStepBelowField);
    if (!refusal.empty()) return Refuse(c, refusal);
    ShowProgress(0, "Progress:");
    grid::TExStringGrid* g = HydroGrid;
    PrepareTable(g, s.rows + 2, 15, form_.AppendReport[0]->Checked());
    for (int col = 0; col < 15; ++col) {
        g->SetCellsEx(col, 0, runs::kHydroHeads[std::size_t(col)]);
        g->SetCellsEx(col, 1, runs::kHydroUnits[std::size_t(col)]);
    }
    for (int k = 0; k < 9; ++k)
        HydroChart->GetSeries(k)->Clear();
    int failed = 0;
    std::exception_ptr failure;
    TPacedLoop paced(*this, {g, HydroChart});
    for (int i = 0; i < s.rows && !c.stopped; ++i) {
        const double d = s.Draught(i);
        const std::string terminated = "Progress: Terminated at draft " + base::FloatToStr(d);
        try {
            ShowProgress((100 * i + 100) / s.rows, "Progress: Reporting Hydrostatics for draft " + base::FloatToStr(d));
            if (c.stop) {
                ShowProgress(0, terminated);
                c.stopped = true;
                break;
            }
            std::array<double, 15> row{};
            if (runs::HydroStep(form_.Hull, s, i, row)) {
                for (int col = 0; col < 15; ++col)
                    SetNumber(g, col, i + 2, row[std::size_t(col)]);
                const auto points = runs::HydroGraphValues(row);
                for (int k = 0; k < 9; ++k)
                    HydroChart->GetSeries(k)->AddXY(points[std::size_t(k)], row[0]);
            } else {
                ++failed;
            }
            RowDone();
        } catch (...) {
            StepFailed(c, failure, terminated);
        }
    }
    EndPacing();
    InsertHeaderRows(g, runs::HydroHeaderRows(form_.Hull, runs::RunStamp::Now(), trim, s.density,
                                              form_.ShowActiveAppendages[0]->Checked()));
    HydroChart->Title().SetText({"Hydrostatic Properties for " + form_.Hull.name});
    if (failure) std::rethrow_exception(failure);
    if (failed > 0) ShowMessage(runs::kHydroFailed);
    if (!c.stopped) ShowProgress(0, "Progress: Completed hydrostatic analysis run.");
}

void TRunPages::CrossCurveRun(TRunControl& c)
{
    const runs::TrimInput trim = ReadTrim(form_);
    runs::CrossSettings s;
    std::string warning;
    const std::string refusal = runs::ReadCrossInputs(
        form_.Hull,
        {StartDisp->GetFloat(), EndDisp->GetFloat(), DispStep->GetFloat(), StartAngleEdit->GetFloat(),
         EndAngleEdit->GetFloat(), AngleStepEdit->GetFloat(), DispTolerance->GetFloat(), trim},
        s, warning);
    // The note on the tolerance comes first, also when a later check refuses.
    if (!warning.empty()) ShowMessage(warning);
    if (refusal == runs::kDispStepTooSmall && StepBelowField(DispStep)) return Refuse(c, runs::kStepBelowField);
    if (!refusal.empty()) return Refuse(c, refusal);
    ShowProgress(0, "Progress:");
    ShowProgress(0, "Progress: Calculating displacement range...");
    ShowProgress(0, "Progress: Copying custom angle range...");
    std::vector<double>& angles = form_.RunAngles;
    const std::string angleRefusal = runs::BuildRunAngles(form_.AdditionalAngles, StartAngleEdit->GetFloat(),
                                                          EndAngleEdit->GetFloat(), AngleStepEdit->GetFloat(), angles);
    ShowProgress(0, "Progress: Full angle range set at " + std::to_string(angles.size()) + " angles...");
    if (!angleRefusal.empty()) {
        const bool below = (angleRefusal == runs::kBadAngleStep || angleRefusal == runs::kNoAngles) &&
                           StepBelowField(AngleStepEdit);
        ShowMessage(below ? runs::kStepBelowField : angleRefusal);
        c.refused = true;
        return;
    }
    ShowProgress(0, "Progress: Angle Set validated...");
    grid::TExStringGrid* g = CrossCurvesGrid;
    PrepareTable(g, s.rows + 2, int(angles.size()) + 1, form_.AppendReport[1]->Checked());
    g->SetCellsEx(0, 0, "<B>Displacement");
    g->SetCellsEx(0, 1, "<B>(Te)");
    double largest = 0;
    // Without hydrostatics (no active appendage) no displacement can be floated.
    const bool floats = runs::LargestDisplacement(form_.Hull, largest);
    CCChart->FreeAllSeries();
    std::exception_ptr failure;
    // The live hull is never heeled: the run works on a copy, made at the first angle and
    // heeled anew for each next one.
    std::unique_ptr<core::Hullform> heeled;
    TPacedLoop paced(*this, {g, CCChart});
    for (std::size_t r = 0; floats && r < angles.size() && !c.stopped; ++r) {
        const double a = angles[r];
        const std::string terminated = "Progress: Terminated at heel " + runs::AngleTitleText(a);
        try {
            const int col = int(r) + 1;
            g->SetCellsEx(col, 1, runs::AngleHeadText(a));
            if (heeled)
                form_.Hull.HeelInto(a, *heeled);
            else
                heeled = form_.Hull.HeeledCopy(a);
            heeled->waterDensity = s.density;
            core::DraughtSearch search(*heeled, s.trim);
            auto* series = HorizSeries(CCChart, runs::AngleTitleText(a), clNone);
            for (int i = 0; i < s.rows; ++i) {
                if (c.stop) {
                    ShowProgress(0, terminated);
                    c.stopped = true;
                    break;
                }
                const runs::CrossCell cell = runs::CrossStep(search, s, largest, i, a, form_.Hull);
                g->SetCellsEx(0, i + 2, runs::DisplacementText(cell.displacement));
                if (cell.found) {
                    SetNumber(g, col, i + 2, cell.kn);
                    series->AddXY(cell.displacement, cell.kn);
                }
                RowDone();
            }
        } catch (...) {
            StepFailed(c, failure, terminated);
        }
    }
    EndPacing();
    InsertHeaderRows(g, runs::RunHeaderRows(runs::RunStamp::Now(), trim, s.density,
                                            "<B>Table of Cross Curves for " + edit::HTMLPrep(form_.Hull.name), 5));
    if (failure) std::rethrow_exception(failure);
    if (!floats) ShowMessage(runs::kHydroFailed);
    if (!c.stopped) ShowProgress(0, "Progress: Completed cross curves analysis run.");
}

void TRunPages::LongCurveRun(TRunControl& c)
{
    const runs::TrimInput trim = ReadTrim(form_);
    runs::LongSettings s;
    const std::string refusal = runs::ReadLongInputs(
        form_.Hull, {CurveDraughtEdit->GetText(), trim, form_.DraughtMarkComboBox->ItemIndex()}, s);
    if (!refusal.empty()) return Refuse(c, refusal);
    ShowProgress(0, "Progress: Starting long buoyancy analysis.");
    core::HydroData h;
    const bool ok = form_.Hull.GetHydroStatics(s.draught, s.trim, h);
    const core::LongitudinalCurve& curve = h.areaCurves.finalCurve;
    const runs::LongLayout layout{int(curve.Y.size())};
    grid::TExStringGrid* g = LongBendingGrid;
    PrepareTable(g, layout.RowCount(), 15, form_.AppendReport[2]->Checked());
    SetHeaderRow(g, 0, {"<B>Y Position", "<B>Area", "<B>Displacement"});
    SetHeaderRow(g, 1, {"<B>(m)", "<B>(m<SUP>2</SUP>)", "<B>(Te/m)"});
    // The graph shows only this run, appended or not.
    for (int k = 0; k < 2; ++k)
        LongBendingChart->GetSeries(k)->Clear();
    std::exception_ptr failure;
    TPacedLoop paced(*this, {g, LongBendingChart});
    for (int i = 0; i < layout.points && !c.stopped; ++i) {
        const double y = curve.Y[std::size_t(i)];
        const double a = curve.value[std::size_t(i)];
        const std::string terminated = "Progress: Terminated @ Y=" + base::FloatToStr(y);
        try {
            ShowProgress((100 * i + 100) / layout.points, "Progress: Reporting Areas @ Y=" + base::FloatToStr(y));
            if (c.stop) {
                ShowProgress(0, terminated);
                c.stopped = true;
                break;
            }
            const int row = layout.FirstPointRow() + i;
            SetNumber(g, 0, row, y);
            SetNumber(g, 1, row, a);
            SetNumber(g, 2, row, a * s.density);
            LongBendingChart->GetSeries(1)->AddXY(y, a);
            LongBendingChart->GetSeries(0)->AddXY(y, a * s.density);
            RowDone();
        } catch (...) {
            StepFailed(c, failure, terminated);
        }
    }
    EndPacing();
    std::string note;
    const int t = layout.TotalsRow();
    g->SetCellsEx(0, t, "Total Area=");
    SetNumber(g, 1, t, curve.GetTotalArea());
    g->SetCellsEx(2, t, "Long Cent=");
    SetNumber(g, 3, t, curve.GetCentroid(note));
    const int sum = layout.SummaryRow();
    for (int col = 0; col < 15; ++col) {
        g->SetCellsEx(col, sum, runs::kHydroHeads[std::size_t(col)]);
        g->SetCellsEx(col, sum + 1, runs::kHydroUnits[std::size_t(col)]);
    }
    if (ok) {
        const auto values = runs::HydroRowValues(h, s.trim, s.refY);
        for (int col = 0; col < 15; ++col)
            SetNumber(g, col, sum + 2, values[std::size_t(col)]);
    }
    InsertHeaderRows(g, runs::RunHeaderRows(runs::RunStamp::Now(), trim, s.density,
                                            "<B>Longitudinal Buoyancy Curves for " + edit::HTMLPrep(form_.Hull.name), 12));
    LongBendingChart->Title().SetText({"Longitudinal Buoyancy Curves for " + form_.Hull.name});
    FitValueAxis(LongBendingChart);
    if (failure) std::rethrow_exception(failure);
    if (!ok) ShowMessage(runs::kHydroFailed);
    if (!c.stopped) ShowProgress(0, "Progress: Completed long buoyancy analysis run.");
}

// --- Commands ---

void TRunPages::TrimEditClickBtn(TObject*)
{
    edit::TExEditBtn* e = form_.TrimEdit;
    const double v = e->GetFloat();
    if (v != 0 && form_.Hull.fwdMarkY == form_.Hull.aftMarkY) {
        ShowMessage(runs::kMarksCoincide);
        return;
    }
    if (e->GetCaption() == "m") {
        e->SetFloat(v == 0 ? 0 : form_.Hull.TrimMetresToDegrees(v));
        e->SetCaption("deg");
    } else {
        e->SetFloat(v == 0 ? 0 : form_.Hull.TrimDegreesToMetres(v));
        e->SetCaption("m");
    }
}

void TRunPages::OtherAngleEditClickBtn(TObject*)
{
    std::vector<double>& list = form_.AdditionalAngles;
    list.push_back(OtherAngleEdit->GetFloat());
    std::sort(list.begin(), list.end());
    std::string text = "Additional Angles = ";
    for (std::size_t i = 0; i < list.size(); ++i)
        text += (i ? ", " : "") + base::FloatToStr(list[i]);
    ShowMessage(text);
}

void TRunPages::ClearAngleListClick(TObject*) { form_.AdditionalAngles.clear(); }

void TRunPages::ReportSaveClick(TRunKind kind)
{
    if (!SaveReportDialog->Execute()) return;
    grid::TExStringGrid* g = Grid(kind);
    const std::string& path = SaveReportDialog->FileName;
    // CSV and plain text carry the cells' text without its markup, so that other
    // programs read the numbers as numbers; the HTML file keeps it.
    const bool tags = g->SaveHTMLTags;
    g->SaveHTMLTags = SaveReportDialog->FilterIndex == 3;
    base::ScopeExit restore([g, tags] { g->SaveHTMLTags = tags; });
    switch (SaveReportDialog->FilterIndex) {
    case 2: g->SaveToASCII(path); break;
    case 3: g->SaveToHTML(path); break;
    default: g->SaveToCSV(path); break;
    }
}

void TRunPages::ReportCopyClick(TRunKind kind) { Grid(kind)->CopySelectionToClipboard(); }

void TRunPages::GraphSaveClick(TRunKind kind)
{
    if (!SaveGraphDialog->Execute()) return;
    std::string path = SaveGraphDialog->FileName;
    const std::string ext = GraphFileExtension(SaveGraphDialog->FilterIndex);
    if (path.find('.', path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/')) == std::string::npos)
        path += "." + ext;
    chart::TChart* c = Chart(kind);
    switch (SaveGraphDialog->FilterIndex) {
    case 2: c->SaveToMetafile(path); break;
    case 3: c->SaveToMetafileEnh(path); break;
    default: c->SaveToBitmapFile(path); break;
    }
}

void TRunPages::GraphCopyClick(TRunKind kind)
{
    chart::TChart* c = Chart(kind);
    switch (PrefForm ? PrefForm->GraphClipOptions->ItemIndex() : 0) {
    case 1: c->CopyToClipboardMetafile(false); break;
    case 2: c->CopyToClipboardMetafile(true); break;
    default: c->CopyToClipboardBitmap(); break;
    }
}

void TRunPages::LegendVisibleClick(TRunKind kind)
{
    // The item checks itself when clicked.
    Chart(kind)->Legend().SetVisible(form_.LegendVisible[kind]->Checked());
}

}  // namespace app
