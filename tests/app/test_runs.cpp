// The calculation runs driven through the main window: tables, graphs, progress, Stop,
// append mode, refusals and the commands disabled while a run is live.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "Hulls.h"
#include "app/RunLogic.h"
#include "app/RunPages.h"
#include "base/StrUtils.h"
#include "widgets/frame/ExPanel.h"
#include "widgets/frame/ExPageControl.h"
#include "core/Section.h"
#include "platform/controls/Menus.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Thread.h"
#include "platform/controls/StdCtrls.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/edit/ExCombo.h"
#include "widgets/edit/ExEdBtn.h"
#include "widgets/edit/ExToolBtn.h"
#include "widgets/grid/ExGrid.h"

namespace {

// The box barge's KN: its 10 m x 4 m section heeled by deg (the +X side down) about the
// keel's centre, cut by the waterline that leaves area below it; the X of that part's
// centroid. The waterline is found by halving its interval.
double BoxBargeKN(double area, double deg)
{
    const double t = deg * M_PI / 180, c = std::cos(t), s = std::sin(t);
    std::vector<std::pair<double, double>> box;
    for (auto [x, z] : {std::pair{-5.0, 0.0}, {5.0, 0.0}, {5.0, 4.0}, {-5.0, 4.0}})
        box.push_back({x * c + z * s, -x * s + z * c});
    auto below = [&](double h, double& a, double& cx) {
        std::vector<std::pair<double, double>> p;
        for (std::size_t k = 0; k < box.size(); ++k) {
            const auto [x0, z0] = box[k];
            const auto [x1, z1] = box[(k + 1) % box.size()];
            if (z0 <= h) p.push_back({x0, z0});
            if ((z0 < h) != (z1 < h)) p.push_back({x0 + (h - z0) * (x1 - x0) / (z1 - z0), h});
        }
        a = 0;
        double m = 0;
        for (std::size_t k = 0; k < p.size(); ++k) {
            const auto [x0, z0] = p[k];
            const auto [x1, z1] = p[(k + 1) % p.size()];
            const double cross = x0 * z1 - x1 * z0;
            a += cross / 2;
            m += (x0 + x1) * cross / 6;
        }
        cx = a != 0 ? m / a : 0;
        a = std::fabs(a);
    };
    double lo = -10, hi = 10, a = 0, cx = 0;
    for (int i = 0; i < 200; ++i) {
        const double h = (lo + hi) / 2;
        below(h, a, cx);
        (a < area ? lo : hi) = h;
    }
    below(hi, a, cx);
    return cx;
}

class RunsTest : public AppTest {
protected:
    app::TRunPages& R() { return *main->Runs; }
    void SetUp() override
    {
        AppTest::SetUp();
        hulls::MakeBoxBarge(main->Hull);
        R().OnProgress = [this](int pos, const std::string& text) {
            positions.push_back(pos);
            texts.push_back(text);
            if (onProgress) onProgress(pos, text);
        };
    }
    void Run(edit::TExToolButton* button)
    {
        button->Click();
        R().WaitForWorker();
    }
    void Hydro(const std::string& start, const std::string& end, const std::string& step)
    {
        R().StartDraftEdit->SetText(start);
        R().EndDraftEdit->SetText(end);
        R().DraftStepEdit->SetText(step);
        Run(R().RunHydrosButton);
    }
    // The row of the grid whose first cell is text, or -1.
    static int FindRow(grid::TExStringGrid* g, const std::string& text)
    {
        for (int r = 0; r < g->RowCount(); ++r)
            if (g->Cells(0, r) == text) return r;
        return -1;
    }
    std::string Label() const { return main->ProgressLabel->Caption(); }
    std::vector<int> positions;
    std::vector<std::string> texts;
    std::function<void(int, const std::string&)> onProgress;
};

TEST_F(RunsTest, HydrostaticsTableOfElevenDraughts)
{
    Hydro("0", "1", "0.1");
    grid::TExStringGrid* g = R().HydroGrid;
    EXPECT_EQ(g->Cells(0, 0), "<B>Table of Hydrostatic Properties for Box Barge");
    EXPECT_EQ(g->Cells(0, 1).rfind("<B>Trim = ", 0), 0u);
    EXPECT_EQ(g->Cells(0, 2).rfind("Run Date: ", 0), 0u);
    const int head = FindRow(g, "<B>Draught");
    ASSERT_EQ(head, 3);
    EXPECT_EQ(g->Cells(14, head), "<B>WPA");
    EXPECT_EQ(g->Cells(1, head + 1), "<B>(m<SUP>3</SUP>)");
    EXPECT_EQ(g->RowCount(), head + 2 + 11);  // sized from the rows written
    for (int i = 0; i <= 10; ++i) {
        const double t = 0.1 * i;
        EXPECT_EQ(g->Cells(0, head + 2 + i), base::FormatFloat("0.000", t));
        // Box barge 30 x 10: V = L B T, KB = T / 2, to the printed digits.
        EXPECT_EQ(g->Cells(1, head + 2 + i), base::FormatFloat("0.000", 300 * t));
        EXPECT_EQ(g->Cells(3, head + 2 + i), base::FormatFloat("0.000", t / 2));
    }
    EXPECT_EQ(std::vector<int>(positions.begin() + 2, positions.begin() + 13),
              (std::vector<int>{9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 100}));
    EXPECT_EQ(Label(), "Progress: Completed hydrostatic analysis run.");
    EXPECT_EQ(R().HydroChart->GetSeries(0)->Count(), 11);
    EXPECT_EQ(R().HydroChart->Title().Text().at(0), "Hydrostatic Properties for Box Barge");
    EXPECT_TRUE(R().RunHydrosButton->Enabled());
    EXPECT_FALSE(main->StopButton->Enabled());
}

TEST_F(RunsTest, RunDisablesTheOtherCommandsAndStopEndsIt)
{
    bool checked = false;
    onProgress = [&](int pos, const std::string&) {
        if (pos != 36) return;
        checked = true;
        EXPECT_FALSE(R().RunCrossCurvesButton->Enabled());
        EXPECT_FALSE(R().RunLongBuoyancyBtn->Enabled());
        EXPECT_FALSE(main->File1->Enabled());
        EXPECT_FALSE(main->Model1->Enabled());
        EXPECT_TRUE(main->StopButton->Enabled());
        main->StopButton->Click();
    };
    Hydro("0", "1", "0.1");
    ASSERT_TRUE(checked);
    EXPECT_EQ(Label(), "Progress: Terminated at draft 0.3");
    grid::TExStringGrid* g = R().HydroGrid;
    const int head = FindRow(g, "<B>Draught");
    EXPECT_EQ(g->Cells(0, head + 4), "0.200");
    EXPECT_EQ(g->Cells(0, head + 5), "");
    EXPECT_EQ(g->Cells(0, 0), "<B>Table of Hydrostatic Properties for Box Barge");
    for (auto* b : {R().RunHydrosButton, R().RunCrossCurvesButton, R().RunLongBuoyancyBtn})
        EXPECT_TRUE(b->Enabled());
    EXPECT_TRUE(main->File1->Enabled());
    EXPECT_FALSE(main->StopButton->Enabled());
    // A new run starts normally: the stop belonged to the last one.
    onProgress = {};
    Hydro("0", "1", "0.5");
    EXPECT_EQ(Label(), "Progress: Completed hydrostatic analysis run.");
}

TEST_F(RunsTest, AThreadThatCannotBeMadeIsReportedAndTheWindowGivenBack)
{
    for (auto* button : {R().RunHydrosButton, R().RunCrossCurvesButton, R().RunLongBuoyancyBtn}) {
        boxes.clear();
        platform::SetThreadStartFails(true);
        button->Click();
        platform::SetThreadStartFails(false);
        EXPECT_EQ(boxes, std::vector<std::string>{"Error! Cannot create thread."});
        EXPECT_FALSE(R().Running());
        for (auto* b : {R().RunHydrosButton, R().RunCrossCurvesButton, R().RunLongBuoyancyBtn})
            EXPECT_TRUE(b->Enabled());
        for (auto* m : {main->File1, main->Model1, main->View1, main->Calculations1}) EXPECT_TRUE(m->Enabled());
        EXPECT_TRUE(main->ModelInspector->Enabled());
        EXPECT_TRUE(main->TrimEdit->Enabled());
        EXPECT_FALSE(main->StopButton->Enabled());
    }
    // The next run starts normally.
    Hydro("0", "1", "0.5");
    EXPECT_EQ(Label(), "Progress: Completed hydrostatic analysis run.");
}

TEST_F(RunsTest, AppendPutsTheNewReportOnTop)
{
    Hydro("0", "1", "0.5");
    main->AppendReport[0]->Click();
    ASSERT_TRUE(main->AppendReport[0]->Checked());
    main->Hull.name = "Second";
    Hydro("0", "2", "0.5");
    grid::TExStringGrid* g = R().HydroGrid;
    EXPECT_EQ(g->Cells(0, 0), "<B>Table of Hydrostatic Properties for Second");
    const int older = FindRow(g, "<B>Table of Hydrostatic Properties for Box Barge");
    ASSERT_GT(older, 0);
    EXPECT_EQ(g->Cells(0, older - 1), "2.000");  // the new report's last draught right above
    EXPECT_EQ(g->Cells(0, older + 3), "<B>Draught");
    EXPECT_EQ(R().HydroChart->GetSeries(0)->Count(), 5);  // the graph shows only the new run
}

TEST_F(RunsTest, TrimUnitToggleAndDraughtMarks)
{
    main->Hull.aftMarkY = -10;
    main->Hull.fwdMarkY = 30;
    main->TrimEdit->SetText("0.5");
    main->TrimEdit->OnClickBtn(main->TrimEdit);
    EXPECT_EQ(main->TrimEdit->GetCaption(), "deg");
    EXPECT_NEAR(main->TrimEdit->GetFloat(), std::atan(0.5 / 40) * 180 / M_PI, 1e-5);
    main->TrimEdit->SetText("1");
    main->DraughtMarkComboBox->SetItemIndex(1);
    Hydro("2", "2", "0.1");
    grid::TExStringGrid* g = R().HydroGrid;
    const int head = FindRow(g, "<B>Draught");
    EXPECT_EQ(g->Cells(0, head + 2), "2.000");
    EXPECT_EQ(g->Cells(0, 1),
              "<B>Trim = " + main->TrimEdit->GetText() + " deg, at Density = 1.025 Te/m<SUP>3</SUP>");
    // Coincident marks: a trim in metres is refused, not taken as 0.
    main->Hull.fwdMarkY = main->Hull.aftMarkY;
    main->TrimEdit->OnClickBtn(main->TrimEdit);
    EXPECT_EQ(boxes.back(), app::runs::kMarksCoincide);
    EXPECT_EQ(main->TrimEdit->GetCaption(), "deg");
}

TEST_F(RunsTest, RefusedInputsShowTheirMessageAndStartNothing)
{
    struct Case {
        const char *start, *end, *step;
        const char* message;
    };
    // Unconvertible text never reaches a run: the number fields keep a number.
    const Case cases[] = {{"1", "0", "0.1", app::runs::kEndBeforeStart},
                          {"0", "1", "0", app::runs::kBadStep},
                          {"0", "1000", "0.001", app::runs::kTooManyRows}};
    for (const Case& c : cases) {
        boxes.clear();
        Hydro(c.start, c.end, c.step);
        ASSERT_EQ(boxes.size(), 1u) << c.message;
        EXPECT_EQ(boxes[0], c.message);
        EXPECT_EQ(Label(), "Progress: Error getting user data.");
        EXPECT_EQ(R().HydroGrid->Cells(0, 0), "");
        EXPECT_TRUE(R().RunHydrosButton->Enabled());
    }
    main->Hull.appendages[0].active = false;
    boxes.clear();
    Hydro("0", "1", "0.5");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], app::runs::kHydroFailed);
    EXPECT_EQ(R().HydroGrid->Cells(1, FindRow(R().HydroGrid, "<B>Draught") + 2), "");
}

