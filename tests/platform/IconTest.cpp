#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/Resources.h"

using namespace platform;

namespace {

void Put16(std::string& s, unsigned v) { s.push_back(char(v & 255)); s.push_back(char((v >> 8) & 255)); }
void Put32(std::string& s, std::uint32_t v) { Put16(s, v & 0xFFFF); Put16(s, v >> 16); }

// A DIB as an .ico holds it, built from the file format's rules: header with twice the
// height, palette, colour rows bottom-up padded to 32 bits, then the 1-bit AND mask.
// pixel(x, y) gives a palette index (bits <= 8) or 0xAARRGGBB; masked(x, y) the AND bit.
template <class Pixel, class Masked>
std::string Dib(int w, int h, int bits, const std::vector<std::uint32_t>& palette, Pixel pixel, Masked masked)
{
    std::string s;
    Put32(s, 40);
    Put32(s, std::uint32_t(w));
    Put32(s, std::uint32_t(2 * h));
    Put16(s, 1);
    Put16(s, unsigned(bits));
    for (int i = 0; i < 6; ++i) Put32(s, 0);
    for (std::uint32_t c : palette) Put32(s, c);
    const int stride = (w * bits + 31) / 32 * 4, maskStride = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (bits == 1) row[std::size_t(x / 8)] |= char((v & 1) << (7 - x % 8));
            else if (bits == 4) row[std::size_t(x / 2)] |= char((v & 15) << (x % 2 ? 0 : 4));
            else if (bits == 32) for (int b = 0; b < 4; ++b) row[std::size_t(4 * x + b)] = char((v >> (8 * b)) & 255);
        }
        s += row;
    }
    for (int y = h - 1; y >= 0; --y) {
        std::string row(std::size_t(maskStride), '\0');
        for (int x = 0; x < w; ++x)
            if (masked(x, y)) row[std::size_t(x / 8)] |= char(0x80 >> (x % 8));
        s += row;
    }
    return s;
}

