#pragma once
// Menu tests on a form fixture: items that log their clicks; open menus closed after each test.
#include <string>
#include <vector>

#include "platform/controls/Menus.h"

template <class Base>
struct MenuItemsFixture : Base {
    std::vector<std::string> log;
    platform::TMenuItem* Item(platform::TMenuItem* parent, const std::string& caption, platform::TShortCut sc = 0)
    {
        auto* item = new platform::TMenuItem(this->form);
        item->SetCaption(caption);
        item->SetShortCut(sc);
        item->OnClick = [this, caption](platform::TObject*) { log.push_back(caption); };
        parent->Add(item);
        return item;
    }
    void TearDown() override
    {
        platform::CloseMenus();
        Base::TearDown();
    }
};
