#pragma once
// The components the program's windows are built from. Where the system's own component
// is not ready yet, the nearest platform control stands in; switching is one line here.
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/PageControl.h"
#include "platform/controls/TreeView.h"

#include <string>

namespace app {

using TAppPageControl = platform::TPageControl;  // the owner-drawn page control
using TAppTabSheet = platform::TTabSheet;
using TAppPanel = platform::TPanel;              // the captioned panel
using THullTree = platform::TTreeView;           // the property tree

}  // namespace app

namespace app {

// The text a tree node shows for its mini-HTML text (the stand-in tree shows plain text).
std::string TreeNodeText(const std::string& html);

}  // namespace app
