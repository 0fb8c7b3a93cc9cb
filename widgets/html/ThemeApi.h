#pragma once
// Run-time binding of the visual-styles library: each component family has its own
// copy, loaded the first time it is used, with one variable per entry point. Where the
// library is missing every variable stays empty and the components draw classically.
#include <cstdint>
#include <string>

#include "base/Exception.h"
#include "platform/system/VisualStyles.h"

namespace html {

using platform::HTHEME;
using platform::HRESULT;
using platform::BOOL;
using platform::THEMESIZE;
using platform::PROPERTYORIGIN;
using platform::_INTLIST;
using platform::PINTLIST;
using platform::_MARGINS;
using platform::PMARGINS;
using platform::DTBGOPTS;
using platform::PDTBGOPTS;
using TDTBGOPTS = platform::DTBGOPTS;

// The copies of the binding and the components that read them.
enum class ThemeUnit {
    AEBXPVS,  // edit button
    APXPVS,   // panels; also fetches GetThemePartSize
    ExXPVS,   // grid and its engine; frees its flag at shutdown
    ParXPVS,  // parameter tree's engine
    ACXPVS,   // labelled combo box
};

class EAssertionFailed : public base::Exception {
public:
    using base::Exception::Exception;
};

class EOleSysError : public base::Exception {
public:
    EOleSysError(const std::string& message, HRESULT code) : base::Exception(message), ErrorCode(code) {}
    HRESULT ErrorCode;
};

struct ThemeApi {
    explicit ThemeApi(ThemeUnit unit) : Unit(unit) {}

    // Loads the library and fetches every entry point; a missing one raises
    // EAssertionFailed and leaves the later ones empty. Runs once.
    void LoadThemeApi();
    void FreeThemeApi();

    ThemeUnit Unit;
    platform::HMODULE ThemeLibrary = 0;
    bool ThemeLibraryLoaded = false;

