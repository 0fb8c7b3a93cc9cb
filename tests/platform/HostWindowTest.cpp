// What showing and painting a window costs beyond its pixels: no helper threads, and no
// pixels of its own under its children.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"

extern char** environ;

using namespace platform;

namespace {

constexpr const char* kFresh = "KORVELO_TEST_FRESH_PROCESS";

int ThreadCount()
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/task")) ++n;
    return n;
}

// Runs this one test again in a process of its own (the threads, once started, stay for
// the process's life) and gives its exit status.
int RunAlone(const std::string& test)
{
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    if (len <= 0) return -1;
    std::string exe(self, std::size_t(len));
    std::string filter = "--gtest_filter=" + test;
    std::vector<char*> argv = {exe.data(), filter.data(), nullptr};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.push_back(std::string(kFresh) + "=1");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace

// A window whose children cover parts of it is shown a rectangle at a time: copying it
// under a clip of many rectangles would start the toolkit's drawing threads, one a core.
TEST(HostWindow, ShowingAWindowWithChildrenStartsNoThreads)
{
    if (!std::getenv(kFresh)) {
        EXPECT_EQ(RunAlone("HostWindow.ShowingAWindowWithChildrenStartsNoThreads"), 0);
        return;
    }
    const int before = ThreadCount();
    auto* form = Construct<TForm>(Application);
    form->SetBounds(0, 0, 600, 480);
    form->SetColor(clWhite);
    // Panels on the left and right with a gap between: the form's own part is many rectangles.
    for (int i = 0; i < 2; ++i) {
        auto* p = new TPanel(form);
        p->SetParent(form);
        p->SetBounds(20 + i * 300, 20, 260, 400);
        p->SetColor(i ? clBlue : clRed);
    }
    form->Show();
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    form->Repaint();
    Application->ProcessMessages();
    EXPECT_EQ(ThreadCount(), before);
    form->Free();
}

// A window's own picture gets pixels where it shows: the parts its children cover stay
// untouched until they show (a child hidden), and what shows then is the window's colour.
TEST(HostWindow, PaintingFillsOnlyWhatTheChildrenLeaveShowing)
{
    auto* form = Construct<TForm>(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 400, 300);
    form->SetColor(clWhite);
    TPanel* panels[2];
    for (int i = 0; i < 2; ++i) {
        auto* p = panels[i] = new TPanel(form);
        p->SetParent(form);
        p->SetBevelOuter(bvNone);
        p->SetBounds(0, i * 150, 400, i ? 150 : 140);  // a strip of the form between them
        p->SetColor(i ? clBlue : clRed);
    }
    form->Show();
    form->Repaint();
    Application->ProcessMessages();
    const int strip = form->ClientWidth() * 10;
    EXPECT_GE(BackingPixelsHeld(panels[0]), 400 * 140);
    EXPECT_EQ(BackingPixelsHeld(form), strip);
    // A child hidden: the form paints what it covered, in the form's colour.
    panels[0]->SetVisible(false);
    form->Repaint();
    Application->ProcessMessages();
    EXPECT_EQ(BackingPixelsHeld(form), strip + 400 * 140);
    auto shot = GrabWindow(form);
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixel(200, 70)), ColorToRGB(clWhite));
    EXPECT_EQ(ColorToRGB(shot->Canvas()->Pixel(200, 200)), ColorToRGB(clBlue));
    form->Free();
}
