// The predefined stylers' contents, and the completion and hint they bring to an editor.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MemoFixture.h"
#include "platform/Streaming.h"
#include "widgets/memo/AutoCompletion.h"
#include "widgets/memo/MemoLists.h"

using namespace memo;
using namespace platform;
using memotest::MemoTest;

namespace {

struct Element {
    TStyleType type;
    std::string info;
    TColor color;
    TFontStyles style;
    int keywords;
};

struct StylerCase {
    const char* name;
    std::function<TExCustomMemoStyler*(TComponent*)> make;
    std::string description, filter, extension, stylerName, extensions, blockStart, blockEnd;
    TColor numberColor;
    TFontStyles numberStyle;
    std::vector<Element> elements;
    std::vector<std::string> hints, completion;
};

const std::vector<std::string> kHints = {"alert(message)", "confirm(message)", "prompt(message,defaultvalue)"};
const std::vector<std::string> kWords = {"alert", "confirm", "prompt"};

std::vector<StylerCase> Cases()
{
    const std::string web = "HTML Document (*.htm,*.html)|*.htm;*.html";
    return {
        {"HTML", [](TComponent* o) -> TExCustomMemoStyler* { return new TExHTMLMemoStyler(o); }, "Web pages", web,
         ".html", "HTML document", "htm;html", "", "", clBlack, 0,
         {{stKeyword, "HTML Standard Default", clNavy, 0, 107},
          {stKeyword, "HTML Table Keywords", clTeal, 0, 10},
          {stKeyword, "HTML Link Keywords", clRed, 0, 2},
          {stBracket, "Simple Bracket", clBackground, 0, 0},
          {stBracket, "Double Bracket", clBlue, 0, 0},
          {stSymbol, "Symbols Delimiters", clTeal, 0, 0}},
         {},
         {}},
        {"Web", [](TComponent* o) -> TExCustomMemoStyler* { return new TExWebMemoStyler(o); }, "Web pages", web,
         ".html", "HTML document", "html;htm", "{", "}", clNavy, fsBold,
         {{stKeyword, "Script Standard Default", clFuchsia, fsBold, 24},  // "WINDOW" twice, as given
          {stKeyword, "HTML Standard Default", clFuchsia, fsBold, 48},
          {stBracket, "Single Quote", clGreen, 0, 0},
          {stBracket, "Double Quote", clTeal, 0, 0},
          {stSymbol, "Symbols Delimiters", clTeal, 0, 0},
          {stKeyword, "JavaScript Functions", clGreen, fsBold, 7}},
         kHints,
         kWords},
        {"JS", [](TComponent* o) -> TExCustomMemoStyler* { return new TExJSMemoStyler(o); }, "JavaScript",
         "Javascript Files (*.js)|*.js", ".js", "JavaScript", "js", "{", "}", clNavy, fsBold,
         {{stKeyword, "Script Standard Default", clFuchsia, fsBold, 24},
          {stBracket, "Simple Quote", clGreen, 0, 0},
          {stBracket, "Double Quote", clTeal, 0, 0},
          {stSymbol, "Symbols Delimiters", clTeal, 0, 0},
          {stKeyword, "JavaScript Functions", clGreen, fsBold, 7}},
         kHints,
         kWords},
    };
}

std::vector<std::string> Items(const base::TStrings& l)
{
    std::vector<std::string> out;
    for (int i = 0; i < l.Count(); ++i) out.push_back(l.Get(i));
    return out;
}

}  // namespace

