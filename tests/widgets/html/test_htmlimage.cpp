#include <gtest/gtest.h>

#include <sstream>

#include "platform/graphics/Graphics.h"
#include "widgets/html/HTMLImage.h"
#include "widgets/html/TestImages.h"

using namespace html;

namespace {

constexpr platform::TColor kRed = 0x0000FF;

// Bounding box of the red pixels and their number.
struct Painted {
    platform::TRect box{1 << 30, 1 << 30, -1, -1};
    int count = 0;
};

Painted PaintImage(THTMLImage& image)
{
    platform::TBitmap bmp(image.Width(), image.Height());
    bmp.Canvas()->Brush().SetColor(platform::clWhite);
    bmp.Canvas()->FillRect(platform::Rect(0, 0, image.Width(), image.Height()));
    image.PaintTo(*bmp.Canvas());
    Painted p;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (bmp.Canvas()->Pixel(x, y) == kRed) {
                ++p.count;
                p.box.Left = std::min(p.box.Left, x);
                p.box.Top = std::min(p.box.Top, y);
                p.box.Right = std::max(p.box.Right, x + 1);
                p.box.Bottom = std::max(p.box.Bottom, y + 1);
            }
    return p;
}

void SetPicture(THTMLImage& image, int w, int h)
{
    THTMLPicture pic;
    std::istringstream s(testimages::MakeBmp(w, h, kRed));
    pic.LoadFromStream(s);
    image.SetHTMLPicture(pic);
}

}  // namespace

TEST(HTMLImage, PlacesThePicture)
{
    struct Case {
        TPicturePosition pos;
        int w, h;
        platform::TRect box;
        int count;
    };
    const Case cases[] = {
        {bpTopLeft, 30, 20, {0, 0, 30, 20}, 600},
        {bpTopRight, 30, 20, {70, 0, 100, 20}, 600},
        {bpBottomLeft, 30, 20, {0, 80, 30, 100}, 600},
        {bpBottomRight, 30, 20, {70, 80, 100, 100}, 600},
        {bpCenter, 30, 20, {35, 40, 65, 60}, 600},
        {bpCenter, 150, 20, {0, 40, 100, 60}, 2000},
        {bpTopRight, 150, 20, {0, 0, 100, 20}, 2000},
        {bpTiled, 30, 20, {0, 0, 100, 100}, 10000},
        {bpStretched, 30, 20, {0, 0, 30, 20}, 600},  // without Stretch: natural size
    };
    for (const Case& c : cases) {
        THTMLImage image(nullptr);
        EXPECT_EQ(image.Width(), 100);
        EXPECT_EQ(image.Height(), 100);
        EXPECT_EQ(image.PicturePosition(), bpTopLeft);
        SetPicture(image, c.w, c.h);
        image.SetPicturePosition(c.pos);
        Painted p = PaintImage(image);
        EXPECT_EQ(p.box, c.box) << int(c.pos) << " " << c.w;
        EXPECT_EQ(p.count, c.count) << int(c.pos) << " " << c.w;
    }

    THTMLImage stretched(nullptr);
    SetPicture(stretched, 30, 20);
    stretched.HTMLPicture()->SetStretch(true);
    stretched.SetPicturePosition(bpStretched);
    EXPECT_EQ(PaintImage(stretched).count, 10000);

    THTMLImage empty(nullptr);
    empty.SetPicturePosition(bpTiled);
    EXPECT_EQ(PaintImage(empty).count, 0);
}

TEST(HTMLImage, ForwardsDownloadEvents)
{
    THTMLImage image(nullptr);
    platform::TObject* sender = nullptr;
    std::string err;
    image.OnDownLoadError = [&](platform::TObject* s, const std::string& e) {
        sender = s;
        err = e;
    };
    image.HTMLPicture()->DownLoadError("failed");
    EXPECT_EQ(sender, &image);
    EXPECT_EQ(err, "failed");
    bool cancel = false;
    image.OnDownLoadCancel = [&](platform::TObject*, bool& c) { c = true; };
    image.HTMLPicture()->DownLoadCancel(cancel);
    EXPECT_TRUE(cancel);
}
