// Component streaming: every value type round trip, a stream checked byte for byte
// against one built by hand, custom data through DefineProperties, children, graphics,
// and bad streams refused with EReadError.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "base/FileUtils.h"
#include "base/StringList.h"
#include "platform/Streaming.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/Icon.h"
#include "support/TestSupport.h"

#include <sys/stat.h>

using namespace platform;
using namespace std::string_literals;

namespace {

enum TShade { shLight, shMid, shDark };

class TProbeFont : public TPersistent {
public:
    int Size = 8;
    std::string Name;
    void GetPublished(TPropertyList& L) override
    {
        L.Integer("Size", Size).SetDefault(8);
        L.String("Name", Name);
    }
};

class TProbeItem : public TCollectionItem {
public:
    int Value = 0;
    std::string Caption;
    void GetPublished(TPropertyList& L) override
    {
        L.Integer("Value", Value);
        L.String("Caption", Caption);
    }
};

// One published property of each kind, and two defined ones.
class TProbe : public TComponent {
public:
    using TComponent::TComponent;
    int Small = 0, Word = 0, Long = 0;
    std::int64_t Huge = 0;
    double Ext = 0;
    double Sng = 0;
    double Cur = 0;
    std::string Short, LongText;
    std::u16string Wide;
    std::uint32_t Styles = 0;
    int Shade = shLight;
    bool Flag = false, Other = true;
    std::uint32_t Colour = 0;
    TProbeFont Font;
    base::TStringList Lines;
    TCollection Items{[] { return new TProbeItem; }};
    std::vector<int> Margins;  // a defined list
    std::string Blob;          // defined binary data

    void GetPublished(TPropertyList& L) override
    {
        TComponent::GetPublished(L);
        L.Integer("Small", Small, otSByte);
        L.Integer("Word", Word, otSWord);
        L.Integer("Long", Long);
        L.Int64("Huge", Huge);
        L.Float("Ext", Ext);
        L.Float("Sng", Sng, ftSingle);
        L.Float("Cur", Cur, ftCurr);
        L.String("Short", Short);
        L.String("LongText", LongText);
        L.WideString("Wide", [this] { return Wide; }, [this](const std::u16string& v) { Wide = v; });
        L.Set("Styles", {"fsBold", "fsItalic", "fsUnderline"}, [this] { return Styles; },
              [this](std::uint32_t v) { Styles = v; });
        L.Enumeration("Shade", {"shLight", "shMid", "shDark"}, [this] { return Shade; }, [this](int v) { Shade = v; })
            .SetDefault(shLight);
        L.Boolean("Flag", Flag);
        L.Boolean("Other", Other);
        L.Color("Colour", [this] { return std::int64_t(Colour); }, [this](std::int64_t v) { Colour = std::uint32_t(v); });
        L.Object("Font", [this] { return &Font; });
        L.Strings("Lines", [this] { return &Lines; });
        L.Object("Items", [this] { return &Items; });
    }
    void DefineProperties(TFiler* F) override
    {
        TComponent::DefineProperties(F);
        F->DefineProperty(
            "Margins",
            [this](TReader& r) {
                Margins.clear();
                r.ReadListBegin();
                while (!r.EndOfList()) Margins.push_back(r.ReadInteger());
                r.ReadListEnd();
            },
            [this](TWriter& w) {
                w.WriteListBegin();
                for (int m : Margins) w.WriteInteger(m);
                w.WriteListEnd();
            },
            !Margins.empty());
        F->DefineBinaryProperty(
            "Blob",
            [this](TStream& s) {
                Blob.assign(std::size_t(s.Size()), '\0');
                s.ReadBuffer(Blob.data(), s.Size());
            },
            [this](TStream& s) { s.WriteBuffer(Blob.data(), std::int64_t(Blob.size())); }, !Blob.empty());
    }
};

// Two published integers only: small enough to build by hand.
class TPoint2 : public TComponent {
public:
    using TComponent::TComponent;
    int X = 0, Y = 0;
    bool On = false;
    std::string Text;
    void GetPublished(TPropertyList& L) override
    {
        L.Integer("X", X);
        L.Integer("Y", Y);
        L.Boolean("On", On);
        L.String("Text", Text);
    }
};

// Holds its children as owned components and streams them.
class TBox : public TComponent {
public:
    using TComponent::TComponent;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i) Proc(Components(i));
    }
};

