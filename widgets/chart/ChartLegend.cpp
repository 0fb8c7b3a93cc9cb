// The chart legend.
#include "widgets/chart/ChartLegend.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GDI.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartPen.h"
#include "widgets/chart/ChartProcs.h"

namespace chart {

using namespace platform;

TLegendSymbol::TLegendSymbol(TCustomChartLegend* legend) : legend_(legend)
{
    auto change = [legend](TObject*) { legend->Repaint(); };
    gradient_ = std::make_unique<TChartGradient>(change);
    pen_ = std::make_unique<TChartPen>(change);
}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Assign(const TLegendSymbol& other)
{
    Continuous = other.Continuous;
    gradient_->Assign(*other.gradient_);
    pen_->Assign(*other.pen_);
    Position = other.Position;
    Squared = other.Squared;
    Width = other.Width;
    WidthUnits = other.WidthUnits;
    Visible = other.Visible;
}

int TLegendSymbol::CalcWidth(int w)
{
    if (!Visible) return 0;
    if (Squared) return legend_->CalcItemHeight() - 5;
    if (WidthUnits == lcsPixels) return Width;
    return int(std::nearbyint(double(w) * Width / 100));
}

void TLegendSymbol::Draw(TColor color, const TRect& r)
{
    TCanvas3D& c = *legend_->Parent()->ChartCanvas();
    c.AssignVisiblePen(*pen_);
    if (gradient_->Visible()) {
        gradient_->SetEndColor(color);
        gradient_->Draw(c, r, 0);
        c.Brush().SetStyle(bsClear);
    } else {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(clWhite);
    }
    if (pen_->Visible()) c.Rectangle(r);
}

TLegendTitle::TLegendTitle(TCustomChartPanel* chart) : TChartShape(chart)
{
    TCustomChartPanel* p = parent_;
    parent_ = nullptr;
    DefaultTransparent = true;
    SetTransparent(true);
    parent_ = p;
    TNotifyEvent keep = std::move(Font().OnChange);
    Font().SetStyle(fsBold);
    Font().OnChange = std::move(keep);
    if (Shadow()) {
        TNotifyEvent k = std::move(Shadow()->OnChange);
        Shadow()->SetSize(2);
        Shadow()->SetColor(clSilver);
        Shadow()->OnChange = std::move(k);
    }
}

void TLegendTitle::Assign(const TPersistent& source)
{
    if (auto* t = dynamic_cast<const TLegendTitle*>(&source)) {
        lines_ = t->lines_;
        textAlignment_ = t->textAlignment_;
    }
    TChartShape::Assign(source);
}

void TLegendTitle::SetText(const std::vector<std::string>& lines)
{
    lines_ = lines;
    Repaint();
}

void TLegendTitle::SetCaption(const std::string& text)
{
    lines_.clear();
    if (!text.empty()) lines_.push_back(text);
    Repaint();
}

void TLegendTitle::SetTextAlignment(TAlignment v)
{
    if (StoreChanged(textAlignment_, v)) Repaint();
}

int TLegendTitle::CalcHeight()
{
    TCanvas3D& c = *parent_->ChartCanvas();
    c.AssignFont(Font());
    int h = int(lines_.size()) * c.GetFontHeight();
    if (!Transparent()) {
        h += 2;
        if (Pen().Visible()) h += 2 * Pen().Width();
    }
    return h;
}

int TLegendTitle::TotalWidth()
{
    TCanvas3D& c = *parent_->ChartCanvas();
    c.AssignFont(Font());
    int w = 0;
    for (const std::string& l : lines_) w = std::max(w, c.TextWidth(l));
    w += c.TextWidth("W");
    if (!Transparent()) {
        if (Pen().Visible()) w += 2 * Pen().Width();
        if (Shadow()) w += Shadow()->HorizSize();
    }
    return w;
}

void TLegendTitle::CalcShapeBounds(const TRect& r)
{
    ShapeBounds = {r.Left + 2, r.Top + 2, r.Right - 2, r.Top + 2 + CalcHeight()};
    if (!Transparent() && Shadow()) {
        if (Shadow()->HorizSize() > 0) ShapeBounds.Right -= Shadow()->HorizSize();
        else ShapeBounds.Left -= Shadow()->HorizSize();
        if (Shadow()->VertSize() < 0) OffsetRect(ShapeBounds, 0, -Shadow()->VertSize());
    }
}

void TLegendTitle::DrawText()
{
    TCanvas3D& c = *parent_->ChartCanvas();
    c.AssignFont(Font());
    c.SetTextAlign(0);
    c.SetBackMode(cbmTransparent);
    const int w = c.TextWidth("W"), h = c.GetFontHeight();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const int lw = c.TextWidth(lines_[i]);
        const int x = textAlignment_ == taLeftJustify    ? ShapeBounds.Left + w / 2
                      : textAlignment_ == taRightJustify ? ShapeBounds.Right - lw - w / 2
                                                         : (ShapeBounds.Left + ShapeBounds.Right) / 2 - lw / 2;
        c.TextOut(x, ShapeBounds.Top + 1 + int(i) * h, lines_[i]);
    }
}

