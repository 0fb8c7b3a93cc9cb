// The series' "Data" payload, random sample points and ordering by labels.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>

#include "base/DateTime.h"
#include "platform/Streaming.h"
#include "base/StringList.h"
#include "widgets/chart/ChartAxis.h"
#include "widgets/chart/ChartAxisPanel.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartFont.h"
#include "widgets/chart/ChartFunctions.h"
#include "widgets/chart/ChartMarks.h"
#include "widgets/chart/ChartPointer.h"
#include "widgets/chart/ChartProcs.h"
#include "widgets/chart/ChartSeriesStream.h"

namespace chart {

bool ChartRandomAtRunTime = false;
int clChartGallery1 = 0, clChartGallery2 = 3;

namespace {

constexpr int kMaxStoredLabel = 255;
constexpr int kMarkPositionSize = 34;

std::mt19937& Generator()
{
    static std::mt19937 g(7774444u);
    return g;
}

class Writer {
public:
    explicit Writer(std::vector<unsigned char>& out) : out_(out) {}
    void Byte(unsigned v) { out_.push_back(static_cast<unsigned char>(v)); }
    void Int(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        for (int k = 0; k < 4; ++k) Byte((u >> (8 * k)) & 0xFF);
    }
    void Double(double d)
    {
        std::uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int k = 0; k < 8; ++k) Byte(unsigned((u >> (8 * k)) & 0xFF));
    }

private:
    std::vector<unsigned char>& out_;
};

class Reader {
public:
    explicit Reader(const std::vector<unsigned char>& in) : in_(in) {}
    std::size_t Left() const { return in_.size() - pos_; }
    unsigned Byte()
    {
        Need(1);
        return in_[pos_++];
    }
    std::int32_t Int()
    {
        Need(4);
        std::uint32_t u = 0;
        for (int k = 0; k < 4; ++k) u |= std::uint32_t(in_[pos_++]) << (8 * k);
        return static_cast<std::int32_t>(u);
    }
    double Double()
    {
        Need(8);
        std::uint64_t u = 0;
        for (int k = 0; k < 8; ++k) u |= std::uint64_t(in_[pos_++]) << (8 * k);
        double d;
        std::memcpy(&d, &u, 8);
        if (!std::isfinite(d)) Fail();
        return d;
    }
    std::string Text(unsigned n)
    {
        Need(n);
        std::string s(reinterpret_cast<const char*>(in_.data() + pos_), n);
        pos_ += n;
        return s;
    }
    [[noreturn]] static void Fail() { throw ChartException(ChartMsg_SeriesDataInvalid); }

private:
    void Need(std::size_t n) const
    {
        if (Left() < n) Fail();
    }
    const std::vector<unsigned char>& in_;
    std::size_t pos_ = 0;
};

void WritePosition(Writer& w, const TSeriesMarkPosition& p)
{
    w.Int(p.ArrowStart.X);
    w.Int(p.ArrowStart.Y);
    w.Byte(p.ArrowStartFixed ? 1 : 0);
    w.Int(p.ArrowEnd.X);
    w.Int(p.ArrowEnd.Y);
    w.Byte(p.IsCustom ? 1 : 0);
    w.Int(p.BoxHeight);
    w.Int(p.BoxTopLeft.X);
    w.Int(p.BoxTopLeft.Y);
    w.Int(p.BoxWidth);
}

bool ReadBool(Reader& r)
{
    const unsigned b = r.Byte();
    if (b > 1) Reader::Fail();
    return b == 1;
}

TSeriesMarkPosition ReadPosition(Reader& r)
{
    TSeriesMarkPosition p;
    p.ArrowStart.X = r.Int();
    p.ArrowStart.Y = r.Int();
    p.ArrowStartFixed = ReadBool(r);
    p.ArrowEnd.X = r.Int();
    p.ArrowEnd.Y = r.Int();
    p.IsCustom = ReadBool(r);
    p.BoxHeight = r.Int();
    p.BoxTopLeft.X = r.Int();
    p.BoxTopLeft.Y = r.Int();
    p.BoxWidth = r.Int();
    return p;
}

struct StoredPoint {
    double a = 0, b = 0;
    TColor color = clUseSeriesColor;
    std::string label;
    std::vector<double> extra;
    TSeriesMarkPosition position;
};

}  // namespace