TEST_F(RunsTest, CrossCurvesColumnsAndTheHullUntouched)
{
    std::vector<std::vector<double>> x, z;
    for (const core::Section& s : main->Hull.appendages[0].frames) {
        x.push_back(s.X);
        z.push_back(s.Z);
    }
    R().OtherAngleEdit->SetText("15");
    R().OtherAngleEdit->OnClickBtn(R().OtherAngleEdit);
    EXPECT_EQ(boxes.back(), "Additional Angles = 15");
    R().StartAngleEdit->SetText("0");
    R().EndAngleEdit->SetText("30");
    R().AngleStepEdit->SetText("10");
    R().StartDisp->SetText("0");
    R().EndDisp->SetText("1000");
    R().DispStep->SetText("500");
    R().DispTolerance->SetText("0.010");  // per cent: the KN to well within its printed digits
    Run(R().RunCrossCurvesButton);
    grid::TExStringGrid* g = R().CrossCurvesGrid;
    EXPECT_EQ(g->Cells(0, 0), "<B>Table of Cross Curves for Box Barge");
    const int head = FindRow(g, "<B>(Te)");
    ASSERT_GT(head, 0);
    EXPECT_EQ(g->Cells(0, head - 1), "<B>Displacement");
    const char* angles[] = {"<B>0 deg", "<B>10 deg", "<B>15 deg", "<B>20 deg", "<B>30 deg"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g->Cells(c + 1, head), angles[c]);
    EXPECT_EQ(g->Cells(0, head + 2), "<B>500.000");
    EXPECT_EQ(g->Cells(1, head + 2), "0.000");
    // Every floated cell holds the box's exact KN, to the printed digits: upright, heeled
    // within the sides, with the deck edge under water or the bilge out of it, and the
    // largest displacement (the whole box under water, KN = 2 sin heel).
    const double heels[] = {0, 10, 15, 20, 30};
    const double displacements[] = {500, 1000, 30 * 10 * 4 * 1.025};
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 5; ++c) {
            const std::string cell = g->Cells(c + 1, head + 2 + row);
            const double want = BoxBargeKN(displacements[row] / (1.025 * 30), heels[c]);
            ASSERT_NE(cell, "") << heels[c] << " deg, " << displacements[row] << " Te";
            EXPECT_NEAR(base::StrToFloat(cell), want, 0.001) << heels[c] << " deg, " << displacements[row] << " Te";
        }
    EXPECT_EQ(g->Cells(5, head + 4), base::FormatFloat("0.000", 2 * std::sin(M_PI / 6)));
    EXPECT_EQ(R().CCChart->SeriesCount(), 5);
    EXPECT_EQ(Label(), "Progress: Completed cross curves analysis run.");
    // The progress texts of the run, in order, from the start to the angle check.
    const std::vector<std::string> steps = {"Progress: Initialising calculation thread....",
                                            "Progress:",
                                            "Progress: Calculating displacement range...",
                                            "Progress: Copying custom angle range...",
                                            "Progress: Full angle range set at 5 angles...",
                                            "Progress: Angle Set validated..."};
    ASSERT_GE(texts.size(), steps.size());
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + long(steps.size())), steps);
    for (std::size_t f = 0; f < x.size(); ++f) {
        EXPECT_EQ(main->Hull.appendages[0].frames[f].X, x[f]);
        EXPECT_EQ(main->Hull.appendages[0].frames[f].Z, z[f]);
    }
}

