#pragma once
// The plot control: point series in world coordinates over a background, grid,
// axes and numbers, drawn into an off-screen bitmap and copied to the screen.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/graphics/PictureFile.h"
#include "widgets/plot/PlotData.h"

namespace plot {

class TExprParser;
class TEGHintForm;
class TEGLegendList;
class TZoomThread;

enum TBgStyle : std::uint8_t { bgsSolid, bgsLineHoriz, bgsLineVert, bgsImageStretch, bgsImageTile, bgsImageMap };
enum TBorderStyle : std::uint8_t { bstNone, bstSingle, bstRaised, bstLowered };
enum TGridStyle : std::uint8_t { gsNone, gsXAxis, gsYAxis, gsAxises, gsXGrid, gsYGrid, gsFull };
enum TMouseAction : std::uint8_t { maNone, maRight, maShift, maCtrl, maAlt };
enum TEGQuadrant : std::uint8_t { egqAll, egqFirst, egqSecond, egqThird, egqFourth, egqRight, egqLeft };

// The handler writes the text shown for Val into Lbl, which arrives empty.
using TEGLabelingEvent = std::function<void(platform::TObject* Sender, Extended Val, std::string& Lbl)>;
using TEGHintUpdateEvent = std::function<void(platform::TObject* Sender, int X, int Y, int SeriesIndex)>;

// Round half to even and Trunc, as the world-to-pixel mapping uses them; results
// beyond the 32-bit range are clamped, NaN gives 0.
int RoundEven(Extended v);
int TruncInt(Extended v);
// Axis ticks: the step for N (10000, 5000, 1000, 500, ... while the doubled or
// quintupled count stays below N) and the first tick from the axis minimum lo.
Extended TickStep(int N);
Extended FirstTick(Extended lo, Extended step);
// Decimals that the axis numbers need for a tick step: three, or more for a step that
// has more, so that neighbouring numbers differ.
int StepDecimals(Extended step);
// An axis number with that many decimals; the exponent form from kExponentFrom on,
// where fixed digits stop meaning anything.
constexpr Extended kExponentFrom = 1e16L;
std::string AxisNumber(Extended v, int decimals);

class TPlotGraph : public platform::TGraphicControl {
public:
    explicit TPlotGraph(platform::TComponent* AOwner);
    ~TPlotGraph() override;

    void Paint() override;
    // Without a canvas: into the off-screen bitmap, clearing dirty. With one: into it,
    // without background.
    void Render(platform::TCanvas* Canvas);
    void AdjustZoom(TRect2D& R) const;
    void SaveAsBmp(const std::string& FileName);  // write failures propagate
    void CopyToClipboard();
    // False (WX, WY untouched) outside the plot rectangle; right and bottom edges are outside.
    bool GetGraphCoords(int X, int Y, Extended& WX, Extended& WY) const;
    void BeginUpdate();
    void EndUpdate();
    void SeriesChange(TSeries& Sender);
    void PointsChanged(TPoints& Sender);

    // Mapping with the current plot rectangle and VisRect (Round, half to even).
    int WorldToPixelX(Extended x) const;
    int WorldToPixelY(Extended y) const;
    // Left, Top, Right, Bottom in pixels, set by each render; Right and Bottom are
    // the last columns and rows of the plot.
    const platform::TRect& PlotRect() const { return plot_; }
    bool Dirty() const { return dirty_; }
    platform::DWORD LastRenderTime() const { return lastRenderTime_; }
    // The off-screen picture, null before the first render.
    platform::TBitmap* Bitmap() const { return bitmap_.get(); }
    // The picture of a gradient or image background; none for a solid one.
    platform::TBitmap* BackgroundBitmap() const { return background_.get(); }

    TSeries& Series() const { return *series_; }
    void SetSeries(TSeries* Value);
    const TRect2D& VisRect() const { return visRect_; }
    void SetVisRect(const TRect2D& R);
    const TRect2D& BgImageRect() const { return bgImageRect_; }
    void SetBgImageRect(const TRect2D& R);