bool HasNoMandatoryValues(TChartSeries& s)
{
    TChartValueList& l = s.NotMandatoryValues();
    for (int i = 0; i < s.Count(); ++i)
        if (l.Value(i) != i) return true;
    return false;
}

bool HasColors(TChartSeries& s)
{
    const TColor series = s.SeriesColor();
    for (int i = 0; i < s.Count(); ++i) {
        const TColor c = s.InternalColor(i);
        if (c != clUseSeriesColor && c != series) return true;
    }
    return false;
}

bool HasLabels(TChartSeries& s)
{
    for (int i = 0; i < s.Labels().Count(); ++i)
        if (!s.Labels().GetLabel(i).empty()) return true;
    return false;
}

unsigned SeriesGuessContents(TChartSeries& s)
{
    unsigned flags = 0;
    if (s.StoresXValues && s.Count() > 0 && HasNoMandatoryValues(s)) flags |= dcNotMandatory;
    if (HasColors(s)) flags |= dcColors;
    if (HasLabels(s)) flags |= dcLabels;
    if (s.Marks().Positions.ExistCustom()) flags |= dcMarkPositions;
    return flags;
}

void TChartSeries::WriteData(std::vector<unsigned char>& out)
{
    const unsigned flags = SeriesGuessContents(*this);
    // A label the length byte cannot hold would shift every later point: refuse before writing.
    if (flags & dcLabels)
        for (int i = 0; i < Count(); ++i)
            if (int(GetXLabel(i).size()) > kMaxStoredLabel)
                throw ChartException(ChartFormat(ChartMsg_SeriesLabelTooLong, i, kMaxStoredLabel));
    std::vector<unsigned char> buf;
    Writer w(buf);
    w.Byte(flags);
    w.Int(Count());
    for (int i = 0; i < Count(); ++i) {
        if (flags & dcNotMandatory) w.Double(notMandatory_->Value(i));
        w.Double(mandatory_->Value(i));
        if (flags & dcColors) w.Int(std::int32_t(InternalColor(i)));
        if (flags & dcLabels) {
            const std::string l = GetXLabel(i);
            w.Byte(unsigned(l.size()));
            for (char ch : l) w.Byte(static_cast<unsigned char>(ch));
        }
        for (int k = 2; k < lists_.Count(); ++k) w.Double(lists_[k]->Value(i));
        if (flags & dcMarkPositions) {
            const TSeriesMarkPosition* p = marks_->Positions.Get(i);
            WritePosition(w, p ? *p : TSeriesMarkPosition{});
        }
    }
    out.insert(out.end(), buf.begin(), buf.end());
}

void TChartSeries::ReadData(const std::vector<unsigned char>& in)
{
    // The whole payload is checked before the series changes.
    Reader r(in);
    const unsigned flags = r.Byte();
    if (flags & ~unsigned(dcNotMandatory | dcColors | dcLabels | dcMarkPositions)) Reader::Fail();
    const std::int32_t n = r.Int();
    const int extra = lists_.Count() - 2;
    const std::size_t minRecord = 8 + ((flags & dcNotMandatory) ? 8 : 0) + ((flags & dcColors) ? 4 : 0) +
                                  ((flags & dcLabels) ? 1 : 0) + 8 * std::size_t(extra) +
                                  ((flags & dcMarkPositions) ? kMarkPositionSize : 0);
    if (n < 0 || std::size_t(n) > r.Left() / minRecord) Reader::Fail();
    std::vector<StoredPoint> pts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        StoredPoint& p = pts[std::size_t(i)];
        p.a = (flags & dcNotMandatory) ? r.Double() : i;
        p.b = r.Double();
        if (flags & dcColors) p.color = TColor(r.Int());
        if (flags & dcLabels) p.label = r.Text(r.Byte());
        for (int k = 0; k < extra; ++k) p.extra.push_back(r.Double());
        if (flags & dcMarkPositions) p.position = ReadPosition(r);
    }
    if (r.Left() != 0) Reader::Fail();

    Clear();
    const bool horizontal = mandatory_ == xValues_;
    BeginUpdate();
    struct End {
        TChartSeries* s;
        ~End() { s->EndUpdate(); }
    } end{this};
    for (const StoredPoint& p : pts) {
        for (int k = 0; k < extra; ++k) lists_[k + 2]->PendingValue = p.extra[std::size_t(k)];
        const int index = horizontal ? AddXY(p.b, p.a, p.label, p.color) : AddXY(p.a, p.b, p.label, p.color);
        if ((flags & dcMarkPositions) && index >= 0) marks_->Positions.Put(index, p.position);
    }
    OwnData = true;
}

