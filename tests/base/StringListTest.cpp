#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "base/StringList.h"
#include "support/TestSupport.h"

using namespace base;

namespace {

std::vector<std::string> Items(const TStrings& l) {
    std::vector<std::string> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
    return v;
}

using V = std::vector<std::string>;

}  // namespace

TEST(TStringList, AddInsertDeleteAndObjects) {
    TStringList l;
    int a = 1, b = 2;
    EXPECT_EQ(l.Add("one"), 0);
    EXPECT_EQ(l.AddObject("two", &a), 1);
    l.InsertObject(0, "zero", &b);
    EXPECT_EQ(Items(l), (V{"zero", "one", "two"}));
    EXPECT_EQ(l.GetObject(0), &b);
    EXPECT_EQ(l.GetObject(2), &a);
    EXPECT_EQ(l.IndexOfObject(&a), 2);
    l.Delete(1);
    EXPECT_EQ(Items(l), (V{"zero", "two"}));
    l.Put(1, "deux");
    EXPECT_EQ(l[1], "deux");
    EXPECT_EQ(l.GetObject(1), &a);  // Put keeps the object
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(TStringList, IndexErrors) {
    TStringList l;
    l.Add("a");
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {"Get -1", [&] { l.Get(-1); }, "List index out of bounds (-1)"},
        {"Get 1", [&] { l.Get(1); }, "List index out of bounds (1)"},
        {"Put", [&] { l.Put(5, "x"); }, "List index out of bounds (5)"},
        {"Delete", [&] { l.Delete(1); }, "List index out of bounds (1)"},
        {"Insert", [&] { l.Insert(2, "x"); }, "List index out of bounds (2)"},
        {"GetObject", [&] { l.GetObject(3); }, "List index out of bounds (3)"},
        {"PutObject", [&] { l.PutObject(-2, nullptr); }, "List index out of bounds (-2)"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const EStringListError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
    EXPECT_NO_THROW(l.Insert(1, "end"));
    EXPECT_EQ(Items(l), (V{"a", "end"}));
}

TEST(TStringList, IndexOfIsCaseInsensitiveByDefault) {
    TStringList l;
    l.SetCommaText("Alpha,Beta,gamma");
    EXPECT_EQ(l.IndexOf("BETA"), 1);
    EXPECT_EQ(l.IndexOf("Gamma"), 2);
    EXPECT_EQ(l.IndexOf("delta"), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("BETA"), -1);
    EXPECT_EQ(l.IndexOf("Beta"), 1);
}

TEST(TStringList, SortedAddAndFind) {
    TStringList l;
    l.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "banana"}) l.Add(s);
    EXPECT_EQ(Items(l), (V{"Apple", "banana", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(l.Find("FIG", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(l.Find("cherry", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(l.Find("zzz", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(l.IndexOf("PEAR"), 3);
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
    EXPECT_THROW(l.Put(0, "x"), EStringListError);
}

TEST(TStringList, Duplicates) {
    TStringList l;
    l.SetSorted(true);
    l.Add("b");
    l.Add("a");
    EXPECT_EQ(l.Add("B"), 1);  // dupIgnore: the existing index, nothing added
    EXPECT_EQ(l.Count(), 2);
    int first = 1, second = 2;
    l.PutObject(1, &first);
    EXPECT_EQ(l.AddObject("b", &second), 1);
    EXPECT_EQ(l.GetObject(1), &first);  // the ignored duplicate does not replace the object

    l.SetDuplicates(TDuplicates::dupError);
    try {
        l.Add("A");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(l.Count(), 2);

    l.SetDuplicates(TDuplicates::dupAccept);
    l.Add("b");
    l.Add("b");
    EXPECT_EQ(Items(l), (V{"a", "b", "b", "b"}));
    int index = -1;
    EXPECT_TRUE(l.Find("b", index));
    EXPECT_EQ(l[index], "b");

    // Unsorted lists accept anything.
    TStringList u;
    u.SetDuplicates(TDuplicates::dupError);
    u.Add("x");
    EXPECT_NO_THROW(u.Add("x"));
    EXPECT_EQ(u.Count(), 2);
}

TEST(TStringList, SortAndCustomSort) {
    TStringList l;
    l.SetCommaText("c,A,b");
    l.Sort();
    EXPECT_EQ(Items(l), (V{"A", "b", "c"}));
    l.SetCaseSensitive(true);
    l.Sort();
    EXPECT_EQ(Items(l), (V{"A", "b", "c"}));
    l.SetCommaText("c,A,b,B");
    l.Sort();
    EXPECT_EQ(Items(l), (V{"A", "B", "b", "c"}));
    l.CustomSort([](const TStringList& list, int a, int b) { return list[b].compare(list[a]); });
    EXPECT_EQ(Items(l), (V{"c", "b", "B", "A"}));
    // Turning Sorted on sorts; changing case sensitivity re-sorts.
    TStringList s;
    s.SetCommaText("b,C,a");
    s.SetCaseSensitive(true);
    s.SetSorted(true);
    EXPECT_EQ(Items(s), (V{"C", "a", "b"}));
    s.SetCaseSensitive(false);
    EXPECT_EQ(Items(s), (V{"a", "b", "C"}));
}

TEST(TStringList, Text) {
    TStringList l;
    l.Add("a");
    l.Add("");
    l.Add("c");
    EXPECT_EQ(l.Text(), "a\r\n\r\nc\r\n");
    struct Case {
        const char* text;
        V items;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {" x \n", {" x "}},
    };
    for (const Case& c : cases) {
        l.SetText(c.text);
        EXPECT_EQ(Items(l), c.items) << c.text;
    }
}

TEST(TStringList, CommaText) {
    struct Case {
        V items;
        const char* text;
    } cases[] = {
        {{"a", "b", "c"}, "a,b,c"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"x,y", "say \"hi\""}, "\"x,y\",\"say \"\"hi\"\"\""},
        {{""}, "\"\""},
        {{"a", "", "b"}, "a,,b"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TStringList l;
        for (const auto& s : c.items) l.Add(s);
        EXPECT_EQ(l.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        if (c.items == V{""})
            EXPECT_EQ(Items(back), V{""});
        else
            EXPECT_EQ(Items(back), c.items) << c.text;
    }
    TStringList l;
    l.SetCommaText(" a b ,c,");
    EXPECT_EQ(Items(l), (V{"a", "b", "c", ""}));  // blanks also separate unquoted items
    l.SetDelimitedText("1;'2;3';4", ';', '\'');
    EXPECT_EQ(Items(l), (V{"1", "2;3", "4"}));
    EXPECT_EQ(l.DelimitedText(';', '\''), "1;'2;3';4");
}

TEST(TStringList, NamesAndValues) {
    TStringList l;
    l.SetText("Width=3\nname=Boat\nnovalue\n");
    EXPECT_EQ(l.Names(0), "Width");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.Value("NAME"), "Boat");
    EXPECT_EQ(l.Value("missing"), "");
    EXPECT_EQ(l.IndexOfName("width"), 0);
    l.SetValue("width", "4");
    EXPECT_EQ(l[0], "width=4");
    l.SetValue("Depth", "1");
    EXPECT_EQ(l[3], "Depth=1");
    l.SetValue("name", "");
    EXPECT_EQ(Items(l), (V{"width=4", "novalue", "Depth=1"}));
}

TEST(TStringList, MoveExchangeAssign) {
    TStringList l;
    int o = 0;
    l.SetCommaText("a,b,c,d");
    l.PutObject(0, &o);
    l.Move(0, 2);
    EXPECT_EQ(Items(l), (V{"b", "c", "a", "d"}));
    EXPECT_EQ(l.GetObject(2), &o);
    EXPECT_THROW(l.Move(1, 4), EStringListError);  // refused before anything is removed
    EXPECT_EQ(Items(l), (V{"b", "c", "a", "d"}));
    l.Exchange(0, 3);
    EXPECT_EQ(Items(l), (V{"d", "c", "a", "b"}));
    EXPECT_THROW(l.Exchange(0, 4), EStringListError);
    TStringList m;
    m.Add("old");
    m.Assign(l);
    EXPECT_EQ(Items(m), Items(l));
    EXPECT_EQ(m.GetObject(2), &o);
    m.AddStrings(l);
    EXPECT_EQ(m.Count(), 8);
}

TEST(TStringList, ChangeEventsBatched) {
    TStringList l;
    int changing = 0, changed = 0;
    l.OnChanging = [&](TStringList&) { ++changing; };
    l.OnChange = [&](TStringList&) { ++changed; };
    l.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add("b");
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(changed, 1);
    l.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    l.SetText("x\ny\nz");  // one batch
    EXPECT_EQ(changed, 3);
    l.Clear();
    l.Clear();  // nothing to clear: no event
    EXPECT_EQ(changed, 4);
    EXPECT_EQ(l.UpdateCount(), 0);
}

TEST(TStringList, FileRoundTrip) {
    testsupport::TempDir scratch("korvelo-sl");
    const std::string dir = scratch.str();
    const std::string f = dir + "/list.txt";
    TStringList l;
    l.SetCommaText("a,b,c");
    l.SaveToFile(f);
    std::string raw;
    ASSERT_TRUE(ReadFile(f, raw));
    EXPECT_EQ(raw, "a\r\nb\r\nc\r\n");
    TStringList back;
    EXPECT_TRUE(back.LoadFromFile(f));
    EXPECT_EQ(Items(back), (V{"a", "b", "c"}));
    EXPECT_THROW(back.LoadFromFile(dir + "/none.txt"), EInOutError);
    EXPECT_EQ(back.Count(), 3);
    EXPECT_THROW(l.SaveToFile(dir + "/no/such/folder.txt"), EInOutError);
}

TEST(TList, Basics) {
    int a = 1, b = 2, c = 3;
    TList l;
    EXPECT_EQ(l.Add(&a), 0);
    l.Add(nullptr);
    l.Add(&b);
    l.Insert(0, &c);
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.First(), &c);
    EXPECT_EQ(l.Last(), &b);
    EXPECT_EQ(l.IndexOf(&b), 3);
    l.Pack();
    EXPECT_EQ(l.Count(), 3);
    l.Exchange(0, 2);
    EXPECT_EQ(l[0], &b);
    l.Move(0, 2);
    EXPECT_EQ(l[2], &b);
    EXPECT_EQ(l.Remove(&a), 0);
    EXPECT_EQ(l.Remove(&a), -1);
    l.Add(&a);
    l.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
    EXPECT_EQ(*static_cast<int*>(l[0]), 1);
    EXPECT_EQ(*static_cast<int*>(l[2]), 3);
    l.Put(0, &c);
    EXPECT_EQ(l[0], &c);
}

TEST(TList, IndexErrors) {
    TList l;
    try {
        l.Get(0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (0)");
    }
    EXPECT_THROW(l.First(), EListError);
    EXPECT_THROW(l.Last(), EListError);
    EXPECT_THROW(l.Delete(0), EListError);
    EXPECT_THROW(l.Insert(1, nullptr), EListError);
    EXPECT_THROW(l.Put(-1, nullptr), EListError);
    l.Add(nullptr);
    EXPECT_THROW(l.Move(0, 1), EListError);
    EXPECT_THROW(l.Exchange(0, 1), EListError);
}
