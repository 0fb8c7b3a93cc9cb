// The 2D views: drawing the hull, zoom, point editing in the body plan, saving
// a view and the reference image under the body plan.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ViewsFixture.h"
#include "app/ModelEdits.h"
#include "app/OffsetsTable.h"
#include "app/RefImageForm.h"
#include "app/ViewGeometry.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Thread.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/edit/MoneyEdit.h"
#include "widgets/plot/PlotGraph.h"

using namespace platform;

namespace {

constexpr TColor kRed = 0x0000FF, kGrey = 0x808080;

// Renders the view off screen; the number of pixels of colour c in it.
int Count(plot::TPlotGraph* v, TColor c)
{
    v->Render(nullptr);
    TBitmap& b = *v->Bitmap();
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixel(x, y) == c) ++n;
    return n;
}

// With KORVELO_SNAPSHOTS set, the view's picture goes there for a look.
void Snapshot(plot::TPlotGraph* v, const std::string& name)
{
    v->Render(nullptr);
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"))
        v->Bitmap()->SaveToFile(std::string(dir) + "/" + name + ".bmp");
}

}  // namespace

TEST(ViewGeometry, ZoomBoxesKeepTheGeometryInside)
{
    struct Case {
        double lo, hi;
        bool all;
        double x1, x2;
    } cases[] = {
        {0, 2, true, -0.15, 2.15},  // positive minimums are no longer cut off
        {-4, -2, true, -4.15, -1.85},
        {1, 2, false, 0.975, 2.025},
        {-5, 5, false, -5.25, 5.25},
    };
    for (const Case& c : cases) {
        const plot::TRect2D r = c.all ? app::ZoomAllBox(c.lo, c.hi, c.lo, c.hi) : app::ZoomBox(c.lo, c.hi, c.lo, c.hi);
        EXPECT_NEAR(double(r.x1), c.x1, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(double(r.x2), c.x2, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_LE(double(r.x1), c.lo);
        EXPECT_GE(double(r.x2), c.hi);
    }
    // All offsets at one point: 0.01 by 0.01 from the corner.
    const plot::TRect2D p = app::ZoomBox(3, 3, 1, 1);
    EXPECT_NEAR(double(p.x1), 3, 1e-12);
    EXPECT_NEAR(double(p.x2), 3.01, 1e-12);
    EXPECT_NEAR(double(p.y2), 1.01, 1e-12);
}

TEST(ViewGeometry, FileNamesTextsCornersAndSteps)
{
    EXPECT_EQ(app::ViewFileName("plan"), "plan.bmp");
    EXPECT_EQ(app::ViewFileName("plan.bmp"), "plan.bmp");
    EXPECT_EQ(app::ViewFileName("plan.BMP"), "plan.BMP");
    EXPECT_EQ(app::ViewFileName("plan.png"), "plan.png.bmp");
    EXPECT_EQ(app::CursorText(app::vkBodyPlan, true, 1.5, -2), "X: 1.500m, Y: 0.000m, Z: -2.000m");
    EXPECT_EQ(app::CursorText(app::vkSide, true, 12, 3.25), "X: 0.000m, Y: 12.000m, Z: 3.250m");
    EXPECT_EQ(app::CursorText(app::vkPlan, true, 12, 3.25), "X: 3.250m, Y: 12.000m, Z: 0.000m");
    EXPECT_EQ(app::CursorText(app::vkPlan, false, 12, 3.25), "X: 0.000m, Y: 0.000m, Z: 0.000m");
    const app::RefCorners c = app::ImportCorners(400, 300);
    EXPECT_EQ(c.x1, -10);
    EXPECT_EQ(c.x2, 10);
    EXPECT_EQ(c.z1, 0);
    EXPECT_EQ(c.z2, 15);
    double v = 7;
    for (const char* bad : {"0", "0.000", "", "abc", "-1"}) {
        EXPECT_FALSE(app::ReadPositive(bad, v)) << bad;
        EXPECT_EQ(v, 7);
    }
    EXPECT_TRUE(app::ReadPositive("0.25", v));
    EXPECT_EQ(v, 0.25);
}

class ViewsTest : public HullViewsTest {
protected:
    core::Section& Frame(int j) { return main->Hull.appendages[0].frames[j]; }
    // A press on the body plan at the world point (x, z).
    void Press(TMouseButton b, TShiftState s, double x, double z)
    {
        plot::TPlotGraph* v = main->SectionView;
        v->Render(nullptr);
        const int px = v->WorldToPixelX(x), py = v->WorldToPixelY(z);
        v->MouseDown(b, s, px, py);
        v->MouseUp(b, s, px, py);
    }
    void EditFrame(int j, int point)
    {
        main->ModelInspector->SetActivePageIndex(2);
        main->CurrentAppendage = 0;
        main->CurrentFrame = j;
        main->CurrentPoint = point;
        main->DrawBodyPlan();
        main->SectionView->SetVisRect(plot::Rect2D(-8, -2, 8, 6));
    }
};

TEST_F(ViewsTest, AllViewsDrawTheHullAndOneAppendageHasItsFrameRed)
{
    const TColor blue = 0xFF0000;
    main->DrawAllViews();
    main->ZoomAll1Click(nullptr);
    Snapshot(main->SideView, "all-side");
    // Red there is only that of the axes.
    int axisRed[3], k = 0;
    for (plot::TPlotGraph* v : {main->SectionView, main->SideView, main->PlanView}) {
        EXPECT_GT(Count(v, blue), 50) << v->Name();
        axisRed[k++] = Count(v, kRed);
    }
    EXPECT_EQ(main->SideView->Series().GetSeries(0).Count(), 2 * 11 + 2);

    main->ShowAppendageInViews(0, 3);
    Snapshot(main->SideView, "one-side");
    Snapshot(main->SectionView, "one-body");
    // The side and plan mark frame 3 (Y = 9 m) with a red line across the hull.
    k = 1;
    for (plot::TPlotGraph* v : {main->SideView, main->PlanView}) {
        ASSERT_EQ(v->Series().Count(), 2);
        EXPECT_GT(Count(v, kRed), axisRed[k++] + 10) << v->Name();
        const int col = v->WorldToPixelX(9);
        v->Render(nullptr);
        EXPECT_EQ(v->Bitmap()->Canvas()->Pixel(col, v->WorldToPixelY(v == main->SideView ? 2 : 0)), kRed);
    }
    // The body plan draws every frame on top of each other: the last drawn is
    // blue.
    EXPECT_EQ(main->SectionView->Series().GetSeries(3).Color(), kRed);
    EXPECT_EQ(main->SectionView->Series().GetSeries(2).Color(), blue);

    // Inactive appendages stay out of the drawing of all appendages.
    main->Hull.appendages[0].active = false;
    main->DrawAllViews();
    EXPECT_EQ(main->SectionView->Series().Count() + main->SideView->Series().Count(), 0);
}

TEST_F(ViewsTest, BodyPlanShowsTheCurrentFrameRedAndCheckedFramesGrey)
{
    // Frame 2 narrower, so that it shows beside frame 5.
    Frame(2).Scale(0.5, 0.5);
    Frame(2).checked = true;
    main->ModelInspector->SetActivePageIndex(1);
    main->CurrentAppendage = 0;
    main->CurrentFrame = 5;
    main->ShowIndex1->SetChecked(false);
    main->DrawBodyPlan();
    main->SectionView->SetVisRect(plot::Rect2D(-8, -2, 8, 6));
    Snapshot(main->SectionView, "bodyplan");
    ASSERT_EQ(main->SectionView->Series().Count(), 2);
    EXPECT_GT(Count(main->SectionView, kGrey), 20);
    EXPECT_GT(Count(main->SectionView, kRed), 100);
    const auto& cur = main->SectionView->Series().GetSeries(1);
    EXPECT_EQ(cur.Count(), int(Frame(5).GetOffsetCount()) + 1);
    EXPECT_EQ(cur.DrawStyle(), plot::dsLines);
    // "Show Index" numbers the points of the current frame.
    main->ShowIndex1->Click();
    EXPECT_EQ(main->SectionView->Series().GetSeries(1).DrawStyle(), plot::dsNumber);
}

TEST_F(ViewsTest, MouseEditsPointsInTheBodyPlan)
{
    EditFrame(4, 0);
    const unsigned n = Frame(4).GetOffsetCount();
    // Ctrl+left: a new point after the current one.
    Press(mbLeft, ssCtrl, 2, 1);
    ASSERT_EQ(Frame(4).GetOffsetCount(), n + 1);
    EXPECT_NEAR(Frame(4).GetX(1), 2, 0.1);
    EXPECT_NEAR(Frame(4).GetZ(1), 1, 0.1);
    EXPECT_EQ(main->CurrentPoint, 1);  // the highlighted new point is the current one
    EXPECT_EQ(main->OffsetGrid->GetRowEx(), 2);  // the table's row of the new point
    EXPECT_TRUE(main->Modified());
    // With the last point current it is appended.
    main->CurrentPoint = int(n);
    Press(mbLeft, ssCtrl, -3, 2);
    ASSERT_EQ(Frame(4).GetOffsetCount(), n + 2);
    EXPECT_NEAR(Frame(4).GetX(n + 1), -3, 0.1);
    // Shift+left moves the current point; Ctrl+Shift does both.
    main->CurrentPoint = 0;
    Press(mbLeft, ssShift, -1, 0.5);
    EXPECT_NEAR(Frame(4).GetX(0), -1, 0.1);
    EXPECT_NEAR(Frame(4).GetZ(0), 0.5, 0.1);
    EXPECT_EQ(Frame(4).GetOffsetCount(), n + 2);
    // Ctrl+right picks the nearest point.
    Press(mbRight, ssCtrl, 2.1, 1.1);
    EXPECT_EQ(main->CurrentPoint, 1);
    EXPECT_EQ(main->OffsetGrid->GetRowEx(), 2);
    // The body plan shows the new outline and its first point again.
    EXPECT_EQ(main->SectionView->Series().GetSeries(main->SectionView->Series().Count() - 1).Count(), int(n) + 3);
    // A plain right click still zooms out on the Offsets page; an editing one does not.
    const plot::TRect2D before = main->SectionView->VisRect();
    Press(mbRight, ssCtrl, 2.1, 1.1);
    EXPECT_EQ(main->SectionView->VisRect().x1, before.x1);
    Press(mbRight, 0, 2.1, 1.1);
    // The zoom runs as an animation of its own.
    for (int k = 0; k < 200 && main->SectionView->VisRect().x1 >= before.x1; ++k) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_LT(main->SectionView->VisRect().x1, before.x1);
    // With the Frames page showing nothing is edited.
    main->ModelInspector->SetActivePageIndex(1);
    Press(mbLeft, ssCtrl, 1, 1);
    EXPECT_EQ(Frame(4).GetOffsetCount(), n + 2);
}

// An edit the model refuses shows the model's reason and leaves the frame, the current
// point and the modified flag as they were.
TEST_F(ViewsTest, ARefusedPointEditShowsTheReasonAndChangesNothing)
{
    std::vector<app::PointEdit> asked;
    main->EditPoint = [&](core::Section&, const app::PointEdit& e) {
        asked.push_back(e);
        return core::Result::Failure("The frame is locked");
    };
    EditFrame(4, 1);
    ASSERT_FALSE(main->Modified());
    const std::vector<double> xs = Frame(4).X, zs = Frame(4).Z;
    const std::string add = "Could not add a point at X=", move = "Could not move the point to X=";
    struct Case {
        const char* what;
        TShiftState shift;
        std::vector<app::PointEdit::Kind> kinds;
        std::vector<std::string> boxes;  // how each box starts
    };
    const Case cases[] = {
        {"add", ssCtrl, {app::PointEdit::kInsertAfter}, {add}},
        {"move", ssShift, {app::PointEdit::kMove}, {move}},
        {"add and move", ssCtrl | ssShift, {app::PointEdit::kInsertAfter, app::PointEdit::kMove}, {add, move}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        asked.clear();
        Press(mbLeft, c.shift, 2, 1);
        ASSERT_EQ(asked.size(), c.kinds.size());
        ASSERT_EQ(boxes.size(), c.boxes.size());
        for (std::size_t k = 0; k < asked.size(); ++k) {
            EXPECT_EQ(asked[k].kind, c.kinds[k]);
            EXPECT_EQ(asked[k].point, 1u);
            EXPECT_NEAR(asked[k].x, 2, 0.1);
            EXPECT_NEAR(asked[k].z, 1, 0.1);
            EXPECT_EQ(boxes[k].rfind(c.boxes[k], 0), 0u) << boxes[k];
            const std::string reason = ":\nThe frame is locked";
            ASSERT_GE(boxes[k].size(), reason.size());
            EXPECT_EQ(boxes[k].substr(boxes[k].size() - reason.size()), reason);
        }
        EXPECT_EQ(Frame(4).X, xs);
        EXPECT_EQ(Frame(4).Z, zs);
        EXPECT_EQ(main->CurrentPoint, 1);
        EXPECT_FALSE(main->Modified());
    }
}

// A press beside the plot, on its scales, is at no point of the frame's plane: it edits
// nothing.
TEST_F(ViewsTest, APressBesideThePlotEditsNothing)
{
    EditFrame(4, 0);
    const std::vector<double> xs = Frame(4).X, zs = Frame(4).Z;
    plot::TPlotGraph* v = main->SectionView;
    v->Render(nullptr);
    const TRect r = v->PlotRect();
    ASSERT_GT(r.Left, 2);
    for (TShiftState s : {TShiftState(ssCtrl), TShiftState(ssShift), TShiftState(ssCtrl | ssShift)}) {
        v->MouseDown(mbLeft, s, r.Left - 2, (r.Top + r.Bottom) / 2);
        v->MouseUp(mbLeft, s, r.Left - 2, (r.Top + r.Bottom) / 2);
    }
    EXPECT_EQ(Frame(4).X, xs);
    EXPECT_EQ(Frame(4).Z, zs);
    EXPECT_FALSE(main->Modified());
    EXPECT_TRUE(boxes.empty());
}

// The body plan's edits on a frame: wholly made, or refused with the frame as it was.
TEST(PointEdits, MadeWhollyOrNotAtAll)
{
    const double nan = std::nan("");
    auto frame = [] {
        core::Section f;
        for (auto [x, z] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}}) f.AddOffset(x, z);
        return f;
    };
    auto edit = [](app::PointEdit::Kind kind, unsigned point, double x, double z, bool snap = false) {
        app::PointEdit e;
        e.kind = kind;
        e.point = point;
        e.x = x;
        e.z = z;
        e.snap = snap;
        e.xStep = 0.5;
        e.zStep = 0.25;
        return e;
    };
    using K = app::PointEdit;
    struct Case {
        const char* what;
        app::PointEdit e;
        bool done;
        std::vector<double> X, Z;
    };
    const Case cases[] = {
        {"insert after the first", edit(K::kInsertAfter, 0, 2, 3), true, {0, 2, 1, 1}, {0, 3, 0, 1}},
        {"after the last: added", edit(K::kInsertAfter, 2, 2, 3), true, {0, 1, 1, 2}, {0, 0, 1, 3}},
        {"insert snapped", edit(K::kInsertAfter, 0, 1.3, 0.62, true), true, {0, 1.5, 1, 1}, {0, 0.5, 0, 1}},
        {"move", edit(K::kMove, 1, 4, 5), true, {0, 4, 1}, {0, 5, 1}},
        {"move snapped", edit(K::kMove, 1, 1.3, 0.62, true), true, {0, 1.5, 1}, {0, 0.5, 1}},
        {"insert no number", edit(K::kInsertAfter, 0, nan, 1), false, {0, 1, 1}, {0, 0, 1}},
        {"add no number", edit(K::kInsertAfter, 2, 1, nan), false, {0, 1, 1}, {0, 0, 1}},
        {"move X no number", edit(K::kMove, 1, nan, 5), false, {0, 1, 1}, {0, 0, 1}},
        // Z refused after X was taken: the point is not left half moved.
        {"move Z no number", edit(K::kMove, 1, 4, nan), false, {0, 1, 1}, {0, 0, 1}},
        {"move no such point", edit(K::kMove, 3, 4, 5), false, {0, 1, 1}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        core::Section f = frame();
        EXPECT_EQ(bool(app::ApplyPointEdit(f, c.e)), c.done);
        EXPECT_EQ(f.X, c.X);
        EXPECT_EQ(f.Z, c.Z);
        EXPECT_EQ(f.GetMaxX(), *std::max_element(c.X.begin(), c.X.end()));
        EXPECT_EQ(f.GetMaxZ(), *std::max_element(c.Z.begin(), c.Z.end()));
    }
}

// The point highlighted after Ctrl+click is the one Shift+click moves; Ctrl+Shift inserts
// after the current point and moves that point itself.
TEST_F(ViewsTest, ShiftClickMovesThePointAddedLast)
{
    EditFrame(4, 0);
    const unsigned n = Frame(4).GetOffsetCount();
    const double x0 = Frame(4).GetX(0), z0 = Frame(4).GetZ(0);
    Press(mbLeft, ssCtrl, 2, 1);
    Press(mbLeft, ssShift, 2.5, 1.5);
    ASSERT_EQ(Frame(4).GetOffsetCount(), n + 1);
    EXPECT_NEAR(Frame(4).GetX(1), 2.5, 0.1);
    EXPECT_NEAR(Frame(4).GetZ(1), 1.5, 0.1);
    EXPECT_DOUBLE_EQ(Frame(4).GetX(0), x0);
    EXPECT_DOUBLE_EQ(Frame(4).GetZ(0), z0);
    EXPECT_EQ(main->OffsetGrid->GetRowEx(), 2);
    // Ctrl+Shift: a point after point 1, then point 1 moved to the click.
    Press(mbLeft, ssCtrl | ssShift, 3, 2);
    ASSERT_EQ(Frame(4).GetOffsetCount(), n + 2);
    EXPECT_NEAR(Frame(4).GetX(1), 3, 0.1);
    EXPECT_NEAR(Frame(4).GetX(2), 3, 0.1);
    EXPECT_EQ(main->CurrentPoint, 1);
    EXPECT_EQ(main->OffsetGrid->GetRowEx(), 2);
}

TEST_F(ViewsTest, SnapRoundsToTheStepsAndRefusesAStepOfZero)
{
    EditFrame(4, 0);
    const unsigned n = Frame(4).GetOffsetCount();
    app::PrefForm->XSnapEdit->SetFloat(0.5);
    app::PrefForm->ZSnapEdit->SetFloat(0.25);
    main->SnapOffset1->Click();
    ASSERT_TRUE(main->SnapOffset1->Checked());
    Press(mbLeft, ssShift, 1.37, 0.62);
    EXPECT_DOUBLE_EQ(Frame(4).GetX(0), 1.5);
    EXPECT_DOUBLE_EQ(Frame(4).GetZ(0), 0.5);
    EXPECT_TRUE(boxes.empty());
    // A step of 0 (or no number) is refused and the last good one kept; no NaN
    // offsets.
    app::PrefForm->XSnapEdit->SetText("0");
    Press(mbLeft, ssCtrl, 2.2, 1.1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("X Snap"), std::string::npos);
    EXPECT_DOUBLE_EQ(app::PrefForm->XSnapEdit->GetFloat(), 0.5);
    ASSERT_EQ(Frame(4).GetOffsetCount(), n + 1);
    for (unsigned k = 0; k < Frame(4).GetOffsetCount(); ++k) EXPECT_TRUE(std::isfinite(Frame(4).GetX(k)));
    EXPECT_DOUBLE_EQ(Frame(4).GetX(1), 2.0);
    EXPECT_DOUBLE_EQ(Frame(4).GetZ(1), 1.0);
    app::PrefForm->ZSnapEdit->SetText("none");
    Press(mbLeft, ssShift, 0.9, 0.9);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].find("Z Snap"), std::string::npos);
    // The point added by the Ctrl+click is the current one: it is the one moved.
    EXPECT_DOUBLE_EQ(Frame(4).GetX(1), 1.0);
    EXPECT_DOUBLE_EQ(Frame(4).GetZ(1), 1.0);
}

