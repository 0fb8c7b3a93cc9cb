// Mouse zoom, pan, the value hint and the zoom animation of the plot control, driven
// through the host window as the platform delivers the mouse.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "widgets/plot/PlotGraph.h"
#include "widgets/plot/PlotHint.h"
#include "widgets/plot/ZoomThread.h"

using namespace platform;
using plot::Extended;
using plot::Rect2D;
using plot::TPlotGraph;
using plot::TRect2D;

namespace {

constexpr int kLeft = 10, kTop = 20;  // the graph's place on its host window

// A host window with one graph of 400 x 300 pixels. With no numbers and no borders the
// plot rectangle is (0, 0, 399, 299), and the view (0, 0, 399, 299) makes one world
// unit one pixel: world x = X, world y = 299 - Y.
class InteractionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePlatform();
        host = std::make_unique<TCustomControl>(nullptr);
        host->SetBounds(0, 0, 420, 330);
        graph = new TPlotGraph(host.get());
        graph->SetParent(host.get());
        graph->SetBounds(kLeft, kTop, 400, 300);
        graph->SetGridStyle(plot::gsNone);
        graph->SetNumbHoriz(false);
        graph->SetNumbVert(false);
        graph->SetGraphBorder(plot::bstNone);
        graph->SetColorBg(clWhite);
        graph->SetZoomTime(0);
        graph->OnVisChange = [this](TObject*) { ++visChanges; };
        graph->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
        graph->SetVisRect(Rect2D(0, 0, 399, 299));
        visChanges = 0;
        ASSERT_EQ(graph->PlotRect(), Rect(0, 0, 399, 299));
    }
    void TearDown() override { host.reset(); }

    // Mouse messages at graph coordinates, sent to the host window.
    void Press(TMouseButton b, int x, int y, TShiftState shift = 0)
    {
        SendMouse(host.get(), b == mbLeft ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, kLeft + x, kTop + y, shift);
    }
    void Move(int x, int y, TShiftState shift) { SendMouse(host.get(), WM_MOUSEMOVE, kLeft + x, kTop + y, shift); }
    void Release(TMouseButton b, int x, int y, TShiftState shift = 0)
    {
        SendMouse(host.get(), b == mbLeft ? WM_LBUTTONUP : WM_RBUTTONUP, kLeft + x, kTop + y, shift);
    }
    void Drag(TMouseButton b, int x1, int y1, int x2, int y2, int moves = 3)
    {
        const TShiftState held = b == mbLeft ? ssLeft : ssRight;
        Press(b, x1, y1);
        for (int i = 1; i <= moves; ++i) Move(x1 + (x2 - x1) * i / moves, y1 + (y2 - y1) * i / moves, held);
        Release(b, x2, y2);
    }

    std::unique_ptr<TCustomControl> host;
    TPlotGraph* graph = nullptr;
    int visChanges = 0, mouseDowns = 0;
};

void ExpectRect(const TRect2D& r, Extended x1, Extended y1, Extended x2, Extended y2, Extended tol = 1e-9L)
{
    EXPECT_NEAR(double(r.x1), double(x1), double(tol));
    EXPECT_NEAR(double(r.y1), double(y1), double(tol));
    EXPECT_NEAR(double(r.x2), double(x2), double(tol));
    EXPECT_NEAR(double(r.y2), double(y2), double(tol));
}

TEST_F(InteractionTest, ADraggedBandZoomsToItsWorldRectangle)
{
    const struct {
        int x1, y1, x2, y2;
        Extended wx1, wy1, wx2, wy2;
    } cases[] = {
        {50, 60, 150, 100, 50, 199, 150, 239},    // down and right
        {150, 100, 50, 60, 50, 199, 150, 239},    // up and left: the band is ordered
        {300, 10, 450, 400, 300, 0, 399, 289},    // the corner stays inside the plot
    };
    for (const auto& c : cases) {
        graph->SetVisRect(Rect2D(0, 0, 399, 299));
        visChanges = 0;
        Drag(mbLeft, c.x1, c.y1, c.x2, c.y2);
        ExpectRect(graph->VisRect(), c.wx1, c.wy1, c.wx2, c.wy2);
        EXPECT_EQ(visChanges, 1);
    }
}

