// The grid text file, its stream form and the binary grid stream: round trips, refusals
// that leave the grid alone, and mutated input.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "GridWindow.h"
#include "platform/Streaming.h"
#include "base/FileUtils.h"
#include "platform/system/Clipboard.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridStreamRecords.h"
#include "widgets/grid/ExUtil.h"

using namespace platform;
using namespace grid;
using testsupport::TempDir;

namespace {

const std::vector<std::string> kTexts = {
    "plain", "two\r\nlines", "tab\there", "tab\tand\r\nbreak", "lone\nlf", "bs\x08", "\x1b" "esc", "a,b,c", "",
    "cw 1,2", "q\"uote",
};

struct StreamTest : ::testing::Test, gridtest::GridWindow {
    TempDir dir{"gridstream"};
    void SetUp() override
    {
        Open(500, 300, 4, 4);
        g->SetFixedRows(0);
        g->SetFixedCols(0);
        g->Multilinecells = true;
        for (size_t k = 0; k < kTexts.size(); ++k) g->SetCells(int(k % 4), int(k / 4), kTexts[k]);
        g->SetColWidths(2, 90);
    }
    void TearDown() override { Close(); }
    std::vector<std::string> Snapshot(TExStringGrid& x)
    {
        std::vector<std::string> s{std::to_string(x.ColCount()) + "," + std::to_string(x.RowCount())};
        for (int r = 0; r < x.RowCount(); ++r)
            for (int c = 0; c < x.ColCount(); ++c) s.push_back(x.Cells(c, r));
        return s;
    }
};

}  // namespace

TEST_F(StreamTest, FoldingGivesEveryTextBack)
{
    for (const std::string& t : kTexts) {
        const std::string f = LfToFile(t);
        EXPECT_EQ(f.find_first_of("\r\n"), std::string::npos) << t;
        EXPECT_EQ(FileToLf(f, true), t);
    }
}

TEST_F(StreamTest, TextFileRoundTrip)
{
    const std::string path = dir.file("g.txt");
    g->SaveToFile(path);
    std::string data;
    base::ReadFile(path, data);
    EXPECT_EQ(data.substr(0, data.find("cw 1")), "4,4\r\ncw 0,64\r\n");
    EXPECT_NE(data.find("1,0,two\t\x08lines\r\n"), std::string::npos);  // the old folding where it is enough

    gridtest::GridWindow w;
    w.Open(300, 200, 1, 1);
    w.g->Multilinecells = true;
    w.g->LoadFromFile(path);
    EXPECT_EQ(Snapshot(*w.g), Snapshot(*g));
    EXPECT_EQ(w.g->ColWidths(2), 90);
    w.g->Multilinecells = false;
    w.g->LoadFromFile(path);
    EXPECT_EQ(w.g->Cells(1, 0), "two");  // one line per cell without multi-line cells
    w.Close();
}

TEST_F(StreamTest, BadTextFilesAreRefusedAndTheGridKept)
{
    const auto before = Snapshot(*g);
    const char* files[] = {
        "0,0\r\n",                        // no data
        "2000000000,2000000000\r\n",      // counts beyond what a grid holds
        "3,2\r\n5,0,x\r\n",               // a cell outside its counts
        "3,2\r\ncw 1,abc\r\n",            // a bad width
        "3,2\r\n1x,0,y\r\n",              // a bad number
        "3,2\r\njunk\r\n",                // no cell line
        "-1,2\r\n",
    };
    for (const char* f : files) {
        SCOPED_TRACE(f);
        const std::string path = dir.file("bad.txt");
        std::ofstream(path, std::ios::binary) << f;
        try {
            g->LoadFromFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const EExGridError& e) {
            EXPECT_EQ(std::string(e.what()), "File contains no data or corrupt file " + path);
        }
        EXPECT_EQ(Snapshot(*g), before);
    }
    // columns and rows each allowed, together more cells than a grid takes
    const std::string path = dir.file("big.txt");
    std::ofstream(path, std::ios::binary) << "500,40000\r\n";
    try {
        g->LoadFromFile(path);
        ADD_FAILURE() << "loaded";
    } catch (const EExGridError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot load file " + path + ": it has more than 16777216 cells, the most a grid takes");
    }
    EXPECT_EQ(Snapshot(*g), before);
    std::istringstream big("500,40000\r\n");
    EXPECT_THROW(g->LoadFromStream(big), EExGridError);
    EXPECT_EQ(Snapshot(*g), before);
    EXPECT_THROW(g->LoadFromFile(dir.file("missing.txt")), EExGridError);
}

