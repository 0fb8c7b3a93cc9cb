// Images, embedded controls and page and paragraph backgrounds of the mini-HTML engine.
#include <gtest/gtest.h>


#include "platform/graphics/ImageList.h"
#include "platform/system/ShellIcons.h"
#include "platform/system/VisualStyles.h"
#include "support/TestSupport.h"
#include "test_engine_support.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/PictureContainer.h"

using namespace enginetest;
using html::HTMLVariant;

namespace {

const TColor kColours[] = {clRed, clLime, clBlue};

// An image list whose image i is filled with kColours[i].
struct Images {
    TImageList list;
    explicit Images(int size = 16) : list(size, size)
    {
        for (TColor c : kColours) {
            TBitmap b(size, size);
            b.Canvas()->Brush().SetColor(c);
            b.Canvas()->FillRect(Rect(0, 0, size, size));
            list.Add(&b);
        }
    }
};

}  // namespace

TEST(HtmlEngineImages, ImageByIndexIsSizedAndDrawnAtThePiece)
{
    Images il;
    Surface s;
    Call c(s, "<IMG src=\"idx:2\">");
    c.p.Images = &il.list;
    c.Run();
    EXPECT_EQ(c.r.MeasuredWidth, 16);
    EXPECT_EQ(c.r.MeasuredHeight, std::max(16, s.GH()));
    EXPECT_EQ(s.At(1, 0), clBlue);
    EXPECT_EQ(s.At(16, 15), clBlue);
    EXPECT_EQ(s.At(0, 0), clWhite);
    EXPECT_EQ(s.At(17, 0), clWhite);

    // Text after the image starts at its right edge.
    Surface t;
    Call d(t, "<img src=\"idx:0\">WWW");
    d.p.Images = &il.list;
    d.Run();
    EXPECT_EQ(d.r.MeasuredWidth, 16 + t.TW("WWW"));
    EXPECT_GE(t.InkIn(Rect(17, 0, 300, 40)).left, 17);
}

TEST(HtmlEngineImages, MissingImagesTakeNoRoom)
{
    Images il;
    const char* texts[] = {"<IMG src=\"idx:3\">", "<IMG src=\"idx:-1\">", "<IMG>", "<IMG src=idx:0>",
                           "<IMG src=\"nothing\">", "<IMG src=\"http://nowhere/x.png\">"};
    for (const char* t : texts) {
        Surface s;
        Call c(s, t);
        c.p.Images = &il.list;
        c.Run();
        EXPECT_EQ(c.r.MeasuredWidth, 0) << t;
        EXPECT_TRUE(s.AllInk().Empty()) << t;
    }
    Surface s;
    Call c(s, "<IMG src=\"idx:0\">");
    c.Run();  // no image list
    EXPECT_EQ(c.r.MeasuredWidth, 0);
}

TEST(HtmlEngineImages, AddressesAreKeptInTheCacheWithoutDownloading)
{
    html::THTMLPictureCache cache;
    Surface s;
    for (int i = 0; i < 3; ++i) {
        Call c(s, "<IMG src=\"http://host/a.gif\">");
        c.p.PictureCache = &cache;
        c.Run();
        EXPECT_EQ(c.r.MeasuredWidth, 0);
    }
    ASSERT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.GetPicture(0)->SourceURL(), "http://host/a.gif");
    EXPECT_FALSE(cache.GetPicture(0)->BackgroundDownload);
}

TEST(HtmlEngineImages, FileAddressKeepsTheCaseOfItsPath)
{
    // Paths are case-sensitive here: the picture is found only under its own spelling.
    // A folder with capitals in its name, so that its spelling counts too.
    testsupport::TempDir dir("korvelo_Engine_Pics");
    const std::string path = dir.file("Lime_Square.bmp");
    TBitmap b(8, 5);
    b.Canvas()->Brush().SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 8, 5));
    b.SaveToFile(path);

    for (const std::string prefix : {"file://", "FILE://", "File://"}) {
        html::THTMLPictureCache cache;
        Surface s;
        const std::string markup = "<img SRC=\"" + prefix + path + "\">";
        Call c(s, markup);
        c.p.PictureCache = &cache;
        c.Run();
        EXPECT_EQ(c.r.MeasuredWidth, 8) << prefix;
        EXPECT_EQ(s.At(4, 2), clLime) << prefix;
    }
}

