// Dragging cells, rows and columns within a grid and between two grids with the mouse,
// and dropping text, rich text, columns and file lists on a grid.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/TestRig.h"
#include "platform/forms/DragDrop.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Clipboard.h"
#include "tests/support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/GrdDD.h"

using namespace platform;
using namespace grid;

namespace {

// Data from elsewhere: any formats with any blocks, or none listed at all.
struct Foreign : TDataObject {
    using Blocks = std::vector<std::pair<unsigned, std::string>>;
    explicit Foreign(Blocks b = {}) : blocks(std::move(b)) {}
    Blocks blocks;
    bool listable = true;
    HRESULT QueryGetData(unsigned f) const override
    {
        for (auto& b : blocks)
            if (b.first == f) return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT GetData(unsigned f, std::string& block) const override
    {
        for (auto& b : blocks)
            if (b.first == f) {
                block = b.second;
                return S_OK;
            }
        return DV_E_FORMATETC;
    }
    bool EnumFormats(std::vector<unsigned>& formats) const override
    {
        for (auto& b : blocks) formats.push_back(b.first);
        return listable;
    }
};

Foreign TextData(const std::string& text) { return Foreign{{{CF_TEXT, text + '\0'}}}; }
Foreign FileData(const std::vector<std::string>& files, bool wide = false)
{
    return Foreign{{{CF_HDROP, MakeFileDropBlock(files, wide)}}};
}

struct DragDropTest : ::testing::Test {
    TForm* form = nullptr;
    TExStringGrid *a = nullptr, *b = nullptr;
    std::vector<std::string> events;

