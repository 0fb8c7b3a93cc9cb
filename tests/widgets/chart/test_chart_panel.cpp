// The chart panel's window: copying, loading, the rounded window, the screen questions,
// the window messages, transparency; copying charts, printing pages, source items, the
// series' sources and cursor values, and the axis settings that repaint.
#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "ChartOnHost.h"
#include "platform/Messages.h"
#include "platform/TestRig.h"
#include "platform/graphics/GDI.h"
#include "platform/system/Printer.h"
#include "support/TestSupport.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartCanvas3D.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartTitles.h"
#include "widgets/chart/ChartValues.h"

using namespace chart;
using namespace platform;

namespace {

// A host that paints itself a colour of its own, with the chart on it.
class Backdrop : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Paint() override
    {
        Canvas()->Brush().SetColor(TColor(RGB(0, 128, 255)));
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

struct PanelOnHost {
    PanelOnHost()
    {
        EnsurePlatform();
        host = std::make_unique<Backdrop>(nullptr);
        host->SetBounds(0, 0, 420, 330);
        chart = new TChart(host.get());
        chart->SetParent(host.get());
        chart->SetBounds(10, 10, 400, 300);
        chart->SetView3D(false);
        chart->SetColor(clWhite);
        chart->SetBevelOuter(bvNone);
    }
    std::unique_ptr<Backdrop> host;
    TChart* chart = nullptr;
};

int Repaints(TChart& c, const std::function<void()>& change)
{
    // The buffer goes stale exactly when the chart invalidates itself.
    TBitmap b(400, 300);
    c.Draw(b.Canvas(), {0, 0, 400, 300});
    c.ChartCanvas()->ShowImage(b.Canvas(), c.ControlCanvas, {0, 0, 400, 300});
    const bool before = static_cast<TChartCanvas3D*>(c.ChartCanvas())->ReDrawBitmap();
    change();
    const bool after = static_cast<TChartCanvas3D*>(c.ChartCanvas())->ReDrawBitmap();
    return before && !after ? 1 : 0;
}

}  // namespace

TEST(ChartPanelWindow, BorderRoundShapesTheWindowAndIsAppliedOnLoad)
{
    PanelOnHost h;
    h.chart->SetBorderRound(40);
    auto b = PaintToBitmap(h.host.get());
    // Inside the chart its white face; at its corners the host shows through.
    EXPECT_EQ(COLORREF(b->Canvas()->Pixel(13, 160)), RGB(255, 255, 255));
    EXPECT_EQ(COLORREF(b->Canvas()->Pixel(11, 11)), RGB(0, 128, 255));
    EXPECT_EQ(COLORREF(b->Canvas()->Pixel(408, 308)), RGB(0, 128, 255));
    EXPECT_EQ(h.host->ControlAtPos({11, 11}, false, true), nullptr) << "not hit outside its region";
    EXPECT_EQ(h.host->ControlAtPos({200, 150}, false, true), h.chart);
    if (const char* dir = std::getenv("CHART_TEST_OUT")) b->SaveToFile(std::string(dir) + "/border_round.bmp");
    // Resizing keeps the shape: the new corner is cut too.
    h.chart->SetBounds(10, 10, 300, 200);
    EXPECT_EQ(h.host->ControlAtPos({11, 11}, false, true), nullptr);
    EXPECT_EQ(h.host->ControlAtPos({150, 100}, false, true), h.chart);
    h.chart->SetBorderRound(0);
    EXPECT_EQ(h.host->ControlAtPos({11, 11}, false, true), h.chart) << "rectangular again";

    // While loading, the round corners wait for Loaded.
    PanelOnHost l;
    l.chart->Loading = true;
    l.chart->SetBorderRound(20);
    EXPECT_EQ(l.host->ControlAtPos({11, 11}, false, true), l.chart);
    l.chart->Loading = false;
    l.chart->SetCursor(crHandPoint);
    l.chart->Loaded();
    EXPECT_EQ(l.host->ControlAtPos({11, 11}, false, true), nullptr);
    EXPECT_EQ(l.chart->SavedCursor, crHandPoint);
}

TEST(ChartPanelWindow, ClNoneMakesTheChartTransparentOverItsParent)
{
    PanelOnHost h;
    h.chart->SetBufferedDisplay(false);
    h.chart->SetColor(clNone);
    TCreateParams p;
    h.chart->CreateParams(p);
    EXPECT_TRUE(p.ExStyle & WS_EX_TRANSPARENT);
    h.chart->Invalidate();
    auto b = PaintToBitmap(h.host.get());
    // The chart's panel paints no background: the host's colour is behind the chart.
    EXPECT_EQ(COLORREF(b->Canvas()->Pixel(30, 30)), RGB(0, 128, 255));
    h.chart->SetColor(clWhite);
    TCreateParams q;
    h.chart->CreateParams(q);
    EXPECT_FALSE(q.ExStyle & WS_EX_TRANSPARENT);
}

TEST(ChartPanelWindow, ClNoneIsTransparentWithTheDefaultBuffering)
{
    PanelOnHost h;
    ASSERT_TRUE(h.chart->BufferedDisplay());
    h.chart->SetColor(clNone);
    h.chart->Border().SetColor(clRed);
    h.chart->Border().SetWidth(3);
    h.chart->Border().SetVisible(true);
    auto reds = [](TBitmap& b) {
        int n = 0;
        for (int y = 0; y < 330; ++y)
            for (int x = 0; x < 420; ++x) n += COLORREF(b.Canvas()->Pixel(x, y)) == RGB(255, 0, 0);
        return n;
    };
    auto first = PaintToBitmap(h.host.get());
    EXPECT_EQ(COLORREF(first->Canvas()->Pixel(30, 30)), RGB(0, 128, 255)) << "the host shows through at once";
    EXPECT_GT(reds(*first), 0);
    // The border goes: no trace of the earlier frame stays.
    h.chart->Border().SetVisible(false);
    auto second = PaintToBitmap(h.host.get());
    if (const char* dir = std::getenv("CHART_TEST_OUT")) second->SaveToFile(std::string(dir) + "/clnone_buffered.bmp");
    EXPECT_EQ(COLORREF(second->Canvas()->Pixel(30, 30)), RGB(0, 128, 255));
    EXPECT_EQ(reds(*second), 0);
}

TEST(ChartPanelWindow, MessagesAndScreenQuestions)
{
    PanelOnHost h;
    TChart& c = *h.chart;
    // Mouse leave: the saved cursor comes back and panning stops.
    c.SavedCursor = crCross;
    c.SetCursor(crHourGlass);
    c.Panning.Active = true;
    c.Perform(CM_MOUSELEAVE);
    EXPECT_EQ(c.Cursor(), crCross);
    EXPECT_FALSE(c.Panning.Active);
    // The dialog code asks for the arrow keys.
    EXPECT_TRUE(c.Perform(WM_GETDLGCODE) & DLGC_WANTARROWS);
    // Erasing the background: reported done, and left to the chart unless ChartEraseBack.
    TBitmap b(400, 300);
    b.Canvas()->Brush().SetColor(clRed);
    b.Canvas()->FillRect({0, 0, 400, 300});
    c.SetColor(clLime);
    EXPECT_EQ(c.Perform(WM_ERASEBKGND, WPARAM(b.Canvas()->Handle())), 1);
    EXPECT_EQ(COLORREF(b.Canvas()->Pixel(5, 5)), RGB(255, 0, 0));
    ChartEraseBack = true;
    EXPECT_EQ(c.Perform(WM_ERASEBKGND, WPARAM(b.Canvas()->Handle())), 1);
    ChartEraseBack = false;
    EXPECT_EQ(COLORREF(b.Canvas()->Pixel(5, 5)), RGB(0, 255, 0));
    // Border style follows the border pen.
    EXPECT_EQ(c.BorderStyle(), bsNone);
    c.SetBorderStyle(bsSingle);
    EXPECT_TRUE(c.Border().Visible());
    EXPECT_EQ(c.BorderStyle(), bsSingle);
    c.SetBorderStyle(bsNone);
    EXPECT_FALSE(c.Border().Visible());
    // The screen: true colour, and a width-to-height ratio of the device.
    EXPECT_TRUE(c.IsScreenHighColor());
    TBitmap wide(300, 150);
    c.ChartCanvas()->SetCanvas(wide.Canvas());
    EXPECT_NEAR(ScreenRatio(*c.ChartCanvas()), 2.0, 0.05);
    c.ChartCanvas()->SetCanvas(c.ControlCanvas);
    // The cursor position in the panel's client coordinates.
    TPoint screen;
    GetCursorPos(screen);
    const TPoint client = c.GetCursorPos();
    const TPoint back = c.ClientToScreen(client);
    EXPECT_EQ(back.X, screen.X);
    EXPECT_EQ(back.Y, screen.Y);
}

TEST(ChartPanelWindow, ACancelledDoubleClickEndsSilently)
{
    PanelOnHost h;
    int clicks = 0;
    h.chart->OnDblClick = [&](TObject*) {
        ++clicks;
        h.chart->MouseCancelled = true;
    };
    EXPECT_THROW(h.chart->DblClick(), base::EAbort);
    EXPECT_EQ(clicks, 1);
    h.chart->OnDblClick = [&](TObject*) { ++clicks; };
    EXPECT_NO_THROW(h.chart->DblClick());
    EXPECT_EQ(clicks, 2);
}

TEST(ChartAssign, ChartPanelsCopyTheirSettings)
{
    PanelOnHost a, b;
    TChart& s = *a.chart;
    s.Border().SetWidth(5);
    s.Border().Show();
    s.SetBorderRound(12);
    s.PrintMargins[2] = 33;
    s.PrintProportional = false;
    s.SetMarginLeft(9);
    s.SetMarginUnits(muPixels);
    s.SetView3D(true);
    s.View3DOptions().SetRotation(20);
    s.SetColor(clYellow);
    s.AllowPanning = pmHorizontal;
    s.Zoom.Animated = true;
    s.Gradient().SetVisible(true);
    s.Gradient().SetStartColor(clRed);
    s.SetChart3DPercent(40);
    s.SetAxisBehind(false);
    s.BottomAxis().SetTickLength(9);
    s.LeftAxis().SetLabelsAngle(90);
    s.SetMaxPointsPerPage(3);
    s.ChartPalette = {clRed, clBlue};
    s.Title().SetCaption("Copied");
    s.Legend().SetVisible(false);
    s.ScrollMouseButton = mbMiddle;
    s.ColorPaletteIndex = 4;
    s.Walls().Back().SetColor(clAqua);
    auto* series = new TLineSeries(a.host.get());
    s.AddSeries(series);

    TChart& t = *b.chart;
    t.Assign(s);
    EXPECT_TRUE(t.Border().Visible());
    EXPECT_EQ(t.Border().Width(), 5);
    EXPECT_EQ(t.BorderRound(), 12);
    EXPECT_EQ(t.PrintMargins[2], 33);
    EXPECT_FALSE(t.PrintProportional);
    EXPECT_EQ(t.MarginLeft(), 9);
    EXPECT_EQ(t.MarginUnits(), muPixels);
    EXPECT_TRUE(t.View3D());
    EXPECT_EQ(t.View3DOptions().Rotation(), 20);
    EXPECT_EQ(t.Color(), clYellow);
    EXPECT_EQ(t.AllowPanning, pmHorizontal);
    EXPECT_TRUE(t.Zoom.Animated);
    ASSERT_TRUE(t.HasGradient());
    EXPECT_EQ(t.Gradient().StartColor(), clRed);
    EXPECT_EQ(t.Chart3DPercent(), 40);
    EXPECT_FALSE(t.AxisBehind());
    EXPECT_EQ(t.BottomAxis().TickLength(), 9);
    EXPECT_EQ(t.LeftAxis().LabelsAngle(), 90);
    EXPECT_EQ(t.MaxPointsPerPage(), 3);
    EXPECT_EQ(t.ChartPalette.size(), 2u);
    EXPECT_EQ(t.Title().Caption(), "Copied");
    EXPECT_FALSE(t.Legend().Visible());
    EXPECT_EQ(t.ScrollMouseButton, mbMiddle);
    EXPECT_EQ(t.ColorPaletteIndex, 4);
    EXPECT_EQ(t.Walls().Back().Color(), clAqua);
    EXPECT_EQ(t.SeriesCount(), 0) << "series are not copied";
}

TEST(ChartAssign, PrintPagesPrintsEachPageAndPutsThePageBack)
{
    REQUIRE_TOOL("pdfinfo", "poppler-utils");
    charttest::ChartOnHost h;
    testsupport::TempDir dir("chartpages");
    auto* s = new TLineSeries(h.host.get());
    h.chart->AddSeries(s);
    for (int i = 0; i < 10; ++i) s->AddXY(i, i);
    h.chart->SetMaxPointsPerPage(3);
    ASSERT_EQ(h.chart->NumPages(), 4);
    h.chart->SetPage(2);
    std::vector<int> pages;
    h.chart->OnPageChange = [&](TObject*) { pages.push_back(h.chart->Page()); };
    Printer()->SetPrinterIndex(0);
    const struct {
        int from, to, count;
    } cases[] = {{0, 0, 4}, {2, 3, 2}};
    for (const auto& c : cases) {
        const std::string pdf = dir.file("pages" + std::to_string(c.from) + ".pdf");
        Printer()->FileName = pdf;
        pages.clear();
        h.chart->PrintPages(c.from, c.to);
        EXPECT_EQ(h.chart->Page(), 2) << "the page is put back";
        EXPECT_FALSE(Printer()->Printing());
        const std::string info = testsupport::RunCapture("pdfinfo '" + pdf + "'");
        EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+" + std::to_string(c.count) + "\\b"))) << info;
        const int last = c.to == 0 ? 4 : c.to;
        EXPECT_NE(std::find(pages.begin(), pages.end(), last), pages.end()) << "the last page was shown";
    }
}

TEST(ChartAssign, SourceItemsSourcesAndCursorValues)
{
    charttest::ChartOnHost h;
    TChart& c = *h.chart;
    auto* source = new TLineSeries(h.host.get());
    auto* linked = new TLineSeries(h.host.get());
    c.AddSeries(source);
    c.AddSeries(linked);
    for (int i = 0; i < 5; ++i) source->AddXY(i, i * 2);
    std::vector<std::string> names;
    auto collect = [&](const std::string& n) { names.push_back(n); };
    c.FillValueSourceItems(&linked->YValues(), collect);
    EXPECT_TRUE(names.empty()) << "no source series";
    linked->SetDataSource(source);
    c.FillValueSourceItems(&linked->YValues(), collect);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], source->XValues().Name);
    EXPECT_EQ(names[1], source->YValues().Name);
    names.clear();
    c.FillSeriesSourceItems(linked, collect);
    EXPECT_TRUE(names.empty());

    // The colour and label fields: set, copied with the format, not set twice.
    EXPECT_EQ(source->GetEditorClass(), "TCustomSeriesEditor");
    source->SetColorSource("Colour");
    source->SetXLabelsSource("Label");
    EXPECT_EQ(source->ColorSource(), "Colour");
    EXPECT_EQ(source->XLabelsSource(), "Label");
    auto* copy = new TLineSeries(h.host.get());
    c.AddSeries(copy);
    copy->AssignFormat(*source);
    EXPECT_EQ(copy->ColorSource(), "Colour");
    EXPECT_EQ(copy->XLabelsSource(), "Label");

    // Cursor values: the mouse position through the series' axes.
    c.Draw(c.ControlCanvas, c.ClientRect());
    double x = 0, y = 0;
    source->GetCursorValues(x, y);
    const TPoint at = c.GetCursorPos();
    EXPECT_DOUBLE_EQ(x, source->XScreenToValue(at.X));
    EXPECT_DOUBLE_EQ(y, source->YScreenToValue(at.Y));
    EXPECT_EQ(source->GetCursorValueIndex(), source->Clicked(at));
}

