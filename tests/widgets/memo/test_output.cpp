// HTML output read back by a real HTML parser, the clipboard's HTML, and printing to PDF.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MemoFixture.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Clipboard.h"
#include "platform/system/Printer.h"
#include "support/TestSupport.h"
#include "widgets/memo/MemoPrint.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

// Runs Python's html.parser over a file and returns, per FONT element that carries a
// colour, "style<TAB>text" lines (text with \n for line ends), then "HREF<TAB>..." for links.
std::string ParseRuns(const std::string& file)
{
    const std::string script = R"PY(
import sys
from html.parser import HTMLParser
class P(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []; self.runs = []; self.hrefs = []
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'font':
            self.stack.append(a.get('style', ''))
            self.runs.append([a.get('style', ''), ''])
        if tag == 'a':
            self.hrefs.append(a.get('href'))
    def handle_endtag(self, tag):
        if tag == 'font' and self.stack:
            self.stack.pop()
            self.runs.append([self.stack[-1] if self.stack else '', ''])
    def handle_data(self, d):
        if self.runs: self.runs[-1][1] += d
p = P()
p.feed(open(sys.argv[1], encoding='latin-1').read())
for s, t in p.runs:
    if 'color' in s and t: print(s + '\t' + t.replace('\r', '\\r').replace('\n', '\\n'))
for h in p.hrefs: print('HREF\t' + h)
)PY";
    testsupport::TempDir dir("memo-html-parse");
    const std::string py = dir.file("runs.py");
    std::ofstream(py) << script;
    int rc = 0;
    const std::string out = testsupport::RunCapture("python3 " + py + " " + file, &rc);
    EXPECT_EQ(rc, 0);
    return out;
}

std::vector<std::pair<std::string, std::string>> Runs(const std::string& parsed, std::vector<std::string>* hrefs = nullptr)
{
    std::vector<std::pair<std::string, std::string>> runs;
    std::istringstream in(parsed);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        if (line.substr(0, tab) == "HREF") {
            if (hrefs) hrefs->push_back(line.substr(tab + 1));
        } else {
            runs.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        }
    }
    return runs;
}

std::string Joined(const std::vector<std::pair<std::string, std::string>>& runs)
{
    std::string s;
    for (const auto& r : runs) s += r.second;
    return s;
}

class OutputTest : public MemoTest {
protected:
    void SetUp() override
    {
        MemoTest::SetUp();
        styler = new TExCustomMemoStyler(owner.get());
        SetupLogMemo(*memo, *styler);
        memo->SetWordWrap(wwNone);
    }
    TExCustomMemoStyler* styler = nullptr;
};

}  // namespace

TEST_F(OutputTest, HtmlRunsAreTheStylersRunsAndEscapedText)
{
    REQUIRE_TOOL("python3", "python3");
    SetText({"ERROR: bad <b> & \"quoted\" 'x'", "NOTE: plain text"});
    testsupport::TempDir dir("memo-html");
    const std::string file = dir.file("out.html");
    ASSERT_TRUE(memo->SaveToHTML(file, true));
    const auto runs = Runs(ParseRuns(file));
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].first, "background-color: #FFFFFF;color:#FF0000;font:bold;");
    EXPECT_EQ(runs[0].second, "ERROR");
    EXPECT_NE(runs[1].first.find(";color:#008080;"), std::string::npos) << runs[1].first;
    EXPECT_EQ(runs[1].second, ": ");
    // Every character comes back through the parser, markup characters included.
    EXPECT_EQ(Joined(runs), "ERROR: bad <b> & \"quoted\" 'x'\\nNOTE: plain text\\n");
    // Each run's colours are those the painter chooses for it.
    for (const auto& r : runs) EXPECT_NE(r.first.find("background-color: #FFFFFF;"), std::string::npos) << r.first;
    const auto& lines = memo->HTMLOutput();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "<!-- saved from TExMemo -->");
    EXPECT_EQ(lines[2], "<BODY bgColor=#FFFFFF LINK=#0000FF VLINK=#0000FF ALINK=#0000FF>");
    EXPECT_EQ(lines[4], "<FONT style=\"font-family:COURIER NEW; font-size:10\">");
    EXPECT_EQ(lines.back(), "</HTML>");
}

