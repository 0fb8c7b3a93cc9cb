// korvelo-odbc: runs database queries for the program in a process of its own, so that a
// driver that crashes on a damaged file takes only this process down. It reads requests
// from the socket on descriptor 3 and answers with the driver's results; texts pass as the
// driver gives them (UTF-8). It ends when the program closes the socket.
#include <sql.h>
#include <sqlext.h>
#include <unistd.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/system/DbWire.h"

namespace wire = platform::dbwire;

// In a sanitizer build a crash in the driver must still end this process by its signal,
// which is how the program tells a crashing driver; the driver's leaks are not ours.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options()
{
    return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_abort=0:detect_leaks=0";
}

namespace {

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    std::string out;
    SQLCHAR state[6] = {}, text[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    for (SQLSMALLINT i = 1; i <= 8; ++i) {
        if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, text, sizeof text, &len))) break;
        // MDB Tools ends its texts with a line feed and leaves the state empty.
        std::string line = reinterpret_cast<const char*>(text);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
        if (state[0]) line += " (" + std::string(reinterpret_cast<const char*>(state)) + ")";
        if (!out.empty()) out += "; ";
        out += line;
    }
    return out.empty() ? "no diagnostics" : out;
}

struct Session {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    ~Session()
    {
        if (connected) SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
};

bool Fail(const std::string& why) { return wire::SendFrame(wire::kHelperFd, wire::kFailed, why); }

bool Connect(Session& s, const std::string& connection)
{
    if (s.connected) return Fail("The connection is already open");
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &s.env)))
        return Fail("The ODBC driver manager cannot be started");
    SQLSetEnvAttr(s.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, s.env, &s.dbc)))
        return Fail("ODBC: " + Diagnostics(SQL_HANDLE_ENV, s.env));
    SQLCHAR out[1024] = {};
    SQLSMALLINT outLen = 0;
    const SQLRETURN r = SQLDriverConnect(s.dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connection.c_str())),
                                         SQL_NTS, out, sizeof out, &outLen, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(r)) return Fail("ODBC: " + Diagnostics(SQL_HANDLE_DBC, s.dbc));
    s.connected = true;
    return wire::SendFrame(wire::kHelperFd, wire::kConnected, {});
}

struct Statement {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    ~Statement()
    {
        if (stmt != SQL_NULL_HSTMT) {
            SQLCloseCursor(stmt);
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        }
    }
};

// One record's values; false (after sending the failure) when the driver refuses one.
bool ReadRow(SQLHSTMT stmt, SQLSMALLINT fields, wire::Writer& row)
{
    std::vector<char> buf(65536);
    for (SQLSMALLINT i = 0; i < fields; ++i) {
        std::string value;
        bool null = false;
        // Long values come in pieces; each call returns the next one.
        for (int piece = 0; piece < 4096; ++piece) {
            SQLLEN ind = 0;
            const SQLRETURN g = SQLGetData(stmt, SQLUSMALLINT(i + 1), SQL_C_CHAR, buf.data(), SQLLEN(buf.size()), &ind);
            if (g == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(g)) {
                Fail("ODBC: " + Diagnostics(SQL_HANDLE_STMT, stmt));
                return false;
            }
            if (ind == SQL_NULL_DATA) {
                null = true;
                break;
            }
            const size_t room = buf.size() - 1;
            const size_t got = ind == SQL_NO_TOTAL || ind < 0 || size_t(ind) > room ? room : size_t(ind);
            value.append(buf.data(), got);
            if (g == SQL_SUCCESS) break;
        }
        row.U8(null ? 1 : 0);
        row.Str(value);
    }
    return true;
}

// The header, every record and the end; false when the program has gone.
bool Query(Session& s, const std::string& sql)
{
    if (!s.connected) return Fail("The record set has no open connection");
    Statement st;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, s.dbc, &st.stmt)))
        return Fail("ODBC: " + Diagnostics(SQL_HANDLE_DBC, s.dbc));
    if (!SQL_SUCCEEDED(SQLExecDirect(st.stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS)))
        return Fail("ODBC: " + Diagnostics(SQL_HANDLE_STMT, st.stmt));
    SQLSMALLINT n = 0;
    SQLNumResultCols(st.stmt, &n);
    if (n < 0) n = 0;
    SQLLEN rows = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(st.stmt, &rows))) rows = -1;
    wire::Writer head;
    head.I64(rows);
    head.U32(std::uint32_t(n));
    for (SQLSMALLINT i = 0; i < n; ++i) {
        SQLCHAR name[512] = {};
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeCol(st.stmt, SQLUSMALLINT(i + 1), name, sizeof name, &nameLen, &type, &size, &digits, &nullable);
        head.Str(reinterpret_cast<const char*>(name));
    }
    if (!wire::SendFrame(wire::kHelperFd, wire::kHeader, head.Data())) return false;
    for (;;) {
        const SQLRETURN r = SQLFetch(st.stmt);
        if (r == SQL_NO_DATA) return wire::SendFrame(wire::kHelperFd, wire::kEnd, {});
        if (!SQL_SUCCEEDED(r)) return Fail("ODBC: " + Diagnostics(SQL_HANDLE_STMT, st.stmt));
        wire::Writer row;
        if (!ReadRow(st.stmt, n, row)) return true;
        if (!wire::SendFrame(wire::kHelperFd, wire::kRow, row.Data())) return false;
    }
}

}  // namespace

int main()
{
    Session s;
    char tag = 0;
    std::string payload;
    while (wire::RecvFrame(wire::kHelperFd, tag, payload)) {
        bool alive = false;
        if (tag == wire::kConnect) alive = Connect(s, payload);
        else if (tag == wire::kQuery) alive = Query(s, payload);
        else alive = Fail("Unknown request");
        if (!alive) return 1;
    }
    return 0;
}
