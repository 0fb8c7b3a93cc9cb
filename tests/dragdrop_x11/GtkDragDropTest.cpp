// Drags between our controls and a program of another toolkit (GTK 3), which asks for the
// data only after the drop: text both ways, move and copy, and files to it.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/forms/DragDrop.h"
#include "platform/forms/Forms.h"
#include "tests/dragdrop_x11/X11Peer.h"
#include "tests/support/TestSupport.h"
#include "widgets/edit/ExEdit.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;
using namespace x11peer;

namespace {

// Debian's own Python, which the GTK bindings are installed for.
const std::vector<std::string> kGtk{"/usr/bin/python3", GTK_PEER};
const TPoint kInGtk{700, 100};  // inside the GTK window placed at (600, 40)

struct WithGtk : ::testing::Test {
    testsupport::TempDir dir{"dnd-gtk"};
    TForm* form = nullptr;
    edit::TExEdit* e = nullptr;
    void SetUp() override
    {
        EnsurePlatform();
        form = new TForm(nullptr);
        form->SetBounds(20, 20, 400, 260);
        e = new edit::TExEdit(form);
        e->SetParent(form);
        e->SetBounds(10, 10, 300, 24);
        e->OleDropSource = true;
        e->SetOleDropTarget(true);
        form->Show();
        Pump([] { return true; });
    }
    void TearDown() override { delete form; }
    TPoint At(int ch) { return e->ClientToScreen(TPoint{e->PosFromChar(ch).X, 12}); }
    // Selects count characters from start in the focused edit, the mouse over the selection.
    void Select(int start, int count)
    {
        ASSERT_TRUE(MoveTo(At(start + 1)));
        form->Show();
        Pump([&] { return form->Active(); });
        e->SetFocus();
        e->SetSelStart(start);
        e->SetSelLength(count);
        ASSERT_TRUE(e->Focused());
    }
};

}  // namespace

TEST_F(WithGtk, EditTextGoesToAGtkProgramAndAMoveTakesItOnlyOnceThereReallyHoldsIt)
{
    e->SetText("hello big world");
    struct Case {
        const char* name;
        const char* mode;
        int start, count;
        std::string key;
        std::vector<std::string> lines;
        std::string after;
    } cases[] = {
        {"move", "target", 6, 4, "", {"text=big ", "action=move"}, "hello world"},
        {"copy", "target", 0, 5, "ctrl", {"text=hello", "action=copy"}, "hello world"},
        // The receiver answers the drop as failed and fetches nothing: the text stays.
        {"refused move", "refuse", 6, 5, "", {"refused"}, "hello world"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Peer peer(kGtk, c.mode, 600, 40, dir.file("edit" + std::to_string(n++) + ".txt"));
        ASSERT_TRUE(peer.Ready());
        Select(c.start, c.count);
        const pid_t mouse = Drag(At(c.start + 1), kInGtk, c.key);
        const auto lines = peer.Finish();
        Pump([] { return true; }, mouse);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(e->Text(), c.after);
    }
}

TEST_F(WithGtk, GridCellsMovedToAGtkProgramLeaveOnlyOnceItHoldsThem)
{
    auto* g = new grid::TExStringGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 40, 380, 200);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetDefaultRowHeight(24);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r) g->SetCells(c, r, "a" + std::to_string(c) + std::to_string(r));
    g->DragDropSettings.OleDropSource = true;
    int stop = -1;
    g->OnOleDragStop = [&](TObject*, int effect) { stop = effect; };
    Pump([] { return true; });
    const TRect R = g->CellRect(1, 1);
    const TPoint mid = g->ClientToScreen(TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});

    // Refused: the cells stay and no move is reported.
    g->SetSelection(TGridRect{1, 1, 1, 1});
    Peer refuse(kGtk, "refuse", 600, 40, dir.file("grid-refused.txt"));
    ASSERT_TRUE(refuse.Ready());
    const pid_t mouse = Drag(mid, kInGtk);
    EXPECT_EQ(refuse.Finish(), (std::vector<std::string>{"refused"}));
    Pump([] { return true; }, mouse);
    EXPECT_NE(stop, DROPEFFECT_MOVE);
    EXPECT_EQ(g->Cells(1, 1), "a11");

    stop = -1;
    g->SetSelection(TGridRect{1, 1, 1, 1});
    Peer peer(kGtk, "target", 600, 40, dir.file("grid.txt"));
    ASSERT_TRUE(peer.Ready());
    const pid_t mouse2 = Drag(mid, kInGtk);
    ASSERT_TRUE(Pump([&] { return stop != -1; }, mouse2));
    const auto lines = peer.Finish();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 8), "text=a11");
    EXPECT_EQ(lines[1], "action=move");
    EXPECT_EQ(stop, DROPEFFECT_MOVE);
    EXPECT_EQ(g->Cells(1, 1), "");
}

TEST_F(WithGtk, EditTakesTextFromAGtkProgramAsAMoveOrACopy)
{
    e->SetText("hello world");
    struct Case {
        const char* name;
        std::string key;
        std::vector<std::string> lines;
        std::string after;
    } cases[] = {
        {"move", "", {"end=move"}, "hello new world"},
        {"copy", "ctrl", {"end=copy"}, "hello new new world"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Peer from(kGtk, "source", 600, 40, dir.file("from" + std::to_string(n++) + ".txt"), {"new "});
        ASSERT_TRUE(from.Ready());
        const TPoint at = At(6);
        const pid_t mouse = Drag(kInGtk, {at.X - 2, at.Y - 2}, c.key);
        const auto lines = from.Finish();
        Pump([] { return true; }, mouse);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(e->Text(), c.after);
    }
}

TEST_F(WithGtk, FilesGoToAGtkProgram)
{
    const std::string a = dir.file("one.txt"), b = dir.file("two words.csv");
    std::ofstream(a) << "1\n";
    std::ofstream(b) << "2\n";
    Peer target(kGtk, "target", 600, 40, dir.file("files.txt"));
    ASSERT_TRUE(target.Ready());
    // Our other program gives the files.
    Peer source("source", 100, 300, dir.file("files-from.txt"), {"files", a + "|" + b});
    ASSERT_TRUE(source.Ready());
    const pid_t mouse = Drag({200, 360}, kInGtk);
    const auto lines = target.Finish();
    const auto result = source.Finish();
    Pump([] { return true; }, mouse);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "file=" + a);
    EXPECT_EQ(lines[1], "file=" + b);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0], "result=drop");
}
