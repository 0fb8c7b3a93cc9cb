// The grid's HTML and XML files (the formats are GridHTMLWriter's and GridXMLWriter's);
// a query's result from an Access database file; the office exchange calls, which have
// no automation server on this platform.
#include <vector>

#include "base/FileUtils.h"
#include "base/StringList.h"
#include "platform/system/AdoDb.h"
#include "platform/system/Shell.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExGridFileCells.h"
#include "widgets/grid/GridFiles.h"
#include "widgets/grid/GridHTMLWriter.h"
#include "widgets/grid/GridXMLWriter.h"

using namespace platform;

namespace grid {

std::string TExStringGrid::SaveToHTMLString()
{
    TExGridFileCells cells(*this);
    return WriteGridHTML(cells, *this);
}

void TExStringGrid::OutputToHTML(const std::string& FileName, bool Append)
{
    TExGridFileCells cells(*this);
    WriteExportFile(FileName, GridHTMLFile(cells, *this), Append, "Cannot Create file ");
    if (HTMLSettings.AutoPreview) ShellExecute(0, "open", FileName, "", "", SW_SHOWNORMAL);
}

void TExStringGrid::SaveToXML(const std::string& FileName, const std::string& ListDescr,
                              const std::string& RecordDescr, const base::TStrings* FieldDescr)
{
    TExGridFileCells cells(*this);
    WriteExportFile(FileName, WriteGridXML(cells, ListDescr, RecordDescr, FieldDescr), false, "Cannot Create file ");
}

base::TStringList* TExStringGrid::GetXLSSheets(const std::string&) { throw EExGridError("Excel OLE server not found"); }
void TExStringGrid::LoadFromXLS(const std::string&) { throw EExGridError("Excel OLE server not found"); }
void TExStringGrid::LoadFromXLSSheet(const std::string&, const std::string&)
{
    throw EExGridError("Excel OLE server not found");
}
void TExStringGrid::SaveToXLS(const std::string&, bool) { throw EExGridError("Excel OLE server not found"); }
void TExStringGrid::SaveToXLSSheet(const std::string&, const std::string&)
{
    throw EExGridError("Excel OLE server not found");
}
void TExStringGrid::SaveToDOC(const std::string&, bool) { throw EExGridError("Word OLE server not found"); }

void TExStringGrid::LoadFromMDBTable(const std::string& FileName, const std::string& Table)
{
    LoadFromMDBSQL(FileName, "SELECT * FROM " + Table);
}

void TExStringGrid::LoadFromMDBSQL(const std::string& FileName, const std::string& SQL)
{
    if (!base::FileExists(FileName)) throw EExGridError("Database file not found: " + FileName);
    // The whole result is read before the grid changes, so a failure leaves it as it was.
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> records;
    long recordCount = -1;
    try {
        TAdoConnection connection;
        try {
            connection.Open("Driver={MDBTools};DBQ=" + FileName);
        } catch (const EDatabaseError& e) {
            // a missing driver or a file it cannot read
            throw EExGridError("Cannot open database " + FileName + " with the MDBTools ODBC driver: " + e.Message());
        }
        TAdoRecordSet rs;
        rs.ActiveConnection = &connection;
        rs.Open(SQL);
        for (int k = 0; k < rs.FieldCount(); ++k) names.push_back(rs.Fields(k).Name);
        recordCount = rs.RecordCount();
        while (!rs.Eof()) {
            std::vector<std::string> values;
            for (int k = 0; k < rs.FieldCount(); ++k) {
                const TAdoField& f = rs.Fields(k);
                values.push_back(f.ActualSize > 0 ? f.Value : std::string());
            }
            records.push_back(std::move(values));
            rs.MoveNext();
        }
        rs.Close();
        connection.Close();
        // Drivers need not count a query's records: MDB Tools says 0 and others -1. What
        // was read is the true count.
        if (recordCount != long(records.size())) recordCount = long(records.size());
    } catch (const EDatabaseError& e) {
        throw EExGridError("Cannot read database " + FileName + ": " + e.Message());
    }
    SetColCount(FixedCols() + int(names.size()));
    if (FixedRows() > 0)
        for (size_t k = 0; k < names.size(); ++k) SetCellEx(FixedCols() + int(k), FixedRows() - 1, names[k]);
    if (recordCount > 0) SetRowCount(FixedRows() + int(recordCount));
    int r = FixedRows();
    for (const auto& values : records) {
        if (r >= RowCount()) SetRowCount(r + 1);
        for (size_t k = 0; k < values.size(); ++k) LoadCell(FixedCols() + int(k), r, values[k]);
        ++r;
    }
}

}  // namespace grid
