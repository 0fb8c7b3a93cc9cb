// A right-to-left grid: columns from the right edge, the mouse mapped the same way, text readable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GridWindow.h"
#include "platform/Messages.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Mask.h"
#include "widgets/html/HtmlEngine.h"
#include "widgets/html/HtmlText.h"

using namespace grid;
using namespace platform;

namespace {

constexpr int kColWidth = 80;

struct OrientedGrid : gridtest::GridWindow {
    OrientedGrid()
    {
        Open(500, 200, 4, 3);
        g->SetFixedCols(0);
        g->SetFixedRows(1);
        for (int c = 0; c < 4; ++c) {
            g->SetColWidths(c, kColWidth);
            g->SetCells(c, 0, "H" + std::to_string(c));
            g->SetCells(c, 1, "Rg" + std::to_string(c));
        }
        g->SetColors(0, 2, clRed);
        g->SetColors(3, 2, clBlue);
        form->Show();
    }
    ~OrientedGrid() { Close(); }
    std::unique_ptr<TBitmap> Shot(const std::string& name)
    {
        auto b = PaintToBitmap(g);
        if (const char* keep = std::getenv("KORVELO_GRID_PNG")) b->SaveToFile(std::string(keep) + "/" + name + ".png");
        return b;
    }
    // The shot's client pixel (the grid's frame left out).
    static TColor At(TBitmap& b, TExStringGrid* g, int x, int y)
    {
        const int fx = (g->Width() - g->ClientWidth()) / 2, fy = (g->Height() - g->ClientHeight()) / 2;
        return b.Canvas()->Pixel(x + fx, y + fy);
    }
};

// The dark pixels of a client box, as rows of '#' and '.', cut to the ink.
std::vector<std::string> Ink(TBitmap& b, TExStringGrid* g, const TRect& box)
{
    std::vector<std::string> rows;
    int l = box.Right - box.Left, r = 0;  // the ink's columns within the box
    for (int y = box.Top; y < box.Bottom; ++y) {
        std::string row;
        for (int x = box.Left; x < box.Right; ++x) {
            const TColor c = OrientedGrid::At(b, g, x, y);
            const bool dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
            row += dark ? '#' : '.';
            if (dark) {
                l = std::min(l, x - box.Left);
                r = std::max(r, x - box.Left + 1);
            }
        }
        rows.push_back(row);
    }
    std::vector<std::string> cut;
    for (const std::string& row : rows)
        if (l < r && row.find('#') != std::string::npos) cut.push_back(row.substr(size_t(l), size_t(r - l)));
    return cut;
}

}  // namespace

TEST(GridOrientation, ColumnsRunFromTheRightEdge)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    const int w = g->ClientWidth();
    const TRect cell = g->CellRect(0, 2);
    const int y = (cell.Top + cell.Bottom) / 2;
    auto ltr = f.Shot("orientation-ltr");
    EXPECT_EQ(OrientedGrid::At(*ltr, g, 10, y), clRed);
    EXPECT_EQ(OrientedGrid::At(*ltr, g, 3 * kColWidth + 10, y), clBlue);

    g->SetGridOrientation(true);
    EXPECT_TRUE(g->GridRightToLeft());
    auto rtl = f.Shot("orientation-rtl");
    EXPECT_EQ(OrientedGrid::At(*rtl, g, w - 10, y), clRed) << "column 0 at the right edge";
    EXPECT_EQ(OrientedGrid::At(*rtl, g, w - 3 * kColWidth - 10, y), clBlue);
    EXPECT_NE(OrientedGrid::At(*rtl, g, 10, y), clRed);

    // Each cell's text reads as it does left to right: the same ink, not its mirror image.
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        const TRect r = g->CellRect(c, 1);
        const std::vector<std::string> left = Ink(*ltr, g, r);
        const std::vector<std::string> right = Ink(*rtl, g, g->ShownRect(r));
        ASSERT_FALSE(left.empty());
        EXPECT_EQ(right, left);
        std::vector<std::string> mirrored = left;
        for (std::string& row : mirrored) row.assign(row.rbegin(), row.rend());
        EXPECT_NE(right, mirrored);
    }

    g->SetGridOrientation(false);
    auto back = f.Shot("orientation-back");
    EXPECT_EQ(OrientedGrid::At(*back, g, 10, y), clRed);
}

