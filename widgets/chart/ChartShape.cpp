// Framed shapes.
#include "widgets/chart/ChartShape.h"

#include <cmath>
#include <cstdint>

#include "platform/Streaming.h"
#include "platform/graphics/ColorNames.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

TChartCustomShapeBrushPen::TChartCustomShapeBrushPen(TCustomChartPanel* parent) : parent_(parent)
{
    brush_ = std::make_unique<TChartBrush>([this](TObject* s) { CanvasChanged(s); });
    pen_ = std::make_unique<TChartPen>([this](TObject* s) { CanvasChanged(s); });
}

TChartCustomShapeBrushPen::~TChartCustomShapeBrushPen() = default;

void TChartCustomShapeBrushPen::Assign(const TPersistent& source)
{
    auto* s = dynamic_cast<const TChartCustomShapeBrushPen*>(&source);
    if (!s) {
        TPersistent::Assign(source);
        return;
    }
    brush_->Assign(*s->brush_);
    pen_->Assign(*s->pen_);
    visible_ = s->visible_;
}

void TChartCustomShapeBrushPen::SetVisible(bool v)
{
    if (parent_) parent_->SetBooleanProperty(visible_, v);
    else visible_ = v;
}

void TChartCustomShapeBrushPen::Repaint()
{
    if (parent_) parent_->Invalidate();
}

TChartCustomShape::TChartCustomShape(TCustomChartPanel* parent) : TChartCustomShapeBrushPen(parent)
{
    shadow_ = std::make_unique<TChartShadow>([this](TObject* s) { CanvasChanged(s); });
    InitShadow(*shadow_);
    font_ = std::make_unique<TChartFont>([this](TObject* s) { CanvasChanged(s); });
}

TChartCustomShape::~TChartCustomShape() = default;

void TChartCustomShape::InitShadow(TChartShadow& s)
{
    TNotifyEvent keep = std::move(s.OnChange);
    s.SetColor(clBlack);
    s.SetSize(3);
    s.DefaultColor = clBlack;
    s.DefaultSize = 3;
    s.OnChange = std::move(keep);
}

TColor TChartCustomShape::ShadowColor() const { return shadow_->Color(); }
void TChartCustomShape::SetShadowColor(TColor v) { shadow_->SetColor(v); }
int TChartCustomShape::ShadowSize() const { return shadow_->Size(); }
void TChartCustomShape::SetShadowSize(int v) { shadow_->SetSize(v); }

void TChartCustomShape::DefineProperties(TFiler* Filer)
{
    TChartCustomShapeBrushPen::DefineProperties(Filer);
    // Read only; a shape whose shadow was freed reads and drops them.
    Filer->DefineProperty(
        "ShadowColor",
        [this](TReader& r) {
            TColor c;
            if (r.NextValue() == vaIdent) {
                if (!IdentToColor(r.ReadIdent(), c)) throw EReadError("Invalid property value");
            } else {
                c = TColor(std::uint32_t(r.ReadInteger()));
            }
            if (shadow_) shadow_->SetColor(c);
        },
        nullptr, false);
    Filer->DefineProperty(
        "ShadowSize",
        [this](TReader& r) {
            const int v = r.ReadInteger();
            if (shadow_) shadow_->SetSize(v);
        },
        nullptr, false);
}

void TChartCustomShape::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TChartCustomShape*>(&source)) {
        bevel_ = s->bevel_;
        bevelWidth_ = s->bevelWidth_;
        color_ = s->color_;
        font_->Assign(*s->font_);
        SetGradient(s->gradient_.get());
        shapeStyle_ = s->shapeStyle_;
        SetShadow(s->shadow_.get());
        textFormat_ = s->textFormat_;
        transparent_ = s->transparent_;
        transparency_ = s->transparency_;
    }
    TChartCustomShapeBrushPen::Assign(source);
}

namespace {
template <class T>
void StoreAndRepaint(TChartCustomShape& s, T& field, T v)
{
    if (StoreChanged(field, v)) s.Repaint();
}
}  // namespace

void TChartCustomShape::SetBevel(TBevelCut v) { StoreAndRepaint(*this, bevel_, v); }
void TChartCustomShape::SetBevelWidth(int v) { StoreAndRepaint(*this, bevelWidth_, v); }
void TChartCustomShape::SetShapeStyle(TChartObjectShapeStyle v) { StoreAndRepaint(*this, shapeStyle_, v); }
void TChartCustomShape::SetTextFormat(TTextFormat v) { StoreAndRepaint(*this, textFormat_, v); }
void TChartCustomShape::SetTransparency(TChartTransparency v) { StoreAndRepaint(*this, transparency_, v); }