TEST_F(OutputTest, AdjacentRunsWithTheSameColoursShareOneFontElement)
{
    memo->SetSyntaxStyles(nullptr);
    SetText({"one two", "three"});
    memo->OutputHTML(false);
    const auto& l = memo->HTMLOutput();
    ASSERT_EQ(l.size(), 12u);
    EXPECT_EQ(l[5], "<FONT style=\"background-color: #FFFFFF;color:#000000;\">one two");
    EXPECT_EQ(l[6], "three");
    EXPECT_EQ(l[7], "</FONT>");
}

TEST_F(OutputTest, UrlsBecomeLinksWithEscapedAddresses)
{
    REQUIRE_TOOL("python3", "python3");
    SetText({"see http://example.org/a?b=1&c=2 now"});
    testsupport::TempDir dir("memo-html");
    const std::string file = dir.file("url.html");
    ASSERT_TRUE(memo->SaveToHTML(file, false));
    std::vector<std::string> hrefs;
    const auto runs = Runs(ParseRuns(file), &hrefs);
    EXPECT_EQ(hrefs, std::vector<std::string>{"http://example.org/a?b=1&c=2"});
    EXPECT_EQ(Joined(runs), "see http://example.org/a?b=1&c=2 now\\n");
}

TEST_F(OutputTest, SaveToHtmlReportsAFileThatCannotBeWritten)
{
    SetText({"x"});
    EXPECT_FALSE(memo->SaveToHTML("/nonexistent-folder/x.html", false));
    EXPECT_FALSE(memo->HTMLOutput().empty());
    EXPECT_EQ(memo->HTMLSaveError().rfind("Cannot create file /nonexistent-folder/x.html. ", 0), 0u)
        << memo->HTMLSaveError();
    EXPECT_NE(memo->HTMLSaveError().find("No such file or directory"), std::string::npos) << memo->HTMLSaveError();
    testsupport::TempDir dir("memo-html");
    EXPECT_TRUE(memo->SaveToHTML(dir.file("ok.html"), false));
    EXPECT_EQ(memo->HTMLSaveError(), "");
}

TEST_F(OutputTest, ClipboardHoldsTheHtmlFormatWithItsOffsetsAndTheText)
{
    REQUIRE_TOOL("python3", "python3");
    SetText({"ERROR: a < b", "done"});
    memo->CopyHTMLToClipboard();
    const std::string data = Clipboard()->GetFormatData(RegisterClipboardFormat("HTML Format"));
    ASSERT_FALSE(data.empty());
    auto field = [&](const std::string& label) {
        const std::size_t at = data.find(label);
        return at == std::string::npos ? -1 : std::stoi(data.substr(at + label.size(), 8));
    };
    EXPECT_EQ(data.rfind("Version:1.0\r\n", 0), 0u);
    EXPECT_EQ(field("StartHTML:"), 97);
    EXPECT_EQ(field("StartFragment:"), 269);
    EXPECT_EQ(field("EndHTML:"), int(data.size()));
    std::string f;
    for (const std::string& l : memo->HTMLOutput()) f += l + "\r\n";
    EXPECT_EQ(field("EndFragment:"), 269 + int(f.size()));
    EXPECT_EQ(data.substr(97, 9), "<!DOCTYPE");
    EXPECT_EQ(data.substr(269, f.size()), f);
    EXPECT_EQ(Clipboard()->AsText(), f);
    testsupport::TempDir dir("memo-clip");
    const std::string file = dir.file("clip.html");
    std::ofstream(file, std::ios::binary) << data.substr(std::size_t(field("StartHTML:")));
    const auto runs = Runs(ParseRuns(file));
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs[0].second, "ERROR");
    EXPECT_EQ(Joined(runs), "ERROR: a < b\\ndone\\n");  // the parser reads line ends as LF
}

TEST_F(OutputTest, EmptyTextGivesTheFrameOfTheDocument)
{
    memo->SetSyntaxStyles(nullptr);
    memo->Lines()->Clear();
    memo->OutputHTML(false);
    const std::vector<std::string> want = {"<!-- saved from TExMemo -->",
                                           "<HTML>",
                                           "<BODY bgColor=#FFFFFF LINK=#0000FF VLINK=#0000FF ALINK=#0000FF>",
                                           "<PRE>",
                                           "<FONT style=\"font-family:COURIER NEW;\">",
                                           "</FONT>",
                                           "</PRE>",
                                           "</BODY>",
                                           "</HTML>"};
    EXPECT_EQ(memo->HTMLOutput(), want);
}

