#pragma once
// The surface every chart element draws on: geometry types, the abstract 2D and 3D
// canvas, and the small geometry and colour helpers of the chart engine.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace chart {

using platform::TColor;
using platform::TPoint;
using platform::TRect;

class TChartFont;
class TChartBlend;
class TChartBrush;
class TView3DOptions;
class TCustomChartGradient;

// A point or element without a colour of its own, drawn in its series' colour.
constexpr TColor clUseSeriesColor = 0x20000000;

struct TPoint3D {
    int X = 0, Y = 0, Z = 0;
    friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};
struct TFloatPoint3D {
    double X = 0, Y = 0, Z = 0;
};
using TFourPoints = std::array<TPoint, 4>;
using TPointArray = std::vector<TPoint>;
enum TCanvasBackMode { cbmNone, cbmTransparent, cbmOpaque };
using TChartTransparency = int;  // 0..100 per cent
enum TChartCanvasSurfaceStyle { tcsSolid, tcsWire, tcsDot };
enum TGradientDirection {
    gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft, gdRadial,
    gdDiagonalUp, gdDiagonalDown
};
using TChartCanvasCalcPoints =
    std::function<bool(int x, int z, TPoint3D& p0, TPoint3D& p1, TColor& c0, TColor& c1)>;

// Stores v when it differs from field; says whether it did (the store-and-repaint setters).
template <class T>
bool StoreChanged(T& field, const T& v)
{
    if (field == v) return false;
    field = v;
    return true;
}

// Degrees to radians.
extern double ChartPiStep;
extern const TRect ChartZeroRect;
extern int DarkerColorQuantity;  // left and right faces of cubes, pyramid faces
extern int DarkColorQuantity;    // top and bottom faces, caps and bases
extern int ChartDefaultConePercent;
extern int ChartNumCylinderSides;
extern int ChartFontAntiAlias;
extern bool ChartCheckPenWidth;
extern bool IsWindowsNT;

class TChartPen;
// A pen handle that draws isolated dots: every other pixel with space 0 or less, else
// dots space + 1 apart.
platform::HPEN ChartCreatePenSmallDots(TColor color, int space);
// Makes target the platform pen for a chart pen in colour: small dots, a plain pen below
// width 2, else a geometric pen whose ends and joins follow the end style (round: round;
// square: square ends, bevel joins; flat: flat ends, mitre joins).
void ChartSetChartPen(platform::TPen& target, const TChartPen& pen, TColor color, platform::HDC dc);

TPoint ChartPoint(int x, int y);
TRect ChartRectOf(int left, int top, int right, int bottom);
TPoint3D Point3D(int x, int y, int z);
// All four edges inclusive.
bool PointInRect(const TRect& r, int x, int y);
bool PointInRect(const TRect& r, TPoint p);
TRect OrientRectangle(const TRect& r);
void RectSize(const TRect& r, int& width, int& height);
void RectCenter(const TRect& r, int& x, int& y);
// Right and bottom inclusive; ChartZeroRect for no points.
TRect PolygonBounds(const TPoint* pts, int count);
inline TRect PolygonBounds(const TPointArray& pts) { return PolygonBounds(pts.data(), int(pts.size())); }
// Bounds of the first count points with right and bottom one past; count >= 1.
TRect RectFromPolygon(const TPoint* pts, int count);
TRect RectFromTriangle(TPoint p0, TPoint p1, TPoint p2);
// The three projected points turn the other way: the face is not drawn.
bool ChartCull(TPoint p0, TPoint p1, TPoint p2);
bool ChartCull(const TPoint (&p)[3]);
struct TRGBTriple {
    platform::Byte Blue = 0, Green = 0, Red = 0;
};
TRGBTriple RGBValue(TColor c);
TColor ApplyDark(TColor c, int amount);
TColor ApplyBright(TColor c, int amount);
double ChartDistance(double x, double y);
// The point d pixels back from `to` towards `from`.
TPoint PointAtDistance(TPoint from, TPoint to, int d);
void SwapDouble(double& a, double& b);
void SwapInteger(int& a, int& b);

// Raised by an operation a canvas does not implement.
class EAbstractError : public base::Exception {
public:
    using base::Exception::Exception;
};

class TChartCanvas {
public:
    TChartCanvas() = default;
    virtual ~TChartCanvas() = default;
    TChartCanvas(const TChartCanvas&) = delete;
    TChartCanvas& operator=(const TChartCanvas&) = delete;

