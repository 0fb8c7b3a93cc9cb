// Series marks: texts, positions, drawing and overlap avoidance.
#include "widgets/chart/ChartMarks.h"

#include <algorithm>
#include <cmath>

#include "base/StrUtils.h"
#include "platform/graphics/GDI.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartSeries.h"

namespace chart {

using namespace platform;

namespace {
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == ChartLineSeparator) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty() || out.empty()) out.push_back(cur);
    return out;
}
}  // namespace

std::string LimitMarkLines(const std::string& text)
{
    std::string out;
    bool first = true;
    for (const std::string& line : SplitLines(text)) {
        if (!first) out += ChartLineSeparator;
        out += first ? line : line.substr(0, 255);
        first = false;
    }
    return out;
}

// ---------------------------------------------------------------- positions and items

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& p)
{
    ArrowStart = p.ArrowStart;
    ArrowEnd = p.ArrowEnd;
    BoxHeight = p.BoxHeight;
    BoxTopLeft = p.BoxTopLeft;
    BoxWidth = p.BoxWidth;
}

TSeriesMarkPosition* TSeriesMarksPositions::Get(int i) const
{
    return i >= 0 && i < Count() ? items_[std::size_t(i)].get() : nullptr;
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int i)
{
    if (i >= Count()) items_.resize(std::size_t(i) + 1);
    auto& p = items_[std::size_t(i)];
    if (!p) p = std::make_unique<TSeriesMarkPosition>();
    return *p;
}

void TSeriesMarksPositions::Put(int i, const TSeriesMarkPosition& p)
{
    if (i < 0) return;
    TSeriesMarkPosition& e = Ensure(i);
    e.IsCustom = true;
    e.Assign(p);
}

void TSeriesMarksPositions::Automatic(int i)
{
    if (auto* p = Get(i)) p->IsCustom = false;
}

bool TSeriesMarksPositions::ExistCustom() const
{
    return std::any_of(items_.begin(), items_.end(), [](const auto& p) { return p && p->IsCustom; });
}

void TSeriesMarksPositions::Delete(int i)
{
    if (i >= 0 && i < Count()) items_.erase(items_.begin() + i);
}

void TSeriesMarksPositions::Delete(int start, int quantity)
{
    if (start < 0 || start >= Count() || quantity <= 0) return;
    items_.erase(items_.begin() + start, items_.begin() + std::min(Count(), start + quantity));
}

TMarksItem* TMarksItems::Get(int i)
{
    if (i < 0) return nullptr;
    if (i >= Count()) items_.resize(std::size_t(i) + 1);
    auto& item = items_[std::size_t(i)];
    if (!item) {
        item = std::make_unique<TMarksItem>(marks_->Parent());
        item->SetColor(clInfoBk);
        if (item->Shadow()) {
            TNotifyEvent keep = std::move(item->Shadow()->OnChange);
            item->Shadow()->SetColor(clGray);
            item->Shadow()->SetSize(1);
            item->Shadow()->OnChange = std::move(keep);
        }
    }
    return item.get();
}

void TMarksItems::Clear()
{
    items_.clear();
    marks_->Repaint();
}

void TMarksItems::Delete(int i)
{
    if (i >= 0 && i < Count()) items_.erase(items_.begin() + i);
}

// ---------------------------------------------------------------- gradient and symbol

TSeriesMarksGradient::TSeriesMarksGradient(TNotifyEvent change) : TChartGradient()
{
    SetDirection(gdRightLeft);
    SetEndColor(clWhite);
    SetStartColor(clSilver);
    OnChange = std::move(change);
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomChartPanel* parent) : TChartCustomShape(parent)
{
    InitShadow(*Shadow());
    TChartCustomShapeBrushPen::SetVisible(false);
    DefaultTransparent = false;
}

void TSeriesMarksSymbol::InitShadow(TChartShadow& s)
{
    TNotifyEvent keep = std::move(s.OnChange);
    s.SetSize(1);
    s.DefaultSize = 1;
    s.OnChange = std::move(keep);
}

// ---------------------------------------------------------------- TSeriesMarks

TSeriesMarks::TSeriesMarks(TChartSeries* series) : TChartCustomShape(nullptr), series_(series)
{
    InitShadow(*Shadow());
    SetColor(clInfoBk);
    TChartCustomShapeBrushPen::SetVisible(false);
}

TSeriesMarks::~TSeriesMarks() = default;

std::unique_ptr<TChartGradient> TSeriesMarks::GetGradientClass(TNotifyEvent change)
{
    return std::make_unique<TSeriesMarksGradient>(std::move(change));
}