TEST_F(InteractionTest, ABandKeepsTheAspectRatioWhenAsked)
{
    graph->SetMaintainRatio(true);
    graph->SetVisRect(Rect2D(0, 0, 399, 299));
    Drag(mbLeft, 100, 100, 200, 120);  // 100 x 20: the height grows about its centre to fit 399 x 299
    const Extended grow = (100.0L * 299 / 399 - 20) / 2;
    ExpectRect(graph->VisRect(), 100, 179 - grow, 200, 199 + grow, 1e-9L);
}

TEST_F(InteractionTest, AClickOrAFlatBandZoomsInByTwoAboutTheCentre)
{
    const struct {
        int x1, y1, x2, y2, moves;
    } cases[] = {{30, 40, 30, 40, 0}, {30, 40, 200, 40, 3}, {30, 40, 30, 200, 2}};
    for (const auto& c : cases) {
        graph->SetVisRect(Rect2D(0, 0, 400, 300));
        Drag(mbLeft, c.x1, c.y1, c.x2, c.y2, c.moves);
        ExpectRect(graph->VisRect(), 100, 75, 300, 225);
    }
}

TEST_F(InteractionTest, ABandLargerThanTheViewChangesNothing)
{
    for (bool ratio : {false, true}) {
        graph->SetMaintainRatio(ratio);
        graph->SetVisRect(Rect2D(0, 0, 399, 299));
        visChanges = 0;
        Drag(mbLeft, 0, 0, 500, 450);  // clamped to the whole plot
        ExpectRect(graph->VisRect(), 0, 0, 399, 299);
        EXPECT_EQ(visChanges, 0);
    }
}

TEST_F(InteractionTest, ARightClickZoomsOutByTwoAboutTheCentre)
{
    for (int moves : {0, 2}) {
        graph->SetVisRect(Rect2D(0, 0, 400, 300));
        visChanges = 0;
        Drag(mbRight, 100, 100, 102, 100, moves);
        ExpectRect(graph->VisRect(), -200, -150, 600, 450);
        EXPECT_EQ(visChanges, 1);
    }
}

TEST_F(InteractionTest, ARightDragPansFromTheThirdMoveAndDoesNotZoomOut)
{
    Press(mbRight, 100, 100);
    Move(101, 100, ssRight);
    Move(102, 101, ssRight);
    ExpectRect(graph->VisRect(), 0, 0, 399, 299);  // two moves never pan
    Move(110, 90, ssRight);                       // the whole distance from the press
    ExpectRect(graph->VisRect(), -10, -10, 389, 289);
    Move(120, 95, ssRight);
    ExpectRect(graph->VisRect(), -20, -5, 379, 294);
    EXPECT_EQ(visChanges, 2);
    Release(mbRight, 120, 95);
    ExpectRect(graph->VisRect(), -20, -5, 379, 294);
}

TEST_F(InteractionTest, APanEndsWhenTheRightButtonIsNoLongerDown)
{
    Press(mbRight, 100, 100);
    Move(101, 100, ssRight);
    Move(102, 100, ssRight);
    Move(150, 100, 0);  // the release was missed
    Move(200, 100, ssRight);
    ExpectRect(graph->VisRect(), 0, 0, 399, 299);
}

TEST_F(InteractionTest, PressesOutsideThePlotOrMarkedDontZoomStartNothing)
{
    Drag(mbLeft, 399, 50, 300, 100);  // the right edge is outside
    Drag(mbRight, 100, 299, 100, 299, 0);
    graph->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        ++mouseDowns;
        graph->SetDontZoom(true);
    };
    Drag(mbLeft, 50, 60, 150, 100);
    EXPECT_FALSE(graph->DontZoom());
    ExpectRect(graph->VisRect(), 0, 0, 399, 299);
    EXPECT_EQ(visChanges, 0);
    EXPECT_EQ(mouseDowns, 3);
    graph->OnMouseDown = nullptr;
    Drag(mbLeft, 50, 60, 150, 100);  // only that press was ignored
    ExpectRect(graph->VisRect(), 50, 199, 150, 239);
}