int TCustomChartLegend::FirstItemTop()
{
    int top = ShapeBounds.Top;
    if (TitleShown) {
        top += titleHeight_ + 2;
        if (!title_->Transparent() && title_->Shadow()) top += std::abs(title_->Shadow()->VertSize());
    }
    return top;
}

TCustomChartLegend::TCustomChartLegend(TCustomChart* chart) : TChartCustomShapePosition(chart), chart_(chart)
{
    title_ = std::make_unique<TLegendTitle>(chart);
    auto change = [this](TObject*) { Repaint(); };
    dividingLines_ = std::make_unique<TChartHiddenPen>(change);
    symbol_ = std::make_unique<TLegendSymbol>(this);
    Gradient();
}

TChartLegendGradient::TChartLegendGradient(TNotifyEvent change)
{
    SetDirection(gdRightLeft);
    SetEndColor(clWhite);
    SetStartColor(clSilver);
    OnChange = std::move(change);
}

std::unique_ptr<TChartGradient> TCustomChartLegend::GetGradientClass(TNotifyEvent change)
{
    return std::make_unique<TChartLegendGradient>(std::move(change));
}

void TCustomChartLegend::PrepareSymbolPen() { chart_->LegendPen = symbol_->DefaultPen ? nullptr : &symbol_->Pen(); }

TCustomChartLegend::~TCustomChartLegend() = default;

void TCustomChartLegend::Assign(const TPersistent& source)
{
    if (auto* l = dynamic_cast<const TCustomChartLegend*>(&source)) {
        alignment_ = l->alignment_;
        checkBoxes_ = l->checkBoxes_;
        checkBoxesStyle_ = l->checkBoxesStyle_;
        CurrentPage = l->CurrentPage;
        dividingLines_->Assign(*l->dividingLines_);
        firstValue_ = l->firstValue_;
        FontSeriesColor = l->FontSeriesColor;
        HorizMargin = l->HorizMargin;
        Inverted = l->Inverted;
        legendStyle_ = l->legendStyle_;
        MaxNumRows = l->MaxNumRows;
        ResizeChart = l->ResizeChart;
        symbol_->Assign(*l->symbol_);
        textStyle_ = l->textStyle_;
        title_->Assign(*l->title_);
        TopPos = l->TopPos;
        VertMargin = l->VertMargin;
        VertSpacing = l->VertSpacing;
    }
    TChartCustomShapePosition::Assign(source);
}

void TCustomChartLegend::SetParent(TCustomChartPanel* p)
{
    TChartCustomShapePosition::SetParent(p);
    chart_ = dynamic_cast<TCustomChart*>(p);
    title_->SetParent(p);
}

void TCustomChartLegend::SetAlignment(TLegendAlignment v)
{
    if (alignment_ == v) return;
    alignment_ = v;
    Repaint();
}

void TCustomChartLegend::SetCheckBoxes(bool v)
{
    if (checkBoxes_ == v) return;
    checkBoxes_ = v;
    Repaint();
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle v)
{
    if (checkBoxesStyle_ == v) return;
    checkBoxesStyle_ = v;
    if (v == cbsRadio) {
        bool first = true;
        for (TChartSeries* s : chart_->SeriesList()) {
            if (!s->ShowInLegend() || !s->Active()) continue;
            if (!first) s->SetActive(false);
            first = false;
        }
    }
    Repaint();
}

void TCustomChartLegend::SetFirstValue(int v)
{
    // The message asks for a value above 0, and so does the check.
    if (v <= 0) throw LegendException(ChartMsg_LegendFirstValue);
    if (firstValue_ == v) return;
    firstValue_ = v;
    Repaint();
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle v)
{
    if (legendStyle_ == v) return;
    legendStyle_ = v;
    CalcLegendStyle();
    Repaint();
}

