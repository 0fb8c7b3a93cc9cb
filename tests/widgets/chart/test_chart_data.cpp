// Series data streams, sample values, ordering, groups and calculated series.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TestChart.h"
#include "base/StringList.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFunctions.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartSeriesGroups.h"
#include "widgets/chart/ChartSeriesStream.h"

using namespace chart;
using namespace platform;
using charttest::TestChart;
using Bytes = std::vector<unsigned char>;

namespace {

Bytes Write(TChartSeries& s)
{
    Bytes b;
    s.WriteData(b);
    return b;
}

void AppendDouble(Bytes& b, double d)
{
    unsigned char raw[8];
    std::memcpy(raw, &d, 8);
    b.insert(b.end(), raw, raw + 8);
}

// Points, colours and labels of a series, for comparing.
struct Snapshot {
    std::vector<double> x, y;
    std::vector<TColor> c;
    std::vector<std::string> l;
    explicit Snapshot(TChartSeries& s)
    {
        for (int i = 0; i < s.Count(); ++i) {
            x.push_back(s.XValues()[i]);
            y.push_back(s.YValues()[i]);
            c.push_back(s.InternalColor(i));
            l.push_back(s.GetXLabel(i));
        }
    }
    bool operator==(const Snapshot&) const = default;
};

}  // namespace

TEST(ChartSeriesData, PayloadLayout)
{
    TLineSeries s;
    s.AddXY(0, 5);
    s.AddXY(1, 7);
    s.AddXY(2, 9);
    Bytes b = Write(s);
    ASSERT_EQ(b.size(), 1u + 4 + 24);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(b[1], 3);
    s.SetXValue(2, 3);
    b = Write(s);
    ASSERT_EQ(b.size(), 1u + 4 + 48);
    EXPECT_EQ(b[0], dcNotMandatory);
    double x2;
    std::memcpy(&x2, b.data() + 5 + 32, 8);
    EXPECT_EQ(x2, 3);
    s.Clear();
    s.AddXY(0, 1, "abc");
    b = Write(s);
    ASSERT_EQ(b.size(), 1u + 4 + 8 + 4);
    EXPECT_EQ(b[0], dcLabels);
    EXPECT_EQ(b[13], 3);
    EXPECT_EQ(std::string(b.begin() + 14, b.end()), "abc");
}

TEST(ChartSeriesData, RoundTripKeepsPointsColoursLabelsAndMarkPositions)
{
    TLineSeries a, b;
    a.SetSeriesColor(clBlue);
    for (int i = 0; i < 20000; ++i) a.AddXY(i, i * 0.5);
    // Only past the first 10,001 points and 101 labels: still stored.
    a.SetXValue(19999, 30000);
    a.SetValueColor(15000, clRed);
    a.SetXLabel(150, "late label");
    TSeriesMarkPosition p;
    p.IsCustom = true;
    p.BoxTopLeft = {7, 9};
    p.BoxWidth = 11;
    a.Marks().Positions.Put(3, p);
    const Bytes data = Write(a);
    EXPECT_EQ(data[0], dcNotMandatory | dcColors | dcLabels | dcMarkPositions);
    b.ReadData(data);
    EXPECT_TRUE(Snapshot(a) == Snapshot(b));
    ASSERT_NE(b.Marks().Positions.Get(3), nullptr);
    EXPECT_EQ(b.Marks().Positions.Get(3)->BoxWidth, 11);
    EXPECT_TRUE(b.OwnData);
}

TEST(ChartSeriesData, HorizontalSeriesTakesTheStoredValueAsX)
{
    THorizLineSeries s;
    Bytes b{0, 2, 0, 0, 0};
    AppendDouble(b, 4);
    AppendDouble(b, 6);
    s.ReadData(b);
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.XValues()[1], 6);
    EXPECT_EQ(s.YValues()[1], 1);
}

TEST(ChartSeriesData, LabelTooLongIsRefusedOnWriting)
{
    TLineSeries s;
    s.AddXY(0, 1, std::string(256, 'x'));
    Bytes out{42};
    EXPECT_THROW(s.WriteData(out), ChartException);
    EXPECT_EQ(out, Bytes{42});
}

