// The typed edit's value and text: SetText, SetFloat, GetFloat and GetInt by type,
// prefix, suffix and precision; focus in and out; validation and states.
#include "EditFixture.h"

#include <vector>

#include "platform/controls/ExtCtrls.h"
#include "platform/system/Clipboard.h"
#include "widgets/edit/ExEditText.h"
#include "widgets/edit/ExInputQuery.h"
#include "platform/system/Shell.h"
#include "platform/system/Thread.h"

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

// Enter and Escape reach the parent: with the forwarding flag on (the default) through the
// special-key query (Escape after an undo; Enter while the parent holds the focus and the
// form previews no keys), with it off from the character handler.
TEST_F(EditTest, SpecialKeysAreForwardedToTheParent)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(150, 150, 200, 60);
    auto* ed = new TExEdit(form);
    ed->SetParent(panel);
    ed->SetBounds(5, 5, 100, 21);
    std::vector<std::string> got;
    const TControl::TWndMethod previous = panel->WindowProc;
    panel->WindowProc = [&got, previous](TMessage& m) {
        if (m.Msg == WM_KEYDOWN) got.push_back(m.WParam == VK_ESCAPE ? "esc" : m.WParam == VK_RETURN ? "enter" : "?");
        previous(m);
    };
    auto posted = [&] {
        Application->ProcessMessages();
        std::vector<std::string> out;
        out.swap(got);
        return out;
    };
    ed->SetText("keep");
    ed->SetFocus();
    ed->SetSelStart(4);
    Type("s", ed);
    SendKey(ed, VK_ESCAPE);
    EXPECT_EQ(ed->Text(), "keep");
    EXPECT_EQ(posted(), std::vector<std::string>{"esc"});  // after the undo
    // Enter only while the parent holds the focus, and not when the form previews keys.
    SendKey(ed, VK_RETURN);
    EXPECT_TRUE(posted().empty());
    panel->SetFocus();
    ed->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0);
    EXPECT_EQ(posted(), std::vector<std::string>{"enter"});
    form->KeyPreview = true;
    ed->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0);
    EXPECT_TRUE(posted().empty());
    form->KeyPreview = false;
    // Off: the character handler posts both, Escape without an undo as well.
    ed->SpecialKeyForwarding = false;
    ed->SetCanUndo(false);
    ed->SetFocus();
    SendKey(ed, VK_RETURN);
    SendKey(ed, VK_ESCAPE);
    EXPECT_EQ(posted(), (std::vector<std::string>{"enter", "esc"}));
    panel->WindowProc = previous;
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

// The edit of the modal form that is showing, focused; nullptr while none shows.
TExEdit* QueryEdit()
{
    for (int i = 0; i < Application->ComponentCount(); ++i) {
        auto* f = dynamic_cast<TForm*>(Application->Components(i));
        if (!f || !f->Modal()) continue;
        for (int k = 0; k < f->ControlCount(); ++k)
            if (auto* ed = dynamic_cast<TExEdit*>(f->Controls(k))) {
                ed->SetFocus();
                return ed;
            }
    }
    return nullptr;
}

TEST_F(EditTest, InputQueryGivesTheValueWithoutPrefixAndSuffix)
{
    // Types into the dialog's edit once it shows, then presses Enter for OK.
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        TExEdit* ed = QueryEdit();
        if (!ed) return;
        timer.SetEnabled(false);
        for (char ch : std::string("2.5")) SendChar(ed, ch);
        SendKey(ed, VK_RETURN);
    };
    TQueryParams params;
    params.Precision = 2;
    params.Suffix = " m";
    std::string value = "";
    ASSERT_TRUE(ExInputQuery(etFloat, &params, "Draught", "Start draught", value));
    EXPECT_EQ(value, "2.50");  // formatted as the edit left it, without the suffix
    timer.SetEnabled(true);
    timer.OnTimer = [&](TObject*) {
        TExEdit* ed = QueryEdit();
        if (!ed) return;
        timer.SetEnabled(false);
        SendKey(ed, VK_ESCAPE);
    };
    value = "7";
    EXPECT_FALSE(ExInputQuery(etFloat, &params, "Draught", "Start draught", value));
    EXPECT_EQ(value, "7");
}

TEST_F(EditTest, LinksLookAndOpen)
{
    std::vector<std::string> opened;
    SetShellExecuteHookForTesting([&](const std::string& verb, const std::string& file) {
        opened.push_back(verb + " " + file);
        return true;
    });
    e->Font()->SetColor(clBlack);
    e->Init();
    e->SetShowURL(true);
    e->SetFocus();
    Type("www");
    EXPECT_FALSE(e->TestURL());
    Type(".");
    EXPECT_EQ(e->Font()->Color(), clBlue);
    EXPECT_TRUE(e->Font()->Style() & fsUnderline);
    SendChar(e, 8);
    EXPECT_EQ(e->Font()->Color(), clBlack);
    e->SetText("http://example.org");
    e->SelectAll();
    EXPECT_EQ(e->SelStart(), 7);  // after "://"
    bool asked = false;
    e->OnURLClick = [&](TObject*, const std::string& url, bool& show) {
        asked = url == "http://example.org";
        show = true;
    };
    SendMouse(e, WM_LBUTTONDOWN, 10, 5);
    SendMouse(e, WM_LBUTTONUP, 10, 5);
    EXPECT_TRUE(asked);
    EXPECT_EQ(opened, (std::vector<std::string>{"open http://example.org"}));
    SetShellExecuteHookForTesting(nullptr);
}

}  // namespace
