#include <gtest/gtest.h>

#include "platform/TestRig.h"

namespace {
class PlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override { platform::EnsurePlatform(); }
};
[[maybe_unused]] ::testing::Environment* const gEnv =
    ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);
}  // namespace