std::string Str(const TMemoryStream& m) { return m.DataString(); }

std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }

std::string Le(std::uint64_t v, int bytes)
{
    std::string s;
    for (int k = 0; k < bytes; ++k) s += char((v >> (8 * k)) & 0xFF);
    return s;
}

TProbe* Filled()
{
    auto* p = new TProbe;
    p->SetName("Probe1");
    p->Small = -100;
    p->Word = -30000;
    p->Long = 70000;
    p->Huge = std::int64_t(1) << 40;
    p->Ext = -1234.5678e-3;
    p->Sng = 0.25;
    p->Cur = 12.3456;
    p->Short = "short text";
    p->LongText = std::string(300, 'x') + "\xe9";
    p->Wide = u"wide \u03a9 text";
    p->Styles = 0b101;
    p->Shade = shDark;
    p->Flag = true;
    p->Other = false;
    p->Colour = 0x000000FF;  // clRed
    p->Font.Size = 12;
    p->Font.Name = "Sans";
    p->Lines.Add("one");
    p->Lines.Add("two, three");
    auto* i1 = static_cast<TProbeItem*>(p->Items.Add());
    i1->Value = 5;
    i1->Caption = "first";
    static_cast<TProbeItem*>(p->Items.Add())->Value = -7;
    p->Margins = {15, 20, 300, -1};
    p->Blob = std::string("\0\1\2bytes", 8);
    return p;
}

}  // namespace

TEST(Streaming, EveryValueTypeRoundTrips)
{
    std::unique_ptr<TProbe> p(Filled());
    TMemoryStream m;
    m.WriteComponent(p.get());
    EXPECT_EQ(Str(m).substr(0, 4), "TPF0");
    m.SetPosition(0);
    TProbe q;
    m.ReadComponent(&q);
    EXPECT_EQ(m.Position(), m.Size());
    EXPECT_EQ(q.Name(), "Probe1");
    EXPECT_EQ(q.Small, -100);
    EXPECT_EQ(q.Word, -30000);
    EXPECT_EQ(q.Long, 70000);
    EXPECT_EQ(q.Huge, std::int64_t(1) << 40);
    EXPECT_DOUBLE_EQ(q.Ext, -1234.5678e-3);
    EXPECT_EQ(q.Sng, 0.25);
    EXPECT_DOUBLE_EQ(q.Cur, 12.3456);
    EXPECT_EQ(q.Short, "short text");
    EXPECT_EQ(q.LongText, p->LongText);
    EXPECT_EQ(q.Wide, p->Wide);
    EXPECT_EQ(q.Styles, 0b101u);
    EXPECT_EQ(q.Shade, shDark);
    EXPECT_TRUE(q.Flag);
    EXPECT_FALSE(q.Other);
    EXPECT_EQ(q.Colour, 0x000000FFu);
    EXPECT_EQ(q.Font.Size, 12);
    EXPECT_EQ(q.Font.Name, "Sans");
    ASSERT_EQ(q.Lines.Count(), 2);
    EXPECT_EQ(q.Lines[1], "two, three");
    ASSERT_EQ(q.Items.Count(), 2);
    EXPECT_EQ(static_cast<TProbeItem*>(q.Items.Items(0))->Caption, "first");
    EXPECT_EQ(static_cast<TProbeItem*>(q.Items.Items(1))->Value, -7);
    EXPECT_EQ(q.Margins, (std::vector<int>{15, 20, 300, -1}));
    EXPECT_EQ(q.Blob, p->Blob);
}

