// The chart panel's and the chart's own stream properties.
#include "platform/Streaming.h"
#include "platform/graphics/ColorNames.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPalettes.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using platform::TReader;
using platform::TWriter;

namespace {

// Zoom steps are repainted one by one: a stream may not ask for more than this.
constexpr int kMaxAnimatedZoomSteps = 1000;

}  // namespace

void TCustomChartPanel::DefineProperties(platform::TFiler* Filer)
{
    platform::TCustomControl::DefineProperties(Filer);
    Filer->DefineProperty("BorderStyle", [this](TReader& r) { Border().SetVisible(r.ReadIdent() == "bsSingle"); },
                          nullptr, false);
}

void TCustomChartPanelExtended::DefineProperties(platform::TFiler* Filer)
{
    TCustomChartPanel::DefineProperties(Filer);
    Filer->DefineProperty("AllowZoom", [this](TReader& r) { Zoom.Allow = r.ReadBoolean(); }, nullptr, false);
    Filer->DefineProperty("AnimatedZoom", [this](TReader& r) { Zoom.Animated = r.ReadBoolean(); }, nullptr, false);
    Filer->DefineProperty(
        "AnimatedZoomSteps",
        [this](TReader& r) {
            const int v = r.ReadInteger();
            if (v < 0 || v > kMaxAnimatedZoomSteps) throw platform::EReadError("Invalid property value");
            Zoom.AnimatedSteps = v;
        },
        nullptr, false);
    bool custom = false;
    for (int m : PrintMargins) custom = custom || m != 15;
    Filer->DefineProperty(
        "PrintMargins",
        [this](TReader& r) {
            int m[4];
            r.ReadListBegin();
            for (int& v : m) v = r.ReadInteger();
            r.ReadListEnd();
            for (int k = 0; k < 4; ++k) PrintMargins[k] = m[k];
        },
        [this](TWriter& w) {
            w.WriteListBegin();
            for (int m : PrintMargins) w.WriteInteger(m);
            w.WriteListEnd();
        },
        custom);
}

void TCustomChart::SetBackColor(TColor color)
{
    BackWall().SetColor(color);
    if (Parent() && !(ComponentState() & csLoading)) BackWall().Brush().SetStyle(platform::bsSolid);
}

void TCustomChart::DefineProperties(platform::TFiler* Filer)
{
    TCustomAxisPanel::DefineProperties(Filer);
    Filer->DefineProperty(
        "BackColor",
        [this](TReader& r) {
            TColor c;
            if (r.NextValue() == platform::vaIdent) {
                if (!platform::IdentToColor(r.ReadIdent(), c)) throw platform::EReadError("Invalid property value");
            } else {
                c = TColor(std::uint32_t(r.ReadInteger()));
            }
            SetBackColor(c);
        },
        nullptr, false);
    bool write;
    if (auto* a = dynamic_cast<TCustomChart*>(Filer->Ancestor))
        write = a->ColorPaletteIndex != ColorPaletteIndex;
    else
        write = ColorPaletteIndex > 0;
    Filer->DefineProperty(
        "ColorPaletteIndex",
        [this](TReader& r) {
            ColorPaletteIndex = r.ReadInteger();
            if (ColorPaletteIndex >= 1) TColorPalettes::ApplyPalette(*this, ColorPaletteIndex);
        },
        [this](TWriter& w) { w.WriteInteger(ColorPaletteIndex); }, write);
}

}  // namespace chart

namespace chart {

void TMarksItem::GetPublished(platform::TPropertyList& L)
{
    TChartCustomShape::GetPublished(L);
    L.Enumeration("Bevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, [this] { return int(Bevel()); },
                  [this](int v) { SetBevel(TBevelCut(v)); })
        .SetDefault(bvNone);
    L.Integer("BevelWidth", [this] { return std::int64_t(BevelWidth()); },
              [this](std::int64_t v) { SetBevelWidth(int(v)); })
        .SetDefault(2);
    L.Color("Color", [this] { return std::int64_t(Color()); }, [this](std::int64_t v) { SetColor(TColor(v)); })
        .SetDefault(std::int64_t(std::int32_t(platform::clInfoBk)));
    L.Enumeration("ShapeStyle", {"fosRectangle", "fosRoundRectangle"}, [this] { return int(ShapeStyle()); },
                  [this](int v) { SetShapeStyle(TChartObjectShapeStyle(v)); })
        .SetDefault(fosRectangle);
    L.Strings(
        "Text",
        [this] {
            std::vector<std::string> lines;
            if (!HasText) return lines;
            std::size_t at = 0;
            for (;;) {
                const std::size_t e = Text.find("\r\n", at);
                lines.push_back(Text.substr(at, e == std::string::npos ? std::string::npos : e - at));
                if (e == std::string::npos) return lines;
                at = e + 2;
            }
        },
        [this](std::vector<std::string> lines) {
            std::string t;
            for (std::size_t k = 0; k < lines.size(); ++k) t += (k ? "\r\n" : "") + lines[k];
            HasText = true;
            Text = t;
        });
    L.Integer("Transparency", [this] { return std::int64_t(Transparency()); },
              [this](std::int64_t v) {
                  if (v < 0 || v > 100) throw platform::EReadError("Invalid property value");
                  SetTransparency(int(v));
              })
        .SetDefault(0);
    L.Boolean("Transparent", [this] { return Transparent(); }, [this](bool v) { SetTransparent(v); }).SetDefault(0);
}

void TSeriesMarks::DefineProperties(platform::TFiler* Filer)
{
    TChartCustomShape::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Items",
        [this](platform::TStream& s) {
            unsigned char b[4];
            s.ReadBuffer(b, 4);
            const auto n = std::int32_t(b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24));
            if (n < 1) return;
            // each item is at least its list's two marks
            if (n > (s.Size() - s.Position()) / 2) throw platform::EReadError("Invalid property value");
            Items.LoadingCustom = true;
            TReader r(s);
            for (int i = 0; i < n; ++i) {
                TMarksItem* item = Items.Get(i);
                r.ReadListBegin();
                while (!r.EndOfList()) r.ReadProperty(item);
                r.ReadListEnd();
            }
        },
        [this](platform::TStream& s) {
            const auto n = std::uint32_t(Items.Count());
            const unsigned char b[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                        static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
            s.WriteBuffer(b, 4);
            TWriter w(s);
            for (int i = 0; i < int(n); ++i) {
                w.WriteListBegin();
                w.WriteProperties(Items.Get(i));
                w.WriteListEnd();
            }
        },
        Items.Count() > 0);
}

}  // namespace chart
