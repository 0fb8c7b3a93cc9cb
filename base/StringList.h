#pragma once
// String lists of the run-time library: each item a text and an object pointer.
#include <functional>
#include <string>
#include <vector>

namespace base {

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings {
public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    virtual const std::string& Get(int index) const = 0;  // throws EStringListError
    virtual void Put(int index, const std::string& s) = 0;
    virtual void* GetObject(int index) const = 0;
    virtual void PutObject(int index, void* obj) = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, void* obj);
    void InsertObject(int index, const std::string& s, void* obj);
    void AddStrings(const TStrings& other);
    void Assign(const TStrings& other);
    virtual int IndexOf(const std::string& s) const;  // case-insensitive, -1 when absent
    int IndexOfObject(void* obj) const;
    int IndexOfName(const std::string& name) const;
    void Move(int from, int to);
    void Exchange(int a, int b);

    // "name=value" items.
    std::string Names(int index) const;
    std::string Value(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    // Lines joined by CRLF with a trailing CRLF; setting splits at CR, LF or CRLF.
    std::string Text() const;
    void SetText(const std::string& text);
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    std::string DelimitedText(char delimiter, char quote = '"') const;
    void SetDelimitedText(const std::string& text, char delimiter, char quote = '"');

    bool LoadFromFile(const std::string& path);  // throws EInOutError when unreadable
    void SaveToFile(const std::string& path) const;  // whole or not at all; throws EInOutError

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    const std::string& operator[](int index) const { return Get(index); }

protected:
    virtual void SetUpdateState(bool /*updating*/) {}

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
public:
    TStringList() = default;

    int Count() const override { return static_cast<int>(items_.size()); }
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* obj) override;
    void Insert(int index, const std::string& s) override;  // refused (EStringListError) when sorted
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;  // sorted lists insert in order
    int IndexOf(const std::string& s) const override;

    // Binary search on a sorted list; index is where s is or would go.
    bool Find(const std::string& s, int& index) const;
    void Sort();
    void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool v);

    std::function<void(TStringList&)> OnChange;
    std::function<void(TStringList&)> OnChanging;

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        std::string text;
        void* object = nullptr;
    };
    int CompareStrings(const std::string& a, const std::string& b) const;
    void Changing();
    void Changed();

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

// Untyped pointer list; out-of-range indices raise EListError.
class TList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Get(int index) const;
    void Put(int index, void* p);
    int Add(void* p);
    void Insert(int index, void* p);
    void Delete(int index);
    int Remove(void* p);
    int IndexOf(void* p) const;
    void Exchange(int a, int b);
    void Move(int from, int to);
    void Clear() { items_.clear(); }
    void Pack();  // drops the nulls
    void Sort(const std::function<int(void*, void*)>& compare);
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    void* operator[](int index) const { return Get(index); }

private:
    std::vector<void*> items_;
};

}  // namespace base
