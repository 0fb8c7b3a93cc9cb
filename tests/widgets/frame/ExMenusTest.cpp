// Owner-drawn menus and their stylers: colour sets, gradient routines, measuring, the
// painted look of items in the office and fantasy looks, pop-ups at a point, short-cuts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameFixture.h"
#include "platform/MenuFixture.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"
#include "widgets/frame/ExMenus.h"

using namespace platform;
using namespace frame;

namespace {

TEST(MenuUtil, GeometryAndColours)
{
    TRect r = Rect(0, 0, 24, 20);
    CenterRect(r, 16, 16);
    EXPECT_EQ(r, Rect(4, 2, 20, 18));
    EXPECT_EQ(frame::RGB(1, 2, 3, 0), 0x030201u);
    EXPECT_EQ(CenterPoint(Rect(0, 0, 9, 5)), Point(4, 2));
    EXPECT_TRUE(RectInRect(Rect(1, 1, 3, 3), Rect(0, 0, 5, 5)));
    EXPECT_FALSE(SupportsLayeredWindows());
    try {
        TGradientBar bar;
        bar.GetGradientColor(2);
        FAIL();
    } catch (const EInvalidPropertyIndex& e) {
        EXPECT_STREQ(e.what(), "Invalid property index 2.");
    }
}

TEST(MenuUtil, Gradients)
{
    TBitmap b(20, 20);
    TCanvas* c = b.Canvas();
    // Plain when the end colour is none or the same.
    DrawGradient(c, Rect(0, 0, 20, 20), TColor(0x102030), clNone, gdVertical);
    EXPECT_EQ(c->Pixel(10, 19), TColor(0x102030));
    // Vertical: row d gets from + diff * d / h, truncated; the last row stops short of To.
    DrawGradient(c, Rect(0, 0, 20, 10), TColor(0x000000), TColor(0x0000A0), gdVertical);
    EXPECT_EQ(c->Pixel(5, 0), TColor(0));
    EXPECT_EQ(c->Pixel(5, 5), TColor(0x50));
    EXPECT_EQ(c->Pixel(5, 9), TColor(0x90));
    // Clipped pieces join the whole: the piece's colours come from the big rectangle.
    DrawGradientClipped(c, Rect(0, 0, 20, 10), Rect(0, 5, 20, 10), TColor(0), TColor(0xA0), gdVertical);
    EXPECT_EQ(c->Pixel(5, 5), TColor(0x50));
    // gtBoth, width 4, vertical, on 20 rows: 4-row bands at both ends around From.
    c->Brush().SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 20));
    DrawGradientEx(c, Rect(0, 0, 20, 20), TColor(0x0000FF), TColor(0x00FF00), gdVertical, gtBoth, 4, 0);
    EXPECT_EQ(c->Pixel(3, 0), TColor(0x00FF00));
    EXPECT_EQ(c->Pixel(3, 10), TColor(0x0000FF));
    EXPECT_NE(c->Pixel(3, 17), TColor(0x0000FF));
    EXPECT_EQ(c->Pixel(3, 4), TColor(0x0000FF));
    // Horizontal on 20 columns: 2-column bands.
    DrawGradientEx(c, Rect(0, 0, 20, 20), TColor(0x0000FF), TColor(0x00FF00), gdHorizontal, gtBoth, 4, 0);
    EXPECT_EQ(c->Pixel(0, 5), TColor(0x00FF00));
    EXPECT_EQ(c->Pixel(2, 5), TColor(0x0000FF));
    EXPECT_NE(c->Pixel(19, 5), TColor(0x0000FF));
}

