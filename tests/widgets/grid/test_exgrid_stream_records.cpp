// The records of the binary cell stream as components in the "TPF0" format: round trips,
// a record byte for byte, and cut or oversized records refused with the grid unchanged.
#include <gtest/gtest.h>

#include <cstdint>

#include "GridWindow.h"
#include "platform/Streaming.h"
#include "platform/graphics/Icon.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridStreamRecords.h"

using namespace platform;
using namespace grid;

namespace {

struct RecordTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override { Open(300, 200, 4, 4); }
    void TearDown() override { Close(); }
};

std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }

std::string Le32(int32_t v)
{
    std::string s;
    for (int k = 0; k < 4; ++k) s += char((uint32_t(v) >> (8 * k)) & 0xFF);
    return s;
}

}  // namespace

TEST_F(RecordTest, CellAndPropertiesRoundTrip)
{
    TGridCellIO cell(g);
    cell.Col = 3;
    cell.Row = 70000;  // past 16 bits
    cell.Cell = std::string("two\r\nlines\0x", 12);
    cell.HasProp = true;
    TGridCellPropIO prop(g);
    TCellProperties& p = prop.CellProperties();
    p.SetBrushColor(clRed);
    p.SetBrushColorTo(clBlue);
    p.FontSize = 12;
    p.FontStyle = fsBold;
    p.CellSpanX = 2;
    p.Alignment = taCenter;
    p.SetVAlignment(vtaCenter);
    p.SetWordWrap(true);
    p.ReadOnly = true;
    p.CalcType = 3;
    p.FontName = "Sans";
    p.Editor = edFloat;
    TMemoryStream data;
    data.WriteComponent(&cell);
    data.WriteComponent(&prop);

    TGridCellIO c2(g);
    TGridCellPropIO p2(g);
    data.SetPosition(0);
    data.ReadComponent(&c2);
    data.ReadComponent(&p2);
    EXPECT_EQ(data.Position(), data.Size());
    EXPECT_EQ(c2.Col, 3);
    EXPECT_EQ(c2.Row, 70000);
    EXPECT_EQ(c2.Cell, cell.Cell);
    EXPECT_TRUE(c2.HasProp);
    const TCellProperties& q = p2.CellProperties();
    EXPECT_EQ(q.BrushColor(), clRed);
    EXPECT_EQ(q.BrushColorTo(), clBlue);
    EXPECT_EQ(q.FontSize, 12);
    EXPECT_EQ(q.FontStyle, TFontStyles(fsBold));
    EXPECT_EQ(q.CellSpanX, 2);
    EXPECT_EQ(q.Alignment, taCenter);
    EXPECT_EQ(q.VAlignment(), vtaCenter);
    EXPECT_TRUE(q.WordWrap());
    EXPECT_TRUE(q.ReadOnly);
    EXPECT_EQ(q.CalcType, 3);
    EXPECT_EQ(q.FontName, "Sans");
    EXPECT_EQ(q.Editor, edFloat);

    // applied to a cell, the cell keeps its own place
    TCellProperties target(g, 1, 2);
    p2.ApplyTo(target);
    EXPECT_EQ(target.OwnerCol, 1);
    EXPECT_EQ(target.OwnerRow, 2);
    EXPECT_EQ(target.FontName, "Sans");
    EXPECT_EQ(target.CalcType, 3);
}

TEST_F(RecordTest, ACellRecordByteForByte)
{
    TGridCellIO cell(g);
    cell.Col = 3;
    cell.Row = 300;
    cell.Cell = "text";
    cell.HasProp = false;
    TMemoryStream m;
    m.WriteComponent(&cell);
    const std::string expected = "TPF0" + Short("TGridCellIO") + Short("") + Short("Col") + "\x02\x03" + Short("Row") +
                                 "\x03" + std::string("\x2c\x01", 2) + Short("Cell") + "\x06" + Short("text") +
                                 Short("HasProp") + "\x08" + std::string(2, '\0');
    EXPECT_EQ(m.DataString(), expected);

    // the header: counts, sizes as comma-separated text, the flag and the writer's handle
    TGridPropIO head(g);
    head.ColCount = 2;
    head.RowCount = 1;
    head.ColWidths = "64,10";
    head.RowHeights = "24";
    head.FullGrid = true;
    head.ID = 0x1234;
    TMemoryStream h;
    h.WriteComponent(&head);
    EXPECT_EQ(h.DataString(), "TPF0" + Short("TGridPropIO") + Short("") + Short("ColCount") + "\x02\x02" +
                                  Short("RowCount") + "\x02\x01" + Short("ColWidths") + "\x06" + Short("64,10") +
                                  Short("RowHeights") + "\x06" + Short("24") + Short("FullGrid") + "\x09" + Short("ID") +
                                  "\x03" + std::string("\x34\x12", 2) + std::string(2, '\0'));
}

