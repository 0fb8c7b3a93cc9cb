// The grid text file, its stream form and the binary grid stream: round trips, refusals
// that leave the grid alone, and mutated input.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "GridWindow.h"
#include "platform/Streaming.h"
#include "base/FileUtils.h"
#include "platform/system/Clipboard.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
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
