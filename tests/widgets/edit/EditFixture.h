#pragma once
// A typed edit on a form on the off-screen platform.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/StrUtils.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "widgets/edit/ExEdit.h"

namespace edittest {

// Saves a painted control for a person to look at, when KORVELO_LOOK_DIR names a folder.
inline void LookAt(const platform::TBitmap& bmp, const std::string& name)
{
    if (const char* dir = std::getenv("KORVELO_LOOK_DIR")) bmp.SaveToFile(std::string(dir) + "/" + name + ".bmp");
}

class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::EnsurePlatform();
        base::SetDecimalSeparator('.');
        base::SetThousandSeparator(',');
        form = platform::Construct<platform::TForm>(platform::Application);
        form->SetBounds(100, 100, 400, 300);
        e = New(10, 40);
        other = new platform::TEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 200, 100, 22);
        form->Show();
    }
    void TearDown() override
    {
        platform::SetSimulatedShiftState(-1);
        form->Free();
    }
    edit::TExEdit* New(int x, int y)
    {
        auto* ed = new edit::TExEdit(form);
        ed->SetParent(form);
        ed->SetBounds(x, y, 129, 21);
        return ed;
    }
    void Type(const std::string& s, edit::TExEdit* target = nullptr)
    {
        for (char c : s) platform::SendChar(target ? target : e, c);
    }
    void Key(platform::Word vk, platform::TShiftState shift = 0) { platform::SendKey(e, vk, shift); }
    void Caret(int pos) { e->SetSelStart(pos); }

    platform::TForm* form = nullptr;
    edit::TExEdit* e = nullptr;
    platform::TEdit* other = nullptr;
};

}  // namespace edittest
