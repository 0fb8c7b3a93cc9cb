#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/RichText.h"
#include "platform/graphics/Rtf.h"
#include "platform/TestRig.h"

using namespace platform;

namespace {

// Runs as "flags:text", joined by '|', paragraphs by " / ". Flags: B I U, #rrggbb,
// s<half points> unless 24, o<offset> unless 0, f<font> unless Arial; C/R/J for the
// paragraph's alignment before its runs.
std::string Flags(const TRichCharFormat& f)
{
    std::string flags;
    if (f.Bold) flags += "B";
    if (f.Italic) flags += "I";
    if (f.Underline) flags += "U";
    if (f.Color != clNone) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(COLORREF(f.Color)), GetGValue(COLORREF(f.Color)),
                      GetBValue(COLORREF(f.Color)));
        flags += hex;
    }
    if (f.HalfPoints != 24) flags += "s" + std::to_string(f.HalfPoints);
    if (f.Offset) flags += "o" + std::to_string(f.Offset);
    if (f.FontName != "Arial") flags += "f" + f.FontName;
    return flags;
}

// Runs as "flags:text", joined by '|', paragraphs by " / ". Flags: B I U, #rrggbb,
// s<half points> unless 24, o<offset> unless 0, f<font> unless Arial; C/R/J for the
// paragraph's alignment before its runs; a paragraph mark in another format than the
// last run adds "[mark flags]".
std::string Describe(const TRichContent& c)
{
    std::string out;
    for (std::size_t k = 0; k < c.Paragraphs.size(); ++k) {
        const TRichParagraph& p = c.Paragraphs[k];
        if (k) out += " / ";
        if (p.Align == TRichAlign::Center) out += "C>";
        if (p.Align == TRichAlign::Right) out += "R>";
        if (p.Align == TRichAlign::Justify) out += "J>";
        for (std::size_t r = 0; r < p.Runs.size(); ++r) {
            const std::string flags = Flags(p.Runs[r].Format);
            if (r) out += "|";
            out += flags.empty() ? p.Runs[r].Text : flags + ":" + p.Runs[r].Text;
        }
        if (!p.Runs.empty() && !(p.Mark == p.Runs.back().Format)) out += "[" + Flags(p.Mark) + "]";
    }
    return out;
}

// Runs without a font take the name the writer gives them.
TRichContent Resolved(const TRichContent& c, const std::string& font)
{
    TRichContent out;
    for (const TRichParagraph& p : c.Paragraphs) {
        out.Paragraphs.push_back({{}, p.Align, p.Mark});
        if (out.Paragraphs.back().Mark.FontName.empty()) out.Paragraphs.back().Mark.FontName = font;
        for (TRichRun r : p.Runs) {
            if (r.Format.FontName.empty()) r.Format.FontName = font;
            out.Append(r.Format, r.Text);
        }
    }
    return out;
}

const char* const kFonts = "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern Courier New;}}";

struct Case {
    const char* name;
    std::string rtf;
    std::string expected;
};

std::vector<Case> Cases()
{
    const std::string head = std::string("{\\rtf1\\ansi\\ansicpg1252\\deff0") + kFonts;
    return {
        {"plain", head + "\\f0 Hello world\\par}", "Hello world"},
        {"styles", head + "a\\b b\\b0 c\\i d\\i0\\ul e\\ulnone\\f1 f\\par}", "a|B:b|c|I:d|U:e|fCourier New:f"},
        {"colours", head + "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\cf1 red\\cf2 blue\\cf0 auto\\par}",
         "#ff0000:red|#0000ff:blue|auto"},
        {"nested groups", head + "a{\\b b{\\i c{\\ul d}}e}f\\par}", "a|B:b|BI:c|BIU:d|B:e|f"},
        {"escapes", head + "back\\\\slash \\{braces\\} semi;colon\\par}", "back\\slash {braces} semi;colon"},
        {"8-bit", head + "caf\\'e9 \\'80uro \\'A0x\\par}", "caf\xc3\xa9 \xe2\x82\xac" "uro \xc2\xa0x"},
        {"unicode", head + "\\uc1\\u937?mega {\\uc2\\u8364\\'80\\'80}x \\u-10179?\\u-8704?\\par}",
         "\xce\xa9mega \xe2\x82\xacx \xf0\x9f\x98\x80"},
        {"paragraphs", head + "\\pard\\qc centred\\par\\pard\\qr right\\par\\pard left\\par\\par last\\par}",
         "C>centred / R>right / left /  / last"},
        {"skipped", head + "{\\*\\generator x;}{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}text{\\*\\unknown zz}"
                           "\\unknownword more{\\*\\pict\\bin3 }{}\\par}",
         "textmore"},
        {"sizes and offsets", head + "\\fs40 big\\fs16 small\\up4 sup\\dn4 sub\\up0 base\\par}",
         "s40:big|s16:small|s16o40:sup|s16o-40:sub|s16:base"},
        {"tab and line", head + "a\\tab b\\line c\\par}", "a\tb\nc"},
        {"no final par", head + "one\\par two}", "one / two"},
        {"no font table", "{\\rtf1 x\\b y}", "f:x|Bf:y"},
    };
}

