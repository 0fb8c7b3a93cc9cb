#pragma once
// Included by one file of a test binary: the GUI layer is up before the first test.
#include <gtest/gtest.h>

#include "platform/TestRig.h"

namespace {
class PlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override { platform::EnsurePlatform(); }
};
[[maybe_unused]] ::testing::Environment* const gPlatformEnvironment =
    ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);
}  // namespace
