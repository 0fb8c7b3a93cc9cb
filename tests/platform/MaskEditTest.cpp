#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Mask.h"
#include "platform/forms/Forms.h"
#include "platform/system/Beep.h"
#include "platform/system/Clipboard.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

struct FormatCase {
    const char* mask;
    const char* value;
    const char* editText;
    const char* text;
};

TEST(EditMaskTest, PutsValuesIntoTheMask)
{
    const FormatCase cases[] = {
        {"(999) 000-0000;1;_", "(555) 123-4567", "(555) 123-4567", "(555) 123-4567"},
        {"(999) 000-0000;0;_", "5551234567", "(555) 123-4567", "5551234567"},
        {"(999) 000-0000;0;_", "55512", "(555) 12_-____", "55512"},
        {"(999) 000-0000;1;*", "", "(***) ***-****", "(   )    -    "},
        {"!999;0;_", "7", "__7", "7"},                  // '!': optional places lead
        {">LL<ll;0;_", "abCD", "ABcd", "ABcd"},         // case from the mask
        {"<>LL;0;_", "aB", "aB", "aB"},
        {"00;0;_", "a1", "_1", " 1"},                   // what does not fit stays blank
        {"\\A0\\;;0;_", "5", "A5;", "5"},              // escaped literals, ';' among them
        {"##;0;_", "-3", "-3", "-3"},
        {"cC;0;#", "x y", "x#", "x"},                   // the space of a value is a blank
    };
    for (const auto& c : cases) {
        const TEditMask m(c.mask);
        const std::string edit = m.EditTextOf(c.value);
        EXPECT_EQ(edit, c.editText) << c.mask << " / " << c.value;
        EXPECT_EQ(m.TextOf(edit), c.text) << c.mask << " / " << c.value;
    }
    EXPECT_EQ(FormatMaskText("000-000;0;_", "123456"), "123456");
    EXPECT_EQ(FormatMaskText("000-000;1;_", "123456"), "123-456");
    EXPECT_EQ(FormatMaskText("", "free"), "free");
}

// Every text the mask can show gives a value that reads back equal: literal blanks and a
// blank as the blank character among them.
TEST(EditMaskTest, ValuesReadBackEqual)
{
    const char* masks[] = {"!9999 9999;0;_", "LL 99 LL;0; ", "9_9 9;0; ",    "(999) 000-0000;0;_", "!999;0;_",
                           "000-000;1;_",    "cC;0;#",       ">LL<ll;0;_",   "aa aa;1; ",          "!a-a_a;0;-"};
    const char fill[] = {'1', '4', 'x', 'Q', ' ', '-', '7'};
    unsigned seed = 12345;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (const char* mask : masks) {
        const TEditMask m(mask);
        for (int round = 0; round < 400; ++round) {
            std::string edit = m.EmptyText();
            for (int i = 0; i < m.Length(); ++i) {
                if (m.IsLiteral(i) || next() % 3 == 0) continue;  // a third stays blank
                if (const char c = m.Accept(i, fill[next() % sizeof fill])) edit[std::size_t(i)] = c;
            }
            const std::string value = m.TextOf(edit);
            EXPECT_EQ(m.TextOf(m.EditTextOf(value)), value) << mask << " / \"" << edit << "\"";
        }
    }
    // The cases that changed: "34    4" kept its blanks in place, no letter is lost.
    const TEditMask blanks("!9999 9999;0;_");
    EXPECT_EQ(blanks.EditTextOf("34     4"), "34__ ___4");
    const TEditMask spaced("LL 99 LL;0; ");
    EXPECT_EQ(spaced.EditTextOf("AB 2CD"), "AB  2 CD");
}

TEST(EditMaskTest, FieldsAndPositions)
{
    const TEditMask m("(000)_a;0;.");
    EXPECT_FALSE(m.SaveLiterals());
    EXPECT_EQ(m.Blank(), '.');
    EXPECT_EQ(m.EmptyText(), "(...) .");
    EXPECT_EQ(m.NextSlot(0), 1);
    EXPECT_EQ(m.NextSlot(4), 6);
    EXPECT_EQ(m.PrevSlot(6), 3);
    EXPECT_EQ(m.PrevSlot(1), -1);
    EXPECT_EQ(m.FirstMissing("(12.) ."), 3);
    EXPECT_EQ(m.FirstMissing("(123) ."), -1);  // the last place is optional
    EXPECT_TRUE(TEditMask("").Empty());
    EXPECT_TRUE(TEditMask("0;1;_").SaveLiterals());
}

