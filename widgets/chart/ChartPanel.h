#pragma once
// The window a chart is drawn on: its canvas, 3D options, border, margins, listeners
// and colour palette; the extended panel adds the background, bevels, back image and
// the zoom and panning settings.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Streaming.h"
#include "platform/controls/Controls.h"
#include "widgets/chart/ChartCanvas.h"
#include "widgets/chart/ChartPen.h"

namespace platform {
class TMetafile;
class TPicture;
}  // namespace platform

namespace chart {

class TChartCanvas3D;
class TChartHiddenPen;
class TChartShadow;
class TChartGradient;
class TChartPen;
class TChartBrush;
class TCustomChartPanel;

enum TChartUnits { muPercent, muPixels };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TChartMouseEventKind { meDown, meUp, meMove };

struct TChartEvent {
    virtual ~TChartEvent() = default;
    TCustomChartPanel* Sender = nullptr;
};
struct TChartMouseMessage : TChartEvent {
    TChartMouseEventKind Event = meDown;
    platform::TMouseButton Button = platform::mbLeft;
    platform::TShiftState Shift = 0;
    int X = 0, Y = 0;
};
struct TChartView3DEvent : TChartEvent {};

class IChartEventListener {
public:
    virtual ~IChartEventListener() = default;
    virtual void ReceiveChartEvent(TChartEvent& event) = 0;
};

// Listeners that the list does not own.
class TChartEventListeners {
public:
    int Add(IChartEventListener* l);
    int Remove(IChartEventListener* l);
    IChartEventListener* Get(int i) const { return items_[std::size_t(i)]; }
    int Count() const { return int(items_.size()); }

private:
    std::vector<IChartEventListener*> items_;
};

using TColorArray = std::vector<TColor>;
extern TColorArray ColorPalette;
extern bool ChartClipWhenPrinting, ChartClipWhenMetafiling, ChartEraseBack, PrintChartPanel;
TColor GetDefaultColor(int index);
class TCanvas3D;
// The device's width in millimetres over its height; 0 when the height is 0.
double ScreenRatio(TCanvas3D& canvas);
void SetDefaultColorPalette();
void SetDefaultColorPalette(const TColorArray& colours);

class TZoomPanning {
public:
    virtual ~TZoomPanning() = default;
    bool Active = false;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    void Activate(int x, int y);
    void Check();
};

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TChartZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };

// The zoom rectangle's frame: white.
class TChartZoomPen : public TChartPen {
public:
    TChartZoomPen();
};

// The zoom rectangle's fill: white, not filled.
class TChartZoomBrush : public TChartBrush {
public:
    TChartZoomBrush();
};

class TChartZoom : public TZoomPanning {
public:
    TChartZoom();
    ~TChartZoom() override;
    void Assign(const TChartZoom& source);
    bool Allow = true;
    bool Animated = false;
    int AnimatedSteps = 8;
    TChartZoomDirection Direction = tzdBoth;
    platform::TShiftState KeyShift = 0;
    int MinimumPixels = 16;
    platform::TMouseButton MouseButton = platform::mbLeft;
    bool UpLeftZooms = false;
    TChartZoomBrush* Brush();
    TChartZoomPen* Pen();
    bool HasBrush() const { return brush_ != nullptr; }

private:
    std::unique_ptr<TChartZoomBrush> brush_;
    std::unique_ptr<TChartZoomPen> pen_;
};

class TCustomChartPanel : public platform::TCustomControl, public platform::IStreamReadHooks {
public:
    explicit TCustomChartPanel(platform::TComponent* owner);
    ~TCustomChartPanel() override;

