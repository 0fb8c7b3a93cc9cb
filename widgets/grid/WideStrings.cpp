#include "widgets/grid/WideStrings.h"

#include "base/ScopeGuard.h"
#include "platform/Streaming.h"

#include "base/Exception.h"
#include "platform/Types.h"

namespace grid {

namespace {

bool IsBlankOrControl(char16_t c) { return c <= 32; }
bool IsSkippable(char16_t c) { return c >= 1 && c <= 32; }

// Runs BeginUpdate/EndUpdate around a scope, also when it raises.
template <class List>
class Update {
public:
    explicit Update(List& l) : l_(l) { l_.BeginUpdate(); }
    ~Update() { l_.EndUpdate(); }

private:
    List& l_;
};

}  // namespace

// The 8-bit view.

int TAnsiStringsForWideStrings::Count() const { return owner_.GetCount(); }

const std::string& TAnsiStringsForWideStrings::Get(int index) const
{
    last_ = platform::WideToAnsi(owner_.Get(index));
    return last_;
}

void TAnsiStringsForWideStrings::Put(int index, const std::string& s) { owner_.Put(index, platform::AnsiToWide(s)); }
void* TAnsiStringsForWideStrings::GetObject(int index) const { return owner_.GetObject(index); }
void TAnsiStringsForWideStrings::PutObject(int index, void* obj) { owner_.PutObject(index, obj); }
void TAnsiStringsForWideStrings::Insert(int index, const std::string& s)
{
    owner_.Insert(index, platform::AnsiToWide(s));
}
void TAnsiStringsForWideStrings::Delete(int index) { owner_.Delete(index); }
void TAnsiStringsForWideStrings::Clear() { owner_.Clear(); }

// The wide list.

TWideStrings::TWideStrings()
    : language_(platform::LOCALE_USER_DEFAULT), ansi_(std::make_unique<TAnsiStringsForWideStrings>(*this))
{
}

TWideStrings::~TWideStrings() = default;

void TWideStrings::Put(int index, const WideString& s)
{
    void* obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
}

WideString TWideStrings::GetTextStr() const
{
    WideString out;
    for (int i = 0; i < GetCount(); ++i) out += Get(i) + u"\r\n";
    return out;
}

void TWideStrings::SetTextStr(const WideString& text)
{
    Update<TWideStrings> u(*this);
    Clear();
    auto isBreak = [](char16_t c) { return c == u'\n' || c == 11 || c == 12 || c == u'\r' || c == 0x2028 || c == 0x2029; };
    size_t start = 0, i = 0;
    while (i < text.size()) {
        if (!isBreak(text[i])) {
            ++i;
            continue;
        }
        Add(text.substr(start, i - start));
        i += text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        start = i;
    }
    if (start < text.size()) Add(text.substr(start));
}

int TWideStrings::Add(const WideString& s)
{
    const int index = GetCount();
    Insert(index, s);
    return index;
}

int TWideStrings::AddObject(const WideString& s, void* obj)
{
    const int index = Add(s);
    PutObject(index, obj);
    return index;
}

void TWideStrings::AddStrings(const base::TStrings& list)
{
    Update<TWideStrings> u(*this);
    for (int i = 0; i < list.Count(); ++i) AddObject(platform::AnsiToWide(list.Get(i)), list.GetObject(i));
}

void TWideStrings::AddStrings(const TWideStrings& list)
{
    Update<TWideStrings> u(*this);
    // A list added to itself adds what it held at the start.
    const int n = list.GetCount();
    for (int i = 0; i < n; ++i) AddObject(list.Get(i), list.GetObject(i));
}

void TWideStrings::InsertObject(int index, const WideString& s, void* obj)
{
    Insert(index, s);
    PutObject(index, obj);
}

void TWideStrings::Exchange(int a, int b)
{
    Update<TWideStrings> u(*this);
    const WideString text = Get(a);
    void* obj = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, text);
    PutObject(b, obj);
}

void TWideStrings::Move(int from, int to)
{
    if (from == to) return;
    Update<TWideStrings> u(*this);
    const WideString text = Get(from);
    void* obj = GetObject(from);
    Delete(from);
    InsertObject(to, text, obj);
}

bool TWideStrings::SameText(const WideString& a, const WideString& b) const
{
    return platform::CompareTextWide(a, b) == 0;
}

int TWideStrings::IndexOf(const WideString& s) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

int TWideStrings::IndexOfName(const WideString& name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        const WideString t = Get(i);
        const size_t eq = t.find(u'=');
        if (eq != WideString::npos && SameText(t.substr(0, eq), name)) return i;
    }
    return -1;
}

int TWideStrings::IndexOfObject(void* obj) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == obj) return i;
    return -1;
}

