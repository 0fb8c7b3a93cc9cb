#include "platform/system/Beep.h"

#include <QApplication>

namespace platform {

namespace {
TBeepHook gBeepHook;
}

bool MessageBeep(UINT type)
{
    if (gBeepHook) gBeepHook(type);
    else if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
    return true;
}

TBeepHook SetBeepHook(TBeepHook hook)
{
    TBeepHook old = std::move(gBeepHook);
    gBeepHook = std::move(hook);
    return old;
}

}  // namespace platform