TEST(PredefinedStylers, HoldWhatEachLanguageDescribes)
{
    EnsurePlatform();
    for (const StylerCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        TComponent owner(nullptr);
        TExCustomMemoStyler* s = c.make(&owner);
        EXPECT_EQ(s->Version(), "1.0");
        EXPECT_EQ(s->Description, c.description);
        EXPECT_EQ(s->Filter, c.filter);
        EXPECT_EQ(s->DefaultExtension, c.extension);
        EXPECT_EQ(s->StylerName, c.stylerName);
        EXPECT_EQ(s->Extensions, c.extensions);
        EXPECT_EQ(s->LineComment, "//");
        EXPECT_EQ(s->MultiCommentLeft, "<!--");
        EXPECT_EQ(s->MultiCommentRight, "-->");
        EXPECT_EQ(s->BlockStart, c.blockStart);
        EXPECT_EQ(s->BlockEnd, c.blockEnd);
        EXPECT_EQ(s->CommentStyle()->TextColor, clSilver);
        EXPECT_EQ(s->CommentStyle()->Style, TFontStyles(fsItalic));
        EXPECT_EQ(s->NumberStyle()->TextColor, c.numberColor);
        EXPECT_EQ(s->NumberStyle()->Style, c.numberStyle);
        ASSERT_EQ(s->AllStyles().Count(), int(c.elements.size()));
        for (int i = 0; i < s->AllStyles().Count(); ++i) {
            SCOPED_TRACE(i);
            const TElementStyle& e = *s->AllStyles().Items(i);
            const Element& want = c.elements[std::size_t(i)];
            EXPECT_EQ(e.StyleType(), want.type);
            EXPECT_EQ(e.Info(), want.info);
            EXPECT_EQ(e.Font().Color(), want.color);
            EXPECT_EQ(e.Font().Style(), want.style);
            EXPECT_EQ(e.KeyWords().Count(), want.keywords);
        }
        EXPECT_EQ(Items(s->HintParameter.Parameters), c.hints);
        EXPECT_EQ(Items(s->listAuto), c.completion);
        EXPECT_FALSE(s->AllStyles().Modified());
    }
}

// The script stylers bring their own hints: a call typed in an editor that uses one
// shows its parameter list, the current parameter in bold.
class ScriptStylerTest : public MemoTest, public ::testing::WithParamInterface<int> {};

TEST_P(ScriptStylerTest, ShowsTheHintsAndWordsOfItsOwn)
{
    TExCustomMemoStyler* s = GetParam() == 0 ? static_cast<TExCustomMemoStyler*>(new TExWebMemoStyler(owner.get()))
                                             : new TExJSMemoStyler(owner.get());
    memo->SetSyntaxStyles(s);
    Focus();
    const struct {
        std::string line;
        std::string before, bold;
    } calls[] = {{"alert(", "", "message"}, {"confirm(", "", "message"}, {"prompt(x, ", "message,", "defaultvalue"}};
    for (const auto& call : calls) {
        SCOPED_TRACE(call.line);
        SetText({""});
        Type(call.line);
        Key(VK_SPACE, ssCtrl | ssShift);
        ASSERT_TRUE(memo->HintVisible());
        EXPECT_EQ(memo->Completion()->Parts[0], call.before);
        EXPECT_EQ(memo->Completion()->Parts[1], call.bold);
        EXPECT_EQ(memo->Completion()->BoldPart, 2);
        memo->HideHint();
    }
    // Its completion words: "c" and Ctrl+Space offer "confirm" alone.
    SetText({""});
    Type("c");
    Key(VK_SPACE, ssCtrl);
    ASSERT_TRUE(memo->CompletionVisible());
    EXPECT_EQ(Items(memo->Completion()->List->Items()), std::vector<std::string>{"confirm"});
    Word enter = VK_RETURN;
    memo->ListKeyDown(enter, 0);
    EXPECT_EQ(memo->Lines()->Get(0), "confirm");
}

INSTANTIATE_TEST_SUITE_P(WebAndJS, ScriptStylerTest, ::testing::Values(0, 1));

// Completion entries are offered in key order without case, or in the order the
// program's comparison gives.
class SortedCompletionTest : public MemoTest {};

TEST_F(SortedCompletionTest, EntriesAreOfferedInTheOrderOfTheComparison)
{
    auto* s = new TExCustomMemoStyler(owner.get());
    memo->SetSyntaxStyles(s);
    Focus();
    for (const char* e : {"function zeta(a)", "Beta", "var alpha", "gamma;"}) s->listAuto.Add(e);
    auto open = [&] {
        SetText({""});
        Key(VK_SPACE, ssCtrl);
        EXPECT_TRUE(memo->CompletionVisible());
        std::vector<std::string> shown = Items(memo->Completion()->List->Items());
        memo->Hideauto();
        return shown;
    };
    EXPECT_EQ(open(), (std::vector<std::string>{"var alpha", "Beta", "gamma;", "function zeta(a)"}));
    EXPECT_LT(memo->SortAutoCompletList(s->listAuto, 2, 1), 0);   // alpha before Beta
    EXPECT_GT(memo->SortAutoCompletList(s->listAuto, 0, 3), 0);   // zeta after gamma

    // The program's own order: by length, longest first. The handler sees the list.
    int calls = 0;
    memo->OnSortAutoCompletionList = [&](TObject* sender, base::TStrings& list, int a, int b) {
        EXPECT_EQ(sender, memo);
        ++calls;
        return int(list.Get(b).size()) - int(list.Get(a).size());
    };
    EXPECT_EQ(open(), (std::vector<std::string>{"function zeta(a)", "var alpha", "gamma;", "Beta"}));
    EXPECT_GT(calls, 0);
}

