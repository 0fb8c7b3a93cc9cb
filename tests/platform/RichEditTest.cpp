#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/controls/Edit.h"
#include "platform/controls/RichEdit.h"
#include "platform/graphics/RichText.h"
#include "platform/system/Clipboard.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

class TProbeRich : public TRichEdit {
public:
    using TRichEdit::TRichEdit;
    std::vector<TRect> requests;
    void CNNotify(TMessage& m) override
    {
        if (NMHdrOf(m)->code == EN_REQUESTRESIZE) requests.push_back(reinterpret_cast<REQRESIZE*>(m.LParam)->rc);
        TRichEdit::CNNotify(m);
    }
};

using RichEditTest = ControlFixture;

const char* const kDoc = "{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
                         "\\fs20 plain \\b bold\\b0  \\cf1 red\\cf0\\par second\\par}";

TEST_F(RichEditTest, LoadsTypesAndSaves)
{
    auto* e = Add<TProbeRich>(10, 10, 200, 80);
    ASSERT_TRUE(e->LoadRTF(kDoc));
    EXPECT_EQ(e->PlainText(), "plain bold red\r\nsecond");
    std::string error;
    EXPECT_FALSE(e->LoadRTF("not rtf", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(e->PlainText(), "plain bold red\r\nsecond");  // kept
    e->SetFocus();
    e->SetSelStart(8);  // inside "bold"
    SendChar(e, 'X');
    EXPECT_EQ(e->PlainText(), "plain boXld red\r\nsecond");
    EXPECT_TRUE(e->SelAttributes().Bold);
    SendKey(e, VK_END);
    SendChar(e, '\r');
    SendChar(e, 'n');
    SendKey(e, VK_DOWN);
    EXPECT_EQ(e->PlainText(), "plain boXld red\r\nn\r\nsecond");
    SendKey(e, VK_HOME);
    SendChar(e, '\b');  // joins the last two paragraphs
    EXPECT_EQ(e->PlainText(), "plain boXld red\r\nnsecond");
    EXPECT_TRUE(e->Modified());
    TRichContent back;
    ASSERT_TRUE(ReadRTF(e->SaveRTF(), back));
    ASSERT_EQ(back.Paragraphs.size(), 2u);
    EXPECT_EQ(back.Paragraphs[0].Runs[1].Text, "boXld");
    EXPECT_TRUE(back.Paragraphs[0].Runs[1].Format.Bold);
    EXPECT_EQ(back.Paragraphs[0].Runs[3].Format.Color, TColor(RGB(255, 0, 0)));
}

TEST_F(RichEditTest, CharacterOffsetsThroughTheFormatMessages)
{
    auto* e = Add<TProbeRich>(10, 10, 200, 80);
    e->SetText("x2");
    e->SetSelStart(1);
    e->SetSelLength(1);
    const struct {
        int offset;
    } cases[] = {{40}, {-40}, {0}};
    for (const auto& c : cases) {
        CHARFORMATA cf;
        cf.dwMask = CFM_OFFSET;
        cf.yOffset = c.offset;
        EXPECT_EQ(e->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf)), 1);
        CHARFORMATA got;
        got.dwMask = CFM_OFFSET;
        e->Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&got));
        EXPECT_EQ(got.yOffset, c.offset);
        EXPECT_EQ(e->Document().FormatAt(1).Offset, 0);  // the character before stays
    }
    CHARFORMATA small;
    small.cbSize = 20;  // too short a record: refused
    small.dwMask = CFM_OFFSET;
    small.yOffset = 40;
    EXPECT_EQ(e->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&small)), 0);
    EXPECT_EQ(e->SelAttributes().Offset, 0);
}