TEST_F(RecordTest, CutStreamsAreRefusedWithTheGridUnchanged)
{
    g->SetCells(1, 1, "one");
    g->SetColors(1, 1, clRed);
    g->SetCells(2, 3, "two");
    const std::string whole = g->SaveToBinStream();
    g->SetCells(1, 1, "before");
    g->SetCells(2, 3, "");
    int refused = 0;
    const int cols = g->ColCount(), rows = g->RowCount();
    int loaded = 0;
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        try {
            g->LoadFromBinStream(whole.substr(0, cut));
        } catch (const EReadError&) {
            ++refused;
            ASSERT_EQ(g->Cells(1, 1), "before") << cut;
            ASSERT_EQ(g->Cells(2, 3), "") << cut;
            continue;
        } catch (const EExGridError&) {
            ++refused;
            ASSERT_EQ(g->Cells(1, 1), "before") << cut;
            continue;
        }
        // a cut that ends exactly between two records reads the records before it
        ++loaded;
        g->SetColCount(cols);
        g->SetRowCount(rows);
        g->SetCells(1, 1, "before");
        g->SetCells(2, 3, "");
    }
    EXPECT_LE(loaded, 4);  // after the header and after each of the three records
    EXPECT_EQ(refused + loaded, int(whole.size()) - 1);
    g->LoadFromBinStream(whole);
    EXPECT_EQ(g->Cells(1, 1), "one");
    EXPECT_EQ(g->GetColors(1, 1), clRed);
}

TEST_F(RecordTest, OversizedFieldsAreRefused)
{
    const std::string header = "TPF0" + Short("TGridPropIO") + Short("") + Short("ColCount") + "\x02\x04" +
                               Short("RowCount") + "\x02\x04" + std::string(2, '\0');
    const std::string cell = "TPF0" + Short("TGridCellIO") + Short("");
    const std::string end(2, '\0');
    struct Case {
        const char* what;
        std::string data;
    };
    const Case cases[] = {
        {"text longer than the data", header + cell + Short("Cell") + "\x0c" + Le32(1000) + "abc" + end},
        {"negative text length", header + cell + Short("Cell") + "\x0c" + Le32(-1) + end},
        {"huge text length", header + cell + Short("Cell") + "\x0c" + Le32(INT32_MAX) + end},
        {"column past the grid limit", header + cell + Short("Col") + "\x04" + Le32(100000) + end},
        {"negative row", header + cell + Short("Row") + "\x02\xfb" + end},
        {"flag other than False or True", header + cell + Short("HasProp") + "\x07" + Short("Maybe") + end},
        {"a field no record has", header + cell + Short("Colour") + "\x02\x01" + end},
        {"another record in a cell's place", header + "TPF0" + Short("TGridSLIO") + Short("") + end},
        {"counts past the limits", "TPF0" + Short("TGridPropIO") + Short("") + Short("RowCount") + "\x04" +
                                       Le32(1 << 30) + end},
        {"more widths than columns", "TPF0" + Short("TGridPropIO") + Short("") + Short("ColCount") + "\x02\x01" +
                                         Short("ColWidths") + "\x06" + Short("5,6") + end},
        {"a width that is no number", "TPF0" + Short("TGridPropIO") + Short("") + Short("ColCount") + "\x02\x01" +
                                          Short("ColWidths") + "\x06" + Short("5x") + end},
        {"no signature", "KGRID2" + std::string(8, '\0')},
        {"an oversized span", header + cell + Short("HasProp") + "\x09" + end + "TPF0" + Short("TGridCellPropIO") +
                                  Short("") + Short("CellProperties.CellSpanX") + "\x04" + Le32(1 << 30) + end},
        {"a font name longer than the data", header + cell + Short("HasProp") + "\x09" + end + "TPF0" +
                                                 Short("TGridCellPropIO") + Short("") +
                                                 Short("CellProperties.FontName") + "\x0c" + Le32(1 << 20) + "x"},
    };
    g->SetCells(0, 0, "kept");
    for (const Case& k : cases) {
        bool refused = false;
        try {
            g->LoadAtPointFromBinStream(TPoint{0, 0}, k.data);
        } catch (const EReadError&) {
            refused = true;
        } catch (const EExGridError&) {
            refused = true;
        }
        EXPECT_TRUE(refused) << k.what;
        EXPECT_EQ(g->Cells(0, 0), "kept") << k.what;
        EXPECT_EQ(g->ColCount(), 4) << k.what;
    }
}