    decltype(&platform::uxtheme::OpenThemeData) OpenThemeData = nullptr;
    decltype(&platform::uxtheme::CloseThemeData) CloseThemeData = nullptr;
    decltype(&platform::uxtheme::DrawThemeBackground) DrawThemeBackground = nullptr;
    // ExXPVS declares it; nothing fetches it.
    HRESULT (*DrawThemeBackgroundEx)(HTHEME, platform::HDC, int, int, const platform::TRect*, const DTBGOPTS*) = nullptr;
    decltype(&platform::uxtheme::DrawThemeText) DrawThemeText = nullptr;
    decltype(&platform::uxtheme::GetThemeBackgroundContentRect) GetThemeBackgroundContentRect = nullptr;
    decltype(&platform::uxtheme::GetThemeBackgroundExtent) GetThemeBackgroundExtent = nullptr;
    decltype(&platform::uxtheme::GetThemeTextExtent) GetThemeTextExtent = nullptr;
    decltype(&platform::uxtheme::GetThemeTextMetrics) GetThemeTextMetrics = nullptr;
    decltype(&platform::uxtheme::GetThemeBackgroundRegion) GetThemeBackgroundRegion = nullptr;
    decltype(&platform::uxtheme::HitTestThemeBackground) HitTestThemeBackground = nullptr;
    decltype(&platform::uxtheme::DrawThemeEdge) DrawThemeEdge = nullptr;
    decltype(&platform::uxtheme::DrawThemeIcon) DrawThemeIcon = nullptr;
    decltype(&platform::uxtheme::IsThemePartDefined) IsThemePartDefined = nullptr;
    decltype(&platform::uxtheme::IsThemeBackgroundPartiallyTransparent) IsThemeBackGroundPartiallyTransparent = nullptr;
    decltype(&platform::uxtheme::GetThemeColor) GetThemeColor = nullptr;
    decltype(&platform::uxtheme::GetThemeMetric) GetThemeMetric = nullptr;
    decltype(&platform::uxtheme::GetThemeString) GetThemeString = nullptr;
    decltype(&platform::uxtheme::GetThemeBool) GetThemeBool = nullptr;
    decltype(&platform::uxtheme::GetThemeInt) GetThemeInt = nullptr;
    decltype(&platform::uxtheme::GetThemeEnumValue) GetThemeEnumValue = nullptr;
    decltype(&platform::uxtheme::GetThemePosition) GetThemePosition = nullptr;
    decltype(&platform::uxtheme::GetThemeFont) GetThemeFont = nullptr;
    decltype(&platform::uxtheme::GetThemeRect) GetThemeRect = nullptr;
    decltype(&platform::uxtheme::GetThemeMargins) GetThemeMargins = nullptr;
    decltype(&platform::uxtheme::GetThemeIntList) GetThemeIntList = nullptr;
    decltype(&platform::uxtheme::SetWindowTheme) SetWindowTheme = nullptr;
    decltype(&platform::uxtheme::GetThemeFilename) GetThemeFilename = nullptr;
    decltype(&platform::uxtheme::GetThemeSysColor) GetThemeSysColor = nullptr;
    decltype(&platform::uxtheme::GetThemeSysColorBrush) GetThemeSysColorBrush = nullptr;
    decltype(&platform::uxtheme::GetThemeSysBool) GetThemeSysBool = nullptr;
    decltype(&platform::uxtheme::GetThemeSysSize) GetThemeSysSize = nullptr;
    decltype(&platform::uxtheme::GetThemeSysFont) GetThemeSysFont = nullptr;
    decltype(&platform::uxtheme::GetThemeSysString) GetThemeSysString = nullptr;
    // APXPVS only.
    decltype(&platform::uxtheme::GetThemePartSize) GetThemePartSize = nullptr;
    decltype(&platform::uxtheme::GetThemeSysInt) GetThemeSysInt = nullptr;
    decltype(&platform::uxtheme::IsThemeActive) IsThemeActive = nullptr;
    decltype(&platform::uxtheme::IsAppThemed) IsAppThemed = nullptr;
    decltype(&platform::uxtheme::GetWindowTheme) GetWindowTheme = nullptr;
    decltype(&platform::uxtheme::EnableThemeDialogTexture) EnableThemeDialogTexture = nullptr;
    decltype(&platform::uxtheme::IsThemeDialogTextureEnabled) IsThemeDialogTextureEnabled = nullptr;
    decltype(&platform::uxtheme::GetThemeAppProperties) GetThemeAppProperties = nullptr;
    decltype(&platform::uxtheme::SetThemeAppProperties) SetThemeAppProperties = nullptr;
    decltype(&platform::uxtheme::GetCurrentThemeName) GetCurrentThemeName = nullptr;
    decltype(&platform::uxtheme::GetThemeDocumentationProperty) GetThemeDocumentationProperty = nullptr;
    decltype(&platform::uxtheme::DrawThemeParentBackground) DrawThemeParentBackground = nullptr;
    decltype(&platform::uxtheme::EnableTheming) EnableTheming = nullptr;
};

// The five copies, each loaded when first asked for and freed at program end.
ThemeApi& AEBXPVS();
ThemeApi& APXPVS();
ThemeApi& ExXPVS();
ThemeApi& ParXPVS();
ThemeApi& ACXPVS();
ThemeApi& ThemeApiOf(ThemeUnit unit);

// Which copy of the colour-scheme test: the standing one checks the system version,
// the selector buttons' one skips that check, the grid's one uses ExXPVS and the grid
// engine's IsWinXP flag without loading anything.
enum class XPColorSchemeTest { Standing, NoVersionCheck, Grid };

// 0: no XP colour scheme; 1 "NormalColor", 2 "HomeStead", 3 "Metallic" (exact case).
// A failing name query raises EOleSysError.
int CurrentXPColorScheme(XPColorSchemeTest copy = XPColorSchemeTest::Standing);

}  // namespace html
