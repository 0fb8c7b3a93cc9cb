#include <gtest/gtest.h>

#include "platform/graphics/Graphics.h"
#include "platform/system/OsVersion.h"
#include "platform/system/VisualStyles.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/ThemeApi.h"

using namespace html;

namespace {

struct ThemeApiTest : ::testing::Test {
    void TearDown() override
    {
        platform::ResetVisualStyles();
        platform::ResetOsVersionForTesting();
        grdhtmle::DetectWinXP();
    }
};

// Number of entry-point variables that are set.
int Filled(const ThemeApi& a)
{
    const void* slots[] = {
        (void*)a.OpenThemeData, (void*)a.CloseThemeData, (void*)a.DrawThemeBackground, (void*)a.DrawThemeText,
        (void*)a.GetThemeBackgroundContentRect, (void*)a.GetThemeBackgroundExtent, (void*)a.GetThemeTextExtent,
        (void*)a.GetThemeTextMetrics, (void*)a.GetThemeBackgroundRegion, (void*)a.HitTestThemeBackground,
        (void*)a.DrawThemeEdge, (void*)a.DrawThemeIcon, (void*)a.IsThemePartDefined,
        (void*)a.IsThemeBackGroundPartiallyTransparent, (void*)a.GetThemeColor, (void*)a.GetThemeMetric,
        (void*)a.GetThemeString, (void*)a.GetThemeBool, (void*)a.GetThemeInt, (void*)a.GetThemeEnumValue,
        (void*)a.GetThemePosition, (void*)a.GetThemeFont, (void*)a.GetThemeRect, (void*)a.GetThemeMargins,
        (void*)a.GetThemeIntList, (void*)a.SetWindowTheme, (void*)a.GetThemeFilename, (void*)a.GetThemeSysColor,
        (void*)a.GetThemeSysColorBrush, (void*)a.GetThemeSysBool, (void*)a.GetThemeSysSize, (void*)a.GetThemeSysFont,
        (void*)a.GetThemeSysString, (void*)a.GetThemeSysInt, (void*)a.IsThemeActive, (void*)a.IsAppThemed,
        (void*)a.GetWindowTheme, (void*)a.EnableThemeDialogTexture, (void*)a.IsThemeDialogTextureEnabled,
        (void*)a.GetThemeAppProperties, (void*)a.SetThemeAppProperties, (void*)a.GetCurrentThemeName,
        (void*)a.GetThemeDocumentationProperty, (void*)a.DrawThemeParentBackground, (void*)a.EnableTheming,
        (void*)a.GetThemePartSize, (void*)a.DrawThemeBackgroundEx,
    };
    int n = 0;
    for (const void* s : slots)
        n += s != nullptr;
    return n;
}

}  // namespace

TEST_F(ThemeApiTest, LoadsEveryEntryPoint)
{
    struct Case {
        ThemeUnit unit;
        int filled;
        bool partSize;
        bool loadedAfterFree;
    };
    const Case cases[] = {
        {ThemeUnit::AEBXPVS, 45, false, true}, {ThemeUnit::APXPVS, 46, true, true},
        {ThemeUnit::ExXPVS, 45, false, false}, {ThemeUnit::ParXPVS, 45, false, true},
        {ThemeUnit::ACXPVS, 45, false, true},
    };
    for (const Case& c : cases) {
        const int before = platform::VisualStylesLibraryLoadCount();
        ThemeApi api(c.unit);
        EXPECT_FALSE(api.ThemeLibraryLoaded);
        EXPECT_EQ(Filled(api), 0);
        api.LoadThemeApi();
        EXPECT_TRUE(api.ThemeLibraryLoaded);
        EXPECT_GE(api.ThemeLibrary, 32u);
        EXPECT_EQ(Filled(api), c.filled);
        EXPECT_EQ(api.GetThemePartSize != nullptr, c.partSize);
        EXPECT_EQ(api.DrawThemeBackgroundEx, nullptr);
        api.LoadThemeApi();  // once only
        EXPECT_EQ(platform::VisualStylesLibraryLoadCount(), before + 1);
        api.FreeThemeApi();
        EXPECT_EQ(platform::VisualStylesLibraryLoadCount(), before);
        EXPECT_EQ(api.ThemeLibraryLoaded, c.loadedAfterFree);
        EXPECT_EQ(Filled(api), c.filled);  // the variables are not cleared
    }
}

TEST_F(ThemeApiTest, MissingLibraryLeavesEveryVariableEmpty)
{
    platform::SetVisualStylesPresent(false);
    ThemeApi api(ThemeUnit::ParXPVS);
    api.LoadThemeApi();
    EXPECT_FALSE(api.ThemeLibraryLoaded);
    EXPECT_EQ(Filled(api), 0);
    api.FreeThemeApi();
    EXPECT_EQ(CurrentXPColorScheme(), 0);
    EXPECT_EQ(CurrentXPColorScheme(XPColorSchemeTest::NoVersionCheck), 0);
}