TEST_F(ViewsTest, ZoomCommands)
{
    main->DrawAllViews();
    main->ZoomAll1Click(nullptr);
    // Box barge: X -5..5, Y 0..30, Z 0..4; the whole hull is in every view.
    auto inside = [](plot::TPlotGraph* v, double h1, double h2, double v1, double v2) {
        const plot::TRect2D& r = v->VisRect();
        EXPECT_LT(double(r.x1), h1) << v->Name();
        EXPECT_GT(double(r.x2), h2) << v->Name();
        EXPECT_LT(double(r.y1), v1) << v->Name();
        EXPECT_GT(double(r.y2), v2) << v->Name();
    };
    inside(main->SectionView, -5, 5, 0, 4);
    inside(main->SideView, 0, 30, 0, 4);
    inside(main->PlanView, 0, 30, -5, 5);
    Snapshot(main->PlanView, "zoomall-plan");

    Frame(6).Scale(0.2, 0.2);
    main->CurrentFrame = 6;
    main->ZoomActiveFrame1Click(nullptr);
    const plot::TRect2D f = main->SectionView->VisRect();
    EXPECT_LT(double(f.x2 - f.x1), 3);
    EXPECT_GE(double(f.x2), 1);
    main->ZoomActiveAppendage1Click(nullptr);
    inside(main->SectionView, -5, 5, 0, 4);
    // The tool button follows the inspector's page.
    main->ModelInspector->SetActivePageIndex(2);
    main->FitViewsBtn->Click();
    EXPECT_LT(double(main->SectionView->VisRect().x2 - main->SectionView->VisRect().x1), 3);
}

