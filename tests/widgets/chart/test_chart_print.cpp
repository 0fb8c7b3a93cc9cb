// Chart printing: a chart with a title and a line series printed to a PDF page, read
// back as text and as pixels; a failing job leaves no file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "ChartOnHost.h"
#include "platform/TestRig.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/system/Printer.h"
#include "support/TestSupport.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartTitles.h"

using namespace chart;
using namespace platform;

namespace {

struct PrintedChart : charttest::ChartOnHost {
    PrintedChart()
    {
        chart->SetName("HydroChart");
        chart->Title().SetCaption("Hydrostatics");
        chart->LeftAxis().Title().SetCaption("Displacement");
        chart->BottomAxis().Title().SetCaption("Draught");
        auto* s = new TLineSeries(host.get());
        s->SetSeriesColor(clRed);
        s->LinePen().SetWidth(3);
        chart->AddSeries(s);
        for (int i = 0; i <= 20; ++i) s->AddXY(i, 3 * i);
        Printer()->SetPrinterIndex(0);
        Printer()->FileName = dir.file("chart.pdf");
    }
    testsupport::TempDir dir{"chartprint"};
};

}  // namespace

TEST(ChartPrint, PdfPageShowsTitleAxisLabelsAndTheSeriesColour)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    REQUIRE_TOOL("pdftoppm", "poppler-utils");
    PrintedChart f;
    const std::string pdf = Printer()->FileName;
    f.chart->PrintDetail = 20;  // larger text and lines on paper
    f.chart->PrintLandscape();
    EXPECT_EQ(Printer()->Orientation(), poPortrait);  // restored
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_FALSE(f.chart->IsPrinting);
    EXPECT_EQ(Printer()->Title, "HydroChart");
    int rc = 0;
    const std::string text = testsupport::RunCapture("pdftotext -layout " + pdf + " -", &rc);
    ASSERT_EQ(rc, 0);
    for (const char* t : {"Hydrostatics", "Displacement", "Draught", "60", "20"})
        EXPECT_NE(text.find(t), std::string::npos) << t << "\n" << text;
    testsupport::RunCapture("pdftoppm -png -r 96 " + pdf + " " + f.dir.file("page"), &rc);
    ASSERT_EQ(rc, 0);
    std::ifstream in(f.dir.file("page-1.png"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto page = ImageDecoder::Decode(bytes);
    ASSERT_TRUE(page);
    if (const char* keep = std::getenv("CHART_TEST_OUT"))
        std::filesystem::copy_file(f.dir.file("page-1.png"), std::string(keep) + "/printed.png",
                                   std::filesystem::copy_options::overwrite_existing);
    EXPECT_GT(page->Width(), page->Height());  // landscape
    // The red series lies inside the printed rectangle; the margins stay white.
    int red = 0, outside = 0;
    const int left = page->Width() * 15 / 100;
    for (int y = 0; y < page->Height(); ++y)
        for (int x = 0; x < page->Width(); ++x) {
            const COLORREF c = page->PixelAt(x, y) & 0xFFFFFF;
            if (c == COLORREF(clRed)) ++red;
            if (x < left - 2 && c != COLORREF(clWhite)) ++outside;
        }
    EXPECT_GT(red, 200);
    EXPECT_EQ(outside, 0);
}

TEST(ChartPrint, AFailingDrawingAbortsTheJobAndLeavesNoFile)
{
    PrintedChart f;
    TRect seen;
    f.chart->OnBeforePrint = [&](TCustomChartPanel* p, TCanvas*, TRect& r) {
        EXPECT_TRUE(p->IsPrinting);
        seen = r;
        throw std::runtime_error("out of paper");
    };
    f.chart->PrintProportional = false;
    f.chart->PrintDetail = 0;
    EXPECT_THROW(f.chart->Print(), std::runtime_error);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_FALSE(f.chart->IsPrinting);
    EXPECT_FALSE(std::filesystem::exists(Printer()->FileName));
    // Detail 0: the chart's own size maps exactly onto the page rectangle.
    EXPECT_NEAR(seen.Width(), 400, 1);
    EXPECT_NEAR(seen.Height(), 300, 1);
}
