// Plot control: render pipeline (background, borders, grid, axes, numbers, series).
#include "widgets/plot/PlotGraph.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Metafile.h"
#include "widgets/plot/ExprParser10.h"

namespace plot {

using namespace platform;
using PColor = platform::TColor;

namespace {

constexpr int kMaxTicks = 1000000;  // a range too far from zero for its step to advance
constexpr Extended kMargin = 4;      // pixels round the plot where cut lines end
constexpr int kFarSymbol = 1000;

int ClampToInt(Extended v)
{
    if (std::isnan(v)) return 0;
    if (v >= Extended(INT_MAX)) return INT_MAX;
    if (v <= Extended(INT_MIN)) return INT_MIN;
    return int(v);
}

void TickStart(int N, Extended lo, Extended& step, Extended& first)
{
    step = TickStep(N);
    first = FirstTick(lo, step);
}

bool XAxisStyle(TGridStyle g) { return g == gsXAxis || g == gsAxises || g == gsXGrid || g == gsFull; }
bool YAxisStyle(TGridStyle g) { return g == gsYAxis || g == gsAxises || g == gsYGrid || g == gsFull; }

void PushClip(TCanvas& c, const TRect& r)
{
    HDC dc = c.Handle();
    SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
}
void PopClip(TCanvas& c)
{
    RestoreDC(c.Handle(), -1);
    c.Refresh();  // the restored DC no longer holds the canvas's pen, brush and font
}

void DrawBorder(TCanvas& c, TBorderStyle style, PColor color, TRect& r)
{
    c.Pen().SetStyle(psSolid);
    switch (style) {
    case bstNone: return;
    case bstSingle:
        c.Pen().SetColor(color);
        c.MoveTo(r.Left, r.Top);
        c.LineTo(r.Right, r.Top);
        c.LineTo(r.Right, r.Bottom);
        c.LineTo(r.Left, r.Bottom);
        c.LineTo(r.Left, r.Top);
        break;
    case bstRaised:
    case bstLowered: {
        const PColor topLeft = style == bstRaised ? clBtnHighlight : clBtnShadow;
        const PColor bottomRight = style == bstRaised ? clBtnShadow : clBtnHighlight;
        auto drawTopLeft = [&] {
            c.Pen().SetColor(topLeft);
            c.MoveTo(r.Left, r.Bottom - 1);
            c.LineTo(r.Left, r.Top);
            c.LineTo(r.Right + 1, r.Top);
        };
        auto drawBottomRight = [&] {
            c.Pen().SetColor(bottomRight);
            c.MoveTo(r.Left, r.Bottom);
            c.LineTo(r.Right, r.Bottom);
            c.LineTo(r.Right, r.Top);
        };
        if (style == bstRaised) {
            drawTopLeft();
            drawBottomRight();
        } else {
            drawBottomRight();
            drawTopLeft();
        }
        break;
    }
    }
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
    r.Bottom -= 1;
}

}  // namespace

int RoundEven(Extended v)
{
    if (std::isnan(v)) return 0;
    Extended f = std::floor(v);
    const Extended d = v - f;
    if (d > 0.5L || (d == 0.5L && std::fmod(f, 2.0L) != 0)) f += 1;
    return ClampToInt(f);
}

int TruncInt(Extended v) { return ClampToInt(std::trunc(v)); }

namespace {

// A pixel offset rounded from base; the sum is clamped, since far world values
// give offsets near the ends of the int range.
int PixelPlus(int base, Extended offset) { return ClampToInt(Extended(base) + RoundEven(offset)); }
int PixelMinus(int base, Extended offset) { return ClampToInt(Extended(base) - RoundEven(offset)); }

}  // namespace

Extended TickStep(int N)
{
    Extended step = 10000;
    long long q = 1;
    bool toggle = true;
    while (q < N) {
        if (toggle) {
            q *= 2;
            if (q < N) step /= 2;
        } else {
            q *= 5;
            if (q < N) step /= 5;
        }
        toggle = !toggle;
    }
    return step;
}

Extended FirstTick(Extended lo, Extended step)
{
    const Extended o = lo / step;
    const Extended t = std::trunc(o);
    return o > 0 ? (t + 1) * step : (t - 1) * step;
}

int StepDecimals(Extended step)
{
    int decimals = 3;
    // Steps are 10000 divided by twos and fives: their decimals end.
    for (Extended scaled = step * 1000; decimals < 18; ++decimals, scaled *= 10)
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6L * std::max<Extended>(1, scaled)) break;
    return decimals;
}

std::string AxisNumber(Extended v, int decimals)
{
    if (std::fabs(v) >= kExponentFrom) return base::FloatToStrG(double(v), 16);
    // From the extended value itself: a double would repeat numbers far from zero.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Lf", std::clamp(decimals, 0, 18), v);
    std::string s(buf);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    const char sep = base::DecimalSeparator();
    if (sep != '.') std::replace(s.begin(), s.end(), '.', sep);
    return s;
}

