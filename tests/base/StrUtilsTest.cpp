#include <gtest/gtest.h>

#include "base/StrUtils.h"

using namespace base;

TEST(FloatToStr, Basic) {
    EXPECT_EQ(FloatToStr(0.0), "0");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
}
