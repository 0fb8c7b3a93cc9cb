// Geometric pens and paths, drawn into bitmaps and read back, and written into metafiles.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"
#include "platform/TestRig.h"
#include "support/TestSupport.h"
#include "LookAt.h"
#include "support/FilledBitmap.h"

using namespace platform;

namespace {

std::unique_ptr<TBitmap> White(int w, int h) { return testsupport::FilledBitmap(w, h); }

HPEN Geometric(DWORD capJoin, int width, COLORREF color)
{
    LOGBRUSH lb;
    lb.lbColor = color;
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | capJoin, DWORD(width), lb, 0, nullptr);
}

int CountColor(TBitmap& b, TColor c, TRect in = {0, 0, -1, -1})
{
    if (in.Right < 0) in = {0, 0, b.Width(), b.Height()};
    int n = 0;
    for (int y = in.Top; y < in.Bottom; ++y)
        for (int x = in.Left; x < in.Right; ++x) n += b.Canvas()->Pixel(x, y) == c;
    return n;
}

std::string ReadFile(const std::string& f)
{
    std::ifstream in(f, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(GeometricPen, CreationRefusesWhatThePlatformRefuses)
{
    LOGBRUSH lb;
    const DWORD dashes[] = {3, 2};
    struct Case {
        DWORD style, width, count;
        const DWORD* styles;
        bool made;
    } cases[] = {
        {PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 6, 0, nullptr, true},
        {PS_COSMETIC | PS_SOLID, 1, 0, nullptr, true},
        {PS_COSMETIC | PS_SOLID, 4, 0, nullptr, false},    // cosmetic pens are one pixel wide
        {PS_COSMETIC | PS_ALTERNATE, 1, 0, nullptr, true},
        {PS_GEOMETRIC | PS_ALTERNATE, 3, 0, nullptr, false},
        {PS_GEOMETRIC | PS_USERSTYLE, 2, 2, dashes, true},
        {PS_GEOMETRIC | PS_USERSTYLE, 2, 0, nullptr, false},  // a user style needs lengths
        {PS_GEOMETRIC | PS_SOLID, 2, 2, dashes, false},        // and only a user style takes them
        {PS_GEOMETRIC | PS_SOLID | 0x300, 2, 0, nullptr, false},
    };
    for (const auto& c : cases) {
        HPEN p = ExtCreatePen(c.style, c.width, lb, c.count, c.styles);
        EXPECT_EQ(p != nullptr, c.made) << std::hex << c.style << " width " << std::dec << c.width;
        DeleteObject(p);
    }
}

TEST(GeometricPen, EndCapsDecideHowFarAWideLineReaches)
{
    // A horizontal line from x 20 to x 40, 8 pixels wide, at y 20.
    struct Case {
        DWORD cap;
        int leftmost, rightmost;  // the outermost black columns on the line's axis
    } cases[] = {{PS_ENDCAP_FLAT, 20, 39}, {PS_ENDCAP_SQUARE, 16, 43}, {PS_ENDCAP_ROUND, 16, 43}};
    for (const auto& c : cases) {
        auto b = White(60, 40);
        TCanvas* cv = b->Canvas();
        cv->Pen().SetHandle(Geometric(c.cap, 8, 0));
        cv->MoveTo(20, 20);
        cv->LineTo(40, 20);
        int left = 99, right = -1;
        for (int x = 0; x < 60; ++x)
            if (cv->Pixel(x, 20) == clBlack) left = std::min(left, x), right = std::max(right, x);
        EXPECT_NEAR(left, c.leftmost, 1) << "cap " << c.cap;
        EXPECT_NEAR(right, c.rightmost, 1) << "cap " << c.cap;
        // Square and round ends differ at the corners: a square end fills them.
        const bool corner = cv->Pixel(16, 16) == clBlack;
        EXPECT_EQ(corner, c.cap == PS_ENDCAP_SQUARE) << "cap " << c.cap;
        LookAt(*b, "pen-cap-" + std::to_string(c.cap));
    }
}

TEST(GeometricPen, JoinsShapeTheOuterCornerOfAPolyline)
{
    // A right angle at (30, 10): along the top, then down. The outer corner of the join is
    // the square corner (mitre), cut off (bevel) or rounded.
    struct Case {
        DWORD join;
        bool cornerTip, diagonalMid;
    } cases[] = {{PS_JOIN_MITER, true, true}, {PS_JOIN_BEVEL, false, false}, {PS_JOIN_ROUND, false, true}};
    for (const auto& c : cases) {
        auto b = White(50, 50);
        TCanvas* cv = b->Canvas();
        cv->Pen().SetHandle(Geometric(PS_ENDCAP_FLAT | c.join, 10, 0));
        const TPoint pts[] = {{5, 10}, {30, 10}, {30, 40}};
        cv->Polyline(pts, 3);
        EXPECT_EQ(cv->Pixel(34, 6) == clBlack, c.cornerTip) << "join " << c.join;
        EXPECT_EQ(cv->Pixel(33, 7) == clBlack, c.diagonalMid) << "join " << c.join;
        EXPECT_EQ(cv->Pixel(30, 10), clBlack);
        LookAt(*b, "pen-join-" + std::to_string(c.join));
    }
}

TEST(GeometricPen, PenPropertiesDropTheHandleAndAssignCarriesIt)
{
    TPen pen;
    pen.SetHandle(Geometric(PS_ENDCAP_FLAT, 5, RGB(0, 0, 255)));
    ASSERT_NE(pen.Handle(), nullptr);
    EXPECT_EQ(pen.Width(), 5);
    EXPECT_EQ(pen.Color(), TColor(RGB(0, 0, 255)));
    TPen copy;
    copy.Assign(pen);
    EXPECT_EQ(copy.Handle(), pen.Handle());
    pen.SetWidth(5);  // the same value keeps it
    EXPECT_NE(pen.Handle(), nullptr);
    pen.SetWidth(6);
    EXPECT_EQ(pen.Handle(), nullptr);
    EXPECT_NE(copy.Handle(), nullptr);
}

TEST(Paths, DrawingCallsInsideTheBracketDrawNothingUntilTheyAreUsed)
{
    auto b = White(60, 60);
    TCanvas* cv = b->Canvas();
    HDC dc = cv->Handle();
    cv->Brush().SetColor(clRed);
    ASSERT_TRUE(BeginPath(dc));
    cv->Rectangle(10, 10, 30, 30);
    cv->Ellipse(35, 10, 55, 30);
    const TPoint tri[] = {{10, 40}, {30, 40}, {20, 55}};
    cv->Polygon(tri, 3);
    cv->MoveTo(40, 40);
    cv->LineTo(55, 55);
    ASSERT_TRUE(EndPath(dc));
    EXPECT_EQ(CountColor(*b, clWhite), 60 * 60) << "nothing drawn yet";
    EXPECT_GT(GetPath(dc, nullptr, nullptr, 0), 10);
    ASSERT_TRUE(FillPath(cv->Handle()));
    EXPECT_EQ(cv->Pixel(20, 20), clRed);
    EXPECT_EQ(cv->Pixel(45, 20), clRed);
    EXPECT_EQ(cv->Pixel(20, 45), clRed);
    EXPECT_EQ(cv->Pixel(35, 11), clWhite) << "outside the ellipse";
    EXPECT_EQ(CountColor(*b, clBlack), 0) << "a fill has no outline";
    EXPECT_FALSE(FillPath(dc)) << "the path is used up";
    EXPECT_FALSE(StrokePath(dc));
}

TEST(Paths, StrokeFillAndBothTable)
{
    struct Case {
        const char* what;
        bool (*use)(HDC);
        bool inside, edge;
    } cases[] = {{"stroke", StrokePath, false, true},
                 {"fill", FillPath, true, false},
                 {"stroke and fill", StrokeAndFillPath, true, true}};
    for (const auto& c : cases) {
        auto b = White(40, 40);
        TCanvas* cv = b->Canvas();
        cv->Pen().SetColor(clBlack);
        cv->Brush().SetColor(clLime);
        HDC dc = cv->Handle();
        BeginPath(dc);
        const TPoint pts[] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}};
        cv->Polyline(pts, 4);  // left open: filling closes it, StrokeAndFillPath strokes it closed
        EndPath(dc);
        ASSERT_TRUE(c.use(cv->Handle())) << c.what;
        EXPECT_EQ(cv->Pixel(20, 20) == clLime, c.inside) << c.what;
        EXPECT_EQ(cv->Pixel(20, 5) == clBlack, c.edge) << c.what;
        EXPECT_EQ(cv->Pixel(5, 20) == clBlack, c.edge && c.use != StrokePath) << c.what << ": closing side";
    }
}