TEST(MenuStylers, OfficeLooks)
{
    TExMenuOfficeStyler s(nullptr);
    EXPECT_EQ(s.Style(), osOffice2003Blue);
    EXPECT_FALSE(s.AutoThemeAdapt);
    EXPECT_EQ(s.MenuBorderColor, TColor(0x962D00));
    s.SetStyle(osOfficeXP);
    EXPECT_EQ(s.IconBar().RadioColor(), TColor(0x6FC0FF));  // the blue values stay
    EXPECT_EQ(s.IconBar().RadioBorder, TColor(0x6F4B4B));
    EXPECT_EQ(s.IconBar().Color(), clBtnFace);
    EXPECT_EQ(s.SelectedItem().Color(), TColor(0xEFD3C6));
    EXPECT_EQ(s.SelectedItem().BorderColor, TColor(0xC66931));
    EXPECT_EQ(s.Separator().Color(), TColor(0x7A868A));
    EXPECT_EQ(s.MenuBorderColor, TColor(0x808080));
    EXPECT_EQ(s.RootItem().GradientDirection, gdHorizontal);
    s.SetStyle(osOffice2003Silver);
    EXPECT_EQ(s.MenuBorderColor, TColor(0x5E8D75));
    s.IconBar().SetSize(10);
    EXPECT_EQ(s.IconBar().Size(), 16);
    EXPECT_EQ(s.SideBar().SplitterColorTo, clNone);
    // Without a colour scheme the adaptation takes the XP look.
    s.AutoThemeAdapt = true;
    s.Loaded();
    EXPECT_EQ(s.Style(), osOfficeXP);
}

TEST(MenuStylers, AssignCopiesWhatEachPartLists)
{
    TSelectedItem a, b;
    a.BorderColor = TColor(1);
    a.SetCheckColor(0, TColor(2));
    a.CheckBorder = TColor(3);
    a.SetColor(TColor(4));
    a.SetUseSystemFont(false);
    b.Assign(a);
    EXPECT_EQ(b.BorderColor, TColor(1));
    EXPECT_EQ(b.CheckColor(), TColor(2));
    EXPECT_FALSE(b.UseSystemFont());
    EXPECT_EQ(b.CheckBorder, TColor(0x6F4B4B));  // not copied
    EXPECT_EQ(b.Color(), TColor(0xC2EEFF));
    TMenuGlyphs g1, g2;
    g1.Check()->SetSize(5, 5);
    g2.Assign(g1);
    EXPECT_EQ(g2.Check()->Width(), 5);
    TExMenuStyler plain(nullptr);
    TCustomExMenuStyler custom(nullptr);
    EXPECT_THROW(plain.Assign(custom), base::Exception);
}

TEST(MenuStylers, FantasyLooks)
{
    TExMenuFantasyStyler s(nullptr);
    EXPECT_EQ(s.Style(), fsChocolate);
    EXPECT_EQ(s.IconBar().Color(), TColor(0xD7EDED));
    EXPECT_EQ(s.SelectedItem().BorderColor, TColor(0x94CCCB));
    EXPECT_FALSE(s.SelectedItem().UseSystemFont());
    s.SetStyle(fsTextured);
    EXPECT_TRUE(s.Background().HasImage());
    EXPECT_EQ(s.Background().Position, bpTiled);
    s.SetStyle(fsMacOS);
    EXPECT_FALSE(s.Background().HasImage());
    EXPECT_EQ(s.Background().Position, bpTiled);
    s.SetStyle(fsWindowsClassic);
    EXPECT_TRUE(s.SideBar().Visible());
    const std::string caption = s.SideBar().Caption;
    s.SetStyle(fsArctic);
    EXPECT_FALSE(s.SideBar().Visible());
    EXPECT_EQ(s.SideBar().Caption, caption);
    EXPECT_EQ(s.SideBar().Image().Color(), TColor(0xEDC6A9));
}

struct ExMenuFixture : MenuItemsFixture<FrameFixture> {
    // The window's picture and the rectangle of item in it.
    static TRect InWindow(TWinControl* w, TMenuItem* item)
    {
        TRect r = GetMenuItemRect(item);
        OffsetRect(r, -w->ClientOrigin().X, -w->ClientOrigin().Y);
        return r;
    }
};

