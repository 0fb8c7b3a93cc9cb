// The wide edit and the wide combo box: wide text kept whole beside the platform's 8-bit
// text, typed wide characters, the selection, the items and the events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"
#include "widgets/grid/GrdUni.h"

using namespace platform;
using namespace grid;

namespace {

struct WideFixture : ControlFixture {
    void SetUp() override
    {
        EnsurePlatform();
        ControlFixture::SetUp();
    }
    std::vector<std::string> log;
};

using WideEditTest = WideFixture;
using WideComboTest = WideFixture;

const WideString kOmega = u"\u03A9mega \u00E4";  // a Greek letter the 8-bit page lacks, and one it has

}  // namespace

TEST_F(WideEditTest, TextOutsideThe8BitPageIsReadBackWhole)
{
    auto* e = Add<TGrdUniEdit>(10, 10, 120, 22);
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    e->SetText(kOmega);
    EXPECT_EQ(e->Text(), kOmega);
    EXPECT_EQ(e->TCustomEdit::Text(), "?mega \xE4");  // what the platform holds and shows
    EXPECT_EQ(changes, 1);
    e->SetText(kOmega);  // the same text: no notice
    EXPECT_EQ(changes, 1);
    e->SetText(u"\u03A8mega \u00E4");  // only a character the 8-bit page lacks differs
    EXPECT_EQ(e->Text(), u"\u03A8mega \u00E4");
    EXPECT_EQ(changes, 2);
    e->SetText(std::string("plain"));  // 8-bit callers are widened
    EXPECT_EQ(e->Text(), u"plain");
}

TEST_F(WideEditTest, TypedWideCharactersEnterWholeAndKeyPressSeesAPlaceholder)
{
    auto* e = Add<TGrdUniEdit>(10, 10, 120, 22);
    std::vector<int> seen;
    bool swallow = false;
    e->OnKeyPress = [&](TObject*, char& k) {
        seen.push_back((unsigned char)k);
        if (swallow) k = 0;
    };
    e->SetFocus();
    SendChar(e, 'a');
    e->Perform(WM_CHAR, 0x0416, 0);  // Cyrillic Zhe
    SendChar(e, 'b');
    EXPECT_EQ(e->Text(), u"a\u0416b");
    EXPECT_EQ(seen, (std::vector<int>{'a', 255, 'b'}));
    swallow = true;
    e->Perform(WM_CHAR, 0x0416, 0);
    EXPECT_EQ(e->Text(), u"a\u0416b");
    swallow = false;
    // Editing elsewhere in the text keeps the wide character: Backspace, then a '?' typed over it.
    SendKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), u"a\u0416");
    e->SetSelStart(1);
    e->SetSelLength(1);
    EXPECT_EQ(e->SelText(), u"\u0416");
    SendChar(e, '?');
    EXPECT_EQ(e->Text(), u"a?");
    e->SelectAll();
    e->SetSelText(u"\u03A9\u03A9");
    EXPECT_EQ(e->Text(), u"\u03A9\u03A9");
    EXPECT_EQ(e->SelStart(), 2);
}

TEST_F(WideEditTest, TextTypedOnTheKeyboardArrivesWide)
{
    auto* e = Add<TGrdUniEdit>(10, 10, 120, 22);
    auto* plain = Add<TEdit>(10, 40, 120, 22);
    auto* c = Add<TCustomUNIComboBox>(10, 70, 150, 0);
    e->SetText(u"");
    e->SetFocus();
    HostText(e, u"a\u03A9\u00E4");
    EXPECT_EQ(e->Text(), u"a\u03A9\u00E4");
    HostText(plain, u"a\u03A9");  // an 8-bit control sees what its page has
    EXPECT_EQ(plain->Text(), "a?");
    c->SetFocus();
    HostText(c->EditControl(), u"\u0416x");
    EXPECT_EQ(c->Text(), u"\u0416x");
}

TEST_F(WideComboTest, ItemsKeepWideTextAndClearingThemKeepsTheEditText)
{
    auto* c = Add<TCustomUNIComboBox>(10, 10, 150, 0);
    EXPECT_EQ(c->Items().Add(kOmega), 0);
    c->Items().Add(u"b\u0416");
    EXPECT_EQ(c->Items().Count(), 2);
    EXPECT_EQ(c->Items().Strings(0), kOmega);
    EXPECT_EQ(c->Items().Strings(1), u"b\u0416");
    EXPECT_EQ(c->TCustomComboBox::Items().Get(1), "b?");
    EXPECT_EQ(c->Items().IndexOf(u"B\u0416"), 1);  // without case
    c->Items().Insert(0, u"first");
    c->Items().Delete(1);
    EXPECT_EQ(c->Items().CommaText(), u"first,b\u0416");
    c->SetText(u"typed \u0416");
    c->Items().Clear();
    EXPECT_EQ(c->Items().Count(), 0);
    EXPECT_EQ(c->Text(), u"typed \u0416");
}

