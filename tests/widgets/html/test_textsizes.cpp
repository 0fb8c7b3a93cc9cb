// Sizes of text pieces kept between engine calls: always what the host measures now.
#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "widgets/html/TextSizeCache.h"

using namespace platform;

namespace {

TSize HostDrawn(TCanvas& c, const std::string& text, UINT flags)
{
    TRect r{0, 0, 0, 0};
    DrawTextEx(c.Handle(), text, -1, &r, flags | DT_CALCRECT);
    return {r.Right, r.Bottom};
}

}  // namespace

TEST(TextSizes, KeptSizesFollowFontSpacingAndFlags)
{
    TBitmap bmp(50, 50);
    TCanvas& c = *bmp.Canvas();
    struct Font {
        const char* name;
        int size;
        TFontStyles style;
    };
    const Font fonts[] = {{"Arial", 8, 0}, {"Arial", 8, fsBold}, {"Arial", 20, 0},
                          {"Courier New", 8, 0}, {"Arial", 8, fsItalic | fsUnderline}};
    const char* texts[] = {"KM", "12.345", "a&&b &x", "tab\there", " ", ""};
    // Twice round, so that the second round is answered from what the first kept.
    for (int round = 0; round < 2; ++round)
        for (const Font& f : fonts)
            for (const char* t : texts)
                for (UINT flags : {0xA68u, 0x268u, 0x068u}) {
                    SCOPED_TRACE(std::string(f.name) + " " + std::to_string(f.size) + " '" + t + "' " +
                                 std::to_string(flags));
                    c.Font().SetName(f.name);
                    c.Font().SetSize(f.size);
                    c.Font().SetStyle(f.style);
                    const TSize kept = html::DrawnTextSize(c, t, flags);
                    const TSize host = HostDrawn(c, t, flags);
                    EXPECT_EQ(kept.cx, host.cx);
                    EXPECT_EQ(kept.cy, host.cy);
                    // The ellipsis flag does not change the size of the uncut text.
                    EXPECT_EQ(html::DrawnTextSize(c, t, flags | DT_END_ELLIPSIS).cx, host.cx);
                    const TSize extent = html::TextExtentOf(c, t);
                    EXPECT_EQ(extent.cx, c.TextExtent(t).cx);
                    EXPECT_EQ(extent.cy, c.TextExtent(t).cy);
                }
    // Wider character spacing on the DC gives wider text.
    c.Font().SetName("Arial");
    c.Font().SetSize(8);
    c.Font().SetStyle(0);
    const int narrow = html::DrawnTextSize(c, "spacing", 0xA68).cx;
    SetTextCharacterExtra(c.Handle(), 3);
    EXPECT_EQ(html::DrawnTextSize(c, "spacing", 0xA68).cx, HostDrawn(c, "spacing", 0xA68).cx);
    EXPECT_GT(html::DrawnTextSize(c, "spacing", 0xA68).cx, narrow);
    SetTextCharacterExtra(c.Handle(), 0);
    html::ClearTextSizes();
    EXPECT_EQ(html::DrawnTextSize(c, "spacing", 0xA68).cx, narrow);
}
