#include <gtest/gtest.h>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageDecoder.h"
#include "widgets/html/TestImages.h"

using namespace platform;
using testimages::GifFrame;

namespace {

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::string ThreeFrameGif()
{
    return testimages::MakeGif(4, 3,
                               {GifFrame{0, 0, 4, 3, 20, 1}, GifFrame{1, 1, 2, 2, 30, 2}, GifFrame{0, 0, 4, 3, 40, 3}});
}

}  // namespace

TEST(ImageDecoder, DecodesStillPictures)
{
    auto img = ImageDecoder::Decode(testimages::MakeBmp(5, 2, kBlue));
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->Width(), 5);
    EXPECT_EQ(img->Height(), 2);
    EXPECT_EQ(img->HimetricWidth(), 132);  // 5 * 2540 / 96 = 132.29
    EXPECT_EQ(img->HimetricHeight(), 53);  // 52.9
    EXPECT_EQ(img->PixelAt(4, 1), kBlue);
    EXPECT_EQ(img->PixelAt(5, 0), CLR_INVALID);

    ImageDecoder d(testimages::MakeBmp(5, 2, kBlue));
    EXPECT_TRUE(d.CanRead());
    EXPECT_EQ(d.Format(), "bmp");
    EXPECT_EQ(d.FrameCount(), 1);
    EXPECT_EQ(d.FrameDelay(), 0);
    EXPECT_FALSE(d.NextFrame());
}

TEST(ImageDecoder, RefusesUnknownOrDamagedData)
{
    for (const std::string& bytes : {std::string(), std::string("not a picture"), std::string("GIF89a\x01"),
                                     testimages::MakeBmp(3, 3, 0).substr(0, 20)}) {
        EXPECT_EQ(ImageDecoder::Decode(bytes), nullptr);
        ImageDecoder d(bytes);
        EXPECT_FALSE(d.CanRead());
        EXPECT_EQ(d.FrameCount(), 0);
        EXPECT_EQ(d.ReadFrame(), nullptr);
    }
}

TEST(ImageDecoder, StepsThroughGifFrames)
{
    ImageDecoder d(ThreeFrameGif());
    ASSERT_TRUE(d.CanRead());
    EXPECT_EQ(d.Format(), "gif");
    ASSERT_EQ(d.FrameCount(), 3);

    struct Expect {
        int delay;
        COLORREF at00, at11;
    };
    // Frame 2 covers only (1,1)-(2,2) and leaves frame 1 around it.
    const Expect frames[] = {{200, kRed, kRed}, {300, kRed, kGreen}, {400, kBlue, kBlue}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.CurrentFrame(), i);
        EXPECT_EQ(d.FrameDelay(), frames[i].delay) << i;
        auto img = d.ReadFrame();
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->Width(), 4);
        EXPECT_EQ(img->Height(), 3);
        EXPECT_EQ(img->PixelAt(0, 0), frames[i].at00) << i;
        EXPECT_EQ(img->PixelAt(1, 1), frames[i].at11) << i;
        EXPECT_EQ(d.NextFrame(), i < 2);
    }
    EXPECT_TRUE(d.JumpToFrame(0));
    EXPECT_EQ(d.ReadFrame()->PixelAt(2, 2), kRed);
    EXPECT_FALSE(d.JumpToFrame(3));
    EXPECT_FALSE(d.JumpToFrame(-1));
}

TEST(ImageDecoder, DrawsScaledIntoADeviceContext)
{
    auto img = ImageDecoder::Decode(testimages::MakeBmp(2, 2, kGreen));
    ASSERT_NE(img, nullptr);
    TBitmap bmp(20, 20);
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 20));
    img->Draw(bmp.Canvas()->Handle(), Rect(5, 5, 15, 15));
    EXPECT_EQ(bmp.Canvas()->Pixel(5, 5), TColor(kGreen));
    EXPECT_EQ(bmp.Canvas()->Pixel(14, 14), TColor(kGreen));
    EXPECT_EQ(bmp.Canvas()->Pixel(15, 15), clWhite);
    EXPECT_EQ(bmp.Canvas()->Pixel(4, 4), clWhite);
    img->Draw(nullptr, Rect(0, 0, 5, 5));  // no device context: nothing happens
}