std::string Ico(const std::vector<std::pair<std::string, std::array<int, 3>>>& images)
{
    std::string s;
    Put16(s, 0);
    Put16(s, 1);
    Put16(s, unsigned(images.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (auto& [dib, size] : images) {
        s.push_back(char(size[0]));
        s.push_back(char(size[1]));
        s.push_back(0);
        s.push_back(0);
        Put16(s, 1);
        Put16(s, unsigned(size[2]));
        Put32(s, std::uint32_t(dib.size()));
        Put32(s, offset);
        offset += std::uint32_t(dib.size());
    }
    for (auto& [dib, size] : images) s += dib;
    return s;
}

// 16 x 16, 4 bits: red, the left half masked out; 32 x 32, 32 bits: blue at half alpha
// on the top half, clear below.
std::string TwoSizeIcon()
{
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0, 0, 0, 0,
                                                0, 0, 0, 0, 0, 0, 0, 0};
    const std::string small = Dib(16, 16, 4, palette, [](int x, int) { return x < 8 ? 0u : 1u; },
                                  [](int x, int) { return x < 8; });
    const std::string large = Dib(32, 32, 32, {}, [](int, int y) { return y < 16 ? 0x800000FFu : 0u; },
                                  [](int, int y) { return y >= 16; });
    return Ico({{small, {16, 16, 4}}, {large, {32, 32, 32}}});
}

std::unique_ptr<TIcon> FromBytes(const std::string& bytes)
{
    auto icon = std::make_unique<TIcon>();
    std::istringstream in(bytes);
    icon->LoadFromStream(in);
    return icon;
}

std::unique_ptr<TBitmap> Green(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush().SetColor(TColor(0x00FF00));
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

}  // namespace

TEST(Icon, ReadsEveryImageAndDrawsTheNearestThroughItsMask)
{
    TIcon icon;
    std::istringstream in(TwoSizeIcon());
    icon.LoadFromStream(in);
    EXPECT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_TRUE(icon.Transparent());

    auto bp = Green(40, 40);
    TBitmap& b = *bp;
    b.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(b.Canvas()->Pixel(3, 3), TColor(0x00FF00));   // masked: the target shows
    EXPECT_EQ(b.Canvas()->Pixel(12, 3), TColor(0x0000FF));  // palette entry 1 (red)
    EXPECT_EQ(b.Canvas()->Pixel(20, 3), TColor(0x00FF00));  // outside the icon

    // At 32 x 32 the deep image is chosen and blended by its alpha.
    auto cp = Green(40, 40);
    TBitmap& c = *cp;
    icon.SetSize(32, 32);
    EXPECT_EQ(icon.Width(), 32);
    c.Canvas()->Draw(0, 0, &icon);
    const COLORREF top = ColorToRGB(c.Canvas()->Pixel(20, 5));
    EXPECT_NEAR(GetBValue(top), 128, 2);
    EXPECT_NEAR(GetGValue(top), 127, 2);
    EXPECT_EQ(c.Canvas()->Pixel(20, 25), TColor(0x00FF00));
}

TEST(Icon, MaskedPixelsThatAreNotBlackInvertTheTarget)
{
    const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF};
    // Column 0 black and masked (transparent), column 1 white and masked (inverts),
    // column 2 white and not masked (opaque white).
    const std::string dib = Dib(8, 8, 1, palette, [](int x, int) { return x >= 1 ? 1u : 0u; },
                                [](int x, int) { return x <= 1; });
    auto iconp = FromBytes(Ico({{dib, {8, 8, 1}}}));
    TIcon& icon = *iconp;
    TBitmap b(8, 8);
    b.Canvas()->Brush().SetColor(TColor(0x203040));
    b.Canvas()->FillRect(Rect(0, 0, 8, 8));
    DrawIconEx(b.Canvas()->Handle(), 0, 0, icon.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), TColor(0x203040));
    EXPECT_EQ(b.Canvas()->Pixel(1, 0), TColor(0xDFCFBF));
    EXPECT_EQ(b.Canvas()->Pixel(2, 0), TColor(0xFFFFFF));

    DrawIconEx(b.Canvas()->Handle(), 0, 0, icon.Handle(), 0, 0, 0, nullptr, DI_MASK);
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), TColor(0xFFFFFF));
    EXPECT_EQ(b.Canvas()->Pixel(2, 0), TColor(0x000000));
    DrawIconEx(b.Canvas()->Handle(), 0, 0, icon.Handle(), 0, 0, 0, nullptr, DI_IMAGE);
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), TColor(0x000000));
    EXPECT_EQ(b.Canvas()->Pixel(1, 0), TColor(0xFFFFFF));
}

TEST(Icon, DefaultSizeAndStretching)
{
    auto iconp = FromBytes(TwoSizeIcon());
    TIcon& icon = *iconp;
    auto bp = Green(64, 64);
    TBitmap& b = *bp;
    // DI_DEFAULTSIZE takes the system's icon size: the 32-pixel image.
    ASSERT_TRUE(DrawIcon(b.Canvas()->Handle(), 0, 0, icon.Handle()));
    EXPECT_NE(b.Canvas()->Pixel(31, 0), TColor(0x00FF00));
    EXPECT_EQ(b.Canvas()->Pixel(32, 0), TColor(0x00FF00));
    // 64 x 64 from the 32-pixel image, scaled.
    auto cp = Green(64, 64);
    TBitmap& c = *cp;
    c.Canvas()->StretchDraw(Rect(0, 0, 64, 64), &icon);
    EXPECT_NE(c.Canvas()->Pixel(60, 20), TColor(0x00FF00));
    EXPECT_EQ(c.Canvas()->Pixel(60, 50), TColor(0x00FF00));
    EXPECT_FALSE(DrawIcon(b.Canvas()->Handle(), 0, 0, 0));
}

