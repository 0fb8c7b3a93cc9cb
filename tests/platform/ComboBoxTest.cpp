// Combo boxes: dropping down and closing up, choosing by mouse and keys with the events
// in order, the edit part, owner-drawn items, the simple style.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LookAt.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/GDI.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

class ComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = Construct<TForm>(Application);
        form->SetBounds(100, 100, 300, 200);
        combo = new TComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 150, 0);
        for (const char* s : {"Y Origin", "Aft Draught Mark", "Mid Draught Mark", "Fwd Draught Mark"})
            combo->Items().Add(s);
        other = new TEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 100, 100, 22);
        combo->OnDropDown = [this](TObject*) { log.push_back("dropdown"); };
        combo->OnCloseUp = [this](TObject*) { log.push_back("closeup"); };
        combo->OnClick = [this](TObject*) { log.push_back("click " + std::to_string(combo->ItemIndex())); };
        combo->OnChange = [this](TObject*) { log.push_back("change " + combo->Text()); };
        form->Show();
    }
    void TearDown() override { form->Free(); }
    TCustomListBox* List() { return combo->ListControl(); }
    // The middle of row i of the dropped list, in the list's client coordinates.
    TPoint Row(int i)
    {
        const TRect r = List()->ItemRect(i);
        return Point(20, (r.Top + r.Bottom) / 2);
    }
    TForm* form = nullptr;
    TComboBox* combo = nullptr;
    TEdit* other = nullptr;
    std::vector<std::string> log;
};

TEST_F(ComboTest, TheListDropsDownBelowAndAClickChoosesAndClosesIt)
{
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->Height(), combo->ItemHeight() + 2 + 4);  // one row inside the frame
    combo->SetCtl3D(false);
    EXPECT_EQ(combo->FrameWidth(), 1);
    EXPECT_EQ(combo->Height(), combo->ItemHeight() + 2 + 2);
    combo->SetCtl3D(true);
    combo->Perform(CB_SETDROPPEDWIDTH, 220);
    ClickAt(combo, 20, 5);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(List()->Visible());
    EXPECT_TRUE(combo->ComboFocused());
    // Below the control, as wide as asked, four rows high inside a one-pixel border.
    const TPoint below = combo->ClientToScreen(Point(-2, combo->Height() - 2));
    EXPECT_EQ(List()->Left(), below.X);
    EXPECT_EQ(List()->Top(), below.Y);
    EXPECT_EQ(List()->Width(), 220);
    EXPECT_EQ(List()->Height(), 4 * combo->ItemHeight() + 2);
    EXPECT_EQ(GetCaptureControl(), List());
    LookAt(*PaintToBitmap(List()), "combo-list");
    // The row under the mouse lights up; the release chooses it.
    SendMouse(List(), WM_MOUSEMOVE, Row(1).X, Row(1).Y);
    EXPECT_EQ(List()->ItemIndex(), 1);
    ClickAt(List(), Row(2).X, Row(2).Y);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(List()->Visible());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "Mid Draught Mark");
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup", "click 2", "change Mid Draught Mark"}));
    auto bmp = PaintToBitmap(combo);
    LookAt(*bmp, "combo-closed");
}

TEST_F(ComboTest, APressOutsideTheListOrLosingTheFocusClosesWithoutAChoice)
{
    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(0);  // from code: no events
    EXPECT_EQ(combo->Text(), "Y Origin");
    combo->SetFocus();
    combo->SetDroppedDown(true);
    SendMouse(List(), WM_LBUTTONDOWN, -10, -5);  // captured: the press comes here
    EXPECT_FALSE(combo->DroppedDown());
    combo->SetDroppedDown(true);
    other->SetFocus();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup", "dropdown", "closeup"}));
    // A second press on the control closes what the first opened.
    log.clear();
    ClickAt(combo, 20, 5);
    ClickAt(combo, 20, 5);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup"}));
}

TEST_F(ComboTest, TheListHoldsTheHostMouseWhileItIsDown)
{
    combo->SetStyle(csDropDownList);
    // The release of the press that opened the list reaches the list, outside it: it stays.
    HostMouse(combo, hmPress, mbLeft, 20, 5);
    HostMouse(combo, hmRelease, mbLeft, 20, 5);
    ASSERT_TRUE(combo->DroppedDown());
    HostMouse(List(), hmMove, mbLeft, Row(3).X, Row(3).Y);
    EXPECT_EQ(List()->ItemIndex(), 3);
    HostMouse(List(), hmPress, mbLeft, Row(3).X, Row(3).Y);
    HostMouse(List(), hmRelease, mbLeft, Row(3).X, Row(3).Y);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Fwd Draught Mark");
    // A press on another window goes to the list too, and closes it without a choice.
    combo->SetDroppedDown(true);
    HostMouse(other, hmPress, mbLeft, 5, 5);
    HostMouse(other, hmRelease, mbLeft, 5, 5);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup", "click 3", "change Fwd Draught Mark", "dropdown",
                                             "closeup"}));
}