// ---------------------------------------------------------------- sample values

int RandomValue(int limit) { return limit <= 0 ? 0 : int(Generator()() % unsigned(limit)); }

void TChartSeries::FillSampleValues(int n)
{
    if (n < 0) throw ChartException(ChartMsg_FillSample);
    if (n == 0) n = NumSampleValues();
    Clear();
    Generator().seed(unsigned(RandomValue(7774444)));
    {
        BeginUpdate();
        struct End {
            TChartSeries* s;
            ~End() { s->EndUpdate(); }
        } end{this};
        AddSampleValues(n, false);
        CheckOrder();
    }
    OwnData = false;
}

void TChartSeries::RandomBounds(int n, double& x, double& stepX, double& y, double& rangeY)
{
    double minY = 0, maxY = 1000, minX = 0, maxX = n - 1;
    bool fromChart = false;
    if (parentChart_ && activeHorizAxis_ && activeVertAxis_)
        for (TChartSeries* s : parentChart_->SeriesList())
            if (s->Active() && s->Count() > 0) fromChart = true;
    if (fromChart) {
        minY = parentChart_->MinYValue(*activeVertAxis_);
        maxY = parentChart_->MaxYValue(*activeVertAxis_);
        if (minY == maxY) maxY = minY == 0 ? 1000 : 2 * minY;
        minX = parentChart_->MinXValue(*activeHorizAxis_);
        maxX = parentChart_->MaxXValue(*activeHorizAxis_);
        if (minX == maxX) maxX = minX == 0 ? n - 1 : 2 * minX;
        if (!valuesVertical_) {
            std::swap(minX, minY);
            std::swap(maxX, maxY);
        }
    } else if (xValues_->DateTime()) {
        minX = std::floor(base::Now());
        maxX = minX + n - 1;
    }
    stepX = maxX - minX;
    if (n > 1) stepX /= n - 1;
    rangeY = std::clamp(maxY - minY, -2147483647.0, 2147483647.0);
    y = RandomValue(100) * rangeY * 0.01 + minY;
    x = minX;
}

int TChartSeries::AddSampleValues(int n, bool onlyMandatory)
{
    double x, stepX, y, rangeY;
    RandomBounds(n, x, stepX, y, rangeY);
    const double s = rangeY * 0.25;
    int last = -1;
    for (int i = 0; i < n; ++i) {
        y = std::fabs(RandomValue(100) * s * 0.01 + y - s * 0.5);
        if (onlyMandatory) last = Add(y);
        else last = valuesVertical_ ? AddXY(x, y) : AddXY(y, x);
        x += stepX;
    }
    return last;
}

void TChartSeries::PrepareForGallery(bool enabled)
{
    FillSampleValues(4);
    marks_->SetVisible(false);
    marks_->Font().SetSize(7);
    marks_->Callout().SetLength(4);
    marks_->SetDrawEvery(2);
    SetColorEachPoint(false);
    if (!enabled) {
        SetSeriesColor(platform::clSilver);
    } else if (parentChart_) {
        const bool first = !parentChart_->SeriesList().empty() && parentChart_->SeriesList().front() == this;
        SetSeriesColor(parentChart_->GetDefaultColor(first ? clChartGallery1 : clChartGallery2));
    }
}

// ---------------------------------------------------------------- ordering

