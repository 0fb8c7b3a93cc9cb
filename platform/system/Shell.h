#pragma once
// Opening a document or an address with the desktop's handler.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Types.h"

namespace platform {

enum { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1 };

// Verb "open" (or empty) opens file with its handler; parameters and directory are not
// used here. Above 32 on success, 2 (file not found) when nothing could open it.
std::intptr_t ShellExecute(HWND wnd, const std::string& verb, const std::string& file, const std::string& params,
                           const std::string& directory, int show);

// For tests: each call goes to the hook instead of the desktop; its answer is the success.
using TShellExecuteHook = std::function<bool(const std::string& verb, const std::string& file)>;
void SetShellExecuteHookForTesting(TShellExecuteHook hook);

}  // namespace platform