TEST_F(ViewsTest, CursorPositionInTheStatusBar)
{
    main->SectionView->SetVisRect(plot::Rect2D(-8, -2, 8, 6));
    plot::TPlotGraph* v = main->SectionView;
    v->Render(nullptr);
    v->MouseMove(0, v->WorldToPixelX(2), v->WorldToPixelY(1));
    const std::string text = main->StatusBar->Panels().Items(4)->Text();
    EXPECT_EQ(text.substr(0, 3), "X: ");
    EXPECT_NE(text.find("m, Y: 0.000m, Z: "), std::string::npos) << text;
    v->MouseMove(0, 0, 0);
    EXPECT_EQ(main->StatusBar->Panels().Items(4)->Text(), "X: 0.000m, Y: 0.000m, Z: 0.000m");
}

TEST_F(ViewsTest, SaveViewWritesBmpFilesThatImageMagickReads)
{
    REQUIRE_TOOL("identify", "imagemagick");
    main->DrawAllViews();
    main->ZoomAll1Click(nullptr);
    struct Case {
        TMenuItem* item;
        std::string chosen, written, title;
    } cases[] = {
        {main->SaveBodyPlan1, dir.file("body"), dir.file("body.bmp"), "Save Section View"},
        {main->SavePlan1, dir.file("plan.bmp"), dir.file("plan.bmp"), "Save Plan View"},
        {main->SaveSide1, dir.file("side"), dir.file("side.bmp"), "Save Side View"},
    };
    for (const Case& c : cases) {
        AnswerDialog(c.chosen);
        c.item->Click();
        ASSERT_FALSE(dialogs.empty());
        EXPECT_EQ(dialogs.back(), c.title);
        ASSERT_TRUE(std::filesystem::exists(c.written)) << c.written;
        EXPECT_FALSE(std::filesystem::exists(c.written + ".bmp"));
        int rc = -1;
        const std::string out = testsupport::RunCapture("identify -format '%m %w' '" + c.written + "'", &rc);
        EXPECT_EQ(rc, 0) << out;
        EXPECT_EQ(out.substr(0, 4), "BMP3") << out;
    }
    // Another file type, or a cancel, writes nothing.
    AnswerDialog(dir.file("other"), 2);
    main->SaveSide1->Click();
    CancelDialog();
    main->SaveSide1->Click();
    EXPECT_FALSE(std::filesystem::exists(dir.file("other.bmp")));
}