TEST_F(ComboTest, KeysMoveTheSelectionAndOpenAndCloseTheList)
{
    combo->SetStyle(csDropDownList);
    combo->OnSelect = [this](TObject*) { log.push_back("select " + combo->Text()); };
    combo->SetFocus();
    const struct {
        Word key;
        TShiftState shift;
        int index;
        bool dropped;
    } steps[] = {{VK_DOWN, 0, 0, false}, {VK_DOWN, 0, 1, false}, {VK_F4, 0, 1, true},     {VK_DOWN, 0, 2, true},
                 {VK_RETURN, 0, 2, false}, {VK_DOWN, ssAlt, 2, true}, {VK_ESCAPE, 0, 2, false}, {VK_END, 0, 3, false},
                 {VK_UP, 0, 2, false}};
    for (const auto& s : steps) {
        SendKey(combo, s.key, s.shift);
        EXPECT_EQ(combo->ItemIndex(), s.index) << s.key;
        EXPECT_EQ(combo->DroppedDown(), s.dropped) << s.key;
    }
    SendChar(combo, 'y');
    EXPECT_EQ(combo->Text(), "Y Origin");
    EXPECT_EQ(log, (std::vector<std::string>{
                       "click 0", "select Y Origin", "click 1", "select Aft Draught Mark", "dropdown", "click 2",
                       "select Mid Draught Mark", "closeup", "dropdown", "closeup", "click 3", "select Fwd Draught Mark",
                       "click 2", "select Mid Draught Mark", "click 0", "select Y Origin"}));
}

TEST_F(ComboTest, TheEditPartTypesAndFollowsTheSelection)
{
    TWinControl* edit = combo->EditControl();
    ASSERT_NE(edit, nullptr);
    combo->SetFocus();
    EXPECT_TRUE(edit->Focused());
    EXPECT_TRUE(combo->ComboFocused());
    SendChar(edit, 'Z');
    EXPECT_EQ(combo->Text(), "Z");
    EXPECT_EQ(log, std::vector<std::string>{"change Z"});
    log.clear();
    combo->SetItemIndex(1);  // from code: the text follows, no events
    EXPECT_EQ(combo->Text(), "Aft Draught Mark");
    EXPECT_EQ(edit->Text(), "Aft Draught Mark");
    EXPECT_TRUE(log.empty());
    SendKey(edit, VK_DOWN);  // the arrows in the edit move through the items
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(edit->Text(), "Mid Draught Mark");
    // The button drops the list; a press in the edit does not.
    ClickAt(combo, combo->ButtonRect().Left + 3, 5);
    EXPECT_TRUE(combo->DroppedDown());
    SendKey(edit, VK_ESCAPE);  // closes the list, not the form's dialog
    EXPECT_FALSE(combo->DroppedDown());
    combo->SetDroppedDown(true);
    other->SetFocus();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(log, (std::vector<std::string>{"click 2", "change Mid Draught Mark", "dropdown", "closeup", "dropdown",
                                             "closeup"}));
    combo->SetText("free text");
    EXPECT_EQ(edit->Text(), "free text");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), "");
}

// A combo box that wants Enter, as an in-place editor of a grid does.
class TEnterCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    void WMGetDlgCode(TWMGetDlgCode& m) override
    {
        TComboBox::WMGetDlgCode(m);
        m.Result |= DLGC_WANTALLKEYS;
    }
};

TEST_F(ComboTest, TheEditAsksTheComboBoxWhichKeysItWants)
{
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(200, 10, 60, 24);
    button->SetDefault(true);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    auto* wanting = new TEnterCombo(form);
    wanting->SetParent(form);
    wanting->SetBounds(10, 40, 150, 0);
    std::vector<Word> seen;
    wanting->OnKeyDown = [&](TObject*, Word& key, TShiftState) { seen.push_back(key); };
    wanting->SetFocus();
    SendKey(wanting->EditControl(), VK_RETURN);
    EXPECT_EQ(seen, std::vector<Word>{VK_RETURN});  // the combo box's own handler has it
    EXPECT_EQ(clicks, 0);
    combo->SetFocus();  // a plain one leaves Enter to the default button
    SendKey(combo->EditControl(), VK_RETURN);
    EXPECT_EQ(clicks, 1);
}