    // The panel's own bevels and colour (the platform panel's properties).
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v) { SetIntegerProperty(bevelWidth_, v); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v) { SetIntegerProperty(borderWidth_, v); }

    bool SeparateDepths = true;
    bool RepaintEnabled() const { return repaintEnabled_; }
    void SetRepaintEnabled(bool v) { repaintEnabled_ = v; }
    TChartHiddenPen& Border() { return *border_; }
    int BorderRound() const { return borderRound_; }
    void SetBorderRound(int v);
    bool MouseCancelled = false;
    TRect DrawBounds;
    int ChartRectWidth = 0, ChartRectHeight = 0, ChartRectCenterX = 0, ChartRectCenterY = 0;
    platform::TCanvas* ControlCanvas = nullptr;
    int Rise3D = 0;
    int Margin(int index) const { return margins_[index]; }
    void SetMargin(int index, int v) { SetIntegerProperty(margins_[index], v); }
    int MarginLeft() const { return margins_[0]; }
    int MarginTop() const { return margins_[1]; }
    int MarginRight() const { return margins_[2]; }
    int MarginBottom() const { return margins_[3]; }
    void SetMarginLeft(int v) { SetMargin(0, v); }
    void SetMarginTop(int v) { SetMargin(1, v); }
    void SetMarginRight(int v) { SetMargin(2, v); }
    void SetMarginBottom(int v) { SetMargin(3, v); }
    TChartUnits MarginUnits() const { return marginUnits_; }
    void SetMarginUnits(TChartUnits u);
    TZoomPanning Panning;
    bool IsPrinting = false;
    int PrintMargins[4] = {15, 15, 15, 15};
    bool PrintProportional = true;
    int PrintDetail = 0;
    TChartShadow& Shadow() { return *shadow_; }
    bool View3D() const { return view3D_; }
    void SetView3D(bool v);
    TView3DOptions& View3DOptions() { return *view3DOptions_; }
    int Depth3D = 0;
    TChartEventListeners Listeners;
    TCanvas3D* ChartCanvas() const { return canvas_.get(); }
    TRect ChartRect;
    // True while the chart is read from a stream: cross-property checks are skipped.
    bool Loading = false;

    // Streams of older forms may hold "BorderStyle" (read only: bsSingle shows the border).
    void GetPublished(platform::TPropertyList& L) override;
    // Loading follows the stream's loading state.
    void LoadingChanged(bool loading) override { Loading = loading; }
    void DefineProperties(platform::TFiler* Filer) override;

    bool BufferedDisplay() const;
    void SetBufferedDisplay(bool v);
    bool Monochrome() const;
    void SetMonochrome(bool v);

    void Paint() override;
    virtual TColor GetBackColor() { return Color(); }
    virtual void InternalDraw(const TRect&) {}
    virtual void CanvasChanged(platform::TObject*) { Invalidate(); }
    void Draw();
    virtual void Draw(platform::TCanvas* userCanvas, const TRect& userRect);
    virtual TRect GetRectangle();
    void ReCalcWidthHeight();
    void Invalidate() override;
    bool CanClip();
    void SetBrushCanvas(TColor color, TChartBrush& brush, TColor backColor);
    void SetInternalCanvas(TCanvas3D* canvas);
    virtual void DrawPanelBevels(const TRect&) {}

    // Exports: the chart drawn again onto another surface with the screen buffer off.
    std::unique_ptr<platform::TBitmap> ChartCreateBitmap();
    std::unique_ptr<platform::TBitmap> ChartCreateBitmap(TColor backColor, const TRect& r);
    void SaveToBitmapFile(const std::string& fileName);
    void SaveToBitmapFile(const std::string& fileName, const TRect& r);
    void CopyToClipboardBitmap();
    void CopyToClipboardBitmap(const TRect& r);
    void AssignTo(platform::TPicture& dest);
    std::unique_ptr<platform::TMetafile> ChartCreateMetafile(bool enhanced, const TRect& r);
    void SaveToMetafile(const std::string& fileName);
    void SaveToMetafileEnh(const std::string& fileName);
    void SaveToMetafileRect(bool enhanced, const std::string& fileName, const TRect& r);
    void CopyToClipboardMetafile(bool enhanced);
    void CopyToClipboardMetafile(bool enhanced, const TRect& r);
    void NonBufferDraw(platform::TCanvas* canvas, const TRect& r);
    void DrawToMetaCanvas(platform::TCanvas* canvas, const TRect& r);
    // The page rectangle of the chart from the print margins, on a page of the given size.
    TRect ChartPrintRect(int pageWidth, int pageHeight);
    void CalcProportionalMargins(int pageWidth, int pageHeight, double dpiRatio = 1);
    // Printing on the program's printer. A job that fails is aborted (no file is left)
    // and the error passes on.
    void Print();
    void PrintPortrait();
    void PrintLandscape();
    void PrintOrientation(int orientation);  // a platform::TPrinterOrientation
    void PrintRect(const TRect& r);
    // Draws into a job the caller has begun, or scaled into r of any canvas.
    void PrintPartial(const TRect& r);
    void PrintPartialCanvas(platform::TCanvas* canvas, const TRect& r);
    TRect ChartPrintRect();
    // Turns r (device units) into the chart's own units; the window extent is the
    // chart's size less PrintDetail percent, the view extent r's size.
    void CalcMetaBounds(TRect& r, const TRect& chartRect, int& winWidth, int& winHeight, int& viewWidth,
                        int& viewHeight);
    // May change the rectangle (in the chart's units) the chart is drawn into.
    std::function<void(TCustomChartPanel*, platform::TCanvas*, TRect&)> OnBeforePrint;

    // Store-and-repaint setters: only a changed value is stored, then the chart repaints.
    void SetStringProperty(std::string& field, const std::string& v);
    void SetDoubleProperty(double& field, double v);
    void SetColorProperty(TColor& field, TColor v);
    void SetBooleanProperty(bool& field, bool v);
    void SetIntegerProperty(int& field, int v);

    int RemoveListener(IChartEventListener* l) { return Listeners.Remove(l); }
    TChartEvent& BroadcastChartEvent(TChartEvent& event);
    void BroadcastMouseEvent(TChartMouseEventKind kind, platform::TMouseButton button, platform::TShiftState shift,
                             int x, int y);
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    // A handler that sets MouseCancelled ends the click silently (base::EAbort).
    void DblClick() override;

    void Assign(const platform::TPersistent& source) override;
    void Loaded() override;
    // The cursor that a mouse leaving the panel restores.
    platform::TCursor SavedCursor = platform::crDefault;
    int GetMargin(int index) const { return margins_[index]; }
    void SetBorder(const TChartHiddenPen& pen);
    void SetShadow(const TChartShadow& shadow);
    void SetView3DOptions(const TView3DOptions& options);
    // bsSingle exactly when Border is visible.
    platform::TFormBorderStyle BorderStyle() const;
    void SetBorderStyle(platform::TFormBorderStyle style);
    bool IsScreenHighColor();
    // The mouse position in client coordinates.
    TPoint GetCursorPos();
    // Shapes the window to BorderRound's rounded rectangle (rectangular for 0 or less).
    void SetControlRounded();
    void Resize() override;
    // Color clNone gives the window the transparent style: the parent shows behind the chart.
    void CreateParams(platform::TCreateParams& params) override;
    void CMMouseLeave(platform::TMessage& m) override;
    void WMEraseBkgnd(platform::TWMEraseBkgnd& m) override;
    void WMGetDlgCode(platform::TWMGetDlgCode& m) override;
    void WndProc(platform::TMessage& m) override;

