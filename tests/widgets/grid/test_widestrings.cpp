#include <gtest/gtest.h>

#include <vector>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/Streaming.h"
#include "widgets/grid/WideStrings.h"

using grid::TWideStrings;
using grid::WideString;

namespace {

// The smallest concrete list: texts and objects in two vectors.
class WideList : public TWideStrings {
public:
    WideString Get(int i) const override { return at(i).text; }
    int GetCount() const override { return int(items_.size()); }
    void Clear() override { items_.clear(); }
    void Delete(int i) override
    {
        at(i);
        items_.erase(items_.begin() + i);
    }
    void Insert(int i, const WideString& s) override
    {
        if (i < 0 || i > GetCount()) Error("List index out of bounds (%d)", i);
        items_.insert(items_.begin() + i, {s, nullptr});
    }
    void* GetObject(int i) const override { return at(i).obj; }
    void PutObject(int i, void* o) override { const_cast<Item&>(at(i)).obj = o; }
    void SetUpdateState(bool updating) override { updates.push_back(updating); }

    std::vector<bool> updates;

private:
    struct Item {
        WideString text;
        void* obj;
    };
    const Item& at(int i) const
    {
        if (i < 0 || i >= GetCount()) Error("List index out of bounds (%d)", i);
        return items_[size_t(i)];
    }
    std::vector<Item> items_;
};

std::vector<WideString> Items(const TWideStrings& l)
{
    std::vector<WideString> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
}

}  // namespace

TEST(WideStrings, CommaTextQuotesWhatNeedsItAndReadsBlanksAsSeparators)
{
    WideList l;
    l.Add(u"a");
    l.Add(u"b c");
    l.Add(u"d\"e");
    EXPECT_EQ(l.CommaText(), u"a,\"b c\",\"d\"\"e\"");
    WideList one;
    one.Add(u"");
    EXPECT_EQ(one.CommaText(), u"\"\"");
    EXPECT_EQ(WideList().CommaText(), u"");

    struct Case {
        WideString in;
        std::vector<WideString> out;
    } cases[] = {
        {u" a , \"b \"\"x\"\" c\" ,d", {u"a", u"b \"x\" c", u"d"}},
        {u"\"abc", {u"abc"}},  // an unclosed quote keeps its last character
        {u"a b,c", {u"a", u"b", u"c"}},
        {u"\"\",x", {u"", u"x"}},
        {u"\u00e9t\u00e9,\u4e2d\u6587", {u"\u00e9t\u00e9", u"\u4e2d\u6587"}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        WideList w;
        w.SetCommaText(c.in);
        EXPECT_EQ(Items(w), c.out);
        if (!c.out.empty()) {
            WideList back;
            back.SetCommaText(w.CommaText());
            EXPECT_EQ(Items(back), c.out);  // round trip
        }
    }
}

TEST(WideStrings, TextSplitsAtEveryKindOfBreak)
{
    WideList l;
    l.SetText(u"a\r\nb\n\nc\r");
    EXPECT_EQ(Items(l), (std::vector<WideString>{u"a", u"b", u"", u"c"}));
    EXPECT_EQ(l.Text(), u"a\r\nb\r\n\r\nc\r\n");
    l.SetText(u"x\n\ry\u2028z\u2029\u000bw\u000c");
    EXPECT_EQ(Items(l), (std::vector<WideString>{u"x", u"", u"y", u"z", u"", u"w"}));
    l.SetText(u"");
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Text(), u"");
}

TEST(WideStrings, NamesValuesAndCaseInsensitiveSearch)
{
    WideList l;
    l.Add(u"x=1");
    l.Add(u"K=2");
    EXPECT_EQ(l.Values(u"k"), u"2");
    EXPECT_EQ(l.Names(1), u"K");
    EXPECT_EQ(l.IndexOfName(u"X"), 0);
    l.SetValues(u"new", u"3");
    EXPECT_EQ(l.Strings(2), u"new=3");
    l.SetValues(u"k", u"");
    EXPECT_EQ(Items(l), (std::vector<WideString>{u"x=1", u"new=3"}));
    l.Add(u"abc");
    l.Add(u"\u00c9t\u00c9");
    EXPECT_EQ(l.IndexOf(u"ABC"), 2);
    EXPECT_EQ(l.IndexOf(u"\u00e9t\u00e9"), 3);
    EXPECT_EQ(l.IndexOf(u"nope"), -1);
}

TEST(WideStrings, ExchangeMoveAndPutKeepObjects)
{
    int A = 0, B = 0, C = 0;
    WideList l;
    l.AddObject(u"a", &A);
    l.AddObject(u"b", &B);
    l.Exchange(0, 1);
    EXPECT_EQ(Items(l), (std::vector<WideString>{u"b", u"a"}));
    EXPECT_EQ(l.Objects(0), &B);
    EXPECT_EQ(l.Objects(1), &A);
    l.AddObject(u"c", &C);
    l.Move(2, 0);
    EXPECT_EQ(Items(l), (std::vector<WideString>{u"c", u"b", u"a"}));
    EXPECT_EQ(l.Objects(0), &C);
    l.Put(1, u"B");
    EXPECT_EQ(l.Objects(1), &B);
    EXPECT_EQ(l.IndexOfObject(&A), 2);
    EXPECT_THROW(l.Move(5, 0), base::EStringListError);
}

