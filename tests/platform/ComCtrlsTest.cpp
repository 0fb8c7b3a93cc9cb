#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/ImageList.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

struct ComFixture : ControlFixture {
    void SetUp() override
    {
        ControlFixture::SetUp();
        form->SetBounds(0, 0, 400, 200);
    }
};

}  // namespace

TEST_F(ComFixture, ProgressBarKeepsItsPositionInRangeAndSteps)
{
    auto* bar = Add<TProgressBar>(10, 10, 200, 20);
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetStep(40);
    bar->StepIt();
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 80);
    bar->StepIt();  // past the end: round again
    EXPECT_EQ(bar->Position(), 20);
    bar->StepBy(500);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetRange(10, 20);
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(bar->Perform(PBM_GETRANGE, 1), 10);
    EXPECT_EQ(bar->Perform(PBM_GETRANGE, 0), 20);
    EXPECT_EQ(bar->Perform(PBM_SETPOS, 15), 20);  // the old position
    EXPECT_EQ(bar->Perform(PBM_GETPOS), 15);
}

TEST_F(ComFixture, ProgressBarPaintsTheFilledPartInItsColours)
{
    auto* bar = Add<TProgressBar>(10, 10, 202, 20);
    bar->SetSmooth(true);
    bar->SetPosition(50);
    auto b = PaintToBitmap(form);
    const int y = 20;
    EXPECT_EQ(b->Canvas()->Pixel(12, y), Sys(clHighlight));  // the desktop's colours by default
    EXPECT_EQ(b->Canvas()->Pixel(110, y), Sys(clHighlight));
    EXPECT_EQ(b->Canvas()->Pixel(112, y), Sys(clBtnFace));
    bar->Perform(PBM_SETBARCOLOR, 0, LPARAM(RGB(255, 0, 0)));
    EXPECT_EQ(bar->Perform(PBM_SETBKCOLOR, 0, LPARAM(RGB(0, 0, 255))), LPARAM(CLR_DEFAULT));
    b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(12, y), clRed);
    EXPECT_EQ(b->Canvas()->Pixel(150, y), clBlue);
    // Blocks with gaps when not smooth.
    bar->SetSmooth(false);
    bar->SetPosition(100);
    b = PaintToBitmap(form);
    int gaps = 0;
    for (int x = 12; x < 210; ++x) gaps += b->Canvas()->Pixel(x, y) == clBlue;
    EXPECT_GT(gaps, 20);
    SaveSnapshot(*b, "progress");
}

TEST_F(ComFixture, StatusBarPanelsSitSideBySideWithTheirTexts)
{
    form->SetWidth(700);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    const std::pair<const char*, int> panels[] = {{"  Appendage -", 70}, {"Hull", 120}, {" Frame -", 48},
                                                  {"Frame 1", 120}, {"X: 0.000m, Y: 0.000m, Z: 0.000m", 200},
                                                  {"", 50}};
    for (const auto& p : panels) {
        TStatusPanel* s = bar->Panels().Add();
        s->SetText(p.first);
        s->SetWidth(p.second);
    }
    bar->Panels()[0]->SetBevel(pbNone);
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());  // at the bottom
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    EXPECT_EQ(bar->PanelRect(0).Left, 0);
    EXPECT_EQ(bar->PanelRect(1).Left, 70);
    EXPECT_EQ(bar->PanelRect(3).Left, 238);
    EXPECT_EQ(bar->PanelRect(5).Right, bar->ClientWidth());  // the last reaches the end
    EXPECT_EQ(bar->PanelAt({75, 10}), 1);
    bar->Panels()[3]->SetText("Frame 12");
    EXPECT_EQ(bar->Panels()[3]->Text(), "Frame 12");
    EXPECT_EQ(bar->Panels()[3]->Index(), 3);
    EXPECT_THROW(bar->Panels()[6], base::EInvalidOperation);

    TStatusPanel* drawn = nullptr;
    TRect where;
    bar->Panels()[5]->SetStyle(psOwnerDraw);
    bar->OnDrawPanel = [&](TStatusBar*, TStatusPanel* p, const TRect& r) {
        drawn = p;
        where = r;
    };
    auto b = PaintToBitmap(form);
    SaveSnapshot(*b, "statusbar");
    EXPECT_EQ(drawn, bar->Panels()[5]);
    EXPECT_EQ(where.Left, bar->PanelRect(5).Left + 1);
    // Text shows inside the second panel, none in the empty third area beyond its text.
    const TRect second = bar->PanelRect(1);
    EXPECT_GT(Dark(*b, Rect(second.Left + 2, bar->Top() + second.Top, second.Left + 30, bar->Top() + second.Bottom)), 5);
    bar->SetSimplePanel(true);
    bar->SetSimpleText("Ready");
    EXPECT_EQ(bar->PanelRect(0).Right, bar->ClientWidth());
}

TEST_F(ComFixture, ToolButtonsLineUpShowTheirPicturesAndClick)
{
    TImageList images(16, 16);
    TBitmap pics(32, 16);
    pics.Canvas()->Brush().SetColor(clRed);
    pics.Canvas()->FillRect(Rect(0, 0, 16, 16));
    pics.Canvas()->Brush().SetColor(clBlue);
    pics.Canvas()->FillRect(Rect(16, 0, 32, 16));
    images.Add(&pics);
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetImages(&images);
    bar->SetFlat(true);
    std::vector<TToolButton*> buttons;
    std::vector<std::string> clicks;
    for (int i = 0; i < 5; ++i) {
        auto* b = new TToolButton(form);
        b->SetParent(bar);
        b->SetImageIndex(i % 2);
        b->SetHint("Button " + std::to_string(i));
        b->OnClick = [&clicks, i](TObject*) { clicks.push_back(std::to_string(i)); };
        buttons.push_back(b);
    }
    buttons[1]->SetStyle(tbsSeparator);
    buttons[3]->SetStyle(tbsCheck);
    buttons[4]->SetStyle(tbsCheck);
    buttons[3]->Grouped = buttons[4]->Grouped = true;
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(buttons[0]->Left(), 0);
    EXPECT_EQ(buttons[1]->Width(), 8);
    EXPECT_EQ(buttons[2]->Left(), 31);
    ClickAt(bar, 5, 10);
    ClickAt(bar, 35, 10);
    EXPECT_EQ(clicks, (std::vector<std::string>{"0", "2"}));
    ClickAt(bar, buttons[3]->Left() + 5, 10);
    EXPECT_TRUE(buttons[3]->Down());
    ClickAt(bar, buttons[4]->Left() + 5, 10);
    EXPECT_TRUE(buttons[4]->Down());
    EXPECT_FALSE(buttons[3]->Down());
    ClickAt(bar, buttons[4]->Left() + 5, 10);  // a grouped one stays down
    EXPECT_TRUE(buttons[4]->Down());

    auto b = PaintToBitmap(form);
    EXPECT_EQ(b->Canvas()->Pixel(11, 12), clRed);  // image 0 centred in button 0
    EXPECT_EQ(b->Canvas()->Pixel(buttons[2]->Left() + 11, 12), clRed);
    buttons[0]->SetEnabled(false);
    b = PaintToBitmap(form);
    EXPECT_NE(b->Canvas()->Pixel(11, 12), clRed);  // greyed
    SaveSnapshot(*b, "toolbar");
    buttons[2]->Free();
    EXPECT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(buttons[3]->Left(), 31);
}
