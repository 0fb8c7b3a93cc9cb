// The printer: a job drawn page by page into a PDF file, read back by pdftotext.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/Exception.h"
#include "platform/TestRig.h"
#include "platform/graphics/ColorNames.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/system/Printer.h"
#include "support/TestSupport.h"

using namespace platform;

TEST(Printer, PdfTargetGetsEveryPageWithItsTextAndDrawing)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    EnsurePlatform();
    testsupport::TempDir dir("printer");
    TPrinter p;
    ASSERT_EQ(p.Printers().at(0), "PDF");
    p.SetPrinterIndex(0);
    p.FileName = dir.file("job.pdf");
    p.Title = "Lines plan";
    EXPECT_FALSE(p.Printing());
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    EXPECT_EQ(p.PageNumber(), 1);
    EXPECT_GT(p.PageHeight(), p.PageWidth());
    TCanvas* c = p.Canvas();
    c->Font().SetName("Courier New");
    c->Font().SetSize(12);
    c->TextOut(100, 100, "first page text");
    c->Pen().SetColor(clRed);
    c->MoveTo(100, 200);
    c->LineTo(500, 200);
    c->Brush().SetColor(clBlue);
    c->FillRect(Rect(100, 300, 300, 400));
    c->Pen().SetColor(clBlack);
    c->Brush().SetColor(clLime);
    c->Pie(400, 300, 500, 400, 500, 350, 450, 300);  // the top right quarter
    c->Brush().SetColor(clYellow);
    c->Chord(100, 500, 200, 600, 200, 550, 100, 550);  // the top half
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    p.Canvas()->TextOut(100, 100, "second page text");
    p.EndDoc();
    EXPECT_FALSE(p.Printing());
    int rc = 0;
    const std::string text = testsupport::RunCapture("pdftotext " + p.FileName + " -", &rc);
    ASSERT_EQ(rc, 0);
    const std::size_t ff = text.find('\f');
    ASSERT_NE(ff, std::string::npos);
    EXPECT_NE(text.substr(0, ff).find("first page text"), std::string::npos);
    EXPECT_NE(text.substr(ff).find("second page text"), std::string::npos);
    EXPECT_EQ(text.substr(0, ff).find("second"), std::string::npos);
    REQUIRE_TOOL("pdfinfo", "poppler-utils");
    const std::string info = testsupport::RunCapture("pdfinfo " + p.FileName, &rc);
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("Lines plan"), std::string::npos) << info;
    // The drawing is there: the filled rectangle's blue shows on the rendered page.
    REQUIRE_TOOL("pdftoppm", "poppler-utils");
    testsupport::RunCapture("pdftoppm -png -r 96 -f 1 -l 1 " + p.FileName + " " + dir.file("page"), &rc);
    ASSERT_EQ(rc, 0);
    std::ifstream in(dir.file("page-1.png"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto page = ImageDecoder::Decode(bytes);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->PixelAt(200, 350), COLORREF(clBlue));
    EXPECT_EQ(page->PixelAt(300, 200) & 0xFFFFFF, COLORREF(clRed));  // the red line
    EXPECT_EQ(page->PixelAt(600, 600) & 0xFFFFFF, COLORREF(clWhite));
    EXPECT_EQ(page->PixelAt(470, 330) & 0xFFFFFF, COLORREF(clLime));
    EXPECT_EQ(page->PixelAt(430, 370) & 0xFFFFFF, COLORREF(clWhite));
    EXPECT_EQ(page->PixelAt(150, 520) & 0xFFFFFF, COLORREF(clYellow));
    EXPECT_EQ(page->PixelAt(150, 580) & 0xFFFFFF, COLORREF(clWhite));
}

TEST(Printer, AbortRemovesTheFileAndStateErrorsAreReported)
{
    EnsurePlatform();
    testsupport::TempDir dir("printer");
    TPrinter p;
    p.SetPrinterIndex(0);
    p.FileName = dir.file("gone.pdf");
    EXPECT_THROW(p.Canvas(), base::Exception);
    EXPECT_THROW(p.EndDoc(), base::Exception);
    EXPECT_THROW(p.SetPrinterIndex(int(p.Printers().size())), base::Exception);
    p.BeginDoc();
    EXPECT_THROW(p.BeginDoc(), base::Exception);
    EXPECT_THROW(p.SetOrientation(poLandscape), base::Exception);
    p.Canvas()->TextOut(10, 10, "x");
    p.Abort();
    EXPECT_TRUE(p.Aborted());
    EXPECT_FALSE(std::filesystem::exists(p.FileName));
    const int w = p.PageWidth(), h = p.PageHeight();
    p.SetOrientation(poLandscape);
    EXPECT_EQ(p.PageWidth(), h);
    EXPECT_EQ(p.PageHeight(), w);
}

TEST(Printer, PdfTargetIsWholeOrUntouched)
{
    EnsurePlatform();
    testsupport::TempDir dir("printer");
    TPrinter p;
    p.SetPrinterIndex(0);
    p.FileName = dir.file("plan.pdf");
    {
        std::ofstream old(p.FileName, std::ios::binary);
        old << "earlier print";
    }
    auto files = [&] {
        int n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++n;
        return n;
    };
    // while the job runs the earlier file stays; an aborted job leaves it as it was
    p.BeginDoc();
    p.Canvas()->TextOut(10, 10, "half a job");
    std::ifstream during(p.FileName, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(during), {}), "earlier print");
    p.Abort();
    std::ifstream after(p.FileName, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(after), {}), "earlier print");
    EXPECT_EQ(files(), 1);
    // a finished job replaces it whole
    p.BeginDoc();
    p.Canvas()->TextOut(10, 10, "whole job");
    p.EndDoc();
    std::ifstream done(p.FileName, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(done), {}).substr(0, 5), "%PDF-");
    EXPECT_EQ(files(), 1);
    // a folder that does not exist cannot take the job
    p.FileName = dir.file("missing/plan.pdf");
    EXPECT_THROW(p.BeginDoc(), base::Exception);
    EXPECT_FALSE(p.Printing());
}

TEST(ColorNames, NamesAndNumbersRoundTrip)
{
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(clInfoBk), "clInfoBk");
    EXPECT_EQ(ColorToString(clNone), "$1FFFFFFF");
    EXPECT_EQ(ColorToString(TColor(0x123456)), "$00123456");
    for (TColor c : {clBlack, clWindow, cl3DDkShadow, clNone, TColor(0xABCDEF), clBtnFace})
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
    EXPECT_EQ(StringToColor("clwhite"), clWhite);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("reddish"), base::EConvertError);
    EXPECT_THROW(StringToColor(""), base::EConvertError);
}