TEST_F(RecordTest, IconImagesAndBitButtonsTravelWithTheirObjects)
{
    // an icon the grid owns
    TBitmap image(16, 16), mask(16, 16);
    image.Canvas()->Brush().SetColor(clBlue);
    image.Canvas()->FillRect(TRect{0, 0, 16, 16});
    TCellGraphic* ig = g->CreateCellGraphic(1, 1);
    ig->CellType = ctIcon;
    auto* icon = new TIcon;
    icon->SetHandle(CreateIconFromBitmaps(&image, &mask));
    ig->CellIconRef = icon;
    ig->CellCreated = true;
    ig->CellHAlign = haRight;
    // an image index list
    TCellGraphic* mg = g->CreateCellGraphic(2, 1);
    mg->CellType = ctImages;
    auto* list = new TIntList;
    list->SetStrValue("3,-1,20");
    mg->CellGraphicRef = list;
    // a bit button with its glyph
    TBitmap* glyph = g->CreateBitButton(3, 1, 40, 20, "go", haCenter, vaCenter);
    glyph->SetSize(2, 2);
    glyph->ScanLine(1)[1] = 0xFF00FF00u;

    const std::string data = g->SaveToBinStream();
    EXPECT_NE(data.find(Short("TGridIconIO")), std::string::npos);
    gridtest::GridWindow other;
    other.Open(300, 200, 1, 1);
    other.g->LoadFromBinStream(data);
    const TCellGraphic* ri = other.g->GetCellGraphic(1, 1);
    ASSERT_NE(ri, nullptr);
    EXPECT_EQ(ri->CellType, ctIcon);
    EXPECT_EQ(ri->CellHAlign, haRight);
    EXPECT_TRUE(ri->CellCreated);
    auto* ricon = dynamic_cast<TIcon*>(ri->CellIconRef);
    ASSERT_NE(ricon, nullptr);
    EXPECT_NE(ricon, icon);
    EXPECT_EQ(ricon->Width(), 16);
    const TCellGraphic* rm = other.g->GetCellGraphic(2, 1);
    ASSERT_NE(rm, nullptr);
    ASSERT_EQ(rm->CellType, ctImages);
    auto* rlist = dynamic_cast<TIntList*>(rm->CellGraphicRef);
    ASSERT_NE(rlist, nullptr);
    EXPECT_EQ(rlist->StrValue(), "3,-1,20");
    const TCellGraphic* rb = other.g->GetCellGraphic(3, 1);
    ASSERT_NE(rb, nullptr);
    EXPECT_EQ(rb->CellType, ctBitButton);
    EXPECT_EQ(rb->CellText, "go");
    auto* rglyph = dynamic_cast<TBitmap*>(rb->CellGraphicRef);
    ASSERT_NE(rglyph, nullptr);
    ASSERT_EQ(rglyph->Width(), 2);
    EXPECT_EQ(rglyph->ScanLine(1)[1] & 0xFFFFFFu, 0x00FF00u);
    other.Close();
}
