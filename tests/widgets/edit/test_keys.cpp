// The typed edit's key filter, navigation around prefix and suffix, and paste rules.
#include "EditFixture.h"

#include <vector>

#include "platform/system/Clipboard.h"
#include "support/TestSupport.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;

namespace {

struct KeyCase {
    TExEditType type;
    int precision;
    bool isSigned;
    const char* start;  // raw text
    int caret;
    const char* typed;
    const char* result;
};

TEST_F(EditTest, KeyFilterByType)
{
    const KeyCase cases[] = {
        {etFloat, 2, false, "1.25", 3, "7", "1.27"},      // overwrites a complete fraction
        {etFloat, 2, false, "1.25", 4, "7", "1.25"},      // at the end: refused
        {etFloat, 2, false, "", 0, ".", "0."},            // the empty start
        {etFloat, 2, false, "1.5", 1, "-", "1.5"},        // unsigned: no sign
        {etFloat, 2, true, "1.5", 1, "-", "-1.5"},        // toggles at the front
        {etFloat, 2, true, "-1.5", 2, "-", "1.5"},
        {etFloat, 2, false, "1,234", 5, ".", "1,234."},   // three digits after the separator
        {etFloat, 2, false, "1,23", 4, ".", "1,23"},
        {etFloat, 2, false, "12", 2, "a", "12"},
        {etFloat, 0, false, "12", 2, ".", "12"},          // no decimals
        {etFloat, 2, false, "1.5", 1, ".", "1.5"},        // a second separator
        {etNumeric, 0, false, "12", 2, "3a", "123"},
        {etNumeric, 0, true, "12", 1, "-", "-12"},
        {etUppercase, 0, false, "", 0, "ab", "AB"},
        {etLowerCase, 0, false, "", 0, "AB", "ab"},
        {etMixedCase, 0, false, "", 0, "o'brien", "O'brien"},
        {etMixedCase, 0, false, "", 0, "macd", "MacD"},
        {etRange, 0, false, "", 0, "12-5", "12-5"},
        {etRange, 0, false, "1-", 2, ",", "1-"},
        {etRange, 0, false, "", 0, "-1", "1"},
        {etHex, 0, false, "", 0, "1aG-", "1a"},
        {etHex, 0, false, "", 0, "-f", "-f"},
        {etAlphaNumeric, 0, false, "", 0, "a1-b", "a1b"},
        {etMoney, 2, false, "1234", 4, "5", "12,345"},
        {etMoney, 0, false, "12", 2, ".", "12"},
    };
    for (const auto& c : cases) {
        e->SetEditType(etString);
        e->SetEditType(c.type);
        e->SetPrecision(c.precision);
        e->Signed = c.isSigned;
        e->SetFocus();
        e->TCustomEdit::SetText(c.start);
        Caret(c.caret);
        Type(c.typed);
        EXPECT_EQ(e->Text(), c.result) << c.start << " + " << c.typed;
    }
    e->SetEditType(etValidChars);
    e->ValidChars = "xy";
    e->TCustomEdit::SetText("");
    Type("axbyc");
    EXPECT_EQ(e->Text(), "xy");
}

TEST_F(EditTest, SignOnlyLeadsTheValue)
{
    e->SetEditType(etFloat);
    e->SetPrecision(2);
    e->Signed = true;
    e->SetFocus();
    e->TCustomEdit::SetText("12.50");
    e->Perform(EM_SETSEL, 1, 2);  // a selection in the middle
    Type("-");
    EXPECT_EQ(e->Text(), "12.50");
    e->Perform(EM_SETSEL, 0, 1);
    Type("-");
    EXPECT_EQ(e->Text(), "-2.50");
}

TEST_F(EditTest, CaretStaysOutOfPrefixAndSuffix)
{
    e->SetPrefix("L=");
    e->SetSuffix(" m");
    e->SetText("2.5");
    e->SetFocus();
    Caret(5);  // the end of the value
    Key(VK_RIGHT);
    EXPECT_EQ(e->SelStart(), 5);
    Key(VK_DELETE);
    EXPECT_EQ(e->Text(), "L=2.5 m");
    Caret(3);
    Key(VK_END);
    EXPECT_EQ(e->SelStart(), 5);
    Key(VK_HOME);
    EXPECT_EQ(e->SelStart(), 2);
    Key(VK_LEFT);
    EXPECT_EQ(e->SelStart(), 2);
    Type("\b");
    EXPECT_EQ(e->Text(), "L=2.5 m");
}

TEST_F(EditTest, LengthLimitKeepsTheIntegerPart)
{
    e->SetEditType(etFloat);
    e->SetPrecision(3);
    e->LengthLimit = 3;
    e->SetFocus();
    e->TCustomEdit::SetText("123.45");
    Caret(0);
    Type("9");
    EXPECT_EQ(e->Text(), "123.45");
    Caret(6);
    Type("6");
    EXPECT_EQ(e->Text(), "123.456");
}

TEST_F(EditTest, PasteFollowsTheType)
{
    const struct {
        TExEditType type;
        int precision;
        bool isSigned;
        const char* start;
        const char* clip;
        const char* result;
    } cases[] = {
        {etNumeric, 0, false, "1", "12a", "1"},  {etNumeric, 0, false, "1", "-5", "1"},
        {etNumeric, 0, true, "", "-5", "-5"},    {etNumeric, 0, true, "", "7", "7"},
        {etFloat, 0, false, "1", ".5", "1"},     {etFloat, 2, false, "", "2.5", "2.50"},
        {etFloat, 2, true, "", "1-2", ""},       {etFloat, 2, true, "3", "-", "3"},
        {etFloat, 2, true, "", "-2", "-2.00"},   {etUppercase, 0, false, "", "ab", "AB"},
        {etMixedCase, 0, false, "", "new york", "New York"}, {etAlphaNumeric, 0, false, "", "a-b", ""},
        {etHex, 0, false, "", "ff", ""},         {etString, 0, false, "x", "yz", "xyz"},
    };
    for (const auto& c : cases) {
        e->SetEditType(etString);
        e->SetEditType(c.type);
        e->SetPrecision(c.precision);
        e->Signed = c.isSigned;
        e->TCustomEdit::SetText(c.start);
        Caret(int(std::string(c.start).size()));
        Clipboard()->SetAsText(c.clip);
        e->PasteFromClipboard();
        EXPECT_EQ(e->Text(), c.result) << c.start << " + " << c.clip;
    }
}

TEST_F(EditTest, ClipboardEventsMayRefuse)
{
    e->SetPrefix("$");
    e->SetText("abc");
    e->Perform(EM_SETSEL, 1, 3);
    std::string seen;
    e->OnClipboardCopy = [&](TObject*, const std::string& v, bool& allow) {
        seen = v;
        allow = false;
    };
    Clipboard()->SetAsText("old");
    e->CopyToClipboard();
    EXPECT_EQ(seen, "ab");
    EXPECT_EQ(Clipboard()->AsText(), "old");
    e->OnClipboardCopy = nullptr;
    e->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "ab");
}