struct MaskEditFixture : ControlFixture {
    TMaskEdit* edit = nullptr;
    TMaskEdit* other = nullptr;
    int beeps = 0, completes = 0;
    void SetUp() override
    {
        ControlFixture::SetUp();
        edit = Add<TMaskEdit>(10, 10, 150, 21);
        other = Add<TMaskEdit>(10, 40, 150, 21);
        edit->OnEditComplete = [this](TObject*) { ++completes; };
        SetBeepHook([this](UINT) { ++beeps; });
    }
    void TearDown() override
    {
        SetBeepHook(nullptr);
        ControlFixture::TearDown();
    }
    void Type(const std::string& s)
    {
        for (char c : s) {
            if (c >= 'a' && c <= 'z') SendKey(edit, Word(c - 32));
            else if (c >= 'A' && c <= 'Z') SendKey(edit, Word(c), ssShift);
            else if (c >= '0' && c <= '9') SendKey(edit, Word(c));
            else SendChar(edit, c);
        }
    }
};

TEST_F(MaskEditFixture, TypingOverwritesAndSkipsLiterals)
{
    edit->SetEditMask("(999) 000-0000;0;_");
    EXPECT_TRUE(edit->IsMasked());
    EXPECT_EQ(edit->EditText(), "(___) ___-____");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    EXPECT_EQ(edit->SelStart(), 1);  // the first place, after "("
    Type("555123");
    EXPECT_EQ(edit->EditText(), "(555) 123-____");
    EXPECT_EQ(edit->CaretIndex(), 10);  // past "-"
    EXPECT_EQ(edit->Text(), "555123");
    EXPECT_TRUE(edit->Modified());
    Type("x");  // not a digit: refused with a beep
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(edit->EditText(), "(555) 123-____");
    EXPECT_EQ(completes, 0);
    Type("4567");
    EXPECT_EQ(edit->Text(), "5551234567");
    EXPECT_EQ(edit->CaretIndex(), 14);
    EXPECT_EQ(completes, 1);
    Type("8");  // nothing left to type over
    EXPECT_EQ(beeps, 2);
    // Typing over what is there, not inserting.
    SendKey(edit, VK_HOME);
    Type("9");
    EXPECT_EQ(edit->EditText(), "(955) 123-4567");
    EXPECT_EQ(edit->EditText().size(), 14u);
}

TEST_F(MaskEditFixture, CaretMovesSkipLiterals)
{
    edit->SetEditMask("00-00;1;_");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    const std::vector<std::pair<Word, int>> moves = {
        {VK_RIGHT, 1}, {VK_RIGHT, 3}, {VK_RIGHT, 4}, {VK_RIGHT, 5}, {VK_RIGHT, 5},
        {VK_LEFT, 4}, {VK_LEFT, 3}, {VK_LEFT, 1}, {VK_LEFT, 0}, {VK_LEFT, 0}, {VK_END, 5}, {VK_HOME, 0}};
    for (auto [key, at] : moves) {
        SendKey(edit, key);
        EXPECT_EQ(edit->CaretIndex(), at) << "key " << key;
        EXPECT_EQ(edit->SelLength(), 0);
    }
    SendKey(edit, VK_RIGHT, ssShift);
    SendKey(edit, VK_RIGHT, ssShift);
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 3);
}

