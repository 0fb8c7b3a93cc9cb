#include "widgets/html/ThemeApi.h"

#include <cstdio>

#include "platform/system/OsVersion.h"
#include "widgets/html/HtmlText.h"

namespace html {

namespace {

[[noreturn]] void AssertionFailure(int line)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s (%s, line %d)", "Assertion failure", "ThemeApi.cpp", line);
    throw EAssertionFailed(buf);
}

template <class F>
void Fetch(platform::HMODULE lib, F& slot, const char* name, int line)
{
    platform::FARPROC p = platform::GetVisualStylesProc(lib, name);
    if (!p)
        AssertionFailure(line);
    slot = reinterpret_cast<F>(p);
}

#define FETCH(var, name) Fetch(ThemeLibrary, var, name, __LINE__)

struct Holder {
    explicit Holder(ThemeUnit unit) : api(unit) { api.LoadThemeApi(); }
    ~Holder() { api.FreeThemeApi(); }
    ThemeApi api;
};

int SchemeFromName(decltype(ThemeApi::GetCurrentThemeName) query)
{
    wchar_t file[255] = {}, colour[255] = {}, size[255] = {};
    HRESULT hr = query(file, 255, colour, 255, size, 255);
    if (platform::FAILED(hr)) {
        char msg[64];
        std::snprintf(msg, sizeof msg, "OLE error %08X", static_cast<unsigned>(hr));
        throw EOleSysError(msg, hr);
    }
    std::string name;
    for (const wchar_t* p = colour; *p; ++p)
        name.push_back(*p < 256 ? static_cast<char>(*p) : '?');
    if (name == "NormalColor")
        return 1;
    if (name == "HomeStead")
        return 2;
    if (name == "Metallic")
        return 3;
    return 0;
}

// Frees a library on every path out of the test.
struct LibraryGuard {
    platform::HMODULE lib;
    ~LibraryGuard()
    {
        if (lib)
            platform::FreeVisualStylesLibrary(lib);
    }
};

}  // namespace

