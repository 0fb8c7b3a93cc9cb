#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Resources.h"
#include "platform/system/Shell.h"
#include "platform/TestRig.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlLabel.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/PictureContainer.h"
#include "widgets/html/TestImages.h"

using namespace platform;
using namespace html;

namespace {

const char* const kTwoLinks = "<A href=\"one\">First link</A> and then <A href=\"two\">second</A>";

// A label at (10, 10) on a form, painted with the form into a bitmap.
struct LabelRig : ::testing::Test {
    std::unique_ptr<TForm> form;
    THtmlLabel* label = nullptr;
    std::vector<std::pair<std::string, std::string>> shell;

    void SetUp() override
    {
        form.reset(new TForm(nullptr));
        form->SetBounds(0, 0, 320, 160);
        form->SetColor(clBtnFace);
        label = new THtmlLabel(form.get());
        label->SetParent(form.get());
        label->SetBounds(10, 10, 250, 60);
        label->Font()->SetName("Arial");
        label->Font()->SetSize(10);
        label->Font()->SetColor(clBlack);
        label->SetColor(clWhite);
        SetShellExecuteHookForTesting([this](const std::string& verb, const std::string& file) {
            shell.emplace_back(verb, file);
            return true;
        });
    }
    void TearDown() override { SetShellExecuteHookForTesting(nullptr); }

    void SetText(const std::string& text)
    {
        label->HTMLText()->Clear();
        label->HTMLText()->Add(text);
    }
    std::unique_ptr<TBitmap> Paint() { return PaintToBitmap(form.get()); }
    // Pixel in label coordinates.
    static COLORREF At(TBitmap& b, int x, int y) { return COLORREF(b.Canvas()->Pixel(10 + x, 10 + y)); }
    void Move(int x, int y) { SendMouse(form.get(), WM_MOUSEMOVE, 10 + x, 10 + y); }
    void Click(int x, int y) { SendMouse(form.get(), WM_LBUTTONDOWN, 10 + x, 10 + y); SendMouse(form.get(), WM_LBUTTONUP, 10 + x, 10 + y); }

    // The engine's own measure of the label's text at the label's font.
    TSize Measured(int width = 10000)
    {
        TBitmap b(10, 10);
        b.Canvas()->Font().Assign(*label->Font());
        std::string a, s, f;
        int w = 0, h = 0, lc = 0, lu = -1;
        TRect hr{-1, -1, -1, -1};
        panelhtml::HTMLDrawEx(b.Canvas(), label->GetDisplText(), Rect(0, 0, width, 10000), nullptr, 0, 0, -1, -1, 2,
                              false, true, false, false, false, false, true, false, 1.0, clBlue, clNone, clNone,
                              clGray, a, s, f, w, h, lc, lu, hr, nullptr, nullptr, 0);
        return {w, h};
    }
};

bool Bluish(COLORREF c)
{
    return GetBValue(c) > 150 && GetRValue(c) < 110 && GetGValue(c) < 110;
}
bool Dark(COLORREF c)
{
    return GetRValue(c) < 140 && GetGValue(c) < 140 && GetBValue(c) < 140;
}

// Rows and columns (label coordinates) inside box where pred holds for some pixel.
struct Ink {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool Any() const { return top >= 0; }
};
Ink Find(TBitmap& b, const TRect& box, const std::function<bool(COLORREF)>& pred)
{
    Ink ink;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x)
            if (pred(COLORREF(b.Canvas()->Pixel(10 + x, 10 + y)))) {
                if (ink.top < 0) ink.top = y;
                ink.bottom = y + 1;
                if (ink.left < 0 || x < ink.left) ink.left = x;
                if (x + 1 > ink.right) ink.right = x + 1;
            }
    return ink;
}

// --- Text ---