TEST_F(RunsTest, ValuesRoundingToZeroShowNoSign)
{
    // The starboard side a hair inside: TCB, TCF and the upright KN are tiny negatives.
    for (core::Section& s : main->Hull.appendages[0].frames)
        for (double& x : s.X)
            if (x > 0) x -= 1e-7;
    Hydro("1", "2", "0.5");
    grid::TExStringGrid* g = R().HydroGrid;
    const int head = FindRow(g, "<B>Draught");
    ASSERT_GT(head, 0);
    for (int col : {5, 7}) {
        for (int r = head + 2; r < head + 5; ++r) EXPECT_EQ(g->Cells(col, r), "0.000") << col << "," << r;
    }
    R().StartDisp->SetText("300");
    R().EndDisp->SetText("600");
    R().DispStep->SetText("300");
    R().AngleStepEdit->SetText("10");
    R().EndAngleEdit->SetText("10");
    Run(R().RunCrossCurvesButton);
    g = R().CrossCurvesGrid;
    const int te = FindRow(g, "<B>(Te)");
    ASSERT_GT(te, 0);
    ASSERT_EQ(g->Cells(1, te), "<B>0 deg");
    for (int r = te + 1; r < te + 3; ++r) EXPECT_EQ(g->Cells(1, r), "0.000") << r;
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c) EXPECT_EQ(g->Cells(c, r).find("-0.000"), std::string::npos);
}

