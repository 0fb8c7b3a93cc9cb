#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

struct ButtonsFixture : ControlFixture {
    TSpeedButton* Speed(int left, int group = 0)
    {
        auto* b = new TSpeedButton(form);
        b->SetParent(form);
        b->SetBounds(left, 10, 23, 22);
        b->SetGroupIndex(group);
        return b;
    }
    // A 16 x 16 picture per image: a red square on white (the colour left out), blue for image 2.
    static std::unique_ptr<TBitmap> Strip(int images)
    {
        auto p = std::make_unique<TBitmap>(16 * images, 16);
        TBitmap& b = *p;
        b.Canvas()->Brush().SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 16 * images, 16));
        for (int i = 0; i < images; ++i) {
            b.Canvas()->Brush().SetColor(i == 2 ? clBlue : clRed);
            b.Canvas()->FillRect(Rect(16 * i + 4, 4, 16 * i + 12, 12));
        }
        return p;
    }
};

}  // namespace

TEST_F(ButtonsFixture, SpeedButtonsOfAGroupReleaseEachOther)
{
    TSpeedButton* b[3] = {Speed(10, 1), Speed(40, 1), Speed(70, 1)};
    TSpeedButton* loose = Speed(100, 0);
    int clicks = 0;
    for (TSpeedButton* s : b) s->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(form, 15, 15);
    EXPECT_TRUE(b[0]->Down());
    ClickAt(form, 45, 15);
    EXPECT_FALSE(b[0]->Down());
    EXPECT_TRUE(b[1]->Down());
    EXPECT_EQ(b[1]->State(), bsExclusive);
    ClickAt(form, 45, 15);  // the down button stays down
    EXPECT_TRUE(b[1]->Down());
    EXPECT_EQ(clicks, 3);
    b[2]->SetAllowAllUp(true);  // told to the whole group
    EXPECT_TRUE(b[1]->AllowAllUp());
    ClickAt(form, 45, 15);
    EXPECT_FALSE(b[1]->Down());
    b[2]->SetDown(true);
    EXPECT_FALSE(b[1]->Down());
    loose->SetDown(true);  // no group, no down state
    EXPECT_FALSE(loose->Down());
    // A press released outside neither clicks nor latches.
    SendMouse(form, WM_LBUTTONDOWN, 15, 15);
    EXPECT_EQ(b[0]->State(), bsDown);
    SendMouse(form, WM_MOUSEMOVE, 200, 100, ssLeft);
    EXPECT_EQ(b[0]->State(), bsUp);
    SendMouse(form, WM_LBUTTONUP, 200, 100);
    EXPECT_FALSE(b[0]->Down());
    EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonsFixture, GlyphsFollowTheStateAndLeaveTheirBackgroundOut)
{
    TSpeedButton* s = Speed(10);
    s->SetBounds(10, 10, 40, 40);
    auto three = Strip(3);
    s->SetGlyph(three.get());
    EXPECT_EQ(s->NumGlyphs(), 3);
    auto b = PaintToBitmap(form);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixel(30, 30), clRed);                             // the up image, centred
    EXPECT_EQ(c->Pixel(23, 23), TColor(ColorToRGB(clBtnFace)));  // white left out
    SendMouse(form, WM_LBUTTONDOWN, 20, 20);
    b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(31, 31), clBlue);  // the clicked image, one pixel down-right
    SendMouse(form, WM_LBUTTONUP, 20, 20);
    // Without a disabled image the shape is drawn grey.
    auto one = Strip(1);
    s->SetGlyph(one.get());
    EXPECT_EQ(s->NumGlyphs(), 1);
    s->SetEnabled(false);
    b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(30, 30), TColor(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(b->Canvas()->Pixel(23, 23), TColor(ColorToRGB(clBtnFace)));
}

TEST_F(ButtonsFixture, FlatButtonsRiseUnderTheMouse)
{
    TSpeedButton* s = Speed(10);
    s->SetFlat(true);
    s->SetCaption("F");
    auto b = PaintToBitmap(form);
    const TColor face = TColor(ColorToRGB(clBtnFace));
    EXPECT_EQ(b->Canvas()->Pixel(10, 10), face);
    SendMouse(form, WM_MOUSEMOVE, 15, 15);
    EXPECT_TRUE(s->MouseInControl());
    b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(10, 10), TColor(ColorToRGB(clBtnHighlight)));
    SendMouse(form, WM_MOUSEMOVE, 200, 100);
    EXPECT_FALSE(s->MouseInControl());
}

TEST_F(ButtonsFixture, BitButtonKindsGiveCaptionsResultsAndRoles)
{
    auto* ok = new TBitBtn(form);
    ok->SetParent(form);
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult, mrOk);
    EXPECT_TRUE(ok->Default());
    auto* close = new TBitBtn(form);
    close->SetParent(form);
    close->SetBounds(100, 10, 75, 25);
    close->SetKind(bkClose);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(ok, 5, 5);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(clicks, 1);
    ClickAt(close, 5, 5);
    EXPECT_FALSE(form->Visible());
}

TEST_F(ButtonsFixture, PictureOfTheButtons)
{
    auto glyphPtr = Strip(1);
    TBitmap& glyph = *glyphPtr;
    TSpeedButton* a = Speed(10, 1);
    a->SetGlyph(&glyph);
    TSpeedButton* down = Speed(35, 1);
    down->SetCaption("D");
    down->SetDown(true);
    TSpeedButton* flat = Speed(60);
    flat->SetFlat(true);
    flat->SetGlyph(&glyph);
    TSpeedButton* off = Speed(85);
    off->SetGlyph(&glyph);
    off->SetEnabled(false);
    auto* bit = new TBitBtn(form);
    bit->SetParent(form);
    bit->SetBounds(10, 50, 90, 28);
    bit->SetKind(bkOK);
    bit->SetGlyph(&glyph);
    auto* top = new TBitBtn(form);
    top->SetParent(form);
    top->SetBounds(110, 40, 70, 50);
    top->SetCaption("Top");
    top->SetGlyph(&glyph);
    top->Layout = blGlyphTop;
    auto b = PaintToBitmap(form);
    SaveSnapshot(*b, "buttons");
    // The latched button shows the checker of face and highlight.
    const TColor hi = TColor(ColorToRGB(clBtnHighlight));
    int checker = 0;
    for (int x = 38; x < 44; ++x) checker += b->Canvas()->Pixel(x, 14) == hi;
    EXPECT_GE(checker, 2);
}

TEST_F(ButtonsFixture, AGroupNoticeFromAnotherKindOfButtonIsLeftAlone)
{
    TSpeedButton* s = Speed(10, 1);
    s->SetDown(true);
    TGraphicControl other(nullptr);  // not a speed button, same group number
    TMessage m{CM_BUTTONPRESSED, 1, reinterpret_cast<LPARAM>(static_cast<TControl*>(&other)), 0};
    form->Broadcast(m);
    EXPECT_TRUE(s->Down());
}
