// The legend list on a plot control.
#include <gtest/gtest.h>

#include <memory>

#include "base/StringList.h"
#include "platform/TestRig.h"
#include "widgets/plot/LegendList.h"
#include "widgets/plot/PlotGraph.h"

using namespace platform;
using plot::TEGLegendList;
using plot::TPlotGraph;

namespace {

// ---- the legend list

// A plot control with a point series Hull and the function series sin(x) without a
// caption and with the caption F, and a legend list of rows 16 pixels high.
class LegendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePlatform();
        host = std::make_unique<TCustomControl>(nullptr);
        host->SetBounds(0, 0, 400, 300);
        graph = new TPlotGraph(host.get());
        graph->SetParent(host.get());
        graph->SetBounds(0, 0, 200, 200);
        auto& s = graph->Series();
        s.Add();
        s.GetSeries(0).SetCaption("Hull");
        s.GetSeries(0).SetColor(RGB(200, 0, 0));
        s.GetSeries(0).Add(0, 0);
        s.GetSeries(0).Add(5, 5);
        s.Add();
        s.GetSeries(1).SetFunc("sin(x)");
        s.GetSeries(1).SetColor(RGB(0, 0, 200));
        s.GetSeries(1).SetVisible(false);
        s.Add();
        s.GetSeries(2).SetFunc("sin(x)");
        s.GetSeries(2).SetCaption("F");
        list = new TEGLegendList(host.get());
        list->SetParent(host.get());
        list->SetBounds(210, 0, 150, 100);
        list->OnChange = [this](TObject*) { ++changes; };
        list->OnClick = [this](TObject*) { ++clicks; };
    }
    // A pixel of the list's client area (inside its sunken frame).
    TColor Pixel(int x, int y)
    {
        auto bmp = PaintToBitmap(host.get());
        const int f = list->FrameWidth();
        return bmp->Canvas()->Pixel(210 + f + x, f + y);
    }
    std::unique_ptr<TCustomControl> host;
    TPlotGraph* graph = nullptr;
    TEGLegendList* list = nullptr;
    int changes = 0, clicks = 0;
};

TEST_F(LegendTest, LinkingShowsOneRowPerSeries)
{
    list->SetPlotGraph(graph);
    EXPECT_EQ(graph->LegendList(), list);
    ASSERT_EQ(list->Items().Count(), 3);
    const struct {
        const char* text;
        std::uint32_t value;
    } rows[] = {{"Hull", RGB(200, 0, 0) | TEGLegendList::VisibleBit},
                {"(sin(x))", RGB(0, 0, 200)},
                {"F (sin(x))", 0x0000FF | TEGLegendList::VisibleBit}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->Items()[i], rows[i].text);
        EXPECT_EQ(list->ItemValue(i), rows[i].value) << i;
    }
    EXPECT_EQ(changes, 1);
}

TEST_F(LegendTest, RowsShowTheCheckBoxTheColourAndTheName)
{
    list->SetPlotGraph(graph);
    // Row 0 (visible): a white box with a black cross and frame, then the swatch.
    const TRect box = TEGLegendList::CheckBoxRect(list->ItemRect(0));
    EXPECT_EQ(box, Rect(1, 1, 16, 15));
    EXPECT_EQ(Pixel(1, 1), clBlack);        // frame
    EXPECT_EQ(Pixel(5, 5), clBlack);        // cross
    EXPECT_EQ(Pixel(5, 9), clWhite);        // beside the cross
    EXPECT_EQ(Pixel(30, 8), RGB(200, 0, 0));  // swatch from 21 to 41
    EXPECT_EQ(Pixel(21, 8), clBlack);       // its frame
    // Row 1 (hidden): an empty box.
    EXPECT_EQ(Pixel(5, 16 + 5), clWhite);
    EXPECT_EQ(Pixel(8, 16 + 8), clWhite);
    EXPECT_EQ(Pixel(30, 16 + 8), RGB(0, 0, 200));
    // Without check boxes the swatch starts at the box's left.
    list->SetCheckBoxes(false);
    EXPECT_EQ(Pixel(8, 8), RGB(200, 0, 0));
    EXPECT_NE(Pixel(30, 8), RGB(200, 0, 0));
}

