// Chart titles and walls.
#include "widgets/chart/ChartTitles.h"

#include <algorithm>

#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartBlend.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"

namespace chart {

using namespace platform;

int ChartTitleFootDistance = 5;

void TChartCustomShapePosition::Assign(const TPersistent& source)
{
    if (auto* s = dynamic_cast<const TChartCustomShapePosition*>(&source)) {
        customPosition_ = s->customPosition_;
        if (customPosition_) {
            ShapeBounds.Left = s->ShapeBounds.Left;
            ShapeBounds.Top = s->ShapeBounds.Top;
        }
    }
    TChartCustomShape::Assign(source);
}

void TChartCustomShapePosition::SetCustomPosition(bool v)
{
    if (customPosition_ == v) return;
    customPosition_ = v;
    Repaint();
}

void TChartCustomShapePosition::SetLeft(int v)
{
    customPosition_ = true;
    if (ShapeBounds.Left == v) return;
    ShapeBounds.Left = v;
    Repaint();
}

void TChartCustomShapePosition::SetTop(int v)
{
    customPosition_ = true;
    if (ShapeBounds.Top == v) return;
    ShapeBounds.Top = v;
    Repaint();
}

// ---------------------------------------------------------------- titles

TChartTitle::TChartTitle(TCustomChartPanel* chart) : TChartCustomShapePosition(chart)
{
    DefaultTransparent = true;
    TCustomChartPanel* p = parent_;
    parent_ = nullptr;
    SetTransparent(true);
    parent_ = p;
    TNotifyEvent keep = std::move(Font().OnChange);
    Font().SetColor(clBlue);
    Font().OnChange = std::move(keep);
}

void TChartTitle::Assign(const TPersistent& source)
{
    if (auto* t = dynamic_cast<const TChartTitle*>(&source)) {
        adjustFrame_ = t->adjustFrame_;
        alignment_ = t->alignment_;
        lines_ = t->lines_;
    }
    TChartCustomShapePosition::Assign(source);
}

void TChartTitle::SetAdjustFrame(bool v)
{
    if (adjustFrame_ == v) return;
    adjustFrame_ = v;
    Repaint();
}

void TChartTitle::SetAlignment(TAlignment v)
{
    if (alignment_ == v) return;
    alignment_ = v;
    Repaint();
}

void TChartTitle::SetText(const std::vector<std::string>& lines)
{
    lines_ = lines;
    Repaint();
}

void TChartTitle::SetCaption(const std::string& text)
{
    lines_.clear();
    if (!text.empty()) lines_.push_back(text);
    Repaint();
}

bool TChartTitle::Clicked(int x, int y) const
{
    return Visible() && x >= ShapeBounds.Left && x <= ShapeBounds.Right && y >= ShapeBounds.Top && y <= ShapeBounds.Bottom;
}

void TChartTitle::DrawTitle()
{
    if (!Visible() || lines_.empty() || !parent_) return;
    TCustomChartPanel& chart = *parent_;
    TCanvas3D& c = *chart.ChartCanvas();
    int f = Pen().Visible() && Pen().Color() != clUseSeriesColor ? Pen().Width() : 0;
    if (Bevel() != bvNone) f = BevelWidth();
    TRect& r = ShapeBounds;
    if (!CustomPosition()) {
        r = chart.ChartRect;
        if (AtTop) r.Top += f;
    }
    c.AssignFont(Font());
    c.SetTextAlign(0);
    const int h = c.GetFontHeight(), n = int(lines_.size());
    if (AtTop || CustomPosition()) r.Bottom = r.Top + n * h;
    else r.Top = r.Bottom - n * h;
    if (!CustomPosition()) InflateRect(r, f, f);
    const int w = c.TextWidth("W");
    if (adjustFrame_) {
        int widest = 0;
        for (const std::string& l : lines_) widest = std::max(widest, c.TextWidth(l));
        const int t = w + f + widest;
        if (alignment_ == taLeftJustify) {
            r.Right = r.Left + t;
        } else if (alignment_ == taRightJustify) {
            r.Left = r.Right - t;
        } else {
            if (CustomPosition()) r.Right = r.Left + t;
            const int cx = (r.Left + r.Right) / 2;
            r.Left = cx - t / 2;
            r.Right = cx + t / 2;
        }
    }
    Draw();
    c.AssignFont(Font());
    c.SetBackMode(cbmTransparent);
    for (int i = 0; i < n; ++i) {
        const std::string& line = lines_[std::size_t(i)];
        const int y = AtTop || CustomPosition() ? r.Top + i * h + f : r.Bottom - h - (i * h + f);
        const int lw = c.TextWidth(line);
        const int x = alignment_ == taLeftJustify ? r.Left + w / 2
                      : alignment_ == taRightJustify ? r.Right - lw - w / 2
                                                    : (r.Left + r.Right) / 2 - lw / 2;
        c.TextOut(x, y, line);
    }
    if (!CustomPosition()) {
        int g = ChartTitleFootDistance + f;
        if (!Transparent() && Shadow()) g += Shadow()->VertSize();
        if (AtTop) chart.ChartRect.Top = r.Bottom + g;
        else chart.ChartRect.Bottom = r.Bottom - g - n * h;
        chart.ReCalcWidthHeight();
    }
}

TChartFootTitle::TChartFootTitle(TCustomChartPanel* chart) : TChartTitle(chart)
{
    AtTop = false;
    TNotifyEvent keep = std::move(Font().OnChange);
    Font().SetColor(clRed);
    Font().SetStyle(fsItalic);
    Font().OnChange = std::move(keep);
}

// ---------------------------------------------------------------- walls

TCustomChartWall::TCustomChartWall(TCustomChart* chart) : TChartCustomShape(chart), chart_(chart)
{
    TCustomChartPanel* p = parent_;
    parent_ = nullptr;
    SetColor(clUseSeriesColor);
    parent_ = p;
}

void TCustomChartWall::Assign(const TPersistent& source)
{
    if (auto* w = dynamic_cast<const TCustomChartWall*>(&source)) {
        autoHide_ = w->autoHide_;
        dark3D_ = w->dark3D_;
        size_ = w->size_;
    }
    TChartCustomShape::Assign(source);
}

void TCustomChartWall::SetAutoHide(bool v) { chart_->SetBooleanProperty(autoHide_, v); }
void TCustomChartWall::SetDark3D(bool v) { chart_->SetBooleanProperty(dark3D_, v); }
void TCustomChartWall::SetSize(int v) { chart_->SetIntegerProperty(size_, v); }

void TCustomChartWall::InitColor(TColor c)
{
    TCustomChartPanel* p = parent_;
    parent_ = nullptr;
    SetColor(c);
    parent_ = p;
    DefaultColor = c;
}

bool TCustomChartWall::ApplyDark3D()
{
    return Brush().Style() != bsClear && !(Brush().Bitmap() && !Brush().Bitmap()->Empty()) && dark3D_;
}

bool TCustomChartWall::HasGradient_() { return TChartCustomShape::HasGradient() && Gradient().Visible(); }

bool TCustomChartWall::ShouldDraw() { return chart_->View3DWalls() && Visible() && !autoHide_; }

TChartBackWall::TChartBackWall(TCustomChart* chart) : TCustomChartWall(chart)
{
    InitColor(clSilver);
    DefaultTransparent = true;
    TCustomChartPanel* p = parent_;
    parent_ = nullptr;
    SetTransparent(true);
    parent_ = p;
}

TChartRightWall::TChartRightWall(TCustomChart* chart) : TCustomChartWall(chart)
{
    InitColor(clSilver);
    TChartCustomShapeBrushPen::SetVisible(false);
}

TChartWalls::TChartWalls(TCustomChart* chart)
{
    back_ = std::make_unique<TChartBackWall>(chart);
    left_ = std::make_unique<TChartWall>(chart);
    left_->InitColor(0x80FFFF);
    bottom_ = std::make_unique<TChartWall>(chart);
    bottom_->InitColor(clWhite);
    right_ = std::make_unique<TChartRightWall>(chart);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(const TChartWalls& s)
{
    back_->Assign(*s.back_);
    bottom_->Assign(*s.bottom_);
    left_->Assign(*s.left_);
    right_->Assign(*s.right_);
}

void TChartWalls::SetSize(int size)
{
    left_->SetSize(size);
    right_->SetSize(size);
    back_->SetSize(size);
    bottom_->SetSize(size);
}

}  // namespace chart