TEST_F(LabelRig, DefaultsAndVersion)
{
    THtmlLabel fresh(nullptr);
    EXPECT_EQ(fresh.Color(), clWindow);
    EXPECT_EQ(fresh.URLColor(), clBlue);
    EXPECT_EQ(fresh.ShadowColor(), clGray);
    EXPECT_EQ(fresh.ShadowOffset(), 2);
    EXPECT_EQ(fresh.BevelWidth(), 1);
    EXPECT_EQ(fresh.HoverAnchorIndex(), -1);
    EXPECT_EQ(fresh.LastAnchorIndex(), 0);
    EXPECT_EQ(fresh.HoverColor(), clNone);
    EXPECT_EQ(fresh.ColorTo(), clNone);
    EXPECT_EQ(fresh.VAlignment(), tvaTop);
    EXPECT_EQ(fresh.AutoSizeType(), asVertical);
    EXPECT_FALSE(fresh.AutoSize());
    EXPECT_EQ(fresh.Caption(), "");
    EXPECT_EQ(fresh.GetVersionNr(), 0x01070000u);
    fresh.SetVersion("2.0.0.0");
    EXPECT_EQ(fresh.Version(), "1.7.0.0");
}

TEST_F(LabelRig, LinesJoinWithNothingBetween)
{
    label->HTMLText()->Add("one<B>");
    label->HTMLText()->Add("two</B>");
    EXPECT_EQ(label->GetDisplText(), "one<B>two</B>");
    EXPECT_EQ(label->GetText(), "onetwo");

    base::TStringList list;
    list.SetText("a\r\nb\nc\rd");
    label->SetHTMLText(&list);
    ASSERT_EQ(label->HTMLText()->Count(), 1);
    EXPECT_EQ(label->HTMLText()->Get(0), "abcd");
    label->SetHTMLText(nullptr);
    EXPECT_EQ(label->GetDisplText(), "abcd");
}

TEST_F(LabelRig, PlainTextDropsMarkupAndHiddenText)
{
    SetText("a<B>b</B><BR>c<z>hidden</z>d<Z>HID</Z>e");
    EXPECT_EQ(label->GetText(), "ab\r\ncde");
}

TEST_F(LabelRig, HighlightAndMarkTakeTheWholeText)
{
    label->HTMLText()->Add("Hull <B>hull</B>");
    label->HTMLText()->Add("HULL");
    const std::string whole = label->HTMLText()->Text();
    auto lines = [](const std::string& text) {
        base::TStringList l;
        l.SetText(text);
        std::string joined;
        for (int i = 0; i < l.Count(); ++i) joined += l.Get(i);
        return joined;
    };
    label->HilightText("hull", true);
    EXPECT_EQ(label->GetDisplText(), lines(HiLight(whole, "hull", "hi", true)));
    EXPECT_NE(label->GetDisplText().find("</hi>"), std::string::npos);
    EXPECT_EQ(label->GetDisplText().find("<hi>Hull"), std::string::npos);
    label->UnHilightText();
    EXPECT_EQ(label->GetDisplText(), "Hull <B>hull</B>HULL");
    label->MarkText("hull", false);
    EXPECT_EQ(label->GetDisplText(), lines(HiLight(whole, "hull", "e", false)));
    EXPECT_NE(label->GetDisplText().find("<e>HULL</e>"), std::string::npos);
    EXPECT_EQ(label->HTMLText()->Count(), 2);  // line breaks are kept
    label->UnMarkText();
    EXPECT_EQ(label->GetDisplText(), "Hull <B>hull</B>HULL");
}

// --- Background, frames and text ---

TEST_F(LabelRig, PlainBackgroundAndText)
{
    SetText("Plain text");
    auto b = Paint();
    EXPECT_EQ(At(*b, 249, 59), COLORREF(clWhite));
    EXPECT_EQ(COLORREF(b->Canvas()->Pixel(5, 5)), ColorToRGB(clBtnFace));  // the form around it
    Ink ink = Find(*b, Rect(0, 0, 250, 60), Dark);
    ASSERT_TRUE(ink.Any());
    EXPECT_LT(ink.top, 20);
    EXPECT_LT(ink.left, 6);
}

TEST_F(LabelRig, TransparentLeavesTheParent)
{
    SetText("");
    label->SetTransparent(true);
    auto b = Paint();
    EXPECT_EQ(At(*b, 100, 30), ColorToRGB(clBtnFace));
}