TEST_F(LegendTest, AClickOnTheCheckBoxSwitchesTheSeries)
{
    list->SetPlotGraph(graph);
    graph->Paint();
    int graphChanges = 0;
    graph->OnChange = [&](TObject*) { ++graphChanges; };
    changes = 0;
    ClickAt(list, 8, 8);  // row 0's box
    EXPECT_FALSE(graph->Series().GetSeries(0).Visible());
    EXPECT_EQ(list->ItemValue(0) & TEGLegendList::VisibleBit, 0u);
    EXPECT_TRUE(graph->Dirty());
    EXPECT_EQ(graphChanges, 1);
    EXPECT_EQ(changes, 2);  // the rebuild and the click
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(Pixel(5, 5), clWhite);  // the cross is gone
    ClickAt(list, 8, 16 + 8);  // row 1's box shows sin(x)
    EXPECT_TRUE(graph->Series().GetSeries(1).Visible());
    EXPECT_NE(list->ItemValue(1) & TEGLegendList::VisibleBit, 0u);
    EXPECT_EQ(Pixel(5, 16 + 5), clBlack);
}

TEST_F(LegendTest, AClickBesideTheBoxOnlySelects)
{
    list->SetPlotGraph(graph);
    const struct {
        int x, y;
        bool toggles;
    } cases[] = {{16, 8, false}, {15, 8, true}, {1, 1, true}, {0, 8, false}, {8, 15, false}, {8, 14, true}};
    for (const auto& c : cases) {
        const bool before = graph->Series().GetSeries(0).Visible();
        ClickAt(list, c.x, c.y);
        EXPECT_EQ(graph->Series().GetSeries(0).Visible() != before, c.toggles) << c.x << "," << c.y;
        EXPECT_EQ(list->ItemIndex(), 0);
    }
}

TEST_F(LegendTest, ARebuildKeepsTheSelectionOnlyWhenTheRowCountStays)
{
    list->SetPlotGraph(graph);
    list->SetItemIndex(2);
    clicks = 0;
    graph->Series().GetSeries(0).SetColor(RGB(1, 2, 3));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemValue(0), RGB(1, 2, 3) | TEGLegendList::VisibleBit);
    graph->Series().Add();
    EXPECT_EQ(list->Items().Count(), 4);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->Items()[3], "");
    // An empty name shows "----" in silver: no pixel of the row's text is darker.
    auto bmp = PaintToBitmap(host.get());
    int silver = 0, dark = 0;
    for (int y = 3 * 16 + 1; y < 4 * 16 - 1; ++y)
        for (int x = 210 + 46; x < 210 + 150; ++x) {
            const TColor p = bmp->Canvas()->Pixel(x, y);
            const int r = GetRValue(p), g = GetGValue(p), b = GetBValue(p);
            silver += r == g && g == b && r >= 0xC0 && r < 0xFF;  // smoothed edges are lighter
            dark += r < 0xC0 || g < 0xC0 || b < 0xC0;
        }
    EXPECT_GT(silver, 4);
    EXPECT_EQ(dark, 0);
}

TEST_F(LegendTest, ASecondListTakesTheControlAndTheFirstEmpties)
{
    list->SetPlotGraph(graph);
    auto* second = new TEGLegendList(host.get());
    second->SetPlotGraph(graph);
    EXPECT_EQ(graph->LegendList(), second);
    EXPECT_EQ(list->Items().Count(), 3);  // until its next rebuild
    list->UpdateList(-1);
    EXPECT_EQ(list->Items().Count(), 0);
    EXPECT_EQ(list->PlotGraph(), nullptr);
    list->UpdateList(0);  // only -1 rebuilds
    graph->Series().Add();
    EXPECT_EQ(second->Items().Count(), 4);
    EXPECT_EQ(list->Items().Count(), 0);
}

TEST_F(LegendTest, EitherSideForgetsTheOtherWhenFreed)
{
    list->SetPlotGraph(graph);
    delete list;
    list = nullptr;
    EXPECT_EQ(graph->LegendList(), nullptr);
    graph->Series().Add();  // no list to rebuild

    auto* other = new TEGLegendList(nullptr);  // a list with another owner
    other->SetPlotGraph(graph);
    delete graph;
    graph = nullptr;
    EXPECT_EQ(other->PlotGraph(), nullptr);
    other->UpdateList(-1);
    EXPECT_EQ(other->Items().Count(), 0);
    delete other;
}

TEST_F(LegendTest, UnlinkingWithNull)
{
    list->SetPlotGraph(graph);
    list->SetPlotGraph(nullptr);
    EXPECT_EQ(graph->LegendList(), nullptr);
    EXPECT_EQ(list->Items().Count(), 0);
}

TEST_F(LegendTest, RowsOutOfStepWithTheSeriesRaiseTheListsIndexError)
{
    list->SetPlotGraph(graph);
    list->Items().AddObject("stray", nullptr);
    EXPECT_THROW(list->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(8, 3 * 16 + 8)), base::Exception);
}

}  // namespace