TEST(Paths, TextInAPathIsOutlinedAlsoWhenTurned)
{
    auto b = White(120, 120);
    TCanvas* cv = b->Canvas();
    cv->Font().SetName("Arial");
    cv->Font().SetHeight(-40);
    cv->Font().SetStyle(fsBold);
    cv->Pen().SetColor(clBlue);
    cv->Brush().SetStyle(bsClear);
    HDC dc = cv->Handle();
    SetBkMode(dc, TRANSPARENT);
    BeginPath(dc);
    cv->TextOut(10, 10, "O");
    EndPath(dc);
    HRGN plain = PathToRegion(dc);
    ASSERT_NE(plain, nullptr);
    TRect box;
    GetRgnBox(plain, &box);
    EXPECT_GT(box.Height(), 20);
    // The letter's hole is not part of its region.
    const int cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
    EXPECT_FALSE(PtInRegion(plain, cx, cy));
    EXPECT_TRUE(PtInRegion(plain, box.Left + 3, cy));
    DeleteObject(plain);

    // Turned 90 degrees: the same letter standing on its side, written upwards from (20, 110).
    cv->Font().SetEscapement(900);
    cv->Font().SetName("Arial");
    dc = cv->Handle();
    BeginPath(dc);
    cv->TextOut(20, 110, "IIIIII");
    EndPath(dc);
    HRGN turned = PathToRegion(dc);
    ASSERT_NE(turned, nullptr);
    GetRgnBox(turned, &box);
    EXPECT_GT(box.Height(), box.Width()) << "the text runs upwards";
    EXPECT_LE(box.Bottom, 111);
    EXPECT_GE(box.Left, 19);
    DeleteObject(turned);

    // Outline only: the stroke leaves the letters' insides white.
    dc = cv->Handle();
    BeginPath(dc);
    cv->TextOut(20, 110, "IIIIII");
    EndPath(dc);
    StrokePath(dc);
    const int blue = CountColor(*b, clBlue);
    EXPECT_GT(blue, 40);
    EXPECT_EQ(CountColor(*b, clBlack), 0);
    LookAt(*b, "path-text-turned");
}