TEST_F(ExMenuFixture, MeasuresItemsAsTheStylerSays)
{
    auto* menu = new TExPopupMenu(form);
    TMenuItem* open = Item(menu->Items(), "Open");
    TMenuItem* line = Item(menu->Items(), "-");
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    c->Font().Assign(TMenu::MenuFont());
    int w = 0, h = 16;
    MeasureItem(open, c, w, h, false);
    TRect t = Rect(0, 0, 0, 0);
    DrawText(c->Handle(), "Open", -1, &t, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(w, 24 + 15 + t.Width() + 7 + 17);
    EXPECT_EQ(h, 16);
    w = 0, h = 16;
    MeasureItem(line, c, w, h, false);
    EXPECT_EQ(w, -2);
    EXPECT_EQ(h, 3);
    menu->GetMenuStyler()->SetUseSystemFont(false);
    w = 0, h = 16;
    MeasureItem(open, c, w, h, false);
    EXPECT_EQ(h, (t.Height() + 6 + 1) / 2 * 2);
    EXPECT_EQ(menu->Version(), "1.1.0.0");
    EXPECT_EQ(menu->GetMenuStyler()->Name(), "InternalMenuStyler");
}

TEST_F(ExMenuFixture, StylerChangesAndRemoval)
{
    auto* menu = new TExPopupMenu(form);
    auto* styler = new TExMenuOfficeStyler(form);
    TCustomExMenuStyler* internal = menu->GetMenuStyler();
    menu->SetMenuStyler(nullptr);
    EXPECT_EQ(menu->GetMenuStyler(), internal);
    menu->SetMenuStyler(styler);
    EXPECT_EQ(menu->GetMenuStyler(), styler);
    EXPECT_EQ(menu->InternalStyler(), nullptr);
    EXPECT_EQ(styler->Menu(), menu);
    delete styler;
    ASSERT_NE(menu->GetMenuStyler(), nullptr);
    EXPECT_EQ(menu->GetMenuStyler()->Name(), "InternalMenuStyler");
}

TEST_F(ExMenuFixture, HandlersAttachAndKeepTheUsersOwn)
{
    auto* popup = new TExPopupMenu(form);
    auto* mine = new TMenuItem(form);
    mine->SetCaption("Mine");
    bool drawn = false;
    mine->OnDrawItem = [&](TObject*, TCanvas*, TRect, bool) { drawn = true; };
    popup->Items()->Add(mine);
    TMenuItem* plain = Item(popup->Items(), "Plain");
    EXPECT_TRUE(bool(plain->OnAdvancedDrawItem));  // at once in a pop-up menu
    EXPECT_FALSE(bool(mine->OnAdvancedDrawItem));  // its own drawing stays
    EXPECT_TRUE(bool(mine->OnMeasureItem));
    popup->Popup(50, 50);
    auto bmp = PaintToBitmap(MenuWindowOf(popup->Items()));
    EXPECT_TRUE(drawn);

    auto* main = new TExMainMenu(form);
    TMenuItem* file = Item(main->Items(), "File");
    EXPECT_FALSE(bool(file->OnAdvancedDrawItem));  // a main menu waits for EndUpdate or Loaded
    main->BeginUpdate();
    main->EndUpdate();
    EXPECT_TRUE(bool(file->OnAdvancedDrawItem));
    TMenuItem* late = Item(main->Items(), "Late");
    main->Loaded();
    EXPECT_TRUE(bool(late->OnAdvancedDrawItem));
}

TEST_F(ExMenuFixture, OfficeXPPopupIsPaintedInItsLook)
{
    auto* styler = new TExMenuOfficeStyler(form);
    styler->SetStyle(osOfficeXP);
    auto* menu = new TExPopupMenu(form);
    menu->SetMenuStyler(styler);
    TMenuItem* open = Item(menu->Items(), "&Open", TShortCut('O' | scCtrl));
    Item(menu->Items(), "-");
    TMenuItem* grid = Item(menu->Items(), "&Grid");
    grid->SetChecked(true);
    TMenuItem* gone = Item(menu->Items(), "Gone");
    gone->SetEnabled(false);
    menu->Popup(100, 80);
    TCustomControl* w = MenuWindowOf(menu->Items());
    ASSERT_NE(w, nullptr);
    PaintToBitmap(w);  // the first painting shapes and places the window
    EXPECT_EQ(w->Left(), 99);
    EXPECT_EQ(w->Top(), 78);
    const TRect o = InWindow(w, open);
    SendMouse(w, WM_MOUSEMOVE, o.Left + 30, o.Top + 3);
    auto bmp = PaintToBitmap(w);
    LookAt(*bmp, "exmenu_officexp");
    const TRect g = InWindow(w, grid);
    const TRect sep = InWindow(w, menu->Items()->Items(1));
    const TRect d = InWindow(w, gone);
    // Icon column in button face, background in window colour.
    EXPECT_EQ(At(*bmp, g.Left + 1, g.Top + 1), Sys(clBtnFace));
    EXPECT_EQ(At(*bmp, g.Left + 60, g.Top + 1), Sys(clWindow));
    // The selected item: 0xEFD3C6 inside a 0xC66931 border, the strip of 17 pixels left out.
    EXPECT_EQ(At(*bmp, o.Left, o.Top + 5), TColor(0xC66931));
    EXPECT_EQ(At(*bmp, o.Left + 40, o.Top), TColor(0xC66931));
    EXPECT_EQ(At(*bmp, o.Left + 40, o.Top + 3), TColor(0xEFD3C6));
    EXPECT_EQ(At(*bmp, o.Right - 18, o.Top + 5), TColor(0xC66931));
    // Caption and the short-cut, right-aligned 10 pixels before the text area's end.
    EXPECT_GT(Black(*bmp, Rect(o.Left + 32, o.Top, o.Left + 60, o.Bottom)), 5);
    EXPECT_GT(Black(*bmp, Rect(o.Right - 17 - 40, o.Top, o.Right - 17 - 10, o.Bottom)), 5);
    EXPECT_EQ(Black(*bmp, Rect(o.Right - 17 - 9, o.Top, o.Right, o.Bottom)), 0);
    // The separator: a line of 0x7A868A right of the icon column, inset by its margin.
    const int mid = sep.Top + sep.Height() / 2;
    EXPECT_EQ(At(*bmp, sep.Left + 24 + 5, mid), TColor(0x7A868A));
    EXPECT_EQ(At(*bmp, sep.Left + 24 + 1, mid), Sys(clWindow));
    // The checked item without a picture: a box in the icon column framed in the check
    // border colour with the tick inside.
    TRect box = Rect(g.Left, g.Top, g.Left + 24, g.Bottom);
    const int side = std::min(box.Width(), box.Height());
    CenterRect(box, side, side);
    EXPECT_EQ(At(*bmp, box.Left, box.Top + 5), Sys(clBtnFace));
    EXPECT_GT(Count(*bmp, box, TColor(0)), 8);
    // The disabled item: embossed, nothing black.
    EXPECT_EQ(Black(*bmp, Rect(d.Left + 24, d.Top, d.Right, d.Bottom)), 0);
    EXPECT_GT(Count(*bmp, Rect(d.Left + 24, d.Top, d.Right, d.Bottom), Sys(clBtnHighlight)), 3);
    // The frame: the menu border colour, then the background colour inside.
    EXPECT_EQ(At(*bmp, 1, 20), TColor(0x808080));
    EXPECT_EQ(At(*bmp, 2, 20), Sys(clWindow));
    EXPECT_EQ(At(*bmp, w->Width() - 1 - 17 - 1, 20), TColor(0x808080));
}

TEST_F(ExMenuFixture, FantasyLookAndSideBar)
{
    auto* styler = new TExMenuFantasyStyler(form);
    styler->SetStyle(fsWindowsClassic);
    auto* menu = new TExPopupMenu(form);
    menu->SetMenuStyler(styler);
    TMenuItem* a = Item(menu->Items(), "Alpha");
    Item(menu->Items(), "Beta");
    Item(menu->Items(), "Gamma");
    menu->Popup(10, 10);
    TCustomControl* w = MenuWindowOf(menu->Items());
    PaintToBitmap(w);
    const TRect r = InWindow(w, a);
    SendMouse(w, WM_MOUSEMOVE, r.Left + 60, r.Top + 3);
    auto bmp = PaintToBitmap(w);
    LookAt(*bmp, "exmenu_classic_sidebar");
    // The side bar fills the left 25 pixels with its gradient; the selected item is 0xA1684A.
    const TRect last = InWindow(w, menu->Items()->Items(2));
    EXPECT_GT(At(*bmp, r.Left + 3, r.Top + 2) >> 16, 0xD0);       // light at the top
    EXPECT_LT(At(*bmp, r.Left + 3, last.Bottom - 3) >> 16, 0x90);  // dark at the bottom
    EXPECT_EQ(At(*bmp, r.Left + 25 + 24 + 20, r.Top + 2), TColor(0xA1684A));
    // A look with a texture tiles it under the items.
    styler->SetStyle(fsTextured);
    CloseMenus();
    menu->Popup(10, 10);
    w = MenuWindowOf(menu->Items());
    PaintToBitmap(w);
    bmp = PaintToBitmap(w);
    LookAt(*bmp, "exmenu_textured");
    const TRect t = InWindow(w, a);
    EXPECT_NE(At(*bmp, t.Left + 40, t.Top + 2), At(*bmp, t.Left + 41, t.Top + 3));
}

TEST_F(ExMenuFixture, PopupAtAPointRunsTheClickedItemAndShortCutsRunWithoutIt)
{
    auto* menu = new TExPopupMenu(form);
    Item(menu->Items(), "First");
    TMenuItem* second = Item(menu->Items(), "Second", TShortCut(VK_F9));
    auto* button = Add<TButton>(10, 10, 80, 24);
    platform::SetPopupMenu(button, menu);
    menu->Popup(120, 90);
    TCustomControl* w = MenuWindowOf(menu->Items());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ClientOrigin(), Point(120, 90));
    PaintToBitmap(w);
    const TRect r = InWindow(w, second);
    ClickAt(w, r.Left + 30, r.Top + 3);
    EXPECT_EQ(log, std::vector<std::string>{"Second"});
    EXPECT_FALSE(MenuActive());
    SendKey(button, VK_F9);
    EXPECT_EQ(log, (std::vector<std::string>{"Second", "Second"}));
    EXPECT_FALSE(MenuActive());
    // paRight at the left screen edge stays; paCenter moves 8 pixels.
    menu->Alignment = paCenter;
    menu->Popup(200, 90);
    w = MenuWindowOf(menu->Items());
    EXPECT_EQ(w->Left(), 208 - w->Width() / 2);
}

