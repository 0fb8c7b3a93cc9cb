// Docking: a control dragged with the mouse onto a dock site, out into a floating tool
// form, and docked back; the site's say in it (GetSiteInfo, DockOver, OnUnDock).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/controls/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "ControlFixture.h"

using namespace platform;

namespace {

struct DockFixture : ControlFixture {
    TPanel* site = nullptr;
    TPanel* tool = nullptr;
    std::vector<std::string> log;
    void SetUp() override
    {
        ControlFixture::SetUp();
        form->SetBounds(50, 50, 400, 300);
        site = Add<TPanel>(0, 0, 150, 300);
        site->SetCaption("");
        site->DockSite = true;
        site->OnGetSiteInfo = [this](TObject*, TControl* client, TRect& influence, TPoint, bool&) {
            EXPECT_EQ(client, tool);
            influenceSeen = influence;
            log.push_back("info");
        };
        site->OnDockOver = [this](TObject*, TDragDockObject* src, int, int, TDragState state, bool& accept) {
            dockRectSeen = src->DockRect;
            log.push_back(state == dsDragEnter ? "enter" : state == dsDragMove ? "move" : "leave");
            accept = acceptDock;
        };
        site->OnDockDrop = [this](TObject*, TDragDockObject* src, int, int) {
            EXPECT_EQ(src->Control, tool);
            log.push_back("drop");
        };
        site->OnUnDock = [this](TObject*, TControl*, TWinControl* target, bool& allow) {
            log.push_back(target ? "undock to site" : "undock to float");
            allow = allowUndock;
        };
        tool = Add<TPanel>(250, 100, 100, 80);
        tool->SetCaption("Tools");
        tool->SetColor(TColor(0x0000FF));
        tool->DragKind = dkDock;
        tool->DragMode = dmAutomatic;
        tool->OnEndDock = [this](TObject*, TObject* target, int, int) {
            log.push_back(target ? "end docked" : "end floating");
        };
    }
    // The user presses on the tool, drags it to a screen point and lets go there.
    void DragToolTo(TPoint screen)
    {
        HostMouse(tool, hmPress, mbLeft, 10, 10);
        TPoint from = tool->ClientToScreen(Point(10, 10));
        for (int i = 1; i <= 4; ++i) {
            const TPoint s = Point(from.X + (screen.X - from.X) * i / 4, from.Y + (screen.Y - from.Y) * i / 4);
            const TPoint p = tool->ScreenToClient(s);
            HostMouse(tool, hmMove, mbLeft, p.X, p.Y);
        }
        const TPoint p = tool->ScreenToClient(screen);
        HostMouse(tool, hmRelease, mbLeft, p.X, p.Y);
    }
    TPoint SiteCenter() const { return site->ClientToScreen(Point(75, 150)); }
    TPoint OpenPlace() const { return form->ClientToScreen(Point(600, 200)); }
    TRect influenceSeen, dockRectSeen;
    bool acceptDock = true, allowUndock = true;
};

int FloatingForms()
{
    int n = 0;
    for (int i = 0; i < Screen->FormCount(); ++i) n += dynamic_cast<TCustomDockForm*>(Screen->Forms(i)) != nullptr;
    return n;
}

}  // namespace

TEST_F(DockFixture, DraggedOntoASiteTheControlDocksThere)
{
    DragToolTo(SiteCenter());
    EXPECT_EQ(tool->HostDockSite(), site);
    EXPECT_EQ(tool->Parent(), site);
    EXPECT_FALSE(tool->Floating());
    ASSERT_EQ(site->DockClientCount(), 1);
    EXPECT_EQ(site->DockClients(0), tool);
    // The site was asked, told of the drag's way in and took the drop.
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "info");
    EXPECT_NE(std::find(log.begin(), log.end(), "enter"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "move"), log.end());
    EXPECT_EQ(log[log.size() - 2], "drop");
    EXPECT_EQ(log.back(), "end docked");
    // The influence rectangle reaches 10 pixels round the site; the dock rectangle is the site.
    const TPoint o = site->ClientToScreen(Point(0, 0));
    EXPECT_EQ(influenceSeen, Rect(o.X - 10, o.Y - 10, o.X + 160, o.Y + 310));
    EXPECT_EQ(dockRectSeen, Rect(o.X, o.Y, o.X + 150, o.Y + 300));
    // Docked at the dock rectangle: the whole site.
    EXPECT_EQ(tool->BoundsRect(), site->ClientRect());
}