void TSeriesMarks::SetArrowLength(int v) { Callout().SetLength(v); }
void TSeriesMarks::SetArrowPen(const TChartPen& pen) { Callout().SetArrow(pen); }

TSeriesMarksSymbol& TSeriesMarks::Symbol()
{
    if (!symbol_) symbol_ = std::make_unique<TSeriesMarksSymbol>(parent_);
    return *symbol_;
}

void TSeriesMarks::SetSymbol(const TSeriesMarksSymbol* s)
{
    if (!s) symbol_.reset();
    else Symbol().Assign(*s);
}

void TSeriesMarks::ConvertTo2D(TPoint point, TPoint& topLeft)
{
    if (!parent_ || !parent_->View3D()) return;
    TCanvas3D& c = *parent_->ChartCanvas();
    if (c.GetSupports3DText()) return;
    const TPoint p = c.Calculate3DPosition(point.X, point.Y, ZPosition);
    topLeft.X += p.X - point.X;
    topLeft.Y += p.Y - point.Y;
}

void TSeriesMarks::InitShadow(TChartShadow& s)
{
    TNotifyEvent keep = std::move(s.OnChange);
    s.SetColor(clGray);
    s.SetSize(1);
    s.DefaultColor = clGray;
    s.DefaultSize = 1;
    s.OnChange = std::move(keep);
}

void TSeriesMarks::Assign(const TPersistent& source)
{
    if (auto* m = dynamic_cast<const TSeriesMarks*>(&source)) {
        angle_ = m->angle_;
        if (m->callout_) Callout().Assign(*m->callout_);
        else callout_.reset();
        clip_ = m->clip_;
        drawEvery_ = m->drawEvery_;
        style_ = m->style_;
        multiLine_ = m->multiLine_;
        SetSymbol(m->symbol_.get());
        Items.Clear();
        auto& from = const_cast<TSeriesMarks*>(m)->Items;
        for (int i = 0; i < from.Count(); ++i)
            if (from.Has(i)) {
                TMarksItem* item = Items.Get(i);
                item->Assign(*from.Get(i));
                item->HasText = from.Get(i)->HasText;
                item->Text = from.Get(i)->Text;
            }
    }
    TChartCustomShape::Assign(source);
}

void TSeriesMarks::SetAngle(int v) { series_->SetIntegerProperty(angle_, v); }
void TSeriesMarks::SetClip(bool v) { series_->SetBooleanProperty(clip_, v); }
void TSeriesMarks::SetDrawEvery(int v) { series_->SetIntegerProperty(drawEvery_, std::max(1, v)); }
void TSeriesMarks::SetMultiline(bool v) { series_->SetBooleanProperty(multiLine_, v); }

void TSeriesMarks::SetStyle(TSeriesMarksStyle v)
{
    if (style_ == v) return;
    style_ = v;
    series_->Repaint();
}

TMarksCallout& TSeriesMarks::Callout()
{
    if (!callout_) {
        callout_ = std::make_unique<TMarksCallout>(series_);
        callout_->SetParent(parent_);
    }
    return *callout_;
}

void TSeriesMarks::SetParent(TCustomChartPanel* p)
{
    TChartCustomShape::SetParent(p);
    if (callout_) callout_->SetParent(p);
    if (symbol_) symbol_->SetParent(p);
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& p)
{
    if (callout_) callout_->ApplyArrowLength(p);
}

TChartCustomShape* TSeriesMarks::MarkItem(int i)
{
    if (Items.Has(i)) return Items.Get(i);
    return this;
}

void TSeriesMarks::Clear()
{
    Positions.Clear();
    if (!Items.LoadingCustom) Items.Clear();
}

void TSeriesMarks::ResetPositions()
{
    for (int i = 0; i < Positions.Count(); ++i) Positions.Automatic(i);
    series_->Repaint();
}

void TSeriesMarks::UsePosition(int i, TSeriesMarkPosition& p)
{
    TSeriesMarkPosition& stored = Positions.Ensure(i);
    if (!stored.IsCustom) {
        stored.Assign(p);
        return;
    }
    const TPoint start = p.ArrowStart;
    const bool fixed = p.ArrowStartFixed;
    p.Assign(stored);
    if (fixed) p.ArrowStart = start;
}