TEST_F(ExMenuFixture, MainMenuBarInTheOfficeLook)
{
    auto* styler = new TExMenuOfficeStyler(form);
    auto* menu = new TExMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&New", TShortCut('N' | scCtrl));
    Item(menu->Items(), "&View");
    menu->SetMenuStyler(styler);
    menu->Loaded();
    TCustomControl* bar = menu->Bar();
    ASSERT_NE(bar, nullptr);
    auto bmp = PaintToBitmap(bar);
    LookAt(*bmp, "exmenu_bar_blue");
    // The bar's horizontal gradient from 0xF5BE9E, the last item painting the rest.
    EXPECT_EQ(At(*bmp, 0, 5), TColor(0xF5BE9E));
    EXPECT_NE(At(*bmp, bar->Width() - 2, 5), TColor(0xF5BE9E));
    menu->OpenItem(file);
    bmp = PaintToBitmap(bar);
    const TRect fr = GetMenuItemRect(file);
    const TPoint o = bar->ScreenToClient(fr.TopLeft());
    EXPECT_EQ(At(*bmp, o.X, o.Y + 5), TColor(0x962D00));  // the selected border
    auto drop = PaintToBitmap(MenuWindowOf(file));
    LookAt(*drop, "exmenu_drop_blue");
    SendKey(static_cast<TWinControl*>(form), VK_ESCAPE);  // the drop-down closes, the bar stays active
    EXPECT_TRUE(MenuActive());
    SendKey(static_cast<TWinControl*>(form), VK_ESCAPE);
    EXPECT_FALSE(MenuActive());
}

}  // namespace