TEST_F(StreamTest, StreamStopsAtTheNextGrid)
{
    std::stringstream s;
    g->SaveToStream(s);
    const std::streampos mid = s.tellp();
    s << "3,2\r\n0,0,next\r\n";
    gridtest::GridWindow w;
    w.Open(300, 200, 1, 1);
    w.g->Multilinecells = true;
    w.g->LoadFromStream(s);
    EXPECT_EQ(Snapshot(*w.g), Snapshot(*g));
    EXPECT_EQ(s.tellg(), mid);
    std::stringstream bad("2,2\r\n0,9,x\r\n");
    const auto before = Snapshot(*w.g);
    EXPECT_THROW(w.g->LoadFromStream(bad), EExGridError);
    EXPECT_EQ(Snapshot(*w.g), before);
    w.Close();
}

TEST_F(StreamTest, BinaryStreamKeepsMergesAndProperties)
{
    g->MergeCells(1, 2, 2, 1);
    g->SetColors(0, 0, clRed);
    g->SetFontStyles(3, 1, fsBold);
    g->SetAlignments(0, 1, taRightJustify);
    g->SetReadOnly(2, 0, true);
    const std::string path = dir.file("g.bin");
    g->SaveToBinFile(path);
    gridtest::GridWindow w;
    w.Open(300, 200, 1, 1);
    w.g->LoadFromBinFile(path);
    EXPECT_EQ(Snapshot(*w.g), Snapshot(*g));
    EXPECT_EQ(w.g->CellSpan(1, 2).X, 1);
    EXPECT_FALSE(w.g->IsBaseCell(2, 2));
    EXPECT_EQ(w.g->GetColors(0, 0), clRed);
    EXPECT_EQ(w.g->GetFontStyles(3, 1), TFontStyles(fsBold));
    EXPECT_EQ(w.g->GetAlignments(0, 1), taRightJustify);
    EXPECT_TRUE(w.g->GetReadOnly(2, 0));
    EXPECT_EQ(w.g->ColWidths(2), 90);

    // a 2 x 2 block lands with its top-left cell at the target
    const std::string block = g->SaveRectToBinStream(TRect{0, 0, 1, 1});
    w.g->SetColCount(8);
    w.g->SetRowCount(8);
    w.g->LoadAtPointFromBinStream(TPoint{5, 5}, block);
    EXPECT_EQ(w.g->Cells(5, 5), "plain");
    EXPECT_EQ(w.g->Cells(5, 6), "lone\nlf");
    EXPECT_EQ(w.g->GetColors(5, 5), clRed);
    w.Close();
}

TEST_F(StreamTest, MutatedFilesNeverCrash)
{
    std::stringstream text;
    g->SaveToStream(text);
    g->MergeCells(1, 2, 2, 1);
    g->SetColors(0, 0, clRed);
    const std::string bin = g->SaveToBinStream(), txt = text.str();
    std::mt19937 rng(26);
    gridtest::GridWindow w;
    w.Open(300, 200, 1, 1);
    const std::string path = dir.file("fuzz");
    int refused = 0;
    for (int round = 0; round < 600; ++round) {
        std::string d = round % 2 ? bin : txt;
        const int edits = 1 + int(rng() % 4);
        for (int k = 0; k < edits && !d.empty(); ++k) {
            const size_t at = rng() % d.size();
            switch (rng() % 4) {
            case 0: d[at] = char(rng()); break;
            case 1: d.erase(at, 1 + rng() % 8); break;
            case 2: d.insert(at, 1, char(rng())); break;
            default: d.resize(at); break;
            }
        }
        try {
            if (round % 2) {
                w.g->LoadFromBinStream(d);
            } else {
                std::ofstream(path, std::ios::binary) << d;
                w.g->LoadFromFile(path);
            }
        } catch (const EExGridError&) {
            ++refused;
        } catch (const EReadError&) {
            ++refused;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "round " << round << ": " << e.what();
        }
        ASSERT_LE(w.g->ColCount(), 512);
        ASSERT_LE(w.g->RowCount(), 1 << 20);
    }
    EXPECT_GT(refused, 0);
    w.Close();
}

