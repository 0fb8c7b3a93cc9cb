// The published settings of a chart and its parts, in declaration order. A setting is
// written when it differs from the same part of a fresh chart (or a fresh series of the
// same class): each part is told its twin before its own settings are listed.
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>

#include "platform/Streaming.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartBarSeries.h"
#include "widgets/chart/ChartFastLine.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartLegend.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPieSeries.h"
#include "widgets/chart/ChartPointSeries.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartTitles.h"
#include "widgets/chart/ChartValues.h"

namespace chart {

using platform::TPropertyList;
using platform::TPropInfo;

namespace {

// Stored when there is no twin or the value differs from the twin's.
template <class T, class Get>
TPropInfo& Differs(TPropInfo& p, const T* self, const T* const* twin, Get get)
{
    return p.SetStored([self, twin, get] {
        return !*twin || get(const_cast<T&>(*self)) != get(const_cast<T&>(**twin));
    });
}

const std::vector<std::string> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kPenStyles{"psSolid", "psDash",  "psDot",        "psDashDot",
                                          "psDashDotDot", "psClear", "psInsideFrame"};
const std::vector<std::string> kBrushStyles{"bsSolid",  "bsClear",     "bsHorizontal", "bsVertical",
                                            "bsFDiagonal", "bsBDiagonal", "bsCross",    "bsDiagCross"};
const std::vector<std::string> kEndStyles{"esRound", "esSquare", "esFlat"};
const std::vector<std::string> kFontStyles{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const std::vector<std::string> kBevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
const std::vector<std::string> kUnits{"muPercent", "muPixels"};
const std::vector<std::string> kLegendAlignments{"laLeft", "laRight", "laTop", "laBottom"};
const std::vector<std::string> kLegendStyles{"lsAuto", "lsSeries", "lsValues", "lsLastValues"};
const std::vector<std::string> kTextStyles{"ltsPlain",   "ltsLeftValue", "ltsRightValue",  "ltsLeftPercent",
                                           "ltsRightPercent", "ltsXValue", "ltsValue", "ltsPercent",
                                           "ltsXAndValue", "ltsXAndPercent"};
const std::vector<std::string> kPointerStyles{"psRectangle", "psCircle",  "psTriangle",   "psDownTriangle",
                                              "psCross",     "psDiagCross", "psStar",     "psDiamond",
                                              "psSmallDot",  "psNothing", "psLeftTriangle", "psRightTriangle"};
const std::vector<std::string> kArrowHeads{"ahNone", "ahLine", "ahSolid"};
const std::vector<std::string> kBackImageModes{"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"};
const std::vector<std::string> kOrders{"loNone", "loAscending", "loDescending"};
const std::vector<std::string> kMarksStyles{"smsValue",        "smsPercent",           "smsLabel",
                                            "smsLabelPercent", "smsLabelValue",        "smsLegend",
                                            "smsPercentTotal", "smsLabelPercentTotal", "smsXValue",
                                            "smsXY"};
const std::vector<std::string> kLabelStyles{"talAuto", "talNone", "talValue", "talMark", "talText"};

// A float setter that refuses what is not a finite number.
std::function<void(double)> Finite(std::function<void(double)> set)
{
    return [set](double v) {
        if (!std::isfinite(v)) throw platform::EReadError("Invalid property value");
        set(v);
    };
}

// An integer setter that refuses what lies outside lo..hi.
std::function<void(std::int64_t)> Within(std::int64_t lo, std::int64_t hi, std::function<void(int)> set)
{
    return [lo, hi, set](std::int64_t v) {
        if (v < lo || v > hi) throw platform::EReadError("Invalid property value");
        set(int(v));
    };
}

// A fresh chart kept for comparison; only a plain TChart has one.
const TCustomChart* ReferenceChart(const TCustomChart& c)
{
    if (typeid(c) != typeid(TChart)) return nullptr;
    static TChart* ref = new TChart(nullptr);
    return ref;
}

// A fresh series of the same registered class, kept for comparison.
TChartSeries* ReferenceSeries(const TChartSeries& s)
{
    static std::map<std::string, std::unique_ptr<TChartSeries>> refs;
    const std::string name = s.ClassName();
    auto it = refs.find(name);
    if (it == refs.end()) {
        TChartSeries* made = nullptr;
        try {
            made = dynamic_cast<TChartSeries*>(platform::FindClass(name)(nullptr));
        } catch (const platform::EClassNotFound&) {
        }
        it = refs.emplace(name, std::unique_ptr<TChartSeries>(made)).first;
    }
    return it->second.get();
}

// The series types a stream may hold.
struct Register {
    template <class T>
    static void One(const char* name)
    {
        platform::RegisterClass(name, [](platform::TComponent* owner) -> platform::TComponent* { return new T(owner); });
    }
    Register()
    {
        One<TLineSeries>("TLineSeries");
        One<THorizLineSeries>("THorizLineSeries");
        One<TPointSeries>("TPointSeries");
        One<TAreaSeries>("TAreaSeries");
        One<THorizAreaSeries>("THorizAreaSeries");
        One<TBarSeries>("TBarSeries");
        One<THorizBarSeries>("THorizBarSeries");
        One<TPieSeries>("TPieSeries");
        One<TFastLineSeries>("TFastLineSeries");
        One<TChart>("TChart");
    }
} registerSeries;

}  // namespace

// ---------------------------------------------------------------- pens, brushes, fonts

void TChartPen::GetPublished(TPropertyList& L)
{
    platform::TPen::GetPublished(L);
    Differs(L.Color("Color", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); }),
            this, &StreamTwin, [](TChartPen& p) { return p.Color(); });
    Differs(L.Enumeration("EndStyle", kEndStyles, [this] { return int(EndStyle()); },
                          [this](int v) { SetEndStyle(TPenEndStyle(v)); }),
            this, &StreamTwin, [](TChartPen& p) { return p.EndStyle(); });
    Differs(L.Enumeration("Style", kPenStyles, [this] { return int(Style()); },
                          [this](int v) { SetStyle(platform::TPenStyle(v)); }),
            this, &StreamTwin, [](TChartPen& p) { return p.Style(); });
    Differs(L.Boolean("Visible", [this] { return Visible(); }, [this](bool v) { SetVisible(v); }), this, &StreamTwin,
            [](TChartPen& p) { return p.Visible(); });
    Differs(L.Integer("Width", [this] { return std::int64_t(Width()); },
                      [this](std::int64_t v) {
                          if (v < 0 || v > 1000) throw platform::EReadError("Invalid property value");
                          SetWidth(int(v));
                      }),
            this, &StreamTwin, [](TChartPen& p) { return p.Width(); });
}

void TChartBrush::GetPublished(TPropertyList& L)
{
    platform::TBrush::GetPublished(L);
    Differs(L.Color("Color", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); }),
            this, &StreamTwin, [](TChartBrush& b) { return b.Color(); });
    Differs(L.Enumeration("Style", kBrushStyles, [this] { return int(Style()); },
                          [this](int v) { SetStyle(platform::TBrushStyle(v)); }),
            this, &StreamTwin, [](TChartBrush& b) { return b.Style(); });
}