// A click at the right edge lands in column 0; the editor opens on the cell as shown.
TEST(GridOrientation, MouseAndEditorFollowTheMirroredColumns)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetOptions(g->Options() | goEditing);
    g->SetGridOrientation(true);
    const int w = g->ClientWidth();
    const TRect row = g->CellRect(0, 2);
    const int y = (row.Top + row.Bottom) / 2;
    struct Case {
        int x, col;
    } cases[] = {{w - 5, 0}, {w - kColWidth + 2, 0}, {w - kColWidth - 5, 1}, {w - 2 * kColWidth - 5, 2},
                 {w - 3 * kColWidth - 5, 3}};
    for (const Case& c : cases) {
        SendMouse(g, WM_LBUTTONDOWN, c.x, y);
        SendMouse(g, WM_LBUTTONUP, c.x, y);
        EXPECT_EQ(g->Col(), c.col) << "click at " << c.x;
        EXPECT_EQ(g->Row(), 2);
    }

    // a point on the screen maps the same way
    for (const Case& c : cases) {
        int col = -1, r = -1;
        g->ScreenToCell(g->ClientToScreen(TPoint{c.x, y}), col, r);
        EXPECT_EQ(col, c.col) << "screen point at " << c.x;
        EXPECT_EQ(r, 2);
    }

    g->SetCol(0);
    g->SetRow(2);
    g->SetEditorMode(true);
    ASSERT_TRUE(g->InplaceEditor());
    ASSERT_TRUE(g->InplaceEditor()->Visible());
    const TRect box = g->InplaceEditor()->BoundsRect();
    EXPECT_GE(box.Left, w - kColWidth - 1);
    EXPECT_LE(box.Right, w + 1);
    EXPECT_EQ(box.Top, row.Top);
}

// A cell that changes is repainted where it shows, not where it would be left to right.
TEST(GridOrientation, AChangedCellRepaintsWhereItShows)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetGridOrientation(true);
    const int w = g->ClientWidth();
    const TRect row = g->CellRect(1, 2);
    const int y = (row.Top + row.Bottom) / 2;
    auto shows = [&](int x, TColor c) {
        auto s = GrabWindow(g);
        return OrientedGrid::At(*s, g, x, y) == c;
    };
    ASSERT_TRUE(ProcessUntil([&] { return shows(w - 10, clRed); }));
    // the paint that follows the change takes in the cell where it shows (and only the cells there)
    int paints = 0;
    g->OnGetCellColor = [&](TObject*, int, int, TGridDrawState, TBrush&, TFont&) { ++paints; };
    for (int i = 0; i < 50 && (i < 5 || paints > 0); ++i) {  // until no paint is pending
        paints = 0;
        Application->ProcessMessages();
    }
    ASSERT_EQ(paints, 0);
    bool painted = false;
    g->OnGetCellColor = [&](TObject*, int r, int c, TGridDrawState, TBrush&, TFont&) {
        painted = painted || (c == 1 && r == 2);
    };
    g->SetColors(1, 2, clLime);
    EXPECT_TRUE(ProcessUntil([&] { return painted; }, 200));
    g->OnGetCellColor = nullptr;
    EXPECT_TRUE(ProcessUntil([&] { return shows(w - kColWidth - 40, clLime); }));
    EXPECT_FALSE(shows(kColWidth + 40, clLime));
}

// Sizing a column drags its line where the column's edge shows.
TEST(GridOrientation, TheSizingLineShowsAtTheMirroredEdge)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetOptions(g->Options() | goColSizing);
    g->SetGridOrientation(true);
    const int w = g->ClientWidth();
    ASSERT_TRUE(ProcessUntil([&] { return true; }));
    const TRect head = g->CellRect(0, 0);
    const int y = (head.Top + head.Bottom) / 2, edge = w - kColWidth;  // column 0's left edge as shown
    SendMouse(g, WM_LBUTTONDOWN, edge, y);
    SendMouse(g, WM_MOUSEMOVE, edge - 20, y, ssLeft);
    auto shot = GrabWindow(g);
    if (const char* keep = std::getenv("KORVELO_GRID_PNG")) shot->SaveToFile(std::string(keep) + "/orientation-sizing.png");
    const TRect row = g->CellRect(0, 2);
    const int below = (row.Top + row.Bottom) / 2;
    int dark = 0;
    for (int x = edge - 24; x <= edge - 16; ++x)
        if (OrientedGrid::At(*shot, g, x, below) == clBlack) ++dark;
    EXPECT_GE(dark, 1) << "the sizing line near the dragged edge";
    SendMouse(g, WM_LBUTTONUP, edge - 20, y);
    EXPECT_NEAR(g->ColWidths(0), kColWidth + 20, 2) << "dragging the edge left widens column 0";
}

