// Printing: grids printed to PDF and read back by pdftotext, the preview drawn into
// bitmaps and compared with the printed pages, and the stored print settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "GridWindow.h"
#include "base/IniFile.h"
#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageDecoder.h"
#include "platform/system/Printer.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExObj.h"

using namespace grid;
using namespace platform;

namespace {

struct PrintGrid : gridtest::GridWindow {
    testsupport::TempDir dir{"gridprint"};
    // cols x rows cells: "Col c" over the columns, "R r" down the left, "c<c>r<r>" inside.
    PrintGrid(int cols, int rows)
    {
        Open(600, 400, cols, rows);
        for (int c = 1; c < cols; ++c) g->SetCells(c, 0, "Col " + std::to_string(c));
        for (int r = 1; r < rows; ++r) {
            g->SetCells(0, r, "R " + std::to_string(r));
            for (int c = 1; c < cols; ++c) g->SetCells(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
        }
        Printer()->SetPrinterIndex(0);
        Printer()->FileName = dir.file("grid.pdf");
    }
    ~PrintGrid() { Close(); }

    // A page of the preview on a white page-sized bitmap, kept as a PNG when asked.
    std::unique_ptr<TBitmap> Preview(int page, const std::string& name)
    {
        const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
        auto b = std::make_unique<TBitmap>(w, h);
        b->Canvas()->Brush().SetColor(clWhite);
        b->Canvas()->FillRect({0, 0, w, h});
        g->SetPreviewPage(page);
        g->PrintPreview(b->Canvas(), {0, 0, w, h});
        if (const char* keep = std::getenv("KORVELO_GRID_PNG")) b->SaveToFile(std::string(keep) + "/" + name + ".png");
        return b;
    }
    // The text of each printed page.
    std::vector<std::string> PdfPages()
    {
        int rc = 0;
        const std::string text = testsupport::RunCapture("pdftotext -layout " + Printer()->FileName + " -", &rc);
        EXPECT_EQ(rc, 0);
        std::vector<std::string> pages;
        std::size_t from = 0;
        for (std::size_t ff; (ff = text.find('\f', from)) != std::string::npos; from = ff + 1)
            pages.push_back(text.substr(from, ff - from));
        return pages;
    }
    // A page of the PDF rendered at 96 pixels per inch.
    std::unique_ptr<TBitmap> PdfPage(int page)
    {
        int rc = 0;
        const std::string p = std::to_string(page);
        testsupport::RunCapture("pdftoppm -png -r 96 -f " + p + " -l " + p + " " + Printer()->FileName + " " +
                                    dir.file("page"),
                                &rc);
        EXPECT_EQ(rc, 0);
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            if (name.rfind("page-", 0) != 0) continue;
            std::ifstream in(e.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::filesystem::remove(e.path());
            auto img = ImageDecoder::Decode(bytes);
            if (!img) return nullptr;
            auto b = std::make_unique<TBitmap>(img->Width(), img->Height());
            img->Draw(b->Canvas()->Handle(), {0, 0, img->Width(), img->Height()});
            return b;
        }
        return nullptr;
    }
};

std::vector<std::string> Tokens(const std::string& s)
{
    std::istringstream in(s);
    std::vector<std::string> t;
    for (std::string w; in >> w;) t.push_back(w);
    return t;
}

// The rows of a bitmap that hold a long run of dark pixels: the printed horizontal lines.
std::vector<int> LineRows(TBitmap& b)
{
    std::vector<int> rows;
    for (int y = 0; y < b.Height(); ++y) {
        int run = 0, best = 0;
        const std::uint32_t* line = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint32_t c = line[x];
            const bool dark = (c & 0xFF) < 128 && ((c >> 8) & 0xFF) < 128 && ((c >> 16) & 0xFF) < 128;
            run = dark ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (best > b.Width() / 8) rows.push_back(y);
    }
    return rows;
}

void SavePng(TBitmap& b, const std::string& name)
{
    if (const char* keep = std::getenv("KORVELO_GRID_PNG")) b.SaveToFile(std::string(keep) + "/" + name + ".png");
}

}  // namespace

TEST(GridPrint, RowsSplitIntoPagesWithRepeatedHeaderTitleAndPageNumbers)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    PrintGrid f(4, 150);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.Title = ppTopCenter;
    ps.TitleText = "Hull offsets";
    ps.PageNr = ppBottomRight;
    ps.PagePrefix = "Page";
    ps.RepeatFixedRows = true;
    ps.JobName = "Offsets";
    std::vector<int> started;
    const int pageW = int(std::lround(254.0 / 96 * Printer()->PageWidth()));
    const int pageH = int(std::lround(254.0 / 96 * Printer()->PageHeight()));
    EXPECT_NEAR(pageW, 2100, 3);  // A4 in 0.1 mm
    EXPECT_NEAR(pageH, 2970, 3);
    f.g->OnPrintPage = [&](TObject*, TCanvas*, int page, int w, int b) {
        started.push_back(page);
        EXPECT_EQ(w, pageW);
        EXPECT_EQ(b, -pageH);
    };
    f.g->Print();
    EXPECT_FALSE(Printer()->Printing());
    const int n = f.g->PrintPageCount();
    ASSERT_GE(n, 3);
    EXPECT_EQ(int(started.size()), n);
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_EQ(int(pages.size()), n);
    int next = 1;
    for (int p = 0; p < n; ++p) {
        SCOPED_TRACE(p + 1);
        const std::string& text = pages[size_t(p)];
        EXPECT_NE(text.find("Hull offsets"), std::string::npos);
        EXPECT_NE(text.find("Page " + std::to_string(p + 1) + "/" + std::to_string(n)), std::string::npos);
        // the header row on every page, above the page's first row
        const size_t header = text.find("Col 1");
        ASSERT_NE(header, std::string::npos);
        EXPECT_EQ(text.find("Col 1", header + 1), std::string::npos);  // row 0 is not repeated on page 1
        EXPECT_NE(text.find("Col 3"), std::string::npos);
        int first = -1;
        for (const std::string& t : Tokens(text)) {
            std::smatch m;
            static const std::regex cell("c1r([0-9]+)");
            if (!std::regex_match(t, m, cell)) continue;
            const int row = std::stoi(m[1]);
            if (first < 0) {
                first = row;
                EXPECT_LT(header, text.find(t));
            }
            EXPECT_EQ(row, next);  // every row once, in order
            next = row + 1;
        }
    }
    EXPECT_EQ(next, 150);
}

TEST(GridPrint, WideGridPrintsColumnBandsWithRepeatedFixedColumns)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    PrintGrid f(30, 20);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.PageNr = ppTopLeft;
    ps.RepeatFixedCols = true;
    ps.RepeatFixedRows = true;
    f.g->Print();
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_GE(pages.size(), 2u);
    ASSERT_EQ(int(pages.size()), f.g->PrintPageCount());
    std::map<int, int> colPage;  // column -> page (from 1) that prints it
    for (size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        // one page per band: page-in-band "-" band
        EXPECT_NE(pages[p].find("1-" + std::to_string(p + 1)), std::string::npos) << pages[p];
        EXPECT_NE(pages[p].find("R 19"), std::string::npos);  // the fixed column on every band
        for (const std::string& t : Tokens(pages[p])) {
            std::smatch m;
            static const std::regex cell("c([0-9]+)r19");
            if (std::regex_match(t, m, cell)) {
                const int col = std::stoi(m[1]);
                EXPECT_EQ(colPage.count(col), 0u) << col;
                colPage[col] = int(p + 1);
            }
        }
    }
    ASSERT_EQ(colPage.size(), 29u);
    int last = 1;
    for (const auto& [col, page] : colPage) {
        EXPECT_GE(page, last) << col;  // bands run left to right
        last = page;
    }
    for (int c = 0; c < 30; ++c) {
        if (f.g->GetPrintColWidth(c) > 0) continue;
        ADD_FAILURE() << "column " << c << " has no print width";
    }
}

