// The grid's CSV, plain-text and fixed-width files and its clipboard text.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sstream>

#include "GridWindow.h"
#include "base/FileUtils.h"
#include "base/StringList.h"
#include "platform/system/Clipboard.h"
#include "support/TestSupport.h"
#include "widgets/grid/ExGrid.h"
#include "widgets/grid/ExObj.h"
#include "widgets/grid/ExUtil.h"

using namespace platform;
using namespace grid;
using testsupport::TempDir;

namespace {

using Table = std::vector<std::vector<std::string>>;

std::string ReadAll(const std::string& path)
{
    std::string s;
    base::ReadFile(path, s);
    return s;
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int k = 0; k < n; ++k) out += s;
    return out;
}

void WriteAll(const std::string& path, const std::string& data)
{
    std::ofstream f(path, std::ios::binary);
    f << data;
}

std::string FromHex(const std::string& h)
{
    std::string s;
    for (size_t i = 0; i + 1 < h.size(); i += 2) s += char(std::stoi(h.substr(i, 2), nullptr, 16));
    return s;
}

// Python's csv module reads the file; each field comes back hex-coded ("-" for an empty one).
Table PythonReads(const TempDir& dir, const std::string& csvPath)
{
    const std::string script = dir.file("read.py");
    WriteAll(script,
             "import csv,sys\n"
             "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
             "    for row in csv.reader(f):\n"
             "        print(' '.join((x.encode('latin-1').hex() or '-') for x in row))\n");
    int rc = 0;
    const std::string out = testsupport::RunCapture("python3 '" + script + "' '" + csvPath + "'", &rc);
    EXPECT_EQ(rc, 0);
    Table t;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> row;
        std::istringstream ls(line);
        std::string tok;
        while (ls >> tok) row.push_back(tok == "-" ? "" : FromHex(tok));
        t.push_back(row);
    }
    return t;
}

struct FilesTest : ::testing::Test, gridtest::GridWindow {
    TempDir dir{"gridfiles"};
    void SetUp() override
    {
        Open(500, 300, 4, 4);
        g->SetFixedRows(0);
        g->SetFixedCols(0);
        g->SetOptions(g->Options() | goRangeSelect);
    }
    void TearDown() override { Close(); }
    void Fill(const Table& t)
    {
        g->SetRowCount(int(t.size()));
        g->SetColCount(int(t[0].size()));
        for (size_t r = 0; r < t.size(); ++r)
            for (size_t c = 0; c < t[r].size(); ++c) g->SetCells(int(c), int(r), t[r][c]);
    }
    Table Cells()
    {
        Table t(size_t(g->RowCount()), std::vector<std::string>(size_t(g->ColCount())));
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c) t[size_t(r)][size_t(c)] = g->Cells(c, r);
        return t;
    }
};

const Table kAwkward = {
    {"Title over three", "", "", "x"},
    {"a,b", "say \"hi\"", "\"", ""},
    {"two\r\nlines", "semi;colon", "-1.5", "tab\there"},
};

}  // namespace

TEST_F(FilesTest, CsvReadByPythonAndBackByTheGrid)
{
    REQUIRE_TOOL("python3", "python3");
    Fill(kAwkward);
    g->MergeCells(0, 0, 3, 1);
    const std::string path = dir.file("t.csv");
    g->SaveToCSV(path);
    Table py = PythonReads(dir, path);
    // line breaks travel as character 11 inside the field
    for (auto& row : py)
        for (auto& f : row)
            for (size_t p; (p = f.find('\x0b')) != std::string::npos;) f.replace(p, 1, "\r\n");
    EXPECT_EQ(py, kAwkward);  // the merged title once, covered cells empty

    gridtest::GridWindow other;
    other.Open(300, 200, 1, 1);
    other.g->LoadFromCSV(path);
    ASSERT_EQ(other.g->RowCount(), 3);
    ASSERT_EQ(other.g->ColCount(), 4);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(other.g->Cells(c, r), kAwkward[r][c]) << c << "," << r;
    other.Close();
}

