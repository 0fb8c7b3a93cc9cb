#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "widgets/plot/PlotData.h"

using namespace plot;

namespace {

std::vector<std::pair<double, double>> PointsOf(const TPoints& p) {
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < p.Count(); ++i) {
        const TPoint2D pt = p.GetPoints(i);
        out.emplace_back(static_cast<double>(pt.x), static_cast<double>(pt.y));
    }
    return out;
}

std::string ThrownMessage(const std::function<void()>& f) {
    try {
        f();
    } catch (const base::Exception& e) {
        return "raised:" + e.Message();
    }
    return "none";
}

}  // namespace

TEST(PlotExtended, IsX87ExtendedOnThisTarget) {
    // World values are x87 80-bit numbers: 64-bit mantissa, 15-bit exponent.
    EXPECT_EQ(LDBL_MANT_DIG, 64);
    EXPECT_EQ(LDBL_MAX_EXP, 16384);
    EXPECT_GT(sizeof(Extended), sizeof(double));
    // 1 + 2^-63 is representable, which a double cannot hold.
    const Extended tiny = 1.0L / 9223372036854775808.0L;
    EXPECT_NE(1.0L + tiny, 1.0L);
    // The unbounded-domain marker lies inside the extended range, beyond double.
    EXPECT_LT(UnboundedDomain, LDBL_MAX);
    EXPECT_GT(UnboundedDomain, static_cast<Extended>(DBL_MAX));
}

TEST(PlotData, Rect2DStoresValuesAsGiven) {
    const TRect2D r = Rect2D(5, 6, -1, -2);
    EXPECT_EQ(r.x1, 5);
    EXPECT_EQ(r.y1, 6);
    EXPECT_EQ(r.x2, -1);
    EXPECT_EQ(r.y2, -2);
}

TEST(PlotData, NewPointsHaveInitialValues) {
    TPoints p;
    EXPECT_EQ(p.AllocBy(), 100);
    EXPECT_EQ(p.Count(), 0);
    EXPECT_EQ(p.Capacity(), 0);
    EXPECT_EQ(p.Points(), nullptr);
    EXPECT_EQ(p.Color(), 0x000000FFu);
    EXPECT_EQ(p.FuncDomX1(), -1.1e4932L);
    EXPECT_EQ(p.FuncDomX2(), 1.1e4932L);
    EXPECT_EQ(p.PointSymbol(), '\0');
    EXPECT_EQ(p.DrawStyle(), dsLines);
    EXPECT_TRUE(p.Visible());
    EXPECT_EQ(p.Func(), "");
    EXPECT_EQ(p.FilteredFunc(), "");
    EXPECT_EQ(p.Caption(), "");
}

struct AddCase {
    const char* name;
    std::vector<std::pair<double, double>> adds;
    bool simple;
    std::vector<std::pair<double, double>> expected;
};

TEST(PlotData, AddKeepsAscendingXAndAddSimpleKeepsOrder) {
    const std::vector<AddCase> cases = {
        {"replace same x", {{2, 5}, {1, 7}, {2, 9}}, false, {{1, 7}, {2, 9}}},
        {"replace last x", {{1, 1}, {3, 3}, {3, 4}}, false, {{1, 1}, {3, 4}}},
        {"insert front", {{3, 0}, {2, 0}, {1, 0}}, false, {{1, 0}, {2, 0}, {3, 0}}},
        {"insert middle", {{1, 0}, {5, 0}, {3, 1}, {4, 2}, {2, 3}}, false,
         {{1, 0}, {2, 3}, {3, 1}, {4, 2}, {5, 0}}},
        {"negative and zero", {{0, 1}, {-1, 2}, {-0.5, 3}}, false, {{-1, 2}, {-0.5, 3}, {0, 1}}},
        {"simple keeps order", {{5, 0}, {3, 0}}, true, {{5, 0}, {3, 0}}},
        {"simple keeps duplicates", {{1, 1}, {1, 2}}, true, {{1, 1}, {1, 2}}},
    };
    for (const auto& c : cases) {
        TPoints p;
        int notices = 0;
        p.OnChange = [&](TPoints& sender) {
            EXPECT_EQ(&sender, &p);
            ++notices;
        };
        for (auto [x, y] : c.adds) c.simple ? p.AddSimple(x, y) : p.Add(x, y);
        EXPECT_EQ(PointsOf(p), c.expected) << c.name;
        EXPECT_EQ(notices, static_cast<int>(c.adds.size())) << c.name;
    }
}