TRect TSeriesMarks::ScreenRect(int index, const TSeriesMarkPosition& p)
{
    TRect r = p.Bounds();
    TChartCustomShape* m = MarkItem(index);
    if (m->Pen().Visible()) {
        r.Right += m->Pen().Width();
        r.Bottom += m->Pen().Width();
    }
    if (TChartShadow* s = m->Shadow()) {
        if (s->HorizSize() > 0) r.Right += s->HorizSize();
        else r.Left += s->HorizSize();
        if (s->VertSize() > 0) r.Bottom += s->VertSize();
        else r.Top += s->VertSize();
    }
    TPoint moved{r.Left, r.Top};
    ConvertTo2D(p.ArrowEnd, moved);
    OffsetRect(r, moved.X - r.Left, moved.Y - r.Top);
    return r;
}

void TSeriesMarks::AntiOverlap(int first, int index, TSeriesMarkPosition& p)
{
    const TRect r = ScreenRect(index, p);
    for (int a = first; a < index; ++a) {
        TSeriesMarkPosition* other = Positions.Get(a);
        if (!other) continue;
        const TRect ra = ScreenRect(a, *other);
        TRect cut;
        if (!IntersectRect(cut, r, ra)) continue;
        const int d = r.Top < ra.Top ? r.Bottom - ra.Top : r.Top - ra.Bottom;
        p.BoxTopLeft.Y -= d;
        p.ArrowEnd.Y -= d;
    }
}

void TSeriesMarks::InternalDraw(int index, TColor color, const std::string& text, TSeriesMarkPosition& p)
{
    UsePosition(index, p);
    if (!parent_) return;
    TCanvas3D& c = *parent_->ChartCanvas();
    TChartCustomShape* m = MarkItem(index);
    if (callout_ && (callout_->Visible() || callout_->Arrow().Visible()))
        callout_->Draw(color, p.ArrowStart, p.ArrowEnd, ZPosition);
    if (m->Transparent()) {
        c.Brush().SetStyle(bsClear);
        c.SetBackMode(cbmTransparent);
    } else {
        c.AssignBrush(m->Brush(), m->Color());
    }
    c.AssignVisiblePen(m->Pen());
    // The box goes where the projection takes its point; the stored position stays 2D.
    TPoint topLeft = p.BoxTopLeft;
    ConvertTo2D(p.ArrowEnd, topLeft);
    const TRect box{topLeft.X, topLeft.Y, topLeft.X + p.BoxWidth, topLeft.Y + p.BoxHeight};
    const int angle = ((angle_ % 360) + 360) % 360;
    m->DrawRectRotated(box, angle, ZPosition + 1);
    c.AssignFont(m->Font());
    const bool symbol = SymbolDrawn();
    if (symbol) {
        const int h = c.GetFontHeight();
        symbol_->SetColor(color);
        symbol_->SetTransparent(false);
        symbol_->ShapeBounds = {topLeft.X + 4, topLeft.Y + 3, topLeft.X + h - 1, topLeft.Y + h - 2};
        symbol_->DrawRectRotated(symbol_->ShapeBounds, angle, ZPosition + 1);
        c.AssignFont(m->Font());
    }
    c.Brush().SetStyle(bsClear);
    c.SetBackMode(cbmTransparent);
    c.SetTextAlign(TA_CENTER | TA_TOP);
    TRect tr = box;
    tr.Left += 2;
    if (symbol) tr.Left += symbol_->Width() + 4;
    DrawText(tr, text);
    c.SetTextAlign(0);
}

void TSeriesMarks::DrawText(const TRect& r, const std::string& text)
{
    if (!parent_) return;
    TCanvas3D& c = *parent_->ChartCanvas();
    int cx, cy;
    RectCenter(r, cx, cy);
    const int h = c.GetFontHeight();
    const std::vector<std::string> lines = SplitLines(LimitMarkLines(text));
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (angle_ == 0) {
            int y = r.Top + int(k) * h;
            if (Pen().Visible()) y += Pen().Width();
            c.TextOut(cx, y, lines[k]);
        } else {
            const double a = angle_ * ChartPiStep, d = int(k) * h + cy - r.Bottom;
            const int x = cx + int(std::nearbyint(std::sin(a) * d)) + (angle_ == 90 ? 1 : 0);
            c.RotateLabel(x, cy + int(std::nearbyint(std::cos(a) * d)), lines[k], angle_);
        }
    }
}

int TSeriesMarks::TextWidth(int index)
{
    if (!parent_) return 0;
    TCanvas3D& c = *parent_->ChartCanvas();
    int w = 0;
    for (const std::string& line : SplitLines(LimitMarkLines(series_->GetMarkText(index))))
        w = std::max(w, c.TextWidth(line));
    return w;
}

