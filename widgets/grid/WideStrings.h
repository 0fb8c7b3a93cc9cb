#pragma once
// An ordered list of wide (UTF-16) texts, each with an object, shaped like the 8-bit
// string list; and an 8-bit view of any such list.
#include <memory>
#include <string>

#include "base/StringList.h"
#include "platform/Classes.h"

namespace platform {
class TReader;
class TWriter;
}

namespace grid {

using WideString = std::u16string;
class TWideStrings;

// Presents a wide list as an 8-bit list: texts go through Windows-1252.
class TAnsiStringsForWideStrings : public base::TStrings {
public:
    explicit TAnsiStringsForWideStrings(TWideStrings& owner) : owner_(owner) {}

    int Count() const override;
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* obj) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

private:
    TWideStrings& owner_;
    mutable std::string last_;  // what Get last handed out
};

class TWideStrings : public platform::TPersistent {
public:
    TWideStrings();
    ~TWideStrings() override;
    TWideStrings(const TWideStrings&) = delete;
    TWideStrings& operator=(const TWideStrings&) = delete;

    // What a descendant supplies.
    virtual WideString Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Insert(int index, const WideString& s) = 0;

    virtual int GetCapacity() const { return GetCount(); }
    virtual void SetCapacity(int) {}
    virtual void* GetObject(int) const { return nullptr; }
    virtual void PutObject(int, void*) {}
    virtual void Put(int index, const WideString& s);
    virtual WideString GetTextStr() const;
    virtual void SetTextStr(const WideString& text);
    virtual void SetLanguage(unsigned lcid) { language_ = lcid; }

    virtual int Add(const WideString& s);
    virtual int AddObject(const WideString& s, void* obj);
    void Append(const WideString& s) { Add(s); }
    virtual void AddStrings(const base::TStrings& list);
    virtual void AddStrings(const TWideStrings& list);
    void InsertObject(int index, const WideString& s, void* obj);
    virtual void Exchange(int a, int b);
    virtual void Move(int from, int to);
    virtual int IndexOf(const WideString& s) const;
    int IndexOfName(const WideString& name) const;
    int IndexOfObject(void* obj) const;
    bool Equals(const TWideStrings& other) const;

    // Copies from another wide list or an 8-bit list; anything else raises.
    void Assign(const platform::TPersistent& source) override;
    void Assign(const base::TStrings& source);
    // Fills an 8-bit list or another wide list with this one.
    void AssignTo(base::TStrings& dest) const;
    void AssignTo(TWideStrings& dest) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    int Count() const { return GetCount(); }
    WideString Strings(int index) const { return Get(index); }
    void* Objects(int index) const { return GetObject(index); }
    WideString Text() const { return GetTextStr(); }
    void SetText(const WideString& text) { SetTextStr(text); }
    WideString CommaText() const;
    void SetCommaText(const WideString& text);
    WideString Names(int index) const;
    WideString Values(const WideString& name) const;
    void SetValues(const WideString& name, const WideString& value);
    unsigned Language() const { return language_; }

    TAnsiStringsForWideStrings& AnsiStrings() { return *ansi_; }
    void SetAnsiStrings(const base::TStrings& list);

    // Streamed: the 8-bit view as "AnsiStrings", and the wide texts as the defined
    // property "WideStrings" (a list of wide strings), written when they differ from the
    // ancestor's, or with no ancestor when there are any.
    void GetPublished(platform::TPropertyList& L) override;
    void DefineProperties(platform::TFiler* Filer) override;
    void ReadData(platform::TReader& Reader);
    void WriteData(platform::TWriter& Writer);

    // Raises the string-list error with `message` formatted with `data` (one %d).
    [[noreturn]] void Error(const std::string& message, int data) const;

protected:
    virtual void SetUpdateState(bool) {}
    // Case-insensitive equality of two texts under the list's locale.
    bool SameText(const WideString& a, const WideString& b) const;

private:
    int updateCount_ = 0;
    unsigned language_;
    std::unique_ptr<TAnsiStringsForWideStrings> ansi_;
};

}  // namespace grid