TEST(IntList, AddsInsertsDeletesAndFindsByHalving)
{
    TIntList l;
    for (int v : {2, 5, 9}) l.Add(v);
    l.Insert(1, 3);
    l.Insert(4, 11);
    EXPECT_EQ(std::vector<int>(l.begin(), l.end()), (std::vector<int>{2, 3, 5, 9, 11}));
    l.Delete(0);
    l.SetInteger(0, 4);
    EXPECT_EQ(l.GetInteger(0), 4);
    const struct {
        int value, index;
    } finds[] = {{4, 0}, {5, 1}, {9, 2}, {11, 3}, {1, -1}, {6, -1}, {12, -1}};
    for (const auto& f : finds) EXPECT_EQ(l.IndexOf(f.value), f.index) << f.value;
    for (int bad : {-1, 4}) {
        EXPECT_THROW(l.GetInteger(bad), base::EListError) << bad;
        EXPECT_THROW(l.SetInteger(bad, 0), base::EListError) << bad;
        EXPECT_THROW(l.Delete(bad), base::EListError) << bad;
    }
    EXPECT_THROW(l.Insert(6, 0), base::EListError);
    EXPECT_EQ(l.Count(), 4);
}

namespace {

// A component that publishes a tagged string list, as a form would hold one.
class ListHolder : public TComponent {
public:
    using TComponent::TComponent;
    void GetPublished(TPropertyList& L) override
    {
        TComponent::GetPublished(L);
        L.Object("Entries", [this] { return &entries; });
        L.Integer("After", after);
    }
    TExStringList entries;
    int after = 0;
};

std::string Streamed(ListHolder& h)
{
    TMemoryStream s;
    s.WriteComponent(&h);
    return s.DataString();
}

}  // namespace

TEST(ExStringList, StreamsItsStringsWithTheirTagsAndReadsIntoAClearedList)
{
    EnsurePlatform();
    ListHolder h(nullptr);
    h.SetName("Holder");
    h.after = 7;
    const std::string empty = Streamed(h);
    EXPECT_EQ(empty.find("Strings"), std::string::npos);  // nothing written for an empty list

    h.entries.AddTagged("function alert(message)", 5);
    h.entries.AddTagged("var answer", 1);
    h.entries.AddTagged("", -3);
    const std::string data = Streamed(h);
    // The pairs, as a form file holds them.
    TMemoryStream expect;
    {
        TWriter w(expect);
        w.WritePropName("Entries.Strings");
        w.WriteListBegin();
        w.WriteString("function alert(message)");
        w.WriteInteger(5);
        w.WriteString("var answer");
        w.WriteInteger(1);
        w.WriteString("");
        w.WriteInteger(-3);
        w.WriteListEnd();
    }
    EXPECT_NE(data.find(expect.DataString()), std::string::npos);

    ListHolder back(nullptr);
    back.entries.AddTagged("stale", 9);
    TMemoryStream in(data);
    in.ReadComponent(&back);
    ASSERT_EQ(back.entries.Count(), 3);
    EXPECT_EQ(Items(back.entries), (std::vector<std::string>{"function alert(message)", "var answer", ""}));
    EXPECT_EQ(back.entries.Tag(0), 5);
    EXPECT_EQ(back.entries.Tag(1), 1);
    EXPECT_EQ(back.entries.Tag(2), -3);
    EXPECT_EQ(back.after, 7);  // what follows the list is read as well

    // A list cut short in a pair is bad data, not a crash.
    const std::size_t at = data.find(expect.DataString());
    const std::string cut = data.substr(0, at + expect.DataString().size() - 2);
    ListHolder broken(nullptr);
    TMemoryStream bad(cut);
    EXPECT_THROW(bad.ReadComponent(&broken), EReadError);
}
