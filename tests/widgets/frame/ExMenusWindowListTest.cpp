// The window list of an owner-drawn main menu on a multiple-document frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameFixture.h"
#include "platform/controls/Menus.h"
#include "platform/TestRig.h"
#include "widgets/frame/ExMenus.h"

using namespace platform;
using namespace frame;

namespace {

struct WindowListFixture : ::testing::Test {
    TForm* frame = nullptr;
    TExMainMenu* menu = nullptr;
    TMenuItem* window = nullptr;
    TExMenuOfficeStyler* styler = nullptr;
    void SetUp() override
    {
        frame = Construct<TForm>(Application);
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 600, 400);
        styler = new TExMenuOfficeStyler(frame);
        styler->SetStyle(osOfficeXP);
        menu = new TExMainMenu(frame);
        menu->SetMenuStyler(styler);
        auto* file = new TMenuItem(frame);
        file->SetCaption("&File");
        menu->Items()->Add(file);
        window = new TMenuItem(frame);
        window->SetCaption("&Window");
        menu->Items()->Add(window);
        auto* cascade = new TMenuItem(frame);
        cascade->SetCaption("&Cascade");
        window->Add(cascade);
        frame->SetWindowMenu(window);
        menu->Loaded();
        frame->Show();
    }
    void TearDown() override
    {
        CloseMenus();
        frame->Free();
        Application->ProcessMessages();
    }
    TForm* Child(const std::string& caption)
    {
        auto* f = Construct<TForm>(Application);
        f->SetFormStyle(fsMDIChild);
        f->SetCaption(caption);
        f->SetBounds(20 * frame->MDIChildCount(), 20 * frame->MDIChildCount(), 200, 150);
        f->Show();
        return f;
    }
    std::vector<std::string> Captions()
    {
        Application->ProcessMessages();
        std::vector<std::string> out;
        for (int i = 0; i < window->Count(); ++i) {
            TMenuItem* it = window->Items(i);
            out.push_back(it->Caption() + (it->Checked() ? "*" : "") + (it->Visible() ? "" : " (hidden)"));
        }
        return out;
    }
    static TRect InWindow(TWinControl* w, TMenuItem* item)
    {
        TRect r = GetMenuItemRect(item);
        OffsetRect(r, -w->ClientOrigin().X, -w->ClientOrigin().Y);
        return r;
    }
};

}  // namespace

TEST_F(WindowListFixture, TheMenuHooksTheClientAndListsTheChildrenSorted)
{
    EXPECT_EQ(GetMDIClientWnd(menu), frame->MDIClient());
    EXPECT_EQ(menu->HookedClient(), frame->MDIClient());
    EXPECT_EQ(FindForm(frame->Handle()), frame);
    EXPECT_EQ(FindForm(nullptr), nullptr);
    // Without children the marker line is there but hidden.
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Cascade", "- (hidden)"}));

    TForm* offsets = Child("Offsets");
    TForm* body = Child("Body plan");
    TForm* hull = Child("Hull");
    EXPECT_EQ(GetMDIClientWnd(nullptr), nullptr);
    // Sorted by caption, numbered, the active child checked.
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Cascade", "-", "1 Body plan", "2 Hull*", "3 Offsets"}));
    TMenuItem* marker = window->Items(1);
    EXPECT_EQ(marker->ShortCut(), kWindowListMarker);
    for (int i = 2; i < 5; ++i) {
        TMenuItem* it = window->Items(i);
        EXPECT_TRUE(it->RadioItem());
        EXPECT_EQ(it->GroupIndex(), kWindowListGroup);
        EXPECT_TRUE(it->OnAdvancedDrawItem) << "drawn by the styler";
    }
    EXPECT_EQ(window->Items(2)->Tag, long(reinterpret_cast<std::intptr_t>(body->Handle())));
    EXPECT_EQ(window->Items(4)->Tag, long(reinterpret_cast<std::intptr_t>(offsets->Handle())));

    // Chosen with the mouse from the open menu: that child comes forward and is checked.
    menu->OpenItem(window);
    TCustomControl* drop = MenuWindowOf(window);
    ASSERT_NE(drop, nullptr);
    PaintToBitmap(drop);
    const TRect r = InWindow(drop, window->Items(2));
    SendMouse(drop, WM_MOUSEMOVE, r.Left + 40, r.Top + 3);
    auto bmp = PaintToBitmap(drop);
    LookAt(*bmp, "exmenu_window_list");
    // Drawn as every item of the styler: the selected one in its colours, the checked one
    // with the radio mark in the icon column.
    EXPECT_EQ(FrameFixture::At(*bmp, r.Left + 40, r.Top + 3), TColor(0xEFD3C6));
    auto marked = [&](TMenuItem* item) {
        const TRect c = InWindow(drop, item);
        const int face = ColorToRGB(clBtnFace);
        int n = 0;
        for (int y = c.Top + 1; y < c.Bottom - 1; ++y)
            for (int x = c.Left + 1; x < c.Left + 23; ++x) n += int(FrameFixture::At(*bmp, x, y)) != face;
        return n;
    };
    EXPECT_GT(marked(window->Items(3)), 3);
    EXPECT_EQ(marked(window->Items(4)), 0);
    EXPECT_GT(FrameFixture::Black(*bmp, Rect(r.Left + 30, r.Top, r.Left + 90, r.Bottom)), 5);
    SendMouse(drop, WM_LBUTTONDOWN, r.Left + 40, r.Top + 3);
    SendMouse(drop, WM_LBUTTONUP, r.Left + 40, r.Top + 3);
    EXPECT_EQ(frame->ActiveMDIChild(), body);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Cascade", "-", "1 Body plan*", "2 Hull", "3 Offsets"}));

    // Renamed, hidden and freed children: the list follows, the marker stays one.
    offsets->SetCaption("Appendages");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Cascade", "-", "1 Appendages", "2 Body plan*", "3 Hull"}));
    hull->Hide();
    body->Free();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Cascade", "-", "1 Appendages*"}));
    offsets->Free();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Cascade", "- (hidden)"}));
    // Other messages reach the client through the previous procedure.
    hull->Show();
    EXPECT_EQ(frame->MDIClient()->Perform(WM_MDIGETACTIVE), LRESULT(hull->Handle()));
}

TEST_F(WindowListFixture, AFrameWithoutWindowMenuOrOwnerDrawnMenuGetsNoList)
{
    Child("Hull");
    Captions();
    // The refresh request on a frame without a window menu answers 0 and changes nothing.
    frame->SetWindowMenu(nullptr);
    const int before = window->Count();
    EXPECT_EQ(frame->MDIClient()->Perform(WM_MDIREFRESHMENU), 0);
    EXPECT_EQ(window->Count(), before);
    frame->SetWindowMenu(window);
    EXPECT_EQ(frame->MDIClient()->Perform(WM_MDIREFRESHMENU), LRESULT(static_cast<TMenu*>(menu)));
    // Freed, the menu gives the client its own procedure back.
    TCustomForm* active = frame->ActiveMDIChild();
    delete menu;
    EXPECT_EQ(frame->MDIClient()->Perform(WM_MDIGETACTIVE), LRESULT(active->Handle()));
    Application->ProcessMessages();
}
