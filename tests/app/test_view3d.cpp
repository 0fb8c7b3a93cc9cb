// The 3D view's drawing, camera and mouse, in a GL context on a panel of its own.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "Hulls.h"
#include "app/View3D.h"
#include "base/FileUtils.h"
#include "platform/TestRig.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/OpenGL.h"
#include "support/TestSupport.h"

using namespace platform;
using app::TView3D;

namespace {

class View3DTest : public ::testing::Test {
protected:
    static constexpr int W = 400, H = 200;

    void SetUp() override
    {
        EnsurePlatform();
        // The hulls' logs go to the folder the test runs in: a scratch folder of its own.
        oldDir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        form = new TForm(nullptr);
        form->SetBounds(0, 0, W + 40, H + 40);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBevelOuter(bvNone);
        panel->SetBounds(0, 0, W, H);
        dc = GetDC(panel->Handle());
        PIXELFORMATDESCRIPTOR pfd;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.cColorBits = 24;
        pfd.cDepthBits = 32;
        ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
        rc = wglCreateContext(dc);
        ASSERT_NE(rc, nullptr);
        ASSERT_TRUE(wglMakeCurrent(dc, rc));
        view.InitOpenGL();
        view.SetProjection(W, H);
    }
    void TearDown() override
    {
        view.Release();
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(rc);
        ReleaseDC(panel->Handle(), dc);
        delete form;
        std::filesystem::current_path(oldDir);
    }
    // Draws the scene and counts the pixels of a colour (within a small tolerance).
    int Count(const core::Hullform& hull, int current, TColor colour, const char* snapshot = nullptr)
    {
        view.DrawScene(hull, current);
        SwapBuffers(dc);
        auto bmp = PaintToBitmap(panel);
        if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"); dir && snapshot)
            bmp->SaveToFile(std::string(dir) + "/" + snapshot + ".bmp");
        int n = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const COLORREF c = ColorToRGB(bmp->Canvas()->Pixel(x, y));
                const COLORREF want = ColorToRGB(colour);
                if (std::abs(GetRValue(c) - GetRValue(want)) < 40 && std::abs(GetGValue(c) - GetGValue(want)) < 40 &&
                    std::abs(GetBValue(c) - GetBValue(want)) < 40)
                    ++n;
            }
        return n;
    }
    double ProjectionXRange()
    {
        GLdouble m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        return 1 / m[0];  // half the width of the volume
    }

    testsupport::TempDir dir{"korvelo-view3d"};
    std::filesystem::path oldDir;
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    HDC dc = nullptr;
    HGLRC rc = nullptr;
    TView3D view;
};

}  // namespace

TEST_F(View3DTest, TheShorterSideSpansTwiceTheOrthoSizeOverTheZoom)
{
    view.SetProjection(400, 200);
    EXPECT_NEAR(ProjectionXRange(), 66.67, 0.01);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(1 / m[5], 33.33, 0.01);
    view.SetProjection(100, 300);
    EXPECT_NEAR(ProjectionXRange(), 33.33, 0.01);
    view.SetProjection(0, 0);  // taken as 1 by 1, no division by zero
    EXPECT_NEAR(ProjectionXRange(), 33.33, 0.01);
}

TEST_F(View3DTest, TheHullIsDrawnInItsColourWithTheRedBoxAndTheAxes)
{
    core::Hullform hull;
    // Its log is written in the test's scratch folder, not where the test binary runs.
    EXPECT_TRUE(base::FileExists(dir.file("Korvelo.log")));
    hulls::MakeBoxBarge(hull);
    hull.appendages[0].colour = 0x00FF0000;  // blue (BBGGRR)
    view.ShowAxis = false;
    const int blue = Count(hull, 0, clBlue, "view3d-barge");
    EXPECT_GT(blue, 100);
    const int red = Count(hull, 0, clRed);
    EXPECT_GT(red, 100);  // the hull box

    view.AllAppendagesMode = false;
    EXPECT_EQ(Count(hull, 0, clRed), 0);  // no box in single-appendage mode without a highlight
    view.SingleAppendageMode = true;
    EXPECT_GT(Count(hull, 0, clRed), 100);  // the current appendage's box
    view.ShowBoundingBoxes = false;
    EXPECT_EQ(Count(hull, 0, clRed), 0);

    view.ShowAxis = true;
    view.Zoom = 300;  // the arrows are 5 m long: close up
    view.SetProjection(W, H);
    core::Hullform empty;
    EXPECT_GT(Count(empty, 0, clLime, "view3d-axes"), 20);  // the green Y arrow
    view.ShowAxis = false;
    EXPECT_EQ(Count(empty, 0, clLime), 0);
}