TEST_F(FilesTest, CsvWrittenByPythonIsRead)
{
    REQUIRE_TOOL("python3", "python3");
    const std::string path = dir.file("py.csv");
    const std::string script = dir.file("write.py");
    WriteAll(script,
             "import csv,sys\n"
             "with open(sys.argv[1], 'w', newline='', encoding='latin-1') as f:\n"
             "    w = csv.writer(f)\n"
             "    w.writerow(['name', 'value', 'note'])\n"
             "    w.writerow(['a,b', 'he said \"x\"', 'line1\\nline2'])\n"
             "    w.writerow(['', '-3', 'end'])\n");
    int rc = 0;
    testsupport::RunCapture("python3 '" + script + "' '" + path + "'", &rc);
    ASSERT_EQ(rc, 0);
    g->SetColCount(1);
    g->LoadFromCSV(path);
    const Table want = {{"name", "value", "note"}, {"a,b", "he said \"x\"", "line1\r\nline2"}, {"", "-3", "end"}};
    EXPECT_EQ(Cells(), want);
}

TEST_F(FilesTest, CsvFieldRules)
{
    struct Case {
        const char* name;
        Table cells;
        std::function<void(TExStringGrid&)> setup;
        std::string file;
    } cases[] = {
        {"quoted separator", {{"a,b", "c"}}, nullptr, "\"a,b\",c\r\n"},
        {"quotes only", {{"x\"y\"", "c"}}, nullptr, "\"x\"\"y\"\"\",c\r\n"},
        {"empty quoted", {{"", "c"}}, nullptr, "\"\",c\r\n"},
        {"empty bare", {{"", "c"}}, [](TExStringGrid& g) { g.QuoteEmptyCells = false; }, ",c\r\n"},
        {"tilde", {{"a\r\nb", ""}}, [](TExStringGrid& g) { g.TildeCSV = true; }, "a~b,^\r\n"},
        {"break without multiline", {{"a\r\nb", "c"}}, nullptr, "\"a\x0b" "b\",c\r\n"},
        {"semicolon", {{"1;2", "3"}}, [](TExStringGrid& g) { g.Delimiter = ';'; }, "\"1;2\";3\r\n"},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.name);
        Fill(k.cells);
        g->QuoteEmptyCells = true;
        g->TildeCSV = false;
        g->Delimiter = 0;
        if (k.setup) k.setup(*g);
        const std::string path = dir.file("f.csv");
        g->SaveToCSV(path);
        EXPECT_EQ(ReadAll(path), k.file);
        for (int c = 0; c < g->ColCount(); ++c) g->SetCells(c, 0, "junk");
        g->LoadFromCSV(path);
        EXPECT_EQ(Cells(), k.cells);
        EXPECT_EQ(g->Delimiter, k.name == std::string("semicolon") ? ';' : 0);
    }
}

TEST_F(FilesTest, DelimiterFound)
{
    struct Case {
        const char* file;
        Table want;
    } cases[] = {
        {"-1\r\n-2\r\n-3\r\n", {{"-1"}, {"-2"}, {"-3"}}},          // never split at a sign
        {"+1\r\n2+3\r\n", {{"+1"}, {"2+3"}}},
        {"a;b;c\r\n", {{"a", "b", "c"}}},                          // one line, found by plain count
        {"a,b;c\r\nd,e;f\r\n", {{"a", "b;c"}, {"d", "e;f"}}},      // tie: the comma comes first
        {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.file);
        gridtest::GridWindow w;
        w.Open(300, 200, 1, 1);
        const std::string path = dir.file("d.csv");
        WriteAll(path, k.file);
        w.g->LoadFromCSV(path);
        Table got(size_t(w.g->RowCount()), std::vector<std::string>(size_t(w.g->ColCount())));
        for (int r = 0; r < w.g->RowCount(); ++r)
            for (int c = 0; c < w.g->ColCount(); ++c) got[size_t(r)][size_t(c)] = w.g->Cells(c, r);
        EXPECT_EQ(got, k.want);
        w.Close();
    }
}

TEST_F(FilesTest, CsvLoadGrowsToExactlyTheRowsAndAppendAdds)
{
    std::string data;
    for (int i = 0; i < 1500; ++i) data += std::to_string(i) + ",x\r\n";
    const std::string path = dir.file("big.csv");
    WriteAll(path, data);
    std::vector<short> progress;
    g->OnFileProgress = [&](TObject*, short p) { progress.push_back(p); };
    g->LoadFromCSV(path);
    EXPECT_EQ(g->RowCount(), 1500);
    EXPECT_EQ(g->Cells(0, 1499), "1499");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);

    Fill({{"only"}});
    progress.clear();
    const std::string one = dir.file("one.csv");
    g->SaveToCSV(one);
    EXPECT_EQ(progress, std::vector<short>{0});
    g->AppendToCSV(one);
    EXPECT_EQ(ReadAll(one), "only\r\nonly\r\n");
}

