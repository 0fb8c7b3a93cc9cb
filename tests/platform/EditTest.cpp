#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

// An edit that records and may intercept what a derived edit overrides.
class TProbeEdit : public TEdit {
public:
    using TEdit::TEdit;
    std::vector<std::string> log;
    bool blockPaste = false, blockCopy = false;
    LPARAM lastKeyData = 0;
    char lastChar = 0;

    void WMChar(TWMChar& m) override
    {
        lastChar = char(m.CharCode());
        lastKeyData = m.KeyData();
        if (m.CharCode() == '#') return;  // refused
        TEdit::WMChar(m);
    }
    void WMPaste(TMessage& m) override
    {
        log.push_back("paste " + Clipboard()->AsText());
        if (!blockPaste) TEdit::WMPaste(m);
    }
    void WMCopy(TMessage& m) override
    {
        log.push_back("copy " + SelText());
        if (!blockCopy) TEdit::WMCopy(m);
    }
    void WMKeyDown(TWMKeyDown& m) override
    {
        log.push_back("keydown " + std::to_string(m.CharCode()));
        TEdit::WMKeyDown(m);
    }
    void WMSetFocus(TWMSetFocus& m) override
    {
        log.push_back("setfocus");
        TEdit::WMSetFocus(m);
    }
    void WMKillFocus(TWMKillFocus& m) override
    {
        log.push_back("killfocus");
        TEdit::WMKillFocus(m);
    }
    void WMPaint(TWMPaint& m) override
    {
        log.push_back("paint");
        TEdit::WMPaint(m);
    }
};

struct EditFixture : ControlFixture {
    TProbeEdit* edit = nullptr;
    TEdit* other = nullptr;
    void SetUp() override
    {
        ControlFixture::SetUp();
        form->SetBounds(0, 0, 220, 100);
        edit = Add<TProbeEdit>(10, 10, 150, 21);
        other = Add<TEdit>(10, 40, 150, 21);
    }
    void Type(const std::string& s)
    {
        for (char c : s) SendChar(edit, c);
    }
};

}  // namespace

TEST_F(EditFixture, TypingMovesTheCaretAndShiftArrowsSelect)
{
    edit->SetFocus();
    Type("hello");
    EXPECT_EQ(edit->Text(), "hello");
    EXPECT_EQ(edit->SelStart(), 5);
    SendKey(edit, VK_LEFT, ssShift);
    SendKey(edit, VK_LEFT, ssShift);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 2);
    EXPECT_EQ(edit->SelText(), "lo");
    Type("X");
    EXPECT_EQ(edit->Text(), "helX");
    SendKey(edit, VK_HOME, ssShift);
    EXPECT_EQ(edit->SelText(), "helX");
    EXPECT_EQ(edit->CaretIndex(), 0);
    SendKey(edit, VK_RIGHT);  // collapses to the selection's end
    EXPECT_EQ(edit->SelStart(), 4);
    EXPECT_EQ(edit->SelLength(), 0);
    SendKey(edit, VK_HOME);
    SendKey(edit, VK_DELETE);
    EXPECT_EQ(edit->Text(), "elX");
    SendKey(edit, VK_END);
    SendKey(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), "el");
    SendKey(edit, 'A', ssCtrl);
    EXPECT_EQ(edit->SelLength(), 2);
    edit->SetSelStart(1);
    edit->SetSelLength(5);  // cut at the end
    EXPECT_EQ(edit->SelText(), "l");
}

TEST_F(EditFixture, TextChangesRaiseOnChangeAndUserEditsMarkModified)
{
    int changes = 0;
    edit->OnChange = [&](TObject* s) {
        EXPECT_EQ(s, edit);
        ++changes;
    };
    edit->SetText("12");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit->Modified());
    edit->SetText("12");  // the same text is no change
    EXPECT_EQ(changes, 1);
    edit->SetFocus();
    SendKey(edit, VK_END);
    Type("3");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(edit->Modified());
    edit->SetSelText("4");  // a program's replacement keeps the flag as it was
    EXPECT_EQ(edit->Text(), "1234");
    edit->SetText("0");
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 0);
    edit->SetSelStart(1);
    Type("5");
    SendKey(edit, 'Z', ssCtrl);  // undo
    EXPECT_EQ(edit->Text(), "0");
}