void ThemeApi::LoadThemeApi()
{
    if (ThemeLibraryLoaded)
        return;
    ThemeLibrary = platform::LoadVisualStylesLibrary("UXTHEME.DLL");
    if (ThemeLibrary < 32) {
        ThemeLibraryLoaded = false;
        return;
    }
    ThemeLibraryLoaded = true;
    FETCH(OpenThemeData, "OpenThemeData");
    FETCH(CloseThemeData, "CloseThemeData");
    FETCH(DrawThemeBackground, "DrawThemeBackground");
    FETCH(DrawThemeText, "DrawThemeText");
    FETCH(GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
    FETCH(GetThemeBackgroundExtent, "GetThemeBackgroundExtent");
    FETCH(GetThemeTextExtent, "GetThemeTextExtent");
    FETCH(GetThemeTextMetrics, "GetThemeTextMetrics");
    FETCH(GetThemeBackgroundRegion, "GetThemeBackgroundRegion");
    FETCH(HitTestThemeBackground, "HitTestThemeBackground");
    FETCH(DrawThemeEdge, "DrawThemeEdge");
    FETCH(DrawThemeIcon, "DrawThemeIcon");
    FETCH(IsThemePartDefined, "IsThemePartDefined");
    FETCH(IsThemeBackGroundPartiallyTransparent, "IsThemeBackgroundPartiallyTransparent");
    FETCH(GetThemeColor, "GetThemeColor");
    FETCH(GetThemeMetric, "GetThemeMetric");
    FETCH(GetThemeString, "GetThemeString");
    FETCH(GetThemeBool, "GetThemeBool");
    FETCH(GetThemeInt, "GetThemeInt");
    FETCH(GetThemeEnumValue, "GetThemeEnumValue");
    FETCH(GetThemePosition, "GetThemePosition");
    FETCH(GetThemeFont, "GetThemeFont");
    FETCH(GetThemeRect, "GetThemeRect");
    FETCH(GetThemeMargins, "GetThemeMargins");
    FETCH(GetThemeIntList, "GetThemeIntList");
    FETCH(SetWindowTheme, "SetWindowTheme");
    FETCH(GetThemeFilename, "GetThemeFilename");
    FETCH(GetThemeSysColor, "GetThemeSysColor");
    FETCH(GetThemeSysColorBrush, "GetThemeSysColorBrush");
    FETCH(GetThemeSysBool, "GetThemeSysBool");
    FETCH(GetThemeSysSize, "GetThemeSysSize");
    FETCH(GetThemeSysFont, "GetThemeSysFont");
    FETCH(GetThemeSysString, "GetThemeSysString");
    FETCH(GetThemeSysInt, "GetThemeSysInt");
    FETCH(IsThemeActive, "IsThemeActive");
    FETCH(IsAppThemed, "IsAppThemed");
    FETCH(GetWindowTheme, "GetWindowTheme");
    FETCH(EnableThemeDialogTexture, "EnableThemeDialogTexture");
    FETCH(IsThemeDialogTextureEnabled, "IsThemeDialogTextureEnabled");
    FETCH(GetThemeAppProperties, "GetThemeAppProperties");
    FETCH(SetThemeAppProperties, "SetThemeAppProperties");
    FETCH(GetCurrentThemeName, "GetCurrentThemeName");
    FETCH(GetThemeDocumentationProperty, "GetThemeDocumentationProperty");
    if (Unit == ThemeUnit::APXPVS)
        FETCH(GetThemePartSize, "GetThemePartSize");
    FETCH(DrawThemeParentBackground, "DrawThemeParentBackground");
    FETCH(EnableTheming, "EnableTheming");
}

void ThemeApi::FreeThemeApi()
{
    if (!ThemeLibraryLoaded)
        return;
    platform::FreeVisualStylesLibrary(ThemeLibrary);
    if (Unit == ThemeUnit::ExXPVS)
        ThemeLibraryLoaded = false;
}

ThemeApi& AEBXPVS()
{
    static Holder h(ThemeUnit::AEBXPVS);
    return h.api;
}

ThemeApi& APXPVS()
{
    static Holder h(ThemeUnit::APXPVS);
    return h.api;
}

ThemeApi& ExXPVS()
{
    static Holder h(ThemeUnit::ExXPVS);
    return h.api;
}

ThemeApi& ParXPVS()
{
    static Holder h(ThemeUnit::ParXPVS);
    return h.api;
}

ThemeApi& ACXPVS()
{
    static Holder h(ThemeUnit::ACXPVS);
    return h.api;
}

ThemeApi& ThemeApiOf(ThemeUnit unit)
{
    switch (unit) {
    case ThemeUnit::AEBXPVS: return AEBXPVS();
    case ThemeUnit::APXPVS: return APXPVS();
    case ThemeUnit::ExXPVS: return ExXPVS();
    case ThemeUnit::ParXPVS: return ParXPVS();
    case ThemeUnit::ACXPVS: break;
    }
    return ACXPVS();
}

int CurrentXPColorScheme(XPColorSchemeTest copy)
{
    if (copy == XPColorSchemeTest::Grid) {
        if (!grdhtmle::IsWinXP)
            return 0;
        ThemeApi& api = ExXPVS();
        if (!api.IsThemeActive || !api.GetCurrentThemeName)
            return 0;
        if (api.IsThemeActive() == 0)
            return 0;
        return SchemeFromName(api.GetCurrentThemeName);
    }
    if (copy == XPColorSchemeTest::Standing) {
        platform::OsVersionInfo v = platform::GetOsVersion();
        if (!(v.major > 5 || (v.major == 5 && v.minor >= 1)))
            return 0;
    }
    LibraryGuard guard{platform::LoadVisualStylesLibrary("uxtheme.dll")};
    if (guard.lib == 0)
        return 0;
    auto isActive = reinterpret_cast<decltype(ThemeApi::IsThemeActive)>(
        platform::GetVisualStylesProc(guard.lib, "IsThemeActive"));
    if (!isActive || isActive() == 0)
        return 0;
    auto query = reinterpret_cast<decltype(ThemeApi::GetCurrentThemeName)>(
        platform::GetVisualStylesProc(guard.lib, "GetCurrentThemeName"));
    if (!query)
        return 0;
    return SchemeFromName(query);
}

}  // namespace html