    Extended AspectRatio() const { return aspectRatio_; }
    void SetAspectRatio(Extended Value);
    const std::string& AxisXLabel() const { return axisXLabel_; }
    void SetAxisXLabel(const std::string& Value) { axisXLabel_ = Value; }
    const std::string& AxisYLabel() const { return axisYLabel_; }
    void SetAxisYLabel(const std::string& Value) { axisYLabel_ = Value; }
    const std::string& BgImage() const { return bgImage_; }
    void SetBgImage(const std::string& Value);
    // Why BgImage cannot be shown (empty when it can): the file is read now when it is
    // new or has changed since, and the next render uses what was read.
    std::string BgImageError();
    TBgStyle BgStyle() const { return bgStyle_; }
    void SetBgStyle(TBgStyle Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    platform::TColor ColorXAxis() const { return colorXAxis_; }
    void SetColorXAxis(platform::TColor Value);
    platform::TColor ColorYAxis() const { return colorYAxis_; }
    void SetColorYAxis(platform::TColor Value);
    platform::TColor ColorBg() const { return colorBg_; }
    void SetColorBg(platform::TColor Value);
    platform::TColor ColorBg2() const { return colorBg2_; }
    void SetColorBg2(platform::TColor Value);
    platform::TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(platform::TColor Value);
    platform::TColor ColorGrid() const { return colorGrid_; }
    void SetColorGrid(platform::TColor Value);
    platform::TColor ColorNumb() const { return colorNumb_; }
    void SetColorNumb(platform::TColor Value);
    bool DontZoom() const { return dontZoom_; }
    void SetDontZoom(bool Value) { dontZoom_ = Value; }
    TBorderStyle GraphBorder() const { return graphBorder_; }
    void SetGraphBorder(TBorderStyle Value);
    TGridStyle GridStyle() const { return gridStyle_; }
    void SetGridStyle(TGridStyle Value);
    bool MaintainRatio() const { return maintainRatio_; }
    void SetMaintainRatio(bool Value) { maintainRatio_ = Value; }
    TMouseAction MousePan() const { return mousePan_; }
    void SetMousePan(TMouseAction Value) { mousePan_ = Value; }
    TMouseAction MouseZoom() const { return mouseZoom_; }
    void SetMouseZoom(TMouseAction Value) { mouseZoom_ = Value; }
    TMouseAction MouseFuncHint() const { return mouseFuncHint_; }
    void SetMouseFuncHint(TMouseAction Value) { mouseFuncHint_ = Value; }
    bool NumbHoriz() const { return numbHoriz_; }
    void SetNumbHoriz(bool Value);
    bool NumbVert() const { return numbVert_; }
    void SetNumbVert(bool Value);
    TEGQuadrant Quadrant() const { return quadrant_; }
    void SetQuadrant(TEGQuadrant Value);
    int ZoomTime() const { return zoomTime_; }
    void SetZoomTime(int Value) { zoomTime_ = Value; }
    const TEGLabelingEvent& OnXLabeling() const { return onXLabeling_; }
    void SetOnXLabeling(TEGLabelingEvent Value);
    const TEGLabelingEvent& OnYLabeling() const { return onYLabeling_; }
    void SetOnYLabeling(TEGLabelingEvent Value);

    // Mouse zoom, pan, value hint and zoom animation (PlotInteraction.cpp).
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void WndProc(platform::TMessage& Message) override;
    void LineRect(int X1, int Y1, int X2, int Y2);
    void GraphZoom();
    void CalculateHint();
    void MyWndProc(platform::TMessage& Message);
    TZoomThread* ZoomThread() const { return zoomThread_; }
    TEGHintForm* HintForm();
    TEGLegendList* LegendList() const { return legend_; }

    platform::TNotifyEvent OnChange, OnVisChange;
    TEGHintUpdateEvent OnHintUpdate;

protected:
    // A notice: dirty, OnChange and a repaint (the repaint first when asked).
    void Notice(bool repaintFirst = false);
    void RequestRepaint();
    void RaiseVisChange();
    TExprParser& Evaluator() { return *evaluator_; }
    std::string XLabel(Extended v, int decimals = 3) const;
    std::string YLabel(Extended v, int decimals = 3) const;

    bool dirty_ = true;
    platform::TRect plot_{0, 0, 0, 0};
    TRect2D visRect_{-10, -10, 10, 10};

    // The ticks of each axis with their pixel position and number (empty when the
    // axis shows none): the vertical one for the plot rectangle and a range, the
    // horizontal one for the plot rectangle and VisRect.
    struct Tick {
        Extended value;
        int pos;
        std::string text;
    };
    std::vector<Tick> YTicks(const TRect2D& r, int textHeight) const;
    std::vector<Tick> XTicks(platform::TCanvas& measure) const;

private:
    void Draw(platform::TCanvas& target, platform::TCanvas& measure);
    void DrawSeries(platform::TCanvas& target, platform::TCanvas& measure);
    platform::TRect SeriesClip() const;
    void DrawFunction(platform::TCanvas& target, TPoints& s);
    void DrawPointLines(platform::TCanvas& target, TPoints& s, std::vector<platform::TPoint>& line);
    void DrawPointSymbols(platform::TCanvas& target, platform::TCanvas& measure, TPoints& s);
    void DrawBackground(platform::TCanvas& target);
    void DrawGradient();
    platform::TCanvas& MeasureCanvas();

    std::unique_ptr<TSeries> ownSeries_;
    TSeries* series_ = nullptr;
    std::unique_ptr<TExprParser> evaluator_;
    std::unique_ptr<platform::TBitmap> bitmap_;
    std::unique_ptr<platform::TBitmap> background_;
    platform::TPictureFileCache bgPicture_;  // BgImage, read again only when its file changes
    TRect2D bgImageRect_{-1, -1, 1, 1};
    Extended aspectRatio_ = 1;
    std::string axisXLabel_, axisYLabel_, bgImage_;
    TBgStyle bgStyle_ = bgsSolid;
    TBorderStyle borderStyle_ = bstNone;
    platform::TColor colorXAxis_ = platform::clBlack, colorYAxis_ = platform::clBlack;
    platform::TColor colorBg_ = platform::clBtnFace, colorBg2_ = platform::clBtnShadow;
    platform::TColor colorBorder_ = platform::clBlack, colorGrid_ = platform::clGray;
    platform::TColor colorNumb_ = platform::clBlack;
    bool dontZoom_ = false;
    TBorderStyle graphBorder_ = bstLowered;
    TGridStyle gridStyle_ = gsFull;
    bool maintainRatio_ = false;
    TMouseAction mousePan_ = maRight, mouseZoom_ = maRight, mouseFuncHint_ = maShift;
    bool numbHoriz_ = true, numbVert_ = true;
    TEGQuadrant quadrant_ = egqAll;
    int zoomTime_ = 200;
    TEGLabelingEvent onXLabeling_, onYLabeling_;
    bool bgReload_ = true;
    int colorDepth_ = 0;
    platform::DWORD lastRenderTime_ = 0;
    int updateCount_ = 0;

    // Mouse interaction, hint, animation and legend (PlotInteraction.cpp).
    friend class TZoomThread;
    friend class TEGLegendList;
    bool InPlot(int X, int Y) const;
    void ShowBand(bool show);
    void DrawBand();
    void ApplyZoomTarget(const TRect2D& Target);
    bool SeriesRowAt(const TPoints& s, int c, Extended cursorY, int& row, bool& verticalHit);
    void UpdateLegend();
    void ReleaseInteraction();
    unsigned mouseActions_ = 0;
    int moveCount_ = 0;
    platform::TPoint lastPos_;
    platform::TRect band_;
    bool bandShown_ = false;
    platform::TRect bandDrawn_;
    platform::TWinControl* captureWindow_ = nullptr;
    bool captureDone_ = false;
    TZoomThread* zoomThread_ = nullptr;
    TEGHintForm* hintForm_ = nullptr;
    TEGLegendList* legend_ = nullptr;
};

}  // namespace plot