TEST(Paths, WidenPathAndClipPathMakeAnOutlineToPaintThrough)
{
    auto b = White(80, 40);
    TCanvas* cv = b->Canvas();
    cv->Pen().SetHandle(Geometric(PS_ENDCAP_FLAT | PS_JOIN_MITER, 6, 0));
    HDC dc = cv->Handle();
    BeginPath(dc);
    cv->Rectangle(10, 10, 70, 31);
    EndPath(dc);
    ASSERT_TRUE(WidenPath(dc));
    ASSERT_TRUE(SelectClipPath(dc, RGN_AND));
    // Painting everything now shows only the widened frame.
    cv->Brush().SetColor(clRed);
    cv->FillRect(Rect(0, 0, 80, 40));
    EXPECT_EQ(cv->Pixel(10, 20), clRed) << "on the frame";
    EXPECT_EQ(cv->Pixel(40, 20), clWhite) << "inside the frame";
    EXPECT_EQ(cv->Pixel(2, 2), clWhite) << "outside";
    EXPECT_EQ(cv->Pixel(7, 7), clRed) << "the mitred corner";
    SelectClipRgn(cv->Handle(), nullptr);
}

TEST(Paths, PathToRegionUsesTheFillModeAndDeviceCoordinates)
{
    auto b = White(50, 50);
    TCanvas* cv = b->Canvas();
    HDC dc = cv->Handle();
    SetViewportOrgEx(dc, 5, 5, nullptr);
    // Two squares, one inside the other: a hole with alternate filling, none with winding.
    for (int mode : {ALTERNATE, WINDING}) {
        SetPolyFillMode(dc, mode);
        BeginPath(dc);
        const TPoint outer[] = {{0, 0}, {40, 0}, {40, 40}, {0, 40}};
        const TPoint inner[] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
        Polygon(dc, outer, 4);
        Polygon(dc, inner, 4);
        EndPath(dc);
        HRGN r = PathToRegion(dc);
        ASSERT_NE(r, nullptr);
        EXPECT_TRUE(PtInRegion(r, 7, 7));     // logical (2, 2)
        EXPECT_FALSE(PtInRegion(r, 2, 2));    // left of the origin
        EXPECT_EQ(PtInRegion(r, 25, 25), mode == WINDING) << mode;
        DeleteObject(r);
    }
    EXPECT_EQ(PathToRegion(dc), nullptr) << "no path";
    BeginPath(dc);
    EXPECT_EQ(PathToRegion(dc), nullptr) << "a path still open";
    AbortPath(dc);
}