TEST_F(LabelRig, GradientBackgrounds)
{
    SetText("");
    label->SetBounds(10, 10, 100, 41);  // 25 bands
    label->SetColor(TColor(RGB(255, 0, 0)));
    label->SetColorTo(TColor(RGB(0, 0, 255)));

    label->SetGradientType(gtFullHorizontal);
    auto b = Paint();
    EXPECT_EQ(At(*b, 0, 20), RGB(255, 0, 0));
    EXPECT_EQ(At(*b, 3, 40), RGB(255, 0, 0));
    EXPECT_EQ(At(*b, 4, 0), RGB(245, 0, 10));    // 255 - 10.2 rounds to 245
    EXPECT_EQ(At(*b, 99, 20), RGB(10, 0, 245));  // the last band: 24 steps of 10.2

    label->SetGradientType(gtFullVertical);
    b = Paint();
    EXPECT_EQ(At(*b, 50, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(*b, 50, 40), RGB(10, 0, 245));  // bands of 1.64 rows; the last at 39.36 rounds to 39

    // A line type: plain background, then a two-pixel band.
    label->SetColor(clWhite);
    label->SetColorTo(clBlack);
    label->SetGradientType(gtCenterLine);
    b = Paint();
    EXPECT_EQ(At(*b, 99, 19), RGB(255, 255, 255));
    EXPECT_EQ(At(*b, 99, 20), RGB(10, 10, 10));
    EXPECT_EQ(At(*b, 99, 21), RGB(10, 10, 10));
    EXPECT_EQ(At(*b, 99, 22), RGB(255, 255, 255));
    label->SetGradientType(gtBottomLine);
    b = Paint();
    EXPECT_EQ(At(*b, 99, 38), RGB(255, 255, 255));
    EXPECT_EQ(At(*b, 99, 39), RGB(10, 10, 10));
    label->SetGradientType(gtTopLine);
    b = Paint();
    EXPECT_EQ(At(*b, 99, 1), RGB(10, 10, 10));
    EXPECT_EQ(At(*b, 99, 2), RGB(255, 255, 255));

    // Without ColorTo a line runs to white; the band is drawn on a transparent label too.
    label->SetColor(clBlack);
    label->SetColorTo(clNone);
    label->SetTransparent(true);
    b = Paint();
    EXPECT_EQ(At(*b, 99, 1), RGB(245, 245, 245));
    EXPECT_EQ(At(*b, 99, 5), ColorToRGB(clBtnFace));
}

TEST_F(LabelRig, BevelsAndBorder)
{
    SetText("");
    const COLORREF hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    ASSERT_NE(hi, sh);
    label->SetBevelOuter(bvRaised);
    label->SetBevelWidth(2);
    auto b = Paint();
    EXPECT_EQ(At(*b, 0, 0), hi);
    EXPECT_EQ(At(*b, 1, 30), hi);
    EXPECT_EQ(At(*b, 249, 59), sh);
    EXPECT_EQ(At(*b, 248, 30), sh);
    EXPECT_EQ(At(*b, 2, 30), RGB(255, 255, 255));

    label->SetBevelOuter(bvLowered);
    b = Paint();
    EXPECT_EQ(At(*b, 0, 0), sh);
    EXPECT_EQ(At(*b, 249, 59), hi);

    // Outer bevel, a 3-pixel frame in the label's colour, then the single border in black.
    label->SetColor(TColor(RGB(0, 200, 0)));
    label->SetBevelWidth(1);
    label->SetBorderWidth(3);
    label->SetBorderStyle(bsSingle);
    b = Paint();
    EXPECT_EQ(At(*b, 0, 30), sh);
    EXPECT_EQ(At(*b, 2, 30), RGB(0, 200, 0));
    Ink black = Find(*b, Rect(0, 0, 250, 60), [](COLORREF c) { return c == 0; });
    ASSERT_TRUE(black.Any());
    EXPECT_GE(black.left, 3);
    EXPECT_LE(black.left, 4);
}

TEST_F(LabelRig, EllipsisKeepsTheTextOnOneLine)
{
    SetText("A rather long line of words that cannot fit in a narrow label");
    label->SetBounds(10, 10, 120, 60);
    const int lineHeight = Measured().cy;
    ASSERT_GT(lineHeight, 5);
    Ink wrapped = Find(*Paint(), Rect(0, 0, 120, 60), Dark);
    ASSERT_TRUE(wrapped.Any());
    EXPECT_GT(wrapped.bottom, lineHeight);  // wrapped onto more lines
    label->SetEllipsis(true);
    Ink cut = Find(*Paint(), Rect(0, 0, 120, 60), Dark);
    ASSERT_TRUE(cut.Any());
    EXPECT_LE(cut.bottom, lineHeight);
    EXPECT_LE(cut.right, 120);
}

// --- Alignment and sizing ---

TEST_F(LabelRig, VerticalAlignmentMovesTextAndHitTest)
{
    SetText("<A href=\"go\">Go there</A>");
    label->SetBounds(10, 10, 250, 50);
    const int h = Measured().cy;
    ASSERT_GT(h, 5);
    ASSERT_LT(h, 50);

    auto top = Find(*Paint(), Rect(0, 0, 250, 50), Bluish);
    label->SetVAlignment(tvaBottom);
    auto bottom = Find(*Paint(), Rect(0, 0, 250, 50), Bluish);
    label->SetVAlignment(tvaCenter);
    auto center = Find(*Paint(), Rect(0, 0, 250, 50), Bluish);
    ASSERT_TRUE(top.Any() && bottom.Any() && center.Any());
    EXPECT_EQ(bottom.top - top.top, 50 - h);
    EXPECT_EQ(center.top - top.top, (50 - h) / 2);

    // The hit test finds the anchor where it is drawn, and not where it would be at the top.
    label->SetVAlignment(tvaBottom);
    TRect r;
    EXPECT_EQ(label->IsAnchor(bottom.left + 2, bottom.top + 2, r), "go");
    EXPECT_EQ(label->HoverAnchorIndex(), 1);
    EXPECT_LE(r.Top, bottom.top);
    EXPECT_GE(r.Bottom, bottom.bottom);
    EXPECT_EQ(label->IsAnchor(top.left + 2, top.top + 2, r), "");
    EXPECT_EQ(label->HoverAnchorIndex(), -1);
    EXPECT_EQ(r, (TRect{-1, -1, -1, -1}));
}

TEST_F(LabelRig, AutoSizingBothWays)
{
    SetText("Some <B>text</B> to size");
    label->SetAutoSizeType(asBoth);
    label->SetAutoSizing(true);
    Paint();
    const TSize m = Measured();
    EXPECT_EQ(label->Width(), m.cx + 6);
    EXPECT_EQ(label->Height(), m.cy + 6);

    // Only the height follows the text with asVertical.
    label->SetAutoSizeType(asVertical);
    label->SetWidth(300);
    Paint();
    EXPECT_EQ(label->Width(), 300);
    EXPECT_EQ(label->Height(), m.cy + 6);
}

TEST_F(LabelRig, AutoSizingOnAnAlignedLabel)
{
    label->SetAlign(alTop);
    label->SetAutoSizing(true);
    EXPECT_EQ(label->Height(), 6);
    label->SetAutoSizing(false);
    label->SetAlign(alLeft);
    const int h = label->Height();
    label->SetAutoSizing(true);
    EXPECT_EQ(label->Width(), 6);
    EXPECT_EQ(label->Height(), h);
}

// Centring a vertically sizing label measures in the label, not in the room grown for
// sizing, so the text stays in sight.
TEST_F(LabelRig, CentredAutoSizingLabelKeepsItsText)
{
    SetText("<A href=\"x\">Visible</A>");
    label->SetVAlignment(tvaCenter);
    label->SetAutoSizing(true);
    Paint();
    auto b = Paint();
    auto ink = Find(*b, Rect(0, 0, label->Width(), label->Height()), Bluish);
    ASSERT_TRUE(ink.Any());
    EXPECT_EQ(label->Height(), Measured(label->Width()).cy + 6);
}

// --- Anchors and the mouse ---

// The hit test lays the text out exactly where painting puts it, frames included.
TEST_F(LabelRig, HitTestInsideFramesMatchesThePaint)
{
    SetText(kTwoLinks);
    struct Case {
        TBevelCut outer, inner;
        int bevel, border;
        TBorderStyle style;
    };
    const Case cases[] = {{bvNone, bvNone, 1, 0, bsNone},
                          {bvRaised, bvNone, 2, 0, bsNone},
                          {bvNone, bvNone, 1, 5, bsNone},
                          {bvLowered, bvRaised, 3, 4, bsSingle}};
    for (const Case& c : cases) {
        label->SetBevelOuter(c.outer);
        label->SetBevelInner(c.inner);
        label->SetBevelWidth(c.bevel);
        label->SetBorderWidth(c.border);
        label->SetBorderStyle(c.style);
        auto ink = Find(*Paint(), Rect(0, 0, 250, 60), Bluish);
        ASSERT_TRUE(ink.Any());
        EXPECT_EQ(label->IsAnchor(ink.left, ink.bottom - 1), "one") << c.bevel << " " << c.border;
        EXPECT_EQ(label->IsAnchor(ink.left - 2, ink.bottom - 1), "") << c.bevel << " " << c.border;
    }
}

TEST_F(LabelRig, MovingOverAnchorsRaisesEnterAndExit)
{
    SetText(kTwoLinks);
    std::vector<std::string> events;
    label->OnAnchorEnter = [&](TObject* s, const std::string& a) {
        EXPECT_EQ(s, label);
        events.push_back("enter " + a);
    };
    label->OnAnchorExit = [&](TObject*, const std::string& a) { events.push_back("exit [" + a + "]"); };
    int moves = 0;
    label->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };

    auto b = Paint();
    // The two links' underlines: find each link's first blue column on its text row.
    Ink first = Find(*b, Rect(0, 0, 250, 60), Bluish);
    ASSERT_TRUE(first.Any());
    const int y = first.bottom - 1;
    int gap = -1, second = -1;
    for (int x = first.left; x < 250 && second < 0; ++x) {
        const bool blue = Bluish(At(*b, x, y));
        if (!blue && gap < 0 && x > first.left) gap = x;
        if (blue && gap >= 0 && x > gap + 15) second = x;
    }
    ASSERT_GT(second, 0);

    Move(first.left + 1, y);
    EXPECT_EQ(label->Cursor(), crHandPoint);
    EXPECT_EQ(label->LastAnchor(), "one");
    Move(first.left + 3, y);  // the same anchor again: nothing new
    Move(second + 1, y);
    EXPECT_EQ(label->LastAnchorIndex(), 2);
    Move(5, 55);
    EXPECT_EQ(label->Cursor(), crDefault);
    EXPECT_EQ(label->LastAnchor(), "two");  // kept
    EXPECT_EQ(label->HoverAnchorRect(), (TRect{-1, -1, -1, -1}));
    Move(6, 55);
    EXPECT_EQ(events, (std::vector<std::string>{"enter one", "enter two", "exit []"}));
    EXPECT_EQ(moves, 5);
}

