// Menus: short-cut texts, pop-up menus at a point, the menu bar with mouse and keys,
// short-cuts without an open menu, owner-drawn items, radio groups.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "LookAt.h"
#include "MenuFixture.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

TEST(ShortCutText, RoundTrips)
{
    struct Case {
        TShortCut sc;
        const char* text;
    };
    const Case cases[] = {
        {TShortCut('N' | scCtrl), "Ctrl+N"},       {TShortCut(VK_F9), "F9"},
        {TShortCut('I' | scCtrl | scAlt), "Ctrl+Alt+I"}, {TShortCut(int(VK_DELETE) | scShift), "Shift+Del"},
        {TShortCut(int(VK_F12) | scAlt), "Alt+F12"},    {TShortCut('5' | scCtrl | scShift), "Shift+Ctrl+5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.sc), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+n"), TShortCut('N' | scCtrl));
    EXPECT_EQ(TextToShortCut("Nonsense"), 0);
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(StripHotkey("&File && Folders"), "File & Folders");
    EXPECT_EQ(GetHotkey("Sa&ve"), 'V');
    EXPECT_EQ(GetHotkey("A && B"), 0);
}

using MenuFixture = MenuItemsFixture<ControlFixture>;

TEST_F(MenuFixture, PopupAtAPointRunsTheClickedItem)
{
    auto* menu = new TPopupMenu(form);
    Item(menu->Items(), "&Open");
    Item(menu->Items(), "-");
    Item(menu->Items(), "&Close");
    bool popped = false;
    menu->OnPopup = [&](TObject*) { popped = true; };
    menu->Popup(100, 80);
    EXPECT_TRUE(popped);
    TCustomControl* w = MenuWindowOf(menu->Items());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->ClientOrigin(), Point(100, 80));
    const TRect close = GetMenuItemRect(menu->Items()->Items(2));
    ASSERT_FALSE(IsRectEmpty(close));
    const TPoint p = w->ScreenToClient(Point(close.Left + 5, close.Top + 3));
    SendMouse(w, WM_MOUSEMOVE, p.X, p.Y);
    EXPECT_EQ(SelectedMenuItem(w), menu->Items()->Items(2));
    ClickAt(w, p.X, p.Y);
    EXPECT_EQ(log, std::vector<std::string>{"&Close"});
    EXPECT_FALSE(MenuActive());
    EXPECT_EQ(MenuWindowOf(menu->Items()), nullptr);
}

TEST_F(MenuFixture, PressOutsideClosesWithoutAChoiceAndDisabledItemsDoNothing)
{
    auto* menu = new TPopupMenu(form);
    TMenuItem* off = Item(menu->Items(), "Off");
    off->SetEnabled(false);
    menu->Popup(10, 10);
    TCustomControl* w = MenuWindowOf(menu->Items());
    ASSERT_NE(w, nullptr);
    const TRect r = GetMenuItemRect(off);
    const TPoint p = w->ScreenToClient(Point(r.Left + 3, r.Top + 3));
    ClickAt(w, p.X, p.Y);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(MenuActive());
    SendMouse(w, WM_LBUTTONDOWN, w->Width() + 40, 5);
    EXPECT_FALSE(MenuActive());
    EXPECT_TRUE(log.empty());
}