TEST(ChartSeriesData, BadStreamsAreRefusedAndChangeNothing)
{
    TLineSeries good;
    good.AddXY(0, 1, "a", clRed);
    good.AddXY(2, 3, "bc");
    const Bytes ok = Write(good);
    struct Case {
        const char* what;
        Bytes data;
    };
    Bytes trailing = ok;
    trailing.push_back(0);
    Bytes bigCount = ok;
    bigCount[1] = 0xFF;
    bigCount[4] = 0x7F;
    Bytes longLabel = ok;
    longLabel[5 + 16 + 4] = 200;  // the first label claims 200 bytes
    Bytes negative = ok;
    negative[4] = 0x80;
    Bytes nan{0, 1, 0, 0, 0};
    AppendDouble(nan, std::nan(""));
    Bytes badBool{8, 1, 0, 0, 0};
    AppendDouble(badBool, 1);
    badBool.resize(badBool.size() + 34, 0);
    badBool[5 + 8 + 8] = 2;  // ArrowStartFixed must be 0 or 1
    const Case cases[] = {
        {"empty", {}},
        {"truncated header", Bytes(ok.begin(), ok.begin() + 3)},
        {"truncated point", Bytes(ok.begin(), ok.end() - 1)},
        {"trailing bytes", trailing},
        {"count beyond the payload", bigCount},
        {"oversized label", longLabel},
        {"negative count", negative},
        {"unknown flag", Bytes{16, 0, 0, 0, 0}},
        {"flag 8 without records", Bytes{8, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"not a number", nan},
        {"bad flag byte in a position", badBool},
    };
    for (const Case& c : cases) {
        TLineSeries s;
        s.AddXY(5, 5, "keep");
        const Snapshot before(s);
        EXPECT_THROW(s.ReadData(c.data), ChartException) << c.what;
        EXPECT_TRUE(Snapshot(s) == before) << c.what;
    }
}

TEST(ChartSeriesData, FuzzedStreamsNeverCrash)
{
    TLineSeries src;
    for (int i = 0; i < 30; ++i) src.AddXY(i * 1.5, i, i % 3 ? "" : "lbl" + std::to_string(i), i % 4 ? clUseSeriesColor : clRed);
    const Bytes ok = Write(src);
    std::mt19937 g(12345);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes b = ok;
        const int edits = 1 + int(g() % 4);
        for (int e = 0; e < edits; ++e) {
            switch (g() % 3) {
            case 0: b[g() % b.size()] = static_cast<unsigned char>(g()); break;
            case 1: b.resize(g() % (b.size() + 1)); break;
            default: b.insert(b.begin() + long(g() % (b.size() + 1)), static_cast<unsigned char>(g())); break;
            }
            if (b.empty()) break;
        }
        TLineSeries s;
        try {
            s.ReadData(b);
            ++accepted;
            EXPECT_LE(s.Count(), 1000);
        } catch (const ChartException&) {
            EXPECT_EQ(s.Count(), 0);
        }
    }
    EXPECT_GT(accepted, 0);
}

TEST(ChartSeriesData, SampleValuesSortingAndNames)
{
    TestChart chart;
    auto* s = new TLineSeries();
    chart.AddSeries(s);
    s->AddXY(0, 1);
    EXPECT_THROW(s->FillSampleValues(-1), ChartException);
    EXPECT_EQ(s->Count(), 1);
    s->FillSampleValues(0);
    EXPECT_EQ(s->Count(), 25);
    for (int i = 0; i < 25; ++i) EXPECT_GE(s->YValues()[i], 0);
    EXPECT_FALSE(s->OwnData);

    s->Clear();
    s->AddXY(0, 1, "b");
    s->AddXY(1, 2, "a");
    s->AddXY(2, 3, "D");
    s->SortByLabels(loAscending);
    EXPECT_EQ(s->GetXLabel(0), "D");
    EXPECT_EQ(s->GetXLabel(1), "a");
    EXPECT_EQ(s->GetXLabel(2), "b");
    EXPECT_EQ(s->YValues()[0], 3);
    EXPECT_EQ(s->XValues()[2], 2);

    chart.AddSeries(new TLineSeries());
    auto* third = chart.AddSeries(new TLineSeries());
    EXPECT_EQ(SeriesTitleOrName(*third), "Series3");
}