TEST(Streaming, IntegersTakeTheSmallestWidth)
{
    struct Case {
        std::int64_t v;
        std::string bytes;
    };
    const Case cases[] = {
        {0, "\x02\x00"s},
        {-128, "\x02\x80"s},
        {127, "\x02\x7f"s},
        {128, "\x03\x80\x00"s},
        {-32768, "\x03\x00\x80"s},
        {32768, "\x04\x00\x80\x00\x00"s},
        {INT32_MIN, "\x04\x00\x00\x00\x80"s},
        {std::int64_t(INT32_MAX) + 1, "\x13\x00\x00\x00\x80\x00\x00\x00\x00"s},
    };
    for (const Case& c : cases) {
        TMemoryStream m;
        TWriter w(m);
        w.WriteInteger(c.v);
        EXPECT_EQ(m.DataString(), c.bytes) << c.v;
        m.SetPosition(0);
        TReader r(m);
        EXPECT_EQ(r.ReadInt64(), c.v);
    }
}

TEST(Streaming, ExtendedNumbersAreTenBytes)
{
    struct Case {
        double v;
        std::string bytes;
    };
    const Case cases[] = {
        {1.0, std::string(7, '\0') + "\x80\xff\x3f"},
        {1.5, std::string(7, '\0') + "\xc0\xff\x3f"},
        {-2.0, std::string(7, '\0') + "\x80\x00\xc0"s},
        {0.0, std::string(10, '\0')},
    };
    for (const Case& c : cases) {
        unsigned char b[10];
        DoubleToExtended(c.v, b);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 10), c.bytes) << c.v;
        EXPECT_EQ(ExtendedToDouble(b), c.v);
    }
    for (double v : {3.141592653589793, -1e300, 1e-300, 5e-324, 1.7976931348623157e308}) {
        unsigned char b[10];
        DoubleToExtended(v, b);
        EXPECT_EQ(ExtendedToDouble(b), v);
    }
    unsigned char inf[10];
    DoubleToExtended(HUGE_VAL, inf);
    EXPECT_TRUE(std::isinf(ExtendedToDouble(inf)));
}

TEST(Streaming, AStreamMatchesOneBuiltByHand)
{
    TPoint2 p;
    p.SetName("P");
    p.X = 5;
    p.Y = 1000;
    p.On = true;
    p.Text = "ab";
    TMemoryStream m;
    m.WriteComponent(&p);
    const std::string expected = "TPF0" + Short("TPoint2") + Short("P") +  //
                                 Short("X") + "\x02\x05" +                //
                                 Short("Y") + "\x03" + Le(1000, 2) +      //
                                 Short("On") + "\x09" +                   //
                                 Short("Text") + "\x06" + Short("ab") +   //
                                 std::string(1, '\0') + std::string(1, '\0');
    EXPECT_EQ(m.DataString(), expected);

    // values and properties by the format's rules: sets, identifiers, lists, collections,
    // binary data, long and wide strings, the sub-object path, and the end marks
    std::unique_ptr<TProbe> q(Filled());
    TMemoryStream full;
    full.WriteComponent(q.get());
    std::string e = "TPF0" + Short("TProbe") + Short("Probe1");
    e += Short("Small") + "\x02" + Le(std::uint8_t(-100), 1);
    e += Short("Word") + "\x03" + Le(std::uint16_t(-30000), 2);
    e += Short("Long") + "\x04" + Le(70000, 4);
    e += Short("Huge") + "\x13" + Le(std::uint64_t(1) << 40, 8);
    unsigned char ext[10];
    DoubleToExtended(q->Ext, ext);
    e += Short("Ext") + "\x05" + std::string(reinterpret_cast<char*>(ext), 10);
    e += Short("Sng") + "\x0f" + Le(0x3E800000u, 4);
    e += Short("Cur") + "\x10" + Le(123456, 8);
    e += Short("Short") + "\x06" + Short("short text");
    e += Short("LongText") + "\x0c" + Le(301, 4) + q->LongText;
    e += Short("Wide") + "\x12" + Le(q->Wide.size(), 4);
    for (char16_t c : q->Wide) e += Le(c, 2);
    e += Short("Styles") + "\x0b" + Short("fsBold") + Short("fsUnderline") + std::string(1, '\0');
    e += Short("Shade") + "\x07" + Short("shDark");
    e += Short("Flag") + "\x09";
    e += Short("Other") + "\x08";
    e += Short("Colour") + "\x07" + Short("clRed");
    e += Short("Font.Size") + "\x02\x0c";
    e += Short("Font.Name") + "\x06" + Short("Sans");
    e += Short("Lines.Strings") + "\x01" + "\x06" + Short("one") + "\x06" + Short("two, three") + std::string(1, '\0');
    e += Short("Items") + "\x0e";
    e += "\x01" + Short("Value") + "\x02\x05" + Short("Caption") + "\x06" + Short("first") + std::string(1, '\0');
    e += "\x01" + Short("Value") + "\x02" + Le(std::uint8_t(-7), 1) + std::string(1, '\0');
    e += std::string(1, '\0');
    e += Short("Margins") + "\x01" + "\x02\x0f" + "\x02\x14" + "\x03" + Le(300, 2) + "\x02\xff" + std::string(1, '\0');
    e += Short("Blob") + "\x0a" + Le(8, 4) + q->Blob;
    e += std::string(2, '\0');
    EXPECT_EQ(full.DataString(), e);
}

