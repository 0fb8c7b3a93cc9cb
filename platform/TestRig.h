#pragma once
// Helpers for headless tests: the application on the off-screen platform, pixels of
// a bitmap, and mouse and key messages sent to controls.
#include <string>

#include "platform/Types.h"

namespace platform {

class TBitmap;

// Creates the application (once) when none exists yet.
void EnsurePlatform();

}  // namespace platform
