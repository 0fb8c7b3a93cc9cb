// Picture export of the plot control: metafiles read by outside readers, the clipboard.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"
#include "platform/TestRig.h"
#include "support/TestSupport.h"
#include "widgets/plot/PlotGraph.h"

using namespace plot;
using platform::RGB;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::uint32_t U32(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(s[at + std::size_t(i)]);
    return v;
}

// A view like the body plan: axes with labels, grid, numbers and a red series.
std::unique_ptr<TPlotGraph> View()
{
    platform::EnsurePlatform();
    auto g = std::make_unique<TPlotGraph>(nullptr);
    g->SetBounds(0, 0, 320, 240);
    g->SetColorBg(platform::clWhite);
    g->SetColorGrid(platform::clSilver);
    g->SetColorXAxis(RGB(0, 0, 255));
    g->SetColorYAxis(RGB(0, 128, 0));
    g->SetAxisXLabel("Y");
    g->SetAxisYLabel("Z");
    g->SetVisRect(Rect2D(-10, -8, 10, 8));
    g->Series().Add();
    TPoints& s = g->Series().GetSeries(0);
    s.SetColor(0x000000FF);
    s.AddSimple(-6, -4);
    s.AddSimple(0, 5);
    s.AddSimple(7, -1);
    return g;
}

void Record(TPlotGraph& g, platform::TMetafile& mf)
{
    mf.SetWidth(g.Width());
    mf.SetHeight(g.Height());
    platform::TMetafileCanvas canvas(mf);
    g.Render(&canvas);
}

std::string Lower(std::string s)
{
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST(PlotGraphMetafile, EmfIsReadByAnOutsideReaderWithAxesAndSeries)
{
    auto g = View();
    platform::TMetafile mf;
    Record(*g, mf);
    REQUIRE_TOOL("emf2svg-conv", "emf2svg");
    testsupport::TempDir dir("plotctl");
    const std::string emf = dir.file("view.emf"), svg = dir.file("view.svg");
    mf.SaveToFile(emf);
    ASSERT_EQ(std::system(("emf2svg-conv -i '" + emf + "' -o '" + svg + "' >/dev/null 2>&1").c_str()), 0);
    const std::string out = Lower(ReadFile(svg));
    EXPECT_NE(out.find("<svg"), std::string::npos);
    EXPECT_NE(out.find("stroke=\"#ff0000\""), std::string::npos) << "series";
    EXPECT_NE(out.find("stroke=\"#0000ff\""), std::string::npos) << "x-axis line";
    EXPECT_NE(out.find("stroke=\"#008000\""), std::string::npos) << "y-axis line";
    EXPECT_NE(out.find("stroke=\"#c0c0c0\""), std::string::npos) << "grid";
    EXPECT_NE(out.find("[y]]"), std::string::npos) << "axis label";
    EXPECT_NE(out.find("0.000"), std::string::npos) << "numbers";
    // No background: nothing filled but text.
    EXPECT_FALSE(std::regex_search(out, std::regex("<(path|rect|polygon)[^>]*fill=\"#"))) << "no background";
}

TEST(PlotGraphMetafile, PlaceableWmfIsReadByAnOutsideReader)
{
    auto g = View();
    platform::TMetafile mf;
    Record(*g, mf);
    mf.SetEnhanced(false);
    REQUIRE_TOOL("wmf2svg", "libwmf-bin");
    testsupport::TempDir dir("plotctl");
    const std::string wmf = dir.file("view.wmf"), svg = dir.file("view.svg");
    mf.SaveToFile(wmf);
    EXPECT_EQ(U32(ReadFile(wmf), 0), 0x9AC6CDD7u);
    ASSERT_EQ(std::system(("wmf2svg -o '" + svg + "' '" + wmf + "' >/dev/null 2>&1").c_str()), 0);
    const std::string out = Lower(ReadFile(svg));
    EXPECT_NE(out.find("<svg width=\"320\" height=\"240\""), std::string::npos);
    EXPECT_NE(out.find("<polyline"), std::string::npos) << "series";
    EXPECT_NE(out.find("stroke:red"), std::string::npos) << "series colour";
    EXPECT_NE(out.find("stroke:blue"), std::string::npos) << "x-axis line";
    EXPECT_NE(out.find(">y</text>"), std::string::npos) << "axis label";
}

TEST(PlotGraphMetafile, MetafileHoldsNoBackgroundAndPlaysBackLikeTheScreen)
{
    auto g = View();
    g->SetColorBg(RGB(200, 220, 240));
    platform::TMetafile mf;
    Record(*g, mf);
    g->Paint();
    platform::TBitmap played(g->Width(), g->Height());
    played.Canvas()->Brush().SetColor(platform::clWhite);
    played.Canvas()->FillRect(platform::Rect(0, 0, g->Width(), g->Height()));
    mf.Draw(*played.Canvas(), platform::Rect(0, 0, g->Width(), g->Height()));
    // The series and the axes show in both, at the same pixels; the background only on screen.
    int red = 0, same = 0;
    for (int y = 0; y < g->Height(); ++y)
        for (int x = 0; x < g->Width(); ++x)
            if (g->Bitmap()->Canvas()->Pixel(x, y) == RGB(255, 0, 0)) {
                ++red;
                if (played.Canvas()->Pixel(x, y) == RGB(255, 0, 0)) ++same;
            }
    EXPECT_GT(red, 50);
    EXPECT_EQ(same, red);
    EXPECT_EQ(played.Canvas()->Pixel(g->WorldToPixelX(-3), g->WorldToPixelY(0)), RGB(0, 0, 255));
    EXPECT_EQ(g->Bitmap()->Canvas()->Pixel(g->WorldToPixelX(-3), g->WorldToPixelY(0)), RGB(0, 0, 255));
    EXPECT_EQ(played.Canvas()->Pixel(g->WorldToPixelX(-7), g->WorldToPixelY(6.5L)), platform::clWhite);
    EXPECT_EQ(g->Bitmap()->Canvas()->Pixel(g->WorldToPixelX(-7), g->WorldToPixelY(6.5L)), RGB(200, 220, 240));
}

TEST(PlotGraphMetafile, CopyToClipboardOffersTheEmfAndABitmap)
{
    auto g = View();
    g->CopyToClipboard();
    const std::string emf = platform::ClipboardData(platform::kEnhMetafileMime);
    ASSERT_GT(emf.size(), 108u);
    EXPECT_EQ(U32(emf, 0), 1u);             // EMR_HEADER
    EXPECT_EQ(U32(emf, 40), 0x464D4520u);   // " EMF"
    EXPECT_EQ(U32(emf, 48), emf.size());    // total bytes
    EXPECT_EQ(U32(emf, emf.size() - 20), 14u);  // EMR_EOF closes it
    platform::TBitmap bmp;
    ASSERT_TRUE(platform::ClipboardBitmap(bmp));
    EXPECT_EQ(bmp.Width(), 320);
    EXPECT_EQ(bmp.Height(), 240);
    EXPECT_EQ(bmp.Canvas()->Pixel(g->WorldToPixelX(-3), g->WorldToPixelY(0)), RGB(0, 0, 255));
}