TEST_F(ThemeApiTest, MissingEntryPointIsAnAssertionFailure)
{
    platform::SetVisualStylesHiddenProc("GetThemeColor");
    ThemeApi api(ThemeUnit::AEBXPVS);
    try {
        api.LoadThemeApi();
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        const std::string m = e.what();
        EXPECT_EQ(m.rfind("Assertion failure (ThemeApi.cpp, line ", 0), 0u) << m;
        EXPECT_EQ(m.back(), ')');
    }
    EXPECT_TRUE(api.ThemeLibraryLoaded);
    EXPECT_NE(api.IsThemeBackGroundPartiallyTransparent, nullptr);  // fetched before
    EXPECT_EQ(api.GetThemeColor, nullptr);
    EXPECT_EQ(api.GetThemeMetric, nullptr);  // not fetched after
    EXPECT_EQ(Filled(api), 14);
    api.FreeThemeApi();
}

TEST_F(ThemeApiTest, ColourSchemeTest)
{
    struct Case {
        const wchar_t* scheme;
        int active;
        bool present;
        platform::OsVersionInfo version;
        bool winXP;
        int standing, noCheck, grid;
    };
    const platform::OsVersionInfo xp{5, 1, 2600}, w2k{5, 0, 2195}, nt4{4, 0, 1381}, modern{6, 1, 7601};
    const Case cases[] = {
        {L"NormalColor", 1, true, xp, true, 1, 1, 1},
        {L"HomeStead", 1, true, modern, true, 2, 2, 2},
        {L"Metallic", 1, true, xp, true, 3, 3, 3},
        {L"normalcolor", 1, true, xp, true, 0, 0, 0},
        {L"Royale", 1, true, xp, true, 0, 0, 0},
        {L"NormalColor", 0, true, xp, true, 0, 0, 0},       // styles off
        {L"NormalColor", 1, true, w2k, false, 0, 1, 0},     // older system
        {L"NormalColor", 1, true, nt4, false, 0, 1, 0},
        {L"NormalColor", 1, true, modern, false, 1, 1, 0},  // grid trusts its engine's flag
        {L"NormalColor", 1, false, xp, true, 0, 0, 1},      // grid's binding was loaded before
    };
    ExXPVS();  // the grid's binding loads while the library is present
    for (const Case& c : cases) {
        platform::ResetVisualStyles();
        platform::SetVisualStylesColorScheme(c.scheme);
        platform::SetVisualStylesActiveOverride(c.active);
        platform::SetVisualStylesPresent(c.present);
        platform::SetOsVersionForTesting(c.version);
        grdhtmle::IsWinXP = c.winXP;
        const int loads = platform::VisualStylesLibraryLoadCount();
        EXPECT_EQ(CurrentXPColorScheme(), c.standing) << c.version.major << "." << c.version.minor;
        EXPECT_EQ(CurrentXPColorScheme(XPColorSchemeTest::NoVersionCheck), c.noCheck);
        EXPECT_EQ(CurrentXPColorScheme(XPColorSchemeTest::Grid), c.grid);
        EXPECT_EQ(platform::VisualStylesLibraryLoadCount(), loads);  // freed on every path
    }
}

TEST_F(ThemeApiTest, DesktopWithoutWindowsSchemeAnswersZero)
{
    // the desktop style is active but its scheme is none of the three
    ASSERT_EQ(platform::uxtheme::IsThemeActive(), 1);
    EXPECT_EQ(CurrentXPColorScheme(), 0);
    EXPECT_EQ(CurrentXPColorScheme(XPColorSchemeTest::Grid), 0);
}

TEST_F(ThemeApiTest, FailingNameQueryRaisesOleError)
{
    platform::SetVisualStylesActiveOverride(1);
    platform::SetVisualStylesNameQueryResult(platform::E_FAIL);
    const int loads = platform::VisualStylesLibraryLoadCount();
    try {
        CurrentXPColorScheme();
        FAIL() << "no exception";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode, platform::E_FAIL);
    }
    EXPECT_EQ(platform::VisualStylesLibraryLoadCount(), loads);
    EXPECT_THROW(CurrentXPColorScheme(XPColorSchemeTest::Grid), EOleSysError);
}

TEST_F(ThemeApiTest, ConsumersDrawThemedOnlyWhileActive)
{
    // A consumer's rule: themed when the system flag is set and IsThemeActive is nonzero.
    auto drawButton = [](ThemeApi& api, platform::TBitmap& bmp, int state) {
        bmp.Canvas()->Brush().SetColor(platform::clWhite);
        bmp.Canvas()->FillRect(platform::Rect(0, 0, 40, 20));
        if (!(grdhtmle::IsWinXP && api.IsThemeActive && api.IsThemeActive()))
            return false;
        HTHEME h = api.OpenThemeData(nullptr, L"button");
        if (!h)
            return false;
        platform::TRect r = platform::Rect(0, 0, 40, 20);
        api.DrawThemeBackground(h, bmp.Canvas()->Handle(), 1, state, &r, nullptr);
        api.CloseThemeData(h);
        return true;
    };
    auto whitePixels = [](platform::TBitmap& bmp) {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                n += bmp.Canvas()->Pixel(x, y) == platform::clWhite;
        return n;
    };
    platform::TBitmap bmp(40, 20);
    ThemeApi& api = ExXPVS();
    ASSERT_TRUE(api.ThemeLibraryLoaded);

    EXPECT_TRUE(drawButton(api, bmp, 1));
    EXPECT_LT(whitePixels(bmp), 40 * 20);

    platform::SetVisualStylesActiveOverride(0);
    EXPECT_FALSE(drawButton(api, bmp, 1));
    EXPECT_EQ(whitePixels(bmp), 40 * 20);
    EXPECT_EQ(api.OpenThemeData(nullptr, L"button"), 0u);
}