TEST_F(EditTest, KeepsItsTextInTheIniStore)
{
    testsupport::TempDir dir;
    const std::string ini = dir.file("edits.ini");
    e->SetName("DraughtEdit");
    e->Persistence.Enable = true;
    e->Persistence.Key = ini;
    e->Persistence.Section = "Fields";
    e->SetSuffix(" m");
    e->SetText("2.5");
    e->SavePersist();
    TExEdit* again = New(10, 100);
    again->SetName("DraughtEdit");
    again->Persistence = e->Persistence;
    again->LoadPersist();
    EXPECT_EQ(again->Text(), "2.5 m");
}

}  // namespace

namespace {

TEST_F(EditTest, ReturnTabsAndKeypadSeparator)
{
    e->SetEditType(etFloat);
    e->SetPrecision(2);
    e->ExcelStyleDecimalSeparator = true;
    base::SetDecimalSeparator(',');
    base::SetThousandSeparator('.');
    e->SetFocus();
    e->TCustomEdit::SetText("");
    Type("1");
    SendKey(e, VK_DECIMAL);  // the keypad's "." types the locale's separator
    Type("5");
    EXPECT_EQ(e->Text(), "1,5");
    base::SetDecimalSeparator('.');
    base::SetThousandSeparator(',');
    // Enter with ReturnIsTab moves the focus on.
    e->ReturnIsTab = true;
    SendKey(e, VK_RETURN);
    ProcessUntil([&] { return !e->Focused(); }, 50);
    EXPECT_FALSE(e->Focused());
}

TEST_F(EditTest, TabOnFullLengthAndFocusWidthAndAlignment)
{
    e->SetEditType(etNumeric);
    e->LengthLimit = 3;
    e->TabOnFullLength = true;
    e->FocusWidthInc = 20;
    e->FocusAlign = eaRight;
    const int w = e->Width();
    e->SetFocus();
    EXPECT_EQ(e->Width(), w + 20);
    EXPECT_EQ(e->Alignment(), taRightJustify);
    e->TCustomEdit::SetText("");
    Type("123");
    ProcessUntil([&] { return !e->Focused(); }, 50);
    EXPECT_FALSE(e->Focused());  // full: on to the next control
    EXPECT_EQ(e->Width(), w);
    EXPECT_EQ(e->Alignment(), taLeftJustify);
}

TEST_F(EditTest, LongTextHintShowsTheValue)
{
    e->HintShowLargeText = true;
    e->SetText(std::string(60, 'W'));
    THintInfo info;
    TMessage m{CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info), 0};
    e->Dispatch(m);
    EXPECT_EQ(info.HintStr, std::string(60, 'W'));
    EXPECT_EQ(info.HintPos.X, e->ClientToScreen(Point(0, 0)).X);
}

}  // namespace