TEST(Paths, PathsOnAMetafileAreWrittenAsPolygonsThatOutsideReadersDraw)
{
    TMetafile mf(200, 100);
    {
        TMetafileCanvas c(mf);
        c.Font().SetName("Arial");
        c.Font().SetHeight(-40);
        c.Font().SetEscapement(900);
        c.Pen().SetColor(clRed);
        c.Brush().SetColor(clYellow);
        HDC dc = c.Handle();
        BeginPath(dc);
        c.TextOut(20, 95, "Ab");
        EndPath(dc);
        StrokeAndFillPath(c.Handle());
        c.Pen().SetHandle(Geometric(PS_ENDCAP_FLAT | PS_JOIN_BEVEL, 6, RGB(0, 0, 255)));
        dc = c.Handle();
        BeginPath(dc);
        c.MoveTo(80, 20);
        c.LineTo(180, 20);
        c.LineTo(180, 80);
        EndPath(dc);
        StrokePath(c.Handle());
    }
    // Played back, the letters are filled and turned.
    auto b = White(200, 100);
    mf.Draw(*b->Canvas(), Rect(0, 0, 200, 100));
    EXPECT_GT(CountColor(*b, clYellow, {0, 0, 70, 100}), 100);
    EXPECT_GT(CountColor(*b, clRed, {0, 0, 70, 100}), 50);
    EXPECT_EQ(b->Canvas()->Pixel(130, 20), clBlue);
    LookAt(*b, "path-metafile");

    REQUIRE_TOOL("emf2svg-conv", "emf2svg");
    REQUIRE_TOOL("wmf2svg", "libwmf-bin");
    testsupport::TempDir dir("paths");
    const std::string emf = dir.file("p.emf"), wmf = dir.file("p.wmf"), svg1 = dir.file("e.svg"), svg2 = dir.file("w.svg");
    mf.SetEnhanced(true);
    mf.SaveToFile(emf);
    mf.SetEnhanced(false);
    mf.SaveToFile(wmf);
    ASSERT_EQ(std::system(("emf2svg-conv -i '" + emf + "' -o '" + svg1 + "' >/dev/null 2>&1").c_str()), 0);
    ASSERT_EQ(std::system(("wmf2svg -o '" + svg2 + "' '" + wmf + "' >/dev/null 2>&1").c_str()), 0);
    for (const std::string& f : {svg1, svg2}) {
        std::string out = ReadFile(f);
        for (char& ch : out) ch = char(std::tolower(static_cast<unsigned char>(ch)));
        // One reader writes colours in hex, the other by name.
        auto has = [&](const char* hex, const char* name) {
            return out.find(hex) != std::string::npos || out.find(name) != std::string::npos;
        };
        EXPECT_TRUE(has("#ffff00", "yellow")) << f << ": the letters' fill";
        EXPECT_TRUE(has("#ff0000", ":red")) << f << ": their outline";
        EXPECT_TRUE(has("#0000ff", ":blue")) << f << ": the stroked path";
        EXPECT_TRUE(out.find("<path") != std::string::npos || out.find("<polygon") != std::string::npos) << f;
        EXPECT_EQ(out.find(">ab<"), std::string::npos) << f << ": no text record";
    }
}