    TExStringGrid* NewGrid(int left, const std::string& tag)
    {
        auto* g = new TExStringGrid(form);
        g->SetParent(form);
        g->SetBounds(left, 0, 280, 200);
        Fill(g, tag);
        g->DragDropSettings.OleDropSource = true;
        g->DragDropSettings.SetOleDropTarget(true);
        g->OnOleDragStart = [this, tag](TObject*, int r, int c) { Log(tag + " start " + Cell(c, r)); };
        g->OnOleDragStop = [this, tag](TObject*, int e) { Log(tag + " stop " + std::to_string(e)); };
        g->OnOleDropped = [this, tag](TObject*, const TRect& R) {
            Log(tag + " dropped " + Cell(R.Left, R.Top) + "-" + Cell(R.Right, R.Bottom));
        };
        g->OnOleDropCol = [this, tag](TObject*, int r, int c, int col) {
            Log(tag + " col " + std::to_string(col) + " at " + Cell(c, r));
        };
        return g;
    }
    // 4 x 6 cells, one fixed column and row, each named after its place.
    static void Fill(TExStringGrid* g, const std::string& tag)
    {
        g->SetColCount(4);
        g->SetRowCount(6);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->SetDefaultRowHeight(24);
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 6; ++r) g->SetCells(c, r, tag + std::to_string(c) + std::to_string(r));
    }
    static std::string Cell(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }
    void Log(const std::string& s) { events.push_back(s); }
    void SetUp() override
    {
        EnsurePlatform();
        form = Construct<TForm>(Application);
        form->SetBounds(0, 0, 600, 240);
        a = NewGrid(0, "a");
        b = NewGrid(300, "b");
        form->Show();
        ASSERT_TRUE(ProcessUntil([&] { return a->Showing() && b->Showing(); }));
    }
    void TearDown() override
    {
        SetDragDropErrorHandler(nullptr);
        SetRTFAware(false);
        form->Free();
    }
    static TPoint Mid(TExStringGrid* g, int c, int r)
    {
        const TRect R = g->CellRect(c, r);
        return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
    // Presses on (c, r) of `from`, moves past the start distance, moves over (tc, tr) of
    // `to` and lets go there (Esc first when asked); keys are held throughout.
    void Drag(TExStringGrid* from, int c, int r, TExStringGrid* to, int tc, int tr, UINT keys = 0, bool escape = false)
    {
        const TPoint start = Mid(from, c, r);
        SendMouse(from, WM_LBUTTONDOWN, start.X, start.Y);
        const TPoint p = from->ScreenToClient(to->ClientToScreen(Mid(to, tc, tr)));
        PostMessage(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON | keys, MakeLParam(p.X, p.Y));
        if (escape) PostMessage(from->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(from->Handle(), WM_LBUTTONUP, keys, MakeLParam(p.X, p.Y));
        SendMouse(from, WM_MOUSEMOVE, start.X + 6, start.Y, ssLeft);  // starts the drag, which takes the rest
        Application->ProcessMessages();
    }
    static std::string Row(TExStringGrid* g, int r)
    {
        std::string s;
        for (int c = 1; c < g->ColCount(); ++c) s += (c > 1 ? "|" : "") + g->Cells(c, r);
        return s;
    }
    // Enters, moves over (c, r) of g and drops data there with the keys; the effect comes back.
    int DropOn(TExStringGrid* g, int c, int r, const TDataObject& data, unsigned keys = 0,
               int allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE)
    {
        TDropTarget* t = g->DragDropSettings.DropTarget();
        const TPoint at = g->ClientToScreen(Mid(g, c, r));
        int effect = allowed;
        t->DragEnter(data, keys | MK_LBUTTON, at, effect);
        if (effect == DROPEFFECT_NONE) {
            t->DragLeave();
            return effect;
        }
        effect = allowed;
        t->Drop(data, keys, at, effect);
        return effect;
    }
};

// ---------------------------------------------------------------- cells with the mouse

TEST_F(DragDropTest, CellsDraggedToAnotherGridMoveThereOrCopyWithCtrl)
{
    a->SetSelection(TGridRect{1, 1, 2, 2});
    Drag(a, 2, 2, b, 2, 3);
    EXPECT_EQ(Row(b, 3), "b13|a11|a21");
    EXPECT_EQ(Row(b, 4), "b14|a12|a22");
    EXPECT_EQ(Row(a, 1), "||a31");
    EXPECT_EQ(Row(a, 2), "||a32");
    EXPECT_EQ(events, (std::vector<std::string>{"a start 2,2", "b dropped 2,3-3,4", "a stop 2"}));
    EXPECT_EQ(b->Selection().Left, 2);
    EXPECT_EQ(b->Selection().Bottom, 4);

    events.clear();
    a->SetSelection(TGridRect{3, 4, 3, 5});
    Drag(a, 3, 4, b, 1, 1, MK_CONTROL);
    EXPECT_EQ(b->Cells(1, 1), "a34");
    EXPECT_EQ(b->Cells(1, 2), "a35");
    EXPECT_EQ(a->Cells(3, 4), "a34");  // a copy leaves the source
    EXPECT_EQ(events.back(), "a stop 1");
}

TEST_F(DragDropTest, AQuickMoveOffTheGridStillDragsThePressedCell)
{
    a->DragDropSettings.OleColumnDragDrop = true;
    const struct {
        int c, r, tc, tr;
        std::vector<std::string> events;
    } cases[] = {
        {2, 0, 1, 0, {"a start 2,0", "b col 2 at 1,0", "a stop 2"}},
        {2, 2, 2, 3, {"a start 2,2", "b dropped 2,3-2,3", "a stop 2"}},
    };
    for (const auto& k : cases) {
        events.clear();
        if (k.r > 0) a->SetSelection(TGridRect{k.c, k.r, k.c, k.r});
        const TPoint start = Mid(a, k.c, k.r);
        SendMouse(a, WM_LBUTTONDOWN, start.X, start.Y);
        const TPoint p = a->ScreenToClient(b->ClientToScreen(Mid(b, k.tc, k.tr)));
        PostMessage(a->Handle(), WM_LBUTTONUP, 0, MakeLParam(p.X, p.Y));
        SendMouse(a, WM_MOUSEMOVE, p.X, p.Y, ssLeft);  // the first move is over the other grid already
        Application->ProcessMessages();
        EXPECT_EQ(events, k.events) << k.c << "," << k.r;
    }
    EXPECT_EQ(b->Cells(2, 3), "a22");
}

TEST_F(DragDropTest, CopyAlwaysKeepsMovedCellsAndEscCancels)
{
    a->DragDropSettings.OleCopyAlways = true;
    a->SetSelection(TGridRect{1, 1, 1, 1});
    Drag(a, 1, 1, b, 1, 5);
    EXPECT_EQ(b->Cells(1, 5), "a11");
    EXPECT_EQ(a->Cells(1, 1), "a11");

    events.clear();
    a->SetSelection(TGridRect{2, 2, 2, 2});
    Drag(a, 2, 2, b, 3, 3, 0, true);
    EXPECT_EQ(b->Cells(3, 3), "b33");
    EXPECT_EQ(events, (std::vector<std::string>{"a start 2,2"}));  // no stop after a cancel
    for (TArrowDirection d : {arrUp, arrDown, arrLeft}) EXPECT_FALSE(b->ArrowWindow(d)->Visible());
}

TEST_F(DragDropTest, CellsMovedWithinAGridKeepWhatLandsOnTheirOldPlace)
{
    a->SetSelection(TGridRect{1, 1, 2, 2});
    Drag(a, 1, 1, a, 2, 2);
    EXPECT_EQ(Row(a, 1), "||a31");
    EXPECT_EQ(Row(a, 2), "|a11|a21");
    EXPECT_EQ(Row(a, 3), "a13|a12|a22");
}

TEST_F(DragDropTest, AClickOnTheSelectionWithoutMovingSelectsTheCell)
{
    a->SetSelection(TGridRect{1, 1, 3, 3});
    const TPoint p = Mid(a, 2, 2);
    SendMouse(a, WM_LBUTTONDOWN, p.X, p.Y);
    SendMouse(a, WM_MOUSEMOVE, p.X + 2, p.Y, ssLeft);  // within the start distance
    SendMouse(a, WM_LBUTTONUP, p.X + 2, p.Y);
    EXPECT_EQ(a->Selection().Left, 2);
    EXPECT_EQ(a->Selection().Right, 2);
    EXPECT_EQ(a->Row(), 2);
    EXPECT_TRUE(events.empty());
}

TEST_F(DragDropTest, ARefusedDragStartSelectsARangeInstead)
{
    a->OnOleDrag = [&](TObject*, int r, int c, const std::string& data, bool& allow) {
        Log("drag " + Cell(c, r) + " " + data);
        allow = false;
    };
    a->SetSelection(TGridRect{1, 1, 1, 1});
    const TPoint p = Mid(a, 1, 1), q = Mid(a, 3, 2);
    SendMouse(a, WM_LBUTTONDOWN, p.X, p.Y);
    SendMouse(a, WM_MOUSEMOVE, q.X, q.Y, ssLeft);
    SendMouse(a, WM_LBUTTONUP, q.X, q.Y);
    EXPECT_EQ(events, (std::vector<std::string>{"drag 3,2 a32"}));
    EXPECT_EQ(a->Selection().Left, 1);
    EXPECT_EQ(a->Selection().Right, 3);
    EXPECT_EQ(a->Selection().Bottom, 2);
}

// ---------------------------------------------------------------- rows

TEST_F(DragDropTest, RowsMoveBetweenGridsAndWithinAGrid)
{
    for (TExStringGrid* g : {a, b}) {
        g->SetOptions(g->Options() | goRowSelect);
        g->DragDropSettings.OleRemoveRows = true;
        g->DragDropSettings.OleInsertRows = true;
    }
    a->SetSelection(TGridRect{1, 2, 3, 3});
    Drag(a, 1, 2, b, 2, 1);
    EXPECT_EQ(b->RowCount(), 8);
    EXPECT_EQ(Row(b, 1), "a12|a22|a32");
    EXPECT_EQ(Row(b, 2), "a13|a23|a33");
    EXPECT_EQ(Row(b, 3), "b11|b21|b31");
    EXPECT_EQ(a->RowCount(), 4);
    EXPECT_EQ(Row(a, 2), "a14|a24|a34");

    // within one grid: the last row to the top; the inserted row moves the dragged one down
    b->SetSelection(TGridRect{1, 7, 3, 7});
    Drag(b, 1, 7, b, 1, 1);
    EXPECT_EQ(b->RowCount(), 8);
    EXPECT_EQ(Row(b, 1), "b15|b25|b35");
    EXPECT_EQ(Row(b, 2), "a12|a22|a32");
    EXPECT_EQ(Row(b, 7), "b14|b24|b34");
}

TEST_F(DragDropTest, DroppedLinesGoAsRowsAndSelectWhatTheyFill)
{
    const struct {
        bool insert;
        std::string text;
        int rows;
        std::string row2, row3, row4;
        std::string dropped;
    } cases[] = {
        {false, "a\tb\r\nc\td", 6, "b02|a|b", "b03|c|d", "b04|b14|b24", "b dropped 1,2-2,3"},
        {true, "x\r\ny", 8, "|x|", "|y|", "b02|b12|b22", "b dropped 1,2-1,3"},
        {true, "x\r\ny\r\n", 8, "|x|", "|y|", "b02|b12|b22", "b dropped 1,2-1,3"},
    };
    for (const auto& k : cases) {
        Fill(b, "b");
        b->DragDropSettings.OleInsertRows = k.insert;
        EXPECT_EQ(DropOn(b, 1, 2, TextData(k.text)), DROPEFFECT_MOVE) << k.text;
        EXPECT_EQ(b->RowCount(), k.rows) << k.text;
        EXPECT_EQ(b->Cells(0, 2) + "|" + b->Cells(1, 2) + "|" + b->Cells(2, 2), k.row2) << k.text;
        EXPECT_EQ(b->Cells(0, 3) + "|" + b->Cells(1, 3) + "|" + b->Cells(2, 3), k.row3) << k.text;
        EXPECT_EQ(b->Cells(0, 4) + "|" + b->Cells(1, 4) + "|" + b->Cells(2, 4), k.row4) << k.text;
        EXPECT_EQ(events.back(), k.dropped) << k.text;
    }
}

// ---------------------------------------------------------------- columns

TEST_F(DragDropTest, AHeaderDragCarriesItsColumnToAnotherGridsHeader)
{
    a->DragDropSettings.OleColumnDragDrop = true;
    Drag(a, 2, 0, b, 1, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"a start 2,0", "b col 2 at 1,0", "a stop 2"}));
    EXPECT_FALSE(a->PopupButton()->Visible());
    EXPECT_EQ(Row(a, 0), "a10|a20|a30");  // the grids move no column themselves
    EXPECT_EQ(Row(b, 0), "b10|b20|b30");

