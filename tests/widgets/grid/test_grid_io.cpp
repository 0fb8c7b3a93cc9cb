// The grid's file readers and writers on a plain table of cells, without a grid or a
// window: CSV quoting, separators, line breaks, empty cells and round trips; refusals
// that change nothing; padded and fixed-width text; the HTML table and XML records.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "base/StringList.h"
#include "platform/graphics/Graphics.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/GridCSV.h"
#include "widgets/grid/GridHTMLWriter.h"
#include "widgets/grid/GridPlainText.h"
#include "widgets/grid/GridXMLWriter.h"

using namespace grid;
using namespace platform;

namespace {

using Table = std::vector<std::vector<std::string>>;
using Cell = std::pair<int, int>;

// A rectangular table whose display columns are its real columns; merged blocks, looks
// and footers only where a test sets them. Every call that changes it is counted.
struct TableCells : TGridCellStore {
    Table t;
    int cols = 0, fixedCols = 0, fixedRows = 0, footers = 0;
    bool floatingFooter = false, wrap = true, urls = false, fullUrls = false;
    int firstSaveRow = 0;
    std::map<Cell, TPoint> spans;  // base cell -> further columns and rows
    std::map<Cell, TAlignment> aligns;
    std::map<Cell, std::string> faces;
    std::map<Cell, TColor> brushes;
    std::vector<std::string> events;
    int changes = 0;
    bool loaded = false;

    explicit TableCells(Table table = {{""}}) : t(std::move(table)), cols(t.empty() ? 0 : int(t[0].size())) {}

    int ColCount() override { return cols; }
    int RowCount() override { return int(t.size()); }
    int FixedCols() override { return fixedCols; }
    int FixedRows() override { return fixedRows; }
    TGridBlock SaveBlock() override { return {0, firstSaveRow, cols - 1, RowCount() - 1}; }
    bool Covered(int c, int r)
    {
        for (const auto& [base, sp] : spans)
            if (c >= base.first && c <= base.first + sp.X && r >= base.second && r <= base.second + sp.Y &&
                Cell{c, r} != base)
                return true;
        return false;
    }
    std::string CellText(int c, int r) override { return Covered(c, r) ? std::string() : t[size_t(r)][size_t(c)]; }
    bool IsBaseCell(int c, int r) override { return !Covered(c, r); }
    TPoint Span(int c, int r) override
    {
        const auto it = spans.find({c, r});
        return it == spans.end() ? TPoint{0, 0} : it->second;
    }
    void Alignment(int c, int r, TAlignment& h, TVAlignment& v) override
    {
        const auto it = aligns.find({c, r});
        h = it == aligns.end() ? taLeftJustify : it->second;
        v = vtaTop;
    }
    void CellLook(int c, int r, TBrush& brush, TFont& font) override
    {
        if (const auto it = brushes.find({c, r}); it != brushes.end()) brush.SetColor(it->second);
        if (const auto it = faces.find({c, r}); it != faces.end()) font.SetName(it->second);
    }
    TColor FixedColor() override { return TColor(0xC0C0C0); }
    std::string FontName() override { return "Arial"; }
    bool WordWrap() override { return wrap; }
    bool ShowURLs() override { return urls; }
    bool FullURLs() override { return fullUrls; }
    void ExportNotification(TGridExportState s, int row) override
    {
        events.push_back(s == esExportStart ? "start" : s == esExportDone ? "done" : "row " + std::to_string(row));
    }
    void Progress(short p) override { events.push_back(std::to_string(p) + "%"); }
    void SetColCount(int n) override
    {
        ++changes;
        cols = n;
        for (auto& row : t) row.resize(size_t(n));
    }
    void SetRowCount(int n) override
    {
        ++changes;
        t.resize(size_t(n), std::vector<std::string>(size_t(cols)));
    }
    void LoadCell(int c, int r, const std::string& text) override
    {
        ++changes;
        t.at(size_t(r)).at(size_t(c)) = text;
    }
    int FooterRows() override { return footers; }
    bool FloatingFooterRow() override { return floatingFooter; }
    std::vector<std::string> TakeLastRow() override
    {
        std::vector<std::string> texts = t.back();
        for (auto& s : t.back()) s.clear();
        return texts;
    }
    void PutLastRow(const std::vector<std::string>& texts) override { t.back() = texts; }
    void Loaded() override { loaded = true; }
};

TGridFileOptions Defaults() { return TGridFileOptions{}; }

}  // namespace