TEST_F(RunsTest, LongitudinalBuoyancyIsAreaTimesDensity)
{
    R().CurveDraughtEdit->SetText("2");
    Run(R().RunLongBuoyancyBtn);
    grid::TExStringGrid* g = R().LongBendingGrid;
    EXPECT_EQ(g->Cells(0, 0), "<B>Longitudinal Buoyancy Curves for Box Barge");
    const int head = FindRow(g, "<B>Y Position");
    ASSERT_GT(head, 0);
    int r = head + 2;
    for (; !g->Cells(0, r).empty() && g->Cells(0, r) != "Total Area="; ++r) {}
    const int points = r - head - 2;
    // The curve steps up at the ends of the box: 0 at Y = 0 and 30, 10 m beam x 2 m draught
    // = 20 just inside them and at the middle of every 3 m bay.
    ASSERT_EQ(points, 14);
    const char* ys[] = {"0.000",  "0.000",  "1.500",  "4.500",  "7.500",  "10.500", "13.500",
                        "16.500", "19.500", "22.500", "25.500", "28.500", "30.000", "30.000"};
    for (int i = 0; i < points; ++i) {
        const std::string area = i == 0 || i == points - 1 ? "0.000" : "20.000";
        EXPECT_EQ(g->Cells(0, head + 2 + i), ys[i]) << i;
        EXPECT_EQ(g->Cells(1, head + 2 + i), area) << i;
        EXPECT_EQ(g->Cells(2, head + 2 + i), i == 0 || i == points - 1 ? "0.000" : "20.500") << i;
    }
    EXPECT_EQ(g->Cells(0, r), "Total Area=");
    EXPECT_EQ(g->Cells(1, r), "600.000");
    EXPECT_EQ(g->Cells(3, r), "15.000");
    const int sum = FindRow(g, "<B>Draught");
    ASSERT_GT(sum, r);
    EXPECT_LT(sum + 2, g->RowCount());
    EXPECT_EQ(g->Cells(1, sum + 2), "600.000");
    EXPECT_EQ(R().LongBendingChart->GetSeries(0)->Count(), points);
    EXPECT_EQ(Label(), "Progress: Completed long buoyancy analysis run.");
}

TEST_F(RunsTest, ClosingTheWindowStopsTheRunFirst)
{
    onProgress = [&](int pos, const std::string&) {
        if (pos == 36) main->Close();
    };
    Hydro("0", "1", "0.1");
    EXPECT_EQ(Label(), "Progress: Terminated at draft 0.3");
    EXPECT_FALSE(R().Running());
    EXPECT_FALSE(main->Visible());
}

TEST_F(RunsTest, CrossCurvesAppendGrowsTheColumns)
{
    R().StartDisp->SetText("500");
    R().EndDisp->SetText("500");
    R().DispStep->SetText("100");
    R().AngleStepEdit->SetText("10");
    R().EndAngleEdit->SetText("10");
    Run(R().RunCrossCurvesButton);
    grid::TExStringGrid* g = R().CrossCurvesGrid;
    EXPECT_EQ(g->GetColCountEx(), 5);  // the title's merged columns
    main->AppendReport[1]->Click();
    R().EndAngleEdit->SetText("60");
    Run(R().RunCrossCurvesButton);
    EXPECT_EQ(g->GetColCountEx(), 8);
    EXPECT_EQ(g->Cells(7, FindRow(g, "<B>(Te)")), "<B>60 deg");
    EXPECT_EQ(FindRow(g, "<B>Table of Cross Curves for Box Barge"), 0);
    int second = -1;
    for (int r = 1; r < g->RowCount(); ++r)
        if (g->Cells(0, r) == "<B>Table of Cross Curves for Box Barge") second = r;
    EXPECT_GT(second, 0);
    EXPECT_EQ(R().CCChart->SeriesCount(), 7);
}