TEST(Rtf, ReadsTheSubset)
{
    for (const Case& c : Cases()) {
        TRichContent doc;
        std::string error;
        ASSERT_TRUE(ReadRTF(c.rtf, doc, &error)) << c.name << ": " << error;
        EXPECT_EQ(Describe(doc), c.expected) << c.name;
    }
}

TEST(Rtf, RoundTripsThroughTheStore)
{
    EnsurePlatform();
    for (const Case& c : Cases()) {
        TRichContent read;
        ASSERT_TRUE(ReadRTF(c.rtf, read)) << c.name;
        TRichDocument store;
        store.SetDefaultFormat("Arial", 24);
        ASSERT_TRUE(store.LoadRTF(c.rtf)) << c.name;
        EXPECT_EQ(Describe(store.Content()), Describe(read)) << c.name;
        EXPECT_TRUE(store.Content() == read) << c.name;
        const std::string written = store.SaveRTF();
        for (unsigned char ch : written) ASSERT_LT(ch, 0x80) << c.name << ": " << written;
        TRichContent again;
        ASSERT_TRUE(ReadRTF(written, again)) << c.name << ": " << written;
        EXPECT_EQ(Describe(again), Describe(Resolved(read, "Arial"))) << c.name << ": " << written;
        EXPECT_TRUE(again == Resolved(read, "Arial")) << c.name << ": " << written;
        // Written text reads back to the very same text.
        TRichDocument second;
        ASSERT_TRUE(second.LoadRTF(written));
        EXPECT_EQ(second.SaveRTF(), written) << c.name;
    }
}

TEST(Rtf, WriterEscapesAndNamesTables)
{
    TRichContent c;
    TRichCharFormat f;
    f.FontName = "Tahoma";
    f.Bold = true;
    f.Color = TColor(RGB(0, 128, 0));
    c.Append(f, "a\\b{c}d\xc3\xa9\xe2\x82\xac\xce\xa9");
    const std::string rtf = WriteRTF(c);
    EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 Tahoma;}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\colortbl ;\\red0\\green128\\blue0;}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("a\\\\b\\{c\\}d\\'e9\\'80\\u937?"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.compare(0, 6, "{\\rtf1"), 0);
}

TEST(Rtf, RefusesWhatIsNotRtf)
{
    const struct {
        std::string text;
        bool ok;
    } cases[] = {
        {"", false},
        {"plain text", false},
        {"{\\b bold}", false},
        {std::string(100000, '{'), false},
        {"{\\rtf1" + std::string(300, '{') + "x" + std::string(300, '}') + "}", false},
        {"{\\rtf1" + std::string(200, '{') + "x" + std::string(200, '}') + "}", true},
        {"{\\rtf1 cut sh", true},
        {"{\\rtf1 x}}}} trailing", true},
        {"{\\rtf1\\fs99999999999999 big\\u99999999999? \\bin99999999999}", true},
        {"{\\rtf1\\cf99 x\\f7 y\\'zz\\'4", true},
        {"{\\rtf1 \\" + std::string(1000, 'a') + "-12345678901234567890 x}", true},
    };
    for (const auto& c : cases) {
        TRichContent doc;
        doc.Append({}, "kept");
        std::string error;
        const bool ok = ReadRTF(c.text, doc, &error);
        EXPECT_EQ(ok, c.ok) << c.text.substr(0, 60);
        if (!ok) {
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(doc.PlainText(), "kept");  // untouched
        } else {
            EXPECT_FALSE(doc.Paragraphs.empty());
        }
    }
    TRichContent cut;
    ASSERT_TRUE(ReadRTF("{\\rtf1 cut sh", cut));
    EXPECT_EQ(cut.PlainText(), "cut sh");
}