TEST_F(StreamTest, CellFormatOnTheClipboard)
{
    g->Navigation.AllowFmtClipboard = true;
    g->SetColors(1, 0, clRed);
    g->SetOptions(g->Options() | goRangeSelect);
    g->SetSelection(TGridRect{0, 0, 1, 1});
    g->CopySelectionToClipboard();
    gridtest::GridWindow w;
    w.Open(300, 200, 2, 2);
    w.g->Navigation.AllowFmtClipboard = true;
    w.g->Navigation.AllowClipboardAlways = true;
    EXPECT_EQ(w.g->PasteFunc(1, 1), 4);
    EXPECT_EQ(w.g->ColCount(), 3);
    EXPECT_EQ(w.g->Cells(1, 1), "plain");
    EXPECT_EQ(w.g->Cells(2, 2), "bs\x08");
    EXPECT_EQ(w.g->GetColors(2, 1), clRed);
    // a foreign block under the grid's format is refused without a change
    Clipboard()->SetFormatData(TExStringGrid::CellsClipboardFormat(), "KGRID1\xff\xff\xff\x7f");
    EXPECT_EQ(w.g->PasteFunc(0, 0), 0);
    EXPECT_EQ(w.g->Cells(1, 1), "plain");
    // a block whose header reads but whose cells do not is refused the same way
    std::string block = g->SaveRectToBinStream(TRect{0, 0, 1, 1});
    block.resize(block.size() - 3);
    Clipboard()->SetFormatData(TExStringGrid::CellsClipboardFormat(), block);
    EXPECT_EQ(w.g->PasteFunc(0, 0), 0);
    EXPECT_EQ(w.g->Cells(1, 1), "plain");
    w.Close();
}

namespace {

// A 6 x 6 grid with one fixed row and column, every cell written (the fixed ones too),
// with the last row and column empty when asked.
void FillForRoundTrip(TExStringGrid& x, bool lastEmpty)
{
    x.SetColCount(6);
    x.SetRowCount(6);
    x.SetFixedCols(1);
    x.SetFixedRows(1);
    x.Multilinecells = true;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c) {
            const bool empty = lastEmpty && (r == 5 || c == 5);
            x.SetCells(c, r, empty ? "" : "r" + std::to_string(r) + "c" + std::to_string(c));
        }
    x.SetCells(2, 2, "a,b \"q\"");
    x.SetCells(3, 3, "two\r\nlines");
}

}  // namespace

TEST(GridFileRoundTrip, EveryFileTheGridWritesReadsBackEqual)
{
    TempDir dir{"roundtrip"};
    using Io = std::function<void(TExStringGrid&, const std::string&)>;
    struct Format {
        const char* name;
        Io save, load;
    } formats[] = {
        {"binary file", [](TExStringGrid& x, const std::string& f) { x.SaveToBinFile(f); },
         [](TExStringGrid& x, const std::string& f) { x.LoadFromBinFile(f); }},
        {"binary stream",
         [](TExStringGrid& x, const std::string& f) { ASSERT_TRUE(base::WriteFileAtomic(f, x.SaveToBinStream())); },
         [](TExStringGrid& x, const std::string& f) {
             std::string d;
             ASSERT_TRUE(base::ReadFile(f, d));
             x.LoadFromBinStream(d);
         }},
        {"grid text file", [](TExStringGrid& x, const std::string& f) { x.SaveToFile(f); },
         [](TExStringGrid& x, const std::string& f) { x.LoadFromFile(f); }},
        {"grid text stream",
         [](TExStringGrid& x, const std::string& f) {
             std::ofstream o(f, std::ios::binary);
             x.SaveToStream(o);
         },
         [](TExStringGrid& x, const std::string& f) {
             std::ifstream i(f, std::ios::binary);
             x.LoadFromStream(i);
         }},
        {"CSV", [](TExStringGrid& x, const std::string& f) { x.SaveToCSV(f); },
         [](TExStringGrid& x, const std::string& f) { x.LoadFromCSV(f); }},
    };
    for (const Format& fm : formats)
        for (const bool saveFixed : {true, false})
            for (const bool lastEmpty : {false, true}) {
                SCOPED_TRACE(std::string(fm.name) + (saveFixed ? ", fixed cells saved" : ", fixed cells not saved") +
                             (lastEmpty ? ", last row and column empty" : ""));
                gridtest::GridWindow a, b;
                a.Open(400, 300, 6, 6);
                b.Open(400, 300, 3, 3);
                FillForRoundTrip(*a.g, lastEmpty);
                b.g->SetFixedCols(1);
                b.g->SetFixedRows(1);
                b.g->Multilinecells = true;
                a.g->SaveFixedCells = b.g->SaveFixedCells = saveFixed;
                const std::string file = dir.file("grid.out");
                try {
                    fm.save(*a.g, file);
                    fm.load(*b.g, file);
                } catch (const std::exception& e) {
                    ADD_FAILURE() << e.what();
                }
                EXPECT_EQ(b.g->ColCount(), 6);
                EXPECT_EQ(b.g->RowCount(), 6);
                const int from = saveFixed ? 0 : 1;
                for (int r = 0; r < std::min(6, b.g->RowCount()); ++r)
                    for (int c = 0; c < std::min(6, b.g->ColCount()); ++c) {
                        // what the file does not hold stays as it was
                        const std::string want = r >= from && c >= from ? a.g->Cells(c, r) : "";
                        EXPECT_EQ(b.g->Cells(c, r), want) << "cell " << c << "," << r;
                    }
                a.Close();
                b.Close();
            }
}

