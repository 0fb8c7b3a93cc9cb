// The colour pickers: the palette, the colour cube and the spectrum, picked with the mouse.
#include <gtest/gtest.h>

#include <fstream>

#include "FlatTestUtil.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/system/Cursors.h"
#include "widgets/flat/ColorSelectors.h"

using namespace flat;
using namespace flattest;

namespace {

class ColorSelectorTest : public FlatTest {
protected:
    void SetUp() override
    {
        FlatTest::SetUp();
        sel = Make<TExColorSelector>();
        sel->SetBounds(20, 20, 40, 23);
        sel->OnSelect = [this](TObject*, int i, TExSelectorItem* item) {
            selects.push_back(i);
            lastItem = item;
        };
    }
    bool Open() const { return sel->DropDownWindow()->Visible(); }
    TExColorSelector* sel = nullptr;
    std::vector<int> selects;
    TExSelectorItem* lastItem = nullptr;
};

}  // namespace

TEST_F(ColorSelectorTest, PaletteItems)
{
    ASSERT_EQ(sel->Tools().Count(), 42);
    EXPECT_EQ(sel->Tools().Items(0)->Caption, "Automatic");
    EXPECT_EQ(sel->Tools().Items(7)->BackGroundColor, 0x353333);
    EXPECT_EQ(sel->Tools().Items(41)->Caption, "More Colors...");
    EXPECT_EQ(sel->Tools().Items(41)->Hint, "More Color");
    EXPECT_EQ(sel->ButtonsPerRow(), 8);
    TExTextColorSelector text(form);
    ASSERT_EQ(text.Tools().Count(), 17);
    EXPECT_EQ(text.Tools().Items(0)->Hint, "Color");
    EXPECT_EQ(text.Tools().Items(9)->Hint, "White");
    EXPECT_EQ(text.Tools().Items(16)->BackGroundColor, clFuchsia);
}

TEST_F(ColorSelectorTest, PickFromThePalette)
{
    sel->SetSelectedColor(0x000000);
    sel->DoDropDown();
    auto* p = dynamic_cast<TExSelectorPanel*>(sel->Panel());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ItemIndex(), 0);  // "Automatic", the first item of that colour
    auto b = PaintToBitmap(p);
    Snapshot(*b, "palette");
    const TRect red = p->Items().Items(17)->ItemRect;
    EXPECT_EQ(red.Width(), 18);
    EXPECT_EQ(At(*b, red.Left + 8, red.Top + 8), COLORREF(clRed));
    EXPECT_EQ(At(*b, red.Left + 3, red.Top + 8), COLORREF(clGray));
    PickItem(p, 17);
    EXPECT_FALSE(Open());
    EXPECT_EQ(sel->GetSelectedColor(), clRed);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0], 17);
    // "More Colors..." leaves no colour chosen and reports the item.
    sel->DoDropDown();
    PickItem(p, 41);
    EXPECT_EQ(sel->GetSelectedColor(), clNone);
    EXPECT_EQ(selects.back(), 41);
    EXPECT_EQ(lastItem->Caption, "More Colors...");
}

TEST_F(ColorSelectorTest, PickFromTheCube)
{
    sel->SetColorSelectionStyle(csColorCube);
    sel->SetSelectedColor(0x424242);
    sel->DoDropDown();
    TExColorCubePanel* cube = sel->CubePanel();
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->SelectedCell(), -1);
    EXPECT_EQ(cube->SelectedColor(), 0x424242);
    EXPECT_EQ(cube->Width(), 182);
    EXPECT_EQ(cube->Cell(1).Center, Point(55, 20));
    EXPECT_EQ(cube->Cell(127).Color, 0x2100A5);
    EXPECT_EQ(cube->Cell(64).Color, 0xFFFFFF);  // the middle of row 7
    EXPECT_EQ(cube->Cell(64).Center, Point(19 + 6 * 12, 80));
    auto b = PaintToBitmap(cube);
    Snapshot(*b, "cube");
    EXPECT_EQ(At(*b, 55, 20), COLORREF(0x663300));
    // Between cells nothing is chosen, but the release closes the drop-down.
    ClickAt(cube, 61, 23);
    EXPECT_FALSE(Open());
    EXPECT_TRUE(selects.empty());
    sel->DoDropDown();
    const TPoint c = cube->Cell(20).Center;
    SendMouse(cube, WM_MOUSEMOVE, c.X, c.Y);
    EXPECT_EQ(cube->HotCell(), 20);
    EXPECT_EQ(cube->Hint(), "Red: 0,  Green: 153,  Blue: 255");
    ClickAt(cube, c.X + 2, c.Y + 2);
    EXPECT_FALSE(Open());
    EXPECT_EQ(sel->GetSelectedColor(), 0xFF9900);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0], -1);
    EXPECT_EQ(lastItem, nullptr);
    b = PaintToBitmap(cube);
    EXPECT_EQ(At(*b, c.X - 5, c.Y), COLORREF(clBlack));  // the selected cell's border
}