void TCustomChartLegend::SetTextStyle(TLegendTextStyle v)
{
    if (textStyle_ == v) return;
    textStyle_ = v;
    Repaint();
}

bool TCustomChartLegend::ShouldDraw() { return Visible() && (HasCheckBoxes() || chart_->CountActiveSeries() > 0); }

void TCustomChartLegend::CalcLegendStyle()
{
    if (legendStyle_ != lsAuto) EffectiveStyle = legendStyle_;
    else if (checkBoxes_) EffectiveStyle = lsSeries;
    else EffectiveStyle = chart_->CountActiveSeries() < 2 ? lsValues : lsSeries;
}

TChartSeries* TCustomChartLegend::GetLegendSeries() { return Series ? Series : chart_->GetASeries(); }

std::string TCustomChartLegend::FormattedValue(TChartSeries* s, int index)
{
    if (!s || index == -1) return {};
    std::string t = s->LegendString(index, textStyle_);
    std::replace(t.begin(), t.end(), ChartLineSeparator, ' ');
    return t;
}

std::string TCustomChartLegend::FormattedLegend(int index)
{
    switch (EffectiveStyle) {
    case lsValues: return chart_->FormattedValueLegend(GetLegendSeries(), index);
    case lsLastValues: {
        TChartSeries* s = chart_->SeriesLegend(index, !checkBoxes_);
        return s ? FormattedValue(s, s->Count() - 1) : std::string();
    }
    default: return chart_->SeriesTitleLegend(index, !checkBoxes_);
    }
}

int TCustomChartLegend::CalcItemHeight()
{
    int h = chart_->ChartCanvas()->GetFontHeight();
    if (HasCheckBoxes()) h = std::max(h, 17);
    h += VertSpacing;
    if (GetVertical() && dividingLines_->Visible()) h += dividingLines_->Width();
    return h;
}

void TCustomChartLegend::DrawLegend()
{
    CalcLegendStyle();
    TCanvas3D& c = *chart_->ChartCanvas();
    TLegendSizes z;
    z.frame = Pen().Visible() ? Pen().Width() : 0;
    if (Bevel() != bvNone) z.frame = BevelWidth();
    CountItems();
    chart_->LegendColor = Color();
    c.AssignFont(Font());
    TitleShown = title_->Visible() && !title_->Text().empty();
    if (TitleShown) titleHeight_ = title_->CalcHeight();
    c.AssignFont(Font());
    z.space = c.TextWidth(" ");
    z.item = CalcItemHeight();
    if (GetVertical()) LayoutColumn(z);
    else LayoutRows(z);
    if (LastItem < firstValue_) {
        texts_.clear();
        return;
    }
    PlaceHeight(z.item);
    const TLegendLeft left = GetVertical() ? PlaceVertical(z.frame) : PlaceHorizontal();
    if (chart_->OnGetLegendRect) chart_->OnGetLegendRect(chart_, ShapeBounds);
    Draw();
    DrawTitle();
    DrawItems(left, z);
    if (ResizeChart && !CustomPosition()) ShrinkChartRect();
    chart_->ReCalcWidthHeight();
    texts_.clear();
}

// The first item shown (by the chart's page with values) and how many items there are.
void TCustomChartLegend::CountItems()
{
    const int m = chart_->MaxPointsPerPage();
    if (EffectiveStyle == lsValues && CurrentPage && m > 0) firstValue_ = (chart_->Page() - 1) * m;
    else if (m > 0) firstValue_ = 0;
    if (EffectiveStyle == lsValues) {
        TChartSeries* s = GetLegendSeries();
        ItemCount = s && s->ShowInLegend() ? s->CountLegendItems() - firstValue_ : 0;
        if (m > 0 && CurrentPage) ItemCount = std::min(ItemCount, m);
    } else {
        int n = 0;
        for (TChartSeries* s : chart_->SeriesList())
            if (s->ShowInLegend() && (checkBoxes_ || s->Active())) ++n;
        ItemCount = n - firstValue_;
    }
    ItemCount = std::max(0, ItemCount);
}