TEST(WideStrings, UpdatesNestAndEightBitListsMeetWideOnes)
{
    WideList l;
    l.BeginUpdate();
    l.BeginUpdate();
    l.EndUpdate();
    l.EndUpdate();
    EXPECT_EQ(l.updates, (std::vector<bool>{true, false}));

    base::TStringList ansi;
    ansi.Add("caf\xE9");
    ansi.Add("\x80uro");
    l.Assign(ansi);
    EXPECT_EQ(Items(l), (std::vector<WideString>{u"caf\u00e9", u"\u20acuro"}));
    EXPECT_EQ(l.AnsiStrings().Get(1), "\x80uro");
    l.AnsiStrings().Add("more");
    EXPECT_EQ(l.Strings(2), u"more");

    base::TStringList back;
    l.Add(u"\u4e2d");
    l.AssignTo(back);
    EXPECT_EQ(back.Count(), 4);
    EXPECT_EQ(back.Get(3), "?");

    WideList copy;
    copy.Assign(l);
    EXPECT_TRUE(copy.Equals(l));
    copy.Put(0, u"CAF\u00c9");
    EXPECT_FALSE(copy.Equals(l));  // equality counts case
    copy.SetAnsiStrings(ansi);
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_THROW(copy.Assign(platform::TPersistent()), base::EConvertError);
}

namespace {

class TListHolder : public platform::TComponent {
public:
    WideList List;
    void GetPublished(platform::TPropertyList& L) override { L.Object("Items", [this] { return &List; }); }
};

std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }

std::string Wide(const WideString& w)
{
    std::string s = "\x12";
    for (int k = 0; k < 4; ++k) s += char((w.size() >> (8 * k)) & 0xFF);
    for (char16_t c : w) s += std::string{char(c & 0xFF), char(c >> 8)};
    return s;
}

}  // namespace

TEST(WideStrings, FormDataIsAListOfWideStrings)
{
    TListHolder h;
    h.List.Add(u"port");
    h.List.Add(u"\u03a9 star\u2019board");
    platform::TMemoryStream m;
    m.WriteComponent(&h);
    const std::string expected = "TPF0" + Short("TListHolder") + Short("") + Short("Items.AnsiStrings.Strings") +
                                 "\x01" + "\x06" + Short("port") + "\x06" + Short("? star\x92" "board") +
                                 std::string(1, '\0') + Short("Items.WideStrings") + "\x01" + Wide(u"port") +
                                 Wide(u"\u03a9 star\u2019board") + std::string(3, '\0');
    EXPECT_EQ(m.DataString(), expected);
    m.SetPosition(0);
    TListHolder q;
    q.List.Add(u"old");
    m.ReadComponent(&q);
    EXPECT_EQ(Items(q.List), (std::vector<WideString>{u"port", u"\u03a9 star\u2019board"}));

    // 8-bit values are widened; an empty list writes nothing
    TListHolder r;
    platform::TMemoryStream eight("TPF0" + Short("TListHolder") + Short("") + Short("Items.WideStrings") + "\x01" +
                                  "\x06" + Short("caf\xe9") + "\x0c" + std::string("\x01\0\0\0", 4) + "x" +
                                  Wide(u"\u00fc") + std::string(3, '\0'));
    eight.ReadComponent(&r);
    EXPECT_EQ(Items(r.List), (std::vector<WideString>{u"caf\u00e9", u"x", u"\u00fc"}));
    TListHolder empty;
    platform::TMemoryStream none;
    none.WriteComponent(&empty);
    EXPECT_EQ(none.DataString(), "TPF0" + Short("TListHolder") + Short("") + std::string(2, '\0'));
    // anything but strings in the list is refused
    TListHolder bad;
    platform::TMemoryStream wrong("TPF0" + Short("TListHolder") + Short("") + Short("Items.WideStrings") + "\x01" +
                                  "\x02\x05" + std::string(3, '\0'));
    EXPECT_THROW(wrong.ReadComponent(&bad), platform::EReadError);
}

TEST(WideStrings, FormDataFollowsTheAncestor)
{
    WideList a, same, other;
    a.Add(u"x");
    same.Add(u"x");
    other.Add(u"y");
    struct Case {
        platform::TPersistent* ancestor;
        WideList* list;
        bool written;
    };
    struct TOther : platform::TPersistent {
    } otherClass;
    WideList empty;
    const Case cases[] = {{&a, &same, false},       {&a, &other, true},          {nullptr, &same, true},
                          {nullptr, &empty, false}, {&a, &empty, true},          {&otherClass, &same, true},
                          {&otherClass, &empty, true}};
    for (const Case& c : cases) {
        platform::TMemoryStream m;
        platform::TWriter w(m);
        w.Ancestor = c.ancestor;
        c.list->DefineProperties(&w);
        EXPECT_EQ(m.Size() > 0, c.written);
    }
}