TEST(GridPrint, PreviewDrawsTheSamePagesAsThePrinter)
{
    REQUIRE_TOOL("pdftoppm", "poppler-utils");
    PrintGrid f(4, 120);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.PageNr = ppBottomCenter;
    ps.Borders = pbSingle;
    ps.RepeatFixedRows = true;
    f.g->SetColors(2, 5, clRed);
    f.g->Print();
    const int n = f.g->PrintPageCount();
    ASSERT_GE(n, 2);
    const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
    for (int page = 1; page <= n; ++page) {
        SCOPED_TRACE(page);
        TBitmap preview(w, h);
        preview.Canvas()->Brush().SetColor(clWhite);
        preview.Canvas()->FillRect({0, 0, w, h});
        std::vector<int> drawn;
        f.g->OnPrintPage = [&](TObject*, TCanvas*, int p, int, int) { drawn.push_back(p); };
        f.g->SetPreviewPage(page);
        f.g->PrintPreview(preview.Canvas(), {0, 0, w, h});
        EXPECT_EQ(f.g->PrintPageCount(), n);
        EXPECT_EQ(drawn, std::vector<int>{page});
        SavePng(preview, "print-preview-" + std::to_string(page));
        const auto printed = f.PdfPage(page);
        ASSERT_TRUE(printed);
        ASSERT_NEAR(printed->Width(), w, 1);
        // the same horizontal lines at the same heights (within a pixel)
        const std::vector<int> a = LineRows(preview), b = LineRows(*printed);
        ASSERT_GT(a.size(), 20u);
        SavePng(*printed, "print-pdf-" + std::to_string(page));
        auto unmatched = [](const std::vector<int>& from, const std::vector<int>& in) {
            int n = 0;
            for (int y : from) {
                bool near = false;
                for (int z : in) near = near || std::abs(y - z) <= 1;
                n += !near;
            }
            return n;
        };
        EXPECT_EQ(unmatched(a, b), 0);
        EXPECT_EQ(unmatched(b, a), 0);
        if (page == 1) {
            // the red cell of row 5, column 2
            int red = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) red += (preview.ScanLine(y)[x] & 0xFFFFFF) == 0xFF0000;
            EXPECT_GT(red, 200);
        }
    }
}

TEST(GridPrint, StartAndCancelEventsLimitThePrint)
{
    REQUIRE_TOOL("pdfinfo", "poppler-utils");
    PrintGrid f(3, 200);
    f.g->OnPrintStart = [](TObject*, int, int&, int& to) { to = 0; };
    f.g->Print();
    EXPECT_FALSE(std::filesystem::exists(Printer()->FileName));
    f.g->OnPrintStart = nullptr;
    f.g->OnPrintCancel = [](TObject*, int page, bool& cancel) { cancel = page == 2; };
    f.g->Print();
    int rc = 0;
    const std::string info = testsupport::RunCapture("pdfinfo " + Printer()->FileName, &rc);
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    // a failing page leaves no file behind
    std::filesystem::remove(Printer()->FileName);
    f.g->OnPrintCancel = nullptr;
    f.g->OnPrintPage = [](TObject*, TCanvas*, int page, int, int) {
        if (page == 2) throw EExGridError("paper jam");
    };
    EXPECT_THROW(f.g->Print(), EExGridError);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_FALSE(std::filesystem::exists(Printer()->FileName));
}

TEST(GridPrint, HeaderAndFooterItemsFollowTheirPositions)
{
    PrintGrid f(3, 5);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.DateFormat = "yyyy";
    struct Case {
        TPrintPosition date, time, page;
        std::string sep;
        std::regex expect;
    };
    const std::string year = "20[0-9][0-9]";
    const Case cases[] = {
        {ppTopLeft, ppTopLeft, ppNone, "/", std::regex(year + " [0-9][0-9]:[0-9][0-9]")},  // date, then time
        {ppTopRight, ppTopRight, ppNone, "/", std::regex("[0-9][0-9]:[0-9][0-9] " + year)},
        {ppNone, ppNone, ppBottomLeft, "/", std::regex("1")},  // one page: just the number
        {ppNone, ppBottomCenter, ppBottomCenter, "", std::regex("[0-9][0-9]:[0-9][0-9] 1")},
    };
    for (const Case& c : cases) {
        ps.Date = c.date;
        ps.Time = c.time;
        ps.PageNr = c.page;
        ps.PageNumSep = c.sep;
        TRecordingCanvas rec(794, 1123);
        f.g->PrintPreview(&rec, {0, 0, 794, 1123});
        bool found = false;
        std::string texts;
        for (const std::string& call : rec.Calls()) {
            if (call.rfind("Text ", 0) != 0) continue;
            const size_t q = call.find('\''), e = call.rfind('\'');
            const std::string t = call.substr(q + 1, e - q - 1);
            texts += t + "|";
            found = found || std::regex_match(t, c.expect);
        }
        EXPECT_TRUE(found) << texts;
    }
}

TEST(GridPrint, PageNumbersCountThePages)
{
    PrintGrid f(3, 150);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.PageNr = ppBottomRight;
    f.g->SetPreviewPage(1);
    TRecordingCanvas probe(794, 1123);
    f.g->PrintPreview(&probe, {0, 0, 794, 1123});
    const int n = f.g->PrintPageCount();
    ASSERT_GE(n, 3);
    for (int page = 1; page <= n; ++page) {
        TRecordingCanvas rec(794, 1123);
        f.g->SetPreviewPage(page);
        f.g->PrintPreview(&rec, {0, 0, 794, 1123});
        const std::string want = "'" + std::to_string(page) + "/" + std::to_string(n) + "'";
        bool found = false;
        for (const std::string& call : rec.Calls()) found = found || call.find(want) != std::string::npos;
        EXPECT_TRUE(found) << want;
    }
}