void TChartFont::GetPublished(TPropertyList& L)
{
    platform::TFont::GetPublished(L);
    Differs(L.Color("Color", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); }),
            this, &StreamTwin, [](TChartFont& f) { return f.Color(); });
    Differs(L.String("Name", [this] { return Name(); }, [this](const std::string& v) { SetName(v); }), this,
            &StreamTwin, [](TChartFont& f) { return f.Name(); });
    Differs(L.Integer("Size", [this] { return std::int64_t(Size()); },
                      [this](std::int64_t v) {
                          if (v < -1000 || v > 1000) throw platform::EReadError("Invalid property value");
                          SetSize(int(v));
                      }),
            this, &StreamTwin, [](TChartFont& f) { return f.Size(); });
    Differs(L.Set("Style", kFontStyles, [this] { return std::uint32_t(Style()); },
                  [this](std::uint32_t v) { SetStyle(platform::TFontStyles(v & 15u)); }),
            this, &StreamTwin, [](TChartFont& f) { return f.Style(); });
    // Gradient, outline and shadow exist only once used: a font without one writes none,
    // and each compares with the twin's or, where that has none, with a fresh one.
    TChartFont* t = const_cast<TChartFont*>(StreamTwin);
    L.Object("Gradient",
             [this, t] {
                 static TChartFontGradient* fresh = new TChartFontGradient();
                 TChartFontGradient* g = Gradient();
                 g->StreamTwin = t && t->HasGradient() ? t->Gradient() : fresh;
                 return g;
             })
        .SetStored([this] { return HasGradient(); });
    L.Integer("InterCharSize", [this] { return std::int64_t(InterCharSize()); },
              Within(-1000, 1000, [this](int v) { SetInterCharSize(v); }))
        .SetStored([this, t] { return InterCharSize() != (t ? t->InterCharSize() : 0); });
    L.Object("OutLine",
             [this, t] {
                 static TChartHiddenPen* fresh = new TChartHiddenPen();
                 TChartHiddenPen* p = OutLine();
                 p->StreamTwin = t && t->HasOutLine() ? t->OutLine() : fresh;
                 return p;
             })
        .SetStored([this] { return HasOutLine(); });
    L.Object("Shadow",
             [this, t] {
                 TChartShadow* s = Shadow();
                 s->StreamTwin = t && t->HasShadow() ? t->Shadow() : nullptr;
                 return s;
             })
        .SetStored([this] { return HasShadow(); });
}

namespace {

const std::vector<std::string> kGradientDirections{
    "gdTopBottom",   "gdBottomTop",      "gdLeftRight", "gdRightLeft",  "gdFromCenter",
    "gdFromTopLeft", "gdFromBottomLeft", "gdRadial",    "gdDiagonalUp", "gdDiagonalDown"};

// The settings a bar gradient shares with the plain one.
void GradientBalanceDirection(TPropertyList& L, TCustomChartGradient* g)
{
    Differs(L.Integer("Balance", [g] { return std::int64_t(g->Balance()); },
                      Within(0, 100, [g](int v) { g->SetBalance(v); })),
            g, &g->StreamTwin, [](TCustomChartGradient& x) { return x.Balance(); });
    Differs(L.Enumeration("Direction", kGradientDirections, [g] { return int(g->Direction()); },
                          [g](int v) { g->SetDirection(TGradientDirection(v)); }),
            g, &g->StreamTwin, [](TCustomChartGradient& x) { return x.Direction(); });
}

void GradientColor(TPropertyList& L, TCustomChartGradient* g, const char* name, TColor (TCustomChartGradient::*get)() const,
                   void (TCustomChartGradient::*set)(TColor))
{
    Differs(L.Color(name, [g, get] { return std::int64_t((g->*get)()); },
                    [g, set](std::int64_t v) { (g->*set)(TColor(v)); }),
            g, &g->StreamTwin, [get](TCustomChartGradient& x) { return (x.*get)(); });
}

void GradientVisible(TPropertyList& L, TCustomChartGradient* g)
{
    Differs(L.Boolean("Visible", [g] { return g->Visible(); }, [g](bool v) { g->SetVisible(v); }), g, &g->StreamTwin,
            [](TCustomChartGradient& x) { return x.Visible(); });
}

}  // namespace

void TCustomChartGradient::GetPublished(TPropertyList& L)
{
    platform::TPersistent::GetPublished(L);
    GradientBalanceDirection(L, this);
    GradientColor(L, this, "EndColor", &TCustomChartGradient::EndColor, &TCustomChartGradient::SetEndColor);
    GradientColor(L, this, "MidColor", &TCustomChartGradient::MidColor, &TCustomChartGradient::SetMidColor);
    Differs(L.Integer("RadialX", [this] { return std::int64_t(RadialX()); },
                      Within(-100000, 100000, [this](int v) { SetRadialX(v); })),
            this, &StreamTwin, [](TCustomChartGradient& x) { return x.RadialX(); });
    Differs(L.Integer("RadialY", [this] { return std::int64_t(RadialY()); },
                      Within(-100000, 100000, [this](int v) { SetRadialY(v); })),
            this, &StreamTwin, [](TCustomChartGradient& x) { return x.RadialY(); });
    GradientColor(L, this, "StartColor", &TCustomChartGradient::StartColor, &TCustomChartGradient::SetStartColor);
    GradientVisible(L, this);
}

void TChartFontGradient::GetPublished(TPropertyList& L)
{
    TChartGradient::GetPublished(L);
    L.Boolean("Outline", [this] { return Outline(); }, [this](bool v) { SetOutline(v); })
        .SetStored([this] {
            auto* t = dynamic_cast<const TChartFontGradient*>(StreamTwin);
            return Outline() != (t ? t->Outline() : false);
        });
}

void TChartShadow::GetPublished(TPropertyList& L)
{
    platform::TPersistent::GetPublished(L);
    auto stored = [this](auto get, auto fallback) {
        return [this, get, fallback] {
            return StreamTwin ? get(*this) != get(*StreamTwin) : get(*this) != fallback(*this);
        };
    };
    L.Color("Color", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); })
        .SetStored(stored([](const TChartShadow& s) { return s.Color(); },
                          [](const TChartShadow& s) { return s.DefaultColor; }));
    L.Integer("HorizSize", [this] { return std::int64_t(HorizSize()); },
              Within(-10000, 10000, [this](int v) { SetHorizSize(v); }))
        .SetStored(stored([](const TChartShadow& s) { return s.HorizSize(); },
                          [](const TChartShadow& s) { return s.DefaultSize; }));
    L.Boolean("Smooth", [this] { return Smooth(); }, [this](bool v) { SetSmooth(v); })
        .SetStored(stored([](const TChartShadow& s) { return s.Smooth(); }, [](const TChartShadow&) { return true; }));
    L.Integer("Transparency", [this] { return std::int64_t(Transparency()); },
              Within(0, 100, [this](int v) { SetTransparency(TChartTransparency(v)); }))
        .SetStored(stored([](const TChartShadow& s) { return s.Transparency(); },
                          [](const TChartShadow&) { return TChartTransparency(0); }));
    L.Integer("VertSize", [this] { return std::int64_t(VertSize()); },
              Within(-10000, 10000, [this](int v) { SetVertSize(v); }))
        .SetStored(stored([](const TChartShadow& s) { return s.VertSize(); },
                          [](const TChartShadow& s) { return s.DefaultSize; }));
}