namespace {

TEST_F(ExMenuFixture, AStylerOutlivesItsMenus)
{
    auto* styler = new TExMenuOfficeStyler(form);
    auto* main = new TExMainMenu(form);
    main->SetMenuStyler(styler);
    auto* popup = new TExPopupMenu(form);
    popup->SetMenuStyler(styler);
    popup->SetMenuStyler(nullptr);  // without an internal styler: a new one
    EXPECT_EQ(popup->GetMenuStyler()->Name(), "InternalMenuStyler");
    delete popup;
    delete main;
    EXPECT_EQ(styler->Menu(), nullptr);
    styler->Font().SetSize(12);
    styler->SetStyle(osOfficeXP);
    styler->IconBar().SetSize(30);
    EXPECT_EQ(styler->IconBar().Size(), 30);
}

TEST_F(ExMenuFixture, MenuBarItemsLightUpUnderTheMouse)
{
    auto* styler = new TExMenuOfficeStyler(form);
    styler->SetStyle(osOfficeXP);
    auto* menu = new TExMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&Open");
    menu->SetMenuStyler(styler);
    menu->Loaded();
    TCustomControl* bar = menu->Bar();
    const TRect r = GetMenuItemRect(file);
    const TPoint p = bar->ScreenToClient(Point(r.Left + 3, r.Top + 3));
    SendMouse(bar, WM_MOUSEMOVE, p.X, p.Y);
    auto bmp = PaintToBitmap(bar);
    LookAt(*bmp, "exmenu_bar_hover");
    const TPoint tl = bar->ScreenToClient(r.TopLeft());
    EXPECT_EQ(At(*bmp, tl.X, tl.Y + 5), TColor(0xC66931));   // the hover border
    EXPECT_EQ(At(*bmp, tl.X + 2, tl.Y + 2), TColor(0xEFD3C6));  // the hover fill
    // Open, the item takes the selected look and the drop-down runs the chosen item.
    SendMouse(bar, WM_LBUTTONDOWN, p.X, p.Y);
    TCustomControl* drop = MenuWindowOf(file);
    ASSERT_NE(drop, nullptr);
    bmp = PaintToBitmap(bar);
    EXPECT_EQ(At(*bmp, tl.X, tl.Y + 5), TColor(0x7A868A));
    PaintToBitmap(drop);
    const TRect o = InWindow(drop, file->Items(0));
    ClickAt(drop, o.Left + 40, o.Top + 3);
    EXPECT_EQ(log, std::vector<std::string>{"&Open"});
}

}  // namespace