TEST_F(MaskEditFixture, DeletingLeavesBlanksAndLiterals)
{
    edit->SetEditMask("00-00;1;_");
    edit->SetText("12-34");
    edit->SetFocus();
    SendKey(edit, VK_END);
    SendKey(edit, VK_BACK);
    EXPECT_EQ(edit->EditText(), "12-3_");
    SendKey(edit, VK_BACK);
    SendKey(edit, VK_BACK);  // over "-" to the "2"
    EXPECT_EQ(edit->EditText(), "1_-__");
    EXPECT_EQ(edit->CaretIndex(), 1);
    SendKey(edit, VK_HOME);
    SendKey(edit, VK_DELETE);
    EXPECT_EQ(edit->EditText(), "__-__");
    EXPECT_EQ(edit->CaretIndex(), 0);
    // A selection typed over: its places become blanks, the literal stays.
    edit->SetText("12-34");
    edit->SetFocus();
    edit->SelectAll();
    Type("7");
    EXPECT_EQ(edit->EditText(), "7_-__");
    EXPECT_EQ(edit->CaretIndex(), 1);
    edit->SelectAll();
    SendKey(edit, VK_DELETE);
    EXPECT_EQ(edit->EditText(), "__-__");
}

TEST_F(MaskEditFixture, TypedLiteralStepsOverIt)
{
    edit->SetEditMask("00:00;1;_");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    Type("1");
    EXPECT_EQ(edit->CaretIndex(), 1);
    Type(":");  // a literal at the caret? no: the caret is on a place, ':' does not fit it
    EXPECT_EQ(beeps, 1);
    Type("2");
    EXPECT_EQ(edit->CaretIndex(), 3);
    SendKey(edit, VK_LEFT);
    Type("9");  // overwrites the "2" and the caret skips the literal
    EXPECT_EQ(edit->EditText(), "19:__");
    EXPECT_EQ(edit->CaretIndex(), 3);
    edit->SetSelStart(2);
    Type(":");  // typed where the literal stands: the caret steps over it
    EXPECT_EQ(edit->CaretIndex(), 3);
    EXPECT_EQ(edit->EditText(), "19:__");
}

TEST_F(MaskEditFixture, CaseAndLettersFromTheMask)
{
    edit->SetEditMask(">LL<ll;0;_");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    Type("abCD");
    EXPECT_EQ(edit->Text(), "ABcd");
    SendKey(edit, VK_HOME);
    Type("1");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(edit->Text(), "ABcd");
}

TEST_F(MaskEditFixture, PasteFillsPlacesAndCutLeavesBlanks)
{
    edit->SetEditMask("(999) 000-0000;1;_");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    Clipboard()->SetAsText("(555) 12a3-4567\r\nmore");
    SendKey(edit, 'V', ssCtrl);
    EXPECT_EQ(edit->EditText(), "(555) 123-4567");
    EXPECT_EQ(beeps, 1);  // the "a" did not fit
    EXPECT_EQ(completes, 1);
    edit->SetSelStart(6);
    edit->SetSelLength(5);  // "123-4"
    SendKey(edit, 'X', ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), "123-4");
    EXPECT_EQ(edit->EditText(), "(555) ___-_567");
    // Digits alone fill the places one after another.
    edit->SetSelStart(6);
    Clipboard()->SetAsText("9876");
    SendKey(edit, 'V', ssCtrl);
    EXPECT_EQ(edit->EditText(), "(555) 987-6567");
    edit->SetReadOnly(true);
    edit->SelectAll();
    SendKey(edit, VK_DELETE);
    Type("1");
    EXPECT_EQ(edit->EditText(), "(555) 987-6567");
}

TEST_F(MaskEditFixture, ValidateEditRaisesOnIncompleteText)
{
    edit->SetEditMask("00/00/0000;1;_");
    edit->SetText("12/3");
    EXPECT_EQ(edit->EditText(), "12/3_/____");
    try {
        edit->ValidateEdit();
        FAIL() << "no error";
    } catch (const EDBEditError& e) {
        EXPECT_STREQ(e.what(), "Invalid input value.  Use escape key to abandon changes");
    }
    EXPECT_EQ(edit->CaretIndex(), 4);  // on the first empty required place
    edit->SetText("12/31/1999");
    EXPECT_NO_THROW(edit->ValidateEdit());
    edit->SetEditMask("99;1;_");  // optional places may stay empty
    edit->SetText("");
    EXPECT_NO_THROW(edit->ValidateEdit());
    edit->SetEditMask("");
    EXPECT_FALSE(edit->IsMasked());
    EXPECT_NO_THROW(edit->ValidateEdit());
}