TEST_F(EditFixture, CaretPositionsAndCharactersAtPointsAgree)
{
    edit->SetText("W.iW 1,5");
    const int n = int(edit->Text().size());
    int lastX = -1;
    for (int i = 0; i <= n; ++i) {
        const TPoint p = edit->PosFromChar(i);
        EXPECT_GT(p.X, lastX) << i;
        lastX = p.X;
        EXPECT_EQ(edit->CharFromPos(p), i) << i;
        EXPECT_EQ(edit->CharFromPos({p.X, p.Y + 3}), i) << i;
        EXPECT_EQ(edit->Perform(EM_CHARFROMPOS, 0, MakeLParam(p.X, p.Y)), i);
        if (i < n) {
            EXPECT_EQ(edit->Perform(EM_POSFROMCHAR, WPARAM(i)), MakeLParam(p.X, p.Y));
        }
    }
    EXPECT_EQ(edit->Perform(EM_POSFROMCHAR, WPARAM(n)), -1);  // past the last character
    EXPECT_EQ(edit->CharFromPos({-50, 0}), 0);
    EXPECT_EQ(edit->CharFromPos({500, 0}), n);
    // The system caret stands where the caret index is.
    edit->SetFocus();
    edit->SetSelStart(3);
    TPoint caret;
    ASSERT_TRUE(GetCaretPos(caret));
    EXPECT_EQ(caret, edit->PosFromChar(3));
    other->SetFocus();  // the caret goes with the focus
    ASSERT_TRUE(GetCaretPos(caret));
    EXPECT_EQ(caret, other->PosFromChar(0));
}

// A typed character lays the text out once, not every prefix of it (which grew with the
// square of the length: seconds per key at a few thousand characters).
TEST_F(EditFixture, TypingMeasuresTheTextOncePerChange)
{
    const int n = 3000;
    edit->SetText(std::string(n, 'a'));
    edit->SetFocus();
    SendKey(edit, VK_END);
    for (int i = 1; i <= 5; ++i) {
        const long long before = EditCharactersMeasured();
        Type("b");
        EXPECT_GT(edit->PosFromChar(n + i).X, edit->PosFromChar(n + i - 1).X);
        PaintToBitmap(edit);
        const long long cost = EditCharactersMeasured() - before;
        EXPECT_GT(cost, 0);
        EXPECT_LE(cost, 2 * (n + i)) << "key " << i;
    }
}

// Boundaries read from one layout of the text stay in order and map back to their
// characters, ligatures and mixed widths included.
TEST_F(EditFixture, CaretBoundariesOfOneLayoutMapBack)
{
    for (const char* text : {"fi fl ffi WAVE", "iiiiWWWW....", "Tr\xe4ger \xa9 1,5"}) {
        edit->SetText(text);
        const int n = int(edit->Text().size());
        for (int i = 1; i <= n; ++i) {
            EXPECT_GT(edit->PosFromChar(i).X, edit->PosFromChar(i - 1).X) << text << " " << i;
            EXPECT_EQ(edit->CharFromPos(edit->PosFromChar(i)), i) << text << " " << i;
        }
    }
}

TEST_F(EditFixture, FormattingRectangleKeepsRoomForAButton)
{
    const TRect client = edit->ClientRect();
    TRect r;
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, edit->FormatRect());
    EXPECT_GE(r.Right, client.Right - 2);
    const TRect narrow = Rect(1, 1, client.Right - 30, client.Bottom);
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&narrow));
    EXPECT_EQ(edit->FormatRect(), narrow);
    // Right-aligned text ends at the rectangle, not under the button.
    edit->SetAlignment(taRightJustify);
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&narrow));
    edit->SetText("42");
    EXPECT_LE(edit->PosFromChar(2).X, narrow.Right);
    EXPECT_GE(edit->PosFromChar(2).X, narrow.Right - 2);
    // A long text scrolls so that the caret stays inside it.
    edit->SetAlignment(taLeftJustify);
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&narrow));
    edit->SetFocus();
    edit->SetText(std::string(60, '8'));
    SendKey(edit, VK_END);
    EXPECT_LE(edit->PosFromChar(60).X, narrow.Right);
    SendKey(edit, VK_HOME);
    EXPECT_EQ(edit->PosFromChar(0).X, narrow.Left);
    // A new size gives the default back.
    edit->SetWidth(140);
    EXPECT_NE(edit->FormatRect(), narrow);
}

