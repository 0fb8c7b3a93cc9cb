#include "app/DialogControls.h"

#include "app/Components.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"

using namespace platform;

namespace app {

void SetupToolDialog(TForm& form, const std::string& name, const std::string& caption, int width, int height)
{
    form.SetName(name);
    form.SetCaption(caption);
    form.SetBorderStyle(bsToolWindow);
    form.SetFormStyle(fsStayOnTop);
    form.SetBounds(320, 240, width, height);
    form.SetClientWidth(width);
    form.SetClientHeight(height);
}

namespace {
template <class T>
T* Placed(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption, TRect r)
{
    T* c = MakeControl<T>(owner, parent, name);
    c->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    c->SetCaption(caption);
    return c;
}
}  // namespace

TButton* MakeButton(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption,
                    TRect bounds, TNotifyEvent click)
{
    auto* b = Placed<TButton>(owner, parent, name, caption, bounds);
    b->OnClick = std::move(click);
    return b;
}

TCheckBox* MakeCheckBox(TComponent* owner, TWinControl* parent, const std::string& name, const std::string& caption,
                        TRect bounds, TNotifyEvent click)
{
    auto* b = Placed<TCheckBox>(owner, parent, name, caption, bounds);
    b->OnClick = std::move(click);
    return b;
}

TRadioGroup* MakeRadioGroup(TComponent* owner, TWinControl* parent, const std::string& name,
                            const std::string& caption, const std::vector<std::string>& items, TRect bounds,
                            TNotifyEvent click)
{
    auto* g = Placed<TRadioGroup>(owner, parent, name, caption, bounds);
    for (const std::string& s : items) g->Items().Add(s);
    g->SetItemIndex(0);
    g->OnClick = std::move(click);
    return g;
}

}  // namespace app
