#include "base/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(ScopeGuard, ExitRunsOnEveryWayOutAndFailOnlyOnAnException)
{
    int exits = 0, fails = 0;
    auto body = [&](bool fail) {
        base::ScopeExit exit([&] { ++exits; });
        base::ScopeFail onFail([&] { ++fails; });
        if (fail) throw std::runtime_error("body");
    };
    body(false);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(fails, 0);
    EXPECT_THROW(body(true), std::runtime_error);
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(fails, 1);
}

TEST(ScopeGuard, AReleasedExitDoesNothing)
{
    int exits = 0;
    {
        base::ScopeExit exit([&] { ++exits; });
        exit.Release();
    }
    EXPECT_EQ(exits, 0);
}

TEST(ScopeGuard, TheFirstFailureIsTheOneReported)
{
    // On the normal way out the guard's own failure reaches the caller ...
    auto quiet = [] { base::ScopeExit exit([] { throw std::logic_error("guard"); }); };
    EXPECT_THROW(quiet(), std::logic_error);
    // ... while an exception is on its way out the guard's is dropped.
    auto failing = [] {
        base::ScopeExit exit([] { throw std::logic_error("guard"); });
        base::ScopeFail onFail([] { throw std::logic_error("guard"); });
        throw std::runtime_error("body");
    };
    try {
        failing();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "body");
    }
}

TEST(ScopeGuard, AGuardInsideAHandlerSeesOnlyItsOwnScope)
{
    // An exception already being handled is not a failure of a scope opened within it.
    int fails = 0;
    try {
        throw std::runtime_error("outer");
    } catch (...) {
        base::ScopeFail onFail([&] { ++fails; });
    }
    EXPECT_EQ(fails, 0);
}

}  // namespace