void TChartSeries::CheckOrder()
{
    if (mandatory_->Order != loNone) mandatory_->Sort();
    if (notMandatory_->ValueSource().empty()) notMandatory_->FillSequence();
    Repaint();
}

int TChartSeries::CompareLabelIndex(int a, int b)
{
    const int c = GetXLabel(a).compare(GetXLabel(b));
    const int r = c < 0 ? -1 : c > 0 ? 1 : 0;
    return LabelSortOrder == loDescending ? -r : r;
}

void TChartSeries::SortByLabels(TChartListOrder order)
{
    if (order == loNone) return;
    LabelSortOrder = order;
    ChartSort(
        0, Count() - 1,
        [this](int a, int b) { return CompareLabelIndex(a, b); },
        [this](int a, int b) { SwapValueIndex(a, b); });
    LabelSortOrder = loNone;
    notMandatory_->FillSequence();
    Repaint();
}

// ---------------------------------------------------------------- stream properties

TSeriesStreamProperties WriteSeriesProperties(TChartSeries& s)
{
    TSeriesStreamProperties p;
    if (!s.Identifier.empty()) p.Identifier = s.Identifier;
    if (s.Style & 63u) p.Style = int(s.Style & 63u);
    if (s.DataSources().size() > 1) {
        p.DataSources.emplace();
        for (platform::TComponent* c : s.DataSources()) p.DataSources->push_back(c->Name());
    }
    if (TCustomAxisPanel* chart = s.ParentChart()) {
        auto indexOf = [chart](const TChartAxis* a) {
            for (int i = 0; i < chart->CustomAxes().Count(); ++i)
                if (chart->CustomAxes().Get(i) == a) return i;
            return -1;
        };
        if (s.CustomHorizAxis() && indexOf(s.CustomHorizAxis()) >= 0) p.CustomHorizAxis = indexOf(s.CustomHorizAxis());
        if (s.CustomVertAxis() && indexOf(s.CustomVertAxis()) >= 0) p.CustomVertAxis = indexOf(s.CustomVertAxis());
    }
    if (s.HasDataToStore()) {
        p.Data.emplace();
        s.WriteData(*p.Data);
    }
    return p;
}

void ReadSeriesProperties(TChartSeries& s, const TSeriesStreamProperties& p)
{
    // The payload first: a damaged one is refused before anything else is taken.
    if (p.Data) s.ReadData(*p.Data);
    if (p.Identifier) s.Identifier = *p.Identifier;
    if (p.Style) s.Style = unsigned(*p.Style) & 63u;
    if (p.DataSources) s.PendingSourceNames = std::make_unique<std::vector<std::string>>(*p.DataSources);
    TCustomAxisPanel* chart = s.ParentChart();
    auto axis = [chart](int i) -> TChartAxis* {
        return chart && i >= 0 && i < chart->CustomAxes().Count() ? chart->CustomAxes().Get(i) : nullptr;
    };
    if (p.CustomHorizAxis) s.SetCustomHorizAxis(axis(*p.CustomHorizAxis));
    if (p.CustomVertAxis) s.SetCustomVertAxis(axis(*p.CustomVertAxis));
}

void TChartSeries::Loaded()
{
    TCustomChartSeries::Loaded();
    if (PendingSourceNames) {
        const std::vector<std::string> names = *PendingSourceNames;
        PendingSourceNames.reset();
        if (!names.empty()) {
            // A series fed by itself, directly or through others, would recalculate for ever.
            std::vector<platform::TComponent*> found;
            for (const std::string& n : names) {
                platform::TComponent* c = Owner() ? Owner()->FindComponent(n) : nullptr;
                if (!c) continue;
                if (c == this) throw ChartException(ChartFormat(ChartMsg_SeriesInvDataSource, n));
                if (FeedsInto(this, c)) throw ChartException(ChartMsg_CircularSeries);
                found.push_back(c);
            }
            ClearDataSources();
            for (platform::TComponent* c : found) InternalAddDataSource(c);
        }
    }
    CheckDataSource();
}