bool TWideStrings::Equals(const TWideStrings& other) const
{
    if (GetCount() != other.GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

void TWideStrings::Assign(const platform::TPersistent& source)
{
    if (const auto* w = dynamic_cast<const TWideStrings*>(&source)) {
        if (w == this) return;
        Update<TWideStrings> u(*this);
        Clear();
        AddStrings(*w);
        return;
    }
    platform::TPersistent::Assign(source);
}

void TWideStrings::Assign(const base::TStrings& source)
{
    Update<TWideStrings> u(*this);
    Clear();
    AddStrings(source);
}

void TWideStrings::AssignTo(base::TStrings& dest) const
{
    Update<base::TStrings> u(dest);
    dest.Clear();
    for (int i = 0; i < GetCount(); ++i) dest.AddObject(platform::WideToAnsi(Get(i)), GetObject(i));
}

void TWideStrings::AssignTo(TWideStrings& dest) const { dest.Assign(*this); }

void TWideStrings::BeginUpdate()
{
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TWideStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

WideString TWideStrings::CommaText() const
{
    const int n = GetCount();
    if (n == 1 && Get(0).empty()) return u"\"\"";
    WideString out;
    for (int i = 0; i < n; ++i) {
        const WideString t = Get(i);
        bool quote = false;
        for (char16_t c : t) quote = quote || IsBlankOrControl(c) || c == u'"' || c == u',';
        if (quote) {
            out += u'"';
            for (char16_t c : t) {
                if (c == u'"') out += u'"';
                out += c;
            }
            out += u'"';
        } else {
            out += t;
        }
        if (i + 1 < n) out += u',';
    }
    return out;
}

void TWideStrings::SetCommaText(const WideString& text)
{
    Update<TWideStrings> u(*this);
    Clear();
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsSkippable(text[i])) ++i;
    while (i < n) {
        WideString item;
        if (text[i] == u'"') {
            ++i;
            // Up to the first quote that is not doubled; an unclosed item runs to the end.
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && !IsBlankOrControl(text[i]) && text[i] != u',') item += text[i++];
        }
        Add(item);
        while (i < n && IsSkippable(text[i])) ++i;
        if (i < n && text[i] == u',') {
            ++i;
            while (i < n && IsSkippable(text[i])) ++i;
        }
    }
}

WideString TWideStrings::Names(int index) const
{
    const WideString t = Get(index);
    const size_t eq = t.find(u'=');
    return eq == WideString::npos ? WideString() : t.substr(0, eq);
}

WideString TWideStrings::Values(const WideString& name) const
{
    const int i = IndexOfName(name);
    if (i < 0) return {};
    const WideString t = Get(i);
    return name.size() + 1 <= t.size() ? t.substr(name.size() + 1) : WideString();
}

void TWideStrings::SetValues(const WideString& name, const WideString& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    if (i < 0) i = Add(WideString());
    Put(i, name + u"=" + value);
}

void TWideStrings::SetAnsiStrings(const base::TStrings& list) { ansi_->Assign(list); }

void TWideStrings::Error(const std::string& message, int data) const
{
    std::string text = message;
    const size_t k = text.find("%d");
    if (k != std::string::npos) text.replace(k, 2, std::to_string(data));
    throw base::EStringListError(text);
}

}  // namespace grid

// ---------------------------------------------------------------- streaming

namespace grid {

void TWideStrings::GetPublished(platform::TPropertyList& L)
{
    TPersistent::GetPublished(L);
    L.Strings("AnsiStrings", [this] { return ansi_.get(); });
}

void TWideStrings::DefineProperties(platform::TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    bool doWrite;
    if (Filer->Ancestor) {
        auto* a = dynamic_cast<TWideStrings*>(Filer->Ancestor);
        doWrite = !a || !Equals(*a);
    } else {
        doWrite = GetCount() > 0;
    }
    Filer->DefineProperty(
        "WideStrings", [this](platform::TReader& r) { ReadData(r); }, [this](platform::TWriter& w) { WriteData(w); },
        doWrite);
}

void TWideStrings::ReadData(platform::TReader& Reader)
{
    Reader.ReadListBegin();
    BeginUpdate();
    {
        base::ScopeExit end([this] { EndUpdate(); });
        Clear();
        while (!Reader.EndOfList()) {
            const platform::TValueType t = Reader.NextValue();
            if (t == platform::vaString || t == platform::vaLString)
                Add(platform::AnsiToWide(Reader.ReadString()));
            else
                Add(Reader.ReadWideString());
        }
    }
    Reader.ReadListEnd();
}

void TWideStrings::WriteData(platform::TWriter& Writer)
{
    Writer.WriteListBegin();
    for (int i = 0; i < GetCount(); ++i) Writer.WriteWideString(Get(i));
    Writer.WriteListEnd();
}

}  // namespace grid
