// The print layout: a run over a print job's range that sizes the columns and rows in
// units of 0.1 mm, fits them to the page, splits them into column bands and pages and
// draws the pages. Positions grow upwards from the page top (a position down the page is
// negative) and are mapped onto the pixels of whatever canvas draws the page.
#include "widgets/grid/GridPrintLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/StringList.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Printer.h"
#include "widgets/grid/ExUtil.h"
#include "widgets/grid/PrintSettings.h"
#include "widgets/html/HtmlEngine.h"

using namespace platform;

namespace grid {
namespace {

bool IsLeft(TPrintPosition p) { return p == ppTopLeft || p == ppBottomLeft; }
bool IsTop(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool IsBottom(TPrintPosition p) { return p >= ppBottomLeft && p <= ppBottomCenter; }

}  // namespace

TPoint RotatedStart(const TRect& R, int angle, TSize e, TAlignment ha, TVAlignment va)
{
    const double a = angle * std::numbers::pi / 180.0;
    const int A = std::abs(int(std::cos(a) * e.cx)), Bb = std::abs(int(std::sin(a) * e.cy));
    const int C = std::abs(int(std::sin(a) * e.cx)), D = std::abs(int(std::cos(a) * e.cy));
    const int deg = ((angle % 360) + 360) % 360;
    TPoint o = deg <= 90 ? TPoint{0, C} : deg <= 180 ? TPoint{A, C + D} : deg <= 270 ? TPoint{A + Bb, D} : TPoint{Bb, 0};
    TPoint p{R.Left + o.X, R.Top + o.Y};
    if (ha == taRightJustify) p.X = R.Right - (A + Bb) + o.X;
    else if (ha == taCenter) p.X = R.Left + (R.Width() - A - Bb) / 2 + o.X;
    if (va == vtaBottom) p.Y = R.Bottom - (C + D) + o.Y;
    else if (va == vtaCenter) p.Y = R.Top + o.Y - (C + D - R.Height()) / 2;
    return p;
}

namespace {

void Mix(std::size_t& h, std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

void MixFont(std::size_t& h, const TFont& f)
{
    Mix(h, std::hash<std::string>()(f.Name()));
    Mix(h, std::size_t(f.Height()));
    Mix(h, std::size_t(f.Style()));
    Mix(h, std::size_t(f.Pitch()));
}

// One run over the job: the page geometry, the column bands and the drawing.
struct Layout {
    TGridPrintSource& src;
    TGridPrintJob& job;
    const TExGridEvents& ev;
    TObject* sender;
    const TPrintTextRules rules;
    TPrintSettings& ps;
    TCanvas* cv;
    TPrintMethod method;
    int pages;
    bool selectedOnly;
    TGridRect range;
    double k = 96.0 / 254.0;  // canvas pixels per unit
    int ox = 0, oy = 0;       // canvas position of the page's top left
    double pf = 254.0 / 96.0; // units per screen pixel
    int W = 0, B = 0;
    int u = 0, headerLine = 0, footerLine = 0, bodyLine = 0;
    int cs = 0, Ht = 0, Hb = 0;
    std::vector<int> width, xpos;
    std::vector<char> colOn, rowOn;
    std::vector<int> measured;  // measured row heights, -1 until asked
    std::vector<std::pair<int, int>> bands;
    std::vector<int> repeated;  // fixed columns repeated at the left of the current band
    int band = 0, pageNr = 0, pageInBand = 0;
    bool anyPageDrawn = false;

    Layout(TGridPrintSource& source, TGridPrintJob& printJob, TCanvas* canvas, TPrintMethod m, int totalPages,
           bool selOnly)
        : src(source), job(printJob), ev(source.Events()), sender(source.Sender()), rules(source.TextRules()),
          ps(printJob.Settings()), cv(canvas), method(m), pages(totalPages), selectedOnly(selOnly), range(printJob.Range)
    {
    }

    bool Drawing() const { return method == prPreview || method == prPrint; }
    bool PageDrawn() const { return Drawing() && job.PageInRange(pageNr); }

    int DX(int x) const { return ox + int(std::lround(x * k)); }
    int DY(int y) const { return oy - int(std::lround(y * k)); }
    TRect DR(int x1, int yTop, int x2, int yBottom) const { return {DX(x1), DY(yTop), DX(x2), DY(yBottom)}; }
    int Units(int px) const { return int(std::lround(px / k)); }

    // The canvas font: f at its size in units (times the font scale), in canvas pixels.
    void UseFont(const TFont& f)
    {
        cv->Font().Assign(f);
        const int h = std::max(1, int(std::lround(std::abs(job.MapFontHeight(f.Size())) * k)));
        cv->Font().SetHeight(-h);
    }
    TSize Extent(const std::string& s)
    {
        const TSize e = wideText.empty() ? cv->TextExtent(s) : cv->TextExtentW(Shown(s));
        return {Units(e.cx), Units(e.cy)};
    }

    // A wide cell is laid out on its 8-bit stand-in (one character per code unit, "?" for
    // those beyond it) and measured and drawn with its own characters: the part of the
    // wide text that t stands for, looked for from *at on (which then moves past it).
    std::u16string wideText;
    std::string wideStandIn;
    std::u16string Shown(const std::string& t, std::size_t* at = nullptr) const
    {
        if (!wideText.empty()) {
            const std::size_t p = wideStandIn.find(t, at ? *at : 0);
            if (p != std::string::npos) {
                if (at) *at = p + t.size();
                return wideText.substr(p, t.size());
            }
        }
        return AnsiToWide(t);
    }
    void Out(int x, int y, const std::string& s, std::size_t* at = nullptr)
    {
        if (wideText.empty()) cv->TextOut(x, y, s);
        else cv->TextOutW(x, y, Shown(s, at));
    }
    void DrawTextIn(const std::string& s, TRect* r, UINT flags)
    {
        if (wideText.empty()) platform::DrawText(cv->Handle(), s, -1, r, flags);
        else DrawTextW(cv->Handle(), Shown(s), -1, r, flags);
    }

    // ---- what a cell shows
    std::string CellText(int rc, int r, TTextType& kind)
    {
        kind = TTextType::ttText;
        std::string s = src.CellText(rc, r, kind);
        if (s.empty()) return s;
        wideText.clear();
        wideStandIn.clear();
        if (kind == TTextType::ttUnicode) {
            wideText = DecodeWideStr(s);
            s = wideStandIn = WideStandIn(wideText);
        }
        if (src.IsPassword(rc, r)) {
            StringToPassword(s, rules.passwordChar);
            if (kind == TTextType::ttRTF) kind = TTextType::ttText;
        }
        if (kind != TTextType::ttHTML && rules.shortURLs && IsURL(s)) StripURLProtocol(s);
        return s;
    }

    // The graphic's size on the page in units: as on screen, except that bitmaps and buttons
    // always take their own size and a node takes its row's indentation.
    TSize GraphicSize(int rc, int r)
    {
        const TCellGraphic* gr = ps.PrintGraphics ? src.CellGraphic(rc, r) : nullptr;
        if (!gr) return {0, 0};
        const TSize s = src.GraphicSize(rc, r);
        return {int(std::lround(s.cx * pf)), int(std::lround(s.cy * pf))};
    }

    // Column 0 of a node's other rows is indented as on screen (a node row's own graphic
    // takes the indentation); units.
    int ChildIndent(int rc, int r)
    {
        if (rc != 0 || !ps.PrintGraphics) return 0;
        return int(std::lround(src.ChildIndent(r) * pf));
    }

    // Width and height the cell needs, in units; each cell is measured once per layout.
    std::vector<TSize> sizes;
    TSize MeasureCell(int c, int r)
    {
        const size_t i = size_t(r) * width.size() + size_t(c);
        if (i < sizes.size() && sizes[i].cx >= 0) return sizes[i];
        const TSize s = MeasureCellNow(c, r);
        if (i < sizes.size()) sizes[i] = s;
        return s;
    }
    TSize MeasureCellNow(int c, int r)
    {
        const int rc = src.RealCol(c);
        TPrintCellLook l;
        src.CellLook(c, r, l);
        UseFont(l.font);
        TTextType kind;
        const std::string s = CellText(rc, r, kind);
        const TSize graphic = GraphicSize(rc, r);
        TSize size;
        int angle = 0;
        if (kind == TTextType::ttHTML) {
            const html::HTMLDrawResult res = DrawHTML(s, {0, 0, 100000, 100000}, false, true);
            size = {Units(res.MeasuredWidth) + 8, Units(res.MeasuredHeight)};
        } else if (kind == TTextType::ttRTF) {
            const TSize rs = src.RichTextSize(rc, r);
            size = {Units(rs.cx + 2 * rules.xyOffset.X) + 8, Units(rs.cy + 2 * rules.xyOffset.Y)};
        } else if ((angle = src.Rotation(rc, r)) != 0) {
            cv->Font().SetEscapement(angle * 10);
            const TSize e = Extent(s.empty() ? std::string("gh") : s);
            cv->Font().SetEscapement(0);
            const double a = angle * std::numbers::pi / 180.0;
            size = {int(std::abs(std::cos(a)) * e.cx + std::abs(std::sin(a)) * e.cy),
                    int(std::abs(std::sin(a)) * e.cx + std::abs(std::cos(a)) * e.cy)};
        } else if (rules.wordWrap && ps.NoAutoSize && !s.empty()) {
            const int w = std::max(1, int(std::lround((src.ColWidth(c) - 8) * pf * k)));
            TRect m{0, 0, w, 0};
            DrawTextIn(s, &m, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
            size = {Units(m.Width()) + 8, Units(m.Height())};
        } else {
            const TSize gh = Extent("gh");
            if (s.empty()) {
                size = gh;
            } else {
                const std::vector<std::string> lines = TextLines(s, rules.multiline);
                int wide = 0;
                for (const std::string& line : lines) wide = std::max(wide, Extent(line).cx);
                size = {wide + 8 + graphic.cx, gh.cy * int(lines.size())};
            }
        }
        size.cx += ChildIndent(rc, r);
        size.cx = std::max(size.cx, graphic.cx);
        size.cy = std::max(size.cy, graphic.cy);
        if (ev.OnCustomCellSize) {
            TPoint p{size.cx, size.cy};
            ev.OnCustomCellSize(sender, cv, rc, r, p, true);
            size = {p.X, p.Y};
        }
        wideText.clear();
        return size;
    }

    // What the kept sizes depend on besides the cells and the grid's look.
    std::size_t MeasureSettings() const
    {
        std::size_t h = 0;
        MixFont(h, ps.Font());
        MixFont(h, ps.FixedFont());
        Mix(h, std::size_t(ps.UseDisplayFont) | std::size_t(ps.PrintGraphics) << 1 | std::size_t(ps.NoAutoSize) << 2);
        return h;
    }
    bool MeasuresMatch(const PrintMeasures& m) const
    {
        return m.content == src.ContentVersion() && m.look == src.LookVersion() && m.settings == MeasureSettings() &&
               m.cols == src.ColCount() && m.rows == src.RowCount() && m.k == k;
    }
    // Takes the sizes measured by an earlier layout when they still hold.
    bool TakeMeasures()
    {
        std::shared_ptr<PrintMeasures> m = job.TakeMeasures();
        if (!m || !MeasuresMatch(*m) || m->sizes.size() != size_t(src.RowCount()) * size_t(src.ColCount())) {
            job.KeepMeasures(std::move(m));
            return false;
        }
        sizes = std::move(m->sizes);
        return true;
    }
    // Keeps this layout's sizes for the next one.
    void KeepMeasures()
    {
        if (sizes.empty()) return;
        auto m = std::make_shared<PrintMeasures>();
        m->content = src.ContentVersion();
        m->look = src.LookVersion();
        m->settings = MeasureSettings();
        m->cols = src.ColCount();
        m->rows = src.RowCount();
        m->k = k;
        m->sizes = std::move(sizes);
        job.KeepMeasures(std::move(m));
    }

    // ---- rows and columns that are printed
    bool RowOn(int r) const { return r >= 0 && r < int(rowOn.size()) && rowOn[size_t(r)]; }

    int MeasuredHeight(int r)
    {
        if (r < 0 || r >= int(measured.size())) return 0;
        int& m = measured[size_t(r)];
        if (m >= 0) return m;
        if (ps.NoAutoSizeRow) {
            m = int(std::lround((src.RowHeight(r) - 4) * pf));
        } else if (ps.UseFixedHeight) {
            m = ps.FixedHeight;
        } else if (ev.OnPrintSetRowHeight) {
            m = ps.FixedHeight;
            ev.OnPrintSetRowHeight(sender, r, m);
        } else {
            m = 0;
            auto measure = [&](int c) {
                if (width[size_t(c)] <= 0) return;
                const int rc = src.RealCol(c);
                if (src.IsYMergedCell(rc, r)) return;
                m = std::max(m, MeasureCell(c, r).cy);
            };
            for (int c = 0; c < int(width.size()); ++c) measure(c);
        }
        m = std::max(m, 0);
        return m;
    }
    int RowHeight(int r)
    {
        const int m = MeasuredHeight(r);
        return m + m / 8 + 2 * u + ps.RowSpacing;
    }

    // ---- page set-up
    void SetUp()
    {
        job.FontScale = 1.0;
        ApplyPen();
        UseFont(ps.HeaderFont());
        headerLine = Extent("gh").cy;
        UseFont(ps.FooterFont());
        footerLine = Extent("gh").cy;
        UseFont(ps.Font());
        bodyLine = Extent("gh").cy;
        u = bodyLine / 8;
        if (method == prCalcPrint) {
            W = job.PageRect.Width();
            B = -job.PageRect.Height();
        } else {
            W = Units(job.DeviceRect.Width());
            B = -Units(job.DeviceRect.Height());
        }
        cs = ps.UseFixedWidth ? 0 : ps.ColumnSpacing + 20;

        const int cols = src.ColCount(), rows = src.RowCount();
        colOn.assign(size_t(cols), 0);
        rowOn.assign(size_t(rows), 0);
        for (int c = range.Left; c <= range.Right; ++c) colOn[size_t(c)] = !selectedOnly || src.ColSelected(c);
        for (int r = range.Top; r <= range.Bottom; ++r) rowOn[size_t(r)] = !selectedOnly || src.RowSelected(r);
        for (int c = 0; c < std::min(src.FixedCols(), cols); ++c)
            if (ps.RepeatFixedCols) colOn[size_t(c)] = 1;
        measured.assign(size_t(rows), -1);
        width.assign(size_t(cols), 0);
        const size_t cells = size_t(rows) * size_t(cols);
        if (!TakeMeasures()) sizes.assign(cells <= (size_t(1) << 22) ? cells : 0, TSize{-1, -1});
        xpos.assign(size_t(cols), 0);

        // column widths over the rows that may print (the fixed rows when they repeat)
        std::vector<int> rowsMeasured;
        if (ps.RepeatFixedRows)
            for (int r = 0; r < std::min(src.FixedRows(), rows); ++r)
                if (r < range.Top) rowsMeasured.push_back(r);
        for (int r = range.Top; r <= range.Bottom; ++r) rowsMeasured.push_back(r);
        for (int c = 0; c < cols; ++c) {
            if (!colOn[size_t(c)]) continue;
            int w = 0;
            if (ps.NoAutoSize) {
                w = int(std::lround((src.ColWidth(c) - 4) * pf));
            } else if (ps.UseFixedWidth) {
                w = ps.FixedWidth;
            } else {
                const int rc = src.RealCol(c);
                for (int r : rowsMeasured)
                    if (!src.IsXMergedCell(rc, r)) w = std::max(w, MeasureCell(c, r).cx);
            }
            width[size_t(c)] = std::max(w, 0);
        }
        FitColumns();
        if (ev.OnPrintSetColumnWidth)
            for (int c = range.Left; c <= range.Right; ++c) ev.OnPrintSetColumnWidth(sender, c, width[size_t(c)]);
        for (int c = 0; c < cols; ++c)
            if (!colOn[size_t(c)]) width[size_t(c)] = 0;
        for (int c = 0; c < std::min(cols, kColumnSlots); ++c) job.SetColWidth(c, width[size_t(c)]);
        MakeBands();
    }

    // Runs a handler with the canvas in print units: 0.1 mm, y growing upwards, the page's
    // top left at the origin (ox, oy); the canvas's mapping and objects come back after it.
    template <class Fn>
    void InPrintUnits(Fn handler)
    {
        HDC dc = cv->Handle();
        const int saved = SaveDC(dc);
        SetMapMode(dc, MM_LOMETRIC);  // the canvas's pixels per inch, as k is
        SetWindowOrgEx(dc, 0, 0, nullptr);
        SetViewportOrgEx(dc, ox, oy, nullptr);
        struct Back {
            TCanvas* cv;
            HDC dc;
            int saved;
            ~Back()
            {
                RestoreDC(dc, saved);
                cv->Refresh();
            }
        } back{cv, dc, saved};
        handler();
    }

    void ApplyPen()
    {
        cv->Pen().SetColor(clBlack);
        cv->Pen().SetStyle(ps.BorderStyle);
        cv->Pen().SetWidth(std::max(1, int(std::lround((ps.Borders == pbDouble ? 10 : 2) * k))));
    }

    void FitColumns()
    {
        if (ps.FitToPage == fpNever) return;
        long long T = 0;
        int n = 0;
        for (int c = range.Left; c <= range.Right; ++c) {
            ++n;
            if (colOn[size_t(c)]) T += width[size_t(c)] + cs;
        }
        const long long S = (long long)n * cs;
        if (T == S) return;
        double scale = double(W - ps.RightSize - ps.LeftSize - S) / double(T - S);
        switch (ps.FitToPage) {
        case fpShrink: scale = std::min(scale, 1.0); break;
        case fpGrow: scale = std::max(scale, 1.0); break;
        case fpCustom:
            if (scale != 1.0 && ev.OnFitToPage) {
                bool allow = true;
                ev.OnFitToPage(sender, scale, allow);
                if (!allow) scale = 1.0;
            }
            break;
        default: break;
        }
        if (scale == 1.0 || scale <= 0) return;
        for (int c = range.Left; c <= range.Right; ++c) width[size_t(c)] = int(width[size_t(c)] * scale);
        job.FontScale = scale;
    }

    int FixedBlockWidth() const
    {
        int f = 0;
        for (int c = 0; c < std::min(src.FixedCols(), int(width.size())); ++c)
            if (width[size_t(c)]) f += width[size_t(c)] + cs;
        return f;
    }

    // Bands of columns that fit the page width; each holds at least one column.
    void MakeBands()
    {
        bands.clear();
        int first = range.Left;
        while (first <= range.Right) {
            const bool rep = !bands.empty() && src.FixedCols() > 0 && ps.RepeatFixedCols;
            int total = rep ? FixedBlockWidth() : 0;
            int last = first;
            total += width[size_t(first)] + cs;
            while (last + 1 <= range.Right && total + width[size_t(last + 1)] + cs <= W - ps.RightSize) {
                ++last;
                total += width[size_t(last)] + cs;
            }
            bands.emplace_back(first, last);
            first = last + 1;
        }
    }

    void PlaceBand(int first, int last)
    {
        repeated.clear();
        if (band > 0 && src.FixedCols() > 0 && ps.RepeatFixedCols)
            for (int c = 0; c < std::min(src.FixedCols(), int(width.size())); ++c) repeated.push_back(c);
        int block = 0;
        for (int c : repeated) block += width[size_t(c)] ? width[size_t(c)] + cs : 0;
        for (int c = first; c <= last; ++c) block += width[size_t(c)] ? width[size_t(c)] + cs : 0;
        int x = ps.LeftSize;
        if (ps.Centered) x = block < W ? (W - block) / 2 : 0;
        auto place = [&](int c) {
            xpos[size_t(c)] = x;
            job.SetColOffset(c, x);
            if (width[size_t(c)]) x += width[size_t(c)] + cs;
        };
        for (int c : repeated) place(c);
        for (int c = first; c <= last; ++c) place(c);

        const int titleLines = std::max(ps.TitleLines().Count(), 1);
        const bool lines = ps.TitleText.empty() && ps.TitleLines().Count() > 0;
        const bool top = IsTop(ps.Time) || IsTop(ps.Date) || IsTop(ps.PageNr) || IsTop(ps.Title);
        const bool bottom = IsBottom(ps.Time) || IsBottom(ps.Date) || IsBottom(ps.PageNr) || IsBottom(ps.Title);
        Ht = top ? u + headerLine + ps.HeaderSize : ps.HeaderSize;
        if (top && IsTop(ps.Title) && lines) Ht += (titleLines - 1) * headerLine;
        Hb = bottom ? 2 * u + 2 * footerLine + ps.FooterSize : u + footerLine + ps.FooterSize;
        if (bottom && IsBottom(ps.Title) && lines) Hb += (titleLines - 1) * footerLine;
    }

    // ---- header and footer
    std::string PageText() const
    {
        std::string num;
        if (bands.size() > 1) {
            num = std::to_string(pageInBand) + "-" + std::to_string(band + 1);
        } else {
            num = std::to_string(pageNr + ps.PageNumberOffset);
            if (!ps.PageNumSep.empty() && pages > 1) num += ps.PageNumSep + std::to_string(pages + ps.MaxPagesOffset);
        }
        std::string s = ps.PagePrefix;
        s += (s.empty() ? "" : " ") + num;
        if (!ps.PageSuffix.empty()) s += " " + ps.PageSuffix;
        return s;
    }

    void DrawHeaderFooter()
    {
        std::string texts[7];
        auto add = [&](TPrintPosition p, const std::string& item) {
            if (p == ppNone || p > ppBottomCenter) return;
            std::string& t = texts[p];
            if (t.empty()) t = item;
            else t = IsLeft(p) ? item + " " + t : t + " " + item;
        };
        const base::TDateTime now = base::Now();
        add(ps.Time, base::FormatDateTime("hh:nn", now));
        add(ps.Date, base::FormatDateTime(ps.DateFormat, now));
        add(ps.PageNr, PageText());
        std::vector<std::string> more;
        std::string htmlTitle;
        if (!ps.TitleText.empty()) {
            add(ps.Title, ps.TitleText);
        } else if (ps.TitleLines().Count() > 0 && ps.Title != ppNone) {
            const std::string all = ps.TitleLines().Text();
            if (TextType(all, true) == TTextType::ttHTML) {
                htmlTitle = all;
            } else {
                add(ps.Title, ps.TitleLines().Get(0));
                for (int i = 1; i < ps.TitleLines().Count(); ++i) more.push_back(ps.TitleLines().Get(i));
            }
        }
        cv->Brush().SetStyle(bsClear);
        auto xFor = [&](TPrintPosition p, int tw) {
            if (IsLeft(p)) return ps.LeftSize;
            if (p == ppTopRight || p == ppBottomRight) return W - tw - ps.RightSize - 20;
            return (W - tw) / 2;
        };
        auto put = [&](TPrintPosition p, int y, const std::string& s) {
            if (s.empty()) return;
            cv->TextOut(DX(xFor(p, Extent(s).cx)), DY(y), s);
        };
        UseFont(ps.HeaderFont());
        for (TPrintPosition p : {ppTopLeft, ppTopRight, ppTopCenter}) put(p, -ps.HeaderSize, texts[p]);
        if (IsTop(ps.Title)) {
            for (size_t i = 0; i < more.size(); ++i) put(ps.Title, -ps.HeaderSize - int(i + 1) * headerLine, more[i]);
            if (!htmlTitle.empty())
                DrawHTML(htmlTitle, DR(ps.LeftSize, -ps.HeaderSize, W, -ps.HeaderSize - ps.TitleLines().Count() * headerLine));
        }
        UseFont(ps.FooterFont());
        const int yb = B + footerLine + u + ps.FooterSize;
        for (TPrintPosition p : {ppBottomLeft, ppBottomRight, ppBottomCenter}) put(p, yb, texts[p]);
        if (IsBottom(ps.Title)) {
            for (size_t i = 0; i < more.size(); ++i) put(ps.Title, yb - int(i + 1) * footerLine, more[i]);
            if (!htmlTitle.empty()) DrawHTML(htmlTitle, DR(ps.LeftSize, B + ps.FooterSize, W, B));
        }
        cv->Brush().SetStyle(bsSolid);
    }

    // Mini-HTML in r as printed, or (measureOnly) only laid out to be measured.
    html::HTMLDrawResult DrawHTML(const std::string& s, const TRect& r, bool wrap = false, bool measureOnly = false)
    {
        html::HTMLDrawParams p;
        p.Canvas = cv;
        p.Text = s;
        src.HTMLSources(p);
        p.TextRect = r;
        p.MeasureOnly = measureOnly;
        p.Printing = true;
        p.WordWrap = wrap;
        html::HTMLDrawResult res;
        html::HTMLDrawEx(p, res);
        return res;
    }

    // ---- pages
    void BeginPage()
    {
        ++pageNr;
        ++pageInBand;
        if (!PageDrawn()) return;
        if (method == prPrint && job.Target && anyPageDrawn) job.Target->NewPage();
        anyPageDrawn = true;
        ApplyPen();
        if (ev.OnPrintPage) InPrintUnits([&] { ev.OnPrintPage(sender, cv, pageNr, W, B); });
        DrawHeaderFooter();
    }

    void PageLines(int y)
    {
        if (!PageDrawn()) return;
        ApplyPen();
        const int first = bands[size_t(band)].first, last = bands[size_t(band)].second;
        const int x0 = repeated.empty() ? xpos[size_t(first)] : xpos[size_t(repeated.front())];
        const int x1 = xpos[size_t(last)] + (width[size_t(last)] ? width[size_t(last)] + cs : 0);
        const int yt = -Ht - ps.TitleSpacing, yb = y + u / 2;
        const TPrintBorders b = ps.Borders;
        if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
            Line(x0, yt, x1, yt);
            Line(x1, yt, x1, yb);
            Line(x1, yb, x0, yb);
            Line(x0, yb, x0, yt);
        }
        if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) Line(x0, yb, x1, yb);
        if (b == pbDouble || b == pbVertical || b == pbAroundVertical)
            for (int c : repeated) Line(xpos[size_t(c)], yt, xpos[size_t(c)], yb);
    }

    void Line(int x1, int y1, int x2, int y2)
    {
        const int a = DX(x1), b = DY(y1), c = DX(x2), d = DY(y2);
        cv->MoveTo(a, b);
        cv->LineTo(c, d);
        cv->LineTo(c + (c > a ? 1 : c < a ? -1 : 0), d + (d > b ? 1 : d < b ? -1 : 0));
    }

    // ---- rows
    // Prints the repeated fixed columns and the band's part of row r with its top at y;
    // returns the printed row height.
    int PrintRow(int r, int y)
    {
        const int h = RowHeight(r);
        if (!PageDrawn()) return h;
        for (int c : repeated) PrintCell(c, r, y, h);
        for (int c = bands[size_t(band)].first; c <= bands[size_t(band)].second; ++c) PrintCell(c, r, y, h);
        return h;
    }

    void PrintCell(int c, int r, int y, int rowH)
    {
        if (!width[size_t(c)]) return;
        const int rc = src.RealCol(c);
        const bool merged = src.IsMergedCell(rc, r);
        const TPoint base = src.BaseCell(rc, r);
        const bool isBase = !merged || (base.X == rc && base.Y == r);
        const TPoint span = merged ? src.CellSpan(base.X, base.Y) : TPoint{0, 0};
        const int x = xpos[size_t(c)];
        int w = width[size_t(c)] + cs, h = rowH;
        if (isBase && merged) {
            w = 0;
            const int lastCol = std::min(c + span.X, int(width.size()) - 1);
            for (int cc = c; cc <= lastCol; ++cc) w += width[size_t(cc)] ? width[size_t(cc)] + cs : 0;
            if (ps.NoAutoSizeRow) {
                h = 0;
                for (int rr = r; rr <= std::min(r + span.Y, src.RowCount() - 1); ++rr) h += RowHeight(rr);
            } else {
                h = (span.Y + 1) * rowH;
            }
        }
        bool cut = false;
        if (y - h < B + ps.FooterSize) {
            h = rowH;
            cut = true;
        }
        if (isBase) {
            TPrintCellLook l;
            src.CellLook(c, r, l);
            DrawContent(rc, r, x, y, w, h, rowH, l);
        }

        // sides: the outline of the cell's block
        TCellBorders sides = 0;
        switch (ps.Borders) {
        case pbSingle:
        case pbDouble: sides = cbTop | cbLeft | cbRight | cbBottom; break;
        case pbHorizontal:
        case pbAroundHorizontal: sides = cbTop | cbBottom; break;
        case pbVertical:
        case pbAroundVertical: sides = cbLeft | cbRight; break;
        default: break;
        }
        // a merged block's cells each draw their part of the block's outline
        int bw = w, bh = h;
        if (merged) {
            const TPoint full = src.CellSpan(base.X, base.Y);
            bw = width[size_t(c)] + cs;
            bh = rowH;
            if (rc != base.X) sides &= ~unsigned(cbLeft);
            if (rc != base.X + full.X) sides &= ~unsigned(cbRight);
            if (r != base.Y) sides &= ~unsigned(cbTop);
            if (r != base.Y + full.Y) sides &= ~unsigned(cbBottom);
        }
        if (cut) sides &= ~unsigned(cbBottom);
        TPen pen;
        pen.Assign(cv->Pen());
        src.CellBorder(rc, r, pen, sides);
        if (!sides) return;
        cv->Pen().Assign(pen);
        const int x2 = x + bw, y2 = y - bh;
        if (sides & cbTop) Line(x, y, x2, y);
        if (sides & cbBottom) Line(x, y2, x2, y2);
        if (sides & cbLeft) Line(x, y, x, y2);
        if (sides & cbRight) Line(x2, y, x2, y2);
        ApplyPen();
    }

    void DrawContent(int rc, int r, int x, int y, int w, int h, int rowH, TPrintCellLook& l)
    {
        const TRect cell = DR(x, y, x + w, y - h);
        cv->Brush().SetStyle(bsSolid);
        cv->Brush().SetColor(l.brush.Color());
        cv->FillRect(cell);
        UseFont(l.font);
        TTextType kind;
        const std::string s = CellText(rc, r, kind);
        TCellGraphic* graphic = ps.PrintGraphics ? src.CellGraphic(rc, r) : nullptr;
        const TSize gs = graphic ? GraphicSize(rc, r) : TSize{0, 0};
        int textLeft = x + ChildIndent(rc, r), textRight = x + w;
        TRect graphicRect;
        if (graphic && (gs.cx <= 0 || gs.cy <= 0)) {
            graphicRect = cell;  // a graphic without a size of its own fills the cell
        } else if (graphic) {
            int gx = x + int(pf);
            switch (graphic->CellHAlign) {
            case haRight:
            case haAfterText:
                gx = x + w - gs.cx - int(pf);
                textRight = gx;
                break;
            case haCenter: gx = x + (w - gs.cx) / 2; break;
            case haFull: gx = x; break;
            default: textLeft = gx + gs.cx; break;
            }
            if (graphic->CellType == ctCheckBox && s.empty()) {
                if (l.ha == taRightJustify) gx = x + w - gs.cx - int(pf);
                else if (l.ha == taCenter) gx = x + (w - gs.cx) / 2;
            }
            int gy = y;
            if (graphic->CellVAlign == vaBottom || graphic->CellVAlign == vaUnderText) gy = y - h + gs.cy;
            else if (graphic->CellVAlign == vaCenter) gy = y - (h - gs.cy) / 2;
            graphicRect = DR(gx, gy, gx + gs.cx, gy - gs.cy);
            if (graphic->CellHAlign == haFull) graphicRect.Right = DX(x + w);
            if (graphic->CellVAlign == vaFull) {
                graphicRect.Top = cell.Top;
                graphicRect.Bottom = cell.Bottom;
            }
        }
        if (!s.empty()) PrintText(rc, r, s, kind, textLeft, textRight, y, h, rowH, l);
        if (rc == 0 && ps.PrintGraphics && src.DrawTreeLines(cv, r, DR(x + int(pf), y, x + w, y - h))) ApplyPen();
        if (graphic && graphicRect.Width() > 0 && graphicRect.Height() > 0) DrawGraphic(*graphic, rc, r, graphicRect, l.ha);
        if (ev.OnCustomCellDraw)
            InPrintUnits([&] { ev.OnCustomCellDraw(sender, cv, rc, r, TGridDrawState{}, TRect{x, y, x + w, y - rowH}, true); });
        wideText.clear();
    }

    void PrintText(int rc, int r, const std::string& s, TTextType kind, int left, int right, int y, int h,
                   int rowH, TPrintCellLook& l)
    {
        cv->Brush().SetStyle(bsClear);
        int angle = 0;
        if (kind == TTextType::ttHTML) {
            DrawHTML(s, DR(left + 4, y, right - 4, y - h), rules.wordWrap);
        } else if (kind == TTextType::ttRTF) {
            src.DrawRichText(rc, r, cv, DR(left, y, right, y - h));
        } else if ((angle = src.Rotation(rc, r)) != 0) {
            TRect rr = DR(left, y, right, y - h);
            cv->Font().SetEscapement(angle * 10);
            const TSize e = wideText.empty() ? cv->TextExtent(s) : cv->TextExtentW(Shown(s));
            cv->Font().SetEscapement(0);
            const TPoint p = RotatedStart(rr, angle, e, l.ha, l.va);
            cv->Font().SetEscapement(angle * 10);
            Out(p.X, p.Y, s);
            cv->Font().SetEscapement(0);
        } else if (rules.wordWrap && ps.NoAutoSize) {
            TRect rr = DR(left + 4, y, right - 4, y - h);
            UINT flags = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;
            flags |= l.ha == taRightJustify ? DT_RIGHT : l.ha == taCenter ? DT_CENTER : DT_LEFT;
            DrawTextIn(s, &rr, flags);
        } else {
            const std::vector<std::string> lines = TextLines(s, rules.multiline);
            auto xOf = [&](int tw) {
                if (l.ha == taRightJustify) return right - 4 - tw;
                if (l.ha == taCenter) return left + (right - left - tw) / 2;
                return left + 4;
            };
            if (lines.size() == 1) {
                if (rules.enhTextSize && ps.NoAutoSize) {
                    TRect rr = DR(left + Units(rules.xyOffset.X), y - Units(rules.xyOffset.Y), right, y - h);
                    UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
                    flags |= l.ha == taRightJustify ? DT_RIGHT : l.ha == taCenter ? DT_CENTER : DT_LEFT;
                    DrawTextIn(s, &rr, flags);
                } else {
                    Out(DX(xOf(Extent(s).cx)), DY(y), s);
                }
            } else {
                const int lh = Extent("gh").cy;
                const int pitch = lh + (lh + ps.RowSpacing) / 8;
                const int n = int(lines.size());
                int top = y;
                const bool inMerged = src.IsMergedCell(rc, r);
                if (!inMerged && l.va == vtaCenter) top = y - (rowH - n * pitch) / 2;
                else if (!inMerged && l.va == vtaBottom) top = y - (rowH - n * pitch);
                std::size_t at = 0;
                for (int i = 0; i < n; ++i) {
                    const std::string& line = lines[size_t(i)];
                    std::size_t from = at;
                    const int tw = wideText.empty() ? Extent(line).cx : Units(cv->TextExtentW(Shown(line, &from)).cx);
                    Out(DX(xOf(tw)), DY(top - i * pitch), line, &at);
                }
            }
        }
        cv->Brush().SetStyle(bsSolid);
    }

    // The screen's drawing, into the rectangle the layout gave the graphic, at the page's scale.
    void DrawGraphic(TCellGraphic& gr, int rc, int r, const TRect& R, TAlignment ha)
    {
        src.DrawGraphic(cv, gr, rc, r, R, ha, pf * k);
        ApplyPen();
    }

    // ---- the whole layout
    int Run()
    {
        SetUp();
        const bool partial = range.Top > src.FixedRows() || range.Bottom < src.RowCount() - 1 - src.FixedFooters();
        for (band = 0; band < int(bands.size()); ++band) {
            pageInBand = 0;
            PlaceBand(bands[size_t(band)].first, bands[size_t(band)].second);
            int n = 0, y = 0;
            bool pageOpen = false;
            for (int r = range.Top; r <= range.Bottom;) {
                src.RowNotice(r, partial);
                if (n == 0) {
                    BeginPage();
                    pageOpen = true;
                    y = -Ht - ps.TitleSpacing;
                    if (r != 0 && ps.RepeatFixedRows && src.FixedRows() > 0 &&
                        (pageInBand > 1 || range.Top >= src.FixedRows())) {
                        for (int fr = 0; fr < std::min(src.FixedRows(), src.RowCount()); ++fr) y -= PrintRow(fr, y);
                        ++n;
                    }
                }
                if (RowOn(r)) y -= PrintRow(r, y);
                ++r;
                ++n;
                bool newPage = false;
                if (ev.OnPrintNewPage) ev.OnPrintNewPage(sender, r, newPage);
                const int h = r <= range.Bottom && RowOn(r) ? RowHeight(r) : 0;
                const bool full = y - h < B + Hb;
                if (Drawing() && (full || r > range.Bottom || newPage)) {
                    if (ev.OnPrintPageDone) InPrintUnits([&] { ev.OnPrintPageDone(sender, cv, r, y, pageNr, W, B); });
                    bool cancel = false;
                    if (ev.OnPrintCancel) ev.OnPrintCancel(sender, pageNr, cancel);
                    if (cancel) {
                        PageLines(y);
                        return pageNr;
                    }
                }
                if ((r <= range.Bottom && full) || newPage) {
                    PageLines(y);
                    n = 0;
                    pageOpen = false;
                }
            }
            if (pageOpen) PageLines(y);
        }
        return pageNr;
    }
};
}  // namespace

int TGridPrintLayout::Run(TGridPrintSource& Source, TGridPrintJob& Job, TCanvas* Canvas, TPrintMethod Method,
                          int Pages, bool SelectedOnly)
{
    Layout layout(Source, Job, Canvas, Method, Pages, SelectedOnly);
    layout.k = GetDeviceCaps(Canvas->Handle(), LOGPIXELSX) / 254.0;
    if (layout.k <= 0) layout.k = 96.0 / 254.0;
    layout.ox = Job.DeviceRect.Left;
    layout.oy = Job.DeviceRect.Top;
    const int pages = layout.Run();
    layout.KeepMeasures();
    return pages;
}

}  // namespace grid
