#pragma once
// The chart canvas on the platform's GDI: an off-screen buffer copied to the window in
// one transfer, text with shadows, the 2D primitives, clipping, the 3D projection,
// gradient fills and solid shapes.
#include <memory>

#include "widgets/chart/ChartCanvas.h"

namespace chart {

class TChartCanvas3D : public TCanvas3D {
public:
    TChartCanvas3D();
    ~TChartCanvas3D() override;

    // TChartCanvas
    TColor GetBackColor() override;
    TCanvasBackMode GetBackMode() override;
    platform::HDC GetHandle() override;
    bool GetMonochrome() override { return monochrome_; }
    TColor GetPixel(int x, int y) override;
    bool GetSupportsFullRotation() override { return false; }
    unsigned GetTextAlign() override;
    bool GetUseBuffer() override { return buffered_; }
    void SetBackColor(TColor c) override;
    void SetBackMode(TCanvasBackMode m) override;
    void SetMonochrome(bool v) override;
    void SetPixel(int x, int y, TColor c) override;
    void SetTextAlign(unsigned align) override;
    void SetUseBuffer(bool v) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Donut(int xc, int yc, int xr, int yr, double startAngle, double endAngle, double holePercent) override;
    void Draw(int x, int y, platform::TGraphic* g) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& r) override;
    void LineTo(int x, int y) override;
    void MoveTo(int x, int y) override;
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) override;
    void StretchDraw(const TRect& r, platform::TGraphic* g) override;
    void TextOut(int x, int y, const std::string& text) override;
    void ClipRectangle(const TRect& r) override;
    using TChartCanvas::ClipRectangle;
    void DoHorizLine(int x0, int x1, int y) override;
    void DoVertLine(int x, int y0, int y1) override;
    void EraseBackground(const TRect& r) override { FillRect(r); }
    void GradientFill(const TRect& r, TColor startColor, TColor endColor, TGradientDirection direction,
                      int balance = 50) override;
    void Invalidate() override { dirty_ = true; }
    void Line(int x0, int y0, int x1, int y1) override;
    void Polyline(const TPoint* pts, int count) override;
    void Polygon(const TPoint* pts, int count) override;
    void RotateLabel(int x, int y, const std::string& text, double angle) override;
    // Takes back the latest clip of this canvas; nothing when none is in force.
    void UnClipRectangle() override;
    using TChartCanvas::Ellipse;
    using TChartCanvas::Line;
    using TChartCanvas::Polygon;
    using TCanvas3D::Polyline;
    using TCanvas3D::Rectangle;
    using TChartCanvas::RoundRect;
    using TCanvas3D::StretchDraw;

    // TCanvas3D
    TColor GetPixel3D(int x, int y, int z) override;
    bool GetSupports3DText() override { return false; }
    void SetPixel3D(int x, int y, int z, TColor c) override;
    void Calculate2DPosition(int& x, int& y, int z) override;
    TPoint Calculate3DPosition(int x, int y, int z) override;
    using TCanvas3D::Calculate3DPosition;
    TRect InitWindow(platform::TCanvas* dest, TView3DOptions* options, TColor backColor, bool is3D,
                     const TRect& userRect) override;
    void Projection(int maxDepth, const TRect& bounds, const TRect& r) override;
    void ShowImage(platform::TCanvas* dest, platform::TCanvas* defaultCanvas, const TRect& userRect) override;
    bool ReDrawBitmap() override;
    void Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z,
               double shaftPercent) override;
    using TCanvas3D::Arrow;
    void ClipCube(const TRect& r, int minZ, int maxZ) override;
    void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
              int conePercent) override;
    void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
    using TCanvas3D::Cube;
    void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
    void DisableRotation() override;
    void EllipseWithZ(int x1, int y1, int x2, int y2, int z) override;
    void EnableRotation() override;
    void HorizLine3D(int left, int right, int y, int z) override;
    void VertLine3D(int x, int top, int bottom, int z) override;
    void ZLine3D(int x, int y, int z0, int z1) override;
    void LineWithZ(int x0, int y0, int x1, int y1, int z) override;
    using TCanvas3D::LineWithZ;
    void MoveTo3D(int x, int y, int z) override;
    void LineTo3D(int x, int y, int z) override;
    using TCanvas3D::LineTo3D;
    using TCanvas3D::MoveTo3D;
    void Pie3D(int xc, int yc, int xr, int yr, int z0, int z1, double startAngle, double endAngle, bool darkSides,
               bool drawSides, int donutPercent = 0, TCustomChartGradient* gradient = nullptr) override;
    void Plane3D(TPoint a, TPoint b, int z0, int z1) override;
    void PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) override;
    using TCanvas3D::PlaneWithZ;
    void PlaneFour3D(TFourPoints& pts, int z0, int z1) override;
    void PolygonWithZ(const TPoint* pts, int count, int z) override;
    void Polyline(const TPoint* pts, int count, int z) override;
    void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
    void PyramidTrunc(const TRect& r, int startZ, int endZ, int truncX, int truncZ) override;
    void RectangleWithZ(const TRect& r, int z) override;
    void RectangleY(int left, int top, int right, int z0, int z1) override;
    void RectangleZ(int left, int top, int bottom, int z0, int z1) override;
    void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) override;
    void Sphere(int x, int y, int z, double radius) override;
    void Surface3D(TChartCanvasSurfaceStyle, bool, int, int, const TChartCanvasCalcPoints&) override {}
    void TextOut3D(int x, int y, int z, const std::string& text) override;
    void Triangle3D(const TPoint3D (&p)[3], const TColor (&colors)[3]) override;
    void TriangleWithZ(TPoint p1, TPoint p2, TPoint p3, int z) override;

    // Added operations.
    void PolygonFour();
    void DeleteBitmap();
    void TransferBitmap(int x, int y, platform::TCanvas* canvas);

    platform::TBitmap* Bitmap() const { return buffer_.get(); }
    bool Dirty() const { return dirty_; }
    bool Is3D() const override { return is3D_; }
    int XCenterOffset() const { return xo_; }
    int YCenterOffset() const { return yo_; }
    TFourPoints FourPoints;

    // Projection without rounding the inputs; writes nothing in 2D.
    void Calc3DPoint(TPoint& p, double x, double y, int z);
    void Calc3DPos(int& x, int& y, int z);
    void Calc3DTPoint(TPoint& p, int z) { Calc3DPos(p.X, p.Y, z); }
    TPoint Calc3DTPoint3D(const TPoint3D& p) { return Calculate3DPosition(p.X, p.Y, p.Z); }
    TPointArray Calc3DPoints(const TPoint* pts, int count, int z);

