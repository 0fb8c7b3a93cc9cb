#pragma once
// The start of every fuzz target that makes windows: Qt's offscreen platform, then the options.
#include <cstdlib>

#include "FuzzDriver.h"
#include "platform/TestRig.h"

namespace fuzz {

inline Options StartOffscreen(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsurePlatform();
    return ParseOptions(argc, argv);
}

}  // namespace fuzz
