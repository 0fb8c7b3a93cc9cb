#pragma once
// The components the program's windows are built from, named once here so that a
// change of component is one line.
#include <string>

#include "platform/Classes.h"

namespace platform {
class TPanel;
class TComponent;
class TWinControl;
class TMenuItem;
}  // namespace platform
namespace frame {
class TExPageControl;
class TExTabSheet;
class TExPanel;
}  // namespace frame
namespace edit {
class TParamTree;
}

namespace app {

using TAppPageControl = frame::TExPageControl;
using TAppTabSheet = frame::TExTabSheet;
using TAppPanel = platform::TPanel;      // a plain panel
using TCaptionPanel = frame::TExPanel;   // the panel with a caption bar
using THullTree = edit::TParamTree;

// A new component of the window, named, on parent (none: not shown yet).
template <class T>
T* MakeControl(platform::TComponent* owner, platform::TWinControl* parent, const std::string& name)
{
    T* c = new T(owner);
    c->SetName(name);
    if (parent) c->SetParent(parent);
    return c;
}

// A new menu item at the end of parent's items.
platform::TMenuItem* AddMenuItem(platform::TComponent* owner, platform::TMenuItem* parent, const std::string& caption,
                                 platform::TNotifyEvent click = {}, unsigned short shortCut = 0);

// A new sheet with that caption at the end of the pages.
TAppTabSheet* AddSheet(platform::TComponent* owner, TAppPageControl* pages, const std::string& name,
                       const std::string& caption);

}  // namespace app