// ---------------------------------------------------------------- value lists

namespace {

// The list at the same place in a fresh series of the owner's class.
TChartValueList* TwinList(TChartValueList& l)
{
    TChartSeries* owner = l.Owner();
    TChartSeries* ref = ReferenceSeries(*owner);
    if (!ref || ref == owner) return nullptr;
    const int i = owner->ValueLists().IndexOf(&l);
    return i >= 0 && i < ref->ValueLists().Count() ? ref->ValueLists().Get(i) : nullptr;
}

}  // namespace

void TChartValueList::GetPublished(TPropertyList& L)
{
    platform::TPersistent::GetPublished(L);
    TChartValueList* t = TwinList(*this);
    L.Boolean("DateTime", [this] { return DateTime(); }, [this](bool v) { SetDateTime(v); })
        .SetStored([this] { return IsDateStored(); });
    L.String("Name", [this] { return Name; }, [this](const std::string& v) { Name = v; })
        .SetStored([this, t] { return !t || Name != t->Name; });
    L.Enumeration("Order", kOrders, [this] { return int(Order); }, [this](int v) { Order = TChartListOrder(v); })
        .SetStored([this, t] { return !t || Order != t->Order; });
    L.String("ValueSource", [this] { return ValueSource(); }, [this](const std::string& v) { SetValueSource(v); });
}

void TChartValueList::DefineProperties(platform::TFiler* Filer)
{
    platform::TPersistent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Multiplier", [this](platform::TReader& r) { ReadMultiplier(r.ReadFloat()); }, nullptr, false);
}

// ---------------------------------------------------------------- titles, walls, legend

namespace {

// What every framed part shares: visibility, colour, transparency, brush, frame and font.
template <class T>
void ShapeSettings(TPropertyList& L, T* self, const T* const* twin)
{
    const T* t = *twin;
    self->Brush().StreamTwin = t ? &const_cast<T*>(t)->Brush() : nullptr;
    self->Pen().StreamTwin = t ? &const_cast<T*>(t)->Pen() : nullptr;
    self->Font().StreamTwin = t ? &const_cast<T*>(t)->Font() : nullptr;
    if (self->Shadow()) self->Shadow()->StreamTwin = t ? const_cast<T*>(t)->Shadow() : nullptr;
    L.Object("Brush", [self] { return &self->Brush(); });
    Differs(L.Color("Color", [self] { return std::int64_t(self->Color()); },
                    [self](std::int64_t v) { self->SetColor(TColor(v)); }),
            self, twin, [](T& s) { return s.Color(); });
    L.Object("Font", [self] { return &self->Font(); });
    L.Object("Frame", [self] { return &self->Pen(); });
    // Made when first read; a shape that never had one writes none.
    L.Object("Gradient",
             [self, twin] {
                 TChartGradient& g = self->Gradient();
                 g.StreamTwin = *twin ? &const_cast<T*>(*twin)->Gradient() : nullptr;
                 return &g;
             })
        .SetStored([self] { return self->HasGradient(); });
    L.Object("Shadow", [self] { return self->Shadow(); });
    Differs(L.Boolean("Transparent", [self] { return self->Transparent(); }, [self](bool v) { self->SetTransparent(v); }),
            self, twin, [](T& s) { return s.Transparent(); });
    Differs(L.Boolean("Visible", [self] { return self->Visible(); }, [self](bool v) { self->SetVisible(v); }), self,
            twin, [](T& s) { return s.Visible(); });
}

}  // namespace

void TChartCustomShapePosition::GetPublished(TPropertyList& L)
{
    TChartCustomShape::GetPublished(L);
    L.Boolean("CustomPosition", [this] { return CustomPosition(); }, [this](bool v) { SetCustomPosition(v); })
        .SetStored([this] { return IsCustomStored(); });
    auto coordinate = [](auto set) {
        return [set](std::int64_t v) {
            if (v < -100000 || v > 100000) throw platform::EReadError("Invalid property value");
            set(int(v));
        };
    };
    L.Integer("Left", [this] { return std::int64_t(Left()); }, coordinate([this](int v) { SetLeft(v); }))
        .SetStored([this] { return CustomPosition(); });
    L.Integer("Top", [this] { return std::int64_t(Top()); }, coordinate([this](int v) { SetTop(v); }))
        .SetStored([this] { return CustomPosition(); });
}

void TChartTitle::GetPublished(TPropertyList& L)
{
    TChartCustomShapePosition::GetPublished(L);
    Differs(L.Boolean("AdjustFrame", [this] { return AdjustFrame(); }, [this](bool v) { SetAdjustFrame(v); }), this,
            &StreamTwin, [](TChartTitle& t) { return t.AdjustFrame(); });
    Differs(L.Enumeration("Alignment", kAlignments, [this] { return int(Alignment()); },
                          [this](int v) { SetAlignment(TAlignment(v)); }),
            this, &StreamTwin, [](TChartTitle& t) { return t.Alignment(); });
    ShapeSettings(L, this, &StreamTwin);
    Differs(L.Strings("Text", [this] { return Text(); }, [this](std::vector<std::string> v) { SetText(v); }), this,
            &StreamTwin, [](TChartTitle& t) { return t.Text(); });
}

void TCustomChartWall::GetPublished(TPropertyList& L)
{
    TChartCustomShape::GetPublished(L);
    Differs(L.Boolean("Dark3D", [this] { return Dark3D(); }, [this](bool v) { SetDark3D(v); }), this, &StreamTwin,
            [](TCustomChartWall& w) { return w.Dark3D(); });
    ShapeSettings(L, this, &StreamTwin);
    Differs(L.Integer("Size", [this] { return std::int64_t(Size()); },
                      [this](std::int64_t v) {
                          if (v < 0 || v > 10000) throw platform::EReadError("Invalid property value");
                          SetSize(int(v));
                      }),
            this, &StreamTwin, [](TCustomChartWall& w) { return w.Size(); });
}

