#pragma once
// Framed boxes: a rectangle, rounded rectangle or rotated quadrilateral filled with a
// colour or a gradient, outlined, with an optional shadow, bevel and transparency.
#include <memory>

#include "widgets/chart/ChartCanvas.h"
#include "widgets/chart/ChartPanel.h"

namespace chart {

class TChartBrush;
class TChartPen;
class TChartFont;
class TChartShadow;
class TChartGradient;

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle };
enum TTextFormat { ttfNormal, ttfHtml };

class TChartCustomShapeBrushPen : public platform::TPersistent {
public:
    explicit TChartCustomShapeBrushPen(TCustomChartPanel* parent);
    ~TChartCustomShapeBrushPen() override;
    void Assign(const platform::TPersistent& source) override;

    TChartBrush& Brush() { return *brush_; }
    TChartPen& Pen() { return *pen_; }
    TChartPen& Frame() { return *pen_; }
    TCustomChartPanel* Parent() const { return parent_; }
    virtual void SetParent(TCustomChartPanel* p) { parent_ = p; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void Repaint();
    void CanvasChanged(platform::TObject*) { Repaint(); }

protected:
    TCustomChartPanel* parent_ = nullptr;

private:
    std::unique_ptr<TChartBrush> brush_;
    std::unique_ptr<TChartPen> pen_;
    bool visible_ = true;
};

class TChartCustomShape : public TChartCustomShapeBrushPen {
public:
    explicit TChartCustomShape(TCustomChartPanel* parent);
    ~TChartCustomShape() override;
    void Assign(const platform::TPersistent& source) override;

    TBevelCut Bevel() const { return bevel_; }
    void SetBevel(TBevelCut v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TChartFont& Font() { return *font_; }
    TChartShadow* Shadow() { return shadow_.get(); }
    void SetShadow(const TChartShadow* s);
    // The shadow's colour and size; the shape must have a shadow.
    TColor ShadowColor() const;
    void SetShadowColor(TColor v);
    int ShadowSize() const;
    void SetShadowSize(int v);
    // The old "ShadowColor" and "ShadowSize" entries are read into the shadow.
    void DefineProperties(platform::TFiler* Filer) override;
    TChartObjectShapeStyle ShapeStyle() const { return shapeStyle_; }
    void SetShapeStyle(TChartObjectShapeStyle v);
    TTextFormat TextFormat() const { return textFormat_; }
    void SetTextFormat(TTextFormat v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool DefaultTransparent = false;
    TChartGradient& Gradient();
    bool HasGradient() const { return gradient_ != nullptr; }
    void SetGradient(const TChartGradient* g);
    TChartTransparency Transparency() const { return transparency_; }
    void SetTransparency(TChartTransparency v);
    TRect ShapeBounds;
    int Width() const { return ShapeBounds.Right - ShapeBounds.Left + 1; }
    int Height() const { return ShapeBounds.Bottom - ShapeBounds.Top + 1; }
    void SetWidth(int v) { ShapeBounds.Right = ShapeBounds.Left + v - 1; }
    void SetHeight(int v) { ShapeBounds.Bottom = ShapeBounds.Top + v - 1; }

    void Draw() { DrawRectRotated(ShapeBounds, 0, 0); }
    void DrawRectRotated(const TRect& r, int angle = 0, int z = 0);

protected:
    virtual void InitShadow(TChartShadow& s);
    // A new gradient of the shape's own gradient class, telling change of its changes.
    virtual std::unique_ptr<TChartGradient> GetGradientClass(platform::TNotifyEvent change);

private:
    void DrawShape(TCanvas3D& c, const TRect& r, int angle, int z);
    TBevelCut bevel_ = bvNone;
    int bevelWidth_ = 2;
    TColor color_ = platform::clWhite;
    std::unique_ptr<TChartFont> font_;
    std::unique_ptr<TChartShadow> shadow_;
    TChartObjectShapeStyle shapeStyle_ = fosRectangle;
    TTextFormat textFormat_ = ttfNormal;
    bool transparent_ = false;
    std::unique_ptr<TChartGradient> gradient_;
    TChartTransparency transparency_ = 0;
};

class TChartShape : public TChartCustomShape {
public:
    using TChartCustomShape::TChartCustomShape;
};

// The corners of r turned by angle degrees about its centre: top-left, top-right,
// bottom-right, bottom-left.
TFourPoints RectToFourPoints(const TRect& r, double angle);

}  // namespace chart
