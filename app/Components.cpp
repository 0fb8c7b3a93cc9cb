#include "app/Components.h"

#include "platform/controls/Menus.h"
#include "widgets/frame/ExPageControl.h"

namespace app {

platform::TMenuItem* AddMenuItem(platform::TComponent* owner, platform::TMenuItem* parent, const std::string& caption,
                                 platform::TNotifyEvent click, unsigned short shortCut)
{
    auto* m = new platform::TMenuItem(owner);
    m->SetCaption(caption);
    m->SetShortCut(shortCut);
    m->OnClick = std::move(click);
    parent->Add(m);
    return m;
}

TAppTabSheet* AddSheet(platform::TComponent* owner, TAppPageControl* pages, const std::string& name,
                       const std::string& caption)
{
    auto* sheet = new TAppTabSheet(owner);
    sheet->SetName(name);
    sheet->SetExPageControl(pages);
    sheet->SetCaption(caption);
    return sheet;
}

}  // namespace app
