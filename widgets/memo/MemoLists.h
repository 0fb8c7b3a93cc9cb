#pragma once
// The editor's own small lists: integers (the bookmarks) and strings tagged with an
// integer (the completion entries with their kinds).
#include <string>
#include <vector>

#include "base/StringList.h"
#include "platform/Classes.h"

namespace platform {
class TReader;
class TWriter;
}  // namespace platform

namespace memo {

// A list of 32-bit integers; an index outside the list raises EListError.
class TIntList {
public:
    TIntList() = default;
    TIntList(int count, int value) : items_(std::size_t(count < 0 ? 0 : count), value) {}

    int Count() const { return int(items_.size()); }
    int Add(int value);
    void Insert(int index, int value);  // index may be Count
    void Delete(int index);
    void Clear() { items_.clear(); }
    int GetInteger(int index) const;
    void SetInteger(int index, int value);
    // A search by halving: the list must be sorted ascending. The index of an equal
    // element, or -1.
    int IndexOf(int value) const;

    std::vector<int>::const_iterator begin() const { return items_.begin(); }
    std::vector<int>::const_iterator end() const { return items_.end(); }

private:
    void Check(int index) const;
    std::vector<int> items_;
};

// A string list whose strings each carry an integer tag in the object slot. In a form
// it is the property "Strings": a list of (string, integer) pairs, written only when the
// list is not empty; reading clears the list first.
class TExStringList : public base::TStringList, public platform::TPersistent {
public:
    TExStringList() = default;

    int AddTagged(const std::string& s, int tag);
    int Tag(int index) const;
    void SetTag(int index, int tag);

    using base::TStrings::Assign;
    void Assign(const platform::TPersistent& source) override;
    void DefineProperties(platform::TFiler* filer) override;
    void ReadData(platform::TReader& reader);
    void WriteData(platform::TWriter& writer);
};

}  // namespace memo