TEST_F(FilesTest, FailuresLeaveFilesAndGridAlone)
{
    Fill({{"a", "b"}});
    const std::string bad = dir.file("no/such/folder/x.csv");
    try {
        g->SaveToCSV(bad);
        FAIL();
    } catch (const EExGridError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot Create file " + bad + ". ", 0), 0u) << e.what();
    }
    try {
        g->LoadFromCSV(bad);
        FAIL();
    } catch (const EExGridError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + bad);
    }
    EXPECT_THROW(g->SaveToASCII(bad), EExGridError);
    EXPECT_EQ(Cells(), (Table{{"a", "b"}}));
}

TEST_F(FilesTest, PlainTextPadding)
{
    Fill({{"Name", "Qty", "Mid"}, {"bolt", "12", "ab"}, {"two\r\nlines", "7", "c"}});
    g->SetAlignments(1, 1, taRightJustify);
    g->SetAlignments(1, 2, taRightJustify);
    g->SetAlignments(2, 2, taCenter);
    g->MergeCells(0, 0, 2, 1);  // a covered cell exports empty
    const std::string path = dir.file("t.txt");
    g->SaveToASCII(path);
    // widths 5, 2 and 3; one blank after each column; continuation under its column
    EXPECT_EQ(ReadAll(path),
              "Name     Mid \r\n"
              "bolt  12 ab  \r\n"
              "two    7  c  \r\n"
              "lines \r\n");
}

TEST_F(FilesTest, FixedWidthRoundTrip)
{
    Fill({{"ab", "c"}, {"defgh", "ij"}});
    TIntList widths;
    widths.Add(6);
    const std::string path = dir.file("f.txt");
    g->SaveToFixed(path, widths);
    ASSERT_EQ(widths.Count(), 2);
    EXPECT_EQ(widths.Items(1), 3);
    EXPECT_EQ(ReadAll(path), "ab    c  \r\ndefgh ij \r\n");
    gridtest::GridWindow w;
    w.Open(300, 200, 1, 1);
    TIntList pos;
    for (int p : {1, 7, 10}) pos.Add(p);
    w.g->LoadFromFixed(path, pos);
    EXPECT_EQ(w.g->Cells(0, 1), "defgh");
    EXPECT_EQ(w.g->Cells(1, 1), "ij");
    w.Close();
}

TEST_F(FilesTest, ClipboardTextAndPasteBack)
{
    Fill({{"a", "two\r\nlines", "q\"x"}, {"b", "", "c"}});
    g->MergeCells(1, 1, 2, 1);
    g->SetSelection(TGridRect{0, 0, 2, 0});
    g->CopySelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "a\t\"two\nlines\"\tq\"x");
    EXPECT_EQ(g->LastClipOperation, coCopy);
    g->SetSelection(TGridRect{0, 0, 2, 1});
    g->CopySelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "a\t\"two\nlines\"\tq\"x\r\nb\t\t\r\n");

    g->Navigation.AllowClipboardAlways = true;
    gridtest::GridWindow w;
    w.Open(300, 200, 3, 2);
    w.g->Navigation.AllowClipboardAlways = true;
    Clipboard()->SetAsText("a\t\"two\nlines\"\tq\"x\r\nb\t\t\r\n");
    w.g->PasteFromClipboard();
    EXPECT_EQ(w.g->Cells(1, 0), "two\r\nlines");
    EXPECT_EQ(w.g->Cells(2, 0), "q\"x");
    EXPECT_EQ(w.g->Cells(0, 1), "b");
    EXPECT_EQ(w.g->RowCount(), 2);
    w.Close();
}

