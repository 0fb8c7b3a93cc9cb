// The grid, the typed edit and the text editor with another program: drags to it and
// drops from it (text, CSV and other files) through the desktop's drag and drop.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/Grids.h"
#include "platform/forms/DragDrop.h"
#include "platform/forms/Forms.h"
#include "tests/dragdrop_x11/X11Peer.h"
#include "tests/support/TestSupport.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"

using namespace platform;
using namespace x11peer;

namespace {

struct WidgetsWithPeer : ::testing::Test {
    testsupport::TempDir dir{"dnd-widgets"};
    TForm* form = nullptr;
    std::vector<std::string> events;
    void SetUp() override
    {
        EnsurePlatform();
        form = new TForm(nullptr);
        form->SetBounds(20, 20, 400, 260);
    }
    void Show()
    {
        form->Show();
        Pump([] { return true; });
    }
    void TearDown() override { delete form; }
    static TPoint Screen(TControl* c, TPoint p) { return c->ClientToScreen(p); }
};

grid::TExStringGrid* NewGrid(TForm* form)
{
    auto* g = new grid::TExStringGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 380, 240);
    g->SetColCount(4);
    g->SetRowCount(6);
    g->SetDefaultRowHeight(24);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 6; ++r) g->SetCells(c, r, "a" + std::to_string(c) + std::to_string(r));
    g->DragDropSettings.OleDropSource = true;
    g->DragDropSettings.SetOleDropTarget(true);
    return g;
}

TPoint Mid(grid::TExStringGrid* g, int c, int r)
{
    const TRect R = g->CellRect(c, r);
    return g->ClientToScreen(TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
}

}  // namespace

TEST_F(WidgetsWithPeer, GridCellsDraggedToAnotherProgramGoThereAsTextAndLeaveOnAMove)
{
    auto* g = NewGrid(form);
    int stop = -1;
    g->OnOleDragStop = [&](TObject*, int e) { stop = e; };
    Show();
    g->SetSelection(TGridRect{1, 1, 2, 2});
    Peer peer("target", 600, 40, dir.file("cells.txt"));
    ASSERT_TRUE(peer.Ready());
    const pid_t mouse = Drag(Mid(g, 2, 2), {700, 100});
    ASSERT_TRUE(Pump([&] { return stop != -1; }, mouse));
    const auto lines = peer.Finish();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "text=a11\ta21\r");
    EXPECT_EQ(lines[1].substr(0, 7), "a12\ta22");
    EXPECT_EQ(stop, DROPEFFECT_MOVE);
    EXPECT_EQ(g->Cells(1, 1), "");  // moved away
    EXPECT_EQ(g->Cells(2, 2), "");
    EXPECT_EQ(g->Cells(3, 1), "a31");
}

TEST_F(WidgetsWithPeer, GridTakesTextAndCSVFilesFromAnotherProgram)
{
    auto* g = NewGrid(form);
    std::vector<std::string> dropped;
    g->OnOleDropped = [&](TObject*, const TRect& R) {
        dropped.push_back(std::to_string(R.Left) + "," + std::to_string(R.Top) + "-" + std::to_string(R.Right) + "," +
                          std::to_string(R.Bottom));
    };
    Show();
    const std::string csv = dir.file("data.csv");
    std::ofstream(csv) << "x,y\n1,2\n";
    struct Case {
        std::string kind, arg, effect;
        std::vector<std::string> cells;  // (1,2) (2,2) (1,3) (2,3) after the drop, or (0,0) (1,0) (0,1) (1,1)
        bool fromOrigin;
    } cases[] = {
        {"text", "p\tq\nr\ts", "effect=2", {"p", "q", "r", "s"}, false},
        {"files", csv, "effect=1", {"x", "y", "1", "2"}, true},  // files are read: the source keeps them
    };
    int n = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.kind);
        Peer peer("source", 600, 40, dir.file("from" + std::to_string(n++) + ".txt"), {k.kind, k.arg});
        ASSERT_TRUE(peer.Ready());
        const pid_t mouse = Drag({700, 100}, Mid(g, 1, 2));
        const auto lines = peer.Finish();
        Pump([] { return true; }, mouse);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "result=drop");
        EXPECT_EQ(lines[1], k.effect);
        const int c0 = k.fromOrigin ? 0 : 1, r0 = k.fromOrigin ? 0 : 2;
        EXPECT_EQ(g->Cells(c0, r0), k.cells[0]);
        EXPECT_EQ(g->Cells(c0 + 1, r0), k.cells[1]);
        EXPECT_EQ(g->Cells(c0, r0 + 1), k.cells[2]);
        EXPECT_EQ(g->Cells(c0 + 1, r0 + 1), k.cells[3]);
    }
    EXPECT_EQ(dropped, (std::vector<std::string>{"1,2-2,3"}));
}