TEST(Streaming, DefaultsAndEmptyValuesAreNotWritten)
{
    TProbe p;
    TMemoryStream m;
    m.WriteComponent(&p);
    // only the properties without a default: the integers, the set, the Booleans, the colour,
    // and the collection
    const std::string expected = "TPF0" + Short("TProbe") + Short("") + Short("Small") + "\x02\x00"s + Short("Word") +
                                 "\x02\x00"s + Short("Long") + "\x02\x00"s + Short("Styles") + "\x0b" + std::string(1, '\0') + Short("Flag") + "\x08" + Short("Other") +
                                 "\x09" + Short("Colour") + "\x07" + Short("clBlack") + Short("Items") + "\x0e" +
                                 std::string(1, '\0') + std::string(2, '\0');
    EXPECT_EQ(m.DataString(), expected);
}

TEST(Streaming, ChildrenAreMadeFromTheirRegisteredClass)
{
    RegisterClass("TPoint2", [](TComponent* owner) { return new TPoint2(owner); });
    TBox box;
    box.SetName("Box");
    auto* a = new TPoint2(&box);
    a->SetName("A");
    a->X = 3;
    auto* b = new TPoint2(&box);
    b->SetName("B");
    b->Text = "bee";
    TMemoryStream m;
    m.WriteComponent(&box);
    m.SetPosition(0);
    TBox copy;
    m.ReadComponent(&copy);
    ASSERT_EQ(copy.ComponentCount(), 2);
    auto* ca = dynamic_cast<TPoint2*>(copy.FindComponent("A"));
    auto* cb = dynamic_cast<TPoint2*>(copy.FindComponent("B"));
    ASSERT_TRUE(ca && cb);
    EXPECT_EQ(ca->X, 3);
    EXPECT_EQ(cb->Text, "bee");

    // a class nobody registered
    TMemoryStream other("TPF0" + Short("TBox") + Short("") + std::string(1, '\0') + Short("TNobody") + Short("") +
                        std::string(4, '\0'));
    TBox target;
    EXPECT_THROW(other.ReadComponent(&target), EClassNotFound);
}

TEST(Streaming, LoadedRunsAfterTheWholeStream)
{
    struct TLate : TPoint2 {
        using TPoint2::TPoint2;
        bool wasLoading = false;
        int seenX = -1;
        void Loaded() override { seenX = X; }
        void GetPublished(TPropertyList& L) override
        {
            TPoint2::GetPublished(L);
            L.Integer("Probe", [this] { return 0; },
                      [this](std::int64_t) { wasLoading = ComponentState() & csLoading; });
        }
    };
    TPoint2 p;
    p.X = 9;
    TMemoryStream m;
    m.WriteComponent(&p);
    std::string d = m.DataString();
    // the same stream read into a class of another name is refused
    TLate late;
    m.SetPosition(0);
    EXPECT_THROW(m.ReadComponent(&late), EReadError);
    d.replace(4, 8, Short("TLate"));
    d.insert(d.size() - 2, Short("Probe") + "\x02\x01");
    TMemoryStream m2(d);
    m2.ReadComponent(&late);
    EXPECT_TRUE(late.wasLoading);
    EXPECT_EQ(late.seenX, 9);
    EXPECT_FALSE(late.ComponentState() & TComponent::csLoading);
}