TEST_F(FilesTest, PasteStopsAtTheLastCellWithoutGrowth)
{
    Fill({{"", ""}, {"", ""}});
    g->Navigation.AllowClipboardAlways = true;
    g->Navigation.AllowClipboardColGrow = false;
    g->Navigation.AllowClipboardRowGrow = false;
    EXPECT_EQ(g->PasteText(1, 1, "1\t2\t3\r\n4\t5\t6\r\n"), 6);
    EXPECT_EQ(g->ColCount(), 2);
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->Cells(1, 1), "1");

    g->Navigation.AllowClipboardColGrow = true;
    g->Navigation.AllowClipboardRowGrow = true;
    g->PasteText(1, 1, "1\t2\t3\r\n4\t5\t6\r\n");
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(g->Cells(3, 2), "6");
    TPoint size;
    g->PasteSize("1\t2\t3\r\n4\r\n", size);
    EXPECT_EQ(size.X, 3);
    EXPECT_EQ(size.Y, 2);
}

TEST_F(FilesTest, CutEmptiesEditableCellsAndSmartPasteFills)
{
    Fill({{"a", "b", "c"}, {"d", "e", "f"}});
    g->SetOptions(g->Options() | goEditing);
    g->SetReadOnly(1, 1, true);
    g->CutToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "a\tb\tc\r\nd\te\tf\r\n");
    EXPECT_EQ(Cells(), (Table{{"", "", ""}, {"", "e", ""}}));
    EXPECT_EQ(g->LastClipOperation, coCut);

    g->Navigation.AllowSmartClipboard = true;
    Clipboard()->SetAsText("z");
    g->SetSelection(TGridRect{0, 0, 2, 1});
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(Cells(), (Table{{"z", "z", "z"}, {"z", "e", "z"}}));
}

namespace {

// Python's html.parser lists every cell as "tag attrs|text" lines.
std::string PythonHtmlCells(const TempDir& dir, const std::string& path, const char* encoding)
{
    const std::string script = dir.file("cells_html.py");
    WriteAll(script,
             "import sys\n"
             "from html.parser import HTMLParser\n"
             "class P(HTMLParser):\n"
             "    def __init__(s):\n"
             "        super().__init__(convert_charrefs=True); s.cell=None; s.out=[]\n"
             "    def handle_starttag(s, t, a):\n"
             "        if t=='td': s.cell=[' '.join(k+'='+(v or '') for k,v in a), '']\n"
             "        if t=='a' and s.cell: s.cell[1]+='['+dict(a)['href']+']'\n"
             "        if t=='br' and s.cell: s.cell[1]+='/'\n"
             "    def handle_startendtag(s, t, a): s.handle_starttag(t, a)\n"
             "    def handle_endtag(s, t):\n"
             "        if t=='td': s.out.append(s.cell[0]+'|'+s.cell[1]); s.cell=None\n"
             "    def handle_data(s, d):\n"
             "        if s.cell: s.cell[1]+=d.replace('\\r','').replace('\\n','')\n"
             "p=P(); p.feed(open(sys.argv[1], encoding=sys.argv[2]).read()); print('\\n'.join(p.out))\n");
    int rc = 0;
    const std::string out =
        testsupport::RunCapture("python3 '" + script + "' '" + path + "' " + encoding, &rc);
    EXPECT_EQ(rc, 0);
    return out;
}

}  // namespace

TEST_F(FilesTest, HtmlTableReadByAParser)
{
    REQUIRE_TOOL("python3", "python3");
    Fill({{"<b>Head</b>", "", "Q"}, {"a & b <c>", "http://x.org/?a=1&b=2", "1.5"}, {"", "caf\xe9", "end"}});
    g->SetFixedRows(1);
    g->MergeCells(0, 0, 2, 1);
    g->SetAlignments(2, 1, taRightJustify);
    g->URLShow = true;
    g->SetColors(2, 2, TColor(0x0000FF));
    const std::string path = dir.file("t.html");
    g->SaveToHTML(path);
    const std::string text = ReadAll(path);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">");
    const std::string fixedHex = HTMLColor(ColorToRGB(g->FixedColor()));
    EXPECT_EQ(PythonHtmlCells(dir, path, "cp1252"),
              "bgcolor=#" + fixedHex + " valign=top colspan=2|Head\n"
              "bgcolor=#" + fixedHex + " valign=top|Q\n"
              "valign=top|a & b \n"  // cell text reaches the page as it stands: <c> is a tag
              "valign=top|[http://x.org/?a=1&b=2]x.org/?a=1&b=2\n"
              "align=right valign=top|1.5\n"
              "|/\n"
              "valign=top|caf\xc3\xa9\n"  // the parser prints UTF-8
              "valign=top bgcolor=#FF0000|end\n");
    EXPECT_NE(text.find("<td valign=\"top\">a & b <c></td>"), std::string::npos);
    // With ConvertSpecialChars the body's special characters are written as entities.
    g->HTMLSettings.ConvertSpecialChars = true;
    g->SaveToHTML(path);
    EXPECT_NE(ReadAll(path).find("a &amp; b &lt;c&gt;"), std::string::npos);
    EXPECT_NE(PythonHtmlCells(dir, path, "cp1252").find("valign=top|a & b <c>\n"), std::string::npos);
}