TEST_F(RichEditTest, CharacterFormatsOfTheSelection)
{
    auto* e = Add<TProbeRich>(10, 10, 200, 80);
    e->SetText("abc");
    e->SetSelStart(1);
    e->SetSelLength(1);
    const struct {
        DWORD mask, effects;
        int height;
        COLORREF color;
        const char* face;
        const char* expected;
    } cases[] = {
        {CFM_BOLD, CFE_BOLD, 0, 0, "", "B"},
        {CFM_BOLD | CFM_ITALIC, CFE_ITALIC, 0, 0, "", "I"},
        {CFM_UNDERLINE, CFE_UNDERLINE, 0, 0, "", "IU"},
        {CFM_ITALIC | CFM_UNDERLINE, 0, 0, 0, "", ""},
        {CFM_SIZE, 0, 280, 0, "", "s28"},
        {CFM_FACE, 0, 0, 0, "Courier New", "s28fCourier New"},
        {CFM_COLOR, 0, 0, RGB(0, 128, 0), "", "s28fCourier New#008000"},
        {CFM_COLOR, CFE_AUTOCOLOR, 0, RGB(0, 128, 0), "", "s28fCourier New"},
    };
    for (const auto& c : cases) {
        CHARFORMATA cf;
        cf.dwMask = c.mask;
        cf.dwEffects = c.effects;
        cf.yHeight = c.height;
        cf.crTextColor = c.color;
        std::snprintf(cf.szFaceName, sizeof cf.szFaceName, "%s", c.face);
        EXPECT_EQ(e->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf)), 1);
        const TRichCharFormat f = e->SelAttributes();
        std::string got;
        if (f.Bold) got += "B";
        if (f.Italic) got += "I";
        if (f.Underline) got += "U";
        if (f.HalfPoints != e->Document().DefaultFormat().HalfPoints) got += "s" + std::to_string(f.HalfPoints);
        if (!f.FontName.empty() && f.FontName != e->Document().DefaultFormat().FontName) got += "f" + f.FontName;
        if (f.Color != clNone) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(COLORREF(f.Color)), GetGValue(COLORREF(f.Color)),
                          GetBValue(COLORREF(f.Color)));
            got += hex;
        }
        EXPECT_EQ(got, c.expected);
        CHARFORMATA back;
        e->Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&back));
        EXPECT_EQ((back.dwEffects & CFE_BOLD) != 0, f.Bold);
        EXPECT_EQ((back.dwEffects & CFE_UNDERLINE) != 0, f.Underline);
        EXPECT_EQ(back.yHeight, f.HalfPoints * 10);
    }
    EXPECT_EQ(e->Document().FormatAt(1).Bold, false);  // the character before is untouched
    TRichContent c;
    ASSERT_TRUE(ReadRTF(e->SaveRTF(), c));
    ASSERT_EQ(c.Paragraphs[0].Runs.size(), 3u);
    EXPECT_EQ(c.Paragraphs[0].Runs[1].Format.FontName, "Courier New");
    EXPECT_EQ(c.Paragraphs[0].Runs[1].Format.HalfPoints, 28);
}

TEST_F(RichEditTest, AsksForTheSizeOfItsContent)
{
    auto* e = Add<TProbeRich>(10, 10, 200, 40);
    e->Perform(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    e->SetText("one");
    ASSERT_FALSE(e->requests.empty());
    const int oneLine = e->requests.back().Height();
    e->SetSelStart(3);
    e->SetSelText("\r\ntwo");
    EXPECT_GT(e->requests.back().Height(), oneLine + 5);
    const std::size_t n = e->requests.size();
    e->SetSelStart(0);  // no change of size: no request
    EXPECT_EQ(e->requests.size(), n);
    e->Perform(EM_REQUESTRESIZE);  // asked: always
    EXPECT_EQ(e->requests.size(), n + 1);
    EXPECT_EQ(e->requests.back().Width(), e->ClientWidth());
    e->SetWordWrap(false);
    e->Perform(EM_REQUESTRESIZE);
    EXPECT_LT(e->requests.back().Width(), e->ClientWidth());
}

TEST_F(RichEditTest, PaintsBoldAndColouredRuns)
{
    auto* e = Add<TProbeRich>(10, 10, 220, 60);
    ASSERT_TRUE(e->LoadRTF(kDoc));
    auto bmp = PaintToBitmap(e);
    SaveSnapshot(*bmp, "richedit");
    int red = 0, dark = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) {
            const COLORREF c = COLORREF(bmp->Canvas()->Pixel(x, y));
            if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) ++red;
            if (GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60) ++dark;
        }
    EXPECT_GT(red, 15);
    EXPECT_GT(dark, 40);
}

}  // namespace