// Mini-HTML runs set one after the other stay in their cell, at its right edge.
TEST(GridOrientation, MarkupRunsStayInTheirCell)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetCells(1, 2, "<b>Bold</b> and plain");
    g->SetColWidths(1, 150);
    g->SetGridOrientation(true);
    auto shot = f.Shot("orientation-html");
    auto dark = [&](const TRect& r) {
        int n = 0;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
            for (int x = r.Left + 2; x < r.Right - 2; ++x) {
                const TColor c = OrientedGrid::At(*shot, g, x, y);
                n += GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96;
            }
        return n;
    };
    const TRect cell = g->ShownRect(g->CellRect(1, 2)), next = g->ShownRect(g->CellRect(0, 2));
    EXPECT_GT(dark(cell), 40);
    EXPECT_EQ(dark(next), 0) << "nothing spills into the next cell";
    // the text keeps to the cell's right end, where a right-to-left cell starts
    const TRect rightEnd{cell.Right - 40, cell.Top, cell.Right, cell.Bottom};
    EXPECT_GT(dark(rightEnd), 10);
}

namespace {

// The columns of a client box's ink, from its left; {0, 0} when there is none.
std::pair<int, int> InkSpan(TBitmap& b, TExStringGrid* g, const TRect& box)
{
    int l = box.Right - box.Left, r = 0;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x) {
            const TColor c = OrientedGrid::At(b, g, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96) {
                l = std::min(l, x - box.Left);
                r = std::max(r, x - box.Left + 1);
            }
        }
    return l < r ? std::pair{l, r} : std::pair{0, 0};
}

}  // namespace

// A mini-HTML cell reads as it does left to right, word for word, its text at the cell's
// start as shown (the right edge).
TEST(GridOrientation, MarkupReadsInItsOrderAtTheMirroredPlace)
{
    const std::string texts[] = {"Two words", "<b>Bold</b> and plain", "<i>one</i><b>two</b> three",
                                 "<font color=\"#000080\">far</font> apart  text"};
    for (const std::string& t : texts) {
        SCOPED_TRACE(t);
        OrientedGrid f;
        TExStringGrid* g = f.g;
        g->SetColWidths(1, 150);
        g->SetCells(1, 2, t);
        const TRect cell = g->CellRect(1, 2);
        auto ltr = f.Shot("orientation-html-ltr");
        g->SetGridOrientation(true);
        auto rtl = f.Shot("orientation-html-rtl");
        const TRect shown = g->ShownRect(cell);
        const std::vector<std::string> left = Ink(*ltr, g, cell), right = Ink(*rtl, g, shown);
        ASSERT_FALSE(left.empty());
        EXPECT_EQ(right, left) << "the same pixels, words in their order and spaced the same";
        const auto a = InkSpan(*ltr, g, cell), b = InkSpan(*rtl, g, shown);
        // (the glyphs' side bearings aside)
        EXPECT_NEAR(cell.Width() - b.second, a.first, 2) << "as far from the right edge as from the left one";
        EXPECT_EQ(InkSpan(*rtl, g, g->ShownRect(g->CellRect(2, 2))), (std::pair{0, 0}));
    }
}

// A link in a mirrored cell is hit where its words show.
TEST(GridOrientation, MarkupLinksAreHitWhereTheyShow)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetColWidths(1, 200);
    g->SetCells(1, 2, "plain words <a href=\"there\">link</a>");
    g->SetGridOrientation(true);
    auto shot = f.Shot("orientation-html-link");
    const TRect cell = g->CellRect(1, 2), shown = g->ShownRect(cell);
    // the text reads left to right, so "link" is the ink's right end and "plain" its left
    const auto span = InkSpan(*shot, g, shown);
    ASSERT_LT(span.first, span.second);
    const int y = (cell.Top + cell.Bottom) / 2;
    std::vector<std::string> anchors;
    g->OnAnchorClick = [&](TObject*, int, int, const std::string& a, bool& autoHandle) {
        anchors.push_back(a);
        autoHandle = false;
    };
    auto click = [&](int x) {
        anchors.clear();
        SendMouse(g, WM_LBUTTONDOWN, x, y);
        SendMouse(g, WM_LBUTTONUP, x, y);
        return anchors;
    };
    EXPECT_EQ(click(shown.Left + span.second - 3), std::vector<std::string>{"there"});
    EXPECT_EQ(click(shown.Left + span.first + 3), std::vector<std::string>{});
}

