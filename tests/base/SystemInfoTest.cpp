#include <gtest/gtest.h>

#include <cstdio>
#include <sys/utsname.h>
#include <unistd.h>

#include "base/SystemInfo.h"

using namespace base;

TEST(SystemInfo, LinuxFields) {
    SystemInfo info;
    ASSERT_TRUE(QuerySystemInfo(info));
    struct utsname u {};
    ASSERT_EQ(uname(&u), 0);
    EXPECT_EQ(info.osName, u.sysname);
    EXPECT_EQ(info.osRelease, u.release);
    EXPECT_FALSE(info.userName.empty());
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    EXPECT_EQ(info.computerName, host);
    EXPECT_GT(info.totalPhysBytes, 0u);
    EXPECT_LE(info.availPhysBytes, info.totalPhysBytes);
    EXPECT_LE(info.memoryLoad, 100u);
}

TEST(SystemInfo, BuildNumberIsThePatchLevel) {
    SystemInfo info;
    ASSERT_TRUE(QuerySystemInfo(info));
    // "6.1.0-18-amd64" -> 0; "5.15.153.1-microsoft-standard" -> 153.
    unsigned major = 0, minor = 0, patch = 0;
    if (sscanf(info.osRelease.c_str(), "%u.%u.%u", &major, &minor, &patch) == 3) {
        EXPECT_EQ(info.buildNumber, patch);
    }
}

TEST(SystemInfo, MemoryLoadMatchesFigures) {
    std::uint64_t avail = 0, total = 0;
    unsigned load = 0;
    ASSERT_TRUE(QueryMemoryStatus(avail, total, load));
    ASSERT_GT(total, 0u);
    const double expected = 100.0 * static_cast<double>(total - avail) / static_cast<double>(total);
    EXPECT_NEAR(static_cast<double>(load), expected, 0.5 + 1e-9);
    EXPECT_EQ(total % 1024, 0u);  // the kernel reports kB
}

TEST(SystemInfo, HooksDefaultToNothing) {
    int w = -1, h = -1;
    GetScreenSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_TRUE(GetOpenGLStrings().vendor.empty());

    SetScreenSizeHook([](int& width, int& height) {
        width = 1280;
        height = 1024;
    });
    SetOpenGLInfoHook([] {
        OpenGLStrings s;
        s.vendor = "V";
        s.gluVersion = "1.3";
        return s;
    });
    GetScreenSize(w, h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 1024);
    EXPECT_EQ(GetOpenGLStrings().vendor, "V");
    EXPECT_EQ(GetOpenGLStrings().gluVersion, "1.3");
    SetScreenSizeHook(nullptr);
    SetOpenGLInfoHook(nullptr);
    GetScreenSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_TRUE(GetOpenGLStrings().renderer.empty());
}
