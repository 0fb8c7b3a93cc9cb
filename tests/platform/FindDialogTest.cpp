// The modeless find and replace dialogs, driven through their buttons and fields.
#include <gtest/gtest.h>

#include "platform/TestRig.h"
#include "platform/controls/Edit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/FindDialog.h"
#include "platform/forms/Forms.h"

using namespace platform;

namespace {

template <class T>
T* Child(TForm* f, const std::string& caption)
{
    for (int i = 0; i < f->ControlCount(); ++i)
        if (auto* c = dynamic_cast<T*>(f->Controls(i)); c && c->Caption() == caption) return c;
    return nullptr;
}

}  // namespace

TEST(FindDialog, ShowsModelessWithTheTextAndOptionsAndRaisesFind)
{
    EnsurePlatform();
    TComponent owner(nullptr);
    TFindDialog d(&owner);
    d.SetFindText("keel");
    d.SetOptions(frDown | frMatchCase);
    int finds = 0, closes = 0;
    TFindOptions seen = 0;
    d.OnFind = [&](TObject*) {
        ++finds;
        seen = d.Options();
    };
    d.OnClose = [&](TObject*) { ++closes; };
    d.SetPosition({40, 50});
    EXPECT_TRUE(d.Execute());
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(d.Form()->Left(), 40);
    EXPECT_EQ(d.Form()->Top(), 50);
    EXPECT_EQ(d.FindText(), "keel");
    auto* whole = Child<TCheckBox>(d.Form(), "Match &whole word only");
    auto* up = Child<TRadioButton>(d.Form(), "&Up");
    ASSERT_TRUE(whole && up);
    EXPECT_TRUE(Child<TCheckBox>(d.Form(), "Match &case")->Checked());
    whole->SetChecked(true);
    up->SetChecked(true);
    Child<TButton>(d.Form(), "&Find Next")->Click();
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(seen & (frDown | frMatchCase | frWholeWord | frFindNext), frMatchCase | frWholeWord | frFindNext);
    Child<TButton>(d.Form(), "Cancel")->Click();
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(d.Options() & frDialogTerm);
}

TEST(FindDialog, ReplaceButtonsSetTheirOptionAndHideOptionsHide)
{
    EnsurePlatform();
    TComponent owner(nullptr);
    TReplaceDialog d(&owner);
    d.SetFindText("a");
    d.SetReplaceText("b");
    d.SetOptions(frDown | frHideWholeWord);
    std::vector<TFindOptions> got;
    d.OnReplace = [&](TObject*) { got.push_back(d.Options() & (frReplace | frReplaceAll | frFindNext)); };
    d.Execute();
    EXPECT_FALSE(Child<TCheckBox>(d.Form(), "Match &whole word only")->Visible());
    EXPECT_EQ(d.ReplaceText(), "b");
    Child<TButton>(d.Form(), "&Replace")->Click();
    Child<TButton>(d.Form(), "Replace &All")->Click();
    EXPECT_EQ(got, (std::vector<TFindOptions>{frReplace, frReplaceAll}));
    d.CloseDialog();
    EXPECT_FALSE(d.Visible());
}