TEST(GridPrint, FitToPageScalesColumnsOnlyAsAsked)
{
    PrintGrid f(4, 5);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.LeftSize = ps.RightSize = 100;
    auto widths = [&] {
        TRecordingCanvas rec(794, 1123);
        f.g->PrintDraw(&rec, {0, 0, 794, 1123});
        int total = 0;
        for (int c = 0; c < 4; ++c) total += f.g->GetPrintColWidth(c) + ps.ColumnSpacing + 20;
        return total;
    };
    ps.FitToPage = fpNever;
    const int natural = widths();
    ASSERT_LT(natural, 1000);
    ps.FitToPage = fpShrink;
    EXPECT_EQ(widths(), natural);  // narrower than the page: unchanged
    ps.FitToPage = fpAlways;
    EXPECT_NEAR(widths(), int(std::lround(254.0 / 96 * 794)) - 200, 8);
    ps.FitToPage = fpCustom;
    double seen = 0;
    f.g->OnFitToPage = [&](TObject*, double& scale, bool& allow) {
        seen = scale;
        allow = false;
    };
    EXPECT_EQ(widths(), natural);
    EXPECT_GT(seen, 1.0);
    // wider than the page: fpGrow leaves it, fpShrink and fpAlways bring it onto the page
    ps.UseFixedWidth = true;
    ps.FixedWidth = 1000;
    ps.ColumnSpacing = -20;  // no spacing: the widths add up to the block
    ps.FitToPage = fpGrow;
    EXPECT_EQ(widths(), 4000);
    for (TFitToPage fit : {fpShrink, fpAlways}) {
        ps.FitToPage = fit;
        EXPECT_NEAR(widths(), int(std::lround(254.0 / 96 * 794)) - 200, 8);
    }
}

TEST(GridPrint, TextMeasures)
{
    PrintGrid f(3, 3);
    EXPECT_EQ(f.g->MapFontHeight(10), -35);
    EXPECT_EQ(f.g->MapFontHeight(72), -254);
    EXPECT_EQ(f.g->MapFontSize(254), 72);
    f.g->SetCells(1, 1, "one\r\ntwo\r\nthree and more");
    EXPECT_EQ(f.g->MaxLinesInRow(1), 1);
    f.g->Multilinecells = true;
    EXPECT_EQ(f.g->MaxLinesInRow(1), 3);
    EXPECT_EQ(f.g->MaxLinesInRow(2), 1);
    EXPECT_EQ(f.g->MaxLinesInGrid(), 3);
    EXPECT_EQ(f.g->MaxCharsInCol(1), 14);
    f.g->Multilinecells = false;
    EXPECT_EQ(f.g->MaxCharsInCol(1), 5);  // "Col 1"
    EXPECT_EQ(f.g->MaxCharsInCol(2), 5);
    // rotated text: the start point inside the rectangle by angle and alignment
    const TSize e = f.g->Canvas()->TextExtent("Draft");
    struct Case {
        int angle;
        TAlignment ha;
        TVAlignment va;
        TPoint at;
    };
    const Case cases[] = {
        {0, taLeftJustify, vtaTop, {12, 12}},
        {90, taLeftJustify, vtaTop, {12, 12 + e.cx}},
        {0, taRightJustify, vtaBottom, {98 - e.cx, 98 - e.cy}},
        {180, taLeftJustify, vtaTop, {12 + e.cx, 12 + e.cy}},
    };
    for (const Case& c : cases) {
        TRect r{10, 10, 100, 100};
        f.g->CalcTextPos(r, c.angle, "Draft", c.ha, c.va);
        EXPECT_EQ(r.Left, c.at.X) << c.angle;
        EXPECT_EQ(r.Top, c.at.Y) << c.angle;
    }
    EXPECT_THROW(f.g->GetPrintColWidth(513), EExGridError);
}

TEST(GridPrintSettings, RoundTripThroughTheStore)
{
    PrintGrid f(2, 2);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.ColumnSpacing = 15;
    ps.RowSpacing = 5;
    ps.TitleSpacing = 30;
    ps.FixedHeight = 60;
    ps.FixedWidth = 250;
    ps.Centered = false;
    ps.UseFixedWidth = ps.RepeatFixedRows = true;
    ps.Borders = pbAroundVertical;
    ps.BorderStyle = psDot;
    ps.Date = ppTopRight;
    ps.PageNr = ppBottomCenter;
    ps.Title = ppTopLeft;
    ps.Time = ppBottomLeft;
    ps.DateFormat = "yyyy-mm-dd";
    ps.TitleText = "Offsets = stations";
    ps.FooterSize = 120;
    ps.HeaderSize = 80;
    ps.LeftSize = 150;
    ps.RightSize = 90;
    ps.FitToPage = fpShrink;
    ps.Font().SetName("Courier New");
    ps.Font().SetSize(9);
    ps.Font().SetStyle(fsBold | fsItalic);
    ps.Font().SetColor(clBtnFace);
    ps.HeaderFont().SetColor(TColor(0x123456));
    ps.FooterFont().SetStyle(fsUnderline);
    ps.PageNumSep = "|";
    ps.PagePrefix = "Page";
    ps.PageSuffix = "end";
    ps.Orientation = poLandscape;
    ps.TitleLines().SetText("a\r\nb\r\n");
    const std::string file = f.dir.file("print.ini");
    f.g->SavePrintSettings(file, "Print");
    EXPECT_EQ(base::TIniFile(file).ReadString("Print", "TitleLines", ""), "a\\nb\\n");
    EXPECT_EQ(base::TIniFile(file).ReadString("Print", "Centered", ""), "N");

    gridtest::GridWindow other;
    other.Open(200, 200, 2, 2);
    TPrintSettings& q = other.g->PrintSettings();
    q.HeaderFont().SetStyle(fsBold);  // the stored style replaces this one
    other.g->LoadPrintSettings(file, "Print");
    EXPECT_EQ(q.ColumnSpacing, 15);
    EXPECT_EQ(q.RowSpacing, 5);
    EXPECT_EQ(q.TitleSpacing, 30);
    EXPECT_EQ(q.FixedHeight, 60);
    EXPECT_EQ(q.FixedWidth, 250);
    EXPECT_FALSE(q.Centered);
    EXPECT_TRUE(q.UseFixedWidth && q.RepeatFixedRows);
    EXPECT_FALSE(q.UseFixedHeight || q.RepeatFixedCols || q.NoAutoSize);
    EXPECT_EQ(q.Borders, pbAroundVertical);
    EXPECT_EQ(q.BorderStyle, psDot);
    EXPECT_EQ(q.Date, ppTopRight);
    EXPECT_EQ(q.PageNr, ppBottomCenter);
    EXPECT_EQ(q.Title, ppTopLeft);
    EXPECT_EQ(q.Time, ppBottomLeft);
    EXPECT_EQ(q.DateFormat, "yyyy-mm-dd");
    EXPECT_EQ(q.TitleText, "Offsets = stations");
    EXPECT_EQ(q.FooterSize, 120);
    EXPECT_EQ(q.HeaderSize, 80);
    EXPECT_EQ(q.LeftSize, 150);
    EXPECT_EQ(q.RightSize, 90);
    EXPECT_EQ(q.FitToPage, fpShrink);
    EXPECT_EQ(q.Font().Name(), "Courier New");
    EXPECT_EQ(q.Font().Size(), 9);
    EXPECT_EQ(q.Font().Style(), fsBold | fsItalic);
    EXPECT_EQ(q.Font().Color(), clBtnFace);
    EXPECT_EQ(q.HeaderFont().Color(), TColor(0x123456));
    EXPECT_EQ(q.HeaderFont().Style(), 0u);
    EXPECT_EQ(q.FooterFont().Style(), fsUnderline);
    EXPECT_EQ(q.PageNumSep, "|");
    EXPECT_EQ(q.PagePrefix, "Page");
    EXPECT_EQ(q.PageSuffix, "end");
    EXPECT_EQ(q.Orientation, poLandscape);
    ASSERT_EQ(q.TitleLines().Count(), 2);
    EXPECT_EQ(q.TitleLines().Get(0), "a");
    EXPECT_EQ(q.TitleLines().Get(1), "b");
    other.Close();
}