void TCustomChartLegend::GetPublished(TPropertyList& L)
{
    TChartCustomShapePosition::GetPublished(L);
    Differs(L.Enumeration("Alignment", kLegendAlignments, [this] { return int(Alignment()); },
                          [this](int v) { SetAlignment(TLegendAlignment(v)); }),
            this, &StreamTwin, [](TCustomChartLegend& l) { return l.Alignment(); });
    Differs(L.Boolean("CheckBoxes", [this] { return CheckBoxes(); }, [this](bool v) { SetCheckBoxes(v); }), this,
            &StreamTwin, [](TCustomChartLegend& l) { return l.CheckBoxes(); });
    Differs(L.Integer("ColorWidth", [this] { return std::int64_t(Symbol().Width); },
                      [this](std::int64_t v) {
                          if (v < 0 || v > 10000) throw platform::EReadError("Invalid property value");
                          Symbol().Width = int(v);
                      }),
            this, &StreamTwin, [](TCustomChartLegend& l) { return l.Symbol().Width; });
    Differs(L.Boolean("Inverted", [this] { return Inverted; }, [this](bool v) { Inverted = v; }), this, &StreamTwin,
            [](TCustomChartLegend& l) { return l.Inverted; });
    Differs(L.Enumeration("LegendStyle", kLegendStyles, [this] { return int(LegendStyle()); },
                          [this](int v) { SetLegendStyle(TLegendStyle(v)); }),
            this, &StreamTwin, [](TCustomChartLegend& l) { return l.LegendStyle(); });
    ShapeSettings(L, this, &StreamTwin);
    Differs(L.Enumeration("TextStyle", kTextStyles, [this] { return int(TextStyle()); },
                          [this](int v) { SetTextStyle(TLegendTextStyle(v)); }),
            this, &StreamTwin, [](TCustomChartLegend& l) { return l.TextStyle(); });
}

// ---------------------------------------------------------------- axes

void TAxisGridPen::GetPublished(TPropertyList& L)
{
    TDottedGrayPen::GetPublished(L);
    L.Float("ZPosition", [this] { return ZPosition(); }, Finite([this](double v) { SetZ(v); }))
        .SetFloatDefault(DefaultZPosition);
}

void TChartAxisTitle::GetPublished(TPropertyList& L)
{
    TChartCustomShape::GetPublished(L);
    L.Integer("Angle", [this] { return std::int64_t(Angle()); }, [this](std::int64_t v) { SetAngle(int(v)); })
        .SetStored([this] { return IsAngleStored(); });
    L.String("Caption", [this] { return Caption(); }, [this](const std::string& v) { SetCaption(v); });
    Font().StreamTwin = StreamTwin ? &const_cast<TChartAxisTitle*>(StreamTwin)->Font() : nullptr;
    L.Object("Font", [this] { return &Font(); });
    Differs(L.Boolean("Visible", [this] { return Visible(); }, [this](bool v) { SetVisible(v); }), this, &StreamTwin,
            [](TChartAxisTitle& t) { return t.Visible(); });
}

void TChartAxis::GetPublished(TPropertyList& L)
{
    platform::TPersistent::GetPublished(L);
    TChartAxis* t = const_cast<TChartAxis*>(StreamTwin);
    Axis().StreamTwin = t ? &t->Axis() : nullptr;
    Grid().StreamTwin = t ? &t->Grid() : nullptr;
    Title().StreamTwin = t ? &t->Title() : nullptr;
    GetLabelsFont().StreamTwin = t ? &t->GetLabelsFont() : nullptr;
    L.Object("Axis", [this] { return &Axis(); });
    L.String("AxisValuesFormat", [this] { return AxisValuesFormat(); },
             [this](const std::string& v) { SetValuesFormat(v); })
        .SetStored([this] { return IsAxisValuesFormatStored(); });
    Differs(L.Boolean("Automatic", [this] { return Automatic(); }, [this](bool v) { SetAutomatic(v); }), this,
            &StreamTwin, [](TChartAxis& a) { return a.Automatic(); });
    Differs(L.Boolean("AutomaticMaximum", [this] { return AutomaticMaximum(); },
                      [this](bool v) { SetAutomaticMaximum(v); }),
            this, &StreamTwin, [](TChartAxis& a) { return a.AutomaticMaximum(); });
    Differs(L.Boolean("AutomaticMinimum", [this] { return AutomaticMinimum(); },
                      [this](bool v) { SetAutomaticMinimum(v); }),
            this, &StreamTwin, [](TChartAxis& a) { return a.AutomaticMinimum(); });
    L.String("DateTimeFormat", [this] { return DateTimeFormat(); },
             [this](const std::string& v) { SetDateTimeFormat(v); })
        .SetStored([this] { return !DateTimeFormat().empty(); });
    L.Float("EndPosition", [this] { return EndPosition(); }, Finite([this](double v) { SetEndPosition(v); }))
        .SetFloatDefault(100);
    L.Object("Grid", [this] { return &Grid(); });
    Differs(L.Boolean("GridCentered", [this] { return GetGridCentered(); }, [this](bool v) { SetGridCentered(v); }),
            this, &StreamTwin, [](TChartAxis& a) { return a.GetGridCentered(); });
    L.Float("Increment", [this] { return Increment(); }, [this](double v) { SetDesiredIncrement(v); });
    Differs(L.Boolean("Inverted", [this] { return Inverted(); }, [this](bool v) { SetInverted(v); }), this,
            &StreamTwin, [](TChartAxis& a) { return a.Inverted(); });
    Differs(L.Boolean("Labels", [this] { return GetLabels(); }, [this](bool v) { SetLabels(v); }), this,
            &StreamTwin, [](TChartAxis& a) { return a.GetLabels(); });
    L.Integer("LabelsAngle", [this] { return std::int64_t(LabelsAngle()); },
              [this](std::int64_t v) {
                  if (v < -359 || v > 359) throw platform::EReadError("Invalid property value");
                  SetLabelsAngle(int(v));
              })
        .SetDefault(0);
    L.Object("LabelsFont", [this] { return &GetLabelsFont(); });
    L.Integer("LabelsSeparation", [this] { return std::int64_t(LabelsSeparation()); },
              [this](std::int64_t v) {
                  if (v < 0 || v > 100000) throw platform::EReadError("Invalid property value");
                  SetLabelsSeparation(int(v));
              })
        .SetDefault(10);
    L.Enumeration("LabelStyle", kLabelStyles, [this] { return int(LabelStyle()); },
                  [this](int v) { SetLabelStyle(TAxisLabelStyle(v)); })
        .SetDefault(talAuto);
    Differs(L.Boolean("Logarithmic", [this] { return Logarithmic(); }, [this](bool v) { SetLogarithmic(v); }), this,
            &StreamTwin, [](TChartAxis& a) { return a.Logarithmic(); });
    L.Float("LogarithmicBase", [this] { return LogarithmicBase(); }, Finite([this](double v) {
                if (v <= 0 || v == 1) throw platform::EReadError("Invalid property value");
                SetLogarithmicBase(v);
            }))
        .SetFloatDefault(10);
    // The ends are kept only where they are fixed; automatic ones are computed again.
    L.Float("Maximum", [this] { return Maximum(); }, [this](double v) { SetMaximum(v); })
        .SetStored([this] { return !Automatic() && !AutomaticMaximum(); });
    L.Float("Minimum", [this] { return Minimum(); }, [this](double v) { SetMinimum(v); })
        .SetStored([this] { return !Automatic() && !AutomaticMinimum(); });
    L.Float("PositionPercent", [this] { return PositionPercent(); },
            Finite([this](double v) { SetPositionPercent(v); }))
        .SetStored([this] { return IsPosStored(); });
    L.Float("StartPosition", [this] { return StartPosition(); }, Finite([this](double v) { SetStartPosition(v); }))
        .SetStored([this] { return IsStartStored(); });
    L.Object("Title", [this] { return &Title(); });
    Differs(L.Boolean("Visible", [this] { return Visible(); }, [this](bool v) { SetVisible(v); }), this, &StreamTwin,
            [](TChartAxis& a) { return a.Visible(); });
    // Kept at the front (or, on the other side, at the back) unless moved; a depth axis never writes it.
    L.Float("ZPosition", [this] { return ZPosition(); }, Finite([this](double v) { SetZPosition(v); }))
        .SetStored([this] { return !IsDepthAxis && (OtherSide() ? ZPosition() != 100 : ZPosition() > 0.011); });
}

