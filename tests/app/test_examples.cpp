// The example hulls of examples/: made from their formulas and saved by the program's
// own Save command. KORVELO_WRITE_EXAMPLES=1 writes them into the source tree.
#include <cstdlib>

#include "AppFixture.h"
#include "Hulls.h"
#include "core/HydroData.h"
#include "platform/controls/Menus.h"
#include "app/Components.h"
#include "app/RunPages.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartSeries.h"
#include "widgets/edit/ExEdBtn.h"
#include "widgets/edit/ExToolBtn.h"

namespace {

struct Example {
    const char* file;
    void (*make)(core::Hullform&);
    double draught;
    double volume;  // at that draught, from the formula
};

const Example kExamples[] = {
    {"box-barge.hll", hulls::MakeBoxBarge, 2.0, 30.0 * 10.0 * 2.0},
    {"wigley.hll", hulls::MakeWigley, hulls::kWigleyT, 4.0 / 9.0 * hulls::kWigleyL * hulls::kWigleyB * hulls::kWigleyT},
};

}  // namespace

TEST_F(AppTest, ExampleHullsAreSavedByTheProgramAndOpenAsSaved)
{
    const bool write = std::getenv("KORVELO_WRITE_EXAMPLES") != nullptr;
    const std::string examples = std::string(KORVELO_SOURCE_DIR) + "/examples/";
    for (const Example& e : kExamples) {
        SCOPED_TRACE(e.file);
        e.make(main->Hull);
        core::HydroData h;
        ASSERT_TRUE(main->Hull.GetHydroStatics(e.draught, 0, h));
        EXPECT_NEAR(h.volume, e.volume, 0.02 * e.volume);

        const std::string saved = write ? examples + e.file : dir.file(e.file);
        AnswerDialog(saved);
        if (write) boxAnswers.push_back(platform::mrYes);  // replacing the checked-in file
        main->Save1->Click();
        if (write) boxes.clear();
        ASSERT_TRUE(boxes.empty());

        // The checked-in file opens through the Open command as the program saves it now.
        AnswerDialog(examples + e.file);
        main->N1Click(main->New1);
        main->Open1->Click();
        ASSERT_TRUE(boxes.empty());
        core::Hullform& opened = main->Hull;
        core::Hullform fresh(dir.file("fresh.log"));
        e.make(fresh);
        EXPECT_EQ(opened.name, fresh.name);
        ASSERT_EQ(opened.GetAppendageCount(), 1u);
        const auto& a = opened.appendages[0].frames;
        const auto& b = fresh.appendages[0].frames;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t j = 0; j < a.size(); ++j) {
            EXPECT_NEAR(a[j].GetY(), b[j].GetY(), 1e-4);
            ASSERT_EQ(a[j].GetOffsetCount(), b[j].GetOffsetCount());
            for (unsigned k = 0; k < a[j].GetOffsetCount(); ++k) {
                EXPECT_NEAR(a[j].GetX(k), b[j].GetX(k), 1e-4);
                EXPECT_NEAR(a[j].GetZ(k), b[j].GetZ(k), 1e-4);
            }
        }
    }
}

// The first steps of the README: the Wigley hull's hydrostatics and their graph. With
// KORVELO_SNAPSHOTS set, the window is kept there as wigley-hydrostatics.bmp.
TEST_F(AppTest, WigleyHydrostaticsGraphReadsAsCurves)
{
    AnswerDialog(std::string(KORVELO_SOURCE_DIR) + "/examples/wigley.hll");
    main->Open1->Click();
    ASSERT_TRUE(boxes.empty());
    main->SetBounds(0, 0, 1100, 800);
    app::TRunPages& r = *main->Runs;
    r.StartDraftEdit->SetText("0.25");
    r.EndDraftEdit->SetText("2.5");
    r.DraftStepEdit->SetText("0.25");
    r.RunHydrosButton->Click();
    r.WaitForWorker();
    ASSERT_TRUE(boxes.empty());
    main->ViewControl->SetActivePage(main->CalculationsSheet);
    main->ExPageControl2->SetActivePage(main->HydroSheet);
    auto* pages = dynamic_cast<app::TAppPageControl*>(r.HydroChart->Parent()->Parent());
    ASSERT_NE(pages, nullptr);
    pages->SetActivePageIndex(1);
    platform::Application->ProcessMessages();
    auto picture = platform::PaintToBitmap(main);
    if (const char* out = std::getenv("KORVELO_SNAPSHOTS"))
        picture->SaveToFile(std::string(out) + "/wigley-hydrostatics.bmp");

    chart::TChart* c = r.HydroChart;
    ASSERT_EQ(c->GetSeries(2)->Count(), 10);
    // LCB and LCF lie at 20 m at every draught: one straight vertical line each, on an
    // axis that reads 20, however the last digits of the sums fall.
    EXPECT_TRUE(c->TopAxis().ScaleRangeIsZero);
    EXPECT_NEAR(c->TopAxis().Minimum(), 20, 1e-6);
    for (int k : {2, 3}) {
        chart::TChartSeries* s = c->GetSeries(k);
        for (int i = 1; i < s->Count(); ++i) EXPECT_EQ(s->CalcXPos(i), s->CalcXPos(0)) << k << " " << i;
    }
}