TEST(ChartSeriesData, GroupsReportAndSwitchTheirSeries)
{
    TestChart chart;
    auto* a = chart.AddSeries(new TLineSeries());
    auto* b = chart.AddSeries(new TLineSeries());
    TChartSeriesList list(&chart);
    EXPECT_TRUE(list.AllActive());
    TSeriesGroup& g = list.AddGroup("hull");
    EXPECT_EQ(g.GetActive(), gaYes);
    g.Add(a);
    g.Add(b);
    b->SetActive(false);
    EXPECT_EQ(g.GetActive(), gaSome);
    g.SetActive(gaSome);
    EXPECT_TRUE(a->Active());
    g.Hide();
    EXPECT_EQ(g.GetActive(), gaNo);
    g.Show();
    EXPECT_TRUE(a->Active() && b->Active());
    EXPECT_EQ(list.Groups().Contains(b), 0);
    EXPECT_EQ(list.Groups().Contains(nullptr), -1);
}

// ---------------------------------------------------------------- calculated series

namespace {

// The values first..last (all for -1), and how many they are.
double Sum(TChartValueList& l, int first, int last, int& n)
{
    if (first < 0) first = 0, last = l.Count() - 1;
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += l[i];
    n = last - first + 1;
    return sum;
}

class TAverageFunction : public TChartMovingFunction {
public:
    using TChartMovingFunction::TChartMovingFunction;
    double Calculate(TChartSeries& s, int first, int last) override
    {
        int n = 0;
        const double sum = Sum(ValueList(s), first, last, n);
        return sum / n;
    }
    // Plain (non-moving) use: one value per period.
    bool moving = false;
    void DoCalculation(TChartSeries& source, TChartValueList& list) override
    {
        if (moving) TChartMovingFunction::DoCalculation(source, list);
        else TChartFunction::DoCalculation(source, list);
    }
};

class TSumFunction : public TChartFunction {
public:
    using TChartFunction::TChartFunction;
    double Calculate(TChartSeries& s, int first, int last) override
    {
        int n = 0;
        return Sum(ValueList(s), first, last, n);
    }
    double CalculateMany(const std::vector<platform::TComponent*>& sources, int index) override
    {
        double sum = 0;
        for (auto* c : sources)
            if (auto* s = dynamic_cast<TChartSeries*>(c); s && index < s->Count()) sum += s->YValues()[index];
        return sum;
    }
};

std::vector<std::pair<double, double>> Points(TChartSeries& s)
{
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < s.Count(); ++i) p.emplace_back(s.XValues()[i], s.YValues()[i]);
    return p;
}

}  // namespace

