#pragma once
// Streams and component streaming: the binary form format that starts with "TPF0".
// A component is written as its class name, its name, its published properties in
// declaration order (each as its name and a typed value, sub-objects as "Sub.Prop"),
// the data of DefineProperties, an end mark, its children and an end mark. Readers
// check every length and count against the stream and raise EReadError on bad data.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "platform/Classes.h"

namespace base {
class TStrings;
}

namespace platform {

class EStreamError : public base::Exception {
public:
    using base::Exception::Exception;
};
class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EWriteError : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EClassNotFound : public EReadError {
public:
    using EReadError::EReadError;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // As many bytes as there are, up to Count.
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t p) { Seek(p, soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t) {}
    // All Count bytes or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* Buffer, std::int64_t Count);
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    // Count 0: the whole source from its start.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);

    // The component with its properties and children, after the signature.
    void WriteComponent(TComponent* Instance);
    // Into Instance (a stream of another class is refused), or a new component of the
    // registered class when Instance is null.
    TComponent* ReadComponent(TComponent* Instance);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string Data) : data_(std::move(Data)) {}
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return std::int64_t(data_.size()); }
    void SetSize(std::int64_t n) override;
    const char* Memory() const { return data_.data(); }
    const std::string& DataString() const { return data_; }
    void Clear();
    void LoadFromFile(const std::string& FileName);  // EInOutError when unreadable
    void SaveToFile(const std::string& FileName) const;  // whole or not at all; EInOutError

private:
    std::string data_;
    std::int64_t pos_ = 0;
};

// ---- published properties

enum TTypeKind { tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkWString, tkInt64 };
enum TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkInteger;
    TOrdType OrdType = otSLong;
    TFloatType FloatType = ftExtended;
    bool IsColor = false;            // written as its name ("clRed") where it has one
    std::vector<std::string> Names;  // of an enumeration's values or a set's elements
    std::function<std::int64_t()> GetOrd;
    std::function<void(std::int64_t)> SetOrd;
    std::function<double()> GetFloat;
    std::function<void(double)> SetFloat;
    std::function<std::string()> GetStr;
    std::function<void(const std::string&)> SetStr;
    std::function<std::u16string()> GetWStr;
    std::function<void(const std::u16string&)> SetWStr;
    std::function<TPersistent*()> GetObject;        // a sub-object streamed by its own properties
    std::function<base::TStrings*()> GetStrings;    // a string list ("Name.Strings")
    std::function<std::vector<std::string>()> GetLines;  // the same kept as lines
    std::function<void(std::vector<std::string>)> SetLines;
    std::optional<std::int64_t> Default;  // ordinals: not written when equal
    // Floats: not written when equal; without one, 0 is not written.
    std::optional<double> FloatDefault;
    std::function<bool()> Stored;         // not written when it answers false

    // Settings in the style of a declaration: .SetDefault(8).
    TPropInfo& SetDefault(std::int64_t v)
    {
        Default = v;
        return *this;
    }
    TPropInfo& SetFloatDefault(double v)
    {
        FloatDefault = v;
        return *this;
    }
    TPropInfo& SetStored(std::function<bool()> f)
    {
        Stored = std::move(f);
        return *this;
    }
};

// The published properties of an object, in declaration order.
class TPropertyList {
public:
    TPropInfo& Integer(const std::string& Name, std::function<std::int64_t()> Get,
                       std::function<void(std::int64_t)> Set, TOrdType Type = otSLong);
    TPropInfo& Integer(const std::string& Name, int& Field, TOrdType Type = otSLong);
    TPropInfo& Int64(const std::string& Name, std::int64_t& Field);
    TPropInfo& Color(const std::string& Name, std::function<std::int64_t()> Get, std::function<void(std::int64_t)> Set);
    TPropInfo& Boolean(const std::string& Name, std::function<bool()> Get, std::function<void(bool)> Set);
    TPropInfo& Boolean(const std::string& Name, bool& Field);
    TPropInfo& Enumeration(const std::string& Name, std::vector<std::string> Names, std::function<int()> Get,
                           std::function<void(int)> Set);
    // Element i of Names is bit i.
    TPropInfo& Set(const std::string& Name, std::vector<std::string> Names, std::function<std::uint32_t()> Get,
                   std::function<void(std::uint32_t)> Set);
    TPropInfo& Float(const std::string& Name, std::function<double()> Get, std::function<void(double)> Set,
                     TFloatType Type = ftExtended);
    TPropInfo& Float(const std::string& Name, double& Field, TFloatType Type = ftExtended);
    TPropInfo& String(const std::string& Name, std::function<std::string()> Get,
                      std::function<void(const std::string&)> Set);
    TPropInfo& String(const std::string& Name, std::string& Field);
    TPropInfo& WideString(const std::string& Name, std::function<std::u16string()> Get,
                          std::function<void(const std::u16string&)> Set);
    TPropInfo& Object(const std::string& Name, std::function<TPersistent*()> Get);
    TPropInfo& Strings(const std::string& Name, std::function<base::TStrings*()> Get);
    TPropInfo& Strings(const std::string& Name, std::function<std::vector<std::string>()> Get,
                       std::function<void(std::vector<std::string>)> Set);

    const std::vector<TPropInfo>& Items() const { return items_; }
    const TPropInfo* Find(const std::string& Name) const;  // names compared without case
    TPropInfo* Find(const std::string& Name);  // to change what a base class declared

private:
    TPropInfo& Add(TPropInfo p);
    std::vector<TPropInfo> items_;
};

