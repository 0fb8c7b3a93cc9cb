#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/Exception.h"
#include "platform/forms/Forms.h"
#include "widgets/html/SysMon.h"
#include "widgets/html/WinXP.h"

using namespace html;

namespace {

std::string Refusal(platform::TComponent* owner)
{
    try {
        new TWinXP(owner);
    } catch (const base::Exception& e) {
        return e.Message();
    }
    return "";
}

TEST(WinXP, OneMarkerPerForm)
{
    std::unique_ptr<platform::TForm> form(new platform::TForm(nullptr));
    auto* first = new TWinXP(form.get());
    EXPECT_EQ(first->Owner(), form.get());
    const int before = form->ComponentCount();
    EXPECT_EQ(Refusal(form.get()), "Only one instance of TWinXP allowed on form");
    EXPECT_EQ(form->ComponentCount(), before);  // the refused one is gone again
    // Other components do not count.
    new TSysMon(form.get());
    EXPECT_EQ(Refusal(form.get()), "Only one instance of TWinXP allowed on form");

    // Each form may hold its own.
    std::unique_ptr<platform::TForm> second(new platform::TForm(nullptr));
    EXPECT_NO_THROW(new TWinXP(second.get()));
}

TEST(WinXP, OwnerMustBeAForm)
{
    EXPECT_EQ(Refusal(nullptr), "Control parent must be a form!");
    platform::TComponent plain;
    EXPECT_EQ(Refusal(&plain), "Control parent must be a form!");
    EXPECT_EQ(plain.ComponentCount(), 0);
    std::unique_ptr<platform::TForm> form(new platform::TForm(nullptr));
    platform::TCustomControl control(form.get());
    EXPECT_EQ(Refusal(&control), "Control parent must be a form!");
    EXPECT_EQ(control.ComponentCount(), 0);
}

}  // namespace