// Each case is written exactly so, and read back into the cells it came from.
TEST(GridCSV, WritesByTheQuotingRulesAndReadsBack)
{
    struct Case {
        const char* name;
        Table cells;
        std::function<void(TGridFileOptions&)> set;
        std::string file;
    } cases[] = {
        {"plain", {{"a", "b"}, {"c", "d"}}, nullptr, "a,b\r\nc,d\r\n"},
        {"separator in a cell", {{"a,b", "c"}}, nullptr, "\"a,b\",c\r\n"},
        {"quote marks", {{"say \"hi\"", "\""}}, nullptr, "\"say \"\"hi\"\"\",\"\"\"\"\r\n"},
        {"quote marks and separator", {{"a,\"b\"", "x"}}, nullptr, "\"a,\"\"b\"\"\",x\r\n"},
        {"empty quoted", {{"", "c"}, {"", ""}}, nullptr, "\"\",c\r\n\"\",\"\"\r\n"},
        {"empty bare", {{"", "c"}}, [](TGridFileOptions& o) { o.QuoteEmptyCells = false; }, ",c\r\n"},
        {"always quoted", {{"a", "b c"}}, [](TGridFileOptions& o) { o.AlwaysQuote = true; }, "\"a\",\"b c\"\r\n"},
        {"line break", {{"two\r\nlines", "x"}}, nullptr, "\"two\x0blines\",x\r\n"},
        {"line break always quoted", {{"p\r\nq"}}, [](TGridFileOptions& o) { o.AlwaysQuote = true; },
         "\"p\x0bq\"\r\n"},
        {"tilde", {{"a\r\nb", ""}}, [](TGridFileOptions& o) { o.TildeCSV = true; }, "a~b,^\r\n"},
        {"semicolon", {{"1;2", "3"}}, [](TGridFileOptions& o) { o.Delimiter = ';'; }, "\"1;2\";3\r\n"},
        {"tab", {{"a b", "c,d"}}, [](TGridFileOptions& o) { o.Delimiter = '\t'; }, "a b\tc,d\r\n"},
        // with the separator guessed, a cell holding a character the guess might take is quoted
        {"guessable characters", {{"a;b", "c|d", "-1"}}, nullptr, "\"a;b\",\"c|d\",-1\r\n"},
        {"comma set", {{"a;b", "c"}}, [](TGridFileOptions& o) { o.Delimiter = ','; }, "a;b,c\r\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TGridFileOptions o = Defaults();
        if (k.set) k.set(o);
        TableCells from(k.cells);
        EXPECT_EQ(WriteGridCSV(from, o), k.file);
        TableCells to;
        EXPECT_EQ(ReadGridCSV(to, k.file, o, false), "");
        EXPECT_EQ(to.t, k.cells);
        EXPECT_TRUE(to.loaded);
    }
}

TEST(GridCSV, ReadsFilesFromElsewhere)
{
    struct Case {
        const char* name;
        std::string file;
        Table want;
    } cases[] = {
        {"line break inside quotes", "a,\"l1\r\nl2\nl3\"\r\nb,c\r\n", {{"a", "l1\r\nl2\r\nl3"}, {"b", "c"}}},
        {"LF endings, no last break", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"CR endings", "a,b\rc,d\r", {{"a", "b"}, {"c", "d"}}},
        {"doubled quote marks", "\"x\"\"y\",z\r\n", {{"x\"y", "z"}}},
        {"empty fields", "a,,c\r\n,\"\",x\r\n", {{"a", "", "c"}, {"", "", "x"}}},
        {"separator ending a line", "a,b,\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"character 11 is a line break", "\"a\x0b" "b\",c\r\n", {{"a\r\nb", "c"}}},
        {"text after the closing quote", "\"ab\"cd,e\r\n", {{"abcd", "e"}}},
        // the separator guessed
        {"tab", "a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"one line of semicolons", "a;b;c\r\n", {{"a", "b", "c"}}},
        {"tie goes to the comma", "a,b;c\r\nd,e;f\r\n", {{"a", "b;c"}, {"d", "e;f"}}},
        {"signs never separate", "-1\r\n+2\r\n3-4\r\n", {{"-1"}, {"+2"}, {"3-4"}}},
        {"quoted separators do not count", "x,\"a;b;c\"\r\ny,d\r\n", {{"x", "a;b;c"}, {"y", "d"}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TableCells to;
        EXPECT_EQ(ReadGridCSV(to, k.file, Defaults(), false), "");
        EXPECT_EQ(to.t, k.want);
    }
    EXPECT_EQ(FindCSVDelimiter("abc\r\ndef\r\n"), 0);
    EXPECT_EQ(FindCSVDelimiter("\"a,b\"|c\r\n"), '|');
}

// Too much for a grid is refused with the reason, before any cell or count changes.
TEST(GridCSV, RefusesTooMuchAndChangesNothing)
{
    std::string manyRows;
    for (int i = 0; i < 1100; ++i) manyRows += "a\r\n";
    struct Case {
        const char* name;
        std::string file;
        int firstRow;
        const char* why;
    } cases[] = {
        {"columns", std::string(20000, ',') + "x\r\n", 0, "more than 16384 columns, the most a grid takes"},
        {"cell", std::string(40000, 'x') + ",y\r\n", 0, "a cell of more than 32767 characters, the most a cell takes"},
        {"quoted cell", "\"" + std::string(40000, ';') + "\"\r\n", 0, "a cell of more than 32767 characters"},
        {"rows", "a\r\nb\r\n", 1048575, "more than 1048576 rows, the most a grid takes"},
        {"cells", std::string(15999, ',') + "\r\n" + manyRows, 0, "more than 16777216 cells"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TableCells to({{"a", "b"}, {"c", "d"}});
        to.firstSaveRow = k.firstRow;
        const std::string why = ReadGridCSV(to, k.file, Defaults(), false);
        EXPECT_EQ(why.rfind(k.why, 0), 0u) << why;
        EXPECT_EQ(to.t, (Table{{"a", "b"}, {"c", "d"}}));
        EXPECT_EQ(to.changes, 0);
        EXPECT_FALSE(to.loaded);
    }
}

// A shown floating footer's row stays the last row, below loaded and inserted records.
TEST(GridCSV, FloatingFooterStaysBelowWhatIsLoaded)
{
    struct Case {
        bool insert;
        Table want;
    } cases[] = {
        {false, {{"a", "b"}, {"c", "d"}, {"sum", "9"}}},
        {true, {{"h", "k"}, {"x", "y"}, {"a", "b"}, {"c", "d"}, {"sum", "9"}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.insert);
        TableCells to({{"h", "k"}, {"x", "y"}, {"sum", "9"}});
        to.footers = 1;
        to.floatingFooter = true;
        EXPECT_EQ(ReadGridCSV(to, "a,b\r\nc,d\r\n", Defaults(), k.insert), "");
        EXPECT_EQ(to.t, k.want);
    }
}

TEST(GridCSV, NotificationsAndProgress)
{
    TableCells three({{"a"}, {"b"}, {"c"}});
    WriteGridCSV(three, Defaults());
    EXPECT_EQ(three.events, (std::vector<std::string>{"start", "row 0", "0%", "row 1", "50%", "row 2", "100%", "done"}));
    TableCells one({{"only"}});  // one row: no division by zero
    WriteGridCSV(one, Defaults());
    EXPECT_EQ(one.events, (std::vector<std::string>{"start", "row 0", "0%", "done"}));
    TableCells to;
    ReadGridCSV(to, "1\r\n2\r\n3\r\n4\r\n", Defaults(), false);
    EXPECT_EQ(to.events, (std::vector<std::string>{"25%", "50%", "75%", "100%"}));
}

TEST(GridPlainText, PadsAlignsAndContinuesUnderTheColumn)
{
    TableCells cells({{"Name", "Qty", "Mid"}, {"bolt", "12", "ab"}, {"two\r\nlines", "7", "c"}, {"", "", "x\r\ny"}});
    cells.aligns[{1, 1}] = taRightJustify;
    cells.aligns[{1, 2}] = taRightJustify;
    cells.aligns[{2, 2}] = taCenter;
    // widths 5, 3 and 3; one blank after each column; continuation lines under their column
    EXPECT_EQ(WriteGridPlainText(cells),
              "Name  Qty Mid \r\n"
              "bolt   12 ab  \r\n"
              "two     7  c  \r\n"
              "lines \r\n"
              "          x   \r\n"
              "          y   \r\n");
    EXPECT_EQ(cells.events.front(), "start");
    EXPECT_EQ(cells.events.back(), "done");
}

TEST(GridPlainText, FixedWidthRoundTripAndBadInput)
{
    TableCells from({{"ab", "c"}, {"defgh", "ij"}});
    TIntList widths;
    widths.Add(6);
    const std::string text = WriteGridFixedWidth(from, widths);
    EXPECT_EQ(text, "ab    c  \r\ndefgh ij \r\n");
    ASSERT_EQ(widths.Count(), 2);  // the missing width added: longest line plus one
    EXPECT_EQ(widths.Items(1), 3);

    TableCells to;
    TIntList pos;
    for (int p : {1, 7, 10}) pos.Add(p);
    EXPECT_EQ(ReadGridFixedWidth(to, text, pos), "");
    EXPECT_EQ(to.t, from.t);
    EXPECT_TRUE(to.loaded);

    // Positions that do not start at 1 or ascend, and a column too wide for a cell, change nothing.
    const std::vector<std::vector<int>> bad = {{0, 5}, {3, 2}, {1, 40000}};
    for (const auto& list : bad) {
        SCOPED_TRACE(list[1]);
        TableCells same({{"k"}});
        TIntList p;
        for (int v : list) p.Add(v);
        if (list[1] == 40000)
            EXPECT_EQ(ReadGridFixedWidth(same, text, p).rfind("a cell of more than 32767", 0), 0u);
        else
            EXPECT_THROW(ReadGridFixedWidth(same, text, p), EExGridError);
        EXPECT_EQ(same.t, (Table{{"k"}}));
        EXPECT_EQ(same.changes, 0);
    }
}

TEST(GridHTMLWriter, TableOfSpansAlignmentsAndLooks)
{
    TableCells cells({{"Head", "", "Q"}, {"a & b", "http://x.org/p", "1.5"}, {" ", "caf\xe9", "end"}});
    cells.fixedRows = 1;
    cells.spans[{0, 0}] = TPoint{1, 0};
    cells.aligns[{2, 1}] = taRightJustify;
    cells.faces[{0, 1}] = "Courier";  // its own face; the others use the grid's
    cells.brushes[{2, 2}] = TColor(0x0000FF);
    EXPECT_EQ(WriteGridHTML(cells, Defaults()),
              "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">\r\n"
              "<tr>\r\n"
              "<td bgcolor=\"#C0C0C0\" valign=\"top\" colspan=\"2\">Head</td>\r\n"
              "<td bgcolor=\"#C0C0C0\" valign=\"top\">Q</td>\r\n"
              "</tr>\r\n"
              "<tr>\r\n"
              "<td valign=\"top\"><font face=\"Courier\">a & b</font></td>\r\n"
              "<td valign=\"top\">http://x.org/p</td>\r\n"
              "<td align=\"right\" valign=\"top\">1.5</td>\r\n"
              "</tr>\r\n"
              "<tr>\r\n"
              "<td><br></td>\r\n"
              "<td valign=\"top\">caf\xe9</td>\r\n"
              "<td valign=\"top\" bgcolor=\"#FF0000\">end</td>\r\n"
              "</tr>\r\n"
              "</table>\r\n");
    EXPECT_EQ(cells.events, (std::vector<std::string>{"start", "row 1", "row 2", "done"}));

    struct Case {
        const char* name;
        std::function<void(TGridFileOptions&, TableCells&)> set;
        std::vector<std::string> holds;
        std::string lacks;
    } cases[] = {
        {"special characters", [](TGridFileOptions& o, TableCells&) { o.HTMLSettings.ConvertSpecialChars = true; },
         {">a &amp; b<"}, ">a & b<"},
        {"links", [](TGridFileOptions&, TableCells& c) { c.urls = true; },
         {"<a href=\"http://x.org/p\">x.org/p</a>"}, ">http://x.org/p<"},
        {"no wrap, no colours", [](TGridFileOptions& o, TableCells& c) { c.wrap = false; o.HTMLSettings.SaveColor = false; },
         {"<td nowrap bgcolor=\"#C0C0C0\"", "<td nowrap valign=\"top\">end</td>"}, "FF0000"},
        {"xhtml", [](TGridFileOptions& o, TableCells&) { o.HTMLSettings.XHTML = true; },
         {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", "<td><br/></td>", "caf\xc3\xa9", "</table>\r\n</html>\r\n"},
         "<br>"},
        {"without fixed cells", [](TGridFileOptions& o, TableCells&) { o.SaveFixedCells = false; },
         {"<tr>\r\n<td valign=\"top\"><font face"}, "Head"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TableCells c = cells;
        TGridFileOptions o = Defaults();
        k.set(o, c);
        const std::string html = WriteGridHTML(c, o);
        for (const std::string& h : k.holds) EXPECT_NE(html.find(h), std::string::npos) << h << "\n" << html;
        EXPECT_EQ(html.find(k.lacks), std::string::npos) << k.lacks << "\n" << html;
    }
}

TEST(GridXMLWriter, RecordsWithValidNamesAndEscapedText)
{
    TableCells cells({{"x<y & \"z\"", "caf\xe9 \x80", "bell\x07", "two\r\nlines"}});
    base::TStringList names;
    names.Add("name");
    names.Add("1st field?");
    EXPECT_EQ(WriteGridXML(cells, "my rows", "", &names),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<my_rows>\r\n<_>\r\n"
              "<name>x&lt;y &amp; &quot;z&quot;</name>\r\n"
              "<_1st_field_>caf\xe9 &#8364;</_1st_field_>\r\n"
              "<FIELD2>bell</FIELD2>\r\n"
              "<FIELD3>two\r\nlines</FIELD3>\r\n"
              "</_>\r\n</my_rows>\r\n");
    EXPECT_EQ(cells.events, (std::vector<std::string>{"start", "row 0", "done"}));
}