TEST_F(WideComboTest, ChoosingFromTheListSetsTheWideTextAndRaisesClickAndChange)
{
    auto* c = Add<TCustomUNIComboBox>(10, 10, 150, 0);
    c->Items().Add(u"one");
    c->Items().Add(kOmega);
    c->OnClick = [&](TObject*) { log.push_back("click"); };
    c->OnChange = [&](TObject*) { log.push_back("change"); };
    ClickAt(c, c->ButtonRect().Left + 3, 5);
    ASSERT_TRUE(c->DroppedDown());
    TCustomListBox* list = c->ListControl();
    const TRect row = list->ItemRect(1);
    ClickAt(list, 10, (row.Top + row.Bottom) / 2);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), kOmega);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "change"}));
}

TEST_F(WideComboTest, TypingIntoTheEditPartAndTheKeysThatOnlyCloseTheList)
{
    auto* c = Add<TCustomUNIComboBox>(10, 10, 150, 0);
    c->Items().Add(u"x");
    std::vector<int> seen;
    c->OnKeyPress = [&](TObject*, char& k) { seen.push_back((unsigned char)k); };
    c->SetFocus();
    TWinControl* edit = c->EditControl();
    ASSERT_NE(edit, nullptr);
    SendChar(edit, 'a');
    edit->Perform(WM_CHAR, 0x03A9, 0);
    EXPECT_EQ(c->Text(), u"a\u03A9");
    EXPECT_EQ(c->SelText(), u"");
    SendChar(edit, 8);  // Backspace: the event sees it, the edit still deletes
    EXPECT_EQ(c->Text(), u"a");
    EXPECT_EQ(seen, (std::vector<int>{'a', 255, 8}));
    for (char key : {char(13), char(27)}) {
        c->SetDroppedDown(true);
        SendChar(edit, key);
        EXPECT_FALSE(c->DroppedDown()) << int(key);
        EXPECT_EQ(c->Text(), u"a");
    }
}

namespace {

// What a control paints, for comparing two controls of the same size.
std::vector<TColor> Pixels(TWinControl* c)
{
    auto b = PaintToBitmap(c);
    SaveSnapshot(*b, "grduni");
    std::vector<TColor> v;
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x) v.push_back(b->Canvas()->Pixel(x, y));
    return v;
}

}  // namespace

TEST_F(WideEditTest, DrawsTheCharactersTheEightBitPageLacks)
{
    auto* wide = Add<TGrdUniEdit>(10, 10, 120, 22);
    auto* marks = Add<TGrdUniEdit>(10, 40, 120, 22);
    auto* plain = Add<TEdit>(10, 70, 120, 22);
    wide->SetText(kOmega);
    marks->SetText(u"?mega \u00E4");
    plain->SetText(std::string("?mega \xE4"));
    EXPECT_NE(Pixels(wide), Pixels(marks));  // the Omega, not a question mark
    EXPECT_EQ(Pixels(marks), Pixels(plain));  // 8-bit text looks as in any edit
    // A change of a wide character alone redraws it, and the caret places follow its width.
    const auto before = Pixels(wide);
    wide->SetText(u"\u0416mega \u00E4");
    EXPECT_NE(Pixels(wide), before);
    EXPECT_NE(wide->PosFromChar(1).X, marks->PosFromChar(1).X);
}

TEST_F(WideEditTest, InputMethodResultsArriveWide)
{
    auto* e = Add<TGrdUniEdit>(10, 10, 120, 22);
    auto* c = Add<TCustomUNIComboBox>(10, 40, 150, 0);
    e->SetFocus();
    HostInputMethod(e, u"\u65E5\u672C");
    EXPECT_EQ(e->Text(), u"\u65E5\u672C");
    std::vector<int> seen;
    e->OnKeyPress = [&](TObject*, char& k) { seen.push_back((unsigned char)k); };
    HostInputMethod(e, u"\u8A9Ea");
    EXPECT_EQ(e->Text(), u"\u65E5\u672C\u8A9Ea");
    EXPECT_EQ(seen, (std::vector<int>{255, 'a'}));  // each character as one typed
    c->SetFocus();
    HostInputMethod(c->EditControl(), u"\u0416");
    EXPECT_EQ(c->Text(), u"\u0416");
}

TEST_F(WideComboTest, TheEditPartTheListAndTheChosenItemDrawWideText)
{
    auto* wide = Add<TCustomUNIComboBox>(10, 10, 150, 0);
    auto* marks = Add<TCustomUNIComboBox>(10, 40, 150, 0);
    wide->SetText(kOmega);
    marks->SetText(u"?mega \u00E4");
    EXPECT_NE(Pixels(wide), Pixels(marks));
    wide->SetStyle(csDropDownList);
    marks->SetStyle(csDropDownList);
    wide->Items().Add(kOmega);
    marks->Items().Add(u"?mega \u00E4");
    wide->SetItemIndex(0);
    marks->SetItemIndex(0);
    EXPECT_NE(Pixels(wide), Pixels(marks));
    wide->SetDroppedDown(true);
    marks->SetDroppedDown(true);
    EXPECT_NE(Pixels(wide->ListControl()), Pixels(marks->ListControl()));
    wide->SetDroppedDown(false);
    marks->SetDroppedDown(false);
}
