// The 3D view in the main window: drawn when the message queue empties, driven
// by the panel's mouse, reset by "Zoom All", switched by the preferences.
#include <cstdlib>

#include "ViewsFixture.h"
#include "app/View3D.h"
#include "platform/controls/ComCtrls.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Thread.h"
#include "widgets/edit/ExEdit.h"

using namespace platform;

namespace {

class Main3DTest : public HullViewsTest {
protected:
    void SetUp() override
    {
        HullViewsTest::SetUp();
        main->RefreshAll();
        ASSERT_NE(main->hRC, nullptr);
    }
    // The panel's picture after an idle pass.
    std::unique_ptr<TBitmap> Picture(const char* snapshot = nullptr)
    {
        bool done = true;
        main->RenderOnIdle(nullptr, done);
        auto bmp = PaintToBitmap(main->OpenGLPanel);
        if (const char* dir = std::getenv("KORVELO_SNAPSHOTS"); dir && snapshot)
            bmp->SaveToFile(std::string(dir) + "/" + snapshot + ".bmp");
        return bmp;
    }
    // Pixels whose channel (0 red, 1 green, 2 blue) stands clearly above the
    // other two: the lit lines are darker than their colour.
    static int Count(TBitmap& b, int channel)
    {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const COLORREF c = ColorToRGB(b.Canvas()->Pixel(x, y));
                const int v[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
                if (v[channel] > v[(channel + 1) % 3] + 60 && v[channel] > v[(channel + 2) % 3] + 60) ++n;
            }
        return n;
    }
    static int Differing(TBitmap& a, TBitmap& b)
    {
        int n = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.Canvas()->Pixel(x, y) != b.Canvas()->Pixel(x, y)) ++n;
        return n;
    }
    void Drag(TMouseButton button, TShiftState shift, int dx, int dy)
    {
        TPanel* p = main->OpenGLPanel;
        const int x = p->ClientWidth() / 2, y = p->ClientHeight() / 2;
        p->OnMouseDown(p, button, shift, x, y);
        p->OnMouseMove(p, shift, x, y);
        p->OnMouseMove(p, shift, x + dx, y + dy);
        p->OnMouseUp(p, button, shift, x + dx, y + dy);
    }
};

}  // namespace

TEST_F(Main3DTest, IdlePassDrawsTheHullBoxAndAxes)
{
    auto b = Picture("main3d-start");
    EXPECT_GT(Count(*b, 2), 300);  // the frames (and the Z arrow)
    EXPECT_GT(Count(*b, 0), 300);  // the hull box (and the X arrow)
    // Near the origin the green Y arrow shows, and goes without axes.
    main->View3D->Zoom = 200;
    main->SetProjection3D();
    b = Picture("main3d-axes");
    EXPECT_GT(Count(*b, 1), 100);
    main->ShowAxis = false;
    b = Picture();
    EXPECT_LT(Count(*b, 1), 3);
}

TEST_F(Main3DTest, MouseTurnsPansAndZoomsAndZoomAllResets)
{
    auto start = Picture();
    app::TView3D& v = *main->View3D;
    struct Case {
        TMouseButton button;
        TShiftState shift;
        int dx, dy;
        const char* what;
    } cases[] = {
        {mbLeft, ssLeft, 40, 25, "rotate"},
        {mbRight, ssRight, 30, -20, "pan"},
        {mbLeft, ssLeft | ssShift, -20, 0, "drag zoom"},
        {mbLeft, ssLeft, 1, 0, "click zoom in"},
        {mbRight, ssRight, 0, 1, "click zoom out"},
    };
    for (const Case& c : cases) {
        main->FitViewsBtnClick(nullptr);
        auto before = Picture();
        EXPECT_EQ(Differing(*start, *before), 0) << c.what;
        Drag(c.button, c.shift, c.dx, c.dy);
        auto after = Picture(c.what);
        EXPECT_GT(Differing(*before, *after), 100) << c.what;
    }
    // The last click zoomed out by the preferences' factor.
    EXPECT_NEAR(v.Zoom, 30 / 1.5, 1e-4);
    main->FitViewsBtn->Click();
    EXPECT_EQ(v.Zoom, 30);
    EXPECT_EQ(v.RotationX, 300);
    EXPECT_EQ(v.RotationZ, 315);
    EXPECT_EQ(v.PanX, 0);
}

TEST_F(Main3DTest, AZoomFactorOfZeroIsRefusedAndTheOldOneKept)
{
    app::TView3D& v = *main->View3D;
    for (const char* bad : {"0", "x"}) {
        boxes.clear();
        v.Zoom = 30;
        app::PrefForm->OpenGLZoomFactorEdit->SetText(bad);
        Drag(mbLeft, ssLeft, 0, 0);
        ASSERT_EQ(boxes.size(), 1u) << bad;
        EXPECT_NE(boxes[0].find("3D Zoom Factor"), std::string::npos);
        EXPECT_DOUBLE_EQ(app::PrefForm->OpenGLZoomFactorEdit->GetFloat(), 1.5);
        EXPECT_NEAR(v.Zoom, 45, 1e-4) << bad;
    }
    app::PrefForm->OpenGLZoomFactorEdit->SetText("2");
    Drag(mbLeft, ssLeft, 0, 0);
    EXPECT_NEAR(v.Zoom, 90, 1e-4);
}

TEST_F(Main3DTest, OneAppendageShowsItsBoxAllAppendagesTheHullBox)
{
    main->ShowAppendageInViews(0, 0);
    EXPECT_TRUE(main->View3D->SingleAppendageMode);
    EXPECT_FALSE(main->View3D->AllAppendagesMode);
    Picture("main3d-one");
    main->DrawAllViews();
    EXPECT_FALSE(main->View3D->SingleAppendageMode);
    EXPECT_TRUE(main->View3D->AllAppendagesMode);
}

// Left alone with the 3D view showing, the program rests: the idle pass draws once each
// time the queue empties and its drawing puts nothing back in the queue. A change of the
// model still shows at the next idle pass.
TEST_F(Main3DTest, AnIdleProgramRestsAndTheViewFollowsTheModel)
{
    ASSERT_EQ(main->ViewControl->ActivePage(), main->ModelViewSheet);
    RestartLoop();
    auto runFor = [](unsigned ms) {
        bool over = false;
        TTimer timer(nullptr);
        timer.SetInterval(ms);
        timer.SetOnTimer([&](TObject*) { over = true; });
        while (!over) Application->HandleMessage();
    };
    runFor(200);
    const int before = Application->IdleCount();
    runFor(1000);
    EXPECT_LT(Application->IdleCount() - before, 20);

    auto first = PaintToBitmap(main->OpenGLPanel);
    ASSERT_TRUE(main->Hull.appendages[0].MoveZ(1.5));
    runFor(200);
    auto moved = PaintToBitmap(main->OpenGLPanel);
    EXPECT_GT(Differing(*first, *moved), 200);
    ASSERT_TRUE(main->Hull.appendages[0].MoveZ(-1.5));
    runFor(200);
    auto back = PaintToBitmap(main->OpenGLPanel);
    EXPECT_EQ(Differing(*first, *back), 0);
}
