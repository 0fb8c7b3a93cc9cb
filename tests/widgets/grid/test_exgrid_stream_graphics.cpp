// Cell graphics in the binary grid stream: the graphic's settings and the objects the
// grid owns travel with the cell; the caller's objects do not; bad graphic records are
// refused with the grid unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <random>

#include "GridWindow.h"
#include "base/StringList.h"
#include "platform/Streaming.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Metafile.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridStreamRecords.h"

using namespace platform;
using namespace grid;

namespace {

struct StreamGraphicsTest : ::testing::Test, gridtest::GridWindow {
    testsupport::TempDir dir{"grid-graphics"};
    gridtest::GridWindow other;
    TBitmap callers{2, 2};
    TFilePicture* filePicture = nullptr;

    void SetUp() override
    {
        Open(400, 300, 5, 6);
        other.Open(400, 300, 1, 1);
    }
    void TearDown() override
    {
        other.Close();
        Close();
    }

    // A grid holding one graphic of each kind the stream carries.
    void Fill()
    {
        TBitmap* b = g->CreateBitmap(1, 1, true, haCenter, vaBottom);
        b->SetSize(3, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) b->ScanLine(y)[x] = 0x80000000u | uint32_t(x * 0x40 + y * 0x4000 + 0x10000);
        b->SetTransparentColor(TColor(0x00123456));
        b->SetPixelFormat(pf32bit);

        TPicture* p = g->CreatePicture(2, 1, false, StretchWithAspectRatio, 3, haRight, vaCenter);
        p->Bitmap()->SetSize(4, 4);
        p->Bitmap()->ScanLine(3)[3] = 0xFF00FF00u;

        TBitmap file(5, 7);
        const std::string path = dir.file("pic.bmp");
        file.SaveToFile(path);
        filePicture = new TFilePicture;
        filePicture->SetFileName(path);
        g->AddFilePicture(3, 1, filePicture, false, Shrink, 1, haLeft, vaTop);
        g->GetCellGraphic(3, 1)->CellCreated = true;  // as if the grid had made it

        base::TStrings* radio = g->CreateRadio(1, 2, 1, 1);
        radio->Add("port");
        radio->Add("star board");

        g->AddCheckBox(2, 2, true, false);
        g->AddProgress(3, 2, clRed, clBlue);
        g->AddComment(4, 2, "a note\nwith two lines");
        g->AddRotated(1, 3, -90, "turned");
        g->AddBitmap(2, 3, &callers, false, haLeft, vaTop);  // the caller's: not carried
        g->AddNode(4, 2);
        g->SetCells(2, 3, "with a borrowed bitmap");
    }
};

uint32_t Pixel(TBitmap* b, int x, int y) { return b->ScanLine(y)[x]; }

std::string le32(int32_t v)
{
    std::string s;
    for (int k = 0; k < 4; ++k) s += char((uint32_t(v) >> (8 * k)) & 0xFF);
    return s;
}

TEST_F(StreamGraphicsTest, GraphicsAndOwnedObjectsRoundTrip)
{
    Fill();
    other.g->LoadFromBinStream(g->SaveToBinStream());
    TExStringGrid& h = *other.g;

    TBitmap* b = h.GetBitmap(1, 1);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, g->GetBitmap(1, 1));
    EXPECT_TRUE(h.GetCellGraphic(1, 1)->CellCreated);
    ASSERT_EQ(b->Width(), 3);
    ASSERT_EQ(b->Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixel(b, x, y), Pixel(g->GetBitmap(1, 1), x, y)) << x << "," << y;
    EXPECT_EQ(b->TransparentMode(), tmFixed);
    EXPECT_EQ(b->TransparentColor(), TColor(0x00123456));
    EXPECT_EQ(b->PixelFormat(), pf32bit);
    const TCellGraphic* gb = h.GetCellGraphic(1, 1);
    EXPECT_TRUE(gb->CellTransparent);
    EXPECT_EQ(gb->CellHAlign, haCenter);
    EXPECT_EQ(gb->CellVAlign, vaBottom);

