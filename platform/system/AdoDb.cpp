// Record sets on the ODBC driver manager (unixODBC).
#include "platform/system/AdoDb.h"

#include <sql.h>
#include <sqlext.h>

#include "platform/Types.h"

namespace platform {

namespace {

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    std::string out;
    SQLCHAR state[6] = {}, text[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    for (SQLSMALLINT i = 1; i <= 8; ++i) {
        if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, text, sizeof text, &len))) break;
        if (!out.empty()) out += "; ";
        out += reinterpret_cast<const char*>(text);
        out += " (";
        out += reinterpret_cast<const char*>(state);
        out += ")";
    }
    return out.empty() ? "no diagnostics" : out;
}

}  // namespace

struct TAdoConnection::Handles {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    ~Handles()
    {
        if (connected) SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
};

TAdoConnection::TAdoConnection() = default;
TAdoConnection::~TAdoConnection() = default;

void TAdoConnection::Open(const std::string& ConnectionString)
{
    Close();
    auto h = std::make_unique<Handles>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h->env)))
        throw EDatabaseError("The ODBC driver manager cannot be started");
    SQLSetEnvAttr(h->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h->env, &h->dbc)))
        throw EDatabaseError("ODBC: " + Diagnostics(SQL_HANDLE_ENV, h->env));
    const std::string utf8 = AnsiToUtf8(ConnectionString);
    SQLCHAR out[1024] = {};
    SQLSMALLINT outLen = 0;
    const SQLRETURN r = SQLDriverConnect(h->dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(utf8.c_str())),
                                         SQL_NTS, out, sizeof out, &outLen, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(r)) throw EDatabaseError("ODBC: " + Utf8ToAnsi(Diagnostics(SQL_HANDLE_DBC, h->dbc)));
    h->connected = true;
    h_ = std::move(h);
}

void TAdoConnection::Close() { h_.reset(); }

bool TAdoConnection::Connected() const { return h_ && h_->connected; }

struct TAdoRecordSet::Statement {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    ~Statement()
    {
        if (stmt != SQL_NULL_HSTMT) {
            SQLCloseCursor(stmt);
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        }
    }
};

TAdoRecordSet::TAdoRecordSet() = default;
TAdoRecordSet::~TAdoRecordSet() = default;

void TAdoRecordSet::Open(const std::string& Source)
{
    Close();
    if (!ActiveConnection || !ActiveConnection->Connected())
        throw EDatabaseError("The record set has no open connection");
    auto s = std::make_unique<Statement>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, ActiveConnection->h_->dbc, &s->stmt)))
        throw EDatabaseError("ODBC: " + Utf8ToAnsi(Diagnostics(SQL_HANDLE_DBC, ActiveConnection->h_->dbc)));
    const std::string utf8 = AnsiToUtf8(Source);
    if (!SQL_SUCCEEDED(SQLExecDirect(s->stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(utf8.c_str())), SQL_NTS)))
        throw EDatabaseError("ODBC: " + Utf8ToAnsi(Diagnostics(SQL_HANDLE_STMT, s->stmt)));
    SQLSMALLINT n = 0;
    SQLNumResultCols(s->stmt, &n);
    std::vector<TAdoField> fields(size_t(n < 0 ? 0 : n));
    for (SQLSMALLINT i = 0; i < n; ++i) {
        SQLCHAR name[512] = {};
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeCol(s->stmt, SQLUSMALLINT(i + 1), name, sizeof name, &nameLen, &type, &size, &digits, &nullable);
        fields[size_t(i)].Name = Utf8ToAnsi(reinterpret_cast<const char*>(name));
    }
    SQLLEN rows = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(s->stmt, &rows))) rows = -1;
    s_ = std::move(s);
    fields_ = std::move(fields);
    recordCount_ = rows >= 0 ? long(rows) : -1;
    eof_ = false;
    Fetch();
}

void TAdoRecordSet::Fetch()
{
    const SQLRETURN r = SQLFetch(s_->stmt);
    if (r == SQL_NO_DATA) {
        eof_ = true;
        return;
    }
    if (!SQL_SUCCEEDED(r)) throw EDatabaseError("ODBC: " + Utf8ToAnsi(Diagnostics(SQL_HANDLE_STMT, s_->stmt)));
    std::vector<char> buf(65536);
    for (size_t i = 0; i < fields_.size(); ++i) {
        TAdoField& f = fields_[i];
        std::string value;
        bool null = false;
        // Long values come in pieces; each call returns the next one.
        for (int piece = 0; piece < 4096; ++piece) {
            SQLLEN ind = 0;
            const SQLRETURN g = SQLGetData(s_->stmt, SQLUSMALLINT(i + 1), SQL_C_CHAR, buf.data(), SQLLEN(buf.size()), &ind);
            if (g == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(g)) throw EDatabaseError("ODBC: " + Utf8ToAnsi(Diagnostics(SQL_HANDLE_STMT, s_->stmt)));
            if (ind == SQL_NULL_DATA) {
                null = true;
                break;
            }
            const size_t room = buf.size() - 1;
            const size_t got = ind == SQL_NO_TOTAL || size_t(ind) > room ? room : size_t(ind);
            value.append(buf.data(), got);
            if (g == SQL_SUCCESS) break;
        }
        f.Value = null ? std::string() : Utf8ToAnsi(value);
        f.ActualSize = null ? 0 : int(value.size());
    }
}

void TAdoRecordSet::MoveNext()
{
    if (!s_ || eof_) throw EDatabaseError("The record set has no current record");
    Fetch();
}

void TAdoRecordSet::Close()
{
    s_.reset();
    fields_.clear();
    recordCount_ = -1;
    eof_ = true;
}

const TAdoField& TAdoRecordSet::Fields(int Index) const
{
    if (Index < 0 || Index >= FieldCount()) throw base::EListError("Field index out of bounds");
    return fields_[size_t(Index)];
}

}  // namespace platform