TEST(GridPrintSettings, MissingAndBadValues)
{
    PrintGrid f(2, 2);
    const std::string file = f.dir.file("print.ini");
    {
        base::TIniFile ini(file);
        ini.WriteString("Bad", "Borders", "12");
        ini.WriteString("Bad", "BorderStyle", "-1");
        ini.WriteString("Bad", "FitToPage", "9");
        ini.WriteString("Bad", "Date", "7");
        ini.WriteString("Bad", "Orientation", "2");
        ini.WriteString("Bad", "Centered", "y");
        ini.WriteString("Bad", "FontSize", "99999999999");
    }
    TPrintSettings& ps = f.g->PrintSettings();
    ps.Borders = pbDouble;
    ps.BorderStyle = psDash;
    ps.FitToPage = fpGrow;
    ps.Date = ppTopLeft;
    ps.Orientation = poLandscape;
    f.g->LoadPrintSettings(file, "Bad");
    EXPECT_EQ(ps.Borders, pbDouble);  // out of range: kept
    EXPECT_EQ(ps.BorderStyle, psDash);
    EXPECT_EQ(ps.FitToPage, fpGrow);
    EXPECT_EQ(ps.Date, ppNone);
    EXPECT_EQ(ps.Orientation, poLandscape);
    EXPECT_FALSE(ps.Centered);  // only "Y" is true
    // an empty section: the documented defaults
    f.g->LoadPrintSettings(file, "Empty");
    EXPECT_EQ(ps.ColumnSpacing, 20);
    EXPECT_EQ(ps.RowSpacing, 20);
    EXPECT_EQ(ps.TitleSpacing, 20);
    for (int v : {ps.FooterSize, ps.HeaderSize, ps.LeftSize, ps.RightSize}) EXPECT_EQ(v, 100);
    for (const TFont* font : {&ps.Font(), &ps.HeaderFont(), &ps.FooterFont()}) {
        EXPECT_EQ(font->Name(), "Arial");
        EXPECT_EQ(font->Size(), 10);
    }
    EXPECT_TRUE(ps.Centered);
    EXPECT_FALSE(ps.NoAutoSize || ps.UseFixedHeight || ps.UseFixedWidth || ps.RepeatFixedRows || ps.RepeatFixedCols);
    EXPECT_EQ(ps.TitleLines().Count(), 0);
    // a file that cannot be written
    EXPECT_THROW(f.g->SavePrintSettings(f.dir.file("no/such/folder.ini"), "Print"), EExGridError);
}

TEST(GridPrint, MergedTitlesMarkupLinesAndCheckBoxesOnThePage)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    PrintGrid f(5, 12);
    f.g->SetFixedRows(2);
    f.g->SetCells(1, 0, "Stations and offsets");
    f.g->MergeCells(1, 0, 4, 1);
    f.g->SetCells(1, 3, "<b>Bold</b> half-breadth");
    f.g->Multilinecells = true;
    f.g->SetCells(2, 4, "upper line\r\nlower line");
    f.g->AddCheckBox(3, 5, true, false);
    f.g->SetCells(4, 6, "40");
    f.g->AddProgress(4, 6, clBlue, clWhite);
    TPrintSettings& ps = f.g->PrintSettings();
    const std::string ini = f.dir.file("print.ini");
    f.g->LoadPrintSettings(ini, "Defaults");  // margins of 10 mm, Arial 10
    ps.PrintGraphics = true;
    ps.Borders = pbDouble;
    ps.Title = ppTopLeft;
    ps.TitleLines().SetText("Lines plan\r\nsecond title line\r\n");
    ps.Date = ppBottomLeft;
    ps.PageNr = ppBottomRight;
    ps.UseDisplayFont = false;
    const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
    const auto shown = f.Preview(1, "print-content");
    TBitmap& preview = *shown;
    int blue = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) blue += (preview.ScanLine(y)[x] & 0xFFFFFF) == 0x0000FF;
    EXPECT_GT(blue, 100);  // the progress bar, printed with the graphics
    f.g->Print();
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    const std::string& t = pages[0];
    for (const char* s : {"Lines plan", "second title line", "Stations and offsets", "Bold half-breadth", "upper line",
                          "lower line", "c4r11"})
        EXPECT_NE(t.find(s), std::string::npos) << s << "\n" << t;
    EXPECT_EQ(t.find("<b>"), std::string::npos);
    EXPECT_LT(t.find("upper line"), t.find("lower line"));
    EXPECT_EQ(t.find("Stations and offsets", t.find("Stations and offsets") + 1), std::string::npos);
}

namespace {
// The texts drawn on a recording canvas, in order.
std::vector<std::string> DrawnTexts(const TRecordingCanvas& rec)
{
    std::vector<std::string> out;
    for (const std::string& call : rec.Calls()) {
        if (call.rfind("Text ", 0) != 0) continue;
        const size_t q = call.find('\''), e = call.rfind('\'');
        out.push_back(call.substr(q + 1, e - q - 1));
    }
    return out;
}
}  // namespace

TEST(GridPrint, SelectedRowsAndColumnsOnly)
{
    PrintGrid f(5, 30);
    f.g->MouseActions.DisjunctRowSelect = true;
    for (int r : {3, 7, 20}) f.g->SetRowSelect(r, true);
    f.g->SelectRange(2, 3, 1, 1);
    for (auto print : {&TExStringGrid::PrintPreviewSelectedRows, &TExStringGrid::PrintPreviewSelectedCols}) {
        TRecordingCanvas rec(794, 1123);
        f.g->SetPreviewPage(1);
        (f.g->*print)(&rec, {0, 0, 794, 1123});
        std::set<std::string> cells;
        for (const std::string& t : DrawnTexts(rec))
            if (t.rfind("c", 0) == 0 || t.rfind("R ", 0) == 0 || t.rfind("Col", 0) == 0) cells.insert(t);
        EXPECT_EQ(cells, (std::set<std::string>{"c2r3", "c3r3", "c2r7", "c3r7", "c2r20", "c3r20"}));
    }
}

TEST(GridPrint, NewPageEventAndPageDoneReportTheBreak)
{
    PrintGrid f(3, 30);
    f.g->OnPrintNewPage = [](TObject*, int row, bool& newPage) { newPage = row == 10; };
    std::vector<std::pair<int, int>> done;  // last row, page
    f.g->OnPrintPageDone = [&](TObject*, TCanvas*, int lastRow, int offset, int page, int, int bottom) {
        EXPECT_LT(offset, 0);
        EXPECT_GT(offset, bottom);
        done.emplace_back(lastRow, page);
    };
    TRecordingCanvas rec(794, 1123);
    f.g->SetPreviewPage(1);
    f.g->PrintPreview(&rec, {0, 0, 794, 1123});
    EXPECT_EQ(f.g->PrintPageCount(), 2);
    EXPECT_EQ(done, (std::vector<std::pair<int, int>>{{10, 1}, {30, 2}}));
    const std::vector<std::string> texts = DrawnTexts(rec);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "c1r9"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "c1r10"), texts.end());
}

