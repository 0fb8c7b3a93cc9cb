// The cell graphic painter on its own, against a fake grid and a recording canvas: check
// boxes by their state and the cell's rights, progress bars by the cell's number, the
// button's place kept for the hit tests, node boxes by level, and the comment mark.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "widgets/grid/GridCellPainter.h"
#include "widgets/grid/GridOptions.h"

using namespace grid;
using namespace platform;

namespace {

class FakeCells final : public TCellPaintHost {
public:
    std::string text, checkTrue = "Y";
    std::optional<int> number;
    bool canEdit = true;
    TRect cellBox{0, 0, 80, 20};
    int level = 1, nodeOffset = 0;
    TControlLook look{nullptr};
    TCellNode node{nullptr};

    std::string CellText(int, int) override { return text; }
    std::optional<int> CellInt(int, int) override { return number; }
    int TextWidth(int, int) override { return 30; }
    bool CanEdit(int, int) override { return canEdit; }
    std::string CheckTrue(int, int) override { return checkTrue; }
    TSize GraphicSize(int, int) override { return {0, 0}; }
    TRect CellBox(int, int) override { return cellBox; }
    const TControlLook& Look() override { return look; }
    const TCellNode& Node() override { return node; }
    int NodeLevel(int, int) override { return level; }
    int NodeOffset(int) override { return nodeOffset; }
    TImageList* ImageList() override { return nullptr; }
    std::pair<TColor, TColor> SelectionColors() override { return {clNone, clNone}; }
};

// The calls of one painting of graphic g into R.
std::vector<std::string> Paint(FakeCells& cells, TCellGraphic& g, const TRect& R, double scale = 0)
{
    EnsurePlatform();
    TRecordingCanvas cv(200, 100);
    TCellGraphicPainter(cells, &cv, g, 1, 1, R, taLeftJustify, false, scale).Draw();
    return cv.Calls();
}

int Count(const std::vector<std::string>& calls, const std::string& prefix)
{
    int n = 0;
    for (const std::string& c : calls) n += c.rfind(prefix, 0) == 0;
    return n;
}

std::string First(const std::vector<std::string>& calls, const std::string& prefix)
{
    for (const std::string& c : calls)
        if (c.rfind(prefix, 0) == 0) return c;
    return {};
}

// l, t of a recorded "FillRect l,t,r,b ..." call.
TPoint TopLeftOf(const std::string& call)
{
    int l = 0, t = 0;
    std::sscanf(call.c_str(), "FillRect %d,%d", &l, &t);
    return {l, t};
}

}  // namespace

TEST(GridCellPainterPart, CheckBoxesByStateAndRights)
{
    struct Case {
        TCellType type;
        bool boolean;
        std::string text;
        bool canEdit;
        bool ticked;
        std::string face;  // the face colour as recorded
    };
    const Case cases[] = {
        {ctCheckBox, false, "", true, false, "ffffff"},
        {ctCheckBox, true, "", true, true, "ffffff"},
        {ctDataCheckBox, false, "Y", true, true, "ffffff"},  // ticked by the cell's text
        {ctDataCheckBox, true, "N", true, false, "ffffff"},
        {ctCheckBox, true, "", false, true, ""},              // read-only: the button face
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.type)) + " " + c.text);
        FakeCells cells;
        cells.text = c.text;
        cells.canEdit = c.canEdit;
        cells.look.SetControlStyle(csClassic);
        TCellGraphic g;
        g.CellType = c.type;
        g.CellBoolean = c.boolean;
        const auto calls = Paint(cells, g, {0, 0, 40, 20});
        const std::string fill = First(calls, "FillRect");
        ASSERT_FALSE(fill.empty());
        if (!c.face.empty()) EXPECT_NE(fill.find("color=" + c.face), std::string::npos) << fill;
        else EXPECT_EQ(fill.find("color=ffffff"), std::string::npos) << fill;
        EXPECT_EQ(Count(calls, "LineTo"), c.ticked ? 8 : 4);  // the frame, and two strokes twice
        const int n = cells.look.CheckSize();
        EXPECT_EQ(TopLeftOf(fill), (TPoint{1, (20 - n) / 2}));
    }
}

TEST(GridCellPainterPart, ProgressFollowsTheCellsNumberWithinItsRange)
{
    auto paint = [](std::optional<int> v) {
        FakeCells cells;
        cells.number = v;
        TCellGraphic g;
        g.CellType = ctProgress;
        g.CellColor = clBlue;
        g.CellColor2 = clWhite;
        return Paint(cells, g, {0, 0, 100, 20});
    };
    EXPECT_EQ(paint(std::nullopt), paint(0));  // no number draws an empty bar
    EXPECT_EQ(paint(-5), paint(0));
    EXPECT_EQ(paint(150), paint(100));
    EXPECT_NE(paint(30), paint(60));
}

TEST(GridCellPainterPart, AButtonKeepsItsPlaceInTheCellOnTheScreenOnly)
{
    FakeCells cells;
    cells.cellBox = {100, 50, 180, 74};
    TCellGraphic g;
    g.CellType = ctButton;
    g.CellIndex = 20 | (10 << 16);
    g.CellText = "Go";
    const auto calls = Paint(cells, g, {102, 52, 178, 72});
    const TPoint at = TopLeftOf(First(calls, "FillRect"));
    const int kept = int(g.CellValue);
    EXPECT_EQ(kept & 0xFFFF, at.X - 100);
    EXPECT_EQ(kept >> 16, at.Y - 50);
    g.CellValue = -1;
    Paint(cells, g, {10, 10, 60, 30}, 2.0);  // on a page
    EXPECT_EQ(g.CellValue, -1);
}

TEST(GridCellPainterPart, NodeBoxesMoveByTheIndentPerLevel)
{
    auto boxLeft = [](int level, int offset) {
        FakeCells cells;
        cells.level = level;
        cells.nodeOffset = offset;
        TCellGraphic g;
        g.CellType = ctNode;
        return TopLeftOf(First(Paint(cells, g, {40, 0, 120, 20}), "FillRect")).X;
    };
    const int indent = TCellNode(nullptr).NodeIndent();
    EXPECT_EQ(boxLeft(3, 0) - boxLeft(1, 0), 2 * indent);
    EXPECT_EQ(boxLeft(0, 0), boxLeft(1, 0));  // below level 1 counts as 1
    EXPECT_EQ(boxLeft(1, 0) - boxLeft(1, 15), 15);
}

TEST(GridCellPainterPart, TheCommentMarkOnlyWithAColour)
{
    FakeCells cells;
    TCellGraphic g;
    g.CellType = ctComment;
    EXPECT_EQ(Count(Paint(cells, g, {0, 0, 50, 20}), "Polygon"), 1);
    cells.look.SetCommentColor(clNone);
    EXPECT_EQ(Count(Paint(cells, g, {0, 0, 50, 20}), "Polygon"), 0);
    // no image list: the images draw nothing
    g.CellType = ctImageList;
    EXPECT_TRUE(Paint(cells, g, {0, 0, 50, 20}).empty());
}