TEST(PlotData, CapacityGrowsAndShrinksByAllocBy) {
    TPoints p;
    for (int i = 0; i < 250; ++i) p.Add(i, i);
    EXPECT_EQ(p.Count(), 250);
    EXPECT_EQ(p.Capacity(), 300);
    // Delete from the front: the points move down and keep their order.
    while (p.Count() > 100) p.Delete(0);
    EXPECT_EQ(p.Capacity(), 300);
    p.Delete(0);
    EXPECT_EQ(p.Count(), 99);
    EXPECT_EQ(p.Capacity(), 200);
    EXPECT_EQ(p.GetPoints(0).x, 151);
    EXPECT_EQ(p.GetPoints(98).x, 249);
    while (p.Count() > 0) p.Delete(p.Count() - 1);
    EXPECT_EQ(p.Capacity(), 200);
    EXPECT_NE(p.Points(), nullptr);
    p.Clear();
    EXPECT_EQ(p.Capacity(), 0);
    EXPECT_EQ(p.Points(), nullptr);
}

// A step too large for the capacity's range neither wraps nor loses the points.
TEST(PlotData, HugeAllocByKeepsThePoints) {
    TPoints p;
    for (int i = 0; i < 100; ++i) p.AddSimple(i, -i);
    ASSERT_EQ(p.Capacity(), 100);
    p.SetAllocBy(INT_MAX - 10);
    EXPECT_THROW(p.AddSimple(100, 0), base::EOutOfMemory);
    EXPECT_THROW(p.Add(-1, 0), base::EOutOfMemory);
    EXPECT_EQ(p.Count(), 100);
    EXPECT_EQ(p.Capacity(), 100);
    p.Delete(0);  // no shrink: the capacity is far below twice the step
    EXPECT_EQ(p.Count(), 99);
    EXPECT_EQ(p.Capacity(), 100);
    EXPECT_EQ(p.GetPoints(98).x, 99);
    EXPECT_EQ(p.GetPoints(98).y, -99);
    p.SetAllocBy(100);
    p.AddSimple(100, 0);
    EXPECT_EQ(p.Count(), 100);
    EXPECT_EQ(p.GetPoints(99).x, 100);
}

TEST(PlotData, AllocByTakesOnlyPositiveValues) {
    TPoints p;
    int notices = 0;
    p.OnChange = [&](TPoints&) { ++notices; };
    const std::vector<std::pair<int, int>> table = {{0, 100}, {-5, 100}, {7, 7}, {1, 1}};
    for (auto [value, expected] : table) {
        p.SetAllocBy(value);
        EXPECT_EQ(p.AllocBy(), expected) << value;
    }
    EXPECT_EQ(notices, 0);
    p.AddSimple(0, 0);
    EXPECT_EQ(p.Capacity(), 1);
    p.AddSimple(1, 0);
    EXPECT_EQ(p.Capacity(), 2);
}

TEST(PlotData, IndexErrors) {
    TPoints p;
    p.Add(1, 1);
    p.Add(2, 2);
    struct Case {
        const char* name;
        std::function<void()> call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Delete(-1)", [&] { p.Delete(-1); }, "raised:Index is greater than Count!"},
        {"Delete(Count)", [&] { p.Delete(2); }, "raised:Index is greater than Count!"},
        {"GetPoints(Count)", [&] { p.GetPoints(2); }, "raised:"},
        {"GetPoints(-1)", [&] { p.GetPoints(-1); }, "raised:"},
        {"GetPoints(1)", [&] { p.GetPoints(1); }, "none"},
    };
    for (const auto& c : cases) EXPECT_EQ(ThrownMessage(c.call), c.expected) << c.name;
    EXPECT_EQ(p.Count(), 2);
}