    events.clear();
    Drag(a, 2, 0, b, 1, 3);  // a body row refuses a column
    EXPECT_EQ(events, (std::vector<std::string>{"a start 2,0"}));

    events.clear();
    Drag(a, 2, 0, a, 3, 0);  // within the grid
    EXPECT_EQ(events, (std::vector<std::string>{"a start 2,0", "a col 2 at 3,0", "a stop 2"}));
}

TEST_F(DragDropTest, AColumnDragShowsTheColumnArrowsOverTheHeaderOnly)
{
    const TSourceDataObject column("", 3, "");
    TDropTarget* t = b->DragDropSettings.DropTarget();
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(column, MK_LBUTTON, b->ClientToScreen(Mid(b, 2, 0)), effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_TRUE(b->ArrowWindow(arrDown)->Visible());
    EXPECT_TRUE(b->ArrowWindow(arrUp)->Visible());
    EXPECT_EQ(b->ArrowWindow(arrDown)->Left(), b->ClientToScreen({b->CellRect(2, 0).Left - 5, 0}).X);
    EXPECT_FALSE(b->ArrowWindow(arrLeft)->Visible());
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, b->ClientToScreen(Mid(b, 2, 2)), effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_FALSE(b->ArrowWindow(arrDown)->Visible());
    // text over a body cell shows the row arrow at the row's top
    const Foreign text = TextData("t");
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(text, MK_LBUTTON, b->ClientToScreen(Mid(b, 2, 3)), effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_TRUE(b->ArrowWindow(arrLeft)->Visible());
    EXPECT_EQ(b->ArrowWindow(arrLeft)->Top(), b->ClientToScreen({0, b->CellRect(2, 3).Top - 5}).Y);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, b->ClientToScreen(Mid(b, 2, 0)), effect);  // text over the header
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    t->DragLeave();
    EXPECT_FALSE(b->ArrowWindow(arrLeft)->Visible());
}

// A right-to-left grid shows the drop marks at the edges as it shows them: the column's
// at its right edge, the row's arrow right of the row, pointing left.
TEST_F(DragDropTest, TheDropArrowsOfARightToLeftGridStandAtTheMirroredEdges)
{
    b->SetGridOrientation(true);
    auto shown = [&](int c, int r) { return b->ShownRect(b->CellRect(c, r)); };
    auto mid = [&](int c, int r) {
        const TRect s = shown(c, r);
        return b->ClientToScreen(TPoint{(s.Left + s.Right) / 2, (s.Top + s.Bottom) / 2});
    };
    const TSourceDataObject column("", 3, "");
    TDropTarget* t = b->DragDropSettings.DropTarget();
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(column, MK_LBUTTON, mid(2, 0), effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    ASSERT_TRUE(b->ArrowWindow(arrDown)->Visible());
    EXPECT_EQ(b->ArrowWindow(arrDown)->Left(), b->ClientToScreen({shown(2, 0).Right - 5, 0}).X);
    EXPECT_EQ(b->ArrowWindow(arrUp)->Left(), b->ClientToScreen({shown(2, 0).Right - 6, 0}).X);
    EXPECT_EQ(b->ArrowWindow(arrUp)->Top(), b->ClientToScreen({0, shown(2, 0).Bottom}).Y);
    const Foreign text = TextData("t");
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(text, MK_LBUTTON, mid(2, 3), effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_FALSE(b->ArrowWindow(arrLeft)->Visible());
    ASSERT_TRUE(b->ArrowWindow(arrRight)->Visible());
    EXPECT_EQ(b->ArrowWindow(arrRight)->Left(), b->ClientToScreen({shown(2, 3).Right + 1, 0}).X);
    EXPECT_EQ(b->ArrowWindow(arrRight)->Top(), b->ClientToScreen({0, shown(2, 3).Top - 5}).Y);
    t->DragLeave();
    EXPECT_FALSE(b->ArrowWindow(arrRight)->Visible());
}

// ---------------------------------------------------------------- files and rich text

TEST_F(DragDropTest, OneCSVFileDroppedIsLoaded)
{
    testsupport::TempDir dir;
    const std::string csv = dir.file("data.csv"), upper = dir.file("MORE.CSV"), bak = dir.file("data.csv.bak");
    for (const std::string& f : {csv, upper, bak}) std::ofstream(f) << "x,y\n1,2\n";
    std::vector<std::string> asked;
    b->OnOleDrop = [&](TObject*, int r, int c, const std::string& data, bool&) {
        asked.push_back(Cell(c, r) + " " + data);
    };
    const struct {
        std::vector<std::string> files;
        bool wide;
        int effect;
        std::string cell00;
    } cases[] = {
        {{csv, upper}, false, DROPEFFECT_NONE, "b00"},  // two files: nothing
        {{bak}, false, DROPEFFECT_NONE, "b00"},         // .csv inside the name is no CSV file
        {{csv}, false, DROPEFFECT_MOVE, "x"},
        {{upper}, true, DROPEFFECT_MOVE, "x"},
    };
    for (const auto& k : cases) {
        b->SetCells(0, 0, "b00");
        EXPECT_EQ(DropOn(b, 1, 1, FileData(k.files, k.wide)), k.effect) << k.files[0];
        EXPECT_EQ(b->Cells(0, 0), k.cell00) << k.files[0];
    }
    EXPECT_EQ(asked, (std::vector<std::string>{"-1,-1 " + csv, "-1,-1 " + upper}));
    EXPECT_TRUE(events.empty());

    b->OnOleDropFile = [&](TObject*, int r, int c, const std::string&, bool& allow) {
        Log("file at " + Cell(c, r));
        allow = false;
    };
    b->SetCells(0, 0, "b00");
    EXPECT_EQ(DropOn(b, 1, 1, FileData({csv})), DROPEFFECT_NONE);  // the loaded file left 2 x 2 cells
    EXPECT_EQ(b->Cells(0, 0), "b00");
    EXPECT_EQ(events, (std::vector<std::string>{"file at 1,1"}));
}

TEST_F(DragDropTest, RichTextGoesWholeIntoOneCellOnlyWhileTheSwitchIsOn)
{
    const TSourceDataObject data("p\tq", -1, "{\\rtf1 r}");
    EXPECT_EQ(DropOn(b, 1, 1, data), DROPEFFECT_MOVE);
    EXPECT_EQ(Row(b, 1), "p|q|b31");
    b->DragDropSettings.SetOleDropRTF(true);
    EXPECT_TRUE(RTFAware());
    EXPECT_EQ(DropOn(b, 1, 2, data), DROPEFFECT_MOVE);
    EXPECT_EQ(Row(b, 2), "{\\rtf1 r}|b22|b32");
}

// ---------------------------------------------------------------- refusals and foreign data

TEST_F(DragDropTest, ARefusedDropChangesNothingAndRaisesNoDroppedEvent)
{
    b->OnOleDrop = [&](TObject*, int r, int c, const std::string& data, bool& allow) {
        Log("drop " + Cell(c, r) + " " + data);
        allow = false;
    };
    a->SetSelection(TGridRect{1, 1, 1, 1});
    Drag(a, 1, 1, b, 2, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"a start 1,1", "drop 2,2 a11"}));
    EXPECT_EQ(b->Cells(2, 2), "b22");
    EXPECT_EQ(a->Cells(1, 1), "a11");  // the source keeps what was refused
}

TEST_F(DragDropTest, OnlyAllowedEffectsAreAnswered)
{
    const struct {
        unsigned keys;
        int allowed, effect;
    } cases[] = {
        {0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {0, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {0, DROPEFFECT_NONE, DROPEFFECT_NONE},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(StandardEffect(k.keys, k.allowed), k.effect) << k.keys << " " << k.allowed;
        const Foreign text = TextData("z");
        TDropTarget* t = b->DragDropSettings.DropTarget();
        int effect = k.allowed;
        t->DragEnter(text, k.keys | MK_LBUTTON, b->ClientToScreen(Mid(b, 1, 1)), effect);
        EXPECT_EQ(effect, k.effect) << k.keys << " " << k.allowed;
        t->DragLeave();
    }
}

TEST_F(DragDropTest, ForeignDataIsCheckedAndReadWithinItsBounds)
{
    std::vector<std::string> reported;
    SetDragDropErrorHandler([&](const std::string& m) { reported.push_back(m); });
    Foreign unlisted = TextData("u");
    unlisted.listable = false;
    EXPECT_EQ(DropOn(b, 1, 1, unlisted), DROPEFFECT_NONE);
    EXPECT_EQ(reported, (std::vector<std::string>{"Cannot get the format enumerator"}));

    const Foreign listedOnly{{{CF_TEXT, "never"}}};
    struct Refusing : Foreign {
        HRESULT QueryGetData(unsigned) const override { return DV_E_FORMATETC; }
    } refusing;
    refusing.blocks = listedOnly.blocks;
    EXPECT_EQ(DropOn(b, 1, 1, refusing), DROPEFFECT_NONE);  // listed but not to be had

    const Foreign shortColumn{{{ColumnFormat(), std::string("\x02\x00", 2)}}};
    EXPECT_EQ(DropOn(b, 1, 0, shortColumn), DROPEFFECT_NONE);
    const Foreign unterminated{{{CF_TEXT, "abc"}}};
    EXPECT_EQ(DropOn(b, 1, 1, unterminated), DROPEFFECT_MOVE);
    EXPECT_EQ(b->Cells(1, 1), "abc");

    std::string files = MakeFileDropBlock({"/nowhere/x.csv"}, false);
    files[0] = char(0xF0);  // the names' offset past the block
    EXPECT_EQ(DropOn(b, 1, 1, Foreign{{{CF_HDROP, files}}}), DROPEFFECT_NONE);
    std::string wide = MakeFileDropBlock({"/nowhere/y.csv"}, true);
    wide.resize(wide.size() - 5);  // cut inside the last character
    std::vector<std::string> names;
    EXPECT_TRUE(TEnumFormats(Foreign{{{CF_HDROP, wide}}}).SomeFiles(names));
    EXPECT_EQ(names, (std::vector<std::string>{"/nowhere/y.cs"}));
    EXPECT_EQ(TEnumFormats(Foreign{{{CF_HDROP, "short"}}}).SomeFiles(names), false);
    EXPECT_EQ(Row(b, 2), "b12|b22|b32");
}

// ---------------------------------------------------------------- the data objects

TEST(GridDataObject, TextAndColumnObjectsOfferTheirFormats)
{
    EnsurePlatform();
    SetRTFAware(false);
    const TSourceDataObject text("ab", -1, "{\\rtf1}");
    std::vector<unsigned> formats;
    ASSERT_TRUE(text.EnumFormats(formats));
    EXPECT_EQ(formats, (std::vector<unsigned>{CF_TEXT, CF_UNICODETEXT, CF_RTF()}));
    std::string block;
    EXPECT_EQ(text.GetData(CF_RTF(), block), DV_E_FORMATETC);
    EXPECT_EQ(text.GetData(ColumnFormat(), block), DV_E_FORMATETC);
    SetRTFAware(true);
    EXPECT_EQ(text.GetData(CF_RTF(), block), S_OK);
    EXPECT_EQ(block, std::string("{\\rtf1}\0", 8));
    SetRTFAware(false);

    const TSourceDataObject column("", 7, "");
    ASSERT_TRUE(column.EnumFormats(formats));
    EXPECT_EQ(formats.size(), 4u);
    for (unsigned f : {unsigned(CF_TEXT), unsigned(CF_UNICODETEXT), CF_RTF()})
        EXPECT_EQ(column.GetData(f, block), DV_E_FORMATETC);
    EXPECT_EQ(column.GetData(ColumnFormat(), block), S_OK);
    EXPECT_EQ(block, std::string("\x07\0\0\0", 4));
    EXPECT_EQ(TEnumFormats(column).SomeInt(ColumnFormat()), 7);

    auto e = text.EnumFormatEtc();
    ASSERT_TRUE(e);
    TFormatEtc got[4];
    unsigned fetched = 0;
    EXPECT_EQ(e->Skip(1), S_OK);
    EXPECT_EQ(e->Next(4, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(got[0].cfFormat, unsigned(CF_UNICODETEXT));
    EXPECT_EQ(got[1].dwAspect, unsigned(DVASPECT_CONTENT));
    EXPECT_EQ(got[1].lindex, -1);
    auto clone = e->Clone();
    EXPECT_EQ(clone->Next(1, got, &fetched), S_FALSE);  // it continues at the end
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(5), S_FALSE);
}

TEST_F(DragDropTest, ADropOfAColumnAndFilesDeliversOnlyTheColumn)
{
    testsupport::TempDir dir;
    const std::string csv = dir.file("c.csv");
    std::ofstream(csv) << "q\n";
    Foreign both{{{ColumnFormat(), std::string("\x01\0\0\0", 4)}, {CF_HDROP, MakeFileDropBlock({csv}, false)}}};
    EXPECT_EQ(DropOn(b, 2, 0, both), DROPEFFECT_MOVE);
    EXPECT_EQ(events, (std::vector<std::string>{"b col 1 at 2,0"}));
    EXPECT_EQ(b->Cells(0, 0), "b00");
}

}  // namespace

namespace {

TEST_F(DragDropTest, TheRowArrowIsDrawnLeftOfTheDropRow)
{
    const Foreign text = TextData("t");
    TDropTarget* t = b->DragDropSettings.DropTarget();
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(text, MK_LBUTTON, b->ClientToScreen(Mid(b, 2, 3)), effect);
    TArrowWindow* arrow = b->ArrowWindow(arrLeft);
    ASSERT_TRUE(ProcessUntil([&] { return arrow->Showing(); }));
    auto bmp = PaintToBitmap(arrow);
    EXPECT_EQ(bmp->Canvas()->Pixel(2, 5), clLime);
    const TPoint cell = b->ClientToScreen({b->CellRect(2, 3).Left, b->CellRect(2, 3).Top});
    EXPECT_EQ(arrow->Left() + arrow->Width(), cell.X - 1);  // its point just left of the cell
    EXPECT_EQ(arrow->Top() + arrow->Height() / 2, cell.Y);  // level with the row's top
    t->DragLeave();
    EXPECT_FALSE(arrow->Visible());
}

}  // namespace

namespace {

TEST_F(DragDropTest, TheGridsSettingsAndHandlersDecideWhatIsTaken)
{
    const Foreign text = TextData("t1\tt2");
    const struct {
        const char* what;
        std::function<void()> set;
        int col, row, effect;
        std::string row2;
    } cases[] = {
        {"text refused", [&] { b->DragDropSettings.OleAcceptText = false; }, 1, 2, DROPEFFECT_NONE, "b02|b12|b22"},
        {"handler refuses", [&] { b->OnOleDragOver = [](TObject*, int, int, bool& allow) { allow = false; }; }, 1, 2,
         DROPEFFECT_NONE, "b02|b12|b22"},
        {"row selection", [&] { b->SetOptions(b->Options() | goRowSelect); }, 2, 2, DROPEFFECT_MOVE, "b02|t1|t2"},
        {"entire rows",
         [&] {
             b->SetOptions(b->Options() | goRowSelect);
             b->DragDropSettings.OleEntireRows = true;
         },
         2, 2, DROPEFFECT_MOVE, "t1|t2|b22"},
    };
    for (const auto& k : cases) {
        Fill(b, "b");
        b->SetOptions(b->Options() & ~goRowSelect);
        b->DragDropSettings.OleAcceptText = true;
        b->DragDropSettings.OleEntireRows = false;
        b->OnOleDragOver = nullptr;
        k.set();
        EXPECT_EQ(DropOn(b, k.col, k.row, text), k.effect) << k.what;
        EXPECT_EQ(b->Cells(0, 2) + "|" + b->Cells(1, 2) + "|" + b->Cells(2, 2), k.row2) << k.what;
    }
}

TEST_F(DragDropTest, TheViewFollowsADragOverTheHeaderOrBelowTheLastRowShown)
{
    b->SetRowCount(30);
    b->SetTopRow(5);
    const Foreign text = TextData("t");
    TDropTarget* t = b->DragDropSettings.DropTarget();
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(text, MK_LBUTTON, b->ClientToScreen(Mid(b, 1, 0)), effect);
    EXPECT_EQ(b->TopRow(), 4);
    EXPECT_EQ(effect, DROPEFFECT_NONE);  // no drop on the header
    const int below = b->TopRow() + b->VisibleRowCount();
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON, b->ClientToScreen({Mid(b, 1, below).X, b->CellRect(1, below).Top + 2}), effect);
    EXPECT_EQ(b->TopRow(), 5);
    t->DragLeave();
}

}  // namespace

namespace {

TEST_F(DragDropTest, DisjunctRowsDraggedAwayAreRemoved)
{
    a->SetOptions(a->Options() | goRowSelect);
    a->MouseActions.DisjunctRowSelect = true;
    a->DragDropSettings.OleRemoveRows = true;
    a->SetRowSelect(2, true);
    a->SetRowSelect(4, true);
    Drag(a, 1, 2, b, 1, 1);
    EXPECT_EQ(Row(b, 1), "a12|a22|a32");
    EXPECT_EQ(Row(b, 2), "a14|a24|a34");
    EXPECT_EQ(a->RowCount(), 4);
    EXPECT_EQ(Row(a, 2), "a13|a23|a33");
    EXPECT_EQ(Row(a, 3), "a15|a25|a35");
}

}  // namespace

namespace {

TEST_F(DragDropTest, RemovingMarkedOrUnmarkedRowsTakesExactlyThoseRows)
{
    for (bool unmarked : {false, true}) {
        Fill(a, "a");
        a->MouseActions.DisjunctRowSelect = true;
        a->ClearRowSelect();
        a->SetRowSelect(2, true);
        a->SetRowSelect(4, true);
        if (unmarked) a->RemoveUnSelectedRows();
        else a->RemoveSelectedRows();
        std::string rows;
        for (int r = 1; r < a->RowCount(); ++r) rows += a->Cells(1, r) + " ";
        EXPECT_EQ(rows, unmarked ? "a12 a14 " : "a11 a13 a15 ");
    }
}

}  // namespace
