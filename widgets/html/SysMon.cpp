#include "widgets/html/SysMon.h"

#include <cmath>
#include <limits>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/system/PerfData.h"
#include "widgets/html/OwnedItems.h"
#include "widgets/html/VersionText.h"

namespace html {

namespace {

// A text value as a 256-byte buffer takes it: up to the first zero byte; a value
// too long for the buffer cannot be read.
bool ReadText(const std::optional<std::string>& value, std::string& out)
{
    if (!value || value->size() >= 256) return false;
    out = value->substr(0, value->find('\0'));
    return true;
}

}  // namespace

// --- TMonObject ---

TMonObject::TMonObject(TMonCollection* Collection) : collection_(Collection) {}

TMonObject::~TMonObject()
{
    if (started_) MonStop();
}

int TMonObject::Index() const
{
    return collection_ ? collection_->IndexOf(this) : -1;
}

void TMonObject::SetSysObject(const std::string& Value)
{
    if (started_) MonStop();
    sysObject_ = Value;
}

void TMonObject::SetCounter(const std::string& Value)
{
    if (started_) MonStop();
    counter_ = Value;
}

// The machine's statistics when the monitor names one that can be reached,
// otherwise the local ones.
platform::PerfStatistics& TMonObject::Root()
{
    platform::PerfStatistics& local = platform::SystemPerfStatistics();
    TSysMon* mon = collection_ ? collection_->GetOwner() : nullptr;
    if (mon && !mon->Machine.empty())
        if (platform::PerfStatistics* remote = local.Connect("\\\\" + mon->Machine)) return *remote;
    return local;
}

std::string TMonObject::GetName()
{
    if (!NamesSet()) return {};
    platform::PerfCounterKey key;
    std::string name;
    if (!Root().OpenCounter(sysObject_, counter_, key)) return {};
    if (!ReadText(key.Description, name)) return {};
    return name;
}

bool TMonObject::GetDiff()
{
    if (!NamesSet()) return false;
    platform::PerfCounterKey key;
    if (!Root().OpenCounter(sysObject_, counter_, key)) return false;
    Differentiate = false;
    std::string flag;
    if (ReadText(key.Differentiate, flag) && flag == "TRUE") Differentiate = true;
    return Differentiate;
}

void TMonObject::MonStart()
{
    if (!NamesSet()) return;
    platform::PerfStatistics& live = Root();
    if (live.LiveDataPresent() && live.Start(sysObject_, counter_)) started_ = true;
    GetDiff();
}

void TMonObject::MonStop()
{
    if (!NamesSet()) return;
    platform::PerfStatistics& live = Root();
    if (live.LiveDataPresent()) live.Stop(sysObject_, counter_);
    started_ = false;
}

std::int32_t TMonObject::GetValue()
{
    std::int32_t result = -1;
    if (!NamesSet()) return result;
    if (!started_) MonStart();
    platform::PerfStatistics& live = Root();
    if (!live.LiveDataPresent()) return result;
    platform::DWORD raw = 0;
    if (!live.Read(sysObject_, counter_, raw)) return result;
    if (Differentiate) {
        const platform::DWORD elapsed = live.TickCount() - lastTick_;
        // No time since the last reading gives no rate; that reading stays the base.
        if (elapsed == 0) return -1;
        // The difference wraps as the 32-bit counter does; the scaling to a second
        // must not, or a busy counter reads as a negative rate.
        // The first reading has no base: it is the whole total since the system
        // started, which can pass 2^31 and must not read as negative.
        const std::int64_t change = haveBase_ ? std::int64_t(std::int32_t(raw - lastValue_)) : std::int64_t(raw);
        const double rate = std::nearbyint(double(change * 1000) / double(elapsed));
        constexpr double lo = std::numeric_limits<std::int32_t>::min();
        constexpr double hi = std::numeric_limits<std::int32_t>::max();
        result = std::int32_t(rate < lo ? lo : rate > hi ? hi : rate);
    } else {
        result = std::int32_t(raw);
    }
    lastValue_ = raw;
    lastTick_ = live.TickCount();
    haveBase_ = true;
    return result;
}

// --- TMonCollection ---

TMonCollection::TMonCollection(TSysMon* Owner) : owner_(Owner) {}

TMonCollection::~TMonCollection()
{
    Clear();
}

TMonObject* TMonCollection::Add()
{
    auto* item = new TMonObject(this);
    items_.push_back(item);
    return item;
}

TMonObject* TMonCollection::Insert(int Index)
{
    return owneditems::InsertNew(items_, Index, [this] { return new TMonObject(this); });
}

TMonObject* TMonCollection::GetItem(int Index) const
{
    return owneditems::At(items_, Index);
}

void TMonCollection::SetItem(int Index, const TMonObject& Value)
{
    GetItem(Index)->Assign(Value);
}

void TMonCollection::Delete(int Index)
{
    owneditems::Delete(items_, Index);
}

void TMonCollection::Clear()
{
    // Each item still sees its collection while it stops.
    while (!items_.empty()) {
        delete items_.back();
        items_.pop_back();
    }
}

int TMonCollection::IndexOf(const TMonObject* Item) const
{
    return owneditems::IndexOf(items_, Item);
}

// --- TSysMon ---

TSysMon::TSysMon(platform::TComponent* AOwner)
    : platform::TComponent(AOwner), monitors_(new TMonCollection(this)), list_(new base::TStringList)
{
}

TSysMon::~TSysMon()
{
    delete monitors_;
    delete list_;
}

void TSysMon::SetMonitors(TMonCollection* Value)
{
    if (!Value || Value == monitors_) return;
    delete monitors_;
    monitors_ = Value;
    monitors_->owner_ = this;
}

base::TStringList* TSysMon::SysObjects()
{
    list_->Clear();
    platform::PerfStatistics& local = platform::SystemPerfStatistics();
    for (const std::string& name : local.Objects())
        if (name.size() < 256) list_->Add(name);
    return list_;
}

base::TStringList* TSysMon::Counters(const std::string& Object)
{
    list_->Clear();
    if (Object.empty()) return list_;
    platform::PerfStatistics& local = platform::SystemPerfStatistics();
    for (const std::string& name : local.Counters(Object))
        if (name.size() < 256) list_->Add(name);
    return list_;
}

std::uint32_t TSysMon::GetVersionNr() const
{
    return 0x01010000u;
}

std::string TSysMon::GetVersion() const
{
    return VersionText(GetVersionNr());
}

}  // namespace html
