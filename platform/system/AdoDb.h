#pragma once
// The database objects a program reaches by automation ("ADODB.Connection",
// "ADODB.RecordSet"), on the host's ODBC driver manager: a connection string names an
// installed driver ("Driver={MDBTools};DBQ=file.mdb" for Access files) and a record set
// walks the rows of a query's result. Texts are Windows-1252.
//
// The driver runs in a helper process (korvelo-odbc) that each connection starts: a driver
// that crashes on a damaged file ends that process, and the call that was waiting for it
// raises EDatabaseError.
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"

namespace platform {

// Connecting or querying failed; the message carries the driver's own diagnostics.
class EDatabaseError : public base::Exception {
public:
    using base::Exception::Exception;
};

class TAdoConnection {
public:
    TAdoConnection();
    ~TAdoConnection();
    TAdoConnection(const TAdoConnection&) = delete;
    TAdoConnection& operator=(const TAdoConnection&) = delete;
    // EDatabaseError when the driver is not installed or refuses the connection.
    void Open(const std::string& ConnectionString);
    void Close();
    bool Connected() const;

private:
    friend class TAdoRecordSet;
    struct Handles;
    std::shared_ptr<Handles> h_;
};

struct TAdoField {
    std::string Name;
    std::string Value;   // as text; empty for a null value
    int ActualSize = 0;  // bytes of the value; 0 for null or empty
};

class TAdoRecordSet {
public:
    TAdoRecordSet();
    ~TAdoRecordSet();
    TAdoRecordSet(const TAdoRecordSet&) = delete;
    TAdoRecordSet& operator=(const TAdoRecordSet&) = delete;
    TAdoConnection* ActiveConnection = nullptr;
    // Runs the query on the active connection and stands on its first record.
    // EDatabaseError without an open connection or when the driver refuses the text.
    void Open(const std::string& Source);
    void Close();
    int FieldCount() const { return int(fields_.size()); }
    // The fields of the current record.
    const TAdoField& Fields(int Index) const;  // base::EListError out of range
    // The number of records when the driver tells it, else -1.
    long RecordCount() const { return recordCount_; }
    bool Eof() const { return eof_; }
    void MoveNext();

private:
    void Fetch();
    std::shared_ptr<TAdoConnection::Handles> s_;  // the connection that streams the result
    long stream_ = 0;                             // which of its results is ours
    std::vector<TAdoField> fields_;
    long recordCount_ = -1;
    bool eof_ = true;
};

}  // namespace platform
