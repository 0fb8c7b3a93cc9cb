#pragma once
// The system's beeps.
#include <functional>

#include "platform/Types.h"

namespace platform {

// Sounds the beep of a kind: 0 (MB_OK) the default one, MB_ICONHAND, MB_ICONQUESTION,
// MB_ICONEXCLAMATION, MB_ICONASTERISK, or 0xFFFFFFFF the simple one. True, as always here.
bool MessageBeep(UINT type = 0);

// Sends every beep to hook instead of the speaker (tests count them); an empty hook gives
// the speaker back. Returns the previous hook.
using TBeepHook = std::function<void(UINT type)>;
TBeepHook SetBeepHook(TBeepHook hook);

}  // namespace platform
