#include "widgets/edit/EditLayout.h"

#include <algorithm>

#include "platform/controls/Edit.h"

namespace edit {

using namespace platform;

void SetTextArea(TCustomEdit* e, int left, int top, int rightGap)
{
    if (!e->HandleAllocated()) return;
    const TRect r = Rect(left, top, e->ClientWidth() - rightGap, e->ClientHeight() + 1);
    e->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int EditMinHeight(TCustomEdit* e)
{
    TCanvas* c = e->Canvas();
    TFont screenFont;
    c->Font().Assign(screenFont);
    const int h0 = c->TextHeight("Wg");
    c->Font().Assign(*e->Font());
    const int h = c->TextHeight("Wg");
    return h + std::min(h0, h) / 4;
}

}  // namespace edit