namespace {

// Python's html.parser reads the table back: a row per <tr>, a cell per <td> with its text
// (each <br> a CR LF, a lone <br> an empty cell) on the grid's 8-bit page, and in links the
// address of each link.
struct ParsedTable {
    Table texts, links;
};
ParsedTable PythonHtmlTable(const TempDir& dir, const std::string& path, const char* encoding)
{
    const std::string script = dir.file("table_html.py");
    WriteAll(script,
             "import sys\n"
             "from html.parser import HTMLParser\n"
             "def hx(t): return t.encode('cp1252').hex() or '-'\n"
             "class P(HTMLParser):\n"
             "    def __init__(s):\n"
             "        super().__init__(convert_charrefs=True); s.rows=[]; s.cell=None; s.href=''\n"
             "    def handle_starttag(s, t, a):\n"
             "        if t=='tr': s.rows.append([])\n"
             "        elif t=='td': s.cell=[]; s.href=''\n"
             "        elif t=='br' and s.cell is not None: s.cell.append(None)\n"
             "        elif t=='a' and s.cell is not None: s.href=dict(a)['href']\n"
             "    def handle_startendtag(s, t, a): s.handle_starttag(t, a)\n"
             "    def handle_endtag(s, t):\n"
             "        if t=='td':\n"
             "            c=s.cell; s.cell=None\n"
             "            text='' if c==[None] else ''.join('\\r\\n' if x is None else x for x in c)\n"
             "            s.rows[-1].append(hx(text)+':'+hx(s.href))\n"
             "    def handle_data(s, d):\n"
             "        if s.cell is not None: s.cell.append(d)\n"
             "p=P(); p.feed(open(sys.argv[1], encoding=sys.argv[2], newline='').read()); p.close()\n"
             "for r in p.rows: print(' '.join(r))\n");
    int rc = 0;
    const std::string out = testsupport::RunCapture("python3 '" + script + "' '" + path + "' " + encoding, &rc);
    EXPECT_EQ(rc, 0);
    ParsedTable t;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        t.texts.emplace_back();
        t.links.emplace_back();
        std::istringstream ls(line);
        std::string tok;
        while (ls >> tok) {
            const size_t colon = tok.find(':');
            const std::string text = tok.substr(0, colon), link = tok.substr(colon + 1);
            t.texts.back().push_back(text == "-" ? "" : FromHex(text));
            t.links.back().push_back(link == "-" ? "" : FromHex(link));
        }
    }
    return t;
}

}  // namespace

// With special characters converted, an outside reader gets every cell's text back as the
// grid holds it, in the 8-bit page and in XHTML's UTF-8 alike; header cells are mini-HTML.
TEST_F(FilesTest, HtmlCellTextsComeBackThroughAParser)
{
    REQUIRE_TOOL("python3", "python3");
    const std::string url = "http://x.org/?a=\"1\"&b=<2>'";
    Fill({{"<b>Head</b>", "Gr\xf6\xdf" "e", "\x80 sign"},
          {"x < y & \"z\" > 'w'", "caf\xe9 na\xefve \x93q\x94", "two\r\nlines"},
          {"", "  padded  ", "&amp; stays &#38;"},
          {url, "mailto:a&b@x.org", "a</b> <i>x"}});
    g->SetFixedRows(1);
    g->URLShow = true;
    g->URLFull = true;
    g->HTMLSettings.ConvertSpecialChars = true;
    const Table texts = {{"Head", "Gr\xf6\xdf" "e", "\x80 sign"},
                         {"x < y & \"z\" > 'w'", "caf\xe9 na\xefve \x93q\x94", "two\r\nlines"},
                         {"", "  padded  ", "&amp; stays &#38;"},
                         {url, "mailto:a&b@x.org", "a</b> <i>x"}};
    const Table links = {{"", "", ""}, {"", "", ""}, {"", "", ""}, {url, "mailto:a&b@x.org", ""}};
    for (const bool xhtml : {false, true}) {
        SCOPED_TRACE(xhtml ? "xhtml" : "html");
        g->HTMLSettings.XHTML = xhtml;
        const std::string path = dir.file("cells.html");
        g->SaveToHTML(path);
        const ParsedTable got = PythonHtmlTable(dir, path, xhtml ? "utf-8" : "cp1252");
        EXPECT_EQ(got.texts, texts) << ReadAll(path);
        EXPECT_EQ(got.links, links) << ReadAll(path);
    }
}

