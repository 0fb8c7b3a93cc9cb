// The masked typed edit: completion, Enter as Tab, focus colours, flat look, label.
#include "EditFixture.h"

#include "platform/controls/StdCtrls.h"
#include "widgets/edit/ExMaskEdit.h"

using namespace edit;
using namespace platform;
using edittest::EditTest;

namespace {

class MaskEditTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        m = new TExMaskEdit(form);
        m->SetParent(form);
        m->SetBounds(150, 40, 120, 22);
        m->SetEditMask("00-00;1;_");
    }
    TExMaskEdit* m = nullptr;
};

TEST_F(MaskEditTest, AFilledMaskRaisesCompletionAndTabsOn)
{
    EXPECT_EQ(m->GetVersion(), "2.6.2.1");
    std::vector<std::string> completed;
    bool accept = false;
    m->OnMaskComplete = [&](TObject*, const std::string& v, bool& a) {
        completed.push_back(v);
        a = accept;
    };
    m->SetFocus();
    m->SetSelStart(0);
    for (char c : std::string("123")) HostKey(m, Word(c));
    EXPECT_TRUE(completed.empty());  // a blank is left
    HostKey(m, '4');
    EXPECT_EQ(completed, std::vector<std::string>{"12-34"});
    Application->ProcessMessages();
    EXPECT_TRUE(m->Focused());  // refused: no Tab
    accept = true;
    m->SetSelStart(4);
    HostKey(m, '5');
    ASSERT_TRUE(ProcessUntil([&] { return !m->Focused(); }));  // the posted Tab moved the focus on
    EXPECT_EQ(m->Text(), "12-35");
}

// Completion is every required place filled, whatever the mask saves: a mask without its
// literals, and one with a literal blank, complete only when filled.
TEST_F(MaskEditTest, CompletionWaitsForEveryRequiredPlace)
{
    struct Case {
        const char* mask;
        std::vector<Word> keys;
        std::vector<std::string> completed;
    } cases[] = {
        {"000;0;_", {'4', VK_RIGHT, VK_RIGHT}, {}},
        {"000;0;_", {'4', '5', '6'}, {"456"}},
        {"00 00;1;_", {'1', '2', '3', '4'}, {"12 34"}},
        {"00 99;0;_", {'1', '2'}, {}},  // the caret stands before the optional places
        {"00 99;0;_", {'1', '2', VK_END}, {"12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        m->SetEditMask(c.mask);
        m->SetText("");
        std::vector<std::string> completed;
        m->AutoTab = false;
        m->OnMaskComplete = [&](TObject*, const std::string& v, bool&) { completed.push_back(v); };
        m->SetFocus();
        m->SetSelStart(0);
        for (Word k : c.keys) HostKey(m, k);
        EXPECT_EQ(completed, c.completed);
    }
}

TEST_F(MaskEditTest, EnterIsTabAndEscapeUndoesWhenAligned)
{
    m->SetFocus();
    HostKey(m, VK_RETURN);
    ASSERT_TRUE(ProcessUntil([&] { return !m->Focused(); }));
    m->ReturnIsTab = false;
    m->SetAlignement(taRightJustify);
    m->CanUndo = true;
    m->SetFocus();
    m->SetEditText("11-22");
    HostKey(m, VK_ESCAPE);
    EXPECT_EQ(m->EditText(), "__-__");  // the text it had when it took the focus
}

TEST_F(MaskEditTest, FocusColoursModifiedColourAndFirstCharacter)
{
    m->SetColor(clYellow);
    m->FocusColor = clAqua;
    m->FocusFontColor = clNavy;
    m->SelectFirstChar = true;
    m->AutoSelect = false;
    m->SetFocus();
    EXPECT_EQ(m->Color(), clAqua);
    EXPECT_EQ(m->Font()->Color(), clNavy);
    EXPECT_EQ(m->SelStart(), 0);
    EXPECT_EQ(m->SelLength(), 1);
    other->SetFocus();
    EXPECT_EQ(m->Color(), clYellow);
    m->ShowModified = true;
    m->SetModifiedFlag(true);
    EXPECT_EQ(m->Font()->Color(), m->ModifiedColor);
    EXPECT_TRUE(m->GetModified());
    m->SetModifiedFlag(false);
    EXPECT_FALSE(m->GetModified());
}

TEST_F(MaskEditTest, FlatLookLabelAndDisabledState)
{
    m->SetLabelCaption("Code");
    m->SetLabelPosition(lpTopLeft);
    ASSERT_NE(m->Label(), nullptr);
    EXPECT_EQ(m->Label()->Left(), m->Left());
    EXPECT_LT(m->Label()->Top(), m->Top());
    m->SetEnabled(false);
    EXPECT_FALSE(m->Label()->Enabled());
    EXPECT_EQ(m->Color(), m->DisabledColor());
    m->SetEnabled(true);
    EXPECT_TRUE(m->Label()->Enabled());
    form->SetColor(clLime);
    m->SetFlat(true);
    EXPECT_EQ(m->Color(), clLime);  // the parent's colour
    EXPECT_EQ(m->BorderStyle(), bsNone);
    m->SetFlatLineColor(clRed);
    auto bmp = PaintToBitmap(m);
    EXPECT_EQ(bmp->Canvas()->Pixel(m->Width() / 2, m->Height() - 1), ColorToRGB(clRed));  // the underline
    m->SetFlat(false);
    EXPECT_EQ(m->Color(), clWindow);
    EXPECT_EQ(m->BorderStyle(), bsSingle);
}

}  // namespace