// The form controls of a mirrored HTML cell are drawn, hit and edited where they show: at
// the cell's right end, where its text starts.
TEST(GridOrientation, MarkupControlsAreUsedWhereTheyShow)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetColWidths(1, 200);
    g->SetRowHeights(2, 30);
    g->SetGridOrientation(true);
    const TRect cell = g->CellRect(1, 2), shown = g->ShownRect(cell);
    const int y = cell.Top + 10;
    auto click = [&](int x) {
        SendMouse(g, WM_LBUTTONDOWN, x, y);
        SendMouse(g, WM_LBUTTONUP, x, y);
    };

    // a check box toggles where it is drawn
    g->SetCells(1, 2, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\"><b>x</b>");
    auto shot = f.Shot("orientation-html-check");
    const TRect inside{shown.Left + 3, shown.Top + 3, shown.Right - 3, shown.Bottom - 3};
    auto box = InkSpan(*shot, g, inside);
    box = {box.first + 3, box.second + 3};
    ASSERT_LT(box.first, box.second);
    EXPECT_GT(box.second, cell.Width() - 24) << "the check box at the cell's right end";
    std::string v;
    click(shown.Left + box.second - 6);
    ASSERT_TRUE(html::GetControlValue(g->Cells(1, 2), "c1", v));
    EXPECT_EQ(v, "FALSE");
    click(shown.Left + 6);  // the empty left of the cell
    html::GetControlValue(g->Cells(1, 2), "c1", v);
    EXPECT_EQ(v, "FALSE");

    // an edit opened by a click and a combo reached from the keyboard open over their
    // boxes, which sit where they do left to right, moved with the text to the right end
    struct Case {
        const char* text;
        bool edit;
    } cases[] = {{"<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"80\"><b>x</b>", true},
                 {"<b>pick</b> <CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"one\" WIDTH=\"80\">", false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        g->SetCells(1, 2, k.text);
        TRect at[2];
        int ink[2] = {};
        for (bool rtl : {false, true}) {
            g->SetGridOrientation(rtl);
            const TRect where = g->ShownRect(cell);
            const TRect inside{where.Left + 3, where.Top + 3, where.Right - 3, where.Bottom - 3};
            ink[rtl] = InkSpan(*f.Shot(rtl ? "orientation-html-control-rtl" : "orientation-html-control"), g, inside).first;
            if (k.edit) {
                click(rtl ? where.Right - 40 : where.Left + 20);
            } else {
                g->SetCol(1);
                g->SetRow(2);
                SendKey(g, VK_F2);
            }
            ASSERT_TRUE(g->HTMLControlActive()) << rtl;
            TWinControl* c = k.edit ? static_cast<TWinControl*>(g->ControlEdit()) : g->ControlCombo();
            EXPECT_TRUE(c->Visible());
            at[rtl] = c->BoundsRect();
            OffsetRect(at[rtl], -where.Left, -where.Top);
            if (const char* keep = std::getenv("KORVELO_GRID_PNG"))
                GrabWindow(g)->SaveToFile(std::string(keep) + "/orientation-html-open" + (rtl ? "-rtl" : "") + ".png");
            g->SetFocus();
            ASSERT_TRUE(ProcessUntil([&] { return !g->HTMLControlActive(); }, 500));
        }
        const int shift = ink[1] - ink[0];
        EXPECT_GT(shift, 40);
        // (the ink's shift may differ from the text's by a side bearing)
        EXPECT_NEAR(at[1].Left, at[0].Left + shift, 2);
        EXPECT_EQ(at[1].Width(), at[0].Width());
        EXPECT_EQ(at[1].Top, at[0].Top);
        EXPECT_EQ(at[1].Bottom, at[0].Bottom);
    }
}