TEST(GridPrint, LandscapeAndBadRanges)
{
    REQUIRE_TOOL("pdfinfo", "poppler-utils");
    PrintGrid f(3, 5);
    f.g->PrintSettings().Orientation = poLandscape;
    f.g->PrintSettings().JobName = "Offsets table";
    f.g->PrintRect({1, 1, 2, 3});
    EXPECT_EQ(Printer()->Orientation(), poPortrait);  // restored
    int rc = 0;
    const std::string info = testsupport::RunCapture("pdfinfo " + Printer()->FileName, &rc);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex("Page size: +([0-9.]+) x ([0-9.]+)"))) << info;
    EXPECT_GT(std::stod(m[1]), std::stod(m[2]));
    EXPECT_NE(info.find("Offsets table"), std::string::npos);
    std::filesystem::remove(Printer()->FileName);
    TBitmap b(100, 100);
    for (TGridRect r : {TGridRect{0, 0, 3, 4}, TGridRect{0, 0, 2, 5}, TGridRect{2, 0, 1, 4}, TGridRect{-1, 0, 2, 4}}) {
        EXPECT_THROW(f.g->PrintRect(r), EExGridError);
        EXPECT_THROW(f.g->PrintPreviewRect(b.Canvas(), {0, 0, 100, 100}, r), EExGridError);
    }
    EXPECT_FALSE(std::filesystem::exists(Printer()->FileName));
}

TEST(GridPrint, SizeEventsAndAColumnWiderThanThePage)
{
    PrintGrid f(4, 6);
    f.g->OnPrintSetColumnWidth = [](TObject*, int col, int& width) {
        if (col == 2) width = 5000;  // half a metre
    };
    f.g->OnPrintSetRowHeight = [](TObject*, int row, int& height) { height = row == 3 ? 300 : 40; };
    std::vector<int> pages;
    f.g->OnPrintPage = [&](TObject*, TCanvas*, int page, int, int) { pages.push_back(page); };
    std::map<std::string, int> seen;  // text -> times drawn
    for (int page = 1; page <= 3; ++page) {
        TRecordingCanvas rec(794, 1123);
        f.g->SetPreviewPage(page);
        f.g->PrintPreview(&rec, {0, 0, 794, 1123});
        for (const std::string& t : DrawnTexts(rec)) ++seen[t];
    }
    // bands: columns 0-1, the wide column 2 alone, column 3
    EXPECT_EQ(f.g->PrintPageCount(), 3);
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f.g->GetPrintColWidth(2), 5000);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 4; ++c) EXPECT_EQ(seen["c" + std::to_string(c) + "r" + std::to_string(r)], 1) << c << "," << r;
}

TEST(GridPrint, PrintFontsAndRepeatedHeadersOverAPartOfTheGrid)
{
    PrintGrid f(4, 80);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.Font().SetName("Courier New");
    ps.FixedFont().SetName("DejaVu Serif");
    auto fontOf = [](const TRecordingCanvas& rec, const std::string& text) {
        for (const std::string& call : rec.Calls())
            if (call.find("'" + text + "'") != std::string::npos) return call.substr(call.find("font=") + 5);
        return std::string("(not drawn)");
    };
    struct Case {
        bool displayFont, repeat;
        bool headerDrawn;
    };
    for (const Case c : {Case{true, true, true}, Case{false, true, true}, Case{false, false, false}}) {
        ps.UseDisplayFont = c.displayFont;
        ps.RepeatFixedRows = c.repeat;
        TRecordingCanvas rec(794, 1123);
        f.g->SetPreviewPage(1);
        f.g->PrintPreviewRect(&rec, {0, 0, 794, 1123}, {0, 50, 3, 60});
        EXPECT_EQ(f.g->PrintPageCount(), 1);
        const std::string cell = fontOf(rec, "c1r50"), fixed = fontOf(rec, "R 50");
        // the recording names the family the font resolves to
        if (c.displayFont) {
            EXPECT_EQ(cell.find("Mono"), std::string::npos) << cell;
        } else {
            EXPECT_NE(cell.find("Mono"), std::string::npos) << cell;
            EXPECT_EQ(fixed.rfind("DejaVu Serif", 0), 0u) << fixed;
        }
        EXPECT_EQ(fontOf(rec, "Col 2") != "(not drawn)", c.headerDrawn);
        EXPECT_EQ(fontOf(rec, "c1r49"), "(not drawn)");
        EXPECT_EQ(fontOf(rec, "c1r61"), "(not drawn)");
    }
}

TEST(GridPrint, MarkupTitleAtTheBottom)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    PrintGrid f(3, 4);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.Title = ppBottomCenter;
    ps.FooterSize = 100;
    ps.TitleLines().SetText("<b>Hull</b> report &amp; notes\r\n");
    f.g->Print();
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    const std::string& t = pages[0];
    EXPECT_NE(t.find("Hull report & notes"), std::string::npos) << t;
    EXPECT_EQ(t.find("<b>"), std::string::npos);
    EXPECT_LT(t.find("c2r3"), t.find("Hull report"));  // below the cells
}

TEST(GridPrint, RichTextCellsPrintTheirRunsAtTheirSize)
{
    PrintGrid f(3, 4);
    const std::string head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\fs24 ";
    f.g->SetCells(1, 2, head + "\\cf1 WWWWWW\\cf0  rest\\par}");
    const int w = 794, h = 1123;
    auto redPixels = [&](TCanvas* cv) {
        int red = 0;
        for (int y = 0; y < h; y += 1)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = ColorToRGB(cv->Pixel(x, y));
                red += GetRValue(c) > 190 && GetGValue(c) < 90 && GetBValue(c) < 90;
            }
        return red;
    };
    // straight onto a bitmap, and through the printer's path of an off-screen picture
    TBitmap preview(w, h);
    f.g->SetPreviewPage(1);
    f.g->PrintPreview(preview.Canvas(), {0, 0, w, h});
    SavePng(preview, "print-rich");
    EXPECT_GT(redPixels(preview.Canvas()), 20);
    // the column takes the rich text's width, whose 12-point runs outgrow the grid's font
    const int richWidth = f.g->GetPrintColWidth(1);
    f.g->SetCells(1, 2, "WWWWWW rest");
    TBitmap plain(w, h);
    f.g->PrintPreview(plain.Canvas(), {0, 0, w, h});
    EXPECT_GT(richWidth, f.g->GetPrintColWidth(1) * 5 / 4);
    // a page without pixels (the printer's) gets the runs as text
    TRecordingCanvas rec(w, h);
    f.g->PrintPreview(&rec, {0, 0, w, h});
    std::string all;
    for (const std::string& t : DrawnTexts(rec)) all += t + "|";
    EXPECT_NE(all.find("WWWWWW"), std::string::npos) << all;
    EXPECT_EQ(all.find("rtf"), std::string::npos) << all;
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    f.g->Print();
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("WWWWWW rest"), std::string::npos) << pages[0];
}

namespace {
struct ExportCountingGrid : TExStringGrid {
    using TExStringGrid::TExStringGrid;
    std::vector<std::pair<TGridExportState, int>> seen;
    void ExportNotification(TGridExportState State, int ARow) override { seen.emplace_back(State, ARow); }
};
}  // namespace

