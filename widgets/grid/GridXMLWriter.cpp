// The grid's XML records over a cell store (see GridXMLWriter.h).
#include "widgets/grid/GridXMLWriter.h"

#include <cctype>

#include "base/StringList.h"
#include "platform/Types.h"

namespace grid {

namespace {

// Text for XML declared as ISO-8859-1: markup characters as entities, the Windows-1252
// characters that Latin-1 lacks as character references, control characters left out.
std::string XMLText(const std::string& s)
{
    std::string out;
    for (char ch : s) {
        const unsigned char u = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '>': out += "&gt;"; break;
        case '<': out += "&lt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (u < 0x20 && ch != '\t' && ch != '\r' && ch != '\n') break;
            if (u >= 0x80 && u < 0xA0) {
                const std::u16string w = platform::AnsiToWide(std::string(1, ch));
                out += "&#" + std::to_string(w.empty() ? 0xFFFD : int(w[0])) + ";";
                break;
            }
            out += ch;
        }
    }
    return out;
}

// A name usable as an XML element name: letters, digits, '_', '-', '.'; others become '_'.
std::string XMLName(const std::string& s)
{
    std::string out = s.empty() ? std::string("_") : s;
    for (char& ch : out)
        if (!(std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '-' || ch == '.')) ch = '_';
    if (std::isdigit(static_cast<unsigned char>(out[0])) || out[0] == '-' || out[0] == '.') out.insert(0, "_");
    return out;
}

}  // namespace

std::string WriteGridXML(TGridCellStore& cells, const std::string& listName, const std::string& recordName,
                         const base::TStrings* fieldNames)
{
    const std::string list = XMLName(listName), rec = XMLName(recordName);
    std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<" + list + ">\r\n";
    const TGridBlock block = cells.SaveBlock();
    const int c0 = block.col0, c1 = block.col1;
    cells.ExportNotification(esExportStart, -1);
    for (int r = block.row0; r <= block.row1; ++r) {
        cells.ExportNotification(esExportNewRow, r);
        out += "<" + rec + ">\r\n";
        for (int c = c0; c <= c1; ++c) {
            const int k = c - c0;
            const std::string name =
                fieldNames && k < fieldNames->Count() ? XMLName((*fieldNames)[k]) : "FIELD" + std::to_string(k);
            out += "<" + name + ">" + XMLText(cells.CellText(c, r)) + "</" + name + ">\r\n";
        }
        out += "</" + rec + ">\r\n";
    }
    out += "</" + list + ">\r\n";
    cells.ExportNotification(esExportDone, -1);
    return out;
}

}  // namespace grid