TEST_F(ColorSelectorTest, PickFromTheSpectrum)
{
    sel->SetColorSelectionStyle(csSpectrum);
    sel->DoDropDown();
    TExColorSpectrumPanel* s = sel->SpectrumPanel();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 150);
    EXPECT_EQ(s->Height(), 174);
    const TRect pic = s->Picture()->BoundsRect();
    EXPECT_EQ(pic, Rect(11, 10, 139, 138));
    EXPECT_EQ(s->SelectedRect(), Rect(10, 146, 73, 166));
    // A press before any movement chooses no colour.
    ClickAt(s, pic.Left + 5, pic.Top + 64);
    EXPECT_FALSE(Open());
    EXPECT_EQ(sel->GetSelectedColor(), clNone);
    sel->DoDropDown();
    SendMouse(s, WM_MOUSEMOVE, pic.Left + 1, pic.Top + 64);  // red, half way down
    const COLORREF hot = COLORREF(s->HotColor());
    EXPECT_GT(GetRValue(hot), 200);
    EXPECT_LT(GetGValue(hot), 40);
    ClickAt(s, pic.Left + 1, pic.Top + 64);
    EXPECT_FALSE(Open());
    EXPECT_EQ(sel->GetSelectedColor(), TColor(hot));
    sel->DoDropDown();
    auto b = PaintToBitmap(s);
    Snapshot(*b, "spectrum");
    EXPECT_EQ(At(*b, pic.Left + 1, pic.Top), COLORREF(clWhite));
    EXPECT_EQ(At(*b, pic.Left + 60, pic.Bottom - 1), COLORREF(clBlack));
    EXPECT_EQ(At(*b, s->SelectedRect().Left + 5, s->SelectedRect().Top + 5), hot);
}

TEST_F(ColorSelectorTest, FaceShowsTheColour)
{
    sel->SetSelectedColor(clBlue);
    auto b = PaintToBitmap(sel);
    Snapshot(*b, "colorselector_face");
    EXPECT_GT(Count(*b, Rect(4, 3, 36, 20), clBlue), 200);
    sel->SetCaption("Fill");
    b = PaintToBitmap(sel);
    EXPECT_GT(Count(*b, Rect(4, 17, 36, 20), clBlue), 60);
    EXPECT_EQ(Count(*b, Rect(4, 3, 36, 14), clBlue), 0);
}

TEST_F(ColorSelectorTest, SpectrumShowsTheEyedropper)
{
    sel->SetColorSelectionStyle(csSpectrum);
    sel->DoDropDown();
    EXPECT_EQ(sel->SpectrumPanel()->Picture()->Cursor(), crEyedropper);
    const HCURSOR h = CursorHandle(crEyedropper);
    TSize size;
    TPoint hot;
    ASSERT_TRUE(GetCursorSize(h, size, hot));
    EXPECT_EQ(size, (TSize{32, 32}));
    EXPECT_EQ(hot, Point(1, 30));
    if (const char* dir = std::getenv("KORVELO_SNAPSHOTS")) {
        std::ofstream(std::string(dir) + "/eyedropper.cur", std::ios::binary) << EyedropperCursorData();
    }
}

namespace {

// Records the caption activation the form is asked to show.
class TCaptionForm : public TForm {
public:
    using TForm::TForm;
    std::vector<WPARAM> activations;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_NCACTIVATE) activations.push_back(m.WParam);
        TForm::WndProc(m);
    }
};

TEST(SelectorDropDown, ItsCornerSizesItAndTheOwnerKeepsAnActiveCaption)
{
    EnsurePlatform();
    auto* owner = new TCaptionForm(nullptr);
    owner->SetBounds(0, 0, 300, 300);
    owner->Show();
    auto* sel = new TExColorSelector(owner);
    sel->SetParent(owner);
    sel->SetBounds(20, 20, 40, 23);
    sel->DoDropDown();
    auto* window = sel->DropDownWindow();
    ASSERT_TRUE(window->Visible());
    window->Perform(CM_ACTIVATE);
    EXPECT_EQ(owner->activations, std::vector<WPARAM>{1});
    const int w = window->Width(), h = window->Height();
    auto hit = [&](int x, int y) {
        const TPoint p = window->ClientToScreen(Point(x, y));
        return window->Perform(WM_NCHITTEST, 0, MakeLParam(p.X, p.Y));
    };
    EXPECT_EQ(hit(w - 2, h - 2), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w / 2, h / 2), HTCLIENT);
    // The user drags the corner, over the panel that fills the window.
    HostMouse(window, hmPress, mbLeft, w - 3, h - 3);
    HostMouse(window, hmMove, mbLeft, w + 17, h + 7);
    HostMouse(window, hmRelease, mbLeft, w + 17, h + 7);
    EXPECT_EQ(window->Width(), w + 20);
    EXPECT_EQ(window->Height(), h + 10);
    delete owner;
}

}  // namespace