TEST(PlotData, SetterNotices) {
    struct Case {
        const char* name;
        std::function<void(TPoints&)> set;
        int notices;
    };
    const std::vector<Case> cases = {
        {"same colour", [](TPoints& p) { p.SetColor(0xFF); }, 0},
        {"new colour", [](TPoints& p) { p.SetColor(0xFF00); }, 1},
        {"same caption", [](TPoints& p) { p.SetCaption(""); }, 0},
        {"new caption", [](TPoints& p) { p.SetCaption("Frame"); }, 1},
        {"same draw style", [](TPoints& p) { p.SetDrawStyle(dsLines); }, 0},
        {"new draw style", [](TPoints& p) { p.SetDrawStyle(dsNumber); }, 1},
        {"same visible", [](TPoints& p) { p.SetVisible(true); }, 0},
        {"hidden", [](TPoints& p) { p.SetVisible(false); }, 1},
        {"same symbol", [](TPoints& p) { p.SetPointSymbol('\0'); }, 1},
        {"same func", [](TPoints& p) { p.SetFunc(""); }, 1},
        {"same domain x1", [](TPoints& p) { p.SetFuncDomX1(p.FuncDomX1()); }, 1},
        {"same domain x2", [](TPoints& p) { p.SetFuncDomX2(p.FuncDomX2()); }, 1},
        {"clear empty", [](TPoints& p) { p.Clear(); }, 1},
    };
    for (const auto& c : cases) {
        TPoints p;
        int notices = 0;
        p.OnChange = [&](TPoints&) { ++notices; };
        c.set(p);
        EXPECT_EQ(notices, c.notices) << c.name;
    }
}

TEST(PlotData, SetFuncFiltersCharacters) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"sin ( x ) ", "sin(x)"},
        {"x;2", "x2"},
        {"X^2 + 3*x - 1/2", "X^2+3*x-1/2"},
        {"max(1,2.5)", "max(1,2.5)"},
        {"a\tb\nc_d#e$f", "abcdef"},
        {"[x]{y}<z>=!", "xyz"},
        {"\xE4x", "x"},
    };
    for (const auto& [text, filtered] : table) {
        TPoints p;
        p.SetFunc(text);
        EXPECT_EQ(p.Func(), text);
        EXPECT_EQ(p.FilteredFunc(), filtered) << text;
    }
}

namespace {

struct SeriesFixture {
    TSeries s;
    int notices = 0;
    SeriesFixture() {
        s.OnChange = [this](TSeries& sender) {
            EXPECT_EQ(&sender, &s);
            ++notices;
        };
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (int i = 0; i < s.Count(); ++i) out.push_back(s.GetSeries(i).Caption());
        return out;
    }
    void AddNamed(int n) {
        for (int i = 0; i < n; ++i) {
            s.Add();
            s.GetSeries(s.Count() - 1).SetCaption(std::to_string(i));
        }
    }
};

}  // namespace

