// The typed edit's value and text: SetText, SetFloat, GetFloat and GetInt by type,
// prefix, suffix and precision; focus in and out; validation and states.
#include "EditFixture.h"

#include <vector>

#include "platform/system/Clipboard.h"
#include "widgets/edit/ExEditText.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;

namespace {

TEST_F(EditTest, SetFloatRendersByTypePrecisionPrefixAndSuffix)
{
    const struct {
        TExEditType type;
        int precision;
        const char *prefix, *suffix;
        double x;
        const char* raw;
        double back;
    } cases[] = {
        {etFloat, 3, "", " m", 2.5, "2.500 m", 2.5},
        {etFloat, -1, "", "", 0.1, "0.1", 0.1},
        {etFloat, -1, "", "", 1.0 / 3, "0.333333333333333", 0.333333333333333},
        {etFloat, 2, "$ ", "", -1.5, "$ -1.50", -1.5},
        {etMoney, 2, "", "", -1.5, "-1.50", -1.5},
        {etMoney, 2, "", "", 1234567.25, "1,234,567.25", 1234567.25},
        {etHex, 0, "", "", 255.9, "FF", 255},
        {etHex, 0, "", "", 2.5, "2", 2},
        {etNumeric, 0, "", "", 12, "12", 12},
        {etNumeric, 0, "", "", 1000, "1000", 1000},  // no separators the type would refuse
        {etNumeric, 0, "", " pcs", -25000, "-25000 pcs", -25000},
        {etString, 0, "", "", 5, "", 0},
    };
    for (const auto& c : cases) {
        TExEdit* ed = New(10, 100);
        ed->SetEditType(c.type);
        ed->SetPrecision(c.precision);
        ed->SetPrefix(c.prefix);
        ed->SetSuffix(c.suffix);
        if (c.type == etString) ed->SetText("");
        ed->SetFloat(c.x);
        EXPECT_EQ(ed->Text(), c.raw) << c.raw;
        EXPECT_DOUBLE_EQ(ed->GetFloat(), c.back) << c.raw;
        EXPECT_TRUE(ed->GetModified());
        ed->Free();
    }
}

TEST_F(EditTest, SetTextChecksTheTypeAndFormats)
{
    const struct {
        TExEditType type;
        int precision;
        const char* in;
        const char* raw;
    } cases[] = {
        {etFloat, 3, "abc", "0.000"}, {etString, 0, "abc", "abc"},     {etFloat, 2, "1,234.5", "1234.50"},
        {etMoney, 2, "1234.5", "1,234.50"}, {etNumeric, 0, "12a", "0"}, {etNumeric, 0, "-5", "-5"},
        {etHex, 0, "ff", "FF"},        {etHex, 0, "fg", "0"},         {etFloat, 2, "1-2", "0.00"},
        {etFloat, 2, "", ""},
    };
    for (const auto& c : cases) {
        e->SetEditType(c.type);
        e->SetPrecision(c.precision);
        e->SetText(c.in);
        EXPECT_EQ(e->Text(), c.raw) << c.in;
        EXPECT_FALSE(e->GetModified());
        e->SetEditType(etString);
    }
}

TEST_F(EditTest, ReadsValuesAndStripsOnlyASuffixThatIsThere)
{
    e->SetEditType(etFloat);
    e->SetPrecision(2);
    e->SetSuffix(" m");
    e->SetText("2.25");
    EXPECT_EQ(e->GetText(), "2.25");
    // The suffix went missing: the value is still read whole.
    e->TCustomEdit::SetText("2.25");
    EXPECT_EQ(e->GetText(), "2.25");
    EXPECT_DOUBLE_EQ(e->GetFloat(), 2.25);
    const struct {
        TExEditType type;
        const char* raw;
        double f;
        int i;
    } cases[] = {{etMoney, "12.", 12, 12}, {etMoney, "-", 0, 0},       {etString, "5", 0, 0},  {etFloat, "3.9", 3.9, 3},
                 {etHex, "FF", 255, 255},  {etHex, "1G", 16, 16},      {etMoney, "1,234.5", 1234.5, 1234},
                 {etNumeric, "", 0, 0}};
    e->SetSuffix("");
    for (const auto& c : cases) {
        e->SetEditType(c.type);
        e->TCustomEdit::SetText(c.raw);
        EXPECT_DOUBLE_EQ(e->GetFloat(), c.f) << c.raw;
        EXPECT_EQ(e->GetInt(), c.i) << c.raw;
    }
}

TEST_F(EditTest, FocusOutFormatsAndFocusColoursComeAndGo)
{
    e->SetEditType(etFloat);
    e->SetPrecision(3);
    e->SetSuffix(" m");
    e->FocusColor = clYellow;
    e->SetColor(clWhite);
    e->SetFocus();
    EXPECT_EQ(e->Color(), clYellow);
    e->SetText("");
    Type("2.5");
    EXPECT_EQ(e->Text(), "2.5 m");
    other->SetFocus();
    EXPECT_EQ(e->Text(), "2.500 m");
    EXPECT_EQ(e->Color(), clWhite);
    e->SetFocus();
    e->SetText("");
    other->SetFocus();
    EXPECT_EQ(e->Text(), "0.000 m");
    e->SetEditType(etNumeric);
    e->SetSuffix("");
    e->TCustomEdit::SetText("");
    e->SetFocus();
    other->SetFocus();
    EXPECT_EQ(e->Text(), "0");
}

TEST_F(EditTest, ValidationSetsTheErrorColoursAndEscapeUndoes)
{
    e->ShowError = true;
    e->SetColor(clWhite);
    e->OnValueValidate = [](TObject*, const std::string& v, bool& ok) { ok = v != "bad"; };
    e->SetText("bad");
    EXPECT_TRUE(e->GetError());
    EXPECT_EQ(e->Color(), clRed);
    EXPECT_EQ(e->Font()->Color(), clWhite);
    e->SetText("good");
    EXPECT_FALSE(e->GetError());
    EXPECT_EQ(e->Color(), clWhite);
    // Escape brings back the text of focus-in.
    e->SetFocus();
    e->SetSelStart(4);
    Type("er");
    EXPECT_EQ(e->Text(), "gooder");
    EXPECT_TRUE(e->GetModified());
    Key(VK_ESCAPE);
    EXPECT_EQ(e->Text(), "good");
    EXPECT_FALSE(e->GetModified());
    e->SetCanUndo(false);
    Type("!");
    Key(VK_ESCAPE);
    EXPECT_NE(e->Text(), "good");
    e->SetEditType(etPassword);
    e->SetCanUndo(true);
    EXPECT_FALSE(e->CanUndo());
}

TEST_F(EditTest, ShowsModifiedAndVersion)
{
    e->ShowModified = true;
    e->Font()->SetColor(clBlack);
    e->Init();  // takes the font colour as the normal one
    e->SetText("a");
    e->SetFocus();
    e->SetSelStart(1);
    Type("b");
    EXPECT_TRUE(e->GetModified());
    EXPECT_EQ(e->Font()->Color(), clHighlight);
    e->SetModified(false);
    EXPECT_EQ(e->Font()->Color(), clBlack);
    EXPECT_EQ(e->GetVersion(), "2.6.2.1");
}

TEST_F(EditTest, EditTypeAndPrecisionChangesResetWhatNoLongerFits)
{
    e->SetText("abc");
    e->SetEditType(etFloat);
    EXPECT_EQ(e->Text(), "0");
    e->SetPrecision(2);
    EXPECT_EQ(e->Text(), "0.00");
    e->SetText("3.14159");
    EXPECT_EQ(e->Text(), "3.14");
    e->SetPrecision(4);
    EXPECT_EQ(e->Text(), "3.1400");
    e->SetEditType(etHex);
    EXPECT_EQ(e->Text(), "0");
    e->SetEditType(etNumeric);
    e->SetPrecision(3);  // only floats and money keep decimals
    EXPECT_EQ(e->Precision(), 4);
}

TEST_F(EditTest, RangeTextAndStoredText)
{
    TRangeList list;
    e->SetEditType(etRange);
    e->SetText("8,1,3-5");
    EXPECT_TRUE(e->RangeStrToList(list));
    e->ListToRangeStr(list);
    EXPECT_EQ(e->Text(), "1,3-5,8");
    e->ListToRangeStr(TRangeList());
    EXPECT_EQ(e->Text(), "");
}

}  // namespace