// A combo box that paints its own button over the platform's, as the flat ones do.
class TFlatCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    int ownDC = 0;
    void WMPaint(TWMPaint& m) override
    {
        PAINTSTRUCT ps;
        HDC dc = m.DC();
        if (!dc) {
            dc = BeginPaint(Handle(), ps);
            ++ownDC;
        }
        const TRect b = ButtonRect();
        FillRect(dc, b, RGB(255, 0, 0));
        ExcludeClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
        PaintWindow(dc);
        if (!m.DC()) EndPaint(Handle(), ps);
    }
};

TEST_F(ComboTest, ADerivedComboBoxPaintsOverTheButtonOnTheDCBeginPaintGives)
{
    auto* flat = new TFlatCombo(form);
    flat->SetParent(form);
    flat->SetBounds(10, 40, 150, 0);
    flat->Repaint();
    ASSERT_TRUE(ProcessUntil([&] { return flat->ownDC > 0; }, 50));
    const TRect b = flat->ButtonRect();
    EXPECT_EQ(flat->Canvas()->Pixel(b.Left + 3, b.Top + 3), TColor(RGB(255, 0, 0)));
    EXPECT_EQ(flat->Canvas()->Pixel(5, 5), ColorToRGB(clWindow));  // the rest is the platform's
}

TEST_F(ComboTest, OwnerDrawnItemsAreDrawnInTheEditAndTheList)
{
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(20);
    std::vector<std::string> drawn;
    combo->OnDrawItem = [&](TWinControl* c, int index, TRect r, TOwnerDrawState state) {
        auto* cb = static_cast<TComboBox*>(c);
        drawn.push_back(std::to_string(index) + ((state & odComboBoxEdit) ? "e" : "") + ((state & odSelected) ? "s" : ""));
        cb->Canvas()->FillRect(r);
        cb->Canvas()->Brush().SetColor(index == 1 ? clRed : clBlue);
        cb->Canvas()->FillRect(Rect(r.Left + 2, r.Top + 2, r.Left + 14, r.Bottom - 2));
    };
    combo->SetItemIndex(1);
    auto closed = PaintToBitmap(combo);
    LookAt(*closed, "combo-ownerdraw");
    EXPECT_EQ(drawn, std::vector<std::string>{"1e"});
    EXPECT_EQ(closed->Canvas()->Pixel(2 + 2 + 5, 2 + 10), clRed);
    drawn.clear();
    combo->SetDroppedDown(true);
    auto list = PaintToBitmap(List());
    LookAt(*list, "combo-ownerdraw-list");
    EXPECT_EQ(drawn, (std::vector<std::string>{"0", "1s", "2", "3"}));
    EXPECT_EQ(list->Canvas()->Pixel(1 + 5, 1 + 20 + 10), clRed);   // row 1 inside the border
    EXPECT_EQ(list->Canvas()->Pixel(1 + 5, 1 + 40 + 10), clBlue);  // row 2
    EXPECT_EQ(list->Canvas()->Pixel(1 + 60, 1 + 20 + 10), ColorToRGB(clHighlight));
    combo->SetDroppedDown(false);
    // Variable rows are measured by the owner.
    combo->SetStyle(csOwnerDrawVariable);
    combo->OnMeasureItem = [](TWinControl*, int index, int& h) { h = 10 + 5 * index; };
    combo->SetDroppedDown(true);
    EXPECT_EQ(List()->ItemRect(3), Rect(0, 10 + 15 + 20, List()->ClientWidth(), 10 + 15 + 20 + 25));
    EXPECT_EQ(List()->Height(), 10 + 15 + 20 + 25 + 2);
}

TEST_F(ComboTest, TheSimpleStyleShowsItsListBelowTheEdit)
{
    combo->SetStyle(csSimple);
    combo->SetBounds(10, 10, 150, 120);
    EXPECT_EQ(combo->Height(), 120);
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->Parent(), combo);
    EXPECT_TRUE(List()->Visible());
    EXPECT_EQ(List()->Items().Count(), 4);
    EXPECT_GT(List()->Top(), combo->EditControl()->Top() + combo->EditControl()->Height() - 1);
    ClickAt(List(), 10, List()->ItemRect(3).Top + 3);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), "Fwd Draught Mark");
    EXPECT_EQ(log, (std::vector<std::string>{"click 3", "change Fwd Draught Mark"}));
    combo->SetDroppedDown(true);  // no drop-down here
    EXPECT_FALSE(combo->DroppedDown());
    int doubles = 0;
    combo->OnDblClick = [&](TObject*) { ++doubles; };
    SendMouse(List(), WM_LBUTTONDBLCLK, 10, List()->ItemRect(3).Top + 3);
    EXPECT_EQ(doubles, 1);
    LookAt(*PaintToBitmap(combo), "combo-simple");
}

}  // namespace