TEST(Icon, BadDataIsRefusedWithoutChangingTheIcon)
{
    const std::string good = TwoSizeIcon();
    std::string pastEnd = good;
    pastEnd[6 + 12] = char(0xF0);  // first image's offset beyond the data
    std::string badBits = good;
    badBits[6 + 32 + 14] = 7;  // the DIB's bit count
    const std::vector<std::string> bad = {"", "not an icon", good.substr(0, 40), pastEnd, badBits,
                                          std::string("\0\0\2\0\1\0", 6) + good.substr(6)};
    auto iconp = FromBytes(good);
    TIcon& icon = *iconp;
    for (const std::string& bytes : bad) {
        std::istringstream in(bytes);
        EXPECT_THROW(icon.LoadFromStream(in), EInvalidGraphic) << bytes.size();
        EXPECT_EQ(CreateIconFromData(bytes), 0u);
    }
    EXPECT_EQ(icon.ImageCount(), 2);
}

TEST(Icon, SavesWhatItReadAndCopiesAreIndependent)
{
    const std::string bytes = TwoSizeIcon();
    auto iconp = FromBytes(bytes);
    TIcon& icon = *iconp;
    std::ostringstream out;
    icon.SaveToStream(out);
    EXPECT_TRUE(out.str() == bytes);  // byte for byte

    TIcon copy;
    copy.Assign(icon);
    EXPECT_NE(copy.Handle(), icon.Handle());
    icon.SetHandle(0);
    EXPECT_TRUE(icon.Empty());
    EXPECT_EQ(copy.ImageCount(), 2);
    const HICON h = copy.ReleaseHandle();
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(DestroyIcon(h));
    EXPECT_FALSE(DestroyIcon(h));
}

TEST(Icon, FromResourcesAsAResourceCompilerStoresThem)
{
    const HINSTANCE self = HInstance();
    ASSERT_TRUE(RegisterIconResource(self, "MAINICON", TwoSizeIcon(), 100));
    std::string group;
    ASSERT_TRUE(FindResourceData(self, RT_GROUP_ICON, "mainicon", group));
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ((unsigned char)group[6 + 12], 100);       // first image's resource number
    EXPECT_EQ((unsigned char)group[6 + 14 + 12], 101);
    std::string image;
    EXPECT_TRUE(FindResourceData(self, RT_ICON, 101, image));

    TIcon icon;
    icon.LoadFromResourceName(self, "MainIcon");
    EXPECT_EQ(icon.ImageCount(), 2);
    EXPECT_THROW(icon.LoadFromResourceName(self, "nothing"), EResNotFound);
    EXPECT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(LoadIcon(self, 5555), 0u);

    // A group naming an image that is missing loads nothing.
    UnregisterResource(self, RT_ICON, 101);
    EXPECT_EQ(LoadIcon(self, "MAINICON"), 0u);
    EXPECT_FALSE(RegisterIconResource(self, "BAD", "junk", 200));
}

TEST(Icon, FromBitmapsAndThroughPicturesAndFiles)
{
    TBitmap color(4, 4), mask(4, 4);
    color.Canvas()->Brush().SetColor(clBlue);
    color.Canvas()->FillRect(Rect(0, 0, 4, 4));
    mask.Canvas()->Brush().SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 4, 4));
    mask.Canvas()->Brush().SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 2, 4));
    TIcon icon;
    icon.SetHandle(CreateIconFromBitmaps(&color, &mask));
    auto bp = Green(4, 4);
    TBitmap& b = *bp;
    b.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(b.Canvas()->Pixel(0, 0), TColor(0x00FF00));
    EXPECT_EQ(b.Canvas()->Pixel(3, 0), clBlue);

    // Saved as 32 bits with its mask and read back the same.
    const std::string file = ::testing::TempDir() + "korvelo_icon_test.ico";
    icon.SaveToFile(file);
    TPicture picture;
    picture.LoadFromFile(file);
    ASSERT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 4);
    auto cp = Green(4, 4);
    TBitmap& c = *cp;
    c.Canvas()->Draw(0, 0, picture.Graphic());
    EXPECT_EQ(c.Canvas()->Pixel(1, 2), TColor(0x00FF00));
    EXPECT_EQ(c.Canvas()->Pixel(2, 2), clBlue);
    TPicture copy;
    copy.Assign(picture);
    ASSERT_NE(dynamic_cast<TIcon*>(copy.Graphic()), nullptr);
    std::remove(file.c_str());
}

