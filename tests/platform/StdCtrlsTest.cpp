#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Edit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

using StdFixture = ControlFixture;

}  // namespace

TEST(Accelerators, AreFoundAfterASingleAmpersand)
{
    const struct {
        Word key;
        const char* caption;
        bool accel;
    } cases[] = {{'S', "&Save", true}, {'S', "&save", true}, {'A', "S&ave", true}, {'S', "Save", false},
                 {'S', "&&Save", false}, {'X', "A&&B &X", true}, {'B', "A&&B", false}, {'Q', "Quit&", false}};
    for (const auto& c : cases) EXPECT_EQ(IsAccel(c.key, c.caption), c.accel) << c.caption;
    EXPECT_EQ(StripHotkey("A&&B &Xyz"), "A&B Xyz");
}

TEST_F(StdFixture, LabelSizesToItsCaptionAndItsAcceleratorFocusesTheControl)
{
    auto* label = Add<TLabel>(10, 10, 10, 10);
    label->SetCaption("&Draught");
    const int w = label->Width();
    EXPECT_GT(w, 30);
    EXPECT_GT(label->Height(), 8);
    label->SetCaption("&Draught and trim");
    EXPECT_GT(label->Width(), w);
    auto* edit = Add<TEdit>(10, 30, 100, 21);
    auto* other = Add<TEdit>(10, 60, 100, 21);
    label->SetFocusControl(edit);
    other->SetFocus();
    SendKey(other, 'D', ssAlt);
    EXPECT_TRUE(edit->Focused());
    other->SetFocus();
    SendKey(other, 'X', ssAlt);
    EXPECT_TRUE(other->Focused());
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    SendKey(other, 'D', ssAlt);  // nothing to focus, nothing breaks
    EXPECT_TRUE(other->Focused());
}

TEST_F(StdFixture, LabelDrawsItsTextOpaqueOrTransparent)
{
    form->SetColor(clWhite);
    auto* label = Add<TLabel>(10, 10, 10, 10);
    label->SetCaption("Label");
    label->SetColor(clYellow);
    auto b = PaintToBitmap(form);
    const TRect r = label->BoundsRect();
    EXPECT_GT(Count(*b, r, clYellow), r.Width() * r.Height() / 2);
    EXPECT_GT(Dark(*b, r), 5);
    label->SetTransparent(true);
    b = PaintToBitmap(form);
    EXPECT_EQ(Count(*b, r, clYellow), 0);
    EXPECT_GT(Count(*b, r, clWhite), r.Width() * r.Height() / 2);
}

TEST_F(StdFixture, ButtonsClickByMouseSpaceEnterAndAccelerator)
{
    auto* button = Add<TButton>(10, 10, 75, 25);
    button->SetCaption("&Run");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(button, 10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->Focused());
    SendMouse(button, WM_LBUTTONDOWN, 10, 10);  // released outside: no click
    EXPECT_TRUE(button->Pressed());
    SendMouse(button, WM_MOUSEMOVE, 200, 10, ssLeft);
    EXPECT_FALSE(button->Pressed());
    SendMouse(button, WM_LBUTTONUP, 200, 10);
    EXPECT_EQ(clicks, 1);
    SendKey(button, VK_SPACE);
    EXPECT_EQ(clicks, 2);
    SendKey(button, VK_RETURN);
    EXPECT_EQ(clicks, 3);
    auto* edit = Add<TEdit>(10, 50, 100, 21);
    SendKey(edit, 'R', ssAlt);
    EXPECT_EQ(clicks, 4);
    button->SetEnabled(false);  // the window gets no input
    HostMouse(button, hmPress, mbLeft, 10, 10);
    HostMouse(button, hmRelease, mbLeft, 10, 10);
    EXPECT_EQ(clicks, 4);
}

TEST_F(StdFixture, DefaultAndCancelButtonsAnswerEnterAndEscapeAndSetTheModalResult)
{
    auto* ok = Add<TButton>(10, 10, 75, 25);
    auto* cancel = Add<TButton>(100, 10, 75, 25);
    auto* edit = Add<TEdit>(10, 50, 100, 21);
    ok->SetDefault(true);
    ok->ModalResult = mrOk;
    cancel->Cancel = true;
    cancel->ModalResult = mrCancel;
    std::vector<std::string> log;
    ok->OnClick = [&](TObject*) { log.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { log.push_back("cancel"); };
    edit->SetFocus();
    SendKey(edit, VK_RETURN);
    EXPECT_EQ(form->ModalResult(), mrOk);
    SendKey(edit, VK_ESCAPE);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    cancel->SetFocus();
    SendKey(cancel, VK_RETURN);  // the focused button, not the default
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel", "cancel"}));
}

TEST_F(StdFixture, CheckBoxesToggleAndRaiseOnClick)
{
    auto* box = Add<TCheckBox>(10, 10, 120, 17);
    box->SetCaption("Show Axis");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(box, 5, 8);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    SendKey(box, VK_SPACE);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(true);  // as the user's click
    EXPECT_EQ(clicks, 3);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 3);
    box->AllowGrayed = true;
    box->SetChecked(false);
    const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked};
    for (TCheckBoxState s : cycle) {
        ClickAt(box, 5, 8);
        EXPECT_EQ(box->State(), s);
    }
    // The tick shows in the box only while checked.
    const TRect boxArea = Bounds(box->Left(), box->Top() + 2, 13, 13);
    auto b = PaintToBitmap(form);
    const int unchecked = Count(*b, boxArea, clBlack);
    box->SetChecked(true);
    b = PaintToBitmap(form);
    EXPECT_GT(Count(*b, boxArea, clBlack), unchecked + 10);
}

