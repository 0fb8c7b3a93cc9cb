#pragma once
// The three calculation pages (hydrostatics, cross curves, longitudinal buoyancy): their
// inputs, tables and graphs, the steps their workers hand to the GUI thread, and the
// Report and Graph commands. While a run is live the model, file and dialog commands
// and every Run button are disabled; each run has its own stop flag.
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class TObject;
class TThread;
class TWinControl;
class TSaveDialog;
}  // namespace platform
namespace edit {
class TExEdit;
class TExEditBtn;
class TExToolButton;
}  // namespace edit
namespace grid {
class TExStringGrid;
}
namespace chart {
class TChart;
}

namespace app {

class TMainForm;
namespace runs {
struct ReportCell;
using ReportRow = std::vector<ReportCell>;
}  // namespace runs

enum TRunKind { rkHydros, rkCrossCurves, rkLongCurves };

// What a worker reads between its synchronized steps.
struct TRunControl {
    std::atomic<bool> stop{false};
    bool refused = false;
    // The loop ended early, by Stop or by a step that threw: the table is incomplete.
    bool stopped = false;
};

class TRunPages {
public:
    explicit TRunPages(TMainForm& form);
    // Stops a live run and waits for its worker.
    ~TRunPages();

    edit::TExToolButton *RunHydrosButton, *RunCrossCurvesButton, *RunLongBuoyancyBtn;
    edit::TExEdit *StartDraftEdit, *EndDraftEdit, *DraftStepEdit;
    edit::TExEdit *StartAngleEdit, *EndAngleEdit, *AngleStepEdit, *StartDisp, *EndDisp, *DispStep, *DispTolerance;
    edit::TExEditBtn* OtherAngleEdit;
    edit::TExEdit* CurveDraughtEdit;
    grid::TExStringGrid *HydroGrid, *CrossCurvesGrid, *LongBendingGrid;
    chart::TChart *HydroChart, *CCChart, *LongBendingChart;
    platform::TSaveDialog *SaveReportDialog, *SaveGraphDialog;

    grid::TExStringGrid* Grid(TRunKind k) const;
    chart::TChart* Chart(TRunKind k) const;

    // Told of every progress shown (position, text).
    std::function<void(int, const std::string&)> OnProgress;

    bool Running() const { return live_ != nullptr; }
    // Empties the three tables and graphs: their results belong to a hull that was replaced.
    void ClearResults();
    // Stop: asks the live run to end after its current step.
    void StopRun();
    // Waits for the last worker to end (the window's close path and tests use it).
    void WaitForWorker();

    // Event handlers.
    void RunClick(TRunKind kind);
    void StopButtonClick(platform::TObject* Sender);
    void TrimEditClickBtn(platform::TObject* Sender);
    void OtherAngleEditClickBtn(platform::TObject* Sender);
    void ClearAngleListClick(platform::TObject* Sender);
    void ReportSaveClick(TRunKind kind);
    void ReportCopyClick(TRunKind kind);
    void GraphSaveClick(TRunKind kind);
    void GraphCopyClick(TRunKind kind);
    void LegendVisibleClick(TRunKind kind);

    // The worker steps, each run on the GUI thread.
    void ShowProgress(int position, const std::string& text);
    void FinishRun(TRunKind kind);
    void HydroRun(TRunControl& c);
    void CrossCurveRun(TRunControl& c);
    void LongCurveRun(TRunControl& c);

private:
    void BuildHydroPage();
    void BuildCrossCurvesPage();
    void BuildLongCurvesPage();
    void BuildCommands();
    void SetCommandsEnabled(bool enabled);
    // Ends a run's loop early at a step that threw: kept in failure, raised again once the
    // table has its header rows, the progress saying where the run ended.
    void StepFailed(TRunControl& c, std::exception_ptr& failure, const std::string& terminated);
    void Refuse(TRunControl& c, const std::string& message);
    // A run's loop shows its progress, table and graph at most once per screen frame;
    // every row still lets the waiting messages run, so Stop is live after each.
    friend struct TPacedLoop;
    void BeginPacing(std::vector<platform::TWinControl*> views);
    void EndPacing();
    // After each row of a loop.
    void RowDone();
    void SetRedraw(bool on);
    bool pacing_ = false;
    std::vector<platform::TWinControl*> pacedViews_;
    std::chrono::steady_clock::time_point lastFrame_;
    int shownPosition_ = 0;
    std::string shownText_;
    // Makes room for rows rows at the top (append) or clears the table to that size.
    void PrepareTable(grid::TExStringGrid* g, int rows, int cols, bool append);
    // Inserts each header row as a new top row.
    void InsertHeaderRows(grid::TExStringGrid* g, const std::vector<runs::ReportRow>& rows);

    TMainForm& form_;
    std::unique_ptr<platform::TThread> worker_;
    TRunControl* live_ = nullptr;
    TRunKind liveKind_ = rkHydros;
};

// The graph file's extension for a filter index of the graph save dialog (1 BMP, 2 WMF, 3 EMF).
std::string GraphFileExtension(int filterIndex);

}  // namespace app