TEST(ChartCalculatedSeries, TableOfCases)
{
    using P = std::vector<std::pair<double, double>>;
    struct Case {
        const char* what;
        bool sum, moving, resultAsPoint;
        double period;
        TFunctionPeriodStyle style;
        TFunctionPeriodAlign align;
        std::vector<double> xs;
        P expected;
    };
    const std::vector<double> ten = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::vector<double> days = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 21, 22};
    const Case cases[] = {
        {"average of all points", false, false, true, 0, psNumPoints, paCenter, ten, {{4.5, 4.5}}},
        {"sum of all points", true, false, true, 0, psNumPoints, paCenter, ten, {{4.5, 45}}},
        {"level line", false, false, false, 0, psNumPoints, paCenter, ten, {{0, 4.5}, {9, 4.5}}},
        {"sum per 3 points, last point dropped", true, false, true, 3, psNumPoints, paCenter, ten,
         {{1, 3}, {4, 12}, {7, 21}}},
        {"average per 3, first", false, false, true, 3, psNumPoints, paFirst, ten, {{0, 1}, {3, 4}, {6, 7}}},
        {"average per 3, last", false, false, true, 3, psNumPoints, paLast, ten, {{2, 1}, {5, 4}, {8, 7}}},
        {"period 2.5 rounds to 2", true, false, true, 2.5, psNumPoints, paFirst, {0, 1, 2, 3}, {{0, 1}, {2, 5}}},
        {"moving average of 3", false, true, true, 3, psNumPoints, paCenter, {0, 1, 2, 3, 4},
         {{2, 1}, {3, 2}, {4, 3}}},
        {"sum per 7-unit range, empty range gives 0", true, false, true, 7, psRange, paFirst, days,
         {{0, 21}, {7, 70}, {14, 0}, {21, 43}}},
    };
    for (const Case& c : cases) {
        TestChart chart;
        auto* src = chart.AddSeries(new TLineSeries());
        for (double x : c.xs) src->AddXY(x, x);
        auto* out = chart.AddSeries(new TLineSeries());
        out->FunctionResultAsPoint = c.resultAsPoint;
        TChartFunction* f;
        if (c.sum) f = new TSumFunction();
        else {
            auto* a = new TAverageFunction();
            a->moving = c.moving;
            f = a;
        }
        f->BeginUpdate();
        f->SetPeriodStyle(c.style);
        f->SetPeriodAlign(c.align);
        f->SetPeriod(c.period);
        f->SetParentSeries(out);
        f->EndUpdate();
        out->SetDataSource(src);
        EXPECT_EQ(Points(*out), c.expected) << c.what;
    }
}

TEST(ChartCalculatedSeries, PeriodsThatGiveNoPointsAreRefused)
{
    TestChart chart;
    auto* src = chart.AddSeries(new TLineSeries());
    for (int i = 0; i < 5; ++i) src->AddXY(i, i);
    auto* out = chart.AddSeries(new TLineSeries());
    auto* f = new TSumFunction();
    f->SetParentSeries(out);
    out->SetDataSource(src);
    EXPECT_THROW(f->SetPeriod(-1), ChartException);
    EXPECT_THROW(f->SetPeriod(0.4), ChartException);
    EXPECT_EQ(f->Period(), 0);
    f->SetPeriodStyle(psRange);
    f->SetPeriod(0.4);  // a range of 0.4 units is fine
    EXPECT_THROW(f->SetPeriodStyle(psNumPoints), ChartException);
    EXPECT_EQ(f->PeriodStyle(), psRange);
    EXPECT_EQ(out->Count(), 11);  // ranges from 0 to 4.4
    f->SetPeriod(1e-300);  // millions of empty ranges: nothing instead of running out of memory
    EXPECT_EQ(out->Count(), 0);
}

TEST(ChartCalculatedSeries, SourcesAreValidatedAndLinksFollowChanges)
{
    TestChart chart;
    auto* s1 = chart.AddSeries(new TLineSeries());
    auto* s2 = chart.AddSeries(new TLineSeries());
    auto* s3 = chart.AddSeries(new TLineSeries());
    s1->SetName("S1");
    TLineSeries lonely;
    EXPECT_THROW(lonely.SetDataSource(s1), ChartException);
    try {
        s1->SetDataSource(s1);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(std::string(e.what()), "No valid DataSource: S1");
    }
    s2->SetDataSource(s1);
    EXPECT_EQ(s2->AddDataSource(s1), -1);
    EXPECT_EQ(s2->DataSources().size(), 1u);
    s3->SetDataSource(s2);
    EXPECT_THROW(s1->AddDataSource(s3), ChartException);
    // Copies follow the source.
    s1->AddXY(1, 10);
    s1->AddXY(2, 20);
    EXPECT_EQ(s3->Count(), 2);
    s1->Delete(0);
    EXPECT_EQ(s3->Count(), 1);
    s3->SetDataSource(nullptr);
    EXPECT_EQ(s3->Count(), 0);
    // Two sources summed per index.
    auto* sum = chart.AddSeries(new TLineSeries());
    auto* f = new TSumFunction();
    f->SetParentSeries(sum);
    sum->SetDataSource(s1);
    sum->AddDataSource(s2);
    EXPECT_EQ(Points(*sum), (std::vector<std::pair<double, double>>{{2, 40}}));
    delete s1;
    EXPECT_TRUE(s2->DataSources().empty());
}

