#pragma once
// A bitmap filled with one colour, to draw on and read back.
#include <memory>

#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"

namespace testsupport {

inline std::unique_ptr<platform::TBitmap> FilledBitmap(int w, int h, platform::TColor c = platform::clWhite)
{
    platform::EnsurePlatform();
    auto b = std::make_unique<platform::TBitmap>(w, h);
    b->Canvas()->Brush().SetColor(c);
    b->Canvas()->FillRect({0, 0, w, h});
    return b;
}

}  // namespace testsupport