// ---------------------------------------------------------------- construction

TPlotGraph::TPlotGraph(TComponent* AOwner)
    : TGraphicControl(AOwner),
      ownSeries_(std::make_unique<TSeries>()),
      evaluator_(std::make_unique<TExprParser>())
{
    series_ = ownSeries_.get();
    series_->OnChange = [this](TSeries& s) { SeriesChange(s); };
    ControlStyle |= csOpaque;
    SetBounds(Left(), Top(), 60, 40);
}

TPlotGraph::~TPlotGraph()
{
    ReleaseInteraction();
    if (ownSeries_) ownSeries_->OnChange = nullptr;
}

// ---------------------------------------------------------------- notices and setters

void TPlotGraph::RequestRepaint() { Invalidate(); }

void TPlotGraph::Notice(bool repaintFirst)
{
    dirty_ = true;
    if (repaintFirst) RequestRepaint();
    if (OnChange) OnChange(this);
    if (!repaintFirst) RequestRepaint();
}

void TPlotGraph::RaiseVisChange()
{
    if (OnVisChange) OnVisChange(this);
}

void TPlotGraph::SetSeries(TSeries* Value)
{
    if (!Value || Value == series_) return;
    series_ = Value;
    Notice(true);
}

void TPlotGraph::SetVisRect(const TRect2D& R)
{
    // A NaN compares unordered and counts as equal.
    if (!(R.x1 < R.x2 || R.x1 > R.x2) || !(R.y1 < R.y2 || R.y1 > R.y2)) return;
    visRect_ = R;
    if (visRect_.x1 > visRect_.x2) std::swap(visRect_.x1, visRect_.x2);
    if (visRect_.y1 > visRect_.y2) std::swap(visRect_.y1, visRect_.y2);
    dirty_ = true;
    RaiseVisChange();
    Paint();
}

void TPlotGraph::SetBgImageRect(const TRect2D& R)
{
    if (!(R.x1 < R.x2 || R.x1 > R.x2) || !(R.y1 < R.y2 || R.y1 > R.y2)) return;
    bgImageRect_ = R;
    if (bgImageRect_.x1 > bgImageRect_.x2) std::swap(bgImageRect_.x1, bgImageRect_.x2);
    if (bgImageRect_.y1 > bgImageRect_.y2) std::swap(bgImageRect_.y1, bgImageRect_.y2);
    dirty_ = true;
    RaiseVisChange();
    Paint();
}

void TPlotGraph::SetAspectRatio(Extended Value)
{
    if (Value == aspectRatio_ || Value == 0) return;
    aspectRatio_ = Value;
    Notice(true);
}

void TPlotGraph::SetBgImage(const std::string& Value)
{
    if (Value == bgImage_) return;
    bgImage_ = Value;
    if (bgStyle_ == bgsImageStretch || bgStyle_ == bgsImageTile || bgStyle_ == bgsImageMap) {
        dirty_ = true;
        bgReload_ = true;
        RequestRepaint();
    }
    if (OnChange) OnChange(this);
}

std::string TPlotGraph::BgImageError()
{
    if (bgImage_.empty()) return {};
    const TPicture* pic = bgPicture_.Get(bgImage_);
    return pic && pic->Graphic() ? std::string() : bgPicture_.Error();
}

void TPlotGraph::SetBgStyle(TBgStyle Value)
{
    if (Value == bgStyle_) return;
    bgStyle_ = Value;
    dirty_ = true;
    bgReload_ = true;
    RequestRepaint();
    if (OnChange) OnChange(this);
}

void TPlotGraph::SetBorderStyle(TBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    Notice(true);
}

#define PLOT_COLOR_SETTER(Name, field, reload) \
    void TPlotGraph::Set##Name(PColor Value)   \
    {                                          \
        if (Value == field) return;            \
        field = Value;                         \
        if (reload) bgReload_ = true;          \
        Notice();                              \
    }
PLOT_COLOR_SETTER(ColorXAxis, colorXAxis_, false)
PLOT_COLOR_SETTER(ColorYAxis, colorYAxis_, false)
PLOT_COLOR_SETTER(ColorBg, colorBg_, true)
PLOT_COLOR_SETTER(ColorBg2, colorBg2_, true)
PLOT_COLOR_SETTER(ColorBorder, colorBorder_, false)
PLOT_COLOR_SETTER(ColorGrid, colorGrid_, false)
PLOT_COLOR_SETTER(ColorNumb, colorNumb_, false)
#undef PLOT_COLOR_SETTER

void TPlotGraph::SetGraphBorder(TBorderStyle Value)
{
    if (Value == graphBorder_) return;
    graphBorder_ = Value;
    Notice();
}

void TPlotGraph::SetGridStyle(TGridStyle Value)
{
    if (Value == gridStyle_) return;
    gridStyle_ = Value;
    Notice();
}