    TPicture* p = h.GetPicture(2, 1);
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->Width(), 4);
    EXPECT_EQ(Pixel(p->Bitmap(), 3, 3), 0xFF00FF00u);
    EXPECT_EQ(h.GetCellGraphic(2, 1)->CellAngle, StretchWithAspectRatio);
    EXPECT_EQ(h.GetCellGraphic(2, 1)->CellIndex, 3);

    const TCellGraphic* gf = h.GetCellGraphic(3, 1);
    ASSERT_EQ(gf->CellType, ctFilePicture);
    auto* f = dynamic_cast<TFilePicture*>(gf->CellGraphicRef);
    ASSERT_NE(f, nullptr);
    EXPECT_NE(f, filePicture);
    EXPECT_EQ(f->Filename(), filePicture->Filename());
    EXPECT_EQ(f->Width(), 5);
    EXPECT_EQ(f->Height(), 7);

    base::TStrings* radio = h.GetRadioStrings(1, 2);
    ASSERT_NE(radio, nullptr);
    ASSERT_EQ(radio->Count(), 2);
    EXPECT_EQ((*radio)[1], "star board");
    int index = -1;
    EXPECT_TRUE(h.GetRadioIdx(1, 2, index));
    EXPECT_EQ(index, 1);

    struct Kind {
        int col, row;
        TCellType type;
    };
    for (const Kind& k : {Kind{2, 2, ctCheckBox}, Kind{3, 2, ctProgress}, Kind{4, 2, ctComment}, Kind{1, 3, ctRotated},
                          Kind{0, 4, ctNode}})
        EXPECT_EQ(h.GetCellType(k.col, k.row), k.type) << k.col << "," << k.row;
    EXPECT_TRUE(h.GetCellGraphic(2, 2)->CellBoolean);
    EXPECT_EQ(h.GetCellGraphic(3, 2)->CellColor, g->GetCellGraphic(3, 2)->CellColor);
    EXPECT_EQ(h.GetCellGraphic(3, 2)->CellColor2, g->GetCellGraphic(3, 2)->CellColor2);
    EXPECT_EQ(h.GetCellGraphic(4, 2)->CellText, "a note\nwith two lines");
    EXPECT_EQ(h.GetCellGraphic(1, 3)->CellAngle, 270);
    EXPECT_TRUE(h.HasNodes());

    // the caller's bitmap stays behind; the cell's text and properties come along
    EXPECT_EQ(h.GetCellType(2, 3), ctEmpty);
    EXPECT_EQ(h.Cells(2, 3), "with a borrowed bitmap");
}

TEST_F(StreamGraphicsTest, AMetafilePictureComesBackAsItsDrawing)
{
    TPicture* p = g->CreatePicture(1, 1, false, noStretch, 0, haLeft, vaTop);
    auto* m = new TMetafile(6, 4);
    {
        TMetafileCanvas c(*m);
        c.Brush().SetColor(clRed);
        c.FillRect(TRect{0, 0, 6, 4});
    }
    p->SetGraphic(m);
    other.g->LoadFromBinStream(g->SaveToBinStream());
    TPicture* q = other.g->GetPicture(1, 1);
    ASSERT_NE(q, nullptr);
    ASSERT_EQ(q->Width(), 6);
    ASSERT_EQ(q->Height(), 4);
    EXPECT_EQ(Pixel(q->Bitmap(), 2, 2) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_NE(dynamic_cast<TMetafile*>(p->Graphic()), nullptr);  // the source keeps its metafile
}

TEST_F(StreamGraphicsTest, StreamsOfTheEarlierFormatAreRefusedWithTheGridUnchanged)
{
    auto le = [](int32_t v) {
        std::string s;
        for (int k = 0; k < 4; ++k) s += char((uint32_t(v) >> (8 * k)) & 0xFF);
        return s;
    };
    std::string d = "KGRID1" + le(2) + le(1) + le(64) + le(64) + le(24) + le(0) + le(0);
    d += "C" + le(1) + le(0) + le(3) + "old" + le(1);
    other.g->SetColCount(3);
    other.g->SetRowCount(2);
    other.g->SetCells(0, 0, "kept");
    EXPECT_THROW(other.g->LoadFromBinStream(d), EReadError);
    EXPECT_EQ(other.g->Cells(0, 0), "kept");
    EXPECT_EQ(other.g->ColCount(), 3);
}

namespace {

std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }

}  // namespace

