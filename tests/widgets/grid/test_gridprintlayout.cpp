// The print layout on its own, over a fake grid and a recording canvas: rows split into
// pages, fixed rows and columns repeated, columns fitted to the page, and the cell sizes
// kept from one run to the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "widgets/grid/GridPrintLayout.h"
#include "widgets/grid/PrintSettings.h"

using namespace grid;
using namespace platform;

namespace {

// cols x rows plain cells: "H<c>" in fixed row 0, "R<r>" in fixed column 0, "c<c>r<r>" inside.
class FakeGrid final : public TGridPrintSource {
public:
    FakeGrid(int cols, int rows) : cols_(cols), rows_(rows) {}

    int ColCount() const override { return cols_; }
    int RowCount() const override { return rows_; }
    int FixedCols() const override { return 1; }
    int FixedRows() const override { return 1; }
    int FixedFooters() const override { return 0; }
    int ColWidth(int) const override { return 64; }
    int RowHeight(int) const override { return 21; }
    int RealCol(int c) const override { return c; }
    bool RowSelected(int r) override { return selectedRows.count(r) > 0; }
    bool ColSelected(int) override { return true; }
    bool IsMergedCell(int, int) const override { return false; }
    bool IsXMergedCell(int, int) const override { return false; }
    bool IsYMergedCell(int, int) const override { return false; }
    TPoint BaseCell(int rc, int r) const override { return {rc, r}; }
    TPoint CellSpan(int, int) const override { return {0, 0}; }

    TPrintTextRules TextRules() const override { return {}; }
    std::string CellText(int rc, int r, TTextType& kind) override
    {
        kind = TTextType::ttText;
        ++textsAsked;
        if (r == 0) return "H" + std::to_string(rc);
        if (rc == 0) return "R" + std::to_string(r);
        return "c" + std::to_string(rc) + "r" + std::to_string(r);
    }
    bool IsPassword(int, int) override { return false; }
    void CellLook(int, int, TPrintCellLook&) override {}
    int Rotation(int, int) override { return 0; }
    TSize RichTextSize(int, int) override { return {0, 0}; }
    void DrawRichText(int, int, TCanvas*, const TRect&) override {}
    void HTMLSources(html::HTMLDrawParams&) override {}
    TCellGraphic* CellGraphic(int, int) override { return nullptr; }
    TSize GraphicSize(int, int) override { return {0, 0}; }
    int ChildIndent(int) override { return 0; }
    void DrawGraphic(TCanvas*, TCellGraphic&, int, int, const TRect&, TAlignment, double) override {}
    bool DrawTreeLines(TCanvas*, int, const TRect&) override { return false; }
    void CellBorder(int, int, TPen&, TCellBorders&) override {}

    unsigned long long ContentVersion() const override { return content; }
    unsigned long long LookVersion() const override { return 0; }

    const TExGridEvents& Events() const override { return events; }
    TObject* Sender() override { return nullptr; }
    void RowNotice(int r, bool) override { noticed.push_back(r); }

    TExGridEvents events;
    std::set<int> selectedRows;
    std::vector<int> noticed;
    unsigned long long content = 1;
    int textsAsked = 0;

private:
    int cols_, rows_;
};

constexpr int kPageW = 794, kPageH = 1123;  // A4 at 96 pixels per inch

struct Job {
    TGridPrintJob job;
    TPrintSettings& ps = job.Settings();
    Job(int cols, int rows)
    {
        EnsurePlatform();
        job.Range = {0, 0, cols - 1, rows - 1};
        job.DeviceRect = {0, 0, kPageW, kPageH};
        ps.Borders = pbNoborder;
    }
    // The number of pages, counted without drawing.
    int Count(FakeGrid& g, bool selectedOnly = false)
    {
        TRecordingCanvas cv(kPageW, kPageH);
        return TGridPrintLayout::Run(g, job, &cv, prCalcPreview, -1, selectedOnly);
    }
    // The texts drawn on each page, first page first.
    std::vector<std::vector<std::string>> Pages(FakeGrid& g, bool selectedOnly = false)
    {
        const int n = Count(g, selectedOnly);
        std::vector<std::vector<std::string>> pages;
        for (int page = 1; page <= n; ++page) {
            TRecordingCanvas cv(kPageW, kPageH);
            job.SetPreviewPage(page);
            EXPECT_EQ(TGridPrintLayout::Run(g, job, &cv, prPreview, n, selectedOnly), n);
            std::vector<std::string> texts;
            for (const std::string& call : cv.Calls()) {
                if (call.rfind("Text ", 0) != 0) continue;
                const size_t q = call.find('\''), e = call.rfind('\'');
                texts.push_back(call.substr(q + 1, e - q - 1));
            }
            pages.push_back(texts);
        }
        return pages;
    }
};

int CountOf(const std::vector<std::string>& texts, const std::string& t)
{
    return int(std::count(texts.begin(), texts.end(), t));
}

}  // namespace

TEST(GridPrintLayout, RowsBreakIntoPagesInOrderWithTheFixedRowRepeatedWhenAsked)
{
    for (bool repeat : {false, true}) {
        SCOPED_TRACE(repeat ? "repeated" : "once");
        FakeGrid g(3, 300);
        Job j(3, 300);
        j.ps.RepeatFixedRows = repeat;
        const auto pages = j.Pages(g);
        ASSERT_GE(pages.size(), 3u);
        // every row once, in order, and each page full but the last
        std::vector<int> rows;
        for (const auto& texts : pages)
            for (const std::string& t : texts)
                if (t[0] == 'R') rows.push_back(std::stoi(t.substr(1)));
        ASSERT_EQ(rows.size(), 299u);
        for (int i = 0; i < 299; ++i) EXPECT_EQ(rows[size_t(i)], i + 1);
        for (size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(CountOf(pages[p], "H1"), repeat || p == 0 ? 1 : 0) << "page " << p + 1;
            if (p + 1 < pages.size()) {
                EXPECT_EQ(pages[p].size(), pages[0].size()) << "page " << p + 1;
            }
        }
        EXPECT_LT(pages.back().size(), pages[0].size());
        // the row notices name each row of each band once
        EXPECT_EQ(g.noticed.size() % 300, 0u);
    }
}