TEST_F(InteractionTest, TheBandShowsOverThePictureAndGoesWithTheRelease)
{
    auto pixel = [this](int x, int y) {
        auto bmp = PaintToBitmap(host.get());
        return bmp->Canvas()->Pixel(kLeft + x, kTop + y);
    };
    ASSERT_EQ(pixel(50, 60), clWhite);
    Press(mbLeft, 50, 60);
    Move(100, 80, ssLeft);
    Move(150, 100, ssLeft);
    // White inverted over white: the band's outline is black, its inside untouched.
    EXPECT_EQ(pixel(50, 60), clBlack);
    EXPECT_EQ(pixel(150, 100), clBlack);
    EXPECT_EQ(pixel(100, 60), clBlack);
    EXPECT_EQ(pixel(100, 80), clWhite);
    EXPECT_EQ(pixel(100, 80), clWhite);  // a second repaint leaves it as it was
    EXPECT_EQ(pixel(100, 100), clBlack);
    EXPECT_EQ(pixel(100, 101), clWhite);  // not the band of the first move
    Release(mbRight, 150, 100);            // another button: the band goes, no zoom
    EXPECT_EQ(pixel(50, 60), clWhite);
    EXPECT_EQ(pixel(150, 100), clWhite);
    ExpectRect(graph->VisRect(), 0, 0, 399, 299);
}

TEST_F(InteractionTest, LineRectTwiceErasesTheBand)
{
    auto black = [this] {
        auto bmp = PaintToBitmap(host.get());
        return bmp->Canvas()->Pixel(kLeft + 20, kTop + 20) == clBlack;
    };
    graph->LineRect(20, 20, 60, 40);
    EXPECT_TRUE(black());
    graph->LineRect(60, 40, 20, 20);
    EXPECT_FALSE(black());
}

// ---- the value hint

class HintTest : public InteractionTest {
protected:
    void SetUp() override
    {
        InteractionTest::SetUp();
        auto& s = graph->Series();
        s.Add();
        s.GetSeries(0).SetCaption("Hull");
        s.GetSeries(0).SetColor(RGB(200, 0, 0));
        s.GetSeries(0).Add(0, 250);  // row 49
        s.GetSeries(0).Add(399, 250);
        s.Add();
        s.GetSeries(1).SetCaption("Diagonal");
        s.GetSeries(1).SetFunc("x");  // row 299 - X
        s.GetSeries(1).SetColor(RGB(0, 0, 200));
        s.Add();
        s.GetSeries(2).SetCaption("Post");  // a vertical segment at X = 300 from y 100 to 200
        s.GetSeries(2).SetColor(RGB(0, 150, 0));
        s.GetSeries(2).AddSimple(300, 100);
        s.GetSeries(2).AddSimple(300, 200);
        graph->OnHintUpdate = [this](TObject*, int x, int y, int index) {
            updates.push_back({x, y, index});
        };
        graph->Paint();
    }
    struct Update {
        int x, y, index;
    };
    std::vector<Update> updates;
};

TEST_F(HintTest, ShiftAndLeftShowsTheValuesAndTheSeriesFound)
{
    const struct {
        int x, y;
        const char* xText;
        const char* yText;
        int index;
        const char* caption;
    } cases[] = {
        {100, 49, "100.0000", "250.0000", 0, "Hull"},
        {100, 51, "100.0000", "248.0000", 0, "Hull"},   // within 3 rows
        {100, 52, "100.0000", "247.0000", -1, ""},      // 3 rows off: exclusive
        {200, 99, "200.0000", "200.0000", 1, "x"},      // a function shows its text
        {301, 150, "301.0000", "149.0000", 2, "Post"},  // within a column of the vertical
        {303, 150, "303.0000", "149.0000", -1, ""},
        {301, 240, "301.0000", "59.0000", -1, ""},      // beside it, below its end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        updates.clear();
        Press(mbLeft, c.x, c.y, ssShift);
        plot::TEGHintForm* form = graph->HintForm();
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->XText, c.xText);
        EXPECT_EQ(form->YText, c.yText);
        EXPECT_EQ(form->Found, c.index >= 0) << c.x << "," << c.y;
        if (c.index >= 0) {
            EXPECT_EQ(form->HintCaption, c.caption);
            EXPECT_EQ(form->SeriesColor, graph->Series().GetSeries(c.index).Color());
            EXPECT_EQ(form->Bitmap()->Canvas()->Pixel(6, 40), ColorToRGB(form->SeriesColor));
        }
        ASSERT_EQ(updates.size(), 1u);
        const TPoint origin = graph->ClientOrigin();
        EXPECT_EQ(updates[0].x, origin.X);
        EXPECT_EQ(updates[0].y, origin.Y);
        EXPECT_EQ(updates[0].index, c.index);
        EXPECT_EQ(form->Left(), origin.X + c.x);
        EXPECT_EQ(form->Top(), origin.Y + c.y + GetSystemMetrics(SM_CYCURSOR) + 5);
        EXPECT_EQ(form->Width(), 80);
        EXPECT_EQ(form->Height(), 50);
        Release(mbLeft, c.x, c.y);
        EXPECT_FALSE(form->Visible());
    }
}