TEST_F(StreamTest, RefusedClipboardBlockChangesNothing)
{
    g->Navigation.AllowFmtClipboard = true;
    gridtest::GridWindow w;
    w.Open(300, 200, 4, 4);
    w.g->Navigation.AllowFmtClipboard = true;
    w.g->Navigation.AllowClipboardAlways = true;
    w.g->SetCells(3, 3, "kept");
    const std::string whole = g->SaveRectToBinStream(TRect{0, 0, 2, 2});
    // a block that would grow the grid but does not read to its end
    Clipboard()->SetFormatData(TExStringGrid::CellsClipboardFormat(), whole.substr(0, whole.size() - 3));
    EXPECT_EQ(w.g->PasteFunc(2, 2), 0);
    EXPECT_EQ(w.g->ColCount(), 4);
    EXPECT_EQ(w.g->RowCount(), 4);
    EXPECT_EQ(w.g->Cells(2, 2), "");
    EXPECT_EQ(w.g->Cells(3, 3), "kept");
    // growing not allowed: a block reaching past the grid is refused whole
    w.g->Navigation.AllowClipboardColGrow = false;
    Clipboard()->SetFormatData(TExStringGrid::CellsClipboardFormat(), whole);
    EXPECT_EQ(w.g->PasteFunc(2, 2), 0);
    EXPECT_EQ(w.g->ColCount(), 4);
    EXPECT_EQ(w.g->RowCount(), 4);
    EXPECT_EQ(w.g->Cells(2, 2), "");
    EXPECT_EQ(w.g->Cells(3, 3), "kept");
    w.Close();
}

namespace {

// A cell stream from its parts: a header of cols x rows and cell records at the given places.
std::string BlockOf(TExStringGrid* g, int cols, int rows, bool full, const std::vector<TPoint>& at)
{
    TMemoryStream out;
    TGridPropIO head(g);
    head.ColCount = cols;
    head.RowCount = rows;
    head.FullGrid = full;
    out.WriteComponent(&head);
    for (const TPoint& p : at) {
        TGridCellIO cell(g);
        cell.Col = p.X;
        cell.Row = p.Y;
        cell.Cell = "new";
        out.WriteComponent(&cell);
    }
    return out.DataString();
}

}  // namespace

// Every record of a block lies inside the rectangle its header gives: one past it would
// grow the grid, one before the first record would land above or left of the target.
TEST_F(StreamTest, ClipboardBlockRecordsOutsideTheBlockAreRefused)
{
    struct Case {
        const char* what;
        int cols, rows;
        bool full;
        std::vector<TPoint> at;
        TPoint target;
        bool refused;
    } cases[] = {
        {"inside", 2, 2, false, {{3, 3}, {4, 4}}, {1, 1}, false},
        {"right of the block", 2, 2, false, {{0, 0}, {65, 1}}, {1, 1}, true},
        {"below the block", 2, 2, false, {{0, 0}, {1, 9}}, {1, 1}, true},
        {"left of the first record", 2, 2, false, {{1, 1}, {0, 1}}, {2, 2}, true},
        {"above the first record", 2, 2, false, {{1, 1}, {1, 0}}, {2, 2}, true},
        {"whole grid, right of it", 4, 4, true, {{0, 0}, {96, 0}}, {2, 2}, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        gridtest::GridWindow w;
        w.Open(300, 200, 4, 4);
        w.g->Navigation.AllowFmtClipboard = true;
        w.g->Navigation.AllowClipboardAlways = true;
        w.g->Navigation.AllowClipboardColGrow = true;
        w.g->Navigation.AllowClipboardRowGrow = true;
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) w.g->SetCells(c, r, std::to_string(c * 10 + r));
        Clipboard()->SetFormatData(TExStringGrid::CellsClipboardFormat(),
                                   BlockOf(w.g, k.cols, k.rows, k.full, k.at));
        const int pasted = w.g->PasteFunc(k.target.X, k.target.Y);
        if (k.refused) {
            EXPECT_EQ(pasted, 0);
            EXPECT_EQ(w.g->ColCount(), 4);
            EXPECT_EQ(w.g->RowCount(), 4);
            for (int c = 0; c < 4; ++c)
                for (int r = 0; r < 4; ++r) EXPECT_EQ(w.g->Cells(c, r), std::to_string(c * 10 + r));
        } else {
            EXPECT_EQ(pasted, k.cols * k.rows);
            EXPECT_EQ(w.g->Cells(k.target.X, k.target.Y), "new");
            EXPECT_EQ(w.g->Cells(k.target.X + 1, k.target.Y + 1), "new");
            EXPECT_EQ(w.g->Cells(k.target.X + 1, k.target.Y), "21");
        }
        w.Close();
    }
}