TEST_F(EditFixture, PasteAndCopyReachTheDerivedHandlersThatMayRefuseThem)
{
    edit->SetFocus();
    Clipboard()->SetAsText("abc\r\nnext line");
    SendKey(edit, 'V', ssCtrl);
    EXPECT_EQ(edit->Text(), "abc");
    edit->blockPaste = true;
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->log.back(), "paste abc\r\nnext line");
    edit->SelectAll();
    edit->blockCopy = true;
    Clipboard()->SetAsText("kept");
    SendKey(edit, 'C', ssCtrl);
    EXPECT_EQ(edit->log.back(), "copy abc");
    EXPECT_EQ(Clipboard()->AsText(), "kept");
    edit->blockCopy = false;
    SendKey(edit, VK_INSERT, ssCtrl);
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    SendKey(edit, 'X', ssCtrl);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(Clipboard()->AsText(), "abc");
}

TEST_F(EditFixture, CharactersCarryTheirKeyDataWithTheKeypadBit)
{
    constexpr LPARAM keypadBit = LPARAM(1) << 22;
    edit->SetFocus();
    SendKey(edit, VK_DECIMAL);
    EXPECT_EQ(edit->lastChar, '.');
    EXPECT_TRUE(edit->lastKeyData & keypadBit);
    SendKey(edit, 0xBE);
    EXPECT_EQ(edit->lastChar, '.');
    EXPECT_FALSE(edit->lastKeyData & keypadBit);
    // The same through the host's key events.
    HostKey(edit, VK_DECIMAL);
    EXPECT_EQ(edit->lastChar, '.');
    EXPECT_TRUE(edit->lastKeyData & keypadBit);
    HostKey(edit, 0xBE);
    EXPECT_FALSE(edit->lastKeyData & keypadBit);
    EXPECT_EQ(edit->Text(), "....");
    SendChar(edit, '#');  // refused by the derived handler
    EXPECT_EQ(edit->Text(), "....");
}

TEST_F(EditFixture, MaxLengthAndReadOnlyLimitTheUser)
{
    edit->SetFocus();
    edit->SetMaxLength(4);
    Type("12345");
    EXPECT_EQ(edit->Text(), "1234");
    edit->SetSelStart(2);
    edit->SetSelLength(1);
    Clipboard()->SetAsText("abc");
    edit->PasteFromClipboard();  // room for one
    EXPECT_EQ(edit->Text(), "12a4");
    edit->SetText("123456");  // the program is not limited
    EXPECT_EQ(edit->Text(), "123456");

    edit->SetReadOnly(true);
    edit->SelectAll();
    Type("9");
    SendKey(edit, VK_BACK);
    SendKey(edit, VK_DELETE);
    edit->PasteFromClipboard();
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), "123456");
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    edit->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "123456");
    EXPECT_FALSE(edit->Modified());
}

namespace {
// A derived edit that asks for the password style in its window parameters.
class TPasswordStyleEdit : public TEdit {
public:
    using TEdit::TEdit;
    void CreateParams(TCreateParams& p) override
    {
        TEdit::CreateParams(p);
        p.Style |= ES_PASSWORD;
    }
};
}  // namespace

TEST_F(EditFixture, PasswordEditsShowTheCharacterAndKeepTheTextOffTheClipboard)
{
    auto* styled = Add<TPasswordStyleEdit>(10, 70, 150, 21);
    styled->SetText("abc");
    edit->SetText("***");
    EXPECT_EQ(styled->PosFromChar(3), Point(edit->PosFromChar(3).X, styled->PosFromChar(3).Y));
    styled->SelectAll();
    Clipboard()->SetAsText("x");
    styled->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "x");

    edit->SetPasswordChar('*');
    edit->SetText("secret");
    edit->SelectAll();
    Clipboard()->SetAsText("x");
    edit->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "x");
    const int shown = edit->PosFromChar(6).X;
    edit->SetPasswordChar(0);
    EXPECT_NE(edit->PosFromChar(6).X, shown);
    edit->SetText("******");
    EXPECT_EQ(edit->PosFromChar(6).X, shown);
}

