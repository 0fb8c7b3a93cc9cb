#include "base/StringList.h"

#include <algorithm>
#include <numeric>

#include "base/Exception.h"
#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "base/ScopeGuard.h"

namespace base {

namespace {

[[noreturn]] void StringListIndexError(int index) {
    throw EStringListError(Format("List index out of bounds (%d)", index));
}

[[noreturn]] void ListIndexError(int index) { throw EListError(Format("List index out of bounds (%d)", index)); }

[[noreturn]] void SortedListError() { throw EStringListError("Operation not allowed on sorted list"); }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// ---- TStrings ----

int TStrings::Add(const std::string& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, void* obj) {
    const int before = Count();
    const int index = Add(s);
    // A sorted list that ignored a duplicate keeps the existing item's object.
    if (Count() > before) PutObject(index, obj);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, void* obj) {
    Insert(index, s);
    PutObject(index, obj);
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    base::ScopeExit restore([&] { EndUpdate(); });
    const int n = other.Count();
    for (int i = 0; i < n; ++i) AddObject(other.Get(i), other.GetObject(i));
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    BeginUpdate();
    base::ScopeExit restore([&] { EndUpdate(); });
    Clear();
    AddStrings(other);
}

int TStrings::IndexOf(const std::string& s) const {
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

int TStrings::IndexOfObject(void* obj) const {
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == obj) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        const std::string& s = Get(i);
        size_t eq = s.find('=');
        if (eq != std::string::npos && SameText(std::string_view(s).substr(0, eq), name)) return i;
    }
    return -1;
}

void TStrings::Move(int from, int to) {
    if (from == to) return;
    std::string s = Get(from);
    void* obj = GetObject(from);
    // Check the destination first so that a bad one does not lose the item.
    if (to < 0 || to >= Count()) Get(to);
    BeginUpdate();
    base::ScopeExit restore([&] { EndUpdate(); });
    Delete(from);
    InsertObject(to, s, obj);
}

void TStrings::Exchange(int a, int b) {
    std::string sa = Get(a), sb = Get(b);
    void* oa = GetObject(a);
    void* ob = GetObject(b);
    BeginUpdate();
    base::ScopeExit restore([&] { EndUpdate(); });
    Put(a, sb);
    PutObject(a, ob);
    Put(b, sa);
    PutObject(b, oa);
}

std::string TStrings::Names(int index) const {
    const std::string& s = Get(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Value(const std::string& name) const {
    int i = IndexOfName(name);
    if (i < 0) return {};
    const std::string& s = Get(i);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (!value.empty()) {
        if (i < 0)
            Add(name + "=" + value);
        else
            Put(i, name + "=" + value);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::Text() const {
    std::string out;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    base::ScopeExit restore([&] { EndUpdate(); });
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
        Add(text.substr(start, i - start));
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
    }
}

std::string TStrings::CommaText() const { return DelimitedText(',', '"'); }

void TStrings::SetCommaText(const std::string& text) { SetDelimitedText(text, ',', '"'); }

std::string TStrings::DelimitedText(char delimiter, char quote) const {
    const int n = Count();
    if (n == 1 && Get(0).empty()) return std::string(2, quote);
    std::string out;
    for (int i = 0; i < n; ++i) {
        const std::string& s = Get(i);
        bool needQuote = false;
        for (char c : s)
            if (IsBlankOrControl(c) || c == quote || c == delimiter) {
                needQuote = true;
                break;
            }
        if (i > 0) out.push_back(delimiter);
        if (needQuote) {
            out.push_back(quote);
            for (char c : s) {
                if (c == quote) out.push_back(quote);
                out.push_back(c);
            }
            out.push_back(quote);
        } else {
            out += s;
        }
    }
    return out;
}

void TStrings::SetDelimitedText(const std::string& text, char delimiter, char quote) {
    BeginUpdate();
    base::ScopeExit restore([&] { EndUpdate(); });
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && IsBlankOrControl(text[i])) ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string s;
        if (text[i] == quote) {
            ++i;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        s.push_back(quote);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                s.push_back(text[i++]);
            }
        } else {
            size_t start = i;
            while (i < n && !IsBlankOrControl(text[i]) && text[i] != delimiter) ++i;
            s = text.substr(start, i - start);
        }
        Add(s);
        skipBlanks();
        if (i < n && text[i] == delimiter) {
            if (i + 1 == n) Add(std::string());
            ++i;
            skipBlanks();
        }
    }
}

bool TStrings::LoadFromFile(const std::string& path) {
    std::string data;
    if (!ReadFile(path, data)) throw EInOutError("Cannot open file \"" + path + "\"");
    SetText(data);
    return true;
}

void TStrings::SaveToFile(const std::string& path) const {
    std::string error;
    if (!WriteFileAtomic(path, Text(), &error)) throw EInOutError(error);
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ <= 0) return;
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList ----

const std::string& TStringList::Get(int index) const {
    if (index < 0 || index >= Count()) StringListIndexError(index);
    return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& s) {
    if (sorted_) SortedListError();
    if (index < 0 || index >= Count()) StringListIndexError(index);
    Changing();
    items_[static_cast<size_t>(index)].text = s;
    Changed();
}

void* TStringList::GetObject(int index) const {
    if (index < 0 || index >= Count()) StringListIndexError(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, void* obj) {
    if (index < 0 || index >= Count()) StringListIndexError(index);
    Changing();
    items_[static_cast<size_t>(index)].object = obj;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    if (sorted_) SortedListError();
    if (index < 0 || index > Count()) StringListIndexError(index);
    Changing();
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) StringListIndexError(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::Add(const std::string& s) {
    int index = Count();
    if (sorted_) {
        if (Find(s, index)) {
            if (duplicates_ == TDuplicates::dupIgnore) return index;
            if (duplicates_ == TDuplicates::dupError) throw EStringListError("String list does not allow duplicates");
        }
    }
    Changing();
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
    return index;
}

int TStringList::IndexOf(const std::string& s) const {
    if (sorted_) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(items_[static_cast<size_t>(i)].text, s) == 0) return i;
    return -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = CompareStrings(items_[static_cast<size_t>(mid)].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Sort() {
    if (items_.size() < 2) return;
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    Changed();
}

// A sorted list keeps its own order, so a custom order applies only to unsorted lists.
void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
    if (sorted_ || items_.size() < 2) return;
    Changing();
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool v) {
    if (v == sorted_) return;
    if (v) Sort();
    sorted_ = v;
}

void TStringList::SetCaseSensitive(bool v) {
    if (v == caseSensitive_) return;
    caseSensitive_ = v;
    if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    if (caseSensitive_) {
        int c = a.compare(b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return CompareText(a, b);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(*this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(*this);
}

// ---- TList ----

void* TList::Get(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

void TList::Put(int index, void* p) {
    if (index < 0 || index >= Count()) ListIndexError(index);
    items_[static_cast<size_t>(index)] = p;
}

int TList::Add(void* p) {
    items_.push_back(p);
    return Count() - 1;
}

void TList::Insert(int index, void* p) {
    if (index < 0 || index > Count()) ListIndexError(index);
    items_.insert(items_.begin() + index, p);
}

void TList::Delete(int index) {
    if (index < 0 || index >= Count()) ListIndexError(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* p) {
    int i = IndexOf(p);
    if (i >= 0) Delete(i);
    return i;
}

int TList::IndexOf(void* p) const {
    auto it = std::find(items_.begin(), items_.end(), p);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int a, int b) {
    if (a < 0 || a >= Count()) ListIndexError(a);
    if (b < 0 || b >= Count()) ListIndexError(b);
    std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
}

void TList::Move(int from, int to) {
    if (from == to) return;
    if (from < 0 || from >= Count()) ListIndexError(from);
    if (to < 0 || to >= Count()) ListIndexError(to);
    void* p = items_[static_cast<size_t>(from)];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, p);
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const std::function<int(void*, void*)>& compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

}  // namespace base