TEST_F(StreamTest, ClipboardBlocksPasteWithTheirTopLeftCellAtTheTarget)
{
    g->Navigation.AllowFmtClipboard = true;
    g->SetCells(1, 1, "");  // a block whose top-left cell is empty
    struct Case {
        const char* what;
        TRect copied;
        int targetCol, targetRow;
    } cases[] = {
        {"whole grid at (1, 1)", TRect{0, 0, 3, 3}, 1, 1},
        {"whole grid at (0, 2)", TRect{0, 0, 3, 3}, 0, 2},
        {"block with an empty top-left cell", TRect{1, 1, 2, 2}, 2, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Clipboard()->SetFormatData(TExStringGrid::CellsClipboardFormat(), g->SaveRectToBinStream(k.copied));
        gridtest::GridWindow w;
        w.Open(300, 200, 2, 2);
        w.g->SetFixedCols(0);
        w.g->SetFixedRows(0);
        w.g->Navigation.AllowFmtClipboard = true;
        w.g->Navigation.AllowClipboardAlways = true;
        const int cols = k.copied.Right - k.copied.Left + 1, rows = k.copied.Bottom - k.copied.Top + 1;
        EXPECT_EQ(w.g->PasteFunc(k.targetCol, k.targetRow), cols * rows);
        EXPECT_EQ(w.g->ColCount(), std::max(2, k.targetCol + cols));
        EXPECT_EQ(w.g->RowCount(), std::max(2, k.targetRow + rows));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                EXPECT_EQ(w.g->Cells(k.targetCol + c, k.targetRow + r), g->Cells(k.copied.Left + c, k.copied.Top + r))
                    << "cell " << c << "," << r;
        w.Close();
    }
}

TEST_F(StreamTest, TheGridPastesItsOwnCopyOfALongCell)
{
    // 20,000 quote marks and a line break: the copy doubles the quotes and passes the cell limit
    const std::string cell = std::string(20000, '"') + "\r\nab";
    g->SetCells(1, 1, cell);
    g->SetOptions(g->Options() | goRangeSelect);
    g->SetSelection(TGridRect{1, 1, 1, 1});
    g->CopySelectionToClipboard();
    ASSERT_GT(Clipboard()->AsText().size(), 40000u);
    g->Navigation.AllowClipboardAlways = true;
    EXPECT_EQ(g->PasteFunc(2, 2), 1);
    EXPECT_EQ(g->Cells(2, 2), cell);
    // the limit itself still holds for the cells as read
    const std::string tooLong = "\"" + std::string(40000, 'x') + "\nb\"";
    EXPECT_THROW(g->PasteText(0, 0, tooLong), EExGridError);
    EXPECT_EQ(g->Cells(0, 0), "plain");
}

TEST(GridBounds, ShrinkingAndFreeingAWideSparseGridFreeWhatItHolds)
{
    gridtest::GridWindow w;
    w.Open(300, 200, 2, 2);
    w.g->SetColCount(16000);
    w.g->SetRowCount(131072);
    w.g->SetColors(15999, 131071, clRed);
    w.g->SetColors(10, 1, clBlue);
    w.g->SetCells(12000, 70000, "x");
    w.g->SetRowCount(2);
    w.g->SetRowCount(131072);
    EXPECT_FALSE(w.g->HasCellProperties(15999, 131071));  // went with its row
    EXPECT_EQ(w.g->Cells(12000, 70000), "");
    EXPECT_EQ(w.g->GetColors(10, 1), clBlue);
    w.g->ClearRect(0, 0, 15999, 131071);
    EXPECT_FALSE(w.g->HasCellProperties(10, 1));
    w.g->SetColors(15000, 100000, clRed);
    w.Close();  // frees what it holds
}
