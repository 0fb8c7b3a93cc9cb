// A query's result from an Access database file, read through the ODBC driver manager and
// the MDB Tools driver.
//
// data/hulls.mdb was written by data/make_mdb.py (python3 make_mdb.py hulls.mdb): no program
// that writes Access files is to be had here, so that script writes a minimal Jet 4 file page
// by page. Its table "Hulls" has the fields Name (text), Stations (long), Length (double) and
// Builder (text) and three records; Wigley's builder is null, the tug's is "Åland Yard".
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/system/AdoDb.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "GridWindow.h"

using namespace grid;

namespace {

const std::string kHulls = std::string(KORVELO_SOURCE_DIR) + "/tests/widgets/grid/data/hulls.mdb";

struct DatabaseTest : ::testing::Test, gridtest::GridWindow {
    void SetUp() override { Open(500, 300, 3, 3); }
    void TearDown() override { Close(); }
    std::string Row(int r)
    {
        std::string s;
        for (int c = 0; c < g->ColCount(); ++c) s += (c ? "|" : "") + g->Cells(c, r);
        return s;
    }
};

}  // namespace

TEST_F(DatabaseTest, ATableFillsTheGridUnderItsFieldNames)
{
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetCells(0, 1, "kept");
    g->LoadFromMDBTable(kHulls, "Hulls");
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Row(0), "|Name|Stations|Length|Builder");
    EXPECT_EQ(Row(1), "kept|Box barge|11|60|Yard A");
    EXPECT_EQ(Row(2), "|Wigley|21|100.5|");  // a null value is an empty cell
    EXPECT_EQ(Row(3), "|Tug|7|24.25|\xC5land Yard");
}

TEST_F(DatabaseTest, AQueryChoosesFieldsAndRecords)
{
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetRowCount(1);
    g->LoadFromMDBSQL(kHulls, "SELECT Name, Length FROM Hulls WHERE Stations > 10");
    EXPECT_EQ(g->ColCount(), 2);
    ASSERT_EQ(g->RowCount(), 2);  // no fixed row: no names
    EXPECT_EQ(Row(0), "Box barge|60");
    EXPECT_EQ(Row(1), "Wigley|100.5");
}

TEST_F(DatabaseTest, FailuresSayWhyAndLeaveTheGridAlone)
{
    g->SetFixedRows(1);
    g->SetCells(1, 1, "mine");
    testsupport::TempDir dir;
    const std::string notADatabase = dir.file("notes.mdb");
    std::ofstream(notADatabase) << "not a database\n";
    struct Case {
        std::string file, sql, message;
    };
    const Case cases[] = {
        {notADatabase, "SELECT * FROM Hulls",
         "Cannot open database " + notADatabase + " with the MDBTools ODBC driver: ODBC: "},
        {kHulls + ".missing", "SELECT * FROM Hulls", "Database file not found: " + kHulls + ".missing"},
        {kHulls, "SELECT * FROM NoSuchTable", "Cannot read database " + kHulls + ": ODBC: "},
        {kHulls, "this is no query", "Cannot read database " + kHulls + ": ODBC: "},
    };
    for (const Case& k : cases) {
        try {
            g->LoadFromMDBSQL(k.file, k.sql);
            ADD_FAILURE() << k.sql << " raised nothing";
        } catch (const EExGridError& e) {
            EXPECT_EQ(e.Message().substr(0, k.message.size()), k.message) << e.Message();
        }
        EXPECT_EQ(g->ColCount(), 3) << k.sql;
        EXPECT_EQ(g->RowCount(), 3) << k.sql;
        EXPECT_EQ(g->Cells(1, 1), "mine") << k.sql;
    }
}

TEST_F(DatabaseTest, AResultReplacesRowsTheGridAlreadyHeld)
{
    // The driver reports 0 records for a query; the records read are counted.
    g->SetFixedRows(1);
    g->SetFixedCols(0);
    g->SetColCount(6);
    g->SetRowCount(10);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 6; ++c) g->SetCells(c, r, "old");
    g->LoadFromMDBSQL(kHulls, "SELECT Name, Stations FROM Hulls");
    EXPECT_EQ(g->ColCount(), 2);
    ASSERT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Row(0), "Name|Stations");
    EXPECT_EQ(Row(1), "Box barge|11");
    EXPECT_EQ(Row(3), "Tug|7");
}

// Copies of the fixture with one byte changed on which the driver crashes: the program
// goes on, refuses the file and keeps its grid.
TEST_F(DatabaseTest, ADamagedFileThatCrashesTheDriverIsRefused)
{
    std::ifstream in(kHulls, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct Case {
        const char* what;
        std::size_t at;
        char value;
    };
    const Case cases[] = {
        {"the catalog's table definition", 2 * 4096 + 55, char(0x80)},  // crashes running the query
        {"the table definition of Hulls", 4 * 4096 + 55, char(0xFF)},  // crashes reading records
    };
    testsupport::TempDir dir;
    g->SetFixedRows(1);
    g->SetCells(1, 1, "mine");
    for (const Case& k : cases) {
        std::string damaged = bytes;
        damaged.at(k.at) = k.value;
        const std::string file = dir.file("damaged.mdb");
        std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged;
        try {
            g->LoadFromMDBTable(file, "Hulls");
            ADD_FAILURE() << k.what << ": read";
        } catch (const EExGridError& e) {
            EXPECT_NE(e.Message().find("Cannot read database " + file + ": The database driver crashed"),
                      std::string::npos)
                << k.what << ": " << e.Message();
        }
        EXPECT_EQ(g->ColCount(), 3) << k.what;
        EXPECT_EQ(g->RowCount(), 3) << k.what;
        EXPECT_EQ(g->Cells(1, 1), "mine") << k.what;
    }
}