TEST_F(MenuFixture, ShortCutRunsTheItemWithoutTheMenu)
{
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&New", TShortCut('N' | scCtrl));
    TMenuItem* recent = Item(file, "&Recent");
    Item(recent, "First", TShortCut(VK_F9));
    auto* edit = Add<TButton>(10, 40, 80, 24);
    EXPECT_EQ(FormMenu(form), menu);
    SendKey(edit, 'N', ssCtrl);
    SendKey(edit, VK_F9);
    EXPECT_EQ(log, (std::vector<std::string>{"&New", "First"}));
    EXPECT_FALSE(MenuActive());
    // A disabled item's short-cut does nothing.
    file->Items(0)->SetEnabled(false);
    SendKey(edit, 'N', ssCtrl);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(MenuFixture, MenuBarOpensByMouseAndKeys)
{
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&New");
    Item(file, "&Save");
    TMenuItem* view = Item(menu->Items(), "&View");
    Item(view, "&Grid");
    auto* button = Add<TButton>(10, 40, 80, 24);
    TCustomControl* bar = menu->Bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Parent(), form);
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_GT(bar->Height(), 10);

    // A click on "View" opens its drop-down below it.
    const TRect viewRect = GetMenuItemRect(view);
    const TPoint vp = bar->ScreenToClient(Point(viewRect.Left + 4, viewRect.Top + 4));
    SendMouse(bar, WM_LBUTTONDOWN, vp.X, vp.Y);
    TCustomControl* drop = MenuWindowOf(view);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->Left(), viewRect.Left);
    EXPECT_EQ(drop->Top(), viewRect.Bottom);
    // Keys: Down selects the first item, Left moves to "File", Down Down Enter runs "Save".
    SendKey(button, VK_DOWN);
    EXPECT_EQ(SelectedMenuItem(drop), view->Items(0));
    SendKey(button, VK_LEFT);
    TCustomControl* fileDrop = MenuWindowOf(file);
    ASSERT_NE(fileDrop, nullptr);
    SendKey(button, VK_DOWN);
    SendKey(button, VK_DOWN);
    SendKey(button, VK_RETURN);
    EXPECT_EQ(log, std::vector<std::string>{"&Save"});
    EXPECT_FALSE(MenuActive());

    // Alt+F opens "File"; the accelerator letter runs "New"; Esc twice closes all.
    SendKey(button, 'F', ssAlt);
    EXPECT_NE(MenuWindowOf(file), nullptr);
    SendKey(button, 'N');
    EXPECT_EQ(log.back(), "&New");
    SendKey(button, 'F', ssAlt);
    SendKey(button, VK_ESCAPE);
    EXPECT_TRUE(MenuActive());
    SendKey(button, VK_ESCAPE);
    EXPECT_FALSE(MenuActive());
    // F10 activates the bar without opening anything.
    SendKey(button, VK_F10);
    EXPECT_TRUE(MenuActive());
    EXPECT_EQ(SelectedMenuItem(bar), file);
    SendKey(button, VK_ESCAPE);
    EXPECT_FALSE(MenuActive());
}

TEST_F(MenuFixture, SubMenusOpenOnHoverAndRunTheirItems)
{
    auto* menu = new TPopupMenu(form);
    TMenuItem* more = Item(menu->Items(), "More");
    Item(more, "Deep");
    Item(menu->Items(), "Other");
    menu->Popup(20, 20);
    TCustomControl* w = MenuWindowOf(menu->Items());
    const TRect r = GetMenuItemRect(more);
    const TPoint p = w->ScreenToClient(Point(r.Left + 3, r.Top + 3));
    SendMouse(w, WM_MOUSEMOVE, p.X, p.Y);
    TCustomControl* sub = MenuWindowOf(more);
    ASSERT_NE(sub, nullptr);
    EXPECT_GE(sub->Left(), w->Left() + w->Width() - 6);
    const TRect d = GetMenuItemRect(more->Items(0));
    const TPoint dp = sub->ScreenToClient(Point(d.Left + 3, d.Top + 3));
    ClickAt(sub, dp.X, dp.Y);
    EXPECT_EQ(log, std::vector<std::string>{"Deep"});
}