// The texts of the items shown, split at the column separator, and the columns' widths.
void TCustomChartLegend::ComputeTexts(int space)
{
    TCanvas3D& c = *chart_->ChartCanvas();
    texts_.clear();
    for (int i = firstValue_; i <= LastItem; ++i) {
        std::string t = chart_->InternalFormattedLegend(*this, i);
        const std::size_t a = t.find(ChartColumnSeparator);
        if (a == std::string::npos) {
            texts_.push_back({t, {}});
        } else {
            std::string rest = t.substr(a + 1);
            const std::size_t b = rest.find(ChartColumnSeparator);
            texts_.push_back({t.substr(0, a), b == std::string::npos ? rest : rest.substr(0, b)});
        }
    }
    if (AutoColumnWidths) {
        ColumnWidths[0] = ColumnWidths[1] = 0;
        for (auto& t : texts_) {
            if (!t.first.empty()) ColumnWidths[0] = std::max(ColumnWidths[0], c.TextWidth(t.first));
            if (!t.second.empty()) ColumnWidths[1] = std::max(ColumnWidths[1], c.TextWidth(t.second));
        }
    }
    textWidth_ = 2 * space - 1 + ColumnWidths[0] + ColumnWidths[1];
}

// How many items of size z fit from p to the chart's bottom (vertical) or right edge.
int TCustomChartLegend::ItemsThatFit(int p, int z, bool vertical, int frame) const
{
    const TRect& cr = chart_->ChartRect;
    const int edge = vertical ? cr.Bottom : cr.Right;
    if (edge <= p || z <= 0) return 0;
    const int extent = vertical ? chart_->ChartRectHeight + cr.Top : chart_->ChartRectWidth;
    return std::min((extent - p - 2 * frame) / z, ItemCount);
}

// Beside the chart: one column of the items that fit below the legend's top.
void TCustomChartLegend::LayoutColumn(const TLegendSizes& z)
{
    if (!CustomPosition())
        ShapeBounds.Top = chart_->DrawBounds.Top + int(std::nearbyint(TopPos * chart_->DrawBounds.Height() / 100.0));
    ColumnCount = 1;
    RowCount = ItemsThatFit(FirstItemTop(), z.item, true, z.frame);
    LastItem = firstValue_ + std::min(ItemCount, RowCount) - 1;
    ComputeTexts(z.space);
}

// Above or below the chart: as many columns as fit across, in at most MaxNumRows rows.
void TCustomChartLegend::LayoutRows(const TLegendSizes& z)
{
    TRect& r = ShapeBounds;
    const TRect& cr = chart_->ChartRect;
    LastItem = firstValue_ + ItemCount - 1;
    ComputeTexts(z.space);
    SymbolWidthPx = symbol_->CalcWidth(textWidth_);
    if (!CustomPosition()) {
        if (alignment_ == laBottom) {
            int g = chart_->Shadow().VertSize() + z.frame + 1;
            if (OnLegendSizing) OnLegendSizing(this, g);
            r.Bottom = cr.Bottom - g;
        } else {
            r.Top = cr.Top + z.frame + 1;
        }
    }
    ColumnCount = ItemsThatFit(8, SymbolWidthPx + textWidth_ + (HasCheckBoxes() ? 35 : 8), false, z.frame);
    RowCount = ColumnCount < 1 ? 0 : std::min((ItemCount + ColumnCount - 1) / ColumnCount, MaxNumRows);
    LastItem = firstValue_ + std::min(ItemCount, ColumnCount * RowCount) - 1;
    ComputeTexts(z.space);
}

// The legend's height: its rows and the title with its shadow.
void TCustomChartLegend::PlaceHeight(int itemHeight)
{
    int a = itemHeight * RowCount + 2;
    if (TitleShown) {
        a += titleHeight_ + 2;
        if (!title_->Transparent() && title_->Shadow()) a += std::abs(title_->Shadow()->VertSize());
    }
    if (alignment_ == laBottom && !CustomPosition()) ShapeBounds.Top = ShapeBounds.Bottom - a;
    else ShapeBounds.Bottom = ShapeBounds.Top + a;
}

// Beside the chart: as wide as the widest text with its symbol (or the title), at the
// chart's left or right edge.
TCustomChartLegend::TLegendLeft TCustomChartLegend::PlaceVertical(int frame)
{
    TRect& r = ShapeBounds;
    const TRect& cr = chart_->ChartRect;
    const bool boxes = HasCheckBoxes();
    int w = textWidth_ + 10;
    SymbolWidthPx = symbol_->CalcWidth(textWidth_ + 10);
    w += SymbolWidthPx;
    if (OnLegendSizing) OnLegendSizing(this, w);
    if (TitleShown) w = std::max(w, title_->TotalWidth());
    if (CustomPosition() || alignment_ == laLeft) {
        if (!CustomPosition()) r.Left = cr.Left + frame + 1;
    } else {
        r.Right = cr.Right - (Shadow() ? Shadow()->HorizSize() : 0) - frame - 1;
        r.Left = r.Right - w - (boxes ? 15 : 0);
    }
    TLegendLeft left{0, r.Left};
    if (boxes) {
        left.boxes = r.Left + 4;
        left.items = left.boxes + 11;
    }
    r.Right = left.items + w;
    return left;
}