TEST(HtmlEngineImages, TooWideForTheRestOfTheLineMovesDown)
{
    Images il;
    Surface s;
    const int gh = s.GH();
    const TRect rect = Rect(0, 0, s.TW("abc") + 10, 100);
    Call c(s, "abc<IMG src=\"idx:0\">", HTMLVariant::Grid, rect);
    c.p.Images = &il.list;
    c.Run();
    EXPECT_EQ(s.Count(Rect(0, 0, 100, gh), clRed, 0), 0);
    EXPECT_EQ(s.At(1, gh), clRed);
    Call m(s, "abc<IMG src=\"idx:0\">", HTMLVariant::Grid, rect);
    m.p.Images = &il.list;
    m.p.MeasureOnly = true;
    m.Run();
    EXPECT_EQ(m.r.MeasuredHeight, gh + 16);
}

TEST(HtmlEngineImages, LinkedImageIsHitAndShowsItsAlternative)
{
    Images il;
    const std::string text = "<A href=\"lnk\"><IMG src=\"idx:0\" alt=\"idx:1\"></A>";
    Surface s;
    Call h(s, text);
    h.p.Images = &il.list;
    h.HitAt(8, 8).Run();
    EXPECT_TRUE(h.hit);
    EXPECT_EQ(h.r.AnchorValue, "lnk");
    EXPECT_TRUE(s.AllInk().Empty());

    // Painting with the point on the image draws the alternative.
    Call hover(s, text);
    hover.p.Images = &il.list;
    hover.p.HitX = 8;
    hover.p.HitY = 8;
    hover.Run();
    EXPECT_TRUE(hover.hit);
    EXPECT_EQ(s.At(8, 8), clLime);

    Surface t;
    Call away(t, text);
    away.p.Images = &il.list;
    away.p.HitX = 100;
    away.p.HitY = 8;
    away.Run();
    EXPECT_FALSE(away.hit);
    EXPECT_EQ(t.At(8, 8), clRed);

    // An image outside a link is never a hit.
    Call plain(t, "<IMG src=\"idx:0\">");
    plain.p.Images = &il.list;
    plain.HitAt(8, 8).Run();
    EXPECT_FALSE(plain.hit);
}

// An object that moves to the next line answers only where it is drawn there, not at
// the end of the line it did not fit in.
TEST(HtmlEngineImages, ObjectMovedDownIsHitOnlyOnItsOwnLine)
{
    Surface probe;
    const int gh = probe.GH();
    const int w = probe.TW("abc");

    const std::string edit = "abc<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\" WIDTH=\"60\">";
    const TRect wide = Rect(0, 0, w + 50, 100);
    Surface s;
    Call beside(s, edit, HTMLVariant::Grid, wide);
    beside.HitAt(w + 10, 3).Run();
    EXPECT_FALSE(beside.hit);
    EXPECT_EQ(beside.r.AnchorValue, "");
    EXPECT_EQ(beside.r.ControlID, "");
    EXPECT_EQ(beside.r.ControlRect, TRect{});
    Call below(s, edit, HTMLVariant::Grid, wide);
    below.HitAt(10, gh + 3).Run();
    EXPECT_TRUE(below.hit);
    EXPECT_EQ(below.r.ControlID, "e");
    EXPECT_EQ(below.r.ControlRect, Rect(1, gh, 61, gh + gh + 6));
    Call byId(s, edit, HTMLVariant::Grid, wide);
    byId.HitAt(1000, 1000);
    byId.r.ControlID = "e";
    byId.Run();
    EXPECT_EQ(byId.r.ControlRect, Rect(1, gh, 61, gh + gh + 6));

    Images il;
    const std::string image = "<A href=\"x\">abc<IMG src=\"idx:0\" alt=\"idx:1\"></A>";
    const TRect narrow = Rect(0, 0, w + 10, 100);
    Surface a;
    Call paint(a, image, HTMLVariant::Grid, narrow);
    paint.p.Images = &il.list;
    paint.p.HitX = w + 5;
    paint.p.HitY = 3;
    paint.Run();
    EXPECT_FALSE(paint.hit);
    EXPECT_EQ(paint.r.AnchorValue, "");
    EXPECT_EQ(a.At(8, gh + 8), clRed);
    Surface b;
    Call on(b, image, HTMLVariant::Grid, narrow);
    on.p.Images = &il.list;
    on.p.HitX = 8;
    on.p.HitY = gh + 8;
    on.Run();
    EXPECT_TRUE(on.hit);
    EXPECT_EQ(on.r.AnchorValue, "x");
    EXPECT_EQ(b.At(8, gh + 8), clLime);
}