// Moving a column or a row: the drag image follows the mouse and the arrows mark the
// target's edge where it shows.
TEST(GridOrientation, MoveArrowsMarkTheMirroredEdge)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetFixedCols(1);  // a row is taken by its fixed cell
    g->SetOptions(g->Options() | goColMoving | goRowMoving);
    g->SetGridOrientation(true);
    auto mid = [&](int c, int r) {
        const TRect s = g->ShownRect(g->CellRect(c, r));
        return TPoint{(s.Left + s.Right) / 2, (s.Top + s.Bottom) / 2};
    };
    {
        const TPoint from = mid(1, 0), to = mid(3, 0);
        SendMouse(g, WM_LBUTTONDOWN, from.X, from.Y);
        SendMouse(g, WM_MOUSEMOVE, from.X - 20, from.Y, ssLeft);
        SendMouse(g, WM_MOUSEMOVE, to.X, to.Y, ssLeft);
        ASSERT_TRUE(g->PopupButton()->Visible());
        const TPoint mouse = g->ClientToScreen(to);
        EXPECT_LE(g->PopupButton()->Left(), mouse.X);
        EXPECT_GE(g->PopupButton()->Left() + g->PopupButton()->Width(), mouse.X) << "the image under the mouse";
        ASSERT_TRUE(g->ArrowWindow(arrUp)->Visible());
        // the target's far edge, its right one laid out, shows at its left
        const int edge = g->ShownRect(g->CellRect(3, 0)).Left;
        EXPECT_EQ(g->ArrowWindow(arrUp)->Left(), g->ClientToScreen({edge - 6, 0}).X);
        EXPECT_EQ(g->ArrowWindow(arrDown)->Left(), g->ClientToScreen({edge - 5, 0}).X);
        EXPECT_EQ(g->ArrowWindow(arrUp)->Top(), g->ClientToScreen({0, g->CellRect(3, 0).Bottom}).Y);
        SendMouse(g, WM_LBUTTONUP, to.X, to.Y);
        EXPECT_EQ(g->Cells(3, 1), "Rg1");
    }
    {
        const TPoint from = mid(0, 2), to = mid(0, 1);
        SendMouse(g, WM_LBUTTONDOWN, from.X, from.Y);
        SendMouse(g, WM_MOUSEMOVE, from.X, from.Y - 10, ssLeft);
        SendMouse(g, WM_MOUSEMOVE, to.X, to.Y, ssLeft);
        ASSERT_TRUE(g->ArrowWindow(arrRight)->Visible());
        ASSERT_TRUE(g->ArrowWindow(arrLeft)->Visible());
        // the arrow pointing left stands right of the row's start, the other left of its end
        const int start = g->ShownRect(g->CellRect(0, 1)).Right, end = g->ShownRect(g->CellRect(3, 1)).Left;
        EXPECT_EQ(g->ArrowWindow(arrRight)->Left(), g->ClientToScreen({start + 1, 0}).X);
        EXPECT_EQ(g->ArrowWindow(arrLeft)->Left(), g->ClientToScreen({end - 9, 0}).X);
        EXPECT_EQ(g->ArrowWindow(arrLeft)->Top(), g->ClientToScreen({0, g->CellRect(0, 1).Top - 5}).Y);
        SendMouse(g, WM_LBUTTONUP, to.X, to.Y);
    }
}

// The pan's focus mark is drawn by the pressed point as the grid shows it, and goes again.
TEST(GridOrientation, ThePanMarkIsAtThePressedPoint)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->IntelliPan = TExStringGrid::ipBoth;
    g->SetGridOrientation(true);
    ASSERT_TRUE(ProcessUntil([&] { return true; }));
    // a point below the rows, on the grid's plain background
    const int px = g->ClientWidth() - 60, py = g->CellRect(0, 2).Bottom + 20;
    SendMouse(g, WM_MBUTTONDOWN, px, py);
    SendMouse(g, WM_MBUTTONUP, px, py);
    ASSERT_TRUE(g->Panning());
    auto shot = GrabWindow(g);
    if (const char* keep = std::getenv("KORVELO_GRID_PNG")) shot->SaveToFile(std::string(keep) + "/orientation-pan.png");
    // the mark's square is the mirror image of the one left to right: it reaches left of the point
    auto at = [&](TBitmap& b, int x, int y) { return OrientedGrid::At(b, g, x, y); };
    EXPECT_EQ(at(*shot, px - 15, py + 16), clBlack) << "the dot";
    EXPECT_EQ(at(*shot, px - 9, py + 16), clWhite) << "inside the ring";
    int dark = 0, beside = 0;
    for (int y = py; y < py + 32; ++y)
        for (int x = 0; x < 32; ++x) {
            dark += at(*shot, px - 31 + x, y) == clBlack;
            beside += at(*shot, px + 2 + x, y) == clBlack;
        }
    EXPECT_GT(dark, 60);
    EXPECT_EQ(beside, 0);
    SendKey(g, VK_SHIFT);
    ASSERT_FALSE(g->Panning());
    EXPECT_TRUE(ProcessUntil([&] { return at(*GrabWindow(g), px - 15, py + 16) != clBlack; }, 1000)) << "erased";
}