// A PNG (as JPEG and GIF, which the import window offers too) shows under the body plan;
// a picture that cannot be shown any more says why at Update.
TEST_F(ViewsTest, PngReferenceImageShowsAndAFailureSaysWhy)
{
    REQUIRE_TOOL("convert", "imagemagick");
    const std::string file = dir.file("ref.png");
    ASSERT_EQ(std::system(("convert -size 400x300 xc:'#00FF00' '" + file + "'").c_str()), 0);
    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.OnTimer = [&closer](TObject*) {
        closer.SetEnabled(false);
        app::MainForm->ImportRefForm->CloseBtn->Click();
    };
    closer.SetEnabled(true);
    main->ImportRefImage1->Click();
    app::TImportRefForm* f = main->ImportRefForm;
    ASSERT_NE(f, nullptr);
    AnswerDialog(file);
    f->ImportBtn->Click();
    ASSERT_TRUE(f->PictureLoaded());
    f->UpdateBtn->Click();
    EXPECT_TRUE(boxes.empty());
    plot::TPlotGraph* v = main->SectionView;
    v->SetVisRect(plot::Rect2D(-20, -5, 20, 25));
    v->Render(nullptr);
    EXPECT_EQ(v->Bitmap()->Canvas()->Pixel(v->WorldToPixelX(2), v->WorldToPixelY(7)), clLime);

    { std::ofstream(file, std::ios::trunc) << "no longer a picture"; }
    f->UpdateBtn->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("The reference image cannot be shown."), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("Invalid graphic format"), std::string::npos) << boxes[0];
    v->Render(nullptr);
    EXPECT_NE(v->Bitmap()->Canvas()->Pixel(v->WorldToPixelX(2), v->WorldToPixelY(7)), clLime);
}