int TSeriesMarks::Clicked(int x, int y)
{
    if (parent_) parent_->ChartCanvas()->Calculate2DPosition(x, y, ZPosition);
    for (int i = 0; i < Positions.Count(); i += drawEvery_) {
        TSeriesMarkPosition* p = Positions.Get(i);
        if (!p) continue;
        const TRect b = p->Bounds();
        if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) return i;
    }
    return -1;
}

// ---------------------------------------------------------------- series' marks

std::string TChartSeries::MarkPercent(int i, bool addTotal)
{
    const double total = mandatory_->TotalABS();
    const double p = total == 0 ? 100 : std::abs(GetMarkValue(i)) * 100 / total;
    const std::string text = base::FormatFloat(PercentFormat(), p);
    if (!addTotal) return text;
    const std::string totalText = base::FormatFloat(ValueFormat(), total);
    return ChartFormat(marks_->MultiLine() ? ChartMsg_DefaultPercentOf2 : ChartMsg_DefaultPercentOf, text.c_str(),
                       totalText.c_str());
}

std::string TChartSeries::GetMarkText(int i)
{
    std::string text;
    if (marks_->Items.Has(i) && marks_->Items.Get(i)->HasText) {
        text = marks_->Items.Get(i)->Text;
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    } else {
        const std::string sep = marks_->MultiLine() ? std::string(1, ChartLineSeparator) : std::string(" ");
        const std::string value = base::FormatFloat(ValueFormat(), GetMarkValue(i));
        const std::string label = GetXLabel(i).empty() ? value : GetXLabel(i);
        const double x = notMandatory_->Value(i);
        const std::string xText = activeHorizAxis_ ? activeHorizAxis_->LabelValue(x) : base::FormatFloat(ValueFormat(), x);
        switch (marks_->Style()) {
        case smsValue: text = value; break;
        case smsPercent: text = MarkPercent(i, false); break;
        case smsLabel: text = label; break;
        case smsLabelPercent: text = label + sep + MarkPercent(i, false); break;
        case smsLabelValue: text = label + sep + value; break;
        case smsLegend:
            text = parentChart_ ? parentChart_->FormattedValueLegend(this, i) : std::string();
            if (!marks_->MultiLine()) std::replace(text.begin(), text.end(), ChartColumnSeparator, ' ');
            break;
        case smsPercentTotal: text = MarkPercent(i, true); break;
        case smsLabelPercentTotal: text = label + sep + MarkPercent(i, true); break;
        case smsXValue: text = xText; break;
        case smsXY: text = xText + sep + value; break;
        }
    }
    if (OnGetMarkText) OnGetMarkText(this, i, text);
    return text;
}

void TChartSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& p)
{
    marks_->InternalDraw(i, GetValueColor(i), text, p);
}

void TChartSeries::DrawMarks()
{
    if (!parentChart_) return;
    TCanvas3D& c = *parentChart_->ChartCanvas();
    TSeriesMarkPosition p;
    for (int i = FirstShownIndex; i >= 0 && i <= LastShownIndex; ++i) {
        if (i % marks_->DrawEvery() != 0 || IsNull(i)) continue;
        const std::string t = GetMarkText(i);
        if (t.empty()) continue;
        TChartCustomShape* m = marks_->MarkItem(i);
        if (!m->Visible()) continue;
        c.AssignFont(m->Font());
        int lines = 0;
        int w = parentChart_->MultiLineTextWidth(t, lines);
        int h = lines * c.GetFontHeight();
        w += c.TextWidth("W");
        if (marks_->SymbolDrawn()) w += c.GetFontHeight() - 4;
        if (m->Pen().Visible()) {
            w += 2 * m->Pen().Width();
            h += 2 * m->Pen().Width();
        } else {
            ++w;
            ++h;
        }
        p = TSeriesMarkPosition();
        p.BoxWidth = w;
        p.BoxHeight = h;
        p.ArrowEnd = {CalcXPos(i), CalcYPos(i)};
        p.ArrowStart = p.ArrowEnd;
        p.BoxTopLeft = {p.ArrowEnd.X - w / 2, p.ArrowEnd.Y - h + 1};
        DrawMark(i, t, p);
    }
}

int TChartSeries::MaxMarkWidth()
{
    int w = 0;
    for (int i = 0; i < Count(); ++i)
        if (marks_->MarkItem(i)->Visible()) w = std::max(w, marks_->TextWidth(i));
    return w;
}

}  // namespace chart