// A form button in a mirrored HTML cell is drawn pressed where it shows while held, and
// its click is reported.
TEST(GridOrientation, AMarkupButtonIsPressedWhereItShows)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetColWidths(1, 200);
    g->SetRowHeights(2, 34);
    g->SetCells(1, 2, "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Push\" WIDTH=\"70\"><b>x</b>");
    std::vector<std::string> clicks;
    g->OnControlClick = [&](TObject*, int, int, const std::string& id, const std::string& type, const std::string&) {
        clicks.push_back(id + " " + type);
    };
    g->SetGridOrientation(true);
    const TRect shown = g->ShownRect(g->CellRect(1, 2));
    // the button ends where the text's "x" begins, near the cell's right end
    auto face = [&] {
        auto b = f.Shot("orientation-html-button");
        std::vector<TColor> px;
        for (int y = shown.Top; y < shown.Bottom; ++y)
            for (int x = shown.Right - 90; x < shown.Right; ++x) px.push_back(OrientedGrid::At(*b, g, x, y));
        return px;
    };
    const auto up = face();
    const int x = shown.Right - 40, y = shown.Top + 18;
    SendMouse(g, WM_LBUTTONDOWN, x, y);
    EXPECT_TRUE(g->HTMLButtonDown());
    EXPECT_NE(face(), up) << "drawn pressed";
    SendMouse(g, WM_LBUTTONUP, x, y);
    EXPECT_FALSE(g->HTMLButtonDown());
    EXPECT_EQ(face(), up);
    EXPECT_EQ(clicks, std::vector<std::string>{"b BUTTON"});
    clicks.clear();
    SendMouse(g, WM_LBUTTONDOWN, shown.Left + 20, y);  // the cell's empty left
    SendMouse(g, WM_LBUTTONUP, shown.Left + 20, y);
    EXPECT_TRUE(clicks.empty());
}

// Each line of a mirrored HTML cell ends at the cell's right edge; a paragraph aligned to
// the right keeps to the left edge.
TEST(GridOrientation, MarkupLinesKeepToTheMirroredSides)
{
    OrientedGrid f;
    TExStringGrid* g = f.g;
    g->SetColWidths(1, 200);
    g->SetRowHeights(2, 40);
    g->SetGridOrientation(true);
    const TRect cell = g->CellRect(1, 2), shown = g->ShownRect(cell);
    const int half = (shown.Top + shown.Bottom) / 2;
    const TRect top{shown.Left + 3, shown.Top + 2, shown.Right - 3, half}, bottom{shown.Left + 3, half, shown.Right - 3, shown.Bottom - 3};
    g->SetCells(1, 2, "<b>a long</b> first line<br>short");
    auto shot = f.Shot("orientation-html-lines");
    const auto a = InkSpan(*shot, g, top), b = InkSpan(*shot, g, bottom);
    ASSERT_LT(a.first, a.second);
    ASSERT_LT(b.first, b.second);
    EXPECT_NEAR(a.second, b.second, 2) << "both lines end at the right";
    EXPECT_GT(b.first, a.first + 30) << "the short line starts further right";
    EXPECT_GT(a.second, top.Right - top.Left - 5);

    g->SetCells(1, 2, "<p align=\"right\">short</p>");
    shot = f.Shot("orientation-html-right");
    const auto c = InkSpan(*shot, g, TRect{shown.Left + 3, shown.Top + 2, shown.Right - 3, shown.Bottom - 3});
    ASSERT_LT(c.first, c.second);
    EXPECT_LT(c.first, 5) << "at the left edge";
}