void TPlotGraph::SetNumbHoriz(bool Value)
{
    if (Value == numbHoriz_) return;
    numbHoriz_ = Value;
    Notice();
}

void TPlotGraph::SetNumbVert(bool Value)
{
    if (Value == numbVert_) return;
    numbVert_ = Value;
    Notice();
}

void TPlotGraph::SetQuadrant(TEGQuadrant Value)
{
    quadrant_ = Value;
    Notice();
}

void TPlotGraph::SetOnXLabeling(TEGLabelingEvent Value)
{
    onXLabeling_ = std::move(Value);
    Notice();
}

void TPlotGraph::SetOnYLabeling(TEGLabelingEvent Value)
{
    onYLabeling_ = std::move(Value);
    Notice();
}

void TPlotGraph::BeginUpdate() { ++updateCount_; }

void TPlotGraph::EndUpdate()
{
    if (updateCount_ > 1) {
        --updateCount_;
        return;
    }
    updateCount_ = 0;
    Paint();
}

void TPlotGraph::SeriesChange(TSeries&)
{
    UpdateLegend();
    dirty_ = true;
    if (OnChange) OnChange(this);
    if (updateCount_ <= 0) RequestRepaint();
}

void TPlotGraph::PointsChanged(TPoints&)
{
    dirty_ = true;
    if (updateCount_ <= 0) RequestRepaint();
}

// ---------------------------------------------------------------- mapping

int TPlotGraph::WorldToPixelX(Extended x) const
{
    const TRect2D& v = visRect_;
    return PixelPlus(plot_.Left, (x - v.x1) * Extended(plot_.Right - plot_.Left) / (v.x2 - v.x1));
}

int TPlotGraph::WorldToPixelY(Extended y) const
{
    const TRect2D& v = visRect_;
    return PixelMinus(plot_.Bottom, (y - v.y1) * Extended(plot_.Bottom - plot_.Top) / (v.y2 - v.y1));
}

bool TPlotGraph::GetGraphCoords(int X, int Y, Extended& WX, Extended& WY) const
{
    const TRect& p = plot_;
    if (X < p.Left || X >= p.Right || Y < p.Top || Y >= p.Bottom) return false;
    const TRect2D& v = visRect_;
    WX = v.x1 + Extended(X - p.Left) * (v.x2 - v.x1) / Extended(p.Right - p.Left);
    WY = v.y1 + Extended(p.Bottom - Y) * (v.y2 - v.y1) / Extended(p.Bottom - p.Top);
    return true;
}

void TPlotGraph::AdjustZoom(TRect2D& R) const
{
    auto limit = [](Extended& lo, Extended& hi) {
        const Extended w = hi - lo;
        if (w < 0.01L) {
            const Extended d = (0.01L - w) / 2;
            lo -= d;
            hi += d;
        } else if (w > 10000) {
            const Extended d = (w - 10000) / 2;
            lo += d;
            hi -= d;
        }
    };
    limit(R.x1, R.x2);
    limit(R.y1, R.y2);
    // A plot without width or height has no ratio to keep.
    if (!maintainRatio_ || plot_.Right <= plot_.Left || plot_.Bottom <= plot_.Top) return;
    const Extended t = Extended(plot_.Right - plot_.Left) / Extended(plot_.Bottom - plot_.Top) * aspectRatio_;
    const Extended w = R.x2 - R.x1, h = R.y2 - R.y1;
    if (w / h > t) {
        const Extended d = (w / t - h) / 2;
        R.y1 -= d;
        R.y2 += d;
    } else if (w / h < t) {
        const Extended d = (t * h - w) / 2;
        R.x1 -= d;
        R.x2 += d;
    }
}

std::string TPlotGraph::XLabel(Extended v, int decimals) const
{
    std::string s;
    if (onXLabeling_) {
        onXLabeling_(const_cast<TPlotGraph*>(this), v, s);
        return s;
    }
    return AxisNumber(v, decimals);
}

std::string TPlotGraph::YLabel(Extended v, int decimals) const
{
    std::string s;
    if (onYLabeling_) {
        onYLabeling_(const_cast<TPlotGraph*>(this), v, s);
        return s;
    }
    return AxisNumber(v, decimals);
}

// ---------------------------------------------------------------- painting

namespace {
int ScreenDepth() { return GetDeviceCaps(nullptr, BITSPIXEL); }
}  // namespace

void TPlotGraph::Paint()
{
    if (!dirty_ && (!bitmap_ || bitmap_->Width() != Width() || bitmap_->Height() != Height() ||
                    ScreenDepth() != colorDepth_))
        dirty_ = true;
    const DWORD start = GetTickCount();
    const bool render = dirty_;
    if (render) Render(static_cast<TCanvas*>(nullptr));
    // A control on no window, or hidden, has nothing to copy to.
    if (Parent() && Visible() && bitmap_) {
        TCanvas* c = Canvas();
        const TRect clip = c->ClipRect();
        c->CopyRect(clip, bitmap_->Canvas(), clip);
        DrawBand();
    }
    if (render) lastRenderTime_ = GetTickCount() - start;
}

