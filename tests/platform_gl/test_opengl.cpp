// OpenGL on a window, under a real X server with Mesa's software renderer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <GL/gl.h>
#include <GL/glu.h>

#include "base/SystemInfo.h"
#include "platform/TestRig.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/OpenGL.h"

using namespace platform;

namespace {

PIXELFORMATDESCRIPTOR WindowFormat()
{
    PIXELFORMATDESCRIPTOR pfd;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    return pfd;
}

// A form with a panel that holds a current rendering context.
class GLPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePlatform();
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 300, 200);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 200, 100);
        panel->SetBevelOuter(bvNone);
        dc = GetDC(panel->Handle());
        const PIXELFORMATDESCRIPTOR pfd = WindowFormat();
        const int format = ChoosePixelFormat(dc, &pfd);
        ASSERT_EQ(format, 1);
        ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
        rc = wglCreateContext(dc);
        ASSERT_NE(rc, nullptr);
        ASSERT_TRUE(wglMakeCurrent(dc, rc));
    }
    void TearDown() override
    {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(rc);
        ReleaseDC(panel->Handle(), dc);
        delete form;
    }
    TColor At(int x, int y)
    {
        auto bmp = PaintToBitmap(panel);
        return bmp->Canvas()->Pixel(x, y);
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    HDC dc = nullptr;
    HGLRC rc = nullptr;
};

}  // namespace

TEST_F(GLPanel, ASwapShowsTheFrameInTheWindow)
{
    glViewport(0, 0, 200, 100);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // A blue square in the top right quarter.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 200, 0, 100, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(150, 60);
    glVertex2f(190, 60);
    glVertex2f(190, 90);
    glVertex2f(150, 90);
    glEnd();
    ASSERT_TRUE(SwapBuffers(dc));
    EXPECT_EQ(At(5, 50), clRed);
    EXPECT_EQ(At(170, 20), clBlue);  // GL's y runs up, the window's down
    EXPECT_EQ(At(170, 80), clRed);
    EXPECT_EQ(wglGetCurrentContext(), rc);
}

TEST_F(GLPanel, TheRendererNamesItselfAndGluAnswers)
{
    const base::OpenGLStrings s = base::GetOpenGLStrings();
    EXPECT_FALSE(s.vendor.empty());
    EXPECT_FALSE(s.version.empty());
    EXPECT_FALSE(s.gluVersion.empty());
    GLUquadric* q = gluNewQuadric();
    ASSERT_NE(q, nullptr);
    gluDeleteQuadric(q);
}

TEST_F(GLPanel, OutlineFontListsDrawTheirLetters)
{
    const GLuint base = glGenLists(128);
    ASSERT_NE(base, 0u);
    // The outlines come from the font selected into a DC: a bold 35-pixel face.
    TBitmap fontHolder(1, 1);
    fontHolder.Canvas()->Font().SetHeight(-35);
    fontHolder.Canvas()->Font().SetStyle(fsBold);
    GLYPHMETRICSFLOAT metrics[128];
    ASSERT_TRUE(wglUseFontOutlines(fontHolder.Canvas()->Handle(), 0, 128, base, 0, 0.1f, WGL_FONT_POLYGONS, metrics));
    EXPECT_GT(metrics['X'].gmfCellIncX, 0.3f);
    EXPECT_LT(metrics['X'].gmfCellIncX, 1.2f);
    EXPECT_GT(metrics['W'].gmfCellIncX, metrics['i'].gmfCellIncX);

    glViewport(0, 0, 200, 100);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 2, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.1f, 0.2f, 0);
    glColor3f(0, 0, 0);
    glCallList(base + 'X');
    ASSERT_TRUE(SwapBuffers(dc));
    auto bmp = PaintToBitmap(panel);
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS")) bmp->SaveToFile(std::string(dir) + "/gl-letter.bmp");
    int dark = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) dark += bmp->Canvas()->Pixel(x, y) == clBlack;
    EXPECT_GT(dark, 200);   // the letter is there
    EXPECT_LT(dark, 6000);  // and it is not a filled block
    glDeleteLists(base, 128);
}

TEST(GLSetup, RequestsThisPlatformCannotServeAreRefused)
{
    EnsurePlatform();
    TForm form(nullptr);
    HDC dc = GetDC(form.Handle());
    PIXELFORMATDESCRIPTOR pfd = WindowFormat();
    pfd.dwFlags = PFD_DRAW_TO_WINDOW;  // no OpenGL
    EXPECT_EQ(ChoosePixelFormat(dc, &pfd), 0);
    EXPECT_EQ(wglCreateContext(dc), nullptr);  // no format set
    pfd = WindowFormat();
    EXPECT_TRUE(SetPixelFormat(dc, 1, &pfd));
    EXPECT_FALSE(SetPixelFormat(dc, 1, &pfd));  // once per window
    EXPECT_FALSE(SwapBuffers(dc));             // nothing current
    EXPECT_TRUE(base::GetOpenGLStrings().vendor.empty() || wglGetCurrentContext() == nullptr);
    ReleaseDC(form.Handle(), dc);
}

// The frame buffer is the panel's size, not the screen's, and grows when the panel does:
// a frame then reaches the panel's far corner.
TEST_F(GLPanel, TheFrameBufferFollowsThePanelSize)
{
    auto fits = [&](int w, int h) {
        const TSize s = GLFrameBufferSize(rc);
        EXPECT_GE(s.cx, w);
        EXPECT_GE(s.cy, h);
        // A little room to grow into, never the screen's size.
        EXPECT_LE(s.cx, w + 64);
        EXPECT_LE(s.cy, h + 64);
    };
    fits(200, 100);
    auto fill = [&](int w, int h, float r, float g, float b) {
        ASSERT_TRUE(wglMakeCurrent(dc, rc));  // as a paint does
        glViewport(0, 0, w, h);
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(SwapBuffers(dc));
    };
    fill(200, 100, 0, 1, 0);
    EXPECT_EQ(At(199, 99), clLime);

    panel->SetBounds(10, 10, 560, 420);
    fill(560, 420, 0, 0, 1);
    fits(560, 420);
    EXPECT_EQ(At(559, 419), clBlue);
    EXPECT_EQ(At(0, 0), clBlue);

    // Smaller again: the buffer stays, the frame still fills the panel.
    panel->SetBounds(10, 10, 120, 80);
    fill(120, 80, 1, 0, 0);
    EXPECT_EQ(At(119, 79), clRed);
}
