// The key-state query as handlers see it while the test rig and host input drive the keys,
// and the beep.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/system/Beep.h"
#include "platform/system/KeyState.h"
#include "platform/TestRig.h"
#include "tests/platform/ControlFixture.h"

using namespace platform;

namespace {

// Writes down, at each key and mouse message, which of the watched keys read as down.
class TKeyWatcher : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<int> watch;
    std::vector<std::string> seen;

    std::string Down() const
    {
        std::string s;
        for (int vk : watch) s += GetKeyState(vk) < 0 ? '1' : '0';
        return s;
    }
    void KeyDown(Word& key, TShiftState s) override
    {
        seen.push_back("down " + Down());
        TCustomControl::KeyDown(key, s);
    }
    void KeyUp(Word& key, TShiftState s) override
    {
        seen.push_back("up " + Down());
        TCustomControl::KeyUp(key, s);
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        seen.push_back("press " + Down());
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        seen.push_back("release " + Down());
        TCustomControl::MouseUp(b, s, x, y);
    }
};

struct KeyStateFixture : ControlFixture {
    TKeyWatcher* w = nullptr;
    void SetUp() override
    {
        ControlFixture::SetUp();
        w = Add<TKeyWatcher>(0, 0, 100, 60);
    }
};

}  // namespace

TEST_F(KeyStateFixture, KeysSentByTheRigAreDownWhileTheirKeyDownIsHandled)
{
    w->watch = {VK_LEFT, VK_SHIFT, VK_CONTROL, VK_MENU, 'A'};
    struct Case {
        Word vk;
        TShiftState shift;
        const char* down;  // during WM_KEYDOWN
        const char* up;    // during WM_KEYUP: the key itself is up again
    } cases[] = {
        {VK_LEFT, 0, "down 10000", "up 00000"},
        {VK_LEFT, ssShift, "down 11000", "up 01000"},
        {'A', ssCtrl, "down 00101", "up 00100"},
        {'A', ssShift | ssCtrl | ssAlt, "down 01111", "up 01110"},
    };
    for (const Case& c : cases) {
        w->seen.clear();
        SendKey(w, c.vk, c.shift);
        EXPECT_EQ(w->seen, (std::vector<std::string>{c.down, c.up})) << c.vk << " " << c.shift;
        EXPECT_EQ(w->Down(), "00000") << "after " << c.vk;
    }
}

TEST_F(KeyStateFixture, HostKeysAreDownWhileTheirKeyDownIsHandled)
{
    w->watch = {VK_HOME, VK_SHIFT, VK_CONTROL};
    HostKey(w, VK_HOME, ssCtrl);
    EXPECT_EQ(w->seen, (std::vector<std::string>{"down 101", "up 001"}));
    EXPECT_EQ(w->Down(), "000");
    EXPECT_EQ(GetAsyncKeyState(VK_HOME) < 0, false);
}

TEST_F(KeyStateFixture, LockKeysToggleWithEachPress)
{
    for (int vk : {VK_CAPITAL, VK_NUMLOCK}) {
        const int before = GetKeyState(vk) & 1;
        HostKey(w, Word(vk));
        EXPECT_EQ(GetKeyState(vk) & 1, before ^ 1) << vk;
        EXPECT_GE(GetKeyState(vk), 0) << vk;  // on, but not held
        EXPECT_EQ(GetAsyncKeyState(vk), GetKeyState(vk)) << vk;
        HostKey(w, Word(vk));
        EXPECT_EQ(GetKeyState(vk) & 1, before) << vk;
    }
}

TEST_F(KeyStateFixture, MouseButtonsAreDownFromPressToRelease)
{
    w->watch = {VK_LBUTTON, VK_RBUTTON, VK_SHIFT};
    HostMouse(w, hmPress, mbLeft, 5, 5, ssShift);
    HostMouse(w, hmRelease, mbLeft, 5, 5);
    SendMouse(w, WM_RBUTTONDOWN, 5, 5);
    SendMouse(w, WM_RBUTTONUP, 5, 5);
    EXPECT_EQ(w->seen, (std::vector<std::string>{"press 101", "release 000", "press 010", "release 000"}));
    EXPECT_EQ(w->Down(), "000");
}

TEST(Beep, BeepsReachTheHookWithTheirKind)
{
    std::vector<UINT> beeps;
    TBeepHook old = SetBeepHook([&](UINT type) { beeps.push_back(type); });
    EXPECT_TRUE(MessageBeep());
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    SetBeepHook(old);
    EXPECT_EQ(beeps, (std::vector<UINT>{0, MB_ICONEXCLAMATION, 0xFFFFFFFF}));
    EXPECT_TRUE(MessageBeep());  // the speaker again: nothing reaches the old list
    EXPECT_EQ(beeps.size(), 3u);
}