TEST(ChartSeriesData, AStreamThatFeedsASeriesItselfIsRefused)
{
    platform::TComponent owner;
    TestChart chart;
    auto* a = new TLineSeries(&owner);
    auto* b = new TLineSeries(&owner);
    auto* c = new TLineSeries(&owner);
    a->SetName("A");
    b->SetName("B");
    c->SetName("C");
    for (TLineSeries* s : {a, b, c}) chart.AddSeries(s);
    c->AddXY(0, 1);
    b->SetDataSource(a);  // a feeds b
    struct Case {
        const char* what;
        TLineSeries* series;
        std::vector<std::string> names;
    } cases[] = {
        {"the series itself", a, {"C", "A"}},
        {"a series it feeds", a, {"C", "B"}},
    };
    for (const Case& k : cases) {
        TSeriesStreamProperties p;
        p.DataSources = k.names;
        ReadSeriesProperties(*k.series, p);
        EXPECT_THROW(k.series->Loaded(), ChartException) << k.what;
        EXPECT_TRUE(k.series->DataSources().empty()) << k.what;
        EXPECT_FALSE(k.series->PendingSourceNames) << k.what;
    }
    // A chain that only looks back is taken.
    TSeriesStreamProperties ok;
    ok.DataSources = std::vector<std::string>{"C", "A"};
    ReadSeriesProperties(*b, ok);
    b->Loaded();
    EXPECT_EQ(b->DataSources(), (std::vector<platform::TComponent*>{c, a}));
}

