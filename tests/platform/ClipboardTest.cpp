#include <gtest/gtest.h>

#include "platform/system/Clipboard.h"
#include "platform/graphics/Graphics.h"

using namespace platform;

TEST(Clipboard, TextRoundTripsInWindows1252)
{
    Clipboard()->SetAsText("Draft \x80 5 m\xB2");  // euro sign and superscript two
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "Draft \x80 5 m\xB2");
}

TEST(Clipboard, RegisteredFormatsGoTogetherWithText)
{
    const UINT cells = RegisterClipboardFormat("TExStringGrid Cells");
    EXPECT_GE(cells, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("TExStringGrid Cells"), cells);
    EXPECT_NE(RegisterClipboardFormat("Rich Text Format"), cells);
    EXPECT_EQ(GetClipboardFormatName(cells), "TExStringGrid Cells");
    Clipboard()->Open();
    Clipboard()->SetAsText("1\t2");
    Clipboard()->SetFormatData(cells, std::string("\x01\x00\x02", 3));
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->AsText(), "1\t2");
    EXPECT_EQ(Clipboard()->GetFormatData(cells), std::string("\x01\x00\x02", 3));
    // A set outside Open/Close replaces everything.
    Clipboard()->SetAsText("only text");
    EXPECT_FALSE(Clipboard()->HasFormat(cells));
    EXPECT_EQ(Clipboard()->GetFormatData(cells), "");
}

TEST(Clipboard, BitmapRoundTrips)
{
    TBitmap b(3, 2);
    b.Canvas()->SetPixel(2, 1, clRed);
    Clipboard()->Assign(b);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    TBitmap back;
    ASSERT_TRUE(Clipboard()->GetBitmap(back));
    EXPECT_EQ(back.Width(), 3);
    EXPECT_EQ(back.Canvas()->Pixel(2, 1), clRed);
    EXPECT_EQ(back.Canvas()->Pixel(0, 0), clWhite);
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->GetBitmap(back));
}
