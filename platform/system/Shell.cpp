#include "platform/system/Shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <mutex>

namespace platform {

namespace {
std::mutex gHookMutex;
TShellExecuteHook gHook;
}  // namespace

std::intptr_t ShellExecute(HWND, const std::string& verb, const std::string& file, const std::string&,
                           const std::string&, int)
{
    TShellExecuteHook hook;
    {
        std::lock_guard lock(gHookMutex);
        hook = gHook;
    }
    bool ok = false;
    if (hook) {
        ok = hook(verb, file);
    } else if (verb.empty() || verb == "open") {
        const QString text = QString::fromUtf8(AnsiToUtf8(file));
        ok = !text.isEmpty() && QDesktopServices::openUrl(QUrl::fromUserInput(text));
    }
    return ok ? 42 : 2;
}

void SetShellExecuteHookForTesting(TShellExecuteHook hook)
{
    std::lock_guard lock(gHookMutex);
    gHook = std::move(hook);
}

}  // namespace platform