TEST_F(LabelRig, ClicksOpenAddressesOrRaiseTheEvent)
{
    struct Case {
        std::string href;
        bool toShell;
    };
    const Case cases[] = {{"www.example.org", false}, {"mailto:a@b.c", true}, {"http://x.y/z", true},
                          {"MAILTO:a@b.c", false}, {"file:///tmp", true}};
    for (const Case& c : cases) {
        SetText("<A href=\"" + c.href + "\">Anchor text</A>");
        shell.clear();
        std::vector<std::string> clicked;
        label->OnAnchorClick = [&](TObject*, const std::string& a) { clicked.push_back(a); };
        auto ink = Find(*Paint(), Rect(0, 0, 250, 60), Bluish);
        ASSERT_TRUE(ink.Any());
        Click(ink.left + 2, ink.bottom - 1);
        if (c.toShell) {
            ASSERT_EQ(shell.size(), 1u) << c.href;
            EXPECT_EQ(shell[0], (std::pair<std::string, std::string>{"open", c.href}));
            EXPECT_TRUE(clicked.empty());
        } else {
            EXPECT_TRUE(shell.empty()) << c.href;
            EXPECT_EQ(clicked, std::vector<std::string>{c.href});
        }
        clicked.clear();
        Click(240, 55);  // no anchor: nothing
        EXPECT_TRUE(clicked.empty());
    }
}

