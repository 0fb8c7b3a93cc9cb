// The grid as an HTML table and as XML records; a query's result from an Access database
// file; the office exchange calls, which have no automation server on this platform.
#include <algorithm>
#include <vector>

#include "base/FileUtils.h"
#include "base/StringList.h"
#include "platform/Types.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/AdoDb.h"
#include "platform/system/Shell.h"
#include "base/StrUtils.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/GridFiles.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

namespace {

constexpr TColor kUnset = TColor(0x7FFFFFFF);

std::string Hex(TColor c) { return HTMLColor(ColorToRGB(c)); }

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) { s = base::StringReplaceAll(s, from, to); }

// Lines of a file, CR LF each; nothing when it does not read.
std::string FileLines(const std::string& name)
{
    std::string data, out;
    if (name.empty() || !base::ReadFile(name, data)) return out;
    base::TStringList list;
    list.SetText(data);
    for (int i = 0; i < list.Count(); ++i) out += list[i] + "\r\n";
    return out;
}

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
                const std::u16string w = AnsiToWide(std::string(1, ch));
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

std::string TExStringGrid::SaveToHTMLString()
{
    const THTMLSettings& hs = HTMLSettings;
    const bool x = hs.XHTML;
    const std::string br = x ? "<br/>" : "<br>";
    const int fc = SaveFixedCells ? 0 : FixedCols();
    const int fr = SaveFixedCells ? 0 : FixedRows();
    std::string out;
    auto line = [&](const std::string& l) { out += l + "\r\n"; };
    if (x) {
        line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
        line("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"");
        line("\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
        line("<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">");
    }
    if (!hs.PrefixTag.empty()) line(hs.PrefixTag);
    line("<table border=\"" + std::to_string(hs.BorderSize) + "\" cellspacing=\"" + std::to_string(hs.CellSpacing) +
         "\" cellpadding=\"" + std::to_string(hs.CellPadding) + "\" " +
         (hs.TableStyle.empty() ? std::string() : " " + hs.TableStyle + " ") + " width=\"" + std::to_string(hs.Width) +
         "%\">");

    const std::string nowrap = WordWrap() ? "" : (x ? " nowrap=\"nowrap\"" : " nowrap");
    auto span = [&](int rc, int r) {
        const TPoint sp = CellSpan(rc, r);
        std::string s;
        if (sp.X > 0) s += " colspan=\"" + std::to_string(sp.X + 1) + "\"";
        if (sp.Y > 0) s += " rowspan=\"" + std::to_string(sp.Y + 1) + "\"";
        return s;
    };
    auto aligns = [&](int rc, int r, const std::string& t, std::string& a, std::string& v) {
        a.clear();
        v.clear();
        if (t.empty()) return;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        GetCellAlignment(rc, r, ha, va);
        if (ha == taRightJustify) a = " align=\"right\"";
        else if (ha == taCenter) a = " align=\"center\"";
        if (va == vtaTop) v = " valign=\"top\"";
        else if (va == vtaBottom) v = " valign=\"bottom\"";
    };
    // Cell text goes to the page as it stands (cells hold mini-HTML meant for it); body text is
    // escaped with ConvertSpecialChars. Links are quoted.
    auto cellText = [&](const std::string& raw, bool body) {
        const bool markup = raw.find("</") != std::string::npos;
        std::string t;
        const size_t proto = raw.find("://"), mail = raw.find("mailto:");
        if (URLShow && !markup && (proto != std::string::npos || mail != std::string::npos)) {
            std::string shown = raw;
            if (!URLFull) shown = mail != std::string::npos ? raw.substr(mail + 7) : raw.substr(proto + 3, 255);
            t = "<a href=\"" + html::FixMarkup(raw) + "\">" + html::FixMarkup(shown) + "</a>";
        } else {
            t = body && HTMLSettings.ConvertSpecialChars ? html::FixMarkup(raw) : raw;
            if (body && HTMLSettings.NonBreakingText) t = html::FixNonBreaking(t);
        }
        ReplaceAll(t, "\r\n", br);
        ReplaceAll(t, "\r", br);
        return t;
    };
    // The colours, styles and face a cell sets of its own.
    struct Look {
        std::string fontOpen, fontClose, styleOpen, styleClose;
        TColor brush = kUnset;
    };
    auto look = [&](int d, int r, bool body) {
        Look l;
        const int rc = RemapCol(d);
        TBrush b;
        TFont f;
        f.SetColor(kUnset);
        f.SetStyle(0);
        b.SetColor(body && r >= FixedRows() && d >= FixedCols() ? kUnset : FixedColor());
        if (const TCellProperties* p = CellProps(rc, r)) {
            if (p->BrushColor() != clNone) b.SetColor(p->BrushColor());
            if (p->FontColor != clNone) f.SetColor(p->FontColor);
            if (p->FontStyle) f.SetStyle(p->FontStyle);
            if (!p->FontName.empty()) f.SetName(p->FontName);
        }
        TGridDrawState state = 0;
        GetCellColor(rc, r, state, b, f);
        l.brush = b.Color();
        const bool color = hs.SaveColor && f.Color() != kUnset && f.Color() != clNone;
        const std::string colorPart = color ? "color=\"#" + Hex(f.Color()) + "\"" : "";
        const std::string facePart =
            body && hs.SaveFonts && !f.Name().empty() && f.Name() != Font()->Name() ? "face=\"" + html::FixMarkup(f.Name()) + "\"" : "";
        if (!colorPart.empty() || !facePart.empty()) {
            l.fontOpen = "<font" + (colorPart.empty() ? "" : " " + colorPart) + (facePart.empty() ? "" : " " + facePart) + ">";
            l.fontClose = "</font>";
        }
        if (hs.SaveFonts) {
            const TFontStyles st = f.Style();
            if (st & fsBold) { l.styleOpen += "<b>"; }
            if (st & fsItalic) { l.styleOpen += "<i>"; }
            if (st & fsUnderline) { l.styleOpen += "<u>"; }
            if (st & fsUnderline) l.styleClose += "</u>";
            if (st & fsItalic) l.styleClose += "</i>";
            if (st & fsBold) l.styleClose += "</b>";
        }
        return l;
    };
    auto width = [&](int k) {
        return k >= 0 && k < int(hs.ColWidths.size()) ? " width=\"" + std::to_string(hs.ColWidths[size_t(k)]) + "\""
                                                        : std::string();
    };

    const bool header = FixedRows() > 0 && SaveFixedCells;
    if (header) {
        line("<tr>");
        for (int c = 0; c < ColCount(); ++c) {
            const int rc = RemapCol(c);
            if (!IsBaseCell(rc, 0)) continue;
            const std::string raw = SaveCell(rc, 0);
            std::string a, v;
            aligns(rc, 0, raw, a, v);
            std::string t = cellText(raw, false);
            if (t.empty()) t = br;
            const Look l = look(c, 0, false);
            line("<td" + nowrap + a + " bgcolor=\"#" + Hex(FixedColor()) + "\"" + v + width(c) + span(rc, 0) + ">" +
                 l.styleOpen + l.fontOpen + t + l.fontClose + l.styleClose + "</td>");
        }
        line("</tr>");
    }
    ExportNotification(esExportStart, -1);
    for (int r = header ? 1 : fr; r < RowCount(); ++r) {
        ExportNotification(esExportNewRow, r);
        line("<tr>");
        for (int j = fc; j < ColCount(); ++j) {
            const int rc = RemapCol(j);
            if (!IsBaseCell(rc, r)) continue;
            const std::string raw = SaveCell(rc, r);
            std::string t = cellText(raw, true);
            std::string a, v;
            std::string trimmed = raw;
            trimmed.erase(0, trimmed.find_first_not_of(' '));
            aligns(rc, r, trimmed, a, v);
            if (trimmed.empty()) t = br;
            const Look l = look(j, r, true);
            std::string bg;
            if (IsFixed(j, r) || j < FixedCols() || r < FixedRows()) bg = " bgcolor=\"#" + Hex(FixedColor()) + "\"";
            if (hs.SaveColor && l.brush != kUnset && l.brush != clNone) bg = " bgcolor=\"#" + Hex(l.brush) + "\"";
            line("<td" + span(rc, r) + nowrap + a + v + bg + (header ? std::string() : width(j - fc)) + ">" +
                 l.fontOpen + l.styleOpen + t + l.styleClose + l.fontClose + "</td>");
        }
        line("</tr>");
    }
    ExportNotification(esExportDone, -1);
    line("</table>");
    if (!hs.SuffixTag.empty()) line(hs.SuffixTag);
    if (x) line("</html>");
    return x ? AnsiToUtf8(out) : out;
}

void TExStringGrid::OutputToHTML(const std::string& FileName, bool Append)
{
    std::string data = FileLines(HTMLSettings.HeaderFile);
    data += SaveToHTMLString() + "\r\n";
    data += FileLines(HTMLSettings.FooterFile);
    WriteExportFile(FileName, data, Append, "Cannot Create file ");
    if (HTMLSettings.AutoPreview) ShellExecute(0, "open", FileName, "", "", SW_SHOWNORMAL);
}

void TExStringGrid::SaveToXML(const std::string& FileName, const std::string& ListDescr,
                              const std::string& RecordDescr, const base::TStrings* FieldDescr)
{
    const std::string list = XMLName(ListDescr), rec = XMLName(RecordDescr);
    std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<" + list + ">\r\n";
    const int c0 = GetSaveStartCol(), c1 = GetSaveEndCol();
    ExportNotification(esExportStart, -1);
    for (int r = GetSaveStartRow(); r <= GetSaveEndRow(); ++r) {
        ExportNotification(esExportNewRow, r);
        out += "<" + rec + ">\r\n";
        for (int c = c0; c <= c1; ++c) {
            const int k = c - c0;
            const std::string name =
                FieldDescr && k < FieldDescr->Count() ? XMLName((*FieldDescr)[k]) : "FIELD" + std::to_string(k);
            out += "<" + name + ">" + XMLText(ExportCell(c, r)) + "</" + name + ">\r\n";
        }
        out += "</" + rec + ">\r\n";
    }
    out += "</" + list + ">\r\n";
    ExportNotification(esExportDone, -1);
    WriteExportFile(FileName, out, false, "Cannot Create file ");
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