TEST(ImageListIcons, HoldIconsWithTheirTransparencyAndDrawByIndex)
{
    TImageList list(16, 16);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    auto iconp = FromBytes(TwoSizeIcon());
    TIcon& icon = *iconp;
    TBitmap red(16, 16);
    red.Canvas()->Brush().SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    EXPECT_EQ(list.Add(&red), 0);
    EXPECT_EQ(list.AddIcon(&icon), 1);
    TIcon empty;
    EXPECT_EQ(list.AddIcon(&empty), -1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(changes, 2);

    auto bp = Green(32, 16);
    TBitmap& b = *bp;
    list.Draw(b.Canvas(), 0, 0, 1);
    list.Draw(b.Canvas(), 16, 0, 1, false);
    EXPECT_EQ(b.Canvas()->Pixel(2, 2), TColor(0x00FF00));
    EXPECT_EQ(b.Canvas()->Pixel(12, 2), TColor(0x0000FF));
    EXPECT_EQ(b.Canvas()->Pixel(18, 2), TColor(0x00FF00));  // greyed, still transparent
    const COLORREF grey = ColorToRGB(b.Canvas()->Pixel(28, 2));
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));

    // A list of 32: the 32-pixel image with its alpha.
    TImageList large(32, 32);
    large.AddIcon(&icon);
    auto cp = Green(32, 32);
    TBitmap& c = *cp;
    large.Draw(c.Canvas(), 0, 0, 0);
    EXPECT_NEAR(GetBValue(ColorToRGB(c.Canvas()->Pixel(4, 4))), 128, 2);
    EXPECT_EQ(c.Canvas()->Pixel(4, 28), TColor(0x00FF00));

    // Replacing, and back out as an icon.
    EXPECT_EQ(list.ReplaceIcon(0, &icon), 0);
    EXPECT_EQ(list.ReplaceIcon(5, &icon), -1);
    TIcon out;
    ASSERT_TRUE(list.GetIcon(0, &out));
    EXPECT_FALSE(list.GetIcon(7, &out));
    EXPECT_EQ(out.Width(), 16);
    auto dp = Green(16, 16);
    TBitmap& d = *dp;
    d.Canvas()->Draw(0, 0, &out);
    EXPECT_EQ(d.Canvas()->Pixel(2, 2), TColor(0x00FF00));
    EXPECT_EQ(d.Canvas()->Pixel(12, 2), TColor(0x0000FF));
}

TEST(ImageListIcons, ColourKeyedImagesComeOutAsIconsWithThatMask)
{
    TImageList list(8, 8);
    TBitmap pic(8, 8);
    pic.Canvas()->Brush().SetColor(clFuchsia);
    pic.Canvas()->FillRect(Rect(0, 0, 8, 8));
    pic.Canvas()->Brush().SetColor(clNavy);
    pic.Canvas()->FillRect(Rect(4, 0, 8, 8));
    list.AddMasked(&pic, clFuchsia);
    TIcon icon;
    ASSERT_TRUE(list.GetIcon(0, &icon));
    auto bp = Green(8, 8);
    TBitmap& b = *bp;
    b.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(b.Canvas()->Pixel(1, 1), TColor(0x00FF00));
    EXPECT_EQ(b.Canvas()->Pixel(6, 1), clNavy);
}