TEST(ChartAxisSettings, LabelAndTickSettingsRepaintWhenTheyChange)
{
    charttest::ChartOnHost h;
    TChart& c = *h.chart;
    c.SetBufferedDisplay(true);
    TChartAxis& a = c.LeftAxis();
    struct Case {
        const char* what;
        std::function<void()> change, same;
    } cases[] = {
        {"ExactDateTime", [&] { a.SetExactDateTime(false); }, [&] { a.SetExactDateTime(false); }},
        {"RoundFirstLabel", [&] { a.SetRoundFirstLabel(false); }, [&] { a.SetRoundFirstLabel(false); }},
        {"LabelsOnAxis", [&] { a.SetLabelsOnAxis(false); }, [&] { a.SetLabelsOnAxis(false); }},
        {"LabelsMultiLine", [&] { a.SetLabelsMultiLine(true); }, [&] { a.SetLabelsMultiLine(true); }},
        {"LabelsAlternate", [&] { a.SetLabelsAlternate(true); }, [&] { a.SetLabelsAlternate(true); }},
        {"TickOnLabelsOnly", [&] { a.SetTickOnLabelsOnly(false); }, [&] { a.SetTickOnLabelsOnly(false); }},
        {"LabelsAlign", [&] { a.SetLabelsAlign(alOpposite); }, [&] { a.SetLabelsAlign(alOpposite); }},
        {"LabelsExponent", [&] { a.SetLabelsExponent(true); }, [&] { a.SetLabelsExponent(true); }},
        {"LabelsSize", [&] { a.SetLabelsSize(30); }, [&] { a.SetLabelsSize(30); }},
        {"TitleSize", [&] { a.SetTitleSize(20); }, [&] { a.SetTitleSize(20); }},
        {"TickLength", [&] { a.SetTickLength(7); }, [&] { a.SetTickLength(7); }},
        {"TickInnerLength", [&] { a.SetTickInnerLength(3); }, [&] { a.SetTickInnerLength(3); }},
        {"MinorTickLength", [&] { a.SetMinorTickLength(5); }, [&] { a.SetMinorTickLength(5); }},
        {"MinorTickCount", [&] { a.SetMinorTickCount(6); }, [&] { a.SetMinorTickCount(6); }},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(Repaints(c, k.change), 1) << k.what;
        EXPECT_EQ(Repaints(c, k.same), 0) << k.what << " set to the same value";
    }
    EXPECT_EQ(a.TickLength(), 7);
    EXPECT_EQ(a.MinorTickCount(), 6);
}
