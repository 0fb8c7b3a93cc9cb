#include "widgets/edit/EditTheme.h"

#include "platform/system/OsVersion.h"
#include "widgets/html/ThemeApi.h"

namespace edit {

using namespace platform;

bool NewerSystem()
{
    const OsVersionInfo v = GetOsVersion();
    return v.major > 5 || (v.major == 5 && v.minor > 0);
}

bool ThemesInUse(html::ThemeUnit unit)
{
    if (!NewerSystem()) return false;
    html::ThemeApi& api = html::ThemeApiOf(unit);
    try {
        api.LoadThemeApi();
    } catch (const std::exception&) {
        // a missing entry point: the ones fetched before it are still usable
    }
    return api.ThemeLibraryLoaded && api.IsThemeActive && api.IsThemeActive();
}

bool DrawThemedPart(html::ThemeUnit unit, HWND window, const wchar_t* cls, int part, int state, HDC dc, const TRect& r)
{
    if (!ThemesInUse(unit)) return false;
    html::ThemeApi& api = html::ThemeApiOf(unit);
    if (!api.OpenThemeData || !api.DrawThemeBackground || !api.CloseThemeData) return false;
    const HTHEME theme = api.OpenThemeData(window, cls);
    if (!theme) return false;
    api.DrawThemeBackground(theme, dc, part, state, &r, nullptr);
    api.CloseThemeData(theme);
    return true;
}

}  // namespace edit