// Mutated documents never crash or hang the reader, and whatever it takes in, the
// store writes out as RTF that reads back to the same content.
TEST(Rtf, SurvivesMutatedInput)
{
    EnsurePlatform();
    std::mt19937 rng(20261210);
    const std::vector<Case> cases = Cases();
    const char pieces[] = "{}\\';*0123456789- \r\nabu";
    int accepted = 0;
    for (int n = 0; n < 3000; ++n) {
        std::string s = cases[rng() % cases.size()].rtf;
        const int edits = 1 + int(rng() % 6);
        for (int e = 0; e < edits && !s.empty(); ++e) {
            const std::size_t at = rng() % s.size();
            switch (rng() % 5) {
            case 0: s[at] = char(rng() % 256); break;
            case 1: s.insert(at, 1, pieces[rng() % (sizeof pieces - 1)]); break;
            case 2: s.erase(at, 1 + rng() % 8); break;
            case 3: s.resize(at); break;
            case 4: s.insert(at, s.substr(at, rng() % 20)); break;
            }
        }
        TRichContent doc;
        if (!ReadRTF(s, doc)) continue;
        ++accepted;
        TRichDocument store;
        store.SetDefaultFormat("Arial", 24);
        store.SetContent(doc);
        const std::string written = store.SaveRTF();
        TRichContent again;
        ASSERT_TRUE(ReadRTF(written, again)) << s;
        ASSERT_TRUE(again == Resolved(store.Content(), "Arial"))
            << s << "\n" << written << "\n" << Describe(again) << "\n" << Describe(Resolved(store.Content(), "Arial"));
    }
    EXPECT_GT(accepted, 1000);
}

TEST(RichDocument, EditsByPosition)
{
    EnsurePlatform();
    TRichDocument d;
    d.SetDefaultFormat("Arial", 20);
    EXPECT_TRUE(d.Empty());
    d.SetPlainText("one\r\ntwo");
    EXPECT_EQ(d.Length(), 7);
    EXPECT_EQ(d.PlainText(), "one\r\ntwo");
    d.Insert(3, "!");
    EXPECT_EQ(d.Text(0, 4), "one!");
    d.SetOffset(0, 3, 40);
    EXPECT_EQ(d.FormatAt(2).Offset, 40);
    EXPECT_EQ(d.FormatAt(6).Offset, 0);
    d.SetColor(5, 3, TColor(RGB(255, 0, 0)));
    EXPECT_EQ(d.FormatAt(7).Color, TColor(RGB(255, 0, 0)));
    d.SetColor(5, 3, clNone);
    EXPECT_EQ(d.FormatAt(7).Color, clNone);
    d.Remove(3, 3);
    EXPECT_EQ(d.PlainText(), "onewo");
    d.Clear();
    EXPECT_TRUE(d.Empty());
    // An empty document still writes a document.
    TRichContent c;
    ASSERT_TRUE(ReadRTF(d.SaveRTF(), c));
    EXPECT_EQ(c.Paragraphs.size(), 1u);
    EXPECT_EQ(c.PlainText(), "");
}

namespace {

// A document of n paragraphs: bold, coloured and wide runs, a second font.
std::string Paragraphs(int n)
{
    std::string s = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                    "{\\colortbl ;\\red255\\green0\\blue0;}\\fs20 ";
    for (int i = 0; i < n; ++i)
        s += "Row " + std::to_string(i) + " \\b bold\\b0  {\\cf1 red} caf\\'e9 \\u937?mega \\f1 mono\\f0\\par ";
    return s + "}";
}

}  // namespace