TEST_F(DockFixture, DraggedIntoTheOpenItFloatsAndDocksBack)
{
    ASSERT_TRUE(tool->ManualDock(site));
    log.clear();
    const int before = FloatingForms();
    DragToolTo(OpenPlace());
    EXPECT_TRUE(tool->Floating());
    auto* host = dynamic_cast<TCustomDockForm*>(tool->HostDockSite());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(FloatingForms(), before + 1);
    EXPECT_EQ(tool->Parent(), host);
    EXPECT_TRUE(host->Visible());
    EXPECT_EQ(host->Caption(), "Tools");
    EXPECT_EQ(site->DockClientCount(), 0);
    EXPECT_NE(std::find(log.begin(), log.end(), "undock to float"), log.end());
    EXPECT_EQ(log.back(), "end floating");
    // The floating form holds the control where it was let go, at the size it had before
    // it was docked.
    EXPECT_EQ(host->ClientToScreen(Point(10, 10)), OpenPlace());
    EXPECT_EQ(tool->Width(), 100);
    EXPECT_EQ(tool->Height(), 80);
    auto bmp = PaintToBitmap(host);
    EXPECT_EQ(bmp->Canvas()->Pixel(10, 10), TColor(0x0000FF));
    // Its caption follows the control's.
    tool->SetCaption("Hull tools");
    EXPECT_EQ(host->Caption(), "Hull tools");

    // Dragged again in the open, the floating form moves with it.
    DragToolTo(form->ClientToScreen(Point(500, 50)));
    EXPECT_EQ(tool->HostDockSite(), host);
    EXPECT_EQ(host->ClientToScreen(Point(10, 10)), form->ClientToScreen(Point(500, 50)));

    // Docked back by the program, the floating form goes.
    log.clear();
    ASSERT_TRUE(tool->ManualDock(site));
    EXPECT_EQ(tool->Parent(), site);
    EXPECT_FALSE(tool->Floating());
    Application->ProcessMessages();
    EXPECT_EQ(FloatingForms(), before);

    // Floated by the program (a dock to no site), then dragged back onto the site.
    ASSERT_TRUE(tool->ManualDock(nullptr));
    EXPECT_TRUE(tool->Floating());
    DragToolTo(SiteCenter());
    EXPECT_EQ(tool->HostDockSite(), site);
    Application->ProcessMessages();
    EXPECT_EQ(FloatingForms(), before);
}

TEST_F(DockFixture, TheSiteCanRefuse)
{
    struct Case {
        const char* what;
        bool canDock, accept;
    } cases[] = {{"GetSiteInfo says no", false, true}, {"DockOver says no", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        site->OnGetSiteInfo = [&c](TObject*, TControl*, TRect&, TPoint, bool& canDock) { canDock = c.canDock; };
        acceptDock = c.accept;
        DragToolTo(SiteCenter());
        // Nobody takes it: it floats where it was let go.
        EXPECT_TRUE(tool->Floating());
        EXPECT_EQ(site->DockClientCount(), 0);
        // Back onto the form for the next case.
        ASSERT_TRUE(tool->ManualDock(form));
        EXPECT_EQ(tool->Parent(), form);
        tool->SetAlign(alNone);
        tool->SetBounds(250, 100, 100, 80);
        Application->ProcessMessages();
    }
}

TEST_F(DockFixture, UnDockRefusedKeepsTheControlAndEscCancels)
{
    ASSERT_TRUE(tool->ManualDock(site));
    allowUndock = false;
    DragToolTo(OpenPlace());
    EXPECT_EQ(tool->HostDockSite(), site);
    EXPECT_FALSE(tool->ManualDock(nullptr));
    EXPECT_EQ(tool->Parent(), site);

    allowUndock = true;
    HostMouse(tool, hmPress, mbLeft, 10, 10);
    const TPoint p = tool->ScreenToClient(OpenPlace());
    HostMouse(tool, hmMove, mbLeft, p.X, p.Y);
    EXPECT_TRUE(tool->Dragging());
    SendKey(form, VK_ESCAPE);
    EXPECT_FALSE(tool->Dragging());
    HostMouse(tool, hmRelease, mbLeft, p.X, p.Y);
    EXPECT_EQ(tool->HostDockSite(), site);
}
