#pragma once
// Performance monitor: a collection of counters, each named by a statistics object
// and a counter, read on request as a raw figure or as a rate per second.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

namespace base {
class TStringList;
}
namespace platform {
class PerfStatistics;
}

namespace html {

class TMonCollection;
class TSysMon;

class TMonObject : public platform::TPersistent {
public:
    explicit TMonObject(TMonCollection* Collection = nullptr);
    ~TMonObject() override;  // stops a started counter

    bool Differentiate = false;

    const std::string& SysObject() const { return sysObject_; }
    const std::string& Counter() const { return counter_; }
    // Both stop a started counter before storing the name.
    void SetSysObject(const std::string& Value);
    void SetCounter(const std::string& Value);
    bool Started() const { return started_; }
    platform::DWORD LastTick() const { return lastTick_; }
    platform::DWORD LastValue() const { return lastValue_; }

    std::string GetName();
    bool GetDiff();
    void MonStart();
    void MonStop();
    // The current value, or the change per second for a running total; -1 when it
    // cannot be read.
    std::int32_t GetValue();

    TMonCollection* Collection() const { return collection_; }
    int Index() const;

private:
    friend class TMonCollection;
    platform::PerfStatistics& Root();
    bool NamesSet() const { return !sysObject_.empty() && !counter_.empty(); }

    TMonCollection* collection_;
    platform::DWORD lastTick_ = 0;
    platform::DWORD lastValue_ = 0;
    bool haveBase_ = false;
    std::string sysObject_;
    std::string counter_;
    bool started_ = false;
};

class TMonCollection : public platform::TPersistent {
public:
    explicit TMonCollection(TSysMon* Owner);
    ~TMonCollection() override;
    TMonCollection(const TMonCollection&) = delete;
    TMonCollection& operator=(const TMonCollection&) = delete;

    TMonObject* Add();
    TMonObject* Insert(int Index);
    // base::EListError for an index outside the collection.
    TMonObject* GetItem(int Index) const;
    void SetItem(int Index, const TMonObject& Value);  // the item's Assign
    int Count() const { return static_cast<int>(items_.size()); }
    void Delete(int Index);
    void Clear();
    int IndexOf(const TMonObject* Item) const;
    TSysMon* GetOwner() const { return owner_; }

private:
    friend class TSysMon;
    TSysMon* owner_;
    std::vector<TMonObject*> items_;
};

class TSysMon : public platform::TComponent {
public:
    explicit TSysMon(platform::TComponent* AOwner = nullptr);
    ~TSysMon() override;

    TMonCollection* Monitors() const { return monitors_; }
    // Takes ownership of the given collection and frees the one held.
    void SetMonitors(TMonCollection* Value);
    std::string Machine;

    // The statistics objects, and the counters of one object, of the local computer.
    // Both fill and return the monitor's one list.
    base::TStringList* SysObjects();
    base::TStringList* Counters(const std::string& Object);

    virtual std::uint32_t GetVersionNr() const;
    std::string GetVersion() const;
    std::string Version() const { return GetVersion(); }
    void SetVersion(const std::string&) {}

private:
    TMonCollection* monitors_;
    base::TStringList* list_;
};

}  // namespace html