TEST_F(MaskEditFixture, LeavingAnIncompleteEditRaisesAndKeepsTheFocus)
{
    edit->SetEditMask("000;0;_");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    Type("1");
    EXPECT_THROW(other->SetFocus(), EDBEditError);
    EXPECT_TRUE(edit->Focused());
    Type("23");
    EXPECT_NO_THROW(other->SetFocus());
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(edit->Text(), "123");
    // An unmodified empty edit may be left.
    other->SetEditMask("000;0;_");
    other->SetFocus();
    EXPECT_NO_THROW(edit->SetFocus());
}

TEST_F(MaskEditFixture, EscapeAbandonsTheChanges)
{
    edit->SetEditMask("000;0;_");
    edit->SetText("12");
    edit->SetFocus();
    SendKey(edit, VK_HOME);
    Type("98");
    EXPECT_EQ(edit->Text(), "98");
    SendKey(edit, VK_ESCAPE);
    EXPECT_EQ(edit->Text(), "12");
    // Abandoned: an incomplete text from before may be left again.
    EXPECT_FALSE(edit->Modified());
    EXPECT_NO_THROW(other->SetFocus());
    EXPECT_TRUE(other->Focused());
}

TEST_F(MaskEditFixture, MaskChangesKeepWhatFits)
{
    edit->SetText("abc123");
    EXPECT_FALSE(edit->IsMasked());
    edit->SetEditMask("LLL-000;0;_");
    EXPECT_EQ(edit->EditText(), "abc-123");
    EXPECT_EQ(edit->MaxLength(), 7);
    edit->SetEditMask("LLL-000;1;_");
    EXPECT_EQ(edit->Text(), "abc-123");
    // The window text set directly is fitted, position for position.
    edit->SetEditText("x1y-45z");
    EXPECT_EQ(edit->EditText(), "x_y-45_");
    edit->SetEditMask("");
    EXPECT_EQ(edit->Text(), "x y-45 ");  // saved literals keep the blank places as spaces
    EXPECT_EQ(edit->MaxLength(), 0);
}

// A window text ends at NUL: so does a mask, and the window text keeps the mask's length.
TEST_F(MaskEditFixture, MaskEndsAtNul)
{
    const struct {
        std::string mask, value, editMask, editText;
    } cases[] = {
        {std::string("x\0 y", 4), "", "x", "x"},
        {std::string("!999\0=34", 9), "12", "!999", "_12"},
        {std::string("LL 99\0LL;0; ", 12), "AB12", "LL 99", "AB 12"},
        {std::string("00;0;\0", 6), "7", "00;0;", "7_"},  // a NUL blank leaves the default
        {std::string("\0 00", 4), "12", "", "12"},          // no mask left
    };
    for (const auto& c : cases) {
        edit->SetEditMask("");
        edit->SetText("");
        edit->SetEditMask(c.mask);
        edit->SetText(c.value);
        EXPECT_EQ(edit->EditMask(), c.editMask);
        EXPECT_EQ(edit->EditText(), c.editText) << c.editMask;
        if (edit->IsMasked()) {
            EXPECT_EQ(int(edit->EditText().size()), edit->Mask().Length()) << c.editMask;
        }
        EXPECT_EQ(TEditMask(c.mask).Length(), TEditMask(c.editMask).Length()) << c.editMask;
    }
}

TEST_F(MaskEditFixture, WithoutAMaskItIsAnEdit)
{
    edit->SetFocus();
    Type("ab");
    SendKey(edit, VK_HOME);
    Type("c");
    EXPECT_EQ(edit->Text(), "cab");  // inserted
    SendKey(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_FALSE(edit->EditComplete());
}

TEST_F(MaskEditFixture, DrawsTheBlanksAndLiterals)
{
    edit->SetEditMask("00-00;1;_");
    edit->SetText("12");
    auto b = PaintToBitmap(edit);
    SaveSnapshot(*b, "maskedit");
    EXPECT_GT(Dark(*b, Rect(2, 2, 140, 19)), 20);
}

}  // namespace
