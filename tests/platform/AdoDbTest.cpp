// Record sets through the ODBC driver manager, on the MDB Tools driver and the grid's
// database fixture (see tests/widgets/grid/test_exgrid_database.cpp for how it was made).
#include <gtest/gtest.h>

#include <string>

#include "platform/system/AdoDb.h"

using namespace platform;

namespace {
const std::string kHulls = std::string(KORVELO_SOURCE_DIR) + "/tests/widgets/grid/data/hulls.mdb";
}

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
}
