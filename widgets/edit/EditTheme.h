#pragma once
// Themed parts for the edit controls, through their copies of the visual-styles binding.
#include "platform/Types.h"

namespace html {
enum class ThemeUnit;
}

namespace edit {

// The system has visual styles (5.1 or later).
bool NewerSystem();
// Styles are in use for this copy: a newer system, the library there and themes active.
bool ThemesInUse(html::ThemeUnit unit);
// Draws part/state of the theme class cls in r; false (nothing drawn) when styles are not in use.
bool DrawThemedPart(html::ThemeUnit unit, platform::HWND window, const wchar_t* cls, int part, int state,
                    platform::HDC dc, const platform::TRect& r);

}  // namespace edit