TEST_F(WidgetsWithPeer, EditTextGoesToAnotherProgramAndComesFromOne)
{
    auto* e = new edit::TExEdit(form);
    e->SetParent(form);
    e->SetBounds(10, 10, 300, 24);
    e->OleDropSource = true;
    e->SetOleDropTarget(true);
    e->SetText("hello big world");
    Show();
    Peer peer("target", 600, 40, dir.file("edit.txt"));
    ASSERT_TRUE(peer.Ready());
    // The drag starts in the selection of the focused edit (the other window took the focus).
    const TPoint inSel = e->ClientToScreen(TPoint{e->PosFromChar(7).X, 12});
    ASSERT_TRUE(MoveTo(inSel));
    form->Show();
    Pump([&] { return form->Active(); });
    e->SetFocus();
    e->SetSelStart(6);
    e->SetSelLength(4);  // "big "
    ASSERT_TRUE(e->Focused());
    const pid_t mouse = Drag(inSel, {700, 100});
    const auto lines = peer.Finish();
    Pump([] { return true; }, mouse);
    EXPECT_EQ(lines, (std::vector<std::string>{"text=big "}));
    Pump([&] { return e->Text() == "hello world"; });
    EXPECT_EQ(e->Text(), "hello world");  // moved out

    Peer from("source", 600, 40, dir.file("edit2.txt"), {"text", "new "});
    ASSERT_TRUE(from.Ready());
    const TPoint at = e->ClientToScreen(TPoint{e->PosFromChar(6).X, 12});
    const pid_t mouse2 = Drag({700, 100}, {at.X - 2, at.Y - 2});
    const auto lines2 = from.Finish();
    Pump([] { return true; }, mouse2);
    EXPECT_EQ(lines2, (std::vector<std::string>{"result=drop", "effect=2"}));
    EXPECT_EQ(e->Text(), "hello new world");
}

TEST_F(WidgetsWithPeer, TextEditorLoadsAFileDroppedFromAnotherProgram)
{
    auto* m = new memo::TExMemo(form);
    m->SetParent(form);
    m->SetBounds(0, 0, 380, 240);
    m->SetAcceptFiles(true);
    std::vector<std::string> asked;
    m->OnFileDrop = [&](TObject*, const std::string& f, bool& defaultHandler) {
        asked.push_back(f);
        defaultHandler = f.find("skip") == std::string::npos;
    };
    Show();
    const std::string doc = dir.file("doc.txt"), skip = dir.file("skip.txt");
    std::ofstream(doc) << "first line\nsecond line\n";
    std::ofstream(skip) << "not this\n";
    Peer peer("source", 600, 40, dir.file("memo.txt"), {"files", doc + "|" + skip});
    ASSERT_TRUE(peer.Ready());
    const pid_t mouse = Drag({700, 100}, m->ClientToScreen(TPoint{200, 100}));
    const auto lines = peer.Finish();
    Pump([] { return true; }, mouse);
    EXPECT_EQ(lines, (std::vector<std::string>{"result=drop", "effect=1"}));
    EXPECT_EQ(asked, (std::vector<std::string>{doc, skip}));
    ASSERT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Get(0), "first line");
    EXPECT_EQ(m->Lines()->Get(1), "second line");

    // Without AcceptFiles the editor takes no files.
    m->SetAcceptFiles(false);
    Peer again("source", 600, 40, dir.file("memo2.txt"), {"files", skip});
    ASSERT_TRUE(again.Ready());
    const pid_t mouse2 = Drag({700, 100}, m->ClientToScreen(TPoint{200, 100}));
    EXPECT_EQ(again.Finish(), (std::vector<std::string>{"result=cancel", "effect=0"}));
    Pump([] { return true; }, mouse2);
    EXPECT_EQ(m->Lines()->Get(0), "first line");
}

namespace {

// The screen centres of the peer grid's cells, from its ready file.
std::map<std::pair<int, int>, TPoint> PeerCells(const Peer& peer)
{
    std::map<std::pair<int, int>, TPoint> cells;
    for (const std::string& l : Lines(peer.out + ".ready")) {
        int c = 0, r = 0, x = 0, y = 0;
        if (std::sscanf(l.c_str(), "%d,%d=%d,%d", &c, &r, &x, &y) == 4) cells[{c, r}] = TPoint{x, y};
    }
    return cells;
}

std::string Row(grid::TExStringGrid* g, int r)
{
    std::string s;
    for (int c = 1; c < g->ColCount(); ++c) s += (c > 1 ? "|" : "") + g->Cells(c, r);
    return s;
}

// Whole rows and header columns, as the peer grid takes and gives them.
void RowsAndColumns(grid::TExStringGrid* g)
{
    g->SetOptions(g->Options() | goRowSelect);
    g->DragDropSettings.OleInsertRows = true;
    g->DragDropSettings.OleRemoveRows = true;
    g->DragDropSettings.OleColumnDragDrop = true;
}

}  // namespace

