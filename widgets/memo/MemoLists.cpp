// Integer lists and tagged string lists of the editor.
#include "widgets/memo/MemoLists.h"

#include <cstdint>

#include "base/Exception.h"
#include "base/ScopeGuard.h"
#include "platform/Streaming.h"

namespace memo {

// ---------------------------------------------------------------- TIntList

void TIntList::Check(int index) const
{
    if (index < 0 || index >= Count())
        throw base::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TIntList::Add(int value)
{
    items_.push_back(value);
    return Count() - 1;
}

void TIntList::Insert(int index, int value)
{
    if (index != Count()) Check(index);
    items_.insert(items_.begin() + index, value);
}

void TIntList::Delete(int index)
{
    Check(index);
    items_.erase(items_.begin() + index);
}

int TIntList::GetInteger(int index) const
{
    Check(index);
    return items_[std::size_t(index)];
}

void TIntList::SetInteger(int index, int value)
{
    Check(index);
    items_[std::size_t(index)] = value;
}

int TIntList::IndexOf(int value) const
{
    int lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int v = items_[std::size_t(mid)];
        if (v == value) return mid;
        if (v < value) lo = mid + 1;
        else hi = mid - 1;
    }
    return -1;
}

// ---------------------------------------------------------------- TExStringList

namespace {
void* TagObject(int tag) { return reinterpret_cast<void*>(std::intptr_t(tag)); }
}  // namespace

int TExStringList::AddTagged(const std::string& s, int tag) { return AddObject(s, TagObject(tag)); }

int TExStringList::Tag(int index) const { return int(reinterpret_cast<std::intptr_t>(GetObject(index))); }

void TExStringList::SetTag(int index, int tag) { PutObject(index, TagObject(tag)); }

void TExStringList::Assign(const platform::TPersistent& source)
{
    if (const auto* s = dynamic_cast<const TExStringList*>(&source)) {
        base::TStrings::Assign(*s);
        return;
    }
    platform::TPersistent::Assign(source);
}

void TExStringList::DefineProperties(platform::TFiler* filer)
{
    platform::TPersistent::DefineProperties(filer);
    filer->DefineProperty(
        "Strings", [this](platform::TReader& r) { ReadData(r); }, [this](platform::TWriter& w) { WriteData(w); },
        Count() > 0);
}

void TExStringList::ReadData(platform::TReader& reader)
{
    reader.ReadListBegin();
    BeginUpdate();
    {
        base::ScopeExit end([this] { EndUpdate(); });
        Clear();
        while (!reader.EndOfList()) {
            const std::string s = reader.ReadString();
            AddTagged(s, reader.ReadInteger());
        }
    }
    reader.ReadListEnd();
}

void TExStringList::WriteData(platform::TWriter& writer)
{
    writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i) {
        writer.WriteString(Get(i));
        writer.WriteInteger(Tag(i));
    }
    writer.WriteListEnd();
}

}  // namespace memo