TEST_F(View3DTest, CentreLineSegmentsFollowTheirSwitch)
{
    core::Hullform hull;
    hull.AddAppendage("Keel");
    core::Appendage& a = hull.appendages.back();
    a.frames.clear();
    for (int k = 0; k < 2; ++k) {
        const int j = a.AddSection("F", 10.0 * k);
        for (double z : {0.0, 1.0, 2.0, 3.0}) a.AddOffset(unsigned(j), 0.0, z);
    }
    a.colour = 0x000000FF;  // red
    view.ShowAxis = false;
    view.AllAppendagesMode = false;
    view.RotationX = 270;  // look along Y at the X-Z plane... seen edge on: turn a little
    view.RotationZ = 30;
    const int withLines = Count(hull, 0, clRed);
    view.ShowCLLines = false;
    const int closingOnly = Count(hull, 0, clRed);
    EXPECT_GT(withLines, 0);
    EXPECT_GT(closingOnly, 0);  // the closing segment stays
    EXPECT_LE(closingOnly, withLines);
}

TEST_F(View3DTest, MouseRotatesPansAndZooms)
{
    // Shift-drag: half the horizontal move, toward zero, limited to 0.01 .. 400.
    view.MouseMove(0, 100, 100, W, H);
    view.MouseDown(ssLeft | ssShift, 100, 100);
    view.MouseMove(ssLeft | ssShift, 101, 100, W, H);
    EXPECT_FLOAT_EQ(view.Zoom, 30);
    view.MouseMove(ssLeft | ssShift, 103, 100, W, H);
    EXPECT_FLOAT_EQ(view.Zoom, 29);
    view.MouseMove(ssLeft | ssShift, 1000, 100, W, H);
    EXPECT_FLOAT_EQ(view.Zoom, 0.01f);
    view.MouseMove(ssLeft | ssShift, 0, 100, W, H);
    EXPECT_FLOAT_EQ(view.Zoom, 400);
    view.MouseUp(0, 100, 0.5, W, H);  // not a click: moved far from the press
    EXPECT_FLOAT_EQ(view.Zoom, 400);

    // Rotation wraps past 359 and below -1.
    view.Zoom = 30;
    view.RotationX = 358.9f;
    view.MouseMove(0, 200, 200, W, H);
    view.MouseMove(ssLeft, 200, 199, W, H);  // dy = 1: +0.2
    EXPECT_FLOAT_EQ(view.RotationX, 0);
    view.RotationX = -0.9f;
    view.MouseMove(ssLeft, 200, 200, W, H);  // dy = -1: -0.2 -> -1.1
    EXPECT_FLOAT_EQ(view.RotationX, 359);

    // Right drag pans by the pixels over k = zoom * height * 0.27 / width.
    view.PanX = view.PanY = 0;
    view.MouseMove(ssRight, 190, 210, W, H);  // dx = 10, dy = -10
    const double k = 30 * (H * 0.27 / W);
    EXPECT_NEAR(view.PanX, -10 / k, 1e-4);
    EXPECT_NEAR(view.PanY, -10 / k, 1e-4);
}