TEST_F(WidgetsWithPeer, WholeRowsMoveBetweenGridsOfTwoPrograms)
{
    auto* g = NewGrid(form);
    RowsAndColumns(g);
    int stop = -1;
    std::vector<std::string> dropped;
    g->OnOleDragStop = [&](TObject*, int e) { stop = e; };
    g->OnOleDropped = [&](TObject*, const TRect& R) {
        dropped.push_back(std::to_string(R.Top) + "-" + std::to_string(R.Bottom));
    };
    Show();

    // Two rows of this grid to the other program's grid: inserted there, removed here.
    g->SetSelection(TGridRect{1, 1, 3, 2});
    Peer target("grid", 600, 40, dir.file("rows-to.txt"));
    ASSERT_TRUE(target.Ready());
    const auto there = PeerCells(target);
    ASSERT_EQ(there.size(), 24u);
    const pid_t mouse = Drag(Mid(g, 1, 1), there.at({1, 2}));
    ASSERT_TRUE(Pump([&] { return stop != -1; }, mouse));
    EXPECT_EQ(stop, DROPEFFECT_MOVE);
    EXPECT_EQ(target.Finish(), (std::vector<std::string>{"row0=p10|p20|p30", "row1=p11|p21|p31", "row2=a11|a21|a31",
                                                          "row3=a12|a22|a32", "row4=p12|p22|p32", "row5=p13|p23|p33",
                                                          "row6=p14|p24|p34", "row7=p15|p25|p35"}));
    ASSERT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Row(g, 1), "a13|a23|a33");
    EXPECT_EQ(Row(g, 3), "a15|a25|a35");

    // The other program's first row to this grid's third: inserted here, removed there.
    Peer source("grid", 600, 40, dir.file("rows-from.txt"));
    ASSERT_TRUE(source.Ready());
    const auto from = PeerCells(source);
    const pid_t mouse2 = Drag(from.at({1, 1}), Mid(g, 1, 3));
    const auto lines = source.Finish();
    Pump([] { return true; }, mouse2);
    EXPECT_EQ(lines, (std::vector<std::string>{"stop=2", "row0=p10|p20|p30", "row1=p12|p22|p32", "row2=p13|p23|p33",
                                               "row3=p14|p24|p34", "row4=p15|p25|p35"}));
    ASSERT_EQ(g->RowCount(), 5);
    EXPECT_EQ(Row(g, 2), "a14|a24|a34");
    EXPECT_EQ(Row(g, 3), "p11|p21|p31");
    EXPECT_EQ(Row(g, 4), "a15|a25|a35");
    EXPECT_EQ(dropped, (std::vector<std::string>{"3-3"}));
}

TEST_F(WidgetsWithPeer, HeaderColumnsGoBetweenGridsOfTwoPrograms)
{
    auto* g = NewGrid(form);
    RowsAndColumns(g);
    int stop = -1;
    std::vector<std::string> cols;
    g->OnOleDragStop = [&](TObject*, int e) { stop = e; };
    g->OnOleDropCol = [&](TObject*, int r, int c, int col) {
        cols.push_back(std::to_string(col) + " at " + std::to_string(c) + "," + std::to_string(r));
    };
    Show();

    // This grid's third column to the other program's header: it hears of the column.
    Peer target("grid", 600, 40, dir.file("col-to.txt"));
    ASSERT_TRUE(target.Ready());
    const auto there = PeerCells(target);
    ASSERT_EQ(there.size(), 24u);
    const pid_t mouse = Drag(Mid(g, 2, 0), there.at({1, 0}));
    ASSERT_TRUE(Pump([&] { return stop != -1; }, mouse));
    const auto lines = target.Finish();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "col=2 at 1,0");
    EXPECT_EQ(lines.size(), 7u);  // the rows as they were: the grids move no column themselves
    EXPECT_EQ(Row(g, 0), "a10|a20|a30");

    // The other program's column to this grid's header.
    Peer source("grid", 600, 40, dir.file("col-from.txt"));
    ASSERT_TRUE(source.Ready());
    const auto from = PeerCells(source);
    const pid_t mouse2 = Drag(from.at({3, 0}), Mid(g, 1, 0));
    const auto lines2 = source.Finish();
    Pump([] { return true; }, mouse2);
    ASSERT_FALSE(lines2.empty());
    EXPECT_EQ(lines2[0], "stop=2");
    EXPECT_EQ(cols, (std::vector<std::string>{"3 at 1,0"}));

    // A column dropped on a body row is refused there.
    cols.clear();
    Peer refused("grid", 600, 40, dir.file("col-refused.txt"));
    ASSERT_TRUE(refused.Ready());
    const pid_t mouse3 = Drag(PeerCells(refused).at({2, 0}), Mid(g, 2, 3));
    const auto lines3 = refused.Finish();
    Pump([] { return true; }, mouse3);
    EXPECT_TRUE(cols.empty());
    ASSERT_EQ(lines3.size(), 6u);  // no stop: the drag ended without a drop
    EXPECT_EQ(lines3[0], "row0=p10|p20|p30");
    EXPECT_EQ(Row(g, 3), "a13|a23|a33");
}
