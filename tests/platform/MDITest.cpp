// Multiple-document frames: child forms in the client window, activation by the mouse,
// by focus and by the window list that the client keeps in the window menu.
#include <gtest/gtest.h>

#include "base/Exception.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "ControlFixture.h"

using namespace platform;

namespace {

struct MDIFixture : ::testing::Test {
    TForm* frame = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* window = nullptr;
    std::vector<std::string> log;
    void SetUp() override
    {
        frame = Construct<TForm>(Application);
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 500, 400);
        menu = new TMainMenu(frame);
        window = new TMenuItem(frame);
        window->SetCaption("&Window");
        menu->Items()->Add(window);
        auto* tile = new TMenuItem(frame);
        tile->SetCaption("&Tile");
        window->Add(tile);
        frame->SetWindowMenu(window);
        frame->Show();
    }
    void TearDown() override
    {
        CloseMenus();
        frame->Free();
        Application->ProcessMessages();
    }
    TForm* Child(const std::string& caption, int x, int y)
    {
        auto* f = Construct<TForm>(Application);
        f->SetFormStyle(fsMDIChild);
        f->SetCaption(caption);
        f->SetBounds(x, y, 160, 120);
        f->OnActivate = [this, caption](TObject*) { log.push_back("+" + caption); };
        f->OnDeactivate = [this, caption](TObject*) { log.push_back("-" + caption); };
        f->Show();
        return f;
    }
    std::vector<std::string> Captions()
    {
        Application->ProcessMessages();
        std::vector<std::string> out;
        for (int i = 0; i < window->Count(); ++i)
            out.push_back(window->Items(i)->Caption() + (window->Items(i)->Checked() ? "*" : ""));
        return out;
    }
};

}  // namespace

TEST_F(MDIFixture, ChildrenLiveInTheClientAndTheShownOneIsActive)
{
    ASSERT_NE(frame->MDIClient(), nullptr);
    EXPECT_EQ(frame->ClientHandle(), frame->MDIClient()->Handle());
    // The client fills what the menu bar leaves.
    EXPECT_EQ(frame->MDIClient()->Top(), menu->Bar()->Height());
    EXPECT_EQ(frame->MDIClient()->Height(), frame->ClientHeight() - menu->Bar()->Height());
    EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
    EXPECT_EQ(frame->MDIChildCount(), 0);

    TForm* a = Child("Hull", 10, 10);
    TForm* b = Child("Offsets", 60, 50);
    EXPECT_EQ(a->Parent(), frame->MDIClient());
    EXPECT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    EXPECT_EQ(frame->MDIChildren(0), b);
    EXPECT_EQ(frame->MDIChildren(1), a);
    EXPECT_THROW(frame->MDIChildren(2), base::EListError);
    EXPECT_EQ(frame->MDIClient()->Perform(WM_MDIGETACTIVE), LRESULT(b->Handle()));
    EXPECT_EQ(log, (std::vector<std::string>{"+Hull", "-Hull", "+Offsets"}));

    // The frame of the active child has the active caption colour, the other the inactive one.
    auto bmp = PaintToBitmap(frame);
    const TPoint ao = frame->ScreenToClient(a->ClientOrigin());
    const TPoint bo = frame->ScreenToClient(b->ClientOrigin());
    EXPECT_EQ(bmp->Canvas()->Pixel(ao.X - 2, ao.Y + 60), TColor(ColorToRGB(clInactiveCaption)));
    EXPECT_EQ(bmp->Canvas()->Pixel(bo.X - 2, bo.Y + 60), TColor(ColorToRGB(clActiveCaption)));
    SaveSnapshot(*bmp, "mdi_frame");

    // The user presses the mouse on the uncovered part of the first child: it comes forward.
    log.clear();
    HostMouse(a, hmPress, mbLeft, 5, 5);
    HostMouse(a, hmRelease, mbLeft, 5, 5);
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(log, (std::vector<std::string>{"-Offsets", "+Hull"}));
    EXPECT_EQ(frame->MDIClient()->Controls(frame->MDIClient()->ControlCount() - 1), a);
    bmp = PaintToBitmap(frame);
    EXPECT_EQ(bmp->Canvas()->Pixel(ao.X - 2, ao.Y + 60), TColor(ColorToRGB(clActiveCaption)));

    // Focus that enters a child activates it too.
    auto* edit = new TButton(b);
    edit->SetParent(b);
    edit->SetBounds(10, 10, 60, 22);
    edit->SetFocus();
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    EXPECT_EQ(b->ActiveControl(), edit);
    // Ctrl+F6's order: Next brings the one behind forward.
    frame->Next();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    frame->Previous();
    EXPECT_EQ(frame->ActiveMDIChild(), b);
}

TEST_F(MDIFixture, TheWindowMenuListsTheChildrenAndActivatesThem)
{
    EXPECT_EQ(Captions(), std::vector<std::string>{"&Tile"});
    TForm* a = Child("Hull", 10, 10);
    Child("Offsets", 60, 50);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Tile", "-", "&1 Hull", "&2 Offsets*"}));

    // Chosen from the open menu, the first child comes forward and the list follows.
    menu->OpenItem(window);
    TCustomControl* drop = MenuWindowOf(window);
    ASSERT_NE(drop, nullptr);
    const TRect r = GetMenuItemRect(window->Items(2));
    const TPoint p = drop->ScreenToClient(Point(r.Left + 5, r.Top + 3));
    SendMouse(drop, WM_MOUSEMOVE, p.X, p.Y);
    SendMouse(drop, WM_LBUTTONDOWN, p.X, p.Y);
    SendMouse(drop, WM_LBUTTONUP, p.X, p.Y);
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Tile", "-", "&1 Hull*", "&2 Offsets"}));

    // A new caption, a hidden child and a freed child all show in the list.
    a->SetCaption("Hull lines");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Tile", "-", "&1 Hull lines*", "&2 Offsets"}));
    a->Hide();
    EXPECT_EQ(frame->ActiveMDIChild(), frame->MDIChildren(0));
    EXPECT_EQ(frame->ActiveMDIChild()->Caption(), "Offsets");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Tile", "-", "&1 Offsets*"}));
    frame->ActiveMDIChild()->Free();
    EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
    EXPECT_EQ(Captions(), std::vector<std::string>{"&Tile"});
    a->Show();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"&Tile", "-", "&1 Hull lines*"}));
}

TEST(MDI, AChildNeedsAFrame)
{
    auto* f = Construct<TForm>(Application);
    for (int i = 0; i < Screen->FormCount(); ++i) ASSERT_NE(Screen->Forms(i)->FormStyle(), fsMDIForm);
    EXPECT_THROW(f->SetFormStyle(fsMDIChild), base::EInvalidOperation);
    EXPECT_EQ(f->Parent(), nullptr);
    EXPECT_EQ(f->FormStyle(), fsNormal);
    f->Free();
}

TEST(MDI, FreeingTheFrameFreesItsChildren)
{
    auto* frame = Construct<TForm>(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->Show();
    auto* child = Construct<TForm>(Application);
    bool destroyed = false;
    child->OnDestroy = [&](TObject*) { destroyed = true; };
    child->SetFormStyle(fsMDIChild);
    child->Show();
    const int forms = Screen->FormCount();
    frame->Free();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen->FormCount(), forms - 2);
    Application->ProcessMessages();
}