namespace {

TEST_F(ExMenuFixture, SubMenuArrowsAndRightToLeft)
{
    auto* menu = new TExPopupMenu(form);
    TMenuItem* more = Item(menu->Items(), "More");
    Item(more, "Deeper");
    menu->Popup(30, 30);
    TCustomControl* w = MenuWindowOf(menu->Items());
    PaintToBitmap(w);
    auto bmp = PaintToBitmap(w);
    LookAt(*bmp, "exmenu_arrow");
    const TRect r = InWindow(w, more);
    // The 4 x 7 triangle near the right end of the drawn part (17 pixels are left out).
    EXPECT_GE(Count(*bmp, Rect(r.Right - 17 - 10, r.Top, r.Right - 17 - 3, r.Bottom), TColor(0)), 10);
    CloseMenus();
    menu->RightToLeft = true;
    menu->Popup(30, 30);
    w = MenuWindowOf(menu->Items());
    PaintToBitmap(w);
    bmp = PaintToBitmap(w);
    const TRect rr = InWindow(w, more);
    // Captions go to the right of the text area.
    EXPECT_EQ(Black(*bmp, Rect(rr.Left + 24 + 8, rr.Top, rr.Left + 24 + 14, rr.Bottom)), 0);
    EXPECT_GT(Black(*bmp, Rect(rr.Right - 17 - 40, rr.Top, rr.Right - 17, rr.Bottom)), 5);
}

}  // namespace

