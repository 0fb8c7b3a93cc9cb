// Tab controls and page controls: tab geometry on every side, switching by mouse and keys
// with the events in order, owner-drawn tabs, pages that show one at a time.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LookAt.h"
#include "base/StringList.h"
#include "platform/controls/PageControl.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

class TabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tabs = new TTabControl(owner.get());
        tabs->SetBounds(0, 0, 300, 120);
        for (const char* s : {"One", "Two", "Three"}) tabs->Tabs().Add(s);
        tabs->OnChanging = [this](TObject*, bool& allow) {
            log.push_back("changing from " + std::to_string(tabs->TabIndex()));
            allow = !refuse;
        };
        tabs->OnChange = [this](TObject*) { log.push_back("change to " + std::to_string(tabs->TabIndex())); };
    }
    TPoint Middle(int i) const
    {
        const TRect r = tabs->TabRect(i);
        return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>();
    TTabControl* tabs = nullptr;
    std::vector<std::string> log;
    bool refuse = false;
};

TEST_F(TabTest, TabsLieSideBySideAndAroundThePageOnEverySide)
{
    EXPECT_EQ(tabs->TabIndex(), 0);  // the first tab comes selected
    const TRect r0 = tabs->TabRect(0), r1 = tabs->TabRect(1), r2 = tabs->TabRect(2);
    EXPECT_EQ(r0.Right, r1.Left);
    EXPECT_EQ(r1.Right, r2.Left);
    EXPECT_GT(r2.Width(), r0.Width());  // sized by the text
    EXPECT_EQ(tabs->TabRect(3), TRect{});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->IndexOfTabAt(Middle(i).X, Middle(i).Y), i);
    EXPECT_EQ(tabs->IndexOfTabAt(r2.Right + 5, Middle(2).Y), -1);
    const int thick = r0.Height();
    const TRect c = tabs->ClientRect();
    const struct {
        TTabPosition pos;
        TRect tab0, display;
    } sides[] = {
        {tpTop, Rect(2, 2, 2 + r0.Width(), 2 + thick), Rect(4, 2 + thick + 4, c.Right - 4, c.Bottom - 4)},
        {tpBottom, Rect(2, c.Bottom - 2 - thick, 2 + r0.Width(), c.Bottom - 2), Rect(4, 4, c.Right - 4, c.Bottom - 2 - thick - 4)},
        {tpLeft, Rect(2, 2, 2 + thick, 2 + r0.Width()), Rect(2 + thick + 4, 4, c.Right - 4, c.Bottom - 4)},
        {tpRight, Rect(c.Right - 2 - thick, 2, c.Right - 2, 2 + r0.Width()), Rect(4, 4, c.Right - 2 - thick - 4, c.Bottom - 4)},
    };
    for (const auto& s : sides) {
        tabs->SetTabPosition(s.pos);
        EXPECT_EQ(tabs->TabRect(0), s.tab0) << s.pos;
        EXPECT_EQ(tabs->DisplayRect(), s.display) << s.pos;
        TCHITTESTINFO hit;
        hit.pt = Middle(1);
        EXPECT_EQ(tabs->Perform(TCM_HITTEST, 0, LPARAM(&hit)), 1) << s.pos;
        EXPECT_EQ(hit.flags, UINT(TCHT_ONITEM));
    }
    tabs->SetTabWidth(50);
    tabs->SetTabHeight(30);
    EXPECT_EQ(tabs->TabRect(1), Rect(c.Right - 32, 52, c.Right - 2, 102));
}