TEST_F(RunsTest, CrossCurvesRefusalsStartNothing)
{
    struct Case {
        const char *angleStep, *dispStep, *tolerance;
        const char* message;
    };
    const Case cases[] = {{"0", "100", "0.1", app::runs::kNoAngles},
                          {"10", "0", "0.1", app::runs::kDispStepTooSmall},
                          {"10", "100", "0", app::runs::kToleranceTooSmall}};
    for (const Case& c : cases) {
        boxes.clear();
        R().AngleStepEdit->SetText(c.angleStep);
        R().DispStep->SetText(c.dispStep);
        R().DispTolerance->SetText(c.tolerance);
        Run(R().RunCrossCurvesButton);
        ASSERT_EQ(boxes.size(), 1u) << c.message;
        EXPECT_EQ(boxes[0], c.message);
        EXPECT_EQ(R().CrossCurvesGrid->Cells(0, 0), "");
        EXPECT_TRUE(R().RunCrossCurvesButton->Enabled());
        EXPECT_FALSE(main->StopButton->Enabled());
    }
}

TEST_F(RunsTest, SavedReportsHoldTheBoxBargeNumbers)
{
    REQUIRE_TOOL("python3", "python3");
    Hydro("0", "2", "0.5");
    EXPECT_EQ(R().SaveReportDialog->Filter, "Comma Seperated Files|*.csv|ASCII Plain Text|*.txt|HTML File|*.html");
    for (int filter : {1, 2, 3}) {
        const std::string file = dir.file("report" + std::to_string(filter));
        dialogAnswers.push_back([file, filter](platform::TCommonDialog& d) {
            auto& sd = dynamic_cast<platform::TSaveDialog&>(d);
            sd.FileName = file;
            sd.FilterIndex = filter;
            return true;
        });
        main->ReportSave[0]->Click();
        ASSERT_TRUE(std::filesystem::exists(file)) << filter;
    }
    // CSV: the row of draught 1.000 holds V = L B T and KB = T / 2 (30 x 10 box).
    std::ifstream csv(dir.file("report1"));
    std::string line, row;
    while (std::getline(csv, line))
        if (line.rfind("1.000,", 0) == 0 || line.rfind("\"1.000\",", 0) == 0) row = line;
    ASSERT_FALSE(row.empty());
    EXPECT_NE(row.find("300.000"), std::string::npos) << row;
    EXPECT_NE(row.find("307.500"), std::string::npos) << row;
    EXPECT_NE(row.find("0.500"), std::string::npos) << row;
    // HTML read by a real parser: the cells of the draught rows are there.
    int rc = -1;
    const std::string out = testsupport::RunCapture(
        "python3 -c \"import html.parser,sys\n"
        "class P(html.parser.HTMLParser):\n"
        "  cells=[]\n"
        "  def handle_data(self,d): self.cells.append(d.strip())\n"
        "p=P(); p.feed(open(sys.argv[1]).read()); p.close()\n"
        "print('300.000' in p.cells, '600.000' in p.cells)\" '" +
            dir.file("report3") + "' 2>&1",
        &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_EQ(out, "True True\n");
    // Copy: the selected cells as text.
    grid::TExStringGrid* g = R().HydroGrid;
    const int r = FindRow(g, "1.000");
    ASSERT_GT(r, 0);
    g->SelectRange(1, 1, r, r);
    main->ReportCopy[0]->Click();
    EXPECT_NE(platform::Clipboard()->AsText().find("300.000"), std::string::npos) << platform::Clipboard()->AsText();
}

TEST_F(RunsTest, ReportCsvAndTextHoldTheCellsWithoutMarkupAndHtmlKeepsIt)
{
    Hydro("0", "2", "0.5");
    R().StartDisp->SetText("0");
    R().EndDisp->SetText("1000");
    R().DispStep->SetText("500");
    R().AngleStepEdit->SetText("10");
    R().EndAngleEdit->SetText("20");
    Run(R().RunCrossCurvesButton);
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    struct Case {
        int page, filter;
        const char* file;
        bool markup;
        std::vector<std::string> has;
    } cases[] = {
        {0, 1, "h.csv", false, {"Draught", "(m3)", "300.000"}},
        {0, 2, "h.txt", false, {"Draught", "(m3)", "300.000"}},
        {0, 3, "h.html", true, {"<SUP>3</SUP>", "300.000"}},
        {1, 1, "c.csv", false, {"Displacement", "(Te)", "10 deg", "\n500.000,"}},
        {1, 2, "c.txt", false, {"Displacement", "(Te)", "500.000"}},
        {1, 3, "c.html", true, {"<B>500.000", "<B>10 deg"}},
    };
    for (const Case& c : cases) {
        const std::string file = dir.file(c.file);
        dialogAnswers.push_back([file, c](platform::TCommonDialog& d) {
            auto& sd = dynamic_cast<platform::TSaveDialog&>(d);
            sd.FileName = file;
            sd.FilterIndex = c.filter;
            return true;
        });
        main->ReportSave[c.page]->Click();
        std::string text = slurp(file);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
        for (const std::string& want : c.has) EXPECT_NE(text.find(want), std::string::npos) << c.file << ": " << want;
        const bool tagged = text.find("<B>") != std::string::npos || text.find("<SUP>") != std::string::npos;
        EXPECT_EQ(tagged, c.markup) << c.file;
    }
    // The grid itself keeps its setting for the other exports.
    EXPECT_TRUE(R().HydroGrid->SaveHTMLTags);
}

TEST_F(RunsTest, GraphSavedInEachFormatIsReadByOutsideReaders)
{
    REQUIRE_TOOL("identify", "imagemagick");
    REQUIRE_TOOL("wmf2svg", "libwmf-bin");
    REQUIRE_TOOL("emf2svg-conv", "emf2svg");
    main->SetBounds(0, 0, 1000, 700);
    main->ViewControl->SetActivePage(main->CalculationsSheet);
    Hydro("0", "2", "0.25");
    auto* pages = dynamic_cast<frame::TExPageControl*>(main->FindComponent("ExPageControl1"));
    ASSERT_TRUE(pages);
    pages->SetActivePageIndex(1);
    platform::Application->ProcessMessages();
    EXPECT_EQ(R().SaveGraphDialog->Filter, "BMP File|*.bmp|Std Metafile|*.wmf|Enhanced Metafile|*.emf");
    struct Case {
        int filter;
        const char* ext;
        std::string reader;
    };
    const Case cases[] = {{1, "bmp", "identify '%s'"},
                          {2, "wmf", "wmf2svg -o /dev/stdout '%s'"},
                          {3, "emf", "emf2svg-conv -i '%s' -o /dev/stdout"}};
    for (const Case& c : cases) {
        EXPECT_EQ(app::GraphFileExtension(c.filter), c.ext);
        const std::string name = std::string("graph") + std::to_string(c.filter);
        dialogAnswers.push_back([this, name, c](platform::TCommonDialog& d) {
            auto& sd = dynamic_cast<platform::TSaveDialog&>(d);
            sd.FileName = dir.file(name);
            sd.FilterIndex = c.filter;
            return true;
        });
        main->GraphSave[0]->Click();
        const std::string file = dir.file(name + "." + c.ext);
        ASSERT_TRUE(std::filesystem::exists(file)) << file;
        std::string cmd = c.reader;
        cmd.replace(cmd.find("%s"), 2, file);
        int rc = -1;
        const std::string out = testsupport::RunCapture(cmd + " 2>&1", &rc);
        EXPECT_EQ(rc, 0) << out;
        if (c.filter == 1) {
            EXPECT_NE(out.find("BMP"), std::string::npos) << out;
            EXPECT_EQ(out.find(" 1x1 "), std::string::npos) << out;
        }
        if (c.filter == 3) {
            EXPECT_NE(out.find("Displacement"), std::string::npos);
        }
    }
    if (std::getenv("RUNS_TEST_OUT")) {
        std::filesystem::copy_file(dir.file("graph1.bmp"), std::string(std::getenv("RUNS_TEST_OUT")) + "/hydro.bmp",
                                   std::filesystem::copy_options::overwrite_existing);
        platform::PaintToBitmap(R().HydroGrid)
            ->SaveToFile(std::string(std::getenv("RUNS_TEST_OUT")) + "/hydrogrid.bmp");
        for (int page = 0; page < 3; ++page) {
            main->ExPageControl2->SetActivePageIndex(page);
            platform::Application->ProcessMessages();
            platform::PaintToBitmap(main)->SaveToFile(std::string(std::getenv("RUNS_TEST_OUT")) + "/page" +
                                                      std::to_string(page) + ".bmp");
        }
    }
}

}  // namespace