TEST(HtmlEngineImages, AlignmentLiftsTheText)
{
    Images il(32);
    Surface a, b, c;
    const int gh = a.GH();
    const int split = 1 + a.TW("x");
    for (auto [surface, tag] : {std::pair{&a, ""}, std::pair{&b, " align=\"middle\""}, std::pair{&c, " align=\"top\""}}) {
        const std::string text = std::string("x<IMG src=\"idx:0\"") + tag + ">";
        Call call(*surface, text);
        call.p.Images = &il.list;
        call.Run();
    }
    const int base = a.InkIn(Rect(0, 0, split, 100)).bottom;
    EXPECT_EQ(base - b.InkIn(Rect(0, 0, split, 100)).bottom, (32 - gh) / 2);
    EXPECT_EQ(base - c.InkIn(Rect(0, 0, split, 100)).bottom, 32 - gh);
}

TEST(HtmlEngineImages, PrintedImagesAreScaled)
{
    Images il;
    Surface s;
    Call c(s, "<IMG src=\"idx:1\">");
    c.p.Images = &il.list;
    c.p.Printing = true;
    c.p.PrintScale = 2.0;
    c.Run();
    EXPECT_EQ(s.At(1, 0), clLime);
    EXPECT_EQ(s.At(32, 31), clLime);
    EXPECT_EQ(s.At(33, 0), clWhite);
    EXPECT_EQ(c.r.MeasuredWidth, 16);
}

TEST(HtmlEngineImages, NamedPictureFromTheContainer)
{
    html::TPictureContainer container;
    AddBmpPicture(container, "logo", 10, 6, 0x00FF00);

    Surface s;
    Call c(s, "<IMG src=\"Logo\">");
    c.p.PictureContainer = &container;
    c.Run();
    EXPECT_EQ(c.r.MeasuredWidth, 10);
    EXPECT_EQ(s.At(5, 3), clLime);

    Surface t;
    Call d(t, "<IMG src=\"logo\" width=\"20\" height=\"12\">");
    d.p.PictureContainer = &container;
    d.Run();
    EXPECT_EQ(d.r.MeasuredWidth, 20);
    EXPECT_EQ(t.At(19, 11), clLime);
    EXPECT_EQ(t.At(22, 5), clWhite);
}

TEST(HtmlEngineControls, CheckBoxShowsItsValue)
{
    for (HTMLVariant v : {HTMLVariant::Grid, HTMLVariant::Tree}) {
        Surface on, off;
        Draw(on, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\">", v);
        Draw(off, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\">", v);
        const int gh = on.GH();
        const TRect box = Rect(1, 0, 20, std::max(gh, 16) + 1);
        EXPECT_FALSE(off.InkIn(box).Empty());
        // The tick is dark and only in the checked box.
        EXPECT_GT(on.Count(box, clBlack, 40), off.Count(box, clBlack, 40)) << int(v);
    }
}

TEST(HtmlEngineControls, EditBoxIsDrawnAndHit)
{
    const std::string text = "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"a&lt;b\" WIDTH=\"60\">";
    Surface s;
    const int gh = s.GH();
    Draw(s, text);
    Ink ink = s.AllInk();
    EXPECT_EQ(ink.left, 1);
    EXPECT_EQ(ink.right, 60);

    Call h(s, text);
    h.HitAt(20, 5).Run();
    EXPECT_TRUE(h.hit);
    EXPECT_EQ(h.r.AnchorValue, "ctrl");
    EXPECT_EQ(h.r.ControlID, "e");
    EXPECT_EQ(h.r.ControlValue, "a<b");
    EXPECT_EQ(h.r.ControlType, "EDIT");
    EXPECT_EQ(h.r.ControlRect.Width(), 60);
    EXPECT_EQ(h.r.ControlRect.Height(), gh + 6);

    // Beside the box nothing is hit and the outputs are cleared.
    Call miss(s, text);
    miss.HitAt(90, 5);
    miss.r.ControlValue = "old";
    miss.Run();
    EXPECT_FALSE(miss.hit);
    EXPECT_EQ(miss.r.ControlID, "");
    EXPECT_EQ(miss.r.ControlValue, "");
    EXPECT_EQ(miss.r.ControlRect, TRect{});
}