TEST(GridPrint, ExportHookFollowsThePrint)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* g = new ExportCountingGrid(form);
    g->SetParent(form);
    g->SetColCount(3);
    g->SetRowCount(4);
    testsupport::TempDir dir("gridprint");
    Printer()->SetPrinterIndex(0);
    Printer()->FileName = dir.file("hook.pdf");
    g->Print();
    // the counting pass and the printing pass each announce every row
    using S = std::vector<std::pair<TGridExportState, int>>;
    const S rows{{esExportNewRow, 0}, {esExportNewRow, 1}, {esExportNewRow, 2}, {esExportNewRow, 3}};
    S want{{esExportStart, -1}};
    want.insert(want.end(), rows.begin(), rows.end());
    want.insert(want.end(), rows.begin(), rows.end());
    want.emplace_back(esExportDone, -1);
    EXPECT_EQ(g->seen, want);
    g->seen.clear();
    g->PrintRect({0, 1, 2, 2});
    ASSERT_GE(g->seen.size(), 2u);
    EXPECT_EQ(g->seen[1], std::make_pair(esExportSelRow, 1));
    form->Free();
}

TEST(GridPrint, RotatedTextTakesItsTurnedSize)
{
    PrintGrid f(3, 4);
    const int w = 794, h = 1123;
    auto layout = [&] {
        auto page = std::make_unique<TBitmap>(w, h);
        page->Canvas()->Brush().SetColor(clWhite);
        page->Canvas()->FillRect({0, 0, w, h});
        f.g->SetPreviewPage(1);
        f.g->PrintPreview(page->Canvas(), {0, 0, w, h});
        return page;
    };
    f.g->SetCells(1, 2, "Frame spacing 600");
    layout();
    const int flat = f.g->GetPrintColWidth(1);
    f.g->AddRotated(1, 2, 90, "Frame spacing 600");
    const auto shot = layout();
    TBitmap& page = *shot;
    SavePng(page, "print-rotated");
    const int turned = f.g->GetPrintColWidth(1);
    EXPECT_LT(turned, flat / 2);
    // the turned text stands upright: its dark pixels run taller than the column is wide
    const int left = int(std::lround(f.g->GetPrintColOffset(1) * 96 / 254.0));
    const int right = int(std::lround((f.g->GetPrintColOffset(2)) * 96 / 254.0));
    int top = h, bottom = 0;
    for (int y = 0; y < h; ++y)
        for (int x = left + 2; x < right - 2; ++x)
            if ((page.ScanLine(y)[x] & 0xFF) < 100) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GT(bottom - top, 2 * (right - left)) << top << ".." << bottom;
}

TEST(GridPrint, ScreenWidthsWrapLongTexts)
{
    PrintGrid f(3, 4);
    f.g->SetColWidths(1, 60);
    f.g->SetCells(1, 2, "waterline offsets from the station drawings");
    TPrintSettings& ps = f.g->PrintSettings();
    ps.NoAutoSize = true;
    ASSERT_TRUE(f.g->WordWrap());
    TRecordingCanvas rec(794, 1123);
    f.g->SetPreviewPage(1);
    f.g->PrintPreview(&rec, {0, 0, 794, 1123});
    EXPECT_EQ(f.g->GetPrintColWidth(1), int(std::lround((60 - 4) * 254.0 / 96)));
    int wrapped = 0;
    std::string all;
    for (const std::string& t : DrawnTexts(rec))
        if (std::string("waterline offsets from the station drawings").find(t) != std::string::npos && t.size() > 3) {
            ++wrapped;
            all += t + "|";
        }
    EXPECT_GE(wrapped, 3) << all;  // one line each, inside the screen's column width
}

TEST(GridPrint, APrintWhileTheTargetIsBusyLeavesTheOtherJobAlone)
{
    PrintGrid f(3, 4);
    Printer()->BeginDoc();
    Printer()->Canvas()->TextOut(10, 10, "another job");
    EXPECT_THROW(f.g->Print(), base::Exception);
    EXPECT_TRUE(Printer()->Printing());
    Printer()->EndDoc();
    EXPECT_TRUE(std::filesystem::exists(Printer()->FileName));
}

namespace {
// A colour as the bitmaps hold it (0xRRGGBB).
std::uint32_t Pixel(TColor c)
{
    const COLORREF v = ColorToRGB(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}
// The pixels of colour c inside r, and the box around them.
struct Found {
    int n = 0;
    TRect box{1 << 20, 1 << 20, -1, -1};
};
Found Find(TBitmap& b, const TRect& r, TColor c)
{
    Found f;
    const std::uint32_t want = Pixel(c);
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x)
            if ((b.ScanLine(y)[x] & 0xFFFFFF) == want) {
                ++f.n;
                f.box = {std::min(f.box.Left, x), std::min(f.box.Top, y), std::max(f.box.Right, x + 1),
                         std::max(f.box.Bottom, y + 1)};
            }
    return f;
}
// The box of the rows and columns of r that hold at least 8 pixels of colour c: a filled
// face without the text's stray pixels.
TRect Face(TBitmap& b, const TRect& r, TColor c)
{
    const std::uint32_t want = Pixel(c);
    TRect box{1 << 20, 1 << 20, -1, -1};
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x) {
            int across = 0, down = 0;
            for (int i = r.Left; i < r.Right; ++i) across += (b.ScanLine(y)[i] & 0xFFFFFF) == want;
            for (int i = r.Top; i < r.Bottom; ++i) down += (b.ScanLine(i)[x] & 0xFFFFFF) == want;
            if ((b.ScanLine(y)[x] & 0xFFFFFF) != want || across < 8 || down < 8) continue;
            box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
        }
    return box;
}
// Pixels near colour c (within 60 per channel), for the PDF's smoothed rendering.
int Near(TBitmap& b, const TRect& r, TColor c)
{
    const std::uint32_t want = Pixel(c);
    int n = 0;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x) {
            const std::uint32_t p = b.ScanLine(y)[x];
            bool near = true;
            for (int s = 0; s < 24; s += 8) near = near && std::abs(int((p >> s) & 0xFF) - int((want >> s) & 0xFF)) <= 60;
            n += near;
        }
    return n;
}
}  // namespace