TEST_F(MenuFixture, RightClickOnAControlShowsItsPopupMenu)
{
    auto* menu = new TPopupMenu(form);
    Item(menu->Items(), "Copy");
    auto* button = Add<TButton>(10, 40, 80, 24);
    SetPopupMenu(button, menu);
    SendMouse(button, WM_RBUTTONDOWN, 5, 5);
    SendMouse(button, WM_RBUTTONUP, 5, 5);
    TCustomControl* w = MenuWindowOf(menu->Items());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ClientOrigin(), button->ClientToScreen(Point(5, 5)));
    EXPECT_EQ(menu->PopupComponent, button);
    CloseMenus();
    menu->AutoPopup = false;
    SendMouse(button, WM_RBUTTONUP, 5, 5);
    EXPECT_FALSE(MenuActive());
}

TEST_F(MenuFixture, OwnerDrawnItemsAreMeasuredAndDrawnByTheirHandlers)
{
    auto* menu = new TPopupMenu(form);
    menu->SetOwnerDraw(true);
    TMenuItem* a = Item(menu->Items(), "A");
    TMenuItem* b = Item(menu->Items(), "B");
    std::vector<std::string> calls;
    for (TMenuItem* item : {a, b}) {
        item->OnMeasureItem = [&, item](TObject*, TCanvas*, int& w, int& h) {
            calls.push_back("measure " + item->Caption());
            w = 120;
            h = item == a ? 30 : 20;
        };
        item->OnAdvancedDrawItem = [&, item](TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
            calls.push_back("draw " + item->Caption() + ((s & odSelected) ? " selected" : "") +
                            ((s & odDisabled) ? " disabled" : ""));
            c->Brush().SetColor(item == a ? clRed : clBlue);
            c->FillRect(r);
        };
    }
    b->SetEnabled(false);
    menu->Popup(0, 0);
    auto* w = MenuWindowOf(menu->Items());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Width(), 120 + 6);
    EXPECT_EQ(w->Height(), 50 + 6);
    const TRect ra = GetMenuItemRect(a);
    SendMouse(w, WM_MOUSEMOVE, 10, 10);
    calls.clear();
    auto bmp = PaintToBitmap(w);
    LookAt(*bmp, "menu_ownerdraw");
    EXPECT_EQ(calls, (std::vector<std::string>{"draw A selected", "draw B disabled"}));
    EXPECT_EQ(bmp->Canvas()->Pixel(60, 3 + 15), clRed);  // inside the 3-pixel frame
    EXPECT_EQ(bmp->Canvas()->Pixel(60, 3 + 40), clBlue);
    EXPECT_EQ(ra.Height(), 30);
    // A run-time change of a caption is measured again.
    calls.clear();
    a->SetCaption("AA");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "measure AA"), calls.end());
}

TEST_F(MenuFixture, DefaultLookShowsChecksShortCutsAndDisabledText)
{
    auto* menu = new TPopupMenu(form);
    TMenuItem* grid = Item(menu->Items(), "&Grid", TShortCut('G' | scCtrl));
    grid->SetChecked(true);
    Item(menu->Items(), "-");
    Item(menu->Items(), "Gone")->SetEnabled(false);
    menu->Popup(0, 0);
    auto* w = MenuWindowOf(menu->Items());
    auto bmp = PaintToBitmap(w);
    LookAt(*bmp, "menu_default");
    const TRect g = GetMenuItemRect(grid);
    // A tick in the check column, the caption and the short-cut at the right.
    EXPECT_GT(Dark(*bmp, Rect(g.Left, g.Top, g.Left + 16, g.Bottom)), 5);
    EXPECT_GT(Dark(*bmp, Rect(g.Left + 22, g.Top, g.Left + 60, g.Bottom)), 5);
    EXPECT_GT(Dark(*bmp, Rect(g.Right - 60, g.Top, g.Right - 14, g.Bottom)), 5);
    const TRect gone = GetMenuItemRect(menu->Items()->Items(2));
    EXPECT_EQ(Dark(*bmp, gone), 0);  // grey text only
    int grey = 0;
    for (int y = gone.Top; y < gone.Bottom; ++y)
        for (int x = gone.Left; x < gone.Right; ++x) {
            const int red = bmp->Canvas()->Pixel(x, y) & 0xFF;
            grey += red >= 0x60 && red < 0xD0;
        }
    EXPECT_GT(grey, 20);
}

