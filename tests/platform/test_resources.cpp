#include <gtest/gtest.h>

#include "platform/system/Resources.h"

using namespace platform;

TEST(Resources, NamedAndNumberedRawData)
{
    const HINSTANCE self = HInstance();
    RegisterResource(self, RT_RCDATA, "Logo_Test", std::string("abc\0def", 7));
    RegisterResource(self, RT_RCDATA, 4711, "numbered");

    std::string data;
    EXPECT_TRUE(FindResourceData(self, RT_RCDATA, "LOGO_TEST", data));  // names ignore case
    EXPECT_EQ(data, std::string("abc\0def", 7));
    EXPECT_TRUE(FindResourceData(self, RT_RCDATA, "logo_test", data));
    EXPECT_FALSE(FindResourceData(self, RT_BITMAP, "Logo_Test", data));  // type matters
    EXPECT_FALSE(FindResourceData(self + 1, RT_RCDATA, "Logo_Test", data));  // and the module
    EXPECT_FALSE(FindResourceData(self, RT_RCDATA, "", data));
    EXPECT_FALSE(FindResourceData(self, RT_RCDATA, "missing", data));

    EXPECT_EQ(LoadResourceData(self, RT_RCDATA, 4711), "numbered");
    EXPECT_FALSE(FindResourceData(self, RT_RCDATA, 4712, data));
    try {
        LoadResourceData(self, RT_RCDATA, 4712);
        FAIL() << "no exception";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource 4712 not found");
    }
    try {
        LoadResourceData(self, RT_RCDATA, "nothing");
        FAIL() << "no exception";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource nothing not found");
    }

    UnregisterResource(self, RT_RCDATA, "logo_test");
    UnregisterResource(self, RT_RCDATA, 4711);
    EXPECT_FALSE(FindResourceData(self, RT_RCDATA, "Logo_Test", data));
    EXPECT_FALSE(FindResourceData(self, RT_RCDATA, 4711, data));
}