// Cell buttons, node marks, comment marks and progress pies print as the screen draws them.
TEST(GridPrint, ButtonsNodesCommentsAndPiesOnThePage)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    REQUIRE_TOOL("pdftoppm", "poppler-utils");
    PrintGrid f(4, 9);
    f.g->SetOptions(f.g->Options() | goEditing);  // enabled buttons
    f.g->CellNode().NodeColor = clBlue;
    f.g->CellNode().SetTreeColor(clFuchsia);
    f.g->AddNode(1, 3);
    f.g->AddNode(4, 3);
    f.g->ContractNode(4);  // hides rows 5 and 6
    f.g->SetCells(1, 2, "");
    f.g->AddButton(1, 2, 60, 18, "Fairing", haLeft, vaTop);
    f.g->AddButton(2, 2, 50, 18, "Lines", haAfterText, vaTop);
    f.g->AddColorComment(3, 3, "check the offset", clRed);
    f.g->SetCells(2, 3, "");
    f.g->AddProgressPie(2, 3, clLime, 60);
    f.g->SetRowHeights(3, 28);  // room for the whole pie on screen
    f.form->Show();
    auto screen = PaintToBitmap(f.g);
    SavePng(*screen, "print-graphics-screen");
    const double buttonOffset = f.g->GetCellGraphic(1, 2)->CellValue;
    TPrintSettings& ps = f.g->PrintSettings();
    ps.PrintGraphics = true;
    ps.Borders = pbNoborder;

    // the preview, with the printed cells' rectangles
    std::map<std::pair<int, int>, TRect> cells;
    f.g->OnCustomCellDraw = [&](TObject*, TCanvas* cv, int c, int r, TGridDrawState, TRect R, bool printing) {
        if (!printing) return;
        // the rectangle comes in print units; the preview's pixels are looked at here
        TPoint corners[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
        LPtoDP(cv->Handle(), corners, 2);
        cells[{c, r}] = TRect{corners[0].X, corners[0].Y, corners[1].X, corners[1].Y};
    };
    const auto shown = f.Preview(1, "print-graphics");
    TBitmap& preview = *shown;
    ASSERT_TRUE(cells.count({1, 2}) && cells.count({2, 2}) && cells.count({2, 3}) && cells.count({3, 3}) &&
                cells.count({0, 1}) && cells.count({0, 4}));
    auto onScreen = [&](int c, int r) { return f.g->CellRect(c, r); };

    // buttons: a face of the button's size inside its edges, as on screen; the one after the
    // text leaves the text before it
    for (int c : {1, 2}) {
        SCOPED_TRACE(c);
        const TRect cell = cells[{c, 2}], face = Face(preview, cell, clBtnFace);
        EXPECT_EQ(face.Width(), (c == 1 ? 60 : 50) - 4);
        EXPECT_EQ(face.Height(), 18 - 4);
        if (c == 1) EXPECT_EQ(face.Width(), Face(*screen, onScreen(1, 2), clBtnFace).Width());
        else EXPECT_GE(face.Left - cell.Left, 30) << "the text goes first";
    }
    EXPECT_EQ(f.g->GetCellGraphic(1, 2)->CellValue, buttonOffset);  // the screen's hit test is kept

    // pie: the same filled share as on screen
    const Found pie = Find(preview, cells[{2, 3}], clLime), pieScreen = Find(*screen, onScreen(2, 3), clLime);
    EXPECT_GT(pie.n, 120);
    EXPECT_EQ(pie.n, pieScreen.n);

    // comment: the red corner at the cell's top right
    const TRect cr = cells[{3, 3}];
    const Found mark = Find(preview, cr, clRed);
    EXPECT_EQ(mark.n, Find(*screen, onScreen(3, 3), clRed).n);
    EXPECT_GE(mark.n, 10);
    EXPECT_LE(cr.Right - mark.box.Right, 3);
    EXPECT_LE(mark.box.Top - cr.Top, 2);

    // nodes: a 9-pixel box framed in the node colour, a plus only on the folded one
    for (int r : {1, 4}) {
        SCOPED_TRACE(r);
        const Found box = Find(preview, cells[{0, r}], clBlue);
        EXPECT_EQ(box.box.Width(), 9);
        EXPECT_EQ(box.box.Height(), 9);
        const int cx = box.box.Left + 4;
        EXPECT_EQ(Find(preview, {cx, box.box.Top + 2, cx + 1, box.box.Top + 3}, clBlue).n, r == 4 ? 1 : 0);
        // the row's text comes after the mark
        const TRect nr = cells[{0, r}];
        EXPECT_LT(box.box.Right, nr.Left + f.g->CellNode().NodeIndent() + 8);
    }

    // the tree line down the node's rows, the rows' texts indented past it as on screen
    const TRect child = cells[{0, 2}], node = Find(preview, cells[{0, 1}], clBlue).box;
    const Found tree = Find(preview, child, clFuchsia);
    EXPECT_GE(tree.box.Height(), child.Height() - 1);
    EXPECT_GT(tree.box.Left, node.Left);
    EXPECT_LT(tree.box.Left, node.Right);
    int text = child.Right;
    for (int y = child.Top; y < child.Bottom; ++y)
        for (int x = child.Left; x < child.Right; ++x)
            if ((preview.ScanLine(y)[x] & 0xFF) < 100 && Find(preview, {x, y, x + 1, y + 1}, clFuchsia).n == 0)
                text = std::min(text, x);
    EXPECT_GE(text - child.Left, f.g->CellNode().NodeIndent());
    EXPECT_EQ(Find(preview, cells[{0, 8 - 2}], clFuchsia).n, 0);  // past the nodes

    // the printed page: captions as text, and the same marks in the rendered PDF
    f.g->OnCustomCellDraw = nullptr;
    f.g->Print();
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    for (const char* s : {"Fairing", "Lines", "c2r2", "R 1", "R 4"}) EXPECT_NE(pages[0].find(s), std::string::npos) << s;
    EXPECT_EQ(pages[0].find("R 5"), std::string::npos);
    EXPECT_LT(pages[0].find("c2r2"), pages[0].find("Lines"));
    const auto printed = f.PdfPage(1);
    ASSERT_TRUE(printed);
    SavePng(*printed, "print-graphics-pdf");
    auto grown = [](TRect r) { return TRect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}; };
    EXPECT_GT(Near(*printed, grown(cells[{2, 3}]), clLime), pie.n * 2 / 3);
    EXPECT_GT(Near(*printed, grown(cells[{1, 2}]), clBtnFace), 300);
    EXPECT_GE(Near(*printed, grown(cr), clRed), 6);
    EXPECT_GE(Near(*printed, grown(cells[{0, 1}]), clBlue), 20);
}

// A preview measures each cell once: the next pages, and the same page again, take the
// kept sizes; a changed cell, a changed look of the grid or another print font measure
// anew, and the pages follow the change.
TEST(GridPrint, APreviewMeasuresTheCellsOncePerJob)
{
    PrintGrid t(4, 200);
    int measured = 0;
    t.g->OnCustomCellSize = [&](TObject*, TCanvas*, int, int, TPoint&, bool) { ++measured; };
    const int cells = 4 * 200;
    auto first = t.Preview(1, "measure-page1");
    EXPECT_EQ(measured, cells);
    ASSERT_GT(t.g->PrintPageCount(), 2);
    const int pages = t.g->PrintPageCount();
    measured = 0;
    (void)t.Preview(2, "measure-page2");
    auto again = t.Preview(1, "measure-page1-again");
    EXPECT_EQ(measured, 0);
    EXPECT_EQ(t.g->PrintPageCount(), pages);
    int differing = 0;
    for (int y = 0; y < first->Height(); ++y)
        for (int x = 0; x < first->Width(); ++x) differing += first->ScanLine(y)[x] != again->ScanLine(y)[x];
    EXPECT_EQ(differing, 0);

    struct Change {
        const char* what;
        std::function<void()> make;
    };
    const std::vector<Change> changes = {
        {"a cell's text", [&] { t.g->SetCells(2, 5, "a text much wider than the others in its column"); }},
        {"the grid's font", [&] { t.g->Font()->SetSize(t.g->Font()->Size() + 6); }},
        {"the print font", [&] { t.g->PrintSettings().Font().SetSize(t.g->PrintSettings().Font().Size() + 6); }},
        {"the row count", [&] { t.g->SetRowCount(400); }},
    };
    for (const Change& c : changes) {
        c.make();
        measured = 0;
        (void)t.Preview(1, std::string("measure-") + c.what);
        EXPECT_EQ(measured, t.g->ColCount() * t.g->RowCount()) << c.what;
    }
    EXPECT_GT(t.g->PrintPageCount(), pages);
}