namespace {

// Every look of both preset stylers: the icon column and the selected item in its colours.
struct LookCase {
    bool office;
    int style;
    const char* name;
};

class StylerLook : public ExMenuFixture, public ::testing::WithParamInterface<LookCase> {};

TEST_P(StylerLook, PaintsTheIconColumnAndTheSelection)
{
    const LookCase& lc = GetParam();
    TCustomExMenuStyler* styler;
    if (lc.office) {
        auto* s = new TExMenuOfficeStyler(form);
        s->SetStyle(TOfficeStyle(lc.style));
        styler = s;
    } else {
        auto* s = new TExMenuFantasyStyler(form);
        s->SetStyle(TFantasyStyle(lc.style));
        styler = s;
    }
    auto* menu = new TExPopupMenu(form);
    menu->SetMenuStyler(styler);
    TMenuItem* first = Item(menu->Items(), "First");
    TMenuItem* second = Item(menu->Items(), "Second");
    menu->Popup(40, 40);
    TCustomControl* w = MenuWindowOf(menu->Items());
    PaintToBitmap(w);
    const TRect a = InWindow(w, first), b = InWindow(w, second);
    SendMouse(w, WM_MOUSEMOVE, a.Left + 60, a.Top + 3);
    auto bmp = PaintToBitmap(w);
    LookAt(*bmp, std::string("exmenu_look_") + lc.name);
    const int side = IsSideBarVisible(first) ? styler->SideBar().Size + styler->SideBar().SplitterWidth : 0;
    if (styler->IconBar().Color() != clNone && styler->IconBar().GradientDirection == gdHorizontal) {
        EXPECT_EQ(At(*bmp, b.Left + side, b.Top + 2), Sys(styler->IconBar().Color())) << lc.name;
    }
    TSelectedItem& sel = styler->SelectedItem();
    if (sel.Color() != clNone && sel.ColorTo() == clNone) {
        EXPECT_EQ(At(*bmp, a.Left + side + 26, a.Top + 2), Sys(sel.Color())) << lc.name;
    }
    if (sel.BorderColor != clNone) {
        EXPECT_EQ(At(*bmp, a.Left + side + 26, a.Top), Sys(sel.BorderColor)) << lc.name;
    }
    if (styler->MenuBorderColor != clNone) {
        EXPECT_GT(Count(*bmp, Rect(0, 0, w->Width(), w->Height()), Sys(styler->MenuBorderColor)), 20) << lc.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Looks, StylerLook,
    ::testing::Values(LookCase{true, osOffice2003Blue, "blue"}, LookCase{true, osOffice2003Olive, "olive"},
                      LookCase{true, osOffice2003Silver, "silver"}, LookCase{true, osOfficeXP, "xp"},
                      LookCase{false, fsArctic, "arctic"}, LookCase{false, fsAquaBlue, "aquablue"},
                      LookCase{false, fsChocolate, "chocolate"}, LookCase{false, fsMacOS, "macos"},
                      LookCase{false, fsSilverFox, "silverfox"}, LookCase{false, fsSoftSand, "softsand"},
                      LookCase{false, fsTerminalGreen, "terminalgreen"}, LookCase{false, fsTextured, "textured"},
                      LookCase{false, fsWindowsClassic, "windowsclassic"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
