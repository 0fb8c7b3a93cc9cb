// Column widths and order kept in an INI file.
#include <gtest/gtest.h>

#include "GridWindow.h"
#include "base/IniFile.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"

using namespace grid;

namespace {

struct SettingsTest : ::testing::Test, gridtest::GridWindow {
    testsupport::TempDir dir{"gridsettings"};
    void SetUp() override
    {
        Open(500, 300, 3, 2);
        g->SetFixedCols(0);
        g->ColumnSize().Location = clIniFile;
        g->ColumnSize().Key = dir.file("cols.ini");
        g->ColumnSize().Section = "Grid";
        for (int c = 0; c < 3; ++c) g->SetCells(c, 0, std::string(1, char('a' + c)));
        g->SetColumnOrder();
    }
    void TearDown() override { Close(); }
};

}  // namespace

TEST_F(SettingsTest, WidthsRoundTripAndNothingWithoutAKey)
{
    g->SetColWidths(1, 77);
    g->SaveColSizes();
    base::TIniFile ini(dir.file("cols.ini"));
    EXPECT_EQ(ini.ReadInteger("Grid", "Col1", 0), 77);
    EXPECT_EQ(ini.ReadInteger("Grid", "Col2", 0), 64);
    g->SetColWidths(1, 20);
    g->LoadColSizes();
    EXPECT_EQ(g->ColWidths(1), 77);
    g->ColumnSize().Key.clear();
    g->SetColWidths(1, 20);
    g->SaveColSizes();
    g->LoadColSizes();
    EXPECT_EQ(g->ColWidths(1), 20);
}

TEST_F(SettingsTest, StoredOrderIsAppliedAsFarAsItFits)
{
    struct Case {
        std::vector<long long> pos;
        std::string want;
    } cases[] = {
        {{2, 0, 1}, "cab"},
        {{2}, "cab"},        // shorter than the grid: the rest follow in their order
        {{1, 1, 9}, "bac"},  // repeated and unknown columns are left out
    };
    for (const Case& k : cases) {
        base::TIniFile ini(dir.file("cols.ini"));
        ini.EraseSection("Grid");
        for (size_t i = 0; i < k.pos.size(); ++i) ini.WriteInteger("Grid", "Pos" + std::to_string(i), k.pos[i]);
        gridtest::GridWindow w;
        w.Open(300, 200, 3, 2);
        w.g->SetFixedCols(0);
        w.g->ColumnSize().Location = clIniFile;
        w.g->ColumnSize().Key = g->ColumnSize().Key;
        w.g->ColumnSize().Section = "Grid";
        for (int c = 0; c < 3; ++c) w.g->SetCells(c, 0, std::string(1, char('a' + c)));
        w.g->SetColumnOrder();
        w.g->LoadColPositions();
        EXPECT_EQ(w.g->Cells(0, 0) + w.g->Cells(1, 0) + w.g->Cells(2, 0), k.want);
        w.g->SaveColPositions();
        w.Close();
    }
}