// ---------------------------------------------------------------- panels and the chart

void TCustomChartPanel::GetPublished(TPropertyList& L)
{
    platform::TCustomControl::GetPublished(L);
    auto* chart = dynamic_cast<TCustomChart*>(this);
    const TCustomChartPanel* t = chart ? ReferenceChart(*chart) : nullptr;
    Border().StreamTwin = t ? &const_cast<TCustomChartPanel*>(t)->Border() : nullptr;
    auto stored = [this, t](auto get) { return [this, t, get] { return !t || get(*this) != get(*t); }; };
    L.Enumeration("BevelOuter", kBevels, [this] { return int(BevelOuter()); },
                  [this](int v) { SetBevelOuter(TBevelCut(v)); })
        .SetStored(stored([](const TCustomChartPanel& p) { return p.BevelOuter(); }));
    L.Object("Border", [this] { return &Border(); });
    L.Color("Color", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); })
        .SetStored(stored([](const TCustomChartPanel& p) { return p.Color(); }));
    const char* names[4] = {"MarginLeft", "MarginTop", "MarginRight", "MarginBottom"};
    for (int k = 0; k < 4; ++k)
        L.Integer(names[k], [this, k] { return std::int64_t(Margin(k)); },
                  [this, k](std::int64_t v) {
                      if (v < -100000 || v > 100000) throw platform::EReadError("Invalid property value");
                      SetMargin(k, int(v));
                  })
            .SetStored(stored([k](const TCustomChartPanel& p) { return p.Margin(k); }));
    L.Enumeration("MarginUnits", kUnits, [this] { return int(MarginUnits()); },
                  [this](int v) { SetMarginUnits(TChartUnits(v)); })
        .SetStored(stored([](const TCustomChartPanel& p) { return p.MarginUnits(); }));
    L.Boolean("View3D", [this] { return View3D(); }, [this](bool v) { SetView3D(v); })
        .SetStored(stored([](const TCustomChartPanel& p) { return p.View3D(); }));
}

void TCustomChartPanelExtended::GetPublished(TPropertyList& L)
{
    TCustomChartPanel::GetPublished(L);
    L.Boolean("BackImageInside", [this] { return GetBackImageInside(); }, [this](bool v) { SetBackImageInside(v); })
        .SetStored([this] { return GetBackImageInside(); });
    L.Enumeration("BackImageMode", kBackImageModes, [this] { return int(GetBackImageMode()); },
                  [this](int v) { SetBackImageMode(TChartBackImageMode(v)); })
        .SetStored([this] { return HasBackImage() && GetBackImageMode() != pbmStretch; });
    L.Boolean("BackImageTransp", [this] { return GetBackImageTransp(); }, [this](bool v) { SetBackImageTransp(v); })
        .SetStored([this] { return GetBackImageTransp(); });
}

void TCustomAxisPanel::GetPublished(TPropertyList& L)
{
    TCustomChartPanelExtended::GetPublished(L);
    auto* chart = dynamic_cast<TCustomChart*>(this);
    auto* t = const_cast<TCustomAxisPanel*>(static_cast<const TCustomAxisPanel*>(chart ? ReferenceChart(*chart) : nullptr));
    struct One {
        const char* name;
        TChartAxis& (TCustomAxisPanel::*get)();
    };
    L.Boolean("AxisBehind", [this] { return AxisList().Behind(); }, [this](bool v) { AxisList().SetBehind(v); })
        .SetDefault(1);
    L.Boolean("AxisVisible", [this] { return AxisList().GetVisible(); }, [this](bool v) { AxisList().SetVisible(v); })
        .SetDefault(1);
    const One axes[] = {{"BottomAxis", &TCustomAxisPanel::BottomAxis},
                        {"LeftAxis", &TCustomAxisPanel::LeftAxis},
                        {"RightAxis", &TCustomAxisPanel::RightAxis},
                        {"TopAxis", &TCustomAxisPanel::TopAxis}};
    for (const One& a : axes) {
        TChartAxis& axis = (this->*a.get)();
        axis.StreamTwin = t ? &(t->*a.get)() : nullptr;
        L.Object(a.name, [&axis] { return &axis; });
    }
}

void TCustomAxisPanel::GetChildren(const std::function<void(platform::TComponent*)>& Proc, platform::TComponent*)
{
    for (TChartSeries* s : SeriesList()) Proc(s);
}

void TCustomChart::GetPublished(TPropertyList& L)
{
    TCustomAxisPanel::GetPublished(L);
    auto* t = const_cast<TCustomChart*>(ReferenceChart(*this));
    BackWall().StreamTwin = t ? &t->BackWall() : nullptr;
    Walls().Bottom().StreamTwin = t ? &t->Walls().Bottom() : nullptr;
    Walls().Left().StreamTwin = t ? &t->Walls().Left() : nullptr;
    RightWall().StreamTwin = t ? &t->RightWall() : nullptr;
    Legend().StreamTwin = t ? &t->Legend() : nullptr;
    Title().StreamTwin = t ? &t->Title() : nullptr;
    SubTitle().StreamTwin = t ? &t->SubTitle() : nullptr;
    Foot().StreamTwin = t ? &t->Foot() : nullptr;
    SubFoot().StreamTwin = t ? &t->SubFoot() : nullptr;
    L.Object("BackWall", [this] { return &BackWall(); });
    L.Object("BottomWall", [this] { return &Walls().Bottom(); });
    L.Object("Foot", [this] { return &Foot(); });
    L.Object("LeftWall", [this] { return &Walls().Left(); });
    L.Object("Legend", [this] { return &Legend(); });
    L.Object("RightWall", [this] { return &RightWall(); });
    L.Object("SubFoot", [this] { return &SubFoot(); });
    L.Object("SubTitle", [this] { return &SubTitle(); });
    L.Object("Title", [this] { return &Title(); });
}

// ---------------------------------------------------------------- series