// Above or below the chart: its columns' width, centred by TopPos across the drawing.
TCustomChartLegend::TLegendLeft TCustomChartLegend::PlaceHorizontal()
{
    TRect& r = ShapeBounds;
    const bool boxes = HasCheckBoxes();
    int w = ColumnCount * (textWidth_ + SymbolWidthPx + 6) + 10;
    if (boxes) w += ColumnCount * 13 + 8;
    const int d = std::min(chart_->ChartRectWidth, w) / 2;
    if (!CustomPosition())
        r.Left = int(std::nearbyint(TopPos * (chart_->DrawBounds.Width() - 2 * d) / 100.0)) + chart_->ChartRectCenterX - d;
    r.Right = r.Left + 2 * d;
    TLegendLeft left{0, r.Left};
    if (boxes) {
        left.boxes = r.Left + 4;
        left.items = r.Left + 15;
    }
    return left;
}

void TCustomChartLegend::DrawTitle()
{
    if (!TitleShown) return;
    title_->CalcShapeBounds(ShapeBounds);
    title_->Draw();
    title_->DrawText();
}

void TCustomChartLegend::DrawItems(const TLegendLeft& left, const TLegendSizes& z)
{
    chart_->ChartCanvas()->AssignFont(Font());
    const int x0 = left.items;
    const int symbolX = symbol_->Position == spLeft ? x0 + 6 : x0 + textWidth_ + 6;
    const int textX = symbol_->Position == spLeft ? x0 + SymbolWidthPx + 10 : x0 + 6;
    const int shown = LastItem - firstValue_ + 1;
    for (int k = 0; k < shown; ++k) {
        const int i = Inverted ? LastItem - k : firstValue_ + k;
        DrawItem(k, i, textX, symbolX, left.boxes, z.item, z.space);
    }
}

// The chart's rectangle gives the legend its side and a margin.
void TCustomChartLegend::ShrinkChartRect()
{
    const TRect& r = ShapeBounds;
    TRect& ch = chart_->ChartRect;
    switch (alignment_) {
    case laLeft: ch.Left = r.Right; break;
    case laRight: ch.Right = r.Left; break;
    case laTop: ch.Top = r.Bottom + chart_->Shadow().VertSize(); break;
    case laBottom: ch.Bottom = r.Top; break;
    }
    chart_->ReCalcWidthHeight();
    const int gap = GetVertical() ? (HorizMargin ? HorizMargin : 3 * chart_->ChartRectWidth / 100)
                               : (VertMargin ? VertMargin : 4 * chart_->ChartRectHeight / 100);
    switch (alignment_) {
    case laLeft: ch.Left += gap; break;
    case laRight: ch.Right -= gap; break;
    case laTop: ch.Top += gap; break;
    case laBottom: ch.Bottom -= gap; break;
    }
}

void TCustomChartLegend::DrawItem(int k, int i, int textX, int symbolX, int cx, int h, int s)
{
    if (k >= ItemCount) return;
    TCanvas3D& c = *chart_->ChartCanvas();
    c.Brush().SetColor(Color());
    c.Brush().SetStyle(bsClear);
    PrepareSymbolPen();
    int y = FirstItemTop() + 1, row = k, o = 0;
    const bool boxes = HasCheckBoxes();
    if (!GetVertical()) {
        row = k / ColumnCount;
        o = (k % ColumnCount) * (textWidth_ + SymbolWidthPx + 6 + (boxes ? 15 : 0));
    }
    textX += o;
    symbolX += o;
    y += row * h + VertSpacing / 2;
    if (chart_->OnGetLegendPos) chart_->OnGetLegendPos(chart_, i, textX, y, symbolX);
    TChartSeries* series = EffectiveStyle == lsValues ? GetLegendSeries() : chart_->SeriesLegend(i, !checkBoxes_);
    c.AssignFont(Font());
    if (FontSeriesColor && series) {
        c.Font().SetColor(EffectiveStyle == lsValues ? series->LegendItemColor(i) : series->SeriesColor());
    }
    DrawItemText(i, textX, boxes ? y + 1 : y, s);
    TRect sr{symbolX, y, symbolX + SymbolWidthPx, y + h + 1};
    if (!symbol_->Continuous || k == 0) sr.Top = y + 2;
    if (!symbol_->Continuous || k == ItemCount - 1) sr.Bottom -= VertSpacing + 3;
    if (EffectiveStyle == lsValues) {
        if (series) series->DrawLegend(series->LegendToValueIndex(i), sr);
        else symbol_->Draw(clWhite, sr);
    } else if (series && (boxes || series->Active())) {
        if (boxes)
            ChartDrawCheckBox(cx + o, y - 1 + (h - VertSpacing - 11) / 2, *c.ReferenceCanvas(), series->Active(), Color(),
                              checkBoxesStyle_ == cbsCheck);
        if (SymbolWidthPx > 0) series->DrawLegend(-1, sr);
    }
    if (symbol_->OnDraw) symbol_->OnDraw(this, series, i, sr);
    if (k > 0 && dividingLines_->Visible()) {
        c.AssignVisiblePen(*dividingLines_);
        c.SetBackMode(cbmTransparent);
        if (GetVertical()) c.DoHorizLine(ShapeBounds.Left, ShapeBounds.Right, y - VertSpacing / 2);
        else c.DoVertLine(ShapeBounds.Left + o + 2, ShapeBounds.Top, ShapeBounds.Bottom);
    }
}

