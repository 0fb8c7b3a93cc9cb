// The stream properties of the chart panel and the chart, read and written through the
// platform's component streaming.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ChartOnHost.h"
#include "platform/Streaming.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartBarSeries.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartFunctions.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartTitles.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPalettes.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPieSeries.h"

using namespace chart;
using namespace platform;

namespace {

std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }

const std::string kEnd(1, '\0');

// What a component writes.
std::string Written(TComponent& c)
{
    TMemoryStream m;
    m.WriteComponent(&c);
    return m.DataString();
}

// A form file of a chart holding the given property entries.
TMemoryStream Form(const std::string& props)
{
    return TMemoryStream("TPF0" + Short("TChart") + Short("Chart1") + props + kEnd + kEnd);
}

}  // namespace

TEST(ChartStreaming, OldPropertiesAreReadIntoTheirSettings)
{
    EnsurePlatform();
    TChart chart;
    chart.Border().SetVisible(false);
    TMemoryStream m = Form(Short("BorderStyle") + "\x07" + Short("bsSingle") + Short("AllowZoom") + "\x08" +
                           Short("AnimatedZoom") + "\x09" + Short("AnimatedZoomSteps") + "\x02\x05" +
                           Short("PrintMargins") + "\x01" + "\x02\x0a" + "\x02\x14" + "\x03" +
                           std::string("\x2c\x01", 2) + "\x02\x28" + kEnd + Short("BackColor") + "\x07" +
                           Short("clRed") + Short("ColorPaletteIndex") + "\x02\x09");
    m.ReadComponent(&chart);
    EXPECT_EQ(chart.Name(), "Chart1");
    EXPECT_TRUE(chart.Border().Visible());
    EXPECT_FALSE(chart.Zoom.Allow);
    EXPECT_TRUE(chart.Zoom.Animated);
    EXPECT_EQ(chart.Zoom.AnimatedSteps, 5);
    EXPECT_EQ(chart.PrintMargins[0], 10);
    EXPECT_EQ(chart.PrintMargins[1], 20);
    EXPECT_EQ(chart.PrintMargins[2], 300);
    EXPECT_EQ(chart.PrintMargins[3], 40);
    EXPECT_EQ(chart.BackWall().Color(), clRed);
    EXPECT_EQ(chart.ColorPaletteIndex, 9);
    TChart fresh;
    TColorPalettes::ApplyPalette(fresh, 9);
    EXPECT_EQ(chart.ChartPalette, fresh.ChartPalette);
    EXPECT_FALSE(chart.ComponentState() & TComponent::csLoading);

    // a number for the back colour; any other identifier for the border style hides it
    TMemoryStream n = Form(Short("BackColor") + "\x04" + std::string("\x56\x34\x12\x00", 4) + Short("BorderStyle") +
                           "\x07" + Short("bsNone"));
    n.ReadComponent(&chart);
    EXPECT_EQ(chart.BackWall().Color(), TColor(0x00123456));
    EXPECT_FALSE(chart.Border().Visible());
}

TEST(ChartStreaming, BackColorMakesTheWallSolidOnlyOnAFormAndNotWhileLoading)
{
    EnsurePlatform();
    TForm* form = Construct<TForm>(Application);
    auto* chart = new TChart(form);
    chart->SetParent(form);
    chart->BackWall().Brush().SetStyle(bsClear);
    TMemoryStream m = Form(Short("BackColor") + "\x07" + Short("clBlue"));
    m.ReadComponent(chart);
    EXPECT_EQ(chart->BackWall().Color(), clBlue);
    EXPECT_EQ(chart->BackWall().Brush().Style(), bsClear);
    chart->SetBackColor(clGreen);
    EXPECT_EQ(chart->BackWall().Brush().Style(), bsSolid);
    TChart alone;
    alone.BackWall().Brush().SetStyle(bsClear);
    alone.SetBackColor(clGreen);
    EXPECT_EQ(alone.BackWall().Brush().Style(), bsClear);
    form->Free();
}

TEST(ChartStreaming, OnlyChangedSettingsAreWritten)
{
    EnsurePlatform();
    TChart chart;
    chart.SetName("C");
    TMemoryStream plain;
    plain.WriteComponent(&chart);
    EXPECT_EQ(plain.DataString(), "TPF0" + Short("TChart") + Short("C") + kEnd + kEnd);

    chart.PrintMargins[2] = 200;
    TColorPalettes::ApplyPalette(chart, 3);
    TMemoryStream m;
    m.WriteComponent(&chart);
    EXPECT_EQ(m.DataString(), "TPF0" + Short("TChart") + Short("C") + Short("PrintMargins") + "\x01" + "\x02\x0f" +
                                  "\x02\x0f" + "\x03" + std::string("\xc8\x00", 2) + "\x02\x0f" + kEnd +
                                  Short("ColorPaletteIndex") + "\x02\x03" + kEnd + kEnd);
    m.SetPosition(0);
    TChart back;
    m.ReadComponent(&back);
    EXPECT_EQ(back.PrintMargins[2], 200);
    EXPECT_EQ(back.ColorPaletteIndex, 3);

    // against an ancestor with the same palette the index is left out
    TChart ancestor;
    TColorPalettes::ApplyPalette(ancestor, 3);
    TMemoryStream d;
    TWriter w(d);
    w.Ancestor = &ancestor;
    chart.DefineProperties(&w);
    EXPECT_EQ(d.DataString().find("ColorPaletteIndex"), std::string::npos);
    EXPECT_NE(d.DataString().find("PrintMargins"), std::string::npos);
}

TEST(ChartStreaming, BadValuesAreRefused)
{
    EnsurePlatform();
    struct Case {
        const char* what;
        std::string props;
    };
    const Case cases[] = {
        {"a colour without a name", Short("BackColor") + "\x07" + Short("clNoSuchColour")},
        {"zoom flag as a number", Short("AllowZoom") + "\x02\x01"},
        {"three print margins", Short("PrintMargins") + "\x01" + "\x02\x01\x02\x02\x02\x03" + kEnd},
        {"zoom steps past reason", Short("AnimatedZoomSteps") + "\x04" + std::string("\x00\x00\x00\x40", 4)},
        {"a property the chart does not have", Short("Colour") + "\x02\x01"},
        {"a negative label separation", Short("LeftAxis.LabelsSeparation") + "\x02\xfb"},
        {"a label angle past a turn", Short("LeftAxis.LabelsAngle") + "\x03" + std::string("\x00\x04", 2)},
        {"a label style the axis lacks", Short("LeftAxis.LabelStyle") + "\x07" + Short("talSideways")},
        {"a logarithmic base of one", Short("LeftAxis.LogarithmicBase") + "\x02\x01"},
    };
    for (const Case& c : cases) {
        TChart chart;
        TMemoryStream m = Form(c.props);
        EXPECT_THROW(m.ReadComponent(&chart), EReadError) << c.what;
        EXPECT_EQ(chart.PrintMargins[0], 15) << c.what;
    }
}

TEST(ChartStreaming, MarkItemsTravelAsACountAndLists)
{
    EnsurePlatform();
    TChart chart;
    auto* series = new TLineSeries(&chart);
    chart.AddSeries(series);
    TSeriesMarks& marks = series->Marks();
    marks.Items.Get(0)->SetColor(clRed);
    marks.Items.Get(2)->HasText = true;
    marks.Items.Get(2)->Text = "two\r\nlines";
    marks.Items.Get(2)->SetTransparent(true);

    class THolder : public TComponent {
    public:
        TSeriesMarks* m = nullptr;
        void GetPublished(TPropertyList& L) override { L.Object("Marks", [this] { return m; }); }
    };
    THolder h;
    h.m = &marks;
    TMemoryStream out;
    out.WriteComponent(&h);
    // three items: the one in the middle was made with default settings, so its list is empty
    const std::string payload = std::string("\x03\0\0\0", 4) + "\x01" + Short("Color") + "\x07" + Short("clRed") +
                                kEnd + "\x01" + kEnd + "\x01" + Short("Text.Strings") + "\x01" + "\x06" +
                                Short("two") + "\x06" + Short("lines") + kEnd + Short("Transparent") + "\x09" + kEnd;
    const std::string expected = "TPF0" + Short("THolder") + Short("") + Short("Marks.Items") + "\x0a" +
                                 std::string(1, char(payload.size())) + std::string(3, '\0') + payload + kEnd + kEnd;
    EXPECT_EQ(out.DataString(), expected);

    TChart other;
    auto* s2 = new TLineSeries(&other);
    other.AddSeries(s2);
    THolder back;
    back.m = &s2->Marks();
    out.SetPosition(0);
    out.ReadComponent(&back);
    TMarksItems& items = s2->Marks().Items;
    ASSERT_EQ(items.Count(), 3);
    EXPECT_TRUE(items.LoadingCustom);
    EXPECT_EQ(items.Get(0)->Color(), clRed);
    EXPECT_EQ(items.Get(1)->Color(), clInfoBk);
    EXPECT_TRUE(items.Get(2)->HasText);
    EXPECT_EQ(items.Get(2)->Text, "two\r\nlines");
    EXPECT_TRUE(items.Get(2)->Transparent());

    // a count larger than the data could hold is refused before any item is made
    TChart third;
    auto* s3 = new TLineSeries(&third);
    third.AddSeries(s3);
    THolder bad;
    bad.m = &s3->Marks();
    TMemoryStream huge("TPF0" + Short("THolder") + Short("") + Short("Marks.Items") + "\x0a" +
                       std::string("\x04\0\0\0", 4) + std::string("\xff\xff\xff\x7f", 4) + kEnd + kEnd);
    EXPECT_THROW(huge.ReadComponent(&bad), EReadError);
    EXPECT_EQ(s3->Marks().Items.Count(), 0);
}