void TSeriesMarks::GetPublished(TPropertyList& L)
{
    TChartCustomShape::GetPublished(L);
    // Streamed on their own, the marks compare with those of a fresh series of their kind.
    if (!StreamTwin && Series())
        if (TChartSeries* ref = ReferenceSeries(*Series()); ref && ref != Series()) StreamTwin = &ref->Marks();
    ShapeSettings(L, this, &StreamTwin);
    TMarksCallout& callout = Callout();
    callout.StreamTwin = StreamTwin ? &const_cast<TSeriesMarks*>(StreamTwin)->Callout() : nullptr;
    L.Object("Callout", [&callout] { return &callout; });
    Differs(L.Integer("Angle", [this] { return std::int64_t(Angle()); },
                      Within(INT32_MIN, INT32_MAX, [this](int v) { SetAngle(v); })),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.Angle(); });
    // The same settings as the callout's arrow and length and the shape colour: read, not written.
    L.Object("Arrow", [this] { return &Callout().Arrow(); }).SetStored([] { return false; });
    L.Integer("ArrowLength", [this] { return std::int64_t(Callout().Length()); },
              Within(-10000, 10000, [this](int v) { SetArrowLength(v); }))
        .SetStored([] { return false; });
    L.Color("BackColor", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); })
        .SetStored([] { return false; });
    Differs(L.Enumeration("Bevel", kBevels, [this] { return int(Bevel()); },
                          [this](int v) { SetBevel(TBevelCut(v)); }),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.Bevel(); });
    Differs(L.Integer("BevelWidth", [this] { return std::int64_t(BevelWidth()); },
                      Within(0, 10000, [this](int v) { SetBevelWidth(v); })),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.BevelWidth(); });
    Differs(L.Boolean("Clip", [this] { return Clip(); }, [this](bool v) { SetClip(v); }), this, &StreamTwin,
            [](TSeriesMarks& m) { return m.Clip(); });
    Differs(L.Integer("DrawEvery", [this] { return std::int64_t(DrawEvery()); },
                      Within(INT32_MIN, INT32_MAX, [this](int v) { SetDrawEvery(v); })),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.DrawEvery(); });
    Differs(L.Boolean("MultiLine", [this] { return MultiLine(); }, [this](bool v) { SetMultiline(v); }), this,
            &StreamTwin, [](TSeriesMarks& m) { return m.MultiLine(); });
    Differs(L.Enumeration("ShapeStyle", {"fosRectangle", "fosRoundRectangle"}, [this] { return int(ShapeStyle()); },
                          [this](int v) { SetShapeStyle(TChartObjectShapeStyle(v)); }),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.ShapeStyle(); });
    Differs(L.Enumeration("Style", kMarksStyles, [this] { return int(Style()); },
                          [this](int v) { SetStyle(TSeriesMarksStyle(v)); }),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.Style(); });
    L.Object("Symbol", [this] { return &Symbol(); }).SetStored([this] { return HasSymbol(); });
    Differs(L.Integer("Transparency", [this] { return std::int64_t(Transparency()); },
                      Within(0, 100, [this](int v) { SetTransparency(TChartTransparency(v)); })),
            this, &StreamTwin, [](TSeriesMarks& m) { return m.Transparency(); });
}

void TSeriesMarksSymbol::GetPublished(TPropertyList& L)
{
    TChartCustomShape::GetPublished(L);
    static TSeriesMarksSymbol* fresh = new TSeriesMarksSymbol(nullptr);
    Brush().StreamTwin = &fresh->Brush();
    Pen().StreamTwin = &fresh->Pen();
    L.Enumeration("Bevel", kBevels, [this] { return int(Bevel()); }, [this](int v) { SetBevel(TBevelCut(v)); })
        .SetDefault(fresh->Bevel());
    L.Integer("BevelWidth", [this] { return std::int64_t(BevelWidth()); },
              Within(0, 10000, [this](int v) { SetBevelWidth(v); }))
        .SetDefault(fresh->BevelWidth());
    L.Object("Brush", [this] { return &Brush(); });
    L.Object("Frame", [this] { return &Frame(); });
    L.Object("Gradient",
             [this] {
                 Gradient().StreamTwin = &fresh->Gradient();
                 return &Gradient();
             })
        .SetStored([this] { return HasGradient(); });
    // The frame under its other name: read, not written.
    L.Object("Pen", [this] { return &Pen(); }).SetStored([] { return false; });
    if (Shadow()) Shadow()->StreamTwin = fresh->Shadow();
    L.Object("Shadow", [this] { return Shadow(); });
    L.Enumeration("ShapeStyle", {"fosRectangle", "fosRoundRectangle"}, [this] { return int(ShapeStyle()); },
                  [this](int v) { SetShapeStyle(TChartObjectShapeStyle(v)); })
        .SetDefault(fresh->ShapeStyle());
    L.Integer("Transparency", [this] { return std::int64_t(Transparency()); },
              Within(0, 100, [this](int v) { SetTransparency(TChartTransparency(v)); }))
        .SetDefault(fresh->Transparency());
    L.Boolean("Visible", [this] { return Visible(); }, [this](bool v) { SetVisible(v); }).SetDefault(0);
}

void TSeriesPointer::GetPublished(TPropertyList& L)
{
    TChartCustomShapeBrushPen::GetPublished(L);
    TSeriesPointer* t = const_cast<TSeriesPointer*>(StreamTwin);
    Brush().StreamTwin = t ? &t->Brush() : nullptr;
    Pen().StreamTwin = t ? &t->Pen() : nullptr;
    L.Object("Brush", [this] { return &Brush(); });
    Differs(L.Boolean("Dark3D", [this] { return Dark3D(); }, [this](bool v) { SetDark3D(v); }), this, &StreamTwin,
            [](TSeriesPointer& p) { return p.Dark3D(); });
    Differs(L.Boolean("Draw3D", [this] { return Draw3D(); }, [this](bool v) { SetDraw3D(v); }), this, &StreamTwin,
            [](TSeriesPointer& p) { return p.Draw3D(); });
    Differs(L.Integer("HorizSize", [this] { return std::int64_t(HorizSize()); },
                      [this](std::int64_t v) {
                          if (v > 10000) throw platform::EReadError("Invalid property value");
                          SetHorizSize(int(v));
                      }),
            this, &StreamTwin, [](TSeriesPointer& p) { return p.HorizSize(); });
    Differs(L.Boolean("InflateMargins", [this] { return InflateMargins(); }, [this](bool v) { SetInflate(v); }),
            this, &StreamTwin, [](TSeriesPointer& p) { return p.InflateMargins(); });
    L.Object("Pen", [this] { return &Pen(); });
    Differs(L.Enumeration("Style", kPointerStyles, [this] { return int(Style()); },
                          [this](int v) { SetStyle(TSeriesPointerStyle(v)); }),
            this, &StreamTwin, [](TSeriesPointer& p) { return p.Style(); });
    Differs(L.Integer("Transparency", [this] { return std::int64_t(Transparency()); },
                      [this](std::int64_t v) {
                          if (v < 0 || v > 100) throw platform::EReadError("Invalid property value");
                          SetTransparency(TChartTransparency(v));
                      }),
            this, &StreamTwin, [](TSeriesPointer& p) { return p.Transparency(); });
    Differs(L.Integer("VertSize", [this] { return std::int64_t(VertSize()); },
                      [this](std::int64_t v) {
                          if (v > 10000) throw platform::EReadError("Invalid property value");
                          SetVertSize(int(v));
                      }),
            this, &StreamTwin, [](TSeriesPointer& p) { return p.VertSize(); });
    Differs(L.Boolean("Visible", [this] { return Visible(); }, [this](bool v) { SetVisible(v); }), this, &StreamTwin,
            [](TSeriesPointer& p) { return p.Visible(); });
}