TEST(HtmlEngineControls, GridFindsAControlByItsID)
{
    const std::string text = "x <CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"1\" WIDTH=\"40\">"
                             "<CONTROL TYPE=\"EDIT\" ID=\"b\" VALUE=\"2\" WIDTH=\"50\">";
    Surface s;
    Call c(s, text);
    c.HitAt(1000, 1000);
    c.r.ControlID = "b";
    c.Run();
    EXPECT_TRUE(c.hit);
    EXPECT_EQ(c.r.ControlID, "b");
    EXPECT_EQ(c.r.ControlValue, "2");
    EXPECT_EQ(c.r.ControlRect.Left, 1 + s.TW("x ") + 40);
    EXPECT_EQ(c.r.ControlRect.Width(), 50);

    // Not in the tree, and an empty ID finds nothing.
    Call t(s, text, HTMLVariant::Tree);
    t.HitAt(1000, 1000);
    t.r.ControlID = "b";
    t.Run();
    EXPECT_FALSE(t.hit);
    Call e(s, "<CONTROL TYPE=\"EDIT\" VALUE=\"1\" WIDTH=\"40\">");
    e.HitAt(1000, 0).Run();
    EXPECT_FALSE(e.hit);
}

TEST(HtmlEngineControls, SizesPerTypeAndVariant)
{
    struct Case {
        const char* type;
        HTMLVariant v;
        int width, height;
        bool drawn;
    };
    Surface probe;
    const int gh = probe.GH();
    const Case cases[] = {
        {"EDIT", HTMLVariant::Grid, 60, gh + 6, true},   {"PASSWORD", HTMLVariant::Grid, 60, gh + 6, true},
        {"PASSWORD", HTMLVariant::Tree, 60, gh + 6, false}, {"COMBO", HTMLVariant::Grid, 60, 25, true},
        {"CHECK", HTMLVariant::Grid, 16, 16, true},      {"RADIO", HTMLVariant::Tree, 16, 16, true},
        {"BUTTON", HTMLVariant::Grid, 60, 18, true},     {"BUTTON", HTMLVariant::Tree, 60, 26, true},
        {"TOOLBTN", HTMLVariant::Tree, 60, 26, true},    {"TOOLBTN", HTMLVariant::Grid, 60, gh + 6, false},
        {"SLIDER", HTMLVariant::Grid, 60, gh + 6, false},
    };
    for (const Case& k : cases) {
        const std::string text = std::string("<CONTROL TYPE=\"") + k.type + "\" ID=\"i\" VALUE=\"v\" WIDTH=\"60\">";
        Surface s;
        Call m(s, text, k.v);
        m.p.MeasureOnly = true;
        m.Run();
        EXPECT_EQ(m.r.MeasuredWidth, k.width) << k.type;
        EXPECT_EQ(m.r.MeasuredHeight, std::max(gh, k.height)) << k.type;
        Call d(s, text, k.v, Rect(0, 0, 300, 100));
        d.Run();
        EXPECT_EQ(!s.AllInk().Empty(), k.drawn) << k.type << " " << int(k.v);
    }
    // The panel variant ignores controls.
    Surface s;
    auto r = Measure(s, "<CONTROL TYPE=\"EDIT\" ID=\"i\" VALUE=\"v\" WIDTH=\"60\">", HTMLVariant::Panel);
    EXPECT_EQ(r.MeasuredWidth, 0);
}

TEST(HtmlEngineControls, PasswordShowsStars)
{
    Surface a, b;
    Draw(a, "<CONTROL TYPE=\"PASSWORD\" ID=\"p\" VALUE=\"abc\" WIDTH=\"60\">");
    Draw(b, "<CONTROL TYPE=\"EDIT\" ID=\"p\" VALUE=\"***\" WIDTH=\"60\">");
    AssertSamePixels(a, b, 80, 40);
}

