#include "widgets/html/WinXP.h"

#include "base/Exception.h"
#include "platform/forms/Forms.h"

namespace html {

TWinXP::TWinXP(platform::TComponent* AOwner) : platform::TComponent(AOwner)
{
    if (!dynamic_cast<platform::TCustomForm*>(AOwner)) throw base::Exception("Control parent must be a form!");
    int count = 0;
    for (int i = 0; i < AOwner->ComponentCount(); ++i)
        if (dynamic_cast<TWinXP*>(AOwner->Components(i))) ++count;
    if (count > 1) throw base::Exception("Only one instance of TWinXP allowed on form");
}

}  // namespace html