TEST_F(RichEditTest, UndoTakesBackEachChangeLastFirst)
{
    auto* e = Add<TProbeRich>(10, 10, 200, 80);
    ASSERT_TRUE(e->LoadRTF(kDoc));
    EXPECT_FALSE(e->CanUndo());
    const std::string original = e->SaveRTF();
    e->SetFocus();
    e->SetSelStart(0);
    for (char c : std::string("abc")) SendChar(e, c);  // typing in a row: one change
    EXPECT_EQ(e->PlainText(), "abcplain bold red\r\nsecond");
    e->SetSelStart(9);  // "bold"
    e->SetSelLength(4);
    CHARFORMATA cf;
    cf.dwMask = CFM_ITALIC;
    cf.dwEffects = CFE_ITALIC;
    e->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
    EXPECT_TRUE(e->SelAttributes().Italic);
    SendKey(e, VK_DELETE);
    EXPECT_EQ(e->PlainText(), "abcplain  red\r\nsecond");
    EXPECT_EQ(e->Perform(EM_CANUNDO), 1);

    SendChar(e, 26);  // Ctrl+Z: the deletion
    EXPECT_EQ(e->PlainText(), "abcplain bold red\r\nsecond");
    EXPECT_EQ(e->SelStart(), 9);
    EXPECT_EQ(e->SelLength(), 4);
    EXPECT_TRUE(e->SelAttributes().Italic);
    EXPECT_EQ(e->Perform(EM_UNDO), 1);  // the format
    EXPECT_FALSE(e->SelAttributes().Italic);
    EXPECT_TRUE(e->SelAttributes().Bold);
    e->Perform(WM_UNDO);  // the typing
    EXPECT_EQ(e->SaveRTF(), original);
    EXPECT_FALSE(e->CanUndo());
    EXPECT_EQ(e->Perform(EM_UNDO), 0);
    EXPECT_EQ(e->SaveRTF(), original);

    // new content starts a new list
    SendChar(e, 'x');
    EXPECT_TRUE(e->CanUndo());
    e->SetText("fresh");
    EXPECT_FALSE(e->CanUndo());
    SendChar(e, 'y');
    e->Perform(EM_EMPTYUNDOBUFFER);
    EXPECT_FALSE(e->CanUndo());
}

TEST_F(RichEditTest, RichTextOnTheClipboard)
{
    const UINT rtf = RegisterClipboardFormat("Rich Text Format");
    auto* from = Add<TProbeRich>(10, 10, 200, 80);
    auto* to = Add<TProbeRich>(10, 100, 200, 80);
    ASSERT_TRUE(from->LoadRTF(kDoc));
    from->SetSelStart(6);  // "bold red\r\nsec"
    from->SetSelLength(12);
    from->Perform(WM_COPY);
    EXPECT_EQ(Clipboard()->AsText(), "bold red\r\nsec");
    ASSERT_TRUE(Clipboard()->HasFormat(rtf));
    TRichContent copied;
    ASSERT_TRUE(ReadRTF(Clipboard()->GetFormatData(rtf), copied));
    EXPECT_EQ(copied.PlainText(), "bold red\r\nsec");
    EXPECT_TRUE(copied.Paragraphs[0].Runs[0].Format.Bold);

    // pasted into the middle of a word, the formats and the paragraph break come along
    to->SetText("XY");
    to->SetSelStart(1);
    to->Perform(WM_PASTE);
    EXPECT_EQ(to->PlainText(), "Xbold red\r\nsecY");
    EXPECT_EQ(to->SelStart(), 13);
    TRichContent pasted;
    ASSERT_TRUE(ReadRTF(to->SaveRTF(), pasted));
    ASSERT_EQ(pasted.Paragraphs.size(), 2u);
    bool bold = false, red = false;
    for (const TRichRun& r : pasted.Paragraphs[0].Runs) {
        bold |= r.Text == "bold" && r.Format.Bold;
        red |= r.Text == "red" && r.Format.Color == TColor(RGB(255, 0, 0));
    }
    EXPECT_TRUE(bold);
    EXPECT_TRUE(red);
    to->Perform(WM_UNDO);
    EXPECT_EQ(to->PlainText(), "XY");

    // plain text alone is pasted as text; a cut goes to the clipboard and can be undone
    Clipboard()->SetAsText("plain");
    EXPECT_FALSE(Clipboard()->HasFormat(rtf));
    to->SetSelStart(2);
    to->Perform(WM_PASTE);
    EXPECT_EQ(to->PlainText(), "XYplain");
    to->SetSelStart(0);
    to->SetSelLength(2);
    to->Perform(WM_CUT);
    EXPECT_EQ(to->PlainText(), "plain");
    EXPECT_EQ(Clipboard()->AsText(), "XY");
    EXPECT_TRUE(Clipboard()->HasFormat(rtf));
    to->Perform(WM_UNDO);
    EXPECT_EQ(to->PlainText(), "XYplain");

    // a read-only control copies but neither cuts nor pastes
    to->SetReadOnly(true);
    to->SelectAll();
    to->Perform(WM_CUT);
    to->Perform(WM_PASTE);
    EXPECT_EQ(to->PlainText(), "XYplain");
}
