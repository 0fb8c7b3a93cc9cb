// Cursors: the standard numbers on controls and on the screen, and cursor resources in the
// screen's cursor table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/system/Cursors.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

void Le(std::string& s, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s.push_back(char((v >> (8 * i)) & 255));
}

// A .cur file of one opaque red w x h picture (32 bits, with its AND mask).
std::string CurFile(int w, int h, int hotX, int hotY)
{
    std::string dib;
    Le(dib, 40, 4);
    Le(dib, std::uint32_t(w), 4);
    Le(dib, std::uint32_t(2 * h), 4);  // colour rows and mask rows
    Le(dib, 1, 2);
    Le(dib, 32, 2);
    for (int i = 0; i < 6; ++i) Le(dib, 0, 4);
    for (int i = 0; i < w * h; ++i) Le(dib, 0xFFFF0000u, 4);
    dib.append(std::size_t(((w + 31) / 32) * 4 * h), '\0');
    std::string f;
    Le(f, 0, 2);
    Le(f, 2, 2);
    Le(f, 1, 2);
    f.push_back(char(w));
    f.push_back(char(h));
    Le(f, 0, 2);
    Le(f, std::uint32_t(hotX), 2);
    Le(f, std::uint32_t(hotY), 2);
    Le(f, std::uint32_t(dib.size()), 4);
    Le(f, 22, 4);
    return f + dib;
}

struct CursorFixture : ControlFixture {
    TCustomControl* c = nullptr;
    void SetUp() override
    {
        ControlFixture::SetUp();
        c = Add<TCustomControl>(0, 0, 50, 40);
    }
    void TearDown() override
    {
        Screen->SetCursor(crDefault);
        ControlFixture::TearDown();
    }
};

// Each standard number and what the mouse shows for it.
const struct {
    TCursor cursor;
    const char* shown;
} kStandard[] = {
    {crArrow, "arrow"},      {crCross, "cross"},        {crIBeam, "ibeam"},         {crSizeNESW, "size-nesw"},
    {crSizeNS, "size-ns"},   {crSizeNWSE, "size-nwse"}, {crSizeWE, "size-we"},      {crUpArrow, "up-arrow"},
    {crHourGlass, "wait"},   {crDrag, "drag"},          {crNoDrop, "no"},           {crHSplit, "hsplit"},
    {crVSplit, "vsplit"},    {crMultiDrag, "multi-drag"}, {crSQLWait, "wait"},      {crNo, "no"},
    {crAppStart, "busy"},    {crHelp, "help"},          {crHandPoint, "hand"},      {crSizeAll, "size-all"},
    {crNone, "blank"},
};

}  // namespace

TEST_F(CursorFixture, AControlShowsTheCursorOfItsNumber)
{
    form->SetCursor(crCross);
    for (const auto& k : kStandard) {
        c->SetCursor(k.cursor);
        EXPECT_EQ(ShownCursor(c), k.shown) << k.cursor;
    }
    c->SetCursor(crDefault);
    EXPECT_EQ(ShownCursor(c), "cross");  // the parent's
}

TEST_F(CursorFixture, TheScreenCursorOverridesEveryWindowUntilItIsDefaultAgain)
{
    c->SetCursor(crHandPoint);
    for (const auto& k : kStandard) {
        Screen->SetCursor(k.cursor);
        EXPECT_EQ(Screen->Cursor(), k.cursor);
        EXPECT_EQ(ShownCursor(c), k.shown) << k.cursor;
        EXPECT_EQ(ShownCursor(form), k.shown) << k.cursor;
    }
    Screen->SetCursor(crDefault);
    EXPECT_EQ(ShownCursor(c), "hand");
}