private:
    void CalcTrigValues();
    void CalcPerspective(const TRect& r);
    long double PerspectiveScale(long double w, long double yp) const;
    void DottedLine(TPoint a, TPoint b, int& phase);
    void InternalCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                          int conePercent);
    void GetCirclePoints(TPoint (&pts)[64], int x1, int y1, int x2, int y2, int z);
    TColor BaseColor();
    void SetBaseColor(TColor c);
    void ZoomedTextOut(int x, int y, const std::string& text, int escapement);
    void DrawTextAt(int x, int y, const std::string& text);
    void DrawStyledText(int x, int y, const std::string& text, bool outline, bool gradient);
    TRect TextRectAt(int x, int y, const std::string& text);

    std::unique_ptr<platform::TBitmap> buffer_;
    int dotPhase_ = 0;
    platform::TCanvas* defaultTarget_ = nullptr;
    bool dirty_ = true, monochrome_ = false, buffered_ = true, is3D_ = false, wasIs3D_ = false;
    bool zoomText_ = true, hasPerspective_ = false, hasTilt_ = false;
    int xo_ = 0, yo_ = 0;
    double ox_ = 1, oy_ = 1, k_ = 1, persp_ = 0;
    long double s1_ = 0, c1_ = 1, s2_ = 0, c2_ = 1, s3_ = 0, c3_ = 1;
    double a_ = 0, b_ = 1, xx_ = 1, yx_ = 0, xz_ = 0, yz_ = 0;
};

}  // namespace chart