void TCallout::GetPublished(TPropertyList& L)
{
    TSeriesPointer::GetPublished(L);
    auto twin = [this] { return dynamic_cast<const TCallout*>(StreamTwin); };
    auto stored = [this, twin](auto get) {
        return [this, twin, get] {
            const TCallout* t = twin();
            return !t || get(*this) != get(const_cast<TCallout&>(*t));
        };
    };
    Arrow().StreamTwin = twin() ? &const_cast<TCallout*>(twin())->Arrow() : nullptr;
    L.Object("Arrow", [this] { return &Arrow(); });
    L.Enumeration("ArrowHead", kArrowHeads, [this] { return int(ArrowHead()); },
                  [this](int v) { SetArrowHead(TArrowHeadStyle(v)); })
        .SetStored(stored([](TCallout& c) { return c.ArrowHead(); }));
    L.Integer("ArrowHeadSize", [this] { return std::int64_t(ArrowHeadSize()); },
              Within(0, 10000, [this](int v) { SetArrowHeadSize(v); }))
        .SetStored(stored([](TCallout& c) { return c.ArrowHeadSize(); }));
    L.Integer("Distance", [this] { return std::int64_t(Distance()); },
              Within(-10000, 10000, [this](int v) { SetDistance(v); }))
        .SetStored(stored([](TCallout& c) { return c.Distance(); }));
}

void TMarksCallout::GetPublished(TPropertyList& L)
{
    TCallout::GetPublished(L);
    L.Integer("Length", [this] { return std::int64_t(Length()); },
              Within(-10000, 10000, [this](int v) { SetLength(v); }))
        .SetStored([this] { return Length() != DefaultLength; });
}

void TChartSeries::GetPublished(TPropertyList& L)
{
    TCustomChartSeries::GetPublished(L);
    TChartSeries* t = ReferenceSeries(*this);
    Marks().StreamTwin = t ? &t->Marks() : nullptr;
    Brush().StreamTwin = t ? &t->Brush() : nullptr;
    Pen().StreamTwin = t ? &t->Pen() : nullptr;
    auto stored = [this, t](auto get) { return [this, t, get] { return !t || get(*this) != get(*t); }; };
    L.Boolean("Active", [this] { return Active(); }, [this](bool v) { SetActive(v); })
        .SetStored(stored([](TChartSeries& s) { return s.Active(); }));
    L.Object("Brush", [this] { return &Brush(); });
    L.Boolean("ColorEachPoint", [this] { return ColorEachPoint(); }, [this](bool v) { SetColorEachPoint(v); })
        .SetStored(stored([](TChartSeries& s) { return s.ColorEachPoint(); }));
    L.Object("Marks", [this] { return &Marks(); });
    L.Object("Pen", [this] { return &Pen(); });
    // Always written: a series takes a free colour of its chart when it joins it.
    L.Color("SeriesColor", [this] { return std::int64_t(SeriesColor()); },
            [this](std::int64_t v) { SetSeriesColor(TColor(v)); });
    L.Boolean("ShowInLegend", [this] { return ShowInLegend(); }, [this](bool v) { SetShowInLegend(v); })
        .SetStored(stored([](TChartSeries& s) { return s.ShowInLegend(); }));
    L.String("Title", [this] { return Title(); }, [this](const std::string& v) { SetTitle(v); });
    L.Object("XValues", [this] { return &XValues(); });
    L.Object("YValues", [this] { return &YValues(); });
}

void TCustomSeries::GetPublished(TPropertyList& L)
{
    TCustomLineSeries::GetPublished(L);
    auto* t = dynamic_cast<TCustomSeries*>(ReferenceSeries(*this));
    Pointer().StreamTwin = t ? &t->Pointer() : nullptr;
    L.Object("Pointer", [this] { return &Pointer(); });
}

namespace {

const std::vector<std::string> kBarStyles{"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder", "bsEllipse",
                                          "bsArrow",     "bsRectGradient", "bsCone", "bsBevel", "bsSlantCube",
                                          "bsDiamond",   "bsInvArrow", "bsInvCone"};
const std::vector<std::string> kMultiBars{"mbNone", "mbSide", "mbStacked", "mbStacked100", "mbSideAll", "mbSelfStack"};

// A plain integer field of a series, refused outside lo..hi when read; written where it differs
// from the twin's (always without one).
void SeriesInteger(TPropertyList& L, const char* name, int& field, int lo, int hi, const int* twin, TChartSeries* s)
{
    L.Integer(name, [&field] { return std::int64_t(field); },
              Within(lo, hi, [&field, s](int v) {
                  field = v;
                  s->Repaint();
              }))
        .SetStored([&field, twin] { return !twin || field != *twin; });
}

void SeriesBoolean(TPropertyList& L, const char* name, bool& field, const bool* twin, TChartSeries* s)
{
    L.Boolean(name, [&field] { return field; },
              [&field, s](bool v) {
                  field = v;
                  s->Repaint();
              })
        .SetStored([&field, twin] { return !twin || field != *twin; });
}

}  // namespace

void TCustomBarSeries::GetPublished(TPropertyList& L)
{
    TChartSeries::GetPublished(L);
    auto* t = dynamic_cast<TCustomBarSeries*>(ReferenceSeries(*this));
    if (t == this) t = nullptr;
    // The series' own brush and pen go by the bar names.
    for (const char* own : {"Brush", "Pen"})
        if (TPropInfo* p = L.Find(own)) p->SetStored([] { return false; });
    L.Object("BarBrush", [this] { return &BarBrush(); });
    L.Object("BarPen", [this] { return &BarPen(); });
    SeriesInteger(L, "BevelSize", BevelSize, 0, 1000, t ? &t->BevelSize : nullptr, this);
    SeriesBoolean(L, "AutoBarSize", AutoBarSize, t ? &t->AutoBarSize : nullptr, this);
    SeriesBoolean(L, "AutoMarkPosition", AutoMarkPosition, t ? &t->AutoMarkPosition : nullptr, this);
    L.Enumeration("BarStyle", kBarStyles, [this] { return int(BarStyle); },
                  [this](int v) {
                      BarStyle = TBarStyle(v);
                      Repaint();
                  })
        .SetStored([this, t] { return !t || BarStyle != t->BarStyle; });
    SeriesInteger(L, "BarWidthPercent", BarWidthPercent, 1, 100, t ? &t->BarWidthPercent : nullptr, this);
    SeriesBoolean(L, "Dark3D", Dark3D, t ? &t->Dark3D : nullptr, this);
    SeriesInteger(L, "DepthPercent", DepthPercent, 0, 100, t ? &t->DepthPercent : nullptr, this);
    Gradient().StreamTwin = t ? &t->Gradient() : nullptr;
    L.Object("Gradient", [this] { return &Gradient(); });
    L.Enumeration("MultiBar", kMultiBars, [this] { return int(MultiBar()); },
                  [this](int v) { SetMultiBar(TMultiBar(v)); })
        .SetStored([this, t] { return !t || MultiBar() != t->MultiBar(); });
    SeriesInteger(L, "OffsetPercent", OffsetPercent, -100, 100, t ? &t->OffsetPercent : nullptr, this);
    L.Boolean("SideMargins", [this] { return SideMargins(); }, [this](bool v) { SetSideMargins(v); })
        .SetStored([this, t] { return !t || SideMargins() != t->SideMargins(); });
    SeriesInteger(L, "StackGroup", StackGroup, 0, 100000, t ? &t->StackGroup : nullptr, this);
    TickLines().StreamTwin = t ? &t->TickLines() : nullptr;
    L.Object("TickLines", [this] { return &TickLines(); });
    SeriesBoolean(L, "UseYOrigin", UseYOrigin, t ? &t->UseYOrigin : nullptr, this);
    L.Float("YOrigin", [this] { return YOrigin; },
            Finite([this](double v) {
                YOrigin = v;
                Repaint();
            }));
}