TEST(HtmlEngineControls, ThemedControlsDrawThroughTheBinding)
{
    SetVisualStylesPresent(true);
    SetVisualStylesActiveOverride(1);
    const bool wasXP = html::grdhtmle::IsWinXP;
    html::grdhtmle::IsWinXP = true;
    Surface s;
    Draw(s, "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\"> <CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"50\">");
    EXPECT_FALSE(s.AllInk().Empty());
    html::grdhtmle::IsWinXP = wasXP;
    ResetVisualStyles();
}

TEST(HtmlEngineBackgrounds, BodyColourFillsTheRectangle)
{
    for (HTMLVariant v : {HTMLVariant::Grid, HTMLVariant::Tree, HTMLVariant::Panel}) {
        Surface s;
        Draw(s, "<BODY bgcolor=\"#FF0000\">text", v, Rect(10, 10, 200, 60));
        EXPECT_EQ(s.At(150, 50), TColor(0x0000FF)) << int(v);
        EXPECT_EQ(s.At(12, 12), TColor(0x0000FF)) << int(v);
        EXPECT_EQ(s.At(250, 50), clWhite);
        EXPECT_EQ(s.At(150, 65), clWhite);
    }
    Surface named;
    Draw(named, "<BODY bgcolor=\"clLime\">", HTMLVariant::Grid, Rect(10, 10, 200, 60));
    EXPECT_EQ(named.At(100, 30), clLime);
}

TEST(HtmlEngineBackgrounds, PanelBodyGradient)
{
    Surface s(400, 120);
    Draw(s, "<BODY bgcolor=\"#FF0000\" bgcolorto=\"#0000FF\">", HTMLVariant::Panel, Rect(0, 0, 320, 40));
    EXPECT_EQ(s.At(0, 20), TColor(0x0000FF));
    EXPECT_EQ(s.At(319, 20), TColor(RGB(4, 0, 251)));
    // 64 bands of 5 pixels.
    EXPECT_EQ(s.At(5, 20), s.At(9, 20));
    EXPECT_NE(s.At(4, 20), s.At(5, 20));
    EXPECT_EQ(s.At(320, 20), clWhite);
    // Vertical, and not in the grid variant.
    Surface v(400, 120);
    Draw(v, "<BODY bgcolor=\"#FF0000\" bgcolorto=\"#0000FF\" dir=\"V\">", HTMLVariant::Panel, Rect(0, 0, 320, 64));
    EXPECT_EQ(v.At(100, 0), TColor(0x0000FF));
    EXPECT_EQ(v.At(100, 63), TColor(RGB(4, 0, 251)));
    Surface g(400, 120);
    Draw(g, "<BODY bgcolor=\"#FF0000\" bgcolorto=\"#0000FF\">", HTMLVariant::Grid, Rect(0, 0, 320, 40));
    EXPECT_EQ(g.At(319, 20), TColor(0x0000FF));
}

TEST(HtmlEngineBackgrounds, ParagraphGradientInTreeAndPanel)
{
    Surface s;
    const int gh = s.GH();
    Draw(s, "<P bgcolor=\"#000000\" bgcolorto=\"#FFFFFF\">x</P>", HTMLVariant::Tree, Rect(0, 0, 256, 100));
    EXPECT_EQ(s.At(255, 2), TColor(RGB(251, 251, 251)));
    EXPECT_EQ(s.At(0, 2), clBlack);
    EXPECT_EQ(s.At(100, gh + 1), TColor(RGB(100 / 4 * 4, 100 / 4 * 4, 100 / 4 * 4)));
    EXPECT_EQ(s.At(100, gh + 4), clWhite);
}

TEST(HtmlEngineBackgrounds, BodyPictureIsTiled)
{
    html::TPictureContainer container;
    AddBmpPicture(container, "tile", 8, 8, 0x0000FF);
    Surface s;
    Call c(s, "<BODY background=\"tile\">", HTMLVariant::Grid, Rect(4, 4, 30, 30));
    c.p.PictureContainer = &container;
    c.Run();
    EXPECT_EQ(s.At(4, 4), clRed);
    EXPECT_EQ(s.At(29, 29), clRed);
    EXPECT_EQ(s.At(30, 30), clWhite);
    EXPECT_EQ(s.At(3, 3), clWhite);
    // The clip is gone afterwards.
    s.C()->Brush().SetColor(clBlue);
    s.C()->FillRect(Rect(50, 50, 60, 60));
    EXPECT_EQ(s.At(55, 55), clBlue);
}

