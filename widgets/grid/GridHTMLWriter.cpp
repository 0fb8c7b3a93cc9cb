// The grid's HTML table over a cell store (see GridHTMLWriter.h).
#include "widgets/grid/GridHTMLWriter.h"

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/html/HtmlText.h"

using namespace platform;

namespace grid {

namespace {

constexpr TColor kUnset = TColor(0x7FFFFFFF);

std::string Hex(TColor c) { return HTMLColor(ColorToRGB(c)); }

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

}  // namespace

std::string WriteGridHTML(TGridCellStore& cells, const TGridFileOptions& o)
{
    const THTMLSettings& hs = o.HTMLSettings;
    const bool x = hs.XHTML;
    const std::string br = x ? "<br/>" : "<br>";
    const int fc = o.SaveFixedCells ? 0 : cells.FixedCols();
    const int fr = o.SaveFixedCells ? 0 : cells.FixedRows();
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

    const std::string nowrap = cells.WordWrap() ? "" : (x ? " nowrap=\"nowrap\"" : " nowrap");
    auto span = [&](int rc, int r) {
        const TPoint sp = cells.Span(rc, r);
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
        cells.Alignment(rc, r, ha, va);
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
        if (cells.ShowURLs() && !markup && (proto != std::string::npos || mail != std::string::npos)) {
            std::string shown = raw;
            if (!cells.FullURLs()) shown = mail != std::string::npos ? raw.substr(mail + 7) : raw.substr(proto + 3, 255);
            t = "<a href=\"" + html::FixMarkup(raw) + "\">" + html::FixMarkup(shown) + "</a>";
        } else {
            t = body && hs.ConvertSpecialChars ? html::FixMarkup(raw) : raw;
            if (body && hs.NonBreakingText) t = html::FixNonBreaking(t);
        }
        t = base::StringReplaceAll(t, "\r\n", br);
        t = base::StringReplaceAll(t, "\r", br);
        return t;
    };
    // The colours, styles and face a cell sets of its own.
    struct Look {
        std::string fontOpen, fontClose, styleOpen, styleClose;
        TColor brush = kUnset;
    };
    auto look = [&](int d, int r, bool body) {
        Look l;
        const int rc = cells.RealCol(d);
        TBrush b;
        TFont f;
        f.SetColor(kUnset);
        f.SetStyle(0);
        f.SetName(cells.FontName());  // a face is written only where a cell sets its own
        b.SetColor(body && r >= cells.FixedRows() && d >= cells.FixedCols() ? kUnset : cells.FixedColor());
        cells.CellLook(rc, r, b, f);
        l.brush = b.Color();
        const bool color = hs.SaveColor && f.Color() != kUnset && f.Color() != clNone;
        const std::string colorPart = color ? "color=\"#" + Hex(f.Color()) + "\"" : "";
        const std::string facePart =
            body && hs.SaveFonts && !f.Name().empty() && f.Name() != cells.FontName() ? "face=\"" + html::FixMarkup(f.Name()) + "\"" : "";
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

    const bool header = cells.FixedRows() > 0 && o.SaveFixedCells;
    if (header) {
        line("<tr>");
        for (int c = 0; c < cells.ColCount(); ++c) {
            const int rc = cells.RealCol(c);
            if (!cells.IsBaseCell(rc, 0)) continue;
            const std::string raw = cells.CellText(rc, 0);
            std::string a, v;
            aligns(rc, 0, raw, a, v);
            std::string t = cellText(raw, false);
            if (t.empty()) t = br;
            const Look l = look(c, 0, false);
            line("<td" + nowrap + a + " bgcolor=\"#" + Hex(cells.FixedColor()) + "\"" + v + width(c) + span(rc, 0) + ">" +
                 l.styleOpen + l.fontOpen + t + l.fontClose + l.styleClose + "</td>");
        }
        line("</tr>");
    }
    cells.ExportNotification(esExportStart, -1);
    for (int r = header ? 1 : fr; r < cells.RowCount(); ++r) {
        cells.ExportNotification(esExportNewRow, r);
        line("<tr>");
        for (int j = fc; j < cells.ColCount(); ++j) {
            const int rc = cells.RealCol(j);
            if (!cells.IsBaseCell(rc, r)) continue;
            const std::string raw = cells.CellText(rc, r);
            std::string t = cellText(raw, true);
            std::string a, v;
            std::string trimmed = raw;
            trimmed.erase(0, trimmed.find_first_not_of(' '));
            aligns(rc, r, trimmed, a, v);
            if (trimmed.empty()) t = br;
            const Look l = look(j, r, true);
            std::string bg;
            if (cells.IsFixedCell(j, r) || j < cells.FixedCols() || r < cells.FixedRows()) bg = " bgcolor=\"#" + Hex(cells.FixedColor()) + "\"";
            if (hs.SaveColor && l.brush != kUnset && l.brush != clNone) bg = " bgcolor=\"#" + Hex(l.brush) + "\"";
            line("<td" + span(rc, r) + nowrap + a + v + bg + (header ? std::string() : width(j - fc)) + ">" +
                 l.fontOpen + l.styleOpen + t + l.styleClose + l.fontClose + "</td>");
        }
        line("</tr>");
    }
    cells.ExportNotification(esExportDone, -1);
    line("</table>");
    if (!hs.SuffixTag.empty()) line(hs.SuffixTag);
    if (x) line("</html>");
    return x ? AnsiToUtf8(out) : out;
}


std::string GridHTMLFile(TGridCellStore& cells, const TGridFileOptions& o)
{
    std::string data = FileLines(o.HTMLSettings.HeaderFile);
    data += WriteGridHTML(cells, o) + "\r\n";
    data += FileLines(o.HTMLSettings.FooterFile);
    return data;
}

}  // namespace grid