void TBarSeriesGradient::GetPublished(TPropertyList& L)
{
    platform::TPersistent::GetPublished(L);
    GradientBalanceDirection(L, this);
    GradientColor(L, this, "MidColor", &TCustomChartGradient::MidColor, &TCustomChartGradient::SetMidColor);
    Differs(L.Boolean("Relative", [this] { return Relative(); }, [this](bool v) { SetRelative(v); }),
            static_cast<TCustomChartGradient*>(this), &StreamTwin, [](TCustomChartGradient& x) { return static_cast<TBarSeriesGradient&>(x).Relative(); });
    GradientColor(L, this, "StartColor", &TCustomChartGradient::StartColor, &TCustomChartGradient::SetStartColor);
    GradientVisible(L, this);
}

void TBarSeries::GetPublished(TPropertyList& L)
{
    TCustomBarSeries::GetPublished(L);
    L.Integer("CustomBarWidth", [this] { return std::int64_t(CustomBarWidth()); },
              Within(0, 100000, [this](int v) { SetCustomBarWidth(v); }))
        .SetDefault(0);
}

void THorizBarSeries::GetPublished(TPropertyList& L)
{
    TCustomBarSeries::GetPublished(L);
    L.Integer("CustomBarHeight", [this] { return std::int64_t(CustomBarHeight()); },
              Within(0, 100000, [this](int v) { SetCustomBarHeight(v); }))
        .SetDefault(0);
}

void TCircledSeries::GetPublished(TPropertyList& L)
{
    TChartSeries::GetPublished(L);
    L.Boolean("Circled", [this] { return Circled(); }, [this](bool v) { SetCircled(v); }).SetDefault(0);
    L.Integer("CustomXRadius", [this] { return std::int64_t(CustomXRadius()); },
              Within(0, 100000, [this](int v) { SetCustomXRadius(v); }))
        .SetDefault(0);
    L.Integer("CustomYRadius", [this] { return std::int64_t(CustomYRadius()); },
              Within(0, 100000, [this](int v) { SetCustomYRadius(v); }))
        .SetDefault(0);
}

void TPieOtherSlice::GetPublished(TPropertyList& L)
{
    platform::TPersistent::GetPublished(L);
    auto changed = [this](auto set) {
        return [this, set](auto v) {
            set(v);
            owner_->Repaint();
        };
    };
    L.Color("Color", [this] { return std::int64_t(Color); },
            changed([this](std::int64_t v) { Color = TColor(v); }))
        .SetDefault(clUseSeriesColor);
    // Made when first read; compared with a fresh hidden legend of its own.
    L.Object("Legend",
             [this] {
                 static TChartLegend* fresh = [] {
                     auto* l = new TChartLegend(nullptr);
                     l->SetVisible(false);
                     return l;
                 }();
                 Legend().StreamTwin = fresh;
                 return &Legend();
             })
        .SetStored([this] { return HasLegend(); });
    L.Enumeration("Style", {"poNone", "poBelowPercent", "poBelowValue"}, [this] { return int(Style); },
                  changed([this](int v) { Style = TPieOtherStyle(v); }))
        .SetDefault(poNone);
    L.String("Text", [this] { return text_; }, changed([this](const std::string& v) { text_ = v; }));
    L.Float("Value", [this] { return Value; }, Finite(changed([this](double v) { Value = v; })));
}

void TPieSeries::GetPublished(TPropertyList& L)
{
    TCircledSeries::GetPublished(L);
    auto* t = dynamic_cast<TPieSeries*>(ReferenceSeries(*this));
    if (t == this) t = nullptr;
    // The Y list and the pen go by the pie's names for them.
    for (const char* own : {"YValues", "Pen"})
        if (TPropInfo* p = L.Find(own)) p->SetStored([] { return false; });
    SeriesInteger(L, "AngleSize", AngleSize, -100000, 100000, t ? &t->AngleSize : nullptr, this);
    SeriesBoolean(L, "AutoMarkPosition", AutoMarkPosition, t ? &t->AutoMarkPosition : nullptr, this);
    L.Color("CircleBackColor", [this] { return std::int64_t(CircleBackColor); },
            [this](std::int64_t v) {
                CircleBackColor = TColor(v);
                Repaint();
            })
        .SetDefault(clUseSeriesColor);
    SeriesBoolean(L, "Dark3D", Dark3D, t ? &t->Dark3D : nullptr, this);
    SeriesInteger(L, "DarkPen", DarkPen, -100000, 100000, t ? &t->DarkPen : nullptr, this);
    L.Integer("ExplodeBiggest", [this] { return std::int64_t(ExplodeBiggest()); },
              Within(-100000, 100000, [this](int v) { SetExplodeBiggest(v); }))
        .SetDefault(0);
    CircleGradient().StreamTwin = t ? &t->CircleGradient() : nullptr;
    L.Object("Gradient", [this] { return &CircleGradient(); });
    L.Enumeration("MultiPie", {"mpAutomatic", "mpDisabled"}, [this] { return int(MultiPie); },
                  [this](int v) {
                      MultiPie = TMultiPie(v);
                      Repaint();
                  })
        .SetDefault(mpAutomatic);
    L.Object("OtherSlice", [this] { return &OtherSlice(); });
    L.Object("PiePen", [this] { return &PiePen(); });
    L.Object("PieValues", [this] { return &GetPieValues(); });
    L.Integer("RotationAngle", [this] { return std::int64_t(RotationAngle()); },
              Within(-100000, 100000, [this](int v) { SetRotationAngle(v); }))
        .SetDefault(0);
    Shadow().StreamTwin = t ? &t->Shadow() : nullptr;
    L.Object("Shadow", [this] { return &Shadow(); });
    SeriesBoolean(L, "UsePatterns", UsePatterns, t ? &t->UsePatterns : nullptr, this);
}

void TChartSeries::SetParentComponent(platform::TComponent* Parent)
{
    if (auto* chart = dynamic_cast<TCustomAxisPanel*>(Parent)) chart->AddSeries(this);
}

}  // namespace chart
