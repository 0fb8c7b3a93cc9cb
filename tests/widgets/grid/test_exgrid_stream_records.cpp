// The records of the binary cell stream: round trips, and cut or oversized records refused
// with the record and the grid unchanged.
#include <gtest/gtest.h>

#include <cstdint>

#include "GridWindow.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridStreamRecords.h"

using namespace platform;
using namespace grid;

namespace {

struct RecordTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override { Open(300, 200, 4, 4); }
    void TearDown() override { Close(); }
};

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
    std::string data;
    cell.Write(data);
    prop.Write(data);

    TGridCellIO c2(g);
    TGridCellPropIO p2(g);
    size_t pos = 0;
    ASSERT_TRUE(c2.Read(data, pos));
    p2.Read(data, pos);
    EXPECT_EQ(pos, data.size());
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

    // applied to a cell, the cell keeps its own place
    TCellProperties target(g, 1, 2);
    p2.ApplyTo(target);
    EXPECT_EQ(target.OwnerCol, 1);
    EXPECT_EQ(target.OwnerRow, 2);
    EXPECT_EQ(target.FontName, "Sans");
    EXPECT_EQ(target.CalcType, 3);
}

TEST_F(RecordTest, CutRecordsAreRefusedUnchanged)
{
    TGridCellIO cell(g);
    cell.Col = 1;
    cell.Row = 2;
    cell.Cell = "text";
    cell.HasProp = true;
    TGridCellPropIO prop(g);
    prop.CellProperties().FontName = "Mono";
    std::string data;
    cell.Write(data);
    const size_t cellEnd = data.size();
    prop.Write(data);
    for (size_t n = 2; n < cellEnd; ++n) {
        TGridCellIO c(g);
        c.Cell = "kept";
        size_t pos = 0;
        EXPECT_THROW(c.Read(data.substr(0, n), pos), EExGridError) << n;
        EXPECT_EQ(pos, 0u);
        EXPECT_EQ(c.Cell, "kept");
    }
    for (size_t n = cellEnd; n < data.size(); ++n) {
        TGridCellPropIO p(g);
        p.CellProperties().FontName = "kept";
        size_t pos = cellEnd;
        EXPECT_THROW(p.Read(data.substr(0, n), pos), EExGridError) << n;
        EXPECT_EQ(pos, cellEnd);
        EXPECT_EQ(p.CellProperties().FontName, "kept");
    }
}

TEST_F(RecordTest, OversizedFieldsAreRefused)
{
    struct Case {
        const char* what;
        std::string data;
    };
    const Case cases[] = {
        {"text longer than the data", "C" + Le32(0) + Le32(0) + Le32(1000) + "abc" + Le32(0)},
        {"negative text length", "C" + Le32(0) + Le32(0) + Le32(-1) + Le32(0)},
        {"huge text length", "C" + Le32(0) + Le32(0) + Le32(INT32_MAX) + Le32(0)},
        {"column past the grid limit", "C" + Le32(100000) + Le32(0) + Le32(0) + Le32(0)},
        {"negative row", "C" + Le32(0) + Le32(-5) + Le32(0) + Le32(0)},
        {"flag other than 0 or 1", "C" + Le32(0) + Le32(0) + Le32(0) + Le32(7)},
    };
    for (const Case& k : cases) {
        TGridCellIO c(g);
        size_t pos = 0;
        EXPECT_THROW(c.Read(k.data, pos), EExGridError) << k.what;
        EXPECT_EQ(pos, 0u) << k.what;
    }
    // properties: an oversized span and a font name longer than the data
    std::string span, name;
    for (int k = 0; k < 18; ++k) span += Le32(k == 6 ? 1 << 30 : 0);
    span += Le32(0);
    for (int k = 0; k < 18; ++k) name += Le32(0);
    name += Le32(1 << 20) + "x";
    for (const std::string& d : {span, name}) {
        TGridCellPropIO p(g);
        size_t pos = 0;
        EXPECT_THROW(p.Read(d, pos), EExGridError);
    }

    // a grid stream whose last record is cut leaves the grid as it was
    g->SetCells(1, 1, "one");
    g->SetColors(1, 1, clRed);
    const std::string whole = g->SaveToBinStream();
    g->SetCells(1, 1, "before");
    for (size_t cut : {whole.size() - 1, whole.size() - 5}) {
        EXPECT_THROW(g->LoadFromBinStream(whole.substr(0, cut)), EExGridError) << cut;
        EXPECT_EQ(g->Cells(1, 1), "before");
    }
    g->LoadFromBinStream(whole);
    EXPECT_EQ(g->Cells(1, 1), "one");
    EXPECT_EQ(g->GetColors(1, 1), clRed);
}