TEST_F(MenuFixture, RadioItemsOfAGroupCheckOneAtATime)
{
    auto* menu = new TPopupMenu(form);
    TMenuItem* a = Item(menu->Items(), "A");
    TMenuItem* b = Item(menu->Items(), "B");
    TMenuItem* c = Item(menu->Items(), "C");
    for (TMenuItem* i : {a, b}) {
        i->SetRadioItem(true);
        i->SetGroupIndex(3);
        i->AutoCheck = true;
    }
    c->SetRadioItem(true);
    a->SetChecked(true);
    c->SetChecked(true);
    b->Click();
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked());  // another group
    EXPECT_EQ(a->GetParentComponent(), menu);
    auto* sub = Item(a, "Sub");
    EXPECT_EQ(sub->GetParentComponent(), a);
    EXPECT_EQ(sub->GetParentMenu(), menu);
}

}  // namespace

TEST_F(MenuFixture, AfterEscTheBarShowsItsItemAndAPressElsewhereOrEscLeavesMenuMode)
{
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&New");
    TMenuItem* view = Item(menu->Items(), "&View");
    Item(view, "&Grid");
    auto* edit = Add<TEdit>(10, 60, 120, 24);
    TCustomControl* bar = menu->Bar();
    const TRect fileRect = GetMenuItemRect(file);
    const TPoint fp = bar->ScreenToClient(Point(fileRect.Left + 4, fileRect.Top + 4));
    const TPoint tl = bar->ScreenToClient(Point(fileRect.Left, fileRect.Top)),
                 br = bar->ScreenToClient(Point(fileRect.Right, fileRect.Bottom));
    const TRect item = Rect(tl.X, tl.Y, br.X, br.Y);
    auto idle = PaintToBitmap(bar);

    struct Case {
        const char* how;
        std::function<void()> leave;
    } cases[] = {
        {"second Esc", [&] { SendKey(edit, VK_ESCAPE); }},
        {"press on the edit", [&] { SendMouse(edit, WM_LBUTTONDOWN, 5, 5); SendMouse(edit, WM_LBUTTONUP, 5, 5); }},
        {"press through the window system",
         [&] {
             HostMouse(edit, hmPress, mbLeft, 5, 5);
             HostMouse(edit, hmRelease, mbLeft, 5, 5);
         }},
    };
    for (const Case& c : cases) {
        edit->SetText("");
        SendMouse(bar, WM_LBUTTONDOWN, fp.X, fp.Y);
        ASSERT_NE(MenuWindowOf(file), nullptr) << c.how;
        SendKey(edit, VK_ESCAPE);
        Application->ProcessMessages();
        // Menu mode: no drop-down, the bar holds the mouse and shows "File" marked.
        EXPECT_TRUE(MenuActive()) << c.how;
        EXPECT_EQ(MenuWindowOf(file), nullptr) << c.how;
        EXPECT_EQ(SelectedMenuItem(bar), file) << c.how;
        EXPECT_EQ(GetCaptureControl(), bar) << c.how;
        auto marked = PaintToBitmap(bar);
        int differing = 0;
        for (int y = item.Top; y < item.Bottom; ++y)
            for (int x = item.Left; x < item.Right; ++x)
                if (marked->Canvas()->Pixel(x, y) != idle->Canvas()->Pixel(x, y)) ++differing;
        EXPECT_GT(differing, 10) << c.how;
        c.leave();
        Application->ProcessMessages();
        EXPECT_FALSE(MenuActive()) << c.how;
        EXPECT_NE(GetCaptureControl(), bar) << c.how;
        // Typing reaches the field again.
        edit->SetFocus();
        HostKey(edit, '4');
        HostKey(edit, '2');
        EXPECT_EQ(edit->Text(), "42") << c.how;
    }
    EXPECT_TRUE(log.empty());
}