TEST(HtmlEngineBackgrounds, PrintBitmapStretches)
{
    TBitmap b(2, 2);
    b.Canvas()->Brush().SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 2, 2));
    Surface s;
    html::PrintBitmap(s.C(), Rect(10, 10, 30, 20), &b);
    EXPECT_EQ(s.At(10, 10), clRed);
    EXPECT_EQ(s.At(29, 19), clRed);
    EXPECT_EQ(s.At(30, 19), clWhite);
}

TEST(HtmlEngineImages, SystemIconsBySizeNumberAndPath)
{
    struct Case {
        const char* text;
        int side;
    };
    const Case cases[] = {{"<IMG src=\"ssys:0\">", 16},          {"<IMG src=\"lsys:1\">", 32},
                          {"<IMG src=\"ssys:c:\\doc\\a.txt\">", 16}, {"<IMG src=\"lsys:/tmp\">", 32}};
    for (const Case& k : cases) {
        Surface s;
        auto m = Measure(s, k.text);
        EXPECT_EQ(m.MeasuredWidth, k.side) << k.text;
        EXPECT_EQ(m.MeasuredHeight, std::max(k.side, s.GH())) << k.text;
        Draw(s, k.text);
        Ink ink = s.AllInk();
        ASSERT_FALSE(ink.Empty()) << k.text;
        EXPECT_GE(ink.left, 1);
        EXPECT_LE(ink.right, k.side);
    }
    // The same kind of file gets the same icon number each time.
    SHFILEINFO a, b, c;
    SHGetFileInfo("x.abc", 0, &a, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    SHGetFileInfo("y.ABC", 0, &b, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    SHGetFileInfo("dir", FILE_ATTRIBUTE_DIRECTORY, &c, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    EXPECT_EQ(a.iIcon, b.iIcon);
    EXPECT_EQ(c.iIcon, 1);
    EXPECT_FALSE(ImageList_Draw(SHGetFileInfo("", 0, &a, SHGFI_SYSICONINDEX), 9999, nullptr, 0, 0, ILD_NORMAL));
}

TEST(HtmlEngineImages, ImageListStripsMasksAndDisabledImages)
{
    TBitmap strip(48, 16);
    for (int i = 0; i < 3; ++i) {
        strip.Canvas()->Brush().SetColor(kColours[i]);
        strip.Canvas()->FillRect(Rect(16 * i, 0, 16 * i + 16, 16));
    }
    strip.Canvas()->Brush().SetColor(clWhite);
    strip.Canvas()->FillRect(Rect(0, 0, 4, 4));
    TImageList il(16, 16);
    EXPECT_EQ(il.Add(&strip), 0);
    EXPECT_EQ(il.Count(), 3);
    EXPECT_EQ(il.AddMasked(&strip, clWhite), 3);
    EXPECT_EQ(il.Count(), 6);

    Surface s;
    s.C()->Brush().SetColor(clYellow);
    s.C()->FillRect(Rect(0, 0, 100, 40));
    il.Draw(s.C(), 0, 0, 2);
    il.Draw(s.C(), 20, 0, 3);  // masked: the white corner shows the yellow under it
    il.Draw(s.C(), 40, 0, 1, false);
    il.Draw(s.C(), 60, 0, 99);
    EXPECT_EQ(s.At(8, 8), clBlue);
    EXPECT_EQ(s.At(21, 1), clYellow);
    EXPECT_EQ(s.At(28, 8), clRed);
    const TColor grey = s.At(48, 8);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_EQ(s.At(68, 8), clYellow);

    TBitmap out;
    il.GetBitmap(1, &out);
    EXPECT_EQ(out.Width(), 16);
    EXPECT_EQ(out.Canvas()->Pixel(8, 8), clLime);
    il.Delete(0);
    EXPECT_EQ(il.Count(), 5);
    il.SetSize(8, 8);
    EXPECT_EQ(il.Count(), 0);
}