TEST(GridPrint, WideCellsPrintTheirOwnCharacters)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    const std::u16string greek = u"\u03A9\u03BC\u03AD\u03B3\u03B1 \u0416";  // Omega, mu, epsilon, gamma, alpha, Zhe
    const std::string greekUtf8 = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xD0\x96";
    PrintGrid f(3, 5);
    f.g->SetWideCells(1, 1, greek);
    f.g->SetWideCells(2, 2, u"Wide " + greek + u"\r\nsecond " + greek.substr(0, 2));
    f.g->Multilinecells = true;
    f.g->Print();
    const std::vector<std::string> pages = f.PdfPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find(greekUtf8), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("Wide " + greekUtf8), std::string::npos) << pages[0];
    EXPECT_NE(pages[0].find("second \xCE\xA9\xCE\xBC"), std::string::npos) << pages[0];
    EXPECT_EQ(pages[0].find('?'), std::string::npos) << pages[0];

    // On the preview a wide cell of Latin letters draws as the same 8-bit text does, and
    // one beyond them draws its letters, not question marks.
    struct Case {
        std::u16string wide;
        std::string narrow;
        bool same;
    } cases[] = {{u"Abc xyz", "Abc xyz", true}, {greek, "????? ?", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.narrow);
        f.g->SetWideCells(1, 1, c.wide);
        const auto wide = f.Preview(1, "print-wide");
        f.g->SetCells(1, 1, c.narrow);
        const auto narrow = f.Preview(1, "print-narrow");
        int differ = 0;
        for (int y = 0; y < wide->Height(); ++y)
            for (int x = 0; x < wide->Width(); ++x) differ += wide->ScanLine(y)[x] != narrow->ScanLine(y)[x];
        if (c.same) EXPECT_EQ(differ, 0);
        else EXPECT_GT(differ, 20);
    }
}

// Handlers draw in print units (0.1 mm, y upwards from the page's top left): a 10 mm square
// lands on the pixels the page's resolution gives it, on the preview and on the printed page.
TEST(GridPrint, HandlersDrawInPrintUnits)
{
    PrintGrid f(3, 4);
    TPrintSettings& ps = f.g->PrintSettings();
    ps.Borders = pbSingle;
    const double k = 96.0 / 254;  // pixels per unit of the bitmap and of the printer page
    struct Square {
        TColor color;
        int x, y;  // top left in units
    };
    const Square page{clRed, 200, -300}, done{clBlue, 600, -300};
    std::vector<int> modes;
    TRect cellUnits{};
    auto square = [](TCanvas* cv, const Square& s) {
        cv->Brush().SetColor(s.color);
        cv->FillRect(TRect{s.x, s.y, s.x + 100, s.y - 100});
    };
    f.g->OnPrintPage = [&](TObject*, TCanvas* cv, int, int, int) {
        modes.push_back(GetMapMode(cv->Handle()));
        cv->Font().SetHeight(-50);  // 5 mm; the grid's own fonts come back after
        square(cv, page);
    };
    f.g->OnPrintPageDone = [&](TObject*, TCanvas* cv, int, int, int, int, int) { square(cv, done); };
    f.g->OnCustomCellDraw = [&](TObject*, TCanvas* cv, int c, int r, TGridDrawState, TRect R, bool printing) {
        if (!printing || c != 1 || r != 1) return;
        cellUnits = R;
        square(cv, {clLime, R.Left, R.Top});
    };
    // where a square shows: its box in device pixels, from the page's corner (ox, oy)
    auto expected = [&](const Square& s, int ox, int oy) {
        return TRect{ox + int(std::lround(s.x * k)), oy + int(std::lround(-s.y * k)),
                     ox + int(std::lround((s.x + 100) * k)), oy + int(std::lround((100 - s.y) * k))};
    };
    auto box = [](TBitmap& b, TColor c) {
        TRect r{b.Width(), b.Height(), 0, 0};
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.Canvas()->Pixel(x, y) == c) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    };

    // a preview drawn at (40, 30) on a larger bitmap
    const int w = Printer()->PageWidth(), h = Printer()->PageHeight();
    TBitmap b(w + 80, h + 60);
    b.Canvas()->Brush().SetColor(clWhite);
    b.Canvas()->FillRect({0, 0, b.Width(), b.Height()});
    f.g->SetPreviewPage(1);
    f.g->PrintPreview(b.Canvas(), {40, 30, 40 + w, 30 + h});
    if (const char* keep = std::getenv("KORVELO_GRID_PNG")) b.SaveToFile(std::string(keep) + "/print-units.png");
    EXPECT_EQ(modes, std::vector<int>{MM_LOMETRIC});
    EXPECT_EQ(GetMapMode(b.Canvas()->Handle()), MM_TEXT) << "the canvas's mapping comes back";
    EXPECT_EQ(box(b, clRed), expected(page, 40, 30));
    EXPECT_EQ(box(b, clBlue), expected(done, 40, 30));
    ASSERT_GT(cellUnits.Right, cellUnits.Left);
    ASSERT_LT(cellUnits.Bottom, cellUnits.Top) << "a cell runs down the page, to lower y";
    EXPECT_LT(cellUnits.Top, 0);
    // the cell's square starts at the cell's top left corner, under the border lines the grid
    // draws after it; the next row covers its lower part
    const TRect lime = box(b, clLime), cellSquare = expected({clLime, cellUnits.Left, cellUnits.Top}, 40, 30);
    EXPECT_NEAR(lime.Left, cellSquare.Left, 1);
    EXPECT_NEAR(lime.Top, cellSquare.Top, 1);
    EXPECT_EQ(lime.Right, cellSquare.Right);
    EXPECT_LE(lime.Bottom, cellSquare.Bottom);
    EXPECT_EQ(b.Canvas()->Pixel(cellSquare.Left + 10, cellSquare.Top + 5), clLime);
    // the grid's own text is still drawn in its font and place: the cells' texts show
    int dark = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (b.Canvas()->Pixel(x + 40, y + 30) == clBlack) ++dark;
    EXPECT_GT(dark, 100);

    // the printed page at 96 pixels per inch: the same squares from the page's corner
    f.g->Print();
    auto printed = f.PdfPage(1);
    ASSERT_TRUE(printed);
    for (const Square& s : {page, done}) {
        const TRect e = expected(s, 0, 0);
        const TColor mid = printed->Canvas()->Pixel((e.Left + e.Right) / 2, (e.Top + e.Bottom) / 2);
        EXPECT_EQ(mid, s.color);
        EXPECT_NE(printed->Canvas()->Pixel(e.Right + 3, (e.Top + e.Bottom) / 2), s.color);
        EXPECT_NE(printed->Canvas()->Pixel((e.Left + e.Right) / 2, e.Bottom + 3), s.color);
    }
}