TEST_F(StreamGraphicsTest, BadGraphicRecordsAreRefusedWithTheGridUnchanged)
{
    Fill();
    const std::string whole = g->SaveToBinStream();
    other.g->SetCells(0, 0, "before");
    auto unchanged = [&] { return other.g->Cells(0, 0) == "before" && other.g->GetCellType(1, 1) == ctEmpty; };

    // every cut inside the graphic records
    const size_t first = whole.find(Short("TGridGraphicIO"));
    ASSERT_NE(first, std::string::npos);
    for (size_t cut = first; cut < whole.size() - 1; ++cut) {
        try {
            other.g->LoadFromBinStream(whole.substr(0, cut));
        } catch (const EReadError&) {
            ASSERT_TRUE(unchanged()) << cut;
            continue;
        } catch (const EExGridError&) {
            ASSERT_TRUE(unchanged()) << cut;
            continue;
        }
        // a cut between whole records loads the records before it
        other.g->Clear();
        other.g->SetCells(0, 0, "before");
    }

    // records with values out of range, each after a cell that has a graphic
    const std::string end(2, '\0');
    const std::string cell = "TPF0" + Short("TGridPropIO") + Short("") + Short("ColCount") + "\x02\x04" +
                             Short("RowCount") + "\x02\x04" + end + "TPF0" + Short("TGridCellIO") + Short("") +
                             Short("HasProp") + "\x09" + end + "TPF0" + Short("TGridCellPropIO") + Short("") +
                             Short("HasGraphic") + "\x09" + end;
    const std::string graphic = "TPF0" + Short("TGridGraphicIO") + Short("");
    struct Case {
        const char* what;
        std::string data;
    };
    const Case cases[] = {
        {"cell type", graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctNothing") + end},
        {"cell type as a number", graphic + Short("CellGraphic.CellType") + "\x02\x63" + end},
        {"vertical alignment", graphic + Short("CellGraphic.CellVAlign") + "\x07" + Short("vaNowhere") + end},
        {"flag", graphic + Short("CellGraphic.CellCreated") + "\x02\x02" + end},
        {"error mark", graphic + Short("CellGraphic.CellErrFrom") + "\x04" + le32(1 << 20) + end},
        {"an empty graphic", graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctEmpty") + end},
        {"a bitmap without its record", graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctBitmap") + end},
        {"a bitmap claiming more bytes than it holds",
         graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctBitmap") + end + "TPF0" + Short("TGridBMPIO") +
             Short("") + Short("Bitmap.Data") + "\x0a" + le32(40) + le32(1000) + "BM" + std::string(34, '\0') + end},
        {"a bitmap whose data is no picture",
         graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctBitmap") + end + "TPF0" + Short("TGridBMPIO") +
             Short("") + Short("Bitmap.Data") + "\x0a" + le32(8) + le32(4) + "abcd" + end},
        {"a string list claiming a billion entries",
         graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctRadio") + end + "TPF0" + Short("TGridSLIO") +
             Short("") + Short("Strings.Strings") + "\x01" + "\x0c" + le32(1000000000) + end},
        {"an image list that is not numbers",
         graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctImages") + end + "TPF0" + Short("TGridSLIO") +
             Short("") + Short("Strings.Strings") + "\x01" + "\x06" + Short("x") + std::string(1, '\0') + end},
        {"an icon that is none",
         graphic + Short("CellGraphic.CellType") + "\x07" + Short("ctIcon") + end + "TPF0" + Short("TGridIconIO") +
             Short("") + Short("Icon.Data") + "\x0a" + le32(3) + "abc" + end},
    };
    for (const Case& k : cases) {
        bool refused = false;
        try {
            other.g->LoadAtPointFromBinStream(TPoint{0, 0}, cell + k.data);
        } catch (const EReadError&) {
            refused = true;
        } catch (const EExGridError&) {
            refused = true;
        }
        EXPECT_TRUE(refused) << k.what;
        EXPECT_TRUE(unchanged()) << k.what;
    }
}

TEST_F(StreamGraphicsTest, MutatedStreamsWithGraphicsNeverCrash)
{
    Fill();
    const std::string whole = g->SaveToBinStream();
    std::mt19937 rng(209);
    int refused = 0, read = 0;
    // GRID_FUZZ_ROUNDS asks for a longer run
    const char* env = std::getenv("GRID_FUZZ_ROUNDS");
    const int rounds = env ? std::max(1, std::atoi(env)) : 2000;
    for (int round = 0; round < rounds; ++round) {
        std::string d = whole;
        for (int k = 0, n = 1 + int(rng() % 3); k < n; ++k) {
            const size_t at = 4 + rng() % (d.size() - 4);
            switch (rng() % 4) {
            case 0: d.erase(at, 1 + rng() % 16); break;
            case 1: d.insert(at, 1, char(rng())); break;
            default: d[at] = char(rng()); break;
            }
        }
        try {
            other.g->LoadFromBinStream(d);
            ++read;
        } catch (const EReadError&) {
            ++refused;
        } catch (const EExGridError&) {
            ++refused;
        }
        ASSERT_LE(other.g->ColCount(), 512);
    }
    std::printf("mutated grid streams: %d read, %d refused\n", read, refused);
    EXPECT_GT(refused, 0);
}

}  // namespace