TEST_F(HintTest, HiddenSeriesAndLabelHandlersAreHonoured)
{
    graph->Series().GetSeries(0).SetVisible(false);
    graph->SetOnXLabeling([](TObject*, Extended v, std::string& s) { s = "x=" + std::to_string(int(v)); });
    graph->SetOnYLabeling([](TObject*, Extended v, std::string& s) { s = "y=" + std::to_string(int(v)); });
    graph->Paint();
    Press(mbLeft, 100, 49, ssShift);
    EXPECT_EQ(graph->HintForm()->XText, "x=100");
    EXPECT_EQ(graph->HintForm()->YText, "y=250");
    EXPECT_FALSE(graph->HintForm()->Found);
    Release(mbLeft, 100, 49);
}

TEST_F(HintTest, TheHintFollowsTheCursorHidesOutsideAndEndsAtTheRelease)
{
    int moves = 0, ups = 0;
    graph->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
    graph->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    Press(mbLeft, 100, 49, ssShift);
    plot::TEGHintForm* form = graph->HintForm();
    Move(200, 99, ssLeft | ssShift);
    EXPECT_EQ(form->XText, "200.0000");
    EXPECT_EQ(form->HintCaption, "x");
    EXPECT_EQ(updates.size(), 2u);
    Move(-5, 99, ssLeft | ssShift);  // out of the plot: hidden, the capture stays
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->XText, "200.0000");
    Move(100, 49, ssLeft | ssShift);
    EXPECT_EQ(form->XText, "100.0000");
    Release(mbLeft, 100, 49);
    EXPECT_FALSE(form->Visible());
    // The capture window took the moves and the release.
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(ups, 0);
    // Afterwards the control handles the mouse again.
    Drag(mbLeft, 50, 60, 150, 100);
    ExpectRect(graph->VisRect(), 50, 199, 150, 239);
    EXPECT_EQ(ups, 1);
}

