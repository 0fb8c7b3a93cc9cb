// A hydrostatics run of 1,000 draughts of examples/wigley.hll in the real main window,
// from the click on Run to the last change on the screen, beside its floor: the same
// rows calculated alone. Goal: the window's run under 0.1 s.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "GuiBenchMain.h"
#include "app/AppForms.h"
#include "app/MainForm.h"
#include "app/RunLogic.h"
#include "app/RunPages.h"
#include "app/Settings.h"
#include "core/Hullform.h"
#include "platform/forms/Forms.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/edit/ExToolBtn.h"
#include "widgets/frame/ExPageControl.h"
#include "widgets/grid/ExGrid.h"

namespace {

const std::string kWigley = std::string(KORVELO_SOURCE_DIR) + "/examples/wigley.hll";
// 1,000 draughts: 0.001 m to 1.000 m by 0.001 m.
const char *const kStart = "0.001", *const kEnd = "1.000", *const kStep = "0.001";

void BM_HydroRunInWindow(benchmark::State& state)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "korvelo-bench-run";
    std::filesystem::create_directories(dir);
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    app::SetSettingsFileOverride((dir / "Korvelo.INI").string());
    app::CreateAppForms();
    app::TMainForm* main = app::MainForm;
    main->Show();
    platform::Application->ProcessMessages();
    if (!main->Hull.OpenHullFile(kWigley)) state.SkipWithError("examples/wigley.hll did not open");
    main->RefreshAll();
    main->ViewControl->SetActivePage(main->CalculationsSheet);
    app::TRunPages& runs = *main->Runs;
    runs.StartDraftEdit->SetText(kStart);
    runs.EndDraftEdit->SetText(kEnd);
    runs.DraftStepEdit->SetText(kStep);
    platform::Application->ProcessMessages();
    for (auto _ : state) {
        runs.RunHydrosButton->Click();
        runs.WaitForWorker();
        platform::Application->ProcessMessages();  // the last paint
    }
    state.counters["rows"] = double(runs.HydroGrid->RowCount());
    main->Close();
    app::FreeAppForms();
    app::SetSettingsFileOverride("");
    std::filesystem::current_path(old);
}

void BM_HydroRunCalculationOnly(benchmark::State& state)
{
    core::Hullform hull;
    if (!hull.OpenHullFile(kWigley)) state.SkipWithError("examples/wigley.hll did not open");
    for (auto _ : state) {
        app::runs::HydroSettings s;
        app::runs::ReadHydroInputs(hull, {kStart, kEnd, 0.001, {"0", 0, "m"}, 0}, s);
        std::array<double, 15> row{};
        for (int i = 0; i < s.rows; ++i) {
            app::runs::HydroStep(hull, s, i, row);
            benchmark::DoNotOptimize(app::runs::HydroGraphValues(row));
        }
    }
}

BENCHMARK(BM_HydroRunCalculationOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HydroRunInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [](const RecordingReporter& reporter) {
        const double floor = reporter.RealTime("BM_HydroRunCalculationOnly");
        const double window = reporter.RealTime("BM_HydroRunInWindow/real_time");
        if (floor > 0 && window > 0)
            std::printf("1,000 draughts of wigley.hll in the window: %.1f ms, the calculation alone %.2f ms "
                        "(%.1f x; goal: the window's run under 100 ms)\n",
                        window, floor, window / floor);
    });
}