// A run that throws reaches the application's exception box, and its table is left as a
// stop leaves it: the rows from there on empty, the header rows written, the label saying
// where the run ended. The next run starts normally.
TEST_F(RunsTest, ARunThatThrowsIsShownAndEndsAsAStopDoes)
{
    struct Case {
        const char* name;
        edit::TExToolButton* button;
        std::string throwAt;  // the progress text whose showing throws
        std::string label;
        std::function<void()> check;
    };
    grid::TExStringGrid* hydro = R().HydroGrid;
    grid::TExStringGrid* longs = R().LongBendingGrid;
    R().StartDraftEdit->SetText("0");
    R().EndDraftEdit->SetText("1");
    R().DraftStepEdit->SetText("0.1");
    R().CurveDraughtEdit->SetText("2");
    R().AngleStepEdit->SetText("10");
    R().EndAngleEdit->SetText("20");
    R().StartDisp->SetText("500");
    R().EndDisp->SetText("1000");
    R().DispStep->SetText("500");
    const Case cases[] = {
        {"hydrostatics", R().RunHydrosButton, "Progress: Reporting Hydrostatics for draft 0.3",
         "Progress: Terminated at draft 0.3",
         [&] {
             const int head = FindRow(hydro, "<B>Draught");
             ASSERT_GT(head, 0);
             EXPECT_EQ(hydro->Cells(0, head + 4), "0.200");
             EXPECT_EQ(hydro->Cells(0, head + 5), "");
             EXPECT_EQ(hydro->Cells(0, 0), "<B>Table of Hydrostatic Properties for Box Barge");
         }},
        {"longitudinal", R().RunLongBuoyancyBtn, "Progress: Reporting Areas @ Y=1.5", "Progress: Terminated @ Y=1.5",
         [&] {
             const int head = FindRow(longs, "<B>Y Position");
             ASSERT_GT(head, 0);
             EXPECT_EQ(longs->Cells(1, head + 3), "20.000");  // just after the end frame
             EXPECT_EQ(longs->Cells(0, head + 4), "");
             EXPECT_EQ(longs->Cells(0, 0), "<B>Longitudinal Buoyancy Curves for Box Barge");
             EXPECT_GT(FindRow(longs, "Total Area="), head);
         }},
        {"cross curves before its table", R().RunCrossCurvesButton, "Progress: Angle Set validated...",
         "Progress: Terminated.", [] {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        boxes.clear();
        bool thrown = false;
        onProgress = [&](int, const std::string& text) {
            if (thrown || text != k.throwAt) return;
            thrown = true;
            throw std::runtime_error("The disk went away");
        };
        Run(k.button);
        ASSERT_TRUE(thrown) << ::testing::PrintToString(texts);
        ASSERT_EQ(boxes, std::vector<std::string>{"The disk went away."});
        EXPECT_EQ(Label(), k.label);
        k.check();
        EXPECT_FALSE(R().Running());
        for (auto* b : {R().RunHydrosButton, R().RunCrossCurvesButton, R().RunLongBuoyancyBtn})
            EXPECT_TRUE(b->Enabled());
        EXPECT_TRUE(main->File1->Enabled());
        EXPECT_FALSE(main->StopButton->Enabled());
    }
    onProgress = {};
    boxes.clear();
    Hydro("0", "1", "0.5");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Label(), "Progress: Completed hydrostatic analysis run.");
}

// Without an active appendage the cross curves cannot float the hull: the run says so as
// the other runs do, and leaves the cells empty.
TEST_F(RunsTest, CrossCurvesWithoutHydrostaticsSaySo)
{
    main->Hull.appendages[0].active = false;
    R().AngleStepEdit->SetText("10");
    R().EndAngleEdit->SetText("20");
    R().StartDisp->SetText("500");
    R().EndDisp->SetText("1000");
    R().DispStep->SetText("500");
    Run(R().RunCrossCurvesButton);
    ASSERT_EQ(boxes, std::vector<std::string>{app::runs::kHydroFailed});
    grid::TExStringGrid* g = R().CrossCurvesGrid;
    const int head = FindRow(g, "<B>(Te)");
    ASSERT_GT(head, 0);
    for (int r = head + 1; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c) EXPECT_EQ(g->Cells(c, r), "") << c << "," << r;
    EXPECT_EQ(g->Cells(0, 0), "<B>Table of Cross Curves for Box Barge");
}

// Stop in the cross-curves run: the label says where it ended, the cells after it stay
// empty and the header rows are written. The Stop is posted before the loop, so it is
// handled at the loop's first look at the messages, after the first cell.
TEST_F(RunsTest, CrossCurvesStopSaysWhereTheRunEnded)
{
    const platform::UINT stopMessage = platform::RegisterWindowMessage("KorveloTestStopRun");
    platform::TControl::TWndMethod old = main->WindowProc;
    main->WindowProc = [&](platform::TMessage& m) {
        if (m.Msg == stopMessage) main->StopButton->Click();
        else old(m);
    };
    onProgress = [&](int, const std::string& text) {
        if (text == "Progress: Angle Set validated...") platform::PostMessage(main->Handle(), stopMessage, 0, 0);
    };
    R().StartAngleEdit->SetText("0");
    R().EndAngleEdit->SetText("20");
    R().AngleStepEdit->SetText("10");
    R().StartDisp->SetText("500");
    R().EndDisp->SetText("1000");
    R().DispStep->SetText("250");
    Run(R().RunCrossCurvesButton);
    main->WindowProc = old;
    EXPECT_EQ(Label(), "Progress: Terminated at heel 0 deg");
    grid::TExStringGrid* g = R().CrossCurvesGrid;
    EXPECT_EQ(g->Cells(0, 0), "<B>Table of Cross Curves for Box Barge");
    const int head = FindRow(g, "<B>(Te)");
    ASSERT_GT(head, 0);
    EXPECT_EQ(g->Cells(0, head + 1), "<B>500.000");
    EXPECT_EQ(g->Cells(1, head + 1), "0.000");
    EXPECT_EQ(g->Cells(0, head + 2), "");
    EXPECT_EQ(g->Cells(1, head + 2), "");
    EXPECT_EQ(g->Cells(2, head), "");  // the 10 deg column was never started
    EXPECT_TRUE(R().RunCrossCurvesButton->Enabled());
    // Not stopped, the run completes.
    onProgress = {};
    Run(R().RunCrossCurvesButton);
    EXPECT_EQ(Label(), "Progress: Completed cross curves analysis run.");
}

// The progress text has a row of its own: the longest shows whole, overlapping nothing,
// in the smallest main window.
TEST_F(RunsTest, TheWholeProgressTextShows)
{
    main->SetBounds(main->Left(), main->Top(), 700, 500);
    main->ViewControl->SetActivePage(main->CalculationsSheet);
    R().CurveDraughtEdit->SetText("2");
    Run(R().RunLongBuoyancyBtn);
    ASSERT_EQ(Label(), "Progress: Completed long buoyancy analysis run.");
    platform::Application->ProcessMessages();
    platform::TLabel* label = main->ProgressLabel;
    auto* panel = main->HydroPanel;
    const platform::TRect shown = label->BoundsRect();
    label->Canvas()->Font().Assign(*label->Font());
    EXPECT_GE(shown.Width(), label->Canvas()->TextWidth(Label()));
    EXPECT_LE(shown.Right, panel->ClientWidth());
    for (int i = 0; i < panel->ControlCount(); ++i) {
        platform::TControl* other = panel->Controls(i);
        if (other == label || !other->Visible()) continue;
        const platform::TRect r = other->BoundsRect();
        const bool apart = r.Left >= shown.Right || r.Right <= shown.Left || r.Top >= shown.Bottom ||
                           r.Bottom <= shown.Top;
        EXPECT_TRUE(apart) << other->Name();
    }
}

// The note on a low tolerance comes before a refusal that a later check makes.
TEST_F(RunsTest, TheLowToleranceNoteShowsBeforeARefusal)
{
    R().StartDisp->SetText("500");
    R().EndDisp->SetText("0");
    R().DispStep->SetText("100");
    R().DispTolerance->SetText("0.005");
    R().AngleStepEdit->SetText("10");
    Run(R().RunCrossCurvesButton);
    EXPECT_EQ(boxes, (std::vector<std::string>{app::runs::kToleranceLow, app::runs::kEndDispBeforeStart}));
    EXPECT_EQ(Label(), "Progress: Error getting user data.");
}

// A step typed finer than the field's three decimals reads zero: the refusal says why.
TEST_F(RunsTest, AStepTheFieldCannotHoldIsNamedAsSuch)
{
    struct Case {
        const char* what;
        edit::TExEdit* field;
        edit::TExToolButton* run;
        const char* typed;
        const char* message;
    };
    R().EndDraftEdit->SetText("1");
    R().AngleStepEdit->SetText("10");
    R().EndAngleEdit->SetText("10");
    R().EndDisp->SetText("100");
    R().DispStep->SetText("100");
    const Case cases[] = {
        {"draught step", R().DraftStepEdit, R().RunHydrosButton, "0.0001", app::runs::kStepBelowField},
        {"draught step of 0", R().DraftStepEdit, R().RunHydrosButton, "0", app::runs::kBadStep},
        {"angle step", R().AngleStepEdit, R().RunCrossCurvesButton, "0.0004", app::runs::kStepBelowField},
        {"displacement step", R().DispStep, R().RunCrossCurvesButton, "0.0002", app::runs::kStepBelowField},
    };
    main->ViewControl->SetActivePage(main->CalculationsSheet);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string kept = c.field->Text();
        c.field->SetFocus();
        ASSERT_TRUE(c.field->Focused());
        c.field->SelectAll();
        for (const char* k = c.typed; *k; ++k)
            platform::HostKey(c.field, *k == '.' ? platform::Word(0xBE) : platform::Word(*k));
        R().StartDraftEdit->SetFocus();  // leaves the field
        EXPECT_EQ(c.field->GetFloat(), 0);
        boxes.clear();
        Run(c.run);
        EXPECT_EQ(boxes, std::vector<std::string>{c.message});
        c.field->SetText(kept);
    }
}

