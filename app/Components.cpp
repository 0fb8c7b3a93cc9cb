#include "app/Components.h"

#include "widgets/frame/ExPageControl.h"

namespace app {

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
