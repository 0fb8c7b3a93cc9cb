// Icon and image-list cells: attaching them, their sizes, how they draw, and the grid's
// image list reaching HTML cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/ImageList.h"
#include "platform/TestRig.h"
#include "widgets/grid/CellGraphic.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"
#include "GridWindow.h"
#include "support/FilledBitmap.h"

using namespace platform;
using namespace grid;

namespace {

constexpr COLORREF kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) { return testsupport::FilledBitmap(w, h, c); }

// Pixels of colour rgb inside r.
int Count(TBitmap& shot, const TRect& r, COLORREF rgb)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += ColorToRGB(shot.Canvas()->Pixel(x, y)) == rgb;
    return n;
}

// The smallest rectangle holding the pixels of colour rgb inside r; empty when none.
TRect BoxOf(TBitmap& shot, const TRect& r, COLORREF rgb)
{
    TRect b{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (ColorToRGB(shot.Canvas()->Pixel(x, y)) == rgb)
                b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1)};
    return b;
}

struct ImagesTest : ::testing::Test, gridtest::GridWindow {
    std::unique_ptr<TImageList> images;
    void SetUp() override
    {
        Open(500, 300, 4, 6);
        g->SetFixedRows(1);
        g->SetFixedCols(0);
        for (int c = 0; c < 4; ++c) g->SetColWidths(c, 80);
        for (int r = 0; r < 6; ++r) g->SetRowHeights(r, 30);
        images = std::make_unique<TImageList>(8, 8);
        images->Add(Filled(8, 8, clRed).get());    // 0
        images->Add(Filled(8, 8, clBlue).get());   // 1
        images->Add(Filled(8, 8, clLime).get());   // 2
    }
    void TearDown() override { Close(); }
    // A cell's rectangle in a shot of the whole window, its frame included.
    TRect InShot(TBitmap& shot, int c, int r)
    {
        const int f = (shot.Width() - g->ClientWidth()) / 2;
        TRect rc = g->CellRect(c, r);
        return {rc.Left + f, rc.Top + f, rc.Right + f, rc.Bottom + f};
    }
};

}  // namespace