// A cross-curves run takes at most 3601 angles; more are refused with a clear message
// before anything is made.
TEST_F(RunsTest, TheAngleCountIsCapped)
{
    R().StartDisp->SetText("100");
    R().EndDisp->SetText("200");
    R().DispStep->SetText("100");
    R().StartAngleEdit->SetText("0");
    R().EndAngleEdit->SetText("90");
    R().AngleStepEdit->SetText("0.001");
    Run(R().RunCrossCurvesButton);
    EXPECT_EQ(boxes, std::vector<std::string>{app::runs::kTooManyAngles});
    EXPECT_EQ(R().CrossCurvesGrid->ColCount(), 5);
    EXPECT_EQ(R().CrossCurvesGrid->Cells(0, 0), "");
    // 3601 angles are taken.
    std::vector<double> angles;
    EXPECT_EQ(app::runs::BuildRunAngles({}, -180, 180, 0.1, angles), "");
    EXPECT_EQ(angles.size(), 3601u);
    EXPECT_EQ(app::runs::BuildRunAngles({1}, -180, 180, 0.1, angles), app::runs::kTooManyAngles);
}

// The longitudinal graph of a parallel-sided body: its flat top shows inside the frame,
// not on the frame's top line, and the two curves have different colours.
TEST_F(RunsTest, TheLongitudinalCurvesOfAParallelBodyShowInsideTheFrame)
{
    main->Hull.waterDensity = 1.0;  // the two curves are one
    R().CurveDraughtEdit->SetText("2");
    Run(R().RunLongBuoyancyBtn);
    chart::TChart* c = R().LongBendingChart;
    EXPECT_NE(c->GetSeries(0)->SeriesColor(), c->GetSeries(1)->SeriesColor());
    c->SetParent(main);
    c->SetAlign(platform::alNone);
    c->SetBounds(0, 0, 500, 400);
    auto picture = platform::PaintToBitmap(c);
    if (const char* out = std::getenv("RUNS_TEST_OUT")) picture->SaveToFile(std::string(out) + "/longgraph.bmp");
    // The flat top at 20 lies below the frame's top, at 20 of the axis.
    EXPECT_GT(c->LeftAxis().Maximum(), 20);
    EXPECT_EQ(c->LeftAxis().Minimum(), 0);
    const int top = c->LeftAxis().ValueToYPixel(20);
    EXPECT_GT(top, c->ChartRect.Top + 5);
    // Its pixels, in the colour of the series drawn last, halfway along the hull.
    const int x = c->BottomAxis().ValueToXPixel(15);
    int found = 0;
    for (int y = top - 2; y <= top + 2; ++y)
        for (int k = 0; k < 2; ++k)
            if (picture->Canvas()->Pixel(x, y) == c->GetSeries(k)->SeriesColor()) ++found;
    EXPECT_GT(found, 0);
    R().ClearResults();
    EXPECT_TRUE(c->LeftAxis().Automatic());
}