    virtual TColor GetBackColor() = 0;
    virtual TCanvasBackMode GetBackMode() = 0;
    virtual platform::HDC GetHandle() = 0;
    virtual bool GetMonochrome() = 0;
    virtual TColor GetPixel(int x, int y) = 0;
    virtual bool GetSupportsFullRotation() = 0;
    virtual unsigned GetTextAlign() = 0;
    virtual bool GetUseBuffer() = 0;
    virtual void SetBackColor(TColor c) = 0;
    virtual void SetBackMode(TCanvasBackMode m) = 0;
    virtual void SetMonochrome(bool v) = 0;
    virtual void SetPixel(int x, int y, TColor c) = 0;
    virtual void SetTextAlign(unsigned align) = 0;
    virtual void SetUseBuffer(bool v) = 0;
    virtual void AssignVisiblePenColor(const platform::TPen& pen, TColor color);
    virtual TChartBlend* BeginBlending(const TRect& r, TChartTransparency transparency);
    virtual void EndBlending(TChartBlend* blend);
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void Donut(int xc, int yc, int xr, int yr, double startAngle, double endAngle, double holePercent) = 0;
    virtual void Draw(int x, int y, platform::TGraphic* g) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void FillRect(const TRect& r) = 0;
    virtual void Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width);
    virtual void LineTo(int x, int y) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
    virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) = 0;
    virtual void StretchDraw(const TRect& r, platform::TGraphic* g) = 0;
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text);
    virtual int TextHeight(const std::string& text);
    virtual void ClipRectangle(const TRect& r) = 0;
    virtual void ClipRectangle(const TRect& r, int cornerSize);
    virtual void ClipEllipse(const TRect& r, bool inverted = false);
    virtual void ClipPolygon(TPoint* pts, int count);
    virtual void DoHorizLine(int x0, int x1, int y) = 0;
    virtual void DoVertLine(int x, int y0, int y1) = 0;
    virtual void EraseBackground(const TRect& r) = 0;
    virtual void GradientFill(const TRect& r, TColor startColor, TColor endColor, TGradientDirection direction,
                              int balance = 50) = 0;
    virtual void Invalidate() = 0;
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    virtual void Polyline(const TPoint* pts, int count) = 0;
    virtual void Polygon(const TPoint* pts, int count) = 0;
    virtual void RotateLabel(int x, int y, const std::string& text, double angle) = 0;
    virtual void UnClipRectangle() = 0;

    void SetCanvas(platform::TCanvas* c);
    platform::TCanvas* ReferenceCanvas() const { return canvas_; }
    platform::TFont& Font() { return *font_; }
    platform::TPen& Pen() { return *pen_; }
    platform::TBrush& Brush() { return *brush_; }
    void ResetState();
    void AssignBrush(TChartBrush& brush, TColor color);
    void AssignBrushColor(TChartBrush& brush, TColor color, TColor backColor);
    void AssignVisiblePen(const platform::TPen& pen) { AssignVisiblePenColor(pen, pen.Color()); }
    void AssignFont(TChartFont& font);
    TChartFont* AssignedFont() const { return assignedFont_; }
    int GetFontHeight() { return TextHeight("W"); }
    void InternalDark(TColor c, int amount);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void DoRectangle(const TRect& r) { Rectangle(r); }
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(const TRect& r, int x, int y) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, x, y); }
    void Line(TPoint a, TPoint b) { Line(a.X, a.Y, b.X, b.Y); }
    void Polyline(const TPointArray& p) { Polyline(p.data(), int(p.size())); }
    void Polygon(const TPointArray& p) { Polygon(p.data(), int(p.size())); }
    static bool ConvexHull(TPointArray& pts);

    bool Metafiling = false;  // drawing into a metafile: no blending
    int FontZoom() const { return fontZoom_; }
    const TRect& Bounds() const { return bounds_; }

    // The small-dots spacing of the pen last assigned, -1 when it draws normally.
    int SmallDotsSpace() const { return pen_ && pen_->Style() == platform::psDot ? smallDots_ : -1; }
    int ClipDepth() const { return clipDepth_; }

protected:
    // Intersects the clip with rgn (device coordinates, freed here), keeping the clip
    // before it; UnClipRectangle restores that.
    void PushClip(platform::HRGN rgn);

    platform::TCanvas* canvas_ = nullptr;
    int smallDots_ = -1;
    int clipDepth_ = 0;
    platform::TFont* font_ = nullptr;
    platform::TPen* pen_ = nullptr;
    platform::TBrush* brush_ = nullptr;
    int transparency_ = 0;
    TRect bounds_;
    TChartFont* assignedFont_ = nullptr;
    double fontZoomD_ = 100;
    int fontZoom_ = 100;
};

// Clipping of a platform canvas. A clip intersects the clipping in force with its region
// (logical coordinates, converted to device ones) and keeps the clipping before it;
// UnClipCanvas brings that back, or removes all clipping when no clip is kept. Clips nest.
void ClipCanvas(platform::TCanvas& canvas, const TRect& r);
void UnClipCanvas(platform::TCanvas& canvas);
// The chart canvas's own clip operations, not inverted.
void ClipEllipse(TChartCanvas& canvas, const TRect& r);
void ClipRoundRectangle(TChartCanvas& canvas, const TRect& r, int size);
void ClipPolygon(TChartCanvas& canvas, TPoint* pts, int count);

