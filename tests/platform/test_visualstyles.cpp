#include <gtest/gtest.h>

#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/VisualStyles.h"

using namespace platform;

namespace {

struct VisualStylesTest : ::testing::Test {
    void TearDown() override { ResetVisualStyles(); }
};

// Pixels of the rectangle that differ from the white background.
int Changed(TBitmap& bmp, const TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (bmp.Canvas()->Pixel(x, y) != clWhite)
                ++n;
    return n;
}

void Clear(TBitmap& bmp)
{
    bmp.Canvas()->Brush().SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
}

}  // namespace

TEST_F(VisualStylesTest, LibraryAndEntryPoints)
{
    HMODULE lib = LoadVisualStylesLibrary("UXTHEME.DLL");
    ASSERT_NE(lib, 0u);
    EXPECT_EQ(LoadVisualStylesLibrary("uxtheme.dll"), lib);
    EXPECT_EQ(LoadVisualStylesLibrary("comctl32.dll"), 0u);
    EXPECT_EQ(VisualStylesLibraryLoadCount(), 2);

    for (const char* name : {"OpenThemeData", "CloseThemeData", "DrawThemeBackground", "IsThemeActive",
                             "GetCurrentThemeName", "IsThemeBackgroundPartiallyTransparent", "GetThemePartSize",
                             "EnableTheming", "GetThemeSysColor"})
        EXPECT_NE(GetVisualStylesProc(lib, name), nullptr) << name;
    EXPECT_EQ(GetVisualStylesProc(lib, "IsThemeBackGroundPartiallyTransparent"), nullptr);  // exact names
    EXPECT_EQ(GetVisualStylesProc(lib, "DrawThemeBackgroundEx"), nullptr);
    EXPECT_EQ(GetVisualStylesProc(0, "OpenThemeData"), nullptr);
    SetVisualStylesHiddenProc("DrawThemeText");
    EXPECT_EQ(GetVisualStylesProc(lib, "DrawThemeText"), nullptr);

    FreeVisualStylesLibrary(lib);
    FreeVisualStylesLibrary(lib);
    EXPECT_EQ(VisualStylesLibraryLoadCount(), 0);

    SetVisualStylesPresent(false);
    EXPECT_EQ(LoadVisualStylesLibrary("UXTHEME.DLL"), 0u);
}

TEST_F(VisualStylesTest, ActiveDrawsThemedParts)
{
    // the test application has a desktop style
    ASSERT_EQ(uxtheme::IsThemeActive(), 1);
    TBitmap bmp(60, 30);
    const TRect r = Rect(5, 5, 45, 25);
    struct Case {
        const wchar_t* cls;
        int part, state;
    };
    const Case cases[] = {
        {L"button", BP_PUSHBUTTON, PBS_NORMAL}, {L"button", BP_PUSHBUTTON, PBS_PRESSED},
        {L"BUTTON", BP_CHECKBOX, 5},            {L"combobox", CP_DROPDOWNBUTTON, PBS_HOT},
        {L"header", HP_HEADERITEM, 1},          {L"Progress", PP_BAR, 1},
        {L"Progress", PP_CHUNK, 1},             {L"spin", SPNP_UP, 1},
        {L"window", 1, 1},                      {L"nothing;spin", SPNP_DOWN, 2},
    };
    for (const Case& c : cases) {
        HTHEME theme = uxtheme::OpenThemeData(nullptr, c.cls);
        ASSERT_NE(theme, 0u);
        Clear(bmp);
        EXPECT_EQ(uxtheme::DrawThemeBackground(theme, bmp.Canvas()->Handle(), c.part, c.state, &r, nullptr), S_OK);
        if (std::wstring(c.cls) != L"window") {
            EXPECT_GT(Changed(bmp, r), 0);
        }
        // nothing outside the rectangle
        EXPECT_EQ(Changed(bmp, Rect(0, 0, 60, 5)) + Changed(bmp, Rect(45, 0, 60, 30)), 0);
        EXPECT_EQ(uxtheme::CloseThemeData(theme), S_OK);
        EXPECT_EQ(uxtheme::CloseThemeData(theme), E_INVALIDARG);
    }

    // a clip rectangle limits the drawing
    HTHEME theme = uxtheme::OpenThemeData(nullptr, L"button");
    Clear(bmp);
    const TRect clip = Rect(5, 5, 20, 25);
    EXPECT_EQ(uxtheme::DrawThemeBackground(theme, bmp.Canvas()->Handle(), 1, 1, &r, &clip), S_OK);
    EXPECT_GT(Changed(bmp, clip), 0);
    EXPECT_EQ(Changed(bmp, Rect(20, 0, 60, 30)), 0);
    uxtheme::CloseThemeData(theme);

    EXPECT_EQ(uxtheme::OpenThemeData(nullptr, L"treeview"), 0u);
    EXPECT_EQ(uxtheme::OpenThemeData(nullptr, nullptr), 0u);
}

TEST_F(VisualStylesTest, InactiveOpensNothing)
{
    SetVisualStylesActiveOverride(0);
    EXPECT_EQ(uxtheme::IsThemeActive(), 0);
    EXPECT_EQ(uxtheme::IsAppThemed(), 0);
    EXPECT_EQ(uxtheme::OpenThemeData(nullptr, L"button"), 0u);
    TBitmap bmp(10, 10);
    Clear(bmp);
    TRect r = Rect(0, 0, 10, 10);
    EXPECT_EQ(uxtheme::DrawThemeBackground(0, bmp.Canvas()->Handle(), 1, 1, &r, nullptr), E_INVALIDARG);
    EXPECT_EQ(Changed(bmp, r), 0);
    wchar_t a[255], b[255], c[255];
    EXPECT_TRUE(FAILED(uxtheme::GetCurrentThemeName(a, 255, b, 255, c, 255)));
}

TEST_F(VisualStylesTest, CurrentThemeName)
{
    wchar_t file[255], colour[255], size[255];
    ASSERT_EQ(uxtheme::GetCurrentThemeName(file, 255, colour, 255, size, 255), S_OK);
    EXPECT_NE(std::wstring(colour), L"");  // the desktop style's name
    EXPECT_EQ(std::wstring(size), L"NormalSize");

    SetVisualStylesColorScheme(L"HomeStead");
    ASSERT_EQ(uxtheme::GetCurrentThemeName(file, 255, colour, 255, size, 255), S_OK);
    EXPECT_EQ(std::wstring(colour), L"HomeStead");
    wchar_t small[5];
    ASSERT_EQ(uxtheme::GetCurrentThemeName(nullptr, 0, small, 5, nullptr, 0), S_OK);
    EXPECT_EQ(std::wstring(small), L"Home");

    SetVisualStylesNameQueryResult(E_FAIL);
    EXPECT_EQ(uxtheme::GetCurrentThemeName(file, 255, colour, 255, size, 255), E_FAIL);
}