TEST_F(LabelRig, HoverColoursTheAnchorUnderTheMouse)
{
    SetText(kTwoLinks);
    label->SetHover(true);
    label->SetHoverColor(TColor(RGB(255, 255, 0)));
    label->SetHoverFontColor(TColor(RGB(255, 0, 0)));
    auto ink = Find(*Paint(), Rect(0, 0, 250, 60), Bluish);
    ASSERT_TRUE(ink.Any());
    auto yellow = [](COLORREF c) { return c == RGB(255, 255, 0); };
    EXPECT_FALSE(Find(*Paint(), Rect(0, 0, 250, 60), yellow).Any());

    Move(ink.left + 2, ink.bottom - 1);
    EXPECT_EQ(label->HoverAnchorIndex(), 1);
    auto b = Paint();
    Ink back = Find(*b, Rect(0, 0, 250, 60), yellow);
    ASSERT_TRUE(back.Any());
    EXPECT_LE(back.left, ink.left + 1);
    EXPECT_LT(back.right, 200);  // only the first anchor
    EXPECT_TRUE(Find(*b, Rect(0, 0, 250, 60), [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }).Any());

    // Leaving the label drops the hover.
    std::vector<std::string> seen;
    label->OnMouseLeave = [&](TObject*) { seen.push_back("leave"); };
    label->OnMouseEnter = [&](TObject*) { seen.push_back("enter"); };
    label->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(label->HoverAnchorIndex(), -1);
    EXPECT_FALSE(Find(*Paint(), Rect(0, 0, 250, 60), yellow).Any());
    label->Perform(CM_MOUSEENTER);
    EXPECT_EQ(seen, (std::vector<std::string>{"leave", "enter"}));
}

