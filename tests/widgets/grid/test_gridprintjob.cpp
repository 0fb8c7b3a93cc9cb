// The print job on its own: column tables at and past their ends, the page range a
// job accepts, and the font mapping under the fit-to-page scale.
#include <gtest/gtest.h>

#include "widgets/grid/GridPrintJob.h"
#include "widgets/grid/GridTypes.h"
#include "widgets/grid/PrintSettings.h"

using namespace grid;

TEST(GridPrintJob, ColumnTablesKeepTheirEnds)
{
    TGridPrintJob job;
    job.SetColWidth(0, 11);
    job.SetColOffset(0, 5);
    job.SetColWidth(kMappedColumns - 1, 22);
    job.SetColOffset(kMappedColumns - 1, 33);
    EXPECT_EQ(job.ColWidth(0), 11);
    EXPECT_EQ(job.ColOffset(0), 5);
    EXPECT_EQ(job.ColWidth(kMappedColumns - 1), 22);
    EXPECT_EQ(job.ColOffset(kMappedColumns - 1), 33);
    // Setting outside the tables is ignored, reading there is an error.
    job.SetColWidth(-1, 1);
    job.SetColWidth(kColumnSlots, 1);
    job.SetColOffset(kColumnSlots + 100, 1);
    for (int c : {-1, kMappedColumns, kColumnSlots}) {
        EXPECT_THROW(job.ColWidth(c), EExGridError) << c;
        EXPECT_THROW(job.ColOffset(c), EExGridError) << c;
    }
}

TEST(GridPrintJob, PageRangeAfterTheStartHandler)
{
    struct Case { int from, to, pages; bool valid; };
    const Case cases[] = {
        {1, 3, 3, true}, {2, 2, 3, true}, {0, 3, 3, false}, {1, 0, 3, false},
        {3, 2, 3, false}, {1, 1, 0, false},
    };
    for (const Case& c : cases) {
        TGridPrintJob job;
        job.FromPage = c.from;
        job.ToPage = c.to;
        EXPECT_EQ(job.PagesValid(c.pages), c.valid) << c.from << ".." << c.to << " of " << c.pages;
    }
    TGridPrintJob job;
    job.SetPreviewPage(4);
    EXPECT_FALSE(job.PageInRange(3));
    EXPECT_TRUE(job.PageInRange(4));
    EXPECT_FALSE(job.PageInRange(5));
}

TEST(GridPrintJob, FontHeightsFollowTheScale)
{
    TGridPrintJob job;
    EXPECT_EQ(job.MapFontHeight(72), -254);
    EXPECT_EQ(TGridPrintJob::MapFontSize(254), 72);
    job.FontScale = 0.5;
    EXPECT_EQ(job.MapFontHeight(72), -127);
    // The settings belong to the job and outlive a change of scale.
    job.Settings().JobName = "Offsets";
    EXPECT_EQ(job.Settings().JobName, "Offsets");
}

TEST(GridPrintJob, MeasuresAreTakenOnce)
{
    TGridPrintJob job;
    EXPECT_FALSE(job.HasMeasures());
    auto m = std::make_shared<PrintMeasures>();
    m->cols = 3;
    job.KeepMeasures(m);
    EXPECT_TRUE(job.HasMeasures());
    auto taken = job.TakeMeasures();
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->cols, 3);
    EXPECT_FALSE(job.HasMeasures());
    EXPECT_FALSE(job.TakeMeasures());
}