// A failed read leaves no component loading: neither when the stream breaks off after
// some children were read, nor when one child's Loaded throws before the later ones
// were reached. The reader is usable again afterwards.
TEST(Streaming, AFailedReadLeavesNothingLoading)
{
    struct TFussy : TPoint2 {
        using TPoint2::TPoint2;
        int loadedCalls = 0;
        void Loaded() override
        {
            ++loadedCalls;
            if (Text == "fail") throw base::Exception("refused");
        }
    };
    RegisterClass("TFussy", [](TComponent* owner) { return new TFussy(owner); });
    auto loading = [](TComponent* c) { return (c->ComponentState() & TComponent::csLoading) != 0; };

    TBox box;
    box.SetName("Box");
    for (const char* name : {"A", "B", "C"}) {
        auto* f = new TFussy(&box);
        f->SetName(name);
        f->X = 1;
    }
    dynamic_cast<TFussy*>(box.FindComponent("B"))->Text = "fail";
    TMemoryStream m;
    m.WriteComponent(&box);
    const std::string whole = m.DataString();

    {
        SCOPED_TRACE("a child's Loaded throws");
        TBox copy;
        TMemoryStream in(whole);
        EXPECT_THROW(in.ReadComponent(&copy), base::Exception);
        ASSERT_EQ(copy.ComponentCount(), 3);
        EXPECT_FALSE(loading(&copy));
        for (int i = 0; i < copy.ComponentCount(); ++i) EXPECT_FALSE(loading(copy.Components(i))) << i;
    }
    {
        SCOPED_TRACE("the stream breaks off after the first child");
        const std::size_t second = whole.find(Short("TFussy"), whole.find(Short("TFussy")) + 1);
        ASSERT_NE(second, std::string::npos);
        TBox copy;
        TMemoryStream in(whole.substr(0, second + 3));
        EXPECT_THROW(in.ReadComponent(&copy), EReadError);
        EXPECT_FALSE(loading(&copy));
        for (int i = 0; i < copy.ComponentCount(); ++i) EXPECT_FALSE(loading(copy.Components(i))) << i;
    }
    {
        SCOPED_TRACE("a good stream read next");
        dynamic_cast<TFussy*>(box.FindComponent("B"))->Text = "fine";
        TMemoryStream good;
        good.WriteComponent(&box);
        good.SetPosition(0);
        TBox copy;
        good.ReadComponent(&copy);
        ASSERT_EQ(copy.ComponentCount(), 3);
        for (int i = 0; i < copy.ComponentCount(); ++i) {
            auto* f = dynamic_cast<TFussy*>(copy.Components(i));
            ASSERT_TRUE(f);
            EXPECT_EQ(f->loadedCalls, 1);
            EXPECT_FALSE(loading(f));
        }
    }
}

