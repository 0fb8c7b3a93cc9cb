// Record sets through the ODBC driver manager, on the MDB Tools driver and the grid's
// database fixture (see tests/widgets/grid/test_exgrid_database.cpp for how it was made).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/system/AdoDb.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {
const std::string kHulls = std::string(KORVELO_SOURCE_DIR) + "/tests/widgets/grid/data/hulls.mdb";

// A copy of the fixture with one byte changed.
std::string Damaged(const testsupport::TempDir& dir, std::size_t at, char value)
{
    std::ifstream in(kHulls, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.at(at) = value;
    const std::string path = dir.file("damaged.mdb");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string Names(TAdoRecordSet& rs)
{
    std::string seen;
    while (!rs.Eof()) {
        seen += rs.Fields(0).Value + ";";
        rs.MoveNext();
    }
    return seen;
}
}  // namespace

TEST(AdoDb, ARecordSetWalksTheRecords)
{
    TAdoConnection c;
    c.Open("Driver={MDBTools};DBQ=" + kHulls);
    ASSERT_TRUE(c.Connected());
    TAdoRecordSet rs;
    rs.ActiveConnection = &c;
    rs.Open("SELECT Name, Builder FROM Hulls");
    ASSERT_EQ(rs.FieldCount(), 2);
    EXPECT_EQ(rs.Fields(0).Name, "Name");
    EXPECT_EQ(rs.Fields(1).Name, "Builder");
    std::string seen;
    int nulls = 0;
    while (!rs.Eof()) {
        seen += rs.Fields(0).Value + ";";
        nulls += rs.Fields(1).ActualSize == 0;
        rs.MoveNext();
    }
    EXPECT_EQ(seen, "Box barge;Wigley;Tug;");
    EXPECT_EQ(nulls, 1);
    EXPECT_THROW(rs.MoveNext(), EDatabaseError);
    EXPECT_THROW(rs.Fields(2), base::EListError);
    rs.Close();
    c.Close();
    EXPECT_FALSE(c.Connected());
}

TEST(AdoDb, ErrorsCarryTheDriversDiagnostics)
{
    TAdoConnection c;
    try {
        c.Open("Driver={No Such Driver};DBQ=" + kHulls);
        ADD_FAILURE() << "connected";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message().find("No Such Driver"), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(c.Connected());
    TAdoRecordSet rs;
    EXPECT_THROW(rs.Open("SELECT * FROM Hulls"), EDatabaseError);  // no connection
    rs.ActiveConnection = &c;
    EXPECT_THROW(rs.Open("SELECT * FROM Hulls"), EDatabaseError);  // not open
    EXPECT_TRUE(rs.Eof());
    // The driver's text without its line feed and its empty state.
    c.Open("Driver={MDBTools};DBQ=" + kHulls);
    try {
        rs.Open("SELECT Name FROM Hulls ORDER BY Name");
        ADD_FAILURE() << "ORDER BY was taken";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "ODBC: Couldn't parse SQL");
    }
    EXPECT_TRUE(c.Connected());
}

// The driver crashes on this file (a field count in the table definition of "Hulls" set
// to 255): the helper process dies, not the program, and the query says why.
TEST(AdoDb, ADriverThatCrashesEndsOnlyTheHelper)
{
    testsupport::TempDir dir;
    TAdoConnection c;
    c.Open("Driver={MDBTools};DBQ=" + Damaged(dir, 4 * 4096 + 55, char(0xFF)));
    TAdoRecordSet rs;
    rs.ActiveConnection = &c;
    try {
        rs.Open("SELECT * FROM Hulls");
        while (!rs.Eof()) rs.MoveNext();
        ADD_FAILURE() << "the damaged file was read";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message().find("The database driver crashed (signal 11"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("the file may be damaged"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(rs.Eof());
    EXPECT_FALSE(c.Connected());
    EXPECT_THROW(rs.Open("SELECT * FROM Hulls"), EDatabaseError);
    // A new connection starts a new helper.
    c.Open("Driver={MDBTools};DBQ=" + kHulls);
    rs.Open("SELECT Name FROM Hulls");
    EXPECT_EQ(Names(rs), "Box barge;Wigley;Tug;");
}

TEST(AdoDb, AConnectionRunsOneQueryAfterAnother)
{
    TAdoConnection c;
    c.Open("Driver={MDBTools};DBQ=" + kHulls);
    TAdoRecordSet first, second;
    first.ActiveConnection = second.ActiveConnection = &c;
    // A result left unread is dropped when its record set closes ...
    first.Open("SELECT Name FROM Hulls");
    EXPECT_EQ(first.Fields(0).Value, "Box barge");
    first.Close();
    second.Open("SELECT Name FROM Hulls WHERE Stations < 10");
    EXPECT_EQ(Names(second), "Tug;");
    // ... or when another query begins on the connection, which ends the first record set.
    first.Open("SELECT Name FROM Hulls");
    second.Open("SELECT Name FROM Hulls WHERE Stations > 20");
    EXPECT_THROW(first.MoveNext(), EDatabaseError);
    EXPECT_TRUE(first.Eof());
    EXPECT_EQ(Names(second), "Wigley;");
    // The connection may close before its record sets do.
    first.Open("SELECT Name FROM Hulls");
    c.Close();
    EXPECT_THROW(first.MoveNext(), EDatabaseError);
}

// The driver prints its complaints ("NoSuch is not a table in this database"); they go
// nowhere, and the program's output stays its own.
TEST(AdoDb, TheDriversOwnMessagesStayOffTheProgramsOutput)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    TAdoConnection c;
    c.Open("Driver={MDBTools};DBQ=" + kHulls);
    TAdoRecordSet rs;
    rs.ActiveConnection = &c;
    EXPECT_THROW(rs.Open("SELECT * FROM NoSuch"), EDatabaseError);
    EXPECT_THROW(rs.Open("SELECT Name FROM Hulls ORDER BY Name"), EDatabaseError);
    c.Close();
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}