TEST_F(HintTest, TheFormDrawsItsEdgesTextsAndSwatch)
{
    Press(mbLeft, 100, 49, ssShift);
    plot::TEGHintForm* form = graph->HintForm();
    TCanvas* c = form->Bitmap()->Canvas();
    const int W = form->Width(), H = form->Height();
    EXPECT_EQ(c->Pixel(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(c->Pixel(0, H - 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(c->Pixel(W - 1, H - 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c->Pixel(W - 1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c->Pixel(40, 28), ColorToRGB(clBtnFace));
    // The values end at column 75; the labels start at column 2.
    auto inked = [c](int l, int t, int r, int b) {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += COLORREF(c->Pixel(x, y)) != ColorToRGB(clBtnFace);
        return n;
    };
    EXPECT_GT(inked(2, 2, 12, 16), 0);    // "X:"
    EXPECT_GT(inked(2, 17, 12, 31), 0);   // "Y:"
    EXPECT_GT(inked(60, 2, 76, 16), 0);   // "100.0000"
    EXPECT_EQ(inked(76, 2, W - 1, 31), 0);
    // The swatch framed in black, filled with the series colour, and the caption.
    EXPECT_EQ(c->Pixel(3, 31), ColorToRGB(clBlack));
    EXPECT_EQ(c->Pixel(7, 40), RGB(200, 0, 0));
    EXPECT_GT(inked(13, 31, 76, H - 2), 0);
    Release(mbLeft, 100, 49);
}

TEST_F(HintTest, DestroyingTheControlWhileTheHintIsUp)
{
    Press(mbLeft, 100, 49, ssShift);
    ASSERT_EQ(GetCaptureControl(), graph);
    delete graph;
    graph = nullptr;
    EXPECT_EQ(GetCaptureControl(), nullptr);
    Move(120, 60, ssLeft | ssShift);
    SendMouse(host.get(), WM_LBUTTONUP, kLeft + 120, kTop + 60);
}

// ---- the zoom animation

TEST_F(InteractionTest, TheAnimationEndsOnTheTarget)
{
    graph->SetZoomTime(200);
    graph->SetVisRect(Rect2D(0, 0, 400, 300));
    visChanges = 0;
    Drag(mbLeft, 50, 60, 150, 100);
    ASSERT_NE(graph->ZoomThread(), nullptr);
    const TRect2D target = graph->ZoomThread()->TargetRect();
    ExpectRect(target, 50 * 400.0L / 399, 199 * 300.0L / 299, 150 * 400.0L / 399, 239 * 300.0L / 299);
    ASSERT_TRUE(ProcessUntil([this] { return graph->ZoomThread() == nullptr; }));
    ExpectRect(graph->VisRect(), target.x1, target.y1, target.x2, target.y2, 1e-12L);
    EXPECT_GE(visChanges, 1);
}

TEST_F(InteractionTest, PressesDuringTheAnimationOnlyRaiseMouseDown)
{
    graph->SetZoomTime(200);
    graph->SetVisRect(Rect2D(0, 0, 400, 300));
    Drag(mbRight, 100, 100, 100, 100, 0);  // zoom out, animated
    ASSERT_NE(graph->ZoomThread(), nullptr);
    mouseDowns = 0;
    Drag(mbLeft, 50, 60, 150, 100);
    Drag(mbRight, 100, 100, 100, 100, 0);
    Press(mbLeft, 100, 49, ssShift);
    Release(mbLeft, 100, 49);
    EXPECT_EQ(mouseDowns, 3);
    EXPECT_EQ(graph->HintForm()->Visible(), false);
    ASSERT_TRUE(ProcessUntil([this] { return graph->ZoomThread() == nullptr; }));
    ExpectRect(graph->VisRect(), -200, -150, 600, 450, 1e-12L);
}

TEST_F(InteractionTest, AStartTimePastTheZoomTimeGivesOneFrame)
{
    auto* z = new plot::TZoomThread(graph, graph->VisRect(), Rect2D(100, 100, 200, 200), 200, 250);
    ASSERT_TRUE(ProcessUntil([z] { return z->Finished(); }));
    EXPECT_EQ(visChanges, 1);
    ExpectRect(graph->VisRect(), 100, 100, 200, 200);
}

TEST_F(InteractionTest, FramesRunOnTheGuiThreadAndMoveTowardsTheTarget)
{
    std::vector<TRect2D> frames;
    graph->OnVisChange = [&](TObject*) { frames.push_back(graph->VisRect()); };
    auto* z = new plot::TZoomThread(graph, Rect2D(0, 0, 400, 300), Rect2D(100, 100, 200, 200), 200, 0);
    EXPECT_TRUE(frames.empty());  // nothing before the loop runs
    ASSERT_TRUE(ProcessUntil([z] { return z->Finished(); }));
    ASSERT_FALSE(frames.empty());
    for (std::size_t i = 1; i < frames.size(); ++i) {
        EXPECT_GE(frames[i].x1, frames[i - 1].x1);
        EXPECT_LE(frames[i].x2, frames[i - 1].x2);
    }
    ExpectRect(frames.back(), 100, 100, 200, 200);
}

TEST_F(InteractionTest, DestroyingTheControlStopsARunningAnimation)
{
    graph->SetZoomTime(100000);
    Drag(mbLeft, 50, 60, 150, 100);
    ASSERT_NE(graph->ZoomThread(), nullptr);
    delete graph;
    graph = nullptr;
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    SUCCEED();
}

TEST_F(InteractionTest, WithoutAnimationTheZoomIsOneStep)
{
    graph->SetZoomTime(0);
    Drag(mbLeft, 50, 60, 150, 100);
    EXPECT_EQ(graph->ZoomThread(), nullptr);
    EXPECT_EQ(visChanges, 1);
}

}  // namespace