TEST_F(StdFixture, RadioButtonsExcludeTheirSiblingsOnly)
{
    auto* group = Add<TGroupBox>(10, 10, 150, 100);
    group->SetCaption("Clipboard");
    auto* a = Add<TRadioButton>(8, 20, 100, 17, group);
    auto* b = Add<TRadioButton>(8, 40, 100, 17, group);
    auto* outside = Add<TRadioButton>(170, 10, 100, 17);
    outside->SetChecked(true);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->SetChecked(true);
    ClickAt(b, 5, 8);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(outside->Checked());
    EXPECT_EQ(clicks, 1);
    ClickAt(b, 5, 8);  // already checked: no second click
    EXPECT_EQ(clicks, 1);
    // Aligned children stay inside the frame, below the caption.
    auto* inner = Add<TEdit>(0, 0, 10, 10, group);
    inner->SetAlign(alClient);
    EXPECT_GT(inner->Top(), 8);
    EXPECT_GT(inner->Left(), 0);
    EXPECT_LT(inner->Left() + inner->Width(), group->ClientWidth());
}

TEST_F(StdFixture, ScrollBarStepsPagesAndTracksTheThumb)
{
    auto* bar = Add<TScrollBar>(10, 10, 200, 17);
    bar->SetParams(0, 0, 100);
    bar->SmallChange = 2;
    bar->LargeChange = 10;
    std::vector<std::string> log;
    bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        log.push_back(std::to_string(code) + ":" + std::to_string(pos));
    };
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    ClickAt(bar, 200 - 5, 8);  // the right arrow
    EXPECT_EQ(bar->Position(), 2);
    ClickAt(bar, 150, 8);  // the track right of the thumb
    EXPECT_EQ(bar->Position(), 12);
    ClickAt(bar, 3, 8);  // the left arrow
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(changes, 3);
    // Drag the thumb to the end.
    const TRect thumb = bar->ThumbRect();
    SendMouse(bar, WM_LBUTTONDOWN, thumb.Left + 2, 8);
    SendMouse(bar, WM_MOUSEMOVE, 400, 8, ssLeft);
    EXPECT_EQ(bar->Position(), 100);
    SendMouse(bar, WM_LBUTTONUP, 400, 8);
    EXPECT_EQ(log.back(), "8:100");  // end of scrolling
    EXPECT_EQ(log[log.size() - 2], "4:100");  // the thumb's final position
    // A handler may change where the bar goes.
    bar->OnScroll = [](TObject*, TScrollCode, int& pos) { pos = 50; };
    SendKey(bar, VK_HOME);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_THROW(bar->SetParams(0, 10, 5), base::EInvalidOperation);
    bar->SetPageSize(20);
    bar->SetPosition(100);
    EXPECT_EQ(bar->Position(), 81);  // the page ends at Max
}

TEST_F(StdFixture, PictureOfTheStandardControls)
{
    auto* label = Add<TLabel>(10, 8, 10, 10);
    label->SetCaption("&Label");
    auto* button = Add<TButton>(10, 30, 75, 25);
    button->SetCaption("&Button");
    button->SetDefault(true);
    auto* box = Add<TCheckBox>(100, 34, 110, 17);
    box->SetCaption("&Check box");
    box->SetChecked(true);
    auto* group = Add<TGroupBox>(10, 65, 200, 80);
    group->SetCaption("Group");
    auto* r1 = Add<TRadioButton>(10, 20, 120, 17, group);
    r1->SetCaption("Radio one");
    auto* r2 = Add<TRadioButton>(10, 42, 120, 17, group);
    r2->SetCaption("Radio two");
    r2->SetChecked(true);
    auto* bar = Add<TScrollBar>(10, 160, 200, 17);
    bar->SetParams(30, 0, 100);
    auto* vbar = Add<TScrollBar>(230, 10, 150, 17);
    vbar->SetKind(sbVertical);  // turns the bar
    vbar->SetPageSize(50);
    auto* disabled = Add<TButton>(220, 180, 75, 25);
    disabled->SetCaption("Off");
    disabled->SetEnabled(false);
    auto b = PaintToBitmap(form);
    SaveSnapshot(*b, "stdctrls");
    // The group's caption interrupts its frame; the bar's thumb is a raised button.
    EXPECT_GT(Count(*b, group->BoundsRect(), TColor(ColorToRGB(clBtnShadow))), 100);
    EXPECT_GT(Count(*b, bar->ThumbRect(), TColor(ColorToRGB(clBtnFace))), 0);
}

TEST_F(StdFixture, LabelAlignmentWrappingAndLayout)
{
    auto* label = Add<TLabel>(100, 10, 10, 10);
    label->SetAlignment(taRightJustify);
    label->SetCaption("Right");
    const int right = label->Left() + label->Width();
    label->SetCaption("Right aligned text");
    EXPECT_EQ(label->Left() + label->Width(), right);  // grows to the left
    const int oneLine = label->Height();
    label->SetWordWrap(true);
    label->SetWidth(40);
    label->SetCaption("several short words here");
    EXPECT_GT(label->Height(), 2 * oneLine);
    EXPECT_LE(label->Width(), 40);  // the widest line
    // Centred vertically in a label taller than its text.
    label->SetAutoSize(false);
    label->SetWordWrap(false);
    label->SetCaption("Mid");
    label->SetBounds(10, 100, 60, 60);
    label->SetLayout(tlCenter);
    form->SetColor(clWhite);
    label->SetTransparent(true);
    auto b = PaintToBitmap(form);
    EXPECT_EQ(Dark(*b, Rect(10, 100, 70, 120)), 0);
    EXPECT_GT(Dark(*b, Rect(10, 120, 70, 140)), 5);
}
