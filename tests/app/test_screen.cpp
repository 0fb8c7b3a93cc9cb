// Windows opened after the main window reach the screen under a compositing window
// manager: what the root window shows (the compositor's picture) at a menu's and a dialog's
// place is what they painted.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "AppFixture.h"
#include "app/AboutForm.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Graphics.h"

extern char** environ;

using namespace platform;

namespace {

// A program of the system on the test's X server for the length of a test.
class Helper {
public:
    explicit Helper(const char* program)
    {
        char* argv[] = {const_cast<char*>(program), nullptr};
        if (posix_spawnp(&pid_, program, nullptr, nullptr, argv, environ) != 0) pid_ = 0;
    }
    ~Helper()
    {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    // Still running (not exited for want of a display or a second instance).
    bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = 0;
};

// The share of a window's own pixels that the screen shows at the window's place.
double ShownShare(TWinControl* w, TBitmap& screen)
{
    const auto own = GrabWindow(w);
    const TPoint at = w->ClientToScreen(Point(-w->FrameWidth(), -w->FrameWidth()));
    long same = 0, all = 0;
    for (int y = 0; y < own->Height(); y += 2)
        for (int x = 0; x < own->Width(); x += 2) {
            const int sx = at.X + x, sy = at.Y + y;
            if (sx < 0 || sy < 0 || sx >= screen.Width() || sy >= screen.Height()) continue;
            ++all;
            same += screen.Canvas()->Pixel(sx, sy) == own->Canvas()->Pixel(x, y);
        }
    return all ? double(same) / all : 0;
}

}  // namespace

TEST_F(AppTest, AMenuAndADialogReachTheScreenUnderACompositor)
{
    Helper compositor("xcompmgr"), wm("openbox");
    // The window manager is up when it names itself on the root window.
    ASSERT_TRUE(ProcessUntil(
        [] {
            int rc = 0;
            const std::string out = testsupport::RunCapture("xprop -root _NET_SUPPORTING_WM_CHECK 2>&1", &rc);
            return rc == 0 && out.find("window id") != std::string::npos;
        },
        2000));
    ASSERT_TRUE(compositor.Running()) << "xcompmgr did not start";
    ASSERT_TRUE(wm.Running()) << "openbox did not start";

    // Whatever the compositor shows must be the window's own pixels, within a few seconds.
    auto reaches = [&](TWinControl* w, const std::string& name) {
        double share = 0;
        std::unique_ptr<TBitmap> screen;
        ProcessUntil(
            [&] {
                screen = GrabScreen();
                share = ShownShare(w, *screen);
                return share > 0.98;
            },
            400);
        if (const char* look = std::getenv("KORVELO_LOOK_DIR")) {
            screen->SaveToFile(std::string(look) + "/screen-" + name + ".bmp");
            GrabWindow(w)->SaveToFile(std::string(look) + "/screen-" + name + "-own.bmp");
        }
        return share;
    };

    // File on the menu bar, clicked where it shows.
    const TRect item = GetMenuItemRect(main->File1);
    ASSERT_FALSE(IsRectEmpty(item));
    TWinControl* bar = ItemWindow(main->File1);
    ASSERT_NE(bar, nullptr);
    const TPoint p = bar->ScreenToClient(Point(item.Left + 4, item.Top + 4));
    ClickAt(bar, p.X, p.Y);
    TCustomControl* menu = MenuWindowOf(main->File1);
    ASSERT_NE(menu, nullptr);
    EXPECT_GT(reaches(menu, "menu"), 0.98);
    CloseMenus();

    main->About2->Click();
    ASSERT_TRUE(app::AboutForm->Visible());
    EXPECT_GT(reaches(app::AboutForm, "about"), 0.98);
    app::AboutForm->Button1->Click();
    EXPECT_TRUE(compositor.Running());
}