TEST_F(TabTest, ManyTabsWrapIntoRowsWithTheSelectedRowAtThePage)
{
    const int w0 = tabs->TabRect(0).Width(), w1 = tabs->TabRect(1).Width(), thick = tabs->TabRect(0).Height();
    tabs->SetBounds(0, 0, w0 + w1 + 10, 120);  // "Three" no longer fits beside them
    EXPECT_EQ(tabs->RowCount(), 1);             // one row while MultiLine is off
    tabs->SetMultiLine(true);
    ASSERT_EQ(tabs->RowCount(), 2);
    // Tab 0 is selected: its row (0 and 1) lies at the page, "Three" behind it.
    EXPECT_EQ(tabs->TabRect(0).Top, 2 + thick);
    EXPECT_EQ(tabs->TabRect(2).Top, 2);
    EXPECT_EQ(tabs->DisplayRect().Top, 2 + 2 * thick + 4);
    // Rows fill the width unless RaggedRight.
    const int room = tabs->ClientWidth() - 4;
    EXPECT_EQ(tabs->TabRect(1).Right, 2 + room);
    EXPECT_EQ(tabs->TabRect(2).Width(), room);
    tabs->SetRaggedRight(true);
    EXPECT_EQ(tabs->TabRect(1).Right, 2 + w0 + w1);
    // Choosing "Three" brings its row to the page.
    ClickAt(tabs, tabs->TabRect(2).Left + 5, 5);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(tabs->TabRect(2).Top, 2 + thick);
    EXPECT_EQ(tabs->TabRect(0).Top, 2);
    tabs->SetTabPosition(tpBottom);
    EXPECT_EQ(tabs->TabRect(2).Top, tabs->ClientHeight() - 2 - 2 * thick);
    EXPECT_EQ(tabs->TabRect(0).Bottom, tabs->ClientHeight() - 2);
    LookAt(*PaintToBitmap(tabs), "tabs-multiline");
}

TEST_F(TabTest, TheMouseSwitchesTabsThroughTheVeto)
{
    ClickAt(tabs, Middle(2).X, Middle(2).Y);
    EXPECT_EQ(tabs->TabIndex(), 2);
    refuse = true;
    ClickAt(tabs, Middle(1).X, Middle(1).Y);
    EXPECT_EQ(tabs->TabIndex(), 2);
    refuse = false;
    ClickAt(tabs, Middle(2).X, Middle(2).Y);  // the selected tab: nothing
    EXPECT_EQ(log, (std::vector<std::string>{"changing from 0", "change to 2", "changing from 2"}));
    log.clear();
    tabs->SetTabIndex(0);  // from code: no events
    EXPECT_TRUE(log.empty());
    tabs->SetFocus();
    SendKey(tabs, VK_RIGHT);
    SendKey(tabs, VK_RIGHT);
    SendKey(tabs, VK_RIGHT);  // stays on the last
    SendKey(tabs, VK_LEFT);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"changing from 0", "change to 1", "changing from 1", "change to 2",
                                             "changing from 2", "change to 1"}));
}

TEST_F(TabTest, OwnerDrawnTabsAreDrawnInsideTheirFrames)
{
    tabs->SetOwnerDraw(true);
    std::vector<std::string> drawn;
    tabs->OnDrawTab = [&](TCustomTabControl* control, int index, const TRect& r, bool active) {
        drawn.push_back(std::to_string(index) + (active ? " active" : ""));
        EXPECT_TRUE(index == control->TabIndex() || (r.Left > control->TabRect(index).Left && r.Right < control->TabRect(index).Right));
        control->Canvas()->Brush().SetColor(active ? clRed : clYellow);
        control->Canvas()->FillRect(r);
    };
    tabs->Perform(TCM_HIGHLIGHTITEM, 2, 1);
    EXPECT_TRUE(tabs->Highlighted(2));
    auto bmp = PaintToBitmap(tabs);
    LookAt(*bmp, "tabs-ownerdraw");
    EXPECT_EQ(drawn, (std::vector<std::string>{"1", "2", "0 active"}));
    EXPECT_EQ(bmp->Canvas()->Pixel(Middle(0).X, Middle(0).Y), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixel(Middle(1).X, Middle(1).Y), clYellow);
    tabs->SetOwnerDraw(false);
    for (TTabPosition p : {tpBottom, tpLeft, tpRight}) {
        tabs->SetTabPosition(p);
        LookAt(*PaintToBitmap(tabs), "tabs-side" + std::to_string(p));
    }
}

// ---- page controls

class PageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 320, 200);
        pages = new TPageControl(form);
        pages->SetParent(form);
        pages->SetBounds(10, 10, 300, 150);
        for (const char* name : {"Hull", "Frames", "Offsets"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetPageControl(pages);
            sheet->SetCaption(name);
            sheet->OnShow = [this, name](TObject*) { log.push_back(std::string("show ") + name); };
            sheet->OnHide = [this, name](TObject*) { log.push_back(std::string("hide ") + name); };
            sheets.push_back(sheet);
        }
        pages->OnChanging = [this](TObject*, bool& allow) {
            log.push_back("changing");
            allow = !refuse;
        };
        pages->OnChange = [this](TObject*) { log.push_back("change " + std::to_string(pages->ActivePageIndex())); };
    }
    void TearDown() override { form->Free(); }
    void ClickTab(int tab)
    {
        const TRect r = pages->TabRect(tab);
        ClickAt(pages, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void CtrlTab(TWinControl* from, bool back)
    {
        const TShiftState s = ssCtrl | (back ? ssShift : 0u);
        SendKey(from, VK_TAB, s);
    }
    TForm* form = nullptr;
    TPageControl* pages = nullptr;
    std::vector<TTabSheet*> sheets;
    std::vector<std::string> log;
    bool refuse = false;
};

TEST_F(PageTest, OnePageShowsAndFillsThePageArea)
{
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(pages->Tabs().Text(), "Hull\r\nFrames\r\nOffsets\r\n");
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(sheets[0]->BoundsRect(), pages->DisplayRect());
    pages->SetTabPosition(tpBottom);
    EXPECT_EQ(sheets[0]->BoundsRect(), pages->DisplayRect());
    auto bmp = PaintToBitmap(pages);
    LookAt(*bmp, "pages-bottom");
}

TEST_F(PageTest, AClickOnATabShowsItsPageWithTheEventsInOrder)
{
    log.clear();
    ClickTab(2);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "show Offsets", "hide Hull", "change 2"}));
    log.clear();
    refuse = true;
    ClickTab(1);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(log, std::vector<std::string>{"changing"});
}

TEST_F(PageTest, CtrlTabTurnsThePagesFromInsideAPageAndWraps)
{
    auto* inner = new TPageControl(form);  // any focusable control on the page
    inner->SetParent(sheets[0]);
    inner->SetBounds(5, 5, 50, 30);
    sheets[1]->SetTabVisible(false);  // skipped
    form->Show();
    inner->SetFocus();
    log.clear();
    CtrlTab(inner, false);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(FindFocusedControl(), sheets[2]);  // the focus left the hidden page for the shown one
    CtrlTab(pages, false);           // wraps to the first
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    CtrlTab(pages, true);            // and back
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "show Offsets", "hide Hull", "change 2", "changing",
                                             "show Hull", "hide Offsets", "change 0", "changing", "show Offsets",
                                             "hide Hull", "change 2"}));
    SendKey(pages, VK_TAB);  // plain Tab moves the focus, not the page
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_TRUE(pages->Focused());
    form->Hide();
}

TEST_F(PageTest, TabsFollowThePagesThatShowThem)
{
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(pages->Tabs().Count(), 2);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    EXPECT_EQ(sheets[2]->PageIndex(), 2);
    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(pages->TabIndex(), 1);
    sheets[1]->SetTabVisible(true);
    EXPECT_EQ(pages->TabIndex(), 2);  // the active page keeps its tab
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    sheets[0]->SetPageIndex(2);
    EXPECT_EQ(pages->Tabs().Text(), "Frames\r\nOffsets\r\nHull\r\n");
    EXPECT_THROW(sheets[0]->SetPageIndex(3), base::EListError);
    sheets[1]->SetCaption("Stations");
    EXPECT_EQ(pages->Tabs()[0], "Stations");
    // The active page going shows the next one; others leave the active page alone.
    delete sheets[2];
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    delete sheets[1];
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(pages->TabIndex(), 0);
    delete sheets[0];
    EXPECT_EQ(pages->ActivePage(), nullptr);
    EXPECT_EQ(pages->TabIndex(), -1);
}

}  // namespace