TPropertyList PublishedOf(TPersistent& Instance);

// ---- collections

class TCollection;

class TCollectionItem : public TPersistent {
public:
    TCollection* Collection() const { return collection_; }
    int Index() const;

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

// Items of one class, made by the factory; the collection owns them.
class TCollection : public TPersistent {
public:
    explicit TCollection(std::function<TCollectionItem*()> ItemFactory) : factory_(std::move(ItemFactory)) {}
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    TCollectionItem* Add();
    void Clear();
    void Delete(int Index);
    int Count() const { return int(items_.size()); }
    TCollectionItem* Items(int Index) const { return items_.at(std::size_t(Index)); }
    void Assign(const TPersistent& Source) override;  // item by item, through their Assign

private:
    friend class TCollectionItem;
    std::function<TCollectionItem*()> factory_;
    std::vector<TCollectionItem*> items_;
};

// ---- filers

enum TValueType : std::uint8_t {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary, vaSet,
    vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String, vaDouble
};

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
using TStreamProc = std::function<void(TStream&)>;

class TFiler : public TObject {
public:
    explicit TFiler(TStream& Stream) : stream_(Stream) {}
    TStream& Stream() const { return stream_; }
    TComponent* Root = nullptr;
    // The object this one descends from in the form being written; null for none.
    TPersistent* Ancestor = nullptr;
    // A property of the object's own: a value written by WriteData and read by ReadData.
    virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;
    // The same for raw bytes, written as binary data.
    virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                      bool HasData) = 0;

protected:
    TStream& stream_;
};

class TWriter : public TFiler {
public:
    using TFiler::TFiler;
    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    void WriteSignature();
    void WriteDescendent(TComponent* Root, TComponent* AAncestor);  // signature, then the component
    void WriteRootComponent(TComponent* Root) { WriteDescendent(Root, nullptr); }
    void WriteComponent(TComponent* Component);
    void WriteProperties(TPersistent* Instance);
    void WritePropName(const std::string& Name);

    void WriteValue(TValueType Value);
    void WriteStr(const std::string& S);  // a length byte and up to 255 bytes
    void WriteInteger(std::int64_t Value);  // in the smallest of 8, 16, 32 and 64 bits
    void WriteBoolean(bool Value);
    void WriteChar(char Value);
    void WriteFloat(double Value);  // 10-byte extended
    void WriteSingle(float Value);
    void WriteDouble(double Value);
    void WriteCurrency(double Value);  // scaled by 10000
    void WriteDate(double Value);
    void WriteString(const std::string& Value);  // up to 255 bytes short, else long
    void WriteWideString(const std::u16string& Value);
    void WriteIdent(const std::string& Ident);  // False, True, nil and Null have their own types
    void WriteSet(const std::vector<std::string>& Elements);
    void WriteBinary(const TStreamProc& WriteData);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteCollection(TCollection* Value);

private:
    void WriteProperty(TPersistent* Instance, const TPropInfo& P);
    std::string propPath_;
};

class TReader : public TFiler {
public:
    using TFiler::TFiler;
    void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    void ReadSignature();  // EReadError "Invalid stream format"
    TComponent* ReadRootComponent(TComponent* Root);
    TComponent* ReadComponent(TComponent* Component);
    void ReadProperty(TPersistent* Instance);

    TValueType ReadValue();
    TValueType NextValue();
    void SkipValue();
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListBegin();
    void ReadListEnd();
    std::string ReadStr();
    std::int32_t ReadInteger();
    std::int64_t ReadInt64();
    bool ReadBoolean();
    char ReadChar();
    double ReadFloat();  // extended, double, single or an integer
    float ReadSingle();
    double ReadDouble();
    double ReadCurrency();
    double ReadDate();
    std::string ReadString();  // wide and UTF-8 values in Windows-1252
    std::u16string ReadWideString();
    std::string ReadIdent();
    std::vector<std::string> ReadSet();
    // The bytes of a binary value.
    std::string ReadBinary();
    void ReadCollection(TCollection* Value);
    // Bytes left in the stream.
    std::int64_t Remaining();

private:
    [[noreturn]] void PropValueError();
    void ReadPropValue(TPersistent* Instance, const TPropInfo& P);
    std::string ReadCounted(std::int64_t n);
    std::int32_t ReadLength();
    std::string propName_;
    bool propHandled_ = false;
    int depth_ = 0;
    std::vector<TComponent*> loaded_;
    TComponent* parent_ = nullptr;  // whose children are being read
};

// What a component may want to hear while a stream is read into it: the component whose
// child it is (before its properties are read), and when its loading starts and ends
// (ends just before Loaded, or when the read fails).
class IStreamReadHooks {
public:
    virtual ~IStreamReadHooks() = default;
    virtual void SetParentComponent(TComponent* Parent) { (void)Parent; }
    virtual void LoadingChanged(bool Loading) { (void)Loading; }
};

// Classes that ReadComponent may create (children, or a null instance).
using TComponentFactory = std::function<TComponent*(TComponent* Owner)>;
void RegisterClass(const std::string& ClassName, TComponentFactory Factory);
TComponentFactory FindClass(const std::string& ClassName);  // EClassNotFound "Class X not found"

// The extended (80-bit) form of a double and back.
void DoubleToExtended(double Value, unsigned char Out[10]);
double ExtendedToDouble(const unsigned char In[10]);

}  // namespace platform