TEST(GridPrintLayout, TallerRowsTakeMorePages)
{
    FakeGrid g(3, 300);
    std::map<int, int> pages;
    for (int height : {40, 80, 160}) {
        Job j(3, 300);
        j.ps.UseFixedHeight = true;
        j.ps.FixedHeight = height;
        pages[height] = j.Count(g);
    }
    EXPECT_LT(pages[40], pages[80]);
    EXPECT_LT(pages[80], pages[160]);
    // rows twice as tall take well over half as many pages again
    EXPECT_GT(2 * pages[160], 3 * pages[80]);
}

TEST(GridPrintLayout, WideGridsPrintInBandsWithTheFixedColumnRepeatedWhenAsked)
{
    for (bool repeat : {false, true}) {
        SCOPED_TRACE(repeat ? "repeated" : "once");
        FakeGrid g(12, 5);
        Job j(12, 5);
        j.ps.UseFixedWidth = true;
        j.ps.FixedWidth = 500;  // 12 columns of 5 cm: more than one page wide
        j.ps.RepeatFixedCols = repeat;
        const auto pages = j.Pages(g);
        ASSERT_GE(pages.size(), 3u);
        std::map<std::string, int> printed;
        for (size_t p = 0; p < pages.size(); ++p) {
            for (const std::string& t : pages[p]) ++printed[t];
            EXPECT_EQ(CountOf(pages[p], "R1"), repeat || p == 0 ? 1 : 0) << "page " << p + 1;
        }
        // every cell of the other columns once
        for (int c = 1; c < 12; ++c)
            for (int r = 1; r < 5; ++r) EXPECT_EQ((printed["c" + std::to_string(c) + "r" + std::to_string(r)]), 1);
    }
}

TEST(GridPrintLayout, FitToPageScalesTheColumnsOnlyAsAsked)
{
    const int pageUnits = int(std::lround(254.0 / 96 * kPageW)) - 200;
    struct Case {
        TFitToPage fit;
        int width;   // each of 4 columns
        bool fitted;  // the columns fill the page (else they keep their width)
    };
    const Case cases[] = {
        {fpNever, 100, false}, {fpNever, 1000, false}, {fpShrink, 100, false}, {fpShrink, 1000, true},
        {fpGrow, 100, true},   {fpGrow, 1000, false},  {fpAlways, 100, true},  {fpAlways, 1000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.fit)) + " " + std::to_string(c.width));
        FakeGrid g(4, 5);
        Job j(4, 5);
        j.ps.LeftSize = j.ps.RightSize = 100;
        j.ps.UseFixedWidth = true;
        j.ps.FixedWidth = c.width;
        j.ps.ColumnSpacing = -20;  // no spacing: the widths add up to the block
        j.ps.FitToPage = c.fit;
        j.Count(g);
        int total = 0;
        for (int col = 0; col < 4; ++col) total += j.job.ColWidth(col);
        if (c.fitted) {
            EXPECT_NEAR(total, pageUnits, 8);
            EXPECT_NEAR(j.job.FontScale, double(pageUnits) / (4 * c.width), 0.01);
        } else {
            EXPECT_EQ(total, 4 * c.width);
            EXPECT_EQ(j.job.FontScale, 1.0);
        }
    }
    // a handler may refuse the scale
    FakeGrid g(4, 5);
    Job j(4, 5);
    j.ps.UseFixedWidth = true;
    j.ps.FixedWidth = 100;
    j.ps.ColumnSpacing = -20;
    j.ps.FitToPage = fpCustom;
    double offered = 0;
    g.events.OnFitToPage = [&](TObject*, double& scale, bool& allow) {
        offered = scale;
        allow = false;
    };
    j.Count(g);
    EXPECT_GT(offered, 1.0);
    EXPECT_EQ(j.job.ColWidth(1), 100);
}

TEST(GridPrintLayout, SelectedRowsOnlyPrintTheSelection)
{
    FakeGrid g(3, 30);
    g.selectedRows = {0, 4, 7};
    Job j(3, 30);
    const auto pages = j.Pages(g, true);
    ASSERT_EQ(pages.size(), 1u);
    std::vector<std::string> rows;
    for (const std::string& t : pages[0])
        if (t[0] == 'R') rows.push_back(t);
    EXPECT_EQ(rows, (std::vector<std::string>{"R4", "R7"}));
}

TEST(GridPrintLayout, CellSizesAreMeasuredOnceWhileTheContentStays)
{
    FakeGrid g(4, 40);
    Job j(4, 40);
    j.Count(g);
    const int first = g.textsAsked;
    ASSERT_GT(first, 0);
    j.Count(g);
    EXPECT_EQ(g.textsAsked, first);  // the kept sizes hold
    ++g.content;
    j.Count(g);
    EXPECT_EQ(g.textsAsked, 2 * first);  // measured again after a change
    j.ps.Font().SetSize(j.ps.Font().Size() + 4);
    j.Count(g);
    EXPECT_EQ(g.textsAsked, 3 * first);  // and after a change of the print font
}