TEST_F(View3DTest, ClicksZoomByTheFactorAndAFactorOfZeroChangesNothing)
{
    view.MouseDown(ssRight, 50, 50);
    view.MouseUp(51, 50, 2.0, W, H);  // 1 pixel: a click, zooms out
    EXPECT_FLOAT_EQ(view.Zoom, 15);
    view.MouseDown(ssLeft, 50, 50);
    view.MouseUp(50, 51, 2.0, W, H);  // left click zooms in
    EXPECT_FLOAT_EQ(view.Zoom, 30);
    view.MouseDown(ssRight, 50, 50);
    view.MouseUp(52, 50, 2.0, W, H);  // 2 pixels: no click
    EXPECT_FLOAT_EQ(view.Zoom, 30);
    for (double bad : {0.0, -1.0, std::nan("")}) {
        view.MouseDown(ssLeft, 50, 50);
        view.MouseUp(50, 50, bad, W, H);
        EXPECT_FLOAT_EQ(view.Zoom, 30);
    }
    view.Zoom = 5;
    view.RotationX = 10;
    view.PanX = 3;
    view.ResetCamera(W, H);
    EXPECT_FLOAT_EQ(view.Zoom, 30);
    EXPECT_FLOAT_EQ(view.RotationX, 300);
    EXPECT_FLOAT_EQ(view.RotationZ, 315);
    EXPECT_FLOAT_EQ(view.PanX, 0);
}

TEST(View3DHex, HexTextReadsUpToFourDigits)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"FF", 255}, {"0a", 10}, {"1234", 0x1234}, {"12345", 0x1234}, {"1g", 1}, {"", 0}, {"zz", 0}};
    for (const Case& c : cases) EXPECT_EQ(TView3D::HexTextToInt(c.text), c.value) << c.text;
}

namespace {

// Pixels that are not the white background, along each edge of the picture and in all.
struct Ink {
    int total = 0, edges = 0;
};

}  // namespace

TEST_F(View3DTest, ZoomAllShowsAScaledHullWholeAndADragNeverLosesIt)
{
    view.ShowAxis = false;
    auto ink = [&](const core::Hullform& hull, const char* snapshot) {
        view.DrawScene(hull, 0);
        SwapBuffers(dc);
        auto bmp = PaintToBitmap(panel);
        if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"); dir && snapshot)
            bmp->SaveToFile(std::string(dir) + "/" + snapshot + ".bmp");
        Ink n;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const COLORREF c = ColorToRGB(bmp->Canvas()->Pixel(x, y));
                if (GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) > 230) continue;
                ++n.total;
                if (x < 2 || y < 2 || x >= W - 2 || y >= H - 2) ++n.edges;
            }
        return n;
    };
    struct Case {
        double scale;
        bool startZoom;  // small enough for the start zoom of 30
    } cases[] = {{1, true}, {8, false}, {40, false}};
    for (const Case& c : cases) {
        core::Hullform hull;
        hulls::MakeBoxBarge(hull);
        ASSERT_TRUE(hull.Scale(c.scale, c.scale, c.scale));
        view.SetScene(hull);
        view.ResetCamera(W, H);
        if (c.startZoom) EXPECT_FLOAT_EQ(view.Zoom, 30) << c.scale;
        else EXPECT_LT(view.Zoom, 30) << c.scale;
        const Ink all = ink(hull, c.scale == 8 ? "view3d-zoomall-x8" : nullptr);
        EXPECT_GT(all.total, 300) << c.scale;
        EXPECT_EQ(all.edges, 0) << c.scale;  // nothing cut off at any side

        // Right drags far beyond the panel, each way: part of the hull stays on it.
        for (auto [dx, dy] : {std::pair{3000, 0}, {-3000, 0}, {0, 3000}, {0, -3000}}) {
            view.ResetCamera(W, H);
            view.MouseMove(0, 200, 100, W, H);
            view.MouseDown(ssRight, 200, 100);
            view.MouseMove(ssRight, 200 + dx, 100 + dy, W, H);
            view.MouseUp(200 + dx, 100 + dy, 1.5, W, H);
            EXPECT_GT(ink(hull, nullptr).total, 50) << c.scale << " " << dx << "," << dy;
        }
    }
}