TEST_F(EditFixture, KeyboardFocusSelectsAllAndAClickPlacesTheCaret)
{
    edit->SetText("one two");
    other->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(edit->SelLength(), 7);
    EXPECT_EQ(edit->log.back(), "setfocus");
    other->SetFocus();
    EXPECT_EQ(edit->log.back(), "killfocus");

    const TPoint p2 = edit->PosFromChar(2);
    ClickAt(edit, p2.X, p2.Y + 2);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->SelStart(), 2);
    // Drag to character 6, then extend with Shift to the end.
    const TPoint p6 = edit->PosFromChar(6);
    SendMouse(edit, WM_LBUTTONDOWN, p2.X, p2.Y);
    SendMouse(edit, WM_MOUSEMOVE, p6.X, p6.Y, ssLeft);
    SendMouse(edit, WM_LBUTTONUP, p6.X, p6.Y);
    EXPECT_EQ(edit->SelText(), "e tw");
    const TPoint p7 = edit->PosFromChar(7);
    ClickAt(edit, p7.X, p7.Y, ssShift);
    EXPECT_EQ(edit->SelText(), "e two");
    SendMouse(edit, WM_LBUTTONDBLCLK, edit->PosFromChar(5).X, p2.Y);
    EXPECT_EQ(edit->SelText(), "two");
}

TEST_F(EditFixture, PaintsTextAndSelection)
{
    edit->SetText("Sel 12.5");
    auto b = PaintToBitmap(form);
    TCanvas* c = b->Canvas();
    // The sunken border, the window colour inside and dark text pixels.
    const TRect area = Bounds(edit->Left() + 2, edit->Top() + 2, edit->ClientWidth(), edit->ClientHeight());
    int dark = 0, highlight = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            const TColor p = c->Pixel(x, y);
            if (p == TColor(ColorToRGB(clHighlight))) ++highlight;
            else if ((p & 0xFF) < 0x60) ++dark;
        }
    EXPECT_GT(dark, 20);
    EXPECT_EQ(highlight, 0);
    EXPECT_EQ(c->Pixel(area.Right - 3, area.Bottom - 2), TColor(ColorToRGB(clWindow)));
    edit->SetFocus();
    edit->SetSelStart(4);
    edit->SetSelLength(4);
    b = PaintToBitmap(form);
    SaveSnapshot(*b, "edit");
    c = b->Canvas();
    const TPoint s = edit->PosFromChar(5);
    EXPECT_EQ(c->Pixel(edit->Left() + 2 + s.X, edit->Top() + 2 + s.Y + 1), TColor(ColorToRGB(clHighlight)));
}

TEST_F(EditFixture, AutoSizeFitsTheHeightToTheFont)
{
    EXPECT_EQ(edit->Height(), 21);  // the default font with the sunken border
    edit->Font()->SetHeight(-20);
    EXPECT_GT(edit->Height(), 26);
    edit->SetAutoSize(false);
    edit->SetHeight(40);
    edit->Font()->SetHeight(-11);
    EXPECT_EQ(edit->Height(), 40);
    edit->SetAutoSize(true);
    const int sunken = edit->Height();
    edit->SetCtl3D(false);  // a flat one-pixel border
    EXPECT_EQ(edit->Height(), sunken - 2);
    EXPECT_EQ(edit->ClientWidth(), edit->Width() - 2);
    edit->SetAutoSize(false);
    edit->SetHeight(40);
    edit->SetBorderStyle(bsNone);
    edit->SetAutoSize(true);  // only with a border
    EXPECT_EQ(edit->Height(), 40);
    EXPECT_EQ(edit->ClientWidth(), edit->Width());
}

TEST_F(EditFixture, HostInputReachesTheEdit)
{
    // Through the host's events: a click focuses and places the caret, keys type and select.
    HostMouse(edit, hmPress, mbLeft, 5, 5);
    HostMouse(edit, hmRelease, mbLeft, 5, 5);
    EXPECT_TRUE(edit->Focused());
    HostKey(edit, 'A');
    HostKey(edit, 'B', ssShift);
    HostKey(edit, '7');
    EXPECT_EQ(edit->Text(), "aB7");
    HostKey(edit, VK_LEFT, ssShift);
    HostKey(edit, VK_LEFT, ssShift);
    EXPECT_EQ(edit->SelText(), "B7");
    HostKey(edit, VK_BACK);
    EXPECT_EQ(edit->Text(), "a");
    EXPECT_TRUE(edit->Modified());
}

TEST_F(EditFixture, AHandlerMayFreeTheEdit)
{
    edit->SetFocus();
    edit->OnKeyDown = [this](TObject*, Word&, TShiftState) { edit->Free(); };
    edit->Perform(WM_KEYDOWN, 'A', KeyDataOf('A'));  // the edit's own handling stops
    other->OnKeyPress = [this](TObject*, char&) { other->Free(); };
    other->SetFocus();
    SendChar(other, 'x');
    EXPECT_EQ(form->ControlCount(), 0);
}