TEST_F(FilesTest, XhtmlAndXmlAreWellFormedAndEncodedAsDeclared)
{
    REQUIRE_TOOL("xmllint", "libxml2-utils");
    Fill({{"x<y & \"z\"", "caf\xe9 \x80"}, {"two\r\nlines", ""}});
    g->HTMLSettings.XHTML = true;
    g->HTMLSettings.ConvertSpecialChars = true;
    g->SetWordWrap(false);
    const std::string html = dir.file("t.xhtml");
    g->SaveToHTML(html);
    const std::string text = ReadAll(html);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u);
    EXPECT_NE(text.find("caf\xc3\xa9 \xe2\x82\xac"), std::string::npos);  // UTF-8 as declared
    EXPECT_EQ(text.substr(text.size() - 11), "</html>\r\n\r\n");
    int rc = 0;
    testsupport::RunCapture("xmllint --noout --nonet '" + html + "' 2>&1", &rc);
    EXPECT_EQ(rc, 0);

    const std::string xml = dir.file("t.xml");
    base::TStringList names;
    names.Add("name");
    g->SaveToXML(xml, "rows", "row", &names);
    EXPECT_EQ(ReadAll(xml),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<rows>\r\n<row>\r\n"
              "<name>x&lt;y &amp; &quot;z&quot;</name>\r\n<FIELD1>caf\xe9 &#8364;</FIELD1>\r\n</row>\r\n"
              "<row>\r\n<name>two\r\nlines</name>\r\n<FIELD1></FIELD1>\r\n</row>\r\n</rows>\r\n");
    const std::string got = testsupport::RunCapture("xmllint --xpath 'string(/rows/row[1]/FIELD1)' '" + xml + "'", &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(got, "caf\xc3\xa9 \xe2\x82\xac\n");
    EXPECT_THROW(g->SaveToXLS(xml, true), EExGridError);
    try {
        g->SaveToDOC(xml, false);
    } catch (const EExGridError& e) {
        EXPECT_STREQ(e.what(), "Word OLE server not found");
    }
}

// What the grid writes with the default separator it reads back as it was, whatever the
// cells hold: the guess counts only outside quoted fields, and a cell holding a character
// the guess might take is quoted.
TEST_F(FilesTest, CsvWithTheDefaultSeparatorReadsBackWhateverTheCellsHold)
{
    const Table cases[] = {
        {{"x", "a,b;c"}, {"y", "d;e"}},
        {{"a;b", "c;d"}, {"e;f", "g;h"}},
        {{"1#2", "3|4"}, {"5@6", "7*8&9"}},
        {{"tab\there", "\"q\";x"}, {";", "#"}},
        {{"only;"}, {";only"}},
        {{"a;b;c"}},
        {{",,,", ";;;", "\t\t"}},
        {{"", "-1", "+2"}, {"x\"", "\"", "a,\"b\";c"}},
    };
    for (const Table& t : cases) {
        SCOPED_TRACE(t[0][0]);
        Fill(t);
        g->Delimiter = 0;
        const std::string path = dir.file("any.csv");
        g->SaveToCSV(path);
        gridtest::GridWindow w;
        w.Open(300, 200, 1, 1);
        w.g->SetFixedRows(0);
        w.g->SetFixedCols(0);
        w.g->LoadFromCSV(path);
        Table got(size_t(w.g->RowCount()), std::vector<std::string>(size_t(w.g->ColCount())));
        for (int r = 0; r < w.g->RowCount(); ++r)
            for (int c = 0; c < w.g->ColCount(); ++c) got[size_t(r)][size_t(c)] = w.g->Cells(c, r);
        EXPECT_EQ(got, t) << ReadAll(path);
        w.Close();
    }
    // A file from elsewhere: separators inside quotes do not count.
    const std::string path = dir.file("quoted.csv");
    WriteAll(path, "x,\"a,b;c\"\r\ny,d;e\r\n");
    Fill({{""}});
    g->LoadFromCSV(path);
    EXPECT_EQ(Cells(), (Table{{"x", "a,b;c"}, {"y", "d;e"}}));
}