TEST(PlotSeries, BatchingTable) {
    struct Case {
        const char* name;
        std::function<void(TSeries&)> steps;
        int notices;
    };
    const std::vector<Case> cases = {
        {"add notifies", [](TSeries& s) { s.Add(); }, 1},
        {"series change notifies", [](TSeries& s) { s.Add(); s.GetSeries(0).Add(1, 2); }, 2},
        {"one batch", [](TSeries& s) { s.BeginUpdate(); s.Add(); s.Add(); s.EndUpdate(); }, 1},
        {"empty batch", [](TSeries& s) { s.BeginUpdate(); s.EndUpdate(); }, 0},
        {"point changes batched",
         [](TSeries& s) {
             s.Add();
             s.BeginUpdate();
             for (int i = 0; i < 10; ++i) s.GetSeries(0).AddSimple(i, i);
             s.EndUpdate();
         },
         2},
        // A change made before a nested BeginUpdate is still announced at the end.
        {"nested keeps outer change",
         [](TSeries& s) { s.BeginUpdate(); s.Add(); s.BeginUpdate(); s.EndUpdate(); s.EndUpdate(); }, 1},
        {"nested inner change",
         [](TSeries& s) { s.BeginUpdate(); s.BeginUpdate(); s.Add(); s.EndUpdate(); s.EndUpdate(); }, 1},
        {"inner end does not notify",
         [](TSeries& s) { s.BeginUpdate(); s.BeginUpdate(); s.Add(); s.EndUpdate(); }, 0},
        {"extra EndUpdate ignored", [](TSeries& s) { s.EndUpdate(); s.EndUpdate(); s.Add(); }, 1},
        {"delete and clear", [](TSeries& s) { s.Add(); s.Add(); s.Delete(0); s.Clear(); }, 4},
        {"clear in batch", [](TSeries& s) { s.Add(); s.BeginUpdate(); s.Clear(); s.EndUpdate(); }, 2},
        {"bring to front silent", [](TSeries& s) { s.BeginUpdate(); s.Add(); s.Add(); s.EndUpdate(); s.BringToFront(0); }, 1},
        {"two batches", [](TSeries& s) { s.BeginUpdate(); s.Add(); s.EndUpdate(); s.BeginUpdate(); s.Add(); s.EndUpdate(); }, 2},
    };
    for (const auto& c : cases) {
        SeriesFixture f;
        c.steps(f.s);
        EXPECT_EQ(f.notices, c.notices) << c.name;
    }
}

TEST(PlotSeries, OrderingTable) {
    struct Case {
        const char* name;
        int count;
        std::function<void(TSeries&)> steps;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"bring 0 to front", 3, [](TSeries& s) { s.BringToFront(0); }, {"1", "2", "0"}},
        {"bring last to front", 3, [](TSeries& s) { s.BringToFront(2); }, {"0", "1", "2"}},
        {"bring middle to front", 4, [](TSeries& s) { s.BringToFront(1); }, {"0", "2", "3", "1"}},
        {"delete first", 3, [](TSeries& s) { s.Delete(0); }, {"1", "2"}},
        {"delete middle", 3, [](TSeries& s) { s.Delete(1); }, {"0", "2"}},
        {"delete last", 3, [](TSeries& s) { s.Delete(2); }, {"0", "1"}},
        {"clear", 3, [](TSeries& s) { s.Clear(); }, {}},
        {"add after clear", 2, [](TSeries& s) { s.Clear(); s.Add(); }, {""}},
    };
    for (const auto& c : cases) {
        SeriesFixture f;
        f.AddNamed(c.count);
        c.steps(f.s);
        EXPECT_EQ(f.Captions(), c.expected) << c.name;
    }
}

TEST(PlotSeries, IndexErrorsLeaveListUnchanged) {
    SeriesFixture f;
    f.AddNamed(2);
    const int before = f.notices;
    for (int bad : {-1, 2, 100}) {
        EXPECT_EQ(ThrownMessage([&] { f.s.GetSeries(bad); }), "raised:") << bad;
        EXPECT_EQ(ThrownMessage([&] { f.s.Delete(bad); }), "raised:") << bad;
    }
    EXPECT_EQ(f.Captions(), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(f.notices, before);
}

TEST(PlotSeries, NewSeriesHasInitialValuesAndReportsToList) {
    SeriesFixture f;
    f.s.Add();
    TPoints& p = f.s.GetSeries(0);
    EXPECT_EQ(p.AllocBy(), 100);
    EXPECT_EQ(p.Color(), 0x000000FFu);
    EXPECT_TRUE(static_cast<bool>(p.OnChange));
    p.SetColor(0x00FF00);
    p.SetPointSymbol('C');
    p.Add(1, 1);
    EXPECT_EQ(f.notices, 4);
    // A series removed from the list is freed without a notice of its own.
    f.s.Delete(0);
    EXPECT_EQ(f.notices, 5);
}
