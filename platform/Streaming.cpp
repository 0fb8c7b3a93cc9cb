// Streams, published properties and the "TPF0" component format.
#include "platform/Streaming.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "base/FileUtils.h"
#include "base/ScopeGuard.h"
#include "base/StringList.h"
#include "platform/Types.h"
#include "platform/graphics/ColorNames.h"

namespace platform {

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};
constexpr int kMaxDepth = 64;  // nested lists, collections and components

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void Range(TOrdType t, std::int64_t& lo, std::int64_t& hi)
{
    switch (t) {
    case otSByte: lo = INT8_MIN; hi = INT8_MAX; break;
    case otUByte: lo = 0; hi = UINT8_MAX; break;
    case otSWord: lo = INT16_MIN; hi = INT16_MAX; break;
    case otUWord: lo = 0; hi = UINT16_MAX; break;
    case otSLong: lo = INT32_MIN; hi = INT32_MAX; break;
    case otULong: lo = 0; hi = UINT32_MAX; break;
    }
}

std::map<std::string, TComponentFactory>& Classes()
{
    static std::map<std::string, TComponentFactory> m;
    return m;
}
std::mutex classesMutex;

std::string Lower(std::string s)
{
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

// ---------------------------------------------------------------- streams

std::int64_t TStream::Size()
{
    const std::int64_t at = Position();
    const std::int64_t n = Seek(0, soEnd);
    Seek(at, soBeginning);
    return n;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count)
{
    if (Count < 0 || (Count > 0 && Read(Buffer, Count) != Count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count)
{
    if (Count < 0 || (Count > 0 && Write(Buffer, Count) != Count)) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count)
{
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    char buf[16384];
    std::int64_t left = Count;
    while (left > 0) {
        const std::int64_t n = std::min<std::int64_t>(left, sizeof buf);
        Source.ReadBuffer(buf, n);
        WriteBuffer(buf, n);
        left -= n;
    }
    return Count;
}

void TStream::WriteComponent(TComponent* Instance)
{
    TWriter w(*this);
    w.WriteDescendent(Instance, nullptr);
}

TComponent* TStream::ReadComponent(TComponent* Instance)
{
    TReader r(*this);
    return r.ReadRootComponent(Instance);
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count)
{
    const std::int64_t n = std::max<std::int64_t>(0, std::min<std::int64_t>(Count, Size() - pos_));
    if (n > 0) std::memcpy(Buffer, data_.data() + pos_, std::size_t(n));
    pos_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0) return 0;
    if (pos_ + Count > Size()) data_.resize(std::size_t(pos_ + Count));
    std::memcpy(data_.data() + pos_, Buffer, std::size_t(Count));
    pos_ += Count;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    const std::int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? pos_ : Size();
    pos_ = std::max<std::int64_t>(0, base + Offset);
    return pos_;
}

void TMemoryStream::SetSize(std::int64_t n)
{
    data_.resize(std::size_t(std::max<std::int64_t>(0, n)));
    pos_ = std::min(pos_, Size());
}

void TMemoryStream::Clear()
{
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    std::string d;
    if (!base::ReadFile(FileName, d)) throw base::EInOutError("Cannot open file " + FileName);
    data_ = std::move(d);
    pos_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) const
{
    std::string why;
    if (!base::WriteFileAtomic(FileName, data_, &why)) throw base::EInOutError("Cannot create file " + FileName + ". " + why);
}

// ---------------------------------------------------------------- published properties

TPropInfo& TPropertyList::Add(TPropInfo p)
{
    items_.push_back(std::move(p));
    return items_.back();
}

TPropInfo& TPropertyList::Integer(const std::string& Name, std::function<std::int64_t()> Get,
                                  std::function<void(std::int64_t)> Set, TOrdType Type)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkInteger;
    p.OrdType = Type;
    p.GetOrd = std::move(Get);
    p.SetOrd = std::move(Set);
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Integer(const std::string& Name, int& Field, TOrdType Type)
{
    return Integer(Name, [&Field] { return std::int64_t(Field); }, [&Field](std::int64_t v) { Field = int(v); },
                   Type);
}

TPropInfo& TPropertyList::Int64(const std::string& Name, std::int64_t& Field)
{
    TPropInfo& p = Integer(Name, [&Field] { return Field; }, [&Field](std::int64_t v) { Field = v; });
    p.Kind = tkInt64;
    return p;
}

TPropInfo& TPropertyList::Color(const std::string& Name, std::function<std::int64_t()> Get,
                                std::function<void(std::int64_t)> Set)
{
    // colours are 32-bit words that may have the top bit set (system colours)
    TPropInfo& p = Integer(Name, [Get] { return std::int64_t(std::int32_t(std::uint32_t(Get()))); },
                           [Set](std::int64_t v) { Set(std::int64_t(std::uint32_t(std::int32_t(v)))); });
    p.IsColor = true;
    return p;
}

TPropInfo& TPropertyList::Boolean(const std::string& Name, std::function<bool()> Get, std::function<void(bool)> Set)
{
    TPropInfo& p = Enumeration(Name, {"False", "True"}, [Get] { return Get() ? 1 : 0; },
                               [Set](int v) { Set(v != 0); });
    return p;
}

TPropInfo& TPropertyList::Boolean(const std::string& Name, bool& Field)
{
    return Boolean(Name, [&Field] { return Field; }, [&Field](bool v) { Field = v; });
}

TPropInfo& TPropertyList::Enumeration(const std::string& Name, std::vector<std::string> Names,
                                      std::function<int()> Get, std::function<void(int)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkEnumeration;
    p.OrdType = otUByte;
    p.Names = std::move(Names);
    p.GetOrd = [Get] { return std::int64_t(Get()); };
    p.SetOrd = [Set](std::int64_t v) { Set(int(v)); };
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Set(const std::string& Name, std::vector<std::string> Names,
                              std::function<std::uint32_t()> Get, std::function<void(std::uint32_t)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkSet;
    p.Names = std::move(Names);
    p.GetOrd = [Get] { return std::int64_t(Get()); };
    p.SetOrd = [Set](std::int64_t v) { Set(std::uint32_t(v)); };
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Float(const std::string& Name, std::function<double()> Get, std::function<void(double)> Set,
                                TFloatType Type)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkFloat;
    p.FloatType = Type;
    p.GetFloat = std::move(Get);
    p.SetFloat = std::move(Set);
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Float(const std::string& Name, double& Field, TFloatType Type)
{
    return Float(Name, [&Field] { return Field; }, [&Field](double v) { Field = v; }, Type);
}

TPropInfo& TPropertyList::String(const std::string& Name, std::function<std::string()> Get,
                                 std::function<void(const std::string&)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkString;
    p.GetStr = std::move(Get);
    p.SetStr = std::move(Set);
    return Add(std::move(p));
}

TPropInfo& TPropertyList::String(const std::string& Name, std::string& Field)
{
    return String(Name, [&Field] { return Field; }, [&Field](const std::string& v) { Field = v; });
}

TPropInfo& TPropertyList::WideString(const std::string& Name, std::function<std::u16string()> Get,
                                     std::function<void(const std::u16string&)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkWString;
    p.GetWStr = std::move(Get);
    p.SetWStr = std::move(Set);
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Object(const std::string& Name, std::function<TPersistent*()> Get)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkClass;
    p.GetObject = std::move(Get);
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Strings(const std::string& Name, std::function<base::TStrings*()> Get)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkClass;
    p.GetStrings = std::move(Get);
    return Add(std::move(p));
}

TPropInfo& TPropertyList::Strings(const std::string& Name, std::function<std::vector<std::string>()> Get,
                                  std::function<void(std::vector<std::string>)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkClass;
    p.GetLines = std::move(Get);
    p.SetLines = std::move(Set);
    return Add(std::move(p));
}

const TPropInfo* TPropertyList::Find(const std::string& Name) const
{
    for (const TPropInfo& p : items_)
        if (SameText(p.Name, Name)) return &p;
    return nullptr;
}

TPropInfo* TPropertyList::Find(const std::string& Name)
{
    return const_cast<TPropInfo*>(std::as_const(*this).Find(Name));
}

TPropertyList PublishedOf(TPersistent& Instance)
{
    TPropertyList l;
    Instance.GetPublished(l);
    return l;
}

// ---------------------------------------------------------------- collections

int TCollectionItem::Index() const
{
    if (!collection_) return -1;
    const auto& v = collection_->items_;
    const auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = factory_();
    item->collection_ = this;
    items_.push_back(item);
    return item;
}

void TCollection::Clear()
{
    while (!items_.empty()) Delete(Count() - 1);
}

void TCollection::Delete(int Index)
{
    TCollectionItem* item = items_.at(std::size_t(Index));
    items_.erase(items_.begin() + Index);
    delete item;
}

void TCollection::Assign(const TPersistent& Source)
{
    auto* s = dynamic_cast<const TCollection*>(&Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    if (s == this) return;
    Clear();
    for (TCollectionItem* item : s->items_) Add()->Assign(*item);
}

// ---------------------------------------------------------------- extended numbers

void DoubleToExtended(double Value, unsigned char Out[10])
{
    std::uint16_t signExp = std::signbit(Value) ? 0x8000 : 0;
    std::uint64_t mant = 0;
    const double a = std::fabs(Value);
    if (std::isnan(Value)) {
        signExp |= 0x7FFF;
        mant = 0xC000000000000000ull;
    } else if (std::isinf(Value)) {
        signExp |= 0x7FFF;
        mant = 0x8000000000000000ull;
    } else if (a != 0) {
        int e = 0;
        const double m = std::frexp(a, &e);  // a = m * 2^e, m in [0.5, 1)
        mant = std::uint64_t(std::ldexp(m, 64));
        signExp |= std::uint16_t(e - 1 + 16383);
    }
    for (int k = 0; k < 8; ++k) Out[k] = static_cast<unsigned char>(mant >> (8 * k));
    Out[8] = static_cast<unsigned char>(signExp & 0xFF);
    Out[9] = static_cast<unsigned char>(signExp >> 8);
}

double ExtendedToDouble(const unsigned char In[10])
{
    std::uint64_t mant = 0;
    for (int k = 0; k < 8; ++k) mant |= std::uint64_t(In[k]) << (8 * k);
    const int signExp = In[8] | (In[9] << 8);
    const bool negative = signExp & 0x8000;
    const int e = signExp & 0x7FFF;
    double v;
    if (e == 0x7FFF)
        v = (mant << 1) == 0 ? HUGE_VAL : std::nan("");
    else
        v = std::ldexp(double(mant), e - 16383 - 63);
    return negative ? -v : v;
}

// ---------------------------------------------------------------- writer

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData)
{
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData)
{
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteBinary(WriteData);
}

void TWriter::WriteValue(TValueType Value)
{
    const auto b = static_cast<std::uint8_t>(Value);
    stream_.WriteBuffer(&b, 1);
}

void TWriter::WriteStr(const std::string& S)
{
    if (S.size() > 255) throw EWriteError("Name too long to stream: " + S.substr(0, 40));
    const auto n = static_cast<std::uint8_t>(S.size());
    stream_.WriteBuffer(&n, 1);
    stream_.WriteBuffer(S.data(), std::int64_t(S.size()));
}

namespace {

template <class T>
void PutLE(TStream& s, T v)
{
    unsigned char b[sizeof(T)];
    for (std::size_t k = 0; k < sizeof(T); ++k) b[k] = static_cast<unsigned char>(std::uint64_t(v) >> (8 * k));
    s.WriteBuffer(b, sizeof(T));
}

}  // namespace

void TWriter::WriteInteger(std::int64_t Value)
{
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        WriteValue(vaInt8);
        PutLE(stream_, std::int8_t(Value));
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        WriteValue(vaInt16);
        PutLE(stream_, std::int16_t(Value));
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        WriteValue(vaInt32);
        PutLE(stream_, std::int32_t(Value));
    } else {
        WriteValue(vaInt64);
        PutLE(stream_, Value);
    }
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteChar(char Value) { WriteString(std::string(1, Value)); }

void TWriter::WriteFloat(double Value)
{
    WriteValue(vaExtended);
    unsigned char b[10];
    DoubleToExtended(Value, b);
    stream_.WriteBuffer(b, 10);
}

void TWriter::WriteSingle(float Value)
{
    WriteValue(vaSingle);
    std::uint32_t bits;
    std::memcpy(&bits, &Value, 4);
    PutLE(stream_, bits);
}

void TWriter::WriteDouble(double Value)
{
    WriteValue(vaDouble);
    std::uint64_t bits;
    std::memcpy(&bits, &Value, 8);
    PutLE(stream_, bits);
}

void TWriter::WriteCurrency(double Value)
{
    WriteValue(vaCurrency);
    PutLE(stream_, std::int64_t(std::llround(Value * 10000.0)));
}

void TWriter::WriteDate(double Value)
{
    WriteValue(vaDate);
    std::uint64_t bits;
    std::memcpy(&bits, &Value, 8);
    PutLE(stream_, bits);
}

void TWriter::WriteString(const std::string& Value)
{
    if (Value.size() <= 255) {
        WriteValue(vaString);
        WriteStr(Value);
        return;
    }
    if (Value.size() > std::size_t(INT32_MAX)) throw EWriteError("String too long to stream");
    WriteValue(vaLString);
    PutLE(stream_, std::int32_t(Value.size()));
    stream_.WriteBuffer(Value.data(), std::int64_t(Value.size()));
}

void TWriter::WriteWideString(const std::u16string& Value)
{
    if (Value.size() > std::size_t(INT32_MAX / 2)) throw EWriteError("String too long to stream");
    WriteValue(vaWString);
    PutLE(stream_, std::int32_t(Value.size()));
    for (char16_t c : Value) PutLE(stream_, std::uint16_t(c));
}

void TWriter::WriteIdent(const std::string& Ident)
{
    if (SameText(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, "Null"))
        WriteValue(vaNull);
    else if (SameText(Ident, "nil"))
        WriteValue(vaNil);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteSet(const std::vector<std::string>& Elements)
{
    WriteValue(vaSet);
    for (const std::string& e : Elements) WriteStr(e);
    WriteStr({});
}

void TWriter::WriteBinary(const TStreamProc& WriteData)
{
    TMemoryStream m;
    WriteData(m);
    if (m.Size() > INT32_MAX) throw EWriteError("Binary data too long to stream");
    WriteValue(vaBinary);
    PutLE(stream_, std::int32_t(m.Size()));
    stream_.WriteBuffer(m.Memory(), m.Size());
}

void TWriter::WriteCollection(TCollection* Value)
{
    WriteValue(vaCollection);
    const std::string saved = propPath_;
    propPath_.clear();  // items' properties stand without the collection's path
    for (int i = 0; Value && i < Value->Count(); ++i) {
        WriteListBegin();
        WriteProperties(Value->Items(i));
        WriteListEnd();
    }
    propPath_ = saved;
    WriteListEnd();
}

void TWriter::WritePropName(const std::string& Name) { WriteStr(propPath_ + Name); }

void TWriter::WriteSignature() { stream_.WriteBuffer(kSignature, 4); }

void TWriter::WriteDescendent(TComponent* ARoot, TComponent* AAncestor)
{
    Root = ARoot;
    Ancestor = AAncestor;
    WriteSignature();
    WriteComponent(ARoot);
}

void TWriter::WriteComponent(TComponent* Component)
{
    const unsigned state = Component->ComponentState();
    Component->SetComponentState(state | TComponent::csWriting);
    base::ScopeExit restore([&] { Component->SetComponentState(state); });
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    propPath_.clear();
    WriteProperties(Component);
    WriteListEnd();
    Component->GetChildren([this](TComponent* child) { WriteComponent(child); }, Root ? Root : Component);
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance)
{
    const TPropertyList list = PublishedOf(*Instance);
    for (const TPropInfo& p : list.Items())
        if (!p.Stored || p.Stored()) WriteProperty(Instance, p);
    Instance->DefineProperties(this);
}

void TWriter::WriteProperty(TPersistent*, const TPropInfo& P)
{
    switch (P.Kind) {
    case tkInteger: case tkChar: case tkInt64: {
        const std::int64_t v = P.GetOrd();
        if (P.Default && *P.Default == v) return;
        if (P.Kind == tkInt64 && !P.Default && v == 0) return;
        WritePropName(P.Name);
        std::string name;
        if (P.IsColor && (name = ColorToString(TColor(std::uint32_t(v))))[0] != '$')
            WriteIdent(name);
        else
            WriteInteger(v);
        return;
    }
    case tkEnumeration: {
        const std::int64_t v = P.GetOrd();
        if (P.Default && *P.Default == v) return;
        if (v < 0 || v >= std::int64_t(P.Names.size())) throw EWriteError("Property " + P.Name + " is out of range");
        WritePropName(P.Name);
        WriteIdent(P.Names[std::size_t(v)]);
        return;
    }
    case tkSet: {
        const std::int64_t v = P.GetOrd();
        if (P.Default && *P.Default == v) return;
        WritePropName(P.Name);
        std::vector<std::string> on;
        for (std::size_t k = 0; k < P.Names.size() && k < 32; ++k)
            if (std::uint64_t(v) & (1ull << k)) on.push_back(P.Names[k]);
        WriteSet(on);
        return;
    }
    case tkFloat: {
        const double v = P.GetFloat();
        const double d = P.FloatDefault.value_or(0.0);
        if (v == d && std::signbit(v) == std::signbit(d)) return;
        WritePropName(P.Name);
        if (P.FloatType == ftSingle)
            WriteSingle(float(v));
        else if (P.FloatType == ftCurr)
            WriteCurrency(v);
        else
            WriteFloat(v);
        return;
    }
    case tkString: {
        const std::string v = P.GetStr();
        if (v.empty()) return;
        WritePropName(P.Name);
        WriteString(v);
        return;
    }
    case tkWString: {
        const std::u16string v = P.GetWStr();
        if (v.empty()) return;
        WritePropName(P.Name);
        WriteWideString(v);
        return;
    }
    case tkClass: {
        if (P.GetStrings || P.GetLines) {
            std::vector<std::string> lines;
            if (P.GetLines) {
                lines = P.GetLines();
            } else if (base::TStrings* s = P.GetStrings()) {
                for (int i = 0; i < s->Count(); ++i) lines.push_back(s->Get(i));
            }
            if (lines.empty()) return;
            WritePropName(P.Name + ".Strings");
            WriteListBegin();
            for (const std::string& l : lines) WriteString(l);
            WriteListEnd();
            return;
        }
        TPersistent* o = P.GetObject ? P.GetObject() : nullptr;
        if (!o || dynamic_cast<TComponent*>(o)) return;  // references to components are not streamed
        if (auto* c = dynamic_cast<TCollection*>(o)) {
            WritePropName(P.Name);
            WriteCollection(c);
            return;
        }
        const std::string saved = propPath_;
        propPath_ += P.Name + ".";
        WriteProperties(o);
        propPath_ = saved;
        return;
    }
    }
}

// ---------------------------------------------------------------- reader

std::int64_t TReader::Remaining() { return std::max<std::int64_t>(0, stream_.Size() - stream_.Position()); }

void TReader::PropValueError() { throw EReadError("Invalid property value"); }

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool)
{
    if (propHandled_ || !ReadData || !SameText(Name, propName_)) return;
    propHandled_ = true;
    ReadData(*this);
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool)
{
    if (propHandled_ || !ReadData || !SameText(Name, propName_)) return;
    propHandled_ = true;
    TMemoryStream m(ReadBinary());
    ReadData(m);
}

TValueType TReader::ReadValue()
{
    std::uint8_t b;
    stream_.ReadBuffer(&b, 1);
    if (b > vaDouble) PropValueError();
    return TValueType(b);
}

// The next byte, not checked: it may be the length of a property name.
TValueType TReader::NextValue()
{
    std::uint8_t b;
    stream_.ReadBuffer(&b, 1);
    stream_.Seek(-1, soCurrent);
    return TValueType(b);
}

std::string TReader::ReadCounted(std::int64_t n)
{
    if (n < 0 || n > Remaining()) throw EReadError("Stream read error");
    std::string s(std::size_t(n), '\0');
    stream_.ReadBuffer(s.data(), n);
    return s;
}

namespace {

template <class T>
T GetLE(TStream& s)
{
    unsigned char b[sizeof(T)];
    s.ReadBuffer(b, sizeof(T));
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < sizeof(T); ++k) v |= std::uint64_t(b[k]) << (8 * k);
    return T(v);
}

}  // namespace

std::int32_t TReader::ReadLength()
{
    const std::int32_t n = GetLE<std::int32_t>(stream_);
    if (n < 0 || n > Remaining()) throw EReadError("Stream read error");
    return n;
}

std::string TReader::ReadStr()
{
    std::uint8_t n;
    stream_.ReadBuffer(&n, 1);
    return ReadCounted(n);
}

void TReader::SkipValue()
{
    if (++depth_ > kMaxDepth) throw EReadError("Stream nests too deeply");
    switch (ReadValue()) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: break;
    case vaList:
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        break;
    case vaInt8: ReadCounted(1); break;
    case vaInt16: ReadCounted(2); break;
    case vaInt32: case vaSingle: ReadCounted(4); break;
    case vaExtended: ReadCounted(10); break;
    case vaString: case vaIdent: ReadStr(); break;
    case vaBinary: case vaLString: case vaUTF8String: ReadCounted(ReadLength()); break;
    case vaWString: {
        const std::int32_t n = GetLE<std::int32_t>(stream_);
        if (n < 0 || std::int64_t(n) * 2 > Remaining()) throw EReadError("Stream read error");
        ReadCounted(std::int64_t(n) * 2);
        break;
    }
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection:
        while (!EndOfList()) {
            const TValueType t = NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) ReadInteger();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    case vaCurrency: case vaDate: case vaInt64: case vaDouble: ReadCounted(8); break;
    }
    --depth_;
}

void TReader::ReadListBegin()
{
    if (ReadValue() != vaList) PropValueError();
}

void TReader::ReadListEnd()
{
    if (ReadValue() != vaNull) PropValueError();
}

std::int32_t TReader::ReadInteger()
{
    switch (ReadValue()) {
    case vaInt8: return GetLE<std::int8_t>(stream_);
    case vaInt16: return GetLE<std::int16_t>(stream_);
    case vaInt32: return GetLE<std::int32_t>(stream_);
    default: PropValueError();
    }
}

std::int64_t TReader::ReadInt64()
{
    if (NextValue() == vaInt64) {
        ReadValue();
        return GetLE<std::int64_t>(stream_);
    }
    return ReadInteger();
}

bool TReader::ReadBoolean()
{
    const TValueType t = ReadValue();
    if (t != vaTrue && t != vaFalse) PropValueError();
    return t == vaTrue;
}

char TReader::ReadChar()
{
    const std::string s = ReadString();
    if (s.size() != 1) PropValueError();
    return s[0];
}

double TReader::ReadFloat()
{
    switch (NextValue()) {
    case vaExtended: {
        ReadValue();
        unsigned char b[10];
        stream_.ReadBuffer(b, 10);
        return ExtendedToDouble(b);
    }
    case vaDouble: return ReadDouble();
    case vaSingle: return ReadSingle();
    case vaInt64: case vaInt8: case vaInt16: case vaInt32: return double(ReadInt64());
    default: ReadValue(); PropValueError();
    }
}

float TReader::ReadSingle()
{
    if (NextValue() != vaSingle) return float(ReadFloat());
    ReadValue();
    const std::uint32_t bits = GetLE<std::uint32_t>(stream_);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

double TReader::ReadDouble()
{
    if (ReadValue() != vaDouble) PropValueError();
    const std::uint64_t bits = GetLE<std::uint64_t>(stream_);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

double TReader::ReadCurrency()
{
    if (NextValue() != vaCurrency) return ReadFloat();
    ReadValue();
    return double(GetLE<std::int64_t>(stream_)) / 10000.0;
}

double TReader::ReadDate()
{
    if (NextValue() != vaDate) return ReadFloat();
    ReadValue();
    const std::uint64_t bits = GetLE<std::uint64_t>(stream_);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

std::string TReader::ReadString()
{
    switch (NextValue()) {
    case vaWString: case vaUTF8String: return WideToAnsi(ReadWideString());
    default: break;
    }
    switch (ReadValue()) {
    case vaString: return ReadStr();
    case vaLString: return ReadCounted(ReadLength());
    default: PropValueError();
    }
}

std::u16string TReader::ReadWideString()
{
    switch (ReadValue()) {
    case vaWString: {
        const std::int32_t n = GetLE<std::int32_t>(stream_);
        if (n < 0 || std::int64_t(n) * 2 > Remaining()) throw EReadError("Stream read error");
        const std::string bytes = ReadCounted(std::int64_t(n) * 2);
        std::u16string s(std::size_t(n), u'\0');
        for (std::size_t k = 0; k < s.size(); ++k)
            s[k] = char16_t(std::uint8_t(bytes[2 * k]) | (std::uint8_t(bytes[2 * k + 1]) << 8));
        return s;
    }
    case vaUTF8String: return AnsiToWide(Utf8ToAnsi(ReadCounted(ReadLength())));
    case vaString: return AnsiToWide(ReadStr());
    case vaLString: return AnsiToWide(ReadCounted(ReadLength()));
    default: PropValueError();
    }
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: PropValueError();
    }
}

std::vector<std::string> TReader::ReadSet()
{
    if (ReadValue() != vaSet) PropValueError();
    std::vector<std::string> out;
    for (std::string s; !(s = ReadStr()).empty();) out.push_back(s);
    return out;
}

std::string TReader::ReadBinary()
{
    if (ReadValue() != vaBinary) PropValueError();
    return ReadCounted(ReadLength());
}

void TReader::ReadCollection(TCollection* Value)
{
    if (++depth_ > kMaxDepth) throw EReadError("Stream nests too deeply");
    Value->Clear();
    while (!EndOfList()) {
        const TValueType t = NextValue();
        if (t == vaInt8 || t == vaInt16 || t == vaInt32) ReadInteger();  // the item's order: not kept
        TCollectionItem* item = Value->Add();
        ReadListBegin();
        while (!EndOfList()) ReadProperty(item);
        ReadListEnd();
    }
    ReadListEnd();
    --depth_;
}

void TReader::ReadSignature()
{
    char sig[4];
    if (stream_.Read(sig, 4) != 4 || std::memcmp(sig, kSignature, 4) != 0) throw EReadError("Invalid stream format");
}

namespace {

// Sets the state and tells a component that listens when csLoading comes or goes.
void SetLoadingState(TComponent* c, unsigned s)
{
    const bool was = c->ComponentState() & TComponent::csLoading, now = s & TComponent::csLoading;
    c->SetComponentState(s);
    if (was != now)
        if (auto* hooks = dynamic_cast<IStreamReadHooks*>(c)) hooks->LoadingChanged(now);
}

}  // namespace

TComponent* TReader::ReadRootComponent(TComponent* ARoot)
{
    ReadSignature();
    Root = ARoot;
    loaded_.clear();
    base::ScopeExit forget([this] { loaded_.clear(); });
    // The first component still loading; on a failure it and the ones after it stop loading too.
    std::size_t next = 0;
    base::ScopeFail stopLoading([&] {
        for (; next < loaded_.size(); ++next)
            SetLoadingState(loaded_[next], loaded_[next]->ComponentState() & ~unsigned(TComponent::csLoading));
    });
    TComponent* c = ReadComponent(ARoot);
    while (next < loaded_.size()) {
        TComponent* l = loaded_[next++];
        SetLoadingState(l, l->ComponentState() & ~unsigned(TComponent::csLoading));
        l->Loaded();
    }
    return c;
}

TComponent* TReader::ReadComponent(TComponent* Component)
{
    if (++depth_ > kMaxDepth) throw EReadError("Stream nests too deeply");
    // an optional prefix of flags (inherited, child position, inline)
    std::uint8_t prefix;
    stream_.ReadBuffer(&prefix, 1);
    if ((prefix & 0xF0) == 0xF0) {
        if (prefix & 0x02) ReadInteger();
    } else {
        stream_.Seek(-1, soCurrent);
    }
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    std::unique_ptr<TComponent> made;
    if (!Component) {
        const TComponentFactory f = FindClass(className);
        Component = f(Root);
        if (!Component) throw EClassNotFound("Class " + className + " not found");
        if (!Root) made.reset(Component);  // freed on failure; otherwise owned by Root
        if (!Root) Root = Component;
        if (auto* hooks = dynamic_cast<IStreamReadHooks*>(Component); hooks && parent_ && parent_ != Component)
            hooks->SetParentComponent(parent_);
    } else if (!SameText(className, Component->ClassName())) {
        throw EReadError("Stream holds a " + className + " where a " + Component->ClassName() + " belongs");
    }
    const unsigned state = Component->ComponentState();
    SetLoadingState(Component, state | TComponent::csLoading | TComponent::csReading);
    {
        base::ScopeFail undo([&] { SetLoadingState(Component, state); });
        if (!name.empty() && name != Component->Name()) Component->SetName(name);
        while (!EndOfList()) ReadProperty(Component);
        ReadListEnd();
        {
            TComponent* const outer = parent_;
            parent_ = Component;
            base::ScopeExit back([&] { parent_ = outer; });
            while (!EndOfList()) ReadComponent(nullptr);
        }
        ReadListEnd();
    }
    SetLoadingState(Component, (state | TComponent::csLoading) & ~unsigned(TComponent::csReading));
    loaded_.push_back(Component);
    made.release();
    --depth_;
    return Component;
}

void TReader::ReadProperty(TPersistent* Instance)
{
    const std::string path = ReadStr();
    if (path.empty()) PropValueError();
    TPersistent* obj = Instance;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = path.find('.', start);
        const std::string seg = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const TPropertyList list = PublishedOf(*obj);
        const TPropInfo* p = list.Find(seg);
        if (dot == std::string::npos) {
            if (p) {
                ReadPropValue(obj, *p);
                return;
            }
            propName_ = seg;
            propHandled_ = false;
            obj->DefineProperties(this);
            const bool handled = propHandled_;
            propHandled_ = false;
            propName_.clear();
            if (!handled) throw EReadError("Property " + path + " does not exist");
            return;
        }
        if (!p || p->Kind != tkClass) throw EReadError("Property " + path + " does not exist");
        if (p->GetStrings || p->SetLines) {
            base::TStrings* s = p->GetStrings ? p->GetStrings() : nullptr;
            if ((!s && !p->SetLines) || !SameText(path.substr(dot + 1), "Strings"))
                throw EReadError("Property " + path + " does not exist");
            std::vector<std::string> lines;
            ReadListBegin();
            while (!EndOfList()) lines.push_back(ReadString());
            ReadListEnd();
            if (p->SetLines) {
                p->SetLines(std::move(lines));
                return;
            }
            s->BeginUpdate();
            s->Clear();
            for (const std::string& l : lines) s->Add(l);
            s->EndUpdate();
            return;
        }
        TPersistent* sub = p->GetObject ? p->GetObject() : nullptr;
        if (!sub) throw EReadError("Property " + path + " does not exist");
        obj = sub;
        start = dot + 1;
    }
}

void TReader::ReadPropValue(TPersistent*, const TPropInfo& P)
{
    switch (P.Kind) {
    case tkInteger: case tkChar: {
        std::int64_t v;
        if (P.IsColor && NextValue() == vaIdent) {
            TColor c;
            if (!IdentToColor(ReadIdent(), c)) PropValueError();
            v = std::int32_t(std::uint32_t(c));
        } else {
            v = ReadInteger();
        }
        std::int64_t lo = INT32_MIN, hi = INT32_MAX;
        Range(P.OrdType, lo, hi);
        if (P.OrdType == otULong && v < 0) v += std::int64_t(1) << 32;
        if (v < lo || v > hi) PropValueError();
        P.SetOrd(v);
        return;
    }
    case tkInt64: P.SetOrd(ReadInt64()); return;
    case tkEnumeration: {
        const std::string id = ReadIdent();
        for (std::size_t k = 0; k < P.Names.size(); ++k)
            if (SameText(P.Names[k], id)) {
                P.SetOrd(std::int64_t(k));
                return;
            }
        PropValueError();
    }
    case tkSet: {
        std::uint32_t bits = 0;
        for (const std::string& e : ReadSet()) {
            std::size_t k = 0;
            while (k < P.Names.size() && !SameText(P.Names[k], e)) ++k;
            if (k >= P.Names.size() || k >= 32) PropValueError();
            bits |= 1u << k;
        }
        P.SetOrd(bits);
        return;
    }
    case tkFloat:
        P.SetFloat(P.FloatType == ftSingle ? double(ReadSingle()) : P.FloatType == ftCurr ? ReadCurrency() : ReadFloat());
        return;
    case tkString: P.SetStr(ReadString()); return;
    case tkWString: P.SetWStr(ReadWideString()); return;
    case tkClass: {
        TPersistent* o = P.GetObject ? P.GetObject() : nullptr;
        auto* c = dynamic_cast<TCollection*>(o);
        if (!c || ReadValue() != vaCollection) PropValueError();
        ReadCollection(c);
        return;
    }
    }
}

// ---------------------------------------------------------------- class registry

void RegisterClass(const std::string& ClassName, TComponentFactory Factory)
{
    std::lock_guard<std::mutex> lock(classesMutex);
    Classes()[Lower(ClassName)] = std::move(Factory);
}

TComponentFactory FindClass(const std::string& ClassName)
{
    std::lock_guard<std::mutex> lock(classesMutex);
    const auto it = Classes().find(Lower(ClassName));
    if (it == Classes().end()) throw EClassNotFound("Class " + ClassName + " not found");
    return it->second;
}

}  // namespace platform
