#include "app/Components.h"

#include "widgets/html/HtmlText.h"

namespace app {

std::string TreeNodeText(const std::string& html) { return html::HTMLStrip(html); }

}  // namespace app