TEST_F(CursorFixture, ACursorResourceShowsUnderItsNumberInTheTable)
{
    const HINSTANCE inst = HInstance();
    RegisterResource(inst, RT_CURSOR, "EYEDROPPER", CurFile(32, 32, 1, 30));
    RegisterResource(inst, RT_CURSOR, 8010, CurFile(16, 16, 8, 7));
    const HCURSOR eye = LoadCursor(inst, "eyedropper");  // names compare without case
    const HCURSOR sizing = LoadCursor(inst, 8010);
    ASSERT_NE(eye, 0u);
    ASSERT_NE(sizing, 0u);
    TSize size;
    TPoint hot;
    ASSERT_TRUE(GetCursorSize(eye, size, hot));
    EXPECT_EQ(size, (TSize{32, 32}));
    EXPECT_EQ(hot.X, 1);
    EXPECT_EQ(hot.Y, 30);

    Screen->SetCursors(54, eye);
    Screen->SetCursors(crHSplit, sizing);  // a standard number can take a picture of its own
    EXPECT_EQ(Screen->Cursors(54), eye);
    c->SetCursor(54);
    EXPECT_EQ(ShownCursor(c), "bitmap 32x32 hot 1,30");
    form->SetCursor(crHSplit);
    EXPECT_EQ(ShownCursor(form), "bitmap 16x16 hot 8,7");
    Screen->SetCursor(54);
    EXPECT_EQ(ShownCursor(form), "bitmap 32x32 hot 1,30");
    Screen->SetCursor(crDefault);

    // Freed cursors leave the table; the numbers show the standard pictures again.
    EXPECT_TRUE(DestroyCursor(sizing));
    EXPECT_FALSE(DestroyCursor(sizing));
    EXPECT_NE(Screen->Cursors(crHSplit), sizing);  // the standard one's handle again
    form->SetCursor(crDefault);
    form->SetCursor(crHSplit);
    EXPECT_EQ(ShownCursor(form), "hsplit");
    Screen->SetCursors(54, 0);
    EXPECT_EQ(Screen->Cursors(54), Screen->Cursors(crArrow));  // an unknown number shows the arrow
    EXPECT_TRUE(DestroyCursor(eye));
    UnregisterResource(inst, RT_CURSOR, "EYEDROPPER");
    UnregisterResource(inst, RT_CURSOR, 8010);
}

TEST(Cursors, WhatIsNoCursorLoadsAsNone)
{
    const std::string good = CurFile(8, 8, 0, 0);
    std::string icon = good;
    icon[2] = 1;  // an icon, not a cursor
    std::string cut = good.substr(0, 30);
    const std::string cases[] = {"", "BM", icon, cut, std::string(40, '\0')};
    for (const std::string& bytes : cases) EXPECT_EQ(LoadCursorFromData(bytes), 0u) << bytes.size();
    EXPECT_EQ(LoadCursor(HInstance(), "NO SUCH CURSOR"), 0u);
    // A hot spot outside the picture is kept inside it.
    const HCURSOR h = LoadCursorFromData(CurFile(8, 8, 200, 9));
    TSize size;
    TPoint hot;
    ASSERT_TRUE(GetCursorSize(h, size, hot));
    EXPECT_EQ(hot.X, 7);
    EXPECT_EQ(hot.Y, 7);
    DestroyCursor(h);
}

namespace {

// A window that shows a cursor resource over its left half and lets the control under the
// mouse choose elsewhere, as a grid does over its cells and borders.
class TPicker : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    HCURSOR left = 0;
    int asked = 0;
    void WMSetCursor(TWMSetCursor& m) override
    {
        ++asked;
        EXPECT_EQ(HWND(m.WParam), Handle());
        EXPECT_EQ(m.LParam & 0xFFFF, LPARAM(HTCLIENT));
        EXPECT_EQ(UINT(m.LParam >> 16) & 0xFFFF, UINT(WM_MOUSEMOVE));
        if (lastX < 50) {
            platform::SetCursor(left);
            m.Result = 1;
            return;
        }
        TCustomControl::WMSetCursor(m);
    }
    int lastX = 0;  // where the test moves the mouse
};

}  // namespace

TEST_F(CursorFixture, AWindowPicksTheCursorWhenTheMouseMovesOverIt)
{
    RegisterResource(HInstance(), RT_CURSOR, 8011, CurFile(16, 16, 3, 4));
    auto* p = Add<TPicker>(0, 0, 100, 40);
    p->SetCursor(crHandPoint);
    p->left = LoadCursor(HInstance(), 8011);
    auto* spot = Add<TGraphicControl>(60, 0, 20, 20, p);  // a windowless child shows through its window
    spot->SetCursor(crVSplit);
    struct Step {
        int x, y;
        const char* shown;
    } steps[] = {{10, 30, "bitmap 16x16 hot 3,4"}, {70, 30, "hand"}, {70, 5, "vsplit"}, {20, 5, "bitmap 16x16 hot 3,4"}};
    for (const Step& s : steps) {
        p->lastX = s.x;
        HostMouse(p, hmMove, mbLeft, s.x, s.y);
        EXPECT_EQ(ShownCursor(p), s.shown) << s.x << "," << s.y;
    }
    EXPECT_EQ(p->asked, 4);
    DestroyCursor(p->left);
    UnregisterResource(HInstance(), RT_CURSOR, 8011);
}