// A load or a paste beyond the grid's limits is refused with the reason and changes no cell.
TEST_F(FilesTest, TooManyColumnsRowsOrCharactersAreRefused)
{
    struct Case {
        const char* name;
        std::string text;  // a CSV file, or the pasted text
        bool paste;
        int row;
        const char* why;
    } cases[] = {
        {"csv columns", std::string(20000, ',') + "\r\n", false, 0, "more than 16384 columns"},
        {"csv cell", std::string(40000, 'x') + ",y\r\n", false, 0, "a cell of more than 32767 characters"},
        {"quoted csv cell", "\"" + std::string(40000, ';') + "\"\r\n", false, 0, "a cell of more than 32767"},
        {"paste columns", std::string(20000, '\t'), true, 0, "more than 16384 columns"},
        {"paste rows", "a\r\nb\r\nc", true, 1048575, "more than 1048576 rows"},
        {"paste cell", "x\t" + std::string(40000, 'y'), true, 0, "a cell of more than 32767"},
        // each count below its own limit, the two together above the cell limit
        {"csv cells", std::string(15999, ',') + "\r\n" + Repeat("a\r\n", 1100), false, 0, "more than 16777216 cells"},
        {"paste cells", std::string(9999, '\t') + "\r\n" + Repeat("a\r\n", 1700), true, 0, "more than 16777216 cells"},
    };
    g->Navigation.AllowClipboardAlways = true;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Fill({{"a", "b"}, {"c", "d"}});
        try {
            if (k.paste) {
                g->PasteText(0, k.row, k.text);
            } else {
                const std::string path = dir.file("big.csv");
                WriteAll(path, k.text);
                g->LoadFromCSV(path);
            }
            ADD_FAILURE() << "accepted";
        } catch (const EExGridError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(k.paste ? "Cannot paste: the text has " : "Cannot load file ", 0), 0u) << what;
            EXPECT_NE(what.find(k.why), std::string::npos) << what;
        }
        EXPECT_EQ(Cells(), (Table{{"a", "b"}, {"c", "d"}}));
    }
    // Up to the limits all is taken.
    const std::string path = dir.file("wide.csv");
    WriteAll(path, std::string(16383, ',') + std::string(32767, 'z') + "\r\n");
    g->LoadFromCSV(path);
    EXPECT_EQ(g->ColCount(), 16384);
    EXPECT_EQ(g->Cells(16383, 0), std::string(32767, 'z'));
}

// Every export that cannot be written says so with the system's reason after the file name.
TEST_F(FilesTest, ExportFailuresGiveTheSystemsReason)
{
    Fill({{"a", "b"}});
    const std::string folder = dir.file("locked");
    ASSERT_EQ(::mkdir(folder.c_str(), 0555), 0);
    const std::string file = folder + "/x.out";
    TIntList widths;
    struct Case {
        const char* name;
        std::function<void()> save;
        const char* text;
    } cases[] = {
        {"csv", [&] { g->SaveToCSV(file); }, "Cannot Create file "},
        {"csv append", [&] { g->AppendToCSV(file); }, "Cannot Create file "},
        {"html", [&] { g->SaveToHTML(file); }, "Cannot Create file "},
        {"xml", [&] { g->SaveToXML(file, "l", "r", nullptr); }, "Cannot Create file "},
        {"text", [&] { g->SaveToASCII(file); }, "Cannot create file "},
        {"fixed", [&] { g->SaveToFixed(file, widths); }, "Cannot Create file "},
        {"grid text", [&] { g->SaveToFile(file); }, "Cannot Create "},
        {"grid binary", [&] { g->SaveToBinFile(file); }, "Cannot Create "},
        {"print settings", [&] { g->SavePrintSettings(file, "Print"); }, "Cannot write the print settings to "},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        try {
            k.save();
            ADD_FAILURE() << "saved";
        } catch (const EExGridError& e) {
            EXPECT_EQ(std::string(e.what()), k.text + file + ". Cannot write \"" + file + "\": its folder is read-only");
        }
    }
    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(base::FileExists(file));
}