TEST(ChartSeriesData, StreamPropertiesGoOutAndComeBack)
{
    platform::TComponent owner;
    TestChart chart;
    auto* a = new TLineSeries(&owner);
    auto* b = new TLineSeries(&owner);
    a->SetName("A");
    b->SetName("B");
    chart.AddSeries(a);
    chart.AddSeries(b);
    chart.CustomAxes().Add();
    TChartAxis* custom = chart.CustomAxes().Add();
    auto* s = new TLineSeries(&owner);
    s->SetName("Sum");
    chart.AddSeries(s);
    s->Identifier = "id7";
    s->Style = tssDenyDelete | tssIsPersistent | 256;
    s->SetDataSource(a);
    s->AddDataSource(b);
    s->SetCustomVertAxis(custom);
    TSeriesStreamProperties p = WriteSeriesProperties(*s);
    EXPECT_EQ(*p.Style, 20);
    EXPECT_EQ(*p.DataSources, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(*p.CustomVertAxis, 1);
    EXPECT_FALSE(p.CustomHorizAxis);
    EXPECT_FALSE(p.Data);  // the points come from the sources
    auto* t = new TLineSeries(&owner);
    chart.AddSeries(t);
    p.DataSources->push_back("Nobody");  // names that find nothing are skipped
    ReadSeriesProperties(*t, p);
    t->Loaded();
    EXPECT_EQ(t->Identifier, "id7");
    EXPECT_EQ(t->Style, 20u);
    EXPECT_EQ(t->DataSources(), (std::vector<platform::TComponent*>{a, b}));
    EXPECT_EQ(t->CustomVertAxis(), custom);
    EXPECT_FALSE(t->PendingSourceNames);
    // Own points travel as "Data"; a damaged payload leaves the series as it was.
    auto* own = new TLineSeries(&owner);
    chart.AddSeries(own);
    own->AddXY(1, 2, "x");
    own->OwnData = true;
    p = WriteSeriesProperties(*own);
    ASSERT_TRUE(p.Data);
    p.Data->pop_back();
    p.Identifier = "changed";
    EXPECT_THROW(ReadSeriesProperties(*t, p), ChartException);
    EXPECT_EQ(t->Identifier, "id7");
    base::TStringList items;
    a->SetTitle("first");
    b->EditorHidden = true;
    FillSeriesItems(items, chart.SeriesList());
    EXPECT_EQ(items.Count(), 4);
    EXPECT_EQ(items[0], "first");
    EXPECT_EQ(items[1], "Sum");
}

namespace {
// Records the sources the chart hears leaving a series.
class TNoticeChart : public TestChart {
public:
    void RemovedDataSource(TChartSeries* series, platform::TComponent* c) override
    {
        removed.push_back(c);
        TestChart::RemovedDataSource(series, c);
    }
    std::vector<platform::TComponent*> removed;
};
class TOnDemandSource : public TChartSeriesSource {
public:
    using TChartSeriesSource::TChartSeriesSource;
};
}  // namespace

TEST(ChartCalculatedSeries, TheSourceListReportsEveryEntryThatLeaves)
{
    TNoticeChart chart;
    auto* a = chart.AddSeries(new TLineSeries());
    auto* b = chart.AddSeries(new TLineSeries());
    auto* c = chart.AddSeries(new TLineSeries());
    auto* t = chart.AddSeries(new TLineSeries());
    a->AddXY(0, 1);
    TDataSourcesList& l = t->DataSources();
    EXPECT_EQ(l.Series(), t);
    EXPECT_EQ(l.Add(a), 0);
    EXPECT_EQ(l.Add(a), -1);  // validated through the series
    EXPECT_EQ(l.Add(b), 1);
    EXPECT_EQ(l.Add(c), 2);
    EXPECT_EQ(t->GetDataSource(), a);
    EXPECT_THROW(l.Add(t), ChartException);
    EXPECT_EQ(b->LinkedSeries, std::vector<TChartSeries*>{t});

    l.Remove(b);
    EXPECT_EQ(chart.removed, std::vector<platform::TComponent*>{b});
    EXPECT_TRUE(b->LinkedSeries.empty());
    EXPECT_EQ(l, (std::vector<platform::TComponent*>{a, c}));
    // Losing the first source drops the others, last first, and the copied points.
    chart.removed.clear();
    l.Delete(0);
    EXPECT_EQ(chart.removed, (std::vector<platform::TComponent*>{c, a}));
    EXPECT_TRUE(l.empty());
    EXPECT_TRUE(a->LinkedSeries.empty());
    EXPECT_TRUE(c->LinkedSeries.empty());
    EXPECT_EQ(t->Count(), 0);

    // The plain operations neither check nor report.
    chart.removed.clear();
    EXPECT_EQ(l.InheritedAdd(t), 0);
    l.InheritedClear();
    EXPECT_TRUE(chart.removed.empty());

    // Sources forget a dependant that lets go of all of them.
    t->SetDataSource(a);
    t->AddDataSource(b);
    t->RemoveAllLinkedSeries();
    EXPECT_TRUE(a->LinkedSeries.empty());
    EXPECT_TRUE(b->LinkedSeries.empty());
    l.InheritedClear();  // the series lets go of them too, as when it is destroyed
}

TEST(ChartCalculatedSeries, TheChartJudgesSourcesAndLoops)
{
    TestChart chart;
    auto* s1 = chart.AddSeries(new TLineSeries());
    auto* s2 = chart.AddSeries(new TLineSeries());
    auto* s3 = chart.AddSeries(new TLineSeries());
    TOnDemandSource src;
    platform::TComponent other;
    EXPECT_TRUE(chart.IsValidDataSource(s1, s2));
    EXPECT_FALSE(chart.IsValidDataSource(s1, s1));
    EXPECT_TRUE(chart.IsValidDataSource(s1, &src));
    EXPECT_FALSE(chart.IsValidDataSource(s1, &other));
    EXPECT_FALSE(chart.IsValidDataSource(s1, nullptr));
    s2->SetDataSource(s1);
    s3->SetDataSource(s2);
    EXPECT_NO_THROW(chart.CheckOtherSeries(s3, nullptr));
    EXPECT_NO_THROW(chart.CheckOtherSeries(s3, s1));
    try {
        chart.CheckOtherSeries(s1, s3);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(std::string(e.what()), "Circular Series dependences are not allowed");
    }
    // A loading source taken off its series lets go of it.
    auto* fed = chart.AddSeries(new TLineSeries());
    fed->SetDataSource(&src);
    EXPECT_EQ(src.Series(), fed);
    fed->RemoveDataSource(&src);
    EXPECT_EQ(src.Series(), nullptr);
    EXPECT_EQ(fed->GetDataSource(), nullptr);
}