// Item i's two text columns from x at height y, each right-aligned in its column where
// the text style puts numbers there.
void TCustomChartLegend::DrawItemText(int i, int x, int y, int space)
{
    TCanvas3D& c = *chart_->ChartCanvas();
    const auto& t = texts_[std::size_t(i - firstValue_)];
    const TLegendTextStyle ts = textStyle_;
    const bool rightCol0 = EffectiveStyle != lsSeries &&
                           (ts == ltsLeftValue || ts == ltsLeftPercent || ts == ltsXValue || ts == ltsValue ||
                            ts == ltsPercent || ts == ltsXAndValue || ts == ltsXAndPercent);
    const bool rightCol1 = EffectiveStyle != lsSeries &&
                           (ts == ltsRightValue || ts == ltsRightPercent || ts == ltsXAndValue || ts == ltsXAndPercent);
    c.SetBackMode(cbmTransparent);
    auto column = [&](const std::string& text, int width, bool right) {
        if (right) {
            x += width;
            if (!text.empty()) {
                c.SetTextAlign(TA_RIGHT);
                c.TextOut(x, y, text);
                c.SetTextAlign(0);
            }
        } else {
            if (!text.empty()) c.TextOut(x, y, text);
            x += width;
        }
        x += space;
    };
    column(t.first, ColumnWidths[0], rightCol0);
    column(t.second, ColumnWidths[1], rightCol1);
}

int TCustomChartLegend::Clicked(int x, int y)
{
    TRect r = ShapeBounds;
    if (OnLegendSizing) {
        int size = 0;
        OnLegendSizing(this, size);
        r.Right -= size;
    }
    if (x < r.Left || x > r.Right || y < r.Top || y > r.Bottom) return -1;
    chart_->ChartCanvas()->AssignFont(Font());
    const int h = CalcItemHeight();
    int row = -1;
    for (int a = 0; a < RowCount; ++a) {
        const int top = FirstItemTop() + a * h + 1;
        if (top <= y && y <= top + h) {
            row = Inverted ? RowCount - a - 1 : a;
            break;
        }
    }
    if (GetVertical()) return row < 0 ? -1 : firstValue_ + row;
    if (ColumnCount <= 0) return -1;
    const int q = (r.Right - r.Left) / ColumnCount;
    int result = -1;
    for (int j = 0; j < ColumnCount; ++j) {
        const int start = r.Left + j * q + 1;
        if (x < start || x > start + q) continue;
        if (row < 0) {
            result = -1;
            continue;
        }
        const int pos = Inverted ? (row + 1) * ColumnCount - j - 1 : row * ColumnCount + j;
        result = pos > ItemCount - 1 ? -1 : firstValue_ + pos;
    }
    return result;
}

bool TCustomChartLegend::DoMouseDown(int index)
{
    if (!HasCheckBoxes() || index == -1) return false;
    if (checkBoxesStyle_ == cbsRadio) {
        for (int i = 0; i < chart_->SeriesCount(); ++i)
            if (TChartSeries* s = chart_->SeriesLegend(i, false)) s->SetActive(i == index);
    } else if (TChartSeries* s = chart_->SeriesLegend(index, false)) {
        s->SetActive(!s->Active());
    }
    return true;
}

}  // namespace chart
