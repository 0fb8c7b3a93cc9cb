// The line tokenizer with the log styler and a styler with comments and numbers.
#include <gtest/gtest.h>

#include "base/StrUtils.h"
#include "widgets/memo/MemoStyler.h"
#include "widgets/memo/Tokenizer.h"

using namespace memo;

namespace {

// Runs written as "text/kind": C comment, Bn bracket element n, Kn keyword, Sn symbol,
// N number, U address, P plain.
class Runs {
public:
    explicit Runs(TExCustomMemoStyler* styler, bool urlAware = true)
    {
        for (int i = 0; i < styler->AllStyles().Count(); ++i) styler->AllStyles().Items(i)->KeyWords().SetSorted(true);
        setup_.styler = styler;
        setup_.urlAware = urlAware;
        setup_.isURL = [](std::string_view s) {
            const std::string l = base::LowerCase(std::string(s));
            return l.rfind("http://", 0) == 0 || l.rfind("www.", 0) == 0;
        };
        setup_.Prepare();
    }
    std::string Line(const std::string& line)
    {
        std::string out;
        TLineTokenizer(setup_).Line(line, state, [&](std::string_view t, const TStyle& s, bool) {
            std::string kind = "P";
            if (s.IsURL) kind = "U";
            else if (s.InComment) kind = "C";
            else if (s.InBracket) kind = "B" + std::to_string(s.StyleIndex);
            else if (s.IsNumber) kind = "N";
            else if (s.IsKeyword) kind = "K" + std::to_string(s.StyleIndex);
            else if (s.IsSymbol) kind = "S" + std::to_string(s.StyleIndex);
            out += (out.empty() ? "" : " ") + std::string(t) + "/" + kind;
        });
        return out;
    }
    TStyle state;

private:
    TTokenizerSetup setup_;
};

}  // namespace

TEST(Tokenizer, LogStylerColoursAsATable)
{
    TExHTMLMemoStyler styler;
    SetupLogStyler(styler);
    struct Row {
        const char* line;
        const char* runs;
    };
    const std::vector<Row> rows = {
        {"ERROR: x", "ERROR/K0 : /S3 x/P"},
        {"error: x", "error/K0 : /S3 x/P"},
        {"Error", "Error/K0"},
        {"xERROR", "xERROR/P"},
        {"a ERROR", "a/P  /S3 ERROR/K0"},
        {"NOTE it", "NOTE/K4  /S3 it/P"},
        {"WARNING", "WARNING/P"},
        {"say \"hi there\" ok", "say/P  /S3 \"hi there\"/B2  /S3 ok/P"},
        {"12ab", "12/N ab/P"},
        {"1.2.3", "1/N ./S3 2.3/N"},  // a symbol starts a word again
        {"1E5", "1E5/N"},
        {"see http://x.org/a now", "see/P  /S3 http://x.org/a/U  /S3 now/P"},
        {"a // rest", "a/P  /S3 // rest/C"},
    };
    for (const Row& r : rows) {
        Runs runs(&styler);
        EXPECT_EQ(runs.Line(r.line), r.runs) << r.line;
    }
}

TEST(Tokenizer, AQuoteInTheLogEndsWithItsLine)
{
    TExHTMLMemoStyler styler;
    SetupLogStyler(styler);
    Runs runs(&styler);
    EXPECT_EQ(runs.Line("it's here"), "it/P 's here/B1");
    EXPECT_EQ(runs.state.InBracket, 0);
    EXPECT_EQ(runs.Line("next line"), "next/P  /S3 line/P");
}

TEST(Tokenizer, OtherStylersCarryAQuoteToTheNextLine)
{
    TExHTMLMemoStyler styler;
    Runs runs(&styler);
    runs.Line("it's here");
    EXPECT_EQ(runs.state.InBracket, 1);
    EXPECT_EQ(runs.Line("more' x"), "more'/B3  /S5 x/P");
}

TEST(Tokenizer, MultiLineCommentsAndLineComments)
{
    TExHTMLMemoStyler styler;
    Runs runs(&styler, false);
    EXPECT_EQ(runs.Line("z <!-- b"), "z/P  /S5 <!-- b/C");
    EXPECT_EQ(runs.state.InComment, 1);
    EXPECT_EQ(runs.Line("c --> d"), "c -->/C  /S5 d/P");
    EXPECT_EQ(runs.state.InComment, 0);
    EXPECT_EQ(runs.Line("x // y"), "x/P  /S5 // y/C");
    EXPECT_EQ(runs.state.InComment, 0);  // a line comment ends with its line
}

TEST(Tokenizer, ASecondDotEndsANumberBeforeTheFirst)
{
    TExCustomMemoStyler styler;
    TElementStyle* comma = styler.AllStyles().Add();
    comma->SetStyleType(stSymbol);
    comma->SetSymbols(", ");
    Runs runs(&styler, false);
    EXPECT_EQ(runs.Line("1.2.3"), "1/N .2.3/P");
    EXPECT_EQ(runs.Line("0.5"), "0.5/N");
}

TEST(Tokenizer, MinusIsASymbolBeforeADigit)
{
    TExHTMLMemoStyler styler;
    Runs runs(&styler, false);
    EXPECT_EQ(runs.Line("-5"), "-/S5 5/N");
}

TEST(Tokenizer, WithoutAStylerAPieceIsOnePlainRun)
{
    TTokenizerSetup setup;
    setup.urlAware = false;
    std::string out;
    TStyle st;
    TLineTokenizer(setup).Line("ERROR 'x", st, [&](std::string_view t, const TStyle&, bool) { out += std::string(t) + "|"; });
    EXPECT_EQ(out, "ERROR 'x|");
}

TEST(Tokenizer, UrlRunsAlternateDelimitersAndText)
{
    std::vector<std::string> runs;
    for (auto r : SplitUrlRuns("a,\"b\"", 0)) runs.emplace_back(r);
    EXPECT_EQ(runs, (std::vector<std::string>{"a", ",\"", "b", "\""}));
}