TEST(Streaming, BadStreamsRaiseReadErrors)
{
    std::unique_ptr<TProbe> p(Filled());
    TMemoryStream m;
    m.WriteComponent(p.get());
    const std::string good = m.DataString();
    // every cut of the stream
    for (std::size_t n = 0; n < good.size(); ++n) {
        TMemoryStream cut(good.substr(0, n));
        TProbe q;
        EXPECT_THROW(cut.ReadComponent(&q), EReadError) << n;
    }
    struct Case {
        const char* what;
        std::string data;
    };
    const std::string head = "TPF0" + Short("TPoint2") + Short("");
    const Case cases[] = {
        {"signature", "TPF1" + Short("TPoint2") + Short("") + std::string(2, '\0')},
        {"unknown property", head + Short("Z") + "\x02\x01" + std::string(2, '\0')},
        {"wrong value type", head + Short("X") + "\x06" + Short("1") + std::string(2, '\0')},
        {"bad Boolean", head + Short("On") + "\x07" + Short("Maybe") + std::string(2, '\0')},
        {"unknown value type", head + Short("X") + "\x40" + std::string(2, '\0')},
        {"long string past the end", head + Short("Text") + "\x0c" + Le(0x7fffffff, 4) + "ab"},
        {"negative length", head + Short("Text") + "\x0c" + Le(0xffffffff, 4) + std::string(2, '\0')},
        {"binary past the end", head + Short("Text") + "\x0a" + Le(1000, 4)},
        {"property path into nothing", head + Short("X.Y") + "\x02\x01" + std::string(2, '\0')},
    };
    for (const Case& c : cases) {
        TMemoryStream s(c.data);
        TPoint2 q;
        EXPECT_THROW(s.ReadComponent(&q), EReadError) << c.what;
    }
    // an integer too wide for its property
    {
        TProbe q;
        std::string d = "TPF0" + Short("TProbe") + Short("") + Short("Small") + "\x03" + Le(300, 2) + std::string(2, '\0');
        TMemoryStream s(d);
        EXPECT_THROW(s.ReadComponent(&q), EReadError);
    }
    // deeply nested lists in a defined property are cut off, not followed to the end
    {
        std::string d = "TPF0" + Short("TProbe") + Short("") + Short("Margins") + std::string(100000, '\x01');
        TMemoryStream s(d);
        TProbe q;
        EXPECT_THROW(s.ReadComponent(&q), EReadError);
    }
}

TEST(Streaming, MutatedStreamsNeverCrash)
{
    std::unique_ptr<TProbe> p(Filled());
    TMemoryStream m;
    m.WriteComponent(p.get());
    const std::string good = m.DataString();
    std::mt19937 rng(48);
    int refused = 0, read = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string d = good;
        for (int k = 0, n = 1 + int(rng() % 4); k < n; ++k) {
            const std::size_t at = rng() % d.size();
            switch (rng() % 3) {
            case 0: d[at] = char(rng()); break;
            case 1: d.erase(at, 1 + rng() % 4); break;
            default: d.insert(at, 1, char(rng())); break;
            }
        }
        TMemoryStream s(d);
        TProbe q;
        try {
            s.ReadComponent(&q);
            ++read;
        } catch (const EReadError&) {
            ++refused;
        } catch (const base::EConvertError&) {
            ++refused;
        }
    }
    EXPECT_EQ(read + refused, 3000);
    EXPECT_GT(refused, 0);
}

