// Wide (UTF-16) text on a DC: drawn and measured with every character, the same pixels as
// the 8-bit calls for text the 8-bit page holds.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "tests/platform/LookAt.h"

using namespace platform;

namespace {

std::vector<TColor> Drawn(const std::function<void(HDC)>& draw)
{
    EnsurePlatform();
    TBitmap b(120, 40);
    b.Canvas()->Brush().SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 120, 40));
    b.Canvas()->Font().SetName("DejaVu Sans");
    b.Canvas()->Font().SetSize(14);
    HDC dc = b.Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    draw(dc);
    LookAt(b, "widetext");
    std::vector<TColor> v;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) v.push_back(b.Canvas()->Pixel(x, y));
    return v;
}

}  // namespace

TEST(WideText, EachCallDrawsWhatItsEightBitTwinDrawsForEightBitText)
{
    const std::string a = "Caf\xE9 12";
    const std::u16string w = u"Caf\u00E9 12";
    TRect r = Rect(2, 2, 118, 38);
    const struct {
        const char* what;
        std::function<void(HDC)> ansi, wide;
    } cases[] = {
        {"TextOut", [&](HDC dc) { TextOut(dc, 3, 5, a, -1); }, [&](HDC dc) { TextOutW(dc, 3, 5, w, -1); }},
        {"ExtTextOut", [&](HDC dc) { ExtTextOut(dc, 3, 5, ETO_CLIPPED, &r, a, 3); },
         [&](HDC dc) { ExtTextOutW(dc, 3, 5, ETO_CLIPPED, &r, w, 3); }},
        {"DrawText", [&](HDC dc) { DrawText(dc, a, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE); },
         [&](HDC dc) { DrawTextW(dc, w, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE); }},
    };
    for (const auto& k : cases) EXPECT_EQ(Drawn(k.ansi), Drawn(k.wide)) << k.what;
    TSize sa, sw;
    ASSERT_TRUE(GetTextExtentPoint32(TBitmap(1, 1).Canvas()->Handle(), a, -1, sa));
    ASSERT_TRUE(GetTextExtentPoint32W(TBitmap(1, 1).Canvas()->Handle(), w, -1, sw));
    EXPECT_EQ(sa.cx, sw.cx);
    EXPECT_EQ(sa.cy, sw.cy);
}

TEST(WideText, CharactersTheEightBitPageLacksAreDrawnNotQuestionMarks)
{
    const std::u16string greek = u"\u03A9\u03A8\u0416";  // Omega, Psi, Zhe
    const auto wide = Drawn([&](HDC dc) { TextOutW(dc, 3, 5, greek, -1); });
    const auto marks = Drawn([&](HDC dc) { TextOut(dc, 3, 5, WideToAnsi(greek), -1); });  // "???"
    EXPECT_NE(wide, marks);
    EXPECT_NE(wide, Drawn([](HDC) {}));  // something was drawn
    // Measured by their own widths, in code units.
    TBitmap b(1, 1);
    b.Canvas()->Font().SetSize(14);
    TSize one, all;
    GetTextExtentPoint32W(b.Canvas()->Handle(), greek, 1, one);
    GetTextExtentPoint32W(b.Canvas()->Handle(), greek, -1, all);
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(all.cx, one.cx);
    EXPECT_EQ(b.Canvas()->TextWidthW(greek), all.cx);
    TRect calc = Rect(0, 0, 0, 0);
    DrawTextW(b.Canvas()->Handle(), greek, -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, all.cx);
}