TEST_F(ViewsTest, ReferenceImageLiesUnderTheBodyPlan)
{
    // A 400 x 300 picture, all green.
    TBitmap pic;
    pic.SetSize(400, 300);
    pic.Canvas()->Brush().SetColor(clLime);
    pic.Canvas()->FillRect(TRect{0, 0, 400, 300});
    const std::string file = dir.file("ref.bmp");
    pic.SaveToFile(file);

    TTimer closer(nullptr);
    closer.SetInterval(50);
    closer.OnTimer = [&closer](TObject*) {
        closer.SetEnabled(false);
        app::TImportRefForm* f = app::MainForm->ImportRefForm;
        f->CloseBtn->Click();
    };
    closer.SetEnabled(true);
    main->ImportRefImage1->Click();
    app::TImportRefForm* f = main->ImportRefForm;
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Caption(), "Import Reference Graphic");
    EXPECT_FALSE(f->PictureLoaded());
    // "Update" before a picture is loaded does nothing.
    f->UpdateBtn->Click();
    EXPECT_EQ(main->SectionView->BgStyle(), plot::bgsSolid);

    AnswerDialog(file);
    f->ImportBtn->Click();
    EXPECT_TRUE(f->PictureLoaded());
    EXPECT_EQ(f->X1Edit->Text(), "-10.00 m");
    EXPECT_EQ(f->X2Edit->Text(), "10.00 m");
    EXPECT_EQ(f->Y1Edit->Text(), "0.00 m");
    EXPECT_EQ(f->Y2Edit->Text(), "15.00 m");
    f->UpdateBtn->Click();
    plot::TPlotGraph* v = main->SectionView;
    EXPECT_EQ(v->BgStyle(), plot::bgsImageMap);
    EXPECT_NEAR(double(v->BgImageRect().x1), -10, 1e-6);
    EXPECT_NEAR(double(v->BgImageRect().y2), 15, 1e-6);
    v->SetVisRect(plot::Rect2D(-20, -5, 20, 25));
    Snapshot(v, "refimage");
    v->Render(nullptr);
    TCanvas& c = *v->Bitmap()->Canvas();
    EXPECT_EQ(c.Pixel(v->WorldToPixelX(2), v->WorldToPixelY(7)), clLime);
    EXPECT_NE(c.Pixel(v->WorldToPixelX(15), v->WorldToPixelY(7)), clLime);
    EXPECT_NE(c.Pixel(v->WorldToPixelX(2), v->WorldToPixelY(20)), clLime);

    // A corner edit left with "Dynamic Update" moves the picture at once.
    f->X2Edit->SetFloat(18);
    f->X1EditExit(f->X2Edit);
    EXPECT_NEAR(double(v->BgImageRect().x2), 18, 1e-6);
    v->Render(nullptr);
    EXPECT_EQ(v->Bitmap()->Canvas()->Pixel(v->WorldToPixelX(15), v->WorldToPixelY(7)), clLime);

    main->ClearRefImage1->Click();
    EXPECT_EQ(v->BgStyle(), plot::bgsSolid);
    v->Render(nullptr);
    EXPECT_NE(v->Bitmap()->Canvas()->Pixel(v->WorldToPixelX(2), v->WorldToPixelY(7)), clLime);
}