// Loading a document is one change for its layout whatever its length: a layout told of
// every run would lay each paragraph out again and again, and a long document's round
// trip would grow faster than its length. The round trip keeps every paragraph.
TEST(RichDocument, ALoadIsOneChangeForTheLayoutAtAnyLength)
{
    EnsurePlatform();
    struct Case {
        const char* name;
        std::function<void(TRichDocument&, int)> load;
    };
    const Case cases[] = {
        {"rtf", [](TRichDocument& d, int n) { ASSERT_TRUE(d.LoadRTF(Paragraphs(n))); }},
        {"plain text",
         [](TRichDocument& d, int n) {
             std::string text;
             for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
             d.SetPlainText(text);
         }},
    };
    for (const Case& c : cases) {
        TRichDocument d;
        long notices[2];
        const int lengths[2] = {100, 1000};
        for (int k = 0; k < 2; ++k) {
            const long before = d.LayoutNotices();
            c.load(d, lengths[k]);
            notices[k] = d.LayoutNotices() - before;
            const std::string written = d.SaveRTF();
            TRichContent back;
            ASSERT_TRUE(ReadRTF(written, back)) << c.name;
            EXPECT_GE(back.Paragraphs.size(), std::size_t(lengths[k])) << c.name;
            EXPECT_LE(back.Paragraphs.size(), std::size_t(lengths[k]) + 1) << c.name;
        }
        EXPECT_EQ(notices[1], notices[0]) << c.name;
        EXPECT_LE(notices[0], 3) << c.name;  // emptying, the first paragraph's format, the text
    }
}

TEST(RichDocument, DrawsRunsInTheirColours)
{
    EnsurePlatform();
    TRichDocument d;
    ASSERT_TRUE(d.LoadRTF(std::string("{\\rtf1\\deff0") + kFonts +
                          "{\\colortbl ;\\red255\\green0\\blue0;}\\fs40 \\b WWW\\b0  \\cf1 WWW\\par}"));
    const TSize size = d.ContentSize();
    EXPECT_GT(size.cx, 40);
    EXPECT_GT(size.cy, 20);
    TBitmap bmp;
    bmp.SetSize(200, 60);
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->FillRect({0, 0, 200, 60});
    d.Draw(bmp.Canvas()->Handle(), {10, 10, 190, 50}, clBlack);
    int black = 0, red = 0, outside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const COLORREF c = COLORREF(bmp.Canvas()->Pixel(x, y));
            const bool inside = x >= 10 && x < 190 && y >= 10 && y < 50;
            if (c != RGB(255, 255, 255) && !inside) ++outside;
            if (c == RGB(0, 0, 0)) ++black;
            if (GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60) ++red;
        }
    EXPECT_GT(black, 30);
    EXPECT_GT(red, 30);
    EXPECT_EQ(outside, 0);
    // Forced colour: nothing red is left.
    bmp.Canvas()->FillRect({0, 0, 200, 60});
    d.Draw(bmp.Canvas()->Handle(), {10, 10, 190, 50}, clBlack, TColor(RGB(0, 0, 255)));
    int blue = 0;
    red = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const COLORREF c = COLORREF(bmp.Canvas()->Pixel(x, y));
            if (GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60) ++red;
            if (c == RGB(0, 0, 255)) ++blue;
        }
    EXPECT_EQ(red, 0);
    EXPECT_GT(blue, 30);
}

// A DC without a surface (printer page, metafile) gets the runs as text calls in their
// fonts and colours, on the lines the layout gave them.
TEST(RichDocument, DrawsAsTextCallsWithoutASurface)
{
    EnsurePlatform();
    TRichDocument d;
    ASSERT_TRUE(d.LoadRTF(std::string("{\\rtf1\\deff0") + kFonts +
                          "{\\colortbl ;\\red255\\green0\\blue0;}\\fs20 plain \\b bold\\b0 \\cf1 red\\tab x\\par second\\par}"));
    TRecordingCanvas rec(400, 200);
    d.Draw(rec.Handle(), {10, 20, 300, 100}, clBlack);
    std::vector<std::string> texts;
    for (const std::string& c : rec.Calls())
        if (c.rfind("Text ", 0) == 0) texts.push_back(c);
    ASSERT_EQ(texts.size(), 5u) << ::testing::PrintToString(rec.Calls());
    EXPECT_NE(texts[0].find("'plain '"), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find("color=000000"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("'bold'"), std::string::npos) << texts[1];
    EXPECT_NE(texts[1].find("/1"), std::string::npos) << texts[1];  // bold style
    EXPECT_NE(texts[2].find("'red'"), std::string::npos) << texts[2];
    EXPECT_NE(texts[2].find("color=0000ff"), std::string::npos) << texts[2];
    EXPECT_NE(texts[3].find("'x'"), std::string::npos) << texts[3];  // after the tab, apart
    EXPECT_NE(texts[4].find("'second'"), std::string::npos) << texts[4];
}

}  // namespace