TEST(ChartStreaming, MarksArrowAndBackColorNamesAreReadButNotWritten)
{
    EnsurePlatform();
    TChart chart;
    auto* series = new TLineSeries(&chart);
    chart.AddSeries(series);
    class THolder : public TComponent {
    public:
        TSeriesMarks* m = nullptr;
        void GetPublished(TPropertyList& L) override { L.Object("Marks", [this] { return m; }); }
    };
    THolder h;
    h.m = &series->Marks();
    TMemoryStream in("TPF0" + Short("THolder") + Short("") + Short("Marks.ArrowLength") + "" +
                     Short("Marks.BackColor") + "" + Short("clYellow") + Short("Marks.Arrow.Width") + "" +
                     kEnd + kEnd);
    in.ReadComponent(&h);
    TSeriesMarks& marks = series->Marks();
    EXPECT_EQ(marks.Callout().Length(), 17);
    EXPECT_EQ(marks.Color(), clYellow);
    EXPECT_EQ(marks.Callout().Arrow().Width(), 3);

    // written once, under the callout's and the shape's own names
    TMemoryStream out;
    out.WriteComponent(&h);
    const std::string& text = out.DataString();
    for (const char* name : {"Marks.ArrowLength", "Marks.BackColor", "Marks.Arrow."})
        EXPECT_EQ(text.find(name), std::string::npos) << name;
    for (const char* name : {"Marks.Callout.Length", "Marks.Color", "Marks.Callout.Arrow.Width"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

TEST(ChartStreaming, OldShadowEntriesOfAFramedShapeAreReadIntoItsShadow)
{
    EnsurePlatform();
    TChart chart;
    auto* series = new TLineSeries(&chart);
    chart.AddSeries(series);
    class THolder : public TComponent {
    public:
        TSeriesMarks* m = nullptr;
        void GetPublished(TPropertyList& L) override { L.Object("Marks", [this] { return m; }); }
    };
    struct Case {
        const char* what;
        std::string props;
        TColor color;
        int size;
    } cases[] = {
        {"a colour by name", Short("Marks.ShadowColor") + "\x07" + Short("clRed") + Short("Marks.ShadowSize") + "\x02\x05",
         clRed, 5},
        {"a colour as a number", Short("Marks.ShadowColor") + "\x04" + std::string("\x56\x34\x12\x00", 4), TColor(0x123456),
         -1},
    };
    for (const Case& c : cases) {
        THolder h;
        h.m = &series->Marks();
        const int before = series->Marks().ShadowSize();
        TMemoryStream m("TPF0" + Short("THolder") + Short("") + c.props + kEnd + kEnd);
        m.ReadComponent(&h);
        EXPECT_EQ(series->Marks().ShadowColor(), c.color) << c.what;
        EXPECT_EQ(series->Marks().Shadow()->Color(), c.color) << c.what;
        EXPECT_EQ(series->Marks().ShadowSize(), c.size < 0 ? before : c.size) << c.what;
    }
    // They are only read: writing the marks leaves them out.
    THolder h;
    h.m = &series->Marks();
    TMemoryStream out;
    out.WriteComponent(&h);
    EXPECT_EQ(out.DataString().find("ShadowColor"), std::string::npos);
    // An unknown colour name is refused.
    THolder bad;
    bad.m = &series->Marks();
    TMemoryStream wrong("TPF0" + Short("THolder") + Short("") + Short("Marks.ShadowColor") + "\x07" + Short("clNoSuch") +
                        kEnd + kEnd);
    EXPECT_THROW(wrong.ReadComponent(&bad), EReadError);
}

namespace {

std::vector<COLORREF> PixelsOf(TChart& c)
{
    TBitmap bmp(400, 300);
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->FillRect({0, 0, 400, 300});
    c.Draw(bmp.Canvas(), {0, 0, 400, 300});
    std::vector<COLORREF> px;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) px.push_back(COLORREF(bmp.Canvas()->Pixel(x, y)));
    return px;
}

}  // namespace

TEST(ChartStreaming, AChartWrittenAndReadBackDrawsTheSamePixels)
{
    charttest::ChartOnHost from;
    TChart& a = *from.chart;
    a.SetName("Chart1");
    a.Title().SetCaption("Righting lever");
    a.Title().Font().SetColor(clRed);
    a.Title().Font().SetSize(12);
    a.SubTitle().SetCaption("Loaded");
    a.SetMarginLeft(10);
    a.SetMarginUnits(muPixels);
    a.Border().SetVisible(true);
    a.Border().SetColor(clNavy);
    a.LeftAxis().Title().SetCaption("GZ (m)");
    a.LeftAxis().SetValuesFormat("0.00");
    TChartFont labels;
    labels.SetColor(clNavy);
    labels.SetSize(11);
    a.LeftAxis().SetLabelsFont(labels);
    a.BottomAxis().Title().SetCaption("Heel");
    a.BottomAxis().SetMinMax(0, 60);
    a.BottomAxis().Grid().SetVisible(false);
    a.BottomAxis().SetLabelsAngle(90);
    a.BottomAxis().SetLabelsSeparation(40);
    a.BottomAxis().SetDateTimeFormat("dd/mm");
    a.LeftAxis().SetLabelStyle(talValue);
    a.LeftAxis().SetLabelsSeparation(0);
    a.Legend().SetAlignment(laBottom);
    a.BackWall().SetColor(clInfoBk);
    a.BackWall().Brush().SetStyle(bsSolid);
    auto* s = new TLineSeries(&a);
    s->SetName("GZ");
    a.AddSeries(s);
    s->SetTitle("GZ curve");
    s->SetSeriesColor(clMaroon);
    s->Pen().SetWidth(2);
    s->Pointer().SetVisible(true);
    s->Pointer().SetStyle(psCircle);
    s->Pointer().SetInflate(false);
    s->Pointer().SetDark3D(false);
    s->Pointer().SetTransparency(40);
    s->Marks().SetVisible(true);
    TMarksCallout& callout = s->Marks().Callout();
    callout.SetLength(14);
    callout.SetDistance(3);
    callout.SetArrowHead(ahSolid);
    callout.SetArrowHeadSize(6);
    callout.Arrow().SetColor(clGreen);
    callout.Arrow().SetWidth(2);
    TSeriesMarks& marks = s->Marks();
    marks.SetStyle(smsLabelValue);
    marks.SetDrawEvery(2);
    marks.SetAngle(30);
    marks.SetClip(true);
    marks.SetMultiline(true);
    marks.SetBevel(bvRaised);
    marks.SetBevelWidth(3);
    marks.SetShapeStyle(fosRoundRectangle);
    marks.SetTransparency(25);
    marks.Symbol().SetVisible(true);
    marks.Symbol().SetBevelWidth(1);
    marks.Symbol().Frame().SetColor(clBlue);
    for (int i = 0; i <= 12; ++i) s->AddXY(i * 5, 0.02 * i * (12 - i), i == 6 ? "max" : "");
    s->OwnData = true;
    s->Identifier = "gz";
    auto* b2 = new TLineSeries(&a);
    b2->SetName("Copy");
    a.AddSeries(b2);
    b2->SetDataSource(s);
    b2->SetSeriesColor(clTeal);
    const std::vector<COLORREF> want = PixelsOf(a);

    TMemoryStream m;
    m.WriteComponent(&a);
    charttest::ChartOnHost to;
    TChart& b = *to.chart;
    m.SetPosition(0);
    m.ReadComponent(&b);
    ASSERT_EQ(b.SeriesCount(), 2);
    auto* r = dynamic_cast<TLineSeries*>(b.SeriesList()[0]);
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(b.Loading);
    EXPECT_EQ(r->Name(), "GZ");
    EXPECT_EQ(r->Count(), 13);
    EXPECT_EQ(r->Identifier, "gz");
    EXPECT_EQ(r->ParentChart(), &b);
    EXPECT_EQ(b.SeriesList()[1]->GetDataSource(), r);
    EXPECT_EQ(b.SeriesList()[1]->Count(), 13);
    EXPECT_EQ(b.Title().Caption(), "Righting lever");
    EXPECT_EQ(b.MarginLeft(), 10);
    EXPECT_TRUE(b.Border().Visible());
    EXPECT_EQ(b.LeftAxis().Title().Caption(), "GZ (m)");
    EXPECT_EQ(b.LeftAxis().AxisValuesFormat(), "0.00");
    EXPECT_EQ(b.LeftAxis().GetLabelsFont().Color(), clNavy);
    EXPECT_EQ(b.LeftAxis().GetLabelsFont().Size(), 11);
    EXPECT_EQ(b.BottomAxis().LabelsAngle(), 90);
    EXPECT_EQ(b.BottomAxis().LabelsSeparation(), 40);
    EXPECT_EQ(b.BottomAxis().DateTimeFormat(), "dd/mm");
    EXPECT_EQ(b.BottomAxis().LabelStyle(), talAuto);
    EXPECT_EQ(b.LeftAxis().LabelStyle(), talValue);
    EXPECT_EQ(b.LeftAxis().LabelsSeparation(), 0);
    EXPECT_EQ(b.LeftAxis().LabelsAngle(), 0);
    EXPECT_EQ(b.LeftAxis().DateTimeFormat(), "");
    for (const char* name : {"LabelsAngle", "LabelsSeparation", "LabelStyle", "DateTimeFormat"})
        EXPECT_EQ(m.DataString().find(std::string("TopAxis.") + name), std::string::npos) << name;
    EXPECT_FALSE(r->Pointer().InflateMargins());
    EXPECT_FALSE(r->Pointer().Dark3D());
    EXPECT_EQ(r->Pointer().Transparency(), 40);
    EXPECT_TRUE(r->Marks().Visible());
    TMarksCallout& rc = r->Marks().Callout();
    EXPECT_EQ(rc.Length(), 14);
    EXPECT_EQ(rc.Distance(), 3);
    EXPECT_EQ(rc.ArrowHead(), ahSolid);
    EXPECT_EQ(rc.ArrowHeadSize(), 6);
    EXPECT_EQ(rc.Arrow().Color(), clGreen);
    EXPECT_EQ(rc.Arrow().Width(), 2);
    TSeriesMarks& rm = r->Marks();
    EXPECT_EQ(rm.Style(), smsLabelValue);
    EXPECT_EQ(rm.DrawEvery(), 2);
    EXPECT_EQ(rm.Angle(), 30);
    EXPECT_TRUE(rm.Clip());
    EXPECT_TRUE(rm.MultiLine());
    EXPECT_EQ(rm.Bevel(), bvRaised);
    EXPECT_EQ(rm.BevelWidth(), 3);
    EXPECT_EQ(rm.ShapeStyle(), fosRoundRectangle);
    EXPECT_EQ(rm.Transparency(), 25);
    ASSERT_TRUE(rm.HasSymbol());
    EXPECT_TRUE(rm.Symbol().Visible());
    EXPECT_EQ(rm.Symbol().BevelWidth(), 1);
    EXPECT_EQ(rm.Symbol().Frame().Color(), clBlue);
    // the copy series kept its default marks: none of them is written for it, nor a symbol
    const std::string& text = m.DataString();
    const std::size_t copyAt = text.find(Short("Copy"));
    ASSERT_NE(copyAt, std::string::npos);
    EXPECT_NE(text.find("Marks.Symbol.Visible"), std::string::npos);
    for (const char* name : {"Marks.Style", "Marks.DrawEvery", "Marks.Angle", "Marks.Symbol", "Marks.Bevel"})
        EXPECT_EQ(text.find(name, copyAt), std::string::npos) << name;
    EXPECT_EQ(b.SeriesList()[1]->Marks().Style(), smsLabel);
    EXPECT_FALSE(b.SeriesList()[1]->Marks().HasSymbol());
    EXPECT_EQ(PixelsOf(b), want);

    // Written again, the read chart gives the same stream.
    EXPECT_EQ(Written(b), m.DataString());
}

TEST(ChartStreaming, TheChartIsLoadingWhileItsStreamIsRead)
{
    charttest::ChartOnHost on;
    TChart& c = *on.chart;
    // A fixed maximum below the minimum is taken while loading; the setters refuse it otherwise.
    auto* s = new TLineSeries(&c);
    c.AddSeries(s);
    TMemoryStream m = Form(Short("BottomAxis.Automatic") + "\x08" + Short("BottomAxis.Maximum") + "\x05" +
                           std::string("\0\0\0\0\0\0\0\x80\x00\x40", 10) + Short("BottomAxis.Minimum") + "\x05" +
                           std::string("\0\0\0\0\0\0\0\xa0\x02\x40", 10));
    c.BottomAxis().SetMinMax(0, 1);
    m.ReadComponent(&c);
    EXPECT_FALSE(c.Loading);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Maximum(), 2);
    EXPECT_DOUBLE_EQ(c.BottomAxis().Minimum(), 10);
    EXPECT_THROW(c.BottomAxis().SetMinimum(20), AxisException);
}

TEST(ChartStreaming, AStreamedSeriesFedByItselfIsRefused)
{
    charttest::ChartOnHost on;
    TChart& c = *on.chart;
    auto* a = new TLineSeries(&c);
    a->SetName("A");
    c.AddSeries(a);
    auto* b = new TLineSeries(&c);
    b->SetName("B");
    c.AddSeries(b);
    b->SetDataSource(a);
    TMemoryStream m;
    m.WriteComponent(&c);
    // Name B's own source as A's: A feeds B, so B would feed itself through A.
    std::string bytes = m.DataString();
    const std::string child = Short("TLineSeries") + Short("A");
    const std::size_t at = bytes.find(child);
    ASSERT_NE(at, std::string::npos);
    bytes.insert(at + child.size(), Short("DataSource") + "\x07" + Short("B"));
    charttest::ChartOnHost to;
    TMemoryStream in(bytes);
    EXPECT_THROW(in.ReadComponent(to.chart), ChartException);
    EXPECT_FALSE(to.chart->Loading);
}

TEST(ChartStreaming, AxisPlacementIsWrittenOnlyAwayFromItsDefault)
{
    EnsurePlatform();
    struct Case {
        const char* name;
        double moved;
        void (TChartAxis::*set)(double);
        double (TChartAxis::*get)() const;
        bool (TChartAxis::*stored)() const;
    };
    const Case cases[] = {
        {"StartPosition", 20, &TChartAxis::SetStartPosition, &TChartAxis::StartPosition, &TChartAxis::IsStartStored},
        {"EndPosition", 80, &TChartAxis::SetEndPosition, &TChartAxis::EndPosition, &TChartAxis::IsEndStored},
        {"EndPosition", 0, &TChartAxis::SetEndPosition, &TChartAxis::EndPosition, &TChartAxis::IsEndStored},
        {"PositionPercent", 35, &TChartAxis::SetPositionPercent, &TChartAxis::PositionPercent,
         &TChartAxis::IsPosStored},
        {"LogarithmicBase", 2, &TChartAxis::SetLogarithmicBase, &TChartAxis::LogarithmicBase,
         &TChartAxis::IsLogBaseStored},
    };
    for (const Case& c : cases) {
        TChart chart;
        chart.SetName("C");
        const std::string entry = std::string("LeftAxis.") + c.name;
        EXPECT_FALSE((chart.LeftAxis().*c.stored)()) << c.name;
        TMemoryStream plain;
        plain.WriteComponent(&chart);
        EXPECT_EQ(plain.DataString().find(entry), std::string::npos) << c.name;

        (chart.LeftAxis().*c.set)(c.moved);
        EXPECT_TRUE((chart.LeftAxis().*c.stored)()) << c.name;
        TMemoryStream m;
        m.WriteComponent(&chart);
        EXPECT_NE(m.DataString().find(entry), std::string::npos) << c.name;
        m.SetPosition(0);
        TChart back;
        m.ReadComponent(&back);
        EXPECT_DOUBLE_EQ((back.LeftAxis().*c.get)(), c.moved) << c.name;
    }
}

TEST(ChartStreaming, TheRightWallAndPlacedTitlesTravel)
{
    EnsurePlatform();
    TChart a;
    a.SetName("C");
    TChartWall wall(&a);
    wall.SetVisible(true);
    wall.SetColor(clRed);
    wall.SetSize(6);
    TChartRightWall* own = &a.RightWall();
    a.Walls().SetRight(wall);
    EXPECT_EQ(&a.RightWall(), own);
    EXPECT_EQ(a.RightWall().Color(), clRed);
    a.Walls().SetLeft(wall);
    EXPECT_EQ(a.Walls().Left().Size(), 6);
    a.SubTitle().SetCaption("Loaded");
    a.SubTitle().SetLeft(40);
    a.SubTitle().SetTop(7);
    EXPECT_TRUE(a.SubTitle().IsCustomStored());
    EXPECT_FALSE(a.Title().IsCustomStored());
    EXPECT_EQ(a.SubTitle().GetShapeBounds().Left, 40);

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string data = m.DataString();
    EXPECT_NE(data.find("RightWall.Color"), std::string::npos);
    EXPECT_NE(data.find("SubTitle.CustomPosition"), std::string::npos);
    EXPECT_EQ(data.find("Title.CustomPosition", data.find("SubTitle.CustomPosition") + 4), std::string::npos);
    EXPECT_EQ(data.find("Legend.Left"), std::string::npos);
    m.SetPosition(0);
    TChart b;
    m.ReadComponent(&b);
    EXPECT_TRUE(b.RightWall().Visible());
    EXPECT_EQ(b.RightWall().Color(), clRed);
    EXPECT_EQ(b.RightWall().Size(), 6);
    EXPECT_TRUE(b.SubTitle().CustomPosition());
    EXPECT_EQ(b.SubTitle().Left(), 40);
    EXPECT_EQ(b.SubTitle().Top(), 7);
    EXPECT_FALSE(b.Title().CustomPosition());
}

TEST(ChartStreaming, BackImageSettingsGoThroughThePicture)
{
    charttest::ChartOnHost from;
    TChart& a = *from.chart;
    a.SetName("Chart1");
    // Without a picture: inside and transparency read false, and setting the transparency makes none.
    EXPECT_FALSE(a.GetBackImageInside());
    EXPECT_FALSE(a.GetBackImageTransp());
    a.SetBackImageTransp(true);
    EXPECT_FALSE(a.GetBackImageTransp());
    EXPECT_FALSE(a.HasBackImage());
    TBitmap bmp(8, 8);
    a.GetBackImage().SetGraphic(&bmp);
    a.SetBackImageInside(true);
    a.SetBackImageMode(pbmTile);
    a.SetBackImageTransp(true);
    EXPECT_TRUE(a.GetBackImage().Inside());
    EXPECT_EQ(a.GetBackImage().Mode(), pbmTile);
    EXPECT_TRUE(a.GetBackImage().Graphic()->Transparent());
    EXPECT_TRUE(a.BackImageTransp());

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string data = m.DataString();
    EXPECT_NE(data.find("BackImageInside"), std::string::npos);
    EXPECT_NE(data.find("pbmTile"), std::string::npos);
    charttest::ChartOnHost to;
    TChart& b = *to.chart;
    m.SetPosition(0);
    m.ReadComponent(&b);
    EXPECT_TRUE(b.GetBackImageInside());
    EXPECT_EQ(b.GetBackImageMode(), pbmTile);

    // The zoom rectangle: a white frame and a white unfilled brush.
    EXPECT_EQ(a.Zoom.Pen()->Color(), clWhite);
    EXPECT_EQ(a.Zoom.Brush()->Color(), clWhite);
    EXPECT_EQ(a.Zoom.Brush()->Style(), bsClear);
}

TEST(ChartStreaming, BarSettingsTravelWithTheirSeries)
{
    EnsurePlatform();
    TChart a;
    a.SetName("C");
    auto* v = new TBarSeries(&a);
    v->SetName("V");
    a.AddSeries(v);
    auto* h = new THorizBarSeries(&a);
    h->SetName("H");
    a.AddSeries(h);
    v->SetCustomBarWidth(14);
    v->BarStyle = bsPyramid;
    v->BarWidthPercent = 55;
    v->SetMultiBar(mbStacked);
    v->StackGroup = 2;
    v->YOrigin = 1.5;
    v->UseYOrigin = false;
    v->Dark3D = false;
    h->SetCustomBarHeight(8);
    h->SetSideMargins(false);
    h->OffsetPercent = -20;

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string data = m.DataString();
    EXPECT_EQ(data.find("CustomBarHeight"), data.rfind("CustomBarHeight"));
    EXPECT_EQ(data.find("DepthPercent"), std::string::npos);  // left at its default
    m.SetPosition(0);
    TChart b;
    m.ReadComponent(&b);
    ASSERT_EQ(b.SeriesCount(), 2);
    auto* rv = dynamic_cast<TBarSeries*>(b.SeriesList()[0]);
    auto* rh = dynamic_cast<THorizBarSeries*>(b.SeriesList()[1]);
    ASSERT_TRUE(rv && rh);
    EXPECT_EQ(rv->CustomBarWidth(), 14);
    EXPECT_EQ(rv->BarStyle, bsPyramid);
    EXPECT_EQ(rv->BarWidthPercent, 55);
    EXPECT_EQ(rv->MultiBar(), mbStacked);
    EXPECT_EQ(rv->StackGroup, 2);
    EXPECT_DOUBLE_EQ(rv->YOrigin, 1.5);
    EXPECT_FALSE(rv->UseYOrigin);
    EXPECT_FALSE(rv->Dark3D);
    EXPECT_EQ(rh->CustomBarHeight(), 8);
    EXPECT_FALSE(rh->SideMargins());
    EXPECT_EQ(rh->OffsetPercent, -20);
    EXPECT_EQ(rh->BarWidthPercent, 70);
}

namespace {

// The rows of column x drawn in colour c.
std::vector<int> RowsIn(const std::vector<COLORREF>& px, int x, TColor c)
{
    std::vector<int> rows;
    for (int y = 0; y < 300; ++y)
        if (px[std::size_t(y) * 400 + std::size_t(x)] == COLORREF(ColorToRGB(c))) rows.push_back(y);
    return rows;
}

// Bars over a solid left-axis grid in a colour of its own.
void BarsOverAGrid(TChart& c)
{
    c.SetName("Chart1");
    c.Legend().SetVisible(false);
    c.LeftAxis().Grid().SetStyle(psSolid);
    c.LeftAxis().Grid().SetColor(clFuchsia);
    c.BottomAxis().Grid().SetVisible(false);
    auto* bars = new TBarSeries(&c);
    bars->SetName("Bars");
    c.AddSeries(bars);
    bars->SetSeriesColor(clBlue);
    bars->BarWidthPercent = 100;
    bars->Marks().SetVisible(false);
    bars->AddXY(0, 10);
    bars->AddXY(1, 6);
    bars->AddXY(2, 8);
    bars->OwnData = true;
}

}  // namespace

TEST(ChartStreaming, AxesInFrontAndACentredGridDrawAndTravel)
{
    charttest::ChartOnHost from;
    TChart& a = *from.chart;
    BarsOverAGrid(a);
    EXPECT_TRUE(a.AxisList().Behind());
    const int x = 200;  // through the middle bar
    const std::vector<int> behind = RowsIn(PixelsOf(a), x, clFuchsia);
    a.AxisList().SetBehind(false);
    EXPECT_FALSE(a.AxisBehind());
    const std::vector<int> inFront = RowsIn(PixelsOf(a), x, clFuchsia);
    // In front, the grid lines cross the bar too.
    EXPECT_GT(inFront.size(), behind.size());
    a.LeftAxis().SetGridCentered(true);
    const std::vector<COLORREF> want = PixelsOf(a);
    const std::vector<int> centred = RowsIn(want, x, clFuchsia);
    ASSERT_FALSE(centred.empty());
    EXPECT_NE(centred, inFront);

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string& data = m.DataString();
    EXPECT_NE(data.find(Short("AxisBehind")), std::string::npos);
    EXPECT_NE(data.find(Short("LeftAxis.GridCentered")), std::string::npos);
    EXPECT_EQ(data.find(Short("BottomAxis.GridCentered")), std::string::npos);
    EXPECT_EQ(data.find(Short("AxisVisible")), std::string::npos);
    charttest::ChartOnHost to;
    TChart& b = *to.chart;
    m.SetPosition(0);
    m.ReadComponent(&b);
    EXPECT_FALSE(b.AxisList().Behind());
    EXPECT_TRUE(b.LeftAxis().GetGridCentered());
    EXPECT_FALSE(b.BottomAxis().GetGridCentered());
    EXPECT_EQ(PixelsOf(b), want);

    // Hidden axes travel as well.
    b.AxisList().Hide();
    TMemoryStream hidden;
    hidden.WriteComponent(&b);
    TChart c;
    hidden.SetPosition(0);
    hidden.ReadComponent(&c);
    EXPECT_FALSE(c.AxisList().GetVisible());
}

TEST(ChartStreaming, ValueListsTravelUnderTheirSeriesNames)
{
    EnsurePlatform();
    TChart a;
    a.SetName("C");
    auto* pie = new TPieSeries(&a);
    pie->SetName("P");
    a.AddSeries(pie);
    pie->GetPieValues().Order = loDescending;
    pie->GetPieValues().SetValueSource("Weight");
    auto* line = new TLineSeries(&a);
    line->SetName("L");
    a.AddSeries(line);
    line->XValues().Order = loNone;
    line->YValues().Name = "GZ";
    line->YValues().SetDateTime(true);

    TMemoryStream m;
    m.WriteComponent(&a);
    std::string data = m.DataString();
    const std::size_t pieAt = data.find(Short("TPieSeries") + Short("P"));
    const std::size_t lineAt = data.find(Short("TLineSeries") + Short("L"));
    ASSERT_NE(pieAt, std::string::npos);
    ASSERT_NE(lineAt, std::string::npos);
    const std::string pieText = data.substr(pieAt, lineAt - pieAt);
    EXPECT_NE(pieText.find(Short("PieValues.Order") + "\x07" + Short("loDescending")), std::string::npos);
    EXPECT_NE(pieText.find(Short("PieValues.ValueSource")), std::string::npos);
    EXPECT_EQ(pieText.find("YValues"), std::string::npos);
    EXPECT_EQ(pieText.find("PieValues.Name"), std::string::npos);  // a fresh pie's list has the same name
    const std::string lineText = data.substr(lineAt);
    for (const char* name : {"XValues.Order", "YValues.Name", "YValues.DateTime"})
        EXPECT_NE(lineText.find(Short(name)), std::string::npos) << name;
    EXPECT_EQ(lineText.find("YValues.Order"), std::string::npos);

    // An old stream's multiplier of 1 is read and dropped.
    data.insert(lineAt + Short("TLineSeries").size() + Short("L").size(), Short("XValues.Multiplier") + "\x02\x01");
    TMemoryStream in(data);
    TChart b;
    in.ReadComponent(&b);
    ASSERT_EQ(b.SeriesCount(), 2);
    auto* rp = dynamic_cast<TPieSeries*>(b.SeriesList()[0]);
    ASSERT_NE(rp, nullptr);
    EXPECT_EQ(rp->GetPieValues().Order, loDescending);
    EXPECT_EQ(rp->GetPieValues().ValueSource(), "Weight");
    EXPECT_EQ(&rp->GetPieValues(), &rp->YValues());
    TChartSeries* rl = b.SeriesList()[1];
    EXPECT_EQ(rl->XValues().Order, loNone);
    EXPECT_EQ(rl->YValues().Name, "GZ");
    EXPECT_TRUE(rl->YValues().DateTime());
    EXPECT_FALSE(rl->XValues().DateTime());
}

TEST(ChartStreaming, BarFillsTickLinesAndMarkFillsTravelAndDrawTheSame)
{
    charttest::ChartOnHost from;
    TChart& a = *from.chart;
    a.SetName("Chart1");
    a.Legend().SetVisible(false);
    auto* v = new TBarSeries(&a);
    v->SetName("V");
    a.AddSeries(v);
    auto* w = new TBarSeries(&a);
    w->SetName("W");
    a.AddSeries(w);
    for (int i = 0; i < 4; ++i) {
        v->AddXY(i, 3 + 2 * i);
        w->AddXY(i, 9 - i);
    }
    v->OwnData = w->OwnData = true;
    v->SetSeriesColor(clNavy);
    v->BarStyle = bsRectGradient;
    v->Gradient().SetStartColor(clYellow);
    v->Gradient().SetBalance(30);
    v->Gradient().SetRelative(true);
    v->TickLines().SetVisible(true);
    v->TickLines().SetColor(clRed);
    v->Marks().Gradient().SetVisible(true);
    v->Marks().Gradient().SetStartColor(clAqua);
    v->Marks().Gradient().SetEndColor(clLime);
    v->Marks().Shadow()->SetHorizSize(6);
    v->Marks().Shadow()->SetColor(clTeal);
    v->Marks().Symbol().SetVisible(true);
    v->Marks().Symbol().Gradient().SetVisible(true);
    v->Marks().Symbol().Gradient().SetDirection(gdLeftRight);
    v->Marks().Symbol().Shadow()->SetVertSize(3);
    w->SetSeriesColor(clMaroon);
    w->BarBrush().SetStyle(bsDiagCross);
    w->BarPen().SetColor(clGreen);
    w->BarPen().SetWidth(2);
    const std::vector<COLORREF> want = PixelsOf(a);

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string& data = m.DataString();
    for (const char* name : {"BarBrush.Style", "BarPen.Color", "BarPen.Width", "Gradient.StartColor",
                             "Gradient.Balance", "Gradient.Relative", "TickLines.Visible", "TickLines.Color",
                             "Marks.Gradient.Visible", "Marks.Gradient.EndColor", "Marks.Shadow.HorizSize",
                             "Marks.Shadow.Color", "Marks.Symbol.Gradient.Direction", "Marks.Symbol.Shadow.VertSize"})
        EXPECT_NE(data.find(Short(name)), std::string::npos) << name;
    // Left at their defaults, or under the bar names: not written.
    for (const char* name : {"Brush.Style", "Pen.Color", "Gradient.Direction", "Gradient.Visible",
                             "Marks.Shadow.VertSize", "Marks.Shadow.Smooth", "Marks.Gradient.Direction",
                             "Marks.Symbol.Shadow.HorizSize", "Marks.Symbol.Gradient.StartColor"})
        EXPECT_EQ(data.find(Short(name)), std::string::npos) << name;
    EXPECT_EQ(data.find(Short("Marks.Gradient.Visible"), data.find(Short("W"))), std::string::npos);

    charttest::ChartOnHost to;
    TChart& b = *to.chart;
    m.SetPosition(0);
    m.ReadComponent(&b);
    ASSERT_EQ(b.SeriesCount(), 2);
    auto* rv = dynamic_cast<TBarSeries*>(b.SeriesList()[0]);
    auto* rw = dynamic_cast<TBarSeries*>(b.SeriesList()[1]);
    ASSERT_TRUE(rv && rw);
    EXPECT_EQ(rv->Gradient().StartColor(), clYellow);
    EXPECT_EQ(rv->Gradient().Balance(), 30);
    EXPECT_TRUE(rv->Gradient().Relative());
    EXPECT_EQ(rv->Gradient().Direction(), gdTopBottom);
    EXPECT_TRUE(rv->TickLines().Visible());
    EXPECT_EQ(rv->TickLines().Color(), clRed);
    ASSERT_TRUE(rv->Marks().HasGradient());
    EXPECT_TRUE(rv->Marks().Gradient().Visible());
    EXPECT_EQ(rv->Marks().Gradient().StartColor(), clAqua);
    EXPECT_EQ(rv->Marks().Gradient().EndColor(), clLime);
    EXPECT_EQ(rv->Marks().Shadow()->HorizSize(), 6);
    EXPECT_EQ(rv->Marks().Shadow()->VertSize(), v->Marks().Shadow()->VertSize());
    EXPECT_EQ(rv->Marks().Shadow()->Color(), clTeal);
    EXPECT_FALSE(rw->Marks().HasGradient());
    ASSERT_TRUE(rv->Marks().HasSymbol());
    EXPECT_TRUE(rv->Marks().Symbol().Gradient().Visible());
    EXPECT_EQ(rv->Marks().Symbol().Gradient().Direction(), gdLeftRight);
    EXPECT_EQ(rv->Marks().Symbol().Shadow()->VertSize(), 3);
    EXPECT_EQ(rv->Marks().Symbol().Shadow()->HorizSize(), 1);
    EXPECT_EQ(rw->BarBrush().Style(), bsDiagCross);
    EXPECT_EQ(rw->BarPen().Color(), clGreen);
    EXPECT_EQ(rw->BarPen().Width(), 2);
    EXPECT_EQ(PixelsOf(b), want);

    EXPECT_EQ(Written(b), m.DataString());
}

namespace {

// The mean of each period of the source's values.
class TPeriodMean : public TChartFunction {
public:
    using TChartFunction::TChartFunction;
    double Calculate(TChartSeries& s, int first, int last) override
    {
        TChartValueList& l = ValueList(s);
        if (first < 0) {
            first = 0;
            last = s.Count() - 1;
        }
        double sum = 0;
        for (int i = first; i <= last; ++i) sum += l[i];
        return last >= first ? sum / (last - first + 1) : 0;
    }
};

void RegisterPeriodMean()
{
    RegisterClass("TPeriodMean", [](TComponent* owner) -> TComponent* { return new TPeriodMean(owner); });
}

// A chart with a source series and a series of its means over the given period.
TLineSeries* MeanSeriesOn(TChart& c, TChartFunction* f)
{
    auto* src = new TLineSeries(&c);
    src->SetName("Heel");
    c.AddSeries(src);
    for (int i = 0; i < 12; ++i) src->AddXY(i * 5, 0.3 * i - 0.02 * i * i);
    src->OwnData = true;
    auto* mean = new TLineSeries(&c);
    mean->SetName("Mean");
    c.AddSeries(mean);
    mean->SetSeriesColor(clRed);
    mean->Pen().SetWidth(3);
    f->SetName("MeanOf");
    f->SetParentSeries(mean);
    mean->SetDataSource(src);
    return mean;
}

}  // namespace

TEST(ChartStreaming, AFunctionTravelsAsItsSeriesChildAndComputesTheSamePoints)
{
    RegisterPeriodMean();
    charttest::ChartOnHost from;
    TChart& a = *from.chart;
    a.SetName("Chart1");
    auto* f = new TPeriodMean(&a);
    TLineSeries* mean = MeanSeriesOn(a, f);
    f->SetPeriod(3);
    f->SetPeriodAlign(paFirst);
    ASSERT_EQ(mean->Count(), 4);
    EXPECT_TRUE(f->HasParent());
    EXPECT_EQ(f->GetParentComponent(), mean);
    EXPECT_EQ(mean->GetParentComponent(), &a);
    const std::vector<COLORREF> want = PixelsOf(a);

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string& text = m.DataString();
    // The function follows its series' properties, inside the series' list of children.
    const std::size_t meanAt = text.find(Short("TLineSeries") + Short("Mean"));
    const std::size_t fnAt = text.find(Short("TPeriodMean") + Short("MeanOf"));
    ASSERT_NE(meanAt, std::string::npos);
    ASSERT_NE(fnAt, std::string::npos);
    EXPECT_LT(meanAt, fnAt);
    EXPECT_EQ(text.find(Short("Data"), meanAt), std::string::npos);  // computed points are not stored

    charttest::ChartOnHost to;
    TChart& b = *to.chart;
    m.SetPosition(0);
    m.ReadComponent(&b);
    ASSERT_EQ(b.SeriesCount(), 2);
    TChartSeries* r = b.SeriesList()[1];
    auto* rf = dynamic_cast<TPeriodMean*>(r->SeriesFunction());
    ASSERT_NE(rf, nullptr);
    EXPECT_EQ(rf->Name(), "MeanOf");
    EXPECT_EQ(rf->ParentSeries(), r);
    EXPECT_EQ(rf->Owner(), &b);
    EXPECT_DOUBLE_EQ(rf->Period(), 3);
    EXPECT_EQ(rf->PeriodAlign(), paFirst);
    EXPECT_EQ(rf->PeriodStyle(), psNumPoints);
    EXPECT_EQ(r->GetDataSource(), b.SeriesList()[0]);
    ASSERT_EQ(r->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(r->XValues()[i], mean->XValues()[i]) << i;
        EXPECT_DOUBLE_EQ(r->YValues()[i], mean->YValues()[i]) << i;
    }
    EXPECT_EQ(PixelsOf(b), want);
    EXPECT_EQ(Written(b), m.DataString());
}

TEST(ChartStreaming, FunctionPeriodsTravelOrAreRefused)
{
    RegisterPeriodMean();
    EnsurePlatform();
    auto extended = [](double v) {
        unsigned char b[10];
        DoubleToExtended(v, b);
        return std::string(reinterpret_cast<const char*>(b), 10);
    };
    enum Outcome { Kept, ReadError, Refused };
    struct Case {
        const char* name;
        bool moving;
        double period;
        TFunctionPeriodStyle style;
        // Applied to the written stream before it is read back.
        std::function<void(std::string&)> edit;
        Outcome outcome;
        double periodRead;
    };
    const std::vector<Case> cases = {
        {"moving at its start value", true, 1, psNumPoints, nullptr, Kept, 1},
        {"moving at zero", true, 0, psNumPoints, nullptr, Kept, 0},
        {"plain at zero", false, 0, psNumPoints, nullptr, Kept, 0},
        {"a quarter of a range", false, 0.25, psRange, nullptr, Kept, 0.25},
        {"negative", false, 2, psNumPoints,
         [&](std::string& t) { t.replace(t.rfind(extended(2)), 10, extended(-2)); }, ReadError, 0},
        {"a quarter of a point", false, 0.25, psRange,
         [](std::string& t) { t.replace(t.find(Short("psRange")), 8, Short("psNumPoints")); }, Refused, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TChart a;
        TChartFunction* f = k.moving ? static_cast<TChartFunction*>(new TChartMovingFunction(&a)) : new TPeriodMean(&a);
        MeanSeriesOn(a, f);
        f->SetPeriodStyle(k.style);
        f->SetPeriod(k.period);
        TMemoryStream m;
        m.WriteComponent(&a);
        std::string bytes = m.DataString();
        EXPECT_EQ(bytes.find(Short("Period")) != std::string::npos, k.period != (k.moving ? 1 : 0));
        if (k.edit) k.edit(bytes);
        TMemoryStream in(bytes);
        TChart b;
        switch (k.outcome) {
        case Kept: {
            in.ReadComponent(&b);
            ASSERT_EQ(b.SeriesCount(), 2);
            TChartFunction* rf = b.SeriesList()[1]->SeriesFunction();
            ASSERT_NE(rf, nullptr);
            EXPECT_DOUBLE_EQ(rf->Period(), k.periodRead);
            EXPECT_EQ(rf->PeriodStyle(), k.style);
            break;
        }
        case ReadError: EXPECT_THROW(in.ReadComponent(&b), EReadError); break;
        case Refused: EXPECT_THROW(in.ReadComponent(&b), ChartException); break;
        }
        EXPECT_FALSE(b.Loading);
    }
}

TEST(ChartStreaming, APeriodThatIsNoNumberIsRefused)
{
    TChartFunction f;
    for (double v : {std::nan(""), HUGE_VAL, -1.0}) EXPECT_THROW(f.SetPeriod(v), ChartException) << v;
    EXPECT_DOUBLE_EQ(f.Period(), 0);
}

namespace {

// Pies of slices from big to small, with their marks, on a flat chart.
std::vector<TPieSeries*> PiesOn(TChart& c, int count)
{
    c.SetName("Chart1");
    std::vector<TPieSeries*> pies;
    for (int k = 0; k < count; ++k) {
        auto* p = new TPieSeries(&c);
        p->SetName("Pie" + std::to_string(k + 1));
        c.AddSeries(p);
        const double values[] = {40, 25, 15, 8, 5, 4, 3, 1, 1, 1};
        const char* labels[] = {"Hull", "Deck", "Tanks", "Mast", "Keel", "Rig", "Crew", "Oars", "Flags", "Lines"};
        for (int i = 0; i < 10; ++i) p->Add(values[i] + k, labels[i]);
        p->OwnData = true;
        pies.push_back(p);
    }
    return pies;
}

struct SettingCase {
    const char* name;  // the entry the stream must hold
    int pies;
    bool view3D;
    std::function<void(std::vector<TPieSeries*>&)> set;
    std::function<void(std::vector<TPieSeries*>&)> check;
};

std::vector<TPieSeries*> PiesOf(TChart& c)
{
    std::vector<TPieSeries*> pies;
    for (TChartSeries* s : c.SeriesList())
        if (auto* p = dynamic_cast<TPieSeries*>(s)) pies.push_back(p);
    return pies;
}

}  // namespace

TEST(ChartStreaming, PieSettingsTravelAndDrawTheSame)
{
    using V = std::vector<TPieSeries*>;
    const SettingCase cases[] = {
        {"AngleSize", 1, false, [](V& p) { p[0]->AngleSize = 180; }, [](V& p) { EXPECT_EQ(p[0]->AngleSize, 180); }},
        {"RotationAngle", 1, false, [](V& p) { p[0]->SetRotationAngle(90); },
         [](V& p) { EXPECT_EQ(p[0]->RotationAngle(), 90); }},
        {"ExplodeBiggest", 1, false, [](V& p) { p[0]->SetExplodeBiggest(30); },
         [](V& p) { EXPECT_EQ(p[0]->ExplodeBiggest(), 30); }},
        // The first pie keeps its radii, though the second one's Circled reaches it.
        {"Circled", 2, false,
         [](V& p) {
             p[0]->SetCustomXRadius(50);
             p[0]->SetCustomYRadius(40);
             p[0]->SetCircled(true);
         },
         [](V& p) {
             for (TPieSeries* s : p) EXPECT_TRUE(s->Circled());
             EXPECT_EQ(p[0]->CustomXRadius(), 50);
             EXPECT_EQ(p[0]->CustomYRadius(), 40);
             EXPECT_EQ(p[1]->CustomXRadius(), 0);
             EXPECT_EQ(p[1]->CustomYRadius(), 0);
         }},
        {"CustomYRadius", 1, false, [](V& p) { p[0]->SetCustomYRadius(30); },
         [](V& p) {
             EXPECT_EQ(p[0]->CustomYRadius(), 30);
             EXPECT_EQ(p[0]->CustomXRadius(), 0);
         }},
        {"OtherSlice.Style", 1, false,
         [](V& p) {
             TPieOtherSlice& o = p[0]->OtherSlice();
             o.Style = poBelowPercent;
             o.Value = 10;
             o.SetText("Rest");
             o.Color = clGray;
         },
         [](V& p) {
             TPieOtherSlice& o = p[0]->OtherSlice();
             EXPECT_EQ(o.Style, poBelowPercent);
             EXPECT_DOUBLE_EQ(o.Value, 10);
             EXPECT_EQ(o.Text(), "Rest");
             EXPECT_EQ(o.Color, clGray);
             EXPECT_FALSE(o.HasLegend());
         }},
        {"OtherSlice.Legend.Visible", 1, false,
         [](V& p) {
             TPieOtherSlice& o = p[0]->OtherSlice();
             o.Style = poBelowValue;
             o.Value = 6;
             o.Legend().SetVisible(true);
             o.Legend().SetAlignment(laLeft);
         },
         [](V& p) {
             TPieOtherSlice& o = p[0]->OtherSlice();
             ASSERT_TRUE(o.HasLegend());
             EXPECT_TRUE(o.Legend().Visible());
             EXPECT_EQ(o.Legend().Alignment(), laLeft);
             EXPECT_EQ(o.Legend().Series, p[0]);
         }},
        {"UsePatterns", 1, false, [](V& p) { p[0]->UsePatterns = true; }, [](V& p) { EXPECT_TRUE(p[0]->UsePatterns); }},
        {"CircleBackColor", 1, false,
         [](V& p) {
             p[0]->UsePatterns = true;
             p[0]->CircleBackColor = clYellow;
         },
         [](V& p) { EXPECT_EQ(p[0]->CircleBackColor, clYellow); }},
        {"DarkPen", 1, false, [](V& p) { p[0]->DarkPen = 64; }, [](V& p) { EXPECT_EQ(p[0]->DarkPen, 64); }},
        {"PiePen.Color", 1, false,
         [](V& p) {
             p[0]->PiePen().SetColor(clRed);
             p[0]->PiePen().SetWidth(3);
         },
         [](V& p) {
             EXPECT_EQ(p[0]->PiePen().Color(), clRed);
             EXPECT_EQ(p[0]->PiePen().Width(), 3);
         }},
        {"Shadow.HorizSize", 1, false,
         [](V& p) {
             p[0]->Shadow().SetHorizSize(12);
             p[0]->Shadow().SetVertSize(9);
         },
         [](V& p) {
             EXPECT_EQ(p[0]->Shadow().HorizSize(), 12);
             EXPECT_EQ(p[0]->Shadow().VertSize(), 9);
             EXPECT_EQ(p[0]->Shadow().Color(), TColor(0xA0A0A0));
         }},
        {"Gradient.Visible", 1, false,
         [](V& p) {
             p[0]->CircleGradient().SetVisible(true);
             p[0]->CircleGradient().SetStartColor(clYellow);
         },
         [](V& p) {
             EXPECT_TRUE(p[0]->CircleGradient().Visible());
             EXPECT_EQ(p[0]->CircleGradient().StartColor(), clYellow);
             EXPECT_EQ(p[0]->CircleGradient().Direction(), gdRadial);
         }},
        {"Dark3D", 1, true, [](V& p) { p[0]->Dark3D = false; }, [](V& p) { EXPECT_FALSE(p[0]->Dark3D); }},
        {"MultiPie", 2, false, [](V& p) { p[0]->MultiPie = p[1]->MultiPie = mpDisabled; },
         [](V& p) {
             for (TPieSeries* s : p) EXPECT_EQ(s->MultiPie, mpDisabled);
         }},
        {"AutoMarkPosition", 1, false, [](V& p) { p[0]->AutoMarkPosition = false; },
         [](V& p) { EXPECT_FALSE(p[0]->AutoMarkPosition); }},
    };
    for (const SettingCase& k : cases) {
        SCOPED_TRACE(k.name);
        charttest::ChartOnHost plain;
        plain.chart->SetView3D(k.view3D);
        PiesOn(*plain.chart, k.pies);
        charttest::ChartOnHost from;
        TChart& a = *from.chart;
        a.SetView3D(k.view3D);
        std::vector<TPieSeries*> pies = PiesOn(a, k.pies);
        k.set(pies);
        const std::vector<COLORREF> want = PixelsOf(a);
        EXPECT_NE(want, PixelsOf(*plain.chart));  // the setting shows

        TMemoryStream m;
        m.WriteComponent(&a);
        EXPECT_NE(m.DataString().find(Short(k.name)), std::string::npos);
        charttest::ChartOnHost to;
        TChart& b = *to.chart;
        b.SetView3D(true);  // as a fresh chart has it
        m.SetPosition(0);
        m.ReadComponent(&b);
        std::vector<TPieSeries*> read = PiesOf(b);
        ASSERT_EQ(int(read.size()), k.pies);
        k.check(read);
        EXPECT_EQ(PixelsOf(b), want);
        EXPECT_EQ(Written(b), m.DataString());
    }
}

TEST(ChartStreaming, APieAtItsDefaultsWritesNoneOfItsSettings)
{
    EnsurePlatform();
    TChart a;
    PiesOn(a, 1);
    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string& data = m.DataString();
    for (const char* name : {"AngleSize", "AutoMarkPosition", "CircleBackColor", "ColorEachPoint", "Dark3D", "DarkPen",
                             "ExplodeBiggest", "Gradient", "MultiPie", "OtherSlice", "PiePen", "Pen", "RotationAngle",
                             "Shadow", "UsePatterns", "Circled", "CustomXRadius", "CustomYRadius"})
        EXPECT_EQ(data.find(std::string(1, '.') + name), std::string::npos) << name;
    for (const char* name : {"Gradient.Visible", "Shadow.Color", "OtherSlice.Text", "Pen.Color", "PiePen.Color"})
        EXPECT_EQ(data.find(Short(name)), std::string::npos) << name;
    for (const char* name : {"AngleSize", "Dark3D", "Circled", "MultiPie", "UsePatterns"})
        EXPECT_EQ(data.find(Short(name)), std::string::npos) << name;

    // The pen is still read under the series' own name.
    TMemoryStream old("TPF0" + Short("TChart") + Short("C") + kEnd + Short("TPieSeries") + Short("P") +
                      Short("Pen.Width") + "\x02\x04" + kEnd + kEnd + kEnd);
    TChart b;
    old.ReadComponent(&b);
    ASSERT_EQ(b.SeriesCount(), 1);
    EXPECT_EQ(static_cast<TPieSeries*>(b.SeriesList()[0])->PiePen().Width(), 4);
}

TEST(ChartStreaming, ChartFontExtrasTravelAndDrawTheSame)
{
    struct Case {
        const char* name;
        std::function<void(TChart&)> set;
        std::function<void(TChart&)> check;
    };
    const Case cases[] = {
        {"Title.Font.Gradient.Visible",
         [](TChart& c) {
             c.Title().Font().Gradient()->SetVisible(true);
             c.Title().Font().Gradient()->SetStartColor(clRed);
         },
         [](TChart& c) {
             ASSERT_TRUE(c.Title().Font().HasGradient());
             EXPECT_TRUE(c.Title().Font().Gradient()->Visible());
             EXPECT_EQ(c.Title().Font().Gradient()->StartColor(), clRed);
             EXPECT_FALSE(c.Title().Font().HasShadow());
         }},
        {"Title.Font.Gradient.Outline",
         [](TChart& c) {
             c.Title().Font().Gradient()->SetVisible(true);
             c.Title().Font().Gradient()->SetOutline(true);
         },
         [](TChart& c) { EXPECT_TRUE(c.Title().Font().Gradient()->Outline()); }},
        {"Title.Font.OutLine.Visible",
         [](TChart& c) {
             c.Title().Font().OutLine()->SetVisible(true);
             c.Title().Font().OutLine()->SetColor(clLime);
         },
         [](TChart& c) {
             ASSERT_TRUE(c.Title().Font().HasOutLine());
             EXPECT_TRUE(c.Title().Font().OutLine()->Visible());
             EXPECT_EQ(c.Title().Font().OutLine()->Color(), clLime);
         }},
        {"Title.Font.Shadow.HorizSize",
         [](TChart& c) {
             c.Title().Font().Shadow()->SetHorizSize(3);
             c.Title().Font().Shadow()->SetVertSize(2);
         },
         [](TChart& c) {
             ASSERT_TRUE(c.Title().Font().HasShadow());
             EXPECT_EQ(c.Title().Font().Shadow()->HorizSize(), 3);
             EXPECT_EQ(c.Title().Font().Shadow()->VertSize(), 2);
         }},
        {"Title.Font.InterCharSize", [](TChart& c) { c.Title().Font().SetInterCharSize(4); },
         [](TChart& c) { EXPECT_EQ(c.Title().Font().InterCharSize(), 4); }},
        {"LeftAxis.LabelsFont.Shadow.VertSize", [](TChart& c) { c.LeftAxis().GetLabelsFont().Shadow()->SetVertSize(2); },
         [](TChart& c) { EXPECT_EQ(c.LeftAxis().GetLabelsFont().Shadow()->VertSize(), 2); }},
        {"Legend.Font.InterCharSize", [](TChart& c) { c.Legend().Font().SetInterCharSize(2); },
         [](TChart& c) { EXPECT_EQ(c.Legend().Font().InterCharSize(), 2); }},
    };
    auto prepare = [](TChart& c) {
        PiesOn(c, 0);
        c.Title().SetCaption("Stability");
        c.Title().Font().SetSize(20);
        c.Title().Font().SetStyle(TFontStyles(fsBold));
        auto* s = new TLineSeries(&c);
        s->SetName("GZ");
        c.AddSeries(s);
        for (int i = 0; i <= 6; ++i) s->AddXY(i * 10, 0.1 * i * (6 - i));
        s->OwnData = true;
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        charttest::ChartOnHost plain;
        prepare(*plain.chart);
        charttest::ChartOnHost from;
        TChart& a = *from.chart;
        prepare(a);
        k.set(a);
        const std::vector<COLORREF> want = PixelsOf(a);
        EXPECT_NE(want, PixelsOf(*plain.chart));

        TMemoryStream m;
        m.WriteComponent(&a);
        EXPECT_NE(m.DataString().find(Short(k.name)), std::string::npos);
        charttest::ChartOnHost to;
        TChart& b = *to.chart;
        m.SetPosition(0);
        m.ReadComponent(&b);
        k.check(b);
        EXPECT_EQ(PixelsOf(b), want);
        EXPECT_EQ(Written(b), m.DataString());
    }
}

TEST(ChartStreaming, FontExtrasAtTheirDefaultsAreNotWritten)
{
    EnsurePlatform();
    TChart a;
    a.SetName("C");
    // Made by reading them, but left as they came.
    a.Title().Font().Gradient();
    a.Title().Font().OutLine();
    a.Title().Font().Shadow();
    a.Legend().Font().Gradient()->SetOutline(false);
    TMemoryStream m;
    m.WriteComponent(&a);
    for (const char* name : {".Gradient", ".OutLine", ".Shadow", "InterCharSize"})
        EXPECT_EQ(m.DataString().find(std::string("Font") + name), std::string::npos) << name;
    EXPECT_EQ(m.DataString(), "TPF0" + Short("TChart") + Short("C") + kEnd + kEnd);

    // Out of range spacing is refused.
    TMemoryStream bad(
        "TPF0" + Short("TChart") + Short("C") + Short("Title.Font.InterCharSize") + "\x04" +
        std::string("\x40\x42\x0f\x00", 4) + kEnd + kEnd);
    TChart b;
    EXPECT_THROW(bad.ReadComponent(&b), EReadError);
    EXPECT_EQ(b.Title().Font().InterCharSize(), 0);
}

TEST(ChartStreaming, AxisAndGridDepthsTravelAwayFromTheirDefaults)
{
    charttest::ChartOnHost plain;
    plain.chart->SetView3D(true);
    BarsOverAGrid(*plain.chart);
    charttest::ChartOnHost from;
    TChart& a = *from.chart;
    a.SetView3D(true);
    BarsOverAGrid(a);
    a.LeftAxis().Grid().SetZ(50);
    a.RightAxis().Grid().SetZ(0);  // its default is the back
    a.BottomAxis().SetZPosition(40);
    const std::vector<COLORREF> want = PixelsOf(a);
    EXPECT_NE(want, PixelsOf(*plain.chart));

    TMemoryStream m;
    m.WriteComponent(&a);
    const std::string& data = m.DataString();
    EXPECT_NE(data.find(Short("LeftAxis.Grid.ZPosition")), std::string::npos);
    EXPECT_NE(data.find(Short("RightAxis.Grid.ZPosition")), std::string::npos);
    EXPECT_NE(data.find(Short("BottomAxis.ZPosition")), std::string::npos);
    for (const char* name : {"BottomAxis.Grid.ZPosition", "TopAxis.Grid.ZPosition", "LeftAxis.ZPosition",
                             "RightAxis.ZPosition", "TopAxis.ZPosition"})
        EXPECT_EQ(data.find(Short(name)), std::string::npos) << name;
    charttest::ChartOnHost to;
    TChart& b = *to.chart;
    b.SetView3D(true);  // as a fresh chart has it
    m.SetPosition(0);
    m.ReadComponent(&b);
    EXPECT_DOUBLE_EQ(b.LeftAxis().Grid().ZPosition(), 50);
    EXPECT_DOUBLE_EQ(b.RightAxis().Grid().ZPosition(), 0);
    EXPECT_DOUBLE_EQ(b.TopAxis().Grid().ZPosition(), 100);
    EXPECT_DOUBLE_EQ(b.BottomAxis().Grid().ZPosition(), 0);
    EXPECT_DOUBLE_EQ(b.BottomAxis().ZPosition(), 40);
    EXPECT_DOUBLE_EQ(b.RightAxis().ZPosition(), 100);
    EXPECT_EQ(PixelsOf(b), want);
}