TEST_F(LabelRig, BeginUpdateShowsOnlyTheBackground)
{
    SetText("<B>Some text</B>");
    label->BeginUpdate();
    label->BeginUpdate();
    label->EndUpdate();
    EXPECT_EQ(label->UpdateCount(), 1);
    EXPECT_FALSE(Find(*Paint(), Rect(0, 0, 250, 60), Dark).Any());
    label->EndUpdate();
    EXPECT_TRUE(Find(*Paint(), Rect(0, 0, 250, 60), Dark).Any());
    label->EndUpdate();  // not below zero
    EXPECT_EQ(label->UpdateCount(), 0);
}

TEST_F(LabelRig, Hints)
{
    SetText(kTwoLinks);
    auto ink = Find(*Paint(), Rect(0, 0, 250, 60), Bluish);
    ASSERT_TRUE(ink.Any());
    auto hint = [&](int x, int y) {
        THintInfo info;
        info.HintControl = label;
        info.CursorPos = {x, y};
        info.HintStr = "own hint";
        TMessage m{CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info), 7};
        label->Dispatch(m);
        EXPECT_EQ(m.Result, 0);
        return info;
    };
    // Nothing set: the control's hint stays.
    EXPECT_EQ(hint(ink.left + 2, ink.bottom - 1).HintStr, "own hint");

    label->AnchorHint = true;
    label->OnAnchorHint = [](TObject*, std::string& a) { a = "<" + a + ">"; };
    THintInfo info = hint(ink.left + 2, ink.bottom - 1);
    EXPECT_EQ(info.HintStr, "<one>");
    const TPoint screen = label->ClientToScreen({ink.left + 2, ink.bottom - 1});
    EXPECT_EQ(info.HintPos, (TPoint{screen.X + 10, screen.Y - 10}));
    EXPECT_EQ(hint(240, 55).HintStr, "own hint");

    label->HintShowFull = true;
    EXPECT_EQ(hint(240, 55).HintStr, "First link and then second");
    EXPECT_EQ(hint(ink.left + 2, ink.bottom - 1).HintStr, "<one>");
    label->HTMLHint = true;
    EXPECT_EQ(hint(240, 55).HintStr, kTwoLinks);
    label->AnchorHint = false;
    EXPECT_EQ(hint(ink.left + 2, ink.bottom - 1).HintStr, kTwoLinks);
}