void TChartCustomShape::SetColor(TColor v)
{
    if (parent_) parent_->SetColorProperty(color_, v);
    else color_ = v;
}

void TChartCustomShape::SetTransparent(bool v)
{
    if (parent_) parent_->SetBooleanProperty(transparent_, v);
    else transparent_ = v;
}

TChartGradient& TChartCustomShape::Gradient()
{
    if (!gradient_) gradient_ = GetGradientClass([this](TObject* s) { CanvasChanged(s); });
    return *gradient_;
}

std::unique_ptr<TChartGradient> TChartCustomShape::GetGradientClass(TNotifyEvent change)
{
    return std::make_unique<TChartGradient>(std::move(change));
}

void TChartCustomShape::SetGradient(const TChartGradient* g)
{
    if (g) Gradient().Assign(*g);
    else gradient_.reset();
}

void TChartCustomShape::SetShadow(const TChartShadow* s)
{
    if (!s) {
        shadow_.reset();
        return;
    }
    if (!shadow_) shadow_ = std::make_unique<TChartShadow>([this](TObject* o) { CanvasChanged(o); });
    shadow_->Assign(*s);
}

TFourPoints RectToFourPoints(const TRect& r, double angle)
{
    int xc, yc;
    RectCenter(r, xc, yc);
    const double a = angle * ChartPiStep, s = std::sin(a), c = std::cos(a);
    auto turn = [&](int x, int y) {
        return TPoint{int(std::nearbyint(x * c + y * s)) + xc, int(std::nearbyint(-x * s + y * c)) + yc};
    };
    const int l = r.Left - xc, rt = r.Right - xc, t = r.Top - yc, b = r.Bottom - yc;
    return {turn(l, t), turn(rt, t), turn(rt, b), turn(l, b)};
}

void TChartCustomShape::DrawShape(TCanvas3D& c, const TRect& r, int angle, int z)
{
    if (angle > 0) {
        const TFourPoints p = RectToFourPoints(r, angle);
        c.Polygon(p.data(), 4);
    } else if (c.GetSupportsFullRotation()) {
        c.RectangleWithZ(r, z);
    } else if (shapeStyle_ == fosRectangle) {
        c.Rectangle(r);
    } else {
        c.RoundRect(r.Left, r.Top, r.Right, r.Bottom, 16, 16);
    }
}

void TChartCustomShape::DrawRectRotated(const TRect& r, int angle, int z)
{
    if (transparent_ || !parent_) return;
    TCanvas3D& c = *parent_->ChartCanvas();
    TChartBlend* blend = nullptr;
    if (transparency_ > 0) {
        TRect b = r;
        if (angle != 0) {
            const TFourPoints p = RectToFourPoints(r, angle);
            b = PolygonBounds(p.data(), 4);
        }
        blend = c.BeginBlending(b, transparency_);
    }
    if (shadow_ && shadow_->Size() != 0 && Brush().Style() != bsClear) {
        if (angle == 0 && shapeStyle_ == fosRectangle) {
            c.FrontPlaneBegin();
            shadow_->Draw(c, r, z);
            c.FrontPlaneEnd();
        }
        if (transparency_ > 0) {
            int h = shadow_->HorizSize(), v = shadow_->VertSize();
            if (std::max(h, v) > 0 && Pen().Visible()) {
                h += Pen().Width();
                v += Pen().Width();
            }
            c.Pen().SetStyle(psClear);
            c.Brush().SetStyle(bsSolid);
            c.Brush().SetColor(shadow_->Color());
            TChartBlend* second = nullptr;
            const TRect moved{r.Left + h, r.Top + v, r.Right + h, r.Bottom + v};
            if (shadow_->Transparency() > 0) second = c.BeginBlending(moved, shadow_->Transparency());
            DrawShape(c, moved, angle, z);
            if (second) c.EndBlending(second);
        }
    }
    if (gradient_ && gradient_->Visible()) {
        if (angle > 0) gradient_->Draw(c, RectToFourPoints(r, angle));
        else gradient_->Draw(c, r, shapeStyle_ == fosRoundRectangle ? 16 : 0);
        c.Brush().SetStyle(bsClear);
    } else {
        c.AssignBrush(Brush(), color_);
    }
    c.AssignVisiblePen(Pen());
    DrawShape(c, r, angle, z);
    if (angle == 0) {
        TRect copy = r;
        DrawBevel(c, bevel_, copy, bevelWidth_, 0);
    }
    if (blend) c.EndBlending(blend);
}

}  // namespace chart
