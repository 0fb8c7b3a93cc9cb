// The page control: pages and tabs, switching by mouse and keys with the events in order,
// the painted tabs in both looks on every side, close buttons and closed tabs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameFixture.h"
#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/graphics/ImageList.h"
#include "widgets/frame/ExPageControl.h"

using namespace platform;
using namespace frame;

namespace {

struct PageFixture : FrameFixture {
    TExPageControl* pc = nullptr;
    std::vector<TExTabSheet*> sheets;
    std::vector<std::string> log;
    void SetUp() override
    {
        FrameFixture::SetUp();
        pc = Add<TExPageControl>(10, 10, 300, 200);
        for (const char* caption : {"Hull", "Frames", "Offsets"}) {
            auto* s = new TExTabSheet(form);
            s->SetName(std::string("Sheet") + caption);
            s->SetCaption(caption);
            s->SetExPageControl(pc);
            sheets.push_back(s);
        }
        pc->Loaded();
        pc->OnCanChange = [this](TObject*, int from, int, bool& allow) {
            log.push_back("canchange from " + std::to_string(from));
            (void)allow;
        };
        pc->OnChanging = [this](TObject*, bool&) { log.push_back("changing"); };
        pc->OnChange = [this](TObject*) { log.push_back("change " + std::to_string(pc->GetActivePageIndex())); };
    }
    TPoint Middle(int page) const
    {
        const TRect r = pc->TabRectEx(page);
        return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

TEST_F(PageFixture, PagesTabsAndMeasuringTexts)
{
    EXPECT_EQ(pc->GetPageCount(), 3);
    EXPECT_EQ(pc->GetActivePageIndex(), 0);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(pc->Tabs().Get(1), "Fram");  // the caption without its last two characters
    sheets[2]->SetCaption("Of");
    EXPECT_EQ(pc->Tabs().Get(2), "");
    sheets[2]->SetShowClose(true);
    EXPECT_EQ(pc->Tabs().Get(2), "Of ");
    // A hidden tab before the active page: page indexes count it, tab indexes do not.
    pc->SetActivePage(sheets[2]);
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(pc->GetActivePageIndex(), 2);
    EXPECT_EQ(sheets[2]->GetTabIndex(), 1);
    EXPECT_EQ(pc->Tabs().Count(), 2);
    EXPECT_EQ(pc->Version(), "1.4.0.2");
}

TEST_F(PageFixture, MouseAndKeysSwitchPagesWithTheEventsInOrder)
{
    SendMouse(pc, WM_LBUTTONDOWN, Middle(1).X, Middle(1).Y);
    SendMouse(pc, WM_LBUTTONUP, Middle(1).X, Middle(1).Y);
    EXPECT_EQ(log, (std::vector<std::string>{"canchange from 0", "changing", "change 1"}));
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    EXPECT_TRUE(sheets[1]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    log.clear();
    SendKey(pc, VK_RIGHT);
    EXPECT_EQ(log, (std::vector<std::string>{"canchange from 1", "changing", "change 2"}));
    // Ctrl+Tab wraps to the first page, Ctrl+Shift+Tab back to the last.
    log.clear();
    pc->SetFocus();
    SetSimulatedShiftState(ssCtrl);
    TCMDialogKey m;
    m.Msg = CM_DIALOGKEY;
    m.WParam = VK_TAB;
    pc->Perform(CM_DIALOGKEY, VK_TAB, 0);
    EXPECT_EQ(pc->GetActivePageIndex(), 0);
    SetSimulatedShiftState(ssCtrl | ssShift);
    pc->Perform(CM_DIALOGKEY, VK_TAB, 0);
    SetSimulatedShiftState(-1);
    EXPECT_EQ(pc->GetActivePageIndex(), 2);
    EXPECT_EQ(log.back(), "change 2");
    // A veto keeps the page.
    pc->OnCanChange = [](TObject*, int, int, bool& allow) { allow = false; };
    SendMouse(pc, WM_LBUTTONDOWN, Middle(0).X, Middle(0).Y);
    EXPECT_EQ(pc->GetActivePageIndex(), 2);
}

TEST_F(PageFixture, DisabledTabCannotBecomeActive)
{
    sheets[1]->SetTabEnable(false);
    SendMouse(pc, WM_LBUTTONDOWN, Middle(1).X, Middle(1).Y);
    EXPECT_EQ(pc->GetActivePageIndex(), 0);
    EXPECT_EQ(pc->TabIndex(), 1);  // the platform's selection moved
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_EQ(log.back(), "change 0");
    pc->SetActivePage(sheets[1]);
    EXPECT_EQ(pc->GetActivePageIndex(), 0);
    EXPECT_THROW(sheets[0]->SetTabEnable(false), base::Exception);
    pc->SetTabStyle(tsDotNet);
    EXPECT_THROW(pc->SetTabSplitLine(true), base::Exception);
    try {
        sheets[0]->SetPageIndex(5);
        FAIL();
    } catch (const base::Exception& e) {
        EXPECT_STREQ(e.what(), "5 is an invalid PageIndex value.  PageIndex must be between 0 and 2");
    }
    sheets[0]->SetPageIndex(2);
    EXPECT_EQ(pc->GetPage(2), sheets[0]);
    EXPECT_EQ(pc->Tabs().Get(2), "Hu");
}

TEST_F(PageFixture, RemovingPagesAndDefaultColours)
{
    pc->SetActivePage(sheets[1]);
    delete sheets[1];
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    sheets[2]->SetExPageControl(nullptr);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    sheets[0]->SetExPageControl(nullptr);
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabIndex(), -1);
    sheets[0]->SetExPageControl(pc);
    sheets[2]->SetExPageControl(pc);
    sheets[2]->SetTabColor(clRed);
    pc->SetDefaultTabColor(clYellow);
    EXPECT_EQ(sheets[0]->TabColor(), clYellow);
    EXPECT_EQ(sheets[2]->TabColor(), clRed);
}

TEST_F(PageFixture, CloseButtonClosesAndNamesReopen)
{
    sheets[0]->SetShowClose(true);
    bool closed = false;
    sheets[0]->OnClose = [&](TObject*) { closed = true; };
    const TRect r = pc->TabRectEx(0);
    ASSERT_TRUE(pc->IsOnButton(0, r.Left + 5, r.Top + 5));
    EXPECT_FALSE(pc->IsOnButton(0, r.Right - 2, r.Top + 5));
    SendMouse(pc, WM_LBUTTONDOWN, r.Left + 5, r.Top + 5);
    SendMouse(pc, WM_LBUTTONUP, r.Left + 5, r.Top + 5);
    EXPECT_TRUE(closed);
    EXPECT_EQ(pc->GetPageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), sheets[1]);
    ASSERT_EQ(pc->ClosedTabs().size(), 1u);
    EXPECT_FALSE(pc->OpenClosedTab("nothing"));
    EXPECT_TRUE(pc->OpenClosedTab("SHEETHULL"));
    EXPECT_EQ(pc->GetPageCount(), 3);
    EXPECT_EQ(pc->GetPage(2), sheets[0]);
    EXPECT_TRUE(pc->OpenClosedTab("sheethull"));  // listed still, not attached twice
    EXPECT_EQ(pc->GetPageCount(), 3);
    // With FreeOnClose the sheet goes and nothing is listed.
    pc->FreeOnClose = true;
    pc->SetActivePage(sheets[0]);
    const TRect r2 = pc->TabRectEx(2);
    SendMouse(pc, WM_LBUTTONDOWN, r2.Left + 5, r2.Top + 5);
    SendMouse(pc, WM_LBUTTONUP, r2.Left + 5, r2.Top + 5);
    EXPECT_EQ(pc->GetPageCount(), 2);
    EXPECT_TRUE(pc->ClosedTabs().empty());
}

TEST(PageGradient, StepsAndBands)
{
    TBitmap b(40, 10);
    TExPageControl::DrawGradient(b.Canvas(), TColor(0x0000FF), TColor(0xFF0000), true, Rect(0, 0, 40, 10), 0);
    EXPECT_EQ(b.Canvas()->Pixel(39, 5), TColor(0x0000FF));
    TExPageControl::DrawGradient(b.Canvas(), TColor(0x000000), TColor(0x000040), true, Rect(0, 0, 40, 10), 4);
    EXPECT_EQ(b.Canvas()->Pixel(0, 5), TColor(0));
    EXPECT_EQ(b.Canvas()->Pixel(15, 5), TColor(0x10));
    EXPECT_EQ(b.Canvas()->Pixel(35, 5), TColor(0x30));
}

// Each look on each side: the active tab in ActiveColor, an inactive one in its own
// colour, the tab row in TabBackGroundColor, the page frame in TabSheetBorderColor, the
// caption drawn.
struct LookCase {
    TTabStyle style;
    TTabPosition position;
    const char* name;
};

class TabLook : public PageFixture, public ::testing::WithParamInterface<LookCase> {};

TEST_P(TabLook, PaintsTabsRowAndFrame)
{
    const LookCase& lc = GetParam();
    pc->SetTabStyle(lc.style);
    pc->SetExTabPosition(lc.position);
    pc->SetActiveColor(clWhite);
    pc->SetTabBackGroundColor(TColor(0xE0E0E0));
    pc->SetTabSheetBorderColor(TColor(0x0000C0));
    pc->SetTabBorderColor(TColor(0x008000));
    sheets[2]->SetTabColor(TColor(0x00FFFF));
    pc->SetActivePage(sheets[1]);
    auto bmp = PaintToBitmap(pc);
    LookAt(*bmp, std::string("tabs_") + lc.name);
    const TRect active = pc->TabRectEx(1), other = pc->TabRectEx(2);
    const bool vertical = lc.position == tpLeft || lc.position == tpRight;
    // Inside the tabs, away from the caption.
    (void)vertical;
    // Mostly filled in their colours (the caption and the outline take the rest).
    const int area = active.Width() * active.Height();
    EXPECT_GT(Count(*bmp, active, clWhite), area / 2) << lc.name;
    EXPECT_GT(Count(*bmp, other, TColor(0x00FFFF)), other.Width() * other.Height() / 2) << lc.name;
    // The tab row's free end and the page frame's far side.
    const int W = pc->Width(), H = pc->Height();
    switch (lc.position) {
    case tpTop:
        EXPECT_EQ(At(*bmp, W / 2 + 60, 1), TColor(0xE0E0E0)) << lc.name;
        EXPECT_EQ(At(*bmp, W / 2, H - 1), TColor(0x0000C0)) << lc.name;
        EXPECT_EQ(At(*bmp, 0, H / 2), TColor(0x0000C0)) << lc.name;
        break;
    case tpBottom:
        EXPECT_EQ(At(*bmp, W / 2 + 60, H - 2), TColor(0xE0E0E0)) << lc.name;
        EXPECT_EQ(At(*bmp, W / 2, 0), TColor(0x0000C0)) << lc.name;
        break;
    case tpLeft:
        EXPECT_EQ(At(*bmp, 1, H - 20), TColor(0xE0E0E0)) << lc.name;
        EXPECT_EQ(At(*bmp, W - 2, H / 2), TColor(0x0000C0)) << lc.name;
        break;
    case tpRight:
        EXPECT_EQ(At(*bmp, W - 2, H - 20), TColor(0xE0E0E0)) << lc.name;
        EXPECT_EQ(At(*bmp, 0, H / 2), TColor(0x0000C0)) << lc.name;
        break;
    }
    EXPECT_GT(Black(*bmp, active), 5) << lc.name;
    // The outline colour appears round the tabs.
    TRect around = active;
    InflateRect(around, 2, 2);
    EXPECT_GT(Count(*bmp, around, TColor(0x008000)), 10) << lc.name;
}

INSTANTIATE_TEST_SUITE_P(Looks, TabLook,
                         ::testing::Values(LookCase{tsClassic, tpTop, "classic_top"}, LookCase{tsClassic, tpBottom, "classic_bottom"},
                                           LookCase{tsClassic, tpLeft, "classic_left"}, LookCase{tsClassic, tpRight, "classic_right"},
                                           LookCase{tsDotNet, tpTop, "dotnet_top"}, LookCase{tsDotNet, tpBottom, "dotnet_bottom"},
                                           LookCase{tsDotNet, tpLeft, "dotnet_left"}, LookCase{tsDotNet, tpRight, "dotnet_right"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageFixture, DotNetSeparatorsAndDisabledCaptions)
{
    pc->SetTabStyle(tsDotNet);
    pc->SetActiveColor(TColor(0xFFFFFF));
    pc->SetActivePage(sheets[1]);
    sheets[2]->SetTabEnable(false);
    sheets[2]->SetTextColor(clBlack);
    auto bmp = PaintToBitmap(pc);
    LookAt(*bmp, "tabs_dotnet_separators");
    const TRect first = pc->TabRectEx(0), third = pc->TabRectEx(2);
    // The first tab's next tab is the active one: no separator; the third has one.
    EXPECT_NE(At(*bmp, first.Right - 2, (first.Top + first.Bottom) / 2), TColor(0xFFFFFF));
    EXPECT_EQ(At(*bmp, third.Right - 2, (third.Top + third.Bottom) / 2), TColor(0xFFFFFF));
    // A disabled tab's caption is grey whatever its text colour.
    EXPECT_EQ(Black(*bmp, third), 0);
}

TEST_F(PageFixture, HoverColoursFollowTheMouse)
{
    pc->TabHoverColor = TColor(0x00FF00);
    pc->TabHoverBorder = TColor(0xFF0000);
    const TPoint p = Middle(2);
    SendMouse(pc, WM_MOUSEMOVE, p.X, p.Y);
    EXPECT_EQ(pc->HoverTab(), 2);
    auto bmp = PaintToBitmap(pc);
    LookAt(*bmp, "tabs_hover");
    const TRect r = pc->TabRectEx(2);
    EXPECT_EQ(At(*bmp, r.Right - 4, r.Bottom - 3), TColor(0x00FF00));
    EXPECT_EQ(At(*bmp, r.Left, r.Top + 3), TColor(0xFF0000));
    pc->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(pc->HoverTab(), -1);
}

}  // namespace

namespace {

TEST_F(PageFixture, TabPicturesAndMarginsWidenTheTabs)
{
    const int plain = pc->TabRectEx(0).Width() - 1;  // the margin list starts 1 pixel wide
    TImageList images(16, 16);
    TBitmap pic(16, 16);
    pic.Canvas()->Brush().SetColor(TColor(0x0000FF));
    pic.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images.Add(&pic);
    pc->SetExImages(&images);
    EXPECT_EQ(pc->TabRectEx(0).Width(), plain + 16);
    pc->TabMargin().SetLeftMargin(5);
    EXPECT_EQ(pc->TabRectEx(0).Width(), plain + 21);
    pc->TabMargin().SetRightMargin(3);
    EXPECT_EQ(pc->TabRectEx(0).Width(), plain + 24);
    sheets[0]->SetImageIndex(0);
    auto bmp = PaintToBitmap(pc);
    LookAt(*bmp, "tabs_pictures");
    EXPECT_GT(Count(*bmp, pc->TabRectEx(0), TColor(0x0000FF)), 100);
    sheets[1]->SetImageIndex(-1);  // none
    bmp = PaintToBitmap(pc);
    EXPECT_EQ(Count(*bmp, pc->TabRectEx(1), TColor(0x0000FF)), 0);
    pc->SetExImages(nullptr);
}

}  // namespace

namespace {

TEST_F(PageFixture, DockedControlsGetPagesOfTheirOwn)
{
    auto* panel = new TPanel(form);
    EXPECT_EQ(pc->DockClient(panel), nullptr);  // not a dock site
    pc->DockSite = true;
    TExTabSheet* page = pc->DockClient(panel);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(pc->ActivePage(), page);
    EXPECT_EQ(panel->Parent(), page);
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(pc->GetPageFromDockClient(panel), page);
    // The page follows the control's text (up to a line break) and visibility.
    panel->SetCaption("Results\nof the run");
    EXPECT_EQ(page->Caption(), "Results");
    panel->SetVisible(false);
    EXPECT_FALSE(page->TabVisible());
    panel->SetVisible(true);
    EXPECT_TRUE(page->TabVisible());
    const TRect r = pc->TabRectEx(page->GetPageIndex());
    EXPECT_EQ(pc->GetDockClientFromMousePos(Point(r.Left + 3, r.Top + 3)), panel);
    // Taken out: the page goes, the next page forward shows.
    pc->SetActivePage(page);
    pc->UndockClient(panel);
    EXPECT_EQ(pc->GetPageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(panel->Parent(), nullptr);
    // A docked control that is freed takes its page along.
    auto* other = new TPanel(form);
    pc->DockClient(other);
    EXPECT_EQ(pc->GetPageCount(), 4);
    delete other;
    EXPECT_EQ(pc->GetPageCount(), 3);
    delete panel;
}

}  // namespace

namespace {

TEST_F(PageFixture, ControlsDraggedOnTheControlBecomePagesAndTabsDragThemOut)
{
    pc->DockSite = true;
    std::vector<std::string> dock;
    TRect dockRect;
    pc->OnGetSiteInfo = [&](TObject*, TControl*, TRect&, TPoint, bool&) { dock.push_back("info"); };
    pc->OnDockOver = [&](TObject*, TDragDockObject* src, int, int, TDragState, bool&) {
        dockRect = src->DockRect;
        dock.push_back("over");
    };
    auto* tool = Add<TPanel>(320, 220, 70, 60);
    tool->SetColor(TColor(0x0000FF));
    tool->DragKind = dkDock;
    tool->DragMode = dmAutomatic;
    // The user drags with the left button from one control to a screen point.
    auto drag = [](TWinControl* from, TPoint at, TPoint screen) {
        HostMouse(from, hmPress, mbLeft, at.X, at.Y);
        const TPoint start = from->ClientToScreen(at);
        for (int i = 1; i <= 3; ++i) {
            const TPoint p = from->ScreenToClient(
                Point(start.X + (screen.X - start.X) * i / 3, start.Y + (screen.Y - start.Y) * i / 3));
            HostMouse(from, hmMove, mbLeft, p.X, p.Y);
        }
        const TPoint p = from->ScreenToClient(screen);
        HostMouse(from, hmRelease, mbLeft, p.X, p.Y);
    };
    const TPoint onPages = pc->ClientToScreen(Point(150, 120));
    const TPoint open = form->ClientToScreen(Point(700, 100));

    drag(tool, Point(5, 5), onPages);
    ASSERT_EQ(pc->GetPageCount(), 4);
    TExTabSheet* page = pc->GetPageFromDockClient(tool);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(pc->ActivePage(), page);
    EXPECT_EQ(tool->HostDockSite(), pc);
    EXPECT_EQ(tool->Parent(), page);
    EXPECT_EQ(tool->Align(), alClient);
    EXPECT_EQ(dock.front(), "info");
    EXPECT_EQ(dock.back(), "over");
    EXPECT_EQ(dockRect, Bounds(pc->ClientOrigin().X - pc->FrameWidth(), pc->ClientOrigin().Y - pc->FrameWidth(),
                               pc->Width(), pc->Height()));
    auto bmp = PaintToBitmap(pc);
    LookAt(*bmp, "pages_docked");
    EXPECT_EQ(At(*bmp, 150, 120), TColor(0x0000FF));
    tool->SetCaption("Lines\r\nof the hull");
    EXPECT_EQ(page->Caption(), "Lines");

    // Its tab dragged into the open: the control floats there in a tool form, its page goes.
    const int tab = page->GetPageIndex();
    drag(pc, Middle(tab), open);
    EXPECT_EQ(pc->GetPageCount(), 3);
    EXPECT_EQ(pc->GetPageFromDockClient(tool), nullptr);
    EXPECT_TRUE(tool->Floating());
    auto* floating = dynamic_cast<TCustomDockForm*>(tool->HostDockSite());
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->Visible());
    EXPECT_EQ(floating->Caption(), "Lines\r\nof the hull");
    EXPECT_EQ(tool->Width(), 70);  // the size it had before it was docked
    bmp = PaintToBitmap(floating);
    EXPECT_EQ(At(*bmp, 4, 4), TColor(0x0000FF));

    // Dragged from its floating form back onto the pages: a page again, the form goes.
    drag(tool, Point(5, 5), onPages);
    page = pc->GetPageFromDockClient(tool);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(pc->GetPageCount(), 4);
    Application->ProcessMessages();
    for (int i = 0; i < Screen->FormCount(); ++i) EXPECT_EQ(dynamic_cast<TCustomDockForm*>(Screen->Forms(i)), nullptr);

    // The page control does not take a control it already holds: dropped on it, it floats.
    bool canDock = true;
    pc->OnGetSiteInfo = [&](TObject*, TControl*, TRect&, TPoint, bool& can) { canDock = can; };
    drag(pc, Middle(page->GetPageIndex()), pc->ClientToScreen(Point(150, 150)));
    EXPECT_FALSE(canDock);
    EXPECT_TRUE(tool->Floating());
    ASSERT_TRUE(tool->ManualDock(pc));
    page = pc->GetPageFromDockClient(tool);
    ASSERT_NE(page, nullptr);

    // A double click on its tab floats it where it is; docked back by the program.
    const TPoint m = Middle(page->GetPageIndex());
    HostMouse(pc, hmPress, mbLeft, m.X, m.Y);
    HostMouse(pc, hmRelease, mbLeft, m.X, m.Y);
    HostMouse(pc, hmDoubleClick, mbLeft, m.X, m.Y);
    HostMouse(pc, hmRelease, mbLeft, m.X, m.Y);
    EXPECT_TRUE(tool->Floating());
    EXPECT_TRUE(tool->Showing());
    EXPECT_EQ(pc->GetPageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    ASSERT_TRUE(tool->ManualDock(pc));
    EXPECT_EQ(pc->GetPageCount(), 4);
    Application->ProcessMessages();
}

TEST_F(PageFixture, ADockedFormNamesItsPageAndAFailedDockLeavesNoPage)
{
    pc->DockSite = true;
    auto* f = Construct<TForm>(Application);
    f->SetCaption("Results\nof the run");
    f->Show();
    ASSERT_TRUE(f->ManualDock(pc));
    TExTabSheet* page = pc->GetPageFromDockClient(f);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Caption(), "Results");
    EXPECT_EQ(f->Parent(), page);
    // Floated, a form is a window of its own again.
    ASSERT_TRUE(f->ManualDock(nullptr));
    EXPECT_EQ(f->Parent(), nullptr);
    EXPECT_TRUE(f->Floating());
    EXPECT_EQ(pc->GetPageCount(), 3);
    f->Free();

    // A control that cannot go where it is docked: the new page is freed, the error passed on.
    struct Stubborn : TPanel {
        using TPanel::TPanel;
        void SetParent(TWinControl* p) override
        {
            if (p && dynamic_cast<TExTabSheet*>(p)) throw base::EInvalidOperation("stays");
            TPanel::SetParent(p);
        }
    };
    auto* s = new Stubborn(form);
    s->SetParent(form);
    EXPECT_THROW(s->ManualDock(pc), base::EInvalidOperation);
    EXPECT_EQ(pc->GetPageCount(), 3);
    EXPECT_EQ(s->Parent(), form);
    EXPECT_EQ(s->HostDockSite(), nullptr);
}

TEST_F(PageFixture, ColouredPagesPicturesAndRoundEdges)
{
    sheets[0]->SetSheetColor(TColor(0x80FF80));
    pc->SetRoundEdges(true);
    auto bmp = PaintToBitmap(pc);
    LookAt(*bmp, "tabs_coloured");
    const int W = pc->Width(), H = pc->Height();
    const int SB = pc->TabRectEx(0).Bottom;
    // The ring round the page in the page's colour, the frame outside it.
    EXPECT_EQ(At(*bmp, 2, SB + 20), TColor(0x80FF80));
    EXPECT_EQ(At(*bmp, W - 3, H - 3), TColor(0x80FF80));
    EXPECT_EQ(At(*bmp, W / 2, H - 1), TColor(0x808080));
    // The bevelled corner away from the tabs: the frame's corner pixel is the control's colour.
    EXPECT_EQ(At(*bmp, 0, H - 1), Sys(pc->Color()));
    // Tab pictures replace the painted shapes.
    TBitmap tab(20, 16);
    tab.Canvas()->Brush().SetColor(TColor(0x4040C0));
    tab.Canvas()->FillRect(Rect(0, 0, 20, 16));
    tab.Canvas()->SetPixel(0, 15, clWhite);  // the transparent colour
    pc->SetTabBackGround(&tab);
    bmp = PaintToBitmap(pc);
    LookAt(*bmp, "tabs_pictures_back");
    const TRect r = pc->TabRectEx(2);
    EXPECT_GT(Count(*bmp, r, TColor(0x4040C0)), r.Width() * r.Height() / 3);
}

}  // namespace