TEST(Streaming, GraphicsTravelAsTheirData)
{
    class THolder : public TComponent {
    public:
        TBitmap Bitmap;
        TPicture Picture;
        TIcon Icon;
        void GetPublished(TPropertyList& L) override
        {
            L.Object("Bitmap", [this] { return &Bitmap; });
            L.Object("Picture", [this] { return &Picture; });
            L.Object("Icon", [this] { return &Icon; });
        }
    };
    THolder h;
    h.Bitmap.SetSize(3, 2);
    h.Bitmap.SetPixelFormat(pf32bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) h.Bitmap.ScanLine(y)[x] = 0x40000000u * std::uint32_t(x) + 0x102030u * std::uint32_t(y + 1);
    h.Bitmap.SetTransparentColor(TColor(0x00123456));
    h.Picture.Bitmap()->SetSize(4, 4);
    h.Picture.Bitmap()->ScanLine(1)[2] = 0xFF00FF00u;
    TBitmap iconImage(16, 16), iconMask(16, 16);
    iconImage.Canvas()->Brush().SetColor(clRed);
    iconImage.Canvas()->FillRect(TRect{0, 0, 16, 16});
    h.Icon.SetHandle(CreateIconFromBitmaps(&iconImage, &iconMask));
    TMemoryStream m;
    m.WriteComponent(&h);
    EXPECT_NE(m.DataString().find(Short("Picture.Data") + "\x0a"), std::string::npos);
    EXPECT_NE(m.DataString().find(Short("Bitmap.TransparentColor") + "\x04" + Le(0x00123456, 4)), std::string::npos);
    m.SetPosition(0);
    THolder q;
    try {
        m.ReadComponent(&q);
    } catch (const EReadError& e) {
        FAIL() << e.what() << " at " << m.Position() << " of " << m.DataString();
    }
    ASSERT_EQ(q.Bitmap.Width(), 3);
    EXPECT_EQ(q.Bitmap.PixelFormat(), pf32bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(q.Bitmap.ScanLine(y)[x], h.Bitmap.ScanLine(y)[x]) << x << "," << y;
    EXPECT_EQ(q.Bitmap.TransparentMode(), tmFixed);
    EXPECT_EQ(q.Bitmap.TransparentColor(), TColor(0x00123456));
    ASSERT_NE(dynamic_cast<TBitmap*>(q.Picture.Graphic()), nullptr);
    EXPECT_EQ(q.Picture.Bitmap()->ScanLine(1)[2] & 0xFFFFFFu, 0x00FF00u);
    ASSERT_FALSE(q.Icon.Empty());
    EXPECT_EQ(q.Icon.Width(), 16);
}

// A memory stream that cannot be saved says why after the file name, and the old file stays.
TEST(Streaming, MemoryStreamSaveFailureGivesTheSystemsReason)
{
    testsupport::TempDir d("memsave");
    const std::string f = d.file("locked.bin");
    ASSERT_TRUE(base::WriteFileAtomic(f, "old"));
    ASSERT_EQ(::chmod(f.c_str(), 0444), 0);
    TMemoryStream m;
    m.Write("new", 3);
    try {
        m.SaveToFile(f);
        ADD_FAILURE() << "saved";
    } catch (const base::EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + f + ". Cannot write \"" + f + "\": the file is read-only");
    }
    std::string back;
    ASSERT_TRUE(base::ReadFile(f, back));
    EXPECT_EQ(back, "old");
}

namespace {

// Floats whose starting values are not 0: each declares its value as its default.
class TFloatProbe : public TComponent {
public:
    using TComponent::TComponent;
    double End = 100, Scale = 1.5, Plain = 0;
    void GetPublished(TPropertyList& L) override
    {
        TComponent::GetPublished(L);
        L.Float("End", End).SetFloatDefault(100);
        L.Float("Scale", Scale, ftSingle).SetFloatDefault(1.5);
        L.Float("Plain", Plain);
    }
};

}  // namespace

TEST(Streaming, AFloatIsWrittenWhenItLeavesItsDefault)
{
    struct Case {
        const char* what;
        double end, scale, plain;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"all at their defaults", 100, 1.5, 0, {}},
        {"zero where the default is not", 0, 0, 0, {"End", "Scale"}},
        {"negative zero differs from zero", 100, 1.5, -0.0, {"Plain"}},
        {"moved values", 25, 2.5, 7, {"End", "Scale", "Plain"}},
        {"the default of one is no default of another", 1.5, 100, 100, {"End", "Scale", "Plain"}},
    };
    for (const Case& c : cases) {
        TFloatProbe p;
        p.End = c.end;
        p.Scale = c.scale;
        p.Plain = c.plain;
        TMemoryStream m;
        m.WriteComponent(&p);
        for (const char* name : {"End", "Scale", "Plain"}) {
            const bool want = std::find(c.written.begin(), c.written.end(), name) != c.written.end();
            EXPECT_EQ(m.DataString().find(Short(name)) != std::string::npos, want) << c.what << ": " << name;
        }
        TFloatProbe back;
        back.Plain = 42;  // what is not written stays as it was
        m.SetPosition(0);
        m.ReadComponent(&back);
        EXPECT_EQ(back.End, c.end) << c.what;
        EXPECT_EQ(back.Scale, c.scale) << c.what;
        EXPECT_EQ(std::signbit(back.End), std::signbit(c.end)) << c.what;
        if (std::find(c.written.begin(), c.written.end(), "Plain") != c.written.end()) {
            EXPECT_EQ(back.Plain, c.plain) << c.what;
            EXPECT_EQ(std::signbit(back.Plain), std::signbit(c.plain)) << c.what;
        } else {
            EXPECT_EQ(back.Plain, 42) << c.what;
        }
    }
}