TCanvas& TPlotGraph::MeasureCanvas()
{
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>(Width(), Height());
    return *bitmap_->Canvas();
}

void TPlotGraph::DrawGradient()
{
    TBitmap& bg = *background_;
    const bool rows = bgStyle_ == bgsLineHoriz;
    const int n = rows ? bg.Height() : bg.Width();
    if (n <= 0) return;
    const COLORREF a = ColorToRGB(colorBg_), b = ColorToRGB(colorBg2_);
    const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
    const int to[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
    long long acc[3], step[3];
    for (int k = 0; k < 3; ++k) {
        acc[k] = (long long)from[k] << 20;
        step[k] = ((long long)(to[k] - from[k]) << 20) / n;  // truncates toward zero
    }
    TCanvas& c = *bg.Canvas();
    c.Pen().SetStyle(psSolid);
    for (int i = 0; i < n; ++i) {
        c.Pen().SetColor(PColor(RGB(int(acc[0] >> 20), int(acc[1] >> 20), int(acc[2] >> 20))));
        if (rows) {
            c.MoveTo(0, i);
            c.LineTo(bg.Width(), i);
        } else {
            c.MoveTo(i, 0);
            c.LineTo(i, bg.Height());
        }
        for (int k = 0; k < 3; ++k) acc[k] += step[k];
    }
}

void TPlotGraph::DrawBackground(TCanvas& target)
{
    const bool image = bgStyle_ == bgsImageStretch || bgStyle_ == bgsImageTile || bgStyle_ == bgsImageMap;
    bool drawn = false;
    if (bgStyle_ != bgsSolid && background_) {
        if (image) {
            TGraphic* img = nullptr;
            if (bgImage_.empty()) {
                background_.reset();
            } else {
                // Any picture format the import window offers; the reason of a failure
                // stays for BgImageError.
                if (TPicture* pic = bgPicture_.Get(bgImage_)) img = pic->Graphic();
                if (!img) background_.reset();
            }
            if (background_ && img) {
                drawn = true;
                if (bgStyle_ == bgsImageStretch) {
                    target.StretchDraw(Rect(0, 0, background_->Width(), background_->Height()), img);
                } else if (bgStyle_ == bgsImageTile) {
                    const int w = img->Width(), h = img->Height();
                    if (w > 0 && h > 0)
                        for (int y = 0; y < bitmap_->Height(); y += h)
                            for (int x = 0; x < bitmap_->Width(); x += w) target.Draw(x, y, img);
                } else {
                    target.Brush().SetStyle(bsSolid);
                    target.Brush().SetColor(colorBg_);
                    target.FillRect(Rect(0, 0, Width(), Height()));
                    // The plot rectangle and VisRect of the previous render.
                    PushClip(target, Rect(plot_.Left, plot_.Top, plot_.Right + 1, plot_.Bottom + 1));
                    int l = WorldToPixelX(bgImageRect_.x1), r = WorldToPixelX(bgImageRect_.x2);
                    int t = WorldToPixelY(bgImageRect_.y2), b = WorldToPixelY(bgImageRect_.y1);
                    if (l > r) std::swap(l, r);
                    if (t > b) std::swap(t, b);
                    target.StretchDraw(Rect(l, t, r, b), img);
                    PopClip(target);
                }
            }
        } else {
            target.Draw(0, 0, background_.get());
            drawn = true;
        }
    }
    // Also when an image could not be loaded in this render: the background is then
    // the plain colour, not what the bitmap showed before.
    if (!drawn) {
        target.Brush().SetStyle(bsSolid);
        target.Brush().SetColor(colorBg_);
        target.FillRect(Rect(0, 0, Width(), Height()));
    }
}

void TPlotGraph::Render(TCanvas* Canvas)
{
    if (!Canvas) {
        const int depth = ScreenDepth();
        if (!bitmap_ || depth != colorDepth_) {
            bitmap_ = std::make_unique<TBitmap>();
            if (background_) {
                background_ = std::make_unique<TBitmap>();
                bgReload_ = true;
            }
            colorDepth_ = depth;
        }
        // Width and height are set together: a bitmap with no rows keeps no width.
        if (bitmap_->Width() != Width() || bitmap_->Height() != Height()) {
            bitmap_->SetSize(Width(), Height());
            if (background_) {
                background_->SetSize(Width(), Height());
                bgReload_ = true;
            }
        }
    }
    if (bgReload_) {
        bgReload_ = false;
        // A solid background is filled straight onto the picture: no bitmap for it.
        if (!background_ && bgStyle_ != bgsSolid) background_ = std::make_unique<TBitmap>(Width(), Height());
        if (bgStyle_ == bgsLineHoriz || bgStyle_ == bgsLineVert) DrawGradient();
    }
    if (!Canvas) {
        TCanvas& target = *bitmap_->Canvas();
        DrawBackground(target);
        dirty_ = false;
        Draw(target, target);
    } else {
        Draw(*Canvas, MeasureCanvas());
    }
}

// The ticks of the vertical axis for the plot rectangle and range r: each value with
// its pixel row, and its number when the numbers are shown.
std::vector<TPlotGraph::Tick> TPlotGraph::YTicks(const TRect2D& r, int th) const
{
    std::vector<Tick> ticks;
    const int T = plot_.Top, B = plot_.Bottom;
    const int N = RoundEven(Extended(B - T) / (r.y2 - r.y1) * 10000 / th);
    Extended step, v;
    TickStart(N, r.y1, step, v);
    const int decimals = StepDecimals(step);
    for (int n = 0; v <= r.y2 && n < kMaxTicks; ++n, v += step) {
        const int p = TruncInt((v - r.y1) * Extended(B - T) / (r.y2 - r.y1));
        if (p >= 0) ticks.push_back({v, B - p, numbVert_ ? YLabel(v, decimals) : std::string()});
        if (v + step == v) break;
    }
    return ticks;
}

// The ticks of the horizontal axis for the plot rectangle and VisRect, the step found
// from a template of the widest number that m measures.
std::vector<TPlotGraph::Tick> TPlotGraph::XTicks(TCanvas& m) const
{
    const int L = plot_.Left, R = plot_.Right;
    const Extended x1 = visRect_.x1, x2 = visRect_.x2;
    // The template's decimals follow the step, and the step the template's width.
    int decimals = 3;
    Extended step = 0, v = 0;
    for (int round = 0; round < 3; ++round) {
        std::string tmpl;
        if (onXLabeling_) {
            const std::string a = XLabel(x1), b = XLabel(x2);
            tmpl = a.size() >= b.size() ? a : b;
            for (char& ch : tmpl)
                if (ch >= '0' && ch <= '9') ch = '8';
        } else if (std::max(std::fabs(x1), std::fabs(x2)) >= kExponentFrom) {
            tmpl = "-8.888888888888888E888";
        } else {
            auto digits = [](Extended x) {
                return std::fabs(x) < 1e-5L ? 5 : RoundEven(std::fabs(std::log10(std::fabs(x))));
            };
            const int n = std::clamp(std::max(digits(x1), digits(x2)), 0, 5000);
            tmpl = std::string(std::size_t(n) + 1, '8') + "," + std::string(std::size_t(decimals), '8');
        }
        const int tw = std::max(1, m.TextWidth(tmpl));
        const int N = tmpl.empty() ? 10 : RoundEven(Extended(R - L) / (x2 - x1) * 10000 / tw);
        TickStart(N, x1, step, v);
        if (onXLabeling_ || StepDecimals(step) <= decimals) break;
        decimals = StepDecimals(step);
    }
    decimals = std::max(decimals, StepDecimals(step));
    std::vector<Tick> ticks;
    for (int n = 0; v <= x2 && n < kMaxTicks; ++n, v += step) {
        const int p = TruncInt((v - x1) * Extended(R - L) / (x2 - x1));
        if (p >= 0) ticks.push_back({v, L + p, numbHoriz_ ? XLabel(v, decimals) : std::string()});
        if (v + step == v) break;
    }
    return ticks;
}

void TPlotGraph::Draw(TCanvas& t, TCanvas& m)
{
    TRect area{0, 0, Width() - 1, Height() - 1};
    DrawBorder(t, borderStyle_, colorBorder_, area);
    const int th0 = m.TextHeight("Xy");
    auto layout = [&](int margin) {
        plot_ = area;
        if (numbHoriz_) plot_.Bottom -= th0 + 4;
        if (numbVert_) plot_.Left += 4 + margin;
        if (graphBorder_ != bstNone) {
            plot_.Left += 1;
            plot_.Top += 1;
            plot_.Right -= 1;
            plot_.Bottom -= 1;
        }
    };
    const int th = std::max(1, th0);
    int margin = m.TextWidth("88888,888");
    layout(margin);
    // The numbers left of the plot get room for the widest of them. They depend on the
    // range, which the kept ratio ties to the plot's width, which depends on the room:
    // a few rounds settle it. Half the control is the most they get.
    const int most = std::max(margin, (area.Right - area.Left) / 2);
    std::vector<Tick> yTicks;
    const bool yAxis = gridStyle_ != gsNone || numbVert_;
    for (int round = 0; yAxis; ++round) {
        TRect2D r = visRect_;
        AdjustZoom(r);
        yTicks = YTicks(r, th);
        int widest = 0;
        for (const Tick& k : yTicks) widest = std::max(widest, m.TextWidth(k.text));
        widest = std::min(widest, most);
        if (!numbVert_ || widest <= margin || round == 3) break;
        margin = widest;
        layout(margin);
    }
    AdjustZoom(visRect_);

    const int L = plot_.Left, T = plot_.Top, R = plot_.Right, B = plot_.Bottom;

    auto axisLabel = [&](const std::string& text, PColor color, auto place) {
        if (text.empty()) return;
        t.Pen().SetColor(color);
        t.Font().SetColor(color);
        t.Font().SetStyle(fsBold);
        m.Font().SetStyle(fsBold);
        const TSize s = m.TextExtent(text);
        const TPoint at = place(s);
        t.TextOut(at.X, at.Y, text);
        t.Font().SetStyle(0);
        m.Font().SetStyle(0);
    };
    // A number is drawn whole inside its room, or not at all: a cut one reads as another.
    auto number = [&](const TRect& room, int x, int y, const std::string& text) {
        const TSize sz = m.TextExtent(text);
        if (x < room.Left || y < room.Top || x + sz.cx > room.Right || y + sz.cy > room.Bottom) return;
        t.TextRect(room, x, y, text);
    };

    // Vertical axis: horizontal lines and the numbers left of the plot.
    if (yAxis) {
        t.Pen().SetStyle(psSolid);
        t.Pen().SetColor(colorGrid_);
        t.Font().SetColor(colorNumb_);
        t.Brush().SetStyle(bsClear);
        const TRect room{area.Left, area.Top, L, B};
        for (const Tick& k : yTicks) {
            const int y = k.pos;
            if (XAxisStyle(gridStyle_)) {
                if (std::fabs(k.value) < 1e-5L) {
                    t.Pen().SetColor(colorXAxis_);
                    t.MoveTo(L, y);
                    t.LineTo(R + 1, y);
                    axisLabel(axisXLabel_, colorXAxis_, [&](TSize s) { return TPoint{R - 5 - s.cx, y - 5 - s.cy}; });
                    t.Pen().SetColor(colorGrid_);
                    t.Font().SetColor(colorNumb_);
                } else if (gridStyle_ == gsXGrid || gridStyle_ == gsFull) {
                    t.MoveTo(L, y);
                    t.LineTo(R + 1, y);
                }
            }
            if (numbVert_) number(room, L - m.TextWidth(k.text) - 3, y - th / 2, k.text);
        }
    }

    // Horizontal axis: vertical lines and the numbers under the plot.
    if (gridStyle_ != gsNone || numbHoriz_) {
        t.Pen().SetStyle(psSolid);
        t.Pen().SetColor(colorGrid_);
        t.Font().SetColor(colorNumb_);
        t.Brush().SetStyle(bsClear);
        // Below the plot the numbers may reach left under the vertical axis's numbers,
        // which end above the plot's bottom.
        const TRect room{area.Left, B + 1, area.Right, area.Bottom};
        for (const Tick& k : XTicks(m)) {
            const int x = k.pos;
            if (YAxisStyle(gridStyle_)) {
                if (std::fabs(k.value) < 1e-5L) {
                    t.Pen().SetColor(colorYAxis_);
                    t.MoveTo(x, T);
                    t.LineTo(x, B + 1);
                    axisLabel(axisYLabel_, colorYAxis_, [&](TSize) { return TPoint{x + 5, T + 5}; });
                    t.Pen().SetColor(colorGrid_);
                    t.Font().SetColor(colorNumb_);
                } else if (gridStyle_ == gsYGrid || gridStyle_ == gsFull) {
                    t.MoveTo(x, T);
                    t.LineTo(x, B + 1);
                }
            }
            if (numbHoriz_) number(room, x - m.TextWidth(k.text) / 2, B + 4, k.text);
        }
    }

    TRect frame{L - 1, T - 1, R + 1, B + 1};
    DrawBorder(t, graphBorder_, colorBorder_, frame);

    DrawSeries(t, m);
}

// The plot's clip for the series: the plot cut to its quadrant; empty (Left > Right) when
// the quadrant is out of view.
TRect TPlotGraph::SeriesClip() const
{
    const int L = plot_.Left, T = plot_.Top, R = plot_.Right, B = plot_.Bottom;
    const Extended x1 = visRect_.x1, y1 = visRect_.y1, x2 = visRect_.x2, y2 = visRect_.y2;

    TRect clip{L, T, R + 1, B + 1};
    const Extended W = clip.Right - clip.Left, H = clip.Bottom - clip.Top;
    const int cutLeft = ClampToInt(Extended(clip.Right) - RoundEven(W * x2 / (x2 - x1)) - 1);
    bool empty = false;
    switch (quadrant_) {
    case egqAll: break;
    case egqFirst:
        if (x2 < 0 || y2 < 0) { empty = true; break; }
        if (x1 < 0) clip.Left = cutLeft;
        if (y1 < 0) clip.Bottom = clip.Top + RoundEven(H * y2 / (y2 - y1));
        break;
    case egqSecond:
        if (x1 > 0 || y2 < 0) { empty = true; break; }
        if (x2 > 0) clip.Right = clip.Left + RoundEven(-x1 * W / (x2 - x1)) + 1;
        if (y1 < 0) clip.Bottom = clip.Top + RoundEven(H * y2 / (y2 - y1)) + 1;
        break;
    case egqThird:
        if (x1 > 0 || y1 > 0) { empty = true; break; }
        if (x2 > 0) clip.Right = clip.Left + RoundEven(-x1 * W / (x2 - x1));
        if (y2 > 0) clip.Top = clip.Bottom - RoundEven(-y1 * H / (y2 - y1));
        break;
    case egqFourth:
        if (x2 < 0 || y1 > 0) { empty = true; break; }
        if (x1 < 0) clip.Left = cutLeft;
        if (y2 > 0) clip.Top = clip.Bottom - RoundEven(-y1 * H / (y2 - y1));
        break;
    case egqRight:
        if (x2 < 0) { empty = true; break; }
        if (x1 < 0) clip.Left = cutLeft;
        break;
    case egqLeft:
        if (x1 > 0) { empty = true; break; }
        if (x2 > 0) clip.Right = clip.Left + RoundEven(-x1 * W / (x2 - x1));
        break;
    }
    if (empty) clip.Left = clip.Right + 1;
    return clip;
}

void TPlotGraph::DrawSeries(TCanvas& t, TCanvas& m)
{
    const TRect clip = SeriesClip();
    if (clip.Left > clip.Right) return;

    PushClip(t, clip);
    std::vector<TPoint> line;
    for (int si = 0; si < series_->Count(); ++si) {
        TPoints& s = series_->GetSeries(si);
        if (!s.Visible()) continue;
        if (!s.FilteredFunc().empty()) {
            DrawFunction(t, s);
            continue;
        }
        if (s.DrawStyle() != dsPoints && s.Count() >= 2) DrawPointLines(t, s, line);
        DrawPointSymbols(t, m, s);
    }
    PopClip(t);
}

// A function series: one value per pixel column, joined or as dots.
void TPlotGraph::DrawFunction(TCanvas& t, TPoints& s)
{
    const int L = plot_.Left, T = plot_.Top, R = plot_.Right, B = plot_.Bottom;
    const Extended x1 = visRect_.x1, y1 = visRect_.y1, x2 = visRect_.x2, y2 = visRect_.y2;
    const PColor color = PColor(s.Color());
    auto py = [&](Extended y) { return PixelMinus(B, (y - y1) * Extended(B - T) / (y2 - y1)); };

    TExprParser& ev = *evaluator_;
    bool parsed = false;
    try {
        parsed = ev.ParseExpression(s.FilteredFunc());
    } catch (...) {
        parsed = false;
    }
    if (!parsed || R <= L) return;
    const Extended dx = (x2 - x1) / Extended(R - L);
    const bool dots = s.DrawStyle() == dsPoints;
    Extended lo = y1 - dx / 2, hi = y2 + dx / 2;
    if (!dots) {
        const Extended band = hi - lo;
        lo -= 20 * band;
        hi += 20 * band;
    }
    t.Pen().SetStyle(psSolid);
    t.Pen().SetColor(color);
    ev.SetX(x1);
    bool down = false;
    TPoint prev;
    for (int c = L; c <= R; ++c) {
        const Extended X = ev.X();
        if (X > s.FuncDomX2()) break;
        bool valid = false;
        Extended value = 0;
        if (X >= s.FuncDomX1()) {
            try {
                value = ev.CalcValue();
                valid = !ev.CalcError() && (dots ? value > lo && value < hi : value >= lo && value <= hi);
            } catch (...) {
                valid = false;
            }
        }
        if (dots) {
            if (valid) t.SetPixel(c, PixelMinus(B, Extended(B - T) / (y2 - y1) * (value - y1)), color);
        } else if (valid) {
            const int row = py(value);
            if (down) {
                const bool above = prev.Y < 0 && row < 0;
                const bool below = prev.Y > Height() && row > Height();
                if (!above && !below) {
                    t.MoveTo(prev.X, prev.Y);
                    t.LineTo(c, row);
                }
            }
            prev = {c, row};
            down = true;
        } else {
            down = false;
        }
        ev.SetX(X + dx);
    }
    // The line leaves out its last pixel; a curve cut short by its domain ends
    // at its own last column.
    if (down) t.SetPixel(prev.X, prev.Y, color);
}

// The lines between a series' points; line is scratch room for the polylines.
void TPlotGraph::DrawPointLines(TCanvas& t, TPoints& s, std::vector<TPoint>& line)
{
    const int L = plot_.Left, T = plot_.Top, R = plot_.Right, B = plot_.Bottom;
    const Extended x1 = visRect_.x1, y1 = visRect_.y1, x2 = visRect_.x2, y2 = visRect_.y2;
    const PColor color = PColor(s.Color());
    const int count = s.Count();
    const TPoint2D* pts = s.Points();
    t.Pen().SetStyle(psSolid);
    t.Pen().SetColor(color);
    // Offsets from L and B before rounding, so that rounding matches px and py.
    auto gx = [&](const TPoint2D& q) { return (q.x - x1) * Extended(R - L) / (x2 - x1); };
    auto gy = [&](const TPoint2D& q) { return (q.y - y1) * Extended(B - T) / (y2 - y1); };
    // Segments are cut to the plot grown by a margin, since the canvas walks
    // every pixel of a line: a far point must not cost billions of them.
    const Extended bx0 = -kMargin, bx1 = Extended(R - L) + kMargin;
    const Extended by0 = -kMargin, by1 = Extended(B - T) + kMargin;
    line.clear();
    auto flush = [&] {
        if (line.size() >= 2) t.Polyline(line.data(), int(line.size()));
        line.clear();
    };
    for (int i = 1; i < count; ++i) {
        const Extended ax = gx(pts[i - 1]), ay = gy(pts[i - 1]);
        const Extended ex = gx(pts[i]), ey = gy(pts[i]);
        const Extended dx = ex - ax, dy = ey - ay;
        Extended t0 = 0, t1 = 1;
        auto edge = [&](Extended p, Extended q) {
            if (std::isnan(p) || std::isnan(q)) return false;
            if (p == 0) return q >= 0;
            const Extended r = q / p;
            if (p < 0) {
                if (r > t1) return false;
                if (r > t0) t0 = r;
            } else {
                if (r < t0) return false;
                if (r < t1) t1 = r;
            }
            return true;
        };
        if (!(edge(-dx, ax - bx0) && edge(dx, bx1 - ax) && edge(-dy, ay - by0) && edge(dy, by1 - ay))) {
            flush();
            continue;
        }
        const TPoint a{PixelPlus(L, t0 == 0 ? ax : ax + t0 * dx), PixelMinus(B, t0 == 0 ? ay : ay + t0 * dy)};
        const TPoint b{PixelPlus(L, t1 == 1 ? ex : ax + t1 * dx), PixelMinus(B, t1 == 1 ? ey : ay + t1 * dy)};
        if (line.empty() || t0 > 0) {
            flush();
            line.push_back(a);
        }
        line.push_back(b);
        if (t1 < 1) flush();
    }
    flush();
}

// A series' point symbols; 'C' draws a dot, numbered with dsNumber.
void TPlotGraph::DrawPointSymbols(TCanvas& t, TCanvas& m, TPoints& s)
{
    const int L = plot_.Left, T = plot_.Top, R = plot_.Right, B = plot_.Bottom;
    const Extended x1 = visRect_.x1, y1 = visRect_.y1, x2 = visRect_.x2, y2 = visRect_.y2;
    const PColor color = PColor(s.Color());
    const int count = s.Count();
    const TPoint2D* pts = s.Points();
    auto px = [&](Extended x) { return PixelPlus(L, (x - x1) * Extended(R - L) / (x2 - x1)); };
    auto py = [&](Extended y) { return PixelMinus(B, (y - y1) * Extended(B - T) / (y2 - y1)); };
    const char symbol = s.PointSymbol();
    if (symbol == 0 || count == 0) return;
    const PColor oldFont = t.Font().Color();
    t.Font().SetColor(color);
    t.Brush().SetStyle(bsClear);
    const std::string text(1, symbol);
    const TSize e = m.TextExtent(text);
    const int w = e.cx / 2, h = e.cy / 2;
    for (int i = 0; i < count; ++i) {
        const TPoint2D& p = pts[i];
        if (!(p.x >= x1 && p.y >= y1 && p.y <= y2)) continue;
        const int X = px(p.x), Y = py(p.y);
        if (X > R + kFarSymbol) continue;  // far right of the plot: clipped away in any case
        if (symbol == 'C') {
            t.Brush().SetColor(PColor(0x00008000));
            t.Brush().SetStyle(bsSolid);
            t.Ellipse(X - 2, Y - 2, X + 2, Y + 2);
            if (s.DrawStyle() == dsNumber) {
                t.Pen().SetColor(clBlack);
                t.Font().SetColor(PColor(0x000000FF));
                t.Brush().SetStyle(bsClear);
                if (i != count - 1) t.TextOut(X, Y, base::IntToStr(i));
            }
        } else {
            t.TextOut(X - w, Y - h, text);
        }
    }
    t.Font().SetColor(oldFont);
    t.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------- export

void TPlotGraph::SaveAsBmp(const std::string& FileName)
{
    if (!dirty_ && (!bitmap_ || bitmap_->Width() != Width() || bitmap_->Height() != Height())) dirty_ = true;
    if (dirty_) Render(static_cast<TCanvas*>(nullptr));
    bitmap_->SaveToFile(FileName);
}

void TPlotGraph::CopyToClipboard()
{
    TMetafile mf(Width(), Height());
    {
        TMetafileCanvas canvas(mf);
        Render(&canvas);
    }
    CopyMetafileToClipboard(mf);
}

}  // namespace plot