// ---------------------------------------------------------------- printing

namespace {

std::vector<std::string> SplitLines(const std::string& s)
{
    std::vector<std::string> out;
    std::istringstream in(s);
    std::string l;
    while (std::getline(in, l)) {
        const std::size_t a = l.find_first_not_of(' ');
        if (a == std::string::npos) continue;
        out.push_back(l.substr(a, l.find_last_not_of(' ') - a + 1));
    }
    return out;
}

}  // namespace

TEST_F(OutputTest, PrintedPdfHoldsTheLinesPageBreaksTitleAndPageNumbers)
{
    REQUIRE_TOOL("pdftotext", "poppler-utils");
    std::vector<std::string> text;
    for (int i = 1; i <= 120; ++i) text.push_back("line " + std::to_string(i));
    SetText(text);
    TPrintOptions o;
    o.Title = "Hull notes";
    o.PageNr = true;
    o.PagePrefix = "Page";
    o.MarginLeft = o.MarginRight = 60;
    o.MarginTop = o.MarginBottom = 50;
    memo->SetPrintOptions(o);
    testsupport::TempDir dir("memo-print");
    TPrinter* p = Printer();
    p->SetPrinterIndex(0);
    p->FileName = dir.file("memo.pdf");
    memo->Print();
    // The page count and lines per page the memo computes for the printer's page.
    TBitmap probe(10, 10);
    const int pages = memo->NumberOfPages(probe.Canvas(), p->PageWidth(), p->PageHeight());
    probe.Canvas()->Font().Assign(*memo->Font());
    const int lh = probe.Canvas()->TextHeight("gh") + 2;
    const int perPage = (p->PageHeight() - 100 - 2 * lh) / lh;
    EXPECT_EQ(pages, 119 / perPage + 1);
    ASSERT_GE(pages, 2);
    int rc = 0;
    const std::string out = testsupport::RunCapture("pdftotext -layout " + p->FileName + " -", &rc);
    ASSERT_EQ(rc, 0);
    std::vector<std::string> pageTexts;
    std::size_t from = 0;
    for (std::size_t ff; (ff = out.find('\f', from)) != std::string::npos; from = ff + 1)
        pageTexts.push_back(out.substr(from, ff - from));
    ASSERT_EQ(int(pageTexts.size()), pages);
    int next = 1;
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        const auto lines = SplitLines(pageTexts[std::size_t(page - 1)]);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.front(), "Hull notes");
        EXPECT_EQ(lines.back(), "Page " + std::to_string(page));
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], "line " + std::to_string(next++));
        if (page < pages) {
            EXPECT_EQ(int(lines.size()) - 2, perPage);
        }
    }
    EXPECT_EQ(next, 121);
    REQUIRE_TOOL("pdftoppm", "poppler-utils");
    testsupport::RunCapture("pdftoppm -png -r 40 -f 1 -l 1 " + p->FileName + " " + dir.file("page"), &rc);
    EXPECT_EQ(rc, 0);
    if (const char* keep = std::getenv("KORVELO_KEEP_PDF")) std::filesystem::copy_file(p->FileName, keep);
}

TEST_F(OutputTest, PageLayoutCountsLinesPerPage)
{
    std::vector<std::string> text(120, "x");
    SetText(text);
    TBitmap b(10, 10);
    b.Canvas()->Font().Assign(*memo->Font());
    const int lh = b.Canvas()->TextHeight("gh") + 2;
    TPrintOptions o;
    memo->SetPrintOptions(o);
    EXPECT_EQ(memo->NumberOfPages(b.Canvas(), 500, 50 * lh), 3);  // 50, 50 and 20 lines
    o.PageNr = true;
    o.Title = "T";
    memo->SetPrintOptions(o);
    EXPECT_EQ(memo->NumberOfPages(b.Canvas(), 500, 52 * lh), 3);
    memo->Lines()->Clear();
    EXPECT_EQ(memo->NumberOfPages(b.Canvas(), 500, 52 * lh), 1);
    EXPECT_THROW(memo->NumberOfPages(b.Canvas(), 500, lh), base::Exception);  // no room for a line
}