TEST_F(LabelRig, ImageListIsForgottenWhenFreed)
{
    auto* images = new TImageList(16, 16);
    label->SetImages(images);
    EXPECT_EQ(label->Images(), images);
    delete images;
    EXPECT_EQ(label->Images(), nullptr);
    SetText("<IMG src=\"idx:0\">text");
    EXPECT_NO_THROW(Paint());
}

// Named pictures come from the label's container, addresses through its own cache.
TEST_F(LabelRig, PicturesByNameAndByAddress)
{
    auto green = [](COLORREF c) { return c == RGB(0, 255, 0); };
    auto red = [](COLORREF c) { return c == RGB(255, 0, 0); };
    auto* container = new TPictureContainer(form.get());
    TPictureItem* item = container->Items()->Add();
    item->Name = "Logo";
    std::istringstream bytes(testimages::MakeBmp(12, 8, 0x00FF00));
    item->Picture()->LoadFromStream(bytes);
    label->SetPictureContainer(container);
    SetText("<IMG src=\"LOGO\">");
    Ink ink = Find(*Paint(), Rect(0, 0, 250, 60), green);
    ASSERT_TRUE(ink.Any());
    EXPECT_EQ(ink.right - ink.left, 12);
    EXPECT_EQ(ink.bottom - ink.top, 8);

    RegisterResource(HInstance(), RT_RCDATA, "LABELPIC", testimages::MakeBmp(5, 4, 0x0000FF));
    SetText("<IMG src=\"res://labelpic\"><IMG src=\"logo\">");
    auto b = Paint();
    EXPECT_TRUE(Find(*b, Rect(0, 0, 250, 60), red).Any());
    EXPECT_TRUE(Find(*b, Rect(0, 0, 250, 60), green).Any());

    // A freed container is forgotten; its pictures then draw nothing.
    delete container;
    EXPECT_EQ(label->PictureContainer(), nullptr);
    b = Paint();
    EXPECT_FALSE(Find(*b, Rect(0, 0, 250, 60), green).Any());
    EXPECT_TRUE(Find(*b, Rect(0, 0, 250, 60), red).Any());
    UnregisterResource(HInstance(), RT_RCDATA, "LABELPIC");
}

struct CacheLabel : THtmlLabel {
    using THtmlLabel::THtmlLabel;
    using THtmlLabel::PictureCache;
};

TEST_F(LabelRig, TextChangeEmptiesThePictureCache)
{
    CacheLabel l(nullptr);
    l.PictureCache()->AddPicture();
    l.PictureCache()->AddPicture();
    l.HTMLText()->Add("x");
    EXPECT_EQ(l.PictureCache()->Count(), 0);
    l.PictureCache()->AddPicture();
    base::TStringList list;
    list.Add("y");
    l.SetHTMLText(&list);
    EXPECT_EQ(l.PictureCache()->Count(), 0);
    l.PictureCache()->AddPicture();  // freed with the label
}

// As the about window sets it up: an address without "://" and no handler does nothing.
TEST_F(LabelRig, AboutWindowAnchorWithoutHandler)
{
    SetText("<A href=\"www.korvelo.example\">www.korvelo.example</A>");
    int downs = 0;
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    auto ink = Find(*Paint(), Rect(0, 0, 250, 60), Bluish);
    ASSERT_TRUE(ink.Any());
    EXPECT_NO_THROW(Click(ink.left + 2, ink.bottom - 1));
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(shell.empty());
}

TEST_F(LabelRig, PrintsOnAnotherCanvas)
{
    SetText("<A href=\"p\">Printed</A>");
    label->SetURLColor(TColor(RGB(0, 160, 0)));
    TBitmap page(200, 50);
    page.Canvas()->Brush().SetColor(clWhite);
    page.Canvas()->FillRect(Rect(0, 0, 200, 50));
    page.Canvas()->Font().Assign(*label->Font());
    label->HTMLPrint(page.Canvas(), Rect(0, 0, 200, 50));
    bool blue = false;
    for (int y = 0; y < 50 && !blue; ++y)
        for (int x = 0; x < 200 && !blue; ++x) blue = Bluish(COLORREF(page.Canvas()->Pixel(x, y)));
    EXPECT_TRUE(blue);  // printing uses blue links whatever URLColor says
}

}  // namespace