class TCanvas3D : public TChartCanvas {
public:
    virtual TColor GetPixel3D(int x, int y, int z) = 0;
    virtual bool GetSupports3DText() = 0;
    virtual void SetPixel3D(int x, int y, int z, TColor c) = 0;
    virtual void Calculate2DPosition(int& x, int& y, int z) = 0;
    virtual TPoint Calculate3DPosition(int x, int y, int z) = 0;
    virtual TRect InitWindow(platform::TCanvas* dest, TView3DOptions* options, TColor backColor, bool is3D,
                             const TRect& userRect) = 0;
    virtual void Assign(TCanvas3D& other) { SetMonochrome(other.GetMonochrome()); }
    virtual void Projection(int maxDepth, const TRect& bounds, const TRect& r) = 0;
    virtual void ShowImage(platform::TCanvas* dest, platform::TCanvas* defaultCanvas, const TRect& userRect) = 0;
    virtual bool ReDrawBitmap() = 0;
    virtual void Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z,
                       double shaftPercent) = 0;
    virtual void ClipCube(const TRect& r, int minZ, int maxZ) = 0;
    virtual void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                      int conePercent) = 0;
    virtual void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
    virtual void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                          bool darkSides) = 0;
    virtual void DisableRotation() {}
    virtual void EllipseWithZ(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void EnableRotation() {}
    virtual void HorizLine3D(int left, int right, int y, int z) = 0;
    virtual void VertLine3D(int x, int top, int bottom, int z) = 0;
    virtual void ZLine3D(int x, int y, int z0, int z1) = 0;
    void FrontPlaneBegin();
    void FrontPlaneEnd();
    virtual void LineWithZ(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void MoveTo3D(int x, int y, int z) = 0;
    virtual void LineTo3D(int x, int y, int z) = 0;
    virtual void Pie3D(int xc, int yc, int xr, int yr, int z0, int z1, double startAngle, double endAngle,
                       bool darkSides, bool drawSides, int donutPercent = 0,
                       TCustomChartGradient* gradient = nullptr) = 0;
    virtual void Plane3D(TPoint a, TPoint b, int z0, int z1) = 0;
    virtual void PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) = 0;
    virtual void PlaneFour3D(TFourPoints& pts, int z0, int z1) = 0;
    virtual void PolygonWithZ(const TPoint* pts, int count, int z) = 0;
    virtual void Polyline(const TPoint* pts, int count, int z) = 0;
    virtual void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                         bool darkSides) = 0;
    virtual void PyramidTrunc(const TRect& r, int startZ, int endZ, int truncX, int truncZ) = 0;
    virtual void RectangleWithZ(const TRect& r, int z) = 0;
    virtual void RectangleY(int left, int top, int right, int z0, int z1) = 0;
    virtual void RectangleZ(int left, int top, int bottom, int z0, int z1) = 0;
    virtual void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) = 0;
    virtual void Sphere(int x, int y, int z, double radius) = 0;
    virtual void Surface3D(TChartCanvasSurfaceStyle style, bool sameBrush, int numX, int numZ,
                           const TChartCanvasCalcPoints& calc) = 0;
    virtual void TextOut3D(int x, int y, int z, const std::string& text) = 0;
    virtual void Triangle3D(const TPoint3D (&p)[3], const TColor (&colors)[3]) = 0;
    virtual void TriangleWithZ(TPoint p1, TPoint p2, TPoint p3, int z) = 0;

    using TChartCanvas::Polyline;
    using TChartCanvas::Rectangle;
    using TChartCanvas::StretchDraw;
    void Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z)
    {
        Arrow(filled, from, to, headWidth, headLength, z, 50);
    }
    TPoint Calculate3DPosition(const TPoint3D& p) { return Calculate3DPosition(p.X, p.Y, p.Z); }
    TPoint Calculate3DPosition(TPoint p, int z) { return Calculate3DPosition(p.X, p.Y, z); }
    TRect CalcRect3D(const TRect& r, int z);
    TFourPoints FourPointsFromRect(const TRect& r, int z);
    TRect RectFromRectZ(const TRect& r, int z);
    void Cube(const TRect& r, int z0, int z1, bool darkSides) { Cube(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides); }
    void LineWithZ(TPoint a, TPoint b, int z) { LineWithZ(a.X, a.Y, b.X, b.Y, z); }
    void MoveTo3D(const TPoint3D& p) { MoveTo3D(p.X, p.Y, p.Z); }
    void LineTo3D(const TPoint3D& p) { LineTo3D(p.X, p.Y, p.Z); }
    void PlaneWithZ(const TFourPoints& p, int z) { PlaneWithZ(p[0], p[1], p[2], p[3], z); }
    void Rectangle(const TRect& r, int z) { RectangleWithZ(r, z); }
    void Rectangle(int left, int top, int right, int bottom, int z) { RectangleWithZ({left, top, right, bottom}, z); }
    void RotatedEllipse(int left, int top, int right, int bottom, int z, double angle);
    void StretchDraw(const TRect& r, platform::TGraphic* g, int z);
    static void CalcPieAngles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, double& startAngle,
                              double& endAngle);

    virtual bool Is3D() const { return false; }
    TView3DOptions* View3DOptions() const { return options_; }
    int RotationDisabled() const { return rotationDisabled_; }
    TFloatPoint3D RotationCenter;
    int XCenter = 0, YCenter = 0, ZCenter = 0;

protected:
    TView3DOptions* options_ = nullptr;
    int rotationDisabled_ = 0;
    bool orthogonal_ = false;
};

}  // namespace chart