TEST_F(ImagesTest, ImageCellsNeedTheGridsImageList)
{
    g->AddImageIdx(1, 1, 0, haLeft, vaTop);
    g->AddDataImage(1, 2, 0, haLeft, vaTop);
    g->AddMultiImage(1, 3, 0, haLeft, vaTop);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(g->GetCellType(1, r), ctEmpty) << r;
    int index = -1;
    EXPECT_FALSE(g->GetImageIdx(1, 1, index));

    g->SetImages(images.get());
    EXPECT_EQ(g->GridImages(), images.get());
    g->AddImageIdx(1, 1, 2, haLeft, vaTop);
    EXPECT_EQ(g->GetCellType(1, 1), ctImageList);
    EXPECT_TRUE(g->GetImageIdx(1, 1, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(g->GetCellImageIdx(1, 1), 2);  // the sort key of ssImages
    g->AddDataImage(1, 2, 1, haLeft, vaTop);
    EXPECT_TRUE(g->HasDataImage(1, 2));
    EXPECT_FALSE(g->HasDataImage(1, 1));
    g->AddMultiImage(1, 3, 0, haLeft, vaTop);
    ASSERT_NE(g->GetCellImages(1, 3), nullptr);
    EXPECT_EQ(g->GetCellImages(1, 1), nullptr);

    // removals take only their own kind
    EXPECT_FALSE(g->RemoveDataImage(1, 1));
    EXPECT_TRUE(g->RemoveImageIdx(1, 1));
    EXPECT_TRUE(g->RemoveDataImage(1, 2));
    EXPECT_FALSE(g->RemoveMultiImage(1, 2));
    EXPECT_TRUE(g->RemoveMultiImage(1, 3));
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(g->GetCellType(1, r), ctEmpty) << r;

    // an image list that is freed is forgotten, and its cells draw nothing
    auto gone = std::make_unique<TImageList>(8, 8);
    g->SetImages(gone.get());
    g->AddImageIdx(1, 1, 0, haLeft, vaTop);
    gone.reset();
    EXPECT_EQ(g->GridImages(), nullptr);
    EXPECT_FALSE(g->GetImageIdx(1, 1, index));
    EXPECT_EQ(g->GetCellGraphicSize(1, 1).cx, 0);
    PaintToBitmap(g);
}

TEST_F(ImagesTest, SizesFollowTheTextAndTheDirection)
{
    g->SetImages(images.get());
    struct Case {
        const char* what;
        std::function<void()> add;
        std::string text;
        TSize size;
    };
    const Case cases[] = {
        {"image, empty cell", [&] { g->AddImageIdx(1, 1, 0, haLeft, vaTop); }, "", {8, 8}},
        {"image over text", [&] { g->AddImageIdx(1, 1, 0, haLeft, vaTop); }, "abc", {0, 8}},
        {"image beside text", [&] { g->AddImageIdx(1, 1, 0, haBeforeText, vaTop); }, "abc", {8, 8}},
        {"data image", [&] { g->AddDataImage(1, 1, 0, haLeft, vaTop); }, "", {8, 8}},
        {"three across",
         [&] {
             g->AddMultiImage(1, 1, 0, haLeft, vaTop);
             for (int i : {0, 1, 2}) g->GetCellImages(1, 1)->Add(i);
         },
         "", {24, 8}},
        {"three down",
         [&] {
             g->AddMultiImage(1, 1, 1, haLeft, vaTop);
             for (int i : {0, 1, 2}) g->GetCellImages(1, 1)->Add(i);
         },
         "", {8, 24}},
    };
    for (const Case& k : cases) {
        g->SetCellEx(1, 1, k.text);
        k.add();
        const TSize s = g->GetCellGraphicSize(1, 1);
        EXPECT_EQ(s.cx, k.size.cx) << k.what;
        EXPECT_EQ(s.cy, k.size.cy) << k.what;
    }
}

TEST_F(ImagesTest, ImageCellsDrawTheirImages)
{
    g->SetImages(images.get());
    g->AddImageIdx(0, 1, 1, haLeft, vaTop);  // blue
    g->SetCellEx(1, 1, "1");
    g->AddDataImage(1, 1, 1, haLeft, vaTop);  // 1 + 1: green
    g->SetCellEx(1, 2, "7");
    g->AddDataImage(1, 2, 1, haLeft, vaTop);  // beyond the list: nothing
    g->AddMultiImage(2, 1, 0, haLeft, vaTop);
    g->GetCellImages(2, 1)->Add(0);
    g->GetCellImages(2, 1)->Add(1);
    g->AddMultiImage(3, 1, 1, haLeft, vaTop);
    g->GetCellImages(3, 1)->Add(2);
    g->GetCellImages(3, 1)->Add(0);
    g->GetCellImages(3, 1)->Add(99);  // skipped, its room kept
    g->SetRowHeights(1, 40);
    auto shot = PaintToBitmap(g);

    const TRect a = InShot(*shot, 0, 1);
    EXPECT_EQ(Count(*shot, a, kBlue), 64);
    const TRect blue = BoxOf(*shot, a, kBlue);
    EXPECT_EQ(blue.Left - a.Left, 2);  // top left, one pixel inside the content
    EXPECT_EQ(blue.Top - a.Top, 2);
    const TRect b = InShot(*shot, 1, 1);
    EXPECT_EQ(Count(*shot, b, kGreen), 64);
    EXPECT_EQ(Count(*shot, b, kRed) + Count(*shot, b, kBlue), 0);
    const TRect c = InShot(*shot, 1, 2);
    EXPECT_EQ(Count(*shot, c, kRed) + Count(*shot, c, kBlue) + Count(*shot, c, kGreen), 0);
    // side by side: red, then blue to its right
    const TRect d = InShot(*shot, 2, 1);
    const TRect dr = BoxOf(*shot, d, kRed), db = BoxOf(*shot, d, kBlue);
    EXPECT_EQ(dr.Width(), 8);
    EXPECT_EQ(db.Left, dr.Left + 8);
    EXPECT_EQ(db.Top, dr.Top);
    // one above the other: green, then red below it; the 99 keeps its room
    const TRect e = InShot(*shot, 3, 1);
    const TRect eg = BoxOf(*shot, e, kGreen), er = BoxOf(*shot, e, kRed);
    EXPECT_EQ(er.Top, eg.Top + 8);
    EXPECT_EQ(er.Left, eg.Left);
    EXPECT_EQ(Count(*shot, e, kRed), 64);

    // a change of the list shows at the next paint
    g->GetCellImages(2, 1)->SetItems(0, 2);
    shot = PaintToBitmap(g);
    EXPECT_EQ(Count(*shot, d, kRed), 0);
    EXPECT_EQ(Count(*shot, d, kGreen), 64);
}

TEST_F(ImagesTest, IconsTheCallerKeepsAndIconsTheCellOwns)
{
    // a 10 x 10 red icon whose outer ring is masked out
    auto color = Filled(10, 10, clRed);
    auto mask = Filled(10, 10, clWhite);
    mask->Canvas()->Brush().SetColor(clBlack);
    mask->Canvas()->FillRect({1, 1, 9, 9});
    TIcon mine;
    mine.SetHandle(CreateIconFromBitmaps(color.get(), mask.get()));
    ASSERT_FALSE(mine.GetEmpty());

    g->AddIcon(1, 1, &mine, haRight, vaTop);
    EXPECT_EQ(g->GetCellType(1, 1), ctIcon);
    EXPECT_EQ(g->GetIcon(1, 1), &mine);
    EXPECT_EQ(g->GetCellGraphicSize(1, 1).cx, 10);
    g->SetCellEx(1, 1, "x");
    EXPECT_EQ(g->GetCellGraphicSize(1, 1).cx, 0);
    EXPECT_EQ(g->GetCellGraphicSize(1, 1).cy, 10);
    g->SetCellEx(1, 1, "");
    EXPECT_NE(g->GetCellImageIdx(1, 1), -1);

    auto shot = PaintToBitmap(g);
    const TRect r = InShot(*shot, 1, 1);
    EXPECT_EQ(Count(*shot, r, kRed), 64);  // only the unmasked 8 x 8
    // right-aligned: the icon's unmasked square ends where the blue one starts on the left,
    // one pixel inside the content and the masked ring
    const TRect red = BoxOf(*shot, r, kRed);
    EXPECT_EQ(red.Width(), 8);
    EXPECT_EQ(r.Right - red.Right, 3);

    // replacing or removing the cell's graphic leaves the caller's icon alone
    TIcon* own = g->CreateIcon(1, 1, haLeft, vaTop);
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(mine.GetEmpty());
    own->SetHandle(CopyIcon(mine.Handle()));
    EXPECT_EQ(g->GetIcon(1, 1), own);
    EXPECT_FALSE(g->RemoveImageIdx(1, 1));
    EXPECT_TRUE(g->RemoveIcon(1, 1));  // frees the owned icon (checked under ASan)
    EXPECT_EQ(g->GetIcon(1, 1), nullptr);
}

TEST_F(ImagesTest, HTMLCellsDrawTheGridsImages)
{
    g->EnableHTML = true;
    g->SetCells(1, 1, "<IMG src=\"idx:1\">");
    auto shot = PaintToBitmap(g);
    EXPECT_EQ(Count(*shot, g->CellRect(1, 1), kBlue), 0);
    g->SetImages(images.get());
    shot = PaintToBitmap(g);
    EXPECT_EQ(Count(*shot, g->CellRect(1, 1), kBlue), 64);
}