void FillSeriesItems(base::TStrings& strings, const std::vector<TChartSeries*>& list, bool useTitles)
{
    strings.BeginUpdate();
    for (TChartSeries* s : list)
        if (!s->EditorHidden) strings.AddObject(useTitles ? SeriesTitleOrName(*s) : s->Name(), s);
    strings.EndUpdate();
}

}  // namespace chart

namespace chart {

// ---------------------------------------------------------------- component stream

void TChartSeries::GetChildren(const std::function<void(platform::TComponent*)>& Proc, platform::TComponent*)
{
    if (function_ && function_->HasParent()) Proc(function_);
}

void TCustomChartSeries::DefineProperties(platform::TFiler* Filer)
{
    TCustomChartElement::DefineProperties(Filer);
    Filer->DefineProperty(
        "Identifier", [this](platform::TReader& r) { Identifier = r.ReadString(); },
        [this](platform::TWriter& w) { w.WriteString(Identifier); }, !Identifier.empty());
    Filer->DefineProperty(
        "Style", [this](platform::TReader& r) { Style = unsigned(r.ReadInteger()) & 63u; },
        [this](platform::TWriter& w) { w.WriteInteger(Style & 63u); }, (Style & 63u) != 0);
}

void TChartSeries::DefineProperties(platform::TFiler* Filer)
{
    TCustomChartSeries::DefineProperties(Filer);
    Filer->DefineProperty(
        "DataSource",
        [this](platform::TReader& r) {
            PendingSourceNames = std::make_unique<std::vector<std::string>>(1, r.ReadIdent());
        },
        [this](platform::TWriter& w) { w.WriteIdent(DataSources().front()->Name()); },
        DataSources().size() == 1 && !DataSources().front()->Name().empty());
    Filer->DefineProperty(
        "DataSources",
        [this](platform::TReader& r) {
            auto names = std::make_unique<std::vector<std::string>>();
            r.ReadListBegin();
            while (!r.EndOfList()) names->push_back(r.ReadString());
            r.ReadListEnd();
            PendingSourceNames = std::move(names);
        },
        [this](platform::TWriter& w) {
            w.WriteListBegin();
            for (platform::TComponent* c : DataSources()) w.WriteString(c->Name());
            w.WriteListEnd();
        },
        DataSources().size() > 1);
    TCustomAxisPanel* chart = ParentChart();
    auto indexOf = [chart](const TChartAxis* a) {
        if (chart && a)
            for (int i = 0; i < chart->CustomAxes().Count(); ++i)
                if (chart->CustomAxes().Get(i) == a) return i;
        return -1;
    };
    auto axisAt = [this](platform::TReader& r) -> TChartAxis* {
        const int i = r.ReadInteger();
        TCustomAxisPanel* c = ParentChart();
        if (!c || i < 0 || i >= c->CustomAxes().Count()) throw platform::EReadError("Invalid property value");
        return c->CustomAxes().Get(i);
    };
    Filer->DefineProperty(
        "CustomHorizAxis", [this, axisAt](platform::TReader& r) { SetCustomHorizAxis(axisAt(r)); },
        [this, indexOf](platform::TWriter& w) { w.WriteInteger(indexOf(CustomHorizAxis())); },
        indexOf(CustomHorizAxis()) >= 0);
    Filer->DefineProperty(
        "CustomVertAxis", [this, axisAt](platform::TReader& r) { SetCustomVertAxis(axisAt(r)); },
        [this, indexOf](platform::TWriter& w) { w.WriteInteger(indexOf(CustomVertAxis())); },
        indexOf(CustomVertAxis()) >= 0);
    Filer->DefineBinaryProperty(
        "Data",
        [this](platform::TStream& s) {
            std::vector<unsigned char> bytes(std::size_t(std::max<std::int64_t>(0, s.Size() - s.Position())));
            if (!bytes.empty()) s.ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
            try {
                ReadData(bytes);
            } catch (const ChartException& e) {
                throw platform::EReadError(e.Message());
            }
        },
        [this](platform::TStream& s) {
            std::vector<unsigned char> bytes;
            WriteData(bytes);
            if (!bytes.empty()) s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
        },
        HasDataToStore());
}

}  // namespace chart