protected:
    bool destroying_ = false;

private:
    bool rounding_ = false;
    TBevelCut bevelInner_ = bvNone, bevelOuter_ = bvRaised;
    int bevelWidth_ = 1, borderWidth_ = 0;
    bool repaintEnabled_ = false;
    std::unique_ptr<TChartHiddenPen> border_;
    int borderRound_ = 0;
    int margins_[4] = {3, 4, 3, 4};
    TChartUnits marginUnits_ = muPercent;
    std::unique_ptr<TChartShadow> shadow_;
    bool view3D_ = true;
    std::unique_ptr<TView3DOptions> view3DOptions_;
    std::unique_ptr<TCanvas3D> canvas_;
};

enum TChartBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };

class TBackImage : public platform::TPicture {
public:
    void Assign(const platform::TPersistent& source) override;
    bool Inside() const { return inside_; }
    void SetInside(bool v) { Set(inside_, v); }
    int Left() const { return left_; }
    void SetLeft(int v) { Set(left_, v); }
    int Top() const { return top_; }
    void SetTop(int v) { Set(top_, v); }
    TChartBackImageMode Mode() const { return mode_; }
    void SetMode(TChartBackImageMode v) { Set(mode_, v); }

private:
    template <class T>
    void Set(T& f, T v)
    {
        if (StoreChanged(f, v) && OnChange) OnChange(this);
    }
    bool inside_ = false;
    int left_ = 0, top_ = 0;
    TChartBackImageMode mode_ = pbmStretch;
};

class TCustomChartPanelExtended : public TCustomChartPanel {
public:
    explicit TCustomChartPanelExtended(platform::TComponent* owner);
    ~TCustomChartPanelExtended() override;
    // From another extended panel: the back image, gradient, panning and zoom; then the panel's own.
    void Assign(const platform::TPersistent& source) override;

    TPanningMode AllowPanning = pmBoth;
    TChartGradient& Gradient();
    bool HasGradient() const { return gradient_ != nullptr; }
    void SetGradient(const TChartGradient* g);
    TChartZoom Zoom;
    bool Zoomed = false;
    // Made on first use.
    TBackImage& GetBackImage();
    TBackImage& BackImage() { return GetBackImage(); }
    bool HasBackImage() const;
    void SetBackImage(const TBackImage* image);
    // Inside and transparency read false without a picture; the transparency is not set
    // without one, the mode and Inside make it.
    bool GetBackImageInside() const;
    void SetBackImageInside(bool v) { GetBackImage().SetInside(v); }
    TChartBackImageMode GetBackImageMode() { return GetBackImage().Mode(); }
    void SetBackImageMode(TChartBackImageMode v) { GetBackImage().SetMode(v); }
    bool GetBackImageTransp() const;
    void SetBackImageTransp(bool v);
    bool BackImageInside() const { return GetBackImageInside(); }
    TChartBackImageMode BackImageMode() { return GetBackImageMode(); }
    bool BackImageTransp() const { return GetBackImageTransp(); }
    void GetPublished(platform::TPropertyList& L) override;
    platform::TNotifyEvent OnAfterDraw, OnScroll, OnUndoZoom, OnZoom;

    // "AllowZoom", "AnimatedZoom", "AnimatedZoomSteps" (read only, into Zoom) and
    // "PrintMargins" (four integers, written when one is not 15).
    void DefineProperties(platform::TFiler* Filer) override;

    virtual void UndoZoom();
    virtual void PanelPaint(const TRect& r);
    virtual void FillPanelRect(const TRect& r);
    void DrawBitmap(const TRect& r, int z);
    void DrawZoomRectangle();
    void DrawPanelBevels(const TRect& r) override;

private:
    std::unique_ptr<TChartGradient> gradient_;
    std::unique_ptr<TBackImage> backImage_;
};

// A 2 × 2 supersampled bitmap of the panel, averaged down to its size.
std::unique_ptr<platform::TBitmap> ChartAntiAlias(TCustomChartPanel& panel);

// Draws a bevel into r and shrinks r by its width.
void DrawBevel(TChartCanvas& canvas, TBevelCut bevel, TRect& r, int width, int round);

}  // namespace chart
